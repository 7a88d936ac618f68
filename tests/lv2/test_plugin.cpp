// The LV2 plug-in as a host drives it: the bundle's library loaded with
// dlopen and used only through its descriptor, its ports and its state
// interface. What it renders is compared bit for bit with the format-free
// instance driven the way the VST 2 layer drives it, and with the VST 2
// plug-in itself.
#include <gtest/gtest.h>
#include <lilv/lilv.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "host/ov_core.h"
#include "tests/common/private_data_folder.h"
#include "tests/host/golden.h"
#include "tests/host/host_fixture.h"
#include "tests/lv2/lv2_host.h"

using lv2test::Instance;
using namespace lv2ports;

namespace {

const LV2_Descriptor* descriptor() {
    static lv2test::Library library(NIMBREL_LV2_LIBRARY);
    return library.descriptor;
}

std::unique_ptr<Instance> newInstance(double rate = 44100.0) {
    privateDataFolder();
    Instance::Setup setup;
    setup.rate = rate;
    return std::make_unique<Instance>(descriptor(), setup);
}

struct Audio {
    std::vector<float> l, r;
    bool operator==(const Audio& o) const {
        return l.size() == o.l.size() && std::memcmp(l.data(), o.l.data(), l.size() * sizeof(float)) == 0 &&
               std::memcmp(r.data(), o.r.data(), r.size() * sizeof(float)) == 0;
    }
};

Audio stimulus(float rate, double seconds) {
    golden::Stimulus s = golden::stimulus(rate, seconds);
    return {s.left, s.right};
}

// Called before each block with the block's number and first frame.
using BlockHook = std::function<void(size_t block, size_t start)>;

// Renders `in` through the instance in blocks of `block` frames (its own
// buffers, connected anew for each block as hosts may do).
Audio renderLv2(Instance& inst, const Audio& in, int block, const BlockHook& before = nullptr) {
    Audio out{std::vector<float>(in.l.size()), std::vector<float>(in.r.size())};
    std::vector<float> inL(block), inR(block), outL(block), outR(block);
    inst.connectAll(inL.data(), inR.data(), outL.data(), outR.data());
    size_t index = 0;
    for (size_t start = 0; start < in.l.size(); start += block, ++index) {
        const size_t n = std::min<size_t>(block, in.l.size() - start);
        std::copy_n(in.l.begin() + start, n, inL.begin());
        std::copy_n(in.r.begin() + start, n, inR.begin());
        if (before) before(index, start);
        inst.run(static_cast<uint32_t>(n));
        std::copy_n(outL.begin(), n, out.l.begin() + start);
        std::copy_n(outR.begin(), n, out.r.begin() + start);
    }
    return out;
}

// The reference: the format-free instance with a fixed host clock.
struct Reference {
    struct Clock : HostClock {
        double bpm = 120.0;
        double tempo() override { return bpm; }
    } clock;
    std::unique_ptr<OvCore> core = std::make_unique<OvCore>();
    explicit Reference(float rate = 44100.0f) {
        core->setHostClock(&clock);
        core->setSampleRate(rate);
        core->suspend();
    }
    void setValues(const float* values) {
        for (int i = 0; i < kNumParams; ++i) core->setParameter(i, values[i]);
    }
    void process(Audio& a, size_t start, size_t n) {
        float* io[2] = {a.l.data() + start, a.r.data() + start};
        core->processReplacing(io, io, static_cast<int32_t>(n));
    }
    Audio render(const Audio& in, int block, const BlockHook& before = nullptr) {
        Audio out = in;
        size_t index = 0;
        for (size_t start = 0; start < in.l.size(); start += block, ++index) {
            if (before) before(index, start);
            process(out, start, std::min<size_t>(block, in.l.size() - start));
        }
        return out;
    }
};

void usePorts(Instance& inst, const float* values) { std::copy_n(values, kNumParams, inst.params); }

// A new instance with a factory program's values on its ports, activated.
std::unique_ptr<Instance> playing(int program, double rate = 44100.0) {
    auto inst = newInstance(rate);
    usePorts(*inst, factoryPresets[program].values);
    inst->activate();
    return inst;
}

// A program that runs both engines and the gate and ducker, so that most of the render path is heard.
constexpr int kBusyProgram = 23;

// ---- the entry ------------------------------------------------------------------

TEST(Lv2Entry, OneDescriptorWithOurUriAndTheStateInterface) {
    ASSERT_NE(descriptor(), nullptr) << NIMBREL_LV2_LIBRARY;
    EXPECT_STREQ(descriptor()->URI, kPluginUri);
    lv2test::Library again(NIMBREL_LV2_LIBRARY);
    auto entry = reinterpret_cast<const LV2_Descriptor* (*)(uint32_t)>(dlsym(again.handle, "lv2_descriptor"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(1), nullptr);
    EXPECT_NE(descriptor()->extension_data(LV2_STATE__interface), nullptr);
    EXPECT_EQ(descriptor()->extension_data("http://example.org/not-an-extension"), nullptr);
    // Only the entry point leaves the library.
    EXPECT_EQ(dlsym(again.handle, "_ZN6OvCoreC1Ev"), nullptr);
}

// ---- bad input --------------------------------------------------------------------

TEST(Lv2BadInput, WithoutUridMapItRefusesAndSaysWhy) {
    privateDataFolder();
    Instance::Setup setup;
    setup.giveMap = false;
    testing::internal::CaptureStderr();
    Instance withoutMap(descriptor(), setup);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(withoutMap.ok());
    EXPECT_NE(said.find("urid:map"), std::string::npos) << said;

    testing::internal::CaptureStderr();
    EXPECT_EQ(descriptor()->instantiate(descriptor(), 44100.0, "/", nullptr), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("urid:map"), std::string::npos);

    // Entries without a URI or with a map that is null are passed over, not followed.
    lv2test::UridMap map;
    LV2_Feature noUri{nullptr, nullptr};
    LV2_Feature nullMap{LV2_URID__map, nullptr};
    LV2_Feature goodMap{LV2_URID__map, &map.map};
    const LV2_Feature* withNullMap[] = {&noUri, &nullMap, nullptr};
    testing::internal::CaptureStderr();
    EXPECT_EQ(descriptor()->instantiate(descriptor(), 44100.0, "/", withNullMap), nullptr);
    testing::internal::GetCapturedStderr();
    const LV2_Feature* withGoodMap[] = {&noUri, &goodMap, nullptr};
    LV2_Handle h = descriptor()->instantiate(descriptor(), 44100.0, "/", withGoodMap);
    EXPECT_NE(h, nullptr);
    if (h) descriptor()->cleanup(h);
}

TEST(Lv2BadInput, AnUnusableSampleRateRunsAt44100) {
    const Audio in = stimulus(44100.0f, 0.3);
    auto reference = newInstance(44100.0);
    reference->activate();
    const Audio expected = renderLv2(*reference, in, 512);
    for (double rate : {0.0, -48000.0, std::nan(""), std::numeric_limits<double>::infinity(), 1e300}) {
        SCOPED_TRACE(rate);
        auto inst = newInstance(rate);
        ASSERT_TRUE(inst->ok());
        inst->activate();
        EXPECT_TRUE(renderLv2(*inst, in, 512) == expected);
    }
}

TEST(Lv2BadInput, UnconnectedPortsEmptyAndHugeBlocks) {
    auto bare = newInstance();
    ASSERT_TRUE(bare->ok());
    bare->activate();
    bare->run(512);  // nothing connected at all
    bare->run(0);

    // Audio only: no control ports, no atom ports, no meters. The plug-in plays
    // the program it starts with.
    const Audio in = stimulus(44100.0f, 0.5);
    Audio out{std::vector<float>(in.l.size()), std::vector<float>(in.r.size())};
    Audio copy = in;
    auto audioOnly = newInstance();
    audioOnly->connectAudio(copy.l.data(), copy.r.data(), out.l.data(), out.r.data());
    audioOnly->activate();
    audioOnly->run(0);
    audioOnly->run(static_cast<uint32_t>(in.l.size()));
    Reference ref;
    EXPECT_TRUE(out == ref.render(in, static_cast<int>(in.l.size())));

    // One block far longer than the instance's work buffers equals many small ones.
    const Audio longIn = stimulus(44100.0f, 5.0);
    auto small = playing(kBusyProgram);
    const Audio expected = renderLv2(*small, longIn, 512);
    auto huge = playing(kBusyProgram);
    EXPECT_TRUE(renderLv2(*huge, longIn, static_cast<int>(longIn.l.size())) == expected);

    // Zero-length runs between blocks, events in them included, change nothing audible
    // but the events, which take effect as in the next block.
    auto withEmpty = playing(kBusyProgram);
    const Audio gapped = renderLv2(*withEmpty, longIn, 512, [&](size_t, size_t) {
        withEmpty->addTempo(0, 120.0);
        withEmpty->run(0);
    });
    EXPECT_TRUE(gapped == expected);
}

// ---- audio --------------------------------------------------------------------------

TEST(Lv2Audio, InPlaceBuffersGiveWhatSeparateOnesGive) {
    const Audio in = stimulus(48000.0f, 0.6);
    auto separate = playing(kBusyProgram, 48000.0);
    const Audio expected = renderLv2(*separate, in, 256);

    auto inPlace = playing(kBusyProgram, 48000.0);
    Audio io = in;
    inPlace->connectAll(io.l.data(), io.r.data(), io.l.data(), io.r.data());
    for (size_t start = 0; start < io.l.size(); start += 256) {
        const size_t n = std::min<size_t>(256, io.l.size() - start);
        inPlace->connectAudio(io.l.data() + start, io.r.data() + start, io.l.data() + start, io.r.data() + start);
        inPlace->run(static_cast<uint32_t>(n));
    }
    EXPECT_TRUE(io == expected);
    EXPECT_FALSE(io == in);
}

TEST(Lv2Audio, RendersWhatTheInstanceRendersAtEveryRateAndBlockSize) {
    for (float rate : {8000.0f, 22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f}) {
        for (int block : {1, 64, 147, 333, 512, 1024, 4096, 8192}) {
            SCOPED_TRACE(testing::Message() << rate << " Hz, blocks of " << block);
            const Audio in = stimulus(rate, block == 1 ? 0.05 : 0.25);
            const int program = (static_cast<int>(rate) / 100 + block) % kNumPrograms;
            auto inst = playing(program, rate);
            Reference ref(rate);
            ref.core->setProgram(program);
            EXPECT_TRUE(renderLv2(*inst, in, block) == ref.render(in, block)) << "program " << program;
        }
    }
}

TEST(Lv2Audio, MetersAreTheInstancesWithinTheLeds) {
    const Audio in = stimulus(44100.0f, 0.4);
    auto inst = newInstance();
    usePorts(*inst, factoryPresets[kBusyProgram].values);
    inst->params[param::GThresh] = 0.3f;
    inst->params[param::DLevel] = 0.6f;
    inst->activate();
    Reference ref;
    ref.setValues(inst->params);
    bool lit = false;
    renderLv2(*inst, in, 512);
    ref.render(in, 512, nullptr);
    const int64_t expected[3] = {ref.core->outputMeter, ref.core->gateMeter, ref.core->duckMeter};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(inst->meters[k], static_cast<float>(std::clamp<int64_t>(expected[k], 0, kMeterMax))) << k;
        lit = lit || inst->meters[k] > 0.0f;
    }
    EXPECT_TRUE(lit);
}

// ---- control ports and MIDI ------------------------------------------------------------

TEST(Lv2Controls, APortReachesTheSoundWhenItChangesAndAProgramChangeSoundsUntilThen) {
    const Audio in = stimulus(44100.0f, 1.0);
    const int from = 3, to = 57;
    auto inst = playing(from);
    Reference ref;
    ref.setValues(factoryPresets[from].values);
    std::vector<std::vector<lv2msg::ProgramMessage>> notified;

    // Block 2: a Program Change at frame 100. Block 10: the host moves the Mix port.
    auto lv2Events = [&](size_t block, size_t) {
        if (block == 2) inst->addMidi(100, 0xC0, to);
        if (block == 10) inst->params[param::Mix] = 0.9f;
    };
    auto refEvents = [&](size_t block, size_t) {
        if (block == 2) ref.core->addOrvaneMidiEvent(static_cast<char>(0xC0), static_cast<char>(to), 0, 100);
        if (block == 10) ref.core->setParameter(param::Mix, 0.9f);
    };
    Audio out{std::vector<float>(in.l.size()), std::vector<float>(in.r.size())};
    std::vector<float> bufL(512), bufR(512);
    inst->connectAll(bufL.data(), bufR.data(), bufL.data(), bufR.data());
    size_t block = 0;
    for (size_t start = 0; start < in.l.size(); start += 512, ++block) {
        const size_t n = std::min<size_t>(512, in.l.size() - start);
        std::copy_n(in.l.begin() + start, n, bufL.begin());
        std::copy_n(in.r.begin() + start, n, bufR.begin());
        lv2Events(block, start);
        inst->run(static_cast<uint32_t>(n));
        notified.push_back(inst->notifiedPrograms());
        std::copy_n(bufL.begin(), n, out.l.begin() + start);
        std::copy_n(bufR.begin(), n, out.r.begin() + start);
    }
    EXPECT_TRUE(out == ref.render(in, 512, refEvents));
    EXPECT_EQ(ref.core->getProgram(), to);

    // The editor hears of the change once, with the program's values as they sound.
    ASSERT_EQ(notified[2].size(), 1u);
    EXPECT_EQ(notified[2][0].index, to);
    EXPECT_STREQ(notified[2][0].name, factoryPresets[to].name);
    ASSERT_TRUE(notified[2][0].hasValues);
    EXPECT_EQ(std::memcmp(notified[2][0].values, factoryPresets[to].values, sizeof(float) * kNumParams), 0);
    for (size_t b = 0; b < notified.size(); ++b)
        if (b != 2) {
            EXPECT_TRUE(notified[b].empty()) << "block " << b;
        }

    // The state tells the program that sounds.
    lv2test::SavedState saved;
    ASSERT_EQ(inst->save(saved), LV2_STATE_SUCCESS);
    int32_t index = -1;
    std::memcpy(&index, saved.at(inst->u().programIndex).bytes.data(), sizeof index);
    EXPECT_EQ(index, to);
    EXPECT_STREQ(reinterpret_cast<const char*>(saved.at(inst->u().programName).bytes.data()),
                 factoryPresets[to].name);
}

TEST(Lv2Controls, ProgramChangesAtEveryFrameOfABlockAndOutOfRangeNumbers) {
    const Audio in = stimulus(44100.0f, 0.3);
    for (int frame : {0, 1, 146, 147, 148, 300, 511}) {
        for (int number : {0, 12, 127, 179}) {
            SCOPED_TRACE(testing::Message() << "frame " << frame << ", program " << number);
            auto inst = playing(kBusyProgram);
            Reference ref;
            ref.setValues(factoryPresets[kBusyProgram].values);
            const Audio got = renderLv2(*inst, in, 512, [&](size_t b, size_t) {
                if (b == 3) inst->addMidi(frame, 0xC5, static_cast<uint8_t>(number));
            });
            const Audio want = ref.render(in, 512, [&](size_t b, size_t) {
                if (b == 3)
                    ref.core->addOrvaneMidiEvent(static_cast<char>(0xC5), static_cast<char>(number), 0, frame);
            });
            EXPECT_TRUE(got == want);
        }
    }
    // Short or empty MIDI events and other messages are taken without harm.
    auto inst = newInstance();
    inst->activate();
    renderLv2(*inst, in, 512, [&](size_t b, size_t) {
        if (b == 1) {
            inst->addMidi(0, 0xC0, 5, 0, 1);
            inst->addMidi(3, 0xC0, 5, 0, 0);
            inst->addMidi(9, 0x90, 60, 100);
            inst->addMidi(900000, 0xB0, 7, 100);  // past the block's end
        }
    });
}

// ---- tempo ---------------------------------------------------------------------------------

TEST(Lv2Tempo, TheHostTempoInAnyNumberTypeAnd120WithoutOne) {
    const Audio in = stimulus(44100.0f, 1.0);
    const int program = 17;  // a multitap on a quarter note: its time follows the tempo
    auto render = [&](const std::function<void(Instance&)>& first) {
        auto inst = playing(program);
        return renderLv2(*inst, in, 512, [&](size_t b, size_t) {
            if (b == 0) first(*inst);
        });
    };
    auto expect = [&](double bpm) {
        Reference ref;
        ref.clock.bpm = bpm;
        ref.setValues(factoryPresets[program].values);
        return ref.render(in, 512);
    };
    const Audio at90 = expect(90.0), at120 = expect(120.0);
    EXPECT_FALSE(at90 == at120);
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        EXPECT_TRUE(render([&](Instance& i) {
                        const LV2_URID types[4] = {i.u().atomFloat, i.u().atomDouble, i.u().atomInt, i.u().atomLong};
                        i.addTempo(0, 90.0, types[kind]);
                    }) == at90);
    }
    EXPECT_TRUE(render([](Instance&) {}) == at120);
    EXPECT_TRUE(render([](Instance& i) { i.addPositionWithoutTempo(0); }) == at120);
    // Tempi that are no tempo are passed over.
    EXPECT_TRUE(render([&](Instance& i) {
                    i.addTempo(0, 90.0);
                    i.addTempo(1, 0.0);
                    i.addTempo(2, -60.0);
                    i.addTempo(3, std::nan(""), i.u().atomDouble);
                    i.addPositionWithoutTempo(4);
                }) == at90);
}

