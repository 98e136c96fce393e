#pragma once
// What the file type collection tells its links.

#include <cstdint>

namespace orvane {

enum TNotifyKind : std::uint8_t {
  nkChange = 0,       // an item (or the whole collection) changed
  nkDestroying = 1,   // an item (or the whole collection) is being destroyed
  nkMove = 2,         // an item moved
  nkRefresh = 3,      // a load finished, also after a failure
  nkRefreshItem = 4,  // load progress: one type analysed (or between phases)
  nkLoadIcon = 5,     // the icon of an item was placed
};

}  // namespace orvane
