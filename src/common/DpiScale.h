#pragma once
// Lengths laid out for a 100 % display, shown at the DPI of the monitor that
// shows them.
#include <cstdint>

namespace WorkSpace {

inline constexpr uint32_t kDefaultDpi = 96;     // dots per inch of a 100 % display
inline constexpr uint32_t kPointsPerInch = 72;  // for font sizes given in points

// Returns `length`, measured at `from` dots per inch (96: pixels of a 100 %
// display; 72: points), in pixels at `dpi`, rounded to the nearest pixel with
// halves away from zero, as the platform's MulDiv rounds. `from` 0 gives
// `length` unchanged.
int32_t ScaleForDpi(int32_t length, uint32_t dpi, uint32_t from = kDefaultDpi);

}  // namespace WorkSpace
