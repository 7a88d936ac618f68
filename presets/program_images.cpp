#include "presets/program_images.h"

#include <cstdint>
#include <cstring>

#include "host/identity.h"

namespace {

constexpr int32_t kFormatVersion = 1;
constexpr int32_t kFxVersion = 1;
constexpr uint32_t kProgramByteSize = kProgramImageSize - 8;  // what follows the size field
constexpr uint32_t kBankByteSize = kBankImageSize - 8;

// Field offsets shared by both images (a program inside a bank keeps its own).
constexpr size_t kChunkMagicAt = 0;
constexpr size_t kByteSizeAt = 4;
constexpr size_t kFxMagicAt = 8;
constexpr size_t kFormatVersionAt = 12;
constexpr size_t kFxIdAt = 16;
constexpr size_t kFxVersionAt = 20;
constexpr size_t kCountAt = 24;
constexpr size_t kNameAt = 28;
constexpr size_t kValuesAt = kProgramHeaderSize;

void putU32(unsigned char* p, uint32_t v) {
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

uint32_t getU32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

void putFloat(unsigned char* p, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    putU32(p, bits);
}

float getFloat(const unsigned char* p) {
    uint32_t bits = getU32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

void putMagic(unsigned char* p, const char* fourChars) { std::memcpy(p, fourChars, 4); }

// The common head of both images; `fxMagic` tells program from bank.
void putHeader(unsigned char* p, uint32_t byteSize, const char* fxMagic, uint32_t count) {
    putMagic(p + kChunkMagicAt, "CcnK");
    putU32(p + kByteSizeAt, byteSize);
    putMagic(p + kFxMagicAt, fxMagic);
    putU32(p + kFormatVersionAt, kFormatVersion);
    putMagic(p + kFxIdAt, kNimbrelId);
    putU32(p + kFxVersionAt, kFxVersion);
    putU32(p + kCountAt, count);
}

// The name field: the first 26 bytes of the name, the rest zero.
void putName(unsigned char* p, const char* name) {
    std::memset(p, 0, kImageNameFieldSize);
    size_t n = 0;
    while (n < kImageNameCharsWritten && name[n] != 0) ++n;
    std::memcpy(p, name, n);
}

// The name field as a text: a field without a zero byte ends after 28 bytes.
void getName(const unsigned char* p, char (&name)[kImageNameFieldSize + 1]) {
    std::memcpy(name, p, kImageNameFieldSize);
    name[kImageNameFieldSize] = 0;
}

void putProgram(unsigned char* p, const char* name, const float* values) {
    putHeader(p, kProgramByteSize, "FxCk", kPresetNumParams);
    putName(p + kNameAt, name);
    for (int i = 0; i < kPresetNumParams; ++i) putFloat(p + kValuesAt + 4 * i, values[i]);
}

// Only the chunk magic and our fxID are looked at: other fields may differ in
// files written by hosts.
bool isOurs(const unsigned char* buf, size_t length) {
    return length >= kFxIdAt + 4 && std::memcmp(buf + kChunkMagicAt, "CcnK", 4) == 0 &&
           std::memcmp(buf + kFxIdAt, kNimbrelId, 4) == 0;
}

// The number of bytes a program with `count` values takes, in 64 bits so that
// no count from a file can wrap it.
uint64_t programSpan(uint32_t count) { return kValuesAt + 4 * uint64_t(count); }

int valuesTaken(uint32_t count) { return count < kPresetNumParams ? int(count) : kPresetNumParams; }

}  // namespace

bool fxpSaveBytesToBuf(ProgramAccess& plugin, unsigned char* buf, size_t capacity, size_t& length) {
    length = 0;
    if (!buf || capacity < kProgramImageSize) return false;
    char name[kPresetNameBufferSize] = {};
    plugin.getProgramName(name);
    name[kPresetNameBufferSize - 1] = 0;
    float values[kPresetNumParams];
    for (int i = 0; i < kPresetNumParams; ++i) values[i] = plugin.getParameter(i);
    putProgram(buf, name, values);
    length = kProgramImageSize;
    return true;
}

bool fxpLoadBytesFromBuf(ProgramAccess& plugin, const unsigned char* buf, size_t length) {
    if (!buf || length < kProgramHeaderSize || !isOurs(buf, length)) return false;
    const uint32_t count = getU32(buf + kCountAt);
    if (programSpan(count) > length) return false;  // the file ends before its values do

    char name[kImageNameFieldSize + 1];
    getName(buf + kNameAt, name);
    plugin.setProgramName(name);
    const int taken = valuesTaken(count);
    for (int i = 0; i < taken; ++i) plugin.setParameter(i, getFloat(buf + kValuesAt + 4 * i));
    plugin.updateDisplay();
    return true;
}

bool fxbSaveBytesToBuf(ProgramAccess& plugin, unsigned char* buf, size_t capacity, size_t& length) {
    length = 0;
    if (!buf || capacity < kBankImageSize) return false;
    std::memset(buf, 0, kBankHeaderSize);
    putHeader(buf, kBankByteSize, "FxBk", kPresetNumPrograms);
    for (int k = 0; k < kPresetNumPrograms; ++k) {
        char name[kPresetNameBufferSize] = {};
        plugin.getProgramNameIndexed(0, k, name);
        name[kPresetNameBufferSize - 1] = 0;
        float values[kPresetNumParams];
        plugin.readStoredProgram(k, values);
        putProgram(buf + kBankHeaderSize + kProgramImageSize * k, name, values);
    }
    length = kBankImageSize;
    return true;
}

bool fxbLoadBytesFromBuf(ProgramAccess& plugin, const unsigned char* buf, size_t length) {
    if (!buf || length < kBankHeaderSize || !isOurs(buf, length)) return false;
    // The count is the field's lower two bytes.
    const uint32_t declared = getU32(buf + kCountAt) & 0xFFFFu;
    const int programs = declared < kPresetNumPrograms ? int(declared) : kPresetNumPrograms;

    // Walk first, apply after: a bank that ends inside a program it should
    // fill is refused before any stored program changes.
    uint64_t at = kBankHeaderSize;
    for (int k = 0; k < programs; ++k) {
        if (at + kProgramHeaderSize > length) return false;
        const uint64_t span = programSpan(getU32(buf + at + kCountAt));
        if (at + span > length) return false;
        at += span;
    }

    at = kBankHeaderSize;
    for (int k = 0; k < programs; ++k) {
        const unsigned char* p = buf + at;
        const uint32_t count = getU32(p + kCountAt);
        char name[kImageNameFieldSize + 1];
        getName(p + kNameAt, name);
        float values[kPresetNumParams];
        const int taken = valuesTaken(count);
        for (int i = 0; i < taken; ++i) values[i] = getFloat(p + kValuesAt + 4 * i);
        plugin.writeStoredProgram(k, name, values, taken);
        at += programSpan(count);
    }
    plugin.setProgram(0);
    plugin.updateDisplay();
    return true;
}
