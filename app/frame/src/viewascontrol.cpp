// viewascontrol.cpp - the syntax configurations in the View As menu.
#include "viewascontrol.h"

#include "editorframe.h"
#include "lexerconfig.h"
#include "quillmateapp.h"
#include "textframe.h"

#include <resource.h>

#include <qx/commandbar.h>
#include <qx/barcontrols.h>

IMPLEMENT_DYNCREATE(CControlViewAsParser, CQXPControlButton)

CControlViewAsParser::CControlViewAsParser() {}

void CControlViewAsParser::RemoveOldItems()
{
    if (m_pControls == NULL)
        return;
    for (;;) {
        CQXPControl* pNext = m_pControls->GetAt(m_nIndex + 1);
        if (pNext == NULL || !pNext->IsTemporary() || pNext->GetID() < ID_VIEW_AS_PARSER ||
            pNext->GetID() >= ID_VIEW_AS_PARSER + 25)
            break;
        m_pControls->Remove(pNext);
    }
}

void CControlViewAsParser::OnCalcDynamicSize(DWORD)
{
    CQXPCommandBar* pBar = GetParent();
    if (pBar == NULL || pBar->GetType() != qxpBarTypePopup)
        return;
    RemoveOldItems();
    // The language of the focused document frame, when it is a text frame
    // with a view.
    CQuillmateApp* pApp = GetQuillmateApp();
    CScintillaFrame* pFrame = pApp != NULL ? dynamic_cast<CScintillaFrame*>(pApp->GetFocusFrame()) : NULL;
    IEditorFrame* pMain = GetEditorFrame();
    CLexerConfigList* pList = pMain != NULL ? pMain->GetLexerConfigs() : NULL;
    if (IsCustomizeMode() || m_pControls == NULL || pFrame == NULL || pFrame->GetActiveView() == NULL ||
        pList == NULL) {
        SetHideFlags(0);
        return;
    }
    SetHideFlags(qxpHideGeneric);
    int nInsert = m_nIndex + 1;
    const int nCurrent = pFrame->GetViewAsIndex();
    for (int i = 0; i < pList->GetCount() && i < VIEW_AS_MAX_ENTRIES; ++i) {
        CQXPControl* pItem = m_pControls->Add(qxpControlButton, ID_VIEW_AS_PARSER + i, CString(), nInsert++, TRUE);
        if (pItem == NULL)
            break;
        pItem->SetCaption(pList->GetAt(i).GetMenuText());
        pItem->SetStyle(qxpButtonCaption);
        pItem->SetChecked(i == nCurrent);
        if (i == 0 && GetBeginGroup())
            pItem->SetBeginGroup(TRUE);
    }
}
