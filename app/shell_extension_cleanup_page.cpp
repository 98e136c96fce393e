#include "app/shell_extension_cleanup_page.h"

#include <shellapi.h>

#include <algorithm>
#include <tuple>

#include "controls/form.h"
#include "app/handler_measure_run.h"
#include "filetypes/file_type_icons.h"
#include "maintenance/disabled_store.h"
#include "maintenance/handler_samples.h"
#include "platform/ansi_case.h"
#include "platform/file_system.h"
#include "platform/icon_source.h"
#include "platform/messages.h"
#include "platform/registry_types.h"
#include "platform/win32/system_error.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

constexpr int kPageWidth = 740;
constexpr int kPageHeight = 315;
constexpr int kTreeWidth = 330;
constexpr int kTimeWidth = 70;
constexpr COLORREF kMaroon = RGB(128, 0, 0);

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::vector<TClassView> SystemClassViews(bool windows64, const std::string& windowsFolder) {
  if (!windows64) return {};
  static TWin32Registry view32(kKeyWow64_32Key);
  static TWin32Registry view64(kKeyWow64_64Key);
  TClassView wide{&view64, TBitness::Bits64, {}, {}};
  // A 32-bit program sees the 32-bit system folder under the 64-bit one's name.
  if (sizeof(void*) == 4 && !windowsFolder.empty()) {
    wide.RedirectedFolder = windowsFolder + "system32\\";
    wide.NativeFolder = windowsFolder + "Sysnative\\";
  }
  return {{&view32, TBitness::Bits32, {}, {}}, wide};
}

TfrmDynamicCleanup::TfrmDynamicCleanup(TForm& form, TWinControl& parent,
                                       TShellExtensionCleanup& model, const TServices& services,
                                       THandlerMeasuring measuring)
    : frame_(form.Create<TComponent>("frmDynamicCleanup")),
      lblExtensions(frame_.Create<TLabel>("lblExtensions", &parent)),
      spbRefresh(frame_.Create<TSpeedButton>("spbRefresh", &parent)),
      spbXFind(frame_.Create<TSpeedButton>("spbXFind", &parent)),
      spbDelete(frame_.Create<TSpeedButton>("spbDelete", &parent)),
      spbModule(frame_.Create<TSpeedButton>("spbModule", &parent)),
      lblFilter(frame_.Create<TLabel>("lblFilter", &parent)),
      edFilter(frame_.Create<TEdit>("edFilter", &parent)),
      spbMeasure(frame_.Create<TSpeedButton>("spbMeasure", &parent)),
      chkSlowest(frame_.Create<TCheckBox>("chkSlowest", &parent)),
      tvExtensions(frame_.Create<TAdvTreeView>("tvExtensions", &parent)),
      lblMeasure(frame_.Create<TLabel>("lblMeasure", &parent)),
      pnlDetails(frame_.Create<TPanel>("pnlDetails", &parent)),
      imApp(frame_.Create<TImage>("imApp", &pnlDetails)),
      chkInclude(frame_.Create<TCheckBox>("chkInclude", &pnlDetails)),
      lblAppPath(frame_.Create<TLabel>("lblAppPath", &pnlDetails)),
      edAppPath(frame_.Create<TEdit>("edAppPath", &pnlDetails)),
      lblRegistryKey(frame_.Create<TLabel>("lblRegistryKey", &pnlDetails)),
      edRegistryKey(frame_.Create<TEdit>("edRegistryKey", &pnlDetails)),
      lblDescription(frame_.Create<TLabel>("lblDescription", &pnlDetails)),
      edDescription(frame_.Create<TEdit>("edDescription", &pnlDetails)),
      lblProductName(frame_.Create<TLabel>("lblProductName", &pnlDetails)),
      edProductName(frame_.Create<TEdit>("edProductName", &pnlDetails)),
      lblVersion(frame_.Create<TLabel>("lblVersion", &pnlDetails)),
      edVersion(frame_.Create<TEdit>("edVersion", &pnlDetails)),
      lblCompany(frame_.Create<TLabel>("lblCompany", &pnlDetails)),
      edCompany(frame_.Create<TEdit>("edCompany", &pnlDetails)),
      lblCLSID(frame_.Create<TLabel>("lblCLSID", &pnlDetails)),
      edCLSID(frame_.Create<TEdit>("edCLSID", &pnlDetails)),
      lblBitness(frame_.Create<TLabel>("lblBitness", &pnlDetails)),
      edBitness(frame_.Create<TEdit>("edBitness", &pnlDetails)),
      lblTime(frame_.Create<TLabel>("lblTime", &pnlDetails)),
      edTime(frame_.Create<TEdit>("edTime", &pnlDetails)),
      pnlError(frame_.Create<TPanel>("pnlError", &pnlDetails)),
      lblError(frame_.Create<TLabel>("lblError", &pnlError)),
      pnlBlocked(frame_.Create<TPanel>("pnlBlocked", &pnlDetails)),
      lblBlocked(frame_.Create<TLabel>("lblBlocked", &pnlBlocked)),
      ShellOpen([](const std::string& verb, const std::string& target) {
        return static_cast<long long>(reinterpret_cast<INT_PTR>(ShellExecuteA(
            GetActiveWindow(), verb.c_str(), target.c_str(), nullptr, nullptr, SW_SHOW)));
      }),
      model_(model),
      services_(services),
      measuring_(std::move(measuring)) {
  InitLayout();
  ilExtensions_.Recreate32();
  tvExtensions.SetImages(ilExtensions_.Handle());
  model_.OnChange = [this] {
    if (OnChange) OnChange();
  };
  tvExtensions.OnChange = [this](TTreeNode) {
    if (!loading_) ShowDetails();
  };
  tvExtensions.OnCustomDraw = [this](NMTVCUSTOMDRAW& draw) { return CustomDraw(draw); };
  chkInclude.OnClick = [this] {
    TExtensionInfo* entry = Selected();
    if (showingDetails_ || !entry) return;
    model_.SetWantDisabled(*entry, !chkInclude.Checked());
    tvExtensions.Invalidate();
  };
  spbRefresh.OnClick = [this] { Reload(); };
  spbXFind.OnClick = [this] { FindModule(); };
  spbDelete.OnClick = [this] { DeleteSelected(); };
  spbModule.OnClick = [this] { SwitchOffModule(); };
  spbMeasure.OnClick = [this] { Measure(); };
  edFilter.OnChange = [this] {
    if (!loading_) FillTree();
  };
  chkSlowest.OnClick = [this] {
    if (!loading_) FillTree();
  };
  ShowDetails();
}

