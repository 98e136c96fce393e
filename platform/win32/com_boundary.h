#pragma once
// The error boundary of entry points that COM calls: no exception may reach the caller,
// which is another program (the file manager). Each entry runs its body through
// ComBoundary and returns the HRESULT it gives.

#include <windows.h>

#include <exception>
#include <new>

namespace orvane {

// Told of each exception the boundary stopped, with the result it returned and a short
// text; for a log. Failures of the hook itself are ignored.
using TComErrorHook = void (*)(HRESULT result, const char* what);

// Tells the hook while the exception (and its text) still exists.
inline HRESULT ComStopped(TComErrorHook hook, HRESULT result, const char* what) noexcept {
  if (hook) {
    try {
      hook(result, what);
    } catch (...) {
    }
  }
  return result;
}

// Runs `body` (returning an HRESULT) and turns any exception into a result: no memory
// gives E_OUTOFMEMORY, a known failure E_FAIL, anything else E_UNEXPECTED.
template <class Body>
HRESULT ComBoundary(Body&& body, TComErrorHook hook = nullptr) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return ComStopped(hook, E_OUTOFMEMORY, "out of memory");
  } catch (const std::exception& e) {
    return ComStopped(hook, E_FAIL, e.what());
  } catch (...) {
    return ComStopped(hook, E_UNEXPECTED, "unknown exception");
  }
}

}  // namespace orvane
