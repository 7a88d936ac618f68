#include "lv2/lv2_plugin.h"

#include <lv2/atom/util.h>
#include <lv2/log/log.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "host/trace_log.h"

using namespace lv2ports;

namespace {

uint32_t bitsOf(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

// Walks one input sequence; a port that is not connected, or holds no
// sequence, has no events.
class SequenceCursor {
public:
    explicit SequenceCursor(const LV2_Atom_Sequence* sequence)
        : seq_(sequence && sequence->atom.size >= sizeof(LV2_Atom_Sequence_Body) ? sequence : nullptr),
          ev_(seq_ ? lv2_atom_sequence_begin(&seq_->body) : nullptr) {}
    const LV2_Atom_Event* event() const {
        return seq_ && !lv2_atom_sequence_is_end(&seq_->body, seq_->atom.size, ev_) ? ev_ : nullptr;
    }
    void next() { ev_ = lv2_atom_sequence_next(ev_); }

private:
    const LV2_Atom_Sequence* seq_;
    const LV2_Atom_Event* ev_;
};

// The core counts frames in 32-bit signed integers.
constexpr uint32_t kMaxFramesPerCall = 1u << 30;

}  // namespace

// ---- life cycle -------------------------------------------------------------

NimbrelLv2Plugin* NimbrelLv2Plugin::create(double sampleRate, const LV2_Feature* const* features) {
    LV2_URID_Map* map = nullptr;
    LV2_Log_Log* log = nullptr;
    for (int i = 0; features && features[i]; ++i) {
        const LV2_Feature* f = features[i];
        if (!f->URI) continue;
        if (std::strcmp(f->URI, LV2_URID__map) == 0) map = static_cast<LV2_URID_Map*>(f->data);
        if (std::strcmp(f->URI, LV2_LOG__log) == 0) log = static_cast<LV2_Log_Log*>(f->data);
    }
    LV2_Log_Logger logger;
    // The log's message types are URIDs: without a map the lines go to stderr.
    lv2_log_logger_init(&logger, map && map->map ? map : nullptr, map && map->map ? log : nullptr);
    if (!map || !map->map) {
        lv2_log_error(&logger, "Nimbrel: the host gives no urid:map, which the plug-in needs; not instantiated\n");
        return nullptr;
    }
    auto* plugin = new (std::nothrow) NimbrelLv2Plugin(map, logger);
    if (!plugin || !plugin->core_) {
        lv2_log_error(&logger, "Nimbrel: out of memory; not instantiated\n");
        delete plugin;
        return nullptr;
    }
    const float rate = static_cast<float>(sampleRate);
    if (!(std::isfinite(rate) && rate > 0.0f))
        lv2_log_warning(&logger, "Nimbrel: sample rate %g is unusable; running at %g Hz\n", sampleRate,
                        static_cast<double>(plugin->core_->getSampleRate()));
    plugin->core_->setSampleRate(rate);
    printLog("NimbrelLv2Plugin::create end");
    return plugin;
}

NimbrelLv2Plugin::NimbrelLv2Plugin(LV2_URID_Map* map, const LV2_Log_Logger& logger)
    : map_(map), logger_(logger) {
    startLog();
    printLog("NimbrelLv2Plugin::create start");
    core_.reset(new (std::nothrow) OvCore);
    if (!core_) return;
    core_->setHostClock(this);
    core_->setObserver(this);
    urids_.mapAll(map);
    lv2_atom_forge_init(&forge_, map);
    lv2state::ProgramTag tag;
    tag.index = core_->getProgram();
    core_->getProgramName(tag.name);
    published_.write(tag);
    restoredTaken_ = restored_.version();
}

NimbrelLv2Plugin::~NimbrelLv2Plugin() {
    if (core_) core_->setObserver(nullptr);
}

void NimbrelLv2Plugin::connectPort(uint32_t port, void* data) {
    if (isParameterPort(port)) {
        parameterPorts_[port] = static_cast<const float*>(data);
        return;
    }
    switch (port) {
    case kAudioInLeft: audioIn_[0] = static_cast<const float*>(data); break;
    case kAudioInRight: audioIn_[1] = static_cast<const float*>(data); break;
    case kAudioOutLeft: audioOut_[0] = static_cast<float*>(data); break;
    case kAudioOutRight: audioOut_[1] = static_cast<float*>(data); break;
    case kControlIn: controlIn_ = static_cast<const LV2_Atom_Sequence*>(data); break;
    case kMeterOutput: case kMeterGate: case kMeterDuck: meterPorts_[port - kMeterOutput] = static_cast<float*>(data); break;
    case kNotify: notify_ = static_cast<LV2_Atom_Sequence*>(data); break;
    case kTimeIn: timeIn_ = static_cast<const LV2_Atom_Sequence*>(data); break;
    default: break;
    }
}

void NimbrelLv2Plugin::activate() { core_->suspend(); }

// ---- audio ------------------------------------------------------------------

void NimbrelLv2Plugin::run(uint32_t sampleCount) {
    beginNotify();
    takeRestoredProgram();
    takeEditorProgram();
    applyControlPorts();

    // Events in time order, the control port's first at one frame. The core
    // reads the tempo at its control ticks, so the block is cut where the
    // host's tempo changes; MIDI events are queued at their frame within the
    // piece that holds them.
    uint32_t start = 0;
    SequenceCursor control(controlIn_), time(timeIn_);
    for (;;) {
        const LV2_Atom_Event* fromControl = control.event();
        const LV2_Atom_Event* fromTime = time.event();
        if (!fromControl && !fromTime) break;
        const bool controlFirst = fromControl && (!fromTime || fromControl->time.frames <= fromTime->time.frames);
        handleEvent(controlFirst ? fromControl : fromTime, start, sampleCount);
        (controlFirst ? control : time).next();
    }
    renderPiece(start, sampleCount);

    const int64_t meters[3] = {core_->outputMeter, core_->gateMeter, core_->duckMeter};
    for (int k = 0; k < 3; ++k)
        if (meterPorts_[k]) *meterPorts_[k] = static_cast<float>(std::clamp<int64_t>(meters[k], 0, kMeterMax));

    publishProgram();
    if (programChangedInside_ || programRequested_) notifyProgram();
    if (notifyOpen_) lv2_atom_forge_pop(&forge_, &notifyFrame_);
    notifyOpen_ = false;
}

void NimbrelLv2Plugin::handleEvent(const LV2_Atom_Event* ev, uint32_t& start, uint32_t sampleCount) {
    const int64_t t = ev->time.frames;
    const uint32_t frame = t < start ? start : (t > sampleCount ? sampleCount : static_cast<uint32_t>(t));
    if (ev->body.type == urids_.midiEvent) {
        if (ev->body.size < 1) return;
        const auto* bytes = static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&ev->body));
        const uint8_t d1 = ev->body.size > 1 ? bytes[1] : 0, d2 = ev->body.size > 2 ? bytes[2] : 0;
        core_->addOrvaneMidiEvent(static_cast<char>(bytes[0]), static_cast<char>(d1), static_cast<char>(d2),
                                  frame - start);
        return;
    }
    const auto* object = reinterpret_cast<const LV2_Atom_Object*>(&ev->body);
    double bpm = 0.0;
    if (lv2msg::readTempo(urids_, object, bpm)) {
        renderPiece(start, frame);
        start = frame;
        tempo_ = bpm;
        return;
    }
    handleObject(object);
}

