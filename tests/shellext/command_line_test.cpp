// The command line and start folder an item gets for one selected object.

#include "shellext/command_line.h"

#include <gtest/gtest.h>

namespace orvane::testing {
namespace {

TSelectedObject Object(TObjectKind kind, std::u16string path) { return {kind, std::move(path), {}}; }

TEST(CommandLineTest, ObjectPathStandsForPercentOneAndSetsTheFolder) {
  struct {
    std::u16string application, parameters;
    TSelectedObject object;
    std::u16string commandLine, folder;
  } cases[] = {
      {u"notepad.exe", u"\"%1\"", Object(TObjectKind::File, u"C:\\My Docs\\a.txt"),
       u"notepad.exe \"C:\\My Docs\\a.txt\"", u"C:\\My Docs"},
      {u"C:\\Program Files\\x.exe", u"%1 %1", Object(TObjectKind::File, u"C:\\a.txt"),
       u"\"C:\\Program Files\\x.exe\" \"C:\\a.txt\" \"C:\\a.txt\"", u"C:\\"},
      {u"\"C:\\Program Files\\x.exe\"", u"", Object(TObjectKind::Folder, u"C:\\dir"),
       u"\"C:\\Program Files\\x.exe\"", u"C:\\dir"},
      {u"cmd.exe", u"/k cd %1%", Object(TObjectKind::Background, u"C:\\dir"),
       u"cmd.exe /k cd \"C:\\dir\"%", u"C:\\dir"},
      {u"x.exe", u"%2 %", Object(TObjectKind::Drive, u"D:\\"), u"x.exe %2 %", u"D:\\"},
  };
  for (const auto& c : cases) {
    TLaunch launch = MakeLaunch(c.application, c.parameters, c.object);
    EXPECT_EQ(launch.CommandLine, c.commandLine);
    EXPECT_EQ(launch.Folder, c.folder);
    EXPECT_EQ(launch.Refusal, "");
  }
}

// Whatever the parameters' quotes, the program's argument parser gets the path as one
// argument, unchanged: blanks, characters of no code page, a drive root's backslash
// before a quote, a path far over 260 characters.
TEST(CommandLineTest, PathReachesTheProgramAsOneWholeArgument) {
  const std::u16string longPath = u"C:\\" + std::u16string(300, u'd') + u"\\a b.txt";
  struct {
    std::u16string parameters, path, arguments;
  } cases[] = {
      {u"%1", u"C:\\My Files\\a b.txt", u"\"C:\\My Files\\a b.txt\""},
      {u"/open %1 /quiet", u"C:\\a.txt", u"/open \"C:\\a.txt\" /quiet"},
      {u"\"%1\"", u"C:\\\u041F\u0440\u043E\u0431\u0430\\\u0444.txt",
       u"\"C:\\\u041F\u0440\u043E\u0431\u0430\\\u0444.txt\""},
      {u"%1", u"D:\\", u"\"D:\\\\\""},
      {u"\"%1\"", u"D:\\", u"\"D:\\\\\""},
      {u"\"%1\\sub\"", u"D:\\", u"\"D:\\\\sub\""},
      {u"\"/in=%1\" %1", u"C:\\a b", u"\"/in=C:\\a b\" \"C:\\a b\""},
      {u"%1", longPath, u"\"" + longPath + u"\""},
  };
  for (const auto& c : cases) {
    TLaunch launch = MakeLaunch(u"x.exe", c.parameters, Object(TObjectKind::File, c.path));
    EXPECT_EQ(launch.CommandLine, u"x.exe " + c.arguments);
  }
}

TEST(CommandLineTest, ItemWithoutProgramStartsNothing) {
  for (std::u16string application : {u"", u"  ", u"\t"}) {
    TLaunch launch = MakeLaunch(application, u"%1", Object(TObjectKind::File, u"C:\\x\\setup.exe"));
    EXPECT_EQ(launch.Refusal, kNoProgramText);
    EXPECT_EQ(launch.CommandLine, u"");
  }
}

// The command interpreter takes these as its own even inside quotes: a name holding one
// could start another program.
TEST(CommandLineTest, BatchProgramIsNotStartedForNamesTheInterpreterWouldRead) {
  for (std::u16string program : {u"C:\\tools\\run.bat", u"\"C:\\my tools\\Run.CMD\"", u"run.cmd "}) {
    EXPECT_TRUE(IsBatchProgram(program));
    for (char16_t special : std::u16string(u"&|^%!")) {
      std::u16string path = u"C:\\a" + std::u16string(1, special) + u"calc.txt";
      TLaunch launch = MakeLaunch(program, u"%1", Object(TObjectKind::File, path));
      EXPECT_EQ(launch.Refusal, kBatchNameText) << static_cast<int>(special);
      EXPECT_EQ(launch.CommandLine, u"");
    }
    EXPECT_EQ(MakeLaunch(program, u"%1", Object(TObjectKind::File, u"C:\\a b (1).txt")).Refusal, "");
    // Without "%1" the name never reaches the interpreter.
    EXPECT_EQ(MakeLaunch(program, u"/all", Object(TObjectKind::File, u"C:\\a&b.txt")).Refusal, "");
  }
  EXPECT_FALSE(IsBatchProgram(u"C:\\batch.exe"));
  EXPECT_EQ(MakeLaunch(u"x.exe", u"%1", Object(TObjectKind::File, u"C:\\a&b%c!.txt")).Refusal, "");
}

}  // namespace
}  // namespace orvane::testing
