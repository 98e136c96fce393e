// Documents on real files: lazy reading, missing files, and writes that fail without
// harming the file that was there.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <type_traits>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include "platform/file_access.h"
#include "storage/orvane_ini_file.h"
#include "storage/storage_errors.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

class IniFileIo : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / (std::string("orvane_ini_") + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  size_t FilesInFolder() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }

  fs::path folder_;
};

TEST_F(IniFileIo, MissingFileIsEmptyAndCreatedOnlyByAChange) {
  const std::string path = PathOf("menu.ini");
  {
    TOrvaneIniFile ini(path, DefaultFileAccess());
    EXPECT_EQ(ini.ReadString("S", "a", "none"), "none");
    EXPECT_TRUE(ini.Loaded());
  }
  EXPECT_FALSE(fs::exists(path));
  {
    TOrvaneIniFile ini(path, DefaultFileAccess());
    ini.WriteString("S", "a", "1");
    ini.UpdateFile();
  }
  EXPECT_EQ(ReadBytes(path), "[S]\r\na=1\r\n");
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(IniFileIo, FileIsReadOnFirstUseAndAgainAfterClear) {
  const std::string path = PathOf("menu.ini");
  TOrvaneIniFile ini(path, DefaultFileAccess());
  WriteBytes(path, "[S]\na=1\n");
  EXPECT_FALSE(ini.Loaded());
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "1");
  WriteBytes(path, "[S]\na=2\n");
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "1");
  ini.Clear();
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "2");
}

TEST_F(IniFileIo, UnreadableFileRaises) {
  // A folder in place of the file: it exists but cannot be read as one.
  fs::create_directories(folder_ / "menu.ini");
  TOrvaneIniFile ini(PathOf("menu.ini"), DefaultFileAccess());
  EXPECT_THROW(ini.ReadString("S", "a", ""), EFOpenError);
  EXPECT_FALSE(ini.Loaded());
}

TEST_F(IniFileIo, WriteIntoMissingFolderFailsAndStaysModified) {
  const std::string path = PathOf("no such folder/menu.ini");
  TOrvaneIniFile ini(path, DefaultFileAccess());
  ini.WriteString("S", "a", "1");
  try {
    ini.UpdateFile();
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + path + "\". ", 0), 0u)
        << e.what();
  }
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(ini.ReadString("S", "a", "?"), "1");
  ini.Clear();
}

TEST_F(IniFileIo, FailedReplaceKeepsWhatWasThere) {
  // A folder where the file should go: the new text cannot take its place.
  fs::create_directories(folder_ / "menu.ini");
  WriteBytes(PathOf("menu.ini/inside.txt"), "old");
  std::string reason;
  EXPECT_FALSE(DefaultFileAccess().ReplaceFile(PathOf("menu.ini"), "[S]\r\n", reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(ReadBytes(PathOf("menu.ini/inside.txt")), "old");
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(IniFileIo, ReplaceOverwritesExistingFile) {
  const std::string path = PathOf("menu.ini");
  WriteBytes(path, "; mine\n[S]\na=1\n");
  {
    TOrvaneIniFile ini(path, DefaultFileAccess());
    ini.WriteString("S", "a", "2");
    ini.UpdateFile();
    EXPECT_FALSE(ini.Modified());
  }
  EXPECT_EQ(ReadBytes(path), "; mine\r\n[S]\r\na=2\r\n");
  EXPECT_EQ(FilesInFolder(), 1u);
}

#ifndef _WIN32
// Writing stops half-way (here at a file size limit, which holds for root too): the old
// file must still be whole and the document still modified.
TEST_F(IniFileIo, WriteFailingHalfWayKeepsOldFile) {
  const std::string path = PathOf("menu.ini");
  const std::string old = "; mine\r\n[S]\r\na=1\r\n";
  WriteBytes(path, old);
  TOrvaneIniFile ini(path, DefaultFileAccess());
  ini.WriteString("S", "a", std::string(1 << 16, 'x'));

  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  EXPECT_THROW(ini.UpdateFile(), EFCreateError);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(FilesInFolder(), 1u);
  ini.UpdateFile();
  EXPECT_EQ(ReadBytes(path).size(), old.size() + (1 << 16) - 1);
}

// The new file takes the place of the old one with its permissions, and a link is
// followed rather than replaced.
TEST_F(IniFileIo, ReplaceKeepsPermissionsAndLinks) {
  const std::string path = PathOf("menu.ini");
  WriteBytes(path, "[S]\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(path, PathOf("link.ini"));
  {
    TOrvaneIniFile ini(PathOf("link.ini"), DefaultFileAccess());
    ini.WriteString("S", "a", "1");
    ini.UpdateFile();
  }
  EXPECT_TRUE(fs::is_symlink(PathOf("link.ini")));
  EXPECT_EQ(ReadBytes(path), "[S]\r\na=1\r\n");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}
#endif

// Only UpdateFile writes: a document that goes without it, also one whose file cannot
// be written, leaves the file as it was and raises nothing.
TEST_F(IniFileIo, DestructionNeverWrites) {
  const std::string path = PathOf("menu.ini");
  WriteBytes(path, "[S]\r\na=1\r\n");
  {
    TOrvaneIniFile ini(path, DefaultFileAccess());
    ini.WriteString("S", "a", "half-done");
    EXPECT_TRUE(ini.Modified());
  }
  EXPECT_EQ(ReadBytes(path), "[S]\r\na=1\r\n");

  auto unwritable = [&] {
    TOrvaneIniFile ini(PathOf("no such folder/menu.ini"), DefaultFileAccess());
    ini.WriteString("S", "a", "1");
  };
  EXPECT_NO_THROW(unwritable());
  static_assert(std::is_nothrow_destructible_v<TOrvaneIniFile>);
}

}  // namespace
}  // namespace orvane