void NimbrelLv2Plugin::renderPiece(uint32_t start, uint32_t end) {
    while (start < end) {
        const uint32_t n = std::min(end - start, kMaxFramesPerCall);
        float* in[2] = {audioIn_[0] ? const_cast<float*>(audioIn_[0]) + start : nullptr,
                        audioIn_[1] ? const_cast<float*>(audioIn_[1]) + start : nullptr};
        float* out[2] = {audioOut_[0] ? audioOut_[0] + start : nullptr, audioOut_[1] ? audioOut_[1] + start : nullptr};
        core_->processReplacing(in, out, static_cast<int32_t>(n));
        start += n;
    }
}

void NimbrelLv2Plugin::applyControlPorts() {
    for (int i = 0; i < kNumParams; ++i) {
        const float* port = parameterPorts_[i];
        if (!port) continue;
        const float value = *port;
        const uint32_t bits = bitsOf(value);
        if (!applyAllPorts_ && bits == appliedBits_[i]) continue;
        appliedBits_[i] = bits;
        core_->setParameter(i, value);
    }
    applyAllPorts_ = false;
}

// ---- the editor's messages and the current program ---------------------------

// The editor's messages have no moment in the audio: they act where they are read.
void NimbrelLv2Plugin::handleObject(const LV2_Atom_Object* object) {
    lv2msg::ProgramMessage program;
    float dryFactor = 1.0f;
    if (lv2msg::readProgram(urids_, object, program)) {
        // The editor made a program current; its values come through the ports,
        // which are applied whole at the next run in case some did not change.
        editorProgram_.index = program.index;
        std::memcpy(editorProgram_.name, program.name, sizeof editorProgram_.name);
        editorProgramPending_ = true;
        takeEditorProgram();
    } else if (lv2msg::isObjectOf(urids_, &object->atom, urids_.programRequest)) {
        programRequested_ = true;
    } else if (lv2msg::readMonitor(urids_, object, dryFactor)) {
        core_->dryFactor = dryFactor;
    }
}