TfrmDynamicCleanup::~TfrmDynamicCleanup() {
  run_.reset();
  // The controls outlive the page: nothing of theirs may call it any more.
  model_.OnChange = nullptr;
  tvExtensions.OnChange = nullptr;
  tvExtensions.OnCustomDraw = nullptr;
  tvExtensions.SetImages(nullptr);
  chkInclude.OnClick = nullptr;
  edFilter.OnChange = nullptr;
  chkSlowest.OnClick = nullptr;
  for (TSpeedButton* button : {&spbRefresh, &spbXFind, &spbDelete, &spbModule, &spbMeasure})
    button->OnClick = nullptr;
}

void TfrmDynamicCleanup::InitLayout() {
  lblExtensions.SetBounds(8, 10, 100, 16);
  lblExtensions.SetCaption(" Shell Extensions ");
  buttonRow_.Place(110, 6, 22, 2);
  for (auto [button, caption, hint, width] :
       {std::tuple{&spbRefresh, "Refresh", "Reload list of shell extensions from registry", 56},
        {&spbXFind, "Find", "Find shell extension DLL", 40},
        {&spbDelete, "Delete", "Unregister shell extension", 50},
        {&spbModule, "All of DLL",
         "|Select all from this module\r\nSwitches off every entry whose DLL is the selected "
         "entry's.",
         70}}) {
    button->SetHint(hint);
    buttonRow_.Add(*button, caption, width);
  }
  lblFilter.SetBounds(8, 36, 40, 16);
  lblFilter.SetCaption("Fi&lter:");
  lblFilter.SetFocusControl(&edFilter);
  edFilter.SetBounds(50, 33, 130, 22);
  edFilter.SetHint("|Filter\r\nShows only the entries whose caption, DLL path or company "
                   "contains the text.");
  spbMeasure.SetBounds(184, 33, 60, 22);
  spbMeasure.SetCaption("Measure");
  spbMeasure.SetHint("|Measure\r\nTimes how long each listed extension takes to add its items "
                     "to a context menu, each in a helper program of its own; click again to "
                     "stop.");
  chkSlowest.SetBounds(250, 34, kTreeWidth + 8 - 250, 20);
  chkSlowest.SetCaption("Slo&west first");
  chkSlowest.SetHint("|Slowest first\r\nLists the measured extensions by their time, the "
                     "slowest first.");
  tvExtensions.SetBounds(8, 60, kTreeWidth, kPageHeight - 102);
  lblMeasure.SetBounds(8, kPageHeight - 38, kTreeWidth, 30);
  lblMeasure.SetWordWrap(true);
  lblMeasure.SetAnchors({true, false, false, true});
  tvExtensions.SetAnchors({true, true, false, true});
  tvExtensions.SetReadOnly(true);
  tvExtensions.RightClickSelect = true;
  SetWindowLongA(tvExtensions.Handle(), GWL_STYLE,
                 (GetWindowLongA(tvExtensions.Handle(), GWL_STYLE) | TVS_FULLROWSELECT) &
                     ~(TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS));
  tvExtensions.SetHint("|List of shell extensions\r\nDark red: the DLL is not available. Grey: "
                       "switched off, or blocked by another program.");

  const int detailsLeft = kTreeWidth + 16;
  const int width = kPageWidth - detailsLeft - 8;
  pnlDetails.SetBounds(detailsLeft, 6, width, kPageHeight - 14);
  pnlDetails.SetAnchors({true, true, true, true});
  imApp.SetBounds(8, 8, 16, 16);
  chkInclude.SetBounds(32, 6, 120, 20);
  chkInclude.SetCaption("A&ctive");
  chkInclude.SetHint("|Shell extension activating box\r\nWhen checked, the Windows shell uses "
                     "the extension; unchecked, its registration is kept aside in Orvane's store.");
  const int labelWidth = 124;
  const int field = width - labelWidth - 16;
  int top = 32;
  for (auto [label, edit, caption] :
       {std::tuple{&lblAppPath, &edAppPath, "&Shell Extension DLL:"},
        {&lblRegistryKey, &edRegistryKey, "Registry &Key:"},
        {&lblDescription, &edDescription, "&Description:"},
        {&lblProductName, &edProductName, "&Product Name:"},
        {&lblVersion, &edVersion, "&Version:"},
        {&lblCompany, &edCompany, "Co&mpany:"},
        {&lblCLSID, &edCLSID, "C&LSID:"},
        {&lblBitness, &edBitness, "&Bitness:"},
        {&lblTime, &edTime, "Menu &time:"}}) {
    label->SetBounds(8, top + 3, labelWidth, 16);
    label->SetCaption(caption);
    label->SetFocusControl(edit);
    edit->SetBounds(labelWidth + 8, top, field, 21);
    SendMessageA(edit->Handle(), EM_SETREADONLY, TRUE, 0);
    top += 23;
  }
  edTime.SetHint("|Menu time\r\nHow long the extension took to be created and to add its "
                 "items, as the last Measure found.");
  edBitness.SetHint("|Bitness\r\nThe processes that load this extension: the 64-bit file "
                    "manager of a 64-bit Windows loads 64-bit extensions only.");
  for (auto [panel, label, text] :
       {std::tuple{&pnlError, &lblError,
                   "Shell extension DLL file is not available.\r\nIt is recommended to delete "
                   "this entry if it refers to an uninstalled or suspicious application."},
        {&pnlBlocked, &lblBlocked,
         "Another program put this extension on the Windows shell's \"Blocked\" list, so the "
         "shell does not load it. Orvane leaves that list as it is."}}) {
    panel->SetBounds(8, top + 4, width - 16, 52);
    panel->SetBevelOuter(TBevel::Lowered);
    label->SetBounds(6, 4, width - 28, 44);
    label->SetWordWrap(true);
    label->SetCaption(text);
    panel->SetVisible(false);
  }
  TFont red;
  red.Color = kMaroon;
  lblError.SetFont(red);
}

