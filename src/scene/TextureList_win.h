#pragma once
// The register of the OpenGL textures made from pictures, with each picture's
// decoded size. Texture names are chosen by the program: picture i of the
// list is made under the name i, and the logo takes the next name above.
#include <cstdint>
#include <string>
#include <vector>

#include "resources/PictureDecoding_win.h"
#include "scene/TextureEntry.h"

namespace WorkSpace {

class TextureList {
public:
    // Starts the image services for the process and begins empty.
    TextureList();
    TextureList(const TextureList&) = delete;
    TextureList& operator=(const TextureList&) = delete;

    // Returns the new entry's index after making the texture of a picture
    // LoadPictureFile decoded into `holder` under `name` (NextFreeName() when
    // negative); the holder's image is released once its texture is made.
    // Returns -1 and adds nothing when no texture or no memory for the entry
    // can be had.
    int32_t AddLoadedPicture(ImageHolder& holder, int32_t name);
    // Returns true after making the mipmap levels of a picture of `width` x
    // `height` pixels (as decoded) the entry named `name`'s picture under the
    // new name `fresh`, and deleting the old texture: one copy per level,
    // nothing computed. A texture the frame being drawn may still read is
    // never written, so the renderer need not finish that frame first.
    // The holder's mipmap levels (MakeMipLevels) are uploaded from the first
    // that fits `shape`, so a picture decoded for the nearest slot takes no
    // more texture memory in a farther one.
    bool ReplacePicture(const ImageHolder& holder, const TextureShape& shape, int32_t name,
                        int32_t fresh);
    int32_t NextFreeName() const;
    // Deletes every entry, last first; OpenGL objects only while a context is ready.
    void Clear();
    // Releases the entries' storage as well; for the end of the process.
    void Release();

    size_t Count() const { return entries_.size(); }
    const TextureEntry& At(size_t index) const { return entries_[index]; }

private:
    // Returns false when no memory for one more entry can be had.
    bool Reserve();

    std::vector<TextureEntry> entries_;
};

TextureList& TheTextureList();

// Returns the entry of a 3-component (RGB) texture made from the holder's
// image under `name`, or an empty entry. Without a ready context nothing is
// uploaded, but the entry still carries the holder's size.
TextureEntry MakeTextureRGB(ImageHolder& holder, int32_t name);
// The same with a 4-component texture keeping the image's alpha (the logo).
TextureEntry MakeTextureRGBA(ImageHolder& holder, int32_t name);

// Empties the texture list for the end of the process (after the OpenGL
// context has been released, so no OpenGL call is made).
void ReleaseTextureList();

}  // namespace WorkSpace
