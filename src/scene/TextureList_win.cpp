#include "scene/TextureList_win.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <new>

#include "scene/RenderContext_win.h"

namespace WorkSpace {
namespace {

// Each level of a chain made on a decoding thread, rows packed without
// padding, top row first: t = 0 is the picture's top.
void UploadLevels(const MipChain& levels, int32_t name) {
    glBindTexture(GL_TEXTURE_2D, GLuint(name));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (size_t i = 0; i < levels.Levels(); ++i) {
        const MipLevel& level = levels.Level(i);
        glTexImage2D(GL_TEXTURE_2D, GLint(i), 3, level.width, level.height, 0, GL_BGR_EXT,
                     GL_UNSIGNED_BYTE, levels.Texels(i));
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

TextureEntry MadeEntry(const ImageHolder& holder, int32_t name) {
    TextureEntry entry;
    entry.name = name;
    entry.kind = TextureObject;
    entry.width = holder.width;
    entry.height = holder.height;
    return entry;
}

// Rows of 24-bit pixels are padded to four bytes, OpenGL's default unpack
// alignment, and handed over top row first: t = 0 is the picture's top.
TextureEntry MakeTexture(ImageHolder& holder, int32_t name, bool withAlpha) {
    TextureEntry entry;
    if (name < 0) return entry;
    if (!withAlpha && holder.levels.Levels() > 0) {
        if (GlReady()) UploadLevels(holder.levels, name);
        return MadeEntry(holder, name);
    }
    if (!holder.image) return entry;
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
    return MadeEntry(holder, name);
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
    holder.levels.Clear();
    entries_.push_back(entry);
    return int32_t(entries_.size() - 1);
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
