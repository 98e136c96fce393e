#include "maintenance/extension_info.h"

#include <cstdio>
#include <cstring>

#include "platform/ansi_case.h"

namespace orvane {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// `digits` hexadecimal digits from `at`; false when one is no digit.
bool ReadHex(std::string_view text, std::size_t at, int digits, std::uint64_t& value) {
  value = 0;
  for (int i = 0; i < digits; ++i) {
    int digit = HexDigit(text[at + i]);
    if (digit < 0) return false;
    value = value * 16 + static_cast<std::uint64_t>(digit);
  }
  return true;
}

bool Contains(std::string_view text, const std::string& upperNeedle) {
  return AnsiUpperCase(text).find(upperNeedle) != std::string::npos;
}

}  // namespace

bool TClassId::IsNull() const { return *this == TClassId{}; }

bool TClassId::operator==(const TClassId& other) const {
  return Data1 == other.Data1 && Data2 == other.Data2 && Data3 == other.Data3 &&
         std::memcmp(Data4, other.Data4, sizeof Data4) == 0;
}

bool TClassId::operator<(const TClassId& other) const {
  if (Data1 != other.Data1) return Data1 < other.Data1;
  if (Data2 != other.Data2) return Data2 < other.Data2;
  if (Data3 != other.Data3) return Data3 < other.Data3;
  return std::memcmp(Data4, other.Data4, sizeof Data4) < 0;
}

std::optional<TClassId> ClassIdFromText(std::string_view text) {
  if (text.size() != 38 || text[0] != '{' || text[9] != '-' || text[14] != '-' ||
      text[19] != '-' || text[24] != '-') {
    return std::nullopt;
  }
  TClassId id;
  std::uint64_t value = 0;
  if (!ReadHex(text, 1, 8, value)) return std::nullopt;
  id.Data1 = static_cast<std::uint32_t>(value);
  if (!ReadHex(text, 10, 4, value)) return std::nullopt;
  id.Data2 = static_cast<std::uint16_t>(value);
  if (!ReadHex(text, 15, 4, value)) return std::nullopt;
  id.Data3 = static_cast<std::uint16_t>(value);
  static constexpr std::size_t kBytes[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!ReadHex(text, kBytes[i], 2, value)) return std::nullopt;
    id.Data4[i] = static_cast<std::uint8_t>(value);
  }
  return id;
}

std::string ClassIdText(const TClassId& id) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1],
                id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
  return text;
}

std::string BitnessText(TBitness bitness) {
  switch (bitness) {
    case TBitness::Bits32:
      return "32-bit";
    case TBitness::Bits64:
      return "64-bit";
    case TBitness::Both:
      return "32-bit and 64-bit";
    case TBitness::None:
      break;
  }
  return {};
}

bool MatchesFilter(const TExtensionInfo& info, std::string_view filter) {
  if (filter.empty()) return true;
  const std::string needle = AnsiUpperCase(filter);
  return Contains(info.Caption, needle) || Contains(info.FileName, needle) ||
         Contains(info.Company, needle);
}

}  // namespace orvane
