#pragma once
// A program's number and name handed from one thread to another without a
// lock: a sequence lock over atomic words. The writer never waits; a reader
// that meets a write under way is told so and asks again later. One writer
// at a time.
#include <atomic>
#include <cstdint>
#include <cstring>

#include "host/programs.h"

namespace lv2state {

struct ProgramTag {
    int32_t index = 0;
    char name[kProgramNameSize] = {};  // terminated
};

class ProgramSlot {
public:
    void write(const ProgramTag& tag) {
        const uint32_t s = seq_.load(std::memory_order_relaxed);
        seq_.store(s + 1, std::memory_order_relaxed);  // odd: a write is under way
        std::atomic_thread_fence(std::memory_order_release);
        uint32_t words[kWords] = {};
        words[0] = static_cast<uint32_t>(tag.index);
        std::memcpy(&words[1], tag.name, sizeof tag.name);
        for (int i = 0; i < kWords; ++i) words_[i].store(words[i], std::memory_order_relaxed);
        seq_.store(s + 2, std::memory_order_release);
    }

    // False, `out` unchanged, while a write is under way. `version` tells
    // writes apart: it changes with every write.
    bool read(ProgramTag& out, uint32_t* version = nullptr) const {
        const uint32_t before = seq_.load(std::memory_order_acquire);
        if (before & 1u) return false;
        uint32_t words[kWords];
        for (int i = 0; i < kWords; ++i) words[i] = words_[i].load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (seq_.load(std::memory_order_relaxed) != before) return false;
        out.index = static_cast<int32_t>(words[0]);
        std::memcpy(out.name, &words[1], sizeof out.name);
        out.name[sizeof out.name - 1] = 0;
        if (version) *version = before;
        return true;
    }

    uint32_t version() const { return seq_.load(std::memory_order_acquire); }

private:
    static constexpr int kWords = 1 + kProgramNameSize / 4;
    static_assert(kProgramNameSize % 4 == 0, "the name fills whole words");
    std::atomic<uint32_t> seq_{0};
    std::atomic<uint32_t> words_[kWords] = {};
};

}  // namespace lv2state
