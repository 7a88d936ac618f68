#include "tools/vsthost/effect_access.h"

#include <cstring>

#include "vst2/aeffect.h"

namespace {

// Program names through the interface are at most 24 characters; a name
// buffer of kPresetNameBufferSize bytes also holds what a careless plug-in writes.
constexpr int kVstProgramNameChars = 24;

}  // namespace

int EffectProgramAccess::currentProgram() {
    return static_cast<int>(effect_->dispatcher(effect_, effGetProgram, 0, 0, nullptr, 0.0f));
}

void EffectProgramAccess::getProgramName(char* name) {
    char text[kPresetNameBufferSize] = {};
    effect_->dispatcher(effect_, effGetProgramName, 0, 0, text, 0.0f);
    text[kPresetNameBufferSize - 1] = 0;
    std::memcpy(name, text, sizeof text);
}

void EffectProgramAccess::setProgramName(const char* name) {
    // The interface allows 24 characters; pass a terminated copy of at most that.
    char text[kPresetNameBufferSize] = {};
    std::strncpy(text, name, kVstProgramNameChars);
    effect_->dispatcher(effect_, effSetProgramName, 0, 0, text, 0.0f);
}

bool EffectProgramAccess::getProgramNameIndexed(int category, int index, char* name) {
    char text[kPresetNameBufferSize] = {};
    if (effect_->dispatcher(effect_, effGetProgramNameIndexed, index, category, text, 0.0f) == 0) return false;
    text[kPresetNameBufferSize - 1] = 0;
    std::memcpy(name, text, sizeof text);
    return true;
}

float EffectProgramAccess::getParameter(int index) { return effect_->getParameter(effect_, index); }

void EffectProgramAccess::setParameter(int index, float value) { effect_->setParameter(effect_, index, value); }

void EffectProgramAccess::setProgram(int index) {
    effect_->dispatcher(effect_, effBeginSetProgram, 0, 0, nullptr, 0.0f);
    effect_->dispatcher(effect_, effSetProgram, 0, index, nullptr, 0.0f);
    effect_->dispatcher(effect_, effEndSetProgram, 0, 0, nullptr, 0.0f);
}

void EffectProgramAccess::readStoredProgram(int program, float values[kPresetNumParams]) {
    if (program < 0 || program >= effect_->numPrograms) {
        for (int i = 0; i < kPresetNumParams; ++i) values[i] = 0.0f;
        return;
    }
    const int previous = currentProgram();
    if (program != previous) setProgram(program);
    for (int i = 0; i < kPresetNumParams; ++i) values[i] = getParameter(i);
    // The previous program's stored values mirror the live ones, so selecting
    // it again restores what was heard.
    if (program != previous) setProgram(previous);
}

void EffectProgramAccess::writeStoredProgram(int program, const char* name, const float* values, int count) {
    if (program < 0 || program >= effect_->numPrograms) return;
    if (currentProgram() != program) setProgram(program);
    setProgramName(name);
    if (count > kPresetNumParams) count = kPresetNumParams;
    for (int i = 0; i < count; ++i) setParameter(i, values[i]);
}
