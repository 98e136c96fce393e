#include "controls/std_controls.h"

#include "platform/win32/win32_handles.h"

namespace orvane {

// TLabel

TLabel::TLabel(TComponent* owner, std::string name, TWinControl* parent)
    : TGraphicControl(owner, std::move(name), parent) {}

void TLabel::SetWordWrap(bool value) {
  wordWrap_ = value;
  Invalidate();
}

void TLabel::Paint(HDC dc) {
  RECT rect = BoundsRect();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Enabled() ? Font().Color : GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &rect,
            DT_LEFT | DT_TOP | (wordWrap_ ? DT_WORDBREAK : 0));
}

void TLabel::MouseUp(int x, int y) {
  if (x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
}

void TLabel::Click() {
  if (focusControl_ && focusControl_->CanFocus()) {
    focusControl_->SetFocus();
    char name[16] = {};
    GetClassNameA(focusControl_->Handle(), name, sizeof name);
    if (lstrcmpiA(name, "Edit") == 0) SendMessageA(focusControl_->Handle(), EM_SETSEL, 0, -1);
  }
  TGraphicControl::Click();
}

// TLinkLabel

void TLinkLabel::SetUnderline(bool value) {
  if (Font().Underline == value) return;
  TFont font = Font();
  font.Underline = value;
  SetFont(font);
}

void TLinkLabel::MouseMove(int, int) { SetUnderline(true); }

void TLinkLabel::MouseLeave() { SetUnderline(false); }

void TLinkLabel::MouseDown(int, int) {
  if (releasedColor_) return;
  releasedColor_ = Font().Color;
  TFont font = Font();
  font.Color = RGB(255, 0, 0);
  SetFont(font);
}

void TLinkLabel::MouseUp(int x, int y) {
  if (releasedColor_) {
    TFont font = Font();
    font.Color = *releasedColor_;
    releasedColor_.reset();
    SetFont(font);
  }
  TLabel::MouseUp(x, y);
}

// TButton

TButton::TButton(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent) {
  CreateHandle({"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0});
}

void TButton::CommandNotify(WORD code) {
  if (code == BN_CLICKED) Click();
}

// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner, std::string name, TWinControl* parent)
    : TGraphicControl(owner, std::move(name), parent) {}

void TSpeedButton::SetFlat(bool value) {
  flat_ = value;
  Invalidate();
}

void TSpeedButton::SetGlyph(HICON icon, int size) {
  glyph_.reset(icon);
  glyphSize_ = size;
  Invalidate();
}

namespace {
// The caption's margins inside the button and the gap after the glyph, as painted.
constexpr int kSpeedTextMargin = 4;
constexpr int kSpeedGlyphGap = 4;
}  // namespace

int TSpeedButton::FittingWidth() const {
  TWindowDC screen(nullptr);
  TSelectObject font(screen.Get(), FontHandle());
  SIZE size{};
  GetTextExtentPoint32A(screen.Get(), Caption().c_str(), static_cast<int>(Caption().size()),
                        &size);
  // One pixel more for the pressed look, which moves the caption.
  int width = size.cx + 2 * kSpeedTextMargin + 1;
  if (glyph_) width += glyphSize_ + kSpeedGlyphGap;
  return width;
}

void TSpeedButton::CaptionChanged() {
  TGraphicControl::CaptionChanged();
  if (OnTextResized) OnTextResized();
}

void TSpeedButton::FontChanged() {
  TGraphicControl::FontChanged();
  if (OnTextResized) OnTextResized();
}

void TSpeedButton::Paint(HDC dc) {
  RECT rect = BoundsRect();
  if (!flat_) {
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &rect, pressed_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  } else if (Enabled() && (hot_ || pressed_)) {
    DrawEdge(dc, &rect, pressed_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  RECT text = rect;
  InflateRect(&text, -kSpeedTextMargin, -2);
  if (pressed_) OffsetRect(&text, 1, 1);
  if (glyph_) {
    const int top = text.top + (text.bottom - text.top - glyphSize_) / 2;
    DrawIconEx(dc, text.left, top, glyph_.get(), glyphSize_, glyphSize_, 0, nullptr, DI_NORMAL);
    text.left += glyphSize_ + kSpeedGlyphGap;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Enabled() ? Font().Color : GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text,
            (glyph_ ? DT_LEFT : DT_CENTER) | DT_VCENTER | DT_SINGLELINE);
}

void TSpeedButton::MouseDown(int, int) {
  pressed_ = true;
  Invalidate();
}

void TSpeedButton::MouseUp(int x, int y) {
  const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
  pressed_ = false;
  Invalidate();
  if (inside && Enabled()) Click();
}

void TSpeedButton::MouseMove(int, int) {
  if (hot_) return;
  hot_ = true;
  Invalidate();
}

void TSpeedButton::MouseLeave() {
  if (!hot_) return;
  hot_ = false;
  Invalidate();
}

// TImage

TImage::TImage(TComponent* owner, std::string name, TWinControl* parent)
    : TGraphicControl(owner, std::move(name), parent) {}

void TImage::SetIcon(HICON icon) {
  icon_.reset(icon);
  Invalidate();
}

void TImage::Paint(HDC dc) {
  if (icon_) {
    DrawIconEx(dc, Left(), Top(), icon_.get(), Width(), Height(), 0, nullptr, DI_NORMAL);
  }
}

}  // namespace orvane
