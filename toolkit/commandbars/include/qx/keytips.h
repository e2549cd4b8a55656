// qx/keytips.h - keyboard tips: small topmost windows over the controls of
// a bar that is tracked from the keyboard, each naming the key(s) that
// activate its control (or, on a top-level bar, that move keyboard
// tracking to another bar).
#pragma once

#include <qx/commandbar.h>

#include <vector>

#define QXP_KEYTIP_CLASSNAME "QXPKeyboardTip"

// Placement flags of a tip relative to its anchor point.
enum QXPKeyboardTipAlign {
    qxpKeyTipCenterX = 1, // half the width to the left
    qxpKeyTipRight = 2,   // the whole width to the left
    qxpKeyTipCenterY = 4, // half the height up
    qxpKeyTipBottom = 8,  // the whole height up
};

// One tip. The control or bar it names is kept alive (one reference) for
// as long as the tip exists, so a tip never points at a freed object.
struct CQXPKeyboardTip {
    HWND hWnd = NULL;
    CString strText;              // upper case, one or more characters
    CString strCaption;           // the control's caption or the bar's title
    CString strExplicit;          // the control's own KeyboardTip text, if any
    CQXPControl* pControl = NULL; // the control it activates, or
    CQXPCommandBar* pBar = NULL;  // the bar it moves keyboard tracking to
    int nItem = -1;               // or an item of the bar the tips show for (a ribbon tab)
    BOOL bEnabled = TRUE;
    // FALSE: the tip answers its keys but shows no window (its control is
    // not on screen now, as in a collapsed ribbon group).
    BOOL bVisible = TRUE;
    CPoint ptAnchor; // screen coordinates
    int nAlign = 0;
};

class CQXPKeyboardTips {
public:
    typedef CQXPKeyboardTip Tip;

    // pOwner: the manager told when a click on a tip ends the tips.
    explicit CQXPKeyboardTips(CQXPCommandBars* pOwner = NULL);
    ~CQXPKeyboardTips();
    CQXPKeyboardTips(const CQXPKeyboardTips&) = delete;
    CQXPKeyboardTips& operator=(const CQXPKeyboardTips&) = delete;

    // Hides any tips, lets the bar make its records (CreateKeyboardTips)
    // and shows one window per record that gets a text. FALSE when the bar
    // has no window or no record qualifies.
    BOOL Show(CQXPCommandBar* pBar, int nLevel = 1);
    void Hide();
    BOOL IsShown() const { return !m_tips.empty(); }
    CQXPCommandBar* GetBar() const { return m_pBar; }
    int GetLevel() const { return m_nLevel; }
    // TRUE when the tips are shown for the bar or one of them names it.
    BOOL RefersTo(const CQXPCommandBar* pBar) const;

    int GetCount() const { return (int)m_tips.size(); }
    const Tip& GetAt(int nIndex) const { return m_tips[(size_t)nIndex]; }

    // Records made while Show runs (from CreateKeyboardTips): a tip for a
    // control at an anchor (screen coordinates), or for another bar.
    // lpszText: the text the bar gives (else the control's own tip);
    // bVisible FALSE: a tip without a window (CQXPKeyboardTip::bVisible).
    void AddControlTip(CQXPControl* pControl, CPoint ptAnchor, int nAlign = 0, LPCSTR lpszText = NULL,
                       BOOL bVisible = TRUE);
    void AddBarTip(CQXPCommandBar* pBar, CPoint ptAnchor, int nAlign = 0);
    // An item of the bar that is no control (its caption's mnemonic is the
    // tip); the bar's OnKeyboardTip acts on it.
    void AddItemTip(int nItem, const CString& strCaption, CPoint ptAnchor, int nAlign = 0);

    // A typed character while the tips show. Returns 1 when the key was
    // taken (matched part of a tip or beeped), 0 for Shift/Ctrl; a complete
    // match on an enabled tip hands it to the bar's OnKeyboardTip (the tips
    // hide first); a disabled one beeps.
    int OnKey(UINT nChar);

    // The tip texts for the given captions and explicit tips (same order;
    // empty explicit text derives it from the caption's mnemonic). Records
    // whose text stays empty come back empty. Several texts with the same
    // first character are made unique with a second character.
    static std::vector<CString> AFXAPI MakeTexts(const std::vector<CString>& captions,
                                                 const std::vector<CString>& explicitTips);

    // A click on a tip window.
    void OnTipClicked();

private:
    static BOOL AFXAPI RegisterTipClass();
    HWND CreateTipWindow(const Tip& tip);
    static void AFXAPI AddRefTip(const Tip& tip);
    static void AFXAPI ReleaseTip(const Tip& tip);
    void DestroyTip(const Tip& tip);

    std::vector<Tip> m_tips;
    std::vector<Tip> m_records; // collected while Show runs
    BOOL m_bCollecting;
    CQXPCommandBars* m_pOwner;
    CQXPCommandBar* m_pBar; // one reference while shown
    int m_nLevel;
    int m_nTyped;
};
