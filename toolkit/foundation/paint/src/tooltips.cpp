// tooltips.cpp - the tooltip context and the toolkit's tooltip window.
#include <qx/themeres.h>
#include <qx/tooltips.h>
#include <qx/richtexthost.h>

#include <qx/colors.h>
#include <qx/drawing.h>
#include <qx/fonts.h>
#include <qx/images.h>
#include <qx/sysutil.h>

#include <cstdlib>
#include <cstring>

namespace {

inline int imax(int a, int b) { return a > b ? a : b; }

const UINT_PTR kPendingTimer = 1;
const char kClassShadow[] = "QXPToolTipShadow";
const char kClassPlain[] = "QXPToolTip";

BOOL AnyMouseButtonDown()
{
    return (::GetKeyState(VK_LBUTTON) | ::GetKeyState(VK_RBUTTON) | ::GetKeyState(VK_MBUTTON)) & 0x8000;
}

BOOL IsMouseMessage(UINT m) { return (m >= WM_MOUSEFIRST && m <= 0x20A) || (m >= WM_NCMOUSEMOVE && m <= 0xA9); }

// Removes single "&" markers unless the style keeps them.
void StripUnlessNoPrefix(CString& str, DWORD dwStyle)
{
    if (!(dwStyle & TTS_NOPREFIX))
        StripAccelerator(str);
}

BOOL AFXAPI DefaultOwnerActive(HWND hWndOwner) { return IsTopLevelActive(hWndOwner); }

// The height of the visible part of the current cursor below its hot spot.
int CursorDepth()
{
    HCURSOR hCursor = ::GetCursor();
    ICONINFO ii;
    if (!hCursor || !::GetIconInfo(hCursor, &ii))
        return 21;
    int nDepth = 21;
    BITMAP bm;
    if (ii.hbmMask && ::GetObjectA(ii.hbmMask, sizeof(bm), &bm)) {
        int cx = bm.bmWidth;
        int cy = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2; // monochrome cursors: AND then XOR mask
        HDC hdc = ::CreateCompatibleDC(NULL);
        HGDIOBJ hOld = ::SelectObject(hdc, ii.hbmMask);
        int nLast = -1;
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                if (::GetPixel(hdc, x, y) == RGB(0, 0, 0)) {
                    nLast = y;
                    break;
                }
        ::SelectObject(hdc, hOld);
        ::DeleteDC(hdc);
        if (nLast >= 0)
            nDepth = nLast + 1 - (int)ii.yHotspot;
    }
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    return nDepth > 0 ? nDepth : 21;
}

} // namespace

// ---------------------------------------------------------------------------
// Tool records of the owners' hit tests.

INT_PTR AFXAPI FillToolHitInfo(TOOLINFOA* pTI, HWND hWnd, const RECT& rc, INT_PTR nID, LPCSTR lpszText)
{
    if (!pTI || pTI->cbSize < TTTOOLINFOA_V1_SIZE)
        return nID;
    pTI->hwnd = hWnd;
    pTI->rect = rc;
    pTI->uId = (UINT_PTR)nID;
    pTI->lpszText = lpszText == LPSTR_TEXTCALLBACKA ? LPSTR_TEXTCALLBACKA : _strdup(lpszText ? lpszText : "");
    return nID;
}

INT_PTR AFXAPI FillToolHitInfoEx(TOOLINFOA* pTI, HWND hWnd, const RECT& rc, INT_PTR nID, LPCSTR lpszText,
                                 LPCSTR lpszTitle, CQXPImageManager* pImageManager)
{
    FillToolHitInfo(pTI, hWnd, rc, nID, lpszText);
    if (pTI && pTI->cbSize >= TTTOOLINFOA_V2_SIZE && pTI->lParam) {
        CQXPToolInfoExtra* pExtra = (CQXPToolInfoExtra*)pTI->lParam;
        pExtra->strTitle = lpszTitle ? lpszTitle : "";
        pExtra->pImageManager = pImageManager;
    }
    return nID;
}

// ---------------------------------------------------------------------------
// The toolkit's tooltip window.

DWORD(AFXAPI* CQXPToolTipContextToolTip::s_pfnTickCount)
() = NULL;

static HHOOK s_hMouseHook = NULL;
static CQXPToolTipContextToolTip* s_pHookHolder = NULL;

CQXPToolTipContextToolTip::CQXPToolTipContextToolTip(CQXPToolTipContext* pContext, int nKind)
    : m_pContext(pContext), m_nKind(nKind), m_bActive(FALSE), m_nTimer(0), m_nLastTimerElapse(0),
      m_dwLastChange(0), m_nInitialDelay(500), m_nReshowDelay(200), m_nMaxTipWidth(-1), m_clrBack((COLORREF)-1),
      m_clrText((COLORREF)-1), m_hFont(NULL), m_hIcon(NULL)
{
}

