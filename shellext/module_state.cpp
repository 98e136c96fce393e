#include "shellext/module_state.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/win32/system_error.h"
#include "platform/win32/win32_handles.h"
#include "shellext/wide_text.h"
#include "storage/menu_file.h"

namespace orvane {
namespace {

HINSTANCE moduleHandle = nullptr;
std::atomic<long> references{0};

// A hostile or damaged file larger than any menu is not read.
constexpr ULONGLONG kMaxMenuFileSize = 64ull << 20;

std::string Folder(const std::string& path) {
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

struct TFileStamp {
  ULONGLONG Size = 0;
  ULONGLONG Written = 0;
  bool operator==(const TFileStamp&) const = default;
};

class TMenuFileCache {
public:
  std::shared_ptr<const TCachedMenu> Get(const std::string& fileName) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &data))
      return Empty();  // no menu file: no items
    TFileStamp stamp{(ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                     (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) |
                         data.ftLastWriteTime.dwLowDateTime};
    std::lock_guard<std::mutex> lock(mutex_);
    if (records_ && fileName_ == fileName && stamp_ == stamp) return records_;
    std::string text;
    if (stamp.Size > kMaxMenuFileSize) {
      LogFailure("menu file too large: " + fileName);
      return Empty();
    }
    if (!ReadWhole(fileName, text)) return Empty();
    auto read = std::make_shared<TCachedMenu>();
    read->Records = ReadMenuFileText(text);
    records_ = std::move(read);
    fileName_ = fileName;
    stamp_ = stamp;
    return records_;
  }

  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.reset();
  }

private:
  static std::shared_ptr<const TCachedMenu> Empty() {
    static const auto empty = std::make_shared<const TCachedMenu>();
    return empty;
  }

  // Shares the file with the program, which replaces it by renaming.
  static bool ReadWhole(const std::string& fileName, std::string& text) {
    TKernelHandle file(CreateFileA(fileName.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
      file.release();
      DWORD error = GetLastError();
      if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        LogFailure("cannot open " + fileName + ": " + SystemErrorMessage(error));
      return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || ULONGLONG(size.QuadPart) > kMaxMenuFileSize) {
      LogFailure("cannot size " + fileName);
      return false;
    }
    text.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!text.empty() &&
        !::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) {
      LogFailure("cannot read " + fileName + ": " + SystemErrorMessage(GetLastError()));
      return false;
    }
    text.resize(read);
    return true;
  }

  std::mutex mutex_;
  std::string fileName_;
  TFileStamp stamp_;
  std::shared_ptr<const TCachedMenu> records_;
};

TMenuFileCache& Cache() {
  static TMenuFileCache cache;
  return cache;
}

}  // namespace

void SetModuleHandle(HINSTANCE module) { moduleHandle = module; }
void ModuleAddRef() { ++references; }
void ModuleRelease() { --references; }
long ModuleReferences() { return references; }

std::string ModulePath() {
  // The whole path or none: a path cut at the buffer's end would be registered as the
  // module's (or name another folder's menu file).
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(moduleHandle, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
  std::string narrow;
  if (!NarrowExactly(FromWide(path.data(), path.size()), narrow)) return {};
  return narrow;
}

std::string ModuleProgramFolder() {
  std::string folder = Folder(ModulePath());
#ifdef _WIN64
  if (!folder.empty()) folder = Folder(folder.substr(0, folder.size() - 1));
#endif
  return folder;
}

const TServices& ModuleServices() {
  static const TServices services = [] {
    TServices system = SystemServices();
    return TServices{system.Registry,      system.Files,         system.FileSystem,
                     system.Icons,         system.Clipboard,     system.Versions,
                     system.WindowsFolder,
                     ModuleProgramFolder(), Folder(ModulePath())};
  }();
  return services;
}

std::string ModuleMenuFile() { return MenuFileName(ModuleServices()); }

void LogFailure(const std::string& text) {
  try {
    std::string path = ModuleProgramFolder() + "OVShlExt.log";
    TKernelHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
      file.release();
      return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    std::string line = stamp + text.substr(0, 400) + "\r\n";
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  } catch (...) {
    // A log that cannot be written is no reason to fail the host.
  }
}

std::shared_ptr<const TCachedMenu> CachedMenuFile(const std::string& fileName) {
  return Cache().Get(fileName);
}

void ClearMenuFileCache() { Cache().Clear(); }

}  // namespace orvane
