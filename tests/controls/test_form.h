#pragma once
// A plain window for the component tests.

#include "controls/form.h"

namespace orvane::testing {

class TTestForm : public TForm {
public:
  explicit TTestForm(TStyle style = {}) : TForm(nullptr, "frmTest", style) {}
  std::string ClassName() const override { return "TTestForm"; }
};

}  // namespace orvane::testing
