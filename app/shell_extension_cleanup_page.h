#pragma once
// The "Shell Extensions Cleanup" page: the context-menu handlers of the cleanup model as a
// flat list (missing modules dark red, switched-off and blocked ones grey), a filter over
// it, the details of the selected handler, and the commands that switch handlers off and
// on or delete their registration. Changes stay pending in the model until Apply.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/button_row.h"
#include "controls/edit_controls.h"
#include "controls/panels.h"
#include "controls/std_controls.h"
#include "controls/tree_view.h"
#include "maintenance/handler_timing.h"
#include "maintenance/shell_extension_cleanup.h"
#include "platform/services.h"
#include "platform/win32/image_list.h"

namespace orvane {

class IRemovalBackup;
class TForm;
class THandlerMeasureRun;

// How the page times handlers: helper programs run by `Runner` (none: no Measure), and
// the folder where it makes the sample files they are tried on.
struct THandlerMeasuring {
  IProcessRunner* Runner = nullptr;
  THandlerProbes Probes;
  std::string SampleFolder;
};

// Where the program looks classes up: its own registry view and, on 64-bit Windows, the
// other one, each with the bitness of the processes that read it.
std::vector<TClassView> SystemClassViews(bool windows64, const std::string& windowsFolder);

class TfrmDynamicCleanup {
public:
  // Controls are components of `form`, on `parent`.
  TfrmDynamicCleanup(TForm& form, TWinControl& parent, TShellExtensionCleanup& model,
                     const TServices& services, THandlerMeasuring measuring);
  ~TfrmDynamicCleanup();
  TfrmDynamicCleanup(const TfrmDynamicCleanup&) = delete;
  TfrmDynamicCleanup& operator=(const TfrmDynamicCleanup&) = delete;

private:
  // The owner of the page's controls, so that their names ("spbDelete", "chkInclude")
  // need not differ from the other pages'.
  TComponent& frame_;

public:

  TLabel& lblExtensions;
  TSpeedButton& spbRefresh;
  TSpeedButton& spbXFind;
  TSpeedButton& spbDelete;
  TSpeedButton& spbModule;
  TLabel& lblFilter;
  TEdit& edFilter;
  TSpeedButton& spbMeasure;
  TCheckBox& chkSlowest;
  TAdvTreeView& tvExtensions;
  TLabel& lblMeasure;
  TPanel& pnlDetails;
  TImage& imApp;
  TCheckBox& chkInclude;
  TLabel& lblAppPath;
  TEdit& edAppPath;
  TLabel& lblRegistryKey;
  TEdit& edRegistryKey;
  TLabel& lblDescription;
  TEdit& edDescription;
  TLabel& lblProductName;
  TEdit& edProductName;
  TLabel& lblVersion;
  TEdit& edVersion;
  TLabel& lblCompany;
  TEdit& edCompany;
  TLabel& lblCLSID;
  TEdit& edCLSID;
  TLabel& lblBitness;
  TEdit& edBitness;
  TLabel& lblTime;
  TEdit& edTime;
  TPanel& pnlError;
  TLabel& lblError;
  TPanel& pnlBlocked;
  TLabel& lblBlocked;

  // Opens a folder with the shell; returns the shell's result code.
  std::function<long long(const std::string& verb, const std::string& target)> ShellOpen;
  // Raised when the user changed something.
  std::function<void()> OnChange;

  // Reads the list from the registry again and selects the first entry.
  void Reload();
  bool IsModified() const { return model_.IsModified(); }
  void Apply(IRemovalBackup& backup);
  bool Loading() const { return loading_; }
  bool ShowingDetails() const { return showingDetails_; }
  TExtensionInfo* Selected() const;
  void ShowDetails();
  // The selected entry's registration, after the user's confirmation.
  void DeleteSelected();
  void SwitchOffModule();
  void FindModule();
  // The icon of a module file in the list's images, or -1; extracted once per file.
  int IconIndex(const std::string& file);

  // Times every listed handler in helper programs, or stops a run under way.
  void Measure();
  bool Measuring() const { return run_ != nullptr; }
  // The entry's time from the last run, or null.
  const THandlerTiming* Timing(const TExtensionInfo& entry) const;

private:
  void InitLayout();
  void FillTree();
  // The listed entries in the tree's order: by time, slowest first, when asked.
  std::vector<TExtensionInfo*> ListedEntries();
  void Measured(TExtensionInfo* entry, const THandlerTiming& timing);
  void MeasureDone(bool stopped);
  void StopMeasuring();
  LRESULT CustomDraw(NMTVCUSTOMDRAW& draw);
  void DrawTime(const NMTVCUSTOMDRAW& draw, const THandlerTiming& timing);

  TShellExtensionCleanup& model_;
  TServices services_;
  THandlerMeasuring measuring_;
  std::map<const TExtensionInfo*, THandlerTiming> timings_;
  std::unique_ptr<THandlerMeasureRun> run_;
  std::size_t measureTotal_ = 0;
  std::size_t measureDone_ = 0;
  TWin32ImageList ilExtensions_;
  std::map<std::string, int> iconCache_;
  bool loading_ = false;
  bool showingDetails_ = false;
  // The speed buttons above the list, which widen for longer captions.
  TButtonRow buttonRow_;
};

}  // namespace orvane
