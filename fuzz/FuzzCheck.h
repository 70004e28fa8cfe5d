#pragma once
// Shared by the fuzz targets: a property that does not hold ends the run the way a crash does, so
// that libFuzzer keeps the input and the script fails.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/Text.h"

namespace timrose::fuzz {

[[noreturn]] inline void PropertyFailed(const std::string& what) {
  std::fprintf(stderr, "PROPERTY FAILED: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

inline void Check(bool holds, const std::string& what) {
  if (!holds) PropertyFailed(what);
}

inline std::string Quoted(TextView text) {
  return "\"" + ToUtf8(text) + "\"";
}

}  // namespace timrose::fuzz
