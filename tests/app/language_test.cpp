// The interface languages in the real windows: the shipped second language translates
// the main window and the message texts, English comes back, the choice is remembered,
// and a check that lists every text of the program the language file leaves English.

#include <gmock/gmock.h>

#include <cctype>
#include <map>
#include <set>

#include "app/about_dialog.h"
#include "app/custom_draw_dialog.h"
#include "app/loading.h"
#include "app/registry_bugs_dialog.h"
#include "app/restore_backup_dialog.h"
#include "app/select_icon_dialog.h"
#include "app_fixture.h"
#include "menus/static_menu.h"
#include "platform/locale_system.h"
#include "platform/messages.h"
#include "platform/win32/window_helpers.h"
#include "services/localizer.h"
#include "tests/support/recorded_backup.h"

namespace orvane::testing {
namespace {

using TTexts = std::map<std::string, std::string>;

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Every text property of an object and of the objects below it, by path.
void CollectObject(TPersistent& object, const std::string& path, TTexts& texts, int depth) {
  for (const char* property : {"Caption", "Hint", "Items", "Text"}) {
    if (auto value = object.GetProperty(property); value && !value->empty())
      texts[path + "." + property] = *value;
  }
  if (depth > 3) return;
  for (const char* list : {"Columns", "Categories", "Items"}) {
    for (int i = 0; i < 1000; ++i) {
      TPersistent* item = object.SubObject(list, i);
      if (!item) break;
      CollectObject(*item, path + "." + list + "(" + std::to_string(i) + ")", texts, depth + 1);
    }
  }
}

// A component's path: its name, or, where the name is not the first of the window to
// carry it, the names of its owners too.
std::string PathOf(TComponent& root, TComponent& component) {
  std::string path = component.Name();
  if (root.FindComponent(component.Name()) == &component) return path;
  for (TComponent* owner = component.Owner(); owner && owner != &root; owner = owner->Owner())
    path = owner->Name() + "." + path;
  return path;
}

void CollectComponents(TComponent& root, TComponent& component, TTexts& texts) {
  for (int i = 0; i < component.ComponentCount(); ++i) {
    TComponent& child = *component.Components(i);
    // The entries of the language menu are language names, the same in every language.
    if (!child.Name().empty() && child.Name().rfind("miLocale", 0) != 0)
      CollectObject(child, PathOf(root, child), texts, 0);
    CollectComponents(root, child, texts);
  }
}

TTexts TextsOf(TForm& form) {
  TTexts texts;
  CollectObject(form, "", texts, 0);
  TTexts named;
  for (auto& [path, value] : texts) named[path.substr(1)] = value;  // the window's own: "Caption"
  CollectComponents(form, form, named);
  return named;
}

bool HasLetters(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
}

// A value as the language file writes it.
std::string Quoted(const std::string& text) {
  std::string out;
  bool quoted = false;
  for (char c : text) {
    const bool lineBreak = c == '\r' || c == '\n';
    if (lineBreak == quoted) {
      out += quoted ? "'" : "";
      quoted = !lineBreak;
      out += quoted ? "'" : "";
    }
    if (lineBreak) {
      out += "#" + std::to_string(static_cast<unsigned char>(c));
    } else {
      out += c == '\'' ? std::string("''") : std::string(1, c);
    }
  }
  return quoted ? out + "'" : out.empty() ? "''" : out;
}

class LanguageTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    localizer = std::make_unique<TLocalizer>(TLocalizerServices{
        DefaultFileAccess(), DefaultLocaleSystem(), WindowsPath(ORVANE_RESOURCES_FOLDER), menuFile});
    localizer->OnReport = [this](const std::string& text) { reports.push_back(text); };
    localizer->OnTranslateAll = [] { Application().TranslateAll(); };
    Application().Language = [this](const std::string& className) {
      return localizer->Section(className);
    };
  }

  void TearDown() override {
    Application().Language = nullptr;
    localizer.reset();
    MainWindowTest::TearDown();
  }

  std::unique_ptr<TfrmMain> CreateTranslatedWindow() {
    TMainFormSettings settings;
    settings.MenuFile = menuFile;
    settings.Measuring = measuring;
    settings.Localizer = localizer.get();
    return std::make_unique<TfrmMain>(nullptr, Services(), settings);
  }

  const TLocaleInfo& German() {
    const TLocaleInfo* info = localizer->Locales().Find(1031);
    EXPECT_NE(info, nullptr);
    return *info;
  }

  std::unique_ptr<TLocalizer> localizer;
  std::vector<std::string> reports;
};

