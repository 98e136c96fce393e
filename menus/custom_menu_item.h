#pragma once
// The common menu item of both menus: a command (program and parameters), a caption
// with an access key and an active flag.

#include <string>

#include "menus/categorized_collection.h"

namespace orvane {

class IFileSystem;
class TFileType;
class TCustomFileTypeCategory;
class TCustomMenu;

// Raises EMenuError for a text that would not stay on its line of the menu file; the
// editors show the message.
void CheckSingleLine(const std::string& text);

class TCustomMenuItem : public TNodeItem {
public:
  explicit TCustomMenuItem(TTreeItemsClass childListClass);

  const std::string& Application() const { return application_; }
  const std::string& Parameters() const { return parameters_; }
  const std::string& Caption() const { return caption_; }
  bool Checked() const { return checked_; }
  int Number() const { return number_; }

  // The texts refuse line breaks (CheckSingleLine).
  void SetApplication(const std::string& value);
  void SetParameters(const std::string& value);
  void SetCaption(const std::string& value);
  virtual void SetChecked(bool value);
  void SetNumber(int value) { number_ = value; }

  // Marks the item and its whole subtree.
  void SetModified(bool value) override;
  // From another menu item: the command, caption, active flag and expansion (not the
  // children); from any other node: its children.
  void Assign(const TTreeItem& source) override;

  // The nearest category above the item, through any submenus.
  TCustomFileTypeCategory* Category() const;
  TFileType* ItemFileType() const;
  // Moves the item to the end of the category of `fileType`, made when needed.
  void SetFileType(TFileType* fileType);
  TCustomMenu* Menu() const;

  // True when the program cannot be found: environment references are expanded, then
  // the file is searched in its own folder and the search path, or else tested as is.
  bool IsApplicationMissing(IFileSystem& fileSystem) const;
  // The folder the program is in, as the search above finds it, without a trailing
  // separator (a drive's root keeps it); empty without an application.
  std::string ApplicationFolder(IFileSystem& fileSystem) const;

private:
  void SetText(std::string& field, const std::string& value);

  std::string application_;
  std::string parameters_;
  std::string caption_;
  bool checked_ = true;
  int number_ = 0;
};

}  // namespace orvane
