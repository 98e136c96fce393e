#pragma once
// A document over an in-memory file whose bytes the test sets and reads back.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "memory_files.h"
#include "storage/orvane_ini_file.h"

namespace orvane::testing {

class IniDocumentTest : public ::testing::Test {
protected:
  // A document over a file holding exactly `text`.
  TOrvaneIniFile& Open(const std::string& text) {
    files_.Files["a.ini"] = text;
    ini_ = std::make_unique<TOrvaneIniFile>("a.ini", files_);
    return *ini_;
  }
  // The bytes written by the next flush.
  std::string Written() {
    ini_->UpdateFile();
    return files_.Files["a.ini"];
  }
  void TearDown() override {
    if (ini_) ini_->Clear();
  }

  TMemoryFiles files_;
  std::unique_ptr<TOrvaneIniFile> ini_;
};

}  // namespace orvane::testing
