// The module's own drawing of a 1,000-entry menu: QueryContextMenu and the measuring of
// every item, drawn by the module against the same menu drawn by the system (measured
// as the system does, by the text of each caption in the menu font). Two copies of the
// module in folders of their own, one menu file each, created through their class
// factories.

#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/bench_timing.h"
#include "module_bench.h"

namespace orvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

const CLSID kClassId = {0x5D1E7A42, 0x3C9B, 0x4F08, {0xA6, 0xD2, 0x9B, 0x71, 0xE0, 0xC4, 0xF3, 0x15}};

std::string WindowsPath(std::string unixPath) {
  for (char& c : unixPath)
    if (c == '/') c = '\\';
  return "Z:" + unixPath;
}

std::string BackgroundMenu(int entries, bool custom) {
  std::string text = "[Dynamic Items]\r\n";
  for (int n = 1; n <= entries; ++n) {
    const std::string k = std::to_string(n);
    text += "Parent" + k + "=0\r\nApplication" + k + "=notepad.exe\r\nParameters" + k +
            "=%1\r\nCaption" + k + "=Background item number " + k + "\r\nChecked" + k +
            "=1\r\nFileType" + k + "=Directory\\Background\r\n";
  }
  text += "Count=" + std::to_string(entries) + "\r\n";
  if (custom)
    text += "\r\n[Custom-drawn Menu Properties]\r\nEnabled=True\r\nFirstLevelDefault=False\r\n"
            "TextIndent=24\r\nTextFontFace=Tahoma\r\nTextFontSize=9\r\nSelectedBackColor=$800000\r\n";
  return text;
}

struct TModuleCopy {
  HMODULE Module = nullptr;
  IClassFactory* Factory = nullptr;

  bool Load(const std::string& folder, bool custom) {
    CreateDirectoryA(folder.c_str(), nullptr);
#ifdef _WIN64
    CreateDirectoryA((folder + "x64").c_str(), nullptr);
    const std::string path = folder + "x64\\OVShlExt.DLL";
#else
    const std::string path = folder + "OVShlExt.DLL";
#endif
    if (!CopyFileA(WindowsPath(ORVANE_MODULE).c_str(), path.c_str(), FALSE)) return false;
    std::ofstream(folder + "Orvane.ini", std::ios::binary) << BackgroundMenu(1000, custom);
    Module = LoadLibraryA(path.c_str());
    if (!Module) return false;
    auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(Module, "DllGetClassObject")));
    return get && get(kClassId, IID_IClassFactory, reinterpret_cast<void**>(&Factory)) == S_OK;
  }
  ~TModuleCopy() {
    if (Factory) Factory->Release();
    if (Module) FreeLibrary(Module);
  }
};

// QueryContextMenu on the background of `folder` and every item measured; -1 when the
// menu is not the whole one or not drawn as expected.
double QueryAndMeasure(IClassFactory& factory, PIDLIST_ABSOLUTE folder, bool custom, HFONT menuFont) {
  IShellExtInit* init = nullptr;
  if (factory.CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init)) != S_OK) return -1;
  IContextMenu3* menu = nullptr;
  init->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(&menu));
  HMENU popup = CreatePopupMenu();
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, menuFont);
  int measured = 0;
  auto start = Clock::now();
  init->Initialize(folder, nullptr, nullptr);
  menu->QueryContextMenu(popup, 0, 1, 0x7000, CMF_NORMAL);
  const int count = GetMenuItemCount(popup);
  for (int k = 0; k < count; ++k) {
    char caption[256];
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_STRING;
    item.dwTypeData = caption;
    item.cch = sizeof caption;
    GetMenuItemInfoA(popup, k, TRUE, &item);
    if (custom) {
      MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.wID, 0, 0, item.dwItemData};
      LRESULT handled = 0;
      if ((item.fType & MFT_OWNERDRAW) &&
          menu->HandleMenuMsg2(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), &handled) == S_OK)
        ++measured;
    } else {
      SIZE size{};
      if (!(item.fType & MFT_OWNERDRAW) && GetTextExtentPoint32A(screen, caption, lstrlenA(caption), &size))
        ++measured;
    }
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  DestroyMenu(popup);
  menu->Release();
  init->Release();
  return count == 1000 && measured == 1000 ? ms : -1;
}

}  // namespace

int RunDrawingBench(const std::string& suffix) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(temp) + "OrvaneDrawBench\\";
  CreateDirectoryA(root.c_str(), nullptr);
  int status = 0;
  {
    TModuleCopy plain, custom;
    PIDLIST_ABSOLUTE folder = nullptr;
    std::wstring wideRoot(root.begin(), root.end() - 1);
    SHParseDisplayName(wideRoot.c_str(), nullptr, &folder, 0, nullptr);
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT menuFont = CreateFontIndirectA(&metrics.lfMenuFont);
    if (!folder || !plain.Load(root + "plain\\", false) || !custom.Load(root + "custom\\", true)) {
      std::fprintf(stderr, "drawing bench: no module copies\n");
      status = 1;
    } else {
      // The first of each reads its file and makes its font.
      QueryAndMeasure(*plain.Factory, folder, false, menuFont);
      QueryAndMeasure(*custom.Factory, folder, true, menuFont);
      TSamples drawn, system;
      if (!Interleave(9, {{&drawn, [&] { return QueryAndMeasure(*custom.Factory, folder, true, menuFont); }},
                          {&system, [&] { return QueryAndMeasure(*plain.Factory, folder, false, menuFont); }}})) {
        std::fprintf(stderr, "drawing bench: the menus were not the whole ones\n");
        status = 1;
      } else {
        PrintRatio("shellext.query_custom_vs_plain" + suffix, Ratios(drawn, system));
        PrintValue("shellext.query_custom_1000" + suffix, drawn, "ms");
      }
    }
    DeleteObject(menuFont);
    CoTaskMemFree(folder);
  }
  CoUninitialize();
  return status;
}

}  // namespace orvane::bench
