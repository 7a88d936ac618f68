// The plug-in through the VST 2.4 interface only: identity, opcodes,
// parameters, programs, MIDI, control ticks, trace log, buffer limits.
#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/host/host_fixture.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string displayFor(PluginHost& host, int index, float value) {
    host.setParameter(index, value);
    return host.parameterDisplay(index);
}

TEST(Identity, RecordAndOpcodesAnswerAsConfigured) {
    auto host = loadNimbrel();
    ASSERT_TRUE(host);
    AEffect* e = host->effect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->numPrograms, 180);
    EXPECT_EQ(e->numParams, 68);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, effFlagsHasEditor | effFlagsCanReplacing);
    EXPECT_EQ(e->uniqueID, fourCharCode('O', 'v', 'R', 'V'));
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_FLOAT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(host->dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host->dispatch(effGetPlugCategory), 1);
    EXPECT_EQ(host->dispatch(effGetVendorVersion), 1000);
    EXPECT_EQ(host->textQuery(effGetEffectName), "Nimbrel");
    EXPECT_EQ(host->textQuery(effGetProductString), "Nimbrel");
    EXPECT_EQ(host->textQuery(effGetVendorString), "orvane.example");
    void* chunk = nullptr;
    EXPECT_EQ(host->dispatch(effGetChunk, 0, 0, &chunk), 0);  // programs travel as parameters
    EXPECT_EQ(host->dispatch(effSetBypass, 0, 1), 0);         // no soft bypass
    EXPECT_EQ(host->dispatch(effGetTailSize), 0);
}

TEST(Identity, CanDoAnswersOnlyTheFourTexts) {
    auto host = loadNimbrel();
    ASSERT_TRUE(host);
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "midiProgramNames", "receiveVstTimeInfo"})
        EXPECT_EQ(host->dispatch(effCanDo, 0, 0, const_cast<char*>(yes)), 1) << yes;
    for (const char* no : {"offline", "sendVstEvents", "bypass", "", "receiveVstEventsX"})
        EXPECT_EQ(host->dispatch(effCanDo, 0, 0, const_cast<char*>(no)), -1) << no;
}

TEST(Identity, StartsWithoutHostCallbackAndProcesses) {
    auto host = loadNimbrel(false);
    ASSERT_TRUE(host);
    EXPECT_EQ(host->effect()->uniqueID, fourCharCode('O', 'v', 'R', 'V'));
    EXPECT_EQ(host->effect()->numInputs, 2);
    EXPECT_EQ(host->effect()->numOutputs, 2);
    host->start(48000.0f, 256);
    Block b(256);
    b.inL[0] = 1.0f;
    host->process(b.in(), b.out(), 256);
    for (float v : b.outL) ASSERT_TRUE(std::isfinite(v));
    EXPECT_EQ(host->programName(), "MIX Welcome!");
}

