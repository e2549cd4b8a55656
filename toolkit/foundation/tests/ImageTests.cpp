// The image manager: store and lookup, strips and resources, generated
// images pixel by pixel, drawing and blending, persistence, the clipboard
// and the loaders (with damaged input).
#include <qx/images.h>
#include <qx/colors.h>
#include <qx/drawing.h>
#include <qx/propexchange.h>

#include "QxTestSupport.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

using qxtest::Bytes;
using qxtest::TempDir;

namespace {

DWORD Argb(int a, int r, int g, int b) { return ((DWORD)a << 24) | ((DWORD)r << 16) | ((DWORD)g << 8) | (DWORD)b; }
DWORD Rgb(DWORD p) { return p & 0x00FFFFFF; }

// An alpha bitmap whose pixel (x, y) is fn(x, y) (0xAARRGGBB).
HBITMAP MakeAlpha(int cx, int cy, const std::function<DWORD(int, int)>& fn)
{
    DWORD* bits = NULL;
    HBITMAP h = qxtest::MakeDib32(cx, cy, &bits);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            bits[y * cx + x] = fn(x, y);
    GdiFlush();
    return h;
}

// A masked icon: colour fn(x, y) (RGB), transparent where opaque(x, y) is
// false.
HICON MakeIcon(
    int cx, int cy, const std::function<DWORD(int, int)>& color,
    const std::function<bool(int, int)>& opaque = [](int, int) { return true; })
{
    DWORD* bits = NULL;
    HBITMAP hColor = qxtest::MakeDib32(cx, cy, &bits);
    std::vector<BYTE> mask((size_t)((cx + 15) / 16 * 2) * cy, 0);
    const int stride = (cx + 15) / 16 * 2;
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x) {
            bool o = opaque(x, y);
            bits[y * cx + x] = o ? Rgb(color(x, y)) : 0;
            if (!o)
                mask[(size_t)y * stride + x / 8] |= (BYTE)(0x80 >> (x % 8));
        }
    }
    GdiFlush();
    HBITMAP hMask = CreateBitmap(cx, cy, 1, 1, mask.data());
    ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
    HICON h = CreateIconIndirect(&ii);
    DeleteObject(hColor);
    DeleteObject(hMask);
    return h;
}

// A white 32-bit canvas to draw on.
class Canvas {
public:
    Canvas(int cx, int cy, DWORD fill = 0x00FFFFFF) : m_cx(cx), m_cy(cy)
    {
        m_hbm = qxtest::MakeDib32(cx, cy, &m_bits);
        for (int i = 0; i < cx * cy; ++i)
            m_bits[i] = fill;
        m_hdc = CreateCompatibleDC(NULL);
        m_old = SelectObject(m_hdc, m_hbm);
    }
    ~Canvas()
    {
        SelectObject(m_hdc, m_old);
        DeleteDC(m_hdc);
        DeleteObject(m_hbm);
    }
    HDC dc() const { return m_hdc; }
    DWORD At(int x, int y) const
    {
        GdiFlush();
        return m_bits[y * m_cx + x];
    }
    DWORD* m_bits = NULL;
    int m_cx, m_cy;

private:
    HBITMAP m_hbm;
    HDC m_hdc;
    HGDIOBJ m_old;
};

std::vector<DWORD> PixelsOf(const CQXPIconHandle& h)
{
    if (h.GetBitmap())
        return qxtest::Pixels(h.GetBitmap());
    ICONINFO ii;
    std::vector<DWORD> px;
    if (h.GetIcon() && GetIconInfo(h.GetIcon(), &ii)) {
        px = qxtest::Pixels(ii.hbmColor);
        DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);
    }
    return px;
}

// The picture an image handle draws on white.
std::vector<DWORD> Rendered(CQXPIconImage* img, const CQXPIconHandle& h, int cx = 0, int cy = 0)
{
    int w = cx ? cx : img->GetWidth(), hh = cy ? cy : img->GetHeight();
    Canvas c(w, hh);
    img->DrawImage(c.dc(), POINT{0, 0}, h, SIZE{cx, cy});
    std::vector<DWORD> out;
    for (int y = 0; y < hh; ++y)
        for (int x = 0; x < w; ++x)
            out.push_back(Rgb(c.At(x, y)));
    return out;
}

class ImageManager : public ::testing::Test {
protected:
    CQXPImageManager m;
};

} // namespace

// ---------------------------------------------------------------------------
// Store and lookup

TEST_F(ImageManager, StoresImagesByIdWidthAndState)
{
    CQXPIconHandle empty;
    EXPECT_FALSE(m.SetIcon(empty, 1));
    HICON h16 = MakeIcon(16, 16, [](int, int) { return 0xFF0000; });
    EXPECT_FALSE(m.SetIcon(h16, 1, 0, 0, qxImageHot)) << "a set starts with a normal image";
    EXPECT_EQ(nullptr, m.GetIconSet(1));
    ASSERT_TRUE(m.SetIcon(h16, 1));
    CQXPIconImage* img = m.GetImage(1, 16);
    ASSERT_TRUE(img != NULL);
    EXPECT_EQ(16, img->GetWidth());
    EXPECT_EQ(16, img->GetHeight());
    EXPECT_NE(h16, img->GetNormalIcon().GetIcon()) << "the image keeps its own copy";

    // A state image of a new width: the image starts 15 high.
    HBITMAP hot = MakeAlpha(24, 24, [](int, int) { return Argb(255, 1, 2, 3); });
    CQXPIconHandle hotHandle;
    hotHandle.SetBitmap(hot);
    EXPECT_TRUE(m.SetIcon(hotHandle, 1, 24, 24, qxImageHot));
    EXPECT_FALSE(hotHandle.IsEmpty()) << "the manager copies; the caller keeps its handle";
    CQXPIconImage* img24 = m.GetIconSet(1)->GetIcon(24, FALSE);
    img24->SetIcon(hotHandle, qxImageChecked);
    EXPECT_TRUE(hotHandle.IsEmpty()) << "an owning handle given to an image is freed after copying";
    EXPECT_TRUE(img24->m_hChecked.IsAlpha());
    ASSERT_TRUE(img24 != NULL);
    EXPECT_EQ(15, img24->GetHeight());
    EXPECT_TRUE(img24->GetNormalIcon().IsEmpty());
    EXPECT_TRUE(img24->GetHotIcon().IsAlpha());

    // Not owning: the caller's icon stays valid.
    ICONINFO ii;
    EXPECT_TRUE(GetIconInfo(h16, &ii));
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    DestroyIcon(h16);

    m.RemoveAll();
    EXPECT_EQ(nullptr, m.GetImage(1, 16));
}

TEST_F(ImageManager, LookupByWidthPrefersExactThenNearestFirstMet)
{
    HICON a16 = MakeIcon(16, 16, [](int, int) { return 0x000010; });
    HICON a32 = MakeIcon(32, 32, [](int, int) { return 0x000020; });
    m.SetIcon(a16, 1);
    m.SetIcon(a32, 1);
    m.SetIcon(a32, 2);
    m.SetIcon(a16, 2);
    struct Case {
        UINT id;
        int width;
        int expect;
    } cases[] = {{1, 16, 16}, {1, 32, 32}, {1, 24, 16}, {2, 24, 32}, {1, 0, 16}, {1, 1, 32}, {1, 20, 16}, {1, 28, 32}, {1, 64, 32}, {2, 0, 16}, {2, 1, 32}};
    for (const Case& c : cases) {
        CQXPIconImage* img = m.GetImage(c.id, c.width);
        ASSERT_TRUE(img != NULL) << c.id << "/" << c.width;
        EXPECT_EQ(c.expect, img->GetWidth()) << c.id << "/" << c.width;
    }
    EXPECT_TRUE(m.HasOwnImage(1, 16));
    EXPECT_FALSE(m.HasOwnImage(1, 24));
    EXPECT_FALSE(m.HasOwnImage(3, 16));
    EXPECT_EQ(nullptr, m.GetIconSet(1)->GetIcon(24, FALSE));
    DestroyIcon(a16);
    DestroyIcon(a32);
}

