#include "menus/menu_item_ini.h"

#include <algorithm>

#include "platform/ansi_case.h"
#include "platform/messages.h"
#include "storage/custom_ini_file.h"

namespace orvane {

bool ReadCheckedFlag(TCustomIniFile& ini, const std::string& section, int n,
                     const std::string& caption, std::vector<std::string>* log) {
  int value = ini.ReadInteger(section, "Checked" + std::to_string(n), 0);
  if (value == 0 || value == 1) return value == 1;
  if (log) log->push_back(FormatRes(msg::SInvalidCheckedValue, {caption}));
  return false;
}

int LastEntryNumber(TCustomIniFile& ini, const std::string& section, int count) {
  static const std::string kBase = "FILETYPE";
  TIniStrings keys;
  ini.ReadSection(section, keys);
  int last = 0;
  for (const std::string& key : keys) {
    if (key.size() <= kBase.size() || key.size() > kBase.size() + 10) continue;
    if (AnsiUpperCase(key.substr(0, kBase.size())) != kBase) continue;
    long long number = 0;
    bool digits = true;
    for (size_t i = kBase.size(); i < key.size() && digits; ++i) {
      digits = key[i] >= '0' && key[i] <= '9';
      number = number * 10 + (key[i] - '0');
    }
    if (digits && number <= count) last = std::max(last, static_cast<int>(number));
  }
  return last;
}

}  // namespace orvane
