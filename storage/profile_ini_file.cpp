#include "storage/profile_ini_file.h"

#include "platform/messages.h"
#include "platform/profile_strings.h"
#include "storage/storage_errors.h"

namespace orvane {

std::string TProfileIniFile::ReadString(const std::string& section, const std::string& ident,
                                        const std::string& defaultValue) {
  return ReadProfileString(FileName(), section, ident, defaultValue);
}

void TProfileIniFile::ReadSection(const std::string& section, TIniStrings& list) {
  for (std::string& key : ReadProfileKeys(FileName(), section)) list.push_back(std::move(key));
}

void TProfileIniFile::ReadSections(TIniStrings& list) {
  for (std::string& name : ReadProfileSections(FileName())) list.push_back(std::move(name));
}

void TProfileIniFile::ReadSectionValues(const std::string& section, TIniStrings& list) {
  for (const std::string& key : ReadProfileKeys(FileName(), section))
    list.push_back(key + "=" + ReadString(section, key, ""));
}

void TProfileIniFile::RaiseReadOnly() const {
  throw EFileStreamError(FormatRes(msg::SProfileReadOnly, {FileName()}));
}

void TProfileIniFile::WriteString(const std::string&, const std::string&, const std::string&) {
  RaiseReadOnly();
}

void TProfileIniFile::EraseSection(const std::string&) { RaiseReadOnly(); }

void TProfileIniFile::DeleteKey(const std::string&, const std::string&) { RaiseReadOnly(); }

}  // namespace orvane
