#include "vst2/ovaudio.h"

#include <cstdio>
#include <cstring>

#include "host/identity.h"
#include "host/trace_log.h"
#include "vst2/aeffeditor.h"

OvAudio::OvAudio(audioMasterCallback audioMaster, EditorFactory makeEditor)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams) {
    startLog();
    printLog("OvAudio::OvAudio start");

    // Configured whether or not a host callback came with the call: a host that
    // probes with none still reads the record, and must see our identity.
    setNumInputs(2);
    setNumOutputs(2);
    isSynth(false);
    setUniqueID(fourCharCode(kNimbrelId[0], kNimbrelId[1], kNimbrelId[2], kNimbrelId[3]));
    canProcessReplacing();

    char hostProduct[kVstMaxProductStrLen + 1] = {};
    getHostProductString(hostProduct);
    printLog(hostProduct);
    char line[64];
    std::snprintf(line, sizeof line, "Host version: %d", getHostVendorVersion());
    printLog(line);

    AudioEffectX::setSampleRate(core.getSampleRate());
    core.setHostClock(this);
    core.setObserver(this);
    for (uint32_t& seen : midiNamesSeen_) seen = core.programNamesVersion();
    if (makeEditor) setEditor(makeEditor(*this));
    resume();
    printLog("OvAudio::OvAudio end");
}

OvAudio::~OvAudio() {
    printLog("OvAudio::~OvAudiostart");
    printLog("OvAudio::mark1");
    printLog("OvAudio::mark2");
    printLog("OvAudio::mark3");
    printLog("OvAudio::~OvAudio end");
    // The editor reaches the core until its end, so it goes before the core does.
    core.setObserver(nullptr);
    delete editor;
    setEditor(nullptr);
}

// ---- lifecycle ------------------------------------------------------------

void OvAudio::suspend() { core.suspend(); }

void OvAudio::resume() {
    core.resume();
    AudioEffectX::resume();
}

void OvAudio::setSampleRate(float sampleRate) {
    printLog("OvAudio::setSampleRate start");
    core.setSampleRate(sampleRate);
    AudioEffectX::setSampleRate(core.getSampleRate());
    printLog("OvAudio::setSampleRate end");
}

void OvAudio::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    core.processReplacing(inputs, outputs, sampleFrames);
}

// ---- identity -------------------------------------------------------------

bool OvAudio::getEffectName(char* name) {
    std::strcpy(name, kNimbrelName);
    return true;
}

bool OvAudio::getProductString(char* text) {
    std::strcpy(text, kNimbrelName);
    return true;
}

bool OvAudio::getVendorString(char* text) {
    std::strcpy(text, kNimbrelVendor);
    return true;
}

int32_t OvAudio::getVendorVersion() { return kNimbrelVendorVersion; }

VstPlugCategory OvAudio::getPlugCategory() { return kPlugCategEffect; }

int32_t OvAudio::canDo(char* text) {
    static const char* const kYes[] = {"receiveVstEvents", "receiveVstMidiEvent", "midiProgramNames",
                                       "receiveVstTimeInfo"};
    for (const char* yes : kYes)
        if (text && std::strcmp(text, yes) == 0) return 1;
    return -1;
}

// ---- parameters -----------------------------------------------------------

void OvAudio::setParameter(int32_t index, float value) { core.setParameter(index, value); }

float OvAudio::getParameter(int32_t index) { return core.getParameter(index); }

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
    getParameterDisplayValue(index, text, core.getParameter(index));
}

void OvAudio::getParameterDisplayValue(int64_t index, char* text, float value) {
    text[0] = 0;
    if (index < 0 || index >= kNumParams) return;
    parameterDisplayText(static_cast<int>(index), value, text, kTextBufferSize);
}

// ---- programs -------------------------------------------------------------

int32_t OvAudio::getProgram() { return core.getProgram(); }

void OvAudio::setProgram(int32_t index) { core.setProgram(index); }

void OvAudio::setProgramS(int32_t index) { setProgram(index); }

void OvAudio::setProgramName(char* name) { core.setProgramName(name); }

void OvAudio::getProgramName(char* name) { core.getProgramName(name); }

bool OvAudio::getProgramNameIndexed(int32_t category, int32_t index, char* text) {
    (void)category;
    return core.getProgramNameIndexed(index, text);
}

// ---- MIDI, tempo, changes -------------------------------------------------

// A Program Change selects the same program on every channel: each channel
// lists the same MIDI programs, marked omni.
void OvAudio::describeMidiProgram(int midiProgram, MidiProgramName& program) const {
    char name[kProgramNameSize] = {};
    core.getProgramNameIndexed(OvCore::programForProgramChange(static_cast<uint8_t>(midiProgram)), name);
    vstCopyText(program.name, name, kVstMaxNameLen);
    program.midiProgram = static_cast<int8_t>(midiProgram);
    program.midiBankMsb = -1;
    program.midiBankLsb = -1;
    program.reserved = 0;
    program.parentCategoryIndex = -1;
    program.flags = kMidiIsOmni;
}

int32_t OvAudio::getMidiProgramName(int32_t channel, MidiProgramName* program) {
    if (channel < 0 || channel >= kMidiChannels) return 0;
    const int32_t index = program->thisProgramIndex;
    if (index < 0 || index >= kNumMidiPrograms) return 0;
    describeMidiProgram(index, *program);
    return kNumMidiPrograms;
}

int32_t OvAudio::getCurrentMidiProgram(int32_t channel, MidiProgramName* program) {
    if (channel < 0 || channel >= kMidiChannels) return -1;
    const int current = core.currentMidiProgram();
    if (current < 0) return -1;
    program->thisProgramIndex = current;
    describeMidiProgram(current, *program);
    return current;
}

bool OvAudio::hasMidiProgramsChanged(int32_t channel) {
    if (channel < 0 || channel >= kMidiChannels) return false;
    const uint32_t version = core.programNamesVersion();
    const bool changed = version != midiNamesSeen_[channel];
    midiNamesSeen_[channel] = version;
    return changed;
}

int32_t OvAudio::processEvents(VstEvents* events) {
    if (!events) return 1;
    // The host's list runs on past the two entries the record declares.
    const VstEvent* const* list = events->events;
    for (int32_t i = 0; i < events->numEvents; ++i) {
        const VstEvent* e = list[i];
        if (!e || e->type != kVstMidiType) continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(e);
        core.addOrvaneMidiEvent(midi->midiData[0], midi->midiData[1], midi->midiData[2], midi->deltaFrames);
    }
    return 1;
}

double OvAudio::tempo() {
    if (VstTimeInfo* info = getTimeInfo(kVstTempoValid | kVstPpqPosValid)) return info->tempo;
    return 120.0;
}

void OvAudio::parameterChanged(int index, float value) {
    if (editor) editor->setParameter(index, value);
}

void OvAudio::displayChanged() { updateDisplay(); }
