#include "services/localizer.h"

#include <algorithm>
#include <cctype>

#include "storage/orvane_ini_file.h"

namespace orvane {
namespace {

constexpr unsigned kEnglishUnitedStates = 1033;
constexpr unsigned kUtf8CodePage = 65001;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The locale id of "Orvane.<id>.lng": three parts, a non-zero number in the middle.
unsigned LocaleOfFileName(const std::string& name) {
  const std::string lower = Lower(name);
  const std::string prefix = "orvane.", suffix = ".lng";
  if (lower.size() <= prefix.size() + suffix.size() || lower.rfind(prefix, 0) != 0 ||
      lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) != 0)
    return 0;
  const std::string middle = lower.substr(prefix.size(), lower.size() - prefix.size() - suffix.size());
  if (middle.empty() || middle.size() > 9) return 0;
  unsigned id = 0;
  for (char c : middle) {
    if (c < '0' || c > '9') return 0;
    id = id * 10 + static_cast<unsigned>(c - '0');
  }
  return id;
}

bool HasFile(const std::vector<std::string>& names, const std::string& name) {
  const std::string wanted = Lower(name);
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& n) { return Lower(n) == wanted; });
}

}  // namespace

const TLocaleInfo* TLocales::Find(unsigned localeId) const {
  for (const TLocaleInfo& info : Items)
    if (info.LocaleId == localeId) return &info;
  return nullptr;
}

TLocales ListLocales(IFileAccess& files, ILocaleSystem& locale, const std::string& programFolder) {
  TLocales locales;
  std::vector<std::string> names;
  std::string reason;
  TLocaleInfo standard;
  standard.IsDefault = true;
  standard.DefaultLocaleId = kEnglishUnitedStates;
  if (files.ListFiles(programFolder, names, reason)) {
    const unsigned thread = locale.ThreadLocaleId();
    for (const std::string& name : {"Orvane." + std::to_string(thread) + ".lng", std::string("Orvane.lng")}) {
      if (HasFile(names, name)) {
        standard.FileName = programFolder + name;
        standard.DefaultLocaleId = thread;
        break;
      }
    }
  }
  locales.Items.push_back(standard);

  const std::string folder = programFolder + "languages\\";
  names.clear();
  if (files.ListFiles(folder, names, reason)) {
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      const unsigned id = LocaleOfFileName(name);
      if (id == 0 || locales.Find(id)) continue;
      locales.Items.push_back({folder + name, id, false, 0});
    }
    std::sort(locales.Items.begin() + 1, locales.Items.end(),
              [](const TLocaleInfo& a, const TLocaleInfo& b) { return a.LocaleId < b.LocaleId; });
  }
  return locales;
}

TLocalizer::TLocalizer(TLocalizerServices services) : services_(std::move(services)) {
  SetResStringLookup([this](MessageId id) { return ResString(id); });
}

TLocalizer::~TLocalizer() { SetResStringLookup(nullptr); }

const TLocales& TLocalizer::Locales() {
  if (!locales_) locales_ = ListLocales(services_.Files, services_.Locale, services_.ProgramFolder);
  return *locales_;
}

void TLocalizer::Report(const std::string& text) {
  if (OnReport) OnReport(text);
}

void TLocalizer::LoadLanguage(const TLocaleInfo& info, bool remember) {
  // Back to the program's own texts first: a file covers what it covers, the rest is
  // English whatever was loaded before.
  loaded_ = TLanguageFile();
  loadedFile_.clear();
  if (!info.FileName.empty()) {
    std::string data, reason;
    const IFileAccess::ReadResult read = services_.Files.ReadFile(info.FileName, data, reason);
    if (services_.Locale.AnsiCodePage() == kUtf8CodePage) {
      Report(FormatRes(msg::SLangLoadError, {info.FileName, LoadResString(msg::SLangUtf8System)}));
    } else if (read == IFileAccess::ReadResult::Failed) {
      Report(FormatRes(msg::SLangLoadError,
                       {info.FileName, FormatRes(msg::SLangUnreadable, {reason})}));
    } else if (read == IFileAccess::ReadResult::Read) {
      TLanguageFile file = ParseLanguageFile(data, info.FileName, services_.Locale);
      if (!file.Problems.empty()) {
        std::string problems;
        for (const std::string& problem : file.Problems) problems += problem + "\r\n";
        if (file.ProblemsLeftOut)
          problems += FormatRes(msg::SLangMoreProblems, {static_cast<long long>(file.ProblemsLeftOut)});
        // Shown before the file's own texts are in use, so in the program's own words.
        Report(FormatRes(msg::SLangLoadError, {info.FileName, problems}));
      }
      loaded_ = std::move(file);
      loadedFile_ = info.FileName;
    }
  }
  defaultCurrent_ = info.IsDefault;
  if (OnTranslateAll) OnTranslateAll();
  if (remember) {
    try {
      TOrvaneIniFile settings(services_.SettingsFile, services_.Files);
      settings.WriteInteger("Locale", "Current", static_cast<int>(info.LocaleId));
      settings.UpdateFile();
    } catch (const std::exception& error) {
      Report(error.what());
    }
  }
}

void TLocalizer::LoadStartLanguage() {
  int current = 0;
  try {
    TOrvaneIniFile settings(services_.SettingsFile, services_.Files);
    current = settings.ReadInteger("Locale", "Current", 0);
  } catch (const std::exception&) {
    // An unreadable settings file leaves the program's own texts.
  }
  const TLocales& locales = Locales();
  const TLocaleInfo* entry = current > 0 ? locales.Find(static_cast<unsigned>(current)) : nullptr;
  LoadLanguage(entry ? *entry : locales.Items.front(), true);
}

unsigned TLocalizer::CurrentLocaleId() {
  for (const TLocaleInfo& info : Locales().Items) {
    if (IsCurrent(info)) return info.IsDefault ? info.DefaultLocaleId : info.LocaleId;
  }
  return kEnglishUnitedStates;
}

std::string TLocalizer::LanguageCaption(const TLocaleInfo& info) {
  if (info.IsDefault) return LoadResString(msg::SLangDefault);
  return FormatRes(msg::SLangCaption, {services_.Locale.NativeLanguageName(info.LocaleId),
                                       services_.Locale.NativeCountryName(info.LocaleId)});
}

bool TLocalizer::IsCurrent(const TLocaleInfo& info) const {
  if (defaultCurrent_) return info.IsDefault;
  return !info.FileName.empty() && Lower(info.FileName) == Lower(loadedFile_);
}

std::optional<std::string> TLocalizer::ResString(MessageId id) const {
  const auto& strings = loaded_.ResStrings;
  auto it = std::lower_bound(strings.begin(), strings.end(), id,
                             [](const auto& entry, MessageId wanted) { return entry.first < wanted; });
  if (it == strings.end() || it->first != id) return std::nullopt;
  return it->second;
}

}  // namespace orvane
