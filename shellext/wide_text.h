#pragma once
// The module's two kinds of text: paths in UTF-16 as the shell gives them, and the menu
// file's texts in the ANSI code page. Only the menu file's texts are converted.

#include <windows.h>

#include <string>

namespace orvane {

// Windows' wide strings and the portable code's UTF-16 are the same code units.
inline const wchar_t* WideChars(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string FromWide(const wchar_t* text, std::size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

// ANSI text of the menu file, widened with the ANSI code page.
std::u16string WidenAnsi(const std::string& text);
// The ANSI spelling of `text`; false when the code page cannot spell every character
// (no look-alike is taken: a "?" would be a wildcard to many programs).
bool NarrowExactly(const std::u16string& text, std::string& narrow);

}  // namespace orvane
