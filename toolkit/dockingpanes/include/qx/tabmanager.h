// qx/tabmanager.h - the windowless logic of one strip of tabs: the items, the
// selected, hot and pressed item, scrolling, the navigate buttons, hit tests,
// keyboard stepping, the click loop and the drag-to-reorder loop. A host
// supplies the window, the redraw and the tab paint manager.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <vector>

class CQXPTabManager;
class CQXPTabPainter;

// The eight fixed tab colours, chosen by the values 0x1000000..0x1000007.
#define QXP_TABCOLOR_FIRST 0x1000000
COLORREF AFXAPI QxpResolveTabColor(COLORREF clr);

class CQXPTabManagerAtom {
public:
    virtual void Reposition() { OnPropertyChanged(); }
    virtual void OnPropertyChanged() = 0;
    virtual ~CQXPTabManagerAtom() {}
};

class CQXPTabManagerNavigateButton;

class CQXPTabManagerItem : public CCmdTarget {
public:
    CQXPTabManagerItem();
    ~CQXPTabManagerItem() override;

    CString GetCaption() const;
    void SetCaption(LPCSTR lpszCaption);
    COLORREF GetColor() const;
    void SetColor(COLORREF clr);
    BOOL IsVisible() const { return m_bVisible; }
    void SetVisible(BOOL bVisible);
    BOOL IsEnabled() const { return m_bEnabled; }
    void SetEnabled(BOOL bEnabled);
    void Select();
    void Remove();
    int GetIndex() const { return m_nIndex; }
    CQXPTabManager* GetTabManager() const { return m_pTabManager; }
    void SetRect(const RECT& rc) { m_rcItem = rc; }
    const RECT& GetRect() const { return m_rcItem; }
    BOOL IsSelected() const;
    // Draws the item's image in rc through the owner's DrawItemImage; on a
    // left or right strip whose paint manager rotates images, a square image
    // is drawn transposed. FALSE when the item has no image.
    BOOL DrawImage(HDC hDC, const RECT& rc);
    // Called once by the owner when the item leaves it.
    virtual void OnRemoved()
    {
        m_pTabManager = NULL;
        m_nIndex = -1;
    }

    int m_nButtonLength;  // width assigned by the last layout
    int m_nContentLength; // measured width of the caption
    int m_nIndex;
    BOOL m_bEnabled;
    BOOL m_bVisible;
    HWND m_hWnd;
    DWORD_PTR m_nImage;
    RECT m_rcItem;
    CString m_strCaption;
    CString m_strToolTip;
    COLORREF m_clrItem;
    CQXPTabManager* m_pTabManager;
    int m_nItemRow;
    BOOL m_bClosable;
    BOOL m_bFound; // scratch mark of hosts that re-synchronise
    DWORD_PTR m_dwData;
    // The item's own buttons (its close button when the manager gives each
    // item one), owned; placed inside the item's end when it is drawn.
    std::vector<CQXPTabManagerNavigateButton*> m_arrNavigateButtons;
};

class CQXPTabManagerNavigateButton {
public:
    enum {
        idLeft = 0,
        idRight = 1,
        idClose = 2,
        idActiveFiles = 4
    };
    CQXPTabManagerNavigateButton(CQXPTabManager* pManager, UINT nID, int nMode);
    CString m_strToolTip;
    virtual ~CQXPTabManagerNavigateButton() {}

    // Shortens the available length by the width the button reserves.
    virtual void AdjustWidth(int& nWidth);
    virtual SIZE GetSize() const;
    // Takes its place at the far end of rc and shrinks rc.
    virtual void Reposition(RECT& rc);
    virtual void OnExecute(BOOL bTick);

