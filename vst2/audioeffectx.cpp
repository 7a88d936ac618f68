#include "vst2/audioeffectx.h"

#include "vst2/aeffeditor.h"

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams)
    : AudioEffect(audioMaster, numPrograms, numParams) {}

intptr_t AudioEffectX::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt) {
    char text[kTextBufferSize] = {};
    switch (opcode) {
        case effProcessEvents: return ptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
        case effCanBeAutomated: return canParameterBeAutomated(index) ? 1 : 0;
        case effString2Parameter:
            if (!ptr) return 0;
            vstCopyText(text, static_cast<const char*>(ptr), kTextBufferSize);
            return string2parameter(index, text) ? 1 : 0;
        case effGetProgramNameIndexed:
            if (!ptr) return 0;
            if (!getProgramNameIndexed(static_cast<int32_t>(value), index, text)) return 0;
            vstCopyText(static_cast<char*>(ptr), text, kVstMaxProgNameLen + 1);
            return 1;
        case effGetInputProperties:
            return ptr ? getInputProperties(index, static_cast<VstPinProperties*>(ptr)) : 0;
        case effGetOutputProperties:
            return ptr ? getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) : 0;
        case effGetPlugCategory: return getPlugCategory();
        case effSetBypass: return setBypass(value != 0) ? 1 : 0;
        case effGetEffectName:
            if (!ptr || !getEffectName(text)) return 0;
            vstCopyText(static_cast<char*>(ptr), text, kVstMaxEffectNameLen + 1);
            return 1;
        case effGetVendorString:
            if (!ptr || !getVendorString(text)) return 0;
            vstCopyText(static_cast<char*>(ptr), text, kVstMaxVendorStrLen + 1);
            return 1;
        case effGetProductString:
            if (!ptr || !getProductString(text)) return 0;
            vstCopyText(static_cast<char*>(ptr), text, kVstMaxProductStrLen + 1);
            return 1;
        case effGetVendorVersion: return getVendorVersion();
        case effCanDo:
            if (!ptr) return 0;
            vstCopyText(text, static_cast<const char*>(ptr), kTextBufferSize);
            return canDo(text);
        case effGetTailSize: return getTailSize();
        case effGetParameterProperties:
            return ptr ? getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)) : 0;
        case effGetVstVersion: return getVstVersion();
        case effEditKeyDown:
        case effEditKeyUp: {
            if (!editor) return 0;
            // The modifiers are a small whole number in a float: anything else reads as none.
            const uint8_t modifiers = opt >= 0.0f && opt < 256.0f ? static_cast<uint8_t>(opt) : 0;
            VstKeyCode key{index, static_cast<uint8_t>(value), modifiers};
            return opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
        }
        case effGetMidiProgramName:
            return ptr ? getMidiProgramName(index, static_cast<MidiProgramName*>(ptr)) : 0;
        case effGetCurrentMidiProgram:
            return ptr ? getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr)) : -1;
        case effHasMidiProgramsChanged: return hasMidiProgramsChanged(index) ? 1 : 0;
        case effSetEditKnobMode:
            return editor ? editor->setKnobMode(static_cast<int32_t>(value)) : 0;
        case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
        default: return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

intptr_t AudioEffectX::vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) {
    (void)ptr;
    if (index == kVendorScaleIndex && value == kVendorScaleValue) return editor && editor->setScaleFactor(opt) ? 1 : 0;
    return 0;
}

void AudioEffectX::resume() {
    if ((cEffect.flags & effFlagsIsSynth) || canDo(const_cast<char*>("receiveVstMidiEvent")) == 1)
        wantEvents();
}

bool AudioEffectX::wantEvents() {
    return callHost(audioMasterWantMidiDeprecated, 0, 1) != 0;
}

VstTimeInfo* AudioEffectX::getTimeInfo(int32_t filter) {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

bool AudioEffectX::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

bool AudioEffectX::sizeWindow(int32_t width, int32_t height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

bool AudioEffectX::beginEdit(int32_t index) { return callHost(audioMasterBeginEdit, index) != 0; }

bool AudioEffectX::endEdit(int32_t index) { return callHost(audioMasterEndEdit, index) != 0; }

bool AudioEffectX::getHostProductString(char* text) {
    text[0] = 0;
    // The host writes up to 64 characters; give it a buffer of that size and copy out.
    char buffer[kVstMaxProductStrLen + 1] = {};
    bool ok = callHost(audioMasterGetProductString, 0, 0, buffer) != 0;
    vstCopyText(text, buffer, kVstMaxProductStrLen + 1);
    return ok;
}

int32_t AudioEffectX::getHostVendorVersion() {
    return static_cast<int32_t>(callHost(audioMasterGetVendorVersion));
}

bool AudioEffectX::canHostDo(const char* text) {
    return callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)) > 0;
}
