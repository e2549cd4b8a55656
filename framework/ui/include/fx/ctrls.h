// fx/ctrls.h - wrappers of the standard and common controls.
//
// Create(style, rect, parent, id) makes the control as a child window
// (WS_CHILD is added) attached to the object; SubclassDlgItem attaches a
// control of a dialog template. The members are thin forwards to the
// control's messages. Owner-drawn buttons, list boxes and combo boxes get
// their DrawItem / MeasureItem / CompareItem / DeleteItem calls from the
// parent's reflected messages.
#pragma once

#include "fx/wnd.h"
#include "fx/imagelist.h"
#include "fx/coll.h"
#include <commctrl.h>
#include <richedit.h>

namespace fx {
// Registers the common-control classes of the ICC_* set once per process.
void InitCommonControlsFor(DWORD dwICC);
} // namespace fx

// ---------------------------------------------------------------------------
class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;
    virtual BOOL Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff);
    HICON SetIcon(HICON hIcon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)hIcon, 0); }
    HICON GetIcon() const { return (HICON)SendMessage(STM_GETICON, 0, 0); }
    HBITMAP SetBitmap(HBITMAP hBitmap) { return (HBITMAP)SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap); }
    HBITMAP GetBitmap() const { return (HBITMAP)SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0); }
    HCURSOR SetCursor(HCURSOR hCursor) { return (HCURSOR)SendMessage(STM_SETIMAGE, IMAGE_CURSOR, (LPARAM)hCursor); }
    HCURSOR GetCursor() { return (HCURSOR)SendMessage(STM_GETIMAGE, IMAGE_CURSOR, 0); }
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// ---------------------------------------------------------------------------
class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;
    virtual BOOL Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE, 0, 0); }
    void SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, bHighlight, 0); }
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK, 0, 0); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, (WPARAM)nCheck, 0); }
    UINT GetButtonStyle() const { return (UINT)GetWindowLongPtrA(m_hWnd, GWL_STYLE) & 0xFFFF; }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { SendMessage(BM_SETSTYLE, nStyle, (LPARAM)bRedraw); }
    HICON SetIcon(HICON hIcon) { return (HICON)SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)hIcon); }
    HICON GetIcon() const { return (HICON)SendMessage(BM_GETIMAGE, IMAGE_ICON, 0); }
    HBITMAP SetBitmap(HBITMAP hBitmap) { return (HBITMAP)SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap); }
    HBITMAP GetBitmap() const { return (HBITMAP)SendMessage(BM_GETIMAGE, IMAGE_BITMAP, 0); }
    HCURSOR SetCursor(HCURSOR hCursor) { return (HCURSOR)SendMessage(BM_SETIMAGE, IMAGE_CURSOR, (LPARAM)hCursor); }
    void Click() { SendMessage(BM_CLICK, 0, 0); }
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// ---------------------------------------------------------------------------
class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    BOOL CanUndo() const { return (BOOL)SendMessage(EM_CANUNDO, 0, 0); }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT, 0, 0); }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, bModified, 0); }
    void GetRect(LPRECT lpRect) const { SendMessage(EM_GETRECT, 0, (LPARAM)lpRect); }
    DWORD GetSel() const { return (DWORD)SendMessage(EM_GETSEL, 0, 0); }
    void GetSel(int& nStartChar, int& nEndChar) const
    {
        DWORD dwStart = 0, dwEnd = 0;
        SendMessage(EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
        nStartChar = (int)dwStart;
        nEndChar = (int)dwEnd;
    }
    HLOCAL GetHandle() const { return (HLOCAL)SendMessage(EM_GETHANDLE, 0, 0); }
    void SetHandle(HLOCAL hBuffer) { SendMessage(EM_SETHANDLE, (WPARAM)hBuffer, 0); }
    void SetMargins(UINT nLeft, UINT nRight) { SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight)); }
    DWORD GetMargins() const { return (DWORD)SendMessage(EM_GETMARGINS, 0, 0); }
    void SetLimitText(UINT nMax) { SendMessage(EM_SETLIMITTEXT, nMax, 0); }
    UINT GetLimitText() const { return (UINT)SendMessage(EM_GETLIMITTEXT, 0, 0); }
    CPoint PosFromChar(UINT nChar) const { return CPoint((LPARAM)SendMessage(EM_POSFROMCHAR, nChar, 0)); }
    int CharFromPos(CPoint pt) const { return (int)SendMessage(EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y)); }
    // nIndex: the line; lpszBuffer receives up to nMaxLength characters (not
    // NUL-terminated by the control: the count is returned).
    int GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const;
    int GetLine(int nIndex, LPSTR lpszBuffer) const;

    void EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER, 0, 0); }
    BOOL FmtLines(BOOL bAddEOL) { return (BOOL)SendMessage(EM_FMTLINES, bAddEOL, 0); }
    void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, (WPARAM)nChars, 0); }
    int LineFromChar(int nIndex = -1) const { return (int)SendMessage(EM_LINEFROMCHAR, (WPARAM)nIndex, 0); }
    int LineIndex(int nLine = -1) const { return (int)SendMessage(EM_LINEINDEX, (WPARAM)nLine, 0); }
    int LineLength(int nLine = -1) const { return (int)SendMessage(EM_LINELENGTH, (WPARAM)nLine, 0); }
    void LineScroll(int nLines, int nChars = 0) { SendMessage(EM_LINESCROLL, (WPARAM)nChars, (LPARAM)nLines); }
    void ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo = FALSE) { SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText); }
    void SetPasswordChar(char ch) { SendMessage(EM_SETPASSWORDCHAR, (WPARAM)(BYTE)ch, 0); }
    char GetPasswordChar() const { return (char)SendMessage(EM_GETPASSWORDCHAR, 0, 0); }
    void SetRect(LPCRECT lpRect) { SendMessage(EM_SETRECT, 0, (LPARAM)lpRect); }
    void SetRectNP(LPCRECT lpRect) { SendMessage(EM_SETRECTNP, 0, (LPARAM)lpRect); }
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE)
    {
        SendMessage(EM_SETSEL, LOWORD(dwSelection), (LPARAM)(short)HIWORD(dwSelection));
        if (!bNoScroll)
            SendMessage(EM_SCROLLCARET, 0, 0);
    }
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE)
    {
        SendMessage(EM_SETSEL, (WPARAM)nStartChar, (LPARAM)nEndChar);
        if (!bNoScroll)
            SendMessage(EM_SCROLLCARET, 0, 0);
    }
    BOOL SetTabStops(int nTabStops, LPINT rgTabStops) { return (BOOL)SendMessage(EM_SETTABSTOPS, (WPARAM)nTabStops, (LPARAM)rgTabStops); }
    void SetTabStops() { SendMessage(EM_SETTABSTOPS, 0, 0); }
    BOOL SetTabStops(const int& cxEachStop) { return (BOOL)SendMessage(EM_SETTABSTOPS, 1, (LPARAM)&cxEachStop); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO, 0, 0); }
    void Clear() { SendMessage(WM_CLEAR, 0, 0); }
    void Copy() { SendMessage(WM_COPY, 0, 0); }
    void Cut() { SendMessage(WM_CUT, 0, 0); }
    void Paste() { SendMessage(WM_PASTE, 0, 0); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, bReadOnly, 0); }
    int GetFirstVisibleLine() const { return (int)SendMessage(EM_GETFIRSTVISIBLELINE, 0, 0); }
};

