// ribbonbar.cpp - CQXPRibbonGroup, CQXPRibbonTab and CQXPRibbonBar: tabs,
// groups, the quick-access toolbar, layout, drawing, tab selection by mouse
// and wheel, and the minimised state.
#include <qx/barcontrols.h>
#include <qx/barstate.h>
#include <qx/commandbars.h>
#include <qx/customize.h>
#include <qx/gallery.h>
#include <qx/images.h>
#include <qx/mousemanager.h>
#include <qx/office2007.h>
#include <qx/propexchange.h>
#include <qx/ribbonaccess.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonpopups.h>
#include <qx/ribbonsystem.h>
#include <qx/resourcemgr.h>
#include <qxresource.h>
#include <qx/ribbonframehook.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

using namespace qxribbon;

namespace {

// Stores objects as numbered entries of a section: each its class name,
// then its own exchange.
template <class T>
void StoreObjects(CQXPPropExchange* pPX, LPCSTR lpszSection, LPCSTR lpszEntry, const std::vector<T*>& objects,
                  CRuntimeClass* pBase)
{
    PropExchangeSectionPtr section(pPX, lpszSection);
    std::unique_ptr<PropExchangeEnumerator> pEnum(section->OpenEnumerator(lpszEntry));
    POSITION pos = pEnum->First((DWORD)objects.size());
    for (T* p : objects) {
        PropExchangeSectionPtr px(pEnum->Next(pos));
        CObject* pObject = p;
        QxpExchangeObjectClass(px, &pObject, pBase);
        p->DoPropExchange(px);
    }
}

// Loads the entries of a section: each object is made from its stored
// class (one that cannot be made throws the archive exception badClass),
// handed to take (which owns it from then on), then runs its exchange.
template <class T>
void LoadObjects(CQXPPropExchange* pPX, LPCSTR lpszSection, LPCSTR lpszEntry, CRuntimeClass* pBase,
                 const std::function<void(T*)>& take)
{
    PropExchangeSectionPtr section(pPX, lpszSection);
    std::unique_ptr<PropExchangeEnumerator> pEnum(section->OpenEnumerator(lpszEntry));
    POSITION pos = pEnum->First();
    while (pos) {
        PropExchangeSectionPtr px(pEnum->Next(pos));
        CObject* pObject = NULL;
        if (!QxpExchangeObjectClass(px, &pObject, pBase) || !pObject)
            AfxThrowArchiveException(CArchiveException::badClass);
        take((T*)pObject);
        ((T*)pObject)->DoPropExchange(px);
    }
}

// Runs a loaded control's exchange; a control whose exchange throws goes.
void ExchangeLoadedControl(CQXPControl* pControl, CQXPPropExchange* pPX)
{
    try {
        pControl->DoPropExchange(pPX);
    } catch (...) {
        pControl->InternalRelease();
        throw;
    }
}

// The system button stored in its section, or NULL. A class that cannot be
// made stops the exchange of the button alone: the registry and an INI file
// name their values, and in the positional archive a stand-in of the system
// button's own class reads the stored button's values, so that the tabs
// after them are read from their place (a stored class with values of its
// own leaves them misread, and the load is refused whole there).
CQXPControl* LoadSystemButton(CQXPPropExchange* pSection)
{
    CObject* pObject = NULL;
    if (QxpExchangeObjectClass(pSection, &pObject, RUNTIME_CLASS(CQXPRibbonControlSystemButton)) && pObject) {
        CQXPControl* pButton = (CQXPControl*)pObject;
        ExchangeLoadedControl(pButton, pSection);
        return pButton;
    }
    if (pSection->IsArchive()) {
        CQXPControl* pStandIn = new CQXPRibbonControlSystemButton;
        ExchangeLoadedControl(pStandIn, pSection);
        pStandIn->InternalRelease();
    }
    return NULL;
}

// Whether a section being loaded was stored: always in the positional
// archive; in the registry a section with a value or a section of its own,
// in an INI file one with a value (a stored control has at least its
// flags or its id).
BOOL IsSectionStored(CQXPPropExchange* pSection)
{
    if (pSection->IsArchive())
        return TRUE;
    if (auto* pRegistry = dynamic_cast<CQXPPropExchangeRegistry*>(pSection)) {
        if (!pRegistry->Prepare())
            return FALSE;
        DWORD nKeys = 0, nValues = 0;
        if (::RegQueryInfoKeyA(pRegistry->GetSectionKey(), NULL, NULL, NULL, &nKeys, NULL, NULL, &nValues, NULL,
                               NULL, NULL, NULL) != ERROR_SUCCESS)
            return FALSE;
        return nKeys + nValues > 0;
    }
    if (auto* pIni = dynamic_cast<CQXPPropExchangeIniFile*>(pSection)) {
        char szValues[4];
        return pIni->Prepare() &&
               ::GetPrivateProfileSectionA(pIni->GetSectionName(), szValues, sizeof(szValues), pIni->GetFilePath()) > 0;
    }
    return TRUE;
}

} // namespace

// ---------------------------------------------------------------------------
// CQXPRibbonGroupOptionButton

CQXPRibbonGroupOptionButton::CQXPRibbonGroupOptionButton(CQXPRibbonGroup* pGroup) : m_pGroup(pGroup)
{
    m_dwFlags |= qxpFlagManualUpdate;
}

void CQXPRibbonGroupOptionButton::Draw(CDC* pDC)
{
    CQXPRibbonBar* pRibbon = m_pGroup ? m_pGroup->GetRibbonBar() : NULL;
    if (pRibbon)
        pRibbon->GetRibbonTheme()->DrawRibbonOptionButton(pDC, GetRect(), GetSelected(), GetPressed());
}

// ---------------------------------------------------------------------------
// CQXPRibbonGroup

IMPLEMENT_DYNCREATE(CQXPRibbonGroup, CCmdTarget)

CQXPRibbonGroup::CQXPRibbonGroup()
    : m_bControlsCentering(FALSE), m_bControlsGrouping(FALSE), m_bShowOptionButton(FALSE), m_bVisible(TRUE),
      m_nId(-1), m_nIconId(-1), m_pCollection(NULL), m_nIndex(-1), m_pRibbon(NULL), m_pParentBar(NULL),
      m_pPopupButton(NULL), m_bCollapsed(FALSE), m_pLayout(NULL)
{
    m_pOptionButton = new CQXPRibbonGroupOptionButton(this);
    m_pOptionButton->SetHideFlag(qxpHideGeneric, TRUE); // until a layout wants it
}

CQXPRibbonGroup::~CQXPRibbonGroup()
{
    RemoveAll();
    ReleasePopupButton();
    if (CQXPControls* pControls = m_pOptionButton->GetControls())
        pControls->Remove(m_pOptionButton);
    m_pOptionButton->m_pGroup = NULL;
    m_pOptionButton->InternalRelease();
    delete m_pLayout;
}

CQXPRibbonTab* CQXPRibbonGroup::GetTab() const { return m_pCollection ? m_pCollection->GetTab() : NULL; }

CQXPRibbonBar* CQXPRibbonGroup::GetRibbonBar() const
{
    return m_pRibbon ? m_pRibbon : (m_pCollection ? m_pCollection->GetRibbonBar() : NULL);
}

CQXPCommandBar* CQXPRibbonGroup::GetParentBar() const
{
    if (m_pParentBar)
        return m_pParentBar;
    return m_pCollection ? m_pCollection->GetParentBar() : GetRibbonBar();
}

BOOL CQXPRibbonGroup::IsVisible() const
{
    CQXPRibbonBar* pBar = GetRibbonBar();
    if (GetParentBar() != pBar)
        return m_bVisible; // a copy in a popup
    return m_bVisible && pBar && pBar->GetSelectedTab() == GetTab();
}

void CQXPRibbonGroup::CopyFrom(CQXPRibbonGroup* pSource, CQXPCommandBar* pParentBar, CQXPRibbonBar* pRibbon)
{
    RemoveAll();
    ReleasePopupButton();
    m_pParentBar = pParentBar;
    m_pRibbon = pRibbon;
    m_nId = pSource->m_nId;
    m_nIconId = pSource->m_nIconId;
    m_bShowOptionButton = pSource->m_bShowOptionButton;
    m_strCaption = pSource->m_strCaption;
    m_bControlsGrouping = pSource->m_bControlsGrouping;
    m_bControlsCentering = pSource->m_bControlsCentering;
    m_bVisible = pSource->m_bVisible;
    // The option button as the source's: its action, texts, key and icon.
    m_pOptionButton->Copy(pSource->m_pOptionButton);
    m_pOptionButton->SetHideFlag(QXP_HIDE_RIBBON_TAB, FALSE);
    CQXPCommandBar* pBar = GetParentBar();
    if (!pBar)
        return;
    for (CQXPControl* pControl : pSource->m_controls) {
        CQXPControl* pCopy = pBar->GetControls()->AddCopy(pControl, BarIndexFor(-1));
        if (!pCopy)
            continue;
        // The source may be collapsed or on a tab not shown; the copy shows.
        pCopy->SetHideFlag(QXP_HIDE_RIBBON_TAB | qxpHideWrap, FALSE);
        Attach(pCopy, -1);
    }
    // A group in a collection has its button from the start (with the
    // id and caption it has now), and the source's action, texts, key and
    // icon (the button keeps its own popup).
    if (m_pCollection)
        EnsurePopupButton();
    if (CQXPControl* pFrom = m_pPopupButton ? pSource->m_pPopupButton : NULL) {
        m_pPopupButton->SetAction(pFrom->GetAction());
        m_pPopupButton->SetTooltip(pFrom->m_strTooltipText);
        m_pPopupButton->SetDescription(pFrom->m_strDescriptionText);
        m_pPopupButton->m_strKeyboardTip = pFrom->m_strKeyboardTip;
        m_pPopupButton->SetIconId(pFrom->m_nIconId);
    }
}

void CQXPRibbonGroup::EnsurePopupButton()
{
    CQXPCommandBar* pBar = GetParentBar();
    if (m_pPopupButton || !pBar)
        return;
    CQXPRibbonGroupControlPopup* pButton = new CQXPRibbonGroupControlPopup;
    pButton->SetGroup(this);
    pButton->SetCaption(m_strCaption);
    // Adding renumbers the bar's controls, which lets its selection go: the
    // control the keyboard (or the mouse) is on stays selected.
    CQXPControl* pSelected = pBar->GetSelected();
    const int nHow = pSelected ? pSelected->GetSelected() : 0;
    // Right after the option button.
    const int nAt = m_pOptionButton->GetControls() == pBar->GetControls() ? m_pOptionButton->GetIndex() + 1 : -1;
    pBar->GetControls()->AddControl(pButton, m_nId, CString(), nAt, TRUE);
    if (pSelected && !pBar->GetSelected())
        pBar->SetSelected(pSelected->GetIndex(), nHow);
    pButton->InternalAddRef();
    pButton->SetHideFlag(qxpHideWrap, TRUE);
    if (!IsVisible())
        pButton->SetHideFlag(QXP_HIDE_RIBBON_TAB, TRUE);
    m_pPopupButton = pButton;
}

void CQXPRibbonGroup::ReleasePopupButton()
{
    CQXPRibbonGroupControlPopup* pButton = m_pPopupButton;
    if (!pButton)
        return;
    m_pPopupButton = NULL;
    if (pButton->GetPopuped())
        pButton->OnSetPopup(FALSE);
    if (CQXPControls* pControls = pButton->GetControls())
        pControls->Remove(pButton);
    pButton->SetGroup(NULL);
    pButton->InternalRelease();
}

int CQXPRibbonGroup::IndexOf(const CQXPControl* pControl) const
{
    auto it = std::find(m_controls.begin(), m_controls.end(), pControl);
    return it == m_controls.end() ? -1 : (int)(it - m_controls.begin());
}

