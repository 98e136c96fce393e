// Arbitrary bytes as a backup file a user edited: through the restore's check and the
// .reg reader into an in-memory registry. What went in must come out again unchanged:
// exported, imported into a fresh registry and exported again, the text is the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "maintenance/backup_list.h"
#include "platform/exception.h"
#include "platform/memory_registry.h"
#include "platform/reg_text.h"

using namespace orvane;

namespace {

std::string ExportAll(IRegistryBackend& registry) {
  return ExportRegText(registry, "HKEY_CLASSES_ROOT") +
         ExportRegText(registry, "HKEY_CURRENT_USER");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  DescribeBackup(text);
  TMemoryRegistry first;
  std::vector<TRegTextEntry> entries;
  try {
    entries = CheckBackupText(text);
  } catch (const Exception&) {
    // Refused: the reader alone must still fail cleanly or apply.
    try {
      ImportRegText(first, text);
    } catch (const Exception&) {
    }
    return 0;
  }
  try {
    ApplyRegText(first, entries);
  } catch (const Exception&) {
    return 0;  // a name the registry refuses
  }
  if (first.OpenHandleCount() != 0) std::abort();
  // The whole tree, as a backup of it would hold it.
  std::string whole = "REGEDIT4\n\n";
  for (const char* root : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER"}) {
    try {
      ExportRegKey(first, root, whole);
    } catch (const Exception&) {
      return 0;  // names with line breaks are refused, not written
    }
  }
  TMemoryRegistry second;
  ImportRegText(second, whole);  // must read what was written
  if (ExportAll(first) != ExportAll(second)) std::abort();
  return 0;
}
