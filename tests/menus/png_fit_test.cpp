// Pictures fitted into icon cells and menu entries: larger ones scaled down whole, smaller
// ones centred at their own size, transparency kept.

#include <gtest/gtest.h>

#include "menus/png_image.h"
#include "tests/support/png_writer.h"

namespace orvane::testing {
namespace {

constexpr std::uint32_t kBlue = 0x0000FFFF;
constexpr std::uint32_t kRed = 0xFF0000FF;

TPngImage Decoded(std::uint32_t width, std::uint32_t height, const std::vector<std::uint8_t>& rgba) {
  TPngImage image;
  image.LoadFromData(EncodePng(width, height, rgba));
  return image;
}

std::uint32_t PixelAt(const std::vector<std::uint8_t>& rgba, std::uint32_t side, std::uint32_t x,
                      std::uint32_t y) {
  const std::uint8_t* p = rgba.data() + (std::size_t(y) * side + x) * 4;
  return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

TEST(PngFitTest, LargerPictureIsScaledDownWholeNotCutToItsCorner) {
  // 64 x 64, blue with a red bottom-right quarter: cut to 32 x 32 it would be all blue.
  TPngImage image = Decoded(64, 64, QuarterPicture(64, kBlue, kRed));
  std::vector<std::uint8_t> fitted = FitPixels(image, 32);
  ASSERT_EQ(fitted.size(), 32u * 32 * 4);
  EXPECT_EQ(PixelAt(fitted, 32, 0, 0), kBlue);
  EXPECT_EQ(PixelAt(fitted, 32, 31, 31), kRed);
  EXPECT_EQ(PixelAt(fitted, 32, 16, 16), kRed);
  EXPECT_EQ(PixelAt(fitted, 32, 15, 15), kBlue);
}

TEST(PngFitTest, WidePictureKeepsItsProportionsCentred) {
  // 64 x 16 becomes 32 x 8, in rows 12 to 19.
  std::vector<std::uint8_t> rgba;
  for (int i = 0; i < 64 * 16; ++i) rgba.insert(rgba.end(), {0, 255, 0, 255});
  std::vector<std::uint8_t> fitted = FitPixels(Decoded(64, 16, rgba), 32);
  EXPECT_EQ(PixelAt(fitted, 32, 0, 11) & 0xFF, 0u);
  EXPECT_EQ(PixelAt(fitted, 32, 0, 12), 0x00FF00FFu);
  EXPECT_EQ(PixelAt(fitted, 32, 31, 19), 0x00FF00FFu);
  EXPECT_EQ(PixelAt(fitted, 32, 31, 20) & 0xFF, 0u);
}

TEST(PngFitTest, SmallerPictureIsCentredUnscaled) {
  std::vector<std::uint8_t> fitted = FitPixels(Decoded(2, 2, QuarterPicture(2, kBlue, kRed)), 16);
  EXPECT_EQ(PixelAt(fitted, 16, 7, 7), kBlue);
  EXPECT_EQ(PixelAt(fitted, 16, 8, 8), kRed);
  EXPECT_EQ(PixelAt(fitted, 16, 6, 7) & 0xFF, 0u);
  EXPECT_EQ(PixelAt(fitted, 16, 9, 9) & 0xFF, 0u);
}

TEST(PngFitTest, TransparentPixelsLendNoColourToTheirNeighbours) {
  // Half the pixels red, half fully transparent black: the average is red at half
  // opacity, not a dark red.
  std::vector<std::uint8_t> rgba;
  for (int y = 0; y < 2; ++y) rgba.insert(rgba.end(), {255, 0, 0, 255, 0, 0, 0, 0});
  std::vector<std::uint8_t> fitted = FitPixels(Decoded(2, 2, rgba), 1);
  EXPECT_EQ(PixelAt(fitted, 1, 0, 0), 0xFF000080u);
}

TEST(PngFitTest, EmptyPictureGivesTransparentSquare) {
  std::vector<std::uint8_t> fitted = FitPixels(TPngImage(), 16);
  ASSERT_EQ(fitted.size(), 16u * 16 * 4);
  for (std::uint8_t byte : fitted) EXPECT_EQ(byte, 0);
}

}  // namespace
}  // namespace orvane::testing
