// qx/propertygrid.h - the property grid: CQXPPropertyGrid (the container
// window with sort toolbar, view, verbs pane and help pane), its view
// CQXPPropertyGridView (an owner-drawn list box of rows), the items
// (CQXPPropertyGridItem and the number and boolean items) with their
// constraints and collections, the in-place buttons, the verbs, the painter
// with its paint metrics, and the shared in-place edit and drop-down list.
//
// Ownership: the grid owns its view, painter, verbs, in-place edit and list;
// the view owns the categories; an item owns its children, constraints,
// buttons and metrics. Items are reference counted (CCmdTarget): a
// collection releases its members when it clears. Every event reaches the
// grid's owner (else its parent) as WM_PROPERTYGRID_NOTIFY with a GRIDN_
// code. The arithmetic lives in qx/propgridcore.h.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/colors.h>
#include <qx/propgridcore.h>
#include <qx/sysutil.h>
#include <qx/visualstyles.h>

#include <oleacc.h>
#include <qxresource.h>

#include <vector>

class CQXPPropertyGrid;
class CQXPPropertyGridView;
class CQXPPropertyGridItem;
class CQXPPropertyGridPainter;
class CQXPPropertyGridInplaceEdit;
class CQXPPropertyGridInplaceList;
class CQXPImageManager;

// ---------------------------------------------------------------------------
// Notifications: SendMessage(owner, WM_PROPERTYGRID_NOTIFY, code, argument).
#define WM_PROPERTYGRID_NOTIFY 0x2ADF

enum {
    GRIDN_SORT_ORDER_CHANGED = 1, // lParam: the grid's control id
    GRIDN_SELECTION_CHANGED = 2,  // the newly selected item
    GRIDN_VALUE_CHANGED = 3,      // the item whose value the user changed
    GRIDN_EDIT_CHANGED = 4,       // the in-place edit, its text changed
    GRIDN_BUTTON_DOWN = 5,        // the in-place button; a result of 1 means handled
    GRIDN_DRAW_ITEM = 6,          // the DRAWITEMSTRUCT (grid style bit 0x10); 1: the owner drew the row
    GRIDN_EXPAND_CHANGED = 7,     // the item expanded or collapsed
    GRIDN_DOUBLE_CLICK = 8,       // the item
    GRIDN_RIGHT_CLICK = 9,        // the item
    GRIDN_VERB_CLICK = 10,        // the verb
    GRIDN_REQUEST_EDIT = 11,      // QXP_GRID_EDIT; a set cancel flag stops the edit
    GRIDN_AFTER_EDIT = 12,        // QXP_GRID_EDIT; the owner may change the text or cancel
    GRIDN_CANCEL_EDIT = 13        // QXP_GRID_EDIT
};

// The grid window's style bit that sends GRIDN_DRAW_ITEM for each row.
#define QXP_GRID_OWNERDRAW_STYLE 0x10

// The record of GRIDN_REQUEST_EDIT, GRIDN_AFTER_EDIT and GRIDN_CANCEL_EDIT.
struct QXP_GRID_EDIT {
    int bCancel;      // 0 when sent; the owner sets it to refuse
    CString strValue; // the edited text (copied back after 12)
    CQXPPropertyGridItem* pItem;
};

enum PropertyGridSortOrder {
    qxpGridSortCategorized = 0,
    qxpGridSortAlphabetical = 1,
    qxpGridSortNoSort = 2
};

// Item flags.
enum {
    ItemHasEdit = 1,
    ItemHasExpandButton = 2,
    ItemHasComboButton = 4
};

// In-place button ids.
enum {
    QXP_GRID_BUTTON_EXPAND = 100,
    QXP_GRID_BUTTON_COMBO = 101
};

// Looks of the painter.
enum {
    qxpGridLookClassic = 0,
    qxpGridLookVisualStyles = 1,
    qxpGridLookFlat = 2
};

// Border styles of the grid (drawn by the painter).
enum {
    qxpGridBorderNone = 0,
    qxpGridBorderFlat = 1,
    qxpGridBorderSingle = 2,
    qxpGridBorderSunken = 3
};

// Commands of the sort toolbar: QX_ID_GRID_CATEGORIZED (9501) and
// QX_ID_GRID_ALPHABETICAL (9502), with the toolbar QX_IDR_GRID_TOOLBAR.

// Level step of the tree in pixels (expand box column, tree margin).
const int QXP_GRID_INDENT = 14;

// ---------------------------------------------------------------------------
// Paint metrics: an item's own colours and font, or the painter's defaults.
// Each colour is a ColorValue whose override (-1 unset) wins.
class CQXPPropertyGridPaintMetrics : public CCmdTarget {
public:
    explicit CQXPPropertyGridPaintMetrics(CQXPPropertyGridPainter* pPainter);

