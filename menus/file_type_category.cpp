#include "menus/file_type_category.h"

#include "filetypes/file_types.h"
#include "menus/custom_menu.h"
#include "platform/ansi_case.h"
#include "platform/messages.h"

namespace orvane {

TCustomFileTypeCategory::TCustomFileTypeCategory(TTreeItemsClass childListClass)
    : TCategoryItem(childListClass) {
  link_.OnDestroy = [this](TFileTypeLink*, TFileType* fileType) { FileTypeRemoved(fileType); };
  BindToMenu();
}

TCustomFileTypeCategory::~TCustomFileTypeCategory() { link_.OnDestroy = nullptr; }

TCustomMenu* TCustomFileTypeCategory::Menu() const {
  return dynamic_cast<TCustomMenu*>(TTreeItem::Tree());
}

void TCustomFileTypeCategory::BindToMenu() {
  TCustomMenu* menu = Menu();
  if (menu && link_.FileTypes() != menu->FileTypes()) link_.SetFileTypes(menu->FileTypes());
}

void TCustomFileTypeCategory::MoveTo(TTreeItems& list) {
  TCategoryItem::MoveTo(list);
  BindToMenu();
}

void TCustomFileTypeCategory::SetModified(bool) {}

std::string TCustomFileTypeCategory::DisplayName() const {
  if (TFileType* fileType = FileType()) return fileType->Description();
  return missingTypeName_.empty() ? std::string()
                                  : FormatRes(msg::SNoFileTypeCategory, {missingTypeName_});
}

void TCustomFileTypeCategory::FileTypeRemoved(TFileType* fileType) {
  // A category without a type has none to lose, and takes no other one.
  if (!missingTypeName_.empty()) {
    if (!link_.FileTypes()) BindToMenu();
    return;
  }
  // The link has already let go of a type that went away; one that still has its type
  // was told about another one.
  if (link_.FileType()) return;
  TFileTypes* types = link_.FileTypes();
  if (!types) {
    // Detached by a reload that did not find the type again: back to the menu's list,
    // unless that list itself is going.
    TCustomMenu* menu = Menu();
    types = menu ? menu->FileTypes() : nullptr;
    if (!types) return;
    link_.SetFileTypes(types);
  }
  for (int i = 0; i < types->Count(); ++i) {
    TFileType* first = types->Items(i);
    if (first != fileType) {
      link_.SetFileType(first);
      MergeIntoTwin();
      return;
    }
  }
}

void TCustomFileTypeCategory::MergeIntoTwin() {
  TCustomMenu* menu = Menu();
  if (!menu) return;
  // Other links may not have found their types again yet, so the twin is known by the
  // name its link keeps, never by a file type it may still point to.
  TTreeItem* twin = nullptr;
  for (int i = 0; i < menu->Items().Count() && !twin; ++i) {
    auto* other = dynamic_cast<TCustomFileTypeCategory*>(menu->Items()[i]);
    if (other && other != this && AnsiSameText(other->Link().FileTypeName(), link_.FileTypeName()))
      twin = other;
  }
  if (!twin) return;
  // Moving the last item destroys this category: nothing of it is touched after that.
  menu->BeginUpdate();
  TLiveRef<TTreeItem> self(this);
  while (TTreeItem* category = self.Get()) {
    if (category->Items().Count() == 0) {
      category->Free();
      break;
    }
    category->Items()[0]->MoveTo(twin->Items());
  }
  menu->EndUpdate();
}

}  // namespace orvane
