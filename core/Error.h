#pragma once
#include <exception>
#include <string>

#include "core/Text.h"

namespace timrose {

// Every error number the program raises or shows. Each has its description in the one table of
// Error.cpp.
enum ErrorNumber : int {
  kErrInvalidCall = 5,
  kErrOverflow = 6,
  kErrOutOfMemory = 7,
  kErrSubscriptOutOfRange = 9,
  kErrTypeMismatch = 13,
  kErrInternal = 51,
  kErrBadFileName = 52,
  kErrFileNotFound = 53,
  kErrDiskFull = 61,
  kErrPermissionDenied = 70,
  kErrDiskNotReady = 71,
  kErrPathFileAccess = 75,
  kErrNoSuchFormat = 461,
  kErrDialogBufferTooSmall = 20476,
  kErrDialogInvalidFileName = 20477,
  kErrDialogCancel = 32755,
  kErrDialogInitialization = 32765,
};

// A raised error: a number and the description a Chinese Windows shows for it.
class RaisedError : public std::exception {
 public:
  RaisedError(int number, Text description);
  int Number() const noexcept { return number_; }
  const Text& Description() const noexcept { return description_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int number_;
  Text description_;
  std::string what_;
};

// The description of an error number from the one table of descriptions.
Text ErrorDescription(int number);

[[noreturn]] void RaiseError(int number);

// The error number a failed file-system call stands for, from the system's error code
// (2 file not found and 3 path not found -> 53, 32 sharing violation -> 70, 123 invalid name,
// 161 bad path name and 206 name too long -> 52, ...).
int ErrorNumberFromSystemCode(unsigned long code);

[[noreturn]] void RaiseSystemError(unsigned long code);

}  // namespace timrose
