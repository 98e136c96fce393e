#pragma once
// The INI-file interface that every loader and saver of menu data takes, so that the
// engine's documents and the profile-based reader of the start-up path stand in for
// each other.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

// Lists of names, "name=value" pairs or lines.
using TIniStrings = std::vector<std::string>;
// Takes one key of a section: its name and its value.
using TIniKeyVisitor = std::function<void(std::string_view name, std::string_view value)>;

class TCustomIniFile {
public:
  explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;
  // Writers write their file in UpdateFile only, never on destruction.
  virtual ~TCustomIniFile() = default;

  const std::string& FileName() const { return fileName_; }

  virtual std::string ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) = 0;
  virtual void WriteString(const std::string& section, const std::string& ident,
                           const std::string& value) = 0;
  // Decimal, hexadecimal after "$" or "0x"; `defaultValue` when the text is no number.
  virtual int ReadInteger(const std::string& section, const std::string& ident, int defaultValue);
  virtual void WriteInteger(const std::string& section, const std::string& ident, int value);
  virtual bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue);
  virtual void WriteBool(const std::string& section, const std::string& ident, bool value);
  // Key names of a section, in file order.
  virtual void ReadSection(const std::string& section, TIniStrings& list) = 0;
  // Section names, in file order.
  virtual void ReadSections(TIniStrings& list) = 0;
  // "name=value" for every key of a section.
  virtual void ReadSectionValues(const std::string& section, TIniStrings& list) = 0;
  // The same keys handed one by one as name and value, in the order ReadSectionValues
  // lists them, as views that stay valid until the object is changed or asked again: a
  // menu file's section has thousands of keys, not worth a list in between. This one
  // keeps ReadSectionValues' list for its views; a document hands views of its lines.
  virtual void ForEachSectionValue(const std::string& section, const TIniKeyVisitor& visit);
  virtual void EraseSection(const std::string& section) = 0;
  virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
  // Whether ReadSection lists the key.
  virtual bool ValueExists(const std::string& section, const std::string& ident);
  virtual void UpdateFile() = 0;

private:
  std::string fileName_;
  TIniStrings handed_;  // what ForEachSectionValue's views show
};

// A "name=value" line as ReadSectionValues gives it: the name without its blanks, and the
// value (a line without "=" is a name with an empty value).
std::pair<std::string_view, std::string_view> SplitIniValueLine(std::string_view line);

// Names and values are single lines: a CR or LF would start a line of its own, and a NUL
// would end the text for the next reader.
bool HasLineBreak(std::string_view text);

// The system's string-to-integer rule: leading spaces, an optional sign, then decimal
// digits or "$" and hexadecimal digits, nothing after them, within 32 bits.
bool TryStrToInt(std::string_view text, int& value);
// ReadInteger's reading of a value: TryStrToInt, also taking "0x" for "$".
int IniIntegerValue(std::string_view text, int defaultValue);

}  // namespace orvane
