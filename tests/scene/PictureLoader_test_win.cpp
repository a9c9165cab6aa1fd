#include "scene/PictureLoader_win.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "resources/TestPictures_win.h"
#include "scene/GlWindow_win.h"
#include "scene/LoadOrder.h"
#include "scene/PictureCache_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneBuild_win.h"
#include "scene/SceneModel.h"
#include "scene/TextureList_win.h"

using namespace WorkSpace;
using namespace testpictures;

namespace {

constexpr uint32_t kSeed = 20261207;

// What a build left behind: the texture list, each texture's level-0 texels
// as OpenGL holds them, and the quads filled from the list with one seed.
struct Built {
    std::vector<TextureEntry> entries;
    std::vector<std::vector<uint8_t>> texels;
    std::vector<SceneQuad> quads;
};

std::vector<uint8_t> ReadTexels(int32_t name) {
    glBindTexture(GL_TEXTURE_2D, GLuint(name));
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<uint8_t> texels(size_t(width) * size_t(height) * 3 + 2 * sizeof(int32_t));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data() + 8);
    std::memcpy(texels.data(), &width, 4);
    std::memcpy(texels.data() + 4, &height, 4);
    return texels;
}

Built Record() {
    Built built;
    const TextureList& list = TheTextureList();
    std::vector<PictureInfo> infos;
    for (size_t i = 0; i < list.Count(); ++i) {
        const TextureEntry& entry = list.At(i);
        built.entries.push_back(entry);
        built.texels.push_back(ReadTexels(entry.name));
        infos.push_back({entry.kind == TextureObject, entry.width, entry.height, entry.name});
    }
    FillSlots(TheScene(), infos, kSeed);
    built.quads = TheScene().quads;
    return built;
}

// The build as it was before any thread: one picture after the other.
Built OneAfterAnother(const std::vector<std::wstring>& pictures) {
    TextureList& list = TheTextureList();
    list.Clear();
    for (size_t i = 0; i < pictures.size() && list.Count() < size_t(kMaxSlots); ++i) {
        ImageHolder holder;
        if (LoadPictureFile(holder, pictures[i], PowerOfTwoSide)) list.AddLoadedPicture(holder, int32_t(i));
    }
    return Record();
}

Built WithWorkers(const std::vector<std::wstring>& pictures, size_t workers,
                  PictureLoadReport& report, const PictureCache* cache = nullptr) {
    TextureList& list = TheTextureList();
    list.Clear();
    report = LoadPictures(pictures, size_t(kMaxSlots), workers,
                          [&list](size_t index, ImageHolder& holder) {
                              return list.AddLoadedPicture(holder, int32_t(index)) >= 0;
                          },
                          cache);
    return Record();
}

void ExpectSameQuads(const std::vector<SceneQuad>& got, const std::vector<SceneQuad>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        const SceneQuad& a = got[i];
        const SceneQuad& b = want[i];
        EXPECT_EQ(a.texture, b.texture) << i;
        EXPECT_EQ(a.width, b.width) << i;
        EXPECT_EQ(a.height, b.height) << i;
        EXPECT_TRUE(a.position.x == b.position.x && a.position.y == b.position.y &&
                    a.position.z == b.position.z && a.position.w == b.position.w) << i;
        EXPECT_TRUE(a.velocity.x == b.velocity.x && a.velocity.y == b.velocity.y &&
                    a.velocity.z == b.velocity.z && a.velocity.w == b.velocity.w) << i;
    }
}

size_t ThreadsOfThisProcess() {
    size_t count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    }
    CloseHandle(snapshot);
    return count;
}

Painter Gradient(uint32_t salt) {
    return [salt](int x, int y) {
        return 0xFF000000u | (uint32_t(x * 7 + salt) & 0xFF) << 16 |
               (uint32_t(y * 5 + salt * 3) & 0xFF) << 8 | (uint32_t(x ^ y) & 0xFF);
    };
}

class PictureLoader : public ::testing::Test {
protected:
    void SetUp() override { folder_ = MakeTempFolder(L"loader"); }
    void TearDown() override {
        TheScene() = Scene();
        TheTextureList().Clear();
        DestroyGlContext();
        RemoveTempFolder(folder_);
    }
    std::wstring Save(const wchar_t* name, const wchar_t* mimeType, int width, int height,
                      const Painter& paint) {
        const std::wstring path = folder_ + name;
        EXPECT_TRUE(SavePicture(path, mimeType, width, height, paint)) << path;
        return path;
    }
    std::wstring folder_;
};

}  // namespace

