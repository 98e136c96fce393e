#pragma once
// PNG files made by tests: 8-bit RGBA pictures, stored whole, for the decoder and the
// pictures made from it.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::testing {

inline void PutBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

inline void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  out += body;
  PutBigEndian(out, static_cast<std::uint32_t>(
                        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

// `rgba` holds width * height pixels, rows top to bottom.
inline std::string EncodePng(std::uint32_t width, std::uint32_t height,
                             const std::vector<std::uint8_t>& rgba) {
  std::string raw;
  for (std::uint32_t y = 0; y < height; ++y) {
    raw += '\0';
    raw.append(reinterpret_cast<const char*>(rgba.data()) + std::size_t(y) * width * 4, width * 4);
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(size, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
           static_cast<uLong>(raw.size()));
  packed.resize(size);
  std::string header;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header += std::string("\x08\x06\x00\x00\x00", 5);
  std::string png = "\x89PNG\r\n\x1a\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", "");
  return png;
}

// A picture of one colour, with a different colour in its bottom-right quarter.
inline std::vector<std::uint8_t> QuarterPicture(std::uint32_t side, std::uint32_t colour,
                                                std::uint32_t corner) {
  std::vector<std::uint8_t> rgba;
  for (std::uint32_t y = 0; y < side; ++y) {
    for (std::uint32_t x = 0; x < side; ++x) {
      const std::uint32_t c = x >= side / 2 && y >= side / 2 ? corner : colour;
      for (int shift : {24, 16, 8, 0}) rgba.push_back(static_cast<std::uint8_t>(c >> shift));
    }
  }
  return rgba;
}

}  // namespace orvane::testing