TEST_F(LanguageTest, GermanTranslatesTheMainWindowAndItsMessagesAndEnglishComesBack) {
  localizer->LoadStartLanguage();
  auto form = CreateTranslatedWindow();
  form->Show();
  Application().ProcessMessages();
  EXPECT_TRUE(form->spbLanguage.Visible());
  ASSERT_EQ(form->alLocales.Count(), 2);
  EXPECT_EQ(form->alLocales.Actions(0).Caption(), "Default");
  EXPECT_TRUE(form->alLocales.Actions(0).Checked());
  EXPECT_EQ(form->alLocales.Actions(1).Caption(),
            localizer->LanguageCaption(German()));
  const std::string englishDescription = form->lblTabDescr.Caption();

  form->alLocales.Actions(1).Execute();
  EXPECT_THAT(reports, ::testing::IsEmpty());
  EXPECT_EQ(form->btnCancel.Caption(), "Abbrechen");
  EXPECT_EQ(WindowText(form->btnCancel.Handle()), "Abbrechen");
  EXPECT_EQ(form->spbLanguage.Caption(), "Sprache");
  EXPECT_EQ(form->spbLanguage.Hint(), "Sprache der Oberfl\xE4" "che w\xE4hlen");
  EXPECT_EQ(form->btnOK.Hint(),
            "|Schaltfl\xE4" "che OK\r\nBeendet Orvane und speichert alle \xC4nderungen.");
  EXPECT_EQ(form->CategoryButtons1.Categories(0).Items(1).Caption(), "Untermen\xFC" "eintr\xE4ge");
  EXPECT_EQ(form->lblTabDescr.Caption(), LoadResString(msg::SDescrStaticItems));
  EXPECT_NE(form->lblTabDescr.Caption(), englishDescription);
  EXPECT_EQ(FormatRes(msg::SDeleteMenuItem, {std::string("Open")}),
            "Men\xFC" "eintrag \"Open\" l\xF6schen?");
  EXPECT_TRUE(form->alLocales.Actions(1).Checked());
  EXPECT_FALSE(form->alLocales.Actions(0).Checked());
  EXPECT_EQ(form->alLocales.Actions(0).Caption(), "Standard");
  EXPECT_NE(ReadText(menuFile).find("Current=1031"), std::string::npos);
  EXPECT_FALSE(SaveScreenshot(form->Handle(), "main_window_german").empty());

  form->alLocales.Actions(0).Execute();
  EXPECT_EQ(form->btnCancel.Caption(), "Cancel");
  EXPECT_EQ(WindowText(form->btnCancel.Handle()), "Cancel");
  EXPECT_EQ(form->spbLanguage.Hint(), "Choose interface language");
  EXPECT_EQ(form->btnOK.Hint(), "|OK button\r\nCloses Orvane with all changes saved.");
  EXPECT_EQ(form->CategoryButtons1.Categories(0).Items(1).Caption(), "Submenu Items");
  EXPECT_EQ(form->lblTabDescr.Caption(), englishDescription);
  EXPECT_EQ(LoadResString(msg::SDeleteMenuItem), "Delete menu item \"%s\"?");
  EXPECT_EQ(form->alLocales.Actions(0).Caption(), "Default");
  EXPECT_NE(ReadText(menuFile).find("Current=0"), std::string::npos);
}

// Questions and log lines that the window makes as it goes are message texts too: the
// load's question and its log, and the close question, all in the chosen language.
TEST_F(LanguageTest, QuestionsAndTheErrorLogSpeakTheChosenLanguage) {
  WriteText(menuFile,
            "[Locale]\r\nCurrent=1031\r\n[Static Items]\r\nCount=2\r\nApplication0=a.exe\r\n"
            "Caption0=A\r\nChecked0=1\r\nFileType0=nosuchfile\r\nFileType1=txtfile\r\n");
  const std::string logFile = menuFile + ".log.txt";
  localizer->LoadStartLanguage();
  std::vector<std::string> boxes;
  TMessageBoxAnswers answers([&](const std::string& text, const std::string&, UINT) {
    boxes.push_back(text);
    return boxes.size() == 1 ? IDNO : IDCANCEL;
  });
  TMainFormSettings settings;
  settings.MenuFile = menuFile;
  settings.LogFile = logFile;
  settings.Measuring = measuring;
  settings.Localizer = localizer.get();
  auto form = std::make_unique<TfrmMain>(nullptr, Services(), settings);
  Application().SetMainForm(form.get());
  form->Show();  // which loads the menus
  Application().ProcessMessages();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_THAT(boxes[0], ::testing::HasSubstr("Fehlerprotokoll wurde in \"log.txt\" gespeichert"));
  const std::string log = ReadText(logFile);
  DeleteFileA(logFile.c_str());
  EXPECT_EQ(log.rfind("Fehlerprotokoll erstellt: ", 0), 0u) << log;
  EXPECT_THAT(log, ::testing::HasSubstr("\r\nFehlerprotokoll der statischen Eintr\xE4ge:\r\n"));

  ASSERT_FALSE(form->StaticMenu().AllItems().empty());
  form->StaticMenu().AllItems().front()->SetChecked(false);
  SendMessageA(form->btnCancel.Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].rfind("Die Men\xFC" "eintr\xE4ge wurden ge\xE4ndert.", 0), 0u) << boxes[1];
  Application().SetMainForm(nullptr);
  form.reset();
  Application().ProcessMessages();
  Application().ClearTerminated();
}

