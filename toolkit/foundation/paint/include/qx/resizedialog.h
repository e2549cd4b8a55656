// qx/resizedialog.h - dialogs whose controls follow the dialog's size.
//
// Each anchored control is tied to the dialog's edges by four fractions
// (left, top, right, bottom): on every resize it moves and stretches by those
// fractions of the change in client size. (0, 0, 1, 0) stretches a control
// horizontally, (1, 1, 1, 1) moves it with the bottom-right corner. A size
// grip sits in the bottom-right corner of dialogs with a sizing frame; the
// designed size is the minimum unless told otherwise; the placement can be
// kept in the application profile under a name (section <name>, binary value
// "WindowPlacement": the 44-byte WINDOWPLACEMENT).
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

// Anchor values.
struct CQXResizePoint {
    float x;
    float y;
    CQXResizePoint(float fx = 0, float fy = 0) : x(fx), y(fy) {}
};

struct CQXResizeRect {
    float left;
    float top;
    float right;
    float bottom;
    CQXResizeRect(float l = 0, float t = 0, float r = 0, float b = 0) : left(l), top(t), right(r), bottom(b) {}
    CQXResizeRect(const CQXResizePoint& topLeft, const CQXResizePoint& bottomRight)
        : left(topLeft.x), top(topLeft.y), right(bottomRight.x), bottom(bottomRight.y)
    {
    }
    bool operator==(const CQXResizeRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const CQXResizeRect& o) const { return !(*this == o); }
};

// Common anchor points.
extern const CQXResizePoint QXRESIZE_TOP_LEFT;     // (0, 0)
extern const CQXResizePoint QXRESIZE_TOP_RIGHT;    // (1, 0)
extern const CQXResizePoint QXRESIZE_BOTTOM_LEFT;  // (0, 1)
extern const CQXResizePoint QXRESIZE_BOTTOM_RIGHT; // (1, 1)

// Layout flags.
enum {
    qxResizeNoSizeIcon = 0x01,   // no size grip
    qxResizeNoHorizontal = 0x02, // fixed width
    qxResizeNoVertical = 0x04,   // fixed height
    qxResizeNoMinSize = 0x08,    // the designed size is not the minimum
    qxResizeNoClipChildren = 0x10,
};

// The size grip: a size-box scroll bar with the diagonal cursor.
class CQXSizeGrip : public CScrollBar {
public:
    // Control id of the grip.
    enum {
        kID = 0x7FFF
    };

protected:
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};

// A group box that keeps its own look (no transparent style is added).
class CQXResizeGroupBox : public CButton {
    DECLARE_DYNAMIC(CQXResizeGroupBox)
};

// One anchored control.
class CQXResizeItem {
public:
    CQXResizeItem(CWnd* pWnd, const CQXResizeRect& anchors, const CQXResizeRect& rcWindow, BOOL bAttached);
    ~CQXResizeItem();
    CQXResizeItem(const CQXResizeItem&) = delete;
    CQXResizeItem& operator=(const CQXResizeItem&) = delete;

    BOOL m_bRepaint;     // invalidate after moving (plain group boxes)
    BOOL m_bAttached;    // the layout made a temporary window object for it
    BOOL m_bInitialized; // laid out at least once
    CWnd* m_pWnd;
    CQXResizeRect m_rrcSizing;     // the anchors
    CQXResizeRect m_rrcWindow;     // current rectangle (dialog client coordinates)
    CQXResizeRect m_rrcInitWindow; // original rectangle
};

// The resize engine of one window.
class CQXResizeLayout {
public:
    CQXResizeLayout(CWnd* pWnd, UINT nFlags = 0);
    virtual ~CQXResizeLayout();
    CQXResizeLayout(const CQXResizeLayout&) = delete;
    CQXResizeLayout& operator=(const CQXResizeLayout&) = delete;

    // Frees the items, takes the client size as the last, initial and
    // (unless qxResizeNoMinSize) minimum size, adds WS_CLIPCHILDREN and
    // creates the size grip as the flags say.
    void Setup();
    // Anchors a control: the id's earlier anchors grow by these, else a new
    // item is made for pWnd (or the dialog item of that id). FALSE when there
    // is no such window.
    BOOL SetResize(UINT nID, HWND hWnd, const CQXResizeRect& anchors);
    BOOL SetResize(UINT nID, const CQXResizeRect& anchors) { return SetResize(nID, NULL, anchors); }
    BOOL SetResize(UINT nID, const CQXResizePoint& topLeft, const CQXResizePoint& bottomRight)
    {
        return SetResize(nID, NULL, CQXResizeRect(topLeft, bottomRight));
    }
    void SetFlag(UINT nFlags) { m_nFlags |= nFlags; }
    UINT GetFlags() const { return m_nFlags; }
    void SetMinSize(CSize sz) { m_szMin = sz; }
    void SetMaxSize(CSize sz) { m_szMax = sz; }
    void RemoveAllControls();

    // WM_SIZE (after the default handling) and WM_GETMINMAXINFO.
    void Size();
    void GetMinMaxInfo(MINMAXINFO* pMMI);

    int GetItemCount() const { return (int)m_arrItems.GetSize(); }
    CQXResizeItem* GetItem(int i) const { return (CQXResizeItem*)m_arrItems[i]; }
    CQXResizeItem* FindItem(UINT nID) const;
    CWnd* GetSizeGrip() { return m_scSizeIcon.GetSafeHwnd() ? &m_scSizeIcon : NULL; }

    UINT m_nFlags;
    CWnd* m_pWnd;
    CSize m_szWindow;     // last laid-out client size
    CSize m_szInitWindow; // client size at set-up
    CSize m_szMin;        // 0: none
    CSize m_szMax;        // 0: none
    CString m_strSection; // placement name, empty for none
    CQXSizeGrip m_scSizeIcon;
    CPtrArray m_arrItems;
};

class CQXResizeDialog : public CDialog {
    DECLARE_DYNCREATE(CQXResizeDialog)
public:
    CQXResizeDialog();
    CQXResizeDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL, UINT nFlags = 0);
    ~CQXResizeDialog() override;

    BOOL OnInitDialog() override;

    BOOL SetResize(UINT nID, const CQXResizeRect& anchors) { return m_layout.SetResize(nID, NULL, anchors); }
    BOOL SetResize(UINT nID, const CQXResizePoint& topLeft, const CQXResizePoint& bottomRight)
    {
        return m_layout.SetResize(nID, NULL, CQXResizeRect(topLeft, bottomRight));
    }
    BOOL SetResize(UINT nID, HWND hWnd, const CQXResizeRect& anchors) { return m_layout.SetResize(nID, hWnd, anchors); }
    void SetFlag(UINT nFlags) { m_layout.SetFlag(nFlags); }

    // Remembers the name and restores the placement stored under it.
    void AutoLoadPlacement(LPCSTR lpszSection);
    // Applies a stored placement (only data of exactly 44 bytes); FALSE when
    // there is none.
    BOOL LoadPlacement(LPCSTR lpszSection);
    // Stores the window's placement; FALSE when it cannot be read.
    BOOL SavePlacement(LPCSTR lpszSection);

    CQXResizeLayout m_layout;
    UINT m_nDialogID;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
