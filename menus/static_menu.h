#pragma once
// The static menu: the system's own verbs per file type, kept in a section of the menu
// file; the active ones are written into the registry at every save.

#include <string>
#include <vector>

#include "menus/custom_menu.h"
#include "menus/static_menu_item.h"
#include "menus/store_info.h"

namespace orvane {

class TCustomIniFile;

class TStaticMenuItems : public TCustomMenuItems {
public:
  using TCustomMenuItems::TCustomMenuItems;
  TTreeItem* AddItem(const TTreeItemClass& nodeClass, TTreeItems& list) override;
  TCustomFileTypeCategory* AddCategory(TTreeItems& list) override;
  std::vector<TTreeItemClass> GetItemClasses() const override;
};

class TStaticMenu : public TCustomMenu {
public:
  TStaticMenu(TFileTypes* fileTypes, TVerbRegistry registry);
  ~TStaticMenu() override;

  TStaticMenuItems& List() const { return static_cast<TStaticMenuItems&>(Items()); }
  const TVerbRegistry& Registry() const { return registry_; }
  // Keys of stored items destroyed since the last save, oldest first.
  const std::vector<TStoreInfo>& DeletedKeys() const { return deletedKeys_; }
  void QueueDeletedKey(const TStoreInfo& info) { deletedKeys_.push_back(info); }
  bool TrackDeletions() const { return trackDeletions_; }
  void SetTrackDeletions(bool value) { trackDeletions_ = value; }
  // Takes the queued keys off, newest first, deleting each when `remove` is set. A key
  // whose deletion fails stays queued.
  void FlushDeletedKeys(bool remove);

  // Removes every key written before, the queued ones too, and writes the active verbs.
  virtual void ApplyToRegistry();
  void LoadFromIni(TCustomIniFile& ini, const std::string& section);
  // The registry first: a failure there leaves the section unwritten and the menu
  // modified.
  void SaveToIni(TCustomIniFile& ini, const std::string& section);

  // True when an item's verb key is `keyPath` ("\<type>\shell\<caption> (*)", any
  // case): the one it wrote or found, the one it will write, or one queued for removal.
  bool HoldsVerb(const std::string& keyPath) const;

  // Every item, categories in order.
  std::vector<TStaticMenuItem*> AllItems() const;

private:
  void CheckFileTypes() const;
  // Hands the verbs that go and are not written again to the backup, and commits it.
  void BackUpRemovedVerbs(const std::vector<TStaticMenuItem*>& items);

  TVerbRegistry registry_;
  std::vector<TStoreInfo> deletedKeys_;
  bool trackDeletions_ = true;
};

}  // namespace orvane
