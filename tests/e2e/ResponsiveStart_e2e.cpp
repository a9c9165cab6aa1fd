// The saver while its pictures load: it covers the screen black at once and
// ends on a key before the load is done. Thirty pictures of 64 million pixels
// each, none in the picture cache, take seconds to decode; the cache's entries,
// written as each picture is decoded, show how far the load has come.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/driver/ConfigSession.h"
#include "e2e/driver/Driver.h"
#include "e2e/driver/SaverWindows.h"

namespace {

constexpr int kPictures = 30;
constexpr uint32_t kSide = 8000;

void PutBig32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(char(v >> shift));
}

void PutChunk(FILE* file, const char* type, const std::string& data) {
    std::string chunk;
    PutBig32(chunk, uint32_t(data.size()));
    chunk += type;
    chunk += data;
    PutBig32(chunk, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(chunk.data() + 4),
                                   uInt(chunk.size() - 4))));
    fwrite(chunk.data(), 1, chunk.size(), file);
}

// Writes a mid-grey PNG of kSide x kSide pixels, compressed row by row.
bool WriteLargePng(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    fwrite("\x89PNG\r\n\x1a\n", 1, 8, file);
    std::string header;
    PutBig32(header, kSide);
    PutBig32(header, kSide);
    header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey
    PutChunk(file, "IHDR", header);
    z_stream z{};
    deflateInit(&z, Z_BEST_COMPRESSION);
    std::string row(kSide + 1, char(0x80));
    row[0] = 0;  // no filter
    std::string compressed;
    std::vector<unsigned char> out(1 << 16);
    for (uint32_t y = 0; y <= kSide; ++y) {
        const bool last = y == kSide;
        z.next_in = reinterpret_cast<Bytef*>(last ? nullptr : &row[0]);
        z.avail_in = last ? 0 : uInt(row.size());
        do {
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            compressed.append(reinterpret_cast<char*>(out.data()), out.size() - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    PutChunk(file, "IDAT", compressed);
    PutChunk(file, "IEND", "");
    return fclose(file) == 0;
}

std::wstring PictureCacheFolder() {
    wchar_t base[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base);
    return std::wstring(base) + L"\\Veltrano\\PictureCache\\";
}

// Share of sampled pixels that are not black, 0..1.
double LitShare(const e2e::Screenshot& shot) {
    int lit = 0, total = 0;
    for (int y = 0; y < shot.height; y += 8) {
        for (int x = 0; x < shot.width; x += 8, ++total) lit += shot.At(x, y) > 0x101010u;
    }
    return total ? double(lit) / total : 0.0;
}

// A saver whose settings list thirty large pictures written long enough ago
// to be kept in the emptied picture cache.
class SlowStart : public testing::Test {
protected:
    void SetUp() override {
        std::vector<std::string> paths;
        const std::wstring first = folder_.Path() + L"large_0.png";
        ASSERT_TRUE(WriteLargePng(first));
        for (int i = 0; i < kPictures; ++i) {
            const std::wstring name = L"large_" + std::to_wstring(i) + L".png";
            const std::wstring path = folder_.Path() + name;
            if (i > 0) {
                ASSERT_TRUE(CopyFileW(first.c_str(), path.c_str(), FALSE));
            }
            ASSERT_TRUE(AgeByAnHour(path));
            paths.emplace_back(path.begin(), path.end());
        }
        ASSERT_TRUE(WorkSpace::Testing::WriteBytes(folder_.Path() + L"Veltrano.scr.settings",
                                                   e2e::SettingsText(paths, 0)));
        WorkSpace::Testing::RemoveTempFolder(PictureCacheFolder());
    }
    void TearDown() override { WorkSpace::Testing::RemoveTempFolder(PictureCacheFolder()); }

    static bool AgeByAnHour(const std::wstring& path) {
        HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
        time.QuadPart -= 3600ull * 10000000ull;
        const FILETIME old{time.LowPart, time.HighPart};
        const BOOL set = SetFileTime(file, nullptr, nullptr, &old);
        CloseHandle(file);
        return set != FALSE;
    }

    e2e::SaverFolder folder_{true};
};

}  // namespace

TEST_F(SlowStart, TheWindowIsUpAndBlackBeforeThePicturesAreLoaded) {
    e2e::Process saver;
    HWND window = e2e::StartFullScreenSaver(saver, folder_.Saver(), L"/s", 500, 400);
    ASSERT_TRUE(window);
    const int keptWhenUp = WorkSpace::Testing::CountFiles(PictureCacheFolder());
    const e2e::Screenshot up = e2e::CaptureScreen();
    e2e::SaveBitmap(up, e2e::BinDir() + L"e2e-slow-start.bmp");
    EXPECT_LT(keptWhenUp, kPictures) << "the window came only after the load";
    EXPECT_EQ(LitShare(up), 0.0);
    e2e::PressKey(VK_ESCAPE);
    const auto code = saver.WaitForExit(e2e::kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

TEST_F(SlowStart, AKeyDuringTheLoadEndsTheSaverBeforeAnyPictureShows) {
    e2e::Process saver;
    HWND window = e2e::StartFullScreenSaver(saver, folder_.Saver(), L"/s", 500, 400);
    ASSERT_TRUE(window);
    double lit = 0.0;
    for (int look = 0; look < 3; ++look) {
        e2e::PumpFor(100);
        lit = std::max(lit, LitShare(e2e::CaptureScreen()));
    }
    const int keptAtKey = WorkSpace::Testing::CountFiles(PictureCacheFolder());
    e2e::PressKey(VK_SPACE);
    EXPECT_TRUE(e2e::WaitUntilGone(window, e2e::kSaverExitMs));
    const auto code = saver.WaitForExit(e2e::kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_LT(keptAtKey, kPictures) << "the key came after the load";
    EXPECT_EQ(lit, 0.0);
}
