#pragma once
// The common controls of the program's windows: labels, push buttons, flat speed
// buttons and pictures.

#include <functional>
#include <optional>

#include "controls/control.h"

namespace orvane {

// Text drawn on its parent's background; clicking it focuses its FocusControl.
class TLabel : public TGraphicControl {
public:
  TLabel(TComponent* owner, std::string name, TWinControl* parent);

  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control) { focusControl_ = control; }

  void Paint(HDC dc) override;
  void MouseUp(int x, int y) override;
  void Click() override;

private:
  bool wordWrap_ = false;
  TWinControl* focusControl_ = nullptr;
};

// A label that stands for an address: underlined while the mouse is over it, red while a
// mouse button is held on it, its own colour again on release.
class TLinkLabel : public TLabel {
public:
  using TLabel::TLabel;

  void MouseDown(int x, int y) override;
  void MouseUp(int x, int y) override;
  void MouseMove(int x, int y) override;
  void MouseLeave() override;

private:
  void SetUnderline(bool value);

  std::optional<COLORREF> releasedColor_;  // while pressed
};

class TButton : public TWinControl {
public:
  TButton(TComponent* owner, std::string name, TWinControl* parent);

  void CommandNotify(WORD code) override;
};

// A flat button drawn on its parent, with an optional icon; it shows a frame while the
// mouse is over it.
class TSpeedButton : public TGraphicControl {
public:
  TSpeedButton(TComponent* owner, std::string name, TWinControl* parent);

  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  // Takes ownership of the icon.
  void SetGlyph(HICON icon, int size);
  // The width that shows the glyph and the whole caption in the button's font.
  int FittingWidth() const;
  // Runs after the caption or the font changed, when the button may need another width.
  std::function<void()> OnTextResized;

  void Paint(HDC dc) override;
  void MouseDown(int x, int y) override;
  void MouseUp(int x, int y) override;
  void MouseMove(int x, int y) override;
  void MouseLeave() override;

protected:
  void CaptionChanged() override;
  void FontChanged() override;

private:
  bool flat_ = true;
  bool hot_ = false;
  bool pressed_ = false;
  TIconHandle glyph_;
  int glyphSize_ = 16;
};

// An icon drawn at its size.
class TImage : public TGraphicControl {
public:
  TImage(TComponent* owner, std::string name, TWinControl* parent);
  // Takes ownership of the icon.
  void SetIcon(HICON icon);
  HICON Icon() const { return icon_.get(); }
  void Paint(HDC dc) override;

private:
  TIconHandle icon_;
};

}  // namespace orvane
