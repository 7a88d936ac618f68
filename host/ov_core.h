#pragma once
// The plug-in instance without a plug-in format: parameters, programs and the
// factory bank, the MIDI queue, the host tempo, the sample rate, the control
// ticks, the render path and its meters. A format layer (VST 2, LV2) wraps
// one OvCore and forwards its host's calls; the format answers the tempo and
// hears of changes through the two interfaces of core_links.h.
#include <cstdint>
#include <memory>
#include <mutex>

#include "base/relaxed.h"
#include "dsp/delay2.h"
#include "dsp/ducker.h"
#include "dsp/gate.h"
#include "dsp/peak_follower.h"
#include "dsp/reverb.h"
#include "dsp/stereo_width.h"
#include "host/core_links.h"
#include "host/parameters.h"
#include "host/program_commands.h"
#include "host/programs.h"

constexpr int kControlRateHz = 300;  // control ticks per second
constexpr int kRenderBufferSize = 65536;
constexpr int kMidiQueueSize = 256;
constexpr int kNumMidiPrograms = 128;  // what a Program Change's data byte can name

struct MidiQueueEntry {
    uint8_t status = 0;  // 0 marks a free slot
    uint8_t dataByte1 = 0;
    uint8_t dataByte2 = 0;
    int64_t deltaFrames = 0;
};

class OvCore {
public:
    // Program 0 of the factory bank current, sample rate 44100, engines at rest.
    OvCore();
    ~OvCore();
    OvCore(const OvCore&) = delete;
    OvCore& operator=(const OvCore&) = delete;

    // Set by the format before audio starts; null means 120 BPM and nobody told.
    void setHostClock(HostClock* clock) { clock_ = clock; }
    void setObserver(InstanceObserver* observer) { observer_ = observer; }

    // ---- configuration and lifecycle ----
    // The lifecycle calls come from the host's user-interface side, never
    // from the audio thread: they may fit the engines' memory to the rate.
    // A rate that is not a positive number (some scanners send 0) is ignored.
    // Engines that have not run since they were last cleared are prepared for
    // the new rate at once; a rate that arrives between blocks of audio (no
    // suspend) is followed by the engines themselves, within the room they
    // keep for any rate, and they are prepared for it at the next suspend or resume.
    void setSampleRate(float sampleRate);
    float getSampleRate() const { return sampleRate_; }
    // Engines, envelope, ducker, meters and the tick countdown at rest; the
    // wet-only factor back to 1. Parameters, programs and the MIDI queue stay.
    void reset();
    // What a host's suspend does: reset(), and the engines prepared for the
    // current rate (their memory resident as far as the settings reach).
    void suspend();
    // What a host's resume does: engines still at rest but prepared for
    // another rate are prepared for the current one; nothing audible changes.
    void resume();

    // ---- parameters (0..67; other indices are ignored or read 0) ----
    // Stores the value in the live values and the current program, and tells the observer.
    void setParameter(int index, float value);
    float getParameter(int index) const;

    // ---- programs (0..179) ----
    int getProgram() const { return curProgram_; }
    // Makes a stored program current, loading its values parameter by parameter.
    void setProgram(int index);
    // Names the current program; keeps the first 24 characters.
    void setProgramName(const char* name);
    // The current program's name into `name` (kProgramNameSize bytes).
    void getProgramName(char* name) const;
    // Program `index`'s name into `name` (kProgramNameSize bytes); false for another index.
    bool getProgramNameIndexed(int index, char* name) const;
    // For the audio thread: the same, but it never waits; false (nothing
    // copied) while a user-interface call is writing the names.
    bool tryProgramName(int index, char* name) const;
    // Puts program `index` into its init state; leaves the live values alone.
    void initPatch(int64_t index);
    // Applies an editor program command to program `index` and makes it current.
    void runProgramCommand(ProgramCommand command, int index);
    // Writes stored program `index` from a file: its name (a terminated text,
    // up to kProgramNameSize - 1 characters kept) and values 0 .. count - 1.
    void storeProgram(int index, const char* name, const float* values, int count);
    // For the audio thread: the same, but it never waits; false (nothing
    // stored) while a user-interface call holds the names.
    bool tryStoreProgram(int index, const char* name, const float* values, int count);
    // Tells the observer that program names or values changed.
    void displayChanged();
    // Counts every change of a program name, so a format can tell its host
    // that the names it listed are out of date.
    uint32_t programNamesVersion() const;

