#include "scene/SceneBuild_win.h"

#include <windows.h>

#include <new>

#include "host/FrameClock_win.h"
#include "resources/PackageMembers.h"
#include "resources/PictureDecoding_win.h"
#include "resources/ZipReader.h"
#include "scene/PictureLoader_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneModel.h"
#include "scene/TextureList_win.h"
#include "settings/PictureSettings_win.h"

namespace WorkSpace {
namespace {

std::vector<PictureInfo> LoadedPictures(const TextureList& list) {
    std::vector<PictureInfo> infos;
    infos.reserve(list.Count());
    for (size_t i = 0; i < list.Count(); ++i) {
        const TextureEntry& entry = list.At(i);
        infos.push_back({entry.kind == TextureObject, entry.width, entry.height, entry.name});
    }
    return infos;
}

}  // namespace

// Only the first 30 pictures that load can ever be on a quad, so loading stops
// there: a list of thousands starts as fast as a list of 30 and the 32-bit
// process never holds more than the textures that fly.
void LoadScenePictures(const std::vector<std::wstring>& pictures) {
    TextureList& list = TheTextureList();
    list.Clear();
    LoadPictures(pictures, size_t(kMaxSlots), MachineLoadWorkers(),
                 [&list](size_t index, ImageHolder& holder) {
                     return list.AddLoadedPicture(holder, int32_t(index)) >= 0;
                 });
    std::vector<PictureInfo> infos;
    try {
        infos = LoadedPictures(list);
    } catch (const std::bad_alloc&) {
        infos.clear();  // no memory for the records: an empty scene
    }
    FillSlots(TheScene(), infos, GetTickCount());
}

void PlaceLogo(UniqueImage image) {
    if (!image) return;
    const SIZE size = ImageSize(image.Get());
    if (size.cx <= 0 || size.cy <= 0) return;
    ImageHolder holder;
    holder.image = std::move(image);
    holder.width = size.cx;
    holder.height = size.cy;
    const int32_t name = TheTextureList().NextFreeName();
    if (MakeTextureRGBA(holder, name).kind != TextureObject) return;
    RECT client{0, 0, 0, 0};
    const HWND window = TheRenderContext().attachedWindow;
    if (window) GetClientRect(window, &client);
    SceneQuad& logo = TheScene().logo;
    logo.texture = name;
    logo.width = size.cx;
    logo.height = size.cy;
    logo.position = Vec4{0.0f, float(client.bottom - size.cy), 0.0f, 1.0f};
    logo.velocity = Vec4{0.0f, 0.0f, 0.0f, 1.0f};
}

bool BuildScene(const std::wstring& settingsPath, bool keepSettings) {
    FrameClock::Instance().Start();
    try {
        PictureSettings& settings = Settings();
        if (!keepSettings) {
            settings.pictures.clear();
            settings.Load(settingsPath);
            TheScene().scheme = settings.Scheme();
        }
        LoadScenePictures(settings.pictures);
    } catch (const std::bad_alloc&) {
        FillSlots(TheScene(), {}, 0);  // no memory to read the list: an empty scene
    }
    // No package or no logo in it: the scene flies without a logo.
    PlaceLogo(LoadPackageImage(kLogoMember, ZipReader::Instance()));
    return true;
}

}  // namespace WorkSpace
