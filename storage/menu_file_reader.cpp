#include "storage/menu_file_reader.h"

#include <algorithm>
#include <array>
#include <climits>
#include <unordered_map>

#include "platform/ansi_case.h"
#include "platform/messages.h"
#include "platform/profile_strings.h"
#include "storage/custom_ini_file.h"
#include "storage/ini_items.h"
#include "storage/menu_file.h"

namespace orvane {
namespace {

enum TField : std::uint8_t {
  fParent,
  fIsSeparator,
  fSubmenu,
  fApplication,
  fParameters,
  fCaption,
  fHint,
  fIconFile,
  fIconIndex,
  fChecked,
  fFileType,
  kFieldCount
};

constexpr std::array<std::string_view, kFieldCount> kBases = {
    "Parent",     "IsSeparator", "Submenu",  "Application", "Parameters", "Caption",
    "Hint",       "IconFile",    "IconIndex", "Checked",    "FileType"};

int FieldOf(std::string_view base) {
  for (int f = 0; f < kFieldCount; ++f)
    if (base.size() == kBases[f].size() && AnsiSameText(base, kBases[f])) return f;
  return -1;
}

// The number ending a key name, as a key made of a base name and std::to_string(n) for
// n >= 1 spells it: no sign, no leading zero. -1 when there is none.
int TrailingNumber(std::string_view name, std::size_t& digitsAt) {
  std::size_t at = name.size();
  while (at > 0 && name[at - 1] >= '0' && name[at - 1] <= '9') --at;
  std::size_t digits = name.size() - at;
  if (digits == 0 || digits > 10 || name[at] == '0') return -1;
  long long number = 0;
  for (std::size_t i = at; i < name.size(); ++i) number = number * 10 + (name[i] - '0');
  if (number > INT_MAX) return -1;
  digitsAt = at;
  return static_cast<int>(number);
}

// The fields of one entry as the program's loader reads them; `get` gives a field's text.
template <class Get>
TDynamicItemRecord MakeRecord(int n, bool submenu, Get get) {
  TDynamicItemRecord record;
  record.Number = n;
  if (submenu) {
    record.Kind = TDynamicEntryKind::Submenu;
    record.Caption = get(fCaption);
    record.Hint = get(fHint);
    record.IconFile = get(fIconFile);
    record.Invalid = record.Caption.empty() && record.Hint.empty() && record.IconFile.empty();
  } else if ((IniIntegerValue(get(fIsSeparator), 0) & 0xFF) != 0) {
    record.Kind = TDynamicEntryKind::Separator;
    record.IconIndex = -1;
  } else {
    record.Application = get(fApplication);
    record.Parameters = get(fParameters);
    record.Caption = get(fCaption);
    record.Hint = get(fHint);
    record.Invalid =
        record.Application.empty() && record.Parameters.empty() && record.Caption.empty();
    if (!record.Invalid) record.IconFile = get(fIconFile);
  }
  if (record.Invalid) return record;
  if (record.Kind != TDynamicEntryKind::Separator)
    record.IconIndex = IniIntegerValue(get(fIconIndex), 0);
  int checked = IniIntegerValue(get(fChecked), 0);
  record.Checked = checked == 1;
  record.CheckedInvalid = checked != 0 && checked != 1;
  return record;
}

// Gathers the keys of "Dynamic Items" in one pass, the first of repeated names counting,
// and turns them into records in number order.
class TDynamicItemsCollector {
public:
  void Key(std::string_view name, std::string_view value) {
    std::size_t digitsAt = 0;
    int number = TrailingNumber(name, digitsAt);
    if (number < 0) {
      if (!countSeen_ && AnsiSameText(name, "Count")) {
        countSeen_ = true;
        count_ = value;
      }
      return;
    }
    int field = FieldOf(name.substr(0, digitsAt));
    if (field < 0) return;
    TSlot& slot = SlotOf(number);
    std::uint16_t bit = static_cast<std::uint16_t>(1u << field);
    if (slot.Present & bit) return;
    slot.Present |= bit;
    slot.Values[field] = value;
  }

