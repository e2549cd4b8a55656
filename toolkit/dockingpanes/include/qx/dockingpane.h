// qx/dockingpane.h - one tool pane: id, title, icon, options, size limits and
// tab colour, hosting one child window supplied by the application. Where the
// pane sits is decided by the manager and its containers.
#pragma once

#include <qx/panetree.h>
#include <qx/sysutil.h>

// Option bits of a pane (ORed with the manager's default options).
enum DockingPaneOptions {
    paneNoCloseable = 0x01,
    paneNoHideable = 0x02,
    paneNoFloatable = 0x04,
    paneNoCaption = 0x08,
    paneHasMenuButton = 0x10,
    paneNoDockable = 0x20,
};

// Asked of the hosted window for its tab colour (0: no answer).
#define WM_QX_GETTABCOLOR 0x28B9

// Accessibility: a page tab named by its short title, described by its
// title, with the hosted window as its one child.
class CQXPDockingPane : public CPaneBase, public CQXPAccessibleBase {
public:
    explicit CQXPDockingPane(DockingLayoutStore* pLayout);
    ~CQXPDockingPane() override;

    // Stores the id; a string resource of that number becomes the title.
    void SetID(int nID);
    int GetID() const { return m_nID; }
    void SetTitle(LPCSTR lpszTitle);
    // The title up to the first newline; the short title after it (each the
    // whole title without a newline).
    CString GetTitle() const;
    CString GetShortTitle() const;
    DWORD GetOptions() const;
    void SetOptions(DWORD dwOptions) { m_dwOptions = dwOptions; }
    int GetIconID() const { return m_nIconID; }
    void SetIconID(int nIconID) { m_nIconID = nIconID; }
    DWORD GetEnabled() const { return m_dwEnabled; }
    void SetEnabled(DWORD dwEnabled) { m_dwEnabled = dwEnabled; }
    // The stored colour; else the hosted window's answer; else one of the
    // eight fixed tab colours by the id (negative ids too).
    COLORREF GetTabColor() const;
    void SetTabColor(COLORREF clr) { m_clrTab = clr; }
    // The fixed colour index value of an id: 0x1000000 + (id mod 8), 0..7.
    static COLORREF AFXAPI DefaultTabColor(int nID);

    BOOL IsClosed() const { return m_pParentContainer == NULL; }
    BOOL IsSelected() const;
    BOOL IsAttached() const { return m_hwndChild != NULL; }
    BOOL IsHidden() const override;
    BOOL IsFloating() const;
    HWND GetChild() const { return m_hwndChild; }

    void Attach(HWND hWnd);
    template <class W>
    void Attach(W* pWnd) { Attach(pWnd ? pWnd->GetSafeHwnd() : (HWND)NULL); }
    HWND Detach();
    void SetParentContainer(CPaneBase* pContainer) override;
    void OnSizeParent(HWND hParent, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams) override;
    // Places the child window at rect, given in hContainer's client
    // coordinates: recorded as the pane's rectangle unless bRecord is FALSE,
    // mapped to the host window, the child moved there (repainting) and
    // enabled by bit 0 of the enabled flags.
    void SetWindowRect(HWND hContainer, const RECT& rect, BOOL bRecord = TRUE);
    void ShowChild(BOOL bShow);
    void Show(BOOL bSetFocus = TRUE);
    void SetFocus();
    BOOL IsFocus() const;
    void Close();
    void Hide();
    void Select();
    void GetMinMaxInfo(MINMAXINFO* pMinMax) const override;
    void Copy(const CQXPDockingPane* pOther);
    CPaneBase* Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions) override;
    BOOL DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx) override;
    // The window that hosts the child: the container's window.
    HWND GetHostWindow() const;

    HRESULT get_accParent(IDispatch** ppdispParent) override;
    HRESULT get_accChildCount(long* pcountChildren) override;
    HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT accSelect(long flagsSelect, VARIANT varChild) override;
    HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    HRESULT accDoDefaultAction(VARIANT varChild) override;

    HWND m_hwndChild;
    int m_nID;
    int m_nIconID;
    CString m_strTitle;
    DWORD m_dwOptions;
    int m_nHelpID;
    int m_nTag;
    POINT m_ptMinTrackSize;
    POINT m_ptMaxTrackSize;
    COLORREF m_clrTab;
    DWORD m_dwEnabled;
    // Holder indexes read by the exchange until the layout records them.
    int m_nLoadedHolders[3];
};
