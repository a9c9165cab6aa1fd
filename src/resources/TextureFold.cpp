#include "resources/TextureFold.h"

#include <algorithm>
#include <utility>

#include "resources/PictureHeader.h"

namespace WorkSpace {

// Weights are whole numbers. Shrinking, a pixel is `texels` units long and a
// texel `pixels` units, and a weight is the length they share. Stretching, a
// texel's sample point lies between two pixels, and the two weights are its
// distances to them in units of 1/texels of a pixel. So a texel's weights add
// up to at most max(width, kMaxFoldSide) x max(height, kMaxFoldSide), which
// keeps every sum of weight x alpha x colour below 2^57.
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

bool TextureFold::Start(int32_t width, int32_t height, int32_t textureWidth,
                        int32_t textureHeight, bool opaque, uint8_t* texels, ptrdiff_t stride) {
    started_ = false;
    if (width < 1 || height < 1 || uint64_t(width) * uint64_t(height) > kMaxPicturePixels ||
        textureWidth < 1 || textureHeight < 1 || textureWidth > kMaxFoldSide ||
        textureHeight > kMaxFoldSide || !texels || stride < ptrdiff_t(textureWidth) * 4) {
        return false;
    }
    width_ = width;
    height_ = height;
    textureWidth_ = textureWidth;
    textureHeight_ = textureHeight;
    opaque_ = opaque;
    texels_ = texels;
    stride_ = stride;
    row_ = 0;
    nextTexelRow_ = 0;
    total_ = PlanSide(width, textureWidth, across_, innerAcross_) *
             PlanSide(height, textureHeight, down_, innerDown_);
    rowSums_.assign(size_t(textureWidth) * 4, 0);
    previousSums_.assign(size_t(textureWidth) * 4, 0);
    texelSums_.assign(size_t(textureWidth) * 4, 0);
    started_ = true;
    return true;
}

template <bool kOpaque>
void TextureFold::FoldAcross(const uint8_t* rgba) {
    for (size_t i = 0; i < across_.size(); ++i) {
        const Span& span = across_[i];
        uint64_t sums[4] = {};  // blue, green, red, alpha
        auto add = [&sums](const uint8_t* pixel, uint64_t weight) {
            const uint64_t alpha = kOpaque ? 1 : pixel[3];
            sums[0] += weight * alpha * pixel[2];
            sums[1] += weight * alpha * pixel[1];
            sums[2] += weight * alpha * pixel[0];
            if (!kOpaque) sums[3] += weight * alpha;
        };
        add(rgba + size_t(span.first) * 4, span.firstWeight);
        if (span.last != span.first) {
            uint64_t between[4] = {};
            for (int32_t x = span.first + 1; x < span.last; ++x) {
                const uint8_t* pixel = rgba + size_t(x) * 4;
                const uint32_t alpha = kOpaque ? 1 : pixel[3];
                between[0] += alpha * pixel[2];
                between[1] += alpha * pixel[1];
                between[2] += alpha * pixel[0];
                if (!kOpaque) between[3] += alpha;
            }
            for (int c = 0; c < 4; ++c) sums[c] += between[c] * innerAcross_;
            add(rgba + size_t(span.last) * 4, span.lastWeight);
        }
        std::copy(sums, sums + 4, rowSums_.begin() + ptrdiff_t(i) * 4);
    }
}

// Each texel row gathers its rows' sums and is written with its last row.
void TextureFold::ShrinkDown() {
    for (; nextTexelRow_ < textureHeight_; ++nextTexelRow_) {
        const Span& span = down_[size_t(nextTexelRow_)];
        if (span.first > row_) return;
        const uint64_t weight = row_ == span.first ? span.firstWeight
                                : row_ == span.last ? span.lastWeight
                                                    : innerDown_;
        for (size_t k = 0; k < texelSums_.size(); ++k) texelSums_[k] += weight * rowSums_[k];
        if (span.last != row_) return;
        WriteTexelRow(nextTexelRow_);
        std::fill(texelSums_.begin(), texelSums_.end(), 0);
    }
}

// Each texel row lies between this row and the one before (or on one), so
// it is made and written when its later row comes.
void TextureFold::StretchDown() {
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

bool TextureFold::AddRow(const uint8_t* rgba) {
    if (!started_ || row_ >= height_ || !rgba) return false;
    if (opaque_) FoldAcross<true>(rgba);
    else FoldAcross<false>(rgba);
    if (textureHeight_ > height_) StretchDown();
    else ShrinkDown();
    ++row_;
    return true;
}

void TextureFold::WriteTexelRow(int32_t textureRow) {
    uint8_t* out = texels_ + ptrdiff_t(textureRow) * stride_;
    for (size_t i = 0; i < across_.size(); ++i, out += 4) {
        const uint64_t* sums = &texelSums_[i * 4];
        // Opaque sums are plain colour sums, whose weights add up to the total.
        const uint64_t alphaSum = opaque_ ? total_ : sums[3];
        const uint64_t alpha = opaque_ ? 255 : (alphaSum + total_ / 2) / total_;
        if (alpha == 0) {
            out[0] = out[1] = out[2] = out[3] = 0;
            continue;
        }
        for (int c = 0; c < 3; ++c) out[c] = uint8_t((sums[c] + alphaSum / 2) / alphaSum);
        out[3] = uint8_t(alpha);
    }
}

}  // namespace WorkSpace
