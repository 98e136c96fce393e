#pragma once
// Owning handle types for the window system's resources: each frees its resource
// exactly once, also when an exception unwinds past it.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace orvane {

struct TWindowDeleter {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using TWindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, TWindowDeleter>;

// Fonts, brushes, bitmaps, pens.
template <class H>
struct TGdiObjectDeleter {
  void operator()(H object) const { DeleteObject(object); }
};
using TFontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, TGdiObjectDeleter<HFONT>>;
using TBrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, TGdiObjectDeleter<HBRUSH>>;
using TBitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, TGdiObjectDeleter<HBITMAP>>;

struct TIconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using TIconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, TIconDeleter>;

// Kernel objects: mutexes, processes, threads.
struct TKernelDeleter {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using TKernelHandle = std::unique_ptr<void, TKernelDeleter>;

struct TMemoryDCDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using TMemoryDC = std::unique_ptr<std::remove_pointer_t<HDC>, TMemoryDCDeleter>;

// Modules from LoadLibrary or LoadLibraryEx, also those loaded as data files.
struct TModuleDeleter {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using TModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, TModuleDeleter>;

// Activation contexts from CreateActCtx.
struct TActCtxDeleter {
  void operator()(HANDLE context) const { ReleaseActCtx(context); }
};
using TActCtxHandle = std::unique_ptr<void, TActCtxDeleter>;

// Selects an object into a device context for the scope and puts the old one back.
class TSelectObject {
public:
  TSelectObject(HDC dc, HGDIOBJ object)
      : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~TSelectObject() {
    if (old_) SelectObject(dc_, old_);
  }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window's device context from GetDC, released at the end of the scope.
class TWindowDC {
public:
  explicit TWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~TWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return dc_; }

private:
  HWND window_;
  HDC dc_;
};

}  // namespace orvane
