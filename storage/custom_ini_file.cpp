#include "storage/custom_ini_file.h"

#include <cstdint>

#include "platform/ansi_case.h"
#include "storage/ini_items.h"

namespace orvane {

bool TryStrToInt(std::string_view text, int& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size()) return false;
  std::uint64_t number = 0;
  if (text[i] == '$') {
    if (++i >= text.size()) return false;
    for (; i < text.size(); ++i) {
      char c = text[i];
      int digit;
      if (c >= '0' && c <= '9') {
        digit = c - '0';
      } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
      } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
      } else {
        return false;
      }
      number = number * 16 + static_cast<unsigned>(digit);
      if (number > 0xFFFFFFFFu) return false;
    }
    // Hexadecimal covers the whole 32 bits: $FFFFFFFF is -1.
    std::uint32_t bits = static_cast<std::uint32_t>(number);
    if (negative) bits = 0u - bits;
    value = static_cast<int>(bits);
    return true;
  }
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<unsigned>(c - '0');
    if (number > 0x80000000u) return false;
  }
  if (!negative && number > 0x7FFFFFFFu) return false;
  value = negative ? static_cast<int>(0u - static_cast<std::uint32_t>(number))
                   : static_cast<int>(number);
  return true;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

int IniIntegerValue(std::string_view text, int defaultValue) {
  int value = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::string hex(text);
    hex.replace(0, 2, 1, '$');
    return TryStrToInt(hex, value) ? value : defaultValue;
  }
  return TryStrToInt(text, value) ? value : defaultValue;
}

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident,
                                int defaultValue) {
  return IniIntegerValue(ReadString(section, ident, std::string()), defaultValue);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
  WriteString(section, ident, std::to_string(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident,
                              bool defaultValue) {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

void TCustomIniFile::ForEachSectionValue(const std::string& section, const TIniKeyVisitor& visit) {
  handed_.clear();
  ReadSectionValues(section, handed_);
  for (const std::string& line : handed_) {
    const auto [name, value] = SplitIniValueLine(line);
    visit(name, value);
  }
}

std::pair<std::string_view, std::string_view> SplitIniValueLine(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {TrimBlanks(line), {}};
  return {TrimBlanks(line.substr(0, equals)), line.substr(equals + 1)};
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident) {
  TIniStrings keys;
  ReadSection(section, keys);
  for (const std::string& key : keys) {
    if (AnsiSameText(key, ident)) return true;
  }
  return false;
}

}  // namespace orvane
