// Saving and loading the command-bar layout: where each toolbar sits (plain
// profile values) and what the bars hold (the controls as customised, an
// archive of the property exchange, compressed).

#include <qx/dialogbar.h>
#include <qx/barstate.h>
#include <qx/commandbars.h>
#include <qx/images.h>
#include <qx/popup.h>
#include <qx/profile.h>
#include <qx/propexchange.h>
#include <qx/resourcemgr.h>
#include <qx/sysutil.h>

#include <fx/archive.h>
#include <fx/file.h>

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

typedef std::vector<BYTE> Bytes;
const BYTE kZipTag[4] = {'Z', 'I', 'P', '!'};
// More than this many bars or controls in one collection is damaged data.
const DWORD kMaxItems = 10000;
// More toolbars than a frame can show: a saved placement that counts more is
// damaged, and reading it would only slow the start.
const int kMaxSavedBars = 256;
// A dock bar's saved rows list each bar once and a break after each row.
const int kMaxSavedRowEntries = 2 * kMaxSavedBars + 1;
const UINT kFirstGeneratedBarId = 0x1000000;
const UINT kStatusBarId = 0xE801;
const UINT kCustomizeCommand = 35001;

const CommandBarsExchangeParam* GetParam(CQXPPropExchange* pPX)
{
    return pPX ? (const CommandBarsExchangeParam*)pPX->m_dwData : NULL;
}

void CheckCount(DWORD nCount)
{
    if (nCount > kMaxItems)
        AfxThrowArchiveException(CArchiveException::badIndex);
}

// An object's class by its name under "Class" (the same form in every
// store); loading makes the object, which must derive from pExpected.
BOOL ExchangeObjectClass(CQXPPropExchange* pPX, CObject** ppObject, CRuntimeClass* pExpected)
{
    if (pPX->IsStoring()) {
        CString strName = (*ppObject)->GetRuntimeClass()->m_lpszClassName;
        return pPX->ExchangeValue("Class", VT_LPSTR, &strName, NULL);
    }
    *ppObject = NULL;
    CString strName;
    if (!pPX->ExchangeValue("Class", VT_LPSTR, &strName, NULL) || strName.IsEmpty())
        return FALSE;
    CRuntimeClass* pClass = CRuntimeClass::FromName(strName.GetString());
    if (!pClass || !pClass->m_pfnCreateObject || !pClass->IsDerivedFrom(pExpected))
        return FALSE;
    *ppObject = pClass->CreateObject();
    return *ppObject != NULL;
}

// A list of ids ("Count", then "Item%i") in its own section.
void ExchangeIdList(CQXPPropExchange* pPX, LPCSTR lpszName, std::map<UINT, BOOL>& ids)
{
    if (pPX->IsStoring() && ids.empty() && pPX->CanSkipDefaults())
        return;
    PropExchangeSectionPtr section(pPX, lpszName);
    if (!section.get())
        return;
    int nCount = (int)ids.size();
    ExchangeIntProp(section, "Count", &nCount, 0);
    if (pPX->IsStoring()) {
        std::vector<int> items;
        for (auto& entry : ids)
            items.push_back((int)entry.first);
        QxpWriteIdItems(section, items);
    } else {
        CheckCount((DWORD)std::max(0, nCount));
        ids.clear();
        for (int nId : QxpReadIdItems(section, nCount))
            ids[(UINT)nId] = TRUE;
    }
}

} // namespace

void AFXAPI QxpWriteIdItems(CQXPPropExchange* pSection, const std::vector<int>& ids)
{
    for (size_t i = 0; i < ids.size(); i++) {
        CString strName;
        strName.Format("Item%i", (int)i);
        int nId = ids[i];
        ExchangeIntProp(pSection, strName, &nId, 0);
    }
}

std::vector<int> AFXAPI QxpReadIdItems(CQXPPropExchange* pSection, int nCount)
{
    std::vector<int> ids;
    for (int i = 0; i < nCount; i++) {
        CString strName;
        strName.Format("Item%i", i);
        int nId = 0;
        ExchangeIntProp(pSection, strName, &nId, 0);
        ids.push_back(nId);
    }
    return ids;
}

BOOL AFXAPI QxpExchangeObjectClass(CQXPPropExchange* pPX, CObject** ppObject, CRuntimeClass* pExpected)
{
    return ExchangeObjectClass(pPX, ppObject, pExpected);
}

// ===========================================================================
// Blocks and positions

std::vector<BYTE> AFXAPI QxpCompressLayoutBlock(const BYTE* pData, UINT nBytes)
{
    std::vector<BYTE> block;
    if (nBytes >= 20) {
        uLongf nOut = nBytes;
        std::vector<BYTE> out(nBytes);
        if (compress(out.data(), &nOut, pData, nBytes) == Z_OK && nOut + 8 <= nBytes) {
            block.resize(8 + nOut);
            memcpy(block.data(), kZipTag, 4);
            block[4] = (BYTE)(nBytes & 0xFF);
            block[5] = (BYTE)((nBytes >> 8) & 0xFF);
            block[6] = (BYTE)((nBytes >> 16) & 0xFF);
            block[7] = (BYTE)((nBytes >> 24) & 0xFF);
            memcpy(block.data() + 8, out.data(), nOut);
            return block;
        }
    }
    block.assign(pData, pData + nBytes);
    return block;
}

BOOL AFXAPI QxpExpandLayoutBlock(const BYTE* pBlock, UINT nBytes, std::vector<BYTE>& archive)
{
    archive.clear();
    if (nBytes >= 12 && memcmp(pBlock, kZipTag, 4) == 0) {
        UINT nLength = (UINT)pBlock[4] | ((UINT)pBlock[5] << 8) | ((UINT)pBlock[6] << 16) | ((UINT)pBlock[7] << 24);
        if (nLength == 0 || nLength > QXP_LAYOUT_MAX_ARCHIVE)
            return FALSE;
        try {
            archive.resize(nLength);
        } catch (...) {
            return FALSE;
        }
        uLongf nOut = nLength;
        if (uncompress(archive.data(), &nOut, pBlock + 8, nBytes - 8) != Z_OK || nOut != nLength) {
            archive.clear();
            return FALSE;
        }
        return TRUE;
    }
    archive.assign(pBlock, pBlock + nBytes);
    return TRUE;
}

BOOL CQXPCompressedMemFile::AttachCompressed(BYTE* pBuffer, UINT nLength, BOOL bAutoDelete)
{
    Attach(NULL, 0);
    BOOL bOk = pBuffer != NULL && QxpExpandLayoutBlock(pBuffer, nLength, m_archive);
    if (bAutoDelete)
        std::free(pBuffer);
    if (!bOk) {
        m_archive.clear();
        return FALSE;
    }
    Attach(m_archive.empty() ? NULL : m_archive.data(), (UINT)m_archive.size());
    return TRUE;
}

void CQXPCompressedMemFile::DetachCompressed(BYTE** ppBuffer, UINT* pnLength)
{
    UINT nLength = (UINT)GetLength();
    BOOL bOwned = m_bAutoDelete;
    BYTE* pArchive = Detach();
    std::vector<BYTE> block = QxpCompressLayoutBlock(pArchive, nLength);
    if (bOwned)
        std::free(pArchive);
    m_archive.clear();
    BYTE* pBlock = block.empty() ? NULL : static_cast<BYTE*>(std::malloc(block.size()));
    if (pBlock)
        memcpy(pBlock, block.data(), block.size());
    *ppBuffer = pBlock;
    *pnLength = pBlock ? (UINT)block.size() : 0;
}