TEST_F(LanguageTest, RememberedLanguageTranslatesTheWindowFromTheStartAndItsLaterPages) {
  WriteText(menuFile, "[Locale]\r\nCurrent=1031\r\n");
  localizer->LoadStartLanguage();
  auto form = CreateTranslatedWindow();
  EXPECT_EQ(form->btnCancel.Caption(), "Abbrechen");
  EXPECT_EQ(form->tshtStaticMenus.Caption(), "Statische Eintr\xE4ge");
  // The page description is a message text, set after the window's own translation.
  EXPECT_EQ(form->lblTabDescr.Caption(), LoadResString(msg::SDescrStaticItems));
  EXPECT_EQ(form->GetPropertyPath("lblFilter.Caption"), std::nullopt);
  form->StaticCleanupPage();
  EXPECT_EQ(form->GetPropertyPath("lblFilter.Caption"), "Fil&ter:");
  EXPECT_EQ(form->GetPropertyPath("lblMenuItems.Caption"), " Men\xFC" "eintr\xE4ge ");
}

// A web or mail address, the same in every language.
bool IsAddress(const std::string& text) {
  return text.rfind("https://", 0) == 0 ||
         (text.find('@') != std::string::npos && text.find(' ') == std::string::npos);
}

// The check of the language file against the program: every text of every window that
// neither the file nor the message table translates, and every message text the file
// leaves out, listed in the file's own form.
TEST_F(LanguageTest, SecondLanguageTranslatesEveryText) {
  TRecordedBackup backup;
  std::map<std::string, TTexts> english, german;
  std::set<std::string> unresolved;
  auto each = [&](const std::function<void(TForm&)>& use) {
    auto form = CreateTranslatedWindow();
    form->StaticCleanupPage();
    form->ShellExtPage();
    use(*form);
    TfrmAbout about(nullptr, Services(), TAboutFacts{"C:\\Orvane\\orvane.exe", "1.1.2008", 1, true},
                    [] { return std::string(); });
    use(about);
    TfrmRegistryBugs bugs(nullptr, TRegistryBugsServices{registry, backup, {}});
    use(bugs);
    TfrmRestoreBackup restore(nullptr, DefaultFileAccess(), "C:\\nowhere\\",
                              [](std::uint32_t) -> IRegistryBackend* { return nullptr; });
    use(restore);
    TfrmSelectIcon icons(nullptr, TSelectIconSources{DefaultIconSource(), DefaultFileAccess(), ""});
    use(icons);
    TfrmLoading loading;
    use(loading);
    TfrmCustomDraw drawing(nullptr, "C:\\nowhere\\Orvane.ini", DefaultFileAccess());
    use(drawing);
  };
  localizer->LoadStartLanguage();
  each([&](TForm& form) { english[form.ClassName()] = TextsOf(form); });
  localizer->LoadLanguage(German(), false);
  EXPECT_THAT(reports, ::testing::IsEmpty());
  each([&](TForm& form) {
    form.Translate();
    german[form.ClassName()] = TextsOf(form);
    if (const TResForm* section = localizer->Section(form.ClassName())) {
      for (const std::string& path : section->Paths)
        if (!form.GetPropertyPath(path)) unresolved.insert(form.ClassName() + ": " + path);
    }
  });

  // The same in every language: names and what the program shows of the system.
  const std::set<std::string> names = {"Orvane 2008", "OK", "...", "OK "};
  const std::set<std::string> systemLists = {"TfrmCustomDraw cbTextFont.Items"};  // font names
  std::string untranslated;
  for (const auto& [className, texts] : english) {
    const TResForm* section = localizer->Section(className);
    std::string lines;
    for (const auto& [path, text] : texts) {
      const bool covered = section && std::find(section->Paths.begin(), section->Paths.end(),
                                                path) != section->Paths.end();
      if (covered || !HasLetters(text) || names.count(text) || IsAddress(text) ||
          systemLists.count(className + " " + path) ||
          german[className][path] != text)
        continue;
      lines += path + "=" + Quoted(text) + "\r\n";
    }
    if (!lines.empty()) untranslated += "[" + className + "]\r\n" + lines;
  }
  std::string messages;
  for (MessageId id : MessageIds()) {
    if (!localizer->ResString(id) && HasLetters(BuiltInResString(id)))
      messages += std::to_string(id) + "_=" + Quoted(BuiltInResString(id)) + "\r\n";
  }
  if (!messages.empty()) untranslated += "[RESOURCESTRINGS]\r\n" + messages;
  EXPECT_EQ(untranslated, "") << "Texts the language file leaves English:\n" << untranslated;
  EXPECT_THAT(unresolved, ::testing::IsEmpty());
}

}  // namespace
}  // namespace orvane::testing
