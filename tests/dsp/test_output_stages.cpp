// The render path's output stages on their own: the stereo width of the wet
// signal, and the output meter's peak follower.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "dsp/peak_follower.h"
#include "dsp/stereo_width.h"

namespace {

struct Pair {
    std::vector<float> l, r;
};

// A stereo signal whose channels differ.
Pair signal() {
    Pair p;
    for (int i = 0; i < 64; ++i) {
        p.l.push_back(std::sin(0.3f * i));
        p.r.push_back(0.5f * std::cos(0.7f * i) - 0.2f);
    }
    return p;
}

Pair widened(float surround) {
    Pair p = signal();
    StereoWidth w;
    w.setSurround(surround);
    w.process(p.l.data(), p.r.data(), static_cast<int64_t>(p.l.size()));
    return p;
}

TEST(StereoWidth, TheMiddleOfTheControlLeavesTheSignalUntouched) {
    const Pair in = signal();
    for (float s : {0.4f, 0.5f, 0.6f}) {
        Pair out = widened(s);
        EXPECT_EQ(std::memcmp(out.l.data(), in.l.data(), in.l.size() * sizeof(float)), 0) << s;
        EXPECT_EQ(std::memcmp(out.r.data(), in.r.data(), in.r.size() * sizeof(float)), 0) << s;
    }
}

TEST(StereoWidth, FullWidthKeepsOnlyTheSideAndZeroIsMono) {
    const Pair in = signal();
    const Pair side = widened(1.0f), mono = widened(0.0f);
    for (size_t i = 0; i < in.l.size(); ++i) {
        const float s = (in.l[i] - in.r[i]) * 0.5f, m = (in.l[i] + in.r[i]) * 0.5f;
        EXPECT_NEAR(side.l[i], s, 1e-6f);
        EXPECT_NEAR(side.r[i], -s, 1e-6f);
        EXPECT_NEAR(mono.l[i], m, 1e-6f);
        EXPECT_NEAR(mono.r[i], m, 1e-6f);
    }
}

TEST(StereoWidth, WidthGrowsAndShrinksSteadily) {
    auto sideShare = [](const Pair& p) {
        double side = 0.0, mid = 0.0;
        for (size_t i = 0; i < p.l.size(); ++i) {
            side += std::fabs(p.l[i] - p.r[i]);
            mid += std::fabs(p.l[i] + p.r[i]);
        }
        return side / (side + mid);
    };
    double last = -1.0;
    for (float s : {0.0f, 0.1f, 0.2f, 0.3f, 0.39f, 0.5f, 0.61f, 0.7f, 0.8f, 0.9f, 1.0f}) {
        const double share = sideShare(widened(s));
        EXPECT_GE(share, last) << s;
        last = share;
    }
    EXPECT_NEAR(sideShare(widened(0.0f)), 0.0, 1e-6);
    EXPECT_NEAR(sideShare(widened(1.0f)), 1.0, 1e-6);
}

TEST(StereoWidth, OneSampleAtATimeGivesTheBlocksResult) {
    for (float s : {0.1f, 0.5f, 0.75f}) {
        Pair block = widened(s), single = signal();
        StereoWidth w;
        w.setSurround(s);
        for (size_t i = 0; i < single.l.size(); ++i) w.process(single.l[i], single.r[i]);
        EXPECT_EQ(std::memcmp(block.l.data(), single.l.data(), block.l.size() * sizeof(float)), 0) << s;
        EXPECT_EQ(std::memcmp(block.r.data(), single.r.data(), block.r.size() * sizeof(float)), 0) << s;
    }
}

TEST(PeakFollower, RisesAtOnceAndMetersTenthsOfTheSum) {
    PeakFollower p;
    p.setSampleRate(44100.0f);
    p.reset();
    p.process(0.3f, -0.25f);
    EXPECT_FLOAT_EQ(p.level, 0.55f);
    EXPECT_EQ(p.meterStep(), 5);
    p.process(0.1f, 0.1f);  // lower: it falls only a little
    EXPECT_GT(p.level, 0.549f);
    p.process(-0.9f, 0.9f);
    EXPECT_FLOAT_EQ(p.level, 1.8f);
    EXPECT_EQ(p.meterStep(), 18) << "the editor clamps what it shows";
    p.reset();
    EXPECT_EQ(p.level, 0.0f);
}

TEST(PeakFollower, FallsTheSameInASecondAtEveryRateAndDarkensTheMeter) {
    double after[2];
    int k = 0;
    for (float rate : {44100.0f, 88200.0f}) {
        PeakFollower p;
        p.setSampleRate(rate);
        p.reset();
        p.process(1.0f, 0.0f);
        for (int i = 0; i < static_cast<int>(rate / 10.0f); ++i) p.process(0.0f, 0.0f);
        after[k++] = p.level;
        for (int i = 0; i < static_cast<int>(rate); ++i) p.process(0.0f, 0.0f);
        EXPECT_EQ(p.meterStep(), 0) << rate;
        EXPECT_GT(p.level, 0.0f) << "it never quite reaches zero";
    }
    // About exp(-1.1) of the peak after 0.1 s at both rates.
    EXPECT_NEAR(after[0], std::exp(-1.1), 0.01);
    EXPECT_NEAR(after[1], after[0], 0.01);
}

}  // namespace
