#include "menus/custom_menu_item.h"

#include "menus/custom_menu.h"
#include "menus/file_type_category.h"
#include "platform/file_system.h"
#include "platform/messages.h"
#include "storage/custom_ini_file.h"

namespace orvane {

TCustomMenuItem::TCustomMenuItem(TTreeItemsClass childListClass)
    : TNodeItem(childListClass),
      parameters_(LoadResString(msg::SDefaultParameters)),
      caption_(LoadResString(msg::SNewMenuItem)) {}

void TCustomMenuItem::SetText(std::string& field, const std::string& value) {
  if (field == value) return;
  CheckSingleLine(value);
  DoChanging();
  field = value;
  DoChanged();
}

void CheckSingleLine(const std::string& text) {
  if (HasLineBreak(text)) throw EMenuError(LoadResString(msg::SMenuTextLineBreak));
}

void TCustomMenuItem::SetApplication(const std::string& value) { SetText(application_, value); }

void TCustomMenuItem::SetParameters(const std::string& value) { SetText(parameters_, value); }

void TCustomMenuItem::SetCaption(const std::string& value) { SetText(caption_, value); }

void TCustomMenuItem::SetChecked(bool value) {
  if (checked_ == value) return;
  DoChanging();
  checked_ = value;
  DoChanged();
}

void TCustomMenuItem::SetModified(bool value) {
  TNodeItem::SetModified(value);
  for (int i = 0; i < Items().Count(); ++i) Items()[i]->SetModified(value);
}

void TCustomMenuItem::Assign(const TTreeItem& source) {
  const auto* item = dynamic_cast<const TCustomMenuItem*>(&source);
  if (!item) {
    TNodeItem::Assign(source);
    return;
  }
  TItemUpdate update(this);
  SetApplication(item->Application());
  SetParameters(item->Parameters());
  SetCaption(item->Caption());
  SetChecked(item->Checked());
  SetExpanded(item->Expanded());
}

TCustomFileTypeCategory* TCustomMenuItem::Category() const {
  for (TTreeItem* node = Parent(); node; node = node->Parent())
    if (auto* category = dynamic_cast<TCustomFileTypeCategory*>(node)) return category;
  return nullptr;
}

TFileType* TCustomMenuItem::ItemFileType() const {
  TCustomFileTypeCategory* category = Category();
  return category ? category->FileType() : nullptr;
}

TCustomMenu* TCustomMenuItem::Menu() const { return dynamic_cast<TCustomMenu*>(TTreeItem::Tree()); }

void TCustomMenuItem::SetFileType(TFileType* fileType) {
  if (!fileType) throw EMenuError(LoadResString(msg::SFileTypeRequired));
  if (!Collection()) return;
  TCustomFileTypeCategory* category = Category();
  if (category && category->FileType() == fileType) return;
  TCustomMenu* menu = Menu();
  if (!menu) return;
  auto& top = static_cast<TCustomMenuItems&>(menu->Items());
  // The old category may vanish and a new one appear: one notification for all of it.
  bool bracket = Collection()->Count() == 1 || !top.HasCategory(fileType);
  if (bracket) menu->BeginUpdate();
  try {
    MoveTo(top.FindOrAddCategory(fileType)->Items());
  } catch (...) {
    if (bracket) menu->EndUpdate();
    throw;
  }
  if (bracket) menu->EndUpdate();
}

namespace {

// The program as the shell takes it: quotes of a command line off, environment
// references expanded.
std::string ExpandedProgram(const std::string& application, IFileSystem& fileSystem) {
  std::string name = application;
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
    name = name.substr(1, name.size() - 2);
  return fileSystem.ExpandEnvironment(name);
}

}  // namespace

bool TCustomMenuItem::IsApplicationMissing(IFileSystem& fileSystem) const {
  const std::string name = ExpandedProgram(application_, fileSystem);
  // The bare file name is searched in its own folder first, then on the search path.
  std::vector<std::string> folders;
  std::string fileName = name;
  size_t slash = name.find_last_of("\\/:");
  if (slash != std::string::npos) {
    folders.push_back(name.substr(0, slash + 1));
    fileName = name.substr(slash + 1);
  }
  if (std::optional<bool> found = fileSystem.FindFileOnPath(fileName, folders, nullptr)) return !*found;
  return !fileSystem.FileExists(name);
}

std::string TCustomMenuItem::ApplicationFolder(IFileSystem& fileSystem) const {
  std::string name = ExpandedProgram(application_, fileSystem);
  if (name.find_first_of("\\/:") == std::string::npos) {
    // A bare name is the program the search path finds.
    std::string found;
    if (fileSystem.FindFileOnPath(name, {}, &found).value_or(false)) name = found;
  }
  const size_t slash = name.find_last_of("\\/:");
  if (slash == std::string::npos) return {};
  if (name[slash] == ':' || (slash > 0 && name[slash - 1] == ':')) return name.substr(0, slash + 1);
  return name.substr(0, slash);
}

}  // namespace orvane