CQXPToolTipContextToolTip::~CQXPToolTipContextToolTip()
{
    RemoveMouseHook();
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CQXPToolTipContextToolTip::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    BOOL bShadow = GetOSVersionInfo()->IsWinXPOrGreater() && !(dwStyle & 0x2000);
    UINT nClassStyle = CS_SAVEBITS | CS_OWNDC | (bShadow ? CS_DROPSHADOW : 0);
    LPCSTR lpszClass = bShadow ? kClassShadow : kClassPlain;
    if (!RegisterToolkitWndClass(lpszClass, nClassStyle))
        return FALSE;
    return CreateEx(WS_EX_TOOLWINDOW, lpszClass, NULL, WS_POPUP | (dwStyle & ~0x2000u), 0, 0, 0, 0,
                    pParentWnd ? pParentWnd->GetSafeHwnd() : NULL, NULL);
}

CQXPToolTipContextToolTip::Tool CQXPToolTipContextToolTip::ToolFromPoint(CPoint ptScreen, BOOL bIgnoreButtons) const
{
    if (!bIgnoreButtons && AnyMouseButtonDown())
        return Tool();
    for (const Tool& t : m_tools) {
        if (!t.hWnd || !::IsWindow(t.hWnd))
            continue;
        CPoint pt = ptScreen;
        ::ScreenToClient(t.hWnd, &pt);
        if (t.rect.PtInRect(pt))
            return t;
    }
    return Tool();
}

CString CQXPToolTipContextToolTip::GetToolText(const Tool& tool)
{
    CString str = tool.strText;
    if (tool.bCallback && tool.hWnd && ::IsWindow(tool.hWnd)) {
        NMTTDISPINFOA info;
        ZeroMemory(&info, sizeof(info));
        info.hdr.hwndFrom = m_hWnd;
        info.hdr.idFrom = tool.nID;
        info.hdr.code = TTN_NEEDTEXTA;
        info.uFlags = tool.nFlags;
        ::SendMessageA(tool.hWnd, WM_NOTIFY, (WPARAM)tool.nID, (LPARAM)&info);
        if (info.lpszText && (ULONG_PTR)info.lpszText <= 0xFFFF) {
            char sz[512] = {0};
            ::LoadStringA(info.hinst, (UINT)(ULONG_PTR)info.lpszText, sz, (int)sizeof(sz));
            str = sz;
        } else if (info.lpszText) {
            str = info.lpszText;
        } else {
            str = info.szText;
        }
    }
    StripUnlessNoPrefix(str, m_pContext ? m_pContext->m_dwStyle : (DWORD)GetStyle());
    return str;
}

CFont* CQXPToolTipContextToolTip::BoldFont()
{
    return m_pContext ? &m_pContext->m_fntToolTipBold : NULL;
}

