#pragma once
// The plug-in as LV2 hosts see it: its URIs and its ports. Sessions and
// presets store these names, so they never change once published: a port
// index below kNumParams is the parameter with that index, the others follow.
#include <cstdint>
#include <string>

#include "editor/layout.h"
#include "host/parameters.h"
#include "host/programs.h"

namespace lv2ports {

constexpr const char* kPluginUri = "https://orvane.example/lv2/nimbrel";
constexpr const char* kUiUri = "https://orvane.example/lv2/nimbrel#ui";
// Preset n is kPresetUriBase followed by n in three digits ("042").
constexpr const char* kPresetUriBase = "https://orvane.example/lv2/nimbrel/preset/";
// A bank per program family: kBankUriBase followed by the family ("REV").
constexpr const char* kBankUriBase = "https://orvane.example/lv2/nimbrel/bank/";

constexpr const char* kPluginBinary = "nimbrel_lv2.so";
constexpr const char* kUiBinary = "nimbrel_lv2_ui.so";

enum Port : uint32_t {
    kFirstParameter = 0,
    kAudioInLeft = kNumParams,
    kAudioInRight,
    kAudioOutLeft,
    kAudioOutRight,
    kControlIn,  // atom sequence: MIDI program changes and the host's tempo
    kMeterOutput,
    kMeterGate,
    kMeterDuck,
    kNotify,  // atom sequence to the editor: the program that sounds
    // Atom sequence with the host's tempo alone. Ardour sends time:Position only
    // to ports that take no MIDI when the track has no MIDI (an audio track);
    // the control port, which takes both, gets none there.
    kTimeIn,
    kNumPorts,
};

// The meters count lit LEDs, as the editor shows them.
constexpr int kMeterMax = layout::kNumLeds;

inline bool isParameterPort(uint32_t port) { return port < static_cast<uint32_t>(kNumParams); }
inline bool isMeterPort(uint32_t port) { return port >= kMeterOutput && port <= kMeterDuck; }

// What port_event and the hosts' buffers call the atom ports' space for the
// editor's messages: a program message with its 68 values fits many times.
constexpr uint32_t kNotifyMinimumSize = 4096;

// The port's symbol; empty for an index that is no port. A parameter's symbol
// is its short name made a valid symbol, numbered where the name repeats.
std::string portSymbol(uint32_t port);
// The name hosts show; empty for an index that is no port.
std::string portName(uint32_t port);

std::string presetUri(int program);
// A program's family: its name up to the first space ("REV Hall Big" is "REV").
std::string programFamily(const char* name);

}  // namespace lv2ports
