// fx/msgmap.h - message-map entries for window messages (ON_WM_...).
//
// Each entry calls the handler with the message's parameters cracked into
// the handler's typed arguments (CPoint, CWnd*, CDC* ...). The handler name
// is fixed by the macro (ON_WM_SIZE calls OnSize) and its signature is
// checked when the map is compiled. Window objects passed to handlers are
// temporary unless attached; do not keep them.
//
// The _REFLECT forms are seen by a control when its parent reflects the
// message to it (see CWnd::OnChildNotify).
#pragma once

#include "fx/cmdtarget.h"
#include "fx/types.h"

class CWnd;
class CDC;
class CMenu;
class CScrollBar;
class CListBox;

#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
#ifndef WM_MOUSEHOVER
#define WM_MOUSEHOVER 0x02A1
#endif
#ifndef WM_MOUSELEAVE
#define WM_MOUSELEAVE 0x02A3
#endif

namespace fx {
namespace msg {

// Handle-to-object conversions for handler arguments (temporary objects for
// windows nobody attached).
CWnd* Wnd(HWND hWnd);
CDC* Dc(HDC hDC);
CMenu* Menu(HMENU hMenu);
CScrollBar* ScrollBar(HWND hWnd);
CListBox* ListBox(HWND hWnd);
HWND HwndOf(const CWnd* pWnd);

#define FX_W_THUNK(name, pmf, ...) \
    template <class T, auto F> \
    BOOL name(CCmdTarget* p, Call& c) \
    { \
        T* pT = static_cast<T*>(p); \
        auto pfn = Handler<pmf, F>(); \
        (void)pT; \
        (void)pfn; \
        __VA_ARGS__; \
        return TRUE; \
    }

// Names: W_<result>_<arguments>.
template <class T>
using Pmf_v_v = void (T::*)();
FX_W_THUNK(W_v_v, Pmf_v_v<T>, (pT->*pfn)(); c.lResult = 0)
template <class T>
using Pmf_i_cs = int (T::*)(LPCREATESTRUCTA);
FX_W_THUNK(W_i_cs, Pmf_i_cs<T>, c.lResult = (LRESULT)(pT->*pfn)((LPCREATESTRUCTA)c.lParam))
template <class T>
using Pmf_b_cs = BOOL (T::*)(LPCREATESTRUCTA);
FX_W_THUNK(W_b_cs, Pmf_b_cs<T>, c.lResult = (LRESULT)(pT->*pfn)((LPCREATESTRUCTA)c.lParam))
template <class T>
using Pmf_v_u_i_i = void (T::*)(UINT, int, int);
FX_W_THUNK(W_size, Pmf_v_u_i_i<T>, (pT->*pfn)((UINT)c.wParam, (int)LOWORD(c.lParam), (int)HIWORD(c.lParam)); c.lResult = 0)
template <class T>
using Pmf_v_i_i = void (T::*)(int, int);
FX_W_THUNK(W_move, Pmf_v_i_i<T>, (pT->*pfn)((short)LOWORD(c.lParam), (short)HIWORD(c.lParam)); c.lResult = 0)
template <class T>
using Pmf_v_W = void (T::*)(CWnd*);
FX_W_THUNK(W_v_W_w, Pmf_v_W<T>, (pT->*pfn)(Wnd((HWND)c.wParam)); c.lResult = 0)
FX_W_THUNK(W_v_W_l, Pmf_v_W<T>, (pT->*pfn)(Wnd((HWND)c.lParam)); c.lResult = 0)
template <class T>
using Pmf_b_D = BOOL (T::*)(CDC*);
FX_W_THUNK(W_b_D, Pmf_b_D<T>, c.lResult = (LRESULT)(pT->*pfn)(Dc((HDC)c.wParam)))
template <class T>
using Pmf_v_u_pt = void (T::*)(UINT, CPoint);
FX_W_THUNK(W_v_u_pt, Pmf_v_u_pt<T>, (pT->*pfn)((UINT)c.wParam, CPoint(c.lParam)); c.lResult = 0)
template <class T>
using Pmf_b_u_s_pt = BOOL (T::*)(UINT, short, CPoint);
FX_W_THUNK(W_wheel, Pmf_b_u_s_pt<T>,
           c.lResult = (LRESULT)(pT->*pfn)((UINT)LOWORD(c.wParam), (short)HIWORD(c.wParam), CPoint(c.lParam)))
template <class T>
using Pmf_i_W_u_u = int (T::*)(CWnd*, UINT, UINT);
FX_W_THUNK(W_i_W_u_u, Pmf_i_W_u_u<T>,
           c.lResult = (LRESULT)(pT->*pfn)(Wnd((HWND)c.wParam), (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam)))
template <class T>
using Pmf_b_W_u_u = BOOL (T::*)(CWnd*, UINT, UINT);
FX_W_THUNK(W_b_W_u_u, Pmf_b_W_u_u<T>,
           c.lResult = (LRESULT)(pT->*pfn)(Wnd((HWND)c.wParam), (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam)))
template <class T>
using Pmf_v_u_u_u = void (T::*)(UINT, UINT, UINT);
FX_W_THUNK(W_key, Pmf_v_u_u_u<T>,
           (pT->*pfn)((UINT)c.wParam, (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam));
           c.lResult = 0)
template <class T>
using Pmf_v_u_u_SB = void (T::*)(UINT, UINT, CScrollBar*);
FX_W_THUNK(W_scroll, Pmf_v_u_u_SB<T>,
           (pT->*pfn)((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam), ScrollBar((HWND)c.lParam));
           c.lResult = 0)
template <class T>
using Pmf_v_u_u = void (T::*)(UINT, UINT);
FX_W_THUNK(W_scroll_reflect, Pmf_v_u_u<T>, (pT->*pfn)((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam)); c.lResult = 0)
template <class T>
using Pmf_v_wp = void (T::*)(WINDOWPOS*);
FX_W_THUNK(W_v_wp, Pmf_v_wp<T>, (pT->*pfn)((WINDOWPOS*)c.lParam); c.lResult = 0)
template <class T>
using Pmf_v_W_pt = void (T::*)(CWnd*, CPoint);
FX_W_THUNK(W_contextmenu, Pmf_v_W_pt<T>, (pT->*pfn)(Wnd((HWND)c.wParam), CPoint(c.lParam)); c.lResult = 0)
template <class T>
using Pmf_v_mmi = void (T::*)(MINMAXINFO*);
FX_W_THUNK(W_v_mmi, Pmf_v_mmi<T>, (pT->*pfn)((MINMAXINFO*)c.lParam); c.lResult = 0)
template <class T>
using Pmf_v_u_W_b = void (T::*)(UINT, CWnd*, BOOL);
FX_W_THUNK(W_activate, Pmf_v_u_W_b<T>,
           (pT->*pfn)((UINT)LOWORD(c.wParam), Wnd((HWND)c.lParam), (BOOL)HIWORD(c.wParam));
           c.lResult = 0)
template <class T>
using Pmf_v_b_dw = void (T::*)(BOOL, DWORD);
FX_W_THUNK(W_activateapp, Pmf_v_b_dw<T>, (pT->*pfn)((BOOL)c.wParam, (DWORD)c.lParam); c.lResult = 0)
template <class T>
using Pmf_u_v = UINT (T::*)();
FX_W_THUNK(W_u_v, Pmf_u_v<T>, c.lResult = (LRESULT)(pT->*pfn)())
template <class T>
using Pmf_b_v = BOOL (T::*)();
FX_W_THUNK(W_b_v, Pmf_b_v<T>, c.lResult = (LRESULT)(pT->*pfn)())
template <class T>
using Pmf_hc_v = HCURSOR (T::*)();
FX_W_THUNK(W_hc_v, Pmf_hc_v<T>, c.lResult = (LRESULT)(pT->*pfn)())
template <class T>
using Pmf_v_M_u_b = void (T::*)(CMenu*, UINT, BOOL);
FX_W_THUNK(W_initmenupopup, Pmf_v_M_u_b<T>,
           (pT->*pfn)(Menu((HMENU)c.wParam), (UINT)LOWORD(c.lParam), (BOOL)HIWORD(c.lParam));
           c.lResult = 0)
template <class T>
using Pmf_v_M = void (T::*)(CMenu*);
FX_W_THUNK(W_initmenu, Pmf_v_M<T>, (pT->*pfn)(Menu((HMENU)c.wParam)); c.lResult = 0)
template <class T>
using Pmf_v_u_s = void (T::*)(UINT, LPCSTR);
FX_W_THUNK(W_settingchange, Pmf_v_u_s<T>, (pT->*pfn)((UINT)c.wParam, (LPCSTR)c.lParam); c.lResult = 0)
template <class T>
using Pmf_v_s = void (T::*)(LPCSTR);
FX_W_THUNK(W_wininichange, Pmf_v_s<T>, (pT->*pfn)((LPCSTR)c.lParam); c.lResult = 0)
template <class T>
using Pmf_v_b = void (T::*)(BOOL);
FX_W_THUNK(W_v_b, Pmf_v_b<T>, (pT->*pfn)((BOOL)c.wParam); c.lResult = 0)
template <class T>
using Pmf_v_i_ss = void (T::*)(int, LPSTYLESTRUCT);
FX_W_THUNK(W_style, Pmf_v_i_ss<T>, (pT->*pfn)((int)c.wParam, (LPSTYLESTRUCT)c.lParam); c.lResult = 0)
template <class T>
using Pmf_v_b_u = void (T::*)(BOOL, UINT);
FX_W_THUNK(W_showwindow, Pmf_v_b_u<T>, (pT->*pfn)((BOOL)c.wParam, (UINT)c.lParam); c.lResult = 0)
template <class T>
using Pmf_hb_D_W_u = HBRUSH (T::*)(CDC*, CWnd*, UINT);
FX_W_THUNK(W_ctlcolor, Pmf_hb_D_W_u<T>, c.lResult = (LRESULT)(pT->*pfn)(Dc((HDC)c.wParam), Wnd((HWND)c.lParam), c.nCode))
template <class T>
using Pmf_v_i_dis = void (T::*)(int, LPDRAWITEMSTRUCT);
FX_W_THUNK(W_drawitem, Pmf_v_i_dis<T>, (pT->*pfn)((int)c.wParam, (LPDRAWITEMSTRUCT)c.lParam); c.lResult = TRUE)
template <class T>
using Pmf_v_i_mis = void (T::*)(int, LPMEASUREITEMSTRUCT);
FX_W_THUNK(W_measureitem, Pmf_v_i_mis<T>, (pT->*pfn)((int)c.wParam, (LPMEASUREITEMSTRUCT)c.lParam); c.lResult = TRUE)
template <class T>
using Pmf_i_i_cis = int (T::*)(int, LPCOMPAREITEMSTRUCT);
FX_W_THUNK(W_compareitem, Pmf_i_i_cis<T>, c.lResult = (LRESULT)(pT->*pfn)((int)c.wParam, (LPCOMPAREITEMSTRUCT)c.lParam))
template <class T>
using Pmf_v_i_del = void (T::*)(int, LPDELETEITEMSTRUCT);
FX_W_THUNK(W_deleteitem, Pmf_v_i_del<T>, (pT->*pfn)((int)c.wParam, (LPDELETEITEMSTRUCT)c.lParam); c.lResult = TRUE)
template <class T>
using Pmf_v_dis = void (T::*)(LPDRAWITEMSTRUCT);
FX_W_THUNK(W_drawitem_reflect, Pmf_v_dis<T>, (pT->*pfn)((LPDRAWITEMSTRUCT)c.lParam); c.lResult = TRUE)
template <class T>
using Pmf_v_mis = void (T::*)(LPMEASUREITEMSTRUCT);
FX_W_THUNK(W_measureitem_reflect, Pmf_v_mis<T>, (pT->*pfn)((LPMEASUREITEMSTRUCT)c.lParam); c.lResult = TRUE)
template <class T>
using Pmf_i_cis = int (T::*)(LPCOMPAREITEMSTRUCT);
FX_W_THUNK(W_compareitem_reflect, Pmf_i_cis<T>, c.lResult = (LRESULT)(pT->*pfn)((LPCOMPAREITEMSTRUCT)c.lParam))
template <class T>
using Pmf_v_del = void (T::*)(LPDELETEITEMSTRUCT);
FX_W_THUNK(W_deleteitem_reflect, Pmf_v_del<T>, (pT->*pfn)((LPDELETEITEMSTRUCT)c.lParam); c.lResult = TRUE)
template <class T>
using Pmf_i_u_LB_u = int (T::*)(UINT, CListBox*, UINT);
FX_W_THUNK(W_tolistitem, Pmf_i_u_LB_u<T>,
           c.lResult = (LRESULT)(pT->*pfn)((UINT)LOWORD(c.wParam), ListBox((HWND)c.lParam), (UINT)HIWORD(c.wParam)))
template <class T>
using Pmf_i_u_u = int (T::*)(UINT, UINT);
FX_W_THUNK(W_tolistitem_reflect, Pmf_i_u_u<T>,
           c.lResult = (LRESULT)(pT->*pfn)((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam)))
template <class T>
using Pmf_v_u_l = void (T::*)(UINT, LPARAM);
FX_W_THUNK(W_v_u_l, Pmf_v_u_l<T>, (pT->*pfn)((UINT)c.wParam, c.lParam); c.lResult = 0)
template <class T>
using Pmf_v_hd = void (T::*)(HDROP);
FX_W_THUNK(W_dropfiles, Pmf_v_hd<T>, (pT->*pfn)((HDROP)c.wParam); c.lResult = 0)
template <class T>
using Pmf_v_b_W_W = void (T::*)(BOOL, CWnd*, CWnd*);
FX_W_THUNK(W_mdiactivate, Pmf_v_b_W_W<T>,
           (pT->*pfn)((HWND)c.lParam == HwndOf(pT), Wnd((HWND)c.lParam), Wnd((HWND)c.wParam));
           c.lResult = 0)
template <class T>
using Pmf_b_W_cds = BOOL (T::*)(CWnd*, COPYDATASTRUCT*);
FX_W_THUNK(W_copydata, Pmf_b_W_cds<T>, c.lResult = (LRESULT)(pT->*pfn)(Wnd((HWND)c.wParam), (COPYDATASTRUCT*)c.lParam))
template <class T>
using Pmf_v_u_W = void (T::*)(UINT, CWnd*);
FX_W_THUNK(W_enteridle, Pmf_v_u_W<T>, (pT->*pfn)((UINT)c.wParam, Wnd((HWND)c.lParam)); c.lResult = 0)
template <class T>
using Pmf_v_u_u_hm = void (T::*)(UINT, UINT, HMENU);
FX_W_THUNK(W_menuselect, Pmf_v_u_u_hm<T>,
           (pT->*pfn)((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam), (HMENU)c.lParam);
           c.lResult = 0)
template <class T>
using Pmf_l_u_u_M = LRESULT (T::*)(UINT, UINT, CMenu*);
FX_W_THUNK(W_menuchar, Pmf_l_u_u_M<T>,
           c.lResult = (pT->*pfn)((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam), Menu((HMENU)c.lParam)))
template <class T>
using Pmf_v_b_nccs = void (T::*)(BOOL, NCCALCSIZE_PARAMS*);
FX_W_THUNK(W_nccalcsize, Pmf_v_b_nccs<T>, (pT->*pfn)((BOOL)c.wParam, (NCCALCSIZE_PARAMS*)c.lParam); c.lResult = 0)
template <class T>
using Pmf_b_b = BOOL (T::*)(BOOL);
FX_W_THUNK(W_b_b, Pmf_b_b<T>, c.lResult = (LRESULT)(pT->*pfn)((BOOL)c.wParam))
template <class T>
using Pmf_b_hi = BOOL (T::*)(HELPINFO*);
FX_W_THUNK(W_helpinfo, Pmf_b_hi<T>, c.lResult = (LRESULT)(pT->*pfn)((HELPINFO*)c.lParam))
template <class T>
using Pmf_v_u_prc = void (T::*)(UINT, LPRECT);
FX_W_THUNK(W_sizing, Pmf_v_u_prc<T>, (pT->*pfn)((UINT)c.wParam, (LPRECT)c.lParam); c.lResult = TRUE)
template <class T>
using Pmf_v_u_lp = void (T::*)(UINT, LPARAM);
FX_W_THUNK(W_syscommand, Pmf_v_u_lp<T>, (pT->*pfn)((UINT)c.wParam, c.lParam); c.lResult = 0)

#undef FX_W_THUNK

// WM_NCHITTEST: LRESULT or UINT OnNcHitTest(CPoint).
template <class T, auto F>
BOOL W_nchittest(CCmdTarget* p, Call& c)
{
    T* pT = static_cast<T*>(p);
    if constexpr (std::is_convertible<decltype(F), LRESULT (T::*)(CPoint)>::value) {
        c.lResult = (pT->*Handler<LRESULT (T::*)(CPoint), F>())(CPoint(c.lParam));
    } else {
        c.lResult = (LRESULT)(int)(pT->*Handler<UINT (T::*)(CPoint), F>())(CPoint(c.lParam));
    }
    return TRUE;
}

// WM_TIMER: OnTimer(UINT_PTR) or OnTimer(UINT).
template <class T, auto F>
BOOL W_timer(CCmdTarget* p, Call& c)
{
    T* pT = static_cast<T*>(p);
    if constexpr (std::is_convertible<decltype(F), void (T::*)(UINT_PTR)>::value) {
        (pT->*Handler<void (T::*)(UINT_PTR), F>())((UINT_PTR)c.wParam);
    } else {
        (pT->*Handler<void (T::*)(UINT), F>())((UINT)c.wParam);
    }
    c.lResult = 0;
    return TRUE;
}

// Reflected WM_CTLCOLOR: HBRUSH CtlColor(CDC*, UINT). A NULL brush leaves
// the message to the parent.
struct CtlColorArgs {
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};
template <class T, auto F>
BOOL W_ctlcolor_reflect(CCmdTarget* p, Call& c)
{
    T* pT = static_cast<T*>(p);
    const CtlColorArgs* pArgs = reinterpret_cast<const CtlColorArgs*>(c.lParam);
    HBRUSH hbr = (pT->*Handler<HBRUSH (T::*)(CDC*, UINT), F>())(Dc(pArgs->hDC), pArgs->nCtlType);
    c.lResult = (LRESULT)hbr;
    return hbr != NULL;
}

} // namespace msg
} // namespace fx

