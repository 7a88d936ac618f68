// The toolkit at a scale: where the factor comes from, units and pixels,
// drawing that stays sharp, bitmaps from pictures drawn at the scale, and a
// frame whose views keep their units while its pixels grow.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <thread>
#include <cstdlib>
#include <limits>
#include <string>

#include <zlib.h>

#include "gui/packed_pixels.h"
#include "gui/scale_factor.h"
#include "gui/x11/x11_scale.h"
#include "support.h"

using namespace guitest;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(ScaleFactor, EachSourceInTurnAndNonsenseFallsThrough) {
    // The host's factor first, then the environment's, then the desktop's.
    EXPECT_EQ(chooseScaleFactor(2.0, "1.5", 3.0), 2.0);
    EXPECT_EQ(chooseScaleFactor(0.0, "1.5", 3.0), 1.5);
    EXPECT_EQ(chooseScaleFactor(0.0, nullptr, 3.0), 3.0);
    EXPECT_EQ(chooseScaleFactor(0.0, nullptr, 0.0), 1.0);
    // Values no screen has make way for the next source.
    for (double bad : {0.0, -1.0, -0.0, kNaN, kInf, -kInf, 1e9, 8.01})
        EXPECT_EQ(chooseScaleFactor(bad, "1.5", 3.0), 1.5) << bad;
    for (const char* bad : {"", " ", "abc", "1,5", "1.5x", "2 2", "+2", "-2", "0", "nan", "inf", "1e1", "0x2",
                            "1e400", "100000"})
        EXPECT_EQ(chooseScaleFactor(0.0, bad, 3.0), 3.0) << "'" << bad << "'";
    EXPECT_EQ(chooseScaleFactor(kNaN, "junk", kNaN), 1.0);
    // Plausible ones are kept within 1..4.
    EXPECT_EQ(chooseScaleFactor(0.5, nullptr, 3.0), 1.0);
    EXPECT_EQ(chooseScaleFactor(6.0, nullptr, 3.0), 4.0);
    EXPECT_EQ(chooseScaleFactor(0.0, "5", 0.0), 4.0);
    EXPECT_EQ(chooseScaleFactor(1.25, nullptr, 0.0), 1.25);
    // The text is a plain decimal number; blanks around it do no harm.
    EXPECT_EQ(parseScaleFactor(" 2\n"), 2.0);
    EXPECT_EQ(parseScaleFactor("1.75"), 1.75);
    EXPECT_EQ(parseScaleFactor(nullptr), 0.0);
}

TEST(ScaleFactor, XftDpiIsReadAsXlibMatchesResources) {
    EXPECT_EQ(xftDpiScaleFactor("Xft.dpi:\t144\n"), 1.5);
    EXPECT_EQ(xftDpiScaleFactor("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"), 2.0);
    EXPECT_EQ(xftDpiScaleFactor("*dpi: 120\n"), 1.25);
    EXPECT_EQ(xftDpiScaleFactor("Xft.dpi: 96\nXft.dpi: 288\n"), 3.0);  // the later entry replaces
    EXPECT_EQ(xftDpiScaleFactor("Xft.dpi: 480\n"), 4.0);  // kept within 1..4
    EXPECT_EQ(xftDpiScaleFactor("Xft.dpi: 72\n"), 1.0);
    for (const char* bad : {"", "Xft.dpi:", "Xft.dpi: abc", "Xft.dpi: 144dpi", "Xft.dpi: -96", "Xft.dpi: 0",
                            "Xft.dpi: 9999", "Xft.dpi: 1e5", "Xft.dpi: nan", "Xft.dpi 144", "Xterm.dpi: 144",
                            "!Xft.dpi: 144", "\xff\xfe:::"})
        EXPECT_EQ(xftDpiScaleFactor(bad), 0.0) << "'" << bad << "'";
    EXPECT_EQ(xftDpiScaleFactor(nullptr), 0.0);
}

