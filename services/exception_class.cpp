#include "services/exception_class.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <typeinfo>

namespace orvane {

std::string ExceptionClassName(const std::exception& error) {
  // The system's own name for running out of memory, whatever the runtime calls it.
  if (dynamic_cast<const std::bad_alloc*>(&error)) return "EOutOfMemory";
  const char* mangled = typeid(error).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> plain(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  std::string name = status == 0 && plain ? plain.get() : mangled;
  // Without the namespace: "orvane::EOSError" reads "EOSError".
  if (std::size_t colon = name.rfind("::"); colon != std::string::npos) name.erase(0, colon + 2);
  return name;
}

}  // namespace orvane
