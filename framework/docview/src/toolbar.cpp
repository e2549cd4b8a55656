// CToolBar and CReBar: the tool bar and rebar controls as control bars.
#include "dvimpl.h"

#include "fx/toolbar.h"

#include <algorithm>
#include <vector>

namespace {

void InitBarClasses()
{
    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
    ::InitCommonControlsEx(&icc);
}

// The state of one tool bar button, asked through the command routing.
class ToolCmdUI : public CCmdUI {
public:
    explicit ToolCmdUI(CToolBar* pBar) : m_pBar(pBar) {}
    void Enable(BOOL bOn = TRUE) override
    {
        m_bEnableChanged = TRUE;
        m_pBar->GetToolBarCtrl().EnableButton((int)m_nID, bOn);
    }
    void SetCheck(int nCheck = 1) override
    {
        CToolBarCtrl& ctrl = m_pBar->GetToolBarCtrl();
        ctrl.CheckButton((int)m_nID, nCheck == 1);
        int nState = ctrl.GetState((int)m_nID);
        nState = nCheck == 2 ? (nState | TBSTATE_INDETERMINATE) : (nState & ~TBSTATE_INDETERMINATE);
        ctrl.SetState((int)m_nID, (UINT)nState);
    }
    void SetText(LPCSTR) override {} // buttons keep their images

private:
    CToolBar* m_pBar;
};

} // namespace

// ---------------------------------------------------------------------------
// CToolBar

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

CToolBar::CToolBar() : m_sizeButton(23, 22), m_sizeImage(16, 15), m_cyHeight(0), m_hImageList(NULL)
{
    m_cxLeftBorder = m_cxRightBorder = 2;
    m_cyTopBorder = m_cyBottomBorder = 2;
}

CToolBar::~CToolBar()
{
    m_ctrl.m_hWnd = NULL;
    if (m_hImageList != NULL)
        ImageList_Destroy(m_hImageList);
}

BOOL CToolBar::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CControlBar::PreCreateWindow(cs))
        return FALSE;
    // The bar places itself; the control must not.
    cs.style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    return TRUE;
}

void CToolBar::PostNcDestroy()
{
    m_ctrl.m_hWnd = NULL;
    CControlBar::PostNcDestroy();
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder),
                    nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    InitBarClasses();
    SetBorders(rcBorders);
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | WS_CHILD;
    if (dwStyle & CBRS_TOOLTIPS)
        dwWindowStyle |= TBSTYLE_TOOLTIPS;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, NULL, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    m_ctrl.m_hWnd = m_hWnd;
    m_ctrl.SetButtonStructSize(sizeof(TBBUTTON));
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (m_hWnd == NULL)
        return;
    m_ctrl.SetBitmapSize(CSize(sizeImage));
    m_ctrl.SetButtonSize(CSize(sizeButton));
    Invalidate();
}

BOOL CToolBar::LoadToolBar(LPCSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_TOOLBAR);
    HRSRC hRes = ::FindResourceA(hInst, lpszResourceName, RT_TOOLBAR);
    if (hRes == NULL)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRes);
    const WORD* pData = hGlobal != NULL ? static_cast<const WORD*>(::LockResource(hGlobal)) : NULL;
    DWORD cb = ::SizeofResource(hInst, hRes);
    // Version 1, image width and height, count, then the ids: a resource
    // shorter than it says is refused.
    if (pData == NULL || cb < 4 * sizeof(WORD) || pData[0] != 1)
        return FALSE;
    WORD wWidth = pData[1], wHeight = pData[2], wCount = pData[3];
    if (wWidth == 0 || wHeight == 0 || cb < (4 + (DWORD)wCount) * sizeof(WORD))
        return FALSE;
    std::vector<UINT> ids(wCount);
    for (WORD i = 0; i < wCount; i++)
        ids[i] = pData[4 + i];
    SetSizes(CSize(wWidth + 7, wHeight + 7), CSize(wWidth, wHeight));
    if (!SetButtons(ids.empty() ? NULL : ids.data(), (int)wCount))
        return FALSE;
    return LoadBitmap(lpszResourceName);
}

