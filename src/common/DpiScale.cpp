#include "common/DpiScale.h"

namespace WorkSpace {

int32_t ScaleForDpi(int32_t length, uint32_t dpi, uint32_t from) {
    if (from == 0) return length;
    const int64_t scaled = int64_t(length) * int64_t(dpi);
    const int64_t half = int64_t(from) / 2;
    const int64_t rounded = (scaled >= 0 ? scaled + half : scaled - half) / int64_t(from);
    return int32_t(rounded);
}

}  // namespace WorkSpace
