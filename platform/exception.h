#pragma once
// Every failure the program raises derives from Exception and carries its finished,
// user-facing message.

#include <exception>
#include <string>
#include <utility>

namespace orvane {

class Exception : public std::exception {
public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

private:
  std::string message_;
};

// A value of the registry could not be read or written as asked.
class ERegistryException : public Exception {
public:
  using Exception::Exception;
};

// An operating system call failed; the message holds the system's reason.
class EOSError : public Exception {
public:
  EOSError(std::string message, unsigned long errorCode)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  unsigned long ErrorCode() const noexcept { return errorCode_; }

private:
  unsigned long errorCode_;
};

}  // namespace orvane
