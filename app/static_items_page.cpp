#include "app/static_items_page.h"

#include <commdlg.h>
#include <tuple>
#include <utility>
#include <shellapi.h>

#include "controls/adv_actions.h"
#include "controls/dragged_item.h"
#include "controls/form.h"
#include "filetypes/file_type_list.h"
#include "filetypes/file_types.h"
#include "filetypes/predefined_types.h"
#include "menus/file_type_category.h"
#include "menus/menu_file_io.h"
#include "menus/static_menu.h"
#include "platform/messages.h"
#include "platform/system_info.h"
#include "platform/win32/system_error.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

constexpr int kPageWidth = 740;
constexpr int kPageHeight = 315;
constexpr int kTreeWidth = 330;
constexpr COLORREF kMaroon = 128;
// The program's cursors: the hand, reordering, copying.
constexpr TCursor kHandCursor = 1;
constexpr TCursor kExchangeCursor = 2;
constexpr TCursor kCopyCursor = 3;
constexpr const char* kEnvListAddress =
    "https://learn.microsoft.com/windows/deployment/usmt/usmt-recognized-environment-variables";

// Runs `body` inside a refresh: control events meanwhile are not written to the model.
template <class Body>
void Refresh(int& counter, Body body) {
  ++counter;
  struct Leave {
    int& counter;
    ~Leave() { --counter; }
  } leave{counter};
  body();
}

std::string NodeCaption(TTreeItem* item) {
  if (auto* category = dynamic_cast<TCustomFileTypeCategory*>(item)) {
    return category->DisplayName();
  }
  if (auto* menuItem = dynamic_cast<TCustomMenuItem*>(item)) return menuItem->Caption();
  return {};
}

int NodeImageOf(TTreeItem* item) {
  auto* category = dynamic_cast<TCustomFileTypeCategory*>(item);
  // Items show no picture: their glyph is drawn in its place.
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

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

bool IsTextEdit(HWND window) {
  char name[32] = {};
  return window && GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, "Edit") == 0;
}

std::optional<std::string> OpenFileDialog(const std::string& current) {
  char file[MAX_PATH * 2] = {};
  lstrcpynA(file, current.c_str(), sizeof file);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = "Applications (*.exe;*.bat;*.cmd)\0*.exe;*.bat;*.cmd\0All Files (*.*)\0*.*\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrTitle = "Select an Application";
  dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (!GetOpenFileNameA(&dialog)) return std::nullopt;
  return std::string(file);
}

}  // namespace

