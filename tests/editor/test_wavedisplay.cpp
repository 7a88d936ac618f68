// The wave display: the traces it computes for known reverb settings, what
// does and does not change them, how it draws them, and what it accepts when
// something is dropped on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "dsp/reverb.h"
#include "support.h"

using namespace VSTGUI;
using edtest::Instance;

namespace {

std::vector<float> traces(const Wavedisplay& w) {
    std::vector<float> t(w.topTrace, w.topTrace + 381);
    t.insert(t.end(), w.bottomTrace, w.bottomTrace + 381);
    return t;
}

void setReverb(OvAudio& fx, float size, float decay) {
    fx.setParameter(param::RSize, size);
    fx.setParameter(param::RDecay, decay);
}

// The response computed directly on a reverb of our own, with the display's
// settings written out: burst, 7000 Hz, and the argument mapping.
void expectedTraces(OvAudio& fx, std::vector<float>& top, std::vector<float>& bottom) {
    auto reverb = std::make_unique<Reverb>();
    std::vector<float> l(14000, 0.0f), r(14000, 0.0f);
    for (int j = 0; j < 32; ++j) l[j] = r[j] = static_cast<float>((32 - j) * (32 - j));
    reverb->samplerate = 7000.0f;
    reverb->reset();
    auto p = [&](int i) { return fx.getParameter(i); };
    reverb->universalReverbCalcEnhanced(l.data(), r.data(), 14000, 1.0f, p(param::RDecay), p(param::RSize),
                                        p(param::RPredel), p(param::RSwirl), p(param::RHiDamp),
                                        static_cast<float>(p(param::RLowDamp) * 0.1), 1.0f - 0.5f * p(param::RHiCut),
                                        static_cast<float>(p(param::RLowCut) * 0.1), 0.95f * p(param::RDiffuse) + 0.05f,
                                        1.0f, 0.5f);
    top.assign(381, 0.0f);
    bottom.assign(381, 0.0f);
    for (int x = 0; x < 381; ++x) {
        float t = 0.0f, b = 0.0f;
        for (int n = x * 36; n < x * 36 + 36; ++n) {
            t = std::max(t, std::min(std::fabs(l[n]) / 3.0f, 70.0f));
            b = std::max(b, std::min(std::fabs(r[n]) / 3.0f, 70.0f));
        }
        top[x] = t;
        bottom[x] = -b;
    }
}

}  // namespace

TEST(WaveDisplay, TracesAreTheReverbsResponseToTheBurst) {
    Instance in;
    for (int program : {0, 3, 57}) {
        in.fx->setProgram(program);
        in.editor->idle();
        std::vector<float> top, bottom;
        expectedTraces(*in.fx, top, bottom);
        const Wavedisplay& w = *in.editor->waveDisplay;
        for (int x = 0; x < 381; ++x) {
            ASSERT_EQ(w.topTrace[x], top[x]) << "program " << program << " column " << x;
            ASSERT_EQ(w.bottomTrace[x], bottom[x]) << "program " << program << " column " << x;
            ASSERT_GE(w.topTrace[x], 0.0f);
            ASSERT_LE(w.topTrace[x], 70.0f);
            ASSERT_LE(w.bottomTrace[x], 0.0f);
            ASSERT_GE(w.bottomTrace[x], -70.0f);
        }
        ASSERT_NE(in.editor->getDisplayReverb(), nullptr);
        EXPECT_EQ(in.editor->getDisplayReverb()->samplerate, 7000.0f);
    }
}

TEST(WaveDisplay, BurstIsClippedAndASmallShortRoomDiesAtOnce) {
    Instance in;
    in.fx->setParameter(param::RPredel, 0.0f);
    setReverb(*in.fx, 0.0f, 0.0f);
    in.editor->updateWaveDisplayData();
    const Wavedisplay& w = *in.editor->waveDisplay;
    float early = *std::max_element(w.topTrace, w.topTrace + 10);
    EXPECT_EQ(early, 70.0f) << "1024 at the peak is clipped to 70 pixels";
    EXPECT_LT(*std::max_element(w.topTrace + 40, w.topTrace + 381), 1.0f);
    EXPECT_GT(*std::min_element(w.bottomTrace + 40, w.bottomTrace + 381), -1.0f);

    // A large, long room still rings at the end of the two seconds.
    setReverb(*in.fx, 1.0f, 0.95f);
    in.editor->updateWaveDisplayData();
    EXPECT_GT(*std::max_element(w.topTrace + 300, w.topTrace + 381), 1.0f);
}

TEST(WaveDisplay, OnlyTheReverbsOwnControlsChangeThePicture) {
    Instance in;
    in.editor->updateWaveDisplayData();
    const std::vector<float> before = traces(*in.editor->waveDisplay);
    for (int p : {int(param::Mix), int(param::Volume), int(param::Surround), int(param::Route), int(param::MMix),
                  int(param::MTime), int(param::MFeedba), int(param::GThresh), int(param::DLevel), int(param::StepL4)}) {
        in.fx->setParameter(p, in.fx->getParameter(p) > 0.5f ? 0.1f : 0.9f);
    }
    in.editor->updateWaveDisplayData();
    EXPECT_EQ(traces(*in.editor->waveDisplay), before);
    // RMix is not passed either: the display always shows the full reverb.
    in.fx->setParameter(param::RMix, 0.2f);
    in.editor->updateWaveDisplayData();
    EXPECT_EQ(traces(*in.editor->waveDisplay), before);
    for (int p = param::RSize; p <= param::RSwirl; ++p) {
        const float old = in.fx->getParameter(p);
        in.fx->setParameter(p, old > 0.5f ? 0.05f : 0.95f);
        in.editor->updateWaveDisplayData();
        EXPECT_NE(traces(*in.editor->waveDisplay), before) << ParameterNameTab[p].shortName;
        in.fx->setParameter(p, old);
    }
}