  // `leftOut`, when given, gets a line for each entry left out for its place in the tree.
  std::vector<TDynamicItemRecord> Records(std::vector<std::string>* leftOut = nullptr) {
    std::vector<TDynamicItemRecord> records;
    int count = IniIntegerValue(count_, 0);
    std::vector<std::size_t> order;
    order.reserve(slots_.size());
    for (std::size_t i = 0; i < slots_.size(); ++i)
      if (slots_[i].Number <= count && !slots_[i].Values[fFileType].empty()) order.push_back(i);
    auto byNumber = [&](std::size_t a, std::size_t b) { return slots_[a].Number < slots_[b].Number; };
    if (!std::is_sorted(order.begin(), order.end(), byNumber))
      std::sort(order.begin(), order.end(), byNumber);
    records.reserve(order.size());
    for (std::size_t index : order) {
      TSlot& slot = slots_[index];
      int parent = -1;
      int depth = 1;
      int parentNumber = IniIntegerValue(slot.Values[fParent], 0);
      if (parentNumber != 0) {
        // Only a submenu read before the entry holds it.
        auto found = byNumber_.find(parentNumber);
        parent = found == byNumber_.end() ? -1 : slots_[found->second].Record;
        if (parent < 0 || records[parent].Kind != TDynamicEntryKind::Submenu) {
          if (leftOut)
            leftOut->push_back(FormatRes(msg::SEntryParentMissing, {slot.Number, parentNumber}));
          continue;
        }
        depth = records[parent].Depth + 1;
        if (depth > kMaxMenuDepth) {
          if (leftOut) leftOut->push_back(FormatRes(msg::SEntryTooDeep, {slot.Number, kMaxMenuDepth}));
          continue;
        }
      }
      bool submenu = IniIntegerValue(slot.Values[fSubmenu], 0) == 1;
      TDynamicItemRecord record = MakeRecord(
          slot.Number, submenu, [&](TField f) { return std::string(slot.Values[f]); });
      record.Parent = parent;
      record.Depth = depth;
      record.FileType.assign(slot.Values[fFileType]);
      if (!record.Invalid) slot.Record = static_cast<int>(records.size());
      records.push_back(std::move(record));
    }
    return records;
  }

private:
  struct TSlot {
    int Number = 0;
    int Record = -1;
    std::uint16_t Present = 0;
    std::array<std::string_view, kFieldCount> Values;
  };

  TSlot& SlotOf(int number) {
    // The writer puts each entry's keys together.
    if (number == lastNumber_) return slots_[lastSlot_];
    auto [it, added] = byNumber_.try_emplace(number, slots_.size());
    if (added) slots_.emplace_back().Number = number;
    lastNumber_ = number;
    lastSlot_ = it->second;
    return slots_[lastSlot_];
  }

  std::vector<TSlot> slots_;
  std::unordered_map<int, std::size_t> byNumber_;
  int lastNumber_ = -1;
  std::size_t lastSlot_ = 0;
  bool countSeen_ = false;
  std::string_view count_;
};

enum TDrawKey : std::uint8_t {
  dEnabled,
  dFirstLevelDefault,
  dBackgroundFix,
  dTextIndent,
  dTextFontFace,
  dTextFontSize,
  dNormalTextColor,
  dSelectedTextColor,
  dNormalBackColor,
  dSelectedBackColor,
  dNormalIconBackColor,
  dSelectedIconBackColor,
  dFrameStyle,
  dFrameLightColor,
  dFrameShadowColor,
  dFrameBorderColor,
  dFrameAll,
  kDrawKeyCount
};

static_assert(kDrawKeyCount == kCustomDrawKeyCount);

class TCustomDrawCollector {
public:
  void Key(std::string_view name, std::string_view value) {
    for (int k = 0; k < kDrawKeyCount; ++k) {
      if (!AnsiSameText(name, kCustomDrawKeys[k])) continue;
      if (!present_[k]) values_[k] = value;
      present_[k] = true;
      return;
    }
  }

