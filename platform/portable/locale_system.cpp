// Outside Windows: a Western European ANSI code page (1252), and conversion from the few
// code pages that map onto it without tables of the system.
#include "platform/locale_system.h"

#include <cstdint>

namespace orvane {
namespace {

// Windows-1252's characters 0x80-0x9F; zero where it has none.
constexpr std::uint16_t kHigh1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char To1252(std::uint32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (int i = 0; i < 32; ++i)
    if (kHigh1252[i] != 0 && kHigh1252[i] == code) return static_cast<char>(0x80 + i);
  return '?';
}

std::string Utf8To1252(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
    if (extra < 0 || (extra > 0 && i + extra >= text.size())) {
      out += '?';
      ++i;
      continue;
    }
    std::uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
      out += '?';
      ++i;
      continue;
    }
    out += To1252(code);
    i += extra + 1;
  }
  return out;
}

class TPortableLocaleSystem : public ILocaleSystem {
public:
  unsigned AnsiCodePage() override { return 1252; }
  std::optional<std::string> ToAnsi(const std::string& text, unsigned codePage) override {
    if (codePage == 1252 || codePage == 28591 || codePage == 20127) return text;
    if (codePage == 65001) return Utf8To1252(text);
    return std::nullopt;
  }
  unsigned ThreadLocaleId() override { return 1033; }
  std::string NativeLanguageName(unsigned localeId) override {
    return localeId == 1033 ? "English" : localeId == 1031 ? "Deutsch" : "";
  }
  std::string NativeCountryName(unsigned localeId) override {
    return localeId == 1033 ? "United States" : localeId == 1031 ? "Deutschland" : "";
  }
};

}  // namespace

ILocaleSystem& DefaultLocaleSystem() {
  static TPortableLocaleSystem system;
  return system;
}

}  // namespace orvane
