// The command line's audio files: reading what a header claims with care,
// writing without ever leaving half a file, and rendering a block at a time
// with the same result as rendering the whole signal in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sndfile.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "tests/common/private_data_folder.h"
#include "tools/nimbrel/audio_file.h"
#include "tools/nimbrel/render.h"
#include "tools/vsthost/plugin_host.h"

namespace {

// A folder of this test's own, removed at the end.
struct Folder {
    std::string path;
    Folder() {
        char pattern[] = "/tmp/nimbrel-audio-test-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~Folder() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

void put(std::vector<unsigned char>& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// A 16-bit WAV file whose header says `rate`, with `frames` frames of a ramp.
std::vector<unsigned char> wavBytes(uint32_t rate, int channels, int frames) {
    std::vector<unsigned char> b;
    const uint32_t data = static_cast<uint32_t>(frames * channels * 2);
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    put(b, 36 + data, 4);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(b, 16, 4);
    put(b, 1, 2);
    put(b, static_cast<uint32_t>(channels), 2);
    put(b, rate, 4);
    put(b, rate * static_cast<uint32_t>(channels) * 2, 4);
    put(b, static_cast<uint32_t>(channels) * 2, 2);
    put(b, 16, 2);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put(b, data, 4);
    for (int i = 0; i < frames * channels; ++i) put(b, static_cast<uint32_t>((i * 97) & 0x7FFF), 2);
    return b;
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

struct Frames {
    std::vector<float> left, right;
};

Frames readAll(AudioSource& source) {
    Frames f;
    std::vector<float> l(1000), r(1000);
    for (;;) {
        const size_t n = source.read(l.data(), r.data(), l.size());
        f.left.insert(f.left.end(), l.begin(), l.begin() + static_cast<long>(n));
        f.right.insert(f.right.end(), r.begin(), r.begin() + static_cast<long>(n));
        if (n < l.size()) return f;
    }
}

class MemorySink : public AudioSink {
public:
    bool write(const float* left, const float* right, size_t count) override {
        frames.left.insert(frames.left.end(), left, left + count);
        frames.right.insert(frames.right.end(), right, right + count);
        return true;
    }
    Frames frames;
};

}  // namespace

TEST(AudioFileReader, SampleRatesOutsideWhatThePluginIsForAreRefused) {
    Folder dir;
    for (uint32_t rate : {100u, 7999u, 768001u, 100000000u, 2147483647u}) {
        const std::string path = dir / ("rate-" + std::to_string(rate) + ".wav");
        writeBytes(path, wavBytes(rate, 2, 100));
        AudioFileReader reader;
        std::string error, note;
        EXPECT_FALSE(reader.open(path, error, note)) << rate;
        EXPECT_TRUE(has(error, std::to_string(rate) + " Hz") && has(error, "8000 to 768000 Hz")) << error;
        const std::vector<unsigned char> bytes = wavBytes(rate, 2, 100);
        EXPECT_FALSE(reader.openMemory(bytes.data(), bytes.size(), error, note)) << rate;
    }
    for (uint32_t rate : {8000u, 44100u, 768000u}) {
        const std::vector<unsigned char> bytes = wavBytes(rate, 2, 100);
        AudioFileReader reader;
        std::string error, note;
        ASSERT_TRUE(reader.openMemory(bytes.data(), bytes.size(), error, note)) << rate << ": " << error;
        EXPECT_EQ(reader.sampleRate(), static_cast<int>(rate));
        EXPECT_EQ(readAll(reader).left.size(), 100u);
    }
}

TEST(AudioFileReader, OnlyRegularFilesAreReadAndEveryRefusalSaysWhy) {
    Folder dir;
    AudioFileReader reader;
    std::string error, note;
    // A named pipe with no writer: refused at once, not waited on.
    ASSERT_EQ(mkfifo((dir / "pipe.wav").c_str(), 0600), 0);
    EXPECT_FALSE(reader.open(dir / "pipe.wav", error, note));
    EXPECT_TRUE(has(error, "a named pipe")) << error;
    EXPECT_FALSE(reader.open(dir.path, error, note));
    EXPECT_TRUE(has(error, "a folder")) << error;
    EXPECT_FALSE(reader.open("/dev/null", error, note));
    EXPECT_TRUE(has(error, "a device")) << error;
    // The system's reason, and libsndfile's for what is not audio.
    EXPECT_FALSE(reader.open(dir / "missing.wav", error, note));
    EXPECT_TRUE(has(error, "No such file or directory")) << error;
    std::ofstream(dir / "text.wav") << "these are words, not sound\n";
    EXPECT_FALSE(reader.open(dir / "text.wav", error, note));
    EXPECT_GT(error.size(), std::string("cannot read " + dir / "text.wav" + ": ").size()) << error;
}

TEST(AudioFileReader, MonoFeedsBothSidesAndMoreChannelsGiveTheFirstTwo) {
    AudioFileReader reader;
    std::string error, note;
    const std::vector<unsigned char> mono = wavBytes(44100, 1, 300);
    ASSERT_TRUE(reader.openMemory(mono.data(), mono.size(), error, note)) << error;
    Frames m = readAll(reader);
    ASSERT_EQ(m.left.size(), 300u);
    EXPECT_EQ(m.left, m.right);
    EXPECT_EQ(m.left[3], static_cast<float>(3 * 97) / 32768.0f);
    EXPECT_TRUE(note.empty());

    const std::vector<unsigned char> four = wavBytes(48000, 4, 5000);
    ASSERT_TRUE(reader.openMemory(four.data(), four.size(), error, note)) << error;
    EXPECT_TRUE(has(note, "4 channels; using the first two")) << note;
    Frames f = readAll(reader);
    ASSERT_EQ(f.left.size(), 5000u);
    for (size_t i = 0; i < f.left.size(); i += 777) {
        EXPECT_EQ(f.left[i], static_cast<float>((4 * i * 97) & 0x7FFF) / 32768.0f) << i;
        EXPECT_EQ(f.right[i], static_cast<float>(((4 * i + 1) * 97) & 0x7FFF) / 32768.0f) << i;
    }
}

TEST(AudioFileWriter, NothingReachesTheNameUntilCommitAndNothingIsLeftBehind) {
    Folder dir;
    const std::string out = dir / "out.wav";
    const std::string temporary = out + ".partial-" + std::to_string(getpid());
    std::ofstream(out) << "the user's file";
    {
        AudioFileWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(out, 44100, SampleFormat::Float32, error)) << error;
        const float l[3] = {0.1f, 0.2f, 0.3f}, r[3] = {-0.1f, -0.2f, -0.3f};
        ASSERT_TRUE(writer.write(l, r, 3));
        EXPECT_TRUE(exists(temporary));
    }  // given up: no commit
    EXPECT_FALSE(exists(temporary));
    std::string kept;
    std::getline(std::ifstream(out), kept);
    EXPECT_EQ(kept, "the user's file");

    AudioFileWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open(out, 48000, SampleFormat::Float32, error)) << error;
    std::vector<float> l(10000), r(10000);
    for (size_t i = 0; i < l.size(); ++i) {
        l[i] = static_cast<float>(i) * 1e-4f;
        r[i] = -3.0f * l[i];  // float holds more than full scale
    }
    ASSERT_TRUE(writer.write(l.data(), r.data(), 6000));
    ASSERT_TRUE(writer.write(l.data() + 6000, r.data() + 6000, 4000));
    ASSERT_TRUE(writer.commit(error)) << error;
    EXPECT_FALSE(exists(temporary));
    EXPECT_EQ(writer.framesWritten(), 10000);
    EXPECT_EQ(writer.clipping().samples, 0);

    AudioFileReader reader;
    std::string note;
    ASSERT_TRUE(reader.open(out, error, note)) << error;
    EXPECT_EQ(reader.sampleRate(), 48000);
    Frames back = readAll(reader);
    EXPECT_EQ(back.left, l);
    EXPECT_EQ(back.right, r);
}

TEST(AudioFileWriter, WholeNumberFormatsCountWhatTheyClip) {
    Folder dir;
    const float l[4] = {0.5f, 1.5f, -2.5f, 1.0f}, r[4] = {0.0f, -1.0f, 1.0001f, 0.25f};
    for (SampleFormat format : {SampleFormat::Pcm16, SampleFormat::Pcm24}) {
        AudioFileWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(dir / "clip.wav", 44100, format, error)) << error;
        ASSERT_TRUE(writer.write(l, r, 4));
        ASSERT_TRUE(writer.commit(error)) << error;
        EXPECT_EQ(writer.clipping().samples, 3);
        EXPECT_EQ(writer.clipping().peak, 2.5f);
    }
    // FLAC holds whole numbers too, even when float was asked for.
    AudioFileWriter flac;
    std::string error;
    ASSERT_TRUE(flac.open(dir / "clip.flac", 44100, SampleFormat::Float32, error)) << error;
    ASSERT_TRUE(flac.write(l, r, 4));
    ASSERT_TRUE(flac.commit(error)) << error;
    EXPECT_EQ(flac.clipping().samples, 3);
}

TEST(AudioFileWriter, WhatIsNotARegularFileIsNeverReplaced) {
    Folder dir;
    ASSERT_EQ(mkfifo((dir / "pipe.wav").c_str(), 0600), 0);
    ASSERT_EQ(mkdir((dir / "folder.wav").c_str(), 0700), 0);
    for (const std::string& path : {dir / "pipe.wav", dir / "folder.wav"}) {
        AudioFileWriter writer;
        std::string error;
        EXPECT_FALSE(writer.open(path, 44100, SampleFormat::Float32, error));
        EXPECT_TRUE(has(error, "not a regular file")) << error;
    }
    AudioFileWriter writer;
    std::string error;
    EXPECT_FALSE(writer.open(dir / "out.mp4", 44100, SampleFormat::Float32, error));
    EXPECT_TRUE(has(error, "file type")) << error;
}

// Rendering a block at a time gives exactly what rendering the whole signal in
// memory gave, tail length included (the reference below is that way, kept as
// the oracle).
namespace {

Frames renderWhole(PluginHost& host, const StereoAudio& input, const RenderOptions& options) {
    const int block = options.blockSize;
    const size_t inputFrames = input.frames();
    const bool autoTail = options.tailSeconds < 0.0;
    const size_t maxTail = static_cast<size_t>((autoTail ? kMaxAutoTail : options.tailSeconds) * input.sampleRate);
    host.timeInfo.tempo = options.tempo;
    Frames out;
    std::vector<float> inL(block), inR(block), outL(block), outR(block);
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    size_t position = 0, quietRun = 0;
    const size_t total = inputFrames + maxTail;
    while (position < total) {
        const size_t n = std::min<size_t>(block, total - position);
        for (size_t i = 0; i < n; ++i) {
            inL[i] = position + i < inputFrames ? input.left[position + i] : 0.0f;
            inR[i] = position + i < inputFrames ? input.right[position + i] : 0.0f;
        }
        host.process(ins, outs, static_cast<int32_t>(n));
        for (size_t i = 0; i < n; ++i) {
            out.left.push_back(outL[i]);
            out.right.push_back(outR[i]);
            const bool quiet = std::fabs(outL[i]) < 1.0e-5f && std::fabs(outR[i]) < 1.0e-5f;
            quietRun = quiet ? quietRun + 1 : 0;
        }
        position += n;
        if (autoTail && position >= inputFrames && quietRun >= static_cast<size_t>(input.sampleRate)) break;
    }
    return out;
}

std::unique_ptr<PluginHost> started(int program, bool bypass, const RenderOptions& options, int rate) {
    privateDataFolder();
    std::string error;
    auto host = PluginHost::load(NIMBREL_PLUGIN_PATH, error);
    EXPECT_TRUE(host) << error;
    if (!host) return nullptr;
    host->start(static_cast<float>(rate), options.blockSize);
    host->setProgram(program);
    if (bypass) host->setParameter(3, 1.0f);
    return host;
}

// Noise for `loud` frames, then silence up to `frames`.
StereoAudio burst(size_t frames, size_t loud, int rate) {
    StereoAudio a;
    a.sampleRate = rate;
    uint32_t state = 12345;
    for (size_t i = 0; i < frames; ++i) {
        state = state * 1664525u + 1013904223u;
        const float v = i < loud ? static_cast<float>(state >> 8) / 8388608.0f - 1.0f : 0.0f;
        a.left.push_back(0.5f * v);
        a.right.push_back(-0.25f * v);
    }
    return a;
}

}  // namespace

TEST(RenderThrough, BlockByBlockEqualsTheWholeSignalInMemory) {
    struct Case {
        size_t frames, loud;
        int block, program;
        bool bypass;
        double tail;
    };
    const int rate = 8000;  // the lowest rate keeps the automatic tails short to render
    const Case cases[] = {
        {0, 0, 512, 0, false, 0.5},         {1, 1, 512, 0, false, 0.0},
        {511, 511, 512, 0, false, 0.1},     {3000, 1000, 100, 142, false, 0.3},
        {16384, 800, 512, 0, true, -1.0},   // ends on a block boundary after a quiet second
        {16384 + 7, 800, 512, 0, true, -1.0}, {12000, 800, 4096, 0, true, -1.0},
        {4000, 4000, 512, 30, false, -1.0}, {2500, 2500, 333, 142, false, -1.0},
    };
    for (const Case& c : cases) {
        RenderOptions options;
        options.blockSize = c.block;
        options.tailSeconds = c.tail;
        options.tempo = 97.0;
        const StereoAudio input = burst(c.frames, c.loud, rate);
        auto wholeHost = started(c.program, c.bypass, options, rate);
        auto streamHost = started(c.program, c.bypass, options, rate);
        ASSERT_TRUE(wholeHost && streamHost);
        const Frames whole = renderWhole(*wholeHost, input, options);
        MemorySource source(input);
        MemorySink sink;
        std::string error;
        double lastProgress = 0.0;
        ASSERT_TRUE(renderThrough(*streamHost, source, sink, options, [&](double f) { lastProgress = f; }, error))
            << error;
        EXPECT_EQ(sink.frames.left.size(), whole.left.size()) << c.frames << " frames, block " << c.block;
        EXPECT_TRUE(sink.frames.left == whole.left && sink.frames.right == whole.right)
            << c.frames << " frames, block " << c.block;
        EXPECT_EQ(lastProgress, 1.0);
    }
}

// A source that fails part way: the render stops with its reason.
TEST(RenderThrough, AnInputThatFailsStopsTheRender) {
    class Failing : public AudioSource {
    public:
        int sampleRate() const override { return 44100; }
        int64_t announcedFrames() const override { return 100000; }
        size_t read(float* l, float* r, size_t count) override {
            const size_t n = std::min<size_t>(count, 700 - std::min<size_t>(done, 700));
            std::fill(l, l + n, 0.1f);
            std::fill(r, r + n, 0.1f);
            done += n;
            return n;
        }
        std::string error() const override { return done >= 700 ? "the disk went away" : ""; }
        size_t done = 0;
    } failing;
    RenderOptions options;
    auto host = started(0, false, options, 44100);
    ASSERT_TRUE(host);
    MemorySink sink;
    std::string error;
    EXPECT_FALSE(renderThrough(*host, failing, sink, options, nullptr, error));
    EXPECT_EQ(error, "the disk went away");
    EXPECT_EQ(sink.frames.left.size(), 512u);
}
