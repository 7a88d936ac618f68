// The audio thread's promise: processReplacing and processEvents never
// allocate, free or take a lock, whatever the program, block size or routing. The test counts
// every heap and mutex call the process makes while a flag is raised.
#include <atomic>
#include <cstdlib>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <memory>
#include <new>
#include <pthread.h>
#include <unistd.h>
#include <vector>

#include "vst2/ovaudio.h"
#include "tests/common/private_data_folder.h"

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

TEST(Realtime, ProcessingNeverAllocatesOrLocks) {
    privateDataFolder();
    auto fx = std::make_unique<OvAudio>(nullptr);

    // The counters themselves work: an allocation and a lock while counting are seen.
    counting = true;
    int* volatile allocated = new int(1);  // volatile: the pair may not be optimised away
    delete allocated;
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_lock(&mutex);
    counting = false;
    pthread_mutex_unlock(&mutex);
    ASSERT_EQ(heapCalls.exchange(0), 2);
    ASSERT_EQ(lockCalls.exchange(0), 1);

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

}  // namespace
