// themeres.cpp - the theme module of the Office 2007 look: text parser,
// nine-part geometry, theme images and the process-wide resource object.
#include <qx/colors.h>
#include <qx/drawing.h>
#include <qx/images.h>
#include <qx/themeres.h>

#include <cstdio>
#include <memory>

// ---------------------------------------------------------------------------
// ThemeText

void ThemeText::Set(const void* pData, DWORD cb)
{
    cb &= ~(DWORD)1;
    if (!pData || cb == 0) {
        Clear();
        return;
    }
    m_pBegin = static_cast<const WCHAR*>(pData);
    m_pEnd = m_pBegin + cb / sizeof(WCHAR);
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

void TrimRight(std::string& s)
{
    while (!s.empty() && IsBlank(s.back()))
        s.pop_back();
}

std::string Upper(std::string s)
{
    if (!s.empty())
        ::CharUpperBuffA(&s[0], (DWORD)s.size());
    return s;
}

// The next line from p (ending in CR, an LF after it skipped), in the ANSI
// code page with its leading blanks removed; false at the end of the text
// (a last line without CR included).
bool NextLine(const WCHAR*& p, const WCHAR* pEnd, std::string& line)
{
    const WCHAR* pCR = p;
    while (pCR < pEnd && *pCR != L'\r')
        ++pCR;
    if (pCR >= pEnd)
        return false;
    line.clear();
    int n = (int)(pCR - p);
    if (n > 0) {
        int cb = ::WideCharToMultiByte(CP_ACP, 0, p, n, NULL, 0, NULL, NULL);
        if (cb > 0) {
            line.resize((size_t)cb);
            ::WideCharToMultiByte(CP_ACP, 0, p, n, &line[0], cb, NULL, NULL);
        }
    }
    p = pCR + 1;
    if (p < pEnd && *p == L'\n')
        ++p;
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    line.erase(0, i);
    return true;
}

} // namespace

CString ThemeText::GetValue(LPCSTR lpszSection, LPCSTR lpszKey) const
{
    if (!IsLoaded() || !lpszSection || !lpszKey)
        return CString();
    const std::string section = Upper(lpszSection);
    const std::string key = Upper(lpszKey);
    bool bInSection = false;
    const WCHAR* p = m_pBegin;
    std::string line;
    while (NextLine(p, m_pEnd, line)) {
        if (line.empty() || line[0] == ';')
            continue;
        size_t semi = line.find(';');
        if (semi != std::string::npos)
            line.erase(semi);
        TrimRight(line);
        if (line.empty())
            continue;
        line = Upper(line);
        if (line[0] == '[') {
            // Only the first section of the name is searched.
            if (bInSection)
                return CString();
            std::string name = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string();
            bInSection = name == section;
            continue;
        }
        if (!bInSection)
            continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        std::string k = line.substr(0, eq);
        TrimRight(k);
        if (k != key)
            continue;
        std::string v = line.substr(eq + 1);
        size_t i = 0;
        while (i < v.size() && IsBlank(v[i]))
            ++i;
        v.erase(0, i);
        TrimRight(v);
        return CString(v);
    }
    return CString();
}