TEST_F(ImageManager, CustomIdsStartAt68267)
{
    HICON h = MakeIcon(16, 16, [](int, int) { return 0x123456; });
    EXPECT_EQ(68267u, m.AddCustomIcon(CQXPIconHandle(h)));
    EXPECT_EQ(68268u, m.AddCustomIcon(CQXPIconHandle(h)));
    EXPECT_TRUE(m.GetImage(68268, 16) != NULL);
    DestroyIcon(h);
}

TEST_F(ImageManager, StateFallbacksAndGeneratedImagesAreDropped)
{
    HICON normal = MakeIcon(16, 16, [](int, int) { return 0x000080; });
    HICON hot = MakeIcon(16, 16, [](int, int) { return 0x008000; });
    m.SetIcon(normal, 5);
    CQXPIconImage* img = m.GetImage(5, 16);
    const CQXPIconHandle* n = &img->GetNormalIcon();
    EXPECT_EQ(n, &img->GetHotIcon());
    EXPECT_EQ(n, &img->GetCheckedIcon());
    EXPECT_EQ(n, &img->GetPressedIcon());
    EXPECT_EQ(n, &img->GetIcon(qxImageNormal));
    EXPECT_FALSE(img->GetFadedIcon().IsEmpty());
    EXPECT_FALSE(img->GetDisabledIcon().IsEmpty());
    EXPECT_EQ(&img->m_hDisabledGen, &img->GetIcon(qxImageDisabled));

    m.SetIcon(hot, 5, 16, 16, qxImageHot);
    EXPECT_TRUE(img->m_hFaded.IsEmpty()) << "setting a state drops the generated images";
    EXPECT_TRUE(img->m_hDisabledGen.IsEmpty());
    EXPECT_EQ(&img->m_hHot, &img->GetHotIcon());
    EXPECT_EQ(&img->m_hHot, &img->GetCheckedIcon());
    EXPECT_EQ(&img->m_hHot, &img->GetPressedIcon());
    m.SetIcon(normal, 5, 16, 16, qxImageDisabled);
    EXPECT_EQ(&img->m_hDisabled, &img->GetDisabledIcon());
    DestroyIcon(normal);
    DestroyIcon(hot);
}

// ---------------------------------------------------------------------------
// Strips and resources

TEST_F(ImageManager, ToolbarResourceStoresTheButtonsUnderTheirIds)
{
    ASSERT_TRUE(m.SetIcons(128));
    for (UINT id = 100; id <= 109; ++id) {
        CQXPIconImage* img = m.GetImage(id, 4);
        ASSERT_TRUE(img != NULL) << id;
        EXPECT_EQ(4, img->GetWidth());
        EXPECT_EQ(4, img->GetHeight());
    }
    EXPECT_EQ(nullptr, m.GetIconSet(0));
    EXPECT_EQ(nullptr, m.GetIconSet(110));
    // Button k of the strip has red k * 20; magenta (the top-left pixel) is
    // transparent.
    for (UINT k = 0; k < 10; ++k) {
        CQXPIconImage* img = m.GetImage(100 + k, 4);
        std::vector<DWORD> px = Rendered(img, img->GetNormalIcon());
        EXPECT_EQ(0x00FFFFFFu, px[0]) << k;
        EXPECT_EQ(0x00FFFFFFu, px[5]) << k;
        EXPECT_EQ((k * 20) << 16 | 100 << 8 | 200, px[1]) << k;
        EXPECT_EQ((k * 20) << 16 | 100 << 8 | 200, px[15]) << k;
    }
    EXPECT_FALSE(m.SetIcons(160)) << "the toolbar's bitmap is missing";
    EXPECT_FALSE(m.SetIcons(999));
    EXPECT_FALSE(m.SetIconsFromResource(999, NULL, 1, 16, 16));
}

// The pieces of a masked strip stay in the strip's list until first asked
// for; whatever reads an image takes its piece out first, and the picture
// is the one the strip gave.
TEST_F(ImageManager, MaskedStripPiecesAreMadeOnFirstUse)
{
    ASSERT_TRUE(m.SetIcons(128));
    struct Read {
        const char* what;
        std::function<void(CQXPIconImage*)> fn;
    } reads[] = {
        {"normal", [](CQXPIconImage* img) { img->GetNormalIcon(); }},
        {"hot", [](CQXPIconImage* img) { img->GetHotIcon(); }},
        {"checked", [](CQXPIconImage* img) { img->GetCheckedIcon(); }},
        {"pressed", [](CQXPIconImage* img) { img->GetPressedIcon(); }},
        {"disabled", [](CQXPIconImage* img) { img->GetDisabledIcon(); }},
        {"faded", [](CQXPIconImage* img) { img->GetFadedIcon(); }},
        {"shadow", [](CQXPIconImage* img) { img->GetShadowIcon(); }},
        {"by state", [](CQXPIconImage* img) { img->GetIcon(qxImageHot); }},
        {"stored", [](CQXPIconImage* img) { qxtest::StoreBytes([&](CArchive& ar) { img->Serialize(ar); }); }},
        {"drawn", [](CQXPIconImage* img) { Canvas c(4, 4); img->Draw(c.dc(), POINT{0, 0}); }},
    };
    UINT id = 100;
    for (const Read& r : reads) {
        CQXPIconImage* img = m.GetImage(id++, 4);
        ASSERT_TRUE(img != NULL) << r.what;
        EXPECT_TRUE(img->HasPendingIcon()) << r.what;
        EXPECT_EQ(4, img->GetWidth()) << "the size is known before: " << r.what;
        EXPECT_EQ(4, img->GetHeight()) << r.what;
        r.fn(img);
        EXPECT_FALSE(img->HasPendingIcon()) << r.what;
        EXPECT_FALSE(img->m_hNormal.IsEmpty()) << r.what;
    }

    // A state strip over the same ids: its pieces are pending beside the
    // normal ones, and each lands in its state.
    const UINT ids[] = {108, 109};
    ASSERT_TRUE(m.SetIconsFromResource(128, ids, 2, 4, 4, qxImageHot));
    CQXPIconImage* img = m.GetImage(108, 4);
    EXPECT_TRUE(img->HasPendingIcon());
    EXPECT_EQ(&img->m_hHot, &img->GetHotIcon());
    EXPECT_FALSE(img->m_hHot.IsEmpty());
    EXPECT_FALSE(img->m_hNormal.IsEmpty());

    // Setting a state drops its pending piece: the set picture stays.
    HICON blue = MakeIcon(4, 4, [](int, int) { return 0x0000FFu; });
    CQXPIconImage* other = m.GetImage(109, 4);
    ASSERT_TRUE(other->HasPendingIcon());
    m.SetIcon(blue, 109, 4, 4, qxImageNormal);
    std::vector<DWORD> px = Rendered(other, other->GetNormalIcon());
    EXPECT_EQ(0x0000FFu, px[1]);
    EXPECT_FALSE(other->m_hHot.IsEmpty()) << "the hot piece is still made";
    DestroyIcon(blue);

    // Images outliving the manager's sets keep their list.
    ASSERT_TRUE(m.SetIcons(128));
    CQXPIconImage* kept = m.GetImage(105, 4);
    kept->InternalAddRef();
    m.RemoveAll();
    EXPECT_TRUE(kept->HasPendingIcon());
    px = Rendered(kept, kept->GetNormalIcon());
    EXPECT_EQ((5u * 20) << 16 | 100 << 8 | 200, px[1]);
    kept->InternalRelease();
}

