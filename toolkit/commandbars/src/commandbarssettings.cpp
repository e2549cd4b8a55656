// The options of a command bars manager and their stored form.

#include <qx/commandbarssettings.h>
#include <qx/barstate.h>
#include <qx/commandbars.h>
#include <qx/propexchange.h>
#include <qx/themes.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CQXPCommandBarsSettings, CCmdTarget)

CQXPCommandBarsSettings::CQXPCommandBarsSettings(CQXPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

namespace {

// A set of command ids as a sub-section of "Item%i" values (with "Count").
// Written when not empty or when the exchange keeps empty sections.
void ExchangeCommandSet(CQXPPropExchange* pPX, LPCSTR lpszSection, std::vector<int>& ids)
{
    PropExchangeSectionPtr section(pPX, lpszSection);
    if (!section.get())
        return;
    if (pPX->IsStoring()) {
        if (ids.empty() && section->CanSkipDefaults())
            return;
        int nCount = (int)ids.size();
        ExchangeIntProp(section, "Count", &nCount, 0);
        QxpWriteIdItems(section, ids);
        return;
    }
    int nCount = 0;
    ExchangeIntProp(section, "Count", &nCount, 0);
    if (nCount <= 0 || nCount >= 0x10000) {
        // No count keeps the set; a damaged one empties it.
        if (nCount != 0)
            ids.clear();
        return;
    }
    ids.clear();
    for (int nId : QxpReadIdItems(section, nCount)) {
        // Loading is no change of the usage data.
        if (nId != 0 && std::find(ids.begin(), ids.end(), nId) == ids.end())
            ids.push_back(nId);
    }
}

// A stored icon size: negative or absurd sides (a damaged store) mean "not
// set" rather than a window-sized icon.
CSize SaneIconSize(SIZE sz)
{
    const int nMax = CQXPCommandBarsSettings::kMaxIconSide;
    return sz.cx > 0 && sz.cy > 0 && sz.cx <= nMax && sz.cy <= nMax ? CSize(sz) : CSize(0, 0);
}

} // namespace

void CQXPCommandBarsSettings::DoPropExchange(CQXPPropExchange* pPX, BOOL bFull)
{
    pPX->SchemaProp();
    UINT nSchema = pPX->GetSchema();
    ExchangeBoolProp(pPX, "AlwaysShowFullMenus", &m_bAlwaysShowFullMenus, TRUE);
    ExchangeBoolProp(pPX, "ShowFullAfterDelay", &m_bShowFullAfterDelay, TRUE);
    ExchangeBoolProp(pPX, "ToolBarScreenTips", &m_bToolBarScreenTips, TRUE);
    ExchangeBoolProp(pPX, "ToolBarAccelTips", &m_bToolBarAccelTips, FALSE);
    ExchangeBoolProp(pPX, "LargeIcons", &m_bLargeIcons, FALSE);
    if (nSchema >= 8)
        ExchangeCommandSet(pPX, "UsedCommands", m_usedCommands);
    ExchangeIntProp(pPX, "Animation", &m_nAnimation, 0);
    if (pPX->IsLoading() && (m_nAnimation < 0 || m_nAnimation > kMaxAnimation))
        m_nAnimation = 0;
    if (!bFull)
        return;
    // The rest only travels in the options' own archive. A detached record
    // exchanges placeholders for the paint manager's icon options.
    QXP_ICONS_INFO iconsOwn = {TRUE, TRUE, FALSE, FALSE};
    QXP_ICONS_INFO* pIcons = m_pCommandBars ? m_pCommandBars->GetPaintManager()->GetIconsInfo() : &iconsOwn;
    SIZE szIcons = m_szIcons, szLarge = m_szLargeIcons, szPopupIcons = m_szPopupIcons;
    ExchangeBoolProp(pPX, "SyncFloatingBars", &m_bSyncFloatingBars, TRUE);
    ExchangeBoolProp(pPX, "ShowExpandButtonAlways", &m_bShowExpandButtonAlways, TRUE);
    ExchangeSizeProp(pPX, "IconsSize", &szIcons, SIZE{0, 0});
    ExchangeSizeProp(pPX, "LargeIconsSize", &szLarge, SIZE{0, 0});
    ExchangeCommandSet(pPX, "HiddenCommands", m_hiddenCommands);
    ExchangeBoolProp(pPX, "IconsWithShadow", &pIcons->bIconsWithShadow, FALSE);
    ExchangeBoolProp(pPX, "UseDisabledIcons", &pIcons->bUseDisabledIcons, TRUE);
    ExchangeBoolProp(pPX, "UseFadedIcons", &pIcons->bUseFadedIcons, TRUE);
    if (nSchema >= 8) {
        ExchangeBoolProp(pPX, "SyncFloatingBars", &m_bSyncFloatingBars, TRUE);
        ExchangeBoolProp(pPX, "ShowExpandButtonAlways", &m_bShowExpandButtonAlways, TRUE);
        ExchangeBoolProp(pPX, "DblClickFloat", &m_bDblClickFloat, FALSE);
        ExchangeBoolProp(pPX, "ShowTextBelowIcons", &m_bShowTextBelowIcons, FALSE);
        ExchangeBoolProp(pPX, "AltDragCustomization", &m_bAltDragCustomization, TRUE);
        ExchangeBoolProp(pPX, "AutoHideUnusedPopups", &m_bAutoHideUnusedPopups, TRUE);
        ExchangeSizeProp(pPX, "PopupIconsSize", &szPopupIcons, SIZE{0, 0});
    }
    m_szIcons = SaneIconSize(szIcons);
    m_szLargeIcons = SaneIconSize(szLarge);
    m_szPopupIcons = SaneIconSize(szPopupIcons);
    if (nSchema >= 9) {
        int nCuesUse = m_nKeyboardCuesUse, nCuesShow = m_nKeyboardCuesShow;
        ExchangeIntProp(pPX, "KeyboardCuesUse", &nCuesUse, 1);
        ExchangeIntProp(pPX, "KeyboardCuesShow", &nCuesShow, 0);
        if (pPX->IsLoading()) {
            m_nKeyboardCuesUse = nCuesUse & 7;
            m_nKeyboardCuesShow = nCuesShow >= 0 && nCuesShow <= 2 ? nCuesShow : 0;
            if (m_pCommandBars)
                m_pCommandBars->SetKeyboardCues(m_nKeyboardCuesShow);
        }
    }
}

void CQXPCommandBarsSettings::Serialize(CArchive& ar)
{
    CQXPPropExchangeArchive px(ar);
    DoPropExchange(&px, TRUE);
}
