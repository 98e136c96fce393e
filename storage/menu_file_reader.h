#pragma once
// The menu file's "Dynamic Items" and "Custom-drawn Menu Properties" sections as plain
// records, read in one pass over the file's text. The program builds its dynamic menu
// from the records and the shell extension module its context menus, so both read the
// section alike. Pure functions over their input: safe on several threads at once.
//
// What the readers have always tolerated stays tolerated: a missing or damaged "Count",
// missing numbers, entries without "FileType", a "Parent" that names no submenu read
// before the entry (or names a plain item), nesting deeper than kMaxMenuDepth, repeated
// sections and keys (the first one counts, as with the system's profile reader).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/custom_ini_file.h"

namespace orvane {

inline constexpr const char* kCustomDrawSection = "Custom-drawn Menu Properties";

// The deepest nesting of entries below a file type that a menu takes from a file or the
// clipboard: deeper entries of a damaged or hostile text are not read, so that recursive
// walks of the tree cannot exhaust the stack. 1 is an entry directly in its file type.
inline constexpr int kMaxMenuDepth = 64;

enum class TDynamicEntryKind : std::uint8_t { Item, Separator, Submenu };

// One entry of "Dynamic Items", as the program's loader takes it.
struct TDynamicItemRecord {
  int Number = 0;   // n of its keys
  int Parent = -1;  // index of the holding submenu's record; -1 directly in its file type
  int Depth = 1;    // 1 directly in its file type
  TDynamicEntryKind Kind = TDynamicEntryKind::Item;
  // Program, parameters and caption (a submenu: caption, hint and icon file) all empty:
  // the program logs and drops it. Such a record holds no entries.
  bool Invalid = false;
  bool Checked = false;
  // "Checked" held a number other than 0 or 1; Checked is then false.
  bool CheckedInvalid = false;
  int IconIndex = 0;
  std::string Application;  // plain items only
  std::string Parameters;   // plain items only
  std::string Caption;      // empty for separators
  std::string Hint;
  std::string IconFile;
  std::string FileType;  // never empty
};

// Colours: 0x00BBGGRR, 0xFF000000 + a system colour index, or kDefaultMenuColor.
inline constexpr std::uint32_t kDefaultMenuColor = 0x20000000u;

// What the drawing settings take; a value outside is damaged and reads as its default.
inline constexpr int kMinTextIndent = 10, kMaxTextIndent = 100;
inline constexpr int kMinTextFontSize = 6, kMaxTextFontSize = 20;  // or 0: no custom size
inline constexpr std::size_t kMaxFontFaceLength = 31;              // a font name's room
inline constexpr std::uint32_t kSystemColorFlag = 0xFF000000u;
inline constexpr std::uint32_t kKnownSystemColors = 31;  // the indexes GetSysColor knows

// An explicit colour, a known system colour or the default.
bool IsMenuColor(std::uint32_t value);

// "Custom-drawn Menu Properties"; missing, unreadable or damaged keys give these
// defaults, except that a boolean in any other text than "True" reads as false.
struct TCustomDrawRecord {
  bool Enabled = false;
  bool FirstLevelDefault = true;
  bool BackgroundFix = true;
  int TextIndent = 20;
  std::string TextFontFace;
  int TextFontSize = 0;
  std::uint32_t NormalTextColor = kDefaultMenuColor;
  std::uint32_t SelectedTextColor = kDefaultMenuColor;
  std::uint32_t NormalBackColor = kDefaultMenuColor;
  std::uint32_t SelectedBackColor = kDefaultMenuColor;
  std::uint32_t NormalIconBackColor = kDefaultMenuColor;
  std::uint32_t SelectedIconBackColor = kDefaultMenuColor;
  std::uint8_t FrameStyle = 0;  // 0 none, 1 raised, 2 lowered, 3 bordered
  std::uint32_t FrameLightColor = kDefaultMenuColor;
  std::uint32_t FrameShadowColor = kDefaultMenuColor;
  std::uint32_t FrameBorderColor = kDefaultMenuColor;
  bool FrameAll = false;

  bool operator==(const TCustomDrawRecord&) const = default;
};

// The section's keys in the order they are read and written.
inline constexpr std::size_t kCustomDrawKeyCount = 17;
extern const char* const kCustomDrawKeys[kCustomDrawKeyCount];

struct TMenuFileRecords {
  // In number order; a submenu's record comes before those it holds.
  std::vector<TDynamicItemRecord> DynamicItems;
  TCustomDrawRecord CustomDraw;
};

// The whole menu file's text, with the system's profile reader's rules: names compared
// without case, blanks around names and values dropped, one pair of matching quotes
// around a value removed, ";" inside a value kept, values cut to 2047 characters, a NUL
// byte ending the text.
TMenuFileRecords ReadMenuFileText(std::string_view text);

// A section's "name=value" lines as an INI object's ReadSectionValues gives them, the
// values already read by that object's own rules. `leftOut`, when given, gets a line for
// each entry left out because no submenu read before it holds it or it is nested too deep.
std::vector<TDynamicItemRecord> ReadDynamicItems(const std::vector<std::string>& nameValues,
                                                  std::vector<std::string>* leftOut = nullptr);
// The same from a reader that hands the section's keys, in that order, to the visitor
// it is given (as TCustomIniFile::ForEachSectionValue does); its views must last until
// the call returns.
std::vector<TDynamicItemRecord> ReadDynamicItems(
    const std::function<void(const TIniKeyVisitor&)>& keys,
    std::vector<std::string>* leftOut = nullptr);

// "Custom-drawn Menu Properties" from "name=value" lines as an INI object's
// ReadSectionValues gives them.
TCustomDrawRecord ReadCustomDraw(const std::vector<std::string>& nameValues);

// The fields of entry `n` on its own (a clipboard text holds such entries): `value` gives
// the text of the key made of a base name ("Caption") and n, empty when absent. A
// submenu's record is asked for by its class, as the "Submenu" key is left to the caller;
// Parent, Depth and FileType stay as they are.
TDynamicItemRecord DynamicItemFromValues(
    int n, bool submenu, const std::function<std::string(std::string_view base)>& value);

}  // namespace orvane
