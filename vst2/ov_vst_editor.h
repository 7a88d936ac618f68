#pragma once
// The editor as a VST 2 plug-in shows it: the host's editor opcodes
// (rectangle, open in the host's window, idle, keys, knob mode) reach the
// format-free OvEditor, and the editor's EditorModel is served by the
// OvAudio instance in the same process.
#include <cstdint>
#include <memory>

#include "editor/editor_model.h"
#include "editor/ov_editor.h"
#include "presets/core_access.h"
#include "vst2/aeffeditor.h"

class OvAudio;

// The editor's view of the VST 2 instance: an edit is set and reported to the
// host as automation, a grab and release bracket it, the window asks the host
// to resize it, and the requests and meters are the instance's own values.
class OvAudioEditorModel : public EditorModel {
public:
    explicit OvAudioEditorModel(OvAudio& effect);

    float parameter(int index) override;
    void editParameter(int index, float value) override;
    void beginEdit(int index) override;
    void endEdit(int index) override;
    int currentProgram() override;
    void selectProgram(int index) override;
    void programName(int index, char* name) override;
    void runProgramCommand(ProgramCommand command, int index) override;
    ProgramAccess& programFiles() override { return files_; }
    void updateDisplay() override;
    bool takeProgramListRequest() override;
    bool takeWaveDisplayRequest() override;
    void requestWaveDisplay() override;
    int64_t meter(Meter which) override;
    void setDryFactor(float factor) override;
    bool resizeWindow(int width, int height) override;

private:
    OvAudio& effect_;
    CoreProgramAccess files_;
};

class OvVstEditor : public AEffEditor {
public:
    explicit OvVstEditor(OvAudio& effect);
    ~OvVstEditor() override;

    // The full window in pixels at the editor's scale, whatever the compact
    // mode: hosts size their window from it before opening.
    bool getRect(ERect** rect) override;
    bool open(void* ptr) override;
    void close() override;
    void idle() override;
    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;
    bool setKnobMode(int32_t mode) override;
    // The host's factor: refused (false) when no screen has it; an open
    // window asks the host to resize it.
    bool setScaleFactor(float factor) override;
    void setParameter(int32_t index, float value) override;

    OvEditor& editor() { return *editor_; }

private:
    OvAudioEditorModel model_;
    std::unique_ptr<OvEditor> editor_;
    ERect rect_{};
};

// The editor factory that the plug-in's entry hands to each instance.
AEffEditor* createOvVstEditor(OvAudio& effect);
