#include "host/ovaudio.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "host/denormals.h"
#include "host/editor_factory.h"
#include "host/trace_log.h"
#include "vst2/aeffeditor.h"

namespace {

constexpr float kEngineOnLevel = 0.05f;

// The MIDI status byte's high nibble for Program Change.
constexpr uint8_t kProgramChange = 0xC0;

float finiteOrZero(float x) { return std::isfinite(x) ? x : 0.0f; }

void copyName(char* dest, const char* src, int maxChars) {
    int n = 0;
    while (n < maxChars && src[n] != 0) {
        dest[n] = src[n];
        ++n;
    }
    dest[n] = 0;
}

}  // namespace

OvAudio::OvAudio(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams) {
    startLog();
    printLog("OvAudio::OvAudio start");
    sampleRateWhole = 44100;
    dryFactor = 1.0f;

    // Configured whether or not a host callback came with the call: a host that
    // probes with none still reads the record, and must see our identity.
    setNumInputs(2);
    setNumOutputs(2);
    isSynth(false);
    setUniqueID(kNimbrelUniqueId);
    canProcessReplacing();

    char hostProduct[kVstMaxProductStrLen + 1] = {};
    getHostProductString(hostProduct);
    printLog(hostProduct);
    char line[64];
    std::snprintf(line, sizeof line, "Host version: %d", getHostVendorVersion());
    printLog(line);

    for (MidiQueueEntry& e : midiQueue) e = MidiQueueEntry{};

    programs.reset(new OvProgram[kNumPrograms]);
    for (int i = 0; i < kNumPrograms; ++i) initPatch(i);
    for (int i = 0; i < kNumPrograms; ++i) {
        std::memcpy(programs[i].name, factoryPresets[i].name, sizeof factoryPresets[i].name);
        for (int p = 0; p < kNumParams; ++p) programs[i].values[p] = factoryPresets[i].values[p];
    }

    curProgram = 0;
    for (int p = 0; p < kNumParams; ++p) setParameter(p, programs[0].values[p].load());

    std::srand(static_cast<unsigned>(std::time(nullptr)));
    sampleRateWhole = static_cast<int64_t>(getSampleRate());
    reset();

    setEditor(createOvEditor(this));
    resume();
    printLog("OvAudio::OvAudio end");
}

OvAudio::~OvAudio() {
    printLog("OvAudio::~OvAudiostart");
    printLog("OvAudio::mark1");
    printLog("OvAudio::mark2");
    programs.reset();
    printLog("OvAudio::mark3");
    printLog("OvAudio::~OvAudio end");
}

// ---- lifecycle ------------------------------------------------------------

void OvAudio::reset() {
    sampleRateWhole = static_cast<int64_t>(getSampleRate());
    reverb.reset();
    delay.reset();
    // A suspended and resumed instance must render what a new one renders: hosts suspend
    // and resume around an offline bounce after having played the same settings.
    delay.forgetLastSettings();
    gateEnvelope.state = 0;
    gateEnvelope.output = 0.0f;
    gateEnvelope.heldLevel = 0.0f;
    gateEnvelope.phase = 1.0f;
    tickCountdown = 0.0f;
    duckTarget = 0.0f;
    duckSmooth = 0.0f;
    peakLevel = 0.0f;
    lastBypass = 0.0f;
    duckHold = 0;
    gateMeter = 0;
    outputMeter = 0;
    duckMeter = 0;
    gateMeterShown = -1;
    outputMeterShown = -1;
    duckMeterShown = -1;
    dryFactor = 1.0f;
}

void OvAudio::suspend() {
    reset();
    reverb.reset();
    delay.reset();
}

void OvAudio::resume() { AudioEffectX::resume(); }

void OvAudio::setSampleRate(float sampleRate) {
    printLog("OvAudio::setSampleRate start");
    // A rate that is not a positive number (some scanners send 0) is not a rate: keep ours.
    if (std::isfinite(sampleRate) && sampleRate > 0.0f) {
        AudioEffectX::setSampleRate(sampleRate);
        sampleRateWhole = static_cast<int64_t>(sampleRate);
    }
    printLog("OvAudio::setSampleRate end");
}

// ---- identity -------------------------------------------------------------

bool OvAudio::getEffectName(char* name) {
    std::strcpy(name, "Nimbrel");
    return true;
}

