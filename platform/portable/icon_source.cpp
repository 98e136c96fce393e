// Without a shell there are no icons: every attempt fails, so callers take their
// fallbacks.
#include <filesystem>

#include "platform/icon_source.h"

namespace orvane {
namespace {

class TNoIconSource : public IIconSource {
public:
  int ExtractIcons(const std::string&, int, TIcon&, TIcon&) override { return 0; }
  bool IconSize(IconHandle, int&, int&) override { return false; }
  void DestroyIcon(IconHandle) override {}
  bool IsNT() override { return true; }
  std::string ExpandEnvironment(const std::string& text) override { return text; }
  // Only files named with their directory can be found: there is no search path.
  bool FindFile(const std::string& path, const std::string& fileName, std::string& found) override {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path + fileName, error)) return false;
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
