#include "gui/coptionmenu.h"

#include <algorithm>
#include <cairo.h>
#include <cstring>

#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"

namespace VSTGUI {

namespace {
// The list's text is set in this font whatever the menu's own font, so that
// long lists keep a compact row height.
CFontRef popupFont() { return kNormalFont; }

bool isSeparatorText(const char* text) { return text && (std::strcmp(text, "-") == 0 || std::strcmp(text, "_") == 0); }
}  // namespace

CMenuItem::CMenuItem(const char* title, long flags) : title_(title ? title : ""), flags_(flags) {
    if (isSeparatorText(title)) flags_ |= kSeparator;
}

// The open list: a modal view over the frame that draws the menu's entries
// and turns a click into a choice.
class COptionMenuPopup : public CView {
public:
    explicit COptionMenuPopup(COptionMenu* menu) : CView(menu->popupRect_), menu_(menu) {}

    void draw(CDrawContext* context) override {
        const CColor back = MakeCColor(240, 240, 240, 255);
        const CColor text = kBlackCColor;
        context->setFillColor(back);
        context->drawRect(size_, kDrawFilled);
        context->setFont(popupFont());
        const bool marks = (menu_->style_ & kCheckStyle) != 0;
        for (long i = 0; i < menu_->getNbEntries(); ++i) {
            const CMenuItem* item = menu_->getEntry(i);
            const CRect r = menu_->getItemRect(i);
            if (item->isSeparator()) {
                context->setFrameColor(MakeCColor(160, 160, 160, 255));
                const CCoord y = r.top + r.height() / 2;
                context->drawLine(CPoint(r.left + 2, y), CPoint(r.right - 3, y));
                continue;
            }
            if (i == hover_ && item->isEnabled()) {
                context->setFillColor(MakeCColor(60, 100, 170, 255));
                context->drawRect(r, kDrawFilled);
                context->setFontColor(kWhiteCColor);
            } else {
                context->setFontColor(item->isEnabled() ? text : MakeCColor(150, 150, 150, 255));
            }
            CRect t = r;
            t.left += COptionMenu::kItemPadding;
            if (marks) {
                if (item->isChecked()) {
                    CRect mark(t.left + 2, t.top + 5, t.left + 8, t.bottom - 5);
                    context->setFillColor(context->getFontColor());
                    context->drawRect(mark, kDrawFilled);
                }
                t.left += COptionMenu::kCheckWidth;
            }
            t.right -= COptionMenu::kItemPadding;
            context->drawString(item->getTitle(), t, false, kLeftText);
        }
        context->setFrameColor(MakeCColor(90, 90, 90, 255));
        context->drawRect(size_);
        setDirty(false);
    }

    CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override {
        if (!(buttons & kLButton)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
        const long index = menu_->getItemAt(where);
        if (index >= 0) menu_->choose(index);               // closes the list
        else if (!size_.pointInside(where)) menu_->closePopup();  // a click beside the list
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }

    CMouseEventResult onMouseMoved(CPoint& where, const long&) override {
        const long index = menu_->getItemAt(where);
        if (index != hover_) {
            hover_ = index;
            setDirty(true);
        }
        return kMouseEventHandled;
    }

    // Escape closes the list; the arrows, Home and End move the highlight
    // (left and right by a column); Return or Enter chooses the highlighted
    // entry. Other keys are not the list's.
    long onKeyDown(CKeyCode& key) override {
        const long n = menu_->getNbEntries();
        const long column = menu_->getNbItemsPerColumn();
        switch (key.virt) {
            case VKEY_ESCAPE:
                menu_->closePopup();
                return 1;
            case VKEY_RETURN:
            case VKEY_ENTER:
                // Choosing closes the list and releases this view: nothing after it.
                if (hover_ >= 0) menu_->choose(hover_);
                return 1;
            case VKEY_DOWN: highlight(hover_ < 0 ? start(0) : nearest(hover_ + 1, +1)); return 1;
            case VKEY_UP: highlight(hover_ < 0 ? start(n - 1) : nearest(hover_ - 1, -1)); return 1;
            // A column over, or as far as there are entries (the highlighted one stops the search).
            case VKEY_RIGHT: highlight(hover_ < 0 ? start(0) : nearest(std::min(hover_ + column, n - 1), -1)); return 1;
            case VKEY_LEFT: highlight(hover_ < 0 ? start(n - 1) : nearest(std::max(hover_ - column, 0L), +1)); return 1;
            case VKEY_HOME: highlight(nearest(0, +1)); return 1;
            case VKEY_END: highlight(nearest(n - 1, -1)); return 1;
            default: return -1;
        }
    }

    bool hitTest(const CPoint&, const long&) override { return true; }
    long getHighlight() const { return hover_; }

private:
    bool selectable(long i) const {
        const CMenuItem* item = menu_->getEntry(i);
        return item && !item->isSeparator() && item->isEnabled();
    }
    // The first selectable entry from i on in direction `step`; -1 when none.
    long nearest(long i, long step) const {
        for (; i >= 0 && i < menu_->getNbEntries(); i += step)
            if (selectable(i)) return i;
        return -1;
    }
    // Where the keys start in a list with nothing highlighted: the checked
    // entry of a list that marks one, else the end the key points from.
    long start(long fromEnd) const {
        if ((menu_->style_ & kCheckStyle) && selectable(menu_->getCurrent())) return menu_->getCurrent();
        return nearest(fromEnd, fromEnd == 0 ? +1 : -1);
    }
    void highlight(long index) {
        if (index < 0 || index == hover_) return;
        hover_ = index;
        setDirty(true);
    }

    COptionMenu* menu_;
    long hover_ = -1;
};

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                         CBitmap* bgWhenClick, long style)
    : CParamDisplay(size, background, style), bgWhenClick_(bgWhenClick) {
    setListener(listener);
    setTag(tag);
    if (bgWhenClick_) bgWhenClick_->remember();
    setValue(0.f);
}

COptionMenu::~COptionMenu() {
    closePopup();
    if (bgWhenClick_) bgWhenClick_->forget();
}

CMenuItem* COptionMenu::addEntry(const char* text, long index, long flags) {
    std::unique_ptr<CMenuItem> item(new CMenuItem(text, flags));
    CMenuItem* raw = item.get();
    if (index < 0 || index >= getNbEntries())
        items_.push_back(std::move(item));
    else
        items_.insert(items_.begin() + index, std::move(item));
    setDirty(true);
    return raw;
}

bool COptionMenu::removeEntry(long index) {
    if (index < 0 || index >= getNbEntries()) return false;
    items_.erase(items_.begin() + index);
    setDirty(true);
    return true;
}

bool COptionMenu::removeAllEntry() {
    items_.clear();
    setDirty(true);
    return true;
}

CMenuItem* COptionMenu::getEntry(long index) const {
    if (index < 0 || index >= getNbEntries()) return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

const char* COptionMenu::getEntryText(long index) const {
    const CMenuItem* item = getEntry(index);
    return item ? item->getTitle() : "";
}

bool COptionMenu::setCurrent(long index, bool) {
    if (index < 0 || index >= getNbEntries()) return false;
    current_ = index;
    setValue(static_cast<float>(index));
    setDirty(true);
    return true;
}

bool COptionMenu::checkEntry(long index, bool state) {
    CMenuItem* item = getEntry(index);
    if (!item || item->isSeparator()) return false;
    item->setChecked(state);
    return true;
}

bool COptionMenu::checkEntryAlone(long index) {
    for (long i = 0; i < getNbEntries(); ++i) items_[static_cast<size_t>(i)]->setChecked(i == index);
    return getEntry(index) != nullptr;
}

bool COptionMenu::isCheckEntry(long index) const {
    const CMenuItem* item = getEntry(index);
    return item && item->isChecked();
}

void COptionMenu::draw(CDrawContext* context) {
    if (!(style_ & kNoDrawStyle)) {
        CBitmap* bitmap = (popup_ && bgWhenClick_) ? bgWhenClick_ : background_;
        if (bitmap && !transparent_) bitmap->draw(context, size_);
        drawText(context, (style_ & kNoTextStyle) ? nullptr : getEntryText(current_));
    }
    setDirty(false);
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const long& buttons) {
    if (!(buttons & (kLButton | kRButton))) return kMouseEventNotHandled;
    popup();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

long COptionMenu::getNbColumns() const {
    const long n = getNbEntries();
    return n == 0 ? 0 : (n + itemsPerColumn_ - 1) / itemsPerColumn_;
}

void COptionMenu::layoutPopup() {
    const long n = getNbEntries();
    const long columns = getNbColumns();
    const long rows = std::min(n, itemsPerColumn_);
    // Column widths from the longest text in each column, measured in the list's font.
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    CDrawContext measure(scratch, CPoint(0, 0), frame_ ? frame_->getScaleFactor() : 1.0);
    measure.setFont(popupFont());
    columnWidth_.assign(static_cast<size_t>(columns), 0);
    const CCoord extra = 2 * kItemPadding + ((style_ & kCheckStyle) ? kCheckWidth : 0);
    for (long i = 0; i < n; ++i) {
        const long c = i / itemsPerColumn_;
        const CCoord w = measure.getStringWidth(getEntryText(i)) + extra;
        columnWidth_[static_cast<size_t>(c)] = std::max(columnWidth_[static_cast<size_t>(c)], std::max<CCoord>(w, 40));
    }
    cairo_surface_destroy(scratch);

    CCoord width = 0;
    for (CCoord w : columnWidth_) width += w;
    const CCoord height = rows * kItemHeight;
    // Below the menu, moved left and up as far as needed to stay inside the
    // area a list may use (the frame, or the screen around its window).
    CRect r(size_.left, size_.bottom, size_.left + width, size_.bottom + height);
    if (frame_) {
        const CRect f = frame_->getPopupArea();
        if (r.bottom > f.bottom) r.offset(0, std::max(f.bottom - r.bottom, f.top - r.top));
        if (r.right > f.right) r.offset(std::max(f.right - r.right, f.left - r.left), 0);
    }
    popupRect_ = r;
    columnLeft_.assign(static_cast<size_t>(columns), 0);
    CCoord x = r.left;
    for (long c = 0; c < columns; ++c) {
        columnLeft_[static_cast<size_t>(c)] = x;
        x += columnWidth_[static_cast<size_t>(c)];
    }
}

bool COptionMenu::popup() {
    if (popup_ || !frame_ || getNbEntries() == 0) return false;
    layoutPopup();
    COptionMenuPopup* p = new COptionMenuPopup(this);
    // Like a desktop's menu, the open list takes the screen's clicks and keys.
    if (!frame_->setModalView(p, true)) {
        p->forget();
        return false;
    }
    popup_ = p;
    setDirty(true);
    return true;
}

void COptionMenu::closePopup() {
    if (!popup_) return;
    COptionMenuPopup* p = popup_;
    popup_ = nullptr;
    if (frame_ && frame_->getModalView() == p) frame_->setModalView(nullptr);
    p->forget();
    setDirty(true);
}

CRect COptionMenu::getPopupRect() const { return popupRect_; }

long COptionMenu::getHighlight() const { return popup_ ? popup_->getHighlight() : -1; }

CRect COptionMenu::getItemRect(long index) const {
    if (index < 0 || index >= getNbEntries() || columnLeft_.empty()) return CRect();
    const long c = index / itemsPerColumn_;
    const long row = index % itemsPerColumn_;
    if (c >= static_cast<long>(columnLeft_.size())) return CRect();
    const CCoord left = columnLeft_[static_cast<size_t>(c)];
    const CCoord top = popupRect_.top + row * kItemHeight;
    return CRect(left, top, left + columnWidth_[static_cast<size_t>(c)], top + kItemHeight);
}

long COptionMenu::getItemAt(const CPoint& where) const {
    if (!popupRect_.pointInside(where)) return -1;
    for (long c = 0; c < static_cast<long>(columnLeft_.size()); ++c) {
        const CCoord left = columnLeft_[static_cast<size_t>(c)];
        if (where.h < left || where.h >= left + columnWidth_[static_cast<size_t>(c)]) continue;
        const long index = c * itemsPerColumn_ + (where.v - popupRect_.top) / kItemHeight;
        return index < getNbEntries() ? index : -1;
    }
    return -1;
}

bool COptionMenu::choose(long index) {
    const CMenuItem* item = getEntry(index);
    if (!item || item->isSeparator() || !item->isEnabled()) return false;
    closePopup();
    lastResult_ = index;
    current_ = index;
    if (style_ & kCheckStyle) checkEntryAlone(index);
    // The value is the entry's index, not a 0..1 level: no clamping here.
    beginEdit();
    setValue(static_cast<float>(index));
    if (listener_) listener_->valueChanged(this);
    endEdit();
    return true;
}

bool COptionMenu::removed(CFrame* frame) {
    closePopup();
    return CParamDisplay::removed(frame);
}

}  // namespace VSTGUI
