#include "platform/win32/image_list.h"

namespace orvane {

TWin32ImageList::TWin32ImageList(int width, int height, bool masked, int allocBy)
    : handle_(ImageList_Create(width, height, ILC_COLOR32 | (masked ? ILC_MASK : 0), 0, allocBy)),
      width_(width),
      height_(height),
      masked_(masked),
      allocBy_(allocBy) {}

int TWin32ImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_.get()) : 0; }

void TWin32ImageList::Clear() {
  if (handle_) ImageList_Remove(handle_.get(), -1);
}

bool TWin32ImageList::Recreate32() {
  TImageListHandle fresh(
      ImageList_Create(width_, height_, ILC_COLOR32 | (masked_ ? ILC_MASK : 0), 0, allocBy_));
  if (fresh && handle_) {
    const int count = ImageList_GetImageCount(handle_.get());
    for (int i = 0; i < count; ++i) {
      TIconHandle icon(ImageList_GetIcon(handle_.get(), i, ILD_TRANSPARENT));
      if (icon) ImageList_AddIcon(fresh.get(), icon.get());
    }
  }
  handle_ = std::move(fresh);
  return handle_ != nullptr;
}

int TWin32ImageList::AddIcon(IconHandle icon) {
  if (!handle_) return -1;
  return ImageList_AddIcon(handle_.get(), reinterpret_cast<HICON>(icon));
}

int TWin32ImageList::AddBlank() {
  if (!handle_) return -1;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  // A new DIB section is all zeros: black.
  TBitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return -1;
  return ImageList_AddMasked(handle_.get(), bitmap.get(), RGB(0, 0, 0));
}

}  // namespace orvane
