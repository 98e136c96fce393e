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
constexpr int kClientHeight = 270;

std::string FolderOf(const std::string& file) {
  const std::size_t slash = file.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string VersionText(IModuleVersions& versions, const std::string& file) {
  const TModuleVersion version = versions.Read(file);
  return version.Valid && !version.FileVersion.empty() ? version.FileVersion
                                                        : LoadResString(msg::SAboutNotFound);
}

}  // namespace

TfrmAbout::TfrmAbout(TComponent* owner, const TServices& services, const std::string& programFile,
                     int fileTypeCount, bool windows64,
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
      lblWebSite(Create<TLabel>("lblWebSite", this)),
      lblCopyInfo(Create<TLabel>("lblCopyInfo", this)),
      btnClose(Create<TButton>("btnClose", this)) {
  SetKeyPreview(true);
  SetCaption("About Orvane");
  SetClientSize(kClientWidth, kClientHeight);
  CenterOnScreen();
  const std::string folder = FolderOf(programFile);
  TFont bold;
  bold.Bold = true;
  bold.Size = 12;
  lblProduct.SetFont(bold);
  lblProduct.SetCaption(kAppTitle);
  lblVersion.SetCaption(
      FormatRes(msg::SAboutVersion, {VersionText(services.Versions, programFile)}));
  lblModule.SetCaption(FormatRes(msg::SAboutModule, {VersionText(services.Versions,
                                                                 folder + "OVShlExt.DLL")}));
  lblModule64.SetCaption(FormatRes(
      msg::SAboutModule64, {VersionText(services.Versions, folder + "x64\\OVShlExt.DLL")}));
  lblModule64.SetVisible(windows64);
  lblDynamicItems.SetCaption(LoadResString(ShellExtRegistered(services.Registry)
                                               ? msg::SAboutDynamicOn
                                               : msg::SAboutDynamicOff));
  const TOSInfo os = GetOSInfo();
  lblOS.SetCaption(FormatRes(msg::SAboutOS, {os.Name, os.Version}));
  lblMemory.SetCaption(FormatRes(msg::SAboutMemory, {GetMemoryText()}));
  lblFileTypes.SetCaption(
      FormatRes(msg::SAboutFileTypes, {static_cast<long long>(fileTypeCount)}));
  TFont link;
  link.Color = RGB(0, 0, 192);
  lblWebSite.SetFont(link);
  lblWebSite.SetCaption(kMakerWebSite);
  lblWebSite.SetHint("|Web site\r\nOpens the maker's web site in the browser.");
  lblWebSite.OnClick = [] {
    try {
      OpenLink(kMakerWebSite);
    } catch (const std::exception& error) {
      ShowMessageBox(error.what(), kAppTitle, MB_OK | MB_ICONWARNING);
    }
  };
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
  for (TLabel* label : {&lblProduct, &lblVersion, &lblModule, &lblModule64, &lblDynamicItems,
                        &lblOS, &lblMemory, &lblFileTypes, &lblWebSite, &lblCopyInfo}) {
    if (!label->Visible()) continue;
    label->SetBounds(16, top, kClientWidth - 32, label == &lblProduct ? 24 : 16);
    top += label == &lblProduct ? 32 : 20;
  }
  btnClose.SetBounds(kClientWidth - 91, kClientHeight - 33, 75, 25);
  btnClose.SetCaption("Close");
  btnClose.OnClick = [this] { SetModalResult(IDCANCEL); };
  ApplyMessageFont(*this);
}

bool TfrmAbout::KeyDown(WORD key, TShortCut shift) {
  if ((key == VK_RETURN || key == VK_ESCAPE) && shift == 0) {
    SetModalResult(IDCANCEL);
    return true;
  }
  return false;
}

void ShowAbout(const TServices& services, const std::string& programFile, int fileTypeCount,
               bool windows64, std::function<std::string()> systemReport) {
  TfrmAbout dialog(nullptr, services, programFile, fileTypeCount, windows64,
                   std::move(systemReport));
  dialog.ShowModal();
}

}  // namespace orvane
