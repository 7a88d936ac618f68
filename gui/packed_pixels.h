#pragma once
// The toolkit's own picture format beside PNG, for large pictures that must
// open fast: no colour conversion, only zlib's inflate straight into the
// image and, for a strip of like frames, one exclusive-or pass. The bytes are
//   "NBZ1", the width, the height and the period (32-bit little-endian
//   numbers), then the rows top to bottom, each pixel a premultiplied ARGB
//   word (alpha in the top byte, as cairo keeps it) in little-endian order,
//   deflated with zlib. With a period p above 0, each row from row p on is
//   stored exclusive-or the row p above it: a strip of frames p rows tall then
//   stores mostly what changes from frame to frame, which packs far smaller.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace VSTGUI {
namespace packed {

constexpr unsigned char kMagic[4] = {'N', 'B', 'Z', '1'};
constexpr size_t kHeaderSize = 16;
// As large as one cairo image may be.
constexpr uint32_t kMaxSide = 32767;

struct Header {
    uint32_t width = 0, height = 0, period = 0;
};

inline void writeHeader(unsigned char* out, const Header& h) {
    std::memcpy(out, kMagic, 4);
    const uint32_t fields[3] = {h.width, h.height, h.period};
    for (int f = 0; f < 3; ++f)
        for (int i = 0; i < 4; ++i) out[4 + 4 * f + i] = static_cast<unsigned char>(fields[f] >> (8 * i));
}

// The header of the bytes; false when they are not this format or describe
// no image there may be.
inline bool readHeader(const unsigned char* in, size_t size, Header* out) {
    if (!in || size < kHeaderSize || std::memcmp(in, kMagic, 4) != 0) return false;
    uint32_t fields[3] = {0, 0, 0};
    for (int f = 0; f < 3; ++f)
        for (int i = 0; i < 4; ++i) fields[f] |= static_cast<uint32_t>(in[4 + 4 * f + i]) << (8 * i);
    const Header h{fields[0], fields[1], fields[2]};
    if (h.width == 0 || h.height == 0 || h.width > kMaxSide || h.height > kMaxSide || h.period >= h.height)
        return false;
    *out = h;
    return true;
}

// Stores each row from row `period` on exclusive-or the row `period` above
// it (walking up, so that each takes the row above as it was): bytes is the
// whole image, rows rowBytes long.
inline void applyPeriod(unsigned char* bytes, size_t rowBytes, size_t rows, size_t period) {
    if (period == 0 || period >= rows) return;
    const size_t distance = rowBytes * period;
    for (size_t i = rowBytes * rows; i-- > distance;) bytes[i] ^= bytes[i - distance];
}

// The rows back from applyPeriod (walking down).
inline void undoPeriod(unsigned char* bytes, size_t rowBytes, size_t rows, size_t period) {
    if (period == 0) return;
    const size_t distance = rowBytes * period, total = rowBytes * rows;
    size_t i = distance;
    for (; i + 8 <= total; i += 8) {
        uint64_t a, b;
        std::memcpy(&a, bytes + i, 8);
        std::memcpy(&b, bytes + i - distance, 8);
        a ^= b;
        std::memcpy(bytes + i, &a, 8);
    }
    for (; i < total; ++i) bytes[i] ^= bytes[i - distance];
}

}  // namespace packed
}  // namespace VSTGUI
