// previewview.cpp - CQXPPreviewView: the print preview with the editor's
// preview toolbar.
#include "previewview.h"

#include <qx/commandbars.h>

IMPLEMENT_DYNCREATE(CQXPPreviewView, CPreviewView)

BEGIN_MESSAGE_MAP(CQXPPreviewView, CPreviewView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_WINDOWPOSCHANGED()
    ON_UPDATE_COMMAND_UI(ID_NUMPAGE, OnUpdateNumPage)
END_MESSAGE_MAP()

CQXPPreviewView::CQXPPreviewView() : m_pBar(NULL), m_nPageIcon(0) {}

CQXPPreviewView::~CQXPPreviewView() = default;

int CQXPPreviewView::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CPreviewView::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The toolbar stands alone in the frame the preview shows in, so the
    // frame lays the preview out below it.
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL)
        return -1;
    m_pBar = new CQXPToolBar;
    // Its buttons talk to the preview: commands and their states.
    m_pBar->SetOwnerSite(this);
    if (!m_pBar->CreateToolBar(WS_CHILD | WS_VISIBLE | CBRS_TOOLTIPS | CBRS_TOP, pFrame, ID_TOOLBAR_BAR) ||
        !m_pBar->LoadToolBar(IDR_PREVIEW_TOOLBAR)) {
        if (m_pBar->GetSafeHwnd() != NULL)
            m_pBar->DestroyWindow();
        m_pBar->InternalRelease();
        m_pBar = NULL;
        return -1;
    }
    m_pBar->SetOwner(this);
    m_pBar->SetFlags(qxpFlagStretched);
    // It takes the place of the framework's plain preview bar.
    if (m_pToolBar != NULL && m_pToolBar->GetSafeHwnd() != NULL)
        m_pToolBar->ShowWindow(SW_HIDE);
    // The two pictures of the page button are not buttons of their own.
    CQXPControls* pControls = m_pBar->GetControls();
    for (UINT nID : {(UINT)ID_ONEPAGE_ICON, (UINT)ID_TWOPAGE_ICON})
        if (CQXPControl* pControl = pControls->FindControl((int)nID))
            pControl->SetVisible(FALSE);
    for (UINT nID : {(UINT)ID_PRINT, (UINT)ID_CLOSE})
        if (CQXPControl* pControl = pControls->FindControl((int)nID))
            pControl->SetStyle(qxpButtonIconAndCaption);
    UpdatePageButtonIcon();
    pFrame->RecalcLayout();
    return 0;
}

void CQXPPreviewView::OnDestroy()
{
    if (m_pBar != NULL) {
        if (m_pBar->GetSafeHwnd() != NULL)
            m_pBar->DestroyWindow();
        m_pBar->InternalRelease();
    }
    m_pBar = NULL;
    CPreviewView::OnDestroy();
}

void CQXPPreviewView::UpdatePageButtonIcon()
{
    // One page shown: the picture of two pages (what the button does), and
    // the other way round.
    UINT nIcon = GetPagesShown() == 2 ? ID_ONEPAGE_ICON : ID_TWOPAGE_ICON;
    if (nIcon == m_nPageIcon || m_pBar == NULL)
        return;
    CQXPControl* pPage = m_pBar->GetControls()->FindControl(ID_NUMPAGE);
    if (pPage == NULL)
        return;
    pPage->SetIconId((int)nIcon);
    m_pBar->Redraw();
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
    // The frame has given the toolbar its band above the preview; it is
    // repainted with the preview.
    if (m_pBar != NULL && m_pBar->GetSafeHwnd() != NULL)
        m_pBar->Redraw();
}
