#pragma once
// Icons of file types: icon locations ("file,index" or "%1"), how an icon is found for
// one type, and the image list of all types, in collection order.

#include <string>

#include "filetypes/adv_string_list.h"
#include "platform/exception.h"
#include "platform/icon_source.h"
#include "platform/image_list.h"

namespace orvane {

class TFileType;

class EIconError : public Exception {
public:
  using Exception::Exception;
};

struct TIconLocation {
  std::string File;  // as written, quotes included
  int Index = 0;     // negative: an icon resource identifier
};

// Splits at the last comma outside the quotes around the file; an index that is not
// a number reads as 0.
TIconLocation ParseIconLocation(const std::string& location);
// Removes one leading and one trailing double quote.
std::string Unquote(const std::string& text);
// Environment variables on NT; on 9x only a leading %SystemRoot% or %WinDir%.
std::string ExpandIconPath(const std::string& file, IIconSource& source);

// Icon of a location, sized for the list; a missing icon file becomes a registry bug of
// `type` in `bugs` when both are given.
bool IconFromLocation(const std::string& location, const TFileType* type, int height, int width,
                      TIcon& icon, bool small, TAdvStringList* bugs, IIconSource& source);
// The shell's icon for a document with `extension` ("%1" types).
bool IconFromDocument(const std::string& extension, TIcon& icon, int height, int width,
                      IIconSource& source);
bool LoadTypeIcon(const std::string& extension, const std::string& location, int height, int width,
                  const TFileType* type, TAdvStringList* bugs, bool small, TIcon& icon,
                  IIconSource& source);

// One icon of a file; the small one when asked or when there is no large one.
TIcon ExtractIconHandle(const std::string& file, int index, bool small, IIconSource& source);
// The same; raises "Error extracting icon from file" when there is no icon.
TIcon ExtractIconOrRaise(const std::string& file, int index, bool small, IIconSource& source);

// Gives the list a 32-bit colour handle; raises "Invalid ImageList" when it has none.
void MakeImageList32(IImageList& images);
bool AddBlankImage(IImageList& images);

}  // namespace orvane
