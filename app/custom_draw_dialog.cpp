#include "app/custom_draw_dialog.h"

#include <algorithm>
#include <set>

namespace orvane {
namespace {

constexpr int kClientWidth = 420;
constexpr int kClientHeight = 330;
constexpr int kListWidth = 120;
constexpr int kNormalLeft = 150;
constexpr int kSelectedLeft = kNormalLeft + kListWidth + 10;

// The font list: no OEM or symbol fonts, each family once, in name order.
int CALLBACK AddFontFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM names) {
  if (font->lfCharSet != OEM_CHARSET && font->lfCharSet != SYMBOL_CHARSET && font->lfFaceName[0] != '@')
    reinterpret_cast<std::set<std::string>*>(names)->insert(font->lfFaceName);
  return 1;
}

std::vector<std::string> FontFamilies(HWND window) {
  std::set<std::string> names;
  TWindowDC dc(window);
  LOGFONTA all{};
  all.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(dc.Get(), &all, AddFontFamily, reinterpret_cast<LPARAM>(&names), 0);
  return {names.begin(), names.end()};
}

// A group and everything on it; the controls keep their values.
void SetGroupEnabled(TControl& control, bool enabled) {
  control.SetEnabled(enabled);
  if (auto* windowed = dynamic_cast<TWinControl*>(&control))
    for (TControl* child : windowed->Controls()) SetGroupEnabled(*child, enabled);
}

}  // namespace

void ShowMenuColor(TAdvColorComboBox& list, std::uint32_t value) {
  if (value == kDefaultMenuColor && list.ShowDefaultColor()) {
    list.SetItemIndex(0);
    return;
  }
  // "Default" stands for a system colour of its own, which is not what it means here.
  for (int i = list.ShowDefaultColor() ? 1 : 0; i < list.ItemCount(); ++i) {
    if (list.EntryColor(i) == value && !(list.ShowCustomColor() && i == list.ItemCount() - 1)) {
      list.SetItemIndex(i);
      return;
    }
  }
  list.SetCustomColor(value);
  list.SetItemIndex(list.ItemCount() - 1);
}

std::uint32_t MenuColorOf(const TAdvColorComboBox& list) {
  if (list.ShowDefaultColor() && list.ItemIndex() <= 0) return kDefaultMenuColor;
  return list.SelectedColor();
}

TfrmCustomDraw::TfrmCustomDraw(TComponent* owner, const std::string& menuFile, IFileAccess& files)
    : TForm(owner, "frmCustomDraw", TStyle{TBorderStyle::Dialog, false, false, false}),
      chkCustomDrawn(Create<TCheckBox>("chkCustomDrawn", this)),
      pnlCustomDrawn(Create<TPanel>("pnlCustomDrawn", this)),
      chkFirstLevelDefault(Create<TCheckBox>("chkFirstLevelDefault", &pnlCustomDrawn)),
      chkBackgroundFix(Create<TCheckBox>("chkBackgroundFix", &pnlCustomDrawn)),
      lblIndent(Create<TLabel>("lblIndent", &pnlCustomDrawn)),
      spedIndent(Create<TSpinEdit>("spedIndent", &pnlCustomDrawn, kMinTextIndent, kMaxTextIndent)),
      lblIndentUnit(Create<TLabel>("lblIndentUnit", &pnlCustomDrawn)),
      chkFont(Create<TCheckBox>("chkFont", &pnlCustomDrawn)),
      pnlCustomFont(Create<TPanel>("pnlCustomFont", &pnlCustomDrawn)),
      cbTextFont(Create<TComboBox>("cbTextFont", &pnlCustomFont, false)),
      spedTextFontSize(Create<TSpinEdit>("spedTextFontSize", &pnlCustomFont, kMinTextFontSize,
                                         kMaxTextFontSize)),
      lblFontUnit(Create<TLabel>("lblFontUnit", &pnlCustomFont)),
      lblNormal(Create<TLabel>("lblNormal", &pnlCustomDrawn)),
      lblSelected(Create<TLabel>("lblSelected", &pnlCustomDrawn)),
      lblTextColors(Create<TLabel>("lblTextColors", &pnlCustomDrawn)),
      cbNormalTextColor(Create<TAdvColorComboBox>("cbNormalTextColor", &pnlCustomDrawn)),
      cbSelectedTextColor(Create<TAdvColorComboBox>("cbSelectedTextColor", &pnlCustomDrawn)),
      lblBackColors(Create<TLabel>("lblBackColors", &pnlCustomDrawn)),
      cbNormalBackColor(Create<TAdvColorComboBox>("cbNormalBackColor", &pnlCustomDrawn)),
      cbSelectedBackColor(Create<TAdvColorComboBox>("cbSelectedBackColor", &pnlCustomDrawn)),
      lblIconBackColors(Create<TLabel>("lblIconBackColors", &pnlCustomDrawn)),
      cbNormalIconBackColor(Create<TAdvColorComboBox>("cbNormalIconBackColor", &pnlCustomDrawn)),
      cbSelectedIconBackColor(Create<TAdvColorComboBox>("cbSelectedIconBackColor", &pnlCustomDrawn)),
      lblFrame(Create<TLabel>("lblFrame", &pnlCustomDrawn)),
      rbFrameNone(Create<TRadioButton>("rbFrameNone", &pnlCustomDrawn)),
      rbFrameRaised(Create<TRadioButton>("rbFrameRaised", &pnlCustomDrawn)),
      rbFrameLowered(Create<TRadioButton>("rbFrameLowered", &pnlCustomDrawn)),
      rbFrameBordered(Create<TRadioButton>("rbFrameBordered", &pnlCustomDrawn)),
      pnlFrame3D(Create<TPanel>("pnlFrame3D", &pnlCustomDrawn)),
      cbFrameLightColor(Create<TAdvColorComboBox>("cbFrameLightColor", &pnlFrame3D)),
      cbFrameShadowColor(Create<TAdvColorComboBox>("cbFrameShadowColor", &pnlFrame3D)),
      cbFrameBorderColor(Create<TAdvColorComboBox>("cbFrameBorderColor", &pnlCustomDrawn)),
      chkFrameAll(Create<TCheckBox>("chkFrameAll", &pnlCustomDrawn)),
      btnOK(Create<TButton>("btnOK", this)),
      btnCancel(Create<TButton>("btnCancel", this)),
      btnApply(Create<TButton>("btnApply", this)) {
  SetCaption("Custom-drawn Menu Properties");
  Layout();
  ApplyMessageFont(*this);
  cbTextFont.SetItems(FontFamilies(Handle()));
  info_ = std::make_unique<TCustomDrawnMenuInfo>(menuFile, files);
  info_->OnChange = [this](TCustomDrawnMenuInfo&) { ShowValues(); };
  info_->OnModifiedChange = [this](TCustomDrawnMenuInfo&) { UpdateApply(); };
  Connect();
  ShowValues();
  UpdateApply();
}

