// Scene benchmark: the texture-size bitmaps of big JPEG pictures made by
// libjpeg-turbo at a reduced scale and by GDI+ at full size, and of big PNG
// pictures made by libspng row by row and by GDI+ at full size; the peak
// working set of a scene build of the PNG pictures; the scene build of the
// JPEG pictures next to their bare GDI+ decoding (its split into steps times
// the GDI+ path), a build over 10,000 listed paths, and the cost of one tick
// (AnimateScene + RenderFrame) next to a bare loop that draws the same quads.
// Prints figures only; run it through `make bench`.
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "BenchSupport_win.h"
#include "resources/ImageServices_win.h"
#include "resources/PictureDecoding_win.h"
#include "scene/FrameGeometry.h"
#include "scene/PictureCache_win.h"
#include "scene/RenderContext_win.h"
#include "scene/SceneBuild_win.h"
#include "scene/SceneFrame_win.h"
#include "scene/SceneModel.h"
#include "scene/TextureEntry.h"
#include "scene/TextureList_win.h"

using namespace WorkSpace;
using namespace bench;

namespace {

constexpr int kRuns = 3;
constexpr int kTickFrames = 300;
constexpr size_t kLongList = 10000;

struct BuildSplit {
    double decode = 0.0, scale = 0.0, upload = 0.0;  // ms for all pictures
};

// The steps of one picture's texture, timed one by one: decode, redraw at
// texture size, upload with mipmaps.
BuildSplit SplitBuild(const std::vector<std::wstring>& pictures) {
    BuildSplit split;
    int32_t name = 0;
    for (const std::wstring& path : pictures) {
        double start = Now();
        SIZE size{0, 0};
        UniqueImage decoded = DecodePictureFile(path, size);
        split.decode += Now() - start;
        start = Now();
        ImageHolder holder;
        holder.image = RedrawImage(decoded.Get(), PowerOfTwoSide(size.cx), PowerOfTwoSide(size.cy));
        holder.width = size.cx;
        holder.height = size.cy;
        decoded.Reset();
        split.scale += Now() - start;
        start = Now();
        MakeTextureRGB(holder, name++);
        glFinish();
        split.upload += Now() - start;
    }
    return split;
}

// Returns the ms per picture of making each picture's texture-size bitmap,
// JPEG and PNG files decoded as `fast` says.
double TextureBitmaps(const std::vector<std::wstring>& pictures, FastDecoding fast) {
    const double start = Now();
    for (const std::wstring& path : pictures) {
        ImageHolder holder;
        LoadPictureFile(holder, path, PowerOfTwoSide, fast);
    }
    return (Now() - start) / double(pictures.size());
}

double Build(const std::vector<std::wstring>& pictures) {
    const double start = Now();
    LoadScenePictures(pictures);
    glFinish();
    return Now() - start;
}

// The same quads and borders drawn with nothing around them, from the eye
// point the scene's tick left.
void BareFrame() {
    const Scene& scene = TheScene();
    const Camera& camera = TheCamera();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(camera.eye.x, camera.eye.y, camera.eye.z, 0, 0, 0, 0, 1, 0);
    for (const SceneQuad& quad : scene.quads) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, GLuint(quad.texture));
        const PictureBounds b = BoundsOf(quad);
        glBegin(GL_QUADS);
        glColor4f(1, 1, 1, 1);
        for (const TexturedVertex& v : PictureCorners(b)) {
            glTexCoord2f(v.s, v.t);
            glVertex3f(v.x, v.y, quad.position.z);
        }
        glEnd();
        glDisable(GL_TEXTURE_2D);
        glBegin(GL_QUADS);
        for (const BorderVertex& v : SoftBorderVertices(b, kSoftBorder)) {
            glColor4f(0, 0, 0, v.alpha);
            glVertex3f(v.x, v.y, quad.position.z);
        }
        glEnd();
    }
    SwapBuffers(TheRenderContext().deviceContext.Get());
}

// Returns ms per tick and ms per bare frame, taken in turns so that both draw
// the pictures from the same eye points.
std::pair<double, double> Ticks() {
    double tick = 0.0, bare = 0.0;
    for (int i = 0; i < kTickFrames; ++i) {
        double start = Now();
        AnimateScene();
        RenderFrame(false);
        glFinish();
        tick += Now() - start;
        start = Now();
        BareFrame();
        glFinish();
        bare += Now() - start;
    }
    return {tick / kTickFrames, bare / kTickFrames};
}

}  // namespace

