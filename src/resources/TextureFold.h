#pragma once
// A picture's rows folded into its texture as they are decoded, so that no
// full-size copy of the picture is ever made. Each side is resized on its
// own. Where the texture is smaller, each texel is the mean of the picture
// area it covers (a box filter over exact areas: a pixel cut by a texel edge
// counts by its share inside), so every pixel counts, however large the
// reduction. Where the texture is larger, each texel is interpolated
// linearly between the two pixels around the point where a redraw by GDI+
// samples it (texel i at pixel i x pixels / texels), the last pixel held
// beyond. Colours are averaged weighted by alpha, so transparent pixels lend
// no colour to their neighbours, and a texel whose alpha rounds to 0 is
// transparent black: what a redraw over transparent black gives. Portable.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace WorkSpace {

// Largest texture side a fold makes, texels.
constexpr int32_t kMaxFoldSide = 4096;

// Widest picture a fold takes, pixels: it keeps a sum for every column.
constexpr int32_t kMaxFoldWidth = 1 << 20;

class TextureFold {
public:
    // Returns true when the fold is ready for the rows of a picture of `width`
    // x `height` pixels, to be folded into `textureWidth` x `textureHeight`
    // texels at `texels`, rows `stride` bytes apart, each texel blue, green,
    // red, alpha (32-bit ARGB words in memory order). `opaque`: the rows hold
    // red, green, blue, 8 bits each, and every texel comes out with alpha
    // 255; otherwise red, green, blue, alpha. False, and nothing folds, for a
    // side below 1, a picture wider than kMaxFoldWidth or of more than
    // kMaxPicturePixels, or a texture side above kMaxFoldSide.
    bool Start(int32_t width, int32_t height, int32_t textureWidth, int32_t textureHeight,
               bool opaque, uint8_t* texels, ptrdiff_t stride);

    // Folds the next row, top row first, of `width` pixels as Start says. Each
    // texel row is written as soon as the last row it needs has come. Returns
    // false, folding nothing, once all rows have come or when the fold did
    // not start.
    bool AddRow(const uint8_t* row);

    // Returns true once every row has come and every texel is written.
    bool Done() const { return started_ && row_ == height_; }

private:
    // The pixels that make one texel along a side: `first` to `last`, the
    // first and last weighing `firstWeight` and `lastWeight`, those between
    // the side's inner weight each.
    struct Span {
        int32_t first = 0, last = 0;
        uint64_t firstWeight = 0, lastWeight = 0;
    };
    // Plans `texels` spans over `pixels` pixels; returns the weights' sum of
    // each texel along the side, and `inner` the weight of a whole pixel.
    static uint64_t PlanSide(int32_t pixels, int32_t texels, std::vector<Span>& spans,
                             uint64_t& inner);

    template <int kLanes, bool kPremultiply, typename Value>
    void FoldAcross(const Value* values, std::vector<uint64_t>& sums) const;
    void FoldRowAcross(const uint8_t* row, std::vector<uint64_t>& sums) const;
    void AddToColumns(const uint8_t* row);
    void FlushColumns();
    void ShrinkDown(const uint8_t* row);
    void StretchDown(const uint8_t* row);
    void WriteTexelRow(int32_t textureRow);

    bool started_ = false;
    int lanes_ = 4;  // values a pixel: red, green, blue, and alpha unless opaque
    int32_t width_ = 0, height_ = 0, textureWidth_ = 0, textureHeight_ = 0;
    int32_t row_ = 0;           // rows folded so far
    int32_t nextTexelRow_ = 0;  // the first texel row not yet written
    uint8_t* texels_ = nullptr;
    ptrdiff_t stride_ = 0;
    std::vector<Span> across_;  // per texel column
    std::vector<Span> down_;    // per texel row
    uint64_t innerAcross_ = 0, innerDown_ = 0;
    uint64_t total_ = 0;  // of all weights that make one texel
    // Shrinking down, the rows that lie wholly in the texel row being made are
    // summed per picture column (colours premultiplied by alpha) and folded
    // across once, when the texel row is done or the sums could overflow.
    std::vector<uint32_t> columns_;
    uint32_t rowsInColumns_ = 0;
    // Per texel column, red, green, blue, alpha: a row folded across, the
    // previous one (stretching down), and the sums of the texel row being made.
    std::vector<uint64_t> rowSums_, previousSums_, texelSums_;
};

}  // namespace WorkSpace
