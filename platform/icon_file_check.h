#pragma once
// Whether an icon file may be handed to the system's icon extraction. The extraction maps
// the file and believes what its headers say: an icon file whose directory claims more
// images than it holds makes it read past the file's end and crash the file manager.

#include <cstddef>
#include <string_view>

namespace orvane {

// How much of the file's beginning the check reads: room for a directory of 4,000 icon
// images and for any program's header offset.
inline constexpr std::size_t kIconFileHeadSize = 64 * 1024;

// `head` is the file's beginning (kIconFileHeadSize bytes, or all of a smaller file),
// `size` its size. True for an icon file whose directory and images lie within it, and
// for a program or library (".exe", ".dll", ".icl") whose header names its Windows part
// within the file; false for anything else.
bool CheckIconFile(std::string_view head, unsigned long long size);

}  // namespace orvane
