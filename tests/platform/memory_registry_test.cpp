// What only the in-memory registry can show: refused rights and injected failures
// reaching the callers, and handle leaks.

#include "platform/memory_registry.h"

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/reg_text.h"
#include "platform/registry.h"

namespace orvane {
namespace {

class MemoryRegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    ImportRegText(memory,
                  "REGEDIT4\n"
                  "[HKEY_CLASSES_ROOT\\txtfile\\shell\\Print\\command]\n"
                  "@=\"notepad /p %1\"\n"
                  "[HKEY_CLASSES_ROOT\\txtfile\\shell\\open]\n");
  }
  TMemoryRegistry memory;
};

TEST_F(MemoryRegistryTest, ReadOnlyOpenFallsBackToNarrowerRights) {
  TRegistry reg(memory);
  reg.SetRootKey(kHkeyClassesRoot);
  memory.SetKeyRights("HKEY_CLASSES_ROOT\\txtfile",
                      kStandardRightsRead | kKeyQueryValue | kKeyEnumerateSubKeys);
  EXPECT_TRUE(reg.OpenKeyReadOnly("\\txtfile"));
  memory.SetKeyRights("HKEY_CLASSES_ROOT\\txtfile", kKeyQueryValue);
  EXPECT_TRUE(reg.OpenKeyReadOnly("\\txtfile"));
  EXPECT_FALSE(reg.OpenKey("\\txtfile", false));  // KEY_ALL_ACCESS is refused
  memory.DenyAccess("HKEY_CLASSES_ROOT\\txtfile");
  EXPECT_FALSE(reg.OpenKeyReadOnly("\\txtfile"));
  EXPECT_FALSE(reg.KeyExists("\\txtfile"));
}

TEST_F(MemoryRegistryTest, RefusedRootOpenGivesTheScanMessage) {
  TRegistry reg(kKeyRead, memory);
  reg.SetRootKey(kHkeyClassesRoot);
  memory.FailOperation(TMemoryRegistry::Op::Open, "HKEY_CLASSES_ROOT", kErrorAccessDenied);
  try {
    TRegistryEx::OpenKeyReadOnlyOrRaise(reg, "\\");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(),
              "Registry operation error (details: opening read-only HKEY_CLASSES_ROOT\\; "
              "reason: Access is denied)");
  }
}

TEST_F(MemoryRegistryTest, RefusedDeleteNamesTheKeyAndLeavesItInPlace) {
  TRegistry reg(memory);
  reg.SetRootKey(kHkeyClassesRoot);
  memory.SetKeyRights("HKEY_CLASSES_ROOT\\txtfile\\shell\\Print", kKeyRead);
  try {
    TRegistryEx::DeleteKeyOrRaise(reg, "\\txtfile\\shell\\Print");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(),
              "Registry operation error (details: deleting "
              "HKEY_CLASSES_ROOT\\txtfile\\shell\\Print; reason: Access is denied)");
  }
  EXPECT_TRUE(reg.KeyExists("\\txtfile\\shell\\Print"));
  EXPECT_TRUE(reg.KeyExists("\\txtfile\\shell\\Print\\command"));
}

TEST_F(MemoryRegistryTest, CopyKeyStopsAtAFailedValueReadWithItsName) {
  TMemoryRegistry& m = memory;
  ImportRegText(m, "REGEDIT4\n[HKEY_CLASSES_ROOT\\src]\n\"v\"=\"1\"\n");
  m.FailOperation(TMemoryRegistry::Op::QueryValue, "HKEY_CLASSES_ROOT\\src", kErrorCantRead);
  TRegistry from(m), to(m);
  from.SetRootKey(kHkeyClassesRoot);
  to.SetRootKey(kHkeyCurrentUser);
  try {
    TRegistryEx::CopyKey(from, "src", to, "Software\\Store\\src");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(),
              "Registry operation error (details: reading value info \"v\" of "
              "HKEY_CLASSES_ROOT\\src; reason: The configuration registry key "
              "could not be read)");
  }
  // What was done before the failure stays done.
  EXPECT_TRUE(to.KeyExists("\\Software\\Store\\src"));
}

TEST_F(MemoryRegistryTest, NoHandleOutlivesTheRegistryObjects) {
  {
    TRegistry from(memory), to(memory);
    from.SetRootKey(kHkeyClassesRoot);
    TRegistryEx::CopyKey(from, "txtfile", to, "Software\\Copy");
    EXPECT_TRUE(to.KeyExists("\\Software\\Copy\\shell\\Print\\command"));
    TRegistryEx::DeleteKeyOrRaise(to, "\\Software\\Copy");
    EXPECT_EQ(memory.OpenHandleCount(), 2u);  // the two current keys
  }
  EXPECT_EQ(memory.OpenHandleCount(), 0u);
}

