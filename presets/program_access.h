#pragma once
// What the program and bank images need from a plug-in: its current program,
// its live parameter values and its stored programs. One implementation sits
// on the plug-in instance (the editor), one on the VST 2.4 interface of a
// loaded plug-in (the command-line host).
constexpr int kPresetNumParams = 68;
constexpr int kPresetNumPrograms = 180;
// Name buffers handed to getProgramName / getProgramNameIndexed: large enough
// for any name the plug-in or a host text may carry.
constexpr int kPresetNameBufferSize = 256;

class ProgramAccess {
public:
    virtual ~ProgramAccess() = default;

    // The current program's name into `name` (kPresetNameBufferSize bytes).
    virtual void getProgramName(char* name) = 0;
    // Names the current program; the plug-in keeps what it can.
    virtual void setProgramName(const char* name) = 0;
    // Program `index`'s name into `name` (kPresetNameBufferSize bytes);
    // false, text untouched, for an index the plug-in does not have.
    virtual bool getProgramNameIndexed(int category, int index, char* name) = 0;
    virtual float getParameter(int index) = 0;
    // Sets the live value and the current program's stored value.
    virtual void setParameter(int index, float value) = 0;
    // Makes a stored program current and loads its values into the live ones.
    virtual void setProgram(int index) = 0;
    // Tells whoever shows the program state that it changed.
    virtual void updateDisplay() = 0;

    // The 68 values that stored program `program` holds.
    virtual void readStoredProgram(int program, float values[kPresetNumParams]) = 0;
    // Writes stored program `program`: its name (a terminated text) and its
    // values 0 .. count - 1 (count <= 68); the other values stay.
    virtual void writeStoredProgram(int program, const char* name, const float* values, int count) = 0;
};