COLORREF AFXAPI ThemeText::ParseColor(LPCSTR lpszValue)
{
    int r = 0, g = 0, b = 0;
    if (lpszValue)
        std::sscanf(lpszValue, "%i %i %i", &r, &g, &b);
    return (COLORREF)((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

COLORREF ThemeText::GetColor(LPCSTR lpszSection, LPCSTR lpszKey) const
{
    CString value = GetValue(lpszSection, lpszKey);
    return value.IsEmpty() ? QX_COLOR_NONE : ParseColor(value);
}

// ---------------------------------------------------------------------------
// Nine-part geometry

int AFXAPI ComputeNineParts(const RECT& rcDest, const RECT& rcSrc, RECT m, ThemeImagePart* pParts)
{
    const int cxDest = rcDest.right - rcDest.left, cyDest = rcDest.bottom - rcDest.top;
    const int cxSrc = rcSrc.right - rcSrc.left, cySrc = rcSrc.bottom - rcSrc.top;
    if (cyDest < m.top + m.bottom)
        return 0;
    if (cxDest == cxSrc)
        m.left = m.right = 0;
    if (cyDest == cySrc)
        m.top = m.bottom = 0;
    if (cxSrc <= 0 || cySrc <= 0)
        return 0;
    if (m.left == 0 && m.top == 0 && m.right == 0 && m.bottom == 0) {
        pParts[0].rcDest = rcDest;
        pParts[0].rcSrc = rcSrc;
        return cxDest > 0 && cyDest > 0 ? 1 : 0;
    }

    // Source margins: the destination's, rescaled when a pair does not fit.
    RECT s = m;
    const int cyMargins = m.top + m.bottom, cxMargins = m.left + m.right;
    if (cyMargins > 0 && (cyMargins >= cySrc || cyMargins == cyDest)) {
        s.top = ::MulDiv(cySrc, m.top, cyMargins);
        int rest = cySrc - s.top;
        s.bottom = rest + ((rest > 0 && (rest & 1) != (m.bottom & 1)) ? 1 : 0);
        // The parity step must not reach above the state's strip.
        if (s.bottom > cySrc)
            s.bottom = cySrc;
    }
    if (cxMargins > 0 && (cxMargins >= cxSrc || cxMargins == cxDest)) {
        s.left = cxSrc * m.left / cxMargins;
        s.right = cxSrc - s.left;
    }

    const int xd[4] = {rcDest.left, rcDest.left + m.left, rcDest.right - m.right, rcDest.right};
    const int yd[4] = {rcDest.top, rcDest.top + m.top, rcDest.bottom - m.bottom, rcDest.bottom};
    const int xs[4] = {rcSrc.left, rcSrc.left + s.left, rcSrc.right - s.right, rcSrc.right};
    const int ys[4] = {rcSrc.top, rcSrc.top + s.top, rcSrc.bottom - s.bottom, rcSrc.bottom};
    int n = 0;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            RECT d = {xd[col], yd[row], xd[col + 1], yd[row + 1]};
            RECT r = {xs[col], ys[row], xs[col + 1], ys[row + 1]};
            if (d.right <= d.left || d.bottom <= d.top || r.right <= r.left || r.bottom <= r.top)
                continue;
            pParts[n].rcDest = d;
            pParts[n].rcSrc = r;
            ++n;
        }
    }
    return n;
}

// ---------------------------------------------------------------------------
// ThemeBitmap

namespace {

// An off-screen picture of a size, selected into its own memory DC; both go
// with the object.
class OffscreenBuffer {
public:
    OffscreenBuffer(HDC hdcTarget, int cx, int cy, bool b32Bit) : m_hdc(::CreateCompatibleDC(hdcTarget))
    {
        m_b32Requested = b32Bit;
        m_hbm = b32Bit ? Create32BitDIBSection(hdcTarget, cx, cy, &m_pBits)
                       : ::CreateCompatibleBitmap(hdcTarget, cx, cy);
        if (m_hdc && m_hbm)
            m_hOld = ::SelectObject(m_hdc, m_hbm);
    }
    ~OffscreenBuffer()
    {
        if (m_hOld)
            ::SelectObject(m_hdc, m_hOld);
        if (m_hbm)
            ::DeleteObject(m_hbm);
        if (m_hdc)
            ::DeleteDC(m_hdc);
    }
    OffscreenBuffer(const OffscreenBuffer&) = delete;
    OffscreenBuffer& operator=(const OffscreenBuffer&) = delete;
    bool IsValid() const { return m_hOld != NULL && (m_pBits || !m_b32Requested); }
    HDC GetDC() const { return m_hdc; }
    DWORD* GetBits() const { return reinterpret_cast<DWORD*>(m_pBits); }
    // Fills it with a colour.
    void Fill(COLORREF clr, int cx, int cy)
    {
        RECT rc = {0, 0, cx, cy};
        ::SetBkColor(m_hdc, clr);
        ::ExtTextOutA(m_hdc, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
    }

private:
    HDC m_hdc;
    HBITMAP m_hbm = NULL;
    HGDIOBJ m_hOld = NULL;
    BYTE* m_pBits = NULL;
    bool m_b32Requested = false;
};

} // namespace

ThemeBitmap::ThemeBitmap()
    : m_hBitmap(NULL), m_bAlpha(FALSE), m_wReserved(0), m_bMirror(FALSE), m_bMirrored(FALSE), m_pLock(NULL)
{
}

ThemeBitmap::~ThemeBitmap()
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
}

void ThemeBitmap::Attach(HBITMAP hBitmap, BOOL bAlpha)
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = hBitmap;
    m_bAlpha = FALSE;
    m_bMirrored = FALSE;
    m_wReserved = 0;
    if (hBitmap && bAlpha) {
        // AlphaBlend takes premultiplied colours.
        BOOL bUsed = FALSE;
        HBITMAP hPremultiplied = PremultiplyAlphaBitmap(hBitmap, &bUsed);
        if (hPremultiplied) {
            ::DeleteObject(m_hBitmap);
            m_hBitmap = hPremultiplied;
            m_bAlpha = bUsed;
        }
    }
}

