#pragma once
// A plug-in instance for the preset tests, and a picture of everything a
// preset file may change in it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/ov_core.h"

class OvAudio;

// A fresh instance with the factory bank, program 0 current.
std::unique_ptr<OvCore> makeInstance();
// The same as a VST 2 plug-in (no editor), for the VST 2 interface's program access.
std::unique_ptr<OvAudio> makeVstInstance();

struct PluginState {
    std::vector<uint32_t> live;     // live value bits
    std::vector<uint32_t> stored;   // stored value bits, program by program
    std::vector<std::string> names; // all 32 bytes of each stored name
    int current = 0;
    bool operator==(const PluginState& o) const {
        return live == o.live && stored == o.stored && names == o.names && current == o.current;
    }
};
PluginState stateOf(OvCore& effect);

uint32_t bitsOf(float f);
std::string storedName(OvCore& effect, int program);

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
