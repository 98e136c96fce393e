#include "controls/control.h"

#include <windowsx.h>

#include <algorithm>
#include <unordered_map>

#include "controls/application.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

// One pass at a time on the window thread; passes nest.
struct TFocusMemo {
  int passes = 0;
  bool known = false;
  HWND window = nullptr;
};

TFocusMemo& FocusMemo() {
  static TFocusMemo memo;
  return memo;
}

void FocusMayHaveMoved() { FocusMemo().known = false; }

constexpr char kOwnClass[] = "OrvaneWinControl";

// The object behind each window of ours, looked up once per message. Kept in the process
// rather than as a window property: under Wine every property lookup is a trip to the
// server. Windows are made and destroyed on the user interface thread only. Never freed:
// controls that outlive the program's statics still remove themselves.
std::unordered_map<HWND, TWinControl*>& Owners() {
  static auto* owners = new std::unordered_map<HWND, TWinControl*>;
  return *owners;
}

void RegisterOwnClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA windowClass{};
  windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = DefWindowProcA;  // replaced per window
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kOwnClass;
  registered = RegisterClassA(&windowClass) != 0;
}

}  // namespace

void FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to) {
  const int width = rect.right - rect.left;
  if (width <= 0) return;
  constexpr int kBand = 4;
  for (int x = 0; x < width; x += kBand) {
    const int r = GetRValue(from) + (GetRValue(to) - GetRValue(from)) * x / width;
    const int g = GetGValue(from) + (GetGValue(to) - GetGValue(from)) * x / width;
    const int b = GetBValue(from) + (GetBValue(to) - GetBValue(from)) * x / width;
    TBrushHandle brush(CreateSolidBrush(RGB(r, g, b)));
    RECT band{rect.left + x, rect.top, std::min<LONG>(rect.left + x + kBand, rect.right),
              rect.bottom};
    FillRect(dc, &band, brush.get());
  }
}

// TControl

TControl::TControl(TComponent* owner, std::string name, TWinControl* parent)
    : TComponent(owner, std::move(name)), parent_(parent) {
  if (parent_) parent_->controls_.push_back(this);
}

TControl::~TControl() {
  if (!hint_.empty()) HintChanged(true);
  if (parent_) {
    auto& siblings = parent_->controls_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    if (parent_->mouseControl_ == this) parent_->mouseControl_ = nullptr;
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  bounds_ = RECT{left, top, left + width, top + height};
  if (parent_ && !parent_->aligning_ && parent_->Handle()) {
    rightMargin_ = parent_->ClientWidth() - bounds_.right;
    bottomMargin_ = parent_->ClientHeight() - bounds_.bottom;
  }
  BoundsChanged();
}

void TControl::SetHint(const std::string& value) {
  if (value == hint_) return;
  hint_ = value;
  HintChanged(false);
}

void TControl::HintChanged(bool removed) {
  TWinControl* root = parent_;
  while (root && root->parent_) root = root->parent_;
  if (root) root->ControlHintChanged(*this, removed);
}

void TControl::SetAlign(TAlign value) {
  align_ = value;
  RealignParent();
}

void TControl::SetAnchors(TAnchors value) {
  anchors_ = value;
  if (parent_ && parent_->Handle()) {
    rightMargin_ = parent_->ClientWidth() - bounds_.right;
    bottomMargin_ = parent_->ClientHeight() - bounds_.bottom;
  }
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  if (!value) FocusMayHaveMoved();
  VisibleChanged();
  RealignParent();
}

bool TControl::Showing() const {
  for (const TControl* control = this; control; control = control->parent_) {
    if (!control->visible_) return false;
  }
  return true;
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (!value) FocusMayHaveMoved();
  EnabledChanged();
}

void TControl::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  CaptionChanged();
}

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  if (!value) font_ = Font();
  parentFont_ = value;
  RecreateFont();
  FontChanged();
}

const TFont& TControl::Font() const { return parentFont_ && parent_ ? parent_->Font() : font_; }

void TControl::SetFont(const TFont& font) {
  font_ = font;
  parentFont_ = false;
  RecreateFont();
  FontChanged();
}

HFONT TControl::FontHandle() const {
  if (parentFont_ && parent_) return parent_->FontHandle();
  return fontHandle_.get();
}

