#pragma once
// The process's image services (GDI+, through its flat interface) and owners
// for the objects the saver makes with them: images, drawing surfaces, fonts,
// font families, brushes, string formats and memory streams.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "common/UniqueHandle.h"

namespace WorkSpace {

namespace Gdip = Gdiplus::DllExports;

// Returns true when the image services run: starts them on the first call
// (version 1, no debug callback, background thread and external codecs
// allowed). Every decoder calls it first, so a failed start leaves every
// picture out instead of calling into a library that is not there.
bool StartImageServices();
// Stops the image services if they run; called last when the process ends,
// after every image has been freed.
void ShutdownImageServices();

struct ImageTraits {
    using Handle = Gdiplus::GpImage*;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { Gdip::GdipDisposeImage(h); }
};
using UniqueImage = UniqueHandle<ImageTraits>;

struct GraphicsTraits {
    using Handle = Gdiplus::GpGraphics*;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { Gdip::GdipDeleteGraphics(h); }
};
using UniqueGraphics = UniqueHandle<GraphicsTraits>;

struct FontTraits {
    using Handle = Gdiplus::GpFont*;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { Gdip::GdipDeleteFont(h); }
};
using UniqueFont = UniqueHandle<FontTraits>;

// Generic families (GdipGetGenericFontFamilySansSerif) are deleted like named
// ones: GDI+ hands out a clone for each.
struct FontFamilyTraits {
    using Handle = Gdiplus::GpFontFamily*;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { Gdip::GdipDeleteFontFamily(h); }
};
using UniqueFontFamily = UniqueHandle<FontFamilyTraits>;

struct BrushTraits {
    using Handle = Gdiplus::GpBrush*;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { Gdip::GdipDeleteBrush(h); }
};
using UniqueBrush = UniqueHandle<BrushTraits>;

struct StringFormatTraits {
    using Handle = Gdiplus::GpStringFormat*;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { Gdip::GdipDeleteStringFormat(h); }
};
using UniqueStringFormat = UniqueHandle<StringFormatTraits>;

struct StreamTraits {
    using Handle = IStream*;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { h->Release(); }
};
using UniqueStream = UniqueHandle<StreamTraits>;

// Returns the image's size in pixels (its first frame), 0 x 0 when unknown.
SIZE ImageSize(Gdiplus::GpImage* image);

}  // namespace WorkSpace
