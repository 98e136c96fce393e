#pragma once
// The main window's placement in the menu file: section "Orvane" with "Flags",
// "ShowCmd", "PixelsPerInch", "MinMaxPos" and "NormPos". The two positions are written
// twice, under the key followed by the screen size ("NormPos(1024x768)") and under the
// bare key; reading takes the sized key and falls back to the bare one.

#include <windows.h>

#include <optional>
#include <string>

namespace orvane {

class TFormPlacement {
public:
  TFormPlacement() = default;
  TFormPlacement(std::string iniFile, std::string section)
      : iniFile_(std::move(iniFile)), section_(std::move(section)) {}

  const std::string& IniFile() const { return iniFile_; }
  void SetIniFile(const std::string& file) { iniFile_ = file; }

  // Applies the stored placement when it was stored at the screen's current resolution;
  // false when nothing was applied. Sizes below the minimum are raised to it.
  bool Restore(HWND window, int minWidth, int minHeight) const;
  void Save(HWND window) const;

  // Reads "%d,%d,%d,%d"; nothing for anything else.
  static std::optional<RECT> ParseRect(const std::string& text);

private:
  std::string Read(const std::string& key) const;
  void Write(const std::string& key, const std::string& value) const;
  std::string ScreenSuffix() const;

  std::string iniFile_;
  std::string section_ = "Orvane";
};

}  // namespace orvane
