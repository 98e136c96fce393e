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
}  // namespace

TStaticItemsPage::TStaticItemsPage(TForm& form, TWinControl& parent, TActionList& actions,
                                   TStaticMenu& menu, TFileTypeList& fileTypes,
                                   const TServices& services, const TStaticPageCommands& commands)
    : TMenuTreePage(form, menu, form.Create<TAdvTreeView>("tvMenu", &parent),
                    form.Create<TPopupMenu>("pmMenu"), services, "Static",
                    msg::SSelectApplicationTitle),
      tvMenu(tree_),
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
      pmMenu(popup_),
      menu_(menu),
      fileTypes_(fileTypes) {
  InitLayout();
  InitActions(commands.Delete);
  InitPopupMenu(commands);
  InitEvents();
  Rebuild();
  ShowStaticDetails();
}

TStaticItemsPage::~TStaticItemsPage() {
  DetachTree();
  for (TAction* action : {&actAdd, &actFind, &actUp, &actDown, &actRename, &actSort}) {
    action->OnUpdate = nullptr;
    action->OnExecute = nullptr;
  }
  edApplication.OnChange = nullptr;
  edParameters.OnChange = nullptr;
  cbFileType.OnChange = nullptr;
  chkInclude.OnClick = nullptr;
  btnBrowse.OnClick = nullptr;
}

void TStaticItemsPage::InitLayout() {
  HoverLabel1.SetBounds(8, 10, 80, 16);
  HoverLabel1.SetCaption(" Menu Items ");
  buttonRow_.Place(96, 6, 22, 2);
  for (auto [button, caption, width] :
       {std::tuple{&spbAdd, "Add ", 44}, {&spbFind, "Find", 40}, {&spbDelete, "Delete", 50},
        {&spbUp, "Up", 36}, {&spbDown, "Down", 44}})
    buttonRow_.Add(*button, caption, width);
  tvMenu.SetBounds(8, 32, kTreeWidth, kPageHeight - 40);
  tvMenu.SetAnchors({true, true, false, true});
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
  pnlStaticDetails.SetFocusFrame(true);
  const int field = width - 16;
  lblApplication.SetBounds(8, 6, 200, 16);
  lblApplication.SetCaption("&Application:");
  lblApplication.SetFocusControl(&edApplication);
  edApplication.SetBounds(8, 24, field - 30, 22);
  edApplication.SetHint(kApplicationHint);
  btnBrowse.SetBounds(field - 18, 24, 26, 22);
  btnBrowse.SetCaption("...");
  btnBrowse.SetHint("Select an application");
  lblParameters.SetBounds(8, 52, 200, 16);
  lblParameters.SetCaption("&Parameters:");
  lblParameters.SetFocusControl(&edParameters);
  edParameters.SetBounds(8, 70, field, 22);
  edParameters.SetHint(kParametersHint);
  lblFileType.SetBounds(8, 98, 200, 16);
  lblFileType.SetCaption("&File Type:");
  lblFileType.SetFocusControl(&cbFileType);
  cbFileType.SetBounds(8, 116, field, 22);
  cbFileType.SetFileTypes(&fileTypes_);
  cbFileType.SetImages(dynamic_cast<TWin32ImageList*>(fileTypes_.Images()));
  cbFileType.SetPredefinedTypes(kAllPredefinedTypes);
  cbFileType.SetHint(kFileTypeHint);
  chkInclude.SetBounds(8, 144, 120, 20);
  chkInclude.SetCaption("A&ctive");
  chkInclude.SetHint(kActiveHint);
  edFileType.SetBounds(8, 168, field, 20);
  edFileType.SetHint(kKeyHint);
  SendMessageA(edFileType.Handle(), EM_SETREADONLY, TRUE, 0);
  memFileExtensions.SetBounds(8, 192, field, 20);
  memFileExtensions.SetHint(kExtensionsHint);
  SendMessageA(memFileExtensions.Handle(), EM_SETREADONLY, TRUE, 0);
  pnlStaticError.SetBounds(8, 218, field, 76);
  InitErrorPanel(pnlStaticError, lblStaticError, lblEnvList, field);
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
    if (TStaticMenuItem* item = FocusedStaticItem()) ExploreApplicationFolder(*item);
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
  for (auto [button, action] : {std::pair{&spbAdd, &actAdd}, {&spbFind, &actFind},
                                {&spbUp, &actUp}, {&spbDown, &actDown}})
    BindButton(*button, *action);
  BindDeleteButton(spbDelete, actDelete);
}

void TStaticItemsPage::InitPopupMenu(const TStaticPageCommands& commands) {
  for (TAction* action : {&actAdd, &actFind, static_cast<TAction*>(nullptr), &actUp, &actDown,
                          static_cast<TAction*>(nullptr), &actSort, static_cast<TAction*>(nullptr),
                          &commands.Copy, &commands.Paste, static_cast<TAction*>(&commands.Delete),
                          &actRename, static_cast<TAction*>(nullptr), &commands.QuickHint})
    pmMenu.Add(action);
}

void TStaticItemsPage::InitEvents() {
  InitTree(HoverLabel1);
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
}

TStaticMenuItem* TStaticItemsPage::FocusedStaticItem() const {
  return dynamic_cast<TStaticMenuItem*>(menu_.FocusedItem());
}

bool TStaticItemsPage::HasChanges() const { return menu_.IsModified(); }

void TStaticItemsPage::ApplyChanges(const std::string& menuFile) {
  if (menu_.IsModified()) ApplyStaticMenu(menu_, menuFile, services_.Files);
}

void TStaticItemsPage::ShowStaticDetails() {
  Refreshed([&] {
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
    ShowFileTypeFields(type, edFileType, memFileExtensions);
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

TTreeItems& TStaticItemsPage::FilesTarget() {
  // The first file's item is focused: its category takes the others.
  auto* focused = dynamic_cast<TCustomMenuItem*>(menu_.FocusedItem());
  TTreeItem* target = focused ? focused->Category() : menu_.FocusedItem();
  return target ? target->Items() : menu_.Items();
}

void TStaticItemsPage::SetUpFileItem(TCustomMenuItem& item, const std::string& fileName) {
  item.SetApplication(fileName);
  item.SetCaption(FileNameOf(fileName));
}

void TStaticItemsPage::BrowseForApplication() {
  TStaticMenuItem* item = FocusedStaticItem();
  if (!item) return;
  if (std::optional<std::string> chosen = BrowseFor(*item)) {
    item->SetCaption(CaptionOfProgram(*chosen));
    item->SetApplication(*chosen);
  }
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
      RECT glyph = GlyphRect(node);
      UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
      if (IsAcceptedDropTarget(node)) {
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

std::unique_ptr<TDraggedItem> TStaticItemsPage::DragObjectOfFocus() {
  TStaticMenuItem* item = FocusedStaticItem();
  if (glyphNode_ || !item) return nullptr;
  return std::make_unique<TDraggedStaticItem>(*item);
}

bool TStaticItemsPage::IsReorder(TTreeItem* target, TCustomMenuItem& dragged) const {
  return dynamic_cast<TStaticMenuItem*>(target) && target->Collection() == dragged.Collection();
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