TEST(Identity, HostThatIsNotVst2IsRefused) {
    privateDataFolder();
    // A host answering version 0 gets no instance.
    // Not unloaded at dlclose: the drawing libraries it pulls in keep caches for good.
    void* lib = dlopen(NIMBREL_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_TRUE(lib);
    using Entry = AEffect* (*)(audioMasterCallback);
    auto entry = reinterpret_cast<Entry>(dlsym(lib, "VSTPluginMain"));
    auto legacy = reinterpret_cast<Entry>(dlsym(lib, "main"));
    ASSERT_TRUE(entry);
    ASSERT_TRUE(legacy);
    audioMasterCallback zeroHost = [](AEffect*, int32_t, int32_t, intptr_t, void*, float) -> intptr_t { return 0; };
    EXPECT_EQ(entry(zeroHost), nullptr);
    EXPECT_EQ(legacy(zeroHost), nullptr);
    dlclose(lib);
}

TEST(Parameters, NamesLabelsAndAutomation) {
    auto host = loadNimbrel();
    ASSERT_TRUE(host);
    EXPECT_EQ(host->parameterName(0), "Mix");
    EXPECT_EQ(host->parameterName(23), "MFeedba");
    EXPECT_EQ(host->parameterName(29), "StepL0");
    EXPECT_EQ(host->parameterName(30), "StepR0");
    EXPECT_EQ(host->parameterName(61), "StepL16");
    EXPECT_EQ(host->parameterName(62), "StepR16");
    EXPECT_EQ(host->parameterName(63), "Reserved");
    EXPECT_EQ(host->parameterName(1000), "Reserved");
    EXPECT_EQ(host->parameterLabel(6), "m");
    EXPECT_EQ(host->parameterLabel(22), "beats");
    EXPECT_EQ(host->parameterLabel(27), "Hz");
    EXPECT_EQ(host->parameterLabel(0), "");
    EXPECT_EQ(host->parameterLabel(-1), "");
    EXPECT_EQ(host->dispatch(effCanBeAutomated, 62), 1);
    EXPECT_EQ(host->dispatch(effCanBeAutomated, 63), 0);
    EXPECT_EQ(host->dispatch(effCanBeAutomated, -1), 0);
    EXPECT_EQ(host->parameterDisplay(68), "");
    EXPECT_EQ(host->parameterDisplay(-5), "");
    EXPECT_EQ(host->getParameter(68), 0.0f);
}

TEST(Parameters, ValueTextsAtTheirEdges) {
    auto host = loadNimbrel();
    ASSERT_TRUE(host);
    // Volume tells the gain it applies, 4 v^2: unity at 0.5, +12 dB at full.
    EXPECT_EQ(displayFor(*host, 1, 0.0f), "mute");
    EXPECT_EQ(displayFor(*host, 1, 0.5f), "0.0 dB");
    EXPECT_EQ(displayFor(*host, 1, 0.705f), "+6.0 dB");
    EXPECT_EQ(displayFor(*host, 1, 1.0f), "+12.0 dB");
    EXPECT_EQ(displayFor(*host, 1, 0.25f), "-12.0 dB");
    // Gains that round to unity from either side read the same; no "+0.0" or "-0.0".
    EXPECT_EQ(displayFor(*host, 1, 0.5004f), "0.0 dB");
    EXPECT_EQ(displayFor(*host, 1, 0.4996f), "0.0 dB");
    // The render path holds values to 0..1 (a value that is no number counts as 0).
    EXPECT_EQ(displayFor(*host, 1, 3.0f), "+12.0 dB");
    EXPECT_EQ(displayFor(*host, 1, -0.5f), "mute");
    EXPECT_EQ(displayFor(*host, 1, NAN), "mute");
    EXPECT_EQ(displayFor(*host, 2, 0.5f), "stereo");
    EXPECT_EQ(displayFor(*host, 2, 0.8f), "surround");
    EXPECT_EQ(displayFor(*host, 2, 0.1f), "mono");
    EXPECT_EQ(displayFor(*host, 3, 0.5f), "active");
    EXPECT_EQ(displayFor(*host, 3, 0.49f), "disabled");
    EXPECT_EQ(displayFor(*host, 4, 0.5f), "parallel");
    EXPECT_EQ(displayFor(*host, 4, 0.51f), "serial");
    EXPECT_EQ(displayFor(*host, 15, 0.0f), "hold");
    EXPECT_EQ(displayFor(*host, 15, 1.0f), "off");
    EXPECT_EQ(displayFor(*host, 15, 0.5f), "-12.0 dB");
    EXPECT_EQ(displayFor(*host, 16, 0.0f), "0.00");
    EXPECT_EQ(displayFor(*host, 16, 1.0f), "98.72");
    EXPECT_EQ(displayFor(*host, 20, 0.05f), "infinite");
    EXPECT_EQ(displayFor(*host, 20, 1.0f), "no duck");
    EXPECT_EQ(displayFor(*host, 19, 0.04f), "no duck");
    EXPECT_EQ(displayFor(*host, 19, 0.05f), "5.0%");
    EXPECT_EQ(displayFor(*host, 22, 0.0f), "1/16");
    EXPECT_EQ(displayFor(*host, 22, 0.25f), "1/4");
    EXPECT_EQ(displayFor(*host, 22, 0.5f), "1/2");
    EXPECT_EQ(displayFor(*host, 22, 1.0f), "2");
    EXPECT_EQ(displayFor(*host, 23, 0.0f), "one shot");
    EXPECT_EQ(displayFor(*host, 23, 0.05f), "5.0%");
    EXPECT_EQ(displayFor(*host, 10, 0.0f), "0% 22.0");
    EXPECT_EQ(displayFor(*host, 10, 1.0f), "100% 0.7");
    EXPECT_EQ(displayFor(*host, 6, 1.0f), "50");
    EXPECT_EQ(displayFor(*host, 12, 1.0f), "16000");
    EXPECT_EQ(displayFor(*host, 0, 0.404f), "40.4%");
}

TEST(Parameters, LongTextsAreFittedToTheInterfaceLimit) {
    auto host = loadNimbrel();
    ASSERT_TRUE(host);
    // "-120.0 dB" has nine characters: a host gets it without its space.
    EXPECT_EQ(displayFor(*host, 15, 0.001f), "-120.0dB");
    EXPECT_EQ(displayFor(*host, 1, 0.001f), "-108.0dB");
    // A gain too small for a float is silence, not a level.
    EXPECT_EQ(displayFor(*host, 1, 1.0e-30f), "mute");
    // Values far outside 0..1 still give a bounded text.
    EXPECT_EQ(displayFor(*host, 0, 1.0e30f).size(), 8u);
    EXPECT_EQ(displayFor(*host, 22, -3.7f), "1/3");  // a table position wraps, never leaves the table
    EXPECT_FALSE(displayFor(*host, 22, NAN).empty());
}

TEST(Parameters, NoTextIsWrittenPastTheHostsBuffer) {
    auto host = loadNimbrel();
    ASSERT_TRUE(host);
    const float values[] = {0.0f, 0.001f, 0.05f, 0.333f, 0.5f, 0.95f, 1.0f, -1.0f, 2.0f, 1e30f, -1e30f, NAN, INFINITY};
    for (int index = -2; index < 70; ++index) {
        for (float v : values) {
            host->setParameter(index, v);
            for (int32_t opcode : {effGetParamDisplay, effGetParamName, effGetParamLabel}) {
                char buffer[32];
                std::memset(buffer, 0x5A, sizeof buffer);
                host->dispatch(opcode, index, 0, buffer);
                for (size_t i = kVstMaxParamStrLen + 1; i < sizeof buffer; ++i)
                    ASSERT_EQ(buffer[i], 0x5A) << "opcode " << opcode << " index " << index << " value " << v;
                ASSERT_NE(std::memchr(buffer, 0, kVstMaxParamStrLen + 1), nullptr);
            }
        }
    }
    for (int index = -1; index < 182; ++index) {
        char buffer[64];
        std::memset(buffer, 0x5A, sizeof buffer);
        host->dispatch(effGetProgramNameIndexed, index, -1, buffer);
        for (size_t i = kVstMaxProgNameLen + 1; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 0x5A);
    }
    // A host text without a terminating zero is read no further than a program name can be.
    char unterminated[kVstMaxProgNameLen + 1];
    std::memset(unterminated, 'x', sizeof unterminated);
    host->dispatch(effSetProgramName, 0, 0, unterminated);
    EXPECT_EQ(host->programName(), std::string(24, 'x'));
    // Null pointers from a host are harmless.
    for (int32_t opcode : {effGetParamDisplay, effGetParamName, effGetParamLabel, effGetProgramName,
                           effSetProgramName, effGetProgramNameIndexed, effGetEffectName, effGetVendorString,
                           effGetProductString, effCanDo, effProcessEvents, effEditGetRect, effGetChunk})
        host->dispatch(opcode, 0, 0, nullptr);
}

TEST(Parameters, SetParameterStoresInValueAndProgram) {
    auto host = loadNimbrel();
    ASSERT_TRUE(host);
    host->setProgram(3);
    host->setParameter(0, 0.9f);
    host->setParameter(68, 0.7f);  // ignored
    host->setProgram(4);
    EXPECT_NE(host->getParameter(0), 0.9f);
    host->setProgram(3);
    EXPECT_EQ(host->getParameter(0), 0.9f);
    host->setParameter(5, 0.3f);
    host->setProgram(4);
    host->setProgram(3);
    EXPECT_EQ(host->getParameter(5), 0.3f);
    // Out-of-range values are stored as they are.
    host->setParameter(4, 7.0f);
    EXPECT_EQ(host->getParameter(4), 7.0f);
    EXPECT_EQ(host->parameterDisplay(4), "serial");
}

TEST(Programs, FactoryBankAndProgramOperations) {
    auto host = loadNimbrel();
    ASSERT_TRUE(host);
    EXPECT_EQ(host->program(), 0);
    EXPECT_EQ(host->programName(), "MIX Welcome!");
    EXPECT_FLOAT_EQ(host->getParameter(0), 0.404f);
    EXPECT_EQ(host->programNameIndexed(179), "USER 12");
    EXPECT_EQ(host->programNameIndexed(30), "REV Hall Big");
    EXPECT_EQ(host->programNameIndexed(142), "DEL PingPong 0.5");
    char buffer[64] = "untouched";
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 180, -1, buffer), 0);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, -1, -1, buffer), 0);

    host->setProgram(180);
    EXPECT_EQ(host->program(), 0);
    host->setProgram(-1);
    EXPECT_EQ(host->program(), 0);
    host->setProgram(30);
    EXPECT_EQ(host->program(), 30);
    EXPECT_FLOAT_EQ(host->getParameter(1), 0.672f);
    EXPECT_EQ(host->getParameter(21), 0.0f);

    char longName[] = "A name of thirty characters!!";
    host->dispatch(effSetProgramName, 0, 0, longName);
    EXPECT_EQ(host->programName(), std::string(longName, 24));
    EXPECT_EQ(host->programNameIndexed(30), std::string(longName, 24));
}

