#include "app/static_cleanup_page.h"

#include <shellapi.h>

#include <tuple>
#include <utility>

#include "controls/adv_actions.h"
#include "controls/form.h"
#include "filetypes/file_type_list.h"
#include "filetypes/file_types.h"
#include "maintenance/static_items_cleanup.h"
#include "platform/messages.h"
#include "platform/win32/image_list.h"
#include "platform/win32/system_error.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

// The page's size when its window has none yet.
constexpr int kPageWidth = 740;
constexpr int kPageHeight = 315;
constexpr int kTypesWidth = 300;
constexpr COLORREF kMaroon = RGB(128, 0, 0);
// Shown in the command field; a command line can be as long as a registry value.
constexpr std::size_t kMaxShownCommand = 2048;


template <class Body>
void Refresh(int& counter, Body body) {
  ++counter;
  struct Leave {
    int& counter;
    ~Leave() { --counter; }
  } leave{counter};
  body();
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The common delete command's part on this page's lists.
class TCleanupDelete : public TTargetAction {
public:
  using TTargetAction::TTargetAction;
  std::function<bool(HWND)> Handles;
  std::function<bool()> CanDelete;
  std::function<void()> Delete;
  bool HandlesTarget(HWND target) override { return Handles && Handles(target); }
  void UpdateTarget(HWND) override { SetEnabled(CanDelete && CanDelete()); }
  void ExecuteTarget(HWND) override {
    if (Delete) Delete();
  }
};

void TrackActions(HWND owner, const std::vector<TAction*>& items, POINT at) {
  TMenuHandle menu(CreatePopupMenu());
  if (!menu) return;
  UINT id = 1;
  for (TAction* action : items) {
    if (!action) {
      AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      action->Update();
      AppendMenuA(menu.get(), MF_STRING | (action->Enabled() ? 0 : MF_GRAYED), id,
                  action->Caption().c_str());
    }
    ++id;
  }
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
  if (chosen >= 1 && chosen <= items.size() && items[chosen - 1]) items[chosen - 1]->Execute();
}

}  // namespace

TStaticCleanupPage::TStaticCleanupPage(TForm& form, TWinControl& parent, TActionList& actions,
                                       TStaticItemsCleanup& cleanup, TFileTypeList& fileTypes,
                                       const TServices& services, TAdvEditAction& actDelete)
    : lblFileTypes(form.Create<TLabel>("lblFileTypes", &parent)),
      spbRefresh(form.Create<TSpeedButton>("spbRefresh", &parent)),
      lvFileTypes(form.Create<TFileTypeListView>("lvFileTypes", &parent)),
      lblMenuItems(form.Create<TLabel>("lblMenuItems", &parent)),
      spbItemRefresh(form.Create<TSpeedButton>("spbItemRefresh", &parent)),
      spbItemFind(form.Create<TSpeedButton>("spbItemFind", &parent)),
      spbItemDelete(form.Create<TSpeedButton>("spbItemDelete", &parent)),
      spbItemClear(form.Create<TSpeedButton>("spbItemClear", &parent)),
      spbItemProgram(form.Create<TSpeedButton>("spbItemProgram", &parent)),
      spbItemRestore(form.Create<TSpeedButton>("spbItemRestore", &parent)),
      lblFilter(form.Create<TLabel>("lblFilter", &parent)),
      edFilter(form.Create<TEdit>("edFilter", &parent)),
      lbMenuItems(form.Create<TListView>("lbMenuItems", &parent)),
      lblAppPath(form.Create<TLabel>("lblAppPath", &parent)),
      edAppPath(form.Create<TEdit>("edAppPath", &parent)),
      lblRegistryKey(form.Create<TLabel>("lblRegistryKey", &parent)),
      edRegistryKey(form.Create<TEdit>("edRegistryKey", &parent)),
      lblCleanupNote(form.Create<TLabel>("lblCleanupNote", &parent)),
      actCleanupRefresh(actions.Add("actCleanupRefresh", "&Refresh", "Cleanup")),
      actCleanupFind(actions.Add("actCleanupFind", "&Find Application", "Cleanup")),
      actCleanupDeleteAll(actions.Add("actCleanupDeleteAll", "Delete &All", "Cleanup")),
      actCleanupProgram(
          actions.Add("actCleanupProgram", "Switch Off All of This &Program", "Cleanup")),
      actFileTypesRefresh(actions.Add("actFileTypesRefresh", "&Refresh", "File Types")),
      actFileTypesTypes(actions.Add("actFileTypesTypes", "View by &File Types", "File Types")),
      actFileTypesExtensions(
          actions.Add("actFileTypesExtensions", "View by &Extensions", "File Types")),
      actFileTypesAll(actions.Add("actFileTypesAll", "View &All", "File Types")),
      ShellOpen([](const std::string& verb, const std::string& target) {
        return static_cast<long long>(reinterpret_cast<INT_PTR>(ShellExecuteA(
            GetActiveWindow(), verb.c_str(), target.c_str(), nullptr, nullptr, SW_SHOW)));
      }),
      form_(form),
      cleanup_(cleanup),
      fileTypes_(fileTypes),
      services_(services),
      actDelete_(actDelete) {
  ShowPopup = [this](const std::vector<TAction*>& items, POINT at) {
    TrackActions(form_.Handle(), items, at);
  };
  InitLayout(parent);
  InitActions();
  InitEvents();
  BuildItemList();
}