    CFont m_fntNormal; // replaces the painter's font when its handle is set
    CFont m_fntBold;   // defaults: categories and changed values
    int m_nImage;      // image of the grid's image manager before the text, -1 none
    ColorValue m_clrHelpBack;
    ColorValue m_clrHelpFore;
    ColorValue m_clrLine; // grid lines, category bands, tree margin, unfocused selection
    ColorValue m_clrFore;
    ColorValue m_clrCategoryFore;
    ColorValue m_clrBack;
    ColorValue m_clrReadOnlyFore;
    ColorValue m_clrVerbFace;
    UINT m_uDrawTextFormat; // DT_ flags of the text, default DT_SINGLELINE | DT_VCENTER
    int m_nMaxLength;       // EM_LIMITTEXT of the in-place edit, 0 none
    CQXPPropertyGridPainter* m_pPainter;
};

// ---------------------------------------------------------------------------
// A value an item allows.
class CQXPPropertyGridItemConstraint : public CCmdTarget {
public:
    CQXPPropertyGridItemConstraint() : m_dwData(0), m_nImage(-1), m_nIndex(0), m_pItem(NULL) {}
    CString m_strConstraint;
    DWORD_PTR m_dwData; // user data
    int m_nImage;       // image id, -1 none
    int m_nIndex;       // position in the collection
    CQXPPropertyGridItem* m_pItem;
};

class CQXPPropertyGridItemConstraints : public CCmdTarget {
public:
    explicit CQXPPropertyGridItemConstraints(CQXPPropertyGridItem* pItem = NULL);
    ~CQXPPropertyGridItemConstraints() override;

    CQXPPropertyGridItemConstraint* AddConstraint(LPCSTR lpszCaption, DWORD_PTR dwData = 0, int nImage = -1);
    // By caption, case-sensitive.
    void Sort();
    void RemoveAll();
    // The caption, "" outside the range.
    CString GetAt(int nIndex) const;
    CQXPPropertyGridItemConstraint* GetConstraintAt(int nIndex) const;
    // The first caption equal ignoring case, -1 none.
    int FindConstraint(LPCSTR lpszCaption) const;
    int GetCount() const { return (int)m_arr.size(); }
    BOOL IsEmpty() const { return m_arr.empty(); }
    int GetCurrent() const { return m_nCurrent; }
    void SetCurrent(int nIndex) { m_nCurrent = nIndex; }

    std::vector<CQXPPropertyGridItemConstraint*> m_arr;
    int m_nCurrent; // -1 none chosen
    CQXPPropertyGridItem* m_pItem;
};

// ---------------------------------------------------------------------------
// A collection of items (categories of a view, children of an item).
class PropertyGridItems : public CCmdTarget {
public:
    PropertyGridItems() = default;
    ~PropertyGridItems() override;

    CQXPPropertyGridItem* GetAt(int nIndex) const; // NULL outside 0..count-1
    int GetCount() const { return (int)m_arr.size(); }
    BOOL IsEmpty() const { return m_arr.empty(); }
    // By caption, case-sensitive.
    void Sort();
    // Each item is removed from its view and released; the view rebuilds
    // its rows once at the end.
    void Clear();
    int Find(const CQXPPropertyGridItem* pItem) const;
    void InsertAt(int nIndex, CQXPPropertyGridItem* pItem);
    void RemoveAt(int nIndex);

    std::vector<CQXPPropertyGridItem*> m_arr;
};
typedef PropertyGridItems CQXPPropertyGridItems;

// ---------------------------------------------------------------------------
// In-place buttons: 100 "..." and 101 the drop-down arrow.
class CQXPPropertyGridButton : public CCmdTarget {
public:
    CQXPPropertyGridButton(UINT nID, CQXPPropertyGridItem* pItem);

    UINT GetID() const { return m_nID; }
    BOOL IsPressed() const { return m_bPressed; }
    BOOL IsHot() const;
    BOOL IsFocused() const;
    BOOL GetEnabled() const { return m_bEnabled; }
    void SetEnabled(BOOL b) { m_bEnabled = b; }
    int GetWidth() const { return m_nWidth; }
    CRect GetRect() const { return m_rcButton; }
    void Draw(CDC* pDC, const CRect& rc);
    // Presses the button and tracks the mouse until it is released.
    void OnLButtonDown(UINT nFlags, CPoint point);
    // Enter, Space, Down and F4 press it; TRUE when taken.
    BOOL OnKeyDown(UINT nChar);

    int m_nIndex; // position in the collection
    UINT m_nID;
    CQXPPropertyGridItem* m_pItem;
    CQXPPropertyGridView* m_pView;
    CRect m_rcButton; // last drawn, view coordinates
    int m_nWidth;     // SM_CXHTHUMB
    int m_nImage;     // -1 none
    BOOL m_bEnabled;
    CString m_strCaption;
    CString m_strTooltip;
    BOOL m_bPressed;
};

class CQXPPropertyGridButtons : public CCmdTarget {
public:
    explicit CQXPPropertyGridButtons(CQXPPropertyGridItem* pItem) : m_pItem(pItem) {}
    ~CQXPPropertyGridButtons() override { RemoveAll(); }

