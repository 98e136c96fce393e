#include "filetypes/file_type_icons.h"

#include <cstdlib>
#include <unordered_map>

#include "filetypes/erroneous_file_type.h"
#include "filetypes/file_type.h"
#include "filetypes/file_types.h"
#include "filetypes/predefined_types.h"
#include "platform/ansi_case.h"
#include "platform/messages.h"

namespace orvane {
namespace {

int IndexOrZero(std::string text) {
  // Blanks around the number are allowed, as the shell's own parser allows them.
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return 0;
  text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
  size_t start = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (start == text.size() || text.size() - start > 10) return 0;
  long long value = 0;
  for (size_t i = start; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    value = value * 10 + (text[i] - '0');
  }
  if (text[0] == '-') value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return 0;
  return static_cast<int>(value);
}

bool StartsWithWindowsDir(const std::string& file, size_t& length) {
  for (const char* name : {"%SystemRoot%", "%WinDir%"}) {
    const size_t n = std::char_traits<char>::length(name);
    if (file.size() < n || !AnsiSameText(std::string_view(file).substr(0, n), name)) continue;
    if (file.size() == n || file[n] == '\\' || file[n] == ',' || file[n] == '"') {
      length = n;
      return true;
    }
  }
  return false;
}

bool SizeMatches(IIconSource& source, const TIcon& icon, int height, int width, bool both) {
  int w = 0;
  int h = 0;
  if (!icon || !source.IconSize(icon.Get(), w, h)) return false;
  return both ? (w == width && h == height) : (w == width || h == height);
}

}  // namespace

TIconLocation ParseIconLocation(const std::string& location) {
  // A comma inside the quotes around the file belongs to the file.
  size_t searchFrom = 0;
  if (!location.empty() && location[0] == '"') {
    size_t closing = location.find('"', 1);
    if (closing != std::string::npos) searchFrom = closing;
  }
  size_t comma = location.rfind(',');
  if (comma == std::string::npos || comma < searchFrom) return {location, 0};
  return {location.substr(0, comma), IndexOrZero(location.substr(comma + 1))};
}

std::string Unquote(const std::string& text) {
  std::string result = text;
  if (!result.empty() && result.front() == '"') result.erase(0, 1);
  if (!result.empty() && result.back() == '"') result.pop_back();
  return result;
}

std::string ExpandIconPath(const std::string& file, IIconSource& source) {
  if (source.IsNT()) return source.ExpandEnvironment(file);
  size_t length = 0;
  if (!StartsWithWindowsDir(file, length)) return file;
  return Win9xWindowsDir() + file.substr(length);
}

namespace {

// A location's file as extraction is asked for it: unquoted and expanded.
std::string IconFileOf(const TIconLocation& parsed, IIconSource& source) {
  return ExpandIconPath(Unquote(parsed.File), source);
}

bool IconFileFound(const std::string& file, IIconSource& source) {
  const size_t split = file.find_last_of("\\:");
  const std::string dir = split == std::string::npos ? std::string() : file.substr(0, split + 1);
  const std::string name = split == std::string::npos ? file : file.substr(split + 1);
  std::string found;
  return source.FindFile(dir, name, found);
}

void AddMissingIconFileBug(TAdvStringList& bugs, const std::string& file, const TFileType& type) {
  AddBug(bugs, bkMissingIconFile,
         FormatRes(msg::SBugMissingIconFile, {file, type.Description(), type.Name()}),
         type.Name(), type.Description());
}

// The icon of `file` at `index`, sized for the list; tried regardless of the search.
bool ExtractSizedIcon(const std::string& file, int index, int height, int width, bool small,
                      TIcon& icon, IIconSource& source) {
  icon.Reset();
  auto extract = [&](int at, TIcon& large, TIcon& smallIcon) {
    try {
      return source.ExtractIcons(file, at, large, smallIcon);
    } catch (...) {
      large.Reset();
      smallIcon.Reset();
      return 0;
    }
  };
  TIcon large;
  TIcon smallIcon;
  int count = extract(index, large, smallIcon);
  bool succeeded = count == 1 || count == 2;
  if (succeeded && !large && !smallIcon && index == -1) {
    count = extract(0, large, smallIcon);
    succeeded = count == 1 || count == 2;
  }
  if (!succeeded) return false;
  icon = (small || (!large && smallIcon)) ? std::move(smallIcon) : std::move(large);
  if (!SizeMatches(source, icon, height, width, false)) {
    icon.Reset();
    return false;
  }
  return true;
}

// The icons of one list fill by location, so that each file is searched and each
// location extracted once: types share icon files, and every type without a usable
// icon of its own falls back to the same one. At most kMaxHeld icons are kept alive,
// the fallback's always, so that thousands of distinct icons do not pile up handles.
class TLocationIcons {
public:
  static constexpr size_t kMaxHeld = 512;

