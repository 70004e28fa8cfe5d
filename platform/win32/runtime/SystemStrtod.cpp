// The number reader behind Val, taken from the system's C runtime (msvcrt.dll) instead of the
// compiler's. mingw-w64 sends every C++ call of strtod to its own C99 reader (__mingw_strtod, about
// 20 KB with its big-number helpers), which also reads hexadecimal, "inf" and "nan". Val hands
// strtod only decimal digits and an exponent, which both read, with errno set to ERANGE on
// overflow and underflow; the C locale, which the program never changes, keeps "." as the decimal
// point.
extern "C" {

// The runtime's own, declared here without <stdlib.h>, which would redirect it.
double __cdecl strtod(const char* text, char** end);

double __cdecl __mingw_strtod(const char* text, char** end) {
  return strtod(text, end);
}

}  // extern "C"
