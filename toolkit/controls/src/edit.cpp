// edit.cpp - the toolkit's edit control.
#include <qx/edit.h>

#include <qx/colors.h>
#include <qx/drawing.h>
#include <qx/fonts.h>
#include <qx/listbox.h>
#include <qx/toolkitres.h>

IMPLEMENT_DYNAMIC(CQXEdit, CEdit)

BEGIN_MESSAGE_MAP(CQXEdit, CEdit)
    ON_WM_CONTEXTMENU()
    ON_WM_INITMENUPOPUP()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR_REFLECT()
    ON_COMMAND(QX_ID_EDIT_UNDO, OnEditUndo)
    ON_COMMAND(QX_ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(QX_ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(QX_ID_EDIT_PASTE, OnEditPaste)
    ON_COMMAND(QX_ID_EDIT_CLEAR, OnEditClear)
    ON_COMMAND(QX_ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_UPDATE_COMMAND_UI(QX_ID_EDIT_UNDO, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI(QX_ID_EDIT_CUT, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI(QX_ID_EDIT_COPY, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI(QX_ID_EDIT_PASTE, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI(QX_ID_EDIT_CLEAR, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI(QX_ID_EDIT_SELECT_ALL, OnUpdateEditCommand)
END_MESSAGE_MAP()

CQXEdit::CQXEdit() : m_pReserved(NULL), m_pParentWnd(NULL), m_clrBrush((COLORREF)-1) {}

CQXEdit::~CQXEdit() {}

BOOL CQXEdit::IsCommandEnabled(UINT nID)
{
    if (!m_hWnd)
        return FALSE;
    BOOL bReadOnly = (GetStyle() & ES_READONLY) != 0;
    DWORD dwStart = 0, dwEnd = 0;
    SendMessage(EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    BOOL bSelection = dwStart < dwEnd;
    switch (nID) {
    case QX_ID_EDIT_UNDO:
        // Offered whenever the edit keeps something to undo, read-only or
        // not (text the program set before making the edit read-only).
        return SendMessage(EM_CANUNDO, 0, 0) != 0;
    case QX_ID_EDIT_CUT:
    case QX_ID_EDIT_CLEAR:
        return !bReadOnly && bSelection;
    case QX_ID_EDIT_COPY:
        return bSelection;
    case QX_ID_EDIT_PASTE:
        return CanPaste();
    case QX_ID_EDIT_SELECT_ALL:
        return GetWindowTextLength() > 0;
    default:
        return FALSE;
    }
}

HMENU CQXEdit::CreateContextMenu()
{
    HMENU hMenu = ToolkitMenu(QX_IDR_EDIT_MENU);
    if (hMenu) {
        HMENU hSub = ::GetSubMenu(hMenu, 1);
        if (hSub) {
            ::RemoveMenu(hMenu, 1, MF_BYPOSITION);
            ::DestroyMenu(hMenu);
            return hSub;
        }
        ::DestroyMenu(hMenu);
    }
    hMenu = ::CreatePopupMenu();
    ::AppendMenuA(hMenu, MF_STRING, QX_ID_EDIT_UNDO, "&Undo");
    ::AppendMenuA(hMenu, MF_SEPARATOR, 0, NULL);
    ::AppendMenuA(hMenu, MF_STRING, QX_ID_EDIT_CUT, "Cu&t");
    ::AppendMenuA(hMenu, MF_STRING, QX_ID_EDIT_COPY, "&Copy");
    ::AppendMenuA(hMenu, MF_STRING, QX_ID_EDIT_PASTE, "&Paste");
    ::AppendMenuA(hMenu, MF_STRING, QX_ID_EDIT_CLEAR, "&Delete");
    ::AppendMenuA(hMenu, MF_SEPARATOR, 0, NULL);
    ::AppendMenuA(hMenu, MF_STRING, QX_ID_EDIT_SELECT_ALL, "Select &All");
    return hMenu;
}

BOOL CQXEdit::CanPaste()
{
    if (!m_hWnd || !IsWindowEnabled() || (GetStyle() & ES_READONLY))
        return FALSE;
    return ::IsClipboardFormatAvailable(CF_TEXT);
}

BOOL CQXEdit::HasSelection()
{
    if (!m_hWnd)
        return FALSE;
    DWORD dwStart = 0, dwEnd = 0;
    SendMessage(EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    return dwStart < dwEnd;
}

BOOL CQXEdit::Initialize(CWnd* pParentWnd)
{
    if (!m_hWnd || !::IsWindow(m_hWnd) || !pParentWnd || !::IsWindow(pParentWnd->GetSafeHwnd()))
        return FALSE;
    SendMessage(WM_SETFONT, (WPARAM)GetGlobalUIFonts()->GetNormalFont(), TRUE);
    m_pParentWnd = pParentWnd;
    return TRUE;
}

CPoint CQXEdit::GetContextMenuPoint(CPoint pos)
{
    if (pos.x == -1 && pos.y == -1) {
        CRect rc;
        GetClientRect(&rc);
        pos = CPoint(rc.left + 5, rc.top + 5);
        ClientToScreen(&pos);
    }
    return pos;
}

void CQXEdit::UpdateMenuItems(CMenu* pPopupMenu)
{
    HMENU hMenu = pPopupMenu ? pPopupMenu->GetSafeHmenu() : NULL;
    if (!hMenu || !::IsMenu(hMenu))
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = (UINT)::GetMenuItemCount(hMenu);
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        UINT nID = ::GetMenuItemID(hMenu, (int)state.m_nIndex);
        if (nID == 0)
            continue; // separator
        state.m_pSubMenu = NULL;
        if (nID == (UINT)-1) {
            // A submenu is updated through its first item.
            HMENU hSub = ::GetSubMenu(hMenu, (int)state.m_nIndex);
            UINT nFirst = hSub ? ::GetMenuItemID(hSub, 0) : 0;
            if (nFirst == 0 || nFirst == (UINT)-1)
                continue;
            state.m_pSubMenu = CMenu::FromHandle(hSub);
            state.m_nID = nFirst;
            state.DoUpdate(this, FALSE);
            continue;
        }
        state.m_nID = nID;
        state.DoUpdate(this, nID < 0xF000);
    }
}

void CQXEdit::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    Default();
    (void)nIndex;
    if (!bSysMenu)
        UpdateMenuItems(pPopupMenu);
}

void CQXEdit::OnContextMenu(CWnd*, CPoint pos)
{
    HMENU hMenu = CreateContextMenu();
    if (!hMenu)
        return;
    pos = GetContextMenuPoint(pos);
    SetFocus();
    CMenu menu;
    menu.Attach(hMenu);
    UpdateMenuItems(&menu);
    UINT nCmd = ::TrackPopupMenuEx(&menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, pos.x, pos.y, this,
                                   QX_IDR_EDIT_MENU_ICONS);
    menu.DestroyMenu();
    if (nCmd != 0 && ::IsWindow(m_hWnd))
        SendMessage(WM_COMMAND, nCmd, 0);
}

COLORREF CQXEdit::GetBackColor()
{
    // Read-only text stays on the window colour; only a disabled edit is grey.
    return ToolkitColorManager::Instance()->GetColor(IsWindowEnabled() ? COLOR_WINDOW : COLOR_BTNFACE);
}

BOOL CQXEdit::OnEraseBkgnd(CDC*) { return TRUE; }

HBRUSH CQXEdit::CtlColor(CDC* pDC, UINT)
{
    COLORREF clr = GetBackColor();
    if (clr != m_clrBrush || !m_brushBack.GetSafeHandle()) {
        m_brushBack.DeleteObject();
        m_brushBack.CreateSolidBrush(clr);
        m_clrBrush = clr;
    }
    pDC->SetBkColor(clr);
    return (HBRUSH)m_brushBack.GetSafeHandle();
}

void CQXEdit::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CRect rc;
    GetClientRect(&rc);
    {
        // The edit draws its text into the buffer, over the background.
        BufferedDC buffer(hdc, rc);
        HDC hdcBuffer = buffer.GetSafeHdc();
        CDC::FromHandle(hdcBuffer)->FillSolidRect(rc, GetBackColor());
        ::SetBkColor(hdcBuffer, GetBackColor());
        DefWindowProc(WM_PAINT, (WPARAM)hdcBuffer, 0);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CQXEdit::OnEditUndo() { SendMessage(EM_UNDO, 0, 0); }
void CQXEdit::OnEditCut() { SendMessage(WM_CUT, 0, 0); }
void CQXEdit::OnEditCopy() { SendMessage(WM_COPY, 0, 0); }
void CQXEdit::OnEditPaste() { SendMessage(WM_PASTE, 0, 0); }
void CQXEdit::OnEditClear() { SendMessage(WM_CLEAR, 0, 0); }

void CQXEdit::OnEditSelectAll()
{
    SendMessage(EM_SETSEL, 0, -1);
    SendMessage(EM_SCROLLCARET, 0, 0);
}

void CQXEdit::OnUpdateEditCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(IsCommandEnabled(pCmdUI->m_nID)); }
