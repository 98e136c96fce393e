#pragma once
// The objects of a right click as the file manager hands them to a context menu handler:
// the folder's item id list and the data object the folder itself gives for its items.

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace orvane {

// The absolute item id list of a path, freed with the scope; null when the shell does
// not know the path.
class TIdList {
public:
  explicit TIdList(const std::string& path);
  ~TIdList() { CoTaskMemFree(list_); }
  TIdList(const TIdList&) = delete;
  TIdList& operator=(const TIdList&) = delete;
  PIDLIST_ABSOLUTE Get() const { return list_; }

private:
  PIDLIST_ABSOLUTE list_ = nullptr;
};

// The data object of `paths`, which all lie in `folder`, as that folder gives it
// (IShellFolder::GetUIObjectOf). The COM library must be initialized.
HRESULT SelectionDataObject(const std::string& folder, const std::vector<std::string>& paths,
                            TComPtr<IDataObject>& data);

}  // namespace orvane
