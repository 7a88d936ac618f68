// Program and bank images: the layout we write, round trips bit for bit,
// and what the loaders make of files our save does not write.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tools/vsthost/effect_access.h"
#include "vst2/ovaudio.h"
#include "presets/core_access.h"
#include "presets/program_images.h"
#include "tests/presets/images.h"
#include "tests/presets/support.h"

namespace {

Bytes saveProgram(ProgramAccess& p) {
    Bytes b(kImageBufferSize, 0xEE);
    size_t length = 0;
    EXPECT_TRUE(fxpSaveBytesToBuf(p, b.data(), b.size(), length));
    b.resize(length);
    return b;
}

Bytes saveBank(ProgramAccess& p) {
    Bytes b(kImageBufferSize, 0xEE);
    size_t length = 0;
    EXPECT_TRUE(fxbSaveBytesToBuf(p, b.data(), b.size(), length));
    b.resize(length);
    return b;
}

std::string textAt(const Bytes& b, size_t at, size_t n) { return std::string(b.begin() + at, b.begin() + at + n); }

// Values a careless file could carry: out of range, signed zero, tiny, not a number.
float oddValue(int i, int k) {
    switch ((i + k) % 6) {
        case 0: return -0.0f;
        case 1: return std::numeric_limits<float>::denorm_min();
        case 2: return 2.5f;
        case 3: return std::numeric_limits<float>::quiet_NaN();
        default: return static_cast<float>(i * 7 + k) / 1000.0f;
    }
}

std::vector<float> values(int count, float from) {
    std::vector<float> v;
    for (int i = 0; i < count; ++i) v.push_back(from + static_cast<float>(i) / 256.0f);
    return v;
}

}  // namespace

