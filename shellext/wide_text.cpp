#include "shellext/wide_text.h"

namespace orvane {

std::u16string WidenAnsi(const std::string& text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return FromWide(wide.data(), wide.size());
}

bool NarrowExactly(const std::u16string& text, std::string& narrow) {
  narrow.clear();
  if (text.empty()) return true;
  const wchar_t* wide = WideChars(text);
  const int length = static_cast<int>(text.size());
  BOOL defaulted = FALSE;
  int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr,
                                 &defaulted);
  if (size <= 0 || defaulted) return false;
  narrow.resize(static_cast<std::size_t>(size));
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, narrow.data(), size, nullptr,
                      &defaulted);
  if (defaulted) narrow.clear();
  return !defaulted;
}

}  // namespace orvane
