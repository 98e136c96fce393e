#pragma once
// "Custom-drawn Menu Properties": how the shell extension module draws the dynamic
// items (font, indent, colours). It edits its own copy of the menu file's section and
// writes it on Apply and OK; Cancel drops the edits. The frame settings are not offered
// but travel through unchanged.

#include <memory>
#include <string>

#include "controls/color_combo_box.h"
#include "controls/edit_controls.h"
#include "controls/form.h"
#include "controls/panels.h"
#include "controls/std_controls.h"
#include "storage/custom_drawn_menu_info.h"

namespace orvane {

class IFileAccess;

class TfrmCustomDraw : public TForm {
public:
  // Reads the section of `menuFile` at once.
  TfrmCustomDraw(TComponent* owner, const std::string& menuFile, IFileAccess& files);
  std::string ClassName() const override { return "TfrmCustomDraw"; }

  TCheckBox& chkCustomDrawn;
  TPanel& pnlCustomDrawn;
  TCheckBox& chkFirstLevelDefault;
  TCheckBox& chkBackgroundFix;
  TLabel& lblIndent;
  TSpinEdit& spedIndent;
  TLabel& lblIndentUnit;
  TCheckBox& chkFont;
  TPanel& pnlCustomFont;
  TComboBox& cbTextFont;
  TSpinEdit& spedTextFontSize;
  TLabel& lblFontUnit;
  TLabel& lblNormal;
  TLabel& lblSelected;
  TLabel& lblTextColors;
  TAdvColorComboBox& cbNormalTextColor;
  TAdvColorComboBox& cbSelectedTextColor;
  TLabel& lblBackColors;
  TAdvColorComboBox& cbNormalBackColor;
  TAdvColorComboBox& cbSelectedBackColor;
  TLabel& lblIconBackColors;
  TAdvColorComboBox& cbNormalIconBackColor;
  TAdvColorComboBox& cbSelectedIconBackColor;
  TLabel& lblFrame;
  TRadioButton& rbFrameNone;
  TRadioButton& rbFrameRaised;
  TRadioButton& rbFrameLowered;
  TRadioButton& rbFrameBordered;
  TPanel& pnlFrame3D;
  TAdvColorComboBox& cbFrameLightColor;
  TAdvColorComboBox& cbFrameShadowColor;
  TAdvColorComboBox& cbFrameBorderColor;
  TCheckBox& chkFrameAll;
  TButton& btnOK;
  TButton& btnCancel;
  TButton& btnApply;

  TCustomDrawnMenuInfo& Info() { return *info_; }
  // The settings into the controls, and the groups enabled by them.
  void ShowValues();

private:
  void Layout();
  void Connect();
  void EnableGroups();
  void UpdateApply();
  // A control's edit into the settings, unless the dialog itself set the control.
  template <class F>
  void Edit(F&& change);
  void ShowFont();
  bool CustomFont() const;

  std::unique_ptr<TCustomDrawnMenuInfo> info_;
  int updating_ = 0;
};

// The colour a list shows: its "Default" entry for the default, else the first entry
// below it with the colour (or "Custom"); and what a list's choice stands for.
void ShowMenuColor(TAdvColorComboBox& list, std::uint32_t value);
std::uint32_t MenuColorOf(const TAdvColorComboBox& list);

// Shows the dialog modally over the menu file.
void ShowCustomDraw(const std::string& menuFile, IFileAccess& files);

}  // namespace orvane
