#include "host/Framework_win.h"

#include <gtest/gtest.h>

#include "support/TestWindow_win.h"

using namespace WorkSpace;

namespace {

LRESULT CALLBACK SaverDefaults(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultSaverProc(window, message, wParam, lParam);
}

// A hidden window handled by DefaultSaverProc once it exists (so that the
// verify message sent to it reaches the verifier); the tests also hand it
// messages directly.
class TestWindow {
public:
    TestWindow() : window_(Testing::TestWindowLook{L"FrameworkTest"}) {
        SetWindowLongPtrW(Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SaverDefaults));
        ClosePosted();
    }
    HWND Get() const { return window_.Get(); }
    // Returns whether a WM_CLOSE was posted, emptying the window's queue.
    bool ClosePosted() const {
        bool posted = false;
        MSG message;
        while (PeekMessageW(&message, Get(), 0, 0, PM_REMOVE)) posted |= message.message == WM_CLOSE;
        return posted;
    }

private:
    Testing::TestWindow window_;
};

// Puts the framework back to its start values around each test.
struct FreshFramework {
    FreshFramework() { Framework() = FrameworkState{}; }
    ~FreshFramework() { Framework() = FrameworkState{}; }
};

int verifyCalls = 0;
BOOL verifyAnswer = FALSE;
BOOL WINAPI FakeVerifier(HWND) {
    ++verifyCalls;
    return verifyAnswer;
}

POINT Cursor() {
    POINT cursor{};
    GetCursorPos(&cursor);
    return cursor;
}

}  // namespace

