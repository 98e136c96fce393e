// Arbitrary bytes as a PNG file of an item icon: decoded, then fitted into the icon
// dialog's cell and the menu's picture. Failures must be the decoder's own exception.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "menus/png_image.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TPngImage image;
  try {
    image.LoadFromData(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const EPngError&) {
    if (!image.Empty()) __builtin_trap();
    return 0;
  }
  if (image.Pixels().size() != std::size_t(image.Width()) * image.Height() * 4) __builtin_trap();
  for (std::uint32_t side : {32u, 16u}) {
    if (FitPixels(image, side).size() != std::size_t(side) * side * 4) __builtin_trap();
  }
  return 0;
}
