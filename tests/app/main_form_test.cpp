// The main window as a user meets it: captions, pages and their descriptions, the
// buttons' states, the keyboard, quick hints, and closing.

#include <gmock/gmock.h>

#include "app_fixture.h"
#include "platform/messages.h"
#include "tests/support/clicks.h"

namespace orvane::testing {
namespace {

const char* const kDescriptions[] = {
    "Manages static items of file objects context menus.\r\nStatic menu items are stored in the "
    "registry and very easy to handle by File Manager.",
    "Manages dynamic items of file objects context menus.\r\nDynamic items require to load a "
    "shell extension DLL when menu is about to be displayed.",
    "Unused static menu items cleanup.\r\nStatic menu items are deleted permanently from the "
    "registry.",
    "Unused context menu extensions cleanup.\r\nShell extension entries are deleted permanently "
    "from the registry."};

std::string WindowText(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// A click on button n of the page selector, where the user sees it.
void ClickPageButton(TfrmMain& form, int index) {
  Click(form.CategoryButtons1.Handle(), CentreOf(form.CategoryButtons1.ButtonRect(index)));
}

// Presses a key with the given modifiers held, through the program's message loop.
void PressKey(HWND target, WORD key, bool control, bool shift) {
  BYTE state[256];
  GetKeyboardState(state);
  BYTE changed[256];
  std::copy(std::begin(state), std::end(state), changed);
  changed[VK_CONTROL] = control ? 0x80 : 0;
  changed[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(changed);
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  Application().ProcessMessages();
  SetKeyboardState(state);
}

TEST_F(MainWindowTest, FirstSightOfTheWindow) {
  auto form = CreateMainWindow();
  EXPECT_EQ(WindowText(form->Handle()), "Orvane 2008");
  EXPECT_FALSE(form->Loading());
  RECT client;
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 916);
  EXPECT_EQ(client.bottom, 413);
  const LONG style = GetWindowLongA(form->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);

  EXPECT_EQ(form->lblCaption.Caption(), "Context menu management");
  EXPECT_EQ(form->lblF1Hint.Caption(), "Press F1 on dialog's control to get quick hint.");
  EXPECT_EQ(WindowText(form->btnOK.Handle()), "OK ");
  EXPECT_EQ(WindowText(form->btnCancel.Handle()), "Cancel");
  EXPECT_EQ(WindowText(form->btnApply.Handle()), "Apply");
  EXPECT_TRUE(IsWindowEnabled(form->btnOK.Handle()));
  EXPECT_FALSE(IsWindowEnabled(form->btnApply.Handle()));  // nothing to apply yet
  EXPECT_EQ(form->spbCheckUpdates.Caption(), "Check for Updates");
  EXPECT_FALSE(form->spbLanguage.Visible());  // one language only

  auto& category = form->CategoryButtons1.Categories(0);
  EXPECT_EQ(category.Caption(), "Context menu tools");
  ASSERT_EQ(category.Count(), 4);
  EXPECT_EQ(category.Items(3).Caption(), "Shell Extensions Cleanup");
  EXPECT_EQ(form->pgcMain.ActivePage(), &form->tshtStaticMenus);
  EXPECT_EQ(form->CategoryButtons1.SelectedIndex(), 0);
  EXPECT_EQ(form->lblTabDescr.Caption(), kDescriptions[0]);
  for (int i = 0; i < form->pgcMain.PageCount(); ++i) {
    EXPECT_FALSE(form->pgcMain.Pages(i).TabVisible());
  }
  EXPECT_EQ(form->ExecutablePath().substr(form->ExecutablePath().size() - 4), ".exe");
  EXPECT_FALSE(SaveScreenshot(form->Handle(), "main_window").empty());
}

TEST_F(MainWindowTest, PageSelectorChoosesPagesAndTheirDescriptions) {
  auto form = CreateMainWindow();
  form->Show();
  const TTabSheet* pages[] = {&form->tshtStaticMenus, &form->tshtActiveXMenus, &form->tshtCleanup,
                              &form->TabSheet2};
  for (int i : {2, 1, 3, 0}) {
    ClickPageButton(*form, i);
    EXPECT_EQ(form->pgcMain.ActivePage(), pages[i]) << i;
    EXPECT_EQ(form->lblTabDescr.Caption(), kDescriptions[i]) << i;
    // Set anew with each page, the description still ends before the buttons on the right.
    EXPECT_LT(form->lblTabDescr.BoundsRect().right, form->spbAbout.Left()) << i;
  }
  EXPECT_TRUE(form->ShellExtCleanupShown());
  ClickPageButton(*form, 2);
  SaveScreenshot(form->Handle(), "main_window_cleanup_page");
}

TEST_F(MainWindowTest, Windows64MarksThePagesThatWorkOnTheRegistry) {
  auto form = CreateMainWindow(true);
  form->Show();
  EXPECT_EQ(form->lblTabDescr.Caption(), std::string(kDescriptions[0]) + " [WOW64]");
  ClickPageButton(*form, 1);
  EXPECT_EQ(form->lblTabDescr.Caption(), kDescriptions[1]);  // the menu file, not the registry
  ClickPageButton(*form, 2);
  EXPECT_EQ(form->lblTabDescr.Caption(), std::string(kDescriptions[2]) + " [WOW64]");
  ClickPageButton(*form, 3);
  EXPECT_EQ(form->lblTabDescr.Caption(), std::string(kDescriptions[3]) + " [WOW64]");
  SaveScreenshot(form->Handle(), "main_window_wow64");
}

TEST_F(MainWindowTest, CtrlTabWalksThePagesBothWaysAndWraps) {
  auto form = CreateMainWindow();
  form->Show();
  form->btnOK.SetFocus();
  PressKey(form->btnOK.Handle(), VK_TAB, true, false);
  EXPECT_EQ(form->pgcMain.ActivePageIndex(), 1);
  EXPECT_EQ(form->CategoryButtons1.SelectedIndex(), 1);  // the selector follows
  EXPECT_EQ(form->lblTabDescr.Caption(), kDescriptions[1]);
  PressKey(form->btnOK.Handle(), VK_TAB, true, true);
  PressKey(form->btnOK.Handle(), VK_TAB, true, true);
  EXPECT_EQ(form->pgcMain.ActivePageIndex(), 3);
  PressKey(form->btnOK.Handle(), VK_TAB, true, false);
  EXPECT_EQ(form->pgcMain.ActivePageIndex(), 0);
  form->btnOK.SetFocus();  // the page took the focus
  PressKey(form->btnOK.Handle(), VK_TAB, false, false);  // plain Tab moves the focus only
  EXPECT_EQ(form->pgcMain.ActivePageIndex(), 0);
  EXPECT_NE(GetFocus(), form->btnOK.Handle());
  EXPECT_NE(form->ActiveControl(), nullptr);
}

TEST_F(MainWindowTest, F1ExplainsTheFocusedControl) {
  auto form = CreateMainWindow();
  form->Show();
  form->btnCancel.SetFocus();
  PressKey(form->btnCancel.Handle(), VK_F1, false, false);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, "Cancel button");
  EXPECT_EQ(boxes[0].Text, "Closes Orvane with all changes cancelled.");
  EXPECT_TRUE(boxes[0].Flags & MB_ICONINFORMATION);

  PressKey(form->btnCancel.Handle(), VK_F1, true, false);  // with a modifier: no hint
  EXPECT_EQ(boxes.size(), 1u);

  form->btnApply.SetEnabled(true);  // as after a change
  form->btnApply.SetFocus();
  form->actQuickHint.Execute();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].Caption, "Apply button");
  EXPECT_EQ(boxes[1].Text, "Saves all changes without exiting Orvane.");
}

