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
  copies_.clear();
  if (handle_) ImageList_Remove(handle_.get(), -1);
}

void TWin32ImageList::Reserve(int count) {
  // A list grows by AllocBy images at a time, copying all it holds each time: thousands
  // of icons added one by one cost seconds.
  if (Count() > 0 || count <= 0) return;
  copies_.clear();
  TImageListHandle fresh(ImageList_Create(width_, height_, ILC_COLOR32 | (masked_ ? ILC_MASK : 0),
                                          count, allocBy_));
  if (fresh) handle_ = std::move(fresh);
}

bool TWin32ImageList::Recreate32() {
  // Every list made here is a 32-bit colour list from the start: its images stay as they
  // are. Copying them one by one took seconds once there were thousands of file types.
  if (!handle_)
    handle_.reset(
        ImageList_Create(width_, height_, ILC_COLOR32 | (masked_ ? ILC_MASK : 0), 0, allocBy_));
  return handle_ != nullptr;
}

int TWin32ImageList::AddBitmapsOf(HICON icon, TBitmaps* keep) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return -1;
  TBitmaps bitmaps{TBitmapHandle(info.hbmColor), TBitmapHandle(info.hbmMask)};
  BITMAP bm{};
  if (!bitmaps.Color || !GetObjectA(bitmaps.Color.get(), sizeof bm, &bm) || bm.bmWidth != width_ ||
      bm.bmHeight != height_)
    return -1;
  const int at = ImageList_Add(handle_.get(), bitmaps.Color.get(), bitmaps.Mask.get());
  if (at >= 0 && keep) *keep = std::move(bitmaps);
  return at;
}

int TWin32ImageList::AddIcon(IconHandle icon) {
  if (!handle_) return -1;
  // A colour icon of the list's size goes in as its two bitmaps: the same image, at a
  // third of the cost of ImageList_AddIcon under Wine, which counts with thousands of
  // file types. Other sizes are scaled by ImageList_AddIcon (a wider bitmap would be
  // taken as several images).
  const int at = AddBitmapsOf(reinterpret_cast<HICON>(icon), nullptr);
  return at >= 0 ? at : ImageList_AddIcon(handle_.get(), reinterpret_cast<HICON>(icon));
}

int TWin32ImageList::AddCopy(int index) {
  if (!handle_ || index < 0 || index >= Count()) return -1;
  // Taking an icon's bitmaps is most of an add's cost under Wine: once per image.
  if (auto kept = copies_.find(index); kept != copies_.end())
    return ImageList_Add(handle_.get(), kept->second.Color.get(), kept->second.Mask.get());
  TIconHandle icon(ImageList_GetIcon(handle_.get(), index, ILD_NORMAL));
  if (!icon) return -1;
  TBitmaps bitmaps;
  const int at = AddBitmapsOf(icon.get(), &bitmaps);
  if (at >= 0) copies_.emplace(index, std::move(bitmaps));
  return at >= 0 ? at : ImageList_AddIcon(handle_.get(), icon.get());
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
