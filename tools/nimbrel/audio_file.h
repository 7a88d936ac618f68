#pragma once
// Reading and writing audio files through libsndfile, a block at a time, so
// that a render holds only a few blocks in memory however long the file or
// the tail.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct sf_private_tag;
struct SF_INFO;

// The sample rates the command line renders at: what the plug-in is meant for.
constexpr int kMinSampleRate = 8000;
constexpr int kMaxSampleRate = 768000;

// A whole stereo signal in memory (the built-in demo, an impulse).
struct StereoAudio {
    std::vector<float> left, right;
    int sampleRate = 44100;
    size_t frames() const { return left.size(); }
};

// Where a render takes its input from, a block at a time.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual int sampleRate() const = 0;
    // The length the source announces (a file's header); for progress only.
    virtual int64_t announcedFrames() const = 0;
    // Reads up to `count` frames; fewer only at the end (or on an error, see error()).
    virtual size_t read(float* left, float* right, size_t count) = 0;
    // Why the last read stopped early, when it was not the end; empty otherwise.
    virtual std::string error() const { return std::string(); }
};

// Where a render puts its output, a block at a time.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    virtual bool write(const float* left, const float* right, size_t count) = 0;
};

// A StereoAudio as a source.
class MemorySource : public AudioSource {
public:
    explicit MemorySource(const StereoAudio& audio) : audio_(audio) {}
    int sampleRate() const override { return audio_.sampleRate; }
    int64_t announcedFrames() const override { return static_cast<int64_t>(audio_.frames()); }
    size_t read(float* left, float* right, size_t count) override;

private:
    const StereoAudio& audio_;
    size_t position_ = 0;
};

// Any format libsndfile reads. Mono feeds both channels; of more than two
// channels the first two are used (the note says so).
class AudioFileReader : public AudioSource {
public:
    AudioFileReader() = default;
    ~AudioFileReader() override;
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    // Opens a regular file (a pipe, a device or a folder is refused without
    // waiting on it). False with `error` giving the reason, the system's where
    // it has one; a sample rate outside kMinSampleRate..kMaxSampleRate is refused.
    bool open(const std::string& path, std::string& error, std::string& note);
    // The same from bytes in memory, which must outlive the reader.
    bool openMemory(const unsigned char* data, size_t size, std::string& error, std::string& note);

    int sampleRate() const override { return sampleRate_; }
    int64_t announcedFrames() const override { return announcedFrames_; }
    size_t read(float* left, float* right, size_t count) override;
    std::string error() const override { return error_; }

    // The libsndfile callbacks' view of the bytes given to openMemory.
    struct Memory {
        const unsigned char* data = nullptr;
        int64_t size = 0;
        int64_t position = 0;
    };

private:
    bool attach(const SF_INFO& info, const std::string& name, std::string& error, std::string& note);
    void close();

    sf_private_tag* file_ = nullptr;
    int descriptor_ = -1;
    Memory memory_;
    std::string name_;
    int channels_ = 0;
    int sampleRate_ = 0;
    int64_t announcedFrames_ = 0;
    std::vector<float> interleaved_;
    std::string error_;
};

// Opens `path` for reading if it is a regular file, without waiting on a pipe
// or a device; -1 and `reason` (the system's, or what it is instead) otherwise.
int openRegularFile(const std::string& path, std::string& reason);
// Why `path` cannot be read as a file; "" when it can.
std::string unreadableFileReason(const std::string& path);

// True when both paths name one existing file (through links too).
bool sameFile(const std::string& a, const std::string& b);

// The extension of `path` in lower case, without the dot; "" when it has none.
std::string fileExtension(const std::string& path);

// True when the extension of `path` names a file type the writer knows.
bool writableFileType(const std::string& path);

// Sample formats for writing.
enum class SampleFormat { Float32, Pcm16, Pcm24 };
bool parseSampleFormat(const std::string& text, SampleFormat& format);

// Samples that a file of whole numbers could not hold (beyond full scale).
struct ClippingReport {
    int64_t samples = 0;  // how many were cut to full scale
    float peak = 0.0f;    // the largest magnitude that was asked for
};

// Writes to a temporary file beside `path` and renames it into place on
// commit(), so a failed or interrupted render never leaves a half-written file
// (nor replaces a good one): the destructor, and a termination signal,
// remove the temporary file. Anything at `path` that is not a regular file is
// refused, never replaced. The file type comes from the extension.
class AudioFileWriter : public AudioSink {
public:
    AudioFileWriter() = default;
    ~AudioFileWriter() override;
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    bool open(const std::string& path, int sampleRate, SampleFormat format, std::string& error);
    bool write(const float* left, const float* right, size_t count) override;
    bool commit(std::string& error);

    int64_t framesWritten() const { return frames_; }
    // Counted only for formats of whole numbers (pcm16, pcm24, FLAC); float holds everything.
    const ClippingReport& clipping() const { return clipping_; }

private:
    bool flush();
    void abandon();

    sf_private_tag* file_ = nullptr;
    std::string path_, temporary_;
    int cleanupSlot_ = -1;
    bool countClipping_ = false;
    std::vector<float> staged_;
    size_t stagedFrames_ = 0;
    int64_t frames_ = 0;
    ClippingReport clipping_;
    std::string error_;
};