TStaticCleanupPage::~TStaticCleanupPage() {
  // The controls and actions outlive the page: nothing of theirs may call it any more.
  cleanup_.OnChange = nullptr;
  for (TAction* action :
       {&actCleanupRefresh, &actCleanupFind, &actCleanupDeleteAll, &actCleanupProgram,
        &actFileTypesRefresh, &actFileTypesTypes, &actFileTypesExtensions, &actFileTypesAll}) {
    action->OnUpdate = nullptr;
    action->OnExecute = nullptr;
  }
  if (auto* target = static_cast<TCleanupDelete*>(deleteTarget_)) {
    target->Handles = nullptr;
    target->CanDelete = nullptr;
    target->Delete = nullptr;
  }
  lvFileTypes.OnSelectItem = nullptr;
  lvFileTypes.OnContextMenu = nullptr;
  lvFileTypes.OnRowsRebuilt = nullptr;
  lbMenuItems.OnSelectItem = nullptr;
  lbMenuItems.OnItemChecked = nullptr;
  lbMenuItems.OnCustomDraw = nullptr;
  lbMenuItems.OnContextMenu = nullptr;
  edFilter.OnChange = nullptr;
  lblFileTypes.OnClick = nullptr;
  lblMenuItems.OnClick = nullptr;
  for (TSpeedButton* button :
       {&spbRefresh, &spbItemRefresh, &spbItemFind, &spbItemDelete, &spbItemClear, &spbItemProgram,
        &spbItemRestore})
    button->OnClick = nullptr;
}

