#pragma once
// COptionMenu: shows its current entry's text; a click pops up the list of
// entries over the frame, in columns of getNbItemsPerColumn() entries; a click
// on an entry chooses it (value = its index, listener told), a click outside
// the list (also outside our windows) or Escape closes the list without a
// choice. The arrow keys, Home and End move the highlight, Return or Enter
// chooses the highlighted entry.
#include <memory>
#include <string>
#include <vector>

#include "gui/controls.h"

namespace VSTGUI {

class CMenuItem {
public:
    enum Flags : long { kNoFlags = 0, kDisabled = 1 << 0, kChecked = 1 << 1, kSeparator = 1 << 3 };
    CMenuItem(const char* title, long flags = kNoFlags);
    const char* getTitle() const { return title_.c_str(); }
    void setTitle(const char* title) { title_ = title ? title : ""; }
    bool isChecked() const { return (flags_ & kChecked) != 0; }
    void setChecked(bool state) { flags_ = state ? (flags_ | kChecked) : (flags_ & ~kChecked); }
    bool isEnabled() const { return (flags_ & kDisabled) == 0; }
    bool isSeparator() const { return (flags_ & kSeparator) != 0; }
    long getFlags() const { return flags_; }

private:
    std::string title_;
    long flags_;
};

class COptionMenuPopup;

class COptionMenu : public CParamDisplay {
public:
    static const long kItemEnabled = CMenuItem::kNoFlags;
    // Popup list geometry, in pixels.
    static constexpr CCoord kItemHeight = 16;
    static constexpr CCoord kItemPadding = 6;  // left and right of an entry's text
    static constexpr CCoord kCheckWidth = 14;  // the mark column of kCheckStyle menus

    COptionMenu(const CRect& size, CControlListener* listener, long tag, CBitmap* background = nullptr,
                CBitmap* bgWhenClick = nullptr, long style = 0);
    ~COptionMenu() override;

    // Adds an entry at `index` (appends for -1 or past the end). The text "-"
    // or "_" makes a separator line, which keeps its index but cannot be chosen.
    CMenuItem* addEntry(const char* text, long index = -1, long flags = kItemEnabled);
    bool removeEntry(long index);
    bool removeAllEntry();
    long getNbEntries() const { return static_cast<long>(items_.size()); }
    CMenuItem* getEntry(long index) const;
    const char* getEntryText(long index) const;  // "" when out of range

    // The current entry (shown in the control) and the value (its index).
    bool setCurrent(long index, bool countSeparator = true);
    long getCurrent() const { return current_; }
    // The entry last chosen from the list (-1 before any).
    long getLastResult() const { return lastResult_; }

    bool checkEntry(long index, bool state);
    bool checkEntryAlone(long index);  // checks `index`, unchecks all others
    bool isCheckEntry(long index) const;

    void setNbItemsPerColumn(long count) { itemsPerColumn_ = count > 0 ? count : 1; }
    long getNbItemsPerColumn() const { return itemsPerColumn_; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override;
    bool removed(CFrame* frame) override;  // closes an open list

    // The list: open (as a click does), close, and its geometry in frame
    // coordinates (valid while open; computed when opening).
    bool popup();
    void closePopup();
    bool isPopupOpen() const { return popup_ != nullptr; }
    CRect getPopupRect() const;
    CRect getItemRect(long index) const;
    long getItemAt(const CPoint& where) const;  // -1 outside every entry
    long getHighlight() const;  // the entry under the pointer or the keys; -1 when none
    long getNbColumns() const;

    // Chooses entry `index` as a click on it does (ignored for separators,
    // disabled entries and bad indices); returns whether it was chosen.
    bool choose(long index);

private:
    friend class COptionMenuPopup;
    void layoutPopup();

    std::vector<std::unique_ptr<CMenuItem>> items_;
    long current_ = 0;
    long lastResult_ = -1;
    long itemsPerColumn_ = 1 << 30;
    CBitmap* bgWhenClick_;
    COptionMenuPopup* popup_ = nullptr;
    CRect popupRect_;
    std::vector<CCoord> columnLeft_;   // per column, frame x of its left edge
    std::vector<CCoord> columnWidth_;
};

}  // namespace VSTGUI
