#include "controls/panels.h"

namespace orvane {

TPanel::TPanel(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent), color_(GetSysColor(COLOR_BTNFACE)) {
  CreateHandle({nullptr, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT});
}

void TPanel::SetBevelOuter(TBevel value) {
  bevelOuter_ = value;
  Invalidate();
}

void TPanel::ChildFocusChanged(TWinControl& child, bool focused) {
  if (!focusFrame_) return;
  char name[16] = {};
  GetClassNameA(child.Handle(), name, sizeof name);
  if (lstrcmpiA(name, "Button") == 0) return;
  if (focused) {
    if (!unfocusedBevel_) unfocusedBevel_ = bevelOuter_;
    SetBevelOuter(TBevel::Lowered);
  } else if (unfocusedBevel_) {
    SetBevelOuter(*unfocusedBevel_);
    unfocusedBevel_.reset();
  }
}

void TPanel::SetColor(COLORREF value) {
  color_ = value;
  Invalidate();
}

void TPanel::PaintWindow(HDC dc, const RECT& client) {
  RECT inner = client;
  PaintBackground(dc, inner);
  if (bevelOuter_ != TBevel::None) {
    DrawEdge(dc, &inner, bevelOuter_ == TBevel::Raised ? BDR_RAISEDOUTER : BDR_SUNKENOUTER,
             BF_RECT);
  }
}

void TPanel::PaintBackground(HDC dc, const RECT& rect) {
  TBrushHandle brush(CreateSolidBrush(color_));
  FillRect(dc, &rect, brush.get());
}

TGradientPanel::TGradientPanel(TComponent* owner, std::string name, TWinControl* parent,
                               COLORREF from, COLORREF to)
    : TPanel(owner, std::move(name), parent), from_(from), to_(to) {}

void TGradientPanel::PaintBackground(HDC dc, const RECT& rect) {
  FillGradient(dc, rect, from_, to_);
}

}  // namespace orvane
