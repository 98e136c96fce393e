#pragma once
// Failures of the storage layer: settings files that cannot be read or written, and
// line indices outside a document.

#include "platform/exception.h"

namespace orvane {

// A file could not be opened, read, created or written.
class EFileStreamError : public Exception {
public:
  using Exception::Exception;
};

// "Cannot open file ...": an existing file could not be read.
class EFOpenError : public EFileStreamError {
public:
  using EFileStreamError::EFileStreamError;
};

// "Cannot create file ...": a file could not be written.
class EFCreateError : public EFileStreamError {
public:
  using EFileStreamError::EFileStreamError;
};

// A write that would break a line of the file: names and values are single lines.
class EIniLineBreakError : public Exception {
public:
  using Exception::Exception;
};

// "List index out of bounds (%d)".
class EListError : public Exception {
public:
  using Exception::Exception;
};

}  // namespace orvane
