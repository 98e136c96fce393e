#pragma once
// Registry backends for suites that run against both: the in-memory registry
// everywhere, and the real one (advapi32 in the throwaway Wine prefix) in the Windows
// build. Each test gets an empty scratch key under HKEY_CURRENT_USER, removed after.

#include <gtest/gtest.h>

#include <string>

#include "platform/memory_registry.h"
#include "platform/registry.h"
#include "platform/registry_backend.h"

namespace orvane::testing {

struct MemoryBackend {
  static constexpr const char* kName = "Memory";
  TMemoryRegistry registry;
  IRegistryBackend& Get() { return registry; }
  TMemoryRegistry* Memory() { return &registry; }
};

#ifdef _WIN32
struct Win32Backend {
  static constexpr const char* kName = "Win32";
  IRegistryBackend& Get() { return DefaultRegistryBackend(); }
  TMemoryRegistry* Memory() { return nullptr; }
};
using RegistryBackends = ::testing::Types<MemoryBackend, Win32Backend>;
#else
using RegistryBackends = ::testing::Types<MemoryBackend>;
#endif

struct BackendName {
  template <class T>
  static std::string GetName(int) {
    return T::kName;
  }
};

// Scratch key, relative to HKEY_CURRENT_USER.
inline const std::string kScratch = "Software\\OrvaneTests";

template <class Backend>
class RegistryBackendTest : public ::testing::Test {
protected:
  void SetUp() override { Wipe(); }
  void TearDown() override { Wipe(); }

  IRegistryBackend& Reg() { return backend_.Get(); }
  // The in-memory registry's test switches, or nullptr on the real registry.
  TMemoryRegistry* Memory() { return backend_.Memory(); }
  // Absolute path of `sub` below the scratch key, as TRegistry takes it.
  static std::string Abs(const std::string& sub = "") {
    return "\\" + kScratch + (sub.empty() ? "" : "\\" + sub);
  }
  // Full name of `sub` below the scratch key, as messages and .reg files spell it.
  static std::string Full(const std::string& sub = "") { return "HKEY_CURRENT_USER" + Abs(sub); }

private:
  void Wipe() {
    if (Memory()) Memory()->ClearFailures();
    TRegistry registry(Reg());
    registry.DeleteKey(Abs());
  }

  Backend backend_;
};

}  // namespace orvane::testing
