#include "tests/presets/images.h"

#include <cstring>

void putBE32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (24 - 8 * i));
}

uint32_t getBE32(const Bytes& b, size_t at) {
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

float getBEFloat(const Bytes& b, size_t at) {
    uint32_t bits = getBE32(b, at);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

static void putText(Bytes& b, size_t at, const char* four) { std::memcpy(&b[at], four, 4); }

Bytes programImage(const std::string& name, const std::vector<float>& values, uint32_t count, const char* fxId) {
    Bytes b(56 + 4 * values.size(), 0);
    putText(b, 0, "CcnK");
    putBE32(b, 4, static_cast<uint32_t>(b.size() - 8));
    putText(b, 8, "FxCk");
    putBE32(b, 12, 1);
    putText(b, 16, fxId);
    putBE32(b, 20, 1);
    putBE32(b, 24, count);
    std::memcpy(&b[28], name.data(), name.size() < 28 ? name.size() : 28);
    for (size_t i = 0; i < values.size(); ++i) {
        uint32_t bits;
        std::memcpy(&bits, &values[i], sizeof bits);
        putBE32(b, 56 + 4 * i, bits);
    }
    return b;
}

Bytes bankImage(uint32_t countField, const std::vector<Bytes>& programs, const char* fxId) {
    Bytes b(156, 0);
    putText(b, 0, "CcnK");
    putText(b, 8, "FxBk");
    putBE32(b, 12, 1);
    putText(b, 16, fxId);
    putBE32(b, 20, 1);
    putBE32(b, 24, countField);
    for (const Bytes& p : programs) b.insert(b.end(), p.begin(), p.end());
    putBE32(b, 4, static_cast<uint32_t>(b.size() - 8));
    return b;
}
