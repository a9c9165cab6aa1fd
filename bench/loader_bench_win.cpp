// Loader benchmark: the picture build with its decoding threads next to the
// same build one picture after the other and to the bare GDI+ decoding of the
// same photos, all in one run. Prints figures only; run it through `make bench`.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport_win.h"
#include "resources/ImageServices_win.h"
#include "scene/PictureLoader_win.h"
#include "scene/RenderContext_win.h"
#include "scene/TextureList_win.h"

using namespace WorkSpace;
using namespace bench;

namespace {

constexpr int kRuns = 3;

}  // namespace

int main() {
    const std::wstring folder = Argument(1);
    if (folder.empty()) {
        std::fprintf(stderr, "usage: loader_bench_win <folder of JPEG pictures>\n");
        return 2;
    }
    const std::vector<std::wstring> pictures = PicturesIn(folder, L"jpg");
    if (pictures.empty() || !StartImageServices()) {
        std::fprintf(stderr, "loader_bench_win: no pictures or no image services\n");
        return 1;
    }
    HWND window = MakeWindow(1024, 768);
    if (!AttachWindow(window) || !SetupProjection()) {
        std::fprintf(stderr, "loader_bench_win: no OpenGL context\n");
        return 1;
    }
    const size_t workers = MachineLoadWorkers();
    BareDecode(pictures);  // warm the file cache
    std::vector<double> decode, oneByOne, pooled, speedUp, ratio;
    for (int run = 0; run < kRuns; ++run) {
        const double bare = BareDecode(pictures);
        const double sequential = BuildTextures(pictures, 0);
        const double parallel = BuildTextures(pictures, workers);
        decode.push_back(bare);
        oneByOne.push_back(sequential);
        pooled.push_back(parallel);
        speedUp.push_back(sequential / parallel);
        ratio.push_back(parallel / bare);
    }
    std::printf("Loader benchmark: %d pictures (JPEG 4000 x 3000), %d decoding threads, "
                "median of %d runs\n", int(pictures.size()), int(workers), kRuns);
    std::printf("%-44s %10s %10s\n", "", "ms", "ms/picture");
    const double count = double(pictures.size());
    auto row = [count](const char* label, double ms) {
        std::printf("%-44s %10.0f %10.1f\n", label, ms, ms / count);
    };
    row("bare GDI+ decode, one after another", Median(decode));
    row("build, one picture after another", Median(oneByOne));
    row("build with the decoding threads", Median(pooled));
    std::printf("%-44s %10.2f\n", "speed-up of the threads", Median(speedUp));
    std::printf("parallel-build-vs-decode: %.2f\n", Median(ratio));
    DestroyGlContext();
    DestroyWindow(window);
    ReleaseTextureList();
    ShutdownImageServices();
    return 0;
}