CSize CQXPToolTipContextToolTip::CalcSize(CDC* pDC, const CString& strText)
{
    if (strText.IsEmpty())
        return CSize(0, 0);
    int nScreen = ::GetSystemMetrics(SM_CXSCREEN);
    int nMax = m_nMaxTipWidth == -1 ? nScreen : m_nMaxTipWidth;
    HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), m_hFont ? (HGDIOBJ)m_hFont : ::GetStockObject(DEFAULT_GUI_FONT));
    CRect rcText(0, 0, imax(nMax - m_rcMargin.left - m_rcMargin.right - 6, 1), 0);
    pDC->DrawText(strText, rcText, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    CSize sz = rcText.Size();

    CSize szIcon(0, 0);
    if (m_hIcon) {
        SIZE s = GetIconExtent(m_hIcon);
        szIcon = CSize(s.cx, s.cy);
        if (szIcon.cx > 16)
            sz.cx += szIcon.cx + 5;
        else if (m_strTitle.IsEmpty())
            sz.cx += szIcon.cx + 3;
    }
    if (!m_strTitle.IsEmpty()) {
        CFont* pBold = BoldFont();
        if (pBold && pBold->GetSafeHandle())
            ::SelectObject(pDC->GetSafeHdc(), pBold->GetSafeHandle());
        CRect rcTitle(0, 0, imax(nScreen - m_rcMargin.left - m_rcMargin.right - 31, 1), 0);
        pDC->DrawText(m_strTitle, rcTitle, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
        sz.cx += 25;
        int nMin = rcTitle.Width() + 4 + (m_hIcon && szIcon.cx <= 16 ? szIcon.cx + 1 : 0);
        sz.cx = imax(sz.cx, nMin);
        sz.cy += rcTitle.Height() + 20;
    }
    ::SelectObject(pDC->GetSafeHdc(), hOld);
    sz.cx += m_rcMargin.left + m_rcMargin.right + 6;
    sz.cy += m_rcMargin.top + m_rcMargin.bottom + 6;
    return sz;
}

// The Office 2007 look of style 5: the theme's tooltip gradient and border
// (FALSE when the theme text lacks any of them).
static BOOL Office2007TipColors(COLORREF& clrLight, COLORREF& clrDark, COLORREF& clrBorder)
{
    ThemeResources* pTheme = GetThemeResources();
    clrLight = pTheme->GetColor("Window", "TooltipLight");
    clrDark = pTheme->GetColor("Window", "TooltipDark");
    clrBorder = pTheme->GetColor("Window", "TooltipBorder");
    return clrLight != QX_COLOR_NONE && clrDark != QX_COLOR_NONE && clrBorder != QX_COLOR_NONE;
}

BOOL CQXPToolTipContextToolTip::HasCutCorners() const
{
    COLORREF clrLight, clrDark, clrBorder;
    return m_nKind == 5 && Office2007TipColors(clrLight, clrDark, clrBorder);
}

void CQXPToolTipContextToolTip::DrawBackground(CDC* pDC, CRect rc)
{
    if (m_nKind == 5) {
        COLORREF clrLight, clrDark, clrBorder;
        if (Office2007TipColors(clrLight, clrDark, clrBorder)) {
            DrawHelpers::Instance()->FillGradient(pDC->GetSafeHdc(), rc, clrLight, clrDark, FALSE);
            pDC->Draw3dRect(rc, clrBorder, clrBorder);
            return;
        }
    }
    if (m_nKind == 4) {
        int nTheme = ToolkitColorManager::Instance()->GetCurrentTheme();
        if (nTheme >= qxColorThemeBlue && nTheme <= qxColorThemeAero) {
            DrawHelpers::Instance()->FillGradient(pDC->GetSafeHdc(), rc, 0x0097D4FF, 0x00C8F2FF, FALSE);
            COLORREF clrBorder = nTheme == qxColorThemeOlive    ? 0x00385D3F
                                 : nTheme == qxColorThemeSilver ? 0x006F4B4B
                                                                : 0x00800000;
            pDC->Draw3dRect(rc, clrBorder, clrBorder);
        } else {
            COLORREF clrBack = m_clrBack != (COLORREF)-1 ? m_clrBack : ::GetSysColor(COLOR_INFOBK);
            DrawHelpers::Instance()->FillGradient(pDC->GetSafeHdc(), rc, clrBack, RGB(255, 255, 255), FALSE);
            pDC->Draw3dRect(rc, RGB(0, 0, 0), RGB(0, 0, 0));
        }
        return;
    }
    pDC->FillSolidRect(rc, m_clrBack != (COLORREF)-1 ? m_clrBack : ::GetSysColor(COLOR_INFOBK));
    COLORREF clrTopLeft = (GetStyle() & 0x1000) ? ::GetSysColor(COLOR_BTNFACE) : RGB(0, 0, 0);
    pDC->Draw3dRect(rc, clrTopLeft, RGB(0, 0, 0));
}

void CQXPToolTipContextToolTip::DrawContent(CDC* pDC, CRect rc, const CString& strText)
{
    BOOL bRTL = (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    CRect rcIn(rc);
    rcIn.DeflateRect(m_rcMargin.left + 3, m_rcMargin.top + 3, m_rcMargin.right + 3, m_rcMargin.bottom + 3);
    COLORREF clrText = m_clrText != (COLORREF)-1 ? m_clrText : (m_nKind == 5 ? 0x004C4C4C : ::GetSysColor(COLOR_INFOTEXT));
    COLORREF clrOld = pDC->SetTextColor(clrText);
    int nMode = pDC->SetBkMode(TRANSPARENT);
    HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), m_hFont ? (HGDIOBJ)m_hFont : ::GetStockObject(DEFAULT_GUI_FONT));
    CRect rcText(rcIn);
    if (m_hIcon) {
        SIZE s = GetIconExtent(m_hIcon);
        int cx = s.cx > 16 ? 16 : s.cx, cy = s.cy > 16 ? 16 : s.cy;
        int x = bRTL ? rcIn.right - cx : rcIn.left;
        ::DrawIconEx(pDC->GetSafeHdc(), x, rcIn.top, m_hIcon, cx, cy, 0, NULL, DI_NORMAL);
        if (m_strTitle.IsEmpty()) {
            if (bRTL)
                rcText.right -= cx + 3;
            else
                rcText.left += cx + 3;
        }
    }
    if (!m_strTitle.IsEmpty()) {
        CFont* pBold = BoldFont();
        if (pBold && pBold->GetSafeHandle())
            ::SelectObject(pDC->GetSafeHdc(), pBold->GetSafeHandle());
        CRect rcTitle(rcIn);
        if (m_hIcon)
            rcTitle.left += 20;
        int nTitle = pDC->DrawText(m_strTitle, rcTitle, DT_SINGLELINE | DT_NOPREFIX | DT_TOP);
        ::SelectObject(pDC->GetSafeHdc(), m_hFont ? (HGDIOBJ)m_hFont : ::GetStockObject(DEFAULT_GUI_FONT));
        rcText.top = rcIn.top + nTitle + 12;
        if (bRTL)
            rcText.right -= 10;
        else
            rcText.left += 15;
    }
    pDC->DrawText(strText, rcText, DT_NOPREFIX | DT_WORDBREAK);
    ::SelectObject(pDC->GetSafeHdc(), hOld);
    pDC->SetBkMode(nMode);
    pDC->SetTextColor(clrOld);
}

void CQXPToolTipContextToolTip::Paint(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    DrawBackground(pDC, rc);
    if (IsTool(m_toolShown))
        DrawContent(pDC, rc, GetToolText(m_toolShown));
}

