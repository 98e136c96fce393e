#include "app/menu_tree_page.h"

#include <shellapi.h>

#include "controls/adv_actions.h"
#include "controls/dragged_item.h"
#include "controls/edit_controls.h"
#include "controls/file_dialog.h"
#include "controls/form.h"
#include "filetypes/file_types.h"
#include "menus/custom_menu.h"
#include "menus/file_type_category.h"
#include "platform/messages.h"
#include "platform/system_info.h"
#include "platform/win32/system_error.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

// The program's cursors: the hand, reordering, copying.
constexpr TCursor kHandCursor = 1;
constexpr TCursor kExchangeCursor = 2;
constexpr TCursor kCopyCursor = 3;
constexpr const char* kEnvListAddress =
    "https://learn.microsoft.com/windows/deployment/usmt/usmt-recognized-environment-variables";

std::string NodeCaption(TTreeItem* item) {
  if (auto* category = dynamic_cast<TCustomFileTypeCategory*>(item)) {
    return category->DisplayName();
  }
  if (auto* menuItem = dynamic_cast<TCustomMenuItem*>(item)) return menuItem->Caption();
  return {};
}

int NodeImageOf(TTreeItem* item) {
  auto* category = dynamic_cast<TCustomFileTypeCategory*>(item);
  // Items show no picture: their glyph or icon is drawn in its place.
  return category && category->FileType() ? category->FileType()->Index() : I_IMAGENONE;
}

void AddNodes(TAdvTreeView& tree, TTreeNode parent, TTreeItems& list) {
  for (int i = 0; i < list.Count(); ++i) {
    TTreeItem* item = list[i];
    TTreeNode node = tree.AddNode(parent, NodeCaption(item), item, NodeImageOf(item));
    AddNodes(tree, node, item->Items());
    if (item->Expanded() && item->Items().Count() > 0) tree.Expand(node, true);
  }
}

bool IsTextEdit(HWND window) {
  char name[32] = {};
  return window && GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, "Edit") == 0;
}

std::optional<std::string> OpenFileDialog(const std::string& current, MessageId title) {
  return ShowFileDialog({GetActiveWindow(), LoadResString(title),
                         LoadResString(msg::SApplicationFilter), current, "", false});
}

}  // namespace

void SetActionShortCut(const TAdvTreeView& tree, TAction& action, TShortCut shortCut) {
  action.SetShortCut(tree.IsEditing() || IsTextEdit(FocusedWindow()) ? 0 : shortCut);
}

