#pragma once
// Stock fonts: a family and a pixel size, drawn through cairo's font selection.
namespace VSTGUI {

enum CTxtFace { kNormalFace = 0, kBoldFace = 1, kItalicFace = 2 };

class CFontDesc {
public:
    CFontDesc(const char* family, int size, int style = kNormalFace) : family_(family), size_(size), style_(style) {}
    const char* getName() const { return family_; }
    int getSize() const { return size_; }
    int getStyle() const { return style_; }
private:
    const char* family_;
    int size_;
    int style_;
};
typedef const CFontDesc* CFontRef;

extern const CFontRef kSystemFont;          // 12 px
extern const CFontRef kNormalFontVeryBig;   // 18 px
extern const CFontRef kNormalFontBig;       // 14 px
extern const CFontRef kNormalFont;          // 12 px
extern const CFontRef kNormalFontSmall;     // 11 px
extern const CFontRef kNormalFontSmaller;   // 10 px
extern const CFontRef kNormalFontVerySmall; // 9 px
extern const CFontRef kSymbolFont;          // 12 px

enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };

}  // namespace VSTGUI
