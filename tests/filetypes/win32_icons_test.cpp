// The icon source and image list of the running Windows (Windows build, under Wine).
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "filetypes/file_type_icons.h"
#include "platform/win32/image_list.h"

namespace orvane {
namespace {

TEST(Win32Icons, ExtractsBothSizesFromShell32) {
  IIconSource& source = DefaultIconSource();
  int w = 0;
  int h = 0;
  TIcon small = ExtractIconOrRaise("shell32.dll", 0, true, source);
  ASSERT_TRUE(source.IconSize(small.Get(), w, h));
  EXPECT_EQ(w, GetSystemMetrics(SM_CXSMICON));
  TIcon large = ExtractIconOrRaise("shell32.dll", 0, false, source);
  ASSERT_TRUE(source.IconSize(large.Get(), w, h));
  EXPECT_EQ(w, GetSystemMetrics(SM_CXICON));
  EXPECT_THROW(ExtractIconOrRaise("C:\\no\\such\\file.dll", 0, true, source), EIconError);
  std::string found;
  EXPECT_TRUE(source.FindFile("", "shell32.dll", found));
  EXPECT_FALSE(source.FindFile("C:\\no\\such\\", "file.dll", found));
}

TEST(Win32Icons, ImageListKeepsItsImagesWhenMadeThirtyTwoBit) {
  TWin32ImageList images;
  TIcon icon = ExtractIconOrRaise("shell32.dll", 3, true, DefaultIconSource());
  EXPECT_EQ(images.AddIcon(icon.Get()), 0);
  EXPECT_TRUE(AddBlankImage(images));
  MakeImageList32(images);
  EXPECT_EQ(images.Count(), 2);
  images.Clear();
  EXPECT_EQ(images.Count(), 0);
}

TEST(Win32Icons, DocumentIconLeavesNoTemporaryFile) {
  IIconSource& source = DefaultIconSource();
  const std::string document = source.MakeTempDocument(".ovtest");
  ASSERT_FALSE(document.empty());
  EXPECT_NE(GetFileAttributesA(document.c_str()), INVALID_FILE_ATTRIBUTES);
  source.DeleteDocument(document);
  TIcon icon;
  IconFromDocument(".ovtest", icon, 16, 16, source);
  EXPECT_EQ(GetFileAttributesA(document.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A text that expands beyond 260 characters stays as it is rather than becoming the
// contents of a buffer the system did not write.
TEST(Win32Icons, OverlongExpansionKeepsTheText) {
  SetEnvironmentVariableA("ORVANE_LONG", std::string(300, 'x').c_str());
  IIconSource& source = DefaultIconSource();
  EXPECT_EQ(source.ExpandEnvironment("%ORVANE_LONG%\\a.dll"), "%ORVANE_LONG%\\a.dll");
  SetEnvironmentVariableA("ORVANE_SHORT", "C:\\short");
  EXPECT_EQ(source.ExpandEnvironment("%ORVANE_SHORT%\\a.dll"), "C:\\short\\a.dll");
}

}  // namespace
}  // namespace orvane

#endif
