// The C++ library's throw helpers (std::__throw_length_error and its kin, which its strings,
// containers and allocators call), defined by the program instead of the library.
// The library keeps them all in one object, whose logic and runtime errors hold their message in a
// reference-counted string: linking it brings that string, the narrow string and their unwind
// tables along, about 80 KB of the 32-bit program. The program catches allocation failures by type
// (std::bad_alloc becomes error 7) and the library's other errors only as std::exception (error 51, a fault
// of the program). So the allocation failures and the other typed errors keep their types, and the logic and
// runtime errors become one std::exception type with the library's message.
// Every helper of that object is here, so the linker never takes it (it would report the helpers
// defined twice if it did).
// The library's declarations: each definition below names one, so one that matches none fails to
// compile.
#include <bits/functexcept.h>

#include <cstdarg>
#include <cstddef>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

// A logic or runtime error of the library, with its message (cut to the buffer).
class LibraryError final : public std::exception {
 public:
  const char* what() const noexcept override { return text_; }

  // The library's messages use "%s", "%zu" and "%%" only.
  void Format(const char* format, va_list arguments) noexcept {
    size_t length = 0;
    auto put = [&](char c) {
      if (length + 1 < sizeof text_) text_[length++] = c;
    };
    for (const char* f = format; *f; ++f) {
      if (f[0] == '%' && f[1] == 's') {
        for (const char* s = va_arg(arguments, const char*); *s; ++s) put(*s);
        f += 1;
      } else if (f[0] == '%' && f[1] == 'z' && f[2] == 'u') {
        char digits[24];
        int count = 0;
        size_t n = va_arg(arguments, size_t);
        do {
          digits[count++] = static_cast<char>('0' + n % 10);
          n /= 10;
        } while (n != 0);
        while (count > 0) put(digits[--count]);
        f += 2;
      } else if (f[0] == '%' && f[1] == '%') {
        put('%');
        f += 1;
      } else {
        put(*f);
      }
    }
    text_[length] = '\0';
  }

 private:
  char text_[256] = {};
};

}  // namespace

void std::__throw_bad_exception() {
  throw std::bad_exception();
}
void std::__throw_bad_alloc() {
  throw std::bad_alloc();
}
void std::__throw_bad_array_new_length() {
  throw std::bad_array_new_length();
}
void std::__throw_bad_cast() {
  throw std::bad_cast();
}
void std::__throw_bad_typeid() {
  throw std::bad_typeid();
}

// A plain message is formatted as "%s", so every logic and runtime error is made in one place.
void std::__throw_logic_error(const char* message) {
  std::__throw_out_of_range_fmt("%s", message);
}
void std::__throw_domain_error(const char* message) {
  std::__throw_out_of_range_fmt("%s", message);
}
void std::__throw_invalid_argument(const char* message) {
  std::__throw_out_of_range_fmt("%s", message);
}
void std::__throw_length_error(const char* message) {
  std::__throw_out_of_range_fmt("%s", message);
}
void std::__throw_out_of_range(const char* message) {
  std::__throw_out_of_range_fmt("%s", message);
}
void std::__throw_runtime_error(const char* message) {
  std::__throw_out_of_range_fmt("%s", message);
}
void std::__throw_range_error(const char* message) {
  std::__throw_out_of_range_fmt("%s", message);
}
void std::__throw_overflow_error(const char* message) {
  std::__throw_out_of_range_fmt("%s", message);
}
void std::__throw_underflow_error(const char* message) {
  std::__throw_out_of_range_fmt("%s", message);
}

void std::__throw_out_of_range_fmt(const char* format, ...) {
  LibraryError error;
  va_list arguments;
  va_start(arguments, format);
  error.Format(format, arguments);
  va_end(arguments);
  throw error;
}
