#pragma once
// The program interface over the plug-in instance itself (the editor's side):
// stored programs are reached directly in the instance's bank.
#include "presets/program_access.h"

class OvAudio;

class OvAudioProgramAccess : public ProgramAccess {
public:
    explicit OvAudioProgramAccess(OvAudio& effect) : effect_(effect) {}

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
    OvAudio& effect_;
};
