#pragma once
// The editor's model when the editor is an LV2 UI: the plug-in may run in
// another process, so the UI keeps its own copy of the 68 values and of the
// program bank. Edits go to the host through write_function (the host moves
// the plug-in's control ports), port_event brings the host's values and the
// meters back, and the atom messages of lv2/messages.h tell the plug-in which
// program the editor made current and tell the editor which program sounds.
// Everything here runs on the host's user-interface thread.
#include <lv2/atom/forge.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstdint>

#include "editor/editor_model.h"
#include "host/parameters.h"
#include "host/programs.h"
#include "lv2/messages.h"
#include "presets/program_access.h"

class OvEditor;
class Lv2EditorModel;

// The program and bank files' way to the UI's copy.
class UiProgramAccess : public ProgramAccess {
public:
    explicit UiProgramAccess(Lv2EditorModel& model) : model_(model) {}

    void getProgramName(char* name) override;
    void setProgramName(const char* name) override;
    bool getProgramNameIndexed(int category, int index, char* name) override;
    float getParameter(int index) override;
    void setParameter(int index, float value) override;
    void setProgram(int index) override;
    void updateDisplay() override;
    void readStoredProgram(int program, float values[kPresetNumParams]) override;
    void writeStoredProgram(int program, const char* name, const float* values, int count) override;

private:
    Lv2EditorModel& model_;
};

// What the UI reaches of its host; any of the optional ones may be null.
struct UiHost {
    LV2UI_Write_Function write = nullptr;
    LV2UI_Controller controller = nullptr;
    LV2_URID_Map* map = nullptr;
    const LV2UI_Resize* resize = nullptr;
    const LV2UI_Touch* touch = nullptr;
};

class Lv2EditorModel : public EditorModel {
public:
    // `host.write` and `host.map` must be given.
    explicit Lv2EditorModel(const UiHost& host);

    // The editor whose controls follow the values (may be null).
    void attach(OvEditor* editor) { editor_ = editor; }

    // ---- from the host ----
    // A control port's value (parameter or meter) as port_event brings it.
    void portValue(uint32_t port, float value);
    // An atom the plug-in sent on the notify port.
    void pluginMessage(const LV2_Atom* atom);
    // Asks the plug-in which program sounds (the answer comes as a message).
    void requestProgram();

    // ---- EditorModel ----
    float parameter(int index) override;
    void editParameter(int index, float value) override;
    void beginEdit(int index) override;
    void endEdit(int index) override;
    int currentProgram() override { return current_; }
    void selectProgram(int index) override;
    void programName(int index, char* name) override;
    void runProgramCommand(ProgramCommand command, int index) override;
    ProgramAccess& programFiles() override { return files_; }
    void updateDisplay() override;
    bool takeProgramListRequest() override;
    bool takeWaveDisplayRequest() override;
    void requestWaveDisplay() override { waveDisplayRequest_ = true; }
    int64_t meter(Meter which) override;
    void setDryFactor(float factor) override;
    bool resizeWindow(int width, int height) override;

    // ---- the copy, for the program files and for tests ----
    // Sets a value as shown and stored in the current program, and writes it
    // to the host if it differs from the host's (always when `force`).
    void setValue(int index, float value, bool force);
    // Names the current program (the first kProgramNameMaxChars characters) and tells the plug-in.
    void renameCurrent(const char* name);
    const char* storedName(int program) const;
    const float* storedValues(int program) const;
    // Writes stored program `program`; the current one's values are not applied here.
    void storeProgram(int program, const char* name, const float* values, int count);
    float hostValue(int index) const { return hostPorts_[index]; }

private:
    struct Program {
        float values[kNumParams];
        char name[kProgramNameSize];
    };

    void writePort(int index, float value);
    void sendProgram();
    // Tells the plug-in the current program's number and name, if they are not what it last heard.
    void sendProgramIfChanged();
    void sendAtom(const LV2_Atom* atom);
    void showAll();

    UiHost host_;
    lv2msg::Urids urids_;
    LV2_Atom_Forge forge_;
    UiProgramAccess files_;
    OvEditor* editor_ = nullptr;

    Program bank_[kNumPrograms];
    float shown_[kNumParams];      // what the editor shows: what sounds
    float hostPorts_[kNumParams];  // what the host's control ports hold, as far as the UI knows
    int current_ = 0;
    float meters_[3] = {};
    bool programListRequest_ = true;
    bool waveDisplayRequest_ = true;
    // What the plug-in last heard from or told the UI: nothing is sent twice.
    int toldProgram_ = -1;
    char toldName_[kProgramNameSize] = {};
};
