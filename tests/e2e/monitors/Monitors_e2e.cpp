// The saver on several monitors, as the user sees it: each monitor flies a
// scene of its own with its own pictures and its own logo, nothing crosses a
// boundary, and what lies on no monitor stays black. Each suite runs on the
// heads its registration names (cmake/WindowsBuild.cmake), on an Xvfb of its
// own (scripts/monitors-exec.sh).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver/ConfigSession.h"
#include "e2e/driver/Driver.h"
#include "e2e/driver/SaverWindows.h"

namespace {

using e2e::Screenshot;

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT area, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*area);
    return TRUE;
}

std::vector<RECT> Monitors() {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

// Fails unless the monitors are the expected ones, in any order: the test bed's heads.
void ExpectMonitors(std::vector<RECT> expected) {
    std::vector<RECT> found = Monitors();
    ASSERT_EQ(found.size(), expected.size());
    for (const RECT& want : expected) {
        bool seen = false;
        for (const RECT& got : found) seen = seen || EqualRect(&got, &want);
        EXPECT_TRUE(seen) << want.left << "," << want.top << " " << want.right << "," << want.bottom;
    }
}

int Red(uint32_t p) { return int(p >> 16 & 0xFF); }
int Green(uint32_t p) { return int(p >> 8 & 0xFF); }
int Blue(uint32_t p) { return int(p & 0xFF); }

// The pictures of the first monitor's share are reddish, those of the second
// bluish; a soft border darkens a picture without changing its kind.
enum class Kind { None, Red, Blue, White };
Kind KindOf(uint32_t p) {
    const int r = Red(p), g = Green(p), b = Blue(p);
    if (r > 180 && g > 180 && b > 180) return Kind::White;  // the logo's lettering
    if (r > 60 && r > 2 * b && 2 * r > 3 * g) return Kind::Red;
    if (b > 60 && b > 2 * r && 2 * b > 3 * g) return Kind::Blue;
    return Kind::None;
}

// Picture i of 60: the first 30 fly on the first monitor, the next 30 on the second.
uint32_t PictureColour(int i) {
    const uint32_t shade = 150 + uint32_t(i % 30) * 3, other = 20 + uint32_t(i % 30) * 2;
    return i < 30 ? shade << 16 | other << 8 | 20u : 20u << 16 | other << 8 | shade;
}

// A saver folder whose settings list the first `count` of those pictures,
// flying under `scheme`: as many as two monitors' slots, all in list order.
void ListPictures(const e2e::SaverFolder& folder, int scheme, int count = 60) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        Screenshot picture;
        picture.width = 160;
        picture.height = 120;
        picture.pixels.assign(size_t(picture.width) * size_t(picture.height), PictureColour(i));
        const std::wstring path = folder.Path() + L"picture_" + std::to_wstring(i) + L".bmp";
        ASSERT_TRUE(e2e::SaveBitmap(picture, path));
        paths.push_back(e2e::Narrow(path));
    }
    const std::string text = e2e::SettingsText(paths, scheme);
    const std::wstring settings = folder.Path() + L"Veltrano.scr.settings";
    HANDLE file = CreateFileW(settings.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);
}

// Share of the pixels of `area` (sampled every `step`) of the given kind, 0..1.
double Share(const Screenshot& shot, RECT area, Kind kind, int step = 2) {
    int hits = 0, total = 0;
    for (LONG y = area.top; y < area.bottom; y += step) {
        for (LONG x = area.left; x < area.right; x += step, ++total) hits += KindOf(shot.At(x, y)) == kind;
    }
    return total ? double(hits) / total : 0.0;
}

// Share of the pixels of `area` that are not black, 0..1.
double LitShare(const Screenshot& shot, RECT area, int step = 4) {
    int lit = 0, total = 0;
    for (LONG y = area.top; y < area.bottom; y += step) {
        for (LONG x = area.left; x < area.right; x += step, ++total) lit += (shot.At(x, y) & 0xF0F0F0u) != 0;
    }
    return total ? double(lit) / total : 0.0;
}

// Where the logo lies on a monitor: its bottom-left corner, 180 x 60 pixels.
RECT LogoArea(const RECT& monitor) { return {monitor.left, monitor.bottom - 60, monitor.left + 180, monitor.bottom}; }

