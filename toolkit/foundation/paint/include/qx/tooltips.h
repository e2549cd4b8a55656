// qx/tooltips.h - tooltips of the toolkit's windows.
//
// An owner (a command bar, the status bar, a pane, the tab client, the
// property grid) keeps one CQXPToolTipContext and passes it the mouse and
// keyboard messages of its windows (FilterMessage). The context asks the
// owner's tool hit test (CWnd::OnToolHitTest) which tool is under the
// pointer, creates the tooltip window of its style on first need, registers
// the tool with it and relays the message; the window shows the tip after a
// delay and hides it again.
//
// Styles: 0 the standard tooltip control, 1 its balloon form, 2 the
// toolkit's own window (CQXPToolTipContextToolTip), 3 rich text, 4 a
// gradient background, 5 the Office 2007 look, 6 HTML. Style 3 streams the
// tip in as RTF (or plain text) through the windowless rich-text host and
// measures and draws it there (CQXPToolTipRichText, qx/richtexthost.h); it
// draws as style 2 where the engine is missing. Style 6 needs the browser
// control and draws as style 2 until it is present. Style 5 takes its
// gradient and border from the Office 2007 theme text ("Window":
// TooltipLight, TooltipDark, TooltipBorder) and its own text colour, in a
// window whose four corner pixels are cut; without the theme it draws as
// style 2, square.
//
// Tool records are TOOLINFOA of the size of the fields in use: the records
// the context passes carry lParam (TTTOOLINFOA_V2_SIZE) when a title or an
// image is shown, and lParam then points to a CQXPToolInfoExtra that
// FillToolHitInfoEx fills. Texts are allocated with malloc by the hit test
// and freed by the context (the framework's convention).
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <vector>

class CQXPImageManager;
class CQXPToolTipContext;

// Private messages of the toolkit's tooltips.
#define QXP_TTM_ISPARENTTOOL 0x2A48 // a child answers 1: use its parent for tools
#define QXP_TTM_SETICON 0x2A49      // lParam: the icon to show (or NULL)

// The extra block of a tool record (reached through TOOLINFOA::lParam).
struct CQXPToolInfoExtra {
    CString strTitle;                       // shown above the text
    CQXPImageManager* pImageManager = NULL; // where the tool's icon comes from
    DWORD_PTR dwData = 0;
};

// Fills a tool record for an owner's OnToolHitTest; returns nID. The text is
// copied with malloc (LPSTR_TEXTCALLBACKA is kept as it is).
INT_PTR AFXAPI FillToolHitInfo(TOOLINFOA* pTI, HWND hWnd, const RECT& rc, INT_PTR nID, LPCSTR lpszText);
// The same, and for records that carry their extra block (the size field
// covers lParam and lParam is set) the title and the image manager.
INT_PTR AFXAPI FillToolHitInfoEx(TOOLINFOA* pTI, HWND hWnd, const RECT& rc, INT_PTR nID, LPCSTR lpszText,
                                 LPCSTR lpszTitle, CQXPImageManager* pImageManager = NULL);

// ---------------------------------------------------------------------------
// The toolkit's own tooltip window (styles 2 to 6). It answers the messages
// of the standard tooltip control that the context sends.
class CQXPToolTipContextToolTip : public CWnd {
public:
    explicit CQXPToolTipContextToolTip(CQXPToolTipContext* pContext, int nKind = 2);
    ~CQXPToolTipContextToolTip() override;

    // Creates the popup tool window owned by the parent.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle);

    struct Tool {
        CString strText;
        BOOL bCallback = FALSE;
        HWND hWnd = NULL;
        UINT_PTR nID = (UINT_PTR)-1;
        CRect rect;
        UINT nFlags = 0;
        CRect rcExtra;
    };
    // A tool record: none while nID is (UINT_PTR)-1.
    BOOL IsTool(const Tool& t) const { return t.nID != (UINT_PTR)-1; }
    static BOOL AFXAPI SameTool(const Tool& a, const Tool& b) { return a.hWnd == b.hWnd && a.nID == b.nID; }

    // The registered tool under a screen point; none while a mouse button is
    // down (unless bIgnoreButtons) or when its window is gone.
    Tool ToolFromPoint(CPoint ptScreen, BOOL bIgnoreButtons = FALSE) const;
    // The tool's text (asking its window with TTN_NEEDTEXTA for callbacks),
    // "&" markers removed unless the style has TTS_NOPREFIX.
    CString GetToolText(const Tool& tool);

