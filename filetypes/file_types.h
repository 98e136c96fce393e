#pragma once
// The file type model: predefined special types first, then every registered type that
// an extension points to, sorted by description. Links observe it.

#include <string>
#include <unordered_map>
#include <vector>

#include "filetypes/adv_string_list.h"
#include "filetypes/file_type.h"
#include "filetypes/notify_kind.h"
#include "filetypes/sorted_collection.h"
#include "platform/registry_backend.h"

namespace orvane {

class TFileTypeLink;
class IImageList;
class IIconSource;

class TFileTypes : public TSortedCollection {
public:
  TFileTypes();
  ~TFileTypes() override;

  TFileType* Add();
  TFileType* Items(int index) const { return static_cast<TFileType*>(Item(index)); }
  // First item whose Name equals `name` ignoring case, or nullptr.
  TFileType* FindByName(const std::string& name) const;

  // Rebuilds the model from HKEY_CLASSES_ROOT; registry bugs go to `bugs`. Only a
  // root that cannot be opened raises; links get nkRefresh in every case.
  void Load(TAdvStringList& bugs, IRegistryBackend& backend);
  // Fills `images` with one image per type, in collection order.
  void LoadIcons(IImageList& images, TAdvStringList& bugs, IIconSource& icons);
  // Gives the predefined types the captions of the current predefined table.
  void UpdateCaptions();

  const std::vector<TFileTypeLink*>& Links() const { return links_; }
  void AttachLink(TFileTypeLink* link);
  void DetachLink(TFileTypeLink* link);
  // Sends to every attached link in attach order; inside an update bracket only
  // nkRefreshItem goes out.
  void Notify(TNotifyKind kind, TFileType* item);

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  bool Loading() const { return loading_; }
  bool IndexChanging() const { return indexChanging_; }
  void SetIndexChanging(bool value) { indexChanging_ = value; }

  // Predefined types first (in table order), then the others by Description.
  int Compare(int index1, int index2) override;
  // Orders as Compare does, by sort keys made once per item.
  void Sort() override;
  void Update(TCollectionItem* item) override;

protected:
  void ItemAdded(TCollectionItem* item) override;
  void ItemRemoving(TCollectionItem* item) override;

private:
  friend class TFileType;
  // Add with the name set before the item is indexed.
  TFileType* AddNamed(const std::string& name);
  void NameChanging(TFileType* item, const std::string& oldName, const std::string& newName);
  void IndexName(TFileType* item, const std::string& name);
  void UnindexName(TFileType* item, const std::string& name);

  std::vector<TFileTypeLink*> links_;
  // Names compared ignoring case, as FindByName does.
  struct NameHash {
    size_t operator()(const std::string& name) const;
  };
  struct NameEqual {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  // Items by name, in order of indexing; kept in step with the collection.
  std::unordered_map<std::string, std::vector<TFileType*>, NameHash, NameEqual> byName_;
  int updateCount_ = 0;
  bool loading_ = false;
  bool indexChanging_ = false;
  bool destroying_ = false;
};

}  // namespace orvane