BOOL CQXPCompressedMemFile::ReadWholeFile(LPCSTR lpszPath)
{
    std::vector<BYTE> block;
    if (!lpszPath || !*lpszPath || !fx::ReadWholeFile(lpszPath, block, QXP_LAYOUT_MAX_ARCHIVE) || block.empty())
        return FALSE;
    BYTE* pBuffer = static_cast<BYTE*>(std::malloc(block.size()));
    if (!pBuffer)
        return FALSE;
    memcpy(pBuffer, block.data(), block.size());
    return AttachCompressed(pBuffer, (UINT)block.size(), TRUE);
}

namespace {

LONG ScaleCoord(LONG v, LONG nCurrent, LONG nSaved)
{
    return (LONG)::MulDiv(v, nCurrent, nSaved);
}

} // namespace

void AFXAPI QxpAdjustSavedPoint(POINT& pt, BOOL bRescale, SIZE szSaved, SIZE szCurrent, const RECT& rcWork,
                                SIZE szIcon)
{
    if (bRescale && szSaved.cx > 0 && szSaved.cy > 0) {
        pt.x = ScaleCoord(pt.x, szCurrent.cx, szSaved.cx);
        pt.y = ScaleCoord(pt.y, szCurrent.cy, szSaved.cy);
    }
    // Past the right or bottom edge: back so that an icon's size shows.
    pt.x = std::min(pt.x, rcWork.right - szIcon.cx);
    pt.y = std::min(pt.y, rcWork.bottom - szIcon.cy);
    // Past the left or top edge (a monitor that is gone lay there): onto
    // the work area.
    pt.x = std::max(pt.x, rcWork.left);
    pt.y = std::max(pt.y, rcWork.top);
}

void AFXAPI QxpAdjustSavedRect(RECT& rc, BOOL bRescale, SIZE szSaved, SIZE szCurrent, const RECT& rcWork)
{
    if (bRescale && szSaved.cx > 0 && szSaved.cy > 0) {
        LONG x = ScaleCoord(rc.left, szCurrent.cx, szSaved.cx);
        LONG y = ScaleCoord(rc.top, szCurrent.cy, szSaved.cy);
        ::OffsetRect(&rc, x - rc.left, y - rc.top);
    }
    if (rcWork.right < rc.left)
        ::OffsetRect(&rc, rcWork.right - rc.left, 0);
    if (rcWork.bottom < rc.top)
        ::OffsetRect(&rc, 0, rcWork.bottom - rc.top);
    if (rc.right < rcWork.left)
        ::OffsetRect(&rc, rcWork.left - rc.left, 0);
    if (rc.bottom < rcWork.top)
        ::OffsetRect(&rc, 0, rcWork.top - rc.top);
}

CRect AFXAPI QxpWorkAreaFor(const RECT& rc)
{
    return CRect(GetMultiMonitorHelper()->GetWorkAreaNearestRect(&rc));
}

// ===========================================================================
// CommandBarList

CommandBarList::~CommandBarList()
{
    for (CQXPCommandBar* pBar : m_bars)
        pBar->InternalRelease();
}

BOOL CommandBarList::Contains(const CQXPCommandBar* pBar) const
{
    return std::find(m_bars.begin(), m_bars.end(), pBar) != m_bars.end();
}

void CommandBarList::Add(CQXPCommandBar* pBar)
{
    pBar->InternalAddRef();
    m_bars.push_back(pBar);
}

CQXPCommandBar* CommandBarList::FindBar(UINT nBarID) const
{
    for (CQXPCommandBar* pBar : m_bars)
        if (pBar->GetBarID() == nBarID)
            return pBar;
    return NULL;
}

// ===========================================================================
// Controls

void CQXPControl::DoPropExchange(CQXPPropExchange* pPX)
{
    const CommandBarsExchangeParam* pParam = GetParam(pPX);
    CQXPCommandBars* pCommandBars = pParam && pParam->pCommandBars ? pParam->pCommandBars : GetCommandBars();
    UINT nSchema = pPX->GetSchema();

    int nType = m_controlType;
    ExchangeIntProp(pPX, "Type", &nType, qxpControlButton);
    if (pPX->IsLoading()) {
        // Damaged data must not give a control a type its class cannot
        // serve: popup kinds only for popup controls.
        BOOL bPopupClass = dynamic_cast<CQXPControlPopup*>(this) != NULL;
        BOOL bPopupType = nType >= qxpControlPopup && nType <= qxpControlSplitButtonPopup;
        if (nType >= qxpControlButton && nType <= qxpControlRadioButton && bPopupClass == bPopupType)
            m_controlType = nType;
    }
    int nId = m_nId;
    ExchangeIntProp(pPX, "Id", &nId, -1);
    if (pPX->IsLoading()) {
        m_nId = nId;
        CQXPControlAction* pAction = pCommandBars ? pCommandBars->FindAction(nId) : NULL;
        if (pAction)
            SetAction(pAction);
    }
    ExchangeIntProp(pPX, "IconId", &m_nIconId, 0);
    ExchangeBoolProp(pPX, "BeginGroup", &m_bBeginGroup, FALSE);
    int nTag = (int)m_nTag;
    ExchangeIntProp(pPX, "Tag", &nTag, 0);
    m_nTag = (DWORD_PTR)(UINT)nTag;
    UINT nFlags = m_dwFlags;
    ExchangeIntProp(pPX, "Flags", &nFlags, 0u);
    m_dwFlags = nFlags;
    UINT nHideFlags = m_dwHideFlags;
    ExchangeIntProp(pPX, "HideFlags", &nHideFlags, 0u);
    m_dwHideFlags = nHideFlags;
    ExchangeTextProp(pPX, "Caption", &m_strCaption);
    ExchangeTextProp(pPX, "ShortcutText", &m_strShortcutText);
    ExchangeTextProp(pPX, "TooltipText", &m_strTooltipText);
    ExchangeTextProp(pPX, "DescriptionText", &m_strDescriptionText);
    ExchangeTextProp(pPX, "Parameter", &m_strParameter);
    ExchangeIntProp(pPX, "CustomIconId", &m_nCustomIconId, 0);
    ExchangeTextProp(pPX, "CustomCaption", &m_strCustomCaption);
    if (nSchema > 1)
        ExchangeTextProp(pPX, "Category", &m_strCategory);
    if (m_nCustomIconId > 0) {
        // The picture the user gave the button travels with it.
        PropExchangeSectionPtr section(pPX, "CustomIcon");
        if (section.get())
            GetGlobalImageManager()->DoPropExchange((UINT)m_nCustomIconId, section);
    }
    if (nSchema > 3) {
        ExchangeIdList(pPX, "DocTemplatesExcluded", m_mapDocTemplatesExcluded);
        ExchangeIdList(pPX, "DocTemplatesAssigned", m_mapDocTemplatesAssigned);
        ExchangeBoolProp(pPX, "DefaultItem", &m_bDefaultItem, FALSE);
    }
    if (nSchema > 6)
        ExchangeBoolProp(pPX, "CloseSubMenuOnClick", &m_bCloseSubMenuOnClick, TRUE);
    if (nSchema > 7) {
        ExchangeIntProp(pPX, "CustomStyle", &m_buttonCustomStyle, -1);
        if (pPX->IsLoading() && nSchema <= 17 && m_buttonCustomStyle == 0)
            m_buttonCustomStyle = -1;
    }
    if (nSchema > 16)
        ExchangeIntProp(pPX, "HelpId", &m_nHelpId, 0);
    if (nSchema > 17)
        ExchangeIntProp(pPX, "Style", &m_buttonStyle, 0);
    if (nSchema > 18) {
        ExchangeIntProp(pPX, "Width", &m_nWidth, 0);
        ExchangeIntProp(pPX, "Height", &m_nHeight, 0);
        ExchangeIntProp(pPX, "ExecuteOnPressInterval", &m_nExecuteOnPressInterval, 0);
    }
    if (nSchema > 22)
        ExchangeTextProp(pPX, "ShortcutTextAuto", &m_strShortcutTextAuto);
    if (nSchema > 23)
        ExchangeTextProp(pPX, "KeyboardTip", &m_strKeyboardTip);
}

