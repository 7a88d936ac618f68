// The editor as a VST 2 host reaches it: attached by the plug-in's factory,
// the rectangle, the knob mode and keys through the dispatcher, a
// parameter control's grab and release reported to the host (a command
// button's not), and a window that closes with the instance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/layout.h"
#include "gui/coptionmenu.h"
#include "gui/cframe.h"
#include "tests/common/private_data_folder.h"
#include "tests/common/scoped_env.h"
#include "vst2/ov_vst_editor.h"
#include "vst2/ovaudio.h"

namespace {

std::vector<std::pair<int32_t, int32_t>> gHostCalls;  // opcode, index
std::vector<std::pair<int32_t, intptr_t>> gSizeRequests;  // width, height
bool gHostResizes = true;

intptr_t hostCallback(AEffect*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterCanDo) return gHostResizes && ptr && std::string(static_cast<const char*>(ptr)) == "sizeWindow";
    if (opcode != audioMasterGetTime) gHostCalls.push_back({opcode, index});
    if (opcode == audioMasterSizeWindow) {
        gSizeRequests.emplace_back(index, value);
        return 1;
    }
    return 0;
}

std::unique_ptr<OvAudio> makeEffect(OvAudio::EditorFactory factory = createOvVstEditor) {
    privateDataFolder();
    return std::make_unique<OvAudio>(hostCallback, factory);
}

const ControlRecord& recordNamed(const char* name) {
    for (int i = 0; i < kNumControlRecords; ++i)
        if (std::string(controlTabs[i].name) == name) return controlTabs[i];
    ADD_FAILURE() << "no control " << name;
    return controlTabs[0];
}

void press(VSTGUI::CFrame* frame, VSTGUI::CCoord x, VSTGUI::CCoord y, VSTGUI::CCoord releaseY) {
    VSTGUI::CPoint at(x, y);
    frame->onMouseDown(at, VSTGUI::kLButton);
    VSTGUI::CPoint to(x, releaseY);
    frame->onMouseMoved(to, VSTGUI::kLButton);
    frame->onMouseUp(to, VSTGUI::kLButton);
}

int count(int32_t opcode, int32_t index) {
    int n = 0;
    for (const auto& call : gHostCalls) n += call == std::make_pair(opcode, index);
    return n;
}

TEST(VstEditor, TheFactoryAttachesItAndTheHostReadsItsRectangleAndKnobMode) {
    auto effect = makeEffect();
    auto* glue = static_cast<OvVstEditor*>(effect->getEditor());
    ASSERT_NE(glue, nullptr);
    EXPECT_TRUE(effect->getAeffect()->flags & effFlagsHasEditor);
    ERect* r = nullptr;
    EXPECT_EQ(effect->dispatcher(effEditGetRect, 0, 0, &r, 0.f), 1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->left, 0);
    EXPECT_EQ(r->top, 0);
    EXPECT_EQ(r->right, glue->editor().getWidth());
    EXPECT_EQ(r->bottom, glue->editor().getHeight());
    EXPECT_GE(r->right, layout::kMinBackgroundWidth);
    EXPECT_EQ(glue->editor().getKnobMode(), VSTGUI::kLinearModeValue) << "linear until told otherwise";
    effect->dispatcher(effSetEditKnobMode, 0, 0, nullptr, 0.f);
    EXPECT_EQ(glue->editor().getKnobMode(), 0);
    // The host keeps the keys it hands on, whatever number it sends as the modifiers.
    glue->editor().open(nullptr);
    for (float modifiers : {0.0f, 1.0f, 255.0f, 256.0f, 1e6f, -1.0f, NAN, INFINITY}) {
        EXPECT_EQ(effect->dispatcher(effEditKeyDown, 'a', 0, nullptr, modifiers), 0) << modifiers;
        EXPECT_EQ(effect->dispatcher(effEditKeyUp, 'a', 0, nullptr, modifiers), 0) << modifiers;
    }
}

TEST(VstEditor, OpeningWithoutAWindowToShowAnswersNoAndLeavesNothingOpen) {
    auto effect = makeEffect();
    auto* glue = static_cast<OvVstEditor*>(effect->getEditor());
    ASSERT_NE(glue, nullptr);
    EXPECT_EQ(effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.f), 0);
    EXPECT_FALSE(glue->isOpen());
    EXPECT_EQ(glue->editor().getFrame(), nullptr);
    // The host may still serve and close it as if it were open.
    effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.f);
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
    EXPECT_EQ(glue->editor().getFrame(), nullptr);
}

TEST(VstEditor, WithoutAFactoryThereIsNoEditor) {
    auto effect = makeEffect(nullptr);
    EXPECT_EQ(effect->getEditor(), nullptr);
    EXPECT_FALSE(effect->getAeffect()->flags & effFlagsHasEditor);
    EXPECT_EQ(effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.f), 0);
    effect->setParameter(param::Mix, 0.25f);  // nobody to tell: no harm
    EXPECT_EQ(effect->getParameter(param::Mix), 0.25f);
}