TEST_F(MemoryRegistryTest, BackendKeepsTheSystemsRules) {
  HKey shell = 0;
  ASSERT_EQ(memory.OpenKey(kHkeyClassesRoot, "txtfile\\shell", kKeyAllAccess, shell),
            kErrorSuccess);
  // A key with subkeys is not deleted in one step.
  EXPECT_EQ(memory.DeleteKey(kHkeyClassesRoot, "txtfile\\shell"), kErrorAccessDenied);
  // Enumeration follows insertion order.
  std::string name;
  ASSERT_EQ(memory.EnumKey(shell, 0, name), kErrorSuccess);
  EXPECT_EQ(name, "Print");
  ASSERT_EQ(memory.EnumKey(shell, 1, name), kErrorSuccess);
  EXPECT_EQ(name, "open");
  EXPECT_EQ(memory.EnumKey(shell, 2, name), kErrorNoMoreItems);
  // A handle to a deleted key answers so.
  HKey open = 0;
  ASSERT_EQ(memory.OpenKey(shell, "open", kKeyAllAccess, open), kErrorSuccess);
  ASSERT_EQ(memory.DeleteKey(shell, "OPEN"), kErrorSuccess);
  EXPECT_EQ(memory.SetValue(open, "x", kRegSz, nullptr, 0), kErrorKeyDeleted);
  // A read-only handle cannot write.
  HKey readOnly = 0;
  ASSERT_EQ(memory.OpenKey(shell, "", kKeyRead, readOnly), kErrorSuccess);
  EXPECT_EQ(memory.SetValue(readOnly, "x", kRegSz, nullptr, 0), kErrorAccessDenied);
  // A too small buffer reports the size needed.
  HKey command = 0;
  ASSERT_EQ(memory.OpenKey(shell, "Print\\command", kKeyRead, command), kErrorSuccess);
  std::uint8_t small[4];
  std::uint32_t size = sizeof small, type = 0;
  EXPECT_EQ(memory.QueryValue(command, "", &type, small, &size), kErrorMoreData);
  EXPECT_EQ(size, 14u);
  for (HKey k : {shell, open, readOnly, command}) EXPECT_EQ(memory.CloseKey(k), kErrorSuccess);
  EXPECT_EQ(memory.CloseKey(shell), kErrorInvalidHandle);
}

TEST_F(MemoryRegistryTest, InjectedFailureCountsDown) {
  memory.FailOperation(TMemoryRegistry::Op::Create, "", kErrorCantWrite, 1);
  TRegistry reg(memory);
  EXPECT_FALSE(reg.OpenKey("\\Software\\X", true));
  EXPECT_EQ(memory.LastError(), kErrorCantWrite);
  EXPECT_TRUE(reg.OpenKey("\\Software\\X", true));
}

TEST(RegText, RejectsWhatItCannotRead) {
  TMemoryRegistry memory;
  EXPECT_THROW(ImportRegText(memory, "not a reg file\n"), Exception);
  EXPECT_THROW(ImportRegText(memory, ""), Exception);
  EXPECT_THROW(ImportRegText(memory, "REGEDIT4\n[HKEY_NOWHERE\\x]\n"), Exception);
  EXPECT_THROW(ImportRegText(memory, "REGEDIT4\n\"value before key\"=\"x\"\n"), Exception);
  EXPECT_THROW(ImportRegText(memory, "REGEDIT4\n[HKCU\\x]\n\"v\"=dword:123456789\n"), Exception);
  EXPECT_THROW(ImportRegText(memory, "REGEDIT4\n[HKCU\\x]\n\"v\"=hex:0g\n"), Exception);
  try {
    ImportRegText(memory, "REGEDIT4\n[HKCU\\x]\n\"v\"=\"open\n");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Registry file, line 3: cannot read \"\"v\"=\"open\"");
  }
}

// A file with a bad line further down changes nothing: no half-applied fixture or backup.
TEST(RegText, BadLineLeavesTheRegistryUntouched) {
  TMemoryRegistry memory;
  EXPECT_THROW(ImportRegText(memory,
                             "REGEDIT4\n[HKCU\\kept]\n\"v\"=\"x\"\n[-HKCU\\Software]\n"
                             "\"bad\"=dword:xyz\n"),
               Exception);
  TRegistry reg(memory);
  EXPECT_FALSE(reg.KeyExists("\\kept"));
}

TEST(RegText, ContinuedHexDeletionsAndUnicodeFiles) {
  TMemoryRegistry memory;
  ImportRegText(memory,
                "Windows Registry Editor Version 5.00\r\n\r\n"
                "[HKEY_CURRENT_USER\\a\\b]\r\n"
                "\"w\"=hex(2):41,00,42,00,00,00\r\n"
                "\"long\"=hex:01,02,\\\r\n  03\r\n"
                "\"gone\"=\"x\"\r\n"
                "\"gone\"=-\r\n"
                "[-HKEY_CURRENT_USER\\a\\c]\r\n");
  TRegistry reg(memory);
  ASSERT_TRUE(reg.OpenKey("\\a\\b", false));
  EXPECT_EQ(reg.ReadString("w"), "AB");
  std::uint8_t bytes[3];
  std::uint32_t type;
  EXPECT_EQ(reg.GetData("long", bytes, 3, type), 3u);
  EXPECT_EQ(bytes[2], 3);
  EXPECT_FALSE(reg.ValueExists("gone"));
  ImportRegText(memory, "REGEDIT4\n[-HKEY_CURRENT_USER\\a]\n");
  EXPECT_FALSE(reg.KeyExists("\\a"));
}

}  // namespace
}  // namespace orvane
