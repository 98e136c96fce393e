#include "maintenance/registry_bugs.h"

#include <algorithm>
#include <vector>

#include "filetypes/predefined_types.h"
#include "platform/ansi_case.h"
#include "platform/exception.h"
#include "platform/reg_text.h"
#include "platform/registry.h"

namespace orvane {
namespace {

constexpr const char* kRootName = "HKEY_CLASSES_ROOT";

enum class TStep { NoLongerThere, DeleteKey, DeleteValue, Unfixable, Failed };

struct TPlan {
  int Index = 0;
  TErroneousFileType* Bug = nullptr;
  TStep Step = TStep::Unfixable;
  std::string Path;   // below HKEY_CLASSES_ROOT
  std::string Value;  // for DeleteValue
  std::string Reason;
};

bool IsMissing(ErrorCode rc) { return rc == kErrorFileNotFound || rc == kErrorPathNotFound; }

[[noreturn]] void Raise(TRegistry& registry, ErrorCode rc, const std::string& operation) {
  registry.Backend().SetLastError(rc);
  TRegistryEx::RaiseRegistryError(registry, operation);
}

// Opens `path` read-only: false when it does not exist. Any other failure raises, so that
// a refused read is never taken for an absent key.
bool OpenIfPresent(TRegistry& registry, const std::string& path) {
  if (registry.OpenKeyReadOnly("\\" + path)) return true;
  const ErrorCode rc = registry.Backend().LastError();
  if (IsMissing(rc)) return false;
  Raise(registry, rc, "opening read-only " + std::string(kRootName) + "\\" + path);
}

bool KeyPresent(TRegistry& registry, const std::string& path) {
  const bool present = OpenIfPresent(registry, path);
  registry.CloseKey();
  return present;
}

// Whether the open key has the value; raises when the registry does not say.
bool ValuePresent(TRegistry& registry, const std::string& name) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  const ErrorCode rc = registry.Backend().QueryValue(registry.CurrentKey(), name, &type, nullptr, &size);
  if (rc == kErrorSuccess) return true;
  if (IsMissing(rc)) return false;
  Raise(registry, rc, "reading value \"" + name + "\" of " + TRegistryEx::CurrentKeyName(registry));
}

// The text of a value of the open key: empty when it is absent or holds no text.
std::string ReadText(TRegistry& registry, const std::string& name) {
  IRegistryBackend& backend = registry.Backend();
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  ErrorCode rc = backend.QueryValue(registry.CurrentKey(), name, &type, nullptr, &size);
  if (IsMissing(rc)) return {};
  std::string text(size, '\0');
  if (rc == kErrorSuccess) {
    rc = backend.QueryValue(registry.CurrentKey(), name, &type,
                            reinterpret_cast<std::uint8_t*>(text.data()), &size);
  }
  if (rc != kErrorSuccess) {
    Raise(registry, rc, "reading value \"" + name + "\" of " + TRegistryEx::CurrentKeyName(registry));
  }
  if (type != kRegSz && type != kRegExpandSz) return {};
  text.resize(std::min<std::size_t>(size, text.size()));
  return text.substr(0, text.find('\0'));
}

// Keys of the shell itself: a fault under them is not repaired by deleting them.
bool IsShellKey(const std::string& key) {
  if (key.empty() || key.front() == '\\' || key.back() == '\\') return true;
  for (const TSpecialClass& row : SpecialTypes()) {
    if (AnsiSameText(row.Name, key)) return true;
  }
  return AnsiSameText(key, "CLSID") || AnsiSameText(key, "SystemFileAssociations");
}

// An extension still names the missing type it was found with.
bool MissingTypeHolds(TRegistry& registry, const TErroneousFileType& bug) {
  if (!OpenIfPresent(registry, bug.Key)) return false;
  const std::string type = ReadText(registry, "");
  registry.CloseKey();
  return !type.empty() && AnsiSameText(type, bug.Target) && !KeyPresent(registry, bug.Target);
}

// A type's CurVer still names a type that does not exist, or itself without a CLSID. A
// CurVer that names an existing type is no fault, also when the scan had already merged
// that type into the next version.
bool BadCurVerHolds(TRegistry& registry, const TErroneousFileType& bug) {
  if (!OpenIfPresent(registry, bug.Key + "\\CurVer")) return false;
  const std::string current = ReadText(registry, "");
  registry.CloseKey();
  if (current.empty() || !AnsiSameText(current, bug.Target)) return false;
  if (AnsiSameText(bug.Target, bug.Key)) return !KeyPresent(registry, bug.Key + "\\CLSID");
  return !KeyPresent(registry, bug.Target);
}

void PlanMissingIcon(TRegistry& registry, TPlan& plan) {
  const std::string& key = plan.Bug->Key;
  if (key.empty() || !KeyPresent(registry, key)) return;
  if (KeyPresent(registry, key + "\\DefaultIcon")) {
    plan.Step = TStep::DeleteKey;
    plan.Path = key + "\\DefaultIcon";
    return;
  }
  if (!OpenIfPresent(registry, key + "\\CLSID")) return;
  const std::string classId = ReadText(registry, "");
  registry.CloseKey();
  if (classId.empty()) return;
  const std::string icon = "CLSID\\" + classId + "\\DefaultIcon";
  if (KeyPresent(registry, icon)) {
    plan.Step = TStep::DeleteKey;
    plan.Path = icon;
  }
}

void PlanMissingPerceivedType(TRegistry& registry, TPlan& plan) {
  const std::string& key = plan.Bug->Key;
  if (key.empty() || !OpenIfPresent(registry, key)) return;
  const bool present = ValuePresent(registry, "PerceivedType");
  registry.CloseKey();
  if (present) {
    plan.Step = TStep::DeleteValue;
    plan.Path = key;
    plan.Value = "PerceivedType";
  }
}

// What repairing one entry removes, found by reading only.
void PlanRepair(TRegistry& registry, TPlan& plan) {
  const TErroneousFileType& bug = *plan.Bug;
  switch (bug.Kind) {
    case bkMissingType:
    case bkBadCurVer: {
      if (IsShellKey(bug.Key)) return;
      const bool holds = bug.Kind == bkMissingType ? MissingTypeHolds(registry, bug)
                                                   : BadCurVerHolds(registry, bug);
      if (!holds) {
        plan.Step = TStep::NoLongerThere;
      } else {
        plan.Step = TStep::DeleteKey;
        plan.Path = bug.Key;
      }
      return;
    }
    case bkMissingIconFile:
      PlanMissingIcon(registry, plan);
      return;
    case bkMissingPerceivedType:
      PlanMissingPerceivedType(registry, plan);
      return;
    default:
      return;
  }
}

// Every key of the subtree opens with the rights a delete needs, so that a key the user
// may not change is refused before any part of it goes.
void CheckDeletable(TRegistry& registry, const std::string& path) {
  IRegistryBackend& backend = registry.Backend();
  const std::string fullName = std::string(kRootName) + "\\" + path;
  HKey key = 0;
  ErrorCode rc = backend.OpenKey(kHkeyClassesRoot, path, kKeyAllAccess, key);
  if (rc != kErrorSuccess) Raise(registry, rc, "deleting " + fullName);
  std::vector<std::string> names;
  std::string name;
  for (std::uint32_t i = 0; (rc = backend.EnumKey(key, i, name)) == kErrorSuccess; ++i)
    names.push_back(name);
  backend.CloseKey(key);
  if (rc != kErrorNoMoreItems) Raise(registry, rc, "reading the subkeys of " + fullName);
  for (const std::string& child : names) CheckDeletable(registry, path + "\\" + child);
}

// Deletes the key with its subtree. When the registry still fails halfway, what already
// went is put back, so that the key is either whole or gone.
void DeleteWholeKey(TRegistry& registry, const std::string& path) {
  const std::string fullName = std::string(kRootName) + "\\" + path;
  registry.CloseKey();
  if (!KeyPresent(registry, path)) return;  // went with an earlier entry's key
  CheckDeletable(registry, path);
  const std::string before = ExportRegText(registry.Backend(), fullName);
  if (registry.DeleteKey("\\" + path)) return;
  const ErrorCode rc = registry.Backend().LastError();
  try {
    if (!before.empty()) ImportRegText(registry.Backend(), before);
  } catch (const std::exception&) {
    // The delete's own failure is the one to report; the backup holds the whole key.
  }
  Raise(registry, rc, "deleting " + fullName);
}

void DeleteOneValue(TRegistry& registry, const std::string& path, const std::string& name) {
  registry.CloseKey();
  if (!registry.OpenKey("\\" + path, false)) {
    const ErrorCode rc = registry.Backend().LastError();
    if (IsMissing(rc)) return;  // went with its key
    Raise(registry, rc, "opening " + std::string(kRootName) + "\\" + path);
  }
  if (registry.DeleteValue(name)) return;
  const ErrorCode rc = registry.Backend().LastError();
  if (IsMissing(rc) && !ValuePresent(registry, name)) return;
  Raise(registry, rc, "deleting value \"" + name + "\" of " + kRootName + "\\" + path);
}

}  // namespace

