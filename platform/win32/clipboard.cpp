#include <windows.h>

#include <cstring>

#include "platform/clipboard.h"
#include "platform/messages.h"
#include "platform/win32/win32_handles.h"

namespace orvane {
namespace {

// A message-only window: the clipboard's owner while the program's data is on it (a
// clipboard emptied without an owner refuses new data).
TWindowHandle MakeOwnerWindow() {
  return TWindowHandle(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       GetModuleHandleA(nullptr), nullptr));
}

class TWin32Clipboard : public IClipboard {
public:
  ClipboardFormat RegisterFormat(const std::string& name) override {
    return RegisterClipboardFormatA(name.c_str());
  }

  void Open() override {
    if (!OpenClipboard(owner_.get()))
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
  TWindowHandle owner_ = MakeOwnerWindow();
};

}  // namespace

IClipboard& DefaultClipboard() {
  static TWin32Clipboard clipboard;
  return clipboard;
}

}  // namespace orvane