void TfrmCustomDraw::Layout() {
  SetClientSize(kClientWidth, kClientHeight);
  CenterOnScreen();
  chkCustomDrawn.SetBounds(8, 8, kClientWidth - 16, 20);
  chkCustomDrawn.SetCaption("E&nable custom-drawn menu items");
  pnlCustomDrawn.SetBounds(0, 32, kClientWidth, kClientHeight - 72);
  chkFirstLevelDefault.SetBounds(8, 0, kClientWidth - 16, 20);
  chkFirstLevelDefault.SetCaption("&Keep default drawing for first-level menu items");
  chkBackgroundFix.SetBounds(8, 22, kClientWidth - 16, 20);
  chkBackgroundFix.SetCaption("Keep default drawing for submenus of &Background file type");
  lblIndent.SetBounds(8, 52, 130, 16);
  lblIndent.SetCaption("&Item text indent:");
  lblIndent.SetFocusControl(&spedIndent);
  spedIndent.SetBounds(kNormalLeft, 48, 60, 22);
  lblIndentUnit.SetBounds(kNormalLeft + 66, 52, 80, 16);
  lblIndentUnit.SetCaption("pixels");
  chkFont.SetBounds(8, 80, 130, 20);
  chkFont.SetCaption("Custom &font:");
  pnlCustomFont.SetBounds(kNormalLeft, 78, kClientWidth - kNormalLeft - 8, 26);
  cbTextFont.SetBounds(0, 0, kListWidth + 20, 200);
  spedTextFontSize.SetBounds(kListWidth + 26, 0, 50, 22);
  lblFontUnit.SetBounds(kListWidth + 82, 4, 56, 16);
  lblFontUnit.SetCaption("points");
  lblNormal.SetBounds(kNormalLeft, 114, kListWidth, 16);
  lblNormal.SetCaption("normal");
  lblSelected.SetBounds(kSelectedLeft, 114, kListWidth, 16);
  lblSelected.SetCaption("selected");
  struct TRow {
    TLabel* Label;
    const char* Caption;
    TAdvColorComboBox* Normal;
    TAdvColorComboBox* Selected;
    int NormalDefault;
    int SelectedDefault;
  };
  const TRow rows[] = {
      {&lblTextColors, "Item text colors:", &cbNormalTextColor, &cbSelectedTextColor,
       COLOR_MENUTEXT, COLOR_HIGHLIGHTTEXT},
      {&lblBackColors, "Item background colors:", &cbNormalBackColor, &cbSelectedBackColor,
       COLOR_MENU, COLOR_HIGHLIGHT},
      {&lblIconBackColors, "Icon background colors:", &cbNormalIconBackColor,
       &cbSelectedIconBackColor, COLOR_MENU, COLOR_HIGHLIGHT}};
  int top = 132;
  for (const TRow& row : rows) {
    row.Label->SetBounds(8, top + 4, 140, 16);
    row.Label->SetCaption(row.Caption);
    row.Label->SetFocusControl(row.Normal);
    row.Normal->SetBounds(kNormalLeft, top, kListWidth, 300);
    row.Selected->SetBounds(kSelectedLeft, top, kListWidth, 300);
    row.Normal->SetDefaultColor(kSysColorBase + static_cast<TColorValue>(row.NormalDefault));
    row.Selected->SetDefaultColor(kSysColorBase + static_cast<TColorValue>(row.SelectedDefault));
    top += 30;
  }
  // The frame settings are kept but not offered.
  lblFrame.SetCaption(" Item frame ");
  rbFrameNone.SetCaption("&None");
  rbFrameRaised.SetCaption("&Raised");
  rbFrameLowered.SetCaption("&Lowered");
  rbFrameBordered.SetCaption("Bo&rdered");
  cbFrameLightColor.SetDefaultColor(kSysColorBase + COLOR_3DLIGHT);
  cbFrameShadowColor.SetDefaultColor(kSysColorBase + COLOR_3DDKSHADOW);
  chkFrameAll.SetCaption("&Draw frame around the whole item");
  for (TControl* hidden : std::initializer_list<TControl*>{
           &lblFrame, &rbFrameNone, &rbFrameRaised, &rbFrameLowered, &rbFrameBordered, &pnlFrame3D,
           &cbFrameBorderColor, &chkFrameAll})
    hidden->SetVisible(false);
  btnOK.SetBounds(kClientWidth - 249, kClientHeight - 33, 75, 25);
  btnOK.SetCaption("OK ");
  btnCancel.SetBounds(kClientWidth - 166, kClientHeight - 33, 75, 25);
  btnCancel.SetCaption("&Cancel");
  btnApply.SetBounds(kClientWidth - 83, kClientHeight - 33, 75, 25);
  btnApply.SetCaption("&Apply");
}

