#pragma once
// A test's change of a process-wide setting that undoes itself at the end of the scope,
// also when the test fails half-way.

#include <utility>

namespace orvane::testing {

template <class T>
class TScopedValue {
public:
  TScopedValue(T& target, T value)
      : target_(target), saved_(std::exchange(target, std::move(value))) {}
  ~TScopedValue() { target_ = std::move(saved_); }
  TScopedValue(const TScopedValue&) = delete;
  TScopedValue& operator=(const TScopedValue&) = delete;

private:
  T& target_;
  T saved_;
};

}  // namespace orvane::testing
