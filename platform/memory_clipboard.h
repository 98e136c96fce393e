#pragma once
// A clipboard held in memory: the default clipboard of builds without a system one, and
// the clipboard of tests, with a switch that keeps it from opening.

#include <map>
#include <string>

#include "platform/clipboard.h"

namespace orvane {

class TMemoryClipboard : public IClipboard {
public:
  ClipboardFormat RegisterFormat(const std::string& name) override;
  void Open() override;
  void Close() override { open_ = false; }
  void Empty() override;
  void SetData(ClipboardFormat format, std::string_view data) override;
  bool HasFormat(ClipboardFormat format) override { return data_.count(format) != 0; }
  std::optional<std::string> GetData(ClipboardFormat format) override;

  bool IsOpen() const { return open_; }
  // Makes Open fail, as when another program holds the clipboard.
  bool Locked = false;

private:
  void CheckOpen() const;

  std::map<std::string, ClipboardFormat> formats_;
  std::map<ClipboardFormat, std::string> data_;
  bool open_ = false;
};

}  // namespace orvane
