#include "resources/ExifOrientation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace WorkSpace;

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, uint16_t v, bool bigEndian) {
    if (bigEndian) { out.push_back(uint8_t(v >> 8)); out.push_back(uint8_t(v)); }
    else { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); }
}

void Put32(Bytes& out, uint32_t v, bool bigEndian) {
    Put16(out, uint16_t(bigEndian ? v >> 16 : v), bigEndian);
    Put16(out, uint16_t(bigEndian ? v : v >> 16), bigEndian);
}

struct Entry { uint16_t tag, type; uint32_t count; uint16_t value; };

// A TIFF block with IFD0 at `ifdOffset` holding `entries` (or `declaredCount` of them).
Bytes Tiff(bool bigEndian, const std::vector<Entry>& entries, uint32_t ifdOffset = 8,
           int declaredCount = -1) {
    Bytes t;
    t.push_back(bigEndian ? 'M' : 'I');
    t.push_back(bigEndian ? 'M' : 'I');
    Put16(t, 42, bigEndian);
    Put32(t, ifdOffset, bigEndian);
    Put16(t, uint16_t(declaredCount < 0 ? entries.size() : size_t(declaredCount)), bigEndian);
    for (const Entry& e : entries) {
        Put16(t, e.tag, bigEndian);
        Put16(t, e.type, bigEndian);
        Put32(t, e.count, bigEndian);
        Put16(t, e.value, bigEndian);
        Put16(t, 0, bigEndian);
    }
    Put32(t, 0, bigEndian);  // no next IFD
    return t;
}

Bytes Segment(uint8_t marker, const Bytes& body) {
    Bytes s(body.size() + 4);
    s[0] = 0xFF;
    s[1] = marker;
    s[2] = uint8_t((body.size() + 2) >> 8);
    s[3] = uint8_t(body.size() + 2);
    std::copy(body.begin(), body.end(), s.begin() + 4);
    return s;
}

Bytes Exif(const Bytes& tiff) {
    Bytes body{'E', 'x', 'i', 'f', 0, 0};
    body.insert(body.end(), tiff.begin(), tiff.end());
    return Segment(0xE1, body);
}

Bytes Jpeg(const std::vector<Bytes>& segments) {
    Bytes j{0xFF, 0xD8};
    for (const Bytes& s : segments) j.insert(j.end(), s.begin(), s.end());
    const Bytes scan{0xFF, 0xDA, 0x00, 0x02, 0x12, 0x34, 0xFF, 0xD9};
    j.insert(j.end(), scan.begin(), scan.end());
    return j;
}

int32_t Read(const Bytes& b) { return ReadExifOrientation(b.data(), b.size()); }

const Entry kOtherTag{0x010F, 2, 4, 0x4142};

}  // namespace

TEST(ExifOrientation, ReadsEveryValueInBothByteOrders) {
    for (bool bigEndian : {false, true}) {
        for (uint16_t value = 1; value <= 8; ++value) {
            const Bytes jpeg = Jpeg({Exif(Tiff(bigEndian, {kOtherTag, {0x0112, 3, 1, value}}))});
            EXPECT_EQ(Read(jpeg), value) << "big endian " << bigEndian;
        }
    }
}

TEST(ExifOrientation, FindsExifAfterOtherSegments) {
    const Bytes app0 = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 2, 0, 0, 1, 0, 1, 0, 0});
    const Bytes xmp = Segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/'});
    const Bytes comment = Segment(0xFE, {'h', 'i'});
    EXPECT_EQ(Read(Jpeg({app0, xmp, comment, Exif(Tiff(true, {{0x0112, 3, 1, 6}}))})), 6);
}

TEST(ExifOrientation, DamagedOrMissingDataMeansUpright) {
    const Bytes good = Jpeg({Exif(Tiff(false, {{0x0112, 3, 1, 8}}))});
    ASSERT_EQ(Read(good), 8);
    struct Case { const char* what; Bytes bytes; };
    const Case cases[] = {
        {"empty", {}},
        {"not a JPEG", {0x89, 'P', 'N', 'G', 0, 0, 0, 0}},
        {"no EXIF", Jpeg({Segment(0xE0, {'J', 'F', 'I', 'F', 0})})},
        {"no orientation tag", Jpeg({Exif(Tiff(false, {kOtherTag}))})},
        {"value 0", Jpeg({Exif(Tiff(false, {{0x0112, 3, 1, 0}}))})},
        {"value 9", Jpeg({Exif(Tiff(false, {{0x0112, 3, 1, 9}}))})},
        {"wrong type", Jpeg({Exif(Tiff(false, {{0x0112, 4, 1, 6}}))})},
        {"zero values", Jpeg({Exif(Tiff(false, {{0x0112, 3, 0, 6}}))})},
        {"bad byte order mark", Jpeg({Exif([] { Bytes t = Tiff(false, {{0x0112, 3, 1, 6}}); t[0] = 'X'; return t; }())})},
        {"IFD offset past the end", Jpeg({Exif(Tiff(false, {{0x0112, 3, 1, 6}}, 0xFFFFFFF0u))})},
        {"IFD count past the end", Jpeg({Exif(Tiff(false, {kOtherTag}, 8, 60000))})},
        {"EXIF after the picture data", [] {
             Bytes j = Jpeg({});
             const Bytes e = Exif(Tiff(false, {{0x0112, 3, 1, 6}}));
             j.insert(j.end(), e.begin(), e.end());
             return j;
         }()},
        {"segment length below 2", {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01, 'E', 'x', 'i', 'f', 0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(Read(c.bytes), 1) << c.what;

    // Cut anywhere inside the segment: never a read past the end, and upright
    // unless the orientation entry itself made it in whole.
    for (size_t cut = 0; cut < good.size(); ++cut) {
        const int32_t value = ReadExifOrientation(good.data(), cut);
        EXPECT_TRUE(value == 1 || value == 8) << cut;
    }
}

TEST(ExifOrientation, IfdPointingAtItselfEnds) {
    // IFD0 at offset 0 reads the header as its entry count; only IFD0 is read.
    EXPECT_EQ(Read(Jpeg({Exif(Tiff(false, {{0x0112, 3, 1, 6}}, 0))})), 1);
}

TEST(ExifOrientation, UprightTurnPerValue) {
    struct Case { int32_t orientation, degrees; bool flip; };
    const Case cases[] = {
        {0, 0, false},  {1, 0, false},  {2, 0, true},  {3, 180, false}, {4, 180, true},
        {5, 90, true},  {6, 90, false}, {7, 270, true}, {8, 270, false}, {9, 0, false},
    };
    for (const Case& c : cases) {
        const UprightTurn turn = UprightTurnFor(c.orientation);
        EXPECT_EQ(turn.clockwiseDegrees, c.degrees) << c.orientation;
        EXPECT_EQ(turn.flipHorizontally, c.flip) << c.orientation;
    }
}
