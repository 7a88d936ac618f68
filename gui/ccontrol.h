#pragma once
// CControl: a view with a tag and a value that tells a listener of user edits.

#include "gui/cview.h"

namespace VSTGUI {

class CControl;

class CControlListener {
public:
    virtual ~CControlListener() = default;
    // The user changed the control's value.
    virtual void valueChanged(CControl* control) = 0;
    // The user grabbed / released the control (brackets a drag or a click).
    virtual void controlBeginEdit(CControl* /*control*/) {}
    virtual void controlEndEdit(CControl* /*control*/) {}
    // The pointer moves over a control whose mouse-over flag is on, with no
    // button held (see CControl::setMouseOverEnabled).
    virtual void updatemouseOverInfo(CControl* /*control*/) {}
};

// Style bits, as numbers the layout passes.
enum CControlStyle : long {
    kHorizontal = 1 << 0,
    kVertical = 1 << 1,
    kShadowText = 1 << 2,
    kLeft = 1 << 3,
    kRight = 1 << 4,
    kTop = 1 << 5,
    kBottom = 1 << 6,   // sliders: value 0 at the bottom
    k3DIn = 1 << 7,
    k3DOut = 1 << 8,
    kPopupStyle = 1 << 9,
    kCheckStyle = 1 << 10,  // option menus: show a mark before checked entries
    kNoTextStyle = 1 << 11,
    kNoDrawStyle = 1 << 12, // draw nothing at all (an invisible hot spot)
    kDoubleClickStyle = 1 << 13,
    kNoFrame = 1 << 14,
};

class CControl : public CView {
public:
    CControl(const CRect& size, CControlListener* listener = nullptr, long tag = 0, CBitmap* background = nullptr);
    ~CControl() override;

    // The value may be set from any thread (a host's automation); the frame's
    // idle sees the change through isDirty() and redraws. No range check here:
    // option menus keep an entry index in it; bounceValue() clamps.
    virtual void setValue(float value) { value_ = value; }
    virtual float getValue() const { return value_.load(); }
    // The value mapped to 0..1 over min..max.
    float getValueNormalized() const;
    void setValueNormalized(float normalized);
    virtual void bounceValue();  // clamps the value into min..max

    void setMin(float v) { min_ = v; }
    float getMin() const { return min_; }
    void setMax(float v) { max_ = v; }
    float getMax() const { return max_; }
    void setDefaultValue(float v) { default_ = v; }
    float getDefaultValue() const { return default_; }

    void setTag(long tag) { tag_ = tag; }
    long getTag() const { return tag_; }
    void setListener(CControlListener* listener) { listener_ = listener; }
    CControlListener* getListener() const { return listener_; }

    // Dirty while the value differs from the value last drawn.
    void setDirty(bool state = true) override;
    bool isDirty() const override;
    // The frame: the control was drawn showing `value`.
    void setDrawnValue(float value) {
        CView::setDirty(false);
        oldValue_ = value;
    }

    // Bracket a user edit: tells the listener and the frame's editor (by tag).
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editing_; }

    // Mouse-over reporting: on from creation; while on, hovering calls the
    // listener's updatemouseOverInfo(this).
    void setMouseOverEnabled(bool state) { mouseOver_ = state; }
    bool getMouseOverEnabled() const { return mouseOver_; }
    void mouseOverNotify() override;

    // Double-click resets to the default value where a control supports it.
    bool checkDefaultValue(long buttons);

protected:
    // Sets the value, clamps, marks dirty and tells the listener if it changed
    // (or always, when force is set).
    void changeValueByUser(float value, bool force = false);

    CControlListener* listener_;
    long tag_;
    float min_ = 0.f, max_ = 1.f, default_ = 0.5f;
    float oldValue_ = -1.f;  // the value last drawn (idle thread only)
    bool editing_ = false;
    bool mouseOver_ = true;

private:
    Relaxed<float> value_{0.f};
};

}  // namespace VSTGUI
