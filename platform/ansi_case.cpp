#include "platform/ansi_case.h"

#include <array>

#include "platform/ansi_upper_table.h"

namespace orvane {
namespace {

std::array<unsigned char, 256> MakeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<unsigned char>(c - 32);
  for (int c = 0xE0; c <= 0xFE; ++c) {
    if (c != 0xF7) table[c] = static_cast<unsigned char>(c - 32);  // not the division sign
  }
  table[0x9A] = 0x8A;  // s with caron
  table[0x9C] = 0x8C;  // oe ligature
  table[0x9E] = 0x8E;  // z with caron
  table[0xFF] = 0x9F;  // y with diaeresis
  return table;
}

// Made on first use, so that static initialisers elsewhere may already compare names.
const std::array<unsigned char, 256>& UpperArray() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> t = MakeUpperTable();
    ApplySystemUpperCase(t);
    return t;
  }();
  return table;
}

}  // namespace

const unsigned char* AnsiUpperTable() { return UpperArray().data(); }

char AnsiUpperChar(char c) {
  return static_cast<char>(AnsiUpperTable()[static_cast<unsigned char>(c)]);
}

std::string AnsiUpperCase(std::string_view text) {
  const unsigned char* upper = AnsiUpperTable();
  std::string result(text);
  for (char& c : result) c = static_cast<char>(upper[static_cast<unsigned char>(c)]);
  return result;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const unsigned char* upper = AnsiUpperTable();
  for (size_t i = 0; i < a.size(); ++i) {
    if (upper[static_cast<unsigned char>(a[i])] != upper[static_cast<unsigned char>(b[i])])
      return false;
  }
  return true;
}

}  // namespace orvane
