#pragma once
// Writes PNG files in memory for the decoder's tests: every colour type and
// bit depth, a palette, a tRNS chunk, and Adam7 interlacing. Each scanline is
// stored unfiltered; zlib compresses the whole.
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace WorkSpace::Testing {

struct PngForm {
    int width = 1, height = 1;
    int colourType = 6;  // 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
    int bitDepth = 8;    // 1, 2, 4, 8 or 16, as the colour type allows
    bool interlaced = false;
    std::vector<uint8_t> palette;  // RGB triples (colour type 3)
    std::vector<uint8_t> tRNS;     // the tRNS chunk's body; empty: none
};

// The sample of `channel` at (x, y), 0 to 2^bitDepth - 1 (a palette index for type 3).
using PngSamples = std::function<uint32_t(int x, int y, int channel)>;

inline int PngChannels(int colourType) {
    switch (colourType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

inline void PutPngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    const uint32_t length = uint32_t(body.size());
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(length >> shift));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    const uLong crc = crc32(0, out.data() + start, uInt(out.size() - start));
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(crc >> shift));
}

// The unfiltered scanlines of the columns x0, x0 + dx, ... of the rows y0, y0 + dy, ...
inline void AppendPngScanlines(std::vector<uint8_t>& raw, const PngForm& form,
                               const PngSamples& samples, int x0, int y0, int dx, int dy) {
    const int channels = PngChannels(form.colourType);
    for (int y = y0; y < form.height; y += dy) {
        if (x0 >= form.width) return;  // an empty pass has no scanlines at all
        raw.push_back(0);  // filter type None
        uint32_t bits = 0;
        int bitCount = 0;
        for (int x = x0; x < form.width; x += dx) {
            for (int c = 0; c < channels; ++c) {
                const uint32_t value = samples(x, y, c);
                if (form.bitDepth == 16) {
                    raw.push_back(uint8_t(value >> 8));
                    raw.push_back(uint8_t(value));
                } else {
                    bits = bits << form.bitDepth | (value & ((1u << form.bitDepth) - 1));
                    bitCount += form.bitDepth;
                    if (bitCount == 8) {
                        raw.push_back(uint8_t(bits));
                        bits = 0;
                        bitCount = 0;
                    }
                }
            }
        }
        if (bitCount > 0) raw.push_back(uint8_t(bits << (8 - bitCount)));
    }
}

inline std::vector<uint8_t> EncodePng(const PngForm& form, const PngSamples& samples) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    for (uint32_t side : {uint32_t(form.width), uint32_t(form.height)}) {
        for (int shift = 24; shift >= 0; shift -= 8) header.push_back(uint8_t(side >> shift));
    }
    header.insert(header.end(), {uint8_t(form.bitDepth), uint8_t(form.colourType), 0, 0,
                                 uint8_t(form.interlaced ? 1 : 0)});
    PutPngChunk(out, "IHDR", header);
    if (!form.palette.empty()) PutPngChunk(out, "PLTE", form.palette);
    if (!form.tRNS.empty()) PutPngChunk(out, "tRNS", form.tRNS);
    std::vector<uint8_t> raw;
    if (form.interlaced) {
        static const int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                          {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& p : kPasses) AppendPngScanlines(raw, form, samples, p[0], p[1], p[2], p[3]);
    } else {
        AppendPngScanlines(raw, form, samples, 0, 0, 1, 1);
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6);
    packed.resize(packedSize);
    PutPngChunk(out, "IDAT", packed);
    PutPngChunk(out, "IEND", {});
    return out;
}

}  // namespace WorkSpace::Testing