    CQXPPropertyGridButton* Find(UINT nID) const;
    CQXPPropertyGridButton* HitTest(CPoint point) const;
    CQXPPropertyGridButton* Add(CQXPPropertyGridButton* pButton);
    CQXPPropertyGridButton* AddComboButton();
    CQXPPropertyGridButton* AddExpandButton();
    void Remove(int nIndex);
    void Remove(CQXPPropertyGridButton* pButton);
    void RemoveId(UINT nID);
    void RemoveAll();
    int GetCount() const { return (int)m_arr.size(); }
    CQXPPropertyGridButton* GetAt(int nIndex) const
    {
        return nIndex >= 0 && nIndex < GetCount() ? m_arr[(size_t)nIndex] : NULL;
    }

    std::vector<CQXPPropertyGridButton*> m_arr;
    CQXPPropertyGridItem* m_pItem;
};

// ---------------------------------------------------------------------------
// One property.
class CQXPPropertyGridItem : public CCmdTarget, public CQXPAccessibleBase {
public:
    CQXPPropertyGridItem(LPCSTR lpszCaption, LPCSTR lpszValue = NULL, CString* pBindString = NULL);
    ~CQXPPropertyGridItem() override;

    // --- texts ------------------------------------------------------------
    // "Name\nSentence" sets the description too.
    void SetCaption(LPCSTR lpszCaption);
    void SetDescription(LPCSTR lpszDescription);
    void SetTooltip(LPCSTR lpszTooltip) { m_strTooltip = lpszTooltip; }
    CString GetValue() const { return m_strValue; }
    CString GetCaption() const { return m_strCaption; }
    CString GetDescription() const { return m_strDescription; }
    CString GetTooltip() const { return m_strTooltip; }
    CString GetDefaultValue() const { return m_strDefaultValue; }
    void SetDefaultValue(LPCSTR lpszValue) { m_strDefaultValue = lpszValue; }
    void BindToString(CString* pBindString);

    // --- state ------------------------------------------------------------
    void SetFlags(UINT nFlags);
    UINT GetFlags() const { return m_nFlags; }
    void SetReadOnly(BOOL bReadOnly);
    void SetID(int nID) { m_nID = nID; }
    int GetID() const { return m_nID; }
    BOOL IsCategory() const { return m_bCategory; }
    BOOL IsExpanded() const { return m_bExpanded; }
    BOOL IsExpandable() const { return m_bExpandable; }
    void SetExpandable(BOOL b) { m_bExpandable = b; }
    BOOL HasChilds() const { return !m_pChilds->IsEmpty(); }
    BOOL IsVisible() const { return m_bInList; }
    BOOL IsHidden() const { return m_bHidden; }
    void SetHidden(BOOL bHidden);
    BOOL IsSelected() const;
    int GetIndent() const { return m_nIndent; }
    int GetIndex() const { return m_nIndex; }
    CQXPPropertyGridItem* GetParentItem() const { return m_pParent; }
    CQXPPropertyGridView* GetView() const { return m_pView; }
    CQXPPropertyGrid* GetGrid() const;
    void SetConstraintEdit(BOOL b) { m_bConstraintEdit = b; }
    BOOL GetConstraintEdit() const { return m_bConstraintEdit; }
    void SetAutoComplete(BOOL b) { m_bAutoComplete = b; }
    void SetPasswordMask(char chMask = '*');
    void SetMask(LPCSTR lpszMask, LPCSTR lpszLiteral, char chPrompt = '_');
    void SetMultiLinesCount(int nLines) { m_nLinesCount = nLines; }
    int GetMultiLinesCount() const { return m_nLinesCount; }
    void SetHeight(int nHeight) { m_nHeight = nHeight; }
    void SetDropDownItemCount(int n) { m_nDropDownItemCount = n; }
    int GetDropDownItemCount() const { return m_nDropDownItemCount; }
    void SetEditStyle(UINT nStyle) { m_nEditStyle = nStyle; }

    // --- tree -------------------------------------------------------------
    CQXPPropertyGridItem* AddChildItem(CQXPPropertyGridItem* pItem);
    CQXPPropertyGridItem* InsertChildItem(int nIndex, CQXPPropertyGridItem* pItem);
    PropertyGridItems* GetChilds() const { return m_pChilds; }
    BOOL HasParent(const CQXPPropertyGridItem* pParent) const;
    void Expand();
    void Collapse();
    void Select();
    CRect GetItemRect() const;

    // --- collections --------------------------------------------------------
    CQXPPropertyGridItemConstraints* GetConstraints() const { return m_pConstraints; }
    CQXPPropertyGridButtons* GetInplaceButtons() const { return m_pButtons; }
    std::vector<HWND>& GetInplaceControls() { return m_arrInplaceControls; }
    CQXPPropertyGridPaintMetrics* GetMetrics(BOOL bValuePart, BOOL bCreate = TRUE);

