// Arbitrary bytes as the menu file the shell extension module reads: through the shared
// reader (as text, and as an INI object's lines) and the module's menu building, into a
// sink that checks the menu it is given is well formed.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shellext/menu_plan.h"
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

  std::vector<std::string> types = {"*", "AllFileSystemObjects", "txtfile"};
  for (const auto& record : file.DynamicItems)
    if (types.size() < 8) types.push_back(record.FileType);
  TCheckingSink sink;
  std::vector<const TDynamicItemRecord*> commands =
      ShowMenu(PlanMenu(file.DynamicItems, types), sink, 1000);
  if (sink.depth != 0 || static_cast<int>(commands.size()) != sink.next) std::abort();
  return 0;
}