TEST(ScaleFactor, CurrentFactorReadsTheEnvironmentBeforeTheDesktop) {
    // No display: the desktop has nothing to say, so only the first two count.
    ScopedEnv noDisplay("DISPLAY", nullptr);
    {
        ScopedEnv env(kScaleEnvironmentVariable, "1.5");
        EXPECT_EQ(currentScaleFactor(), 1.5);
        EXPECT_EQ(currentScaleFactor(2.0), 2.0);
        EXPECT_EQ(currentScaleFactor(kNaN), 1.5);
    }
    {
        ScopedEnv env(kScaleEnvironmentVariable, "bogus");
        EXPECT_EQ(currentScaleFactor(), 1.0);
        EXPECT_EQ(currentScaleFactor(3.0), 3.0);
    }
    ScopedEnv env(kScaleEnvironmentVariable, nullptr);
    EXPECT_EQ(currentScaleFactor(), 1.0);
}

TEST(ScaleFactor, UnitsAndPixelsMapBothWaysAtEveryScale) {
    for (double s : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 3.3, 4.0}) {
        for (CCoord v = -40; v < 1200; ++v) {
            ASSERT_EQ(fromPixels(toPixels(v, s), s), v) << s << " " << v;
            // Every pixel of the unit maps back to it.
            for (CCoord p = toPixels(v, s); p < toPixels(v + 1, s); ++p) ASSERT_EQ(fromPixels(p, s), v) << s << " " << p;
            ASSERT_GE(toPixels(v + 1, s) - toPixels(v, s), static_cast<CCoord>(std::floor(s)));
        }
    }
    EXPECT_EQ(toPixels(CRect(3, 4, 860, 548), 1.0), CRect(3, 4, 860, 548));
    EXPECT_EQ(toPixels(CRect(3, 4, 860, 548), 1.5), CRect(5, 6, 1290, 822));
    EXPECT_EQ(fromPixels(CPoint(-1, 1719), 2.0), CPoint(-1, 859));
}

// Whether every pixel of the context's image is exactly black or white.
bool onlyBlackAndWhite(COffscreenContext& c, CCoord w, CCoord h) {
    for (CCoord y = 0; y < h; ++y)
        for (CCoord x = 0; x < w; ++x) {
            const CColor p = c.getPixel(x, y);
            if (p != kBlackCColor && p != kWhiteCColor) return false;
        }
    return true;
}

TEST(ScaledDrawing, LinesAndRectanglesStayOnWholePixels) {
    for (double s : {2.0, 1.5, 3.0}) {
        COffscreenContext c(40, 30, kBlackCColor, s);
        const CCoord w = toPixels(40, s), h = toPixels(30, s);
        ASSERT_EQ(cairo_image_surface_get_width(c.getSurface()), w);
        c.setFrameColor(kWhiteCColor);
        c.setLineWidth(1);
        c.drawLine(CPoint(2, 5), CPoint(30, 5));
        c.drawLine(CPoint(35, 2), CPoint(35, 25));
        c.drawRect(CRect(4, 10, 20, 20));
        EXPECT_TRUE(onlyBlackAndWhite(c, w, h)) << s;
        // The horizontal line is one unit thick: the rows of unit 5, and only them.
        const CCoord x = toPixels(10, s);
        for (CCoord y = 0; y < toPixels(9, s); ++y)
            EXPECT_EQ(c.getPixel(x, y), y >= toPixels(5, s) && y < toPixels(6, s) ? kWhiteCColor : kBlackCColor)
                << s << " row " << y;
        // The outline runs along the rectangle's inside edge.
        EXPECT_EQ(c.getPixel(toPixels(4, s), toPixels(15, s)), kWhiteCColor);
        EXPECT_EQ(c.getPixel(toPixels(4, s) - 1, toPixels(15, s)), kBlackCColor);
        EXPECT_EQ(c.getPixel(toPixels(20, s) - 1, toPixels(15, s)), kWhiteCColor);
        EXPECT_EQ(c.getPixel(toPixels(20, s), toPixels(15, s)), kBlackCColor);
        EXPECT_EQ(c.getPixel(toPixels(12, s), toPixels(15, s)), kBlackCColor);
    }
}

// How many aligned 2 x 2 blocks of a picture are not of one colour: none
// when it is an enlargement of one at half the size.
int mixedBlocks(COffscreenContext& c, CCoord w, CCoord h) {
    int n = 0;
    for (CCoord y = 0; y + 1 < h; y += 2)
        for (CCoord x = 0; x + 1 < w; x += 2) {
            const CColor a = c.getPixel(x, y);
            n += a != c.getPixel(x + 1, y) || a != c.getPixel(x, y + 1) || a != c.getPixel(x + 1, y + 1);
        }
    return n;
}

