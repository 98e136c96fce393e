#include "menus/custom_menu.h"

#include "filetypes/file_types.h"
#include "platform/ansi_case.h"
#include "platform/messages.h"

namespace orvane {
namespace {

// Each "&" marks the access key of the character after it; "&&" stands for "&".
std::string WithoutAccessKeys(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      out += caption[i];
    } else if (i + 1 < caption.size()) {
      out += caption[++i];
    }
  }
  return out;
}

int Position(const TCustomFileTypeCategory& category) {
  TFileType* fileType = category.FileType();
  return fileType ? fileType->Index() : -1;
}

class TTreeUpdate {
public:
  explicit TTreeUpdate(TTreeCollection& tree) : tree_(tree) { tree_.BeginUpdate(); }
  ~TTreeUpdate() { tree_.EndUpdate(); }
  TTreeUpdate(const TTreeUpdate&) = delete;
  TTreeUpdate& operator=(const TTreeUpdate&) = delete;

private:
  TTreeCollection& tree_;
};

// The list in order again after a category was added at its end. When the others are in
// strict order and the new one equals none of them, every sort gives the same order: only
// the new one moves, instead of a sort comparing and exchanging them all anew (thousands
// of comparisons for a menu file of many file types, each category added one by one).
void SortAddedLast(TTreeItems& list) {
  const int last = list.Count() - 1;
  for (int i = 0; i + 1 < last; ++i) {
    if (list.Compare(i, i + 1) >= 0) return list.Sort();
  }
  int place = last;
  while (place > 0) {
    const int order = list.Compare(place - 1, last);
    if (order == 0) return list.Sort();
    if (order < 0) break;
    --place;
  }
  if (place < last) list[last]->SetIndex(place);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TCustomMenuItems

int TCustomMenuItems::CompareItems(const TTreeItem& a, const TTreeItem& b) const {
  if (const auto* category = dynamic_cast<const TCustomFileTypeCategory*>(&a)) {
    const auto* other = dynamic_cast<const TCustomFileTypeCategory*>(&b);
    return Position(*category) - (other ? Position(*other) : -1);
  }
  if (const auto* item = dynamic_cast<const TCustomMenuItem*>(&a)) {
    const auto* other = dynamic_cast<const TCustomMenuItem*>(&b);
    if (!other) return -1;
    int order =
        AnsiCompareStr(WithoutAccessKeys(other->Caption()), WithoutAccessKeys(item->Caption()));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
  }
  return -1;
}

TTreeItems& TCustomMenuItems::TopLevel() const {
  TTreeCollection* tree = Tree();
  if (!tree) throw EMenuError(LoadResString(msg::SFileTypesNotSet));
  return tree->Items();
}

TTreeItem* TCustomMenuItems::AddItemTo(const TTreeItemClass& nodeClass, TTreeItems& list,
                                       const std::function<bool(TTreeItem*)>& acceptsItems) {
  TTreeItem* owner = list.OwnerItem();
  if (owner && !dynamic_cast<TCustomFileTypeCategory*>(owner) &&
      !(acceptsItems && acceptsItems(owner)))
    throw EMenuError(LoadResString(msg::SSubitemForMenuItem));
  TTreeCollection* tree = list.Tree();
  if (!tree) throw EMenuError(LoadResString(msg::SSubitemForMenuItem));
  return tree->AddNode(list, nodeClass);
}

bool TCustomMenuItems::CanHold(const TTreeItemClass& nodeClass) const {
  for (const TTreeItemClass& held : GetItemClasses())
    if (held == nodeClass) return true;
  return false;
}

TTreeItem* TCustomMenuItems::AddMenuItem(TTreeItems& list, const TTreeItemClass& nodeClass) {
  if (!CanHold(nodeClass)) throw EMenuError(LoadResString(msg::SInvalidTreeItemClass));
  if (list.OwnerItem()) return AddItem(nodeClass, list);
  auto* menu = dynamic_cast<TCustomMenu*>(list.Tree());
  if (!menu || !menu->FileTypes() || menu->FileTypes()->Count() == 0)
    throw EMenuError(LoadResString(msg::SFileTypesNotSet));
  TCustomFileTypeCategory* category = FindOrAddCategory(menu->FileTypes()->Items(0));
  TLiveRef<TTreeItem> added(category);
  try {
    return AddItem(nodeClass, category->Items());
  } catch (...) {
    // A category made for an item that did not come would stay empty.
    TTreeItem* alive = added.Get();
    if (alive && alive->Items().Count() == 0) alive->Free();
    throw;
  }
}

TTreeItem* TCustomMenuItems::AddFirstItem(TTreeItems& list) {
  std::vector<TTreeItemClass> classes = GetItemClasses();
  if (classes.empty()) throw EMenuError(LoadResString(msg::SInvalidTreeItemClass));
  return AddMenuItem(list, classes[0]);
}

TTreeItem* TCustomMenuItems::AddSubMenu(TTreeItems& list) {
  std::vector<TTreeItemClass> classes = GetItemClasses();
  if (classes.size() < 2) throw EMenuError(LoadResString(msg::SInvalidTreeItemClass));
  return AddMenuItem(list, classes[1]);
}

TCustomFileTypeCategory* TCustomMenuItems::FindCategory(const TFileType* fileType) const {
  TTreeItems& top = TopLevel();
  for (int i = 0; i < top.Count(); ++i) {
    auto* category = dynamic_cast<TCustomFileTypeCategory*>(top[i]);
    if (category && category->FileType() == fileType) return category;
  }
  return nullptr;
}

TCustomFileTypeCategory* TCustomMenuItems::FindOrAddCategory(TFileType* fileType) {
  if (TCustomFileTypeCategory* found = FindCategory(fileType)) return found;
  TTreeItems& top = TopLevel();
  TTreeUpdate update(*top.Tree());
  TCustomFileTypeCategory* category = AddCategory(top);
  try {
    category->SetFileType(fileType);
  } catch (...) {
    category->Free();
    throw;
  }
  SortAddedLast(top);
  return category;
}

TCustomFileTypeCategory* TCustomMenuItems::FindOrAddMissingCategory(const std::string& typeName) {
  TTreeItems& top = TopLevel();
  for (int i = 0; i < top.Count(); ++i) {
    auto* category = dynamic_cast<TCustomFileTypeCategory*>(top[i]);
    if (category && !category->FileType() && AnsiSameText(category->MissingTypeName(), typeName))
      return category;
  }
  TTreeUpdate update(*top.Tree());
  TCustomFileTypeCategory* category = AddCategory(top);
  category->SetMissingTypeName(typeName);
  // Its link follows the list but no type in it.
  category->SetFileType(nullptr);
  SortAddedLast(top);
  return category;
}

// ---------------------------------------------------------------------------------------
// TCustomMenu

TCustomMenu::TCustomMenu(TTreeItemsClass topListClass, TFileTypes* fileTypes)
    : TCategorizedCollection(topListClass), fileTypes_(fileTypes) {
  // The menu's own link never follows a type, so it hears of a vanishing collection only.
  fileTypesLink_.OnDestroy = [this](TFileTypeLink*, TFileType* item) {
    if (!item) fileTypes_ = nullptr;
  };
  fileTypesLink_.SetFileTypes(fileTypes);
}

TCustomMenu::~TCustomMenu() {
  DestroyNodes();
  fileTypesLink_.OnDestroy = nullptr;
}

void TCustomMenu::ClearModified() {
  SetModified(false);
  std::function<void(TTreeItems&)> clear = [&](TTreeItems& list) {
    for (int i = 0; i < list.Count(); ++i) {
      list[i]->SetModified(false);
      clear(list[i]->Items());
    }
  };
  clear(Items());
}

TFileType* TCustomMenu::FileTypeForItem(const std::string& name, const std::string& caption) {
  if (!fileTypes_ || fileTypes_->Count() == 0) return nullptr;
  if (TFileType* found = fileTypes_->FindByName(name)) return found;
  TFileType* first = fileTypes_->Items(0);
  log_.push_back(FormatRes(msg::SFileTypeNotFoundItemMoved, {name, caption, first->Description()}));
  return first;
}

void TCustomMenu::ValidateAdd(TTreeItems& list, TTreeItem* item) {
  if (!dynamic_cast<TCustomFileTypeCategory*>(item) && !dynamic_cast<TCustomMenuItem*>(item))
    throw EMenuError(LoadResString(msg::SInvalidTreeItemClass));
  TCategorizedCollection::ValidateAdd(list, item);
}

void TCustomMenu::DoChange(TTreeItems* list, TTreeItem* item) {
  // The notice that ends a load comes after the load has decided.
  if (!loadEnding_) SetModified(true);
  TCategorizedCollection::DoChange(list, item);
}

bool TCustomMenu::IsModified() const { return modified_ || TCategorizedCollection::IsModified(); }

namespace {

int NumberOf(TTreeItem* node) {
  auto* item = dynamic_cast<TCustomMenuItem*>(node);
  return item ? item->Number() : 0;
}

// Numbers grow in depth-first order, so the item numbered `number` lies below the last
// node whose number is smaller.
TTreeItems* SearchByNumber(TTreeItems& list, int number) {
  auto* owner = dynamic_cast<TCustomMenuItem*>(list.OwnerItem());
  if (owner && owner->Number() == number) return &list;
  if (list.Count() == 0 || number < NumberOf(list[0])) return nullptr;
  for (int k = 0; k < list.Count(); ++k) {
    int current = NumberOf(list[k]);
    if (current == number) return &list[k]->Items();
    if (number < current && k > 0) return SearchByNumber(list[k - 1]->Items(), number);
    if (k == list.Count() - 1) return SearchByNumber(list[k]->Items(), number);
  }
  return nullptr;
}

}  // namespace

TTreeItems* TCustomMenu::ListByNumber(int number) const {
  if (number == 0) return &Items();
  for (int i = 0; i < Items().Count(); ++i)
    if (TTreeItems* found = SearchByNumber(Items()[i]->Items(), number)) return found;
  return nullptr;
}

void TCustomMenu::LoadFrame(const std::function<void()>& readItems) {
  // The load ends in one change notice, with the menu as it stays: a view refreshes
  // once, and what it shows (the focus, whether there is anything to apply) is final.
  auto finish = [this] {
    // A load that logged problems leaves the menu modified, so that the corrected
    // structure is offered for saving.
    if (log_.empty()) {
      ClearModified();
    } else {
      SetModified(true);
    }
    Focus(Items().Count() > 0 ? Items()[0] : nullptr);
    loadEnding_ = true;
    struct TEnded {
      bool& ending;
      ~TEnded() { ending = false; }
    } ended{loadEnding_};
    EndUpdate();
  };
  BeginUpdate();
  try {
    log_.clear();
    incomplete_ = true;
    Items().Clear();
    readItems();
    incomplete_ = false;
    FullExpand();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

}  // namespace orvane