void TControl::RecreateFont() {
  if (parentFont_ && parent_) {
    fontHandle_.reset();
    return;
  }
  TWindowDC screen(nullptr);
  const int height = -MulDiv(font_.Size, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
  fontHandle_.reset(CreateFontA(height, 0, 0, 0, font_.Bold ? FW_BOLD : FW_NORMAL, FALSE,
                                font_.Underline ? TRUE : FALSE,
                                FALSE, font_.Charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font_.Name.c_str()));
}

void TControl::FontChanged() {}

void TControl::Click() {
  if (Action()) {
    Action()->Execute();
  } else if (OnClick) {
    OnClick();
  }
}

void TControl::ActionChanged(TAction& action) {
  SetCaption(action.Caption());
  SetHint(action.Hint());
  SetEnabled(action.Enabled());
  SetVisible(action.Visible());
}

std::optional<std::string> TControl::GetProperty(const std::string& name) const {
  if (name == "Caption") return caption_;
  if (name == "Hint") return hint_;
  return std::nullopt;
}

bool TControl::SetProperty(const std::string& name, const std::string& value) {
  if (name == "Caption") {
    SetCaption(value);
  } else if (name == "Hint") {
    SetHint(value);
  } else {
    return false;
  }
  return true;
}

void TControl::Invalidate() {
  if (IsWindowed()) {
    InvalidateRect(static_cast<TWinControl*>(this)->Handle(), nullptr, FALSE);
  } else if (parent_ && parent_->Handle()) {
    InvalidateRect(parent_->Handle(), &bounds_, FALSE);
  }
}

void TControl::RealignParent() {
  if (parent_) parent_->Realign();
}

// TWinControl

TWinControl::TWinControl(TComponent* owner, std::string name, TWinControl* parent)
    : TControl(owner, std::move(name), parent) {}

TWinControl::~TWinControl() {
  DestroyComponents();
  if (!Hint().empty()) HintChanged(true);
  for (TControl* child : controls_) child->parent_ = nullptr;
  controls_.clear();
  if (HWND window = handle_.get()) {
    // Messages of the closing window no longer reach this half-destroyed object.
    if (defaultProc_)
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProc_));
    Owners().erase(window);
    if (!defaultProc_)
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
  }
  handle_.reset();
}

void TWinControl::CreateHandle(const TCreateParams& params) {
  const bool own = params.ClassName == nullptr;
  if (own) RegisterOwnClass();
  HWND parentWindow = Parent() ? Parent()->Handle() : nullptr;
  DWORD style = params.Style;
  if (parentWindow) style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible() && parentWindow) style |= WS_VISIBLE;
  HWND window = CreateWindowExA(params.ExStyle, own ? kOwnClass : params.ClassName,
                                Caption().c_str(), style, Left(), Top(), Width(), Height(),
                                parentWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window) throw EOSError("CreateWindowEx failed for " + Name(), GetLastError());
  handle_.reset(window);
  Owners()[window] = this;
  WNDPROC previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWndProc)));
  defaultProc_ = own ? nullptr : previous;
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  if (!Enabled()) EnableWindow(window, FALSE);
}

void TWinControl::DetachHandle() {
  if (HWND window = handle_.release()) Owners().erase(window);
}

TWinControl* TWinControl::FromHandle(HWND window) {
  const auto found = Owners().find(window);
  return found == Owners().end() ? nullptr : found->second;
}

int TWinControl::ClientWidth() const {
  RECT client{};
  if (Handle()) GetClientRect(Handle(), &client);
  return client.right;
}

int TWinControl::ClientHeight() const {
  RECT client{};
  if (Handle()) GetClientRect(Handle(), &client);
  return client.bottom;
}

