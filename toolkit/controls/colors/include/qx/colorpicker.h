// qx/colorpicker.h - the colour picker button: a themed push button
// (qx/buttons.h) that shows a box of its colour and a drop arrow. A click,
// Enter, Space or Down opens the colour popup (qx/colorselector.h) under it;
// the popup's outcome reaches the picker's owner (else its parent) as
// WM_COMMAND notifications with the CPN_ codes:
//
//   the same colour          CPN_SELUNCHANGED
//   a new colour             CPN_CLOSEUP, CPN_SELCHANGE (GetColor is new)
//   dismissed                CPN_CLOSEUP, CPN_SELCANCEL
//   "No Fill"                CPN_SELNOFILL (GetColor is QX_COLOR_NOFILL)
//   the popup opened/closed  CPN_DROPDOWN / CPN_CLOSEUP
//
// The option pages construct a picker as a dialog member, subclass a push
// button (DDX_Control or DDX_QXColorPicker), then SetColor, SetDefaultColor
// and ModifyPopupStyle(0, 0x26), and read GetColor on CPN_SELCHANGE.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/buttons.h>
#include <qx/colorselector.h>

#include <vector>

// Posted by the picker to itself to open the popup.
#define CPM_SHOWPOPUP 0x2745

class CQXColorPicker;

// The picker's look: the button face (kept pushed while the popup is open),
// then the colour box and the drop arrow; the caption, when shown, is drawn
// inside the box.
class CColorPickerTheme : public CButtonTheme {
public:
    BOOL DrawBackgroundThemed(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton) override;
    void DrawBackgroundClassic(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton) override;
    COLORREF GetTextColor(UINT nItemState, CQXButton* pButton) override;
    void DrawCaption(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton) override;
    void DrawFocus(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton) override;

    // Draws the arrow and the box; the item rectangle becomes the box.
    void DrawColorBox(LPDRAWITEMSTRUCT lpDIS, CQXColorPicker* pPicker);
};

class CQXColorPicker : public CQXButton {
    DECLARE_DYNAMIC(CQXColorPicker)
public:
    CQXColorPicker();
    ~CQXColorPicker() override;

    // Stores the colour and redraws at once (nothing when unchanged).
    virtual void SetColor(COLORREF clr);
    virtual COLORREF GetColor() const { return m_clrColor; }
    virtual void SetShowCaption(BOOL bShow);
    virtual BOOL GetShowCaption() const { return m_bShowCaption; }
    virtual void SetCaptionInColor(BOOL bInColor);
    virtual BOOL GetCaptionInColor() const { return m_bCaptionInColor; }
    virtual void SetDefaultColor(COLORREF clr);
    virtual COLORREF GetDefaultColor() const { return m_clrDefault; }
    // Popup style = (style & ~dwRemove) | dwAdd (the selector's QXCS_ flags).
    virtual void ModifyPopupStyle(DWORD dwRemove, DWORD dwAdd);
    // Opens the popup (posts CPM_SHOWPOPUP to itself).
    virtual void ShowPopup();
    // Black or white, whichever stands out on GetColor.
    virtual COLORREF GetContrastColor() const;
    BOOL Init() override;

    DWORD GetPopupStyle() const { return m_dwPopupStyle; }
    BOOL IsPopupOpen() const { return m_bPopupOpen; }
    // A table of the caller's own for the popup, and the number of recent
    // colours it keeps (the list stays the caller's).
    void SetExtraColors(const COLORREF* pColors, int nCount, int nRecentLimit = kQxColorColumns);

protected:
    // The popup to open (a new self-deleting CQXColorPopup).
    virtual CQXColorPopup* NewPopup();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Sends WM_COMMAND (id, code) to the owner, else the parent; FALSE when
    // there is neither.
    BOOL Notify(UINT nCode);
    HWND GetNotifyTarget() const;

    afx_msg LRESULT OnShowPopup(WPARAM, LPARAM);
    afx_msg LRESULT OnSelUnchanged(WPARAM, LPARAM);
    afx_msg LRESULT OnDropDown(WPARAM, LPARAM);
    afx_msg LRESULT OnCloseUp(WPARAM, LPARAM);
    afx_msg LRESULT OnSelChange(WPARAM, LPARAM);
    afx_msg LRESULT OnSelCancel(WPARAM, LPARAM);
    afx_msg LRESULT OnSelNoFill(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    BOOL m_bShowCaption;
    BOOL m_bCaptionInColor;
    BOOL m_bPopupOpen;     // from ShowPopup until the popup reports its close
    DWORD m_dwPopupStyle;  // 6
    COLORREF m_clrColor;   // QX_COLOR_UNSET until set
    COLORREF m_clrDefault; // QX_COLOR_UNSET: no automatic colour
    const COLORREF* m_pExtraColors;
    int m_nExtraColors;
    int m_nRecentLimit; // 8
};

// Subclasses the dialog's control nIDC onto the picker on first use, then
// exchanges the colour (GetColor on save, SetColor on load).
void AFXAPI DDX_QXColorPicker(CDataExchange* pDX, int nIDC, CQXColorPicker& picker, COLORREF& value);
