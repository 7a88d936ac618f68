#include "lv2/messages.h"

#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>
#include <lv2/ui/ui.h>

#include <cmath>
#include <cstring>

namespace lv2msg {

bool Urids::mapAll(const LV2_URID_Map* map) {
    if (!map || !map->map) return false;
    auto m = [map](const char* uri) { return map->map(map->handle, uri); };
    atomBlank = m(LV2_ATOM__Blank);
    atomObject = m(LV2_ATOM__Object);
    atomSequence = m(LV2_ATOM__Sequence);
    atomInt = m(LV2_ATOM__Int);
    atomLong = m(LV2_ATOM__Long);
    atomFloat = m(LV2_ATOM__Float);
    atomDouble = m(LV2_ATOM__Double);
    atomString = m(LV2_ATOM__String);
    atomVector = m(LV2_ATOM__Vector);
    atomEventTransfer = m(LV2_ATOM__eventTransfer);
    midiEvent = m(LV2_MIDI__MidiEvent);
    timePosition = m(LV2_TIME__Position);
    timeBeatsPerMinute = m(LV2_TIME__beatsPerMinute);
    nominalBlockLength = m(LV2_BUF_SIZE__nominalBlockLength);
    maxBlockLength = m(LV2_BUF_SIZE__maxBlockLength);
    uiScaleFactor = m(LV2_UI__scaleFactor);
    program = m(kProgramUri);
    programRequest = m(kProgramRequestUri);
    monitor = m(kMonitorUri);
    programIndex = m(kProgramIndexUri);
    programName = m(kProgramNameUri);
    programValues = m(kProgramValuesUri);
    dryFactor = m(kDryFactorUri);
    return true;
}

bool isObjectOf(const Urids& u, const LV2_Atom* atom, LV2_URID type) {
    if (!atom || (atom->type != u.atomObject && atom->type != u.atomBlank)) return false;
    if (atom->size < sizeof(LV2_Atom_Object_Body)) return false;
    return reinterpret_cast<const LV2_Atom_Object*>(atom)->body.otype == type;
}

bool atomInteger(const Urids& u, uint32_t type, const void* body, size_t bodySize, int64_t& value) {
    if (!body) return false;
    if (type == u.atomInt && bodySize >= sizeof(int32_t)) {
        int32_t v;
        std::memcpy(&v, body, sizeof v);
        value = v;
        return true;
    }
    if (type == u.atomLong && bodySize >= sizeof(int64_t)) {
        std::memcpy(&value, body, sizeof value);
        return true;
    }
    return false;
}

bool atomInteger(const Urids& u, const LV2_Atom* atom, int64_t& value) {
    return atom && atomInteger(u, atom->type, LV2_ATOM_BODY_CONST(atom), atom->size, value);
}

bool atomText(const Urids& u, uint32_t type, const void* body, uint32_t bodySize, char* text, uint32_t size) {
    if (size == 0) return false;
    text[0] = 0;
    if (type != u.atomString || !body) return false;
    // A string's body holds its terminating zero; a damaged one may not.
    const char* s = static_cast<const char*>(body);
    uint32_t n = 0;
    while (n < bodySize && s[n] != 0) ++n;
    if (n >= size) n = size - 1;
    std::memcpy(text, s, n);
    text[n] = 0;
    return true;
}

bool atomText(const Urids& u, const LV2_Atom* atom, char* text, uint32_t size) {
    if (!atom) {
        if (size) text[0] = 0;
        return false;
    }
    return atomText(u, atom->type, LV2_ATOM_BODY_CONST(atom), atom->size, text, size);
}

bool atomNumber(const Urids& u, uint32_t type, const void* body, size_t bodySize, double& value) {
    int64_t whole = 0;
    if (atomInteger(u, type, body, bodySize, whole)) {
        value = static_cast<double>(whole);
        return true;
    }
    if (!body) return false;
    if (type == u.atomFloat && bodySize >= sizeof(float)) {
        float v;
        std::memcpy(&v, body, sizeof v);
        value = v;
        return true;
    }
    if (type == u.atomDouble && bodySize >= sizeof(double)) {
        std::memcpy(&value, body, sizeof value);
        return true;
    }
    return false;
}

namespace {

// The value of `key` in an object; null when absent. Walks the body within its size.
const LV2_Atom* property(const LV2_Atom_Object* object, LV2_URID key) {
    LV2_ATOM_OBJECT_FOREACH (object, p) {
        if (p->key == key) return &p->value;
    }
    return nullptr;
}

bool number(const Urids& u, const LV2_Atom* atom, double& value) {
    return atom && atomNumber(u, atom->type, LV2_ATOM_BODY_CONST(atom), atom->size, value);
}

}  // namespace

bool forgeRequest(LV2_Atom_Forge& forge, const Urids& u, LV2_URID type) {
    (void)u;
    LV2_Atom_Forge_Frame frame;
    if (!lv2_atom_forge_object(&forge, &frame, 0, type)) return false;
    lv2_atom_forge_pop(&forge, &frame);
    return true;
}

bool forgeProgram(LV2_Atom_Forge& forge, const Urids& u, int32_t index, const char* name, const float* values) {
    LV2_Atom_Forge_Frame frame;
    if (!lv2_atom_forge_object(&forge, &frame, 0, u.program)) return false;
    bool ok = lv2_atom_forge_key(&forge, u.programIndex) && lv2_atom_forge_int(&forge, index);
    const uint32_t length = static_cast<uint32_t>(strnlen(name ? name : "", kProgramNameSize - 1));
    ok = ok && lv2_atom_forge_key(&forge, u.programName) && lv2_atom_forge_string(&forge, name ? name : "", length);
    if (values)
        ok = ok && lv2_atom_forge_key(&forge, u.programValues) &&
             lv2_atom_forge_vector(&forge, sizeof(float), u.atomFloat, kNumParams, values);
    lv2_atom_forge_pop(&forge, &frame);
    return ok;
}

bool forgeMonitor(LV2_Atom_Forge& forge, const Urids& u, float dryFactor) {
    LV2_Atom_Forge_Frame frame;
    if (!lv2_atom_forge_object(&forge, &frame, 0, u.monitor)) return false;
    const bool ok = lv2_atom_forge_key(&forge, u.dryFactor) && lv2_atom_forge_float(&forge, dryFactor);
    lv2_atom_forge_pop(&forge, &frame);
    return ok;
}

bool readProgram(const Urids& u, const LV2_Atom_Object* object, ProgramMessage& out) {
    if (!isObjectOf(u, &object->atom, u.program)) return false;
    int64_t index = -1;
    if (!atomInteger(u, property(object, u.programIndex), index) || index < 0 || index >= kNumPrograms) return false;
    out.index = static_cast<int32_t>(index);
    atomText(u, property(object, u.programName), out.name, sizeof out.name);
    out.hasValues = false;
    const LV2_Atom* values = property(object, u.programValues);
    if (values && values->type == u.atomVector && values->size >= sizeof(LV2_Atom_Vector_Body)) {
        const auto* vector = reinterpret_cast<const LV2_Atom_Vector*>(values);
        const uint32_t bytes = values->size - sizeof(LV2_Atom_Vector_Body);
        if (vector->body.child_type == u.atomFloat && vector->body.child_size == sizeof(float) &&
            bytes == kNumParams * sizeof(float)) {
            std::memcpy(out.values, vector + 1, bytes);
            out.hasValues = true;
        }
    }
    return true;
}

bool readMonitor(const Urids& u, const LV2_Atom_Object* object, float& dryFactor) {
    if (!isObjectOf(u, &object->atom, u.monitor)) return false;
    double value = 0.0;
    if (!number(u, property(object, u.dryFactor), value) || !std::isfinite(value) || value < 0.0 || value > 1.0)
        return false;
    dryFactor = static_cast<float>(value);
    return true;
}

bool readTempo(const Urids& u, const LV2_Atom_Object* object, double& bpm) {
    if (!isObjectOf(u, &object->atom, u.timePosition)) return false;
    double value = 0.0;
    if (!number(u, property(object, u.timeBeatsPerMinute), value) || !std::isfinite(value) || value <= 0.0)
        return false;
    bpm = value;
    return true;
}

}  // namespace lv2msg
