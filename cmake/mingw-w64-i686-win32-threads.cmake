# The shipped program's compilers: i686 mingw-w64 with GCC's win32 thread model. The posix model
# links winpthread (about 30 KB of the program) only because the exception unwinder calls
# pthread_once; the program starts no thread of its own. GoogleTest and the tests need std::thread
# and std::mutex, which GCC 12 has only in the posix model: the test presets keep
# mingw-w64-i686.cmake.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
