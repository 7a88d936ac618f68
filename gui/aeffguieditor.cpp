#include "gui/aeffguieditor.h"

#include "vst2/audioeffectx.h"

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect) {
    rect.top = rect.left = rect.bottom = rect.right = 0;
    if (effect) effect->setEditor(this);
}

AEffGUIEditor::~AEffGUIEditor() {
    if (frame) {
        VSTGUI::CFrame* old = frame;
        frame = nullptr;
        old->forget();
    }
}

bool AEffGUIEditor::getRect(ERect** r) {
    if (!r) return false;
    *r = &rect;
    return true;
}

bool AEffGUIEditor::open(void* ptr) {
    AEffEditor::open(ptr);
    return true;
}

void AEffGUIEditor::close() {
    if (frame) {
        VSTGUI::CFrame* old = frame;
        frame = nullptr;
        old->forget();
    }
    AEffEditor::close();
}

void AEffGUIEditor::idle() {
    if (frame) frame->idle();
}

void AEffGUIEditor::doIdleStuff() { idle(); }

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) {
    if (!frame) return false;
    VSTGUI::CKeyCode key;
    key.character = keyCode.character;
    key.virt = keyCode.virt;
    key.modifier = keyCode.modifier;
    return frame->onKeyDown(key) == 1;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) {
    if (!frame) return false;
    VSTGUI::CKeyCode key;
    key.character = keyCode.character;
    key.virt = keyCode.virt;
    key.modifier = keyCode.modifier;
    return frame->onKeyUp(key) == 1;
}

bool AEffGUIEditor::setKnobMode(int32_t val) {
    knobMode = val;
    return true;
}

// Controls carry command tags beside parameter indices; only a parameter's
// grab and release mean something to the host.
void AEffGUIEditor::beginEdit(long index) {
    if (effect && index >= 0 && index < effect->getNumParams())
        static_cast<AudioEffectX*>(effect)->beginEdit(static_cast<int32_t>(index));
}

void AEffGUIEditor::endEdit(long index) {
    if (effect && index >= 0 && index < effect->getNumParams())
        static_cast<AudioEffectX*>(effect)->endEdit(static_cast<int32_t>(index));
}
