// Which icon files reach the system's icon extraction: sound icon files and programs, not
// files whose headers point past their end.

#include "shellext/icon_file_check.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane::testing {
namespace {

std::string Word(unsigned value) { return {char(value & 0xFF), char(value >> 8 & 0xFF)}; }
std::string DoubleWord(unsigned value) { return Word(value & 0xFFFF) + Word(value >> 16); }

// An icon file of `count` directory entries, each of `length` bytes at `offset` (0: the
// images one after another behind the directory), and `images` bytes of images.
std::string IconFile(unsigned count, unsigned length = 40, unsigned offset = 0,
                     unsigned images = 0) {
  std::string file = Word(0) + Word(1) + Word(count);
  unsigned at = 6 + 16 * count;
  for (unsigned k = 0; k < count; ++k) {
    file += std::string("\x10\x10\0\0", 4) + Word(1) + Word(32) + DoubleWord(length) +
            DoubleWord(offset ? offset : at);
    at += length;
  }
  return file + std::string(images ? images : count * length, '\x7F');
}

// A program whose DOS header names its Windows header at `header`.
std::string ProgramFile(unsigned header, const std::string& signature = std::string("PE\0\0", 4)) {
  std::string file = "MZ" + std::string(0x3A, '\0') + DoubleWord(header);
  if (header >= file.size() && header < 0x10000)
    file += std::string(header - file.size(), '\0') + signature;
  return file + std::string(512, '\0');
}

bool Check(const std::string& file) {
  return CheckIconFile(std::string_view(file).substr(0, kIconFileHeadSize), file.size());
}

TEST(IconFileCheckTest, SoundIconFilesAndProgramsPass) {
  EXPECT_TRUE(Check(IconFile(1)));
  EXPECT_TRUE(Check(IconFile(5)));
  EXPECT_TRUE(Check(ProgramFile(0x80)));
  EXPECT_TRUE(Check(ProgramFile(0x400, "NE")));  // a 16-bit icon library
}

TEST(IconFileCheckTest, DirectoriesOrImagesPastTheEndAreRefused) {
  struct {
    const char* what;
    std::string file;
  } cases[] = {
      {"no images", IconFile(0)},
      {"more entries than the file holds", IconFile(0xFFFF, 40, 0, 1)},
      {"an image past the end", IconFile(1, 40, 0x7FFFFFF0)},
      {"an image longer than the file", IconFile(1, 0x7FFFFFF0, 0, 40)},
      {"an image inside the directory", IconFile(2, 40, 6)},
      {"an empty image", IconFile(1, 0)},
      {"a cursor file", Word(0) + Word(2) + IconFile(1).substr(4)},
      {"a header past the end", ProgramFile(0x7FFFFF00)},
      {"a header inside the DOS header", ProgramFile(0x10)},
      {"a DOS program", ProgramFile(0x80, "XX")},
      {"a picture", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(64, '\0')},
      {"an empty file", ""},
      {"a cut directory", IconFile(1).substr(0, 12)},
  };
  for (const auto& c : cases) EXPECT_FALSE(Check(c.file)) << c.what;
  // A directory too long for the part that is read is no icon file's.
  EXPECT_FALSE(Check(IconFile(kIconFileHeadSize / 16)));
  // The images must fit the file's size, beyond the part that is read.
  const std::string icon = IconFile(1);
  EXPECT_TRUE(CheckIconFile(std::string_view(icon).substr(0, 22), icon.size()));
  EXPECT_FALSE(CheckIconFile(std::string_view(icon).substr(0, 22), icon.size() - 1));
}

}  // namespace
}  // namespace orvane::testing
