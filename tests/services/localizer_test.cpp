// The language list, the choice kept in the settings file, and message texts through the
// loaded language.

#include "services/localizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/locale_system.h"
#include "tests/storage/memory_files.h"

namespace orvane {
namespace {

const std::string kFolder = "C:\\Orvane\\";
const std::string kGerman = kFolder + "languages\\Orvane.1031.lng";
const std::string kSettings = kFolder + "Orvane.ini";

std::string GermanFile() {
  return std::string(kLanguageSignature) +
         "\r\n[TfrmMain]\r\nbtnCancel.Caption='Abbrechen'\r\n[RESOURCESTRINGS]\r\n"
         "65174_SDeleteMenuItem='Men\xFC" "eintrag \"%s\" l\xF6schen?'\r\n"
         "64000_SRegistryOperationError='Registrierungsfehler'\r\n"
         "64001_SRegistryErrorDetails=' (Einzelheiten: %d)'\r\n";
}

struct LocalizerTest : ::testing::Test {
  testing::TMemoryFiles files;
  std::vector<std::string> reports;
  int translations = 0;

  std::unique_ptr<TLocalizer> Make() {
    auto localizer = std::make_unique<TLocalizer>(
        TLocalizerServices{files, DefaultLocaleSystem(), kFolder, kSettings});
    localizer->OnReport = [this](const std::string& text) { reports.push_back(text); };
    localizer->OnTranslateAll = [this] { ++translations; };
    return localizer;
  }
};

TEST_F(LocalizerTest, LanguagesFromTheFileNames) {
  for (const char* name : {"Orvane.1031.lng", "Orvane.ru.lng", "Orvane.1049.extra.lng",
                           "Orvane.0.lng", "Other.1036.lng", "Orvane.1036.txt", "orvane.1049.LNG"})
    files.Files[kFolder + "languages\\" + name] = GermanFile();
  files.Files[kFolder + "languages\\sub\\Orvane.1040.lng"] = GermanFile();
  auto localizer = Make();
  const TLocales& locales = localizer->Locales();
  ASSERT_EQ(locales.Items.size(), 3u);
  EXPECT_TRUE(locales.Items[0].IsDefault);
  EXPECT_EQ(locales.Items[0].DefaultLocaleId, 1033u);
  EXPECT_EQ(locales.Items[0].FileName, "");
  EXPECT_EQ(locales.Items[1].LocaleId, 1031u);
  EXPECT_EQ(locales.Items[1].FileName, kGerman);
  EXPECT_EQ(locales.Items[2].LocaleId, 1049u);
  EXPECT_EQ(localizer->LanguageCaption(locales.Items[0]), "Default");
  EXPECT_EQ(localizer->LanguageCaption(locales.Items[1]), "Deutsch (Deutschland)");
}

TEST_F(LocalizerTest, DefaultEntryTakesTheFileBesideTheProgram) {
  files.Files[kFolder + "Orvane.lng"] = GermanFile();
  auto localizer = Make();
  EXPECT_EQ(localizer->Locales().Items.size(), 1u);
  EXPECT_EQ(localizer->Locales().Items[0].FileName, kFolder + "Orvane.lng");
  localizer->LoadStartLanguage();
  EXPECT_EQ(LoadResString(msg::SRegistryOperationError), "Registrierungsfehler");
}

TEST_F(LocalizerTest, MessageTextsFollowTheLanguageAndBackToEnglish) {
  files.Files[kGerman] = GermanFile();
  auto localizer = Make();
  const TLocales& locales = localizer->Locales();
  localizer->LoadLanguage(locales.Items[1], true);
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(translations, 1);
  EXPECT_EQ(FormatRes(msg::SDeleteMenuItem, {std::string("Open")}),
            "Men\xFC" "eintrag \"Open\" l\xF6schen?");
  // Its placeholders are not the program's: the English text instead.
  EXPECT_EQ(LoadResString(msg::SRegistryErrorDetails), " (details: %s; reason: %s)");
  EXPECT_TRUE(localizer->IsCurrent(locales.Items[1]));
  EXPECT_FALSE(localizer->IsCurrent(locales.Items[0]));
  EXPECT_EQ(localizer->CurrentLocaleId(), 1031u);
  EXPECT_NE(files.Files[kSettings].find("Current=1031"), std::string::npos);

  localizer->LoadLanguage(locales.Items[0], true);
  EXPECT_EQ(LoadResString(msg::SDeleteMenuItem), "Delete menu item \"%s\"?");
  EXPECT_TRUE(localizer->IsCurrent(locales.Items[0]));
  EXPECT_EQ(localizer->CurrentLocaleId(), 1033u);
  EXPECT_NE(files.Files[kSettings].find("Current=0"), std::string::npos);
  EXPECT_EQ(translations, 2);

  localizer->LoadLanguage(locales.Items[1], false);
  localizer.reset();
  EXPECT_EQ(LoadResString(msg::SDeleteMenuItem), "Delete menu item \"%s\"?");
}

TEST_F(LocalizerTest, StartTakesTheRememberedLanguage) {
  files.Files[kGerman] = GermanFile();
  files.Files[kSettings] = "[Locale]\r\nCurrent=1031\r\n";
  auto localizer = Make();
  localizer->LoadStartLanguage();
  EXPECT_EQ(localizer->CurrentLocaleId(), 1031u);
  ASSERT_NE(localizer->Section("TfrmMain"), nullptr);
  EXPECT_EQ(localizer->Section("TfrmMain")->Values[0], "Abbrechen");

  // A language whose file is gone, or a number that is none: the default entry.
  for (const char* remembered : {"1049", "-5", "Deutsch"}) {
    files.Files[kSettings] = std::string("[Locale]\r\nCurrent=") + remembered + "\r\n";
    auto other = Make();
    other->LoadStartLanguage();
    EXPECT_TRUE(other->IsCurrent(other->Locales().Items[0])) << remembered;
    EXPECT_EQ(LoadResString(msg::SDeleteMenuItem), "Delete menu item \"%s\"?");
  }
}

TEST_F(LocalizerTest, DamagedFileReportedOnceWhatCanBeAppliedIsApplied) {
  files.Files[kGerman] = GermanFile() + "(!)64401_X='?'\r\n[TfrmAbout]\r\n=bad\r\n";
  auto localizer = Make();
  localizer->LoadLanguage(localizer->Locales().Items[1], false);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("Error while loading language file \"" + kGerman), std::string::npos);
  EXPECT_NE(reports[0].find("Untranslated line"), std::string::npos);
  EXPECT_NE(reports[0].find("Bad line"), std::string::npos);
  EXPECT_EQ(LoadResString(msg::SRegistryOperationError), "Registrierungsfehler");

