// The module drawing its items itself, under Wine: a copy of it in a folder of its own
// with the menu file beside it, created through its class factory and asked for the
// items of a folder's background; then what a host's window does with owner-drawn
// items: it passes the measure and draw messages to the handler.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/win32/win32_handles.h"
#include "tests/support/screenshot.h"

namespace orvane::testing {
namespace {

const CLSID kClassId = {0x5D1E7A42, 0x3C9B, 0x4F08, {0xA6, 0xD2, 0x9B, 0x71, 0xE0, 0xC4, 0xF3, 0x15}};

// Two items directly in the menu and one in a submenu, all of the folder background.
const char* kItems =
    "[Dynamic Items]\r\n"
    "Parent1=0\r\nApplication1=notepad.exe\r\nCaption1=&Alpha item\r\nChecked1=1\r\n"
    "FileType1=Directory\\Background\r\n"
    "Parent2=0\r\nSubmenu2=1\r\nCaption2=Tools\r\nChecked2=1\r\nFileType2=Directory\\Background\r\n"
    "Parent3=2\r\nApplication3=notepad.exe\r\nCaption3=Beta item\r\nChecked3=1\r\n"
    "FileType3=Directory\\Background\r\n"
    "Count=3\r\n";

std::string WindowsPath(std::string unixPath) {
  for (char& c : unixPath)
    if (c == '/') c = '\\';
  return "Z:" + unixPath;
}

// The process's GDI objects. Wine does not count them for GetGuiResources; its handle
// table takes a handle's index alone, so there every index is asked instead.
DWORD GdiObjects() {
  if (DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return counted;
  DWORD live = 0;
  for (ULONG_PTR index = 1; index < 0x10000; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
  return live;
}

class DrawingHostTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "OrvaneDrawHost\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
#ifdef _WIN64
    CreateDirectoryA((folder_ + "x64").c_str(), nullptr);
    const std::string module = folder_ + "x64\\OVShlExt.DLL";
#else
    const std::string module = folder_ + "OVShlExt.DLL";
#endif
    ASSERT_TRUE(CopyFileA(WindowsPath(ORVANE_MODULE).c_str(), module.c_str(), FALSE));
    module_ = LoadLibraryA(module.c_str());
    ASSERT_NE(module_, nullptr);
    auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    ASSERT_EQ(get(kClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory_)), S_OK);
    std::wstring wide(folder_.begin(), folder_.end() - 1);
    SHParseDisplayName(wide.c_str(), nullptr, &background_, 0, nullptr);
  }
  static void TearDownTestSuite() {
    CoTaskMemFree(background_);
    if (factory_) factory_->Release();
    if (module_) FreeLibrary(module_);
    CoUninitialize();
  }
  void TearDown() override { Close(); }

  // The menu file: the items and, unless empty, the drawing settings.
  void WriteMenu(const std::string& settings) {
    const std::string path = folder_ + "Orvane.ini";
    std::string text = kItems;
    if (!settings.empty()) text += "\r\n[Custom-drawn Menu Properties]\r\n" + settings;
    // Each file another size, so that the module's cache takes the new one.
    text += std::string(++writes_, ';') + "\r\n";
    std::ofstream(path, std::ios::binary) << text;
  }

  // A right click on the folder's background; the host's menu.
  HMENU Query() {
    Close();
    IShellExtInit* init = nullptr;
    EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
    if (!init) return nullptr;
    init->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(&handler));
    EXPECT_EQ(init->Initialize(background_, nullptr, nullptr), S_OK);
    init->Release();
    menu = CreatePopupMenu();
    EXPECT_EQ(HRESULT_CODE(handler->QueryContextMenu(menu, 0, 1, 100, CMF_NORMAL)), 2);
    return menu;
  }
  void Close() {
    if (menu) DestroyMenu(menu);
    menu = nullptr;
    if (handler) handler->Release();
    handler = nullptr;
  }

