// The program's own definitions of C++ runtime defaults (platform/win32/runtime/), linked into this
// test program as into Timrose.exe.
#include <gtest/gtest.h>

#include "core/Error.h"

namespace timrose {
namespace {

void RaiseDeviceError() {
  RaiseError(kErrDeviceIo);
}

// An exception that nothing catches ends the process with the C runtime's abort code and nothing
// written: the library's own handler would name the exception on stderr first.
TEST(RuntimeDeathTest, AnUncaughtExceptionEndsTheProcessQuietly) {
  EXPECT_EXIT([]() noexcept { RaiseDeviceError(); }(), ::testing::ExitedWithCode(3), "^$");
}

}  // namespace
}  // namespace timrose