TEST(Lifecycle, SuspendAndResumeKeepParametersAndPrograms) {
    auto host = loadNimbrel();
    ASSERT_TRUE(host);
    host->start(44100.0f, 512);
    host->setProgram(7);
    host->setParameter(0, 0.25f);
    host->suspend();
    host->resume();
    EXPECT_EQ(host->program(), 7);
    EXPECT_EQ(host->getParameter(0), 0.25f);
    // A sample rate of 0, as some scanners send, is not taken; processing stays sane.
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 0.0f);
    host->dispatch(effSetSampleRate, 0, 0, nullptr, NAN);
    Block b(64);
    b.inL[0] = 1.0f;
    host->process(b.in(), b.out(), 64);
    for (float v : b.outL) ASSERT_TRUE(std::isfinite(v));
}

// Every GetTime call of the plug-in happens at a control tick or at the start of an
// effect sub-block. The test host lowers the volume a little at each call, so the
// output/input ratio is constant within a sub-block and steps where a new one starts.
std::vector<int> subBlockLengths(PluginHost& host, Block& b) {
    float volume = 0.6f;
    host.callbackHook = [&](int32_t opcode, int32_t, intptr_t, void*, float, intptr_t& result) {
        if (opcode != audioMasterGetTime) return false;
        volume -= 0.001f;
        host.setParameter(1, volume);
        result = reinterpret_cast<intptr_t>(&host.timeInfo);
        return true;
    };
    host.process(b.in(), b.out(), b.frames());
    host.callbackHook = nullptr;
    std::vector<int> lengths;
    float lastRatio = -1.0f;
    for (int i = 0; i < b.frames(); ++i) {
        float ratio = b.outL[i] / b.inL[i];
        if (lengths.empty() || std::fabs(ratio - lastRatio) > 1e-4f) lengths.push_back(0);
        ++lengths.back();
        lastRatio = ratio;
    }
    return lengths;
}