TExtensionInfo* TfrmDynamicCleanup::Selected() const {
  TTreeNode node = tvExtensions.Selected();
  return node ? static_cast<TExtensionInfo*>(tvExtensions.NodeData(node)) : nullptr;
}

int TfrmDynamicCleanup::IconIndex(const std::string& file) {
  if (file.empty()) return -1;
  const std::string key = AnsiUpperCase(file);
  auto known = iconCache_.find(key);
  if (known != iconCache_.end()) return known->second;
  int index = -1;
  try {
    TIcon icon = ExtractIconHandle(file, 0, true, services_.Icons);
    if (icon) index = ilExtensions_.AddIcon(icon.Get());
  } catch (const std::exception&) {
    // A file whose icon cannot be taken shows none.
  }
  iconCache_.emplace(key, index);
  return index;
}

void TfrmDynamicCleanup::Reload() {
  TBusyCursor busy;
  loading_ = true;
  struct Done {
    TfrmDynamicCleanup& page;
    ~Done() { page.loading_ = false; }
  } done{*this};
  // The entries the times belong to go now.
  StopMeasuring();
  timings_.clear();
  lblMeasure.SetCaption("");
  tvExtensions.Clear();
  iconCache_.clear();
  ilExtensions_.Clear();
  model_.Reload([this](const std::string& file) { return IconIndex(file) >= 0; });
  FillTree();
}

