// The baseline of the start-up benchmark: a process that opens every root key of
// HKEY_CLASSES_ROOT, reads its default value and exits.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/exception.h"
#include "platform/registry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace orvane;
  TRegistry reg(kKeyRead, DefaultRegistryBackend());
  reg.SetRootKey(kHkeyClassesRoot);
  std::vector<std::string> names;
  if (reg.OpenKeyReadOnly("\\")) reg.GetKeyNames(names);
  size_t bytes = 0;
  for (const std::string& name : names) {
    if (!reg.OpenKeyReadOnly("\\" + name)) continue;
    try {
      bytes += reg.ReadString("").size();
    } catch (const ERegistryException&) {
    }
  }
  // Something read, so that the walk is not optimised away.
  return bytes > 0 && !names.empty() ? 0 : 1;
}
