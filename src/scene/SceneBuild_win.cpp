#include "scene/SceneBuild_win.h"

#include <windows.h>
#include <GL/gl.h>

#include <new>

#include "common/DpiScale.h"
#include "common/WindowDpi_win.h"
#include "scene/FrameClock_win.h"
#include "resources/PackageMembers.h"
#include "resources/PictureDecoding_win.h"
#include "resources/ZipReader.h"
#include "scene/PictureLoader_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneModel.h"
#include "scene/TexturePlan.h"
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

// Returns the texture rule of each slot for the attached window, or, with
// none (the settings dialog's OK), for the virtual screen a saver would
// cover, so its entries are the ones the next start looks for.
std::vector<TextureSideRule> SceneTextureRules() {
    RECT client{0, 0, 0, 0};
    const HWND window = TheRenderContext().attachedWindow;
    if (!window || !IsWindow(window) || !GetClientRect(window, &client)) {
        client = RECT{0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    }
    GLint largest = kMaxScreenTextureSide;
    if (GlReady()) glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    return SlotTextureRules(TheScene().scheme, client.right - client.left, client.bottom - client.top,
                            int32_t(largest), kTextureBudgetBytes);
}

// Returns the load of the first pictures that can fly into the emptied
// texture list: only the first 30 that load can ever be on a quad, so loading
// stops there, and a list of thousands starts as fast as a list of 30.
std::unique_ptr<PictureLoad> StartPictureLoad(const std::vector<std::wstring>& pictures,
                                              size_t workers) {
    TextureList& list = TheTextureList();
    list.Clear();
    return std::make_unique<PictureLoad>(
        pictures, size_t(kMaxSlots), workers,
        [&list](size_t index, ImageHolder& holder) {
            return list.AddLoadedPicture(holder, int32_t(index)) >= 0;
        },
        &ThePictureCache(), SceneTextureRules());
}

// Fills the slots from what the finished load made.
void FillSlotsFromTextures() {
    std::vector<PictureInfo> infos;
    try {
        infos = LoadedPictures(TheTextureList());
    } catch (const std::bad_alloc&) {
        infos.clear();  // no memory for the records: an empty scene
    }
    FillSlots(TheScene(), infos, GetTickCount());
}

// Fills the slots with untextured 4:3 stand-ins, so that the frames drawn
// while the pictures load (the probe's) cost what the scene's will.
void FillWithStandIns() {
    const std::vector<PictureInfo> standIn(1, PictureInfo{true, 4, 3, -1});
    FillSlots(TheScene(), standIn, GetTickCount());
}

void FinishScene() {
    // No package or no logo in it: the scene flies without a logo.
    PlaceLogo(LoadPackageImage(kLogoMember, ZipReader::Instance()));
}

}  // namespace

void LoadScenePictures(const std::vector<std::wstring>& pictures) {
    std::unique_ptr<PictureLoad> load = StartPictureLoad(pictures, MachineLoadWorkers());
    while (!load->Step()) load->WaitForPicture();
    load->WaitForThreads();
    FillSlotsFromTextures();
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
    // The logo's pixels are those of a 100 % display: it keeps that size on
    // screen at the DPI of the monitor that shows the window.
    const uint32_t dpi = DpiOfWindow(window);
    SceneQuad& logo = TheScene().logo;
    logo.texture = name;
    logo.width = ScaleForDpi(size.cx, dpi);
    logo.height = ScaleForDpi(size.cy, dpi);
    logo.position = Vec4{0.0f, float(client.bottom - logo.height), 0.0f, 1.0f};
    logo.velocity = Vec4{0.0f, 0.0f, 0.0f, 1.0f};
}

void SceneBuilder::Start(const std::wstring& settingsPath, bool keepSettings, size_t workers) {
    load_.reset();
    building_ = true;
    FrameClock::Instance().Start();
    try {
        PictureSettings& settings = Settings();
        if (!keepSettings) {
            settings.pictures.clear();
            settings.Load(settingsPath);
            TheScene().scheme = settings.Scheme();
        }
        load_ = StartPictureLoad(settings.pictures, workers);
        FillWithStandIns();
    } catch (const std::bad_alloc&) {
        load_.reset();  // no memory to read the list: the next Step completes an empty scene
    }
}

bool SceneBuilder::Step() {
    if (!building_) return true;
    if (load_) {
        if (!load_->Step()) return false;
        load_.reset();
        FillSlotsFromTextures();
    } else {
        FillSlots(TheScene(), {}, 0);
    }
    building_ = false;
    FinishScene();
    return true;
}

void SceneBuilder::Wait() {
    if (load_) load_->WaitForPicture();
}

bool BuildScene(const std::wstring& settingsPath, bool keepSettings) {
    SceneBuilder builder;
    builder.Start(settingsPath, keepSettings, MachineLoadWorkers());
    while (!builder.Step()) builder.Wait();
    return true;
}

}  // namespace WorkSpace
