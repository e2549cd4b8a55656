// qx/resourcemgr.h - the one process-wide object through which the toolkit
// loads its strings, menus, bitmaps, cursors, icons, dialog templates and
// HTML pages, and converts between its 8-bit strings and UTF-16 with the
// code page of its current language.
//
// Every load walks the resource chain: the separate resource module when
// one is set, then the application's resource handle, then the program's
// own module. A missing resource gives FALSE, NULL or an empty string;
// nothing is reported to the user. The toolkit's own ids are in
// <qxresource.h>, its resources in toolkit/resources/toolkit.rc.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qxresource.h>

#include <string>

class CQXPToolBar;

// One language the toolkit's resources may be in.
struct QXP_RESOURCE_LANGUAGE {
    LANGID wLanguage;
    WORD wReserved;
    UINT nCodePage;      // 0: the system ANSI code page
    LPCSTR lpszEncoding; // "windows-1252"
    LPCSTR lpszCaption;  // "English (United States)"
    LPCSTR lpszLang;     // "LANG_ENGLISH"
    LPCSTR lpszSubLang;  // "SUBLANG_ENGLISH_US"
    UINT nCharset;       // ANSI_CHARSET
};

class ToolkitResourceManager {
public:
    // The process-wide object, made on first use.
    static ToolkitResourceManager* AFXAPI Instance();
    virtual ~ToolkitResourceManager();
    ToolkitResourceManager(const ToolkitResourceManager&) = delete;
    ToolkitResourceManager& operator=(const ToolkitResourceManager&) = delete;

    // --- loaders (virtual, so a program may redirect them) -------------------
    // The string of an id (empty when missing; *pbNotFound is then TRUE).
    virtual CString LoadString(UINT nID, BOOL* pbNotFound = NULL);
    // The string of an id, whatever its length; FALSE (and an empty string)
    // when missing or empty.
    virtual BOOL LoadString(CString* pString, UINT nID);
    // Attaches the menu resource to an empty menu object.
    virtual BOOL LoadMenu(CMenu* pMenu, UINT nID);
    // The buttons of an RT_TOOLBAR resource.
    virtual BOOL LoadToolBar(CQXPToolBar* pToolBar, UINT nID);
    // Attaches the bitmap resource to an empty bitmap object.
    virtual BOOL LoadBitmap(CBitmap* pBitmap, UINT nID);
    virtual HCURSOR LoadCursor(UINT nID);
    // The dialog template (locked resource data); NULL when missing.
    virtual LPCDLGTEMPLATEA LoadDialogTemplate(UINT nID);
    virtual HGLOBAL LoadDialogResource(UINT nID);
    // The RT_HTML resource copied byte for byte; TRUE when it holds at
    // least one byte.
    virtual BOOL LoadHTML(CString* pText, UINT nID);
    // The icon at its own size, or at a given size; NULL when missing.
    virtual HICON LoadIcon(UINT nID);
    virtual HICON LoadIcon(UINT nID, int cx, int cy);
    // The best image of a module's icon for a size; NULL when missing.
    virtual HICON LoadIconFromModule(HMODULE hModule, UINT nID, int cx, int cy);
    // Frees the separate resource module (when one is set).
    virtual void FreeResourceModule();
    virtual LANGID GetResourcesLangID() const;

    // --- the rest ------------------------------------------------------------
    // The text of a menu item (by position with MF_BYPOSITION, else by
    // command id), converted with the current code page; its length, 0 with
    // an empty string when there is none.
    int GetMenuString(CMenu* pMenu, UINT nIDItem, CString& rString, UINT nFlags) const;
    // The text of a menu item by position (empty for separators).
    static CString AFXAPI GetMenuString(HMENU hMenu, int nIndex);
    // The string of an id from one module only; its length in bytes, 0
    // (and an empty string) when missing or empty.
    int LoadStringFromModule(HMODULE hModule, UINT nID, CString* pString) const;
    // Shows the string of an id in the application's message box; its answer.
    int ShowMessageBox(UINT nID, UINT nType = MB_OK);
    UINT GetCodePage() const;
    UINT GetCharset() const;
    const QXP_RESOURCE_LANGUAGE* GetLanguage() const { return m_pLanguage; }

    // A separate module searched before the application's resources; the
    // manager frees it (FreeResourceModule, or at exit). NULL removes it.
    void SetResourceModule(HMODULE hModule);
    HMODULE GetResourceModule() const { return m_hResourceModule; }
    // The module resources are loaded from when nothing more specific is
    // known: the resource module, else the application's resource handle.
    HINSTANCE GetResourceHandle() const;
    // The first module of the chain that holds the resource (the
    // application's resource handle when none does).
    HINSTANCE FindResourceHandle(LPCSTR lpszName, LPCSTR lpszType) const;

protected:
    ToolkitResourceManager();

    BOOL m_bValid;
    HMODULE m_hResourceModule;
    const QXP_RESOURCE_LANGUAGE* m_pLanguage;
};


// A UTF-16 copy of an 8-bit text, converted with the resource manager's
// code page; the copy lives as long as the object.
class WideString {
public:
    explicit WideString(LPCSTR lpszText);
    operator LPCWSTR() const { return m_str.c_str(); }
    LPCWSTR GetString() const { return m_str.c_str(); }
    int GetLength() const { return (int)m_str.size(); }

private:
    std::wstring m_str;
};
