// docwrappers.h - framework windows over the two foreign child windows the
// extra documents host: the "CompareWin" window of pairview.dll and the
// "BytegridWin" hex control of bytegrid.dll.
//
// Each wrapper turns calls into SendMessage calls to its window and shows a
// context menu on a right click (menu 143 for the compare window, 117 for the
// hex control) whose commands go to the active MDI child frame.
#pragma once

#include <fx/fx.h>

#include <bytegrid.h>
#include <comparewin.h>

class CMFCCompare : public CWnd {
public:
    // Compares two files into resultPath (created or overwritten); the window
    // shows the result. Nonzero when the compare ran and its result is shown.
    LRESULT Compare(LPCSTR lpszFirst, LPCSTR lpszSecond, LPCSTR lpszResult);
    LRESULT CanCopy();
    void Copy();
    void SelectAll();

protected:
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

// The records the hex control's search messages take.
typedef BGFINDDATA HEXFINDDATA;
typedef BGFINDNEXT HEXFINDNEXT;

class CMFCBytegrid : public CWnd {
public:
    // Clipboard operations: TRUE when done; a failure is signalled to the
    // control (2175) and the result is FALSE.
    LRESULT Copy();
    LRESULT Cut();
    LRESULT Paste();
    LRESULT CanCopy();
    LRESULT CanPaste();
    void Undo();
    void Redo();
    LRESULT CanUndo();
    LRESULT CanRedo();
    // Loads / writes the file; TRUE on success, FALSE with the reason in
    // GetLastError(). An empty path sends nothing and gives FALSE.
    BOOL LoadFile(LPCSTR lpszPath);
    BOOL SaveFile(LPCSTR lpszPath);
    // Win32 error code of the control's last failed operation (0: none).
    DWORD GetLastError();
    ULONGLONG GetPosition();
    void SetPosition(ULONGLONG nPos);
    void SetSelection(ULONGLONG nStart, ULONGLONG nLength);
    void ScrollTo(ULONGLONG nPos);
    ULONGLONG GetLength();
    BOOL IsModified();
    LRESULT GetModeFlag();
    LRESULT SetOption(WPARAM nOption);
    LRESULT SetFindData(HEXFINDDATA* pData);
    LRESULT FindNext(HEXFINDNEXT* pNext);

protected:
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
