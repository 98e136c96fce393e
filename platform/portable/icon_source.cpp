// Without a shell there are no icons: every attempt fails, so callers take their
// fallbacks.
#include "platform/icon_source.h"
#include "platform/file_system.h"

namespace orvane {
namespace {

class TNoIconSource : public IIconSource {
public:
  int ExtractIcons(const std::string&, int, TIcon&, TIcon&) override { return 0; }
  bool IconSize(IconHandle, int&, int&) override { return false; }
  void DestroyIcon(IconHandle) override {}
  bool IsNT() override { return true; }
  std::string ExpandEnvironment(const std::string& text) override {
    return DefaultFileSystem().ExpandEnvironment(text);
  }
  // Only files named with their directory can be found: there is no search path.
  bool FindFile(const std::string& path, const std::string& fileName, std::string& found) override {
    if (path.empty() || !DefaultFileSystem().FileExists(path + fileName)) return false;
    found = path + fileName;
    return true;
  }
  int SmallSizeMetric() override { return 16; }
  int IconMetric() override { return 32; }
  std::string MakeTempDocument(const std::string&) override { return std::string(); }
  void DeleteDocument(const std::string&) override {}
  TIcon AssociatedIcon(std::string&, std::uint16_t&) override { return TIcon(); }
  bool HasPrivateExtractIcons() override { return false; }
  TIcon PrivateExtractIcon(const std::string&, int, int, int, int& count) override {
    count = 0;
    return TIcon();
  }
  TIcon FileInfoIcon(const std::string&) override { return TIcon(); }
};

}  // namespace

IIconSource& DefaultIconSource() {
  static TNoIconSource source;
  return source;
}

}  // namespace orvane
