#include "maintenance/disabled_store.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// A stored entry goes back to exactly where it came from, also when the active path
// itself holds something that looks like the store's path.
TEST(DisabledStore, StoredEntriesReturnToTheirActivePlace) {
  const std::string paths[] = {
      "txtfile\\shell\\open",
      "SystemFileAssociations\\.txt\\shellex\\ContextMenuHandlers\\x",
      "odd\\shell\\Software\\Orvane\\DisabledItems\\Static\\verb",
  };
  for (const std::string& path : paths) {
    std::string stored = StoredKeyPath(path, kDisabledStaticPrefix);
    EXPECT_EQ(ActiveKeyPath(stored, kDisabledStaticPrefix), path);
  }
  EXPECT_EQ(ActiveKeyPath("txtfile\\shell\\open", kDisabledStaticPrefix), "txtfile\\shell\\open");
}

}  // namespace
}  // namespace orvane
