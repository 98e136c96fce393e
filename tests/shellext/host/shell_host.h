#pragma once
// What the file manager does with the shell extension module, for tests under Wine: the
// handlers a type's list names, created by COM activation of their classes; ours among
// them, initialized for files as the folder gives them and asked for its items; the
// outline of the menu it filled; and the report of the recorder program an item started.

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/shell_selection.h"
#include "platform/win32/win32_handles.h"
// WindowsPath: the build's paths as the programs under Wine name them.
#include "tests/support/screenshot.h"

namespace orvane::testing {

inline constexpr const char* kModuleClassId = "{5D1E7A42-3C9B-4F08-A6D2-9B71E0C4F315}";

// What the recorder was given: its folder, its command line as its arguments, its show
// state.
struct TRecorded {
  std::wstring folder;
  std::vector<std::wstring> arguments;
  std::wstring show;
};

// A whole file's bytes, empty when it cannot be read.
inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream stream;
  stream << in.rdbuf();
  return stream.str();
}

inline TRecorded ReadRecorded(const std::string& output) {
  const std::string bytes = ReadFileBytes(output);
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  TRecorded recorded;
  std::size_t first = text.find(L'\n'), second = text.find(L'\n', first + 1);
  if (second == std::wstring::npos) return recorded;
  recorded.folder = text.substr(0, first);
  int count = 0;
  if (wchar_t** argv = CommandLineToArgvW(text.substr(first + 1, second - first - 1).c_str(), &count)) {
    recorded.arguments.assign(argv, argv + count);
    LocalFree(argv);
  }
  recorded.show = text.substr(second + 1, text.find(L'\n', second + 1) - second - 1);
  return recorded;
}

// The handlers the registry lists for the objects' key, created by their classes.
using THandlers = std::vector<std::pair<std::string, TComPtr<IContextMenu>>>;
inline THandlers ContextMenuHandlers(const std::string& typeKey) {
  THandlers handlers;
  HKEY list = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, (typeKey + "\\shellex\\ContextMenuHandlers").c_str(), 0,
                    KEY_READ, &list) != ERROR_SUCCESS)
    return handlers;
  char name[256];
  for (DWORD k = 0; RegEnumKeyA(list, k, name, sizeof name) == ERROR_SUCCESS; ++k) {
    char value[256] = {};
    LONG size = sizeof value;
    RegQueryValueA(list, name, value, &size);
    std::string text = value[0] == '{' ? value : name;
    std::wstring wide(text.begin(), text.end());
    CLSID classId;
    if (FAILED(CLSIDFromString(wide.c_str(), &classId))) continue;
    TComPtr<IContextMenu> handler;
    if (SUCCEEDED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IContextMenu,
                                   handler.PutVoid())))
      handlers.emplace_back(text, handler);
  }
  RegCloseKey(list);
  return handlers;
}

// Our module's handler among those of the key, or none.
inline TComPtr<IContextMenu> ModuleHandler(const std::string& typeKey) {
  TComPtr<IContextMenu> handler;
  for (auto& [classId, candidate] : ContextMenuHandlers(typeKey))
    if (lstrcmpiA(classId.c_str(), kModuleClassId) == 0) handler = candidate;
  return handler;
}

// Initializes `handler` for `paths`, which lie in `folder`, with the data object the
// folder itself gives for them, as the file manager does.
inline HRESULT InitializeForFiles(IContextMenu& handler, const std::string& folder,
                                  const std::vector<std::string>& paths) {
  TComPtr<IShellExtInit> init;
  handler.QueryInterface(IID_IShellExtInit, init.PutVoid());
  if (!init) return E_NOINTERFACE;
  TIdList parent(folder);
  TComPtr<IDataObject> data;
  HRESULT result = SelectionDataObject(folder, paths, data);
  return FAILED(result) ? result : init->Initialize(parent.Get(), data.Get(), nullptr);
}

// A menu the handler filled, read back: captions in order, "[b]" for a picture, "(hint)",
// "-" for separators, submenus in braces; each command's offset by its caption.
class TMenuOutline {
public:
  TMenuOutline(IContextMenu& handler, UINT first) : handler_(handler), first_(first) {}

  std::string Read(HMENU from) {
    std::string text;
    for (int k = 0; k < GetMenuItemCount(from); ++k) {
      char caption[256] = {};
      MENUITEMINFOA item{};
      item.cbSize = sizeof item;
      item.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU | MIIM_BITMAP | MIIM_ID;
      item.dwTypeData = caption;
      item.cch = sizeof caption;
      GetMenuItemInfoA(from, k, TRUE, &item);
      if (!text.empty()) text += ",";
      if (item.fType & MFT_SEPARATOR) {
        text += "-";
        continue;
      }
      text += caption;
      if (item.hbmpItem) {
        text += "[b]";
        Bitmaps.push_back(item.hbmpItem);
      }
      if (item.hSubMenu) {
        text += "{" + Read(item.hSubMenu) + "}";
      } else {
        char hint[256] = {};
        if (handler_.GetCommandString(item.wID - first_, GCS_HELPTEXTA, nullptr, hint, sizeof hint) ==
                S_OK &&
            hint[0])
          text += std::string("(") + hint + ")";
        Ids[caption] = item.wID - first_;
      }
    }
    return text;
  }

  std::map<std::string, UINT> Ids;
  std::vector<HBITMAP> Bitmaps;

private:
  IContextMenu& handler_;
  UINT first_;
};

// Starts the item and waits for the recorder's report: the recorder signals `doneEvent`
// once it wrote `output`.
inline TRecorded InvokeRecorded(IContextMenu& handler, CMINVOKECOMMANDINFOEX& info,
                                const char* doneEvent, const std::string& output) {
  DeleteFileA(output.c_str());
  TKernelHandle done(CreateEventA(nullptr, TRUE, FALSE, doneEvent));
  ResetEvent(done.get());
  HRESULT result = handler.InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info));
  EXPECT_EQ(result, S_OK);
  if (result != S_OK) return {};
  EXPECT_EQ(WaitForSingleObject(done.get(), 20000), WAIT_OBJECT_0);
  return ReadRecorded(output);
}

// An invocation by command offset (or verb), without windows.
inline CMINVOKECOMMANDINFOEX InvokeInfo(const char* verb) {
  CMINVOKECOMMANDINFOEX info{};
  info.cbSize = sizeof info;
  info.lpVerb = verb;
  info.nShow = SW_HIDE;
  info.fMask = CMIC_MASK_FLAG_NO_UI;
  return info;
}

}  // namespace orvane::testing
