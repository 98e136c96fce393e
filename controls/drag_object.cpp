#include "controls/drag_object.h"

#include <map>

namespace orvane {
namespace {

std::map<TCursor, HCURSOR>& ProgramCursors() {
  static std::map<TCursor, HCURSOR> cursors;
  return cursors;
}

}  // namespace

HCURSOR CursorHandle(TCursor cursor) {
  switch (cursor) {
    case crNo:
      return LoadCursor(nullptr, IDC_NO);
    case crArrow:
    case crDefault:
      return LoadCursor(nullptr, IDC_ARROW);
  }
  const auto found = ProgramCursors().find(cursor);
  return found != ProgramCursors().end() ? found->second : LoadCursor(nullptr, IDC_ARROW);
}

void RegisterCursor(TCursor cursor, HCURSOR handle) { ProgramCursors()[cursor] = handle; }

TCursor TDragObject::GetDragCursor(bool accepted, int, int) { return accepted ? crArrow : crNo; }

}  // namespace orvane
