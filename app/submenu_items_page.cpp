#include "app/submenu_items_page.h"

#include <tuple>
#include <utility>

#include "controls/adv_actions.h"
#include "controls/form.h"
#include "filetypes/file_type_list.h"
#include "filetypes/predefined_types.h"
#include "menus/dynamic_menu.h"
#include "menus/file_type_category.h"
#include "platform/file_system.h"
#include "storage/mru_list.h"

namespace orvane {
namespace {

constexpr int kPageWidth = 740;
constexpr int kPageHeight = 315;
constexpr int kTreeWidth = 380;


bool IsSubmenu(const TTreeItem* item) { return dynamic_cast<const TDynamicSubMenu*>(item); }

}  // namespace

TSubmenuItemsPage::TSubmenuItemsPage(TForm& form, TWinControl& parent, TActionList& actions,
                                     TDynamicMenu& menu, TFileTypeList& fileTypes,
                                     const TServices& services, const TMenuPageCommands& commands,
                                     std::string menuFile, TMruList& recentMenus)
    : TMenuTreePage(form, menu, form.Create<TAdvTreeView>("tvXMenu", &parent),
                    form.Create<TPopupMenu>("pmXMenus"), services, "ActiveX",
                    msg::SSelectApplicationTitleX),
      tvXMenu(tree_),
      lblXMenuItems(form.Create<TLabel>("lblXMenuItems", &parent)),
      spbXNew(form.Create<TSpeedButton>("spbXNew", &parent)),
      spbXDelete(form.Create<TSpeedButton>("spbXDelete", &parent)),
      spbXFind(form.Create<TSpeedButton>("spbXFind", &parent)),
      spbXBitmap(form.Create<TSpeedButton>("spbXBitmap", &parent)),
      spbXCustom(form.Create<TSpeedButton>("spbXCustom", &parent)),
      spbXMenu(form.Create<TSpeedButton>("spbXMenu", &parent)),
      spbXUp(form.Create<TSpeedButton>("spbXUp", &parent)),
      spbXDown(form.Create<TSpeedButton>("spbXDown", &parent)),
      chkShellExt(form.Create<TCheckBox>("chkShellExt", &parent)),
      pnlDynamicDetails(form.Create<TPanel>("pnlDynamicDetails", &parent)),
      lblXApplication(form.Create<TLabel>("lblXApplication", &pnlDynamicDetails)),
      edXApplication(form.Create<TEdit>("edXApplication", &pnlDynamicDetails)),
      btnXBrowse(form.Create<TButton>("btnXBrowse", &pnlDynamicDetails)),
      imgXApplication(form.Create<TImage>("imgXApplication", &pnlDynamicDetails)),
      lblXParameters(form.Create<TLabel>("lblXParameters", &pnlDynamicDetails)),
      edXParameters(form.Create<TEdit>("edXParameters", &pnlDynamicDetails)),
      lblXMenuHint(form.Create<TLabel>("lblXMenuHint", &pnlDynamicDetails)),
      edXMenuHint(form.Create<TEdit>("edXMenuHint", &pnlDynamicDetails)),
      lblXFileType(form.Create<TLabel>("lblXFileType", &pnlDynamicDetails)),
      cbXFileType(form.Create<TFileTypeComboBox>("cbXFileType", &pnlDynamicDetails)),
      chkXInclude(form.Create<TCheckBox>("chkXInclude", &pnlDynamicDetails)),
      edXFileType(form.Create<TEdit>("edXFileType", &pnlDynamicDetails)),
      memXFileExtensions(form.Create<TEdit>("memXFileExtensions", &pnlDynamicDetails)),
      pnlXError(form.Create<TPanel>("pnlXError", &pnlDynamicDetails)),
      lblXError(form.Create<TLabel>("lblXError", &pnlXError)),
      lblXEnvList(form.Create<TLinkLabel>("lblXEnvList", &pnlXError)),
      actXAdd(actions.Add("actXAdd", "&Add Item", "ActiveX")),
      actXSub(actions.Add("actXSub", "Add Sub&menu", "ActiveX")),
      actXSeparator(actions.Add("actXSeparator", "Add &Separator", "ActiveX")),
      actXFind(actions.Add("actXFind", "&Find Application", "ActiveX")),
      actXSelectIcon(actions.Add("actXSelectIcon", "&Select...", "ActiveX")),
      actXRemoveIcon(actions.Add("actXRemoveIcon", "&Remove", "ActiveX")),
      actXUp(actions.Add("actXUp", "Move &Up", "ActiveX")),
      actXDown(actions.Add("actXDown", "Move Do&wn", "ActiveX")),
      actXRename(actions.Add("actXRename", "&Rename", "ActiveX")),
      actXSort(actions.Add("actXSort", "Sort by &Name", "ActiveX")),
      actXMenuNew(actions.Add("actXMenuNew", "&New", "ActiveX")),
      actXMenuOpen(actions.Add("actXMenuOpen", "&Open...", "ActiveX")),
      actXMenuSave(actions.Add("actXMenuSave", "&Save...", "ActiveX")),
      actXMenuRevert(actions.Add("actXMenuRevert", "Re&vert", "ActiveX")),
      actXMenuCustom(actions.Add("actXMenuCustom", "&Customize...", "ActiveX")),
      pmXMenus(popup_),
      pmXAddItem(form.Create<TPopupMenu>("pmXAddItem")),
      pmXItemIcon(form.Create<TPopupMenu>("pmXItemIcon")),
      pmXMenuScheme(form.Create<TPopupMenu>("pmXMenuScheme")),
      menu_(menu),
      fileTypes_(fileTypes),
      menuFile_(std::move(menuFile)),
      recentMenus_(recentMenus) {
  InitLayout();
  InitDetailsLayout();
  // The menu file commands first: the "Menu" button follows the first of them.
  InitMenuFileActions();
  InitActions(commands.Delete);
  InitPopupMenus(commands);
  InitEvents();
  Rebuild();
}

TSubmenuItemsPage::~TSubmenuItemsPage() {
  DetachTree();
  for (TAction* action : OwnActions()) {
    action->OnUpdate = nullptr;
    action->OnExecute = nullptr;
  }
  for (TPopupMenu* menu : {&pmXMenus, &pmXAddItem, &pmXItemIcon, &pmXMenuScheme})
    menu->OnPopup = nullptr;
  edXApplication.OnChange = nullptr;
  edXParameters.OnChange = nullptr;
  edXMenuHint.OnChange = nullptr;
  cbXFileType.OnChange = nullptr;
  chkXInclude.OnClick = nullptr;
  chkShellExt.OnClick = nullptr;
  btnXBrowse.OnClick = nullptr;
}

std::vector<TAction*> TSubmenuItemsPage::OwnActions() {
  return {&actXAdd,     &actXSub,     &actXSeparator, &actXFind,       &actXSelectIcon,
          &actXRemoveIcon, &actXUp,   &actXDown,      &actXRename,     &actXSort,
          &actXMenuNew, &actXMenuOpen, &actXMenuSave, &actXMenuRevert, &actXMenuCustom};
}

void TSubmenuItemsPage::InitLayout() {
  lblXMenuItems.SetBounds(8, 10, 72, 16);
  lblXMenuItems.SetCaption(" Menu Items  ");
  buttonRow_.Place(82, 6, 22, 1);
  for (auto [button, caption, width] :
       {std::tuple{&spbXNew, "Item", 36}, {&spbXDelete, "Delete", 42}, {&spbXFind, "Find", 32},
        {&spbXBitmap, "Icon", 32}, {&spbXCustom, "Custom", 46}, {&spbXMenu, "Menu", 38},
        {&spbXUp, "Up", 26}, {&spbXDown, "Down", 36}})
    buttonRow_.Add(*button, caption, width);
  tvXMenu.SetBounds(8, 32, kTreeWidth, kPageHeight - 40);
  tvXMenu.SetAnchors({true, true, false, true});
  tvXMenu.SetHint(
      "|List of dynamic menu items grouped by file type\r\n"
      "Drag and drop an item to change its order, its submenu or its file type; hold Ctrl to "
      "copy it, a submenu with all its entries.\r\n"
      "Drop application files from the file manager to add them.\r\n"
      "\"&\" in a caption marks the access key.\r\n"
      "Use the pop-up menu or the hot keys for the other commands.");
  if (auto* images = dynamic_cast<TWin32ImageList*>(fileTypes_.Images()))
    tvXMenu.SetImages(images->Handle());
  const int detailsLeft = kTreeWidth + 16;
  chkShellExt.SetBounds(detailsLeft, 6, kPageWidth - detailsLeft - 8, 20);
  chkShellExt.SetCaption("Enable &Dynamic Items");
  chkShellExt.SetHint(
      "|ActiveX activating box\r\n"
      "Switches the shell extension that shows the submenu items in the file manager on and "
      "off.\r\nClear it before you move or remove the program's files, so that the shell "
      "extension is unregistered first.");
}

void TSubmenuItemsPage::InitDetailsLayout() {
  const int detailsLeft = kTreeWidth + 16;
  const int width = kPageWidth - detailsLeft - 8;
  pnlDynamicDetails.SetBounds(detailsLeft, 30, width, kPageHeight - 38);
  pnlDynamicDetails.SetAnchors({true, true, true, true});
  pnlDynamicDetails.SetFocusFrame(true);
  const int labelWidth = 78;
  const int fieldLeft = 8 + labelWidth;
  const int field = width - fieldLeft - 8;
  auto row = [&](TLabel& label, const char* caption, TWinControl& control, int top, int w) {
    label.SetBounds(8, top + 3, labelWidth, 16);
    label.SetCaption(caption);
    label.SetFocusControl(&control);
    control.SetBounds(fieldLeft, top, w, 22);
  };
  row(lblXApplication, "&Application:", edXApplication, 6, field - 50);
  edXApplication.SetHint(kApplicationHint);
  btnXBrowse.SetBounds(fieldLeft + field - 48, 6, 26, 22);
  btnXBrowse.SetCaption("...");
  btnXBrowse.SetHint("Select an application");
  imgXApplication.SetBounds(fieldLeft + field - 18, 9, 16, 16);
  row(lblXParameters, "&Parameters:", edXParameters, 32, field);
  edXParameters.SetHint(kParametersHint);
  row(lblXMenuHint, "&Menu Hint:", edXMenuHint, 58, field);
  edXMenuHint.SetHint(
      "|Text string of the hint displayed in the status bar of Windows Explorer.\r\n"
      "The file manager shows it while the item is highlighted.");
  row(lblXFileType, "&File Type:", cbXFileType, 84, field);
  cbXFileType.SetFileTypes(&fileTypes_);
  cbXFileType.SetImages(dynamic_cast<TWin32ImageList*>(fileTypes_.Images()));
  cbXFileType.SetPredefinedTypes(kAllPredefinedTypes);
  cbXFileType.SetHint(kFileTypeHint);
  chkXInclude.SetBounds(fieldLeft, 110, 120, 20);
  chkXInclude.SetCaption("A&ctive");
  chkXInclude.SetHint(kActiveHint);
  edXFileType.SetBounds(8, 134, width - 16, 20);
  edXFileType.SetHint(kKeyHint);
  SendMessageA(edXFileType.Handle(), EM_SETREADONLY, TRUE, 0);
  memXFileExtensions.SetBounds(8, 158, width - 16, 20);
  memXFileExtensions.SetHint(kExtensionsHint);
  SendMessageA(memXFileExtensions.Handle(), EM_SETREADONLY, TRUE, 0);
  pnlXError.SetBounds(8, 184, width - 16, 76);
  InitErrorPanel(pnlXError, lblXError, lblXEnvList, width - 16);
}

void TSubmenuItemsPage::InitActions(TAdvEditAction& actDelete) {
  auto rule = [this](TAction& action, const char* hint, TShortCut shortCut,
                     std::function<bool(TDynamicMenuItem*)> enabled) {
    action.SetHint(hint);
    action.OnUpdate = [this, shortCut, enabled](TAction& a) {
      a.SetEnabled(Ready() && enabled(FocusedDynamicItem()));
      SetActionShortCut(tvXMenu, a, shortCut);
    };
  };
  auto always = [](TDynamicMenuItem*) { return true; };
  rule(actXAdd, "Add menu item", VK_INSERT, always);
  // The tree and the details work only while dynamic items are enabled.
  auto addRule = actXAdd.OnUpdate;
  actXAdd.OnUpdate = [this, addRule](TAction& a) {
    addRule(a);
    tvXMenu.SetEnabled(ShellExtEnabled());
    pnlDynamicDetails.SetEnabled(ShellExtEnabled());
  };
  actXAdd.OnExecute = [this](TAction&) {
    tvXMenu.SetFocus();
    AddDynamicItem(std::nullopt);
  };
  rule(actXSub, "Place item into submenu", 0, always);
  actXSub.OnExecute = [this](TAction&) {
    tvXMenu.SetFocus();
    AddDynamicSubmenu();
    TTreeNode node = tvXMenu.Selected();
    if (node && IsSubmenu(static_cast<TTreeItem*>(tvXMenu.NodeData(node)))) tvXMenu.EditLabel(node);
    form_.UpdateActions("ActiveX");
  };
  rule(actXSeparator, "Add separator", 0, always);
  actXSeparator.OnExecute = [this](TAction&) {
    tvXMenu.SetFocus();
    AddDynamicSeparator();
  };
  rule(actXFind, "Find application associated with menu item", scCtrl | 'F',
       [](TDynamicMenuItem* item) { return item && !IsSubmenu(item) && !item->IsSeparator(); });
  actXFind.OnExecute = [this](TAction&) {
    tvXMenu.SetFocus();
    if (TDynamicMenuItem* item = FocusedDynamicItem()) ExploreApplicationFolder(*item);
  };
  rule(actXSelectIcon, "Change menu item icon", scCtrl | 'I', [this](TDynamicMenuItem* item) {
    return item && !item->IsSeparator() && SelectIcon;
  });
  actXSelectIcon.OnExecute = [this](TAction&) {
    if (TDynamicMenuItem* item = FocusedDynamicItem(); item && SelectIcon) SelectIcon(*item);
  };
  rule(actXRemoveIcon, "Remove menu item icon", 0, [](TDynamicMenuItem* item) {
    return item && !item->IsSeparator() && !item->IconFile().empty();
  });
  actXRemoveIcon.OnExecute = [this](TAction&) {
    tvXMenu.SetFocus();
    if (TDynamicMenuItem* item = FocusedDynamicItem()) {
      item->SetIconFile("");
      item->SetIconIndex(-2);
    }
  };
  rule(actXUp, "Move up", scCtrl | VK_UP, [](TDynamicMenuItem* item) {
    return item && item->Index() > 0;
  });
  actXUp.OnExecute = [this](TAction&) {
    tvXMenu.SetFocus();
    if (TDynamicMenuItem* item = FocusedDynamicItem()) item->SetIndex(item->Index() - 1);
  };
  rule(actXDown, "Move down", scCtrl | VK_DOWN, [](TDynamicMenuItem* item) {
    return item && item->Index() < item->Collection()->Count() - 1;
  });
  actXDown.OnExecute = [this](TAction&) {
    tvXMenu.SetFocus();
    if (TDynamicMenuItem* item = FocusedDynamicItem()) item->SetIndex(item->Index() + 1);
  };
  rule(actXRename, "Rename menu item", VK_F2,
       [](TDynamicMenuItem* item) { return item && !item->IsSeparator(); });
  actXRename.OnExecute = [this](TAction&) {
    tvXMenu.SetFocus();
    if (TTreeNode node = tvXMenu.Selected()) tvXMenu.EditLabel(node);
    form_.UpdateActions("ActiveX");
  };
  actXSort.SetHint("Sort item by name");
  actXSort.OnUpdate = [this](TAction& a) {
    a.SetEnabled(Ready() && menu_.FocusedItem());
    SetActionShortCut(tvXMenu, a, 0);
  };
  actXSort.OnExecute = [this](TAction&) {
    TTreeItem* focused = menu_.FocusedItem();
    if (dynamic_cast<TCustomFileTypeCategory*>(focused)) {
      focused->Items().Sort();
    } else if (focused && focused->Collection()) {
      focused->Collection()->Sort();
    }
  };
  rule(actXMenuCustom, "Customize menu items", 0, [this](TDynamicMenuItem*) {
    return static_cast<bool>(Customize);
  });
  actXMenuCustom.OnExecute = [this](TAction&) {
    if (Customize) Customize();
  };
  for (auto [button, action] : {std::pair{&spbXFind, &actXFind}, {&spbXUp, &actXUp},
                                {&spbXDown, &actXDown}, {&spbXCustom, &actXMenuCustom}})
    BindButton(*button, *action);
  BindDeleteButton(spbXDelete, actDelete);
  // The drop-down buttons follow the command their menu starts with.
  for (auto [button, action, menu] :
       {std::tuple{&spbXNew, &actXAdd, &pmXAddItem}, {&spbXMenu, &actXMenuNew, &pmXMenuScheme}}) {
    auto update = action->OnUpdate;
    action->OnUpdate = [update, button = button](TAction& a) {
      update(a);
      button->SetEnabled(a.Enabled());
    };
    button->OnClick = [this, button = button, menu = menu] { DropDown(*button, *menu); };
  }
  spbXNew.SetHint("Add menu item");
  spbXMenu.SetHint("Menu file commands");
  spbXBitmap.SetHint("Change menu item icon");
  auto iconUpdate = actXSelectIcon.OnUpdate;
  actXSelectIcon.OnUpdate = [this, iconUpdate](TAction& a) {
    iconUpdate(a);
    TDynamicMenuItem* item = FocusedDynamicItem();
    spbXBitmap.SetEnabled(Ready() && item && !item->IsSeparator());
  };
  spbXBitmap.OnClick = [this] { DropDown(spbXBitmap, pmXItemIcon); };
}

void TSubmenuItemsPage::InitPopupMenus(const TMenuPageCommands& commands) {
  pmXMenus.AddSubmenu(msg::SCreateSubmenu, {&actXAdd, &actXSub, &actXSeparator});
  for (TAction* action :
       {&actXFind, static_cast<TAction*>(nullptr), &actXUp, &actXDown,
        static_cast<TAction*>(nullptr), &actXSort, &actXMenuCustom, static_cast<TAction*>(nullptr),
        &commands.Copy, &commands.Paste, static_cast<TAction*>(&commands.Delete), &actXRename,
        static_cast<TAction*>(nullptr), &commands.QuickHint})
    pmXMenus.Add(action);
  for (TAction* action : {&actXAdd, &actXSub, &actXSeparator}) pmXAddItem.Add(action);
  pmXItemIcon.Add(&actXSelectIcon);
  pmXItemIcon.AddSubmenu(TPopupSubmenu{
      msg::SSelectRecentSubmenu,
      [this](HMENU menu, TMenuCommands& commands) {
        TDynamicMenuItem* item = FocusedDynamicItem();
        if (item && FillRecentIcons) FillRecentIcons(menu, commands, *item);
      },
      [this] { return actXSelectIcon.Enabled() && FillRecentIcons; }});
  pmXItemIcon.Add(nullptr);
  pmXItemIcon.Add(&actXRemoveIcon);
  pmXMenuScheme.Add(&actXMenuNew);
  pmXMenuScheme.Add(&actXMenuOpen);
  pmXMenuScheme.AddSubmenu(TPopupSubmenu{
      msg::SOpenRecentSubmenu,
      [this](HMENU menu, TMenuCommands& commands) { FillRecentMenus(menu, commands); },
      [this] { return actXMenuOpen.Enabled() && recentMenus_.Count() > 0; }});
  pmXMenuScheme.Add(nullptr);
  pmXMenuScheme.Add(&actXMenuSave);
  pmXMenuScheme.Add(&actXMenuRevert);
}

void TSubmenuItemsPage::InitEvents() {
  InitTree(lblXMenuItems);
  tvXMenu.OnEditing = [this](TTreeNode, bool& allow) {
    TDynamicMenuItem* item = FocusedDynamicItem();
    allow = item && !item->IsSeparator();
    form_.UpdateActions("ActiveX");
  };
  tvXMenu.OnEdited = [this](TTreeNode node, std::string& text) {
    if (auto* item = dynamic_cast<TDynamicMenuItem*>(static_cast<TTreeItem*>(tvXMenu.NodeData(node))))
      item->SetCaption(text);
    form_.UpdateActions("ActiveX");
  };
  tvXMenu.OnCustomDraw = [this](NMTVCUSTOMDRAW& draw) { return CustomDraw(draw); };
  edXApplication.OnChange = [this] {
    TDynamicMenuItem* item = FocusedDynamicItem();
    if (refreshing_ == 0 && item && !IsSubmenu(item)) item->SetApplication(edXApplication.Text());
  };
  edXParameters.OnChange = [this] {
    TDynamicMenuItem* item = FocusedDynamicItem();
    if (refreshing_ == 0 && item && !IsSubmenu(item)) item->SetParameters(edXParameters.Text());
  };
  edXMenuHint.OnChange = [this] {
    TDynamicMenuItem* item = FocusedDynamicItem();
    if (refreshing_ == 0 && item) item->SetHint(edXMenuHint.Text());
  };
  cbXFileType.OnChange = [this] {
    if (refreshing_ > 0) return;
    TDynamicMenuItem* item = FocusedDynamicItem();
    TFileType* type = cbXFileType.SelectedFileType();
    if (item && type && type != item->ItemFileType()) {
      item->SetFileType(type);
      item->Focus();
    }
  };
  chkXInclude.OnClick = [this] {
    TDynamicMenuItem* item = FocusedDynamicItem();
    if (refreshing_ == 0 && item) item->SetChecked(chkXInclude.Checked());
  };
  btnXBrowse.OnClick = [this] { BrowseForApplication(); };
  chkShellExt.OnClick = [this] {
    if (ShellExtClick) ShellExtClick();
    form_.UpdateActions(std::nullopt);
  };
}

bool TSubmenuItemsPage::Ready() const { return ShellExtEnabled() && TMenuTreePage::Ready(); }

void TSubmenuItemsPage::ShowShellExtState(bool enabled) {
  chkShellExt.SetChecked(enabled);
  form_.UpdateActions(std::nullopt);
}

TDynamicMenuItem* TSubmenuItemsPage::FocusedDynamicItem() const {
  return dynamic_cast<TDynamicMenuItem*>(menu_.FocusedItem());
}

TTreeItems& TSubmenuItemsPage::TargetList() const {
  TTreeItem* focused = menu_.FocusedItem();
  if (!focused) return menu_.Items();
  if (dynamic_cast<TCustomFileTypeCategory*>(focused) || IsSubmenu(focused))
    return focused->Items();
  return focused->Collection() ? *focused->Collection() : menu_.Items();
}

void TSubmenuItemsPage::ShowDynamicDetails() {
  Refreshed([&] {
    TDynamicMenuItem* item = FocusedDynamicItem();
    for (TControl* control : pnlDynamicDetails.Controls()) control->SetEnabled(item != nullptr);
    pnlXError.SetVisible(false);
    const bool submenu = IsSubmenu(item);
    const bool separator = item && item->IsSeparator();
    const bool command = item && !submenu && !separator;
    auto show = [](TEdit& edit, bool filled, const std::string& text) {
      edit.SetEnabled(filled);
      const std::string& value = filled ? text : std::string();
      if (edit.Text() != value) edit.SetText(value);
    };
    show(edXApplication, command, item ? item->Application() : std::string());
    show(edXParameters, command, item ? item->Parameters() : std::string());
    show(edXMenuHint, item && !separator, item ? item->Hint() : std::string());
    for (TControl* control : {static_cast<TControl*>(&lblXApplication), static_cast<TControl*>(&btnXBrowse),
                              static_cast<TControl*>(&imgXApplication), static_cast<TControl*>(&lblXParameters)})
      control->SetEnabled(command);
    lblXMenuHint.SetEnabled(item && !separator);
    imgXApplication.SetIcon(command && item->Icon().Kind() == TItemImage::TKind::Icon &&
                                    !item->Icon().Empty()
                                ? CopyIcon(reinterpret_cast<HICON>(item->Icon().Icon().Get()))
                                : nullptr);
    chkXInclude.SetChecked(item && item->Checked());
    TFileType* type = item ? item->ItemFileType() : nullptr;
    cbXFileType.SetSelectedFileType(type);
    ShowFileTypeFields(type, edXFileType, memXFileExtensions);
    pnlXError.SetVisible(command && item->IsApplicationMissing(services_.FileSystem));
  });
}

void TSubmenuItemsPage::AddDynamicItem(const std::optional<std::string>& fileName) {
  const bool wasModified = menu_.IsModified();
  auto* item = dynamic_cast<TDynamicMenuItem*>(menu_.List().AddFirstItem(TargetList()));
  if (!item) return;
  if (fileName) {
    {
      TItemUpdate update(item);
      SetUpFileItem(*item, *fileName);
    }
    item->Focus();
    return;
  }
  item->Focus();
  TLiveRef<TDynamicMenuItem> live(item);
  BrowseForApplication();
  // Add then Cancel leaves the menu as it was, unmodified too.
  if (TDynamicMenuItem* still = live.Get(); still && still == FocusedDynamicItem() &&
                                            still->Application().empty()) {
    still->Free();
    if (!wasModified) menu_.ClearModified();
  }
}

void TSubmenuItemsPage::AddDynamicSubmenu() {
  if (TTreeItem* submenu = menu_.List().AddSubMenu(TargetList())) submenu->Focus();
}

void TSubmenuItemsPage::AddDynamicSeparator() {
  auto* item = dynamic_cast<TDynamicMenuItem*>(menu_.List().AddFirstItem(TargetList()));
  if (!item) return;
  {
    TItemUpdate update(item);
    item->SetSeparator(true);
  }
  item->Focus();
}

void TSubmenuItemsPage::SetUpFileItem(TCustomMenuItem& item, const std::string& fileName) {
  auto& dynamic = static_cast<TDynamicMenuItem&>(item);
  dynamic.SetApplication(fileName);
  dynamic.SetCaption(FileNameOf(fileName));
  dynamic.SetIconFile(fileName);
  dynamic.SetIconIndex(0);
}

void TSubmenuItemsPage::BrowseForApplication() {
  TDynamicMenuItem* item = FocusedDynamicItem();
  if (!item || IsSubmenu(item) || item->IsSeparator()) return;
  if (std::optional<std::string> chosen = BrowseFor(*item)) {
    item->SetCaption(CaptionOfProgram(*chosen));
    item->SetApplication(*chosen);
    item->SetIconFile(*chosen);
    item->SetIconIndex(0);
  }
}

void TSubmenuItemsPage::DropDown(TSpeedButton& button, TPopupMenu& menu) {
  tvXMenu.SetFocus();
  RECT bounds = button.BoundsRect();
  POINT at{bounds.left, bounds.bottom};
  ClientToScreen(button.Parent()->Handle(), &at);
  menu.Popup(form_.Handle(), at);
}

}  // namespace orvane
