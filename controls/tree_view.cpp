#include "controls/tree_view.h"

#include <windowsx.h>

#include "platform/messages.h"

namespace orvane {
namespace {

constexpr int kMaxText = 1024;
// A dropped name is read into a buffer of this size, so longer names are cut.
constexpr UINT kDropNameBuffer = 255;

// The label editor answers the dialog keys itself, so that Enter and Escape end the
// editing instead of pressing the window's buttons.
LRESULT CALLBACK LabelEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR, DWORD_PTR) {
  if (message == WM_GETDLGCODE) return DLGC_WANTALLKEYS | DLGC_HASSETSEL;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &LabelEditProc, 1);
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

TAdvTreeView::TAdvTreeView(TComponent* owner, std::string name, TWinControl* parent)
    : TWinControl(owner, std::move(name), parent) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&init);
  CreateHandle({WC_TREEVIEWA,
                WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                    TVS_EDITLABELS,
                WS_EX_CLIENTEDGE});
}

TAdvTreeView::~TAdvTreeView() {
  if (Handle()) {
    if (Dragging()) EndDrag(false);
    if (acceptFiles_) DragAcceptFiles(Handle(), FALSE);
  }
}

TTreeNode TAdvTreeView::AddNode(TTreeNode parent, const std::string& text, void* data, int image,
                                TTreeNode after) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.lParam = reinterpret_cast<LPARAM>(data);
  insert.item.iImage = image;
  insert.item.iSelectedImage = image;
  return reinterpret_cast<TTreeNode>(
      SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TAdvTreeView::DeleteNode(TTreeNode node) {
  if (node) SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
}

void TAdvTreeView::DeleteChildren(TTreeNode node) {
  while (TTreeNode child = FirstChild(node)) DeleteNode(child);
}

void TAdvTreeView::Clear() {
  SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

int TAdvTreeView::Count() const {
  return static_cast<int>(SendMessageA(Handle(), TVM_GETCOUNT, 0, 0));
}

TTreeNode TAdvTreeView::FirstNode() const { return TreeView_GetRoot(Handle()); }
TTreeNode TAdvTreeView::FirstChild(TTreeNode node) const { return TreeView_GetChild(Handle(), node); }
TTreeNode TAdvTreeView::NextSibling(TTreeNode node) const {
  return TreeView_GetNextSibling(Handle(), node);
}
TTreeNode TAdvTreeView::ParentNode(TTreeNode node) const { return TreeView_GetParent(Handle(), node); }

void* TAdvTreeView::NodeData(TTreeNode node) const {
  TVITEMA item{};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = node;
  if (!node || !SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
    return nullptr;
  return reinterpret_cast<void*>(item.lParam);
}

std::string TAdvTreeView::NodeText(TTreeNode node) const {
  char text[kMaxText] = {};
  TVITEMA item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = node;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return text;
}

void TAdvTreeView::SetNodeText(TTreeNode node, const std::string& text) {
  TVITEMA item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = node;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TAdvTreeView::SetNodeImage(TTreeNode node, int image) {
  TVITEMA item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  item.hItem = node;
  item.iImage = image;
  item.iSelectedImage = image;
  SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int TAdvTreeView::NodeImage(TTreeNode node) const {
  TVITEMA item{};
  item.mask = TVIF_IMAGE | TVIF_HANDLE;
  item.hItem = node;
  SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

TTreeNode TAdvTreeView::FindNode(const void* data) const {
  std::vector<TTreeNode> pending;
  for (TTreeNode node = FirstNode(); node; node = NextSibling(node)) pending.push_back(node);
  for (size_t i = 0; i < pending.size(); ++i) {
    if (NodeData(pending[i]) == data) return pending[i];
    for (TTreeNode child = FirstChild(pending[i]); child; child = NextSibling(child))
      pending.push_back(child);
  }
  return nullptr;
}

bool TAdvTreeView::Expanded(TTreeNode node) const {
  return (SendMessageA(Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED) &
          TVIS_EXPANDED) != 0;
}

void TAdvTreeView::Expand(TTreeNode node, bool expand) {
  SendMessageA(Handle(), TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE,
               reinterpret_cast<LPARAM>(node));
}

bool TAdvTreeView::HasChildren(TTreeNode node) const { return FirstChild(node) != nullptr; }

void TAdvTreeView::MakeVisible(TTreeNode node) {
  SendMessageA(Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
}

TTreeNode TAdvTreeView::Selected() const { return TreeView_GetSelection(Handle()); }

void TAdvTreeView::SetSelected(TTreeNode node) {
  SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}

TTreeNode TAdvTreeView::DropTarget() const { return TreeView_GetDropHilight(Handle()); }

TTreeNode TAdvTreeView::NodeAt(int x, int y, UINT* flags) const {
  TVHITTESTINFO hit{};
  hit.pt = POINT{x, y};
  TTreeNode node = reinterpret_cast<TTreeNode>(
      SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (flags) *flags = hit.flags;
  return node;
}

RECT TAdvTreeView::NodeRect(TTreeNode node, bool textOnly) const {
  RECT rect{};
  if (node) TreeView_GetItemRect(Handle(), node, &rect, textOnly);
  return rect;
}

void TAdvTreeView::BeginUpdate() {
  if (updateCount_++ == 0) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TAdvTreeView::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0) return;
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TAdvTreeView::SetImages(HIMAGELIST images) {
  SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

HIMAGELIST TAdvTreeView::Images() const { return TreeView_GetImageList(Handle(), TVSIL_NORMAL); }

void TAdvTreeView::SetIndent(int value) { SendMessageA(Handle(), TVM_SETINDENT, value, 0); }

int TAdvTreeView::Indent() const {
  return static_cast<int>(SendMessageA(Handle(), TVM_GETINDENT, 0, 0));
}

void TAdvTreeView::SetReadOnly(bool value) {
  readOnly_ = value;
  const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
  SetWindowLongPtrA(Handle(), GWL_STYLE,
                    value ? (style & ~static_cast<LONG_PTR>(TVS_EDITLABELS)) : (style | TVS_EDITLABELS));
}

TTreeNode TAdvTreeView::EditLabel(TTreeNode node) {
  if (!node || readOnly_) return nullptr;
  SetFocus();
  return SendMessageA(Handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(node)) ? node : nullptr;
}

HIMAGELIST TAdvTreeView::CreateDragImage(TTreeNode node) {
  return node ? TreeView_CreateDragImage(Handle(), node) : nullptr;
}

HWND TAdvTreeView::EditHandle() const { return TreeView_GetEditControl(Handle()); }

bool TAdvTreeView::IsEditing() const { return EditHandle() != nullptr; }

void TAdvTreeView::EndEditing(bool cancel) { TreeView_EndEditLabelNow(Handle(), cancel); }

void TAdvTreeView::SetDefaultDragging(bool value) {
  if (Dragging()) throw Exception(LoadResString(msg::SDefaultDraggingWhileDragging));
  defaultDragging_ = value;
}

void TAdvTreeView::BeginDrag(TTreeNode node, POINT point) {
  if (Dragging()) return;
  dragNode_ = node;
  std::unique_ptr<TDragObject> object;
  if (OnStartDrag) OnStartDrag(object);
  if (!object) {
    dragNode_ = nullptr;
    return;
  }
  dragObject_ = std::move(object);
  dragAccepted_ = false;
  dragPoint_ = point;
  // Without default dragging only the drag object's images are shown.
  HIMAGELIST images = dragObject_->GetDragImages();
  POINT hotSpot = dragObject_->DragHotSpot();
  if (!images && defaultDragging_ && node) {
    ownDragImage_.reset(TreeView_CreateDragImage(Handle(), node));
    images = ownDragImage_.get();
    hotSpot = POINT{2, 2};
  }
  if (images && !ImageList_BeginDrag(images, 0, hotSpot.x, hotSpot.y)) images = nullptr;
  shownDragImage_ = images;
  SetCapture(Handle());
  if (shownDragImage_) {
    ImageList_DragEnter(Handle(), point.x, point.y);
    dragObject_->ShowDragImage();
  }
  DragOver(point.x, point.y);
}

void TAdvTreeView::DragOver(int x, int y) {
  dragPoint_ = POINT{x, y};
  // Hidden first: the handler may open nodes or scroll the tree under it.
  if (shownDragImage_) ImageList_DragShowNolock(FALSE);
  bool accept = false;
  if (OnDragOver) OnDragOver(*dragObject_, x, y, accept);
  dragAccepted_ = accept;
  TTreeNode target = accept ? NodeAt(x, y) : nullptr;
  SendMessageA(Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(target));
  UpdateWindow(Handle());
  if (shownDragImage_) {
    ImageList_DragShowNolock(TRUE);
    ImageList_DragMove(x, y);
  }
  SetCursor(CursorHandle(dragObject_->GetDragCursor(accept, x, y)));
}

void TAdvTreeView::EndDrag(bool drop) {
  if (!Dragging()) return;
  // Taken first: the handlers below may start another drag or destroy nodes.
  std::unique_ptr<TDragObject> object = std::move(dragObject_);
  if (shownDragImage_) {
    object->HideDragImage();
    ImageList_DragLeave(Handle());
    ImageList_EndDrag();
    shownDragImage_ = nullptr;
  }
  ownDragImage_.reset();
  if (GetCapture() == Handle()) ReleaseCapture();
  SendMessageA(Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, 0);
  struct Forget {
    TAdvTreeView& view;
    ~Forget() { view.dragNode_ = nullptr; }
  } forget{*this};
  if (drop && dragAccepted_ && OnDragDrop) OnDragDrop(*object, dragPoint_.x, dragPoint_.y);
  if (OnEndDrag) OnEndDrag();
}

void TAdvTreeView::SetAcceptFiles(bool value) {
  acceptFiles_ = value;
  if (Handle()) DragAcceptFiles(Handle(), value);
}

void TAdvTreeView::DropFiles(HDROP drop) {
  TDropHandle owner(drop);
  std::vector<std::string> files;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    char name[kDropNameBuffer] = {};
    if (DragQueryFileA(drop, i, name, kDropNameBuffer) > 0) files.emplace_back(name);
  }
  owner.reset();
  if (!files.empty() && OnFilesDrop) OnFilesDrop(files);
}

void TAdvTreeView::EndLabelEdit(TTreeNode node, const char* text, LRESULT& result) {
  result = FALSE;
  if (!text) return;  // cancelled
  std::string caption = text;
  if (OnEdited) OnEdited(node, caption);
  SetNodeText(node, caption);
}

LRESULT TAdvTreeView::Notify(NMHDR& header) {
  switch (header.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      if (OnChange) OnChange(reinterpret_cast<NMTREEVIEWA&>(header).itemNew.hItem);
      return 0;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
      auto& change = reinterpret_cast<NMTREEVIEWA&>(header);
      bool allow = true;
      if (change.action == TVE_EXPAND && OnExpanding) OnExpanding(change.itemNew.hItem, allow);
      if (change.action == TVE_COLLAPSE && OnCollapsing) OnCollapsing(change.itemNew.hItem, allow);
      return allow ? FALSE : TRUE;
    }
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW: {
      TTreeNode node = reinterpret_cast<NMTVDISPINFOA&>(header).item.hItem;
      bool allow = !readOnly_;
      if (allow && OnEditing) OnEditing(node, allow);
      if (allow) {
        if (HWND edit = EditHandle()) SetWindowSubclass(edit, &LabelEditProc, 1, 0);
      }
      return allow ? FALSE : TRUE;
    }
    case TVN_ENDLABELEDITA: {
      auto& info = reinterpret_cast<NMTVDISPINFOA&>(header);
      LRESULT result = FALSE;
      EndLabelEdit(info.item.hItem, info.item.pszText, result);
      return result;
    }
    case TVN_ENDLABELEDITW: {
      auto& info = reinterpret_cast<NMTVDISPINFOW&>(header);
      LRESULT result = FALSE;
      if (!info.item.pszText) return result;
      char text[kMaxText] = {};
      WideCharToMultiByte(CP_ACP, 0, info.item.pszText, -1, text, sizeof text - 1, nullptr, nullptr);
      EndLabelEdit(info.item.hItem, text, result);
      return result;
    }
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW: {
      auto& drag = reinterpret_cast<NMTREEVIEWA&>(header);
      BeginDrag(drag.itemNew.hItem, drag.ptDrag);
      return 0;
    }
    case NM_RCLICK: {
      if (RightClickSelect) {
        POINT point;
        GetCursorPos(&point);
        ScreenToClient(Handle(), &point);
        if (TTreeNode node = NodeAt(point.x, point.y)) SetSelected(node);
      }
      if (!OnContextMenu) return 0;
      // Answered here: not every tree control goes on to send WM_CONTEXTMENU.
      const DWORD at = GetMessagePos();
      OnContextMenu(GET_X_LPARAM(at), GET_Y_LPARAM(at));
      return 1;
    }
    case NM_CUSTOMDRAW:
      if (OnCustomDraw) return OnCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(header));
      return CDRF_DODEFAULT;
  }
  return 0;
}

LRESULT TAdvTreeView::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DROPFILES:
      DropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CONTEXTMENU:
      if (OnContextMenu) {
        OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (Dragging() && wParam == VK_ESCAPE) {
        EndDrag(false);
        return 0;
      }
      if (wParam == VK_F2 && Selected() && !IsEditing()) {
        EditLabel(Selected());
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (Dragging()) {
        DragOver(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (Dragging()) {
        dragPoint_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        EndDrag(true);
        return 0;
      }
      if (leftDown_) {
        leftDown_ = false;
        if (OnMouseUp) OnMouseUp(0, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      }
      break;
    case WM_RBUTTONUP:
      if (OnMouseUp) OnMouseUp(1, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case WM_CAPTURECHANGED:
      if (Dragging() && reinterpret_cast<HWND>(lParam) != Handle()) EndDrag(false);
      break;
    case WM_LBUTTONDOWN: {
      const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      leftDown_ = true;
      if (OnMouseDown) OnMouseDown(0, x, y);
      // The control follows the mouse itself until the button is released or a drag
      // begins, and takes the release with it: a click ends here.
      const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
      if (leftDown_ && !Dragging() && (GetKeyState(VK_LBUTTON) & 0x8000) == 0) {
        leftDown_ = false;
        if (OnMouseUp) OnMouseUp(0, x, y);
      }
      return result;
    }
    case WM_RBUTTONDOWN:
      if (OnMouseDown) OnMouseDown(1, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (RightClickSelect) {
        if (TTreeNode node = NodeAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) SetSelected(node);
      }
      break;
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

}  // namespace orvane