void RebuildTree(TCustomMenu& menu, TAdvTreeView& tree, TTreeItem* item, TTreeItems* list) {
  TTreeItems& target = item ? item->Items() : list ? *list : menu.Items();
  TTreeItem* owner = target.OwnerItem();
  TTreeNode node = owner ? tree.FindNode(owner) : nullptr;
  if (!node && owner) {
    TTreeItem* ownerParent = owner->Parent();
    TTreeNode parentNode = ownerParent ? tree.FindNode(ownerParent) : nullptr;
    TTreeNode after = TVI_FIRST;
    if (TTreeItem* previous = owner->PrevSibling()) {
      if (TTreeNode previousNode = tree.FindNode(previous)) after = previousNode;
    }
    node = tree.AddNode(parentNode, NodeCaption(owner), owner, NodeImageOf(owner), after);
  }
  tree.SetCollection(&menu);
  tree.BeginUpdate();
  struct End {
    TAdvTreeView& tree;
    ~End() { tree.EndUpdate(); }
  } end{tree};
  if (node) {
    tree.DeleteChildren(node);
    tree.SetNodeText(node, NodeCaption(owner));
    tree.SetNodeImage(node, NodeImageOf(owner));
  } else {
    tree.Clear();
  }
  AddNodes(tree, node, target);
  if (node && owner->Expanded() && target.Count() > 0) tree.Expand(node, true);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

TMenuTreePage::TMenuTreePage(TForm& form, TCustomMenu& menu, TAdvTreeView& tree,
                             TPopupMenu& popup, const TServices& services, std::string category,
                             MessageId browseTitle)
    : BrowseApplication([this](const std::string& current) {
        return OpenFileDialog(current, browseTitle_);
      }),
      ShellOpen([folder = services.ProgramFolder](const std::string& verb, const std::string& target) {
        // From the program's folder, as the links' addresses expect.
        return static_cast<long long>(reinterpret_cast<INT_PTR>(
            ShellExecuteA(nullptr, verb.c_str(), target.c_str(), nullptr,
                          folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL)));
      }),
      form_(form),
      menuModel_(menu),
      tree_(tree),
      popup_(popup),
      services_(services),
      category_(std::move(category)),
      browseTitle_(browseTitle) {
  // System cursors are shared and never freed.
  RegisterCursor(kHandCursor, LoadCursor(nullptr, IDC_HAND));
  RegisterCursor(kExchangeCursor, LoadCursor(nullptr, IDC_SIZENS));
  RegisterCursor(kCopyCursor, LoadCursor(nullptr, IDC_UPARROW));
}

TMenuTreePage::~TMenuTreePage() { DetachTree(); }

void TMenuTreePage::DetachTree() {
  // The controls and actions outlive the page: nothing of theirs may call it any more.
  menuModel_.OnChange = nullptr;
  menuModel_.OnFocusChanged = nullptr;
  menuModel_.OnItemChanged = nullptr;
  menuModel_.OnItemDeleting = nullptr;
  tree_.OnChange = nullptr;
  tree_.OnExpanding = nullptr;
  tree_.OnCollapsing = nullptr;
  tree_.OnEditing = nullptr;
  tree_.OnEdited = nullptr;
  tree_.OnCustomDraw = nullptr;
  tree_.OnMouseDown = nullptr;
  tree_.OnMouseUp = nullptr;
  tree_.OnStartDrag = nullptr;
  tree_.OnDragOver = nullptr;
  tree_.OnDragDrop = nullptr;
  tree_.OnEndDrag = nullptr;
  tree_.OnFilesDrop = nullptr;
  tree_.OnContextMenu = nullptr;
  tree_.SetCollection(nullptr);
  if (title_) title_->OnClick = nullptr;
  if (link_) link_->OnClick = nullptr;
  for (TSpeedButton* button : buttons_) button->OnClick = nullptr;
  if (actDelete_) actDelete_->OnAfterUpdate = nullptr;
  actDelete_ = nullptr;
}

bool TMenuTreePage::Ready() const {
  return (!PageActive || PageActive()) && !tree_.IsEditing();
}

void TMenuTreePage::Refreshed(const std::function<void()>& body) {
  ++refreshing_;
  struct Leave {
    int& counter;
    ~Leave() { --counter; }
  } leave{refreshing_};
  body();
}

void TMenuTreePage::InitTree(TLabel& title) {
  title_ = &title;
  tree_.SetIndent(19);
  tree_.RightClickSelect = true;
  tree_.SetAcceptFiles(true);
  menuModel_.OnChange = [this](TTreeItems* list, TTreeItem* item) { MenuChange(list, item); };
  menuModel_.OnFocusChanged = [this] { FocusChanged(); };
  menuModel_.OnItemChanged = [this](TTreeItem* item) { ItemChanged(item); };
  menuModel_.OnItemDeleting = [this](TTreeItem* item) {
    // The node goes with its item, so that nothing refers to it meanwhile.
    if (TTreeNode node = tree_.FindNode(item)) Refreshed([&] { tree_.DeleteNode(node); });
  };
  tree_.OnChange = [this](TTreeNode node) {
    if (refreshing_ > 0) return;
    menuModel_.Focus(node ? static_cast<TTreeItem*>(tree_.NodeData(node)) : nullptr);
  };
  auto expanding = [this](bool expand) {
    return [this, expand](TTreeNode node, bool&) {
      if (refreshing_ > 0) return;
      if (auto* item = static_cast<TTreeItem*>(tree_.NodeData(node))) item->SetExpanded(expand);
    };
  };
  tree_.OnExpanding = expanding(true);
  tree_.OnCollapsing = expanding(false);
  tree_.OnStartDrag = [this](std::unique_ptr<TDragObject>& object) {
    std::unique_ptr<TDraggedItem> dragged = DragObjectOfFocus();
    if (!dragged) return;
    if (TTreeNode node = tree_.Selected()) {
      if (HIMAGELIST image = tree_.CreateDragImage(node)) dragged->SetDragImages(image);
    }
    object = std::move(dragged);
  };
  tree_.OnDragOver = [this](TDragObject& source, int x, int y, bool& accept) {
    // Closed nodes open under the mouse, and the tree scrolls along the drag, also over
    // nodes that refuse the item.
    UINT flags = 0;
    if (TTreeNode node = tree_.NodeAt(x, y, &flags)) {
      constexpr UINT kOpening =
          TVHT_ONITEMBUTTON | TVHT_ONITEMICON | TVHT_ONITEMINDENT | TVHT_ONITEMSTATEICON;
      if ((flags & kOpening) && tree_.HasChildren(node) && !tree_.Expanded(node)) {
        tree_.Expand(node, true);
        if (auto* item = static_cast<TTreeItem*>(tree_.NodeData(node))) item->SetExpanded(true);
      }
      tree_.MakeVisible(node);
    }
    TTreeItem* target = DropTarget(source, x, y);
    accept = target != nullptr;
    dropAllowed_ = accept;
    if (!accept) return;
    auto* dragged = static_cast<TDraggedItem*>(&source);
    dragged->SetDragCursor(IsReorder(target, *dragged->Item()) ? kExchangeCursor
                           : GetKeyState(VK_CONTROL) < 0      ? kCopyCursor
                                                              : crArrow);
  };
  tree_.OnDragDrop = [this](TDragObject& source, int x, int y) { DragDrop(source, x, y); };
  tree_.OnEndDrag = [this] {
    dropAllowed_ = false;
    InvalidateRect(tree_.Handle(), nullptr, TRUE);
  };
  tree_.OnFilesDrop = [this](const std::vector<std::string>& files) { AddFiles(files); };
  tree_.OnContextMenu = [this](int x, int y) {
    POINT at{x, y};
    if (x == -1 && y == -1) {  // from the keyboard: at the selected node
      const RECT text = tree_.NodeRect(tree_.Selected(), true);
      at = POINT{text.left, text.bottom};
      ClientToScreen(tree_.Handle(), &at);
    }
    popup_.Popup(form_.Handle(), at);
  };
  title.OnClick = [this] {
    tree_.SetFocus();
    POINT at{};
    GetCursorPos(&at);
    popup_.Popup(form_.Handle(), at);
  };
}

void TMenuTreePage::InitErrorPanel(TPanel& panel, TLabel& text, TLabel& link, int width) {
  link_ = &link;
  panel.SetBevelOuter(TBevel::Lowered);
  text.SetBounds(6, 4, width - 12, 48);
  text.SetWordWrap(true);
  text.SetCaption(
      "Context menu item refers to an application that does not exist or is unavailable. It is "
      "recommended to use environment variables to ensure that menu items are portable.");
  link.SetBounds(6, 54, 200, 16);
  link.SetCaption("List of environment variables");
  link.SetHint(kEnvListAddress);
  TFont font;
  font.Color = RGB(0, 0, 255);
  link.SetFont(font);
  link.OnClick = [this] {
    const long long result = ShellOpen("open", link_->Hint());
    if (result <= 32) {
      ShowMessageBox(FormatRes(msg::SLinkError, {SystemErrorMessage(static_cast<DWORD>(result))}),
                     kAppTitle, MB_OK | MB_ICONWARNING);
    }
  };
  panel.SetVisible(false);
}

void TMenuTreePage::BindButton(TSpeedButton& button, TAction& action) {
  // The buttons keep their short captions: they follow their commands' state only.
  buttons_.push_back(&button);
  button.SetHint(action.Hint());
  button.OnClick = [&action] { action.Execute(); };
  auto update = action.OnUpdate;
  action.OnUpdate = [update, &button](TAction& a) {
    if (update) update(a);
    button.SetEnabled(a.Enabled());
  };
}

void TMenuTreePage::BindDeleteButton(TSpeedButton& button, TAdvEditAction& actDelete) {
  buttons_.push_back(&button);
  actDelete_ = &actDelete;
  button.SetHint("Delete menu item");
  button.OnClick = [this, &actDelete] {
    tree_.SetFocus();
    actDelete.Execute();
  };
  auto previous = actDelete.OnAfterUpdate;
  actDelete.OnAfterUpdate = [this, previous, &button](TAdvEditAction& sender) {
    if (previous) previous(sender);
    button.SetEnabled(sender.Enabled() && Ready());
  };
}

void TMenuTreePage::Rebuild() {
  Refreshed([&] { RebuildTree(menuModel_, tree_, nullptr, nullptr); });
  FocusChanged();
}

void TMenuTreePage::MenuChange(TTreeItems* list, TTreeItem* item) {
  // The selection follows the model again also when the rebuild failed.
  try {
    Refreshed([&] { RebuildTree(menuModel_, tree_, item, list); });
  } catch (...) {
    FocusChanged();
    throw;
  }
  FocusChanged();
}

void TMenuTreePage::FocusChanged() {
  Refreshed([&] {
    TTreeItem* focused = menuModel_.FocusedItem();
    TTreeNode node = focused ? tree_.FindNode(focused) : nullptr;
    tree_.SetSelected(node);
    if (node) tree_.MakeVisible(node);
    form_.UpdateActions(std::nullopt);
    ShowDetails();
  });
}

void TMenuTreePage::ItemChanged(TTreeItem* item) {
  form_.UpdateActions(std::nullopt);
  if (TTreeNode node = tree_.FindNode(item)) tree_.SetNodeText(node, NodeCaption(item));
  if (item == menuModel_.FocusedItem()) ShowDetails();
  InvalidateRect(tree_.Handle(), nullptr, TRUE);
}

void TMenuTreePage::AddFiles(const std::vector<std::string>& files) {
  if (files.empty()) return;
  AddFileItem(files.front());
  if (files.size() == 1) return;
  TTreeItems& list = FilesTarget();
  TTreeItem* last = nullptr;
  {
    TListUpdate update(&list);
    for (size_t i = 1; i < files.size(); ++i) {
      auto* item = dynamic_cast<TCustomMenuItem*>(
          static_cast<TCustomMenuItems&>(menuModel_.Items()).AddFirstItem(list));
      if (!item) continue;
      TItemUpdate itemUpdate(item);
      SetUpFileItem(*item, files[i]);
      last = item;
    }
  }
  if (last) last->Focus();
}

std::optional<std::string> TMenuTreePage::BrowseFor(TCustomMenuItem& item) {
  if (!BrowseApplication) return std::nullopt;
  TLiveRef<TCustomMenuItem> live(&item);
  std::optional<std::string> chosen = BrowseApplication(item.Application());
  if (!chosen || live.Get() != menuModel_.FocusedItem()) return std::nullopt;
  return chosen;
}

std::string TMenuTreePage::CaptionOfProgram(const std::string& fileName) const {
  const TModuleVersion version = services_.Versions.Read(fileName);
  return version.Valid ? version.FileDescription : WithoutExtension(FileNameOf(fileName));
}

void TMenuTreePage::ExploreApplicationFolder(TCustomMenuItem& item) {
  // The folder of the program the item starts, so that a quoted path, one through an
  // environment variable or a bare name on the search path open where the program is.
  std::string folder = item.ApplicationFolder(services_.FileSystem);
  if (folder.empty()) folder = item.Application();  // the shell says why it cannot
  const long long result = ShellOpen("explore", folder);
  if (result <= 32) {
    ShowMessageBox(SystemErrorMessage(static_cast<DWORD>(result)), kAppTitle,
                   MB_OK | MB_ICONWARNING);
  }
}

void TMenuTreePage::ShowFileTypeFields(TFileType* type, TEdit& key, TEdit& extensions) {
  key.SetText(type ? FormatRes(msg::SFileTypeKey, {type->Name()}) : std::string());
  std::string list;
  if (type) {
    for (const std::string& extension : type->Extensions())
      list += (list.empty() ? "" : ", ") + extension;
  }
  extensions.SetText(list.empty() ? std::string() : FormatRes(msg::SFileTypeExtensions, {list}));
}

RECT TMenuTreePage::GlyphRect(TTreeNode node) const {
  const RECT text = tree_.NodeRect(node, true);
  RECT glyph{text.left - tree_.Indent() + 2, text.top + 1, 0, 0};
  glyph.right = glyph.left + 13;
  glyph.bottom = glyph.top + 13;
  return glyph;
}

bool TMenuTreePage::IsAcceptedDropTarget(TTreeNode node) const {
  return tree_.Dragging() && tree_.DropTarget() == node && dropAllowed_;
}

}  // namespace orvane