void TfrmDynamicCleanup::FillTree() {
  const bool wasLoading = loading_;
  loading_ = true;
  TExtensionInfo* selected = Selected();
  tvExtensions.BeginUpdate();
  tvExtensions.Clear();
  TTreeNode keep = nullptr;
  for (TExtensionInfo* entry : ListedEntries()) {
    const int image =
        IconIndex(entry->ModuleFile.empty() ? entry->FileName : entry->ModuleFile);
    TTreeNode node = tvExtensions.AddNode(nullptr, entry->Caption, entry, image);
    if (entry == selected) keep = node;
  }
  tvExtensions.EndUpdate();
  loading_ = wasLoading;
  tvExtensions.SetSelected(keep ? keep : tvExtensions.FirstNode());
  ShowDetails();
}

void TfrmDynamicCleanup::ShowDetails() {
  showingDetails_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{showingDetails_};
  const TExtensionInfo* entry = Selected();
  HICON icon = nullptr;
  if (entry) {
    const int index =
        IconIndex(entry->ModuleFile.empty() ? entry->FileName : entry->ModuleFile);
    if (index >= 0) icon = ImageList_GetIcon(ilExtensions_.Handle(), index, ILD_NORMAL);
  }
  imApp.SetIcon(icon);
  chkInclude.SetChecked(entry && !entry->WantDisabled && !entry->Blocked);
  chkInclude.SetEnabled(entry && !entry->Blocked);
  edAppPath.SetText(entry ? entry->FileName : "");
  edRegistryKey.SetText(entry ? ActiveKeyPath(entry->KeyPath, kDisabledDynamicPrefix) : "");
  edDescription.SetText(entry ? entry->Description : "");
  edProductName.SetText(entry ? entry->ProductName : "");
  edVersion.SetText(entry ? entry->Version : "");
  edCompany.SetText(entry ? entry->Company : "");
  edCLSID.SetText(entry ? ClassIdText(entry->CLSID) : "");
  edBitness.SetText(entry ? BitnessText(entry->Bitness) : "");
  const THandlerTiming* timing = entry ? Timing(*entry) : nullptr;
  edTime.SetText(timing ? TimingDetails(*timing) : "");
  pnlError.SetVisible(entry && entry->Missing);
  pnlBlocked.SetVisible(entry && entry->Blocked && !entry->Missing);
  spbXFind.SetEnabled(entry && !entry->FileName.empty());
  spbDelete.SetEnabled(entry != nullptr);
  spbModule.SetEnabled(entry && !entry->FileName.empty());
  spbMeasure.SetEnabled(measuring_.Runner &&
                        (run_ ? !run_->Stopping() : tvExtensions.FirstNode() != nullptr));
}

std::vector<TExtensionInfo*> TfrmDynamicCleanup::ListedEntries() {
  const std::string filter = edFilter.Text();
  std::vector<TExtensionInfo*> listed;
  for (const auto& entry : model_.Entries())
    if (!entry->Deleted && MatchesFilter(*entry, filter)) listed.push_back(entry.get());
  if (!chkSlowest.Checked() || timings_.empty()) return listed;
  // The measured ones by time, then the others in their usual order.
  std::vector<TExtensionInfo*> measured, others;
  std::vector<THandlerTiming> times;
  for (TExtensionInfo* entry : listed) {
    if (const THandlerTiming* timing = Timing(*entry)) {
      measured.push_back(entry);
      times.push_back(*timing);
    } else {
      others.push_back(entry);
    }
  }
  listed.clear();
  for (std::size_t index : SlowestFirst(times)) listed.push_back(measured[index]);
  listed.insert(listed.end(), others.begin(), others.end());
  return listed;
}

