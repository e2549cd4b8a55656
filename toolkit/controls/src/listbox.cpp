// listbox.cpp - the owner-drawn list box, popup menus with icons.
#include <qx/listbox.h>
#include <qx/themeres.h>

#include <qx/colors.h>
#include <qx/drawing.h>
#include <qx/fonts.h>

static COLORREF ManagerColor(int n) { return ToolkitColorManager::Instance()->GetColor(n); }

// ---------------------------------------------------------------------------
// CQXListBox

IMPLEMENT_DYNAMIC(CQXListBox, CListBox)

BEGIN_MESSAGE_MAP(CQXListBox, CListBox)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

CQXListBox::CQXListBox() : m_bInitOnSubclass(TRUE), m_nListStyle(styleStandard) {}

CQXListBox::~CQXListBox() {}

void CQXListBox::Initialize(BOOL bSetFont)
{
    if (bSetFont && m_hWnd)
        SendMessage(WM_SETFONT, (WPARAM)GetGlobalUIFonts()->GetNormalFont(), TRUE);
}

COLORREF CQXListBox::GetBackColor() { return ManagerColor(COLOR_WINDOW); }

BOOL CQXListBox::ForceOwnerDrawStyle()
{
    DWORD dwWanted = LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
    if (m_hWnd && (GetStyle() & dwWanted) != dwWanted)
        ModifyStyle(0, dwWanted);
    return TRUE;
}

void CQXListBox::SetListStyle(int nStyle)
{
    m_nListStyle = nStyle;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CQXListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
    if (m_bInitOnSubclass)
        ForceOwnerDrawStyle();
}

BOOL CQXListBox::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CListBox::PreCreateWindow(cs))
        return FALSE;
    m_bInitOnSubclass = FALSE;
    // A list box takes its drawing mode when it is created.
    cs.style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
    return TRUE;
}

int CQXListBox::OnCreate(LPCREATESTRUCTA)
{
    if (Default() == -1)
        return -1;
    ForceOwnerDrawStyle();
    return 0;
}

void CQXListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) { lpMIS->itemHeight = (UINT)(::GetSystemMetrics(SM_CYMENU) - 2); }

void CQXListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rcItem(lpDIS->rcItem);
    if ((int)lpDIS->itemID >= 0 && (lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
        BOOL bEnabled = IsWindowEnabled();
        BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
        COLORREF clrBack = GetBackColor();
        COLORREF clrText = ManagerColor(bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
        CRect rcText(rcItem);
        rcText.DeflateRect(2, 0);
        if (bSelected) {
            clrBack = ManagerColor(bEnabled ? COLOR_HIGHLIGHT : COLOR_GRAYTEXT);
            clrText = ManagerColor(COLOR_HIGHLIGHTTEXT);
        }
        if (m_nListStyle == styleFlat && bSelected && bEnabled) {
            clrText = ManagerColor(qxColorHotText);
            clrBack = ManagerColor(qxColorHotFace);
            COLORREF clrFrame = ManagerColor(qxColorHotBorder);
            pDC->Draw3dRect(rcItem, clrFrame, clrFrame);
            rcItem.DeflateRect(1, 1);
        }
        // The image look: the Office 2007 theme image "TOOLBARBUTTONS22"
        // (its checked-and-hot state) under the text; without the image the
        // item is drawn as in the standard look.
        ThemeBitmap* pImage = m_nListStyle == styleImage && bSelected && bEnabled
                                  ? GetThemeResources()->LoadImage("TOOLBARBUTTONS22")
                                  : NULL;
        int nOldMode = 0;
        if (pImage) {
            pImage->DrawImage(pDC, rcItem, pImage->GetSource(3, 4), CRect(8, 8, 8, 8));
            nOldMode = pDC->SetBkMode(TRANSPARENT);
            pDC->SetTextColor(ManagerColor(COLOR_WINDOWTEXT));
        } else {
            pDC->SetBkColor(clrBack);
            pDC->SetTextColor(clrText);
            pDC->FillSolidRect(rcItem, clrBack);
        }
        // An ampersand marks the next character as a mnemonic, as in menus.
        CString str;
        GetText((int)lpDIS->itemID, str);
        pDC->DrawText(str, rcText, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
        if (pImage)
            pDC->SetBkMode(nOldMode);
    }
    if (lpDIS->itemAction & ODA_FOCUS)
        pDC->DrawFocusRect(&lpDIS->rcItem);
}

BOOL CQXListBox::OnEraseBkgnd(CDC*) { return TRUE; }

LRESULT CQXListBox::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_ERASEBKGND, wParam, 0);
    return DefWindowProc(WM_PRINTCLIENT, wParam, lParam);
}

void CQXListBox::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CRect rc;
    GetClientRect(&rc);
    {
        BufferedDC buffer(hdc, rc);
        CDC::FromHandle(buffer.GetSafeHdc())->FillSolidRect(rc, GetBackColor());
        POINT ptOrg;
        ::GetWindowOrgEx(buffer.GetSafeHdc(), &ptOrg);
        DefWindowProc(WM_PAINT, (WPARAM)buffer.GetSafeHdc(), 0);
        ::SetWindowOrgEx(buffer.GetSafeHdc(), ptOrg.x, ptOrg.y, NULL);
    }
    ::EndPaint(m_hWnd, &ps);
}

// ---------------------------------------------------------------------------
// Popup menus.

static PFNQXTRACKPOPUPMENU s_pfnTracker = NULL;

void AFXAPI SetToolkitPopupTracker(PFNQXTRACKPOPUPMENU pfnTracker) { s_pfnTracker = pfnTracker; }

UINT AFXAPI TrackPopupMenuEx(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner, int nIDIconToolbar,
                             BOOL bNoNotify)
{
    HMENU hMenu = pMenu ? pMenu->GetSafeHmenu() : NULL;
    if (!hMenu || !::IsMenu(hMenu))
        return 0;
    if (bNoNotify)
        nFlags |= TPM_NONOTIFY;
    if (s_pfnTracker) {
        INT_PTR n = s_pfnTracker(pMenu, nFlags, x, y, pOwner, nIDIconToolbar);
        return n < 0 ? 0 : (UINT)n;
    }
    HWND hOwner = pOwner ? pOwner->GetSafeHwnd() : NULL;
    return (UINT)::TrackPopupMenu(hMenu, nFlags, x, y, 0, hOwner, NULL);
}
