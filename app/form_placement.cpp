#include "app/form_placement.h"

#include <cstdio>

#include "platform/messages.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

std::optional<long> ParseInt(const std::string& text) {
  if (text.empty() || text.size() > 11) return std::nullopt;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0') return std::nullopt;
  return value;
}

std::string RectText(long a, long b, long c, long d) {
  return Format("%d,%d,%d,%d", {static_cast<long long>(a), static_cast<long long>(b),
                                static_cast<long long>(c), static_cast<long long>(d)});
}

}  // namespace

std::optional<RECT> TFormPlacement::ParseRect(const std::string& text) {
  long values[4];
  size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const size_t comma = i < 3 ? text.find(',', start) : text.size();
    if (comma == std::string::npos) return std::nullopt;
    auto value = ParseInt(text.substr(start, comma - start));
    if (!value) return std::nullopt;
    values[i] = *value;
    start = comma + 1;
  }
  return RECT{values[0], values[1], values[2], values[3]};
}

std::string TFormPlacement::Read(const std::string& key) const {
  char buffer[2048] = {};
  GetPrivateProfileStringA(section_.c_str(), key.c_str(), "", buffer, sizeof buffer,
                           iniFile_.c_str());
  return buffer;
}

void TFormPlacement::Write(const std::string& key, const std::string& value) const {
  WritePrivateProfileStringA(section_.c_str(), key.c_str(), value.c_str(), iniFile_.c_str());
}

std::string TFormPlacement::ScreenSuffix() const {
  return Format("(%dx%d)", {static_cast<long long>(GetSystemMetrics(SM_CXSCREEN)),
                            static_cast<long long>(GetSystemMetrics(SM_CYSCREEN))});
}

bool TFormPlacement::Restore(HWND window, int minWidth, int minHeight) const {
  if (iniFile_.empty()) return false;
  auto pixels = ParseInt(Read("PixelsPerInch"));
  if (!pixels || *pixels != ScreenPixelsPerInch()) return false;
  auto readSized = [this](const std::string& key) {
    std::string text = Read(key + ScreenSuffix());
    return text.empty() ? Read(key) : text;
  };
  auto normal = ParseRect(readSized("NormPos"));
  if (!normal) return false;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  RECT rect = *normal;
  if (rect.right - rect.left < minWidth) rect.right = rect.left + minWidth;
  if (rect.bottom - rect.top < minHeight) rect.bottom = rect.top + minHeight;
  placement.rcNormalPosition = rect;
  if (auto minMax = ParseRect(readSized("MinMaxPos"))) {
    placement.ptMinPosition = POINT{minMax->left, minMax->top};
    placement.ptMaxPosition = POINT{minMax->right, minMax->bottom};
  }
  if (auto flags = ParseInt(Read("Flags"))) placement.flags = static_cast<UINT>(*flags);
  // The window is shown by its owner; a minimised start is not restored.
  placement.showCmd = IsWindowVisible(window) ? SW_SHOWNORMAL : SW_HIDE;
  return SetWindowPlacement(window, &placement) != 0;
}

void TFormPlacement::Save(HWND window) const {
  if (iniFile_.empty()) return;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return;
  const std::string suffix = ScreenSuffix();
  const RECT& normal = placement.rcNormalPosition;
  const std::string minMax = RectText(placement.ptMinPosition.x, placement.ptMinPosition.y,
                                      placement.ptMaxPosition.x, placement.ptMaxPosition.y);
  const std::string norm = RectText(normal.left, normal.top, normal.right, normal.bottom);
  Write("Flags", std::to_string(placement.flags));
  Write("ShowCmd", std::to_string(placement.showCmd));
  Write("PixelsPerInch", std::to_string(ScreenPixelsPerInch()));
  Write("MinMaxPos" + suffix, minMax);
  Write("MinMaxPos", minMax);
  Write("NormPos" + suffix, norm);
  Write("NormPos", norm);
}

}  // namespace orvane
