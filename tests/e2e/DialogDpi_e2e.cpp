// The configuration dialog at the screen's DPI, which Wine takes from the
// registry (the test "e2e.DialogDpi.At144Dpi" runs this scenario again at
// 144 DPI): every text fits its control in the dialog's font, the list's rows
// fit that font, and a move to a monitor of another DPI scales it all and
// comes back exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "config/DialogIds.h"
#include "e2e/driver/ConfigSession.h"

namespace {

using e2e::ConfigSession;

UINT ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return UINT(dpi);
}

// The dialog's font at `dpi` as the dialog manager makes it from the template,
// measured in this process (a font cannot be shared with the saver's).
class DialogFont {
public:
    explicit DialogFont(UINT dpi) {
        LOGFONTW font{};
        font.lfHeight = -MulDiv(DIALOG_FONT_POINTS, int(dpi), 72);
        font.lfCharSet = DEFAULT_CHARSET;
        lstrcpyW(font.lfFaceName, L"MS Shell Dlg");
        font_ = CreateFontIndirectW(&font);
        dc_ = CreateCompatibleDC(nullptr);
        previous_ = SelectObject(dc_, font_);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        height = metrics.tmHeight;
        // Dialog base units as the platform takes them from the font.
        baseX = (Width(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
    }
    ~DialogFont() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
        DeleteObject(font_);
    }
    DialogFont(const DialogFont&) = delete;
    DialogFont& operator=(const DialogFont&) = delete;

    int Width(const std::wstring& text) const {
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.c_str(), int(text.size()), &size);
        return size.cx;
    }

    int height = 0;  // pixels of a line of text
    int baseX = 0;   // pixels of four horizontal dialog units

private:
    HFONT font_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

int WidthOf(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    return r.right - r.left;
}

int HeightOf(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    return r.bottom;
}

// Every text of the dialog fits its control with room for the control's own
// frame: push buttons, the group box's title, the label (one line) and the
// widest scheme beside the combo box's button; the list's rows fit a line.
void ExpectTextsFit(const ConfigSession& run, const DialogFont& font) {
    const int edge = 2 * GetSystemMetrics(SM_CXEDGE);
    for (int id : {IDC_ADD, IDC_REMOVE, IDC_REMOVE_ALL, IDC_PREVIEW, IDOK, IDCANCEL}) {
        const std::wstring text = e2e::WindowText(run.Control(id));
        EXPECT_LE(font.Width(text) + 2 * edge, WidthOf(run.Control(id))) << "button " << id;
    }
    const HWND group = run.Control(IDC_FILES_GROUP);
    EXPECT_LE(font.Width(e2e::WindowText(group)) + 2 * font.baseX, WidthOf(group)) << "group box";
    const HWND label = run.Control(IDC_SCHEME_LABEL);
    EXPECT_LE(font.Width(e2e::WindowText(label)), WidthOf(label)) << "label";
    EXPECT_LE(font.height, HeightOf(label)) << "label";
    int widest = 0;
    for (const std::wstring& scheme : e2e::ComboBoxEntries(run.Schemes())) {
        widest = std::max(widest, font.Width(scheme));
    }
    EXPECT_LE(widest + GetSystemMetrics(SM_CXVSCROLL) + 2 * edge, WidthOf(run.Schemes()))
        << "scheme box";
    const auto rows = int(SendMessageW(run.List(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_GE(rows, font.height) << "list rows";
}

// Places of the dialog's controls in its client area, in tab order.
std::vector<RECT> Places(HWND dialog) {
    std::vector<RECT> places;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        places.push_back(r);
    }
    return places;
}

RECT FrameOf(HWND dialog) {
    RECT r{};
    GetWindowRect(dialog, &r);
    return r;
}

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

bool Same(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const RECT& x, const RECT& y) { return Same(x, y); });
}

void SaveShot(const std::wstring& name) {
    e2e::PumpFor(500);
    e2e::SaveBitmap(e2e::CaptureScreen(), e2e::BinDir() + L"e2e-dialog-dpi-" + name + L".bmp");
}

}  // namespace

