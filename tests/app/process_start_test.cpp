// The single-instance guard and the operating system check.

#include "app/mult_inst.h"

#include "app/startup.h"
#include "app_fixture.h"
#include "platform/messages.h"
#include "platform/system_info.h"
#include "tests/support/child_process.h"
#include "tests/support/scoped_value.h"

namespace orvane::testing {
namespace {

std::string TestIdentifier() {
  return "Orvane test instance " + std::to_string(GetCurrentProcessId());
}

TEST(OSCheckTest, OnlyOldNTIsRefused) {
  EXPECT_FALSE(IsOSSupported(2, 4));  // NT 4
  EXPECT_FALSE(IsOSSupported(2, 3));
  EXPECT_TRUE(IsOSSupported(2, 5));  // 2000, XP
  EXPECT_TRUE(IsOSSupported(2, 6));
  EXPECT_TRUE(IsOSSupported(1, 4));  // 98, Me
  EXPECT_EQ(LoadResString(msg::SOSNotSupported),
            "Your version of Microsoft Windows NT is not supported.\r\nOrvane requires Windows "
            "98/Me/2000/XP or later to run properly.\r\n\r\n\x95 Press OK to close the "
            "application.");
}

TEST_F(MainWindowTest, SecondGuardFindsTheFirstAndShowsNothing) {
  TSingleInstance first(Application(), TestIdentifier());
  EXPECT_FALSE(first.AnotherRunning());
  EXPECT_EQ(first.ErrorBits(), 0u);
  EXPECT_TRUE(first.ErrorMessages().empty());
  EXPECT_EQ(first.Message(), RegisterWindowMessageA(TestIdentifier().c_str()));
  {
    TSingleInstance second(Application(), TestIdentifier());
    EXPECT_TRUE(second.AnotherRunning());
    EXPECT_FALSE(Application().ShowMainForm);
  }
  Application().ShowMainForm = true;
}

TEST_F(MainWindowTest, WakeMessageRestoresAndRaisesTheMainWindow) {
  auto form = CreateMainWindow();
  Application().SetMainForm(form.get());
  form->Show();
  TSingleInstance guard(Application(), TestIdentifier());
  ShowWindow(form->Handle(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(form->Handle()));
  // Other messages still reach the application window's own procedure.
  EXPECT_EQ(SendMessageA(Application().Handle(), WM_GETTEXTLENGTH, 0, 0),
            static_cast<LRESULT>(Application().Title().size()));
  EXPECT_EQ(SendMessageA(Application().Handle(), guard.Message(), 0, 0), 0);
  EXPECT_FALSE(IsIconic(form->Handle()));
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

BOOL CALLBACK CountVisible(HWND window, LPARAM counter) {
  if (IsWindowVisible(window)) ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

// The windows of this thread that are on the screen.
int VisibleWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&count));
  return count;
}

// Nothing of the start has a handler of its own: whatever stops it, at any step and of
// any type, is reported like an exception stopped at a window, leaves no window behind
// and ends the process with a failure code instead of the runtime's abort.
TEST_F(MainWindowTest, ExceptionsStoppingTheStartAreReportedAndEndItWithAFailureCode) {
  std::vector<std::string> reported;
  TScopedValue<std::function<void(const std::exception&)>> handler(
      Application().OnException,
      [&](const std::exception& error) { reported.push_back(error.what()); });

  EXPECT_EQ(RunProgram([]() -> TServices { throw Exception("no services"); }), kStartFailed);
  EXPECT_EQ(RunProgram([]() -> TServices { throw 42; }), kStartFailed);
  // The main window cannot scan the file types: the loading window is up by then.
  registry.FailOperation(TMemoryRegistry::Op::Open, "HKEY_CLASSES_ROOT", kErrorAccessDenied);
  EXPECT_EQ(RunProgram([this] { return Services(); }), kStartFailed);

  ASSERT_EQ(reported.size(), 3u);
  EXPECT_EQ(reported[0], "no services");
  EXPECT_EQ(reported[1], "Unknown exception");
  EXPECT_EQ(reported[2].rfind("Registry operation error", 0), 0u) << reported[2];
  EXPECT_EQ(VisibleWindows(), 0);
  EXPECT_EQ(Application().MainForm(), nullptr);
  EXPECT_EQ(Application().Title(), "Orvane 2008");
}

// A report that fails in turn is dropped rather than thrown out of the boundary.
TEST_F(MainWindowTest, FailingReportDoesNotEscapeTheStart) {
  TScopedValue<std::function<void(const std::exception&)>> handler(
      Application().OnException, [](const std::exception&) { throw Exception("report failed"); });
  EXPECT_EQ(RunProgram([]() -> TServices { throw Exception("no services"); }), kStartFailed);
}

TEST_F(MainWindowTest, SecondProgramStartWakesThisOneAndEnds) {
  auto form = CreateMainWindow();
  Application().SetMainForm(form.get());
  form->Show();
  TSingleInstance guard(Application());  // this process plays the first copy
  ASSERT_FALSE(guard.AnotherRunning());
  ShowWindow(form->Handle(), SW_MINIMIZE);

  // A copy that showed its windows would wait for the user; it must end by itself.
  const std::optional<DWORD> code = RunToEnd("\"" + WindowsPath(ORVANE_EXE) + "\"", 60000);
  ASSERT_TRUE(code) << "the second copy did not end";
  EXPECT_EQ(*code, 0u);

  Application().ProcessMessages();  // the wake-up message it posted
  EXPECT_FALSE(IsIconic(form->Handle()));
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

}  // namespace
}  // namespace orvane::testing

namespace orvane::testing {
namespace {

TEST(ProgramFileTest, CarriesItsVersionInformationAndIcons) {
  const std::string program = WindowsPath(ORVANE_EXE);
  const TModuleVersion version = GetModuleVersion(program);
  ASSERT_TRUE(version.Valid);
  EXPECT_EQ(version.ProductName, "Orvane 2008");
  EXPECT_EQ(version.CompanyName, "Vantrel");
  EXPECT_FALSE(version.FileDescription.empty());
  EXPECT_EQ(version.FileVersion.rfind("2008.", 0), 0u);

  HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(2000), MAKEINTRESOURCEA(14)), nullptr);
  EXPECT_NE(FindResourceA(module, "DEFAULT", MAKEINTRESOURCEA(14)), nullptr);
  EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)), nullptr);
  FreeLibrary(module);
}

}  // namespace
}  // namespace orvane::testing
