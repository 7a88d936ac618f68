#pragma once
// A plug-in instance for the preset tests, and a picture of everything a
// preset file may change in it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/ovaudio.h"

// A fresh instance with the factory bank, program 0 current, no editor.
std::unique_ptr<OvAudio> makeInstance();

struct PluginState {
    std::vector<uint32_t> live;     // live value bits
    std::vector<uint32_t> stored;   // stored value bits, program by program
    std::vector<std::string> names; // all 32 bytes of each stored name
    int current = 0;
    bool operator==(const PluginState& o) const {
        return live == o.live && stored == o.stored && names == o.names && current == o.current;
    }
};
PluginState stateOf(OvAudio& effect);

uint32_t bitsOf(float f);
std::string storedName(OvAudio& effect, int program);

// A directory of its own under the system's temporary folder, removed with its files.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
};

std::vector<unsigned char> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);