BOOL ThemeBitmap::LoadFromResource(HMODULE hModule, LPCSTR lpszResourceName)
{
    Attach(NULL, FALSE);
    if (!lpszResourceName || !*lpszResourceName)
        return FALSE;
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = LoadBitmapFromResourceHandle(hModule, lpszResourceName, &bAlpha);
    if (!hBitmap)
        return FALSE;
    Attach(hBitmap, bAlpha);
    return TRUE;
}

int ThemeBitmap::GetWidth() const
{
    BITMAP bm;
    return m_hBitmap && ::GetObjectA(m_hBitmap, sizeof(bm), &bm) ? bm.bmWidth : 0;
}

int ThemeBitmap::GetHeight() const
{
    BITMAP bm;
    return m_hBitmap && ::GetObjectA(m_hBitmap, sizeof(bm), &bm) ? abs(bm.bmHeight) : 0;
}

CRect ThemeBitmap::GetSource(int nState, int nCount) const
{
    if (nCount <= 0)
        return CRect(0, 0, 0, 0);
    int cy = GetHeight() / nCount;
    return CRect(0, nState * cy, GetWidth(), nState * cy + cy);
}

void ThemeBitmap::DrawImage(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins)
{
    if (!m_hBitmap || !m_pLock || !pDC)
        return;
    if (rcDest.Height() < rcMargins.top + rcMargins.bottom)
        return;
    CQXPLockGuard guard(m_pLock);
    HDC hdc = pDC->GetSafeHdc();
    ::SetStretchBltMode(hdc, COLORONCOLOR);

    ThemeImagePart parts[9];
    int n = ComputeNineParts(rcDest, rcSrc, rcMargins, parts);
    if (n == 0)
        return;

    const BOOL bTargetRTL = IsLayoutRTL(hdc);
    if (m_bAlpha && m_bMirror && m_bMirrored != bTargetRTL) {
        HBITMAP hFlipped = FlipBitmap32Horizontally(m_hBitmap);
        if (hFlipped) {
            ::DeleteObject(m_hBitmap);
            m_hBitmap = hFlipped;
            m_bMirrored = !m_bMirrored;
        }
    }
    HDC hdcMem = ::CreateCompatibleDC(hdc);
    if (!hdcMem)
        return;
    HGDIOBJ hOld = ::SelectObject(hdcMem, m_hBitmap);
    if (bTargetRTL && !m_bAlpha && !m_bMirror)
        SetDCLayout(hdcMem, 0);
    CQXPImageManager* pImages = GetGlobalImageManager();
    for (int i = 0; i < n; ++i) {
        const RECT& d = parts[i].rcDest;
        const RECT& s = parts[i].rcSrc;
        int cxD = d.right - d.left, cyD = d.bottom - d.top, cxS = s.right - s.left, cyS = s.bottom - s.top;
        if (m_bAlpha)
            pImages->AlphaBlend(hdc, d.left, d.top, cxD, cyD, hdcMem, s.left, s.top, cxS, cyS);
        else if (cxD == cxS && cyD == cyS)
            ::BitBlt(hdc, d.left, d.top, cxD, cyD, hdcMem, s.left, s.top, SRCCOPY);
        else
            ::StretchBlt(hdc, d.left, d.top, cxD, cyD, hdcMem, s.left, s.top, cxS, cyS, SRCCOPY);
    }
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
}

