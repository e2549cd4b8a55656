// ribbonpaint.cpp - CRibbonStyleTheme: the ribbon bar's own elements (bar
// face, group band, groups, collapsed-group buttons, option buttons, tabs,
// caption band, quick-access and scroll buttons), drawn from the theme's
// images with its colours.
#include <qx/images.h>
#include <qx/office2007.h>
#include <qx/ribbonlayout.h>
#include <qx/visualstyles.h>

#include <vssym32.h>

#include <algorithm>
#include <vector>

namespace {

const CRect kMargins5(5, 5, 5, 5);
const CRect kMargins8(8, 8, 8, 8);
// A collapsed group's icon narrower than this sits in the round frame.
const int kSmallGroupIconLimit = 20;

// "CONTEXTTAB%s..." for a context colour, else the plain name.
CString ContextImage(int nContextColor, LPCSTR lpszContextFormat, LPCSTR lpszPlain)
{
    LPCSTR pszColor = qxribbon::ContextColorName(nContextColor);
    if (!*pszColor)
        return lpszPlain;
    CString s;
    s.Format(lpszContextFormat, pszColor);
    return s;
}

// Text in a font and colour on a transparent background; the DC's state
// comes back afterwards.
void DrawThemeText(CDC* pDC, CFont* pFont, const CString& strText, CRect rc, COLORREF clr, UINT nFormat)
{
    CFont* pOld = pDC->SelectObject(pFont);
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(clr);
    pDC->DrawText(strText, rc, nFormat);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nMode);
    pDC->SelectObject(pOld);
}

// Three states of a button image: popped 2, selected 1, else 0.
int ButtonPart(int nSelected, BOOL bPopped) { return bPopped ? 2 : (nSelected ? 1 : 0); }

} // namespace

void CRibbonStyleTheme::DrawRibbonBarBackground(CDC* pDC, CRect rc, int nCaptionHeight, CRect rcQatBelow,
                                                BOOL bGroupsShown)
{
    rc.top += nCaptionHeight;
    pDC->FillSolidRect(rc, m_clrRibbonFace.GetColor());
    if (!rcQatBelow.IsRectEmpty())
        DrawThemeImage(pDC, "RIBBONQUICKACCESSFRAME", rcQatBelow, 0, 1, CRect(3, 3, 3, 3));
    else if (!bGroupsShown) {
        pDC->FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, m_clrMinimizedFrameEdgeShadow.GetColor());
        pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, m_clrMinimizedFrameEdgeHighLight.GetColor());
    }
}

void CRibbonStyleTheme::DrawRibbonGroupsBackground(CDC* pDC, CRect rc, int nContextColor)
{
    DrawThemeImage(pDC, ContextImage(nContextColor, "CONTEXTTAB%sCLIENT", "RIBBONGROUPS"), rc, 0, 1, kMargins8);
}

void CRibbonStyleTheme::DrawRibbonPopupGroupsArea(CDC* pDC, CRect rc, int nContextColor)
{
    pDC->FillSolidRect(rc, RGB(191, 219, 255));
    rc.InflateRect(3, 3);
    DrawRibbonGroupsBackground(pDC, rc, nContextColor);
}

