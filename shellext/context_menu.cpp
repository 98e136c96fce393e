#include "shellext/context_menu.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "platform/win32/com_boundary.h"
#include "platform/win32/system_error.h"
#include "shellext/command_line.h"
#include "shellext/menu_bitmaps.h"
#include "shellext/menu_drawing.h"
#include "shellext/menu_plan.h"
#include "shellext/module_state.h"
#include "shellext/selection_reader.h"
#include "shellext/staged_menu.h"
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

// The host's menu and our pop-ups as the staged menu uses them. Pictures come from the
// cached menu, which keeps them while any menu may show them.
class TWin32MenuTarget final : public IMenuTarget {
public:
  TWin32MenuTarget(UINT firstCommand, const TCachedMenu& menu, TMenuDrawing* drawing = nullptr,
                   HMENU host = nullptr)
      : firstCommand_(firstCommand), menu_(menu), drawing_(drawing), host_(host) {}

  void Prepare(const TDynamicItemRecord& record) override {
    menu_.Pictures.Get(record.IconFile, record.IconIndex);
  }
  TMenuRef NewPopup() override { return reinterpret_cast<TMenuRef>(CreatePopupMenu()); }
  void DestroyPopup(TMenuRef popup) override { DestroyMenu(reinterpret_cast<HMENU>(popup)); }
  bool Insert(TMenuRef menu, unsigned position, const TMenuEntry& entry) override {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    if (entry.Kind == TDynamicEntryKind::Separator) {
      item.fMask = MIIM_FTYPE;
      item.fType = MFT_SEPARATOR;
    } else {
      item.fMask = MIIM_STRING;
      item.dwTypeData = const_cast<char*>(entry.Record->Caption.c_str());
      if (HBITMAP picture = menu_.Pictures.Get(entry.Record->IconFile, entry.Record->IconIndex)) {
        item.fMask |= MIIM_BITMAP;
        item.hbmpItem = picture;
      }
      if (entry.Kind == TDynamicEntryKind::Submenu) {
        item.fMask |= MIIM_SUBMENU;
        item.hSubMenu = reinterpret_cast<HMENU>(entry.Popup);
      } else {
        item.fMask |= MIIM_ID;
        item.wID = firstCommand_ + static_cast<UINT>(entry.Command);
      }
    }
    if (drawing_) OwnerDrawn(*drawing_, reinterpret_cast<HMENU>(menu) == host_, entry, item);
    return InsertMenuItemA(reinterpret_cast<HMENU>(menu), position, TRUE, &item) != FALSE;
  }
  void Remove(TMenuRef menu, unsigned position) override {
    RemoveMenu(reinterpret_cast<HMENU>(menu), position, MF_BYPOSITION);
  }

private:
  UINT firstCommand_;
  const TCachedMenu& menu_;
  TMenuDrawing* drawing_;
  HMENU host_;
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

// Above this many objects an invoke asks first, as the system's own verbs do.
constexpr std::size_t kMaxObjectsUnasked = 15;

// Whether the user wants the item's program started once per object; a host that asked
// for no UI gets none of them.
bool ConfirmMany(HWND owner, bool quiet, const TDynamicItemRecord& item, std::size_t count) {
  std::string text = "Start \"" + item.Caption + "\" for each of the " + std::to_string(count) +
                     " selected objects?";
  if (quiet) {
    LogFailure("not started without asking: " + text);
    return false;
  }
  std::u16string shown = WidenAnsi(text), caption = WidenAnsi(kBoxCaption);
  return MessageBoxW(owner, WideChars(shown), WideChars(caption), MB_YESNO | MB_ICONQUESTION) == IDYES;
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
  } else if (IsEqualIID(iid, IID_IContextMenu) || IsEqualIID(iid, IID_IContextMenu2) ||
             IsEqualIID(iid, IID_IContextMenu3)) {
    *object = static_cast<IContextMenu3*>(this);
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
        selection_ = TSelection::Read(folder, data);
        return S_OK;
      },
      LogHook);
}

HRESULT TContextMenu::QueryContextMenu(HMENU menu, UINT index, UINT firstCommand,
                                       UINT lastCommand, UINT flags) {
  HRESULT result = ComBoundary(
      [&]() -> HRESULT {
        if ((flags & CMF_DEFAULTONLY) || selection_.Empty() || firstCommand > lastCommand ||
            ModuleProgramFolder().empty())
          return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
        // Built aside and kept only once the host's menu holds it: a query that fails
        // leaves the handler with what the last good one gave.
        std::shared_ptr<const TCachedMenu> file = CachedMenuFile(ModuleMenuFile());
        TRegistryView registry(ModuleServices().Registry, kModuleView);
        std::vector<TMenuNode> plan = PlanMenu(
            file->Records.DynamicItems, SelectionTypes(registry, selection_.Kinds().Objects()));
        std::unique_ptr<TMenuDrawing> drawing =
            MenuDrawingFor(file->Records.CustomDraw, file->Fonts, file->Pictures);
        TWin32MenuTarget target(firstCommand, *file, drawing.get(), menu);
        TStagedMenu staged(target);
        int room = static_cast<int>(std::min<UINT>(lastCommand - firstCommand + 1, 0x7FFF));
        std::vector<const TDynamicItemRecord*> commands = ShowMenu(plan, staged, room);
        if (!staged.CommitTo(reinterpret_cast<TMenuRef>(menu), index)) {
          LogFailure("the host's menu refused our entries");
          return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
        }
        drawing_ = std::move(drawing);
        file_ = std::move(file);
        commands_ = std::move(commands);
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
  const std::vector<TSelectedObject> objects = selection_.Objects();
  std::vector<TLaunch> launches;
  launches.reserve(objects.size());
  for (const TSelectedObject& object : objects) {
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
  if (launches.size() > kMaxObjectsUnasked && !ConfirmMany(info.hwnd, quiet, item, launches.size()))
    return HRESULT_FROM_WIN32(ERROR_CANCELLED);
  for (TLaunch& launch : launches) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(info.nShow);  // SW_HIDE (0) is a state too
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
        if (type == GCS_VALIDATEA || type == GCS_VALIDATEW)
          return command < commands_.size() ? S_OK : S_FALSE;
        if (command >= commands_.size()) return E_INVALIDARG;
        const TDynamicItemRecord& item = *commands_[command];
        std::string text;
        switch (type) {
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
        // A verb cut short would name another item ("OrvaneItem12" is "OrvaneItem1"
        // cut); a hint may be cut.
        bool verb = type == GCS_VERBA || type == GCS_VERBW;
        if (verb && text.size() >= size) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
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
