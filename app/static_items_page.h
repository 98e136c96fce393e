#pragma once
// The "Static Items" page: the static menu as a tree of file type categories with their
// verbs, the details of the focused item, and the commands that edit it. The page owns no
// data; the tree and the details follow the model, and every edit goes to the model.

#include <functional>
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

namespace orvane {

class TAdvEditAction;
class TCustomMenu;
class TFileTypeList;
class TForm;
class TStaticMenu;
class TStaticMenuItem;
class TTreeItem;
class TTreeItems;

// The window's common commands that the page's delete button and pop-up menu run.
using TStaticPageCommands = TMenuPageCommands;

class TStaticItemsPage : public TMenuTreePage {
public:
  // Controls and actions are components of `form`, on `parent`; actions join `actions`
  // under "Static".
  TStaticItemsPage(TForm& form, TWinControl& parent, TActionList& actions, TStaticMenu& menu,
                   TFileTypeList& fileTypes, const TServices& services,
                   const TStaticPageCommands& commands);
  ~TStaticItemsPage() override;

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

  // Changes not yet applied.
  bool HasChanges() const;
  // Writes the menu's verbs and its section of `menuFile`; failures raise and the
  // changes stay pending.
  void ApplyChanges(const std::string& menuFile);

  void AddStaticItem(const std::optional<std::string>& fileName);
  void AddStaticFiles(const std::vector<std::string>& files) { AddFiles(files); }
  void ShowStaticDetails();

private:
  void ShowDetails() override { ShowStaticDetails(); }
  std::unique_ptr<TDraggedItem> DragObjectOfFocus() override;
  TTreeItem* DropTarget(TDragObject& source, int x, int y) const override;
  bool IsReorder(TTreeItem* target, TCustomMenuItem& dragged) const override;
  void DragDrop(TDragObject& source, int x, int y) override;
  void AddFileItem(const std::string& fileName) override { AddStaticItem(fileName); }
  TTreeItems& FilesTarget() override;
  void SetUpFileItem(TCustomMenuItem& item, const std::string& fileName) override;

  TStaticMenuItem* FocusedStaticItem() const;
  void BrowseForApplication();
  LRESULT CustomDraw(NMTVCUSTOMDRAW& draw);
  void InitLayout();
  void InitActions(TAdvEditAction& actDelete);
  void InitPopupMenu(const TStaticPageCommands& commands);
  void InitEvents();

  TStaticMenu& menu_;
  TFileTypeList& fileTypes_;
  // The node whose glyph got a left press, until the release.
  TTreeNode glyphNode_ = nullptr;
  // The speed buttons above the list, which widen for longer captions.
  TButtonRow buttonRow_;
};

}  // namespace orvane