void CQXPControlPopup::DoPropExchange(CQXPPropExchange* pPX)
{
    CQXPControl::DoPropExchange(pPX);
    int nBarId = 0;
    if (pPX->IsStoring())
        nBarId = m_pCommandBar ? (int)m_pCommandBar->GetBarID() : 0;
    ExchangeIntProp(pPX, "CommandBarId", &nBarId, 0);
    if (pPX->IsLoading())
        m_nLoadedBarId = nBarId;
}

BOOL CQXPControlPopup::Compare(CQXPControl* pOther)
{
    if (!CQXPControl::Compare(pOther))
        return FALSE;
    CQXPControlPopup* pPopup = dynamic_cast<CQXPControlPopup*>(pOther);
    if (!pPopup)
        return FALSE;
    if (!m_pCommandBar || !pPopup->m_pCommandBar)
        return m_pCommandBar == pPopup->m_pCommandBar;
    return m_pCommandBar->GetControls()->IsEqual(pPopup->m_pCommandBar->GetControls());
}

void CQXPControlPopup::AddPopupToList(UINT& nCounter, CommandBarList* pList, const CommandBarsExchangeParam* pParam)
{
    if (m_pCommandBar)
        m_pCommandBar->AddToCommandBarList(nCounter, pList, pParam);
}

void CQXPControlPopup::RestorePopupFromList(CommandBarList* pList)
{
    if (m_nLoadedBarId == 0)
        return;
    CQXPCommandBar* pBar = pList->FindBar((UINT)m_nLoadedBarId);
    m_nLoadedBarId = 0;
    if (!pBar || pBar == m_pParent)
        return;
    SetCommandBar(pBar);
    pBar->RestorePopups(pList);
}

void CQXPControls::DoPropExchange(CQXPPropExchange* pPX)
{
    const CommandBarsExchangeParam* pParam = GetParam(pPX);
    if (pPX->IsStoring()) {
        DWORD nCount = 0;
        for (CQXPControl* pControl : m_arrControls)
            if (ShouldSaveControl(pControl))
                nCount++;
        std::unique_ptr<PropExchangeEnumerator> pEnum(pPX->OpenEnumerator("Control"));
        POSITION pos = pEnum->First(nCount);
        for (CQXPControl* pControl : m_arrControls) {
            if (!ShouldSaveControl(pControl))
                continue;
            PropExchangeSectionPtr section(pEnum->Next(pos));
            if (!section.get())
                break;
            CObject* pObject = pControl;
            ExchangeObjectClass(section, &pObject, RUNTIME_CLASS(CQXPControl));
            pControl->DoPropExchange(section);
        }
        BOOL bOriginal = pParam && m_pOriginalControls && pParam->bSaveOriginalControls;
        ExchangeBoolProp(pPX, "OriginalControls", &bOriginal, FALSE);
        if (bOriginal) {
            PropExchangeSectionPtr section(pPX, "OriginalControls");
            if (section.get())
                m_pOriginalControls->DoPropExchange(section);
        }
        BOOL bCustomized = FALSE;
        ExchangeBoolProp(pPX, "CustomizedControls", &bCustomized, FALSE);
        return;
    }

    RemoveAll();
    std::unique_ptr<PropExchangeEnumerator> pEnum(pPX->OpenEnumerator("Control"));
    POSITION pos = pEnum->First();
    CheckCount(pEnum->GetCount());
    while (pos) {
        PropExchangeSectionPtr section(pEnum->Next(pos));
        if (!section.get())
            break;
        CObject* pObject = NULL;
        if (!ExchangeObjectClass(section, &pObject, RUNTIME_CLASS(CQXPControl)) || !pObject)
            AfxThrowArchiveException(CArchiveException::badClass);
        CQXPControl* pControl = dynamic_cast<CQXPControl*>(pObject);
        if (!pControl) {
            delete pObject;
            AfxThrowArchiveException(CArchiveException::badClass);
        }
        try {
            pControl->DoPropExchange(section);
        } catch (...) {
            pControl->InternalRelease();
            throw;
        }
        InsertAt(pControl, -1);
    }
    RefreshIndexes();
    if (pPX->GetSchema() > 2) {
        BOOL bOriginal = FALSE;
        ExchangeBoolProp(pPX, "OriginalControls", &bOriginal, FALSE);
        if (bOriginal) {
            PropExchangeSectionPtr section(pPX, "OriginalControls");
            CQXPOriginalControls* pOriginal = new CQXPOriginalControls;
            pOriginal->SetCommandBars(GetCommandBars());
            SetOriginalControls(pOriginal);
            if (section.get())
                pOriginal->DoPropExchange(section);
        }
        BOOL bCustomized = FALSE;
        ExchangeBoolProp(pPX, "CustomizedControls", &bCustomized, FALSE);
        if (bCustomized) {
            PropExchangeSectionPtr section(pPX, "CustomizedControls");
            CQXPControls* pDiscard = new CQXPControls;
            try {
                if (section.get())
                    pDiscard->DoPropExchange(section);
            } catch (...) {
                pDiscard->InternalRelease();
                throw;
            }
            pDiscard->InternalRelease();
        }
    }
}

void CQXPControls::AddPopupsToList(UINT& nCounter, CommandBarList* pList, const CommandBarsExchangeParam* pParam)
{
    std::vector<CQXPControl*> controls = m_arrControls;
    for (CQXPControl* pControl : controls)
        if (!pControl->IsTemporary())
            pControl->AddPopupToList(nCounter, pList, pParam);
    if (pParam && pParam->bSaveOriginalControls && m_pOriginalControls && m_pOriginalControls != this)
        m_pOriginalControls->AddPopupsToList(nCounter, pList, pParam);
}

void CQXPControls::RestorePopups(CommandBarList* pList)
{
    std::vector<CQXPControl*> controls = m_arrControls;
    for (CQXPControl* pControl : controls)
        pControl->RestorePopupFromList(pList);
    if (m_pOriginalControls && m_pOriginalControls != this)
        m_pOriginalControls->RestorePopups(pList);
}

// ===========================================================================
// Bars

