#include "lv2/ui_model.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "editor/ov_editor.h"
#include "lv2/ports.h"
#include "presets/program_images.h"

using namespace lv2ports;

namespace {

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Control ports take 0..1; a random program's values may pass 1 by a hair
// (the render path reads them within 0..1 all the same).
float portRange(float v) {
    if (!(v >= 0.0f)) return 0.0f;  // NaN too
    return v > 1.0f ? 1.0f : v;
}

void copyText(char* dest, size_t destSize, const char* src, size_t maxChars) {
    size_t n = 0;
    while (src && n < maxChars && n + 1 < destSize && src[n]) {
        dest[n] = src[n];
        ++n;
    }
    std::memset(dest + n, 0, destSize - n);
}

bool isReverbParameter(int index) { return index >= param::RMix && index <= param::RSwirl; }

}  // namespace

Lv2EditorModel::Lv2EditorModel(const UiHost& host) : host_(host), files_(*this) {
    urids_.mapAll(host_.map);
    lv2_atom_forge_init(&forge_, host_.map);
    for (int p = 0; p < kNumPrograms; ++p) {
        std::memcpy(bank_[p].values, factoryPresets[p].values, sizeof bank_[p].values);
        copyText(bank_[p].name, sizeof bank_[p].name, factoryPresets[p].name, sizeof factoryPresets[p].name);
    }
    // Until the host says otherwise, its ports hold their defaults.
    for (int i = 0; i < kNumParams; ++i) shown_[i] = hostPorts_[i] = kParameterInit.v[i];
}

// ---- from the host ------------------------------------------------------------

void Lv2EditorModel::portValue(uint32_t port, float value) {
    if (isParameterPort(port)) {
        const int i = static_cast<int>(port);
        hostPorts_[i] = value;
        shown_[i] = value;
        bank_[current_].values[i] = value;
        if (editor_) editor_->parameterChanged(i);
        if (isReverbParameter(i)) waveDisplayRequest_ = true;
    } else if (isMeterPort(port)) {
        meters_[port - kMeterOutput] = value;
    }
}

void Lv2EditorModel::pluginMessage(const LV2_Atom* atom) {
    lv2msg::ProgramMessage program;
    if (!atom || !lv2msg::isObjectOf(urids_, atom, urids_.program)) return;
    if (!lv2msg::readProgram(urids_, reinterpret_cast<const LV2_Atom_Object*>(atom), program)) return;
    current_ = program.index;
    Program& stored = bank_[current_];
    if (program.name[0]) copyText(stored.name, sizeof stored.name, program.name, sizeof program.name);
    if (program.hasValues) {
        std::memcpy(shown_, program.values, sizeof shown_);
        std::memcpy(stored.values, program.values, sizeof stored.values);
    }
    toldProgram_ = current_;
    std::memcpy(toldName_, stored.name, sizeof toldName_);
    showAll();
}

void Lv2EditorModel::requestProgram() {
    uint8_t buffer[128];
    lv2_atom_forge_set_buffer(&forge_, buffer, sizeof buffer);
    if (lv2msg::forgeRequest(forge_, urids_, urids_.programRequest))
        sendAtom(reinterpret_cast<const LV2_Atom*>(buffer));
}

// ---- parameters -----------------------------------------------------------------

float Lv2EditorModel::parameter(int index) { return index >= 0 && index < kNumParams ? shown_[index] : 0.0f; }

void Lv2EditorModel::editParameter(int index, float value) { setValue(index, value, true); }

void Lv2EditorModel::setValue(int index, float value, bool force) {
    if (index < 0 || index >= kNumParams) return;
    const float v = portRange(value);
    shown_[index] = v;
    bank_[current_].values[index] = v;
    if (force || !sameBits(v, hostPorts_[index])) writePort(index, v);
    if (editor_) editor_->parameterChanged(index);
}

void Lv2EditorModel::writePort(int index, float value) {
    hostPorts_[index] = value;
    host_.write(host_.controller, static_cast<uint32_t>(index), sizeof value, 0, &value);
}

// LV2 has no gesture in its basic protocol; hosts that offer ui:touch hear it.
void Lv2EditorModel::beginEdit(int index) {
    if (host_.touch && index >= 0 && index < kNumParams)
        host_.touch->touch(host_.touch->handle, static_cast<uint32_t>(index), true);
}

void Lv2EditorModel::endEdit(int index) {
    if (host_.touch && index >= 0 && index < kNumParams)
        host_.touch->touch(host_.touch->handle, static_cast<uint32_t>(index), false);
}

// ---- programs -------------------------------------------------------------------

void Lv2EditorModel::selectProgram(int index) {
    current_ = std::clamp(index, 0, kNumPrograms - 1);
    // Only the ports whose value changes are written; the plug-in applies
    // them all when it hears of the program.
    const Program stored = bank_[current_];
    for (int i = 0; i < kNumParams; ++i) setValue(i, stored.values[i], false);
    sendProgram();
    programListRequest_ = true;
    waveDisplayRequest_ = true;
}

void Lv2EditorModel::programName(int index, char* name) {
    if (index < 0 || index >= kNumPrograms) {
        name[0] = 0;
        return;
    }
    std::memcpy(name, bank_[index].name, kProgramNameSize);
}