    // --- virtual operations -------------------------------------------------
    virtual BOOL IsReadOnly() const { return m_bReadOnly; }
    virtual CRect GetValueRect();
    // Sets the value; no notification.
    virtual void SetValue(CString strValue);
    // The user changed the value: SetValue, repaint, GRIDN_VALUE_CHANGED.
    virtual void OnValueChanged(CString strValue);
    virtual BOOL OnDrawItemValue(CDC& dc, CRect rcValue);
    virtual void OnDrawConstraint(CDC* pDC, CQXPPropertyGridItemConstraint* pConstraint, CRect rc,
                                  BOOL bSelected);
    virtual CSize OnMeasureConstraint(CDC* pDC, CQXPPropertyGridItemConstraint* pConstraint);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual BOOL IsValueChanged() const { return m_strDefaultValue.Compare(m_strValue) != 0; }
    virtual void ResetValue() { OnValueChanged(m_strDefaultValue); }
    virtual CString GetViewValue();
    virtual CQXPPropertyGridInplaceEdit& GetInplaceEdit();
    virtual void SelectEditText();
    virtual BOOL IsInplaceButtonsVisible() const;
    virtual BOOL OnRequestEdit();
    virtual BOOL OnAfterEdit(CString& strValue);
    virtual void OnCancelEdit();
    virtual void OnValidateEdit();
    virtual DWORD GetEditStyle() const;
    virtual void SetVisible(BOOL bVisible);
    virtual void OnSelect();
    virtual void OnDeselect();
    virtual BOOL OnChar(UINT nChar);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT, CPoint) {}
    virtual BOOL OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT, CPoint) {}
    virtual BOOL OnKeyDown(UINT) { return FALSE; }
    virtual void OnAddChildItem();
    virtual void OnInplaceButtonDown(CQXPPropertyGridButton* pButton);
    virtual CQXPPropertyGridInplaceList& GetInplaceList();
    virtual void SetEditText(const CString& str);
    virtual void OnBeforeInsert();
    virtual void OnConstraintsChanged() {}

    // Steps to the next constraint (wrapping); TRUE when the value changed.
    BOOL SelectNextConstraint();
    // Run when the collection holding it clears.
    void OnRemoved();

    // --- accessibility ---------------------------------------------------------
    HRESULT get_accParent(IDispatch** ppdispParent) override;
    HRESULT get_accChildCount(long* pcountChildren) override;
    HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT get_accValue(VARIANT varChild, BSTR* pszValue) override;
    HRESULT get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    HRESULT accSelect(long flagsSelect, VARIANT varChild) override;

public:
    BOOL m_bConstraintEdit; // the value is one of the constraints; the edit is read-only
    int m_nIndex;           // row in the view's list, -1 none
    int m_nIndent;          // categories 0, their children 1, ...
    int m_nID;              // user id; tool id of the tooltip
    UINT m_nFlags;          // ItemHas...
    BOOL m_bReadOnly;
    BOOL m_bInList; // the item has a row now
    BOOL m_bCategory;
    BOOL m_bExpandable;
    BOOL m_bExpanded;
    CString m_strValue;
    CString m_strDefaultValue; // ResetValue restores it; differs from the value when changed
    CString m_strCaption;
    CString m_strDescription;
    CString m_strTooltip; // non-empty: no truncated-text tip
    CQXPPropertyGridItem* m_pParent;
    CQXPPropertyGridView* m_pView;
    PropertyGridItems* m_pChilds;                    // owned
    CQXPPropertyGridItemConstraints* m_pConstraints; // owned
    BOOL m_bAutoComplete;
    CQXPPropertyGridPaintMetrics* m_pCaptionMetrics; // made on demand, owned
    CQXPPropertyGridPaintMetrics* m_pValueMetrics;   // made on demand, owned
    CQXPPropertyGridButtons* m_pButtons;             // owned
    std::vector<HWND> m_arrInplaceControls;          // placed, shown and hidden with the item
    int m_nDropDownItemCount;                        // rows the drop-down list shows at most
    CString* m_pBindString;                          // kept equal to the value
    CString m_strMask;
    CString m_strLiteral;
    char m_chPrompt; // password character or mask prompt
    bool m_bUseMask;
    BOOL m_bPassword;
    BOOL m_bHidden;
    int m_nHeight; // -1 automatic
    int m_nLinesCount;
    UINT m_nEditStyle; // extra edit styles, ES_AUTOHSCROLL

protected:
    friend class CQXPPropertyGridView;
    friend class PropertyGridItems;
    void SetEditFlags();
};

// An integer item (value text "%i").
class CQXPPropertyGridItemNumber : public CQXPPropertyGridItem {
public:
    CQXPPropertyGridItemNumber(LPCSTR lpszCaption, long nValue = 0, long* pBindNumber = NULL);
    void SetNumber(long nValue);
    long GetNumber() const { return m_nValue; }
    void BindToNumber(long* pBindNumber);
    // Parses the text (ParsePropertyNumber) and sets the number.
    void SetValue(CString strValue) override;
    void OnBeforeInsert() override;

protected:
    long m_nValue;
    long* m_pBindNumber;
};

