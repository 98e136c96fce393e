#include "controls/component.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controls/category_buttons.h"
#include "controls/panels.h"
#include "controls/std_controls.h"
#include "test_form.h"
// After windows.h, which it builds on.
#include <commctrl.h>

namespace orvane::testing {
namespace {

using ::testing::ElementsAre;

TEST(PropertyPathTest, ReachesControlsAnywhereInTheWindowIgnoringCase) {
  TTestForm form;
  auto& panel = form.Create<TPanel>("pnlBottom", &form);
  auto& button = form.Create<TButton>("btnOK", &panel);
  button.SetCaption("OK");
  form.SetPropertyPath("BTNOK.Caption", "Okay");
  EXPECT_EQ(button.Caption(), "Okay");
  char text[32] = {};
  GetWindowTextA(button.Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Okay");  // what the user sees follows
  form.SetPropertyPath("btnOK.Hint", "|OK button");
  EXPECT_EQ(form.GetPropertyPath("btnOK.Hint"), "|OK button");
  form.SetPropertyPath("Caption", "Window");
  EXPECT_EQ(form.GetPropertyPath("Caption"), "Window");
}

TEST(PropertyPathTest, NestedObjectsByIndex) {
  TTestForm form;
  auto& selector = form.Create<TCategoryButtons>("CategoryButtons1", &form);
  auto& category = selector.AddCategory("Context menu tools");
  category.AddItem("Static Items");
  category.AddItem("Submenu Items");
  form.SetPropertyPath("CategoryButtons1.Categories(0).Items(1).Caption", "Submenus");
  EXPECT_EQ(category.Items(1).Caption(), "Submenus");
  EXPECT_EQ(form.GetPropertyPath("CategoryButtons1.Categories(0).Caption"), "Context menu tools");
}

TEST(PropertyPathTest, UnknownPathsRaiseOnWriteAndReadAsNothing) {
  TTestForm form;
  form.Create<TButton>("btnOK", &form);
  EXPECT_THROW(form.SetPropertyPath("btnNone.Caption", "x"), EComponentError);
  EXPECT_THROW(form.SetPropertyPath("btnOK.Colour", "x"), EComponentError);
  EXPECT_THROW(form.SetPropertyPath("btnOK.Items(7).Caption", "x"), EComponentError);
  EXPECT_EQ(form.GetPropertyPath("btnNone.Caption"), std::nullopt);
  EXPECT_EQ(form.GetPropertyPath(""), std::nullopt);
}

TEST(ComponentTest, DuplicateNamesInOneWindowAreRefused) {
  TTestForm form;
  form.Create<TButton>("btnOK", &form);
  EXPECT_THROW(form.Create<TLabel>("btnok", &form), EComponentError);
  EXPECT_EQ(form.ComponentCount(), 1);
}

TEST(ComponentTest, OwnerFreesChildrenBeforeTheirParentWindows) {
  // Components created in any order against their parents must free cleanly.
  auto form = std::make_unique<TTestForm>();
  auto& panel = form->Create<TPanel>("pnlA", form.get());
  auto& inner = form->Create<TPanel>("pnlB", &panel);
  form->Create<TButton>("btnA", &inner);
  form->Create<TLabel>("lblA", &panel);
  HWND panelWindow = panel.Handle();
  form.reset();
  EXPECT_FALSE(IsWindow(panelWindow));
}

// Messages find their object through the window; a window that is gone, or not ours,
// must find none, even when its handle comes round again.
TEST(ComponentTest, OnlyLiveWindowsOfOursLeadToTheirControls) {
  auto form = std::make_unique<TTestForm>();
  auto& panel = form->Create<TPanel>("pnlA", form.get());
  auto& button = form->Create<TButton>("btnA", &panel);
  const HWND buttonWindow = button.Handle();
  EXPECT_EQ(TWinControl::FromHandle(buttonWindow), &button);
  EXPECT_EQ(TWinControl::FromHandle(GetDesktopWindow()), nullptr);

  DestroyWindow(panel.Handle());  // the button's window goes with it, the objects stay
  EXPECT_EQ(TWinControl::FromHandle(buttonWindow), nullptr);
  EXPECT_EQ(button.Handle(), nullptr);

  const HWND formWindow = form->Handle();
  form.reset();
  EXPECT_EQ(TWinControl::FromHandle(formWindow), nullptr);
}

TEST(HintTest, ShortAndLongParts) {
  EXPECT_EQ(GetShortHint("Save|Saves the file"), "Save");
  EXPECT_EQ(GetLongHint("Save|Saves the file"), "Saves the file");
  EXPECT_EQ(GetShortHint("Choose interface language"), "Choose interface language");
  EXPECT_EQ(GetLongHint("Choose interface language"), "Choose interface language");
  EXPECT_EQ(GetShortHint("|OK button"), "");
  EXPECT_EQ(GetLongHint("a|b|c"), "b|c");
}

int ToolCount(const TForm& form) {
  return form.Tooltip() ? static_cast<int>(SendMessageA(form.Tooltip(), TTM_GETTOOLCOUNT, 0, 0))
                        : 0;
}

std::string ToolText(const TForm& form, HWND owner, UINT_PTR id) {
  char text[80] = {};
  TTTOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = owner;
  tool.uId = id;
  tool.lpszText = text;
  SendMessageA(form.Tooltip(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
  return text;
}

TEST(HintTest, ShortHintsShowAsTooltips) {
  TTestForm form;
  auto& panel = form.Create<TPanel>("pnlTop", &form);
  auto& button = form.Create<TButton>("btnSave", &panel);
  button.SetHint("Save|Saves the menu file");
  auto& flat = form.Create<TSpeedButton>("spbLanguage", &panel);
  flat.SetBounds(10, 10, 60, 20);
  flat.SetHint("Choose interface language");
  auto& ok = form.Create<TButton>("btnOK", &panel);
  ok.SetHint("|OK button\r\nCloses Orvane.");  // no short part: no tooltip
  ASSERT_EQ(ToolCount(form), 2);
  EXPECT_EQ(ToolText(form, form.Handle(), reinterpret_cast<UINT_PTR>(button.Handle())), "Save");
  EXPECT_EQ(ToolText(form, panel.Handle(), reinterpret_cast<UINT_PTR>(&flat)),
            "Choose interface language");
  button.SetHint("Store|Saves the menu file");
  EXPECT_EQ(ToolCount(form), 2);
  EXPECT_EQ(ToolText(form, form.Handle(), reinterpret_cast<UINT_PTR>(button.Handle())), "Store");
  button.SetHint("");
  EXPECT_EQ(ToolCount(form), 1);
}

TEST(HintTest, LinesSplitAtEveryKindOfBreak) {
  EXPECT_THAT(SplitLines("a\r\nb\nc\rd"), ElementsAre("a", "b", "c", "d"));
  EXPECT_THAT(SplitLines("a\r\n\r\nb\r\n"), ElementsAre("a", "", "b"));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(HintTest, IndexedNames) {
  EXPECT_EQ(SplitIndexedName("Items(3)"), std::make_pair(std::string("Items"), 3));
  EXPECT_EQ(SplitIndexedName("Items"), std::make_pair(std::string("Items"), -1));
  EXPECT_EQ(SplitIndexedName("Items(x)"), std::make_pair(std::string("Items(x)"), -1));
  EXPECT_EQ(SplitIndexedName("Items()"), std::make_pair(std::string("Items()"), -1));
}

}  // namespace
}  // namespace orvane::testing
