#pragma once
// Shared set-up of the clean-up tools' tests: an in-memory registry behind a counter that
// can make the k-th call of an Apply fail, and a backup that keeps the text of every key
// it was handed, as it was at that moment.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "platform/root_keys.h"
#include "tests/support/nth_call_failure.h"
#include "tests/support/recorded_backup.h"

namespace orvane::testing {

// Keeps, for every key handed over, its registry text at that moment.
class TExportingBackup : public TRecordedBackup {
public:
  explicit TExportingBackup(IRegistryBackend& registry) : registry_(registry) {}
  std::map<std::string, std::string> Texts;  // by full key name

  void AddKey(HKey root, const std::string& path) override {
    TRecordedBackup::AddKey(root, path);
    const std::string full = std::string(PredefinedRootName(root)) + "\\" + path;
    std::string text = ExportRegText(registry_, full);
    if (!text.empty()) Texts[full] = text;
  }

private:
  IRegistryBackend& registry_;
};

class CleanupTest : public ::testing::Test {
protected:
  CleanupTest() : counting(memory), backup(memory) {}

  void Import(const std::string& text) { ImportRegText(memory, "REGEDIT4\n\n" + text); }
  // The key's text ("HKEY_CLASSES_ROOT\txtfile\shell\open"), empty when it is missing.
  std::string Text(const std::string& full) { return ExportRegText(memory, full); }
  // The same with the key's own path taken out, so that a key and its copy compare equal.
  std::string Content(const std::string& full) {
    std::string text = Text(full);
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
      std::size_t end = text.find('\n', at);
      std::string line = text.substr(at, end - at);
      if (line.rfind("[" + full, 0) == 0) line = "[" + line.substr(full.size() + 1);
      out += line + "\n";
      at = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
  }
  bool Exists(const std::string& full) { return !Text(full).empty(); }

  TMemoryRegistry memory;
  TNthCallFailure counting;
  TExportingBackup backup;
};

}  // namespace orvane::testing
