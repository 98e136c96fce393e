// The main window's way to the services: "Check for Updates" checks through the
// downloader it was given, "About" is always there.

#include <gmock/gmock.h>

#include "platform/exception.h"
#include "tests/app/app_fixture.h"

namespace orvane::testing {
namespace {

class TAnsweringDownloader : public IDownloader {
public:
  std::string Body;
  std::vector<std::string> Asked;
  std::string DownloadText(const std::string& url) override {
    Asked.push_back(url);
    if (Body.empty()) throw EOSError("The operation timed out (12002)", 12002);
    return Body;
  }
};

class MainWindowServicesTest : public MainWindowTest {
protected:
  std::unique_ptr<TfrmMain> CreateWith(IDownloader* downloader) {
    TMainFormSettings settings;
    settings.MenuFile = menuFile;
    settings.Downloader = downloader;
    settings.VersionFileUrl = "https://updates.test/versioninfo.txt";
    return std::make_unique<TfrmMain>(nullptr, Services(), settings);
  }
};

TEST_F(MainWindowServicesTest, CheckForUpdatesAsksTheGivenServerAboutThisProgram) {
  TAnsweringDownloader downloader;
  auto form = CreateWith(&downloader);
  // The test program carries the program's version resource.
  downloader.Body = "LatestVersion=" ORVANE_VERSION_TEXT "\r\n";
  form->spbCheckUpdates.OnClick();
  downloader.Body = "LatestVersion=2999.0\r\nUpdateURL=https://updates.test/get\r\n";
  form->spbCheckUpdates.OnClick();
  downloader.Body.clear();
  form->spbCheckUpdates.OnClick();
  EXPECT_EQ(downloader.Asked, std::vector<std::string>(3, "https://updates.test/versioninfo.txt"));
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].Text, "You have the latest version of the application.");
  EXPECT_THAT(boxes[1].Text, ::testing::StartsWith("The new version 2999.0 is available!"));
  EXPECT_THAT(boxes[2].Text, ::testing::HasSubstr("EOSError: The operation timed out (12002)"));
}

TEST_F(MainWindowServicesTest, WithoutADownloaderTheButtonDoesNothing) {
  auto form = CreateWith(nullptr);
  form->spbCheckUpdates.OnClick();
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(form->actAbout.Enabled());
}

}  // namespace
}  // namespace orvane::testing
