// Global metrics and UI fonts.
#include <qx/fonts.h>
#include <qx/colors.h>
#include <qx/drawing.h>
#include <qx/sysutil.h>
#include <qx/toolkitres.h>

#include <cstddef>

BOOL AFXAPI NonClientMetrics(NONCLIENTMETRICSA* pMetrics)
{
    static_assert(offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA) == kNonClientMetricsSize,
                  "the toolkit's metrics record ends after the message font");
    if (!pMetrics)
        return FALSE;
    ZeroMemory(pMetrics, sizeof(*pMetrics));
    pMetrics->cbSize = kNonClientMetricsSize;
    return ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, pMetrics, 0);
}

const int CQXSystemFonts::kColorSources[40] = {15, 16, 21, 20, 22, 18, 17, 13, 14, 4, 7, 5, 6, 8,
                                               2, 3, 27, 28, 9, 19, 30, 31, 32, 33, 34, 35, 36, 37,
                                               38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49};

// Drag move, drag copy, no drop, the hand (the toolkit's when the system has
// none), the two splitters, the system size-all cursor.
const UINT CQXSystemFonts::kToolkitCursorIds[kCursorCount] = {
    QX_IDC_DRAG_MOVE, QX_IDC_DRAG_COPY, QX_IDC_DRAG_NONE, QX_IDC_HAND,
    QX_IDC_SPLIT_LEFTRIGHT, QX_IDC_SPLIT_UPDOWN, 0};

namespace {

HCURSOR AFXAPI LoadToolkitCursor(UINT nID) { return ToolkitCursor(nID); }

HFONT MakeFont(const LOGFONTA& lf) { return ::CreateFontIndirectA(&lf); }

} // namespace

CQXSystemFonts::CQXSystemFonts() : CQXSystemFonts(Environment()) {}

CQXSystemFonts::CQXSystemFonts(const Environment& env) : m_env(env) { Init(); }

void CQXSystemFonts::Init()
{
    for (COLORREF& c : m_clr)
        c = 0;
    for (HCURSOR& h : m_hCursors)
        h = NULL;
    m_sizeSmallIcon = SIZE{0, 0};
    m_nFixedWidth = m_nFixedHeight = 18;
    m_cxHThumb = m_cyVThumb = m_cyMenu = 0;
    m_fontNormal = m_fontBold = m_fontUnderline = m_fontVert = m_fontVertBold = NULL;
    m_fontIconTitle = m_fontIconTitleBold = m_fontMarlett = m_fontStatus = m_fontSmCaption = NULL;
    m_bUseDefaultFace = FALSE;
    m_bFlag1 = FALSE;
    m_bFlag2 = TRUE;
    CQXPOSVersionInfo* v = GetOSVersionInfo();
    m_bWin95 = (BYTE)v->IsWin95();
    m_bWin98 = (BYTE)v->IsWin98();
    m_bWinNT4 = (BYTE)v->IsWinNT4();
    m_bWin2K = (BYTE)v->IsWin2K();
    m_bWinXP = (BYTE)v->IsWinXP();
    m_dwComCtlVersion = GetComCtlVersion();

    for (int i = 0; i < 40; ++i)
        m_clr[i] = Colors()->GetColor(kColorSources[i]);
    RefreshMetrics();
    LoadCursors();
    Refresh();
}

CQXSystemFonts::~CQXSystemFonts() { DeleteFonts(); }

ToolkitColorManager* CQXSystemFonts::Colors() const
{
    return m_env.pColorManager ? m_env.pColorManager : ToolkitColorManager::Instance();
}

BOOL CQXSystemFonts::GetMetrics(NONCLIENTMETRICSA& ncm) const
{
    if (m_env.pfnNonClientMetrics) {
        ZeroMemory(&ncm, sizeof(ncm));
        ncm.cbSize = kNonClientMetricsSize;
        return m_env.pfnNonClientMetrics(&ncm);
    }
    return NonClientMetrics(&ncm);
}

BOOL CQXSystemFonts::GetIconTitleFont(LOGFONTA& lf) const
{
    ZeroMemory(&lf, sizeof(lf));
    if (m_env.pfnIconTitleFont)
        return m_env.pfnIconTitleFont(&lf);
    return ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0);
}

BOOL CQXSystemFonts::IsInstalled(LPCSTR lpszFace) const
{
    return m_env.pfnIsFontInstalled ? m_env.pfnIsFontInstalled(lpszFace) : IsFontInstalled(lpszFace);
}

void CQXSystemFonts::RefreshColors()
{
    Colors()->RefreshColors();
    for (int i = 0; i < 40; ++i)
        m_clr[i] = Colors()->GetColor(kColorSources[i]);
}

void CQXSystemFonts::RefreshMetrics()
{
    m_sizeSmallIcon.cx = ::GetSystemMetrics(SM_CXSMICON);
    m_sizeSmallIcon.cy = ::GetSystemMetrics(SM_CYSMICON);
    m_nFixedWidth = m_nFixedHeight = 18;
    m_cxHThumb = ::GetSystemMetrics(SM_CXHTHUMB);
    m_cyVThumb = ::GetSystemMetrics(SM_CYVTHUMB);
    m_cyMenu = ::GetSystemMetrics(SM_CYMENU);
}

