// qx/paintviews.h - what the paint manager needs to know about the things it
// draws: a control on a bar, the bar itself and a status-bar pane.
//
// The command bars implement these views (their control class derives from
// CQXPControlView, their bar class from CQXPBarView); tests and previews use
// small stand-ins. Every query is cheap and side-effect free except the
// setters the layout uses to write back what it measured.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

class CQXPIconImage;
class CQXPBarView;

// Bar types.
enum QXPBarType {
    qxpBarTypeMenuBar = 0,
    qxpBarTypeNormal = 1, // toolbars
    qxpBarTypePopup = 2,
};

// Bar positions. Positions 2 and 3 are the vertical bars.
enum QXPBarPosition {
    qxpBarTop = 0,
    qxpBarBottom = 1,
    qxpBarLeft = 2,
    qxpBarRight = 3,
    qxpBarFloating = 4,
    qxpBarPopup = 5, // a popup list (menus and drop-downs)
};

// Control types. 2 to 4 are the popup kinds.
enum QXPControlType {
    qxpControlError = 0,
    qxpControlButton = 1,
    qxpControlPopup = 2,
    qxpControlButtonPopup = 3,
    qxpControlSplitButtonPopup = 4,
    qxpControlComboBox = 5,
    qxpControlEdit = 6,
    qxpControlCustom = 7,
    qxpControlLabel = 8,
    qxpControlCheckBox = 9,
    qxpControlGallery = 10,
    qxpControlRadioButton = 11,
};

// Button styles (the control's effective style). Styles 0 and 2 to 4 may
// show an icon.
enum QXPButtonStyle {
    qxpButtonAutomatic = 0,
    qxpButtonCaption = 1,
    qxpButtonIcon = 2,
    qxpButtonIconAndCaption = 3,
    qxpButtonIconAndCaptionBelow = 4, // the large button: caption under the icon
    qxpButtonCaptionAndDescription = 5,
};

// Selection values: 0 none, 1 by the mouse, 2 and 3 made from the keyboard.
// Checked values: 0, 1, 2 indeterminate.

// ---------------------------------------------------------------------------
// A control on a bar.
class CQXPControlView {
public:
    virtual ~CQXPControlView() {}

    virtual int GetType() const = 0;
    // NULL for a control without a bar.
    virtual CQXPBarView* GetParentBar() const = 0;
    // The rectangle in the bar's client coordinates.
    virtual CRect GetRect() const = 0;
    virtual void SetRect(const CRect& rc) = 0;

    // The caption with its "&" markers.
    virtual CString GetCaption() const = 0;
    // The shortcut text of a menu item ("Ctrl+S"), empty when none.
    virtual CString GetShortcutText() const { return CString(); }
    virtual CString GetDescription() const { return CString(); }
    // The effective button style (QXPButtonStyle).
    virtual int GetStyle() const = 0;
    // 0: no icon.
    virtual int GetIconId() const = 0;
    // The icon at that width; NULL when there is none.
    virtual CQXPIconImage* GetImage(int nWidth) const = 0;
    virtual BOOL IsCaptionVisible() const = 0;
    // Whether the face shows the control's image: in a popup bar whenever
    // it has one; elsewhere by the style: icon (2), icon and caption (3),
    // icon over caption (4), and the automatic style (0) of any type but a
    // submenu item (whose caption then shows instead).
    virtual BOOL IsImageVisible() const;
    virtual BOOL IsDefaultItem() const { return FALSE; }
    virtual BOOL IsVisible() const { return TRUE; }
    // The control starts a new row of its bar.
    virtual BOOL IsWrapped() const { return FALSE; }
    virtual BOOL GetBeginGroup() const { return FALSE; }

    // States, effective (an unset own value already replaced by the
    // action's). Enabled is 0 or 1; a split popup may report 4 (disabled).
    virtual int GetSelected() const = 0;
    virtual BOOL GetPressed() const = 0;
    virtual int GetEnabled() const = 0;
    virtual int GetChecked() const = 0;
    virtual BOOL GetPopped() const = 0;
    // A menu item shown only after the menu was expanded (rarely used).
    virtual BOOL IsRarelyUsed() const { return FALSE; }

    // Fixed size; 0 or less: automatic.
    virtual int GetWidth() const { return 0; }
    virtual int GetHeight() const { return 0; }

