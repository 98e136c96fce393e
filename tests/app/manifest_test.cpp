// The program's manifest, taken from the built program's resources and read by the
// system's own manifest parser: a misspelt name space or element would be ignored silently
// by Windows, and the program would run as a legacy one.

#include <gtest/gtest.h>

#include <vector>

#include "app_fixture.h"
#include "platform/win32/win32_handles.h"

namespace orvane::testing {
namespace {

TEST(ProgramManifest, DeclaresItsRunLevelAndEveryWindowsItIsWrittenFor) {
  const std::string program = WindowsPath(ORVANE_EXE);
  {
    TModuleHandle module(LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module) << GetLastError();
    HRSRC resource = FindResourceA(module.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(resource, nullptr) << "no manifest resource 1";
    const char* data = static_cast<const char*>(LockResource(LoadResource(module.get(), resource)));
    const std::string text(data, SizeofResource(module.get(), resource));
    EXPECT_NE(text.find("<requestedExecutionLevel level=\"highestAvailable\" uiAccess=\"false\"/>"),
              std::string::npos);
  }

  ACTCTXA request{};
  request.cbSize = sizeof request;
  // As for the 32-bit program itself, whatever this process is.
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_PROCESSOR_ARCHITECTURE_VALID;
  request.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
  request.lpSource = program.c_str();
  request.lpResourceName = MAKEINTRESOURCEA(1);
  TActCtxHandle context(CreateActCtxA(&request));
  const DWORD error = GetLastError();
  ASSERT_NE(context.get(), INVALID_HANDLE_VALUE) << error;

  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
  SIZE_T size = 0;
  ASSERT_TRUE(QueryActCtxW(0, context.get(), nullptr, RunlevelInformationInActivationContext,
                           &level, sizeof level, &size));
  EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_HIGHEST_AVAILABLE);
  EXPECT_EQ(level.UiAccess, 0u);

  // The element layout differs between Windows versions; the identifiers are what counts.
  std::vector<unsigned char> compatibility(4096);
  ASSERT_TRUE(QueryActCtxW(0, context.get(), nullptr, CompatibilityInformationInActivationContext,
                           compatibility.data(), compatibility.size(), &size));
  EXPECT_EQ(*reinterpret_cast<const DWORD*>(compatibility.data()), 5u);
  const GUID systems[] = {
      {0xe2011457, 0x1546, 0x43c5, {0xa5, 0xfe, 0x00, 0x8d, 0xee, 0xe3, 0xd3, 0xf0}},  // Vista
      {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},  // 7
      {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},  // 8
      {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},  // 8.1
      {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},  // 10, 11
  };
  const auto begin = compatibility.begin();
  const auto end =
      begin + static_cast<std::ptrdiff_t>(std::min<SIZE_T>(size, compatibility.size()));
  for (const GUID& id : systems) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&id);
    EXPECT_NE(std::search(begin, end, bytes, bytes + sizeof id), end) << std::hex << id.Data1;
  }
}

}  // namespace
}  // namespace orvane::testing
