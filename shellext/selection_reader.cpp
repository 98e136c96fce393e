#include "shellext/selection_reader.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cwchar>
#include <memory>
#include <string_view>

#include "platform/win32/win32_handles.h"
#include "shellext/wide_text.h"

namespace orvane {

// Global memory of a data object's medium, locked while it is kept and released after.
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
  const BYTE* Bytes() const { return static_cast<const BYTE*>(memory_); }
  SIZE_T Size() const { return size_; }
  HGLOBAL Global() const { return medium_.hGlobal; }

private:
  STGMEDIUM medium_{};
  bool owned_ = false;
  void* memory_ = nullptr;
  SIZE_T size_ = 0;
};

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

// What the walk of an item list hands on for each object in the file system: its kind,
// and its path or, where no path was asked for, its name's extension.
struct TFound {
  TObjectKind Kind;
  std::u16string Path;
  std::string Extension;
};

TFound Found(TObjectKind kind, std::u16string path) {
  TSelectedObject object = Object(kind, std::move(path));
  return {object.Kind, std::move(object.Path), std::move(object.Extension)};
}

// The extensions of names in the ANSI code page, the last one kept: the names of a
// selection mostly share theirs.
class TNameExtensions {
public:
  // The extension of a name the find data spells whole, in one pass over it; false for
  // one it may not: Wine's shell narrows it to the ANSI code page (a "?", which no file
  // name holds, then stands for a character), and the buffer may cut it.
  bool Of(const wchar_t* name, std::string& extension) {
    const wchar_t* dot = nullptr;
    const wchar_t* end = name;
    for (; *end && end < name + MAX_PATH - 1; ++end) {
      if (*end == L'?' || *end == L'\\' || *end == L'/') return false;
      if (*end == L'.') dot = end;
    }
    if (end == name || *end) return false;
    std::u16string_view wide;
    if (dot && dot + 1 != end)
      wide = std::u16string_view(reinterpret_cast<const char16_t*>(dot), end - dot);
    if (!known_ || wide != wide_) {
      wide_.assign(wide);
      NarrowExactly(wide_, narrow_);
      known_ = true;
    }
    extension = narrow_;
    return true;
  }

private:
  bool known_ = false;
  std::u16string wide_;
  std::string narrow_;
};