TEST(VstEditor, AParameterDragIsBracketedForTheHostACommandIsNot) {
    auto effect = makeEffect();
    auto* glue = static_cast<OvVstEditor*>(effect->getEditor());
    ASSERT_TRUE(glue->editor().open(nullptr));  // offscreen: no display here
    VSTGUI::CFrame* frame = glue->editor().getFrame();
    ASSERT_NE(frame, nullptr);

    const ControlRecord& decay = recordNamed("Reverb decay");
    gHostCalls.clear();
    const float before = effect->getParameter(param::RDecay);
    press(frame, decay.x, decay.y + 20, decay.y);  // a drag upwards on the knob
    EXPECT_EQ(count(audioMasterBeginEdit, param::RDecay), 1);
    EXPECT_EQ(count(audioMasterEndEdit, param::RDecay), 1);
    EXPECT_GE(count(audioMasterAutomate, param::RDecay), 1) << "the edit is recorded";
    EXPECT_NE(effect->getParameter(param::RDecay), before);
    ASSERT_FALSE(gHostCalls.empty());
    EXPECT_EQ(gHostCalls.front().first, audioMasterBeginEdit) << "the grab comes first";

    const ControlRecord& compact = recordNamed("Hide editor");
    gHostCalls.clear();
    press(frame, compact.x + 3, compact.y + 3, compact.y + 3);  // a command button
    EXPECT_EQ(count(audioMasterBeginEdit, static_cast<int32_t>(compact.tag)), 0);
    EXPECT_EQ(count(audioMasterEndEdit, static_cast<int32_t>(compact.tag)), 0);

    effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.f);
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
    EXPECT_EQ(glue->editor().getFrame(), nullptr);
    EXPECT_FALSE(glue->isOpen());
    // Opened again and left open: the instance's end takes the window along.
    glue->editor().open(nullptr);
}

// The host's factor through the vendor opcode: before opening it sizes the
// rectangle, while open it resizes the window through the host.
intptr_t sendScale(OvAudio& effect, float factor, int32_t index = kVendorScaleIndex, intptr_t value = kVendorScaleValue) {
    return effect.dispatcher(effVendorSpecific, index, value, nullptr, factor);
}

ERect rectOf(OvAudio& effect) {
    ERect* r = nullptr;
    effect.dispatcher(effEditGetRect, 0, 0, &r, 0.f);
    return r ? *r : ERect{};
}

TEST(VstEditor, TheHostsScaleFactorComesThroughTheVendorOpcode) {
    ScopedEnv env("NIMBREL_UI_SCALE", "1");
    privateDataFolder();
    std::remove(OvEditor::markerFilePath().c_str());  // the full window, whatever another case pressed
    ASSERT_EQ(kVendorScaleIndex, 0x50726553);
    ASSERT_EQ(kVendorScaleValue, 0x41654373);
    auto effect = makeEffect();
    EXPECT_EQ(rectOf(*effect).right, 860);
    EXPECT_EQ(sendScale(*effect, 2.0f), 1);
    EXPECT_EQ(rectOf(*effect).right, 1720);
    EXPECT_EQ(rectOf(*effect).bottom, 1096);
    // Nonsense is refused and leaves the rectangle alone; other vendors' opcodes are not ours.
    for (float bad : {0.0f, -1.0f, std::nanf(""), INFINITY, 1e20f}) EXPECT_EQ(sendScale(*effect, bad), 0) << bad;
    EXPECT_EQ(sendScale(*effect, 1.5f, kVendorScaleIndex, 0), 0);
    EXPECT_EQ(sendScale(*effect, 1.5f, 0, kVendorScaleValue), 0);
    EXPECT_EQ(rectOf(*effect).right, 1720);

    // Open: drawn at the factor, and a new one resizes through the host.
    gSizeRequests.clear();
    auto* glue = static_cast<OvVstEditor*>(effect->getEditor());
    ASSERT_TRUE(glue->editor().open(nullptr));  // headless: effEditOpen wants a window
    EXPECT_EQ(glue->editor().getFrame()->getScaleFactor(), 2.0);
    EXPECT_TRUE(gSizeRequests.empty());
    EXPECT_EQ(sendScale(*effect, 1.5f), 1);
    ASSERT_EQ(gSizeRequests.size(), 1u);
    EXPECT_EQ(gSizeRequests[0], std::make_pair(1290, intptr_t(822)));
    EXPECT_EQ(rectOf(*effect).right, 1290);
    // A host that cannot resize: the window keeps its size, drawn at the factor.
    gHostResizes = false;
    EXPECT_EQ(sendScale(*effect, 3.0f), 1);
    gHostResizes = true;
    EXPECT_EQ(gSizeRequests.size(), 1u);
    EXPECT_EQ(glue->editor().getFrame()->getScaleFactor(), 3.0);
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);

    auto plain = makeEffect(nullptr);
    EXPECT_EQ(sendScale(*plain, 2.0f), 0) << "no editor to take it";
}

TEST(VstEditor, KeysReachAnOpenListAndAreOtherwiseLeftToTheHost) {
    auto effect = makeEffect();
    auto* glue = static_cast<OvVstEditor*>(effect->getEditor());
    ASSERT_TRUE(glue->editor().open(nullptr));  // headless: effEditOpen wants a window
    VSTGUI::COptionMenu* list = glue->editor().programMenu;
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 0, VSTGUI::VKEY_ESCAPE, nullptr, 0.f), 0);
    ASSERT_TRUE(list->popup());
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 'q', 0, nullptr, 0.f), 0);
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 0, VSTGUI::VKEY_ESCAPE, nullptr, 0.f), 1);
    EXPECT_FALSE(list->isPopupOpen());
    ASSERT_TRUE(list->popup());
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 0, VSTGUI::VKEY_DOWN, nullptr, 0.f), 1);
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 0, VSTGUI::VKEY_DOWN, nullptr, 0.f), 1);
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 0, VSTGUI::VKEY_ENTER, nullptr, 0.f), 1);
    EXPECT_FALSE(list->isPopupOpen());
    EXPECT_EQ(effect->getProgram(), 1) << "the checked program 0, then one down";
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
}

}  // namespace
