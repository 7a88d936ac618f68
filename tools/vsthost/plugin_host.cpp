#include "tools/vsthost/plugin_host.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>
#include <vector>

namespace {

using EntryProc = AEffect* (*)(audioMasterCallback);

// The host being loaded: during the entry call the plug-in has no AEffect yet.
thread_local PluginHost* loadingHost = nullptr;

bool fileExists(const std::string& path) { return !path.empty() && access(path.c_str(), R_OK) == 0; }

std::string executableFolder() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return std::string();
    buffer[n] = 0;
    std::string path(buffer);
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string findPluginLibrary() {
    if (const char* env = std::getenv("NIMBREL_PLUGIN"); env && *env) return env;
    std::vector<std::string> candidates;
    std::string exe = executableFolder();
    if (!exe.empty()) {
        candidates.push_back(exe + "/../../Nimbrel.so");  // build tree: build/tools/nimbrel/
        candidates.push_back(exe + "/../Nimbrel.so");
        candidates.push_back(exe + "/Nimbrel.so");
        candidates.push_back(exe + "/../lib/vst/Nimbrel.so");  // install prefix
    }
    if (const char* home = std::getenv("HOME"); home && *home)
        candidates.push_back(std::string(home) + "/.vst/Nimbrel.so");
    candidates.push_back("/usr/local/lib/vst/Nimbrel.so");
    candidates.push_back("/usr/lib/vst/Nimbrel.so");
    for (const std::string& c : candidates)
        if (fileExists(c)) return c;
    return std::string();
}

std::unique_ptr<PluginHost> PluginHost::load(const std::string& path, std::string& error,
                                             bool withCallback) {
    std::unique_ptr<PluginHost> host(new PluginHost());
    host->library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!host->library_) {
        const char* why = dlerror();
        error = "cannot load plug-in library " + path + ": " + (why ? why : "unknown error");
        return nullptr;
    }
    auto entry = reinterpret_cast<EntryProc>(dlsym(host->library_, "VSTPluginMain"));
    if (!entry) entry = reinterpret_cast<EntryProc>(dlsym(host->library_, "main"));
    if (!entry) {
        error = path + " is not a VST 2 plug-in (no VSTPluginMain or main entry)";
        return nullptr;
    }
    host->timeInfo.tempo = 120.0;
    host->timeInfo.sampleRate = 44100.0;
    host->timeInfo.timeSigNumerator = 4;
    host->timeInfo.timeSigDenominator = 4;
    host->timeInfo.flags = kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
    loadingHost = host.get();
    host->effect_ = entry(withCallback ? &PluginHost::hostCallback : nullptr);
    loadingHost = nullptr;
    if (!host->effect_ || host->effect_->magic != kEffectMagic) {
        error = path + ": the plug-in refused to start";
        host->effect_ = nullptr;
        return nullptr;
    }
    host->effect_->resvd1 = reinterpret_cast<intptr_t>(host.get());
    host->dispatch(effOpen);
    return host;
}

PluginHost::~PluginHost() {
    if (effect_) effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
    // NIMBREL_KEEP_LOADED keeps the library mapped, so leak reports can name its functions.
    if (library_ && !std::getenv("NIMBREL_KEEP_LOADED")) dlclose(library_);
}

intptr_t PluginHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void PluginHost::start(float sampleRate, int32_t blockSize) {
    sampleRate_ = sampleRate;
    blockSize_ = blockSize;
    timeInfo.sampleRate = sampleRate;
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    resume();
}

std::string PluginHost::textQuery(int32_t opcode, int32_t index) {
    char buffer[256] = {};
    dispatch(opcode, index, 0, buffer);
    buffer[sizeof buffer - 1] = 0;
    return buffer;
}

std::string PluginHost::parameterName(int32_t index) { return textQuery(effGetParamName, index); }
std::string PluginHost::parameterLabel(int32_t index) { return textQuery(effGetParamLabel, index); }
std::string PluginHost::parameterDisplay(int32_t index) { return textQuery(effGetParamDisplay, index); }
std::string PluginHost::programName() { return textQuery(effGetProgramName); }

