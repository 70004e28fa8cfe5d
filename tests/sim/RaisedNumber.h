#pragma once
#include "core/Error.h"

namespace timrose::sim {

// The number of the error a call raises, 0 when it raises none.
int RaisedNumber(auto&& call) {
  try {
    call();
  } catch (const RaisedError& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace timrose::sim
