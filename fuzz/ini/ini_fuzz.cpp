// Loads arbitrary bytes as a settings file, applies reads and writes chosen by the
// input, writes the document, reads it back and checks that the two answer alike.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "storage/orvane_ini_file.h"

namespace {

using namespace orvane;

class TFuzzFiles : public IFileAccess {
public:
  std::map<std::string, std::string> Files;

  ReadResult ReadFile(const std::string& fileName, std::string& data, std::string&) override {
    auto it = Files.find(fileName);
    if (it == Files.end()) return ReadResult::Missing;
    data = it->second;
    return ReadResult::Read;
  }
  bool ReplaceFile(const std::string& fileName, std::string_view data, std::string&) override {
    Files[fileName] = std::string(data);
    return true;
  }
};

#define Check(condition) CheckAt((condition), #condition, __LINE__)

void CheckAt(bool condition, const char* text, int line) {
  if (condition) return;
  std::fprintf(stderr, "check failed at line %d: %s\n", line, text);
  std::abort();
}

// Names and values the format can carry: no line breaks, no blanks at the ends, and
// names without "=" or a leading ";" or "[".
std::string MadeName(FuzzedDataProvider& in) {
  static const char kChars[] = "aAbB\xE4\xC4_1 .";
  std::string name(1, 'k');
  size_t length = in.ConsumeIntegralInRange<size_t>(0, 4);
  for (size_t i = 0; i < length; ++i) name += kChars[in.ConsumeIntegralInRange<size_t>(0, 9)];
  while (name.back() == ' ') name.pop_back();
  return name;
}

std::string MadeValue(FuzzedDataProvider& in) {
  static const char kChars[] = "xY ;\"'=$0x19-";
  std::string value;
  size_t length = in.ConsumeIntegralInRange<size_t>(0, 8);
  for (size_t i = 0; i < length; ++i) value += kChars[in.ConsumeIntegralInRange<size_t>(0, 12)];
  return value;
}

std::string PickSection(FuzzedDataProvider& in, TOrvaneIniFile& ini) {
  TIniStrings sections;
  ini.ReadSections(sections);
  if (sections.empty() || in.ConsumeBool()) return MadeName(in);
  return sections[in.ConsumeIntegralInRange<size_t>(0, sections.size() - 1)];
}

std::string PickKey(FuzzedDataProvider& in, TOrvaneIniFile& ini, const std::string& section) {
  TIniStrings keys;
  ini.ReadSection(section, keys);
  if (keys.empty() || in.ConsumeBool()) return MadeName(in);
  return keys[in.ConsumeIntegralInRange<size_t>(0, keys.size() - 1)];
}

// The line array, the statistics and the section starts agree.
void CheckStructure(TOrvaneIniFile& ini) {
  const TIniItems& lines = ini.Lines();
  TStatistics counted;
  for (size_t i = 0; i < lines.Count(); ++i) {
    switch (lines.Item(i).Kind) {
      case TIniItemKind::Blank:
        ++counted.Blanks;
        break;
      case TIniItemKind::Comment:
        ++counted.Comments;
        break;
      case TIniItemKind::Section:
        ++counted.Sections;
        break;
      default:
        ++counted.Others;
        break;
    }
  }
  const TStatistics& kept = lines.Statistics();
  Check(kept.Blanks == counted.Blanks && kept.Comments == counted.Comments &&
        kept.Others == counted.Others && kept.Sections == counted.Sections);
  Check(lines.Sections().size() == counted.Sections);
  size_t previous = 0;
  for (const auto& section : lines.Sections()) {
    Check(section->Start > previous && section->Start <= lines.Count());
    const TIniItem& header = lines.Item(section->Start - 1);
    Check(header.Kind == TIniItemKind::Section && header.Text == "[" + section->Name + "]");
    previous = section->Start;
  }
}

// A ";" both between and outside double quotes: no quoting keeps the engine from taking
// part of the value for a comment.
bool CutByComment(const std::string& value) {
  bool quoted = false, inside = false, outside = false;
  for (char c : value) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ';') {
      (quoted ? inside : outside) = true;
    }
  }
  return inside && outside;
}

// Whatever is written reads back as it was, quotes and blanks at its ends included.
void CheckReadsBack(const std::string& value) {
  TOrvaneIniFile document;
  document.WriteString("S", "k", value);
  Check(document.ReadString("S", "k", "\x01") == value || CutByComment(value));
  document.Clear();
}

void Operate(FuzzedDataProvider& in, TOrvaneIniFile& ini) {
  std::string section = PickSection(in, ini);
  std::string key = PickKey(in, ini, section);
  TIniStrings list;
  switch (in.ConsumeIntegralInRange<int>(0, 10)) {
    case 0:
    case 1: {
      const std::string value = MadeValue(in);
      ini.WriteString(section, key, value);
      CheckReadsBack(value);
      break;
    }
    case 2:
      ini.WriteInteger(section, key, in.ConsumeIntegral<int>());
      break;
    case 3:
      ini.WriteBool(section, key, in.ConsumeBool());
      break;
    case 4:
      ini.DeleteKey(section, key);
      break;
    case 5:
      ini.EraseSection(section);
      break;
    case 6:
      ini.ReadSectionValues(section, list);
      break;
    case 7:
      ini.ReadInteger(section, key, 0);
      ini.ReadBool(section, key, false);
      break;
    case 8:
      ini.WriteString(in.ConsumeBool() ? section : std::string(), std::string(),
                      in.ConsumeBool() ? std::string() : "x");
      break;
    case 9: {
      TIniStrings lines;
      ini.GetStrings(lines);
      if (!lines.empty() && in.ConsumeBool()) lines.pop_back();
      ini.SetStrings(lines, in.ConsumeBool());
      break;
    }
    default:
      ini.ReadString(section, key, "?");
      ini.ValueExists(section, key);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  TFuzzFiles files;
  files.Files["a.ini"] = in.ConsumeRandomLengthString(8192);
  TOrvaneIniFile ini("a.ini", files);
  int operations = in.ConsumeIntegralInRange<int>(0, 40);
  for (int i = 0; i < operations && in.remaining_bytes() > 0; ++i) {
    Operate(in, ini);
    CheckStructure(ini);
  }
  TIniStrings written;
  ini.GetStrings(written);
  // A key created with an empty value leaves the document unmodified; erasing a section
  // that is not there marks it, so that the file surely follows the document.
  ini.EraseSection("\x01not there");
  ini.WriteString("", "", "");
  Check(!ini.Modified());

  TOrvaneIniFile reloaded("a.ini", files);
  TIniStrings reread;
  reloaded.GetStrings(reread);
  if (files.Files.count("a.ini") && reread != written) {
    for (const std::string& line : written) std::fprintf(stderr, "written  [%s]\n", line.c_str());
    for (const std::string& line : reread) std::fprintf(stderr, "reread   [%s]\n", line.c_str());
    Check(reread == written);
  }
  CheckStructure(reloaded);

  TIniStrings sections;
  TIniStrings again;
  ini.ReadSections(sections);
  reloaded.ReadSections(again);
  Check(sections == again);
  // Repeated key names resolve differently with and without key tables.
  if (ini.Lines().Indexed() == reloaded.Lines().Indexed()) {
    for (const std::string& section : sections) {
      TIniStrings keys;
      TIniStrings keysAgain;
      ini.ReadSection(section, keys);
      reloaded.ReadSection(section, keysAgain);
      Check(keys == keysAgain);
      for (const std::string& key : keys) {
        Check(ini.ReadString(section, key, "\x01") == reloaded.ReadString(section, key, "\x01"));
      }
    }
  }
  return 0;
}
