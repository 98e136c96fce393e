#include "shellext/menu_drawing.h"

#include <algorithm>

#include "platform/ansi_case.h"

namespace orvane {
namespace {

constexpr const char* kBackgroundType = "Directory\\Background";

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceExists(const std::string& face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  TWindowDC screen(nullptr);
  if (!screen.Get()) return false;
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExA(screen.Get(), &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

int ScreenDpi() {
  TWindowDC screen(nullptr);
  int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

int DpiOf(HDC dc) {
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : ScreenDpi();
}

// The item's text as DrawText shows it: "&" marks the next character, "&&" is one "&".
std::string Shown(const std::string& caption) {
  std::string shown;
  shown.reserve(caption.size());
  for (std::size_t k = 0; k < caption.size(); ++k) {
    if (caption[k] == '&' && ++k == caption.size()) break;
    shown += caption[k];
  }
  return shown;
}

}  // namespace

HFONT TMenuFonts::Get(const TCustomDrawRecord& settings, int dpi) noexcept {
  try {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = fonts_.find(dpi);
    if (found != fonts_.end()) return found->second.get();
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTA font{};
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      font = metrics.lfMenuFont;
      // The system's menu font is for the screen's own resolution.
      font.lfHeight = MulDiv(font.lfHeight, dpi, ScreenDpi());
    } else {
      font.lfHeight = -MulDiv(8, dpi, 72);
      font.lfCharSet = DEFAULT_CHARSET;
    }
    // A face that is not installed would be matched to some other; the menu's is better.
    if (FaceExists(settings.TextFontFace))
      lstrcpynA(font.lfFaceName, settings.TextFontFace.c_str(), LF_FACESIZE);
    if (settings.TextFontSize > 0) font.lfHeight = -MulDiv(settings.TextFontSize, dpi, 72);
    TFontHandle made(CreateFontIndirectA(&font));
    HFONT handle = made.get();
    if (handle) fonts_[dpi] = std::move(made);
    return handle;
  } catch (...) {
    return nullptr;
  }
}

TItemGeometry GeometryAt(const TCustomDrawRecord& settings, int dpi) {
  return TItemGeometry{MulDiv(settings.TextIndent, dpi, 96), MulDiv(16, dpi, 96), MulDiv(3, dpi, 96)};
}

COLORREF PaintedColor(std::uint32_t value, COLORREF fallback) {
  if (value == kDefaultMenuColor || !IsMenuColor(value)) return fallback;
  if ((value & 0xFF000000u) == kSystemColorFlag) return GetSysColor(static_cast<int>(value & 0xFF));
  return static_cast<COLORREF>(value);
}

bool DrawsEntry(const TCustomDrawRecord& settings, const TDynamicItemRecord& record,
                bool firstLevel) {
  if (!settings.Enabled || record.Kind == TDynamicEntryKind::Separator) return false;
  if (firstLevel && settings.FirstLevelDefault) return false;
  if (!firstLevel && settings.BackgroundFix && AnsiSameText(record.FileType, kBackgroundType))
    return false;
  return true;
}

std::unique_ptr<TMenuDrawing> MenuDrawingFor(const TCustomDrawRecord& settings, TMenuFonts& fonts,
                                             TMenuPictures& pictures) {
  if (!settings.Enabled) return nullptr;
  return std::make_unique<TMenuDrawing>(settings, fonts, pictures);
}

void OwnerDrawn(TMenuDrawing& drawing, bool firstLevel, const TMenuEntry& entry,
                MENUITEMINFOA& item) {
  if (!entry.Record || !DrawsEntry(drawing.Settings(), *entry.Record, firstLevel)) return;
  // The caption stays for the host's keyboard and accessibility; the picture is ours.
  item.fMask = (item.fMask & ~MIIM_BITMAP) | MIIM_FTYPE | MIIM_DATA;
  item.fType |= MFT_OWNERDRAW;
  item.hbmpItem = nullptr;
  item.dwItemData = drawing.Add(*entry.Record);
}

ULONG_PTR TMenuDrawing::Add(const TDynamicItemRecord& record) {
  items_.insert(&record);
  return reinterpret_cast<ULONG_PTR>(&record);
}

const TDynamicItemRecord* TMenuDrawing::Ours(ULONG_PTR data) const {
  // The host may pass on messages of items that are not ours.
  auto found = items_.find(reinterpret_cast<const TDynamicItemRecord*>(data));
  return found == items_.end() ? nullptr : *found;
}

bool TMenuDrawing::PrepareMeasuring() const {
  if (measuring_) return true;
  dpi_ = ScreenDpi();
  measuring_.reset(CreateCompatibleDC(nullptr));
  if (!measuring_) return false;
  // Selected for the device context's life: the font outlives every menu of its file.
  if (HFONT font = fonts_.Get(settings_, dpi_)) SelectObject(measuring_.get(), font);
  TEXTMETRICA metrics{};
  if (GetTextMetricsA(measuring_.get(), &metrics)) textHeight_ = metrics.tmHeight;
  return true;
}

bool TMenuDrawing::Measure(MEASUREITEMSTRUCT& item) const {
  if (item.CtlType != ODT_MENU) return false;
  const TDynamicItemRecord* record = Ours(item.itemData);
  if (!record) return false;
  const bool ready = PrepareMeasuring();
  const TItemGeometry geometry = GeometryAt(settings_, dpi_ > 0 ? dpi_ : 96);
  SIZE text{0, textHeight_};
  if (ready) {
    const std::string shown = Shown(record->Caption);
    GetTextExtentPoint32A(measuring_.get(), shown.c_str(), static_cast<int>(shown.size()), &text);
  }
  item.itemWidth = static_cast<UINT>(geometry.Indent + geometry.Padding * 2 + text.cx);
  item.itemHeight = static_cast<UINT>(std::max<LONG>(textHeight_, geometry.Icon) + geometry.Padding * 2);
  return true;
}

void TMenuDrawing::DrawPicture(HDC dc, const TDynamicItemRecord& record, const RECT& column,
                               int size) const {
  HBITMAP picture = pictures_.Get(record.IconFile, record.IconIndex);
  if (!picture) return;
  BITMAP bits{};
  if (!GetObjectA(picture, sizeof bits, &bits) || bits.bmWidth <= 0 || bits.bmHeight <= 0) return;
  TMemoryDC source(CreateCompatibleDC(dc));
  if (!source) return;
  TSelectObject chosen(source.get(), picture);
  const int left = column.left + (column.right - column.left - size) / 2;
  const int top = column.top + (column.bottom - column.top - size) / 2;
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, left, top, size, size, source.get(), 0, 0, bits.bmWidth, bits.bmHeight, blend);
}

bool TMenuDrawing::Draw(const DRAWITEMSTRUCT& item) const {
  if (item.CtlType != ODT_MENU) return false;
  const TDynamicItemRecord* record = Ours(item.itemData);
  if (!record) return false;
  HDC dc = item.hDC;
  const RECT r = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool grayed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  BOOL flat = FALSE;
  SystemParametersInfoA(SPI_GETFLATMENU, 0, &flat, 0);
  const COLORREF back = PaintedColor(
      selected ? settings_.SelectedBackColor : settings_.NormalBackColor,
      GetSysColor(selected ? (flat ? COLOR_MENUHILIGHT : COLOR_HIGHLIGHT) : COLOR_MENU));
  const COLORREF text =
      grayed ? GetSysColor(COLOR_GRAYTEXT)
             : PaintedColor(selected ? settings_.SelectedTextColor : settings_.NormalTextColor,
                           GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  const COLORREF iconBack =
      PaintedColor(selected ? settings_.SelectedIconBackColor : settings_.NormalIconBackColor, back);
  const TItemGeometry geometry = GeometryAt(settings_, DpiOf(dc));
  const int saved = SaveDC(dc);
  const COLORREF oldBack = SetBkColor(dc, back);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  RECT column{r.left, r.top, std::min<LONG>(r.left + geometry.Indent, r.right), r.bottom};
  SetBkColor(dc, iconBack);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &column, nullptr, 0, nullptr);
  DrawPicture(dc, *record, column, std::min<int>(geometry.Icon, geometry.Indent));
  RECT words{column.right + geometry.Padding, r.top, r.right, r.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT |
                      ((item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
  int drawn = 0;
  {
    // No font of ours: the text in whatever font the host's device context holds.
    TSelectObject font(dc, fonts_.Get(settings_, DpiOf(dc)));
    drawn = DrawTextA(dc, record->Caption.c_str(), static_cast<int>(record->Caption.size()), &words, format);
  }
  if (drawn == 0 && !record->Caption.empty()) {
    // The fallback: the caption as plain text in the system's colours.
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    TextOutA(dc, words.left, r.top + geometry.Padding, record->Caption.c_str(),
             static_cast<int>(record->Caption.size()));
  }
  SetBkColor(dc, oldBack);
  if (saved) RestoreDC(dc, saved);
  return true;
}

}  // namespace orvane
