// Small sound-file helper for the real-host checks: makes the test signal and compares
// two renders sample by sample.
//
//   ardour_wavtool signal OUT.wav RATE SECONDS
//       a stereo 32-bit float test signal: clicks, a decaying noise burst that differs
//       between the sides, two tones and a stretch of silence
//   ardour_wavtool compare A.wav B.wav [--prefix] [--max-db DB]
//       exit 0 when A and B hold the same samples (or differ by less than DB dBFS),
//       1 when they differ, 2 when a file cannot be read; --prefix compares only the
//       frames both have (their lengths may then differ)
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Sound {
    int rate = 0;
    int channels = 0;
    int64_t frames = 0;
    std::vector<float> samples;  // interleaved
};

bool readSound(const char* path, Sound& sound) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (!file) {
        std::fprintf(stderr, "%s: %s\n", path, sf_strerror(nullptr));
        return false;
    }
    sound.rate = info.samplerate;
    sound.channels = info.channels;
    sound.frames = info.frames;
    sound.samples.assign(static_cast<size_t>(info.frames) * info.channels, 0.0f);
    sf_count_t got = sf_readf_float(file, sound.samples.data(), info.frames);
    sf_close(file);
    if (got != info.frames) {
        std::fprintf(stderr, "%s: read %lld of %lld frames\n", path, static_cast<long long>(got),
                     static_cast<long long>(info.frames));
        return false;
    }
    return true;
}

// A fixed linear congruential generator: the same signal on every machine and every run.
struct Noise {
    uint32_t state;
    float next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;  // -1..1
    }
};

int makeSignal(const char* path, int rate, double seconds) {
    const int64_t frames = static_cast<int64_t>(seconds * rate);
    std::vector<float> out(static_cast<size_t>(frames) * 2, 0.0f);
    Noise left{12345u}, right{67890u};
    const float twoPi = 6.28318530718f;
    for (int64_t i = 0; i < frames; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        float l = 0.0f, r = 0.0f;
        // Clicks excite the reverb and every tap of the delay; the right one comes later.
        if (i == 0) l = 0.9f;
        if (i == rate / 10) r = -0.7f;
        // A decaying noise burst, different on each side, from 0.2 s to 0.6 s.
        if (t >= 0.2f && t < 0.6f) {
            const float envelope = std::exp((0.2f - t) * 8.0f);
            l += 0.4f * envelope * left.next();
            r += 0.3f * envelope * right.next();
        }
        // Two steady tones from 0.7 s to 1.2 s: input the gate and the ducker can key on.
        if (t >= 0.7f && t < 1.2f) {
            l += 0.3f * std::sin(twoPi * 440.0f * t);
            r += 0.25f * std::sin(twoPi * 659.25f * t);
        }
        // Silence after that: the tails come out alone.
        out[2 * i] = l;
        out[2 * i + 1] = r;
    }
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path, SFM_WRITE, &info);
    if (!file) {
        std::fprintf(stderr, "%s: %s\n", path, sf_strerror(nullptr));
        return 2;
    }
    sf_count_t written = sf_writef_float(file, out.data(), frames);
    sf_close(file);
    return written == frames ? 0 : 2;
}

int compare(const char* pathA, const char* pathB, bool prefix, bool haveLimit, double limitDb) {
    Sound a, b;
    if (!readSound(pathA, a) || !readSound(pathB, b)) return 2;
    if (a.rate != b.rate || a.channels != b.channels) {
        std::printf("shape differs: %d Hz x %d channels against %d Hz x %d channels\n", a.rate,
                    a.channels, b.rate, b.channels);
        return 1;
    }
    if (!prefix && a.frames != b.frames) {
        std::printf("length differs: %lld against %lld frames\n", static_cast<long long>(a.frames),
                    static_cast<long long>(b.frames));
        return 1;
    }
    const int64_t frames = a.frames < b.frames ? a.frames : b.frames;
    double maxDiff = 0.0;
    int64_t differing = 0, first = -1, worst = -1;
    for (int64_t i = 0; i < frames * a.channels; ++i) {
        const float x = a.samples[i], y = b.samples[i];
        // Bit for bit: a NaN on either side, or -0 against +0, counts as a difference.
        if (std::memcmp(&x, &y, sizeof x) == 0) continue;
        ++differing;
        if (first < 0) first = i / a.channels;
        double d = std::fabs(static_cast<double>(x) - static_cast<double>(y));
        if (!(d <= maxDiff)) {
            maxDiff = std::isnan(d) ? INFINITY : d;
            worst = i / a.channels;
        }
    }
    if (differing == 0) {
        std::printf("identical: %lld frames x %d channels at %d Hz\n", static_cast<long long>(frames),
                    a.channels, a.rate);
        return 0;
    }
    const double db = maxDiff > 0.0 ? 20.0 * std::log10(maxDiff) : -INFINITY;
    std::printf("%lld of %lld samples differ, first at frame %lld; largest difference %.3g (%.1f dBFS) at frame %lld\n",
                static_cast<long long>(differing), static_cast<long long>(frames * a.channels),
                static_cast<long long>(first), maxDiff, db, static_cast<long long>(worst));
    return haveLimit && db < limitDb ? 0 : 1;
}

int usage() {
    std::fprintf(stderr,
                 "usage: ardour_wavtool signal OUT.wav RATE SECONDS\n"
                 "       ardour_wavtool compare A.wav B.wav [--prefix] [--max-db DB]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "signal") == 0 && argc == 5) {
        const int rate = std::atoi(argv[3]);
        const double seconds = std::atof(argv[4]);
        if (rate < 8000 || rate > 384000 || !(seconds > 0.0 && seconds <= 600.0)) return usage();
        return makeSignal(argv[2], rate, seconds);
    }
    if (argc >= 4 && std::strcmp(argv[1], "compare") == 0) {
        bool prefix = false, haveLimit = false;
        double limitDb = 0.0;
        for (int i = 4; i < argc; ++i) {
            if (std::strcmp(argv[i], "--prefix") == 0) {
                prefix = true;
            } else if (std::strcmp(argv[i], "--max-db") == 0 && i + 1 < argc) {
                haveLimit = true;
                limitDb = std::atof(argv[++i]);
            } else {
                return usage();
            }
        }
        return compare(argv[2], argv[3], prefix, haveLimit, limitDb);
    }
    return usage();
}
