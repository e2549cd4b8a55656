// qx/controledit.h - the text box of command bars: the edit window that a
// bar hosts (CQXPEdit), the edit control that owns one (CQXPControlEdit),
// with its label, grey hint text, spin buttons and shell auto-completion.
//
// While an edit or combo control has the keyboard focus it sees the
// thread's key presses before its bar does (a keyboard hook object of its
// own, registered after the bar's): it answers 0 to leave a key to the bar,
// 1 when it consumed the key, 2 to let the edit window have it.
#pragma once

#include <qx/control.h>
#include <qx/hooks.h>

// Private messages of the edit windows.
#define WM_TOOLTIP_FORWARDTOPARENT 0x2A48
#define WM_AUTOSUGGEST_SHOWN 0x2872

// The spin buttons' auto-repeat timer (on the bar window).
#define QXP_TID_SPIN 435
// Spin notifications to the owner (the record is NMQXPSPIN).
#define QXP_CN_SPINUP 0x1010
#define QXP_CN_SPINDOWN 0x1011

struct NMQXPSPIN {
    NMQXPCONTROL nm;
    int nDelta; // signed step count times the direction
};

class CQXPEdit;

// The rich edit library the edit windows use: loaded on first use and kept
// until the process ends ("RICHED20.DLL" with "RichEdit20A", else
// "RICHED32.DLL" with "RICHEDIT", else none and plain edit windows).
class QxpRichEditLibrary {
public:
    static QxpRichEditLibrary* AFXAPI Instance();
    BOOL IsLoaded() const { return m_hModule != NULL; }
    // 1 for rich edit 2, 0 for rich edit 1 (or none).
    int GetVersion() const { return m_nVersion; }
    LPCSTR GetWindowClass() const { return m_strClass; }

private:
    QxpRichEditLibrary();
    HMODULE m_hModule;
    CString m_strClass;
    int m_nVersion;
};

// What an edit window reports to the control that owns it. The edit and
// combo-box controls implement it.
class CQXPEditOwner {
public:
    virtual ~CQXPEditOwner() {}
    // The window got the focus (hWndOld had it).
    virtual void OnEditSetFocus(HWND hWndOld) = 0;
    virtual void OnEditKillFocus() = 0;
    // The window's text changed (reflected EN_CHANGE).
    virtual void OnEditTextChanged() = 0;
    // A right button press; TRUE when the owner handled it.
    virtual BOOL OnEditRButtonDown(CPoint ptClient) = 0;
    // The window is being destroyed (its text is handed over first).
    virtual void OnEditDestroying(const CString& strText) = 0;
    // The shell's auto-suggest dropdown appeared for this window.
    virtual void OnAutoSuggestShown() {}
    // The wheel turned over the focused window; TRUE when the owner used it.
    virtual BOOL OnEditMouseWheel(int nDelta)
    {
        (void)nDelta;
        return FALSE;
    }
    // The command bar the window lives on.
    virtual CQXPCommandBar* GetEditBar() const = 0;
};

// The edit window of the command bars' text boxes.
class CQXPEdit : public CEdit {
    DECLARE_DYNAMIC(CQXPEdit)
public:
    CQXPEdit();
    ~CQXPEdit() override;

    // Creates the window (rich edit when the library is there) with an empty
    // rectangle on the parent.
    BOOL CreateEdit(DWORD dwStyle, CWnd* pParentWnd);
    // The window's text, exactly as many characters as it holds.
    CString GetEditWindowText() const;
    BOOL IsRichEdit() const { return m_bRichEdit; }
    // The Cut, Copy and Paste menu of a right click (only when the program
    // has the string resource of the Cut command); TRUE when it was shown.
    BOOL ShowContextMenu(CPoint ptClient);
    // Whether the edit command can run now.
    BOOL IsEditCommandEnabled(UINT nID) const;

