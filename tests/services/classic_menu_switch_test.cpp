// The full context menu switch on the in-memory registry and, under Wine, on the real one
// in the view the file manager reads: it changes nothing but its own key.

#ifdef _WIN32
#include <windows.h>
#endif

#include "services/classic_menu_switch.h"

#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "platform/registry.h"
#ifdef _WIN32
#include "platform/win32/win32_registry.h"
#endif

namespace orvane::testing {
namespace {

using TState = TClassicMenuSwitch::TState;

const std::string kClass = std::string("HKEY_CURRENT_USER") + TClassicMenuSwitch::kClassKey;
const std::string kServer = std::string("HKEY_CURRENT_USER") + TClassicMenuSwitch::kServerKey;

struct MemoryBackend {
  static constexpr const char* kName = "Memory";
  TMemoryRegistry registry;
  IRegistryBackend& Get() { return registry; }
};

#ifdef _WIN32
struct NativeBackend {
  static constexpr const char* kName = "Win32";
  IRegistryBackend& Get() { return NativeRegistryBackend(); }
};
using Backends = ::testing::Types<MemoryBackend, NativeBackend>;
#else
using Backends = ::testing::Types<MemoryBackend>;
#endif

struct BackendName {
  template <class T>
  static std::string GetName(int) {
    return T::kName;
  }
};

template <class Backend>
class ClassicMenuSwitchTest : public ::testing::Test {
protected:
  void SetUp() override { Wipe(); }
  void TearDown() override { Wipe(); }

  IRegistryBackend& Reg() { return backend_.Get(); }
  // Everything below HKEY_CURRENT_USER\Software\Classes, as the file manager's view has it.
  std::string Classes() { return ExportRegText(Reg(), "HKEY_CURRENT_USER\\Software\\Classes"); }
  std::string Export(const std::string& key) { return ExportRegText(Reg(), key); }

private:
  void Wipe() {
    TRegistry registry(Reg());
    registry.SetRootKey(kHkeyCurrentUser);
    registry.DeleteKey(TClassicMenuSwitch::kClassKey);
  }

