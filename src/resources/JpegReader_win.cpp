#include "resources/JpegReader_win.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace WorkSpace {

// The decoder, its file and the jump target of its error handler. Plain data:
// libjpeg leaves through longjmp, which must not pass any C++ object.
struct JpegSession {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    std::jmp_buf escape;
    std::FILE* file;
    bool open;  // a header has been read and the pixels not yet
};

namespace {

JpegSession* SessionOf(j_common_ptr info) {
    return static_cast<JpegSession*>(info->client_data);
}

[[noreturn]] void Escape(j_common_ptr info) {
    std::longjmp(SessionOf(info)->escape, 1);
}

// A warning (level -1) means damaged or truncated data: the decode stops there,
// so that GDI+ decides about the file as it always has. Trace messages pass.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0) Escape(info);
}

void Silent(j_common_ptr) {}

// The libjpeg calls stay in these two functions, which own no C++ object, so
// that a longjmp out of the library skips no destructor.
bool ReadHeader(JpegSession& session) {
    if (setjmp(session.escape)) return false;
    jpeg_create_decompress(&session.info);  // keeps err and client_data
    // Beyond this the library would need a backing store (large progressive
    // files keep all coefficients) and fails cleanly before allocating.
    session.info.mem->max_memory_to_use = long(kJpegOutputLimitBytes);
    jpeg_stdio_src(&session.info, session.file);
    return jpeg_read_header(&session.info, TRUE) == JPEG_HEADER_OK;
}

bool ReadRows(JpegSession& session, int32_t eighths, uint8_t* pixels, int32_t stride,
              int32_t width, int32_t height) {
    if (setjmp(session.escape)) return false;
    session.info.scale_num = unsigned(eighths);
    session.info.scale_denom = 8;
    session.info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&session.info);
    if (session.info.output_width != JDIMENSION(width) ||
        session.info.output_height != JDIMENSION(height)) {
        return false;
    }
    while (session.info.output_scanline < session.info.output_height) {
        JSAMPROW row = pixels + ptrdiff_t(session.info.output_scanline) * stride;
        if (jpeg_read_scanlines(&session.info, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&session.info);
    return true;
}

}  // namespace

JpegReader::JpegReader() = default;

JpegReader::~JpegReader() { Close(); }

void JpegReader::Close() {
    if (!session_) return;
    // Safe on a decoder that was never created: the session starts zeroed.
    jpeg_destroy_decompress(&session_->info);
    if (session_->file) std::fclose(session_->file);
    session_.reset();
}

bool JpegReader::Open(const std::wstring& path, int32_t orientation, const TextureSideRule& side) {
    Close();
    plan_ = JpegDecodePlan();
    // The session first, so that the file has its owner from the moment it opens
    // (a failed allocation would otherwise leave it open).
    session_.reset(new JpegSession{});
    std::FILE* file = session_->file = _wfopen(path.c_str(), L"rb");
    if (!file) return false;
    uint8_t start[3] = {};
    const size_t read = std::fread(start, 1, sizeof start, file);
    if (!StartsLikeJpeg(start, read) || std::fseek(file, 0, SEEK_SET) != 0) return false;
    session_->info.client_data = session_.get();
    session_->info.err = jpeg_std_error(&session_->errors);
    session_->errors.error_exit = Escape;
    session_->errors.emit_message = OnMessage;
    session_->errors.output_message = Silent;
    if (!ReadHeader(*session_)) return false;
    const J_COLOR_SPACE colours = session_->info.jpeg_color_space;
    if (colours != JCS_GRAYSCALE && colours != JCS_YCbCr && colours != JCS_RGB) return false;
    const JpegDecodePlan plan = PlanJpegDecode(int32_t(session_->info.image_width),
                                               int32_t(session_->info.image_height),
                                               orientation, side);
    if (!plan.fits) return false;
    plan_ = plan;
    session_->open = true;
    return true;
}

bool JpegReader::ReadPixels(uint8_t* pixels, int32_t stride) {
    if (!session_ || !session_->open || !pixels || stride < plan_.outputWidth * 4) return false;
    session_->open = false;
    return ReadRows(*session_, plan_.eighths, pixels, stride, plan_.outputWidth,
                    plan_.outputHeight);
}

}  // namespace WorkSpace