// A True/False item: an edit with the two texts as constraints.
class CQXPPropertyGridItemBool : public CQXPPropertyGridItem {
public:
    CQXPPropertyGridItemBool(LPCSTR lpszCaption, BOOL bValue = FALSE, BOOL* pBindBool = NULL);
    void SetBool(BOOL bValue);
    BOOL GetBool() const { return m_bValue; }
    void BindToBool(BOOL* pBindBool);
    // TRUE when the text equals the true text ignoring case.
    void SetValue(CString strValue) override;
    void OnBeforeInsert() override;
    CString GetTrueText() const { return m_strTrueText; }
    CString GetFalseText() const { return m_strFalseText; }
    // A check box instead of the text.
    void SetCheckBoxStyle(BOOL bCheckBox = TRUE);
    BOOL IsCheckBoxStyle() const { return m_bCheckBoxStyle; }

    BOOL OnDrawItemValue(CDC& dc, CRect rcValue) override;
    BOOL OnChar(UINT nChar) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    BOOL OnLButtonDown(UINT nFlags, CPoint point) override;
    CString GetViewValue() override;

protected:
    BOOL m_bValue;
    BOOL* m_pBindBool;
    CString m_strTrueText;
    CString m_strFalseText;
    BOOL m_bCheckBoxStyle;
};

// ---------------------------------------------------------------------------
// A link in the verbs pane.
class CQXPPropertyGridVerb : public CCmdTarget {
public:
    CString GetCaption() const { return m_strCaption; }
    int GetID() const { return m_nID; }
    int GetIndex() const { return m_nIndex; }
    CPoint GetClickPoint() const { return m_ptClick; }

    CString m_strCaption;
    int m_nID = 0;
    int m_nIndex = 0;
    CPoint m_ptClick; // screen coordinates of the last click
    CQXPPropertyGrid* m_pGrid = NULL;
};

class CQXPPropertyGridVerbs : public CCmdTarget {
public:
    explicit CQXPPropertyGridVerbs(CQXPPropertyGrid* pGrid) : m_pGrid(pGrid) {}
    ~CQXPPropertyGridVerbs() override { RemoveAll(); }
    CQXPPropertyGridVerb* Add(LPCSTR lpszCaption, int nID);
    void RemoveAll();
    int GetCount() const { return (int)m_arr.size(); }
    BOOL IsEmpty() const { return m_arr.empty(); }
    CQXPPropertyGridVerb* GetAt(int nIndex) const
    {
        return nIndex >= 0 && nIndex < GetCount() ? m_arr[(size_t)nIndex] : NULL;
    }

    std::vector<CQXPPropertyGridVerb*> m_arr;
    CQXPPropertyGrid* m_pGrid;
};

// ---------------------------------------------------------------------------
// The painter: every colour, font and shape of the grid.
class CQXPPropertyGridPainter {
public:
    explicit CQXPPropertyGridPainter(CQXPPropertyGrid* pGrid);
    virtual ~CQXPPropertyGridPainter();
    CQXPPropertyGridPainter(const CQXPPropertyGridPainter&) = delete;
    CQXPPropertyGridPainter& operator=(const CQXPPropertyGridPainter&) = delete;

    virtual COLORREF GetItemTextColor(CQXPPropertyGridItem* pItem, BOOL bValuePart);
    virtual COLORREF GetItemBackColor(CQXPPropertyGridItem* pItem, BOOL bValuePart);
    virtual CFont* GetItemFont(CQXPPropertyGridItem* pItem, BOOL bValuePart);
    virtual void FillPropertyGrid(CDC* pDC);
    virtual void FillViewBackground(CDC* pDC, const CRect& rc);
    // Returns the border's thickness; with bAdjust the rectangle shrinks by it.
    virtual int DrawGridBorder(CDC* pDC, RECT& rc, BOOL bAdjust);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void DrawInplaceListItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void AdjustValueIndent(CQXPPropertyGridItem* pItem, int& x);
    virtual void AdjustCaptionIndent(CQXPPropertyGridItem* pItem, int& x);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual void DrawInplaceButton(CDC* pDC, CQXPPropertyGridButton* pButton);
    virtual void RefreshMetrics();
    virtual void DrawExpandButton(CDC& dc, CQXPPropertyGridItem* pItem, CRect rcCaption);
    virtual void DrawCategoryCaptionBackground(CDC* pDC, const CRect& rc);
    virtual void DrawItemValue(CDC* pDC, CQXPPropertyGridItem* pItem, CRect rcValue);
    virtual void DrawItemCaption(CDC* pDC, CQXPPropertyGridItem* pItem, CRect rcCaption);
    virtual void DrawInplaceButtons(CDC* pDC, CQXPPropertyGridItem* pItem, CRect rcValue);

    // The verb pieces of the last layout; hit testing uses them.
    int HitTestVerbs(POINT pt) const { return VerbFromPoint(m_arrVerbPieces, pt); }
    void LayoutVerbs(CDC* pDC, const CRect& rcVerbs);
    int GetLook() const { return m_nLook; }
    CQXPPropertyGridPaintMetrics* GetDefaultMetrics() const { return m_pMetrics; }
    CFont* GetNormalFont() { return &m_fntNormal; }
    CFont* GetBoldFont() { return &m_pMetrics->m_fntBold; }

