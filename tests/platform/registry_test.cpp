// The registry object and its raising operations, run against every backend with the
// same expectations.

#include "platform/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/exception.h"
#include "platform/reg_text.h"
#include "tests/support/registry_backends.h"

namespace orvane {
namespace {

using testing::RegistryBackends;

template <class Backend>
class RegistryTest : public testing::RegistryBackendTest<Backend> {
protected:
  using Base = testing::RegistryBackendTest<Backend>;
  using Base::Abs;
  using Base::Full;
  using Base::Reg;

  // Builds the scratch tree from .reg lines below it.
  void Given(const std::string& body) { ImportRegText(Reg(), "REGEDIT4\n\n" + body); }

  std::vector<std::uint8_t> Raw(TRegistry& reg, const std::string& name, std::uint32_t& type) {
    TRegDataInfo info;
    EXPECT_TRUE(reg.GetDataInfo(name, info)) << name;
    std::vector<std::uint8_t> bytes(info.DataSize);
    EXPECT_EQ(reg.GetData(name, bytes.data(), info.DataSize, type), info.DataSize);
    return bytes;
  }

  static std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  }
};

TYPED_TEST_SUITE(RegistryTest, RegistryBackends, testing::BackendName);

TYPED_TEST(RegistryTest, AbsoluteAndRelativePathsBuildCurrentPath) {
  this->Given("[" + this->Full("txtfile\\shell\\open") + "]\n");
  TRegistry reg(this->Reg());
  ASSERT_TRUE(reg.OpenKey(this->Abs("txtfile"), false));
  EXPECT_EQ(reg.CurrentPath(), testing::kScratch + "\\txtfile");

  // Relative to the open key, several levels at once.
  ASSERT_TRUE(reg.OpenKey("shell\\open", false));
  EXPECT_EQ(reg.CurrentPath(), testing::kScratch + "\\txtfile\\shell\\open");

  // Absolute again: resolved below the root, not below the open key.
  ASSERT_TRUE(reg.OpenKey(this->Abs(), false));
  EXPECT_EQ(reg.CurrentPath(), testing::kScratch);
  EXPECT_EQ(TRegistryEx::CurrentKeyName(reg), this->Full());
}

TYPED_TEST(RegistryTest, FailedOpenKeepsTheCurrentKey) {
  this->Given("[" + this->Full("a") + "]\n\"v\"=\"1\"\n");
  TRegistry reg(this->Reg());
  ASSERT_TRUE(reg.OpenKey(this->Abs("a"), false));
  HKey before = reg.CurrentKey();
  EXPECT_FALSE(reg.OpenKey("missing", false));
  EXPECT_FALSE(reg.OpenKeyReadOnly(this->Abs("missing")));
  EXPECT_EQ(reg.CurrentKey(), before);
  EXPECT_EQ(reg.CurrentPath(), testing::kScratch + "\\a");
  EXPECT_EQ(reg.ReadString("v"), "1");  // the handle still works
}

TYPED_TEST(RegistryTest, DoubledAndTrailingSeparatorsReachTheSameKey) {
  this->Given("[" + this->Full("a\\b") + "]\n\"v\"=\"deep\"\n");
  TRegistry reg(this->Reg());
  ASSERT_TRUE(reg.OpenKey(this->Abs("a\\\\b"), false));
  EXPECT_EQ(reg.ReadString("v"), "deep");
  ASSERT_TRUE(reg.OpenKeyReadOnly(this->Abs("a\\b\\")));
  EXPECT_EQ(reg.ReadString("v"), "deep");
  // A second leading separator is not a path the registry accepts.
  EXPECT_FALSE(reg.OpenKey("\\" + this->Abs("a"), false));
  EXPECT_FALSE(reg.KeyExists("\\" + this->Abs("a")));
}

TYPED_TEST(RegistryTest, OpenKeyCreatesOnlyWhenAsked) {
  TRegistry reg(this->Reg());
  EXPECT_FALSE(reg.OpenKey(this->Abs("new\\deeper"), false));
  EXPECT_FALSE(reg.KeyExists(this->Abs("new")));
  ASSERT_TRUE(reg.OpenKey(this->Abs("new\\deeper"), true));
  EXPECT_TRUE(reg.KeyExists(this->Abs("new\\deeper")));
  // KeyExists leaves the open key alone.
  EXPECT_EQ(reg.CurrentPath(), testing::kScratch + "\\new\\deeper");
  reg.CloseKey();
  EXPECT_EQ(reg.CurrentKey(), 0u);
  EXPECT_EQ(reg.CurrentPath(), "");
}

TYPED_TEST(RegistryTest, NamesIgnoreCase) {
  this->Given("[" + this->Full("TxtFile") + "]\n\"Content Type\"=\"text/plain\"\n");
  TRegistry reg(this->Reg());
  ASSERT_TRUE(reg.OpenKeyReadOnly(this->Abs("TXTFILE")));
  EXPECT_EQ(reg.ReadString("content type"), "text/plain");
  EXPECT_TRUE(reg.ValueExists("CONTENT TYPE"));
}

TYPED_TEST(RegistryTest, ReadStringRules) {
  this->Given("[" + this->Full("v") +
              "]\n"
              "@=\"default\"\n"
              "\"expand\"=hex(2):25,54,45,4d,50,25,00\n"
              "\"unterminated\"=hex(1):61,62,63\n"
              "\"embedded\"=hex(1):61,00,62,00\n"
              "\"empty bin\"=hex:\n"
              "\"dword\"=dword:00000001\n");
  TRegistry reg(this->Reg());
  ASSERT_TRUE(reg.OpenKey(this->Abs("v"), false));
  EXPECT_EQ(reg.ReadString(""), "default");
  EXPECT_EQ(reg.ReadString("expand"), "%TEMP%");  // never expanded
  EXPECT_EQ(reg.ReadString("unterminated"), "abc");
  EXPECT_EQ(reg.ReadString("embedded"), "a");
  EXPECT_EQ(reg.ReadString("missing"), "");
  EXPECT_EQ(reg.ReadString("empty bin"), "");  // no data: no type check
  try {
    reg.ReadString("dword");
    FAIL() << "a DWORD read as a string must raise";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'dword'");
  }
  // Read in one question when it fits a first buffer, in two when it does not: the
  // lengths around that buffer's size come back whole.
  for (size_t length : {255u, 256u, 257u, 5000u}) {
    const std::string text(length, 'L');
    reg.WriteString("long", text);
    EXPECT_EQ(reg.ReadString("long"), text) << length;
  }
  reg.WriteString("written", "x");
  std::uint32_t type = 0;
  EXPECT_EQ(this->Raw(reg, "written", type), (std::vector<std::uint8_t>{'x', 0}));
  EXPECT_EQ(type, kRegSz);
}

TYPED_TEST(RegistryTest, GetAndPutDataRaiseOnFailure) {
  TRegistry reg(this->Reg());
  ASSERT_TRUE(reg.OpenKey(this->Abs("d"), true));
  std::uint8_t buffer[4];
  std::uint32_t type;
  EXPECT_THROW(reg.GetData("missing", buffer, sizeof buffer, type), ERegistryException);
  reg.PutData("four", "\x01\x02\x03\x04", 4, kRegBinary);
  // A buffer too small fails rather than truncating.
  try {
    reg.GetData("four", buffer, 2, type);
    FAIL();
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to get data for 'four'");
  }
  TRegistry readOnly(kKeyRead, this->Reg());
  ASSERT_TRUE(readOnly.OpenKey(this->Abs("d"), false));
  try {
    readOnly.PutData("x", "1", 1, kRegBinary);
    FAIL();
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'x'");
  }
}

TYPED_TEST(RegistryTest, KeyAndValueListings) {
  this->Given("[" + this->Full("k\\one") + "]\n[" + this->Full("k\\two") + "]\n[" +
              this->Full("k") + "]\n\"a\"=\"1\"\n\"bb\"=hex:01,02,03\n");
  TRegistry reg(this->Reg());
  ASSERT_TRUE(reg.OpenKey(this->Abs("k"), false));
  std::vector<std::string> names{"stale"};
  reg.GetKeyNames(names);
  EXPECT_EQ(this->Sorted(names), (std::vector<std::string>{"one", "two"}));
  reg.GetValueNames(names);
  EXPECT_EQ(this->Sorted(names), (std::vector<std::string>{"a", "bb"}));
  TRegKeyInfo info;
  ASSERT_TRUE(reg.GetKeyInfo(info));
  EXPECT_EQ(info.NumSubKeys, 2u);
  EXPECT_EQ(info.NumValues, 2u);
  EXPECT_GE(info.MaxSubKeyLen, 3u);
  EXPECT_GE(info.MaxValueLen, 2u);
  EXPECT_GE(info.MaxDataLen, 3u);
  EXPECT_NE(info.FileTime, 0u);
  EXPECT_TRUE(reg.HasSubKeys());
  ASSERT_TRUE(reg.OpenKey("one", false));
  EXPECT_FALSE(reg.HasSubKeys());
}

TYPED_TEST(RegistryTest, DeleteKeyRemovesTheWholeSubtree) {
  this->Given("[" + this->Full("t\\a\\b\\c") + "]\n\"v\"=\"1\"\n[" + this->Full("t\\d") + "]\n[" +
              this->Full("keep") + "]\n");
  TRegistry reg(this->Reg());
  ASSERT_TRUE(reg.OpenKey(this->Abs("keep"), false));
  TRegistryEx::DeleteKeyOrRaise(reg, this->Abs("t"));
  EXPECT_FALSE(reg.KeyExists(this->Abs("t")));
  EXPECT_TRUE(reg.KeyExists(this->Abs("keep")));
  EXPECT_EQ(reg.CurrentPath(), testing::kScratch + "\\keep");
  // A key that is not there is no failure.
  EXPECT_NO_THROW(TRegistryEx::DeleteKeyOrRaise(reg, this->Abs("t")));
  EXPECT_FALSE(reg.DeleteKey(this->Abs("t")));
}

TYPED_TEST(RegistryTest, DeleteKeyRelativeToTheOpenKey) {
  this->Given("[" + this->Full("p\\child\\grandchild") + "]\n");
  TRegistry reg(this->Reg());
  ASSERT_TRUE(reg.OpenKey(this->Abs("p"), false));
  EXPECT_TRUE(reg.DeleteKey("child"));
  EXPECT_FALSE(reg.HasSubKeys());
}

TYPED_TEST(RegistryTest, CopyKeyReplacesRatherThanMerges) {
  this->Given("[" + this->Full("src\\sub") +
              "]\n\"s\"=\"new\"\n"
              "[" +
              this->Full("dst\\old") +
              "]\n"
              "[" +
              this->Full("dst") + "]\n\"only old\"=\"x\"\n\"s\"=\"old\"\n");
  TRegistry from(this->Reg()), to(this->Reg());
  TRegistryEx::CopyKey(from, this->Abs("src"), to, this->Abs("dst"));
  TRegistry check(this->Reg());
  EXPECT_FALSE(check.KeyExists(this->Abs("dst\\old")));
  ASSERT_TRUE(check.OpenKey(this->Abs("dst"), false));
  EXPECT_FALSE(check.ValueExists("only old"));
  ASSERT_TRUE(check.OpenKey("sub", false));
  EXPECT_EQ(check.ReadString("s"), "new");
}

TYPED_TEST(RegistryTest, CopyKeyCopiesEveryValueByteForByte) {
  this->Given("[" + this->Full("src") +
              "]\n"
              "@=\"text\"\n"
              "\"bin\"=hex:00,ff,10,00\n"
              "\"dword\"=dword:deadbeef\n"
              "\"empty\"=hex:\n"
              "\"multi\"=hex(7):61,00,62,00,00\n"
              "[" +
              this->Full("src\\a\\b") + "]\n\"deep\"=dword:00000007\n");
  TRegistry from(this->Reg()), to(this->Reg());
  // Relative paths are taken below the root, as absolute ones.
  TRegistryEx::CopyKey(from, testing::kScratch + "\\src", to, testing::kScratch + "\\copy");
  TRegistry a(this->Reg()), b(this->Reg());
  ASSERT_TRUE(a.OpenKey(this->Abs("src"), false));
  ASSERT_TRUE(b.OpenKey(this->Abs("copy"), false));
  for (const char* name : {"", "bin", "dword", "empty", "multi"}) {
    std::uint32_t typeA = 0, typeB = 0;
    EXPECT_EQ(this->Raw(a, name, typeA), this->Raw(b, name, typeB)) << name;
    EXPECT_EQ(typeA, typeB) << name;
  }
  std::uint32_t type = 0;
  EXPECT_TRUE(this->Raw(b, "empty", type).empty());
  EXPECT_EQ(type, kRegBinary);
  ASSERT_TRUE(b.OpenKey("a\\b", false));
  EXPECT_EQ(this->Raw(b, "deep", type), (std::vector<std::uint8_t>{7, 0, 0, 0}));
  EXPECT_EQ(type, kRegDword);
}

TYPED_TEST(RegistryTest, CopyKeyOfAMissingSourceRaisesAndLeavesTheDestination) {
  this->Given("[" + this->Full("dst") + "]\n\"v\"=\"kept\"\n");
  TRegistry from(this->Reg()), to(this->Reg());
  EXPECT_THROW(TRegistryEx::CopyKey(from, this->Abs("nothing"), to, this->Abs("dst")), Exception);
  ASSERT_TRUE(to.OpenKey(this->Abs("dst"), false));
  EXPECT_EQ(to.ReadString("v"), "kept");
}

TYPED_TEST(RegistryTest, RaisingOperationsNameTheOperationKeyAndReason) {
  TRegistry reg(this->Reg());
  ASSERT_TRUE(reg.OpenKey(this->Abs(), true));
  const std::string reason = this->Reg().ErrorMessage(kErrorFileNotFound);
  try {
    TRegistryEx::OpenKeyOrRaise(reg, "missing", false);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Registry operation error (details: opening " + this->Full("missing") +
                               "; reason: " + reason + ")");
  }
  try {
    TRegistryEx::OpenKeyReadOnlyOrRaise(reg, this->Abs("gone"));
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Registry operation error (details: opening read-only " +
                               this->Full("gone") + "; reason: " + reason + ")");
  }
  // The system's texts are embedded without their closing period or line break.
  EXPECT_FALSE(reason.empty());
  EXPECT_NE(reason.back(), '.');
  EXPECT_NE(reason.back(), '\n');
}

TYPED_TEST(RegistryTest, RegTextRoundTrip) {
  const std::string text =
      "REGEDIT4\n\n"
      "[" +
      this->Full("rt") +
      "]\n"
      "@=\"quote \\\" and \\\\ backslash\"\n"
      "\"bin\"=hex:01,02\n"
      "\"n\"=dword:0000002a\n"
      "\n"
      "[" +
      this->Full("rt\\child") +
      "]\n"
      "\"x\"=hex(2):25,00\n"
      "\n";
  ImportRegText(this->Reg(), text);
  EXPECT_EQ(ExportRegText(this->Reg(), this->Full("rt")), text);
}

TEST(RegistryNames, RootAndFullKeyNames) {
  TMemoryRegistry memory;
  TRegistry reg(memory);
  reg.SetRootKey(kHkeyClassesRoot);
  EXPECT_EQ(TRegistryEx::RootKeyName(kHkeyClassesRoot), "HKEY_CLASSES_ROOT");
  EXPECT_EQ(TRegistryEx::RootKeyName(kHkeyDynData), "HKEY_DYN_DATA");
  EXPECT_EQ(TRegistryEx::RootKeyName(0x123), "00000123");
  EXPECT_EQ(TRegistryEx::FullKeyName(reg, "\\.txt"), "HKEY_CLASSES_ROOT\\.txt");
  EXPECT_EQ(TRegistryEx::FullKeyName(reg, ".txt"), "HKEY_CLASSES_ROOT\\.txt");
  EXPECT_EQ(TRegistryEx::FullKeyName(reg, ""), "HKEY_CLASSES_ROOT");
  ASSERT_TRUE(reg.OpenKey("txtfile", true));
  EXPECT_EQ(TRegistryEx::FullKeyName(reg, "shell"), "HKEY_CLASSES_ROOT\\txtfile\\shell");
  EXPECT_EQ(TRegistryEx::FullKeyName(reg, "\\.txt"), "HKEY_CLASSES_ROOT\\.txt");
}

TEST(RegistryNames, RelativeOpenBelowTheOpenedRootHasNoDoubledSeparator) {
  TMemoryRegistry memory;
  ImportRegText(memory, "REGEDIT4\n[HKEY_CLASSES_ROOT\\txtfile]\n");
  TRegistry reg(memory);
  reg.SetRootKey(kHkeyClassesRoot);
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\"));
  EXPECT_EQ(reg.CurrentPath(), "");
  ASSERT_TRUE(reg.OpenKeyReadOnly("txtfile"));
  EXPECT_EQ(reg.CurrentPath(), "txtfile");
  EXPECT_EQ(TRegistryEx::CurrentKeyName(reg), "HKEY_CLASSES_ROOT\\txtfile");
}

}  // namespace
}  // namespace orvane
