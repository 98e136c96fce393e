// Arbitrary text as a clipboard text pasted into both menus, and as a menu file that
// both menus load from and save again. Failures must be the program's own exceptions.

#include <cstddef>
#include <cstdint>
#include <string>

#include "filetypes/file_types.h"
#include "menus/dynamic_menu.h"
#include "menus/menu_clipboard.h"
#include "menus/static_menu.h"
#include "platform/file_access.h"
#include "platform/file_system.h"
#include "platform/icon_source.h"
#include "platform/memory_registry.h"
#include "storage/orvane_ini_file.h"

using namespace orvane;

namespace {

// No program exists: verbs keep their commands as typed.
struct TNoPrograms : IFileSystem {
  std::string ExpandEnvironment(const std::string& text) override { return text; }
  std::optional<bool> FindFileOnPath(const std::string&, const std::vector<std::string>&,
                                     std::string*) override {
    return std::nullopt;
  }
  bool FileExists(const std::string&) override { return false; }
};

// No files at all: icon files named by the input are never opened.
class TNoFiles : public IFileAccess {
public:
  ReadResult ReadFile(const std::string&, std::string&, std::string&) override {
    return ReadResult::Missing;
  }
  bool ReplaceFile(const std::string&, std::string_view, std::string& reason) override {
    reason = "read-only";
    return false;
  }
};

TIniStrings Lines(const std::string& text) {
  TIniStrings lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

template <class Action>
void Expecting(Action action) {
  try {
    action();
  } catch (const Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TNoFiles noFiles;
  std::string text(reinterpret_cast<const char*>(data), size);

  TFileTypes types;
  for (const char* name : {"txtfile", "Directory"}) {
    TFileType* type = types.Add();
    type->SetName(name);
    type->SetDescription(name);
  }
  TMemoryRegistry registry;
  TNoPrograms fileSystem;
  TStaticMenu staticMenu(&types, TVerbRegistry{registry, fileSystem, kHkeyClassesRoot, ""});
  TDynamicMenu dynamicMenu(&types, TItemImageSources{DefaultIconSource(), noFiles});

  auto* dynamicCategory = dynamicMenu.List().FindOrAddCategory(types.Items(0));
  auto* submenu = dynamicMenu.List().AddSubMenu(dynamicCategory->Items());
  Expecting([&] { PasteItemsFromText(submenu->Items(), text); });
  auto* staticCategory = staticMenu.List().FindOrAddCategory(types.Items(1));
  Expecting([&] { PasteItemsFromText(staticCategory->Items(), text); });

  TOrvaneIniFile document;
  Expecting([&] {
    document.SetStrings(Lines(text), true);
    staticMenu.LoadFromIni(document, "Static Items");
    dynamicMenu.LoadFromIni(document, "Dynamic Items");
    staticMenu.SaveToIni(document, "Static Items");
    dynamicMenu.SaveToIni(document, "Dynamic Items");
  });
  document.Clear();
  return 0;
}
