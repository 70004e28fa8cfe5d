#pragma once
// The window's band among other windows: the one call of the window system that the handlers make
// themselves, for the topmost toggle.
#include <cstdint>

namespace timrose {

// Insert-after values and flags of SetWindowPos.
constexpr intptr_t kHwndTopmost = -1;
constexpr intptr_t kHwndNoTopmost = -2;
constexpr uint32_t kSwpNoSize = 1;
constexpr uint32_t kSwpNoMove = 2;

class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;
  virtual bool SetWindowPos(intptr_t window, intptr_t insertAfter, int x, int y, int cx, int cy,
                            uint32_t flags) = 0;
};

}  // namespace timrose
