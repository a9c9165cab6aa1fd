#include "scene/SceneModel.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace WorkSpace {
namespace {

// The schemes' constants are used as written (1.57075 and 6.28, not pi/2 and
// 2 pi), so that the camera retraces the paths it always took.
constexpr double kRestAngle = 1.57075;       // radians
constexpr double kTurnAngle = 6.28;          // radians per Rotation turn
constexpr double kRestRadius = 30.0;         // world units
constexpr uint32_t kCycleMs = 15000;         // Rotation cycle
constexpr uint32_t kTurnMs = 5000;           // first part of the cycle: the camera turns
constexpr double kRotationSpeed = 0.0005;    // world units per ms of tick count, times velocity
constexpr double kFallStep = 0.01;           // per tick, times velocity
constexpr double kApproachStep = 0.005;      // per tick, times velocity
constexpr float kMotionStep = 0.01f;         // world units per tick along x
constexpr float kSmallBox = 20.0f;           // bound of Rotation, Falling, FallRotation
constexpr float kLargeBox = 25.0f;           // bound of Approach and Motion
constexpr float kApproachLimit = 25.0f;      // approachOffset turns back beyond 0..25
constexpr double kSwayStep = 0.01;           // radians per tick
constexpr double kSwayWidth = 20.0;          // world units
constexpr double kSwayDepth = 5.0;           // world units

// A coordinate that leaves -bound..bound comes back at the opposite bound itself.
float Wrap(float value, float bound) {
    if (value > bound) return -bound;
    if (value < -bound) return bound;
    return value;
}

void WrapQuad(Scene& scene, size_t slot, float bound) {
    SceneQuad& quad = scene.quads[slot];
    const Vec4 before = quad.position;
    quad.position.x = Wrap(quad.position.x, bound);
    quad.position.y = Wrap(quad.position.y, bound);
    quad.position.z = Wrap(quad.position.z, bound);
    if (before.x != quad.position.x || before.y != quad.position.y || before.z != quad.position.z) {
        if (scene.wrapped.size() < scene.wrapped.capacity()) scene.wrapped.push_back(uint32_t(slot));
    }
}

float Add(float value, double delta) { return static_cast<float>(value + delta); }

void StepRotation(Scene& scene, Vec4& eye, uint32_t cyclePosition) {
    double radius = kRestRadius;
    double height = 0.0;
    double angle = kRestAngle;
    if (cyclePosition < kTurnMs) {
        const double b = cyclePosition / double(kTurnMs);
        radius = kRestRadius + 200.0 * b * (1.0 - b);
        height = 100.0 * b * (1.0 - b);
        angle = kRestAngle + kTurnAngle * b;
    }
    eye.x = static_cast<float>(radius * std::cos(angle));
    eye.y = static_cast<float>(height);
    eye.z = static_cast<float>(radius * std::sin(angle));
    if (cyclePosition > kTurnMs && !scene.quads.empty()) {
        const float k = static_cast<float>(
            (int64_t(cyclePosition) - int64_t(scene.cyclePrevious)) * kRotationSpeed);
        for (size_t slot = 0; slot < scene.quads.size(); ++slot) {
            SceneQuad& quad = scene.quads[slot];
            quad.position.x = Add(quad.position.x, double(quad.velocity.x) * k);
            quad.position.y = Add(quad.position.y, double(quad.velocity.y) * k);
            quad.position.z = Add(quad.position.z, double(quad.velocity.z) * k);
            WrapQuad(scene, slot, kSmallBox);
        }
    }
    scene.cyclePrevious = static_cast<int32_t>(cyclePosition);
}

// Sinks every quad a little; about one in ten, chosen afresh each second,
// drops a whole unit on every tick of that second.
void FallQuads(Scene& scene) {
    for (size_t slot = 0; slot < scene.quads.size(); ++slot) {
        SceneQuad& quad = scene.quads[slot];
        quad.position.x = Add(quad.position.x, quad.velocity.x * kFallStep);
        const int32_t drop = (scene.random.Next() % 1000) / 900;
        quad.position.y = Add(quad.position.y, quad.velocity.y * kFallStep - drop);
        quad.position.z = Add(quad.position.z, quad.velocity.z * kFallStep);
        WrapQuad(scene, slot, kSmallBox);
    }
}

void StepApproach(Scene& scene, Vec4& eye) {
    scene.approachOffset = Add(scene.approachOffset, scene.approachStep);
    if (scene.approachOffset > kApproachLimit || scene.approachOffset < 0.0f) {
        scene.approachStep = -scene.approachStep;
    }
    eye = RestingEye();
    eye.z = static_cast<float>(kRestRadius * std::sin(kRestAngle) + scene.approachOffset);
    for (size_t slot = 0; slot < scene.quads.size(); ++slot) {
        SceneQuad& quad = scene.quads[slot];
        const float tanX = static_cast<float>(std::tan(double(quad.velocity.x)));
        const float tanY = static_cast<float>(std::tan(double(quad.velocity.y)));
        quad.position.x = Add(quad.position.x, tanX * kApproachStep);
        quad.position.y = Add(quad.position.y, tanY * kApproachStep);
        quad.position.z = Add(quad.position.z, quad.velocity.z * kApproachStep);
        WrapQuad(scene, slot, kLargeBox);
    }
}

void StepMotion(Scene& scene, Vec4& eye) {
    eye = RestingEye();
    for (size_t slot = 0; slot < scene.quads.size(); ++slot) {
        SceneQuad& quad = scene.quads[slot];
        quad.position.x = Add(quad.position.x, kMotionStep);
        quad.position.y = 0.0f;
        quad.position.z = Add(quad.position.z, quad.velocity.z * kFallStep);
        WrapQuad(scene, slot, kLargeBox);
    }
}

void StepFallRotation(Scene& scene, Vec4& eye) {
    scene.swayAngle = Add(scene.swayAngle, kSwayStep);
    const float c = static_cast<float>(std::cos(double(scene.swayAngle)));
    const float side = static_cast<float>(kSwayWidth * c);
    const float rest = static_cast<float>(kRestRadius * std::sin(kRestAngle));
    const float back = static_cast<float>(kSwayDepth * c);
    eye = RestingEye();
    eye.x = side;
    eye.z = rest - back;
    FallQuads(scene);
}

}  // namespace

