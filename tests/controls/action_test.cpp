#include "controls/action.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "controls/application.h"
#include "controls/edit_controls.h"
#include "controls/std_controls.h"
#include "test_form.h"
#include "tests/support/scoped_value.h"

namespace orvane::testing {
namespace {

TEST(ActionTest, UpdateActionsReevaluatesOneCategoryOrAll) {
  TTestForm form;
  auto& list = form.Create<TActionList>("alMain");
  int statics = 0, commons = 0;
  list.Add("actA", "A", "Static").OnUpdate = [&](TAction&) { ++statics; };
  list.Add("actB", "B", "Common").OnUpdate = [&](TAction&) { ++commons; };
  list.Add("actC", "C", "Static ").OnUpdate = [&](TAction&) { statics += 100; };
  form.UpdateActions("Static");
  EXPECT_EQ(statics, 1);  // the category must match exactly
  EXPECT_EQ(commons, 0);
  form.UpdateActions(std::nullopt);
  EXPECT_EQ(statics, 102);
  EXPECT_EQ(commons, 1);
}

// One pass asks the system for the focus once, yet a rule that moves the focus (by
// disabling the focused field, or focusing another) leaves the right one to the next.
TEST(ActionTest, RulesOfOnePassSeeTheFocusWhereTheEarlierRulesLeftIt) {
  TTestForm form;
  auto& first = form.Create<TEdit>("edFirst", &form);
  auto& second = form.Create<TEdit>("edSecond", &form);
  second.SetBounds(0, 30, 100, 21);
  form.Show();
  first.SetFocus();
  ASSERT_EQ(GetFocus(), first.Handle());
  auto& list = form.Create<TActionList>("alMain");
  std::vector<HWND> seen;
  auto look = [&](TAction&) { seen.push_back(FocusedWindow()); };
  list.Add("actLook", "", "").OnUpdate = look;
  list.Add("actLookAgain", "", "").OnUpdate = look;
  list.Add("actDisable", "", "").OnUpdate = [&](TAction&) { first.SetEnabled(false); };
  list.Add("actAfterDisabling", "", "").OnUpdate = look;
  list.Add("actFocus", "", "").OnUpdate = [&](TAction&) { second.SetFocus(); };
  list.Add("actAfterFocusing", "", "").OnUpdate = look;
  form.UpdateActions(std::nullopt);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0], first.Handle());
  EXPECT_EQ(seen[1], first.Handle());
  EXPECT_NE(seen[2], first.Handle()) << "a disabled field keeps no focus";
  EXPECT_EQ(seen[3], second.Handle());
  EXPECT_EQ(FocusedWindow(), GetFocus()) << "outside a pass the system is asked";
}

TEST(ActionTest, ButtonsMirrorTheirAction) {
  TTestForm form;
  auto& list = form.Create<TActionList>("alMain");
  auto& action = list.Add("actApply", "Apply", "Common");
  auto& button = form.Create<TButton>("btnApply", &form);
  button.SetAction(&action);
  EXPECT_EQ(button.Caption(), "Apply");
  action.SetEnabled(false);
  EXPECT_FALSE(button.Enabled());
  EXPECT_FALSE(IsWindowEnabled(button.Handle()));
  action.SetCaption("&Apply");
  action.SetHint("|Apply button");
  EXPECT_EQ(button.Caption(), "&Apply");
  EXPECT_EQ(button.Hint(), "|Apply button");
  action.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(button.Handle()));
}

