// The command line and start folder an item gets for one selected object.

#include "shellext/command_line.h"

#include <gtest/gtest.h>

namespace orvane::testing {
namespace {

TEST(CommandLineTest, ObjectPathStandsForPercentOneAndSetsTheFolder) {
  struct {
    std::string application, parameters;
    TSelectedObject object;
    std::string commandLine, folder;
  } cases[] = {
      {"notepad.exe", "\"%1\"", {TObjectKind::File, "C:\\My Docs\\a.txt"},
       "notepad.exe \"C:\\My Docs\\a.txt\"", "C:\\My Docs"},
      {"C:\\Program Files\\x.exe", "%1 %1", {TObjectKind::File, "C:\\a.txt"},
       "\"C:\\Program Files\\x.exe\" C:\\a.txt C:\\a.txt", "C:\\"},
      {"\"C:\\Program Files\\x.exe\"", "", {TObjectKind::Folder, "C:\\dir"},
       "\"C:\\Program Files\\x.exe\"", "C:\\dir"},
      {"cmd.exe", "/k cd %1%", {TObjectKind::Background, "C:\\dir"}, "cmd.exe /k cd C:\\dir%",
       "C:\\dir"},
      {"x.exe", "%2 %", {TObjectKind::Drive, "D:\\"}, "x.exe %2 %", "D:\\"},
  };
  for (const auto& c : cases) {
    TLaunch launch = MakeLaunch(c.application, c.parameters, c.object);
    EXPECT_EQ(launch.CommandLine, c.commandLine);
    EXPECT_EQ(launch.Folder, c.folder);
  }
}

}  // namespace
}  // namespace orvane::testing
