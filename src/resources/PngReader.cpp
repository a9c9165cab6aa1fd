#include "resources/PngReader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include <libspng/spng.h>

#include "resources/TextureFold.h"

namespace WorkSpace {
namespace {

// Bytes read from the file at a time: libspng asks for at most 8 KiB, often
// only a chunk header or a checksum.
constexpr size_t kReadBlock = 256 * 1024;

// Most bytes one ancillary chunk (text, colour profile, EXIF) may hold, and
// all of them together, inflated: far above what real files carry.
constexpr size_t kChunkLimitBytes = 16u * 1024u * 1024u;

}  // namespace

// The decoder and the buffered file it reads.
struct PngSession {
    ~PngSession() {
        if (context) spng_ctx_free(context);
    }
    spng_ctx* context = nullptr;
    ByteSource* source = nullptr;
    uint64_t offset = 0;         // of the byte after the block
    std::vector<uint8_t> block;  // bytes read ahead
    size_t at = 0, filled = 0;   // the next unread byte, and the bytes held
    bool open = false;           // a header has been read and the pixels not yet
};

namespace {

// libspng's read function: exactly `length` bytes, or the end of the file.
int ReadStream(spng_ctx*, void* user, void* destination, size_t length) {
    PngSession& session = *static_cast<PngSession*>(user);
    uint8_t* out = static_cast<uint8_t*>(destination);
    while (length > 0) {
        if (session.at == session.filled) {
            session.filled = session.source->ReadAt(session.offset, session.block.data(),
                                                    session.block.size());
            session.at = 0;
            session.offset += session.filled;
            if (session.filled == 0) return SPNG_IO_EOF;
        }
        const size_t count = std::min(length, session.filled - session.at);
        std::memcpy(out, session.block.data() + session.at, count);
        session.at += count;
        out += count;
        length -= count;
    }
    return 0;
}

}  // namespace

bool StartsLikePng(const uint8_t* data, size_t size) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

PngReader::PngReader() = default;

PngReader::~PngReader() = default;

bool PngReader::Open(ByteSource& source) {
    session_.reset();
    width_ = height_ = 0;
    uint8_t start[8];
    if (!StartsLikePng(start, source.ReadAt(0, start, sizeof start))) return false;
    try {
        session_.reset(new PngSession);
        session_->block.resize(kReadBlock);
    } catch (const std::bad_alloc&) {
        session_.reset();
        return false;
    }
    PngSession& session = *session_;
    session.source = &source;
    session.context = spng_ctx_new(0);
    spng_ihdr header{};
    if (!session.context ||
        spng_set_crc_action(session.context, SPNG_CRC_ERROR, SPNG_CRC_ERROR) != 0 ||
        spng_set_chunk_limits(session.context, kChunkLimitBytes, kChunkLimitBytes) != 0 ||
        spng_set_image_limits(session.context, uint32_t(kMaxFoldWidth), uint32_t(kMaxPicturePixels)) != 0 ||
        spng_set_png_stream(session.context, ReadStream, &session) != 0 ||
        spng_get_ihdr(session.context, &header) != 0) {
        return false;
    }
    // Interlaced pictures come in seven passes of scattered pixels; GDI+ takes them.
    if (header.interlace_method != SPNG_INTERLACE_NONE ||
        uint64_t(header.width) * header.height > kMaxPicturePixels) {
        return false;
    }
    width_ = int32_t(header.width);
    height_ = int32_t(header.height);
    session.open = true;
    return true;
}

bool PngReader::ReadFolded(int32_t textureWidth, int32_t textureHeight, uint8_t* texels,
                           ptrdiff_t stride) {
    if (!session_ || !session_->open) return false;
    session_->open = false;
    spng_ctx* context = session_->context;
    // Asking for tRNS reads the chunks before the pixels, and fails as they do.
    spng_ihdr header{};
    spng_trns transparency{};
    const int tRNS = spng_get_trns(context, &transparency);
    if ((tRNS != 0 && tRNS != SPNG_ECHUNKAVAIL) || spng_get_ihdr(context, &header) != 0) {
        return false;
    }
    const bool opaque = header.color_type != SPNG_COLOR_TYPE_GRAYSCALE_ALPHA &&
                        header.color_type != SPNG_COLOR_TYPE_TRUECOLOR_ALPHA &&
                        tRNS == SPNG_ECHUNKAVAIL;
    // Rows come out as 8-bit RGB, or RGBA for a picture with transparency:
    // palette and grey expanded, 16-bit samples cut to their high byte, and
    // tRNS turned into alpha.
    const int format = opaque ? SPNG_FMT_RGB8 : SPNG_FMT_RGBA8;
    if (spng_decode_image(context, nullptr, 0, format,
                          SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE) != 0) {
        return false;
    }
    try {
        TextureFold fold;
        if (!fold.Start(width_, height_, textureWidth, textureHeight, opaque, texels, stride)) {
            return false;
        }
        std::vector<uint8_t> row(size_t(width_) * (opaque ? 3 : 4));
        int result = 0;
        do {
            // The call that decodes the last row answers SPNG_EOI.
            result = spng_decode_row(context, row.data(), row.size());
            if (result == 0 || result == SPNG_EOI) fold.AddRow(row.data());
        } while (result == 0);
        // The chunks after the pixels carry the last pixel chunk's checksum:
        // a file cut short or damaged there is refused as well.
        return result == SPNG_EOI && fold.Done() && spng_decode_chunks(context) == 0;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace WorkSpace
