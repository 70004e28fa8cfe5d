#pragma once
// Shared by every test program, the native and Windows tests and the fuzz targets alike: header
// only, so that none of them needs the simulated platform to use it.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "core/Date.h"
#include "core/Error.h"
#include "window/FormDescription.h"

namespace timrose {

// The number of the error a call raises, 0 when it raises none. Anything other than a
// RaisedError escapes, so that the test or the fuzz run fails on it.
template <typename F>
int RaisedNumber(F&& call) {
  try {
    call();
  } catch (const RaisedError& e) {
    return e.Number();
  }
  return 0;
}

// "yyyy-mm-dd hh:nn:ss", for expectations and failure messages.
inline std::string ToIsoText(const Date& date) {
  const DateParts p = date.Parts();
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                p.minute, p.second);
  return buffer;
}

// "txtTime(1)", "btnSet": the name the tests speak of a control by.
inline std::string ControlName(ControlId id) {
  const ControlDesc& desc = Describe(id);
  std::string name(desc.name);
  if (desc.index >= 0) name += "(" + std::to_string(desc.index) + ")";
  return name;
}

inline std::optional<ControlId> ControlByName(std::string_view name) {
  for (const ControlDesc& desc : kControls) {
    if (ControlName(desc.id) == name) return desc.id;
  }
  return std::nullopt;
}

}  // namespace timrose
