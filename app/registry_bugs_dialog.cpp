#include "app/registry_bugs_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "filetypes/erroneous_file_type.h"
#include "platform/messages.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

constexpr int kClientWidth = 513;
constexpr int kClientHeight = 294;
constexpr int kMinWidth = 529;
constexpr int kMinHeight = 332;
constexpr int kBugImage = 0;
constexpr int kFixedImage = 1;

constexpr const char* kListHint =
    "|List of registry bugs \r\n"
    "The list contains all bugs detected while Orvane has been scanning the registry to obtain "
    "registered file types.\r\n"
    "\x95 In most cases all found bugs are safely to delete, so you can carefree use Fix All "
    "command to correct the registry.\r\n"
    "\x95 You can leave found bugs unfixed and correct them later using your favorite repair "
    "utility.";

// The row pictures: a red mark for a fault, a green tick for a fixed one.
TImageListHandle MakeImages() {
  TImageListHandle images(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0));
  const COLORREF transparent = RGB(255, 0, 255);
  TWindowDC screen(nullptr);
  for (int image : {kBugImage, kFixedImage}) {
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), 16, 16));
    TMemoryDC dc(CreateCompatibleDC(screen.Get()));
    {
      TSelectObject selectBitmap(dc.get(), bitmap.get());
      RECT all{0, 0, 16, 16};
      TBrushHandle background(CreateSolidBrush(transparent));
      FillRect(dc.get(), &all, background.get());
      if (image == kBugImage) {
        TBrushHandle red(CreateSolidBrush(RGB(200, 30, 30)));
        TSelectObject selectBrush(dc.get(), red.get());
        TSelectObject selectPen(dc.get(), GetStockObject(NULL_PEN));
        Ellipse(dc.get(), 2, 2, 15, 15);
        RECT mark{7, 4, 10, 10};
        FillRect(dc.get(), &mark, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        RECT dot{7, 11, 10, 13};
        FillRect(dc.get(), &dot, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      } else {
        std::unique_ptr<std::remove_pointer_t<HPEN>, TGdiObjectDeleter<HPEN>> pen(CreatePen(PS_SOLID, 3, RGB(20, 150, 40)));
        TSelectObject selectPen(dc.get(), pen.get());
        MoveToEx(dc.get(), 3, 8, nullptr);
        LineTo(dc.get(), 6, 12);
        LineTo(dc.get(), 13, 3);
      }
    }
    ImageList_AddMasked(images.get(), bitmap.get(), transparent);
  }
  return images;
}

TErroneousFileType* BugOf(TAdvStringList& bugs, int index) {
  return dynamic_cast<TErroneousFileType*>(bugs.Objects(index));
}

}  // namespace

std::function<void(TfrmRegistryBugs&)>& RegistryBugsModal() {
  static std::function<void(TfrmRegistryBugs&)> modal = [](TfrmRegistryBugs& form) {
    form.ShowModal();
  };
  return modal;
}

void ShowRegistryBugs(TAdvStringList& bugs, const TRegistryBugsServices& services) {
  TfrmRegistryBugs form(nullptr, services);
  form.SetBugs(&bugs);
  struct Detach {
    TfrmRegistryBugs& form;
    ~Detach() { form.SetBugs(nullptr); }
  } detach{form};
  RegistryBugsModal()(form);
}

