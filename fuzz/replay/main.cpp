// Replays inputs through a fuzz target without libFuzzer: every file named, and every file in a
// folder named, goes once through LLVMFuzzerTestOneInput, in name order. `make check` builds one
// replayer per target with the sanitizers and runs it on the target's seed corpus; `make fuzz`
// builds the real fuzz targets with clang.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (std::filesystem::is_directory(argv[i], ec)) {
            std::vector<std::filesystem::path> in;
            for (const auto& e : std::filesystem::directory_iterator(argv[i]))
                if (e.is_regular_file()) in.push_back(e.path());
            std::sort(in.begin(), in.end());
            inputs.insert(inputs.end(), in.begin(), in.end());
        } else if (std::filesystem::is_regular_file(argv[i], ec)) {
            inputs.emplace_back(argv[i]);
        } else {
            std::fprintf(stderr, "%s: no such file or folder: %s\n", argv[0], argv[i]);
            return 2;
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER... (no inputs found)\n", argv[0]);
        return 2;
    }
    for (const auto& p : inputs) {
        std::ifstream f(p, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
        if (!f && !f.eof()) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], p.c_str());
            return 2;
        }
        // A copy of its own, so that a read past the end is caught by the address checker.
        std::vector<uint8_t> data(bytes.begin(), bytes.end());
        std::fprintf(stderr, "replay %s (%zu bytes)\n", p.c_str(), data.size());
        static uint8_t none;
        LLVMFuzzerTestOneInput(data.empty() ? &none : data.data(), data.size());
    }
    std::fprintf(stderr, "%zu inputs replayed\n", inputs.size());
    return 0;
}