void SetActionShortCut(const TAdvTreeView& tree, TAction& action, TShortCut shortCut) {
  action.SetShortCut(tree.IsEditing() || IsTextEdit(GetFocus()) ? 0 : shortCut);
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

TStaticItemsPage::TStaticItemsPage(TForm& form, TWinControl& parent, TActionList& actions,
                                   TStaticMenu& menu, TFileTypeList& fileTypes,
                                   const TServices& services, const TStaticPageCommands& commands)
    : tvMenu(form.Create<TAdvTreeView>("tvMenu", &parent)),
      HoverLabel1(form.Create<TLabel>("HoverLabel1", &parent)),
      spbAdd(form.Create<TSpeedButton>("spbAdd", &parent)),
      spbFind(form.Create<TSpeedButton>("spbFind", &parent)),
      spbDelete(form.Create<TSpeedButton>("spbDelete", &parent)),
      spbUp(form.Create<TSpeedButton>("spbUp", &parent)),
      spbDown(form.Create<TSpeedButton>("spbDown", &parent)),
      pnlStaticDetails(form.Create<TPanel>("pnlStaticDetails", &parent)),
      lblApplication(form.Create<TLabel>("lblApplication", &pnlStaticDetails)),
      edApplication(form.Create<TEdit>("edApplication", &pnlStaticDetails)),
      btnBrowse(form.Create<TButton>("btnBrowse", &pnlStaticDetails)),
      lblParameters(form.Create<TLabel>("lblParameters", &pnlStaticDetails)),
      edParameters(form.Create<TEdit>("edParameters", &pnlStaticDetails)),
      lblFileType(form.Create<TLabel>("lblFileType", &pnlStaticDetails)),
      cbFileType(form.Create<TFileTypeComboBox>("cbFileType", &pnlStaticDetails)),
      chkInclude(form.Create<TCheckBox>("chkInclude", &pnlStaticDetails)),
      edFileType(form.Create<TEdit>("edFileType", &pnlStaticDetails)),
      memFileExtensions(form.Create<TEdit>("memFileExtensions", &pnlStaticDetails)),
      pnlStaticError(form.Create<TPanel>("pnlStaticError", &pnlStaticDetails)),
      lblStaticError(form.Create<TLabel>("lblStaticError", &pnlStaticError)),
      lblEnvList(form.Create<TLinkLabel>("lblEnvList", &pnlStaticError)),
      actAdd(actions.Add("actAdd", "&Add Item", "Static")),
      actFind(actions.Add("actFind", "&Find Application", "Static")),
      actUp(actions.Add("actUp", "Move &Up", "Static")),
      actDown(actions.Add("actDown", "Move Do&wn", "Static")),
      actRename(actions.Add("actRename", "&Rename", "Static")),
      actSort(actions.Add("actSort", "&Sort by Name", "Static")),
      pmMenu(form.Create<TPopupMenu>("pmMenu")),
      BrowseApplication(OpenFileDialog),
      ShellOpen([folder = services.ProgramFolder](const std::string& verb, const std::string& target) {
        // From the program's folder, as the links' addresses expect.
        return static_cast<long long>(reinterpret_cast<INT_PTR>(
            ShellExecuteA(nullptr, verb.c_str(), target.c_str(), nullptr,
                          folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL)));
      }),
      form_(form),
      menu_(menu),
      fileTypes_(fileTypes),
      services_(services),
      actDelete_(commands.Delete) {
  // System cursors are shared and never freed.
  RegisterCursor(kHandCursor, LoadCursor(nullptr, IDC_HAND));
  RegisterCursor(kExchangeCursor, LoadCursor(nullptr, IDC_SIZENS));
  RegisterCursor(kCopyCursor, LoadCursor(nullptr, IDC_UPARROW));
  InitLayout();
  InitActions(commands.Delete);
  InitPopupMenu(commands);
  InitEvents();
  Rebuild();
  ShowStaticDetails();
}

TStaticItemsPage::~TStaticItemsPage() {
  // The controls and actions outlive the page: nothing of theirs may call it any more.
  menu_.OnChange = nullptr;
  menu_.OnFocusChanged = nullptr;
  menu_.OnItemChanged = nullptr;
  menu_.OnItemDeleting = nullptr;
  for (TAction* action : {&actAdd, &actFind, &actUp, &actDown, &actRename, &actSort}) {
    action->OnUpdate = nullptr;
    action->OnExecute = nullptr;
  }
  actDelete_.OnAfterUpdate = nullptr;
  tvMenu.OnChange = nullptr;
  tvMenu.OnExpanding = nullptr;
  tvMenu.OnCollapsing = nullptr;
  tvMenu.OnEditing = nullptr;
  tvMenu.OnEdited = nullptr;
  tvMenu.OnCustomDraw = nullptr;
  tvMenu.OnMouseDown = nullptr;
  tvMenu.OnMouseUp = nullptr;
  tvMenu.OnStartDrag = nullptr;
  tvMenu.OnDragOver = nullptr;
  tvMenu.OnDragDrop = nullptr;
  tvMenu.OnEndDrag = nullptr;
  tvMenu.OnFilesDrop = nullptr;
  tvMenu.OnContextMenu = nullptr;
  tvMenu.SetCollection(nullptr);
  edApplication.OnChange = nullptr;
  edParameters.OnChange = nullptr;
  cbFileType.OnChange = nullptr;
  chkInclude.OnClick = nullptr;
  btnBrowse.OnClick = nullptr;
  lblEnvList.OnClick = nullptr;
  HoverLabel1.OnClick = nullptr;
  for (TSpeedButton* button : {&spbAdd, &spbFind, &spbDelete, &spbUp, &spbDown})
    button->OnClick = nullptr;
}

void TStaticItemsPage::InitLayout() {
  HoverLabel1.SetBounds(8, 10, 80, 16);
  HoverLabel1.SetCaption(" Menu Items ");
  int left = 96;
  for (auto [button, caption, width] :
       {std::tuple{&spbAdd, "Add ", 44}, {&spbFind, "Find", 40}, {&spbDelete, "Delete", 50},
        {&spbUp, "Up", 36}, {&spbDown, "Down", 44}}) {
    button->SetBounds(left, 6, width, 22);
    button->SetCaption(caption);
    left += width + 2;
  }
  tvMenu.SetBounds(8, 32, kTreeWidth, kPageHeight - 40);
  tvMenu.SetAnchors({true, true, false, true});
  tvMenu.SetIndent(19);
  tvMenu.RightClickSelect = true;
  tvMenu.SetAcceptFiles(true);
  tvMenu.SetHint(
      "|List of static menu items grouped by file type\r\n"
      "Drag and drop an item to change its order or its file type; hold Ctrl to copy it.\r\n"
      "Drop application files from the file manager to add them.\r\n"
      "\"&\" in a caption marks the access key.\r\n"
      "Use the pop-up menu or the hot keys for the other commands.");
  if (auto* images = dynamic_cast<TWin32ImageList*>(fileTypes_.Images()))
    tvMenu.SetImages(images->Handle());

  const int detailsLeft = kTreeWidth + 16;
  const int width = kPageWidth - detailsLeft - 8;
  pnlStaticDetails.SetBounds(detailsLeft, 6, width, kPageHeight - 14);
  pnlStaticDetails.SetAnchors({true, true, true, true});
  const int field = width - 16;
  lblApplication.SetBounds(8, 6, 200, 16);
  lblApplication.SetCaption("&Application:");
  lblApplication.SetFocusControl(&edApplication);
  edApplication.SetBounds(8, 24, field - 30, 22);
  edApplication.SetHint("|Full path to an application invoked by the menu item.\r\n"
                        "Drop a file from the file manager or use the browse button.");
  btnBrowse.SetBounds(field - 18, 24, 26, 22);
  btnBrowse.SetCaption("...");
  btnBrowse.SetHint("Select an application");
  lblParameters.SetBounds(8, 52, 200, 16);
  lblParameters.SetCaption("&Parameters:");
  lblParameters.SetFocusControl(&edParameters);
  edParameters.SetBounds(8, 70, field, 22);
  edParameters.SetHint("|List of the application parameters\r\n"
                       "\"%1\" stands for the file object, for example: /p \"%1\"");
  lblFileType.SetBounds(8, 98, 200, 16);
  lblFileType.SetCaption("&File Type:");
  lblFileType.SetFocusControl(&cbFileType);
  cbFileType.SetBounds(8, 116, field, 22);
  cbFileType.SetFileTypes(&fileTypes_);
  cbFileType.SetImages(dynamic_cast<TWin32ImageList*>(fileTypes_.Images()));
  cbFileType.SetPredefinedTypes(kAllPredefinedTypes);
  cbFileType.SetHint("|List of registered file types\r\nChoose the file type of the item.");
  chkInclude.SetBounds(8, 144, 120, 20);
  chkInclude.SetCaption("A&ctive");
  chkInclude.SetHint("|Menu item activating box\r\n"
                     "Checked items appear in the context menu; new items are checked.");
  edFileType.SetBounds(8, 168, field, 20);
  edFileType.SetHint("|Registry key name\r\nThe key of the selected file type.");
  SendMessageA(edFileType.Handle(), EM_SETREADONLY, TRUE, 0);
  memFileExtensions.SetBounds(8, 192, field, 20);
  memFileExtensions.SetHint("|List of the associated file extensions\r\n"
                            "The extensions of the selected file type.");
  SendMessageA(memFileExtensions.Handle(), EM_SETREADONLY, TRUE, 0);
  pnlStaticDetails.SetFocusFrame(true);
  pnlStaticError.SetBounds(8, 218, field, 76);
  pnlStaticError.SetBevelOuter(TBevel::Lowered);
  lblStaticError.SetBounds(6, 4, field - 12, 48);
  lblStaticError.SetWordWrap(true);
  lblStaticError.SetCaption(
      "Context menu item refers to an application that does not exist or is unavailable. It is "
      "recommended to use environment variables to ensure that menu items are portable.");
  lblEnvList.SetBounds(6, 54, 200, 16);
  lblEnvList.SetCaption("List of environment variables");
  lblEnvList.SetHint(kEnvListAddress);
  TFont link;
  link.Color = RGB(0, 0, 255);
  lblEnvList.SetFont(link);
  pnlStaticError.SetVisible(false);
}

void TStaticItemsPage::InitActions(TAdvEditAction& actDelete) {
  actAdd.SetHint("Add new menu item");
  actAdd.OnUpdate = [this](TAction& a) {
    a.SetEnabled(Ready());
    SetActionShortCut(tvMenu, a, VK_INSERT);
  };
  actAdd.OnExecute = [this](TAction&) {
    tvMenu.SetFocus();
    AddStaticItem(std::nullopt);
  };
  actFind.SetHint("Find application associated with menu item");
  actFind.OnUpdate = [this](TAction& a) {
    TStaticMenuItem* item = FocusedStaticItem();
    a.SetEnabled(Ready() && item && !item->Application().empty());
    SetActionShortCut(tvMenu, a, scCtrl | 'F');
  };
  actFind.OnExecute = [this](TAction&) {
    tvMenu.SetFocus();
    TStaticMenuItem* item = FocusedStaticItem();
    if (!item) return;
    // The folder of the program the verb starts, so that a quoted path, one through an
    // environment variable or a bare name on the search path open where the program is.
    std::string folder = item->ApplicationFolder(services_.FileSystem);
    if (folder.empty()) folder = item->Application();  // the shell says why it cannot
    const long long result = ShellOpen("explore", folder);
    if (result <= 32) {
      ShowMessageBox(SystemErrorMessage(static_cast<DWORD>(result)), kAppTitle,
                     MB_OK | MB_ICONWARNING);
    }
  };
  actUp.SetHint("Move up");
  actUp.OnUpdate = [this](TAction& a) {
    TStaticMenuItem* item = FocusedStaticItem();
    a.SetEnabled(Ready() && item && item->Index() > 0);
    SetActionShortCut(tvMenu, a, scCtrl | VK_UP);
  };
  actUp.OnExecute = [this](TAction&) {
    tvMenu.SetFocus();
    if (TStaticMenuItem* item = FocusedStaticItem()) item->SetIndex(item->Index() - 1);
  };
  actDown.SetHint("Move down");
  actDown.OnUpdate = [this](TAction& a) {
    TStaticMenuItem* item = FocusedStaticItem();
    a.SetEnabled(Ready() && item && item->Index() < item->Collection()->Count() - 1);
    SetActionShortCut(tvMenu, a, scCtrl | VK_DOWN);
  };
  actDown.OnExecute = [this](TAction&) {
    tvMenu.SetFocus();
    if (TStaticMenuItem* item = FocusedStaticItem()) item->SetIndex(item->Index() + 1);
  };
  actRename.SetHint("Rename menu item");
  actRename.OnUpdate = [this](TAction& a) {
    a.SetEnabled(Ready() && FocusedStaticItem());
    SetActionShortCut(tvMenu, a, VK_F2);
  };
  actRename.OnExecute = [this](TAction&) {
    if (TTreeNode node = tvMenu.Selected()) tvMenu.EditLabel(node);
    form_.UpdateActions("Static");
  };
  actSort.SetHint("Sort item by name");
  actSort.OnUpdate = [this](TAction& a) {
    a.SetEnabled(Ready() && menu_.FocusedItem());
    SetActionShortCut(tvMenu, a, 0);
  };
  actSort.OnExecute = [this](TAction&) {
    TTreeItem* focused = menu_.FocusedItem();
    if (dynamic_cast<TCustomFileTypeCategory*>(focused)) {
      focused->Items().Sort();
    } else if (focused && focused->Collection()) {
      focused->Collection()->Sort();
    }
  };
  // The buttons keep their short captions: they follow their commands' state only.
  for (auto [button, action] : {std::pair{&spbAdd, &actAdd}, {&spbFind, &actFind},
                                {&spbUp, &actUp}, {&spbDown, &actDown}}) {
    button->SetHint(action->Hint());
    button->OnClick = [action = action] { action->Execute(); };
    auto update = action->OnUpdate;
    action->OnUpdate = [update, button = button](TAction& a) {
      update(a);
      button->SetEnabled(a.Enabled());
    };
  }
  spbDelete.SetHint("Delete menu item");
  spbDelete.OnClick = [this, &actDelete] {
    tvMenu.SetFocus();
    actDelete.Execute();
  };
  auto previous = actDelete.OnAfterUpdate;
  actDelete.OnAfterUpdate = [this, previous](TAdvEditAction& sender) {
    if (previous) previous(sender);
    spbDelete.SetEnabled(sender.Enabled() && Ready());
  };
}

void TStaticItemsPage::InitPopupMenu(const TStaticPageCommands& commands) {
  for (TAction* action : {&actAdd, &actFind, static_cast<TAction*>(nullptr), &actUp, &actDown,
                          static_cast<TAction*>(nullptr), &actSort, static_cast<TAction*>(nullptr),
                          &commands.Copy, &commands.Paste, static_cast<TAction*>(&commands.Delete),
                          &actRename, static_cast<TAction*>(nullptr), &commands.QuickHint})
    pmMenu.Add(action);
}

void TStaticItemsPage::InitEvents() {
  menu_.OnChange = [this](TTreeItems* list, TTreeItem* item) { MenuChange(list, item); };
  menu_.OnFocusChanged = [this] { FocusChanged(); };
  menu_.OnItemChanged = [this](TTreeItem* item) { ItemChanged(item); };
  menu_.OnItemDeleting = [this](TTreeItem* item) {
    // The node goes with its item, so that nothing refers to it meanwhile.
    if (TTreeNode node = tvMenu.FindNode(item)) {
      Refresh(refreshing_, [&] { tvMenu.DeleteNode(node); });
    }
  };
  tvMenu.OnChange = [this](TTreeNode node) {
    if (refreshing_ > 0) return;
    menu_.Focus(node ? static_cast<TTreeItem*>(tvMenu.NodeData(node)) : nullptr);
  };
  auto expanding = [this](bool expand) {
    return [this, expand](TTreeNode node, bool&) {
      if (refreshing_ > 0) return;
      if (auto* item = static_cast<TTreeItem*>(tvMenu.NodeData(node))) item->SetExpanded(expand);
    };
  };
  tvMenu.OnExpanding = expanding(true);
  tvMenu.OnCollapsing = expanding(false);
  tvMenu.OnEditing = [this](TTreeNode, bool& allow) {
    allow = FocusedStaticItem() != nullptr;
    form_.UpdateActions("Static");
  };
  tvMenu.OnEdited = [this](TTreeNode node, std::string& text) {
    if (auto* item = dynamic_cast<TStaticMenuItem*>(static_cast<TTreeItem*>(tvMenu.NodeData(node))))
      item->SetCaption(text);
    form_.UpdateActions("Static");
  };
  tvMenu.OnCustomDraw = [this](NMTVCUSTOMDRAW& draw) { return CustomDraw(draw); };
  tvMenu.OnMouseDown = [this](int button, int x, int y) {
    if (button != 0) return;
    UINT flags = 0;
    TTreeNode node = tvMenu.NodeAt(x, y, &flags);
    glyphNode_ = node && (flags & (TVHT_ONITEMICON | TVHT_ONITEMSTATEICON)) ? node : nullptr;
  };
  tvMenu.OnMouseUp = [this](int button, int x, int y) {
    if (button != 0) return;
    TTreeNode pressed = glyphNode_;
    glyphNode_ = nullptr;
    if (!pressed || tvMenu.Dragging()) return;
    UINT flags = 0;
    if (tvMenu.NodeAt(x, y, &flags) != pressed) return;
    if (!(flags & (TVHT_ONITEMICON | TVHT_ONITEMSTATEICON))) return;
    if (auto* item = dynamic_cast<TStaticMenuItem*>(static_cast<TTreeItem*>(tvMenu.NodeData(pressed))))
      item->SetChecked(!item->Checked());
  };
  tvMenu.OnStartDrag = [this](std::unique_ptr<TDragObject>& object) { StartDrag(object); };
  tvMenu.OnDragOver = [this](TDragObject& source, int x, int y, bool& accept) {
    // Closed categories open under the mouse, and the tree scrolls along the drag, also
    // over nodes that refuse the item.
    UINT flags = 0;
    if (TTreeNode node = tvMenu.NodeAt(x, y, &flags)) {
      constexpr UINT kOpening =
          TVHT_ONITEMBUTTON | TVHT_ONITEMICON | TVHT_ONITEMINDENT | TVHT_ONITEMSTATEICON;
      if ((flags & kOpening) && tvMenu.HasChildren(node) && !tvMenu.Expanded(node)) {
        tvMenu.Expand(node, true);
        if (auto* item = static_cast<TTreeItem*>(tvMenu.NodeData(node))) item->SetExpanded(true);
      }
      tvMenu.MakeVisible(node);
    }
    TTreeItem* target = DropTarget(source, x, y);
    accept = target != nullptr;
    dropAllowed_ = accept;
    auto* dragged = static_cast<TDraggedItem*>(&source);
    if (!accept) return;
    const bool reorder = dynamic_cast<TStaticMenuItem*>(target) &&
                         target->Collection() == dragged->Item()->Collection();
    dragged->SetDragCursor(reorder ? kExchangeCursor
                           : GetKeyState(VK_CONTROL) < 0 ? kCopyCursor
                                                         : crArrow);
  };
  tvMenu.OnDragDrop = [this](TDragObject& source, int x, int y) { DragDrop(source, x, y); };
  tvMenu.OnEndDrag = [this] {
    dropAllowed_ = false;
    InvalidateRect(tvMenu.Handle(), nullptr, TRUE);
  };
  tvMenu.OnFilesDrop = [this](const std::vector<std::string>& files) { AddStaticFiles(files); };

  edApplication.OnChange = [this] {
    if (refreshing_ > 0) return;
    if (TStaticMenuItem* item = FocusedStaticItem()) item->SetApplication(edApplication.Text());
  };
  edParameters.OnChange = [this] {
    if (refreshing_ > 0) return;
    if (TStaticMenuItem* item = FocusedStaticItem()) item->SetParameters(edParameters.Text());
  };
  cbFileType.OnChange = [this] {
    if (refreshing_ > 0) return;
    TStaticMenuItem* item = FocusedStaticItem();
    TFileType* type = cbFileType.SelectedFileType();
    if (item && type && type != item->ItemFileType()) {
      item->SetFileType(type);
      item->Focus();
    }
  };
  chkInclude.OnClick = [this] {
    if (refreshing_ > 0) return;
    if (TStaticMenuItem* item = FocusedStaticItem()) item->SetChecked(chkInclude.Checked());
  };
  btnBrowse.OnClick = [this] { BrowseForApplication(); };
  lblEnvList.OnClick = [this] {
    const long long result = ShellOpen("open", lblEnvList.Hint());
    if (result <= 32) {
      ShowMessageBox(FormatRes(msg::SLinkError, {SystemErrorMessage(static_cast<DWORD>(result))}),
                     kAppTitle, MB_OK | MB_ICONWARNING);
    }
  };
  tvMenu.OnContextMenu = [this](int x, int y) {
    POINT at{x, y};
    if (x == -1 && y == -1) {  // from the keyboard: at the selected node
      const RECT text = tvMenu.NodeRect(tvMenu.Selected(), true);
      at = POINT{text.left, text.bottom};
      ClientToScreen(tvMenu.Handle(), &at);
    }
    pmMenu.Popup(form_.Handle(), at);
  };
  HoverLabel1.OnClick = [this] {
    tvMenu.SetFocus();
    POINT at{};
    GetCursorPos(&at);
    pmMenu.Popup(form_.Handle(), at);
  };
}

bool TStaticItemsPage::Ready() const {
  return (!PageActive || PageActive()) && !tvMenu.IsEditing();
}

TStaticMenuItem* TStaticItemsPage::FocusedStaticItem() const {
  return dynamic_cast<TStaticMenuItem*>(menu_.FocusedItem());
}

bool TStaticItemsPage::HasChanges() const { return menu_.IsModified(); }

void TStaticItemsPage::ApplyChanges(const std::string& menuFile) {
  if (menu_.IsModified()) ApplyStaticMenu(menu_, menuFile, services_.Files);
}

void TStaticItemsPage::Rebuild() {
  Refresh(refreshing_, [&] { RebuildTree(menu_, tvMenu, nullptr, nullptr); });
  FocusChanged();
}

void TStaticItemsPage::MenuChange(TTreeItems* list, TTreeItem* item) {
  // The selection follows the model again also when the rebuild failed.
  try {
    Refresh(refreshing_, [&] { RebuildTree(menu_, tvMenu, item, list); });
  } catch (...) {
    FocusChanged();
    throw;
  }
  FocusChanged();
}

void TStaticItemsPage::FocusChanged() {
  Refresh(refreshing_, [&] {
    TTreeItem* focused = menu_.FocusedItem();
    TTreeNode node = focused ? tvMenu.FindNode(focused) : nullptr;
    tvMenu.SetSelected(node);
    if (node) tvMenu.MakeVisible(node);
    form_.UpdateActions(std::nullopt);
    ShowStaticDetails();
  });
}

void TStaticItemsPage::ItemChanged(TTreeItem* item) {
  form_.UpdateActions(std::nullopt);
  if (TTreeNode node = tvMenu.FindNode(item)) tvMenu.SetNodeText(node, NodeCaption(item));
  if (item == menu_.FocusedItem()) ShowStaticDetails();
  InvalidateRect(tvMenu.Handle(), nullptr, TRUE);
}

void TStaticItemsPage::ShowStaticDetails() {
  Refresh(refreshing_, [&] {
    TStaticMenuItem* item = FocusedStaticItem();
    for (TControl* control : pnlStaticDetails.Controls()) control->SetEnabled(item != nullptr);
    pnlStaticError.SetVisible(false);
    if (!item) {
      edApplication.SetText("");
      edParameters.SetText("");
      edFileType.SetText("");
      memFileExtensions.SetText("");
      chkInclude.SetChecked(false);
      cbFileType.SetSelectedFileType(nullptr);
      return;
    }
    chkInclude.SetChecked(item->Checked());
    if (edApplication.Text() != item->Application()) edApplication.SetText(item->Application());
    if (edParameters.Text() != item->Parameters()) edParameters.SetText(item->Parameters());
    TFileType* type = item->ItemFileType();
    cbFileType.SetSelectedFileType(type);
    edFileType.SetText(type ? Format("Key: \"%s\"", {type->Name()}) : std::string());
    std::string extensions;
    if (type) {
      for (const std::string& extension : type->Extensions())
        extensions += (extensions.empty() ? "" : ", ") + extension;
    }
    memFileExtensions.SetText(extensions.empty() ? std::string() : "Extensions: " + extensions);
    pnlStaticError.SetVisible(item->IsApplicationMissing(services_.FileSystem));
  });
}

void TStaticItemsPage::AddStaticItem(const std::optional<std::string>& fileName) {
  TTreeItem* focused = menu_.FocusedItem();
  TTreeItems* list = &menu_.Items();
  if (dynamic_cast<TCustomFileTypeCategory*>(focused)) {
    list = &focused->Items();
  } else if (auto* menuItem = dynamic_cast<TCustomMenuItem*>(focused)) {
    if (TCustomFileTypeCategory* category = menuItem->Category()) list = &category->Items();
  }
  const bool wasModified = menu_.IsModified();
  auto* item = dynamic_cast<TStaticMenuItem*>(menu_.List().AddFirstItem(*list));
  if (!item) return;
  if (fileName) {
    {
      TItemUpdate update(item);
      item->SetApplication(*fileName);
      item->SetCaption(FileNameOf(*fileName));
    }
    item->Focus();
    return;
  }
  item->Focus();
  TLiveRef<TStaticMenuItem> live(item);
  BrowseForApplication();
  // Add then Cancel leaves the menu as it was, unmodified too.
  if (TStaticMenuItem* still = live.Get(); still && still == FocusedStaticItem() &&
                                           still->Application().empty()) {
    still->Free();
    if (!wasModified) menu_.ClearModified();
  }
}

void TStaticItemsPage::AddStaticFiles(const std::vector<std::string>& files) {
  if (files.empty()) return;
  AddStaticItem(files.front());
  if (files.size() == 1) return;
  TTreeItem* focused = menu_.FocusedItem();
  TTreeItem* target = dynamic_cast<TCustomFileTypeCategory*>(focused) ? focused : nullptr;
  if (auto* menuItem = dynamic_cast<TCustomMenuItem*>(focused)) target = menuItem->Category();
  TTreeItems& list = target ? target->Items() : menu_.Items();
  TTreeItem* last = nullptr;
  {
    TListUpdate update(&list);
    for (size_t i = 1; i < files.size(); ++i) {
      auto* item = dynamic_cast<TStaticMenuItem*>(menu_.List().AddFirstItem(list));
      if (!item) continue;
      TItemUpdate itemUpdate(item);
      item->SetApplication(files[i]);
      item->SetCaption(FileNameOf(files[i]));
      last = item;
    }
  }
  if (last) last->Focus();
}

void TStaticItemsPage::BrowseForApplication() {
  TStaticMenuItem* item = FocusedStaticItem();
  if (!item || !BrowseApplication) return;
  TLiveRef<TStaticMenuItem> live(item);
  std::optional<std::string> chosen = BrowseApplication(item->Application());
  if (chosen && live.Get() == FocusedStaticItem()) ApplicationChosen(*chosen);
}

void TStaticItemsPage::ApplicationChosen(const std::string& fileName) {
  TStaticMenuItem* item = FocusedStaticItem();
  if (!item) return;
  const TModuleVersion version = services_.Versions.Read(fileName);
  item->SetCaption(version.Valid ? version.FileDescription : WithoutExtension(FileNameOf(fileName)));
  item->SetApplication(fileName);
}

LRESULT TStaticItemsPage::CustomDraw(NMTVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      auto* item = dynamic_cast<TStaticMenuItem*>(reinterpret_cast<TTreeItem*>(draw.nmcd.lItemlParam));
      COLORREF color = GetSysColor(COLOR_WINDOWTEXT);
      if (item && !item->Checked()) {
        color = GetSysColor(COLOR_GRAYTEXT);
      } else if (item && item->IsApplicationMissing(services_.FileSystem)) {
        color = kMaroon;
      }
      if (!(draw.nmcd.uItemState & CDIS_SELECTED)) draw.clrText = color;
      return CDRF_NOTIFYPOSTPAINT;
    }
    case CDDS_ITEMPOSTPAINT: {
      auto* item = dynamic_cast<TStaticMenuItem*>(reinterpret_cast<TTreeItem*>(draw.nmcd.lItemlParam));
      if (!item) return CDRF_DODEFAULT;
      auto node = reinterpret_cast<TTreeNode>(draw.nmcd.dwItemSpec);
      RECT text = tvMenu.NodeRect(node, true);
      const int size = 13;
      RECT glyph{text.left - tvMenu.Indent() + 2, text.top + 1, 0, 0};
      glyph.right = glyph.left + size;
      glyph.bottom = glyph.top + size;
      UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
      if (tvMenu.Dragging() && tvMenu.DropTarget() == node && dropAllowed_) {
        state = DFCS_BUTTONRADIO | DFCS_CHECKED;
      } else if (item->Checked()) {
        state |= DFCS_CHECKED;
      }
      DrawFrameControl(draw.nmcd.hdc, &glyph, DFC_BUTTON, state);
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void TStaticItemsPage::StartDrag(std::unique_ptr<TDragObject>& object) {
  TStaticMenuItem* item = FocusedStaticItem();
  if (glyphNode_ || !item) return;
  auto dragged = std::make_unique<TDraggedStaticItem>(*item);
  if (TTreeNode node = tvMenu.Selected()) {
    if (HIMAGELIST image = tvMenu.CreateDragImage(node)) dragged->SetDragImages(image);
  }
  object = std::move(dragged);
}

TTreeItem* TStaticItemsPage::DropTarget(TDragObject& source, int x, int y) const {
  auto* dragged = dynamic_cast<TDraggedStaticItem*>(&source);
  TStaticMenuItem* item = dragged ? dragged->StaticItem() : nullptr;
  if (!item) return nullptr;
  UINT flags = 0;
  TTreeNode node = tvMenu.NodeAt(x, y, &flags);
  auto* target = node ? static_cast<TTreeItem*>(tvMenu.NodeData(node)) : nullptr;
  if (!target || target == item || target == item->Category()) return nullptr;
  return target;
}

void TStaticItemsPage::DragDrop(TDragObject& source, int x, int y) {
  TTreeItem* target = DropTarget(source, x, y);
  if (!target) return;
  TStaticMenuItem* item = static_cast<TDraggedStaticItem&>(source).StaticItem();
  if (dynamic_cast<TStaticMenuItem*>(target) && target->Collection() == item->Collection()) {
    item->SetIndex(target->Index());
    return;
  }
  const bool copy = GetKeyState(VK_CONTROL) < 0;
  if (dynamic_cast<TStaticMenuItem*>(target)) {
    TTreeItem* category = static_cast<TStaticMenuItem*>(target)->Category();
    item->TransferTo(*category, target->Index(), copy);
  } else {
    item->TransferTo(*target, 0, copy);
  }
}

}  // namespace orvane
