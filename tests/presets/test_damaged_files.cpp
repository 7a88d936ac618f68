// Damaged files: every truncation of a valid image and random corruptions.
// The loaders must stay inside the image (the sanitizer build checks every
// byte they read), refuse without changing anything, or change only what the
// plug-in holds.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "presets/core_access.h"
#include "presets/program_images.h"
#include "tests/presets/images.h"
#include "tests/presets/support.h"

namespace {

// Passes every call on, counts the ones that change the plug-in and checks
// that each stays within what the plug-in holds.
class CheckingAccess : public CoreProgramAccess {
public:
    using CoreProgramAccess::CoreProgramAccess;
    int changes = 0;

    void setProgramName(const char* name) override {
        EXPECT_LE(std::strlen(name), 28u);
        ++changes;
        CoreProgramAccess::setProgramName(name);
    }
    void setParameter(int index, float value) override {
        EXPECT_TRUE(index >= 0 && index < kPresetNumParams) << index;
        ++changes;
        CoreProgramAccess::setParameter(index, value);
    }
    void setProgram(int index) override {
        EXPECT_EQ(index, 0);
        ++changes;
        CoreProgramAccess::setProgram(index);
    }
    void writeStoredProgram(int program, const char* name, const float* values, int count) override {
        EXPECT_TRUE(program >= 0 && program < kPresetNumPrograms) << program;
        EXPECT_TRUE(count >= 0 && count <= kPresetNumParams) << count;
        EXPECT_LE(std::strlen(name), 28u);
        ++changes;
        CoreProgramAccess::writeStoredProgram(program, name, values, count);
    }
};

Bytes validProgram(OvCore& effect) {
    CoreProgramAccess access(effect);
    Bytes b(kProgramImageSize);
    size_t length = 0;
    fxpSaveBytesToBuf(access, b.data(), b.size(), length);
    return b;
}

Bytes validBank(OvCore& effect) {
    CoreProgramAccess access(effect);
    Bytes b(kBankImageSize);
    size_t length = 0;
    fxbSaveBytesToBuf(access, b.data(), b.size(), length);
    return b;
}

using Loader = bool (*)(ProgramAccess&, const unsigned char*, size_t);

// Loads a copy of exactly `length` bytes, so that any read past it is a
// heap overflow the address sanitizer reports.
bool loadExactly(Loader load, ProgramAccess& access, const Bytes& image, size_t length) {
    std::unique_ptr<unsigned char[]> copy(new unsigned char[length ? length : 1]);
    std::memcpy(copy.get(), image.data(), length);
    return load(access, copy.get(), length);
}

}  // namespace

TEST(DamagedFiles, EveryTruncationIsRefusedUnchanged) {
    auto effect = makeInstance();
    CheckingAccess access(*effect);
    const Bytes program = validProgram(*effect);
    const Bytes bank = validBank(*effect);

    for (size_t length = 0; length < program.size(); ++length)
        ASSERT_FALSE(loadExactly(fxpLoadBytesFromBuf, access, program, length)) << length;
    for (size_t length = 0; length < bank.size(); ++length)
        ASSERT_FALSE(loadExactly(fxbLoadBytesFromBuf, access, bank, length)) << length;
    EXPECT_EQ(access.changes, 0);

    EXPECT_TRUE(loadExactly(fxpLoadBytesFromBuf, access, program, program.size()));
    EXPECT_TRUE(loadExactly(fxbLoadBytesFromBuf, access, bank, bank.size()));
}

TEST(DamagedFiles, RandomCorruptionsStayInBoundsOrChangeNothing) {
    auto effect = makeInstance();
    CheckingAccess access(*effect);
    const Bytes images[2] = {validProgram(*effect), validBank(*effect)};
    const Loader loaders[2] = {fxpLoadBytesFromBuf, fxbLoadBytesFromBuf};
    std::mt19937 random(20261209);
    int accepted[2] = {0, 0};

    for (int round = 0; round < 3000; ++round) {
        const int which = round % 2;
        Bytes image = images[which];
        // Mostly the counts and the bytes around them, sometimes anywhere.
        const int damages = 1 + static_cast<int>(random() % 6);
        for (int d = 0; d < damages; ++d) {
            size_t at;
            switch (random() % 4) {
                case 0: at = 24 + random() % 4; break;  // the image's count
                case 1: {  // a count of a program in the bank
                    const size_t k = random() % kPresetNumPrograms;
                    at = which ? kBankHeaderSize + k * kProgramImageSize + 24 + random() % 4 : 24;
                    break;
                }
                default: at = random() % image.size();
            }
            image[at] = static_cast<unsigned char>(random());
        }
        const size_t length = random() % 3 == 0 ? random() % (image.size() + 1) : image.size();
        const int before = access.changes;
        const PluginState state = round % 50 == 0 ? stateOf(*effect) : PluginState{};
        if (loadExactly(loaders[which], access, image, length)) {
            ++accepted[which];
        } else {
            ASSERT_EQ(access.changes, before) << "round " << round;
            if (round % 50 == 0) {
                ASSERT_EQ(stateOf(*effect), state) << "round " << round;
            }
        }
    }
    // Both kinds of outcome were reached.
    EXPECT_GT(accepted[0], 0);
    EXPECT_GT(accepted[1], 0);
    EXPECT_LT(accepted[0] + accepted[1], 3000);
}