void CQXPToolTipContextToolTip::ShowTool(const Tool& tool)
{
    ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_toolShown = tool;
    CString strText = GetToolText(tool);
    CClientDC dc(this);
    CSize sz = CalcSize(&dc, strText);
    if (sz.cx > 0 && sz.cy > 0) {
        CPoint pt;
        CPoint ptCursor = m_ptLast;
        if (tool.rcExtra.IsRectEmpty()) {
            pt = CPoint(ptCursor.x, ptCursor.y + CursorDepth());
            if (GetExStyle() & WS_EX_LAYOUTRTL)
                pt.x -= sz.cx;
        } else {
            CPoint ptLeft(tool.rect.left, tool.rcExtra.bottom);
            ::ClientToScreen(tool.hWnd, &ptLeft);
            pt = ptLeft;
        }
        CRect rcTip(pt, sz);
        CRect rcWork = GetMultiMonitorHelper()->GetWorkAreaFromPoint(ptCursor);
        if (rcTip.right > rcWork.right - 4)
            rcTip.OffsetRect(rcWork.right - 4 - rcTip.right, 0);
        if (rcTip.left < rcWork.left)
            rcTip.OffsetRect(rcWork.left - rcTip.left, 0);
        if (rcTip.bottom > rcWork.bottom - 4)
            rcTip.OffsetRect(0, ptCursor.y - 3 - rcTip.bottom);
        // The window's shape before it shows: the Office 2007 tip loses its
        // four corner pixels, any other keeps its rectangle.
        ::SetWindowRgn(m_hWnd, HasCutCorners() ? CreateCornerCutRegion(rcTip.Width(), rcTip.Height()) : NULL, FALSE);
        ::SetWindowPos(m_hWnd, HWND_TOP, rcTip.left, rcTip.top, rcTip.Width(), rcTip.Height(),
                       SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        ::InvalidateRect(m_hWnd, NULL, TRUE);
        ::UpdateWindow(m_hWnd);
    }
    InstallMouseHook();
    m_toolClicked = Tool();
    m_dwLastChange = Now();
    OnShowStateChanged(TRUE);
}

void CQXPToolTipContextToolTip::HideTool()
{
    ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RemoveMouseHook();
    m_toolPending = Tool();
    m_toolShown = Tool();
    m_dwLastChange = Now();
    OnShowStateChanged(FALSE);
}

void CQXPToolTipContextToolTip::OnRelayEvent(MSG* pMsg)
{
    if (!m_bActive || !pMsg || !IsMouseMessage(pMsg->message))
        return;
    m_ptLast = pMsg->pt;
    BOOL bDown = pMsg->message == WM_LBUTTONDOWN;
    Tool found = ToolFromPoint(pMsg->pt, bDown);
    if (bDown) {
        m_toolClicked = found;
        found = Tool();
    } else if (IsTool(found) && IsTool(m_toolClicked) && SameTool(found, m_toolClicked)) {
        found = Tool();
    }
    if (m_nTimer && IsTool(m_toolPending) && !(IsTool(found) && SameTool(found, m_toolPending))) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
        m_toolPending = Tool();
    }
    if (IsTool(found)) {
        if (IsTool(m_toolShown) && SameTool(found, m_toolShown))
            return;
        if (Now() - m_dwLastChange >= (DWORD)m_nReshowDelay) {
            if (!(IsTool(m_toolPending) && SameTool(found, m_toolPending))) {
                m_toolPending = found;
                m_nLastTimerElapse = (UINT)m_nInitialDelay;
                m_nTimer = SetTimer(kPendingTimer, m_nLastTimerElapse, NULL);
            }
        } else {
            ShowTool(found);
        }
    } else if (IsTool(m_toolShown)) {
        HideTool();
    }
}

void CQXPToolTipContextToolTip::OnPendingTimer()
{
    if (m_nTimer)
        KillTimer(m_nTimer);
    m_nTimer = 0;
    Tool pending = m_toolPending;
    m_toolPending = Tool();
    if (IsTool(pending)) {
        Tool now = ToolFromPoint(m_ptLast);
        if (IsTool(now) && SameTool(now, pending))
            ShowTool(now);
    }
}

LRESULT CALLBACK CQXPToolTipContextToolTip::MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = s_hMouseHook;
    CQXPToolTipContextToolTip* pTip = s_pHookHolder;
    if (nCode == HC_ACTION && pTip && pTip->IsTool(pTip->m_toolShown)) {
        const MOUSEHOOKSTRUCT* p = (const MOUSEHOOKSTRUCT*)lParam;
        if (p && p->hwnd != pTip->m_toolShown.hWnd) {
            MSG msg;
            ZeroMemory(&msg, sizeof(msg));
            msg.hwnd = p->hwnd;
            msg.message = WM_MOUSEMOVE;
            msg.pt = p->pt;
            pTip->OnRelayEvent(&msg);
        }
    }
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

void CQXPToolTipContextToolTip::InstallMouseHook()
{
    if (s_hMouseHook)
        return; // held by this or another window
    s_hMouseHook = ::SetWindowsHookExA(WH_MOUSE, MouseHookProc, NULL, ::GetCurrentThreadId());
    if (s_hMouseHook)
        s_pHookHolder = this;
}

void CQXPToolTipContextToolTip::RemoveMouseHook()
{
    if (s_pHookHolder != this)
        return;
    if (s_hMouseHook)
        ::UnhookWindowsHookEx(s_hMouseHook);
    s_hMouseHook = NULL;
    s_pHookHolder = NULL;
}

