#include "platform/win32/sound_icon_file.h"

#include <windows.h>

#include <algorithm>

#include "platform/icon_file_check.h"
#include "platform/win32/win32_handles.h"

namespace orvane {

TIconFileVerdict CheckIconFileOnDisk(const std::string& file, std::string& found) {
  found.clear();
  char path[MAX_PATH] = {};
  const DWORD length = SearchPathA(nullptr, file.c_str(), nullptr, MAX_PATH, path, nullptr);
  if (length == 0 || length >= MAX_PATH) return TIconFileVerdict::Missing;
  found = path;
  TFileHandle handle(CreateFileA(path, GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!handle.Valid() || GetFileType(handle.Get()) != FILE_TYPE_DISK ||
      !GetFileSizeEx(handle.Get(), &size))
    return TIconFileVerdict::Unsound;
  std::string head(static_cast<std::size_t>(std::min<LONGLONG>(size.QuadPart, kIconFileHeadSize)),
                   '\0');
  DWORD read = 0;
  if (!ReadFile(handle.Get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr) ||
      read != head.size() || !CheckIconFile(head, static_cast<unsigned long long>(size.QuadPart)))
    return TIconFileVerdict::Unsound;
  return TIconFileVerdict::Sound;
}

}  // namespace orvane