BOOL CToolBar::LoadBitmap(LPCSTR lpszResourceName)
{
    if (m_hWnd == NULL || m_sizeImage.cx <= 0 || m_sizeImage.cy <= 0)
        return FALSE;
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_BITMAP);
    HBITMAP hBitmap = (HBITMAP)::LoadImageA(hInst, lpszResourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (hBitmap == NULL)
        return FALSE;
    BITMAP bm;
    ::GetObjectA(hBitmap, sizeof(bm), &bm);
    int nImages = bm.bmWidth / m_sizeImage.cx;
    // The strip's top-left pixel gives the background colour, which the
    // mask makes transparent.
    COLORREF clrMask = CLR_NONE;
    HDC hdc = ::CreateCompatibleDC(NULL);
    if (hdc != NULL) {
        HGDIOBJ hOld = ::SelectObject(hdc, hBitmap);
        clrMask = ::GetPixel(hdc, 0, 0);
        ::SelectObject(hdc, hOld);
        ::DeleteDC(hdc);
    }
    HIMAGELIST hImageList = ImageList_Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR24 | ILC_MASK,
                                             nImages > 0 ? nImages : 1, 0);
    BOOL bOk = hImageList != NULL &&
               (clrMask == CLR_INVALID ? ImageList_Add(hImageList, hBitmap, NULL)
                                       : ImageList_AddMasked(hImageList, hBitmap, clrMask)) != -1;
    ::DeleteObject(hBitmap);
    if (!bOk) {
        if (hImageList != NULL)
            ImageList_Destroy(hImageList);
        return FALSE;
    }
    ::SendMessageA(m_hWnd, TB_SETIMAGELIST, 0, (LPARAM)hImageList);
    if (m_hImageList != NULL)
        ImageList_Destroy(m_hImageList);
    m_hImageList = hImageList;
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    if (m_hWnd == NULL || nIDCount < 0)
        return FALSE;
    while (m_ctrl.GetButtonCount() > 0)
        m_ctrl.DeleteButton(0);
    int iImage = 0;
    for (int i = 0; i < nIDCount; i++) {
        TBBUTTON button;
        ZeroMemory(&button, sizeof(button));
        UINT nID = lpIDArray != NULL ? lpIDArray[i] : 0;
        if (lpIDArray != NULL && nID == 0) {
            button.fsStyle = BTNS_SEP;
            button.iBitmap = 6; // width of the gap
        } else {
            button.idCommand = (int)nID;
            button.fsStyle = BTNS_BUTTON;
            button.fsState = TBSTATE_ENABLED;
            button.iBitmap = iImage++;
        }
        if (!m_ctrl.AddButtons(1, &button))
            return FALSE;
    }
    return TRUE;
}

