#pragma once
// The program's INI reader and writer. It holds a whole file in memory as lines and keeps
// the user's layout (comments, blank lines, order, inline comments after values) through
// edits; it reads the file on first use and writes it on UpdateFile when something changed.

#include <string>

#include "platform/file_access.h"
#include "storage/custom_ini_file.h"
#include "storage/ini_items.h"

namespace orvane {

struct TIniOptions {
  bool CaseSensitive = false;
  // Without case sensitivity: fold case by the ANSI upper-case table rather than ASCII.
  bool LocaleCase = true;
};

class TOrvaneIniFile : public TCustomIniFile {
public:
  // A document without a file (the clipboard format uses it so).
  explicit TOrvaneIniFile(TIniOptions options = TIniOptions());
  // The document of `fileName`, read and written through `files`.
  TOrvaneIniFile(std::string fileName, IFileAccess& files, TIniOptions options = TIniOptions());
  // Never writes: a change reaches the file only through UpdateFile, whose failure the
  // caller sees. A modified document that goes without it loses its changes.
  ~TOrvaneIniFile() override = default;

  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& defaultValue) override;
  // Raises EIniLineBreakError for a name or value that would not stay on its line.
  // Values are stored as QuoteIniValue makes them.
  void WriteString(const std::string& section, const std::string& ident,
                   const std::string& value) override;
  void ReadSection(const std::string& section, TIniStrings& list) override;
  void ReadSections(TIniStrings& list) override;
  void ReadSectionValues(const std::string& section, TIniStrings& list) override;
  void ForEachSectionValue(const std::string& section, const TIniKeyVisitor& visit) override;
  void EraseSection(const std::string& section) override;
  void DeleteKey(const std::string& section, const std::string& ident) override;
  void UpdateFile() override { Flush(); }

  // Writes the document when it is modified; raises when that fails (also when it has no
  // file), and the document stays modified.
  void Flush();
  // Forgets the document; the next access reads the file again.
  void Clear();
  // Appends every line as it would be written.
  void GetStrings(TIniStrings& list);
  // Makes the document equal to `list`; without `force` an equal document is left alone.
  void SetStrings(const TIniStrings& list, bool force = false);
  // Fewer lines compare lower; then the first differing line pair decides.
  virtual int CompareStrings(const TIniStrings& a, const TIniStrings& b) const;

  bool Loaded() const { return loaded_; }
  bool Modified() const { return modified_; }
  bool StripComments() const { return stripComments_; }
  void SetStripComments(bool value) { stripComments_ = value; }
  bool StripQuotes() const { return stripQuotes_; }
  void SetStripQuotes(bool value) { stripQuotes_ = value; }
  bool CaseSensitive() const { return options_.CaseSensitive; }
  bool LocaleCase() const { return options_.LocaleCase; }
  // The document's lines (read from the file first when needed).
  const TIniItems& Lines();

private:
  void EnsureLoaded() {
    if (!loaded_) Load();
  }
  void Load();
  std::string Text() const;
  // The value of the key line at `index`, comments and quotes stripped as set.
  std::string_view ValueAt(std::size_t index) const;

  IFileAccess* files_;  // null for a document without a file
  TIniOptions options_;
  TIniNameRules rules_;
  TIniItems lines_;
  bool loaded_ = false;
  bool modified_ = false;
  bool stripComments_ = true;
  bool stripQuotes_ = true;
};

// Position of the first ";" outside double quotes in a value, or npos.
std::size_t FindInlineComment(std::string_view value);

// The text to store for `value` so that this engine and the system's profile reader both
// read it back unchanged: the value itself when they do, else the value in one more pair
// of double or single quotes (which both readers remove). Only a value with a ";" both
// between and outside double quotes still loses its end to the engine's comment rule.
std::string QuoteIniValue(const std::string& value);

}  // namespace orvane
