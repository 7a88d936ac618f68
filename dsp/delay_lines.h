#pragma once
// Memory for the engines' delay lines. Each engine reserves, once and off the
// audio thread, room for the longest delay it can ever address; the system
// hands that out untouched, and a page becomes resident only when the engine
// first writes to it. The lines then wrap at a ring length that follows the
// settings in use (a power of two within the reservation), so an instance
// holds only the memory its delays reach.
#include <cstddef>
#include <cstdint>

// One reservation of zeroed floats with an inaccessible page on each side, so
// that an index past either end faults at once instead of reading a neighbour.
class LineMemory {
public:
    explicit LineMemory(size_t floats); // throws std::bad_alloc when the system refuses
    ~LineMemory();
    LineMemory(const LineMemory&) = delete;
    LineMemory& operator=(const LineMemory&) = delete;

    float* data() const { return data_; }
    size_t floats() const { return floats_; }

    // Bytes of the reservation now resident in memory (by mincore).
    size_t residentBytes() const;

private:
    void* map_ = nullptr; // the whole mapping, guard pages included
    size_t mapBytes_ = 0;
    float* data_ = nullptr;
    size_t floats_ = 0;
};

// Delay lines of equal capacity (a power of two) that share one ring length.
// A restart starts them all from silence and wipes only what was written
// before and lies within the new length, so the rest of the reservation stays
// untouched however often the settings change.
class RingLines {
public:
    static constexpr int64_t kShortest = 1024; // one page of floats: shorter rings save nothing

    void place(float* first, int count, int64_t capacity);

    float* line(int n) const { return first_ + n * capacity_; }
    int64_t length() const { return length_; }
    int64_t mask() const { return length_ - 1; }
    int64_t capacity() const { return capacity_; }

    // Every line silent, wrapping at `length` from now on.
    void restart(int64_t length);
    // Off the audio thread: every line silent, its first `length` samples
    // resident (so the audio thread's first writes there take no page
    // faults), the rest of its reservation given back to the system.
    void settle(int64_t length);

    // The ring length that serves reads `nearest` to `farthest` samples behind
    // the next write exactly as lines of the full capacity would: the smallest
    // power of two that holds the farthest, or the full capacity when a read
    // may land on the slot about to be written or beyond the capacity.
    static int64_t lengthFor(int64_t nearest, int64_t farthest, int64_t capacity);

private:
    float* first_ = nullptr;
    int count_ = 0;
    int64_t capacity_ = 0;
    int64_t length_ = 0;
    int64_t written_ = 0; // samples at the start of each line that may not be zero
};

// Where a ring of length mask + 1 sees a read d samples behind its next
// write: 1..length, the length itself being the slot about to be written.
inline int64_t ringDistance(int64_t d, int64_t mask)
{
    return ((d - 1) & mask) + 1;
}

// Samples from index p (any integer) to the end of a ring, so that a run of
// that many stays in one piece of memory.
inline int64_t untilWrap(int64_t p, int64_t mask)
{
    return mask + 1 - (p & mask);
}
