// qx/mditabs.h - document tabs over the MDI client: one tab per visible MDI
// child, kept in step with the children; a click activates the document. The
// client window of the frame is subclassed; the strip is a window of its own
// beside it, at the side the tab paint manager's position names.
#pragma once

#include <qx/tabpaint.h>

class CMDIFrameWnd;
class CQXPTabClientWnd;

// Questions to MDI children and notifications to the frame.
#define WM_TABCLIENT_GETICON 0x2860
#define WM_TABCLIENT_MOUSENOTIFY 0x2868
#define WM_TABCLIENT_GETCAPTION 0x2869
#define WM_TABCLIENT_GETTOOLTIP 0x286B
#define WM_TABCLIENT_ITEMCREATED 0x286C
#define WM_TABCLIENT_GETCOLOR 0x28B9

// One strip of document tabs in a window of its own.
class CQXPTabWorkspace : public CWnd, public CQXPTabManager {
public:
    explicit CQXPTabWorkspace(CQXPTabClientWnd* pClient);
    ~CQXPTabWorkspace() override;

    CQXPTabPainter* GetPaintManager() const override;
    void RedrawControl(LPCRECT lpRect, BOOL bAnimate) override;
    void OnPropertyChanged() override;
    COLORREF GetItemColor(const CQXPTabManagerItem* pItem) const override;
    void OnItemClick(CQXPTabManagerItem* pItem) override;
    CQXPTabManagerItem* FindItem(HWND hWnd) const;

    CQXPTabClientWnd* m_pClient;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override {}
};

class CQXPTabClientWnd : public CWnd, public CQXPTabManagerAtom {
public:
    CQXPTabClientWnd();
    ~CQXPTabClientWnd() override;

    // Subclasses the frame's MDI client and shows the tabs. FALSE for no
    // frame, a second attach or a client that cannot be subclassed.
    BOOL Attach(CMDIFrameWnd* pFrame, BOOL bEnableGroups = FALSE);
    BOOL Detach();
    BOOL IsAttached() const { return m_hWnd != NULL; }
    // Brings the tabs in step with the children and lays the frame out.
    void Refresh(BOOL bRecalcLayout = TRUE);
    void UpdateContents();
    CQXPTabPainter* GetPaintManager() { return &m_paintManager; }
    void SetToolTipMode(int nMode) { m_paintManager.m_nToolTipMode = nMode; }
    CQXPTabWorkspace* GetWorkspace() const { return m_pWorkspace; }
    CQXPTabManagerItem* FindItem(HWND hWnd) const;
    void ShowWorkspace(BOOL bShow);

    virtual CString GetItemText(HWND hWnd) const;
    virtual COLORREF GetItemColor(const CQXPTabManagerItem* pItem) const;

    void OnPropertyChanged() override;
    // The frame's layout: the strip takes its band, the MDI client the rest.
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

    CMDIFrameWnd* m_pFrame;
    BOOL m_bShowTabs;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override {}
    void RecalcFrame();

    CQXPTabPainter m_paintManager;
    CQXPTabWorkspace* m_pWorkspace;
    BOOL m_bUpdating;
    BOOL m_bRefreshing;
    BOOL m_bLockRedraw;
    BOOL m_bInLayout;
};
