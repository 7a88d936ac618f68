#pragma once
// A program interface for fuzzing the loaders: it holds a bank like the
// plug-in's and stops the run at the first call outside what a plug-in holds.
#include <cstdlib>
#include <cstring>

#include "presets/program_access.h"

class StrictAccess : public ProgramAccess {
public:
    StrictAccess() {
        for (int k = 0; k < kPresetNumPrograms; ++k) {
            for (int i = 0; i < kPresetNumParams; ++i) stored[k][i] = static_cast<float>(k + i) / 512.0f;
            std::memcpy(names[k], "Stored", 7);
        }
    }

    void getProgramName(char* name) override { std::strcpy(name, names[current]); }
    void setProgramName(const char* name) override { copyName(names[current], name); }
    bool getProgramNameIndexed(int, int index, char* name) override {
        if (index < 0 || index >= kPresetNumPrograms) return false;
        std::strcpy(name, names[index]);
        return true;
    }
    float getParameter(int index) override { return live[check(index, kPresetNumParams)]; }
    void setParameter(int index, float value) override {
        live[check(index, kPresetNumParams)] = value;
        stored[current][index] = value;
    }
    void setProgram(int index) override {
        current = check(index, kPresetNumPrograms);
        std::memcpy(live, stored[current], sizeof live);
    }
    void updateDisplay() override {}
    void readStoredProgram(int program, float values[kPresetNumParams]) override {
        std::memcpy(values, stored[check(program, kPresetNumPrograms)], sizeof stored[0]);
    }
    void writeStoredProgram(int program, const char* name, const float* values, int count) override {
        check(program, kPresetNumPrograms);
        check(count, kPresetNumParams + 1);
        copyName(names[program], name);
        std::memcpy(stored[program], values, sizeof(float) * count);
    }

    float live[kPresetNumParams] = {};
    float stored[kPresetNumPrograms][kPresetNumParams];
    char names[kPresetNumPrograms][32] = {};
    int current = 0;

private:
    static int check(int index, int limit) {
        if (index < 0 || index >= limit) std::abort();
        return index;
    }
    // A loaded name is at most 28 characters: anything longer is a fault.
    static void copyName(char* dest, const char* name) {
        const size_t n = std::strlen(name);
        if (n > 28) std::abort();
        std::memset(dest, 0, 32);
        std::memcpy(dest, name, n);
    }
};
