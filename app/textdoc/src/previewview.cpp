// previewview.cpp - CQXPPreviewView: the print preview with the editor's
// preview toolbar.
#include "previewview.h"

IMPLEMENT_DYNCREATE(CQXPPreviewView, CPreviewView)

BEGIN_MESSAGE_MAP(CQXPPreviewView, CPreviewView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_WINDOWPOSCHANGED()
    ON_UPDATE_COMMAND_UI(ID_NUMPAGE, OnUpdateNumPage)
END_MESSAGE_MAP()

CQXPPreviewView::CQXPPreviewView() : m_pBar(NULL), m_nPageIcon(0), m_hImages(NULL) {}

CQXPPreviewView::~CQXPPreviewView() = default;

int CQXPPreviewView::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CPreviewView::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The toolbar is a bar of the frame the preview shows in, so the frame
    // lays the preview out below it.
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL)
        return -1;
    m_pBar = new CToolBar;
    m_pBar->m_bAutoDelete = TRUE;
    if (!m_pBar->CreateEx(pFrame, TBSTYLE_FLAT | TBSTYLE_LIST, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                          CRect(0, 0, 0, 0), ID_TOOLBAR_BAR) ||
        !m_pBar->LoadToolBar(IDR_PREVIEW_TOOLBAR)) {
        if (m_pBar->GetSafeHwnd() != NULL)
            m_pBar->DestroyWindow();
        else
            delete m_pBar;
        m_pBar = NULL;
        return -1;
    }
    m_pBar->SetOwner(this);
    // The pictures keep magenta where the bar shows through.
    m_hImages = ::ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_PREVIEW_TOOLBAR), 16, 0,
                                       RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    if (m_hImages != NULL)
        m_pBar->SendMessage(TB_SETIMAGELIST, 0, (LPARAM)m_hImages);
    // The two pictures of the page button are not buttons of their own.
    for (UINT nID : {(UINT)ID_ONEPAGE_ICON, (UINT)ID_TWOPAGE_ICON}) {
        int nIndex = m_pBar->CommandToIndex(nID);
        if (nIndex >= 0)
            m_pBar->GetToolBarCtrl().HideButton(nID, TRUE);
    }
    for (UINT nID : {(UINT)ID_NUMPAGE, (UINT)AFX_ID_PREVIEW_CLOSE}) {
        int nIndex = m_pBar->CommandToIndex(nID);
        if (nIndex >= 0)
            m_pBar->SetButtonStyle(nIndex, m_pBar->GetButtonStyle(nIndex) | BTNS_SHOWTEXT | BTNS_AUTOSIZE);
    }
    UpdatePageButtonIcon();
    pFrame->RecalcLayout();
    return 0;
}

void CQXPPreviewView::OnDestroy()
{
    if (m_pBar != NULL && m_pBar->GetSafeHwnd() != NULL)
        m_pBar->DestroyWindow();  // deletes itself
    m_pBar = NULL;
    if (m_hImages != NULL)
        ::ImageList_Destroy(m_hImages);
    m_hImages = NULL;
    CPreviewView::OnDestroy();
}


void CQXPPreviewView::UpdatePageButtonIcon()
{
    // One page shown: the picture of two pages (what the button does), and
    // the other way round.
    UINT nIcon = GetPagesShown() == 2 ? ID_ONEPAGE_ICON : ID_TWOPAGE_ICON;
    if (nIcon == m_nPageIcon || m_pBar == NULL)
        return;
    int nFrom = m_pBar->CommandToIndex(nIcon);
    int nTo = m_pBar->CommandToIndex(ID_NUMPAGE);
    if (nFrom < 0 || nTo < 0)
        return;
    UINT nID, nStyle;
    int iImage;
    m_pBar->GetButtonInfo(nFrom, nID, nStyle, iImage);
    UINT nToID, nToStyle;
    int iToImage;
    m_pBar->GetButtonInfo(nTo, nToID, nToStyle, iToImage);
    m_pBar->SetButtonInfo(nTo, nToID, nToStyle, iImage);
    m_nPageIcon = nIcon;
}

void CQXPPreviewView::OnUpdateNumPage(CCmdUI* pCmdUI)
{
    CPreviewView::OnUpdateNumPageChange(pCmdUI);
    UpdatePageButtonIcon();
}

BOOL CQXPPreviewView::OnEraseBkgnd(CDC*)
{
    // WM_PAINT fills the background.
    return TRUE;
}

void CQXPPreviewView::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, ::GetSysColor(COLOR_APPWORKSPACE));
    int nSaved = dc.SaveDC();
    OnPrepareDC(&dc);
    OnDraw(&dc);
    dc.RestoreDC(nSaved);
}

void CQXPPreviewView::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CPreviewView::OnWindowPosChanged(lpwndpos);
    // The frame gives the toolbar the frame's width; it is repainted with
    // the preview.
    if (m_pBar != NULL && m_pBar->GetSafeHwnd() != NULL)
        m_pBar->Invalidate();
}
