#include "app/icon_pictures.h"

#include <algorithm>
#include <cstring>

#include "menus/png_image.h"

namespace orvane {
namespace {

BITMAPINFO TopDown32(int side) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = side;
  info.bmiHeader.biHeight = -side;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

TBitmapHandle NewBitmap(int side, std::uint32_t*& bits) {
  BITMAPINFO info = TopDown32(side);
  void* pixels = nullptr;
  TBitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  bits = static_cast<std::uint32_t*>(pixels);
  return bits ? std::move(bitmap) : TBitmapHandle();
}

bool Fits(const std::vector<std::uint8_t>& rgba, int side) {
  return side > 0 && rgba.size() == static_cast<std::size_t>(side) * side * 4;
}

}  // namespace

TIconHandle IconFromPixels(const std::vector<std::uint8_t>& rgba, int side) {
  if (!Fits(rgba, side)) return {};
  std::uint32_t* bits = nullptr;
  TBitmapHandle colour = NewBitmap(side, bits);
  if (!colour) return {};
  const std::uint8_t* p = rgba.data();
  for (int i = 0; i < side * side; ++i, p += 4)
    bits[i] = (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
  // The alpha channel is the picture's transparency; the mask only says "draw all".
  std::vector<std::uint8_t> zeros(static_cast<std::size_t>((side + 15) / 16 * 2) * side, 0);
  TBitmapHandle mask(CreateBitmap(side, side, 1, 1, zeros.data()));
  if (!mask) return {};
  ICONINFO parts{TRUE, 0, 0, mask.get(), colour.get()};
  return TIconHandle(CreateIconIndirect(&parts));
}

TIconHandle IconFromPngFile(const std::string& file, int side, IFileAccess& files) {
  TPngImage image;
  image.LoadFromFile(file, files);
  return IconFromPixels(FitPixels(image, static_cast<std::uint32_t>(side)), side);
}

TBitmapHandle MenuBitmapFromPixels(const std::vector<std::uint8_t>& rgba, int side) {
  if (!Fits(rgba, side)) return {};
  std::uint32_t* bits = nullptr;
  TBitmapHandle bitmap = NewBitmap(side, bits);
  if (!bitmap) return {};
  const std::uint8_t* p = rgba.data();
  for (int i = 0; i < side * side; ++i, p += 4) {
    const std::uint32_t a = p[3];
    auto scale = [a](std::uint8_t c) { return (std::uint32_t(c) * a + 127) / 255; };
    bits[i] = (a << 24) | (scale(p[0]) << 16) | (scale(p[1]) << 8) | scale(p[2]);
  }
  return bitmap;
}

TBitmapHandle MenuBitmapFromIcon(HICON icon, int side) {
  if (!icon || side <= 0) return {};
  // Drawn twice, on black and on white: where the two differ the icon is see-through,
  // which gives the alpha of icons with and without a channel of their own alike.
  std::uint32_t* black = nullptr;
  std::uint32_t* white = nullptr;
  TBitmapHandle onBlack = NewBitmap(side, black), onWhite = NewBitmap(side, white);
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  if (!onBlack || !onWhite || !dc) return {};
  const std::size_t count = static_cast<std::size_t>(side) * side;
  std::memset(black, 0, count * 4);
  std::memset(white, 0xFF, count * 4);
  {
    TSelectObject select(dc.get(), onBlack.get());
    DrawIconEx(dc.get(), 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
  }
  {
    TSelectObject select(dc.get(), onWhite.get());
    DrawIconEx(dc.get(), 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
  }
  GdiFlush();
  std::uint32_t* bits = nullptr;
  TBitmapHandle result = NewBitmap(side, bits);
  if (!result) return {};
  for (std::size_t i = 0; i < count; ++i) {
    // On black the colour is premultiplied already; white minus black is 255 - alpha.
    const int greenGap = int((white[i] >> 8) & 0xFF) - int((black[i] >> 8) & 0xFF);
    const std::uint32_t a = static_cast<std::uint32_t>(255 - std::clamp(greenGap, 0, 255));
    bits[i] = (a << 24) | (black[i] & 0xFFFFFF);
  }
  return result;
}

TIconHandle PlaceholderIcon(int side) {
  HANDLE own = LoadImageA(GetModuleHandleA(nullptr), "DEFAULT", IMAGE_ICON, side, side, 0);
  if (own) return TIconHandle(static_cast<HICON>(own));
  return TIconHandle(CopyIcon(LoadIcon(nullptr, IDI_WARNING)));
}

}  // namespace orvane
