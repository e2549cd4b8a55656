// qx/shortcuts.h - the keyboard shortcuts of a frame's command bars.
//
// CQXPKeyboardShortcuts keeps two accelerator tables: the default one loaded
// from the resources and the current one the user edits. It translates key
// messages through the current table, gives the text of a shortcut as menus
// and tooltips show it ("Ctrl+Shift+F5"), names keys, and saves the current
// table in the profile.
//
// Stored form of the profile value "Accelerators" (a binary value of the
// section the caller names, "CommandBars" in the editor): the entries back
// to back, 6 bytes each, no header - byte 0 fVirt, byte 1 padding (written
// as 0), bytes 2-3 the key, bytes 4-5 the command id, little-endian. In an
// INI profile the same bytes are kept in the profile's binary text form.
// A stored value that is not made of whole, well-formed entries is refused
// as a whole: the table in use stays.
//
// CQXPShortcutEdit is the edit box that captures one shortcut from the
// keyboard (the customize dialog's "Press new shortcut key" field).
//
// UI thread only.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <map>
#include <vector>

class CQXPCommandBars;
class CQXPPropExchange;

class CQXPKeyboardShortcuts : public CCmdTarget {
    DECLARE_DYNAMIC(CQXPKeyboardShortcuts)
public:
    // pCommandBars: the owning manager (may be NULL); its site frame's own
    // accelerator table is the last resort of FindDefaultAccelerator.
    explicit CQXPKeyboardShortcuts(CQXPCommandBars* pCommandBars = NULL);
    ~CQXPKeyboardShortcuts() override;
    CQXPKeyboardShortcuts(const CQXPKeyboardShortcuts&) = delete;
    CQXPKeyboardShortcuts& operator=(const CQXPKeyboardShortcuts&) = delete;

    // --- virtual operations -------------------------------------------------
    // The shortcut text of a command for menus and tooltips. The best entry
    // wins (no modifier, then Ctrl, then Alt, then Shift; the first on a
    // tie), but a text already in strText that names one of the command's
    // entries is kept. No entry: strText becomes empty, FALSE. No table at
    // all: strText is left alone, FALSE.
    virtual BOOL FindDefaultAccelerator(int nCommand, CString& strText);
    // The text of one entry ("Ctrl+Shift+F5") and its priority (4 no
    // modifier, 3 Ctrl, 2 Alt, 1 Shift).
    virtual void FormatShortcut(CString& strText, const ACCEL& accel, int* pPriority = NULL);
    // The name of a virtual key (built-in table and keyboard layout).
    virtual void GetKeyName(CString& strText, UINT nKey);
    // Whether the capture edit may take the entry: a plain Escape is refused
    // unless m_bAllowEscapeShortcut.
    virtual BOOL IsShortcutAllowed(BYTE fVirt, WORD wKey, UINT nCommand);
    // Vetoes of the keyboard page (non-zero refuses); none here.
    virtual int OnBeforeAdd(const ACCEL& accel);
    virtual int OnBeforeRemove(const ACCEL& accel);
    // The table in a property exchange: binary back-ends keep the entry
    // count and one block "Data"; the INI back-end one section "Accel<i>"
    // per entry with "Id", "virt" and "key". Loading replaces the current
    // table; a damaged stored table is refused and the current one stays.
    virtual void DoPropExchange(CQXPPropExchange* pPX);
    // The current table (NULL when it is empty or there is none).
    virtual HACCEL GetAcceleratorTable();
    // The current table becomes a copy of the default one.
    virtual void ResetToDefault();

    // The text beside a command in menus and tooltips: strCurrent when it
    // still names one of the command's shortcuts, else the best shortcut,
    // "" when the command has none (strCurrent when there is no table).
    CString GetShortcutText(int nCommand, const CString& strCurrent = CString());

    // --- tables ---------------------------------------------------------------
    // Loads an accelerator resource (from whichever resource module holds
    // it) as both the default and the current table. FALSE when no module
    // holds it; both tables are dropped first either way.
    BOOL LoadAccelerators(UINT nIDResource);
    // Replaces the current table.
    void SetAcceleratorTable(const ACCEL* pEntries, int nCount);
    // The entries of the current and the default table.
    const std::vector<ACCEL>& GetEntries() const { return m_current; }
    const std::vector<ACCEL>& GetDefaultEntries() const { return m_default; }
    BOOL HasCurrentTable() const { return m_bHaveCurrent; }
    BOOL HasDefaultTable() const { return m_bHaveDefault; }