TEST(ControlTicks, HostBlocksAreCutAtTheControlRate) {
    auto host = loadNimbrel();
    ASSERT_TRUE(host);
    host->start(44100.0f, 512);
    // Both engines off, gate and ducker off: output is input times 4 * Volume^2.
    host->setParameter(5, 0.0f);
    host->setParameter(21, 0.0f);
    Block b(512);
    for (int i = 0; i < 512; ++i) b.inL[i] = b.inR[i] = 0.25f + 0.001f * (i % 7);
    EXPECT_EQ(subBlockLengths(*host, b), (std::vector<int>{147, 147, 147, 71}));
    EXPECT_EQ(subBlockLengths(*host, b), (std::vector<int>{76, 147, 147, 142}));
    // After a suspend the first tick comes at sample 0 again.
    host->suspend();
    host->resume();
    Block small(200);
    for (int i = 0; i < 200; ++i) small.inL[i] = small.inR[i] = 0.3f;
    EXPECT_EQ(subBlockLengths(*host, small), (std::vector<int>{147, 53}));
    // At 48000 Hz the period is 160 samples.
    host->suspend();
    host->start(48000.0f, 512);
    EXPECT_EQ(subBlockLengths(*host, b), (std::vector<int>{160, 160, 160, 32}));
}

TEST(Midi, ProgramChangeIsAppliedAtTheTickThatOpensItsPeriod) {
    {
        auto host = loadNimbrel();
        ASSERT_TRUE(host);
        host->start(44100.0f, 512);
        Block b(294);
        host->sendMidi(0xC3, 5, 0, 400);  // program change on channel 4
        host->process(b.in(), b.out(), 294);
        // The tick at 294 opens the period 294..440 that holds sample 400.
        EXPECT_EQ(host->program(), 5);
        EXPECT_EQ(host->callbackCounts[audioMasterUpdateDisplay], 1);
    }
    {
        auto host = loadNimbrel();
        ASSERT_TRUE(host);
        host->start(44100.0f, 512);
        Block b(293);
        host->sendMidi(0xC0, 5, 0, 400);
        host->process(b.in(), b.out(), 293);
        EXPECT_EQ(host->program(), 0);  // not due yet: the block ended before the tick at 294
    }
    {
        auto host = loadNimbrel();
        ASSERT_TRUE(host);
        host->start(44100.0f, 512);
        Block b(512);
        host->sendMidi(0x90, 60, 100, 0);   // a note on: taken from the queue, no effect
        host->sendMidi(0xC0, 127, 0, 10);   // program 127
        host->process(b.in(), b.out(), 512);
        EXPECT_EQ(host->program(), 127);
        EXPECT_EQ(host->callbackCounts[audioMasterUpdateDisplay], 1);
        host->sendMidi(0xC0, 0x85, 0, 0);   // a data byte with its top bit set reads as negative: program 0
        host->process(b.in(), b.out(), 512);
        EXPECT_EQ(host->program(), 0);
    }
}

