#pragma once
// Owning handle types for the system's resources: each frees its resource exactly once,
// also when an exception unwinds past it. Every Win32 resource the program holds is held
// in one of these.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <type_traits>
#include <utility>

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
using TPenHandle = std::unique_ptr<std::remove_pointer_t<HPEN>, TGdiObjectDeleter<HPEN>>;

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

// Searches from FindFirstFile, which reports failure as INVALID_HANDLE_VALUE.
class TFindHandle {
public:
  explicit TFindHandle(HANDLE handle) : handle_(handle) {}
  TFindHandle(const TFindHandle&) = delete;
  TFindHandle& operator=(const TFindHandle&) = delete;
  ~TFindHandle() {
    if (Valid()) FindClose(handle_);
  }
  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
  HANDLE handle_;
};

// Modules from LoadLibrary or LoadLibraryEx, also those loaded as data files.
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

// Menus not (or no longer) owned by another menu or a window.
struct TMenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using TMenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, TMenuDeleter>;

// Files dropped on a window: the drop's data, released with DragFinish.
struct TDropDeleter {
  void operator()(HDROP drop) const { DragFinish(drop); }
};
using TDropHandle = std::unique_ptr<std::remove_pointer_t<HDROP>, TDropDeleter>;

struct TMemoryDCDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using TMemoryDC = std::unique_ptr<std::remove_pointer_t<HDC>, TMemoryDCDeleter>;

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

// A counted COM interface pointer: one Release for each reference it holds.
template <class T>
class TComPtr {
public:
  TComPtr() = default;
  // Takes over a reference the caller owns (as an out parameter gives one).
  static TComPtr Attach(T* object) {
    TComPtr owner;
    owner.object_ = object;
    return owner;
  }
  TComPtr(const TComPtr& other) : object_(other.object_) {
    if (object_) object_->AddRef();
  }
  TComPtr(TComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  TComPtr& operator=(TComPtr other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~TComPtr() { Reset(); }

  T* Get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // For out parameters: releases what is held and gives the slot to fill.
  T** Put() {
    Reset();
    return &object_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  void Reset() {
    if (T* object = std::exchange(object_, nullptr)) object->Release();
  }
  // Hands the reference to the caller.
  T* Detach() { return std::exchange(object_, nullptr); }

private:
  T* object_ = nullptr;
};

}  // namespace orvane