template <class F>
void TfrmCustomDraw::Edit(F&& change) {
  if (updating_ > 0) return;
  info_->BeginUpdate();
  try {
    change(*info_);
  } catch (...) {
    info_->EndUpdate();
    throw;
  }
  info_->EndUpdate();
}

void TfrmCustomDraw::Connect() {
  chkCustomDrawn.OnClick = [this] {
    Edit([&](TCustomDrawnMenuInfo& info) { info.SetEnabled(chkCustomDrawn.Checked()); });
    if (updating_ == 0) EnableGroups();
  };
  chkFirstLevelDefault.OnClick = [this] {
    Edit([&](TCustomDrawnMenuInfo& info) { info.SetFirstLevelDefault(chkFirstLevelDefault.Checked()); });
  };
  chkBackgroundFix.OnClick = [this] {
    Edit([&](TCustomDrawnMenuInfo& info) { info.SetBackgroundFix(chkBackgroundFix.Checked()); });
  };
  spedIndent.OnChange = [this] {
    Edit([&](TCustomDrawnMenuInfo& info) { info.SetTextIndent(spedIndent.Value()); });
  };
  spedTextFontSize.OnChange = [this] {
    Edit([&](TCustomDrawnMenuInfo& info) { info.SetTextFontSize(spedTextFontSize.Value()); });
  };
  cbTextFont.OnChange = [this] {
    Edit([&](TCustomDrawnMenuInfo& info) { info.SetTextFontFace(cbTextFont.Text()); });
  };
  chkFont.OnClick = [this] {
    if (updating_ > 0) return;
    Edit([&](TCustomDrawnMenuInfo& info) {
      if (chkFont.Checked()) {
        info.SetTextFontFace(Font().Name);
        info.SetTextFontSize(Font().Size);
      } else {
        info.SetTextFontFace("");
        info.SetTextFontSize(0);
      }
    });
    ++updating_;
    ShowFont();
    --updating_;
    SetGroupEnabled(pnlCustomFont, info_->Enabled() && CustomFont());
  };
  struct TColorField {
    TAdvColorComboBox* List;
    void (TCustomDrawnMenuInfo::*Set)(std::uint32_t);
  };
  const TColorField fields[] = {
      {&cbNormalTextColor, &TCustomDrawnMenuInfo::SetNormalTextColor},
      {&cbSelectedTextColor, &TCustomDrawnMenuInfo::SetSelectedTextColor},
      {&cbNormalBackColor, &TCustomDrawnMenuInfo::SetNormalBackColor},
      {&cbSelectedBackColor, &TCustomDrawnMenuInfo::SetSelectedBackColor},
      {&cbNormalIconBackColor, &TCustomDrawnMenuInfo::SetNormalIconBackColor},
      {&cbSelectedIconBackColor, &TCustomDrawnMenuInfo::SetSelectedIconBackColor},
      {&cbFrameLightColor, &TCustomDrawnMenuInfo::SetFrameLightColor},
      {&cbFrameShadowColor, &TCustomDrawnMenuInfo::SetFrameShadowColor},
      {&cbFrameBorderColor, &TCustomDrawnMenuInfo::SetFrameBorderColor}};
  for (const TColorField& field : fields) {
    field.List->OnChange = [this, field] {
      Edit([&](TCustomDrawnMenuInfo& info) { (info.*field.Set)(MenuColorOf(*field.List)); });
    };
  }
  for (TRadioButton* button : {&rbFrameNone, &rbFrameRaised, &rbFrameLowered, &rbFrameBordered}) {
    button->OnClick = [this] {
      Edit([&](TCustomDrawnMenuInfo& info) {
        info.SetFrameStyle(rbFrameNone.Checked()      ? 0
                           : rbFrameRaised.Checked()  ? 1
                           : rbFrameLowered.Checked() ? 2
                                                      : 3);
      });
      if (updating_ == 0) EnableGroups();
    };
  }
  chkFrameAll.OnClick = [this] {
    Edit([&](TCustomDrawnMenuInfo& info) { info.SetFrameAll(chkFrameAll.Checked()); });
  };
  btnApply.OnClick = [this] { info_->Save(); };
  btnOK.OnClick = [this] {
    info_->Save();
    SetModalResult(IDOK);
  };
  btnCancel.OnClick = [this] { SetModalResult(IDCANCEL); };
}