  TLocationIcons(int height, int width, bool small, IIconSource& source)
      : height_(height), width_(width), small_(small), source_(source) {}

  // As IconFromLocation with `bugs`, for a location that is not "%1". The icon stays
  // owned here; 0 when there is none.
  IconHandle Icon(const std::string& location, const TFileType& type, TAdvStringList& bugs,
                  bool always, TIcon& scratch) {
    auto [entry, added] = icons_.try_emplace(location);
    TEntry& known = entry->second;
    if (added) {
      const TIconLocation parsed = ParseIconLocation(location);
      known.File = IconFileOf(parsed, source_);
      known.Index = parsed.Index;
    }
    const TFile& file = FileOf(known.File);
    if (!file.Found) AddMissingIconFileBug(bugs, known.File, type);
    if (!known.Settled && file.WithoutIcons) known.Settled = true;
    if (!known.Settled) {
      if (!ExtractSizedIcon(known.File, known.Index, height_, width_, small_, scratch, source_)) {
        known.Settled = true;  // a failure holds no handle
        return 0;
      }
      if (!always && held_ >= kMaxHeld) return scratch.Get();
      known.Icon = std::move(scratch);
      known.Settled = true;
      ++held_;
    }
    return known.Icon.Get();
  }

private:
  struct TEntry {
    std::string File;
    int Index = 0;
    bool Settled = false;  // Icon is the location's result, also when empty
    TIcon Icon;
  };

  struct TFile {
    bool Found = false;
    bool WithoutIcons = false;
  };

  // A file the search does not find is asked once how many icons it holds, so that
  // none of its locations tries to open it again when it holds none.
  const TFile& FileOf(const std::string& name) {
    auto [entry, added] = files_.try_emplace(name);
    TFile& file = entry->second;
    if (added) {
      file.Found = IconFileFound(name, source_);
      if (!file.Found) {
        TIcon large;
        TIcon small;
        try {
          file.WithoutIcons = source_.ExtractIcons(name, -1, large, small) <= 0;
        } catch (...) {
          // Left to the extraction, which copes with it.
        }
      }
    }
    return file;
  }

