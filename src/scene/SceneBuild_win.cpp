#include "scene/SceneBuild_win.h"

#include <windows.h>
#include <GL/gl.h>

#include <algorithm>
#include <new>

#include "common/DpiScale.h"
#include "common/WindowDpi_win.h"
#include "scene/FrameClock_win.h"
#include "scene/Monitors_win.h"
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

// Returns the load of the first pictures that can fly into the emptied
// texture list: only the first `wanted` that load can ever be on a quad, so
// loading stops there, and a list of thousands starts as fast as a short one.
std::unique_ptr<PictureLoad> StartPictureLoad(const std::vector<std::wstring>& pictures,
                                              size_t wanted, size_t workers) {
    TextureList& list = TheTextureList();
    list.Clear();
    return std::make_unique<PictureLoad>(
        pictures, wanted, workers,
        [&list](size_t index, ImageHolder& holder) {
            return list.AddLoadedPicture(holder, int32_t(index)) >= 0;
        },
        &ThePictureCache(), SceneTextureRules());
}

// Returns as many pictures as the scenes can fly at once: every monitor's slots.
size_t PicturesWanted() { return size_t(kMaxSlots) * TheScenes().size(); }

// Makes one scene for each monitor of the attached window, all under the
// first scene's scheme.
void SizeScenesToMonitors() {
    SizeScenes(TheScenes(), TheRenderContext().monitors.size());
}

// Fills every monitor's slots from what the finished load made, each monitor
// with its share of the pictures (MonitorPictures) and a seed of its own.
void FillSlotsFromTextures() {
    std::vector<PictureInfo> infos;
    try {
        infos = LoadedPictures(TheTextureList());
    } catch (const std::bad_alloc&) {
        infos.clear();  // no memory for the records: an empty scene
    }
    std::vector<Scene>& scenes = TheScenes();
    const uint32_t seed = GetTickCount();
    for (size_t m = 0; m < scenes.size(); ++m) {
        std::vector<PictureInfo> share;
        try {
            share = MonitorPictures(infos, m, SlotCount(scenes[m].scheme));
        } catch (const std::bad_alloc&) {
            share.clear();
        }
        FillSlots(scenes[m], share, MonitorSeed(seed, m));
    }
}

// Fills every monitor's slots with untextured 4:3 stand-ins, so that the
// frames drawn while the pictures load (the probe's) cost what the scenes' will.
void FillWithStandIns() {
    const std::vector<PictureInfo> standIn(1, PictureInfo{true, 4, 3, -1});
    std::vector<Scene>& scenes = TheScenes();
    const uint32_t seed = GetTickCount();
    for (size_t m = 0; m < scenes.size(); ++m) FillSlots(scenes[m], standIn, MonitorSeed(seed, m));
}

void FinishScene() {
    // No package or no logo in it: the scene flies without a logo.
    PlaceLogo(LoadPackageImage(kLogoMember, ZipReader::Instance()));
}

}  // namespace

// Returns the texture rule of each slot of every monitor, monitor after
// monitor (picture i fills the slots of monitor i / slots when all load): each
// monitor's slots sized for the largest monitor, within an equal share of the
// budget. Without an attached window (the settings dialog's OK), for the
// monitors a saver would cover, so its entries are the ones the next start
// looks for.
std::vector<TextureSideRule> SceneTextureRules() {
    const HWND window = TheRenderContext().attachedWindow;
    const std::vector<MonitorRect> monitors =
        window && IsWindow(window) ? TheRenderContext().monitors : ScreenMonitors();
    MonitorRect largest;
    for (const MonitorRect& monitor : monitors) {
        if (int64_t(monitor.Width()) * monitor.Height() >
            int64_t(largest.Width()) * largest.Height()) {
            largest = monitor;
        }
    }
    GLint largestSide = kMaxScreenTextureSide;
    if (GlReady()) glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestSide);
    const size_t count = monitors.empty() ? 1 : monitors.size();
    const std::vector<TextureSideRule> slots =
        SlotTextureRules(TheScene().scheme, largest.Width(), largest.Height(),
                         int32_t(largestSide), kTextureBudgetBytes / count);
    std::vector<TextureSideRule> rules;
    for (size_t m = 0; m < count; ++m) rules.insert(rules.end(), slots.begin(), slots.end());
    return rules;
}

