#pragma once
// Dynamic items drawn by the module itself, with the menu file's drawing settings: the
// font, the text indent, the colours of text, background and icon background. The fonts
// are kept with the menu file's records; a menu only notes which of its entries are
// drawn here and answers the host's measure and draw messages for them.

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <unordered_set>

#include "platform/win32/win32_handles.h"
#include "shellext/menu_bitmaps.h"
#include "shellext/staged_menu.h"
#include "storage/menu_file_reader.h"

namespace orvane {

// The items' font per screen resolution, made at first use: the custom face and size
// where the settings name them and the face exists, the system's menu font otherwise.
// Safe on several threads.
class TMenuFonts {
public:
  // Null when no font can be made (the items are then drawn as plain text). Never throws.
  HFONT Get(const TCustomDrawRecord& settings, int dpi) noexcept;

private:
  std::mutex mutex_;
  std::map<int, TFontHandle> fonts_;
};

// Sizes of the settings at a resolution: they are given for 96 dots per inch.
struct TItemGeometry {
  int Indent = 0;  // the icon column, left of the text
  int Icon = 0;
  int Padding = 0;
};
TItemGeometry GeometryAt(const TCustomDrawRecord& settings, int dpi);

// What a colour setting paints: the default gives `fallback`.
COLORREF PaintedColor(std::uint32_t value, COLORREF fallback);

// Whether an entry is drawn by the module: custom drawing on, and neither a first-level
// entry kept as the system draws it, nor, with the background fix, an entry in a
// submenu of the folder background (whose menu does not pass the messages on).
bool DrawsEntry(const TCustomDrawRecord& settings, const TDynamicItemRecord& record,
                bool firstLevel);

class TMenuDrawing {
public:
  TMenuDrawing(const TCustomDrawRecord& settings, TMenuFonts& fonts, TMenuPictures& pictures)
      : settings_(settings), fonts_(fonts), pictures_(pictures) {}

  const TCustomDrawRecord& Settings() const { return settings_; }
  // Notes the entry as one drawn here; the item data its menu item carries.
  ULONG_PTR Add(const TDynamicItemRecord& record);
  // False for an item that is not one of ours.
  bool Measure(MEASUREITEMSTRUCT& item) const;
  bool Draw(const DRAWITEMSTRUCT& item) const;

private:
  const TDynamicItemRecord* Ours(ULONG_PTR data) const;
  // The screen's resolution and a device context with the items' font, made at the first
  // measure and kept for the menu's others.
  bool PrepareMeasuring() const;
  void DrawPicture(HDC dc, const TDynamicItemRecord& record, const RECT& column, int size) const;

  const TCustomDrawRecord& settings_;
  TMenuFonts& fonts_;
  TMenuPictures& pictures_;
  std::unordered_set<const TDynamicItemRecord*> items_;
  mutable TMemoryDC measuring_;
  mutable int dpi_ = 0;
  mutable int textHeight_ = 0;
};

// The drawing of a menu when the settings ask for it, else null.
std::unique_ptr<TMenuDrawing> MenuDrawingFor(const TCustomDrawRecord& settings, TMenuFonts& fonts,
                                             TMenuPictures& pictures);

// Makes `item`, about to be put into a menu, one drawn here when the settings say so;
// `firstLevel` when it goes into the host's own menu.
void OwnerDrawn(TMenuDrawing& drawing, bool firstLevel, const TMenuEntry& entry,
                MENUITEMINFOA& item);

}  // namespace orvane
