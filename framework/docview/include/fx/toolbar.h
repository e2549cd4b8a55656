// fx/toolbar.h - CToolBar, a row of command buttons (the system's tool bar
// control) laid out as a control bar, and CReBar, a rebar control that
// holds bars as bands.
//
// The tool bar resource (type RT_TOOLBAR, 241) is a list of WORDs: version
// (1), button width, button height (of the images), count, then count
// command ids, 0 for a separator. The bitmap of the same id holds the
// images side by side, one per non-separator button, in order.
//
// Buttons are enabled and checked at idle time through the frame's command
// routing (OnUpdateCmdUI); their clicks reach the frame as WM_COMMAND with
// the button's id, and their tool tips come from the second part of the
// command's string ("prompt\ntip").
#pragma once

#include "fx/ctrlbar.h"
#include "fx/ctrls.h"

#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(241)
#endif

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    // dwCtrlStyle: TBSTYLE_* of the control; dwStyle: WS_* and CBRS_*.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);

    // The buttons and images of a tool bar resource; FALSE when it is
    // missing or damaged (the bar keeps what it had).
    BOOL LoadToolBar(LPCSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEA(nIDResource)); }
    // The button images: a strip whose top-left pixel's colour is
    // transparent (drawn as the bar's background).
    BOOL LoadBitmap(LPCSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
    // Buttons for the ids (0: separator); NULL ids make nIDCount empty
    // buttons to be filled with SetButtonInfo.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // The size of a button and of its image.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    void SetHeight(int cyHeight) { m_cyHeight = cyHeight; }

    int GetCount() const;
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    // The tool bar control of the bar (the same window).
    CToolBarCtrl& GetToolBarCtrl() const { return const_cast<CToolBarCtrl&>(m_ctrl); }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;

    CToolBarCtrl m_ctrl; // a plain wrapper of this bar's window
    CSize m_sizeButton;
    CSize m_sizeImage;
    int m_cyHeight;          // 0: the buttons' height
    HIMAGELIST m_hImageList; // the button images, owned by the bar
};

class CReBar : public CControlBar {
    DECLARE_DYNAMIC(CReBar)
public:
    CReBar();
    ~CReBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                UINT nID = AFX_IDW_REBAR);
    // Adds a child window (usually a bar) as a band; FALSE when the band
    // could not be added.
    BOOL AddBar(CWnd* pBar, LPCSTR pszText = NULL, CBitmap* pbmp = NULL,
                DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
    BOOL AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCSTR pszText = NULL,
                DWORD dwStyle = RBBS_GRIPPERALWAYS);
    CReBarCtrl& GetReBarCtrl() const { return const_cast<CReBarCtrl&>(m_ctrl); }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    BOOL AddBarEx(CWnd* pBar, REBARBANDINFOA* pInfo);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    // The bands changed height: the frame lays its bars out again.
    afx_msg void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    CReBarCtrl m_ctrl; // a plain wrapper of this bar's window
};