  Backend backend_;
};

TYPED_TEST_SUITE(ClassicMenuSwitchTest, Backends, BackendName);

TYPED_TEST(ClassicMenuSwitchTest, OnThenOffLeavesTheClassesAsBefore) {
  ImportRegText(this->Reg(),
                "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Classes\\.orvtest]\n"
                "@=\"orvtestfile\"\n");
  const std::string before = this->Classes();
  TClassicMenuSwitch classic(this->Reg());
  EXPECT_EQ(classic.State(), TState::Off);
  classic.SetOn(true);
  EXPECT_EQ(classic.State(), TState::On);
  EXPECT_EQ(this->Export(kServer), "REGEDIT4\n\n[" + kServer + "]\n@=\"\"\n\n");
  classic.SetOn(false);
  EXPECT_EQ(classic.State(), TState::Off);
  EXPECT_EQ(this->Classes(), before);
  TRegistry(this->Reg()).DeleteKey("\\Software\\Classes\\.orvtest");
}

TYPED_TEST(ClassicMenuSwitchTest, StateIsReadFromTheRegistryBySeparateSwitches) {
  TClassicMenuSwitch(this->Reg()).SetOn(true);
  EXPECT_EQ(TClassicMenuSwitch(this->Reg()).State(), TState::On);
  TClassicMenuSwitch(this->Reg()).SetOn(false);
  EXPECT_EQ(TClassicMenuSwitch(this->Reg()).State(), TState::Off);
  EXPECT_EQ(this->Export(kServer), "");
}

// Another tool wrote the override first: off takes back the key this switch writes, the
// class key and what else the tool put there stay.
TYPED_TEST(ClassicMenuSwitchTest, OffKeepsWhatAnotherToolCreated) {
  ImportRegText(this->Reg(), "REGEDIT4\n\n[" + kClass + "]\n\"Tool\"=\"ShellTweaks\"\n[" + kServer +
                                 "]\n@=\"\"\n");
  TClassicMenuSwitch classic(this->Reg());
  EXPECT_EQ(classic.State(), TState::On);
  classic.SetOn(false);
  EXPECT_EQ(classic.State(), TState::Off);
  EXPECT_EQ(this->Export(kClass), "REGEDIT4\n\n[" + kClass + "]\n\"Tool\"=\"ShellTweaks\"\n\n");

  // An empty class key of another tool stays too.
  ImportRegText(this->Reg(),
                "REGEDIT4\n\n[" + kClass + "]\n\"Tool\"=-\n[" + kServer + "]\n@=\"\"\n");
  TClassicMenuSwitch second(this->Reg());
  second.SetOn(false);
  EXPECT_EQ(this->Export(kClass), "REGEDIT4\n\n[" + kClass + "]\n\n");

  // Its class key, ours the switch's InprocServer32 on top: off takes only that.
  second.SetOn(true);
  second.SetOn(false);
  EXPECT_EQ(this->Export(kClass), "REGEDIT4\n\n[" + kClass + "]\n\n");
}

TYPED_TEST(ClassicMenuSwitchTest, ClassKeyThatGotOtherContentsStays) {
  TClassicMenuSwitch classic(this->Reg());
  classic.SetOn(true);
  ImportRegText(this->Reg(), "REGEDIT4\n\n[" + kClass + "\\Later]\n");
  classic.SetOn(false);
  EXPECT_EQ(this->Export(kClass), "REGEDIT4\n\n[" + kClass + "]\n\n[" + kClass + "\\Later]\n\n");
}

TYPED_TEST(ClassicMenuSwitchTest, ServerRegistrationIsLeftAlone) {
  for (const char* value : {"@=\"C:\\\\Tools\\\\menu.dll\"\n", "@=dword:00000000\n",
                            "\"ThreadingModel\"=\"Apartment\"\n"}) {
    ImportRegText(this->Reg(), "REGEDIT4\n\n[-" + kClass + "]\n[" + kServer + "]\n" + value);
    const std::string before = this->Export(kClass);
    TClassicMenuSwitch classic(this->Reg());
    EXPECT_EQ(classic.State(), TState::Foreign) << value;
    classic.SetOn(true);
    EXPECT_EQ(this->Export(kClass), before) << value;
    classic.SetOn(false);
    EXPECT_EQ(this->Export(kClass), before) << value;
  }
}

#ifdef _WIN32
// On 64-bit Windows the file manager is a 64-bit program; a 32-bit program's own view of
// Software\Classes\CLSID is Wow6432Node, which it never reads.
TEST(ClassicMenuSwitchView, OverrideLandsInTheFileManagersView) {
  BOOL wow64 = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) {
    GTEST_SKIP() << "one registry view only";
  }
  const std::string server = TClassicMenuSwitch::kServerKey + 1;
  auto visibleTo64Bit = [&server] {
    HKEY key = nullptr;
    const LONG rc =
        RegOpenKeyExA(HKEY_CURRENT_USER, server.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key);
    if (rc == ERROR_SUCCESS) RegCloseKey(key);
    return rc == ERROR_SUCCESS;
  };
  TClassicMenuSwitch classic(NativeRegistryBackend());
  classic.SetOn(true);
  EXPECT_TRUE(visibleTo64Bit());
  classic.SetOn(false);
  EXPECT_FALSE(visibleTo64Bit());
}
#endif

TEST(ClassicMenuSwitchFailure, RefusedWriteLeavesNoHalfWrittenKey) {
  TMemoryRegistry registry;
  ImportRegText(registry, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vendor]\n");
  const std::string before = ExportRegText(registry, "HKEY_CURRENT_USER");
  registry.FailOperation(TMemoryRegistry::Op::SetValue, kServer, kErrorAccessDenied);
  TClassicMenuSwitch classic(registry);
  EXPECT_THROW(classic.SetOn(true), ERegistryException);
  EXPECT_EQ(ExportRegText(registry, "HKEY_CURRENT_USER"), before);
  registry.ClearFailures();
  classic.SetOn(true);
  EXPECT_EQ(classic.State(), TState::On);
}

}  // namespace
}  // namespace orvane::testing
