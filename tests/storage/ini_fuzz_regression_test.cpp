// Inputs that the fuzz target found troublesome, kept as regression tests.

#include <gtest/gtest.h>

#include "memory_files.h"
#include "storage/orvane_ini_file.h"

namespace orvane {
namespace {

// From crash-a5360d30: a text cut by a NUL byte, then a key created with an empty value
// in a new section. Creating it is no change, so the file only gets it along with a
// later change; the reloaded document must then answer like the edited one.
TEST(IniFuzzRegression, KeyCreatedEmptyReachesFileWithNextChange) {
  testing::TMemoryFiles files;
  files.Files["a.ini"] = std::string(
      "[A]\nk=1[\0\rk\xC6"
      "2\na\n",
      16);
  TOrvaneIniFile ini("a.ini", files);
  ini.WriteString("k", "k", "");
  EXPECT_FALSE(ini.Modified());
  ini.UpdateFile();
  EXPECT_EQ(files.Writes, 0);

  ini.WriteString("A", "k", "2");
  ini.UpdateFile();
  EXPECT_EQ(files.Files["a.ini"], "[A]\r\nk=2\r\n\r\n[k]\r\nk=\r\n");
  TOrvaneIniFile reloaded("a.ini", files);
  EXPECT_EQ(reloaded.ReadString("k", "k", "?"), "");
  EXPECT_EQ(reloaded.ReadString("A", "k", "?"), "2");
}

}  // namespace
}  // namespace orvane
