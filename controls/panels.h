#pragma once
// Panels: containers aligned to an edge or the client area, with bevels; the gradient
// panel of window headers.

#include <optional>

#include "controls/control.h"

namespace orvane {

enum class TBevel { None, Raised, Lowered };

class TPanel : public TWinControl {
public:
  TPanel(TComponent* owner, std::string name, TWinControl* parent);

  TBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevel value);
  COLORREF Color() const { return color_; }
  void SetColor(COLORREF value);
  // The focus frame of a details panel: a lowered outer bevel while one of its fields
  // (any windowed child but a button or check box) has the focus.
  bool FocusFrame() const { return focusFrame_; }
  void SetFocusFrame(bool value) { focusFrame_ = value; }
  void ChildFocusChanged(TWinControl& child, bool focused) override;

protected:
  void PaintWindow(HDC dc, const RECT& client) override;
  // The background inside the bevel.
  virtual void PaintBackground(HDC dc, const RECT& rect);

private:
  TBevel bevelOuter_ = TBevel::None;
  // The bevel the panel has while no field is focused.
  std::optional<TBevel> unfocusedBevel_;
  bool focusFrame_ = false;
  COLORREF color_;
};

// A panel whose background runs from one colour to another, left to right.
class TGradientPanel : public TPanel {
public:
  TGradientPanel(TComponent* owner, std::string name, TWinControl* parent, COLORREF from,
                 COLORREF to);

  COLORREF StartColor() const { return from_; }
  COLORREF EndColor() const { return to_; }

protected:
  void PaintBackground(HDC dc, const RECT& rect) override;

private:
  COLORREF from_;
  COLORREF to_;
};

}  // namespace orvane