void Lv2EditorModel::runProgramCommand(ProgramCommand command, int index) {
    if (index < 0 || index >= kNumPrograms) return;
    const ProgramPatch patch = buildProgram(command, index, ProgramDice::shared());
    storeProgram(index, patch.name, patch.values, kNumParams);
    selectProgram(index);
}

// The editor calls this after it refreshed its program list too; until the
// plug-in has told the UI its program there is nothing the UI could tell it.
void Lv2EditorModel::updateDisplay() {
    if (toldProgram_ >= 0) sendProgramIfChanged();
}

void Lv2EditorModel::renameCurrent(const char* name) {
    copyText(bank_[current_].name, sizeof bank_[current_].name, name, kProgramNameMaxChars);
    programListRequest_ = true;
    sendProgram();
}

const char* Lv2EditorModel::storedName(int program) const {
    return bank_[std::clamp(program, 0, kNumPrograms - 1)].name;
}

const float* Lv2EditorModel::storedValues(int program) const {
    return bank_[std::clamp(program, 0, kNumPrograms - 1)].values;
}

void Lv2EditorModel::storeProgram(int program, const char* name, const float* values, int count) {
    if (program < 0 || program >= kNumPrograms) return;
    Program& stored = bank_[program];
    copyText(stored.name, sizeof stored.name, name, kProgramNameSize - 1);
    count = std::clamp(count, 0, kNumParams);
    for (int i = 0; i < count; ++i) stored.values[i] = values[i];
    programListRequest_ = true;
}

void Lv2EditorModel::sendProgramIfChanged() {
    if (toldProgram_ == current_ && std::strcmp(toldName_, bank_[current_].name) == 0) return;
    sendProgram();
}

void Lv2EditorModel::sendProgram() {
    uint8_t buffer[256];
    lv2_atom_forge_set_buffer(&forge_, buffer, sizeof buffer);
    if (!lv2msg::forgeProgram(forge_, urids_, current_, bank_[current_].name, nullptr)) return;
    sendAtom(reinterpret_cast<const LV2_Atom*>(buffer));
    toldProgram_ = current_;
    std::memcpy(toldName_, bank_[current_].name, sizeof toldName_);
}

void Lv2EditorModel::sendAtom(const LV2_Atom* atom) {
    host_.write(host_.controller, kControlIn, static_cast<uint32_t>(sizeof(LV2_Atom) + atom->size),
                urids_.atomEventTransfer, atom);
}

void Lv2EditorModel::showAll() {
    for (int i = 0; i < kNumParams; ++i)
        if (editor_) editor_->parameterChanged(i);
    programListRequest_ = true;
    waveDisplayRequest_ = true;
}

// ---- requests, meters, window ---------------------------------------------------

bool Lv2EditorModel::takeProgramListRequest() { return std::exchange(programListRequest_, false); }

bool Lv2EditorModel::takeWaveDisplayRequest() { return std::exchange(waveDisplayRequest_, false); }

int64_t Lv2EditorModel::meter(Meter which) {
    const float v = meters_[static_cast<int>(which)];
    return std::isfinite(v) ? static_cast<int64_t>(std::clamp(v, 0.0f, static_cast<float>(kMeterMax))) : 0;
}

void Lv2EditorModel::setDryFactor(float factor) {
    uint8_t buffer[128];
    lv2_atom_forge_set_buffer(&forge_, buffer, sizeof buffer);
    if (lv2msg::forgeMonitor(forge_, urids_, factor)) sendAtom(reinterpret_cast<const LV2_Atom*>(buffer));
}

bool Lv2EditorModel::resizeWindow(int width, int height) {
    return host_.resize && host_.resize->ui_resize(host_.resize->handle, width, height) == 0;
}

// ---- the program files ------------------------------------------------------------

void UiProgramAccess::getProgramName(char* name) {
    copyText(name, kPresetNameBufferSize, model_.storedName(model_.currentProgram()), kProgramNameSize - 1);
}

void UiProgramAccess::setProgramName(const char* name) { model_.renameCurrent(name); }

bool UiProgramAccess::getProgramNameIndexed(int category, int index, char* name) {
    (void)category;
    if (index < 0 || index >= kNumPrograms) return false;
    copyText(name, kPresetNameBufferSize, model_.storedName(index), kProgramNameSize - 1);
    return true;
}

float UiProgramAccess::getParameter(int index) { return model_.parameter(index); }

void UiProgramAccess::setParameter(int index, float value) { model_.setValue(index, value, false); }

void UiProgramAccess::setProgram(int index) { model_.selectProgram(index); }

void UiProgramAccess::updateDisplay() { model_.updateDisplay(); }

void UiProgramAccess::readStoredProgram(int program, float values[kPresetNumParams]) {
    if (program < 0 || program >= kNumPrograms) {
        for (int i = 0; i < kPresetNumParams; ++i) values[i] = 0.0f;
        return;
    }
    std::memcpy(values, model_.storedValues(program), sizeof(float) * kPresetNumParams);
}

void UiProgramAccess::writeStoredProgram(int program, const char* name, const float* values, int count) {
    // A bank file's name may use the whole 28-byte field.
    char text[kProgramNameSize] = {};
    copyText(text, sizeof text, name, kImageNameFieldSize);
    model_.storeProgram(program, text, values, count);
}
