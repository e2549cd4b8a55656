// The text box that the edit and combo-box controls share: the edit window's
// life and place, its cached text and hint, colours, and the focus.

#include <qx/commandbars.h>
#include <qx/controledit.h>

CQXPEditBox::CQXPEditBox(CQXPControl* pControl, BOOL bWindowOnDemand, UINT nSetFocusCode, UINT nKillFocusCode)
    : m_pBoxControl(pControl), m_bWindowOnDemand(bWindowOnDemand), m_nSetFocusCode(nSetFocusCode),
      m_nKillFocusCode(nKillFocusCode), m_pEdit(NULL), m_bReposition(FALSE), m_bDestroyWindow(FALSE),
      m_bTextDirty(TRUE), m_pAutoComplete(NULL), m_dwShellAutoCompleteFlags(0), m_dwEditStyle(0), m_bFocused(FALSE),
      m_hWndReturnFocus(NULL), m_keySink(this, &CQXPEditBox::KeyThunk), m_bChangingFocus(FALSE)
{
}

CQXPEditBox::~CQXPEditBox()
{
    CKeyboardHook::Instance()->Uninstall(&m_keySink);
    if (m_bFocused)
        QxpAddFocusedEdit(-1);
    delete m_pAutoComplete;
    m_pAutoComplete = NULL;
    if (m_pEdit) {
        // Detached first: the window's last messages must not reach us.
        m_pEdit->m_pOwner = NULL;
        delete m_pEdit;
        m_pEdit = NULL;
    }
}

int CQXPEditBox::KeyThunk(void* pOwner, UINT nKey, LPARAM lParam)
{
    CQXPEditBox* pThis = static_cast<CQXPEditBox*>(pOwner);
    CQXPControl* pControl = pThis->m_pBoxControl;
    pControl->InternalAddRef();
    int nResult = pThis->ProcessKey(nKey, lParam);
    pControl->InternalRelease();
    return nResult;
}

CQXPCommandBar* CQXPEditBox::GetEditBar() const { return m_pBoxControl->GetParent(); }

// --- text and hint ---------------------------------------------------------

CString CQXPEditBox::GetBoxText() const
{
    if (m_pEdit && ::IsWindow(m_pEdit->GetSafeHwnd()) && m_bTextDirty) {
        m_strEditText = m_pEdit->GetEditWindowText();
        m_bTextDirty = FALSE;
    }
    return m_strEditText;
}

void CQXPEditBox::SetEditText(const CString& strText)
{
    if (m_pEdit && ::IsWindow(m_pEdit->GetSafeHwnd()) && m_pEdit->GetEditWindowText() != strText) {
        m_pEdit->m_bIgnoreChange = TRUE;
        m_pEdit->SetWindowText("");
        m_pEdit->m_bIgnoreChange = FALSE;
        m_pEdit->SetWindowText(strText);
    }
    m_strEditText = strText;
    m_bTextDirty = FALSE;
    UpdateColors();
}

CString CQXPEditBox::GetEffectiveHint() const
{
    if (!m_strEditHint.IsEmpty())
        return m_strEditHint;
    if (m_pBoxControl->GetAction())
        return m_pBoxControl->GetAction()->GetDescription();
    return CString();
}

BOOL CQXPEditBox::IsHintShown() const
{
    if (!m_pEdit && !m_bWindowOnDemand)
        return FALSE;
    CString strHint = GetEffectiveHint();
    return !strHint.IsEmpty() && GetBoxText() == strHint;
}

CString CQXPEditBox::GetEditTextWithoutHint() const
{
    return IsHintShown() ? CString() : GetBoxText();
}

void CQXPEditBox::SetEditTextOrHint(const CString& strText)
{
    BOOL bHint = strText.IsEmpty() && (m_pEdit || m_bWindowOnDemand);
    SetEditText(bHint ? GetEffectiveHint() : strText);
}

void CQXPEditBox::SetEditHint(const CString& strHint)
{
    if (IsHintShown())
        SetEditText(CString());
    m_strEditHint = strHint;
    if ((m_pEdit || m_bWindowOnDemand) && GetBoxText().IsEmpty() && !GetEffectiveHint().IsEmpty() && !m_bFocused)
        SetEditText(GetEffectiveHint());
}

// --- window options ------------------------------------------------------------

void CQXPEditBox::SetEditStyle(DWORD dwStyle)
{
    if (m_dwEditStyle == dwStyle)
        return;
    m_dwEditStyle = dwStyle;
    m_bDestroyWindow = TRUE;
    m_pBoxControl->DelayLayoutParent();
}

