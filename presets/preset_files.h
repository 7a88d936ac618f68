#pragma once
// Moving preset images between memory and disk, and the file-name rules of
// the preset dialogs.
#include <cstddef>
#include <string>
#include <vector>

// Paths are held in 512-byte buffers by the dialogs' contract: a longer path
// (with its terminating zero) is refused.
constexpr size_t kMaxPresetPathLength = 511;
// Nothing of ours comes near this; a larger file is not read into memory.
constexpr size_t kMaxPresetFileSize = 16u << 20;

// True when the path's last three characters are exactly `ext` (three
// lower-case letters); there is no test for the dot.
bool endsWithExtension(const std::string& path, const char* ext);

// The program name a file gives: its base name without the last four
// characters (the extension and its dot); empty when the base name is shorter.
std::string programNameFromPath(const std::string& path);

bool fileExists(const std::string& path);

// Reads a whole regular file of at most kMaxPresetFileSize bytes.
// False, `data` empty, when it cannot be opened or read.
bool readPresetFile(const std::string& path, std::vector<unsigned char>& data);

// Writes `size` bytes to `path` through a temporary file in the same folder
// that then replaces it, so a failed save never leaves a cut file behind (an
// existing file keeps its old content). False, nothing changed, on failure.
bool writePresetFile(const std::string& path, const unsigned char* data, size_t size);
