#pragma once
// What the plug-in and its editor tell each other through the atom ports,
// and what the plug-in's saved state holds. The editor may run in another
// process, so these are the only ways between the two besides the control
// ports: the editor sends on the control input port, the plug-in answers on
// the notify port. Both sides map the URIs with the host's urid:map.
#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include <cstddef>
#include <cstdint>

#include "host/parameters.h"
#include "host/programs.h"

namespace lv2msg {

// Object types.
// Editor to plug-in: the program the editor made current (its number and
// name; its values come through the control ports). Plug-in to editor: the
// program that sounds, with its values.
constexpr const char* kProgramUri = "https://orvane.example/lv2/nimbrel#Program";
// Editor to plug-in: send me a Program message with what sounds now.
constexpr const char* kProgramRequestUri = "https://orvane.example/lv2/nimbrel#ProgramRequest";
// Editor to plug-in: the factor on the dry signal (the wet-only button).
constexpr const char* kMonitorUri = "https://orvane.example/lv2/nimbrel#Monitor";

// Properties; programIndex and programName are also the keys of the saved state
// and of the factory presets' state.
constexpr const char* kProgramIndexUri = "https://orvane.example/lv2/nimbrel#programIndex";
constexpr const char* kProgramNameUri = "https://orvane.example/lv2/nimbrel#programName";
constexpr const char* kProgramValuesUri = "https://orvane.example/lv2/nimbrel#programValues";
constexpr const char* kDryFactorUri = "https://orvane.example/lv2/nimbrel#dryFactor";

struct Urids {
    // Fills every field through the host's map; false when `map` is null.
    bool mapAll(const LV2_URID_Map* map);

    LV2_URID atomBlank = 0, atomObject = 0, atomSequence = 0, atomInt = 0, atomLong = 0, atomFloat = 0,
             atomDouble = 0, atomString = 0, atomVector = 0, atomEventTransfer = 0;
    LV2_URID midiEvent = 0;
    LV2_URID timePosition = 0, timeBeatsPerMinute = 0;
    LV2_URID nominalBlockLength = 0, maxBlockLength = 0, uiScaleFactor = 0;
    LV2_URID program = 0, programRequest = 0, monitor = 0;
    LV2_URID programIndex = 0, programName = 0, programValues = 0, dryFactor = 0;
};

// A program as the messages carry it. The name is always terminated.
struct ProgramMessage {
    int32_t index = 0;
    char name[kProgramNameSize] = {};
    bool hasValues = false;
    float values[kNumParams] = {};
};

// Bytes a Program message with values takes in a sequence, its event header included.
constexpr uint32_t kProgramEventSize = 640;

// Writes an object of `type` with no properties (a request); false when it does not fit.
bool forgeRequest(LV2_Atom_Forge& forge, const Urids& u, LV2_URID type);
// Writes a Program object: number and name, and the 68 values when `values` is not null.
bool forgeProgram(LV2_Atom_Forge& forge, const Urids& u, int32_t index, const char* name, const float* values);
// Writes a Monitor object with the dry factor.
bool forgeMonitor(LV2_Atom_Forge& forge, const Urids& u, float dryFactor);

// Reads a Program object. False when it is no Program, or its number is
// missing, not an integer or outside the programs; a missing or damaged name
// leaves `out.name` empty, values of another count or kind leave hasValues false.
bool readProgram(const Urids& u, const LV2_Atom_Object* object, ProgramMessage& out);
// Reads a Monitor object's dry factor: false unless a finite number in 0..1.
bool readMonitor(const Urids& u, const LV2_Atom_Object* object, float& dryFactor);
// The tempo of a time:Position object: its beatsPerMinute as a float, double,
// int or long; false when it has none, or none that is a positive finite number.
bool readTempo(const Urids& u, const LV2_Atom_Object* object, double& bpm);

// An atom as an integer (Int or Long), or as a terminated text of at most
// `size` - 1 characters (a String); false for anything else.
bool atomInteger(const Urids& u, const LV2_Atom* atom, int64_t& value);
bool atomInteger(const Urids& u, uint32_t type, const void* body, size_t bodySize, int64_t& value);
bool atomText(const Urids& u, const LV2_Atom* atom, char* text, uint32_t size);
// A number of any of the four kinds (Int, Long, Float, Double) as a double;
// false for anything else or a body too short for its kind.
bool atomNumber(const Urids& u, uint32_t type, const void* body, size_t bodySize, double& value);
bool atomText(const Urids& u, uint32_t type, const void* body, uint32_t bodySize, char* text, uint32_t size);

// Whether an atom is an object (Object or Blank) of `type`.
bool isObjectOf(const Urids& u, const LV2_Atom* atom, LV2_URID type);

}  // namespace lv2msg
