// qx/buttons.h - the toolkit's owner-painted push button and its themes.
//
// CQXButton paints every state itself through its current button theme
// (qx/controlthemes.h): background (visual style, else classic), caption,
// image and focus rectangle. It tracks the mouse for a hot look, keeps its
// own pushed state (BM_SETSTATE) and shows an optional image beside or above
// its caption.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/colors.h>
#include <qx/controlthemes.h>
#include <qx/visualstyles.h>

class CQXPIconImage;
class CQXPIconHandle;
class CQXButton;

// Extended styles.
#define BXS_FLAT 0x0001
#define BXS_SEMIFLAT 0x0002
#define BXS_STACKED 0x0004
#define BXS_FOCUSRECT 0x0010
#define BXS_CHECKPATTERN 0x0020
#define BXS_FLATTHEME 0x0040
#define BXS_VISUALSTYLE 0x1000

// ---------------------------------------------------------------------------
// Button themes.

class CButtonTheme : public ThemeStyle {
public:
    CButtonTheme();
    ~CButtonTheme() override;

    void RefreshMetrics() override;

    virtual BOOL IsFlatLook(CQXButton* pButton);
    virtual BOOL UseVisualStyle(CQXButton* pButton);
    virtual BOOL GetShowImage() const { return m_bShowImage; }
    virtual void SetShowImage(BOOL bShow) { m_bShowImage = bShow; }
    virtual CFont* GetFont(CQXButton* pButton);
    virtual void SetFont(CFont* pFont);
    virtual void SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow, COLORREF clrText);
    virtual void SetFaceColor(COLORREF clr) { m_crBack.Set(clr); }
    virtual COLORREF GetFaceColor() { return m_crBack; }
    virtual void SetLightColor(COLORREF clr) { m_crBorderLight.Set(clr); }
    virtual void SetShadowColor(COLORREF clr) { m_crBorderShadow.Set(clr); }
    virtual void SetTextColor(COLORREF clr) { m_crText.Set(clr); }
    // Image origin without regard to the caption.
    virtual CPoint GetImageBase(CSize szImage, CQXButton* pButton);
    virtual CPoint GetCaptionOrigin(CRect rc, CSize szCaption, CQXButton* pButton);
    virtual COLORREF GetTextColor(UINT nItemState, CQXButton* pButton);
    virtual void DrawCaption(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton);
    // Image origin with the caption taken into account.
    virtual CPoint GetImageOrigin(CRect rc, CSize szCaption, CQXButton* pButton);
    virtual void DrawImage(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton);
    virtual void DrawButton(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton);
    virtual BOOL DrawBackgroundThemed(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton);
    virtual void DrawBackgroundClassic(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton);
    virtual void DrawFocus(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton);

    // The visual style's push-button state for a button and item state.
    int GetPushButtonState(UINT nItemState, CQXButton* pButton);
    // The caption without "&" markers, measured in the theme's font.
    CSize GetCaptionSize(CDC* pDC, CQXButton* pButton);

    BOOL m_bShowImage;
    BOOL m_bOffsetHiliteText; // caption and image move by (1, 1) when pushed or checked
    CFont* m_pFont;
    ColorValue m_crBack;
    ColorValue m_crText;
    ColorValue m_crTextDisabled;
    ColorValue m_crBorderLight;
    ColorValue m_crBorderShadow;
    ColorValue m_crBorderHilite;
    ColorValue m_crBorder3DShadow;
    CVisualStyleTheme m_themeButton;
    BOOL m_bThemeOpened;
};

class CButtonThemeFlat : public CButtonTheme {
public:
    explicit CButtonThemeFlat(BOOL bToolbarLook = FALSE);

    void RefreshMetrics() override;
    BOOL IsFlatLook(CQXButton*) override { return TRUE; }
    COLORREF GetTextColor(UINT nItemState, CQXButton* pButton) override;
    void DrawImage(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton) override;
    void DrawBackgroundClassic(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton) override;

    virtual void SetToolbarLook(BOOL bToolbarLook);
    virtual void SetPushedFaceColor(COLORREF clr) { m_crPushedFace.Set(clr); }
    virtual void SetHotFaceColor(COLORREF clr) { m_crHotFace.Set(clr); }
    virtual void SetPushedTextColor(COLORREF clr) { m_crPushedText.Set(clr); }
    virtual void SetHotTextColor(COLORREF clr) { m_crHotText.Set(clr); }

    BOOL m_bToolbarLook;
    BOOL m_bFadedImages;
    BOOL m_bShadowEffect;
    ColorValue m_crPushedFace;
    ColorValue m_crHotFace;
    ColorValue m_crPushedText;
    ColorValue m_crHotText;
    ColorValue m_crCheckedFace;
};