bool TfrmCustomDraw::CustomFont() const {
  return !info_->TextFontFace().empty() || info_->TextFontSize() > 0;
}

void TfrmCustomDraw::ShowFont() {
  const bool custom = CustomFont();
  chkFont.SetChecked(custom);
  cbTextFont.SetText(custom ? info_->TextFontFace() : Font().Name);
  spedTextFontSize.SetValue(custom ? info_->TextFontSize() : Font().Size);
}

void TfrmCustomDraw::ShowValues() {
  ++updating_;
  try {
    const TCustomDrawnMenuInfo& info = *info_;
    chkCustomDrawn.SetChecked(info.Enabled());
    chkFirstLevelDefault.SetChecked(info.FirstLevelDefault());
    chkBackgroundFix.SetChecked(info.BackgroundFix());
    spedIndent.SetValue(info.TextIndent());
    ShowFont();
    ShowMenuColor(cbNormalTextColor, info.NormalTextColor());
    ShowMenuColor(cbSelectedTextColor, info.SelectedTextColor());
    ShowMenuColor(cbNormalBackColor, info.NormalBackColor());
    ShowMenuColor(cbSelectedBackColor, info.SelectedBackColor());
    ShowMenuColor(cbNormalIconBackColor, info.NormalIconBackColor());
    ShowMenuColor(cbSelectedIconBackColor, info.SelectedIconBackColor());
    rbFrameNone.SetChecked(info.FrameStyle() == 0);
    rbFrameRaised.SetChecked(info.FrameStyle() == 1);
    rbFrameLowered.SetChecked(info.FrameStyle() == 2);
    rbFrameBordered.SetChecked(info.FrameStyle() == 3);
    ShowMenuColor(cbFrameLightColor, info.FrameLightColor());
    ShowMenuColor(cbFrameShadowColor, info.FrameShadowColor());
    ShowMenuColor(cbFrameBorderColor, info.FrameBorderColor());
    chkFrameAll.SetChecked(info.FrameAll());
    EnableGroups();
  } catch (...) {
    --updating_;
    throw;
  }
  --updating_;
}

void TfrmCustomDraw::EnableGroups() {
  const bool enabled = info_->Enabled();
  SetGroupEnabled(pnlCustomDrawn, enabled);
  SetGroupEnabled(pnlCustomFont, enabled && CustomFont());
  SetGroupEnabled(pnlFrame3D, enabled && (info_->FrameStyle() == 1 || info_->FrameStyle() == 2));
  cbFrameBorderColor.SetEnabled(enabled && info_->FrameStyle() == 3);
}

void TfrmCustomDraw::UpdateApply() { btnApply.SetEnabled(info_ && info_->Modified()); }

void ShowCustomDraw(const std::string& menuFile, IFileAccess& files) {
  TfrmCustomDraw dialog(nullptr, menuFile, files);
  dialog.ShowModal();
}

}  // namespace orvane
