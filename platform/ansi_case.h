#pragma once
// Letter case in the ANSI code page (Windows-1252 rules), the one definition every
// case-insensitive comparison of names uses.

#include <string>
#include <string_view>

namespace orvane {

// The upper case of each of the 256 byte values, for loops over long texts.
const unsigned char* AnsiUpperTable();
char AnsiUpperChar(char c);
std::string AnsiUpperCase(std::string_view text);
bool AnsiSameText(std::string_view a, std::string_view b);

// Locale order of the user's default locale (CompareStringA): negative, 0 or positive.
// AnsiCompareText ignores case; AnsiCompareStr does not.
int AnsiCompareText(std::string_view a, std::string_view b);
int AnsiCompareStr(std::string_view a, std::string_view b);
// Sort keys: comparing two keys bytewise orders their texts as AnsiCompareText
// (respectively AnsiCompareStr) does, so a long list is sorted without a locale call
// per comparison.
std::string AnsiSortKeyText(std::string_view text);
std::string AnsiSortKeyStr(std::string_view text);

}  // namespace orvane
