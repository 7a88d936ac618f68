#include "presets/ovaudio_access.h"

#include <cstring>

#include "host/ovaudio.h"
#include "presets/program_images.h"

static_assert(kPresetNumParams == kNumParams, "images carry every parameter");
static_assert(kPresetNumPrograms == kNumPrograms, "a bank image carries every program");
static_assert(kPresetNameBufferSize >= kProgramNameSize, "a stored name fits the name buffers");

void OvAudioProgramAccess::getProgramName(char* name) { effect_.getProgramName(name); }

void OvAudioProgramAccess::setProgramName(const char* name) {
    // The instance keeps at most 24 characters; hand it a private copy, as it
    // takes a writable text.
    char text[kPresetNameBufferSize] = {};
    std::strncpy(text, name, sizeof text - 1);
    effect_.setProgramName(text);
}

bool OvAudioProgramAccess::getProgramNameIndexed(int category, int index, char* name) {
    return effect_.getProgramNameIndexed(category, index, name);
}

float OvAudioProgramAccess::getParameter(int index) { return effect_.getParameter(index); }

void OvAudioProgramAccess::setParameter(int index, float value) { effect_.setParameter(index, value); }

void OvAudioProgramAccess::setProgram(int index) { effect_.setProgram(index); }

void OvAudioProgramAccess::updateDisplay() { effect_.updateDisplay(); }

void OvAudioProgramAccess::readStoredProgram(int program, float values[kPresetNumParams]) {
    if (program < 0 || program >= kNumPrograms) {
        for (int i = 0; i < kPresetNumParams; ++i) values[i] = 0.0f;
        return;
    }
    const OvProgram& stored = effect_.programs[program];
    for (int i = 0; i < kPresetNumParams; ++i) values[i] = stored.values[i].load();
}

void OvAudioProgramAccess::writeStoredProgram(int program, const char* name, const float* values, int count) {
    if (program < 0 || program >= kNumPrograms) return;
    OvProgram& stored = effect_.programs[program];
    // A bank file's name may use the whole 28-byte field, more than the 24
    // characters setProgramName keeps; the rest of the name is cleared.
    char text[kProgramNameSize] = {};
    std::strncpy(text, name, kImageNameFieldSize);
    std::memcpy(stored.name, text, sizeof stored.name);
    if (count > kNumParams) count = kNumParams;
    for (int i = 0; i < count; ++i) stored.values[i] = values[i];
    // The program menu shows the stored names.
    if (effect_.getEditor()) effect_.refreshProgramList = true;
}
