// qx/barcontrols.h - the ordered list of controls one command bar shows.
//
// Every way in (Add, AddControl, InsertAt, Append, AddCopy, Copy, the menu
// conversion) ends in OnControlAdded, so the controls' indexes, collection
// links and parent bars are always current; every way out passes
// OnControlRemoving (veto) and OnControlRemoved.
#pragma once

#include <qx/control.h>

#include <vector>

class CQXPOriginalControls;

class CQXPControls : public CCmdTarget {
    DECLARE_DYNCREATE(CQXPControls)
public:
    CQXPControls();
    ~CQXPControls() override;

    // --- creating and inserting ------------------------------------------------
    // A new control of the type (none for an unknown type).
    CQXPControl* Add(int controlType, int nId, const CString& strParameter = CString(), int nBefore = -1,
                     BOOL bTemporary = FALSE);
    // Names or links the control and inserts it; the collection takes over
    // the caller's reference.
    CQXPControl* AddControl(CQXPControl* pControl, int nId = 0, const CString& strParameter = CString(),
                            int nBefore = -1, BOOL bTemporary = FALSE);
    CQXPControl* InsertAt(CQXPControl* pControl, int nIndex);
    CQXPControl* Append(CQXPControl* pControl) { return InsertAt(pControl, -1); }
    CQXPControl* AddCopy(CQXPControl* pControl, int nBefore = -1, BOOL bRecursive = FALSE);
    CQXPControl* ChangeControlType(CQXPControl* pControl, int controlType);
    CQXPControl* ChangeControlType(int nIndex, int controlType);

    // --- removing ------------------------------------------------------------------
    virtual void Remove(CQXPControl* pControl);
    void Remove(int nIndex);
    void RemoveAll();

    // --- finding -------------------------------------------------------------------
    int GetCount() const { return (int)m_arrControls.size(); }
    CQXPControl* GetAt(int nIndex) const;
    // type 0 matches every type, id -1 every id.
    CQXPControl* FindControl(int controlType, int nId, BOOL bVisible, BOOL bRecursive) const;
    CQXPControl* FindControl(int nId) const { return FindControl(0, nId, FALSE, FALSE); }
    CQXPControl* FindControlById(int nId) const;
    CQXPControl* HitTest(CPoint point) const;
    // Next control for keyboard stepping (nDirection +1 or -1); -1 when none.
    int GetNext(int nIndex, int nDirection, BOOL bSkipNoFocus = TRUE, BOOL bSkipTemporary = FALSE,
                BOOL bKeepRarelyUsed = FALSE) const;
    // bStrict FALSE: a control hidden only for not fitting still counts.
    int GetVisibleCount(BOOL bStrict = TRUE) const;
    CQXPControl* GetVisibleAt(int nIndex, BOOL bStrict = TRUE) const;

    // --- change detection ------------------------------------------------------------
    BOOL IsEqual(CQXPControls* pOther) const;
    BOOL IsChanged() const;
    void CreateOriginalControls();
    void SetOriginalControls(CQXPOriginalControls* pOriginal);
    CQXPOriginalControls* GetOriginalControls() const { return m_pOriginalControls; }
    CQXPControls* Duplicate(BOOL bRecursive = FALSE);
    virtual void Copy(CQXPControls* pOther, BOOL bRecursive = FALSE);

    // --- links ---------------------------------------------------------------------------
    CQXPCommandBar* GetParent() const { return m_pParent; }
    void SetParent(CQXPCommandBar* pParent);
    void SetCommandBars(CQXPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
    CQXPCommandBars* GetCommandBars() const;

    // --- menu conversion ----------------------------------------------------------------
    // Appends a control for every item of the menu; separators become the
    // BeginGroup of the next control, menu breaks start new columns, and the
    // items' checked and greyed states carry over.
    BOOL LoadMenu(CMenu* pMenu);
    BOOL LoadMenu(HMENU hMenu);
    CQXPControl* AddMenuItem(HMENU hMenu, int nIndex);

    // --- layout (implemented in layout.cpp) ------------------------------------------
    // The bar's size for a length and layout mode; commits the control
    // rectangles with qxpLayoutCommit.
    CSize CalcDynamicSize(CDC* pDC, int nLength, DWORD dwMode, const CRect& rcBorder, int nWidth = 0);
    // The size of a popup list.
    CSize CalcPopupSize(CDC* pDC, int nMaxHeight, const CRect& rcBorder);

    // --- persistence -------------------------------------------------------------------------
    // The controls (each as an object with its class), then the original
    // controls when the exchange's parameter asks for them. Loading replaces
    // the controls; a control class that cannot be made throws an archive
    // exception.
    virtual void DoPropExchange(CQXPPropExchange* pPX);
    // Adds the popups reachable from the controls (and the original controls)
    // to a save list.
    void AddPopupsToList(UINT& nCounter, CommandBarList* pList, const CommandBarsExchangeParam* pParam);
    // Connects loaded popup bars to the popup controls (and the original ones).
    void RestorePopups(CommandBarList* pList);

    // --- overridables -----------------------------------------------------------------------
    // Whether a saved layout keeps the control (temporary ones, as the
    // expand button, are left out).
    virtual BOOL ShouldSaveControl(CQXPControl* pControl) { return !pControl->IsTemporary(); }
    virtual void OnControlAdded(CQXPControl* pControl);
    virtual void OnControlRemoved(CQXPControl* pControl);
    virtual BOOL OnControlRemoving(CQXPControl* pControl)
    {
        (void)pControl;
        return FALSE;
    }
    void RefreshIndexes();

    // Creates the object of a control type for a command id (the classes of
    // the special ids included); none for an unknown type.
    static CQXPControl* AFXAPI CreateControlOfType(int controlType, int nId, BOOL bFromMenu,
                                                   const CString& strCaption);

    BOOL m_bOriginalControls;

protected:
    // The site window that is asked about new controls and popup bars.
    CWnd* GetSite() const;
    // The popup bar of a new popup control: asked from the site, else a new
    // empty one of the manager.
    CQXPCommandBar* CreatePopupBarFor(const CString& strCaption, int nId);

    CQXPCommandBar* m_pParent;
    std::vector<CQXPControl*> m_arrControls;
    CQXPCommandBars* m_pCommandBars;
    CQXPOriginalControls* m_pOriginalControls;
};

// The copy of a collection taken when it was first built.
class CQXPOriginalControls : public CQXPControls {
    DECLARE_DYNCREATE(CQXPOriginalControls)
public:
    CQXPOriginalControls() { m_bOriginalControls = TRUE; }
};
