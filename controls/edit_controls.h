#pragma once
// Edits, check boxes and combo boxes over the system's controls; their texts and lists
// are component properties ("cbX.Items" as lines).

#include <string>
#include <vector>

#include "controls/control.h"

namespace orvane {

class TEdit : public TWinControl {
public:
  TEdit(TComponent* owner, std::string name, TWinControl* parent);
  std::string Text() const;
  void SetText(const std::string& value);
  std::function<void()> OnChange;
  void CommandNotify(WORD code) override;
};

class TCheckBox : public TWinControl {
public:
  TCheckBox(TComponent* owner, std::string name, TWinControl* parent);
  bool Checked() const;
  void SetChecked(bool value);
  void CommandNotify(WORD code) override;
  void ActionChanged(TAction& action) override;
};

// One of a group: checking it unchecks the others of its parent.
class TRadioButton : public TWinControl {
public:
  TRadioButton(TComponent* owner, std::string name, TWinControl* parent);
  bool Checked() const;
  void SetChecked(bool value);
  void CommandNotify(WORD code) override;
};

// A number edit with up and down arrows, kept within MinValue..MaxValue.
class TSpinEdit : public TEdit {
public:
  TSpinEdit(TComponent* owner, std::string name, TWinControl* parent, int minValue, int maxValue);
  int MinValue() const { return min_; }
  int MaxValue() const { return max_; }
  // The number in the edit within the range; MinValue for a text that is no number.
  int Value() const;
  void SetValue(int value);

protected:
  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;

private:
  int min_;
  int max_;
  TWindowHandle upDown_;
};

class TComboBox : public TWinControl {
public:
  // A drop-down list the user picks from, or an edit with a list.
  TComboBox(TComponent* owner, std::string name, TWinControl* parent, bool dropDownList = true);

  std::vector<std::string> Items() const;
  void SetItems(const std::vector<std::string>& items);
  int ItemIndex() const;
  void SetItemIndex(int index);
  // The edit's text; while a choice from the list is reported, the chosen entry's (the
  // edit shows it only afterwards).
  std::string Text() const;
  void SetText(const std::string& value);
  std::function<void()> OnChange;
  void CommandNotify(WORD code) override;

  std::optional<std::string> GetProperty(const std::string& name) const override;
  bool SetProperty(const std::string& name, const std::string& value) override;

private:
  bool choosing_ = false;
};

}  // namespace orvane
