// CCmdTarget: command maps, command routing, reference counting and the
// wait cursor.
#include "fx/cmdtarget.h"
#include "fx/cmdui.h"
#include "fx/wnd.h"

namespace {

// Splits an OnCmdMsg code into the entry message and the 16-bit code.
void DecodeCode(int nCode, UINT& nMsg, UINT& nCodeLow)
{
    nMsg = HIWORD((UINT)nCode);
    nCodeLow = LOWORD((UINT)nCode);
    // CN_UPDATE_COMMAND_UI (-1) and plain codes are WM_COMMAND.
    if (nMsg == 0 || nMsg == 0xFFFF)
        nMsg = WM_COMMAND;
}

bool MatchesCommand(const AFX_MSGMAP_ENTRY* e, UINT nMsg, UINT nCode, UINT nID)
{
    return e->nKind == fx::msg::kCommand && e->nMessage == nMsg && (WORD)e->nCode == (WORD)nCode && nID >= e->nID &&
           nID <= e->nLastID;
}

bool IsUpdateCode(UINT nCodeLow) { return nCodeLow == (WORD)CN_UPDATE_COMMAND_UI; }

bool IsNotifyMessage(UINT nMsg) { return nMsg == WM_NOTIFY || nMsg == WM_REFLECT_BASE + WM_NOTIFY; }

} // namespace

const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode, UINT nID)
{
    for (; lpEntry != NULL && lpEntry->nMessage != 0; ++lpEntry) {
        if (MatchesCommand(lpEntry, nMsg, nCode, nID))
            return lpEntry;
    }
    return NULL;
}

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, 0, NULL, NULL}};
    static const AFX_MSGMAP map = {NULL, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT nMsg, nCodeLow;
    DecodeCode(nCode, nMsg, nCodeLow);
    const bool bUpdate = IsUpdateCode(nCodeLow);

    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->nMessage != 0; ++e) {
            if (!MatchesCommand(e, nMsg, nCodeLow, nID))
                continue;
            if (pHandlerInfo != NULL) {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pEntry = e;
                return TRUE;
            }
            // Handlers that need their extra data cannot run without it.
            if ((bUpdate || IsNotifyMessage(nMsg)) && pExtra == NULL)
                return FALSE;

            fx::msg::Call call = {};
            call.message = nMsg;
            call.nID = nID;
            call.nCode = nCodeLow;
            call.pExtra = pExtra;
            if (bUpdate) {
                CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
                pCmdUI->m_bContinueRouting = FALSE;
                e->pfnThunk(this, call);
                if (!pCmdUI->m_bContinueRouting)
                    return TRUE;
                // The handler passed the update on: no other entry of this
                // object is asked, the routing goes to the next target.
                return FALSE;
            }
            if (e->pfnThunk(this, call))
                return TRUE;
            // An _EX handler declined: later entries (and base classes) may
            // still take the command.
        }
    }
    return FALSE;
}

DWORD CCmdTarget::InternalAddRef()
{
    return (DWORD)InterlockedIncrement(&m_dwRef);
}

DWORD CCmdTarget::InternalRelease()
{
    if (m_dwRef == 0)
        return 0;
    LONG lResult = InterlockedDecrement(&m_dwRef);
    if (lResult == 0)
        OnFinalRelease();
    return (DWORD)lResult;
}

void CCmdTarget::OnFinalRelease()
{
    delete this;
}

void CCmdTarget::BeginWaitCursor() { AfxDoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { AfxDoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { AfxDoWaitCursor(0); }
