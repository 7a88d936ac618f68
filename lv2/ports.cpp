#include "lv2/ports.h"

#include <cstdio>
#include <cstring>

namespace lv2ports {
namespace {

struct FixedPort {
    const char* symbol;
    const char* name;
};

// The ports after the parameters, from kAudioInLeft on.
constexpr FixedPort kFixedPorts[kNumPorts - kNumParams] = {
    {"in_l", "Input left"},
    {"in_r", "Input right"},
    {"out_l", "Output left"},
    {"out_r", "Output right"},
    {"control", "Program change and tempo"},
    {"meter_output", "Output meter"},
    {"meter_gate", "Gate meter"},
    {"meter_duck", "Ducking meter"},
    {"notify", "Program to the editor"},
    {"time", "Host tempo"},
};

// LV2 symbols are C identifiers: letters, digits and '_', not starting with a digit.
std::string validSymbol(const char* name) {
    std::string s;
    for (const char* c = name; *c; ++c) {
        bool ok = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') || *c == '_';
        s += ok ? *c : '_';
    }
    if (s.empty() || (s[0] >= '0' && s[0] <= '9')) s.insert(s.begin(), '_');
    return s;
}

}  // namespace

std::string portSymbol(uint32_t port) {
    if (port >= kNumPorts) return {};
    if (!isParameterPort(port)) return kFixedPorts[port - kNumParams].symbol;
    const std::string symbol = validSymbol(ParameterNameTab[port].shortName);
    // A name that several rows share (the reserved ones) is numbered from 0 in table order.
    int before = 0, total = 0;
    for (int i = 0; i < kNumParams; ++i) {
        if (validSymbol(ParameterNameTab[i].shortName) != symbol) continue;
        if (i < static_cast<int>(port)) ++before;
        ++total;
    }
    return total > 1 ? symbol + std::to_string(before) : symbol;
}

std::string portName(uint32_t port) {
    if (port >= kNumPorts) return {};
    if (!isParameterPort(port)) return kFixedPorts[port - kNumParams].name;
    const ParameterInfo& p = ParameterNameTab[port];
    return p.longName[0] ? p.longName : p.shortName;
}

std::string presetUri(int program) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", program);
    return std::string(kPresetUriBase) + number;
}

std::string programFamily(const char* name) {
    const char* space = std::strchr(name, ' ');
    return space ? std::string(name, space) : std::string(name);
}

}  // namespace lv2ports