TEST_F(ImageManager, AlphaStripsAreCutIntoPieces)
{
    const UINT ids[] = {7, 8};
    ASSERT_TRUE(m.SetIconsFromResource(129, ids, 2, 4, 4));
    CQXPIconImage* a = m.GetImage(7, 4);
    CQXPIconImage* b = m.GetImage(8, 4);
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(a->GetNormalIcon().IsAlpha());
    std::vector<DWORD> pa = PixelsOf(a->GetNormalIcon()), pb = PixelsOf(b->GetNormalIcon());
    ASSERT_EQ(16u, pa.size());
    EXPECT_EQ(Argb(128, 255, 0, 0), pa[0]);
    EXPECT_EQ(Argb(255, 255, 0, 0), pa[1]);
    EXPECT_EQ(Argb(64, 0, 255, 0), pb[7]);

    const UINT more[] = {20, 21};
    EXPECT_FALSE(m.SetIconsFromResource(130, more, 2, 4, 4)) << "width 10 is not a whole number of buttons";
    EXPECT_EQ(nullptr, m.GetIconSet(20));
}

TEST_F(ImageManager, ImageListsWithSeparatorsAndRegisteredLists)
{
    HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32 | ILC_MASK, 3, 1);
    for (int i = 0; i < 3; ++i) {
        HICON h = MakeIcon(8, 8, [i](int, int) { return (DWORD)(0x10 * (i + 1)); });
        ImageList_AddIcon(list, h);
        DestroyIcon(h);
    }
    const UINT ids[] = {40, 0, 41, 42};
    EXPECT_TRUE(m.SetIcons(list, ids, 4, 0, 0));
    EXPECT_TRUE(m.GetImage(40, 8) && m.GetImage(41, 8) && m.GetImage(42, 8));
    EXPECT_EQ(nullptr, m.GetIconSet(0));
    const UINT same[] = {50, 0, 51};
    EXPECT_TRUE(m.SetIcons(list, same, 3, 0, 0));
    EXPECT_TRUE(m.GetIconSet(0) != NULL) << "with as many ids as images, 0 is an id";

    m.AddImageList(list, 300);
    CQXPIconImage* fromList = m.GetImage(301, 0);
    ASSERT_TRUE(fromList != NULL);
    EXPECT_TRUE(m.HasOwnImage(301, 8));
    EXPECT_FALSE(m.HasOwnImage(301, 16));
    EXPECT_EQ(nullptr, m.GetImage(303, 0));
    std::vector<DWORD> px = Rendered(fromList, fromList->GetNormalIcon(), 8, 8);
    EXPECT_EQ(0x20u, px[9]);
    ImageList_Destroy(list);
    m.m_imageLists.clear();
}

TEST_F(ImageManager, ExplicitMaskColour)
{
    // A strip of two 2x2 buttons; green marks transparent pixels.
    HBITMAP strip = MakeAlpha(4, 2, [](int x, int) { return x % 2 ? 0x0000FF00u : 0x00FF0000u; });
    m.m_clrMask = RGB(0, 255, 0);
    const UINT ids[] = {1, 2};
    ASSERT_TRUE(m.SetIconsFromBitmap(strip, ids, 2, 0, 0, 0, FALSE));
    CQXPIconImage* img = m.GetImage(1, 2);
    std::vector<DWORD> px = Rendered(img, img->GetNormalIcon());
    EXPECT_EQ(0x00FF0000u, px[0]);
    EXPECT_EQ(0x00FFFFFFu, px[1]);
    DeleteObject(strip);
}

// ---------------------------------------------------------------------------
// Generated images

TEST_F(ImageManager, GeneratedLooksFollowThePixelRules)
{
    // Alpha image: a row of black, white, grey (30, 60, 90) and a
    // half-transparent blue.
    const DWORD src[4] = {Argb(255, 0, 0, 0), Argb(255, 255, 255, 255), Argb(200, 30, 60, 90), Argb(128, 0, 0, 255)};
    CQXPIconHandle alpha;
    alpha.SetBitmap(MakeAlpha(4, 1, [&](int x, int) { return src[x]; }));
    m.SetIcon(alpha, 1);
    CQXPIconImage* img = m.GetImage(1, 4);

    std::vector<DWORD> faded = PixelsOf(img->GetFadedIcon());
    ASSERT_EQ(4u, faded.size());
    EXPECT_EQ(Argb(255, 76, 76, 76), faded[0]) << "black fades to 76";
    EXPECT_EQ(Argb(255, 255, 255, 255), faded[1]);
    EXPECT_EQ(Argb(200, (int)(30 * 0.7 + 76.5), (int)(60 * 0.7 + 76.5), (int)(90 * 0.7 + 76.5)), faded[2]);

    COLORREF c31 = ToolkitColorManager::Instance()->GetColor(qxColorHotFace);
    DWORD shade = Argb(0, (int)(GetRValue(c31) * 0.75), (int)(GetGValue(c31) * 0.75), (int)(GetBValue(c31) * 0.75));
    std::vector<DWORD> shadow = PixelsOf(img->GetShadowIcon());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(shade | (src[i] & 0xFF000000), shadow[i]) << "silhouette, alpha kept: " << i;

    std::vector<DWORD> grey = PixelsOf(img->GetDisabledIcon(TRUE));
    auto greyOf = [](DWORD p) {
        double L = (299.0 * ((p >> 16) & 0xFF) + 587.0 * ((p >> 8) & 0xFF) + 114.0 * (p & 0xFF)) / 255000.0;
        int g = (int)(255.0 * std::sqrt(L));
        return Argb(p >> 24, g, g, g);
    };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(greyOf(src[i]), grey[i]) << i;

    img->RefreshGenerated();
    const COLORREF light = RGB(250, 240, 230), dark = RGB(10, 20, 30);
    std::vector<DWORD> tone = PixelsOf(img->GetDisabledIcon(light, dark));
    EXPECT_EQ(Argb(255, 10, 20, 30), tone[0]) << "black takes the dark colour";
    EXPECT_EQ(Argb(255, 250, 240, 230), tone[1]) << "white takes the light colour exactly";
}