TEST(ScaledDrawing, TextIsDrawnForThePixelsNotEnlarged) {
    COffscreenContext one(60, 20, kBlackCColor, 1.0), two(60, 20, kBlackCColor, 2.0);
    for (COffscreenContext* c : {&one, &two}) {
        c->setFont(kNormalFontBig);
        c->setFontColor(kWhiteCColor);
        c->drawString("Hg", CRect(0, 0, 60, 20), false, kLeftText);
    }
    auto lit = [](COffscreenContext& c, CCoord w, CCoord h) {
        int n = 0;
        for (CCoord y = 0; y < h; ++y)
            for (CCoord x = 0; x < w; ++x) n += c.getPixel(x, y).red > 128;
        return n;
    };
    const int lit1 = lit(one, 60, 20), lit2 = lit(two, 120, 40);
    ASSERT_GT(lit1, 20);
    // About four times the ink, as the letters are the same size in units...
    EXPECT_GT(lit2, 3 * lit1);
    EXPECT_LT(lit2, 5 * lit1);
    // ...with edges finer than a unit.
    EXPECT_GT(mixedBlocks(two, 120, 40), 20);
    // The width of a text is the same in units at both scales, give or take hinting.
    EXPECT_NEAR(two.getStringWidth("Hello world"), one.getStringWidth("Hello world"), 2);
}

// A provider with a picture per scale: red at 1, green at 2 (in two bands,
// the lower one blue), nothing at 4 for number 201.
bool scaledProvider(int id, int scaleIndex, int band, const unsigned char** data, size_t* size) {
    static const std::vector<unsigned char> red = makePng(4, 6, [](int, int) { return kRedCColor; });
    static const std::vector<unsigned char> green = makePng(8, 6, [](int, int) { return kGreenCColor; });
    static const std::vector<unsigned char> blue = makePng(8, 6, [](int, int) { return kBlueCColor; });
    static const std::vector<unsigned char> white = makePng(16, 24, [](int, int) { return kWhiteCColor; });
    const std::vector<unsigned char>* png = nullptr;
    if (id != 200 && id != 201) return false;
    if (scaleIndex == 0 && band == 0) png = &red;
    if (scaleIndex == 1 && band == 0) png = &green;
    if (scaleIndex == 1 && band == 1) png = &blue;
    if (scaleIndex == 2 && band == 0 && id == 200) png = &white;
    if (!png) return false;
    *data = png->data();
    *size = png->size();
    return true;
}
const double kProvidedScales[] = {1.0, 2.0, 4.0};

TEST(ScaledBitmap, DrawnFromThePictureAtTheScaleOrReducedFromAFinerOne) {
    setScaledResourceProvider(scaledProvider, kProvidedScales, 3);
    CBitmap bmp(CResourceDescription(200));
    ASSERT_TRUE(bmp.isLoaded());
    EXPECT_EQ(bmp.getWidth(), 4);  // units: the picture at scale 1
    EXPECT_EQ(bmp.getHeight(), 6);
    CCoord w = 0, h = 0;
    double drawnAt = 0;
    // At 2: the two bands stacked, green above blue.
    ASSERT_TRUE(bmp.getPictureInfo(2.0, &w, &h, &drawnAt));
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 12);
    EXPECT_EQ(drawnAt, 2.0);
    COffscreenContext c2(10, 10, kBlackCColor, 2.0);
    bmp.draw(&c2, CRect(1, 1, 5, 7));
    EXPECT_EQ(c2.getPixel(2, 2), kGreenCColor);
    EXPECT_EQ(c2.getPixel(9, 7), kGreenCColor);
    EXPECT_EQ(c2.getPixel(9, 8), kBlueCColor);  // picture row 6: the second band
    EXPECT_EQ(c2.getPixel(10, 8), kBlackCColor);  // clipped to the rectangle
    // Only the lower band's part: from unit (0, 3) of the bitmap.
    COffscreenContext lower(4, 3, kBlackCColor, 2.0);
    bmp.draw(&lower, CRect(0, 0, 4, 3), CPoint(0, 3));
    EXPECT_EQ(lower.getPixel(0, 0), kBlueCColor);
    EXPECT_EQ(lower.getPixel(7, 5), kBlueCColor);
    // At 1.5: reduced from the picture at 2; the band seam leaves no gap.
    ASSERT_TRUE(bmp.getPictureInfo(1.5, &w, &h, &drawnAt));
    EXPECT_EQ(drawnAt, 2.0);
    EXPECT_EQ(w, 6);
    EXPECT_EQ(h, 9);
    for (CCoord y = 0; y < h; ++y) EXPECT_EQ(bmp.getPicturePixel(1.5, 3, y).alpha, 255) << "row " << y;
    EXPECT_EQ(bmp.getPicturePixel(1.5, 3, 0), kGreenCColor);
    EXPECT_EQ(bmp.getPicturePixel(1.5, 3, 8), kBlueCColor);
    // At 3: reduced from 4; at scale 1 the plain picture.
    ASSERT_TRUE(bmp.getPictureInfo(3.0, &w, &h, &drawnAt));
    EXPECT_EQ(drawnAt, 4.0);
    EXPECT_EQ(bmp.getPicturePixel(3.0, 5, 5), kWhiteCColor);
    COffscreenContext c1(5, 7, kBlackCColor);
    bmp.draw(&c1, CRect(0, 0, 4, 6));
    EXPECT_EQ(c1.getPixel(3, 5), kRedCColor);

    // A number with no picture at 4 is enlarged from the finest it has.
    CBitmap partial(CResourceDescription(201));
    ASSERT_TRUE(partial.getPictureInfo(4.0, &w, &h, &drawnAt));
    EXPECT_EQ(drawnAt, 2.0);
    EXPECT_EQ(w, 16);
    CBitmap unknown(CResourceDescription(202));
    EXPECT_FALSE(unknown.isLoaded());
    EXPECT_FALSE(unknown.getPictureInfo(2.0, &w, &h, &drawnAt));
    setResourceProvider(nullptr);
}