  reports.clear();
  files.FailReads = true;
  localizer->LoadLanguage(localizer->Locales().Items[1], false);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("Access denied"), std::string::npos);
  EXPECT_EQ(LoadResString(msg::SRegistryOperationError), "Registry operation error");
}

TEST_F(LocalizerTest, SettingsThatCannotBeWrittenAreReported) {
  files.Files[kGerman] = GermanFile();
  files.FailWrites = true;
  auto localizer = Make();
  localizer->LoadLanguage(localizer->Locales().Items[1], true);
  EXPECT_EQ(reports.size(), 1u);
  EXPECT_EQ(LoadResString(msg::SRegistryOperationError), "Registrierungsfehler");
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

// The second language the program ships: read without a problem, every message text
// translated, each with the placeholders the program passes.
TEST(ShippedLanguage, GermanTranslatesEveryMessageText) {
  std::ifstream in(ORVANE_LANGUAGE_FILE, std::ios::binary);
  std::stringstream data;
  data << in.rdbuf();
  ASSERT_FALSE(data.str().empty()) << ORVANE_LANGUAGE_FILE;
  const TLanguageFile file = ParseLanguageFile(data.str(), ORVANE_LANGUAGE_FILE, DefaultLocaleSystem());
  EXPECT_TRUE(file.Complete);
  EXPECT_THAT(file.Problems, ::testing::IsEmpty());
  std::string untranslated, mismatched, unknown;
  for (MessageId id : MessageIds()) {
    auto it = std::find_if(file.ResStrings.begin(), file.ResStrings.end(),
                           [id](const auto& entry) { return entry.first == id; });
    if (it == file.ResStrings.end()) {
      untranslated += std::to_string(id) + " " + BuiltInResString(id) + "\n";
    } else if (PlaceholderKinds(it->second) != PlaceholderKinds(BuiltInResString(id))) {
      mismatched += std::to_string(id) + " " + it->second + "\n";
    }
  }
  for (const auto& [id, text] : file.ResStrings)
    if (BuiltInResString(id).empty()) unknown += std::to_string(id) + "\n";
  EXPECT_EQ(untranslated, "") << "message texts the language file leaves English";
  EXPECT_EQ(mismatched, "");
  EXPECT_EQ(unknown, "") << "ids the program does not have";
}

}  // namespace
}  // namespace orvane
