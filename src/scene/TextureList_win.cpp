#include "scene/TextureList_win.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <new>

#include "scene/RenderContext_win.h"

namespace WorkSpace {
namespace {

// Rows of 24-bit pixels are padded to four bytes, OpenGL's default unpack
// alignment, and handed over top row first: t = 0 is the picture's top.
TextureEntry MakeTexture(ImageHolder& holder, int32_t name, bool withAlpha) {
    TextureEntry entry;
    if (name < 0 || !holder.image) return entry;
    const SIZE size = ImageSize(holder.image.Get());
    if (size.cx <= 0 || size.cy <= 0) return entry;
    PixelLock pixels(holder.image.Get(),
                     withAlpha ? PixelFormat32bppARGB : PixelFormat24bppRGB,
                     Gdiplus::ImageLockModeRead);
    // Without the locked rows there is nothing to upload: the picture is left out.
    if (!pixels) return entry;
    if (GlReady()) {
        glBindTexture(GL_TEXTURE_2D, GLuint(name));
        gluBuild2DMipmaps(GL_TEXTURE_2D, withAlpha ? 4 : 3, size.cx, size.cy,
                          withAlpha ? GL_BGRA_EXT : GL_BGR_EXT, GL_UNSIGNED_BYTE,
                          pixels.Pixels());
    }
    entry.name = name;
    entry.kind = TextureObject;
    entry.width = holder.width;
    entry.height = holder.height;
    return entry;
}

}  // namespace

TextureEntry MakeTextureRGB(ImageHolder& holder, int32_t name) {
    return MakeTexture(holder, name, false);
}

TextureEntry MakeTextureRGBA(ImageHolder& holder, int32_t name) {
    return MakeTexture(holder, name, true);
}

TextureList::TextureList() {
    StartImageServices();
    Clear();
}

namespace {

// Made when the process starts, so the image services run before any window
// or dialog draws with them.
TextureList processTextureList;

}  // namespace

TextureList& TheTextureList() { return processTextureList; }

int32_t TextureList::NextFreeName() const { return WorkSpace::NextFreeName(entries_); }

int32_t TextureList::AddLoadedPicture(ImageHolder& holder, int32_t name) {
    if (name < 0) name = NextFreeName();
    if (!Reserve()) return -1;
    const TextureEntry entry = MakeTextureRGB(holder, name);
    if (entry.kind != TextureObject) return -1;
    holder.image.Reset();
    entries_.push_back(entry);
    return int32_t(entries_.size() - 1);
}

bool TextureList::ReplacePicture(const std::vector<MipLevel>& chain, int32_t width,
                                 int32_t height, int32_t name, int32_t fresh) {
    if (chain.empty() || width <= 0 || height <= 0 || fresh < 0) return false;
    for (TextureEntry& entry : entries_) {
        if (entry.name != name || entry.kind != TextureObject) continue;
        if (GlReady()) {
            glBindTexture(GL_TEXTURE_2D, GLuint(fresh));
            for (size_t level = 0; level < chain.size(); ++level) {
                glTexImage2D(GL_TEXTURE_2D, GLint(level), 3, chain[level].width, chain[level].height,
                             0, GL_BGR_EXT, GL_UNSIGNED_BYTE, chain[level].pixels.data());
            }
            const GLuint old = GLuint(name);
            glDeleteTextures(1, &old);
        }
        entry = TextureEntry{fresh, TextureObject, width, height};
        return true;
    }
    return false;
}

bool TextureList::Reserve() {
    try {
        entries_.reserve(entries_.size() + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void TextureList::Clear() {
    while (!entries_.empty()) {
        const TextureEntry& entry = entries_.back();
        if (GlReady()) {
            const GLuint name = GLuint(entry.name);
            if (entry.kind == TextureObject) glDeleteTextures(1, &name);
        }
        entries_.pop_back();
    }
}

void TextureList::Release() {
    Clear();
    std::vector<TextureEntry>().swap(entries_);
}

void ReleaseTextureList() { TheTextureList().Release(); }

}  // namespace WorkSpace
