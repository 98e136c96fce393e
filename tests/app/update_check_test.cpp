// "Check for Updates" against the loopback web server that with_update_server.sh starts:
// the system's downloader with its limits and its trust in certificates, the check over
// it, and the messages and pages the user meets. The test's own certificate authority is
// in the prefix's "Root" store and the recorder is the prefix's web browser only while
// this program runs.

#include <windows.h>
// After windows.h, which they build on.
#include <wincrypt.h>
#include <wininet.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/update_prompt.h"
#include "platform/exception.h"
#include "platform/system_folders.h"
#include "platform/win32/window_helpers.h"
#include "platform/win32/wininet_downloader.h"
#include "services/maker_endpoints.h"
#include "services/update_check.h"

namespace orvane::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string Https(const std::string& path) {
  return "https://localhost:" + Env("ORVANE_TEST_HTTPS_PORT") + path;
}

// The program's own version, whatever file is asked.
class TProgramVersion : public IModuleVersions {
public:
  TModuleVersion Read(const std::string&) override {
    return TModuleVersion{true, "Orvane", "Orvane 2008", "Vantrel", "2008.0.0.0"};
  }
};

class UpdateCheckWineTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_FALSE(Env("ORVANE_TEST_HTTPS_PORT").empty()) << "run through with_update_server.sh";
    std::ifstream file(Env("ORVANE_TEST_CA"), std::ios::binary);
    const std::vector<char> der((std::istreambuf_iterator<char>(file)), {});
    ASSERT_FALSE(der.empty());
    root_ = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
    ASSERT_NE(root_, nullptr);
    ASSERT_TRUE(CertAddEncodedCertificateToStore(
        root_, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
        static_cast<DWORD>(der.size()), CERT_STORE_ADD_NEW, &authority_));
    // Written to the prefix's registry now, where the chain engine reads it.
    ASSERT_TRUE(CertControlStore(root_, 0, CERT_STORE_CTRL_COMMIT, nullptr));
    // The recorder stands in for the browser; the prefix's own choice comes back after.
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &browserKey_, nullptr),
              ERROR_SUCCESS);
    char old[1024] = {};
    DWORD size = sizeof old;
    if (RegQueryValueExA(browserKey_, "Browsers", nullptr, nullptr, reinterpret_cast<BYTE*>(old),
                         &size) == ERROR_SUCCESS)
      oldBrowsers_ = std::string(old);
    const std::string browser = Env("ORVANE_TEST_BROWSER");
    RegSetValueExA(browserKey_, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(browser.c_str()),
                   static_cast<DWORD>(browser.size() + 1));
  }

  static void TearDownTestSuite() {
    if (authority_) CertDeleteCertificateFromStore(authority_);
    authority_ = nullptr;
    if (root_) CertControlStore(root_, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    if (root_) CertCloseStore(root_, 0);
    root_ = nullptr;
    if (browserKey_) {
      if (oldBrowsers_) {
        RegSetValueExA(browserKey_, "Browsers", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(oldBrowsers_->c_str()),
                       static_cast<DWORD>(oldBrowsers_->size() + 1));
      } else {
        RegDeleteValueA(browserKey_, "Browsers");
      }
      RegCloseKey(browserKey_);
      browserKey_ = nullptr;
    }
  }

  void SetUp() override {
    answers_.emplace([this](const std::string& text, const std::string& caption, UINT flags) {
      boxes.push_back({text, caption, flags});
      return answer;
    });
  }
  void TearDown() override { answers_.reset(); }

  TUpdatePrompt Prompt(const std::string& path) {
    return TUpdatePrompt{versions, downloader, "orvane.exe", Https(path), kMakerWebSite,
                         [this](const std::string& url) { opened.push_back(url); }};
  }

  struct TBox {
    std::string Text;
    std::string Caption;
    UINT Flags;
  };
  TProgramVersion versions;
  TWinINetDownloader downloader{"Orvane 2008", TDownloadLimits{3000, 3000, 5000, 64 * 1024}};
  std::vector<TBox> boxes;
  std::vector<std::string> opened;
  int answer = IDYES;

private:
  std::optional<TMessageBoxAnswers> answers_;
  static inline HCERTSTORE root_ = nullptr;
  static inline PCCERT_CONTEXT authority_ = nullptr;
  static inline HKEY browserKey_ = nullptr;
  static inline std::optional<std::string> oldBrowsers_;
};

TEST_F(UpdateCheckWineTest, DownloadsOverATrustedConnectionOnly) {
  EXPECT_EQ(downloader.DownloadText(Https("/news")), "Faster start with many file types");
  // Plain http, even to the same host, and a redirection to it, are refused.
  const std::string plain = "http://localhost:" + Env("ORVANE_TEST_PLAIN_PORT") + "/newer";
  EXPECT_THROW(downloader.DownloadText(plain), EOSError);
  EXPECT_THROW(downloader.DownloadText(Https("/to-plain")), EOSError);
  try {
    downloader.DownloadText("https://localhost:" + Env("ORVANE_TEST_UNTRUSTED_PORT") + "/newer");
    FAIL() << "a certificate nobody trusts was accepted";
  } catch (const EOSError& error) {
    EXPECT_GE(error.ErrorCode(), 12000u) << error.what();
    EXPECT_LT(error.ErrorCode(), 13000u) << error.what();
  }
  // A missing page is no version file.
  EXPECT_THROW(downloader.DownloadText(Https("/absent")), EOSError);
}

