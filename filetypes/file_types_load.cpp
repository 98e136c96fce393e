// The scan of HKEY_CLASSES_ROOT that rebuilds the file type model.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "filetypes/erroneous_file_type.h"
#include "filetypes/file_types.h"
#include "filetypes/predefined_types.h"
#include "platform/ansi_case.h"
#include "platform/exception.h"
#include "platform/messages.h"
#include "platform/registry.h"

namespace orvane {
namespace {

constexpr const char* kSfa = "SystemFileAssociations";
constexpr size_t kSfaLength = 22;

bool IsExtensionKeyName(const std::string& name) {
  if (!name.empty() && name[0] == '.') return true;
  return name.size() > kSfaLength &&
         AnsiSameText(std::string_view(name).substr(0, kSfaLength), kSfa) &&
         name[kSfaLength] == '.';
}

// "CLSID\{...}" names a class, not a type; "CLSID" alone names nothing.
bool IsClassReference(const std::string& target) {
  const size_t slash = target.find('\\');
  return slash != std::string::npos && target.compare(0, slash, "CLSID") == 0;
}

// Sorts by sort keys made once per name, moving indexes rather than strings.
void SortIgnoringCase(std::vector<std::string>& names) {
  std::vector<std::string> keys;
  keys.reserve(names.size());
  for (const auto& name : names) keys.push_back(AnsiSortKeyText(name));
  std::vector<std::uint32_t> order(names.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
  std::vector<std::string> sorted;
  sorted.reserve(names.size());
  for (std::uint32_t i : order) sorted.push_back(std::move(names[i]));
  names = std::move(sorted);
}

// One scan: the registry object and the bug list it reports to.
class TScan {
public:
  TScan(IRegistryBackend& backend, TAdvStringList& bugs) : reg_(kKeyRead, backend), bugs_(bugs) {
    reg_.SetRootKey(kHkeyClassesRoot);
  }

  TRegistry& Reg() { return reg_; }

  bool OpenKeyLogged(const std::string& key) {
    if (reg_.OpenKeyReadOnly(key)) return true;
    const std::string path = key.substr(std::min(key.find_first_not_of('\\'), key.size()));
    AddBug(bugs_, bkUnreadable, FormatRes(msg::SBugAccessDenied, {path}), path, path);
    return false;
  }

  std::string ReadStringLogged(const std::string& name) {
    try {
      return reg_.ReadString(name);
    } catch (const ERegistryException&) {
      const std::string& path = reg_.CurrentPath();
      AddBug(bugs_, bkUnreadable, FormatRes(msg::SBugInvalidDataType, {name, path}), path, name);
      return std::string();
    }
  }

  // The default value of `key` when the key opens read-only.
  bool ReadDefaultOf(const std::string& key, std::string& value) {
    if (!reg_.OpenKeyReadOnly(key)) return false;
    value = ReadStringLogged("");
    return true;
  }

  // The same for the subkey `sub` of the type key `path` (no leading backslash): opened
  // from the type key while that is still the open one, which spares resolving the
  // type's name below the root again. A failed open leaves the type key open.
  bool ReadDefaultOfSub(const std::string& path, const char* sub, std::string& value) {
    const bool atType = reg_.CurrentKey() != 0 && reg_.CurrentPath() == path;
    const std::string key = atType ? std::string(sub) : "\\" + path + "\\" + sub;
    return ReadDefaultOf(key, value);
  }

private:
  TRegistry reg_;
  TAdvStringList& bugs_;
};

// The type's own DefaultIcon; else, after a predefined type's table icon, the icon or the
// server of the class the type names.
void ReadIcon(TScan& scan, TFileType& item) {
  const std::string& name = item.Name();
  std::string value;
  if (scan.ReadDefaultOfSub(name, "DefaultIcon", value)) item.SetDefaultIcon(value);
  if (!item.DefaultIcon().empty()) return;
  const TPredefinedTable& table = PredefinedTable();
  if (item.Predefined()) item.SetDefaultIcon(table.Icons[item.Index()]);
  std::string clsid;
  // An empty class identifier would name the CLSID key itself.
  if (!scan.ReadDefaultOfSub(name, "CLSID", clsid) || clsid.empty()) return;
  const std::string base = "\\CLSID\\" + clsid + "\\";
  for (const char* sub : {"DefaultIcon", "InProcServer32", "LocalServer32"}) {
    if (scan.ReadDefaultOf(base + sub, value)) {
      item.SetDefaultIcon(value);
      return;
    }
  }
}

}  // namespace

void TFileTypes::Load(TAdvStringList& bugs, IRegistryBackend& backend) {
  BeginUpdate();
  loading_ = true;
  const bool bugsSorted = bugs.Sorted();
  try {
    bugs.SetSorted(false);
    bugs.Clear();
    SetSorted(false);
    Clear();

    TScan scan(backend, bugs);
    TRegistry& reg = scan.Reg();
    std::vector<std::string> names;
    names.reserve(5000);

    const TPredefinedTable& table = PredefinedTable();
    for (int r = 0; r < table.Count(); ++r) {
      TFileType* item = Add();
      item->SetName(table.Names[r]);
      item->SetDescription(table.Captions[r]);
      item->SetDefaultIcon(table.Icons[r]);
      item->SetPredefined(true);
      item->SetPredefinedType(TypeOfName(table.Names[r]));
    }

    TRegistryEx::OpenKeyReadOnlyOrRaise(reg, "\\");
    reg.GetKeyNames(names);
    Notify(nkRefreshItem, nullptr);

    if (reg.OpenKeyReadOnly(std::string("\\") + kSfa)) {
      std::vector<std::string> sub;
      reg.GetKeyNames(sub);
      for (const auto& name : sub) names.push_back(std::string(kSfa) + "\\" + name);
      Notify(nkRefreshItem, nullptr);
    }

    SortIgnoringCase(names);

    // Pass 1: types. Their icons are read after pass 4, for the types that stay: most
    // keys of the root are classes that no extension names, and their icons would cost
    // several registry questions each for nothing.
    std::vector<const std::string*> extensions;
    std::vector<bool> keyed(Count(), false);
    for (const std::string& name : names) {
      if (name.empty() || AnsiSameText(name, "CLSID") || AnsiSameText(name, kSfa)) continue;
      if (IsExtensionKeyName(name)) {
        extensions.push_back(&name);
        continue;
      }
      const std::string key = "\\" + name;
      if (!scan.OpenKeyLogged(key)) continue;
      const int row = table.IndexOf(name);
      TFileType* item = row >= 0 ? Items(row) : AddNamed(name);
      std::string description = scan.ReadStringLogged("");
      if (description.empty()) description = row >= 0 ? table.Captions[row] : item->Name();
      item->SetDescription(description);

      std::string value;
      if (scan.ReadDefaultOfSub(name, "CurVer", value)) item->SetCurVer(value);
      if (static_cast<size_t>(item->Index()) >= keyed.size()) keyed.resize(item->Index() + 1);
      keyed[item->Index()] = true;
      Notify(nkRefreshItem, item);
    }

    // Pass 2: extensions.
    for (const std::string* extension : extensions) {
      if (!scan.OpenKeyLogged("\\" + *extension)) continue;
      const std::string target = scan.ReadStringLogged("");
      if (TFileType* type = FindByName(target)) {
        type->AddExtension(*extension);
      } else if (!target.empty() && !IsClassReference(target)) {
        AddBug(bugs, bkMissingType, FormatRes(msg::SBugMissingType, {*extension, target}),
               *extension, target);
      }
      std::string perceived;
      try {
        if (reg.TryReadString("PerceivedType", perceived)) {
          if (TFileType* type = FindByName(std::string(kSfa) + "\\" + perceived)) {
            type->AddExtension(*extension);
          } else {
            AddBug(bugs, bkMissingPerceivedType,
                   FormatRes(msg::SBugMissingPerceivedType, {*extension, perceived}), *extension,
                   perceived);
          }
        }
      } catch (const std::exception&) {
        AddBug(bugs, bkMissingPerceivedType,
               FormatRes(msg::SBugMissingPerceivedType, {*extension, std::string()}), *extension,
               std::string());
      }
    }
    Notify(nkRefreshItem, nullptr);

    // Pass 3: an older version hands its extensions to the current one. Freed items
    // are only marked here and dropped with pass 4, so the walk stays linear.
    std::vector<bool> freed(Count(), false);
    for (int i = 0; i < Count(); ++i) {
      TFileType* item = Items(i);
      if (item->CurVer().empty()) continue;
      TFileType* current = FindByName(item->CurVer());
      if (current && current != item) {
        current->AddExtensions(*item);
        UnindexName(item, item->Name());
        freed[i] = true;
      } else if (current == item) {
        if (scan.OpenKeyLogged("\\" + item->CurVer()) && !reg.KeyExists("CLSID")) {
          AddBug(bugs, bkBadCurVer,
                 FormatRes(msg::SBugCurVerSelf, {item->Name(), item->Description()}), item->Name(),
                 item->CurVer());
        }
      } else {
        AddBug(
            bugs, bkBadCurVer,
            FormatRes(msg::SBugCurVerMissing, {item->Name(), item->Description(), item->CurVer()}),
            item->Name(), item->CurVer());
      }
    }
    Notify(nkRefreshItem, nullptr);

    // Pass 4.
    std::vector<TFileType*> iconless;
    for (int i = 0; i < Count(); ++i) {
      TFileType* item = Items(i);
      if (!item->Predefined() && item->ExtensionCount() == 0) freed[i] = true;
      if (!freed[i] && static_cast<size_t>(i) < keyed.size() && keyed[i]) iconless.push_back(item);
    }
    RemoveIf([&freed](TCollectionItem* item) { return freed[item->Index()]; });

    // The icons of the types that stay and have a key of their own.
    for (TFileType* item : iconless) ReadIcon(scan, *item);
  } catch (...) {
    bugs.SetSorted(bugsSorted);
    EndUpdate();
    loading_ = false;
    Notify(nkRefresh, nullptr);
    throw;
  }
  bugs.SetSorted(bugsSorted);
  SetSorted(true);
  EndUpdate();
  loading_ = false;
  Notify(nkRefresh, nullptr);
}

}  // namespace orvane
