// hexdoc.h - the hex document: binary files shown and edited in the
// "BytegridWin" hex control.
//
// The bytes live in the control, which reads and writes the file itself;
// the document holds no bytes. The view adds the commands, the status-bar
// texts, searching and going to an offset; CHexFindDialog is the modeless
// "Hex Find" dialog and CHexGoto the modal "Hex Goto" dialog.
#pragma once

#include "findbox.h"

#include <fx/fx.h>
#include <qx/resizedialog.h>

#include <vector>

#include "docchildframe.h"
#include "docwrappers.h"

class CHexEditView;

class CHexDocument : public CDocument {
    DECLARE_DYNCREATE(CHexDocument)
public:
    // Nothing is read into the document and nothing written from it: the
    // control of the first view does both.
    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    // Opens the file and lets the first view's control load it; a file the
    // control cannot load is reported and opens no document.
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    // Asks for a name when lpszPathName is empty, then lets the control write
    // the file. A failed write is reported, keeps the document modified and
    // returns FALSE.
    BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE) override;

    // Loads the file into the first view's control. FALSE (after a message)
    // when the path is empty or the control cannot load it.
    BOOL LoadFile(LPCSTR lpszPathName);

    CHexEditView* GetHexView() const;

protected:
    afx_msg void OnUpdateFileSave(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

class CHexFrame : public CExtraDocFrame {
    DECLARE_DYNCREATE(CHexFrame)
};

class CHexEditView : public CView {
    DECLARE_DYNCREATE(CHexEditView)
public:
    void OnDraw(CDC* pDC) override;
    CMFCBytegrid& GetGrid() { return m_wndGrid; }
    CHexDocument* GetHexDocument() const { return static_cast<CHexDocument*>(GetDocument()); }

    // Searches from the caret for text: its characters when bAscii, else the
    // bytes of its hexadecimal digit pairs (blanks skipped, a last unpaired
    // digit ignored, letter case always matched). A match is selected and
    // scrolled into view. Returns 1 when found, 0 when not, -1 when the text
    // was refused (the reason was shown).
    int Find(LPCSTR lpszText, BOOL bSearchUp, BOOL bMatchCase, BOOL bAscii);

    // The bytes Find searches for. FALSE with the reason in *pError when the
    // text holds a character that is neither a hexadecimal digit nor a blank
    // (hex mode) or gives no byte at all.
    static BOOL ParseFindText(LPCSTR lpszText, BOOL bAscii, std::vector<BYTE>& bytes, CString* pError);

    // Status-bar texts: "Pos: %d" and "INS" / "".
    CString GetPositionText();
    CString GetModeText();

    enum {
        kGridID = 1
    };

protected:
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnDestroy();
    afx_msg void OnEditCopy();
    afx_msg void OnEditCut();
    afx_msg void OnEditPaste();
    afx_msg void OnEditUndo();
    afx_msg void OnEditRedo();
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
    afx_msg void OnEditFind();
    afx_msg void OnFindNext();
    afx_msg void OnGoto();
    afx_msg void OnUpdateAlways(CCmdUI* pCmdUI);
    afx_msg void OnCopyFilePath();
    afx_msg void OnOpenInExplorer();
    afx_msg void OnUpdateIndicatorPosition(CCmdUI* pCmdUI);
    afx_msg void OnUpdateIndicatorMode(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    void UpdateStatusPosition();
    void UpdateStatusMode();

    CMFCBytegrid m_wndGrid;
};

// The search of the "Find" button for the active document of pMainFrame when
// that is a hex view: "Not found." when nothing matches. Returns FALSE when
// the active view is not a hex view (the caller routes the search on), TRUE
// when the search ran here. With no active document it shows
// "Error: No Active Document to Search" and returns TRUE.
BOOL HexFindInActiveDocument(CFrameWnd* pMainFrame, LPCSTR lpszText, BOOL bSearchUp, BOOL bMatchCase, BOOL bAscii);

// "Hex Find" (dialog 110): modeless, at most one, child of the main frame.
class CHexFindDialog : public CQXResizeDialog {
    DECLARE_DYNAMIC(CHexFindDialog)
public:
    CHexFindDialog();
    ~CHexFindDialog() override;

    // Opens the dialog unless one is open already; returns the open dialog.
    static CHexFindDialog* Open(CWnd* pMainFrame);
    // The open dialog, or NULL.
    static CHexFindDialog* GetOpen();

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    int m_bSearchUp;
    int m_bMatchCase;
    int m_bAscii;

protected:
    void PostNcDestroy() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnFind();
    afx_msg void OnSearchAscii();
    afx_msg void OnMatchCase();
    afx_msg void OnUp();
    afx_msg void OnDown();
    DECLARE_MESSAGE_MAP()

    CToolbarFindComboBox m_wndFind;
    CButton m_wndMatchCase;
    CButton m_wndAscii;
    CWnd* m_pFrame;
    HACCEL m_hAccel;
    CString m_strText;
};

// "Hex Goto" (dialog 142): asks for an offset below the file length, in
// hexadecimal or decimal ("HexGoto"\"Hex").
class CHexGoto : public CDialog {
    DECLARE_DYNAMIC(CHexGoto)
public:
    CHexGoto(CWnd* pParent, ULONGLONG nOffset, ULONGLONG nFileLength);

    // Reads text as an offset: hexadecimal (0-9, A-F, a-f) or decimal digits;
    // empty text is 0. A value beyond 32 bits is kept as 0x100000000 so it is
    // always larger than any file. FALSE with the message in *pError when a
    // character is not a digit of the base.
    static BOOL ParseOffset(LPCSTR lpszText, BOOL bHex, ULONGLONG* pValue, CString* pError);

    BOOL OnInitDialog() override;

    int m_bHex;
    ULONGLONG m_nOffset;
    ULONGLONG m_nFileLength;

protected:
    void OnOK() override;
    afx_msg void OnHex();
    afx_msg void OnDecimal();
    afx_msg void OnChangeOffset();
    DECLARE_MESSAGE_MAP()

    void ShowInBase();
    BOOL m_bFilling; // the dialog writes the edit box itself
};