TEST(WaveDisplay, ItsReverbLivesOnlyWhileTheWindowIsOpen) {
    Instance in(false);
    EXPECT_EQ(in.editor->getDisplayReverb(), nullptr);
    EXPECT_EQ(in.editor->getDisplayBufL(), nullptr);
    in.editor->updateWaveDisplayData();  // closed: nothing to draw, nothing made
    EXPECT_EQ(in.editor->getDisplayReverb(), nullptr);

    std::vector<float> top, bottom;
    for (int round = 0; round < 2; ++round) {
        in.fx->setProgram(3 + round);
        in.editor->open(nullptr);
        ASSERT_NE(in.editor->getDisplayReverb(), nullptr);
        // Small at its 7000 Hz: a fraction of what the audio reverb holds.
        EXPECT_LE(in.editor->getDisplayReverb()->residentBytes(), 128u * 1024u);
        // The host changes the rate while the window is open: the display
        // does not follow it, and the audio goes on.
        in.fx->suspend();
        in.fx->setSampleRate(round ? 192000.0f : 22050.0f);
        in.fx->resume();
        std::vector<float> l(512, 0.25f), r(512, -0.25f);
        float* io[2] = {l.data(), r.data()};
        in.fx->processReplacing(io, io, 512);
        in.editor->idle();
        expectedTraces(*in.fx, top, bottom);
        const Wavedisplay& w = *in.editor->waveDisplay;
        EXPECT_EQ(std::vector<float>(w.topTrace, w.topTrace + 381), top) << "round " << round;
        EXPECT_EQ(std::vector<float>(w.bottomTrace, w.bottomTrace + 381), bottom) << "round " << round;
        in.editor->close();
        EXPECT_EQ(in.editor->getDisplayReverb(), nullptr);
    }
}

TEST(WaveDisplay, TheAudioReverbIsNotTouched) {
    Instance in;
    in.fx->core.reverb.samplerate = 48000.0f;
    in.editor->updateWaveDisplayData();
    EXPECT_EQ(in.fx->core.reverb.samplerate, 48000.0f);
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(in.fx->core.reverb.line(n)[100], 0.0f);
}

TEST(WaveDisplay, DrawsTheEnvelopeOverTheBackground) {
    Instance in;
    setReverb(*in.fx, 0.8f, 0.8f);
    in.editor->idle();
    cairo_surface_t* picture = in.frame()->renderToSurface();
    ASSERT_NE(picture, nullptr);
    CBitmap back(CResourceDescription{128});
    const CRect view = in.editor->waveDisplay->getViewSize();
    const Wavedisplay& w = *in.editor->waveDisplay;
    const CCoord centre = view.top + view.height() - view.height() / 2;
    // Inside the envelope the picture is brighter than the background; well
    // outside it, it is the background (give or take the faint grid).
    auto luminance = [](const CColor& c) { return c.red + c.green + c.blue; };
    int brighter = 0, checked = 0;
    for (CCoord x = 20; x < 370; x += 7) {
        if (x % 19 == 0 || w.topTrace[x] < 6.0f) continue;
        CCoord y = centre - static_cast<CCoord>(w.topTrace[x] / 2);
        CColor shown = edtest::surfacePixel(picture, view.left + x, y);
        CColor under = back.getPixel(view.left + x, y);
        ++checked;
        if (luminance(shown) > luminance(under) + 30) ++brighter;
    }
    ASSERT_GT(checked, 10);
    EXPECT_GE(brighter, checked * 9 / 10);
    cairo_surface_destroy(picture);
}

namespace {

class OneItem : public CDragContainer {
public:
    OneItem(long type, bool empty = false) : type_(type), empty_(empty) {}
    void* first(long& size, long& type) override {
        if (empty_) return nullptr;
        size = 5;
        type = type_;
        return data_;
    }
    void* next(long&, long&) override { return nullptr; }
    long getType(long) const override { return type_; }
    long getCount() const override { return empty_ ? 0 : 1; }

private:
    long type_;
    bool empty_;
    char data_[8] = "/tmp/";
};

}  // namespace

TEST(WaveDisplay, AcceptsADroppedFileOnly) {
    CRect size(0, 0, 381, 142);
    Wavedisplay w(size, nullptr);
    OneItem file(kFile), text(kText), unknown(kUnknown), nothing(kFile, true);
    EXPECT_TRUE(w.onDrop(&file, CPoint(10, 10)));
    EXPECT_FALSE(w.onDrop(&text, CPoint(10, 10)));
    EXPECT_FALSE(w.onDrop(&unknown, CPoint(10, 10)));
    EXPECT_FALSE(w.onDrop(&nothing, CPoint(10, 10)));
    EXPECT_FALSE(w.onDrop(nullptr, CPoint(10, 10)));
    EXPECT_EQ(w.topTrace[0], 0.0f) << "traces start at zero";
    EXPECT_TRUE(w.getMouseEnabled()) << "the editor switches the mouse off, not the view";
}
