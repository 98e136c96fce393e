#pragma once
// Whole-file reading and replacing for the model layers, so that they never touch the
// system's file calls themselves. The INI engine reads and writes settings files through it.

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class IFileAccess {
public:
  enum class ReadResult { Read, Missing, Failed };

  virtual ~IFileAccess() = default;

  // Reads the whole file into `data`, denying writes to others meanwhile. `Missing` when
  // there is no such file; `Failed` (with the system's reason) when it cannot be read.
  virtual ReadResult ReadFile(const std::string& fileName, std::string& data,
                              std::string& reason) = 0;

  // Writes `data` to a new file in the folder of `fileName` and only then puts it in the
  // place of `fileName`, so that a failure at any point leaves the old file as it was.
  // False (with the system's reason) on failure.
  virtual bool ReplaceFile(const std::string& fileName, std::string_view data,
                           std::string& reason) = 0;

  // Creates the folder, and the folders above it, unless it exists. False (with the
  // system's reason) when it cannot. Files that have no folders refuse.
  virtual bool CreateFolder(const std::string& folder, std::string& reason) {
    reason = "Folders cannot be created here (" + folder + ")";
    return false;
  }

  // The names (without the folder) of the files directly in `folder`, in no particular
  // order; a folder that does not exist holds none. False (with the system's reason)
  // when it cannot be read.
  virtual bool ListFiles(const std::string& folder, std::vector<std::string>& names,
                         std::string& reason) {
    (void)reason;
    (void)folder;
    names.clear();
    return true;
  }
};

// The system's files; reached through the services (platform/services.h).
IFileAccess& DefaultFileAccess();

}  // namespace orvane
