#include "controls/color_combo_box.h"

#include "platform/messages.h"

namespace orvane {
namespace {

constexpr UINT_PTR kResetTimer = 1;

constexpr std::array<TColorValue, kStandardColorCount> kStandardValues = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

void Frame(HDC dc, const RECT& rect, COLORREF colour) {
  TBrushHandle brush(CreateSolidBrush(colour));
  if (brush) FrameRect(dc, &rect, brush.get());
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  TBrushHandle brush(CreateSolidBrush(colour));
  if (brush) FillRect(dc, &rect, brush.get());
}

}  // namespace

COLORREF ColorToRGB(TColorValue value) {
  if ((value & 0xFF000000u) == kSysColorBase) return GetSysColor(static_cast<int>(value & 0xFF));
  return static_cast<COLORREF>(value & 0x00FFFFFFu);
}

const TColorNames& BuiltInColorNames() {
  static const TColorNames names = [] {
    TColorNames built;
    built.Default = LoadResString(msg::SColorDefault);
    built.Custom = LoadResString(msg::SColorCustom);
    for (int i = 0; i < kStandardColorCount; ++i)
      built.Standard[i] = LoadResString(msg::SColorStandardFirst + i);
    for (int i = 0; i < kSystemColorCount; ++i)
      built.System[i] = LoadResString(msg::SColorSystemFirst + i);
    return built;
  }();
  return names;
}

const std::array<TColorRec, kStandardColorCount>& StandardColors() {
  static const std::array<TColorRec, kStandardColorCount> colours = [] {
    std::array<TColorRec, kStandardColorCount> built;
    for (int i = 0; i < kStandardColorCount; ++i)
      built[i] = {BuiltInColorNames().Standard[i], kStandardValues[i]};
    return built;
  }();
  return colours;
}

const std::array<TColorRec, kSystemColorCount>& SystemColors() {
  static const std::array<TColorRec, kSystemColorCount> colours = [] {
    std::array<TColorRec, kSystemColorCount> built;
    for (int i = 0; i < kSystemColorCount; ++i)
      built[i] = {BuiltInColorNames().System[i], kSysColorBase + static_cast<TColorValue>(i)};
    return built;
  }();
  return colours;
}

// TAdvCustomComboBox

TAdvCustomComboBox::TAdvCustomComboBox(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent), typing_([this](const std::string& prefix) {
        return static_cast<int>(SendMessageA(Handle(), CB_FINDSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(prefix.c_str())));
      }) {
  CreateHandle({"COMBOBOX",
                WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0});
  SetItemHeights();
}

TAdvCustomComboBox::~TAdvCustomComboBox() {
  if (Handle()) KillTimer(Handle(), kResetTimer);
}

int TAdvCustomComboBox::ItemCount() const {
  return static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0));
}

int TAdvCustomComboBox::ItemIndex() const {
  return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
}

void TAdvCustomComboBox::SetItemIndex(int index) {
  SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TAdvCustomComboBox::DroppedDown() const {
  return SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TAdvCustomComboBox::SetItemHeights() {
  // The font's height and 2 pixels, for the entries and the closed field alike.
  TWindowDC dc(Handle());
  TSelectObject font(dc.Get(), FontHandle());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc.Get(), &metrics);
  const int height = metrics.tmHeight + 2;
  SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, height);
  SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
}

void TAdvCustomComboBox::FontChanged() {
  TWinControl::FontChanged();
  if (Handle()) SetItemHeights();
}

void TAdvCustomComboBox::Change() {
  if (OnChange) OnChange();
}

void TAdvCustomComboBox::CommandNotify(WORD code) {
  switch (code) {
    case CBN_SELENDOK:
    case CBN_SELENDCANCEL:
      lastSelect_ = code;
      break;
    case CBN_SELCHANGE:
      Select(code);
      Change();
      lastSelect_ = code;
      break;
  }
}

bool TAdvCustomComboBox::DrawItem(DRAWITEMSTRUCT& item) {
  if (static_cast<int>(item.itemID) < 0) return true;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  if (!IsWindowEnabled(Handle())) text = GetSysColor(COLOR_GRAYTEXT);
  COLORREF oldBack = SetBkColor(item.hDC, back);
  COLORREF oldText = SetTextColor(item.hDC, text);
  DrawEntry(item.hDC, static_cast<int>(item.itemID), item.rcItem, selected);
  SetBkColor(item.hDC, oldBack);
  SetTextColor(item.hDC, oldText);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
  return true;
}

void TAdvCustomComboBox::Typed(const TTypedKey& key) {
  if (key.RestartTimer) SetTimer(Handle(), kResetTimer, TTypedPrefix::kResetMilliseconds, nullptr);
  if (key.Beep) MessageBeep(0);
  if (key.Select >= 0 && key.Select < ItemCount()) {
    SetItemIndex(key.Select);
    Click();
    Change();
  }
}

LRESULT TAdvCustomComboBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    const auto c = static_cast<unsigned char>(wParam);
    if (c == VK_BACK) {
      TTypedKey key = typing_.Backspace();
      Typed(key);
      if (!key.PassOn) return 0;
    } else if (c == VK_ESCAPE) {
      Typed(typing_.Escape());
      return 0;
    } else if (c >= 32) {
      Typed(typing_.Char(c));
      return 0;
    }
  } else if (message == WM_TIMER && wParam == kResetTimer) {
    KillTimer(Handle(), kResetTimer);
    typing_.Reset();
    return 0;
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

// TAdvColorComboBox

TAdvColorComboBox::TAdvColorComboBox(TComponent* owner, std::string name, TWinControl* parent)
    : TAdvCustomComboBox(owner, std::move(name), parent), names_(BuiltInColorNames()) {
  Rebuild();
}

void TAdvColorComboBox::Rebuild() {
  entries_.clear();
  if (showDefaultColor_) entries_.push_back({names_.Default, defaultColor_});
  for (int i = 0; i < kStandardColorCount; ++i)
    entries_.push_back({names_.Standard[i], kStandardValues[i]});
  if (showSysColors_)
    for (int i = 0; i < kSystemColorCount; ++i)
      entries_.push_back({names_.System[i], kSysColorBase + static_cast<TColorValue>(i)});
  if (showCustomColor_) entries_.push_back({names_.Custom, customColor_});
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  for (const TColorRec& entry : entries_)
    SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.Name.c_str()));
  SetItemIndex(0);
}

