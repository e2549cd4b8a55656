// docwrappers.cpp - the compare-window and hex-control wrappers.
#include "docwrappers.h"

#include "resource.h"

namespace {

// Tracks the first popup of menu resource nMenuID at the click point, with
// the active MDI child frame (else the window's own frame) as the target of
// its commands.
void TrackContextMenu(CWnd* pWnd, UINT nMenuID, CPoint point)
{
    CPoint ptScreen = point;
    pWnd->ClientToScreen(&ptScreen);
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nMenuID));
    if (hMenu == NULL)
        return;
    HMENU hPopup = ::GetSubMenu(hMenu, 0);
    CWnd* pTarget = NULL;
    CMDIFrameWnd* pMain = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    if (pMain != NULL)
        pTarget = pMain->MDIGetActive();
    if (pTarget == NULL)
        pTarget = pWnd->GetParentFrame();
    if (hPopup != NULL && pTarget != NULL)
        ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, 0, pTarget->m_hWnd, NULL);
    ::DestroyMenu(hMenu);
}

} // namespace

// ---------------------------------------------------------------------------
// CMFCCompare

BEGIN_MESSAGE_MAP(CMFCCompare, CWnd)
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

LRESULT CMFCCompare::Compare(LPCSTR lpszFirst, LPCSTR lpszSecond, LPCSTR lpszResult)
{
    CompareRequest request = {lpszFirst, lpszSecond, lpszResult};
    return ::SendMessageA(m_hWnd, WM_COMPAREWIN_COMPARE, (WPARAM)&request, 0);
}

LRESULT CMFCCompare::CanCopy() { return ::SendMessageA(m_hWnd, WM_COMPAREWIN_CANCOPY, 0, 0); }
void CMFCCompare::Copy() { ::SendMessageA(m_hWnd, WM_COMPAREWIN_COPY, 0, 0); }
void CMFCCompare::SelectAll() { ::SendMessageA(m_hWnd, WM_COMPAREWIN_SELECTALL, 0, 0); }

void CMFCCompare::OnRButtonDown(UINT nFlags, CPoint point)
{
    TrackContextMenu(this, IDR_CONTEXT_COMPARE, point);
    CWnd::OnRButtonDown(nFlags, point);
}

// ---------------------------------------------------------------------------
// CMFCBytegrid

BEGIN_MESSAGE_MAP(CMFCBytegrid, CWnd)
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

namespace {
LRESULT ClipboardOp(HWND hWnd, UINT nMsg)
{
    LRESULT lr = ::SendMessageA(hWnd, nMsg, 0, 0);
    if (lr == 0)
        ::SendMessageA(hWnd, BGM_CLIPBOARDFAILED, 0, 0);
    return lr;
}
} // namespace

LRESULT CMFCBytegrid::Copy() { return ClipboardOp(m_hWnd, WM_COPY); }
LRESULT CMFCBytegrid::Cut() { return ClipboardOp(m_hWnd, WM_CUT); }
LRESULT CMFCBytegrid::Paste() { return ClipboardOp(m_hWnd, WM_PASTE); }
LRESULT CMFCBytegrid::CanCopy() { return ::SendMessageA(m_hWnd, BGM_CANCOPY, 0, 0); }
LRESULT CMFCBytegrid::CanPaste() { return ::SendMessageA(m_hWnd, BGM_CANPASTE, 0, 0); }
void CMFCBytegrid::Undo() { ::SendMessageA(m_hWnd, BGM_UNDO, 0, 0); }
void CMFCBytegrid::Redo() { ::SendMessageA(m_hWnd, BGM_REDO, 0, 0); }
LRESULT CMFCBytegrid::CanUndo() { return ::SendMessageA(m_hWnd, BGM_CANUNDO, 0, 0); }
LRESULT CMFCBytegrid::CanRedo() { return ::SendMessageA(m_hWnd, BGM_CANREDO, 0, 0); }

BOOL CMFCBytegrid::LoadFile(LPCSTR lpszPath)
{
    if (lpszPath == NULL || *lpszPath == '\0')
        return FALSE;
    return ::SendMessageA(m_hWnd, BGM_LOADFILE, (WPARAM)lpszPath, 0) != 0;
}

BOOL CMFCBytegrid::SaveFile(LPCSTR lpszPath)
{
    if (lpszPath == NULL || *lpszPath == '\0')
        return FALSE;
    return ::SendMessageA(m_hWnd, BGM_SAVEFILE, (WPARAM)lpszPath, 0) != 0;
}

DWORD CMFCBytegrid::GetLastError() { return (DWORD)::SendMessageA(m_hWnd, BGM_GETLASTERROR, 0, 0); }
ULONGLONG CMFCBytegrid::GetPosition() { return (ULONGLONG)::SendMessageA(m_hWnd, BGM_GETPOSITION, 0, 0); }
void CMFCBytegrid::SetPosition(ULONGLONG nPos) { ::SendMessageA(m_hWnd, BGM_SETPOSITION, (WPARAM)nPos, 0); }

void CMFCBytegrid::SetSelection(ULONGLONG nStart, ULONGLONG nLength)
{
    ::SendMessageA(m_hWnd, BGM_SETSELECTION, (WPARAM)nStart, (LPARAM)nLength);
}

void CMFCBytegrid::ScrollTo(ULONGLONG nPos) { ::SendMessageA(m_hWnd, BGM_SCROLLTO, (WPARAM)nPos, 0); }
ULONGLONG CMFCBytegrid::GetLength() { return (ULONGLONG)::SendMessageA(m_hWnd, BGM_GETLENGTH, 0, 0); }
BOOL CMFCBytegrid::IsModified() { return ::SendMessageA(m_hWnd, BGM_ISMODIFIED, 0, 0) != 0; }
LRESULT CMFCBytegrid::GetModeFlag() { return ::SendMessageA(m_hWnd, BGM_GETMODEFLAG, 0, 0); }
LRESULT CMFCBytegrid::SetOption(WPARAM nOption) { return ::SendMessageA(m_hWnd, BGM_SETOPTION, nOption, 0); }
LRESULT CMFCBytegrid::SetFindData(HEXFINDDATA* pData) { return ::SendMessageA(m_hWnd, BGM_SETFINDDATA, (WPARAM)pData, 0); }
LRESULT CMFCBytegrid::FindNext(HEXFINDNEXT* pNext) { return ::SendMessageA(m_hWnd, BGM_FINDNEXT, (WPARAM)pNext, 0); }

void CMFCBytegrid::OnRButtonDown(UINT nFlags, CPoint point)
{
    TrackContextMenu(this, IDR_CONTEXT_HEX, point);
    CWnd::OnRButtonDown(nFlags, point);
}
