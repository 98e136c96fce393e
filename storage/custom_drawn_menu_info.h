#pragma once
// The settings with which the shell extension module draws the dynamic items itself,
// kept in the menu file's "Custom-drawn Menu Properties". The dialog that edits them
// holds one for as long as it is open; the module reads the section on its own.

#include <cstdint>
#include <functional>
#include <string>

#include "storage/menu_file_reader.h"

namespace orvane {

class IFileAccess;

class TCustomDrawnMenuInfo {
public:
  // Loads the section of `fileName` at once (see Load).
  TCustomDrawnMenuInfo(std::string fileName, IFileAccess& files);
  TCustomDrawnMenuInfo(const TCustomDrawnMenuInfo&) = delete;
  TCustomDrawnMenuInfo& operator=(const TCustomDrawnMenuInfo&) = delete;

  const std::string& FileName() const { return fileName_; }
  const TCustomDrawRecord& Values() const { return values_; }

  bool Enabled() const { return values_.Enabled; }
  bool FirstLevelDefault() const { return values_.FirstLevelDefault; }
  bool BackgroundFix() const { return values_.BackgroundFix; }
  int TextIndent() const { return values_.TextIndent; }
  const std::string& TextFontFace() const { return values_.TextFontFace; }
  int TextFontSize() const { return values_.TextFontSize; }
  std::uint32_t NormalTextColor() const { return values_.NormalTextColor; }
  std::uint32_t SelectedTextColor() const { return values_.SelectedTextColor; }
  std::uint32_t NormalBackColor() const { return values_.NormalBackColor; }
  std::uint32_t SelectedBackColor() const { return values_.SelectedBackColor; }
  std::uint32_t NormalIconBackColor() const { return values_.NormalIconBackColor; }
  std::uint32_t SelectedIconBackColor() const { return values_.SelectedIconBackColor; }
  std::uint8_t FrameStyle() const { return values_.FrameStyle; }
  std::uint32_t FrameLightColor() const { return values_.FrameLightColor; }
  std::uint32_t FrameShadowColor() const { return values_.FrameShadowColor; }
  std::uint32_t FrameBorderColor() const { return values_.FrameBorderColor; }
  bool FrameAll() const { return values_.FrameAll; }

  // An equal value does nothing; another is stored and Changed runs.
  void SetEnabled(bool value) { Set(values_.Enabled, value); }
  void SetFirstLevelDefault(bool value) { Set(values_.FirstLevelDefault, value); }
  void SetBackgroundFix(bool value) { Set(values_.BackgroundFix, value); }
  void SetTextIndent(int value) { Set(values_.TextIndent, value); }
  void SetTextFontFace(const std::string& value) { Set(values_.TextFontFace, value); }
  void SetTextFontSize(int value) { Set(values_.TextFontSize, value); }
  void SetNormalTextColor(std::uint32_t value) { Set(values_.NormalTextColor, value); }
  void SetSelectedTextColor(std::uint32_t value) { Set(values_.SelectedTextColor, value); }
  void SetNormalBackColor(std::uint32_t value) { Set(values_.NormalBackColor, value); }
  void SetSelectedBackColor(std::uint32_t value) { Set(values_.SelectedBackColor, value); }
  void SetNormalIconBackColor(std::uint32_t value) { Set(values_.NormalIconBackColor, value); }
  void SetSelectedIconBackColor(std::uint32_t value) { Set(values_.SelectedIconBackColor, value); }
  void SetFrameStyle(std::uint8_t value) { Set(values_.FrameStyle, value); }
  void SetFrameLightColor(std::uint32_t value) { Set(values_.FrameLightColor, value); }
  void SetFrameShadowColor(std::uint32_t value) { Set(values_.FrameShadowColor, value); }
  void SetFrameBorderColor(std::uint32_t value) { Set(values_.FrameBorderColor, value); }
  void SetFrameAll(bool value) { Set(values_.FrameAll, value); }

  bool Modified() const { return modified_; }
  // Raises OnModifiedChange every time, also for an unchanged value.
  void SetModified(bool value);
  // Marks the values modified; raises OnChange outside an update.
  void Changed();
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate() { --updateCount_; }
  int UpdateCount() const { return updateCount_; }

  // Reads the section again (missing keys and damaged values give their defaults);
  // OnChange runs once, and the values are unmodified afterwards.
  void Load();
  // Writes all keys into the file at once, the file's other sections as they are there
  // now; a failed write raises, and the values stay modified.
  void Save();

  std::function<void(TCustomDrawnMenuInfo&)> OnChange;
  std::function<void(TCustomDrawnMenuInfo&)> OnModifiedChange;

private:
  template <class T, class V>
  void Set(T& field, const V& value) {
    if (field == value) return;
    field = value;
    Changed();
  }

  std::string fileName_;
  IFileAccess& files_;
  TCustomDrawRecord values_;
  bool modified_ = false;
  int updateCount_ = 0;
};

// The section's text for each key, in key order: booleans "True"/"False", numbers in
// decimal, colours "$" and upper-case hexadecimal without leading zeros.
std::string CustomDrawValueText(const TCustomDrawRecord& values, std::size_t key);

}  // namespace orvane
