// mainframe.h - the editor's main window: an MDI frame with command bars,
// status bar, docking panes, document tabs, the visual theme and the
// settings record every view reads.
#pragma once

#include <fx/fx.h>
#include <qx/framehost.h>
#include <qx/panemanager.h>
#include <qx/mditabs.h>
#include <qx/profile.h>

#include "editorframe.h"
#include "panes.h"
#include "toollist.h"
#include "lexerconfig.h"
#include <qx/statusbar.h>

#include <vector>

class CProcessOutputView;
class CDoodleView;
class CFunctionList;
class CToolbarFindComboBox;
class CFindDialog;
class CReplaceDialog;
class CQXPKeyboardShortcuts;
class CFileSysTreeCtrl;
class CSolutionBarProjTree;
class CSolutionBarTemplateTree;

// The base of the main frame: the toolkit's MDI frame host with context-help
// routing through the active child first.
class CQXMDIFrameWndEx : public CQXPMDIFrameWnd {
    DECLARE_DYNAMIC(CQXMDIFrameWndEx)
public:
    CQXMDIFrameWndEx();
    ~CQXMDIFrameWndEx() override;

protected:
    afx_msg LRESULT OnCommandHelpEx(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CMainFrame : public CQXMDIFrameWndEx, public IEditorFrame {
    DECLARE_DYNAMIC(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    // IEditorFrame
    CViewSettings* GetSettings() override { return &m_settings; }
    CEditorSettings* GetEditorSettings() override { return &m_editorSettings; }
    CLexerConfigList* GetLexerConfigs() override { return &m_lexerConfigs; }
    BOOL IsClosingForSession() const override { return m_bClosingForSession; }
    void SetStatusText(int nPane, LPCSTR lpszText) override;
    CWnd* GetHexFindDialog() override { return m_pHexFindDialog; }
    void SetHexFindDialog(CWnd* pDialog) override { m_pHexFindDialog = pDialog; }
    void DetachHexFindDialog(CWnd* pDialog) override;
    void FindNextInActiveDocument(LPCSTR lpszText, BOOL bSearchUp, BOOL bMatchCase, BOOL bAscii) override;
    CString GetSearchText() override;
    void SetCurrentViewWnd(CWnd* pView) override;
    void SetCurrentChildFrame(CFrameWnd* pFrame) override;
    void AddChildFrame(CFrameWnd* pFrame) override;
    void RemoveChildFrame(CFrameWnd* pFrame) override;
    BOOL IsChildFrameListed(CFrameWnd* pFrame) const;
    void CompareFiles(LPCSTR lpszFirst, LPCSTR lpszSecond) override;
    // The function list scans the active text view again.
    void OnTextDocumentActivated() override { RefreshFunctionList(); }
    void OnTextChanged() override { RefreshFunctionList(); }
    void ShowToolOutput(LPCSTR lpszText) override;

    // Search routing: the dialogs and boxes search the active text view.
    BOOL FindInActiveDocument(LPCSTR lpszText, BOOL bMatchCase, BOOL bWholeWord, BOOL bRegex, BOOL bSearchUp,
                              BOOL bWrap) override;
    BOOL MarkAllInActiveDocument(LPCSTR lpszText, BOOL bMatchCase, BOOL bWholeWord, BOOL bRegex) override;
    int ReplaceInActiveDocument(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bMatchCase, BOOL bWholeWord, BOOL bRegex,
                                BOOL bSelection, BOOL bReplaceAll, int nStart) override;
    void QuickFindInActiveDocument(LPCSTR lpszText) override;
    void ShowFindDialog(CWnd* pTarget, LPCSTR lpszText) override;
    void ShowReplaceDialog(CWnd* pTarget, LPCSTR lpszText) override;
    void DetachFindDialog(CWnd* pDialog) override;
    void DetachReplaceDialog(CWnd* pDialog) override;
    void AddSearchHistory(LPCSTR lpszText) override;
    HACCEL GetFrameAccelerators() override;
    void AddNavigationPlace(HWND hView, INT_PTR nPos) override;
    void RemoveNavigationView(HWND hView) override;
    CFindInFilesResults* ShowFindInFilesResults() override;
    void ReloadSearchHistory() override;
    BOOL OpenFileAt(LPCSTR lpszPath, int nLine, int nPosition) override;
    void OpenFileFromTree(LPCSTR lpszPath, BOOL bHex) override;
    void AddWorkspaceFile(LPCSTR lpszPath, int nType, int nEncoding) override;
    void OpenWorkspaceEntry(LPCSTR lpszPath) override;
    BOOL ActivateFileWindow(LPCSTR lpszPath) override { return ActivateChildWindow(lpszPath); }
    CMFCScintilla* GetCurrentEditor() override;
    void CreateTemplateFromText(LPCSTR lpszText) override;
    // The Project Explorer's workspace tree and the Template Explorer's tree
    // (null while their pane has no window).
    CSolutionBarProjTree* GetProjectTree() const;
    CSolutionBarTemplateTree* GetTemplateTree() const;
    // Shows the Project Explorer and loads a workspace file into it.
    BOOL LoadWorkspace(LPCSTR lpszPath);
    // The File Explorer's tree (null while the pane has no window).
    CFileSysTreeCtrl* GetFileTree() const;
    // Fills the File Explorer's tree when it is shown and not yet filled.
    void FillFileTreeIfShown();
    // Makes the windows of the panes that were present but not in sight
    // when the frame was made (tabs behind another, auto-hidden panes).
    void CreateDeferredPaneWindows();
    CToolbarFindComboBox* GetFindBox() const { return m_pFindBox; }
    CFindDialog* GetFindDialog() const { return m_pFindDialog; }
    CReplaceDialog* GetReplaceDialog() const { return m_pReplaceDialog; }
    // The view of the active child frame when it is a text view.
    CDoodleView* GetActiveTextView();
    // The Function List pane's list while the pane is open, else NULL.
    CFunctionList* GetFunctionList();
    // Binds the function list to the active text view and rescans it soon;
    // nothing without an open pane or an active text view.
    void RefreshFunctionList();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Settings (read at creation, written on close).
    void LoadViewSettings();
    void LoadPrintSettings();
    void LoadBackupSettings();
    void LoadOutputSettings();
    void LoadEditSettings();
    void LoadGeneralSettings();
    void SaveSettings();

    // Shows the frame with the stored placement (start-up's last step).
    void ShowMainWindow();
    // Theme commands 720-724; any other id keeps the current look.
    void ApplyTheme(int nThemeId);
    // Activates the child window whose document has this path; FALSE when
    // none has it.
    BOOL ActivateChildWindow(LPCSTR lpszPath);

    // Options sheet: the languages are read again from the Config folder
    // and every text frame applies its language anew; the editing values
    // (tabs, guides, caret line) and the toolbar icon size reach what shows
    // them; the text documents' backup stores follow the backup settings.
    void ReloadLanguages();
    void ApplyEditingValuesToViews();
    void ApplyLargeIcons();
    // bReset: forget each document's copies; else drop the ones beyond the
    // number kept.
    void UpdateDocumentBackups(BOOL bReset);

    void SetProgress(BOOL bOn, int nPos, int nMax) override;
    CProcessOutputView* ShowToolWindow();
    // The external tools, their icons loaded (they wait for the first idle
    // or for the first one asking for the list).
    CToolList* GetToolList();
    // Loads the external tools' icons when they are still waiting.
    void LoadDeferredToolIcons();
    // The page of the customize sheet a command opens it on (Toolbars 0,
    // Commands 1, Keyboard 2, Menus 3, Tools 4, Options 5).
    static int CustomizeStartPage(UINT nCommand);
    // Runs an external tool with the active document's path in its
    // arguments; FALSE when it could not be started.
    BOOL RunTool(const CToolRecord& tool);
    void ShowPane(int nID);
    BOOL IsPanePresent(int nID) const;
    BOOL AreTabsShown() const { return m_tabClient.IsAttached(); }
    CQXPDockingPaneManager* GetPaneManager() { return &m_paneManager; }
    CQXPTabClientWnd* GetTabClient() { return &m_tabClient; }
    CQXPStatusBar* GetStatusBar() { return &m_statusBar; }
    // The command bars' keyboard shortcuts (null once the bars are gone).
    CQXPKeyboardShortcuts* GetShortcuts() const
    {
        return m_pCommandBars != NULL ? m_pCommandBars->GetKeyboardShortcuts() : NULL;
    }

    volatile LONG m_bToolRunning;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg LRESULT OnOpenFilesToOpen(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDockingPaneNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTabClientMouse(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEditorContextMenu(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTabClientItemCreated(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCreateControl(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam);

    afx_msg void OnTogglePane(UINT nID);
    afx_msg void OnUpdateTogglePane(CCmdUI* pCmdUI);
    afx_msg void OnShowAllWindows();
    afx_msg void OnRefreshFileTree();
    afx_msg void OnRefreshFunctionList();
    afx_msg void OnFindInFiles();
    afx_msg void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);
    afx_msg void OnViewToggle(UINT nID);
    afx_msg void OnUpdateViewToggle(CCmdUI* pCmdUI);
    afx_msg void OnTheme(UINT nID);
    afx_msg void OnUpdateTheme(CCmdUI* pCmdUI);
    afx_msg void OnTabsHide();
    afx_msg void OnUpdateTabsHide(CCmdUI* pCmdUI);
    afx_msg void OnTabsAlign(UINT nID);
    afx_msg void OnUpdateTabsAlign(CCmdUI* pCmdUI);
    afx_msg void OnUpdateWindowArrange(CCmdUI* pCmdUI);
    afx_msg void OnCloseAllButSelected();
    afx_msg void OnUpdateCloseAllButSelected(CCmdUI* pCmdUI);
    afx_msg void OnFont();
    afx_msg void OnPageSetup();
    afx_msg void OnCheckForUpdates();
    // F1, Shift+F1 and the help finder: the framework's frame help, which
    // goes to HTML Help.
    afx_msg void OnHelpKey() { CQXMDIFrameWndEx::OnHelp(); }
    afx_msg void OnContextHelpKey() { CQXMDIFrameWndEx::OnContextHelp(); }
    afx_msg void OnHelpFinderCmd() { CQXMDIFrameWndEx::OnHelpFinder(); }
    afx_msg void OnCheckForUpdatesSite();
    afx_msg void OnStopUserTool();
    afx_msg void OnUpdateStopUserTool(CCmdUI* pCmdUI);
    afx_msg void OnUpdateToolsEntry(CCmdUI* pCmdUI);
    afx_msg void OnEditorProperties();
    afx_msg void OnTidyProperties();
    afx_msg void OnXmlTidyProperties();
    afx_msg void OnNewWorkspace();
    afx_msg void OnOpenWorkspace();
    afx_msg void OnSaveWorkspace();
    afx_msg void OnCloseWorkspace();
    afx_msg void OnWorkspaceFolderCommand(UINT nID);
    afx_msg void OnUpdateWorkspaceOpen(CCmdUI* pCmdUI);
    afx_msg void OnCustomize();
    afx_msg void OnCustomizePage(UINT nCommand);
    afx_msg void OnUpdateFindBox(CCmdUI* pCmdUI);
    afx_msg void OnNavigate(UINT nID);
    afx_msg void OnUpdateNavigate(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDocumentIndicator(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    BOOL CreateCommandBarsAndStatusBar();
    BOOL CreatePanes();
    void CreatePaneWindow(int nID);
    // The window of a pane, made first if its making was put off.
    CWnd* PaneWindow(int nID) const;
    void TogglePane(int nID, BOOL bShow);
    // Shows the Project Explorer (making its window); its tree or NULL.
    CSolutionBarProjTree* ShowProjectExplorer();
    void ToggleTabs();
    void ForEachTextFrame(void (*pfn)(CMDIChildWnd*, const CViewSettings&, UINT), UINT nID);
    int* PaneFlag(int nID);

    CViewSettings m_settings;
    char* m_pszFontFace; // the 32-byte face buffer m_settings points to
    CEditorSettings m_editorSettings;
    CLexerConfigList m_lexerConfigs;
    CToolList m_tools;
    CQXPStatusBar m_statusBar;
    HWND m_hProgress;
    BOOL m_bProgressOn = FALSE; // a progress runs: its range is set
    CQXPDockingPaneManager m_paneManager;
    CQXPTabClientWnd m_tabClient;
    CQXWindowPlacement m_placement;
    BOOL m_bClosingForSession;
    CWnd* m_pHexFindDialog;
    CString m_strLastSearch;
    // Search routing: the toolbar find box (owned), the open modeless Find
    // and Replace dialogs (each deletes itself and detaches), the view the
    // last Replace ran in (a handle: it is only compared).
    CToolbarFindComboBox* m_pFindBox;
    CFindDialog* m_pFindDialog;
    CReplaceDialog* m_pReplaceDialog;
    HWND m_hLastReplaceView;
    BOOL m_bNavigating; // a navigation step moves the caret: no new place
    std::vector<CFrameWnd*> m_childFrames;
    BOOL m_bPanesInstalled;
    BOOL m_bPaneWindowsDeferred;
    BOOL m_bToolIconsDeferred;

    // Pane windows (created when a pane is first shown).
    CWnd* m_pPaneWnds[kPaneCount];
    // Pane-present flags: File, Project, Function List, Template, List,
    // Tool Window, Find In Files.
    int m_bFileExplorer, m_bProjectExplorer, m_bFunctionList, m_bTemplateExplorer, m_bListExplorer,
        m_bToolWindow, m_bFindInFiles;
};

// The about box.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;
    BOOL OnInitDialog() override;

private:
    HFONT m_hCreditFont;
};
