#pragma once
// The colour list: a drop-down of named colours, each entry a swatch and its name. An
// optional "Default" entry first, the 16 standard colours, optionally the system colours,
// and an optional "Custom" entry that opens the system's colour dialog. Typing in the
// list chooses by prefix (TAdvCustomComboBox).

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/control.h"
#include "controls/typed_prefix.h"

#include <commdlg.h>

namespace orvane {

// 0x00BBGGRR, or kSysColorBase + a system colour index.
using TColorValue = std::uint32_t;
inline constexpr TColorValue kSysColorBase = 0xFF000000u;

struct TColorRec {
  std::string Name;
  TColorValue Color = 0;
};

inline constexpr int kStandardColorCount = 16;
inline constexpr int kSystemColorCount = 25;

// The names a list shows, in the interface language of the process's first use.
struct TColorNames {
  std::string Default;
  std::array<std::string, kStandardColorCount> Standard;
  std::array<std::string, kSystemColorCount> System;
  std::string Custom;
};
const TColorNames& BuiltInColorNames();
// The colours themselves, in list order (names from BuiltInColorNames).
const std::array<TColorRec, kStandardColorCount>& StandardColors();
const std::array<TColorRec, kSystemColorCount>& SystemColors();

// The system's combo box drawn by its owner, with typing by prefix.
class TAdvCustomComboBox : public TWinControl {
public:
  TAdvCustomComboBox(TComponent* owner, std::string name, TWinControl* parent);
  ~TAdvCustomComboBox() override;

  int ItemCount() const;
  int ItemIndex() const;
  void SetItemIndex(int index);
  bool DroppedDown() const;
  const std::string& TypedPrefix() const { return typing_.Prefix(); }

  // The user chose an entry, or the program set the colour.
  std::function<void()> OnChange;

  void CommandNotify(WORD code) override;
  bool DrawItem(DRAWITEMSTRUCT& item) override;

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void FontChanged() override;
  virtual void Change();
  // The platform's selection notification (CBN_...), after the last one was noted.
  virtual void Select(WORD) {}
  virtual void DrawEntry(HDC dc, int index, const RECT& rect, bool selected) = 0;
  // The last selection notification the platform sent.
  WORD LastSelectNotification() const { return lastSelect_; }
  void SetItemHeights();

private:
  void Typed(const TTypedKey& key);

  TTypedPrefix typing_;
  WORD lastSelect_ = 0;
};

class TAdvColorComboBox : public TAdvCustomComboBox {
public:
  TAdvColorComboBox(TComponent* owner, std::string name, TWinControl* parent);

  bool ShowColorNames() const { return showColorNames_; }
  void SetShowColorNames(bool value);
  bool ShowSysColors() const { return showSysColors_; }
  void SetShowSysColors(bool value);
  bool ShowDefaultColor() const { return showDefaultColor_; }
  void SetShowDefaultColor(bool value);
  bool ShowCustomColor() const { return showCustomColor_; }
  void SetShowCustomColor(bool value);
  TColorValue DefaultColor() const { return defaultColor_; }
  void SetDefaultColor(TColorValue value);
  TColorValue CustomColor() const { return customColor_; }
  void SetCustomColor(TColorValue value);
  // The colour dialog's own custom colours, kept between its runs.
  std::array<COLORREF, 16> CustomColors{};
  // Options of the colour dialog (CC_...), fully open at first.
  DWORD ColorDlgOptions = CC_FULLOPEN | CC_ANYCOLOR;
  const TColorNames& ColorNames() const { return names_; }
  // Renames the shown entries; the selection stays.
  void SetColorNames(const TColorNames& names);

  // DefaultColor with no entry selected, else the selected entry's colour.
  TColorValue SelectedColor() const;
  // The first entry from the top with the colour; none: "Custom" takes it and the last
  // entry is chosen. OnChange runs in both cases.
  void SetSelectedColor(TColorValue value);
  // The colour the entry stands for.
  TColorValue EntryColor(int index) const;
  std::string EntryName(int index) const;

  // Runs the colour dialog on `colour` and `custom`; true when the user confirmed. The
  // system's dialog unless a test puts another here.
  std::function<bool(COLORREF& colour, std::array<COLORREF, 16>& custom)> RunColorDialog;

protected:
  void Select(WORD code) override;
  void DrawEntry(HDC dc, int index, const RECT& rect, bool selected) override;

private:
  void Rebuild();
  bool IsCustomEntry(int index) const;
  void ChooseCustom();

  bool showColorNames_ = true;
  bool showSysColors_ = true;
  bool showDefaultColor_ = true;
  bool showCustomColor_ = true;
  TColorValue defaultColor_ = 0;
  TColorValue customColor_ = 0;
  TColorNames names_;
  std::vector<TColorRec> entries_;  // Default and Custom hold their current colours
};

// The colour as GDI paints it (a system colour by its current value).
COLORREF ColorToRGB(TColorValue value);

}  // namespace orvane