TEST_F(MainWindowTest, QuickHintOfHintsWithoutBarOrLines) {
  auto form = CreateMainWindow();
  form->ShowQuickHint(&form->spbLanguage);  // a whole hint is its own long part
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, "Choose interface language");
  EXPECT_EQ(boxes[0].Text, "");
  form->ShowQuickHint(&form->lblF1Hint);  // no hint: nothing to show
  form->ShowQuickHint(nullptr);
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(MainWindowTest, RegistryBugsButtonOnlyWhenTheScanFoundFaults) {
  {
    auto form = CreateMainWindow();
    EXPECT_FALSE(form->spbBugs.Visible());
    EXPECT_FALSE(form->actRegistryBugs.Enabled());
  }
  ImportRegText(registry, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.gone]\n@=\"nothing\"\n");
  auto form = CreateMainWindow();
  EXPECT_TRUE(form->spbBugs.Visible());
  EXPECT_TRUE(form->actRegistryBugs.Enabled());
  EXPECT_EQ(form->spbBugs.Caption(), "Registry Bugs !");
  SaveScreenshot(form->Handle(), "main_window_registry_bugs");
}

TEST_F(MainWindowTest, IdlePassReevaluatesTheCommands) {
  auto form = CreateMainWindow();
  form->actApply.SetEnabled(true);
  form->IdleUpdate();
  EXPECT_FALSE(form->actApply.Enabled());
  EXPECT_FALSE(IsWindowEnabled(form->btnApply.Handle()));
  int tabUpdates = 0;
  form->actNextPage.OnUpdate = [&](TAction&) { ++tabUpdates; };
  form->IdleUpdate();
  EXPECT_EQ(tabUpdates, 0);  // "Tab" is not part of the idle pass
  ClickPageButton(*form, 1);
  EXPECT_EQ(tabUpdates, 1);  // a page change re-evaluates every command
}

TEST_F(MainWindowTest, CancelClosesTheWindowAndStoresItsPlacement) {
  auto form = CreateMainWindow();
  Application().SetMainForm(form.get());
  form->Show();
  SendMessageA(form->btnCancel.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(boxes.empty());  // nothing pending: no question
  Application().ProcessMessages();
  EXPECT_TRUE(Application().Terminated());

  char value[64] = {};
  GetPrivateProfileStringA("Orvane", "NormPos", "", value, sizeof value, menuFile.c_str());
  RECT rect;
  GetWindowRect(form->Handle(), &rect);
  EXPECT_EQ(std::string(value),
            Format("%d,%d,%d,%d",
                   {static_cast<long long>(rect.left), static_cast<long long>(rect.top),
                    static_cast<long long>(rect.right), static_cast<long long>(rect.bottom)}));
}

TEST_F(MainWindowTest, TranslatableThroughPropertyPaths) {
  auto form = CreateMainWindow();
  EXPECT_EQ(form->ClassName(), "TfrmMain");
  form->SetPropertyPath("btnCancel.Caption", "Abbrechen");
  EXPECT_EQ(WindowText(form->btnCancel.Handle()), "Abbrechen");
  form->SetPropertyPath("CategoryButtons1.Categories(0).Items(0).Caption", "Statische");
  EXPECT_EQ(form->CategoryButtons1.Categories(0).Items(0).Caption(), "Statische");
  form->SetPropertyPath("actApply.Caption", "Anwenden");
  EXPECT_EQ(WindowText(form->btnApply.Handle()), "Anwenden");  // the button mirrors it
  EXPECT_EQ(form->GetPropertyPath("tshtCleanup.Caption"), "Static Items Cleanup");
}

}  // namespace
}  // namespace orvane::testing