void TAdvColorComboBox::SetShowColorNames(bool value) {
  if (value == showColorNames_) return;
  showColorNames_ = value;
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TAdvColorComboBox::SetShowSysColors(bool value) {
  if (value == showSysColors_) return;
  showSysColors_ = value;
  Rebuild();
}

void TAdvColorComboBox::SetShowDefaultColor(bool value) {
  if (value == showDefaultColor_) return;
  showDefaultColor_ = value;
  Rebuild();
}

void TAdvColorComboBox::SetShowCustomColor(bool value) {
  if (value == showCustomColor_) return;
  showCustomColor_ = value;
  Rebuild();
}

void TAdvColorComboBox::SetDefaultColor(TColorValue value) {
  defaultColor_ = value;
  if (showDefaultColor_ && !entries_.empty()) entries_.front().Color = value;
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TAdvColorComboBox::SetCustomColor(TColorValue value) {
  customColor_ = value;
  if (showCustomColor_ && !entries_.empty()) entries_.back().Color = value;
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TAdvColorComboBox::SetColorNames(const TColorNames& names) {
  names_ = names;
  const int index = ItemIndex();
  Rebuild();
  SetItemIndex(index);
}

bool TAdvColorComboBox::IsCustomEntry(int index) const {
  return showCustomColor_ && index >= 0 && index == static_cast<int>(entries_.size()) - 1;
}

TColorValue TAdvColorComboBox::EntryColor(int index) const {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return defaultColor_;
  return entries_[static_cast<std::size_t>(index)].Color;
}

std::string TAdvColorComboBox::EntryName(int index) const {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return {};
  return entries_[static_cast<std::size_t>(index)].Name;
}

TColorValue TAdvColorComboBox::SelectedColor() const { return EntryColor(ItemIndex()); }

void TAdvColorComboBox::SetSelectedColor(TColorValue value) {
  int found = -1;
  for (std::size_t i = 0; i < entries_.size() && found < 0; ++i)
    if (entries_[i].Color == value) found = static_cast<int>(i);
  if (found < 0) {
    SetCustomColor(value);
    found = static_cast<int>(entries_.size()) - 1;
  }
  SetItemIndex(found);
  Change();
}

void TAdvColorComboBox::Select(WORD) {
  // A drop-down closed by cancelling leaves "Custom" as it was.
  if (IsCustomEntry(ItemIndex()) && LastSelectNotification() != CBN_SELENDCANCEL) ChooseCustom();
}

void TAdvColorComboBox::ChooseCustom() {
  COLORREF colour = ColorToRGB(SelectedColor());
  std::array<COLORREF, 16> custom = CustomColors;
  bool confirmed = false;
  if (RunColorDialog) {
    confirmed = RunColorDialog(colour, custom);
  } else {
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetAncestor(Handle(), GA_ROOT);
    dialog.rgbResult = colour;
    dialog.lpCustColors = custom.data();
    dialog.Flags = ColorDlgOptions | CC_RGBINIT;
    confirmed = ChooseColorA(&dialog) != FALSE;
    colour = dialog.rgbResult;
  }
  if (!confirmed) return;
  CustomColors = custom;
  SetCustomColor(colour);
}

void TAdvColorComboBox::DrawEntry(HDC dc, int index, const RECT& r, bool selected) {
  const bool enabled = IsWindowEnabled(Handle()) != FALSE;
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  const int height = r.bottom - r.top;
  RECT swatch{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  const int textLeft = r.left + height + 2;
  if (showColorNames_) {
    swatch.right = textLeft - 2;
    swatch.left = swatch.right - (height - 2);
    if (swatch.left < r.left + 1) swatch.left = r.left + 1;
  } else if (IsCustomEntry(index)) {
    swatch.right -= 20;
  }
  const COLORREF colour = ColorToRGB(EntryColor(index));
  Fill(dc, swatch, colour);
  Frame(dc, swatch, GetSysColor(COLOR_BTNSHADOW));
  const bool light = GetRValue(colour) > 128 || GetGValue(colour) > 128 || GetBValue(colour) > 128;
  RECT outer = swatch;
  InflateRect(&outer, 1, 1);
  Frame(dc, outer, light ? RGB(0x80, 0x80, 0x80) : RGB(0, 0, 0));
  if (IsCustomEntry(index)) {
    COLORREF dotFill = selected ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_WINDOW);
    COLORREF dotLine = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                       : enabled ? RGB(0, 0, 0)
                                 : GetSysColor(COLOR_GRAYTEXT);
    for (int offset : {16, 12, 8}) {
      RECT dot{r.right - offset, r.bottom - 6, r.right - offset + 2, r.bottom - 4};
      Fill(dc, dot, dotFill);
      Frame(dc, dot, dotLine);
    }
  }
  if (showColorNames_) {
    const std::string name = EntryName(index);
    SIZE yy{};
    GetTextExtentPoint32A(dc, "Yy", 2, &yy);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, textLeft + 2, r.top + (height - yy.cy) / 2, name.c_str(),
             static_cast<int>(name.size()));
    SetBkMode(dc, OPAQUE);
  }
}

}  // namespace orvane
