// qx/keytips.h - keyboard tips: small topmost windows over the controls of
// a bar that is tracked from the keyboard, each naming the key(s) that
// activate its control.
#pragma once

#include <qx/commandbar.h>

#include <vector>

#define QXP_KEYTIP_CLASSNAME "QXPKeyboardTip"

// Placement flags of a tip relative to its anchor point.
enum QXPKeyboardTipAlign {
    qxpKeyTipCenterX = 1,  // half the width to the left
    qxpKeyTipRight = 2,    // the whole width to the left
    qxpKeyTipCenterY = 4,  // half the height up
    qxpKeyTipBottom = 8,   // the whole height up
};

class CQXPKeyboardTips {
public:
    struct Tip {
        HWND hWnd = NULL;
        CString strText;      // upper case, one or more characters
        CString strCaption;   // the control's caption
        CQXPControl* pControl = NULL;
        BOOL bEnabled = TRUE;
        CPoint ptAnchor;      // screen coordinates
        int nAlign = 0;
    };

    CQXPKeyboardTips();
    ~CQXPKeyboardTips();

    // Hides any tips and shows one tip for each visible, captioned control
    // of the bar. FALSE when the bar has no window or no control qualifies.
    BOOL Show(CQXPCommandBar* pBar, int nLevel = 1);
    void Hide();
    BOOL IsShown() const { return !m_tips.empty(); }
    CQXPCommandBar* GetBar() const { return m_pBar; }
    int GetLevel() const { return m_nLevel; }

    int GetCount() const { return (int)m_tips.size(); }
    const Tip& GetAt(int nIndex) const { return m_tips[(size_t)nIndex]; }

    // A typed character while the tips show. Returns 1 when the key was
    // taken (matched part of a tip or beeped), 0 for Shift/Ctrl; a complete
    // match on an enabled tip activates its control (the tips hide first).
    int OnKey(UINT nChar);

    // The tip texts for the given captions and explicit tips (same order;
    // empty explicit text derives it from the caption's mnemonic). Records
    // whose text stays empty come back empty. Several texts with the same
    // first character are made unique with a second character.
    static std::vector<CString> AFXAPI MakeTexts(const std::vector<CString>& captions,
                                                 const std::vector<CString>& explicitTips);

private:
    static BOOL AFXAPI RegisterTipClass();
    HWND CreateTipWindow(const Tip& tip);
    void Activate(CQXPControl* pControl);

    std::vector<Tip> m_tips;
    CQXPCommandBar* m_pBar;
    int m_nLevel;
    int m_nTyped;
    HFONT m_hFont;
};
