// syntaxpage.cpp - the options page "Syntax Coloring" and its sample.
#include "syntaxpage.h"

#include "apphelpers.h"
#include "mainframe.h"
#include "resource.h"

#include <qx/colors.h>

// The picker features the option pages ask for.
static const DWORD kPickerPopupStyle = 0x26;
// The toolkit colour of a disabled sample's background.
static const int kDisabledSampleBack = 40;

// --- sample ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSampleWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ENABLE()
END_MESSAGE_MAP()

CSampleWnd::CSampleWnd() : m_clrFore(RGB(0, 0, 0)), m_clrBack(GetDefaultHexColour()) {}

BOOL CSampleWnd::Create(const RECT& rect, CWnd* pParent, UINT nID)
{
    static const char kClass[] = "QmSyntaxSample";
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(AfxGetInstanceHandle(), kClass, &wc)) {
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = kClass;
        if (!AfxRegisterClass(&wc))
            return FALSE;
    }
    if (!CWnd::Create(kClass, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect, pParent, nID))
        return FALSE;
    SetWindowPos(NULL, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    return TRUE;
}

void CSampleWnd::SetColours(COLORREF clrFore, COLORREF clrBack)
{
    m_clrFore = clrFore;
    m_clrBack = clrBack;
    if (GetSafeHwnd() != NULL)
        Invalidate(TRUE);
}

void CSampleWnd::SetFore(COLORREF clr)
{
    SetColours(clr, m_clrBack);
}

void CSampleWnd::SetBack(COLORREF clr)
{
    SetColours(m_clrFore, clr);
}

void CSampleWnd::OnEnable(BOOL)
{
    Invalidate(TRUE);
}

void CSampleWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    BOOL bEnabled = IsWindowEnabled();
    COLORREF clrText = bEnabled ? m_clrFore : ::GetSysColor(COLOR_GRAYTEXT);
    COLORREF clrBack = bEnabled ? m_clrBack : ToolkitColorManager::Instance()->GetColor(kDisabledSampleBack);
    COLORREF clrFrame = bEnabled ? RGB(0, 0, 0) : ::GetSysColor(COLOR_GRAYTEXT);

    HPEN hPen = ::CreatePen(PS_SOLID, 1, clrFrame);
    HGDIOBJ hOldPen = ::SelectObject(dc.m_hDC, hPen);
    HGDIOBJ hOldBrush = ::SelectObject(dc.m_hDC, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc.m_hDC, rc.left, rc.top, rc.right, rc.bottom);
    ::SelectObject(dc.m_hDC, hOldBrush);
    ::SelectObject(dc.m_hDC, hOldPen);
    ::DeleteObject(hPen);

    rc.DeflateRect(1, 1);
    HBRUSH hBack = ::CreateSolidBrush(clrBack);
    ::FillRect(dc.m_hDC, &rc, hBack);
    ::DeleteObject(hBack);

    LOGFONTA lf = {};
    lf.lfHeight = -::MulDiv(10, ::GetDeviceCaps(dc.m_hDC, LOGPIXELSY), 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, "courier new", LF_FACESIZE);
    HFONT hFont = ::CreateFontIndirectA(&lf);
    HGDIOBJ hOldFont = ::SelectObject(dc.m_hDC, hFont);
    static const char kSample[] = "AaBbCcXxYyZz";
    SIZE sz = {};
    ::GetTextExtentPoint32A(dc.m_hDC, kSample, (int)sizeof(kSample) - 1, &sz);
    ::SetTextColor(dc.m_hDC, clrText);
    ::SetBkMode(dc.m_hDC, TRANSPARENT);
    ::TextOutA(dc.m_hDC, rc.left + (rc.Width() - sz.cx) / 2, rc.top + (rc.Height() - sz.cy) / 2, kSample,
               (int)sizeof(kSample) - 1);
    ::SelectObject(dc.m_hDC, hOldFont);
    ::DeleteObject(hFont);
}

// --- page -----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPageSyntaxColour, CPropertyPage)
    ON_CONTROL(CPN_SELCHANGE, IDC_SYNTAX_FORE, OnForeChosen)
    ON_CONTROL(CPN_SELCHANGE, IDC_SYNTAX_BACK, OnBackChosen)
    ON_CBN_SELCHANGE(IDC_SYNTAX_TYPE, OnLanguageChosen)
    ON_LBN_SELCHANGE(IDC_SYNTAX_STYLES, OnStyleChosen)
    ON_BN_CLICKED(IDC_SYNTAX_DEFAULT, OnDefaultToggled)
END_MESSAGE_MAP()

CPageSyntaxColour::CPageSyntaxColour(CMainFrame* pFrame)
    : CPropertyPage(IDD_PAGE_SYNTAX), m_pFrame(pFrame), m_nChanged(0), m_nCurrent(-1)
{
}

void CPageSyntaxColour::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SYNTAX_FORE, m_forePicker);
    DDX_Control(pDX, IDC_SYNTAX_BACK, m_backPicker);
    DDX_Control(pDX, IDC_SYNTAX_TYPE, m_typeCombo);
    DDX_Control(pDX, IDC_SYNTAX_STYLES, m_styleList);
    DDX_Control(pDX, IDC_SYNTAX_DEFAULT, m_defaultCheck);
}

