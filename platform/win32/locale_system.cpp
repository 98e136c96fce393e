#include "platform/locale_system.h"

#include <windows.h>

#include <vector>

namespace orvane {
namespace {

std::string LocaleText(unsigned localeId, LCTYPE type) {
  char buffer[128] = {};
  const int length = GetLocaleInfoA(localeId, type, buffer, sizeof buffer);
  return length > 1 ? std::string(buffer, length - 1) : std::string();
}

class TWin32LocaleSystem : public ILocaleSystem {
public:
  unsigned AnsiCodePage() override { return GetACP(); }

  std::optional<std::string> ToAnsi(const std::string& text, unsigned codePage) override {
    if (codePage == GetACP()) return text;
    if (!IsValidCodePage(codePage)) return std::nullopt;
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (wide <= 0) return std::nullopt;
    std::vector<wchar_t> buffer(wide);
    MultiByteToWideChar(codePage, 0, text.data(), size, buffer.data(), wide);
    const int narrow = WideCharToMultiByte(CP_ACP, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return std::nullopt;
    std::string out(narrow, '\0');
    WideCharToMultiByte(CP_ACP, 0, buffer.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
  }

  unsigned ThreadLocaleId() override { return GetThreadLocale(); }
  std::string NativeLanguageName(unsigned localeId) override {
    return LocaleText(localeId, LOCALE_SNATIVELANGNAME);
  }
  std::string NativeCountryName(unsigned localeId) override {
    return LocaleText(localeId, LOCALE_SNATIVECTRYNAME);
  }
};

}  // namespace

ILocaleSystem& DefaultLocaleSystem() {
  static TWin32LocaleSystem system;
  return system;
}

}  // namespace orvane
