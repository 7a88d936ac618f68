#include "host/ov_core.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "base/denormals.h"
#include "dsp/dspmath.h"
#include "host/switch_points.h"

static_assert(kNumSteps == Delay2::kSteps, "one parameter pair per multitap step");

namespace {

// The MIDI status byte's high nibble for Program Change.
constexpr uint8_t kProgramChange = 0xC0;

// Input samples as the render path takes them: one that is not a finite
// number as silence, a finite one within +-kInputLimit (120 dB above full
// scale), so that no engine's arithmetic overflows on the way in.
constexpr float kInputLimit = 1.0e6f;
float boundedInput(float x) {
    return std::isfinite(x) ? dspmath::limited(x, -kInputLimit, kInputLimit, 0.0f) : 0.0f;
}

// What an engine may give: far beyond what any setting makes of bounded
// input, and far enough below the largest float that the mix after it stays
// finite. An engine past it (or giving what is not a number) has lost its way.
constexpr float kEngineOutputLimit = 1.0e18f;

// True when every sample of the two channels is within +-limit. Compares the
// magnitudes' bits (ordered as the magnitudes are, infinity and not a number
// above every finite one), so that the loop needs no float arithmetic and
// vectorises.
bool allWithin(const float* left, const float* right, int64_t count, float limit) {
    uint32_t largest = 0;
    for (int64_t i = 0; i < count; ++i) {
        uint32_t l, r;
        std::memcpy(&l, &left[i], sizeof l);
        std::memcpy(&r, &right[i], sizeof r);
        l &= 0x7FFFFFFFu;
        r &= 0x7FFFFFFFu;
        largest = l > largest ? l : largest;
        largest = r > largest ? r : largest;
    }
    uint32_t limitBits;
    std::memcpy(&limitBits, &limit, sizeof limitBits);
    return largest <= limitBits;
}

void copyName(char* dest, const char* src, int maxChars) {
    int n = 0;
    while (n < maxChars && src[n] != 0) {
        dest[n] = src[n];
        ++n;
    }
    dest[n] = 0;
}

}  // namespace

OvCore::OvCore() {
    dryFactor = 1.0f;

    for (MidiQueueEntry& e : midiQueue) e = MidiQueueEntry{};

    programs.reset(new OvProgram[kNumPrograms]);
    for (int i = 0; i < kNumPrograms; ++i) initPatch(i);
    for (int i = 0; i < kNumPrograms; ++i) {
        char name[kProgramNameSize] = {};
        std::memcpy(name, factoryPresets[i].name, sizeof factoryPresets[i].name);
        writeName(i, name);
        for (int p = 0; p < kNumParams; ++p) programs[i].values[p] = factoryPresets[i].values[p];
    }

    curProgram_ = 0;
    for (int p = 0; p < kNumParams; ++p) setParameter(p, programs[0].values[p].load());

    // The multitap's random program picks its steps with rand().
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    reset();
    prepareEngines();
}

OvCore::~OvCore() = default;

// ---- lifecycle ------------------------------------------------------------

void OvCore::setSampleRate(float sampleRate) {
    if (!(std::isfinite(sampleRate) && sampleRate > 0.0f)) return;
    sampleRate_ = sampleRate;
    prepareEnginesIfAtRest();
}

void OvCore::prepareEngines() {
    const float rate = getSampleRate();
    reverb.prepare(rate);
    delay.prepare(rate);
    preparedRate_ = rate;
    enginesAtRest_ = true;
}

void OvCore::prepareEnginesIfAtRest() {
    if (enginesAtRest_ && !(preparedRate_ == getSampleRate())) prepareEngines();
}

void OvCore::reset() {
    reverb.reset();
    delay.reset();
    // A suspended and resumed instance must render what a new one renders: hosts suspend
    // and resume around an offline bounce after having played the same settings.
    delay.forgetLastSettings();
    gate.reset();
    tickCountdown = 0.0f;
    ducker.reset();
    outputPeak.reset();
    lastBypass = 0.0f;
    gateMeter = 0;
    outputMeter = 0;
    duckMeter = 0;
    dryFactor = 1.0f;
}

void OvCore::suspend() {
    reset();
    prepareEngines();
}

void OvCore::resume() { prepareEnginesIfAtRest(); }

// ---- parameters -----------------------------------------------------------

void OvCore::setParameter(int index, float value) {
    if (index < 0 || index >= kNumParams) return;
    programs[curProgram_].values[index] = value;
    paramValues[index] = value;
    if (observer_) observer_->parameterChanged(index, value);
}