  int height_;
  int width_;
  bool small_;
  IIconSource& source_;
  size_t held_ = 0;
  std::unordered_map<std::string, TEntry> icons_;
  std::unordered_map<std::string, TFile> files_;
};

}  // namespace

bool IconFromLocation(const std::string& location, const TFileType* type, int height, int width,
                      TIcon& icon, bool small, TAdvStringList* bugs, IIconSource& source) {
  icon.Reset();
  const TIconLocation parsed = ParseIconLocation(location);
  const std::string file = IconFileOf(parsed, source);
  if (!IconFileFound(file, source) && bugs && type) AddMissingIconFileBug(*bugs, file, *type);
  return ExtractSizedIcon(file, parsed.Index, height, width, small, icon, source);
}

bool IconFromDocument(const std::string& extension, TIcon& icon, int height, int width,
                      IIconSource& source) {
  icon.Reset();
  const std::string document = source.MakeTempDocument(extension);
  struct Cleanup {
    IIconSource& source;
    const std::string& file;
    ~Cleanup() {
      if (!file.empty()) source.DeleteDocument(file);
    }
  } cleanup{source, document};

  std::string buffer = document;
  std::uint16_t index = 0;
  icon = source.AssociatedIcon(buffer, index);
  if (SizeMatches(source, icon, height, width, true)) return true;
  if (icon) {
    icon.Reset();
    if (source.HasPrivateExtractIcons()) {
      int count = 0;
      icon = source.PrivateExtractIcon(buffer, index, width, height, count);
      if (count == 1 && SizeMatches(source, icon, height, width, true)) return true;
      icon.Reset();
    }
  }
  icon = source.FileInfoIcon(buffer);
  if (SizeMatches(source, icon, height, width, true)) return true;
  icon.Reset();
  return false;
}

bool LoadTypeIcon(const std::string& extension, const std::string& location, int height, int width,
                  const TFileType* type, TAdvStringList* bugs, bool small, TIcon& icon,
                  IIconSource& source) {
  if (Unquote(location) == "%1") return IconFromDocument(extension, icon, height, width, source);
  return IconFromLocation(location, type, height, width, icon, small, bugs, source);
}

TIcon ExtractIconHandle(const std::string& file, int index, bool small, IIconSource& source) {
  TIcon large;
  TIcon smallIcon;
  int count = source.ExtractIcons(file, index, large, smallIcon);
  if (count != 1 && count != 2) return TIcon();
  if (small || (!large && smallIcon)) return smallIcon;
  return large;
}

TIcon ExtractIconOrRaise(const std::string& file, int index, bool small, IIconSource& source) {
  TIcon icon = ExtractIconHandle(file, index, small, source);
  if (!icon) throw EIconError(LoadResString(msg::SErrorExtractingIcon));
  return icon;
}

void MakeImageList32(IImageList& images) {
  if (!images.Recreate32()) throw EIconError(LoadResString(msg::SInvalidImageList));
}

bool AddBlankImage(IImageList& images) { return images.AddBlank() >= 0; }

void TFileTypes::LoadIcons(IImageList& images, TAdvStringList& bugs, IIconSource& source) {
  images.Clear();
  images.Reserve(Count());
  MakeImageList32(images);
  const int width = images.Width();
  const int height = images.Height();
  const bool small =
      std::abs(source.SmallSizeMetric() - width) < std::abs(source.IconMetric() - width);
  constexpr const char* kFallback = "shell32.dll,0";
  TLocationIcons located(height, width, small, source);
  // The image where each icon held by `located` went first: later types copy it.
  std::unordered_map<IconHandle, int> firstImage;
  for (int i = 0; i < Count(); ++i) {
    TFileType* type = Items(i);
    const std::string& location = type->DefaultIcon();
    TIcon own;
    IconHandle icon = 0;
    if (Unquote(location) == "%1") {
      const std::string extension = type->ExtensionCount() > 0 ? type->Extension(0) : "";
      if (IconFromDocument(extension, own, height, width, source)) icon = own.Get();
    } else if (!location.empty()) {
      icon = located.Icon(location, *type, bugs, false, own);
    }
    if (!icon) icon = located.Icon(kFallback, *type, bugs, true, own);
    // An icon of its own dies with this type; one held by `located` lives through the fill.
    const bool held = icon && icon != own.Get();
    const auto first = held ? firstImage.find(icon) : firstImage.end();
    int index = first != firstImage.end() ? images.AddCopy(first->second) : -1;
    if (index < 0 && icon) {
      index = images.AddIcon(icon);
      if (held && index >= 0) firstImage.emplace(icon, index);
    }
    const bool added = index >= 0;
    if (!added && !AddBlankImage(images))
      throw EIconError(LoadResString(msg::SNotEnoughMemoryIcons));
    Notify(nkLoadIcon, type);
  }
}

}  // namespace orvane
