// The audio thread's promise: processReplacing and processEvents (VST 2) and
// run (LV2) never allocate, free or take a lock, whatever the program, block
// size, routing, events or state. The test counts every heap and mutex call
// the process makes while a flag is raised.
#include <atomic>
#include <cstdlib>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <memory>
#include <new>
#include <pthread.h>
#include <unistd.h>
#include <vector>

#include "lv2/lv2_plugin.h"
#include "vst2/ovaudio.h"
#include "tests/common/private_data_folder.h"
#include "tests/lv2/lv2_host.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<int> heapCalls{0};
std::atomic<int> lockCalls{0};
void count(std::atomic<int>& counter) {
    if (counting.load(std::memory_order_relaxed)) counter.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace

extern "C" {
extern void* __libc_malloc(size_t);
extern void* __libc_calloc(size_t, size_t);
extern void* __libc_realloc(void*, size_t);
extern void __libc_free(void*);

void* malloc(size_t size) { count(heapCalls); return __libc_malloc(size); }
void* calloc(size_t n, size_t size) { count(heapCalls); return __libc_calloc(n, size); }
void* realloc(void* p, size_t size) { count(heapCalls); return __libc_realloc(p, size); }
void free(void* p) { if (p) count(heapCalls); __libc_free(p); }

int pthread_mutex_lock(pthread_mutex_t* m) {
    using Lock = int (*)(pthread_mutex_t*);
    static Lock real = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    count(lockCalls);
    return real(m);
}
}

void* operator new(size_t size) {
    count(heapCalls);
    if (void* p = __libc_malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { if (p) count(heapCalls); __libc_free(p); }
void operator delete(void* p, size_t) noexcept { if (p) count(heapCalls); __libc_free(p); }

namespace {

void expectCountersWork() {
    counting = true;
    int* volatile allocated = new int(1);  // volatile: the pair may not be optimised away
    delete allocated;
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_lock(&mutex);
    counting = false;
    pthread_mutex_unlock(&mutex);
    ASSERT_EQ(heapCalls.exchange(0), 2);
    ASSERT_EQ(lockCalls.exchange(0), 1);
}

TEST(Realtime, ProcessingNeverAllocatesOrLocks) {
    privateDataFolder();
    auto fx = std::make_unique<OvAudio>(nullptr);

    // The counters themselves work: an allocation and a lock while counting are seen.
    expectCountersWork();

    std::vector<float> inL(4096), inR(4096), outL(4096), outR(4096);
    for (size_t i = 0; i < inL.size(); ++i) inL[i] = inR[i] = (i % 300 < 20) ? 0.7f : 0.0f;
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};

    for (float rate : {44100.0f, 96000.0f}) {
        fx->setSampleRate(rate);
        for (int program = 0; program < kNumPrograms; program += 7) {
            fx->setProgram(program);
            fx->setParameter(param::GThresh, 0.3f);  // gate on
            fx->setParameter(param::DLevel, 0.5f);   // ducker on
            counting = true;
            for (int frames : {512, 64, 1, 4096, 147})
                fx->processReplacing(in, out, frames);
            fx->setParameter(param::Route, program % 2 ? 1.0f : 0.0f);
            fx->setParameter(param::Bypass, 1.0f);
            fx->processReplacing(in, out, 512);
            fx->setParameter(param::Bypass, 0.0f);
            fx->processReplacing(in, out, 512);
            // A Program Change arrives and takes effect on the audio thread.
            VstMidiEvent change{};
            change.type = kVstMidiType;
            change.byteSize = sizeof change;
            change.deltaFrames = 10;
            change.midiData[0] = static_cast<char>(0xC0);
            change.midiData[1] = static_cast<char>((program + 3) % 128);
            VstEvents events{};
            events.numEvents = 1;
            events.events[0] = reinterpret_cast<VstEvent*>(&change);
            fx->processEvents(&events);
            fx->processReplacing(in, out, 512);
            counting = false;
            EXPECT_EQ(fx->getProgram(), (program + 3) % 128);
        }
    }
    EXPECT_EQ(heapCalls.load(), 0);
    EXPECT_EQ(lockCalls.load(), 0);
}

TEST(Realtime, Lv2RunNeverAllocatesOrLocks) {
    privateDataFolder();
    expectCountersWork();
    std::vector<float> inL(4096), inR(4096), outL(4096), outR(4096);
    for (size_t i = 0; i < inL.size(); ++i) inL[i] = inR[i] = (i % 300 < 20) ? 0.7f : 0.0f;

    for (double rate : {44100.0, 96000.0}) {
        lv2test::Instance::Setup setup;
        setup.rate = rate;
        lv2test::Instance fx(nimbrelLv2Descriptor(), setup);
        ASSERT_TRUE(fx.ok());
        fx.connectAll(inL.data(), inR.data(), outL.data(), outR.data());
        fx.activate();
        uint8_t message[512];
        LV2_Atom_Forge forge;
        lv2_atom_forge_init(&forge, &fx.urids.map);
        for (int program = 0; program < kNumPrograms; program += 7) {
            std::copy_n(factoryPresets[program].values, kNumParams, fx.params);
            fx.params[param::GThresh] = 0.3f;  // gate on
            fx.params[param::DLevel] = 0.5f;   // ducker on
            fx.restore(fx.programState(program, "Restored"));  // taken by the next run
            counting = true;
            for (uint32_t frames : {512u, 64u, 1u, 4096u, 147u, 0u}) fx.run(frames);
            fx.params[param::Route] = program % 2 ? 1.0f : 0.0f;
            fx.params[param::Bypass] = 1.0f;
            fx.run(512);
            fx.params[param::Bypass] = 0.0f;
            // A Program Change, tempo changes on both ports, and the editor's messages.
            fx.addMidi(10, 0xC0, static_cast<uint8_t>((program + 3) % 128));
            fx.addTempo(100, 90.0, fx.u().atomDouble);
            fx.addTempo(200, 133.0, fx.u().atomFloat, true);
            lv2_atom_forge_set_buffer(&forge, message, sizeof message);
            lv2msg::forgeProgram(forge, fx.u(), program, "From the editor", nullptr);
            fx.addAtom(300, reinterpret_cast<const LV2_Atom*>(message));
            lv2_atom_forge_set_buffer(&forge, message, sizeof message);
            lv2msg::forgeRequest(forge, fx.u(), fx.u().programRequest);
            fx.addAtom(301, reinterpret_cast<const LV2_Atom*>(message));
            lv2_atom_forge_set_buffer(&forge, message, sizeof message);
            lv2msg::forgeMonitor(forge, fx.u(), 0.0f);
            fx.addAtom(302, reinterpret_cast<const LV2_Atom*>(message));
            fx.run(512);
            fx.run(512);
            counting = false;
            EXPECT_EQ(fx.notifiedPrograms().size(), 0u);  // the request was answered in the run before
        }
        counting = true;
        fx.run(4096);
        counting = false;
    }
    EXPECT_EQ(heapCalls.load(), 0);
    EXPECT_EQ(lockCalls.load(), 0);
}

}  // namespace