TEST(Lv2Tempo, AChangeInsideABlockActsFromItsFrameOnEitherPort) {
    const Audio in = stimulus(44100.0f, 1.0);
    const int program = 17;
    Reference ref;
    ref.setValues(factoryPresets[program].values);
    Audio want = in;
    for (size_t start = 0, b = 0; start < in.l.size(); start += 1024, ++b) {
        const size_t n = std::min<size_t>(1024, in.l.size() - start);
        if (b == 5) {
            ref.process(want, start, 600);
            ref.clock.bpm = 90.0;
            ref.process(want, start + 600, n - 600);
        } else if (b == 9) {
            ref.process(want, start, 10);
            ref.clock.bpm = 140.0;
            ref.core->addOrvaneMidiEvent(static_cast<char>(0xC0), 41, 0, 20 - 10);
            ref.process(want, start + 10, 690);
            ref.clock.bpm = 75.0;
            ref.process(want, start + 700, n - 700);
        } else {
            ref.process(want, start, n);
        }
    }
    // The tempo on the control port beside the MIDI, or on the port for the tempo
    // alone (as Ardour sends it on an audio track), the two merged in time order.
    for (bool onTimePort : {false, true}) {
        SCOPED_TRACE(onTimePort ? "time port" : "control port");
        auto inst = playing(program);
        const LV2_URID f = inst->u().atomFloat;
        const Audio got = renderLv2(*inst, in, 1024, [&](size_t b, size_t) {
            if (b == 0) inst->addTempo(0, 120.0, f, onTimePort);
            if (b == 5) inst->addTempo(600, 90.0, f, onTimePort);
            if (b == 9) {
                inst->addTempo(10, 140.0, f, onTimePort);
                inst->addMidi(20, 0xC0, 41);
                inst->addTempo(700, 75.0, f, onTimePort);
            }
        });
        EXPECT_TRUE(got == want);
    }
}