    int m_nLook;                     // qxpGridLook...
    CVisualStyleTheme m_themeTree;   // "TREEVIEW"
    CVisualStyleTheme m_themeButton; // "BUTTON"
    CVisualStyleTheme m_themeCombo;  // "COMBOBOX"
    BOOL m_bTransparent;             // the grid background comes from the parent's WM_CTLCOLORSTATIC
    CQXPPropertyGrid* m_pGrid;
    CFont m_fntLink;                          // icon-title font, underlined
    CFont m_fntNormal;                        // icon-title font, weight 400, not italic
    CQXPPropertyGridPaintMetrics* m_pMetrics; // defaults, owned
    COLORREF m_clrFace;                       // colour 15
    COLORREF m_clrShadow;                     // colour 16, the border
    std::vector<VerbPiece> m_arrVerbPieces;

private:
    void LayoutVerbs(CDC* pDC, const CRect& rcVerbs, std::vector<VerbSeparator>* pSeparators);
    void DrawVerbs(CDC* pDC, const CRect& rcVerbs);
};

// ---------------------------------------------------------------------------
// The view: an owner-drawn list box of rows.
class CQXPPropertyGridView : public CListBox, public CQXPAccessibleBase {
    DECLARE_DYNAMIC(CQXPPropertyGridView)
public:
    CQXPPropertyGridView();
    ~CQXPPropertyGridView() override;

    CQXPPropertyGridItem* AddCategory(LPCSTR lpszCaption, CQXPPropertyGridItem* pItem = NULL);
    CQXPPropertyGridItem* InsertCategory(int nIndex, LPCSTR lpszCaption, CQXPPropertyGridItem* pItem = NULL);
    void SetPropertySort(PropertyGridSortOrder sort, BOOL bReset = FALSE, BOOL bRedraw = TRUE);
    PropertyGridSortOrder GetPropertySort() const { return m_properetySort; }
    void Refresh();
    void ResetContent();
    CQXPPropertyGridItem* GetItem(int nIndex) const;
    CQXPPropertyGridItem* GetSelectedItem() const;
    PropertyGridItems* GetCategories() const { return m_pCategories; }
    CQXPPropertyGrid* GetPropertyGrid() const { return m_pGrid; }
    CQXPPropertyGridPainter* GetPaintManager() const;

    int GetDividerPos() const;
    void SetDividerPos(int x);
    void SetDividerProportional(BOOL b) { m_bProportional = b; }
    void SetDividerMovable(BOOL b) { m_bDividerMovable = b; }
    double GetDividerValue() const { return m_dDivider; }
    void LockUpdate() { ++m_nLockUpdate; }
    void UnlockUpdate();
    int GetLockUpdate() const { return m_nLockUpdate; }
    int GetRowHeight() const { return m_nItemHeight; }

    CQXPPropertyGridButton* GetFocusedButton() const { return m_pFocusedButton; }
    CQXPPropertyGridButton* GetHotButton() const { return m_pHotButton; }
    void SetFocusedButton(CQXPPropertyGridButton* pButton);
    void SetHotButton(CQXPPropertyGridButton* pButton);

    // Row maintenance used by items.
    int InsertRow(CQXPPropertyGridItem* pItem, int nIndex);
    int InsertChildRows(CQXPPropertyGridItem* pItem, int nIndex);
    void RemoveChildRows(CQXPPropertyGridItem* pItem);
    void ReindexRows();
    void OnSelectionChanged();
    // Tells the view to forget a removed item or button.
    void OnItemRemoved(CQXPPropertyGridItem* pItem);
    void OnButtonRemoved(CQXPPropertyGridButton* pButton);
    // Places the selected item's in-place windows again.
    void RepositionInplace();

    virtual void ShowToolTip(CPoint pt);
    void HideToolTip();
    HWND GetToolTipWindow() const { return m_hWndTip; }
    CString GetToolTipText() const { return m_strTipText; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    int CompareItem(LPCOMPAREITEMSTRUCT) override { return 0; }

    // Accessibility: the table of rows.
    HRESULT get_accParent(IDispatch** ppdispParent) override;
    HRESULT get_accChildCount(long* pcountChildren) override;
    HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;

    double m_dDivider; // fraction in proportional mode, else pixels
    BOOL m_bProportional;
    BOOL m_bDividerMovable;
    BOOL m_bTracking; // a divider drag is under way
    PropertyGridSortOrder m_properetySort;
    PropertyGridItems* m_pCategories;  // owned
    CQXPPropertyGridItem* m_pSelected; // the item whose selection handling ran last
    CQXPPropertyGridButton* m_pFocusedButton;
    CQXPPropertyGridButton* m_pHotButton;
    CQXPPropertyGrid* m_pGrid;
    int m_nLockUpdate;
    int m_nItemHeight; // height of " " in the normal font + 4
    HCURSOR m_hCursor; // over the divider
    HWND m_hWndTip;    // the truncated-text tip, made on first use
    CString m_strTipText;
    CRect m_rcTip; // the area whose text the tip shows (view coordinates)

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override {}

private:
    BOOL OnViewKeyDown(UINT nChar);
    BOOL OnViewSysKeyDown(UINT nChar);
    BOOL OnViewChar(UINT nChar);
    void OnViewLButtonDown(UINT nFlags, CPoint point);
    void OnViewMouseMove(UINT nFlags, CPoint point);
    LRESULT OnViewScroll(UINT message, WPARAM wParam, LPARAM lParam);
    void OnViewPaint();
    void CheckToolTip(UINT message);
    BOOL HitDivider(CPoint point) const;
    void PressComboButton();
};

// ---------------------------------------------------------------------------
// The masked edit over MaskEngine.
class CMaskedEdit : public CEdit {
    DECLARE_DYNAMIC(CMaskedEdit)
public:
    CMaskedEdit();

