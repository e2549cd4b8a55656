// qx/listbox.h - the toolkit's owner-drawn list box and small utilities of
// the standard controls: popup menus with icons and an icon holder.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

// ---------------------------------------------------------------------------
// An owner-drawn list box with three looks (0 standard, 1 flat, 2 image) and
// a flicker-free paint.
class CQXListBox : public CListBox {
    DECLARE_DYNAMIC(CQXListBox)
public:
    CQXListBox();
    ~CQXListBox() override;

    enum {
        styleStandard = 0,
        styleFlat = 1,
        styleImage = 2
    };

    // Sets the toolkit's default UI font when asked.
    virtual void Initialize(BOOL bSetFont = TRUE);
    // Colour 5 of the colour manager.
    virtual COLORREF GetBackColor();
    // Adds LBS_OWNERDRAWVARIABLE and LBS_HASSTRINGS when missing.
    virtual BOOL ForceOwnerDrawStyle();
    void SetListStyle(int nStyle);
    int GetListStyle() const { return m_nListStyle; }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;

protected:
    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    BOOL m_bInitOnSubclass;
    int m_nListStyle;
};

// ---------------------------------------------------------------------------
// Shows a menu as a command-bar popup with icons in a program that has the
// command bars (they register their popup tracker when the program starts,
// before any manager exists), else as an ordinary menu. nIDIconToolbar:
// the toolbar resource whose images the popup shows (0 none). Returns the
// chosen command (0 when nothing was chosen or the menu cannot be shown).
UINT AFXAPI TrackPopupMenuEx(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner, int nIDIconToolbar = 0,
                             BOOL bNoNotify = FALSE);
// The command bars' popup tracker (menu, flags, x, y, owner, icon toolbar
// id); it returns the tracking result, or -1 when it could not load the menu.
typedef INT_PTR(AFXAPI* PFNQXTRACKPOPUPMENU)(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner,
                                             int nIDIconToolbar);
void AFXAPI SetToolkitPopupTracker(PFNQXTRACKPOPUPMENU pfnTracker);

// Owns one icon handle.
class CQXIconHolder {
public:
    CQXIconHolder() : m_hIcon(NULL) {}
    ~CQXIconHolder() { SetIcon(NULL); }
    CQXIconHolder(const CQXIconHolder&) = delete;
    CQXIconHolder& operator=(const CQXIconHolder&) = delete;
    void SetIcon(HICON hIcon)
    {
        if (m_hIcon)
            ::DestroyIcon(m_hIcon);
        m_hIcon = hIcon;
    }
    HICON GetIcon() const { return m_hIcon; }
    operator HICON() const { return m_hIcon; }

private:
    HICON m_hIcon;
};
