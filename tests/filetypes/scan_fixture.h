#pragma once
// A file type scan over an in-memory HKEY_CLASSES_ROOT made from .reg text, on a
// system that plays Windows XP with shell version 6.0 unless a test says otherwise.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filetypes/adv_string_list.h"
#include "filetypes/erroneous_file_type.h"
#include "filetypes/file_type_link.h"
#include "filetypes/file_types.h"
#include "filetypes/predefined_types.h"
#include "platform/exception.h"
#include "platform/memory_registry.h"
#include "platform/reg_text.h"

namespace orvane::testing {

class ScanTest : public ::testing::Test {
protected:
  void SetUp() override { UsePlatform(pcXP, 0x60000); }
  void TearDown() override { UsePlatform(pcXP, 0x60000); }

  static void UsePlatform(TPlatformClass platform, std::int32_t shell) {
    SetPlatformClass(platform);
    SetShellVersion(shell);
    BuildPredefinedTable();
  }

  void Import(const std::string& body) { ImportRegText(reg, "REGEDIT4\n\n" + body); }
  void Load() { types.Load(bugs, reg); }

  // Names of the types that are not predefined, in collection order.
  std::vector<std::string> OwnTypes() const {
    std::vector<std::string> names;
    for (int i = 0; i < types.Count(); ++i) {
      if (!types.Items(i)->Predefined()) names.push_back(types.Items(i)->Name());
    }
    return names;
  }

  std::vector<std::string> BugTexts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < bugs.Count(); ++i) texts.push_back(bugs.Strings(i));
    return texts;
  }

  const TErroneousFileType& Bug(int index) const {
    return *static_cast<TErroneousFileType*>(bugs.Objects(index));
  }

  TMemoryRegistry reg;
  TFileTypes types;
  TAdvStringList bugs;
};

}  // namespace orvane::testing
