#pragma once
// The special file types that have no extension (all files, folders, drives, perceived
// types ...), and the table of those that apply to the running system.

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

enum TPredefinedType : std::uint8_t {
  ptypAllFiles,
  ptypAllFileSystemObjects,
  ptypUnknown,
  ptypFolder,
  ptypDirectory,
  ptypBackground,
  ptypNetwork,
  ptypNetShare,
  ptypNetServer,
  ptypPrinters,
  ptypDrive,
  ptypAudioCD,
  ptypDVD,
  ptypImage,
  ptypText,
  ptypAudio,
  ptypVideo,
  ptypCompressed,
  ptypSystem,
};
inline constexpr int kPredefinedTypeCount = 19;

// A set of predefined types, one bit per TPredefinedType.
using TPredefinedTypes = std::uint32_t;
inline constexpr TPredefinedTypes kAllPredefinedTypes = 0x7FFFF;
constexpr TPredefinedTypes PredefinedTypeBit(TPredefinedType type) {
  return TPredefinedTypes{1} << type;
}

enum TPlatformClass : std::uint8_t { pcWin9x = 0, pcNT = 1, pcXP = 2 };
// A set of platform classes, one bit per TPlatformClass.
using TPlatformClasses = std::uint8_t;
inline constexpr TPlatformClasses kAllPlatforms = 0x7;

struct TSpecialClass {
  TPredefinedType PredefinedType;
  std::string Name;              // key name below HKEY_CLASSES_ROOT
  std::string Caption;           // in the current interface language
  std::int32_t MinShellVersion;  // major << 16 | minor; 0 = any
  TPlatformClasses Platforms;
  std::string DefaultIcon;
};

// The rows that apply to the running system, in SpecialTypes order.
struct TPredefinedTable {
  std::vector<std::string> Names;
  std::vector<std::string> Captions;
  std::vector<std::string> Icons;

  int Count() const { return static_cast<int>(Names.size()); }
  // First entry equal ignoring case, or -1.
  int IndexOf(const std::string& name) const;
};

// All 20 rows, captions as of the last BuildPredefinedTable.
const std::vector<TSpecialClass>& SpecialTypes();
const TPredefinedTable& PredefinedTable();

// Start-up facts of the running system; tests set them to play other systems.
std::int32_t ShellVersion();
void SetShellVersion(std::int32_t version);
TPlatformClass PlatformClass();
void SetPlatformClass(TPlatformClass value);
// The platform class of a Windows version (platform id 2 = NT).
TPlatformClass PlatformClassOf(unsigned platformId, unsigned major, unsigned minor);
// What "%SystemRoot%" and "%WinDir%" stand for in icon locations on Windows 9x.
const std::string& Win9xWindowsDir();

// Rebuilds SpecialTypes (captions in the current language) and PredefinedTable for
// the current platform class and shell version; the first two rows get the program's
// own icon.
void BuildPredefinedTable();
// The type of the first of all 20 rows whose name equals `name` ignoring case;
// ptypAllFiles when none does.
TPredefinedType TypeOfName(const std::string& name);

}  // namespace orvane