void CQXPCommandBar::DoPropExchange(CQXPPropExchange* pPX)
{
    const CommandBarsExchangeParam* pParam = GetParam(pPX);
    UINT nSchema = pPX->GetSchema();
    ExchangeIntProp(pPX, "Type", &m_barType, qxpBarTypeNormal);
    ExchangeIntProp(pPX, "Position", &m_barPosition, qxpBarTop);
    ExchangeIntProp(pPX, "BarID", &m_nBarID, 0u);
    UINT nFlags = m_dwFlags;
    ExchangeIntProp(pPX, "Flags", &nFlags, 0u);
    m_dwFlags = nFlags;
    int nStyle = (int)m_dwStyle;
    ExchangeIntProp(pPX, "Style", &nStyle, 0);
    m_dwStyle = (DWORD)nStyle;
    ExchangeTextProp(pPX, "Title", &m_strTitle);
    ExchangeBoolProp(pPX, "Customizable", &m_bCustomizable, TRUE);
    ExchangeIntProp(pPX, "MRUWidth", &m_nMRUWidth, 0);
    if (nSchema > 2)
        ExchangeSizeProp(pPX, "IconSize", &m_szIcons, CSize(0, 0));
    if (pPX->IsLoading() && pParam && pParam->pCommandBars)
        SetCommandBars(pParam->pCommandBars);
    if (nSchema > 17) {
        ExchangeSizeProp(pPX, "ButtonSize", &m_szButtons, CSize(0, 0));
        ExchangeIntProp(pPX, "ShowTextBelowIcons", &m_nShowTextBelowIcons, 2);
        BOOL bAnimation = IsAnimationEnabled();
        ExchangeBoolProp(pPX, "EnableAnimation", &bAnimation, FALSE);
        if (pPX->IsLoading())
            EnableAnimation(bAnimation);
    }
    if (nSchema > 18)
        ExchangeIntProp(pPX, "DefaultButtonStyle", &m_buttonStyle, 0);
    PropExchangeSectionPtr section(pPX, "Controls");
    if (section.get()) {
        if (pPX->IsLoading())
            m_pControls->SetCommandBars(m_pCommandBars);
        m_pControls->DoPropExchange(section);
    }
}

void CQXPCommandBar::AddToCommandBarList(UINT& nCounter, CommandBarList* pList,
                                         const CommandBarsExchangeParam* pParam)
{
    if (pList->Contains(this))
        return;
    pList->Add(this);
    if (!dynamic_cast<CQXPToolBar*>(this) && (m_nBarID == 0 || m_nBarID > 0xFFFFFF))
        m_nBarID = nCounter++;
    m_pControls->AddPopupsToList(nCounter, pList, pParam);
}

void CQXPCommandBar::RestorePopups(CommandBarList* pList)
{
    m_pControls->RestorePopups(pList);
}

void CQXPToolBar::DoPropExchange(CQXPPropExchange* pPX)
{
    CQXPCommandBar::DoPropExchange(pPX);
    UINT nSchema = pPX->GetSchema();
    ExchangeBoolProp(pPX, "BuiltIn", &m_bBuiltIn, TRUE);
    ExchangeBoolProp(pPX, "TearOff", &m_bTearOff, FALSE);
    if (nSchema > 6)
        ExchangeBoolProp(pPX, "Closeable", &m_bCloseable, TRUE);
    if (nSchema > 7)
        ExchangeBoolProp(pPX, "ContextMenuPresent", &m_bContextMenuPresent, TRUE);
    if (nSchema > 16)
        ExchangeBoolProp(pPX, "CustomizeDialogPresent", &m_bCustomizeDialogPresent, TRUE);
    else if (pPX->IsLoading() && m_barType == qxpBarTypeMenuBar)
        m_bCloseable = FALSE;
}

void CQXPPopupBar::DoPropExchange(CQXPPropExchange* pPX)
{
    CQXPCommandBar::DoPropExchange(pPX);
    UINT nSchema = pPX->GetSchema();
    ExchangeBoolProp(pPX, "TearOffPopup", &m_bTearOffPopup, FALSE);
    ExchangeTextProp(pPX, "TearOffCaption", &m_strTearOffCaption);
    ExchangeIntProp(pPX, "TearOffId", &m_nTearOffId, 0);
    ExchangeIntProp(pPX, "TearOffWidth", &m_nTearOffWidth, 0);
    if (nSchema > 3) {
        ExchangeRectProp(pPX, "Borders", &m_rcBorders, CRect(2, 4, 2, 4));
        ExchangeBoolProp(pPX, "ShowShadow", &m_bShowShadow, TRUE);
    }
    if (nSchema > 8)
        ExchangeBoolProp(pPX, "DoubleGripper", &m_bDoubleGripper, FALSE);
    if (nSchema > 18)
        ExchangeBoolProp(pPX, "ContextMenu", &m_bContextMenu, FALSE);
}

void CQXPMenuBar::DoPropExchange(CQXPPropExchange* pPX)
{
    const CommandBarsExchangeParam* pParam = GetParam(pPX);
    // The bar is stored with the frame's own menu; each document menu that
    // the user changed follows in its own section.
    UINT nShownId = m_nCurrentMenuId;
    HMENU hShown = m_hMenuShown;
    if (pPX->IsStoring() && !m_mapDocMenus.empty() && nShownId != m_nIDResource)
        SwitchMenu(m_nIDResource, m_hMenuFrame);
    CQXPToolBar::DoPropExchange(pPX);
    ExchangeIntProp(pPX, "ResourceId", &m_nIDResource, 0u);
    if (pPX->IsStoring()) {
        std::vector<std::pair<UINT, CQXPControls*>> changed;
        // Menus known only by their handle (no document template) cannot
        // be matched in another run: they are not stored.
        for (auto& entry : m_mapDocMenus)
            if (entry.second->UpdateChanged() && entry.first != m_nIDResource && entry.first < QXP_ID_FIRST_HANDLE_MENU)
                changed.push_back(std::make_pair(entry.first, entry.second->GetControls()));
        std::unique_ptr<PropExchangeEnumerator> pEnum(pPX->OpenEnumerator("MDIMenu"));
        POSITION pos = pEnum->First((DWORD)changed.size());
        for (auto& entry : changed) {
            PropExchangeSectionPtr section(pEnum->Next(pos));
            if (!section.get())
                break;
            int nId = (int)entry.first;
            ExchangeIntProp(section, "Id", &nId, 0);
            entry.second->DoPropExchange(section);
        }
        if (nShownId != m_nCurrentMenuId)
            SwitchMenu(nShownId, hShown);
        (void)pParam;
        return;
    }
    if (pPX->GetSchema() < 5)
        return;
    std::unique_ptr<PropExchangeEnumerator> pEnum(pPX->OpenEnumerator("MDIMenu"));
    POSITION pos = pEnum->First();
    CheckCount(pEnum->GetCount());
    while (pos) {
        PropExchangeSectionPtr section(pEnum->Next(pos));
        if (!section.get())
            break;
        int nId = 0;
        ExchangeIntProp(section, "Id", &nId, 0);
        if (nId == 0 || m_mapDocMenus.count((UINT)nId))
            continue;
        CQXPControls* pControls = new CQXPControls;
        pControls->SetCommandBars(m_pCommandBars);
        SetMDIMenu((UINT)nId, pControls);
        pControls->InternalRelease(); // the record holds it
        pControls->DoPropExchange(section);
    }
}

void CQXPMenuBar::AddToCommandBarList(UINT& nCounter, CommandBarList* pList, const CommandBarsExchangeParam* pParam)
{
    if (pList->Contains(this))
        return;
    CQXPToolBar::AddToCommandBarList(nCounter, pList, pParam);
    for (auto& entry : m_mapDocMenus)
        if (entry.second->GetControls() != m_pControls)
            entry.second->GetControls()->AddPopupsToList(nCounter, pList, pParam);
}