void LoadScenePictures(const std::vector<std::wstring>& pictures) {
    SizeScenesToMonitors();
    std::unique_ptr<PictureLoad> load =
        StartPictureLoad(pictures, PicturesWanted(), MachineLoadWorkers());
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
    // One monitor: the logo sits on the window's bottom edge as measured now.
    // Several: on each monitor's own bottom edge, in that monitor's pixels.
    RECT client{0, 0, 0, 0};
    const HWND window = TheRenderContext().attachedWindow;
    if (window) GetClientRect(window, &client);
    // The logo's pixels are those of a 100 % display: it keeps that size on
    // screen at the DPI of the monitor that shows the window.
    const uint32_t dpi = DpiOfWindow(window);
    const int32_t width = ScaleForDpi(size.cx, dpi), height = ScaleForDpi(size.cy, dpi);
    const std::vector<MonitorRect>& monitors = TheRenderContext().monitors;
    std::vector<Scene>& scenes = TheScenes();
    for (size_t m = 0; m < scenes.size(); ++m) {
        const int32_t bottom = scenes.size() > 1 && m < monitors.size() ? monitors[m].Height()
                                                                         : client.bottom;
        SceneQuad& logo = scenes[m].logo;
        logo.texture = name;
        logo.width = width;
        logo.height = height;
        logo.position = Vec4{0.0f, float(bottom - height), 0.0f, 1.0f};
        logo.velocity = Vec4{0.0f, 0.0f, 0.0f, 1.0f};
    }
}

void SceneBuilder::Start(const std::wstring& settingsPath, bool keepSettings, size_t workers,
                         bool keepTurns) {
    Abandon();
    order_.reset();
    building_ = true;
    workers_ = workers;
    FrameClock::Instance().Start();
    try {
        PictureSettings& settings = Settings();
        if (!keepSettings) {
            settings.pictures.clear();
            settings.Load(settingsPath);
            TheScene().scheme = settings.Scheme();
        }
        SizeScenesToMonitors();
        gathering_.Start(settings.pictures, size_t(SlotCount(TheScene().scheme)) * TheScenes().size(),
                         keepTurns);
        listRead_ = true;
        FillWithStandIns();
        LoadStarted();
    } catch (const std::bad_alloc&) {
        gathering_.Abandon();  // no memory to read the list: the next Step completes an empty scene
        listRead_ = false;
    }
}

bool SceneBuilder::LoadStarted() {
    if (load_) return true;
    if (!gathering_.Ready(start_)) return false;
    // A collection that fits the slots loads as a list of files always did;
    // a larger one loads only as many as fly at once.
    const size_t wanted = start_.order ? size_t(SlotCount(TheScene().scheme)) * TheScenes().size()
                                       : PicturesWanted();
    load_ = StartPictureLoad(start_.pictures, wanted, workers_);
    return true;
}

void SceneBuilder::SettleTurns() {
    if (!start_.order) return;
    const size_t taken = std::min(load_->Report().taken, start_.turns.size());
    try {
        for (size_t i = 0; i < taken; ++i) start_.order->MarkFlown(start_.turns[i]);
        start_.order->GiveBack({start_.turns.begin() + ptrdiff_t(taken), start_.turns.end()});
    } catch (const std::bad_alloc&) {
        return;  // no memory to keep the order: the collection does not go round this run
    }
    order_ = std::move(start_.order);
}

bool SceneBuilder::Step() {
    if (!building_) return true;
    try {
        if (listRead_ && !LoadStarted()) return false;
    } catch (const std::bad_alloc&) {
        listRead_ = false;  // no memory for the load: the scene completes empty
    }
    if (listRead_) {
        if (!load_->Step()) return false;
        SettleTurns();
        load_.reset();
        start_ = StartPictures();
        FillSlotsFromTextures();
    } else {
        for (Scene& scene : TheScenes()) FillSlots(scene, {}, 0);
    }
    building_ = false;
    FinishScene();
    return true;
}

void SceneBuilder::Wait() {
    if (!building_ || !listRead_) return;
    if (!load_) {
        gathering_.Wait();
    } else {
        load_->WaitForPicture();
    }
}

bool BuildScene(const std::wstring& settingsPath, bool keepSettings) {
    SceneBuilder builder;
    builder.Start(settingsPath, keepSettings, MachineLoadWorkers());
    while (!builder.Step()) builder.Wait();
    return true;
}

}  // namespace WorkSpace