void CQXPRibbonGroup::Attach(CQXPControl* pControl, int nIndex)
{
    if (nIndex < 0 || nIndex > (int)m_controls.size())
        nIndex = (int)m_controls.size();
    m_controls.insert(m_controls.begin() + nIndex, pControl);
    pControl->InternalAddRef();
    if (!IsVisible())
        pControl->SetHideFlag(QXP_HIDE_RIBBON_TAB, TRUE);
}

int CQXPRibbonGroup::BarIndexFor(int nIndex) const
{
    CQXPCommandBar* pBar = GetParentBar();
    CQXPControls* pControls = pBar ? pBar->GetControls() : NULL;
    if (!pControls)
        return -1;
    if (nIndex >= 0 && nIndex < (int)m_controls.size() && m_controls[(size_t)nIndex]->GetControls() == pControls)
        return m_controls[(size_t)nIndex]->GetIndex();
    return m_pOptionButton->GetControls() == pControls ? m_pOptionButton->GetIndex() : -1;
}

CQXPControl* CQXPRibbonGroup::Add(int controlType, int nId, LPCSTR lpszCaption, int nIndex)
{
    CQXPCommandBar* pBar = GetParentBar();
    if (!pBar)
        return NULL;
    CQXPControl* pControl = pBar->GetControls()->Add(controlType, nId, CString(), BarIndexFor(nIndex));
    if (!pControl)
        return NULL;
    if (lpszCaption)
        pControl->SetCaption(lpszCaption);
    Attach(pControl, nIndex);
    return pControl;
}

void CQXPRibbonGroup::RemoveAt(int nIndex)
{
    if (nIndex < 0 || nIndex >= (int)m_controls.size())
        return;
    CQXPControl* pControl = m_controls[(size_t)nIndex];
    m_controls.erase(m_controls.begin() + nIndex);
    CQXPCommandBar* pBar = GetParentBar();
    if (pBar && pControl->GetControls() == pBar->GetControls())
        pBar->GetControls()->Remove(pControl);
    pControl->InternalRelease();
}

void CQXPRibbonGroup::RemoveAll()
{
    for (int i = (int)m_controls.size() - 1; i >= 0; i--)
        RemoveAt(i);
}

void CQXPRibbonGroup::DoPropExchange(CQXPPropExchange* pPX)
{
    ExchangeIntProp(pPX, "Id", &m_nId, 0);
    ExchangeIntProp(pPX, "IconId", &m_nIconId, 0);
    ExchangeBoolProp(pPX, "ShowOptionButton", &m_bShowOptionButton, FALSE);
    ExchangeTextPropDefault(pPX, "Caption", &m_strCaption, "");
    ExchangeBoolProp(pPX, "ControlsGrouping", &m_bControlsGrouping, FALSE);
    ExchangeBoolProp(pPX, "ControlsCentering", &m_bControlsCentering, FALSE);
    ExchangeBoolProp(pPX, "Visible", &m_bVisible, TRUE);
    if (pPX->IsLoading() && m_pCollection)
        OnGroupAdded(); // the collection that loads it took it in
    if (pPX->IsStoring()) {
        std::vector<CQXPControl*> stored;
        for (CQXPControl* p : m_controls)
            if (!p->IsTemporary())
                stored.push_back(p);
        StoreObjects(pPX, "Controls", "Control", stored, RUNTIME_CLASS(CQXPControl));
    } else {
        CQXPCommandBar* pBar = GetParentBar();
        RemoveAll();
        LoadObjects<CQXPControl>(pPX, "Controls", "Control", RUNTIME_CLASS(CQXPControl), [&](CQXPControl* pControl) {
            if (pBar)
                pBar->GetControls()->InsertAt(pControl, BarIndexFor(-1)); // takes the creation's reference
            Attach(pControl, -1);
            if (!pBar)
                pControl->InternalRelease();
        });
    }
    ExchangeButton(pPX, "ControlGroupOption", m_pOptionButton);
    // A group outside a bar has no popup button: a stand-in of its class
    // keeps the archive's sequence.
    std::unique_ptr<CQXPRibbonGroupControlPopup> pStandIn(m_pPopupButton ? NULL : new CQXPRibbonGroupControlPopup);
    ExchangeButton(pPX, "ControlGroupPopup", m_pPopupButton ? m_pPopupButton : pStandIn.get());
}

void CQXPRibbonGroup::ExchangeButton(CQXPPropExchange* pPX, LPCSTR lpszSection, CQXPControl* pButton)
{
    PropExchangeSectionPtr section(pPX, lpszSection);
    if (pPX->IsLoading() && !IsSectionStored(section))
        return; // stored before the buttons were: they stay as they are
    pButton->DoPropExchange(section);
}

void CQXPRibbonGroup::OnGroupAdded()
{
    // The option button and the button the group collapses to join the
    // bar that shows it, in this order after its controls.
    CQXPCommandBar* pBar = GetParentBar();
    if (pBar && !m_pOptionButton->GetControls()) {
        m_pOptionButton->InternalAddRef(); // the bar's
        pBar->GetControls()->AddControl(m_pOptionButton, m_nId, CString(), -1, TRUE);
        m_pOptionButton->m_pGroup = this;
        if (!IsVisible())
            m_pOptionButton->SetHideFlag(QXP_HIDE_RIBBON_TAB, TRUE);
    }
    EnsurePopupButton();
    // With actions on, both buttons show the action of the group's id (its
    // caption the group's when it has none): the program enables, hides
    // and describes the group's buttons through it.
    CQXPCommandBars* pCommandBars = pBar ? pBar->GetCommandBars() : NULL;
    if (pCommandBars && pCommandBars->IsActionsEnabled() && m_nId > 0) {
        CQXPControlAction* pAction = pCommandBars->GetActions()->Add(m_nId);
        if (pAction->GetCaption().IsEmpty())
            pAction->SetCaption(m_strCaption);
        m_pOptionButton->SetAction(pAction);
        if (m_pPopupButton)
            m_pPopupButton->SetAction(pAction);
    }
}

void CQXPRibbonGroup::OnGroupRemoved()
{
    RemoveAll();
    CQXPRibbonBar* pRibbon = GetRibbonBar();
    if (pRibbon && GetParentBar() == pRibbon && pRibbon->GetGroupScroller()->GetHotGroup() == this)
        pRibbon->m_groupScroller.ForgetHotGroup();
    ReleasePopupButton();
    if (CQXPControls* pControls = m_pOptionButton->GetControls())
        pControls->Remove(m_pOptionButton);
}

void CQXPRibbonGroup::PlaceOptionButton()
{
    // Its square sits 3 px inside the group's bottom-right corner, the
    // caption height wide; not wanted it is hidden (1), in a collapsed
    // group hidden by the layout (2).
    CQXPRibbonGroupOptionButton* pButton = m_pOptionButton;
    if (m_buttons.nOptionHide == 0) {
        pButton->SetWrap(TRUE);
        pButton->SetHideFlag(qxpHideGeneric | qxpHideWrap, FALSE);
        pButton->SetRect(m_buttons.rcOption);
    } else {
        pButton->SetHideFlag(qxpHideWrap, m_buttons.nOptionHide == 2);
        pButton->SetHideFlag(qxpHideGeneric, m_buttons.nOptionHide == 1);
    }
}

void CQXPRibbonGroup::OnBeforeLayout(CDC* pDC)
{
    delete m_pLayout;
    m_pLayout = new RibbonGroupLayout;
    RibbonGroupLayout& l = *m_pLayout;
    l.bVisible = m_bVisible;
    l.bControlsCentering = m_bControlsCentering;
    l.bControlsGrouping = m_bControlsGrouping;
    l.bCollapsed = m_bCollapsed;
    CQXPRibbonBar* pRibbon = GetRibbonBar();
    if (!pRibbon)
        return;
    CRibbonStyleTheme* pTheme = pRibbon->GetRibbonTheme();
    // The caption as stored ("&" included) in the small-caption font.
    CFont* pOld = pDC->SelectObject(pTheme->GetSmCaptionFont());
    l.nCaptionWidth =
        pDC->GetTextExtent(m_strCaption).cx + (m_bShowOptionButton ? pTheme->m_metrics.nGroupCaption : 0);
    pDC->SelectObject(pOld);
    l.nPopupButtonWidth = pTheme->GetRibbonGroupPopupButtonWidth(pDC, m_strCaption);
    // A control is a large button when its bar's images hold its icon drawn
    // at the bar's large-icon width itself (not scaled to it).
    CQXPCommandBar* pParent = GetParentBar();
    CSize szLarge(0, 0);
    if (pParent)
        pParent->GetButtonSize(&szLarge, TRUE);
    CQXPImageManager* pImages = pParent ? pParent->GetImageManager() : NULL;
    for (CQXPControl* c : m_controls) {
        if (!c->IsVisible(qxpHideWrap | QXP_HIDE_RIBBON_TAB))
            continue;
        RibbonGroupLayoutItem it;
        it.pControl = c;
        it.nExplicitStyle = c->m_buttonStyle;
        it.bGallery = c->GetType() == qxpControlGallery;
        // Only a resizable gallery with items of its own widens into spare
        // room, by its item width.
        if (CQXPControlGallery* pGallery = it.bGallery ? dynamic_cast<CQXPControlGallery*>(c) : NULL) {
            GalleryItemList* pItems = pGallery->GetItems();
            it.bResizableGallery = pGallery->m_bResizable && pItems != NULL;
            it.nGalleryItemWidth = pItems ? pItems->GetItemWidth() : 0;
        }
        it.bLargeImage = !it.bGallery && pImages && c->GetIconId() > 0 &&
                         pImages->HasOwnImage((UINT)c->GetIconId(), szLarge.cx);
        it.bBeginGroup = c->GetBeginGroup();
        it.bWrapFlag = (c->GetFlags() & qxpFlagWrapRow) != 0;
        l.items.push_back(it);
    }
}

void CQXPRibbonGroup::OnAfterLayout()
{
    if (!m_pLayout)
        return;
    std::unique_ptr<RibbonGroupLayout> pLayout(m_pLayout);
    m_pLayout = NULL;
    CQXPRibbonBar* pRibbon = GetRibbonBar();
    if (!pRibbon)
        return;
    const RibbonGroupLayout& l = *pLayout;
    // A group that opens again takes more room than its button did: the
    // bar lays out once more with it.
    if (m_bCollapsed && !l.bCollapsed)
        if (CQXPCommandBar* pParent = GetParentBar())
            pParent->DelayLayout();
    m_bCollapsed = l.bCollapsed;
    m_rcGroup = l.rc;
    m_buttons = PlaceGroupButtons(m_rcGroup, l.bCollapsed, m_bShowOptionButton,
                                  pRibbon->GetRibbonTheme()->m_metrics.nGroupCaption);
    for (const RibbonGroupLayoutItem& it : l.items) {
        CQXPControl* c = (CQXPControl*)it.pControl;
        c->m_buttonRibbonStyle = it.nRibbonStyle;
        c->SetHideFlag(qxpHideWrap, it.bHidden);
        c->SetWrap(it.bNewRow);
        if (!it.bHidden)
            c->SetRect(CRect(it.rc.left, it.rc.top, it.rc.left + it.cx, it.rc.top + it.cy));
    }
    // A collapsed group shows as its button.
    EnsurePopupButton();
    if (CQXPRibbonGroupControlPopup* pButton = m_pPopupButton) {
        pButton->SetCaption(m_strCaption);
        pButton->SetHideFlag(qxpHideWrap, !m_bCollapsed || !m_bVisible);
        pButton->SetRect(m_bCollapsed ? m_buttons.rcPopup : CRect());
    }
    PlaceOptionButton();
}

// ---------------------------------------------------------------------------
// CQXPRibbonGroupCollection

CQXPRibbonGroupCollection::CQXPRibbonGroupCollection(CQXPRibbonTab* pTab)
    : m_nScrollOffset(0), m_pTab(pTab), m_pParentBar(NULL), m_pRibbon(NULL)
{
}

