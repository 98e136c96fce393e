// The colour list: its entries, what SelectedColor reads and chooses, the "Custom" entry
// and its dialog, typing by prefix (the rules key by key, then in a real list) and
// entries drawn with their swatches.

#include "controls/color_combo_box.h"

#include <gtest/gtest.h>

#include "test_form.h"
#include "tests/support/screenshot.h"

namespace orvane::testing {
namespace {

TEST(TypedPrefixTest, LettersNarrowBackspaceWidensAndAMissBeepsKeepingThePrefix) {
  const std::vector<std::string> names = {"Default", "Black", "Blue", "Green", "Gray"};
  TTypedPrefix typing([&](const std::string& prefix) {
    for (std::size_t i = 0; i < names.size(); ++i)
      if (_strnicmp(names[i].c_str(), prefix.c_str(), prefix.size()) == 0) return static_cast<int>(i);
    return -1;
  });
  EXPECT_EQ(typing.Char('b').Select, 1);
  EXPECT_EQ(typing.Char('L').Select, 1);
  TTypedKey u = typing.Char('u');
  EXPECT_EQ(u.Select, 2);
  EXPECT_TRUE(u.RestartTimer);
  EXPECT_EQ(typing.Prefix(), "bLu");  // as typed; the search ignores case
  TTypedKey miss = typing.Char('x');
  EXPECT_TRUE(miss.Beep);
  EXPECT_EQ(miss.Select, -1);
  EXPECT_TRUE(miss.RestartTimer);
  EXPECT_EQ(typing.Prefix(), "bLu");
  EXPECT_EQ(typing.Backspace().Select, 1);  // "bl": Black comes first
  EXPECT_EQ(typing.Backspace().Select, 1);  // "b"
  TTypedKey emptied = typing.Backspace();
  EXPECT_EQ(emptied.Select, 0);
  EXPECT_TRUE(emptied.PassOn);
  TTypedKey nothingLeft = typing.Backspace();
  EXPECT_TRUE(nothingLeft.Beep);
  EXPECT_EQ(nothingLeft.Select, -1);
  typing.Char('g');
  typing.Reset();
  EXPECT_EQ(typing.Prefix(), "");
  EXPECT_EQ(typing.Escape().Select, 0);
}

class ColorComboBoxTest : public ::testing::Test {
protected:
  ColorComboBoxTest() {
    form.SetClientSize(300, 200);
    list.SetBounds(10, 10, 180, 300);
    list.OnChange = [this] { ++changes; };
  }
  void Type(char c) { SendMessageA(list.Handle(), WM_CHAR, static_cast<unsigned char>(c), 0); }
  // What the list's reset timer does when it fires; true when it was running.
  bool FireResetTimer() {
    bool running = KillTimer(list.Handle(), 1) != FALSE;
    SendMessageA(list.Handle(), WM_TIMER, 1, 0);
    return running;
  }
  void Choose(int index) {
    list.SetItemIndex(index);
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list.Handle()));
  }

  TTestForm form;
  TAdvColorComboBox& list = form.Create<TAdvColorComboBox>("cbColor", &form);
  int changes = 0;
};

TEST_F(ColorComboBoxTest, EntriesFollowTheShowSwitches) {
  EXPECT_EQ(list.ItemCount(), 1 + 16 + 25 + 1);
  EXPECT_EQ(list.ItemIndex(), 0);
  EXPECT_EQ(list.EntryName(0), "Default");
  EXPECT_EQ(list.EntryName(1), "Black");
  EXPECT_EQ(list.EntryName(17), "ScrollBar");
  EXPECT_EQ(list.EntryColor(17 + 15), kSysColorBase + 15);
  EXPECT_EQ(list.EntryName(42), "Custom");
  TColorNames names = list.ColorNames();
  names.Standard[0] = "Schwarz";
  list.SetColorNames(names);
  list.SetShowSysColors(false);
  EXPECT_EQ(list.ItemCount(), 18);
  EXPECT_EQ(list.EntryName(1), "Schwarz");  // the names given stay in use
  list.SetShowDefaultColor(false);
  EXPECT_EQ(list.EntryName(0), "Schwarz");
  list.SetShowCustomColor(false);
  EXPECT_EQ(list.ItemCount(), 16);
}

