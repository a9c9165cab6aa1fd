// The frame loop's build and probe: whatever waits for the build to complete
// (the error screen's preparation, the projection) runs even when the build
// could not start for want of memory, and decoding never fails the probe.
#include "check/FrameTicker_win.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/TestPictures_win.h"
#include "scene/GlWindow_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneModel.h"
#include "scene/TextureList_win.h"
#include "settings/PictureSettings_win.h"
#include "support/FailingAllocation_win.h"
#include "support/TestWindow_win.h"

using namespace WorkSpace;
using WorkSpace::Testing::FailingAllocation;
using WorkSpace::Testing::TestWindow;
using WorkSpace::Testing::TestWindowLook;

TEST(FrameTicker, ABuildThatCannotStartCompletesAtTheNextTick) {
    TestWindowLook look;
    look.width = 64;
    look.height = 48;
    TestWindow window(look);
    FrameTicker ticker(kSaverProbe);
    ticker.Restart(window.Get());
    int completions = 0;
    const std::wstring settings = L"C:\\nowhere\\Veltrano.scr.settings";
    {
        FailingAllocation noMemory(0);
        ticker.StartBuild(settings, false, [&completions] { ++completions; });
        ASSERT_TRUE(noMemory.Failed());
    }
    ticker.Tick();
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(TheScene().quads.empty());
    ticker.Tick();
    EXPECT_EQ(completions, 1);
    Settings() = PictureSettings();
}

// The probe measures while the pictures load. One that fell short beside the
// build is taken again once the scene is built, so a machine fast enough on
// its own flies its pictures, and one too slow on its own still gets the
// error screen.
TEST(FrameTicker, OnlyAProbeOfTheBuiltSceneAloneFailsTheMachine) {
    constexpr ProbeRule kQuick{0.3, 10};
    testpictures::TempFolder folder(L"probe");
    std::vector<std::wstring> photos;
    for (int i = 0; i < 8; ++i) {
        photos.push_back(folder.path + std::to_wstring(i) + L".jpg");
        ASSERT_TRUE(testpictures::SavePicture(photos.back(), L"image/jpeg", 1600, 1200,
                                              testpictures::Solid(0xFF203040u + uint32_t(i))));
    }
    struct Case { DWORD buildTickMs, aloneTickMs; bool errorScreen; };
    for (const Case& c : {Case{150, 0, false}, Case{150, 60, true}}) {
        glwindow::GlWindow window(640, 480);
        ASSERT_TRUE(AttachWindow(window.Get()));
        Settings().pictures = photos;
        FrameTicker ticker(kQuick);
        ticker.Restart(window.Get());
        bool built = false;
        ticker.StartBuild(L"", true, [&built] { built = true; });
        const DWORD start = GetTickCount();
        for (; !built && GetTickCount() - start < 20000; Sleep(c.buildTickMs)) ticker.Tick();
        ASSERT_TRUE(built);
        EXPECT_FALSE(ticker.InErrorMode()) << "failed by a probe beside the build";
        for (const DWORD alone = GetTickCount(); GetTickCount() - alone < 1000; Sleep(c.aloneTickMs)) {
            ticker.Tick();
        }
        EXPECT_EQ(ticker.InErrorMode(), c.errorScreen) << c.aloneTickMs;
    }
    Settings() = PictureSettings();
    TheTextureList().Clear();
}
