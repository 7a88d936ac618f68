#pragma once
// The program interface over the format-free instance in the same process
// (the editor's side): stored programs are reached directly in its bank.
#include "presets/program_access.h"

class OvCore;

class CoreProgramAccess : public ProgramAccess {
public:
    explicit CoreProgramAccess(OvCore& core) : core_(core) {}

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
    OvCore& core_;
};
