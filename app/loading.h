#pragma once
// The loading window shown while the program starts, and the progress texts that the
// main window's creation feeds it while the registry is scanned.

#include <cstdint>
#include <functional>
#include <string>

#include "controls/form.h"
#include "controls/panels.h"
#include "controls/std_controls.h"

namespace orvane {

class TfrmLoading : public TForm {
public:
  explicit TfrmLoading(TComponent* owner = nullptr);
  // Gives the application its plain title back.
  ~TfrmLoading() override;
  std::string ClassName() const override { return "TfrmLoading"; }

  TGradientPanel& pnlMain;
  TLabel& lblTitle;
  TLabel& lblProgress;
};

// The loading window while it exists, else nullptr.
TfrmLoading* LoadingWindow();

// Milliseconds of a steady clock; tests install their own.
using TProgressClock = std::function<std::int64_t()>;
// An empty clock restores the real one.
void SetProgressClock(TProgressClock clock);
// The last progress repaint is now.
void ResetProgressTimer();

// Shows the text followed by "..." in the loading window (when it exists), then repaints
// as RepaintProgress does.
void ShowProgress(const std::string& text);
// Dispatches the waiting paint messages when more than 60 ms have passed since the last
// pass.
void RepaintProgress();
// Whether the next RepaintProgress paints: a text per item is only worth making then.
bool ProgressDue();
// How many paint passes ran so far.
int ProgressRepaintCount();
// Dispatches waiting paint messages only, so the windows stay painted while input waits.
void PumpPaintMessages();

}  // namespace orvane
