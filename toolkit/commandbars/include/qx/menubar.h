// qx/menubar.h - the frame's menu bar: a stretched toolbar with BarID 1
// whose controls are the titles of a menu resource.
#pragma once

#include <qx/toolbar.h>

class CQXPMenuBar : public CQXPToolBar {
    DECLARE_DYNCREATE(CQXPMenuBar)
public:
    CQXPMenuBar();
    ~CQXPMenuBar() override;

    // Loads the menu resource into the bar; FALSE when it is missing.
    BOOL LoadMenuBar(UINT nIDResource);
    UINT GetCurrentMenuResource() const { return m_nIDResource; }

    // Alt or F10 alone (WM_SYSCOMMAND SC_KEYMENU without a character)
    // selects the first title; Alt and a letter opens the title of that
    // mnemonic. TRUE when the bar took the key.
    BOOL OnKeyMenu(UINT nChar);
    // Watches the site frame for the menu keys.
    void InstallFrameHooks();

    UINT m_nIDResource;

protected:
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CWindowHook* m_pFrameHook;
    HWND m_hWndHookedFrame;
};