// ---------------------------------------------------------------------------
class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    CListBox() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const { return (int)SendMessage(LB_GETCOUNT, 0, 0); }
    int GetHorizontalExtent() const { return (int)SendMessage(LB_GETHORIZONTALEXTENT, 0, 0); }
    void SetHorizontalExtent(int cxExtent) { SendMessage(LB_SETHORIZONTALEXTENT, (WPARAM)cxExtent, 0); }
    int GetTopIndex() const { return (int)SendMessage(LB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int nIndex) { return (int)SendMessage(LB_SETTOPINDEX, (WPARAM)nIndex, 0); }
    LCID GetLocale() const { return (LCID)SendMessage(LB_GETLOCALE, 0, 0); }
    LCID SetLocale(LCID nNewLocale) { return (LCID)SendMessage(LB_SETLOCALE, (WPARAM)nNewLocale, 0); }
    int InitStorage(int nItems, UINT nBytes) { return (int)SendMessage(LB_INITSTORAGE, (WPARAM)nItems, nBytes); }
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const
    {
        DWORD dw = (DWORD)SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
        bOutside = (BOOL)HIWORD(dw);
        return LOWORD(dw);
    }

    // Single-selection boxes.
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) { return (int)SendMessage(LB_SETCURSEL, (WPARAM)nSelect, 0); }
    // Multiple-selection boxes.
    int GetSel(int nIndex) const { return (int)SendMessage(LB_GETSEL, (WPARAM)nIndex, 0); }
    int SetSel(int nIndex, BOOL bSelect = TRUE) { return (int)SendMessage(LB_SETSEL, bSelect, (LPARAM)nIndex); }
    int GetSelCount() const { return (int)SendMessage(LB_GETSELCOUNT, 0, 0); }
    int GetSelItems(int nMaxItems, LPINT rgIndex) const { return (int)SendMessage(LB_GETSELITEMS, (WPARAM)nMaxItems, (LPARAM)rgIndex); }
    void SetAnchorIndex(int nIndex) { SendMessage(LB_SETANCHORINDEX, (WPARAM)nIndex, 0); }
    int GetAnchorIndex() const { return (int)SendMessage(LB_GETANCHORINDEX, 0, 0); }
    int SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem)
    {
        return bSelect ? (int)SendMessage(LB_SELITEMRANGEEX, (WPARAM)nFirstItem, (LPARAM)nLastItem)
                       : (int)SendMessage(LB_SELITEMRANGEEX, (WPARAM)nLastItem, (LPARAM)nFirstItem);
    }
    int GetCaretIndex() const { return (int)SendMessage(LB_GETCARETINDEX, 0, 0); }
    int SetCaretIndex(int nIndex, BOOL bScroll = TRUE) { return (int)SendMessage(LB_SETCARETINDEX, (WPARAM)nIndex, MAKELONG(bScroll, 0)); }

    DWORD_PTR GetItemData(int nIndex) const { return (DWORD_PTR)SendMessage(LB_GETITEMDATA, (WPARAM)nIndex, 0); }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) { return (int)SendMessage(LB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData); }
    void* GetItemDataPtr(int nIndex) const { return (void*)GetItemData(nIndex); }
    int SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, (DWORD_PTR)pData); }
    int GetItemRect(int nIndex, LPRECT lpRect) const { return (int)SendMessage(LB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect); }
    int GetText(int nIndex, LPSTR lpszBuffer) const { return (int)SendMessage(LB_GETTEXT, (WPARAM)nIndex, (LPARAM)lpszBuffer); }
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const { return (int)SendMessage(LB_GETTEXTLEN, (WPARAM)nIndex, 0); }
    void SetColumnWidth(int cxWidth) { SendMessage(LB_SETCOLUMNWIDTH, (WPARAM)cxWidth, 0); }
    BOOL SetTabStops(int nTabStops, LPINT rgTabStops) { return (BOOL)SendMessage(LB_SETTABSTOPS, (WPARAM)nTabStops, (LPARAM)rgTabStops); }
    void SetTabStops() { SendMessage(LB_SETTABSTOPS, 0, 0); }
    BOOL SetTabStops(const int& cxEachStop) { return (BOOL)SendMessage(LB_SETTABSTOPS, 1, (LPARAM)&cxEachStop); }
    int SetItemHeight(int nIndex, UINT cyItemHeight) { return (int)SendMessage(LB_SETITEMHEIGHT, (WPARAM)nIndex, MAKELONG(cyItemHeight, 0)); }
    int GetItemHeight(int nIndex) const { return (int)SendMessage(LB_GETITEMHEIGHT, (WPARAM)nIndex, 0); }
    int FindStringExact(int nIndexStart, LPCSTR lpszFind) const
    {
        return (int)SendMessage(LB_FINDSTRINGEXACT, (WPARAM)nIndexStart, (LPARAM)lpszFind);
    }

    int AddString(LPCSTR lpszItem) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)lpszItem); }
    int DeleteString(UINT nIndex) { return (int)SendMessage(LB_DELETESTRING, nIndex, 0); }
    int InsertString(int nIndex, LPCSTR lpszItem) { return (int)SendMessage(LB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszItem); }
    void ResetContent() { SendMessage(LB_RESETCONTENT, 0, 0); }
    int Dir(UINT attr, LPCSTR lpszWildCard) { return (int)SendMessage(LB_DIR, attr, (LPARAM)lpszWildCard); }
    int FindString(int nStartAfter, LPCSTR lpszItem) const { return (int)SendMessage(LB_FINDSTRING, (WPARAM)nStartAfter, (LPARAM)lpszItem); }
    int SelectString(int nStartAfter, LPCSTR lpszItem) { return (int)SendMessage(LB_SELECTSTRING, (WPARAM)nStartAfter, (LPARAM)lpszItem); }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
    virtual int VKeyToItem(UINT nKey, UINT nIndex);
    virtual int CharToItem(UINT nKey, UINT nIndex);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// ---------------------------------------------------------------------------
