#include "controls/file_dialog.h"

#include <commdlg.h>

#include <algorithm>

namespace orvane {

std::optional<std::string> ShowFileDialog(const TFileDialog& options) {
  char file[MAX_PATH * 2] = {};
  lstrcpynA(file, options.Current.c_str(), sizeof file);
  // Pairs ended by zeros, the whole by two, as the dialog takes them.
  std::string filter = options.Filter;
  std::replace(filter.begin(), filter.end(), '|', '\0');
  filter += std::string(2, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = options.Owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrTitle = options.Title.c_str();
  dialog.lpstrDefExt = options.DefaultExtension.empty() ? nullptr : options.DefaultExtension.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                 (options.Save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!(options.Save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return std::nullopt;
  return std::string(file);
}

}  // namespace orvane
