#include "platform/win32/system_error.h"

#include <windows.h>

#include "platform/messages.h"

namespace orvane {

std::string SystemErrorMessage(std::uint32_t code) {
  char* text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length && text ? std::string(text, length) : std::string();
  if (text) LocalFree(text);
  while (!message.empty() &&
         (static_cast<unsigned char>(message.back()) <= ' ' || message.back() == '.')) {
    message.pop_back();
  }
  if (message.empty()) {
    message = FormatRes(msg::SUnknownSystemError, {static_cast<long long>(code)});
  }
  return message;
}

}  // namespace orvane
