#pragma once
// A minimal VST 2.4 host: loads a plug-in library with dlopen and talks to it
// only through the AEffect record, its dispatcher and the host callback.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "vst2/aeffect.h"

// How often the plug-in made each callback. The plug-in calls back from the
// audio thread too (time information, and a display update after a MIDI
// program change) while the user-interface thread does: each count is atomic.
class CallbackCounts {
public:
    static constexpr int32_t kSlots = 64;  // the opcodes a VST 2.4 host knows
    int operator[](int32_t opcode) const {
        return opcode >= 0 && opcode < kSlots ? counts_[opcode].load(std::memory_order_relaxed) : 0;
    }
    void count(int32_t opcode) {
        if (opcode >= 0 && opcode < kSlots) counts_[opcode].fetch_add(1, std::memory_order_relaxed);
    }

private:
    std::atomic<int> counts_[kSlots] = {};
};

class PluginHost {
public:
    // Loads the library, calls its entry point and opens the plug-in.
    // Returns null and fills `error` when that fails.
    static std::unique_ptr<PluginHost> load(const std::string& path, std::string& error,
                                            bool withCallback = true);
    ~PluginHost();  // closes the plug-in and unloads the library
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    AEffect* effect() const { return effect_; }
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    // Configures and starts processing: sample rate, block size, resume.
    void start(float sampleRate, int32_t blockSize);
    void suspend() { dispatch(effMainsChanged, 0, 0); }
    void resume() { dispatch(effMainsChanged, 0, 1); }

    void setParameter(int32_t index, float value) { effect_->setParameter(effect_, index, value); }
    float getParameter(int32_t index) { return effect_->getParameter(effect_, index); }
    std::string parameterName(int32_t index);
    std::string parameterLabel(int32_t index);
    std::string parameterDisplay(int32_t index);
    std::string programName();
    std::string programNameIndexed(int32_t index);
    int32_t program() { return static_cast<int32_t>(dispatch(effGetProgram)); }
    void setProgram(int32_t index) { dispatch(effSetProgram, 0, index); }
    std::string textQuery(int32_t opcode, int32_t index = 0);

    // Processes one block in place of the outputs; advances the host's clock.
    void process(float** inputs, float** outputs, int32_t frames);
    // Sends one MIDI message with the block that follows.
    void sendMidi(uint8_t status, uint8_t data1, uint8_t data2, int32_t deltaFrames);

    // What the host answers for time information; null time info when false.
    bool provideTimeInfo = true;
    VstTimeInfo timeInfo{};
    // Counts of each callback opcode the plug-in made, and the last automation.
    CallbackCounts callbackCounts;
    int32_t lastAutomateIndex = -1;
    float lastAutomateValue = 0.0f;
    // Optional override: return true to answer a callback yourself.
    std::function<bool(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt,
                       intptr_t& result)>
        callbackHook;

private:
    PluginHost() = default;
    static intptr_t hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                 void* ptr, float opt);
    intptr_t answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    void* library_ = nullptr;
    AEffect* effect_ = nullptr;
    float sampleRate_ = 44100.0f;
    int32_t blockSize_ = 512;
    // The MIDI list handed to the plug-in must stay valid until the next process call.
    VstMidiEvent midiEvents_[64]{};
    VstEvent* midiPointers_[64]{};
    int midiCount_ = 0;
};

// Where the plug-in library is: $NIMBREL_PLUGIN, then beside the running
// program's build or install tree, then the user's VST folder.
std::string findPluginLibrary();
