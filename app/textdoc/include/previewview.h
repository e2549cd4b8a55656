// previewview.h - CQXPPreviewView, the print preview view of the editor:
// the framework's preview with the editor's preview toolbar along its top.
// The toolbar is a command-bar toolbar standing alone in the preview's
// frame (it draws with the theme in force and shows its own tooltips); the
// frame lays it out above the preview.
#pragma once

#include <fx/fx.h>

class CQXPToolBar;

class CQXPPreviewView : public CPreviewView {
    DECLARE_DYNCREATE(CQXPPreviewView)
public:
    CQXPPreviewView();
    ~CQXPPreviewView() override;

    enum {
        IDR_PREVIEW_TOOLBAR = 280,
        ID_NUMPAGE = 58113, // "1 Page / 2 Page"
        ID_PRINT = 58116,   // "Print"
        ID_CLOSE = 0xE300,  // "Close Preview"
        ID_ONEPAGE_ICON = 61505,
        ID_TWOPAGE_ICON = 61506,
        ID_TOOLBAR_BAR = 0xE800
    };

    // The toolbar (NULL before creation and after destruction).
    CQXPToolBar* GetToolBar() { return m_pBar; }
    // The icon the page button shows now (61505 or 61506; 0 before creation).
    UINT GetPageButtonIcon() const { return m_nPageIcon; }

protected:
    void UpdatePageButtonIcon();

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnUpdateNumPage(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    CQXPToolBar* m_pBar; // one reference, released with the view's window
    UINT m_nPageIcon;
};
