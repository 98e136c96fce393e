#include "controls/png_draw.h"

#include <algorithm>
#include <cstdint>

#include "menus/png_image.h"
#include "platform/win32/win32_handles.h"

namespace orvane {

void DrawPng(HDC dc, int x, int y, const TPngImage& image, int maxWidth, int maxHeight) {
  const int width = static_cast<int>(image.Width());
  const int height = static_cast<int>(image.Height());
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top-down, as the picture has them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  TBitmapHandle bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (!bitmap || !pixels) return;
  // Premultiplied BGRA, as alpha blending takes it.
  auto* bits = static_cast<std::uint32_t*>(pixels);
  const std::uint8_t* p = image.Pixels().data();
  for (int i = 0; i < width * height; ++i, p += 4) {
    const std::uint32_t a = p[3];
    auto scale = [a](std::uint8_t c) { return static_cast<std::uint32_t>((c * a + 127) / 255); };
    bits[i] = (a << 24) | (scale(p[0]) << 16) | (scale(p[1]) << 8) | scale(p[2]);
  }
  int drawnWidth = width, drawnHeight = height;
  if (maxWidth > 0 && maxHeight > 0 && (width > maxWidth || height > maxHeight)) {
    // The longer side fits; the other keeps the proportion, at least one pixel.
    if (width * maxHeight >= height * maxWidth) {
      drawnWidth = maxWidth;
      drawnHeight = std::max(1, height * maxWidth / width);
    } else {
      drawnHeight = maxHeight;
      drawnWidth = std::max(1, width * maxHeight / height);
    }
  }
  TMemoryDC memory(CreateCompatibleDC(dc));
  if (!memory) return;
  TSelectObject selected(memory.get(), bitmap.get());
  SetStretchBltMode(dc, HALFTONE);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, x, y, drawnWidth, drawnHeight, memory.get(), 0, 0, width, height, blend);
}

}  // namespace orvane