void TWinControl::Realign() {
  if (!Handle() || aligning_) return;
  aligning_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{aligning_};
  RECT area{0, 0, ClientWidth(), ClientHeight()};
  const int width = area.right;
  const int height = area.bottom;
  for (TAlign pass :
       {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client, TAlign::None}) {
    for (TControl* child : controls_) {
      if (child->align_ != pass || !child->visible_) continue;
      const int w = child->Width();
      const int h = child->Height();
      switch (pass) {
        case TAlign::Top:
          child->SetBounds(area.left, area.top, area.right - area.left, h);
          area.top += h;
          break;
        case TAlign::Bottom:
          child->SetBounds(area.left, area.bottom - h, area.right - area.left, h);
          area.bottom -= h;
          break;
        case TAlign::Left:
          child->SetBounds(area.left, area.top, w, area.bottom - area.top);
          area.left += w;
          break;
        case TAlign::Right:
          child->SetBounds(area.right - w, area.top, w, area.bottom - area.top);
          area.right -= w;
          break;
        case TAlign::Client:
          child->SetBounds(area.left, area.top, std::max<LONG>(0, area.right - area.left),
                           std::max<LONG>(0, area.bottom - area.top));
          break;
        case TAlign::None: {
          const TAnchors& a = child->anchors_;
          if (!a.Right && !a.Bottom) break;
          int left = child->Left(), top = child->Top(), cw = w, ch = h;
          if (a.Right) {
            if (a.Left) {
              cw = std::max(0, width - child->rightMargin_ - left);
            } else {
              left = width - child->rightMargin_ - w;
            }
          }
          if (a.Bottom) {
            if (a.Top) {
              ch = std::max(0, height - child->bottomMargin_ - top);
            } else {
              top = height - child->bottomMargin_ - h;
            }
          }
          child->SetBounds(left, top, cw, ch);
          break;
        }
      }
    }
  }
  InvalidateRect(Handle(), nullptr, FALSE);
}

bool TWinControl::CanFocus() const {
  for (const TControl* control = this; control; control = control->Parent()) {
    if (!control->Visible() || !control->Enabled()) return false;
  }
  return Handle() != nullptr;
}

bool TWinControl::Focused() const { return Handle() && GetFocus() == Handle(); }

void TWinControl::SetFocus() {
  FocusMayHaveMoved();
  if (Handle()) ::SetFocus(Handle());
}

void TWinControl::BoundsChanged() {
  if (!Handle()) return;
  // Layouts set the same bounds again and again; each move is a trip to the window
  // system (under Wine, to its server) and a repaint.
  if (Parent() && Parent()->Handle()) {
    RECT now{};
    GetWindowRect(Handle(), &now);
    MapWindowPoints(nullptr, Parent()->Handle(), reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &bounds_)) return;
  }
  MoveWindow(Handle(), Left(), Top(), Width(), Height(), TRUE);
}

void TWinControl::VisibleChanged() {
  if (Handle() && Parent()) ShowWindow(Handle(), Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged() {
  if (Handle()) EnableWindow(Handle(), Enabled());
}

void TWinControl::CaptionChanged() {
  if (Handle()) SetWindowTextA(Handle(), Caption().c_str());
}

void TWinControl::FontChanged() {
  if (Handle()) {
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
    InvalidateRect(Handle(), nullptr, FALSE);
  }
  for (TControl* child : controls_) {
    if (child->ParentFont()) child->FontChanged();
  }
}

LRESULT TWinControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (defaultProc_) return CallWindowProcA(defaultProc_, Handle(), message, wParam, lParam);
  return DefWindowProcA(Handle(), message, wParam, lParam);
}

void TWinControl::PaintWindow(HDC dc, const RECT& client) {
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

void TWinControl::PaintAll() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  RECT client;
  GetClientRect(Handle(), &client);
  TMemoryDC memory(CreateCompatibleDC(dc));
  TBitmapHandle bitmap(CreateCompatibleBitmap(dc, std::max<LONG>(1, client.right),
                                              std::max<LONG>(1, client.bottom)));
  {
    TSelectObject selectBitmap(memory.get(), bitmap.get());
    TSelectObject selectFont(memory.get(), FontHandle());
    PaintWindow(memory.get(), client);
    for (TControl* child : controls_) {
      if (child->IsWindowed() || !child->Visible()) continue;
      const int saved = SaveDC(memory.get());
      IntersectClipRect(memory.get(), child->Left(), child->Top(), child->Left() + child->Width(),
                        child->Top() + child->Height());
      SelectObject(memory.get(), child->FontHandle());
      child->Paint(memory.get());
      RestoreDC(memory.get(), saved);
    }
    BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
           paint.rcPaint.bottom - paint.rcPaint.top, memory.get(), paint.rcPaint.left,
           paint.rcPaint.top, SRCCOPY);
  }
  EndPaint(Handle(), &paint);
}

