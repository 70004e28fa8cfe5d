// The guards of function-local statics (__cxa_guard_acquire, _release and _abort), defined by the
// program instead of the library. From GCC 13 on, the library's guards (win32 thread model) wait on
// its own condition-variable layer, which comes along with them: about 3.4 KB of the 32-bit
// program. These wait on Windows' slim lock and condition variable directly. A static whose first
// use comes from two threads at once is still made once: the second waits until the first has made
// it, or has given up with an exception, and then makes it itself.
// Every function of the library's object is here, so the linker never takes it.
// The library's declarations: each definition below names one, so one that matches none fails to
// compile.
#include <cxxabi.h>
#include <windows.h>

namespace {

SRWLOCK lock = SRWLOCK_INIT;
CONDITION_VARIABLE settled = CONDITION_VARIABLE_INIT;

// The guard's first byte belongs to the compiler's own test, made without the lock: non-zero once
// the static is made. The second is set while one thread makes it.
char* Made(__cxxabiv1::__guard* guard) {
  return reinterpret_cast<char*>(guard);
}
char* Making(__cxxabiv1::__guard* guard) {
  return reinterpret_cast<char*>(guard) + 1;
}

}  // namespace

int __cxxabiv1::__cxa_guard_acquire(__guard* guard) {
  if (__atomic_load_n(Made(guard), __ATOMIC_ACQUIRE) != 0) return 0;
  AcquireSRWLockExclusive(&lock);
  while (*Making(guard) != 0) SleepConditionVariableSRW(&settled, &lock, INFINITE, 0);
  const bool mine = *Made(guard) == 0;
  if (mine) *Making(guard) = 1;
  ReleaseSRWLockExclusive(&lock);
  return mine ? 1 : 0;
}

void __cxxabiv1::__cxa_guard_release(__guard* guard) noexcept {
  AcquireSRWLockExclusive(&lock);
  __atomic_store_n(Made(guard), 1, __ATOMIC_RELEASE);
  *Making(guard) = 0;
  ReleaseSRWLockExclusive(&lock);
  WakeAllConditionVariable(&settled);
}

void __cxxabiv1::__cxa_guard_abort(__guard* guard) noexcept {
  AcquireSRWLockExclusive(&lock);
  *Making(guard) = 0;
  ReleaseSRWLockExclusive(&lock);
  WakeAllConditionVariable(&settled);
}
