#pragma once
// Hand-built program and bank images, for files our own save would not write.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

void putBE32(Bytes& b, size_t at, uint32_t v);
uint32_t getBE32(const Bytes& b, size_t at);
float getBEFloat(const Bytes& b, size_t at);

// A program image: header, a 28-byte name field (the name's bytes, zero
// padded, cut at 28), `count` in the count field and the given values.
Bytes programImage(const std::string& name, const std::vector<float>& values, uint32_t count,
                   const char* fxId = "OvRV");
inline Bytes programImage(const std::string& name, const std::vector<float>& values) {
    return programImage(name, values, static_cast<uint32_t>(values.size()));
}
// A bank image with `countField` in its count field and the programs after its header.
Bytes bankImage(uint32_t countField, const std::vector<Bytes>& programs, const char* fxId = "OvRV");