float OvCore::getParameter(int index) const {
    return (index >= 0 && index < kNumParams) ? paramValues[index].load() : 0.0f;
}

float OvCore::control(int index) const { return controlValue(paramValues[index]); }

// ---- programs -------------------------------------------------------------

void OvCore::setProgram(int index) {
    if (index < 0 || index >= kNumPrograms) return;
    curProgram_ = index;
    for (int p = 0; p < kNumParams; ++p) setParameter(p, programs[index].values[p]);
    refreshProgramList = true;
    refreshWaveDisplay = true;
}

void OvCore::setProgramName(const char* name) {
    if (!name) return;
    char text[kProgramNameSize] = {};
    copyName(text, name, kProgramNameMaxChars);
    writeName(curProgram_, text);
    refreshProgramList = true;
}

void OvCore::getProgramName(char* name) const {
    std::lock_guard<std::mutex> lock(namesLock_);
    copyName(name, programs[curProgram_].name, kProgramNameSize - 1);
}

bool OvCore::getProgramNameIndexed(int index, char* name) const {
    if (index < 0 || index >= kNumPrograms) return false;
    std::lock_guard<std::mutex> lock(namesLock_);
    copyName(name, programs[index].name, kProgramNameSize - 1);
    return true;
}

bool OvCore::tryProgramName(int index, char* name) const {
    if (index < 0 || index >= kNumPrograms) return false;
    std::unique_lock<std::mutex> lock(namesLock_, std::try_to_lock);
    if (!lock.owns_lock()) return false;
    copyName(name, programs[index].name, kProgramNameSize - 1);
    return true;
}

bool OvCore::writeName(int index, const char (&name)[kProgramNameSize], bool wait) {
    std::unique_lock<std::mutex> lock(namesLock_, std::defer_lock);
    if (wait)
        lock.lock();
    else if (!lock.try_lock())
        return false;
    std::memcpy(programs[index].name, name, kProgramNameSize);
    ++namesVersion_;
    return true;
}

uint32_t OvCore::programNamesVersion() const {
    std::lock_guard<std::mutex> lock(namesLock_);
    return namesVersion_;
}

void OvCore::initPatch(int64_t index) {
    if (index < 0 || index >= kNumPrograms) return;
    const ProgramPatch patch = initProgram(static_cast<int>(index));
    OvProgram& program = programs[index];
    for (int p = 0; p < kNumParams; ++p) program.values[p] = patch.values[p];
    writeName(static_cast<int>(index), patch.name);
}

void OvCore::runProgramCommand(ProgramCommand command, int index) {
    if (index < 0 || index >= kNumPrograms) return;
    const ProgramPatch patch = buildProgram(command, index, ProgramDice::shared());
    OvProgram& program = programs[index];
    for (int p = 0; p < kNumParams; ++p) program.values[p] = patch.values[p];
    writeName(index, patch.name);
    setProgram(index);
}

void OvCore::storeProgram(int index, const char* name, const float* values, int count) {
    putProgram(index, name, values, count, true);
}

bool OvCore::tryStoreProgram(int index, const char* name, const float* values, int count) {
    return putProgram(index, name, values, count, false);
}

bool OvCore::putProgram(int index, const char* name, const float* values, int count, bool wait) {
    if (index < 0 || index >= kNumPrograms || !name) return false;
    OvProgram& stored = programs[index];
    char text[kProgramNameSize] = {};
    copyName(text, name, kProgramNameSize - 1);
    if (!writeName(index, text, wait)) return false;
    if (count > kNumParams) count = kNumParams;
    for (int i = 0; i < count; ++i) stored.values[i] = values[i];
    // The program menu shows the stored names.
    refreshProgramList = true;
    return true;
}

void OvCore::displayChanged() {
    if (observer_) observer_->displayChanged();
}

// ---- MIDI and tempo -------------------------------------------------------

void OvCore::addOrvaneMidiEvent(char status, char dataByte1, char dataByte2, int64_t deltaFrames) {
    int slot = 0;  // a full queue overwrites slot 0
    for (int i = 0; i < kMidiQueueSize; ++i) {
        if (midiQueue[i].status == 0) {
            slot = i;
            break;
        }
    }
    MidiQueueEntry& e = midiQueue[slot];
    e.status = static_cast<uint8_t>(status);
    e.dataByte1 = static_cast<uint8_t>(dataByte1);
    e.dataByte2 = static_cast<uint8_t>(dataByte2);
    e.deltaFrames = deltaFrames;
}