TEST(ScaledBitmap, PlainBitmapsEnlargeByWholeNumbersWithHardEdges) {
    CBitmap* checker = makeBitmap(2, 2, [](int x, int y) { return (x + y) % 2 ? kWhiteCColor : kBlackCColor; });
    COffscreenContext c(2, 2, kRedCColor, 3.0);
    checker->draw(&c, CRect(0, 0, 2, 2));
    for (CCoord y = 0; y < 6; ++y)
        for (CCoord x = 0; x < 6; ++x)
            EXPECT_EQ(c.getPixel(x, y), ((x / 3 + y / 3) % 2) ? kWhiteCColor : kBlackCColor) << x << "," << y;
    checker->forget();
}

// A picture in the toolkit's packed form: opaque pixels paint(x, y), rows
// stored against the row `period` above; the header's height may be given
// otherwise than the rows packed.
std::vector<unsigned char> packPicture(uint32_t w, uint32_t h, uint32_t period,
                                       const std::function<CColor(int, int)>& paint, uint32_t headerHeight = 0) {
    std::vector<unsigned char> words;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const CColor c = paint(static_cast<int>(x), static_cast<int>(y));
            for (unsigned char b : {c.blue, c.green, c.red, static_cast<unsigned char>(255)}) words.push_back(b);
        }
    packed::applyPeriod(words.data(), 4 * w, h, period);
    uLongf length = compressBound(static_cast<uLong>(words.size()));
    std::vector<unsigned char> out(packed::kHeaderSize + length);
    packed::writeHeader(out.data(), {w, headerHeight ? headerHeight : h, period});
    EXPECT_EQ(compress2(out.data() + packed::kHeaderSize, &length, words.data(), static_cast<uLong>(words.size()), 9), Z_OK);
    out.resize(packed::kHeaderSize + length);
    return out;
}

