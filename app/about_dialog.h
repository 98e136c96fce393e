#pragma once
// The About window: the program's and the shell extension module's versions (both
// bitnesses where the 64-bit one is present), whether dynamic items are on, the system
// it runs on, and the maker's site.

#include <functional>
#include <string>

#include "controls/form.h"
#include "controls/std_controls.h"
#include "platform/services.h"

namespace orvane {

class TfrmAbout : public TForm {
public:
  // `programFile` is the running program's file; the modules are looked for beside it.
  // `systemReport` makes what "Copy System Information" puts on the clipboard.
  TfrmAbout(TComponent* owner, const TServices& services, const std::string& programFile,
            int fileTypeCount, bool windows64, std::function<std::string()> systemReport);
  std::string ClassName() const override { return "TfrmAbout"; }

  TLabel& lblProduct;
  TLabel& lblVersion;
  TLabel& lblModule;
  TLabel& lblModule64;  // shown on 64-bit Windows only
  TLabel& lblDynamicItems;
  TLabel& lblOS;
  TLabel& lblMemory;
  TLabel& lblFileTypes;
  TLabel& lblWebSite;
  TLabel& lblCopyInfo;
  TButton& btnClose;

  bool KeyDown(WORD key, TShortCut shift) override;
};

void ShowAbout(const TServices& services, const std::string& programFile, int fileTypeCount,
               bool windows64, std::function<std::string()> systemReport);

}  // namespace orvane
