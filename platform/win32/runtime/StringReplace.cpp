// The rare path of the narrow string's replace (std::string::_M_replace_cold, GCC 13 and later),
// instantiated by the program instead of taken from the library. The library declares it an
// external instantiation even in C++20, so a single assign or insert of a narrow string that might
// overlap itself refers to the library's copy, and the linker then takes the library's whole object
// of narrow-string instantiations with their unwind tables: about 30 KB of the 32-bit program.
// Defined here, the reference is met before the library is searched.
#include <string>

#if _GLIBCXX_RELEASE >= 13
template void std::string::_M_replace_cold(char*, std::string::size_type, const char*,
                                           const std::string::size_type, const std::string::size_type);
#endif
