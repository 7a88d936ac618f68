// The editor's model when the editor is an LV2 UI: what it writes to the host
// (ports through write_function, messages to the plug-in's control port) for
// each thing the editor does, and what it makes of what the host and the
// plug-in send back. The editor itself is opened offscreen where its controls
// are checked.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/ov_editor.h"
#include "host/ov_core.h"
#include "lv2/ports.h"
#include "lv2/ui_model.h"
#include "presets/core_access.h"
#include "presets/program_images.h"
#include "resources/resource_ids.h"
#include "tests/common/private_data_folder.h"
#include "tests/lv2/lv2_host.h"

using namespace lv2ports;

namespace {

// What a host records of the UI's calls.
struct FakeHost {
    struct Write {
        uint32_t port;
        uint32_t protocol;
        std::vector<uint8_t> bytes;
        float value() const {
            float v;
            std::memcpy(&v, bytes.data(), sizeof v);
            return v;
        }
    };
    lv2test::UridMap urids;
    lv2msg::Urids u;
    std::vector<Write> writes;
    std::vector<std::pair<uint32_t, bool>> touches;
    std::vector<std::pair<int, int>> sizes;
    LV2UI_Resize resize{this, &FakeHost::resizeTo};
    LV2UI_Touch touch{this, &FakeHost::touchPort};

    FakeHost() { u.mapAll(&urids.map); }
    UiHost host(bool withTouch = true) {
        UiHost h;
        h.write = &FakeHost::write;
        h.controller = this;
        h.map = &urids.map;
        h.resize = &resize;
        h.touch = withTouch ? &touch : nullptr;
        return h;
    }
    static void write(LV2UI_Controller c, uint32_t port, uint32_t size, uint32_t protocol, const void* buffer) {
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        static_cast<FakeHost*>(c)->writes.push_back({port, protocol, std::vector<uint8_t>(bytes, bytes + size)});
    }
    static int resizeTo(LV2UI_Feature_Handle h, int width, int height) {
        static_cast<FakeHost*>(h)->sizes.emplace_back(width, height);
        return 0;
    }
    static void touchPort(LV2UI_Feature_Handle h, uint32_t port, bool grabbed) {
        static_cast<FakeHost*>(h)->touches.emplace_back(port, grabbed);
    }

