#include "tests/support/screenshot.h"

#include <cstdio>
#include <vector>

#include "controls/application.h"
#include "platform/win32/win32_handles.h"

namespace orvane::testing {

std::string SaveScreenshot(HWND window, const std::string& name) {
  // A window already on screen is left as it is: activating it would close an open
  // drop-down that the picture should show.
  if (!IsWindowVisible(window)) {
    ShowWindow(window, SW_SHOW);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  UpdateWindow(window);
  Application().ProcessMessages();
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return {};

  TWindowDC screen(nullptr);
  TMemoryDC memory(CreateCompatibleDC(screen.Get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TBitmapHandle bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return {};
  {
    TSelectObject select(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY);
  }
  GdiFlush();
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof header + sizeof info.bmiHeader;
  header.bfSize = header.bfOffBits + size;

  const std::string dir = WindowsPath(ORVANE_ARTIFACTS);
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string file = dir + "\\" + name + ".bmp";
  FILE* out = std::fopen(file.c_str(), "wb");
  if (!out) return {};
  std::fwrite(&header, sizeof header, 1, out);
  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
  std::fwrite(bits, 1, size, out);
  std::fclose(out);
  return file;
}

}  // namespace orvane::testing
