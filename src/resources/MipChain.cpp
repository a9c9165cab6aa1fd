#include "resources/MipChain.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace WorkSpace {
namespace {

constexpr int kChannels = 3;

// Along one side, source texel j spans [j * to, (j + 1) * to) and target
// texel i spans [i * from, (i + 1) * from): whole numbers, so every weight is
// exact. Returns how much of target texel i source texel j covers.
int64_t Overlap(int32_t i, int32_t j, int32_t from, int32_t to) {
    const int64_t start = std::max(int64_t(i) * from, int64_t(j) * to);
    const int64_t end = std::min(int64_t(i + 1) * from, int64_t(j + 1) * to);
    return std::max<int64_t>(0, end - start);
}

// Makes the `width` x `height` level `target` from the `fromWidth` x
// `fromHeight` level `source`, both packed.
void Reduce(const uint8_t* source, int32_t fromWidth, int32_t fromHeight, uint8_t* target,
            int32_t width, int32_t height, std::vector<uint64_t>& sums) {
    const uint64_t total = uint64_t(fromWidth) * uint64_t(fromHeight);
    const size_t rowValues = size_t(width) * kChannels;
    for (int32_t y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.begin() + ptrdiff_t(rowValues), 0);
        const int32_t firstRow = int32_t(int64_t(y) * fromHeight / height);
        const int32_t lastRow = int32_t((int64_t(y + 1) * fromHeight - 1) / height);
        for (int32_t row = firstRow; row <= lastRow; ++row) {
            const uint64_t down = uint64_t(Overlap(y, row, fromHeight, height));
            const uint8_t* line = source + size_t(row) * size_t(fromWidth) * kChannels;
            for (int32_t x = 0; x < width; ++x) {
                const int32_t first = int32_t(int64_t(x) * fromWidth / width);
                const int32_t last = int32_t((int64_t(x + 1) * fromWidth - 1) / width);
                for (int32_t column = first; column <= last; ++column) {
                    const uint64_t weight = down * uint64_t(Overlap(x, column, fromWidth, width));
                    const uint8_t* texel = line + size_t(column) * kChannels;
                    for (int c = 0; c < kChannels; ++c) sums[size_t(x) * kChannels + c] += texel[c] * weight;
                }
            }
        }
        uint8_t* out = target + size_t(y) * rowValues;
        for (size_t i = 0; i < rowValues; ++i) out[i] = uint8_t((sums[i] + total / 2) / total);
    }
}

}  // namespace

bool MipChain::Build(const uint8_t* rows, ptrdiff_t stride, int32_t width, int32_t height) {
    Clear();
    if (width < 1 || height < 1 || !rows) return false;
    try {
        size_t bytes = 0;
        for (int32_t w = width, h = height;; w = std::max(1, w / 2), h = std::max(1, h / 2)) {
            levels_.push_back({w, h, bytes});
            bytes += size_t(w) * size_t(h) * kChannels;
            if (w == 1 && h == 1) break;
        }
        bytes_.resize(bytes);
        std::vector<uint64_t> sums(size_t(std::max(1, width / 2)) * kChannels);
        const size_t rowBytes = size_t(width) * kChannels;
        for (int32_t y = 0; y < height; ++y) {
            std::memcpy(bytes_.data() + size_t(y) * rowBytes, rows + ptrdiff_t(y) * stride, rowBytes);
        }
        for (size_t i = 1; i < levels_.size(); ++i) {
            const MipLevel& from = levels_[i - 1];
            const MipLevel& to = levels_[i];
            Reduce(bytes_.data() + from.offset, from.width, from.height, bytes_.data() + to.offset,
                   to.width, to.height, sums);
        }
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
    return true;
}

void MipChain::Clear() {
    std::vector<uint8_t>().swap(bytes_);
    std::vector<MipLevel>().swap(levels_);
}

}  // namespace WorkSpace
