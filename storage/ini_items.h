#pragma once
// The in-memory form of an INI document: its lines in file order, the sections found
// through a hash table, and per-section key tables once sections grow large.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class TIniItemKind : std::uint8_t {
  Key = 0,       // name=value
  Text = 1,      // neither key, header, comment nor blank
  Unparsed = 2,  // key or text, told apart on first use
  Section = 3,   // [name]
  Comment = 4,   // ; ...
  Blank = 5,
};

// One line of the file.
struct TIniItem {
  TIniItemKind Kind = TIniItemKind::Blank;
  std::uint32_t Hash = 0;  // of the key name (keys only)
  std::string Text;        // the key name, or the whole trimmed line; empty for blanks
  std::string Value;       // keys only
};

// Name comparison and hashing: case-insensitive by the ANSI upper-case table (the usual
// way), by ASCII letters only, or byte-exact.
class TIniNameRules {
public:
  TIniNameRules(bool caseSensitive, bool localeCase);

  std::uint32_t Hash(std::string_view name) const {
    std::uint32_t hash = 0;
    for (unsigned char c : name) hash = ((hash << 2) | (hash >> 30)) ^ table_[c];
    return hash;
  }
  bool Same(std::string_view a, std::string_view b) const;

private:
  std::array<unsigned char, 256> table_{};
  bool exact_;
};

// A section's key table: every key line of the section by the low 8 bits of its hash.
// Entries hold line offsets from the section's start, so that lines moving in front of
// the section leave the table valid.
struct TKeyEntry {
  std::uint32_t Hash;
  std::uint32_t Offset;
};
using TKeyTable = std::array<std::vector<TKeyEntry>, 256>;

struct TSectionItem {
  TSectionItem* Next = nullptr;         // chain link
  std::unique_ptr<TKeyTable> KeyIndex;  // null until first used in indexed mode
  std::size_t Start = 0;                // line after the header
  std::string Name;                     // between the brackets, not trimmed
  std::uint32_t Hash = 0;
};

struct TStatistics {
  std::size_t Blanks = 0;
  std::size_t Comments = 0;
  std::size_t Others = 0;  // keys, text and unparsed lines
  std::size_t Sections = 0;
};

class TIniItems {
public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  // Average lines per section above which key tables are used.
  static constexpr std::size_t kIndexThreshold = 249;

  explicit TIniItems(const TIniNameRules& rules) : rules_(rules) {}
  TIniItems(const TIniItems&) = delete;
  TIniItems& operator=(const TIniItems&) = delete;

  std::size_t Count() const { return lines_.size(); }
  std::size_t Capacity() const { return lines_.capacity(); }
  // The line at `index`; EListError outside the document.
  const TIniItem& Item(std::size_t index) const;
  const TStatistics& Statistics() const { return stats_; }
  bool Indexed() const { return indexed_; }
  // Sections in file order, repeated names included.
  const std::vector<std::unique_ptr<TSectionItem>>& Sections() const { return order_; }

  void Clear();
  // Replaces the document with the lines of `text`.
  void Parse(std::string_view text);
  // Appends `text`, sorting it into its kind.
  void AppendLine(std::string_view text);

  TSectionItem* FindSection(std::string_view name, bool create);
  // The index of the header after the section's lines (or Count).
  std::size_t SectionEnd(const TSectionItem& section) const;
  // The key line, or npos; the indexed search when the document is indexed.
  std::size_t FindKey(TSectionItem& section, std::string_view name);
  std::size_t FindKeyLinear(const TSectionItem& section, std::string_view name);
  // Inserts an empty key after the section's last key or text line and returns its index.
  std::size_t CreateKey(TSectionItem& section, std::string_view name);
  void DeleteKeyLine(TSectionItem& section, std::size_t index);
  void EraseSection(TSectionItem& section);

  // Splits an unparsed line into key or text.
  void Parse(std::size_t index) {
    if (lines_[index].Kind == TIniItemKind::Unparsed) ParseLine(lines_[index]);
  }
  TIniItem& Line(std::size_t index) { return lines_[index]; }
  const TIniItem& Line(std::size_t index) const { return lines_[index]; }

  // The line as written to the file, without its line break.
  void AppendLineText(std::size_t index, std::string& out) const;

private:
  void ParseLine(TIniItem& item) const;
  void Grow();
  void Tally(TIniItemKind kind, int delta);
  void AddSection(std::string name, std::size_t start);
  void UnlinkSection(TSectionItem& section);
  void ShiftSectionsAfter(std::size_t index, std::ptrdiff_t delta);
  void BuildKeyTable(TSectionItem& section);

  const TIniNameRules& rules_;
  std::vector<TIniItem> lines_;
  std::array<TSectionItem*, 256> chains_{};
  std::vector<std::unique_ptr<TSectionItem>> order_;
  TStatistics stats_;
  TSectionItem* last_ = nullptr;
  bool indexed_ = false;
};

// Calls `line` for every line of `text`: a line ends at CR, LF or CR LF; LF CR is two
// breaks; a text ending with a break has no empty line after it.
template <class Line>
inline void ForEachLine(std::string_view text, Line line) {
  const char* data = text.data();
  const size_t size = text.size();
  // The next CR and LF, each searched once per occurrence, so that a file with only one
  // kind of break is still read in one pass.
  size_t nextCr = 0;
  size_t nextLf = 0;
  bool crKnown = false;
  bool lfKnown = false;
  size_t pos = 0;
  while (pos < size) {
    if (!crKnown || nextCr < pos) {
      const void* p = std::memchr(data + pos, '\r', size - pos);
      nextCr = p ? static_cast<size_t>(static_cast<const char*>(p) - data) : size;
      crKnown = true;
    }
    if (!lfKnown || nextLf < pos) {
      const void* p = std::memchr(data + pos, '\n', size - pos);
      nextLf = p ? static_cast<size_t>(static_cast<const char*>(p) - data) : size;
      lfKnown = true;
    }
    std::size_t end = std::min(nextCr, nextLf);
    line(text.substr(pos, end - pos));
    if (end >= size) break;
    pos = end + ((data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ? 2 : 1);
  }
}

// Blank characters (bytes 1 to 32) off both ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace orvane
