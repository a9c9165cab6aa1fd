// Stand-in for libFuzzer's driver in the sanitizer test build: feeds every file
// of the given seed folder to the target, then a fixed run of mutations of
// those seeds (same sequence every run), so a failure reproduces.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

struct Lcg {
    uint32_t state = 12345;
    uint32_t Next() { return state = state * 1103515245u + 12345u; }
};

std::vector<uint8_t> Mutate(std::vector<uint8_t> bytes, Lcg& rng) {
    const int edits = 1 + int(rng.Next() >> 28);
    for (int i = 0; i < edits; ++i) {
        const uint32_t r = rng.Next();
        const size_t at = bytes.empty() ? 0 : (r >> 8) % bytes.size();
        switch (r % 5) {
        case 0: if (!bytes.empty()) bytes[at] ^= uint8_t(1u << ((r >> 4) & 7)); break;
        case 1: if (!bytes.empty()) bytes[at] = uint8_t(rng.Next() >> 24); break;
        case 2: bytes.insert(bytes.begin() + long(at), uint8_t(rng.Next() >> 24)); break;
        case 3: if (!bytes.empty()) bytes.erase(bytes.begin() + long(at)); break;
        case 4: if (!bytes.empty()) bytes.resize(at); break;
        }
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::vector<uint8_t>> seeds{{}};
    if (argc > 1 && std::filesystem::is_directory(argv[1])) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
            std::ifstream in(entry.path(), std::ios::binary);
            seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    for (const auto& seed : seeds) LLVMFuzzerTestOneInput(seed.data(), seed.size());
    Lcg rng;
    for (int i = 0; i < 20000; ++i) {
        const auto& seed = seeds[rng.Next() % seeds.size()];
        const std::vector<uint8_t> input = Mutate(seed, rng);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    return 0;
}