TEST(Bitmap, PackedPicturesOpenAsPngDoesAndBadOnesAreRefused) {
    // A strip of three frames four rows tall, alike but for one pixel each.
    auto strip = [](int x, int y) {
        return x == y / 4 && y % 4 == 1 ? kRedCColor : MakeCColor(static_cast<unsigned char>(10 * x), static_cast<unsigned char>(y % 4 * 20), 90);
    };
    for (uint32_t period : {0u, 4u}) {
        const std::vector<unsigned char> bytes = packPicture(5, 12, period, strip);
        CBitmap bmp(bytes.data(), bytes.size());
        ASSERT_TRUE(bmp.isLoaded()) << period;
        EXPECT_EQ(bmp.getWidth(), 5);
        EXPECT_EQ(bmp.getHeight(), 12);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 5; ++x) ASSERT_EQ(bmp.getPixel(x, y), strip(x, y)) << period << ": " << x << "," << y;
    }
    const std::vector<unsigned char> good = packPicture(5, 12, 4, strip);
    auto refused = [](std::vector<unsigned char> bytes) { return !CBitmap(bytes.data(), bytes.size()).isLoaded(); };
    EXPECT_TRUE(refused(std::vector<unsigned char>(good.begin(), good.begin() + good.size() / 2)));
    EXPECT_TRUE(refused(std::vector<unsigned char>(good.begin(), good.begin() + packed::kHeaderSize)));
    EXPECT_TRUE(refused(packPicture(5, 12, 12, strip)));  // a period as tall as the picture
    EXPECT_TRUE(refused(packPicture(5, 12, 0, strip, 13)));  // fewer rows than said
    EXPECT_TRUE(refused(packPicture(5, 12, 0, strip, 11)));  // more rows than said
    std::vector<unsigned char> bad = good;
    bad[0] = 'X';
    EXPECT_TRUE(refused(bad));
    bad = good;
    packed::writeHeader(bad.data(), {40000, 12, 0});  // wider than an image may be
    EXPECT_TRUE(refused(bad));
    bad = good;
    packed::writeHeader(bad.data(), {0, 12, 0});
    EXPECT_TRUE(refused(bad));
    bad = good;
    bad[packed::kHeaderSize + 3] ^= 0x55;  // damaged compressed data
    EXPECT_TRUE(refused(bad));
}

// A view that fills its rectangle with one colour.
class Fill : public CView {
public:
    Fill(const CRect& r, CColor c) : CView(r), color(c) {}
    void draw(CDrawContext* context) override {
        context->setFillColor(color);
        context->drawRect(size_, kDrawFilled);
    }
    CColor color;
};

// A strip of three frames 2 units tall: one band at 1 (grey), one band per
// frame at 2 (red, green, blue); number 301 has its green band damaged past
// its header. Counts the provider's answers (editors on two threads ask at once).
std::atomic<int> gStripAsked{0};
bool stripProvider(int id, int scaleIndex, int band, const unsigned char** data, size_t* size) {
    static const std::vector<unsigned char> grey = packPicture(3, 6, 2, [](int, int) { return MakeCColor(90, 90, 90); });
    static const std::vector<std::vector<unsigned char>> frames = {
        packPicture(6, 4, 0, [](int, int) { return kRedCColor; }),
        packPicture(6, 4, 0, [](int, int) { return kGreenCColor; }),
        packPicture(6, 4, 0, [](int, int) { return kBlueCColor; })};
    static const std::vector<unsigned char> damaged = [] {
        std::vector<unsigned char> bytes = frames[1];
        for (size_t i = packed::kHeaderSize + 2; i < bytes.size(); ++i) bytes[i] ^= 0x5a;
        return bytes;
    }();
    if (id != 300 && id != 301) return false;
    const std::vector<unsigned char>* bytes = nullptr;
    if (scaleIndex == 0 && band == 0) bytes = &grey;
    if (scaleIndex == 1 && band >= 0 && band < 3) bytes = id == 301 && band == 1 ? &damaged : &frames[static_cast<size_t>(band)];
    if (!bytes) return false;
    ++gStripAsked;
    *data = bytes->data();
    *size = bytes->size();
    return true;
}
const double kStripScales[] = {1.0, 2.0};

// Frame f of a strip bitmap drawn at 2: the colour of its middle pixel.
CColor frameAtTwo(CBitmap& strip, int frame) {
    COffscreenContext c(3, 2, kBlackCColor, 2.0);
    strip.draw(&c, CRect(0, 0, 3, 2), CPoint(0, 2 * frame));
    return c.getPixel(3, 2);
}

