// A window in a language and back: each text the language names is set, the others go
// back to the window's own, and a text the window set itself meanwhile stays.

#include "controls/form_translation.h"

#include <gtest/gtest.h>

#include "controls/application.h"
#include "controls/edit_controls.h"
#include "controls/panels.h"
#include "controls/std_controls.h"
#include "test_form.h"

namespace orvane::testing {
namespace {

TResForm Section(std::vector<std::pair<std::string, std::string>> texts) {
  TResForm section{"TTestForm", {}, {}};
  for (auto& [path, value] : texts) {
    section.Paths.push_back(path);
    section.Values.push_back(value);
  }
  return section;
}

struct TranslatedForm : ::testing::Test {
  TTestForm form;
  TPanel& panel = form.Create<TPanel>("pnlBottom", &form);
  TButton& ok = form.Create<TButton>("btnOK", &panel);
  TButton& cancel = form.Create<TButton>("btnCancel", &panel);
  TComboBox& combo = form.Create<TComboBox>("cbKind", &form);
  TFormTranslation translation;

  void SetUp() override {
    ok.SetCaption("OK");
    ok.SetHint("|OK button\r\nCloses the window.");
    cancel.SetCaption("Cancel");
    combo.SetItems({"One", "Two"});
  }
};

TEST_F(TranslatedForm, AnotherLanguageOrNoneRestoresTheWindowsOwnTexts) {
  const TResForm german = Section({{"btnOK.Hint", "|OK\r\nSchlie\xDFt das Fenster."},
                                   {"btnCancel.Caption", "Abbrechen"},
                                   {"cbKind.Items", "Eins\rZwei\rDrei"},
                                   {"btnGone.Caption", "weg"},
                                   {"btnOK.Colour", "rot"}});
  translation.Apply(form, &german);
  EXPECT_EQ(cancel.Caption(), "Abbrechen");
  EXPECT_EQ(ok.Hint(), "|OK\r\nSchlie\xDFt das Fenster.");
  EXPECT_EQ(combo.Items(), (std::vector<std::string>{"Eins", "Zwei", "Drei"}));

  // A language that names only the cancel button: the hint and the list are the
  // window's own again.
  const TResForm other = Section({{"btnCancel.Caption", "Annuler"}});
  translation.Apply(form, &other);
  EXPECT_EQ(cancel.Caption(), "Annuler");
  EXPECT_EQ(ok.Hint(), "|OK button\r\nCloses the window.");
  EXPECT_EQ(combo.Items(), (std::vector<std::string>{"One", "Two"}));

  translation.Apply(form, nullptr);
  EXPECT_EQ(cancel.Caption(), "Cancel");
  EXPECT_EQ(ok.Caption(), "OK");
}

TEST_F(TranslatedForm, TextTheWindowSetItselfIsKept) {
  const TResForm german = Section({{"btnCancel.Caption", "Abbrechen"}, {"btnOK.Caption", "Gut"}});
  translation.Apply(form, &german);
  cancel.SetCaption("Close");  // the window's own choice after the translation
  translation.Apply(form, nullptr);
  EXPECT_EQ(cancel.Caption(), "Close");
  EXPECT_EQ(ok.Caption(), "OK");
  // Translated again, and back: the text it set is the one it gets back.
  translation.Apply(form, &german);
  EXPECT_EQ(cancel.Caption(), "Abbrechen");
  translation.Apply(form, nullptr);
  EXPECT_EQ(cancel.Caption(), "Close");
}

TEST_F(TranslatedForm, PathsThroughOwnersAndWindowsTranslatedByTheApplication) {
  // Two components of one name, each owned by its own panel: the owner tells them apart.
  auto& top = form.Create<TPanel>("pnlTop", &form);
  auto& bottomHelp = panel.Create<TButton>("btnHelp", &panel);
  auto& topHelp = top.Create<TButton>("btnHelp", &top);
  bottomHelp.SetCaption("Help");
  topHelp.SetCaption("Help");
  const TResForm german = Section({{"pnlTop.btnHelp.Caption", "Hilfe"}});
  translation.Apply(form, &german);
  EXPECT_EQ(topHelp.Caption(), "Hilfe");
  EXPECT_EQ(bottomHelp.Caption(), "Help");

  // The application's language reaches every window it has, and the ones shown later.
  const TResForm section = Section({{"btnCancel.Caption", "Abbrechen"}});
  Application().Language = [&](const std::string& className) {
    return className == "TTestForm" ? &section : nullptr;
  };
  TTestForm later;
  auto& button = later.Create<TButton>("btnCancel", &later);
  button.SetCaption("Cancel");
  Application().TranslateAll();
  EXPECT_EQ(cancel.Caption(), "Abbrechen");
  EXPECT_EQ(button.Caption(), "Abbrechen");
  Application().Language = nullptr;
  Application().TranslateAll();
  EXPECT_EQ(button.Caption(), "Cancel");

  TTestForm shown;
  auto& shownButton = shown.Create<TButton>("btnCancel", &shown);
  shownButton.SetCaption("Cancel");
  Application().Language = [&](const std::string&) { return &section; };
  EXPECT_FALSE(shown.Translated());
  shown.Show();
  EXPECT_EQ(shownButton.Caption(), "Abbrechen");
  shown.Hide();
  Application().Language = nullptr;
}

}  // namespace
}  // namespace orvane::testing
