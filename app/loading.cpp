#include "app/loading.h"

#include <chrono>

#include "controls/application.h"
#include "platform/messages.h"
#include "platform/win32/window_helpers.h"
#include "resources/version.h"

namespace orvane {
namespace {

constexpr std::int64_t kRepaintInterval = 60;  // milliseconds

TfrmLoading*& CurrentLoadingWindow() {
  static TfrmLoading* window = nullptr;
  return window;
}

struct TProgressState {
  TProgressClock clock;
  std::int64_t lastRepaint = 0;
  int repaints = 0;
};

TProgressState& Progress() {
  static TProgressState state;
  return state;
}

std::int64_t Now() {
  if (Progress().clock) return Progress().clock();
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

TFont WhiteFont(bool bold) {
  TFont font;
  font.Bold = bold;
  font.Color = RGB(255, 255, 255);
  return font;
}

}  // namespace

TfrmLoading::TfrmLoading(TComponent* owner)
    : TForm(owner, "frmLoading", TStyle{TBorderStyle::None, false, false, false, false}),
      pnlMain(Create<TGradientPanel>("pnlMain", this, RGB(0, 45, 110), RGB(70, 140, 215))),
      lblTitle(Create<TLabel>("lblTitle", &pnlMain)),
      lblProgress(Create<TLabel>("lblProgress", &pnlMain)) {
  SetBounds(0, 0, 492, 69);
  CenterOnScreen();
  // The task bar text while the program starts.
  SetCaption(FormatRes(msg::SAppStarting, {std::string(kAppTitle)}));
  pnlMain.SetAlign(TAlign::Client);
  pnlMain.SetBevelOuter(TBevel::Raised);
  auto& image = Create<TImage>("imgLogo", &pnlMain);
  image.SetBounds(16, 18, 32, 32);
  image.SetIcon(static_cast<HICON>(LoadImageA(
      GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ORVANE_IDI_PROGRAM), IMAGE_ICON, 32, 32, 0)));
  lblTitle.SetBounds(60, 14, 420, 18);
  lblTitle.SetFont(WhiteFont(true));
  lblTitle.SetCaption(FormatRes(msg::SLoadingTitle, {std::string(kAppTitle)}));
  lblProgress.SetBounds(60, 36, 420, 18);
  lblProgress.SetFont(WhiteFont(false));
  lblProgress.SetCaption(LoadResString(msg::SInitializing));
  ApplyMessageFont(*this);
  CurrentLoadingWindow() = this;
}

TfrmLoading::~TfrmLoading() {
  if (CurrentLoadingWindow() == this) CurrentLoadingWindow() = nullptr;
  Application().SetTitle(kAppTitle);
}

TfrmLoading* LoadingWindow() { return CurrentLoadingWindow(); }

void SetProgressClock(TProgressClock clock) { Progress().clock = std::move(clock); }

void ResetProgressTimer() { Progress().lastRepaint = Now(); }

void ShowProgress(const std::string& text) {
  if (TfrmLoading* window = LoadingWindow()) window->lblProgress.SetCaption(text + "...");
  RepaintProgress();
}

bool ProgressDue() { return Now() - Progress().lastRepaint > kRepaintInterval; }

void RepaintProgress() {
  if (!ProgressDue()) return;
  Progress().lastRepaint = Now();
  ++Progress().repaints;
  PumpPaintMessages();
}

int ProgressRepaintCount() { return Progress().repaints; }

void PumpPaintMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
    const BOOL result = GetMessageA(&message, nullptr, WM_PAINT, WM_PAINT);
    if (result == -1) break;
    if (result == 0) {
      // The quit message is for the main loop: put it back.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    DispatchMessageA(&message);
  }
}

}  // namespace orvane
