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

}  // namespace
