#include "controls/application.h"

#include <algorithm>

#include "controls/form.h"
#include "platform/messages.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

constexpr char kApplicationClass[] = "TApplication";
constexpr UINT kRunPosted = WM_APP + 1;

HWND CreateApplicationWindow(WNDPROC windowProc) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kApplicationClass;
  RegisterClassA(&windowClass);
  return CreateWindowExA(WS_EX_TOOLWINDOW, kApplicationClass, kAppTitle, WS_POPUP, 0, 0, 0, 0,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

TApplication::TApplication()
    : handle_(CreateApplicationWindow(&TApplication::WindowProc)), title_(kAppTitle) {
  SetWindowLongPtrA(handle_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
  if (message == kRunPosted) {
    if (auto* application =
            reinterpret_cast<TApplication*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
      application->RunPosted();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void TApplication::Post(std::function<void()> work) {
  {
    std::lock_guard<std::mutex> lock(postedLock_);
    posted_.push_back(std::move(work));
  }
  PostMessageA(Handle(), kRunPosted, 0, 0);
}

void TApplication::RunPosted() {
  std::vector<std::function<void()>> work;
  {
    std::lock_guard<std::mutex> lock(postedLock_);
    work.swap(posted_);
  }
  for (auto& item : work) {
    try {
      item();
    } catch (...) {
      HandleCurrentException();
    }
  }
}

TApplication::~TApplication() = default;

void TApplication::RemoveForm(TForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

void TApplication::TranslateAll() {
  // A window that one translation closes or opens changes the list: go by a copy, and
  // only through windows that still exist.
  const std::vector<TForm*> forms = forms_;
  for (TForm* form : forms) {
    if (std::find(forms_.begin(), forms_.end(), form) != forms_.end()) form->Translate();
  }
}

void TApplication::SetTitle(const std::string& value) {
  title_ = value;
  if (Handle()) SetWindowTextA(Handle(), value.c_str());
}

bool TApplication::IsMinimized() const {
  return mainForm_ && mainForm_->Handle() && IsIconic(mainForm_->Handle());
}

void TApplication::Restore() {
  if (mainForm_ && mainForm_->Handle()) ShowWindow(mainForm_->Handle(), SW_RESTORE);
}

void TApplication::HandleException(const std::exception& error) {
  if (OnException) {
    OnException(error);
    return;
  }
  ShowMessageBox(error.what(), title_, MB_OK | MB_ICONERROR);
}

void TApplication::HandleCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& error) {
      HandleException(error);
    } catch (...) {
      HandleException(Exception(LoadResString(msg::SUnknownException)));
    }
  } catch (...) {
  }
}

bool TApplication::Dispatch(MSG& message) {
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
    if (TForm* form = TForm::FormOf(message.hwnd)) {
      const WORD key = static_cast<WORD>(message.wParam);
      if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        if (form->IsShortCut(ShortCutOfKey(key))) return true;
        if (form->KeyPreview() && form->KeyDown(key, ShortCutOfKey(0))) return true;
      } else if (message.message == WM_KEYUP || message.message == WM_SYSKEYUP) {
        if (form->KeyPreview() && form->KeyUp(key, ShortCutOfKey(0))) return true;
      }
      if (IsDialogMessageA(form->Handle(), &message)) return true;
    }
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
  return true;
}

bool TApplication::ProcessMessage() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
  if (message.message == WM_QUIT) {
    terminated_ = true;
    exitCode_ = static_cast<int>(message.wParam);
    return true;
  }
  try {
    Dispatch(message);
  } catch (...) {
    HandleCurrentException();
  }
  return true;
}

void TApplication::ProcessMessages() {
  while (!terminated_ && ProcessMessage()) {
  }
}

void TApplication::Idle() {
  if (!OnIdle) return;
  try {
    OnIdle();
  } catch (...) {
    HandleCurrentException();
  }
}

bool TApplication::HandleMessage() {
  if (!ProcessMessage()) {
    Idle();
    if (!terminated_) WaitMessage();
  }
  return !terminated_;
}

int TApplication::Run() {
  if (mainForm_ && ShowMainForm) mainForm_->Show();
  while (HandleMessage()) {
  }
  return exitCode_;
}

TApplication& Application() {
  static TApplication application;
  return application;
}

}  // namespace orvane