TEST(Framework, InputAndActivationCloseAFullScreenSaverOnly) {
    FreshFramework fresh;
    TestWindow window;
    struct Case { const char* what; UINT message; WPARAM wParam; bool closes; };
    const Case cases[] = {
        {"key", WM_KEYDOWN, VK_SPACE, true},
        {"system key", WM_SYSKEYDOWN, VK_MENU, true},
        {"left button", WM_LBUTTONDOWN, 0, true},
        {"right button", WM_RBUTTONDOWN, 0, true},
        {"middle button", WM_MBUTTONDOWN, 0, true},
        {"deactivated", WM_ACTIVATEAPP, FALSE, true},
        {"activated", WM_ACTIVATEAPP, TRUE, false},
        {"critical resume", WM_POWER, 3, true},
        {"other power notice", WM_POWER, 0, false},
        {"resume, user away", WM_POWERBROADCAST, 7, false},  // lParam 1 below
        {"button up", WM_LBUTTONUP, 0, false},
        {"shown", WM_SHOWWINDOW, TRUE, false},
    };
    for (bool preview : {false, true}) {
        for (const Case& c : cases) {
            Framework().isPreview = preview;
            const LPARAM lParam = c.message == WM_POWERBROADCAST ? 1 : 0;
            DefaultSaverProc(window.Get(), c.message, c.wParam, lParam);
            EXPECT_EQ(window.ClosePosted(), c.closes && !preview) << c.what << (preview ? " (preview)" : "");
        }
    }
    // Once closing has been granted the rules no longer apply.
    Framework().isPreview = false;
    Framework().isClosing = true;
    DefaultSaverProc(window.Get(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(window.ClosePosted());
    // While the password is asked, input does not close either.
    Framework().isClosing = false;
    Framework().isCheckingPassword = true;
    DefaultSaverProc(window.Get(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(window.ClosePosted());
    Framework().isCheckingPassword = false;
    EXPECT_EQ(DefaultSaverProc(window.Get(), WM_SETCURSOR, 0, 0), 1);
}

TEST(Framework, MouseTravelIsMeasuredFromTheAnchorWithTheCursor) {
    FreshFramework fresh;
    TestWindow window;
    const POINT cursor = Cursor();
    struct Case { LONG dx, dy; bool closes; };
    const Case cases[] = {{0, 0, false}, {3, 1, false}, {-1, -3, false}, {3, 2, true}, {0, -5, true}};
    for (const Case& c : cases) {
        // The anchor is placed relative to the cursor, which the test leaves alone.
        Framework().mouseAnchor = {cursor.x - c.dx, cursor.y - c.dy};
        // The message's own coordinates are not used.
        DefaultSaverProc(window.Get(), WM_MOUSEMOVE, 0, MAKELPARAM(900, 900));
        EXPECT_EQ(window.ClosePosted(), c.closes) << c.dx << "," << c.dy;
        const POINT anchor = Framework().mouseAnchor;
        const POINT expected = c.closes ? cursor : POINT{cursor.x - c.dx, cursor.y - c.dy};
        EXPECT_EQ(anchor.x, expected.x);
        EXPECT_EQ(anchor.y, expected.y);
    }
}

TEST(Framework, PowerStatusChangeClosesOnlyWhenTheLineChanged) {
    FreshFramework fresh;
    TestWindow window;
    SYSTEM_POWER_STATUS status{};
    const uint8_t line = GetSystemPowerStatus(&status) ? status.ACLineStatus : kNoLineStatus;
    Framework().lastPowerLineStatus = line;
    DefaultSaverProc(window.Get(), WM_POWERBROADCAST, kPowerStatusChange, 0);
    EXPECT_FALSE(window.ClosePosted());
    Framework().lastPowerLineStatus = uint8_t(line + 1);
    DefaultSaverProc(window.Get(), WM_POWERBROADCAST, kPowerStatusChange, 0);
    EXPECT_TRUE(window.ClosePosted());
    EXPECT_EQ(Framework().lastPowerLineStatus, line);
    DefaultSaverProc(window.Get(), WM_POWERBROADCAST, 4, 0);  // suspend
    EXPECT_TRUE(window.ClosePosted());
}

TEST(Framework, Windows9xPasswordIsAskedAndARefusalHoldsFor200Ms) {
    FreshFramework fresh;
    TestWindow window;
    FrameworkState& state = Framework();
    state.onWindows9x = true;
    state.verifyPassword = FakeVerifier;
    verifyCalls = 0;
    verifyAnswer = FALSE;

    // The verify message is answered by the verifier.
    EXPECT_EQ(DefaultSaverProc(window.Get(), kVerifyPasswordMessage, 0, 0), 0);
    EXPECT_EQ(verifyCalls, 1);

    // A refused close keeps the window and re-anchors the mouse.
    state.mouseAnchor = {-500, -500};
    EXPECT_EQ(DefaultSaverProc(window.Get(), WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(verifyCalls, 2);
    EXPECT_TRUE(IsWindow(window.Get()));
    EXPECT_FALSE(state.isClosing);
    EXPECT_EQ(state.mouseAnchor.x, Cursor().x);

    // Within 200 ms the next close is refused without asking.
    EXPECT_EQ(DefaultSaverProc(window.Get(), WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(verifyCalls, 2);

    // The AutoPlay query closes and is answered 1 while a verifier is loaded.
    state.autoPlayMessage = RegisterWindowMessageW(L"QueryCancelAutoPlay");
    EXPECT_EQ(DefaultSaverProc(window.Get(), state.autoPlayMessage, 0, 0), 1);
    EXPECT_TRUE(window.ClosePosted());

    // Later, an accepted password lets the window be destroyed.
    state.lastPasswordCheck = GetTickCount() - 200;
    verifyAnswer = TRUE;
    DefaultSaverProc(window.Get(), WM_CLOSE, 0, 0);
    EXPECT_EQ(verifyCalls, 3);
    EXPECT_TRUE(state.isClosing);
    EXPECT_FALSE(IsWindow(window.Get()));
}

TEST(Framework, WithoutAVerifierClosingIsGrantedAtOnce) {
    FreshFramework fresh;
    TestWindow window;
    Framework().onWindows9x = true;
    EXPECT_EQ(DefaultSaverProc(window.Get(), kVerifyPasswordMessage, 0, 0), 1);
    Framework().autoPlayMessage = RegisterWindowMessageW(L"QueryCancelAutoPlay");
    EXPECT_EQ(DefaultSaverProc(window.Get(), Framework().autoPlayMessage, 0, 0), 0);
    EXPECT_TRUE(window.ClosePosted());
    EXPECT_TRUE(VerifySaverPassword(window.Get()));
    EXPECT_TRUE(Framework().isClosing);
}