CQXPRibbonGroupCollection::CQXPRibbonGroupCollection(CQXPCommandBar* pParentBar, CQXPRibbonBar* pRibbon)
    : m_nScrollOffset(0), m_pTab(NULL), m_pParentBar(pParentBar), m_pRibbon(pRibbon)
{
}

CQXPRibbonGroupCollection::~CQXPRibbonGroupCollection() { RemoveAll(); }

CQXPRibbonGroup* CQXPRibbonGroupCollection::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_groups.size() ? m_groups[(size_t)nIndex] : NULL;
}

CQXPRibbonBar* CQXPRibbonGroupCollection::GetRibbonBar() const
{
    return m_pRibbon ? m_pRibbon : (m_pTab ? m_pTab->GetRibbonBar() : NULL);
}

CQXPCommandBar* CQXPRibbonGroupCollection::GetParentBar() const
{
    return m_pParentBar ? m_pParentBar : GetRibbonBar();
}

void CQXPRibbonGroupCollection::Renumber()
{
    for (size_t i = 0; i < m_groups.size(); i++)
        m_groups[i]->m_nIndex = (int)i;
}

CQXPRibbonGroup* CQXPRibbonGroupCollection::InsertAt(int nIndex, CQXPRibbonGroup* pGroup)
{
    if (!Take(nIndex, pGroup))
        return NULL;
    pGroup->OnGroupAdded();
    return pGroup;
}

BOOL CQXPRibbonGroupCollection::Take(int nIndex, CQXPRibbonGroup* pGroup)
{
    if (!pGroup)
        return FALSE;
    if (nIndex < 0 || nIndex > (int)m_groups.size())
        nIndex = (int)m_groups.size();
    pGroup->m_pCollection = this;
    m_groups.insert(m_groups.begin() + nIndex, pGroup);
    Renumber();
    return TRUE;
}

void CQXPRibbonGroupCollection::RemoveAll()
{
    // Taken out first: a group's removal may look at the collection.
    std::vector<CQXPRibbonGroup*> groups;
    groups.swap(m_groups);
    for (CQXPRibbonGroup* g : groups) {
        g->OnGroupRemoved();
        g->m_pCollection = NULL;
        g->m_nIndex = -1;
        g->InternalRelease();
    }
}

void CQXPRibbonGroupCollection::Copy(CQXPRibbonGroupCollection* pSource)
{
    if (!pSource || pSource == this)
        return;
    RemoveAll();
    for (CQXPRibbonGroup* pFrom : pSource->m_groups) {
        CQXPRibbonGroup* pGroup = QxpCreateObjectAs<CQXPRibbonGroup>(pFrom->GetRuntimeClass());
        if (!pGroup)
            continue;
        InsertAt(-1, pGroup);
        pGroup->CopyFrom(pFrom, NULL, NULL);
    }
}

void CQXPRibbonGroupCollection::DoPropExchange(CQXPPropExchange* pPX)
{
    if (pPX->IsStoring()) {
        StoreObjects(pPX, "Groups", "Group", m_groups, RUNTIME_CLASS(CQXPRibbonGroup));
        return;
    }
    RemoveAll();
    // Each group hears OnGroupAdded from its own exchange, once it has its
    // settings.
    LoadObjects<CQXPRibbonGroup>(pPX, "Groups", "Group", RUNTIME_CLASS(CQXPRibbonGroup),
                                 [&](CQXPRibbonGroup* pGroup) { Take(-1, pGroup); });
}

CQXPRibbonGroup* CQXPRibbonGroupCollection::HitTest(CPoint point) const
{
    for (CQXPRibbonGroup* g : m_groups)
        if (g->m_bVisible && g->m_rcGroup.PtInRect(point))
            return g;
    return NULL;
}

CQXPRibbonGroup* CQXPRibbonGroupCollection::FindGroup(int nId) const
{
    for (CQXPRibbonGroup* g : m_groups)
        if (g->GetID() == nId)
            return g;
    return NULL;
}

RibbonGroupsResult CQXPRibbonGroupCollection::Layout(CDC* pDC, const CRect& rcBand, const CRect& rcMargins)
{
    RibbonGroupsResult res;
    CQXPRibbonBar* pRibbon = GetRibbonBar();
    CRibbonGroupScroller* pScroller = CRibbonGroupScroller::GetGroupScroller(GetParentBar());
    if (pRibbon && !m_groups.empty()) {
        auto measure = [&](const RibbonGroupLayoutItem& it, int nStyle) {
            CQXPControl* pControl = (CQXPControl*)it.pControl;
            pControl->m_buttonRibbonStyle = nStyle;
            return pControl->GetSize(pDC);
        };
        // Hidden groups take no part (a record that is not visible keeps
        // their place in the arithmetic).
        RibbonGroupLayout hidden;
        hidden.bVisible = FALSE;
        std::vector<RibbonGroupLayout*> layouts;
        for (CQXPRibbonGroup* g : m_groups) {
            if (g->m_bVisible)
                g->OnBeforeLayout(pDC);
            layouts.push_back(g->m_bVisible && g->m_pLayout ? g->m_pLayout : &hidden);
        }
        // The band's own place: the groups are placed in the bar's
        // coordinates.
        const CRect rcPlace(rcBand.left + rcMargins.left, rcBand.top + rcMargins.top, rcMargins.right, rcMargins.bottom);
        res = qxribbon::LayoutGroups(layouts, rcBand.right, rcPlace, m_nScrollOffset, pRibbon->GetBandMetrics(), measure);
        m_nScrollOffset = res.nOffset;
        for (CQXPRibbonGroup* g : m_groups)
            if (g->m_pLayout)
                g->OnAfterLayout();
    }
    if (pScroller)
        pScroller->ShowScrollButtons(res.bScrollLeft, res.bScrollRight);
    return res;
}

// ---------------------------------------------------------------------------
// CQXPRibbonTab

IMPLEMENT_DYNCREATE(CQXPRibbonTab, CCmdTarget)

CQXPRibbonTab::CQXPRibbonTab() : m_nId(0), m_nContextColor(0), m_pRibbonBar(NULL), m_bStoredSelected(FALSE)
{
    m_pGroups = new CQXPRibbonGroupCollection(this);
}

CQXPRibbonTab::~CQXPRibbonTab()
{
    m_pGroups->RemoveAll();
    m_pGroups->InternalRelease();
}

void CQXPRibbonTab::OnRemoved()
{
    RemoveAllGroups();
    CQXPTabManagerItem::OnRemoved();
}

void CQXPRibbonTab::Copy(CQXPRibbonTab* pOther)
{
    if (!pOther || pOther == this)
        return;
    m_strCaption = pOther->m_strCaption;
    m_nContextColor = pOther->m_nContextColor;
    m_strContextCaption = pOther->m_strContextCaption;
    m_nId = pOther->m_nId;
    m_bVisible = pOther->m_bVisible;
    m_strToolTip = pOther->m_strToolTip;
    CQXPTabManager* pOtherRow = pOther->GetTabManager();
    if (pOtherRow && pOtherRow->GetSelectedItem() == pOther && GetTabManager())
        GetTabManager()->CQXPTabManager::SetSelectedItem(this);
    m_pGroups->Copy(pOther->m_pGroups);
}

CQXPRibbonGroup* CQXPRibbonTab::AddGroup(LPCSTR lpszCaption, int nId)
{
    CQXPRibbonGroup* pGroup = new CQXPRibbonGroup;
    pGroup->m_strCaption = lpszCaption;
    pGroup->m_nId = nId;
    return m_pGroups->InsertAt(-1, pGroup);
}

void CQXPRibbonTab::SetVisible(BOOL bVisible)
{
    bVisible = bVisible ? TRUE : FALSE;
    if (m_bVisible == bVisible)
        return;
    CQXPTabManagerItem::SetVisible(bVisible);
    if (!m_pRibbonBar)
        return;
    if (!bVisible && m_pRibbonBar->GetSelectedTab() == this) {
        // The first focusable tab from the start takes its place.
        CQXPTabManagerItem* pNext = m_pRibbonBar->GetTabControl()->FindNextFocusable(0, +1);
        m_pRibbonBar->SelectTab(pNext ? pNext->GetIndex() : -1);
    }
    m_pRibbonBar->OnRecalcLayout();
}

void CQXPRibbonTab::DoPropExchange(CQXPPropExchange* pPX)
{
    ExchangeTextPropDefault(pPX, "Caption", &m_strCaption, "");
    ExchangeTextPropDefault(pPX, "ToolTip", &m_strToolTip, "");
    ExchangeIntProp(pPX, "ContextColor", &m_nContextColor, 0);
    ExchangeTextPropDefault(pPX, "ContextCaption", &m_strContextCaption, "");
    ExchangeIntProp(pPX, "Id", &m_nId, 0);
    ExchangeBoolProp(pPX, "Visible", &m_bVisible, TRUE);
    BOOL bSelected = m_pRibbonBar && m_pRibbonBar->GetSelectedTab() == this;
    ExchangeBoolProp(pPX, "Selected", &bSelected, FALSE);
    if (pPX->IsLoading())
        m_bStoredSelected = bSelected;

    m_pGroups->DoPropExchange(pPX);
}

// ---------------------------------------------------------------------------
// CQXPRibbonBar

BOOL AFXAPI RegisterRibbonBarClasses()
{
    // Naming the classes here keeps this file (and so their records) in a
    // program that never makes a ribbon itself.
    const CRuntimeClass* classes[] = {RUNTIME_CLASS(CQXPRibbonBar), RUNTIME_CLASS(CQXPRibbonTab),
                                      RUNTIME_CLASS(CQXPRibbonGroup)};
    for (const CRuntimeClass* pClass : classes)
        if (CRuntimeClass::FromName(pClass->m_lpszClassName) != pClass)
            return FALSE;
    return TRUE;
}

IMPLEMENT_DYNCREATE(CQXPRibbonControls, CQXPControls)

void CQXPRibbonControls::OnControlRemoved(CQXPControl* pControl)
{
    CQXPControls::OnControlRemoved(pControl);
    if (m_pRibbon)
        m_pRibbon->ForgetControl(pControl);
}

BOOL AFXAPI CQXPRibbonControls::IsRunTimeOnly(const CQXPControl* pControl)
{
    return dynamic_cast<const CQXPRibbonBarControlQuickAccessPopup*>(pControl) != NULL ||
           dynamic_cast<const CQXPRibbonControlTab*>(pControl) != NULL || CQXPRibbonBar::IsCaptionButton(pControl);
}

BOOL CQXPRibbonControls::ShouldSaveControl(CQXPControl* pControl)
{
    return CQXPControls::ShouldSaveControl(pControl) && IsChangeable(pControl);
}

BOOL CQXPRibbonControls::IsChangeable(CQXPControl* pControl) const
{
    if (!pControl || IsRunTimeOnly(pControl) || dynamic_cast<CRibbonScrollButton*>(pControl))
        return FALSE;
    if (auto* pButton = dynamic_cast<CQXPRibbonGroupControlPopup*>(pControl))
        if (pButton->IsStandIn())
            return FALSE; // the group's own button
    if (auto* pOption = dynamic_cast<CQXPRibbonGroupOptionButton*>(pControl))
        if (pOption->GetGroup())
            return FALSE;
    if (!m_pRibbon)
        return TRUE;
    return m_pRibbon->FindControlGroup(pControl) == NULL && pControl != m_pRibbon->GetSystemButton() &&
           m_pRibbon->GetQuickAccessControls()->IndexOf(pControl) < 0;
}

BOOL CQXPRibbonControls::IsReserved(CQXPControl* pControl) const
{
    if (auto* pOption = dynamic_cast<CQXPRibbonGroupOptionButton*>(pControl))
        return pOption->GetGroup() != NULL;
    if (auto* pButton = dynamic_cast<CQXPRibbonGroupControlPopup*>(pControl))
        return pButton->IsStandIn();
    return IsRunTimeOnly(pControl) || dynamic_cast<CRibbonScrollButton*>(pControl) != NULL;
}

