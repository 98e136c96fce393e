#pragma once
// The interface languages: the language files beside the program, the one chosen (kept
// in the settings file, section "Locale"), and what the loaded file translates. The
// windows are translated through OnTranslateAll; message texts through the message
// table's lookup, which the localizer installs for its lifetime.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_access.h"
#include "platform/locale_system.h"
#include "services/language_file.h"

namespace orvane {

// One language to choose. The default entry stands for the program's own texts (or the
// language file beside the program, when there is one).
struct TLocaleInfo {
  std::string FileName;  // may be empty
  unsigned LocaleId = 0;  // 0 for the default entry
  bool IsDefault = false;
  unsigned DefaultLocaleId = 0;  // the default entry's locale
};

// The languages: the default entry first, then the files of "languages" by locale id.
struct TLocales {
  std::vector<TLocaleInfo> Items;
  const TLocaleInfo* Find(unsigned localeId) const;
};

// "Orvane.<locale id>.lng" files in the folder "languages" of `programFolder` (which ends
// with a separator), and the default entry: "Orvane.<thread locale>.lng" or "Orvane.lng"
// in the program folder itself.
TLocales ListLocales(IFileAccess& files, ILocaleSystem& locale, const std::string& programFolder);

struct TLocalizerServices {
  IFileAccess& Files;
  ILocaleSystem& Locale;
  std::string ProgramFolder;
  // The menu file, which keeps the choice.
  std::string SettingsFile;
};

class TLocalizer {
public:
  explicit TLocalizer(TLocalizerServices services);
  ~TLocalizer();
  TLocalizer(const TLocalizer&) = delete;
  TLocalizer& operator=(const TLocalizer&) = delete;

  // Built on first use.
  const TLocales& Locales();
  // Loads the entry's file (the program's own texts for an entry without one, or whose
  // file is gone), then translates every window; `remember` keeps the choice in the
  // settings file. Problems of the file go to OnReport; what could be read is used.
  void LoadLanguage(const TLocaleInfo& info, bool remember);
  // The remembered choice, or the default entry.
  void LoadStartLanguage();

  unsigned CurrentLocaleId();
  // "Default", or the locale's native language and country.
  std::string LanguageCaption(const TLocaleInfo& info);
  bool IsCurrent(const TLocaleInfo& info) const;

  const TLanguageFile& Loaded() const { return loaded_; }
  const TResForm* Section(const std::string& className) const { return loaded_.Form(className); }
  std::optional<std::string> ResString(MessageId id) const;

  // A problem to show the user (one text for one file).
  std::function<void(const std::string& text)> OnReport;
  // Translates every existing window with the loaded sections.
  std::function<void()> OnTranslateAll;

private:
  void Report(const std::string& text);

  TLocalizerServices services_;
  std::optional<TLocales> locales_;
  TLanguageFile loaded_;
  std::string loadedFile_;
  bool defaultCurrent_ = true;
};

}  // namespace orvane