int main() {
    const std::wstring folder = Argument(1), pngFolder = Argument(2);
    if (folder.empty() || pngFolder.empty()) {
        std::fprintf(stderr, "usage: scene_bench_win <folder of JPEG pictures> "
                             "<folder of PNG pictures>\n");
        return 2;
    }
    // The build's figures are those of decoding: no picture cache.
    ThePictureCache() = PictureCache();
    const std::vector<std::wstring> pictures = PicturesIn(folder, L"jpg");
    const std::vector<std::wstring> pngs = PicturesIn(pngFolder, L"png");
    if (pictures.empty() || pngs.empty() || !StartImageServices()) {
        std::fprintf(stderr, "scene_bench_win: no pictures or no image services\n");
        return 1;
    }
    const double count = double(pictures.size());
    HWND window = MakeWindow(1024, 768);
    if (!AttachWindow(window) || !SetupProjection()) {
        std::fprintf(stderr, "scene_bench_win: no OpenGL context\n");
        return 1;
    }
    // The PNG build comes first, so that the process's peak is that build's.
    const WorkingSet beforePngBuild = WorkingSetOf(GetCurrentProcessId());
    const double pngBuild = Build(pngs);
    const WorkingSet afterPngBuild = WorkingSetOf(GetCurrentProcessId());
    BareDecode(pictures);  // warm the file cache
    std::vector<double> bareDecode, decode, scale, upload, build, buildRatio;
    std::vector<double> scaledJpeg, gdiplusJpeg, jpegRatio, rowsPng, gdiplusPng, pngRatio;
    for (int run = 0; run < kRuns; ++run) {
        scaledJpeg.push_back(TextureBitmaps(pictures, FastDecoding::Scaled));
        gdiplusJpeg.push_back(TextureBitmaps(pictures, FastDecoding::GdiplusOnly));
        jpegRatio.push_back(scaledJpeg.back() / gdiplusJpeg.back());
        rowsPng.push_back(TextureBitmaps(pngs, FastDecoding::Scaled));
        gdiplusPng.push_back(TextureBitmaps(pngs, FastDecoding::GdiplusOnly));
        pngRatio.push_back(rowsPng.back() / gdiplusPng.back());
        const double bare = BareDecode(pictures);
        const BuildSplit split = SplitBuild(pictures);
        const double built = Build(pictures);
        bareDecode.push_back(bare / count);
        decode.push_back(split.decode / count);
        scale.push_back(split.scale / count);
        upload.push_back(split.upload / count);
        build.push_back(built / count);
        buildRatio.push_back(built / bare);
    }
    std::vector<std::wstring> longList;
    for (size_t i = 0; i < kLongList; ++i) longList.push_back(pictures[i % pictures.size()]);
    const double longBuild = Build(longList);
    const size_t longLoaded = TheTextureList().Count();
    Build(pictures);

    struct TickFigures { int width, height; std::vector<double> tick, bare; };
    std::vector<TickFigures> sizes = {{1024, 768, {}, {}}, {1920, 1080, {}, {}}};
    std::vector<double> tickRatio;
    for (TickFigures& size : sizes) {
        HWND sized = MakeWindow(size.width, size.height);
        // The textures live in the context: a new window needs the build again.
        if (!AttachWindow(sized) || !SetupProjection()) continue;
        Build(pictures);
        Ticks();  // warm up
        for (int run = 0; run < kRuns; ++run) {
            const auto [tick, bare] = Ticks();
            size.tick.push_back(tick);
            size.bare.push_back(bare);
            tickRatio.push_back(tick / bare);
        }
        DestroyGlContext();
        DestroyWindow(sized);
    }

    std::printf("Scene benchmark: %d pictures (JPEG 4000 x 3000) and %d PNG pictures "
                "(1920 x 1080 to 5120 x 2880), median of %d runs\n",
                int(pictures.size()), int(pngs.size()), kRuns);
    std::printf("%-44s %10s\n", "scene build", "ms/picture");
    std::printf("%-44s %10.1f\n", "  texture bitmap, libjpeg-turbo scaled", Median(scaledJpeg));
    std::printf("%-44s %10.1f\n", "  texture bitmap, GDI+ at full size", Median(gdiplusJpeg));
    std::printf("%-44s %10.1f\n", "  PNG texture bitmap, libspng row by row", Median(rowsPng));
    std::printf("%-44s %10.1f\n", "  PNG texture bitmap, GDI+ at full size", Median(gdiplusPng));
    std::printf("%-44s %10.1f\n", "  PNG build: total (LoadScenePictures)",
                pngBuild / double(pngs.size()));
    std::printf("%-44s %10.0f MB (%.0f MB before it)\n", "peak working set, build of the PNGs",
                afterPngBuild.peakMb, beforePngBuild.nowMb);
    std::printf("%-44s %10.1f\n", "  bare GDI+ decode (same run)", Median(bareDecode));
    std::printf("%-44s %10.1f\n", "  build: decode", Median(decode));
    std::printf("%-44s %10.1f\n", "  build: scale to texture size", Median(scale));
    std::printf("%-44s %10.1f\n", "  build: upload with mipmaps", Median(upload));
    std::printf("%-44s %10.1f\n", "  build: total (LoadScenePictures)", Median(build));
    std::printf("%-44s %10.0f ms (%d pictures loaded)\n", "build of 10,000 listed paths",
                longBuild, int(longLoaded));
    std::printf("%-44s %10s %10s\n", "tick with 30 quads", "ms/tick", "bare ms");
    for (const TickFigures& size : sizes) {
        if (size.tick.empty()) continue;
        char label[64];
        std::snprintf(label, sizeof label, "  %d x %d", size.width, size.height);
        std::printf("%-44s %10.2f %10.2f\n", label, Median(size.tick), Median(size.bare));
    }
    std::printf("jpeg-fast-vs-gdiplus: %.2f\n", Median(jpegRatio));
    std::printf("png-fast-vs-gdiplus: %.2f\n", Median(pngRatio));
    std::printf("peak-working-set-png-build-mb: %.0f\n", afterPngBuild.peakMb);
    std::printf("build-vs-decode: %.2f\n", Median(buildRatio));
    std::printf("tick-vs-bare: %.2f\n", tickRatio.empty() ? 0.0 : Median(tickRatio));
    DestroyGlContext();
    DestroyWindow(window);
    ReleaseTextureList();
    ShutdownImageServices();
    return 0;
}