void CQXPRibbonControls::RemoveChangeable()
{
    // Removing the ribbon's own controls would leave the bar pointing at
    // controls that are gone: only the changeable ones are replaced.
    // A maximised document's buttons stay with the frame they belong to.
    for (int i = GetCount() - 1; i >= 0; i--)
        if (IsChangeable(GetAt(i)) && !GetAt(i)->IsTemporary())
            Remove(GetAt(i));
}

void CQXPRibbonControls::TakeChangeable(CQXPControls* pLoaded)
{
    RemoveChangeable();
    std::vector<CQXPControl*> taken;
    for (int i = 0; i < pLoaded->GetCount(); i++) {
        taken.push_back(pLoaded->GetAt(i));
        taken.back()->InternalAddRef();
    }
    pLoaded->RemoveAll();
    for (CQXPControl* pControl : taken)
        InsertAt(pControl, -1); // takes the reference
}

void CQXPRibbonControls::Copy(CQXPControls* pOther, BOOL bRecursive)
{
    if (pOther == this)
        return;
    RemoveChangeable();
    if (!pOther)
        return;
    auto* pRibbonOther = dynamic_cast<CQXPRibbonControls*>(pOther);
    for (int i = 0; i < pOther->GetCount(); i++) {
        CQXPControl* pControl = pOther->GetAt(i);
        // A maximised document's buttons belong to the other bar's frame.
        if (pControl->IsTemporary())
            continue;
        if (pRibbonOther ? pRibbonOther->IsChangeable(pControl) : IsChangeable(pControl))
            AddCopy(pControl, -1, bRecursive);
    }
}

// ---------------------------------------------------------------------------
// CRibbonQuickAccessControls

CRibbonQuickAccessControls::CRibbonQuickAccessControls(CQXPRibbonBar* pRibbon) : m_pRibbon(pRibbon)
{
    m_pParent = pRibbon;
}

void CRibbonQuickAccessControls::SetParent(CQXPRibbonBar* pRibbon)
{
    m_pRibbon = pRibbon;
    m_pParent = pRibbon;
    for (CQXPControl* pControl : m_arrControls)
        pControl->SetParent(pRibbon);
}

int CRibbonQuickAccessControls::IndexOf(const CQXPControl* pControl) const
{
    auto it = std::find(m_arrControls.begin(), m_arrControls.end(), pControl);
    return it == m_arrControls.end() ? -1 : (int)(it - m_arrControls.begin());
}

CQXPControl* CRibbonQuickAccessControls::FindEqual(const CQXPControl* pControl) const
{
    if (!pControl)
        return NULL;
    for (CQXPControl* c : m_arrControls)
        if (c->GetID() == pControl->GetID() && c->GetType() == pControl->GetType() && c->IsVisible(qxpHideWrap))
            return c;
    return NULL;
}

void CRibbonQuickAccessControls::OnControlAdded(CQXPControl* pControl)
{
    CQXPControls* pBarControls = m_pRibbon ? m_pRibbon->GetControls() : NULL;
    if (!pBarControls)
        return;
    // After the system button and the commands before it.
    int nIndex = IndexOf(pControl);
    if (CQXPControl* pSystem = m_pRibbon->GetSystemButton())
        nIndex += pSystem->GetIndex() + 1;
    pControl->InternalAddRef(); // the bar's
    pBarControls->InsertAt(pControl, nIndex);
}

void CRibbonQuickAccessControls::OnControlRemoved(CQXPControl* pControl)
{
    CQXPControls* pBarControls = m_pRibbon ? m_pRibbon->GetControls() : NULL;
    if (pBarControls && pControl->GetControls() == pBarControls)
        pBarControls->Remove(pControl);
}

void CRibbonQuickAccessControls::Remove(CQXPControl* pControl)
{
    const int nIndex = IndexOf(pControl);
    if (nIndex < 0)
        AfxThrowInvalidArgException();
    m_arrControls.erase(m_arrControls.begin() + nIndex);
    OnControlRemoved(pControl);
    pControl->InternalRelease();
}

IMPLEMENT_DYNCREATE(CQXPRibbonBar, CQXPMenuBar)

BEGIN_MESSAGE_MAP(CQXPRibbonBar, CQXPMenuBar)
    ON_WM_CREATE()
    ON_WM_SHOWWINDOW()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_NCHITTEST()
    ON_WM_SETCURSOR()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_TIMER()
    ON_MESSAGE(WM_COMMANDBARS_SPECIALCOMMAND, OnSpecialCommand)
    ON_COMMAND_RANGE(QX_ID_RIBBON_QAT_BELOW, QX_ID_RIBBON_QAT_ABOVE, OnQuickAccessPlace)
END_MESSAGE_MAP()

CQXPRibbonBar::CQXPRibbonBar()
    : m_bAllowMinimize(TRUE), m_bGroupsVisible(TRUE), m_bTabsVisible(TRUE), m_bCaptionBarVisible(TRUE),
      m_nGroupsHeightOverride(0),
      m_bSelectedTabClicked(FALSE), m_bMinimized(FALSE), m_bQuickAccessBelow(FALSE), m_bQuickAccessVisible(TRUE),
      m_bShownBySize(TRUE), m_nMinimumSize(qxribbon::kMinimumShownSize), m_nQuickAccessHeight(0), m_pOwnTheme(NULL), m_bFrameCaption(FALSE)
{
    m_barType = qxpBarTypeRibbon;
    CQXPRibbonControls* pControls = new CQXPRibbonControls;
    pControls->m_pRibbon = this;
    m_pControls->InternalRelease();
    m_pControls = pControls;
    m_pControls->SetParent(this);
    m_pQuickAccessControls = new CRibbonQuickAccessControls(this);
    m_nKeyTipLevel = 1;
    m_pQatDefaults = NULL;
    m_pSystemButton = NULL;
    m_pMenuTarget = NULL;
    m_bAllowQuickAccessDuplicates = FALSE;
    m_bQuickAccessCustomizable = TRUE;
    m_dwFlags = qxpFlagStretched | qxpFlagKeepOneMenu;
    m_bCustomizable = FALSE;
    // Not the menu bar's captions: a button of the QAT or the tab row with
    // no style of its own shows its icon, and its caption only without one.
    m_buttonStyle = qxpButtonAutomatic;
    m_groupScroller.CreateScrollButtons(this);
    m_pQatCustomize = m_pControls->AddControl(new CQXPRibbonBarControlQuickAccessPopup, QXP_ID_RIBBON_QAT_CUSTOMIZE);
    m_pQatMore = m_pControls->AddControl(new CRibbonQuickAccessMore, QXP_ID_RIBBON_QAT_MORE);
    m_pTabControl = (CQXPRibbonControlTab*)m_pControls->AddControl(new CQXPRibbonControlTab, QXP_ID_RIBBON_TABS);
    m_pTabControl->InternalAddRef(); // the tabs stay while the bar's controls are cleared
    // Their tooltips: the part after the line break of their strings.
    const std::pair<CQXPControl*, UINT> tips[] = {{m_pQatCustomize, QX_IDS_RIBBON_QAT_CUSTOMIZE},
                                                  {m_pQatMore, QX_IDS_RIBBON_QAT_MORE}};
    for (const auto& tip : tips) {
        const CString strText = ToolkitResourceManager::Instance()->LoadString(tip.second);
        tip.first->SetTooltip(strText.Mid(strText.Find('\n') + 1));
    }
    m_pQatMore->SetHideFlag(qxpHideWrap, TRUE);
    m_pAccessible = new CRibbonBarAccessible(this); // tabs and groups for accessibility clients
    // Painted from the bar's off-screen copy; a part that changes (a hot
    // control, a lit group) fades into its new look.
    EnableAnimation(TRUE);
}

CQXPRibbonBar::~CQXPRibbonBar()
{
    if (auto* pControls = dynamic_cast<CQXPRibbonControls*>(m_pControls))
        pControls->m_pRibbon = NULL;
    RemoveAllTabs();
    m_pTabControl->InternalRelease();
    m_pQuickAccessControls->RemoveAll();
    m_pQuickAccessControls->InternalRelease();
    if (m_pOwnTheme)
        m_pOwnTheme->InternalRelease();
    if (m_pQatDefaults)
        m_pQatDefaults->InternalRelease();
    if (m_pMenuTarget)
        m_pMenuTarget->InternalRelease();
}

CRibbonStyleTheme* CQXPRibbonBar::GetRibbonTheme()
{
    // The frame's paint manager turned into a ribbon theme: the ribbon
    // draws with it again, like the frame.
    if (m_pOwnTheme && GetOwnPaintManager() == m_pOwnTheme) {
        CQXPCommandBars* pBars = GetCommandBars();
        CQXPThemePainter* pFrames =
            pBars && pBars->GetOwnPaintManager() ? pBars->GetOwnPaintManager() : GetGlobalPaintManager();
        if (dynamic_cast<CRibbonStyleTheme*>(pFrames)) {
            CRibbonStyleTheme* pOwn = m_pOwnTheme;
            m_pOwnTheme = NULL;
            SetPaintManager(NULL);
            pOwn->InternalRelease();
        }
    }
    if (auto* p = dynamic_cast<CRibbonStyleTheme*>(GetPaintManager()))
        return p;
    if (!m_pOwnTheme) {
        m_pOwnTheme = new CRibbonStyleTheme;
        m_pOwnTheme->RefreshMetrics();
        m_pOwnTheme->InternalAddRef();
        SetPaintManager(m_pOwnTheme); // the bar's reference
    }
    return m_pOwnTheme;
}

// --- tabs ----------------------------------------------------------------------------

CQXPRibbonTab* CQXPRibbonBar::AddTab(LPCSTR lpszCaption, int nId)
{
    CQXPRibbonTab* pTab = new CQXPRibbonTab;
    pTab->m_pRibbonBar = this;
    pTab->m_strCaption = lpszCaption;
    pTab->m_nId = nId;
    m_pTabControl->AddItem(-1, pTab); // takes the creation's reference
    // The first tab of a ribbon that is not minimised is selected.
    if (!GetSelectedTab() && !m_bMinimized)
        m_pTabControl->CQXPTabManager::SetSelectedItem(pTab);
    UpdateGroupsVisibility();
    return pTab;
}

void CQXPRibbonBar::RemoveAllTabs()
{
    m_groupScroller.ForgetHotGroup();
    m_pTabControl->DeleteAllItems();
}

std::vector<CQXPRibbonTab*> CQXPRibbonBar::Tabs() const
{
    std::vector<CQXPRibbonTab*> tabs;
    for (int i = 0; i < GetTabCount(); i++)
        tabs.push_back(GetTab(i));
    return tabs;
}

CQXPRibbonGroup* CQXPRibbonBar::FindGroup(int nId) const
{
    for (CQXPRibbonTab* t : Tabs())
        if (CQXPRibbonGroup* g = t->FindGroup(nId))
            return g;
    return NULL;
}

BOOL CQXPRibbonBar::SelectTab(int nIndex)
{
    if (nIndex >= GetTabCount())
        return FALSE;
    if (nIndex == GetSelectedTabIndex())
        return TRUE;
    m_pTabControl->SetSelectedItem(nIndex >= 0 ? GetTab(nIndex) : NULL);
    return GetSelectedTabIndex() == nIndex;
}

BOOL CQXPRibbonBar::ScrollTabs(BOOL bForward)
{
    const int n = GetTabCount();
    if (n == 0)
        return FALSE;
    CQXPTabManagerItem* pNext = m_pTabControl->FindNextFocusable(GetSelectedTabIndex() + (bForward ? 1 : -1),
                                                                 bForward ? 1 : -1);
    return pNext ? SelectTab(pNext->GetIndex()) : FALSE;
}

LRESULT CQXPRibbonBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETOBJECT && (LONG)(DWORD)lParam == QXP_ID_RIBBON_TABS) {
        if (auto* pAccessible = dynamic_cast<CRibbonBarAccessible*>(GetAccessibleObject()))
            return pAccessible->GetTabListObject(wParam);
    }
    return CQXPMenuBar::WindowProc(message, wParam, lParam);
}

