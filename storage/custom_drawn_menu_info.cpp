#include "storage/custom_drawn_menu_info.h"

#include <cstdio>

#include "storage/orvane_ini_file.h"

namespace orvane {
namespace {

std::string Flag(bool value) { return value ? "True" : "False"; }

std::string Colour(std::uint32_t value) {
  char text[12];
  std::snprintf(text, sizeof text, "$%X", static_cast<unsigned>(value));
  return text;
}

}  // namespace

std::string CustomDrawValueText(const TCustomDrawRecord& v, std::size_t key) {
  switch (key) {
    case 0: return Flag(v.Enabled);
    case 1: return Flag(v.FirstLevelDefault);
    case 2: return Flag(v.BackgroundFix);
    case 3: return std::to_string(v.TextIndent);
    case 4: return v.TextFontFace;
    case 5: return std::to_string(v.TextFontSize);
    case 6: return Colour(v.NormalTextColor);
    case 7: return Colour(v.SelectedTextColor);
    case 8: return Colour(v.NormalBackColor);
    case 9: return Colour(v.SelectedBackColor);
    case 10: return Colour(v.NormalIconBackColor);
    case 11: return Colour(v.SelectedIconBackColor);
    case 12: return std::to_string(v.FrameStyle);
    case 13: return Colour(v.FrameLightColor);
    case 14: return Colour(v.FrameShadowColor);
    case 15: return Colour(v.FrameBorderColor);
    default: return Flag(v.FrameAll);
  }
}

TCustomDrawnMenuInfo::TCustomDrawnMenuInfo(std::string fileName, IFileAccess& files)
    : fileName_(std::move(fileName)), files_(files) {
  Load();
}

void TCustomDrawnMenuInfo::SetModified(bool value) {
  modified_ = value;
  if (OnModifiedChange) OnModifiedChange(*this);
}

void TCustomDrawnMenuInfo::Changed() {
  SetModified(true);
  if (updateCount_ == 0 && OnChange) OnChange(*this);
}

void TCustomDrawnMenuInfo::Load() {
  BeginUpdate();
  try {
    TOrvaneIniFile ini(fileName_, files_);
    TIniStrings lines;
    ini.ReadSectionValues(kCustomDrawSection, lines);
    const TCustomDrawRecord read = ReadCustomDraw(lines);
    SetEnabled(read.Enabled);
    SetFirstLevelDefault(read.FirstLevelDefault);
    SetBackgroundFix(read.BackgroundFix);
    SetTextIndent(read.TextIndent);
    SetTextFontFace(read.TextFontFace);
    SetTextFontSize(read.TextFontSize);
    SetNormalTextColor(read.NormalTextColor);
    SetSelectedTextColor(read.SelectedTextColor);
    SetNormalBackColor(read.NormalBackColor);
    SetSelectedBackColor(read.SelectedBackColor);
    SetNormalIconBackColor(read.NormalIconBackColor);
    SetSelectedIconBackColor(read.SelectedIconBackColor);
    SetFrameStyle(read.FrameStyle);
    SetFrameLightColor(read.FrameLightColor);
    SetFrameShadowColor(read.FrameShadowColor);
    SetFrameBorderColor(read.FrameBorderColor);
    SetFrameAll(read.FrameAll);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  Changed();
  SetModified(false);
}

void TCustomDrawnMenuInfo::Save() {
  // A document read now: what the main window wrote since the dialog opened stays.
  TOrvaneIniFile ini(fileName_, files_);
  for (std::size_t key = 0; key < kCustomDrawKeyCount; ++key)
    ini.WriteString(kCustomDrawSection, kCustomDrawKeys[key], CustomDrawValueText(values_, key));
  ini.UpdateFile();
  SetModified(false);
}

}  // namespace orvane
