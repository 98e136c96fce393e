#pragma once
// The system clipboard as the menu model uses it: registered formats, and whole data
// blocks set and read between one opening and the closing. The Win32 clipboard in the
// Windows build; one process-wide in-memory clipboard elsewhere.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/exception.h"

namespace orvane {

using ClipboardFormat = std::uint32_t;
inline constexpr ClipboardFormat kCfText = 1;

// "Cannot open clipboard", and failures to hand data over.
class EClipboardError : public Exception {
public:
  using Exception::Exception;
};

class IClipboard {
public:
  virtual ~IClipboard() = default;

  // The same number for the same name for as long as the system runs.
  virtual ClipboardFormat RegisterFormat(const std::string& name) = 0;
  // Raises EClipboardError when the clipboard cannot be opened.
  virtual void Open() = 0;
  virtual void Close() = 0;
  // Only while open: drops every format and takes ownership.
  virtual void Empty() = 0;
  // Only while open. Raises EClipboardError when the data cannot be handed over.
  virtual void SetData(ClipboardFormat format, std::string_view data) = 0;
  // Needs no opening.
  virtual bool HasFormat(ClipboardFormat format) = 0;
  // Only while open: the whole block of `format`, or nothing.
  virtual std::optional<std::string> GetData(ClipboardFormat format) = 0;
};

// Reached through the services (platform/services.h).
IClipboard& DefaultClipboard();

// Keeps the clipboard open for a scope.
class TClipboardOpen {
public:
  explicit TClipboardOpen(IClipboard& clipboard) : clipboard_(clipboard) { clipboard_.Open(); }
  ~TClipboardOpen() { clipboard_.Close(); }
  TClipboardOpen(const TClipboardOpen&) = delete;
  TClipboardOpen& operator=(const TClipboardOpen&) = delete;

private:
  IClipboard& clipboard_;
};

}  // namespace orvane