TfrmRegistryBugs::TfrmRegistryBugs(TComponent* owner, const TRegistryBugsServices& services)
    : TForm(owner, "frmRegistryBugs", TStyle{TBorderStyle::Sizeable, false, false, false}),
      lblTitle(Create<TLabel>("lblTitle", this)),
      spbFix(Create<TSpeedButton>("spbFix", this)),
      spbFixAll(Create<TSpeedButton>("spbFixAll", this)),
      lblTotalCaption(Create<TLabel>("lblTotalCaption", this)),
      lblBugsTotal(Create<TLabel>("lblBugsTotal", this)),
      lblFixedCaption(Create<TLabel>("lblFixedCaption", this)),
      lblBugsFixed(Create<TLabel>("lblBugsFixed", this)),
      lvBugs(Create<TListView>("lvBugs", this)),
      lblF1Hint(Create<TLabel>("lblF1Hint", this)),
      btnClose(Create<TButton>("btnClose", this)),
      alBugs(Create<TActionList>("alBugs")),
      actFix(alBugs.Add("actFix", "&Fix Bug", "Bugs")),
      actFixAll(alBugs.Add("actFixAll", "Fix &All", "Bugs")),
      actSelectAll(alBugs.Add("actSelectAll", "&Select All", "Bugs")),
      actSelectNone(alBugs.Add("actSelectNone", "Select &None", "Bugs")),
      actInvertSelected(alBugs.Add("actInvertSelected", "&Invert", "Bugs")),
      actQuickHint(alBugs.Add("actQuickHint", "&Quick Hint", "Bugs")),
      pmBugs(Create<TPopupMenu>("pmBugs")),
      pmHint(Create<TPopupMenu>("pmHint")),
      services_(services),
      images_(MakeImages()) {
  SetCaption("Registry Bugs");
  SetKeyPreview(true);
  SetClientSize(kClientWidth, kClientHeight);
  SetMinSize(kMinWidth, kMinHeight);
  CenterOnScreen();

  lblTitle.SetBounds(8, 10, 66, 16);
  lblTitle.SetCaption(" Bugs List ");
  spbFix.SetBounds(78, 6, 48, 22);
  spbFix.SetCaption("Fix");
  // The buttons keep their short captions and follow the actions' state.
  spbFix.OnClick = [this] { actFix.Execute(); };
  spbFixAll.SetBounds(128, 6, 56, 22);
  spbFixAll.SetCaption("Fix All");
  spbFixAll.OnClick = [this] { actFixAll.Execute(); };
  lblTotalCaption.SetBounds(196, 10, 130, 16);
  lblTotalCaption.SetCaption("Total bugs detected:");
  lblBugsTotal.SetBounds(328, 10, 36, 16);
  lblFixedCaption.SetBounds(368, 10, 108, 16);
  lblFixedCaption.SetCaption("Total bugs fixed:");
  lblBugsFixed.SetBounds(478, 10, 32, 16);

  lvBugs.SetBounds(8, 32, kClientWidth - 16, kClientHeight - 32 - 44);
  lvBugs.SetAnchors({true, true, true, true});
  lvBugs.AddColumn("Description", kClientWidth - 40);
  lvBugs.SetMultiSelect(true);
  lvBugs.SetRowSelect(true);
  lvBugs.SetSmallImages(images_.get());
  lvBugs.SetHint(kListHint);
  lvBugs.OnResize = [this] {
    lvBugs.Columns(0).SetWidth(lvBugs.ClientWidth() - GetSystemMetrics(SM_CXVSCROLL));
  };
  lvBugs.OnSelectItem = [this](int, bool) { UpdateActions("Bugs"); };

  lblF1Hint.SetBounds(8, kClientHeight - 29, 300, 16);
  lblF1Hint.SetAnchors({true, false, false, true});
  lblF1Hint.SetCaption("Press F1 on dialog's control to get quick hint.");
  btnClose.SetBounds(kClientWidth - 83, kClientHeight - 34, 75, 25);
  btnClose.SetAnchors({false, false, true, true});
  btnClose.SetCaption("&Close");
  btnClose.SetHint("|Close button\r\nCloses the dialog. Fixed bugs leave the list.");
  SetWindowLongPtrA(btnClose.Handle(), GWL_STYLE,
                    GetWindowLongPtrA(btnClose.Handle(), GWL_STYLE) | BS_DEFPUSHBUTTON);
  btnClose.OnClick = [this] { Close(); };

  InitActions();
  for (TAction* action : {&actFix, &actFixAll, static_cast<TAction*>(nullptr), &actSelectAll,
                          &actSelectNone, &actInvertSelected, static_cast<TAction*>(nullptr),
                          &actQuickHint})
    pmBugs.Add(action);
  pmHint.Add(&actQuickHint);
  // Quick Hint then explains the control the menu was opened over.
  pmHint.OnPopup = [this](POINT at) {
    HWND window = WindowFromPoint(at);
    if (TWinControl* control = FromHandle(window); control && control->CanFocus())
      control->SetFocus();
  };
  lblTitle.OnClick = [this] {
    POINT at{};
    GetCursorPos(&at);
    pmBugs.Popup(Handle(), at);
  };

  ApplyMessageFont(*this);
  Realign();
  UpdateActions("Bugs");
}

TfrmRegistryBugs::~TfrmRegistryBugs() {
  for (TAction* action : {&actFix, &actFixAll}) action->OnUpdate = nullptr;
  lvBugs.OnResize = nullptr;
  lvBugs.OnSelectItem = nullptr;
  lvBugs.Clear();
}

void TfrmRegistryBugs::InitActions() {
  actFix.SetHint("Fix selected bug");
  actFix.OnUpdate = [this](TAction& a) {
    a.SetEnabled(SomeUnfixed() && SelectionUnfixed());
    spbFix.SetEnabled(a.Enabled());
  };
  actFix.OnExecute = [this](TAction&) { FixRows(true); };
  actFixAll.SetHint("Fix all bugs detected");
  actFixAll.OnUpdate = [this](TAction& a) {
    a.SetEnabled(SomeUnfixed());
    spbFixAll.SetEnabled(a.Enabled());
  };
  actFixAll.OnExecute = [this](TAction&) { FixRows(false); };
  actSelectAll.SetHint("Select all bug entries");
  actSelectAll.SetShortCut(scCtrl | 'A');
  actSelectAll.OnUpdate = [this](TAction& a) { a.SetEnabled(SomeUnfixed()); };
  actSelectAll.OnExecute = [this](TAction&) {
    for (int i = 0; i < lvBugs.ItemCount(); ++i) lvBugs.SetSelected(i, true);
  };
  actSelectNone.SetHint("Deselect bug entries");
  actSelectNone.OnUpdate = [this](TAction& a) { a.SetEnabled(SomeUnfixed() && SelectionUnfixed()); };
  actSelectNone.OnExecute = [this](TAction&) { lvBugs.ClearSelection(); };
  actInvertSelected.SetHint("Invert selection");
  actInvertSelected.OnUpdate = [this](TAction& a) { a.SetEnabled(SomeUnfixed()); };
  actInvertSelected.OnExecute = [this](TAction&) {
    for (int i = 0; i < lvBugs.ItemCount(); ++i) lvBugs.SetSelected(i, !lvBugs.Selected(i));
  };
  actQuickHint.SetHint("Quick hint");
  actQuickHint.OnExecute = [this](TAction&) {
    if (services_.QuickHint) services_.QuickHint(ActiveControl());
  };
}

