#pragma once
// A comctl32 image list behind the model's image list interface, owning its handle.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <unordered_map>

#include "platform/image_list.h"
#include "platform/win32/win32_handles.h"

namespace orvane {

class TWin32ImageList : public IImageList {
public:
  explicit TWin32ImageList(int width = 16, int height = 16, bool masked = true, int allocBy = 1);

  HIMAGELIST Handle() const { return handle_.get(); }

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  bool Masked() const override { return masked_; }
  int AllocBy() const override { return allocBy_; }
  int Count() const override;
  void Clear() override;
  void Reserve(int count) override;
  bool Recreate32() override;
  int AddIcon(IconHandle icon) override;
  int AddBlank() override;
  int AddCopy(int index) override;

private:
  struct TBitmaps {
    TBitmapHandle Color;
    TBitmapHandle Mask;
  };
  // Adds the icon's two bitmaps when they have the list's size; -1 when they do not.
  int AddBitmapsOf(HICON icon, TBitmaps* keep);

  TImageListHandle handle_;
  int width_;
  int height_;
  bool masked_;
  int allocBy_;
  // The bitmaps of the images copied so far, by index: a copy is then one add.
  std::unordered_map<int, TBitmaps> copies_;
};

}  // namespace orvane
