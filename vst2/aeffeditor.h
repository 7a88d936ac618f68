#pragma once
// The editor side of the plug-in interface: what a host's editor opcodes reach.
#include "vst2/aeffect.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect = nullptr) : effect(effect) {}
    virtual ~AEffEditor() = default;
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual AudioEffect* getEffect() { return effect; }
    virtual bool getRect(ERect** rect) { (void)rect; return false; }
    // ptr is the host's parent window (an X11 Window id on Linux).
    virtual bool open(void* ptr) { systemWindow = ptr; openFlag = true; return false; }
    virtual void close() { systemWindow = nullptr; openFlag = false; }
    virtual bool isOpen() { return openFlag; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& keyCode) { (void)keyCode; return false; }
    virtual bool onKeyUp(VstKeyCode& keyCode) { (void)keyCode; return false; }
    virtual bool setKnobMode(int32_t mode) { (void)mode; return false; }
    // The host's user-interface scale factor; true when it was taken.
    virtual bool setScaleFactor(float factor) { (void)factor; return false; }
    // The plug-in passes every parameter change on, so the control can follow.
    // May be called from the audio thread: keep it to a store and a dirty flag.
    virtual void setParameter(int32_t index, float value) { (void)index; (void)value; }

protected:
    AudioEffect* effect = nullptr;
    void* systemWindow = nullptr;
    bool openFlag = false;
};