#define FX_WND_ENTRY(fxMessage, fxThunk, memberFxn) \
    FX_MAP_ENTRY(fxMessage, 0, 0, 0, ::fx::msg::kWindow, (&fxThunk<ThisClass, &ThisClass::memberFxn>))

#define ON_WM_ACTIVATE() FX_WND_ENTRY(WM_ACTIVATE, ::fx::msg::W_activate, OnActivate)
#define ON_WM_ACTIVATEAPP() FX_WND_ENTRY(WM_ACTIVATEAPP, ::fx::msg::W_activateapp, OnActivateApp)
#define ON_WM_CANCELMODE() FX_WND_ENTRY(WM_CANCELMODE, ::fx::msg::W_v_v, OnCancelMode)
#define ON_WM_CAPTURECHANGED() FX_WND_ENTRY(WM_CAPTURECHANGED, ::fx::msg::W_v_W_l, OnCaptureChanged)
#define ON_WM_CHAR() FX_WND_ENTRY(WM_CHAR, ::fx::msg::W_key, OnChar)
#define ON_WM_CHARTOITEM() FX_WND_ENTRY(WM_CHARTOITEM, ::fx::msg::W_tolistitem, OnCharToItem)
#define ON_WM_CLOSE() FX_WND_ENTRY(WM_CLOSE, ::fx::msg::W_v_v, OnClose)
#define ON_WM_COMPAREITEM() FX_WND_ENTRY(WM_COMPAREITEM, ::fx::msg::W_compareitem, OnCompareItem)
#define ON_WM_CONTEXTMENU() FX_WND_ENTRY(WM_CONTEXTMENU, ::fx::msg::W_contextmenu, OnContextMenu)
#define ON_WM_COPYDATA() FX_WND_ENTRY(WM_COPYDATA, ::fx::msg::W_copydata, OnCopyData)
#define ON_WM_CREATE() FX_WND_ENTRY(WM_CREATE, ::fx::msg::W_i_cs, OnCreate)
#define ON_WM_CTLCOLOR() FX_WND_ENTRY(WM_CTLCOLOR, ::fx::msg::W_ctlcolor, OnCtlColor)
#define ON_WM_DEADCHAR() FX_WND_ENTRY(WM_DEADCHAR, ::fx::msg::W_key, OnDeadChar)
#define ON_WM_DELETEITEM() FX_WND_ENTRY(WM_DELETEITEM, ::fx::msg::W_deleteitem, OnDeleteItem)
#define ON_WM_DESTROY() FX_WND_ENTRY(WM_DESTROY, ::fx::msg::W_v_v, OnDestroy)
#define ON_WM_DRAWITEM() FX_WND_ENTRY(WM_DRAWITEM, ::fx::msg::W_drawitem, OnDrawItem)
#define ON_WM_DROPFILES() FX_WND_ENTRY(WM_DROPFILES, ::fx::msg::W_dropfiles, OnDropFiles)
#define ON_WM_ENABLE() FX_WND_ENTRY(WM_ENABLE, ::fx::msg::W_v_b, OnEnable)
#define ON_WM_ENDSESSION() FX_WND_ENTRY(WM_ENDSESSION, ::fx::msg::W_v_b, OnEndSession)
#define ON_WM_ENTERIDLE() FX_WND_ENTRY(WM_ENTERIDLE, ::fx::msg::W_enteridle, OnEnterIdle)
#define ON_WM_ENTERMENULOOP() FX_WND_ENTRY(WM_ENTERMENULOOP, ::fx::msg::W_v_b, OnEnterMenuLoop)
#define ON_WM_ENTERSIZEMOVE() FX_WND_ENTRY(WM_ENTERSIZEMOVE, ::fx::msg::W_v_v, OnEnterSizeMove)
#define ON_WM_ERASEBKGND() FX_WND_ENTRY(WM_ERASEBKGND, ::fx::msg::W_b_D, OnEraseBkgnd)
#define ON_WM_EXITMENULOOP() FX_WND_ENTRY(WM_EXITMENULOOP, ::fx::msg::W_v_b, OnExitMenuLoop)
#define ON_WM_EXITSIZEMOVE() FX_WND_ENTRY(WM_EXITSIZEMOVE, ::fx::msg::W_v_v, OnExitSizeMove)
#define ON_WM_GETDLGCODE() FX_WND_ENTRY(WM_GETDLGCODE, ::fx::msg::W_u_v, OnGetDlgCode)
#define ON_WM_GETMINMAXINFO() FX_WND_ENTRY(WM_GETMINMAXINFO, ::fx::msg::W_v_mmi, OnGetMinMaxInfo)
#define ON_WM_HELPINFO() FX_WND_ENTRY(WM_HELP, ::fx::msg::W_helpinfo, OnHelpInfo)
#define ON_WM_HSCROLL() FX_WND_ENTRY(WM_HSCROLL, ::fx::msg::W_scroll, OnHScroll)
#define ON_WM_INITMENU() FX_WND_ENTRY(WM_INITMENU, ::fx::msg::W_initmenu, OnInitMenu)
#define ON_WM_INITMENUPOPUP() FX_WND_ENTRY(WM_INITMENUPOPUP, ::fx::msg::W_initmenupopup, OnInitMenuPopup)
#define ON_WM_KEYDOWN() FX_WND_ENTRY(WM_KEYDOWN, ::fx::msg::W_key, OnKeyDown)
#define ON_WM_KEYUP() FX_WND_ENTRY(WM_KEYUP, ::fx::msg::W_key, OnKeyUp)
#define ON_WM_KILLFOCUS() FX_WND_ENTRY(WM_KILLFOCUS, ::fx::msg::W_v_W_w, OnKillFocus)
#define ON_WM_LBUTTONDBLCLK() FX_WND_ENTRY(WM_LBUTTONDBLCLK, ::fx::msg::W_v_u_pt, OnLButtonDblClk)
#define ON_WM_LBUTTONDOWN() FX_WND_ENTRY(WM_LBUTTONDOWN, ::fx::msg::W_v_u_pt, OnLButtonDown)
#define ON_WM_LBUTTONUP() FX_WND_ENTRY(WM_LBUTTONUP, ::fx::msg::W_v_u_pt, OnLButtonUp)
#define ON_WM_MBUTTONDBLCLK() FX_WND_ENTRY(WM_MBUTTONDBLCLK, ::fx::msg::W_v_u_pt, OnMButtonDblClk)
#define ON_WM_MBUTTONDOWN() FX_WND_ENTRY(WM_MBUTTONDOWN, ::fx::msg::W_v_u_pt, OnMButtonDown)
#define ON_WM_MBUTTONUP() FX_WND_ENTRY(WM_MBUTTONUP, ::fx::msg::W_v_u_pt, OnMButtonUp)
#define ON_WM_MDIACTIVATE() FX_WND_ENTRY(WM_MDIACTIVATE, ::fx::msg::W_mdiactivate, OnMDIActivate)
#define ON_WM_MEASUREITEM() FX_WND_ENTRY(WM_MEASUREITEM, ::fx::msg::W_measureitem, OnMeasureItem)
#define ON_WM_MENUCHAR() FX_WND_ENTRY(WM_MENUCHAR, ::fx::msg::W_menuchar, OnMenuChar)
#define ON_WM_MENUSELECT() FX_WND_ENTRY(WM_MENUSELECT, ::fx::msg::W_menuselect, OnMenuSelect)
#define ON_WM_MOUSEACTIVATE() FX_WND_ENTRY(WM_MOUSEACTIVATE, ::fx::msg::W_i_W_u_u, OnMouseActivate)
#define ON_WM_MOUSEHOVER() FX_WND_ENTRY(WM_MOUSEHOVER, ::fx::msg::W_v_u_pt, OnMouseHover)
#define ON_WM_MOUSELEAVE() FX_WND_ENTRY(WM_MOUSELEAVE, ::fx::msg::W_v_v, OnMouseLeave)
#define ON_WM_MOUSEMOVE() FX_WND_ENTRY(WM_MOUSEMOVE, ::fx::msg::W_v_u_pt, OnMouseMove)
#define ON_WM_MOUSEWHEEL() FX_WND_ENTRY(WM_MOUSEWHEEL, ::fx::msg::W_wheel, OnMouseWheel)
#define ON_WM_MOVE() FX_WND_ENTRY(WM_MOVE, ::fx::msg::W_move, OnMove)
#define ON_WM_MOVING() FX_WND_ENTRY(WM_MOVING, ::fx::msg::W_sizing, OnMoving)
#define ON_WM_NCACTIVATE() FX_WND_ENTRY(WM_NCACTIVATE, ::fx::msg::W_b_b, OnNcActivate)
#define ON_WM_NCCALCSIZE() FX_WND_ENTRY(WM_NCCALCSIZE, ::fx::msg::W_nccalcsize, OnNcCalcSize)
#define ON_WM_NCCREATE() FX_WND_ENTRY(WM_NCCREATE, ::fx::msg::W_b_cs, OnNcCreate)
#define ON_WM_NCDESTROY() FX_WND_ENTRY(WM_NCDESTROY, ::fx::msg::W_v_v, OnNcDestroy)
#define ON_WM_NCHITTEST() FX_WND_ENTRY(WM_NCHITTEST, ::fx::msg::W_nchittest, OnNcHitTest)
#define ON_WM_NCLBUTTONDBLCLK() FX_WND_ENTRY(WM_NCLBUTTONDBLCLK, ::fx::msg::W_v_u_pt, OnNcLButtonDblClk)
#define ON_WM_NCLBUTTONDOWN() FX_WND_ENTRY(WM_NCLBUTTONDOWN, ::fx::msg::W_v_u_pt, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() FX_WND_ENTRY(WM_NCLBUTTONUP, ::fx::msg::W_v_u_pt, OnNcLButtonUp)
#define ON_WM_NCMBUTTONDOWN() FX_WND_ENTRY(WM_NCMBUTTONDOWN, ::fx::msg::W_v_u_pt, OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP() FX_WND_ENTRY(WM_NCMBUTTONUP, ::fx::msg::W_v_u_pt, OnNcMButtonUp)
#define ON_WM_NCMOUSEMOVE() FX_WND_ENTRY(WM_NCMOUSEMOVE, ::fx::msg::W_v_u_pt, OnNcMouseMove)
#define ON_WM_NCPAINT() FX_WND_ENTRY(WM_NCPAINT, ::fx::msg::W_v_v, OnNcPaint)
#define ON_WM_NCRBUTTONDBLCLK() FX_WND_ENTRY(WM_NCRBUTTONDBLCLK, ::fx::msg::W_v_u_pt, OnNcRButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() FX_WND_ENTRY(WM_NCRBUTTONDOWN, ::fx::msg::W_v_u_pt, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() FX_WND_ENTRY(WM_NCRBUTTONUP, ::fx::msg::W_v_u_pt, OnNcRButtonUp)
#define ON_WM_PAINT() FX_WND_ENTRY(WM_PAINT, ::fx::msg::W_v_v, OnPaint)
#define ON_WM_PARENTNOTIFY() FX_WND_ENTRY(WM_PARENTNOTIFY, ::fx::msg::W_v_u_l, OnParentNotify)
#define ON_WM_QUERYDRAGICON() FX_WND_ENTRY(WM_QUERYDRAGICON, ::fx::msg::W_hc_v, OnQueryDragIcon)
#define ON_WM_QUERYENDSESSION() FX_WND_ENTRY(WM_QUERYENDSESSION, ::fx::msg::W_b_v, OnQueryEndSession)
#define ON_WM_RBUTTONDBLCLK() FX_WND_ENTRY(WM_RBUTTONDBLCLK, ::fx::msg::W_v_u_pt, OnRButtonDblClk)
#define ON_WM_RBUTTONDOWN() FX_WND_ENTRY(WM_RBUTTONDOWN, ::fx::msg::W_v_u_pt, OnRButtonDown)
#define ON_WM_RBUTTONUP() FX_WND_ENTRY(WM_RBUTTONUP, ::fx::msg::W_v_u_pt, OnRButtonUp)
#define ON_WM_SETCURSOR() FX_WND_ENTRY(WM_SETCURSOR, ::fx::msg::W_b_W_u_u, OnSetCursor)
#define ON_WM_SETFOCUS() FX_WND_ENTRY(WM_SETFOCUS, ::fx::msg::W_v_W_w, OnSetFocus)
#define ON_WM_SETTINGCHANGE() FX_WND_ENTRY(WM_SETTINGCHANGE, ::fx::msg::W_settingchange, OnSettingChange)
#define ON_WM_SHOWWINDOW() FX_WND_ENTRY(WM_SHOWWINDOW, ::fx::msg::W_showwindow, OnShowWindow)
#define ON_WM_SIZE() FX_WND_ENTRY(WM_SIZE, ::fx::msg::W_size, OnSize)
#define ON_WM_SIZING() FX_WND_ENTRY(WM_SIZING, ::fx::msg::W_sizing, OnSizing)
#define ON_WM_STYLECHANGED() FX_WND_ENTRY(WM_STYLECHANGED, ::fx::msg::W_style, OnStyleChanged)
#define ON_WM_STYLECHANGING() FX_WND_ENTRY(WM_STYLECHANGING, ::fx::msg::W_style, OnStyleChanging)
#define ON_WM_SYSCHAR() FX_WND_ENTRY(WM_SYSCHAR, ::fx::msg::W_key, OnSysChar)
#define ON_WM_SYSCOLORCHANGE() FX_WND_ENTRY(WM_SYSCOLORCHANGE, ::fx::msg::W_v_v, OnSysColorChange)
#define ON_WM_SYSCOMMAND() FX_WND_ENTRY(WM_SYSCOMMAND, ::fx::msg::W_syscommand, OnSysCommand)
#define ON_WM_SYSKEYDOWN() FX_WND_ENTRY(WM_SYSKEYDOWN, ::fx::msg::W_key, OnSysKeyDown)
#define ON_WM_SYSKEYUP() FX_WND_ENTRY(WM_SYSKEYUP, ::fx::msg::W_key, OnSysKeyUp)
#define ON_WM_TIMER() FX_WND_ENTRY(WM_TIMER, ::fx::msg::W_timer, OnTimer)
#define ON_WM_VKEYTOITEM() FX_WND_ENTRY(WM_VKEYTOITEM, ::fx::msg::W_tolistitem, OnVKeyToItem)
#define ON_WM_VSCROLL() FX_WND_ENTRY(WM_VSCROLL, ::fx::msg::W_scroll, OnVScroll)
#define ON_WM_WINDOWPOSCHANGED() FX_WND_ENTRY(WM_WINDOWPOSCHANGED, ::fx::msg::W_v_wp, OnWindowPosChanged)
#define ON_WM_WINDOWPOSCHANGING() FX_WND_ENTRY(WM_WINDOWPOSCHANGING, ::fx::msg::W_v_wp, OnWindowPosChanging)
#define ON_WM_WININICHANGE() FX_WND_ENTRY(WM_WININICHANGE, ::fx::msg::W_wininichange, OnWinIniChange)