bool OvAudio::getProductString(char* text) {
    std::strcpy(text, "Nimbrel");
    return true;
}

bool OvAudio::getVendorString(char* text) {
    std::strcpy(text, kNimbrelVendor);
    return true;
}

int32_t OvAudio::getVendorVersion() { return 1000; }

VstPlugCategory OvAudio::getPlugCategory() { return kPlugCategEffect; }

int32_t OvAudio::canDo(char* text) {
    static const char* const kYes[] = {"receiveVstEvents", "receiveVstMidiEvent", "midiProgramNames",
                                       "receiveVstTimeInfo"};
    for (const char* yes : kYes)
        if (text && std::strcmp(text, yes) == 0) return 1;
    return -1;
}

// ---- parameters -----------------------------------------------------------

void OvAudio::setParameter(int32_t index, float value) {
    if (index < 0 || index >= kNumParams) return;
    programs[curProgram].values[index] = value;
    paramValues[index] = value;
    if (editor) editor->setParameter(index, value);
}

float OvAudio::getParameter(int32_t index) {
    return (index >= 0 && index < kNumParams) ? paramValues[index].load() : 0.0f;
}

bool OvAudio::canParameterBeAutomated(int32_t index) { return index >= 0 && index < kNumNamedParams; }

void OvAudio::getParameterName(int32_t index, char* text) {
    bool named = index >= 0 && index < kNumNamedParams;
    std::strcpy(text, named ? ParameterNameTab[index].shortName : "Reserved");
}

void OvAudio::getParameterLabel(int32_t index, char* label) {
    bool known = index >= 0 && index < kNumParams;
    std::strcpy(label, known ? ParameterNameTab[index].label : "");
}

void OvAudio::getParameterDisplay(int32_t index, char* text) {
    text[0] = 0;
    if (index < 0 || index >= kNumParams) return;
    getParameterDisplayValue(index, text, paramValues[index]);
}

void OvAudio::getParameterDisplayValue(int64_t index, char* text, float value) {
    text[0] = 0;
    if (index < 0 || index >= kNumParams) return;
    parameterDisplayText(static_cast<int>(index), value, text, kTextBufferSize);
}

float OvAudio::control(int index) const {
    float v = paramValues[index];
    return v >= 0.0f ? (v <= 1.0f ? v : 1.0f) : 0.0f;
}

// ---- programs -------------------------------------------------------------

void OvAudio::setProgram(int32_t index) {
    if (index < 0 || index >= kNumPrograms) return;
    curProgram = index;
    for (int p = 0; p < kNumParams; ++p) setParameter(p, programs[index].values[p]);
    if (editor) {
        refreshProgramList = true;
        refreshWaveDisplay = true;
    }
}

void OvAudio::setProgramS(int32_t index) { setProgram(index); }

void OvAudio::setProgramName(char* name) {
    if (!name) return;
    OvProgram& program = programs[curProgram];
    std::memset(program.name, 0, sizeof program.name);
    copyName(program.name, name, kProgramNameMaxChars);
    if (editor) refreshProgramList = true;
}

void OvAudio::getProgramName(char* name) {
    copyName(name, programs[curProgram].name, kProgramNameSize - 1);
}

bool OvAudio::getProgramNameIndexed(int32_t category, int32_t index, char* text) {
    (void)category;
    if (index < 0 || index >= kNumPrograms) return false;
    copyName(text, programs[index].name, kProgramNameSize - 1);
    return true;
}

void OvAudio::initPatch(int64_t index) {
    if (index < 0 || index >= kNumPrograms) return;
    OvProgram& program = programs[index];
    for (int p = 0; p < kNumParams; ++p) program.values[p] = 0.0f;
    for (int p = 0; p < kNumParams; ++p) program.values[p] = kParameterInit.v[p];
    std::memset(program.name, 0, sizeof program.name);
    std::snprintf(program.name, sizeof program.name, "Init %03d", static_cast<int>(index));
}

// ---- MIDI and tempo -------------------------------------------------------

int32_t OvAudio::processEvents(VstEvents* events) {
    if (!events) return 1;
    for (int32_t i = 0; i < events->numEvents; ++i) {
        const VstEvent* e = events->events[i];
        if (!e || e->type != kVstMidiType) continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(e);
        addOrvaneMidiEvent(midi->midiData[0], midi->midiData[1], midi->midiData[2], midi->deltaFrames);
    }
    return 1;
}