    BOOL m_bComposited;      // an input-method composition is open
    BOOL m_bNeedsOpaque;     // painted on a composited frame
    BOOL m_bIgnoreChange;    // the control clears the text before setting it
    CQXPEditOwner* m_pOwner; // not owned

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Shows a message of the window to the tooltip context of the bar the
    // box stands on (nothing for a bar without one).
    void FilterBarToolTip(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PostNcDestroy() override {}
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnEditClear();
    afx_msg void OnEditUndo();
    afx_msg void OnEditSelectAll();
    afx_msg void OnUpdateEditCommand(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
    BOOL m_bRichEdit;
};

// Shell auto-completion of one edit window: SHAutoComplete, and while the
// box has the focus a watch for the shell's "Auto-Suggest Dropdown".
class ShellAutoComplete : public CWindowHook {
public:
    explicit ShellAutoComplete(HWND hWndEdit);
    ~ShellAutoComplete() override;

    // SHAutoComplete bound by name from "shlwapi.dll"; E_FAIL without it.
    HRESULT Setup(DWORD dwFlags);
    void StartWatch();
    void StopWatch();
    HWND GetDropDown() const { return m_hWndDropDown; }
    BOOL IsDropDownVisible() const { return m_hWndDropDown && ::IsWindowVisible(m_hWndDropDown); }
    void HideDropDown();
    // Keys of the shown dropdown: TRUE when the key went to its list.
    BOOL ProcessKey(UINT nKey);
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    HWND m_hWndDropDown;
    HWND m_hWndEdit;

private:
    static LRESULT CALLBACK CallWndProc(int nCode, WPARAM wParam, LPARAM lParam);
    void OnWindowPosChanging(HWND hWnd, const WINDOWPOS* pPos);
    BOOL m_bWatching;
};

// A shell auto-completion set up on an edit window; null when dwFlags is 0,
// the window is gone or the shell cannot do it.
ShellAutoComplete* AFXAPI QxpCreateShellAutoComplete(CWnd* pEdit, DWORD dwFlags);

// Whether a text-box control (edit or combo box) shows its caption as a
// label: always on popups, never without a caption, with a caption style;
// otherwise as the control's own setting says.
BOOL AFXAPI QxpIsBoxCaptionVisible(const CQXPControl* pControl, BOOL bOtherwise);

// A text box's colours: grey text while the control is disabled or shows its
// hint, the paint manager's edit background.
void AFXAPI QxpGetBoxCharFormat(CQXPControl* pControl, BOOL bHintShown, COLORREF* pclrText, COLORREF* pclrBack);

// Keys for a focused control: the answer of the control's key handling.
class CQXPFocusKeySink : public CWindowHook {
public:
    typedef int (*PFNKEY)(void* pOwner, UINT nKey, LPARAM lParam);
    CQXPFocusKeySink(void* pOwner, PFNKEY pfn) : m_pOwner(pOwner), m_pfn(pfn) {}
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

private:
    void* m_pOwner;
    PFNKEY m_pfn;
};

// The number of edit and combo controls of this thread that have the focus.
int AFXAPI QxpGetFocusedEditCount();
void AFXAPI QxpAddFocusedEdit(int nDelta);

// Helpers shared by the edit and combo controls.
namespace qxpedit {
// Hands a key to the edit window as a dialog key (translated and
// dispatched, so characters follow); TRUE when the window took it.
BOOL SendDialogKey(HWND hWndEdit, UINT nKey, LPARAM lParam);
// TRUE for the keys that go to the edit window before the frame's
// accelerators can take them (Ctrl+C/V/X/Z, Backspace, PgUp..Delete).
BOOL IsEditDialogKey(UINT nKey);
// Rich edit colours of the text and its background.
void ApplyColors(CQXPEdit* pEdit, COLORREF clrText, COLORREF clrBack);
} // namespace qxpedit

// ---------------------------------------------------------------------------
// The text box that the edit and combo-box controls share: the edit window
// with its cached text, the grey hint, shell completion, the keys of the
// focused box and the window the focus goes back to. A control derives from
// its control base and from this, and hands its own address over.
class CQXPEditBox : public CQXPEditOwner {
public:
    // bWindowOnDemand: the edit window object is made on the first layout
    // and a hint shows without it (edit controls); otherwise the control
    // makes the object itself and has neither window nor hint without it
    // (combo boxes in drop-down-list style). The codes are the focus
    // notifications the control sends to its site.
    CQXPEditBox(CQXPControl* pControl, BOOL bWindowOnDemand, UINT nSetFocusCode, UINT nKillFocusCode);
    ~CQXPEditBox() override;

    // --- text and hint -----------------------------------------------------------
    // The cached text, refreshed from the window when it changed.
    CString GetBoxText() const;
    // Sets the window's text only when it differs (clear, then set).
    void SetEditText(const CString& strText);
    // "" while the box shows the hint.
    CString GetEditTextWithoutHint() const;
    // The hint for an empty text.
    void SetEditTextOrHint(const CString& strText);
    void SetEditHint(const CString& strHint);
    CString GetEditHint() const { return m_strEditHint; }
    // EditHint, else the action's hint (its description), else "".
    CString GetEffectiveHint() const;
    BOOL IsHintShown() const;

    // --- window options --------------------------------------------------------------
    // The window is made again with the new style.
    void SetEditStyle(DWORD dwStyle);
    DWORD GetEditStyle() const { return m_dwEditStyle; }
    void SetShellAutoCompleteFlags(DWORD dwFlags);
    DWORD GetShellAutoCompleteFlags() const { return m_dwShellAutoCompleteFlags; }
    ShellAutoComplete* GetShellAutoComplete() const { return m_pAutoComplete; }

    // --- the window and the focus -------------------------------------------------------
    CQXPEdit* GetEditCtrl() const { return m_pEdit; }
    BOOL IsFocused() const { return m_bFocused; }
    // Gives the box the focus (its keys come first, the bar tracks it) or
    // takes it away (the focus goes back where it came from).
    virtual void SetFocused(BOOL bFocused);
    // The bar's key handling asks the focused control first: 0 the bar
    // handles it, 1 consumed, 2 the edit window handles it.
    virtual int ProcessKey(UINT nKey, LPARAM lParam = 0) = 0;
    virtual CQXPEdit* CreateEditWindow();
    virtual void GetCharFormat(COLORREF* pclrText, COLORREF* pclrBack);

    // CQXPEditOwner
    void OnEditDestroying(const CString& strText) override;
    CQXPCommandBar* GetEditBar() const override;

protected:
    // As the focus arrives (before the box counts as focused) and as it
    // leaves (after the box stopped hearing keys, before the focus goes back).
    virtual void OnFocusChanging(BOOL bFocused) { (void)bFocused; }
    // Where the edit window goes inside the control rectangle.
    virtual CRect GetEditWindowRect() = 0;
    // The window is about to be placed (made, fonted and coloured).
    virtual void OnEditWindowReady() {}

    // The window took the focus from hWndOld: the hint goes, the text is
    // kept for Esc and the window to give the focus back to is noted.
    void NoteFocusArrival(HWND hWndOld);
    // Places, shows or hides the window; creates it when needed.
    void LayoutEditWindow(BOOL bForce);
    void ShowEditWindow();
    void DestroyEditWindow();
    void UpdateColors();
    // The control's rectangle, hide flags or enabled state changed.
    void OnBoxRectChanged(const CRect& rc);
    void OnBoxHideFlagsChanged();
    void OnBoxEnabledChanged();
    static int KeyThunk(void* pOwner, UINT nKey, LPARAM lParam);

public:
    CQXPControl* m_pBoxControl; // the control this box is part of
    BOOL m_bWindowOnDemand;
    UINT m_nSetFocusCode;
    UINT m_nKillFocusCode;
    CQXPEdit* m_pEdit;
    BOOL m_bReposition;
    BOOL m_bDestroyWindow;
    CQXPControlView::EditLayout m_layout;
    CString m_strEditHint;
    CString m_strTextAtFocus;
    mutable CString m_strEditText;
    mutable BOOL m_bTextDirty;
    ShellAutoComplete* m_pAutoComplete;
    DWORD m_dwShellAutoCompleteFlags;
    DWORD m_dwEditStyle;
    BOOL m_bFocused;
    HWND m_hWndReturnFocus;
    CQXPFocusKeySink m_keySink;
    BOOL m_bChangingFocus;
};

// ---------------------------------------------------------------------------
// A text box on a bar.
class CQXPControlEdit : public CQXPControlButton, public CQXPEditBox {
    DECLARE_DYNCREATE(CQXPControlEdit)
public:
    CQXPControlEdit();
    ~CQXPControlEdit() override;

    // The text and hint, the window style and shell completion: CQXPEditBox.
    CString GetEditText() const override { return GetBoxText(); }

    // --- options ----------------------------------------------------------------
    void ShowLabel(BOOL bShow);
    BOOL IsLabelShown() const { return m_bHasLabel; }
    void SetReadOnly(BOOL bReadOnly);
    BOOL GetReadOnly() const { return m_bReadOnly; }
    void ShowSpinButtons(BOOL bShow);
    BOOL IsSpinButtonsShown() const { return m_bShowSpinButtons; }

    // --- keys and virtual operations -------------------------------------------------
    int ProcessKey(UINT nKey, LPARAM lParam = 0) override;
    virtual void OnSetFocus(HWND hWndOld);
    virtual void OnKillFocus();
    virtual void OnEditChanged();
    // Steps the number in the box by nCount in a direction (+1 up, -1 down).
    virtual void Spin(int nCount, int nDirection);

    // --- overrides -----------------------------------------------------------------
    BOOL IsCaptionVisible() const override;
    EditLayout* GetEditLayout() override { return &m_layout; }
    BOOL HasSpinButtons() const override { return m_bShowSpinButtons; }
    int GetSpinPressed() const override { return m_nSpinPressed; }
    void SetRect(const CRect& rc) override;
    void SetParent(CQXPCommandBar* pParent) override;
    void SetHideFlags(DWORD dwFlags) override;
    void SetEnabled(BOOL bEnabled) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnLButtonUp(CPoint pt) override { (void)pt; }
    BOOL OnLButtonDblClk(CPoint pt) override
    {
        OnClick(FALSE, pt);
        return TRUE;
    }
    void OnMouseMove(CPoint pt) override;
    BOOL OnSetSelected(int bSelected) override;
    void OnParentDestroying() override;
    void OnRemoved() override;
    void RefreshMetrics() override { m_bReposition = TRUE; }
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;
    void DoPropExchange(CQXPPropExchange* pPX) override;
    // The label width plus 10.
    int GetCustomizeMinWidth() const { return m_layout.nLabelWidth + 10; }
    BOOL IsCustomizeResizeAllow() const override { return TRUE; }

    // The spin area of the control rectangle (empty without spin buttons).
    CRect GetSpinRect() const;

    // CQXPEditOwner
    void OnEditSetFocus(HWND hWndOld) override { OnSetFocus(hWndOld); }
    void OnEditKillFocus() override { OnKillFocus(); }
    void OnEditTextChanged() override;
    BOOL OnEditRButtonDown(CPoint ptClient) override;

protected:
    CRect GetEditWindowRect() override;
    void OnEditWindowReady() override;
    void SpinPress(int nHalf);

public:
    BOOL m_bHasLabel;
    BOOL m_bReadOnly;
    BOOL m_bShowSpinButtons;
    int m_nSpinHot;     // 0 none, 1 up, 2 down
    int m_nSpinPressed; // 0 none, 1 up, 2 down
};
