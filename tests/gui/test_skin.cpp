// The embedded skin at every scale: each bitmap is there at each scale, its
// bands stack to the scaled size, the pictures are the same design drawn for
// more pixels (not an enlargement), and the toolkit draws from them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "gui/scale_factor.h"
#include "resources/resource_ids.h"
#include "support.h"

using namespace guitest;

namespace {

const int kIds[] = {kBitmapBackground, kBitmapWetOnly,    kBitmapKnob,   kBitmapSplash,
                    kBitmapSliderHandle, kBitmapLedGreen, kBitmapLedRed, kBitmapLedAmber,
                    kBitmapSliderAccent, kBitmapSlider,   kBitmapButton};

// A picture of one bitmap at one scale, its bands stacked, as plain RGBA rows.
struct Picture {
    int width = 0, height = 0, bands = 0;
    std::vector<CColor> pixels;
    CColor at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Picture load(int id, int scaleIndex) {
    Picture p;
    const unsigned char* data = nullptr;
    size_t size = 0;
    for (int band = 0; findNimbrelPicture(id, scaleIndex, band, &data, &size); ++band) {
        CBitmap part(data, size);
        EXPECT_TRUE(part.isLoaded()) << id << " at " << kSkinScales[scaleIndex] << " band " << band;
        if (!part.isLoaded()) return Picture();
        EXPECT_LE(part.getHeight(), 32767);
        if (band == 0) p.width = static_cast<int>(part.getWidth());
        EXPECT_EQ(part.getWidth(), p.width);
        // Straight from the image's rows: premultiplied ARGB words.
        cairo_surface_t* s = part.getSurface();
        cairo_surface_flush(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        for (CCoord y = 0; y < part.getHeight(); ++y)
            for (CCoord x = 0; x < part.getWidth(); ++x) {
                uint32_t px;
                std::memcpy(&px, data + y * stride + 4 * x, 4);
                const unsigned a = px >> 24;
                auto un = [a](unsigned c) { return static_cast<unsigned char>(a ? (c * 255 + a / 2) / a : 0); };
                p.pixels.push_back(MakeCColor(un((px >> 16) & 255), un((px >> 8) & 255), un(px & 255),
                                              static_cast<unsigned char>(a)));
            }
        p.height += static_cast<int>(part.getHeight());
        p.bands = band + 1;
    }
    return p;
}

TEST(Skin, EveryBitmapAtEveryScaleHasTheScaledSize) {
    ASSERT_GE(kNumSkinScales, 2);
    ASSERT_EQ(kSkinScales[0], 1.0);
    for (int i = 1; i < kNumSkinScales; ++i) EXPECT_GT(kSkinScales[i], kSkinScales[i - 1]);
    EXPECT_EQ(kSkinScales[kNumSkinScales - 1], kMaxScaleFactor);
    for (int id : kIds) {
        const unsigned char *one = nullptr, *first = nullptr, *none = nullptr;
        size_t oneSize = 0, firstSize = 0, noneSize = 0;
        ASSERT_TRUE(findNimbrelResource(id, &one, &oneSize));
        ASSERT_TRUE(findNimbrelPicture(id, 0, 0, &first, &firstSize));
        EXPECT_EQ(one, first);  // the layout-sized picture is the one of old
        EXPECT_FALSE(findNimbrelPicture(id, 0, 1, &none, &noneSize)) << "one band at scale 1";
        CBitmap base(one, oneSize);
        for (int s = 1; s < kNumSkinScales; ++s) {
            const Picture p = load(id, s);
            EXPECT_EQ(p.width, toPixels(base.getWidth(), kSkinScales[s])) << id << " at " << kSkinScales[s];
            EXPECT_EQ(p.height, toPixels(base.getHeight(), kSkinScales[s])) << id << " at " << kSkinScales[s];
        }
    }
    const unsigned char* data = nullptr;
    size_t size = 0;
    EXPECT_FALSE(findNimbrelPicture(131, 1, 0, &data, &size));
    EXPECT_FALSE(findNimbrelPicture(kBitmapKnob, kNumSkinScales, 0, &data, &size));
    // Above 1 the knob strip comes in bands of whole frames, so that showing
    // a knob decodes only the band of its value.
    for (int s = 1; s < kNumSkinScales; ++s) {
        const CCoord frame = toPixels(40, kSkinScales[s]);
        int bands = 0;
        for (int band = 0; findNimbrelPicture(kBitmapKnob, s, band, &data, &size); ++band, ++bands) {
            CBitmap part(data, size);
            EXPECT_EQ(part.getHeight() % frame, 0) << "band " << band << " at " << kSkinScales[s];
        }
        EXPECT_GE(bands, 16) << kSkinScales[s];
    }
}

int luminance(const CColor& c) { return c.red + c.green + c.blue; }

TEST(Skin, LargerPicturesAreTheSameDesignWithFinerDetailNotEnlargements) {
    for (int id : kIds) {
        const Picture one = load(id, 0);
        for (int s = 1; s < kNumSkinScales; ++s) {
            const double scale = kSkinScales[s];
            if (scale != std::floor(scale)) continue;
            const int n = static_cast<int>(scale);
            const Picture big = load(id, s);
            // Averaged over each unit's n x n pixels it looks like the picture at 1...
            long differences = 0, mixed = 0, units = 0;
            for (int y = 0; y < one.height; ++y)
                for (int x = 0; x < one.width; ++x) {
                    int sum = 0;
                    bool uniform = true;
                    const CColor corner = big.at(n * x, n * y);
                    for (int dy = 0; dy < n; ++dy)
                        for (int dx = 0; dx < n; ++dx) {
                            const CColor c = big.at(n * x + dx, n * y + dy);
                            sum += luminance(c) * c.alpha / 255;
                            uniform = uniform && c == corner;
                        }
                    const CColor c = one.at(x, y);
                    differences += std::abs(sum / (n * n) - luminance(c) * c.alpha / 255);
                    mixed += !uniform;
                    ++units;
                }
            // (Small text differs most, as the letters are fitted to other pixels.)
            EXPECT_LT(differences / units, 20) << id << " at " << scale << ": not the same picture";
            // ...but the units are not each one colour, as in an enlargement.
            EXPECT_GT(mixed * 50, units) << id << " at " << scale << ": enlarged";
        }
    }
}

TEST(Skin, BitmapsByNumberAreDrawnFromThePictureAtTheScaleInUse) {
    setScaledResourceProvider(findNimbrelPicture, kSkinScales, kNumSkinScales);
    CBitmap knob{CResourceDescription(kBitmapKnob)};
    ASSERT_TRUE(knob.isLoaded());
    EXPECT_EQ(knob.getWidth(), 40);  // units, as the layout reads them
    const Picture two = load(kBitmapKnob, 2);
    ASSERT_EQ(kSkinScales[2], 2.0);
    // Frame 200 of the strip, drawn at 2 into a 40 x 40 unit rectangle: the
    // picture's own pixels, the lower band's.
    COffscreenContext c(40, 40, kBlackCColor, 2.0);
    knob.draw(&c, CRect(0, 0, 40, 40), CPoint(0, 200 * 40));
    for (CCoord y = 0; y < 80; y += 3)
        for (CCoord x = 0; x < 80; x += 3) {
            const CColor p = two.at(static_cast<int>(x), static_cast<int>(200 * 80 + y));
            if (p.alpha == 255) {
                ASSERT_EQ(c.getPixel(x, y), p) << x << "," << y;
            }
        }
    // A scale between two drawn ones comes from the finer.
    CCoord w = 0, h = 0;
    double drawnAt = 0;
    ASSERT_TRUE(knob.getPictureInfo(1.25, &w, &h, &drawnAt));
    EXPECT_EQ(drawnAt, 1.5);
    EXPECT_EQ(w, 50);
    EXPECT_EQ(h, 50 * 256);
    setResourceProvider(nullptr);
}

}  // namespace