void CQXPMenuBar::RestorePopups(CommandBarList* pList)
{
    CQXPToolBar::RestorePopups(pList);
    for (auto& entry : m_mapDocMenus)
        if (entry.second->GetControls() != m_pControls)
            entry.second->GetControls()->RestorePopups(pList);
}

void CQXPToolBar::MergeLoadedBar(CQXPToolBar* pLoaded, BOOL bSilent)
{
    CQXPControls* pLoadedControls = pLoaded->GetControls();
    CQXPOriginalControls* pLoadedOriginal = pLoadedControls->GetOriginalControls();
    CQXPOriginalControls* pOwnOriginal = m_pControls->GetOriginalControls();
    BOOL bTakeLoaded = TRUE;
    if (pLoadedOriginal && pOwnOriginal && !pLoadedOriginal->IsEqual(pOwnOriginal)) {
        // The program's bar changed since the layout was saved.
        bTakeLoaded = FALSE;
        if (!bSilent && pLoadedControls->IsChanged()) {
            CString strFormat, strText;
            if (!ToolkitResourceManager::Instance()->LoadString(&strFormat, QX_IDS_TOOLBAR_CHANGED))
                strFormat = "Due to a software update the toolbar '%s' has changed. Would you like to reset your "
                            "customized toolbar and load the new one?";
            strText.Format(strFormat, m_strTitle.GetString());
            CWnd* pSite = GetOwnerSite();
            bTakeLoaded = ::MessageBoxA(pSite ? pSite->GetSafeHwnd() : NULL, strText, NULL,
                                        MB_YESNO | MB_ICONQUESTION) == IDNO;
        }
    }
    if (!bTakeLoaded)
        return;
    if (pOwnOriginal)
        pOwnOriginal->InternalAddRef();
    SetPopuped(-1);
    m_nSelected = -1;
    m_pControls->Copy(pLoadedControls, FALSE);
    if (pOwnOriginal) {
        // The program's own first state stays the reference for "changed".
        m_pControls->SetOriginalControls(pOwnOriginal);
    }
    m_strTitle = pLoaded->m_strTitle;
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::SetWindowTextA(m_hWnd, m_strTitle);
    m_szIcons = pLoaded->m_szIcons;
    m_szButtons = pLoaded->m_szButtons;
    m_buttonStyle = pLoaded->m_buttonStyle;
    m_nShowTextBelowIcons = pLoaded->m_nShowTextBelowIcons;
    m_bCustomizable = pLoaded->m_bCustomizable;
    m_bCloseable = pLoaded->m_bCloseable;
    m_pControls->RefreshIndexes();
    DelayLayout();
}

// ===========================================================================
// The manager: contents

