#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/file_system.h"

namespace orvane {
namespace {

class TPortableFileSystem : public IFileSystem {
public:
  std::string ExpandEnvironment(const std::string& text) override;
  std::optional<bool> FindFileOnPath(const std::string&, const std::vector<std::string>&,
                                     std::string*) override {
    return std::nullopt;
  }
  bool FileExists(const std::string& path) override;
};

std::string TPortableFileSystem::ExpandEnvironment(const std::string& text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
    if (close == std::string::npos || close == i + 1) {
      out += text[i++];
      continue;
    }
    const char* value = std::getenv(text.substr(i + 1, close - i - 1).c_str());
    if (value) {
      out += value;
      i = close + 1;
    } else {
      // An unknown name stays, and its closing mark may open the next reference.
      out.append(text, i, close - i);
      i = close;
    }
  }
  return out.size() < kMaxPath ? out : text;
}

bool TPortableFileSystem::FileExists(const std::string& path) {
  std::error_code error;
  auto status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

IFileSystem& DefaultFileSystem() {
  static TPortableFileSystem fileSystem;
  return fileSystem;
}

}  // namespace orvane
