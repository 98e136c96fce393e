#include "controls/category_buttons.h"

#include <windowsx.h>

#include "platform/win32/win32_handles.h"

namespace orvane {
namespace {

constexpr int kCategoryHeight = 24;
constexpr int kButtonHeight = 26;
constexpr int kMargin = 4;

}  // namespace

std::optional<std::string> TButtonItem::GetProperty(const std::string& name) const {
  if (name == "Caption") return caption_;
  if (name == "Hint") return hint_;
  return std::nullopt;
}

bool TButtonItem::SetProperty(const std::string& name, const std::string& value) {
  if (name == "Caption") {
    caption_ = value;
  } else if (name == "Hint") {
    hint_ = value;
  } else {
    return false;
  }
  return true;
}

TButtonItem& TButtonCategory::AddItem(std::string caption) {
  items_.push_back(std::make_unique<TButtonItem>(std::move(caption)));
  return *items_.back();
}

std::optional<std::string> TButtonCategory::GetProperty(const std::string& name) const {
  if (name == "Caption") return caption_;
  return std::nullopt;
}

bool TButtonCategory::SetProperty(const std::string& name, const std::string& value) {
  if (name != "Caption") return false;
  caption_ = value;
  return true;
}

TPersistent* TButtonCategory::SubObject(const std::string& name, int index) {
  if (name == "Items" && index >= 0 && index < Count()) return items_[index].get();
  return nullptr;
}

TCategoryButtons::TCategoryButtons(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent) {
  CreateHandle({nullptr, WS_TABSTOP, 0});
}

TButtonCategory& TCategoryButtons::AddCategory(std::string caption) {
  categories_.push_back(std::make_unique<TButtonCategory>(std::move(caption)));
  return *categories_.back();
}

int TCategoryButtons::ButtonCount() const {
  int count = 0;
  for (const auto& category : categories_) count += category->Count();
  return count;
}

void TCategoryButtons::SetSelectedIndex(int index) {
  selected_ = index >= 0 && index < ButtonCount() ? index : -1;
  Invalidate();
}

void TCategoryButtons::ClickButton(int index) {
  if (index < 0 || index >= ButtonCount()) return;
  SetSelectedIndex(index);
  if (OnButtonClicked) OnButtonClicked(index);
}

TPersistent* TCategoryButtons::SubObject(const std::string& name, int index) {
  if (name == "Categories" && index >= 0 && index < CategoryCount())
    return categories_[index].get();
  return nullptr;
}

void TCategoryButtons::Refresh() { Invalidate(); }

RECT TCategoryButtons::ButtonRect(int index) const {
  int top = kMargin;
  int n = 0;
  for (const auto& category : categories_) {
    top += kCategoryHeight;
    for (int i = 0; i < category->Count(); ++i, ++n) {
      if (n == index) return RECT{kMargin, top, ClientWidth() - kMargin, top + kButtonHeight};
      top += kButtonHeight + 2;
    }
  }
  return RECT{};
}

int TCategoryButtons::ButtonAt(int x, int y) const {
  POINT point{x, y};
  for (int i = 0; i < ButtonCount(); ++i) {
    RECT rect = ButtonRect(i);
    if (PtInRect(&rect, point)) return i;
  }
  return -1;
}

void TCategoryButtons::PaintWindow(HDC dc, const RECT& client) {
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  TFont bold = Font();
  bold.Bold = true;
  TWindowDC screen(nullptr);
  TFontHandle boldFont(CreateFontA(-MulDiv(bold.Size, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72),
                                   0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, bold.Charset,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, bold.Name.c_str()));
  int top = kMargin;
  int n = 0;
  for (const auto& category : categories_) {
    RECT header{kMargin, top, client.right - kMargin, top + kCategoryHeight - 2};
    FillRect(dc, &header, GetSysColorBrush(COLOR_BTNFACE));
    {
      TSelectObject select(dc, boldFont.get());
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      RECT text = header;
      text.left += 6;
      DrawTextA(dc, category->Caption().c_str(), -1, &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    top += kCategoryHeight;
    for (int i = 0; i < category->Count(); ++i, ++n) {
      RECT rect{kMargin, top, client.right - kMargin, top + kButtonHeight};
      if (n == selected_) {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      } else {
        if (n == hot_) DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
        SetTextColor(dc, GetSysColor(Enabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
      }
      RECT text = rect;
      text.left += 12;
      DrawTextA(dc, category->Items(i).Caption().c_str(), -1, &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      top += kButtonHeight + 2;
    }
  }
}

LRESULT TCategoryButtons::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      SetFocus();
      ClickButton(ButtonAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_MOUSEMOVE: {
      const int hot = ButtonAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (hot != hot_) {
        hot_ = hot;
        Invalidate();
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&track);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      hot_ = -1;
      Invalidate();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (wParam == VK_DOWN && selected_ + 1 < ButtonCount()) ClickButton(selected_ + 1);
      if (wParam == VK_UP && selected_ > 0) ClickButton(selected_ - 1);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

}  // namespace orvane