TEST(ActionTest, ExecuteRunsOnlyWhenTheUpdatedStateIsEnabled) {
  TTestForm form;
  auto& list = form.Create<TActionList>("alMain");
  auto& action = list.Add("actGo", "Go", "Common");
  bool allowed = false;
  int runs = 0;
  action.OnUpdate = [&](TAction& a) { a.SetEnabled(allowed); };
  action.OnExecute = [&](TAction&) { ++runs; };
  auto& button = form.Create<TButton>("btnGo", &form);
  button.SetBounds(0, 0, 75, 25);
  button.SetAction(&action);
  SendMessageA(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(runs, 0);
  EXPECT_FALSE(IsWindowEnabled(button.Handle()));
  allowed = true;
  action.Update();  // the idle-time pass
  SendMessageA(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(runs, 1);
}

TEST(ActionTest, ShortCutsReachTheEnabledAction) {
  TTestForm form;
  auto& list = form.Create<TActionList>("alMain");
  int next = 0, previous = 0;
  auto& actNext = list.Add("actNext", "Next", "Tab");
  actNext.SetShortCut(scCtrl | VK_TAB);
  actNext.OnExecute = [&](TAction&) { ++next; };
  auto& actPrev = list.Add("actPrev", "Previous", "Tab");
  actPrev.SetShortCut(scCtrl | scShift | VK_TAB);
  actPrev.OnExecute = [&](TAction&) { ++previous; };
  EXPECT_TRUE(form.IsShortCut(scCtrl | VK_TAB));
  EXPECT_TRUE(form.IsShortCut(scCtrl | scShift | VK_TAB));
  EXPECT_FALSE(form.IsShortCut(VK_TAB));
  actNext.SetEnabled(false);
  EXPECT_FALSE(form.IsShortCut(scCtrl | VK_TAB));
  EXPECT_EQ(next, 1);
  EXPECT_EQ(previous, 1);
}

TEST(ActionTest, FreeingEitherSideUnlinks) {
  TTestForm form;
  auto list = std::make_unique<TActionList>(nullptr, "alLocal");
  auto& action = list->Add("actX", "X", "Common");
  auto& button = form.Create<TButton>("btnX", &form);
  button.SetBounds(0, 0, 75, 25);
  button.SetAction(&action);
  list.reset();
  EXPECT_EQ(button.Action(), nullptr);
  SendMessageA(button.Handle(), BM_CLICK, 0, 0);  // no freed action is reached

  TActionList other(nullptr, "alOther");
  auto& kept = other.Add("actY", "Y", "Common");
  {
    TTestForm second;
    auto& temporary = second.Create<TButton>("btnY", &second);
    temporary.SetAction(&kept);
  }
  kept.SetCaption("still safe");
}

TEST(ActionTest, ExceptionsStopAtTheWindowProcedure) {
  TTestForm form;
  auto& button = form.Create<TButton>("btnFail", &form);
  button.SetBounds(0, 0, 75, 25);
  button.OnClick = [] { throw Exception("clicked too hard"); };
  std::string reported;
  TScopedValue<std::function<void(const std::exception&)>> handler(
      Application().OnException, [&](const std::exception& error) { reported = error.what(); });
  SendMessageA(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(reported, "clicked too hard");
}

// What leaves the idle pass, of any type, is reported like an exception at a window, and
// the loop runs on.
TEST(ActionTest, ExceptionsOfAnyTypeStopAtTheIdlePass) {
  std::string reported;
  TScopedValue<std::function<void(const std::exception&)>> handler(
      Application().OnException, [&](const std::exception& error) { reported = error.what(); });
  TScopedValue<std::function<void()>> idle(Application().OnIdle, [] {
    // Wakes the wait that follows the idle pass.
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    throw 42;
  });
  Application().ProcessMessages();
  EXPECT_TRUE(Application().HandleMessage());
  EXPECT_EQ(reported, "Unknown exception");
}

TEST(ActionTest, WorkPostedFromAnotherThreadRunsOnTheLoopsThreadEvenInAModalLoop) {
  std::string reported;
  TScopedValue<std::function<void(const std::exception&)>> handler(
      Application().OnException, [&](const std::exception& error) { reported = error.what(); });
  std::vector<DWORD> threads;
  std::thread worker([&] {
    Application().Post([&] { threads.push_back(GetCurrentThreadId()); });
    Application().Post([] { throw std::runtime_error("posted work failed"); });
  });
  worker.join();
  // A modal loop dispatches without the application's own loop, as a message box does.
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  EXPECT_EQ(threads, std::vector<DWORD>{GetCurrentThreadId()});
  EXPECT_EQ(reported, "posted work failed");
}

}  // namespace
}  // namespace orvane::testing
