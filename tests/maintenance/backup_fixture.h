#pragma once
// Backups on the in-memory registry and, in the Windows build, on the real one: each test
// gets an empty throwaway key below HKEY_CLASSES_ROOT (the place the tools remove from),
// removed after, and in-memory files for the backup folder.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "maintenance/backup_list.h"
#include "maintenance/reg_backup_file.h"
#include "platform/registry.h"
#include "platform/reg_text.h"
#include "tests/storage/memory_files.h"
#include "tests/support/registry_backends.h"

namespace orvane::testing {

inline const std::string kThrowaway = "OrvaneTests.Backup";
inline const std::string kThrowawayFull = "HKEY_CLASSES_ROOT\\" + kThrowaway;
inline const std::string kBackupFolder = "C:\\Orvane\\Backups\\";

template <class Backend>
class BackupTest : public ::testing::Test {
protected:
  void SetUp() override {
    Wipe();
    files.RequireFolders = true;
  }
  void TearDown() override { Wipe(); }

  IRegistryBackend& Reg() { return backend_.Get(); }
  TMemoryRegistry* Memory() { return backend_.Memory(); }

  // Sets a value of `sub` below the throwaway key, creating the key.
  void Put(const std::string& sub, const std::string& name, std::uint32_t type,
           const std::string& bytes) {
    HKey key = 0;
    ASSERT_EQ(Reg().CreateKey(kHkeyClassesRoot, Path(sub), kKeyAllAccess, key), kErrorSuccess)
        << sub;
    EXPECT_EQ(Reg().SetValue(key, name, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                             static_cast<std::uint32_t>(bytes.size())),
              kErrorSuccess)
        << name;
    Reg().CloseKey(key);
  }
  static std::string Path(const std::string& sub = "") {
    return kThrowaway + (sub.empty() ? "" : "\\" + sub);
  }
  std::string Export() { return ExportRegText(Reg(), kThrowawayFull); }
  void DeleteAll() {
    TRegistry registry(Reg());
    registry.SetRootKey(kHkeyClassesRoot);
    registry.DeleteKey("\\" + kThrowaway);
  }
  TRegBackupFile NewBackup() {
    return TRegBackupFile(Reg(), files, kBackupFolder, [this] { return now; });
  }
  void Restore(const std::string& fileName) {
    RestoreBackup(files, fileName, [this](std::uint32_t view) {
      return view == 0 ? &Reg() : nullptr;
    });
  }

  TMemoryFiles files;
  std::time_t now = 1765288800;  // a fixed moment: backups of one second

private:
  void Wipe() {
    if (Memory()) Memory()->ClearFailures();
    DeleteAll();
  }
  Backend backend_;
};

}  // namespace orvane::testing
