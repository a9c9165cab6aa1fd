#pragma once
// The flying-pictures scene: up to 30 picture rectangles in a box around the
// origin, the logo rectangle, the motion scheme in force and the state the
// schemes carry from tick to tick. Portable: time and the generator's seeds
// come in as arguments, so every step is reproducible.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace WorkSpace {

// Four 32-bit floats; w is 1 on positions and velocities and read by nothing.
struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

// One rectangle: a flying picture (world units, centred on position, parallel
// to the x-y plane) or the logo (window pixels, position = top-left corner).
struct SceneQuad {
    int32_t texture = -1;  // OpenGL texture name; negative: untextured
    double width = 0.0;
    double height = 0.0;
    Vec4 position;
    Vec4 velocity;
};

// What the slot filling is told about one loaded picture.
struct PictureInfo {
    bool isTexture = false;  // the texture-list entry is a texture
    int32_t width = 0;       // pixels, as decoded
    int32_t height = 0;      // pixels, as decoded
    int32_t name = 0;        // the texture name the picture was made under
};

// The C runtime's linear congruential generator, reproduced exactly so that a
// seed gives the same layout as the saver always gave.
struct RuntimeRandom {
    uint32_t state = 1;
    void Seed(uint32_t seed) { state = seed; }
    // Returns 0..32767.
    int32_t Next() {
        state = state * 214013u + 2531011u;
        return static_cast<int32_t>((state >> 16) & 0x7FFFu);
    }
};

enum MotionScheme : int32_t {
    Rotation = 0,
    Falling = 1,
    Approach = 2,
    Motion = 3,
    FallRotation = 4,
};

struct Scene {
    std::vector<SceneQuad> quads;  // flying pictures, by increasing z
    SceneQuad logo;                // untextured and 0 x 0 until a logo is found
    int32_t scheme = Rotation;     // any value outside 0..4 gives a still scene
    int32_t cyclePrevious = -1;    // Rotation: cycle position of the previous tick, ms 0..14999
    float approachOffset = 0.0f;   // Approach: camera drawn back along z, about -0.02..25.02
    float approachStep = 0.02f;    // Approach: change of approachOffset per tick
    float swayAngle = 0.01f;       // FallRotation: radians
    RuntimeRandom random;
    // Slots whose quad left the box on the last tick and came back at the
    // opposite face; room for every slot is kept, so a tick never allocates.
    std::vector<uint32_t> wrapped;
};

// Returns the process's scenes: one for each monitor the saver window covers,
// at least one. Every scene carries the scheme's camera state; they start
// alike and advance alike, so all monitors follow one camera path.
std::vector<Scene>& TheScenes();
// Returns the first monitor's scene: the only one of a preview or of one monitor.
Scene& TheScene();

// Makes `scenes` hold `count` scenes (at least one). A new scene starts empty,
// with the first scene's scheme and camera state; every scene takes the
// first one's scheme.
void SizeScenes(std::vector<Scene>& scenes, size_t count);

// Returns 30 slots, or 10 under Motion.
int32_t SlotCount(int32_t scheme);

// Most pictures that can be on a quad at once: more need not be loaded.
constexpr int32_t kMaxSlots = 30;

// Empties the scene's quads and fills the slots from the loaded pictures,
// seeding the generator with `seed` (the millisecond tick count). Slots cycle
// over the records that are textures; each quad takes the texture name of the
// record it shows. No usable record gives an empty scene. Returns false when
// memory for the quads could not be had (the scene is then empty).
bool FillSlots(Scene& scene, const std::vector<PictureInfo>& pictureInfos, uint32_t seed);

// Gives a quad another picture of `width` x `height` pixels: it keeps its
// slot, place, velocity and width, and takes the picture's proportions.
void SwapQuadPicture(SceneQuad& quad, int32_t width, int32_t height);

// Returns the pictures that monitor `monitor` (0 the first) flies, of those
// that loaded, in their order: [monitor x slots, (monitor + 1) x slots),
// wrapping round to the first when fewer loaded; never more than loaded, so
// the first monitor takes what one monitor always took.
std::vector<PictureInfo> MonitorPictures(const std::vector<PictureInfo>& loaded, size_t monitor,
                                         int32_t slots);

// Advances the scene by one tick under its scheme and writes the camera's eye
// point; `wrapped` then names the quads that wrapped around. `tickCount` is the millisecond tick count (wraps at 2^32),
// `calendarSeconds` the calendar time in whole seconds.
void AnimateScene(Scene& scene, Vec4& eye, uint32_t tickCount, int64_t calendarSeconds);

// Returns the seed of monitor `monitor` for a generator seeded with `seed` on
// one monitor: the first monitor's is `seed` itself, and the others lie far
// from it, so no monitor repeats another's draws a second later.
uint32_t MonitorSeed(uint32_t seed, size_t monitor);

// Advances every scene by one tick, as AnimateScene does, each scene drawing
// from its monitor's seed (MonitorSeed of the calendar second), so the
// monitors' pictures move apart while the eye point follows one path.
void AnimateScenes(std::vector<Scene>& scenes, Vec4& eye, uint32_t tickCount,
                   int64_t calendarSeconds);

// The camera's resting eye point, about (0.0014, 0, 30).
Vec4 RestingEye();

}  // namespace WorkSpace
