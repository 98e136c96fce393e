#include "controls/adv_actions.h"

#include "controls/form.h"
#include "controls/tree_view.h"
#include "menus/custom_menu.h"
#include "menus/file_type_category.h"
#include "menus/menu_clipboard.h"
#include "platform/messages.h"
#include "platform/win32/window_helpers.h"

namespace orvane {

// TEditAction

bool TEditAction::HandlesTarget(HWND target) {
  char name[16] = {};
  return target && FocusedWindow() == target && GetClassNameA(target, name, sizeof name) &&
         lstrcmpiA(name, "Edit") == 0;
}

bool TEditAction::HasSelection(HWND target) {
  DWORD start = 0, end = 0;
  SendMessageA(target, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return end > start;
}

bool TEditAction::IsReadOnly(HWND target) {
  return (GetWindowLongPtrA(target, GWL_STYLE) & ES_READONLY) != 0;
}

void TEditCopy::ExecuteTarget(HWND target) { SendMessageA(target, WM_COPY, 0, 0); }

void TEditDelete::UpdateTarget(HWND target) {
  SetEnabled(HasSelection(target) && !IsReadOnly(target));
}

void TEditDelete::ExecuteTarget(HWND target) { SendMessageA(target, WM_CLEAR, 0, 0); }

void TEditPaste::UpdateTarget(HWND target) {
  SetEnabled(IsClipboardFormatAvailable(CF_TEXT) && !IsReadOnly(target));
}

void TEditPaste::ExecuteTarget(HWND target) { SendMessageA(target, WM_PASTE, 0, 0); }

// TCustomMenuEditAction

TCustomMenuEditAction::TCustomMenuEditAction(TComponent* owner, std::string name,
                                             IClipboard& clipboard)
    : TTargetAction(owner, std::move(name)), clipboard_(clipboard) {}

TCustomMenu* TCustomMenuEditAction::MenuOf(HWND target) {
  auto* tree = dynamic_cast<TAdvTreeView*>(TWinControl::FromHandle(target));
  if (!tree || !tree->Handle() || tree->Count() == 0) return nullptr;
  auto* menu = dynamic_cast<TCustomMenu*>(tree->Collection());
  auto* first = static_cast<TTreeItem*>(tree->NodeData(tree->FirstNode()));
  return menu && first && first->Tree() == menu ? menu : nullptr;
}

TCustomMenuItem* TCustomMenuEditAction::FocusedMenuItem(HWND target) {
  TCustomMenu* menu = MenuOf(target);
  return menu ? dynamic_cast<TCustomMenuItem*>(menu->FocusedItem()) : nullptr;
}

bool TCustomMenuEditAction::HandlesTarget(HWND target) {
  return FocusedMenuItem(target) && FocusedWindow() == target;
}

void TCustomMenuEditAction::UpdateTarget(HWND target) {
  SetEnabled(FocusedMenuItem(target) != nullptr);
}

void TCustomMenuCopy::ExecuteTarget(HWND target) {
  if (TCustomMenuItem* item = FocusedMenuItem(target)) CopyItemToClipboard(*item, clipboard_);
}

void TCustomMenuDelete::ExecuteTarget(HWND target) {
  TCustomMenuItem* item = FocusedMenuItem(target);
  if (!item) return;
  if (TForm* form = TForm::FormOf(target)) form->SetActiveControl(TWinControl::FromHandle(target));
  // The question runs a message loop: the item is checked again afterwards.
  TLiveRef<TCustomMenuItem> live(item);
  const int answer = ShowMessageBox(FormatRes(msg::SDeleteMenuItem, {item->Caption()}), kAppTitle,
                                    MB_OKCANCEL | MB_ICONQUESTION);
  if (answer != IDOK) return;
  if (TCustomMenuItem* still = live.Get(); still && still == FocusedMenuItem(target)) still->Free();
}

bool TCustomMenuPaste::HandlesTarget(HWND target) {
  TCustomMenu* menu = MenuOf(target);
  if (menu && dynamic_cast<TCustomFileTypeCategory*>(menu->FocusedItem()) &&
      FocusedWindow() == target)
    return true;
  return TCustomMenuEditAction::HandlesTarget(target);
}

void TCustomMenuPaste::UpdateTarget(HWND target) {
  TCustomMenu* menu = MenuOf(target);
  TTreeItem* focused = menu ? menu->FocusedItem() : nullptr;
  SetEnabled((dynamic_cast<TCustomMenuItem*>(focused) ||
              dynamic_cast<TCustomFileTypeCategory*>(focused)) &&
             CanPasteItems(clipboard_));
}

void TCustomMenuPaste::ExecuteTarget(HWND target) {
  TCustomMenu* menu = MenuOf(target);
  TTreeItem* focused = menu ? menu->FocusedItem() : nullptr;
  TTreeItems* list = nullptr;
  if (dynamic_cast<TCustomMenuItem*>(focused)) {
    list = focused->Collection();
  } else if (dynamic_cast<TCustomFileTypeCategory*>(focused)) {
    list = &focused->Items();
  }
  if (!list) return;
  std::vector<TCustomMenuItem*> pasted;
  {
    TListUpdate update(list);
    pasted = PasteItems(*list, clipboard_);
  }
  if (!pasted.empty()) pasted.front()->Focus();
}

// TAdvEditAction

TAdvEditAction::TAdvEditAction(TComponent* owner, std::string name, std::string caption,
                               std::string category)
    : TAction(owner, std::move(name), std::move(caption), std::move(category)) {}

TTargetAction* TAdvEditAction::SubActionFor(HWND target) const {
  for (TTargetAction* action : subActions_) {
    if (action->HandlesTarget(target)) return action;
  }
  return nullptr;
}

void TAdvEditAction::Disable() {
  SetEnabled(false);
  if (OnAfterUpdate) OnAfterUpdate(*this);
}

bool TAdvEditAction::HandlesTarget(HWND target) {
  if (!controls_.empty()) {
    bool inside = false;
    for (TWinControl* control : controls_) {
      HWND window = control->Handle();
      if (window && target && (window == target || IsChild(window, target))) inside = true;
    }
    if (!inside) {
      Disable();
      return false;
    }
  }
  if (SubActionFor(target)) return true;
  bool handles = false;
  if (OnHandlesTarget) OnHandlesTarget(*this, handles);
  if (!handles) Disable();
  return handles;
}

void TAdvEditAction::UpdateTarget(HWND target) {
  if (TTargetAction* action = SubActionFor(target)) {
    action->UpdateTarget(target);
    SetEnabled(action->Enabled());
  } else if (OnUpdateTarget) {
    OnUpdateTarget(*this, target);
  }
  if (OnAfterUpdate) OnAfterUpdate(*this);
}

void TAdvEditAction::ExecuteTarget(HWND target) {
  if (TTargetAction* action = SubActionFor(target)) {
    action->ExecuteTarget(target);
  } else if (OnExecuteTarget) {
    OnExecuteTarget(*this, target);
  }
}

bool TAdvEditAction::Update() {
  HWND target = FocusedWindow();
  if (HandlesTarget(target)) UpdateTarget(target);
  return true;
}

bool TAdvEditAction::Execute() {
  Update();
  if (!Enabled()) return false;
  ExecuteTarget(FocusedWindow());
  return true;
}

bool TAdvEditAction::HandleShortCut() {
  handlingShortCut_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{handlingShortCut_};
  return TAction::HandleShortCut();
}

// The composites: the system's command first, then the menu's.

TAdvEditCopy::TAdvEditCopy(TComponent* owner, std::string name, IClipboard& clipboard)
    : TAdvEditAction(owner, std::move(name)) {
  AddSubAction(Create<TEditCopy>(""));
  AddSubAction(Create<TCustomMenuCopy>("", clipboard));
}

TAdvEditDelete::TAdvEditDelete(TComponent* owner, std::string name, IClipboard& clipboard)
    : TAdvEditAction(owner, std::move(name)) {
  AddSubAction(Create<TEditDelete>(""));
  AddSubAction(Create<TCustomMenuDelete>("", clipboard));
}

TAdvEditPaste::TAdvEditPaste(TComponent* owner, std::string name, IClipboard& clipboard)
    : TAdvEditAction(owner, std::move(name)) {
  AddSubAction(Create<TEditPaste>(""));
  AddSubAction(Create<TCustomMenuPaste>("", clipboard));
}

}  // namespace orvane