const THandlerTiming* TfrmDynamicCleanup::Timing(const TExtensionInfo& entry) const {
  auto found = timings_.find(&entry);
  return found == timings_.end() ? nullptr : &found->second;
}

void TfrmDynamicCleanup::Measure() {
  if (run_) {
    run_->Stop();
    lblMeasure.SetCaption("Stopping after the extension being measured...");
    ShowDetails();
    return;
  }
  if (!measuring_.Runner) return;
  TBusyCursor busy;
  THandlerSamples samples(services_.Registry, services_.Files, measuring_.SampleFolder);
  std::vector<THandlerToMeasure> toMeasure;
  std::vector<TExtensionInfo*> targets;
  timings_.clear();
  for (TExtensionInfo* entry : ListedEntries()) {
    THandlerTiming failed;
    std::string sample;
    if (entry->Missing) {
      failed.Detail = "the DLL is not available";
    } else {
      sample = samples.SampleFor(HandlerFileType(entry->KeyPath), failed.Detail);
    }
    if (sample.empty()) {
      timings_[entry] = failed;
      continue;
    }
    // The file manager of a 64-bit Windows is a 64-bit process: it loads the 64-bit one.
    const bool wide = (static_cast<unsigned>(entry->Bitness) &
                       static_cast<unsigned>(TBitness::Bits64)) != 0;
    toMeasure.push_back({ClassIdText(entry->CLSID), wide, sample});
    targets.push_back(entry);
  }
  measureTotal_ = toMeasure.size();
  measureDone_ = 0;
  tvExtensions.Invalidate();
  if (toMeasure.empty()) {
    MeasureDone(false);
    return;
  }
  run_ = std::make_unique<THandlerMeasureRun>(
      std::move(toMeasure), *measuring_.Runner, measuring_.Probes,
      [this, targets](std::size_t index, const THandlerTiming& timing) {
        Measured(targets[index], timing);
      },
      [this](bool stopped) { MeasureDone(stopped); });
  spbMeasure.SetCaption("Stop");
  lblMeasure.SetCaption("Measuring 1 of " + std::to_string(measureTotal_) + "...");
  ShowDetails();
}

void TfrmDynamicCleanup::Measured(TExtensionInfo* entry, const THandlerTiming& timing) {
  timings_[entry] = timing;
  ++measureDone_;
  if (measureDone_ < measureTotal_)
    lblMeasure.SetCaption("Measuring " + std::to_string(measureDone_ + 1) + " of " +
                          std::to_string(measureTotal_) + "...");
  tvExtensions.Invalidate();
  if (Selected() == entry) ShowDetails();
}

void TfrmDynamicCleanup::MeasureDone(bool stopped) {
  StopMeasuring();
  std::size_t troubled = 0;
  const TExtensionInfo* slowest = nullptr;
  for (const auto& [entry, timing] : timings_) {
    if (timing.State == TTimingState::Crashed || timing.State == TTimingState::TimedOut)
      ++troubled;
    if (timing.State == TTimingState::Measured &&
        (!slowest || timing.TotalMs() > timings_.at(slowest).TotalMs()))
      slowest = entry;
  }
  std::string text = (stopped ? "Stopped: " : "") + std::to_string(measureDone_) + " of " +
                     std::to_string(measureTotal_) + " measured.";
  if (troubled) text += " " + std::to_string(troubled) + " crashed or hung.";
  if (slowest)
    text += " Slowest: " + slowest->Caption + ", " + TimingText(timings_.at(slowest)) + ".";
  lblMeasure.SetCaption(text);
  if (chkSlowest.Checked()) {
    FillTree();
  } else {
    tvExtensions.Invalidate();
    ShowDetails();
  }
}

void TfrmDynamicCleanup::StopMeasuring() {
  run_.reset();
  spbMeasure.SetCaption("Measure");
}

