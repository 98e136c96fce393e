#pragma once
// What the model needs of the file system and the environment: expanding environment
// references, finding a program file the way the shell would, and whether a file exists.
// The system's in the program; tests pass their own.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// MAX_PATH.
inline constexpr std::size_t kMaxPath = 260;

class IFileSystem {
public:
  virtual ~IFileSystem() = default;

  // Replaces every %NAME% by the value of that environment variable; references to
  // unknown variables stay as written. The text is a path: a result that does not fit
  // a path (kMaxPath characters with the terminating zero) keeps the text as written.
  virtual std::string ExpandEnvironment(const std::string& text) = 0;
  // Searches a file in `folders`, then in the system search path; `found` (when given)
  // receives the full path of a file found. std::nullopt when the system offers no such
  // search (the caller then tests the name as it is).
  virtual std::optional<bool> FindFileOnPath(const std::string& fileName,
                                             const std::vector<std::string>& folders,
                                             std::string* found) = 0;
  // True when `path` names an existing file (not a folder).
  virtual bool FileExists(const std::string& path) = 0;
};

// The system's files and environment.
IFileSystem& DefaultFileSystem();

}  // namespace orvane
