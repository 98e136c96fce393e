#include "shellext/context_menu.h"

#include <shellapi.h>

#include <algorithm>
#include <map>
#include <utility>

#include "platform/win32/com_boundary.h"
#include "platform/win32/system_error.h"
#include "shellext/command_line.h"
#include "shellext/menu_bitmaps.h"
#include "shellext/menu_plan.h"
#include "shellext/module_state.h"
#include "shellext/selection_reader.h"
#include "shellext/wide_text.h"

namespace orvane {
namespace {

constexpr const char* kVerbPrefix = "OrvaneItem";
constexpr const char* kBoxCaption = "Orvane 2008";

void LogHook(HRESULT result, const char* what) {
  char code[16];
  wsprintfA(code, "%08lX", static_cast<unsigned long>(result));
  LogFailure(std::string("stopped (") + code + "): " + what);
}

// Shows the plan in the host's menu: plain items and separators where the host asked,
// submenus as pop-ups of their own. Pictures are kept by the handler.
class TWin32MenuSink : public IMenuSink {
public:
  TWin32MenuSink(HMENU menu, UINT index, UINT firstCommand, std::vector<TBitmapHandle>& bitmaps)
      : firstCommand_(firstCommand), bitmaps_(bitmaps) {
    levels_.push_back({menu, index});
  }

  void AddItem(const TDynamicItemRecord& record, int command) override {
    MENUITEMINFOA item = Item(record);
    item.fMask |= MIIM_ID;
    item.wID = firstCommand_ + static_cast<UINT>(command);
    Insert(item);
  }
  void AddSeparator() override {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    item.fType = MFT_SEPARATOR;
    Insert(item);
  }
  void BeginSubmenu(const TDynamicItemRecord& record) override {
    TMenuHandle popup(CreatePopupMenu());
    MENUITEMINFOA item = Item(record);
    item.fMask |= MIIM_SUBMENU;
    item.hSubMenu = popup.get();
    // Once in the host's menu the pop-up is the menu's to destroy.
    if (popup && Insert(item)) {
      levels_.push_back({popup.release(), 0});
    } else {
      levels_.push_back({nullptr, 0});  // its entries go nowhere
    }
  }
  void EndSubmenu() override {
    if (levels_.size() > 1) levels_.pop_back();
  }

private:
  struct TLevel {
    HMENU Menu;
    UINT Next;
  };

  MENUITEMINFOA Item(const TDynamicItemRecord& record) {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<char*>(record.Caption.c_str());
    if (HBITMAP picture = Picture(record)) {
      item.fMask |= MIIM_BITMAP;
      item.hbmpItem = picture;
    }
    return item;
  }

  bool Insert(MENUITEMINFOA& item) {
    TLevel& level = levels_.back();
    if (!level.Menu || !InsertMenuItemA(level.Menu, level.Next, TRUE, &item)) return false;
    ++level.Next;
    return true;
  }

  HBITMAP Picture(const TDynamicItemRecord& record) {
    if (record.IconFile.empty() || record.IconIndex < 0) return nullptr;
    auto key = std::make_pair(record.IconFile, record.IconIndex);
    auto found = pictures_.find(key);
    if (found != pictures_.end()) return found->second;
    TBitmapHandle bitmap = LoadMenuBitmap(record.IconFile, record.IconIndex);
    HBITMAP handle = bitmap.get();
    if (bitmap) bitmaps_.push_back(std::move(bitmap));
    pictures_[key] = handle;
    return handle;
  }

  UINT firstCommand_;
  std::vector<TBitmapHandle>& bitmaps_;
  std::vector<TLevel> levels_;
  std::map<std::pair<std::string, int>, HBITMAP> pictures_;
};

// A start folder the system takes: one too long for it by its short name, else none
// (the program then starts in the host's folder rather than not at all).
std::u16string StartFolder(const std::u16string& folder) {
  if (folder.size() < MAX_PATH - 1) return folder;
  DWORD size = GetShortPathNameW(WideChars(folder), nullptr, 0);
  if (size == 0) return {};
  std::wstring shortName(size, L'\0');
  DWORD length = GetShortPathNameW(WideChars(folder), shortName.data(), size);
  if (length == 0 || length >= MAX_PATH - 1) return {};
  return FromWide(shortName.data(), length);
}

// A failure of an invoke: in the log, and in a box owned by the host's window unless
// the host asked for none.
void Report(HWND owner, bool quiet, const std::string& text, const std::u16string& subject) {
  std::string logged;
  for (char16_t c : subject) logged += c < 0x80 ? static_cast<char>(c) : '?';
  LogFailure(text + ": " + logged);
  if (quiet) return;
  std::u16string shown = WidenAnsi(text) + u"\r\n\r\n" + subject;
  std::u16string caption = WidenAnsi(kBoxCaption);
  MessageBoxW(owner, WideChars(shown), WideChars(caption), MB_OK | MB_ICONWARNING);
}

std::string Narrow(const wchar_t* text) {
  int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
  narrow.resize(static_cast<std::size_t>(size - 1));
  return narrow;
}

std::string Expanded(const std::string& text) {
  DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (size == 0) return text;
  std::string expanded(size, '\0');
  DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size);
  if (written == 0 || written > size) return text;
  expanded.resize(written - 1);
  return expanded;
}

}  // namespace

TContextMenu::TContextMenu() { ModuleAddRef(); }

TContextMenu::~TContextMenu() { ModuleRelease(); }

HRESULT TContextMenu::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit)) {
    *object = static_cast<IShellExtInit*>(this);
  } else if (IsEqualIID(iid, IID_IContextMenu)) {
    *object = static_cast<IContextMenu*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG TContextMenu::AddRef() { return ++references_; }

ULONG TContextMenu::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT TContextMenu::Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY) {
  return ComBoundary(
      [&] {
        objects_ = ReadSelection(folder, data);
        return S_OK;
      },
      LogHook);
}

