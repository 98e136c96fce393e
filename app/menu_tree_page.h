#pragma once
// What the two menu pages do alike: the tree follows its menu (rebuilt from the model,
// selection and focus in step, nodes going with their items), a refresh counter that
// keeps control events of a refresh out of the model, drag-over expansion and scrolling,
// file drops, the pop-up menu on a right click or on the tree's title, the error panel
// with its link, and the browse, find and caption rules of an item's application. Each
// page derives and keeps only what differs: its controls, commands, drawing, details
// and drop rules.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/action.h"
#include "controls/panels.h"
#include "controls/popup_menu.h"
#include "controls/std_controls.h"
#include "controls/tree_view.h"
#include "platform/messages.h"
#include "platform/services.h"

namespace orvane {

class TAdvEditAction;
class TCustomMenu;
class TCustomMenuItem;
class TDraggedItem;
class TEdit;
class TFileType;
class TForm;
class TTreeItem;
class TTreeItems;

// Gives `action` its shortcut, unless a label of `tree` or a text edit is being edited:
// then the keys belong to the editor.
void SetActionShortCut(const TAdvTreeView& tree, TAction& action, TShortCut shortCut);

// Fills `tree` from the list `list`, or the children of `item`, or the menu's top level.
void RebuildTree(TCustomMenu& menu, TAdvTreeView& tree, TTreeItem* item, TTreeItems* list);

// The name of a path's file, without its folder; and a name without its last extension.
std::string FileNameOf(const std::string& path);
std::string WithoutExtension(const std::string& name);

// Quick hints of the details fields that both pages have.
inline constexpr const char* kApplicationHint =
    "|Full path to an application invoked by the menu item.\r\n"
    "Drop a file from the file manager or use the browse button.";
inline constexpr const char* kParametersHint =
    "|List of the application parameters\r\n"
    "\"%1\" stands for the file object, for example: /p \"%1\"";
inline constexpr const char* kFileTypeHint =
    "|List of registered file types\r\nChoose the file type of the item.";
inline constexpr const char* kActiveHint =
    "|Menu item activating box\r\n"
    "Checked items appear in the context menu; new items are checked.";
inline constexpr const char* kKeyHint = "|Registry key name\r\nThe key of the selected file type.";
inline constexpr const char* kExtensionsHint =
    "|List of the associated file extensions\r\nThe extensions of the selected file type.";

// The window's common commands that a page's delete button and pop-up menu run.
struct TMenuPageCommands {
  TAction& Copy;
  TAction& Paste;
  TAdvEditAction& Delete;
  TAction& QuickHint;
};

class TMenuTreePage {
public:
  TMenuTreePage(const TMenuTreePage&) = delete;
  TMenuTreePage& operator=(const TMenuTreePage&) = delete;

  // The page is the one shown; set by the window.
  std::function<bool()> PageActive;
  // The browse dialog of the application field: the chosen file, or none on Cancel.
  std::function<std::optional<std::string>(const std::string& current)> BrowseApplication;
  // Opens a folder or an address with the shell; returns the shell's result code.
  std::function<long long(const std::string& verb, const std::string& target)> ShellOpen;

  bool Refreshing() const { return refreshing_ > 0; }
  bool DropAllowed() const { return dropAllowed_; }
  // The whole tree again from the model.
  void Rebuild();

protected:
  // `tree` shows `menu`; UpdateActions runs for `category`; the browse dialog has the
  // title `browseTitle`.
  TMenuTreePage(TForm& form, TCustomMenu& menu, TAdvTreeView& tree, TPopupMenu& popup,
                const TServices& services, std::string category, MessageId browseTitle);
  virtual ~TMenuTreePage();

  // The page is shown and no label is being edited; the page may add conditions.
  virtual bool Ready() const;
  // The details panel of the focused node.
  virtual void ShowDetails() = 0;
  // The drag object of the focused item, or none to refuse the drag.
  virtual std::unique_ptr<TDraggedItem> DragObjectOfFocus() = 0;
  // The node under a drag point that takes the dragged item, or none.
  virtual TTreeItem* DropTarget(TDragObject& source, int x, int y) const = 0;
  // A drop on `target` reorders within the dragged item's list.
  virtual bool IsReorder(TTreeItem* target, TCustomMenuItem& dragged) const = 0;
  virtual void DragDrop(TDragObject& source, int x, int y) = 0;
  // Adds one file's item where new entries go, and focuses it.
  virtual void AddFileItem(const std::string& fileName) = 0;
  // Where the further files of a drop go, after the first one's item was focused.
  virtual TTreeItems& FilesTarget() = 0;
  // A further dropped file's item, inside its update bracket.
  virtual void SetUpFileItem(TCustomMenuItem& item, const std::string& fileName) = 0;

  // Installs the tree's, the model's and the title label's events; the page's own
  // events (editing, drawing, mouse) are set by the page.
  void InitTree(TLabel& title);
  // The error panel's text and link, at the panel's width.
  void InitErrorPanel(TPanel& panel, TLabel& text, TLabel& link, int width);
  // A tool button that runs `action` and follows its state.
  void BindButton(TSpeedButton& button, TAction& action);
  // The delete button: the common delete command, enabled only while the page is ready.
  void BindDeleteButton(TSpeedButton& button, TAdvEditAction& actDelete);
  // Runs `body` inside a refresh: control events meanwhile are not written to the model.
  void Refreshed(const std::function<void()>& body);

  // Drops from the file manager: the first file as AddFileItem, the others after it in
  // FilesTarget; the last new item is focused.
  void AddFiles(const std::vector<std::string>& files);
  // The browse dialog for `item`; the chosen file when the item is still the focused one.
  std::optional<std::string> BrowseFor(TCustomMenuItem& item);
  // The caption an item takes from a chosen program: its version description, else its
  // file name without the extension.
  std::string CaptionOfProgram(const std::string& fileName) const;
  // Opens the folder of the item's program in the file manager; a refusal is shown.
  void ExploreApplicationFolder(TCustomMenuItem& item);
  // "Key: ..." and "Extensions: ..." of the details panel.
  static void ShowFileTypeFields(TFileType* type, TEdit& key, TEdit& extensions);
  // The glyph's place before a node's text.
  RECT GlyphRect(TTreeNode node) const;
  // The node is the drop target of a running drag that it accepts.
  bool IsAcceptedDropTarget(TTreeNode node) const;

  void MenuChange(TTreeItems* list, TTreeItem* item);
  void FocusChanged();
  void ItemChanged(TTreeItem* item);
  // Clears every event the page set on the tree and the model.
  void DetachTree();

  TForm& form_;
  TCustomMenu& menuModel_;
  TAdvTreeView& tree_;
  TPopupMenu& popup_;
  TServices services_;
  std::string category_;
  MessageId browseTitle_;
  TLabel* title_ = nullptr;
  TLabel* link_ = nullptr;
  std::vector<TSpeedButton*> buttons_;
  TAdvEditAction* actDelete_ = nullptr;
  int refreshing_ = 0;
  bool dropAllowed_ = false;
};

}  // namespace orvane
