// previewview.h - CQXPPreviewView, the print preview view of the editor:
// the framework's preview with the editor's preview toolbar along its top.
#pragma once

#include <fx/fx.h>

class CQXPPreviewView : public CPreviewView {
    DECLARE_DYNCREATE(CQXPPreviewView)
public:
    CQXPPreviewView();
    ~CQXPPreviewView() override;

    enum {
        IDR_PREVIEW_TOOLBAR = 280,
        ID_NUMPAGE = 58113,      // "1 Page / 2 Page"
        ID_ONEPAGE_ICON = 61505,
        ID_TWOPAGE_ICON = 61506,
        ID_TOOLBAR_BAR = 0xE800
    };

    CToolBar* GetToolBar() { return m_pBar; }
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

    CToolBar* m_pBar;
    UINT m_nPageIcon;
    HIMAGELIST m_hImages;
};