    // --- translation ----------------------------------------------------------
    // TRUE counts the disable count up, FALSE down; keys are translated only
    // while it is below 1.
    void DisableShortcuts(BOOL bDisable);
    // Translates a key message for the window (WM_COMMAND goes to it). TRUE
    // when the message was translated.
    BOOL TranslateAccelerator(CWnd* pWnd, MSG* pMsg);
    BOOL TranslateAccelerator(HWND hWnd, MSG* pMsg);
    // Print preview takes the keys away from the documents: no shortcut is
    // translated while it is on (as a frame drops its accelerators then).
    void OnSetPreviewMode(BOOL bPreview);

    // --- profile --------------------------------------------------------------
    // Writes or reads the binary value "Accelerators" of a section of the
    // application's profile (registry or INI file). Both do nothing without
    // a default table. Load returns TRUE when a stored table was taken;
    // a missing or damaged value leaves the current table as it is.
    BOOL Save(LPCSTR lpszSection);
    BOOL Load(LPCSTR lpszSection);

    // The stored byte form of a table, and its reverse. Parse refuses data
    // that is not whole entries or whose entries are not well formed.
    static std::vector<BYTE> AFXAPI Pack(const std::vector<ACCEL>& entries);
    static BOOL AFXAPI Unpack(const BYTE* pData, UINT nBytes, std::vector<ACCEL>& entries);
    // A well-formed entry: known fVirt bits only and a non-zero key.
    static BOOL AFXAPI IsValidEntry(const ACCEL& accel);

    // Character of a mnemonic and a virtual key: TRUE when the key types the
    // character (or its upper case) on the current or any installed layout.
    static BOOL AFXAPI IsMnemonicMatch(UINT nChar, UINT nVirtKey);

    // The key name the keyboard layout gives ("Ctrl", "Num 5"), "" for none.
    static CString AFXAPI GetLayoutKeyName(UINT nKey);
    // The built-in name of a key, NULL when the table has none.
    LPCSTR GetBuiltInKeyName(UINT nKey) const;

    BOOL m_bAllowEscapeShortcut;  // a plain Escape may be captured (0)
    BOOL m_bUseSystemKeyNameText; // layout names first (0)
    int m_nDisableCounter;
    BOOL m_bPreviewMode;
    CQXPCommandBars* m_pCommandBars;

protected:
    // The table FindDefaultAccelerator reads (NULL: none).
    const std::vector<ACCEL>* GetLookupTable(std::vector<ACCEL>& frameCopy);
    void RebuildHandle();

    std::vector<ACCEL> m_current;
    std::vector<ACCEL> m_default;
    BOOL m_bHaveCurrent;
    BOOL m_bHaveDefault;
    HACCEL m_hAccelTable; // built from m_current; owned
    std::map<WORD, CString> m_mapKeyNames;
};

// ---------------------------------------------------------------------------
// The capture edit: keystrokes never reach the edit itself; its
// PreTranslateMessage builds one entry from them and shows its text.
class CQXPShortcutEdit : public CEdit {
    DECLARE_DYNAMIC(CQXPShortcutEdit)
public:
    CQXPShortcutEdit();

    // The shortcuts that name the keys and judge the entries.
    void SetKeyboardShortcuts(CQXPKeyboardShortcuts* pShortcuts) { m_pShortcuts = pShortcuts; }
    // Forgets the entry and clears the text.
    void ResetKey();
    // The entry built so far and whether a non-modifier key was taken.
    const ACCEL& GetAccel() const { return m_accel; }
    BOOL IsKeyCaptured() const { return m_bKeyDefined; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Live-modifiers mode: every key-down only refreshes the modifiers.
    BOOL m_bLiveModifiers;
    // Where the live modifier state comes from (GetKeyState unless a test
    // sets one); returns the state word of a virtual key.
    static SHORT(WINAPI* s_pfnGetKeyState)(int nVirtKey);

protected:
    void RefreshModifiers();
    void ShowEntry();

    BOOL m_bKeyDefined;
    ACCEL m_accel;
    CQXPKeyboardShortcuts* m_pShortcuts;
};