class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const { return (int)SendMessage(CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)nSelect, 0); }
    LCID GetLocale() const { return (LCID)SendMessage(CB_GETLOCALE, 0, 0); }
    LCID SetLocale(LCID nNewLocale) { return (LCID)SendMessage(CB_SETLOCALE, (WPARAM)nNewLocale, 0); }
    int GetTopIndex() const { return (int)SendMessage(CB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int nIndex) { return (int)SendMessage(CB_SETTOPINDEX, (WPARAM)nIndex, 0); }
    int InitStorage(int nItems, UINT nBytes) { return (int)SendMessage(CB_INITSTORAGE, (WPARAM)nItems, nBytes); }
    void SetHorizontalExtent(UINT nExtent) { SendMessage(CB_SETHORIZONTALEXTENT, nExtent, 0); }
    UINT GetHorizontalExtent() const { return (UINT)SendMessage(CB_GETHORIZONTALEXTENT, 0, 0); }
    int SetDroppedWidth(UINT nWidth) { return (int)SendMessage(CB_SETDROPPEDWIDTH, nWidth, 0); }
    int GetDroppedWidth() const { return (int)SendMessage(CB_GETDROPPEDWIDTH, 0, 0); }
    // Selection of the edit part: start in the low word, end in the high word.
    DWORD GetEditSel() const { return (DWORD)SendMessage(CB_GETEDITSEL, 0, 0); }
    BOOL LimitText(int nMaxChars) { return (BOOL)SendMessage(CB_LIMITTEXT, (WPARAM)nMaxChars, 0); }
    BOOL SetEditSel(int nStartChar, int nEndChar) { return (BOOL)SendMessage(CB_SETEDITSEL, 0, MAKELONG(nStartChar, nEndChar)); }
    DWORD_PTR GetItemData(int nIndex) const { return (DWORD_PTR)SendMessage(CB_GETITEMDATA, (WPARAM)nIndex, 0); }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) { return (int)SendMessage(CB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData); }
    void* GetItemDataPtr(int nIndex) const { return (void*)GetItemData(nIndex); }
    int SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, (DWORD_PTR)pData); }
    int GetLBText(int nIndex, LPSTR lpszText) const { return (int)SendMessage(CB_GETLBTEXT, (WPARAM)nIndex, (LPARAM)lpszText); }
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const { return (int)SendMessage(CB_GETLBTEXTLEN, (WPARAM)nIndex, 0); }
    int SetItemHeight(int nIndex, UINT cyItemHeight) { return (int)SendMessage(CB_SETITEMHEIGHT, (WPARAM)nIndex, MAKELONG(cyItemHeight, 0)); }
    int GetItemHeight(int nIndex) const { return (int)SendMessage(CB_GETITEMHEIGHT, (WPARAM)nIndex, 0); }
    int FindStringExact(int nIndexStart, LPCSTR lpszFind) const
    {
        return (int)SendMessage(CB_FINDSTRINGEXACT, (WPARAM)nIndexStart, (LPARAM)lpszFind);
    }
    int SetExtendedUI(BOOL bExtended = TRUE) { return (int)SendMessage(CB_SETEXTENDEDUI, bExtended, 0); }
    BOOL GetExtendedUI() const { return (BOOL)SendMessage(CB_GETEXTENDEDUI, 0, 0); }
    void GetDroppedControlRect(LPRECT lprect) const { SendMessage(CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)lprect); }
    BOOL GetDroppedState() const { return (BOOL)SendMessage(CB_GETDROPPEDSTATE, 0, 0); }
    void ShowDropDown(BOOL bShowIt = TRUE) { SendMessage(CB_SHOWDROPDOWN, bShowIt, 0); }

    int AddString(LPCSTR lpszString) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)lpszString); }
    int DeleteString(UINT nIndex) { return (int)SendMessage(CB_DELETESTRING, nIndex, 0); }
    int InsertString(int nIndex, LPCSTR lpszString) { return (int)SendMessage(CB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszString); }
    void ResetContent() { SendMessage(CB_RESETCONTENT, 0, 0); }
    int Dir(UINT attr, LPCSTR lpszWildCard) { return (int)SendMessage(CB_DIR, attr, (LPARAM)lpszWildCard); }
    int FindString(int nStartAfter, LPCSTR lpszString) const { return (int)SendMessage(CB_FINDSTRING, (WPARAM)nStartAfter, (LPARAM)lpszString); }
    int SelectString(int nStartAfter, LPCSTR lpszString) { return (int)SendMessage(CB_SELECTSTRING, (WPARAM)nStartAfter, (LPARAM)lpszString); }
    void Clear() { SendMessage(WM_CLEAR, 0, 0); }
    void Copy() { SendMessage(WM_COPY, 0, 0); }
    void Cut() { SendMessage(WM_CUT, 0, 0); }
    void Paste() { SendMessage(WM_PASTE, 0, 0); }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// ---------------------------------------------------------------------------
class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    CScrollBar() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const { ::GetScrollRange(m_hWnd, SB_CTL, lpMinPos, lpMaxPos); }
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw); }
    void ShowScrollBar(BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, SB_CTL, bShow); }
    BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, SB_CTL, nArrowFlags); }
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE)
    {
        lpScrollInfo->cbSize = sizeof(SCROLLINFO);
        ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
        return TRUE;
    }
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL)
    {
        lpScrollInfo->cbSize = sizeof(SCROLLINFO);
        lpScrollInfo->fMask = nMask;
        return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
    }
    int GetScrollLimit() { return CWnd::GetScrollLimit(SB_CTL); }
};

// ---------------------------------------------------------------------------
class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    CSpinButtonCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL SetAccel(int nAccel, UDACCEL* pAccel) { return (BOOL)SendMessage(UDM_SETACCEL, (WPARAM)nAccel, (LPARAM)pAccel); }
    UINT GetAccel(int nAccel, UDACCEL* pAccel) const { return (UINT)SendMessage(UDM_GETACCEL, (WPARAM)nAccel, (LPARAM)pAccel); }
    int SetBase(int nBase) { return (int)SendMessage(UDM_SETBASE, (WPARAM)nBase, 0); }
    UINT GetBase() const { return (UINT)SendMessage(UDM_GETBASE, 0, 0); }
    CWnd* SetBuddy(CWnd* pWndBuddy) { return CWnd::FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)pWndBuddy->GetSafeHwnd(), 0)); }
    CWnd* GetBuddy() const { return CWnd::FromHandle((HWND)SendMessage(UDM_GETBUDDY, 0, 0)); }
    int SetPos(int nPos) { return (int)SendMessage(UDM_SETPOS32, 0, (LPARAM)nPos); }
    int GetPos() const { return (int)SendMessage(UDM_GETPOS32, 0, 0); }
    int SetPos32(int nPos) { return SetPos(nPos); }
    int GetPos32(LPBOOL lpbError = NULL) const { return (int)SendMessage(UDM_GETPOS32, 0, (LPARAM)lpbError); }
    void SetRange(short nLower, short nUpper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
    void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper); }
    DWORD GetRange() const { return (DWORD)SendMessage(UDM_GETRANGE, 0, 0); }
    void GetRange(int& lower, int& upper) const
    {
        DWORD dw = GetRange();
        lower = (short)HIWORD(dw);
        upper = (short)LOWORD(dw);
    }
    void GetRange32(int& lower, int& upper) const { SendMessage(UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper); }
};

