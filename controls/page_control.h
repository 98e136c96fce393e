#pragma once
// A page control whose pages are chosen by the program (its tabs are hidden): one page
// shows at a time, filling the control.

#include <functional>

#include "controls/control.h"

namespace orvane {

class TPageControl;

class TTabSheet : public TWinControl {
public:
  TTabSheet(TComponent* owner, std::string name, TPageControl& pageControl);
  TPageControl& PageControl() const { return pageControl_; }
  int PageIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool value) { tabVisible_ = value; }

private:
  TPageControl& pageControl_;
  bool tabVisible_ = true;
};

class TPageControl : public TWinControl {
public:
  TPageControl(TComponent* owner, std::string name, TWinControl* parent);

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet& Pages(int index) const { return *pages_.at(index); }
  TTabSheet* ActivePage() const { return active_; }
  int ActivePageIndex() const { return active_ ? active_->PageIndex() : -1; }
  // Shows the page and raises OnChange when it is another one.
  void SetActivePage(TTabSheet* page);
  void SetActivePageIndex(int index);
  // The next (or previous) page, wrapping around; hidden tabs count too.
  void SelectNextPage(bool forward);

  std::function<void()> OnChange;

private:
  friend class TTabSheet;
  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
};

}  // namespace orvane