void OvAudio::addOrvaneMidiEvent(char status, char dataByte1, char dataByte2, int64_t deltaFrames) {
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

void OvAudio::executeOrvaneMidiEvents(int64_t limit) {
    for (MidiQueueEntry& e : midiQueue) {
        if (e.status == 0 || e.deltaFrames >= limit) continue;
        if ((e.status & 0xF0) == kProgramChange) {
            int program = static_cast<int8_t>(e.dataByte1);
            program = program < 0 ? 0 : (program > kNumPrograms - 1 ? kNumPrograms - 1 : program);
            setProgram(program);
            updateDisplay();
        }
        e.status = 0;
    }
}

void OvAudio::calcBPM() {
    hostTempo = 120.0;
    if (VstTimeInfo* info = getTimeInfo(kVstTempoValid | kVstPpqPosValid)) hostTempo = info->tempo;
}

// ---- audio ----------------------------------------------------------------

void OvAudio::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    if (sampleFrames < 1) return;
    if (!inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1]) return;
    ScopedFlushDenormals flushDenormals;

    int64_t blockSize = static_cast<int64_t>(getSampleRate() / 300.0f);
    // Keep every piece within the work buffers, and at least one sample long.
    controlBlockSize = blockSize < 1 ? 1 : (blockSize > kRenderBufferSize ? kRenderBufferSize : blockSize);

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