// ---------------------------------------------------------------------------
class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper); }
    void GetRange(int& nLower, int& nUpper) const
    {
        PBRANGE range;
        SendMessage(PBM_GETRANGE, FALSE, (LPARAM)&range);
        nLower = range.iLow;
        nUpper = range.iHigh;
    }
    int GetPos() const { return (int)SendMessage(PBM_GETPOS, 0, 0); }
    int SetPos(int nPos) { return (int)SendMessage(PBM_SETPOS, (WPARAM)nPos, 0); }
    int OffsetPos(int nPos) { return (int)SendMessage(PBM_DELTAPOS, (WPARAM)nPos, 0); }
    int SetStep(int nStep) { return (int)SendMessage(PBM_SETSTEP, (WPARAM)nStep, 0); }
    int StepIt() { return (int)SendMessage(PBM_STEPIT, 0, 0); }
    COLORREF SetBkColor(COLORREF clrNew) { return (COLORREF)SendMessage(PBM_SETBKCOLOR, 0, (LPARAM)clrNew); }
    COLORREF SetBarColor(COLORREF clrBar) { return (COLORREF)SendMessage(PBM_SETBARCOLOR, 0, (LPARAM)clrBar); }
};

// ---------------------------------------------------------------------------
class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    CSliderCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetLineSize() const { return (int)SendMessage(TBM_GETLINESIZE, 0, 0); }
    int SetLineSize(int nSize) { return (int)SendMessage(TBM_SETLINESIZE, 0, (LPARAM)nSize); }
    int GetPageSize() const { return (int)SendMessage(TBM_GETPAGESIZE, 0, 0); }
    int SetPageSize(int nSize) { return (int)SendMessage(TBM_SETPAGESIZE, 0, (LPARAM)nSize); }
    int GetRangeMax() const { return (int)SendMessage(TBM_GETRANGEMAX, 0, 0); }
    int GetRangeMin() const { return (int)SendMessage(TBM_GETRANGEMIN, 0, 0); }
    void GetRange(int& nMin, int& nMax) const
    {
        nMin = GetRangeMin();
        nMax = GetRangeMax();
    }
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMIN, bRedraw, (LPARAM)nMin); }
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMAX, bRedraw, (LPARAM)nMax); }
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE)
    {
        SetRangeMin(nMin, FALSE);
        SetRangeMax(nMax, bRedraw);
    }
    void GetSelection(int& nMin, int& nMax) const
    {
        nMin = (int)SendMessage(TBM_GETSELSTART, 0, 0);
        nMax = (int)SendMessage(TBM_GETSELEND, 0, 0);
    }
    void SetSelection(int nMin, int nMax)
    {
        SendMessage(TBM_SETSELSTART, FALSE, (LPARAM)nMin);
        SendMessage(TBM_SETSELEND, TRUE, (LPARAM)nMax);
    }
    void GetChannelRect(LPRECT lprc) const { SendMessage(TBM_GETCHANNELRECT, 0, (LPARAM)lprc); }
    void GetThumbRect(LPRECT lprc) const { SendMessage(TBM_GETTHUMBRECT, 0, (LPARAM)lprc); }
    int GetPos() const { return (int)SendMessage(TBM_GETPOS, 0, 0); }
    void SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, (LPARAM)nPos); }
    UINT GetNumTics() const { return (UINT)SendMessage(TBM_GETNUMTICS, 0, 0); }
    BOOL SetTic(int nTic) { return (BOOL)SendMessage(TBM_SETTIC, 0, (LPARAM)nTic); }
    void SetTicFreq(int nFreq) { SendMessage(TBM_SETTICFREQ, (WPARAM)nFreq, 0); }
    void ClearSel(BOOL bRedraw = FALSE) { SendMessage(TBM_CLEARSEL, bRedraw, 0); }
    void ClearTics(BOOL bRedraw = FALSE) { SendMessage(TBM_CLEARTICS, bRedraw, 0); }
};

// ---------------------------------------------------------------------------
class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() = default;
    // A pop-up tool tip window owned by pParentWnd.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate, 0); }
    // A tool covering lpRectTool (the whole client area when NULL) of pWnd;
    // nIDTool 0 with no rectangle makes the window itself the tool.
    BOOL AddTool(CWnd* pWnd, LPCSTR lpszText = LPSTR_TEXTCALLBACKA, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    BOOL GetToolInfo(TOOLINFOA* pToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(TOOLINFOA* pToolInfo) { SendMessage(TTM_SETTOOLINFOA, 0, (LPARAM)pToolInfo); }
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT, 0, 0); }
    void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)lpMsg); }
    void SetDelayTime(UINT nDelay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, (LPARAM)nDelay); }
    void SetDelayTime(DWORD dwDuration, int iTime) { SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0)); }
    int GetDelayTime(DWORD dwDuration) const { return (int)SendMessage(TTM_GETDELAYTIME, dwDuration, 0); }
    int SetMaxTipWidth(int iWidth) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, (LPARAM)iWidth); }
    void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, (WPARAM)clr, 0); }
    void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, (WPARAM)clr, 0); }
    void SetMargin(LPRECT lprc) { SendMessage(TTM_SETMARGIN, 0, (LPARAM)lprc); }
    void Pop() { SendMessage(TTM_POP, 0, 0); }
    void Update() { SendMessage(TTM_UPDATE, 0, 0); }
    BOOL SetTitle(UINT uIcon, LPCSTR lpstrTitle) { return (BOOL)SendMessage(TTM_SETTITLEA, uIcon, (LPARAM)lpstrTitle); }

protected:
    void FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};

