// qx/flatcombo.h - a combo box drawn flat: a thin frame and a slim drop
// button that look raised or sunken only while the mouse is over the
// control, it has the focus or its list is dropped down. A theme object
// (from CQXFlatComboBoxThemeFactory) draws it. It can also complete the
// typed text from its list items.
#pragma once

#include <qx/controlthemes.h>

class CQXFlatComboBox;

// Drawing states of the flat combo box.
enum QXFlatComboState {
    qxFlatComboNormal = 1,
    qxFlatComboHighlighted = 2, // mouse over or focus
    qxFlatComboDropped = 3,     // highlighted and the list is dropped down
};

// The default theme: classic three-dimensional edges.
class CQXFlatComboBoxTheme : public ThemeStyle {
public:
    CQXFlatComboBoxTheme();
    void RefreshMetrics() override;

    virtual void DrawFlatComboBox(CDC* pDC, CQXFlatComboBox* pCombo, int nState);
    virtual void DrawArrow(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo);
    virtual void DrawButton(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo);

    // The glyph: a 5-3-1 pixel triangle; nOffset moves it right and down.
    void DrawGlyph(CDC* pDC, CRect rc, COLORREF clr, int nOffset);
    // The width of the drop button for a font's average character width
    // (at least 15, at most SM_CXVSCROLL + 1).
    int CalcDropButtonWidth(int nAveCharWidth) const;

    int m_nDropButtonWidth;
    int m_cxHThumb;
    int m_cyVThumb;
    int m_cxBorder;
    int m_cyBorder;
    int m_cxEdge;
    int m_cyEdge;
    int m_cxVScroll;

protected:
    // The text area for an inner rectangle (one pixel more off the right in
    // the highlighted states).
    CRect TextArea(CRect rcInner, int nState) const;
    void FillDropDownListText(CDC* pDC, CQXFlatComboBox* pCombo, CRect rcText);
};

// Flat theme (id 1): a one-pixel frame and a filled button.
class CQXFlatComboBoxThemeFlat : public CQXFlatComboBoxTheme {
public:
    void DrawFlatComboBox(CDC* pDC, CQXFlatComboBox* pCombo, int nState) override;
    void DrawArrow(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo) override;
    void DrawButton(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo) override;
};

// Gradient theme (id 2): the frame only when highlighted, a gradient button.
class CQXFlatComboBoxThemeGradient : public CQXFlatComboBoxThemeFlat {
public:
    void DrawFlatComboBox(CDC* pDC, CQXFlatComboBox* pCombo, int nState) override;
    void DrawArrow(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo) override;
    void DrawButton(CDC* pDC, CRect rc, int nState, CQXFlatComboBox* pCombo) override;
};

// Id 1 flat, id 2 gradient, any other id the default theme.
class CQXFlatComboBoxThemeFactory : public CQXThemeManagerStyleFactory {
    DECLARE_DYNCREATE(CQXFlatComboBoxThemeFactory)
public:
    ThemeStyle* CreateTheme(int nTheme) override;
};

#define QX_TID_FLATCOMBO_HOVER 1000

class CQXFlatComboBox : public CComboBox {
    DECLARE_DYNAMIC(CQXFlatComboBox)
public:
    CQXFlatComboBox();
    ~CQXFlatComboBox() override;

    virtual void SetAutoComplete(BOOL bEnable = TRUE) { m_bAutoComplete = bEnable; }
    BOOL GetAutoComplete() const { return m_bAutoComplete; }
    // The cursor lies in the control's window rectangle.
    virtual BOOL IsCursorOver();
    virtual BOOL HasFocus() { return m_bHasFocus; }
    // The text area colour of a drop-down-list box ((COLORREF)-1: window).
    virtual void SetBackColor(COLORREF clr) { m_clrBack = clr; }
    virtual void SetTextColor(COLORREF clr) { m_clrText = clr; }
    virtual void DrawCombo(CDC* pDC, int nState);
    virtual void RenderControl(CDC* pDC);
    // Shrinks rc to the text area; returns the drop button's width.
    virtual int AdjustComboRect(CRect& rc);

    COLORREF GetBackColor() const { return m_clrBack; }
    COLORREF GetTextColor() const { return m_clrText; }
    void SetFlatLook(BOOL bFlat) { m_bFlatLook = bFlat; }
    BOOL GetFlatLook() const { return m_bFlatLook; }
    BOOL IsHover() const { return m_bHover; }
    // The combo box has an edit part (CB_GETEDITSEL answers).
    BOOL HasEdit() const;
    // The state RenderControl draws.
    int GetDrawState();

    CQXFlatComboBoxTheme* GetFlatTheme();
    ThemeFactoryList& GetThemeHolder() { return m_themeHolder; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void RedrawFlat();
    void OnHoverCheck();
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnSetFocusReflect();
    afx_msg BOOL OnKillFocusReflect();
    afx_msg BOOL OnCloseUpReflect();
    afx_msg BOOL OnEditUpdateReflect();
    DECLARE_MESSAGE_MAP()

    ThemeFactoryList m_themeHolder;
    BOOL m_bAutoComplete;
    BOOL m_bFlatLook;
    BOOL m_bSuppressCompletion;
    BOOL m_bHover;
    BOOL m_bHasFocus;
    COLORREF m_clrBack;
    COLORREF m_clrText;
    BOOL m_bCompleting;
};
