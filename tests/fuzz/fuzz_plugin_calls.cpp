// libFuzzer target for the plug-in's binary interface: each input is a
// sequence of calls a host could make on one instance made through the VST 2
// entry point (dispatcher opcodes with their arguments, parameter sets and
// reads, process calls with MIDI before them), decoded from the bytes. Every
// record and text the host hands over is exactly as large as the interface
// says, on the heap, so that a read or write past it is a report of the
// address sanitizer. Beyond the sanitizers' findings, the one promise checked
// is that finite input gives finite output.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "vst2/aeffect.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace {

// What the host tells of time; the fuzz input sets the tempo.
VstTimeInfo gTime{};

intptr_t hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void* ptr, float) {
    switch (opcode) {
    case audioMasterVersion: return kVstVersion;
    case audioMasterGetTime: return reinterpret_cast<intptr_t>(&gTime);
    case audioMasterGetProductString:
        if (ptr) std::strcpy(static_cast<char*>(ptr), "fuzz host");
        return 1;
    case audioMasterGetVendorVersion: return 1;
    default: return 0;
    }
}

// A block of host memory of exactly `size` bytes.
struct HostBuffer {
    explicit HostBuffer(size_t size) : bytes(new unsigned char[size ? size : 1]), size(size) {}
    std::unique_ptr<unsigned char[]> bytes;
    size_t size;
    void* ptr() { return size ? bytes.get() : nullptr; }
};

// The size of the record or text that opcode's pointer refers to, as the
// interface lays it down; 0 where the pointer is null or not a buffer.
size_t recordSize(int32_t opcode) {
    switch (opcode) {
    case effGetProgramName:
    case effGetProgramNameIndexed: return kVstMaxProgNameLen + 1;
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName: return kVstMaxParamStrLen + 1;
    case effEditGetRect:
    case effGetChunk: return sizeof(void*);
    case effGetInputProperties:
    case effGetOutputProperties: return sizeof(VstPinProperties);
    case effGetEffectName: return kVstMaxEffectNameLen + 1;
    case effGetVendorString:
    case effGetProductString:
    case effShellGetNextPlugin: return kVstMaxProductStrLen + 1;
    case effGetParameterProperties: return sizeof(VstParameterProperties);
    case effGetMidiProgramName:
    case effGetCurrentMidiProgram:
    case effGetMidiKeyName: return sizeof(MidiProgramName);
    case effGetMidiProgramCategory: return 76;
    case effGetSpeakerArrangement: return 2 * sizeof(void*);
    default: return 0;
    }
}

bool takesText(int32_t opcode) {
    return opcode == effSetProgramName || opcode == effCanDo || opcode == effString2Parameter;
}

// Indices and values are mostly near the ranges that mean something, now
// and then anything at all.
int32_t anIndex(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-2, 200) : in.ConsumeIntegral<int32_t>();
}

float aFloat(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeFloatingPointInRange(-0.5f, 1.5f);
    case 1: return static_cast<float>(in.ConsumeIntegralInRange(0, 8)) / 8.0f;
    default: {
        const uint32_t bits = in.ConsumeIntegral<uint32_t>();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    }
}

void dispatch(AEffect* e, FuzzedDataProvider& in) {
    const int32_t opcode = in.ConsumeIntegralInRange<int32_t>(0, effGetNumMidiOutputChannels + 2);
    if (opcode == effClose || opcode == effProcessEvents) return;  // the end, and events go with a block
    const int32_t index = anIndex(in);
    const intptr_t value = in.ConsumeBool() ? in.ConsumeIntegralInRange<intptr_t>(-2, 200000)
                                            : in.ConsumeIntegral<intptr_t>();
    const float opt = aFloat(in);
    if (opcode == effEditOpen) {
        // A parent window id: there is no display, so nothing may open.
        void* parent = reinterpret_cast<void*>(in.ConsumeIntegral<uint32_t>());
        if (e->dispatcher(e, opcode, index, value, parent, opt) != 0) std::abort();
        return;
    }
    if (opcode == effSetChunk) {
        HostBuffer data(in.ConsumeIntegralInRange<size_t>(0, 512));
        if (data.size) std::memset(data.ptr(), in.ConsumeIntegral<uint8_t>(), data.size);
        e->dispatcher(e, opcode, index, static_cast<intptr_t>(data.size), data.ptr(), opt);
        return;
    }
    if (takesText(opcode)) {
        const std::string text = in.ConsumeRandomLengthString(300);
        HostBuffer buffer(text.size() + 1);
        std::memcpy(buffer.ptr(), text.c_str(), text.size() + 1);
        e->dispatcher(e, opcode, index, value, buffer.ptr(), opt);
        return;
    }
    HostBuffer record(in.ConsumeBool() ? recordSize(opcode) : 0);
    if (record.size) {
        std::memset(record.ptr(), 0xA5, record.size);
        if (record.size >= 4) {  // the host's index, where a record has one
            const int32_t hostIndex = anIndex(in);
            std::memcpy(record.ptr(), &hostIndex, 4);
        }
    }
    // A pointer value (effSetSpeakerArrangement) is null: only real records go there.
    const intptr_t v = opcode == effSetSpeakerArrangement ? 0 : value;
    const auto* bytes = static_cast<const unsigned char*>(record.ptr());
    const std::vector<unsigned char> before(bytes, bytes + record.size);
    e->dispatcher(e, opcode, index, v, record.ptr(), opt);
    if (record.size == kVstMaxParamStrLen + 1 || record.size == kVstMaxProgNameLen + 1 ||
        record.size == kVstMaxEffectNameLen + 1 || record.size == kVstMaxProductStrLen + 1) {
        // A text the plug-in wrote is terminated within the buffer; a buffer
        // it left alone still holds what the host put there.
        if (!std::memchr(bytes, 0, record.size) && !std::equal(before.begin(), before.end(), bytes))
            std::abort();
    }
}

