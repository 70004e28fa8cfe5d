// std::terminate's default handler, defined by the program instead of the C++ library.
// The library's own writes "terminate called after throwing an instance of" and the exception's
// demangled type and what() to stderr, then aborts. A GUI program has no stderr to write to, and
// the demangler that needs takes 46 KB of the 32-bit program. This one only aborts, so an
// exception that nothing catches ends the process as before (the C runtime's exit code 3).
#include <cstdlib>
#include <exception>

void __gnu_cxx::__verbose_terminate_handler() {
  std::abort();
}
