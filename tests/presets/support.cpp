#include "tests/presets/support.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <ftw.h>
#include <unistd.h>

#include "tests/common/private_data_folder.h"
#include "vst2/ovaudio.h"

namespace {

// Every instance writes a trace log; keep it out of the user's folder.
const std::string& logFolder() { return privateDataFolder(); }

intptr_t hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

int removeEntry(const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }

}  // namespace

std::unique_ptr<OvCore> makeInstance() {
    logFolder();
    return std::make_unique<OvCore>();
}

std::unique_ptr<OvAudio> makeVstInstance() {
    logFolder();
    return std::make_unique<OvAudio>(hostCallback);
}

uint32_t bitsOf(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

std::string storedName(OvCore& effect, int program) { return effect.programs[program].name; }

PluginState stateOf(OvCore& effect) {
    PluginState s;
    for (int i = 0; i < kNumParams; ++i) s.live.push_back(bitsOf(effect.paramValues[i]));
    for (int k = 0; k < kNumPrograms; ++k) {
        for (int i = 0; i < kNumParams; ++i) s.stored.push_back(bitsOf(effect.programs[k].values[i]));
        s.names.emplace_back(effect.programs[k].name, sizeof effect.programs[k].name);
    }
    s.current = effect.getProgram();
    return s;
}

TempDir::TempDir() {
    char tmpl[] = "/tmp/nimbrel-presets-XXXXXX";
    if (!::mkdtemp(tmpl)) throw std::runtime_error("no temporary folder");
    dir_ = tmpl;
}

TempDir::~TempDir() { ::nftw(dir_.c_str(), removeEntry, 8, FTW_DEPTH | FTW_PHYS); }

std::vector<unsigned char> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