void CQXPEditBox::SetShellAutoCompleteFlags(DWORD dwFlags)
{
    m_dwShellAutoCompleteFlags = dwFlags;
    delete m_pAutoComplete;
    m_pAutoComplete = QxpCreateShellAutoComplete(m_pEdit, dwFlags);
}

// --- colours ---------------------------------------------------------------------

void CQXPEditBox::GetCharFormat(COLORREF* pclrText, COLORREF* pclrBack)
{
    QxpGetBoxCharFormat(m_pBoxControl, IsHintShown(), pclrText, pclrBack);
}

void CQXPEditBox::UpdateColors()
{
    if (!m_pEdit || !::IsWindow(m_pEdit->GetSafeHwnd()))
        return;
    COLORREF clrText, clrBack;
    GetCharFormat(&clrText, &clrBack);
    qxpedit::ApplyColors(m_pEdit, clrText, clrBack);
}

// --- the window ------------------------------------------------------------------

CQXPEdit* CQXPEditBox::CreateEditWindow()
{
    return new CQXPEdit;
}

void CQXPEditBox::DestroyEditWindow()
{
    if (!m_pEdit || !::IsWindow(m_pEdit->GetSafeHwnd()))
        return;
    if (m_bFocused)
        SetFocused(FALSE);
    m_pEdit->DestroyWindow();
}

void CQXPEditBox::OnEditDestroying(const CString& strText)
{
    // The text outlives the window.
    m_strEditText = strText;
    m_bTextDirty = FALSE;
    delete m_pAutoComplete;
    m_pAutoComplete = NULL;
}