void CRibbonStyleTheme::DrawRibbonGroup(CDC* pDC, CRect rc, LPCSTR lpszCaption, BOOL bHot, BOOL bContext,
                                        BOOL bOptionButton)
{
    const int K = m_metrics.nGroupCaption;
    const int nPart = bHot ? 1 : 0;
    DrawThemeImage(pDC, bContext ? "CONTEXTTABGROUPCLIENT" : "RIBBONGROUPCLIENT",
                   CRect(rc.left, rc.top, rc.right, rc.bottom - K), nPart, 2, kMargins5);
    DrawThemeImage(pDC, bContext ? "CONTEXTTABGROUPCAPTION" : "RIBBONGROUPCAPTION",
                   CRect(rc.left, rc.bottom - K, rc.right, rc.bottom), nPart, 2, kMargins5);
    CRect rcText(rc.left, rc.bottom - K, rc.right, rc.bottom);
    rcText.OffsetRect(0, -1);
    if (bOptionButton)
        rcText.right -= K + 1;
    rcText.DeflateRect(2, 2);
    CString strCaption = lpszCaption;
    strCaption.Remove('&');
    DrawThemeText(pDC, &m_fontRibbon, strCaption, rcText, m_clrGroupCaptionText.GetColor(),
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// The width of a caption (access-key marks removed) in a font.
static int CaptionWidth(CDC* pDC, CFont* pFont, LPCSTR lpszCaption)
{
    CFont* pOld = pDC->SelectObject(pFont);
    CString strCaption = lpszCaption;
    strCaption.Remove('&');
    const int cx = pDC->GetTextExtent(strCaption).cx;
    pDC->SelectObject(pOld);
    return cx;
}

int CRibbonStyleTheme::GetRibbonGroupPopupButtonWidth(CDC* pDC, LPCSTR lpszCaption)
{
    const int cxText = CaptionWidth(pDC, &m_fontRibbon, lpszCaption) + 5;
    return std::max(std::max(42, 2 * m_metrics.nControlHeight - 3), cxText);
}

void CRibbonStyleTheme::DrawRibbonGroupPopupButton(CDC* pDC, CQXPControlView* pButton, CQXPIconImage* pIcon,
                                                   CSize szIcon, int nContextColor)
{
    const CRect rc = pButton->GetRect();
    const int nPart = ButtonPart(pButton->GetSelected(), pButton->GetPopped());
    DrawThemeImage(pDC, ContextImage(nContextColor, "CONTEXTTAB%sGROUPBUTTON", "RIBBONGROUPBUTTON"), rc, nPart, 3,
                   kMargins5);
    // A small icon (or none) sits in the round frame; a large one alone.
    if (!pIcon)
        szIcon = CSize(0, 0);
    int yIcon = rc.top + 4;
    if (szIcon.cx < kSmallGroupIconLimit) {
        if (ThemeBitmap* pFrame = GetImage("RIBBONGROUPBUTTONICON")) {
            const CRect rcSrc = pFrame->GetSource(0, 1);
            const CRect rcFrame(CPoint((rc.left + rc.right - rcSrc.Width()) / 2, rc.top + 2), rcSrc.Size());
            DrawThemeImage(pDC, "RIBBONGROUPBUTTONICON", rcFrame, 0, 1, CRect(0, 0, 0, 0));
        }
        yIcon = rc.top + 9;
    }
    if (pIcon)
        DrawImage(pDC, CPoint((rc.left + rc.right - szIcon.cx) / 2, yIcon), szIcon, pIcon, pButton->GetSelected(),
                  pButton->GetPressed(), pButton->GetEnabled() == 1, pButton->GetChecked(), pButton->GetPopped());
    // The caption on two lines, the arrow after the second, in the
    // control's text colour for its state.
    const int K = m_metrics.nGroupCaption, L = m_metrics.nLargeDropDown;
    CFont* pOld = pDC->SelectObject(&m_fontRibbon);
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(GetControlTextColor(pButton));
    DrawControlText2Lines(pDC, pButton, CRect(rc.left, rc.bottom - K - L - 2, rc.right, rc.bottom - K - 2), TRUE, FALSE,
                          TRUE);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nMode);
    pDC->SelectObject(pOld);
}

void CRibbonStyleTheme::DrawRibbonGroupQuickAccessButton(CDC* pDC, CQXPControlView* pButton)
{
    DrawThemeImage(pDC, "RIBBONGROUPQUICKACCESS", pButton->GetRect(),
                   ButtonPart(pButton->GetSelected(), pButton->GetPopped()), 3, CRect(2, 2, 2, 2), QX_THEME_KEY_COLOR,
                   GetGlassFlags(pButton));
}

void CRibbonStyleTheme::FillRibbonFace(CDC* pDC, CRect rc) { pDC->FillSolidRect(rc, m_clrRibbonFace.GetColor()); }

void CRibbonStyleTheme::DrawRibbonOptionButton(CDC* pDC, CRect rc, int nSelected, BOOL bPressed)
{
    DrawThemeImage(pDC, "RIBBONOPTIONBUTTON", rc, bPressed ? 2 : (nSelected ? 1 : 0), 4, CRect(3, 2, 2, 2),
                   QX_THEME_KEY_COLOR);
}

int CRibbonStyleTheme::GetRibbonTabWidth(CDC* pDC, LPCSTR lpszCaption)
{
    return CaptionWidth(pDC, &m_fontRibbon, lpszCaption) + 2 * 10;
}

int AFXAPI CRibbonStyleTheme::GetRibbonTabPart(const QXPRibbonTabLook& t)
{
    if (*qxribbon::ContextColorName(t.nContextColor))
        return t.bSelected ? ((t.bFocused || t.bHot) ? 4 : 3) : (t.bHot || t.bPressed ? 1 : -1);
    if (t.bSelected)
        return t.bFocused ? 5 : (t.bHot ? 4 : 3);
    return t.bPressed ? 2 : (t.bHot ? 1 : -1);
}

void CRibbonStyleTheme::DrawRibbonTab(CDC* pDC, CRect rcTab, const QXPRibbonTabLook& t)
{
    const CRect rc(rcTab.left, rcTab.top + 1, rcTab.right - 1, rcTab.bottom - 1);
    const int nPart = GetRibbonTabPart(t);
    LPCSTR pszColor = qxribbon::ContextColorName(t.nContextColor);
    if (nPart >= 0) {
        if (*pszColor) {
            CString strImage;
            strImage.Format("CONTEXTTAB%s", pszColor);
            DrawThemeImage(pDC, strImage, rc, nPart, 5, kMargins5);
        } else {
            DrawThemeImage(pDC, "RIBBONTAB", rc, nPart, 6, kMargins5, QX_THEME_KEY_COLOR);
        }
    }
    // Tabs squeezed below their width are kept apart by a line; a run of
    // contextual tabs is closed at both ends.
    if (t.bNarrow)
        DrawThemeImage(pDC, "RIBBONTABSEPARATOR", CRect(rc.right, rc.top, rc.right + 1, rc.bottom), 0, 1,
                       CRect(0, 0, 0, 0));
    if (*pszColor && t.bFirstOfContext)
        DrawThemeImage(pDC, "CONTEXTTABSEPARATOR", CRect(rc.left, rc.top, rc.left + 1, rc.bottom - 1), 0, 1,
                       CRect(0, 0, 0, 0));
    if (*pszColor && t.bLastOfContext)
        DrawThemeImage(pDC, "CONTEXTTABSEPARATOR", CRect(rc.right, rc.top, rc.right + 1, rc.bottom - 1), 0, 1,
                       CRect(0, 0, 0, 0));
}

void CRibbonStyleTheme::DrawRibbonCaptionArea(CDC* pDC, CRect rcCaption, CRect rcQat, LPCSTR lpszTitle)
{
    DrawThemeImage(pDC, "FRAMETOPCENTER", CRect(rcCaption.left, rcCaption.top - 1, rcCaption.right, rcCaption.bottom),
                   0, 2, CRect(0, 5, 0, 3));
    if (!rcQat.IsRectEmpty())
        DrawThemeImage(pDC, "RIBBONQUICKACCESSAREA", CRect(rcQat.left - 15, 0, rcQat.right, rcQat.Height()), 0, 1,
                       CRect(16, 3, 16, 3));
    if (lpszTitle && *lpszTitle) {
        CRect rcTitle = rcCaption;
        rcTitle.left = std::max(rcTitle.left, rcQat.IsRectEmpty() ? 0L : rcQat.right + 12);
        DrawThemeText(pDC, &m_fontRibbon, lpszTitle, rcTitle, m_clrRibbonText.GetColor(),
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

void CRibbonStyleTheme::DrawRibbonQuickAccessButton(CDC* pDC, CRect rc, BOOL bMore, int nSelected, BOOL bPopped,
                                                    int nGlassFlags)
{
    DrawThemeImage(pDC, bMore ? "RIBBONQUICKACCESSMORE" : "RIBBONQUICKACCESSBUTTON", rc, ButtonPart(nSelected, bPopped),
                   4, CRect(2, 2, 2, 2), QX_THEME_KEY_COLOR, nGlassFlags);
}

void CRibbonStyleTheme::DrawRibbonScrollButton(CDC* pDC, CRect rc, BOOL bLeft, int nSelected, BOOL bPressed)
{
    const int nPart = bPressed ? 2 : (nSelected ? 1 : 0);
    DrawThemeImage(pDC, bLeft ? "RIBBONGROUPSSCROLLLEFT" : "RIBBONGROUPSSCROLLRIGHT", rc, nPart, 3, CRect(4, 6, 3, 6),
                   QX_THEME_KEY_COLOR);
    LPCSTR pszGlyph = bLeft ? "RIBBONGROUPSSCROLLLEFTGLYPH" : "RIBBONGROUPSSCROLLRIGHTGLYPH";
    if (ThemeBitmap* pGlyph = GetImage(pszGlyph)) {
        CRect rcSrc = pGlyph->GetSource(nPart, 3);
        CRect rcGlyph(CPoint((rc.left + rc.right - rcSrc.Width()) / 2, (rc.top + rc.bottom - rcSrc.Height()) / 2),
                      rcSrc.Size());
        DrawThemeImage(pDC, pszGlyph, rcGlyph, nPart, 3, CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR);
    }
}

void CRibbonStyleTheme::DrawRibbonFrameCaption(CDC* pDC, CRect rcCaption, CRect rcQat, HWND hWndFrame, BOOL bActive,
                                               CRect rcTitle, BOOL bSystemButton, BOOL bGlass)
{
    const int nState = bActive ? 0 : 1;
    const CRect rcMargins(0, 5, 0, 3);
    if (bGlass) {
        // Black is what the composited frame shows as glass.
        pDC->FillSolidRect(rcCaption, RGB(0, 0, 0));
    } else {
        ThemeBitmap* pLeft = GetImage("FRAMETOPLEFT");
        ThemeBitmap* pRight = GetImage("FRAMETOPRIGHT");
        const int cxLeft = pLeft ? pLeft->GetWidth() : 0, cxRight = pRight ? pRight->GetWidth() : 0;
        DrawThemeImage(pDC, "FRAMETOPLEFT",
                       CRect(rcCaption.left, rcCaption.top, rcCaption.left + cxLeft, rcCaption.bottom), nState, 2,
                       rcMargins, QX_THEME_KEY_COLOR);
        DrawThemeImage(pDC, "FRAMETOPRIGHT",
                       CRect(rcCaption.right - cxRight, rcCaption.top, rcCaption.right, rcCaption.bottom), nState, 2,
                       rcMargins, QX_THEME_KEY_COLOR);
        DrawThemeImage(pDC, "FRAMETOPCENTER",
                       CRect(rcCaption.left + cxLeft, rcCaption.top, rcCaption.right - cxRight, rcCaption.bottom),
                       nState, 2, rcMargins);
    }
    if (!rcQat.IsRectEmpty())
        DrawThemeImage(pDC, bGlass ? "RIBBONQUICKACCESSAREADWM" : "RIBBONQUICKACCESSAREA",
                       CRect(rcQat.left - 15, rcCaption.top, rcQat.right, rcCaption.top + rcQat.Height()), 0, 1,
                       CRect(16, 3, 16, 3), QX_COLOR_NONE, bGlass ? kThemeImageOnGlass : 0);
    if (!bSystemButton) {
        if (HICON hIcon = GetFrameSmallIcon(hWndFrame)) {
            const int cxIcon = ::GetSystemMetrics(SM_CXSMICON), cyIcon = ::GetSystemMetrics(SM_CYSMICON);
            ::DrawIconEx(pDC->GetSafeHdc(), rcCaption.left + 10, (rcCaption.top + rcCaption.bottom - cyIcon) / 2, hIcon,
                         cxIcon, cyIcon, 0, NULL, DI_NORMAL);
        }
    }
    if (!rcTitle.IsRectEmpty()) {
        if (::IsZoomed(hWndFrame))
            rcTitle.OffsetRect(0, (rcCaption.top < 0 ? -rcCaption.top : 0) / 2);
        if (bGlass) {
            CString strText;
            CWnd::FromHandle(hWndFrame)->GetWindowText(strText);
            CFont* pOld = pDC->SelectObject(&m_fontCaption);
            DrawGlowCaptionText(pDC, rcTitle, strText, hWndFrame, bActive);
            pDC->SelectObject(pOld);
        } else {
            DrawCaptionText(pDC, rcTitle, hWndFrame, bActive);
        }
    }
}

void CRibbonStyleTheme::DrawRibbonSystemButton(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPopped, HICON hIcon,
                                               HWND hWndFrame)
{
    const SIZE szIcon = hIcon ? GetIconExtent(hIcon) : SIZE{0, 0};
    if (hIcon && szIcon.cx > 32) {
        ::DrawIconEx(pDC->GetSafeHdc(), (rc.left + rc.right - szIcon.cx) / 2, (rc.top + rc.bottom - szIcon.cy) / 2, hIcon,
                     szIcon.cx, szIcon.cy, 0, NULL, DI_NORMAL);
        return;
    }
    const int nPart = bPopped ? 2 : (bSelected ? 1 : 0);
    LPCSTR pszImage = rc.Width() >= 55 && rc.Height() >= 55 && GetImage("FRAMESYSTEMBUTTON52") ? "FRAMESYSTEMBUTTON52"
                                                                                               : "FRAMESYSTEMBUTTON";
    if (ThemeBitmap* pImage = GetImage(pszImage)) {
        const CRect rcSrc = pImage->GetSource(nPart, 3);
        CRect rcImage(CPoint((rc.left + rc.right - rcSrc.Width()) / 2, (rc.top + rc.bottom - rcSrc.Height()) / 2),
                      rcSrc.Size());
        if (rc.top < 0)
            rcImage.OffsetRect(0, -rc.top);
        DrawThemeImage(pDC, pszImage, rcImage, nPart, 3, CRect(0, 0, 0, 0));
    }
    if (hIcon) {
        ::DrawIconEx(pDC->GetSafeHdc(), (rc.left + rc.right - szIcon.cx) / 2, (rc.top + rc.bottom - szIcon.cy) / 2, hIcon,
                     szIcon.cx, szIcon.cy, 0, NULL, DI_NORMAL);
    } else if (HICON hFrameIcon = hWndFrame ? GetFrameLargeIcon(hWndFrame) : NULL) {
        ::DrawIconEx(pDC->GetSafeHdc(), (rc.left + rc.right - 33) / 2, (rc.top + rc.bottom - 31) / 2, hFrameIcon, 32, 32,
                     0, NULL, DI_NORMAL);
    }
}

void CRibbonStyleTheme::DrawGlowCaptionText(CDC* pDC, CRect rc, const CString& strText, HWND hWndFrame, BOOL bActive)
{
    if (strText.IsEmpty())
        return;
    const UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->GetTextColor();
    const BOOL bMaximized = ::IsZoomed(hWndFrame);
    BOOL bDone = FALSE;
    if (!bMaximized) {
        CVisualStyleTheme style(FALSE);
        style.OpenThemeData(hWndFrame, L"WINDOW");
        if (style.IsAppThemed()) {
            CRect rcBuffer = rc;
            rcBuffer.InflateRect(5, 0);
            BP_PAINTPARAMS params = {sizeof(params), 0, NULL, NULL};
            HDC hdcBuffer = NULL;
            HPAINTBUFFER hBuffer =
                style.BeginBufferedPaint(pDC->GetSafeHdc(), &rcBuffer, BPBF_TOPDOWNDIB, &params, &hdcBuffer);
            if (hBuffer && hdcBuffer) {
                // The background under the text, then the glowing text.
                ::BitBlt(hdcBuffer, rcBuffer.left, rcBuffer.top, rcBuffer.Width(), rcBuffer.Height(), pDC->GetSafeHdc(),
                         rcBuffer.left, rcBuffer.top, SRCCOPY);
                HGDIOBJ hOldFont = ::SelectObject(hdcBuffer, ::GetCurrentObject(pDC->GetSafeHdc(), OBJ_FONT));
                DTTOPTS opts;
                ZeroMemory(&opts, sizeof(opts));
                opts.dwSize = sizeof(opts);
                opts.dwFlags = DTT_COMPOSITED | DTT_GLOWSIZE | DTT_TEXTCOLOR;
                opts.crText = RGB(0, 0, 0);
                opts.iGlowSize = 8;
                const int cch = ::MultiByteToWideChar(CP_ACP, 0, strText, -1, NULL, 0);
                std::vector<WCHAR> text(cch > 0 ? cch : 1, L'\0');
                ::MultiByteToWideChar(CP_ACP, 0, strText, -1, text.data(), (int)text.size());
                CRect rcText = rc;
                style.DrawThemeTextEx(hdcBuffer, WP_CAPTION, bActive ? CS_ACTIVE : CS_INACTIVE, text.data(), -1,
                                      nFormat, &rcText, &opts);
                ::SelectObject(hdcBuffer, hOldFont);
                style.EndBufferedPaint(hBuffer, TRUE);
                bDone = TRUE;
            } else if (hBuffer) {
                style.EndBufferedPaint(hBuffer, FALSE);
            }
        }
    }
    if (!bDone) {
        pDC->SetTextColor(bMaximized ? RGB(255, 255, 255) : RGB(0, 0, 0));
        pDC->DrawText(strText, rc, nFormat);
    }
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nMode);
}

void CRibbonStyleTheme::DrawRibbonContextHeaders(CDC* pDC, const qxribbon::CRibbonContextHeaders& headers,
                                                 int nTextOffset, BOOL bGlass, HWND hWndFrame, BOOL bActive)
{
    COLORREF clrText = m_clrTabNormalText.GetColor();
    if (clrText == QX_COLOR_NONE)
        clrText = m_clrRibbonText.GetColor();
    CFont* pFont = &m_fontRibbon;
    for (const qxribbon::CRibbonContextHeader& h : headers) {
        CString strName;
        strName.Format("ContextTab%sHeader", qxribbon::ContextColorName(h.nColor));
        if (!DrawThemeImage(pDC, strName, h.rc, 0, 1, CRect(1, 1, 1, 1)))
            break;
        CRect rcText = h.rc;
        rcText.OffsetRect(6, nTextOffset - 2);
        rcText.right -= 6;
        if (bGlass) {
            CFont* pOld = pDC->SelectObject(pFont);
            DrawGlowCaptionText(pDC, rcText, h.strCaption, hWndFrame, bActive);
            pDC->SelectObject(pOld);
            continue;
        }
        DrawThemeText(pDC, pFont, h.strCaption, rcText, clrText,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}
