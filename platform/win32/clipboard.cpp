#include <windows.h>

#include <cstring>

#include "platform/clipboard.h"
#include "platform/messages.h"

namespace orvane {
namespace {

// A movable shared memory block, freed unless handed to the clipboard.
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

// A message-only window: the clipboard's owner while the program's data is on it (a
// clipboard emptied without an owner refuses new data).
class TOwnerWindow {
public:
  TOwnerWindow()
      : window_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr)) {}
  ~TOwnerWindow() {
    if (window_) DestroyWindow(window_);
  }
  TOwnerWindow(const TOwnerWindow&) = delete;
  TOwnerWindow& operator=(const TOwnerWindow&) = delete;
  HWND Get() const { return window_; }

private:
  HWND window_;
};

class TWin32Clipboard : public IClipboard {
public:
  ClipboardFormat RegisterFormat(const std::string& name) override {
    return RegisterClipboardFormatA(name.c_str());
  }

  void Open() override {
    if (!OpenClipboard(owner_.Get()))
      throw EClipboardError(LoadResString(msg::SCannotOpenClipboard));
  }

  void Close() override { CloseClipboard(); }

  void Empty() override { EmptyClipboard(); }

  void SetData(ClipboardFormat format, std::string_view data) override {
    TGlobalMemory block(data.size() ? data.size() : 1);
    if (!block.Get()) throw EClipboardError(LoadResString(msg::SClipboardSetFailed));
    {
      TGlobalLock lock(block.Get());
      if (!lock.Data()) throw EClipboardError(LoadResString(msg::SClipboardSetFailed));
      if (!data.empty()) std::memcpy(lock.Data(), data.data(), data.size());
    }
    if (!SetClipboardData(format, block.Get()))
      throw EClipboardError(LoadResString(msg::SClipboardSetFailed));
    block.Release();  // the clipboard owns it now
  }

  bool HasFormat(ClipboardFormat format) override {
    return IsClipboardFormatAvailable(format) != FALSE;
  }

  std::optional<std::string> GetData(ClipboardFormat format) override {
    HANDLE handle = GetClipboardData(format);
    if (!handle) return std::nullopt;
    TGlobalLock lock(handle);
    if (!lock.Data()) return std::nullopt;
    // Another program's block: never read past its size.
    return std::string(static_cast<const char*>(lock.Data()), GlobalSize(handle));
  }

private:
  TOwnerWindow owner_;
};

}  // namespace

IClipboard& DefaultClipboard() {
  static TWin32Clipboard clipboard;
  return clipboard;
}

}  // namespace orvane