// Program `index` becomes current under `name` (its stored name when empty)
// with the values that sound now: what a preset or the editor made current
// arrives through the control ports.
bool NimbrelLv2Plugin::makeProgramCurrent(int index, char* name) {
    float live[kNumParams];
    for (int i = 0; i < kNumParams; ++i) live[i] = core_->getParameter(i);
    char text[kProgramNameSize] = {};
    if (name[0])
        std::strncpy(text, name, sizeof text - 1);
    else if (!core_->tryProgramName(index, text))
        return false;
    if (!core_->tryStoreProgram(index, text, live, kNumParams)) return false;
    core_->setProgram(index);
    std::memcpy(name, text, sizeof text);
    return true;
}

// Made current where its message is read, or at a later run when the names
// were busy then.
void NimbrelLv2Plugin::takeEditorProgram() {
    if (!editorProgramPending_ || !makeProgramCurrent(editorProgram_.index, editorProgram_.name)) return;
    editorProgramPending_ = false;
    applyAllPorts_ = true;
}

void NimbrelLv2Plugin::takeRestoredProgram() {
    if (restored_.version() == restoredTaken_.load(std::memory_order_relaxed)) return;
    lv2state::ProgramTag tag;
    uint32_t version = 0;
    if (!restored_.read(tag, &version)) return;  // restore is writing it: the next run takes it
    if (!makeProgramCurrent(tag.index, tag.name)) return;  // the names are busy: the next run takes it
    applyAllPorts_ = true;
    programChangedInside_ = true;
    // Published before it counts as taken, so that a save in between never
    // falls back to the program before it.
    published_.write(tag);
    restoredTaken_.store(version, std::memory_order_release);
}

void NimbrelLv2Plugin::publishProgram() {
    lv2state::ProgramTag now, shown;
    now.index = core_->getProgram();
    if (!core_->tryProgramName(now.index, now.name)) return;  // published at a later run
    if (published_.read(shown) && shown.index == now.index && std::strcmp(shown.name, now.name) == 0) return;
    published_.write(now);
}

void NimbrelLv2Plugin::beginNotify() {
    notifyOpen_ = false;
    if (!notify_) return;
    const uint32_t capacity = notify_->atom.size;
    lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<uint8_t*>(notify_), capacity);
    notifyOpen_ = lv2_atom_forge_sequence_head(&forge_, &notifyFrame_, 0) != 0;
}

void NimbrelLv2Plugin::notifyProgram() {
    if (!notifyOpen_) return;
    char name[kProgramNameSize] = {};
    if (!core_->tryProgramName(core_->getProgram(), name)) return;  // told at a later run
    programChangedInside_ = false;
    programRequested_ = false;
    float live[kNumParams];
    for (int i = 0; i < kNumParams; ++i) live[i] = core_->getParameter(i);
    if (lv2_atom_forge_frame_time(&forge_, 0))
        lv2msg::forgeProgram(forge_, urids_, core_->getProgram(), name, live);
}

// ---- options ----------------------------------------------------------------

uint32_t NimbrelLv2Plugin::setOptions(const LV2_Options_Option* options) {
    uint32_t status = LV2_OPTIONS_SUCCESS;
    for (const LV2_Options_Option* o = options; o && o->key != 0; ++o) {
        if (o->key == urids_.nominalBlockLength || o->key == urids_.maxBlockLength)
            core_->suspend();
        else
            status |= LV2_OPTIONS_ERR_BAD_KEY;
    }
    return status;
}

// ---- state ------------------------------------------------------------------

