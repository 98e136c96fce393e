#pragma once
// One context-menu handler registration as the shell extension cleanup lists it, and the
// class identifier text rule of handler keys.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

struct TClassId {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::uint8_t Data4[8] = {};

  bool IsNull() const;
  bool operator==(const TClassId& other) const;
  bool operator<(const TClassId& other) const;
};

// A class identifier text: 38 characters, "{", 8 hexadecimal digits, "-", 4, "-", 4, "-",
// 4, "-", 12, and a last character that is not examined. Anything else: none.
std::optional<TClassId> ClassIdFromText(std::string_view text);
// The registry form, "{00000000-0000-0000-0000-000000000000}" with upper-case digits.
std::string ClassIdText(const TClassId& id);

// The registry views a class is registered in (CLSID\{...}\InProcServer32 opens there).
enum class TBitness : std::uint8_t { None = 0, Bits32 = 1, Bits64 = 2, Both = 3 };
inline TBitness operator|(TBitness a, TBitness b) {
  return static_cast<TBitness>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
// "32-bit", "64-bit", "32-bit and 64-bit", or "" for none.
std::string BitnessText(TBitness bitness);

struct TExtensionInfo {
  std::string Caption;
  // The module as its registration names it; ModuleFile is where this program reaches it
  // (found on the search path, or through the 64-bit system folder).
  std::string FileName;
  std::string ModuleFile;
  // The handler key relative to its root, without a leading "\".
  std::string KeyPath;
  std::string Description;
  std::string ProductName;
  std::string Version;
  std::string Company;
  TClassId CLSID;
  bool Disabled = false;
  bool Missing = false;
  bool Deleted = false;
  bool WantDisabled = false;
  TBitness Bitness = TBitness::None;
  // Listed under the shell's Blocked key by another tool: the file manager does not
  // load it, wherever its registration is.
  bool Blocked = false;
  // A key that a failed Apply copied but could not remove yet; the next Apply removes it.
  std::string LeftOver;
};

// Caption, module path or company contains `filter`, ignoring case; an empty filter
// matches everything.
bool MatchesFilter(const TExtensionInfo& info, std::string_view filter);

}  // namespace orvane