TEST_F(ColorComboBoxTest, SelectedColorPicksTheFirstMatchOrTheCustomEntry) {
  list.SetSelectedColor(0x808080);
  EXPECT_EQ(list.EntryName(list.ItemIndex()), "Gray");
  EXPECT_EQ(changes, 1);
  list.SetSelectedColor(kSysColorBase + 15);
  EXPECT_EQ(list.EntryName(list.ItemIndex()), "BtnFace");
  list.SetShowSysColors(false);
  list.SetSelectedColor(kSysColorBase + 15);
  EXPECT_EQ(list.EntryName(list.ItemIndex()), "Custom");
  EXPECT_EQ(list.CustomColor(), kSysColorBase + 15);
  EXPECT_EQ(list.SelectedColor(), kSysColorBase + 15);
  EXPECT_EQ(changes, 3);
  // A default that is a standard colour too comes first.
  list.SetDefaultColor(0x0000FF);
  list.SetSelectedColor(0x0000FF);
  EXPECT_EQ(list.ItemIndex(), 0);
  list.SetItemIndex(-1);
  EXPECT_EQ(list.SelectedColor(), 0x0000FFu);
}

TEST_F(ColorComboBoxTest, CustomEntryRunsTheDialogAndCancellingKeepsItsColour) {
  int runs = 0;
  bool confirm = true;
  list.RunColorDialog = [&](COLORREF& colour, std::array<COLORREF, 16>& custom) {
    ++runs;
    colour = RGB(1, 2, 3);
    custom[0] = RGB(9, 9, 9);
    return confirm;
  };
  Choose(list.ItemCount() - 1);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(list.CustomColor(), static_cast<TColorValue>(RGB(1, 2, 3)));
  EXPECT_EQ(list.SelectedColor(), static_cast<TColorValue>(RGB(1, 2, 3)));
  EXPECT_EQ(list.CustomColors[0], RGB(9, 9, 9));
  confirm = false;
  list.CustomColors[0] = 0;
  Choose(list.ItemCount() - 1);
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(list.CustomColor(), static_cast<TColorValue>(RGB(1, 2, 3)));
  EXPECT_EQ(list.CustomColors[0], 0u);
  // A drop-down closed by cancelling opens no dialog.
  SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELENDCANCEL),
               reinterpret_cast<LPARAM>(list.Handle()));
  Choose(list.ItemCount() - 1);
  EXPECT_EQ(runs, 2);
  // Another entry opens none either.
  Choose(3);
  EXPECT_EQ(runs, 2);
}

TEST_F(ColorComboBoxTest, TypedPrefixChoosesAndTheTimerStartsANewOne) {
  list.SetShowDefaultColor(false);
  Type('b');
  Type('l');
  EXPECT_EQ(list.EntryName(list.ItemIndex()), "Black");
  Type('u');
  EXPECT_EQ(list.EntryName(list.ItemIndex()), "Blue");
  EXPECT_EQ(list.TypedPrefix(), "blu");
  EXPECT_EQ(changes, 3);
  // A letter no name continues: no choice, the prefix as it was.
  Type('q');
  EXPECT_EQ(list.EntryName(list.ItemIndex()), "Blue");
  EXPECT_EQ(list.TypedPrefix(), "blu");
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(FireResetTimer());
  EXPECT_EQ(list.TypedPrefix(), "");
  Type('g');
  EXPECT_EQ(list.EntryName(list.ItemIndex()), "Green");
  Type('\x1b');
  EXPECT_EQ(list.ItemIndex(), 0);
  FireResetTimer();
  EXPECT_FALSE(FireResetTimer());  // stopped once fired
}

TEST_F(ColorComboBoxTest, EntriesAreDrawnWithTheirSwatches) {
  form.Show();
  list.SetSelectedColor(0x0000FF);
  UpdateWindow(form.Handle());
  // The closed list shows the chosen entry: its swatch at the left holds the colour.
  HDC dc = GetDC(list.Handle());
  RECT field{};
  GetClientRect(list.Handle(), &field);
  COLORREF swatch = GetPixel(dc, 8, (field.bottom - field.top) / 2);
  ReleaseDC(list.Handle(), dc);
  EXPECT_EQ(swatch, RGB(255, 0, 0));
  SaveScreenshot(form.Handle(), "color_combo_box");
}

}  // namespace
}  // namespace orvane::testing
