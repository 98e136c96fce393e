#pragma once
// Icon files made up by tests: each holds a number of real icons of distinct colours,
// and some of them can be made to fail; PNG files live in memory. A dynamic menu over
// them holds the item whose icon is chosen.

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "app/icon_pictures.h"
#include "app/select_icon_dialog.h"
#include "filetypes/file_types.h"
#include "menus/dynamic_menu.h"
#include "platform/icon_source.h"
#include "tests/app/app_fixture.h"
#include "tests/storage/memory_files.h"

namespace orvane::testing {

class TIconFiles : public IIconSource {
public:
  struct TFile {
    int Count = 0;
    std::set<int> Failing;
  };
  std::map<std::string, TFile> Files;
  int Extracted = 0;

  int ExtractIcons(const std::string& file, int index, TIcon& large, TIcon& small) override {
    auto it = Files.find(file);
    if (it == Files.end()) return 0;
    if (index == -1) return it->second.Count;
    if (index < 0 || index >= it->second.Count || it->second.Failing.count(index)) return 0;
    ++Extracted;
    large = TIcon(*this, Make(32, index));
    small = TIcon(*this, Make(16, index));
    return 2;
  }
  bool IconSize(IconHandle, int& width, int& height) override {
    width = height = 16;
    return true;
  }
  void DestroyIcon(IconHandle icon) override { ::DestroyIcon(reinterpret_cast<HICON>(icon)); }
  bool IsNT() override { return true; }
  std::string ExpandEnvironment(const std::string& text) override { return text; }
  bool FindFile(const std::string& path, const std::string& fileName, std::string& found) override {
    found = path + fileName;
    return Files.count(found) > 0 || Existing.count(found) > 0;
  }
  int SmallSizeMetric() override { return 16; }
  int IconMetric() override { return 32; }
  std::string MakeTempDocument(const std::string&) override { return ""; }
  void DeleteDocument(const std::string&) override {}
  TIcon AssociatedIcon(std::string&, std::uint16_t&) override { return {}; }
  bool HasPrivateExtractIcons() override { return false; }
  TIcon PrivateExtractIcon(const std::string&, int, int, int, int& count) override {
    count = 0;
    return {};
  }
  TIcon FileInfoIcon(const std::string&) override { return {}; }

  // Files found that are no icon files of this source (the PNG files).
  std::set<std::string> Existing;

  // The colour of picture n, in COLORREF order.
  static COLORREF ColourOf(int n) { return RGB(40 + 7 * n, 200 - 5 * n, 100 + 3 * n); }

private:
  static IconHandle Make(int side, int n) {
    const COLORREF colour = ColourOf(n);
    std::vector<std::uint8_t> rgba;
    for (int i = 0; i < side * side; ++i)
      rgba.insert(rgba.end(), {GetRValue(colour), GetGValue(colour), GetBValue(colour), 255});
    return reinterpret_cast<IconHandle>(IconFromPixels(rgba, side).release());
  }
};

// The colour at the middle of an icon drawn on white.
inline COLORREF MiddleColour(HICON icon, int side) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, side, side);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, side, side};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawIconEx(dc, 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
  COLORREF colour = GetPixel(dc, side / 2, side / 2);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return colour;
}

class IconChoiceTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    TFileType* type = types.Add();
    type->SetName("txtfile");
    type->SetDescription("Text Document");
    menu = std::make_unique<TDynamicMenu>(&types, TItemImageSources{icons, files});
    item = static_cast<TDynamicMenuItem*>(
        menu->List().AddFirstItem(menu->List().FindOrAddCategory(types.Items(0))->Items()));
    item->SetCaption("Edit");
    icons.Files["C:\\icons\\shell32.dll"] = {40, {}};
  }
  void TearDown() override {
    menu.reset();
    MainWindowTest::TearDown();
  }

  TSelectIconSources Sources() { return {icons, files, "C:\\icons\\shell32.dll"}; }

  TIconFiles icons;
  TMemoryFiles files;
  TFileTypes types;
  std::unique_ptr<TDynamicMenu> menu;
  TDynamicMenuItem* item = nullptr;
};

}  // namespace orvane::testing
