#include "tools/nimbrel/audio_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/nimbrel/temporary_files.h"

namespace {

// Frames moved through libsndfile per call when writing; reading takes as
// many as the caller asks, in pieces of at most kReadSamples samples.
constexpr size_t kWriteFrames = 4096;
constexpr size_t kReadSamples = 65536;

int containerFor(const std::string& ext) {
    if (ext == "wav" || ext == "wave") return SF_FORMAT_WAV;
    if (ext == "aif" || ext == "aiff") return SF_FORMAT_AIFF;
    if (ext == "flac") return SF_FORMAT_FLAC;
    if (ext == "ogg" || ext == "oga") return SF_FORMAT_OGG;
    if (ext == "caf") return SF_FORMAT_CAF;
    if (ext == "w64") return SF_FORMAT_W64;
    if (ext == "au" || ext == "snd") return SF_FORMAT_AU;
    return 0;
}

const char* kindOfFile(mode_t mode) {
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

// libsndfile's virtual I/O over the bytes of AudioFileReader::Memory.
sf_count_t memoryLength(void* user) { return static_cast<AudioFileReader::Memory*>(user)->size; }

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
    auto* m = static_cast<AudioFileReader::Memory*>(user);
    const int64_t base = whence == SEEK_CUR ? m->position : whence == SEEK_END ? m->size : 0;
    // A header may ask for any offset; one before the start or far past the end is refused.
    if ((offset < 0 && -offset > base) || (offset > 0 && offset > (int64_t{1} << 40))) return -1;
    m->position = base + offset;
    return m->position;
}

sf_count_t memoryRead(void* destination, sf_count_t count, void* user) {
    auto* m = static_cast<AudioFileReader::Memory*>(user);
    if (count <= 0 || m->position >= m->size) return 0;
    const sf_count_t n = std::min<sf_count_t>(count, m->size - m->position);
    std::memcpy(destination, m->data + m->position, static_cast<size_t>(n));
    m->position += n;
    return n;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t memoryTell(void* user) { return static_cast<AudioFileReader::Memory*>(user)->position; }

}  // namespace

std::string fileExtension(const std::string& path) {
    size_t dot = path.rfind('.');
    size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

size_t MemorySource::read(float* left, float* right, size_t count) {
    const size_t n = std::min(count, audio_.frames() - std::min(position_, audio_.frames()));
    std::copy_n(audio_.left.begin() + static_cast<std::ptrdiff_t>(position_), n, left);
    std::copy_n(audio_.right.begin() + static_cast<std::ptrdiff_t>(position_), n, right);
    position_ += n;
    return n;
}

AudioFileReader::~AudioFileReader() { close(); }

void AudioFileReader::close() {
    if (file_) sf_close(file_);
    file_ = nullptr;
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
}

int openRegularFile(const std::string& path, std::string& reason) {
    // Opened without blocking: a named pipe with no writer would otherwise hold
    // the program for ever, before it could even be told from a file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return -1;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        reason = std::string("it is ") + kindOfFile(status.st_mode) + ", not a file to read";
        ::close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string unreadableFileReason(const std::string& path) {
    std::string reason;
    const int fd = openRegularFile(path, reason);
    if (fd >= 0) ::close(fd);
    return reason;
}

bool AudioFileReader::open(const std::string& path, std::string& error, std::string& note) {
    close();
    std::string reason;
    descriptor_ = openRegularFile(path, reason);
    if (descriptor_ < 0) {
        error = "cannot read " + path + ": " + reason;
        return false;
    }
    SF_INFO info{};
    file_ = sf_open_fd(descriptor_, SFM_READ, &info, SF_FALSE);
    if (!file_) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        close();
        return false;
    }
    return attach(info, path, error, note);
}

bool AudioFileReader::openMemory(const unsigned char* data, size_t size, std::string& error, std::string& note) {
    close();
    memory_ = Memory{data, static_cast<int64_t>(size), 0};
    static SF_VIRTUAL_IO io = {memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    SF_INFO info{};
    file_ = sf_open_virtual(&io, SFM_READ, &info, &memory_);
    if (!file_) {
        error = std::string("cannot read the audio: ") + sf_strerror(nullptr);
        return false;
    }
    return attach(info, "the audio", error, note);
}

bool AudioFileReader::attach(const SF_INFO& info, const std::string& name, std::string& error,
                             std::string& note) {
    name_ = name;
    error_.clear();
    if (info.channels < 1) {
        error = name + " has no audio";
        close();
        return false;
    }
    // A header can claim any rate; far outside what the plug-in is made for,
    // the automatic tail alone would want gigabytes and hours.
    if (info.samplerate < kMinSampleRate || info.samplerate > kMaxSampleRate) {
        error = name + " has a sample rate of " + std::to_string(info.samplerate) + " Hz; nimbrel renders " +
                std::to_string(kMinSampleRate) + " to " + std::to_string(kMaxSampleRate) + " Hz";
        close();
        return false;
    }
    if (info.channels > 2)
        note = name + " has " + std::to_string(info.channels) + " channels; using the first two";
    channels_ = info.channels;
    sampleRate_ = info.samplerate;
    announcedFrames_ = std::max<sf_count_t>(0, info.frames);
    return true;
}

size_t AudioFileReader::read(float* left, float* right, size_t count) {
    if (!file_) return 0;
    const size_t piece = std::max<size_t>(1, kReadSamples / static_cast<size_t>(channels_));
    interleaved_.resize(piece * static_cast<size_t>(channels_));
    size_t done = 0;
    while (done < count) {
        const size_t want = std::min(piece, count - done);
        const sf_count_t got = sf_readf_float(file_, interleaved_.data(), static_cast<sf_count_t>(want));
        if (got <= 0) break;
        for (sf_count_t i = 0; i < got; ++i) {
            const float* frame = &interleaved_[static_cast<size_t>(i) * static_cast<size_t>(channels_)];
            left[done] = frame[0];
            right[done] = channels_ > 1 ? frame[1] : frame[0];
            ++done;
        }
        if (static_cast<size_t>(got) < want) break;
    }
    if (done < count) {
        const int failure = sf_error(file_);
        if (failure != SF_ERR_NO_ERROR) error_ = "cannot read " + name_ + ": " + sf_error_number(failure);
    }
    return done;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool writableFileType(const std::string& path) { return containerFor(fileExtension(path)) != 0; }

bool parseSampleFormat(const std::string& text, SampleFormat& format) {
    if (text == "float" || text == "float32") format = SampleFormat::Float32;
    else if (text == "pcm16" || text == "16") format = SampleFormat::Pcm16;
    else if (text == "pcm24" || text == "24") format = SampleFormat::Pcm24;
    else return false;
    return true;
}

AudioFileWriter::~AudioFileWriter() { abandon(); }

void AudioFileWriter::abandon() {
    if (file_) sf_close(file_);
    file_ = nullptr;
    if (!temporary_.empty()) std::remove(temporary_.c_str());
    temporary_.clear();
    forgetTemporaryFile(cleanupSlot_);
    cleanupSlot_ = -1;
}

bool AudioFileWriter::open(const std::string& path, int sampleRate, SampleFormat format, std::string& error) {
    abandon();
    path_ = path;
    frames_ = 0;
    stagedFrames_ = 0;
    clipping_ = ClippingReport{};
    int container = containerFor(fileExtension(path));
    if (!container) {
        error = "cannot tell the file type of " + path + " (use .wav, .aiff, .flac, .ogg, .caf, .w64 or .au)";
        return false;
    }
    int subtype = format == SampleFormat::Pcm16 ? SF_FORMAT_PCM_16
                : format == SampleFormat::Pcm24 ? SF_FORMAT_PCM_24 : SF_FORMAT_FLOAT;
    if (container == SF_FORMAT_FLAC && subtype == SF_FORMAT_FLOAT) subtype = SF_FORMAT_PCM_24;
    if (container == SF_FORMAT_OGG) subtype = SF_FORMAT_VORBIS;
    countClipping_ = subtype == SF_FORMAT_PCM_16 || subtype == SF_FORMAT_PCM_24;

    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = container | subtype;
    if (!sf_format_check(&info)) {
        error = "cannot write that sample format to " + path;
        return false;
    }

    // Only a regular file (or a link to one) is ever replaced: renaming over a
    // device, a pipe or a folder would destroy something that is not ours.
    struct stat atPath {}, target {};
    const bool exists = lstat(path.c_str(), &atPath) == 0;
    const bool targetExists = stat(path.c_str(), &target) == 0;
    if ((exists && !S_ISREG(atPath.st_mode) && !S_ISLNK(atPath.st_mode)) ||
        (targetExists && !S_ISREG(target.st_mode))) {
        error = "will not replace " + path + ": it is not a regular file";
        return false;
    }

    temporary_ = path + ".partial-" + std::to_string(getpid());
    // Known to the signal handlers before it exists, so it never outlives a kill.
    cleanupSlot_ = rememberTemporaryFile(temporary_.c_str());
    file_ = sf_open(temporary_.c_str(), SFM_WRITE, &info);
    if (!file_) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        abandon();
        return false;
    }
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    // A PEAK chunk carries the wall-clock time: without it the same render gives the same bytes.
    sf_command(file_, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    staged_.assign(2 * kWriteFrames, 0.0f);
    error_.clear();
    return true;
}

bool AudioFileWriter::flush() {
    if (stagedFrames_ == 0) return true;
    const sf_count_t n = static_cast<sf_count_t>(stagedFrames_);
    stagedFrames_ = 0;
    if (sf_writef_float(file_, staged_.data(), n) == n) return true;
    error_ = "cannot write " + path_ + ": " + sf_strerror(file_);
    return false;
}

bool AudioFileWriter::write(const float* left, const float* right, size_t count) {
    if (!file_ || !error_.empty()) return false;
    for (size_t i = 0; i < count; ++i) {
        staged_[2 * stagedFrames_] = left[i];
        staged_[2 * stagedFrames_ + 1] = right[i];
        if (countClipping_) {
            for (float s : {left[i], right[i]}) {
                const float magnitude = std::fabs(s);
                if (magnitude > 1.0f) ++clipping_.samples;
                if (magnitude > clipping_.peak) clipping_.peak = magnitude;
            }
        }
        if (++stagedFrames_ == kWriteFrames && !flush()) return false;
    }
    frames_ += static_cast<int64_t>(count);
    return true;
}

bool AudioFileWriter::commit(std::string& error) {
    if (!file_) {
        error = "cannot write " + path_;
        return false;
    }
    bool ok = error_.empty() && flush();
    if (!ok) error = error_;
    if (sf_close(file_) != 0 && ok) {
        ok = false;
        error = "cannot finish " + path_;
    }
    file_ = nullptr;
    if (ok && std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        ok = false;
        error = "cannot write " + path_ + ": " + std::strerror(errno);
    }
    if (ok) temporary_.clear();
    abandon();
    return ok;
}
