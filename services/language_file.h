#pragma once
// The language file reader: a text file that translates the windows' texts by property
// path, one section per window class, and the message texts by id.
//
//   ; Orvane language file
//   Codepage=1252
//   [TfrmMain]
//   btnCancel.Caption='Abbrechen'
//   [RESOURCESTRINGS]
//   64693_SLangDefault='Standard'
//
// A damaged file is read as far as it can be: what was read before a fatal problem is
// kept, the problems are listed, and nothing in it can make the reader fail otherwise.

#include <string>
#include <utility>
#include <vector>

#include "platform/locale_system.h"
#include "platform/messages.h"

namespace orvane {

// The first line of every language file (after an optional UTF-8 byte order mark).
inline constexpr char kLanguageSignature[] = "; Orvane language file";
// Longer files are not read at all; longer texts and paths are left out.
inline constexpr std::size_t kMaxLanguageFileSize = 4 * 1024 * 1024;
inline constexpr std::size_t kMaxLanguageText = 8192;
inline constexpr std::size_t kMaxLanguagePath = 512;
// Problems beyond this many are only counted.
inline constexpr std::size_t kMaxLanguageProblems = 50;

// One window class's section: property paths and their values, in file order.
struct TResForm {
  std::string ClassName;
  std::vector<std::string> Paths;
  std::vector<std::string> Values;
};

struct TLanguageFile {
  unsigned CodePage = 0;
  std::vector<TResForm> Forms;
  // Message texts by id, ascending, each id once (the first one in the file).
  std::vector<std::pair<MessageId, std::string>> ResStrings;
  std::vector<std::string> Problems;
  std::size_t ProblemsLeftOut = 0;
  // False when a fatal problem ended the reading early.
  bool Complete = true;

  const TResForm* Form(const std::string& className) const;
};

// Reads a language file's text; `path` only names it in problems. Texts are converted
// from the file's code page into the ANSI code page through `locale`.
TLanguageFile ParseLanguageFile(const std::string& data, const std::string& path,
                                ILocaleSystem& locale);

// A value as the file writes it: quoted runs ('text', '' for a quote) and character
// codes (#13); any other character ends a line, and the lines are joined with CR.
// False for an unterminated quoted run.
bool DecodeLanguageValue(const std::string& value, std::string& text);

}  // namespace orvane
