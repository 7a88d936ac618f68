#pragma once
// A minimal LV2 host for the tests: it loads the bundle's plug-in library with
// dlopen (or takes a descriptor linked in), gives the features a host gives,
// connects every port to buffers of its own, writes the control sequence
// (MIDI, time:Position, the editor's messages) with the atom forge, reads the
// notify sequence, and saves and restores state through the state interface.
#include <dlfcn.h>
#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/log/log.h>
#include <lv2/midi/midi.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/time/time.h>
#include <lv2/urid/urid.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/parameters.h"
#include "host/programs.h"
#include "lv2/messages.h"
#include "lv2/ports.h"

namespace lv2test {

// Interns URIs as a host's urid:map does.
struct UridMap {
    std::vector<std::string> uris;
    LV2_URID_Map map{this, &UridMap::mapUri};
    LV2_URID_Unmap unmap{this, &UridMap::unmapUrid};
    static LV2_URID mapUri(LV2_URID_Map_Handle handle, const char* uri) {
        auto* self = static_cast<UridMap*>(handle);
        for (size_t i = 0; i < self->uris.size(); ++i)
            if (self->uris[i] == uri) return static_cast<LV2_URID>(i + 1);
        self->uris.push_back(uri);
        return static_cast<LV2_URID>(self->uris.size());
    }
    static const char* unmapUrid(LV2_URID_Unmap_Handle handle, LV2_URID urid) {
        auto* self = static_cast<UridMap*>(handle);
        return urid >= 1 && urid <= self->uris.size() ? self->uris[urid - 1].c_str() : nullptr;
    }
    LV2_URID operator()(const char* uri) { return mapUri(this, uri); }
};

// The host's log: keeps every line.
struct Log {
    std::vector<std::string> lines;
    LV2_Log_Log log{this, &Log::printf, &Log::vprintf};
    static int printf(LV2_Log_Handle h, LV2_URID type, const char* fmt, ...) {
        va_list args;
        va_start(args, fmt);
        const int n = vprintf(h, type, fmt, args);
        va_end(args);
        return n;
    }
    static int vprintf(LV2_Log_Handle h, LV2_URID, const char* fmt, va_list args) {
        char line[512];
        const int n = std::vsnprintf(line, sizeof line, fmt, args);
        static_cast<Log*>(h)->lines.push_back(line);
        return n;
    }
};

// The plug-in library of the bundle, loaded as hosts load it.
struct Library {
    void* handle = nullptr;
    const LV2_Descriptor* descriptor = nullptr;
    std::string error;
    explicit Library(const char* path) {
        handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            error = dlerror();
            return;
        }
        auto entry = reinterpret_cast<const LV2_Descriptor* (*)(uint32_t)>(dlsym(handle, "lv2_descriptor"));
        if (entry) descriptor = entry(0);
    }
    ~Library() {
        if (handle) dlclose(handle);
    }
};

// A saved state as hosts keep it: value bytes and type per key.
struct SavedValue {
    std::vector<uint8_t> bytes;
    LV2_URID type = 0;
    uint32_t flags = 0;
};
using SavedState = std::map<LV2_URID, SavedValue>;

class Instance {
public:
    struct Setup {
        double rate = 44100.0;
        bool giveMap = true;
        bool giveLog = true;
    };