    // Measures (style 2): the size the window takes for a text, title and
    // icon.
    virtual CSize CalcSize(CDC* pDC, const CString& strText);
    virtual void DrawBackground(CDC* pDC, CRect rc);
    // Style 5 in the Office 2007 look: the window region cuts its four
    // corner pixels (set on each show, for the size shown).
    BOOL HasCutCorners() const;
    virtual void DrawContent(CDC* pDC, CRect rc, const CString& strText);

    void ShowTool(const Tool& tool);
    void HideTool();
    // Called after each show or hide.
    virtual void OnShowStateChanged(BOOL bShown) { (void)bShown; }

    // The clock of show and hide delays (GetTickCount unless a test sets
    // one).
    static DWORD(AFXAPI* s_pfnTickCount)();
    static DWORD AFXAPI Now() { return s_pfnTickCount ? s_pfnTickCount() : ::GetTickCount(); }

    CQXPToolTipContext* m_pContext;
    int m_nKind;
    BOOL m_bActive;
    std::vector<Tool> m_tools;
    Tool m_toolShown;
    Tool m_toolClicked;
    Tool m_toolPending;
    UINT_PTR m_nTimer;
    UINT m_nLastTimerElapse; // the delay the pending timer was started with
    DWORD m_dwLastChange;    // tick of the last show or hide
    int m_nInitialDelay;     // 500
    int m_nReshowDelay;      // 200
    int m_nMaxTipWidth;      // -1: the screen width
    CRect m_rcMargin;
    COLORREF m_clrBack;
    COLORREF m_clrText;
    HFONT m_hFont;
    CString m_strTitle;
    HICON m_hIcon;
    CPoint m_ptLast; // screen point of the last relayed mouse message

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnRelayEvent(MSG* pMsg);
    void OnPendingTimer();
    void Paint(CDC* pDC);
    CFont* BoldFont();
    static LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    void InstallMouseHook();
    void RemoveMouseHook();
};

// ---------------------------------------------------------------------------
class CQXPToolTipContext : public CCmdTarget {
public:
    CQXPToolTipContext();
    ~CQXPToolTipContext() override;

    // Gives a message of the owner's windows to the tooltip logic.
    BOOL FilterMessage(CWnd* pOwner, MSG* pMsg, BOOL bFromOwner = FALSE);
    BOOL FilterMessage(CWnd* pOwner, UINT message, WPARAM wParam, LPARAM lParam);
    void RelayMouseMessage(CWnd* pOwner, MSG* pMsg, BOOL bFromOwner);

    // A new tooltip window object for the style (not yet created).
    virtual CWnd* CreateToolTipWindow(CWnd* pParent);
    // Changes the window style bits; a changed style drops the window.
    void ModifyToolTipStyle(DWORD dwRemove, DWORD dwAdd);
    void CancelToolTips();
    CRect GetMargin() const { return m_rcMargin; }
    CWnd* GetToolTip() const { return m_pToolTip; }
    void DestroyToolTip();

    void SetStyle(int nStyle);
    int GetStyle() const { return m_nStyle; }
    void SetMargin(const RECT& rc) { m_rcMargin = rc; }
    void SetMaxTipWidth(int n) { m_nMaxTipWidth = n; }
    void SetDelayTime(int nInitial, int nReshow = -1, int nAutoPop = -1);
    void SetTipColors(COLORREF clrBack, COLORREF clrText);
    void ShowTitleAndDescription(BOOL bShow, int nTitleIcon = 1);
    void ShowImage(BOOL bShow, int nImageSize = 1, int nImageBase = 0);

    BOOL m_bShowTitle;
    BOOL m_bShowImage;
    int m_nImageSize;
    int m_nImageBase;
    int m_nStyle;
    DWORD m_dwComCtlVersion;
    int m_nTitleIcon;
    int m_nMaxTipWidth;
    DWORD m_dwStyle;
    CRect m_rcMargin;
    int m_nDelayInitial;
    int m_nDelayReshow;
    int m_nDelayAutoPop;
    CWnd* m_pToolTip;
    TOOLINFOA m_lastInfo; // the tool last registered; cbSize 0 when none
    COLORREF m_clrTipBack;
    COLORREF m_clrTipText;
    CFont m_fntToolTip;
    CFont m_fntToolTipBold;
    CQXPToolInfoExtra m_extra;

    // The owner-active test (whether its top-level window is active); a test
    // may replace it.
    static BOOL(AFXAPI* s_pfnIsOwnerActive)(HWND hWndOwner);

protected:
    BOOL IsToolTipWindow(CWnd* pWnd) const;
    HICON GetToolIcon(UINT_PTR nID);
};
