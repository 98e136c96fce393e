#include "shellext/selection_reader.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "platform/win32/win32_handles.h"
#include "shellext/wide_text.h"

namespace orvane {
namespace {

// The file system path in full: no code page between the shell and the program, and no
// length limit.
std::u16string PathOf(PCIDLIST_ABSOLUTE item) {
  PWSTR name = nullptr;
  if (FAILED(SHGetNameFromIDList(item, SIGDN_FILESYSPATH, &name)) || !name) return {};
  std::u16string path = FromWide(name, wcslen(name));
  CoTaskMemFree(name);
  return path;
}

TSelectedObject Object(TObjectKind kind, std::u16string path) {
  TSelectedObject object{kind, std::move(path), {}};
  if (kind == TObjectKind::File || kind == TObjectKind::Folder)
    NarrowExactly(PathExtension(object.Path), object.Extension);
  return object;
}

// Global memory of a data object's medium, locked for the scope and released after.
class TLockedMedium {
public:
  TLockedMedium(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (FAILED(data->GetData(&wanted, &medium_))) return;
    owned_ = true;
    if (medium_.tymed == TYMED_HGLOBAL) {
      size_ = GlobalSize(medium_.hGlobal);
      memory_ = GlobalLock(medium_.hGlobal);
    }
  }
  ~TLockedMedium() {
    if (memory_) GlobalUnlock(medium_.hGlobal);
    if (owned_) ReleaseStgMedium(&medium_);
  }
  TLockedMedium(const TLockedMedium&) = delete;
  TLockedMedium& operator=(const TLockedMedium&) = delete;
  const void* Memory() const { return memory_; }
  SIZE_T Size() const { return size_; }
  HGLOBAL Global() const { return medium_.hGlobal; }

private:
  STGMEDIUM medium_{};
  bool owned_ = false;
  void* memory_ = nullptr;
  SIZE_T size_ = 0;
};

struct TIdListDeleter {
  void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using TIdList = std::unique_ptr<ITEMIDLIST, TIdListDeleter>;

// An id of one level: an item directly in the list's folder.
bool IsSingleLevel(PCUIDLIST_RELATIVE id) {
  if (id->mkid.cb == 0) return false;
  auto next = reinterpret_cast<PCUIDLIST_RELATIVE>(reinterpret_cast<const BYTE*>(id) + id->mkid.cb);
  return next->mkid.cb == 0;
}

// Whether the id's own find data marks a folder (a zip file, which the shell also shows
// as a folder, is none).
bool IsDirectoryId(PCIDLIST_ABSOLUTE id) {
  TComPtr<IShellFolder> folder;
  PCUITEMID_CHILD last = nullptr;
  WIN32_FIND_DATAW find{};
  return SUCCEEDED(SHBindToParent(id, IID_IShellFolder, folder.PutVoid(), &last)) &&
         SUCCEEDED(SHGetDataFromIDListW(folder.Get(), last, SHGDFIL_FINDDATA, &find, sizeof find)) &&
         (find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The shell's item list: its folder and the items in it, their kinds from the
// attributes the list itself carries.
bool FromItemList(IDataObject* data, std::vector<TSelectedObject>& objects) {
  static const CLIPFORMAT format = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Shell IDList Array"));
  TLockedMedium medium(data, format);
  if (!medium.Memory() || medium.Size() < sizeof(CIDA)) return false;
  const auto* list = static_cast<const CIDA*>(medium.Memory());
  const auto* base = static_cast<const BYTE*>(medium.Memory());
  const SIZE_T size = medium.Size();
  if ((static_cast<ULONGLONG>(list->cidl) + 2) * sizeof(UINT) > size) return false;
  auto at = [&](UINT k) -> PCUIDLIST_RELATIVE {
    UINT offset = list->aoffset[k];
    return offset + sizeof(USHORT) <= size ? reinterpret_cast<PCUIDLIST_RELATIVE>(base + offset)
                                           : nullptr;
  };
  PCUIDLIST_RELATIVE parent = at(0);
  if (!parent) return false;
  // The items' folder, bound once for all of them: binding is the costly step, and a
  // selection of thousands shares one folder.
  TComPtr<IShellFolder> shared;
  {
    TComPtr<IShellFolder> desktop;
    if (SUCCEEDED(SHGetDesktopFolder(desktop.Put()))) {
      if (parent->mkid.cb == 0)
        shared = desktop;
      else
        desktop->BindToObject(reinterpret_cast<PCIDLIST_ABSOLUTE>(parent), nullptr, IID_IShellFolder,
                              shared.PutVoid());
    }
  }
  // Items directly in a folder of the file system are named from their own ids: a
  // selection of thousands asks the shell for one path, not one each.
  std::u16string folderPath;
  if (shared) {
    std::u16string path = PathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(parent));
    if (!path.empty() && (IsDriveRoot(path) || IsDirectoryId(reinterpret_cast<PCIDLIST_ABSOLUTE>(parent))))
      folderPath = path.back() == u'\\' ? path : path + u'\\';
  }
  for (UINT k = 1; k <= list->cidl; ++k) {
    PCUIDLIST_RELATIVE child = at(k);
    if (!child) return false;
    if (!folderPath.empty() && IsSingleLevel(child)) {
      // The parsing name is the item's whole name (the find data's may be narrowed).
      auto item = reinterpret_cast<PCUITEMID_CHILD>(child);
      STRRET name{};
      PWSTR text = nullptr;
      WIN32_FIND_DATAW found{};
      if (SUCCEEDED(shared->GetDisplayNameOf(item, SHGDN_INFOLDER | SHGDN_FORPARSING, &name)) &&
          SUCCEEDED(StrRetToStrW(&name, item, &text)) && text) {
        std::u16string path = folderPath + FromWide(text, wcslen(text));
        CoTaskMemFree(text);
        bool folder = SUCCEEDED(SHGetDataFromIDListW(shared.Get(), item, SHGDFIL_FINDDATA, &found, sizeof found)) &&
                      (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        if (path.size() > folderPath.size() && path.find_first_of(u"\\/", folderPath.size()) == std::u16string::npos) {
          objects.push_back(Object(folder ? TObjectKind::Folder : TObjectKind::File, std::move(path)));
          continue;
        }
      }
    }
    TIdList item(ILCombine(reinterpret_cast<PCIDLIST_ABSOLUTE>(parent), child));
    if (!item) continue;
    std::u16string path = PathOf(item.get());
    if (path.empty()) continue;  // not in the file system: no items for it
    TObjectKind kind = TObjectKind::File;
    if (IsDriveRoot(path)) {
      kind = TObjectKind::Drive;
    } else {
      // The find data the item list was made with; SHGetDataFromIDList reads it from the
      // list and does not touch the object.
      TComPtr<IShellFolder> folder;
      PCUITEMID_CHILD last = nullptr;
      bool direct = shared && IsSingleLevel(child);
      if (direct) {
        folder = shared;
        last = reinterpret_cast<PCUITEMID_CHILD>(child);
      }
      WIN32_FIND_DATAW find{};
      if ((direct || SUCCEEDED(SHBindToParent(item.get(), IID_IShellFolder, folder.PutVoid(), &last))) &&
          SUCCEEDED(SHGetDataFromIDListW(folder.Get(), last, SHGDFIL_FINDDATA, &find, sizeof find)) &&
          (find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        kind = TObjectKind::Folder;
    }
    objects.push_back(Object(kind, std::move(path)));
  }
  return true;
}

// Dropped-file lists carry paths only: drive roots are drives, the rest files.
void FromDropList(IDataObject* data, std::vector<TSelectedObject>& objects) {
  TLockedMedium medium(data, CF_HDROP);
  if (!medium.Memory()) return;
  auto drop = static_cast<HDROP>(medium.Global());
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT k = 0; k < count; ++k) {
    UINT length = DragQueryFileW(drop, k, nullptr, 0);
    if (length == 0) continue;
    std::wstring path(length + 1, L'\0');
    length = DragQueryFileW(drop, k, path.data(), length + 1);
    std::u16string whole = FromWide(path.data(), length);
    objects.push_back(Object(IsDriveRoot(whole) ? TObjectKind::Drive : TObjectKind::File, whole));
  }
}

}  // namespace

std::vector<TSelectedObject> ReadSelection(PCIDLIST_ABSOLUTE folder, IDataObject* data) {
  std::vector<TSelectedObject> objects;
  if (data) {
    if (!FromItemList(data, objects)) {
      objects.clear();
      FromDropList(data, objects);
    }
  } else if (folder) {
    std::u16string path = PathOf(folder);
    if (!path.empty()) objects.push_back(Object(TObjectKind::Background, std::move(path)));
  }
  return objects;
}

}  // namespace orvane
