#include "menus/store_info.h"

#include "platform/registry.h"

namespace orvane {

void TStoreInfo::Clear() {
  stored_ = false;
  keyPath_.clear();
}

void TStoreInfo::SetStored(const std::string& path) {
  keyPath_ = path;
  stored_ = true;
}

void TStoreInfo::Remove(const TVerbRegistry& where) {
  if (!stored_) return;
  TRegistry registry(where.Backend);
  registry.SetRootKey(where.Root);
  TRegistryEx::DeleteKeyOrRaise(registry, where.Base + keyPath_);
  // The parent is cut at the last "\" only: a ":" in a caption would otherwise name
  // some other program's verb key as the parent and delete it.
  size_t cut = keyPath_.rfind('\\');
  std::string parent = cut == std::string::npos ? std::string() : keyPath_.substr(0, cut);
  if (!parent.empty() && registry.OpenKey(where.Base + parent, false)) {
    bool empty = !registry.HasSubKeys();
    registry.CloseKey();
    if (empty) TRegistryEx::DeleteKeyOrRaise(registry, where.Base + parent);
  }
  Clear();
}

}  // namespace orvane