LRESULT CQXPToolTipContextToolTip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case TTM_ACTIVATE:
    case TTM_POP:
        // Deactivated or popped, the tip goes now; the pointer must reach a
        // tool again to bring one.
        if (message == TTM_ACTIVATE)
            m_bActive = (BOOL)wParam;
        if (message == TTM_POP || !m_bActive) {
            if (m_nTimer)
                KillTimer(m_nTimer);
            m_nTimer = 0;
            m_toolPending = Tool();
            if (IsTool(m_toolShown))
                HideTool();
        }
        return 0;
    case TTM_ADDTOOLA: {
        const TOOLINFOA* p = (const TOOLINFOA*)lParam;
        if (!p || p->cbSize < TTTOOLINFOA_V1_SIZE)
            return FALSE;
        Tool t;
        t.hWnd = p->hwnd;
        t.nID = p->uId;
        t.nFlags = p->uFlags;
        t.rect = p->rect;
        if (p->uFlags & TTF_IDISHWND) {
            t.hWnd = (HWND)p->uId;
            ::GetClientRect(t.hWnd, &t.rect);
        }
        if (p->lpszText == LPSTR_TEXTCALLBACKA)
            t.bCallback = TRUE;
        else if (p->lpszText && (ULONG_PTR)p->lpszText > 0xFFFF)
            t.strText = p->lpszText;
        else if (p->lpszText) {
            char sz[512] = {0};
            ::LoadStringA(p->hinst, (UINT)(ULONG_PTR)p->lpszText, sz, (int)sizeof(sz));
            t.strText = sz;
        }
        for (Tool& old : m_tools)
            if (SameTool(old, t)) {
                old = t;
                return TRUE;
            }
        m_tools.push_back(t);
        return TRUE;
    }
    case TTM_DELTOOLA: {
        const TOOLINFOA* p = (const TOOLINFOA*)lParam;
        if (!p)
            return 0;
        Tool key;
        key.hWnd = (p->uFlags & TTF_IDISHWND) ? (HWND)p->uId : p->hwnd;
        key.nID = p->uId;
        for (size_t i = 0; i < m_tools.size(); ++i)
            if (SameTool(m_tools[i], key)) {
                m_tools.erase(m_tools.begin() + (ptrdiff_t)i);
                break;
            }
        if (IsTool(m_toolShown) && SameTool(m_toolShown, key)) {
            // The tip of a removed tool goes; a tool waiting for its own tip
            // keeps waiting.
            Tool pending = m_toolPending;
            HideTool();
            m_toolPending = pending;
        }
        if (IsTool(m_toolPending) && SameTool(m_toolPending, key)) {
            if (m_nTimer)
                KillTimer(m_nTimer);
            m_nTimer = 0;
            m_toolPending = Tool();
        }
        return 0;
    }
    case TTM_UPDATETIPTEXTA: {
        const TOOLINFOA* p = (const TOOLINFOA*)lParam;
        if (!p)
            return 0;
        for (Tool& t : m_tools)
            if (t.hWnd == p->hwnd && t.nID == p->uId) {
                t.bCallback = p->lpszText == LPSTR_TEXTCALLBACKA;
                t.strText = t.bCallback || !p->lpszText ? "" : p->lpszText;
                if (IsTool(m_toolShown) && SameTool(m_toolShown, t)) {
                    m_toolShown = t;
                    ::InvalidateRect(m_hWnd, NULL, TRUE);
                }
            }
        return 0;
    }
    case TTM_RELAYEVENT:
        OnRelayEvent((MSG*)lParam);
        return 0;
    case TTM_SETDELAYTIME: {
        int n = (int)(short)LOWORD(lParam);
        if (wParam == TTDT_INITIAL)
            m_nInitialDelay = n < 0 ? 500 : n;
        else if (wParam == TTDT_RESHOW)
            m_nReshowDelay = n < 0 ? 200 : n;
        else if (wParam == TTDT_AUTOMATIC) {
            m_nInitialDelay = n < 0 ? 500 : n;
            m_nReshowDelay = n < 0 ? 200 : n / 5;
        }
        return 0;
    }
    case TTM_GETDELAYTIME:
        return wParam == TTDT_RESHOW ? m_nReshowDelay : m_nInitialDelay;
    case TTM_SETMAXTIPWIDTH: {
        int nOld = m_nMaxTipWidth;
        m_nMaxTipWidth = (int)lParam;
        return nOld;
    }
    case TTM_GETMAXTIPWIDTH:
        return m_nMaxTipWidth;
    case TTM_SETMARGIN:
        if (lParam)
            m_rcMargin = *(const RECT*)lParam;
        return 0;
    case TTM_SETTIPBKCOLOR:
        m_clrBack = (COLORREF)wParam;
        return 0;
    case TTM_SETTIPTEXTCOLOR:
        m_clrText = (COLORREF)wParam;
        return 0;
    case TTM_SETTITLEA:
        m_strTitle = lParam ? (LPCSTR)lParam : "";
        return TRUE;
    case QXP_TTM_SETICON:
        m_hIcon = (HICON)lParam;
        return 0;
    case TTM_WINDOWFROMPOINT: {
        const POINT* p = (const POINT*)lParam;
        if (!p)
            return 0;
        HWND h = ::WindowFromPoint(*p);
        if (h && (::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) && ::SendMessageA(h, QXP_TTM_ISPARENTTOOL, 0, 0) == 1)
            h = ::GetParent(h);
        return (LRESULT)h;
    }
    case TTM_GETTOOLCOUNT:
        return (LRESULT)m_tools.size();
    case WM_SETFONT:
        m_hFont = (HFONT)wParam;
        return 0;
    case WM_GETFONT:
        return (LRESULT)m_hFont;
    case WM_TIMER:
        if (wParam == kPendingTimer) {
            OnPendingTimer();
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(m_hWnd, &ps);
        CDC* pDC = CDC::FromHandle(hdc);
        Paint(pDC);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(CDC::FromHandle((HDC)wParam));
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_DESTROY:
        RemoveMouseHook();
        if (m_nTimer)
            KillTimer(m_nTimer);
        m_nTimer = 0;
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// The context.

BOOL(AFXAPI* CQXPToolTipContext::s_pfnIsOwnerActive)
(HWND hWndOwner) = DefaultOwnerActive;

CQXPToolTipContext::CQXPToolTipContext()
    : m_bShowTitle(FALSE), m_bShowImage(FALSE), m_nImageSize(1), m_nImageBase(0), m_nStyle(0),
      m_dwComCtlVersion(GetComCtlVersion()), m_nTitleIcon(1), m_nMaxTipWidth(::GetSystemMetrics(SM_CXSCREEN) / 2),
      m_dwStyle(2), m_rcMargin(0, 0, 0, 0), m_nDelayInitial(-1), m_nDelayReshow(-1), m_nDelayAutoPop(-1),
      m_pToolTip(NULL), m_clrTipBack((COLORREF)-1), m_clrTipText((COLORREF)-1)
{
    ZeroMemory(&m_lastInfo, sizeof(m_lastInfo));
    NONCLIENTMETRICSA ncm;
    ZeroMemory(&ncm, sizeof(ncm));
    LOGFONTA lf;
    if (NonClientMetrics(&ncm))
        lf = ncm.lfStatusFont;
    else
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfWeight = FW_NORMAL;
    m_fntToolTip.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fntToolTipBold.CreateFontIndirect(&lf);
}

CQXPToolTipContext::~CQXPToolTipContext() { DestroyToolTip(); }

void CQXPToolTipContext::DestroyToolTip()
{
    if (!m_pToolTip)
        return;
    if (m_pToolTip->GetSafeHwnd())
        m_pToolTip->DestroyWindow();
    delete m_pToolTip;
    m_pToolTip = NULL;
    ZeroMemory(&m_lastInfo, sizeof(m_lastInfo));
}

void CQXPToolTipContext::SetStyle(int nStyle)
{
    if (nStyle != m_nStyle) {
        m_nStyle = nStyle;
        DestroyToolTip();
    }
}

void CQXPToolTipContext::SetDelayTime(int nInitial, int nReshow, int nAutoPop)
{
    m_nDelayInitial = nInitial;
    m_nDelayReshow = nReshow;
    m_nDelayAutoPop = nAutoPop;
}

void CQXPToolTipContext::SetTipColors(COLORREF clrBack, COLORREF clrText)
{
    m_clrTipBack = clrBack;
    m_clrTipText = clrText;
}

void CQXPToolTipContext::ShowTitleAndDescription(BOOL bShow, int nTitleIcon)
{
    m_bShowTitle = bShow;
    m_nTitleIcon = nTitleIcon;
}

void CQXPToolTipContext::ShowImage(BOOL bShow, int nImageSize, int nImageBase)
{
    m_bShowImage = bShow;
    m_nImageSize = nImageSize;
    m_nImageBase = nImageBase;
}

CWnd* CQXPToolTipContext::CreateToolTipWindow(CWnd*)
{
    if (m_nStyle == 3)
        return new CQXPToolTipRichText(this);
    if (m_nStyle >= 2 && m_nStyle <= 6)
        return new CQXPToolTipContextToolTip(this, m_nStyle);
    return new CWnd;
}

void CQXPToolTipContext::ModifyToolTipStyle(DWORD dwRemove, DWORD dwAdd)
{
    DWORD dwNew = (m_dwStyle & ~dwRemove) | dwAdd;
    if (dwNew != m_dwStyle) {
        m_dwStyle = dwNew;
        DestroyToolTip();
    }
}

void CQXPToolTipContext::CancelToolTips()
{
    if (m_pToolTip && m_pToolTip->GetSafeHwnd())
        m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE, 0);
}

