#pragma once
// What the editor needs from the plug-in it shows, in terms that any format
// can serve: the VST 2 layer reaches its instance directly; a format whose
// user interface may run in another process keeps a copy of the values,
// writes its edits to the host and reads the meters from output ports.
// Everything here is called on the user-interface thread.
#include <cstdint>

#include "host/program_commands.h"

class ProgramAccess;

enum class Meter { Output, Gate, Duck };

class EditorModel {
public:
    virtual ~EditorModel() = default;

    // ---- parameters (0..67) ----
    virtual float parameter(int index) = 0;
    // A user's edit: the host records it and the sound follows. A drag is
    // bracketed by beginEdit and endEdit.
    virtual void editParameter(int index, float value) = 0;
    virtual void beginEdit(int index) = 0;
    virtual void endEdit(int index) = 0;

    // ---- programs (0..179) ----
    virtual int currentProgram() = 0;
    virtual void selectProgram(int index) = 0;
    // Program `index`'s name into `name` (kProgramNameSize bytes).
    virtual void programName(int index, char* name) = 0;
    // Builds program `index` by a menu command and makes it current.
    virtual void runProgramCommand(ProgramCommand command, int index) = 0;
    // The program and bank files' way to the programs.
    virtual ProgramAccess& programFiles() = 0;
    // Tells the host that program names or values changed.
    virtual void updateDisplay() = 0;

    // ---- what the plug-in side asks of the editor ----
    // Each returns whether the request was raised since the last call, and clears it.
    virtual bool takeProgramListRequest() = 0;
    virtual bool takeWaveDisplayRequest() = 0;
    // The reverb's picture is out of date (the editor's own edits).
    virtual void requestWaveDisplay() = 0;
    // The meter's lit LEDs as the render path publishes them; may lie outside 0..10.
    virtual int64_t meter(Meter which) = 0;
    // The factor on the dry signal (the wet-only button).
    virtual void setDryFactor(float factor) = 0;

    // ---- the window ----
    // Asks the host for a window of this size in pixels (the layout's size
    // times the editor's scale); false when it cannot resize.
    virtual bool resizeWindow(int width, int height) = 0;
};
