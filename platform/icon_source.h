#pragma once
// What the model needs of the system to get icons: extraction from files, the shell's
// icon of a document, path search and expansion, the icon size metrics. Icons come as
// owning TIcon handles. The Win32 source calls shell32 and user32; tests use a fake.

#include <cstdint>
#include <string>
#include <utility>

namespace orvane {

using IconHandle = std::uintptr_t;
class IIconSource;

// An icon handle that destroys its icon through its source.
class TIcon {
public:
  TIcon() = default;
  TIcon(IIconSource& source, IconHandle handle) : source_(&source), handle_(handle) {}
  TIcon(TIcon&& other) noexcept
      : source_(other.source_), handle_(std::exchange(other.handle_, 0)) {}
  TIcon& operator=(TIcon&& other) noexcept;
  ~TIcon() { Reset(); }

  IconHandle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != 0; }
  // Gives up ownership.
  IconHandle Release() { return std::exchange(handle_, 0); }
  void Reset();

private:
  IIconSource* source_ = nullptr;
  IconHandle handle_ = 0;
};

class IIconSource {
public:
  virtual ~IIconSource() = default;

  // ExtractIconExA(file, index, &large, &small, 1): the number it reports; may raise.
  // Index -1 gives the number of icons in the file and no icons.
  virtual int ExtractIcons(const std::string& file, int index, TIcon& large, TIcon& small) = 0;
  // The small icon alone, as ExtractIconExA(file, index, nullptr, &small, 1) gives it: the
  // system then reads the file once instead of once for each size. A source that cannot
  // leave the large one out extracts both.
  virtual int ExtractSmallIcon(const std::string& file, int index, TIcon& small) {
    TIcon large;
    return ExtractIcons(file, index, large, small);
  }
  virtual bool IconSize(IconHandle icon, int& width, int& height) = 0;
  virtual void DestroyIcon(IconHandle icon) = 0;

  // Windows NT expands environment variables; 9x only knows its Windows directory.
  virtual bool IsNT() = 0;
  // The file system's expansion (IFileSystem::ExpandEnvironment), for icon paths.
  virtual std::string ExpandEnvironment(const std::string& text) = 0;
  // SearchPathA: `path` empty for the default search order.
  virtual bool FindFile(const std::string& path, const std::string& fileName,
                        std::string& found) = 0;
  // GetSystemMetrics(SM_CXSMSIZE) and GetSystemMetrics(SM_CXICON).
  virtual int SmallSizeMetric() = 0;
  virtual int IconMetric() = 0;

  // A new empty file in the temporary folder named "ov..." plus `extension`, or "".
  virtual std::string MakeTempDocument(const std::string& extension) = 0;
  virtual void DeleteDocument(const std::string& file) = 0;
  // ExtractAssociatedIconA: rewrites `path` and `index` to the icon's source.
  virtual TIcon AssociatedIcon(std::string& path, std::uint16_t& index) = 0;
  // PrivateExtractIconsA is offered by user32 (it is absent on older systems).
  virtual bool HasPrivateExtractIcons() = 0;
  // PrivateExtractIconsA for one icon of the given size; `count` is what it reports.
  virtual TIcon PrivateExtractIcon(const std::string& file, int index, int width, int height,
                                   int& count) = 0;
  // SHGetFileInfoA with SHGFI_ICON | SHGFI_SMALLICON.
  virtual TIcon FileInfoIcon(const std::string& path) = 0;
};

// shell32 and user32 on Windows; elsewhere a source that finds no icons. Reached through
// the services (platform/services.h).
IIconSource& DefaultIconSource();

inline void TIcon::Reset() {
  if (handle_ && source_) source_->DestroyIcon(handle_);
  handle_ = 0;
}

inline TIcon& TIcon::operator=(TIcon&& other) noexcept {
  if (this != &other) {
    Reset();
    source_ = other.source_;
    handle_ = std::exchange(other.handle_, 0);
  }
  return *this;
}

}  // namespace orvane
