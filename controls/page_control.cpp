#include "controls/page_control.h"

#include <algorithm>

namespace orvane {

TTabSheet::TTabSheet(TComponent* owner, std::string name, TPageControl& pageControl)
    : TWinControl(owner, std::move(name), &pageControl), pageControl_(pageControl) {
  SetVisible(false);
  SetAlign(TAlign::Client);
  CreateHandle({nullptr, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT});
  pageControl_.pages_.push_back(this);
  if (!pageControl_.active_) pageControl_.SetActivePage(this);
}

int TTabSheet::PageIndex() const {
  const auto& pages = pageControl_.pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

TPageControl::TPageControl(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent) {
  CreateHandle({nullptr, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT});
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page == active_) return;
  TTabSheet* old = active_;
  active_ = page;
  if (page) page->SetVisible(true);
  if (old) old->SetVisible(false);
  if (OnChange) OnChange();
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[index] : nullptr);
}

void TPageControl::SelectNextPage(bool forward) {
  if (pages_.empty()) return;
  const int count = PageCount();
  const int current = ActivePageIndex();
  int next;
  if (current < 0) {
    next = forward ? 0 : count - 1;
  } else {
    next = (current + (forward ? 1 : count - 1)) % count;
  }
  SetActivePageIndex(next);
}

}  // namespace orvane
