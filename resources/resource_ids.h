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

// The picture embedded for a resource number, in the toolkit's packed form:
// true with the bytes (valid for the life of the program), false for an
// unknown number. Has the shape of the toolkit's resource provider. These are
// the pictures at scale 1 (as PNG files beside the generated source).
bool findNimbrelResource(int id, const unsigned char** data, size_t* size);

// The scales every bitmap is also drawn at, rising from 1 (the first).
extern const double kSkinScales[];
extern const int kNumSkinScales;
// Band `band` of bitmap `id` drawn at kSkinScales[scaleIndex]: a picture too
// tall for one image comes in bands, top first; false past the last band or
// for an unknown number. In the toolkit's packed form (at scale 1 one band
// each). Has the shape of the toolkit's scaled resource provider.
bool findNimbrelPicture(int id, int scaleIndex, int band, const unsigned char** data, size_t* size);
