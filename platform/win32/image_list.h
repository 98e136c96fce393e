#pragma once
// A comctl32 image list behind the model's image list interface, owning its handle.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

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

private:
  TImageListHandle handle_;
  int width_;
  int height_;
  bool masked_;
  int allocBy_;
};

}  // namespace orvane
