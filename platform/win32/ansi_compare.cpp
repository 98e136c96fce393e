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

}  // namespace

int AnsiCompareText(std::string_view a, std::string_view b) {
  return Compare(NORM_IGNORECASE, a, b);
}

int AnsiCompareStr(std::string_view a, std::string_view b) { return Compare(0, a, b); }

}  // namespace orvane
