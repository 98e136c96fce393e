#include "shellext/menu_plan.h"

#include <algorithm>

#include "platform/ansi_case.h"

namespace orvane {
namespace {

void Tidy(std::vector<TMenuNode>& nodes) {
  std::vector<TMenuNode> kept;
  kept.reserve(nodes.size());
  for (TMenuNode& node : nodes) {
    if (node.Record->Kind == TDynamicEntryKind::Submenu) {
      Tidy(node.Children);
      if (node.Children.empty()) continue;
    }
    bool separator = node.Record->Kind == TDynamicEntryKind::Separator;
    if (separator && (kept.empty() || kept.back().Record->Kind == TDynamicEntryKind::Separator))
      continue;
    kept.push_back(std::move(node));
  }
  while (!kept.empty() && kept.back().Record->Kind == TDynamicEntryKind::Separator) kept.pop_back();
  nodes = std::move(kept);
}

// Keeps the first `room` plain items and drops the rest; Tidy then takes out what that
// left empty or at an edge.
void Trim(std::vector<TMenuNode>& nodes, int& room) {
  for (auto it = nodes.begin(); it != nodes.end();) {
    switch (it->Record->Kind) {
      case TDynamicEntryKind::Item:
        if (room <= 0) {
          it = nodes.erase(it);
          continue;
        }
        --room;
        break;
      case TDynamicEntryKind::Submenu:
        Trim(it->Children, room);
        break;
      case TDynamicEntryKind::Separator:
        break;
    }
    ++it;
  }
}

void Show(const std::vector<TMenuNode>& nodes, IMenuSink& sink, int maxCommands,
          std::vector<const TDynamicItemRecord*>& commands) {
  for (const TMenuNode& node : nodes) {
    switch (node.Record->Kind) {
      case TDynamicEntryKind::Separator:
        sink.AddSeparator();
        break;
      case TDynamicEntryKind::Submenu:
        sink.BeginSubmenu(*node.Record);
        Show(node.Children, sink, maxCommands, commands);
        sink.EndSubmenu();
        break;
      case TDynamicEntryKind::Item:
        if (static_cast<int>(commands.size()) >= maxCommands) break;
        sink.AddItem(*node.Record, static_cast<int>(commands.size()));
        commands.push_back(node.Record);
        break;
    }
  }
}

}  // namespace

std::vector<TMenuNode> PlanMenu(const std::vector<TDynamicItemRecord>& records,
                                const std::vector<std::string>& types) {
  // Per record: the type it shows under (-1: not shown) and, for a shown submenu, where
  // its node is; records come parents first, so one pass decides.
  const std::size_t count = records.size();
  std::vector<int> typeOf(count, -1);
  std::vector<std::vector<TMenuNode>> byType(types.size());
  std::vector<std::vector<TMenuNode>> children(count);
  std::vector<int> holder(count, -1);  // the record whose children a shown record joins
  for (std::size_t i = 0; i < count; ++i) {
    const TDynamicItemRecord& record = records[i];
    if (record.Invalid || !record.Checked) continue;
    int type = -1;
    for (std::size_t t = 0; t < types.size(); ++t) {
      if (AnsiSameText(types[t], record.FileType)) {
        type = static_cast<int>(t);
        break;
      }
    }
    if (type < 0) continue;
    int parent = record.Parent;
    if (parent >= 0 && !AnsiSameText(records[parent].FileType, record.FileType)) parent = -1;
    if (parent >= 0 && typeOf[parent] < 0) continue;  // its submenu is hidden
    typeOf[i] = type;
    holder[i] = parent;
  }
  // Children before their holders (a holder's index is always lower), each list built
  // backwards and turned round once it is complete.
  for (std::size_t k = count; k-- > 0;) {
    if (typeOf[k] < 0) continue;
    std::reverse(children[k].begin(), children[k].end());
    TMenuNode node{&records[k], std::move(children[k])};
    if (holder[k] >= 0) {
      children[holder[k]].push_back(std::move(node));
    } else {
      byType[typeOf[k]].push_back(std::move(node));
    }
  }
  std::vector<TMenuNode> plan;
  for (auto& nodes : byType)
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) plan.push_back(std::move(*it));
  Tidy(plan);
  return plan;
}

std::vector<const TDynamicItemRecord*> ShowMenu(const std::vector<TMenuNode>& plan, IMenuSink& sink,
                                                int maxCommands) {
  std::vector<const TDynamicItemRecord*> commands;
  // Once the commands run out no submenu may stay that nothing can be chosen in.
  std::vector<TMenuNode> shown = plan;
  int room = maxCommands;
  Trim(shown, room);
  Tidy(shown);
  Show(shown, sink, maxCommands, commands);
  return commands;
}

}  // namespace orvane