// The shell's item list (`base`, `size` bytes): its folder and the items in it, their kinds
// from the attributes the list itself carries. Without `paths` an item directly in a file
// system folder is named by its own find data, with no lookup for it at all.
template <class TAdd>
bool WalkItemList(const BYTE* base, SIZE_T size, bool paths, TAdd&& add) {
  if (size < sizeof(CIDA)) return false;
  const auto* list = reinterpret_cast<const CIDA*>(base);
  if ((static_cast<ULONGLONG>(list->cidl) + 2) * sizeof(UINT) > size) return false;
  auto at = [&](UINT k) -> PCUIDLIST_RELATIVE {
    UINT offset = list->aoffset[k];
    return offset + sizeof(USHORT) <= size ? reinterpret_cast<PCUIDLIST_RELATIVE>(base + offset)
                                           : nullptr;
  };
  PCUIDLIST_RELATIVE parent = at(0);
  if (!parent) return false;
  // Items directly in a folder of the file system are named from their own ids: a
  // selection of thousands asks the shell for one path, not one each.
  const auto parentId = reinterpret_cast<PCIDLIST_ABSOLUTE>(parent);
  std::u16string folderPath;
  {
    std::u16string path = PathOf(parentId);
    if (!path.empty() && (IsDriveRoot(path) || IsDirectoryId(parentId)))
      folderPath = path.back() == u'\\' ? path : path + u'\\';
  }
  // The items' folder, once for all of them. A folder of the file system is the shell's
  // own file system folder made for it: binding would look for the folder's desktop.ini,
  // which under Wine reads the whole directory (17 ms for 10,000 files).
  TComPtr<IShellFolder> shared;
  if (!folderPath.empty() && parent->mkid.cb != 0) {
    TComPtr<IPersistFolder> persist;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellFSFolder, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IPersistFolder, persist.PutVoid())) &&
        SUCCEEDED(persist->Initialize(parentId)))
      persist->QueryInterface(IID_IShellFolder, shared.PutVoid());
  }
  if (!shared) {
    TComPtr<IShellFolder> desktop;
    if (SUCCEEDED(SHGetDesktopFolder(desktop.Put()))) {
      if (parent->mkid.cb == 0)
        shared = desktop;
      else
        desktop->BindToObject(parentId, nullptr, IID_IShellFolder, shared.PutVoid());
    }
  }
  if (!shared) folderPath.clear();
  TNameExtensions extensions;
  for (UINT k = 1; k <= list->cidl; ++k) {
    PCUIDLIST_RELATIVE child = at(k);
    if (!child) return false;
    if (!folderPath.empty() && IsSingleLevel(child)) {
      auto item = reinterpret_cast<PCUITEMID_CHILD>(child);
      // Filled by the call, which reads it from the id; a thousand selected files would
      // clear it once more each.
      WIN32_FIND_DATAW found;
      bool find = SUCCEEDED(
          SHGetDataFromIDListW(shared.Get(), item, SHGDFIL_FINDDATA, &found, sizeof found));
      bool folder = find && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
      TFound named{folder ? TObjectKind::Folder : TObjectKind::File, {}, {}};
      if (!paths && find && extensions.Of(found.cFileName, named.Extension)) {
        add(std::move(named));
        continue;
      }
      // The parsing name is the item's whole name (the find data's may be narrowed).
      STRRET name{};
      PWSTR text = nullptr;
      if (SUCCEEDED(shared->GetDisplayNameOf(item, SHGDN_INFOLDER | SHGDN_FORPARSING, &name)) &&
          SUCCEEDED(StrRetToStrW(&name, item, &text)) && text) {
        std::u16string path = folderPath + FromWide(text, wcslen(text));
        CoTaskMemFree(text);
        if (path.size() > folderPath.size() && path.find_first_of(u"\\/", folderPath.size()) == std::u16string::npos) {
          add(Found(folder ? TObjectKind::Folder : TObjectKind::File, std::move(path)));
          continue;
        }
      }
    }
    TIdList item(ILCombine(parentId, child));
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
    add(Found(kind, std::move(path)));
  }
  return true;
}

// The shell's item list of the data object, kept as the data object gave it: the handler
// names its objects from it later.
std::shared_ptr<const TLockedMedium> ItemList(IDataObject* data) {
  static const CLIPFORMAT format =
      static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Shell IDList Array"));
  auto medium = std::make_shared<const TLockedMedium>(data, format);
  if (!medium->Memory()) return nullptr;
  return medium;
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

TSelection TSelection::Read(PCIDLIST_ABSOLUTE folder, IDataObject* data) {
  TSelection selection;
  if (data) {
    selection.itemList_ = ItemList(data);
    bool listed =
        selection.itemList_ &&
        WalkItemList(selection.itemList_->Bytes(), selection.itemList_->Size(), false,
                     [&](TFound&& object) { selection.kinds_.Add(object.Kind, object.Extension); });
    if (!listed) {
      selection = TSelection();
      FromDropList(data, selection.objects_);
    }
  } else if (folder) {
    std::u16string path = PathOf(folder);
    if (!path.empty())
      selection.objects_.push_back(Object(TObjectKind::Background, std::move(path)));
  }
  if (!selection.itemList_)
    for (const TSelectedObject& object : selection.objects_)
      selection.kinds_.Add(object.Kind, object.Extension);
  return selection;
}

std::vector<TSelectedObject> TSelection::Objects() const {
  if (!itemList_) return objects_;
  std::vector<TSelectedObject> objects;
  objects.reserve(kinds_.Count());
  WalkItemList(itemList_->Bytes(), itemList_->Size(), true, [&](TFound&& object) {
    objects.push_back({object.Kind, std::move(object.Path), std::move(object.Extension)});
  });
  return objects;
}

}  // namespace orvane
