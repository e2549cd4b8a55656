// qx/galleryitems.h - the items of a gallery and their layout.
//
// A GalleryItemList holds the items that every gallery linked to one action
// shows: plain items of one uniform cell size and group labels. The list
// owns its items. Each change bumps the list's version; a gallery lays out
// again whenever the version it laid out from is no longer the list's, so
// it never keeps a pointer to an item the list has freed.
//
// CQXPGalleryLayout places the items in rows inside the items rectangle
// and answers the questions of the keyboard, the mouse and the scroll bar
// about them: all of it without windows, in content coordinates (y does not
// include the scroll offset).
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <vector>

class CQXPControlGallery;
class GalleryItemList;

// ---------------------------------------------------------------------------
class GalleryItem {
public:
    GalleryItem();
    virtual ~GalleryItem();
    GalleryItem(const GalleryItem&) = delete;
    GalleryItem& operator=(const GalleryItem&) = delete;

    int GetID() const { return m_nId; }
    void SetID(int nId) { m_nId = nId; }
    int GetIndex() const { return m_nIndex; }
    CString GetCaption() const { return m_strCaption; }
    void SetCaption(LPCSTR lpszCaption) { m_strCaption = lpszCaption; }
    CString GetTooltip() const { return m_strTooltip; }
    void SetTooltip(LPCSTR lpszTooltip) { m_strTooltip = lpszTooltip; }
    // A label is a group caption, never selectable.
    BOOL IsLabel() const { return m_bLabel; }
    GalleryItemList* GetList() const { return m_pList; }

    // Width and height of the cell; width 0 fills the items width. Plain
    // items take the list's item size.
    virtual CSize GetSize() const;
    // Draws the item in its states (label items as a label row).
    virtual void Draw(CDC* pDC, CQXPControlGallery* pGallery, CRect rcItem, BOOL bEnabled, BOOL bSelected,
                      BOOL bPressed, BOOL bChecked);

private:
    friend class GalleryItemList;
    int m_nId;
    int m_nIndex;
    CString m_strCaption;
    CString m_strTooltip;
    BOOL m_bLabel;
    GalleryItemList* m_pList;
};

// ---------------------------------------------------------------------------
class GalleryItemList : public CCmdTarget {
public:
    GalleryItemList();
    ~GalleryItemList() override;

    int GetItemCount() const { return (int)m_items.size(); }
    // None outside 0 .. count - 1.
    GalleryItem* GetItem(int nIndex) const;

    // Appends an item (the list owns it) and returns it.
    GalleryItem* AddItem(int nId, LPCSTR lpszCaption);
    GalleryItem* AddLabel(LPCSTR lpszCaption);
    GalleryItem* AddItem(GalleryItem* pItem);
    void Remove(int nIndex);
    void RemoveAll();

    // The uniform cell of plain items, used for scrolling and row keys.
    void SetItemSize(int cx, int cy);
    int GetItemWidth() const { return m_cxItem; }
    int GetItemHeight() const { return m_cyItem; }

    // When set, a selection change redraws just the two item rectangles,
    // else the whole gallery.
    BOOL GetRedrawChangedItems() const { return m_bRedrawChangedItems; }
    void SetRedrawChangedItems(BOOL bRedraw) { m_bRedrawChangedItems = bRedraw; }

    // The draw hook: non-zero when it drew the item itself.
    virtual BOOL OnDrawItem(CDC* pDC, CQXPControlGallery* pGallery, GalleryItem* pItem, CRect rcItem,
                            BOOL bEnabled, BOOL bSelected, BOOL bPressed, BOOL bChecked);

    // Bumped on every change of the items or their size.
    DWORD GetVersion() const { return m_dwVersion; }

private:
    void Changed();

    std::vector<GalleryItem*> m_items;
    int m_cxItem;
    int m_cyItem;
    BOOL m_bRedrawChangedItems;
    DWORD m_dwVersion;
};

// ---------------------------------------------------------------------------
// One record per item, in item order.
struct GalleryItemLayout {
    RECT rcItem; // content coordinates; empty for a hidden label
    GalleryItem* pItem;
    int bBeginRow; // a label row, or the first item of a row
};