    UINT m_nID;
    int m_nMode; // 0 hidden, 1 automatic, 2 always
    CQXPTabManager* m_pManager;
    RECT m_rc;
    BOOL m_bEnabled;
    BOOL m_bPressed;
    CQXPTabManagerItem* m_pItem;
    // The "Active Files" button: the tabs were longer than the strip at the
    // last placement (its glyph then shows a bar).
    BOOL m_bItemsOverflow;

protected:
    void PlaceAtEnd(RECT& rc);
};

class CQXPTabManager : public CQXPTabManagerAtom {
public:
    CQXPTabManager();
    ~CQXPTabManager() override;

    virtual CString GetItemCaption(const CQXPTabManagerItem* pItem) const { return pItem->m_strCaption; }
    virtual DWORD_PTR GetItemImage(const CQXPTabManagerItem* pItem) const { return pItem->m_nImage; }
    virtual COLORREF GetItemColor(const CQXPTabManagerItem* pItem) const;
    virtual CString GetItemTooltip(const CQXPTabManagerItem* pItem) const { return pItem->m_strToolTip; }
    // The tooltip of a navigate button (the button's own text).
    virtual CString GetNavigateButtonTooltip(const CQXPTabManagerNavigateButton* pButton) const;
    virtual void OnItemsChanged();
    virtual void SetSelectedItem(CQXPTabManagerItem* pItem);
    virtual void SetCurSelByKey(CQXPTabManagerItem* pItem);
    virtual CQXPTabPainter* GetPaintManager() const = 0;
    virtual void RedrawControl(LPCRECT lpRect, BOOL bAnimate) = 0;
    BOOL IsAllowReorder() const { return m_bAllowReorder; }
    void SetAllowReorder(BOOL b) { m_bAllowReorder = b; }
    virtual int GetPosition() const;
    // The paint manager's item widths as sizes of height 0: the fixed
    // width, the minimum and the maximum (0: none); NULL outputs are skipped.
    void GetItemMetrics(SIZE* pszButton, SIZE* pszMin, SIZE* pszMax) const;
    // Whether the paint manager draws a frame around the whole control.
    virtual BOOL IsDrawStaticFrame() const;
    virtual void Scroll(BOOL bForward);
    // Handles navigation keys; TRUE when the key was taken.
    virtual BOOL OnKeyDown(HWND hWnd, UINT nKey);
    virtual BOOL IsNavigateButtonVisible(const CQXPTabManagerNavigateButton* pButton) const;
    // The item's icon (GetItemImage) at pt in the size given, drawn only
    // with bDraw; TRUE when the item has one.
    virtual BOOL DrawItemImage(HDC hDC, POINT pt, CQXPTabManagerItem* pItem, BOOL bDraw, SIZE szIcon) const;
    virtual void OnItemClick(CQXPTabManagerItem* pItem) { SetSelectedItem(pItem); }
    virtual BOOL IsItemSelectable(CQXPTabManagerItem* /*pItem*/) const { return TRUE; }
    virtual void TrackReorder(HWND hWnd, POINT pt, CQXPTabManagerItem* pItem);
    virtual void OnNavigateButtonClick(UINT /*nID*/) {}
    // A navigate button was released over: by default its id's handler.
    virtual void OnNavigateButtonClick(CQXPTabManagerNavigateButton* pButton);
    virtual BOOL IsMouseLocked() const { return FALSE; }
    // The tooltip under a point: the tool id (button index or item index) and
    // its text and rectangle, -1 when none. The item's caption is the title.
    virtual INT_PTR OnToolHitTest(POINT pt, CString* pText, RECT* pRect, CString* pTitle = NULL) const;