  TCustomDrawRecord Record() const {
    TCustomDrawRecord r;
    auto flag = [&](TDrawKey k, bool& out) {
      if (present_[k]) out = AnsiSameText(values_[k], "True");
    };
    // A number the settings cannot take is as damaged as one that does not parse.
    auto number = [&](TDrawKey k, int& out, int low, int high, bool zeroToo = false) {
      if (!present_[k]) return;
      int value = IniIntegerValue(values_[k], out);
      if ((value >= low && value <= high) || (zeroToo && value == 0)) out = value;
    };
    auto colour = [&](TDrawKey k, std::uint32_t& out) {
      if (!present_[k]) return;
      auto value = static_cast<std::uint32_t>(
          IniIntegerValue(values_[k], static_cast<int>(kDefaultMenuColor)));
      if (IsMenuColor(value)) out = value;
    };
    flag(dEnabled, r.Enabled);
    flag(dFirstLevelDefault, r.FirstLevelDefault);
    flag(dBackgroundFix, r.BackgroundFix);
    number(dTextIndent, r.TextIndent, kMinTextIndent, kMaxTextIndent);
    // No font has a longer name: such a text would only be cut into another name.
    if (present_[dTextFontFace] && values_[dTextFontFace].size() <= kMaxFontFaceLength)
      r.TextFontFace.assign(values_[dTextFontFace]);
    number(dTextFontSize, r.TextFontSize, kMinTextFontSize, kMaxTextFontSize, true);
    colour(dNormalTextColor, r.NormalTextColor);
    colour(dSelectedTextColor, r.SelectedTextColor);
    colour(dNormalBackColor, r.NormalBackColor);
    colour(dSelectedBackColor, r.SelectedBackColor);
    colour(dNormalIconBackColor, r.NormalIconBackColor);
    colour(dSelectedIconBackColor, r.SelectedIconBackColor);
    int style = 0;
    number(dFrameStyle, style, 0, 3);
    r.FrameStyle = static_cast<std::uint8_t>(style);
    colour(dFrameLightColor, r.FrameLightColor);
    colour(dFrameShadowColor, r.FrameShadowColor);
    colour(dFrameBorderColor, r.FrameBorderColor);
    flag(dFrameAll, r.FrameAll);
    return r;
  }

private:
  std::array<std::string_view, kDrawKeyCount> values_{};
  std::array<bool, kDrawKeyCount> present_{};
};

// A value as the profile reader gives it.
std::string_view ProfileValue(std::string_view value) {
  value = TrimBlanks(value);
  if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value.substr(0, std::min(value.size(), kProfileBufferSize - 1));
}

// Splits "name=value" (a line without "=" is a name with an empty value).
std::pair<std::string_view, std::string_view> SplitKey(std::string_view line) {
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {line, {}};
  return {TrimBlanks(line.substr(0, equals)), line.substr(equals + 1)};
}

}  // namespace

const char* const kCustomDrawKeys[kCustomDrawKeyCount] = {
    "Enabled",         "FirstLevelDefault",   "BackgroundFix",         "TextIndent",
    "TextFontFace",    "TextFontSize",        "NormalTextColor",       "SelectedTextColor",
    "NormalBackColor", "SelectedBackColor",   "NormalIconBackColor",   "SelectedIconBackColor",
    "FrameStyle",      "FrameLightColor",     "FrameShadowColor",      "FrameBorderColor",
    "FrameAll"};

bool IsMenuColor(std::uint32_t value) {
  if (value == kDefaultMenuColor || (value & 0xFF000000u) == 0) return true;
  return (value & 0xFF000000u) == kSystemColorFlag && (value & 0x00FFFFFFu) < kKnownSystemColors;
}

TMenuFileRecords ReadMenuFileText(std::string_view text) {
  if (const void* nul = std::memchr(text.data(), 0, text.size()))
    text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
  enum class TIn { Other, Dynamic, CustomDraw } in = TIn::Other;
  bool dynamicSeen = false;
  bool customDrawSeen = false;
  TDynamicItemsCollector items;
  TCustomDrawCollector draw;
  ForEachLine(text, [&](std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
      std::size_t close = line.rfind(']');
      std::string_view name =
          TrimBlanks(line.substr(1, close == std::string_view::npos ? close : close - 1));
      in = TIn::Other;
      // Only the first section of a name is read.
      if (AnsiSameText(name, kDynamicItemsSection)) {
        if (!dynamicSeen) in = TIn::Dynamic;
        dynamicSeen = true;
      } else if (AnsiSameText(name, kCustomDrawSection)) {
        if (!customDrawSeen) in = TIn::CustomDraw;
        customDrawSeen = true;
      }
      return;
    }
    if (in == TIn::Other) return;
    auto [name, value] = SplitKey(line);
    if (in == TIn::Dynamic) {
      items.Key(name, ProfileValue(value));
    } else {
      draw.Key(name, ProfileValue(value));
    }
  });
  TMenuFileRecords records;
  records.DynamicItems = items.Records();
  records.CustomDraw = draw.Record();
  return records;
}

std::vector<TDynamicItemRecord> ReadDynamicItems(const std::vector<std::string>& nameValues,
                                                  std::vector<std::string>* leftOut) {
  return ReadDynamicItems(
      [&nameValues](const TIniKeyVisitor& visit) {
        for (const std::string& line : nameValues) {
          auto [name, value] = SplitIniValueLine(line);
          visit(name, value);
        }
      },
      leftOut);
}

std::vector<TDynamicItemRecord> ReadDynamicItems(
    const std::function<void(const TIniKeyVisitor&)>& keys, std::vector<std::string>* leftOut) {
  TDynamicItemsCollector items;
  keys([&items](std::string_view name, std::string_view value) { items.Key(name, value); });
  return items.Records(leftOut);
}

TCustomDrawRecord ReadCustomDraw(const std::vector<std::string>& nameValues) {
  TCustomDrawCollector draw;
  for (const std::string& line : nameValues) {
    auto [name, value] = SplitIniValueLine(line);
    draw.Key(name, value);
  }
  return draw.Record();
}

TDynamicItemRecord DynamicItemFromValues(
    int n, bool submenu, const std::function<std::string(std::string_view base)>& value) {
  return MakeRecord(n, submenu, [&](TField f) { return value(kBases[f]); });
}

}  // namespace orvane
