#pragma once
// The program interface over the VST 2.4 interface of a loaded plug-in (the
// command-line host's side). The interface has no call for a stored program
// other than the current one, so a stored program is reached by selecting it:
// its values then are the live values. Reading a stored program selects the
// previous program again afterwards; writing leaves the written one current
// (the bank loader ends by selecting program 0).
#include "presets/program_access.h"

struct AEffect;

class EffectProgramAccess : public ProgramAccess {
public:
    explicit EffectProgramAccess(AEffect* effect) : effect_(effect) {}

    void getProgramName(char* name) override;
    void setProgramName(const char* name) override;
    bool getProgramNameIndexed(int category, int index, char* name) override;
    float getParameter(int index) override;
    void setParameter(int index, float value) override;
    void setProgram(int index) override;
    void updateDisplay() override {}  // the host is the display
    void readStoredProgram(int program, float values[kPresetNumParams]) override;
    void writeStoredProgram(int program, const char* name, const float* values, int count) override;

private:
    int currentProgram();
    AEffect* effect_;
};
