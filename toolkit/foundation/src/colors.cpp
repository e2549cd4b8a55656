// Colour values, the colour manager and the paint manager's colour table.
#include <qx/colors.h>
#include <qx/visualstyles.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <string>

// ---------------------------------------------------------------------------
// Arithmetic

COLORREF AFXAPI MixColors(COLORREF clrA, COLORREF clrB, int nWeight)
{
    const int s = nWeight < 100 ? 100 : 1000;
    auto mix = [&](int a, int b) { return (a * nWeight + b * (s - nWeight) + s / 2) / s; };
    int r = mix(GetRValue(clrA), GetRValue(clrB));
    int g = mix(GetGValue(clrA), GetGValue(clrB));
    int b = mix(GetBValue(clrA), GetBValue(clrB));
    auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255
                                                        : v; };
    return RGB(clamp(r), clamp(g), clamp(b));
}

COLORREF AFXAPI BlendColors(COLORREF clrA, COLORREF clrB, double dFactor)
{
    auto blend = [&](int a, int b) {
        double v = (1.0 - dFactor) * b + dFactor * a;
        int n = (int)v;
        return n < 0 ? 0 : n > 255 ? 255
                                   : n;
    };
    return RGB(blend(GetRValue(clrA), GetRValue(clrB)), blend(GetGValue(clrA), GetGValue(clrB)),
               blend(GetBValue(clrA), GetBValue(clrB)));
}

namespace {

double RelativeLuminance(COLORREF clr)
{
    auto linear = [](int c) {
        double v = c / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(clr)) + 0.7152 * linear(GetGValue(clr)) + 0.0722 * linear(GetBValue(clr));
}

} // namespace

