// The loading window and the progress texts of the start.

#include "app/loading.h"

#include <gmock/gmock.h>

#include "app_fixture.h"

namespace orvane::testing {
namespace {

using ::testing::Contains;
using ::testing::IsSupersetOf;

// A clock that moves on by `step` milliseconds each time it is read.
class SteppingClock {
public:
  explicit SteppingClock(std::int64_t step) : step_(step) {
    SetProgressClock([this] { return now_ += step_; });
    ResetProgressTimer();
  }
  ~SteppingClock() { SetProgressClock(nullptr); }

private:
  std::int64_t step_;
  std::int64_t now_ = 0;
};

TEST(LoadingWindowTest, LooksAsStated) {
  TfrmLoading loading;
  EXPECT_EQ(LoadingWindow(), &loading);
  RECT rect;
  GetWindowRect(loading.Handle(), &rect);
  EXPECT_EQ(rect.right - rect.left, 492);
  EXPECT_EQ(rect.bottom - rect.top, 69);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 492) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 69) / 2);
  EXPECT_FALSE(GetWindowLongA(loading.Handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
  char caption[64] = {};
  GetWindowTextA(loading.Handle(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Orvane 2008 starting...");  // its task bar text
  EXPECT_EQ(loading.lblTitle.Caption(), "Starting Orvane 2008");
  EXPECT_TRUE(loading.lblTitle.Font().Bold);
  EXPECT_EQ(loading.lblTitle.Font().Color, RGB(255, 255, 255));
  EXPECT_EQ(loading.lblProgress.Caption(), "Initializing...");
  EXPECT_NE(loading.FindComponent("imgLogo"), nullptr);
  SaveScreenshot(loading.Handle(), "loading_window");
}

// An activated window is one that Wine hands to the window manager, and taking it off the
// screen then waits up to 2 s for that manager: the start would wait for it.
TEST(LoadingWindowTest, ShowingItLeavesTheActivationAlone) {
  TfrmLoading loading;
  loading.Show();
  EXPECT_TRUE(IsWindowVisible(loading.Handle()));
  EXPECT_NE(GetActiveWindow(), loading.Handle());
  EXPECT_FALSE(GetWindowLongA(loading.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST(LoadingWindowTest, GoingAwayGivesTheApplicationItsTitleBack) {
  Application().SetTitle("Orvane 2008 starting...");
  { TfrmLoading loading; }
  EXPECT_EQ(Application().Title(), "Orvane 2008");
  EXPECT_EQ(LoadingWindow(), nullptr);
}

TEST(ProgressTest, RepaintsAtMostOncePer60Milliseconds) {
  TfrmLoading loading;
  {
    SteppingClock clock(0);  // however many types, no time passes
    const int before = ProgressRepaintCount();
    for (int i = 0; i < 500; ++i)
      ShowProgress("Analyzing registered file type: t" + std::to_string(i));
    EXPECT_EQ(ProgressRepaintCount(), before);
    EXPECT_EQ(loading.lblProgress.Caption(), "Analyzing registered file type: t499...");
  }
  {
    SteppingClock clock(30);  // 30, 60 (not more than 60), 90: every third call... of two
    const int before = ProgressRepaintCount();
    for (int i = 0; i < 12; ++i) ShowProgress("x");
    EXPECT_EQ(ProgressRepaintCount() - before, 4);  // at 90, 180, 270, 360 after the last
  }
  {
    SteppingClock clock(61);
    const int before = ProgressRepaintCount();
    for (int i = 0; i < 5; ++i) RepaintProgress();
    EXPECT_EQ(ProgressRepaintCount() - before, 5);
  }
}

TEST(ProgressTest, PaintPassDispatchesPaintOnlyAndKeepsTheQuitMessage) {
  TfrmLoading loading;
  loading.Show();
  Application().ProcessMessages();
  PostMessageA(loading.Handle(), WM_USER + 7, 0, 0);
  InvalidateRect(loading.Handle(), nullptr, FALSE);
  PumpPaintMessages();
  MSG message;
  EXPECT_FALSE(PeekMessageA(&message, loading.Handle(), WM_PAINT, WM_PAINT, PM_NOREMOVE));
  EXPECT_TRUE(PeekMessageA(&message, loading.Handle(), WM_USER + 7, WM_USER + 7, PM_REMOVE));

  InvalidateRect(loading.Handle(), nullptr, FALSE);
  PostQuitMessage(7);
  PumpPaintMessages();
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
  Application().ProcessMessages();
}

TEST_F(MainWindowTest, CreationReportsEachStepAndEveryTypeInTheLoadingWindow) {
  TfrmLoading loading;
  std::vector<std::string> shown;
  // Each progress text is followed by one look at the clock: record what it shows then.
  SetProgressClock([&] {
    shown.push_back(loading.lblProgress.Caption());
    return static_cast<std::int64_t>(shown.size()) * 61;
  });
  ResetProgressTimer();
  shown.clear();
  auto form = CreateMainWindow();
  SetProgressClock(nullptr);
  EXPECT_THAT(shown, IsSupersetOf({"Preparing application environment...", "Scanning file types...",
                                   "Analyzing registered file type: txtfile...",
                                   "Ready to load registered file types' icons...",
                                   "Loading associated icon for txtfile...", "Ready to start..."}));
  EXPECT_EQ(shown.front(), "Preparing application environment...");
  EXPECT_EQ(loading.lblProgress.Caption(), "Ready to start...");
}

// Setting the text costs a trip to the window system per type: between repaints the
// types leave the text alone.
TEST_F(MainWindowTest, TypesSetNoTextBetweenRepaints) {
  TfrmLoading loading;
  std::vector<std::string> shown;
  SetProgressClock([&] {
    shown.push_back(loading.lblProgress.Caption());
    return std::int64_t{0};
  });
  ResetProgressTimer();
  auto form = CreateMainWindow();
  SetProgressClock(nullptr);
  ASSERT_FALSE(shown.empty());
  for (const std::string& text : shown) {
    EXPECT_EQ(text.find("Analyzing"), std::string::npos) << text;
    EXPECT_EQ(text.find("Loading associated icon"), std::string::npos) << text;
  }
  EXPECT_EQ(loading.lblProgress.Caption(), "Ready to start...");
}

TEST_F(MainWindowTest, LaterRescansShowNoProgressTexts) {
  auto form = CreateMainWindow();
  ASSERT_EQ(LoadingWindow(), nullptr);
  form->FileTypeList().Reload();  // the events find no loading window and drop their texts
  EXPECT_GT(form->FileTypeList().Items().Count(), 0);
}

}  // namespace
}  // namespace orvane::testing
