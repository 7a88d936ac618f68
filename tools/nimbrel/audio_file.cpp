#include "tools/nimbrel/audio_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sndfile.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string lowerExtension(const std::string& path) {
    size_t dot = path.rfind('.');
    size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

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

}  // namespace

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool readAudioFile(const std::string& path, StereoAudio& audio, std::string& error, std::string& note) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file);
        error = path + " has no audio";
        return false;
    }
    if (info.channels > 2)
        note = path + " has " + std::to_string(info.channels) + " channels; using the first two";
    audio.sampleRate = info.samplerate;
    audio.left.clear();
    audio.right.clear();
    std::vector<float> block(static_cast<size_t>(4096) * info.channels);
    for (;;) {
        sf_count_t got = sf_readf_float(file, block.data(), 4096);
        if (got <= 0) break;
        for (sf_count_t i = 0; i < got; ++i) {
            const float* frame = &block[static_cast<size_t>(i) * info.channels];
            audio.left.push_back(frame[0]);
            audio.right.push_back(info.channels > 1 ? frame[1] : frame[0]);
        }
    }
    int failure = sf_error(file);
    sf_close(file);
    if (failure != SF_ERR_NO_ERROR) {
        error = "cannot read " + path + ": " + sf_error_number(failure);
        return false;
    }
    return true;
}

bool parseSampleFormat(const std::string& text, SampleFormat& format) {
    if (text == "float" || text == "float32") format = SampleFormat::Float32;
    else if (text == "pcm16" || text == "16") format = SampleFormat::Pcm16;
    else if (text == "pcm24" || text == "24") format = SampleFormat::Pcm24;
    else return false;
    return true;
}

bool writeAudioFile(const std::string& path, const StereoAudio& audio, SampleFormat format,
                    std::string& error) {
    int container = containerFor(lowerExtension(path));
    if (!container) {
        error = "cannot tell the file type of " + path + " (use .wav, .aiff, .flac, .ogg, .caf, .w64 or .au)";
        return false;
    }
    int subtype = format == SampleFormat::Pcm16 ? SF_FORMAT_PCM_16
                : format == SampleFormat::Pcm24 ? SF_FORMAT_PCM_24 : SF_FORMAT_FLOAT;
    if (container == SF_FORMAT_FLAC && subtype == SF_FORMAT_FLOAT) subtype = SF_FORMAT_PCM_24;
    if (container == SF_FORMAT_OGG) subtype = SF_FORMAT_VORBIS;

    SF_INFO info{};
    info.samplerate = audio.sampleRate;
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

    std::string temporary = path + ".partial-" + std::to_string(getpid());
    SNDFILE* file = sf_open(temporary.c_str(), SFM_WRITE, &info);
    if (!file) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    // A PEAK chunk carries the wall-clock time: without it the same render gives the same bytes.
    sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    std::vector<float> block(2 * 4096);
    bool ok = true;
    for (size_t start = 0; start < audio.frames() && ok; start += 4096) {
        size_t n = std::min<size_t>(4096, audio.frames() - start);
        for (size_t i = 0; i < n; ++i) {
            block[2 * i] = audio.left[start + i];
            block[2 * i + 1] = audio.right[start + i];
        }
        ok = sf_writef_float(file, block.data(), static_cast<sf_count_t>(n)) == static_cast<sf_count_t>(n);
    }
    if (!ok) error = "cannot write " + path + ": " + sf_strerror(file);
    if (sf_close(file) != 0 && ok) {
        ok = false;
        error = "cannot finish " + path;
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = "cannot write " + path + ": " + std::strerror(errno);
    }
    if (!ok) std::remove(temporary.c_str());
    return ok;
}
