#pragma once
// The class name of an exception as messages show it ("EOSError: ...").

#include <exception>
#include <string>

namespace orvane {

std::string ExceptionClassName(const std::exception& error);

}  // namespace orvane
