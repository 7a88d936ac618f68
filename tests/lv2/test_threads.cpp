// The LV2 plug-in's state is saved by hosts while the audio thread runs it
// (save is not in the instantiation class): the program number and name that
// MIDI Program Changes and the editor change in run reach save whole, without
// a lock, and ThreadSanitizer sees no race (CI runs this under it).
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "lv2/lv2_plugin.h"
#include "tests/common/private_data_folder.h"
#include "tests/lv2/lv2_host.h"

namespace {

TEST(Lv2Threads, SaveWhileRunSeesWholeProgramsOnly) {
    privateDataFolder();
    lv2test::Instance fx(nimbrelLv2Descriptor(), lv2test::Instance::Setup{});
    ASSERT_TRUE(fx.ok());
    std::vector<float> buffer(256);
    fx.connectAll(buffer.data(), buffer.data(), buffer.data(), buffer.data());
    fx.activate();
    const lv2msg::Urids u = fx.u();

    std::atomic<bool> done{false};
    std::thread audio([&] {
        uint8_t message[512];
        LV2_Atom_Forge forge;
        lv2_atom_forge_init(&forge, &fx.urids.map);
        for (int block = 0; block < 3000; ++block) {
            if (block % 2 == 0) {
                fx.addMidi(block % 256, 0xC0, static_cast<uint8_t>(block % 128));
            } else {
                // The editor names program 150 after the block number, so that a torn
                // read would pair a number with another program's name.
                char name[kProgramNameSize];
                std::snprintf(name, sizeof name, "Edited %d", block);
                lv2_atom_forge_set_buffer(&forge, message, sizeof message);
                lv2msg::forgeProgram(forge, u, 150, name, nullptr);
                fx.addAtom(0, reinterpret_cast<const LV2_Atom*>(message));
            }
            fx.run(256);
        }
        done = true;
    });

    int saves = 0;
    std::vector<std::string> problems;
    while (!done) {
        lv2test::SavedState saved;
        if (fx.save(saved) != LV2_STATE_SUCCESS) {
            problems.push_back("save failed");
            continue;
        }
        ++saves;
        const int32_t index = *reinterpret_cast<const int32_t*>(saved.at(u.programIndex).bytes.data());
        const std::string name(reinterpret_cast<const char*>(saved.at(u.programName).bytes.data()));
        const bool edited = name.rfind("Edited ", 0) == 0;
        if (index == 150 ? !edited : (edited || name != factoryPresets[index].name))
            problems.push_back(std::to_string(index) + " named \"" + name + "\"");
    }
    audio.join();
    EXPECT_GT(saves, 0);
    EXPECT_TRUE(problems.empty()) << problems.size() << " torn saves, the first: " << problems.front();
}

// A host that saves right after restoring (Ardour saves a reloaded session at
// once, while the audio thread already runs) gets the restored program, never
// the one before: also while run is making it current.
TEST(Lv2Threads, ASaveAfterRestoreHoldsTheRestoredProgramWhileRunGoesOn) {
    privateDataFolder();
    lv2test::Instance fx(nimbrelLv2Descriptor(), lv2test::Instance::Setup{});
    ASSERT_TRUE(fx.ok());
    std::vector<float> buffer(4096);
    fx.connectAll(buffer.data(), buffer.data(), buffer.data(), buffer.data());
    fx.activate();
    const lv2msg::Urids u = fx.u();

    std::atomic<bool> done{false};
    std::atomic<int> runs{0};
    std::thread audio([&] {
        while (!done.load(std::memory_order_relaxed)) {
            fx.run(4096);
            runs.fetch_add(1, std::memory_order_release);
        }
    });
    std::vector<std::string> problems;
    for (int i = 1; i <= 150; ++i) {
        const int program = (i * 7) % kNumPrograms;
        ASSERT_EQ(fx.restore(fx.programState(program, factoryPresets[program].name)), LV2_STATE_SUCCESS);
        // Saves from before run takes the program until after a whole run has passed.
        const int runsBefore = runs.load(std::memory_order_acquire);
        while (runs.load(std::memory_order_acquire) < runsBefore + 2) {
            lv2test::SavedState saved;
            if (fx.save(saved) != LV2_STATE_SUCCESS) {
                problems.push_back("save failed");
                continue;
            }
            const int32_t index = *reinterpret_cast<const int32_t*>(saved.at(u.programIndex).bytes.data());
            if (index != program)
                problems.push_back("restored " + std::to_string(program) + ", saved " + std::to_string(index));
        }
    }
    done = true;
    audio.join();
    EXPECT_TRUE(problems.empty()) << problems.size() << " stale saves, the first: " << problems.front();
}

}  // namespace
