// office2007frame.cpp - the frame skin of COffice2007Theme: borders, caption
// band, caption buttons, title, icons and the window region.
#include <qx/drawing.h>
#include <qx/office2007.h>

#include <fx/dvdefs.h>
#include <fx/frame.h>

int AFXAPI COffice2007Theme::GetCaptionGlyphSize(int cxButton)
{
    return cxButton <= 14 ? 13 : (cxButton <= 26 ? 17 : 23);
}

int AFXAPI COffice2007Theme::GetCaptionGlyphState(BOOL bSelected, BOOL bPressed, BOOL bActive)
{
    if (!bActive)
        return 3;
    if (bSelected && bPressed)
        return 2;
    return (bSelected || bPressed) ? 1 : 0;
}

CString AFXAPI COffice2007Theme::GetCaptionGlyphName(UINT nCommand, int cxButton)
{
    const char* pszWord = nCommand == SC_CLOSE      ? "CLOSE"
                          : nCommand == SC_MINIMIZE ? "MINIMIZE"
                          : nCommand == SC_MAXIMIZE ? "MAXIMIZE"
                                                    : "RESTORE";
    CString name;
    name.Format("FRAMECAPTION%s%i", pszWord, GetCaptionGlyphSize(cxButton));
    return name;
}

void COffice2007Theme::DrawFrameCaptionButton(CDC* pDC, CRect rc, UINT nCommand, BOOL bSelected, BOOL bPressed,
                                              BOOL bEnabled, BOOL bActive)
{
    (void)bEnabled;
    if (bSelected || bPressed)
        DrawThemeImage(pDC, "FRAMECAPTIONBUTTON", rc, bSelected && bPressed ? 1 : 0, 2, CRect(3, 3, 3, 3),
                       QX_THEME_KEY_COLOR);
    ThemeBitmap* p = GetImage(GetCaptionGlyphName(nCommand, rc.Width()));
    if (!p)
        return;
    CRect rcSrc = p->GetSource(GetCaptionGlyphState(bSelected, bPressed, bActive), 5);
    CPoint pt(rc.left + (rc.Width() - rcSrc.Width()) / 2, rc.top + (rc.Height() - rcSrc.Height()) / 2);
    p->DrawImageOnColor(pDC, CRect(pt, rcSrc.Size()), rcSrc, CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR);
}

void COffice2007Theme::DrawCaptionText(CDC* pDC, CRect rc, HWND hWnd, BOOL bActive)
{
    char szText[512] = "";
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    CString strText = szText;
    if (strText.IsEmpty())
        return;
    CFont* pOldFont = pDC->SelectObject(&m_fontCaption);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrText = bActive ? m_clrCaptionTextActive.GetColor() : m_clrCaptionTextInactive.GetColor();
    if (clrText == QX_COLOR_NONE)
        clrText = ::GetSysColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
    pDC->SetTextColor(clrText);
    const UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT;

    // "Document - Application": the application title in its own colour.
    CString strTitle;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        strTitle = static_cast<CFrameWnd*>(pWnd)->GetTitle();
    const LONG lStyle = ::GetWindowLongA(hWnd, GWL_STYLE);
    const LONG lExStyle = ::GetWindowLongA(hWnd, GWL_EXSTYLE);
    const int nLead = strText.GetLength() - strTitle.GetLength();
    if ((lStyle & FWS_PREFIXTITLE) && !(lExStyle & WS_EX_LAYOUTRTL) && !strTitle.IsEmpty() && nLead > 0 &&
        strText.Mid(nLead) == strTitle) {
        CString strLead = strText.Left(nLead);
        pDC->DrawText(strLead, rc, nFormat);
        int x = rc.left + pDC->GetTextExtent(strLead).cx + 2;
        if (x < rc.right - 5) {
            COLORREF clrTitle = m_clrCaptionTextActiveTitle.GetColor();
            if (bActive && clrTitle != QX_COLOR_NONE)
                pDC->SetTextColor(clrTitle);
            CRect rcTitle(x, rc.top, rc.right, rc.bottom);
            pDC->DrawText(strTitle, rcTitle, nFormat);
        }
    } else {
        pDC->DrawText(strText, rc, nFormat);
    }
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);
}