TEST(ProgramImage, HeaderNameAndLiveValuesAsLaidOut) {
    auto effect = makeInstance();
    CoreProgramAccess access(*effect);
    effect->setParameter(5, 0.3f);
    // A name of 30 characters (only a bank file can give one this long) is cut to 26.
    std::strcpy(effect->programs[0].name, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd");
    Bytes b = saveProgram(access);

    ASSERT_EQ(b.size(), 328u);
    EXPECT_EQ(textAt(b, 0, 4), "CcnK");
    EXPECT_EQ(getBE32(b, 4), 320u);
    EXPECT_EQ(textAt(b, 8, 4), "FxCk");
    EXPECT_EQ(getBE32(b, 12), 1u);
    EXPECT_EQ(textAt(b, 16, 4), "OvRV");
    EXPECT_EQ(getBE32(b, 20), 1u);
    EXPECT_EQ(getBE32(b, 24), 68u);
    EXPECT_EQ(textAt(b, 28, 28), std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ") + std::string(2, '\0'));
    EXPECT_EQ(getBE32(b, 56 + 0), bitsOf(0.404f));  // "MIX Welcome!" Mix, most significant byte first
    EXPECT_EQ(b[56], 0x3E);
    EXPECT_EQ(getBE32(b, 56 + 4 * 5), bitsOf(0.3f));

    size_t length = 99;
    unsigned char small[327];
    EXPECT_FALSE(fxpSaveBytesToBuf(access, small, sizeof small, length));
    EXPECT_EQ(length, 0u);
}

TEST(BankImage, HeaderAndStoredProgramsAsLaidOut) {
    auto effect = makeInstance();
    CoreProgramAccess access(*effect);
    effect->setProgram(4);
    effect->setParameter(0, 0.9f);
    effect->programs[179].values[67] = 0.125f;
    effect->setProgram(0);
    effect->paramValues[1] = 0.0f;  // a live value the bank must not show
    Bytes b = saveBank(access);

    ASSERT_EQ(b.size(), 59196u);
    EXPECT_EQ(textAt(b, 0, 4), "CcnK");
    EXPECT_EQ(getBE32(b, 4), 59188u);
    EXPECT_EQ(textAt(b, 8, 4), "FxBk");
    EXPECT_EQ(textAt(b, 16, 4), "OvRV");
    EXPECT_EQ(getBE32(b, 24), 180u);
    EXPECT_EQ(Bytes(b.begin() + 28, b.begin() + 156), Bytes(128, 0));
    for (int k = 0; k < 180; ++k) {
        const size_t at = 156 + 328 * k;
        ASSERT_EQ(textAt(b, at, 4), "CcnK") << k;
        EXPECT_EQ(getBE32(b, at + 4), 320u);
        EXPECT_EQ(textAt(b, at + 8, 4), "FxCk");
        EXPECT_EQ(getBE32(b, at + 24), 68u);
        EXPECT_STREQ(reinterpret_cast<const char*>(&b[at + 28]), effect->programs[k].name);
    }
    EXPECT_EQ(getBEFloat(b, 156 + 328 * 4 + 56), 0.9f);
    EXPECT_EQ(getBEFloat(b, 156 + 328 * 179 + 56 + 4 * 67), 0.125f);
    EXPECT_EQ(getBEFloat(b, 156 + 56 + 4), effect->programs[0].values[1].load());
    EXPECT_EQ(textAt(b, 156 + 328 * 179 + 28, 8), std::string("USER 12") + '\0');
}

TEST(ImageRoundTrip, ProgramBitForBit) {
    auto from = makeInstance();
    auto to = makeInstance();
    CoreProgramAccess source(*from), target(*to);
    from->setProgram(9);
    for (int i = 0; i < kNumParams; ++i) from->setParameter(i, oddValue(i, 0));
    char name[] = "Round trip 24 characters";
    from->setProgramName(name);
    to->setProgram(2);

    Bytes image = saveProgram(source);
    ASSERT_TRUE(fxpLoadBytesFromBuf(target, image.data(), image.size()));
    for (int i = 0; i < kNumParams; ++i) {
        EXPECT_EQ(bitsOf(to->paramValues[i]), bitsOf(from->paramValues[i])) << i;
        EXPECT_EQ(bitsOf(to->programs[2].values[i]), bitsOf(from->paramValues[i])) << i;
    }
    EXPECT_EQ(storedName(*to, 2), "Round trip 24 characters");
    EXPECT_EQ(saveProgram(target), image);
}

TEST(ImageRoundTrip, BankBitForBitThroughTheInstanceAndTheVstInterface) {
    auto fromVst = makeVstInstance();
    OvCore* from = &fromVst->core;
    CoreProgramAccess source(*from);
    for (int k = 0; k < kNumPrograms; ++k)
        for (int i = 0; i < kNumParams; ++i) from->programs[k].values[i] = oddValue(i, k);
    std::strcpy(from->programs[17].name, "Twenty-four chars name!!");
    from->setProgram(7);
    const PluginState before = stateOf(*from);
    const Bytes image = saveBank(source);

    // The VST interface reaches stored programs by selecting them; it must
    // see the same bank and leave program 7 current with its live values.
    EffectProgramAccess viaVst(fromVst->getAeffect());
    EXPECT_EQ(saveBank(viaVst), image);
    EXPECT_EQ(stateOf(*from), before);

    for (bool throughVst : {false, true}) {
        auto toVst = makeVstInstance();
        OvCore* to = &toVst->core;
        to->setProgram(5);
        CoreProgramAccess direct(*to);
        EffectProgramAccess vst(toVst->getAeffect());
        ProgramAccess& target = throughVst ? static_cast<ProgramAccess&>(vst) : direct;
        ASSERT_TRUE(fxbLoadBytesFromBuf(target, image.data(), image.size()));
        PluginState after = stateOf(*to);
        EXPECT_EQ(after.stored, before.stored) << throughVst;
        EXPECT_EQ(after.names, before.names) << throughVst;
        EXPECT_EQ(after.current, 0);
        for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(after.live[i], before.stored[i]) << i;
        EXPECT_EQ(saveBank(target), image);
    }
}

TEST(ProgramLoad, AcceptsOnlyOurFilesAndTakesCountsFromTheFile) {
    auto effect = makeInstance();
    CoreProgramAccess access(*effect);
    const PluginState fresh = stateOf(*effect);

    // Another plug-in's file, or no chunk magic: nothing changes.
    Bytes other = programImage("Other", values(68, 0.1f), 68, "XyZw");
    EXPECT_FALSE(fxpLoadBytesFromBuf(access, other.data(), other.size()));
    Bytes noMagic = programImage("Other", values(68, 0.1f));
    noMagic[0] = 'X';
    EXPECT_FALSE(fxpLoadBytesFromBuf(access, noMagic.data(), noMagic.size()));
    EXPECT_EQ(stateOf(*effect), fresh);

    // No parameters: the values stay, the name is taken.
    Bytes none = programImage("Only a name", {}, 0);
    ASSERT_TRUE(fxpLoadBytesFromBuf(access, none.data(), none.size()));
    PluginState named = stateOf(*effect);
    EXPECT_EQ(named.live, fresh.live);
    EXPECT_EQ(named.stored, fresh.stored);
    EXPECT_EQ(storedName(*effect, 0), "Only a name");

    // Neither fx magic, versions nor byte size are looked at; values past the
    // 68th are passed over.
    Bytes longer = programImage("Seventy", values(70, 0.0f));
    std::memcpy(&longer[8], "????", 4);
    putBE32(longer, 4, 7);
    putBE32(longer, 12, 99);
    ASSERT_TRUE(fxpLoadBytesFromBuf(access, longer.data(), longer.size()));
    for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(effect->paramValues[i].load(), static_cast<float>(i) / 256.0f);

    // A count the file cannot hold is refused, whatever its size.
    const PluginState loaded = stateOf(*effect);
    for (uint32_t count : {69u, 0x40000000u, 0xFFFFFFFFu}) {
        Bytes cut = programImage("Cut", values(68, 0.5f), count);
        EXPECT_FALSE(fxpLoadBytesFromBuf(access, cut.data(), cut.size())) << count;
    }
    EXPECT_EQ(stateOf(*effect), loaded);
}

TEST(ProgramLoad, NameWithoutZeroEndsAfter28Characters) {
    // What the loader hands on, before the instance cuts it to 24.
    struct Names : CoreProgramAccess {
        using CoreProgramAccess::CoreProgramAccess;
        void setProgramName(const char* name) override { given = name; }
        std::string given;
    };
    auto effect = makeInstance();
    Names access(*effect);
    // The first value's first byte (0x3F) follows the field: no zero there either.
    Bytes image = programImage(std::string(28, 'N'), values(68, 0.5f));
    ASSERT_TRUE(fxpLoadBytesFromBuf(access, image.data(), image.size()));
    EXPECT_EQ(access.given, std::string(28, 'N'));
}

TEST(BankLoad, FewerProgramsLongerProgramsAndFullWidthNames) {
    auto effect = makeInstance();
    CoreProgramAccess access(*effect);
    effect->setProgram(3);
    const PluginState fresh = stateOf(*effect);

    // Three programs: one with 70 values (two passed over), one with 10 (the
    // rest stay), one with a name that fills its field.
    Bytes bank = bankImage(0xABCD0003u,  // the upper two bytes of the count are not used
                           {programImage("Seventy", values(70, 0.0f)), programImage("Ten", values(10, 0.5f)),
                            programImage(std::string(28, 'W'), values(68, 0.25f))});
    ASSERT_TRUE(fxbLoadBytesFromBuf(access, bank.data(), bank.size()));
    EXPECT_EQ(effect->getProgram(), 0);
    EXPECT_EQ(storedName(*effect, 0), "Seventy");
    EXPECT_EQ(storedName(*effect, 1), "Ten");
    EXPECT_EQ(storedName(*effect, 2), std::string(28, 'W'));
    for (int i = 0; i < kNumParams; ++i) {
        EXPECT_EQ(effect->programs[0].values[i].load(), static_cast<float>(i) / 256.0f);
        EXPECT_EQ(effect->paramValues[i].load(), static_cast<float>(i) / 256.0f);
        EXPECT_EQ(bitsOf(effect->programs[1].values[i]),
                  i < 10 ? bitsOf(0.5f + static_cast<float>(i) / 256.0f) : fresh.stored[kNumParams + i]);
        EXPECT_EQ(effect->programs[2].values[i].load(), 0.25f + static_cast<float>(i) / 256.0f);
    }
    PluginState after = stateOf(*effect);
    for (int k = 3; k < kNumPrograms; ++k) EXPECT_EQ(after.names[k], fresh.names[k]) << k;
    EXPECT_TRUE(std::equal(after.stored.begin() + 3 * kNumParams, after.stored.end(),
                           fresh.stored.begin() + 3 * kNumParams));
}

TEST(BankLoad, ProgramsPastTheBankAreNotReadAndCutBanksAreRefused) {
    auto effect = makeInstance();
    CoreProgramAccess access(*effect);
    std::vector<Bytes> programs(180, programImage("Full", values(68, 0.75f)));

    // A count of 200 with only 180 programs in the file: the rest is never read.
    Bytes bank = bankImage(200, programs);
    ASSERT_TRUE(fxbLoadBytesFromBuf(access, bank.data(), bank.size()));
    EXPECT_EQ(storedName(*effect, 179), "Full");
    EXPECT_EQ(effect->programs[179].values[67].load(), 0.75f + 67.0f / 256.0f);

    // Other fxID, a count past the end, a program count that runs off the file.
    const PluginState loaded = stateOf(*effect);
    Bytes other = bankImage(180, programs, "XyZw");
    EXPECT_FALSE(fxbLoadBytesFromBuf(access, other.data(), other.size()));
    Bytes tooMany = bankImage(2, {programImage("One", values(68, 0.0f))});
    EXPECT_FALSE(fxbLoadBytesFromBuf(access, tooMany.data(), tooMany.size()));
    Bytes hugeCount = bankImage(2, {programImage("One", values(68, 0.0f)),
                                    programImage("Two", values(68, 0.0f), 0x80000000u)});
    EXPECT_FALSE(fxbLoadBytesFromBuf(access, hugeCount.data(), hugeCount.size()));
    EXPECT_EQ(stateOf(*effect), loaded);
}
