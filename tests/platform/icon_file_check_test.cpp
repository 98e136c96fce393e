// Which icon files reach the system's icon extraction: sound icon files and programs, not
// files whose headers point past their end.

#include "platform/icon_file_check.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <string>

#include "platform/icon_source.h"

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

#ifdef _WIN32
// The program's own extraction: an icon file whose directory claims 65,535 images in 62
// bytes gives no icon instead of a read past its end, and a file mended under the same
// name is looked at again.
TEST(IconFileCheck, TheProgramsExtractionRefusesADamagedIconFile) {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string file =
      std::string(temp) + "orvane-damaged-" + std::to_string(GetCurrentProcessId()) + ".ico";
  auto write = [&file](const std::string& bytes) {
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
  };
  write(std::string("\0\0\1\0\xff\xff\x10\x10\0\0\1\0\x20\0\x28\0\0\0\x16\0\0\0", 22) +
        std::string(40, '\x7f'));
  IIconSource& icons = DefaultIconSource();
  TIcon large, small;
  EXPECT_EQ(icons.ExtractIcons(file, -1, large, small), 0);
  EXPECT_EQ(icons.ExtractIcons(file, 0, large, small), 0);
  EXPECT_FALSE(large);
  EXPECT_EQ(icons.ExtractSmallIcon(file, 0, small), 0);
  EXPECT_FALSE(small);
  int count = 0;
  EXPECT_FALSE(icons.PrivateExtractIcon(file, 0, 32, 32, count));

  // The same name, now a sound icon file of one 16 x 16 image (another size).
  std::string image(40, '\0');
  image[0] = 40;
  image[4] = 16;  // width
  image[8] = 32;  // height: the colour rows and the mask rows
  image[12] = 1;
  image[14] = 32;
  const std::string pixels(16 * 16 * 4 + 16 * 4, '\0');
  std::string sound = std::string("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0", 14);
  const unsigned length = static_cast<unsigned>(image.size() + pixels.size());
  for (unsigned value : {length, 22u})
    for (int b = 0; b < 4; ++b) sound += static_cast<char>((value >> (8 * b)) & 0xFF);
  write(sound + image + pixels);
  EXPECT_EQ(icons.ExtractIcons(file, -1, large, small), 1);
  DeleteFileA(file.c_str());
}

// The small icon taken alone is the one that comes with the large: same size, and none
// where the file has no icon of that index.
TEST(IconFileCheck, TheSmallIconAloneIsTheSmallIconOfBoth) {
  IIconSource& icons = DefaultIconSource();
  TIcon large, small, alone;
  ASSERT_GE(icons.ExtractIcons("shell32.dll", 3, large, small), 1);
  EXPECT_EQ(icons.ExtractSmallIcon("shell32.dll", 3, alone), 1);
  int width = 0, height = 0, aloneWidth = 0, aloneHeight = 0;
  ASSERT_TRUE(icons.IconSize(small.Get(), width, height));
  ASSERT_TRUE(icons.IconSize(alone.Get(), aloneWidth, aloneHeight));
  EXPECT_EQ(aloneWidth, width);
  EXPECT_EQ(aloneHeight, height);
  EXPECT_EQ(width, GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(icons.ExtractSmallIcon("shell32.dll", 100000, alone), 0);
  EXPECT_FALSE(alone);
}
#endif

}  // namespace
}  // namespace orvane::testing
