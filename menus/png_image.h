#pragma once
// A PNG picture decoded to 32-bit RGBA pixels, as dynamic items and the icon lists use
// PNG files for icons.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/exception.h"

namespace orvane {

class IFileAccess;

// A PNG file that cannot be read or decoded.
class EPngError : public Exception {
public:
  using Exception::Exception;
};

// Whether a file holds a PNG picture by its name: its extension is ".png" in any case.
bool IsPngFileName(const std::string& fileName);

class TPngImage {
public:
  // Pictures larger than this on either side are refused: icons are small, and a
  // damaged header must not make the decoder ask for gigabytes.
  static constexpr std::uint32_t kMaxSide = 4096;

  bool Empty() const { return width_ == 0; }
  std::uint32_t Width() const { return width_; }
  std::uint32_t Height() const { return height_; }
  // Rows top to bottom, four bytes (R, G, B, A) a pixel.
  const std::vector<std::uint8_t>& Pixels() const { return pixels_; }

  // Replace the picture; raise EPngError and leave it empty on any failure.
  void LoadFromData(std::string_view data);
  void LoadFromFile(const std::string& fileName, IFileAccess& files);
  void Clear();

private:
  std::uint32_t width_ = 0;
  std::uint32_t height_ = 0;
  std::vector<std::uint8_t> pixels_;
};

// The picture fitted into a square of `side` pixels, as icon cells and menus show it: a
// larger one scaled down with its proportions kept (each pixel the average of those it
// covers, weighted by their opacity), a smaller one at its own size; centred on
// transparent pixels. Rows top to bottom, R, G, B, A. An empty picture gives a fully
// transparent square.
std::vector<std::uint8_t> FitPixels(const TPngImage& image, std::uint32_t side);

}  // namespace orvane