// The shape of a picture (the disabled look of commands): opaque pixels
// darker than the light fills; all opaque pixels of an all-light picture;
// nothing for a picture without an opaque pixel. Icons and alpha bitmaps
// alike.
TEST_F(ImageManager, ShapesLeaveLightFillsAndClearPixelsOut)
{
    struct Case {
        const char* what;
        DWORD px[4]; // 0xAARRGGBB; icons take alpha 0 as transparent
        BYTE expect[4];
        bool bAny;
    } cases[] = {
        {"dark outline, light fill", {Argb(255, 32, 80, 176), Argb(255, 200, 224, 248), Argb(255, 80, 80, 80), 0}, {1, 0, 1, 0}, true},
        {"white and face-grey are fills",
         {Argb(255, 255, 255, 255), Argb(255, 192, 192, 192), Argb(255, 191, 191, 191), 0},
         {0, 0, 1, 0},
         true},
        {"all light: the opaque pixels",
         {Argb(255, 255, 255, 255), 0, Argb(255, 230, 230, 230), 0},
         {1, 0, 1, 0},
         true},
        {"nothing opaque", {0, 0, 0, 0}, {0, 0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        CQXPIconHandle alpha;
        alpha.SetBitmap(MakeAlpha(4, 1, [&](int x, int) { return c.px[x]; }));
        HICON hIcon = MakeIcon(
            4, 1, [&](int x, int) { return Rgb(c.px[x]); }, [&](int x, int) { return (c.px[x] >> 24) != 0; });
        CQXPIconHandle icon;
        icon.SetIcon(hIcon);
        for (const CQXPIconHandle* h : {&alpha, &icon}) {
            std::string what = std::string(c.what) + (h == &alpha ? " (alpha)" : " (icon)");
            std::vector<BYTE> shape;
            int cx = 0, cy = 0;
            EXPECT_EQ(c.bAny, !!CQXPIconImage::GetShape(*h, shape, cx, cy)) << what;
            if (!c.bAny)
                continue;
            ASSERT_EQ(4, cx) << what;
            ASSERT_EQ(1, cy) << what;
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(c.expect[x], shape[x]) << what << " at " << x;
            // Drawn at twice the size in one colour.
            m.SetIcon(*h, 7);
            CQXPIconImage* img = m.GetImage(7, 4);
            Canvas canvas(8, 2, 0x00FFFFFF);
            img->DrawMono(canvas.dc(), POINT{0, 0}, *h, 8, 2, RGB(10, 20, 30));
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(c.expect[x / 2] ? 0x000A141Eu : 0x00FFFFFFu, Rgb(canvas.At(x, 1)))
                    << what << " drawn at " << x;
        }
    }
    CQXPIconHandle empty;
    std::vector<BYTE> shape;
    int cx = 0, cy = 0;
    EXPECT_FALSE(CQXPIconImage::GetShape(empty, shape, cx, cy));
}

// The one-colour shape is read once per picture: drawing again draws the
// same, a new picture draws its own shape.
TEST_F(ImageManager, MonoShapeIsKeptUntilThePictureChanges)
{
    auto left = [](int x, int) { return x < 2; };
    HICON hLeft = MakeIcon(
        4, 1, [](int, int) { return 0x202020u; }, left);
    HICON hRight = MakeIcon(
        4, 1, [](int, int) { return 0x202020u; }, [](int x, int) { return x >= 2; });
    m.SetIcon(hLeft, 7);
    CQXPIconImage* img = m.GetImage(7, 4);
    auto draw = [&](COLORREF clr) {
        Canvas canvas(4, 1);
        img->DrawMono(canvas.dc(), POINT{0, 0}, img->GetNormalIcon(), 4, 1, clr);
        std::vector<DWORD> px;
        for (int x = 0; x < 4; ++x)
            px.push_back(Rgb(canvas.At(x, 0)));
        return px;
    };
    const std::vector<DWORD> first = draw(RGB(10, 20, 30));
    EXPECT_EQ(std::vector<DWORD>({0x0A141Eu, 0x0A141Eu, 0xFFFFFFu, 0xFFFFFFu}), first);
    EXPECT_EQ(first, draw(RGB(10, 20, 30))) << "drawn again";
    EXPECT_EQ(std::vector<DWORD>({0x010203u, 0x010203u, 0xFFFFFFu, 0xFFFFFFu}), draw(RGB(1, 2, 3)))
        << "another colour, the same shape";
    m.SetIcon(hRight, 7);
    EXPECT_EQ(std::vector<DWORD>({0xFFFFFFu, 0xFFFFFFu, 0x0A141Eu, 0x0A141Eu}), draw(RGB(10, 20, 30)))
        << "a new picture";
    DestroyIcon(hLeft);
    DestroyIcon(hRight);
}

TEST_F(ImageManager, IconLooksChangeOnlyOpaquePixels)
{
    HICON icon = MakeIcon(
        4, 1, [](int x, int) { return x == 0 ? 0x000000u : 0x204060u; },
        [](int x, int) { return x != 3; });
    m.SetIcon(icon, 1);
    CQXPIconImage* img = m.GetImage(1, 4);
    std::vector<DWORD> faded = PixelsOf(img->GetFadedIcon());
    ASSERT_EQ(4u, faded.size());
    EXPECT_EQ(0x4C4C4Cu, Rgb(faded[0]));
    EXPECT_EQ((DWORD)((int)(0x20 * 0.7 + 76.5) << 16 | (int)(0x40 * 0.7 + 76.5) << 8 | (int)(0x60 * 0.7 + 76.5)),
              Rgb(faded[1]));
    EXPECT_EQ(0u, Rgb(faded[3])) << "a transparent pixel is left alone";
    // Drawn: the transparent pixel shows the background.
    std::vector<DWORD> drawn = Rendered(img, img->GetFadedIcon());
    EXPECT_EQ(0x00FFFFFFu, drawn[3]);
    EXPECT_EQ(0x4C4C4Cu, drawn[0]);

    std::vector<DWORD> shadow = PixelsOf(img->GetShadowIcon());
    COLORREF c31 = ToolkitColorManager::Instance()->GetColor(qxColorHotFace);
    DWORD shade = (DWORD)((int)(GetRValue(c31) * 0.75) << 16 | (int)(GetGValue(c31) * 0.75) << 8 |
                          (int)(GetBValue(c31) * 0.75));
    EXPECT_EQ(shade, Rgb(shadow[0]));
    EXPECT_EQ(shade, Rgb(shadow[2]));
    EXPECT_EQ(0u, Rgb(shadow[3]));
    DestroyIcon(icon);
}

// ---------------------------------------------------------------------------
// Drawing

TEST_F(ImageManager, AlphaImagesBlendOntoTheTarget)
{
    CQXPIconHandle h;
    h.SetBitmap(MakeAlpha(2, 2, [](int x, int y) {
        return (x + y) % 2 ? Argb(128, 255, 0, 0) : Argb(255, 0, 0, 255);
    }));
    m.SetIcon(h, 1);
    CQXPIconImage* img = m.GetImage(1, 2);
    for (BOOL system : {TRUE, FALSE}) {
        SCOPED_TRACE(system ? "system blending" : "own blending");
        CQXPImageManager::SetUseSystemBlending(system);
        Canvas c(4, 4, 0x00FFFFFF);
        img->DrawImage(c.dc(), POINT{1, 1}, img->GetNormalIcon());
        EXPECT_EQ(0x00FFFFFFu, Rgb(c.At(0, 0)));
        EXPECT_EQ(0x000000FFu, Rgb(c.At(1, 1)));
        // 255 * 128 / 255 + 255 * 127 / 255
        DWORD half = Rgb(c.At(2, 1));
        EXPECT_NEAR(255, (int)((half >> 16) & 0xFF), 1);
        EXPECT_NEAR(127, (int)((half >> 8) & 0xFF), 1);
        EXPECT_NEAR(127, (int)(half & 0xFF), 1);
        EXPECT_EQ(0x00FFFFFFu, Rgb(c.At(3, 3)));

        // Negative y: only the visible rows, drawn from the top.
        Canvas top(2, 2, 0x00FFFFFF);
        img->DrawImage(top.dc(), POINT{0, -1}, img->GetNormalIcon());
        EXPECT_NEAR(127, (int)(Rgb(top.At(0, 0)) & 0xFF), 1) << "row 1 of the image at y 0";
        EXPECT_EQ(0x000000FFu, Rgb(top.At(1, 0)));
        EXPECT_EQ(0x00FFFFFFu, Rgb(top.At(0, 1)));
    }
    CQXPImageManager::SetUseSystemBlending(TRUE);
}

TEST_F(ImageManager, IconsAreMirroredOnlyForRightToLeftTargetsInMode2)
{
    HICON icon = MakeIcon(4, 2, [](int x, int) { return x < 2 ? 0xFF0000u : 0x0000FFu; });
    m.SetIcon(icon, 1);
    CQXPIconImage* img = m.GetImage(1, 4);
    auto draw = [&](int mode, bool rtl, bool composited) {
        m.m_nRTLMode = mode;
        img->m_bDrawComposited = composited;
        Canvas c(8, 2, 0x00FFFFFF);
        if (rtl)
            SetDCLayout(c.dc(), LAYOUT_RTL);
        img->Draw(c.dc(), POINT{0, 0});
        std::vector<DWORD> row;
        for (int x = 0; x < 8; ++x)
            row.push_back(Rgb(c.At(x, 0)));
        return row;
    };
    std::vector<DWORD> ltr0 = draw(0, false, false), ltr2 = draw(2, false, false);
    EXPECT_EQ(ltr0, ltr2) << "mode 2 on a left-to-right target draws as mode 0";
    EXPECT_EQ(0xFF0000u, ltr0[0]);
    EXPECT_EQ(0x0000FFu, ltr0[3]);
    EXPECT_EQ(ltr0, draw(0, false, true)) << "the colour-keyed route draws the same picture";
    std::vector<DWORD> rtl0 = draw(0, true, false), rtl2 = draw(2, true, false);
    std::vector<DWORD> mirrored(rtl0.rbegin(), rtl0.rend());
    // In the right-to-left target, mode 2 flips the icon against mode 0.
    EXPECT_NE(rtl0, rtl2);
    int iconStart = rtl0[7] != 0x00FFFFFFu ? 4 : 0;
    std::vector<DWORD> a(rtl0.begin() + iconStart, rtl0.begin() + iconStart + 4);
    std::vector<DWORD> b(rtl2.begin() + iconStart, rtl2.begin() + iconStart + 4);
    EXPECT_EQ(std::vector<DWORD>(a.rbegin(), a.rend()), b);
    std::vector<DWORD> always = draw(1, false, false);
    EXPECT_EQ(0x0000FFu, always[0]) << "mode 1 mirrors everywhere";
    DestroyIcon(icon);
}

TEST_F(ImageManager, ColourKeyedCopy)
{
    for (BOOL system : {TRUE, FALSE}) {
        CQXPImageManager::SetUseSystemBlending(system);
        Canvas src(2, 1, 0);
        src.m_bits[0] = 0x00FF00FF;
        src.m_bits[1] = 0x00123456;
        Canvas dst(2, 1, 0x00FFFFFF);
        EXPECT_TRUE(m.TransparentBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 2, 1, RGB(255, 0, 255)));
        EXPECT_EQ(0x00FFFFFFu, Rgb(dst.At(0, 0))) << system;
        EXPECT_EQ(0x00123456u, Rgb(dst.At(1, 0))) << system;
    }
    CQXPImageManager::SetUseSystemBlending(TRUE);
}

// ---------------------------------------------------------------------------
// Persistence

namespace {

// A set with a normal icon, an alpha hot image and a derived (scaled) image.
void FillSet(CQXPImageManager& m, UINT id)
{
    HICON icon = MakeIcon(
        16, 16, [](int x, int y) { return (DWORD)(x * 16 << 8 | y * 16); },
        [](int x, int y) { return x != y; });
    m.SetIcon(icon, id);
    CQXPIconHandle hot;
    hot.SetBitmap(MakeAlpha(16, 16, [](int x, int y) { return Argb(x * 16, y * 16, 0, 255); }));
    m.SetIcon(hot, id, 16, 16, qxImageHot);
    HICON big = MakeIcon(32, 32, [](int, int) { return 0x445566u; });
    m.SetIcon(big, id);
    CQXPIconImage* derived = m.GetIconSet(id)->CreateIcon(48);
    derived->m_bDerived = TRUE;
    DestroyIcon(icon);
    DestroyIcon(big);
}

void ExpectSameSet(CQXPImageManager& a, UINT idA, CQXPImageManager& b, UINT idB)
{
    CQXPIconSet* sa = a.GetIconSet(idA);
    CQXPIconSet* sb = b.GetIconSet(idB);
    ASSERT_TRUE(sa && sb);
    int own = 0;
    for (int i = 0; i < sa->GetCount(); ++i)
        own += sa->GetAt(i)->IsDerived() ? 0 : 1;
    ASSERT_EQ(own, sb->GetCount()) << "derived images are not stored";
    for (int i = 0; i < sb->GetCount(); ++i) {
        CQXPIconImage* ib = sb->GetAt(i);
        CQXPIconImage* ia = sa->GetIcon(ib->GetWidth(), FALSE);
        ASSERT_TRUE(ia != NULL);
        EXPECT_EQ(ia->GetHeight(), ib->GetHeight());
        EXPECT_EQ(Rendered(ia, ia->GetNormalIcon()), Rendered(ib, ib->GetNormalIcon()));
        EXPECT_EQ(ia->m_hHot.IsEmpty(), ib->m_hHot.IsEmpty());
        if (!ia->m_hHot.IsEmpty()) {
            EXPECT_EQ(PixelsOf(ia->m_hHot), PixelsOf(ib->m_hHot));
        }
        EXPECT_TRUE(ib->m_hChecked.IsEmpty());
    }
}

} // namespace

TEST_F(ImageManager, SetsRoundTripThroughTheArchive)
{
    FillSet(m, 500);
    Bytes bytes = qxtest::StoreBytes([&](CArchive& ar) { m.Serialize(500, ar); });
    CQXPImageManager other;
    qxtest::LoadBytes(bytes, [&](CArchive& ar) { other.Serialize(500, ar); });
    ExpectSameSet(m, 500, other, 500);
    EXPECT_EQ(68266u, other.GetNextCustomID());

    // All sets, into a manager that has other sets: they are removed first.
    FillSet(m, 70000);
    Bytes all = qxtest::StoreBytes([&](CArchive& ar) { m.Serialize(ar); });
    CQXPImageManager third;
    FillSet(third, 9);
    qxtest::LoadBytes(all, [&](CArchive& ar) { third.Serialize(ar); });
    EXPECT_EQ(nullptr, third.GetIconSet(9));
    ExpectSameSet(m, 70000, third, 70000);
    EXPECT_EQ(70000u, third.GetNextCustomID()) << "raised to the largest id loaded";
}

TEST_F(ImageManager, ArchiveFormOfAnImageWithOnlyANormalIcon)
{
    HICON icon = MakeIcon(2, 2, [](int, int) { return 0x010203u; });
    m.SetIcon(icon, 3);
    Bytes bytes = qxtest::StoreBytes([&](CArchive& ar) { m.GetImage(3, 2)->Serialize(ar); });
    // height 2, schema 24
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(Bytes({2, 0, 0, 0, 24, 0, 0, 0}), Bytes(bytes.begin(), bytes.begin() + 8));
    // The normal handle: colour bitmap (header count, header, pixel count,
    // pixels), then the mask bitmap; then four handles of two empty bitmaps.
    size_t at = 8;
    for (int bitmap = 0; bitmap < 2; ++bitmap) {
        WORD headerLen = (WORD)(bytes[at] | bytes[at + 1] << 8);
        EXPECT_TRUE(headerLen == 40 + 3 * 4) << "a 16/24/32-bit or mono header keeps room for 3 entries";
        BITMAPINFOHEADER bih;
        memcpy(&bih, &bytes[at + 2], sizeof(bih));
        EXPECT_EQ(2, bih.biWidth);
        EXPECT_EQ(2, bih.biHeight);
        at += 2 + headerLen;
        WORD pixelLen = (WORD)(bytes[at] | bytes[at + 1] << 8);
        EXPECT_EQ(bih.biSizeImage, pixelLen);
        at += 2 + pixelLen;
    }
    EXPECT_EQ(Bytes(16, 0), Bytes(bytes.begin() + (long)at, bytes.end())) << "disabled, hot, checked, pressed: empty";
    DestroyIcon(icon);
}

TEST_F(ImageManager, OlderSchemasReadFewerHandles)
{
    // Height 16, schema 7: normal, disabled, hot only; then a marker.
    Bytes old = {16, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xAB, 0xCD};
    CQXPIconImage img(1, 16, 15);
    qxtest::LoadBytes(old, [&](CArchive& ar) {
        img.Serialize(ar);
        WORD marker = 0;
        ar >> marker;
        EXPECT_EQ(0xCDABu, marker) << "no checked and no pressed handle were read";
    });
    EXPECT_EQ(16, img.GetHeight());
}

TEST_F(ImageManager, DamagedImageDataIsRefused)
{
    auto header = [](int width, int height, int bits) {
        Bytes h(40 + 12, 0);
        BITMAPINFOHEADER bih = {};
        bih.biSize = 40;
        bih.biWidth = width;
        bih.biHeight = height;
        bih.biPlanes = 1;
        bih.biBitCount = (WORD)bits;
        memcpy(h.data(), &bih, sizeof(bih));
        return h;
    };
    auto image = [&](const Bytes& normalColour) {
        Bytes b = {16, 0, 0, 0, 24, 0, 0, 0};
        b.insert(b.end(), normalColour.begin(), normalColour.end());
        return b;
    };
    auto withCounts = [](const Bytes& hdr, WORD pixelCount, size_t pixelsPresent) {
        Bytes b = {(BYTE)hdr.size(), (BYTE)(hdr.size() >> 8)};
        b.insert(b.end(), hdr.begin(), hdr.end());
        b.push_back((BYTE)pixelCount);
        b.push_back((BYTE)(pixelCount >> 8));
        b.insert(b.end(), pixelsPresent, 0x11);
        return b;
    };
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"header longer than any header", image(Bytes{0xFF, 0x7F})},
        {"header shorter than 40 bytes", image(Bytes{0x10, 0x00})},
        {"pixels missing", image(withCounts(header(4, 4, 32), 64, 10))},
        {"negative width", image(withCounts(header(-4, 4, 32), 64, 64))},
        {"absurd size", image(withCounts(header(100000, 4, 32), 64, 64))},
        {"bad depth", image(withCounts(header(4, 4, 7), 64, 64))},
        {"stream ends in the header", Bytes{16, 0, 0, 0, 24, 0, 0, 0, 52, 0, 40, 0}},
        {"bad height", Bytes{0, 0, 0, 0, 24, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQXPIconImage img(1, 16, 15);
        bool refused = false;
        try {
            qxtest::LoadBytes(c.bytes, [&](CArchive& ar) { img.Serialize(ar); });
        } catch (CArchiveException* e) {
            refused = true;
            e->Delete();
        }
        EXPECT_TRUE(refused);
    }
    // Fewer pixel bytes than the image needs, within the stream: the DIB is
    // made and only what is there is copied.
    CQXPIconImage img(1, 4, 15);
    Bytes shortPixels = image(withCounts(header(4, 4, 32), 8, 8));
    Bytes tail(16, 0);
    shortPixels.insert(shortPixels.end(), 2, 0); // empty mask: an alpha bitmap
    shortPixels.insert(shortPixels.end(), tail.begin(), tail.end());
    qxtest::LoadBytes(shortPixels, [&](CArchive& ar) { img.Serialize(ar); });
    EXPECT_TRUE(img.GetNormalIcon().IsAlpha());
}

TEST_F(ImageManager, SetsRoundTripThroughRegistryAndIni)
{
    qxtest::RegistryApp reg;
    FillSet(m, 600);
    {
        CQXPPropExchangeRegistry px(FALSE, NULL, "Icons");
        m.DoPropExchange(&px);
    }
    EXPECT_TRUE(reg.KeyExists("Icons\\IconSet0\\Icon1"));
    CQXPImageManager back;
    {
        CQXPPropExchangeRegistry px(TRUE, NULL, "Icons");
        back.DoPropExchange(&px);
    }
    ExpectSameSet(m, 600, back, 600);

    TempDir dir;
    std::string ini = dir.Path("icons.ini");
    {
        CQXPPropExchangeIniFile px(FALSE, NULL, "Icons");
        px.AssignFile(ini.c_str());
        m.DoPropExchange(600, &px);
    }
    CQXPImageManager fromIni;
    {
        CQXPPropExchangeIniFile px(TRUE, NULL, "Icons");
        px.AssignFile(ini.c_str());
        fromIni.DoPropExchange(600, &px);
    }
    ExpectSameSet(m, 600, fromIni, 600);

    // A wrong check sum stops the load with an archive exception.
    WritePrivateProfileStringA("Icons", "CheckSum", "Something else", ini.c_str());
    CQXPImageManager bad;
    bool thrown = false;
    try {
        CQXPPropExchangeIniFile px(TRUE, NULL, "Icons");
        px.AssignFile(ini.c_str());
        bad.DoPropExchange(600, &px);
    } catch (CArchiveException* e) {
        thrown = e->m_cause == CArchiveException::badSchema;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST_F(ImageManager, ClipboardCarriesOneSet)
{
    FillSet(m, 700);
    ASSERT_TRUE(OpenClipboard(NULL));
    EmptyClipboard();
    EXPECT_TRUE(m.CopyToClipboard(700));
    CloseClipboard();
    UINT id = m.PasteFromClipboard((IDataObject*)NULL);
    EXPECT_EQ(68267u, id);
    ExpectSameSet(m, 700, m, id);

    COleDataObject data;
    ASSERT_TRUE(SUCCEEDED(OleInitialize(NULL)));
    data.AttachClipboard();
    UINT id2 = m.PasteFromClipboard(&data);
    EXPECT_EQ(68268u, id2);
    data.Release();
    OleUninitialize();

    // Damaged data: nothing is added, but the counter has moved on.
    const BYTE junk[] = {0x15, 0x43, 0x51, 0x58, 0x50, 0x00, 0xFF, 0xFF, 0xFF, 0x7F};
    HGLOBAL hg = GlobalAlloc(GMEM_MOVEABLE, sizeof(junk));
    memcpy(GlobalLock(hg), junk, sizeof(junk));
    GlobalUnlock(hg);
    ASSERT_TRUE(OpenClipboard(NULL));
    EmptyClipboard();
    SetClipboardData(CQXPImageManager::GetClipboardFormat(), hg);
    CloseClipboard();
    EXPECT_EQ(0u, m.PasteFromClipboard((IDataObject*)NULL));
    EXPECT_EQ(68269u, m.GetNextCustomID());
    EXPECT_EQ(nullptr, m.GetIconSet(68269));

    // Nothing in the format: 0, and the counter stays.
    ASSERT_TRUE(OpenClipboard(NULL));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(0u, m.PasteFromClipboard((IDataObject*)NULL));
    EXPECT_EQ(68269u, m.GetNextCustomID());
}

// ---------------------------------------------------------------------------
// Loaders and bitmap helpers

TEST(ImageLoaders, ResourcesOfEveryKind)
{
    BOOL alpha = TRUE;
    HBITMAP h = LoadAlphaBitmapResource(129);
    ASSERT_TRUE(h != NULL);
    int cx = 0, cy = 0;
    std::vector<DWORD> px = qxtest::Pixels(h, &cx, &cy);
    EXPECT_EQ(8, cx);
    EXPECT_EQ(4, cy);
    EXPECT_EQ(Argb(128, 255, 0, 0), px[0]);
    DeleteObject(h);
    EXPECT_EQ(nullptr, LoadAlphaBitmapResource(128)) << "24-bit";
    EXPECT_EQ(nullptr, LoadAlphaBitmapResource(150)) << "damaged: the pixels are missing";
    EXPECT_EQ(nullptr, LoadAlphaBitmapResource(999));

    struct Case {
        UINT id;
        bool ok;
        BOOL alpha;
        int cx;
    } cases[] = {{131, true, TRUE, 2}, {128, true, FALSE, 40}, {129, true, TRUE, 8}, {132, false, FALSE, 0}, {150, false, FALSE, 0}};
    for (const Case& c : cases) {
        h = LoadBitmapFromResource(MAKEINTRESOURCEA(c.id), &alpha);
        EXPECT_EQ(c.ok, h != NULL) << c.id;
        if (h) {
            EXPECT_EQ(c.alpha, alpha) << c.id;
            BITMAP bm;
            GetObjectA(h, sizeof(bm), &bm);
            EXPECT_EQ(c.cx, bm.bmWidth) << c.id;
            DeleteObject(h);
        }
    }

    CQXPIconHandle icon;
    ASSERT_TRUE(icon.LoadFromResource(140, 16));
    EXPECT_TRUE(icon.IsAlpha()) << "a 32-bit icon image becomes an alpha bitmap";
    px = PixelsOf(icon);
    ASSERT_EQ(256u, px.size());
    EXPECT_EQ(Argb(0xFF, 0x30, 0x20, 0x10), px[0]);
    EXPECT_EQ(Argb(0x80, 0x60, 0x50, 0x40), px[15]);
    ASSERT_TRUE(icon.LoadFromResource(140, 32));
    EXPECT_TRUE(icon.GetIcon() != NULL);
    EXPECT_EQ(32, icon.GetExtent().cx);
    EXPECT_EQ(32, icon.GetExtent().cy);
    EXPECT_FALSE(icon.LoadFromResource(140, 24));
}

namespace {

Bytes IconFile(const std::vector<std::tuple<int, int, Bytes>>& entries) // width, dir bit count, image data
{
    Bytes f = {0, 0, 1, 0, (BYTE)entries.size(), 0};
    size_t offset = 6 + 16 * entries.size();
    for (const auto& e : entries) {
        const Bytes& data = std::get<2>(e);
        BYTE w = (BYTE)std::get<0>(e);
        Bytes dir = {w, w, 0, 0, 1, 0, (BYTE)std::get<1>(e), 0};
        for (int i = 0; i < 4; ++i)
            dir.push_back((BYTE)(data.size() >> (8 * i)));
        for (int i = 0; i < 4; ++i)
            dir.push_back((BYTE)(offset >> (8 * i)));
        f.insert(f.end(), dir.begin(), dir.end());
        offset += data.size();
    }
    for (const auto& e : entries)
        f.insert(f.end(), std::get<2>(e).begin(), std::get<2>(e).end());
    return f;
}

Bytes IconImage(int w, int bits, BYTE fill)
{
    BITMAPINFOHEADER bih = {};
    bih.biSize = 40;
    bih.biWidth = w;
    bih.biHeight = w * 2;
    bih.biPlanes = 1;
    bih.biBitCount = (WORD)bits;
    Bytes b(sizeof(bih));
    memcpy(b.data(), &bih, sizeof(bih));
    b.insert(b.end(), (size_t)w * w * bits / 8, fill);
    b.insert(b.end(), (size_t)w * 4, 0); // mask
    return b;
}

} // namespace

TEST(ImageLoaders, IconFilesAreReadWithinTheirBounds)
{
    TempDir dir;
    auto load = [&](const Bytes& file, int width) {
        std::string path = dir.Path("i.ico");
        qxtest::WriteFileBytes(path, file.data(), file.size());
        return LoadAlphaIconFromFile(path.c_str(), width);
    };
    Bytes good = IconFile({{16, 8, IconImage(16, 8, 0x11)}, {32, 32, IconImage(32, 32, 0x22)}, {16, 32, IconImage(16, 32, 0x33)}});
    struct Case {
        int width;
        int expectWidth;
        BYTE expectFill;
    } cases[] = {{16, 16, 0x33}, {0, 32, 0x22}, {32, 32, 0x22}, {48, 0, 0}};
    for (const Case& c : cases) {
        HBITMAP h = load(good, c.width);
        EXPECT_EQ(c.expectWidth != 0, h != NULL) << c.width;
        if (h) {
            int cx = 0, cy = 0;
            std::vector<DWORD> px = qxtest::Pixels(h, &cx, &cy);
            EXPECT_EQ(c.expectWidth, cx);
            EXPECT_EQ(c.expectWidth, cy) << "half the header height";
            EXPECT_EQ(0x01010101u * c.expectFill, px[0]);
            DeleteObject(h);
        }
    }

    Bytes pastEnd = good;
    pastEnd[6 + 16 + 12] = 0xFF; // second entry's offset far beyond the file
    pastEnd[6 + 16 + 13] = 0xFF;
    Bytes shortDir = Bytes(good.begin(), good.begin() + 20);
    Bytes cursor = good;
    cursor[2] = 2;
    Bytes lying = IconFile({{16, 32, IconImage(16, 24, 0x44)}});
    Bytes truncatedData = Bytes(good.begin(), good.end() - 100);
    struct Bad {
        const char* name;
        Bytes file;
        int width;
    } bad[] = {{"offset past the end", pastEnd, 32}, {"directory past the end", shortDir, 0}, {"cursor file", cursor, 0}, {"data is not 32-bit", lying, 16}, {"last image cut short", truncatedData, 16}, {"empty", Bytes(), 0}};
    for (const Bad& b : bad)
        EXPECT_EQ(nullptr, load(b.file, b.width)) << b.name;
    EXPECT_EQ(nullptr, LoadAlphaIconFromFile(dir.Path("none.ico").c_str(), 16));
}

TEST(ImageLoaders, BitmapFiles)
{
    TempDir dir;
    auto bmpFile = [](int bits) {
        BITMAPINFOHEADER bih = {};
        bih.biSize = 40;
        bih.biWidth = 2;
        bih.biHeight = 2;
        bih.biPlanes = 1;
        bih.biBitCount = (WORD)bits;
        size_t stride = (2 * bits / 8 + 3) / 4 * 4;
        Bytes pixels(stride * 2, 0x7F);
        BITMAPFILEHEADER bfh = {};
        bfh.bfType = 0x4D42;
        bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
        bfh.bfSize = (DWORD)(bfh.bfOffBits + pixels.size());
        Bytes f(sizeof(bfh) + sizeof(bih));
        memcpy(f.data(), &bfh, sizeof(bfh));
        memcpy(f.data() + sizeof(bfh), &bih, sizeof(bih));
        f.insert(f.end(), pixels.begin(), pixels.end());
        return f;
    };
    struct Case {
        const char* name;
        Bytes file;
        BOOL alpha;
    } cases[] = {{"32-bit", bmpFile(32), TRUE}, {"24-bit", bmpFile(24), FALSE}};
    for (const Case& c : cases) {
        std::string path = dir.Path("b.bmp");
        qxtest::WriteFileBytes(path, c.file.data(), c.file.size());
        BOOL alpha = !c.alpha;
        HBITMAP h = LoadBitmapFromFile(path.c_str(), &alpha);
        ASSERT_TRUE(h != NULL) << c.name;
        EXPECT_EQ(c.alpha, alpha) << c.name;
        DeleteObject(h);
    }
    // A PNG file: the bytes of the PNG resource.
    HRSRC r = FindResourceA(NULL, MAKEINTRESOURCEA(131), "PNG");
    const BYTE* p = (const BYTE*)LockResource(LoadResource(NULL, r));
    std::string path = dir.Path("p.png");
    qxtest::WriteFileBytes(path, p, SizeofResource(NULL, r));
    BOOL alpha = FALSE;
    HBITMAP h = LoadBitmapFromFile(path.c_str(), &alpha);
    ASSERT_TRUE(h != NULL);
    EXPECT_TRUE(alpha);
    DeleteObject(h);
    EXPECT_EQ(nullptr, LoadBitmapFromFile(dir.Path("missing.bmp").c_str(), &alpha));
}

// A user's bitmap file is checked before the system loader sees it: every
// damaged or cut-short file gives NULL (and no crash), the sound ones load.
TEST(ImageLoaders, DamagedBitmapFilesAreRefused)
{
    TempDir dir;
    // A bottom-up file of 2 x 2 pixels with a BITMAPINFOHEADER, a full
    // colour table for 8 bits or less, then the pixels.
    struct Header {
        int bits = 32, width = 2, height = 2, planes = 1;
        DWORD compression = BI_RGB, colorsUsed = 0, headerSize = sizeof(BITMAPINFOHEADER);
    };
    auto bmpFile = [](const Header& hd) {
        BITMAPINFOHEADER bih = {};
        bih.biSize = hd.headerSize;
        bih.biWidth = hd.width;
        bih.biHeight = hd.height;
        bih.biPlanes = (WORD)hd.planes;
        bih.biBitCount = (WORD)hd.bits;
        bih.biCompression = hd.compression;
        bih.biClrUsed = hd.colorsUsed;
        const size_t table = hd.bits <= 8 ? (size_t)(hd.colorsUsed ? hd.colorsUsed : 1u << hd.bits) * 4 : 0;
        const size_t stride = ((size_t)std::abs(hd.width) * hd.bits + 31) / 32 * 4;
        Bytes f(sizeof(BITMAPFILEHEADER) + hd.headerSize + table + stride * std::abs(hd.height), 0x7F);
        BITMAPFILEHEADER bfh = {};
        bfh.bfType = 0x4D42;
        bfh.bfOffBits = (DWORD)(sizeof(bfh) + hd.headerSize + table);
        bfh.bfSize = (DWORD)f.size();
        memcpy(f.data(), &bfh, sizeof(bfh));
        memcpy(f.data() + sizeof(bfh), &bih, std::min<size_t>(sizeof(bih), hd.headerSize));
        return f;
    };
    auto cut = [](Bytes f, size_t n) {
        f.resize(n);
        return f;
    };
    auto with = [](std::function<void(Header&)> change) {
        Header h;
        change(h);
        return h;
    };
    auto offBits = [](Bytes f, DWORD off) {
        memcpy(f.data() + 10, &off, sizeof(off));
        return f;
    };
    const Bytes sound32 = bmpFile(Header());
    struct Case {
        const char* name;
        Bytes file;
        bool loads;
    } cases[] = {
        {"32-bit", sound32, true},
        {"8-bit with a colour table", bmpFile(with([](Header& h) { h.bits = 8; })), true},
        {"1-bit", bmpFile(with([](Header& h) { h.bits = 1; })), true},
        {"top-down 24-bit", bmpFile(with([](Header& h) { h.bits = 24, h.height = -2; })), true},
        {"32-bit cut to 31 bytes", cut(sound32, 31), false},
        {"32-bit cut to 46 bytes", cut(sound32, 46), false},
        {"pixels one byte short", cut(sound32, sound32.size() - 1), false},
        {"only the file header", cut(sound32, sizeof(BITMAPFILEHEADER)), false},
        {"not BM", offBits(Bytes(sound32.size(), 'x'), 54), false},
        {"pixels start past the end", offBits(sound32, (DWORD)sound32.size() + 1), false},
        {"pixels start inside the header", offBits(sound32, 20), false},
        {"no width", bmpFile(with([](Header& h) { h.width = 0; })), false},
        {"negative width", bmpFile(with([](Header& h) { h.width = -2; })), false},
        {"no height", bmpFile(with([](Header& h) { h.height = 0; })), false},
        {"two planes", bmpFile(with([](Header& h) { h.planes = 2; })), false},
        {"7 bits per pixel", bmpFile(with([](Header& h) { h.bits = 7; })), false},
        {"more colours than 8 bits hold", bmpFile(with([](Header& h) { h.bits = 8, h.colorsUsed = 257; })), false},
        {"JPEG inside", bmpFile(with([](Header& h) { h.compression = BI_JPEG; })), false},
        {"header larger than any version", bmpFile(with([](Header& h) { h.headerSize = 200; })), false},
        {"empty", Bytes(), false},
    };
    for (const Case& c : cases) {
        std::string path = dir.Path("d.bmp");
        qxtest::WriteFileBytes(path, c.file.data(), c.file.size());
        BOOL alpha = TRUE;
        HBITMAP h = LoadBitmapFromFile(path.c_str(), &alpha);
        EXPECT_EQ(c.loads, h != NULL) << c.name;
        if (h)
            DeleteObject(h);
        else
            EXPECT_FALSE(alpha) << c.name << ": a failed load has no alpha";
    }
    // A height so large that its pixels would need gigabytes: refused
    // without reading past the small file.
    Bytes huge = bmpFile(Header());
    const LONG tall = 0x7FFFFFF0;
    memcpy(huge.data() + sizeof(BITMAPFILEHEADER) + 8, &tall, sizeof(tall));
    std::string path = dir.Path("huge.bmp");
    qxtest::WriteFileBytes(path, huge.data(), huge.size());
    EXPECT_EQ(nullptr, LoadBitmapFromFile(path.c_str()));
}

TEST(BitmapHelpers, PremultiplyFlipCopyAndResize)
{
    struct Case {
        const char* name;
        std::vector<DWORD> top_down; // 2 x 1
        BOOL used;
    } cases[] = {
        {"opaque", {Argb(255, 200, 100, 50), Argb(255, 1, 2, 3)}, FALSE},
        {"half", {Argb(128, 200, 100, 50), Argb(255, 1, 2, 3)}, TRUE},
        {"visible after transparent", {Argb(0, 9, 9, 9), Argb(255, 1, 2, 3)}, TRUE},
        {"transparent after visible", {Argb(255, 1, 2, 3), Argb(0, 9, 9, 9)}, FALSE},
    };
    for (const Case& c : cases) {
        HBITMAP src = MakeAlpha(2, 1, [&](int x, int) { return c.top_down[(size_t)x]; });
        auto premultiplied = [](DWORD s) {
            DWORD a = s >> 24;
            return a << 24 | (((s >> 16) & 0xFF) * a / 255) << 16 | (((s >> 8) & 0xFF) * a / 255) << 8 |
                   ((s & 0xFF) * a / 255);
        };
        BOOL used = 99;
        HBITMAP pre = PremultiplyAlphaBitmap(src, &used);
        EXPECT_EQ(c.used, used) << c.name;
        HBITMAP always = PremultiplyAlphaBitmap(src);
        std::vector<DWORD> px = qxtest::Pixels(pre), all = qxtest::Pixels(always);
        for (int i = 0; i < 2; ++i) {
            DWORD s = c.top_down[(size_t)i];
            EXPECT_EQ(c.used ? premultiplied(s) : s, px[(size_t)i]) << c.name << " " << i;
            EXPECT_EQ(premultiplied(s), all[(size_t)i]) << c.name << " " << i;
        }
        DeleteObject(pre);
        DeleteObject(always);
        DeleteObject(src);
    }

    HBITMAP src = MakeAlpha(3, 1, [](int x, int) { return Argb(255, x, 0, 0); });
    HBITMAP flipped = FlipBitmap32Horizontally(src);
    EXPECT_EQ((std::vector<DWORD>{Argb(255, 2, 0, 0), Argb(255, 1, 0, 0), Argb(255, 0, 0, 0)}), qxtest::Pixels(flipped));
    HBITMAP copy = CopyAlphaBitmap(src);
    EXPECT_NE(src, copy);
    EXPECT_EQ(qxtest::Pixels(src), qxtest::Pixels(copy));
    BITMAPINFO* bmi = NULL;
    BYTE* bits = NULL;
    UINT size = 0;
    ASSERT_TRUE(GetBitmap32Bits(NULL, src, &bmi, &bits, &size));
    EXPECT_EQ(12u, size);
    delete[](BYTE*) bmi;
    delete[] bits;
    HDC screen = GetDC(NULL);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 2, 2);
    BITMAP bm;
    GetObjectA(ddb, sizeof(bm), &bm);
    if (bm.bmBitsPixel != 32) {
        EXPECT_FALSE(GetBitmap32Bits(NULL, ddb, &bmi, &bits, &size));
    }
    HBITMAP mono = CreateBitmap(2, 2, 1, 1, NULL);
    EXPECT_FALSE(GetBitmap32Bits(NULL, mono, &bmi, &bits, &size));
    DeleteObject(mono);
    DeleteObject(ddb);
    ReleaseDC(NULL, screen);
    DeleteObject(flipped);
    DeleteObject(copy);
    DeleteObject(src);

    HICON icon = MakeIcon(16, 8, [](int, int) { return 0x00FF00u; });
    EXPECT_EQ(16, GetIconExtent(icon).cx);
    EXPECT_EQ(8, GetIconExtent(icon).cy);
    HICON bigger = ResizeIcon(icon, 16, 8, 32);
    ASSERT_TRUE(bigger != NULL);
    EXPECT_EQ(32, GetIconExtent(bigger).cx);
    EXPECT_EQ(16, GetIconExtent(bigger).cy);
    HICON same = ResizeIcon(icon, 16, 8, 16);
    EXPECT_EQ(16, GetIconExtent(same).cx);
    EXPECT_EQ(nullptr, ResizeIcon(icon, 16, 8, 0));
    EXPECT_EQ(nullptr, ResizeIcon(icon, 0, 0, 16));
    DestroyIcon(bigger);
    DestroyIcon(same);
    DestroyIcon(icon);
    HBITMAP dib = Create32BitDIBSection(NULL, 3, 2);
    DIBSECTION ds;
    ASSERT_TRUE(GetObjectA(dib, sizeof(ds), &ds));
    EXPECT_EQ(32, ds.dsBm.bmBitsPixel);
    DeleteObject(dib);
}
