#include "app/about_dialog.h"

#include "app/shell_ext_switch.h"
#include "platform/clipboard.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#include "platform/win32/window_helpers.h"
#include "services/maker_endpoints.h"

namespace orvane {
namespace {

constexpr int kClientWidth = 420;
constexpr COLORREF kLinkColor = RGB(0, 0, 192);

std::string FolderOf(const std::string& file) {
  const std::size_t slash = file.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string VersionText(IModuleVersions& versions, const std::string& file) {
  const TModuleVersion version = versions.Read(file);
  return version.Valid && !version.FileVersion.empty() ? version.FileVersion
                                                        : LoadResString(msg::SAboutNotFound);
}

// A label whose caption is an address that a click opens (a mail address as a new
// e-mail); a failure is shown, not raised.
void MakeLink(TLabel& label) {
  TFont font;
  font.Color = kLinkColor;
  label.SetFont(font);
  label.OnClick = [&label] {
    try {
      OpenLink(label.Caption());
    } catch (const std::exception& error) {
      ShowMessageBox(error.what(), kAppTitle, MB_OK | MB_ICONWARNING);
    }
  };
}

}  // namespace

std::string ReleaseDateText(const std::string& programFile, unsigned localeId) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(programFile.c_str(), GetFileExInfoStandard, &data)) return {};
  FILETIME local{};
  SYSTEMTIME time{};
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !FileTimeToSystemTime(&local, &time))
    return {};
  char text[128] = {};
  if (!GetDateFormatA(localeId, DATE_SHORTDATE, &time, nullptr, text, sizeof text)) return {};
  return text;
}

TfrmAbout::TfrmAbout(TComponent* owner, const TServices& services, const TAboutFacts& facts,
                     std::function<std::string()> systemReport)
    : TForm(owner, "frmAbout", TStyle{TBorderStyle::Dialog, false, false, false}),
      lblProduct(Create<TLabel>("lblProduct", this)),
      lblVersion(Create<TLabel>("lblVersion", this)),
      lblModule(Create<TLabel>("lblModule", this)),
      lblModule64(Create<TLabel>("lblModule64", this)),
      lblDynamicItems(Create<TLabel>("lblDynamicItems", this)),
      lblOS(Create<TLabel>("lblOS", this)),
      lblMemory(Create<TLabel>("lblMemory", this)),
      lblFileTypes(Create<TLabel>("lblFileTypes", this)),
      lblReleaseDate(Create<TLabel>("lblReleaseDate", this)),
      lblWebSite(Create<TLabel>("lblWebSite", this)),
      lblEmail(Create<TLabel>("lblEmail", this)),
      lblTranslation(Create<TLabel>("lblTranslation", this)),
      lblTranslatorName(Create<TLabel>("lblTranslatorName", this)),
      lblTranslatorEmailOrWebSite(Create<TLabel>("lblTranslatorEmailOrWebSite", this)),
      lblCopyInfo(Create<TLabel>("lblCopyInfo", this)),
      btnClose(Create<TButton>("btnClose", this)) {
  SetKeyPreview(true);
  SetCaption("About Orvane");
  btnClose.SetCaption("Close");
  lblWebSite.SetHint("|Web site\r\nOpens the maker's web site in the browser.");
  lblEmail.SetHint("|E-mail\r\nWrites to the maker's support address.");
  // The credits come from the language file; the texts below are the window's own.
  Translate();

  const std::string folder = FolderOf(facts.ProgramFile);
  TFont bold;
  bold.Bold = true;
  bold.Size = 12;
  lblProduct.SetFont(bold);
  lblProduct.SetCaption(kAppTitle);
  lblVersion.SetCaption(
      FormatRes(msg::SAboutVersion, {VersionText(services.Versions, facts.ProgramFile)}));
  lblModule.SetCaption(FormatRes(msg::SAboutModule, {VersionText(services.Versions,
                                                                 folder + "OVShlExt.DLL")}));
  lblModule64.SetCaption(FormatRes(
      msg::SAboutModule64, {VersionText(services.Versions, folder + "x64\\OVShlExt.DLL")}));
  lblModule64.SetVisible(facts.Windows64);
  lblDynamicItems.SetCaption(LoadResString(ShellExtRegistered(services.Registry)
                                               ? msg::SAboutDynamicOn
                                               : msg::SAboutDynamicOff));
  const TOSInfo os = GetOSInfo();
  lblOS.SetCaption(FormatRes(msg::SAboutOS, {os.Name, os.Version}));
  lblMemory.SetCaption(FormatRes(msg::SAboutMemory, {GetMemoryText()}));
  lblFileTypes.SetCaption(
      FormatRes(msg::SAboutFileTypes, {static_cast<long long>(facts.FileTypeCount)}));
  lblReleaseDate.SetCaption(FormatRes(msg::SAboutReleaseDate, {facts.ReleaseDate}));
  lblReleaseDate.SetVisible(!facts.ReleaseDate.empty());
  lblWebSite.SetCaption(kMakerWebSite);
  lblEmail.SetCaption(kSupportAddress);
  for (TLabel* link : {&lblWebSite, &lblEmail, &lblTranslatorEmailOrWebSite}) MakeLink(*link);
  for (TLabel* credit : {&lblTranslation, &lblTranslatorName, &lblTranslatorEmailOrWebSite})
    credit->SetVisible(!credit->Caption().empty());
  TFont link;
  link.Color = kLinkColor;
  lblCopyInfo.SetFont(link);
  lblCopyInfo.SetCaption(LoadResString(msg::SAboutCopyInfo));
  lblCopyInfo.OnClick = [&clipboard = services.Clipboard, report = std::move(systemReport)] {
    try {
      const std::string text = report();
      TClipboardOpen open(clipboard);
      clipboard.Empty();
      clipboard.SetData(kCfText, std::string_view(text.c_str(), text.size() + 1));
    } catch (const std::exception& error) {
      ShowMessageBox(error.what(), kAppTitle, MB_OK | MB_ICONWARNING);
    }
  };
  int top = 12;
  for (TLabel* label :
       {&lblProduct, &lblVersion, &lblModule, &lblModule64, &lblDynamicItems, &lblOS, &lblMemory,
        &lblFileTypes, &lblReleaseDate, &lblWebSite, &lblEmail, &lblTranslation,
        &lblTranslatorName, &lblTranslatorEmailOrWebSite, &lblCopyInfo}) {
    if (!label->Visible()) continue;
    if (label == &lblWebSite || label == &lblTranslation || label == &lblCopyInfo) top += 8;
    label->SetBounds(16, top, kClientWidth - 32, label == &lblProduct ? 24 : 16);
    top += label == &lblProduct ? 32 : 20;
  }
  const int height = top + 45;
  SetClientSize(kClientWidth, height);
  btnClose.SetBounds(kClientWidth - 91, height - 33, 75, 25);
  btnClose.OnClick = [this] { SetModalResult(IDCANCEL); };
  CenterOnScreen();
  ApplyMessageFont(*this);
}

bool TfrmAbout::KeyDown(WORD key, TShortCut shift) {
  if ((key == VK_RETURN || key == VK_ESCAPE) && shift == 0) {
    SetModalResult(IDCANCEL);
    return true;
  }
  return false;
}

void ShowAbout(const TServices& services, const TAboutFacts& facts,
               std::function<std::string()> systemReport) {
  TfrmAbout dialog(nullptr, services, facts, std::move(systemReport));
  dialog.ShowModal();
}

}  // namespace orvane