int CToolBar::GetCount() const
{
    return m_hWnd != NULL ? m_ctrl.GetButtonCount() : 0;
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    int nCount = GetCount();
    for (int i = 0; i < nCount; i++)
        if (GetItemID(i) == nIDFind)
            return i;
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button;
    ZeroMemory(&button, sizeof(button));
    if (!m_ctrl.GetButton(nIndex, &button))
        return 0;
    return (button.fsStyle & BTNS_SEP) ? 0 : (UINT)button.idCommand;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!m_ctrl.GetItemRect(nIndex, lpRect))
        ::SetRectEmpty(lpRect);
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    TBBUTTON button;
    ZeroMemory(&button, sizeof(button));
    if (!m_ctrl.GetButton(nIndex, &button))
        return 0;
    return MAKELONG(button.fsStyle, button.fsState);
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    UINT nID = 0, nOldStyle = 0;
    int iImage = 0;
    GetButtonInfo(nIndex, nID, nOldStyle, iImage);
    SetButtonInfo(nIndex, nID, nStyle, iImage);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    TBBUTTON button;
    ZeroMemory(&button, sizeof(button));
    if (!m_ctrl.GetButton(nIndex, &button)) {
        nID = 0;
        nStyle = 0;
        iImage = 0;
        return;
    }
    nID = (UINT)button.idCommand;
    nStyle = MAKELONG(button.fsStyle, button.fsState);
    iImage = button.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    TBBUTTON button;
    ZeroMemory(&button, sizeof(button));
    button.idCommand = (int)nID;
    button.fsStyle = (BYTE)LOWORD(nStyle);
    button.fsState = (BYTE)HIWORD(nStyle);
    if (button.fsState == 0 && !(button.fsStyle & BTNS_SEP))
        button.fsState = TBSTATE_ENABLED;
    button.iBitmap = iImage;
    m_ctrl.DeleteButton(nIndex);
    m_ctrl.InsertButton(nIndex, &button);
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz);
    CSize sizeBorders(-rectInside.Width(), -rectInside.Height());
    // The buttons in one row (or column).
    int nLength = 0, nThick = m_cyHeight > 0 ? m_cyHeight : m_sizeButton.cy;
    int nCount = GetCount();
    for (int i = 0; i < nCount; i++) {
        CRect r;
        GetItemRect(i, &r);
        nLength += bHorz ? r.Width() : r.Height();
        nThick = std::max(nThick, (int)(bHorz ? r.Height() : r.Width()));
    }
    CSize size = bHorz ? CSize(nLength, nThick) : CSize(nThick, nLength);
    size += sizeBorders;
    if (bStretch) {
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    ToolCmdUI state(this);
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)GetCount();
    for (UINT i = 0; i < state.m_nIndexMax; i++) {
        UINT nID = GetItemID((int)i);
        if (nID == 0)
            continue; // separators
        state.m_nIndex = i;
        state.m_nID = nID;
        // The bar's own handlers first, then the frame's routing.
        if (CWnd::OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

// ---------------------------------------------------------------------------
// CReBar

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
    ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
END_MESSAGE_MAP()

CReBar::CReBar()
{
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

CReBar::~CReBar()
{
    m_ctrl.m_hWnd = NULL;
}

BOOL CReBar::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CControlBar::PreCreateWindow(cs))
        return FALSE;
    cs.style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    return TRUE;
}

void CReBar::PostNcDestroy()
{
    m_ctrl.m_hWnd = NULL;
    CControlBar::PostNcDestroy();
}

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    InitBarClasses();
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | WS_CHILD;
    if (!CWnd::CreateEx(0, REBARCLASSNAMEA, NULL, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    m_ctrl.m_hWnd = m_hWnd;
    REBARINFO rbi;
    ZeroMemory(&rbi, sizeof(rbi));
    rbi.cbSize = sizeof(rbi);
    m_ctrl.SetBarInfo(&rbi);
    return TRUE;
}

BOOL CReBar::AddBarEx(CWnd* pBar, REBARBANDINFOA* pInfo)
{
    if (m_hWnd == NULL || pBar == NULL || pBar->m_hWnd == NULL)
        return FALSE;
    // The band's child lives in the rebar.
    pBar->SetParent(this);
    CSize size(0, 0);
    if (pBar->IsKindOf(RUNTIME_CLASS(CControlBar)))
        size = static_cast<CControlBar*>(pBar)->CalcFixedLayout(FALSE, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    else {
        CRect r;
        pBar->GetWindowRect(&r);
        size = r.Size();
    }
    pInfo->cbSize = sizeof(REBARBANDINFOA);
    pInfo->fMask |= RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
    pInfo->hwndChild = pBar->m_hWnd;
    pInfo->cxMinChild = size.cx;
    pInfo->cyMinChild = size.cy;
    pInfo->cx = size.cx;
    pInfo->wID = (UINT)::GetDlgCtrlID(pBar->m_hWnd);
    if (!m_ctrl.InsertBand((UINT)-1, pInfo))
        return FALSE;
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL)
        pFrame->RecalcLayout();
    return TRUE;
}

BOOL CReBar::AddBar(CWnd* pBar, LPCSTR pszText, CBitmap* pbmp, DWORD dwStyle)
{
    REBARBANDINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.fStyle = dwStyle;
    if (pszText != NULL) {
        info.fMask |= RBBIM_TEXT;
        info.lpText = const_cast<LPSTR>(pszText);
    }
    if (pbmp != NULL) {
        info.fMask |= RBBIM_BACKGROUND;
        info.hbmBack = (HBITMAP)pbmp->GetSafeHandle();
    }
    return AddBarEx(pBar, &info);
}

BOOL CReBar::AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCSTR pszText, DWORD dwStyle)
{
    REBARBANDINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.fStyle = dwStyle;
    info.fMask = RBBIM_COLORS;
    info.clrFore = clrFore;
    info.clrBack = clrBack;
    if (pszText != NULL) {
        info.fMask |= RBBIM_TEXT;
        info.lpText = const_cast<LPSTR>(pszText);
    }
    return AddBarEx(pBar, &info);
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz);
    int nThick = m_hWnd != NULL ? (int)m_ctrl.GetBarHeight() : 0;
    CSize size = bHorz ? CSize(bStretch ? 32767 : 0, nThick) : CSize(nThick, bStretch ? 32767 : 0);
    if (bHorz)
        size.cy -= rectInside.Height();
    else
        size.cx -= rectInside.Width();
    return size;
}

void CReBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    // The bands are windows of their own: they update themselves.
}

void CReBar::OnHeightChange(NMHDR*, LRESULT* pResult)
{
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL)
        pFrame->DelayRecalcLayout();
    if (pResult != NULL)
        *pResult = 0;
}