// Reflected to the control that caused them.
#define ON_WM_CTLCOLOR_REFLECT() FX_WND_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, ::fx::msg::W_ctlcolor_reflect, CtlColor)
#define ON_WM_DRAWITEM_REFLECT() FX_WND_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, ::fx::msg::W_drawitem_reflect, DrawItem)
#define ON_WM_MEASUREITEM_REFLECT() \
    FX_WND_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM, ::fx::msg::W_measureitem_reflect, MeasureItem)
#define ON_WM_COMPAREITEM_REFLECT() \
    FX_WND_ENTRY(WM_REFLECT_BASE + WM_COMPAREITEM, ::fx::msg::W_compareitem_reflect, CompareItem)
#define ON_WM_DELETEITEM_REFLECT() \
    FX_WND_ENTRY(WM_REFLECT_BASE + WM_DELETEITEM, ::fx::msg::W_deleteitem_reflect, DeleteItem)
#define ON_WM_HSCROLL_REFLECT() FX_WND_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, ::fx::msg::W_scroll_reflect, HScroll)
#define ON_WM_VSCROLL_REFLECT() FX_WND_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, ::fx::msg::W_scroll_reflect, VScroll)
#define ON_WM_PARENTNOTIFY_REFLECT() \
    FX_WND_ENTRY(WM_REFLECT_BASE + WM_PARENTNOTIFY, ::fx::msg::W_v_u_l, ParentNotify)
#define ON_WM_CHARTOITEM_REFLECT() \
    FX_WND_ENTRY(WM_REFLECT_BASE + WM_CHARTOITEM, ::fx::msg::W_tolistitem_reflect, CharToItem)
#define ON_WM_VKEYTOITEM_REFLECT() \
    FX_WND_ENTRY(WM_REFLECT_BASE + WM_VKEYTOITEM, ::fx::msg::W_tolistitem_reflect, VKeyToItem)
