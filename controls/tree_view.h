#pragma once
// The tree control of the menu pages, over the system's tree view: nodes that carry a
// data pointer and images, label editing (F2), custom drawing, selection by right
// click, dragging with a drag object and its image, and files dropped from the file
// manager.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/control.h"
#include "controls/drag_object.h"
#include "platform/win32/image_list.h"

namespace orvane {

class TTreeCollection;

using TTreeNode = HTREEITEM;

class TAdvTreeView : public TWinControl {
public:
  TAdvTreeView(TComponent* owner, std::string name, TWinControl* parent);
  ~TAdvTreeView() override;

  // Nodes. `parent` null: a top-level node; `after` TVI_LAST or a sibling.
  TTreeNode AddNode(TTreeNode parent, const std::string& text, void* data, int image = -1,
                    TTreeNode after = TVI_LAST);
  void DeleteNode(TTreeNode node);
  void DeleteChildren(TTreeNode node);
  void Clear();
  int Count() const;
  TTreeNode FirstNode() const;
  TTreeNode FirstChild(TTreeNode node) const;
  TTreeNode NextSibling(TTreeNode node) const;
  TTreeNode ParentNode(TTreeNode node) const;
  void* NodeData(TTreeNode node) const;
  std::string NodeText(TTreeNode node) const;
  void SetNodeText(TTreeNode node, const std::string& text);
  // The same image when selected; -1 for none.
  void SetNodeImage(TTreeNode node, int image);
  int NodeImage(TTreeNode node) const;
  // The first node (depth first) whose data is `data`, or null.
  TTreeNode FindNode(const void* data) const;
  bool Expanded(TTreeNode node) const;
  void Expand(TTreeNode node, bool expand);
  bool HasChildren(TTreeNode node) const;
  void MakeVisible(TTreeNode node);
  TTreeNode Selected() const;
  void SetSelected(TTreeNode node);
  TTreeNode DropTarget() const;
  // The node at a client point and where on it (TVHT_ flags), or null.
  TTreeNode NodeAt(int x, int y, UINT* flags = nullptr) const;
  // The node's whole line, or only its text.
  RECT NodeRect(TTreeNode node, bool textOnly) const;

  // The model the nodes' data belong to, set by the page that fills the tree; every
  // node's data is then a node of it.
  TTreeCollection* Collection() const { return collection_; }
  void SetCollection(TTreeCollection* collection) { collection_ = collection; }

  void BeginUpdate();
  void EndUpdate();

  // Not owned.
  void SetImages(HIMAGELIST images);
  HIMAGELIST Images() const;
  void SetIndent(int value);
  int Indent() const;
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool RightClickSelect = false;

  // Label editing.
  TTreeNode EditLabel(TTreeNode node);
  bool IsEditing() const;
  void EndEditing(bool cancel);
  HWND EditHandle() const;

  // Dragging. Without a drag object from OnStartDrag there is no drag.
  bool DefaultDragging() const { return defaultDragging_; }
  // Raises while a drag is running.
  void SetDefaultDragging(bool value);
  bool Dragging() const { return dragObject_ != nullptr; }
  TDragObject* DragObject() const { return dragObject_.get(); }
  // The node under the mouse when the drag began, until it ends.
  TTreeNode DragNode() const { return dragNode_; }
  // The picture of a node that the control itself makes for dragging; the caller owns
  // the list (a drag object takes it).
  HIMAGELIST CreateDragImage(TTreeNode node);
  // Starts a drag on `node` as the control's own begin-drag notification does.
  void BeginDrag(TTreeNode node, POINT point);
  // Ends the drag; with `drop`, a place that accepts it gets OnDragDrop.
  void EndDrag(bool drop);

  // File drops from the file manager.
  bool AcceptFiles() const { return acceptFiles_; }
  void SetAcceptFiles(bool value);
  // Reads a drop (names cut at 254 characters), releases it, raises OnFilesDrop.
  void DropFiles(HDROP drop);

  std::function<void(TTreeNode node)> OnChange;
  std::function<void(TTreeNode node, bool& allow)> OnExpanding;
  std::function<void(TTreeNode node, bool& allow)> OnCollapsing;
  std::function<void(TTreeNode node, bool& allow)> OnEditing;
  std::function<void(TTreeNode node, std::string& text)> OnEdited;
  std::function<LRESULT(NMTVCUSTOMDRAW&)> OnCustomDraw;
  // Button 0 is the left, 1 the right one; every left press gets one release, also
  // when the control took the release message itself.
  std::function<void(int button, int x, int y)> OnMouseDown;
  std::function<void(int button, int x, int y)> OnMouseUp;
  std::function<void(std::unique_ptr<TDragObject>& object)> OnStartDrag;
  std::function<void(TDragObject& source, int x, int y, bool& accept)> OnDragOver;
  std::function<void(TDragObject& source, int x, int y)> OnDragDrop;
  std::function<void()> OnEndDrag;
  std::function<void(const std::vector<std::string>& files)> OnFilesDrop;
  // Screen point of a right click (after the selection followed it), or -1, -1 from the
  // keyboard.
  std::function<void(int x, int y)> OnContextMenu;

  LRESULT Notify(NMHDR& header) override;

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void DragOver(int x, int y);
  void EndLabelEdit(TTreeNode node, const char* text, LRESULT& result);

  TTreeCollection* collection_ = nullptr;
  bool readOnly_ = false;
  bool defaultDragging_ = true;
  bool acceptFiles_ = false;
  // A left press whose release has not been reported yet.
  bool leftDown_ = false;
  int updateCount_ = 0;
  std::unique_ptr<TDragObject> dragObject_;
  TTreeNode dragNode_ = nullptr;
  TImageListHandle ownDragImage_;
  HIMAGELIST shownDragImage_ = nullptr;
  bool dragAccepted_ = false;
  POINT dragPoint_{};
};

}  // namespace orvane