// ---- lifecycle -------------------------------------------------------------------------------

TEST(Lv2Lifecycle, ActivateAndANewBlockLengthReturnTheEnginesToANewInstancesState) {
    // Ardour runs a reloaded session on a second of silence in 1024-frame blocks, then
    // sets the bounce's block length and bounces; hosts activate anew after a stop. Either
    // must give what a new instance gives, as a VST 2 host's suspend and resume do.
    const Audio in = stimulus(48000.0f, 1.0);
    const Audio silence{std::vector<float>(48000), std::vector<float>(48000)};
    const Audio expected = renderLv2(*playing(kBusyProgram, 48000.0), in, 8192);
    const std::vector<std::pair<const char*, std::function<void(Instance&)>>> ways = {
        {"deactivate and activate", [](Instance& i) { i.deactivate(); i.activate(); }},
        {"a new block length",
         [](Instance& i) { EXPECT_EQ(i.setBlockLength(8192), static_cast<uint32_t>(LV2_OPTIONS_SUCCESS)); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.first);
        auto used = playing(kBusyProgram, 48000.0);
        renderLv2(*used, in, 1024);
        renderLv2(*used, silence, 1024);
        way.second(*used);
        EXPECT_TRUE(renderLv2(*used, in, 8192) == expected);
        // The check of the check: without it the engines remember.
        renderLv2(*used, silence, 1024);
        EXPECT_FALSE(renderLv2(*used, in, 8192) == expected);
    }
}

TEST(Lv2Lifecycle, OptionsItDoesNotKnowAreRefused) {
    auto reloaded = playing(kBusyProgram);
    // Options it does not know are refused and change nothing.
    lv2test::UridMap& map = reloaded->urids;
    const float rate = 96000.0f;
    const LV2_Options_Option unknown[] = {
        {LV2_OPTIONS_INSTANCE, 0, map("http://example.org/not-an-option"), sizeof rate, reloaded->u().atomFloat, &rate},
        {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    const auto* options =
        static_cast<const LV2_Options_Interface*>(descriptor()->extension_data(LV2_OPTIONS__interface));
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->set(reloaded->handle(), unknown), static_cast<uint32_t>(LV2_OPTIONS_ERR_BAD_KEY));
    LV2_Options_Option asked[] = {{LV2_OPTIONS_INSTANCE, 0, map(LV2_BUF_SIZE__maxBlockLength), 0, 0, nullptr},
                                  {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    EXPECT_EQ(options->get(reloaded->handle(), asked), static_cast<uint32_t>(LV2_OPTIONS_ERR_BAD_KEY));
    EXPECT_EQ(options->set(reloaded->handle(), nullptr), static_cast<uint32_t>(LV2_OPTIONS_SUCCESS));
}

// ---- state -------------------------------------------------------------------------------------

TEST(Lv2State, RestoreMakesTheProgramCurrentWithTheValuesOfThePorts) {
    const Audio in = stimulus(44100.0f, 0.8);
    auto plain = playing(kBusyProgram);
    const Audio expected = renderLv2(*plain, in, 512);

    auto inst = newInstance();
    usePorts(*inst, factoryPresets[kBusyProgram].values);
    ASSERT_EQ(inst->restore(inst->programState(12, "My own twelve")), LV2_STATE_SUCCESS);
    // Saved before any run: what was restored.
    lv2test::SavedState saved;
    ASSERT_EQ(inst->save(saved), LV2_STATE_SUCCESS);
    EXPECT_EQ(saved.at(inst->u().programIndex).type, inst->u().atomInt);
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(saved.at(inst->u().programIndex).bytes.data()), 12);
    EXPECT_STREQ(reinterpret_cast<const char*>(saved.at(inst->u().programName).bytes.data()), "My own twelve");
    EXPECT_EQ(saved.at(inst->u().programName).type, inst->u().atomString);
    EXPECT_TRUE(saved.at(inst->u().programName).flags & LV2_STATE_IS_POD);

    inst->activate();
    std::vector<lv2msg::ProgramMessage> firstNotice;
    const Audio got = renderLv2(*inst, in, 512, [&](size_t b, size_t) {
        if (b == 1) firstNotice = inst->notifiedPrograms();
    });
    // Program 12's stored values never sounded: the ports did.
    EXPECT_TRUE(got == expected);
    ASSERT_EQ(firstNotice.size(), 1u);
    EXPECT_EQ(firstNotice[0].index, 12);
    EXPECT_STREQ(firstNotice[0].name, "My own twelve");
    EXPECT_EQ(std::memcmp(firstNotice[0].values, factoryPresets[kBusyProgram].values, sizeof(float) * kNumParams), 0);

    // A later Program Change to 12 plays what the ports held when it became current.
    ASSERT_EQ(inst->save(saved), LV2_STATE_SUCCESS);
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(saved.at(inst->u().programIndex).bytes.data()), 12);
}

TEST(Lv2State, APresetWinsOverAProgramChangesValues) {
    // A Program Change made the live values differ from the ports; a preset whose
    // values equal the old ports must still sound whole.
    const Audio in = stimulus(44100.0f, 0.6);
    auto plain = playing(kBusyProgram);
    const Audio expected = renderLv2(*plain, in, 512);

    auto inst = playing(kBusyProgram);
    renderLv2(*inst, in, 512, [&](size_t b, size_t) {
        if (b == 0) inst->addMidi(0, 0xC0, 90);
    });
    inst->restore(inst->programState(kBusyProgram, factoryPresets[kBusyProgram].name));
    inst->activate();
    EXPECT_TRUE(renderLv2(*inst, in, 512) == expected);
}

TEST(Lv2State, DamagedOrNewerStateChangesNothingAndNeverCrashes) {
    auto inst = newInstance();
    inst->activate();
    std::vector<float> buf(512);
    inst->connectAll(buf.data(), buf.data(), buf.data(), buf.data());
    inst->run(512);
    const auto& u = inst->u();
    auto savedProgram = [&] {
        lv2test::SavedState s;
        EXPECT_EQ(inst->save(s), LV2_STATE_SUCCESS);
        return std::make_pair(*reinterpret_cast<const int32_t*>(s.at(u.programIndex).bytes.data()),
                              std::string(reinterpret_cast<const char*>(s.at(u.programName).bytes.data())));
    };
    const auto before = savedProgram();
    EXPECT_EQ(before.first, 0);

    using lv2test::Instance;
    const int32_t seven = 7;
    const int64_t longFive = 5;
    const int64_t huge = int64_t{1} << 40;
    const int32_t negative = -3, beyond = kNumPrograms;
    const char notTerminated[64] = {'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A',
                                    'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A',
                                    'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A',
                                    'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A'};
    struct Case {
        const char* what;
        lv2test::SavedState state;
        LV2_State_Status status;
        int32_t program;
        std::string name;
    };
    std::vector<Case> cases = {
        {"nothing at all", {}, LV2_STATE_SUCCESS, 0, before.second},
        {"a number as text", {{u.programIndex, Instance::value("7", 2, u.atomString)}}, LV2_STATE_ERR_BAD_TYPE, 0,
         before.second},
        {"a number too short", {{u.programIndex, Instance::value(&seven, 2, u.atomInt)}}, LV2_STATE_ERR_BAD_TYPE, 0,
         before.second},
        {"a program of a larger bank", {{u.programIndex, Instance::value(&beyond, 4, u.atomInt)}}, LV2_STATE_SUCCESS, 0,
         before.second},
        {"a negative program", {{u.programIndex, Instance::value(&negative, 4, u.atomInt)}}, LV2_STATE_SUCCESS, 0,
         before.second},
        {"a huge long", {{u.programIndex, Instance::value(&huge, 8, u.atomLong)}}, LV2_STATE_SUCCESS, 0, before.second},
        {"a long number and no name", {{u.programIndex, Instance::value(&longFive, 8, u.atomLong)}}, LV2_STATE_SUCCESS,
         5, factoryPresets[5].name},
        {"a name that is a number",
         {{u.programIndex, Instance::value(&seven, 4, u.atomInt)}, {u.programName, Instance::value(&seven, 4, u.atomInt)}},
         LV2_STATE_SUCCESS, 7, factoryPresets[7].name},
        {"a name without its end",
         {{u.programIndex, Instance::value(&seven, 4, u.atomInt)},
          {u.programName, Instance::value(notTerminated, sizeof notTerminated, u.atomString)}},
         LV2_STATE_SUCCESS, 7, std::string(kProgramNameSize - 1, 'A')},
        {"an empty name",
         {{u.programIndex, Instance::value(&seven, 4, u.atomInt)}, {u.programName, Instance::value("", 0, u.atomString)}},
         LV2_STATE_SUCCESS, 7, std::string(kProgramNameSize - 1, 'A')},
        {"keys of a newer version",
         {{u.programIndex, Instance::value(&seven, 4, u.atomInt)},
          {u.programName, Instance::value("Seven", 6, u.atomString)},
          {inst->urids("https://orvane.example/lv2/nimbrel#somethingNew"), Instance::value(&huge, 8, u.atomLong)}},
         LV2_STATE_SUCCESS, 7, "Seven"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(inst->restore(c.state), c.status);
        inst->run(512);
        const auto after = savedProgram();
        EXPECT_EQ(after.first, c.program);
        EXPECT_EQ(after.second, c.name);
    }
}

// A host applying a factory preset through lilv: the port values and the
// program's number and name arrive together.
void setPortValue(const char* symbol, void* user, const void* value, uint32_t size, uint32_t) {
    auto* params = static_cast<float*>(user);
    for (int i = 0; i < kNumParams; ++i)
        if (size == sizeof(float) && portSymbol(i) == symbol) params[i] = *static_cast<const float*>(value);
}

TEST(Lv2State, AFactoryPresetAppliedThroughLilvMakesItsProgramCurrent) {
    privateDataFolder();
    LilvWorld* world = lilv_world_new();
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, NIMBREL_LV2_BUNDLE "/");
    lilv_world_load_bundle(world, bundle);
    LilvNode* uri = lilv_new_uri(world, kPluginUri);
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
    ASSERT_NE(plugin, nullptr);
    lv2test::UridMap map;
    LV2_Feature mapFeature{LV2_URID__map, &map.map};
    LV2_Feature unmapFeature{LV2_URID__unmap, &map.unmap};
    const LV2_Feature* features[] = {&mapFeature, &unmapFeature, nullptr};
    LilvInstance* instance = lilv_plugin_instantiate(plugin, 44100.0, features);
    ASSERT_NE(instance, nullptr);
    float params[kNumParams] = {};
    for (uint32_t i = 0; i < static_cast<uint32_t>(kNumParams); ++i) lilv_instance_connect_port(instance, i, &params[i]);
    lilv_instance_activate(instance);

    for (int program : {0, 42, 137, 179}) {
        SCOPED_TRACE(program);
        LilvNode* preset = lilv_new_uri(world, presetUri(program).c_str());
        lilv_world_load_resource(world, preset);
        LilvState* state = lilv_state_new_from_world(world, &map.map, preset);
        ASSERT_NE(state, nullptr);
        lilv_state_restore(state, instance, setPortValue, params, 0, features);
        lilv_state_free(state);
        lilv_node_free(preset);
        EXPECT_EQ(std::memcmp(params, factoryPresets[program].values, sizeof params), 0);

        lilv_instance_run(instance, 64);
        // What the host would save now.
        LilvState* now = lilv_state_new_from_instance(plugin, instance, &map.map, nullptr, nullptr, nullptr, nullptr,
                                                      nullptr, nullptr, LV2_STATE_IS_POD, features);
        ASSERT_NE(now, nullptr);
        char* text = lilv_state_to_string(world, &map.map, &map.unmap, now, "urn:test:now", nullptr);
        ASSERT_NE(text, nullptr);
        const std::string turtle = text;
        lilv_free(text);
        lilv_state_free(now);
        EXPECT_NE(turtle.find(std::string("nimbrel#programIndex> \"") + std::to_string(program) + "\"^^xsd:int"), std::string::npos)
            << turtle;
        EXPECT_NE(turtle.find(std::string("nimbrel#programName> \"") + factoryPresets[program].name + "\""),
                  std::string::npos)
            << turtle;
    }
    lilv_instance_deactivate(instance);
    lilv_instance_free(instance);
    lilv_node_free(uri);
    lilv_node_free(bundle);
    lilv_world_free(world);
}

// ---- the editor's messages ------------------------------------------------------------------------

TEST(Lv2EditorMessages, ProgramRequestAndMonitorReachThePlugin) {
    const Audio in = stimulus(44100.0f, 0.5);
    auto inst = playing(kBusyProgram);
    uint8_t buffer[512];
    auto message = [&](const std::function<bool(LV2_Atom_Forge&)>& make) {
        LV2_Atom_Forge forge;
        lv2_atom_forge_init(&forge, &inst->urids.map);
        lv2_atom_forge_set_buffer(&forge, buffer, sizeof buffer);
        EXPECT_TRUE(make(forge));
        return reinterpret_cast<const LV2_Atom*>(buffer);
    };
    std::vector<lv2msg::ProgramMessage> answer;
    Reference ref;
    ref.setValues(factoryPresets[kBusyProgram].values);
    const Audio got = renderLv2(*inst, in, 512, [&](size_t b, size_t) {
        if (b == 1) inst->addAtom(0, message([&](LV2_Atom_Forge& f) {
            return lv2msg::forgeProgram(f, inst->u(), 20, "Edited twenty", nullptr);
        }));
        if (b == 2) {
            answer = inst->notifiedPrograms();  // an editor's program is not echoed
            inst->addAtom(0, message([&](LV2_Atom_Forge& f) {
                return lv2msg::forgeRequest(f, inst->u(), inst->u().programRequest);
            }));
        }
        if (b == 3) {
            EXPECT_TRUE(answer.empty());
            answer = inst->notifiedPrograms();
            inst->addAtom(0, message([&](LV2_Atom_Forge& f) { return lv2msg::forgeMonitor(f, inst->u(), 0.0f); }));
        }
    });
    const Audio want = ref.render(in, 512, [&](size_t b, size_t) {
        if (b == 3) ref.core->dryFactor = 0.0f;
    });
    EXPECT_TRUE(got == want);
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_EQ(answer[0].index, 20);
    EXPECT_STREQ(answer[0].name, "Edited twenty");
    EXPECT_TRUE(answer[0].hasValues);
    EXPECT_EQ(std::memcmp(answer[0].values, factoryPresets[kBusyProgram].values, sizeof(float) * kNumParams), 0);
}

// ---- the recorded sound --------------------------------------------------------------------------

// The golden cases as an LV2 host plays them: a program is a preset (its
// values on the ports, its number in the state), automation moves ports, MIDI
// and the tempo arrive in the control sequence.
struct Lv2Driver {
    std::unique_ptr<Instance> inst;
    double tempo = 120.0;
    bool tempoSent = false;
    void start(float rate, int) {
        inst = newInstance(rate);
        inst->activate();
    }
    void setProgram(int program) {
        usePorts(*inst, factoryPresets[program].values);
        inst->restore(inst->programState(program, factoryPresets[program].name));
    }
    void setTempo(double t) { tempo = t; }
    void setParameter(int index, float value) { inst->params[index] = value; }
    void sendMidi(uint8_t status, uint8_t data1, uint8_t data2, int frame) { pendingMidi.push_back({status, data1, data2, frame}); }
    void process(float** in, float** out, int frames) {
        inst->connectAll(in[0], in[1], out[0], out[1]);
        if (!tempoSent) inst->addTempo(0, tempo, inst->u().atomDouble);
        tempoSent = true;
        for (const Midi& m : pendingMidi) inst->addMidi(m.frame, m.status, m.data1, m.data2);
        pendingMidi.clear();
        inst->run(static_cast<uint32_t>(frames));
    }
    struct Midi {
        uint8_t status, data1, data2;
        int frame;
    };
    std::vector<Midi> pendingMidi;
};

TEST(Lv2Golden, EveryRecordedCaseThroughTheLv2Entry) {
    const auto expected = golden::readExpected(NIMBREL_GOLDEN_FILE);
    const std::vector<golden::Case> all = golden::cases();
    ASSERT_EQ(expected.size(), all.size());
    int differing = 0;
    for (const golden::Case& c : all) {
        Lv2Driver driver;
        const std::string hash = golden::hashText(golden::renderCase(c, driver));
        if (expected.at(c.name) != hash) {
            ++differing;
            ADD_FAILURE() << c.name << " renders differently: " << hash << " instead of " << expected.at(c.name);
        }
    }
    EXPECT_EQ(differing, 0);
}

// Every sample rate and block size the VST 2 plug-in's tests use, each with
// automation, a MIDI Program Change and a bypass stretch on the way: the LV2
// library gives the VST 2 library's bytes.
TEST(Lv2Golden, TheVst2PluginsBytesAtEveryRateAndBlockSizeOfItsTests) {
    const float rates[] = {8000.0f, 22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f, 384000.0f};
    const int blocks[] = {1, 2, 3, 64, 146, 147, 148, 333, 512, 1024, 4095, 4096, 8192, 65536};
    int n = 0;
    for (float rate : rates) {
        for (int block : blocks) {
            const golden::Case c{"", (n * 37 + 3) % kNumPrograms, rate, block, n % 2 ? 90.0 : 133.0, true};
            ++n;
            SCOPED_TRACE(testing::Message() << rate << " Hz, blocks of " << block << ", program " << c.program);
            PluginDriver vst2;
            ASSERT_TRUE(vst2.host);
            Lv2Driver lv2;
            EXPECT_EQ(golden::renderCase(c, lv2), golden::renderCase(c, vst2));
        }
    }
}

// Control values no control has (NaN, infinities, beyond 0..1, on named and
// reserved ports alike) take the VST 2 plug-in's setParameter path: the same
// bytes, and back in range the same sound again.
template <typename Driver>
uint64_t renderWithWildValues(Driver& driver) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<int, float> wild[] = {{param::Mix, std::nanf("")}, {param::RSize, inf},  {param::RDecay, -inf},
                                          {param::MTime, -3.0f},       {param::Route, 5.0f}, {param::MFeedba, 1e30f},
                                          {param::GThresh, -0.0f},     {param::Surround, std::nanf("")},
                                          {kNumNamedParams, inf},      {kNumParams - 1, std::nanf("")}};
    driver.start(44100.0f, 512);
    driver.setProgram(kBusyProgram);
    driver.setTempo(120.0);
    const golden::Stimulus in = golden::stimulus(44100.0f, 1.0);
    std::vector<float> inL(512), inR(512), outL(512), outR(512);
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    uint64_t hash = 0xCBF29CE484222325ull;
    for (size_t start = 0, block = 0; start < in.left.size(); start += 512, ++block) {
        const int n = static_cast<int>(std::min<size_t>(512, in.left.size() - start));
        std::copy_n(in.left.begin() + start, n, inL.begin());
        std::copy_n(in.right.begin() + start, n, inR.begin());
        if (block == 5)
            for (const auto& [index, value] : wild) driver.setParameter(index, value);
        if (block == 40)
            for (const auto& [index, value] : wild) driver.setParameter(index, factoryPresets[kBusyProgram].values[index]);
        driver.process(ins, outs, n);
        hash = golden::fnv1a(hash, outL.data(), n);
        hash = golden::fnv1a(hash, outR.data(), n);
    }
    return hash;
}

TEST(Lv2BadInput, ControlValuesNoControlHasSoundAsInTheVst2Plugin) {
    PluginDriver vst2;
    ASSERT_TRUE(vst2.host);
    Lv2Driver lv2;
    EXPECT_EQ(renderWithWildValues(lv2), renderWithWildValues(vst2));
}

// A host that connects one side of a stereo pair only, or takes a buffer away
// again, gets no crash: like the VST 2 plug-in given a null channel, the block
// is passed over, and a whole connection plays on.
TEST(Lv2BadInput, HalfConnectedAudioIsPassedOverAndAWholeConnectionPlaysOn) {
    auto inst = playing(kBusyProgram);
    const Audio in = stimulus(44100.0f, 0.1);
    Audio copy = in;
    std::vector<float> outL(in.l.size(), 7.0f), outR(in.r.size(), 7.0f);
    const uint32_t n = static_cast<uint32_t>(in.l.size());
    inst->connectAudio(copy.l.data(), nullptr, outL.data(), outR.data());
    inst->run(n);
    inst->connectAudio(copy.l.data(), copy.r.data(), outL.data(), nullptr);
    inst->run(n);
    inst->connectAudio(nullptr, nullptr, nullptr, nullptr);
    inst->run(n);
    EXPECT_EQ(outL, std::vector<float>(n, 7.0f));
    EXPECT_EQ(outR, std::vector<float>(n, 7.0f));
    inst->connectAudio(copy.l.data(), copy.r.data(), outL.data(), outR.data());
    inst->run(n);
    EXPECT_NE(outL, std::vector<float>(n, 7.0f));
    for (size_t i = 0; i < n; ++i) ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i])) << i;
}

}  // namespace
