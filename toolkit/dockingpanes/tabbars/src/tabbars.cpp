// The "Active Files" list and the tab-group menu as popup bars of the
// command bars.
#include <qx/tabbars.h>
#include <qx/barcontrols.h>
#include <qx/listcontrols.h>
#include <qx/commandbars.h>
#include <qx/control.h>
#include <qx/images.h>
#include <qx/popup.h>
#include <qx/commandbar.h>

CQXPPopupBar* CQXPCommandBarsActiveFiles::BuildPopup(const std::vector<Item>& items)
{
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(m_pCommandBars);
    if (!pPopup)
        return NULL;
    CQXPImageManager* pImages = pPopup->GetImageManager();
    for (size_t i = 0; i < items.size(); ++i) {
        CQXPControl* pControl = pPopup->GetControls()->Add(qxpControlButton, (int)i + 1);
        if (!pControl)
            continue;
        // Captions show their ampersands as typed.
        CString strCaption = items[i].strCaption;
        strCaption.Replace("&", "&&");
        pControl->SetCaption(strCaption);
        if (!items[i].hIcon || !pImages)
            continue;
        int nIconId = 0;
        for (const auto& known : m_icons)
            if (known.first == items[i].hIcon)
                nIconId = known.second;
        if (!nIconId) {
            nIconId = m_nNextIconId++;
            pImages->SetIcon(CQXPIconHandle(items[i].hIcon), nIconId, 16, 16);
            m_icons.push_back({items[i].hIcon, nIconId});
        }
        pControl->SetIconId(nIconId);
    }
    return pPopup;
}

int CQXPCommandBarsActiveFiles::Track(CWnd* pOwner, const std::vector<Item>& items, POINT pt, const RECT& rcExclude)
{
    CQXPPopupBar* pPopup = BuildPopup(items);
    if (!pPopup)
        return -1;
    const int nCmd = CQXPCommandBars::TrackPopupMenu(pPopup, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, pt.x, pt.y,
                                                     pOwner, &rcExclude);
    pPopup->InternalRelease();
    return nCmd - 1;
}

CQXPPopupBar* CQXPCommandBarsTabGroups::BuildPopup()
{
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(m_pCommandBars);
    if (!pPopup)
        return NULL;
    pPopup->GetControls()->Add(qxpControlButton, QXP_ID_WORKSPACEACTIONS);
    if (CQXPControl* pCancel = pPopup->GetControls()->Add(qxpControlButton, QX_ID_WORKSPACE_CANCEL))
        pCancel->SetBeginGroup(TRUE);
    return pPopup;
}

UINT CQXPCommandBarsTabGroups::Track(CWnd* pOwner, POINT pt)
{
    CQXPPopupBar* pPopup = BuildPopup();
    if (!pPopup)
        return 0;
    // The list asks the owner frame's MDI client which commands apply.
    if (pOwner)
        pPopup->SetOwnerSite(pOwner);
    const int nCmd =
        CQXPCommandBars::TrackPopupMenu(pPopup, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, pt.x, pt.y, pOwner);
    pPopup->InternalRelease();
    return nCmd > 0 ? (UINT)nCmd : 0;
}

// ===========================================================================
// The document tabs on a command bar

// The strip of the control: drawn in the parent bar, in its coordinates.
class CQXPControlTabWorkspace::Strip : public CQXPTabWorkspace {
public:
    explicit Strip(CQXPControlTabWorkspace* pControl) : CQXPTabWorkspace(NULL), m_pControl(pControl) {}
    void RedrawControl(LPCRECT lpRect, BOOL /*bAnimate*/) override
    {
        if (m_pControl->m_pParent && m_pControl->IsVisible(0))
            m_pControl->m_pParent->Redraw(lpRect ? lpRect : &m_pControl->m_rcControl, FALSE);
    }
    void RepositionOwner() override
    {
        m_pControl->m_bDirty = TRUE;
        // The bar's layout lays the strip out again, which may report back.
        if (m_bInLayout)
            return;
        m_bInLayout = TRUE;
        CQXPCommandBar* pBar = m_pControl->m_pParent;
        if (pBar && ::IsWindow(pBar->GetSafeHwnd())) {
            pBar->DelayLayout();
            pBar->OnRecalcLayout();
        }
        m_bInLayout = FALSE;
        m_pControl->RedrawParent(FALSE);
    }
    HWND GetOwnerObject() const override { return m_pControl->GetBarWindow(); }
    void OnClientDestroyed() override
    {
        CQXPTabWorkspace::OnClientDestroyed();
        m_pControl->m_pClient = NULL;
    }

private:
    CQXPControlTabWorkspace* m_pControl;
    BOOL m_bInLayout = FALSE;
};

IMPLEMENT_DYNCREATE(CQXPControlTabWorkspace, CQXPControlButton)

CQXPControlTabWorkspace::CQXPControlTabWorkspace() : m_nWidth(220), m_bDirty(TRUE), m_pWorkspace(new Strip(this))
{
    m_dwFlags = qxpFlagSkipFocus | qxpFlagNoMovable;
}

CQXPControlTabWorkspace::~CQXPControlTabWorkspace()
{
    SetTabClient(NULL);
    delete m_pWorkspace;
}