bool TBugFixRun::HasFailures() const {
  return std::any_of(Outcomes.begin(), Outcomes.end(),
                     [](const TBugFixOutcome& o) { return o.Result == TFixResult::Failed; });
}

int TBugFixRun::FixedCount() const {
  return static_cast<int>(std::count_if(Outcomes.begin(), Outcomes.end(), [](const TBugFixOutcome& o) {
    return o.Result == TFixResult::Fixed;
  }));
}

TBugFixRun FixBugs(TAdvStringList& bugs, const std::vector<int>& indices,
                   IRegistryBackend& backend, IRemovalBackup& backup) {
  TRegistry registry(backend);
  registry.SetRootKey(kHkeyClassesRoot);

  std::vector<TPlan> plans;
  for (int index : indices) {
    auto* bug = dynamic_cast<TErroneousFileType*>(bugs.Objects(index));
    if (!bug || bug->Fixed) continue;
    TPlan plan;
    plan.Index = index;
    plan.Bug = bug;
    try {
      PlanRepair(registry, plan);
    } catch (const std::exception& e) {
      plan.Step = TStep::Failed;
      plan.Reason = e.what();
    }
    registry.CloseKey();
    plans.push_back(std::move(plan));
  }

  TBugFixRun run;
  try {
    for (const TPlan& plan : plans) {
      if (plan.Step == TStep::DeleteKey) backup.AddKey(kHkeyClassesRoot, plan.Path);
      if (plan.Step == TStep::DeleteValue) backup.AddValue(kHkeyClassesRoot, plan.Path, plan.Value);
    }
    backup.Commit(kRegistryBugsBackup);
  } catch (const std::exception& e) {
    run.BackupFailure = e.what();
    return run;
  }

  for (TPlan& plan : plans) {
    TBugFixOutcome outcome{plan.Index, TFixResult::Fixed, {}};
    try {
      switch (plan.Step) {
        case TStep::DeleteKey:
          DeleteWholeKey(registry, plan.Path);
          break;
        case TStep::DeleteValue:
          DeleteOneValue(registry, plan.Path, plan.Value);
          break;
        case TStep::NoLongerThere:
          break;
        case TStep::Unfixable:
          outcome.Result = TFixResult::Unfixable;
          break;
        case TStep::Failed:
          outcome.Result = TFixResult::Failed;
          outcome.Reason = plan.Reason;
          break;
      }
    } catch (const std::exception& e) {
      outcome.Result = TFixResult::Failed;
      outcome.Reason = e.what();
    }
    registry.CloseKey();
    if (outcome.Result == TFixResult::Fixed) plan.Bug->Fixed = true;
    run.Outcomes.push_back(std::move(outcome));
  }
  return run;
}

}  // namespace orvane
