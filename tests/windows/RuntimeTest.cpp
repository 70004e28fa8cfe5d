// The program's own definitions of C++ runtime defaults (platform/win32/runtime/), linked into this
// test program as into Timrose.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <string>
#include <thread>

#include "core/Error.h"

namespace timrose {
namespace {

void RaisePathAccessError() {
  RaiseError(kErrPathFileAccess);
}

// An exception that nothing catches ends the process with the C runtime's abort code and nothing
// written: the library's own handler would name the exception on stderr first.
TEST(RuntimeDeathTest, AnUncaughtExceptionEndsTheProcessQuietly) {
  EXPECT_EXIT([]() noexcept { RaisePathAccessError(); }(), ::testing::ExitedWithCode(3), "^$");
}

// The library's logic errors reach the program as a std::exception with the library's message.
TEST(Runtime, TheLibrarysErrorsKeepTheirMessages) {
  const struct {
    void (*raise)();
    std::string message;
  } cases[] = {
      {[] { (void)Text(u"ab").substr(3); },
       "basic_string::substr: __pos (which is 3) > this->size() (which is 2)"},
      {[] { (void)Text(u"ab").at(SIZE_MAX); },
       "basic_string::at: __n (which is " + std::to_string(SIZE_MAX) + ") >= this->size() (which is 2)"},
      {[] { Text().reserve(Text().max_size() + 1); }, "basic_string::_M_create"},
  };
  for (const auto& c : cases) {
    try {
      c.raise();
      ADD_FAILURE() << "nothing raised for " << c.message;
    } catch (const std::exception& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
}

std::atomic<int> makings{0};

// The first making fails; each is slow enough for a second thread to arrive while it runs.
int SlowStatic() {
  static const int made = [] {
    const int making = ++makings;
    Sleep(100);
    if (making == 1) throw making;
    return making;
  }();
  return made;
}

// A function-local static is made once, by one thread while another waits for it, and made again
// after a making that threw.
TEST(Runtime, AStaticIsMadeOnceAfterAFailedMaking) {
  EXPECT_THROW(SlowStatic(), int);
  int seen[2] = {};
  std::thread first([&] { seen[0] = SlowStatic(); });
  std::thread second([&] { seen[1] = SlowStatic(); });
  first.join();
  second.join();
  EXPECT_EQ(seen[0], 2);
  EXPECT_EQ(seen[1], 2);
  EXPECT_EQ(SlowStatic(), 2);
  EXPECT_EQ(makings, 2);
}

}  // namespace
}  // namespace timrose
