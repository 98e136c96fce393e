#include "menus/png_image.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

#include "platform/ansi_case.h"
#include "platform/file_access.h"
#include "platform/messages.h"

namespace orvane {

bool IsPngFileName(const std::string& fileName) {
  std::size_t dot = fileName.rfind('.');
  std::size_t folder = fileName.find_last_of("\\/:");
  if (dot == std::string::npos || (folder != std::string::npos && dot < folder)) return false;
  return AnsiUpperCase(fileName.substr(dot)) == ".PNG";
}
namespace {

// What the C decoding frame reads from and reports to. It owns nothing that needs
// destruction: libpng leaves a failed decode by longjmp, which must not cross C++
// objects with destructors.
struct TPngReadState {
  const unsigned char* data;
  std::size_t size;
  std::size_t offset;
  char error[128];
};

extern "C" void PngRead(png_structp png, png_bytep out, png_size_t length) {
  auto* state = static_cast<TPngReadState*>(png_get_io_ptr(png));
  if (length > state->size - state->offset) png_error(png, "unexpected end of data");
  std::memcpy(out, state->data + state->offset, length);
  state->offset += length;
}

extern "C" void PngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<TPngReadState*>(png_get_error_ptr(png));
  std::strncpy(state->error, message ? message : "", sizeof state->error - 1);
  state->error[sizeof state->error - 1] = '\0';
  png_longjmp(png, 1);
}

extern "C" void PngWarning(png_structp, png_const_charp) {}

// Phase one: the header, with the transformations that give 8-bit RGBA. Returns false
// with state->error set on failure; png and info are released by the caller's frame.
bool ReadHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, TPngImage::kMaxSide, TPngImage::kMaxSide);
  png_read_info(png, info);
  int depth = 0, colour = 0;
  png_get_IHDR(png, info, width, height, &depth, &colour, nullptr, nullptr, nullptr);
  if (depth == 16) png_set_strip_16(png);
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  if (!(colour & PNG_COLOR_MASK_ALPHA)) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_rowbytes(png, info) == static_cast<png_size_t>(*width) * 4;
}

// Phase two: the rows into memory the caller allocated.
bool ReadRows(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

// The decoder's structures, destroyed on every path.
class TPngReader {
public:
  explicit TPngReader(TPngReadState& state) {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, PngError, PngWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (png_ && info_) png_set_read_fn(png_, &state, PngRead);
  }
  ~TPngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
  TPngReader(const TPngReader&) = delete;
  TPngReader& operator=(const TPngReader&) = delete;
  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

[[noreturn]] void Fail(const std::string& reason) {
  throw EPngError(FormatRes(msg::SPngImageError, {reason}));
}

}  // namespace

void TPngImage::Clear() {
  width_ = height_ = 0;
  pixels_.clear();
}

void TPngImage::LoadFromData(std::string_view data) {
  Clear();
  if (data.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(data.data()), 0, 8) != 0)
    Fail("not a PNG file");
  TPngReadState state{reinterpret_cast<const unsigned char*>(data.data()), data.size(), 0, {}};
  TPngReader reader(state);
  if (!reader.Info()) Fail("out of memory");
  png_uint_32 width = 0, height = 0;
  if (!ReadHeader(reader.Png(), reader.Info(), &width, &height))
    Fail(state.error[0] ? state.error : "unsupported format");
  if (width == 0 || height == 0) Fail("empty picture");
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + std::size_t(y) * width * 4;
  if (!ReadRows(reader.Png(), reader.Info(), rows.data())) Fail(state.error);
  width_ = width;
  height_ = height;
  pixels_ = std::move(pixels);
}

std::vector<std::uint8_t> FitPixels(const TPngImage& image, std::uint32_t side) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(side) * side * 4, 0);
  const std::uint64_t width = image.Width(), height = image.Height();
  if (image.Empty() || side == 0) return out;
  // The scaled size: the longer side becomes `side`, never enlarged.
  std::uint64_t w = width, h = height;
  if (width > side || height > side) {
    if (width >= height) {
      w = side;
      h = std::max<std::uint64_t>(1, (height * side + width / 2) / width);
    } else {
      h = side;
      w = std::max<std::uint64_t>(1, (width * side + height / 2) / height);
    }
  }
  const std::uint64_t left = (side - w) / 2, top = (side - h) / 2;
  const std::uint8_t* pixels = image.Pixels().data();
  for (std::uint64_t y = 0; y < h; ++y) {
    const std::uint64_t y0 = y * height / h, y1 = std::max(y0 + 1, (y + 1) * height / h);
    for (std::uint64_t x = 0; x < w; ++x) {
      const std::uint64_t x0 = x * width / w, x1 = std::max(x0 + 1, (x + 1) * width / w);
      std::uint64_t r = 0, g = 0, b = 0, a = 0, count = 0;
      for (std::uint64_t sy = y0; sy < y1; ++sy) {
        const std::uint8_t* p = pixels + (sy * width + x0) * 4;
        for (std::uint64_t sx = x0; sx < x1; ++sx, p += 4) {
          r += std::uint64_t(p[0]) * p[3];
          g += std::uint64_t(p[1]) * p[3];
          b += std::uint64_t(p[2]) * p[3];
          a += p[3];
          ++count;
        }
      }
      std::uint8_t* q = out.data() + ((top + y) * side + left + x) * 4;
      if (a > 0) {
        q[0] = static_cast<std::uint8_t>((r + a / 2) / a);
        q[1] = static_cast<std::uint8_t>((g + a / 2) / a);
        q[2] = static_cast<std::uint8_t>((b + a / 2) / a);
      }
      q[3] = static_cast<std::uint8_t>((a + count / 2) / count);
    }
  }
  return out;
}

void TPngImage::LoadFromFile(const std::string& fileName, IFileAccess& files) {
  Clear();
  std::string data, reason;
  switch (files.ReadFile(fileName, data, reason)) {
    case IFileAccess::ReadResult::Read:
      break;
    case IFileAccess::ReadResult::Missing:
      Fail("file not found: " + fileName);
    case IFileAccess::ReadResult::Failed:
      Fail(reason);
  }
  LoadFromData(data);
}

}  // namespace orvane