namespace {

// Writes the list into a fresh archive; its stored form, or FALSE.
BOOL StoreBarList(CQXPCommandBars* pBars, CommandBarList& list, CommandBarsExchangeParam& param, Bytes& block)
{
    try {
        CQXPCompressedMemFile file;
        {
            CArchive ar(&file, CArchive::store, 4096);
            {
                CQXPPropExchangeArchive* pPX = new CQXPPropExchangeArchive(ar);
                PropExchangeSectionPtr px(pPX);
                pPX->m_dwData = (DWORD_PTR)&param;
                pPX->SchemaProp();
                if (!pBars->SaveCommandBarList(pPX, &list))
                    return FALSE;
            }
            ar.Flush();
            ar.Close();
        }
        BYTE* pBlock = NULL;
        UINT nBlock = 0;
        file.DetachCompressed(&pBlock, &nBlock);
        block.assign(pBlock, pBlock + nBlock);
        std::free(pBlock);
        return TRUE;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return FALSE;
}

// Reads bars from the archive of a memory file into the list; FALSE for
// anything damaged.
BOOL LoadBarList(CQXPCommandBars* pBars, CQXPCompressedMemFile& file, CommandBarList& list,
                 CommandBarsExchangeParam& param)
{
    if (file.GetLength() == 0)
        return FALSE;
    try {
        CArchive ar(&file, CArchive::load, 4096);
        CQXPPropExchangeArchive* pPX = new CQXPPropExchangeArchive(ar);
        PropExchangeSectionPtr px(pPX);
        pPX->m_dwData = (DWORD_PTR)&param;
        pPX->SchemaProp();
        return pBars->LoadCommandBarList(pPX, &list);
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return FALSE;
}

} // namespace

BOOL CQXPCommandBars::SaveCommandBarList(CQXPPropExchange* pPX, CommandBarList* pList)
{
    try {
        PropExchangeSectionPtr section(pPX, "CommandBars");
        std::unique_ptr<PropExchangeEnumerator> pEnum(section->OpenEnumerator("CommandBar"));
        POSITION pos = pEnum->First((DWORD)pList->GetCount());
        for (int i = 0; i < pList->GetCount(); i++) {
            PropExchangeSectionPtr barSection(pEnum->Next(pos));
            CObject* pObject = pList->GetAt(i);
            ExchangeObjectClass(barSection, &pObject, RUNTIME_CLASS(CQXPCommandBar));
            pList->GetAt(i)->DoPropExchange(barSection);
        }
        return TRUE;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return FALSE;
}

BOOL CQXPCommandBars::LoadCommandBarList(CQXPPropExchange* pPX, CommandBarList* pList)
{
    try {
        PropExchangeSectionPtr section(pPX, "CommandBars");
        std::unique_ptr<PropExchangeEnumerator> pEnum(section->OpenEnumerator("CommandBar"));
        POSITION pos = pEnum->First();
        CheckCount(pEnum->GetCount());
        while (pos) {
            PropExchangeSectionPtr barSection(pEnum->Next(pos));
            if (!barSection.get())
                break;
            CObject* pObject = NULL;
            if (!ExchangeObjectClass(barSection, &pObject, RUNTIME_CLASS(CQXPCommandBar)) || !pObject)
                return FALSE;
            CQXPCommandBar* pBar = dynamic_cast<CQXPCommandBar*>(pObject);
            if (!pBar) {
                delete pObject;
                return FALSE;
            }
            pBar->SetCommandBars(this);
            pList->Add(pBar);
            pBar->InternalRelease(); // the list holds it now
            pBar->DoPropExchange(barSection);
            pBar->GetControls()->RefreshIndexes();
        }
        return TRUE;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return FALSE;
}

namespace {

CString ProfileSection(LPCSTR lpszProfileName, LPCSTR lpszFormat)
{
    CString str;
    str.Format(lpszFormat, lpszProfileName);
    return str;
}

// Writes a whole file through a temporary file in the same folder, so the
// previous file stays until the new one is complete.
BOOL WriteFileSafely(const CString& strPath, const std::vector<BYTE>& block)
{
    CString strTemp = strPath + ".new";
    ::SetFileAttributesA(strTemp, FILE_ATTRIBUTE_NORMAL);
    HANDLE hFile = ::CreateFileA(strTemp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD nWritten = 0;
    BOOL bOk = ::WriteFile(hFile, block.data(), (DWORD)block.size(), &nWritten, NULL) && nWritten == block.size();
    bOk = ::FlushFileBuffers(hFile) && bOk;
    ::CloseHandle(hFile);
    if (bOk) {
        ::SetFileAttributesA(strPath, FILE_ATTRIBUTE_NORMAL);
        bOk = ::MoveFileExA(strTemp, strPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!bOk) {
        ::DeleteFileA(strTemp);
        return FALSE;
    }
    ::SetFileAttributesA(strPath, FILE_ATTRIBUTE_HIDDEN);
    return TRUE;
}

} // namespace

CString CQXPCommandBars::GetLayoutFilePath(LPCSTR lpszProfileName) const
{
    if (!m_strLayoutFile.IsEmpty())
        return m_strLayoutFile;
    CString strName = lpszProfileName;
    strName.Replace('\\', '_');
    CWinApp* pApp = AfxGetApp();
    char szAppData[MAX_PATH] = "";
    DWORD n = ::GetEnvironmentVariableA("APPDATA", szAppData, MAX_PATH);
    if (n > 0 && n < MAX_PATH && pApp && pApp->m_pszAppName) {
        CString strFolder;
        strFolder.Format("%s\\%s", szAppData, pApp->m_pszAppName);
        ::CreateDirectoryA(strFolder, NULL);
        DWORD dwAttr = ::GetFileAttributesA(strFolder);
        if (dwAttr != INVALID_FILE_ATTRIBUTES && (dwAttr & FILE_ATTRIBUTE_DIRECTORY))
            return strFolder + "\\" + strName;
    }
    char szModule[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, szModule, MAX_PATH);
    CString strPath;
    strPath.Format("%s-%s", szModule, strName.GetString());
    return strPath;
}

// ===========================================================================
// The manager: save and load

void CQXPCommandBars::GenerateCommandBarList(CommandBarList* pList, CommandBarsExchangeParam* pParam)
{
    const BOOL bOnlyCustomized = pParam->bOnlyCustomized;
    UINT nCounter = kFirstGeneratedBarId;
    for (CQXPToolBar* pBar : m_arrBars) {
        CQXPControls* pControls = pBar->GetControls();
        BOOL bChanged = !pControls->GetOriginalControls() || pControls->IsChanged();
        CQXPMenuBar* pMenuBar = dynamic_cast<CQXPMenuBar*>(pBar);
        if (pMenuBar) {
            for (auto& entry : pMenuBar->m_mapDocMenus)
                if (entry.second->UpdateChanged())
                    bChanged = TRUE;
        }
        if (!bOnlyCustomized || !pBar->m_bBuiltIn || (pBar->IsCustomizable() && bChanged))
            pBar->AddToCommandBarList(nCounter, pList, pParam);
    }
    // The context menus the user changed.
    for (CQXPPopupBar* pMenu : m_arrContextMenus)
        if (!bOnlyCustomized || pMenu->GetControls()->IsChanged())
            pMenu->AddToCommandBarList(nCounter, pList, pParam);
}

void CQXPCommandBars::SaveBarState(LPCSTR lpszProfileName, BOOL bOnlyCustomized)
{
    CQXProfileStore store;
    CString strControls = ProfileSection(lpszProfileName, "%s-Controls");

    // The contents first: when they cannot be stored, nothing of the saved
    // layout is touched.
    if (m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd())) {
        CommandBarsExchangeParam param;
        param.bOnlyCustomized = bOnlyCustomized;
        param.bSilent = FALSE;
        param.pCommandBars = this;
        CommandBarList list;
        GenerateCommandBarList(&list, &param);
        std::vector<BYTE> block;
        if (!StoreBarList(this, list, param, block))
            return;
        BOOL bToFile = block.size() > QXP_LAYOUT_MAX_PROFILE_BLOCK;
        if (!bToFile) {
            // Into the profile, read back: a store that cannot hold a value
            // this long (INI lines have a limit) sends it to the file.
            Bytes previous;
            BYTE* pOld = NULL;
            UINT nOld = 0;
            BOOL bHadOld = store.GetProfileBinary(strControls, "Controls", &pOld, &nOld) && pOld;
            if (bHadOld)
                previous.assign(pOld, pOld + nOld);
            delete[] pOld;
            BYTE* pBack = NULL;
            UINT nBack = 0;
            BOOL bWritten = store.WriteProfileBinary(strControls, "Controls", block.data(), (UINT)block.size()) &&
                            store.GetProfileBinary(strControls, "Controls", &pBack, &nBack) && pBack &&
                            nBack == block.size() && memcmp(pBack, block.data(), nBack) == 0;
            delete[] pBack;
            if (bWritten) {
                store.WriteProfileInt(strControls, "LoadFromFile", 0);
            } else {
                // Put back what was there before.
                if (bHadOld)
                    store.WriteProfileBinary(strControls, "Controls", previous.data(), (UINT)previous.size());
                else
                    store.DeleteProfileValue(strControls, "Controls");
                bToFile = TRUE;
            }
        }
        if (bToFile) {
            CString strPath = GetLayoutFilePath(lpszProfileName);
            if (!WriteFileSafely(strPath, block))
                return;
            store.WriteProfileString(strControls, "Controls", strPath);
            store.WriteProfileInt(strControls, "LoadFromFile", 1);
        }
    }

    // Where each toolbar sits.
    CSize szScreen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    int nIndex = 0;
    for (CQXPToolBar* pBar : m_arrBars) {
        CString strSection;
        strSection.Format("%s-Bar%d", lpszProfileName, nIndex++);
        store.WriteProfileString(strSection, NULL, NULL);
        store.WriteProfileInt(strSection, "BarID", (int)pBar->GetBarID());
        if (!pBar->IsVisible())
            store.WriteProfileInt(strSection, "Visible", 0);
        BOOL bFloating = pBar->GetPosition() == qxpBarFloating;
        if (bFloating)
            store.WriteProfileInt(strSection, "Floating", 1);
        CPoint pt(-1, -1);
        if (::IsWindow(pBar->GetSafeHwnd())) {
            CRect rc;
            ::GetWindowRect(pBar->GetSafeHwnd(), &rc);
            pt = rc.TopLeft();
            if (!bFloating && pBar->GetDockBar())
                ::ScreenToClient(pBar->GetDockBar()->GetSafeHwnd(), &pt);
        }
        if (pt.x != -1)
            store.WriteProfileInt(strSection, "XPos", pt.x);
        if (pt.y != -1)
            store.WriteProfileInt(strSection, "YPos", pt.y);
        if (pBar->m_nMRUWidth != 32767 && pBar->m_nMRUWidth != 0)
            store.WriteProfileInt(strSection, "MRUWidth", pBar->m_nMRUWidth);
        CQXPDockBar* pDock = pBar->GetDockBar();
        store.WriteProfileInt(strSection, "MRUDockID", pDock ? pDock->GetDlgCtrlID() : 0);
        store.WriteProfileInt(strSection, "MRUDockLeftPos", pBar->m_rcDocked.left);
        store.WriteProfileInt(strSection, "MRUDockTopPos", pBar->m_rcDocked.top);
        store.WriteProfileInt(strSection, "MRUDockRightPos", pBar->m_rcDocked.right);
        store.WriteProfileInt(strSection, "MRUDockBottomPos", pBar->m_rcDocked.bottom);
        store.WriteProfileInt(strSection, "MRUFloatXPos", 0);
        store.WriteProfileInt(strSection, "MRUFloatYPos", 0);
        CQXPDialogBar* pDialogBar = pBar->IsDialogBar() ? DYNAMIC_DOWNCAST(CQXPDialogBar, pBar) : NULL;
        store.WriteProfileInt(strSection, "DialogBar", pDialogBar ? 1 : 0);
        if (pDialogBar != NULL) {
            store.WriteProfileInt(strSection, "DialogBarDockingClientCx", pDialogBar->GetDockingClientSize().cx);
            store.WriteProfileInt(strSection, "DialogBarDockingClientCy", pDialogBar->GetDockingClientSize().cy);
            store.WriteProfileInt(strSection, "DialogBarFloatingClientCx", pDialogBar->GetFloatingClientSize().cx);
            store.WriteProfileInt(strSection, "DialogBarFloatingClientCy", pDialogBar->GetFloatingClientSize().cy);
        }
    }
    CString strSummary = ProfileSection(lpszProfileName, "%s-Summary");
    store.WriteProfileInt(strSummary, "Bars", nIndex);
    store.WriteProfileInt(strSummary, "ScreenCX", szScreen.cx);
    store.WriteProfileInt(strSummary, "ScreenCY", szScreen.cy);

    // The rows of the four dock bars.
    for (int i = 0; i < 4; i++) {
        CString strSection;
        strSection.Format("%s-DockBar%d", lpszProfileName, i);
        store.WriteProfileString(strSection, NULL, NULL);
        CQXPDockBar* pDock = m_pDocks[i];
        if (!pDock || pDock->m_arrBars.size() <= 1)
            continue;
        int nWritten = 0;
        for (size_t j = 0; j < pDock->m_arrBars.size(); j++) {
            CQXPToolBar* pBar = pDock->m_arrBars[j];
            if (!pBar && j > 0 && !pDock->m_arrBars[j - 1])
                continue; // two row breaks are one
            CString strName;
            strName.Format("Bar#%d", nWritten++);
            store.WriteProfileInt(strSection, strName, pBar ? (int)pBar->GetBarID() : 0);
        }
        store.WriteProfileInt(strSection, "Bars", nWritten);
    }
    CWnd* pStatus = m_pFrame ? m_pFrame->GetDlgItem(kStatusBarId) : NULL;
    if (pStatus && !pStatus->IsWindowVisible())
        store.WriteProfileInt(lpszProfileName, "StatusBar", 0);
    else
        store.DeleteProfileValue(lpszProfileName, "StatusBar");
    m_bLayoutChanged = FALSE;
}

void CQXPCommandBars::RestoreContextMenu(CQXPPopupBar* pLoaded, CommandBarList* pList)
{
    // Other popups come along through the controls that open them.
    if (!pLoaded || !pLoaded->m_bContextMenu)
        return;
    pLoaded->RestorePopups(pList);
    CQXPPopupBar* pMenu = FindContextMenu(pLoaded->GetBarID());
    if (!pMenu) {
        // A menu the program no longer registers is kept as loaded.
        AddContextMenu(pLoaded);
        if (!pLoaded->GetControls()->GetOriginalControls())
            pLoaded->GetControls()->CreateOriginalControls();
        return;
    }
    // The program's menu takes the user's controls and keeps its own
    // original ones to go back to.
    CQXPControls* pControls = pMenu->GetControls();
    CQXPOriginalControls* pOriginal = pControls->GetOriginalControls();
    if (pOriginal)
        pOriginal->InternalAddRef();
    pControls->Copy(pLoaded->GetControls(), TRUE);
    if (pOriginal)
        pControls->SetOriginalControls(pOriginal);
    pMenu->DelayLayout();
}

void CQXPCommandBars::RestoreCommandBarList(CommandBarList* pList, BOOL bSilent)
{
    // Toolbars merge into the program's bars of the same id; popups come
    // along through the controls that name them.
    for (int i = 0; i < pList->GetCount(); i++) {
        CQXPToolBar* pLoaded = dynamic_cast<CQXPToolBar*>(pList->GetAt(i));
        if (!pLoaded) {
            RestoreContextMenu(dynamic_cast<CQXPPopupBar*>(pList->GetAt(i)), pList);
            continue;
        }
        pLoaded->RestorePopups(pList);
        CQXPToolBar* pBar = GetToolBar(pLoaded->GetBarID());
        if (pBar && pBar->GetRuntimeClass() == pLoaded->GetRuntimeClass()) {
            pBar->MergeLoadedBar(pLoaded, bSilent);
            CQXPMenuBar* pMenuBar = dynamic_cast<CQXPMenuBar*>(pBar);
            CQXPMenuBar* pLoadedMenu = dynamic_cast<CQXPMenuBar*>(pLoaded);
            if (pMenuBar && pLoadedMenu) {
                for (auto& entry : pLoadedMenu->m_mapDocMenus) {
                    if (!pMenuBar->FindMDIMenu(entry.first))
                        pMenuBar->SetMDIMenu(entry.first, entry.second->GetControls());
                }
            }
        } else if (!pBar && pLoaded->GetBarID() != 0 && pLoaded->GetPosition() >= qxpBarTop &&
                   pLoaded->GetPosition() <= qxpBarRight &&
                   (!dynamic_cast<CQXPMenuBar*>(pLoaded) || pLoaded->IsRibbonBar())) {
            // A bar the user made, or a ribbon under an id of its own: it
            // joins the manager.
            CQXPDockBar* pDock = m_pDocks[pLoaded->GetPosition()];
            if (pDock && pLoaded->CreateToolBar(WS_VISIBLE, pDock, pLoaded->GetBarID())) {
                pLoaded->InternalAddRef();
                m_arrBars.push_back(pLoaded);
                pDock->DockCommandBar(pLoaded, NULL);
            }
        }
    }
}

void CQXPCommandBars::LoadBarState(LPCSTR lpszProfileName, BOOL bSilent)
{
    CQXProfileStore store;
    CString strControls = ProfileSection(lpszProfileName, "%s-Controls");

    // The contents. Anything unreadable leaves the bars as the program made
    // them; the placement below still runs.
    if (m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd())) {
        CQXPCompressedMemFile file;
        BOOL bHave = FALSE;
        if (store.GetProfileInt(strControls, "LoadFromFile", 0) == 1) {
            CString strPath = store.GetProfileString(strControls, "Controls", "");
            bHave = !strPath.IsEmpty() && file.ReadWholeFile(strPath);
        } else {
            BYTE* pData = NULL;
            UINT nBytes = 0;
            if (store.GetProfileBinary(strControls, "Controls", &pData, &nBytes) && pData)
                bHave = file.AttachCompressed(pData, nBytes, FALSE);
            delete[] pData;
        }
        if (bHave) {
            CommandBarsExchangeParam param;
            param.bOnlyCustomized = TRUE;
            param.bSilent = bSilent;
            param.pCommandBars = this;
            CommandBarList list;
            if (LoadBarList(this, file, list, param))
                RestoreCommandBarList(&list, bSilent);
        }
    }

    // Placement.
    CString strSummary = ProfileSection(lpszProfileName, "%s-Summary");
    int nBars = store.GetProfileInt(strSummary, "Bars", 0);
    CSize szSaved(store.GetProfileInt(strSummary, "ScreenCX", 0), store.GetProfileInt(strSummary, "ScreenCY", 0));
    CSize szScreen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    BOOL bRescale = szSaved.cx > 0 && szSaved.cy > 0 && szSaved != szScreen;
    CSize szIcon(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
    if (nBars < 0 || nBars > kMaxSavedBars) {
        // Damaged: the bars keep the places the program gave them.
        RecalcFrameLayout(FALSE);
        m_bLayoutChanged = FALSE;
        return;
    }

    // The dock-bar rows.
    for (int i = 0; i < 4; i++) {
        CString strSection;
        strSection.Format("%s-DockBar%d", lpszProfileName, i);
        int nEntries = store.GetProfileInt(strSection, "Bars", 0);
        CQXPDockBar* pDock = m_pDocks[i];
        if (!pDock || nEntries <= 1 || nEntries > kMaxSavedRowEntries)
            continue;
        std::vector<CQXPToolBar*> rows;
        for (int j = 0; j < nEntries; j++) {
            CString strName;
            strName.Format("Bar#%d", j);
            int nId = store.GetProfileInt(strSection, strName, 0);
            CQXPToolBar* pBar = nId ? GetToolBar((UINT)nId) : NULL;
            if (pBar && std::find(rows.begin(), rows.end(), pBar) != rows.end())
                pBar = NULL; // named twice: damaged
            rows.push_back(pBar);
        }
        // Bars listed here leave the rows they were in.
        for (CQXPToolBar* pBar : rows) {
            if (!pBar)
                continue;
            if (pBar->GetDockBar())
                pBar->GetDockBar()->RemoveCommandBar(pBar);
            if (::IsWindow(pBar->GetSafeHwnd()) && ::GetParent(pBar->GetSafeHwnd()) != pDock->GetSafeHwnd())
                ::SetParent(pBar->GetSafeHwnd(), pDock->GetSafeHwnd());
            pBar->SetDockBar(pDock);
            pBar->SetBarPosition(pDock->GetPosition());
        }
        // The saved rows go first, the bars not named keep their rows after.
        std::vector<CQXPToolBar*> arr;
        arr.push_back(NULL);
        for (CQXPToolBar* pBar : rows) {
            if (!pBar && arr.back() == NULL)
                continue;
            arr.push_back(pBar);
        }
        if (arr.back() != NULL)
            arr.push_back(NULL);
        for (size_t k = 1; k < pDock->m_arrBars.size(); k++) {
            CQXPToolBar* pBar = pDock->m_arrBars[k];
            if (!pBar && arr.back() == NULL)
                continue;
            arr.push_back(pBar);
        }
        if (arr.back() != NULL)
            arr.push_back(NULL);
        pDock->m_arrBars = arr;
    }

    CWnd* pStatus = m_pFrame ? m_pFrame->GetDlgItem(kStatusBarId) : NULL;
    if (pStatus && store.GetProfileInt(lpszProfileName, "StatusBar", 1) == 0)
        pStatus->ShowWindow(SW_HIDE);

    // Each toolbar's own record.
    for (int i = 0; i < nBars; i++) {
        CString strSection;
        strSection.Format("%s-Bar%d", lpszProfileName, i);
        int nId = store.GetProfileInt(strSection, "BarID", 0);
        CQXPToolBar* pBar = nId ? GetToolBar((UINT)nId) : NULL;
        if (!pBar)
            continue;
        CQXPDialogBar* pDialogBar = pBar->IsDialogBar() ? DYNAMIC_DOWNCAST(CQXPDialogBar, pBar) : NULL;
        if (pDialogBar != NULL && store.GetProfileInt(strSection, "DialogBar", 0) == 1) {
            // Client sizes outside any screen are damage: the bar keeps its own.
            CSize szDocked(store.GetProfileInt(strSection, "DialogBarDockingClientCx", 200),
                           store.GetProfileInt(strSection, "DialogBarDockingClientCy", 200));
            CSize szFloating(store.GetProfileInt(strSection, "DialogBarFloatingClientCx", 200),
                             store.GetProfileInt(strSection, "DialogBarFloatingClientCy", 200));
            auto usable = [](CSize sz) { return sz.cx > 0 && sz.cy > 0 && sz.cx <= 0x10000 && sz.cy <= 0x10000; };
            if (usable(szDocked))
                pDialogBar->SetDockingClientSize(szDocked);
            if (usable(szFloating))
                pDialogBar->SetFloatingClientSize(szFloating);
        }
        BOOL bVisible = store.GetProfileInt(strSection, "Visible", 1) != 0;
        BOOL bFloating = store.GetProfileInt(strSection, "Floating", 0) != 0;
        CPoint pt(store.GetProfileInt(strSection, "XPos", -1), store.GetProfileInt(strSection, "YPos", -1));
        int nMRUWidth = store.GetProfileInt(strSection, "MRUWidth", 32767);
        CRect rcDocked(store.GetProfileInt(strSection, "MRUDockLeftPos", 0),
                       store.GetProfileInt(strSection, "MRUDockTopPos", 0),
                       store.GetProfileInt(strSection, "MRUDockRightPos", 0),
                       store.GetProfileInt(strSection, "MRUDockBottomPos", 0));
        if (rcDocked.Width() < 0 || rcDocked.Height() < 0 || rcDocked.Width() > 0x10000 || rcDocked.Height() > 0x10000)
            rcDocked.SetRectEmpty();
        if (nMRUWidth != 32767 && nMRUWidth > 0 && nMRUWidth < 0x10000)
            pBar->m_nMRUWidth = nMRUWidth;
        if (pBar->GetDockBar() && pt.x != -1 && pt.y != -1) {
            // Docked: the position along the row is where the bar asks to go.
            BOOL bHorz = pBar->GetDockBar()->IsHorizontal();
            CRect rcDock;
            ::GetClientRect(pBar->GetDockBar()->GetSafeHwnd(), &rcDock);
            int nAlong = bHorz ? pt.x : pt.y;
            if (nAlong < 0 || nAlong > 0x8000)
                nAlong = 0;
            pBar->m_rcDocked = bHorz ? CRect(nAlong, 0, nAlong + std::max(0, rcDocked.Width()), 0)
                                     : CRect(0, nAlong, 0, nAlong + std::max(0, rcDocked.Height()));
        } else if (!rcDocked.IsRectEmpty()) {
            CRect rcWork = QxpWorkAreaFor(rcDocked);
            QxpAdjustSavedRect(rcDocked, bRescale, szSaved, szScreen, rcWork);
            pBar->m_rcDocked = rcDocked;
        }
        if (bFloating && pt.x != -1 && pt.y != -1 && ::IsWindow(pBar->GetSafeHwnd()) &&
            pBar->GetBarID() != 1) {
            // A floating bar comes back where it was, on a screen that
            // still exists.
            CRect rcProbe(pt, CSize(1, 1));
            CRect rcWork = QxpWorkAreaFor(rcProbe);
            QxpAdjustSavedPoint(pt, bRescale, szSaved, szScreen, rcWork, szIcon);
            pBar->m_bVisible = bVisible;
            pBar->SetFloating(pt);
        } else if (!bFloating && pBar->IsFloating()) {
            int nSide = 0;
            for (int k = 0; k < 4; k++)
                if (m_pDocks[k] && m_pDocks[k]->GetDlgCtrlID() == store.GetProfileInt(strSection, "MRUDockID", 0))
                    nSide = k;
            pBar->DockTo(nSide, NULL);
        }
        if (bVisible != pBar->IsVisible())
            pBar->SetVisible(bVisible);
    }
    RecalcFrameLayout(FALSE);
    m_bLayoutChanged = FALSE;
}
