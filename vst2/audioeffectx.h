#pragma once
// The extended adapter: identity, events, time information and the
// opcodes of the 2.x interface, with the answers a plug-in gives by default.
#include "vst2/audioeffect.h"

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);

    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;
    void resume() override;

    virtual int32_t processEvents(VstEvents* events) { (void)events; return 0; }
    virtual bool canParameterBeAutomated(int32_t index) { (void)index; return true; }
    virtual bool string2parameter(int32_t index, char* text) { (void)index; (void)text; return false; }
    virtual bool getProgramNameIndexed(int32_t category, int32_t index, char* text) {
        (void)category; (void)index; (void)text; return false;
    }
    virtual bool getInputProperties(int32_t index, VstPinProperties* properties) {
        (void)index; (void)properties; return false;
    }
    virtual bool getOutputProperties(int32_t index, VstPinProperties* properties) {
        (void)index; (void)properties; return false;
    }
    virtual bool getParameterProperties(int32_t index, VstParameterProperties* p) {
        (void)index; (void)p; return false;
    }
    virtual bool setBypass(bool onOff) { (void)onOff; return false; }
    virtual bool getEffectName(char* name) { (void)name; return false; }
    virtual bool getVendorString(char* text) { (void)text; return false; }
    virtual bool getProductString(char* text) { (void)text; return false; }
    virtual int32_t getVendorVersion() { return 0; }
    virtual int32_t canDo(char* text) { (void)text; return 0; }
    virtual int32_t getTailSize() { return 0; }
    virtual VstPlugCategory getPlugCategory() { return kPlugCategUnknown; }
    virtual int32_t getVstVersion() { return kVstVersion; }
    // MIDI program names: the number of MIDI programs (0: none) after filling
    // the record the host asks for; the current one's index (-1: none); 1 when
    // the names changed since the host last asked.
    virtual int32_t getMidiProgramName(int32_t channel, MidiProgramName* program) {
        (void)channel; (void)program; return 0;
    }
    virtual int32_t getCurrentMidiProgram(int32_t channel, MidiProgramName* program) {
        (void)channel; (void)program; return -1;
    }
    virtual bool hasMidiProgramsChanged(int32_t channel) { (void)channel; return false; }
    // effVendorSpecific: a host's extension the plug-in may know; 0 when not.
    virtual intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);

    // Host services.
    VstTimeInfo* getTimeInfo(int32_t filter);
    bool updateDisplay();
    bool sizeWindow(int32_t width, int32_t height);
    bool beginEdit(int32_t index);
    bool endEdit(int32_t index);
    bool getHostProductString(char* text);  // text holds kVstMaxProductStrLen + 1 bytes
    int32_t getHostVendorVersion();
    bool wantEvents();
    // Whether the host says it can do `text` ("sizeWindow", "sendVstTimeInfo", ...).
    bool canHostDo(const char* text);
};