    CQXPTabManagerItem* AddItem(int nIndex, CQXPTabManagerItem* pItem = NULL);
    BOOL DeleteItem(int nIndex);
    void DeleteAllItems();
    void SetCurSel(int nIndex);
    int GetCurSel() const;
    int GetItemCount() const { return (int)m_arrItems.size(); }
    CQXPTabManagerItem* GetItem(int nIndex) const;
    CQXPTabManagerItem* GetSelectedItem() const { return m_pSelected; }
    CQXPTabManagerItem* GetHighlighted() const { return m_pHighlighted; }
    CQXPTabManagerNavigateButton* GetHighlightedNavigateButton() const { return m_pHighlightedNavigateButton; }
    CQXPTabManagerItem* GetPressed() const { return m_pPressed; }
    CQXPTabManagerItem* FindNextFocusable(int nIndex, int nStep) const;
    int GetItemsLength() const;
    CQXPTabManagerNavigateButton* FindNavigateButton(UINT nID) const;
    CQXPTabManagerItem* HitTest(POINT pt) const;
    CQXPTabManagerNavigateButton* HitTestNavigateButton(POINT pt, BOOL bHeaderOnly, int* pnIndex = NULL) const;
    // Hover: the hot item follows the mouse; (-1, -1) clears it.
    void TrackMouse(HWND hWnd, POINT pt);
    // Mouse down: a navigate button's loop, the reorder loop or the click
    // loop. TRUE when something was hit.
    BOOL PerformClick(HWND hWnd, POINT pt, BOOL bNoItemClick = FALSE);
    // Gives every item its own close button in a visibility mode (0 none,
    // 1 automatic: on the selected and the hot item, 2 always); items added
    // later get one too.
    void SetItemCloseMode(int nMode);
    void SetActive(BOOL bActive);
    BOOL IsActive() const { return m_bActive; }
    // Whether the keyboard focus lies in what the strip's selected tab
    // shows (hosts that know it say so; a plain strip does not).
    virtual BOOL IsFocused() const { return FALSE; }
    void EnsureVisible(CQXPTabManagerItem* pItem);
    int GetScrollOffset() const { return m_nScrollDelta; }
    void SetScrollOffset(int nOffset);
    // The same inside a layout: no property change follows.
    void SetScrollOffsetQuietly(int nOffset) { m_nScrollDelta = nOffset < 0 ? nOffset : 0; }
    // Lays the strip out in rc (the paint manager's layout).
    void Reposition(HDC hDC, const RECT& rc);
    using CQXPTabManagerAtom::Reposition;

    RECT m_rcHeaderRect;
    RECT m_rcControl;
    RECT m_rcClient;
    int m_nItemCloseMode;
    std::vector<CQXPTabManagerNavigateButton*> m_arrNavigateButtons;
    std::vector<CQXPTabManagerItem*> m_arrItems;
    std::vector<std::pair<int, int>> m_arrRows;
    int m_nScrollStep;
    // Set by a new selection: the next layout scrolls the selected item into
    // view (hosts may defer their layout, so the item's rectangle is only
    // known then). Cleared by a layout that had room to show it.
    BOOL m_bRevealSelected;

protected:
    // The click loop from a press at pt: TRUE when the button went up over
    // the item. Hover is taken again at the last point.
    BOOL TrackClick(HWND hWnd, CQXPTabManagerItem* pItem, POINT pt);
    // The press of a navigate button at pt: repeats its tick every 20 ms
    // while held (inside or not); TRUE when released over it. Hover is taken
    // again at the last point.
    BOOL TrackNavigateButton(HWND hWnd, CQXPTabManagerNavigateButton* pButton, POINT pt);
    // Whether the item still belongs to this strip (it may have been removed
    // while a loop dispatched messages).
    BOOL IsLiveItem(const CQXPTabManagerItem* pItem) const;
    // The item leaves the strip: nothing hot or pressed may point at it or
    // its buttons any more.
    void ForgetItem(CQXPTabManagerItem* pItem);

    CQXPTabManagerItem* m_pSelected;
    CQXPTabManagerItem* m_pHighlighted;
    CQXPTabManagerItem* m_pPressed;
    CQXPTabManagerNavigateButton* m_pHighlightedNavigateButton;
    int m_nScrollDelta;
    BOOL m_bAllowReorder;
    BOOL m_bActive;
};
