// The open editor shared between a host's two threads: the audio thread
// renders and automates while the user-interface thread serves the window
// and the user steps through programs. Meant for the thread-sanitizer stage;
// the checks also hold in a plain build.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "host/parameters.h"
#include "window_host.h"

namespace e2e {
namespace {

class EditorThreads : public EditorWindow {
protected:
    // Renders blocks of noise-like input on its own thread until stopped,
    // calling `beforeBlock(block)` first, as a host applies automation.
    template <typename F>
    void renderWhile(F beforeBlock, std::atomic<bool>& stop, bool& finite) {
        std::vector<float> inL(256), inR(256), outL(256), outR(256);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        finite = true;
        for (int block = 0; !stop; ++block) {
            beforeBlock(block);
            for (int i = 0; i < 256; ++i) {
                inL[i] = 0.5f * std::sin(0.031f * static_cast<float>(block * 256 + i));
                inR[i] = ((block * 256 + i) % 97 == 0) ? 0.8f : 0.0f;
            }
            host->process(in, out, 256);
            for (int i = 0; i < 256; ++i)
                if (!std::isfinite(outL[i]) || !std::isfinite(outR[i])) finite = false;
        }
    }
};

TEST_F(EditorThreads, HostAutomationFromTheAudioThreadReachesTheOpenWindow) {
    openEditor();
    const LayoutRect knob = controlRect(param::RSize);
    host->setParameter(param::RSize, 1.0f);
    idle();
    const Picture atOne = grab(knob);
    host->setParameter(param::RSize, 0.0f);
    idle();
    ASSERT_NE(grab(knob), atOne);

    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    bool finite = true;
    std::thread audio([&] {
        renderWhile(
            [&](int block) {
                for (int p = 0; p < 63; p += 3) host->setParameter(p, static_cast<float>((block + p) % 11) / 10.0f);
                host->setParameter(param::RSize, static_cast<float>(block % 5) / 4.0f);
                ++blocks;
            },
            stop, finite);
        // The last word: the room size knob ends at the top.
        host->setParameter(param::RSize, 1.0f);
    });
    // The window is served and the pointer wanders over the knobs meanwhile.
    for (int i = 0; blocks < 150 || i < 40; ++i) {
        moveTo(100 + (i * 37) % 400, 200 + (i * 23) % 300);
        idle(2);
    }
    stop = true;
    audio.join();
    EXPECT_TRUE(finite);
    idle();
    EXPECT_EQ(host->getParameter(param::RSize), 1.0f);
    EXPECT_EQ(grab(knob), atOne) << "the knob does not show the last automation";
    closeEditor();
}

TEST_F(EditorThreads, ProgramSwitchesFromTheEditorWhileAudioRenders) {
    openEditor();
    host->setProgram(0);
    idle();
    std::atomic<bool> stop{false};
    bool finite = true;
    std::thread audio([&] { renderWhile([](int) {}, stop, finite); });

    for (int i = 0; i < 20; ++i) clickControl(ctag::NextProgram);
    EXPECT_EQ(host->program(), 20);
    // The program menu too: a random patch replaces the program shown.
    chooseMainMenuEntry(9);  // "Random reverb"
    idle();
    EXPECT_EQ(host->programName(), "Random reverb");
    for (int i = 0; i < 5; ++i) clickControl(ctag::PreviousProgram);
    EXPECT_EQ(host->program(), 15);

    stop = true;
    audio.join();
    EXPECT_TRUE(finite);
    EXPECT_EQ(host->programNameIndexed(20), "Random reverb");
    closeEditor();
}

TEST_F(EditorThreads, OpeningAndClosingWhileTheAudioThreadAutomatesAndSwitchesPrograms) {
    std::atomic<bool> stop{false};
    bool finite = true;
    std::thread audio([&] {
        renderWhile(
            [&](int block) {
                host->setParameter(block % 63, static_cast<float>(block % 9) / 8.0f);
                // A MIDI program change now and then, applied on this thread.
                if (block % 16 == 0) host->sendMidi(0xC0, static_cast<uint8_t>((block / 16) % 128), 0, 0);
            },
            stop, finite);
    });
    const LayoutRect wet = wetOnlyRect();
    for (int round = 0; round < 6; ++round) {
        openEditor();
        idle(4);
        // The wet-only button changes what the audio thread mixes, while held.
        moveTo(static_cast<int>(wet.left + 5), static_cast<int>(wet.top + 5));
        press();
        idle(4);
        release();
        clickControl(ctag::NextProgram);
        closeEditor();
        host->dispatch(effEditIdle);  // a late timer tick after close does nothing
    }
    stop = true;
    audio.join();
    EXPECT_TRUE(finite);
    // After all that the window still follows the instance.
    openEditor();
    const int program = host->program();
    clickControl(ctag::NextProgram);
    EXPECT_EQ(host->program(), std::min(program + 1, 179));
    closeEditor();
}

}  // namespace
}  // namespace e2e
