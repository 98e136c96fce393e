#include "controls/form.h"

#include <commctrl.h>

#include "controls/application.h"
#include "platform/win32/window_helpers.h"
#include "resources/version.h"

namespace orvane {
namespace {

void ApplyFontBelow(TWinControl& parent, const TFont& messageFont) {
  for (TControl* child : parent.Controls()) {
    if (!child->ParentFont() && child->Font().Size == 8) {
      TFont font = child->Font();
      font.Name = messageFont.Name;
      font.Charset = messageFont.Charset;
      child->SetFont(font);
    }
    if (child->IsWindowed()) ApplyFontBelow(*static_cast<TWinControl*>(child), messageFont);
  }
}

}  // namespace

TForm::TForm(TComponent* owner, std::string name, const TStyle& style)
    : TWinControl(owner, std::move(name), nullptr), activates_(style.Activates) {
  SetVisible(false);
  SetFont(TFont{});
  DWORD windowStyle = WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  switch (style.Border) {
    case TBorderStyle::Sizeable:
      windowStyle |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      break;
    case TBorderStyle::Dialog:
      windowStyle |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
      exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case TBorderStyle::None:
      windowStyle |= WS_POPUP;
      break;
  }
  if (style.Border != TBorderStyle::None) {
    if (style.MinimizeBox) windowStyle |= WS_MINIMIZEBOX;
    if (style.MaximizeBox) windowStyle |= WS_MAXIMIZEBOX;
  }
  if (style.AppWindow) exStyle |= WS_EX_APPWINDOW;
  CreateHandle({nullptr, windowStyle, exStyle});
  Application().AddForm(this);
  // The program's icon; icons loaded by LoadIcon are shared and never destroyed.
  if (HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ORVANE_IDI_PROGRAM))) {
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

TForm::~TForm() {
  Application().RemoveForm(this);
  if (Application().MainForm() == this) Application().SetMainForm(nullptr);
  // The controls go while their tooltip window is still there.
  DestroyComponents();
}

void TForm::ControlHintChanged(TControl& control, bool removed) {
  const bool windowed = control.IsWindowed();
  HWND owner = windowed ? Handle() : (control.Parent() ? control.Parent()->Handle() : nullptr);
  if (!owner) return;
  TTTOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = owner;
  // The tool's window relays its mouse messages itself: the tooltip's own subclassing
  // puts every message of that window through property lookups, each a trip to Wine's
  // server, and a tree's parent gets a notification per node.
  tool.uFlags = windowed ? TTF_IDISHWND : 0;
  tool.uId = windowed ? reinterpret_cast<UINT_PTR>(static_cast<TWinControl&>(control).Handle())
                      : reinterpret_cast<UINT_PTR>(&control);
  if (tooltip_) SendMessageA(tooltip_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  std::string text = GetShortHint(control.Hint());
  if (removed || text.empty()) return;
  if (!tooltip_) {
    tooltip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                   GetModuleHandleA(nullptr), nullptr));
    if (!tooltip_) return;
  }
  tool.rect = control.BoundsRect();
  tool.lpszText = text.data();
  if (!SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) return;
  if (TWinControl* carrier = windowed ? &static_cast<TWinControl&>(control) : control.Parent())
    carrier->SetRelaysHints();
}

void TForm::RelayHintMessage(const MSG& message) {
  if (tooltip_) {
    SendMessageA(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
  }
}

void TForm::SetClientSize(int width, int height) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, GetWindowLongA(Handle(), GWL_STYLE), FALSE,
                     GetWindowLongA(Handle(), GWL_EXSTYLE));
  SetBounds(Left(), Top(), rect.right - rect.left, rect.bottom - rect.top);
}

void TForm::SetMinSize(int width, int height) {
  minWidth_ = width;
  minHeight_ = height;
}

void TForm::CenterOnScreen() {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  SetBounds((screenWidth - Width()) / 2, (screenHeight - Height()) / 2, Width(), Height());
}

void TForm::Translate() {
  translated_ = true;
  const TApplication& application = Application();
  translation_.Apply(*this, application.Language ? application.Language(ClassName()) : nullptr);
  // Texts of drawn parts (the page selector's buttons) change without their control
  // knowing: the whole window is painted anew.
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm::Show() {
  if (!translated_) Translate();
  SetVisible(true);
}

void TForm::Hide() { SetVisible(false); }

void TForm::VisibleChanged() {
  if (!Handle()) return;
  if (Visible()) {
    if (!shown_) {
      // Before the window appears, so that a restored placement shows at once.
      shown_ = true;
      if (OnFirstShow) OnFirstShow();
    }
    ShowWindow(Handle(), activates_ ? SW_SHOW : SW_SHOWNA);
  } else {
    ShowWindow(Handle(), SW_HIDE);
  }
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(canClose);
  return canClose;
}

bool TForm::Close() {
  if (!CloseQuery()) return false;
  if (OnClose) OnClose();
  if (modalResult_ == 0) modalResult_ = IDCANCEL;
  Hide();
  if (Application().MainForm() == this) PostQuitMessage(0);
  return true;
}

TWinControl* TForm::ActiveControl() const {
  HWND focus = GetFocus();
  if (!focus || (focus != Handle() && !IsChild(Handle(), focus))) return nullptr;
  for (HWND window = focus; window && window != Handle(); window = GetParent(window)) {
    if (TWinControl* control = FromHandle(window)) return control;
  }
  return nullptr;
}

void TForm::SetActiveControl(TWinControl* control) {
  if (control && control->CanFocus()) control->SetFocus();
}

void TForm::UpdateActions(const std::optional<std::string>& category) {
  const TFocusPass pass;
  for (int i = 0; i < ComponentCount(); ++i) {
    if (auto* list = dynamic_cast<TActionList*>(Components(i))) list->UpdateActions(category);
  }
}

bool TForm::IsShortCut(TShortCut shortCut) {
  for (int i = 0; i < ComponentCount(); ++i) {
    if (auto* list = dynamic_cast<TActionList*>(Components(i))) {
      if (list->IsShortCut(shortCut)) return true;
    }
  }
  return false;
}

TForm* TForm::FormOf(HWND window) {
  HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
  return dynamic_cast<TForm*>(FromHandle(root));
}

int TForm::ShowModal() {
  modalResult_ = 0;
  HWND owner = GetActiveWindow();
  if (owner) EnableWindow(owner, FALSE);
  Show();
  while (modalResult_ == 0 && Application().HandleMessage()) {
  }
  if (owner) EnableWindow(owner, TRUE);
  Hide();
  if (owner) SetActiveWindow(owner);
  return modalResult_;
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (minWidth_) info->ptMinTrackSize.x = minWidth_;
      if (minHeight_) info->ptMinTrackSize.y = minHeight_;
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
      } else if (lastFocus_ && IsWindow(lastFocus_) && IsChild(Handle(), lastFocus_)) {
        ::SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_WINDOWPOSCHANGED: {
      RECT window;
      GetWindowRect(Handle(), &window);
      const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
      // Follow moves and resizes made by the user or the system.
      if (!IsIconic(Handle())) {
        StoreBounds(window);
      }
      return result;
    }
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

void ApplyMessageFont(TForm& form) {
  const LOGFONTA log = MessageLogFont();
  TFont font = form.Font();
  font.Name = log.lfFaceName;
  font.Size = FontPointSize(log);
  font.Charset = log.lfCharSet;
  form.SetFont(font);
  ApplyFontBelow(form, font);
}

TShortCut ShortCutOfKey(WORD key) {
  TShortCut shortCut = key;
  if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) shortCut |= scAlt;
  return shortCut;
}

}  // namespace orvane