bool TfrmRegistryBugs::SomeUnfixed() const { return fixedCount_ < lvBugs.ItemCount(); }

bool TfrmRegistryBugs::SelectionUnfixed() const {
  if (!bugs_) return false;
  for (int i = 0; i < lvBugs.ItemCount() && i < bugs_->Count(); ++i) {
    if (!lvBugs.Selected(i)) continue;
    if (TErroneousFileType* bug = BugOf(*bugs_, i); bug && !bug->Fixed) return true;
  }
  return false;
}

void TfrmRegistryBugs::ShowCounters() {
  lblBugsTotal.SetCaption(std::to_string(lvBugs.ItemCount()));
  lblBugsFixed.SetCaption(std::to_string(fixedCount_));
}

void TfrmRegistryBugs::SetBugs(TAdvStringList* bugs) {
  lvBugs.Clear();
  if (bugs_) {
    for (int i = bugs_->Count() - 1; i >= 0; --i) {
      if (TErroneousFileType* bug = BugOf(*bugs_, i); bug && bug->Fixed) bugs_->Delete(i);
    }
  }
  bugs_ = bugs;
  if (bugs_) {
    lvBugs.BeginUpdate();
    for (int i = 0; i < bugs_->Count(); ++i) {
      TErroneousFileType* bug = BugOf(*bugs_, i);
      lvBugs.AddItem(bugs_->Strings(i), bug && bug->Fixed ? kFixedImage : kBugImage, bug);
    }
    lvBugs.EndUpdate();
  }
  fixedCount_ = 0;
  ShowCounters();
  UpdateActions("Bugs");
}

void TfrmRegistryBugs::FixRows(bool selectedOnly) {
  if (!bugs_) return;
  std::vector<int> rows;
  for (int i = 0; i < lvBugs.ItemCount() && i < bugs_->Count(); ++i) {
    if (!selectedOnly || lvBugs.Selected(i)) rows.push_back(i);
  }
  TBugFixRun run;
  {
    TBusyCursor busy;
    lvBugs.BeginUpdate();
    struct End {
      TListView& list;
      ~End() { list.EndUpdate(); }
    } end{lvBugs};
    run = FixBugs(*bugs_, rows, services_.Registry, services_.Backup);
    for (const TBugFixOutcome& outcome : run.Outcomes) {
      if (outcome.Result != TFixResult::Fixed) continue;
      lvBugs.SetItemImage(outcome.Index, kFixedImage);
      lvBugs.SetSelected(outcome.Index, false);
      ++fixedCount_;
    }
  }
  ShowCounters();
  UpdateActions("Bugs");
  if (!run.BackupFailure.empty()) {
    ShowMessageBox(FormatRes(msg::SBugsBackupFailed, {run.BackupFailure}), kAppTitle,
                   MB_OK | MB_ICONWARNING);
    return;
  }
  for (const TBugFixOutcome& outcome : run.Outcomes) {
    if (outcome.Result != TFixResult::Unfixable) continue;
    ShowMessageBox(FormatRes(msg::SUnableToFixBug, {bugs_->Strings(outcome.Index)}), kAppTitle,
                   MB_OK | MB_ICONERROR);
  }
  if (run.HasFailures()) {
    ShowMessageBox(LoadResString(msg::SErrorsFixingRegistry), kAppTitle, MB_OK | MB_ICONWARNING);
  }
}

bool TfrmRegistryBugs::KeyDown(WORD key, TShortCut shift) {
  // F1 is answered on release; its press must not become a help request as well.
  return key == VK_F1 && shift == 0;
}

bool TfrmRegistryBugs::KeyUp(WORD key, TShortCut shift) {
  if (key != VK_F1 || shift != 0) return false;
  actQuickHint.Execute();
  return true;
}

LRESULT TfrmRegistryBugs::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Enter and Escape, as the dialog keys send them: the Close button is both.
      if (lParam == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        Close();
        return 0;
      }
      break;
    case WM_CONTEXTMENU: {
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      HWND window = reinterpret_cast<HWND>(wParam);
      TPopupMenu* menu = window == lvBugs.Handle()     ? &pmBugs
                         : window == btnClose.Handle() ? &pmHint
                                                       : nullptr;
      if (!menu) break;
      if (at.x == -1 && at.y == -1) {  // from the keyboard: at the control
        RECT rect{};
        GetWindowRect(window, &rect);
        at = POINT{rect.left + 8, rect.top + 8};
      }
      menu->Popup(Handle(), at);
      return 0;
    }
  }
  return TForm::WndProc(message, wParam, lParam);
}

}  // namespace orvane