    virtual BOOL SetEditMask(LPCSTR lpszMask, LPCSTR lpszLiteral, LPCSTR lpszDefault = NULL);
    void SetPromptChar(char ch, BOOL bUpdate = TRUE);
    // The mask applies: use mask, a window, not read-only, a mask.
    BOOL IsMaskActive() const;
    virtual void OnBadInput() { ::MessageBeep((UINT)-1); }
    virtual void OnInvalidChar(char, char) { ::MessageBeep((UINT)-1); }
    CString GetInputChars(int nStart = 0, int nEnd = -1);
    BOOL CopyToClipboard(const CString& str);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void MaskCopy();
    void MaskCut();
    void MaskPaste();
    void MaskClear();
    void MaskUndo();
    void MaskSelectAll();

    MaskEngine m_engine;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Key and character handling with the mask; FALSE: default handling.
    BOOL MaskKeyDown(UINT nChar);
    BOOL MaskChar(UINT nChar);
    void ReadWindow();
    void WriteWindow();
};

// The in-place edit shared by the items of a grid.
class CQXPPropertyGridInplaceEdit : public CMaskedEdit {
    DECLARE_DYNAMIC(CQXPPropertyGridInplaceEdit)
public:
    CQXPPropertyGridInplaceEdit();
    ~CQXPPropertyGridInplaceEdit() override;

    virtual void SetValue(LPCSTR lpszValue) { m_strValue = lpszValue; }
    virtual void HideWindow();
    virtual void Create(CQXPPropertyGridItem* pItem, CRect rect);
    virtual void Reset();
    virtual BOOL SelectConstraint(int nDirection, BOOL bCircle);

    CQXPPropertyGridItem* GetItem() const { return m_pItem; }
    BOOL IsEntered() const { return m_bEditMode; }
    BOOL IsCancelled() const { return m_bCancel; }
    void ReleaseItem() { m_pItem = NULL; }
    // The edit-notification and colour messages its parent (the view)
    // passes on.
    BOOL OnParentCommand(UINT nCode);
    HBRUSH OnCtlColor(HDC hdc);

    CString m_strValue; // the value when editing began; Escape restores it
    CBrush m_brBack;
    COLORREF m_clrBack;
    BOOL m_bSetText; // the edit sets its own text (auto-completion)
    CQXPPropertyGridView* m_pView;
    CQXPPropertyGridItem* m_pItem;
    BOOL m_bRecreate; // style or layout changed: make the window again
    BOOL m_bCreated;  // placed for the item; earlier changes are ignored
    BOOL m_bEditMode; // the edit had the focus for this item
    BOOL m_bCancel;   // Escape was pressed
    BOOL m_bTyped;    // the last key may auto-complete

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override {}
};

// The drop-down list of an item's constraints.
class CQXPPropertyGridInplaceList : public CListBox {
    DECLARE_DYNAMIC(CQXPPropertyGridInplaceList)
public:
    CQXPPropertyGridInplaceList() : m_pItem(NULL) {}
    ~CQXPPropertyGridInplaceList() override;

    virtual void Create(CQXPPropertyGridItem* pItem, CRect rect);
    virtual void Close();
    virtual void Cancel();
    virtual void Apply();
    CQXPPropertyGridItem* GetItem() const { return m_pItem; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT) override {}

    CQXPPropertyGridItem* m_pItem; // NULL while hidden

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override {}
    void ReturnFocus();
};

// ---------------------------------------------------------------------------
// The grid window.
class CQXPPropertyGrid : public CWnd {
    DECLARE_DYNAMIC(CQXPPropertyGrid)
public:
    CQXPPropertyGrid();
    ~CQXPPropertyGrid() override;

    // A child window "QXPPropertyGrid" with the view inside; FALSE when
    // either window cannot be made.
    virtual BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwListStyle = 0);

    CQXPPropertyGridView& GetGridView() { return *GetView(); }
    CQXPPropertyGridView* GetView();
    PropertyGridItems* GetCategories() { return GetView()->GetCategories(); }
    CQXPPropertyGridItem* AddCategory(LPCSTR lpszCaption) { return GetView()->AddCategory(lpszCaption); }
    CQXPPropertyGridItem* GetSelectedItem() { return GetView()->GetSelectedItem(); }
    CQXPPropertyGridItem* GetItem(int nIndex) { return GetView()->GetItem(nIndex); }
    int GetCount() { return GetView()->GetSafeHwnd() ? GetView()->GetCount() : 0; }
    CQXPImageManager* GetImageManager() const;
    CQXPPropertyGridPainter* GetPaintManager() const { return m_pPaintManager; }
    CQXPPropertyGridVerbs* GetVerbs() const { return m_pVerbs; }
    CQXPPropertyGridInplaceEdit& GetInplaceEdit() { return *m_pInplaceEdit; }
    CQXPPropertyGridInplaceList& GetInplaceList() { return *m_pInplaceList; }
    CToolBarCtrl& GetToolBar() { return m_wndToolbar; }