void OvAudio::renderDSP(int64_t count, float* inL, float* inR, float* outL, float* outR,
                        int64_t offset) {
    using namespace param;
    inL += offset;
    inR += offset;
    outL += offset;
    outR += offset;
    const float sampleRate = getSampleRate();
    const float peakDecay = 1.0f + (44100.0f / sampleRate) * -0.00025f;
    const float bypass = control(Bypass);
    const float mmix = control(MMix);
    const float rmix = control(RMix);

    if (bypass > 0.5f) {
        for (int64_t i = 0; i < count; ++i) {
            outL[i] = inL[i];
            outR[i] = inR[i];
            float s = std::fabs(outL[i]) + std::fabs(outR[i]);
            peakLevel = s > peakLevel ? s : peakLevel * peakDecay + 1e-7f;
        }
        outputMeter = static_cast<int64_t>(peakLevel * 10.0f);
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

    // Work on copies of the input. A sample that is not a finite number enters
    // the engines as silence, so it cannot poison their memory.
    for (int64_t i = 0; i < count; ++i) {
        float l = finiteOrZero(inL[i]);
        float r = finiteOrZero(inR[i]);
        wetL[i] = dryL[i] = l;
        wetR[i] = dryR[i] = r;
    }

    const float mix = control(Mix);
    float dryMix = 1.0f - mix;

    if (lastMMix <= kEngineOnLevel && mmix > kEngineOnLevel) delay.reset();
    if (lastRMix <= kEngineOnLevel && rmix > kEngineOnLevel) reverb.reset();
    if (lastBypass > 0.5f) {
        delay.reset();
        reverb.reset();
    }

    calcBPM();
    delay.bpm = static_cast<float>(hostTempo);
    delay.samplerate = sampleRate;
    reverb.samplerate = sampleRate;

    auto runReverb = [&](float* left, float* right, float engineMix) {
        reverb.universalReverbCalcEnhanced(left, right, count, engineMix, control(RDecay), control(RSize),
                                           control(RPredel), control(RSwirl), control(RHiDamp),
                                           control(RLowDamp), 1.0f - control(RHiCut), control(RLowCut),
                                           control(RDiffuse), 1.0f, 0.5f);
    };
    auto runMultitap = [&](float* left, float* right, float engineMix) {
        delay.universalTapCalc17(left, right, count, engineMix, control(MTime), control(MFeedba),
                                 control(MDetune), control(MHiDamp), control(MLowDamp),
                                 1.0f - control(MHiCut), control(MLowCut), 0.0f, 1.0f, 0.5f);
    };
    auto scaleWet = [&](float gain) {
        for (int64_t i = 0; i < count; ++i) {
            wetL[i] *= gain;
            wetR[i] *= gain;
        }
    };

    const bool multitapOn = mmix > kEngineOnLevel;
    const bool reverbOn = rmix > kEngineOnLevel;
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
    } else if (control(Route) > 0.5f) {  // serial
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

    // Surround: stereo width of the wet signal.
    const float surround = control(Surround);
    if (surround > 0.6f) {
        const float k = ((surround - 0.5f) + (surround - 0.5f)) * 0.5f;
        for (int64_t i = 0; i < count; ++i) {
            float m = (wetL[i] + wetR[i]) * k;
            wetL[i] -= m;
            wetR[i] -= m;
        }
    } else if (surround < 0.4f) {
        const float k = (0.5f - surround) * 2.0f;
        const float a = 1.0f - k;
        for (int64_t i = 0; i < count; ++i) {
            float m = (wetL[i] + wetR[i]) * 0.5f * k;
            wetL[i] = wetL[i] * a + m;
            wetR[i] = wetR[i] * a + m;
        }
    }

    dryMix *= dryFactor;
    const int64_t holdSamples = static_cast<int64_t>(sampleRate / 30.0f);
    const float duckAttack = 176.0f / sampleRate;
    const float duckRelease = 10.0f / sampleRate;
    const float volume = control(Volume);
    const float outputGain = volume * volume * 4.0f;
    const float gateTimeBase = (1.0f / sampleRate) * 1000.0f;

    int64_t gateLevel = 0;
    int64_t duckLevel = 0;
    for (int64_t i = 0; i < count; ++i) {
        const float inputLevel =
            static_cast<float>((std::fabs(static_cast<double>(dryL[i])) + std::fabs(static_cast<double>(dryR[i]))) * 0.5);

        // Gate, keyed by the dry input.
        float gateGain = 1.0f;
        const float threshold = control(GThresh);
        if (threshold >= 0.95f) {
            gateLevel = 0;
        } else {
            if (inputLevel > 2.0f * threshold * threshold) {
                const float attack = control(GAttack), hold = control(GHold), release = control(GRelease);
                // The rates depend only on these four numbers: skip the exp calls when none changed.
                if (attack != gateAttack_ || hold != gateHold_ || release != gateRelease_ ||
                    gateTimeBase != gateTimeBase_) {
                    gateEnvelope.timeBase = gateTimeBase;
                    gateEnvelope.updateParams(attack, hold, release, 0.0f, release, 0.5f);
                    gateAttack_ = attack;
                    gateHold_ = hold;
                    gateRelease_ = release;
                    gateTimeBase_ = gateTimeBase;
                }
                gateEnvelope.softRetrigger();
            }
            gateEnvelope.process();
            gateGain = gateEnvelope.output;
            gateLevel = static_cast<int64_t>(gateGain * 10.0f);
        }

        // Ducker, keyed by the dry input.
        float duckGain = 1.0f;
        const float duckLevelControl = control(DLevel);
        if (duckLevelControl <= 0.05f) {
            duckLevel = 0;
        } else {
            if (inputLevel > duckTarget) {
                duckSmooth = (1.0f - duckAttack) * duckSmooth + duckAttack * duckTarget;
                duckTarget = inputLevel * duckLevelControl * duckLevelControl * 8.0f;
                const float ceiling = 1.0f - control(DLimit);
                if (duckTarget > ceiling) duckTarget = ceiling;
                duckHold = holdSamples;
            } else if (duckHold > 0) {
                duckHold -= 1;
                duckSmooth = (1.0f - duckRelease) * duckSmooth + duckRelease * duckTarget;
            } else {
                duckTarget = (1.0f - duckRelease) * duckTarget + duckRelease * inputLevel;
                duckSmooth = (1.0f - duckRelease) * duckSmooth + duckRelease * duckTarget;
            }
            const float x = 1.0f - duckSmooth;
            duckGain = (std::fabs(x) - std::fabs(x - 1.0f) + 0.0f + 1.0f) * 0.5f;
            duckLevel = static_cast<int64_t>(duckGain * -11.0f + 10.99f);
        }

        outL[i] = (dryMix * dryL[i] + duckGain * wetL[i] * gateGain) * outputGain;
        outR[i] = (dryMix * dryR[i] + gateGain * (duckGain * wetR[i])) * outputGain;

        const float s = std::fabs(outL[i]) + std::fabs(outR[i]);
        peakLevel = s > peakLevel ? s : peakLevel * peakDecay + 1e-7f;
    }
    gateMeter = gateLevel;
    duckMeter = duckLevel;
    outputMeter = static_cast<int64_t>(peakLevel * 10.0f);

    lastMMix = mmix;
    lastRMix = rmix;
    lastBypass = bypass;
}
