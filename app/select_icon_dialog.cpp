#include "app/select_icon_dialog.h"

#include <algorithm>
#include <utility>

#include "app/icon_pictures.h"
#include "controls/file_dialog.h"
#include "menus/png_image.h"
#include "platform/icon_source.h"
#include "platform/messages.h"
#include "platform/win32/window_helpers.h"

namespace orvane {
namespace {

constexpr int kClientWidth = 404;
constexpr int kClientHeight = 318;
// Rows of the grid for files of 5 pictures or more; fewer fill one column.
constexpr int kRows = 4;

}  // namespace

std::optional<std::string> BrowseIconFile(HWND owner, const std::string& current) {
  return ShowFileDialog({owner, LoadResString(msg::SSelectIconFileTitle),
                         LoadResString(msg::SSelectIconFilter), current, "", false});
}

TfrmSelectIcon::TfrmSelectIcon(TComponent* owner, const TSelectIconSources& sources)
    : TForm(owner, "frmSelectIcon", TStyle{TBorderStyle::Dialog, false, false, false}),
      lblFileName(Create<TLabel>("lblFileName", this)),
      edFileName(Create<TEdit>("edFileName", this)),
      btnBrowse(Create<TButton>("btnBrowse", this)),
      lblPictures(Create<TLabel>("lblPictures", this)),
      dgPictures(Create<TDrawGrid>("dgPictures", this)),
      lblIconIndexCaption(Create<TLabel>("lblIconIndexCaption", this)),
      lblIconIndex(Create<TLabel>("lblIconIndex", this)),
      btnOK(Create<TButton>("btnOK", this)),
      btnCancel(Create<TButton>("btnCancel", this)),
      sources_(sources) {
  SetCaption(LoadResString(msg::SSelectIconTitle));
  SetClientSize(kClientWidth, kClientHeight);
  CenterOnScreen();
  SetKeyPreview(true);
  lblFileName.SetBounds(8, 8, 200, 16);
  lblFileName.SetCaption("&File name:");
  lblFileName.SetFocusControl(&edFileName);
  edFileName.SetBounds(8, 26, kClientWidth - 48, 22);
  edFileName.SetHint("|File name\r\nA program, a library, an icon file or a PNG image.");
  edFileName.OnChange = [this] { FileNameChanged(); };
  btnBrowse.SetBounds(kClientWidth - 36, 26, 28, 22);
  btnBrowse.SetCaption("...");
  btnBrowse.SetHint("Select a file with icons");
  btnBrowse.OnClick = [this] { Browse(); };
  lblPictures.SetBounds(8, 56, 200, 16);
  lblPictures.SetCaption("&Pictures:");
  lblPictures.SetFocusControl(&dgPictures);
  // Four rows of cells and the scroll bar below them.
  const int gridHeight = kRows * kCellSize + GetSystemMetrics(SM_CYHSCROLL) + 4;
  dgPictures.SetBounds(8, 74, kClientWidth - 16, gridHeight);
  dgPictures.SetCellSize(kCellSize, kCellSize);
  dgPictures.SetHint("|Pictures\r\nThe pictures of the file, column by column.");
  dgPictures.OnDrawCell = [this](HDC dc, int col, int row, const RECT& rect, bool selected) {
    DrawCell(dc, col, row, rect, selected);
  };
  dgPictures.OnSelectCell = [this](int col, int row) { return CanSelect(col, row); };
  dgPictures.OnCellClick = [this] { CellClicked(); };
  const int below = 74 + gridHeight + 10;
  lblIconIndexCaption.SetBounds(8, below + 4, 100, 16);
  lblIconIndexCaption.SetCaption("Picture number:");
  lblIconIndex.SetBounds(110, below + 4, 60, 16);
  btnOK.SetBounds(kClientWidth - 166, below, 75, 25);
  btnOK.SetCaption("OK");
  btnOK.OnClick = [this] {
    if (btnOK.Enabled()) SetModalResult(IDOK);
  };
  btnCancel.SetBounds(kClientWidth - 83, below, 75, 25);
  btnCancel.SetCaption("Cancel");
  btnCancel.OnClick = [this] { SetModalResult(IDCANCEL); };
  BrowseFile = [this](const std::string& current) { return BrowseIconFile(Handle(), current); };
  ApplyMessageFont(*this);
  btnOK.SetEnabled(false);
}

TfrmSelectIcon::~TfrmSelectIcon() = default;

std::string TfrmSelectIcon::FileName() const { return edFileName.Text(); }

void TfrmSelectIcon::SetFileName(const std::string& value) {
  const std::string name = value.empty() ? sources_.DefaultFile : value;
  if (name == edFileName.Text()) {
    FileNameChanged();
    return;
  }
  // The edit's change notification loads the pictures.
  edFileName.SetText(name);
}

void TfrmSelectIcon::SetIconIndex(int value) {
  iconIndex_ = value < 0 ? -1 : value;
  if (iconIndex_ >= 0) MoveToPicture(iconIndex_);
  ShowIconIndex();
}

bool TfrmSelectIcon::IsPlaceholder(int n) const {
  return n >= 0 && n < PictureCount() && placeholders_[static_cast<std::size_t>(n)];
}

HICON TfrmSelectIcon::Picture(int n) const {
  if (n < 0 || n >= PictureCount()) return nullptr;
  return pictures_[static_cast<std::size_t>(n)].get();
}

void TfrmSelectIcon::FileNameChanged() {
  if (edFileName.Text().empty()) {
    pictures_.clear();
    placeholders_.clear();
    dgPictures.SetSize(0, 0);
    iconIndex_ = -1;
    ShowIconIndex();
    btnOK.SetEnabled(false);
    return;
  }
  iconIndex_ = -1;
  btnOK.SetEnabled(LoadIcons());
}

bool TfrmSelectIcon::LoadIcons() {
  TBusyCursor busy;
  pictures_.clear();
  placeholders_.clear();
  failures_.clear();
  const std::string file = FileName();
  const bool png = IsPngFileName(file);
  int count = 1;
  if (!png) {
    TIcon large, small;
    try {
      count = sources_.Icons.ExtractIcons(file, -1, large, small);
    } catch (const Exception&) {
      count = 0;
    }
  }
  if (count < 1) {
    dgPictures.SetSize(0, 0);
    dgPictures.Invalidate();
    iconIndex_ = -1;
    ShowIconIndex();
    ShowMessageBox(LoadResString(msg::SNoIconsInFile), kAppTitle, MB_OK | MB_ICONWARNING);
    return false;
  }
  std::string pngReason;
  for (int n = 0; n < count; ++n) {
    TIconHandle picture;
    if (png) {
      try {
        picture = IconFromPngFile(file, kPictureSize, sources_.Files);
      } catch (const Exception& failure) {
        pngReason = failure.Message();
      }
    } else {
      TIcon large, small;
      try {
        if (sources_.Icons.ExtractIcons(file, n, large, small) >= 1 && large)
          picture.reset(CopyIcon(reinterpret_cast<HICON>(large.Get())));
      } catch (const Exception&) {
      }
    }
    const bool failed = !picture;
    if (failed) {
      picture = PlaceholderIcon(kPictureSize);
      failures_ += (failures_.empty() ? "" : ",") + std::to_string(n);
    }
    pictures_.push_back(std::move(picture));
    placeholders_.push_back(failed);
  }
  if (count < 5)
    dgPictures.SetSize(1, count);
  else
    dgPictures.SetSize((count + kRows - 1) / kRows, kRows);
  // The picture shown highlighted is the one chosen: the first when none was.
  SetIconIndex(iconIndex_ < 0 || iconIndex_ >= count ? 0 : iconIndex_);
  dgPictures.Invalidate();
  if (!failures_.empty()) {
    std::string text = FormatRes(msg::SErrorLoadingIcons, {failures_, file});
    if (!pngReason.empty()) text += "\r\n" + pngReason;
    ShowMessageBox(text, kAppTitle, MB_OK | MB_ICONWARNING);
  }
  return true;
}

void TfrmSelectIcon::MoveToPicture(int n) {
  const int rows = std::max(1, dgPictures.RowCount());
  moving_ = true;
  dgPictures.SetCurrent(n / rows, n % rows);
  moving_ = false;
}

void TfrmSelectIcon::ShowIconIndex() {
  lblIconIndex.SetCaption(iconIndex_ < 0 ? std::string() : std::to_string(iconIndex_));
}

bool TfrmSelectIcon::CanSelect(int col, int row) const {
  return row + col * dgPictures.RowCount() < PictureCount();
}

void TfrmSelectIcon::CellClicked() {
  if (moving_) return;
  iconIndex_ = dgPictures.Row() + dgPictures.Col() * dgPictures.RowCount();
  ShowIconIndex();
}

void TfrmSelectIcon::DrawCell(HDC dc, int col, int row, const RECT& rect, bool selected) {
  const int n = row + col * dgPictures.RowCount();
  if (selected && n < PictureCount()) {
    FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
    if (dgPictures.Focused()) DrawFocusRect(dc, &rect);
  }
  HICON picture = Picture(n);
  if (!picture) return;
  const int left = rect.left + (rect.right - rect.left - kPictureSize) / 2;
  const int top = rect.top + (rect.bottom - rect.top - kPictureSize) / 2;
  DrawIconEx(dc, left, top, picture, kPictureSize, kPictureSize, 0, nullptr, DI_NORMAL);
}

void TfrmSelectIcon::Browse() {
  if (!BrowseFile) return;
  if (std::optional<std::string> chosen = BrowseFile(FileName())) SetFileName(*chosen);
}

bool TfrmSelectIcon::KeyDown(WORD key, TShortCut shift) {
  if (shift != 0) return false;
  if (key == VK_ESCAPE) {
    SetModalResult(IDCANCEL);
    return true;
  }
  // Enter in the file name field is the field's: it does not close the dialog.
  if (key == VK_RETURN && !edFileName.Focused() && btnOK.Enabled()) {
    SetModalResult(IDOK);
    return true;
  }
  return false;
}

}  // namespace orvane
