// fx/cmdtarget.h - CCmdTarget, the base of objects that receive commands
// (threads, the application, windows, documents), with message maps,
// command routing and reference counting.
//
// Message maps
// ------------
// A class that handles messages declares DECLARE_MESSAGE_MAP() in its body
// and lists its handlers in the source file:
//
//     BEGIN_MESSAGE_MAP(CMyView, CView)
//         ON_WM_SIZE()
//         ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
//         ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
//         ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
//     END_MESSAGE_MAP()
//
// Each entry is built from a typed pointer to the handler; the entry's
// template only accepts the handler signature it can call, so a wrong
// signature is a compile error, not a crash. Handlers are named bare (no
// class prefix, no '&'). The maps of a class chain to its base class's map:
// the first matching entry, searching the most derived class first, wins.
//
// Command entries are matched by (message, code, id): WM_COMMAND entries with
// code CN_COMMAND (0) take menu and accelerator commands and controls' code-0
// notifications (BN_CLICKED); a control notification with another code only
// matches ON_CONTROL-style entries for that code, never ON_COMMAND. Codes
// given to OnCmdMsg carry the message in their high word: 0 or WM_COMMAND
// for commands and control notifications, WM_NOTIFY for ON_NOTIFY entries,
// WM_REFLECT_BASE + WM_COMMAND / WM_NOTIFY for notifications reflected to the
// control that sent them. CN_UPDATE_COMMAND_UI (-1) asks update handlers.
//
// Reference counting
// ------------------
// m_dwRef starts at 1; InternalRelease at zero calls OnFinalRelease, which
// deletes the object.
#pragma once

#include "fx/core.h"
#include <type_traits>

class CCmdTarget;
class CCmdUI;
struct AFX_MSGMAP_ENTRY;

// ---------------------------------------------------------------------------
// Codes and message numbers shared by routing and reflection.
#ifndef CN_COMMAND
#define CN_COMMAND 0
#endif
#ifndef CN_UPDATE_COMMAND_UI
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
#endif
// Notifications a parent reflects to the child window that sent them arrive
// at the child as WM_REFLECT_BASE + the original message (0xBD11 for
// WM_COMMAND, 0xBC4E for WM_NOTIFY).
#ifndef WM_REFLECT_BASE
#define WM_REFLECT_BASE 0xBC00
#endif

// The extra data of a WM_NOTIFY routed through OnCmdMsg.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled by OnCmdMsg, instead of calling the handler, when asked whether a
// handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

namespace fx {
namespace msg {

// The arguments of one dispatch, and its result.
struct Call {
    UINT message; // window message (window entries)
    WPARAM wParam;
    LPARAM lParam;
    LRESULT lResult;
    UINT nID;     // control or command id (command entries)
    UINT nCode;   // notification code, or the WM_CTLCOLOR type
    void* pExtra; // CCmdUI* or AFX_NOTIFY* (command entries)
};

// Calls the handler; FALSE when the handler declined (the _EX forms and
// reflected colour handlers returning NULL), so the search goes on.
typedef BOOL (*Thunk)(CCmdTarget* pTarget, Call& call);

enum Kind : UINT {
    kWindow = 1,  // a window message, dispatched by CWnd::OnWndMsg
    kCommand = 2, // a command, control or WM_NOTIFY notification, by OnCmdMsg
};

// Message number used by entries whose message is a registered message
// kept in a variable.
const UINT kRegistered = 0xC000;

// The handler converted to the pointer type the entry can call. Fails to
// compile when the handler has another signature.
template <class Pmf, auto F>
constexpr Pmf Handler()
{
    static_assert(std::is_member_function_pointer<decltype(F)>::value,
                  "message-map entry: the handler must be a member function");
    static_assert(std::is_convertible<decltype(F), Pmf>::value,
                  "message-map entry: the handler does not have the signature this entry calls");
    return F;
}

// --- command thunks -----------------------------------------------------
template <class T, auto F>
BOOL Cmd_v(CCmdTarget* p, Call&)
{
    (static_cast<T*>(p)->*Handler<void (T::*)(), F>())();
    return TRUE;
}
template <class T, auto F>
BOOL Cmd_b(CCmdTarget* p, Call&)
{
    return (static_cast<T*>(p)->*Handler<BOOL (T::*)(), F>())();
}
template <class T, auto F>
BOOL Cmd_v_u(CCmdTarget* p, Call& c)
{
    (static_cast<T*>(p)->*Handler<void (T::*)(UINT), F>())(c.nID);
    return TRUE;
}
template <class T, auto F>
BOOL Cmd_b_u(CCmdTarget* p, Call& c)
{
    return (static_cast<T*>(p)->*Handler<BOOL (T::*)(UINT), F>())(c.nID);
}
template <class T, auto F>
BOOL CmdUI(CCmdTarget* p, Call& c)
{
    (static_cast<T*>(p)->*Handler<void (T::*)(CCmdUI*), F>())(static_cast<CCmdUI*>(c.pExtra));
    return TRUE;
}
template <class T, auto F>
BOOL Notify(CCmdTarget* p, Call& c)
{
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    (static_cast<T*>(p)->*Handler<void (T::*)(NMHDR*, LRESULT*), F>())(n->pNMHDR, n->pResult);
    return TRUE;
}
template <class T, auto F>
BOOL Notify_b(CCmdTarget* p, Call& c)
{
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    return (static_cast<T*>(p)->*Handler<BOOL (T::*)(NMHDR*, LRESULT*), F>())(n->pNMHDR, n->pResult);
}
template <class T, auto F>
BOOL Notify_u(CCmdTarget* p, Call& c)
{
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    (static_cast<T*>(p)->*Handler<void (T::*)(UINT, NMHDR*, LRESULT*), F>())(c.nID, n->pNMHDR, n->pResult);
    return TRUE;
}
template <class T, auto F>
BOOL Notify_b_u(CCmdTarget* p, Call& c)
{
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    return (static_cast<T*>(p)->*Handler<BOOL (T::*)(UINT, NMHDR*, LRESULT*), F>())(c.nID, n->pNMHDR,
                                                                                    n->pResult);
}

// --- plain message thunks -------------------------------------------------
template <class T, auto F>
BOOL Msg_l_w_l(CCmdTarget* p, Call& c)
{
    c.lResult = (static_cast<T*>(p)->*Handler<LRESULT (T::*)(WPARAM, LPARAM), F>())(c.wParam, c.lParam);
    return TRUE;
}
template <class T, auto F>
BOOL Msg_v_v(CCmdTarget* p, Call& c)
{
    (static_cast<T*>(p)->*Handler<void (T::*)(), F>())();
    c.lResult = 0;
    return TRUE;
}
template <class T, auto F>
BOOL Msg_v_w_l(CCmdTarget* p, Call& c)
{
    (static_cast<T*>(p)->*Handler<void (T::*)(WPARAM, LPARAM), F>())(c.wParam, c.lParam);
    c.lResult = 0;
    return TRUE;
}

} // namespace msg
} // namespace fx

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;            // message (fx::msg::kRegistered: see pnRegMessage); 0 ends the map
    UINT nCode;               // notification code (low 16 bits compared)
    UINT nID;                 // first control or command id
    UINT nLastID;             // last id of a range (== nID otherwise)
    UINT nKind;               // fx::msg::Kind
    const UINT* pnRegMessage; // the variable holding a registered message
    fx::msg::Thunk pfnThunk;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The first entry of one map (not its bases) for a command-kind message,
