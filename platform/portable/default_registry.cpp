#include "platform/memory_registry.h"

namespace orvane {

// Without Windows the process registry is an empty in-memory one that callers fill.
IRegistryBackend& DefaultRegistryBackend() {
  static TMemoryRegistry registry;
  return registry;
}

}  // namespace orvane
