#include "services/classic_menu_switch.h"

#include "platform/registry.h"

namespace orvane {

TClassicMenuSwitch::TClassicMenuSwitch(IRegistryBackend& registry) : registry_(registry) {}

TClassicMenuSwitch::TState TClassicMenuSwitch::State() const {
  TRegistry registry(kKeyRead, registry_);
  registry.SetRootKey(kHkeyCurrentUser);
  if (!registry.OpenKeyReadOnly(kServerKey)) return TState::Off;
  TRegDataInfo info;
  if (!registry.GetDataInfo("", info)) return TState::Foreign;
  if (info.RegData != kRegSz && info.RegData != kRegExpandSz) return TState::Foreign;
  return registry.ReadString("").empty() ? TState::On : TState::Foreign;
}

void TClassicMenuSwitch::SetOn(bool on) {
  const TState state = State();
  if (state == TState::Foreign || (state == TState::On) == on) return;
  TRegistry registry(kKeyAllAccess, registry_);
  registry.SetRootKey(kHkeyCurrentUser);
  if (on) {
    std::vector<std::string> missing;
    for (const char* level :
         {"\\Software", "\\Software\\Classes", "\\Software\\Classes\\CLSID", kClassKey}) {
      if (!registry.KeyExists(level)) missing.push_back(level);
    }
    try {
      TRegistryEx::OpenKeyOrRaise(registry, kServerKey, true);
      registry.WriteString("", "");
    } catch (...) {
      // Without its value the key would read as another tool's and stay for good.
      registry.CloseKey();
      registry.DeleteKey(missing.empty() ? std::string(kServerKey) : missing.front());
      throw;
    }
    created_ = std::move(missing);
    return;
  }
  TRegistryEx::DeleteKeyOrRaise(registry, kServerKey);
  const std::vector<std::string> created = std::move(created_);
  created_.clear();
  // Keys that were there before, or that got other contents since, are not ours.
  for (auto level = created.rbegin(); level != created.rend(); ++level) {
    if (!registry.OpenKeyReadOnly(*level)) return;
    TRegKeyInfo info;
    const bool empty = registry.GetKeyInfo(info) && info.NumSubKeys == 0 && info.NumValues == 0;
    registry.CloseKey();
    if (!empty) return;
    TRegistryEx::DeleteKeyOrRaise(registry, *level);
  }
}

}  // namespace orvane
