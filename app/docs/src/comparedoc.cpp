// comparedoc.cpp - the compare document, frame and view.
#include "comparedoc.h"

#include "apphelpers.h"
#include "editorframe.h"

const COLORREF CCompareView::kFirstColour = RGB(248, 133, 118);
const COLORREF CCompareView::kSecondColour = RGB(247, 243, 121);

// ---------------------------------------------------------------------------
// CCompareDocument

IMPLEMENT_DYNCREATE(CCompareDocument, CDocument)

BOOL CCompareDocument::CompareFiles(LPCSTR lpszFirst, LPCSTR lpszSecond)
{
    POSITION pos = GetFirstViewPosition();
    CView* pView = pos != NULL ? GetNextView(pos) : NULL;
    CCompareView* pCompareView = DYNAMIC_DOWNCAST(CCompareView, pView);
    if (pCompareView == NULL || !::IsWindow(pCompareView->m_hWnd)) {
        AfxMessageBox("The files cannot be compared: the compare document has no window to show them in.",
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return pCompareView->CompareFiles(lpszFirst, lpszSecond);
}

// ---------------------------------------------------------------------------
// CCompareFrame

IMPLEMENT_DYNCREATE(CCompareFrame, CExtraDocFrame)

// ---------------------------------------------------------------------------
// CCompareView

IMPLEMENT_DYNCREATE(CCompareView, CView)

BEGIN_MESSAGE_MAP(CCompareView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
END_MESSAGE_MAP()

CCompareView::CCompareView()
    : m_rcHeader(0, 0, 0, 0), m_nHeaderHeight(20), m_bLayoutHeader(TRUE), m_rcFirst(0, 0, 0, 0),
      m_rcSecond(0, 0, 0, 0)
{
}

CCompareView::~CCompareView()
{
    // A view whose window never got as far as WM_DESTROY still owns its file.
    if (!m_strResultFile.IsEmpty() && !::IsWindow(m_wndCompare.m_hWnd))
        DeleteResultFile(m_strResultFile);
}

int CCompareView::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndCompare.Create(COMPAREWIN_CLASSNAME, "CompareWin", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                             CRect(0, 0, 0, 0), this, kCompareID))
        return -1;
    return 0;
}

void CCompareView::PlaceCompareWnd()
{
    if (!::IsWindow(m_wndCompare.m_hWnd))
        return;
    CRect rc;
    GetClientRect(&rc);
    int nTop = m_nHeaderHeight + 2;
    int nHeight = rc.Height() - nTop;
    if (nHeight < 0)
        nHeight = 0;
    m_wndCompare.MoveWindow(0, nTop, rc.Width(), nHeight);
}

void CCompareView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    m_bLayoutHeader = TRUE;
    PlaceCompareWnd();
}

void CCompareView::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->SetCurrentViewWnd(this);
}

void CCompareView::OnDestroy()
{
    CView::OnDestroy();
    if (IEditorFrame* pFrame = GetEditorFrame())
        pFrame->SetCurrentViewWnd(NULL);
    // The compare window holds the result file open while it shows it: it
    // goes first, then the file.
    if (::IsWindow(m_wndCompare.m_hWnd))
        m_wndCompare.DestroyWindow();
    DeleteResultFile(m_strResultFile);
}

void CCompareView::DeleteResultFile(CString& strPath)
{
    if (!strPath.IsEmpty())
        ::DeleteFileA(strPath);
    strPath.Empty();
}

BOOL CCompareView::CompareFiles(LPCSTR lpszFirst, LPCSTR lpszSecond)
{
    char szTempDir[MAX_PATH + 1] = "";
    char szTempFile[MAX_PATH + 1] = "";
    DWORD n = ::GetTempPathA(sizeof(szTempDir), szTempDir);
    if (n == 0 || n >= sizeof(szTempDir) || ::GetTempFileNameA(szTempDir, "wdf", 0, szTempFile) == 0) {
        AfxMessageBox("The files cannot be compared: no temporary file could be made for the result.",
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    CPathParts first(lpszFirst), second(lpszSecond);
    m_strFirstName = first.GetBaseName();
    m_strFirstExt = first.GetExtension();
    m_strSecondName = second.GetBaseName();
    m_strSecondExt = second.GetExtension();
    m_strHeader = m_strFirstName + m_strFirstExt + " : " + m_strSecondName + m_strSecondExt;
    m_bLayoutHeader = TRUE;
    if (::IsWindow(m_hWnd))
        Invalidate();

    CString strOld = m_strResultFile;
    m_strResultFile = szTempFile;
    BOOL bShown = m_wndCompare.Compare(lpszFirst, lpszSecond, szTempFile) != 0;
    // The window let go of the previous result when it took the new one.
    DeleteResultFile(strOld);
    return bShown;
}

void CCompareView::LayoutHeader(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    CString strFirst = m_strFirstName + m_strFirstExt;
    CString strSecond = m_strSecondName + m_strSecondExt;
    m_strHeader = strFirst + " : " + strSecond;

    TEXTMETRICA tm;
    pDC->GetTextMetrics(&tm);
    int nOldHeight = m_nHeaderHeight;
    m_nHeaderHeight = tm.tmHeight + 2;
    m_rcHeader.SetRect(0, 0, rcClient.Width(), m_nHeaderHeight);

    CSize szText = pDC->GetTextExtent(m_strHeader);
    int x = (rcClient.Width() - szText.cx) / 2;
    int nFirstEnd = x + pDC->GetTextExtent(strFirst).cx;
    int nSecondStart = x + pDC->GetTextExtent(strFirst + " : ").cx;
    m_rcFirst.SetRect(2, 2, nFirstEnd, m_nHeaderHeight - 2);
    m_rcSecond.SetRect(nSecondStart, 2, rcClient.Width() - 2, m_nHeaderHeight - 2);
    m_bLayoutHeader = FALSE;
    if (nOldHeight != m_nHeaderHeight)
        PlaceCompareWnd();
}

void CCompareView::OnDraw(CDC* pDC)
{
    CFont* pOldFont = (CFont*)pDC->SelectStockObject(DEFAULT_GUI_FONT);
    if (m_bLayoutHeader)
        LayoutHeader(pDC);
    CRect rcClient;
    GetClientRect(&rcClient);
    pDC->FillSolidRect(&m_rcFirst, kFirstColour);
    pDC->FillSolidRect(&m_rcSecond, kSecondColour);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CSize szText = pDC->GetTextExtent(m_strHeader);
    pDC->TextOut((rcClient.Width() - szText.cx) / 2, 1, m_strHeader);
    pDC->SetBkMode(nOldMode);
    pDC->MoveTo(0, m_nHeaderHeight);
    pDC->LineTo(rcClient.right, m_nHeaderHeight);
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
}

void CCompareView::OnEditCopy() { m_wndCompare.Copy(); }
void CCompareView::OnEditSelectAll() { m_wndCompare.SelectAll(); }
void CCompareView::OnUpdateEditCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndCompare.CanCopy() != 0); }