void TStaticCleanupPage::InitLayout(TWinControl& parent) {
  // Laid out in the page's real client area, so that the anchors keep every control inside.
  const int pageWidth = parent.ClientWidth() > 0 ? parent.ClientWidth() : kPageWidth;
  const int pageHeight = parent.ClientHeight() > 0 ? parent.ClientHeight() : kPageHeight;
  lblFileTypes.SetBounds(8, 10, 80, 16);
  lblFileTypes.SetCaption(" File Types ");
  spbRefresh.SetBounds(96, 6, 60, 22);
  spbRefresh.SetCaption("Refresh");
  // Backups hold verbs of every type: the command sits with the file types.
  spbItemRestore.SetBounds(158, 6, 66, 22);
  spbItemRestore.SetCaption("Restore...");
  lvFileTypes.SetBounds(8, 32, kTypesWidth, pageHeight - 40);
  lvFileTypes.SetAnchors({true, true, false, true});
  lvFileTypes.SetRowSelect(true);
  lvFileTypes.SetHideSelection(false);
  lvFileTypes.RightClickSelect = true;
  lvFileTypes.SetImages(dynamic_cast<TWin32ImageList*>(fileTypes_.Images()));
  lvFileTypes.SetPredefinedTypes(kAllPredefinedTypes);
  lvFileTypes.SetHint("|List of registered file types\r\n"
                      "Choose a file type to see the commands other programs added to it.");

  const int left = kTypesWidth + 16;
  const int width = pageWidth - left - 8;
  lblMenuItems.SetBounds(left, 10, 84, 16);
  lblMenuItems.SetCaption(" Menu Items ");
  buttonRow_.Place(left + 88, 6, 22, 2);
  for (auto [button, caption, w] :
       {std::tuple{&spbItemRefresh, "Refresh", 56}, {&spbItemFind, "Find", 40},
        {&spbItemDelete, "Delete", 50}, {&spbItemClear, "Delete All", 66},
        {&spbItemProgram, "Program", 62}})
    buttonRow_.Add(*button, caption, w);
  lblFilter.SetBounds(left, 36, 40, 16);
  lblFilter.SetCaption("Fil&ter:");
  lblFilter.SetFocusControl(&edFilter);
  edFilter.SetBounds(left + 44, 32, width - 44, 22);
  edFilter.SetAnchors({true, true, true, false});
  edFilter.SetHint("|Filter\r\nShows only the items whose caption or command line holds this "
                   "text.");

  const int listTop = 58;
  const int detailsHeight = 112;
  lbMenuItems.SetBounds(left, listTop, width, pageHeight - listTop - detailsHeight - 4);
  lbMenuItems.SetAnchors({true, true, true, true});
  lbMenuItems.SetCheckBoxes(true);
  lbMenuItems.SetRowSelect(true);
  lbMenuItems.SetHideSelection(false);
  lbMenuItems.RightClickSelect = true;
  lbMenuItems.AddColumn("Menu Item", 180);
  lbMenuItems.AddColumn("Command", width - 184);
  lbMenuItems.SetHint(
      "|List of the static menu items of the file type\r\n"
      "Checked items appear in the context menu; unchecked ones are kept aside and can be "
      "checked again.\r\n"
      "Items marked with an asterisk are predefined commands (canonical verbs). Be careful "
      "with cleaning of these items.\r\n"
      "NOTE: the list does not include items added by Orvane itself.");

  int y = pageHeight - detailsHeight;
  for (auto [label, edit, caption] :
       {std::tuple{&lblAppPath, &edAppPath, "&Command:"},
        {&lblRegistryKey, &edRegistryKey, "Registry &Key:"}}) {
    label->SetBounds(left, y + 2, 90, 16);
    label->SetCaption(caption);
    label->SetFocusControl(edit);
    label->SetAnchors({true, false, false, true});
    edit->SetBounds(left + 92, y, width - 92, 22);
    edit->SetAnchors({true, false, true, true});
    SendMessageA(edit->Handle(), EM_SETREADONLY, TRUE, 0);
    y += 26;
  }
  edAppPath.SetHint("|Command line\r\nThe command the menu item runs.");
  edRegistryKey.SetHint("|Registry key\r\nWhere the menu item is registered, below "
                        "HKEY_CLASSES_ROOT.");
  lblCleanupNote.SetBounds(left, y + 2, width, 54);
  lblCleanupNote.SetAnchors({true, false, true, true});
  lblCleanupNote.SetWordWrap(true);
  TFont note;
  note.Color = kMaroon;
  lblCleanupNote.SetFont(note);
}

