#pragma once
// The page selector of the main window's left panel: categories with a caption, each
// holding buttons; one button is the selected one.

#include <functional>
#include <memory>

#include "controls/control.h"

namespace orvane {

class TButtonItem : public TPersistent {
public:
  explicit TButtonItem(std::string caption) : caption_(std::move(caption)) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }

  std::optional<std::string> GetProperty(const std::string& name) const override;
  bool SetProperty(const std::string& name, const std::string& value) override;

private:
  std::string caption_;
  std::string hint_;
};

class TButtonCategory : public TPersistent {
public:
  explicit TButtonCategory(std::string caption) : caption_(std::move(caption)) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }
  TButtonItem& AddItem(std::string caption);
  int Count() const { return static_cast<int>(items_.size()); }
  TButtonItem& Items(int index) const { return *items_.at(index); }

  std::optional<std::string> GetProperty(const std::string& name) const override;
  bool SetProperty(const std::string& name, const std::string& value) override;
  TPersistent* SubObject(const std::string& name, int index) override;

private:
  std::string caption_;
  std::vector<std::unique_ptr<TButtonItem>> items_;
};

class TCategoryButtons : public TWinControl {
public:
  TCategoryButtons(TComponent* owner, std::string name, TWinControl* parent);

  TButtonCategory& AddCategory(std::string caption);
  int CategoryCount() const { return static_cast<int>(categories_.size()); }
  TButtonCategory& Categories(int index) const { return *categories_.at(index); }

  // Index of the selected button over all categories, -1 for none.
  int SelectedIndex() const { return selected_; }
  // Selects without raising OnButtonClicked.
  void SetSelectedIndex(int index);
  // As a click on the button: selects it and raises OnButtonClicked.
  void ClickButton(int index);
  int ButtonCount() const;

  std::function<void(int index)> OnButtonClicked;
  // Where button `index` is drawn and takes clicks, in client coordinates; empty when
  // there is no such button.
  RECT ButtonRect(int index) const;

  TPersistent* SubObject(const std::string& name, int index) override;
  void Refresh();

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintWindow(HDC dc, const RECT& client) override;

private:
  int ButtonAt(int x, int y) const;

  std::vector<std::unique_ptr<TButtonCategory>> categories_;
  int selected_ = -1;
  int hot_ = -1;
};

}  // namespace orvane
