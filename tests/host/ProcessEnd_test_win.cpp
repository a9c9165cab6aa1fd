// The saver's end while a build it left behind still decodes: the user's key
// abandons a load whose decoders hold pictures nobody will take, and the
// process ends at once, the way the saver ends it. No such end may crash.
#include "host/SaverMain_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "resources/TestPictures_win.h"
#include "scene/LoadOrder.h"
#include "scene/PictureLoader_win.h"

using namespace WorkSpace;
using namespace testpictures;

namespace {

constexpr int kExitCode = 7;

// Each death test runs in a process of its own that starts the test over, so
// the pictures lie in a folder that every one of those processes finds.
std::wstring SharedFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"veltrano_abandoned_loads\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::vector<std::wstring> Photos(const std::wstring& folder) {
    std::vector<std::wstring> photos;
    for (int i = 0; i < 12; ++i) {
        const std::wstring path = folder + std::to_wstring(i) + (i % 3 ? L".jpg" : L".png");
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            SavePicture(path, i % 3 ? L"image/jpeg" : L"image/png", 800, 600, Solid(0xFF102030u + uint32_t(i) * 0x0A0B0Cu));
        }
        photos.push_back(path);
    }
    return photos;
}

// Abandons a load after a few uploads, once a decoder has finished a picture
// that is never taken, then ends the process after a pause of 0-2 ms.
[[noreturn]] void AbandonAndEnd(const std::vector<std::wstring>& photos, uint32_t seed) {
    std::mt19937 random(seed);
    {
        size_t uploads = 0;
        PictureLoad load(photos, photos.size(), kMaxLoadWorkers,
                         [&uploads](size_t, ImageHolder&) { return ++uploads > 0; });
        const size_t wanted = random() % 4;
        while (uploads < wanted && !load.Step()) load.WaitForPicture();
        load.WaitForPicture();
    }
    Sleep(random() % 3);
    EndProcess(kExitCode);
}

}  // namespace

TEST(ProcessEnd, AbandonedLoadsNeverCrashTheEnd) {
    const std::wstring folder = SharedFolder();
    const std::vector<std::wstring> photos = Photos(folder);
    for (uint32_t run = 0; run < 24; ++run) {
        EXPECT_EXIT(AbandonAndEnd(photos, run), ::testing::ExitedWithCode(kExitCode), "") << run;
    }
    RemoveTempFolder(folder);
}
