// The boundary of COM entry points and the COM pointer owner: no exception passes, each
// kind of failure gives its own result, and every reference taken is released once.

#include "platform/win32/com_boundary.h"

#include <gtest/gtest.h>
#include <unknwn.h>

#include <functional>
#include <string>

#include "platform/exception.h"
#include "platform/win32/win32_handles.h"

namespace orvane::testing {
namespace {

std::string lastWhat;
HRESULT lastResult = S_OK;
int hookCalls = 0;

void RecordHook(HRESULT result, const char* what) {
  ++hookCalls;
  lastResult = result;
  lastWhat = what;
}

void ThrowingHook(HRESULT, const char*) { throw 1; }

struct TBoundaryCase {
  const char* name;
  std::function<HRESULT()> body;
  HRESULT expected;
  const char* what;  // nullptr: the hook is not called
};

class ComBoundaryTest : public ::testing::TestWithParam<TBoundaryCase> {};

TEST_P(ComBoundaryTest, EachFailureGivesItsResult) {
  hookCalls = 0;
  EXPECT_EQ(ComBoundary(GetParam().body, RecordHook), GetParam().expected);
  if (GetParam().what) {
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(lastResult, GetParam().expected);
    EXPECT_EQ(lastWhat, GetParam().what);
  } else {
    EXPECT_EQ(hookCalls, 0);
  }
  // A hook that fails changes nothing.
  EXPECT_EQ(ComBoundary(GetParam().body, ThrowingHook), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ComBoundaryTest,
    ::testing::Values(
        TBoundaryCase{"Result", [] { return S_FALSE; }, S_FALSE, nullptr},
        TBoundaryCase{"NoMemory", []() -> HRESULT { throw std::bad_alloc(); }, E_OUTOFMEMORY,
                      "out of memory"},
        TBoundaryCase{"Known", []() -> HRESULT { throw Exception("menu file damaged"); }, E_FAIL,
                      "menu file damaged"},
        TBoundaryCase{"Unknown", []() -> HRESULT { throw 42; }, E_UNEXPECTED,
                      "unknown exception"}),
    [](const auto& info) { return std::string(info.param.name); });

class TCounted : public IUnknown {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
  ULONG STDMETHODCALLTYPE Release() override { return --count; }
  ULONG count = 1;
};

TEST(ComPtrTest, EveryReferenceIsReleasedOnce) {
  TCounted object;
  {
    auto owner = TComPtr<IUnknown>::Attach(&object);
    TComPtr<IUnknown> copy = owner;
    EXPECT_EQ(object.count, 2u);
    TComPtr<IUnknown> moved = std::move(copy);
    EXPECT_EQ(object.count, 2u);
    moved = owner;  // self-same object: count unchanged
    EXPECT_EQ(object.count, 2u);
    *moved.Put() = nullptr;  // Put releases what it held
    EXPECT_EQ(object.count, 1u);
  }
  EXPECT_EQ(object.count, 0u);
  object.count = 1;
  auto owner = TComPtr<IUnknown>::Attach(&object);
  IUnknown* handed = owner.Detach();
  EXPECT_EQ(handed, &object);
  EXPECT_FALSE(owner);
  EXPECT_EQ(object.count, 1u);
}

}  // namespace
}  // namespace orvane::testing
