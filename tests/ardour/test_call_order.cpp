// Ardour's call orders, replayed in the test host, so that they are checked on every build
// (and under the sanitizers) even where Ardour is not installed:
// - before a bounce, Ardour has been running the plug-in on its live blocks (1024 frames of
//   silence while the transport stands), then suspends it, sets the bounce block size (8192)
//   and resumes it: the bounce must equal what a new instance renders;
// - its scanner sends nothing but zeros for the sample rate and the block size, and
//   suspends the plug-in without ever resuming it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "tools/vsthost/plugin_host.h"
#include "tests/common/private_data_folder.h"

namespace {

constexpr float kRate = 48000.0f;
constexpr int kLiveBlock = 1024;
constexpr int kBounceBlock = 8192;

struct Stereo {
    std::vector<float> left, right;
};

// Clicks and a decaying noise burst, then silence for the tails.
Stereo testSignal(int frames) {
    Stereo s{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
    uint32_t state = 2024u;
    for (int i = 0; i < frames; ++i) {
        state = state * 1664525u + 1013904223u;
        const float noise = static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
        const float t = static_cast<float>(i) / kRate;
        if (t >= 0.2f && t < 0.6f) {
            s.left[i] = 0.4f * std::exp((0.2f - t) * 8.0f) * noise;
            s.right[i] = -0.5f * s.left[i];
        }
    }
    s.left[0] = 0.9f;
    s.right[4800] = -0.7f;
    return s;
}

std::unique_ptr<PluginHost> load() {
    privateDataFolder();
    std::string error;
    auto host = PluginHost::load(NIMBREL_PLUGIN_PATH, error);
    EXPECT_TRUE(host) << error;
    if (host) {
        // Ardour's time information at a standing transport: 120 BPM, 4/4.
        host->timeInfo.tempo = 120.0;
        host->timeInfo.sampleRate = kRate;
        host->timeInfo.timeSigNumerator = 4;
        host->timeInfo.timeSigDenominator = 4;
        host->timeInfo.flags = kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
    }
    return host;
}

// A factory program with the multitap's detune running, then a few changes, as the
// Ardour session sets them.
void configure(PluginHost& host) {
    host.setProgram(3);
    host.setParameter(6, 0.7f);     // RSize
    host.setParameter(22, 0.3f);    // MTime
    host.setParameter(23, 0.625f);  // MFeedba
    host.setParameter(0, 0.55f);    // Mix
}

Stereo render(PluginHost& host, const Stereo& in, int block) {
    const int frames = static_cast<int>(in.left.size());
    Stereo out{std::vector<float>(frames), std::vector<float>(frames)};
    std::vector<float> inL(block), inR(block);
    for (int pos = 0; pos < frames; pos += block) {
        const int n = frames - pos < block ? frames - pos : block;
        std::copy(in.left.begin() + pos, in.left.begin() + pos + n, inL.begin());
        std::copy(in.right.begin() + pos, in.right.begin() + pos + n, inR.begin());
        float* ins[2] = {inL.data(), inR.data()};
        float* outs[2] = {out.left.data() + pos, out.right.data() + pos};
        host.process(ins, outs, n);
    }
    return out;
}

// Bit for bit; the first differing frame in the message.
void expectSameBits(const Stereo& a, const Stereo& b) {
    ASSERT_EQ(a.left.size(), b.left.size());
    for (size_t i = 0; i < a.left.size(); ++i) {
        if (a.left[i] != b.left[i] || a.right[i] != b.right[i]) {
            ADD_FAILURE() << "first difference at frame " << i << ": " << a.left[i] << "/" << a.right[i]
                          << " against " << b.left[i] << "/" << b.right[i];
            return;
        }
    }
}

TEST(ArdourCallOrder, BounceAfterLivePlaybackRendersAsANewInstance) {
    const Stereo input = testSignal(static_cast<int>(kRate * 2));

    auto fresh = load();
    ASSERT_TRUE(fresh);
    fresh->start(kRate, kBounceBlock);
    configure(*fresh);
    const Stereo expected = render(*fresh, input, kBounceBlock);

    auto played = load();
    ASSERT_TRUE(played);
    played->start(kRate, kLiveBlock);
    configure(*played);
    // Live blocks while the transport stands: silence in, settings already in place.
    render(*played, Stereo{std::vector<float>(kLiveBlock * 30, 0.0f), std::vector<float>(kLiveBlock * 30, 0.0f)},
           kLiveBlock);
    // The bounce: suspend, the bounce block size, resume.
    played->suspend();
    played->dispatch(effSetBlockSize, 0, kBounceBlock);
    played->resume();
    const Stereo bounced = render(*played, input, kBounceBlock);

    expectSameBits(bounced, expected);
}

TEST(ArdourCallOrder, ScannerZerosAndSuspendLeaveTheInstanceWhole) {
    const Stereo input = testSignal(static_cast<int>(kRate));

    // Neither instance is told a sample rate afterwards: both run at the plug-in's own
    // default, unless the scanner's zero rate got in.
    auto fresh = load();
    ASSERT_TRUE(fresh);
    fresh->dispatch(effSetBlockSize, 0, 512);
    fresh->resume();
    configure(*fresh);
    const Stereo expected = render(*fresh, input, 512);

    // A scanner's visit: rate 0, block size 0, suspended without a resume. A host that
    // goes on to use the same instance must find it as good as new.
    auto scanned = load();
    ASSERT_TRUE(scanned);
    scanned->dispatch(effSetSampleRate, 0, 0, nullptr, 0.0f);
    scanned->dispatch(effSetBlockSize, 0, 0);
    scanned->suspend();
    scanned->dispatch(effSetBlockSize, 0, 512);
    scanned->resume();
    configure(*scanned);
    const Stereo out = render(*scanned, input, 512);

    for (size_t i = 0; i < out.left.size(); ++i)
        ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i])) << "frame " << i;
    expectSameBits(out, expected);
}

}  // namespace