CQXPRibbonTab* CQXPRibbonBar::HitTestTab(CPoint point) const
{
    return m_bTabsVisible ? m_pTabControl->HitTestTab(point) : NULL;
}

// --- the band of groups ------------------------------------------------------------------

void CQXPRibbonBar::CGroupScroller::Scroll(BOOL bToLeft) { Step(bToLeft); }

CQXPRibbonGroupCollection* CQXPRibbonBar::CGroupScroller::GetScrolledGroups() const
{
    CQXPRibbonBar* pRibbon = GetRibbon();
    CQXPRibbonTab* pTab = pRibbon->GetSelectedTab();
    return pTab && pRibbon->IsGroupsVisible() ? pTab->m_pGroups : NULL;
}

void CQXPRibbonBar::CGroupScroller::GetGroupsRect(RECT* pRect) const { *pRect = GetRibbon()->m_rcGroups; }

CQXPRibbonGroup* CQXPRibbonBar::CGroupScroller::HitTestGroup(CPoint point) const
{
    CQXPRibbonBar* pRibbon = GetRibbon();
    CQXPRibbonTab* pTab = pRibbon->GetSelectedTab();
    if (!pTab || !pRibbon->IsGroupsVisible() || !pRibbon->m_rcGroups.PtInRect(point))
        return NULL;
    for (BOOL bLeft : {TRUE, FALSE})
        if (IsScrollButtonShown(bLeft) && GetScrollButton(bLeft)->GetRect().PtInRect(point))
            return NULL;
    return pTab->m_pGroups->HitTest(point);
}

void CQXPRibbonBar::UpdateGroupsVisibility()
{
    m_groupScroller.ForgetHotGroup(); // the groups shown change
    CQXPRibbonTab* pSelected = m_bMinimized ? NULL : GetSelectedTab();
    for (CQXPRibbonTab* t : Tabs())
        for (CQXPRibbonGroup* g : *t->m_pGroups) {
            for (CQXPControl* c : g->m_controls)
                c->SetHideFlag(QXP_HIDE_RIBBON_TAB, t != pSelected || !g->m_bVisible);
            if (g->m_pPopupButton)
                g->m_pPopupButton->SetHideFlag(QXP_HIDE_RIBBON_TAB, t != pSelected || !g->m_bVisible);
            g->m_pOptionButton->SetHideFlag(QXP_HIDE_RIBBON_TAB, t != pSelected || !g->m_bVisible);
        }
}

// --- state ---------------------------------------------------------------------------

BOOL CQXPRibbonBar::IsGroupsVisible() const { return m_bGroupsVisible && GetSelectedTab() && !m_bMinimized; }

void CQXPRibbonBar::SetRibbonMinimized(BOOL bMinimized)
{
    bMinimized = bMinimized ? TRUE : FALSE;
    if (m_bMinimized == bMinimized)
        return;
    m_bMinimized = bMinimized;
    if (bMinimized)
        m_pTabControl->CQXPTabManager::SetSelectedItem(NULL);
    else if (!GetSelectedTab())
        m_pTabControl->CQXPTabManager::SetSelectedItem(m_pTabControl->FindNextFocusable(0, +1));
    UpdateGroupsVisibility();
    OnRecalcLayout();
    if (m_pCommandBars)
        m_pCommandBars->ClosePopups();
}

CQXPRibbonGroup* CQXPRibbonBar::FindControlGroup(const CQXPControl* pControl) const
{
    for (CQXPRibbonTab* pTab : Tabs())
        for (CQXPRibbonGroup* pGroup : *pTab->GetGroups())
            if (pGroup->IndexOf(pControl) >= 0)
                return pGroup;
    return NULL;
}

// --- the system button ----------------------------------------------------------------

CQXPRibbonControlSystemButton* CQXPRibbonBar::AddSystemButton(int nId)
{
    if (m_pSystemButton)
        m_pControls->Remove(m_pSystemButton);
    m_pSystemButton = new CQXPRibbonControlSystemButton;
    m_pControls->AddControl(m_pSystemButton, nId, CString(), 0);
    OnRecalcLayout();
    return m_pSystemButton;
}

// --- popups --------------------------------------------------------------------------

BOOL CQXPRibbonBar::OpenTabPopup(int nTab, BOOL bKeyboard)
{
    if (!m_bMinimized || nTab < 0 || nTab >= GetTabCount() || !::IsWindow(m_hWnd))
        return FALSE;
    const int nRow = m_pTabControl->GetIndex();
    if (m_nPopuped == nRow)
        SetPopuped(-1);
    m_bKeyboardTracking = bKeyboard;
    // Selecting the tab opens its popup; a tab still selected opens again.
    if (!SelectTab(nTab))
        return FALSE;
    if (m_nPopuped != nRow && !SetPopuped(nRow))
        return FALSE;
    Redraw();
    return TRUE;
}

BOOL CQXPRibbonBar::OnTabChanging(CQXPRibbonTab* pTab)
{
    (void)pTab;
    CWnd* pSite = GetOwnerSite();
    NMHDR nm = {m_hWnd, QXP_ID_RIBBON_TABS, (UINT)TCN_SELCHANGING};
    return pSite && pSite->SendMessage(WM_NOTIFY, QXP_ID_RIBBON_TABS, (LPARAM)&nm) != 0;
}

void CQXPRibbonBar::OnTabChanged(CQXPRibbonTab* pTab)
{
    (void)pTab;
    NMHDR nm = {m_hWnd, QXP_ID_RIBBON_TABS, (UINT)TCN_SELCHANGE};
    if (CWnd* pSite = GetOwnerSite())
        pSite->SendMessage(WM_NOTIFY, QXP_ID_RIBBON_TABS, (LPARAM)&nm);
}

CQXPPopupBar* CQXPRibbonBar::OpenTabPopupFromKeyboard(int nTab)
{
    CQXPPopupBar* pPopup = OpenTabPopup(nTab, TRUE) ? GetTabPopup() : NULL;
    if (pPopup) {
        const int nFirst = pPopup->GetControls()->GetNext(-1, +1);
        if (nFirst != -1)
            pPopup->SetSelected(nFirst, 2);
    }
    return pPopup;
}

CQXPPopupBar* CQXPRibbonBar::GetTabPopup() const
{
    return dynamic_cast<CQXPPopupBar*>(m_pTabControl->GetCommandBar());
}

void CQXPRibbonBar::OnTabPopupClosed(CQXPRibbonTab* pShown)
{
    if (!m_bMinimized || !GetSelectedTab() || pShown != GetSelectedTab())
        return;
    m_pTabControl->m_nKeyboardTab = GetSelectedTabIndex(); // the keyboard comes back to it
    m_pTabControl->CQXPTabManager::SetSelectedItem(NULL);
    UpdateGroupsVisibility();
    Redraw();
}

CQXPPopupBar* CQXPRibbonBar::CreateMorePopup()
{
    CQXPRibbonBarMorePopupToolBar* pPopup = new CQXPRibbonBarMorePopupToolBar(this);
    pPopup->SetCommandBars(m_pCommandBars);
    if (!m_pCommandBars)
        pPopup->SetOwnerSite(GetOwnerSite());
    CQXPControls* pControls = pPopup->GetControls();
    for (int i = 0; i < m_pQuickAccessControls->GetCount(); i++) {
        CQXPControl* c = m_pQuickAccessControls->GetAt(i);
        if (!(c->GetHideFlags() & qxpHideWrap))
            continue;
        if (CQXPControl* pCopy = pControls->AddCopy(c))
            pCopy->SetHideFlag(qxpHideWrap, FALSE);
    }
    if (CQXPControl* pCopy = pControls->AddCopy(m_pQatCustomize))
        pCopy->SetHideFlag(qxpHideWrap, FALSE);
    return pPopup;
}

void CQXPRibbonBar::SetQuickAccessBelow(BOOL bBelow)
{
    m_bQuickAccessBelow = bBelow ? TRUE : FALSE;
    OnRecalcLayout();
    // The caption's height follows the QAT: the frame is painted (or, on
    // glass, extended) anew.
    if (RibbonFrameHook* pHook = GetFrameHook()) {
        if (pHook->IsDwmEnabled()) {
            ::UpdateWindow(pHook->GetHwnd());
            pHook->RefreshFrameRegion();
        } else {
            ::SendMessageA(pHook->GetHwnd(), WM_NCPAINT, 1, 0);
        }
    }
}

CQXPControls* CQXPRibbonBar::GetBroadcastControls() const
{
    return m_bCustomizable ? m_pControls : m_pQuickAccessControls;
}

BOOL CQXPRibbonBar::IsQuickAccessControl(const CQXPControl* pControl) const
{
    if (!pControl)
        return FALSE;
    return pControl == m_pQatCustomize || pControl == m_pQatMore || m_pQuickAccessControls->IndexOf(pControl) >= 0;
}

CQXPControl* CQXPRibbonBar::AddQuickAccessControl(int controlType, int nId)
{
    CQXPControl* pControl = m_pQuickAccessControls->Add(controlType, nId);
    if (!pControl)
        return NULL;
    OnRecalcLayout();
    return pControl;
}

void CQXPRibbonBar::RemoveQuickAccessControl(CQXPControl* pControl)
{
    if (m_pQuickAccessControls->IndexOf(pControl) < 0)
        return;
    m_pQuickAccessControls->Remove(pControl);
    OnRecalcLayout();
}

void CQXPRibbonBar::EnsureVisible(CQXPControl* pControl)
{
    CQXPRibbonGroup* pGroup = FindControlGroup(pControl);
    if (auto* pButton = pGroup ? NULL : dynamic_cast<CQXPRibbonGroupControlPopup*>(pControl))
        pGroup = pButton->GetGroup();
    CQXPRibbonTab* pTab = pGroup ? pGroup->GetTab() : NULL;
    if (!pTab || m_bMinimized || !::IsWindow(m_hWnd))
        return;
    if (pTab != GetSelectedTab() && !SelectTab(pTab->GetIndex()))
        return;
    const CRect rc = pControl->GetRect();
    m_groupScroller.EnsureVisible(pTab->m_pGroups, rc.left - m_rcGroups.left, rc.right - m_rcGroups.left,
                                  m_rcGroups.Width());
}

// --- layout --------------------------------------------------------------------------

RibbonBarState CQXPRibbonBar::GetBarState() const
{
    // The heights a derived bar may answer differently.
    RibbonBarState s = GetThemeBarState();
    s.nTabsHeight = GetTabsHeight();
    s.nGroupsOverride = CalcGroupsHeight();
    s.nGroupsHeight = GetGroupsHeight();
    return s;
}

int CQXPRibbonBar::GetTabsHeight() const { return GetThemeBarState().GetTabsHeight(); }

int CQXPRibbonBar::GetGroupsHeight() const { return IsGroupsVisible() ? CalcGroupsHeight() : 0; }

int CQXPRibbonBar::CalcGroupsHeight() const { return GetThemeBarState().CalcGroupsHeight(); }

BOOL CQXPRibbonBar::IsCaptionVisible() const { return HasFrameHook() || m_bCaptionBarVisible; }

int CQXPRibbonBar::GetCaptionHeight() const { return GetBarState().GetCaptionHeight(); }

int CQXPRibbonBar::GetQuickAccessHeight() const { return GetBarState().GetQuickAccessHeight(); }

void CQXPRibbonBar::SetQuickAccessVisible(BOOL bVisible)
{
    if (!bVisible == !m_bQuickAccessVisible)
        return;
    m_bQuickAccessVisible = bVisible;
    OnRecalcLayout();
    Redraw();
}

