#pragma once
// Adapter between the host's AEffect record and a C++ plug-in object.
//
// The host talks to the AEffect record; the static forwarders here turn its
// calls into virtual calls on the object. Every text the plug-in produces is
// made in a roomy buffer of ours first and copied to the host's buffer within
// the interface's limit, so no override can write past what a host provides.
#include <cstdint>

#include "base/relaxed.h"
#include "vst2/aeffect.h"

class AEffEditor;

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    // Roomy buffer size for texts made by overrides; the dispatcher cuts them.
    static constexpr int kTextBufferSize = 256;

    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate(float newRate) { sampleRate = newRate; }
    virtual void setBlockSize(int32_t newSize) { blockSize = newSize; }

    virtual void process(float** inputs, float** outputs, int32_t sampleFrames);
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    virtual void processDoubleReplacing(double** inputs, double** outputs, int32_t sampleFrames);

    virtual void setParameter(int32_t index, float value) { (void)index; (void)value; }
    virtual float getParameter(int32_t index) { (void)index; return 0.0f; }
    // Sets the value and tells the host, so it can record automation.
    virtual void setParameterAutomated(int32_t index, float value);

    virtual int32_t getProgram() { return curProgram; }
    virtual void setProgram(int32_t program) { curProgram = program; }
    virtual void setProgramName(char* name) { (void)name; }
    virtual void getProgramName(char* name) { *name = 0; }
    virtual void getParameterLabel(int32_t index, char* label) { (void)index; *label = 0; }
    virtual void getParameterDisplay(int32_t index, char* text) { (void)index; *text = 0; }
    virtual void getParameterName(int32_t index, char* text) { (void)index; *text = 0; }
    virtual int32_t getChunk(void** data, bool isPreset) { (void)data; (void)isPreset; return 0; }
    virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset) {
        (void)data; (void)byteSize; (void)isPreset; return 0;
    }

    AEffect* getAeffect() { return &cEffect; }
    AEffEditor* getEditor() { return editor; }
    void setEditor(AEffEditor* newEditor);
    float getSampleRate() const { return sampleRate; }
    int32_t getBlockSize() const { return blockSize; }
    int32_t getNumPrograms() const { return numPrograms; }
    int32_t getNumParams() const { return numParams; }

    // Configuration towards the host.
    void setUniqueID(int32_t id) { cEffect.uniqueID = id; }
    void setNumInputs(int32_t n) { cEffect.numInputs = n; }
    void setNumOutputs(int32_t n) { cEffect.numOutputs = n; }
    void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
    void canDoubleReplacing(bool state = true) { setFlag(effFlagsCanDoubleReplacing, state); }
    void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }
    void isSynth(bool state = true) { setFlag(effFlagsIsSynth, state); }
    void setInitialDelay(int32_t delay) { cEffect.initialDelay = delay; }

    // Host queries; each answers 0 when there is no host callback.
    intptr_t getMasterVersion();
    intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

protected:
    void setFlag(int32_t flag, bool state) {
        cEffect.flags = state ? (cEffect.flags | flag) : (cEffect.flags & ~flag);
    }

    audioMasterCallback audioMaster;
    AEffEditor* editor = nullptr;
    Relaxed<float> sampleRate{44100.0f};
    Relaxed<int32_t> blockSize{1024};
    int32_t numPrograms;
    int32_t numParams;
    Relaxed<int32_t> curProgram{0};
    AEffect cEffect;
};

// Copies a zero-terminated text into a host buffer of `size` bytes, cutting it
// to fit and always terminating it.
void vstCopyText(char* dest, const char* src, int size);
// As vstCopyText, but a text too long for the buffer first loses its spaces
// ("100% 22.0" becomes "100%22.0"), so short value texts keep their digits.
void vstFitText(char* dest, const char* src, int size);