  static MENUITEMINFOA Item(HMENU from, int position) {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_SUBMENU;
    GetMenuItemInfoA(from, position, TRUE, &item);
    return item;
  }
  // Which of Alpha, Tools and Beta are owner-drawn: "ATB", "-" for one the system draws.
  std::string OwnerDrawn() {
    std::string drawn;
    MENUITEMINFOA alpha = Item(menu, 0), tools = Item(menu, 1);
    MENUITEMINFOA beta = Item(tools.hSubMenu, 0);
    drawn += (alpha.fType & MFT_OWNERDRAW) ? "A" : "-";
    drawn += (tools.fType & MFT_OWNERDRAW) ? "T" : "-";
    drawn += (beta.fType & MFT_OWNERDRAW) ? "B" : "-";
    return drawn;
  }
  // What the handler answers for a measure message of the item; S_FALSE: not its own.
  HRESULT Measure(const MENUITEMINFOA& item, MEASUREITEMSTRUCT& measure) {
    measure = MEASUREITEMSTRUCT{ODT_MENU, 0, item.wID, 0, 0, item.dwItemData};
    LRESULT handled = 0;
    return handler->HandleMenuMsg2(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), &handled);
  }
  // The item drawn into a bitmap of the measured size; the colour at (x, y).
  COLORREF DrawnPixel(const MENUITEMINFOA& item, UINT state, int x, int y) {
    MEASUREITEMSTRUCT measure;
    EXPECT_EQ(Measure(item, measure), S_OK);
    TWindowDC screen(nullptr);
    TMemoryDC dc(CreateCompatibleDC(screen.Get()));
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), measure.itemWidth + 300, measure.itemHeight));
    TSelectObject chosen(dc.get(), bitmap.get());
    DRAWITEMSTRUCT draw{ODT_MENU, 0, item.wID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu),
                        dc.get(), RECT{0, 0, static_cast<LONG>(measure.itemWidth + 300),
                                       static_cast<LONG>(measure.itemHeight)},
                        item.dwItemData};
    LRESULT handled = 0;
    EXPECT_EQ(handler->HandleMenuMsg2(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), &handled), S_OK);
    return GetPixel(dc.get(), x, y);
  }
  static int ScreenDpi() {
    TWindowDC screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
  }

  static inline std::string folder_;
  static inline HMODULE module_ = nullptr;
  static inline IClassFactory* factory_ = nullptr;
  static inline PIDLIST_ABSOLUTE background_ = nullptr;
  static inline int writes_ = 0;
  IContextMenu3* handler = nullptr;
  HMENU menu = nullptr;
};

TEST_F(DrawingHostTest, SettingsDecideWhichItemsTheModuleDraws) {
  struct TCase {
    std::string settings;
    const char* drawn;
  } cases[] = {
      {"", "---"},
      {"Enabled=False\r\nFirstLevelDefault=False\r\nBackgroundFix=False\r\n", "---"},
      {"Enabled=True\r\nFirstLevelDefault=False\r\nBackgroundFix=False\r\n", "ATB"},
      {"Enabled=True\r\nFirstLevelDefault=True\r\nBackgroundFix=False\r\n", "--B"},
      {"Enabled=True\r\nFirstLevelDefault=False\r\nBackgroundFix=True\r\n", "AT-"},
      // Damaged values: "maybe" is no "True", the rest are their defaults.
      {"Enabled=True\r\nFirstLevelDefault=maybe\r\nTextIndent=99999\r\nNormalTextColor=red\r\n"
       "TextFontFace=" + std::string(10000, 'X') + "\r\n",
       "AT-"}};
  for (const TCase& c : cases) {
    WriteMenu(c.settings);
    ASSERT_TRUE(Query());
    EXPECT_EQ(OwnerDrawn(), c.drawn) << c.settings;
  }
  // Drawing off: the handler answers no measure message.
  WriteMenu("");
  Query();
  MEASUREITEMSTRUCT measure;
  EXPECT_EQ(Measure(Item(menu, 0), measure), S_FALSE);
}

TEST_F(DrawingHostTest, MeasureAnswersWithTheStoredFontAndIndent) {
  const int dpi = ScreenDpi();
  MEASUREITEMSTRUCT small{}, large{}, missing{}, none{};
  WriteMenu("Enabled=True\r\nFirstLevelDefault=False\r\nTextIndent=30\r\nTextFontFace=Tahoma\r\n"
            "TextFontSize=9\r\n");
  Query();
  ASSERT_EQ(Measure(Item(menu, 0), small), S_OK);
  // The same sizes worked out here from the stored values.
  TWindowDC screen(nullptr);
  TFontHandle font(CreateFontA(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                               "Tahoma"));
  RECT text{0, 0, 0, 0};
  {
    TSelectObject chosen(screen.Get(), font.get());
    DrawTextA(screen.Get(), "&Alpha item", -1, &text, DT_SINGLELINE | DT_CALCRECT);
  }
  const int padding = MulDiv(3, dpi, 96);
  EXPECT_EQ(small.itemWidth, static_cast<UINT>(MulDiv(30, dpi, 96) + 2 * padding + text.right));
  EXPECT_EQ(small.itemHeight,
            static_cast<UINT>(std::max<int>(text.bottom, MulDiv(16, dpi, 96)) + 2 * padding));

  WriteMenu("Enabled=True\r\nFirstLevelDefault=False\r\nTextIndent=30\r\nTextFontFace=Tahoma\r\n"
            "TextFontSize=20\r\n");
  Query();
  ASSERT_EQ(Measure(Item(menu, 0), large), S_OK);
  EXPECT_GT(large.itemHeight, small.itemHeight);
  EXPECT_GT(large.itemWidth, small.itemWidth);

  // A font that does not exist is the menu's font, as with no font at all.
  WriteMenu("Enabled=True\r\nFirstLevelDefault=False\r\nTextFontFace=No Such Font Here\r\n");
  Query();
  ASSERT_EQ(Measure(Item(menu, 0), missing), S_OK);
  WriteMenu("Enabled=True\r\nFirstLevelDefault=False\r\n");
  Query();
  ASSERT_EQ(Measure(Item(menu, 0), none), S_OK);
  EXPECT_EQ(missing.itemWidth, none.itemWidth);
  EXPECT_EQ(missing.itemHeight, none.itemHeight);

  // An item data that is not one of the handler's is left alone.
  MENUITEMINFOA stranger = Item(menu, 0);
  stranger.dwItemData = 0x1234;
  EXPECT_EQ(Measure(stranger, none), S_FALSE);
}

