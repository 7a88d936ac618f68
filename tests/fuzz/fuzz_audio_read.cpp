// libFuzzer target for the command line's reading of audio files: the fuzz
// input is the file, handed to libsndfile through its virtual I/O, and read
// the way a render reads it, a block at a time. Whatever a header claims, the
// reader must refuse or read within bounds; what it reads must be stereo
// frames of the announced rate.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/nimbrel/audio_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AudioFileReader reader;
    std::string error, note;
    if (!reader.openMemory(data, size, error, note)) {
        if (error.empty()) std::abort();  // every refusal says why
        return 0;
    }
    if (reader.sampleRate() < kMinSampleRate || reader.sampleRate() > kMaxSampleRate) std::abort();
    // A header may announce billions of frames; a render would stream them,
    // the fuzzer stops after a few blocks' worth.
    constexpr size_t kBlock = 512;
    std::vector<float> left(kBlock), right(kBlock);
    size_t total = 0;
    while (total < (size_t{1} << 20)) {
        const size_t n = reader.read(left.data(), right.data(), kBlock);
        if (n > kBlock) std::abort();
        total += n;
        if (n < kBlock) break;
    }
    return 0;
}