HICON AFXAPI COffice2007Theme::GetFrameSmallIcon(HWND hWnd)
{
    const LONG lStyle = ::GetWindowLongA(hWnd, GWL_STYLE);
    const LONG lExStyle = ::GetWindowLongA(hWnd, GWL_EXSTYLE);
    if ((lExStyle & WS_EX_TOOLWINDOW) || !(lStyle & WS_SYSMENU))
        return NULL;
    HICON hIcon = (HICON)::SendMessageA(hWnd, WM_GETICON, ICON_SMALL, 0);
    if (!hIcon)
        hIcon = (HICON)::GetClassLongPtrA(hWnd, GCLP_HICONSM);
    if (!hIcon && !((lStyle & DS_MODALFRAME) && !(lStyle & WS_CAPTION)) && !(lExStyle & WS_EX_DLGMODALFRAME)) {
        DWORD_PTR dwResult = 0;
        if (::SendMessageTimeoutA(hWnd, WM_QUERYDRAGICON, 0, 0, SMTO_NORMAL, 100, &dwResult))
            hIcon = (HICON)dwResult;
    }
    if (!hIcon)
        hIcon = ::LoadIconA(NULL, (LPCSTR)IDI_WINLOGO);
    return hIcon;
}

HICON AFXAPI COffice2007Theme::GetFrameLargeIcon(HWND hWnd)
{
    HICON hIcon = (HICON)::SendMessageA(hWnd, WM_GETICON, ICON_BIG, 0);
    if (!hIcon)
        hIcon = (HICON)::GetClassLongPtrA(hWnd, GCLP_HICON);
    return hIcon;
}

HRGN COffice2007Theme::CalcFrameRegion(const QXPFrameSkin& frame, int w, int h)
{
    if (frame.bMaximized)
        return NULL;
    struct Row {
        int y0, y1, x0, x1;
    };
    std::vector<Row> rows = {{0, 1, 4, w - 4}, {1, 2, 2, w - 2}, {2, 4, 1, w - 1}};
    if (frame.bRoundedBottom) {
        rows.push_back({4, h - 4, 0, w});
        rows.push_back({h - 4, h - 2, 1, w - 1});
        rows.push_back({h - 2, h - 1, 2, w - 2});
        rows.push_back({h - 1, h, 4, w - 4});
    } else {
        rows.push_back({4, h, 0, w});
    }
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    for (const Row& r : rows) {
        if (r.y1 <= r.y0 || r.x1 <= r.x0)
            continue;
        HRGN hRow = ::CreateRectRgn(r.x0, r.y0, r.x1, r.y1);
        ::CombineRgn(hRgn, hRgn, hRow, RGN_OR);
        ::DeleteObject(hRow);
    }
    return hRgn;
}

