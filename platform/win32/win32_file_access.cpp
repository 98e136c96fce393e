#include <windows.h>

#include "platform/file_access.h"
#include "platform/win32/system_error.h"
#include "platform/win32/win32_handles.h"

namespace orvane {
namespace {

// The folder part of a file name, for the temporary file beside it.
std::string FolderOf(const std::string& fileName) {
  size_t slash = fileName.find_last_of("\\/:");
  if (slash == std::string::npos) return ".";
  if (fileName[slash] == ':') return fileName.substr(0, slash + 1);
  if (slash == 0) return fileName.substr(0, 1);
  return fileName.substr(0, slash);
}

class TWin32FileAccess : public IFileAccess {
public:
  ReadResult ReadFile(const std::string& fileName, std::string& data,
                      std::string& reason) override {
    data.clear();
    TFileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                 nullptr));
    if (!file.Valid()) {
      DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        return ReadResult::Missing;
      }
      reason = SystemErrorMessage(error);
      return ReadResult::Failed;
    }
    DWORD high = 0;
    DWORD size = GetFileSize(file.Get(), &high);
    if (size != INVALID_FILE_SIZE && high == 0) data.reserve(size);
    char chunk[65536];
    for (;;) {
      DWORD count = 0;
      if (!::ReadFile(file.Get(), chunk, sizeof chunk, &count, nullptr)) {
        reason = SystemErrorMessage(GetLastError());
        data.clear();
        return ReadResult::Failed;
      }
      if (count == 0) break;
      data.append(chunk, count);
    }
    return ReadResult::Read;
  }

  bool ReplaceFile(const std::string& fileName, std::string_view data,
                   std::string& reason) override {
    if (fileName.empty()) {
      reason = SystemErrorMessage(ERROR_PATH_NOT_FOUND);
      return false;
    }
    char temp[MAX_PATH];
    if (!GetTempFileNameA(FolderOf(fileName).c_str(), "ovi", 0, temp)) {
      reason = SystemErrorMessage(GetLastError());
      return false;
    }
    DWORD error = ERROR_SUCCESS;
    {
      TFileHandle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!file.Valid()) error = GetLastError();
      while (error == ERROR_SUCCESS && !data.empty()) {
        DWORD part = data.size() > 0x100000 ? 0x100000 : static_cast<DWORD>(data.size());
        DWORD written = 0;
        if (!WriteFile(file.Get(), data.data(), part, &written, nullptr) || written == 0) {
          error = GetLastError();
          if (error == ERROR_SUCCESS) error = ERROR_WRITE_FAULT;
        }
        data.remove_prefix(written);
      }
      if (error == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) error = GetLastError();
      if (!file.Close() && error == ERROR_SUCCESS) error = GetLastError();
    }
    if (error == ERROR_SUCCESS &&
        !MoveFileExA(temp, fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      error = GetLastError();
    }
    if (error != ERROR_SUCCESS) {
      DeleteFileA(temp);
      reason = SystemErrorMessage(error);
      return false;
    }
    return true;
  }

  bool CreateFolder(const std::string& folder, std::string& reason) override {
    std::string path = folder;
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
      reason = SystemErrorMessage(ERROR_ALREADY_EXISTS);
      return false;
    }
    // The folder above first; a drive or share root exists or fails below.
    size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && path[slash - 1] != ':' &&
        path[slash - 1] != '\\' && !CreateFolder(path.substr(0, slash), reason)) {
      return false;
    }
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      reason = SystemErrorMessage(GetLastError());
      return false;
    }
    return true;
  }

  bool ListFiles(const std::string& folder, std::vector<std::string>& names,
                 std::string& reason) override {
    names.clear();
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA data{};
    TFindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (!find.Valid()) {
      DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
      reason = SystemErrorMessage(error);
      return false;
    }
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find.Get(), &data));
    DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) {
      names.clear();
      reason = SystemErrorMessage(error);
      return false;
    }
    return true;
  }
};

}  // namespace

IFileAccess& DefaultFileAccess() {
  static TWin32FileAccess files;
  return files;
}

}  // namespace orvane