// Label rows are 19 pixels high and advance 20.
const int QXP_GALLERY_LABEL_HEIGHT = 19;
const int QXP_GALLERY_LABEL_ADVANCE = 20;

class CQXPGalleryLayout {
public:
    CQXPGalleryLayout();

    // Places the items of pList (none for null) in rcItems. The list's
    // version is remembered (IsCurrent).
    void Layout(const GalleryItemList* pList, const CRect& rcItems, BOOL bShowLabels);
    void Clear();
    // FALSE once the list changed after the last layout.
    BOOL IsCurrent(const GalleryItemList* pList) const;

    int GetCount() const { return (int)m_records.size(); }
    const GalleryItemLayout& GetAt(int nIndex) const { return m_records[nIndex]; }
    int GetContentHeight() const { return m_nContentHeight; }
    CRect GetItemsRect() const { return m_rcItems; }
    BOOL IsLabel(int nIndex) const;

    // The item under a point at a scroll offset (-1 for a label or none);
    // prc receives its visible rectangle.
    int HitTest(POINT pt, int nOffset, RECT* prc) const;
    // The offset kept within 0 .. content height - items height.
    int ClampOffset(int nOffset) const;
    // The offset that shows item nIndex (with bShowLabels its label too
    // when both fit); nOffset when it is shown already.
    int EnsureVisibleOffset(int nIndex, int nOffset, BOOL bShowLabels) const;

    // --- keyboard ---------------------------------------------------------
    // The next selectable item from nFrom going nDir (+1 / -1), wrapping
    // once; -1 past an end when nothing was selected; nFrom after a circle.
    int NextSelectable(int nFrom, int nDir) const;
    // The nearest item above / below in the same column; with no hot item
    // the last / first selectable one.
    int SameColumn(int nHot, BOOL bDown) const;
    // Left / right within the row, wrapping at its ends; the hot item stays
    // when fewer than two cells of cxItem fit.
    int WithinRow(int nHot, BOOL bRight, int cxItem) const;
    // The farthest item less than a page above / below.
    int PageMove(int nHot, BOOL bDown) const;
    // The new hot item for a key; *pbHandled tells whether the key was
    // used, *pbExecute asks the control to execute (Enter).
    int OnKey(UINT nKey, BOOL bShift, BOOL bRightToLeft, int nHot, int cxItem, BOOL* pbHandled,
              BOOL* pbExecute) const;

private:
    std::vector<GalleryItemLayout> m_records;
    CRect m_rcItems;
    int m_nContentHeight;
    const GalleryItemList* m_pList;
    DWORD m_dwVersion;
};

// The frame, scroll-bar strip, bottom gap and margins that separate the
// items rectangle from the control's rectangle (as left, top, right,
// bottom thicknesses). cxScrollBar is 0 when no scroll bar is reserved.
CRect AFXAPI QXPGalleryBorders(BOOL bShowBorders, int cxScrollBar, BOOL bBottomGap, const RECT& rcMargin);

// The first / next item whose caption equals text (bExact) or begins with
// it (ignoring case), starting after nStart and wrapping; -1 when none.
int AFXAPI QXPGalleryFindItem(const GalleryItemList* pList, int nStart, LPCSTR lpszText, BOOL bExact);

// The scroll value a scroll-bar code asks for (SB_ numbering): nStart is
// the current offset (or the running animation's target).
int AFXAPI QXPGalleryScrollValue(int nCode, int nPosition, int nStart, int cyItem, int cyItems,
                                 int nContentHeight);

// The pixels a smooth scroll adds per tick: a third of the distance after
// fast auto-repeat (at most 200 ms), else an eighth; never less than one.
double AFXAPI QXPGalleryAnimationStep(int nOffset, int nTarget, int nRepeatPeriod);
// One tick: the new offset; *pbDone once the target is reached.
int AFXAPI QXPGalleryAnimationTick(int nOffset, int nTarget, double dStep, BOOL* pbDone);
