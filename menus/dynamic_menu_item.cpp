#include "menus/dynamic_menu_item.h"

#include <optional>

#include "filetypes/file_type.h"
#include "menus/custom_menu.h"
#include "menus/dynamic_menu.h"
#include "platform/ansi_case.h"
#include "platform/messages.h"
#include "storage/custom_ini_file.h"

namespace orvane {

const std::string kSeparatorCaption(18, '\x97');

namespace {

std::string FileTypeName(const TCustomMenuItem& item) {
  TFileType* fileType = item.ItemFileType();
  return fileType ? fileType->Name() : std::string();
}

}  // namespace

void TDynamicMenuItem::SetHint(const std::string& value) {
  if (hint_ == value) return;
  CheckSingleLine(value);
  DoChanging();
  hint_ = value;
  DoChanged();
}

void TDynamicMenuItem::SetIconFile(const std::string& value) {
  if (iconFile_ == value) return;
  iconFile_ = value;
  iconIndex_ = -1;
  icon_ = TItemImage();
}

void TDynamicMenuItem::SetIconIndex(int index) {
  if (index == iconIndex_) return;
  icon_ = TItemImage(IsPngFileName(iconFile_) ? TItemImage::TKind::Png : TItemImage::TKind::Icon);
  // An item outside a dynamic menu has nowhere to load its picture from: it takes the
  // index, and gets the picture when it is copied into a menu.
  const auto* menu = dynamic_cast<const TDynamicMenu*>(Tree());
  if (index >= 0 && !iconFile_.empty() && menu) {
    auto load = [&]() -> std::optional<TItemImage> {
      TItemImage loaded(icon_.Kind());
      IIconSource& icons = menu->ImageSources().Icons;
      // The system's search finds the file in its own folder, or on the search path.
      auto exists = [&icons](const std::string& path) {
        const size_t split = path.find_last_of("\\/");
        const std::string folder = split == std::string::npos ? "" : path.substr(0, split + 1);
        std::string found;
        return icons.FindFile(folder, path.substr(folder.size()), found);
      };
      if (!MayOpenImageFile(iconFile_, exists)) return std::nullopt;  // as a file that does not load
      try {
        loaded.Load(iconFile_, index, icons, menu->ImageSources().Files);
      } catch (const std::exception&) {
        return std::nullopt;
      }
      return loaded;
    };
    std::optional<TItemImage> picture;
    if (TDynamicMenu::TLoadPictures* pictures = menu->LoadPictures()) {
      auto [at, added] = pictures->try_emplace({iconFile_, index});
      if (added) at->second = load();
      picture = at->second;
    } else {
      picture = load();
    }
    if (!picture) return;  // no picture, and the index stays
    icon_ = std::move(*picture);
  }
  DoChanging();
  iconIndex_ = index;
  DoChanged();
}

void TDynamicMenuItem::SetSeparator(bool value) {
  if (value == isSeparator_) return;
  DoChanging();
  {
    // One change for the whole of it: the inner setters stay silent.
    TItemUpdate update(this);
    SetCaption(kSeparatorCaption);
    SetApplication("");
    SetParameters("");
    hint_.clear();
    SetIconFile("");
    SetIconIndex(-1);
    isSeparator_ = value;
  }
  DoChanged();
}

void TDynamicMenuItem::Assign(const TTreeItem& source) {
  const auto* item = dynamic_cast<const TDynamicMenuItem*>(&source);
  if (!item) {
    TCustomMenuItem::Assign(source);
    return;
  }
  TItemUpdate update(this);
  TCustomMenuItem::Assign(source);
  isSeparator_ = item->isSeparator_;
  hint_ = item->hint_;
  SetIconFile(item->iconFile_);
  SetIconIndex(item->iconIndex_);
}

bool TDynamicMenuItem::LoadFromIni(TCustomIniFile& ini, const std::string& section,
                                   std::vector<std::string>* log, int n) {
  std::string number = std::to_string(n);
  TDynamicItemRecord record =
      DynamicItemFromValues(n, dynamic_cast<TDynamicSubMenu*>(this) != nullptr,
                            [&](std::string_view base) {
                              return ini.ReadString(section, std::string(base) + number, "");
                            });
  return LoadFromRecord(record, log);
}

bool TDynamicMenuItem::LoadFromRecord(const TDynamicItemRecord& record,
                                      std::vector<std::string>* log) {
  if (record.Invalid) {
    if (log) log->push_back(LoadResString(msg::SInvalidMenuItemSkipped));
    return false;
  }
  SetSeparator(record.Kind == TDynamicEntryKind::Separator);
  if (!IsSeparator()) {
    SetApplication(record.Application);
    SetParameters(record.Parameters);
    SetCaption(record.Caption);
    SetHint(record.Hint);
    SetIconFile(record.IconFile);
    SetIconIndex(record.IconIndex);
  }
  if (record.CheckedInvalid && log)
    log->push_back(FormatRes(msg::SInvalidCheckedValue, {Caption()}));
  SetChecked(record.Checked);
  SetNumber(record.Number);
  return true;
}

void TDynamicMenuItem::WriteParent(TCustomIniFile& ini, const std::string& section, int n,
                                   bool detached) const {
  auto* holder = detached ? nullptr : dynamic_cast<TDynamicSubMenu*>(Parent());
  ini.WriteInteger(section, "Parent" + std::to_string(n), holder ? holder->Number() : 0);
}

void TDynamicMenuItem::SaveToIni(TCustomIniFile& ini, const std::string& section, int& n,
                                 bool detached) {
  std::string number = std::to_string(n);
  SetNumber(n);
  WriteParent(ini, section, n, detached);
  if (IsSeparator()) {
    ini.WriteInteger(section, "IsSeparator" + number, 1);
  } else {
    ini.WriteString(section, "Application" + number, Application());
    ini.WriteString(section, "Parameters" + number, Parameters());
    ini.WriteString(section, "Caption" + number, Caption());
    ini.WriteString(section, "Hint" + number, Hint());
    ini.WriteString(section, "IconFile" + number, IconFile());
    ini.WriteInteger(section, "IconIndex" + number, IconIndex());
  }
  ini.WriteInteger(section, "Checked" + number, Checked() ? 1 : 0);
  ini.WriteString(section, "FileType" + number, FileTypeName(*this));
  ++n;
}

// ---------------------------------------------------------------------------------------
// TDynamicSubMenu

void TDynamicSubMenu::SetChecked(bool value) {
  DoChanging();
  {
    // The own flag changes silently; the children announce their own changes.
    TItemUpdate update(this);
    TDynamicMenuItem::SetChecked(value);
    for (int i = 0; i < Items().Count(); ++i)
      if (auto* child = dynamic_cast<TCustomMenuItem*>(Items()[i])) child->SetChecked(value);
  }
  // After the bracket, so that the submenu's own tick is announced too.
  DoChanged();
}

void TDynamicSubMenu::Assign(const TTreeItem& source) {
  const auto* submenu = dynamic_cast<const TDynamicSubMenu*>(&source);
  if (!submenu) {
    TDynamicMenuItem::Assign(source);
    return;
  }
  TItemUpdate update(this);
  TDynamicMenuItem::Assign(source);
  Items().Clear();
  TCustomMenu* menu = Menu();
  if (!menu) return;
  auto& factory = static_cast<TCustomMenuItems&>(menu->Items());
  for (int i = 0; i < submenu->Items().Count(); ++i) {
    TTreeItem* child = submenu->Items()[i];
    TTreeItem* copy = dynamic_cast<TDynamicSubMenu*>(child) ? factory.AddSubMenu(Items())
                                                            : factory.AddFirstItem(Items());
    copy->Assign(*child);
  }
}

void TDynamicSubMenu::SaveToIni(TCustomIniFile& ini, const std::string& section, int& n,
                                bool detached) {
  std::string number = std::to_string(n);
  SetNumber(n);
  WriteParent(ini, section, n, detached);
  ini.WriteString(section, "Caption" + number, Caption());
  ini.WriteInteger(section, "Checked" + number, Checked() ? 1 : 0);
  ini.WriteString(section, "FileType" + number, FileTypeName(*this));
  ini.WriteString(section, "Hint" + number, Hint());
  ini.WriteString(section, "IconFile" + number, IconFile());
  ini.WriteInteger(section, "IconIndex" + number, IconIndex());
  ini.WriteInteger(section, "Submenu" + number, 1);
  ++n;
  for (int i = 0; i < Items().Count(); ++i)
    if (auto* child = dynamic_cast<IMenuItemIni*>(Items()[i]))
      child->SaveToIni(ini, section, n, false);
}

}  // namespace orvane
