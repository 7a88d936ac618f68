#pragma once
// The editor's bitmaps, by resource number.
#include <cstddef>

enum NimbrelBitmap : int {
    kBitmapBackground = 128,
    kBitmapWetOnly = 129,
    kBitmapKnob = 130,
    kBitmapSplash = 132,
    kBitmapSliderHandle = 133,
    kBitmapLedGreen = 134,
    kBitmapLedRed = 135,
    kBitmapLedAmber = 136,
    kBitmapSliderAccent = 137,
    kBitmapSlider = 138,
    kBitmapButton = 139,
};

// The PNG bytes embedded for a resource number: true with the bytes (valid for
// the life of the program), false for an unknown number. Has the shape of the
// toolkit's resource provider.
bool findNimbrelResource(int id, const unsigned char** data, size_t* size);
