#include "platform/icon_file_check.h"

#include <cstdint>

namespace orvane {
namespace {

constexpr std::size_t kDirectorySize = 6;  // reserved, type, count
constexpr std::size_t kEntrySize = 16;

std::uint32_t Word(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

std::uint32_t DoubleWord(std::string_view bytes, std::size_t at) {
  return Word(bytes, at) | Word(bytes, at + 2) << 16;
}

// An icon file: its directory, then each image where the directory says, within the file.
bool IsSoundIconFile(std::string_view head, unsigned long long size) {
  const std::size_t count = Word(head, 4);
  const std::size_t directory = kDirectorySize + count * kEntrySize;
  if (count == 0 || directory > head.size()) return false;
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t entry = kDirectorySize + k * kEntrySize;
    const unsigned long long length = DoubleWord(head, entry + 8);
    const unsigned long long offset = DoubleWord(head, entry + 12);
    if (length == 0 || offset < directory || offset + length > size) return false;
  }
  return true;
}

// A program or library: the DOS header names where its Windows header ("PE" or, for
// 16-bit icon libraries, "NE") begins.
bool IsSoundProgramFile(std::string_view head) {
  constexpr std::size_t kHeaderOffset = 0x3C;
  if (head.size() < kHeaderOffset + 4) return false;
  const std::size_t header = DoubleWord(head, kHeaderOffset);
  if (header < kHeaderOffset + 4 || header > head.size() - 4) return false;
  return head.substr(header, 4) == std::string_view("PE\0\0", 4) || head.substr(header, 2) == "NE";
}

}  // namespace

bool CheckIconFile(std::string_view head, unsigned long long size) {
  if (head.size() > size || head.size() < kDirectorySize) return false;
  if (head.substr(0, 2) == "MZ") return IsSoundProgramFile(head);
  if (Word(head, 0) == 0 && Word(head, 2) == 1) return IsSoundIconFile(head, size);
  return false;
}

}  // namespace orvane
