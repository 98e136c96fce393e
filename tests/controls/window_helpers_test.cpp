#include "platform/win32/window_helpers.h"

#include <gtest/gtest.h>

#include "controls/panels.h"
#include "controls/std_controls.h"
#include "platform/exception.h"
#include "test_form.h"

namespace orvane::testing {
namespace {

HWND Child(HWND parent, const char* kind, DWORD style) {
  return CreateWindowExA(0, kind, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 100, parent,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(SetControlsEnabledTest, DisablingClearsValuesUnlessKept) {
  TTestForm form;
  auto& panel = form.Create<TPanel>("pnlDetails", &form);
  HWND edit = Child(panel.Handle(), "Edit", 0);
  HWND combo = Child(panel.Handle(), "ComboBox", CBS_DROPDOWNLIST);
  HWND check = Child(panel.Handle(), "Button", BS_AUTOCHECKBOX);
  HWND push = Child(panel.Handle(), "Button", BS_PUSHBUTTON);
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("first"));
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("second"));
  auto fill = [&] {
    SetWindowTextA(edit, "notepad.exe");
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
  };
  fill();
  SetWindowTextA(push, "Browse");

  SetControlsEnabled(panel.Handle(), false, true);
  EXPECT_FALSE(IsWindowEnabled(panel.Handle()));
  EXPECT_FALSE(IsWindowEnabled(edit));
  EXPECT_EQ(GetWindowTextLengthA(edit), 11);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);

  SetControlsEnabled(panel.Handle(), true, false);
  EXPECT_TRUE(IsWindowEnabled(edit));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);  // enabling selects the first entry

  fill();
  SetControlsEnabled(panel.Handle(), false, false);
  EXPECT_EQ(GetWindowTextLengthA(edit), 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(GetWindowTextLengthA(push), 6);  // a push button's caption is no value
}

TEST(OpenLinkTest, MailAddressesBecomeNewMailsWithTheProductSubject) {
  EXPECT_EQ(LinkTarget("support@example.com"), "mailto:support@example.com?subject=Orvane 2008");
  EXPECT_EQ(LinkTarget("http://www.example.com/"), "http://www.example.com/");
}

TEST(OpenLinkTest, FailureRaisesWithTheSystemsReasonAndRestoresTheCursor) {
  try {
    OpenLink("Z:\\no\\such\\folder\\orvane-missing.document");
    FAIL() << "a missing file opened";
  } catch (const Exception& error) {
    const std::string text = error.Message();
    EXPECT_EQ(text.rfind("Error redirecting to link (", 0), 0u) << text;
    EXPECT_EQ(text.back(), ')');
    EXPECT_GT(text.size(), std::string("Error redirecting to link ()").size());
  }
  EXPECT_EQ(TBusyCursor::Depth(), 0);
}

TEST(MessageBoxTest, TestsAnswerInsteadOfAUser) {
  std::string seen;
  {
    TMessageBoxAnswers outer([](const std::string&, const std::string&, UINT) { return IDNO; });
    {
      TMessageBoxAnswers answers(
          [&](const std::string& text, const std::string& caption, UINT flags) {
            seen = caption + ": " + text + ((flags & MB_ICONWARNING) ? " (warning)" : "");
            return IDYES;
          });
      EXPECT_EQ(ShowMessageBox("Delete?", kAppTitle, MB_YESNO | MB_ICONWARNING), IDYES);
    }
    // The answers before come back when the inner ones go.
    EXPECT_EQ(ShowMessageBox("Delete?", kAppTitle, MB_YESNO), IDNO);
  }
  EXPECT_EQ(seen, "Orvane 2008: Delete? (warning)");
}

TEST(MessageFontTest, WindowTakesItAndSize8ControlsTakeItsFace) {
  const LOGFONTA system = MessageLogFont();
  ASSERT_NE(system.lfFaceName[0], '\0');
  TTestForm form;
  auto& panel = form.Create<TPanel>("pnlA", &form);
  auto& inherits = form.Create<TLabel>("lblInherits", &panel);
  auto& small = form.Create<TLabel>("lblSmall", &panel);
  auto& large = form.Create<TLabel>("lblLarge", &panel);
  TFont font;
  font.Name = "Courier New";
  font.Bold = true;
  small.SetFont(font);
  font.Size = 12;
  large.SetFont(font);

  ApplyMessageFont(form);
  EXPECT_EQ(form.Font().Name, system.lfFaceName);
  EXPECT_EQ(form.Font().Size, FontPointSize(system));
  EXPECT_EQ(inherits.Font().Name, system.lfFaceName);
  EXPECT_EQ(small.Font().Name, system.lfFaceName);
  EXPECT_TRUE(small.Font().Bold);  // only face and character set change
  EXPECT_EQ(large.Font().Name, "Courier New");
  EXPECT_EQ(large.Font().Size, 12);
}

TEST(BusyCursorTest, RestoredOnEveryPath) {
  try {
    TBusyCursor outer;
    TBusyCursor inner;
    EXPECT_EQ(TBusyCursor::Depth(), 2);
    throw Exception("failed while busy");
  } catch (const Exception&) {
  }
  EXPECT_EQ(TBusyCursor::Depth(), 0);
}

}  // namespace
}  // namespace orvane::testing
