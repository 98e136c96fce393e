// Icons from shell32 and user32.
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <map>
#include <mutex>
#include <tuple>

#include "platform/file_system.h"
#include "platform/icon_source.h"
#include "platform/win32/sound_icon_file.h"
#include "platform/win32/win32_handles.h"

namespace orvane {
namespace {

using PrivateExtractIconsProc = UINT(WINAPI*)(LPCSTR, int, int, int, HICON*, UINT*, UINT, UINT);

HICON ToHicon(IconHandle icon) { return reinterpret_cast<HICON>(icon); }
IconHandle FromHicon(HICON icon) { return reinterpret_cast<IconHandle>(icon); }

class TWin32IconSource : public IIconSource {
public:
  int ExtractIcons(const std::string& file, int index, TIcon& large, TIcon& small) override {
    large.Reset();
    small.Reset();
    if (!MayExtract(file)) return 0;
    // Index -1 asks for the number of icons only, which the system gives without handles.
    if (index == -1) return static_cast<int>(::ExtractIconExA(file.c_str(), -1, nullptr, nullptr, 0));
    HICON largeIcon = nullptr;
    HICON smallIcon = nullptr;
    UINT n = ::ExtractIconExA(file.c_str(), index, &largeIcon, &smallIcon, 1);
    large = TIcon(*this, FromHicon(largeIcon));
    small = TIcon(*this, FromHicon(smallIcon));
    return static_cast<int>(n);
  }

  int ExtractSmallIcon(const std::string& file, int index, TIcon& small) override {
    small.Reset();
    if (index == -1 || !MayExtract(file)) return 0;
    HICON smallIcon = nullptr;
    UINT n = ::ExtractIconExA(file.c_str(), index, nullptr, &smallIcon, 1);
    small = TIcon(*this, FromHicon(smallIcon));
    return static_cast<int>(n);
  }

  bool IconSize(IconHandle icon, int& width, int& height) override {
    ICONINFO info{};
    if (!icon || !GetIconInfo(ToHicon(icon), &info)) return false;
    TBitmapHandle mask(info.hbmMask);
    TBitmapHandle color(info.hbmColor);
    BITMAP bm{};
    if (!GetObjectA(info.hbmMask, sizeof bm, &bm)) return false;
    width = bm.bmWidth;
    height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    return true;
  }

  void DestroyIcon(IconHandle icon) override { ::DestroyIcon(ToHicon(icon)); }

  bool IsNT() override { return GetVersion() < 0x80000000u; }

  std::string ExpandEnvironment(const std::string& text) override {
    return DefaultFileSystem().ExpandEnvironment(text);
  }

  bool FindFile(const std::string& path, const std::string& fileName, std::string& found) override {
    char buffer[MAX_PATH + 1] = {};
    char* filePart = nullptr;
    DWORD n = ::SearchPathA(path.empty() ? nullptr : path.c_str(), fileName.c_str(), nullptr,
                            MAX_PATH, buffer, &filePart);
    if (n == 0 || n > MAX_PATH) return false;
    found = buffer;
    return true;
  }

  int SmallSizeMetric() override { return GetSystemMetrics(SM_CXSMSIZE); }
  int IconMetric() override { return GetSystemMetrics(SM_CXICON); }

  std::string MakeTempDocument(const std::string& extension) override {
    char dir[MAX_PATH + 1] = {};
    char name[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(MAX_PATH, dir);
    if (n == 0 || n > MAX_PATH) return std::string();
    if (!GetTempFileNameA(dir, "ov", 1, name)) return std::string();
    std::string file = std::string(name) + extension;
    TFileHandle handle(CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle.Valid() ? file : std::string();
  }

  void DeleteDocument(const std::string& file) override { DeleteFileA(file.c_str()); }

  TIcon AssociatedIcon(std::string& path, std::uint16_t& index) override {
    char buffer[MAX_PATH + 1] = {};
    path.copy(buffer, MAX_PATH);
    WORD word = index;
    HICON icon = ::ExtractAssociatedIconA(GetModuleHandleA(nullptr), buffer, &word);
    path = buffer;
    index = word;
    return TIcon(*this, FromHicon(icon));
  }

  bool HasPrivateExtractIcons() override { return PrivateExtractIcons() != nullptr; }

  TIcon PrivateExtractIcon(const std::string& file, int index, int width, int height,
                           int& count) override {
    count = 0;
    auto proc = PrivateExtractIcons();
    if (!proc || !MayExtract(file)) return TIcon();
    HICON icon = nullptr;
    UINT id = 0;
    UINT n = proc(file.c_str(), index, width, height, &icon, &id, 1, 0);
    // 0xFFFFFFFF: the file was not found.
    count = n == 0xFFFFFFFFu ? 0 : static_cast<int>(n);
    return TIcon(*this, FromHicon(icon));
  }

  TIcon FileInfoIcon(const std::string& path) override {
    SHFILEINFOA info{};
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON);
    return TIcon(*this, FromHicon(info.hIcon));
  }

private:
  // The extraction maps the file and believes its headers: a damaged icon file would
  // take the program down. A file the search does not find is left to the extraction,
  // which fails on it as before. Verdicts are kept while the file stays as it was, as
  // the file type scan asks for the same few libraries again and again.
  bool MayExtract(const std::string& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::lock_guard<std::mutex> hold(checkedLock_);
    char path[MAX_PATH] = {};
    const DWORD length = SearchPathA(nullptr, file.c_str(), nullptr, MAX_PATH, path, nullptr);
    if (length == 0 || length >= MAX_PATH) return true;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return true;
    const TStamp stamp{data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime.dwHighDateTime,
                       data.ftLastWriteTime.dwLowDateTime};
    auto known = checked_.find(path);
    if (known != checked_.end() && known->second.first == stamp) return known->second.second;
    std::string found;
    const bool sound = CheckIconFileOnDisk(path, found) != TIconFileVerdict::Unsound;
    checked_[path] = {stamp, sound};
    return sound;
  }

  using TStamp = std::tuple<DWORD, DWORD, DWORD, DWORD>;
  std::mutex checkedLock_;
  std::map<std::string, std::pair<TStamp, bool>> checked_;

  static PrivateExtractIconsProc PrivateExtractIcons() {
    static const PrivateExtractIconsProc proc = [] {
      HMODULE user32 = GetModuleHandleA("user32");
      return user32 ? reinterpret_cast<PrivateExtractIconsProc>(
                          reinterpret_cast<void*>(GetProcAddress(user32, "PrivateExtractIconsA")))
                    : nullptr;
    }();
    return proc;
  }
};

}  // namespace

IIconSource& DefaultIconSource() {
  static TWin32IconSource source;
  return source;
}

}  // namespace orvane
