// PNG loading: fixtures written here with libpng, decoded to exact pixels;
// damaged and oversized images refused.
#include <qx/png.h>

#include "QxTestSupport.h"

#include <gmock/gmock.h>
#include <png.h>
#include <zlib.h>

#include <functional>

using qxtest::Bytes;
using qxtest::TempDir;

namespace {

// What a fixture holds besides its rows.
struct PngFixture {
    int width = 2;
    int height = 2;
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    std::vector<png_color> palette;
    std::vector<png_byte> trnsAlpha; // palette images
    bool trnsColor = false;          // RGB / grey images
    png_color_16 trnsValue = {};
    bool bkgd = false;
    png_color_16 bkgdValue = {};
    std::vector<Bytes> rows; // raw rows as libpng takes them
};

void PNGCBAPI WriteToVector(png_structp png, png_bytep data, png_size_t n)
{
    Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void PNGCBAPI NoFlush(png_structp) {}

Bytes WritePng(const PngFixture& s)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return Bytes();
    }
    png_set_write_fn(png, &out, WriteToVector, NoFlush);
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!s.palette.empty())
        png_set_PLTE(png, info, s.palette.data(), (int)s.palette.size());
    if (!s.trnsAlpha.empty())
        png_set_tRNS(png, info, s.trnsAlpha.data(), (int)s.trnsAlpha.size(), NULL);
    if (s.trnsColor)
        png_set_tRNS(png, info, NULL, 0, &s.trnsValue);
    if (s.bkgd)
        png_set_bKGD(png, info, &s.bkgdValue);
    png_write_info(png, info);
    for (const Bytes& r : s.rows)
        png_write_row(png, r.data());
    png_write_end(png, NULL);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Decodes from memory through a memory file.
struct Decoded {
    BOOL ok = FALSE;
    std::vector<DWORD> pixels; // 0xAARRGGBB, top-down
    BOOL alpha = FALSE;
    COLORREF background = (COLORREF)-1;
    int cx = 0, cy = 0;
};

Decoded Decode(const Bytes& bytes)
{
    Decoded d;
    Bytes copy(bytes);
    CMemFile file(copy.empty() ? NULL : copy.data(), (UINT)copy.size());
    CDibImage dib;
    d.ok = dib.LoadFromStream(&file);
    if (d.ok) {
        d.pixels = qxtest::Pixels(dib.GetBitmap(), &d.cx, &d.cy);
        d.alpha = dib.IsAlpha();
        d.background = dib.GetBackground();
    } else {
        EXPECT_EQ(nullptr, dib.GetBitmap()) << "a failed load leaves the object empty";
        EXPECT_FALSE(dib.IsAlpha());
    }
    return d;
}

DWORD Argb(int a, int r, int g, int b) { return ((DWORD)a << 24) | ((DWORD)r << 16) | ((DWORD)g << 8) | (DWORD)b; }

// Rewrites the IHDR size of a valid PNG (and its CRC).
Bytes WithSize(Bytes png, uint32_t width, uint32_t height)
{
    auto put = [&](size_t at, uint32_t v) {
        png[at] = (BYTE)(v >> 24);
        png[at + 1] = (BYTE)(v >> 16);
        png[at + 2] = (BYTE)(v >> 8);
        png[at + 3] = (BYTE)v;
    };
    put(16, width);
    put(20, height);
    uint32_t crc = (uint32_t)crc32(0, png.data() + 12, 17);
    put(29, crc);
    return png;
}

} // namespace