    // The port writes (float protocol) by port, the last value of each.
    std::map<uint32_t, float> portWrites() const {
        std::map<uint32_t, float> out;
        for (const Write& w : writes)
            if (w.protocol == 0) out[w.port] = w.value();
        return out;
    }
    // The messages to the plug-in, as atoms on the control port.
    std::vector<const LV2_Atom*> messages() const {
        std::vector<const LV2_Atom*> out;
        for (const Write& w : writes) {
            if (w.protocol != 0) {
                EXPECT_EQ(w.protocol, u.atomEventTransfer);
                EXPECT_EQ(w.port, static_cast<uint32_t>(kControlIn));
                out.push_back(reinterpret_cast<const LV2_Atom*>(w.bytes.data()));
            }
        }
        return out;
    }
    std::vector<lv2msg::ProgramMessage> programMessages() const {
        std::vector<lv2msg::ProgramMessage> out;
        for (const LV2_Atom* a : messages()) {
            lv2msg::ProgramMessage m;
            if (lv2msg::readProgram(u, reinterpret_cast<const LV2_Atom_Object*>(a), m)) out.push_back(m);
        }
        return out;
    }
};

// The host's ports hold `values`, as port_event tells the UI when it opens.
void hostHolds(Lv2EditorModel& model, const float* values) {
    for (int i = 0; i < kNumParams; ++i) model.portValue(static_cast<uint32_t>(i), values[i]);
}

// A Program message from the plug-in, as port_event brings it on the notify port.
std::vector<uint8_t> programFromPlugin(FakeHost& host, int index, const char* name, const float* values) {
    std::vector<uint8_t> buffer(1024);
    LV2_Atom_Forge forge;
    lv2_atom_forge_init(&forge, &host.urids.map);
    lv2_atom_forge_set_buffer(&forge, buffer.data(), buffer.size());
    EXPECT_TRUE(lv2msg::forgeProgram(forge, host.u, index, name, values));
    return buffer;
}

TEST(Lv2UiModel, TheHostsPortsAndMetersReachTheCopy) {
    FakeHost fake;
    Lv2EditorModel model(fake.host());
    hostHolds(model, factoryPresets[30].values);
    for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(model.parameter(i), factoryPresets[30].values[i]);
    EXPECT_TRUE(model.takeWaveDisplayRequest());
    EXPECT_FALSE(model.takeWaveDisplayRequest());
    model.portValue(param::Mix, 0.25f);
    EXPECT_FALSE(model.takeWaveDisplayRequest());  // the picture is the reverb's alone
    model.portValue(param::RDecay, 0.25f);
    EXPECT_TRUE(model.takeWaveDisplayRequest());

    model.portValue(kMeterOutput, 7.0f);
    model.portValue(kMeterGate, 12.0f);
    model.portValue(kMeterDuck, std::nanf(""));
    EXPECT_EQ(model.meter(Meter::Output), 7);
    EXPECT_EQ(model.meter(Meter::Gate), 10);
    EXPECT_EQ(model.meter(Meter::Duck), 0);
    model.portValue(kMeterDuck, -3.0f);
    EXPECT_EQ(model.meter(Meter::Duck), 0);
    // Nothing the host said goes back to it.
    EXPECT_TRUE(fake.writes.empty());
}

TEST(Lv2UiModel, AnEditWritesItsPortWithinTheRangeAndTheGestureGoesToTouch) {
    FakeHost fake;
    Lv2EditorModel model(fake.host());
    model.beginEdit(param::RSize);
    model.editParameter(param::RSize, 0.8f);
    model.editParameter(param::RSize, 1.0007f);  // a random program's hair above 1
    model.editParameter(param::RSize, -0.5f);
    model.endEdit(param::RSize);
    ASSERT_EQ(fake.writes.size(), 3u);
    EXPECT_EQ(fake.writes[0].port, static_cast<uint32_t>(param::RSize));
    EXPECT_EQ(fake.writes[0].value(), 0.8f);
    EXPECT_EQ(fake.writes[1].value(), 1.0f);
    EXPECT_EQ(fake.writes[2].value(), 0.0f);
    EXPECT_EQ(model.parameter(param::RSize), 0.0f);
    EXPECT_EQ(fake.touches, (std::vector<std::pair<uint32_t, bool>>{{param::RSize, true}, {param::RSize, false}}));
    // Command tags are no ports.
    model.beginEdit(200);
    EXPECT_EQ(fake.touches.size(), 2u);

    FakeHost noTouch;
    Lv2EditorModel plain(noTouch.host(false));
    plain.beginEdit(param::Mix);
    plain.editParameter(param::Mix, 0.3f);
    plain.endEdit(param::Mix);
    EXPECT_EQ(noTouch.writes.size(), 1u);
}

TEST(Lv2UiModel, AProgramWritesTheChangedPortsAndTellsThePluginItsNumberAndName) {
    FakeHost fake;
    Lv2EditorModel model(fake.host());
    hostHolds(model, factoryPresets[30].values);
    model.takeProgramListRequest();
    model.selectProgram(31);
    std::map<uint32_t, float> expected;
    for (int i = 0; i < kNumParams; ++i)
        if (factoryPresets[31].values[i] != factoryPresets[30].values[i]) expected[i] = factoryPresets[31].values[i];
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(fake.portWrites(), expected);
    for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(model.parameter(i), factoryPresets[31].values[i]);
    const auto programs = fake.programMessages();
    ASSERT_EQ(programs.size(), 1u);
    EXPECT_EQ(programs[0].index, 31);
    EXPECT_STREQ(programs[0].name, factoryPresets[31].name);
    EXPECT_FALSE(programs[0].hasValues);  // the values go through the ports
    EXPECT_EQ(model.currentProgram(), 31);
    EXPECT_TRUE(model.takeProgramListRequest());
    EXPECT_TRUE(model.takeWaveDisplayRequest());

    // Out of range: the nearest program.
    model.selectProgram(500);
    EXPECT_EQ(model.currentProgram(), kNumPrograms - 1);
    model.selectProgram(-2);
    EXPECT_EQ(model.currentProgram(), 0);
}

TEST(Lv2UiModel, InitAndRandomProgramsAreWrittenWholeWithinThePortsRange) {
    FakeHost fake;
    Lv2EditorModel model(fake.host());
    hostHolds(model, factoryPresets[0].values);
    for (ProgramCommand c : {ProgramCommand::InitReverb, ProgramCommand::InitDelay, ProgramCommand::RandomReverb,
                             ProgramCommand::RandomDelay}) {
        fake.writes.clear();
        model.runProgramCommand(c, 12);
        EXPECT_EQ(model.currentProgram(), 12);
        // The ports now hold the program the editor shows.
        for (int i = 0; i < kNumParams; ++i) {
            EXPECT_EQ(model.hostValue(i), model.parameter(i)) << i;
            EXPECT_TRUE(model.parameter(i) >= 0.0f && model.parameter(i) <= 1.0f) << i;
        }
        const auto programs = fake.programMessages();
        ASSERT_EQ(programs.size(), 1u);
        EXPECT_EQ(programs[0].index, 12);
        EXPECT_STREQ(programs[0].name, model.storedName(12));
    }
    EXPECT_STREQ(model.storedName(12), "Random delay");
    // A stored value a hair above 1 reaches the port as 1.
    float values[kNumParams];
    std::memcpy(values, factoryPresets[5].values, sizeof values);
    values[param::RSize] = 1.00073f;
    model.storeProgram(5, "Hair", values, kNumParams);
    model.selectProgram(5);
    EXPECT_EQ(model.hostValue(param::RSize), 1.0f);
}

TEST(Lv2UiModel, ThePluginsProgramMovesTheEditorWithoutAnEcho) {
    privateDataFolder();
    FakeHost fake;
    Lv2EditorModel model(fake.host());
    OvEditor editor(model);
    model.attach(&editor);
    ASSERT_TRUE(editor.open(nullptr));  // offscreen
    hostHolds(model, factoryPresets[0].values);
    editor.idle();
    // The editor refreshed its list, but the UI has nothing to tell the plug-in yet.
    EXPECT_TRUE(fake.messages().empty());

    // A MIDI Program Change in the plug-in: its program and the values that sound.
    const std::vector<uint8_t> message = programFromPlugin(fake, 57, "REV Room Cheap", factoryPresets[57].values);
    model.pluginMessage(reinterpret_cast<const LV2_Atom*>(message.data()));
    editor.idle();
    EXPECT_EQ(model.currentProgram(), 57);
    EXPECT_EQ(editor.programMenu->getCurrent(), 57);
    EXPECT_STREQ(editor.programMenu->getEntryText(57), "REV Room Cheap");
    const int64_t decayKnob = editor.recordForTag(param::RDecay);
    ASSERT_GE(decayKnob, 0);
    EXPECT_EQ(editor.knobs[decayKnob]->getValue(), factoryPresets[57].values[param::RDecay]);
    // What the plug-in said is not sent back, nor written to the host's ports.
    EXPECT_TRUE(fake.writes.empty());

    // A restored session: the plug-in's own name for the program.
    const std::vector<uint8_t> renamed = programFromPlugin(fake, 57, "My room", nullptr);
    model.pluginMessage(reinterpret_cast<const LV2_Atom*>(renamed.data()));
    editor.idle();
    EXPECT_STREQ(editor.programMenu->getEntryText(57), "My room");
    EXPECT_TRUE(fake.writes.empty());

    // Damaged messages change nothing.
    const std::vector<uint8_t> beyond = programFromPlugin(fake, kNumPrograms, "Beyond", nullptr);
    model.pluginMessage(reinterpret_cast<const LV2_Atom*>(beyond.data()));
    model.pluginMessage(nullptr);
    EXPECT_EQ(model.currentProgram(), 57);

    // A knob turned in the editor is written; a name given by a file is told.
    model.editParameter(param::Mix, 0.125f);
    EXPECT_EQ(fake.portWrites().at(param::Mix), 0.125f);
    model.programFiles().setProgramName("From a file");
    ASSERT_EQ(fake.programMessages().size(), 1u);
    EXPECT_STREQ(fake.programMessages()[0].name, "From a file");
    model.updateDisplay();  // nothing new to tell
    EXPECT_EQ(fake.programMessages().size(), 1u);
    editor.close();
    model.attach(nullptr);
}

TEST(Lv2UiModel, ProgramAndBankFilesLoadThroughThePorts) {
    privateDataFolder();
    // The files as the VST 2 editor writes them from the same factory bank.
    auto core = std::make_unique<OvCore>();
    CoreProgramAccess coreFiles(*core);
    core->setProgram(42);
    std::vector<unsigned char> fxp(kImageBufferSize), fxb(kImageBufferSize);
    size_t fxpLength = 0, fxbLength = 0;
    ASSERT_TRUE(fxpSaveBytesToBuf(coreFiles, fxp.data(), fxp.size(), fxpLength));
    ASSERT_TRUE(fxbSaveBytesToBuf(coreFiles, fxb.data(), fxb.size(), fxbLength));

    FakeHost fake;
    Lv2EditorModel model(fake.host());
    hostHolds(model, factoryPresets[0].values);
    // The UI's bank is the factory bank: it saves the very bank image.
    std::vector<unsigned char> uiBank(kImageBufferSize);
    size_t uiBankLength = 0;
    ASSERT_TRUE(fxbSaveBytesToBuf(model.programFiles(), uiBank.data(), uiBank.size(), uiBankLength));
    ASSERT_EQ(uiBankLength, fxbLength);
    EXPECT_EQ(std::memcmp(uiBank.data(), fxb.data(), fxbLength), 0);

    // A program file: its name to the plug-in, its values to the ports that differ.
    ASSERT_TRUE(fxpLoadBytesFromBuf(model.programFiles(), fxp.data(), fxpLength));
    for (int i = 0; i < kNumParams; ++i) {
        EXPECT_EQ(model.parameter(i), factoryPresets[42].values[i]) << i;
        EXPECT_EQ(model.hostValue(i), factoryPresets[42].values[i]) << i;
    }
    ASSERT_FALSE(fake.programMessages().empty());
    EXPECT_STREQ(fake.programMessages().back().name, factoryPresets[42].name);
    EXPECT_EQ(fake.programMessages().back().index, 0);

    // A bank file: every stored program, then program 0 made current.
    std::vector<unsigned char> changed = fxb;
    // Program 0's name in the image becomes "Mine".
    std::memcpy(&changed[kBankHeaderSize + 28], "Mine\0\0\0\0", 8);
    fake.writes.clear();
    ASSERT_TRUE(fxbLoadBytesFromBuf(model.programFiles(), changed.data(), fxbLength));
    EXPECT_STREQ(model.storedName(0), "Mine");
    EXPECT_EQ(model.currentProgram(), 0);
    for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(model.hostValue(i), factoryPresets[0].values[i]) << i;
    ASSERT_EQ(fake.programMessages().size(), 1u);
    EXPECT_STREQ(fake.programMessages()[0].name, "Mine");
}

TEST(Lv2UiModel, TheWetOnlyButtonAndTheWindowSizeGoToThePluginAndTheHost) {
    FakeHost fake;
    Lv2EditorModel model(fake.host());
    model.setDryFactor(0.0f);
    ASSERT_EQ(fake.messages().size(), 1u);
    const auto* object = reinterpret_cast<const LV2_Atom_Object*>(fake.messages()[0]);
    float dry = -1.0f;
    EXPECT_TRUE(lv2msg::readMonitor(fake.u, object, dry));
    EXPECT_EQ(dry, 0.0f);
    model.requestProgram();
    ASSERT_EQ(fake.messages().size(), 2u);
    EXPECT_TRUE(lv2msg::isObjectOf(fake.u, fake.messages()[1], fake.u.programRequest));

    EXPECT_TRUE(model.resizeWindow(381, 178));
    EXPECT_EQ(fake.sizes, (std::vector<std::pair<int, int>>{{381, 178}}));
    UiHost noResize = fake.host();
    noResize.resize = nullptr;
    Lv2EditorModel fixed(noResize);
    EXPECT_FALSE(fixed.resizeWindow(381, 178));
}

}  // namespace
