#include "platform/memory_clipboard.h"

namespace orvane {

IClipboard& DefaultClipboard() {
  static TMemoryClipboard clipboard;
  return clipboard;
}

}  // namespace orvane