void TStaticCleanupPage::InitActions() {
  actCleanupRefresh.SetHint("Refresh items");
  actCleanupRefresh.OnUpdate = [this](TAction& a) { a.SetEnabled(!PageActive || PageActive()); };
  actCleanupRefresh.OnExecute = [this](TAction&) { BuildItemList(); };
  actCleanupFind.SetHint("Find program at its location");
  actCleanupFind.OnUpdate = [this](TAction& a) { a.SetEnabled(Ready() && SelectedRecord()); };
  actCleanupFind.OnExecute = [this](TAction&) { FindApplication(); };
  actCleanupDeleteAll.SetHint("Clear all items");
  actCleanupDeleteAll.OnUpdate = [this](TAction& a) {
    a.SetEnabled(Ready() && lbMenuItems.ItemCount() > 0);
  };
  actCleanupDeleteAll.OnExecute = [this](TAction&) { DeleteAll(); };
  actCleanupProgram.SetHint(
      "|Switch off all of this program\r\nUnchecks every item of every file type that starts "
      "the same program as the selected item.");
  actCleanupProgram.OnUpdate = [this](TAction& a) {
    TMenuItemRec* rec = SelectedRecord();
    a.SetEnabled(Ready() && rec && !CommandProgram(rec->Command).empty());
  };
  actCleanupProgram.OnExecute = [this](TAction&) { DisableProgram(); };

  actFileTypesRefresh.SetHint("Update file types list from registry");
  actFileTypesRefresh.OnExecute = [this](TAction&) { RefreshFileTypes(); };
  for (auto [action, style] : {std::pair{&actFileTypesTypes, ftvsTypes},
                               {&actFileTypesExtensions, ftvsExtensions},
                               {&actFileTypesAll, ftvsAll}}) {
    action->OnUpdate = [this, style = style](TAction& a) {
      a.SetChecked(lvFileTypes.ViewStyle() == style);
    };
    action->OnExecute = [this, style = style](TAction&) {
      lvFileTypes.SetViewStyle(style);
      form_.UpdateActions("File Types");
    };
  }

  // The buttons keep their short captions: they follow their commands' state only.
  for (auto [button, action] :
       {std::pair{&spbRefresh, &actFileTypesRefresh}, {&spbItemRefresh, &actCleanupRefresh},
        {&spbItemFind, &actCleanupFind}, {&spbItemClear, &actCleanupDeleteAll},
        {&spbItemProgram, &actCleanupProgram}}) {
    button->SetHint(action->Hint());
    button->OnClick = [action = action] { action->Execute(); };
    auto update = action->OnUpdate;
    action->OnUpdate = [update, button = button](TAction& a) {
      if (update) update(a);
      button->SetEnabled(a.Enabled());
    };
  }

  auto& target = actDelete_.Create<TCleanupDelete>("");
  target.Handles = [this](HWND window) {
    return Ready() && window && (window == lbMenuItems.Handle() || window == lvFileTypes.Handle());
  };
  target.CanDelete = [this] {
    TMenuItemRec* rec = SelectedRecord();
    return rec && rec->Readable();
  };
  target.Delete = [this] { DeleteSelected(); };
  actDelete_.AddSubAction(target);
  deleteTarget_ = &target;
  spbItemRestore.SetHint("Restore removed entries from a backup");
  spbItemRestore.OnClick = [this] {
    if (Restore) Restore->Execute();
  };
  spbItemDelete.SetHint("Delete menu item");
  spbItemDelete.OnClick = [this] {
    lbMenuItems.SetFocus();
    actDelete_.Execute();
  };
  auto previous = actDelete_.OnAfterUpdate;
  actDelete_.OnAfterUpdate = [this, previous](TAdvEditAction& sender) {
    if (previous) previous(sender);
    spbItemDelete.SetEnabled(Ready() && SelectedRecord() != nullptr);
  };
}

void TStaticCleanupPage::InitEvents() {
  cleanup_.OnChange = [this](TStaticItemsCleanup&) { form_.UpdateActions("Common"); };
  lvFileTypes.OnSelectItem = [this](int, bool) {
    if (refreshing_ > 0) return;
    BuildItemList();
  };
  lvFileTypes.OnRowsRebuilt = [this] {
    if (refreshing_ == 0) BuildItemList();
  };
  lbMenuItems.OnSelectItem = [this](int, bool) {
    if (refreshing_ > 0) return;
    ShowDetails();
    form_.UpdateActions("Cleanup");
  };
  lbMenuItems.OnItemChecked = [this](int row, bool checked) { ItemChecked(row, checked); };
  // Verbs this program leaves as they are show in grey.
  lbMenuItems.OnCustomDraw = [](NMLVCUSTOMDRAW& draw) -> LRESULT {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
      const auto* rec = reinterpret_cast<const TMenuItemRec*>(draw.nmcd.lItemlParam);
      if (rec && (rec->LegacyDisabled || !rec->Readable())) draw.clrText = GetSysColor(COLOR_GRAYTEXT);
    }
    return CDRF_DODEFAULT;
  };
  edFilter.OnChange = [this] { BuildItemList(); };
  auto popupAt = [](TWinControl& control, int x, int y) {
    POINT at{x, y};
    if (x == -1 && y == -1) {
      at = POINT{8, 8};
      ClientToScreen(control.Handle(), &at);
    }
    return at;
  };
  lbMenuItems.OnContextMenu = [this, popupAt](int x, int y) {
    form_.UpdateActions(std::nullopt);
    ShowPopup({&actDelete_, &actCleanupDeleteAll, nullptr, &actCleanupFind, &actCleanupProgram,
               &actCleanupRefresh, nullptr, QuickHint},
              popupAt(lbMenuItems, x, y));
  };
  lvFileTypes.OnContextMenu = [this, popupAt](int x, int y) {
    form_.UpdateActions(std::nullopt);
    ShowPopup({&actFileTypesRefresh, nullptr, &actFileTypesTypes, &actFileTypesExtensions,
               &actFileTypesAll, nullptr, QuickHint},
              popupAt(lvFileTypes, x, y));
  };
  auto titleClick = [this](TWinControl& list, const std::function<void(int, int)>& popup) {
    return [&list, popup] {
      list.SetFocus();
      POINT at{};
      GetCursorPos(&at);
      popup(at.x, at.y);
    };
  };
  lblFileTypes.OnClick = titleClick(lvFileTypes, [this](int x, int y) {
    lvFileTypes.OnContextMenu(x, y);
  });
  lblMenuItems.OnClick = titleClick(lbMenuItems, [this](int x, int y) {
    lbMenuItems.OnContextMenu(x, y);
  });
}

