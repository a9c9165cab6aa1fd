// Sharpness benchmark: the texture side of a 12-MP photo in the nearest slot
// on screens of 1920 x 1080 and 3840 x 2160, and the contrast of fine stripes
// in that slot as the window shows them, the flight stopped, with textures
// sized from the screen and with the classic table of at most 256 texels.
// Leaves both captures beside the working folder (stripes-*.bmp). Prints
// figures only; run it through `make bench` on a screen of 1920 x 1080.
#include <windows.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport_win.h"
#include "e2e/driver/Driver.h"
#include "resources/ImageServices_win.h"
#include "scene/PictureLoader_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneFrame_win.h"
#include "scene/SceneModel.h"
#include "scene/TextureList_win.h"
#include "scene/TexturePlan.h"

using namespace WorkSpace;
using namespace bench;

namespace {

constexpr int32_t kNearestSlot = kMaxSlots - 1;

int32_t NearestTextureSide(int32_t width, int32_t height, int32_t largest) {
    const std::vector<TextureSideRule> rules =
        SlotTextureRules(Rotation, width, height, largest, kTextureBudgetBytes);
    return rules[size_t(kNearestSlot)].Shape(4000, 3000).width;
}

// Returns the Michelson contrast of the stripes picture flown alone in the
// nearest slot at its widest (9 units), centred, seen from the resting eye:
// the 95th and 5th percentiles of the green channel along the middle row of
// the quad's inner half, as the screen shows it.
double StripeContrast(const std::wstring& stripes, std::vector<TextureSideRule> rules,
                      const wchar_t* capture) {
    TextureList& list = TheTextureList();
    list.Clear();
    PictureLoad load({stripes}, 1, 1,
                     [&list](size_t index, ImageHolder& holder) {
                         return list.AddLoadedPicture(holder, int32_t(index)) >= 0;
                     },
                     nullptr, std::move(rules));
    while (!load.Step()) load.WaitForPicture();
    if (list.Count() != 1) return -1.0;
    Scene& scene = TheScene();
    const TextureEntry& entry = list.At(0);
    FillSlots(scene, {{true, entry.width, entry.height, entry.name}}, 1);
    SceneQuad quad = scene.quads[size_t(kNearestSlot)];
    quad.width = 9.0;
    quad.height = 9.0 * entry.height / entry.width;
    quad.position.x = 0.0f;
    quad.position.y = 0.0f;
    scene.quads = {quad};
    TheCamera().eye = RestingEye();
    RenderFrame(false);
    glFinish();
    e2e::PumpFor(100);
    const e2e::Screenshot shot = e2e::CaptureScreen();
    if (shot.pixels.empty()) return -1.0;
    e2e::SaveBitmap(shot, capture);
    std::vector<int> green;
    const int32_t middle = shot.height / 2;
    for (int32_t x = shot.width * 3 / 8; x < shot.width * 5 / 8; ++x) {
        green.push_back(int((shot.At(x, middle) >> 8) & 0xFF));
    }
    std::sort(green.begin(), green.end());
    const double low = green[green.size() / 20], high = green[green.size() * 19 / 20];
    return high + low > 0 ? (high - low) / (high + low) : 0.0;
}

}  // namespace

int main() {
    const std::wstring stripes = Argument(1);
    if (stripes.empty()) {
        std::fprintf(stderr, "usage: sharpness_bench_win <stripes picture of 4000 x 3000>\n");
        return 2;
    }
    HWND window = MakeWindow(1920, 1080);
    if (!AttachWindow(window) || !SetupProjection()) {
        std::fprintf(stderr, "sharpness_bench_win: no OpenGL context\n");
        return 1;
    }
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    RECT client{};
    GetClientRect(window, &client);
    const double screen = StripeContrast(
        stripes, SlotTextureRules(Rotation, client.right, client.bottom, largest, kTextureBudgetBytes),
        L"stripes-screen.bmp");
    const double classic = StripeContrast(stripes, {}, L"stripes-256-texels.bmp");
    std::printf("window %ld x %ld, largest texture %d\n", client.right, client.bottom, int(largest));
    std::printf("texture-side-nearest-1080p: %d\n", NearestTextureSide(1920, 1080, largest));
    std::printf("texture-side-nearest-2160p: %d\n", NearestTextureSide(3840, 2160, largest));
    std::printf("stripe-contrast-1080p: %.2f\n", screen);
    std::printf("stripe-contrast-1080p-256-texels: %.2f\n", classic);
    DestroyGlContext();
    DestroyWindow(window);
    ReleaseTextureList();
    ShutdownImageServices();
    return 0;
}
