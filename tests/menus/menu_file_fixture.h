#pragma once
// File types and menu files for the loaders and savers: three types in a known order,
// and INI documents held in memory whose written bytes a test compares.

#include <gtest/gtest.h>

#include <string>

#include "filetypes/file_types.h"
#include "menus/item_image.h"
#include "storage/orvane_ini_file.h"
#include "tests/filetypes/fake_icons.h"
#include "tests/storage/memory_files.h"

namespace orvane::testing {

class MenuFiles {
public:
  MenuFiles() {
    Add("txtfile", "Text Document");
    Add("Directory", "Folder");
    Add("exefile", "Application");
  }

  TFileType* Add(const std::string& name, const std::string& description) {
    TFileType* type = types.Add();
    type->SetName(name);
    type->SetDescription(description);
    return type;
  }
  TFileType* Type(const std::string& name) const { return types.FindByName(name); }

  // A document on file "menu.ini" holding `text`.
  std::unique_ptr<TOrvaneIniFile> Document(const std::string& text = "") {
    if (!text.empty()) files.Files["menu.ini"] = text;
    return std::make_unique<TOrvaneIniFile>("menu.ini", files);
  }
  // Writes and drops the document; the file's bytes.
  std::string Written(std::unique_ptr<TOrvaneIniFile> document) {
    document->UpdateFile();
    document.reset();
    return files.Files["menu.ini"];
  }

  // Where the dynamic menus of a test load their pictures from.
  TItemImageSources Images() { return {icons, files}; }

  TFileTypes types;
  TMemoryFiles files;
  FakeIconSource icons;
};

// Lines joined by CR LF, as the INI engine writes them.
inline std::string CrLf(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

}  // namespace orvane::testing