TEST(Png, FixturesDecodeToExactPixels)
{
    struct Case {
        const char* name;
        std::function<PngFixture()> make;
        BOOL alpha;
        std::vector<DWORD> expect;
        COLORREF background;
    };
    std::vector<Case> cases = {
        {"RGB, alpha 0 everywhere",
         [] {
             PngFixture s;
             s.rows = {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 10, 20, 30}};
             return s;
         },
         FALSE,
         {Argb(0, 255, 0, 0), Argb(0, 0, 255, 0), Argb(0, 0, 0, 255), Argb(0, 10, 20, 30)},
         (COLORREF)-1},
        {"RGBA",
         [] {
             PngFixture s;
             s.colorType = PNG_COLOR_TYPE_RGBA;
             s.rows = {{255, 0, 0, 255, 0, 255, 0, 128}, {0, 0, 255, 0, 1, 2, 3, 4}};
             return s;
         },
         TRUE,
         {Argb(255, 255, 0, 0), Argb(128, 0, 255, 0), Argb(0, 0, 0, 255), Argb(4, 1, 2, 3)},
         (COLORREF)-1},
        {"palette with a transparent entry",
         [] {
             PngFixture s;
             s.colorType = PNG_COLOR_TYPE_PALETTE;
             s.palette = {{10, 20, 30}, {200, 100, 50}};
             s.trnsAlpha = {0};
             s.rows = {{0, 1}, {1, 0}};
             return s;
         },
         TRUE,
         {Argb(0, 10, 20, 30), Argb(255, 200, 100, 50), Argb(255, 200, 100, 50), Argb(0, 10, 20, 30)},
         (COLORREF)-1},
        {"16-bit grey comes out as 8-bit RGB",
         [] {
             PngFixture s;
             s.colorType = PNG_COLOR_TYPE_GRAY;
             s.bitDepth = 16;
             s.rows = {{0x12, 0x34, 0xFF, 0xFF}, {0x00, 0x01, 0x80, 0x00}};
             return s;
         },
         FALSE,
         {Argb(0, 0x12, 0x12, 0x12), Argb(0, 255, 255, 255), Argb(0, 0, 0, 0), Argb(0, 0x80, 0x80, 0x80)},
         (COLORREF)-1},
        {"1-bit grey expands",
         [] {
             PngFixture s;
             s.colorType = PNG_COLOR_TYPE_GRAY;
             s.bitDepth = 1;
             s.rows = {{0x40}, {0x80}}; // 0 1 / 1 0
             return s;
         },
         FALSE,
         {Argb(0, 0, 0, 0), Argb(0, 255, 255, 255), Argb(0, 255, 255, 255), Argb(0, 0, 0, 0)},
         (COLORREF)-1},
        {"grey with alpha",
         [] {
             PngFixture s;
             s.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
             s.rows = {{50, 255, 60, 0}, {70, 10, 80, 20}};
             return s;
         },
         TRUE,
         {Argb(255, 50, 50, 50), Argb(0, 60, 60, 60), Argb(10, 70, 70, 70), Argb(20, 80, 80, 80)},
         (COLORREF)-1},
        {"RGB with a transparent colour",
         [] {
             PngFixture s;
             s.trnsColor = true;
             s.trnsValue.red = 1;
             s.trnsValue.green = 2;
             s.trnsValue.blue = 3;
             s.rows = {{1, 2, 3, 9, 9, 9}, {9, 9, 9, 1, 2, 3}};
             return s;
         },
         TRUE,
         {Argb(0, 1, 2, 3), Argb(255, 9, 9, 9), Argb(255, 9, 9, 9), Argb(0, 1, 2, 3)},
         (COLORREF)-1},
        {"RGBA with a background chunk keeps its transparency",
         [] {
             PngFixture s;
             s.colorType = PNG_COLOR_TYPE_RGBA;
             s.bkgd = true;
             s.bkgdValue.red = 0x11;
             s.bkgdValue.green = 0x22;
             s.bkgdValue.blue = 0x33;
             s.rows = {{255, 0, 0, 0, 0, 255, 0, 255}, {0, 0, 255, 128, 7, 7, 7, 7}};
             return s;
         },
         TRUE,
         {Argb(0, 255, 0, 0), Argb(255, 0, 255, 0), Argb(128, 0, 0, 255), Argb(7, 7, 7, 7)},
         RGB(0x11, 0x22, 0x33)},
        {"palette with transparency and a background",
         [] {
             PngFixture s;
             s.colorType = PNG_COLOR_TYPE_PALETTE;
             s.palette = {{1, 1, 1}, {250, 250, 250}};
             s.trnsAlpha = {0, 255};
             s.bkgd = true;
             s.bkgdValue.index = 1;
             s.rows = {{0, 1}, {1, 0}};
             return s;
         },
         TRUE,
         {Argb(0, 1, 1, 1), Argb(255, 250, 250, 250), Argb(255, 250, 250, 250), Argb(0, 1, 1, 1)},
         RGB(250, 250, 250)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes png = WritePng(c.make());
        ASSERT_FALSE(png.empty());
        Decoded d = Decode(png);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(2, d.cx);
        EXPECT_EQ(2, d.cy);
        EXPECT_EQ(c.alpha, d.alpha);
        EXPECT_EQ(c.expect, d.pixels);
        EXPECT_EQ(c.background, d.background);
    }
}

TEST(Png, DecoderHandsOutPackedRowsAndChannels)
{
    PngFixture s;
    s.width = 3;
    s.height = 1;
    s.colorType = PNG_COLOR_TYPE_RGB;
    s.rows = {{1, 2, 3, 4, 5, 6, 7, 8, 9}};
    Bytes png = WritePng(s);
    CMemFile file(png.data(), (UINT)png.size());
    BYTE* p = NULL;
    int w = 0, h = 0, ch = 0;
    COLORREF bk = 0;
    ASSERT_TRUE(LoadPngImage(&file, &p, &w, &h, &ch, &bk));
    EXPECT_EQ(3, w);
    EXPECT_EQ(1, h);
    EXPECT_EQ(3, ch);
    EXPECT_EQ((COLORREF)-1, bk);
    EXPECT_EQ(Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9}), Bytes(p, p + 9));
    free(p);
}