void ThemeBitmap::DrawImageOnColor(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins,
                                   COLORREF clrTransparent)
{
    if (clrTransparent == QX_COLOR_NONE || m_bAlpha) {
        DrawImage(pDC, rcDest, rcSrc, rcMargins);
        return;
    }
    if (!m_hBitmap || !m_pLock || !pDC || rcDest.IsRectEmpty())
        return;
    HDC hdc = pDC->GetSafeHdc();
    const int cx = rcDest.Width(), cy = rcDest.Height();
    OffscreenBuffer buf(hdc, cx, cy, false);
    if (!buf.IsValid())
        return;
    buf.Fill(clrTransparent, cx, cy);
    DrawInto(buf.GetDC(), CRect(0, 0, cx, cy), rcSrc, rcMargins);
    GetGlobalImageManager()->TransparentBlt(hdc, rcDest.left, rcDest.top, cx, cy, buf.GetDC(), 0, 0, cx, cy,
                                            clrTransparent);
}

void ThemeBitmap::DrawImageGlassAware(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins,
                                      COLORREF clrTransparent, int nFlags)
{
    if (!(nFlags & 1)) {
        DrawImageOnColor(pDC, rcDest, rcSrc, rcMargins, clrTransparent);
        return;
    }
    if (m_bAlpha) {
        DrawImage(pDC, rcDest, rcSrc, rcMargins);
        return;
    }
    if (!m_hBitmap || !m_pLock || !pDC || rcDest.IsRectEmpty())
        return;
    HDC hdc = pDC->GetSafeHdc();
    const int cx = rcDest.Width(), cy = rcDest.Height();
    OffscreenBuffer buf(hdc, cx, cy, true);
    if (!buf.IsValid())
        return;
    if (clrTransparent != QX_COLOR_NONE)
        buf.Fill(clrTransparent, cx, cy);
    DrawInto(buf.GetDC(), CRect(0, 0, cx, cy), rcSrc, rcMargins);
    ::GdiFlush();
    const DWORD key = clrTransparent == QX_COLOR_NONE
                          ? 0xFFFFFFFF
                          : (DWORD)(GetBValue(clrTransparent) | (GetGValue(clrTransparent) << 8) |
                                    (GetRValue(clrTransparent) << 16));
    DWORD* px = buf.GetBits();
    for (int i = 0; i < cx * cy; ++i)
        px[i] = (px[i] & 0x00FFFFFF) == key ? 0 : (px[i] | 0xFF000000);
    GetGlobalImageManager()->AlphaBlend(hdc, rcDest.left, rcDest.top, cx, cy, buf.GetDC(), 0, 0, cx, cy);
}

void ThemeBitmap::DrawInto(HDC hdc, const CRect& rcDest, const CRect& rcSrc, const CRect& rcMargins)
{
    CDC dc;
    dc.Attach(hdc);
    DrawImage(&dc, rcDest, rcSrc, rcMargins);
    dc.Detach();
}

