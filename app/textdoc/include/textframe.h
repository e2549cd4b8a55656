// textframe.h - the MDI child frames of text documents.
//
// CScintillaFrame is the base of the editor's child frames that show text
// views: it keeps the index of the language the view shows and relays the
// frame-wide setting toggles to its active view. With "remember open files"
// on, a frame that closes while the program closes stores its document's
// path in "FilesToOpen".
//
// CDoodleFrame is the frame of the text template: a dynamic splitter of up
// to two rows over one document, and the focus bookkeeping of the active
// text frame.
#pragma once

#include <fx/fx.h>

class CDoodleView;

class CScintillaFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CScintillaFrame)
public:
    CScintillaFrame();
    ~CScintillaFrame() override;

    // Each forwards to the active text view.
    virtual void SetWordWrap(BOOL bOn);
    virtual void SetWhitespace(BOOL bOn);
    virtual void SetLineEndings(BOOL bOn);
    virtual void SetCaretLine(BOOL bOn);
    virtual void SetLineNumbers(BOOL bOn);
    virtual void SetCodeFolding(BOOL bOn);
    virtual void SetRuler(BOOL bOn);
    virtual void SetBlockSelect(BOOL bOn);
    virtual void SetViewFont(LPCSTR lpszFace, int nSize, BOOL bBold, BOOL bItalic);
    virtual void SetViewAsIndex(int nIndex) { m_nViewAsIndex = nIndex; }
    virtual int GetViewAsIndex() const { return m_nViewAsIndex; }
    // Applies the language of the stored index again (after the
    // configurations were reloaded).
    virtual void ApplyViewAs();
    virtual void SetEditingValues(int nTabGuides, int nUseTabs, int nTabWidth, COLORREF clrCaretLine, int nAlpha);

    // The active view as a text view (NULL when it is not one).
    CDoodleView* GetTextView() const;

    // Stores the active document's path in "FilesToOpen" when the main
    // frame closes for the next session (called from WM_DESTROY).
    void StoreSessionPath();

protected:
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    int m_nViewAsIndex;
};

class CDoodleFrame : public CScintillaFrame {
    DECLARE_DYNCREATE(CDoodleFrame)
public:
    CDoodleFrame();
    ~CDoodleFrame() override;

    CSplitterWnd& GetSplitter() { return m_wndSplitter; }
    // The text frame that had the focus last (NULL when none or it closed).
    static CDoodleFrame* GetLastFocused();

    // "Preview in Browser" hands the view's text to a preview frame; the
    // main frame registers the function that opens one (NULL: the command
    // is disabled).
    typedef CFrameWnd* (*BrowserPreviewFn)(CDoodleFrame* pFrame, CFrameWnd* pPrevious, LPCSTR lpszText);
    static void SetBrowserPreview(BrowserPreviewFn pfn);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext) override;

    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnDestroy();
    afx_msg void OnPreviewInBrowser();
    afx_msg void OnUpdatePreviewInBrowser(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    CSplitterWnd m_wndSplitter;
    CFrameWnd* m_pPreviewFrame;
};