class CButtonThemeGradient : public CButtonThemeFlat {
public:
    explicit CButtonThemeGradient(BOOL bToolbarLook = FALSE);

    void RefreshMetrics() override;
    void DrawImage(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton) override;
    void DrawBackgroundClassic(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton) override;
};

// Toolbar-style buttons: the "TOOLBAR" visual style, no focus state.
class CButtonThemeToolbar : public CButtonTheme {
public:
    BOOL UseVisualStyle(CQXButton* pButton) override;
    BOOL DrawBackgroundThemed(LPDRAWITEMSTRUCT lpDIS, CQXButton* pButton) override;
    void DrawImage(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton) override;
};

// The browse button's look: images drawn by state with DrawState.
class CButtonThemeStateImage : public CButtonTheme {
public:
    void DrawImage(CDC* pDC, UINT nItemState, CRect rc, CQXButton* pButton) override;
};

// The factory of button themes: 1 flat, 2 gradient, others the base theme.
class CQXButtonThemeFactory : public CQXThemeManagerStyleFactory {
    DECLARE_DYNCREATE(CQXButtonThemeFactory)
public:
    ThemeStyle* CreateTheme(int nTheme) override;
};

// ---------------------------------------------------------------------------
class CQXButton : public CButton {
    DECLARE_DYNAMIC(CQXButton)
public:
    explicit CQXButton(CRuntimeClass* pFactoryClass = NULL);
    ~CQXButton() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    virtual BOOL SetImage(CSize size, HICON hNormal, HICON hHot = NULL, BOOL bRedraw = TRUE);
    // Takes the images of icon handles (the button keeps its own copies).
    BOOL SetImage(CSize size, const CQXPIconHandle& normal, const CQXPIconHandle* pHot, BOOL bRedraw);
    virtual BOOL SetImageFromResource(CSize size, UINT nNormalID, UINT nHotID = 0, BOOL bRedraw = TRUE);
    virtual BOOL SetImageFromResource(CSize size, WORD wNormalID, WORD wHotID, BOOL bRedraw = TRUE);
    virtual BOOL SetImageFromIcons(CSize size, HICON hNormal, HICON hHot = NULL, BOOL bRedraw = TRUE);
    virtual BOOL SetBitmapImage(CSize size, UINT nBitmapID, BOOL bRedraw = TRUE);
    virtual BOOL SetImagePositions(CPoint ptImage, CPoint ptCaption, BOOL bRedraw = TRUE);
    virtual DWORD SetExtendedStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
    virtual DWORD GetExtendedStyle() const { return m_dwxStyle; }
    virtual BOOL HasTheme() { return GetButtonTheme() != NULL; }
    virtual void SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow, COLORREF clrText);
    virtual void SetFaceColor(COLORREF clr);
    virtual COLORREF GetFaceColor();
    virtual void SetLightColor(COLORREF clr);
    virtual void SetShadowColor(COLORREF clr);
    virtual void SetTextColor(COLORREF clr);
    virtual void SetFlatColors(COLORREF clrBorder, COLORREF clrHotFace, COLORREF clrPushedFace);
    virtual void ToggleImage();
    virtual CFont* SetButtonFont(CFont* pFont);
    virtual BOOL Init();
    virtual void ReleaseImage();
    virtual void GetButtonText(CString& str, BOOL bStrip = TRUE) const;
    virtual void DrawButton(CDC* pDC);

    // The current theme as a button theme (NULL without one).
    CButtonTheme* GetButtonTheme();
    ThemeFactoryList& GetThemeHolder() { return m_themeHolder; }

    // What the themes read.
    CSize GetImageSize();
    CPoint GetImageOrigin();
    CPoint GetCaptionOrigin();
    CQXPIconImage* GetImage() const { return m_pImage; }
    HICON GetNormalIcon() const;
    BOOL IsHot() const;
    BOOL IsPushed() const { return m_bPushed; }
    BOOL GetChecked() const { return m_bChecked; }
    void SetChecked(BOOL bChecked);
    BOOL IsExplicitPositions() const { return m_bExplicitPositions; }

    int m_nBorderGap; // 4
    int m_nImageGap;  // 8

protected:
    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnPaint();
    afx_msg void OnSysColorChange();
    afx_msg void OnMouseLeave();
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg UINT OnGetDlgCode();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDefaultAndRedraw(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDefWindowAndRedraw(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    ThemeFactoryList m_themeHolder;
    BYTE m_bInitOnSubclass;
    BOOL m_bExplicitPositions;
    BOOL m_bChecked;
    DWORD m_dwxStyle;
    CSize m_szImage;
    CPoint m_ptImageOrigin;
    CPoint m_ptCaptionOrigin;
    CQXPIconImage* m_pImage;
    BOOL m_bHot;
    BOOL m_bPushed;
    BOOL m_bOwnerDrawStyle;
};