    // --- settings (each repaints or lays out as needed) ---------------------
    // 1: the view's list is made again with variable-height owner-drawn
    // items; 0: fixed-height items. No effect when unchanged.
    void SetSortMode(int nMode);
    BOOL IsVariableItemsHeight() const { return m_bVariableItemsHeight; }
    void ShowHelp(BOOL bShow = TRUE);
    BOOL IsHelpVisible() const { return m_bHelpVisible; }
    void SetHelpHeight(int nHeight);
    int GetHelpHeight() const { return m_nHelpHeight; }
    void SetVerbsHeight(int nHeight);
    int GetVerbsHeight() const { return m_nVerbsHeight; }
    void ShowExpandTips(BOOL bShow = TRUE) { m_bShowExpandTips = bShow; }
    BOOL IsExpandTipsShown() const { return m_bShowExpandTips; }
    void EnableHelpSplitter(BOOL bEnable = TRUE);
    BOOL IsHelpSplitterEnabled() const { return m_bHelpSplitter; }
    void ShowToolBar(BOOL bShow = TRUE);
    BOOL IsToolBarVisible() const { return m_bToolbarVisible; }
    void NavigateItems(BOOL bTabMovesRows = TRUE) { m_bTabItems = bTabMovesRows; }
    BOOL IsNavigateItems() const { return m_bTabItems; }
    void ShowInplaceButtonsAlways(BOOL bShow = TRUE);
    BOOL IsInplaceButtonsAlways() const { return m_bShowInplaceButtonsAlways; }
    void SetBorderStyle(int nStyle);
    int GetBorderStyle() const { return m_nBorderStyle; }
    // The painter's look: qxpGridLookClassic (default), ...VisualStyles, ...Flat.
    void SetLook(int nLook);
    int GetLook() const;
    // The grid's background from its parent's WM_CTLCOLORSTATIC.
    void SetTransparent(BOOL bTransparent);
    BOOL IsTransparent() const;
    // Values that differ from their defaults in the bold font.
    void HighlightChangedItems(BOOL bHighlight = TRUE);
    BOOL IsHighlightChangedItems() const { return m_bHighlightChanged; }
    void SetPropertySort(PropertyGridSortOrder sort) { GetView()->SetPropertySort(sort); }
    PropertyGridSortOrder GetPropertySort() { return GetView()->GetPropertySort(); }
    void ResetContent();
    // Re-reads system colours and themes, then redraws.
    void RefreshMetrics();

    // --- virtual operations -------------------------------------------------
    virtual CQXPPropertyGridView* CreateView() const { return new CQXPPropertyGridView(); }
    virtual void OnVerbClick(int nIndex, CPoint pt);
    virtual BOOL OnNavigate(int nStep, BOOL bForward, CQXPPropertyGridItem* pItem);
    virtual LRESULT SendNotifyMessage(WPARAM wParam, LPARAM lParam = 0);
    virtual void RecalcLayout(int cx, int cy);
    virtual int HitTest(CPoint pt);
    virtual void OnSelectionChanged(CQXPPropertyGridItem* pItem);
    virtual void OnSortChanged();

    // The panes as the layout sees them.
    PropertyGridPanes GetPanes() const;
    int GetFocusedVerb() const { return m_nFocusedVerb; }
    BOOL CreateViewWindow(DWORD dwListStyle);

    int m_nHelpHeight;
    int m_nVerbsHeight;
    BOOL m_bHelpVisible;
    BOOL m_bShowExpandTips;
    BOOL m_bHelpSplitter;
    BOOL m_bToolbarVisible;
    CToolBarCtrl m_wndToolbar;
    HCURSOR m_hCursorSplit;
    HCURSOR m_hCursorHand;
    BOOL m_bTabItems;
    CQXPPropertyGridVerbs* m_pVerbs;
    BOOL m_bVerbsVisible;
    CQXPPropertyGridPainter* m_pPaintManager;
    int m_nFocusedVerb;
    CQXPPropertyGridView* m_pView;
    CQXPImageManager* m_pImageManager; // NULL: the process-wide one
    BOOL m_bVariableItemsHeight;
    BOOL m_bPreSubclassWindow;
    CQXPPropertyGridInplaceEdit* m_pInplaceEdit;
    CQXPPropertyGridInplaceList* m_pInplaceList;
    BOOL m_bShowInplaceButtonsAlways;
    BOOL m_bVerbActivate;
    int m_nBorderStyle;
    BOOL m_bHighlightChanged;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaintGrid(HDC hdc);
    void TrackSplitter(int nHit, CPoint point);
    void OnVerbsKeyDown(UINT nChar);
    void UpdateToolBarState();
    void CreateToolBar();
    int m_nVerbPressed;
};