// code and id; NULL when there is none.
const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode,
                                                   UINT nID);

// ---------------------------------------------------------------------------
// Map declaration and definition.
#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY fxMessageEntries_[] = {

#define END_MESSAGE_MAP() \
    { \
        0, 0, 0, 0, 0, NULL, NULL \
    } \
    } \
    ; \
    static const AFX_MSGMAP fxMessageMap_ = {&TheBaseClass::GetThisMessageMap, &fxMessageEntries_[0]}; \
    (void)static_cast<ThisClass*>(NULL); \
    return &fxMessageMap_; \
    }

// A raw entry: message, code, first and last id, kind, thunk.
#define FX_MAP_ENTRY(fxMessage, fxCode, fxFirstId, fxLastId, fxKind, fxThunk) \
    {(UINT)(fxMessage), (UINT)(WORD)(fxCode), (UINT)(fxFirstId), (UINT)(fxLastId), (UINT)(fxKind), NULL, fxThunk},

#define FX_CMD_ENTRY(fxMessage, fxCode, fxFirstId, fxLastId, fxThunk, memberFxn) \
    FX_MAP_ENTRY(fxMessage, fxCode, fxFirstId, fxLastId, ::fx::msg::kCommand, \
                 (&fxThunk<ThisClass, &ThisClass::memberFxn>))

// --- commands ------------------------------------------------------------
// void memberFxn()
#define ON_COMMAND(id, memberFxn) \
    FX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, id, ::fx::msg::Cmd_v, memberFxn)
// BOOL memberFxn(UINT nID): FALSE lets the command go on to other handlers.
#define ON_COMMAND_EX(id, memberFxn) \
    FX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, id, ::fx::msg::Cmd_b_u, memberFxn)
// void memberFxn(UINT nID)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    FX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, ::fx::msg::Cmd_v_u, memberFxn)
// BOOL memberFxn(UINT nID)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    FX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, ::fx::msg::Cmd_b_u, memberFxn)
// void memberFxn(CCmdUI* pCmdUI)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    FX_CMD_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, ::fx::msg::CmdUI, memberFxn)
// Range form: the same signature; pCmdUI->m_nID tells the id.
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    FX_CMD_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, ::fx::msg::CmdUI, memberFxn)
// The update of a control's own command state, asked by its bar with id 0
// (code WM_REFLECT_BASE + WM_COMMAND, CN_UPDATE_COMMAND_UI).
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn) \
    FX_CMD_ENTRY(WM_REFLECT_BASE + WM_COMMAND, CN_UPDATE_COMMAND_UI, 0, 0, ::fx::msg::CmdUI, memberFxn)