int OvCore::programForProgramChange(uint8_t dataByte1) {
    const int program = static_cast<int8_t>(dataByte1);
    return program < 0 ? 0 : (program > kNumPrograms - 1 ? kNumPrograms - 1 : program);
}

int OvCore::currentMidiProgram() const {
    const int current = curProgram_;
    for (int m = 0; m < kNumMidiPrograms; ++m)
        if (programForProgramChange(static_cast<uint8_t>(m)) == current) return m;
    return -1;
}

void OvCore::executeOrvaneMidiEvents(int64_t limit) {
    for (MidiQueueEntry& e : midiQueue) {
        if (e.status == 0 || e.deltaFrames >= limit) continue;
        if ((e.status & 0xF0) == kProgramChange) {
            setProgram(programForProgramChange(e.dataByte1));
            displayChanged();
        }
        e.status = 0;
    }
}

void OvCore::calcBPM() { hostTempo = clock_ ? clock_->tempo() : 120.0; }

// ---- audio ----------------------------------------------------------------

void OvCore::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    if (sampleFrames < 1) return;
    if (!inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1]) return;
    ScopedFlushDenormals flushDenormals;
    if (enginesAtRest_) enginesAtRest_ = false;

    // Keep every piece within the work buffers, and at least one sample long:
    // bounded while still a float, so that no rate makes the count undefined.
    const float period = getSampleRate() / static_cast<float>(kControlRateHz);
    controlBlockSize = static_cast<int64_t>(
        dspmath::limited(period, 1.0f, static_cast<float>(kRenderBufferSize), 1.0f));

    int64_t offset = 0;
    int64_t remaining = sampleFrames;
    for (;;) {
        int64_t c = static_cast<int64_t>(tickCountdown);
        if (c > remaining) {
            tickCountdown -= static_cast<float>(remaining);
            renderDSP(remaining, inputs[0], inputs[1], outputs[0], outputs[1], offset);
            return;
        }
        remaining -= c;
        if (c > 0) {
            renderDSP(c, inputs[0], inputs[1], outputs[0], outputs[1], offset);
            offset += c;
        }
        tickCountdown = tickCountdown - static_cast<float>(c) + static_cast<float>(controlBlockSize);
        executeOrvaneMidiEvents(offset + controlBlockSize);
        calcBPM();
        if (remaining == 0) return;
    }
}

