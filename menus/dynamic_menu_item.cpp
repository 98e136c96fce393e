#include "menus/dynamic_menu_item.h"

#include "filetypes/file_type.h"
#include "menus/custom_menu.h"
#include "menus/dynamic_menu.h"
#include "platform/ansi_case.h"
#include "platform/messages.h"
#include "storage/custom_ini_file.h"

namespace orvane {

int MenuNesting(const TTreeItems& list) {
  int nesting = 0;
  for (const TTreeItem* owner = list.OwnerItem(); owner; owner = owner->Parent()) ++nesting;
  return nesting;
}

const std::string kSeparatorCaption(18, '\x97');

namespace {

bool IsPngFile(const std::string& file) {
  size_t dot = file.rfind('.');
  size_t folder = file.find_last_of("\\/:");
  if (dot == std::string::npos || (folder != std::string::npos && dot < folder)) return false;
  return AnsiUpperCase(file.substr(dot)) == ".PNG";
}

std::string FileTypeName(const TCustomMenuItem& item) {
  TFileType* fileType = item.ItemFileType();
  return fileType ? fileType->Name() : std::string();
}

}  // namespace

void TDynamicMenuItem::SetHint(const std::string& value) {
  if (hint_ == value) return;
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
  icon_ = TItemImage(IsPngFile(iconFile_) ? TItemImage::TKind::Png : TItemImage::TKind::Icon);
  // An item outside a dynamic menu has nowhere to load its picture from: it takes the
  // index, and gets the picture when it is copied into a menu.
  const auto* menu = dynamic_cast<const TDynamicMenu*>(Tree());
  if (index >= 0 && !iconFile_.empty() && menu) {
    TItemImage loaded(icon_.Kind());
    try {
      loaded.Load(iconFile_, index, menu->ImageSources().Icons, menu->ImageSources().Files);
    } catch (const std::exception&) {
      return;  // no picture, and the index stays
    }
    icon_ = std::move(loaded);
  }
  DoChanging();
  iconIndex_ = index;
  DoChanged();
}

void TDynamicMenuItem::SetSeparator(bool value) {
  if (value == isSeparator_) return;
  DoChanging();
  SetCaption(kSeparatorCaption);
  SetApplication("");
  SetParameters("");
  hint_.clear();
  SetIconFile("");
  SetIconIndex(-1);
  isSeparator_ = value;
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
  SetSeparator((ini.ReadInteger(section, "IsSeparator" + number, 0) & 0xFF) != 0);
  if (!IsSeparator()) {
    SetApplication(ini.ReadString(section, "Application" + number, ""));
    SetParameters(ini.ReadString(section, "Parameters" + number, ""));
    SetCaption(ini.ReadString(section, "Caption" + number, ""));
    SetHint(ini.ReadString(section, "Hint" + number, ""));
    if (Application().empty() && Parameters().empty() && Caption().empty()) {
      if (log) log->push_back(LoadResString(msg::SInvalidMenuItemSkipped));
      return false;
    }
    SetIconFile(ini.ReadString(section, "IconFile" + number, ""));
    SetIconIndex(ini.ReadInteger(section, "IconIndex" + number, 0));
  }
  SetChecked(ReadCheckedFlag(ini, section, n, Caption(), log));
  SetNumber(n);
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
  TItemUpdate update(this);
  TDynamicMenuItem::SetChecked(value);
  for (int i = 0; i < Items().Count(); ++i)
    if (auto* child = dynamic_cast<TCustomMenuItem*>(Items()[i])) child->SetChecked(value);
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

bool TDynamicSubMenu::LoadFromIni(TCustomIniFile& ini, const std::string& section,
                                  std::vector<std::string>* log, int n) {
  std::string number = std::to_string(n);
  SetCaption(ini.ReadString(section, "Caption" + number, ""));
  SetHint(ini.ReadString(section, "Hint" + number, ""));
  SetIconFile(ini.ReadString(section, "IconFile" + number, ""));
  if (Caption().empty() && Hint().empty() && IconFile().empty()) {
    if (log) log->push_back(LoadResString(msg::SInvalidMenuItemSkipped));
    return false;
  }
  SetIconIndex(ini.ReadInteger(section, "IconIndex" + number, 0));
  SetChecked(ReadCheckedFlag(ini, section, n, Caption(), log));
  SetNumber(n);
  return true;
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
