#pragma once
// Camera photos decoded at the size they fly: a JPEG file read by libjpeg-turbo
// at the smallest DCT scale that still covers its texture. Anything the
// library complains about is left to GDI+, which decodes or fails it as always.
#include <cstdint>
#include <memory>
#include <string>

#include "resources/JpegScaling.h"

namespace WorkSpace {

struct JpegSession;

// One JPEG file being decoded: Open reads its header and plans the scale,
// ReadPixels decodes it. Not copyable; frees the decoder when dropped.
class JpegReader {
public:
    JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;
    ~JpegReader();

    // Returns true when the file at `path` is a JPEG by its content whose
    // header reads without a warning, whose colours come out as RGB (not
    // CMYK or YCCK) and whose planned output (see PlanJpegDecode, with EXIF
    // `orientation` and the texture side rule `side`) fits the memory limit.
    bool Open(const std::wstring& path, int32_t orientation, const TextureSideRule& side);

    // The plan of the last successful Open.
    const JpegDecodePlan& Plan() const { return plan_; }

    // Returns true after decoding the opened file into `pixels`: the planned
    // output size, as stored (not yet upright), rows `stride` bytes apart, top
    // row first, 32-bit blue, green, red, alpha 255. False on any libjpeg
    // warning or error (damaged or truncated data); the pixels are then partly
    // written. One call per Open.
    bool ReadPixels(uint8_t* pixels, int32_t stride);

private:
    void Close();

    std::unique_ptr<JpegSession> session_;
    JpegDecodePlan plan_;
};

}  // namespace WorkSpace
