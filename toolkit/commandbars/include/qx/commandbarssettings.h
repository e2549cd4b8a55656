// qx/commandbarssettings.h - CQXPCommandBarsSettings: the options of one
// command bars manager (menus, tooltips, icon sizes, mnemonics, the record of
// hidden and used commands), owned by the manager and kept with it in the
// profile section "<name>-Options".
//
// Stored form: the profile keeps "Schema", the five flags from
// "AlwaysShowFullMenus" to "LargeIcons", the set "UsedCommands" (schema 8
// on; a sub-section of "Item%i" values with "Count") and "Animation". The
// full exchange (the options' own archive) adds the rest in a fixed order;
// see DoPropExchange. A value that cannot be read, or that lies outside its
// range, loads as its default.
#pragma once

#include <fx/fx.h>

#include <vector>

class CQXPCommandBars;
class CQXPPropExchange;

class CQXPCommandBarsSettings : public CCmdTarget {
    DECLARE_DYNAMIC(CQXPCommandBarsSettings)
public:
    // The options of pCommandBars (which owns them; may be NULL for a
    // detached record, whose full exchange then leaves the icon options of
    // the paint manager alone).
    explicit CQXPCommandBarsSettings(CQXPCommandBars* pCommandBars);

    CQXPCommandBars* GetCommandBars() const { return m_pCommandBars; }

    // The profile part; with bFull also what only the options' own archive
    // keeps (icon sizes, "HiddenCommands", the paint manager's icon options,
    // ...). Loading "KeyboardCuesShow" applies it to the manager at once.
    void DoPropExchange(CQXPPropExchange* pPX, BOOL bFull);
    // Stores or loads every option through an archive (the full exchange).
    void Serialize(CArchive& ar) override;

    // In declaration order, with their stored keys and defaults.
    BOOL m_bAlwaysShowFullMenus = TRUE;           // "AlwaysShowFullMenus": popups show unused commands too
    BOOL m_bShowFullAfterDelay = TRUE;            // "ShowFullAfterDelay": a shortened popup expands after 5 s
    BOOL m_bToolBarScreenTips = TRUE;             // "ToolBarScreenTips": toolbar tooltips
    BOOL m_bToolBarAccelTips = FALSE;             // "ToolBarAccelTips": the shortcut appended to tooltips
    BOOL m_bLargeIcons = FALSE;                   // "LargeIcons": toolbars use m_szLargeIcons
    BOOL m_bSyncFloatingBars = TRUE;              // "SyncFloatingBars": floating bars hide with their frame
    BOOL m_bShowExpandButtonAlways = TRUE;        // "ShowExpandButtonAlways": docked toolbars keep room for it
    BOOL m_bDblClickFloat = FALSE;                // "DblClickFloat": a double click beside the buttons floats
    BOOL m_bShowTextBelowIcons = FALSE;           // "ShowTextBelowIcons"
    BOOL m_bAltDragCustomization = TRUE;          // "AltDragCustomization": Alt+drag moves buttons
    BOOL m_bAutoHideUnusedPopups = TRUE;          // "AutoHideUnusedPopups": a popup of hidden commands hides
    BOOL m_bChanged = FALSE;                      // (not stored) set by every change of usage or customization
    BOOL m_bShowPopupBarToolTips = FALSE;         // (not stored) every control of a popup gives a tooltip
    int m_nAnimation = 0;                         // "Animation": 0 system, 1 random, 2 unfold, 3 slide, 4 fade, 5 none
    BOOL m_bMenuShortcuts = TRUE;                 // (not stored) popups show their commands' shortcut texts
    int m_nKeyboardCuesUse = 1;                   // "KeyboardCuesUse": flag 1 search all bars, flag 4 no
                                                  // first-letter matches; 2 no mnemonics at all
    BOOL m_bStatusDescriptions = TRUE;            // (not stored) bars send descriptions to the status line
    CSize m_szIcons = CSize(0, 0);                // "IconsSize": toolbar icons; 0 x 0 leaves it to the theme
    CSize m_szLargeIcons = CSize(0, 0);           // "LargeIconsSize": toolbar icons with m_bLargeIcons
    CSize m_szPopupIcons = CSize(0, 0);           // "PopupIconsSize": popup icons
    BOOL m_bNumericKeypadMnemonics = FALSE;       // (not stored) keypad digits may act as mnemonics
    BOOL m_bPopupSaveBits = TRUE;                 // (not stored) popup windows get CS_SAVEBITS
    BOOL m_bDisableCommandsWithoutHandler = TRUE; // (not stored) the idle update disables them
    BOOL m_bPopupFlip = FALSE;                    // (not stored) a popup without room may flip to its owner's other side
    std::vector<int> m_hiddenCommands;            // "HiddenCommands": hidden in personalized menus (no 0, no repeats)
    std::vector<int> m_usedCommands;              // "UsedCommands": hidden commands the user has used
    BOOL m_bKeyboardTips = FALSE;                 // (not stored) keyboard tips are enabled
    int m_nKeyboardCuesShow = 0;                  // "KeyboardCuesShow": 0 always, 1 never, 2 as the system says

    // Largest side of a stored icon size that counts as set.
    static const int kMaxIconSide = 256;
    // Highest "Animation" value (none).
    static const int kMaxAnimation = 5;

protected:
    CQXPCommandBars* m_pCommandBars; // the owner, not a reference
};
