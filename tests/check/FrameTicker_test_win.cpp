// The frame loop's build: whatever waits for the build to complete (the error
// screen's preparation, the projection) runs even when the build could not
// start for want of memory.
#include "check/FrameTicker_win.h"

#include <gtest/gtest.h>

#include <string>

#include "scene/SceneModel.h"
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
