#pragma once
// The "Submenu Items" page: the dynamic menu that the shell extension module shows, as a
// tree of file type categories with items, separators and submenus to any depth; the
// details of the focused entry, the commands that edit it, the menu file commands
// (new, open, save, revert), and the box that switches dynamic items on and off. The
// whole page works only while that box is ticked.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/menu_tree_page.h"
#include "controls/action.h"
#include "controls/button_row.h"
#include "controls/edit_controls.h"
#include "controls/file_type_combo_box.h"
#include "controls/panels.h"
#include "controls/popup_menu.h"
#include "controls/std_controls.h"
#include "controls/tree_view.h"
#include "platform/services.h"
#include "platform/win32/win32_handles.h"

namespace orvane {

class TDynamicMenu;
class TDynamicMenuItem;
class TRecentIconsMenu;
struct TSelectIconSources;
class TFileTypeList;
class TMruList;

class TSubmenuItemsPage : public TMenuTreePage {
public:
  // Controls and actions are components of `form`, on `parent`; actions join `actions`
  // under "ActiveX". `menuFile` is where Revert reads from; `recentMenus` the window's
  // list of recent menu files.
  TSubmenuItemsPage(TForm& form, TWinControl& parent, TActionList& actions, TDynamicMenu& menu,
                    TFileTypeList& fileTypes, const TServices& services,
                    const TMenuPageCommands& commands, std::string menuFile,
                    TMruList& recentMenus);
  ~TSubmenuItemsPage() override;

  TAdvTreeView& tvXMenu;
  TLabel& lblXMenuItems;
  TSpeedButton& spbXNew;
  TSpeedButton& spbXDelete;
  TSpeedButton& spbXFind;
  TSpeedButton& spbXBitmap;
  TSpeedButton& spbXCustom;
  TSpeedButton& spbXMenu;
  TSpeedButton& spbXUp;
  TSpeedButton& spbXDown;
  TCheckBox& chkShellExt;
  TPanel& pnlDynamicDetails;
  TLabel& lblXApplication;
  TEdit& edXApplication;
  TButton& btnXBrowse;
  TImage& imgXApplication;
  TLabel& lblXParameters;
  TEdit& edXParameters;
  TLabel& lblXMenuHint;
  TEdit& edXMenuHint;
  TLabel& lblXFileType;
  TFileTypeComboBox& cbXFileType;
  TCheckBox& chkXInclude;
  TEdit& edXFileType;
  TEdit& memXFileExtensions;
  TPanel& pnlXError;
  TLabel& lblXError;
  TLinkLabel& lblXEnvList;
  TAction& actXAdd;
  TAction& actXSub;
  TAction& actXSeparator;
  TAction& actXFind;
  TAction& actXSelectIcon;
  TAction& actXRemoveIcon;
  TAction& actXUp;
  TAction& actXDown;
  TAction& actXRename;
  TAction& actXSort;
  TAction& actXMenuNew;
  TAction& actXMenuOpen;
  TAction& actXMenuSave;
  TAction& actXMenuRevert;
  TAction& actXMenuCustom;
  // The tree's pop-up menu, and the drop-downs of the "Item", "Icon" and "Menu" buttons.
  TPopupMenu& pmXMenus;
  TPopupMenu& pmXAddItem;
  TPopupMenu& pmXItemIcon;
  TPopupMenu& pmXMenuScheme;

  // The menu file dialogs: the chosen file, or none on Cancel.
  std::function<std::optional<std::string>()> OpenMenuFile;
  std::function<std::optional<std::string>()> SaveMenuFile;
  // A click on the box: switches dynamic items and sets the box to what holds then.
  // Without it the box keeps what the click made of it.
  std::function<void()> ShellExtClick;
  // The icon dialog for the focused item, and the recent icons submenu; without them
  // the commands are disabled.
  std::function<void(TDynamicMenuItem& item)> SelectIcon;
  std::function<void(HMENU menu, TMenuCommands& commands, TDynamicMenuItem& item)> FillRecentIcons;
  // Fills SelectIcon and FillRecentIcons with the icon dialog and the recent icons.
  void UseIconChoice(TMruList& recentIcons, const TSelectIconSources& sources);
  // The custom-drawn menu properties dialog; without it "&Customize..." is disabled.
  std::function<void()> Customize;

  // Dynamic items are enabled: the box is ticked.
  bool ShellExtEnabled() const { return chkShellExt.Checked(); }
  // Sets the box without running its click.
  void ShowShellExtState(bool enabled);

  void AddDynamicItem(const std::optional<std::string>& fileName);
  void AddDynamicSubmenu();
  void AddDynamicSeparator();
  void AddDynamicFiles(const std::vector<std::string>& files) { AddFiles(files); }
  void ShowDynamicDetails();
  // Reads the menu from `fileName`; the menu counts as modified afterwards or not.
  // Problems are shown, and nothing is written.
  void LoadDynamicMenu(const std::string& fileName, bool modified);
  // Writes the menu into `fileName`; its pending state stays as it was.
  void SaveDynamicMenu(const std::string& fileName);
  // The recent menu files entries of "Open &Recent".
  void FillRecentMenus(HMENU menu, TMenuCommands& commands);
  // Opens a file of the recent list; one that is gone leaves the list with a message.
  void OpenRecentMenu(const std::string& fileName);

protected:
  bool Ready() const override;

private:
  void ShowDetails() override { ShowDynamicDetails(); }
  std::unique_ptr<TDraggedItem> DragObjectOfFocus() override;
  TTreeItem* DropTarget(TDragObject& source, int x, int y) const override;
  bool IsReorder(TTreeItem* target, TCustomMenuItem& dragged) const override;
  void DragDrop(TDragObject& source, int x, int y) override;
  void AddFileItem(const std::string& fileName) override { AddDynamicItem(fileName); }
  TTreeItems& FilesTarget() override { return TargetList(); }
  void SetUpFileItem(TCustomMenuItem& item, const std::string& fileName) override;

  TDynamicMenuItem* FocusedDynamicItem() const;
  // Where new entries go, by the focused node.
  TTreeItems& TargetList() const;
  void BrowseForApplication();
  LRESULT CustomDraw(NMTVCUSTOMDRAW& draw);
  void DrawItemIcon(HDC dc, TTreeNode node, const TDynamicMenuItem& item);
  void DropDown(TSpeedButton& button, TPopupMenu& menu);
  void MenuCommandDone();
  void InitLayout();
  void InitDetailsLayout();
  void InitActions(TAdvEditAction& actDelete);
  void InitMenuFileActions();
  void InitPopupMenus(const TMenuPageCommands& commands);
  void InitEvents();
  std::vector<TAction*> OwnActions();

  TDynamicMenu& menu_;
  TFileTypeList& fileTypes_;
  std::string menuFile_;
  TMruList& recentMenus_;
  // The "Se&lect Recent" submenu's entries and pictures, once UseIconChoice ran.
  std::shared_ptr<TRecentIconsMenu> recentIconsMenu_;
  // The font of submenu nodes, made at their first drawing.
  TFontHandle boldFont_;
  // The speed buttons above the list, which widen for longer captions.
  TButtonRow buttonRow_;
};

}  // namespace orvane