// ---------------------------------------------------------------------------
class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    CTabCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    CImageList* GetImageList() const { return CImageList::FromHandle((HIMAGELIST)SendMessage(TCM_GETIMAGELIST, 0, 0)); }
    CImageList* SetImageList(CImageList* pImageList)
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(TCM_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
    }
    int GetItemCount() const { return (int)SendMessage(TCM_GETITEMCOUNT, 0, 0); }
    BOOL GetItem(int nItem, TCITEMA* pTabCtrlItem) const { return (BOOL)SendMessage(TCM_GETITEMA, (WPARAM)nItem, (LPARAM)pTabCtrlItem); }
    BOOL SetItem(int nItem, TCITEMA* pTabCtrlItem) { return (BOOL)SendMessage(TCM_SETITEMA, (WPARAM)nItem, (LPARAM)pTabCtrlItem); }
    BOOL GetItemRect(int nItem, LPRECT lpRect) const { return (BOOL)SendMessage(TCM_GETITEMRECT, (WPARAM)nItem, (LPARAM)lpRect); }
    int GetCurSel() const { return (int)SendMessage(TCM_GETCURSEL, 0, 0); }
    int SetCurSel(int nItem) { return (int)SendMessage(TCM_SETCURSEL, (WPARAM)nItem, 0); }
    int GetCurFocus() const { return (int)SendMessage(TCM_GETCURFOCUS, 0, 0); }
    void SetCurFocus(int nItem) { SendMessage(TCM_SETCURFOCUS, (WPARAM)nItem, 0); }
    CSize SetItemSize(CSize size) { return CSize((DWORD)SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy))); }
    void SetPadding(CSize size) { SendMessage(TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }
    int GetRowCount() const { return (int)SendMessage(TCM_GETROWCOUNT, 0, 0); }
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* pWndTip) { SendMessage(TCM_SETTOOLTIPS, (WPARAM)pWndTip->GetSafeHwnd(), 0); }
    int SetMinTabWidth(int cx) { return (int)SendMessage(TCM_SETMINTABWIDTH, 0, (LPARAM)cx); }
    LONG InsertItem(int nItem, TCITEMA* pTabCtrlItem) { return (LONG)SendMessage(TCM_INSERTITEMA, (WPARAM)nItem, (LPARAM)pTabCtrlItem); }
    LONG InsertItem(int nItem, LPCSTR lpszItem);
    LONG InsertItem(int nItem, LPCSTR lpszItem, int nImage);
    BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(TCM_DELETEITEM, (WPARAM)nItem, 0); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TCM_DELETEALLITEMS, 0, 0); }
    void AdjustRect(BOOL bLarger, LPRECT lpRect) { SendMessage(TCM_ADJUSTRECT, bLarger, (LPARAM)lpRect); }
    void RemoveImage(int nImage) { SendMessage(TCM_REMOVEIMAGE, (WPARAM)nImage, 0); }
    int HitTest(TCHITTESTINFO* pHitTestInfo) const { return (int)SendMessage(TCM_HITTEST, 0, (LPARAM)pHitTestInfo); }
    void DeselectAll(BOOL fExcludeFocus) { SendMessage(TCM_DESELECTALL, fExcludeFocus, 0); }
    BOOL HighlightItem(int idItem, BOOL fHighlight = TRUE)
    {
        return (BOOL)SendMessage(TCM_HIGHLIGHTITEM, (WPARAM)idItem, MAKELPARAM(fHighlight, 0));
    }
};

// ---------------------------------------------------------------------------
class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    CHeaderCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT, 0, 0); }
    BOOL GetItem(int nPos, HDITEMA* pHeaderItem) const { return (BOOL)SendMessage(HDM_GETITEMA, (WPARAM)nPos, (LPARAM)pHeaderItem); }
    BOOL SetItem(int nPos, HDITEMA* pHeaderItem) { return (BOOL)SendMessage(HDM_SETITEMA, (WPARAM)nPos, (LPARAM)pHeaderItem); }
    int InsertItem(int nPos, HDITEMA* phdi) { return (int)SendMessage(HDM_INSERTITEMA, (WPARAM)nPos, (LPARAM)phdi); }
    BOOL DeleteItem(int nPos) { return (BOOL)SendMessage(HDM_DELETEITEM, (WPARAM)nPos, 0); }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const { return (BOOL)SendMessage(HDM_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect); }
    BOOL Layout(HDLAYOUT* pHeaderLayout) { return (BOOL)SendMessage(HDM_LAYOUT, 0, (LPARAM)pHeaderLayout); }
    int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo) { return (int)SendMessage(HDM_HITTEST, 0, (LPARAM)pHeaderHitTestInfo); }
    CImageList* SetImageList(CImageList* pImageList)
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(HDM_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
    }
    CImageList* GetImageList() const { return CImageList::FromHandle((HIMAGELIST)SendMessage(HDM_GETIMAGELIST, 0, 0)); }
    BOOL GetOrderArray(LPINT piArray, int iCount) const { return (BOOL)SendMessage(HDM_GETORDERARRAY, (WPARAM)iCount, (LPARAM)piArray); }
    BOOL SetOrderArray(int iCount, LPINT piArray) { return (BOOL)SendMessage(HDM_SETORDERARRAY, (WPARAM)iCount, (LPARAM)piArray); }
};

