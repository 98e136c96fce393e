#pragma once
// Visual components: TControl (position, alignment, caption, hint, font, action),
// TWinControl (a real window that owns its handle and lays out its children) and
// TGraphicControl (drawn by its parent, like labels and flat buttons).

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/action.h"
#include "controls/component.h"
#include "platform/win32/win32_handles.h"

namespace orvane {

enum class TAlign { None, Top, Bottom, Left, Right, Client };

struct TAnchors {
  bool Left = true;
  bool Top = true;
  bool Right = false;
  bool Bottom = false;
};

struct TFont {
  std::string Name = "MS Sans Serif";
  int Size = 8;  // points
  bool Bold = false;
  bool Underline = false;
  COLORREF Color = GetSysColor(COLOR_WINDOWTEXT);
  BYTE Charset = DEFAULT_CHARSET;
};

class TWinControl;

class TControl : public TComponent, public TActionClient {
public:
  TControl(TComponent* owner, std::string name, TWinControl* parent);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual bool IsWindowed() const { return false; }

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.right - bounds_.left; }
  int Height() const { return bounds_.bottom - bounds_.top; }
  RECT BoundsRect() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  const TAnchors& Anchors() const { return anchors_; }
  // Keeps the control's current distances to the edges named.
  void SetAnchors(TAnchors value);

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // Visible here and in every parent up to the window.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  const std::string& Hint() const { return hint_; }
  // The short part shows as a tooltip over the control.
  void SetHint(const std::string& value);

  // A control with ParentFont uses its parent's font; the others have their own.
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  const TFont& Font() const;
  void SetFont(const TFont& font);
  HFONT FontHandle() const;

  std::function<void()> OnClick;
  // Runs the linked action, else OnClick.
  virtual void Click();

  void ActionChanged(TAction& action) override;

  std::optional<std::string> GetProperty(const std::string& name) const override;
  bool SetProperty(const std::string& name, const std::string& value) override;

  // Graphic controls draw here, in their parent's coordinates.
  virtual void Paint(HDC) {}
  void Invalidate();

  // Mouse input that the parent hands to graphic controls, in the control's coordinates.
  virtual void MouseDown(int, int) {}
  virtual void MouseUp(int, int) {}
  virtual void MouseLeave() {}
  virtual void MouseMove(int, int) {}

protected:
  // Takes over bounds that the window system already applied.
  void StoreBounds(const RECT& bounds) { bounds_ = bounds; }
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void CaptionChanged() {}
  virtual void FontChanged();
  void RealignParent();
  // Tells the window at the top that the tooltip of this control changed.
  void HintChanged(bool removed);

private:
  friend class TWinControl;
  void RecreateFont();

  TWinControl* parent_;
  RECT bounds_{};
  TAlign align_ = TAlign::None;
  TAnchors anchors_;
  // Distances to the parent's right and bottom edges, for the anchors.
  int rightMargin_ = 0;
  int bottomMargin_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  std::string hint_;
  bool parentFont_ = true;
  TFont font_;
  TFontHandle fontHandle_;
};

class TWinControl : public TControl {
public:
  TWinControl(TComponent* owner, std::string name, TWinControl* parent);
  ~TWinControl() override;

  bool IsWindowed() const override { return true; }
  HWND Handle() const { return handle_.get(); }
  const std::vector<TControl*>& Controls() const { return controls_; }

  int ClientWidth() const;
  int ClientHeight() const;
  // Lays out the aligned and anchored children in the client area.
  void Realign();

  bool CanFocus() const;
  bool Focused() const;
  void SetFocus();

  // The control that owns a window handle, or nullptr.
  static TWinControl* FromHandle(HWND window);

  // A notification (WM_COMMAND code) for this control from its parent.
  virtual void CommandNotify(WORD) {}
  // A WM_NOTIFY for this control; the result goes back to the sender.
  virtual LRESULT Notify(NMHDR&) { return 0; }
  // A WM_DRAWITEM for this owner-drawn control; false leaves it to the system.
  virtual bool DrawItem(DRAWITEMSTRUCT&) { return false; }

  // A control below changed its hint or, when drawn by its parent, its place; the window
  // at the top shows the hints.
  virtual void ControlHintChanged(TControl&, bool /*removed*/) {}
  // A hint's tool lies on this window: from now on its mouse messages go to the window
  // at the top (RelayHintMessage), as the tooltip needs them.
  void SetRelaysHints() { relaysHints_ = true; }
  // A windowed child took (`focused`) or lost the keyboard focus.
  virtual void ChildFocusChanged(TWinControl&, bool /*focused*/) {}

protected:
  struct TCreateParams {
    const char* ClassName = nullptr;  // nullptr: the program's own window class
    DWORD Style = 0;
    DWORD ExStyle = 0;
  };
  // Derived constructors create the window once they know what it is.
  void CreateHandle(const TCreateParams& params);
  // The window is going away with its parent; forget the handle.
  void DetachHandle();

  virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
  // A mouse message of a window below that carries a hint's tool; the window at the top
  // hands it to its tooltip.
  virtual void RelayHintMessage(const MSG&) {}
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Own windows paint their background here, then their graphic children are drawn.
  virtual void PaintWindow(HDC dc, const RECT& client);

  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void CaptionChanged() override;
  void FontChanged() override;

private:
  friend class TControl;
  static LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void PaintAll();
  TControl* GraphicAt(int x, int y) const;
  void RelayToHints(UINT message, WPARAM wParam, LPARAM lParam);

  TWindowHandle handle_;
  WNDPROC defaultProc_ = nullptr;
  std::vector<TControl*> controls_;
  TControl* mouseControl_ = nullptr;
  bool aligning_ = false;
  bool relaysHints_ = false;
};

// Drawn by its parent; has no window of its own.
class TGraphicControl : public TControl {
public:
  using TControl::TControl;

protected:
  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override { Invalidate(); }
  void CaptionChanged() override { Invalidate(); }
  void FontChanged() override;
};

// Colours as the window system knows them.
inline COLORREF SysColor(int index) { return GetSysColor(index); }

// Fills a rectangle with a horizontal gradient.
void FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to);

// The window with the keyboard focus. While a TFocusPass lives, the system is asked once
// until something of ours may have moved the focus (a control focused, disabled or
// hidden): under Wine each question is a trip to its server, and the update rules of
// every action ask it.
HWND FocusedWindow();

class TFocusPass {
public:
  TFocusPass();
  ~TFocusPass();
  TFocusPass(const TFocusPass&) = delete;
  TFocusPass& operator=(const TFocusPass&) = delete;
};

}  // namespace orvane
