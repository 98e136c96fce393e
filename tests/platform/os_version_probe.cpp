// A program without a manifest: exits with the version GetVersionEx reports in the low
// word and the version the system information reads in the high word (major << 8 | minor).
#include <windows.h>

#include "platform/system_info.h"

int main() {
  OSVERSIONINFOA reported{};
  reported.dwOSVersionInfoSize = sizeof reported;
  GetVersionExA(&reported);
  const orvane::TOSVersionData read = orvane::ReadOSVersionData();
  const DWORD low = (reported.dwMajorVersion << 8) | reported.dwMinorVersion;
  const DWORD high = (read.MajorVersion << 8) | read.MinorVersion;
  return static_cast<int>((high << 16) | low);
}
