#pragma once
// Top-level windows: the main window, the loading window and the dialogs.

#include <functional>
#include <optional>
#include <string>

#include "controls/control.h"
#include "controls/form_translation.h"

namespace orvane {

enum class TBorderStyle { Sizeable, Dialog, None };

class TForm : public TWinControl {
public:
  struct TStyle {
    TBorderStyle Border = TBorderStyle::Sizeable;
    bool MinimizeBox = true;
    bool MaximizeBox = true;
    // Shown in the task bar even when it is not the main window.
    bool AppWindow = false;
    // Showing the window activates it. A splash window leaves the activation alone: an
    // activated window becomes one that Wine hands to the window manager, and taking it
    // off the screen then waits for that manager (2 s where there is none).
    bool Activates = true;
  };

  TForm(TComponent* owner, std::string name, const TStyle& style);
  TForm(TComponent* owner, std::string name) : TForm(owner, std::move(name), TStyle{}) {}
  ~TForm() override;

  // The window's class name, which names its section in a language file.
  virtual std::string ClassName() const = 0;

  // Puts the window's texts into the application's language (Application().Language).
  // A window calls it once its components exist, before it sets texts of its own; one
  // that does not is translated when it is first shown. Translating again, after the
  // language changed or a page was added, is what TApplication::TranslateAll does.
  void Translate();
  bool Translated() const { return translated_; }

  void SetClientSize(int width, int height);
  void SetMinSize(int width, int height);
  void CenterOnScreen();

  void Show();
  void Hide();
  // Asks CloseQuery; when allowed, runs OnClose, hides, and ends the message loop if this
  // is the main window. False when the window stays open.
  bool Close();

  // The window sees key presses before the focused control.
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  // True when the key was handled and goes no further.
  virtual bool KeyDown(WORD, TShortCut) { return false; }
  virtual bool KeyUp(WORD, TShortCut) { return false; }

  // The control that has the focus inside this window, or nullptr.
  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* control);

  // Every action list the window owns.
  void UpdateActions(const std::optional<std::string>& category);
  bool IsShortCut(TShortCut shortCut);

  // The form that holds a window, or nullptr.
  static TForm* FormOf(HWND window);

  // Modal use: ShowModal runs until ModalResult is set.
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }
  int ShowModal();

  std::function<void(bool& canClose)> OnCloseQuery;
  std::function<void()> OnClose;
  std::function<void()> OnFirstShow;

  // The tooltip window that shows the short hints, or nullptr before the first hint.
  HWND Tooltip() const { return tooltip_.get(); }
  void ControlHintChanged(TControl& control, bool removed) override;

protected:
  virtual bool CloseQuery();
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void RelayHintMessage(const MSG& message) override;
  void VisibleChanged() override;

private:
  TFormTranslation translation_;
  bool translated_ = false;
  bool keyPreview_ = false;
  int minWidth_ = 0;
  int minHeight_ = 0;
  int modalResult_ = 0;
  bool shown_ = false;
  bool activates_ = true;
  HWND lastFocus_ = nullptr;
  TWindowHandle tooltip_;
};

// Gives a window the system's message font: the window takes it, and every control
// below it that has a font of its own of size 8 takes its face name and character set.
void ApplyMessageFont(TForm& form);

// The shortcut of a key with the current state of the modifier keys.
TShortCut ShortCutOfKey(WORD key);

}  // namespace orvane