HRESULT TContextMenu::QueryContextMenu(HMENU menu, UINT index, UINT firstCommand,
                                       UINT lastCommand, UINT flags) {
  HRESULT result = ComBoundary(
      [&]() -> HRESULT {
        if ((flags & CMF_DEFAULTONLY) || objects_.empty() || firstCommand > lastCommand)
          return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
        file_ = CachedMenuFile(ModuleMenuFile());
        TRegistryView registry(ModuleServices().Registry, kModuleView);
        std::vector<TMenuNode> plan = PlanMenu(file_->DynamicItems, SelectionTypes(registry, objects_));
        TWin32MenuSink sink(menu, index, firstCommand, bitmaps_);
        int room = static_cast<int>(std::min<UINT>(lastCommand - firstCommand + 1, 0x7FFF));
        commands_ = ShowMenu(plan, sink, room);
        return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, commands_.size());
      },
      LogHook);
  // Whatever failed, the host gets its menu and no items of ours.
  return FAILED(result) ? MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0) : result;
}

int TContextMenu::CommandOfVerb(const std::string& verb) const {
  const std::string prefix = kVerbPrefix;
  if (verb.compare(0, prefix.size(), prefix) != 0) return -1;
  for (std::size_t k = 0; k < commands_.size(); ++k)
    if (verb == prefix + std::to_string(commands_[k]->Number)) return static_cast<int>(k);
  return -1;
}

HRESULT TContextMenu::InvokeCommand(CMINVOKECOMMANDINFO* info) {
  return ComBoundary(
      [&]() -> HRESULT {
        if (!info || info->cbSize < sizeof(CMINVOKECOMMANDINFO)) return E_INVALIDARG;
        int command = -1;
        const auto* extended = reinterpret_cast<const CMINVOKECOMMANDINFOEX*>(info);
        bool unicode = (info->fMask & CMIC_MASK_UNICODE) && info->cbSize >= sizeof(CMINVOKECOMMANDINFOEX);
        if (unicode && extended->lpVerbW && !IS_INTRESOURCE(extended->lpVerbW)) {
          command = CommandOfVerb(Narrow(extended->lpVerbW));
        } else if (IS_INTRESOURCE(info->lpVerb)) {
          command = LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb));
        } else {
          command = CommandOfVerb(info->lpVerb);
        }
        if (command < 0 || command >= static_cast<int>(commands_.size())) return E_INVALIDARG;
        return Invoke(command, *info);
      },
      LogHook);
}

HRESULT TContextMenu::Invoke(int command, const CMINVOKECOMMANDINFO& info) {
  const TDynamicItemRecord& item = *commands_[static_cast<std::size_t>(command)];
  const std::u16string application = WidenAnsi(Expanded(item.Application));
  const std::u16string parameters = WidenAnsi(item.Parameters);
  const bool quiet = (info.fMask & CMIC_MASK_FLAG_NO_UI) != 0;
  // Every command line first: an object that may not be started stops them all.
  std::vector<TLaunch> launches;
  launches.reserve(objects_.size());
  for (const TSelectedObject& object : objects_) {
    launches.push_back(MakeLaunch(application, parameters, object));
    const TLaunch& launch = launches.back();
    if (!launch.Refusal.empty()) {
      std::u16string shown = object.Path.empty() ? WidenAnsi(item.Caption) : object.Path;
      Report(info.hwnd, quiet, launch.Refusal, shown);
      return application.find_first_not_of(u" \t") == std::u16string::npos
                 ? E_INVALIDARG
                 : HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    }
  }
  for (TLaunch& launch : launches) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(info.nShow ? info.nShow : SW_SHOWNORMAL);
    PROCESS_INFORMATION process{};
    std::u16string folder = StartFolder(launch.Folder);
    if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(launch.CommandLine.data()), nullptr,
                        nullptr, FALSE, 0, nullptr, folder.empty() ? nullptr : WideChars(folder),
                        &startup, &process)) {
      DWORD error = GetLastError();
      Report(info.hwnd, quiet, SystemErrorMessage(error), launch.CommandLine);
      return HRESULT_FROM_WIN32(error);
    }
    TKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  }
  return S_OK;
}

HRESULT TContextMenu::GetCommandString(UINT_PTR command, UINT type, UINT*, CHAR* name, UINT size) {
  return ComBoundary(
      [&]() -> HRESULT {
        if (command >= commands_.size()) return E_INVALIDARG;
        const TDynamicItemRecord& item = *commands_[command];
        std::string text;
        switch (type) {
          case GCS_VALIDATEA:
          case GCS_VALIDATEW:
            return S_OK;
          case GCS_HELPTEXTA:
          case GCS_HELPTEXTW:
            text = item.Hint;
            break;
          case GCS_VERBA:
          case GCS_VERBW:
            text = kVerbPrefix + std::to_string(item.Number);
            break;
          default:
            return E_INVALIDARG;
        }
        if (!name || size == 0) return E_INVALIDARG;
        if (type & GCS_UNICODE) {
          // Cut to the caller's buffer, as lstrcpyn does for the ANSI texts.
          auto* wide = reinterpret_cast<wchar_t*>(name);
          int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
          std::wstring converted(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
          MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, converted.data(), length);
          lstrcpynW(wide, converted.c_str(), static_cast<int>(size));
        } else {
          lstrcpynA(name, text.c_str(), static_cast<int>(size));
        }
        return S_OK;
      },
      LogHook);
}

}  // namespace orvane
