#include "shellext/menu_bitmaps.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "menus/png_image.h"
#include "platform/win32/sound_icon_file.h"
#include "shellext/module_state.h"

namespace orvane {
namespace {

// Menus show small pictures; anything larger is no menu icon.
constexpr int kMaxSide = 256;

// The description of a top-down 32-bit bitmap.
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A top-down 32-bit bitmap; `bits` receives its pixels.
TBitmapHandle NewBitmap(int width, int height, std::uint32_t*& bits) {
  BITMAPINFO info = TopDown32(width, height);
  void* pixels = nullptr;
  TBitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  bits = static_cast<std::uint32_t*>(pixels);
  return bits ? std::move(bitmap) : TBitmapHandle();
}

std::uint32_t Premultiplied(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
  auto scale = [a](std::uint8_t c) { return static_cast<std::uint32_t>((c * a + 127) / 255); };
  return (std::uint32_t(a) << 24) | (scale(r) << 16) | (scale(g) << 8) | scale(b);
}

TBitmapHandle FromPng(const std::string& file) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data)) return {};
  if (data.nFileSizeHigh != 0 || data.nFileSizeLow > kMaxPictureFileSize) {
    LogFailure("picture file too large: " + file);
    return {};
  }
  TPngImage image;
  try {
    image.LoadFromFile(file, ModuleServices().Files);
  } catch (const Exception&) {
    return {};
  }
  int width = static_cast<int>(image.Width()), height = static_cast<int>(image.Height());
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return {};
  std::uint32_t* bits = nullptr;
  TBitmapHandle bitmap = NewBitmap(width, height, bits);
  if (!bitmap) return {};
  const std::uint8_t* p = image.Pixels().data();
  for (int i = 0; i < width * height; ++i, p += 4) bits[i] = Premultiplied(p[0], p[1], p[2], p[3]);
  return bitmap;
}

// The 32-bit pixels of a bitmap of the icon, bottom-up rows turned top-down.
bool IconPixels(HBITMAP source, int width, int height, std::vector<std::uint32_t>& pixels) {
  BITMAPINFO info = TopDown32(width, height);
  pixels.assign(static_cast<std::size_t>(width) * height, 0);
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  return dc && GetDIBits(dc.get(), source, 0, height, pixels.data(), &info, DIB_RGB_COLORS) == height;
}

// The icon file as the extraction would find it, once its beginning shows it sound;
// empty otherwise.
std::string SoundIconFile(const std::string& file) {
  std::string found;
  const TIconFileVerdict verdict = CheckIconFileOnDisk(file, found);
  if (verdict == TIconFileVerdict::Unsound) LogFailure("not a sound icon file: " + file);
  return verdict == TIconFileVerdict::Sound ? found : std::string();
}

TBitmapHandle FromIcon(const std::string& name, int index) {
  // The extraction believes the file's headers: a damaged one would take the host down.
  const std::string file = SoundIconFile(name);
  if (file.empty()) return {};
  HICON small = nullptr;
  if (ExtractIconExA(file.c_str(), index, nullptr, &small, 1) == 0 || !small) return {};
  TIconHandle icon(small);
  ICONINFO parts{};
  if (!GetIconInfo(icon.get(), &parts)) return {};
  TBitmapHandle colour(parts.hbmColor), mask(parts.hbmMask);
  BITMAP shape{};
  if (!colour || !GetObject(colour.get(), sizeof shape, &shape)) return {};
  int width = shape.bmWidth, height = shape.bmHeight;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return {};
  std::vector<std::uint32_t> colours, masks;
  if (!IconPixels(colour.get(), width, height, colours)) return {};
  bool alpha = false;
  for (std::uint32_t c : colours) alpha = alpha || (c >> 24) != 0;
  // Icons without an alpha channel take their transparency from the mask.
  if (!alpha && !IconPixels(mask.get(), width, height, masks)) return {};
  std::uint32_t* bits = nullptr;
  TBitmapHandle bitmap = NewBitmap(width, height, bits);
  if (!bitmap) return {};
  for (std::size_t i = 0; i < colours.size(); ++i) {
    std::uint32_t c = colours[i];
    std::uint8_t a = alpha ? std::uint8_t(c >> 24) : ((masks[i] & 0xFFFFFF) ? 0 : 255);
    bits[i] = Premultiplied(std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c), a);
  }
  return bitmap;
}

}  // namespace

TBitmapHandle LoadMenuBitmap(const std::string& iconFile, int iconIndex) {
  // As in the program: index -1 is no picture, also for a PNG file.
  if (iconFile.empty() || iconIndex < 0) return {};
  return IsPngFileName(iconFile) ? FromPng(iconFile) : FromIcon(iconFile, iconIndex);
}

}  // namespace orvane

namespace orvane {

HBITMAP TMenuPictures::Get(const std::string& iconFile, int iconIndex) noexcept {
  if (iconFile.empty() || iconIndex < 0) return nullptr;
  try {
    std::lock_guard<std::mutex> lock(mutex_);
    auto key = std::make_pair(iconFile, iconIndex);
    auto found = pictures_.find(key);
    if (found != pictures_.end()) return found->second.get();
    TBitmapHandle bitmap;
    try {
      bitmap = LoadMenuBitmap(iconFile, iconIndex);
    } catch (...) {
      // A picture that cannot be decoded (no memory for it) is no picture; the item stays.
      LogFailure("cannot decode picture " + iconFile);
    }
    HBITMAP handle = bitmap.get();
    pictures_.emplace(std::move(key), std::move(bitmap));
    return handle;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace orvane
