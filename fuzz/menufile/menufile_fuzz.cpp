// Arbitrary bytes as the menu file the shell extension module reads: through the shared
// reader (as text, and as an INI object's lines; the menu and its drawing settings) and the module's menu building, into a
// sink that checks the menu it is given is well formed, and staged into a host's menu
// with a tight id range and a refused insert: whole and tidy, or not there at all.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <map>
#include <vector>

#include "shellext/menu_plan.h"
#include "shellext/staged_menu.h"
#include "storage/menu_file_reader.h"

using namespace orvane;

namespace {

class TCheckingSink : public IMenuSink {
public:
  void AddItem(const TDynamicItemRecord& record, int command) override {
    if (record.Kind != TDynamicEntryKind::Item || command != next++) std::abort();
  }
  void AddSeparator() override {}
  void BeginSubmenu(const TDynamicItemRecord& record) override {
    if (record.Kind != TDynamicEntryKind::Submenu || ++depth > kMaxMenuDepth) std::abort();
  }
  void EndSubmenu() override {
    if (--depth < 0) std::abort();
  }
  int next = 0;
  int depth = 0;
};

// Menus as kinds of entries ('i', 's', or the pop-up's number); menu 1 is the host's,
// holding two entries of its own. The n-th insert may be refused.
class TCheckingMenus : public IMenuTarget {
public:
  TCheckingMenus() { menus[1] = {-1, -1}; }
  void Prepare(const TDynamicItemRecord&) override {}
  TMenuRef NewPopup() override {
    menus[next] = {};
    return next++;
  }
  void DestroyPopup(TMenuRef popup) override {
    for (long entry : menus.at(popup))
      if (entry > 1) DestroyPopup(static_cast<TMenuRef>(entry));
    menus.erase(popup);
  }
  bool Insert(TMenuRef menu, unsigned position, const TMenuEntry& entry) override {
    if (++inserts == refuseAt) return false;
    auto& entries = menus.at(menu);
    if (position > entries.size()) std::abort();
    long kind = entry.Kind == TDynamicEntryKind::Separator ? 0
                : entry.Kind == TDynamicEntryKind::Item    ? 1
                                                           : static_cast<long>(entry.Popup);
    if (kind > 1 && !menus.count(entry.Popup)) std::abort();
    entries.insert(entries.begin() + position, kind);
    return true;
  }
  void Remove(TMenuRef menu, unsigned position) override {
    auto& entries = menus.at(menu);
    entries.erase(entries.begin() + position);
  }
  // Plain items in the menu and below; no submenu empty, no separator at an edge or
  // beside another.
  int Items(TMenuRef menu) const {
    const std::vector<long>& entries = menus.at(menu);
    int items = 0;
    for (std::size_t k = 0; k < entries.size(); ++k) {
      if (entries[k] == 0 && (k == 0 || k + 1 == entries.size() || entries[k + 1] == 0)) std::abort();
      if (entries[k] == 1) ++items;
      if (entries[k] > 1) {
        int below = Items(static_cast<TMenuRef>(entries[k]));
        if (below == 0) std::abort();
        items += below;
      }
    }
    return items;
  }

  std::map<TMenuRef, std::vector<long>> menus;
  TMenuRef next = 2;
  int inserts = 0, refuseAt = 0;
};

// Damaged drawing settings read as their defaults: whatever the text, the values are
// ones the module can draw with.
void Check(const TCustomDrawRecord& r) {
  if (r.TextIndent < kMinTextIndent || r.TextIndent > kMaxTextIndent) std::abort();
  if (r.TextFontSize != 0 && (r.TextFontSize < kMinTextFontSize || r.TextFontSize > kMaxTextFontSize))
    std::abort();
  if (r.TextFontFace.size() > kMaxFontFaceLength || r.FrameStyle > 3) std::abort();
  for (std::uint32_t colour : {r.NormalTextColor, r.SelectedTextColor, r.NormalBackColor,
                               r.SelectedBackColor, r.NormalIconBackColor, r.SelectedIconBackColor,
                               r.FrameLightColor, r.FrameShadowColor, r.FrameBorderColor})
    if (!IsMenuColor(colour)) std::abort();
}

void Check(const std::vector<TDynamicItemRecord>& records) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    const TDynamicItemRecord& r = records[i];
    if (r.FileType.empty() || r.Depth < 1 || r.Depth > kMaxMenuDepth) std::abort();
    if (r.Parent >= static_cast<int>(i)) std::abort();
    if (r.Parent >= 0 && (records[r.Parent].Kind != TDynamicEntryKind::Submenu ||
                          records[r.Parent].Invalid || records[r.Parent].Depth + 1 != r.Depth))
      std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TMenuFileRecords file = ReadMenuFileText(text);
  Check(file.DynamicItems);
  Check(file.CustomDraw);
  // The same bytes as lines an INI object would list.
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  Check(ReadDynamicItems(lines));
  Check(ReadCustomDraw(lines));

  std::vector<std::string> types = {"*", "AllFileSystemObjects", "txtfile"};
  for (const auto& record : file.DynamicItems)
    if (types.size() < 8) types.push_back(record.FileType);
  TCheckingSink sink;
  std::vector<const TDynamicItemRecord*> commands =
      ShowMenu(PlanMenu(file.DynamicItems, types), sink, 1000);
  if (sink.depth != 0 || static_cast<int>(commands.size()) != sink.next) std::abort();

  // The module's way into the host's menu, with as few ids as the host may give.
  const int room = static_cast<int>(size % 23);
  std::vector<TMenuNode> plan = PlanMenu(file.DynamicItems, types);
  for (int refuseAt : {0, static_cast<int>(size % 11) + 1}) {
    TCheckingMenus menus;
    menus.refuseAt = refuseAt;
    bool committed = false;
    std::vector<const TDynamicItemRecord*> shown;
    {
      TStagedMenu staged(menus);
      shown = ShowMenu(plan, staged, room);
      if (static_cast<int>(shown.size()) > room) std::abort();
      committed = staged.CommitTo(1, 1);
    }
    const std::vector<long>& host = menus.menus.at(1);
    if (committed) {
      if (host.front() != -1 || host.back() != -1) std::abort();
      std::vector<long> ours(host.begin() + 1, host.end() - 1);
      menus.menus[0] = ours;
      if (menus.Items(0) != static_cast<int>(shown.size())) std::abort();
    } else {
      if (refuseAt == 0 || host.size() != 2 || menus.menus.size() != 1) std::abort();
    }
  }
  return 0;
}
