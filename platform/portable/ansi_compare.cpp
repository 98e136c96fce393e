// Locale comparison without a system locale: the ANSI upper-case rules decide first;
// for AnsiCompareStr a lower-case letter then sorts before its capital, as in the
// Windows default collation.
#include "platform/ansi_case.h"

namespace orvane {
namespace {

int CompareUpper(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(AnsiUpperChar(a[i]));
    auto cb = static_cast<unsigned char>(AnsiUpperChar(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

int AnsiCompareText(std::string_view a, std::string_view b) { return CompareUpper(a, b); }

int AnsiCompareStr(std::string_view a, std::string_view b) {
  if (int r = CompareUpper(a, b)) return r;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    bool aLower = AnsiUpperChar(a[i]) != a[i];
    return aLower ? -1 : 1;
  }
  return 0;
}

std::string AnsiSortKeyText(std::string_view text) { return AnsiUpperCase(text); }

// The upper-case text, a zero byte (below every character), then one byte per
// character that puts a lower-case letter before its capital.
std::string AnsiSortKeyStr(std::string_view text) {
  std::string key = AnsiUpperCase(text);
  key.reserve(key.size() * 2 + 1);
  key += '\0';
  for (char c : text) key += AnsiUpperChar(c) != c ? '\1' : '\2';
  return key;
}

}  // namespace orvane
