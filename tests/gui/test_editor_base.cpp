// The editor base between the plug-in interface and the toolkit: attachment,
// rectangle, knob mode, and a control's grab/release reaching the host.
#include <gtest/gtest.h>

#include "gui/aeffguieditor.h"
#include "support.h"
#include "vst2/audioeffectx.h"

using namespace guitest;

namespace {

std::vector<std::pair<int32_t, int32_t>> gHostCalls;  // opcode, index

intptr_t hostCallback(AEffect*, int32_t opcode, int32_t index, intptr_t, void*, float) {
    gHostCalls.push_back({opcode, index});
    return 0;
}

class Effect : public AudioEffectX {
public:
    Effect() : AudioEffectX(hostCallback, 1, 68) {}
    void processReplacing(float**, float**, int32_t) override {}
};

class Editor : public AEffGUIEditor {
public:
    explicit Editor(AudioEffect* e) : AEffGUIEditor(e) {
        rect.right = 300;
        rect.bottom = 200;
    }
    bool open(void* ptr) override {
        AEffGUIEditor::open(ptr);
        frame = new VSTGUI::CFrame(CRect(0, 0, 300, 200), ptr, this);
        knob = new CKnob(CRect(0, 0, 40, 40), &listener, 12);
        command = new CKickButton(CRect(50, 0, 70, 20), &listener, 105, nullptr);
        frame->addView(knob);
        frame->addView(command);
        return true;
    }
    VSTGUI::CFrame* theFrame() { return frame; }
    CKnob* knob = nullptr;
    CKickButton* command = nullptr;
    RecordingListener listener;
};

TEST(EditorBase, AttachesToEffectAndAnswersRectAndKnobMode) {
    Effect* effect = new Effect;
    Editor* editor = new Editor(effect);
    EXPECT_EQ(effect->getEditor(), editor);
    EXPECT_TRUE(effect->getAeffect()->flags & effFlagsHasEditor);
    ERect* r = nullptr;
    EXPECT_EQ(effect->dispatcher(effEditGetRect, 0, 0, &r, 0.f), 1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->right, 300);
    EXPECT_EQ(r->bottom, 200);
    EXPECT_EQ(editor->getKnobMode(), 2);  // linear until told otherwise
    effect->dispatcher(effSetEditKnobMode, 0, 0, nullptr, 0.f);
    EXPECT_EQ(editor->getKnobMode(), 0);
    delete effect;  // deletes the editor
}

TEST(EditorBase, ParameterGrabAndReleaseReachTheHostCommandsDoNot) {
    Effect* effect = new Effect;
    Editor* editor = new Editor(effect);
    effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.f);  // no window: an offscreen frame
    ASSERT_NE(editor->theFrame(), nullptr);
    VSTGUI::CFrame* frame = editor->theFrame();
    gHostCalls.clear();
    down(frame, 20, 20);
    move(frame, 20, 10);
    up(frame, 20, 10);
    ASSERT_EQ(gHostCalls.size(), 2u);
    EXPECT_EQ(gHostCalls[0], (std::pair<int32_t, int32_t>{audioMasterBeginEdit, 12}));
    EXPECT_EQ(gHostCalls[1], (std::pair<int32_t, int32_t>{audioMasterEndEdit, 12}));
    EXPECT_EQ(editor->listener.values().size(), 1u);

    gHostCalls.clear();
    click(frame, 60, 10);  // command tag 105: not a parameter
    EXPECT_TRUE(gHostCalls.empty());
    EXPECT_EQ(editor->listener.values().size(), 3u);

    effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.f);
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
    EXPECT_EQ(editor->theFrame(), nullptr);
    EXPECT_FALSE(editor->isOpen());
    // Open again and leave it open: the editor's end releases the frame.
    effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.f);
    delete effect;
}

}  // namespace