TEST_F(DrawingHostTest, DrawPaintsTheStoredColoursAndDefaultsFollowTheSystem) {
  WriteMenu("Enabled=True\r\nFirstLevelDefault=False\r\nTextIndent=20\r\n"
            "NormalBackColor=$00FF00\r\nSelectedBackColor=$FF0000\r\nNormalIconBackColor=$0000FF\r\n");
  Query();
  const MENUITEMINFOA alpha = Item(menu, 0);
  const int column = MulDiv(20, ScreenDpi(), 96);
  EXPECT_EQ(DrawnPixel(alpha, 0, column / 2, 1), RGB(255, 0, 0));            // icon column
  EXPECT_EQ(DrawnPixel(alpha, 0, column + 200, 1), RGB(0, 255, 0));          // background
  EXPECT_EQ(DrawnPixel(alpha, ODS_SELECTED, column + 200, 1), RGB(0, 0, 255));
  // The selected icon background is the default: the item's own background then.
  EXPECT_EQ(DrawnPixel(alpha, ODS_SELECTED, column / 2, 1), RGB(0, 0, 255));
  WriteMenu("Enabled=True\r\nFirstLevelDefault=False\r\n");
  Query();
  EXPECT_EQ(DrawnPixel(Item(menu, 0), 0, 200, 1), GetSysColor(COLOR_MENU));
}

TEST_F(DrawingHostTest, AThousandMenusShownAndDrawnLeaveNoGdiObjects) {
  WriteMenu("Enabled=True\r\nFirstLevelDefault=False\r\nBackgroundFix=False\r\nTextFontFace=Tahoma\r\n"
            "TextFontSize=10\r\n");
  auto round = [&] {
    Query();
    MENUITEMINFOA tools = Item(menu, 1);
    for (const MENUITEMINFOA& item : {Item(menu, 0), tools, Item(tools.hSubMenu, 0)})
      DrawnPixel(item, ODS_SELECTED, 1, 1);
    Close();
  };
  round();  // the font, made once for the menu file
  const DWORD before = GdiObjects();
  {
    // The count sees an object that is not given back.
    HFONT kept = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    EXPECT_EQ(GdiObjects(), before + 1);
    DeleteObject(kept);
  }
  for (int k = 0; k < 1000; ++k) round();
  EXPECT_EQ(GdiObjects(), before);
}

// A host window that hands the menu's owner-draw messages to the handler, as the file
// manager does; the menu shown, photographed, and closed.
struct TShownMenu {
  static inline IContextMenu3* Handler = nullptr;
  static inline std::string Name;
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MEASUREITEM || message == WM_DRAWITEM || message == WM_INITMENUPOPUP) {
      LRESULT result = 0;
      if (Handler && Handler->HandleMenuMsg2(message, wParam, lParam, &result) == S_OK) return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }
  static void CALLBACK Photograph(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND popup = FindWindowA("#32768", nullptr)) SaveScreenshot(popup, Name);
    EndMenu();
  }
};

TEST_F(DrawingHostTest, MenusShownDrawnAndPlainForAPerson) {
  WNDCLASSA type{};
  type.lpfnWndProc = TShownMenu::Proc;
  type.hInstance = GetModuleHandleA(nullptr);
  type.lpszClassName = "OrvaneDrawHostWindow";
  RegisterClassA(&type);
  TWindowHandle window(CreateWindowExA(0, type.lpszClassName, "host", WS_POPUP | WS_VISIBLE, 0, 0, 10,
                                       10, nullptr, nullptr, type.hInstance, nullptr));
  ASSERT_TRUE(window);
  for (const auto& [settings, name] :
       {std::pair<std::string, std::string>{"Enabled=False\r\n", "menu_system_drawn"},
        {"Enabled=True\r\nFirstLevelDefault=False\r\nTextIndent=28\r\nTextFontFace=Tahoma\r\n"
         "TextFontSize=12\r\nNormalTextColor=$800000\r\nNormalBackColor=$E0FFFF\r\n"
         "SelectedBackColor=$008000\r\nNormalIconBackColor=$C0C0C0\r\n",
         "menu_custom_drawn"}}) {
    WriteMenu(settings);
    Query();
    TShownMenu::Handler = handler;
    TShownMenu::Name = name;
    HiliteMenuItem(window.get(), menu, 0, MF_BYPOSITION | MF_HILITE);
    SetTimer(nullptr, 0, 500, TShownMenu::Photograph);
    TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN, 100, 100, window.get(), nullptr);
    TShownMenu::Handler = nullptr;
  }
  UnregisterClassA(type.lpszClassName, type.hInstance);
}

}  // namespace
}  // namespace orvane::testing