TEST(Midi, AFullQueueOverwritesItsFirstSlot) {
    auto host = loadNimbrel();
    ASSERT_TRUE(host);
    host->start(44100.0f, 512);
    // 300 program changes far in the future fill the queue; the last ones land in slot 0.
    for (int batch = 0; batch < 5; ++batch) {
        for (int i = 0; i < 60; ++i) host->sendMidi(0xC0, static_cast<uint8_t>(i % 100), 0, 1000000);
        Block b(16);
        host->process(b.in(), b.out(), 16);
    }
    EXPECT_EQ(host->program(), 0);
    EXPECT_EQ(host->callbackCounts[audioMasterUpdateDisplay], 0);
}

TEST(Tempo, TheDelayFollowsTheHostOr120) {
    // A pulse through a one-shot quarter-note tap: the echo comes one beat later.
    auto echoDelay = [](bool timeInfo, double tempo) {
        auto host = loadNimbrel();
        host->provideTimeInfo = timeInfo;
        host->timeInfo.tempo = tempo;
        host->start(44100.0f, 512);
        host->setProgram(179);  // init values
        const int params[][2] = {{5, 0}, {0, 1000}, {23, 0}, {24, 0}, {27, 1000}, {28, 0}, {22, 250}};
        for (auto& p : params) host->setParameter(p[0], p[1] / 1000.0f);
        std::vector<float> out;
        Block b(512);
        for (int n = 0; n < 200 && out.size() < 100000; ++n) {
            std::fill(b.inL.begin(), b.inL.end(), 0.0f);
            std::fill(b.inR.begin(), b.inR.end(), 0.0f);
            if (n == 4) b.inL[0] = b.inR[0] = 1.0f;
            host->process(b.in(), b.out(), 512);
            out.insert(out.end(), b.outL.begin(), b.outL.end());
        }
        size_t peak = 0;
        for (size_t i = 0; i < out.size(); ++i)
            if (std::fabs(out[i]) > std::fabs(out[peak])) peak = i;
        return static_cast<long>(peak) - 4 * 512;
    };
    // Step 16 of a one-shot delay sounds after 2 x 1/4 beat; at 120 BPM that is 11025 samples.
    EXPECT_NEAR(echoDelay(false, 90.0), 11025, 3);
    EXPECT_NEAR(echoDelay(true, 120.0), 11025, 3);
    EXPECT_NEAR(echoDelay(true, 60.0), 22050, 3);
}