RibbonBarState CQXPRibbonBar::GetThemeBarState() const
{
    RibbonBarState s;
    CRibbonStyleTheme* pTheme = const_cast<CQXPRibbonBar*>(this)->GetRibbonTheme();
    RibbonFrameHook* pHook = GetFrameHook();
    s.bFrameHook = pHook != NULL;
    s.nHookTopBorder = pHook ? pHook->GetFrameBorder() : 0;
    s.bCaptionBar = m_bCaptionBarVisible;
    s.nThemeCaptionHeight = pTheme->m_metrics.nTabStripHeight + 3;
    s.nTabRowHeight = pTheme->m_metrics.nTabStripHeight;
    s.nControlHeight = pTheme->m_metrics.nControlHeight;
    s.nGroupCaptionHeight = pTheme->m_metrics.nGroupCaption;
    s.nGroupsOverride = m_nGroupsHeightOverride;
    s.bTabsVisible = m_bTabsVisible;
    s.bGroupsVisible = m_bGroupsVisible;
    s.bTabSelected = GetSelectedTab() != NULL;
    s.bMinimized = m_bMinimized;
    s.bQatVisible = m_bQuickAccessVisible;
    s.bQatBelow = m_bQuickAccessBelow;
    s.nMinimumSize = m_nMinimumSize;
    return s;
}

CSize CQXPRibbonBar::CalcDynamicLayout(int nLength, DWORD dwMode) { return CalcDockingLayout(nLength, dwMode, 0); }

CSize CQXPRibbonBar::CalcDockingLayout(int nLength, DWORD dwMode, int nWidth)
{
    (void)nWidth;
    RibbonBarState s = GetBarState();
    const BOOL bShownChanged = UpdateShownBySize(nLength);
    // The frame takes its caption back (or gives it up) at its next idle
    // update when the ribbon's showing or its hold on the caption changes.
    const BOOL bFrameCaption = GetFrameHook() != NULL;
    if (bShownChanged || bFrameCaption != m_bFrameCaption) {
        m_bFrameCaption = bFrameCaption;
        PostFrameUpdate();
    }
    const int cy = s.CalcDockedHeight(nLength, FrameHeight());
    m_nQuickAccessHeight = s.GetQuickAccessHeight();
    if ((dwMode & qxpLayoutCommit) && cy > 0) {
        RecalcRibbonLayout(nLength, cy);
        // The controls may have moved under the bar's off-screen copy.
        Redraw();
    }
    return CSize(nLength, cy);
}

int CQXPRibbonBar::FrameHeight() const
{
    CWnd* pSite = GetOwnerSite();
    if (!pSite || !::IsWindow(pSite->GetSafeHwnd()))
        return 32767;
    CRect rc;
    ::GetWindowRect(pSite->GetSafeHwnd(), &rc);
    return rc.Height();
}

BOOL CQXPRibbonBar::UpdateShownBySize(int nWidth)
{
    RibbonBarState s;
    s.nMinimumSize = m_nMinimumSize;
    const BOOL bShown = s.IsShownBySize(nWidth, FrameHeight());
    if (bShown == m_bShownBySize)
        return FALSE;
    m_bShownBySize = bShown;
    return TRUE;
}

void CQXPRibbonBar::PostFrameUpdate()
{
    auto* pHook = m_pCommandBars ? dynamic_cast<RibbonFrameHook*>(m_pCommandBars->GetFrameHook()) : NULL;
    if (pHook && !pHook->IsUpdatePosted())
        pHook->PostUpdate();
}

void CQXPRibbonBar::SetVisible(BOOL bVisible)
{
    const BOOL bWasVisible = IsVisible();
    CQXPMenuBar::SetVisible(bVisible);
    if (IsVisible() != bWasVisible)
        PostFrameUpdate();
}

void CQXPRibbonBar::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CQXPMenuBar::OnShowWindow(bShow, nStatus);
    // The width the top dock bar offers: the site's client width.
    CWnd* pSite = GetOwnerSite();
    if (!pSite || !::IsWindow(pSite->GetSafeHwnd()))
        return;
    CRect rcSite;
    ::GetClientRect(pSite->GetSafeHwnd(), &rcSite);
    // The message comes before the window changes: the hook's view of the
    // caption now, and once the window is shown or hidden (a hidden ribbon,
    // as around a print preview, leaves the caption to the frame).
    auto* pHook = m_pCommandBars ? dynamic_cast<RibbonFrameHook*>(m_pCommandBars->GetFrameHook()) : NULL;
    const BOOL bCaptionBefore = pHook && pHook->GetRibbonBar() == this && !pHook->UsesSystemMetrics();
    BOOL bRefresh = UpdateShownBySize(rcSite.Width());
    const BOOL bCaptionAfter = pHook && pHook->GetRibbonBar() == this && !pHook->UsesSystemMetrics(bShow);
    if (bCaptionAfter != bCaptionBefore)
        bRefresh = TRUE;
    m_bFrameCaption = bCaptionAfter;
    if (bRefresh)
        PostFrameUpdate();
}

RibbonBandMetrics CQXPRibbonBar::GetBandMetrics()
{
    CRibbonStyleTheme* pTheme = GetRibbonTheme();
    RibbonBandMetrics m;
    m.nGroupsHeight = GetBarState().CalcGroupsHeight();
    m.nCaptionHeight = pTheme->m_metrics.nGroupCaption;
    m.nRowHeight = pTheme->m_metrics.nRowHeight;
    m.nButtonHeight = pTheme->m_metrics.nControlHeight;
    return m;
}

void CQXPRibbonBar::LayoutGroups(CDC* pDC)
{
    CQXPRibbonTab* pTab = GetSelectedTab();
    if (pTab && IsGroupsVisible()) {
        pTab->m_pGroups->Layout(pDC, m_rcGroups, CRect(4, 3, 6, 3));
        return;
    }
    m_groupScroller.ShowScrollButtons(FALSE, FALSE);
}

BOOL CQXPRibbonBar::IsGroupControl(const CQXPControl* pControl) const
{
    if (dynamic_cast<const CQXPRibbonGroupOptionButton*>(pControl))
        return TRUE;
    if (auto* pButton = dynamic_cast<const CQXPRibbonGroupControlPopup*>(pControl))
        if (pButton->IsStandIn())
            return TRUE;
    return FindControlGroup(pControl) != NULL;
}

BOOL CQXPRibbonBar::IsTabRowControl(const CQXPControl* pControl) const
{
    if (!pControl->IsVisible() || IsQuickAccessControl(pControl) || IsGroupControl(pControl))
        return FALSE;
    const int nId = pControl->GetID();
    if (nId >= SC_MINIMIZE && nId <= SC_RESTORE)
        return FALSE; // the frame's caption buttons
    return pControl != m_pSystemButton && pControl != m_pTabControl &&
           pControl != m_groupScroller.GetScrollButton(TRUE) && pControl != m_groupScroller.GetScrollButton(FALSE);
}

void CQXPRibbonBar::RecalcRibbonLayout(int cx, int cy)
{
    (void)cy;
    RibbonBarState s = GetBarState();
    CClientDC dc(this);
    const int t = s.GetTabsHeight(), g = s.GetGroupsHeight();
    const int nCaption = s.GetCaptionHeight();
    m_rcTabRow = CRect(2, nCaption, cx - 2, nCaption + t);
    m_rcGroups = CRect(0, nCaption + t, cx, nCaption + t + g);
    m_rcCaption = s.IsCaptionVisible() ? CRect(0, 0, cx, nCaption) : CRect();
    // In the frame's caption the band reaches under the frame's side borders
    // and the QAT leaves the corner (system button or icon) free.
    const int y0 = s.bFrameHook ? s.nHookTopBorder : 0;
    if (s.bFrameHook)
        m_rcCaption.InflateRect(y0, 0);

    // The QAT: in the caption band above the ribbon, or below the groups.
    const int nQat = s.GetQuickAccessHeight();
    // The system button: the corner button across the caption and the tab
    // row, else its own size at the left of the caption or the tab row.
    int xSystem = 0;
    if (m_pSystemButton) {
        const BOOL bCaption = s.IsCaptionVisible();
        const CSize sz = m_pSystemButton->GetSize(&dc);
        CRect rc;
        if (bCaption && m_bTabsVisible)
            rc = SystemButtonCornerRect(t, nQat, y0, m_rcCaption.top);
        else if (bCaption)
            rc = CRect(CPoint(0, (nCaption - sz.cy) / 2), sz);
        else
            rc = CRect(CPoint(0, m_rcTabRow.top + (t - sz.cy) / 2), sz);
        m_pSystemButton->SetHideFlag(qxpHideWrap, !bCaption && !m_bTabsVisible);
        m_pSystemButton->SetRect(rc);
        xSystem = rc.right;
    }
    // The bar's other controls share the tab row: left-aligned ones after
    // the system button, right-aligned ones at the right end.
    std::vector<CQXPControl*> rowControls;
    std::vector<TabRowItem> rowItems;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* c = m_pControls->GetAt(i);
        if (!IsTabRowControl(c))
            continue;
        TabRowItem it;
        it.size = c->GetSize(&dc);
        it.bRightAligned = (c->GetFlags() & qxpFlagRightAlign) != 0;
        if (it.bRightAligned)
            c->SetBeginGroup(FALSE);
        it.bBeginGroup = c->GetBeginGroup();
        rowControls.push_back(c);
        rowItems.push_back(it);
    }
    const int xRow = m_pSystemButton ? m_pSystemButton->GetRect().right : 2;
    const TabRowSpan span = PlaceTabRowControls(rowItems, m_rcTabRow, xRow, cx);
    for (size_t i = 0; i < rowControls.size(); i++) {
        rowControls[i]->SetRowRect(m_rcTabRow);
        rowControls[i]->SetWrap(FALSE);
        rowControls[i]->SetRect(rowItems[i].rc);
    }
    if (m_bQuickAccessBelow)
        m_rcQuickAccess = CRect(0, m_rcGroups.bottom, cx, m_rcGroups.bottom + nQat);
    else if (s.IsCaptionVisible()) {
        // Beside the corner (system button or frame icon) in the caption
        // band; without tabs the system button has its own size and the
        // QAT starts 15 px after it.
        m_rcQuickAccess = CRect(t + nQat, y0 - 2, m_rcCaption.right, y0 + nQat - 3);
        if (m_pSystemButton && !m_bTabsVisible)
            m_rcQuickAccess.left = m_pSystemButton->GetRect().Width() + 15;
    } else // in the tab row, 5 px after its controls
        m_rcQuickAccess = CRect(span.bLeftPlaced ? span.xLeftEnd + 5 : xSystem, m_rcTabRow.top, cx, m_rcTabRow.bottom);
    std::vector<QuickAccessItem> items;
    for (int i = 0; i < m_pQuickAccessControls->GetCount(); i++) {
        CQXPControl* p = m_pQuickAccessControls->GetAt(i);
        QuickAccessItem it;
        p->SetHideFlag(qxpHideWrap, FALSE);
        it.size = p->GetSize(&dc);
        it.bVisible = p->IsVisible(qxpHideWrap);
        items.push_back(it);
    }
    QuickAccessPlacement place;
    place.rcQat = m_rcQuickAccess;
    place.x = m_rcQuickAccess.left + (m_bQuickAccessBelow ? 2 : 0);
    place.bBelow = m_bQuickAccessBelow;
    place.bInTabRow = !m_bQuickAccessBelow && !s.IsCaptionVisible();
    place.nRightLimit = place.bInTabRow ? cx / 2 : QuickAccessRightLimit(cx, m_bQuickAccessBelow, s.bFrameHook && GetFrameHook()->IsDwmEnabled(), nCaption);
    place.bVisible = m_bQuickAccessVisible;
    place.bCaptionOrTabs = s.IsCaptionVisible() || m_bTabsVisible;
    place.szCustomize = m_pQatCustomize->GetSize(&dc);
    place.szMore = m_pQatMore->GetSize(&dc);
    PlaceQuickAccess(items, place);
    for (size_t i = 0; i < items.size(); i++) {
        CQXPControl* p = m_pQuickAccessControls->GetAt((int)i);
        p->SetHideFlag(qxpHideWrap, items[i].bOverflow);
        if (!items[i].bOverflow)
            p->SetRect(items[i].rc);
    }
    m_pQatCustomize->SetHideFlag(qxpHideWrap, !place.bCustomizeShown);
    m_pQatCustomize->SetRect(place.rcCustomize);
    m_pQatMore->SetHideFlag(qxpHideWrap, !place.bMoreShown);
    m_pQatMore->SetRect(place.rcMore);
    m_rcQuickAccess = place.rcQat;

    // Tabs left to right after the QAT when it shares the tab row.
    int x = m_rcTabRow.left + (place.bInTabRow ? place.xEnd - m_rcTabRow.left + 5 : 0);
    if (m_pSystemButton && m_bTabsVisible)
        x = std::max(x, xSystem);
    if (span.bLeftPlaced)
        x = std::max(x, span.xLeftEnd);
    // The tab painter places the tabs in the rest of the row, left of the
    // right-aligned controls (none when it is narrower than 6 px or tabs
    // are not shown).
    CRect rcStrip(x, m_rcTabRow.top, std::min((int)m_rcTabRow.right, span.xRightStart), m_rcTabRow.bottom);
    if (!m_bTabsVisible || rcStrip.Width() < 6)
        rcStrip.SetRectEmpty();
    m_pTabControl->LayoutTabs(&dc, rcStrip);
    LayoutGroups(&dc);
    LayoutCaption(&dc);
}