void CQXPControlTabWorkspace::SetTabClient(CQXPTabClientWnd* pClient)
{
    if (pClient == m_pClient)
        return;
    if (m_pClient && m_pClient->GetHostedWorkspace() == m_pWorkspace)
        m_pClient->SetHostedWorkspace(NULL);
    m_pClient = pClient;
    m_bDirty = TRUE;
    if (pClient) {
        FollowBarPosition();
        pClient->SetHostedWorkspace(m_pWorkspace);
    }
}

void CQXPControlTabWorkspace::OnRemoved()
{
    SetTabClient(NULL);
    CQXPControlButton::OnRemoved();
}

HWND CQXPControlTabWorkspace::GetBarWindow() const
{
    return m_pParent ? m_pParent->GetSafeHwnd() : NULL;
}

int AFXAPI CQXPControlTabWorkspace::TabPositionForBar(int nBarPosition)
{
    switch (nBarPosition) {
    case qxpBarBottom: return tabPositionBottom;
    case qxpBarLeft: return tabPositionLeft;
    case qxpBarRight: return tabPositionRight;
    default: return tabPositionTop;
    }
}

void CQXPControlTabWorkspace::FollowBarPosition()
{
    CQXPTabPainter* pPaint = m_pClient ? m_pClient->GetPaintManager() : NULL;
    if (!pPaint || !m_pParent)
        return;
    const int nPosition = TabPositionForBar(m_pParent->GetPosition());
    if (pPaint->GetPosition() != nPosition)
        pPaint->SetPosition(nPosition);
}

CSize CQXPControlTabWorkspace::GetSize(CDC* /*pDC*/)
{
    FollowBarPosition();
    int nHeight = 24;
    if (CQXPTabPainter* pPaint = m_pClient ? m_pClient->GetPaintManager() : NULL) {
        // The header of the strip laid out in a large area; the real
        // layout follows in SetRect.
        const RECT rcAll = {0, 0, 1000, 1000};
        HWND hBar = GetBarWindow();
        HDC hdc = hBar ? ::GetDC(hBar) : NULL;
        m_pWorkspace->CQXPTabManager::Reposition(hdc, rcAll);
        if (hdc)
            ::ReleaseDC(hBar, hdc);
        m_bDirty = TRUE;
        const RECT& rcHeader = m_pWorkspace->m_rcHeaderRect;
        nHeight = pPaint->IsHorizontal() ? rcHeader.bottom - rcHeader.top : rcHeader.right - rcHeader.left;
        if (m_pWorkspace->IsDrawStaticFrame())
            nHeight += 2;
    }
    const int nBar = m_pParent ? m_pParent->GetPosition() : qxpBarTop;
    const BOOL bVertical = nBar == qxpBarLeft || nBar == qxpBarRight || nBar == qxpBarPopup;
    return bVertical ? CSize(nHeight, m_nWidth) : CSize(m_nWidth, nHeight);
}

void CQXPControlTabWorkspace::SetRect(const CRect& rc)
{
    const BOOL bChanged = rc != m_rcControl;
    CQXPControlButton::SetRect(rc);
    if (!(bChanged || m_bDirty) || !m_pClient)
        return;
    m_bDirty = FALSE;
    HWND hBar = GetBarWindow();
    HDC hdc = hBar ? ::GetDC(hBar) : NULL;
    m_pWorkspace->CQXPTabManager::Reposition(hdc, rc);
    if (hdc)
        ::ReleaseDC(hBar, hdc);
}

void CQXPControlTabWorkspace::Draw(CDC* pDC)
{
    CQXPTabPainter* pPaint = m_pClient ? m_pClient->GetPaintManager() : NULL;
    if (!pPaint) {
        CQXPControlButton::Draw(pDC);
        return;
    }
    if (m_bDirty)
        SetRect(m_rcControl);
    pPaint->DrawTabControl(m_pWorkspace, pDC->GetSafeHdc(), m_rcControl);
}

void CQXPControlTabWorkspace::OnClick(BOOL bKeyboard, CPoint pt)
{
    HWND hBar = GetBarWindow();
    if (bKeyboard || !m_pClient || !hBar) {
        CQXPControlButton::OnClick(bKeyboard, pt);
        return;
    }
    // The strip keeps its tabs under the pointer until the bars are idle.
    m_pClient->SetClickPending();
    m_pWorkspace->PerformClick(hBar, pt);
}

void CQXPControlTabWorkspace::OnMouseMove(CPoint pt)
{
    if (HWND hBar = GetBarWindow())
        m_pWorkspace->TrackMouse(hBar, pt);
}

CString CQXPControlTabWorkspace::GetTooltipAt(CPoint pt, CRect* prcTip, INT_PTR* pnTool)
{
    CString strText;
    RECT rc = {0, 0, 0, 0};
    const INT_PTR nHit = m_pClient ? m_pWorkspace->CQXPTabManager::OnToolHitTest(pt, &strText, &rc, NULL) : -1;
    if (nHit < 0)
        return CString();
    if (prcTip)
        *prcTip = rc;
    if (pnTool)
        *pnTool = nHit + 1;
    return strText;
}
