#pragma once
// The About window: the program's and the shell extension module's versions (both
// bitnesses where the 64-bit one is present), whether dynamic items are on, the system
// it runs on, the maker's addresses and, from the language file, its translator.

#include <functional>
#include <string>

#include "controls/form.h"
#include "controls/std_controls.h"
#include "platform/services.h"

namespace orvane {

// What the window tells besides what it reads through the services.
struct TAboutFacts {
  std::string ProgramFile;  // the running program; the modules are looked for beside it
  std::string ReleaseDate;  // empty when unknown
  int FileTypeCount = 0;
  bool Windows64 = false;
};

// The program file's date in the short date format of `localeId`; empty when the file
// cannot be read.
std::string ReleaseDateText(const std::string& programFile, unsigned localeId);

class TfrmAbout : public TForm {
public:
  // `systemReport` makes what "Copy System Information" puts on the clipboard.
  TfrmAbout(TComponent* owner, const TServices& services, const TAboutFacts& facts,
            std::function<std::string()> systemReport);
  std::string ClassName() const override { return "TfrmAbout"; }

  TLabel& lblProduct;
  TLabel& lblVersion;
  TLabel& lblModule;
  TLabel& lblModule64;  // shown on 64-bit Windows only
  TLabel& lblDynamicItems;
  TLabel& lblOS;
  TLabel& lblMemory;
  TLabel& lblFileTypes;
  TLabel& lblReleaseDate;
  TLabel& lblWebSite;
  TLabel& lblEmail;
  // The translator's credits: empty, and hidden, unless the language file fills them.
  TLabel& lblTranslation;
  TLabel& lblTranslatorName;
  TLabel& lblTranslatorEmailOrWebSite;
  TLabel& lblCopyInfo;
  TButton& btnClose;

  bool KeyDown(WORD key, TShortCut shift) override;
};

void ShowAbout(const TServices& services, const TAboutFacts& facts,
               std::function<std::string()> systemReport);

}  // namespace orvane
