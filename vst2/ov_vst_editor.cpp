#include "vst2/ov_vst_editor.h"

#include "gui/cframe.h"
#include "vst2/ovaudio.h"

// ---- the model ------------------------------------------------------------

OvAudioEditorModel::OvAudioEditorModel(OvAudio& effect) : effect_(effect), files_(effect.core) {}

float OvAudioEditorModel::parameter(int index) { return effect_.getParameter(index); }

void OvAudioEditorModel::editParameter(int index, float value) { effect_.setParameterAutomated(index, value); }

void OvAudioEditorModel::beginEdit(int index) { effect_.beginEdit(index); }

void OvAudioEditorModel::endEdit(int index) { effect_.endEdit(index); }

int OvAudioEditorModel::currentProgram() { return effect_.getProgram(); }

void OvAudioEditorModel::selectProgram(int index) { effect_.setProgramS(index); }

void OvAudioEditorModel::programName(int index, char* name) { effect_.core.getProgramNameIndexed(index, name); }

void OvAudioEditorModel::runProgramCommand(ProgramCommand command, int index) {
    effect_.core.runProgramCommand(command, index);
}

void OvAudioEditorModel::updateDisplay() { effect_.updateDisplay(); }

bool OvAudioEditorModel::takeProgramListRequest() { return effect_.core.refreshProgramList.exchange(false); }

bool OvAudioEditorModel::takeWaveDisplayRequest() { return effect_.core.refreshWaveDisplay.exchange(false); }

void OvAudioEditorModel::requestWaveDisplay() { effect_.core.refreshWaveDisplay = true; }

int64_t OvAudioEditorModel::meter(Meter which) {
    switch (which) {
    case Meter::Output: return effect_.core.outputMeter;
    case Meter::Gate: return effect_.core.gateMeter;
    case Meter::Duck: return effect_.core.duckMeter;
    }
    return 0;
}

void OvAudioEditorModel::setDryFactor(float factor) { effect_.core.dryFactor = factor; }

bool OvAudioEditorModel::resizeWindow(int width, int height) {
    return effect_.canHostDo("sizeWindow") && effect_.sizeWindow(width, height);
}

// ---- the host's editor opcodes --------------------------------------------

namespace {

VSTGUI::CKeyCode toolkitKey(const VstKeyCode& key) {
    VSTGUI::CKeyCode k;
    k.character = key.character;
    k.virt = key.virt;
    k.modifier = key.modifier;
    return k;
}

}  // namespace

OvVstEditor::OvVstEditor(OvAudio& effect)
    : AEffEditor(&effect), model_(effect), editor_(std::make_unique<OvEditor>(model_)) {}

OvVstEditor::~OvVstEditor() = default;

bool OvVstEditor::getRect(ERect** rect) {
    if (!rect) return false;
    // At the largest scale the window is 4 x 860 pixels wide: well within the record's 16 bits.
    rect_.top = 0;
    rect_.left = 0;
    rect_.bottom = static_cast<int16_t>(editor_->getHeight());
    rect_.right = static_cast<int16_t>(editor_->getWidth());
    *rect = &rect_;
    return true;
}

bool OvVstEditor::open(void* ptr) {
    AEffEditor::open(ptr);
    // Open only when a window the host can show was made: with no parent, a
    // parent that is no window, or no display, nothing is left behind.
    if (editor_->open(ptr) && editor_->getFrame() && editor_->getFrame()->isOpen()) return true;
    close();
    return false;
}

void OvVstEditor::close() {
    editor_->close();
    AEffEditor::close();
}

void OvVstEditor::idle() { editor_->idle(); }

bool OvVstEditor::onKeyDown(VstKeyCode& keyCode) {
    VSTGUI::CKeyCode key = toolkitKey(keyCode);
    return editor_->onKeyDown(key);
}

bool OvVstEditor::onKeyUp(VstKeyCode& keyCode) {
    VSTGUI::CKeyCode key = toolkitKey(keyCode);
    return editor_->onKeyUp(key);
}

bool OvVstEditor::setKnobMode(int32_t mode) {
    editor_->setKnobMode(mode);
    return true;
}

bool OvVstEditor::setScaleFactor(float factor) { return editor_->setHostScaleFactor(factor); }

void OvVstEditor::setParameter(int32_t index, float value) {
    (void)value;  // the control reads the instance's value back when it is served
    editor_->parameterChanged(index);
}

AEffEditor* createOvVstEditor(OvAudio& effect) { return new OvVstEditor(effect); }
