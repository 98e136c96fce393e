#include <windows.h>

#include "platform/profile_strings.h"

namespace orvane {
namespace {

// A list of names separated by NUL characters, read into a buffer grown until it fits.
std::vector<std::string> ReadNames(const char* section, const std::string& fileName) {
  std::vector<char> buffer(4096);
  for (;;) {
    DWORD length = GetPrivateProfileStringA(section, nullptr, "", buffer.data(),
                                            static_cast<DWORD>(buffer.size()), fileName.c_str());
    if (length + 2 < buffer.size() || buffer.size() >= (1u << 26)) {
      std::vector<std::string> names;
      for (DWORD at = 0; at < length;) {
        std::string name(buffer.data() + at);
        at += static_cast<DWORD>(name.size()) + 1;
        if (!name.empty()) names.push_back(name);
      }
      return names;
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string ReadProfileString(const std::string& fileName, const std::string& section,
                              const std::string& key, const std::string& defaultValue) {
  char buffer[kProfileBufferSize];
  DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                          buffer, sizeof buffer, fileName.c_str());
  return std::string(buffer, length);
}

std::vector<std::string> ReadProfileKeys(const std::string& fileName, const std::string& section) {
  return ReadNames(section.c_str(), fileName);
}

std::vector<std::string> ReadProfileSections(const std::string& fileName) {
  return ReadNames(nullptr, fileName);
}

}  // namespace orvane
