#include "config/DialogScaling_win.h"

#include "common/SystemLibrary_win.h"
#include "common/WindowDpi_win.h"
#include "config/DialogIds.h"

namespace WorkSpace {
namespace {

using DialogDpiBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
constexpr int kDialogManagerScalesNothing = 1;  // DDC_DISABLE_ALL (Windows 10 1703)

bool IsDropDown(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    return lstrcmpiW(name, L"ComboBox") == 0;
}

// Returns the control's rectangle in the dialog's client area; a drop-down
// list's includes the list it drops, as its size is given.
RECT PlaceOf(HWND dialog, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    RECT dropped{};
    if (IsDropDown(control) &&
        SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped))) {
        rect.bottom = rect.top + (dropped.bottom - dropped.top);
    }
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

void DialogScaling::Record(HWND dialog) {
    const auto noScaling = LookUp<DialogDpiBehaviorFn>(GetModuleHandleW(L"user32.dll"),
                                                       "SetDialogDpiChangeBehavior");
    if (noScaling) noScaling(dialog, kDialogManagerScalesNothing, kDialogManagerScalesNothing);
    baseDpi_ = DpiOfWindow(dialog);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    hasFont_ = font && GetObjectW(font, sizeof(baseFont_), &baseFont_) == int(sizeof(baseFont_));
    controls_.clear();
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        controls_.push_back({child, PlaceOf(dialog, child)});
    }
    font_.Reset();
}

bool DialogScaling::Apply(HWND dialog, uint32_t dpi, const RECT& suggested) {
    if (dpi == 0) return false;
    constexpr UINT kKeepOrder = SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, kKeepOrder);
    UniqueGdiObject font;
    if (hasFont_) {
        LOGFONTW scaled = baseFont_;
        scaled.lfHeight = -ScaleForDpi(DIALOG_FONT_POINTS, dpi, kPointsPerInch);
        font.Reset(CreateFontIndirectW(&scaled));
    }
    // Edges, not sizes, are scaled, so neighbours keep their gaps.
    const auto at = [&](LONG length) { return ScaleForDpi(length, dpi, baseDpi_); };
    for (const Control& control : controls_) {
        const RECT& r = control.rect;
        SetWindowPos(control.window, nullptr, at(r.left), at(r.top), at(r.right) - at(r.left),
                     at(r.bottom) - at(r.top), kKeepOrder);
        // A list box and a combo box size their rows from the font they are given.
        if (font) SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    }
    if (font) font_ = std::move(font);  // the earlier font is in no control any more
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return true;
}

}  // namespace WorkSpace
