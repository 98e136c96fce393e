#pragma once
// Panels: containers aligned to an edge or the client area, with bevels; the gradient
// panel of window headers.

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

protected:
  void PaintWindow(HDC dc, const RECT& client) override;
  // The background inside the bevel.
  virtual void PaintBackground(HDC dc, const RECT& rect);

private:
  TBevel bevelOuter_ = TBevel::None;
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
