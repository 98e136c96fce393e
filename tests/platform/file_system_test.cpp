// The system's file system as the model sees it: environment expansion for paths and
// whether a file exists (natively the portable stand-in, under Wine the Win32 one).
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvane {
namespace {

void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

// A path that expands beyond what a path can hold stays as written rather than becoming
// a cut or unwritten buffer; unknown names stay too.
TEST(FileSystem, ExpansionKeepsWhatCannotBeAPath) {
  IFileSystem& files = DefaultFileSystem();
  SetVariable("ORVANE_SHORT", "C:\\short");
  EXPECT_EQ(files.ExpandEnvironment("%ORVANE_SHORT%\\a.dll"), "C:\\short\\a.dll");
  EXPECT_EQ(files.ExpandEnvironment("%ORVANE_NO_SUCH_NAME%\\a.dll"),
            "%ORVANE_NO_SUCH_NAME%\\a.dll");
  SetVariable("ORVANE_LONG", std::string(300, 'x'));
  EXPECT_EQ(files.ExpandEnvironment("%ORVANE_LONG%\\a.dll"), "%ORVANE_LONG%\\a.dll");
  // Just fits: 259 characters and the terminating zero.
  SetVariable("ORVANE_LONG", std::string(kMaxPath - 7, 'x'));
  EXPECT_EQ(files.ExpandEnvironment("%ORVANE_LONG%\\a.dll"),
            std::string(kMaxPath - 7, 'x') + "\\a.dll");
}

TEST(FileSystem, OnlyFilesExistNotFolders) {
  const auto folder = std::filesystem::temp_directory_path() / "orvane_file_system_test";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "tool.exe") << "MZ";
  IFileSystem& files = DefaultFileSystem();
  EXPECT_TRUE(files.FileExists((folder / "tool.exe").string()));
  EXPECT_FALSE(files.FileExists(folder.string()));
  EXPECT_FALSE(files.FileExists((folder / "missing.exe").string()));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace orvane
