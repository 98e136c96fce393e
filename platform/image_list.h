#pragma once
// An image list of icons of one size, as the model fills it: the Win32 list wraps a
// comctl32 image list; tests use a fake.

#include "platform/icon_source.h"

namespace orvane {

class IImageList {
public:
  virtual ~IImageList() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Masked() const = 0;
  virtual int AllocBy() const = 0;
  virtual int Count() const = 0;
  virtual void Clear() = 0;
  // Room for `count` images at once while the list is empty; the handle may change.
  virtual void Reserve(int count) = 0;
  // Makes the list a 32-bit colour list (masked when the list is) holding its images;
  // false when there is no handle afterwards.
  virtual bool Recreate32() = 0;
  // The index of the added image, or -1.
  virtual int AddIcon(IconHandle icon) = 0;
  // A fully transparent image: a black bitmap added with black as the mask colour.
  virtual int AddBlank() = 0;
  // Image `index` added again; its index, or -1. Thousands of types share a few icons.
  virtual int AddCopy(int index) = 0;
};

}  // namespace orvane
