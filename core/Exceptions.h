#pragma once
// The wizard's exceptions. Unexpected failures are thrown where they happen and caught only
// by the window dispatch, which hands them to the failure handler, or by a step of a run that
// is meant to be guarded. The messages are the ones the failure report and the error page show.

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Ends the current operation quietly: the failure handler neither reports nor shows it.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};

// A file operation failed with an operating-system error code ("I/O error 112" for a full disk).
class EInOutError : public Exception {
 public:
  explicit EInOutError(int errorCode)
      : Exception("I/O error " + std::to_string(errorCode)), ErrorCode(errorCode) {}
  int ErrorCode;
};

// A file could not be created; the message names the file and gives the system's reason.
// ErrorCode is the system's code where it is known, 0 otherwise.
class EFCreateError : public Exception {
 public:
  EFCreateError(const std::string& path, const std::string& systemText, int errorCode = 0)
      : Exception("Cannot create file \"" + path + "\". " + systemText), ErrorCode(errorCode) {}
  int ErrorCode;
};

class EOutOfMemory : public Exception {
 public:
  EOutOfMemory() : Exception("Out of memory") {}
};
