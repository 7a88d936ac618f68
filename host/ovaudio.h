#pragma once
// The plug-in instance the host talks to: configuration, lifecycle, the
// parameters and programs, the MIDI queue, the host tempo and the render path.
#include <cstdint>
#include <memory>

#include "dsp/delay2.h"
#include "dsp/envelope.h"
#include "dsp/reverb.h"
#include "host/parameters.h"
#include "host/programs.h"
#include "host/relaxed.h"
#include "vst2/audioeffectx.h"

constexpr int kControlRateHz = 300;
constexpr int kRenderBufferSize = 65536;
constexpr int kMidiQueueSize = 256;
constexpr int32_t kNimbrelUniqueId = fourCharCode('O', 'v', 'R', 'V');
constexpr const char* kNimbrelVendor = "orvane.example";

struct MidiQueueEntry {
    uint8_t status = 0;  // 0 marks a free slot
    uint8_t dataByte1 = 0;
    uint8_t dataByte2 = 0;
    int64_t deltaFrames = 0;
};

class OvAudio : public AudioEffectX {
public:
    explicit OvAudio(audioMasterCallback audioMaster);
    ~OvAudio() override;

    void suspend() override;
    void resume() override;
    void setSampleRate(float sampleRate) override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;

    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
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
    // Puts program `index` into its init state; leaves the current values alone.
    void initPatch(int64_t index);
    // The value text of any parameter for any value (text: kTextBufferSize bytes).
    void getParameterDisplayValue(int64_t index, char* text, float value);
    void reset();
    void calcBPM();
    void executeOrvaneMidiEvents(int64_t limit);
    void addOrvaneMidiEvent(char status, char dataByte1, char dataByte2, int64_t deltaFrames);
    void renderDSP(int64_t count, float* inL, float* inR, float* outL, float* outR, int64_t offset);

    // Meters published by the render path; the editor remembers what it drew.
    Relaxed<int64_t> gateMeter{0}, outputMeter{0}, duckMeter{0};
    Relaxed<int64_t> gateMeterShown{-1}, outputMeterShown{-1}, duckMeterShown{-1};
    // Requests to the editor, served by its idle.
    Relaxed<bool> refreshProgramList{false};
    Relaxed<bool> refreshWaveDisplay{false};
    // Factor on the dry signal; the editor's wet-only button sets it.
    Relaxed<float> dryFactor{1.0f};

    double hostTempo = 120.0;
    std::unique_ptr<OvProgram[]> programs;
    Reverb reverb;
    Delay2 delay;
    Envelope gateEnvelope;
    Reverb displayReverb;  // run only by the editor's wave display
    Relaxed<float> paramValues[kNumParams];

private:
    // A parameter as the render path uses it: within 0..1 (not a number reads 0).
    float control(int index) const;

    float tickCountdown = 0.0f;
    float wetL[kRenderBufferSize], wetR[kRenderBufferSize];
    float auxL[kRenderBufferSize], auxR[kRenderBufferSize];
    float dryL[kRenderBufferSize], dryR[kRenderBufferSize];
    Relaxed<int64_t> sampleRateWhole{44100};
    MidiQueueEntry midiQueue[kMidiQueueSize];
    int64_t controlBlockSize = 147;
    float duckTarget = 0.0f, duckSmooth = 0.0f;
    int64_t duckHold = 0;
    float peakLevel = 0.0f;
    float lastMMix = 0.0f, lastRMix = 0.0f, lastBypass = 0.0f;
    // The gate envelope's last settings, so unchanged ones are not recomputed.
    float gateAttack_ = -1.0f, gateHold_ = -1.0f, gateRelease_ = -1.0f, gateTimeBase_ = -1.0f;
};
