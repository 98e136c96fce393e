// Measuring context menu handlers under Wine: the project's own module, one that takes
// its time, one that crashes and one that hangs, each in a helper process of its own.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "maintenance/handler_timing.h"
#include "platform/win32/process_runner.h"

namespace orvane::testing {
namespace {

constexpr const char* kModuleClass = "{5D1E7A42-3C9B-4F08-A6D2-9B71E0C4F315}";
constexpr const char* kSleeper = "{0F1E5A10-7B1C-4C3E-9D2A-5E6F70810001}";
constexpr const char* kCrasher = "{0F1E5A10-7B1C-4C3E-9D2A-5E6F70810002}";
constexpr const char* kHanger = "{0F1E5A10-7B1C-4C3E-9D2A-5E6F70810003}";
#ifdef _WIN64
constexpr bool kIs64Bit = true;
#else
constexpr bool kIs64Bit = false;
#endif

std::string WindowsPath(std::string unixPath) {
  for (char& c : unixPath)
    if (c == '/') c = '\\';
  return "Z:" + unixPath;
}

HRESULT CallModule(const std::string& path, const char* entry) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module) return E_FAIL;
  auto function = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(module, entry)));
  const HRESULT result = function ? function() : E_NOTIMPL;
  FreeLibrary(module);
  return result;
}

class HandlerTimingTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(CallModule(WindowsPath(ORVANE_MODULE), "DllRegisterServer"), S_OK);
    for (const char* classId : {kSleeper, kCrasher, kHanger}) {
      const std::string key = std::string("CLSID\\") + classId + "\\InProcServer32";
      const std::string dll = WindowsPath(ORVANE_TEST_HANDLERS);
      RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, dll.c_str(), static_cast<DWORD>(dll.size()));
      HKEY server = nullptr;
      if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_SET_VALUE, &server) == ERROR_SUCCESS) {
        RegSetValueExA(server, "ThreadingModel", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>("Apartment"), 10);
        RegCloseKey(server);
      }
    }
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    sample = std::string(temp) + "orvane-probe-sample.txt";
    HANDLE file = CreateFileA(sample.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
  }
  static void TearDownTestSuite() {
    CallModule(WindowsPath(ORVANE_MODULE), "DllUnregisterServer");
    for (const char* classId : {kSleeper, kCrasher, kHanger}) {
      const std::string key = std::string("CLSID\\") + classId;
      RegDeleteKeyA(HKEY_CLASSES_ROOT, (key + "\\InProcServer32").c_str());
      RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
    }
    DeleteFileA(sample.c_str());
  }

  static THandlerProbes Probes(std::uint32_t timeoutMs) {
    const std::string probe = WindowsPath(ORVANE_PROBE);
    return kIs64Bit ? THandlerProbes{"", probe, timeoutMs} : THandlerProbes{probe, "", timeoutMs};
  }

  static inline std::string sample;
  TWin32ProcessRunner runner;
};

TEST_F(HandlerTimingTest, TheSlowHandlerMeasuresSlowerThanTheModuleAndTheCrashIsReported) {
  const std::vector<THandlerToMeasure> entries = {{kModuleClass, kIs64Bit, sample},
                                                  {kCrasher, kIs64Bit, sample},
                                                  {kSleeper, kIs64Bit, sample}};
  std::size_t heard = 0;
  const std::vector<THandlerTiming> timings =
      MeasureHandlers(entries, runner, Probes(60000), [&](std::size_t done, std::size_t) {
        heard = done;
        return true;
      });
  ASSERT_EQ(timings.size(), 3u);
  EXPECT_EQ(heard, 3u);
  const THandlerTiming& module = timings[0];
  const THandlerTiming& crasher = timings[1];
  const THandlerTiming& sleeper = timings[2];
  ASSERT_EQ(module.State, TTimingState::Measured) << module.Detail;
  ASSERT_EQ(sleeper.State, TTimingState::Measured) << sleeper.Detail;
  EXPECT_TRUE(module.CreateMs && module.InitializeMs);
  EXPECT_GE(*sleeper.QueryMs, 390.0);  // it sleeps 400 ms in QueryContextMenu
  EXPECT_LT(*module.QueryMs, *sleeper.QueryMs);
  EXPECT_EQ(SlowestFirst(timings), (std::vector<std::size_t>{1, 2, 0}));

  EXPECT_EQ(crasher.State, TTimingState::Crashed);
  EXPECT_EQ(crasher.Detail, "0xC0000005");
  EXPECT_TRUE(crasher.CreateMs);  // it got as far as its menu
  EXPECT_FALSE(crasher.QueryMs);
}

TEST_F(HandlerTimingTest, AHangingHandlerIsKilledAtTheLimitAndTheNextOneIsMeasured) {
  const DWORD start = GetTickCount();
  const THandlerTiming hang = MeasureHandler({kHanger, kIs64Bit, sample}, runner, Probes(4000));
  EXPECT_EQ(hang.State, TTimingState::TimedOut);
  EXPECT_LT(GetTickCount() - start, 30000u);
  const THandlerTiming next = MeasureHandler({kModuleClass, kIs64Bit, sample}, runner, Probes(60000));
  EXPECT_EQ(next.State, TTimingState::Measured) << next.Detail;
}

TEST_F(HandlerTimingTest, AnUnknownClassIsAFailureNotACrash) {
  const THandlerTiming timing = MeasureHandler(
      {"{0F1E5A10-7B1C-4C3E-9D2A-5E6F708100FF}", kIs64Bit, sample}, runner, Probes(60000));
  EXPECT_EQ(timing.State, TTimingState::Failed);
  EXPECT_EQ(timing.Detail.rfind("create failed", 0), 0u) << timing.Detail;
}

}  // namespace
}  // namespace orvane::testing