// --- control notifications (WM_COMMAND from a control) -------------------
// void memberFxn()
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    FX_CMD_ENTRY(WM_COMMAND, wNotifyCode, id, id, ::fx::msg::Cmd_v, memberFxn)
// void memberFxn(UINT nID)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    FX_CMD_ENTRY(WM_COMMAND, wNotifyCode, id, idLast, ::fx::msg::Cmd_v_u, memberFxn)
// Reflected to the control itself: void memberFxn()
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    FX_CMD_ENTRY(WM_REFLECT_BASE + WM_COMMAND, wNotifyCode, 0, 0, ::fx::msg::Cmd_v, memberFxn)
// BOOL memberFxn(): FALSE lets the parent handle the notification as well.
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
    FX_CMD_ENTRY(WM_REFLECT_BASE + WM_COMMAND, wNotifyCode, 0, 0, ::fx::msg::Cmd_b, memberFxn)

// --- WM_NOTIFY -----------------------------------------------------------
// void memberFxn(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    FX_CMD_ENTRY(WM_NOTIFY, wNotifyCode, id, id, ::fx::msg::Notify, memberFxn)
// void memberFxn(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    FX_CMD_ENTRY(WM_NOTIFY, wNotifyCode, id, idLast, ::fx::msg::Notify_u, memberFxn)
// BOOL memberFxn(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
    FX_CMD_ENTRY(WM_NOTIFY, wNotifyCode, id, id, ::fx::msg::Notify_b_u, memberFxn)
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
    FX_CMD_ENTRY(WM_NOTIFY, wNotifyCode, id, idLast, ::fx::msg::Notify_b_u, memberFxn)
// Reflected: void memberFxn(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
    FX_CMD_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, wNotifyCode, 0, 0, ::fx::msg::Notify, memberFxn)
// BOOL memberFxn(NMHDR* pNMHDR, LRESULT* pResult): FALSE lets the parent
// handle the notification as well.
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
    FX_CMD_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, wNotifyCode, 0, 0, ::fx::msg::Notify_b, memberFxn)

// --- plain and registered messages -----------------------------------------
// LRESULT memberFxn(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(message, memberFxn) \
    FX_MAP_ENTRY(message, 0, 0, 0, ::fx::msg::kWindow, \
                 (&::fx::msg::Msg_l_w_l<ThisClass, &ThisClass::memberFxn>))
// void memberFxn(); the message's result is 0.
#define ON_MESSAGE_VOID(message, memberFxn) \
    FX_MAP_ENTRY(message, 0, 0, 0, ::fx::msg::kWindow, \
                 (&::fx::msg::Msg_v_v<ThisClass, &ThisClass::memberFxn>))
// nMessageVariable: a UINT variable holding a RegisterWindowMessage result.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    {::fx::msg::kRegistered, 0, 0, 0, ::fx::msg::kWindow, &(nMessageVariable), \
     (&::fx::msg::Msg_l_w_l<ThisClass, &ThisClass::memberFxn>)},
// Thread messages (posted with no window): void memberFxn(WPARAM, LPARAM)
#define ON_THREAD_MESSAGE(message, memberFxn) \
    FX_MAP_ENTRY(message, 0, 0, 0, ::fx::msg::kWindow, \
                 (&::fx::msg::Msg_v_w_l<ThisClass, &ThisClass::memberFxn>))
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn) \
    {::fx::msg::kRegistered, 0, 0, 0, ::fx::msg::kWindow, &(nMessageVariable), \
     (&::fx::msg::Msg_v_w_l<ThisClass, &ThisClass::memberFxn>)},

// --- control notification shorthands: void memberFxn() --------------------
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_ERRSPACE(id, memberFxn) ON_CONTROL(EN_ERRSPACE, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_ERRSPACE(id, memberFxn) ON_CONTROL(CBN_ERRSPACE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_ERRSPACE(id, memberFxn) ON_CONTROL(LBN_ERRSPACE, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
#define ON_STN_ENABLE(id, memberFxn) ON_CONTROL(STN_ENABLE, id, memberFxn)
#define ON_STN_DISABLE(id, memberFxn) ON_CONTROL(STN_DISABLE, id, memberFxn)

// ---------------------------------------------------------------------------
class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Searches this object's message map (and its bases) for a command
    // handler and calls it. nCode: CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra is
    // the CCmdUI), a control notification code, or MAKELONG(code, message)
    // for WM_NOTIFY (pExtra: AFX_NOTIFY) and the reflected forms. With
    // pHandlerInfo, only reports whether (and where) a handler exists. TRUE
    // when handled. Windows, documents and frames override this to route
    // commands on to other targets.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Reference counting.
    DWORD InternalAddRef();
    DWORD InternalRelease();
    DWORD ExternalAddRef() { return InternalAddRef(); }
    DWORD ExternalRelease() { return InternalRelease(); }
    // Called when the count reaches zero; deletes the object.
    virtual void OnFinalRelease();

    // The hourglass cursor while a long operation runs (counted).
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    LONG m_dwRef = 1;

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// Changes the thread's wait-cursor count: 1 shows the hourglass, -1 takes it
// back (the arrow returns at zero), 0 shows it again when the count is above
// zero (after a message box, for example).
void AFXAPI AfxDoWaitCursor(int nCode);