void TfrmDynamicCleanup::DeleteSelected() {
  TExtensionInfo* entry = Selected();
  if (!entry) return;
  // Other software's registration: the user confirms, and Apply keeps a backup.
  const std::string question = FormatRes(msg::SDeleteExtensionQuestion, {entry->Caption});
  if (ShowMessageBox(question, kAppTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  model_.MarkDeleted(*entry);
  tvExtensions.DeleteNode(tvExtensions.Selected());
  ShowDetails();
}

void TfrmDynamicCleanup::SwitchOffModule() {
  TExtensionInfo* entry = Selected();
  if (!entry) return;
  model_.DisableAllOfModule(*entry);
  tvExtensions.Invalidate();
  ShowDetails();
}

void TfrmDynamicCleanup::FindModule() {
  const TExtensionInfo* entry = Selected();
  if (!entry || entry->FileName.empty()) return;
  const std::string folder = FolderOf(services_.FileSystem.ExpandEnvironment(entry->FileName));
  const long long result = ShellOpen("explore", folder);
  if (result <= 32) {
    ShowMessageBox(SystemErrorMessage(static_cast<DWORD>(result)), kAppTitle,
                   MB_OK | MB_ICONWARNING);
  }
}

void TfrmDynamicCleanup::Apply(IRemovalBackup& backup) {
  TBusyCursor busy;
  // Apply frees the deleted entries, which a run under way reports on.
  if (run_) {
    StopMeasuring();
    lblMeasure.SetCaption("");
  }
  model_.Apply(backup);
  for (auto timing = timings_.begin(); timing != timings_.end();) {
    const auto& entries = model_.Entries();
    const bool kept = std::any_of(entries.begin(), entries.end(),
                                  [&](const auto& entry) { return entry.get() == timing->first; });
    timing = kept ? std::next(timing) : timings_.erase(timing);
  }
  tvExtensions.Invalidate();
  ShowDetails();
}

LRESULT TfrmDynamicCleanup::CustomDraw(NMTVCUSTOMDRAW& draw) {
  if (loading_) return CDRF_DODEFAULT;
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const auto* entry = reinterpret_cast<const TExtensionInfo*>(draw.nmcd.lItemlParam);
      if (!entry) return CDRF_DODEFAULT;
      if (draw.nmcd.uItemState & CDIS_SELECTED) {
        // The selection's own colours.
      } else if (entry->Missing) {
        draw.clrText = kMaroon;
      } else if (entry->WantDisabled || entry->Blocked) {
        draw.clrText = GetSysColor(COLOR_GRAYTEXT);
      } else {
        draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
      }
      return Timing(*entry) ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    }
    case CDDS_ITEMPOSTPAINT: {
      const auto* entry = reinterpret_cast<const TExtensionInfo*>(draw.nmcd.lItemlParam);
      if (const THandlerTiming* timing = entry ? Timing(*entry) : nullptr) DrawTime(draw, *timing);
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

// The time column: at the row's right end, over the caption's end when it is that long.
void TfrmDynamicCleanup::DrawTime(const NMTVCUSTOMDRAW& draw, const THandlerTiming& timing) {
  HDC dc = draw.nmcd.hdc;
  RECT cell = draw.nmcd.rc;
  cell.left = std::max(cell.left, cell.right - kTimeWidth);
  const bool selected = (draw.nmcd.uItemState & CDIS_SELECTED) != 0;
  const bool focused = GetFocus() == tvExtensions.Handle();
  if (!selected) FillRect(dc, &cell, GetSysColorBrush(COLOR_WINDOW));
  COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
  if (selected && focused) {
    colour = GetSysColor(COLOR_HIGHLIGHTTEXT);
  } else if (timing.State == TTimingState::Crashed || timing.State == TTimingState::TimedOut) {
    colour = kMaroon;
  } else if (timing.State == TTimingState::Failed) {
    colour = GetSysColor(COLOR_GRAYTEXT);
  }
  // The tree hands its painting the system font after the item's own.
  HGDIOBJ oldFont = SelectObject(
      dc, reinterpret_cast<HFONT>(SendMessageA(tvExtensions.Handle(), WM_GETFONT, 0, 0)));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, colour);
  cell.right -= 4;
  const std::string text = TimingText(timing);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &cell,
            DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

}  // namespace orvane
