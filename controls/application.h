#pragma once
// The application object: its hidden window (the target of the single-instance wake-up
// message), the title, the main window, the message loop with its idle-time pass, and
// the handler that every exception stopped at a window procedure reaches.

#include <windows.h>

#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace orvane {

class TForm;
struct TResForm;

class TApplication {
public:
  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // The hidden application window.
  HWND Handle() const { return handle_.get(); }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value);

  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm* form) { mainForm_ = form; }
  // Run shows the main window unless this was cleared.
  bool ShowMainForm = true;

  bool IsMinimized() const;
  void Restore();

  // Shows the exception's message, or hands it to OnException when set.
  void HandleException(const std::exception& error);
  std::function<void(const std::exception&)> OnException;
  // The boundary of every entry point (window procedures, the message loop, the
  // program's start): called in a catch block, it reports the exception being handled
  // through HandleException, anything that is no std::exception as an unknown one. A
  // report that fails in turn is dropped: nothing leaves an entry point.
  void HandleCurrentException() noexcept;
  // The loaded language's section of a window class (nullptr: the window's own texts);
  // unset, windows keep their own texts.
  std::function<const TResForm*(const std::string& className)> Language;
  // Every window made and not yet destroyed, first made first.
  const std::vector<TForm*>& Forms() const { return forms_; }
  void AddForm(TForm* form) { forms_.push_back(form); }
  void RemoveForm(TForm* form);
  // Translates every window with the current Language.
  void TranslateAll();

  // Runs whenever the queue has become empty.
  std::function<void()> OnIdle;

  // Runs `work` on the thread of the message loop; callable from any thread. The work is
  // done when a loop (the program's or a modal one) next handles messages, inside the
  // boundary of entry points.
  void Post(std::function<void()> work);

  // Handles one waiting message; false when there was none.
  bool ProcessMessage();
  // Handles every waiting message.
  void ProcessMessages();
  // Handles one message, running the idle pass and waiting when there is none; false
  // once the quit message arrived.
  bool HandleMessage();
  // Shows the main window (see ShowMainForm) and runs the message loop until it quits.
  int Run();
  bool Terminated() const { return terminated_; }
  // Lets a loop run again after the quit message (tests run several windows in turn).
  void ClearTerminated() { terminated_ = false; }

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void RunPosted();
  bool Dispatch(MSG& message);
  void Idle();

  TWindowHandle handle_;
  std::string title_;
  TForm* mainForm_ = nullptr;
  std::vector<TForm*> forms_;
  bool terminated_ = false;
  int exitCode_ = 0;
  std::mutex postedLock_;
  std::vector<std::function<void()>> posted_;
};

// The process's application object.
TApplication& Application();

}  // namespace orvane
