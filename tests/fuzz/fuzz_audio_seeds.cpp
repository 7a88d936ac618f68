// Writes a short stereo signal in each file type and sample format the
// command line meets, as the audio fuzzer's first inputs.
#include <cmath>
#include <cstdio>
#include <sndfile.h>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_audio_seeds DIR\n");
        return 2;
    }
    struct Kind {
        const char* name;
        int format;
        int channels;
    };
    const Kind kinds[] = {
        {"pcm16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2},  {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2},
        {"mono24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1}, {"quad.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 4},
        {"pcm16.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 2}, {"pcm16.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2},
        {"float.caf", SF_FORMAT_CAF | SF_FORMAT_FLOAT, 2},   {"pcm24.w64", SF_FORMAT_W64 | SF_FORMAT_PCM_24, 2},
        {"pcm16.au", SF_FORMAT_AU | SF_FORMAT_PCM_16, 2},    {"ulaw.wav", SF_FORMAT_WAV | SF_FORMAT_ULAW, 1},
    };
    for (const Kind& k : kinds) {
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = k.channels;
        info.format = k.format;
        const std::string path = std::string(argv[1]) + "/" + k.name;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        if (!file) {
            std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
            return 1;
        }
        std::vector<float> frames(static_cast<size_t>(64 * k.channels));
        for (size_t i = 0; i < frames.size(); ++i) frames[i] = static_cast<float>(std::sin(0.3 * static_cast<double>(i)));
        sf_writef_float(file, frames.data(), 64);
        sf_close(file);
    }
    return 0;
}
