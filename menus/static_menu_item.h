#pragma once
// An item of the static menu: a verb that the system writes under its file type's
// "shell" key while the item is active, marked by " (*)" after the caption.

#include "menus/custom_menu_item.h"
#include "menus/menu_item_ini.h"
#include "menus/store_info.h"

namespace orvane {

class TStaticMenu;

// The command of a verb: the program, a blank, the parameters. A program path with
// blanks or environment variables is quoted when, expanded, it names an existing file as
// a whole; any other text ("rundll32.exe url.dll,FileProtocolHandler") stays as typed.
std::string VerbCommand(const std::string& application, const std::string& parameters,
                        IFileSystem& fileSystem);

class TStaticMenuItem : public TCustomMenuItem, public IMenuItemIni {
public:
  explicit TStaticMenuItem(TTreeItemsClass childListClass) : TCustomMenuItem(childListClass) {}

  const TStoreInfo& StoreInfo() const { return storeInfo_; }
  TStoreInfo& StoreInfo() { return storeInfo_; }
  bool RegistrySync() const { return registrySync_; }
  void SetRegistrySync(bool value) { registrySync_ = value; }

  // "\" + file type + "\shell\" + caption + " (*)", with any "\" of the caption as
  // "/"; empty without a category.
  std::string VerbKeyPath() const;
  // Raises when the registry cannot tell (a refused look is no missing key).
  bool VerbKeyExists() const;
  // Writes the verb of an active item and records it as stored; raises registry errors.
  void WriteVerb();
  // True records the current verb key; false forgets any.
  void SetStored(bool value);

  const char* ClassName() const override { return "TStaticMenuItem"; }
  bool LoadFromIni(TCustomIniFile& ini, const std::string& section, std::vector<std::string>* log,
                   int n) override;
  void SaveToIni(TCustomIniFile& ini, const std::string& section, int& n, bool detached) override;

  TStaticMenu* StaticMenu() const;

protected:
  // A stored item leaving the menu queues its key for the next save.
  void Destroy() override;

private:
  // The menu's verb registry; null for an item outside a static menu, which has none.
  const TVerbRegistry* Registry() const;

  TStoreInfo storeInfo_;
  bool registrySync_ = false;
};

}  // namespace orvane