// Every format, a turned photo, the failures among them and the stop at 30
// loaded: the pool's build, and the build through the picture cache while it
// fills it and once it holds every picture, is the one-after-another build
// down to the texels.
TEST_F(PictureLoader, BuildsWhatLoadingOneAfterAnotherBuilds) {
    glwindow::GlWindow window(320, 240);
    ASSERT_TRUE(AttachWindow(window.Get()));
    const std::wstring jpeg = Save(L"a.jpg", L"image/jpeg", 640, 480, Gradient(1));
    const std::vector<uint8_t> whole = ReadBytes(jpeg);
    const std::wstring cut = folder_ + L"cut.jpg";
    ASSERT_TRUE(WriteBytes(cut, whole.data(), whole.size() / 3));
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"folder.png").c_str(), nullptr));
    const std::wstring turned = Save(L"f.jpg", L"image/jpeg", 120, 80, Gradient(5));
    std::vector<uint8_t> turnedBytes = ReadBytes(turned);
    const std::vector<uint8_t> exif = ExifSegment(6);
    turnedBytes.insert(turnedBytes.begin() + 2, exif.begin(), exif.end());
    ASSERT_TRUE(WriteBytes(turned, turnedBytes.data(), turnedBytes.size()));
    const std::vector<std::wstring> kinds = {
        jpeg,
        Save(L"b.png", L"image/png", 300, 200, Gradient(2)),
        folder_ + L"missing.jpg",
        Save(L"c.bmp", L"image/bmp", 100, 50, Gradient(3)),
        cut,
        turned,
        Save(L"d.gif", L"image/gif", 40, 40, Solid(0xFF3366CC)),
        folder_ + L"folder.png",
        Save(L"e.tif", L"image/tiff", 500, 400, Gradient(4)),
    };
    for (const std::wstring& path : kinds) AgeFile(path, 1);  // old enough to be kept
    std::vector<std::wstring> pictures;
    for (int round = 0; round < 7; ++round) pictures.insert(pictures.end(), kinds.begin(), kinds.end());

    const Built expected = OneAfterAnother(pictures);
    ASSERT_EQ(expected.entries.size(), size_t(kMaxSlots));
    ASSERT_LT(size_t(expected.entries.back().name), pictures.size() - 1);  // loading stopped early

    std::set<size_t> loadingKinds;
    for (const TextureEntry& entry : expected.entries) loadingKinds.insert(size_t(entry.name) % kinds.size());
    const PictureCache cache(folder_ + L"cache");
    struct Run { size_t workers; const PictureCache* cache; size_t kept; };
    const Run runs[] = {
        {0, nullptr, 0}, {1, nullptr, 0}, {2, nullptr, 0}, {4, nullptr, 0},
        {0, &cache, loadingKinds.size()},  // each picture that loads, once
        {2, &cache, 0},                    // every one of them from the cache
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(::testing::Message() << run.workers << " workers"
                                          << (run.cache ? ", cache" : ""));
        const size_t workers = run.workers;
        const size_t threadsBefore = ThreadsOfThisProcess();
        PictureLoadReport report;
        const Built got = WithWorkers(pictures, workers, report, run.cache);
        EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);  // every decoder has ended
        EXPECT_EQ(report.kept, run.kept);
        EXPECT_EQ(report.workers, workers);
        EXPECT_EQ(report.decoded, size_t(expected.entries.back().name) + 1);
        EXPECT_LE(report.peakPending, LoadWindow(workers));
        ASSERT_EQ(got.entries.size(), expected.entries.size());
        for (size_t i = 0; i < got.entries.size(); ++i) {
            EXPECT_EQ(got.entries[i].name, expected.entries[i].name) << i;
            EXPECT_EQ(got.entries[i].kind, expected.entries[i].kind) << i;
            EXPECT_EQ(got.entries[i].width, expected.entries[i].width) << i;
            EXPECT_EQ(got.entries[i].height, expected.entries[i].height) << i;
            EXPECT_TRUE(got.texels[i] == expected.texels[i]) << "texels of entry " << i;
        }
        ExpectSameQuads(got.quads, expected.quads);
    }

    LoadScenePictures(pictures);  // the scene build itself, with this machine's threads
    const Built scene = Record();
    ASSERT_EQ(scene.entries.size(), expected.entries.size());
    for (size_t i = 0; i < scene.entries.size(); ++i) {
        EXPECT_EQ(scene.entries[i].name, expected.entries[i].name) << i;
        EXPECT_TRUE(scene.texels[i] == expected.texels[i]) << "texels of entry " << i;
    }
}

// Two hundred big photos, every one of them wanted: never more than the
// window of pictures decoded ahead, and the process's peak working set grows
// by no more than that window of full-size decodes.
TEST_F(PictureLoader, TwoHundredPicturesStayWithinTheWindow) {
    constexpr int kWidth = 1024, kHeight = 768;
    const std::wstring photo = Save(L"photo.jpg", L"image/jpeg", kWidth, kHeight, Gradient(9));
    const std::vector<std::wstring> pictures(200, photo);
    const size_t workers = MachineLoadWorkers();
    PROCESS_MEMORY_COUNTERS before{};
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before));
    size_t uploads = 0;
    const PictureLoadReport report =
        LoadPictures(pictures, pictures.size(), workers, [&uploads](size_t, ImageHolder& holder) {
            ++uploads;
            return holder.levels.Levels() > 0;
        });
    PROCESS_MEMORY_COUNTERS after{};
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after));
    EXPECT_EQ(report.loaded, pictures.size());
    EXPECT_EQ(uploads, pictures.size());
    EXPECT_LE(report.peakPending, LoadWindow(workers));
    const double mib = 1024.0 * 1024.0;
    const double fullDecode = double(kWidth) * kHeight * 4 / mib;
    const double growth = (double(after.PeakWorkingSetSize) - double(before.PeakWorkingSetSize)) / mib;
    std::printf("200 pictures of %d x %d, %d workers: peak working set %.1f MiB (+%.1f MiB), "
                "at most %d pending\n",
                kWidth, kHeight, int(report.workers), double(after.PeakWorkingSetSize) / mib,
                growth, int(report.peakPending));
    // Each pending picture may hold a full-size decode and the decoder's own copy of it.
    EXPECT_LE(growth, double(LoadWindow(workers)) * 2.0 * fullDecode + 32.0);
}
