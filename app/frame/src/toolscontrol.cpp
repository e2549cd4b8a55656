// toolscontrol.cpp - the external tools in the Tools menu.
#include "toolscontrol.h"

#include "toollist.h"

#include <qx/barcontrols.h>

namespace {
CToolList* (*g_pfnSource)() = NULL;
}

IMPLEMENT_DYNCREATE(CControlTools, CQXPControlButton)

CControlTools::CControlTools() {}

void CControlTools::SetToolListSource(CToolList* (*pfnSource)())
{
    g_pfnSource = pfnSource;
}

void CControlTools::RemoveOldItems()
{
    if (m_pControls == NULL)
        return;
    for (;;) {
        CQXPControl* pNext = m_pControls->GetAt(m_nIndex + 1);
        if (pNext == NULL || !pNext->IsTemporary() || pNext->GetID() != ID_TOOLS_LIST_ENTRY)
            break;
        m_pControls->Remove(pNext);
    }
}

void CControlTools::OnCalcDynamicSize(DWORD)
{
    RemoveOldItems();
    CToolList* pTools = g_pfnSource != NULL ? g_pfnSource() : NULL;
    if (IsCustomizeMode() || pTools == NULL || m_pControls == NULL) {
        SetHideFlags(0);
        return;
    }
    SetHideFlags(qxpHideGeneric);
    int nInsert = m_nIndex + 1;
    for (int i = 0; i < pTools->GetCount(); ++i) {
        const CToolRecord& tool = pTools->GetAt(i);
        CQXPControl* pItem = m_pControls->Add(qxpControlButton, ID_TOOLS_LIST_ENTRY, CString(), nInsert++, TRUE);
        if (pItem == NULL)
            break;
        pItem->SetCaption(tool.strMenuText);
        pItem->SetStyle(qxpButtonCaption);
        CString index;
        index.Format("%d", i);
        pItem->SetParameter(index);
        if (tool.nIconId != 0)
            pItem->SetIconId(tool.nIconId);
        if (i == 0 && GetBeginGroup())
            pItem->SetBeginGroup(TRUE);
    }
}
