// libFuzzer target for one of the two loaders (NIMBREL_FUZZ_BANK chooses).
// Every input is loaded from a buffer of exactly its size; an accepted image
// must also survive being saved and loaded again unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "presets/program_images.h"
#include "tests/fuzz/strict_access.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StrictAccess plugin;
#if NIMBREL_FUZZ_BANK
    auto load = fxbLoadBytesFromBuf;
    auto save = fxbSaveBytesToBuf;
#else
    auto load = fxpLoadBytesFromBuf;
    auto save = fxpSaveBytesToBuf;
#endif
    if (!load(plugin, data, size)) return 0;

    std::vector<unsigned char> image(kImageBufferSize);
    size_t length = 0;
    if (!save(plugin, image.data(), image.size(), length)) std::abort();
    StrictAccess again;
    again.current = plugin.current;
    if (!load(again, image.data(), length)) std::abort();
    std::vector<unsigned char> second(kImageBufferSize);
    size_t secondLength = 0;
    save(again, second.data(), second.size(), secondLength);
    if (secondLength != length || std::memcmp(image.data(), second.data(), length) != 0) std::abort();
    return 0;
}
