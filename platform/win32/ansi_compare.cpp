// Locale comparison through the system's collation of the user's default locale.
#include <windows.h>

#include "platform/ansi_case.h"

namespace orvane {
namespace {

int Compare(DWORD flags, std::string_view a, std::string_view b) {
  int r = CompareStringA(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()), b.data(),
                         static_cast<int>(b.size()));
  return r == 0 ? 0 : r - CSTR_EQUAL;
}

std::string SortKey(DWORD flags, std::string_view text) {
  const int length = static_cast<int>(text.size());
  int size =
      LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | flags, text.data(), length, nullptr, 0);
  if (size <= 0) return std::string();
  std::string key(static_cast<size_t>(size), '\0');
  LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | flags, text.data(), length, key.data(), size);
  while (!key.empty() && key.back() == '\0') key.pop_back();
  return key;
}

}  // namespace

int AnsiCompareText(std::string_view a, std::string_view b) {
  return Compare(NORM_IGNORECASE, a, b);
}

int AnsiCompareStr(std::string_view a, std::string_view b) { return Compare(0, a, b); }

std::string AnsiSortKeyText(std::string_view text) { return SortKey(NORM_IGNORECASE, text); }

std::string AnsiSortKeyStr(std::string_view text) { return SortKey(0, text); }

}  // namespace orvane