TEST(SharedPictures, ADecodedBandServesEveryBitmapOfItsNumberUntilTheLastGoes) {
    setScaledResourceProvider(stripProvider, kStripScales, 2);
    const long before = CBitmap::getDecodedImageCount();
    auto decoded = [before] { return CBitmap::getDecodedImageCount() - before; };
    {
        CBitmap a{CResourceDescription(300)};
        ASSERT_TRUE(a.isLoaded());
        EXPECT_EQ(a.getWidth(), 3);  // from the header alone
        EXPECT_EQ(a.getHeight(), 6);
        EXPECT_EQ(decoded(), 0);
        // Only the band of the frame shown is decoded, once.
        EXPECT_EQ(frameAtTwo(a, 1), kGreenCColor);
        EXPECT_EQ(decoded(), 1);
        EXPECT_EQ(frameAtTwo(a, 1), kGreenCColor);
        EXPECT_EQ(decoded(), 1);
        // A second bitmap of the number, as another instance's editor holds:
        // the provider is not asked again and nothing is decoded twice.
        const int asked = gStripAsked;
        CBitmap b{CResourceDescription(300)};
        EXPECT_EQ(frameAtTwo(b, 1), kGreenCColor);
        EXPECT_EQ(gStripAsked, asked);
        EXPECT_EQ(decoded(), 1);
        EXPECT_EQ(frameAtTwo(b, 2), kBlueCColor);
        EXPECT_EQ(frameAtTwo(a, 2), kBlueCColor);
        EXPECT_EQ(decoded(), 2);
        EXPECT_EQ(a.getPixel(1, 1), MakeCColor(90, 90, 90));  // the picture at 1, decoded when read
        EXPECT_EQ(decoded(), 3);
    }
    // Both gone: the pictures went with them.
    CBitmap c{CResourceDescription(300)};
    EXPECT_EQ(frameAtTwo(c, 1), kGreenCColor);
    EXPECT_EQ(decoded(), 4);
    setResourceProvider(nullptr);
}

TEST(SharedPictures, AScaleBetweenTheDrawnOnesIsMadeBandByBandFromTheFinerPicture) {
    setScaledResourceProvider(stripProvider, kStripScales, 2);
    const long before = CBitmap::getDecodedImageCount();
    CBitmap strip{CResourceDescription(300)};
    CCoord w = 0, h = 0;
    double drawnAt = 0;
    ASSERT_TRUE(strip.getPictureInfo(1.5, &w, &h, &drawnAt));
    EXPECT_EQ(h, 9);
    EXPECT_EQ(drawnAt, 2.0);
    EXPECT_EQ(CBitmap::getDecodedImageCount(), before) << "nothing made before it is drawn";
    // Frame 1 at 1.5: reduced from the green band at 2 alone.
    COffscreenContext c(3, 2, kBlackCColor, 1.5);
    strip.draw(&c, CRect(0, 0, 3, 2), CPoint(0, 2));
    EXPECT_EQ(c.getPixel(2, 1), kGreenCColor);
    EXPECT_EQ(CBitmap::getDecodedImageCount(), before + 1);
    EXPECT_EQ(strip.getPicturePixel(1.5, 2, 7), kBlueCColor);
    EXPECT_EQ(CBitmap::getDecodedImageCount(), before + 2);
    setResourceProvider(nullptr);
}

TEST(SharedPictures, ADamagedBandDrawsNothingAndTheOtherBandsStillDraw) {
    setScaledResourceProvider(stripProvider, kStripScales, 2);
    CBitmap strip{CResourceDescription(301)};
    ASSERT_TRUE(strip.isLoaded());
    EXPECT_EQ(frameAtTwo(strip, 0), kRedCColor);
    EXPECT_EQ(frameAtTwo(strip, 1), kBlackCColor);
    EXPECT_EQ(frameAtTwo(strip, 1), kBlackCColor);  // and is not tried again and again
    EXPECT_EQ(frameAtTwo(strip, 2), kBlueCColor);
    // A reduction across the damaged band leaves its rows empty and keeps the rest.
    EXPECT_EQ(strip.getPicturePixel(1.5, 2, 1), kRedCColor);
    EXPECT_EQ(strip.getPicturePixel(1.5, 2, 4).alpha, 0);
    EXPECT_EQ(strip.getPicturePixel(1.5, 2, 7), kBlueCColor);
    setResourceProvider(nullptr);
}

TEST(SharedPictureThreads, EditorsOnTwoThreadsDrawTheSameNumberAtOnce) {
    for (int round = 0; round < 20; ++round) {
        std::atomic<int> wrong{0};
        auto drawAll = [&wrong] {
            // Each editor sets the providers as it is made, perhaps while another draws.
            setScaledResourceProvider(stripProvider, kStripScales, 2);
            CBitmap mine{CResourceDescription(300)};
            const CColor expected[] = {kRedCColor, kGreenCColor, kBlueCColor};
            for (int f : {2, 0, 1, 2})
                if (frameAtTwo(mine, f) != expected[f]) ++wrong;
        };
        std::thread other(drawAll);
        drawAll();
        other.join();
        ASSERT_EQ(wrong, 0) << "round " << round;
    }
    setResourceProvider(nullptr);
}

