#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/file_access.h"

namespace orvane {
namespace {

std::string Reason(int error) { return std::strerror(error); }

// A file descriptor closed on every path.
class TFd {
public:
  explicit TFd(int fd) : fd_(fd) {}
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  ~TFd() { Close(); }
  int Get() const { return fd_; }
  int Close() {
    int result = 0;
    if (fd_ >= 0) result = ::close(fd_);
    fd_ = -1;
    return result;
  }

private:
  int fd_;
};

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// The file a name stands for: a symbolic link is replaced at its target, not overwritten
// by a plain file.
std::string ResolvedTarget(const std::string& fileName) {
  char buffer[PATH_MAX];
  if (::realpath(fileName.c_str(), buffer)) return buffer;
  return fileName;
}

class TPortableFileAccess : public IFileAccess {
public:
  ReadResult ReadFile(const std::string& fileName, std::string& data,
                      std::string& reason) override {
    data.clear();
    TFd fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
      if (errno == ENOENT || errno == ENOTDIR) return ReadResult::Missing;
      reason = Reason(errno);
      return ReadResult::Failed;
    }
    // The nearest thing to a share mode here: writers that lock wait until we are done.
    ::flock(fd.Get(), LOCK_SH);
    struct stat info {};
    if (::fstat(fd.Get(), &info) == 0 && S_ISDIR(info.st_mode)) {
      reason = Reason(EISDIR);
      return ReadResult::Failed;
    }
    if (info.st_size > 0) data.reserve(static_cast<size_t>(info.st_size));
    std::vector<char> chunk(1 << 16);
    for (;;) {
      ssize_t count = ::read(fd.Get(), chunk.data(), chunk.size());
      if (count < 0) {
        if (errno == EINTR) continue;
        reason = Reason(errno);
        data.clear();
        return ReadResult::Failed;
      }
      if (count == 0) break;
      data.append(chunk.data(), static_cast<size_t>(count));
    }
    return ReadResult::Read;
  }

  bool ReplaceFile(const std::string& fileName, std::string_view data,
                   std::string& reason) override {
    if (fileName.empty()) {
      reason = Reason(ENOENT);
      return false;
    }
    const std::string target = ResolvedTarget(fileName);
    std::string temp = target + ".XXXXXX";
    TFd fd(::mkstemp(temp.data()));
    if (fd.Get() < 0) {
      reason = Reason(errno);
      return false;
    }
    struct stat old {};
    mode_t mode = 0644;
    if (::stat(target.c_str(), &old) == 0) {
      mode = old.st_mode & 07777;
    } else {
      mode_t mask = ::umask(0);
      ::umask(mask);
      mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), data) && ::fsync(fd.Get()) == 0;
    int error = errno;
    if (fd.Close() != 0 && ok) {
      ok = false;
      error = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
      ok = false;
      error = errno;
    }
    if (!ok) {
      ::unlink(temp.c_str());
      reason = Reason(error);
    }
    return ok;
  }

  bool CreateFolder(const std::string& folder, std::string& reason) override {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
      if (S_ISDIR(info.st_mode)) return true;
      reason = Reason(EEXIST);
      return false;
    }
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !CreateFolder(path.substr(0, slash), reason))
      return false;
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
      reason = Reason(errno);
      return false;
    }
    return true;
  }

  bool ListFiles(const std::string& folder, std::vector<std::string>& names,
                 std::string& reason) override {
    names.clear();
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) {
      if (errno == ENOENT) return true;
      reason = Reason(errno);
      return false;
    }
    std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    while (const dirent* entry = ::readdir(dir)) {
      struct stat info {};
      if (::stat((base + entry->d_name).c_str(), &info) == 0 && S_ISREG(info.st_mode))
        names.push_back(entry->d_name);
    }
    ::closedir(dir);
    return true;
  }
};

}  // namespace

IFileAccess& DefaultFileAccess() {
  static TPortableFileAccess files;
  return files;
}

}  // namespace orvane
