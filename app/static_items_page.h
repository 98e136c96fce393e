#pragma once
// The "Static Items" page: the static menu as a tree of file type categories with their
// verbs, the details of the focused item, and the commands that edit it. The page owns no
// data; the tree and the details follow the model, and every edit goes to the model.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/action.h"
#include "controls/edit_controls.h"
#include "controls/file_type_combo_box.h"
#include "controls/panels.h"
#include "controls/popup_menu.h"
#include "controls/std_controls.h"
#include "controls/tree_view.h"
#include "platform/services.h"

namespace orvane {

class TAdvEditAction;
class TCustomMenu;
class TFileTypeList;
class TForm;
class TStaticMenu;
class TStaticMenuItem;
class TTreeItem;
class TTreeItems;

// Gives `action` its shortcut, unless a label of `tree` or a text edit is being edited:
// then the keys belong to the editor.
void SetActionShortCut(const TAdvTreeView& tree, TAction& action, TShortCut shortCut);

// Fills `tree` from the list `list`, or the children of `item`, or the menu's top level.
void RebuildTree(TCustomMenu& menu, TAdvTreeView& tree, TTreeItem* item, TTreeItems* list);

// The window's common commands that the page's delete button and pop-up menu run.
struct TStaticPageCommands {
  TAction& Copy;
  TAction& Paste;
  TAdvEditAction& Delete;
  TAction& QuickHint;
};

class TStaticItemsPage {
public:
  // Controls and actions are components of `form`, on `parent`; actions join `actions`
  // under "Static".
  TStaticItemsPage(TForm& form, TWinControl& parent, TActionList& actions, TStaticMenu& menu,
                   TFileTypeList& fileTypes, const TServices& services,
                   const TStaticPageCommands& commands);
  ~TStaticItemsPage();
  TStaticItemsPage(const TStaticItemsPage&) = delete;
  TStaticItemsPage& operator=(const TStaticItemsPage&) = delete;

  TAdvTreeView& tvMenu;
  TLabel& HoverLabel1;
  TSpeedButton& spbAdd;
  TSpeedButton& spbFind;
  TSpeedButton& spbDelete;
  TSpeedButton& spbUp;
  TSpeedButton& spbDown;
  TPanel& pnlStaticDetails;
  TLabel& lblApplication;
  TEdit& edApplication;
  TButton& btnBrowse;
  TLabel& lblParameters;
  TEdit& edParameters;
  TLabel& lblFileType;
  TFileTypeComboBox& cbFileType;
  TCheckBox& chkInclude;
  TEdit& edFileType;
  TEdit& memFileExtensions;
  TPanel& pnlStaticError;
  TLabel& lblStaticError;
  TLinkLabel& lblEnvList;
  TAction& actAdd;
  TAction& actFind;
  TAction& actUp;
  TAction& actDown;
  TAction& actRename;
  TAction& actSort;
  // The tree's pop-up menu: right click on the tree, or a click on HoverLabel1.
  TPopupMenu& pmMenu;

  // The page is the one shown; set by the window.
  std::function<bool()> PageActive;
  // The browse dialog of the application field: the chosen file, or none on Cancel.
  std::function<std::optional<std::string>(const std::string& current)> BrowseApplication;
  // Opens a folder or an address with the shell; returns the shell's result code.
  std::function<long long(const std::string& verb, const std::string& target)> ShellOpen;

  bool Refreshing() const { return refreshing_ > 0; }
  bool DropAllowed() const { return dropAllowed_; }
  // Changes not yet applied.
  bool HasChanges() const;
  // Writes the menu's verbs and its section of `menuFile`; failures raise and the
  // changes stay pending.
  void ApplyChanges(const std::string& menuFile);

  void AddStaticItem(const std::optional<std::string>& fileName);
  void AddStaticFiles(const std::vector<std::string>& files);
  void ShowStaticDetails();
  // The whole tree again from the model.
  void Rebuild();

private:
  bool Ready() const;
  TStaticMenuItem* FocusedStaticItem() const;
  void MenuChange(TTreeItems* list, TTreeItem* item);
  void FocusChanged();
  void ItemChanged(TTreeItem* item);
  void BrowseForApplication();
  void ApplicationChosen(const std::string& fileName);
  LRESULT CustomDraw(NMTVCUSTOMDRAW& draw);
  void StartDrag(std::unique_ptr<TDragObject>& object);
  // The node under a drag point that takes the dragged item, or none.
  TTreeItem* DropTarget(TDragObject& source, int x, int y) const;
  void DragDrop(TDragObject& source, int x, int y);
  void InitLayout();
  void InitActions(TAdvEditAction& actDelete);
  void InitPopupMenu(const TStaticPageCommands& commands);
  void InitEvents();

  TForm& form_;
  TStaticMenu& menu_;
  TFileTypeList& fileTypes_;
  TServices services_;
  TAdvEditAction& actDelete_;
  int refreshing_ = 0;
  bool dropAllowed_ = false;
  // The node whose glyph got a left press, until the release.
  TTreeNode glyphNode_ = nullptr;
};

}  // namespace orvane