std::vector<Scene>& TheScenes() {
    static std::vector<Scene> scenes(1);
    return scenes;
}

Scene& TheScene() { return TheScenes().front(); }

void SizeScenes(std::vector<Scene>& scenes, size_t count) {
    if (scenes.empty()) scenes.resize(1);
    const Scene& first = scenes.front();
    Scene fresh;
    fresh.scheme = first.scheme;
    fresh.cyclePrevious = first.cyclePrevious;
    fresh.approachOffset = first.approachOffset;
    fresh.approachStep = first.approachStep;
    fresh.swayAngle = first.swayAngle;
    scenes.resize(count < 1 ? 1 : count, fresh);
    for (Scene& scene : scenes) scene.scheme = fresh.scheme;
}

std::vector<PictureInfo> MonitorPictures(const std::vector<PictureInfo>& loaded, size_t monitor,
                                         int32_t slots) {
    std::vector<PictureInfo> pictures;
    if (loaded.empty() || slots <= 0) return pictures;
    const size_t count = std::min(loaded.size(), size_t(slots));
    const size_t first = monitor * size_t(slots);
    pictures.reserve(count);
    for (size_t k = 0; k < count; ++k) pictures.push_back(loaded[(first + k) % loaded.size()]);
    return pictures;
}

int32_t SlotCount(int32_t scheme) { return scheme == Motion ? 10 : kMaxSlots; }

