#include "presets/core_access.h"

#include <cstring>

#include "host/ov_core.h"
#include "presets/program_images.h"

static_assert(kPresetNumParams == kNumParams, "images carry every parameter");
static_assert(kPresetNumPrograms == kNumPrograms, "a bank image carries every program");
static_assert(kPresetNameBufferSize >= kProgramNameSize, "a stored name fits the name buffers");

void CoreProgramAccess::getProgramName(char* name) { core_.getProgramName(name); }

void CoreProgramAccess::setProgramName(const char* name) { core_.setProgramName(name); }

bool CoreProgramAccess::getProgramNameIndexed(int category, int index, char* name) {
    (void)category;
    return core_.getProgramNameIndexed(index, name);
}

float CoreProgramAccess::getParameter(int index) { return core_.getParameter(index); }

void CoreProgramAccess::setParameter(int index, float value) { core_.setParameter(index, value); }

void CoreProgramAccess::setProgram(int index) { core_.setProgram(index); }

void CoreProgramAccess::updateDisplay() { core_.displayChanged(); }

void CoreProgramAccess::readStoredProgram(int program, float values[kPresetNumParams]) {
    if (program < 0 || program >= kNumPrograms) {
        for (int i = 0; i < kPresetNumParams; ++i) values[i] = 0.0f;
        return;
    }
    const OvProgram& stored = core_.programs[program];
    for (int i = 0; i < kPresetNumParams; ++i) values[i] = stored.values[i].load();
}

void CoreProgramAccess::writeStoredProgram(int program, const char* name, const float* values, int count) {
    // A bank file's name may use the whole 28-byte field, more than the 24
    // characters setProgramName keeps; the rest of the name is cleared.
    char text[kProgramNameSize] = {};
    std::strncpy(text, name, kImageNameFieldSize);
    core_.storeProgram(program, text, values, count);
}
