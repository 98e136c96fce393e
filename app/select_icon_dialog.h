#pragma once
// "Select Menu Item Icon": the pictures of an icon-bearing file (a program, a library,
// an icon file) in a grid, column by column, or a PNG file as its one picture. The user
// picks one; a picture that cannot be read shows the program's "DEFAULT" icon in its
// place and is listed in one message.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/draw_grid.h"
#include "controls/edit_controls.h"
#include "controls/form.h"
#include "controls/std_controls.h"
#include "platform/win32/win32_handles.h"

namespace orvane {

class IFileAccess;
class IIconSource;

// Where the dialog takes its pictures from: the system's in the program, fakes in tests.
struct TSelectIconSources {
  IIconSource& Icons;
  IFileAccess& Files;
  // The file shown when none is given: "shell32.dll" in the system folder.
  std::string DefaultFile;
};

class TfrmSelectIcon : public TForm {
public:
  // A picture is this large in its cell.
  static constexpr int kPictureSize = 32;
  static constexpr int kCellSize = 44;

  TfrmSelectIcon(TComponent* owner, const TSelectIconSources& sources);
  ~TfrmSelectIcon() override;
  std::string ClassName() const override { return "TfrmSelectIcon"; }

  TLabel& lblFileName;
  TEdit& edFileName;
  TButton& btnBrowse;
  TLabel& lblPictures;
  TDrawGrid& dgPictures;
  TLabel& lblIconIndexCaption;
  TLabel& lblIconIndex;
  TButton& btnOK;
  TButton& btnCancel;

  // The file in the edit; setting it (empty: the default file) loads its pictures.
  std::string FileName() const;
  void SetFileName(const std::string& value);
  // The chosen picture, or -1 for none.
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int value);

  // Fills the grid from FileName; false when the file has no pictures at all.
  bool LoadIcons();
  int PictureCount() const { return static_cast<int>(pictures_.size()); }
  // Numbers of the pictures that could not be read, as the message lists them ("2,5").
  const std::string& Failures() const { return failures_; }
  // Whether picture n is the placeholder.
  bool IsPlaceholder(int n) const;
  // The picture drawn for number n (the placeholder's own icon for a failed one).
  HICON Picture(int n) const;

  // The browse dialog of the file name field: the chosen file, or none on Cancel. Tests
  // replace it.
  std::function<std::optional<std::string>(const std::string& current)> BrowseFile;

  bool KeyDown(WORD key, TShortCut shift) override;

private:
  void FileNameChanged();
  void DrawCell(HDC dc, int col, int row, const RECT& rect, bool selected);
  bool CanSelect(int col, int row) const;
  void CellClicked();
  void ShowIconIndex();
  void MoveToPicture(int n);
  void Browse();

  TSelectIconSources sources_;
  int iconIndex_ = -1;
  bool moving_ = false;
  std::vector<TIconHandle> pictures_;
  std::vector<bool> placeholders_;
  std::string failures_;
};

// The open-file dialog of the field: "Select a File with Icons", with the filters of
// programs, libraries, icon and PNG files.
std::optional<std::string> BrowseIconFile(HWND owner, const std::string& current);

}  // namespace orvane