Vec4 RestingEye() {
    Vec4 eye;
    eye.x = static_cast<float>(kRestRadius * std::cos(kRestAngle));
    eye.y = 0.0f;
    eye.z = static_cast<float>(kRestRadius * std::sin(kRestAngle));
    return eye;
}

// Slot j lies at depth 40 j / S - 20 and sinks at 1 + 2 j / S; its picture
// is the next usable record in turn, so a picture that failed to load leaves
// no gap and no quad shows a texture that was never made. With every picture
// loaded this is slot j showing picture j mod P, as the saver always did.
bool FillSlots(Scene& scene, const std::vector<PictureInfo>& pictureInfos, uint32_t seed) {
    std::vector<SceneQuad>().swap(scene.quads);
    scene.wrapped.clear();
    scene.random.Seed(seed);
    std::vector<const PictureInfo*> usable;
    const int32_t slots = SlotCount(scene.scheme);
    try {
        for (const PictureInfo& info : pictureInfos) {
            if (info.isTexture && info.width > 0 && info.height > 0) usable.push_back(&info);
        }
        if (usable.empty()) return true;
        scene.quads.reserve(size_t(slots));
        scene.wrapped.reserve(size_t(slots));
    } catch (const std::bad_alloc&) {
        std::vector<SceneQuad>().swap(scene.quads);
        return false;
    }
    for (int32_t j = 0; j < slots; ++j) {
        const PictureInfo& info = *usable[size_t(j) % usable.size()];
        SceneQuad quad;
        quad.width = double(scene.random.Next() % 5 + 5);
        quad.height = quad.width * info.height / info.width;
        quad.position.x = float(scene.random.Next() % 40 - 20);
        quad.position.y = float(scene.random.Next() % 40 - 20);
        quad.position.z = static_cast<float>(40.0 * j / slots - 20.0);
        quad.velocity.x = 0.0f;
        quad.velocity.y = static_cast<float>(-1.0 - 2.0 * j / slots);
        quad.velocity.z = 0.0f;
        quad.texture = info.name;
        scene.quads.push_back(quad);
    }
    return true;
}

// Rotation is timed by the tick count; the other schemes move a fixed amount
// per tick. Every scheme but Rotation seeds the generator with the calendar
// second, so all ticks of one second draw the same numbers.
void SwapQuadPicture(SceneQuad& quad, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return;
    quad.height = quad.width * height / width;
}

void AnimateScene(Scene& scene, Vec4& eye, uint32_t tickCount, int64_t calendarSeconds) {
    scene.wrapped.clear();
    const uint32_t cyclePosition = tickCount % kCycleMs;
    const uint32_t secondSeed = static_cast<uint32_t>(calendarSeconds);
    switch (scene.scheme) {
    case Rotation:
        StepRotation(scene, eye, cyclePosition);
        break;
    case Falling:
        scene.random.Seed(secondSeed);
        eye = RestingEye();
        FallQuads(scene);
        break;
    case Approach:
        scene.random.Seed(secondSeed);
        StepApproach(scene, eye);
        break;
    case Motion:
        scene.random.Seed(secondSeed);
        StepMotion(scene, eye);
        break;
    case FallRotation:
        scene.random.Seed(secondSeed);
        StepFallRotation(scene, eye);
        break;
    default:
        break;
    }
}

uint32_t MonitorSeed(uint32_t seed, size_t monitor) {
    constexpr uint32_t kSeedStep = 0x9E3779B9u;  // 2^32 over the golden ratio
    return seed + uint32_t(monitor) * kSeedStep;
}

void AnimateScenes(std::vector<Scene>& scenes, Vec4& eye, uint32_t tickCount,
                   int64_t calendarSeconds) {
    for (size_t m = 0; m < scenes.size(); ++m) {
        AnimateScene(scenes[m], eye, tickCount, MonitorSeed(uint32_t(calendarSeconds), m));
    }
}

}  // namespace WorkSpace