BOOL CPageSyntaxColour::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    // The sample takes the place of its placeholder in the template.
    if (CWnd* pPlace = GetDlgItem(IDC_SYNTAX_SAMPLE)) {
        CRect rc;
        pPlace->GetWindowRect(&rc);
        ScreenToClient(&rc);
        pPlace->DestroyWindow();
        m_sample.Create(rc, this, IDC_SYNTAX_SAMPLE);
    }
    m_languages.LoadAll(m_strFolder.IsEmpty() ? NULL : (LPCSTR)m_strFolder);
    if (m_languages.GetCount() > 0) {
        for (int i = 0; i < m_languages.GetCount(); ++i) {
            CLexerConfig config = m_languages.GetAt(i);
            if (!config.IsLoaded())
                continue;
            int nItem = m_typeCombo.AddString(config.GetMenuText());
            m_typeCombo.SetItemData(nItem, (DWORD_PTR)i);
        }
        m_typeCombo.SetCurSel(0);
        OnLanguageChosen();
    } else {
        for (UINT nID : {IDC_SYNTAX_TYPE, IDC_SYNTAX_STYLES, IDC_SYNTAX_FORE, IDC_SYNTAX_BACK, IDC_SYNTAX_DEFAULT,
                         IDC_SYNTAX_TYPE_LABEL, IDC_SYNTAX_STYLES_LABEL, IDC_SYNTAX_FORE_LABEL, IDC_SYNTAX_BACK_LABEL,
                         IDC_SYNTAX_SAMPLE})
            if (CWnd* pWnd = GetDlgItem(nID))
                pWnd->EnableWindow(FALSE);
    }
    m_forePicker.ModifyPopupStyle(0, kPickerPopupStyle);
    m_backPicker.ModifyPopupStyle(0, kPickerPopupStyle);
    return TRUE;
}

void CPageSyntaxColour::OnLanguageChosen()
{
    int nSel = m_typeCombo.GetCurSel();
    m_styleList.ResetContent();
    if (nSel < 0 || m_languages.GetCount() == 0)
        return;
    int nIndex = (int)m_typeCombo.GetItemData(nSel);
    if (nIndex < 0)
        return;
    CLexerConfig config = m_languages.GetAt(nIndex);
    m_nCurrent = nIndex;
    for (int i = 0; i < config.GetStyleCount(); ++i) {
        int nItem = m_styleList.AddString(config.GetStyle(i).name);
        m_styleList.SetItemData(nItem, (DWORD_PTR)i);
    }
    m_styleList.SetCurSel(0);
    m_defaultCheck.SetCheck(config.IsDefault() == 1 ? BST_CHECKED : BST_UNCHECKED);
    OnStyleChosen();
}

void CPageSyntaxColour::OnStyleChosen()
{
    if (m_nCurrent < 0)
        return;
    int nSel = m_styleList.GetCurSel();
    if (nSel < 0)
        return;
    int nStyle = (int)m_styleList.GetItemData(nSel);
    CLexerConfig config = m_languages.GetAt(m_nCurrent);
    if (nStyle < 0 || nStyle >= config.GetStyleCount())
        return;
    CLexerStyle style = config.GetStyle(nStyle);
    m_forePicker.SetColor(style.fore);
    m_backPicker.SetColor(style.back);
    m_sample.SetColours(style.fore, style.back);
}

void CPageSyntaxColour::ColourChosen(BOOL bFore)
{
    if (m_nCurrent < 0)
        return;
    COLORREF clr = bFore ? m_forePicker.GetColor() : m_backPicker.GetColor();
    if (bFore)
        m_sample.SetFore(clr);
    else
        m_sample.SetBack(clr);
    int nSel = m_styleList.GetCurSel();
    if (nSel < 0)
        return;
    int nStyle = (int)m_styleList.GetItemData(nSel);
    CLexerConfig config = m_languages.GetAt(m_nCurrent);
    if (bFore)
        config.SetStyleFore(nStyle, clr);
    else
        config.SetStyleBack(nStyle, clr);
    m_languages.Replace(m_nCurrent, config);
    MarkChanged();
}

void CPageSyntaxColour::OnForeChosen()
{
    ColourChosen(TRUE);
}

void CPageSyntaxColour::OnBackChosen()
{
    ColourChosen(FALSE);
}

void CPageSyntaxColour::OnDefaultToggled()
{
    if (m_nCurrent < 0)
        return;
    BOOL bChecked = m_defaultCheck.GetCheck() == BST_CHECKED;
    if (bChecked) {
        // Only one language is the default: the first one marked loses it.
        for (int i = 0; i < m_languages.GetCount(); ++i) {
            CLexerConfig other = m_languages.GetAt(i);
            if (other.IsDefault()) {
                other.SetDefault(0);
                m_languages.Replace(i, other);
                break;
            }
        }
    }
    CLexerConfig config = m_languages.GetAt(m_nCurrent);
    config.SetDefault(bChecked ? 1 : 0);
    m_languages.Replace(m_nCurrent, config);
    MarkChanged();
}

void CPageSyntaxColour::MarkChanged()
{
    m_nChanged = 1;
    SetModified(TRUE);
}

BOOL CPageSyntaxColour::OnApply()
{
    if (m_nChanged) {
        int nWritten = 0;
        CString failed;
        for (int i = 0; i < m_languages.GetCount(); ++i) {
            CLexerConfig config = m_languages.GetAt(i);
            if (!config.IsModified())
                continue;
            if (config.SaveConfigFile())
                ++nWritten;
            else
                failed.AppendFormat("\n%s", config.GetFilePath().GetString());
        }
        if (nWritten > 0 && m_pFrame != NULL)
            m_pFrame->ReloadLanguages();
        if (!failed.IsEmpty()) {
            // The page keeps the edits and stays open: nothing is lost.
            CString message;
            message.Format("The colours could not be saved to:%s", failed.GetString());
            AfxMessageBox(message, MB_ICONEXCLAMATION);
            return FALSE;
        }
        // The page goes on from what the files now hold: a later Apply
        // writes only what is changed after this one.
        m_languages.LoadAll(m_strFolder.IsEmpty() ? NULL : (LPCSTR)m_strFolder);
    }
    m_nChanged = 0;
    return CPropertyPage::OnApply();
}
