#pragma once
// The full context menu on Windows 11: a per-user class override, an empty default value
// of InprocServer32 below HKEY_CURRENT_USER\Software\Classes\CLSID\{86ca1aa0-...}, makes
// the file manager show the classic context menu, with this program's items, at once
// instead of behind "Show more options". The registry is the only place its state is kept.

#include <string>
#include <vector>

#include "platform/registry_backend.h"

namespace orvane {

class TClassicMenuSwitch {
public:
  enum class TState {
    Off,      // no override
    On,       // InprocServer32 with an empty default value, written by us or another tool
    Foreign,  // InprocServer32 holds something else, a server's registration: left alone
  };

  // The class key and the key the switch writes, absolute below HKEY_CURRENT_USER.
  static constexpr const char* kClassKey =
      "\\Software\\Classes\\CLSID\\{86ca1aa0-34aa-4e8b-a509-50c905bae2a2}";
  static constexpr const char* kServerKey =
      "\\Software\\Classes\\CLSID\\{86ca1aa0-34aa-4e8b-a509-50c905bae2a2}\\InprocServer32";

  // `registry` as the file manager reads it (its native view).
  explicit TClassicMenuSwitch(IRegistryBackend& registry);

  TState State() const;
  // On writes the override; off deletes the InprocServer32 key, and the keys above it that
  // this switch created, as long as nothing else has been put into them since. Neither
  // changes anything in the Foreign state. Raises ERegistryException when the registry
  // refuses.
  void SetOn(bool on);

private:
  IRegistryBackend& registry_;
  // The keys above InprocServer32 that the last switching on created, outermost first.
  std::vector<std::string> created_;
};

}  // namespace orvane