// --- drawing -------------------------------------------------------------------------

void CQXPRibbonBar::DrawGroupsIn(CDC* pDC, const CQXPRibbonGroupCollection* pGroups, const CRect& rcClip,
                                 CQXPRibbonGroup* pHot, int nContextColor)
{
    CRibbonStyleTheme* pTheme = GetRibbonTheme();
    CRect rcInter;
    for (CQXPRibbonGroup* g : *pGroups) {
        if (!g->m_bVisible || !rcInter.IntersectRect(g->m_rcGroup, rcClip))
            continue;
        if (g->m_bCollapsed) {
            if (g->m_pPopupButton)
                g->m_pPopupButton->Draw(pDC);
            continue;
        }
        pTheme->DrawRibbonGroup(pDC, g->m_rcGroup, g->m_strCaption, g == pHot, nContextColor != 0,
                                g->m_buttons.nOptionHide == 0);
        BOOL bFirst = TRUE;
        for (CQXPControl* c : g->m_controls) {
            if (!c->IsVisible(0))
                continue;
            if (c->GetBeginGroup() && !bFirst && !g->m_bControlsGrouping)
                pTheme->DrawCommandBarSeparator(pDC, g->GetParentBar(), c, TRUE);
            bFirst = FALSE;
            if (rcInter.IntersectRect(c->GetRect(), rcClip))
                c->Draw(pDC);
        }
        if (g->m_pOptionButton->IsVisible(0))
            g->m_pOptionButton->Draw(pDC);
    }
}

void CQXPRibbonBar::DrawCommandBar(CDC* pDC, CRect rcClip)
{
    CRibbonStyleTheme* pTheme = GetRibbonTheme();
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    pTheme->DrawRibbonBarBackground(pDC, rcClient, m_rcCaption.Height(),
                                    m_bQuickAccessBelow ? m_rcQuickAccess : CRect(), IsGroupsVisible());
    CRect rcInter;
    if (!m_rcCaption.IsRectEmpty() && rcInter.IntersectRect(m_rcCaption, rcClip))
        DrawCaption(pDC);
    CQXPRibbonTab* pSelected = GetSelectedTab();
    if (IsGroupsVisible())
        pTheme->DrawRibbonGroupsBackground(pDC, m_rcGroups, pSelected->m_nContextColor);
    if (m_bTabsVisible)
        m_pTabControl->Draw(pDC);

    CFont* pOldFont = pDC->SelectObject(GetControlFont());
    if (IsGroupsVisible()) {
        // Groups clip to the band so that scrolled ones end at its edges.
        pDC->SaveDC();
        pDC->IntersectClipRect(m_rcGroups);
        DrawGroupsIn(pDC, pSelected->m_pGroups, rcClip, m_groupScroller.GetHotGroup(), pSelected->m_nContextColor);
        pDC->RestoreDC(-1);
    }
    // Controls that belong to no group: the QAT, the scroll buttons and the
    // tab row's controls, a group line before each but the first.
    BOOL bFirst = TRUE;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* c = m_pControls->GetAt(i);
        if (!c->IsVisible(0) || IsGroupControl(c))
            continue;
        if (c->GetBeginGroup() && !bFirst)
            pTheme->DrawCommandBarSeparator(pDC, this, c, TRUE);
        bFirst = FALSE;
        if (rcInter.IntersectRect(c->GetRect(), rcClip))
            c->Draw(pDC);
    }
    pDC->SelectObject(pOldFont);
    // In customize mode: the frame of the picked control, the drop mark.
    DrawCustomizeMarks(pDC);
    pDC->SetBkMode(nMode);
}

// --- mouse ---------------------------------------------------------------------------

int CQXPRibbonBar::OnCreate(LPCREATESTRUCTA lpcs)
{
    (void)lpcs;
    const int nResult = (int)Default();
    if (nResult != -1)
        InstallFrameHooks();
    return nResult;
}

void CQXPRibbonBar::OnSysColorChange()
{
    CQXPMenuBar::OnSysColorChange();
    if (CQXPThemePainter* pPaint = GetPaintManager())
        pPaint->RefreshMetrics();
    m_pTabControl->Reposition();
}

void CQXPRibbonBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (OnCaptionButtonDown(point, FALSE))
        return;
    CQXPRibbonTab* pTab = HitTestTab(point);
    m_bSelectedTabClicked = pTab && pTab == GetSelectedTab();
    if (pTab) {
        // A second click on the tab whose popup is open closes it.
        const BOOL bOpen = m_bMinimized && m_bSelectedTabClicked && m_nPopuped == m_pTabControl->GetIndex();
        if (m_pCommandBars)
            m_pCommandBars->ClosePopups();
        else
            SetPopuped(-1);
        if (m_bMinimized && !bOpen)
            OpenTabPopup(pTab->GetIndex());
        else if (!m_bSelectedTabClicked && !m_bMinimized)
            m_pTabControl->PerformClick(m_hWnd, point);
        return;
    }
    // The tab row's scroll buttons.
    if (m_bTabsVisible && m_pTabControl->HitTestNavigateButton(point, TRUE)) {
        m_pTabControl->PerformClick(m_hWnd, point);
        return;
    }
    // Elsewhere on the tab strip popups close (a tab's popup with them).
    if (m_bTabsVisible && ::PtInRect(&m_pTabControl->CQXPTabManager::m_rcControl, point) && m_pCommandBars)
        m_pCommandBars->ClosePopups();
    CQXPMenuBar::OnLButtonDown(nFlags, point);
}

void CQXPRibbonBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (OnCaptionButtonDown(point, TRUE))
        return;
    CQXPRibbonTab* pTab = HitTestTab(point);
    if (pTab && m_bAllowMinimize) {
        if (m_bMinimized) {
            // The first click of the double click chose this tab.
            if (GetSelectedTab() != pTab)
                m_pTabControl->CQXPTabManager::SetSelectedItem(pTab);
            SetRibbonMinimized(FALSE);
        } else if (m_bSelectedTabClicked) {
            SetRibbonMinimized(TRUE);
        }
        m_bSelectedTabClicked = TRUE;
        return;
    }
    CQXPMenuBar::OnLButtonDblClk(nFlags, point);
}

void CQXPRibbonBar::OnMouseMove(UINT nFlags, CPoint point)
{
    // The group under the mouse lights up while nothing tracks, the
    // application is active, no control is selected and the theme lights
    // groups at all.
    const BOOL bTracking = ToolkitMouseManager::GetInstance()->GetTrackedCount() > 0 || m_bTracking;
    if (!bTracking && !GetSelected() && ::GetActiveWindow() != NULL && GetRibbonTheme()->m_bHotGroups)
        m_groupScroller.SetHotGroup(m_groupScroller.HitTestGroup(point));
    // The hot tab and scroll button follow the mouse (not while a popup
    // tracks).
    if (m_bTabsVisible)
        m_pTabControl->TrackMouse(m_hWnd, point);
    CQXPMenuBar::OnMouseMove(nFlags, point);
}

void CQXPRibbonBar::OnMouseMoveOutside(CPoint point)
{
    if (m_nKeyboardEntry >= 2)
        return;
    CQXPMenuBar::OnMouseMoveOutside(point);
}

void CQXPRibbonBar::OnMouseLeave()
{
    m_pTabControl->TrackMouse(m_hWnd, CPoint(-1, -1));
    m_groupScroller.SetHotGroup(NULL);
    CQXPMenuBar::OnMouseLeave();
}

// --- saved state ---------------------------------------------------------------------

