#include "gui/ccontrol.h"

#include "gui/cframe.h"

namespace VSTGUI {

CControl::CControl(const CRect& size, CControlListener* listener, long tag, CBitmap* background)
    : CView(size), listener_(listener), tag_(tag) {
    setBackground(background);
}

CControl::~CControl() = default;

float CControl::getValueNormalized() const {
    if (max_ <= min_) return 0.f;
    return (getValue() - min_) / (max_ - min_);
}

void CControl::setValueNormalized(float normalized) {
    if (normalized < 0.f) normalized = 0.f;
    if (normalized > 1.f) normalized = 1.f;
    setValue(min_ + normalized * (max_ - min_));
}

void CControl::bounceValue() {
    const float v = getValue();
    if (v > max_) setValue(max_);
    else if (v < min_) setValue(min_);
}

void CControl::setDirty(bool state) {
    CView::setDirty(state);
    if (!state) oldValue_ = getValue();
}

bool CControl::isDirty() const { return CView::isDirty() || oldValue_ != getValue(); }

void CControl::beginEdit() {
    editing_ = true;
    if (listener_) listener_->controlBeginEdit(this);
    if (frame_) frame_->beginEdit(tag_);
}

void CControl::endEdit() {
    editing_ = false;
    if (listener_) listener_->controlEndEdit(this);
    if (frame_) frame_->endEdit(tag_);
}

void CControl::mouseOverNotify() {
    if (mouseOver_ && listener_) listener_->updatemouseOverInfo(this);
}

bool CControl::checkDefaultValue(long buttons) {
    if ((buttons & (kLButton | kControl)) != (kLButton | kControl)) return false;
    beginEdit();
    changeValueByUser(default_);
    endEdit();
    return true;
}

void CControl::changeValueByUser(float value, bool force) {
    const float old = getValue();
    setValue(value);
    bounceValue();
    if ((force || getValue() != old) && listener_) listener_->valueChanged(this);
}

}  // namespace VSTGUI
