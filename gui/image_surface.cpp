#include "gui/image_surface.h"

#include <cairo.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace VSTGUI {
namespace {

// Below this, the allocator's own memory serves well.
constexpr size_t kLargeImageBytes = size_t(1) << 20;
// The huge page size the alignment is made for (x86-64 and arm64 alike).
constexpr size_t kHugePage = size_t(2) << 20;

struct Mapping {
    void* start;
    size_t length;
};

const cairo_user_data_key_t kMappingKey = {};

void unmap(void* data) {
    Mapping* m = static_cast<Mapping*>(data);
    munmap(m->start, m->length);
    delete m;
}

// `length` bytes of zeroed memory starting on a huge page boundary, so that
// the system can back it with whole huge pages; null when none.
void* mapAligned(size_t length, Mapping& out) {
    const size_t reserved = length + kHugePage;
    void* raw = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const uintptr_t begin = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (begin + kHugePage - 1) & ~(uintptr_t(kHugePage) - 1);
    // Give back the ends that the alignment left over.
    if (aligned > begin) munmap(raw, aligned - begin);
    const uintptr_t end = begin + reserved, used = aligned + length;
    if (end > used) munmap(reinterpret_cast<void*>(used), end - used);
#ifdef MADV_HUGEPAGE
    // Only advice: a system that lends no huge pages maps small ones.
    madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
#endif
    out = {reinterpret_cast<void*>(aligned), length};
    return out.start;
}

}  // namespace

cairo_surface_t* createImageSurface(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    const size_t bytes = stride > 0 ? static_cast<size_t>(stride) * static_cast<size_t>(height) : 0;
    if (bytes < kLargeImageBytes) return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    Mapping mapping{};
    // Whole huge pages: a system maps a huge page only where one fits entirely.
    const size_t length = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    auto* data = static_cast<unsigned char*>(mapAligned(length, mapping));
    if (!data) return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_t* s = cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, width, height, stride);
    Mapping* owned = new Mapping(mapping);
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS &&
        cairo_surface_set_user_data(s, &kMappingKey, owned, unmap) == CAIRO_STATUS_SUCCESS)
        return s;
    // The memory could not be tied to the surface: cairo's own then.
    cairo_surface_destroy(s);
    unmap(owned);
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

}  // namespace VSTGUI
