#pragma once
// The real main window in-process, over an in-memory registry, with a temporary menu
// file; message boxes are answered by the test and recorded.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "controls/application.h"
#include "filetypes/predefined_types.h"
#include "platform/file_access.h"
#include "platform/file_system.h"
#include "platform/icon_source.h"
#include "platform/memory_clipboard.h"
#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "platform/services.h"
#include "platform/system_folders.h"
#include "platform/win32/window_helpers.h"
#include "tests/support/screenshot.h"

namespace orvane::testing {

// A whole file as its bytes, and the bytes written as a whole file: menu files as the
// program reads and writes them.
inline std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteText(const std::string& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

#ifdef ORVANE_MODULE_TWIN
// The module for the "x64" folder: this build's own where it is 64-bit, else the one the
// 64-bit build put beside this build's; empty when that build has not run. A 32-bit module
// there would be registered by the 64-bit tool in the 32-bit view.
inline std::string ModuleTwin() {
  if (sizeof(void*) == 8) return ORVANE_MODULE;
  return GetFileAttributesA(ORVANE_MODULE_TWIN) == INVALID_FILE_ATTRIBUTES ? std::string()
                                                                             : ORVANE_MODULE_TWIN;
}
#endif

struct TShownBox {
  std::string Text;
  std::string Caption;
  UINT Flags;
};

class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetPlatformClass(pcXP);
    SetShellVersion(0x60000);
    BuildPredefinedTable();
    ImportRegText(registry,
                  "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.txt]\n@=\"txtfile\"\n"
                  "[HKEY_CLASSES_ROOT\\txtfile]\n@=\"Text Document\"\n");
    char dir[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, dir);
    menuFile = std::string(dir) + "orvane-test-" + std::to_string(GetCurrentProcessId()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
    DeleteFileA(menuFile.c_str());
    answers_.emplace([this](const std::string& text, const std::string& caption, UINT flags) {
      boxes.push_back({text, caption, flags});
      return IDOK;
    });
  }

  void TearDown() override {
    answers_.reset();
    if (Application().MainForm()) Application().SetMainForm(nullptr);
    Application().ProcessMessages();
    Application().ClearTerminated();
    DeleteFileA(menuFile.c_str());
  }

  // The registry and the clipboard are the test's; the window's pictures and its menu
  // file are real, in the test's own prefix and temporary folder.
  TServices Services() { return ServicesOn(registry); }
  // The same over another registry: the prefix's own, for tests of the real thing.
  TServices ServicesOn(IRegistryBackend& other) {
    return TServices{other,     DefaultFileAccess(),     DefaultFileSystem(), DefaultIconSource(),
                     clipboard, DefaultModuleVersions(), WindowsFolder(),     ProgramFolder(),
                     ProgramFolder()};
  }

  std::unique_ptr<TfrmMain> CreateMainWindow(bool windows64 = false) {
    TMainFormSettings settings;
    settings.MenuFile = menuFile;
    settings.Windows64 = windows64;
    settings.Measuring = measuring;
    return std::make_unique<TfrmMain>(nullptr, Services(), settings);
  }

  TMemoryRegistry registry;
  TMemoryClipboard clipboard;
  std::string menuFile;
  std::vector<TShownBox> boxes;
  // How the shell extension page times handlers; by default it cannot.
  THandlerMeasuring measuring;

private:
  std::optional<TMessageBoxAnswers> answers_;
};

}  // namespace orvane::testing
