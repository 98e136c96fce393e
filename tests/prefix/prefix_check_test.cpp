// The end of the Windows suite: the shared prefix's HKEY_CLASSES_ROOT holds no verb of the
// system's own form (" (*)"). Tests that write such verbs into the real registry must
// take them away again; one left behind would be found by every later test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry.h"

namespace orvane::testing {
namespace {

TEST(SharedPrefix, HoldsNoVerbOfTheSystemsOwnForm) {
  TRegistry classes(kKeyRead, DefaultRegistryBackend());
  classes.SetRootKey(kHkeyClassesRoot);
  ASSERT_TRUE(classes.OpenKeyReadOnly("\\"));
  std::vector<std::string> types;
  classes.GetKeyNames(types);
  classes.CloseKey();
  ASSERT_FALSE(types.empty());
  std::vector<std::string> left;
  for (const std::string& type : types) {
    if (!classes.OpenKeyReadOnly("\\" + type + "\\shell")) continue;
    std::vector<std::string> verbs;
    classes.GetKeyNames(verbs);
    classes.CloseKey();
    for (const std::string& verb : verbs)
      if (verb.size() >= 3 && verb.compare(verb.size() - 3, 3, "(*)") == 0)
        left.push_back(type + "\\shell\\" + verb);
  }
  EXPECT_TRUE(left.empty()) << "left in the prefix: " << ::testing::PrintToString(left);
}

}  // namespace
}  // namespace orvane::testing
