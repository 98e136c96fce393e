#pragma once
// Choosing the icon of a dynamic menu item: with the icon dialog, or from the list of
// the 30 icons chosen last (the main window's mruIcons), shown as the two-column
// "Se&lect Recent" submenu with a picture beside each entry.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/select_icon_dialog.h"
#include "platform/win32/win32_handles.h"

namespace orvane {

class TDynamicMenuItem;
class TMruList;
struct TMruEntry;

// The recent list's text of a choice: the file, ", " and the picture number.
std::string RecentIconText(const std::string& file, int index);
// The file of an entry text: everything before its last ",".
std::string RecentIconFile(const std::string& text);
// What the submenu shows of an entry: its text from the last path separator on, with
// "&" doubled so that it is no access key.
std::string RecentIconCaption(const std::string& text);

// The icon dialog on `item`, showing its icon file and picture; OK gives the item the
// chosen file and picture and puts the choice on top of `recent`. A picture that does not
// load leaves the item's previous icon, says why, and adds nothing to the list. False
// when the user cancelled or the choice was refused. `runDialog` shows the dialog
// modally and returns its result (tests answer it).
bool SelectItemIcon(TDynamicMenuItem& item, TMruList& recent, const TSelectIconSources& sources,
                    TComponent* owner,
                    const std::function<int(TfrmSelectIcon& dialog)>& runDialog);

// A recent entry chosen for `item`: its file and picture, or, when that picture does not
// load (file gone, no such picture, no picture at all), the entry goes from `recent`, the
// item keeps its icon and the user is told. False in that case.
bool ChooseRecentIcon(TDynamicMenuItem& item, TMruList& recent, const TMruEntry& entry);

// The "Se&lect Recent" submenu: the entries newest first, a separator after every 5, the
// 16th entry starting a second column; a 16 x 16 picture beside each entry that has one
// (an entry whose file cannot be read shows none and shifts no other picture). The
// pictures are made when the menu is first built and kept until the list changes.
class TRecentIconsMenu {
public:
  TRecentIconsMenu(TMruList& recent, IIconSource& icons, IFileAccess& files);
  ~TRecentIconsMenu();

  // A new pop-up menu of the entries, with command ids from `firstId` on, for inserting
  // as a submenu: the menu it is inserted into destroys it (the pictures stay here). Null
  // when the list is empty or the system refused the menu.
  HMENU Build(UINT firstId);
  // The entry of a command id of the last Build, or -1.
  int EntryOf(UINT id) const;
  // The list changed: the pictures are made again at the next Build.
  void Changed();
  // The pictures made so far, one per entry (null where an entry has none).
  const std::vector<TBitmapHandle>& Pictures() const { return pictures_; }

private:
  void MakePictures();

  TMruList& recent_;
  IIconSource& icons_;
  IFileAccess& files_;
  std::vector<TBitmapHandle> pictures_;
  bool made_ = false;
  UINT firstId_ = 0;
  int count_ = 0;
};

}  // namespace orvane
