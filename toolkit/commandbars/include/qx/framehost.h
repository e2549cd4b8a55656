// qx/framehost.h - the MDI frame base that gives a program's main frame its
// command bars: it owns the manager and lets it see the frame's messages.
#pragma once

#include <qx/commandbars.h>

#include <fx/mdi.h>

class CQXPMDIFrameWnd : public CMDIFrameWnd {
    DECLARE_DYNAMIC(CQXPMDIFrameWnd)
public:
    CQXPMDIFrameWnd();
    ~CQXPMDIFrameWnd() override;

    // Creates the manager from its runtime class and binds it to the frame;
    // called from the frame's WM_CREATE handler. FALSE when it fails.
    BOOL InitCommandBars(CRuntimeClass* pCommandBarsClass = NULL);
    CQXPCommandBars* GetCommandBars() const { return m_pCommandBars; }
    // Loads the frame; when the bars' keyboard shortcuts have a table of
    // their own by then, the frame keeps no accelerator table.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;

    // While the focus is in a command-bar edit box (CQXPEdit), key messages
    // other than Tab, Enter and Esc go to it untranslated: the frame's
    // accelerators must not steal its typing.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // TRUE when the window is a command-bar edit box.
    static BOOL AFXAPI IsCommandBarEdit(HWND hWnd);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The command bars step aside first (and come back), then the frame's
    // own preview handling runs.
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;

protected:
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CQXPCommandBars* m_pCommandBars;
};