    Instance(const LV2_Descriptor* descriptor, const Setup& setup) : d_(descriptor) {
        lv2_atom_forge_init(&forge_, &urids.map);
        lv2_atom_forge_init(&timeForge_, &urids.map);
        u_.mapAll(&urids.map);
        std::vector<const LV2_Feature*> features;
        if (setup.giveMap) features.push_back(&mapFeature_);
        if (setup.giveLog) features.push_back(&logFeature_);
        features.push_back(nullptr);
        handle_ = d_->instantiate(d_, setup.rate, "/nonexistent/Nimbrel.lv2/", features.data());
        for (int i = 0; i < kNumParams; ++i) params[i] = ParameterNameTab[i].init;
        clearEvents();
    }
    ~Instance() {
        if (handle_) d_->cleanup(handle_);
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    bool ok() const { return handle_ != nullptr; }
    LV2_Handle handle() const { return handle_; }
    const lv2msg::Urids& u() const { return u_; }

    // Every port to this host's buffers; audio to `in` and `out` (may be the same).
    void connectAll(float* inL, float* inR, float* outL, float* outR) {
        for (uint32_t i = 0; i < static_cast<uint32_t>(kNumParams); ++i) d_->connect_port(handle_, i, &params[i]);
        connectAudio(inL, inR, outL, outR);
        d_->connect_port(handle_, lv2ports::kControlIn, control_);
        d_->connect_port(handle_, lv2ports::kNotify, notify_);
        d_->connect_port(handle_, lv2ports::kTimeIn, time_);
        for (uint32_t k = 0; k < 3; ++k) d_->connect_port(handle_, lv2ports::kMeterOutput + k, &meters[k]);
        clearEvents();
    }
    void connectAudio(float* inL, float* inR, float* outL, float* outR) {
        d_->connect_port(handle_, lv2ports::kAudioInLeft, inL);
        d_->connect_port(handle_, lv2ports::kAudioInRight, inR);
        d_->connect_port(handle_, lv2ports::kAudioOutLeft, outL);
        d_->connect_port(handle_, lv2ports::kAudioOutRight, outR);
    }
    void connect(uint32_t port, void* data) { d_->connect_port(handle_, port, data); }
    void activate() { d_->activate(handle_); }
    void deactivate() { d_->deactivate(handle_); }

    // ---- the control sequence of the next run ----
    void clearEvents() {
        lv2_atom_forge_set_buffer(&forge_, control_, sizeof control_);
        lv2_atom_forge_sequence_head(&forge_, &sequence_, 0);
        lv2_atom_forge_set_buffer(&timeForge_, time_, sizeof time_);
        lv2_atom_forge_sequence_head(&timeForge_, &timeSequence_, 0);
    }
    void addMidi(int64_t frame, uint8_t status, uint8_t data1, uint8_t data2 = 0, uint32_t size = 3) {
        const uint8_t bytes[3] = {status, data1, data2};
        lv2_atom_forge_frame_time(&forge_, frame);
        lv2_atom_forge_atom(&forge_, size, u_.midiEvent);
        lv2_atom_forge_write(&forge_, bytes, size);
    }
    // A time:Position whose beatsPerMinute has the atom type `type` (Float, Double, Int or
    // Long), on the control port or on the port for the tempo alone.
    void addTempo(int64_t frame, double bpm, LV2_URID type = 0, bool onTimePort = false) {
        if (type == 0) type = u_.atomFloat;
        LV2_Atom_Forge& f = onTimePort ? timeForge_ : forge_;
        lv2_atom_forge_frame_time(&f, frame);
        LV2_Atom_Forge_Frame object;
        lv2_atom_forge_object(&f, &object, 0, u_.timePosition);
        lv2_atom_forge_key(&f, u_.timeBeatsPerMinute);
        if (type == u_.atomFloat) lv2_atom_forge_float(&f, static_cast<float>(bpm));
        if (type == u_.atomDouble) lv2_atom_forge_double(&f, bpm);
        if (type == u_.atomInt) lv2_atom_forge_int(&f, static_cast<int32_t>(bpm));
        if (type == u_.atomLong) lv2_atom_forge_long(&f, static_cast<int64_t>(bpm));
        lv2_atom_forge_pop(&f, &object);
    }
    // A time:Position with only a position (no tempo).
    void addPositionWithoutTempo(int64_t frame) {
        lv2_atom_forge_frame_time(&forge_, frame);
        LV2_Atom_Forge_Frame object;
        lv2_atom_forge_object(&forge_, &object, 0, u_.timePosition);
        lv2_atom_forge_key(&forge_, urids(LV2_TIME__frame));
        lv2_atom_forge_long(&forge_, 12345);
        lv2_atom_forge_pop(&forge_, &object);
    }
    // Any atom, as the editor's messages arrive.
    void addAtom(int64_t frame, const LV2_Atom* atom) {
        lv2_atom_forge_frame_time(&forge_, frame);
        lv2_atom_forge_write(&forge_, atom, sizeof(LV2_Atom) + atom->size);
    }
    LV2_Atom_Forge& forge() { return forge_; }

    // Runs `frames` frames with the events added since the last run, then clears them.
    void run(uint32_t frames) {
        notify_[0] = 0;
        reinterpret_cast<LV2_Atom*>(notify_)->size = sizeof notify_ - sizeof(LV2_Atom);
        reinterpret_cast<LV2_Atom*>(notify_)->type = u_.atomSequence;
        d_->run(handle_, frames);
        clearEvents();
    }

    // The Program messages of the last run's notify sequence.
    std::vector<lv2msg::ProgramMessage> notifiedPrograms() const {
        std::vector<lv2msg::ProgramMessage> out;
        const auto* seq = reinterpret_cast<const LV2_Atom_Sequence*>(notify_);
        if (seq->atom.type != u_.atomSequence) return out;
        LV2_ATOM_SEQUENCE_FOREACH (seq, ev) {
            lv2msg::ProgramMessage m;
            if (lv2msg::readProgram(u_, reinterpret_cast<const LV2_Atom_Object*>(&ev->body), m)) out.push_back(m);
        }
        return out;
    }
    const LV2_Atom_Sequence* notifySequence() const { return reinterpret_cast<const LV2_Atom_Sequence*>(notify_); }

    // ---- options ----
    // Tells the plug-in a new nominal block length, as Ardour does before a bounce.
    uint32_t setBlockLength(int32_t frames) {
        const auto* options = static_cast<const LV2_Options_Interface*>(d_->extension_data(LV2_OPTIONS__interface));
        if (!options) return LV2_OPTIONS_ERR_UNKNOWN;
        const LV2_Options_Option set[] = {
            {LV2_OPTIONS_INSTANCE, 0, urids(LV2_BUF_SIZE__nominalBlockLength), sizeof frames, u_.atomInt, &frames},
            {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
        return options->set(handle_, set);
    }

    // ---- state ----
    const LV2_State_Interface* stateInterface() const {
        return static_cast<const LV2_State_Interface*>(d_->extension_data(LV2_STATE__interface));
    }
    LV2_State_Status save(SavedState& out) {
        out.clear();
        return stateInterface()->save(handle_, &Instance::storeValue, &out, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE,
                                      nullptr);
    }
    LV2_State_Status restore(const SavedState& state) {
        return stateInterface()->restore(handle_, &Instance::retrieveValue, const_cast<SavedState*>(&state), 0, nullptr);
    }
    // A state as the plug-in saves it: a program number (Int) and a name (String).
    SavedState programState(int index, const char* name) {
        SavedState s;
        s[u_.programIndex] = value(&index, sizeof(int32_t), u_.atomInt);
        s[u_.programName] = value(name, std::strlen(name) + 1, u_.atomString);
        return s;
    }
    static SavedValue value(const void* bytes, size_t size, LV2_URID type) {
        SavedValue v;
        v.bytes.assign(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + size);
        v.type = type;
        v.flags = LV2_STATE_IS_POD;
        return v;
    }

    float params[kNumParams];
    float meters[3] = {-1.0f, -1.0f, -1.0f};
    UridMap urids;
    Log log;

private:
    static LV2_State_Status storeValue(LV2_State_Handle h, uint32_t key, const void* value, size_t size,
                                       uint32_t type, uint32_t flags) {
        SavedValue v = Instance::value(value, size, type);
        v.flags = flags;
        (*static_cast<SavedState*>(h))[key] = v;
        return LV2_STATE_SUCCESS;
    }
    static const void* retrieveValue(LV2_State_Handle h, uint32_t key, size_t* size, uint32_t* type,
                                     uint32_t* flags) {
        const auto* state = static_cast<const SavedState*>(h);
        auto it = state->find(key);
        if (it == state->end()) return nullptr;
        *size = it->second.bytes.size();
        *type = it->second.type;
        *flags = it->second.flags;
        return it->second.bytes.data();
    }

    const LV2_Descriptor* d_;
    LV2_Handle handle_ = nullptr;
    lv2msg::Urids u_;
    LV2_Feature mapFeature_{LV2_URID__map, &urids.map};
    LV2_Feature logFeature_{LV2_LOG__log, &log.log};
    LV2_Atom_Forge forge_, timeForge_;
    LV2_Atom_Forge_Frame sequence_, timeSequence_;
    alignas(8) uint8_t control_[1 << 16];
    alignas(8) uint8_t time_[4096];
    alignas(8) uint8_t notify_[8192];
};

}  // namespace lv2test
