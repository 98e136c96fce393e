#include "controls/edit_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace orvane {

TEdit::TEdit(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent) {
  CreateHandle({"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE});
}

std::string TEdit::Text() const {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(Handle())) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(Handle(), text.data(), static_cast<int>(text.size()))));
  return text;
}

void TEdit::SetText(const std::string& value) { SetWindowTextA(Handle(), value.c_str()); }

void TEdit::CommandNotify(WORD code) {
  if (code == EN_CHANGE && OnChange) OnChange();
}

TCheckBox::TCheckBox(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent) {
  CreateHandle({"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0});
}

bool TCheckBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool value) {
  SendMessageA(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::CommandNotify(WORD code) {
  if (code == BN_CLICKED) Click();
}

void TCheckBox::ActionChanged(TAction& action) {
  TWinControl::ActionChanged(action);
  SetChecked(action.Checked());
}

TRadioButton::TRadioButton(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent) {
  CreateHandle({"BUTTON", WS_TABSTOP | BS_AUTORADIOBUTTON, 0});
}

bool TRadioButton::Checked() const {
  return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool value) {
  SendMessageA(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::CommandNotify(WORD code) {
  if (code == BN_CLICKED) Click();
}

TSpinEdit::TSpinEdit(TComponent* owner, std::string name, TWinControl* parent, int minValue,
                     int maxValue)
    : TEdit(owner, std::move(name), parent), min_(minValue), max_(maxValue) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&init);
  upDown_.reset(CreateWindowExA(0, UPDOWN_CLASSA, "",
                                WS_CHILD | (Visible() ? WS_VISIBLE : 0) | UDS_ALIGNRIGHT |
                                    UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                0, 0, 0, 0, parent ? parent->Handle() : nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr));
  if (upDown_) {
    SendMessageA(upDown_.get(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
    SendMessageA(upDown_.get(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  }
  SetValue(min_);
}

int TSpinEdit::Value() const {
  const std::string text = Text();
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || end == text.c_str()) return min_;
  return static_cast<int>(std::clamp<long>(value, min_, max_));
}

void TSpinEdit::SetValue(int value) {
  value = std::clamp(value, min_, max_);
  if (upDown_) SendMessageA(upDown_.get(), UDM_SETPOS32, 0, value);
  SetText(std::to_string(value));
}

void TSpinEdit::BoundsChanged() {
  TEdit::BoundsChanged();
  // The arrows sit at the edit's right edge again.
  if (upDown_) SendMessageA(upDown_.get(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
}

void TSpinEdit::VisibleChanged() {
  TEdit::VisibleChanged();
  if (upDown_) ShowWindow(upDown_.get(), Visible() ? SW_SHOWNA : SW_HIDE);
}

void TSpinEdit::EnabledChanged() {
  TEdit::EnabledChanged();
  if (upDown_) EnableWindow(upDown_.get(), Enabled());
}

TComboBox::TComboBox(TComponent* owner, std::string name, TWinControl* parent, bool dropDownList)
    : TWinControl(owner, std::move(name), parent) {
  const DWORD kind = dropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN;
  CreateHandle({"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | kind, 0});
}

std::vector<std::string> TComboBox::Items() const {
  std::vector<std::string> items;
  const LRESULT count = SendMessageA(Handle(), CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageA(Handle(), CB_GETLBTEXTLEN, i, 0);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    SendMessageA(Handle(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    items.push_back(text);
  }
  return items;
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  // A translation replaces the texts but keeps the user's choice.
  const int index = ItemIndex();
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  for (const auto& item : items) {
    SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  if (index >= 0 && index < static_cast<int>(items.size())) SetItemIndex(index);
}

int TComboBox::ItemIndex() const {
  return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
  SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string TComboBox::Text() const {
  const int index = ItemIndex();
  if (choosing_ && index >= 0) return Items()[static_cast<std::size_t>(index)];
  std::string text(static_cast<size_t>(GetWindowTextLengthA(Handle())) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(Handle(), text.data(), static_cast<int>(text.size()))));
  return text;
}

void TComboBox::SetText(const std::string& value) { SetWindowTextA(Handle(), value.c_str()); }

void TComboBox::CommandNotify(WORD code) {
  if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE) && OnChange) {
    choosing_ = code == CBN_SELCHANGE;
    try {
      OnChange();
    } catch (...) {
      choosing_ = false;
      throw;
    }
    choosing_ = false;
  }
}

std::optional<std::string> TComboBox::GetProperty(const std::string& name) const {
  if (name == "Items") return JoinLines(Items());
  return TWinControl::GetProperty(name);
}

bool TComboBox::SetProperty(const std::string& name, const std::string& value) {
  if (name == "Items") {
    SetItems(SplitLines(value));
    return true;
  }
  return TWinControl::SetProperty(name, value);
}

}  // namespace orvane