TEST(DialogDpi, TextsFitTheirControlsAndTheDialogFollowsAnotherDpi) {
    const UINT dpi = ScreenDpi();
    const UINT other = dpi == 96 ? 144 : 96;
    // English, then the longest texts (German, Russian) and Japanese.
    const struct {
        std::optional<DWORD> language;
        const wchar_t* name;
    } languages[] = {{std::nullopt, L"en"}, {2, L"de"}, {1, L"ru"}, {6, L"ja"}};
    for (const auto& language : languages) {
        SCOPED_TRACE(language.name);
        e2e::CurLangValue chosen(language.language);
        ConfigSession run(L"dpi");
        if (language.language && !run.HasPackage()) {
            ASSERT_FALSE(e2e::BuildMakesPackage()) << "the build made no resource package";
            continue;
        }
        ASSERT_TRUE(run.Open());
        const HWND dialog = run.Dialog();
        const DialogFont font(dpi);
        // The dialog is laid out in this font: 53 dialog units of a button.
        EXPECT_EQ(WidthOf(run.Control(IDOK)), MulDiv(53, font.baseX, 4));
        // Its corner 100 pixels of a 100 % display left of and above the centre.
        RECT frame = FrameOf(dialog);
        EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXSCREEN) / 2 - MulDiv(100, int(dpi), 96));
        EXPECT_EQ(frame.top, GetSystemMetrics(SM_CYSCREEN) / 2 - MulDiv(100, int(dpi), 96));
        ExpectTextsFit(run, font);

        // At the screen's corner, so that the whole dialog shows in the
        // screenshots, with the longest scheme in the scheme box.
        SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SendMessageW(run.Schemes(), CB_SETCURSEL, 4, 0);
        frame = FrameOf(dialog);
        SaveShot(std::to_wstring(dpi) + L"-" + language.name);
        const std::vector<RECT> places = Places(dialog);
        const auto rows = SendMessageW(run.List(), LB_GETITEMHEIGHT, 0, 0);

        // Moved to a monitor of another DPI: the suggested rectangle, the
        // controls scaled, the font of that DPI in every control.
        const RECT moved{0, 0, MulDiv(frame.right, int(other), int(dpi)),
                         MulDiv(frame.bottom, int(other), int(dpi))};
        ASSERT_TRUE(e2e::SendDpiChange(dialog, other, moved));
        EXPECT_TRUE(Same(FrameOf(dialog), moved));
        const std::vector<RECT> scaled = Places(dialog);
        ASSERT_EQ(scaled.size(), places.size());
        for (size_t i = 0; i < places.size(); ++i) {
            EXPECT_NEAR(scaled[i].left, MulDiv(places[i].left, int(other), int(dpi)), 1) << i;
            EXPECT_NEAR(scaled[i].top, MulDiv(places[i].top, int(other), int(dpi)), 1) << i;
            EXPECT_NEAR(scaled[i].right, MulDiv(places[i].right, int(other), int(dpi)), 1) << i;
        }
        ExpectTextsFit(run, DialogFont(other));
        SaveShot(std::to_wstring(other) + L"-from-" + std::to_wstring(dpi) + L"-" + language.name);

        // And back: exactly where it was, with the rows it had.
        ASSERT_TRUE(e2e::SendDpiChange(dialog, dpi, frame));
        EXPECT_TRUE(Same(FrameOf(dialog), frame));
        EXPECT_TRUE(Same(Places(dialog), places));
        EXPECT_EQ(SendMessageW(run.List(), LB_GETITEMHEIGHT, 0, 0), rows);

        run.Push(IDCANCEL);
        ASSERT_TRUE(run.WaitForExit().has_value());
    }
}