void OvCore::renderDSP(int64_t count, float* inL, float* inR, float* outL, float* outR, int64_t offset) {
    using namespace param;
    inL += offset;
    inR += offset;
    outL += offset;
    outR += offset;
    const float sampleRate = getSampleRate();
    outputPeak.setSampleRate(sampleRate);
    const float bypass = control(Bypass);
    const float mmix = control(MMix);
    const float rmix = control(RMix);

    if (switchOn(bypass)) {
        for (int64_t i = 0; i < count; ++i) {
            outL[i] = inL[i];
            outR[i] = inR[i];
            outputPeak.process(outL[i], outR[i]);
        }
        outputMeter = outputPeak.meterStep();
        duckMeter = 0;
        gateMeter = 0;
        lastBypass = bypass;
        lastMMix = mmix;
        lastRMix = rmix;
        return;
    }

    // Step levels for the multitap.
    for (int k = 0; k < kNumSteps; ++k) {
        delay.stepL[k] = control(stepLeft(k));
        delay.stepR[k] = control(stepRight(k));
    }

    // Work on bounded copies of the input, so that it cannot poison the engines' memory.
    for (int64_t i = 0; i < count; ++i) {
        float l = boundedInput(inL[i]);
        float r = boundedInput(inR[i]);
        wetL[i] = dryL[i] = l;
        wetR[i] = dryR[i] = r;
    }

    const float mix = control(Mix);
    float dryMix = 1.0f - mix;

    // An engine that comes on starts from silence.
    if (!engineOn(lastMMix) && engineOn(mmix)) delay.reset();
    if (!engineOn(lastRMix) && engineOn(rmix)) reverb.reset();
    if (switchOn(lastBypass)) {
        delay.reset();
        reverb.reset();
    }

    calcBPM();
    delay.bpm = static_cast<float>(hostTempo);
    delay.samplerate = sampleRate;
    reverb.samplerate = sampleRate;

    // An engine whose memory came to hold what is not a number would give
    // nothing else for ever: past the limit it starts afresh, and its piece is silent.
    auto clearIfPoisoned = [&](auto& engine, float* left, float* right) {
        if (allWithin(left, right, count, kEngineOutputLimit)) return;
        engine.reset();
        std::memset(left, 0, sizeof(float) * count);
        std::memset(right, 0, sizeof(float) * count);
    };
    auto runReverb = [&](float* left, float* right, float engineMix) {
        reverb.universalReverbCalcEnhanced(left, right, count, engineMix, control(RDecay), control(RSize),
                                           control(RPredel), control(RSwirl), control(RHiDamp),
                                           control(RLowDamp), 1.0f - control(RHiCut), control(RLowCut),
                                           control(RDiffuse), 1.0f, 0.5f);
        clearIfPoisoned(reverb, left, right);
    };
    auto runMultitap = [&](float* left, float* right, float engineMix) {
        delay.universalTapCalc17(left, right, count, engineMix, control(MTime), control(MFeedba),
                                 control(MDetune), control(MHiDamp), control(MLowDamp),
                                 1.0f - control(MHiCut), control(MLowCut), 0.0f, 1.0f, 0.5f);
        clearIfPoisoned(delay, left, right);
    };
    auto scaleWet = [&](float gain) {
        for (int64_t i = 0; i < count; ++i) {
            wetL[i] *= gain;
            wetR[i] *= gain;
        }
    };

    const bool multitapOn = engineOn(mmix);
    const bool reverbOn = engineOn(rmix);
    if (!multitapOn && !reverbOn) {
        scaleWet(mix);
        dryMix = 1.0f - mix;
    } else if (!multitapOn) {
        runReverb(wetL, wetR, 1.0f);
        scaleWet(mix * rmix);
        dryMix = 1.0f - mix * rmix;
    } else if (!reverbOn) {
        runMultitap(wetL, wetR, 1.0f);
        scaleWet(mix * mmix);
        dryMix = 1.0f - mix * mmix;
    } else if (switchOn(control(Route))) {  // serial
        runReverb(wetL, wetR, rmix);
        runMultitap(wetL, wetR, mmix);
        scaleWet(mix);
        dryMix = 1.0f - mix;
    } else {  // parallel
        std::memcpy(auxL, dryL, sizeof(float) * count);
        std::memcpy(auxR, dryR, sizeof(float) * count);
        runReverb(wetL, wetR, 1.0f);
        runMultitap(auxL, auxR, 1.0f);
        for (int64_t i = 0; i < count; ++i) {
            wetL[i] = (wetL[i] * rmix + auxL[i] * mmix) * mix;
            wetR[i] = (wetR[i] * rmix + auxR[i] * mmix) * mix;
        }
        dryMix = 1.0f - 0.5f * mix * (mmix + rmix);
    }

    width.setSurround(control(Surround));
    width.process(wetL, wetR, count);

    dryMix *= dryFactor;
    gate.setSampleRate(sampleRate);
    ducker.setSampleRate(sampleRate);
    const float volume = control(Volume);
    const float outputGain = volume * volume * 4.0f;

    int64_t gateLevel = 0;
    int64_t duckLevel = 0;
    for (int64_t i = 0; i < count; ++i) {
        const float inputLevel =
            static_cast<float>((std::fabs(static_cast<double>(dryL[i])) + std::fabs(static_cast<double>(dryR[i]))) * 0.5);

        // Gate and ducker, keyed by the dry input; their controls act at the next sample.
        float gateGain = 1.0f;
        const float threshold = control(GThresh);
        if (!gateOn(threshold)) {
            gateLevel = 0;
        } else {
            gateGain = gate.process(inputLevel, threshold, control(GAttack), control(GHold), control(GRelease));
            gateLevel = Gate::meterStep(gateGain);
        }

        float duckGain = 1.0f;
        const float duckLevelControl = control(DLevel);
        if (!duckerOn(duckLevelControl)) {
            duckLevel = 0;
        } else {
            duckGain = ducker.process(inputLevel, duckLevelControl, control(DLimit));
            duckLevel = Ducker::meterStep(duckGain);
        }

        outL[i] = (dryMix * dryL[i] + duckGain * wetL[i] * gateGain) * outputGain;
        outR[i] = (dryMix * dryR[i] + gateGain * (duckGain * wetR[i])) * outputGain;
        outputPeak.process(outL[i], outR[i]);
    }
    gateMeter = gateLevel;
    duckMeter = duckLevel;
    outputMeter = outputPeak.meterStep();

    lastMMix = mmix;
    lastRMix = rmix;
    lastBypass = bypass;
}