TControl* TWinControl::GraphicAt(int x, int y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* child = *it;
    if (child->IsWindowed() || !child->Visible()) continue;
    POINT point{x, y};
    if (PtInRect(&child->bounds_, point)) return child;
  }
  return nullptr;
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (parent_) parent_->ChildFocusChanged(*this, message == WM_SETFOCUS);
      break;
    case WM_COMMAND:
      if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        child->CommandNotify(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (TWinControl* child = FromHandle(header->hwndFrom)) return child->Notify(*header);
      break;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (TWinControl* child = FromHandle(item->hwndItem))
        if (child->DrawItem(*item)) return TRUE;
      break;
    }
  }
  if (message == WM_SETCURSOR && TBusyCursor::Depth() > 0) {
    // The hourglass stays while the program is busy, wherever the mouse is.
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    return TRUE;
  }
  if (defaultProc_) return DefaultProc(message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintAll();
      return 0;
    case WM_SIZE:
      Realign();
      return 0;
    case WM_LBUTTONDOWN:
      if (TControl* child = GraphicAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
        if (child->Enabled()) {
          mouseControl_ = child;
          SetCapture(Handle());
          child->MouseDown(GET_X_LPARAM(lParam) - child->Left(),
                           GET_Y_LPARAM(lParam) - child->Top());
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (TControl* child = mouseControl_) {
        mouseControl_ = nullptr;
        ReleaseCapture();
        child->MouseUp(GET_X_LPARAM(lParam) - child->Left(), GET_Y_LPARAM(lParam) - child->Top());
      }
      return 0;
    case WM_MOUSEMOVE: {
      TControl* child = GraphicAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      for (TControl* other : controls_) {
        if (other != child && !other->IsWindowed()) other->MouseLeave();
      }
      if (child) {
        child->MouseMove(GET_X_LPARAM(lParam) - child->Left(), GET_Y_LPARAM(lParam) - child->Top());
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&track);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      for (TControl* other : controls_) {
        if (!other->IsWindowed()) other->MouseLeave();
      }
      return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

void TWinControl::RelayToHints(UINT message, WPARAM wParam, LPARAM lParam) {
  // The mouse messages a tooltip watches in the windows of its tools.
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      break;
    default:
      return;
  }
  TWinControl* root = this;
  while (root->Parent()) root = root->Parent();
  const DWORD at = GetMessagePos();
  const MSG relayed{Handle(), message, wParam, lParam, static_cast<DWORD>(GetMessageTime()),
                    POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)}};
  root->RelayHintMessage(relayed);
}

LRESULT CALLBACK TWinControl::MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FromHandle(window);
  if (!control) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Destroyed with its parent: the handle is gone, the object stays.
    WNDPROC previous = control->defaultProc_;
    control->DetachHandle();
    if (previous) {
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }
  try {
    if (control->relaysHints_) control->RelayToHints(message, wParam, lParam);
    return control->WndProc(message, wParam, lParam);
  } catch (...) {
    Application().HandleCurrentException();
  }
  return 0;
}

// TGraphicControl

void TGraphicControl::BoundsChanged() {
  if (Parent() && Parent()->Handle()) InvalidateRect(Parent()->Handle(), nullptr, FALSE);
  if (!Hint().empty()) HintChanged(false);
}

void TGraphicControl::VisibleChanged() {
  if (Parent() && Parent()->Handle()) InvalidateRect(Parent()->Handle(), nullptr, FALSE);
}

void TGraphicControl::FontChanged() { Invalidate(); }

HWND FocusedWindow() {
  TFocusMemo& memo = FocusMemo();
  if (memo.passes == 0) return GetFocus();
  if (!memo.known) {
    memo.window = GetFocus();
    memo.known = true;
  }
  return memo.window;
}

TFocusPass::TFocusPass() {
  if (FocusMemo().passes++ == 0) FocusMayHaveMoved();
}

TFocusPass::~TFocusPass() { --FocusMemo().passes; }

}  // namespace orvane