bool TStaticCleanupPage::Ready() const { return !PageActive || PageActive(); }

TStaticItems* TStaticCleanupPage::FocusedItems() const {
  const int row = lvFileTypes.FocusedIndex() >= 0 ? lvFileTypes.FocusedIndex()
                                                   : lvFileTypes.SelectedIndex();
  TFileType* type = row >= 0 ? lvFileTypes.ItemFileType(row) : nullptr;
  return type ? &cleanup_.GetItems(ShellKeyPath(type->Name())) : nullptr;
}

TMenuItemRec* TStaticCleanupPage::RowRecord(int row) const {
  return row >= 0 ? static_cast<TMenuItemRec*>(lbMenuItems.ItemData(row)) : nullptr;
}

TMenuItemRec* TStaticCleanupPage::SelectedRecord() const {
  return RowRecord(lbMenuItems.SelectedIndex());
}

bool TStaticCleanupPage::ShownActive(const TMenuItemRec& rec) const {
  return !rec.Owner->IsDisabled(rec) && !rec.LegacyDisabled;
}

void TStaticCleanupPage::BuildItemList() {
  Refresh(refreshing_, [&] {
    lbMenuItems.BeginUpdate();
    struct End {
      TListView& list;
      ~End() { list.EndUpdate(); }
    } end{lbMenuItems};
    lbMenuItems.Clear();
    shown_ = nullptr;
    TStaticItems* items = FocusedItems();
    if (!items) return;
    shown_ = items;
    const std::string filter = edFilter.Text();
    for (int i = 0; i < items->Count(); ++i) {
      TMenuItemRec& rec = items->Item(i);
      if (items->IsDeleted(rec) || !MatchesFilter(*items, i, filter)) continue;
      const int row = lbMenuItems.AddItem(items->Text(i), -1, &rec);
      lbMenuItems.SetSubItem(row, 1, rec.Command.substr(0, kMaxShownCommand));
      lbMenuItems.SetChecked(row, ShownActive(rec));
    }
    if (lbMenuItems.ItemCount() > 0) SelectRow(0);
  });
  ShowDetails();
  form_.UpdateActions("Cleanup");
}

void TStaticCleanupPage::SelectRow(int row) {
  lbMenuItems.ClearSelection();
  if (row < 0) return;
  lbMenuItems.SetSelected(row, true);
  lbMenuItems.SetFocusedIndex(row);
  lbMenuItems.MakeVisible(row);
}

void TStaticCleanupPage::ShowDetails() {
  TMenuItemRec* rec = SelectedRecord();
  if (!rec) {
    edAppPath.SetText("");
    edRegistryKey.SetText("");
    lblCleanupNote.SetCaption("");
    return;
  }
  edAppPath.SetText(AsciiLower(rec->Command.substr(0, kMaxShownCommand)));
  edRegistryKey.SetText(rec->ActivePath());
  std::string note;
  if (!rec->Readable()) {
    note = FormatRes(msg::SUnreadableItemNote, {rec->ReadError});
  } else if (rec->LegacyDisabled) {
    note = LoadResString(msg::SLegacyDisableNote);
  }
  lblCleanupNote.SetCaption(note);
}

void TStaticCleanupPage::ItemChecked(int row, bool checked) {
  if (refreshing_ > 0) return;
  TMenuItemRec* rec = RowRecord(row);
  if (!rec) return;
  if (rec->Readable() && !rec->LegacyDisabled) {
    rec->Owner->SetDisabled(*rec, !checked);
  }
  // A verb that is left as it is keeps showing what the file manager does with it.
  if (checked != ShownActive(*rec)) {
    Refresh(refreshing_, [&] { lbMenuItems.SetChecked(row, ShownActive(*rec)); });
  }
  SelectRow(row);
  ShowDetails();
  form_.UpdateActions(std::nullopt);
}