    // The control draws its own background (the state background is left
    // out).
    virtual BOOL IsCustomBackground() const { return FALSE; }
    // A large button whose caption band carries a drop-down arrow.
    virtual BOOL HasLargeDropDown() const { return FALSE; }
    // The control lies in the area its bar draws on a composited frame.
    virtual BOOL IntersectsBarRect() const { return FALSE; }

    // Edit and combo-box controls: what the measuring pass writes back.
    struct EditLayout {
        int nLabelWidth = 0;  // icon and caption part left of the field
        int nButtonWidth = 0; // combo boxes: the drop-down button
        BOOL bLayoutChanged = FALSE;
    };
    // NULL for controls that are neither.
    virtual EditLayout* GetEditLayout() { return NULL; }
    // The edit carries spin buttons; which half is pressed (0 none, 1 up,
    // 2 down).
    virtual BOOL HasSpinButtons() const { return FALSE; }
    virtual int GetSpinPressed() const { return 0; }
    // The combo box's list is open.
    virtual BOOL IsDroppedDown() const { return FALSE; }
    // The text a combo box shows in its field.
    virtual CString GetEditText() const { return CString(); }
};

// ---------------------------------------------------------------------------
// A bar: toolbar, menu bar, popup or floating bar.
class CQXPBarView {
public:
    virtual ~CQXPBarView() {}

    virtual int GetType() const = 0;     // QXPBarType
    virtual int GetPosition() const = 0; // QXPBarPosition
    virtual CString GetTitle() const { return CString(); }
    // The bar's window; NULL for a bar drawn without one.
    virtual HWND GetBarHwnd() const { return NULL; }
    // Client rectangle; the window's when there is one.
    virtual CRect GetBarClientRect() const;
    // Window rectangle in screen coordinates.
    virtual CRect GetBarWindowRect() const;

    virtual CSize GetIconSize() const = 0;
    // The icon size of large buttons (style 4).
    virtual CSize GetLargeIconSize() const
    {
        CSize sz = GetIconSize();
        return CSize(sz.cx * 2, sz.cy * 2);
    }
    virtual CSize GetButtonSize() const = 0;
    virtual BOOL IsTextBelowIcons() const { return FALSE; }
    // Keyboard underlines ("&" markers) are shown.
    virtual BOOL IsKeyboardCuesVisible() const { return TRUE; }
    // Popups: the bar reserves a double icon column.
    virtual BOOL IsDoubleIconColumn() const { return FALSE; }
    // Floating bars: the bar shows a caption.
    virtual BOOL IsCaptionShown() const { return TRUE; }

    virtual int GetControlCount() const { return 0; }
    virtual CQXPControlView* GetControlAt(int nIndex) const
    {
        (void)nIndex;
        return NULL;
    }

    // The bar's flags (its docking and floating permissions in the four
    // low bits).
    virtual DWORD GetBarFlags() const { return 0; }
    // Docked bars: the dock bar that holds the bar (NULL when none).
    virtual HWND GetDockBarHwnd() const { return NULL; }
    // Popups: the control that opened the popup, in screen coordinates;
    // FALSE when there is none.
    virtual BOOL GetOpenerRect(CRect* pRect) const
    {
        (void)pRect;
        return FALSE;
    }
};

// ---------------------------------------------------------------------------
// A pane of a status bar.
class CQXPStatusPaneView {
public:
    virtual ~CQXPStatusPaneView() {}

    // Pane style bits the paint manager reads.
    enum {
        styleNoBorders = 0x0100,  // not inset, no border
        styleButtonFace = 0x0200, // always drawn as a button
    };

    virtual CString GetText() const = 0;
    virtual UINT GetStyle() const { return 0; }
    // NULL: the DC's font.
    virtual HFONT GetFont() const { return NULL; }
    // (COLORREF)-1: not set.
    virtual COLORREF GetTextColor() const { return (COLORREF)-1; }
    virtual COLORREF GetBackgroundColor() const { return (COLORREF)-1; }
    // DT_LEFT, DT_CENTER or DT_RIGHT.
    virtual UINT GetTextAlignment() const { return DT_LEFT; }
    // Space left free inside the pane.
    virtual CRect GetMargins() const { return CRect(2, 0, 2, 0); }
    virtual BOOL IsButton() const { return FALSE; }
    virtual BOOL IsPressed() const { return FALSE; }
    // The bar's current (hot) pane.
    virtual BOOL IsCurrent() const { return FALSE; }
    virtual BOOL IsEnabled() const { return TRUE; }
};
