#include "dsp/delay_lines.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <new>
#include <vector>

namespace {

size_t pageBytes()
{
    static const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return page;
}

size_t roundUpToPages(size_t bytes)
{
    const size_t page = pageBytes();
    return (bytes + page - 1) / page * page;
}

} // namespace

LineMemory::LineMemory(size_t floats) : floats_(floats)
{
    const size_t page = pageBytes();
    const size_t bytes = roundUpToPages(floats * sizeof(float));
    mapBytes_ = bytes + 2 * page;
    void* map = mmap(nullptr, mapBytes_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (map == MAP_FAILED)
        throw std::bad_alloc();
    map_ = map;
    char* inner = static_cast<char*>(map) + page;
    if (mprotect(inner, bytes, PROT_READ | PROT_WRITE) != 0) {
        munmap(map_, mapBytes_);
        throw std::bad_alloc();
    }
    // Huge pages would make the first write to a line resident for two
    // megabytes at once.
    madvise(inner, bytes, MADV_NOHUGEPAGE);
    data_ = reinterpret_cast<float*>(inner);
}

LineMemory::~LineMemory()
{
    munmap(map_, mapBytes_);
}

size_t LineMemory::residentBytes() const
{
    const size_t page = pageBytes();
    const size_t pages = roundUpToPages(floats_ * sizeof(float)) / page;
    std::vector<unsigned char> in(pages);
    if (mincore(data_, pages * page, in.data()) != 0)
        return 0;
    size_t resident = 0;
    for (unsigned char p : in)
        resident += p & 1;
    return resident * page;
}

void RingLines::place(float* first, int count, int64_t capacity)
{
    first_ = first;
    count_ = count;
    capacity_ = capacity;
    length_ = capacity;
    written_ = 0;
}

void RingLines::settle(int64_t length)
{
    for (int n = 0; n < count_; ++n) {
        std::memset(line(n), 0, sizeof(float) * static_cast<size_t>(length));
        // Private anonymous pages given back read as zero on their next use.
        // Ring lengths are whole pages, so the rest starts on a page.
        madvise(line(n) + length, sizeof(float) * static_cast<size_t>(capacity_ - length), MADV_DONTNEED);
    }
    length_ = length;
    written_ = 0;
}

void RingLines::restart(int64_t length)
{
    const int64_t wipe = length < written_ ? length : written_;
    for (int n = 0; n < count_; ++n)
        std::memset(line(n), 0, sizeof(float) * static_cast<size_t>(wipe));
    length_ = length;
    written_ = length > written_ ? length : written_;
}

int64_t RingLines::lengthFor(int64_t nearest, int64_t farthest, int64_t capacity)
{
    if (nearest < 1 || farthest > capacity)
        return capacity;
    int64_t length = kShortest < capacity ? kShortest : capacity;
    while (length < farthest)
        length *= 2;
    return length;
}