void TStaticCleanupPage::DeleteSelected() {
  const int row = lbMenuItems.SelectedIndex();
  TMenuItemRec* rec = RowRecord(row);
  // What cannot be read cannot be backed up: the details say why it stays.
  if (!rec || !rec->Readable()) return;
  if (ShowMessageBox(FormatRes(msg::SDeleteMenuItem, {rec->Caption}), kAppTitle,
                     MB_YESNO | MB_ICONQUESTION) == IDNO)
    return;
  rec->Owner->SetDeleted(*rec, true);
  Refresh(refreshing_, [&] {
    lbMenuItems.DeleteItem(row);
    const int count = lbMenuItems.ItemCount();
    SelectRow(count == 0 ? -1 : (row < count ? row : count - 1));
  });
  ShowDetails();
  form_.UpdateActions(std::nullopt);
}

void TStaticCleanupPage::DeleteAll() {
  if (ShowMessageBox(LoadResString(msg::SDeleteAllQuestion), kAppTitle,
                     MB_YESNO | MB_ICONQUESTION) == IDNO)
    return;
  if (lbMenuItems.ItemCount() == 0 || !shown_) return;
  if (edFilter.Text().empty()) {
    shown_->DeleteAll();
  } else {
    // With a filter, all means all that are listed.
    cleanup_.BeginUpdate();
    struct End {
      TStaticItemsCleanup& cleanup;
      ~End() { cleanup.EndUpdate(); }
    } end{cleanup_};
    for (int row = 0; row < lbMenuItems.ItemCount(); ++row) {
      if (TMenuItemRec* rec = RowRecord(row)) rec->Owner->SetDeleted(*rec, true);
    }
  }
  BuildItemList();
}

void TStaticCleanupPage::FindApplication() {
  TMenuItemRec* rec = SelectedRecord();
  if (!rec) return;
  const std::string folder = ProgramFolderOf(CommandProgram(rec->Command));
  const long long result = ShellOpen("explore", folder);
  if (result <= 32) {
    ShowMessageBox(SystemErrorMessage(static_cast<DWORD>(result)), kAppTitle,
                   MB_OK | MB_ICONWARNING);
  }
}

void TStaticCleanupPage::DisableProgram() {
  TMenuItemRec* rec = SelectedRecord();
  if (!rec) return;
  const std::string program = CommandProgram(rec->Command);
  std::vector<std::string> names;
  TFileTypes& types = fileTypes_.Items();
  for (int i = 0; i < types.Count(); ++i) names.push_back(types.Items(i)->Name());
  {
    TBusyCursor busy;
    cleanup_.DisableProgram(program, names);
  }
  const int row = lbMenuItems.SelectedIndex();
  BuildItemList();
  SelectRow(row < lbMenuItems.ItemCount() ? row : -1);
  ShowDetails();
  form_.UpdateActions(std::nullopt);
}

void TStaticCleanupPage::Shown() {
  if (lvFileTypes.FileTypes() == &fileTypes_) return;
  TBusyCursor busy;
  lvFileTypes.SetFileTypes(&fileTypes_);
}

void TStaticCleanupPage::RefreshFileTypes() {
  {
    TBusyCursor busy;
    Refresh(refreshing_, [&] {
      lbMenuItems.Clear();
      shown_ = nullptr;
      cleanup_.Clear();
      fileTypes_.SetActive(false);
      fileTypes_.SetActive(true);
    });
  }
  BuildItemList();
  form_.UpdateActions(std::nullopt);
}

void TStaticCleanupPage::Reload() {
  Refresh(refreshing_, [&] {
    lbMenuItems.Clear();
    shown_ = nullptr;
    cleanup_.Clear();
  });
  BuildItemList();
}

bool TStaticCleanupPage::HasChanges() const { return cleanup_.Modified(); }

void TStaticCleanupPage::ApplyChanges(IRemovalBackup& backup) {
  // Applied verbs may leave the model: the rows must not point at them any more.
  struct Rebuild {
    TStaticCleanupPage& page;
    ~Rebuild() {
      try {
        page.BuildItemList();
      } catch (...) {
      }
    }
  } rebuild{*this};
  Refresh(refreshing_, [&] { lbMenuItems.Clear(); });
  cleanup_.Apply(backup);
}

}  // namespace orvane
