#include "resources/TextureFold.h"

#include <algorithm>
#include <utility>

#include "resources/PictureHeader.h"

namespace WorkSpace {

// Weights are whole numbers. Shrinking, a pixel is `texels` units long and a
// texel `pixels` units, and a weight is the length they share. Stretching, a
// texel's sample point lies between two pixels, and the two weights are its
// distances to them in units of 1/texels of a pixel. So a texel's weights add
// up to at most max(width, kMaxFoldSide) x max(height, kMaxFoldSide), at most
// 2^40, which keeps every sum of weight x alpha x colour below 2^56.
uint64_t TextureFold::PlanSide(int32_t pixels, int32_t texels, std::vector<Span>& spans,
                               uint64_t& inner) {
    spans.assign(size_t(texels), Span());
    if (texels <= pixels) {
        inner = uint64_t(texels);
        for (int32_t i = 0; i < texels; ++i) {
            const int64_t start = int64_t(i) * pixels, end = start + pixels;
            Span& span = spans[size_t(i)];
            span.first = int32_t(start / texels);
            span.last = int32_t((end - 1) / texels);
            if (span.first == span.last) {
                span.firstWeight = uint64_t(pixels);
            } else {
                span.firstWeight = uint64_t((int64_t(span.first) + 1) * texels - start);
                span.lastWeight = uint64_t(end - int64_t(span.last) * texels);
            }
        }
        return uint64_t(pixels);
    }
    inner = 0;
    for (int32_t i = 0; i < texels; ++i) {
        // The texel's sample point, in units of 1/texels of a pixel.
        const int64_t point = int64_t(i) * pixels;
        Span& span = spans[size_t(i)];
        span.first = span.last = int32_t(point / texels);
        const int64_t beyond = point % texels;
        if (beyond == 0 || span.first + 1 >= pixels) {
            span.firstWeight = uint64_t(texels);
        } else {
            span.last = span.first + 1;
            span.firstWeight = uint64_t(texels - beyond);
            span.lastWeight = uint64_t(beyond);
        }
    }
    return uint64_t(texels);
}

namespace {

// Most rows summed per column before the sums are folded across: 65535 rows
// of premultiplied values (at most 255 x 255) stay below 2^32.
constexpr uint32_t kMaxRowsInColumns = 65535;

}  // namespace

bool TextureFold::Start(int32_t width, int32_t height, int32_t textureWidth,
                        int32_t textureHeight, bool opaque, uint8_t* texels, ptrdiff_t stride) {
    started_ = false;
    if (width < 1 || height < 1 || width > kMaxFoldWidth ||
        uint64_t(width) * uint64_t(height) > kMaxPicturePixels || textureWidth < 1 ||
        textureHeight < 1 || textureWidth > kMaxFoldSide || textureHeight > kMaxFoldSide ||
        !texels || stride < ptrdiff_t(textureWidth) * 4) {
        return false;
    }
    width_ = width;
    height_ = height;
    textureWidth_ = textureWidth;
    textureHeight_ = textureHeight;
    lanes_ = opaque ? 3 : 4;
    texels_ = texels;
    stride_ = stride;
    row_ = 0;
    nextTexelRow_ = 0;
    total_ = PlanSide(width, textureWidth, across_, innerAcross_) *
             PlanSide(height, textureHeight, down_, innerDown_);
    columns_.assign(textureHeight <= height ? size_t(width) * size_t(lanes_) : 0, 0);
    rowsInColumns_ = 0;
    rowSums_.assign(size_t(textureWidth) * 4, 0);
    previousSums_.assign(size_t(textureWidth) * 4, 0);
    texelSums_.assign(size_t(textureWidth) * 4, 0);
    started_ = true;
    return true;
}

// Sums each texel column's pixels by their weights: `kLanes` values a pixel,
// the first three multiplied by the fourth (alpha) when `kPremultiply`.
template <int kLanes, bool kPremultiply, typename Value>
void TextureFold::FoldAcross(const Value* values, std::vector<uint64_t>& sums) const {
    auto lane = [values](int32_t x, int l) -> uint64_t {
        const Value* pixel = values + size_t(x) * kLanes;
        return kPremultiply && l < 3 ? uint64_t(pixel[l]) * pixel[3] : uint64_t(pixel[l]);
    };
    for (size_t i = 0; i < across_.size(); ++i) {
        const Span& span = across_[i];
        uint64_t* out = &sums[i * 4];
        for (int l = 0; l < kLanes; ++l) out[l] = span.firstWeight * lane(span.first, l);
        if (span.last == span.first) continue;
        uint64_t between[kLanes] = {};
        for (int32_t x = span.first + 1; x < span.last; ++x) {
            for (int l = 0; l < kLanes; ++l) between[l] += lane(x, l);
        }
        for (int l = 0; l < kLanes; ++l) {
            out[l] += between[l] * innerAcross_ + span.lastWeight * lane(span.last, l);
        }
    }
}

void TextureFold::FoldRowAcross(const uint8_t* row, std::vector<uint64_t>& sums) const {
    if (lanes_ == 3) FoldAcross<3, false>(row, sums);
    else FoldAcross<4, true>(row, sums);
}

void TextureFold::AddToColumns(const uint8_t* row) {
    uint32_t* column = columns_.data();
    if (lanes_ == 3) {
        for (size_t k = 0; k < columns_.size(); ++k) column[k] += row[k];
    } else {
        for (size_t k = 0; k < columns_.size(); k += 4) {
            const uint32_t alpha = row[k + 3];
            column[k] += row[k] * alpha;
            column[k + 1] += row[k + 1] * alpha;
            column[k + 2] += row[k + 2] * alpha;
            column[k + 3] += alpha;
        }
    }
    if (++rowsInColumns_ == kMaxRowsInColumns) FlushColumns();
}

void TextureFold::FlushColumns() {
    if (rowsInColumns_ == 0) return;
    // previousSums_ serves only stretching down, so it is free here.
    if (lanes_ == 3) FoldAcross<3, false>(columns_.data(), previousSums_);
    else FoldAcross<4, false>(columns_.data(), previousSums_);
    for (size_t k = 0; k < texelSums_.size(); ++k) texelSums_[k] += innerDown_ * previousSums_[k];
    std::fill(columns_.begin(), columns_.end(), 0);
    rowsInColumns_ = 0;
}

// Each texel row gathers its rows' sums and is written with its last row. A
// row wholly inside it joins the column sums; a row cut by its edge is folded
// across at once, by its share.
void TextureFold::ShrinkDown(const uint8_t* row) {
    bool folded = false;  // rowSums_ holds this row folded across
    for (; nextTexelRow_ < textureHeight_; ++nextTexelRow_) {
        const Span& span = down_[size_t(nextTexelRow_)];
        if (span.first > row_) return;
        const uint64_t weight = row_ == span.first ? span.firstWeight
                                : row_ == span.last ? span.lastWeight
                                                    : innerDown_;
        if (weight == innerDown_) {
            AddToColumns(row);
        } else {
            if (!folded) FoldRowAcross(row, rowSums_);
            folded = true;
            for (size_t k = 0; k < texelSums_.size(); ++k) texelSums_[k] += weight * rowSums_[k];
        }
        if (span.last != row_) return;
        FlushColumns();
        WriteTexelRow(nextTexelRow_);
        std::fill(texelSums_.begin(), texelSums_.end(), 0);
    }
}

// Each texel row lies between this row and the one before (or on one), so
// it is made and written when its later row comes.
void TextureFold::StretchDown(const uint8_t* row) {
    FoldRowAcross(row, rowSums_);
    for (; nextTexelRow_ < textureHeight_; ++nextTexelRow_) {
        const Span& span = down_[size_t(nextTexelRow_)];
        if (span.last > row_) break;
        for (size_t k = 0; k < texelSums_.size(); ++k) {
            texelSums_[k] = span.last == span.first
                                ? span.firstWeight * rowSums_[k]
                                : span.firstWeight * previousSums_[k] + span.lastWeight * rowSums_[k];
        }
        WriteTexelRow(nextTexelRow_);
    }
    std::swap(rowSums_, previousSums_);
}

bool TextureFold::AddRow(const uint8_t* row) {
    if (!started_ || row_ >= height_ || !row) return false;
    if (textureHeight_ > height_) StretchDown(row);
    else ShrinkDown(row);
    ++row_;
    return true;
}

void TextureFold::WriteTexelRow(int32_t textureRow) {
    const bool opaque = lanes_ == 3;
    uint8_t* out = texels_ + ptrdiff_t(textureRow) * stride_;
    for (size_t i = 0; i < across_.size(); ++i, out += 4) {
        const uint64_t* sums = &texelSums_[i * 4];  // red, green, blue, alpha
        // Opaque sums are plain colour sums, whose weights add up to the total.
        const uint64_t alphaSum = opaque ? total_ : sums[3];
        const uint64_t alpha = opaque ? 255 : (alphaSum + total_ / 2) / total_;
        if (alpha == 0) {
            out[0] = out[1] = out[2] = out[3] = 0;
            continue;
        }
        for (int c = 0; c < 3; ++c) out[2 - c] = uint8_t((sums[c] + alphaSum / 2) / alphaSum);
        out[3] = uint8_t(alpha);
    }
}

}  // namespace WorkSpace