std::string PluginHost::programNameIndexed(int32_t index) {
    char buffer[256] = {};
    if (!dispatch(effGetProgramNameIndexed, index, -1, buffer)) return std::string();
    buffer[sizeof buffer - 1] = 0;
    return buffer;
}

void PluginHost::sendMidi(uint8_t status, uint8_t data1, uint8_t data2, int32_t deltaFrames) {
    if (midiCount_ >= 64) return;
    VstMidiEvent& e = midiEvents_[midiCount_];
    e = VstMidiEvent{};
    e.type = kVstMidiType;
    e.byteSize = sizeof(VstMidiEvent);
    e.deltaFrames = deltaFrames;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(data1);
    e.midiData[2] = static_cast<char>(data2);
    midiPointers_[midiCount_] = reinterpret_cast<VstEvent*>(&e);
    ++midiCount_;
}

void PluginHost::process(float** inputs, float** outputs, int32_t frames) {
    if (midiCount_ > 0) {
        // VstEvents declares two pointers; a longer list lives in a larger buffer.
        alignas(VstEvents) unsigned char storage[sizeof(VstEvents) + 64 * sizeof(VstEvent*)] = {};
        auto* list = reinterpret_cast<VstEvents*>(storage);
        list->numEvents = midiCount_;
        std::memcpy(list->events, midiPointers_, sizeof(VstEvent*) * midiCount_);
        dispatch(effProcessEvents, 0, 0, list);
        effect_->processReplacing(effect_, inputs, outputs, frames);
        midiCount_ = 0;
    } else {
        effect_->processReplacing(effect_, inputs, outputs, frames);
    }
    timeInfo.samplePos += frames;
    timeInfo.ppqPos += frames / static_cast<double>(sampleRate_) * timeInfo.tempo / 60.0;
}

intptr_t PluginHost::hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                  void* ptr, float opt) {
    PluginHost* host = loadingHost;
    if (effect && effect->resvd1) host = reinterpret_cast<PluginHost*>(effect->resvd1);
    if (!host) return opcode == audioMasterVersion ? kVstVersion : 0;
    return host->answer(opcode, index, value, ptr, opt);
}

intptr_t PluginHost::answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    callbackCounts.count(opcode);
    intptr_t result = 0;
    if (callbackHook && callbackHook(opcode, index, value, ptr, opt, result)) return result;
    switch (opcode) {
        case audioMasterAutomate:
            lastAutomateIndex = index;
            lastAutomateValue = opt;
            return 0;
        case audioMasterVersion: return kVstVersion;
        case audioMasterWantMidiDeprecated: return 1;
        case audioMasterGetTime: return provideTimeInfo ? reinterpret_cast<intptr_t>(&timeInfo) : 0;
        case audioMasterGetSampleRate: return static_cast<intptr_t>(sampleRate_);
        case audioMasterGetBlockSize: return blockSize_;
        case audioMasterGetCurrentProcessLevel: return 1;
        case audioMasterGetAutomationState: return 1;
        case audioMasterGetVendorString:
            if (ptr) std::strcpy(static_cast<char*>(ptr), "Nimbrel project");
            return 1;
        case audioMasterGetProductString:
            if (ptr) std::strcpy(static_cast<char*>(ptr), "nimbrel host");
            return 1;
        case audioMasterGetVendorVersion: return 1;
        case audioMasterCanDo: {
            const char* text = static_cast<const char*>(ptr);
            if (!text) return 0;
            for (const char* yes : {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo", "sizeWindow"})
                if (std::strcmp(text, yes) == 0) return 1;
            return 0;
        }
        case audioMasterGetLanguage: return 1;
        case audioMasterUpdateDisplay: return 1;
        case audioMasterIOChanged: return 1;
        case audioMasterSizeWindow: return 1;
        default: return 0;
    }
}
