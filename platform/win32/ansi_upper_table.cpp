// The upper case of every byte in the ANSI code page, as CharUpperBuffA gives it.
#include <windows.h>

#include "platform/ansi_upper_table.h"

namespace orvane {

void ApplySystemUpperCase(std::array<unsigned char, 256>& table) {
  char bytes[256];
  for (int c = 0; c < 256; ++c) bytes[c] = static_cast<char>(c);
  // Byte 0 would end nothing here: the length is given.
  if (CharUpperBuffA(bytes, 256) != 256) return;
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(bytes[c]);
}

}  // namespace orvane
