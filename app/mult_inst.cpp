#include "app/mult_inst.h"

#include "controls/application.h"
#include "controls/form.h"
#include "platform/messages.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

constexpr char kGuardProp[] = "OrvaneInstanceGuard";

}  // namespace

TSingleInstance::TSingleInstance(TApplication& application, const std::string& identifier)
    : application_(application) {
  message_ = RegisterWindowMessageA(identifier.c_str());
  TKernelHandle existing(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, identifier.c_str()));
  if (existing) {
    anotherRunning_ = true;
    application_.ShowMainForm = false;
    DWORD recipients = BSM_APPLICATIONS;
    BroadcastSystemMessageA(BSF_IGNORECURRENTTASK | BSF_POSTMESSAGE, &recipients, message_, 0, 0);
    return;
  }
  HWND window = application_.Handle();
  if (window && SetPropA(window, kGuardProp, this)) {
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WakeProc)));
  }
  if (!previous_) {
    if (window) RemovePropA(window, kGuardProp);
    errorBits_ |= kSubclassFailed;
  }
  mutex_.reset(CreateMutexA(nullptr, FALSE, identifier.c_str()));
  if (!mutex_) errorBits_ |= kMutexFailed;
}

TSingleInstance::~TSingleInstance() {
  HWND window = application_.Handle();
  if (previous_ && window) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropA(window, kGuardProp);
  }
}

std::vector<std::string> TSingleInstance::ErrorMessages() const {
  std::vector<std::string> texts;
  if (errorBits_ & kSubclassFailed) texts.push_back(LoadResString(msg::SSubclassError));
  if (errorBits_ & kMutexFailed) texts.push_back(LoadResString(msg::SMutexError));
  return texts;
}

void TSingleInstance::ReportErrors() const {
  for (const std::string& text : ErrorMessages()) {
    ShowMessageBox(text, application_.Title(), MB_OK | MB_ICONSTOP);
  }
}

LRESULT CALLBACK TSingleInstance::WakeProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  auto* guard = static_cast<TSingleInstance*>(GetPropA(window, kGuardProp));
  if (!guard) return DefWindowProcA(window, message, wParam, lParam);
  if (message != guard->message_) {
    return CallWindowProcA(guard->previous_, window, message, wParam, lParam);
  }
  TApplication& application = guard->application_;
  if (application.IsMinimized()) application.Restore();
  TForm* main = application.MainForm();
  if (main && main->Handle() && IsWindow(main->Handle())) SetForegroundWindow(main->Handle());
  return 0;
}

bool IsOSSupported(unsigned platformId, unsigned majorVersion) {
  return !(platformId == 2 && majorVersion < 5);
}

}  // namespace orvane
