// The icon source and image list of the running Windows (Windows build, under Wine).
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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
  // Room is made only in an empty list: a filled one keeps its images.
  images.Reserve(500);
  EXPECT_EQ(images.Count(), 2);
  images.Clear();
  EXPECT_EQ(images.Count(), 0);
  images.Reserve(500);
  EXPECT_EQ(images.AddIcon(icon.Get()), 0);
  EXPECT_EQ(images.Count(), 1);
}

// The pixels of image `index` drawn over grey.
std::vector<DWORD> Drawn(HIMAGELIST list, int index, UINT style) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 16;
  info.bmiHeader.biHeight = 16;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  std::memset(bits, 0x7F, 16 * 16 * 4);
  ImageList_Draw(list, index, dc, 0, 0, style);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 16 * 16);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return pixels;
}

// An icon shows in the list as comctl32's own ImageList_AddIcon shows it, and an icon of
// another size still takes exactly one image.
TEST(Win32Icons, ImageListShowsEachIconAsOneImageAsComctlDoes) {
  TWin32ImageList images;
  TImageListHandle reference(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 1));
  for (int index : {0, 3, 4, 15}) {
    TIcon icon = ExtractIconOrRaise("shell32.dll", index, true, DefaultIconSource());
    const int at = images.AddIcon(icon.Get());
    ASSERT_GE(at, 0);
    const int expected = ImageList_AddIcon(reference.get(), reinterpret_cast<HICON>(icon.Get()));
    // A copy, the first from the list and the second from what the first kept, shows the same.
    const int copy = images.AddCopy(at);
    ASSERT_EQ(images.AddCopy(at), copy + 1);
    for (int shown : {at, copy, copy + 1})
      for (UINT style : {ILD_NORMAL, ILD_TRANSPARENT, ILD_SELECTED})
        EXPECT_EQ(Drawn(images.Handle(), shown, style), Drawn(reference.get(), expected, style))
            << "shell32.dll," << index << " image " << shown << " style " << style;
  }
  EXPECT_EQ(images.AddCopy(images.Count()), -1);
  TIcon large = ExtractIconOrRaise("shell32.dll", 3, false, DefaultIconSource());
  const int before = images.Count();
  EXPECT_EQ(images.AddIcon(large.Get()), before);
  EXPECT_EQ(images.Count(), before + 1);
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

}  // namespace
}  // namespace orvane

#endif