TEST(Png, DamagedAndOversizedImagesAreRefused)
{
    PngFixture s;
    s.colorType = PNG_COLOR_TYPE_RGBA;
    s.width = 4;
    s.height = 4;
    s.rows.assign(4, Bytes(16, 0x55));
    const Bytes good = WritePng(s);
    ASSERT_TRUE(Decode(good).ok);

    Bytes badSignature = good;
    badSignature[1] = 'Q';
    Bytes truncated(good.begin(), good.begin() + (long)(good.size() * 2 / 3));
    Bytes badCrc = good;
    badCrc[good.size() - 20] ^= 0xFF; // inside the image data
    Bytes noEnd(good.begin(), good.end() - 12);
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", Bytes()},
        {"signature only", Bytes(good.begin(), good.begin() + 8)},
        {"bad signature", badSignature},
        {"truncated", truncated},
        {"damaged data", badCrc},
        {"huge", WithSize(good, 100000, 100000)},
        {"overflowing row size", WithSize(good, 0x7FFFFFFF, 2)},
        {"zero width", WithSize(good, 0, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Decode(c.bytes).ok);
        Bytes copy(c.bytes);
        CMemFile file(copy.empty() ? NULL : copy.data(), (UINT)copy.size());
        BYTE* p = (BYTE*)1;
        EXPECT_FALSE(LoadPngImage(&file, &p, NULL, NULL, NULL, NULL));
        EXPECT_EQ(nullptr, p);
    }
    // The end chunk is not needed for the pixels, but a missing one is an
    // error of the stream.
    EXPECT_FALSE(Decode(noEnd).ok);
}

TEST(Png, FilesAndResources)
{
    TempDir dir;
    PngFixture s;
    s.colorType = PNG_COLOR_TYPE_RGBA;
    s.rows = {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 16}};
    Bytes png = WritePng(s);
    std::string path = dir.Path("a.png");
    qxtest::WriteFileBytes(path, png.data(), png.size());

    CDibImage dib;
    ASSERT_TRUE(dib.LoadFromFile(path.c_str()));
    EXPECT_TRUE(dib.IsAlpha());
    EXPECT_EQ(Argb(4, 1, 2, 3), qxtest::Pixels(dib.GetBitmap())[0]);
    EXPECT_FALSE(dib.LoadFromFile(dir.Path("missing.png").c_str()));
    EXPECT_EQ(nullptr, dib.GetBitmap());

    HMODULE h = GetModuleHandleA(NULL);
    EXPECT_FALSE(dib.LoadFromResource(h, NULL));
    EXPECT_FALSE(dib.LoadFromResource(h, FindResourceA(h, MAKEINTRESOURCEA(132), "PNG"))) << "9 bytes or fewer";
    ASSERT_TRUE(dib.LoadFromResource(h, FindResourceA(h, MAKEINTRESOURCEA(131), "PNG")));
    std::vector<DWORD> px = qxtest::Pixels(dib.GetBitmap());
    EXPECT_EQ((std::vector<DWORD>{Argb(255, 255, 0, 0), Argb(128, 0, 255, 0), Argb(0, 0, 0, 255),
                                  Argb(255, 255, 255, 255)}),
              px);
    HBITMAP mine = dib.Detach();
    EXPECT_EQ(nullptr, dib.GetBitmap());
    DeleteObject(mine);
}

TEST(Png, CreateDib32IsTopDownBgra)
{
    const BYTE rgba[] = {1, 2, 3, 4, 5, 6, 7, 8};
    HBITMAP h = CDibImage::CreateDib32(rgba, 1, 2, 4);
    ASSERT_TRUE(h != NULL);
    DIBSECTION ds;
    ASSERT_TRUE(GetObjectA(h, sizeof(ds), &ds));
    EXPECT_EQ(32, ds.dsBmih.biBitCount);
    // Top-down: the first row in memory is the image's top row.
    const BYTE* bits = static_cast<const BYTE*>(ds.dsBm.bmBits);
    EXPECT_EQ(Bytes({3, 2, 1, 4, 7, 6, 5, 8}), Bytes(bits, bits + 8));
    DeleteObject(h);
    EXPECT_EQ(nullptr, CDibImage::CreateDib32(rgba, 1, 2, 2));
    EXPECT_EQ(nullptr, CDibImage::CreateDib32(rgba, 0, 2, 4));
    EXPECT_EQ(nullptr, CDibImage::CreateDib32(rgba, 100000, 100000, 4));
}