void CQXPRibbonBar::WithControlsAside(CQXPRibbonBar* pOther, const std::function<void()>& step, CQXPControls* pAside)
{
    CQXPControls* pOwnControls = m_pControls;
    CQXPControls* pOtherControls = pOther ? pOther->m_pControls : NULL;
    CQXPControls* pNone = pAside ? pAside : new CQXPControls;
    m_pControls = pNone;
    if (pOther)
        pOther->m_pControls = pNone;
    auto restore = [&]() {
        m_pControls = pOwnControls;
        if (pOther)
            pOther->m_pControls = pOtherControls;
        if (!pAside)
            pNone->InternalRelease();
    };
    try {
        step();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void CQXPRibbonBar::Copy(CQXPCommandBar* pOther, BOOL bRecursive)
{
    CQXPRibbonBar* pFrom = dynamic_cast<CQXPRibbonBar*>(pOther);
    if (!pFrom || pFrom == this)
        return;
    m_bQuickAccessBelow = pFrom->m_bQuickAccessBelow;
    if (pFrom->m_bCustomizable) {
        // The bar's settings; its controls come with the tabs and the QAT. A
        // bar its command bars hold stays theirs, under its id and at its
        // place: the copy of a ribbon that no frame holds (none to lay it
        // out and draw it) would otherwise leave this one outside their
        // layout, or under another bar's id.
        CQXPCommandBars* pOwnBars = m_pCommandBars;
        const UINT nOwnId = m_nBarID;
        const int nOwnPosition = m_barPosition;
        WithControlsAside(pFrom, [&]() { CQXPMenuBar::Copy(pFrom, bRecursive); });
        if (pOwnBars) {
            SetCommandBars(pOwnBars);
            m_nBarID = nOwnId;
            m_barPosition = nOwnPosition;
        }
        m_barType = qxpBarTypeRibbon;
        m_groupScroller.ForgetHotGroup();
        m_pTabControl->Copy(pFrom->m_pTabControl, bRecursive);
        m_pControls->Copy(pFrom->m_pControls, bRecursive); // the tab row's
        if (m_pSystemButton)
            m_pControls->Remove(m_pSystemButton);
        m_pSystemButton = NULL;
        if (pFrom->m_pSystemButton) {
            m_pSystemButton = static_cast<CQXPRibbonControlSystemButton*>(pFrom->m_pSystemButton->Clone(bRecursive));
            if (m_pSystemButton)
                m_pControls->InsertAt(m_pSystemButton, 0); // takes the clone's reference
        }
    }
    m_bMinimized = pFrom->m_bMinimized;
    if (m_bMinimized)
        m_pTabControl->CQXPTabManager::SetSelectedItem(NULL);
    else if (!GetSelectedTab())
        m_pTabControl->CQXPTabManager::SetSelectedItem(m_pTabControl->FindNextFocusable(0, +1));
    m_pQuickAccessControls->RemoveAll();
    for (int i = 0; i < pFrom->m_pQuickAccessControls->GetCount(); i++)
        m_pQuickAccessControls->AddCopy(pFrom->m_pQuickAccessControls->GetAt(i));
    UpdateGroupsVisibility();
    OnRecalcLayout();
}

void CQXPRibbonBar::MergeLoadedBar(CQXPToolBar* pLoaded, BOOL bSilent)
{
    CQXPRibbonBar* pRibbon = dynamic_cast<CQXPRibbonBar*>(pLoaded);
    if (!pRibbon) {
        CQXPMenuBar::MergeLoadedBar(pLoaded, bSilent);
        return;
    }
    SetPopuped(-1);
    SetSelected(-1);
    Copy(pRibbon, FALSE);
}

void CQXPRibbonBar::DoPropExchange(CQXPPropExchange* pPX)
{
    // The bar's own values (type, position, BarID, flags, title) as every
    // toolbar has them. Its controls section holds a customizable ribbon's
    // tab-row controls (the collection saves no others); the rest follow
    // the tabs, the groups and the QAT below. A load reads the section
    // aside: its controls join the bar only once the whole ribbon loaded.
    std::unique_ptr<CQXPControls, void (*)(CQXPControls*)> pRowControls(
        pPX->IsLoading() ? new CQXPControls : NULL, [](CQXPControls* p) {
            if (p)
                p->InternalRelease();
        });
    auto exchangeBar = [&]() { CQXPToolBar::DoPropExchange(pPX); };
    if (pPX->IsStoring() && m_bCustomizable)
        exchangeBar();
    else
        WithControlsAside(NULL, exchangeBar, pRowControls.get());
    m_barType = qxpBarTypeRibbon;

    ExchangeBoolProp(pPX, "ShowQuickAccessBelow", &m_bQuickAccessBelow, FALSE);
    BOOL bMinimized = m_bMinimized;
    if (pPX->GetSchema() > 18)
        ExchangeBoolProp(pPX, "Minimized", &bMinimized, FALSE);
    BOOL bCustomizable = m_bCustomizable;
    if (pPX->GetSchema() > 23)
        ExchangeBoolProp(pPX, "Customizable", &bCustomizable, FALSE);

    // A ribbon that is not customizable keeps the system button and the
    // tabs the program gives it: only its QAT is stored.
    if (pPX->IsStoring()) {
        if (bCustomizable) {
            // Whether there is a system button, then the button with its class.
            PropExchangeSectionPtr section(pPX, "SystemButton");
            BOOL bSystemButton = m_pSystemButton != NULL;
            ExchangeBoolProp(section, "SystemButton", &bSystemButton, TRUE);
            if (m_pSystemButton) {
                CObject* pObject = m_pSystemButton;
                QxpExchangeObjectClass(section, &pObject, RUNTIME_CLASS(CQXPRibbonControlSystemButton));
                m_pSystemButton->DoPropExchange(section);
            }
        }
        if (bCustomizable)
            StoreObjects(pPX, "Tabs", "Tab", Tabs(), RUNTIME_CLASS(CQXPRibbonTab));
        std::vector<CQXPControl*> qat;
        for (int i = 0; i < m_pQuickAccessControls->GetCount(); i++)
            qat.push_back(m_pQuickAccessControls->GetAt(i));
        StoreObjects(pPX, "QuickAccessControls", "Control", qat, RUNTIME_CLASS(CQXPControl));
        return;
    }

    // Load into new tabs and controls; only a complete load replaces the
    // bar's, a class that cannot be made refuses all of it.
    std::vector<CQXPRibbonTab*> tabs;
    std::vector<CQXPControl*> qat;
    CQXPControl* pSystemButton = NULL;
    BOOL bSystemButton = TRUE;
    try {
        if (bCustomizable) {
            PropExchangeSectionPtr section(pPX, "SystemButton");
            ExchangeBoolProp(section, "SystemButton", &bSystemButton, TRUE);
            if (bSystemButton)
                pSystemButton = LoadSystemButton(section);
        }
        if (bCustomizable)
            LoadObjects<CQXPRibbonTab>(pPX, "Tabs", "Tab", RUNTIME_CLASS(CQXPRibbonTab), [&](CQXPRibbonTab* pTab) {
                pTab->m_pRibbonBar = this;
                tabs.push_back(pTab);
            });
        LoadObjects<CQXPControl>(pPX, "QuickAccessControls", "Control", RUNTIME_CLASS(CQXPControl),
                                 [&](CQXPControl* pControl) { qat.push_back(pControl); });
    } catch (...) {
        for (CQXPRibbonTab* t : tabs) {
            t->RemoveAllGroups();
            t->InternalRelease();
        }
        for (CQXPControl* c : qat)
            c->InternalRelease();
        if (pSystemButton)
            pSystemButton->InternalRelease();
        throw;
    }
    if (bCustomizable) {
        int nSelect = -1;
        for (size_t i = 0; i < tabs.size(); i++) {
            if (tabs[i]->m_bStoredSelected && nSelect < 0)
                nSelect = (int)i;
            tabs[i]->m_bStoredSelected = FALSE;
        }
        // The new groups' controls are in the bar already; the old tabs go.
        m_pTabControl->DeleteAllItems();
        for (CQXPRibbonTab* t : tabs)
            m_pTabControl->AddItem(-1, t); // takes the loading's reference
        if (!bMinimized && nSelect < 0 && !tabs.empty())
            nSelect = 0;
        m_pTabControl->CQXPTabManager::SetSelectedItem(!bMinimized && nSelect >= 0 ? tabs[(size_t)nSelect] : NULL);
        // A stored button of a class this program lacks leaves the bar's own.
        if (m_pSystemButton && (pSystemButton || !bSystemButton))
            m_pControls->Remove(m_pSystemButton);
        if (pSystemButton || !bSystemButton)
            m_pSystemButton = (CQXPRibbonControlSystemButton*)pSystemButton;
        if (pSystemButton)
            m_pControls->InsertAt(m_pSystemButton, 0); // takes the creation's reference
        static_cast<CQXPRibbonControls*>(m_pControls)->TakeChangeable(pRowControls.get()); // the tab row's
    } else if (bMinimized) {
        m_pTabControl->CQXPTabManager::SetSelectedItem(NULL);
    } else if (!GetSelectedTab()) {
        m_pTabControl->CQXPTabManager::SetSelectedItem(m_pTabControl->FindNextFocusable(0, +1));
    }
    m_bMinimized = bMinimized;
    m_bCustomizable = bCustomizable;
    m_pQuickAccessControls->RemoveAll();
    for (CQXPControl* c : qat)
        m_pQuickAccessControls->Append(c); // takes the creation's reference
    UpdateGroupsVisibility();
}

// --- customize mode --------------------------------------------------------------------

void CQXPRibbonBar::ForgetControl(CQXPControl* pControl)
{
    if (pControl == m_pSystemButton)
        m_pSystemButton = NULL;
    if (m_pQuickAccessControls->IndexOf(pControl) >= 0) {
        m_pQuickAccessControls->Remove(pControl); // already out of the bar's controls
        return;
    }
    for (CQXPRibbonTab* t : Tabs())
        for (CQXPRibbonGroup* g : *t->m_pGroups) {
            if (g->m_pPopupButton == pControl) {
                g->m_pPopupButton = NULL;
                pControl->InternalRelease();
                return;
            }
            auto itGroup = std::find(g->m_controls.begin(), g->m_controls.end(), pControl);
            if (itGroup != g->m_controls.end()) {
                g->m_controls.erase(itGroup);
                pControl->InternalRelease();
                return;
            }
        }
}

BOOL CQXPRibbonBar::FindDropPlace(CQXPControl* pDragged, CPoint point, CQXPControl** ppControl, BOOL* pbAfter,
                                  CRect* prcMarker) const
{
    std::vector<QXPDropCandidate> items;
    std::vector<CQXPControl*> controls;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CQXPControl* pControl = m_pControls->GetAt(i);
        const CRect rc = pControl->GetRect();
        if (!pControl->IsVisible() || pControl->IsTemporary() || point.y < rc.top || point.y >= rc.bottom)
            continue;
        QXPDropCandidate item;
        item.rc = rc;
        item.bBeginGroup = pControl->GetBeginGroup();
        item.bDragged = pControl == pDragged;
        items.push_back(item);
        controls.push_back(pControl);
    }
    CRect rcClient(0, 0, 0, 0);
    if (m_hWnd)
        ::GetClientRect(m_hWnd, &rcClient);
    const QXPDropPlace place = QxpFindDropPlace(items, point, FALSE, FALSE, rcClient, TRUE);
    *ppControl = place.nItem >= 0 ? controls[(size_t)place.nItem] : NULL;
    *pbAfter = place.bAfter;
    *prcMarker = place.rcMarker;
    return place.bAccepted;
}

void CQXPRibbonBar::OnCustomizeDrop(CQXPControl* pDragged, int& nEffect, CPoint point, CPoint ptStart)
{
    CQXPControl* pNear = NULL;
    BOOL bAfter = FALSE;
    CRect rcMarker;
    const BOOL bAccepted = FindDropPlace(pDragged, point, &pNear, &bAfter, &rcMarker);
    OnCustomizeDragLeave();
    if (!bAccepted) {
        nEffect = qxpDropCancel;
        return;
    }
    if (pNear && pNear == pDragged) {
        // Onto itself: a push sideways starts (or ends) a group line.
        if (std::abs(point.x - ptStart.x) > 4 || std::abs(point.y - ptStart.y) > 4) {
            pDragged->SetBeginGroup(!pDragged->GetBeginGroup());
            OnRecalcLayout();
        }
        nEffect = qxpDropCancel;
        return;
    }
    SetPopuped(-1);
    SetSelected(-1);
    // The group, or the QAT, of the control the drop lands by.
    CQXPRibbonGroup* pGroup = NULL;
    for (CQXPRibbonTab* t : Tabs())
        for (CQXPRibbonGroup* g : *t->m_pGroups)
            if (!pGroup && pNear && g->IndexOf(pNear) >= 0)
                pGroup = g;
    const int nQatNear = m_pQuickAccessControls->IndexOf(pNear);
    const BOOL bQat = pNear && (nQatNear >= 0 || pNear == m_pQatCustomize || pNear == m_pQatMore);
    CQXPControl* pBefore = NULL;
    CQXPControl* pCopy = NULL;
    if (bQat) {
        // Onto the customise or more button: after the last command.
        const int nAt = nQatNear < 0 ? m_pQuickAccessControls->GetCount() : nQatNear + (bAfter ? 1 : 0);
        pBefore = m_pQuickAccessControls->GetAt(nAt);
        pCopy = m_pQuickAccessControls->AddCopy(pDragged, nAt);
    } else {
        int nIndex = pNear ? pNear->GetIndex() + (bAfter ? 1 : 0) : -1;
        if (nIndex >= m_pControls->GetCount())
            nIndex = -1;
        pBefore = nIndex >= 0 ? m_pControls->GetAt(nIndex) : NULL;
        pCopy = m_pControls->AddCopy(pDragged, nIndex);
    }
    if (!pCopy) {
        nEffect = qxpDropCancel;
        return;
    }
    pCopy->SetHideFlags(pCopy->GetHideFlags() & ~(DWORD)(qxpHideWrap | qxpHideScroll | QXP_HIDE_RIBBON_TAB));
    // The group line that began at that place now begins with the copy.
    if (pBefore && pBefore->GetBeginGroup() && (pGroup ? pGroup->IndexOf(pBefore) >= 0 : TRUE)) {
        pBefore->SetBeginGroup(FALSE);
        pCopy->SetBeginGroup(TRUE);
    } else {
        pCopy->SetBeginGroup(FALSE);
    }
    if (pGroup) {
        pGroup->Attach(pCopy, pGroup->IndexOf(pNear) + (bAfter ? 1 : 0));
    } else if (bQat) {
        pCopy->m_buttonRibbonStyle = kRibbonStyleNone;
    }
    if (m_pCommandBars)
        m_pCommandBars->SetDragControl(pCopy);
    OnRecalcLayout();
    Redraw();
}
