#pragma once
// The start-up reader of the menu file: the system's profile functions behind the INI
// interface, so that the menus' loaders take it like any other document. It reads only.

#include "storage/custom_ini_file.h"

namespace orvane {

class TProfileIniFile : public TCustomIniFile {
public:
  using TCustomIniFile::TCustomIniFile;

  // Values as the profile functions give them: outer quotes removed, cut at 2047
  // characters, ";" kept.
  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& defaultValue) override;
  void ReadSection(const std::string& section, TIniStrings& list) override;
  void ReadSections(TIniStrings& list) override;
  void ReadSectionValues(const std::string& section, TIniStrings& list) override;

  // Writing raises: the program writes the menu file through TOrvaneIniFile.
  void WriteString(const std::string& section, const std::string& ident,
                   const std::string& value) override;
  void EraseSection(const std::string& section) override;
  void DeleteKey(const std::string& section, const std::string& ident) override;
  void UpdateFile() override {}

private:
  [[noreturn]] void RaiseReadOnly() const;
};

}  // namespace orvane
