// The scan and the icons on the system's own HKEY_CLASSES_ROOT (Windows build, run in
// the throwaway Wine prefix).
#ifdef _WIN32

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "filetypes/file_type_list.h"
#include "filetypes/predefined_types.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#include "platform/win32/image_list.h"

namespace orvane {
namespace {

void UseRunningSystem() {
  SetShellVersion(GetDllVersion("shell32.dll"));
  TOSVersionData os = ReadOSVersionData();
  SetPlatformClass(PlatformClassOf(os.PlatformId, os.MajorVersion, os.MinorVersion));
  BuildPredefinedTable();
}

TEST(SystemRegistry, ScansTheSystemsClassesAndLoadsOneIconPerType) {
  UseRunningSystem();
  TFileTypeList list(DefaultRegistryBackend(), DefaultIconSource());
  TWin32ImageList images;
  list.SetImages(&images);
  list.SetActive(true);
  TFileTypes& types = list.Items();

  const TPredefinedTable& table = PredefinedTable();
  ASSERT_GT(table.Count(), 0);
  for (int i = 0; i < table.Count(); ++i) {
    EXPECT_TRUE(types.Items(i)->Predefined());
    EXPECT_EQ(types.Items(i)->Name(), table.Names[i]);
  }
  EXPECT_GT(types.Count(), table.Count());
  EXPECT_EQ(images.Count(), types.Count());
  int extensions = 0;
  for (int i = 0; i < types.Count(); ++i) {
    extensions += types.Items(i)->ExtensionCount();
    EXPECT_TRUE(types.Items(i)->Predefined() || types.Items(i)->ExtensionCount() > 0);
  }
  std::cout << "system registry: " << types.Count() << " types (" << table.Count()
            << " predefined), " << extensions << " extensions, " << list.Bugs().Count() << " bugs, "
            << images.Count() << " images; shell version 0x" << std::hex << ShellVersion()
            << std::dec << "\n";
  for (int i = 0; i < list.Bugs().Count(); ++i) std::cout << "  " << list.Bugs().Strings(i) << "\n";
}

// Wine registers txtfile without pointing ".txt" to it; the prefix is a throwaway one,
// so the test adds the link when it is missing and takes it away again.
TEST(SystemRegistry, FindsTextFilesWithTheirExtension) {
  UseRunningSystem();
  TRegistry registry(DefaultRegistryBackend());
  registry.SetRootKey(kHkeyClassesRoot);
  const bool added = !registry.KeyExists("\\.txt");
  if (added) {
    ASSERT_TRUE(registry.OpenKey("\\.txt", true));
    registry.WriteString("", "txtfile");
    registry.CloseKey();
  }
  TFileTypeList list(DefaultRegistryBackend(), DefaultIconSource());
  TWin32ImageList images;
  list.SetImages(&images);
  list.SetActive(true);
  if (added) registry.DeleteKey("\\.txt");
  TFileType* text = list.Items().FindByName("txtfile");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Description(), "Text Document");
  EXPECT_NE(std::find(text->Extensions().begin(), text->Extensions().end(), ".txt"),
            text->Extensions().end());
  EXPECT_EQ(images.Count(), list.Items().Count());
}

}  // namespace
}  // namespace orvane

#endif