BOOL CQXPToolTipContext::IsToolTipWindow(CWnd* pWnd) const
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return FALSE;
    if (dynamic_cast<CQXPToolTipContextToolTip*>(pWnd))
        return TRUE;
    char sz[64] = {0};
    ::GetClassNameA(pWnd->GetSafeHwnd(), sz, sizeof(sz));
    return lstrcmpiA(sz, TOOLTIPS_CLASSA) == 0;
}

HICON CQXPToolTipContext::GetToolIcon(UINT_PTR nID)
{
    CQXPImageManager* pManager = m_extra.pImageManager ? m_extra.pImageManager : GetGlobalImageManager();
    if (!pManager)
        return NULL;
    CQXPIconImage* pImage = pManager->GetImage((UINT)(nID + m_nImageBase), m_nImageSize == 1 ? 16 : m_nImageSize);
    return pImage ? pImage->GetNormalIcon().GetIcon() : NULL;
}

BOOL CQXPToolTipContext::FilterMessage(CWnd* pOwner, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!pOwner || !pOwner->GetSafeHwnd())
        return FALSE;
    MSG msg;
    ZeroMemory(&msg, sizeof(msg));
    msg.hwnd = pOwner->GetSafeHwnd();
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = ::GetMessageTime();
    // The point matters only for the mouse messages the tip follows: client
    // ones carry it, a non-client move asks for it. Asking for every message
    // (paints, timers, keys) costs a server round trip each under Wine.
    if (message >= WM_MOUSEFIRST && message <= 0x20A && message != WM_MOUSEWHEEL) {
        msg.pt = CPoint((short)LOWORD(lParam), (short)HIWORD(lParam));
        ::ClientToScreen(msg.hwnd, &msg.pt);
    } else if (message == WM_NCMOUSEMOVE) {
        ::GetCursorPos(&msg.pt);
    }
    return FilterMessage(pOwner, &msg, TRUE);
}

