// Alignment, anchors, pages, the page selector and rows of speed buttons.

#include <gtest/gtest.h>

#include "controls/button_row.h"
#include "controls/category_buttons.h"
#include "controls/edit_controls.h"
#include "controls/page_control.h"
#include "controls/panels.h"
#include "controls/std_controls.h"
#include "test_form.h"
#include "tests/support/clicks.h"

namespace orvane::testing {
namespace {

RECT WindowBounds(const TWinControl& control) {
  RECT rect;
  GetWindowRect(control.Handle(), &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control.Handle()), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST(LayoutTest, AlignedPanelsShareTheClientArea) {
  TTestForm form;
  form.SetClientSize(400, 300);
  auto& top = form.Create<TPanel>("pnlTop", &form);
  top.SetBounds(0, 0, 10, 50);
  top.SetAlign(TAlign::Top);
  auto& bottom = form.Create<TPanel>("pnlBottom", &form);
  bottom.SetBounds(0, 0, 10, 40);
  bottom.SetAlign(TAlign::Bottom);
  auto& left = form.Create<TPanel>("pnlLeft", &form);
  left.SetBounds(0, 0, 100, 10);
  left.SetAlign(TAlign::Left);
  auto& client = form.Create<TPanel>("pnlClient", &form);
  client.SetAlign(TAlign::Client);

  RECT rect = WindowBounds(client);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 50);
  EXPECT_EQ(rect.right, 400);
  EXPECT_EQ(rect.bottom, 260);
  rect = WindowBounds(bottom);
  EXPECT_EQ(rect.top, 260);
  EXPECT_EQ(rect.right, 400);

  form.SetClientSize(500, 350);
  rect = WindowBounds(client);
  EXPECT_EQ(rect.right, 500);
  EXPECT_EQ(rect.bottom, 310);

  top.SetVisible(false);  // a hidden panel gives its room away
  EXPECT_EQ(WindowBounds(left).top, 0);
}

TEST(LayoutTest, RightAnchoredButtonsKeepTheirDistance) {
  TTestForm form;
  form.SetClientSize(400, 300);
  auto& button = form.Create<TButton>("btnOK", &form);
  button.SetBounds(317, 270, 75, 25);
  button.SetAnchors({false, false, true, true});
  form.SetClientSize(600, 400);
  RECT rect = WindowBounds(button);
  EXPECT_EQ(rect.left, 517);
  EXPECT_EQ(rect.top, 370);
  EXPECT_EQ(rect.right - rect.left, 75);
}

TEST(PageControlTest, OnePageShowsAndNextPageWrapsAround) {
  TTestForm form;
  auto& pages = form.Create<TPageControl>("pgcMain", &form);
  pages.SetAlign(TAlign::Client);
  auto& a = form.Create<TTabSheet>("tshtA", pages);
  auto& b = form.Create<TTabSheet>("tshtB", pages);
  auto& c = form.Create<TTabSheet>("tshtC", pages);
  b.SetTabVisible(false);  // hidden tabs still count
  int changes = 0;
  pages.OnChange = [&] { ++changes; };
  EXPECT_EQ(pages.ActivePage(), &a);
  EXPECT_TRUE(IsWindowVisible(a.Handle()) || !IsWindowVisible(form.Handle()));
  EXPECT_FALSE(GetWindowLongA(b.Handle(), GWL_STYLE) & WS_VISIBLE);
  pages.SelectNextPage(true);
  EXPECT_EQ(pages.ActivePage(), &b);
  EXPECT_TRUE(GetWindowLongA(b.Handle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongA(a.Handle(), GWL_STYLE) & WS_VISIBLE);
  pages.SelectNextPage(true);
  pages.SelectNextPage(true);
  EXPECT_EQ(pages.ActivePage(), &a);
  pages.SelectNextPage(false);
  EXPECT_EQ(pages.ActivePage(), &c);
  EXPECT_EQ(changes, 4);
  pages.SetActivePage(&c);
  EXPECT_EQ(changes, 4);  // no change, no event
}

TEST(CategoryButtonsTest, ClickSelectsAndReports) {
  TTestForm form;
  form.SetClientSize(300, 300);
  auto& selector = form.Create<TCategoryButtons>("CategoryButtons1", &form);
  selector.SetAlign(TAlign::Client);
  auto& category = selector.AddCategory("Context menu tools");
  category.AddItem("Static Items");
  category.AddItem("Submenu Items");
  int clicked = -1;
  selector.OnButtonClicked = [&](int index) { clicked = index; };
  selector.SetSelectedIndex(0);
  EXPECT_EQ(clicked, -1);  // selecting is no click
  Press(selector.Handle(), CentreOf(selector.ButtonRect(1)));
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(selector.SelectedIndex(), 1);
  const RECT last = selector.ButtonRect(1);
  Press(selector.Handle(), POINT{CentreOf(last).x, last.bottom + 20});
  EXPECT_EQ(selector.SelectedIndex(), 1);  // below the buttons: nothing changes
  selector.SetSelectedIndex(7);
  EXPECT_EQ(selector.SelectedIndex(), -1);
}

TEST(SpeedButtonTest, ClickNeedsPressAndReleaseOnTheButton) {
  TTestForm form;
  form.SetClientSize(200, 100);
  auto& button = form.Create<TSpeedButton>("spbAbout", &form);
  button.SetBounds(10, 10, 60, 24);
  int clicks = 0;
  button.OnClick = [&] { ++clicks; };
  Click(button);
  EXPECT_EQ(clicks, 1);
  const TClickSpot spot = ClickSpotOf(button);
  Press(spot.Window, CentreOf(spot.Rect));
  Release(spot.Window, POINT{spot.Rect.right + 20, spot.Rect.bottom + 20});  // elsewhere
  EXPECT_EQ(clicks, 1);
  button.SetEnabled(false);
  Click(button);
  EXPECT_EQ(clicks, 1);
}

// A details panel frames itself while one of its fields has the focus; its buttons and
// check boxes, and fields elsewhere, do not count.
TEST(PanelTest, FocusFrameWhileAFieldOfThePanelHasTheFocus) {
  TTestForm form;
  form.SetClientSize(300, 200);
  auto& panel = form.Create<TPanel>("pnlDetails", &form);
  panel.SetBounds(0, 0, 300, 120);
  panel.SetFocusFrame(true);
  auto& field = form.Create<TEdit>("edName", &panel);
  field.SetBounds(8, 8, 200, 22);
  auto& box = form.Create<TCheckBox>("chkActive", &panel);
  box.SetBounds(8, 40, 100, 20);
  auto& outside = form.Create<TEdit>("edOther", &form);
  outside.SetBounds(8, 150, 200, 22);
  form.Show();

  field.SetFocus();
  EXPECT_EQ(panel.BevelOuter(), TBevel::Lowered);
  box.SetFocus();
  EXPECT_EQ(panel.BevelOuter(), TBevel::None);
  field.SetFocus();
  outside.SetFocus();
  EXPECT_EQ(panel.BevelOuter(), TBevel::None);
}

// Under the mouse the link is underlined; held down it turns red, and on release it has
// its own colour again and reports its click.
TEST(LinkLabelTest, UnderlinedUnderTheMouseAndRedWhilePressed) {
  TTestForm form;
  form.SetClientSize(300, 100);
  auto& link = form.Create<TLinkLabel>("lblLink", &form);
  link.SetBounds(10, 10, 150, 16);
  link.SetCaption("List of environment variables");
  TFont blue;
  blue.Color = RGB(0, 0, 255);
  link.SetFont(blue);
  int clicks = 0;
  link.OnClick = [&] { ++clicks; };
  form.Show();
  const TClickSpot spot = ClickSpotOf(link);
  const POINT centre = CentreOf(spot.Rect);

  SendMessageA(spot.Window, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
  EXPECT_TRUE(link.Font().Underline);
  Press(spot.Window, centre);
  EXPECT_EQ(link.Font().Color, RGB(255, 0, 0));
  Release(spot.Window, centre);
  EXPECT_EQ(link.Font().Color, RGB(0, 0, 255));
  EXPECT_EQ(clicks, 1);
  SendMessageA(spot.Window, WM_MOUSEMOVE, 0, MAKELPARAM(250, 80));
  EXPECT_FALSE(link.Font().Underline);
}

// A translated caption longer than the button was laid out for widens that button and
// moves the ones after it, as the translation sets it; a shorter one keeps the layout.
TEST(LayoutTest, ButtonRowWidensForLongerCaptions) {
  TTestForm form;
  form.SetClientSize(400, 100);
  auto& find = form.Create<TSpeedButton>("spbFind", &form);
  auto& remove = form.Create<TSpeedButton>("spbDelete", &form);
  auto& up = form.Create<TSpeedButton>("spbUp", &form);
  TButtonRow row;
  row.Place(96, 6, 22, 2);
  row.Add(find, "Find", 40);
  row.Add(remove, "Delete", 50);
  row.Add(up, "Up", 36);
  EXPECT_EQ(find.Width(), 40);
  EXPECT_EQ(remove.Left(), 138);
  EXPECT_EQ(up.Left(), 190);

  remove.SetCaption("Registrierung l\xF6schen");
  EXPECT_GE(remove.Width(), remove.FittingWidth());
  EXPECT_GT(remove.Width(), 50);
  EXPECT_EQ(up.Left(), remove.Left() + remove.Width() + 2);
  EXPECT_EQ(row.Right(), up.Left() + up.Width());

  remove.SetCaption("X");  // the laid-out width is the least
  EXPECT_EQ(remove.Width(), 50);
  EXPECT_EQ(up.Left(), 190);
}

}  // namespace
}  // namespace orvane::testing
