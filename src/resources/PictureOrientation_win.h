#pragma once
// Phone and camera photos upright: the EXIF orientation of a picture file,
// applied to its decoded image before anything else is done with it.
#include <string>

#include "resources/ImageServices_win.h"

namespace WorkSpace {

// Returns the EXIF orientation (1 to 8) of the picture file at `path`, read
// from its first bytes; 1 when the file has none or cannot be read.
int32_t ReadPictureOrientation(const std::wstring& path);

// Turns `image` upright for `orientation`. Returns false, leaving the image as
// decoded, when GDI+ refuses; true when nothing needed doing.
bool TurnUpright(Gdiplus::GpImage* image, int32_t orientation);

}  // namespace WorkSpace
