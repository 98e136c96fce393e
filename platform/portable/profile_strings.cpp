#include "platform/profile_strings.h"

#include <fstream>
#include <sstream>

#include "platform/ansi_case.h"

namespace orvane {
namespace {

struct TProfileLine {
  bool section;
  std::string name;
  std::string value;
};

std::string Trim(std::string_view text) {
  const char* spaces = " \t\r\n";
  size_t first = text.find_first_not_of(spaces);
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(spaces);
  return std::string(text.substr(first, last - first + 1));
}

std::vector<TProfileLine> ParseProfile(const std::string& fileName) {
  std::vector<TProfileLine> lines;
  std::ifstream file(fileName, std::ios::binary);
  if (!file) return lines;
  std::string line;
  while (std::getline(file, line)) {
    std::string text = Trim(line);
    if (text.empty() || text[0] == ';') continue;
    if (text[0] == '[') {
      size_t close = text.rfind(']');
      std::string_view name(text);
      name = name.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      lines.push_back({true, Trim(name), {}});
      continue;
    }
    size_t equals = text.find('=');
    if (equals == std::string::npos)
      lines.push_back({false, text, {}});
    else
      lines.push_back(
          {false, Trim(std::string_view(text).substr(0, equals)), Trim(text.substr(equals + 1))});
  }
  return lines;
}

template <class Visit>
void ForKeysOf(const std::vector<TProfileLine>& lines, const std::string& section, Visit visit) {
  // Only the first section of the name counts, as with the system's reader.
  bool inside = false;
  for (const TProfileLine& line : lines) {
    if (line.section) {
      if (inside) return;
      inside = AnsiSameText(line.name, section);
    } else if (inside && !visit(line)) {
      return;
    }
  }
}

std::string Cut(std::string value) {
  if (value.size() > kProfileBufferSize - 1) value.resize(kProfileBufferSize - 1);
  return value;
}

}  // namespace

std::string ReadProfileString(const std::string& fileName, const std::string& section,
                              const std::string& key, const std::string& defaultValue) {
  std::vector<TProfileLine> lines = ParseProfile(fileName);
  std::string found;
  bool hit = false;
  ForKeysOf(lines, section, [&](const TProfileLine& line) {
    if (!AnsiSameText(line.name, Trim(key))) return true;
    found = line.value;
    hit = true;
    return false;
  });
  if (!hit) {
    size_t end = defaultValue.find_last_not_of(' ');
    return Cut(end == std::string::npos ? std::string() : defaultValue.substr(0, end + 1));
  }
  if (found.size() > 1 && (found.front() == '"' || found.front() == '\'') &&
      found.back() == found.front())
    found = found.substr(1, found.size() - 2);
  return Cut(found);
}

std::vector<std::string> ReadProfileKeys(const std::string& fileName, const std::string& section) {
  std::vector<std::string> keys;
  ForKeysOf(ParseProfile(fileName), section, [&](const TProfileLine& line) {
    keys.push_back(line.name);
    return true;
  });
  return keys;
}

std::vector<std::string> ReadProfileSections(const std::string& fileName) {
  std::vector<std::string> sections;
  for (const TProfileLine& line : ParseProfile(fileName))
    if (line.section) sections.push_back(line.name);
  return sections;
}

}  // namespace orvane