BOOL CQXSystemFonts::LoadCursors()
{
    HCURSOR(AFXAPI * pfnLoad)
    (UINT) = m_env.pfnLoadCursor ? m_env.pfnLoadCursor : LoadToolkitCursor;
    for (int i = 0; i < kCursorCount; ++i) {
        HCURSOR h = NULL;
        if (i == 3) {
            h = ::LoadCursor(NULL, IDC_HAND);
            if (!h)
                h = pfnLoad(kToolkitCursorIds[i]);
        } else if (kToolkitCursorIds[i] == 0) {
            h = ::LoadCursor(NULL, IDC_SIZEALL);
        } else {
            h = pfnLoad(kToolkitCursorIds[i]);
        }
        if (!h)
            return FALSE;
        m_hCursors[i] = h;
    }
    return TRUE;
}

void CQXSystemFonts::DeleteFonts()
{
    HFONT* fonts[] = {&m_fontNormal, &m_fontBold, &m_fontUnderline, &m_fontVert,
                      &m_fontVertBold, &m_fontIconTitle, &m_fontIconTitleBold, &m_fontMarlett,
                      &m_fontStatus, &m_fontSmCaption};
    for (HFONT* p : fonts) {
        if (*p)
            ::DeleteObject(*p);
        *p = NULL;
    }
}

BOOL CQXSystemFonts::Refresh(LPCSTR lpszFace, LPCSTR lpszVertFace)
{
    DeleteFonts();
    NONCLIENTMETRICSA ncm;
    if (!GetMetrics(ncm))
        return FALSE;
    LOGFONTA lf = ncm.lfMenuFont;
    LOGFONTA lfStatus = ncm.lfStatusFont, lfSmCaption = ncm.lfSmCaptionFont;
    const bool bFace = lpszFace && *lpszFace && IsInstalled(lpszFace);
    if (bFace) {
        lstrcpynA(lf.lfFaceName, lpszFace, LF_FACESIZE);
        lstrcpynA(lfStatus.lfFaceName, lpszFace, LF_FACESIZE);
        lstrcpynA(lfSmCaption.lfFaceName, lpszFace, LF_FACESIZE);
    } else if (m_bUseDefaultFace && lf.lfCharSet <= 2 && IsInstalled("Tahoma")) {
        lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
    }

    if (!(m_fontNormal = MakeFont(lf)))
        return FALSE;
    LOGFONTA bold = lf;
    bold.lfWeight = FW_BOLD;
    if (!(m_fontBold = MakeFont(bold)))
        return FALSE;
    LOGFONTA under = lf;
    under.lfUnderline = TRUE;
    if (!(m_fontUnderline = MakeFont(under)))
        return FALSE;

    if (lpszVertFace && *lpszVertFace && IsInstalled(lpszVertFace))
        lstrcpynA(lf.lfFaceName, lpszVertFace, LF_FACESIZE);
    else if (lstrcmpiA(ncm.lfMenuFont.lfFaceName, "Tahoma") != 0 && IsInstalled("Arial"))
        lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    LOGFONTA vert = lf;
    vert.lfEscapement = 2700;
    vert.lfOrientation = 900;
    if (!(m_fontVert = MakeFont(vert)))
        return FALSE;
    vert.lfWeight = FW_BOLD;
    if (!(m_fontVertBold = MakeFont(vert)))
        return FALSE;

    LOGFONTA icon;
    if (!GetIconTitleFont(icon))
        return FALSE;
    if (!(m_fontIconTitle = MakeFont(icon)))
        return FALSE;
    LOGFONTA iconBold = icon;
    iconBold.lfWeight = FW_BOLD;
    if (!(m_fontIconTitleBold = MakeFont(iconBold)))
        return FALSE;

    if (!(m_fontStatus = MakeFont(lfStatus)))
        return FALSE;
    if (!(m_fontSmCaption = MakeFont(lfSmCaption)))
        return FALSE;

    LOGFONTA marlett;
    ZeroMemory(&marlett, sizeof(marlett));
    marlett.lfHeight = icon.lfHeight;
    marlett.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(marlett.lfFaceName, "Marlett", LF_FACESIZE);
    if (!(m_fontMarlett = MakeFont(marlett)))
        return FALSE;
    return TRUE;
}

void CQXSystemFonts::UseDefaultFace(BOOL bUse)
{
    m_bUseDefaultFace = bUse;
    Refresh();
}

CString CQXSystemFonts::GetVerticalFace(LPCSTR lpszFace, BOOL bPreferTahoma) const
{
    CString face(lpszFace);
    if (face.CompareNoCase("Tahoma") == 0)
        return face;
    if (bPreferTahoma && IsInstalled("Tahoma"))
        return CString("Tahoma");
    if (IsInstalled("Arial"))
        return CString("Arial");
    return face;
}

BOOL CQXSystemFonts::IsPopupShadowEnabled() const
{
    BOOL b = FALSE;
    ::SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &b, 0);
    return b;
}

CQXSystemFonts* AFXAPI GetGlobalUIFonts()
{
    static CQXSystemFonts s_fonts;
    return &s_fonts;
}
