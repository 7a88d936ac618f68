#pragma once
// AEffGUIEditor: the plug-in editor base on top of the toolkit. It keeps the
// window rectangle the host asks for, the frame, the knob mode, forwards a
// control's begin/end of edit to the effect (so the host can bracket
// automation), and serves the frame from the host's idle calls.
#include <cstdint>

#include "gui/cframe.h"
#include "vst2/aeffeditor.h"

class AEffGUIEditor : public AEffEditor, public VSTGUI::VSTGUIEditorInterface {
public:
    // Attaches itself to the effect (setEditor), so the effect can reach it.
    explicit AEffGUIEditor(AudioEffect* effect);
    ~AEffGUIEditor() override;  // releases a frame still open

    bool getRect(ERect** rect) override;
    // Records the host window; the derived editor then creates `frame` on it.
    bool open(void* ptr) override;
    // Releases a frame still set, and forgets the host window.
    void close() override;
    // Serves the frame: its queued window events, then the redraw of what is dirty.
    void idle() override;
    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;
    bool setKnobMode(int32_t val) override;

    // VSTGUIEditorInterface
    long getKnobMode() const override { return knobMode; }
    void beginEdit(long index) override;
    void endEdit(long index) override;
    VSTGUI::CFrame* getFrame() override { return frame; }
    void doIdleStuff() override;

protected:
    ERect rect;
    VSTGUI::CFrame* frame = nullptr;
    long knobMode = VSTGUI::kLinearModeValue;
};
