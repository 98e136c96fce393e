#include "app/recent_icons.h"

#include <optional>

#include "app/icon_pictures.h"
#include "menus/dynamic_menu.h"
#include "menus/dynamic_menu_item.h"
#include "menus/png_image.h"
#include "platform/icon_source.h"
#include "platform/messages.h"
#include "platform/win32/window_helpers.h"
#include "storage/mru_list.h"

namespace orvane {
namespace {

constexpr int kMenuPictureSize = 16;
// A separator after every 5 entries; the third one met starts the second column.
constexpr int kGroup = 5;
constexpr int kColumnBreakGroup = 3;

void Warn(const std::string& text) { ShowMessageBox(text, kAppTitle, MB_OK | MB_ICONWARNING); }

// Why picture `index` of `file` would not load into an item, as the item itself loads
// it; none when it loads.
std::optional<std::string> LoadFailure(const std::string& file, int index,
                                       const TItemImageSources& sources) {
  if (file.empty() || index < 0) return LoadResString(msg::SNoIconChosen);
  auto exists = [&sources](const std::string& path) {
    const size_t split = path.find_last_of("\\/");
    const std::string folder = split == std::string::npos ? "" : path.substr(0, split + 1);
    std::string found;
    return sources.Icons.FindFile(folder, path.substr(folder.size()), found);
  };
  if (!MayOpenImageFile(file, exists)) return LoadResString(msg::SIconFileUnavailable);
  TItemImage image(IsPngFileName(file) ? TItemImage::TKind::Png : TItemImage::TKind::Icon);
  try {
    image.Load(file, index, sources.Icons, sources.Files);
  } catch (const std::exception& failure) {
    return std::string(failure.what());
  }
  return std::nullopt;
}

const TItemImageSources* SourcesOf(const TDynamicMenuItem& item) {
  const auto* menu = dynamic_cast<const TDynamicMenu*>(item.Tree());
  return menu ? &menu->ImageSources() : nullptr;
}

// Gives the item the picture; false (the item as it was) when it does not load.
bool SetItemPicture(TDynamicMenuItem& item, const std::string& file, int index,
                    std::string& reason) {
  const TItemImageSources* sources = SourcesOf(item);
  if (!sources) return false;
  if (std::optional<std::string> failure = LoadFailure(file, index, *sources)) {
    reason = *failure;
    return false;
  }
  const std::string oldFile = item.IconFile();
  const int oldIndex = item.IconIndex();
  TItemUpdate update(&item);
  item.SetIconFile(file);
  item.SetIconIndex(index);
  if (item.IconIndex() == index && !item.Icon().Empty()) return true;
  // It loaded a moment ago and not now: the file changed meanwhile.
  item.SetIconFile(oldFile);
  item.SetIconIndex(oldIndex);
  reason = LoadResString(msg::SIconFileUnavailable);
  return false;
}

}  // namespace

std::string RecentIconText(const std::string& file, int index) {
  return file + ", " + std::to_string(index);
}

std::string RecentIconFile(const std::string& text) {
  const size_t comma = text.rfind(',');
  return comma == std::string::npos ? text : text.substr(0, comma);
}

std::string RecentIconCaption(const std::string& text) {
  const size_t slash = text.find_last_of("\\/");
  const std::string shown = slash == std::string::npos ? text : text.substr(slash + 1);
  std::string caption;
  for (char c : shown) caption += c == '&' ? std::string("&&") : std::string(1, c);
  return caption;
}

bool SelectItemIcon(TDynamicMenuItem& item, TMruList& recent, const TSelectIconSources& sources,
                    TComponent* owner,
                    const std::function<int(TfrmSelectIcon& dialog)>& runDialog) {
  TfrmSelectIcon dialog(owner, sources);
  dialog.SetFileName(item.IconFile());
  // The item's own picture is highlighted; one it has none of leaves the first.
  if (item.IconIndex() >= 0 && item.IconIndex() < dialog.PictureCount())
    dialog.SetIconIndex(item.IconIndex());
  if (runDialog(dialog) != IDOK) return false;
  const std::string file = dialog.FileName();
  const int index = dialog.IconIndex();
  std::string reason;
  if (!SetItemPicture(item, file, index, reason)) {
    Warn(FormatRes(msg::SErrorLoadingChosenIcon, {static_cast<long long>(index), file, reason}));
    return false;
  }
  recent.Add(RecentIconText(file, index), index);
  return true;
}

bool ChooseRecentIcon(TDynamicMenuItem& item, TMruList& recent, const TMruEntry& entry) {
  // Copies: the entry may be the list's own, which the removal below frees.
  const std::string text = entry.Text;
  std::string reason;
  if (SetItemPicture(item, RecentIconFile(text), entry.Value, reason)) return true;
  recent.Remove(text);
  Warn(LoadResString(msg::SErrorLoadingRecentIcon));
  return false;
}

TRecentIconsMenu::TRecentIconsMenu(TMruList& recent, IIconSource& icons, IFileAccess& files)
    : recent_(recent), icons_(icons), files_(files) {}

TRecentIconsMenu::~TRecentIconsMenu() = default;

void TRecentIconsMenu::Changed() {
  pictures_.clear();
  made_ = false;
}

void TRecentIconsMenu::MakePictures() {
  TBusyCursor busy;
  pictures_.clear();
  for (const TMruEntry& entry : recent_.Entries()) {
    const std::string file = RecentIconFile(entry.Text);
    TBitmapHandle picture;
    if (entry.Value >= 0 && !file.empty()) {
      try {
        if (IsPngFileName(file)) {
          TPngImage image;
          image.LoadFromFile(file, files_);
          picture = MenuBitmapFromPixels(FitPixels(image, kMenuPictureSize), kMenuPictureSize);
        } else {
          TIcon small;
          if (icons_.ExtractSmallIcon(file, entry.Value, small) >= 1 && small)
            picture = MenuBitmapFromIcon(reinterpret_cast<HICON>(small.Get()), kMenuPictureSize);
        }
      } catch (const std::exception&) {
        // No picture for this entry; the others keep theirs.
      }
    }
    pictures_.push_back(std::move(picture));
  }
  made_ = true;
}

HMENU TRecentIconsMenu::Build(UINT firstId) {
  firstId_ = firstId;
  count_ = 0;
  if (recent_.Count() == 0) return nullptr;
  if (!made_ || static_cast<int>(pictures_.size()) != recent_.Count()) MakePictures();
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  const std::vector<TMruEntry>& entries = recent_.Entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const bool groupStart = i > 0 && i % kGroup == 0;
    const bool newColumn = groupStart && i / kGroup == kColumnBreakGroup;
    if (groupStart && !newColumn) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    const std::string caption = RecentIconCaption(entries[i].Text);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | (pictures_[i] ? MIIM_BITMAP : 0);
    info.fType = newColumn ? MFT_MENUBARBREAK : 0;
    info.wID = firstId + static_cast<UINT>(i);
    info.dwTypeData = const_cast<char*>(caption.c_str());
    info.hbmpItem = pictures_[i].get();
    InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &info);
  }
  count_ = static_cast<int>(entries.size());
  return menu;
}

int TRecentIconsMenu::EntryOf(UINT id) const {
  if (id < firstId_ || id >= firstId_ + static_cast<UINT>(count_)) return -1;
  return static_cast<int>(id - firstId_);
}

}  // namespace orvane