// ---------------------------------------------------------------------------
class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    COLORREF GetBkColor() const { return (COLORREF)SendMessage(LVM_GETBKCOLOR, 0, 0); }
    BOOL SetBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETBKCOLOR, 0, (LPARAM)cr); }
    COLORREF GetTextColor() const { return (COLORREF)SendMessage(LVM_GETTEXTCOLOR, 0, 0); }
    BOOL SetTextColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTCOLOR, 0, (LPARAM)cr); }
    COLORREF GetTextBkColor() const { return (COLORREF)SendMessage(LVM_GETTEXTBKCOLOR, 0, 0); }
    BOOL SetTextBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTBKCOLOR, 0, (LPARAM)cr); }
    CImageList* GetImageList(int nImageList) const
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(LVM_GETIMAGELIST, (WPARAM)nImageList, 0));
    }
    CImageList* SetImageList(CImageList* pImageList, int nImageListType)
    {
        return CImageList::FromHandle(
            (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, (WPARAM)nImageListType, (LPARAM)pImageList->GetSafeHandle()));
    }
    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT, 0, 0); }
    void SetItemCount(int nItems) { SendMessage(LVM_SETITEMCOUNT, (WPARAM)nItems, 0); }
    void SetItemCountEx(int iCount, DWORD dwFlags = LVSICF_NOINVALIDATEALL) { SendMessage(LVM_SETITEMCOUNT, (WPARAM)iCount, (LPARAM)dwFlags); }
    BOOL GetItem(LVITEMA* pItem) const { return (BOOL)SendMessage(LVM_GETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(const LVITEMA* pItem) { return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                 LPARAM lParam);
    UINT GetCallbackMask() const { return (UINT)SendMessage(LVM_GETCALLBACKMASK, 0, 0); }
    BOOL SetCallbackMask(UINT nMask) { return (BOOL)SendMessage(LVM_SETCALLBACKMASK, nMask, 0); }
    int GetNextItem(int nItem, int nFlags) const { return (int)SendMessage(LVM_GETNEXTITEM, (WPARAM)nItem, MAKELPARAM(nFlags, 0)); }
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
    {
        lpRect->left = (LONG)nCode;
        return (BOOL)SendMessage(LVM_GETITEMRECT, (WPARAM)nItem, (LPARAM)lpRect);
    }
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const
    {
        ref.top = iSubItem;
        ref.left = nArea;
        return (BOOL)SendMessage(LVM_GETSUBITEMRECT, (WPARAM)iItem, (LPARAM)&ref);
    }
    BOOL SetItemPosition(int nItem, POINT pt) { return (BOOL)SendMessage(LVM_SETITEMPOSITION32, (WPARAM)nItem, (LPARAM)&pt); }
    BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const { return (BOOL)SendMessage(LVM_GETITEMPOSITION, (WPARAM)nItem, (LPARAM)lpPoint); }
    int GetStringWidth(LPCSTR lpsz) const { return (int)SendMessage(LVM_GETSTRINGWIDTHA, 0, (LPARAM)lpsz); }
    CEdit* GetEditControl() const;
    BOOL GetColumn(int nCol, LVCOLUMNA* pColumn) const { return (BOOL)SendMessage(LVM_GETCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn); }
    BOOL SetColumn(int nCol, const LVCOLUMNA* pColumn) { return (BOOL)SendMessage(LVM_SETCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn); }
    int GetColumnWidth(int nCol) const { return (int)SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)nCol, 0); }
    BOOL SetColumnWidth(int nCol, int cx) { return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, (WPARAM)nCol, MAKELPARAM(cx, 0)); }
    BOOL GetViewRect(LPRECT lpRect) const { return (BOOL)SendMessage(LVM_GETVIEWRECT, 0, (LPARAM)lpRect); }
    int GetTopIndex() const { return (int)SendMessage(LVM_GETTOPINDEX, 0, 0); }
    int GetCountPerPage() const { return (int)SendMessage(LVM_GETCOUNTPERPAGE, 0, 0); }
    BOOL GetOrigin(LPPOINT lpPoint) const { return (BOOL)SendMessage(LVM_GETORIGIN, 0, (LPARAM)lpPoint); }
    BOOL SetItemState(int nItem, LVITEMA* pItem) { return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)pItem); }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const { return (UINT)SendMessage(LVM_GETITEMSTATE, (WPARAM)nItem, (LPARAM)nMask); }
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPSTR lpszText, int nLen) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText);
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    UINT GetSelectedCount() const { return (UINT)SendMessage(LVM_GETSELECTEDCOUNT, 0, 0); }
    BOOL GetColumnOrderArray(LPINT piArray, int iCount = -1);
    BOOL SetColumnOrderArray(int iCount, LPINT piArray) { return (BOOL)SendMessage(LVM_SETCOLUMNORDERARRAY, (WPARAM)iCount, (LPARAM)piArray); }
    CSize SetIconSpacing(int cx, int cy) { return CSize((DWORD)SendMessage(LVM_SETICONSPACING, 0, MAKELONG(cx, cy))); }
    CHeaderCtrl* GetHeaderCtrl() const;
    DWORD GetExtendedStyle() const { return (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0); }
    DWORD SetExtendedStyle(DWORD dwNewStyle) { return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)dwNewStyle); }
    // Iteration over the selected items: the position is the item index + 1.
    POSITION GetFirstSelectedItemPosition() const
    {
        return (POSITION)(INT_PTR)(1 + GetNextItem(-1, LVIS_SELECTED));
    }
    int GetNextSelectedItem(POSITION& pos) const
    {
        int nOldPos = (int)(INT_PTR)pos - 1;
        pos = (POSITION)(INT_PTR)(1 + GetNextItem(nOldPos, LVIS_SELECTED));
        return nOldPos;
    }
    int GetHotItem() const { return (int)SendMessage(LVM_GETHOTITEM, 0, 0); }
    int SetHotItem(int iIndex) { return (int)SendMessage(LVM_SETHOTITEM, (WPARAM)iIndex, 0); }
    BOOL GetCheck(int nItem) const { return ((GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) - 1) != 0; }
    BOOL SetCheck(int nItem, BOOL fCheck = TRUE)
    {
        return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
    }

    int InsertItem(const LVITEMA* pItem) { return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)pItem); }
    int InsertItem(int nItem, LPCSTR lpszItem);
    int InsertItem(int nItem, LPCSTR lpszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(LVM_DELETEITEM, (WPARAM)nItem, 0); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS, 0, 0); }
    int FindItem(LVFINDINFOA* pFindInfo, int nStart = -1) const
    {
        return (int)SendMessage(LVM_FINDITEMA, (WPARAM)nStart, (LPARAM)pFindInfo);
    }
    int HitTest(LVHITTESTINFO* pHitTestInfo) const { return (int)SendMessage(LVM_HITTEST, 0, (LPARAM)pHitTestInfo); }
    int HitTest(CPoint pt, UINT* pFlags = NULL) const;
    int SubItemHitTest(LPLVHITTESTINFO pInfo) { return (int)SendMessage(LVM_SUBITEMHITTEST, 0, (LPARAM)pInfo); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) { return (BOOL)SendMessage(LVM_ENSUREVISIBLE, (WPARAM)nItem, MAKELPARAM(bPartialOK, 0)); }
    BOOL Scroll(CSize size) { return (BOOL)SendMessage(LVM_SCROLL, (WPARAM)size.cx, (LPARAM)size.cy); }
    BOOL RedrawItems(int nFirst, int nLast) { return (BOOL)SendMessage(LVM_REDRAWITEMS, (WPARAM)nFirst, (LPARAM)nLast); }
    BOOL Arrange(UINT nCode) { return (BOOL)SendMessage(LVM_ARRANGE, nCode, 0); }
    CEdit* EditLabel(int nItem);
    int InsertColumn(int nCol, const LVCOLUMNA* pColumn) { return (int)SendMessage(LVM_INSERTCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn); }
    int InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
    BOOL DeleteColumn(int nCol) { return (BOOL)SendMessage(LVM_DELETECOLUMN, (WPARAM)nCol, 0); }
    BOOL Update(int nItem) { return (BOOL)SendMessage(LVM_UPDATE, (WPARAM)nItem, 0); }
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) { return (BOOL)SendMessage(LVM_SORTITEMS, dwData, (LPARAM)pfnCompare); }
};

