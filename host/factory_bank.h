#pragma once
// How the factory bank is written down: each program is a name and the
// parameters in which it differs from the init values, by short name. The
// compiler turns that into the stored record layout.
#include "host/programs.h"

namespace factory {

struct Setting {
    int index = -1;  // -1: unused slot
    float value = 0.0f;
};

struct ProgramSource {
    const char* name;
    Setting settings[kNumParams];
};

constexpr FactoryPreset build(const ProgramSource& source) {
    FactoryPreset record{};
    for (int i = 0; i < 24 && source.name[i] != 0; ++i) record.name[i] = source.name[i];
    for (int p = 0; p < kNumParams; ++p) record.values[p] = kParameterInit.v[p];
    for (const Setting& s : source.settings)
        if (s.index >= 0 && s.index < kNumParams) record.values[s.index] = s.value;
    return record;
}

}  // namespace factory
