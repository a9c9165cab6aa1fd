#include "config/PictureListBox_win.h"

#include "common/DpiScale.h"
#include "common/Handles_win.h"
#include "common/WindowDpi_win.h"
#include "config/ConfigDialog_win.h"
#include "config/DialogIds.h"
#include "config/FileChooser_win.h"
#include "resources/ImageServices_win.h"
#include "resources/PackageMembers.h"
#include "resources/PictureDecoding_win.h"
#include "resources/ZipReader.h"
#include "settings/Paths_win.h"
#include "settings/TextStorage_win.h"

namespace WorkSpace {

namespace {

// Context menu commands, returned by the menu itself (no WM_COMMAND is sent).
constexpr UINT kMenuAdd = 343500;
constexpr UINT kMenuRemove = 343600;
constexpr UINT kMenuRemoveAll = 343700;

constexpr Gdiplus::ARGB kHintColor = 0xDC000040;  // alpha 220, dark blue
constexpr Gdiplus::ARGB kHintGround = 0xFFFFFFFF;
constexpr int32_t kHintFontPoints = 15;
// Layout rectangles in pixels of a 100 % display, fixed whatever the list
// box's size; scaled, like the font, to the list box's DPI.
const Gdiplus::RectF kHintTitleRect{0.0f, 0.0f, 400.0f, 50.0f};
const Gdiplus::RectF kHintBodyRect{20.0f, 30.0f, 330.0f, 150.0f};
// The brush is a gradient between two equal colours over this square, pixels.
const Gdiplus::RectF kHintBrushRect{0.0f, 0.0f, 400.0f, 400.0f};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { DestroyMenu(h); }
};
using UniqueMenu = UniqueHandle<MenuTraits>;

WNDPROC& SavedListBoxProc() {
    static WNDPROC saved = nullptr;
    return saved;
}

// The background picture of the user's language; English for an unknown or
// unreadable language.
UniqueImage LoadListBoxBackground() {
    return LoadPackageImage(ListBoxPictureMember(InterfaceLanguage()), ZipReader::Instance());
}

// An off-screen bitmap of the client's size that matches `surface`, drawn on
// by the caller and then copied to the list box in one step.
struct OffscreenBitmap {
    UniqueImage bitmap;
    UniqueGraphics graphics;
    bool Create(Gdiplus::GpGraphics* surface, INT width, INT height) {
        Gdiplus::GpBitmap* made = nullptr;
        if (Gdip::GdipCreateBitmapFromGraphics(width, height, surface, &made) != Gdiplus::Ok) {
            return false;
        }
        bitmap.Reset(made);
        Gdiplus::GpGraphics* onBitmap = nullptr;
        if (Gdip::GdipGetImageGraphicsContext(bitmap.Get(), &onBitmap) != Gdiplus::Ok) return false;
        graphics.Reset(onBitmap);
        return true;
    }
    void CopyTo(Gdiplus::GpGraphics* surface, INT width, INT height) {
        graphics.Reset();  // drawing on the bitmap is finished
        Gdip::GdipDrawImagePointRectI(surface, bitmap.Get(), 0, 0, 0, 0, width, height,
                                      Gdiplus::UnitPixel);
    }
};

// "Tahoma"; else the platform's generic sans-serif family; else the family
// of the list's own font, so that a system with neither still shows the hint.
UniqueFontFamily HintFontFamily(HWND listBox, HDC dc) {
    Gdiplus::GpFontFamily* family = nullptr;
    if (Gdip::GdipCreateFontFamilyFromName(L"Tahoma", nullptr, &family) == Gdiplus::Ok ||
        Gdip::GdipGetGenericFontFamilySansSerif(&family) == Gdiplus::Ok) {
        return UniqueFontFamily(family);
    }
    const auto listFont = reinterpret_cast<HFONT>(SendMessageW(listBox, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = SelectObject(dc, listFont ? listFont : GetStockObject(DEFAULT_GUI_FONT));
    Gdiplus::GpFont* dcFont = nullptr;
    Gdip::GdipCreateFontFromDC(dc, &dcFont);
    SelectObject(dc, previous);
    const UniqueFont font(dcFont);
    family = nullptr;
    if (font) Gdip::GdipGetFamily(font.Get(), &family);
    return UniqueFontFamily(family);
}

Gdiplus::RectF ScaledRect(const Gdiplus::RectF& rect, uint32_t dpi) {
    const auto at = [dpi](float length) { return float(ScaleForDpi(int32_t(length), dpi)); };
    return {at(rect.X), at(rect.Y), at(rect.Width), at(rect.Height)};
}

void DrawHintTexts(HWND listBox, HDC dc, Gdiplus::GpGraphics* surface, INT width, INT height) {
    OffscreenBitmap offscreen;
    if (!offscreen.Create(surface, width, height)) return;
    Gdip::GdipSetPageUnit(surface, Gdiplus::UnitPixel);

    Gdiplus::GpLineGradient* gradient = nullptr;
    Gdip::GdipCreateLineBrushFromRect(&kHintBrushRect, kHintColor, kHintColor,
                                      Gdiplus::LinearGradientModeBackwardDiagonal,
                                      Gdiplus::WrapModeTile, &gradient);
    UniqueBrush brush(gradient);
    Gdiplus::GpStringFormat* madeFormat = nullptr;
    Gdip::GdipCreateStringFormat(0, LANG_NEUTRAL, &madeFormat);
    UniqueStringFormat format(madeFormat);
    if (format) {
        Gdip::GdipSetStringFormatAlign(format.Get(), Gdiplus::StringAlignmentCenter);
        Gdip::GdipSetStringFormatLineAlign(format.Get(), Gdiplus::StringAlignmentCenter);
    }
    const UniqueFontFamily family = HintFontFamily(listBox, dc);
    // In pixels at the list box's own DPI: points would follow the device
    // context's, which is the system's, not the monitor's.
    const uint32_t dpi = DpiOfWindow(listBox);
    Gdiplus::GpFont* madeFont = nullptr;
    if (family) {
        Gdip::GdipCreateFont(family.Get(), float(ScaleForDpi(kHintFontPoints, dpi, kPointsPerInch)),
                             Gdiplus::FontStyleRegular, Gdiplus::UnitPixel, &madeFont);
    }
    UniqueFont font(madeFont);

    Gdip::GdipGraphicsClear(offscreen.graphics.Get(), kHintGround);
    if (brush && font) {
        const std::wstring title = Text(Translate::kTextEmptyListTitle);
        const std::wstring body = Text(Translate::kTextEmptyListBody);
        const Gdiplus::RectF titleRect = ScaledRect(kHintTitleRect, dpi);
        const Gdiplus::RectF bodyRect = ScaledRect(kHintBodyRect, dpi);
        Gdip::GdipDrawString(offscreen.graphics.Get(), title.c_str(), INT(title.size()), font.Get(),
                             &titleRect, format.Get(), brush.Get());
        Gdip::GdipDrawString(offscreen.graphics.Get(), body.c_str(), INT(body.size()), font.Get(),
                             &bodyRect, format.Get(), brush.Get());
    }
    offscreen.CopyTo(surface, width, height);
}

void DrawBackground(Gdiplus::GpGraphics* surface, Gdiplus::GpImage* picture, INT width,
                    INT height) {
    OffscreenBitmap offscreen;
    if (!offscreen.Create(surface, width, height)) return;
    Gdip::GdipDrawImageRect(offscreen.graphics.Get(), picture, 0.0f, 0.0f, float(width),
                            float(height));
    offscreen.CopyTo(surface, width, height);
}

// Paints the empty list: its background picture, or the hints without one.
// The whole client area is then valid, so the list's own painting adds nothing.
void PaintEmptyList(HWND listBox) {
    {
        WindowDC dc(listBox);
        if (dc) {
            RECT client{};
            GetClientRect(listBox, &client);
            Gdiplus::GpGraphics* made = nullptr;
            if (StartImageServices() && Gdip::GdipCreateFromHDC(dc.Get(), &made) == Gdiplus::Ok) {
                UniqueGraphics surface(made);
                const UniqueImage picture = LoadListBoxBackground();
                if (picture) {
                    DrawBackground(surface.Get(), picture.Get(), client.right, client.bottom);
                } else {
                    DrawHintTexts(listBox, dc.Get(), surface.Get(), client.right, client.bottom);
                }
                Gdip::GdipFlush(surface.Get(), Gdiplus::FlushIntentionFlush);
            }
        }
    }
    ValidateRect(listBox, nullptr);
}

void ShowContextMenu(HWND listBox, WPARAM wParam, LPARAM lParam) {
    // The entry under the pointer becomes selected, as with a left click.
    SendMessageW(listBox, WM_LBUTTONDOWN, wParam, lParam);
    POINT at{};
    GetCursorPos(&at);
    UniqueMenu owner(CreatePopupMenu());
    const HMENU menu = owner.Get();
    if (!menu) return;
    AppendMenuW(menu, MF_STRING, kMenuAdd, Text(Translate::kTextAdd).c_str());
    AppendMenuW(menu, MF_STRING, kMenuRemove, Text(Translate::kTextRemove).c_str());
    AppendMenuW(menu, MF_STRING, kMenuRemoveAll, Text(Translate::kTextRemoveAll).c_str());
    SetForegroundWindow(listBox);
    const UINT chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0,
                                            GetParent(listBox), nullptr));
    const HWND dialog = ConfigDialogWindow();
    const HWND list = GetDlgItem(dialog, IDC_PICTURE_LIST);
    switch (chosen) {
    case kMenuAdd:
        AddPictures(list, ChoosePictureFiles(dialog, kImageFilesText, kListMenuPattern));
        break;
    case kMenuRemove:
        RemoveSelectedPicture(list);
        break;
    case kMenuRemoveAll:
        RemoveAllPictures(list);
        break;
    default:
        break;  // dismissed
    }
    owner.Reset();
    InvalidateRect(listBox, nullptr, TRUE);
    InvalidateRect(dialog, nullptr, TRUE);
}

LRESULT CALLBACK PictureListBoxProc(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_PAINT && SendMessageW(listBox, LB_GETCOUNT, 0, 0) == 0) {
            PaintEmptyList(listBox);
        } else if (message == WM_RBUTTONDOWN) {
            ShowContextMenu(listBox, wParam, lParam);
        }
    } catch (...) {
        // Out of memory while painting or adding: the list box carries on as it is.
    }
    return CallWindowProcW(SavedListBoxProc(), listBox, message, wParam, lParam);
}

}  // namespace

void InstallPictureListBox(HWND listBox) {
    if (!listBox) return;
    SavedListBoxProc() = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(listBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PictureListBoxProc)));
}

}  // namespace WorkSpace
