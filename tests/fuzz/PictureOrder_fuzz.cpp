// The order record lies in the user's folder, where anything may have been
// left: no bytes may make the reader read out of bounds, and whatever it
// takes is a record it would have written itself, byte for byte.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "collection/PictureOrder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WorkSpace::OrderRecord record;
    if (!WorkSpace::ParseOrderRecord(data, size, record)) return 0;
    const std::vector<uint8_t> again = WorkSpace::ComposeOrderRecord(record);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) __builtin_trap();
    return 0;
}