// ---------------------------------------------------------------------------
// ThemeResources

namespace {

BOOL CALLBACK FirstTextName(HMODULE, LPCSTR, LPSTR lpszName, LONG_PTR lParam)
{
    auto* pName = reinterpret_cast<std::string*>(lParam);
    if (IS_INTRESOURCE(lpszName))
        *pName = "#" + std::to_string((unsigned)(ULONG_PTR)lpszName);
    else
        *pName = lpszName;
    return FALSE;
}

void ReplaceChars(std::string& s, const char* pszFrom, char to)
{
    for (char& c : s)
        if (strchr(pszFrom, c))
            c = to;
}

} // namespace

ThemeResources::ThemeResources() : m_hModule(NULL), m_bFree(FALSE) {}

ThemeResources::~ThemeResources()
{
    ReleaseCache();
    if (m_bFree && m_hModule)
        ::FreeLibrary(m_hModule);
}

void ThemeResources::ReleaseCache()
{
    CQXPLockGuard guard(m_lock);
    for (auto& entry : m_cache)
        entry.second->InternalRelease();
    m_cache.clear();
}

BOOL ThemeResources::LoadTextResource(HMODULE hModule, LPCSTR lpszName, BOOL bFree)
{
    if (!hModule)
        hModule = ::GetModuleHandleA(NULL);
    // Loading the same module again must not free it under the new theme.
    if (m_bFree && m_hModule && m_hModule != hModule)
        ::FreeLibrary(m_hModule);
    const bool bNamed = lpszName && *lpszName;
    std::string name = bNamed ? lpszName : "OFFICE2007BLUE_INI";
    ReplaceChars(name, ".", '_');
    m_hModule = hModule;
    m_bFree = bFree;
    m_text.Clear();
    ReleaseCache();

    HRSRC hRes = ::FindResourceA(hModule, name.c_str(), "TEXTFILE");
    if (!hRes) {
        if (bNamed)
            return FALSE;
        std::string first;
        ::EnumResourceNamesA(hModule, "TEXTFILE", FirstTextName, (LONG_PTR)&first);
        if (first.empty())
            return FALSE;
        hRes = ::FindResourceA(hModule, first.c_str(), "TEXTFILE");
        if (!hRes)
            return FALSE;
    }
    HGLOBAL hGlobal = ::LoadResource(hModule, hRes);
    const void* p = hGlobal ? ::LockResource(hGlobal) : NULL;
    DWORD cb = ::SizeofResource(hModule, hRes);
    if (!p)
        return FALSE;
    m_text.Set(p, cb);
    return m_text.IsLoaded();
}

CString ThemeResources::GetImageResourceName(LPCSTR lpszImage) const
{
    if (!lpszImage)
        return CString();
    CString mapped = GetValue("Images", lpszImage);
    std::string name = mapped.IsEmpty() ? std::string(lpszImage) : mapped.str();
    ReplaceChars(name, ".\\", '_');
    return CString(name);
}

ThemeBitmap* ThemeResources::LoadImage(LPCSTR lpszImage)
{
    CQXPLockGuard guard(m_lock);
    if (!m_hModule || !lpszImage || !*lpszImage)
        return NULL;
    auto it = m_cache.find(lpszImage);
    if (it != m_cache.end())
        return it->second;
    ThemeBitmap* pBitmap = new ThemeBitmap;
    if (!pBitmap->LoadFromResource(m_hModule, GetImageResourceName(lpszImage))) {
        pBitmap->InternalRelease();
        return NULL;
    }
    pBitmap->SetLock(m_lock);
    m_cache[lpszImage] = pBitmap;
    return pBitmap;
}

ThemeResources* AFXAPI GetThemeResources()
{
    static ThemeResources* s_pResources = [] {
        auto* p = new ThemeResources;
        p->LoadTextResource(AfxGetResourceHandle(), NULL, FALSE);
        return p;
    }();
    return s_pResources;
}
