// Writes a valid program file and a valid bank file as the fuzzers' first inputs.
#include <cstdio>
#include <string>
#include <vector>

#include "presets/program_images.h"
#include "tests/fuzz/strict_access.h"

static bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes, size_t length) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, length, f) == length;
    return std::fclose(f) == 0 && ok;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds PROGRAM_DIR BANK_DIR\n");
        return 2;
    }
    StrictAccess plugin;
    std::vector<unsigned char> image(kImageBufferSize);
    size_t length = 0;
    fxpSaveBytesToBuf(plugin, image.data(), image.size(), length);
    if (!writeFile(std::string(argv[1]) + "/valid.fxp", image, length)) return 1;
    fxbSaveBytesToBuf(plugin, image.data(), image.size(), length);
    if (!writeFile(std::string(argv[2]) + "/valid.fxb", image, length)) return 1;
    return 0;
}