LV2_State_Status NimbrelLv2Plugin::save(LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t flags) {
    (void)flags;
    if (!store) return LV2_STATE_ERR_UNKNOWN;
    // What restore left and run has not taken yet, else what run last saw.
    lv2state::ProgramTag tag;
    bool read = false;
    for (int attempt = 0; attempt < 100000 && !read; ++attempt) {
        const bool pending = restored_.version() != restoredTaken_.load(std::memory_order_acquire);
        read = pending ? restored_.read(tag) : published_.read(tag);
    }
    if (!read) return LV2_STATE_ERR_UNKNOWN;
    const int32_t index = tag.index;
    const uint32_t podFlags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    LV2_State_Status status =
        store(handle, urids_.programIndex, &index, sizeof index, urids_.atomInt, podFlags);
    if (status != LV2_STATE_SUCCESS) return status;
    return store(handle, urids_.programName, tag.name, std::strlen(tag.name) + 1, urids_.atomString, podFlags);
}

LV2_State_Status NimbrelLv2Plugin::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                                           uint32_t flags) {
    (void)flags;
    if (!retrieve) return LV2_STATE_ERR_UNKNOWN;
    size_t size = 0;
    uint32_t type = 0, valueFlags = 0;
    const void* value = retrieve(handle, urids_.programIndex, &size, &type, &valueFlags);
    // A state without a program (another version's, or only port values) keeps the current one.
    if (!value) return LV2_STATE_SUCCESS;
    int64_t index = -1;
    if (!lv2msg::atomInteger(urids_, type, value, size, index)) {
        lv2_log_warning(&logger_, "Nimbrel: the saved program number is damaged; the program stays\n");
        return LV2_STATE_ERR_BAD_TYPE;
    }
    if (index < 0 || index >= kNumPrograms) {
        lv2_log_warning(&logger_, "Nimbrel: the saved program %lld is not one of ours; the program stays\n",
                        static_cast<long long>(index));
        return LV2_STATE_SUCCESS;
    }
    lv2state::ProgramTag tag;
    tag.index = static_cast<int32_t>(index);
    size = 0;
    type = 0;
    value = retrieve(handle, urids_.programName, &size, &type, &valueFlags);
    // A missing or damaged name leaves the program its stored name.
    if (value) lv2msg::atomText(urids_, type, value, static_cast<uint32_t>(std::min<size_t>(size, UINT32_MAX)),
                                tag.name, sizeof tag.name);
    restored_.write(tag);
    return LV2_STATE_SUCCESS;
}

// ---- the descriptor ---------------------------------------------------------

namespace {

NimbrelLv2Plugin* self(LV2_Handle h) { return static_cast<NimbrelLv2Plugin*>(h); }

LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const* features) {
    return NimbrelLv2Plugin::create(rate, features);
}
void connectPort(LV2_Handle h, uint32_t port, void* data) { self(h)->connectPort(port, data); }
void activate(LV2_Handle h) { self(h)->activate(); }
void run(LV2_Handle h, uint32_t n) { self(h)->run(n); }
void deactivate(LV2_Handle h) { self(h)->deactivate(); }
void cleanup(LV2_Handle h) {
    printLog("NimbrelLv2Plugin::cleanup");
    delete self(h);
}

LV2_State_Status saveState(LV2_Handle h, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t flags,
                           const LV2_Feature* const*) {
    return self(h)->save(store, handle, flags);
}
LV2_State_Status restoreState(LV2_Handle h, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                              uint32_t flags, const LV2_Feature* const*) {
    return self(h)->restore(retrieve, handle, flags);
}

const LV2_State_Interface kStateInterface = {saveState, restoreState};

// The plug-in reports no options of its own.
uint32_t getOptions(LV2_Handle, LV2_Options_Option* options) {
    uint32_t status = LV2_OPTIONS_SUCCESS;
    for (LV2_Options_Option* o = options; o && o->key != 0; ++o) status |= LV2_OPTIONS_ERR_BAD_KEY;
    return status;
}
uint32_t setOptions(LV2_Handle h, const LV2_Options_Option* options) { return self(h)->setOptions(options); }

const LV2_Options_Interface kOptionsInterface = {getOptions, setOptions};

const void* extensionData(const char* uri) {
    if (uri && std::strcmp(uri, LV2_STATE__interface) == 0) return &kStateInterface;
    if (uri && std::strcmp(uri, LV2_OPTIONS__interface) == 0) return &kOptionsInterface;
    return nullptr;
}

const LV2_Descriptor kDescriptor = {kPluginUri, instantiate, connectPort, activate, run, deactivate, cleanup,
                                    extensionData};

}  // namespace

const LV2_Descriptor* nimbrelLv2Descriptor() { return &kDescriptor; }
