#pragma once
// Reading and writing audio files through libsndfile.
#include <string>
#include <vector>

struct StereoAudio {
    std::vector<float> left, right;
    int sampleRate = 44100;
    size_t frames() const { return left.size(); }
};

// Reads any format libsndfile knows; mono becomes both channels, and of more
// than two channels the first two are kept (`note` then says so).
bool readAudioFile(const std::string& path, StereoAudio& audio, std::string& error, std::string& note);

// True when both paths name one existing file (through links too).
bool sameFile(const std::string& a, const std::string& b);

// Sample formats for writing.
enum class SampleFormat { Float32, Pcm16, Pcm24 };
bool parseSampleFormat(const std::string& text, SampleFormat& format);

// Writes to a temporary file beside `path` and renames it into place, so a
// failed write never leaves a half-written file (nor replaces a good one).
// Anything at `path` that is not a regular file is refused, never replaced.
bool writeAudioFile(const std::string& path, const StereoAudio& audio, SampleFormat format,
                    std::string& error);
