#pragma once
// The VST 2 plug-in: the adapter classes around one format-free OvCore. The
// host's calls are forwarded to the core; the core asks for the tempo through
// the host's time information and reports changes to the editor and the host.
#include <cstdint>

#include "host/core_links.h"
#include "host/ov_core.h"
#include "vst2/audioeffectx.h"

class OvAudio : public AudioEffectX, private HostClock, private InstanceObserver {
public:
    // Makes the instance's editor; the plug-in's entry passes one, tools and
    // tests may build the instance without.
    using EditorFactory = AEffEditor* (*)(OvAudio& effect);

    explicit OvAudio(audioMasterCallback audioMaster, EditorFactory makeEditor = nullptr);
    ~OvAudio() override;

    void suspend() override;
    void resume() override;
    void setSampleRate(float sampleRate) override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;

    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    int32_t getProgram() override;
    void setProgram(int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(int32_t index, char* label) override;
    void getParameterDisplay(int32_t index, char* text) override;
    void getParameterName(int32_t index, char* text) override;
    bool canParameterBeAutomated(int32_t index) override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;
    int32_t processEvents(VstEvents* events) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t getVendorVersion() override;
    int32_t canDo(char* text) override;
    VstPlugCategory getPlugCategory() override;

    // The editor's program switch; behaves as setProgram.
    void setProgramS(int32_t index);
    // The value text of any parameter for any value (text: kTextBufferSize bytes).
    void getParameterDisplayValue(int64_t index, char* text, float value);

    OvCore core;

private:
    double tempo() override;
    void parameterChanged(int index, float value) override;
    void displayChanged() override;
};
