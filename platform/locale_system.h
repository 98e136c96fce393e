#pragma once
// What the interface languages need of the system: the ANSI code page and conversion into
// it, the thread's locale, and the native names of a locale. The system's in the program;
// tests and native builds use the portable one.

#include <optional>
#include <string>

namespace orvane {

class ILocaleSystem {
public:
  virtual ~ILocaleSystem() = default;

  virtual unsigned AnsiCodePage() = 0;
  // `text`, written in `codePage`, in the ANSI code page; std::nullopt when the system has
  // no such code page. Characters the ANSI code page lacks become "?".
  virtual std::optional<std::string> ToAnsi(const std::string& text, unsigned codePage) = 0;
  // The locale identifier of the running thread.
  virtual unsigned ThreadLocaleId() = 0;
  // The locale's language and country in their own language; empty when unknown.
  virtual std::string NativeLanguageName(unsigned localeId) = 0;
  virtual std::string NativeCountryName(unsigned localeId) = 0;
};

ILocaleSystem& DefaultLocaleSystem();

}  // namespace orvane