// ---------------------------------------------------------------------------
class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    CTreeCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
    UINT GetCount() const { return (UINT)SendMessage(TVM_GETCOUNT, 0, 0); }
    UINT GetIndent() const { return (UINT)SendMessage(TVM_GETINDENT, 0, 0); }
    void SetIndent(UINT nIndent) { SendMessage(TVM_SETINDENT, nIndent, 0); }
    CImageList* GetImageList(int nImageList) const
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(TVM_GETIMAGELIST, (WPARAM)nImageList, 0));
    }
    CImageList* SetImageList(CImageList* pImageList, int nImageListType)
    {
        return CImageList::FromHandle(
            (HIMAGELIST)SendMessage(TVM_SETIMAGELIST, (WPARAM)nImageListType, (LPARAM)pImageList->GetSafeHandle()));
    }
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const { return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, nCode, (LPARAM)hItem); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(NULL, TVGN_FIRSTVISIBLE); }
    HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXTVISIBLE); }
    HTREEITEM GetPrevVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUSVISIBLE); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(NULL, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(NULL, TVGN_DROPHILITE); }
    HTREEITEM GetRootItem() const { return GetNextItem(NULL, TVGN_ROOT); }
    BOOL GetItem(TVITEMA* pItem) const { return (BOOL)SendMessage(TVM_GETITEMA, 0, (LPARAM)pItem); }
    CString GetItemText(HTREEITEM hItem) const;
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItem(TVITEMA* pItem) { return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(HTREEITEM hItem, UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                 UINT nStateMask, LPARAM lParam);
    BOOL SetItemText(HTREEITEM hItem, LPCSTR lpszItem) { return SetItem(hItem, TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0); }
    BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage)
    {
        return SetItem(hItem, TVIF_IMAGE | TVIF_SELECTEDIMAGE, NULL, nImage, nSelectedImage, 0, 0, 0);
    }
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
    {
        return SetItem(hItem, TVIF_STATE, NULL, 0, 0, nState, nStateMask, 0);
    }
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData) { return SetItem(hItem, TVIF_PARAM, NULL, 0, 0, 0, 0, (LPARAM)dwData); }
    BOOL ItemHasChildren(HTREEITEM hItem) const;
    CEdit* GetEditControl() const;
    UINT GetVisibleCount() const { return (UINT)SendMessage(TVM_GETVISIBLECOUNT, 0, 0); }
    BOOL GetCheck(HTREEITEM hItem) const { return ((GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12) - 1) != 0; }
    BOOL SetCheck(HTREEITEM hItem, BOOL fCheck = TRUE)
    {
        return SetItemState(hItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), TVIS_STATEIMAGEMASK);
    }
    COLORREF GetBkColor() const { return (COLORREF)SendMessage(TVM_GETBKCOLOR, 0, 0); }
    COLORREF SetBkColor(COLORREF clr) { return (COLORREF)SendMessage(TVM_SETBKCOLOR, 0, (LPARAM)clr); }
    COLORREF GetTextColor() const { return (COLORREF)SendMessage(TVM_GETTEXTCOLOR, 0, 0); }
    COLORREF SetTextColor(COLORREF clr) { return (COLORREF)SendMessage(TVM_SETTEXTCOLOR, 0, (LPARAM)clr); }
    SHORT GetItemHeight() const { return (SHORT)SendMessage(TVM_GETITEMHEIGHT, 0, 0); }
    SHORT SetItemHeight(SHORT cyHeight) { return (SHORT)SendMessage(TVM_SETITEMHEIGHT, (WPARAM)cyHeight, 0); }

    HTREEITEM InsertItem(LPTVINSERTSTRUCTA lpInsertStruct) { return (HTREEITEM)SendMessage(TVM_INSERTITEMA, 0, (LPARAM)lpInsertStruct); }
    HTREEITEM InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState, UINT nStateMask,
                         LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
    HTREEITEM InsertItem(LPCSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
    HTREEITEM InsertItem(LPCSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    BOOL DeleteItem(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)hItem); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT); }
    BOOL Expand(HTREEITEM hItem, UINT nCode) { return (BOOL)SendMessage(TVM_EXPAND, nCode, (LPARAM)hItem); }
    BOOL Select(HTREEITEM hItem, UINT nCode) { return (BOOL)SendMessage(TVM_SELECTITEM, nCode, (LPARAM)hItem); }
    BOOL SelectItem(HTREEITEM hItem) { return Select(hItem, TVGN_CARET); }
    BOOL SelectDropTarget(HTREEITEM hItem) { return Select(hItem, TVGN_DROPHILITE); }
    BOOL SelectSetFirstVisible(HTREEITEM hItem) { return Select(hItem, TVGN_FIRSTVISIBLE); }
    CEdit* EditLabel(HTREEITEM hItem);
    HTREEITEM HitTest(CPoint pt, UINT* pFlags = NULL) const;
    HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const { return (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)pHitTestInfo); }
    CImageList* CreateDragImage(HTREEITEM hItem);
    BOOL SortChildren(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_SORTCHILDREN, 0, (LPARAM)hItem); }
    BOOL EnsureVisible(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)hItem); }
    BOOL SortChildrenCB(LPTVSORTCB pSort) { return (BOOL)SendMessage(TVM_SORTCHILDRENCB, 0, (LPARAM)pSort); }
};

// ---------------------------------------------------------------------------
class CRichEditCtrl : public CWnd {
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    CRichEditCtrl() = default;
    // The "RichEdit20A" class (riched20.dll is loaded on first use).
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT, 0, 0); }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, bModified, 0); }
    void GetSel(CHARRANGE& cr) const { SendMessage(EM_EXGETSEL, 0, (LPARAM)&cr); }
    void GetSel(long& nStartChar, long& nEndChar) const
    {
        CHARRANGE cr;
        SendMessage(EM_EXGETSEL, 0, (LPARAM)&cr);
        nStartChar = cr.cpMin;
        nEndChar = cr.cpMax;
    }
    void SetSel(long nStartChar, long nEndChar)
    {
        CHARRANGE cr = {nStartChar, nEndChar};
        SendMessage(EM_EXSETSEL, 0, (LPARAM)&cr);
    }
    void SetSel(CHARRANGE& cr) { SendMessage(EM_EXSETSEL, 0, (LPARAM)&cr); }
    void ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo = FALSE) { SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText); }
    long GetTextLength() const { return (long)SendMessage(WM_GETTEXTLENGTH, 0, 0); }
    void LimitText(long nChars = 0) { SendMessage(EM_EXLIMITTEXT, 0, nChars); }
    long LineFromChar(long nIndex) const { return (long)SendMessage(EM_EXLINEFROMCHAR, 0, nIndex); }
    int LineIndex(int nLine = -1) const { return (int)SendMessage(EM_LINEINDEX, (WPARAM)nLine, 0); }
    int LineLength(int nLine = -1) const { return (int)SendMessage(EM_LINELENGTH, (WPARAM)nLine, 0); }
    void LineScroll(int nLines, int nChars = 0) { SendMessage(EM_LINESCROLL, (WPARAM)nChars, (LPARAM)nLines); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, bReadOnly, 0); }
    COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr) { return (COLORREF)SendMessage(EM_SETBKGNDCOLOR, bSysColor, (LPARAM)cr); }
    DWORD GetDefaultCharFormat(CHARFORMATA& cf) const
    {
        cf.cbSize = sizeof(cf);
        return (DWORD)SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&cf);
    }
    BOOL SetDefaultCharFormat(CHARFORMATA& cf)
    {
        cf.cbSize = sizeof(cf);
        return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&cf);
    }
    DWORD GetSelectionCharFormat(CHARFORMATA& cf) const
    {
        cf.cbSize = sizeof(cf);
        return (DWORD)SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
    }
    BOOL SetSelectionCharFormat(CHARFORMATA& cf)
    {
        cf.cbSize = sizeof(cf);
        return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
    }
    DWORD GetEventMask() const { return (DWORD)SendMessage(EM_GETEVENTMASK, 0, 0); }
    DWORD SetEventMask(DWORD dwEventMask) { return (DWORD)SendMessage(EM_SETEVENTMASK, 0, (LPARAM)dwEventMask); }
    long StreamIn(int nFormat, EDITSTREAM& es) { return (long)SendMessage(EM_STREAMIN, (WPARAM)nFormat, (LPARAM)&es); }
    long StreamOut(int nFormat, EDITSTREAM& es) { return (long)SendMessage(EM_STREAMOUT, (WPARAM)nFormat, (LPARAM)&es); }
    BOOL CanUndo() const { return (BOOL)SendMessage(EM_CANUNDO, 0, 0); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO, 0, 0); }
    void Clear() { SendMessage(WM_CLEAR, 0, 0); }
    void Copy() { SendMessage(WM_COPY, 0, 0); }
    void Cut() { SendMessage(WM_CUT, 0, 0); }
    void Paste() { SendMessage(WM_PASTE, 0, 0); }
    void HideSelection(BOOL bHide, BOOL bPerm) { SendMessage(EM_HIDESELECTION, bHide, bPerm); }
};

