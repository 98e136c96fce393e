#include "platform/win32/shell_selection.h"

#include <memory>

namespace orvane {

TIdList::TIdList(const std::string& path) {
  std::wstring wide(path.begin(), path.end());
  if (FAILED(SHParseDisplayName(wide.c_str(), nullptr, &list_, 0, nullptr))) list_ = nullptr;
}

HRESULT SelectionDataObject(const std::string& folder, const std::vector<std::string>& paths,
                            TComPtr<IDataObject>& data) {
  TIdList parent(folder);
  if (!parent.Get()) return E_INVALIDARG;
  std::vector<std::unique_ptr<TIdList>> items;
  std::vector<PCUITEMID_CHILD> children;
  for (const std::string& path : paths) {
    items.push_back(std::make_unique<TIdList>(path));
    if (!items.back()->Get()) return E_INVALIDARG;
    children.push_back(ILFindLastID(items.back()->Get()));
  }
  TComPtr<IShellFolder> desktop;
  TComPtr<IShellFolder> shellFolder;
  HRESULT result = SHGetDesktopFolder(desktop.Put());
  if (FAILED(result)) return result;
  result = desktop->BindToObject(parent.Get(), nullptr, IID_IShellFolder, shellFolder.PutVoid());
  if (FAILED(result)) return result;
  return shellFolder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(),
                                    IID_IDataObject, nullptr, data.PutVoid());
}

}  // namespace orvane