TEST(ScaledFrame, KeepsItsUnitsAndDrawsAdjacentViewsWithoutGapOrOverlap) {
    for (double s : {1.0, 1.5, 2.0}) {
        CFrame* frame = new CFrame(CRect(0, 0, 81, 41), nullptr, nullptr, s);
        EXPECT_EQ(frame->getScaleFactor(), s);
        EXPECT_EQ(frame->getPixelSize(), CRect(0, 0, toPixels(81, s), toPixels(41, s)));
        frame->addView(new Fill(CRect(0, 0, 37, 41), kRedCColor));
        frame->addView(new Fill(CRect(37, 0, 81, 41), kGreenCColor));
        cairo_surface_t* pic = frame->renderToSurface();
        ASSERT_EQ(cairo_image_surface_get_width(pic), toPixels(81, s));
        ASSERT_EQ(cairo_image_surface_get_height(pic), toPixels(41, s));
        const CCoord seam = toPixels(37, s);
        EXPECT_EQ(redAt(pic, static_cast<int>(seam - 1), 3), 255u) << s;
        EXPECT_EQ(redAt(pic, static_cast<int>(seam), 3), 0u) << s;
        cairo_surface_destroy(pic);
        // The views and the events stay in units.
        EXPECT_EQ(frame->getViewAt(CPoint(36, 5)), frame->getView(0));
        CRect size;
        frame->getSize(size);
        EXPECT_EQ(size, CRect(0, 0, 81, 41));
        frame->forget();
    }
}

TEST(ScaledFrame, ScaleChangesRedrawAtTheNewSizeAndNonsenseIsRefused) {
    CFrame* frame = new CFrame(CRect(0, 0, 100, 50), nullptr, nullptr);
    frame->addView(new Fill(CRect(10, 10, 20, 20), kWhiteCColor));
    frame->updateDirty();
    EXPECT_TRUE(frame->setScaleFactor(2.0));
    EXPECT_TRUE(frame->isDirty());
    cairo_surface_t* pic = frame->renderToSurface();
    EXPECT_EQ(cairo_image_surface_get_width(pic), 200);
    EXPECT_EQ(redAt(pic, 39, 39), 255u);
    EXPECT_EQ(redAt(pic, 40, 40), 0u);
    cairo_surface_destroy(pic);
    for (double bad : {0.0, -2.0, kNaN, kInf, 50.0}) {
        EXPECT_FALSE(frame->setScaleFactor(bad)) << bad;
        EXPECT_EQ(frame->getScaleFactor(), 2.0);
    }
    EXPECT_TRUE(frame->setScaleFactor(6.0));  // plausible, kept within 1..4
    EXPECT_EQ(frame->getScaleFactor(), 4.0);
    EXPECT_EQ(frame->getPixelSize(), CRect(0, 0, 400, 200));
    frame->forget();
    CFrame* bad = new CFrame(CRect(0, 0, 10, 10), nullptr, nullptr, kNaN);
    EXPECT_EQ(bad->getScaleFactor(), 1.0);
    bad->forget();
}

TEST(ScaledFrame, OffscreenPartsOfViewsFollowTheFramesScale) {
    // What a view draws offscreen first (as the wave display does) has the frame's scale.
    CFrame* frame = new CFrame(CRect(0, 0, 20, 20), nullptr, nullptr, 2.0);
    COffscreenContext off(frame, 10, 10, kBlackCColor);
    EXPECT_EQ(off.getScaleFactor(), 2.0);
    EXPECT_EQ(cairo_image_surface_get_width(off.getSurface()), 20);
    off.setFillColor(kWhiteCColor);
    off.drawRect(CRect(5, 5, 10, 10), kDrawFilled);
    COffscreenContext dest(20, 20, kBlackCColor, 2.0);
    off.copyFrom(&dest, CRect(10, 10, 20, 20));
    EXPECT_EQ(dest.getPixel(29, 29), kBlackCColor);
    EXPECT_EQ(dest.getPixel(30, 30), kWhiteCColor);
    EXPECT_EQ(dest.getPixel(39, 39), kWhiteCColor);
    frame->forget();
}

}  // namespace