TEST(TraceLog, ConstructionAndDestructionLeaveTheirLinesInOrder) {
    std::string folder = privateDataFolder();
    { auto host = loadNimbrel(); ASSERT_TRUE(host); host->start(48000.0f, 128); }
    std::string log = readFile(folder + "/NimbrelLog.txt");
    const char* expected[] = {"Logfile created on ", "OvAudio::OvAudio start", "nimbrel host", "Host version: 1",
                              "OvAudio::OvAudio end", "OvAudio::setSampleRate start",
                              "OvAudio::setSampleRate end", "OvAudio::~OvAudiostart", "OvAudio::mark1",
                              "OvAudio::mark2", "OvAudio::mark3", "OvAudio::~OvAudio end"};
    size_t at = 0;
    for (const char* line : expected) {
        size_t found = log.find(line, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << log;
        at = found;
    }
    // Header: "Logfile created on D M YYYY" then "H:M:S"; later lines "S U ms  \t" and the text.
    std::istringstream lines(log);
    std::string first, second, third;
    std::getline(lines, first);
    std::getline(lines, second);
    std::getline(lines, third);
    int d = 0, m = 0, y = 0, h = -1, mi = -1, s = -1;
    EXPECT_EQ(std::sscanf(first.c_str(), "Logfile created on %d %d %d", &d, &m, &y), 3);
    EXPECT_TRUE(d >= 1 && d <= 31 && m >= 1 && m <= 12 && y >= 2000) << first;
    EXPECT_EQ(std::sscanf(second.c_str(), "%d:%d:%d", &h, &mi, &s), 3) << second;
    EXPECT_NE(third.find(" ms  \tOvAudio::OvAudio start"), std::string::npos) << third;
}

TEST(TraceLog, AFolderThatCannotBeWrittenDropsLinesQuietly) {
    privateDataFolder();
    std::string saved = std::getenv("NIMBREL_DATA_DIR");
    setenv("NIMBREL_DATA_DIR", "/proc/nimbrel-cannot-exist/log", 1);
    {
        auto host = loadNimbrel();
        ASSERT_TRUE(host);
        host->start(44100.0f, 64);
    }
    setenv("NIMBREL_DATA_DIR", saved.c_str(), 1);
}

// A plug-in nobody here wrote loads through the same host and answers sensibly:
// our interface declarations match what other Linux plug-ins were built against.
TEST(ThirdParty, AnotherLinuxVst2PluginLoadsThroughTheSameHost) {
    const char* path = "/usr/lib/lxvst/DragonflyRoomReverb-vst.so";
    if (access(path, R_OK) != 0) GTEST_SKIP() << "dragonfly-reverb-vst is not installed";
    std::string error;
    auto host = PluginHost::load(path, error);
    ASSERT_TRUE(host) << error;
    AEffect* e = host->effect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_GT(e->numParams, 5);
    EXPECT_NE(host->textQuery(effGetEffectName).find("Room"), std::string::npos) << host->textQuery(effGetEffectName);
    EXPECT_FALSE(host->textQuery(effGetVendorString).empty());
    for (int i = 0; i < e->numParams; ++i) {
        EXPECT_FALSE(host->parameterName(i).empty()) << i;
        float v = host->getParameter(i);
        EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << i;
    }
    host->start(44100.0f, 256);
    Block b(256);
    b.inL[0] = b.inR[0] = 1.0f;
    for (int n = 0; n < 20; ++n) host->process(b.in(), b.out(), 256);
    for (float v : b.outL) ASSERT_TRUE(std::isfinite(v));
}

}  // namespace
