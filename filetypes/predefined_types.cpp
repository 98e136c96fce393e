#include "filetypes/predefined_types.h"

#include <optional>

#include "platform/ansi_case.h"
#include "platform/messages.h"
#include "platform/system_folders.h"
#include "platform/system_info.h"

namespace orvane {
namespace {

constexpr std::int32_t kShell471 = 0x40047;
constexpr TPlatformClasses kWin9x = 1 << pcWin9x;
constexpr TPlatformClasses kNtXp = (1 << pcNT) | (1 << pcXP);
constexpr TPlatformClasses kXp = 1 << pcXP;

std::vector<TSpecialClass> MakeSpecialTypes() {
  auto row = [](TPredefinedType type, const char* name, MessageId caption, std::int32_t shell,
                TPlatformClasses platforms, const char* icon) {
    return TSpecialClass{type, name, LoadResString(caption), shell, platforms, icon};
  };
  const TPlatformClasses all = kAllPlatforms;
  return {
      row(ptypAllFiles, "*", msg::SCaptionAllFiles, 0, all, ""),
      row(ptypAllFileSystemObjects, "AllFileSystemObjects", msg::SCaptionAllFileSystemObjects,
          kShell471, all, ""),
      row(ptypUnknown, "Unknown", msg::SCaptionUnknown, 0, all, "shell32.dll,0"),
      row(ptypFolder, "Folder", msg::SCaptionFolder, 0, all, "shell32.dll,3"),
      row(ptypDirectory, "Directory", msg::SCaptionDirectory, 0, all, "shell32.dll,3"),
      row(ptypBackground, "Directory\\Background", msg::SCaptionBackground, kShell471, all,
          "shell32.dll,100"),
      row(ptypNetwork, "Network", msg::SCaptionNetwork, 0, all, "shell32.dll,17"),
      row(ptypNetShare, "NetShare", msg::SCaptionNetShare, kShell471, all, "shell32.dll,28"),
      row(ptypNetServer, "NetServer", msg::SCaptionNetServer, kShell471, all, "shell32.dll,18"),
      row(ptypPrinters, "Printers", msg::SCaptionPrinters, 0, all, "shell32.dll,16"),
      row(ptypDrive, "Drive", msg::SCaptionDrive, 0, all, "shell32.dll,8"),
      row(ptypAudioCD, "AudioCD", msg::SCaptionAudioCD, 0, all, "shell32.dll,11"),
      row(ptypDVD, "DVDFile", msg::SCaptionDVD, kShell471, kWin9x, "shell32.dll,11"),
      row(ptypDVD, "DVD", msg::SCaptionDVD, kShell471, kNtXp, "shell32.dll,11"),
      row(ptypImage, "SystemFileAssociations\\Image", msg::SCaptionImages, kShell471, kXp, ""),
      row(ptypText, "SystemFileAssociations\\Text", msg::SCaptionText, kShell471, kXp, ""),
      row(ptypAudio, "SystemFileAssociations\\Audio", msg::SCaptionAudio, kShell471, kXp, ""),
      row(ptypVideo, "SystemFileAssociations\\Video", msg::SCaptionVideo, kShell471, kXp, ""),
      row(ptypCompressed, "SystemFileAssociations\\Compressed", msg::SCaptionCompressed, kShell471,
          kXp, ""),
      row(ptypSystem, "SystemFileAssociations\\System", msg::SCaptionSystem, kShell471, kXp, ""),
  };
}

struct State {
  std::vector<TSpecialClass> special = MakeSpecialTypes();
  TPredefinedTable table;
  std::optional<std::int32_t> shellVersion;
  std::optional<TPlatformClass> platformClass;
  std::optional<std::string> win9xDir;
  bool built = false;
};

State& Global() {
  static State state;
  return state;
}

void EnsureBuilt() {
  if (!Global().built) BuildPredefinedTable();
}

}  // namespace

int TPredefinedTable::IndexOf(const std::string& name) const {
  for (int i = 0; i < Count(); ++i) {
    if (AnsiSameText(Names[i], name)) return i;
  }
  return -1;
}

const std::vector<TSpecialClass>& SpecialTypes() { return Global().special; }

const TPredefinedTable& PredefinedTable() {
  EnsureBuilt();
  return Global().table;
}

std::int32_t ShellVersion() {
  auto& v = Global().shellVersion;
  if (!v) v = GetDllVersion("shell32.dll");
  return *v;
}

void SetShellVersion(std::int32_t version) { Global().shellVersion = version; }

TPlatformClass PlatformClassOf(unsigned platformId, unsigned major, unsigned minor) {
  if (platformId != 2) return pcWin9x;
  return (major > 5 || (major == 5 && minor > 0)) ? pcXP : pcNT;
}

TPlatformClass PlatformClass() {
  auto& v = Global().platformClass;
  if (!v) {
    TOSVersionData os = ReadOSVersionData();
    v = PlatformClassOf(os.PlatformId, os.MajorVersion, os.MinorVersion);
  }
  return *v;
}

void SetPlatformClass(TPlatformClass value) { Global().platformClass = value; }

const std::string& Win9xWindowsDir() {
  auto& v = Global().win9xDir;
  if (!v) {
    std::string dir = WindowsFolder();
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    v = dir;
  }
  return *v;
}

void BuildPredefinedTable() {
  State& state = Global();
  state.built = true;
  state.table = TPredefinedTable{};
  state.special = MakeSpecialTypes();
  const std::int32_t shell = ShellVersion();
  const TPlatformClasses platform = static_cast<TPlatformClasses>(1 << PlatformClass());
  for (const TSpecialClass& row : state.special) {
    if ((row.Platforms & platform) == 0 || shell < row.MinShellVersion) continue;
    state.table.Names.push_back(row.Name);
    state.table.Captions.push_back(row.Caption);
    state.table.Icons.push_back(row.DefaultIcon);
  }
  const std::string ownIcon = ProgramFileName() + ",-2000";
  for (int i = 0; i < 2 && i < state.table.Count(); ++i) state.table.Icons[i] = ownIcon;
}

TPredefinedType TypeOfName(const std::string& name) {
  for (const TSpecialClass& row : SpecialTypes()) {
    if (AnsiSameText(row.Name, name)) return row.PredefinedType;
  }
  return ptypAllFiles;
}

}  // namespace orvane