// MIDI and other events for the next block, then the block.
void processBlock(AEffect* e, FuzzedDataProvider& in) {
    const int events = in.ConsumeIntegralInRange(0, 6);
    std::vector<VstMidiEvent> midi(events);
    std::vector<unsigned char> list(sizeof(VstEvents) + events * sizeof(VstEvent*));
    auto* vstEvents = reinterpret_cast<VstEvents*>(list.data());
    vstEvents->numEvents = events;
    VstEvent** pointers = vstEvents->events;  // as long as numEvents, past the declared two
    for (int i = 0; i < events; ++i) {
        VstMidiEvent& m = midi[i];
        m.type = in.ConsumeBool() ? kVstMidiType : in.ConsumeIntegralInRange(0, 7);
        m.byteSize = sizeof m;
        m.deltaFrames = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 4096) : in.ConsumeIntegral<int32_t>();
        m.midiData[0] = static_cast<char>(in.ConsumeBool() ? 0xC0 | in.ConsumeIntegralInRange(0, 15)
                                                           : in.ConsumeIntegral<uint8_t>());
        m.midiData[1] = static_cast<char>(in.ConsumeIntegral<uint8_t>());
        m.midiData[2] = static_cast<char>(in.ConsumeIntegral<uint8_t>());
        pointers[i] = reinterpret_cast<VstEvent*>(&m);
    }
    if (events > 0) e->dispatcher(e, effProcessEvents, 0, 0, vstEvents, 0.0f);

    const int frames = in.ConsumeIntegralInRange(0, 2048);
    const int kind = in.ConsumeIntegralInRange(0, 9);
    std::vector<float> inL(frames), inR(frames), outL(frames, 7.0f), outR(frames, 7.0f);
    bool finiteIn = true;
    const float level = aFloat(in);
    const int pattern = in.ConsumeIntegralInRange(1, 64);
    for (int i = 0; i < frames; ++i) {
        inL[i] = (i % pattern == 0) ? level : level * 0.25f;
        inR[i] = (i % (pattern + 1) == 0) ? -level : 0.0f;
        finiteIn = finiteIn && std::isfinite(inL[i]) && std::isfinite(inR[i]);
    }
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    if (kind == 0) {
        e->process(e, ins, outs, frames);  // the old accumulating call
        return;
    }
    if (kind == 1) {
        std::vector<double> dl(frames), dr(frames);
        double* dIns[2] = {dl.data(), dr.data()};
        e->processDoubleReplacing(e, dIns, dIns, frames);
        return;
    }
    if (kind == 2) {  // in place, as hosts may
        outs[0] = inL.data();
        outs[1] = inR.data();
    }
    e->processReplacing(e, ins, outs, frames);
    if (!finiteIn) return;
    for (int i = 0; i < frames; ++i)
        if (!std::isfinite(outs[0][i]) || !std::isfinite(outs[1][i])) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A private folder for the trace log, and no display for the editor.
    char folder[] = "/tmp/nimbrel-fuzz-XXXXXX";
    if (mkdtemp(folder)) setenv("NIMBREL_DATA_DIR", folder, 1);
    unsetenv("DISPLAY");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    gTime = VstTimeInfo{};
    gTime.sampleRate = 44100.0;
    gTime.tempo = 120.0;
    gTime.flags = kVstTempoValid | kVstPpqPosValid;
    AEffect* e = VSTPluginMain(in.ConsumeBool() ? hostCallback : nullptr);
    if (!e || e->magic != kEffectMagic) std::abort();
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
    // Bounded work per input: the instance is made and ended every time.
    for (int call = 0; call < 48 && in.remaining_bytes() > 0; ++call) {
        switch (in.ConsumeIntegralInRange(0, 6)) {
        case 0:
        case 1: dispatch(e, in); break;
        case 2: e->setParameter(e, anIndex(in), aFloat(in)); break;
        case 3: (void)e->getParameter(e, anIndex(in)); break;
        case 4: gTime.tempo = in.ConsumeBool() ? in.ConsumeFloatingPointInRange(20.0, 300.0)
                                               : static_cast<double>(aFloat(in)); break;
        default: processBlock(e, in); break;
        }
    }
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    return 0;
}
