// The "Active Files" list and the tab-group menu as popup bars of the
// command bars.
#include <qx/tabbars.h>
#include <qx/barcontrols.h>
#include <qx/listcontrols.h>
#include <qx/commandbars.h>
#include <qx/control.h>
#include <qx/images.h>
#include <qx/popup.h>

CQXPPopupBar* CQXPCommandBarsActiveFiles::BuildPopup(const std::vector<Item>& items)
{
    CQXPPopupBar* pPopup = CQXPPopupBar::CreatePopupBar(m_pCommandBars);
    if (!pPopup)
        return NULL;
    CQXPImageManager* pImages = pPopup->GetImageManager();
    for (size_t i = 0; i < items.size(); ++i) {
        CQXPControl* pControl = pPopup->GetControls()->Add(qxpControlButton, (int)i + 1);
        if (!pControl)
            continue;
        // Captions show their ampersands as typed.
        CString strCaption = items[i].strCaption;
        strCaption.Replace("&", "&&");
        pControl->SetCaption(strCaption);
        if (!items[i].hIcon || !pImages)
            continue;
        int nIconId = 0;
        for (const auto& known : m_icons)
            if (known.first == items[i].hIcon)
                nIconId = known.second;
        if (!nIconId) {
            nIconId = m_nNextIconId++;
            pImages->SetIcon(CQXPIconHandle(items[i].hIcon), nIconId, 16, 16);
            m_icons.push_back({items[i].hIcon, nIconId});
        }
        pControl->SetIconId(nIconId);
    }
    return pPopup;
}

int CQXPCommandBarsActiveFiles::Track(CWnd* pOwner, const std::vector<Item>& items, POINT pt, const RECT& rcExclude)
{
    CQXPPopupBar* pPopup = BuildPopup(items);
    if (!pPopup)
        return -1;
    const int nCmd = CQXPCommandBars::TrackPopupMenu(pPopup, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, pt.x, pt.y,
                                                     pOwner, &rcExclude);
    pPopup->InternalRelease();
    return nCmd - 1;
}

CQXPPopupBar* CQXPCommandBarsTabGroups::BuildPopup()
{
    CQXPPopupBar* pPopup = CQXPPopupBar::CreatePopupBar(m_pCommandBars);
    if (!pPopup)
        return NULL;
    pPopup->GetControls()->Add(qxpControlButton, QXP_ID_WORKSPACEACTIONS);
    if (CQXPControl* pCancel = pPopup->GetControls()->Add(qxpControlButton, QX_ID_WORKSPACE_CANCEL))
        pCancel->SetBeginGroup(TRUE);
    return pPopup;
}

UINT CQXPCommandBarsTabGroups::Track(CWnd* pOwner, POINT pt)
{
    CQXPPopupBar* pPopup = BuildPopup();
    if (!pPopup)
        return 0;
    // The list asks the owner frame's MDI client which commands apply.
    if (pOwner)
        pPopup->SetOwnerSite(pOwner);
    const int nCmd =
        CQXPCommandBars::TrackPopupMenu(pPopup, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, pt.x, pt.y, pOwner);
    pPopup->InternalRelease();
    return nCmd > 0 ? (UINT)nCmd : 0;
}
