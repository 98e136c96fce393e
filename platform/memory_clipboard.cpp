#include "platform/memory_clipboard.h"

#include "platform/ansi_case.h"
#include "platform/messages.h"

namespace orvane {

ClipboardFormat TMemoryClipboard::RegisterFormat(const std::string& name) {
  // Registered formats take numbers from 0xC000 on, names compared without case.
  std::string key = AnsiUpperCase(name);
  auto it = formats_.find(key);
  if (it != formats_.end()) return it->second;
  ClipboardFormat format = 0xC000 + static_cast<ClipboardFormat>(formats_.size());
  formats_[key] = format;
  return format;
}

void TMemoryClipboard::Open() {
  if (Locked || open_) throw EClipboardError(LoadResString(msg::SCannotOpenClipboard));
  open_ = true;
}

void TMemoryClipboard::CheckOpen() const {
  if (!open_) throw EClipboardError(LoadResString(msg::SCannotOpenClipboard));
}

void TMemoryClipboard::Empty() {
  CheckOpen();
  data_.clear();
}

void TMemoryClipboard::SetData(ClipboardFormat format, std::string_view data) {
  CheckOpen();
  data_[format] = std::string(data);
}

std::optional<std::string> TMemoryClipboard::GetData(ClipboardFormat format) {
  CheckOpen();
  auto it = data_.find(format);
  if (it == data_.end()) return std::nullopt;
  return it->second;
}

}  // namespace orvane