TEST_F(UpdateCheckWineTest, AServerThatNeverAnswersEndsByTheTimeLimit) {
  try {
    downloader.DownloadText(Https("/hang"));
    FAIL() << "the silent server was waited for without end";
  } catch (const EOSError& error) {
    EXPECT_EQ(error.ErrorCode(), static_cast<unsigned long>(ERROR_INTERNET_TIMEOUT)) << error.what();
  }
}

TEST_F(UpdateCheckWineTest, AHugeBodyIsReadOnlyUpToTheLimit) {
  const std::string body = downloader.DownloadText(Https("/big"));
  EXPECT_EQ(body.size(), 64u * 1024);
  EXPECT_THAT(body, StartsWith("LatestVersion=2009.2\r\n"));
  const TUpdateCheckResult result = CheckForUpdate(versions, downloader, "orvane.exe", Https("/big"));
  EXPECT_TRUE(result.Available);
  EXPECT_EQ(result.LatestVersion, "2009.2");
}

TEST_F(UpdateCheckWineTest, EachVersionFileGetsItsMessage) {
  CheckForUpdatesAndAsk(Prompt("/newer"));
  CheckForUpdatesAndAsk(Prompt("/same"));
  CheckForUpdatesAndAsk(Prompt("/older"));
  answer = IDNO;
  CheckForUpdatesAndAsk(Prompt("/missing-keys"));
  CheckForUpdatesAndAsk(Prompt("/news-page"));
  CheckForUpdatesAndAsk(Prompt("/news-failing"));
  ASSERT_EQ(boxes.size(), 6u);
  EXPECT_EQ(boxes[0].Text,
            "The new version 2009.1.0.0 is available!\r\nWhat's new:\r\nIcons in every "
            "submenu\r\n\r\nDo you want to visit the web site to download it right now?");
  EXPECT_EQ(boxes[0].Caption, "Orvane 2008");
  EXPECT_EQ(boxes[0].Flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  for (int same : {1, 2}) {
    EXPECT_EQ(boxes[same].Text, "You have the latest version of the application.");
    EXPECT_EQ(boxes[same].Flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  }
  EXPECT_EQ(boxes[3].Text, "Cannot get latest version information at URL \"" +
                               Https("/missing-keys") +
                               "\".\r\nEAutoUpdate: Latest version info is inaccessible\r\n\r\n"
                               "Do you want to visit the web site to check for the latest "
                               "version manually?");
  EXPECT_EQ(boxes[3].Flags, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
  EXPECT_THAT(boxes[4].Text, HasSubstr("What's new:\r\nFaster start with many file types\r\n"));
  EXPECT_THAT(boxes[5].Text, HasSubstr("The new version 2009.0 is available!\r\nWhat's new:\r\n"
                                       "Cannot get the information page for the new version at "
                                       "URL \"" + Https("/absent") + "\".\r\nEOSError: "));
  // Yes to the first announcement opened its download page, nothing else was opened.
  EXPECT_EQ(opened, std::vector<std::string>{"https://www.vantrel.com/orvane/get"});
}

TEST_F(UpdateCheckWineTest, AnUntrustedServerFailsTheCheckAndOffersTheSite) {
  TUpdatePrompt prompt = Prompt("/newer");
  prompt.VersionFileUrl = "https://localhost:" + Env("ORVANE_TEST_UNTRUSTED_PORT") + "/newer";
  CheckForUpdatesAndAsk(prompt);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_THAT(boxes[0].Text, StartsWith("Cannot get latest version information at URL \"" +
                                        prompt.VersionFileUrl + "\".\r\nEOSError: "));
  EXPECT_EQ(opened, std::vector<std::string>{kMakerWebSite});
}

TEST_F(UpdateCheckWineTest, AnAddressThatIsNoWebPageIsNeverOpened) {
  for (const char* path : {"/file-url", "/program-path"}) {
    SCOPED_TRACE(path);
    boxes.clear();
    CheckForUpdatesAndAsk(Prompt(path));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_THAT(boxes[1].Text, HasSubstr("is not a web page and was not opened"));
    EXPECT_EQ(boxes[1].Flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  }
  EXPECT_TRUE(opened.empty());
}

// The real way out: the shell hands the page to the prefix's browser, the recorder.
TEST_F(UpdateCheckWineTest, TheDownloadPageReachesTheBrowser) {
  const std::string folder = Env("ORVANE_TEST_OPENED");
  const std::string pages = folder + "\\pages.txt";
  DeleteFileA(pages.c_str());
  HANDLE change = FindFirstChangeNotificationA(folder.c_str(), FALSE,
                                               FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE);
  ASSERT_NE(change, INVALID_HANDLE_VALUE);
  TUpdatePrompt prompt = Prompt("/newer");
  prompt.OpenPage = ShellOpenPage;
  CheckForUpdatesAndAsk(prompt);
  // The browser runs on its own: its first line is awaited, within a limit.
  std::string seen;
  for (int i = 0; i < 10 && seen.find('\n') == std::string::npos; ++i) {
    if (WaitForSingleObject(change, 10000) != WAIT_OBJECT_0) break;
    std::ifstream file(pages);
    seen.assign(std::istreambuf_iterator<char>(file), {});
    FindNextChangeNotification(change);
  }
  FindCloseChangeNotification(change);
  EXPECT_EQ(seen, "https://www.vantrel.com/orvane/get\n");
}

}  // namespace
}  // namespace orvane::testing
