// qx/commandbardefs.h - numbers shared by the command-bar classes: bar
// positions and types, control types, hide flags, control flags, layout
// modes, private messages and the records sent with them.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>
#include <qx/paintviews.h>

class CQXPControl;
class CQXPControls;
class CQXPCommandBar;
class CQXPCommandBars;

// Bar positions, bar types and control types come with the paint views
// (qx/paintviews.h); the values the paint manager does not draw are here.
enum QXPBarPositionMore {
    qxpBarListBox = 6, // a drop-down list
    qxpBarNone = 7,
};
enum QXPBarTypeMore {
    qxpBarTypeRibbon = 3,
};

// Why a control is hidden (HideFlags).
enum QXPControlHideFlags {
    qxpHideGeneric = 0x01,
    qxpHideWrap = 0x02,
    qxpHideDockingPosition = 0x04,
    qxpHideScroll = 0x08,
    qxpHideCustomize = 0x10,
    qxpHideExpand = 0x20,
    qxpHideDocTemplate = 0x40,
    qxpHideRibbonTab = 0x80, // a ribbon group's control whose tab is not selected or group not shown
};

// Behaviour flags of a control (Flags).
enum QXPControlFlags {
    qxpFlagRightAlign = 0x01,
    qxpFlagSkipFocus = 0x02,
    qxpFlagLeftPopup = 0x04,
    qxpFlagManualUpdate = 0x08,
    qxpFlagNoMovable = 0x10,
    qxpFlagControlStretched = 0x20,
    qxpFlagShowPopupBarTip = 0x40,
    qxpFlagWrapRow = 0x80,
};

// Layout mode bits given to bars and their control collections.
enum QXPLayoutMode {
    qxpLayoutStretch = 0x01,
    qxpLayoutHorz = 0x02,
    qxpLayoutMRUWidth = 0x04,
    qxpLayoutHorzDock = 0x08,
    qxpLayoutVertDock = 0x10,
    qxpLayoutLengthIsHeight = 0x20,
    qxpLayoutCommit = 0x40,
    qxpLayoutHideWrap = 0x80,
    qxpLayoutWrapGroups = 0x100,
    // Popup menus only: lay out again in the present state (the same
    // rarely used commands hidden, the same shortcut texts).
    qxpLayoutKeepState = 0x200,
};

// Bar flags.
enum QXPBarFlags {
    qxpFlagAlignTop = 0x0001,
    qxpFlagAlignBottom = 0x0002,
    qxpFlagAlignLeft = 0x0004,
    qxpFlagAlignRight = 0x0008,
    qxpFlagFloating = 0x0010,
    qxpFlagHideWrap = 0x0020,
    qxpFlagStretched = 0x0040,
    qxpFlagHideMinimizeBox = 0x0100,
    qxpFlagHideMaximizeBox = 0x0200,
    qxpFlagHideClose = 0x0400,
    qxpFlagHideMDIButtons = 0x1300,
    qxpFlagStretchedShared = 0x100000,
    qxpFlagGroupedLayout = 0x200000,
};

// Private messages of the command bars (sent to the site frame).
#define WM_QXP_TOOLBARVISIBLECHANGED 0x2855
#define WM_QXP_HOTCONTROLCHANGED 0x2856
#define WM_QXP_CUSTOMIZESELCHANGED 0x2857
#define WM_QXP_INITMENUMODE 0x2858
#define WM_QXP_CONTROLRBUTTONUP 0x2859
#define WM_QXP_PRETRANSLATEKEY 0x285A
#define WM_QXP_INITCOMMANDSPOPUP 0x285B
#define WM_QXP_TOOLBARCONTEXTMENU 0x285C
#define WM_QXP_UNINITCOMMANDSPOPUP 0x285D
#define WM_COMMANDBARS_CREATECONTROL 0x285E
#define WM_COMMANDBARS_CONTROLCREATED 0x285F
#define WM_COMMANDBARS_CREATECOMMANDBAR 0x2861
#define WM_COMMANDBARS_CONTROLNOTIFY 0x2862
#define WM_QXP_BARRESET 0x2864
#define WM_QXP_TOOLBARCREATED 0x2865
#define WM_QXP_TOOLBARDELETING 0x2866
#define WM_QXP_TEAROFFDONE 0x2867

// Notification code 100 of WM_COMMANDBARS_CONTROLNOTIFY: execute the control.
#define QXP_CN_EXECUTE 100

// Timers of the bar windows.
#define QXP_TID_AUTOREPEAT 4269
#define QXP_TID_HOVER 112223

// The record of WM_COMMANDBARS_CONTROLNOTIFY.
struct NMQXPCONTROL {
    NMHDR hdr;
    CQXPControl* pControl;
};

// The record of WM_COMMANDBARS_CREATECONTROL and ..._CONTROLCREATED.
struct QXP_CREATECONTROL_RECORD {
    int nID;
    CQXPControl* pControl;
    int nReserved;
    int nIndex;
    HMENU hMenu;
    CQXPCommandBar* pCommandBar;
    CString strCaption;
    int controlType;
    int buttonStyle;
};

// The record of WM_COMMANDBARS_CREATECOMMANDBAR.
struct QXP_CREATEBAR_RECORD {
    CQXPCommandBar* pCommandBar;
    BOOL bPopup;
    int nReserved[3];
    CString strCaption;
    int nID;
};

// Mode bits of one dock-bar row and the style bits of the dock sides.
#ifndef CBRS_ALIGN_LEFT
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#endif
#ifndef CBRS_BORDER_LEFT
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#endif

// The dock side (0 top, 1 bottom, 2 left, 3 right) of a control-bar style.
inline int QxpDockSideFromStyle(DWORD dwStyle)
{
    if (dwStyle & (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM))
        return qxpBarTop;
    if (dwStyle & (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP))
        return qxpBarBottom;
    if (dwStyle & (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT))
        return qxpBarLeft;
    return qxpBarRight;
}

// The record every DoPropExchange of a layout save or load reaches through
// the exchange's user data (m_dwData).
struct CommandBarsExchangeParam {
    int nReserved = 0;
    BOOL bOnlyCustomized = TRUE;       // save only bars that differ from the program's
    BOOL bSilent = FALSE;              // never ask about changed program toolbars
    BOOL bSaveOriginalControls = TRUE; // also the collections as the program built them
    BOOL bFlags[5] = {0, 0, 1, 0, 0};
    CQXPCommandBars* pCommandBars = NULL;
};
class CQXPPropExchange;
class CommandBarList;

// Strips the mnemonic markers: every single "&" goes, "&&" leaves one.
CString AFXAPI QxpStripMnemonics(const CString& str);

// Puts a counted reference into a slot: the slot takes the reference it is
// given and releases the one it held. FALSE when it held that object
// already (nothing changes).
template <class T>
BOOL QxpReplaceReference(T*& pSlot, T* p)
{
    if (p == pSlot)
        return FALSE;
    T* pOld = pSlot;
    pSlot = p;
    if (pOld)
        pOld->InternalRelease();
    return TRUE;
}

// A new object of a runtime class as a T; NULL, with nothing left over,
// when the class makes no object or one of another kind.
template <class T>
T* QxpCreateObjectAs(CRuntimeClass* pClass)
{
    CObject* pObject = pClass ? pClass->CreateObject() : NULL;
    T* p = dynamic_cast<T*>(pObject);
    if (!p)
        delete pObject;
    return p;
}