// Starts the saver of `folder` full screen and waits for the pictures of
// both kinds; false when they did not come. A capture of the whole screen
// costs the saver time, so none is taken while its build and probe are likely
// to run, and then one a second.
bool StartFlying(e2e::Process& saver, const e2e::SaverFolder& folder) {
    if (!e2e::StartFullScreenSaver(saver, folder.Saver(), L"/s", 500, 400)) return false;
    Screenshot shot;
    e2e::PumpFor(5000);
    for (int look = 0; look < 20; ++look) {
        e2e::PumpFor(1000);
        shot = e2e::CaptureScreen();
        const RECT all{0, 0, shot.width, shot.height};
        if (Share(shot, all, Kind::Red, 8) > 0.01 && Share(shot, all, Kind::Blue, 8) > 0.01) return true;
    }
    e2e::SaveBitmap(shot, e2e::BinDir() + L"e2e-monitors-not-flying.bmp");
    return false;
}

void EndSaver(e2e::Process& saver) {
    e2e::PressKey(VK_ESCAPE);
    const auto code = saver.WaitForExit(e2e::kSaverExitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

// What a series of captures showed on one monitor.
struct MonitorSeen {
    int ownPictures = 0;    // captures with the monitor's own pictures on it
    int otherPictures = 0;  // captures with the other monitor's pictures on it
    int logo = 0;           // captures with the logo's lettering in its corner
};

// The logo's emblem has colours of both kinds, so the other monitor's
// pictures are looked for above the logo's rows.
void Look(const Screenshot& shot, const RECT& monitor, Kind own, Kind other, MonitorSeen& seen) {
    const RECT aboveLogo{monitor.left, monitor.top, monitor.right, monitor.bottom - 60};
    seen.ownPictures += Share(shot, monitor, own, 8) > 0.02;
    seen.otherPictures += Share(shot, aboveLogo, other, 4) > 0.0;
    seen.logo += Share(shot, LogoArea(monitor), Kind::White, 1) > 0.03;
}

struct UnfitMachine {
    e2e::ScopedRegistryValue level{HKEY_LOCAL_MACHINE, e2e::DisplayAdapterKey(), L"Acceleration.Level", 0};
};

constexpr int kLooks = 12;

}  // namespace

// Two monitors of 1280 x 1024 side by side. A picture cut by the boundary
// would show the same kind of picture in the last column of the first monitor
// and the first column of the second, on the same row; pictures must reach
// both columns for that to be seen. Under Rotation the camera turns round the
// pictures in the first 5 s of every 15, sweeping them across the boundary,
// so the captures span more than 15 s.
TEST(TwoEqualMonitors, EachFliesItsOwnPicturesAndLogoAndNoPictureIsCutByTheBoundary) {
    ExpectMonitors({{0, 0, 1280, 1024}, {1280, 0, 2560, 1024}});
    e2e::SaverFolder folder(true);
    ListPictures(folder, 0);
    e2e::Process saver;
    ASSERT_TRUE(StartFlying(saver, folder));
    const RECT left{0, 0, 1280, 1024}, right{1280, 0, 2560, 1024};
    MonitorSeen leftSeen, rightSeen;
    int lastColumnLit = 0, firstColumnLit = 0, rowsCut = 0, looks = 0;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 16000; ++looks) {
        const Screenshot shot = e2e::CaptureScreen();
        if (looks == 0) e2e::SaveBitmap(shot, e2e::BinDir() + L"e2e-two-monitors.bmp");
        Look(shot, left, Kind::Red, Kind::Blue, leftSeen);
        Look(shot, right, Kind::Blue, Kind::Red, rightSeen);
        for (int y = 0; y < 1024; ++y) {
            const Kind before = KindOf(shot.At(1279, y)), after = KindOf(shot.At(1280, y));
            lastColumnLit += before == Kind::Red || before == Kind::Blue;
            firstColumnLit += after == Kind::Red || after == Kind::Blue;
            rowsCut += before != Kind::None && before == after;
        }
        e2e::PumpFor(300);
    }
    EXPECT_GE(leftSeen.ownPictures, looks - 1);
    EXPECT_GE(rightSeen.ownPictures, looks - 1);
    EXPECT_EQ(leftSeen.otherPictures, 0);
    EXPECT_EQ(rightSeen.otherPictures, 0);
    EXPECT_GE(leftSeen.logo, looks - 2);
    EXPECT_GE(rightSeen.logo, looks - 2);
    // A picture cut by the boundary lights both columns; one side lit is
    // enough for the check to mean something (which side, the layout decides).
    EXPECT_GT(lastColumnLit + firstColumnLit, 0) << "no picture reached the boundary: nothing was checked";
    EXPECT_EQ(rowsCut, 0);
    EndSaver(saver);
}

