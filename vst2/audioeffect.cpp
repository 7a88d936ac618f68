#include "vst2/audioeffect.h"

#include <cstring>

#include "vst2/aeffeditor.h"

namespace {

AudioEffect* objectOf(AEffect* e) {
    return e ? static_cast<AudioEffect*>(e->object) : nullptr;
}

intptr_t dispatchEffectClass(AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                             float opt) {
    AudioEffect* fx = objectOf(e);
    if (!fx) return 0;
    if (opcode == effClose) {
        fx->dispatcher(opcode, index, value, ptr, opt);
        delete fx;
        return 1;
    }
    return fx->dispatcher(opcode, index, value, ptr, opt);
}

void processClass(AEffect* e, float** inputs, float** outputs, int32_t frames) {
    if (AudioEffect* fx = objectOf(e)) fx->process(inputs, outputs, frames);
}

void processReplacingClass(AEffect* e, float** inputs, float** outputs, int32_t frames) {
    if (AudioEffect* fx = objectOf(e)) fx->processReplacing(inputs, outputs, frames);
}

void processDoubleReplacingClass(AEffect* e, double** inputs, double** outputs, int32_t frames) {
    if (AudioEffect* fx = objectOf(e)) fx->processDoubleReplacing(inputs, outputs, frames);
}

void setParameterClass(AEffect* e, int32_t index, float value) {
    if (AudioEffect* fx = objectOf(e)) fx->setParameter(index, value);
}

float getParameterClass(AEffect* e, int32_t index) {
    AudioEffect* fx = objectOf(e);
    return fx ? fx->getParameter(index) : 0.0f;
}

}  // namespace

void vstCopyText(char* dest, const char* src, int size) {
    if (!dest || size <= 0) return;
    int n = 0;
    if (src) {
        while (n < size - 1 && src[n] != 0) ++n;
        std::memcpy(dest, src, static_cast<size_t>(n));
    }
    dest[n] = 0;
}

void vstFitText(char* dest, const char* src, int size) {
    if (!dest || size <= 0) return;
    if (!src || static_cast<int>(std::strlen(src)) < size) {
        vstCopyText(dest, src, size);
        return;
    }
    int n = 0;
    for (const char* c = src; *c != 0 && n < size - 1; ++c)
        if (*c != ' ') dest[n++] = *c;
    dest[n] = 0;
}

AudioEffect::AudioEffect(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffectClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingClass;
    cEffect.processDoubleReplacing = processDoubleReplacingClass;
}

AudioEffect::~AudioEffect() {
    delete editor;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

// The accumulating entry is obsolete in 2.4; hosts that still call it get nothing added.
void AudioEffect::process(float**, float**, int32_t) {}

void AudioEffect::processDoubleReplacing(double**, double**, int32_t) {}

void AudioEffect::setParameterAutomated(int32_t index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

intptr_t AudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

intptr_t AudioEffect::getMasterVersion() {
    intptr_t version = callHost(audioMasterVersion);
    return version ? version : 1;
}

intptr_t AudioEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    char text[kTextBufferSize] = {};
    switch (opcode) {
        case effOpen: open(); return 0;
        case effClose: close(); return 0;
        case effSetProgram:
            if (value >= 0 && value < numPrograms) setProgram(static_cast<int32_t>(value));
            return 0;
        case effGetProgram: return getProgram();
        case effSetProgramName:
            if (!ptr) return 0;
            // Hand on a terminated copy: a host's text may lack its zero.
            vstCopyText(text, static_cast<const char*>(ptr), kVstMaxProgNameLen + 1);
            setProgramName(text);
            return 0;
        case effGetProgramName:
            if (!ptr) return 0;
            getProgramName(text);
            vstCopyText(static_cast<char*>(ptr), text, kVstMaxProgNameLen + 1);
            return 0;
        case effGetParamLabel:
            if (!ptr) return 0;
            getParameterLabel(index, text);
            vstCopyText(static_cast<char*>(ptr), text, kVstMaxParamStrLen + 1);
            return 0;
        case effGetParamDisplay:
            if (!ptr) return 0;
            getParameterDisplay(index, text);
            vstFitText(static_cast<char*>(ptr), text, kVstMaxParamStrLen + 1);
            return 0;
        case effGetParamName:
            if (!ptr) return 0;
            getParameterName(index, text);
            vstCopyText(static_cast<char*>(ptr), text, kVstMaxParamStrLen + 1);
            return 0;
        case effSetSampleRate: setSampleRate(opt); return 0;
        case effSetBlockSize: setBlockSize(static_cast<int32_t>(value)); return 0;
        case effMainsChanged:
            if (value == 0) suspend(); else resume();
            return 0;
        case effEditGetRect:
            return (editor && ptr) ? editor->getRect(static_cast<ERect**>(ptr)) : 0;
        case effEditOpen: return editor ? editor->open(ptr) : 0;
        case effEditClose:
            if (editor) editor->close();
            return 0;
        case effEditIdle:
            if (editor) editor->idle();
            return 0;
        case effIdentify: return fourCharCode('N', 'v', 'E', 'f');
        case effGetChunk: return ptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
        case effSetChunk:
            return ptr ? setChunk(ptr, static_cast<int32_t>(value), index != 0) : 0;
        default: return 0;
    }
}
