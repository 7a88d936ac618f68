#pragma once
// Program (.fxp) and bank (.fxb) file images in the VST 2 preset formats,
// parameter-list variants, big-endian, fxID "OvRV". Pure functions over bytes
// and the plug-in's program interface; the loaders take the image's length
// and never read past it.
#include <cstddef>

#include "presets/program_access.h"

constexpr size_t kProgramImageSize = 328;   // 56-byte header + 68 floats
constexpr size_t kBankHeaderSize = 156;
constexpr size_t kBankImageSize = kBankHeaderSize + kPresetNumPrograms * kProgramImageSize;  // 59196
constexpr size_t kProgramHeaderSize = 56;   // up to the first value
constexpr size_t kImageNameFieldSize = 28;
constexpr size_t kImageNameCharsWritten = 26;  // the last two name bytes stay zero
constexpr size_t kImageBufferSize = 65536;     // the save dialogs' buffer: both images fit

// Values that are no finite number never reach a file: they are written as
// what the render path hears (not a number as 0, an infinity as the nearer
// end of 0..1). A file holding one among the values the plug-in takes is
// refused as damaged; finite values outside 0..1 load as the file says.

// Writes the current program's image (its name and the live values).
// False, nothing written, when `capacity` is below kProgramImageSize.
bool fxpSaveBytesToBuf(ProgramAccess& plugin, unsigned char* buf, size_t capacity, size_t& length);

// Applies a program image to the current program: its name, then its values
// through setParameter. Accepted only with chunk magic "CcnK" and fxID "OvRV",
// and only when the file holds its whole header and every value its count
// announces; values past the 68th are passed over. A refused image changes
// nothing.
bool fxpLoadBytesFromBuf(ProgramAccess& plugin, const unsigned char* buf, size_t length);

// Writes the bank image: the 180 stored programs with their names.
// False, nothing written, when `capacity` is below kBankImageSize.
bool fxbSaveBytesToBuf(ProgramAccess& plugin, unsigned char* buf, size_t capacity, size_t& length);

// Applies a bank image to the stored programs, then makes program 0 current.
// Accepted only with "CcnK" and "OvRV", a whole 156-byte header, and every
// program the plug-in takes (the first 180 of the count) wholly inside the
// image; programs past the 180th are not read. A refused image changes nothing.
bool fxbLoadBytesFromBuf(ProgramAccess& plugin, const unsigned char* buf, size_t length);