BOOL CQXPToolTipContext::FilterMessage(CWnd* pOwner, MSG* pMsg, BOOL bFromOwner)
{
    RelayMouseMessage(pOwner, pMsg, bFromOwner);
    return FALSE;
}

void CQXPToolTipContext::RelayMouseMessage(CWnd* pOwner, MSG* pMsg, BOOL bFromOwner)
{
    if (!pOwner || !pOwner->GetSafeHwnd() || !pMsg)
        return;
    UINT message = pMsg->message;

    // Key presses and button presses put the tip away.
    BOOL bPutAway = (message >= WM_KEYFIRST && message <= 0x108) || message == WM_LBUTTONDOWN ||
                    message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK ||
                    message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK || message == WM_NCLBUTTONDOWN ||
                    message == WM_NCLBUTTONDBLCLK || message == WM_NCRBUTTONDOWN || message == WM_NCRBUTTONDBLCLK ||
                    message == WM_NCMBUTTONDOWN || message == WM_NCMBUTTONDBLCLK;
    BOOL bTracked = message == WM_NCMOUSEMOVE || message == WM_MOUSEMOVE || message == WM_LBUTTONUP ||
                    message == WM_RBUTTONUP || message == WM_MBUTTONUP;
    if (bPutAway) {
        if (m_pToolTip && m_pToolTip->GetSafeHwnd()) {
            // The window learns which tool was clicked before it goes quiet.
            if (message == WM_LBUTTONDOWN) {
                MSG msg = *pMsg;
                m_pToolTip->SendMessage(TTM_RELAYEVENT, 0, (LPARAM)&msg);
            }
            m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE, 0);
        }
        return;
    }
    if (!bTracked || AnyMouseButtonDown())
        return;

    // Unless the owner sends it itself, the message's window must reach the
    // owner as its first window with tooltips enabled.
    if (!bFromOwner) {
        HWND h = pMsg->hwnd;
        CWnd* pFirst = NULL;
        while (h) {
            CWnd* p = CWnd::FromHandlePermanent(h);
            if (p && (p->m_nFlags & (WF_TOOLTIPS | WF_TRACKINGTOOLTIPS))) {
                pFirst = p;
                break;
            }
            h = (::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : NULL;
        }
        if (pFirst != pOwner)
            return;
    }

    if (m_pToolTip && !m_pToolTip->GetSafeHwnd())
        DestroyToolTip();

    CWnd* pParentOwner = pOwner->GetParentOwner();
    HWND hWndTop = pParentOwner ? pParentOwner->GetSafeHwnd() : pOwner->GetSafeHwnd();
    if (m_pToolTip && m_pToolTip->IsWindowVisible() && !s_pfnIsOwnerActive(hWndTop)) {
        m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE, 0);
        return;
    }
    if (m_pToolTip && ::GetWindow(m_pToolTip->GetSafeHwnd(), GW_OWNER) != hWndTop)
        DestroyToolTip();

    if (!m_pToolTip) {
        CWnd* pWnd = CreateToolTipWindow(pParentOwner);
        BOOL bCreated = FALSE;
        if (CQXPToolTipContextToolTip* pOwn = dynamic_cast<CQXPToolTipContextToolTip*>(pWnd))
            bCreated = pOwn->Create(pParentOwner, m_dwStyle | TTS_ALWAYSTIP | TTS_NOPREFIX);
        else if (pWnd)
            bCreated = pWnd->CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL,
                                      WS_POPUP | m_dwStyle | TTS_ALWAYSTIP | TTS_NOPREFIX | (m_nStyle == 1 ? TTS_BALLOON : 0),
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hWndTop, NULL);
        if (!bCreated || !IsToolTipWindow(pWnd)) {
            if (pWnd && pWnd->GetSafeHwnd())
                pWnd->DestroyWindow();
            delete pWnd;
            return;
        }
        m_pToolTip = pWnd;
        m_pToolTip->SendMessage(WM_SETFONT, (WPARAM)m_fntToolTip.GetSafeHandle(), FALSE);
        m_pToolTip->SendMessage(TTM_SETMAXTIPWIDTH, 0, m_nMaxTipWidth);
        m_pToolTip->SendMessage(TTM_SETMARGIN, 0, (LPARAM)&m_rcMargin);
        if (m_clrTipBack != (COLORREF)-1)
            m_pToolTip->SendMessage(TTM_SETTIPBKCOLOR, m_clrTipBack, 0);
        if (m_clrTipText != (COLORREF)-1)
            m_pToolTip->SendMessage(TTM_SETTIPTEXTCOLOR, m_clrTipText, 0);
        if (m_nDelayReshow != -1)
            m_pToolTip->SendMessage(TTM_SETDELAYTIME, TTDT_RESHOW, m_nDelayReshow);
        if (m_nDelayInitial != -1)
            m_pToolTip->SendMessage(TTM_SETDELAYTIME, TTDT_INITIAL, m_nDelayInitial);
        if (m_nDelayAutoPop != -1)
            m_pToolTip->SendMessage(TTM_SETDELAYTIME, TTDT_AUTOPOP, m_nDelayAutoPop);
        m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE, 0);
    }

    // The owner's hit test.
    TOOLINFOA ti;
    ZeroMemory(&ti, sizeof(ti));
    BOOL bExtended = m_bShowTitle || m_bShowImage;
    ti.cbSize = bExtended ? TTTOOLINFOA_V2_SIZE : TTTOOLINFOA_V1_SIZE;
    m_extra = CQXPToolInfoExtra();
    if (bExtended)
        ti.lParam = (LPARAM)&m_extra;
    CPoint pt = pMsg->pt;
    pOwner->ScreenToClient(&pt);
    INT_PTR nHit = pOwner->OnToolHitTest(pt, &ti);
    if (ti.hwnd == NULL)
        ti.hwnd = pOwner->GetSafeHwnd();
    CString strTitle = m_bShowTitle ? m_extra.strTitle : CString();
    CString strText;
    BOOL bCallback = ti.lpszText == LPSTR_TEXTCALLBACKA;
    if (ti.lpszText && !bCallback)
        strText = ti.lpszText;
    if (!strTitle.IsEmpty() && strTitle == strText)
        strTitle.Empty();
    StripUnlessNoPrefix(strText, m_dwStyle);
    StripUnlessNoPrefix(strTitle, m_dwStyle);
    if (ti.lpszText && !bCallback)
        free(ti.lpszText);
    ti.lpszText = bCallback ? LPSTR_TEXTCALLBACKA : (LPSTR)strText.GetString();

    BOOL bLastValid = m_lastInfo.cbSize != 0;
    BOOL bSameTool = bLastValid && nHit != -1 && m_lastInfo.hwnd == ti.hwnd && m_lastInfo.uId == ti.uId;
    if (bSameTool && ::EqualRect(&m_lastInfo.rect, &ti.rect)) {
        MSG msg = *pMsg;
        m_pToolTip->SendMessage(TTM_RELAYEVENT, 0, (LPARAM)&msg);
        return;
    }
    if (bSameTool)
        m_pToolTip->SendMessage(TTM_DELTOOLA, 0, (LPARAM)&m_lastInfo);
    if (nHit == -1) {
        m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE, 0);
    } else {
        UINT nFlagsIn = ti.uFlags;
        ti.uFlags &= ~0xC0000000u;
        m_pToolTip->SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
        if (m_nStyle != 3 && m_nStyle != 6 && (m_dwComCtlVersion > 0x0005004F || m_nStyle != 0)) {
            if (!strTitle.IsEmpty() && (!strText.IsEmpty() || bCallback)) {
                m_pToolTip->SendMessage(TTM_SETTITLEA, (WPARAM)m_nTitleIcon, (LPARAM)strTitle.GetString());
                m_pToolTip->SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
            } else {
                m_pToolTip->SendMessage(TTM_SETTITLEA, 0, 0);
            }
        }
        if (m_bShowImage)
            m_pToolTip->SendMessage(QXP_TTM_SETICON, 0, (LPARAM)GetToolIcon(ti.uId));
        if ((nFlagsIn & 0x40000000u) || s_pfnIsOwnerActive(hWndTop)) {
            m_pToolTip->SendMessage(TTM_ACTIVATE, TRUE, 0);
            ::SetWindowPos(m_pToolTip->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    MSG msg = *pMsg;
    m_pToolTip->SendMessage(TTM_RELAYEVENT, 0, (LPARAM)&msg);
    if (bLastValid && !bSameTool && !(m_lastInfo.hwnd == ti.hwnd && m_lastInfo.uId == ti.uId))
        m_pToolTip->SendMessage(TTM_DELTOOLA, 0, (LPARAM)&m_lastInfo);
    if (nHit == -1) {
        ZeroMemory(&m_lastInfo, sizeof(m_lastInfo));
    } else {
        m_lastInfo = ti;
        m_lastInfo.lpszText = LPSTR_TEXTCALLBACKA;
        m_lastInfo.lParam = 0;
    }
}
