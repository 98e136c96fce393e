// Registration of the module and its undoing: the class with its server, one handler
// entry per kind of object, the approved list; unregistering leaves the registry as it
// was, other programs' entries included.

#include "shellext/registration.h"

#include <gtest/gtest.h>

#include "platform/memory_registry.h"
#include "platform/reg_text.h"

namespace orvane::testing {
namespace {

const char* kBefore = R"(REGEDIT4

[HKEY_CLASSES_ROOT\*]

[HKEY_CLASSES_ROOT\CLSID]

[HKEY_CLASSES_ROOT\Directory\shellex\ContextMenuHandlers\Other]
@="{11111111-0000-0000-0000-000000000000}"

[HKEY_CLASSES_ROOT\Drive\shellex\ContextMenuHandlers\Orvane]
@="{22222222-0000-0000-0000-000000000000}"

[HKEY_LOCAL_MACHINE\Software\Microsoft]
)";

class RegistrationTest : public ::testing::Test {
protected:
  RegistrationTest() { ImportRegText(memory, kBefore); }
  std::string Snapshot() {
    return ExportRegText(memory, "HKEY_CLASSES_ROOT") +
           ExportRegText(memory, "HKEY_LOCAL_MACHINE\\Software");
  }
  std::string Value(HKey root, const std::string& key, const std::string& name = "") {
    std::string value;
    view.ReadString(root, key, name, value);
    return value;
  }

  TMemoryRegistry memory;
  TRegistryView view{memory, kKeyWow64_32Key};
};

TEST_F(RegistrationTest, RegisterWritesClassHandlersAndApproval) {
  ASSERT_TRUE(RegisterShellExtension(view, "C:\\Orvane\\OVShlExt.DLL"));
  const std::string clsid = std::string("CLSID\\") + kShellExtClassId;
  EXPECT_EQ(Value(kHkeyClassesRoot, clsid + "\\InProcServer32"), "C:\\Orvane\\OVShlExt.DLL");
  EXPECT_EQ(Value(kHkeyClassesRoot, clsid + "\\InProcServer32", "ThreadingModel"), "Apartment");
  for (const char* type : {"*", "Directory", "Directory\\Background", "Drive"})
    EXPECT_EQ(Value(kHkeyClassesRoot, std::string(type) + "\\shellex\\ContextMenuHandlers\\" + kShellExtClassId),
              kShellExtClassId)
        << type;
  EXPECT_EQ(Value(kHkeyLocalMachine,
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved",
                  kShellExtClassId),
            kShellExtName);
}

TEST_F(RegistrationTest, UnregisterLeavesTheRegistryAsItWas) {
  // Registering twice (as Apply does around a write) records the made keys once.
  std::string before = Snapshot();
  ASSERT_TRUE(RegisterShellExtension(view, "C:\\Orvane\\OVShlExt.DLL"));
  ASSERT_TRUE(RegisterShellExtension(view, "C:\\Orvane\\OVShlExt.DLL"));
  ASSERT_NE(Snapshot(), before);
  ASSERT_TRUE(UnregisterShellExtension(view));
  EXPECT_EQ(Snapshot(), before);
  EXPECT_TRUE(UnregisterShellExtension(view));  // nothing left to remove
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(RegistrationTest, KeysOthersFilledMeanwhileStay) {
  ASSERT_TRUE(RegisterShellExtension(view, "C:\\Orvane\\OVShlExt.DLL"));
  ImportRegText(memory, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\Directory\\Background\\shellex\\"
                        "ContextMenuHandlers\\Later]\n@=\"{3}\"\n");
  ASSERT_TRUE(UnregisterShellExtension(view));
  EXPECT_EQ(Value(kHkeyClassesRoot, "Directory\\Background\\shellex\\ContextMenuHandlers\\Later"),
            "{3}");
  EXPECT_FALSE(view.Exists(kHkeyClassesRoot, "*\\shellex"));
}

// Both modules of a 64-bit system: each class key in its own view, the handler entries
// in the classes both views share.
class TwoViewRegistrationTest : public RegistrationTest {
protected:
  TwoViewRegistrationTest() {
    memory.UseTwoViews();
    ImportRegText(memory, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\Wow6432Node\\CLSID]\n");
  }
  bool Registered(const TRegistryView& in) {
    return in.Exists(kHkeyClassesRoot, std::string("CLSID\\") + kShellExtClassId + "\\InProcServer32");
  }
  bool HandlersThere() {
    for (const char* type : kServedTypes)
      if (!view.Exists(kHkeyClassesRoot, std::string(type) + "\\shellex\\ContextMenuHandlers\\" +
                                             kShellExtClassId))
        return false;
    return true;
  }
  TRegistryView view64{memory, kKeyWow64_64Key};
};

TEST_F(TwoViewRegistrationTest, ViewsShareTheClassesButNotTheClassIds) {
  ASSERT_TRUE(view.WriteString(kHkeyClassesRoot, "CLSID\\{x}", "", "32"));
  ASSERT_TRUE(view.WriteString(kHkeyClassesRoot, "txtfile", "", "shared"));
  ASSERT_TRUE(view.WriteString(kHkeyLocalMachine, "Software\\Vendor", "", "32"));
  EXPECT_FALSE(view64.Exists(kHkeyClassesRoot, "CLSID\\{x}"));
  EXPECT_TRUE(view64.Exists(kHkeyClassesRoot, "Wow6432Node\\CLSID\\{x}"));
  EXPECT_TRUE(view64.Exists(kHkeyClassesRoot, "txtfile"));
  EXPECT_FALSE(view64.Exists(kHkeyLocalMachine, "Software\\Vendor"));
  EXPECT_TRUE(view.DeleteKey(kHkeyClassesRoot, "CLSID\\{x}"));
  EXPECT_FALSE(view64.Exists(kHkeyClassesRoot, "Wow6432Node\\CLSID\\{x}"));
}

// Unregistering one bitness keeps what the other, still registered, needs; once both are
// gone the registry is as it was, in either order.
TEST_F(TwoViewRegistrationTest, EachBitnessUnregistersAloneAndBothLeaveNothing) {
  std::string before = Snapshot();
  for (bool firstIs64 : {true, false}) {
    const TRegistryView& first = firstIs64 ? view64 : view;
    const TRegistryView& second = firstIs64 ? view : view64;
    ASSERT_TRUE(RegisterShellExtension(first, "C:\\Orvane\\x64\\OVShlExt.DLL"));
    ASSERT_TRUE(RegisterShellExtension(second, "C:\\Orvane\\OVShlExt.DLL"));
    ASSERT_TRUE(UnregisterShellExtension(first));
    EXPECT_FALSE(Registered(first));
    EXPECT_TRUE(Registered(second));
    EXPECT_TRUE(HandlersThere()) << "the other bitness lost its entries";
    ASSERT_TRUE(UnregisterShellExtension(second));
    EXPECT_EQ(Snapshot(), before) << (firstIs64 ? "64 first" : "32 first");
  }
}

}  // namespace
}  // namespace orvane::testing
