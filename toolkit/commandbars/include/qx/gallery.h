// qx/gallery.h - the gallery control: a grid of items with group labels on
// popups and toolbars, with a windowless vertical scroll bar.
//
// The items are not the gallery's: they live in the GalleryItemList of the
// control's action (CQXPControlGalleryAction), so every gallery linked to
// one action shows the same items. While an item is hot the gallery tells
// its site, so the owner can preview the item live.
#pragma once

#include <qx/galleryitems.h>
#include <qx/galleryscroll.h>
#include <qx/popup.h>
#include <qx/sysutil.h>

// Site notifications of a gallery (NMQXPCONTROL codes).
enum {
    QXP_GN_PREVIEWSTART = 0x1010,
    QXP_GN_PREVIEWCANCEL = 0x1011,
    QXP_GN_PREVIEWAPPLY = 0x1012,
    QXP_GN_PREVIEWCHANGE = 0x1013,
    QXP_GN_BEGINDRAG = 0x1014,
};

// The action of a gallery: its first own member is the item list, which
// the action owns.
class CQXPControlGalleryAction : public CQXPControlAction {
    DECLARE_DYNCREATE(CQXPControlGalleryAction)
public:
    CQXPControlGalleryAction();
    ~CQXPControlGalleryAction() override;

    GalleryItemList* GetItems() const { return m_pItems; }

    GalleryItemList* m_pItems;
};

// The gallery is its own accessible object: the control with one list item
// per gallery item (child id = item index + 1). The command bar's
// accessible object hands it out as the control's child.
class CQXPControlGallery : public CQXPControlPopup, public CQXPAccessibleBase, public CQXPScrollBarOwner {
    DECLARE_DYNCREATE(CQXPControlGallery)
public:
    CQXPControlGallery();
    ~CQXPControlGallery() override;

    // --- items (indexes; -1 none) -----------------------------------------
    GalleryItemList* GetItems() const;
    int GetItemCount() const;
    GalleryItem* GetItem(int nIndex) const;
    CString GetItemCaption(int nIndex) const;
    // The control's rectangle less frame, scroll bar, gap and margins.
    CRect GetItemsRect() const;
    int HitTestItem(CPoint pt, CRect* prcItem = NULL);
    // The item's visible rectangle clipped to the items; empty when none.
    CRect GetItemDrawRect(int nIndex);
    int FindItem(int nStart, LPCSTR lpszText, BOOL bExact) const;
    // Makes an item hot as the keyboard does (previews at once).
    void SetSelectedItem(int nIndex);
    int GetHotItem() const { return m_nHotItem; }
    BOOL IsSelectionHidden() const { return m_bHideSelection; }
    void EnsureVisible(int nIndex);
    // Scrolls at once, clamped to the content (stopping a smooth scroll).
    void ScrollTo(int nOffset);
    // Scrolls smoothly on timer 23346 of the bar's window.
    void ScrollToAnimated(int nOffset);
    BOOL IsScrollAnimating() const override { return m_bAnimating; }
    void AnimationStep() override;
    int GetScrollOffset() const { return m_nScrollOffset; }
    int GetContentHeight() const { return m_layout.GetContentHeight(); }
    int GetCheckedItem() const { return m_nCheckedItem; }
    void SetCheckedItem(int nId);
    BOOL IsPreviewActive() const { return m_bPreview; }

    // Effective style not automatic: the gallery acts as a popup button.
    BOOL IsButtonStyle() const;
    // On a popup bar without a frame, when another visible control follows.
    BOOL HasBottomGap() const;
    // The strip of the scroll bar (empty without one).
    CRect GetScrollBarRect() const;
    QXPScrollInfo GetScrollInfo() const;
    // The scroll bar's geometry, recomputed from the above.
    void UpdateScrollBar();
    const ScrollBarGeometry& GetScrollBarGeometry() const { return m_geo; }
    // A scroll-bar code (SB_ numbering).
    void DoScroll(int nCode, int nPosition) override;
    void RedrawScrollBar() override;
    // Whether a scroll part can be used now.
    BOOL IsScrollEnabled(int nPart) const;

    // --- control operations ---------------------------------------------------
    CString GetTooltip() const override;
    void SetRect(const CRect& rc) override;
    void SetAction(CQXPControlAction* pAction) override;
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnLButtonUp(CPoint pt) override;
    void OnMouseMove(CPoint pt) override;
    void OnMouseHover() override;
    int OnHookKeyDown(UINT nKey, LPARAM lKeyData) override;
    BOOL OnHookMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;
    BOOL OnSetSelected(int bSelected) override;
    void OnExecute() override;
    BOOL OnSetPopup(BOOL bPopup) override;
    void DoPropExchange(CQXPPropExchange* pPX) override;
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;
    int GetCustomizeMinWidth() const override;
    BOOL IsCustomizeResizeAllow() const override { return TRUE; }
    int GetCustomizeMinHeight() const override;

    // --- accessibility ----------------------------------------------------------
    HRESULT get_accParent(IDispatch** ppdispParent) override;
    HRESULT get_accChildCount(long* pcountChildren) override;
    HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT accSelect(long flagsSelect, VARIANT varChild) override;
    HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    HRESULT accDoDefaultAction(VARIANT varChild) override;

    BOOL m_bShowLabels;
    BOOL m_bShowScrollBar;
    BOOL m_bShowBorders;
    CRect m_rcMargin;
    BOOL m_bResizable;

private:
    // Lays the items out again when the list changed since the last layout.
    void EnsureLayout();
    void Relayout();
    void InvalidateItems(int nOld, int nNew);
    void HideSelection();
    void SetHot(int nIndex);
    int ScrollBarWidth() const;
    // The item of an accessibility child (-1 for the control itself); FALSE
    // for an id that names nothing.
    BOOL ResolveChild(const VARIANT& varChild, int* pnIndex) const;

    int m_nCheckedItem;
    int m_nHotItem;
    BOOL m_bHideSelection;
    BOOL m_bPressed;
    CPoint m_ptPressed;
    int m_nScrollOffset;
    BOOL m_bKeyboardSelected;
    BOOL m_bPreview;
    int m_nHotPart;
    int m_nRepeatPeriod; // the scroll bar's last auto-repeat period (ms)
    BOOL m_bAnimating;
    int m_nAnimationTarget;
    double m_dAnimationStep;
    CQXPGalleryLayout m_layout;
    ScrollBarGeometry m_geo;
};
