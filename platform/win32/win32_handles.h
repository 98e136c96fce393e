#pragma once
// Owning handle types for the system's resources: each frees its resource exactly once,
// also when an exception unwinds past it. Every Win32 resource the program holds is held
// in one of these.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

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

// Files from CreateFile, which reports failure as INVALID_HANDLE_VALUE rather than null.
class TFileHandle {
public:
  explicit TFileHandle(HANDLE handle) : handle_(handle) {}
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  ~TFileHandle() { Close(); }
  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now; false when the system reports a failure (a write may be lost).
  bool Close() {
    bool ok = true;
    if (Valid()) ok = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

private:
  HANDLE handle_;
};

// Libraries from LoadLibrary.
struct TModuleDeleter {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using TModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, TModuleDeleter>;

// Registry keys opened or created by the program (never the predefined root keys).
struct TRegKeyDeleter {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using TRegKeyHandle = std::unique_ptr<std::remove_pointer_t<HKEY>, TRegKeyDeleter>;

struct TImageListDeleter {
  void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
using TImageListHandle = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, TImageListDeleter>;

// A movable shared memory block, freed unless handed over (to the clipboard).
class TGlobalMemory {
public:
  explicit TGlobalMemory(SIZE_T size) : handle_(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size)) {}
  ~TGlobalMemory() {
    if (handle_) GlobalFree(handle_);
  }
  TGlobalMemory(const TGlobalMemory&) = delete;
  TGlobalMemory& operator=(const TGlobalMemory&) = delete;
  HGLOBAL Get() const { return handle_; }
  void Release() { handle_ = nullptr; }

private:
  HGLOBAL handle_;
};

// The locked address of a memory block, unlocked on every path.
class TGlobalLock {
public:
  explicit TGlobalLock(HGLOBAL handle) : handle_(handle), data_(GlobalLock(handle)) {}
  ~TGlobalLock() {
    if (data_) GlobalUnlock(handle_);
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  void* Data() const { return data_; }

private:
  HGLOBAL handle_;
  void* data_;
};

struct TMemoryDCDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using TMemoryDC = std::unique_ptr<std::remove_pointer_t<HDC>, TMemoryDCDeleter>;

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
