#include "controls/edit_controls.h"

#include <gtest/gtest.h>

#include "controls/application.h"
#include "controls/std_controls.h"
#include "platform/win32/window_helpers.h"
#include "test_form.h"
#include "tests/support/clicks.h"

namespace orvane::testing {
namespace {

TEST(ComboBoxTest, ItemsAreLinesForTheLanguageFiles) {
  TTestForm form;
  auto& combo = form.Create<TComboBox>("cbFileType", &form);
  combo.SetItems({"by type", "by extension"});
  combo.SetItemIndex(1);
  EXPECT_EQ(form.GetPropertyPath("cbFileType.Items"), "by type\r\nby extension\r\n");
  form.SetPropertyPath("cbFileType.Items", "nach Typ\r\nnach Endung");
  EXPECT_EQ(combo.Items(), (std::vector<std::string>{"nach Typ", "nach Endung"}));
  EXPECT_EQ(combo.ItemIndex(), 1);  // the choice survives the translation
  form.SetPropertyPath("cbFileType.Items", "nur eins");
  EXPECT_EQ(combo.ItemIndex(), -1);  // the chosen line is gone
}

TEST(CheckBoxTest, MirrorsItsActionsCheckedState) {
  TTestForm form;
  auto& list = form.Create<TActionList>("alMain");
  auto& action = list.Add("actShellExt", "Enable dynamic items", "ActiveX");
  auto& check = form.Create<TCheckBox>("chkShellExt", &form);
  check.SetAction(&action);
  action.SetChecked(true);
  EXPECT_TRUE(check.Checked());
  action.SetChecked(false);
  EXPECT_FALSE(check.Checked());
}

TEST(EditTest, TextAndChangeEvent) {
  TTestForm form;
  auto& edit = form.Create<TEdit>("edCaption", &form);
  int changes = 0;
  edit.OnChange = [&] { ++changes; };
  edit.SetText("Open with Notepad");
  EXPECT_EQ(edit.Text(), "Open with Notepad");
  EXPECT_EQ(changes, 1);
}

TEST(LabelTest, ClickFocusesItsControlAndSelectsItsText) {
  TTestForm form;
  form.SetClientSize(300, 100);
  form.Show();
  auto& label = form.Create<TLabel>("lblCaption", &form);
  label.SetBounds(8, 8, 60, 16);
  auto& edit = form.Create<TEdit>("edCaption", &form);
  edit.SetBounds(80, 8, 150, 21);
  edit.SetText("Open with Notepad");
  label.SetFocusControl(&edit);
  Click(label);
  EXPECT_TRUE(edit.Focused());
  DWORD start = 0, end = 0;
  SendMessageA(edit.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 17u);

  edit.SetEnabled(false);  // a disabled control cannot take the focus
  form.SetFocus();
  Click(label);
  EXPECT_FALSE(edit.Focused());
}

TEST(ModalFormTest, RunsUntilAResultIsSet) {
  TTestForm dialog(TForm::TStyle{TBorderStyle::Dialog, false, false, false});
  auto& ok = dialog.Create<TButton>("btnOK", &dialog);
  ok.SetBounds(10, 10, 75, 25);
  ok.OnClick = [&] { dialog.SetModalResult(IDOK); };
  PostMessageA(ok.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.ShowModal(), IDOK);
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));

  PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);  // the close box answers Cancel
  EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
}

TEST(BusyCursorTest, WindowsKeepTheHourglassWhileBusy) {
  TTestForm form;
  form.Show();
  {
    TBusyCursor busy;
    SendMessageA(form.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
  }
  EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
}

}  // namespace
}  // namespace orvane::testing