double AFXAPI ContrastRatio(COLORREF clrA, COLORREF clrB)
{
    double a = RelativeLuminance(clrA), b = RelativeLuminance(clrB);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

COLORREF AFXAPI ReadableTextColor(COLORREF clrText, COLORREF clrBack)
{
    const double kBodyTextRatio = 4.5;
    if (ContrastRatio(clrText, clrBack) >= kBodyTextRatio)
        return clrText;
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    return ContrastRatio(black, clrBack) >= ContrastRatio(white, clrBack) ? black : white;
}

CArchive& AFXAPI operator<<(CArchive& ar, const ColorValue& value)
{
    return ar << (DWORD)value.m_clrStandard << (DWORD)value.m_clrOverride;
}

CArchive& AFXAPI operator>>(CArchive& ar, ColorValue& value)
{
    DWORD a, b;
    ar >> a >> b;
    value.m_clrStandard = a;
    value.m_clrOverride = b;
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, const GradientColorValue& value)
{
    return ar << value.m_start << value.m_end << value.m_fFactor;
}

CArchive& AFXAPI operator>>(CArchive& ar, GradientColorValue& value)
{
    return ar >> value.m_start >> value.m_end >> value.m_fFactor;
}

// ---------------------------------------------------------------------------
// Colour distance

namespace {

struct Weighted {
    double r, g, b;
};

Weighted Weigh(COLORREF c)
{
    return Weighted{GetRValue(c) * 195.0 / 255.0, GetGValue(c) * 390.0 / 255.0, GetBValue(c) * 65.0 / 255.0};
}

double Brightness(COLORREF c)
{
    Weighted w = Weigh(c);
    return std::sqrt(w.r * w.r + w.g * w.g + w.b * w.b);
}

double SquaredDistance(COLORREF a, COLORREF b)
{
    Weighted x = Weigh(a), y = Weigh(b);
    return (x.r - y.r) * (x.r - y.r) + (x.g - y.g) * (x.g - y.g) + (x.b - y.b) * (x.b - y.b);
}

double ScaledThreshold(COLORREF clrFirst, int nThreshold)
{
    double scale = 2.0 - std::min(Brightness(clrFirst), 220.0) / 220.0;
    return nThreshold * scale;
}

COLORREF ClampedRGB(double r, double g, double b)
{
    auto c = [](double v) { return (int)(v < 0 ? 0 : v > 255 ? 255
                                                             : v + 0.5); };
    return RGB(c(r), c(g), c(b));
}

// Moves clr towards the reference along the straight line between them until
// the two are no longer distinct at the threshold.
COLORREF Pull(COLORREF clrRef, COLORREF clr, int nThreshold)
{
    if (!ToolkitColorManager::IsDistinct(clrRef, clr, nThreshold))
        return clr;
    double lo = 0.0, hi = 1.0; // fraction of the way from the reference to clr
    for (int i = 0; i < 24; ++i) {
        double t = (lo + hi) / 2;
        COLORREF c = ClampedRGB(GetRValue(clrRef) + (GetRValue(clr) - GetRValue(clrRef)) * t,
                                GetGValue(clrRef) + (GetGValue(clr) - GetGValue(clrRef)) * t,
                                GetBValue(clrRef) + (GetBValue(clr) - GetBValue(clrRef)) * t);
        if (ToolkitColorManager::IsDistinct(clrRef, c, nThreshold))
            hi = t;
        else
            lo = t;
    }
    return ClampedRGB(GetRValue(clrRef) + (GetRValue(clr) - GetRValue(clrRef)) * lo,
                      GetGValue(clrRef) + (GetGValue(clr) - GetGValue(clrRef)) * lo,
                      GetBValue(clrRef) + (GetBValue(clr) - GetBValue(clrRef)) * lo);
}

// Moves clr away from the reference until the two are distinct at the
// threshold: along the line from the reference through clr, or, when that
// runs into the edge of the colour cube first, the other way.
COLORREF Push(COLORREF clrRef, COLORREF clr, int nThreshold)
{
    if (ToolkitColorManager::IsDistinct(clrRef, clr, nThreshold))
        return clr;
    double dr = GetRValue(clr) - GetRValue(clrRef);
    double dg = GetGValue(clr) - GetGValue(clrRef);
    double db = GetBValue(clr) - GetBValue(clrRef);
    double len = std::sqrt(dr * dr + dg * dg + db * db);
    if (len < 1e-9) {
        // Same colour: lighten a dark reference, darken a light one.
        double sign = Brightness(clrRef) < 220.0 ? 1.0 : -1.0;
        dr = dg = db = sign;
        len = std::sqrt(3.0);
    }
    dr /= len;
    dg /= len;
    db /= len;
    COLORREF best = clr;
    for (int dir = 1; dir >= -1; dir -= 2) {
        for (int step = 1; step <= 443; ++step) {
            double k = step * dir;
            COLORREF c = ClampedRGB(GetRValue(clrRef) + dr * k, GetGValue(clrRef) + dg * k, GetBValue(clrRef) + db * k);
            if (ToolkitColorManager::IsDistinct(clrRef, c, nThreshold))
                return c;
            best = c;
        }
    }
    return best;
}

COLORREF ScaleColor(COLORREF c, double f)
{
    auto s = [&](int v) {
        int n = (int)(v * f);
        return n < 0 ? 0 : n > 255 ? 255
                                   : n;
    };
    return RGB(s(GetRValue(c)), s(GetGValue(c)), s(GetBValue(c)));
}

COLORREF AFXAPI SystemSysColor(int nIndex) { return ::GetSysColor(nIndex); }

int AFXAPI SystemBitsPerPixel(HDC hdc)
{
    if (hdc)
        return ::GetDeviceCaps(hdc, BITSPIXEL);
    HWND hDesktop = ::GetDesktopWindow();
    HDC hScreen = ::GetDC(hDesktop);
    int n = ::GetDeviceCaps(hScreen, BITSPIXEL);
    ::ReleaseDC(hDesktop, hScreen);
    return n;
}

// Custom palettes of the colour themes, in the order of kCustomIndexes.
const int kCustomIndexes[14] = {38, 39, 40, 41, 43, 31, 32, 50, 37, 33, 36, 30, 47, 59};

struct Palette {
    COLORREF c30, c31, c32, c33, c36, c38, c39, c40, c41, c43, c47, c59;
};
const Palette kBluePalette = {0x00F5BE9E, 0x00C2EEFF, 0x00800000, 0x003E80FE, 0x006FC0FF, 0x00764127,
                              0x00CB8C6A, 0x00D0966D, 0x00F6F6F6, 0x00962D00, 0x00000000, 0x00361E16};
const Palette kOlivePalette = {0x00A7D9D9, 0x00C2EEFF, 0x00385D3F, 0x003E80FE, 0x006FC0FF, 0x00335E51,
                               0x00588060, 0x007AAE9F, 0x00EEF4F4, 0x005E8D75, 0x00000000, 0x0019221F};
const Palette kSilverPalette = {0x00E5D7D7, 0x00C2EEFF, 0x006F4B4B, 0x003E80FE, 0x006FC0FF, 0x00755454,
                                0x008F6D6E, 0x00BEA7A8, 0x00FFFAFD, 0x00947C7C, 0x00000000, 0x00292024};

COLORREF PaletteColor(const Palette& p, int n)
{
    switch (n) {
    case 30: return p.c30;
    case 31: return p.c31;
    case 32:
    case 37:
    case 50: return p.c32;
    case 33: return p.c33;
    case 36: return p.c36;
    case 38: return p.c38;
    case 39: return p.c39;
    case 40: return p.c40;
    case 41: return p.c41;
    case 43: return p.c43;
    case 47: return p.c47;
    case 59: return p.c59;
    default: return QX_COLOR_NONE;
    }
}

struct GradientRow {
    COLORREF start, end;
    float factor;
};
// Gradients 0..6 of the colour themes, and colour 54.
const GradientRow kBlueGradients[7] = {
    {0x00D68759, 0x00962D00, 0.5f}, {0x00F5BE9E, 0x00FADAC4, 0.5f}, {0x00D68759, 0x00962D00, 0.5f}, {0x00FEECDD, 0x00E2A981, 0.75f}, {0x00FFEFE3, 0x00E4AD87, 0.5f}, {0x00F6DDCB, 0x00DCA179, 0.5f}, {0x00FFEFE3, 0x00E7B593, 0.5f}};
const GradientRow kOliveGradients[7] = {
    {0x0082C0AF, 0x00447A63, 0.5f}, {0x00A7D9D9, 0x00E4F1F2, 0.5f}, {0x006F8E78, 0x00435B49, 0.5f}, {0x00DEF7F4, 0x0091C6B7, 0.3f}, {0x00EDFFFF, 0x0092C7B8, 0.3f}, {0x00D1E6E6, 0x0078B4A4, 0.3f}, {0x00D5F0EC, 0x009FCEC2, 0.5f}};
const GradientRow kSilverGradients[7] = {
    {0x00BFA7A8, 0x00916F70, 0.5f}, {0x00E5D7D7, 0x00F7F3F3, 0.5f}, {0x00BFA7A8, 0x00977677, 0.5f}, {0x00FFF9F9, 0x00B79B9C, 0.75f}, {0x00FFF9F9, 0x00B99D9F, 0.75f}, {0x00E2D7D7, 0x009E7E80, 0.75f}, {0x00F1E7E9, 0x00CDB9BA, 0.5f}};

std::wstring Lower(const wchar_t* p)
{
    std::wstring s(p);
    for (wchar_t& c : s)
        c = (wchar_t)towlower(c);
    return s;
}

bool Contains(const std::wstring& s, const wchar_t* part) { return s.find(part) != std::wstring::npos; }

} // namespace

// ---------------------------------------------------------------------------
// The colour manager

ToolkitColorManager::ToolkitColorManager() : ToolkitColorManager(SystemQueries()) {}

ToolkitColorManager::ToolkitColorManager(const SystemQueries& queries)
    : m_bRoyaleDetection(TRUE),
      m_bAeroDetection(TRUE),
      m_bLunaColorsDisabled(FALSE),
      m_queries(queries),
      m_nTheme(qxColorThemeSystem),
      m_nSystemTheme(0)
{
    for (int i = 0; i < QX_COLOR_COUNT; ++i) {
        m_clrComputed[i] = 0;
        m_clrOverride[i] = QX_COLOR_NONE;
        m_clrCustom[i] = QX_COLOR_NONE;
    }
    RefreshColors();
    m_gradients[7].Set(0x008CD5FF, 0x0055ADFF, 0.5f);
    m_gradients[8].Set(0x004B8EFE, 0x008BCFFF, 0.5f);
    m_gradients[9].Set(0x00C8F2FF, 0x0097D4FF, 0.5f);
}

ToolkitColorManager::~ToolkitColorManager() {}

ToolkitColorManager* AFXAPI ToolkitColorManager::Instance()
{
    static ToolkitColorManager s_manager;
    return &s_manager;
}

void AFXAPI ToolkitColorManager::Refresh() { Instance()->RefreshColors(); }

COLORREF ToolkitColorManager::SysColor(int nIndex) const
{
    return m_queries.pfnSysColor ? m_queries.pfnSysColor(nIndex) : SystemSysColor(nIndex);
}

COLORREF ToolkitColorManager::GetColor(int nIndex) const
{
    if (nIndex < 0 || nIndex >= QX_COLOR_COUNT)
        return (COLORREF)nIndex;
    return m_clrOverride[nIndex] != QX_COLOR_NONE ? m_clrOverride[nIndex] : m_clrComputed[nIndex];
}

COLORREF ToolkitColorManager::GetColorEx(int nIndex) const
{
    if (nIndex >= 30 && nIndex < QX_COLOR_COUNT && m_clrCustom[nIndex] != QX_COLOR_NONE)
        return m_clrCustom[nIndex];
    return GetColor(nIndex);
}

BOOL ToolkitColorManager::SetColor(int nIndex, COLORREF clr)
{
    if (nIndex < 0 || nIndex >= QX_COLOR_COUNT)
        return FALSE;
    m_clrOverride[nIndex] = clr;
    return TRUE;
}

BOOL ToolkitColorManager::SetCustomColor(int nIndex, COLORREF clr)
{
    if (nIndex < 30 || nIndex >= QX_COLOR_COUNT)
        return FALSE;
    m_clrCustom[nIndex] = clr;
    return TRUE;
}

COLORREF ToolkitColorManager::GetCustomColor(int nIndex) const
{
    return nIndex >= 0 && nIndex < QX_COLOR_COUNT ? m_clrCustom[nIndex] : QX_COLOR_NONE;
}

COLORREF ToolkitColorManager::GetComputedColor(int nIndex) const
{
    return nIndex >= 0 && nIndex < QX_COLOR_COUNT ? m_clrComputed[nIndex] : QX_COLOR_NONE;
}

GradientColorValue* ToolkitColorManager::GetGradientColor(int nIndex)
{
    return nIndex >= 0 && nIndex < 10 ? &m_gradients[nIndex] : NULL;
}

const GradientColorValue* ToolkitColorManager::GetGradientColor(int nIndex) const
{
    return nIndex >= 0 && nIndex < 10 ? &m_gradients[nIndex] : NULL;
}

BOOL ToolkitColorManager::IsLowColor(HDC hdc) const
{
    int n = m_queries.pfnBitsPerPixel ? m_queries.pfnBitsPerPixel(hdc) : SystemBitsPerPixel(hdc);
    return n >= 1 && n <= 8;
}

int ToolkitColorManager::GetCurrentTheme() const
{
    return m_nTheme == qxColorThemeSystem || m_nTheme == qxColorThemeAuto ? m_nSystemTheme : m_nTheme;
}

int ToolkitColorManager::ResolveColorTheme(int nStoredTheme) const
{
    if (nStoredTheme == qxColorThemeAuto)
        return m_bLunaColorsDisabled ? qxColorThemeClassic : GetCurrentTheme();
    if (nStoredTheme == qxColorThemeSystem)
        return m_nSystemTheme;
    return nStoredTheme;
}

BOOL AFXAPI ToolkitColorManager::IsDistinct(COLORREF clrFirst, COLORREF clrSecond, int nThreshold)
{
    double t = ScaledThreshold(clrFirst, nThreshold);
    return SquaredDistance(clrFirst, clrSecond) > t * t;
}

int ToolkitColorManager::DetectSystemTheme()
{
    CVisualStyleTheme vs;
    if (!vs.IsThemeActive() || IsLowColor(NULL))
        return 0;
    wchar_t szFile[260] = L"", szScheme[260] = L"", szSize[260] = L"";
    if (FAILED(vs.GetCurrentThemeName(szFile, 260, szScheme, 260, szSize, 260)))
        return 0;
    szFile[259] = szScheme[259] = 0;
    std::wstring file = Lower(szFile), scheme = Lower(szScheme);
    if (Contains(file, L"luna.msstyles") || Contains(file, L"winxp.luna.skinpack")) {
        if (scheme == L"normalcolor")
            return 1;
        if (scheme == L"homestead")
            return 2;
        if (scheme == L"metallic")
            return 3;
    }
    if (m_bRoyaleDetection && (Contains(file, L"royale.msstyles") || Contains(file, L"winxp.royale.skinpack")))
        return 4;
    if (m_bAeroDetection && Contains(file, L"aero.msstyles"))
        return 5;
    return 0;
}

void ToolkitColorManager::RefreshColors()
{
    m_nSystemTheme = DetectSystemTheme();

    // System colours.
    m_clrComputed[0] = 0;
    for (int i = 1; i < 30; ++i)
        m_clrComputed[i] = SysColor(i);

    const int btnface = COLOR_BTNFACE, window = COLOR_WINDOW, highlight = COLOR_HIGHLIGHT,
              btnshadow = COLOR_BTNSHADOW, graytext = COLOR_GRAYTEXT;
    auto C = [this](int n) { return GetColor(n); };

    // Plain defaults of the toolkit's colours.
    struct Default {
        int n;
        int from; // system colour number, -1 = black
    } defaults[] = {
        {30, btnface},
        {31, window},
        {32, highlight},
        {33, highlight},
        {34, btnshadow},
        {35, graytext},
        {36, window},
        {37, highlight},
        {38, btnshadow},
        {39, btnshadow},
        {40, btnshadow},
        {41, window},
        {42, btnshadow},
        {43, btnshadow},
        {44, COLOR_WINDOWTEXT},
        {45, COLOR_MENUTEXT},
        {46, COLOR_BTNTEXT},
        {47, COLOR_HIGHLIGHTTEXT},
        {48, btnshadow},
        {49, COLOR_HIGHLIGHTTEXT},
        {50, highlight},
        {51, btnface},
        {52, btnshadow},
        {53, btnface},
        {54, btnshadow},
        {55, btnface},
        {56, btnface},
        {57, btnshadow},
        {58, graytext},
        {59, -1},
        {60, btnshadow},
        {61, btnshadow},
    };
    for (const Default& d : defaults)
        m_clrComputed[d.n] = d.from < 0 ? 0 : C(d.from);
    m_clrComputed[62] = 0;

    // Custom colours of the effective theme.
    const int nTheme = m_bLunaColorsDisabled ? qxColorThemeClassic : GetCurrentTheme();
    if (nTheme >= 1 && nTheme <= 5) {
        const Palette& p = nTheme == 2 ? kOlivePalette : nTheme == 3 ? kSilverPalette
                                                                     : kBluePalette;
        for (int n : kCustomIndexes)
            m_clrCustom[n] = PaletteColor(p, n);
    } else {
        for (COLORREF& c : m_clrCustom)
            c = QX_COLOR_NONE;
    }

    const bool bLowColor = IsLowColor(NULL) != FALSE;
    if (bLowColor) {
        ComputeGradients(nTheme, true);
        return;
    }

    // Blends.
    struct Blend {
        int target, a, b, weight;
    } blends[] = {
        {30, window, btnface, 165},
        {31, highlight, window, 30},
        {33, highlight, window, 50},
        {41, btnface, window, 143},
        {35, graytext, window, 70},
        {38, btnshadow, window, 75},
        {39, btnshadow, window, 70},
        {43, 46, btnshadow, 20},
        {61, 46, btnshadow, 15},
        {40, btnshadow, window, 90},
        {42, btnface, btnshadow, 90},
    };
    for (const Blend& b : blends)
        m_clrComputed[b.target] = MixColors(C(b.a), C(b.b), b.weight);

    if (IsDistinct(C(btnface), C(30), 35))
        m_clrComputed[30] = Pull(C(btnface), C(30), 35);

    // Contrast rows: (target, first, second, threshold).
    struct Contrast {
        int target, first, second, threshold;
    } contrasts[] = {
        {31, 30, 31, 50},
        {32, 30, highlight, 100},
        {33, 30, 33, 30},
        {35, 41, 35, 80},
        {37, 33, 37, 100},
        {38, 30, 38, 85},
        {39, 30, 39, 50},
        {43, 41, 43, 100},
        {61, 30, 61, 100},
        {40, 30, 40, 80},
        {44, 41, 44, 180},
        {45, 31, 45, 180},
        {46, 30, 46, 180},
        {47, 33, 47, 180},
    };
    for (const Contrast& c : contrasts) {
        if (!IsDistinct(C(c.first), C(c.second), c.threshold))
            m_clrComputed[c.target] = Push(C(c.first), C(c.second), c.threshold);
    }

    // Derived colours.
    if (IsDistinct(C(41), C(35), 145))
        m_clrComputed[35] = Pull(C(41), C(35), 145);
    {
        COLORREF w = C(window), h = C(highlight), c30 = C(30);
        auto mix = [](int a, int b, int c) { return (int)(a * 0.4) + (int)(b * 0.1) + (int)(c * 0.5); };
        m_clrComputed[36] = RGB(mix(GetRValue(w), GetRValue(h), GetRValue(c30)),
                                mix(GetGValue(w), GetGValue(h), GetGValue(c30)),
                                mix(GetBValue(w), GetBValue(h), GetBValue(c30)));
    }
    {
        COLORREF face = C(btnface);
        int m = std::max({GetRValue(face), GetGValue(face), GetBValue(face)});
        if (m == 0)
            m_clrComputed[48] = 0x00232323;
        else
            m_clrComputed[48] = ScaleColor(face, m > 219 ? 255.0 / m : (m + 35.0) / m);
        COLORREF shadow = C(btnshadow);
        int ms = std::max({GetRValue(shadow), GetGValue(shadow), GetBValue(shadow)});
        if (m == 0)
            m_clrComputed[49] = 0x007F7F7F;
        else if (ms <= 43)
            m_clrComputed[49] = 0;
        else
            m_clrComputed[49] = ScaleColor(shadow, (ms - 43.0) / ms);
    }
    m_clrComputed[34] = ScaleColor(C(31), 0.75);
    {
        COLORREF face = C(btnface);
        auto add = [](int v) { return v + 15 > 255 ? 255 : v + 15; };
        m_clrComputed[COLOR_3DLIGHT] = RGB(add(GetRValue(face)), add(GetGValue(face)), add(GetBValue(face)));
    }
    m_clrComputed[53] = C(30);
    m_clrComputed[58] = C(40);
    m_clrComputed[60] = m_clrComputed[40];

    ComputeGradients(nTheme, false);

    CVisualStyleTheme vs;
    if (vs.IsThemeActive() && vs.OpenThemeData(NULL, L"TREEVIEW")) {
        COLORREF clr;
        if (SUCCEEDED(vs.GetThemeColor(0, 0, 3801 /* TMT_BORDERCOLOR */, &clr)))
            m_clrComputed[57] = clr;
    }
}

void ToolkitColorManager::ComputeGradients(int nTheme, bool bLowColor)
{
    auto C = [this](int n) { return GetColor(n); };
    if (nTheme >= 1 && nTheme <= 5) {
        const GradientRow* rows = nTheme == 2 ? kOliveGradients : nTheme == 3 ? kSilverGradients
                                                                              : kBlueGradients;
        for (int i = 0; i < 7; ++i)
            m_gradients[i].Set(rows[i].start, rows[i].end, rows[i].factor);
        m_clrComputed[54] = nTheme == 2 ? 0x00588060 : nTheme == 3 ? 0x00947C7C
                                                                   : 0x00962D00;
    } else {
        COLORREF face = C(COLOR_BTNFACE), window = C(COLOR_WINDOW), shadow = C(COLOR_BTNSHADOW);
        m_gradients[0].Set(shadow, shadow);
        m_gradients[1].Set(face, MixColors(face, window, 215));
        m_gradients[2].Set(face, shadow);
        m_gradients[3].Set(MixColors(face, window, 205), face);
        m_gradients[4].Set(MixColors(face, window, 145), MixColors(face, window, 93));
        m_gradients[5].Set(MixColors(face, window, 40), MixColors(face, shadow, 95));
        m_gradients[6].Set(MixColors(face, window, 165), MixColors(face, window, 42));
    }
    if (bLowColor) {
        COLORREF face = C(COLOR_BTNFACE);
        m_gradients[1].Set(face, face);
        m_gradients[3].Set(face, face);
    }
}

BOOL AFXAPI IsLowColorDisplay() { return ToolkitColorManager::Instance()->IsLowColor(NULL); }

// ---------------------------------------------------------------------------
// Colour table

CQXPColorTable::CQXPColorTable() {}

COLORREF CQXPColorTable::GetColor(int nIndex) const
{
    if (nIndex < 0 || nIndex >= QX_COLOR_COUNT)
        return (COLORREF)nIndex;
    return m_colors[nIndex].GetColor();
}

void CQXPColorTable::SetColors(int nCount, const int* pIndexes, const COLORREF* pColors)
{
    if (!pIndexes || !pColors)
        return;
    for (int i = 0; i < nCount; ++i) {
        if (pIndexes[i] >= 0 && pIndexes[i] < QX_COLOR_COUNT)
            m_colors[pIndexes[i]].SetStandard(pColors[i]);
    }
}

ColorValue* CQXPColorTable::GetAt(int nIndex)
{
    return nIndex >= 0 && nIndex < QX_COLOR_COUNT ? &m_colors[nIndex] : NULL;
}

void CQXPColorTable::RefreshFrom(const ToolkitColorManager& manager)
{
    for (int i = 0; i < QX_COLOR_COUNT; ++i)
        m_colors[i].SetStandard(manager.GetColor(i));
}

// ---------------------------------------------------------------------------
// Hue, saturation and luminance

double AFXAPI HueToChannel(double m1, double m2, double h)
{
    if (h < 0)
        h += 1;
    else if (h > 1)
        h -= 1;
    if (h < 1.0 / 6)
        return m1 + (m2 - m1) * 6 * h;
    if (h < 0.5)
        return m2;
    if (h < 2.0 / 3)
        return m1 + (m2 - m1) * (2.0 / 3 - h) * 6;
    return m1;
}

COLORREF AFXAPI HslToRgb(double dHue, double dSaturation, double dLuminance)
{
    if (dSaturation == 0) {
        int v = (int)(dLuminance * 255);
        return RGB(v, v, v);
    }
    double m2 = dLuminance < 0.5 ? dLuminance * (1 + dSaturation) : dLuminance + dSaturation - dLuminance * dSaturation;
    double m1 = 2 * dLuminance - m2;
    int r = (int)(HueToChannel(m1, m2, dHue + 1.0 / 3) * 255);
    int g = (int)(HueToChannel(m1, m2, dHue) * 255);
    int b = (int)(HueToChannel(m1, m2, dHue - 1.0 / 3) * 255);
    return RGB(r, g, b);
}

// ---------------------------------------------------------------------------
// Theme state

GlobalThemeState* AFXAPI GlobalThemeState::Instance()
{
    static GlobalThemeState state;
    return &state;
}

COLORREF GlobalThemeState::GetShadowColor() const
{
    const ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    return m_nTheme == 2 ? pColors->GetColorEx(qxColorShadow) : pColors->GetColor(qxColorShadow);
}
