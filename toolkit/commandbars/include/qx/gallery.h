// qx/gallery.h - the gallery control: a grid of items with group labels on
// popups and toolbars, with a windowless vertical scroll bar.
//
// The items are not the gallery's: they live in the GalleryItemList of the
// control's action (CQXPControlGalleryAction), so every gallery linked to
// one action shows the same items. While an item is hot the gallery tells
// its site, so the owner can preview the item live.
#pragma once

#include <qx/controlcombo.h>
#include <qx/galleryitems.h>
#include <qx/galleryscroll.h>
#include <qx/paintmanager.h>
#include <qx/popup.h>
#include <qx/sysutil.h>

// Site notifications of a gallery (NMQXPCONTROL codes).
enum {
    GalleryPreviewStart = 0x1010,
    GalleryPreviewCancel = 0x1011,
    GalleryPreviewApply = 0x1012,
    GalleryPreviewChange = 0x1013,
    GalleryBeginDrag = 0x1014,
};

// Edit controls send their spin buttons with the same codes as the first
// previews: a site tells them apart by the control's type.
inline BOOL QXPIsGalleryNotification(const NMQXPCONTROL* pNM)
{
    return pNM && pNM->hdr.code >= GalleryPreviewStart && pNM->hdr.code <= GalleryBeginDrag && pNM->pControl &&
           pNM->pControl->GetType() == qxpControlGallery;
}

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
class CQXPControlGallery : public CQXPControlPopup, public CQXPAccessibleBase, public GalleryScrollHelper {
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
    // The left button went down on the hot item and is still down.
    BOOL IsPressed() const { return m_bPressed; }
    void EnsureVisible(int nIndex);
    // Scrolls at once, clamped to the content (stopping a smooth scroll).
    void ScrollTo(int nOffset);
    // Scrolls smoothly on timer 23346 of the bar's window.
    void ScrollToAnimated(int nOffset);
    BOOL IsScrollAnimating() const override { return m_bAnimating; }
    void AnimationStep() override;
    int GetScrollOffset() const { return m_nScrollOffset; }
    // The item records, laid out again first when the list changed.
    const CQXPGalleryLayout& GetLayout()
    {
        EnsureLayout();
        return m_layout;
    }
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
    // What the gallery painter draws: the control and its three-button
    // column, and the standard scroll bar.
    QXPGalleryView GetPaintView() const;
    QXPGalleryScrollBarView GetScrollBarView() const;

    // --- control operations ---------------------------------------------------
    // On an item: its tooltip over its visible rectangle, tool id = item
    // id + 1.
    CString GetTooltipAt(CPoint pt, CRect* prcTip, INT_PTR* pnTool) override;
    // Resizable galleries with items, in both directions.
    BOOL IsCustomizeResizeAllow() const override;
    int GetResizeFlags() const override { return IsCustomizeResizeAllow() ? 3 : 0; }
    // Its drop-down opens over the gallery, from its top left corner.
    void AdjustExcludeRect(CRect& rcExclude, BOOL bVertical) override;
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

// The drop-down of a combo box whose list is a gallery (the bar's first
// control): the combo box's list operations become gallery operations.
// Set it with the combo box's SetCommandBar.
class CQXPControlComboBoxGalleryPopupBar : public CQXPControlComboBoxPopupBar {
    DECLARE_DYNCREATE(CQXPControlComboBoxGalleryPopupBar)
public:
    CQXPControlComboBoxGalleryPopupBar();

    // The first control when it is a gallery, else null.
    CQXPControlGallery* GetGallery() const;

    int GetCount() const override;
    // The gallery's hot item.
    int GetCurSel() const override;
    void SetCurSel(int nIndex) override;
    // By caption prefix (ignoring case), after nStart and wrapping.
    int FindString(int nStart, LPCSTR lpszText) const override;
    int FindStringExact(int nStart, LPCSTR lpszText) const override;
    // Scrolls the item's record to the top; LB_ERR for no such record.
    int SetTopIndex(int nIndex) override;
    void GetText(int nIndex, CString& strText) const override;

    // Esc and Tab as the combo popup; Enter on the gallery executes the
    // combo box; other keys move in the gallery.
    int ProcessHookKeyDown(UINT nKey) override;
    int ProcessKey(CQXPControlComboBox* pControl, UINT nKey, LPARAM lParam) override;
    // Opening selects the gallery; closing tells the combo box.
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;

protected:
    // A release on the gallery: the combo box takes its hot item and runs.
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