void COffice2007Theme::DrawFrame(CDC* pDC, const QXPFrameSkin& frame)
{
    const int cx = frame.szWindow.cx, cy = frame.szWindow.cy;
    const int W = frame.nBorder;
    const BOOL bActive = frame.bActive;
    const ColorValue* border = bActive ? m_clrBorderActive : m_clrBorderInactive;
    auto colour = [&](int i) {
        COLORREF clr = border[i].GetColor();
        return clr != QX_COLOR_NONE ? clr : ::GetSysColor(COLOR_ACTIVEBORDER);
    };

    // 1. Side borders, from the caption band down to the status strip (or
    // the bottom border): three one-pixel columns and the rest.
    const int yTop = frame.nCaption;
    const int yBottom = cy - W - frame.nStatusBar;
    if (yBottom > yTop) {
        for (int i = 0; i < 3 && i < W; ++i) {
            pDC->FillSolidRect(i, yTop, 1, yBottom - yTop, colour(i));
            pDC->FillSolidRect(cx - 1 - i, yTop, 1, yBottom - yTop, colour(i));
        }
        const int nRest = W > 3 ? W - 3 : 0; // borders under 3 pixels have no rest
        if (nRest > 0) {
            pDC->FillSolidRect(3, yTop, nRest, yBottom - yTop, colour(3));
            pDC->FillSolidRect(cx - W, yTop, nRest, yBottom - yTop, colour(3));
        }
    }

    // 2. Bottom border.
    if (W > 0) {
        COLORREF clrLast = !bActive ? colour(0) : (frame.bMaximized ? colour(3) : colour(0));
        pDC->FillSolidRect(1, cy - W, cx - 2, W - 1, colour(3));
        pDC->FillSolidRect(0, cy - 1, cx, 1, clrLast);
    }

    // 3.-6. Caption band, drawn off-screen.
    const int nState = bActive ? 0 : 1;
    const CRect rcMargins(0, 5, 0, 3);
    if (frame.bCaption && frame.nCaption > 0) {
        CDC dcMem;
        dcMem.CreateCompatibleDC(pDC);
        CBitmap bmp;
        bmp.CreateCompatibleBitmap(pDC, cx, frame.nCaption);
        CBitmap* pOld = dcMem.SelectObject(&bmp);
        dcMem.FillSolidRect(0, 0, cx, frame.nCaption, colour(3));
        ThemeBitmap* pLeft = GetImage("FRAMETOPLEFT");
        ThemeBitmap* pRight = GetImage("FRAMETOPRIGHT");
        ThemeBitmap* pCenter = GetImage("FRAMETOPCENTER");
        const int cxLeft = pLeft ? pLeft->GetWidth() : 0, cxRight = pRight ? pRight->GetWidth() : 0;
        if (pLeft)
            pLeft->DrawImage(&dcMem, CRect(0, 0, cxLeft, frame.nCaption), pLeft->GetSource(nState, 2), rcMargins);
        if (pRight)
            pRight->DrawImage(&dcMem, CRect(cx - cxRight, 0, cx, frame.nCaption), pRight->GetSource(nState, 2),
                              rcMargins);
        if (pCenter)
            pCenter->DrawImage(&dcMem, CRect(cxLeft, 0, cx - cxRight, frame.nCaption), pCenter->GetSource(nState, 2),
                               rcMargins);

        int xText = W + 4;
        if (HICON hIcon = GetFrameSmallIcon(frame.hWnd)) {
            const int cxIcon = ::GetSystemMetrics(SM_CXSMICON), cyIcon = ::GetSystemMetrics(SM_CYSMICON);
            const int yIcon = (frame.nCaption - cyIcon) / 2;
            DWORD dwLayout = GetDCLayout(dcMem.GetSafeHdc());
            if (dwLayout & LAYOUT_RTL)
                SetDCLayout(dcMem.GetSafeHdc(), dwLayout | LAYOUT_BITMAPORIENTATIONPRESERVED);
            ::DrawIconEx(dcMem.GetSafeHdc(), 7, yIcon, hIcon, cxIcon, cyIcon, 0, NULL, DI_NORMAL);
            SetDCLayout(dcMem.GetSafeHdc(), dwLayout);
            xText = 7 + cxIcon + 12;
        }
        int xButtons = cx - W;
        for (const QXPFrameCaptionButton& b : frame.buttons) {
            DrawFrameCaptionButton(&dcMem, b.rc, b.nCommand, b.bSelected, b.bPressed, b.bEnabled, bActive);
            if (b.rc.left < xButtons)
                xButtons = b.rc.left;
        }
        DrawCaptionText(&dcMem, CRect(xText, 0, xButtons - 4, frame.nCaption), frame.hWnd, bActive);
        pDC->BitBlt(0, 0, cx, frame.nCaption, &dcMem, 0, 0, SRCCOPY);
        dcMem.SelectObject(pOld);
    } else if (frame.nCaption > 0) {
        // 7. No caption: the top corners at the border width.
        DrawThemeImage(pDC, "FRAMETOPLEFT", CRect(0, 0, W, frame.nCaption), nState, 2, rcMargins);
        DrawThemeImage(pDC, "FRAMETOPRIGHT", CRect(cx - W, 0, cx, frame.nCaption), nState, 2, rcMargins);
    }

    // 8. The status-bar strip of the borders and the bottom corners.
    if (frame.nStatusBar > 0 && W > 0) {
        const int y0 = cy - W - frame.nStatusBar, y1 = cy - W;
        DrawThemeImage(pDC, "STATUSBARLIGHT", CRect(0, y0, W, y1), 0, 1, CRect(0, 0, 0, 0));
        DrawThemeImage(pDC, "STATUSBARDARK", CRect(cx - W, y0, cx, y1), 0, 1, CRect(0, 0, 0, 0));
        DrawThemeImage(pDC, "FRAMEBOTTOMLEFT", CRect(0, cy - W, W, cy), nState, 2, CRect(0, 0, 0, 0),
                       QX_THEME_KEY_COLOR);
        DrawThemeImage(pDC, "FRAMEBOTTOMRIGHT", CRect(cx - W, cy - W, cx, cy), nState, 2, CRect(0, 0, 0, 0),
                       QX_THEME_KEY_COLOR);
    }
}