TEST(TwoEqualMonitors, UnfitMachineShowsTheMessageOnEach) {
    UnfitMachine unfit;
    e2e::SaverFolder folder(true);
    e2e::Process saver;
    ASSERT_TRUE(e2e::StartFullScreenSaver(saver, folder.Saver(), L"/s", 500, 400));
    Screenshot shot;
    const auto middleOf = [&shot](LONG left) {
        return LitShare(shot, {left + 540, 472, left + 740, 552});
    };
    EXPECT_TRUE(e2e::WaitUntil(
        [&] { return shot = e2e::CaptureScreen(), middleOf(0) > 0.2 && middleOf(1280) > 0.2; }, 10000));
    e2e::SaveBitmap(shot, e2e::BinDir() + L"e2e-two-monitors-error.bmp");
    for (LONG left : {0L, 1280L}) {
        const RECT monitor{left, 0, left + 1280, 1024};
        EXPECT_GT(Share(shot, LogoArea(monitor), Kind::White, 1), 0.03) << left;
        // The top corners of each monitor stay black, the boundary's too.
        EXPECT_EQ(LitShare(shot, {left, 0, left + 40, 40}), 0.0) << left;
        EXPECT_EQ(LitShare(shot, {left + 1240, 0, left + 1280, 40}), 0.0) << left;
    }
    EndSaver(saver);
}

// 1920 x 1080 beside 1280 x 1024: the 56 rows below the smaller monitor lie in
// the saver window but on no monitor.
TEST(MixedMonitors, WhatLiesOnNoMonitorStaysBlackAndEachLogoIsOnItsMonitor) {
    ExpectMonitors({{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}});
    e2e::SaverFolder folder(true);
    ListPictures(folder, 1);
    e2e::Process saver;
    ASSERT_TRUE(StartFlying(saver, folder));
    const RECT large{0, 0, 1920, 1080}, small{1920, 0, 3200, 1024}, gap{1920, 1024, 3200, 1080};
    MonitorSeen largeSeen, smallSeen;
    int gapLit = 0;
    for (int look = 0; look < kLooks; ++look) {
        const Screenshot shot = e2e::CaptureScreen();
        if (look == 0) e2e::SaveBitmap(shot, e2e::BinDir() + L"e2e-mixed-monitors.bmp");
        Look(shot, large, Kind::Red, Kind::Blue, largeSeen);
        Look(shot, small, Kind::Blue, Kind::Red, smallSeen);
        gapLit += LitShare(shot, gap, 1) > 0.0;
        e2e::PumpFor(300);
    }
    EXPECT_EQ(gapLit, 0);
    EXPECT_GE(largeSeen.ownPictures, kLooks - 1);
    EXPECT_GE(smallSeen.ownPictures, kLooks - 1);
    EXPECT_GE(largeSeen.logo, kLooks - 2);
    EXPECT_GE(smallSeen.logo, kLooks - 2);
    EndSaver(saver);
}

// One monitor on the same test bed: the frames of one screen, black while the
// probe runs, then the pictures with the logo in the corner.
TEST(OneMonitor, FliesAsOnOneScreen) {
    ExpectMonitors({{0, 0, 1024, 768}});
    e2e::SaverFolder folder(true);
    // The first monitor's 30 pictures: a longer list would go round in turn.
    ListPictures(folder, 1, 30);
    e2e::Process saver;
    ASSERT_TRUE(e2e::StartFullScreenSaver(saver, folder.Saver(), L"/s", 500, 400));
    const Screenshot probing = e2e::CaptureScreen();
    EXPECT_EQ(LitShare(probing, {0, 0, probing.width, probing.height}), 0.0);
    const RECT monitor{0, 0, 1024, 768};
    MonitorSeen seen;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return e2e::PumpFor(500), Share(e2e::CaptureScreen(), monitor, Kind::Red, 8) > 0.02; },
        20000));
    for (int look = 0; look < kLooks; ++look) {
        Look(e2e::CaptureScreen(), monitor, Kind::Red, Kind::Blue, seen);
        e2e::PumpFor(300);
    }
    // One monitor flies its pictures, as one screen always did.
    EXPECT_GE(seen.ownPictures, kLooks - 1);
    EXPECT_GE(seen.logo, kLooks - 2);
    EndSaver(saver);
}
