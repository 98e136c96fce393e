#include "maintenance/handler_samples.h"

#include <gtest/gtest.h>

#include "platform/memory_registry.h"
#include "platform/reg_text.h"
#include "tests/storage/memory_files.h"

namespace orvane {
namespace {

TEST(HandlerSamples, EachHandlerPlaceGivesTheTypeItIsRegisteredFor) {
  const struct {
    const char* KeyPath;
    const char* Type;
  } cases[] = {
      {"*\\shellex\\ContextMenuHandlers\\Tools", "*"},
      {".txt\\shellex\\ContextMenuHandlers\\{1}", ".txt"},
      {"SystemFileAssociations\\image\\ShellEx\\ContextMenuHandlers\\View", "image"},
      {"Software\\Orvane\\DisabledItems\\Dynamic\\Directory\\shellex\\ContextMenuHandlers\\A",
       "Directory"},
      {"Software\\Orvane\\DisabledItems\\Dynamic\\SystemFileAssociations\\.jpg\\shellex\\"
       "ContextMenuHandlers\\A",
       ".jpg"},
      {"broken", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(HandlerFileType(c.KeyPath), c.Type) << c.KeyPath;
}

class HandlerSamplesTest : public ::testing::Test {
protected:
  void SetUp() override {
    ImportRegText(registry,
                  "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.txt]\n@=\"txtfile\"\n\"PerceivedType\"=\"text\"\n"
                  "[HKEY_CLASSES_ROOT\\.png]\n@=\"pngfile\"\n\"PerceivedType\"=\"image\"\n"
                  "[HKEY_CLASSES_ROOT\\.odd]\n@=hex:01,02\n\"PerceivedType\"=dword:00000001\n"
                  "[HKEY_CLASSES_ROOT\\txtfile]\n[HKEY_CLASSES_ROOT\\pngfile]\n");
  }
  std::string Sample(const std::string& type) {
    std::string why;
    std::string path = samples.SampleFor(type, why);
    EXPECT_EQ(path.empty(), !why.empty()) << type << ": " << why;
    return path;
  }

  TMemoryRegistry registry;
  testing::TMemoryFiles files;
  THandlerSamples samples{registry, files, "C:\\Temp\\Orvane samples\\"};
};

TEST_F(HandlerSamplesTest, EachTypeGetsAnObjectARightClickWouldBeOn) {
  const struct {
    const char* Type;
    const char* Path;
  } cases[] = {
      {"*", "C:\\Temp\\Orvane samples\\Sample.txt"},
      {".md", "C:\\Temp\\Orvane samples\\Sample.md"},
      {"PNGFILE", "C:\\Temp\\Orvane samples\\Sample.png"},
      {"text", "C:\\Temp\\Orvane samples\\Sample.txt"},
      {"Directory", "C:\\Temp\\Orvane samples\\Sample folder"},
      {"Folder", "C:\\Temp\\Orvane samples\\Sample folder"},
      {"Drive", "C:\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(Sample(c.Type), c.Path) << c.Type;
  EXPECT_EQ(files.Files.count("C:\\Temp\\Orvane samples\\Sample.md"), 1u);
  EXPECT_EQ(files.Folders.count("C:\\Temp\\Orvane samples\\Sample folder\\"), 1u);
}

TEST_F(HandlerSamplesTest, TypesWithoutAnExtensionOrAFileThatCannotBeMadeHaveNoSample) {
  // ".odd" names its type in values of other kinds: it belongs to no type.
  for (const char* type : {"DesktopBackground", "Printers", "unknownfile", "1"}) {
    std::string why;
    EXPECT_EQ(samples.SampleFor(type, why), "") << type;
    EXPECT_NE(why.find(type), std::string::npos) << why;
  }
  files.FailWrites = true;
  std::string why;
  EXPECT_EQ(samples.SampleFor(".doc", why), "");
  EXPECT_FALSE(why.empty());
}

}  // namespace
}  // namespace orvane