// ---------------------------------------------------------------------------
class CReBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CReBarCtrl)
public:
    CReBarCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    UINT GetBandCount() const { return (UINT)SendMessage(RB_GETBANDCOUNT, 0, 0); }
    BOOL GetBandInfo(UINT uBand, REBARBANDINFOA* prbbi) const { return (BOOL)SendMessage(RB_GETBANDINFOA, uBand, (LPARAM)prbbi); }
    BOOL SetBandInfo(UINT uBand, REBARBANDINFOA* prbbi) { return (BOOL)SendMessage(RB_SETBANDINFOA, uBand, (LPARAM)prbbi); }
    UINT GetBarHeight() const { return (UINT)SendMessage(RB_GETBARHEIGHT, 0, 0); }
    BOOL GetBarInfo(REBARINFO* prbi) const { return (BOOL)SendMessage(RB_GETBARINFO, 0, (LPARAM)prbi); }
    BOOL SetBarInfo(REBARINFO* prbi) { return (BOOL)SendMessage(RB_SETBARINFO, 0, (LPARAM)prbi); }
    UINT GetRowCount() const { return (UINT)SendMessage(RB_GETROWCOUNT, 0, 0); }
    UINT GetRowHeight(UINT uRow) const { return (UINT)SendMessage(RB_GETROWHEIGHT, uRow, 0); }
    void GetBandBorders(UINT uBand, LPRECT prc) const { SendMessage(RB_GETBANDBORDERS, uBand, (LPARAM)prc); }
    BOOL GetRect(UINT uBand, LPRECT prc) const { return (BOOL)SendMessage(RB_GETRECT, uBand, (LPARAM)prc); }
    int IDToIndex(UINT uBandID) const { return (int)SendMessage(RB_IDTOINDEX, uBandID, 0); }
    BOOL InsertBand(UINT uIndex, REBARBANDINFOA* prbbi) { return (BOOL)SendMessage(RB_INSERTBANDA, uIndex, (LPARAM)prbbi); }
    BOOL DeleteBand(UINT uBand) { return (BOOL)SendMessage(RB_DELETEBAND, uBand, 0); }
    void MaximizeBand(UINT uBand) { SendMessage(RB_MAXIMIZEBAND, uBand, 0); }
    void MinimizeBand(UINT uBand) { SendMessage(RB_MINIMIZEBAND, uBand, 0); }
    BOOL ShowBand(UINT uBand, BOOL fShow = TRUE) { return (BOOL)SendMessage(RB_SHOWBAND, uBand, fShow); }
    BOOL SizeToRect(CRect& rect) { return (BOOL)SendMessage(RB_SIZETORECT, 0, (LPARAM)&rect); }
    BOOL MoveBand(UINT uFrom, UINT uTo) { return (BOOL)SendMessage(RB_MOVEBAND, uFrom, uTo); }
    int HitTest(RBHITTESTINFO* prbht) { return (int)SendMessage(RB_HITTEST, 0, (LPARAM)prbht); }
};

// ---------------------------------------------------------------------------
class CToolBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    CToolBarCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL EnableButton(int nID, BOOL bEnable = TRUE) { return (BOOL)SendMessage(TB_ENABLEBUTTON, (WPARAM)nID, MAKELPARAM(bEnable, 0)); }
    BOOL CheckButton(int nID, BOOL bCheck = TRUE) { return (BOOL)SendMessage(TB_CHECKBUTTON, (WPARAM)nID, MAKELPARAM(bCheck, 0)); }
    BOOL PressButton(int nID, BOOL bPress = TRUE) { return (BOOL)SendMessage(TB_PRESSBUTTON, (WPARAM)nID, MAKELPARAM(bPress, 0)); }
    BOOL HideButton(int nID, BOOL bHide = TRUE) { return (BOOL)SendMessage(TB_HIDEBUTTON, (WPARAM)nID, MAKELPARAM(bHide, 0)); }
    BOOL IsButtonEnabled(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONENABLED, (WPARAM)nID, 0); }
    BOOL IsButtonChecked(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONCHECKED, (WPARAM)nID, 0); }
    BOOL IsButtonPressed(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONPRESSED, (WPARAM)nID, 0); }
    BOOL IsButtonHidden(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONHIDDEN, (WPARAM)nID, 0); }
    BOOL SetState(int nID, UINT nState) { return (BOOL)SendMessage(TB_SETSTATE, (WPARAM)nID, MAKELPARAM(nState, 0)); }
    int GetState(int nID) const { return (int)SendMessage(TB_GETSTATE, (WPARAM)nID, 0); }
    BOOL GetButton(int nIndex, LPTBBUTTON lpButton) const { return (BOOL)SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)lpButton); }
    int GetButtonCount() const { return (int)SendMessage(TB_BUTTONCOUNT, 0, 0); }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const { return (BOOL)SendMessage(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect); }
    void SetButtonStructSize(int nSize) { SendMessage(TB_BUTTONSTRUCTSIZE, (WPARAM)nSize, 0); }
    BOOL SetButtonSize(CSize size) { return (BOOL)SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
    BOOL SetBitmapSize(CSize size) { return (BOOL)SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
    int AddBitmap(int nNumButtons, UINT nBitmapID);
    BOOL AddButtons(int nNumButtons, LPTBBUTTON lpButtons) { return (BOOL)SendMessage(TB_ADDBUTTONSA, (WPARAM)nNumButtons, (LPARAM)lpButtons); }
    BOOL InsertButton(int nIndex, LPTBBUTTON lpButton) { return (BOOL)SendMessage(TB_INSERTBUTTONA, (WPARAM)nIndex, (LPARAM)lpButton); }
    BOOL DeleteButton(int nIndex) { return (BOOL)SendMessage(TB_DELETEBUTTON, (WPARAM)nIndex, 0); }
    UINT CommandToIndex(UINT nID) const { return (UINT)SendMessage(TB_COMMANDTOINDEX, nID, 0); }
    void AutoSize() { SendMessage(TB_AUTOSIZE, 0, 0); }
    CImageList* SetImageList(CImageList* pImageList)
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(TB_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
    }
    DWORD SetExtendedStyle(DWORD dwExStyle) { return (DWORD)SendMessage(TB_SETEXTENDEDSTYLE, 0, (LPARAM)dwExStyle); }
};