    // ---- MIDI ----
    // Queues an event at frame `deltaFrames` of the current block; only
    // Program Change acts, at the control tick that opens its period.
    void addOrvaneMidiEvent(char status, char dataByte1, char dataByte2, int64_t deltaFrames);
    // The program a Program Change with this data byte selects (on any channel).
    static int programForProgramChange(uint8_t dataByte1);
    // The lowest MIDI program (0..127) that selects the current program; -1 when none does.
    int currentMidiProgram() const;

    // ---- audio (the audio thread) ----
    // Renders `sampleFrames` frames of two channels; input and output may be the same buffers.
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames);

    // ---- shared with the user interface ----
    // Lit LEDs of the meters (the render path writes them; they may lie outside 0..10).
    Relaxed<int64_t> gateMeter{0}, outputMeter{0}, duckMeter{0};
    // Requests to an editor, raised whenever programs change.
    Relaxed<bool> refreshProgramList{false};
    Relaxed<bool> refreshWaveDisplay{false};
    // Factor on the dry signal; the editor's wet-only button sets it.
    Relaxed<float> dryFactor{1.0f};

    // The state the render path works on, open for tests and tools.
    double hostTempo = 120.0;
    std::unique_ptr<OvProgram[]> programs;
    Relaxed<float> paramValues[kNumParams];
    Reverb reverb;
    Delay2 delay;
    Gate gate;
    Ducker ducker;
    StereoWidth width;
    PeakFollower outputPeak;

private:
    // A parameter as the render path uses it: within 0..1 (not a number reads 0).
    float control(int index) const;
    // Program `index`'s name becomes `name` (all kProgramNameSize bytes).
    // `wait` false: gives up (false) instead of waiting for the names.
    bool writeName(int index, const char (&name)[kProgramNameSize], bool wait = true);
    bool putProgram(int index, const char* name, const float* values, int count, bool wait);
    void calcBPM();
    void executeOrvaneMidiEvents(int64_t limit);
    void renderDSP(int64_t count, float* inL, float* inR, float* outL, float* outR, int64_t offset);

    // Names are written and read by user-interface calls that a host may
    // make from two threads; the audio thread only ever tries the lock.
    mutable std::mutex namesLock_;
    uint32_t namesVersion_ = 0;  // guarded by namesLock_
    HostClock* clock_ = nullptr;
    InstanceObserver* observer_ = nullptr;
    Relaxed<float> sampleRate_{44100.0f};
    Relaxed<int32_t> curProgram_{0};
    // Both engines prepared for the current rate, the sound unchanged.
    void prepareEngines();
    void prepareEnginesIfAtRest();
    // True while the engines have rendered nothing since they were prepared:
    // preparing them again then changes nothing that can be heard.
    Relaxed<bool> enginesAtRest_{true};
    float preparedRate_ = 0.0f;  // the rate the engines were last prepared for
    float tickCountdown = 0.0f;
    int64_t controlBlockSize = 147;
    float wetL[kRenderBufferSize], wetR[kRenderBufferSize];
    float auxL[kRenderBufferSize], auxR[kRenderBufferSize];
    float dryL[kRenderBufferSize], dryR[kRenderBufferSize];
    MidiQueueEntry midiQueue[kMidiQueueSize];
    float lastMMix = 0.0f, lastRMix = 0.0f, lastBypass = 0.0f;
};