void CQXPEditBox::ShowEditWindow()
{
    if (!m_pEdit || !::IsWindow(m_pEdit->GetSafeHwnd()))
        return;
    CQXPCommandBar* pParent = m_pBoxControl->GetParent();
    BOOL bShow = m_pBoxControl->IsVisible(0) && pParent && ::IsWindow(pParent->GetSafeHwnd());
    ::SetWindowPos(m_pEdit->GetSafeHwnd(), NULL, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                       (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void CQXPEditBox::LayoutEditWindow(BOOL bForce)
{
    CQXPCommandBar* pParent = m_pBoxControl->GetParent();
    if (!pParent || !::IsWindow(pParent->GetSafeHwnd()))
        return;
    if (!m_pEdit) {
        if (!m_bWindowOnDemand)
            return;
        m_pEdit = CreateEditWindow();
        m_pEdit->m_pOwner = this;
    }
    HWND hWndEdit = m_pEdit->GetSafeHwnd();
    if (hWndEdit && ::IsWindow(hWndEdit) &&
        (m_bDestroyWindow || (::GetWindowLongPtrA(hWndEdit, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) ||
         ::GetParent(hWndEdit) != pParent->GetSafeHwnd())) {
        DestroyEditWindow();
        bForce = TRUE;
    }
    m_bDestroyWindow = FALSE;
    BOOL bMissing = !::IsWindow(m_pEdit->GetSafeHwnd());
    if (bForce || bMissing || m_bReposition) {
        if (bMissing) {
            if (!m_pEdit->CreateEdit(m_dwEditStyle | WS_CHILD | ES_AUTOHSCROLL, pParent))
                return;
            if (!m_pBoxControl->GetEnabled())
                m_pEdit->EnableWindow(FALSE);
            if (m_dwShellAutoCompleteFlags != 0)
                SetShellAutoCompleteFlags(m_dwShellAutoCompleteFlags);
        }
        CQXPThemePainter* pPaintManager = pParent->GetPaintManager();
        m_pEdit->SendMessage(WM_SETFONT, (WPARAM)pPaintManager->GetIconFont()->GetSafeHandle(), FALSE);
        m_pEdit->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        UpdateColors();
        if (::GetFocus() != m_pEdit->GetSafeHwnd())
            SetEditTextOrHint(GetEditTextWithoutHint());
        m_pEdit->m_bNeedsOpaque = m_pBoxControl->IntersectsBarRect();
        OnEditWindowReady();
        CRect rcEdit = GetEditWindowRect();
        if (rcEdit.right < rcEdit.left)
            rcEdit.right = rcEdit.left;
        ::SetWindowPos(m_pEdit->GetSafeHwnd(), NULL, rcEdit.left, rcEdit.top, rcEdit.Width(), rcEdit.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowEditWindow();
    m_bReposition = FALSE;
}

void CQXPEditBox::OnBoxRectChanged(const CRect& rc)
{
    BOOL bChanged = rc != m_pBoxControl->GetRect() || m_layout.bLayoutChanged;
    m_layout.bLayoutChanged = FALSE;
    m_pBoxControl->CQXPControl::SetRect(rc);
    LayoutEditWindow(bChanged);
}

void CQXPEditBox::OnBoxHideFlagsChanged()
{
    if (!m_pBoxControl->IsVisible(0) && m_bFocused)
        SetFocused(FALSE);
    ShowEditWindow();
    m_pBoxControl->DelayLayoutParent();
}

void CQXPEditBox::OnBoxEnabledChanged()
{
    if (m_pEdit && ::IsWindow(m_pEdit->GetSafeHwnd())) {
        m_pEdit->EnableWindow(m_pBoxControl->GetEnabled());
        UpdateColors();
    }
}

// --- the focus ---------------------------------------------------------------------

void CQXPEditBox::NoteFocusArrival(HWND hWndOld)
{
    if (IsHintShown())
        SetEditText(CString());
    m_strTextAtFocus = GetBoxText();
    CQXPCommandBar* pParent = m_pBoxControl->GetParent();
    HWND hWndEdit = m_pEdit ? m_pEdit->GetSafeHwnd() : NULL;
    HWND hWndBar = pParent ? pParent->GetSafeHwnd() : NULL;
    if (hWndOld && ::IsWindow(hWndOld) && hWndOld != hWndEdit && hWndOld != hWndBar)
        m_hWndReturnFocus = hWndOld;
    else if (!m_hWndReturnFocus || !::IsWindow(m_hWndReturnFocus)) {
        CWnd* pSite = pParent ? pParent->GetOwnerSite() : NULL;
        m_hWndReturnFocus = pSite ? pSite->GetSafeHwnd() : NULL;
    }
}

void CQXPEditBox::SetFocused(BOOL bFocused)
{
    if (bFocused == m_bFocused || m_bChangingFocus)
        return;
    m_bChangingFocus = TRUE;
    CQXPControl* pControl = m_pBoxControl;
    pControl->InternalAddRef();
    CQXPCommandBar* pBar = pControl->GetParent();
    HWND hWndEdit = m_pEdit ? m_pEdit->GetSafeHwnd() : NULL;
    if (bFocused) {
        OnFocusChanging(TRUE);
        m_bFocused = TRUE;
        if (hWndEdit && ::IsWindow(hWndEdit) && ::GetFocus() != hWndEdit)
            ::SetFocus(hWndEdit);
        if (pBar && ::IsWindow(pBar->GetSafeHwnd())) {
            if (!pBar->IsTrackingMode())
                pBar->SetTrackingMode(TRUE, FALSE, TRUE);
            pBar->SetSelected(pControl->GetIndex(), 2);
        }
        // Registered after the bar's: the control hears keys first.
        CKeyboardHook::Instance()->Install(&m_keySink);
        pControl->NotifySite(m_nSetFocusCode);
        QxpAddFocusedEdit(+1);
    } else {
        m_bFocused = FALSE;
        CKeyboardHook::Instance()->Uninstall(&m_keySink);
        OnFocusChanging(FALSE);
        if (hWndEdit && ::IsWindow(hWndEdit) && ::GetFocus() == hWndEdit) {
            HWND hWndBack = m_hWndReturnFocus && ::IsWindow(m_hWndReturnFocus) ? m_hWndReturnFocus : NULL;
            if (!hWndBack && pBar) {
                CWnd* pSite = pBar->GetOwnerSite();
                hWndBack = pSite ? pSite->GetSafeHwnd() : NULL;
            }
            ::SetFocus(hWndBack);
        }
        pControl->NotifySite(m_nKillFocusCode);
        QxpAddFocusedEdit(-1);
        // A toolbar stops its keyboard tracking with the box, or it would
        // go on taking the thread's keys.
        if (pBar && ::IsWindow(pBar->GetSafeHwnd()) && pBar->GetType() != qxpBarTypePopup &&
            pBar->IsTrackingMode() && pBar->GetPopupedIndex() == -1)
            pBar->SetTrackingMode(FALSE);
    }
    pControl->RedrawParent();
    m_bChangingFocus = FALSE;
    pControl->InternalRelease();
}
