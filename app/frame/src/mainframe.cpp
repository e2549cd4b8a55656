// mainframe.cpp - the editor's main window.
#include "mainframe.h"

#include "quillmateapp.h"
#include "settingsstore.h"
#include "apphelpers.h"
#include "panes.h"
#include "functionlist.h"
#include "tooloutput.h"
#include "toolscontrol.h"
#include "viewascontrol.h"
#include "textframe.h"
#include "textview.h"
#include "textdoc.h"
#include "encoding.h"
#include "findbox.h"
#include "finddlg.h"
#include "filesystree.h"
#include "projtree.h"
#include "templatetree.h"
#include "templatedlg.h"
#include "findinfiles.h"

#include "hexdoc.h"
#include "optionssheet.h"
#include "tidysheet.h"
#include "customizetools.h"

#include <qx/panelayout.h>
#include <qx/tabbedcontainer.h>
#include <qx/paintmanager.h>
#include <qx/themes.h>
#include <qx/images.h>
#include <qx/shortcuts.h>
#include <qx/barcontrols.h>
#include <qx/custom.h>
#include <qx/customizesheet.h>
#include <qx/drawing.h>

// Last: its plain numbers must not reach the names other headers declare.
#include "resource.h"

#include <stdlib.h>
#include <string.h>

namespace {

const char kMainFrameClass[] = "FernbrightMainFrame";
const char kCommandBarsSection[] = "CommandBars";
const char kLayoutName[] = "NormalLayout";

// Docking-pane theme of each theme command 720-724.
int DockingThemeOf(int nThemeId)
{
    switch (nThemeId) {
    case ID_THEME_WIN2000: return 0;
    case ID_THEME_WINXP: return 3;
    case ID_THEME_WHIDBEY: return 6;
    case ID_THEME_OFFICEXP: return 1;
    case ID_THEME_OFFICE2003: return 2;
    default: return -1;
    }
}

// Paint-manager theme number of each theme command.
int PaintThemeOf(int nThemeId)
{
    switch (nThemeId) {
    case ID_THEME_WIN2000: return qxpThemeWindows2000;
    case ID_THEME_WINXP: return qxpThemeWindowsXP;
    case ID_THEME_WHIDBEY: return qxpThemeWhidbey;
    case ID_THEME_OFFICEXP: return qxpThemeOfficeXP;
    case ID_THEME_OFFICE2003: return qxpThemeOffice2003;
    default: return -1;
    }
}

const UINT kIndicators[] = {
    0,
    ID_INDICATOR_LINECOL,
    ID_INDICATOR_INS,
    ID_INDICATOR_CAPS,
    ID_INDICATOR_NUM,
    ID_INDICATOR_SCRL,
    ID_INDICATOR_PROGRESS,
};

} // namespace

// ===========================================================================
// CQXMDIFrameWndEx

IMPLEMENT_DYNAMIC(CQXMDIFrameWndEx, CQXPMDIFrameWnd)

BEGIN_MESSAGE_MAP(CQXMDIFrameWndEx, CQXPMDIFrameWnd)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelpEx)
END_MESSAGE_MAP()

CQXMDIFrameWndEx::CQXMDIFrameWndEx() {}

CQXMDIFrameWndEx::~CQXMDIFrameWndEx() {}

LRESULT CQXMDIFrameWndEx::OnCommandHelpEx(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0 && m_bHelpMode)
        lParam = (LPARAM)m_nIDTracking + 0x10000;
    CMDIChildWnd* pChild = MDIGetActive();
    if (pChild != NULL && pChild->SendMessage(WM_COMMANDHELP, wParam, lParam))
        return TRUE;
    return CQXPMDIFrameWnd::OnCommandHelp(wParam, lParam);
}

// ===========================================================================
// CMainFrame

IMPLEMENT_DYNAMIC(CMainFrame, CQXMDIFrameWndEx)

BEGIN_MESSAGE_MAP(CMainFrame, CQXMDIFrameWndEx)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_OPENFILESTOOPEN, OnOpenFilesToOpen)
    ON_MESSAGE(WM_DOCKINGPANE_NOTIFY, OnDockingPaneNotify)
    ON_MESSAGE(WM_TABCLIENT_MOUSENOTIFY, OnTabClientMouse)
    ON_MESSAGE(WM_EDITOR_CONTEXTMENU, OnEditorContextMenu)
    ON_MESSAGE(WM_TABCLIENT_ITEMCREATED, OnTabClientItemCreated)
    ON_MESSAGE(WM_COMMANDBARS_CREATECONTROL, OnCreateControl)
    ON_MESSAGE(WM_COMMANDBARS_CONTROLNOTIFY, OnControlNotify)

    ON_COMMAND_RANGE(ID_VIEW_LIST_EXPLORER, ID_VIEW_LIST_EXPLORER, OnTogglePane)
    ON_COMMAND_RANGE(ID_VIEW_FILE_EXPLORER, ID_VIEW_PROJECT_EXPLORER, OnTogglePane)
    ON_COMMAND_RANGE(ID_VIEW_TEMPLATE_EXPLORER, ID_VIEW_TEMPLATE_EXPLORER, OnTogglePane)
    ON_COMMAND_RANGE(ID_VIEW_TOOL_WINDOW, ID_VIEW_FIND_IN_FILES, OnTogglePane)
    ON_COMMAND_RANGE(ID_VIEW_FUNCTION_LIST, ID_VIEW_FUNCTION_LIST, OnTogglePane)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LIST_EXPLORER, OnUpdateTogglePane)
    ON_UPDATE_COMMAND_UI(ID_VIEW_FILE_EXPLORER, OnUpdateTogglePane)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PROJECT_EXPLORER, OnUpdateTogglePane)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TEMPLATE_EXPLORER, OnUpdateTogglePane)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOL_WINDOW, OnUpdateTogglePane)
    ON_UPDATE_COMMAND_UI(ID_VIEW_FIND_IN_FILES, OnUpdateTogglePane)
    ON_UPDATE_COMMAND_UI(ID_VIEW_FUNCTION_LIST, OnUpdateTogglePane)
    ON_COMMAND(ID_VIEW_SHOW_ALL_WINDOWS, OnShowAllWindows)
    ON_COMMAND(ID_VIEW_REFRESH_FILE_TREE, OnRefreshFileTree)
    ON_COMMAND(ID_VIEW_REFRESH_FUNCTION_LIST, OnRefreshFunctionList)
    ON_UPDATE_COMMAND_UI(ID_VIEW_REFRESH_FUNCTION_LIST, OnUpdateAlwaysEnabled)

    ON_COMMAND_RANGE(ID_VIEW_WHITESPACE, ID_VIEW_LINE_ENDINGS, OnViewToggle)
    ON_COMMAND_RANGE(ID_VIEW_CARET_LINE, ID_VIEW_MATCH_BRACKET, OnViewToggle)
    ON_COMMAND_RANGE(ID_VIEW_LINE_NUMBERS, ID_VIEW_LINE_NUMBERS, OnViewToggle)
    ON_COMMAND_RANGE(ID_VIEW_RULER, ID_VIEW_RULER, OnViewToggle)
    ON_COMMAND_RANGE(ID_VIEW_BLOCK_SELECT, ID_VIEW_BLOCK_SELECT, OnViewToggle)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_WHITESPACE, ID_VIEW_LINE_ENDINGS, OnUpdateViewToggle)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_CARET_LINE, ID_VIEW_MATCH_BRACKET, OnUpdateViewToggle)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LINE_NUMBERS, OnUpdateViewToggle)
    ON_UPDATE_COMMAND_UI(ID_VIEW_RULER, OnUpdateViewToggle)
    ON_UPDATE_COMMAND_UI(ID_VIEW_BLOCK_SELECT, OnUpdateViewToggle)

    ON_COMMAND_RANGE(ID_THEME_WIN2000, ID_THEME_OFFICE2003, OnTheme)
    ON_UPDATE_COMMAND_UI_RANGE(ID_THEME_WIN2000, ID_THEME_OFFICE2003, OnUpdateTheme)

    ON_COMMAND(ID_TABS_HIDE, OnTabsHide)
    ON_UPDATE_COMMAND_UI(ID_TABS_HIDE, OnUpdateTabsHide)
    ON_COMMAND_RANGE(ID_TABS_ALIGN_LEFT, ID_TABS_ALIGN_BOTTOM, OnTabsAlign)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TABS_ALIGN_LEFT, ID_TABS_ALIGN_BOTTOM, OnUpdateTabsAlign)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateWindowArrange)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateWindowArrange)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateWindowArrange)
    ON_COMMAND(ID_WINDOW_CLOSE_ALL_BUT, OnCloseAllButSelected)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CLOSE_ALL_BUT, OnUpdateCloseAllButSelected)

    ON_COMMAND(ID_VIEW_FONT, OnFont)
    ON_COMMAND(ID_FILE_PAGE_SETUP_EX, OnPageSetup)
    ON_COMMAND(ID_HELP_FINDER, OnHelpFinderCmd)
    ON_COMMAND(ID_DEFAULT_HELP, OnHelpFinderCmd)
    ON_COMMAND(ID_HELP, OnHelpKey)
    ON_COMMAND(ID_CONTEXT_HELP, OnContextHelpKey)
    ON_COMMAND(ID_HELP_CHECK_UPDATES, OnCheckForUpdates)
    ON_COMMAND(ID_HELP_CHECK_UPDATES_SITE, OnCheckForUpdatesSite)
    ON_COMMAND(ID_TOOLS_STOP_USER_TOOL, OnStopUserTool)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_STOP_USER_TOOL, OnUpdateStopUserTool)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_LIST_ENTRY, OnUpdateToolsEntry)
    ON_UPDATE_COMMAND_UI(ID_FIND_BOX, OnUpdateFindBox)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_LINECOL, OnUpdateDocumentIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_INS, OnUpdateDocumentIndicator)

    // The workspace of the Project Explorer.
    ON_COMMAND(ID_FILE_NEW_WORKSPACE, OnNewWorkspace)
    ON_COMMAND(ID_WORKSPACE_OPEN, OnOpenWorkspace)
    ON_COMMAND(ID_WORKSPACE_SAVE, OnSaveWorkspace)
    ON_COMMAND(ID_WORKSPACE_CLOSE, OnCloseWorkspace)
    ON_UPDATE_COMMAND_UI(ID_WORKSPACE_CLOSE, OnUpdateWorkspaceOpen)
    ON_COMMAND_RANGE(ID_WORKSPACE_ADD_FOLDER, ID_WORKSPACE_RENAME_FOLDER, OnWorkspaceFolderCommand)
    ON_UPDATE_COMMAND_UI(ID_WORKSPACE_SAVE, OnUpdateWorkspaceOpen)
    ON_UPDATE_COMMAND_UI_RANGE(ID_WORKSPACE_ADD_FOLDER, ID_WORKSPACE_RENAME_FOLDER, OnUpdateWorkspaceOpen)

    // The customize sheet, opened on the page each command names.
    ON_COMMAND(ID_TOOLS_CUSTOMIZE, OnCustomize)
    ON_COMMAND(ID_TOOLS_EXTERNAL_WIZARD, OnCustomize)
    ON_COMMAND_RANGE(ID_TOOLS_CREATE_TOOLBARS, ID_TOOLS_PRESENTATION, OnCustomizePage)
    ON_COMMAND(ID_TOOLS_EDITOR_PROPERTIES, OnEditorProperties)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_EDITOR_PROPERTIES, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_TOOLS_TIDY_PROPERTIES, OnTidyProperties)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_TIDY_PROPERTIES, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_TOOLS_XML_TIDY_PROPERTIES, OnXmlTidyProperties)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_XML_TIDY_PROPERTIES, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_SEARCH_FIND_IN_FILES, OnFindInFiles)
    ON_UPDATE_COMMAND_UI(ID_SEARCH_FIND_IN_FILES, OnUpdateAlwaysEnabled)

    // Navigation history.
    ON_COMMAND_RANGE(ID_NAVIGATE_FORWARD, ID_NAVIGATE_BACKWARD, OnNavigate)
    ON_UPDATE_COMMAND_UI(ID_NAVIGATE_FORWARD, OnUpdateNavigate)
    ON_UPDATE_COMMAND_UI(ID_NAVIGATE_BACKWARD, OnUpdateNavigate)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
    : m_bToolRunning(0),
      m_pszFontFace(new char[kFontFaceBufferSize]),
      m_hProgress(NULL),
      m_bClosingForSession(FALSE),
      m_pHexFindDialog(NULL),
      m_pFindBox(NULL),
      m_pFindDialog(NULL),
      m_pReplaceDialog(NULL),
      m_hLastReplaceView(NULL),
      m_bNavigating(FALSE),
      m_bPanesInstalled(FALSE),
      m_bPaneWindowsDeferred(FALSE),
      m_bToolIconsDeferred(FALSE),
      m_bFileExplorer(0),
      m_bProjectExplorer(0),
      m_bFunctionList(0),
      m_bTemplateExplorer(0),
      m_bListExplorer(0),
      m_bToolWindow(0),
      m_bFindInFiles(0)
{
    memset(&m_settings, 0, sizeof(m_settings));
    memset(m_pszFontFace, 0, kFontFaceBufferSize);
    m_settings.pszFontFace = m_pszFontFace;
    SetDefaultViewSettings(m_settings);
    m_editorSettings = CEditorSettings();
    memset(m_pPaneWnds, 0, sizeof(m_pPaneWnds));
}

CMainFrame::~CMainFrame()
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (pApp != NULL && pApp->GetMainFrame() == this)
        pApp->ForgetMainFrame();
    delete m_pFindBox;
    delete[] m_pszFontFace;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CQXMDIFrameWndEx::PreCreateWindow(cs))
        return FALSE;
    // The Explorer hand-over finds the editor by this class name.
    WNDCLASSA wc;
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (!::GetClassInfoA(hInst, kMainFrameClass, &wc)) {
        memset(&wc, 0, sizeof(wc));
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = hInst;
        wc.hIcon = ::LoadIconA(hInst, MAKEINTRESOURCEA(IDR_MAINFRAME));
        wc.hCursor = ::LoadCursorA(NULL, IDC_ARROW);
        wc.lpszClassName = kMainFrameClass;
        if (!::RegisterClassA(&wc))
            return FALSE;
    }
    cs.lpszClass = kMainFrameClass;
    return TRUE;
}

BOOL CMainFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    if (!CQXMDIFrameWndEx::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    // The menu bar carries the menu: the frame keeps no system menu bar.
    if (m_pCommandBars != NULL && m_pCommandBars->GetMenuBar() != NULL) {
        ::SetMenu(m_hWnd, NULL);
        m_hMenuDefault = NULL;
    }
    // Find Next (F3) works inside the toolbar's find box too.
    if (m_pFindBox != NULL) {
        m_pFindBox->CopyAccelerator(GetFrameAccelerators(), ID_SEARCH_FIND_NEXT);
        m_pFindBox->CopyAccelerator(GetFrameAccelerators(), IDC_FIND_NEXT);
    }
    return TRUE;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    // The base leaves keys to a command-bar edit box that has the focus,
    // then lets the command bars' shortcut table translate them.
    return CQXMDIFrameWndEx::PreTranslateMessage(pMsg);
}

// --- settings ---------------------------------------------------------------------

void CMainFrame::LoadViewSettings()
{
    LoadViewSettingsFromProfile(m_settings, &m_editorSettings.nTabsActive);
    CString folder = GetAppDataFolder() + "\\Config";
    m_lexerConfigs.LoadAll(folder);
}

void CMainFrame::LoadPrintSettings() { LoadPrintSettingsFromProfile(m_editorSettings); }
void CMainFrame::LoadBackupSettings() { LoadBackupSettingsFromProfile(m_editorSettings); }
void CMainFrame::LoadOutputSettings() { LoadOutputSettingsFromProfile(m_editorSettings); }
void CMainFrame::LoadEditSettings() { LoadEditSettingsFromProfile(m_editorSettings); }
void CMainFrame::LoadGeneralSettings() { LoadGeneralSettingsFromProfile(m_editorSettings); }

void CMainFrame::SaveSettings()
{
    m_editorSettings.nTabsActive = m_tabClient.IsAttached() ? 1 : 0;
    SaveSettingsToProfile(m_settings, m_editorSettings);
}

// --- creation ------------------------------------------------------------------------

BOOL CMainFrame::CreateCommandBarsAndStatusBar()
{
    if (!m_statusBar.Create(this, 0x50008200, IDC_STATUS_BAR) ||
        !m_statusBar.SetIndicators(kIndicators, (int)(sizeof(kIndicators) / sizeof(kIndicators[0]))))
        return FALSE;
    if (!InitCommandBars())
        return FALSE;

    CQXPThemePainter* pPaint = GetGlobalPaintManager();
    if (pPaint != NULL) {
        pPaint->GetIconsInfo()->bUseDisabledIcons = TRUE;
        pPaint->GetIconsInfo()->bIconsWithShadow = FALSE;
    }

    CQXPCommandBars* pBars = GetCommandBars();
    pBars->SetMenu("Menu Bar", IDR_MAINFRAME);
    pBars->GetKeyboardShortcuts()->LoadAccelerators(IDR_MAINFRAME);
    CQXPToolBar* pToolBar = pBars->Add("Toolbar", qxpBarTop);
    if (pToolBar == NULL || !pToolBar->LoadToolBar(IDR_TOOLBAR_MAIN))
        return FALSE;
    CQXPImageManager* pImages = GetGlobalImageManager();
    if (pImages != NULL) {
        pImages->SetIcons(IDR_TOOLBAR_MENU_ICONS);
        pImages->SetIcons(IDR_TOOLBAR_LARGE);
    }

    // The context menus the user may edit on the customize sheet's Menus
    // page (the layout below brings back the edits).
    pBars->AddContextMenu(IDR_CONTEXT_EDITOR, 0, "Editor");
    pBars->AddContextMenu(IDR_CONTEXT_TABS, 0, "Tabs");

    // The user's layout, options and shortcuts; anything damaged is refused
    // and the bars stay as made above.
    pBars->LoadBarState(kCommandBarsSection, TRUE);
    pBars->LoadOptions(kCommandBarsSection);
    GetShortcuts()->Load(kCommandBarsSection);
    pBars->GetOptions()->m_szLargeIcons = CSize(24, 24);
    pBars->SetLargeIcons(m_settings.nLargeIcons ? TRUE : FALSE);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CQXMDIFrameWndEx::OnCreate(lpCreateStruct) == -1)
        return -1;
    LoadViewSettings();
    if (!CreateCommandBarsAndStatusBar())
        return -1;
    if (!CreatePanes())
        return -1;
    // The progress pane: 150 pixels, no border, a smooth progress bar in it.
    int nProgress = m_statusBar.CommandToIndex(ID_INDICATOR_PROGRESS);
    m_statusBar.SetPaneWidth(nProgress, 150);
    m_statusBar.SetPaneStyle(nProgress, m_statusBar.GetPaneStyle(nProgress) | 0x100);
    m_hProgress = ::CreateWindowExA(0, PROGRESS_CLASSA, NULL, 0x50000001, 0, 0, 150, 16, m_statusBar.GetSafeHwnd(),
                                    NULL, AfxGetInstanceHandle(), NULL);
    if (m_hProgress == NULL || !m_statusBar.SetPaneControl(m_hProgress, ID_INDICATOR_PROGRESS))
        return -1;

    LoadPrintSettings();
    LoadBackupSettings();
    LoadOutputSettings();
    LoadEditSettings();
    LoadGeneralSettings();

    // The external tools; a first start gets the two standard ones, and so
    // does a damaged list after the tools read before the damage. A list
    // the user emptied stays empty.
    m_tools.RemoveAll();
    if (!CCustomizePageTools::LoadTools(m_tools))
        m_tools.AddDefaults();
    // Their icons (the shell's icons of the programs) are first needed when
    // the Tools menu opens: they are loaded at the first idle.
    m_bToolIconsDeferred = TRUE;

    if (m_editorSettings.nTabsActive) {
        m_editorSettings.nTabsActive = 0;
        ToggleTabs();
    }
    ApplyTheme(m_settings.nTheme);
    return 0;
}

BOOL CMainFrame::CreatePanes()
{
    if (!m_paneManager.InstallDockingPanes(this))
        return FALSE;
    m_bPanesInstalled = TRUE;
    RECT rc = {0, 0, 200, 120};
    auto create = [&](int nID, int nDirection, CQXPDockingPane* pNeighbour) -> CQXPDockingPane* {
        CQXPDockingPane* pPane = m_paneManager.FindPane(nID);
        if (pPane != NULL)
            return pPane;
        pPane = m_paneManager.CreatePane(nID, rc, nDirection, pNeighbour);
        if (pPane != NULL)
            pPane->SetTitle(FindPaneInfo(nID)->lpszTitle);
        return pPane;
    };
    CQXPDockingPane* pProject = create(PANE_PROJECT_EXPLORER, 0, NULL);
    CQXPDockingPane* pFile = create(PANE_FILE_EXPLORER, 0, NULL);
    if (pFile != NULL && pProject != NULL)
        m_paneManager.AttachPane(pFile, pProject);
    CQXPDockingPane* pList = create(PANE_LIST_EXPLORER, 0, NULL);
    if (pList != NULL && pFile != NULL)
        m_paneManager.AttachPane(pList, pFile);
    CQXPDockingPane* pTemplate = create(PANE_TEMPLATE_EXPLORER, 0, NULL);
    if (pTemplate != NULL && pList != NULL)
        m_paneManager.AttachPane(pTemplate, pList);
    create(PANE_FUNCTION_LIST, 1, NULL);
    CQXPDockingPane* pTool = create(PANE_TOOL_WINDOW, 3, NULL);
    CQXPDockingPane* pFind = create(PANE_FIND_IN_FILES, 3, NULL);
    if (pFind != NULL && pTool != NULL)
        m_paneManager.AttachPane(pFind, pTool);

    static const int kIconIDs[] = {PANE_FILE_EXPLORER, PANE_PROJECT_EXPLORER, PANE_TEMPLATE_EXPLORER,
                                   PANE_LIST_EXPLORER, PANE_TOOL_WINDOW, PANE_FIND_IN_FILES,
                                   ID_PANE_SPARE, PANE_FUNCTION_LIST};
    m_paneManager.SetIcons(IDB_PANE_ICONS, kIconIDs, 8, RGB(192, 192, 192));
    if (pFile != NULL)
        m_paneManager.SelectPane(pFile, FALSE);
    // Drags show a translucent preview and the docking guides.
    m_paneManager.m_bAlphaDockingContext = TRUE;
    m_paneManager.m_bShowDockingGuides = TRUE;

    // The stored layout, applied only when it loads whole.
    DockingLayoutStore* pLayout = m_paneManager.CreateLayout();
    if (pLayout != NULL) {
        if (pLayout->LoadFromRegistry(kLayoutName))
            m_paneManager.SetLayout(pLayout);
        delete pLayout;
    }
    for (int i = 0; i < kPaneCount; i++) {
        const PaneInfo& info = GetPaneInfos()[i];
        CQXPDockingPane* pPane = m_paneManager.FindPane(info.nID);
        *PaneFlag(info.nID) = pPane != NULL && !pPane->IsClosed();
        if (pPane == NULL || pPane->IsClosed() || pPane->IsAttached())
            continue;
        // Only what the first paint shows is made now; a tab behind
        // another or an auto-hidden pane gets its window at the first idle
        // (or sooner, when it is asked for).
        CQXPDockingPaneTabbedContainer* pTabbed = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pPane->GetContainer());
        BOOL bInSight = pTabbed == NULL || (!pTabbed->IsHidden() && (pTabbed->GetSelected() == pPane ||
                                                                     pTabbed->GetSelected() == NULL));
        if (bInSight)
            CreatePaneWindow(info.nID);
        else
            m_bPaneWindowsDeferred = TRUE;
    }
    return TRUE;
}

void CMainFrame::CreateDeferredPaneWindows()
{
    if (!m_bPaneWindowsDeferred)
        return;
    m_bPaneWindowsDeferred = FALSE;
    for (int i = 0; i < kPaneCount; i++) {
        int nID = GetPaneInfos()[i].nID;
        CQXPDockingPane* pPane = m_paneManager.FindPane(nID);
        if (pPane != NULL && !pPane->IsClosed() && !pPane->IsAttached())
            CreatePaneWindow(nID);
    }
}

CWnd* CMainFrame::PaneWindow(int nID) const
{
    if (m_bPaneWindowsDeferred) {
        CMainFrame* pThis = const_cast<CMainFrame*>(this);
        CQXPDockingPane* pPane = pThis->m_paneManager.FindPane(nID);
        if (pPane != NULL && !pPane->IsClosed() && !pPane->IsAttached())
            pThis->CreatePaneWindow(nID);
    }
    return m_pPaneWnds[FindPaneInfo(nID)->nSlot];
}

int* CMainFrame::PaneFlag(int nID)
{
    switch (nID) {
    case PANE_FILE_EXPLORER: return &m_bFileExplorer;
    case PANE_PROJECT_EXPLORER: return &m_bProjectExplorer;
    case PANE_FUNCTION_LIST: return &m_bFunctionList;
    case PANE_TEMPLATE_EXPLORER: return &m_bTemplateExplorer;
    case PANE_LIST_EXPLORER: return &m_bListExplorer;
    case PANE_TOOL_WINDOW: return &m_bToolWindow;
    default: return &m_bFindInFiles;
    }
}

BOOL CMainFrame::IsPanePresent(int nID) const
{
    return *const_cast<CMainFrame*>(this)->PaneFlag(nID) != 0;
}

void CMainFrame::CreatePaneWindow(int nID)
{
    const PaneInfo* pInfo = FindPaneInfo(nID);
    CQXPDockingPane* pPane = m_paneManager.FindPane(nID);
    if (pInfo == NULL || pPane == NULL || pPane->IsAttached())
        return;
    CWnd*& pWnd = m_pPaneWnds[pInfo->nSlot];
    if (pWnd == NULL || !::IsWindow(pWnd->GetSafeHwnd())) {
        delete pWnd;
        PaneContext context = {this, &m_bToolRunning};
        pWnd = ::CreatePaneWindow(nID, context);
    }
    if (pWnd != NULL)
        pPane->Attach(pWnd);
    // A function list shown later lists the active document at once.
    if (nID == PANE_FUNCTION_LIST)
        RefreshFunctionList();
}

LRESULT CMainFrame::OnDockingPaneNotify(WPARAM wParam, LPARAM lParam)
{
    if (wParam == DOCKINGPANE_SHOWWINDOW) {
        CQXPDockingPane* pPane = reinterpret_cast<CQXPDockingPane*>(lParam);
        if (pPane != NULL && !pPane->IsAttached())
            CreatePaneWindow(pPane->GetID());
        return TRUE;
    }
    return FALSE;
}

// --- showing ------------------------------------------------------------------------------

void CMainFrame::ShowMainWindow()
{
    // A damaged placement (any size but a whole record) leaves the default.
    m_placement.RestoreWindowPos(this);
    UINT nShow = m_placement.GetShowCmd();
    if (nShow != SW_SHOWMAXIMIZED && nShow != SW_SHOWNORMAL)
        nShow = SW_SHOW;
    ShowWindow((int)nShow);
}

void CMainFrame::ApplyTheme(int nThemeId)
{
    int nPaint = PaintThemeOf(nThemeId);
    if (nPaint >= 0) {
        SetGlobalPaintManager(nPaint);
        CQXPThemePainter* pPaint = GetGlobalPaintManager();
        if (pPaint != NULL) {
            pPaint->GetIconsInfo()->bUseDisabledIcons = TRUE;
            pPaint->GetIconsInfo()->bIconsWithShadow = FALSE;
        }
        if (m_bPanesInstalled)
            m_paneManager.SetTheme(DockingThemeOf(nThemeId));
        m_settings.nTheme = nThemeId;
    }
    if (m_hWnd == NULL)
        return;
    RecalcLayout();
    if (m_pCommandBars != NULL) {
        m_pCommandBars->RecalcFrameLayout();
        m_pCommandBars->UpdateCommandBars();
    }
    if (m_bPanesInstalled)
        m_paneManager.RedrawPanes();
    ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

BOOL CMainFrame::ActivateChildWindow(LPCSTR lpszPath)
{
    if (lpszPath == NULL || *lpszPath == '\0' || m_hWndMDIClient == NULL)
        return FALSE;
    char szFull[MAX_PATH * 2];
    if (::GetFullPathNameA(lpszPath, sizeof(szFull), szFull, NULL) == 0)
        lstrcpynA(szFull, lpszPath, sizeof(szFull));
    for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CFrameWnd* pChild = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h));
        if (pChild == NULL)
            continue;
        CDocument* pDoc = pChild->GetActiveDocument();
        if (pDoc != NULL && !pDoc->GetPathName().IsEmpty() && pDoc->GetPathName().CompareNoCase(szFull) == 0) {
            if (pChild->IsIconic())
                ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)pChild->m_hWnd, 0);
            MDIActivate(pChild);
            return TRUE;
        }
    }
    return FALSE;
}

void CMainFrame::SetStatusText(int nPane, LPCSTR lpszText)
{
    m_statusBar.SetPaneText(nPane, lpszText, TRUE);
    // The caret position was shown: the function list follows the caret.
    if (nPane == 1) {
        CFunctionList* pList = GetFunctionList();
        CDoodleView* pView = pList != NULL ? GetActiveTextView() : NULL;
        if (pView != NULL)
            pList->TrackCaret(&pView->GetEditor());
    }
}

void CMainFrame::SetProgress(BOOL bOn, int nPos, int nMax)
{
    if (m_hProgress == NULL)
        return;
    if (!bOn) {
        ::SendMessageA(m_hProgress, PBM_SETRANGE32, 0, 0);
        ::SendMessageA(m_hProgress, PBM_SETPOS, 0, 0);
        m_bProgressOn = FALSE;
        return;
    }
    // The first call of a progress sets its range (a new control's own
    // range, 0 to 100, is none of ours).
    if (!m_bProgressOn) {
        ::SendMessageA(m_hProgress, PBM_SETRANGE32, 0, nMax);
        ::SendMessageA(m_hProgress, PBM_SETSTEP, 1, 0);
        m_bProgressOn = TRUE;
    }
    ::SendMessageA(m_hProgress, PBM_SETPOS, (WPARAM)nPos, 0);
    // A file loads without the message loop running: the bar shows now.
    ::UpdateWindow(m_hProgress);
}

void CMainFrame::FindNextInActiveDocument(LPCSTR lpszText, BOOL bSearchUp, BOOL bMatchCase, BOOL bAscii)
{
    m_strLastSearch = lpszText ? lpszText : "";
    HexFindInActiveDocument(this, lpszText, bSearchUp, bMatchCase, bAscii);
}

void CMainFrame::SetCurrentViewWnd(CWnd* pView)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (pApp != NULL)
        pApp->SetCurrentViewWnd(pView);
}

void CMainFrame::SetCurrentChildFrame(CFrameWnd* pFrame)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (pApp != NULL)
        pApp->SetFocusFrame(pFrame);
}

void CMainFrame::AddChildFrame(CFrameWnd* pFrame)
{
    if (pFrame != NULL && !IsChildFrameListed(pFrame))
        m_childFrames.push_back(pFrame);
}

void CMainFrame::RemoveChildFrame(CFrameWnd* pFrame)
{
    for (auto it = m_childFrames.begin(); it != m_childFrames.end(); ++it) {
        if (*it == pFrame) {
            m_childFrames.erase(it);
            break;
        }
    }
    CQuillmateApp* pApp = GetQuillmateApp();
    if (pApp != NULL && pApp->GetFocusFrame() == pFrame)
        pApp->SetFocusFrame(NULL);
}

BOOL CMainFrame::IsChildFrameListed(CFrameWnd* pFrame) const
{
    for (CFrameWnd* p : m_childFrames)
        if (p == pFrame)
            return TRUE;
    return FALSE;
}

void CMainFrame::CompareFiles(LPCSTR lpszFirst, LPCSTR lpszSecond)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (pApp != NULL)
        pApp->OpenCompare(lpszFirst, lpszSecond);
}

CProcessOutputView* CMainFrame::ShowToolWindow()
{
    if (!m_bToolWindow)
        TogglePane(PANE_TOOL_WINDOW, TRUE);
    else
        ShowPane(PANE_TOOL_WINDOW);
    return dynamic_cast<CProcessOutputView*>(PaneWindow(PANE_TOOL_WINDOW));
}

void CMainFrame::ShowToolOutput(LPCSTR lpszText)
{
    if (CProcessOutputView* pOutput = ShowToolWindow())
        pOutput->ReplaceText(lpszText);
}

BOOL CMainFrame::RunTool(const CToolRecord& tool)
{
    char szCurrent[MAX_PATH + 1] = "";
    ::GetCurrentDirectoryA(MAX_PATH, szCurrent);
    // "$AppDir" is the program's folder, whatever folder is current.
    CString folder = tool.strFolder;
    folder.Replace("$AppDir", GetProgramFolder());
    CString path;
    CMDIChildWnd* pChild = MDIGetActive();
    CDocument* pDoc = pChild != NULL ? pChild->GetActiveDocument() : NULL;
    if (pDoc != NULL)
        path = pDoc->GetPathName();
    CString args = ExpandToolArguments(tool.strArguments, path);
    if (tool.nOutputMode == 2) {
        HINSTANCE h = ::ShellExecuteA(m_hWnd, "open", tool.strCommand, args, folder.IsEmpty() ? NULL : (LPCSTR)folder,
                                      SW_SHOW);
        return (INT_PTR)h > 32;
    }
    CString cmdLine;
    cmdLine.Format("\"%s\" %s", tool.strCommand.GetString(), args.GetString());
    if (tool.nOutputMode == 1) {
        // The output goes into a new document's editing window.
        CQuillmateApp* pApp = GetQuillmateApp();
        CDocument* pNew = pApp != NULL && pApp->GetTextTemplate() != NULL
                              ? pApp->GetTextTemplate()->OpenDocumentFile(NULL)
                              : NULL;
        CDoodleDoc* pText = dynamic_cast<CDoodleDoc*>(pNew);
        CMFCScintilla* pEditor = pText != NULL ? pText->GetEditor() : NULL;
        if (pEditor == NULL) {
            ::OutputDebugStringA("CMAINFRAME::ONTOOLSMANAGER::FAILED TO CREATE A NEW DOCUMENT");
            return FALSE;
        }
        if (!folder.IsEmpty())
            ::SetCurrentDirectoryA(folder);
        ::InterlockedExchange(&m_bToolRunning, 1);
        BOOL bStarted = pEditor->RunCommand(cmdLine);
        if (!bStarted)
            ::InterlockedExchange(&m_bToolRunning, 0);
        ::SetCurrentDirectoryA(szCurrent);
        return bStarted;
    }
    CProcessOutputView* pOutput = ShowToolWindow();
    if (pOutput == NULL)
        return FALSE;
    if (!folder.IsEmpty())
        ::SetCurrentDirectoryA(folder);
    ::InterlockedExchange(&m_bToolRunning, 1);
    BOOL bStarted = pOutput->RunCommand(cmdLine);
    if (!bStarted)
        ::InterlockedExchange(&m_bToolRunning, 0);
    ::SetCurrentDirectoryA(szCurrent);
    return bStarted;
}

void CMainFrame::ShowPane(int nID)
{
    CQXPDockingPane* pPane = m_paneManager.FindPane(nID);
    if (pPane == NULL && FindPaneInfo(nID) != NULL) {
        TogglePane(nID, TRUE);
        return;
    }
    if (pPane != NULL)
        m_paneManager.SelectPane(pPane, TRUE);
}

// --- panes --------------------------------------------------------------------------------

void CMainFrame::TogglePane(int nID, BOOL bShow)
{
    const PaneInfo* pInfo = FindPaneInfo(nID);
    if (pInfo == NULL)
        return;
    int* pFlag = PaneFlag(nID);
    CQXPDockingPane* pPane = m_paneManager.FindPane(nID);
    if (bShow) {
        if (pPane == NULL) {
            RECT rc = {0, 0, 200, 120};
            pPane = m_paneManager.CreatePane(nID, rc, 0, NULL);
            if (pPane == NULL)
                return;
            pPane->SetTitle(pInfo->lpszTitle);
        }
        *pFlag = 1;
        m_paneManager.SelectPane(pPane, TRUE);
        if (!pPane->IsAttached())
            CreatePaneWindow(nID);
    } else {
        *pFlag = 0;
        if (pPane != NULL) {
            // The pane's window goes with the pane, except the Project
            // Explorer's: the workspace lives on, hidden, and keeps its
            // entries until the pane shows again.
            CWnd*& pWnd = m_pPaneWnds[pInfo->nSlot];
            pPane->Detach();
            m_paneManager.DestroyPane(pPane);
            if (pWnd != NULL && nID != PANE_PROJECT_EXPLORER) {
                if (::IsWindow(pWnd->GetSafeHwnd()))
                    pWnd->DestroyWindow();
                delete pWnd;
                pWnd = NULL;
            }
        }
    }
    RecalcLayout();
}

void CMainFrame::OnTogglePane(UINT nID)
{
    TogglePane((int)nID, !*PaneFlag((int)nID));
}

void CMainFrame::OnUpdateTogglePane(CCmdUI* pCmdUI)
{
    int nID = (int)pCmdUI->m_nID;
    int* pFlag = PaneFlag(nID);
    CQXPDockingPane* pPane = m_paneManager.FindPane(nID);
    if (pPane != NULL) {
        if (!pPane->IsClosed() && !*pFlag)
            *pFlag = 1;
        else if (pPane->IsClosed() && *pFlag)
            *pFlag = 0;
    }
    pCmdUI->SetCheck(*pFlag ? 1 : 0);
}

void CMainFrame::OnShowAllWindows()
{
    static const int kOrder[] = {PANE_FILE_EXPLORER, PANE_PROJECT_EXPLORER, PANE_TEMPLATE_EXPLORER,
                                 PANE_LIST_EXPLORER, PANE_TOOL_WINDOW, PANE_FIND_IN_FILES,
                                 PANE_FUNCTION_LIST};
    for (int nID : kOrder)
        if (!*PaneFlag(nID))
            TogglePane(nID, TRUE);
}

// --- find in files and the file tree ---------------------------------------------------------

void CMainFrame::OnFindInFiles()
{
    CFindInFilesDlg dlg(this);
    dlg.DoModal();
}

CFindInFilesResults* CMainFrame::ShowFindInFilesResults()
{
    if (!m_bFindInFiles)
        TogglePane(PANE_FIND_IN_FILES, TRUE);
    else
        ShowPane(PANE_FIND_IN_FILES);
    return dynamic_cast<CFindInFilesResults*>(PaneWindow(PANE_FIND_IN_FILES));
}

void CMainFrame::ReloadSearchHistory()
{
    if (m_pFindBox != NULL && m_pFindBox->GetSafeHwnd() != NULL)
        m_pFindBox->LoadHistory();
}

BOOL CMainFrame::OpenFileAt(LPCSTR lpszPath, int nLine, int nPosition)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (lpszPath == NULL || *lpszPath == '\0' || pApp == NULL)
        return FALSE;
    CDocument* pDoc = NULL;
    if (ActivateChildWindow(lpszPath)) {
        CMDIChildWnd* pChild = MDIGetActive();
        pDoc = pChild != NULL ? pChild->GetActiveDocument() : NULL;
    } else {
        // Plain options: whatever the last open chose (hex, an encoding,
        // read-only) does not apply to a search result.
        pApp->SetOpenOptions(OPEN_FORMAT_DETECT, ENC_DETECT, 0, 0);
        pDoc = pApp->OpenFile(lpszPath);
    }
    CDoodleDoc* pText = dynamic_cast<CDoodleDoc*>(pDoc);
    if (pText == NULL)
        return FALSE;
    pText->GotoLinePosition(nLine, nPosition);
    return TRUE;
}

void CMainFrame::OpenFileFromTree(LPCSTR lpszPath, BOOL bHex)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (lpszPath == NULL || *lpszPath == '\0' || pApp == NULL)
        return;
    if (bHex)
        pApp->SetOpenFormat(OPEN_FORMAT_HEX);
    else
        pApp->SetOpenOptions(OPEN_FORMAT_DETECT, ENC_DETECT, 0, IsFileReadOnly(lpszPath));
    pApp->OpenFile(lpszPath);
    CWnd* pFocus = pApp->GetFocusFrame();
    if (pFocus != NULL && ::IsWindow(pFocus->GetSafeHwnd()))
        pFocus->SetFocus();
}

CFileSysTreeCtrl* CMainFrame::GetFileTree() const
{
    CWnd* pWnd = PaneWindow(PANE_FILE_EXPLORER);
    CSolutionBarFSContainer* pPane = dynamic_cast<CSolutionBarFSContainer*>(pWnd);
    CFileSysTreeCtrl* pTree = pPane != NULL ? &pPane->GetTree() : NULL;
    return pTree != NULL && ::IsWindow(pTree->GetSafeHwnd()) ? pTree : NULL;
}

// --- the solution bar: workspace and templates ------------------------------------------------

CSolutionBarProjTree* CMainFrame::GetProjectTree() const
{
    CWnd* pWnd = PaneWindow(PANE_PROJECT_EXPLORER);
    CSolutionBarPTContainer* pPane = dynamic_cast<CSolutionBarPTContainer*>(pWnd);
    CSolutionBarProjTree* pTree = pPane != NULL ? &pPane->GetProjTree() : NULL;
    return pTree != NULL && ::IsWindow(pTree->GetSafeHwnd()) ? pTree : NULL;
}

CSolutionBarTemplateTree* CMainFrame::GetTemplateTree() const
{
    CWnd* pWnd = PaneWindow(PANE_TEMPLATE_EXPLORER);
    CSolutionBarTEContainer* pPane = dynamic_cast<CSolutionBarTEContainer*>(pWnd);
    CSolutionBarTemplateTree* pTree = pPane != NULL ? &pPane->GetTree() : NULL;
    return pTree != NULL && ::IsWindow(pTree->GetSafeHwnd()) ? pTree : NULL;
}

void CMainFrame::AddWorkspaceFile(LPCSTR lpszPath, int nType, int nEncoding)
{
    CWnd* pWnd = PaneWindow(PANE_PROJECT_EXPLORER);
    if (CSolutionBarPTContainer* pPane = dynamic_cast<CSolutionBarPTContainer*>(pWnd))
        if (::IsWindow(pPane->GetSafeHwnd()))
            pPane->AddFile(lpszPath, NULL, nType, nEncoding);
}

void CMainFrame::OpenWorkspaceEntry(LPCSTR lpszPath)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (lpszPath == NULL || *lpszPath == '\0' || pApp == NULL || ActivateChildWindow(lpszPath))
        return;
    // Plain options: what the last Open dialog chose does not apply here.
    pApp->SetOpenOptions(OPEN_FORMAT_DETECT, ENC_DETECT, 0, 0);
    pApp->OpenFile(lpszPath);
}

CMFCScintilla* CMainFrame::GetCurrentEditor()
{
    CDoodleView* pView = GetActiveTextView();
    return pView != NULL ? &pView->GetEditor() : NULL;
}

void CMainFrame::CreateTemplateFromText(LPCSTR lpszText)
{
    ShowPane(PANE_TEMPLATE_EXPLORER);
    if (CSolutionBarTemplateTree* pTree = GetTemplateTree())
        pTree->AskCreateTemplate(lpszText);
}

CSolutionBarProjTree* CMainFrame::ShowProjectExplorer()
{
    ShowPane(PANE_PROJECT_EXPLORER);
    return GetProjectTree();
}

BOOL CMainFrame::LoadWorkspace(LPCSTR lpszPath)
{
    CSolutionBarProjTree* pTree = ShowProjectExplorer();
    return pTree != NULL && pTree->LoadWorkspace(lpszPath);
}

void CMainFrame::OnNewWorkspace()
{
    if (CSolutionBarProjTree* pTree = ShowProjectExplorer())
        pTree->NewWorkspace("");
}

void CMainFrame::OnOpenWorkspace()
{
    CString strFilter;
    strFilter.LoadString(IDS_WORKSPACE_FILTER);
    CFileDialog dlg(TRUE, "dpf", NULL, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING,
                    strFilter, this);
    if (dlg.DoModal() == IDOK)
        LoadWorkspace(dlg.GetPathName());
}

void CMainFrame::OnSaveWorkspace()
{
    if (CSolutionBarProjTree* pTree = GetProjectTree())
        pTree->SaveWorkspace(NULL);
}

void CMainFrame::OnCloseWorkspace()
{
    if (CSolutionBarProjTree* pTree = GetProjectTree())
        pTree->SaveIfModified();
}

void CMainFrame::OnWorkspaceFolderCommand(UINT nID)
{
    CSolutionBarProjTree* pTree = ShowProjectExplorer();
    if (pTree != NULL && pTree->IsOpen())
        pTree->GetParent()->SendMessage(WM_COMMAND, nID, 0);
}

void CMainFrame::OnUpdateWorkspaceOpen(CCmdUI* pCmdUI)
{
    CSolutionBarProjTree* pTree = GetProjectTree();
    pCmdUI->Enable(pTree != NULL && pTree->IsOpen());
}

void CMainFrame::FillFileTreeIfShown()
{
    CFileSysTreeCtrl* pTree = GetFileTree();
    if (pTree != NULL && !pTree->IsFilled() && pTree->IsWindowVisible())
        pTree->Fill();
}

void CMainFrame::OnRefreshFileTree()
{
    ShowPane(PANE_FILE_EXPLORER);
    if (CFileSysTreeCtrl* pTree = GetFileTree())
        pTree->RefreshAll();
}

CFunctionList* CMainFrame::GetFunctionList()
{
    if (!m_bPanesInstalled)
        return NULL;
    CQXPDockingPane* pPane = m_paneManager.FindPane(PANE_FUNCTION_LIST);
    if (pPane == NULL || pPane->IsClosed())
        return NULL;
    CWnd* pWnd = PaneWindow(PANE_FUNCTION_LIST);
    return pWnd != NULL && ::IsWindow(pWnd->GetSafeHwnd()) ? dynamic_cast<CFunctionList*>(pWnd) : NULL;
}

void CMainFrame::RefreshFunctionList()
{
    CFunctionList* pList = GetFunctionList();
    CDoodleView* pView = pList != NULL ? GetActiveTextView() : NULL;
    if (pView == NULL)
        return;
    // The language id is the LEXERID of the view's syntax configuration.
    CScintillaFrame* pFrame = dynamic_cast<CScintillaFrame*>(pView->GetParentFrame());
    int nLanguageId = -1;
    if (pFrame != NULL && pFrame->GetViewAsIndex() >= 0 && pFrame->GetViewAsIndex() < m_lexerConfigs.GetCount())
        nLanguageId = m_lexerConfigs.GetAt(pFrame->GetViewAsIndex()).GetLexerId();
    pList->AttachView(&pView->GetEditor(), nLanguageId);
    pList->Refresh(10);
}

void CMainFrame::OnRefreshFunctionList()
{
    RefreshFunctionList();
}

void CMainFrame::OnUpdateAlwaysEnabled(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

// --- text view toggles ---------------------------------------------------------------------

namespace {

int* ViewField(CViewSettings& s, UINT nID)
{
    switch (nID) {
    case ID_VIEW_WORD_WRAP: return &s.nWordWrap;
    case ID_VIEW_WHITESPACE: return &s.nWhitespace;
    case ID_VIEW_LINE_ENDINGS: return &s.nLineEndings;
    case ID_VIEW_CARET_LINE: return &s.nCaretLine;
    case ID_VIEW_LINE_NUMBERS: return &s.nLineNumbers;
    case ID_VIEW_CODE_FOLDING: return &s.nCodeFolding;
    case ID_VIEW_RULER: return &s.nRulers;
    case ID_VIEW_BLOCK_SELECT: return &s.nBlockSelect;
    case ID_VIEW_MATCH_BRACKET: return &s.nMatchBracket;
    default: return NULL;
    }
}

void ApplyToggleToFrame(CMDIChildWnd* pChild, const CViewSettings& s, UINT nID)
{
    CScintillaFrame* pFrame = dynamic_cast<CScintillaFrame*>(pChild);
    if (pFrame == NULL)
        return;
    switch (nID) {
    case ID_VIEW_WORD_WRAP: pFrame->SetWordWrap(s.nWordWrap); break;
    case ID_VIEW_WHITESPACE: pFrame->SetWhitespace(s.nWhitespace); break;
    case ID_VIEW_LINE_ENDINGS: pFrame->SetLineEndings(s.nLineEndings); break;
    case ID_VIEW_CARET_LINE: pFrame->SetCaretLine(s.nCaretLine); break;
    case ID_VIEW_LINE_NUMBERS: pFrame->SetLineNumbers(s.nLineNumbers); break;
    case ID_VIEW_CODE_FOLDING: pFrame->SetCodeFolding(s.nCodeFolding); break;
    case ID_VIEW_RULER: pFrame->SetRuler(s.nRulers); break;
    case ID_VIEW_BLOCK_SELECT: pFrame->SetBlockSelect(s.nBlockSelect); break;
    case ID_VIEW_FONT: pFrame->SetViewFont(s.pszFontFace, s.nFontSize, s.nBold, s.nItalic); break;
    default: break;
    }
}

} // namespace

void CMainFrame::ForEachTextFrame(void (*pfn)(CMDIChildWnd*, const CViewSettings&, UINT), UINT nID)
{
    if (m_hWndMDIClient == NULL)
        return;
    for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CMDIChildWnd* pChild = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(h));
        if (pChild != NULL)
            pfn(pChild, m_settings, nID);
    }
}

void CMainFrame::OnViewToggle(UINT nID)
{
    int* pField = ViewField(m_settings, nID);
    if (pField == NULL)
        return;
    *pField = *pField ? 0 : 1;
    if (nID != ID_VIEW_MATCH_BRACKET)
        ForEachTextFrame(&ApplyToggleToFrame, nID);
}

void CMainFrame::OnUpdateViewToggle(CCmdUI* pCmdUI)
{
    int* pField = ViewField(m_settings, pCmdUI->m_nID);
    pCmdUI->SetCheck(pField != NULL && *pField ? 1 : 0);
}

// --- themes ----------------------------------------------------------------------------------

void CMainFrame::OnTheme(UINT nID)
{
    ApplyTheme((int)nID);
}

void CMainFrame::OnUpdateTheme(CCmdUI* pCmdUI)
{
    pCmdUI->SetRadio(m_settings.nTheme == (int)pCmdUI->m_nID);
}

// --- document tabs ---------------------------------------------------------------------------

void CMainFrame::ToggleTabs()
{
    // With tabs the documents stay maximised and the menu bar carries their
    // caption buttons (without its own close button).
    const DWORD dwMDIFlags = 0x1300;
    CQXPMenuBar* pMenuBar = m_pCommandBars != NULL ? m_pCommandBars->GetMenuBar() : NULL;
    if (!m_tabClient.IsAttached()) {
        if (m_tabClient.Attach(this, FALSE)) {
            m_tabClient.SetToolTipMode(1);
            if (pMenuBar != NULL)
                pMenuBar->SetFlags(dwMDIFlags, 0);
            BOOL bMaximized = FALSE;
            CMDIChildWnd* pActive = MDIGetActive(&bMaximized);
            if (pActive != NULL && !bMaximized)
                MDIMaximize(pActive);
        }
    } else {
        m_tabClient.Detach();
        if (pMenuBar != NULL)
            pMenuBar->SetFlags(0, dwMDIFlags);
    }
    if (m_tabClient.IsAttached())
        m_tabClient.Refresh();
    m_editorSettings.nTabsActive = m_editorSettings.nTabsActive ? 0 : 1;
    RecalcLayout();
}

void CMainFrame::OnTabsHide()
{
    ToggleTabs();
}

void CMainFrame::OnUpdateTabsHide(CCmdUI* pCmdUI)
{
    pCmdUI->SetText(m_tabClient.IsAttached() ? "Hide Tabs" : "Show Tabs");
}

void CMainFrame::OnTabsAlign(UINT nID)
{
    if (!m_tabClient.IsAttached())
        return;
    int nPosition = nID == ID_TABS_ALIGN_LEFT    ? tabPositionLeft
                    : nID == ID_TABS_ALIGN_RIGHT ? tabPositionRight
                    : nID == ID_TABS_ALIGN_TOP   ? tabPositionTop
                                                 : tabPositionBottom;
    m_tabClient.GetPaintManager()->SetPosition((TabPosition)nPosition);
    m_tabClient.Refresh();
}

void CMainFrame::OnUpdateTabsAlign(CCmdUI* pCmdUI)
{
    BOOL bTabs = m_tabClient.IsAttached();
    pCmdUI->Enable(bTabs);
    int nWanted = pCmdUI->m_nID == ID_TABS_ALIGN_LEFT    ? tabPositionLeft
                  : pCmdUI->m_nID == ID_TABS_ALIGN_RIGHT ? tabPositionRight
                  : pCmdUI->m_nID == ID_TABS_ALIGN_TOP   ? tabPositionTop
                                                         : tabPositionBottom;
    pCmdUI->SetCheck(bTabs && m_tabClient.GetPaintManager()->GetPosition() == nWanted ? 1 : 0);
}

void CMainFrame::OnUpdateWindowArrange(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_tabClient.IsAttached());
}

void CMainFrame::OnCloseAllButSelected()
{
    CMDIChildWnd* pActive = MDIGetActive();
    if (m_hWndMDIClient == NULL)
        return;
    for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CWnd* pChild = CWnd::FromHandlePermanent(h);
        if (pChild != NULL && pChild != pActive && dynamic_cast<CScintillaFrame*>(pChild) != NULL)
            ::PostMessageA(h, WM_CLOSE, 0, 0);
    }
}

void CMainFrame::OnUpdateCloseAllButSelected(CCmdUI* pCmdUI)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    pCmdUI->Enable(pApp != NULL && pApp->GetOpenDocumentCount() > 1);
}

CToolList* CMainFrame::GetToolList()
{
    LoadDeferredToolIcons();
    return &m_tools;
}

void CMainFrame::LoadDeferredToolIcons()
{
    if (!m_bToolIconsDeferred)
        return;
    m_bToolIconsDeferred = FALSE;
    m_tools.RefreshIcons(GetGlobalImageManager());
}

namespace {
CToolList* MainFrameTools()
{
    CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    return pFrame != NULL ? pFrame->GetToolList() : NULL;
}
} // namespace

LRESULT CMainFrame::OnCreateControl(WPARAM, LPARAM lParam)
{
    QXP_CREATECONTROL_RECORD* pRecord = reinterpret_cast<QXP_CREATECONTROL_RECORD*>(lParam);
    if (pRecord == NULL)
        return FALSE;
    if (pRecord->nID == ID_TOOLS_LIST_PLACEHOLDER) {
        CControlTools::SetToolListSource(&MainFrameTools);
        pRecord->pControl = new CControlTools;
        return TRUE;
    }
    if (pRecord->nID == ID_FIND_BOX) {
        // One box, whichever bar asks: a second request (a toolbar loaded
        // again) hosts the same window.
        if (m_pFindBox == NULL) {
            CToolbarFindComboBox* pBox = new CToolbarFindComboBox(CToolbarFindComboBox::kSearchBox);
            if (!pBox->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                              CRect(0, 0, 175, 150), this, ID_FIND_BOX)) {
                delete pBox;
                return FALSE;
            }
            pBox->SetTargetWindow(this);
            m_pFindBox = pBox;
        }
        pRecord->pControl = CQXPControlCustom::CreateControlCustom(m_pFindBox->GetSafeHwnd());
        return pRecord->pControl != NULL;
    }
    if (pRecord->nID == ID_VIEW_AS_FIRST) {
        pRecord->pControl = new CControlViewAsParser;
        return TRUE;
    }
    // Other ids are the command bars' own.
    return FALSE;
}

LRESULT CMainFrame::OnControlNotify(WPARAM wParam, LPARAM lParam)
{
    // The message's id first: a ribbon's special command (9607) shares the
    // number and carries a control, not a notification record.
    if ((int)wParam != ID_TOOLS_LIST_ENTRY)
        return FALSE;
    NMQXPCONTROL* pNM = reinterpret_cast<NMQXPCONTROL*>(lParam);
    if (pNM == NULL || pNM->hdr.code != QXP_CN_EXECUTE || pNM->pControl == NULL ||
        pNM->pControl->GetID() != ID_TOOLS_LIST_ENTRY)
        return FALSE;
    int nIndex = atoi(pNM->pControl->GetParameter());
    if (nIndex >= 0 && nIndex < m_tools.GetCount())
        RunTool(m_tools.GetAt(nIndex));
    return TRUE;
}

LRESULT CMainFrame::OnTabClientItemCreated(WPARAM wParam, LPARAM)
{
    // With tabs every document shows maximised under the strip, also the
    // first one after a start (no maximised document to follow yet). After
    // the tab client's refresh, which announced this one. Only the active
    // document is maximised (the others follow when they come forward):
    // maximising another one would make it the active one. When the tabs
    // are shown, every open document is announced.
    CQXPTabManagerItem* pItem = reinterpret_cast<CQXPTabManagerItem*>(wParam);
    if (pItem == NULL || m_hWndMDIClient == NULL || !::IsWindow(pItem->m_hWnd) || ::IsZoomed(pItem->m_hWnd))
        return 0;
    if ((HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0) == pItem->m_hWnd)
        ::PostMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)pItem->m_hWnd, 0);
    return 0;
}

LRESULT CMainFrame::OnTabClientMouse(WPARAM wParam, LPARAM lParam)
{
    if (wParam != WM_RBUTTONDOWN)
        return FALSE;
    CQXPTabWorkspace* pStrip = m_tabClient.GetWorkspace();
    if (pStrip == NULL)
        return FALSE;
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    CQXPTabManagerItem* pItem = pStrip->HitTest(pt);
    if (pItem == NULL || !::IsWindow(pItem->m_hWnd))
        return FALSE;
    // The document under the mouse becomes the active one, its view takes
    // the focus, then the tab menu opens there.
    CWnd* pChild = CWnd::FromHandle(pItem->m_hWnd);
    MDIActivate(pChild);
    CFrameWnd* pChildFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(pItem->m_hWnd));
    if (pChildFrame != NULL && pChildFrame->GetActiveView() != NULL)
        pChildFrame->GetActiveView()->SetFocus();
    ::ClientToScreen(pStrip->GetOwnerObject(), &pt);
    // The user's edited tab menu when the command bars keep it.
    if (m_pCommandBars != NULL && m_pCommandBars->FindContextMenu(IDR_CONTEXT_TABS) != NULL) {
        m_pCommandBars->TrackContextMenu(IDR_CONTEXT_TABS, TPM_RIGHTBUTTON, pt.x, pt.y);
        return TRUE;
    }
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXT_TABS))
        return TRUE;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup == NULL)
        return TRUE;
    if (m_pCommandBars != NULL)
        m_pCommandBars->TrackPopupMenu(pPopup, TPM_RIGHTBUTTON, pt.x, pt.y, this);
    else
        ::TrackPopupMenu(pPopup->GetSafeHmenu(), TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, NULL);
    return TRUE;
}

LRESULT CMainFrame::OnEditorContextMenu(WPARAM wParam, LPARAM lParam)
{
    // The editor's menu as the user edited it; its commands reach the active
    // document through the frame's routing.
    if (m_pCommandBars == NULL || m_pCommandBars->FindContextMenu((UINT)wParam) == NULL)
        return 0;
    m_pCommandBars->TrackContextMenu((UINT)wParam, TPM_RIGHTBUTTON, (short)LOWORD(lParam), (short)HIWORD(lParam));
    return 1;
}

// --- font, page setup, links -----------------------------------------------------------------

void CMainFrame::OnFont()
{
    LOGFONTA lf;
    memset(&lf, 0, sizeof(lf));
    HDC hdc = ::GetDC(m_hWnd);
    lf.lfHeight = -::MulDiv(m_settings.nFontSize, ::GetDeviceCaps(hdc, LOGPIXELSY), 72);
    ::ReleaseDC(m_hWnd, hdc);
    lf.lfWeight = m_settings.nBold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = m_settings.nItalic ? 1 : 0;
    // The face the editors really show (the configured one may be missing).
    lstrcpynA(lf.lfFaceName, FixedPitchFontFace(m_settings.pszFontFace), LF_FACESIZE);
    CFontDialog dlg(&lf, CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT, NULL, this);
    if (dlg.DoModal() != IDOK)
        return;
    lstrcpynA(m_settings.pszFontFace, dlg.GetFaceName(), kFontFaceBufferSize);
    m_settings.nItalic = dlg.m_lf.lfItalic ? 1 : 0;
    m_settings.nBold = dlg.m_lf.lfWeight == FW_BOLD ? 1 : 0;
    int nSize = dlg.GetSize() / 10;
    m_settings.nFontSize = nSize > 0 ? nSize : m_settings.nFontSize;
    ForEachTextFrame(&ApplyToggleToFrame, ID_VIEW_FONT);
}

void CMainFrame::OnPageSetup()
{
    DWORD dwFlags = PSD_MARGINS | (m_editorSettings.nMetric ? PSD_INHUNDREDTHSOFMILLIMETERS : PSD_INTHOUSANDTHSOFINCHES);
    CPageSetupDialog dlg(dwFlags, this);
    dlg.m_psd.rtMargin = m_editorSettings.rcMargins;
    PRINTDLGA pd;
    memset(&pd, 0, sizeof(pd));
    pd.lStructSize = sizeof(pd);
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->GetPrinterDeviceDefaults(&pd)) {
        dlg.m_psd.hDevMode = pd.hDevMode;
        dlg.m_psd.hDevNames = pd.hDevNames;
    }
    if (dlg.DoModal() != IDOK)
        return;
    m_editorSettings.rcMargins = dlg.m_psd.rtMargin;
    if (pApp != NULL && dlg.m_psd.hDevNames != NULL)
        pApp->SelectPrinter(dlg.m_psd.hDevNames, dlg.m_psd.hDevMode, FALSE);
}

void CMainFrame::OnCheckForUpdates()
{
    CString url;
    if (url.LoadString(IDS_UPDATE_URL) && !url.IsEmpty())
        ::ShellExecuteA(m_hWnd, "open", url, NULL, NULL, SW_SHOWNORMAL);
}

void CMainFrame::OnCheckForUpdatesSite()
{
    CString key;
    key.Format("Software\\%s\\Quillmate\\Settings", GetProfileMakerWord().GetString());
    char szUrl[1024] = "";
    DWORD cb = sizeof(szUrl) - 1, dwType = 0;
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return;
    LONG r = ::RegQueryValueExA(hKey, "CheckForUpdates", NULL, &dwType, (BYTE*)szUrl, &cb);
    ::RegCloseKey(hKey);
    if (r == ERROR_SUCCESS && dwType == REG_SZ && szUrl[0])
        ::ShellExecuteA(m_hWnd, "open", szUrl, NULL, NULL, SW_SHOWNORMAL);
}

void CMainFrame::OnStopUserTool()
{
    CProcessOutputView* pOutput =
        dynamic_cast<CProcessOutputView*>(PaneWindow(PANE_TOOL_WINDOW));
    if (pOutput != NULL)
        pOutput->Close();
    ::InterlockedExchange(&m_bToolRunning, 0);
}

void CMainFrame::OnUpdateToolsEntry(CCmdUI* pCmdUI)
{
    // The tools of the Tools menu run one at a time.
    pCmdUI->Enable(m_bToolRunning == 0);
}

void CMainFrame::OnUpdateStopUserTool(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bToolRunning != 0);
}

void CMainFrame::OnUpdateFindBox(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(dynamic_cast<CScintillaFrame*>(MDIGetActive()) != NULL);
}

// --- search routing and navigation ------------------------------------------------

CDoodleView* CMainFrame::GetActiveTextView()
{
    CMDIChildWnd* pChild = MDIGetActive();
    return pChild != NULL ? dynamic_cast<CDoodleView*>(pChild->GetActiveView()) : NULL;
}

CString CMainFrame::GetSearchText()
{
    if (m_pFindBox != NULL && m_pFindBox->GetSafeHwnd() != NULL)
        return m_pFindBox->GetText();
    return m_strLastSearch;
}

HACCEL CMainFrame::GetFrameAccelerators()
{
    // The user's table, even when the user removed every shortcut: an
    // empty table translates nothing, it never falls back to the frame's.
    if (GetShortcuts() != NULL && GetShortcuts()->HasCurrentTable())
        return GetShortcuts()->GetAcceleratorTable();
    return m_hAccelTable;
}

void CMainFrame::AddSearchHistory(LPCSTR lpszText)
{
    if (lpszText != NULL && *lpszText != '\0' && m_pFindBox != NULL && m_pFindBox->GetSafeHwnd() != NULL)
        m_pFindBox->AddToHistory(lpszText);
}

BOOL CMainFrame::FindInActiveDocument(LPCSTR lpszText, BOOL bMatchCase, BOOL bWholeWord, BOOL bRegex, BOOL bSearchUp,
                                      BOOL bWrap)
{
    m_strLastSearch = lpszText != NULL ? lpszText : "";
    CDoodleView* pView = GetActiveTextView();
    if (pView == NULL || m_strLastSearch.IsEmpty())
        return FALSE;
    pView->SetSearchFlags(bMatchCase, bWholeWord, bRegex);
    BOOL bFound = pView->FindText(m_strLastSearch, bSearchUp, bWrap) >= 0;
    if (!bFound)
        pView->ShowSearchMiss();
    AddSearchHistory(m_strLastSearch);
    return bFound;
}

BOOL CMainFrame::MarkAllInActiveDocument(LPCSTR lpszText, BOOL bMatchCase, BOOL bWholeWord, BOOL bRegex)
{
    m_strLastSearch = lpszText != NULL ? lpszText : "";
    CDoodleView* pView = GetActiveTextView();
    if (pView == NULL || m_strLastSearch.IsEmpty())
        return FALSE;
    pView->SetSearchFlags(bMatchCase, bWholeWord, bRegex);
    if (pView->MarkAll(m_strLastSearch) == 0 || pView->SearchWasTooComplex()) {
        pView->ShowSearchMiss();
        return FALSE;
    }
    return TRUE;
}

int CMainFrame::ReplaceInActiveDocument(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bMatchCase, BOOL bWholeWord,
                                        BOOL bRegex, BOOL bSelection, BOOL bReplaceAll, int nStart)
{
    m_strLastSearch = lpszFind != NULL ? lpszFind : "";
    CDoodleView* pView = GetActiveTextView();
    if (pView == NULL)
        return -1;
    // Another document: Replace starts by finding, not by replacing a
    // selection made there for something else.
    if (pView->GetSafeHwnd() != m_hLastReplaceView) {
        nStart = -1;
        m_hLastReplaceView = pView->GetSafeHwnd();
    }
    pView->SetSearchFlags(bMatchCase, bWholeWord, bRegex);
    int nResult = -1;
    if (bReplaceAll) {
        int nCount = pView->ReplaceAll(m_strLastSearch, lpszReplace, bSelection, bRegex);
        CString msg;
        if (pView->SearchWasTooComplex())
            msg.Format("%d occurrence(s) replaced. %s", nCount, CMFCScintilla::kPatternTooComplex);
        else if (nCount >= 0)
            msg.Format("%d occurrence(s) replaced", nCount);
        else if (nCount == -2)
            msg = "Could not replace in selection as nothing was selected.";
        else
            msg = "Search text not found.";
        AfxMessageBox(msg, MB_OK | MB_ICONINFORMATION);
    } else {
        nResult = (int)pView->ReplaceAndFindNext(m_strLastSearch, lpszReplace, bRegex, nStart);
        if (nResult == -1)
            pView->ShowSearchMiss();
    }
    AddSearchHistory(m_strLastSearch);
    return nResult;
}

void CMainFrame::QuickFindInActiveDocument(LPCSTR lpszText)
{
    CString text = lpszText != NULL ? lpszText : "";
    CMDIChildWnd* pChild = MDIGetActive();
    CView* pView = pChild != NULL ? pChild->GetActiveView() : NULL;
    if (!text.IsEmpty() && dynamic_cast<CDoodleView*>(pView) != NULL) {
        AddSearchHistory(text);
        FindInActiveDocument(text, FALSE, FALSE, FALSE, FALSE, TRUE);
    } else if (!text.IsEmpty() && dynamic_cast<CHexEditView*>(pView) != NULL) {
        AddSearchHistory(text);
        // The hex view's Find Next searches for the box's text.
        pView->SendMessage(WM_COMMAND, ID_SEARCH_FIND_NEXT, 0);
    } else {
        AfxMessageBox(IDS_FIND_NOTHING_TO_DO, MB_OK | MB_ICONEXCLAMATION);
    }
}

namespace {
// Closes a modeless search dialog from outside: hidden now, its Close runs
// once the command that asked has returned (it may be one of its own).
void CloseSearchDialog(CWnd* pDialog)
{
    HWND hDialog = pDialog != NULL ? pDialog->GetSafeHwnd() : NULL;
    if (hDialog == NULL || !::IsWindow(hDialog))
        return;
    ::ShowWindow(hDialog, SW_HIDE);
    ::PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}
} // namespace

void CMainFrame::ShowFindDialog(CWnd*, LPCSTR lpszText)
{
    // The dialog searches whatever view is active: it keeps the frame, not
    // the view it was opened from (which may close while it is open).
    if (m_pReplaceDialog != NULL) {
        CloseSearchDialog(m_pReplaceDialog);
        m_pReplaceDialog = NULL;
    }
    if (m_pFindDialog != NULL) {
        m_pFindDialog->SetActiveWindow();
        m_pFindDialog->GetFindBox().SetFocus();
        return;
    }
    CFindDialog* pDialog = new CFindDialog(this, lpszText);
    if (!pDialog->CreateModeless(this)) {
        delete pDialog;
        return;
    }
    m_pFindDialog = pDialog;
}

void CMainFrame::ShowReplaceDialog(CWnd*, LPCSTR lpszText)
{
    if (m_pFindDialog != NULL) {
        CloseSearchDialog(m_pFindDialog);
        m_pFindDialog = NULL;
    }
    if (m_pReplaceDialog != NULL) {
        m_pReplaceDialog->SetActiveWindow();
        m_pReplaceDialog->GetFindBox().SetFocus();
        return;
    }
    CReplaceDialog* pDialog = new CReplaceDialog(this, lpszText);
    if (!pDialog->CreateModeless(this)) {
        delete pDialog;
        return;
    }
    m_pReplaceDialog = pDialog;
}

void CMainFrame::DetachFindDialog(CWnd* pDialog)
{
    if (m_pFindDialog == pDialog)
        m_pFindDialog = NULL;
}

void CMainFrame::DetachReplaceDialog(CWnd* pDialog)
{
    if (m_pReplaceDialog == pDialog)
        m_pReplaceDialog = NULL;
}

void CMainFrame::DetachHexFindDialog(CWnd* pDialog)
{
    if (m_pHexFindDialog == pDialog)
        m_pHexFindDialog = NULL;
}

void CMainFrame::AddNavigationPlace(HWND hView, INT_PTR nPos)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (pApp != NULL && !m_bNavigating)
        pApp->GetNavigation().Add(hView, nPos);
}

void CMainFrame::RemoveNavigationView(HWND hView)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (pApp != NULL)
        pApp->GetNavigation().RemoveView(hView);
    if (m_hLastReplaceView == hView)
        m_hLastReplaceView = NULL;
}

void CMainFrame::OnNavigate(UINT nID)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (pApp == NULL || pApp->GetNavigation().GetCount() == 0)
        return;
    CNavigationHistory& history = pApp->GetNavigation();
    CNavigationEntry entry = nID == ID_NAVIGATE_BACKWARD ? history.Back() : history.Forward();
    if (entry.hView == NULL || !::IsWindow(entry.hView))
        return;
    CDoodleView* pView = dynamic_cast<CDoodleView*>(CWnd::FromHandlePermanent(entry.hView));
    if (pView == NULL)
        return;
    // The caret moves before the document comes to the front, so the place
    // it had there is not taken for a new one.
    m_bNavigating = TRUE;
    pView->GotoPosition((Sci_Position)entry.nPos);
    CFrameWnd* pChild = pView->GetParentFrame();
    if (pChild != NULL && pChild != this)
        MDIActivate(pChild);
    pView->SetFocus();
    m_bNavigating = FALSE;
}

void CMainFrame::OnUpdateNavigate(CCmdUI* pCmdUI)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    BOOL bEnable = FALSE;
    if (pApp != NULL)
        bEnable = pCmdUI->m_nID == ID_NAVIGATE_BACKWARD ? pApp->GetNavigation().CanGoBack()
                                                        : pApp->GetNavigation().CanGoForward();
    pCmdUI->Enable(bEnable);
}

void CMainFrame::OnUpdateDocumentIndicator(CCmdUI* pCmdUI)
{
    // The text and hex views fill the caret and mode panes while they are
    // active; with no document, or one that has neither, the panes are empty.
    pCmdUI->SetText("");
}

// --- options ------------------------------------------------------------------------------

void CMainFrame::OnEditorProperties()
{
    CPropertiesSheet sheet("Document Properties", this);
    sheet.DoModal();
    // The toolbar icon size is applied once the sheet is gone.
    ApplyLargeIcons();
}

void CMainFrame::OnTidyProperties()
{
    CTidySheet sheet("Tidy Properties", this, 0);
    sheet.DoModal();
}

void CMainFrame::OnXmlTidyProperties()
{
    CTidySheet sheet("Tidy Properties", this, 2);
    sheet.DoModal();
}

namespace {
template <class Fn>
void ForEachScintillaFrame(HWND hClient, Fn fn)
{
    if (hClient == NULL)
        return;
    for (HWND h = ::GetWindow(hClient, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT))
        if (CScintillaFrame* pFrame = dynamic_cast<CScintillaFrame*>(CWnd::FromHandlePermanent(h)))
            fn(pFrame);
}
} // namespace

void CMainFrame::ReloadLanguages()
{
    m_lexerConfigs.LoadAll();
    ForEachScintillaFrame(m_hWndMDIClient, [](CScintillaFrame* pFrame) { pFrame->ApplyViewAs(); });
}

void CMainFrame::ApplyEditingValuesToViews()
{
    const CViewSettings& s = m_settings;
    ForEachScintillaFrame(m_hWndMDIClient, [&s](CScintillaFrame* pFrame) {
        pFrame->SetEditingValues(s.nTabGuides, s.nTabsAsSpaces ? 0 : 1, s.nTabWidth, s.clrCaretLine,
                                 s.nCaretLineAlpha);
    });
}

void CMainFrame::ApplyLargeIcons()
{
    CQXPCommandBars* pBars = GetCommandBars();
    if (pBars != NULL && (pBars->IsLargeIcons() ? 1 : 0) != (m_settings.nLargeIcons ? 1 : 0)) {
        pBars->SetLargeIcons(m_settings.nLargeIcons ? TRUE : FALSE);
        RecalcLayout();
    }
}

void CMainFrame::UpdateDocumentBackups(BOOL bReset)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    CMultiDocTemplate* pTemplate = pApp != NULL ? pApp->GetTextTemplate() : NULL;
    for (POSITION pos = pTemplate != NULL ? pTemplate->GetFirstDocPosition() : NULL; pos != NULL;) {
        CDoodleDoc* pDoc = dynamic_cast<CDoodleDoc*>(pTemplate->GetNextDoc(pos));
        if (pDoc == NULL)
            continue;
        if (bReset)
            pDoc->ResetBackups();
        else
            pDoc->PruneBackups();
    }
}

int CMainFrame::CustomizeStartPage(UINT nCommand)
{
    // Toolbars, Commands, Keyboard, Menus, Tools, Options.
    switch (nCommand) {
    case ID_TOOLS_EXTERNAL_WIZARD:
    case ID_TOOLS_CUSTOMIZE:
        return 4;
    case ID_TOOLS_CREATE_TOOLBARS:
        return 0;
    case ID_TOOLS_KEYBOARD:
        return 2;
    case ID_TOOLS_EDIT_MENUS:
        return 3;
    case ID_TOOLS_PRESENTATION:
        return 5;
    }
    return 0;
}

void CMainFrame::OnCustomize()
{
    const MSG* pMsg = GetCurrentMessage();
    OnCustomizePage(pMsg != NULL ? LOWORD(pMsg->wParam) : ID_TOOLS_CUSTOMIZE);
}

void CMainFrame::OnCustomizePage(UINT nCommand)
{
    CQXPCommandBars* pBars = GetCommandBars();
    if (pBars == NULL || CQXPCustomizeSheet::GetRunningSheet() != NULL)
        return;
    CQXPCustomizeSheet sheet(pBars);
    CQXPCustomizeKeyboardPage keyboardPage(&sheet);
    keyboardPage.AddCategories(IDR_MAINFRAME, FALSE);
    sheet.AddPage(&keyboardPage);
    CQXPCustomizeMenusPage menusPage(&sheet);
    sheet.AddPage(&menusPage);
    CCustomizePageTools toolsPage(GetToolList(), GetGlobalImageManager());
    sheet.AddPage(&toolsPage);
    CQXPCustomizeOptionsPage optionsPage(&sheet);
    sheet.AddPage(&optionsPage);

    CQXPCustomizeCommandsPage* pCommands = sheet.GetCommandsPage();
    pCommands->AddCategories(IDR_MAINFRAME);
    pCommands->InsertAllCommandsCategory(QX_IDS_ALL_COMMANDS);
    pCommands->InsertCategory(IDR_MAINFRAME, QX_IDS_BUILTIN_MENUS);
    pCommands->InsertNewMenuCategory(QX_IDS_NEW_MENU);

    sheet.m_psh.nStartPage = (UINT)CustomizeStartPage(nCommand);
    sheet.DoModal();
    // The Options page may have changed the icon size.
    m_settings.nLargeIcons = pBars->IsLargeIcons() ? 1 : 0;
    RecalcLayout();
}


// --- hand-over, close, destroy ------------------------------------------------------------------

LRESULT CMainFrame::OnOpenFilesToOpen(WPARAM, LPARAM)
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (pApp != NULL)
        pApp->OpenPendingFiles();
    return 0;
}

void CMainFrame::OnClose()
{
    if (m_lpfnCloseProc != NULL) {
        // Closing during a print preview ends the preview only.
        CQXMDIFrameWndEx::OnClose();
        return;
    }
    // A modified workspace with a file is offered to be saved; a failed
    // save keeps the editor open.
    if (CSolutionBarProjTree* pTree = GetProjectTree())
        if (!pTree->SaveOnExit())
            return;
    SaveSettings();

    if (m_bPanesInstalled) {
        DockingLayoutStore* pLayout = m_paneManager.CreateLayout();
        if (pLayout != NULL) {
            m_paneManager.GetLayout(pLayout);
            pLayout->SaveToRegistry(kLayoutName);
            delete pLayout;
        }
    }
    if (m_pCommandBars != NULL) {
        m_pCommandBars->SaveBarState(kCommandBarsSection);
        m_pCommandBars->SaveOptions(kCommandBarsSection);
        if (GetShortcuts() != NULL)
            GetShortcuts()->Save(kCommandBarsSection);
    }
    CCustomizePageTools::SaveTools(m_tools);
    m_placement.SaveWindowPos(this);
    CQXProfileStore().DeleteProfileKey("FilesToOpen", "");

    // With "remember open files" on, each text frame stores its document's
    // path while the documents close; the framework's close asks about
    // modified documents first and ends here when the user cancels.
    m_bClosingForSession = m_editorSettings.nRememberOpenFiles ? TRUE : FALSE;
    HWND hWnd = m_hWnd;
    CQXMDIFrameWndEx::OnClose();
    // The object is gone with its window; it is still here when the close
    // was cancelled.
    if (::IsWindow(hWnd))
        m_bClosingForSession = FALSE;
}

void CMainFrame::OnDestroy()
{
    CQuillmateApp* pApp = GetQuillmateApp();
    if (pApp != NULL && pApp->GetMainFrame() == this)
        pApp->ForgetMainFrame();
    // The modeless search dialogs go with the frame.
    for (CWnd* pDialog : {(CWnd*)m_pFindDialog, (CWnd*)m_pReplaceDialog}) {
        if (pDialog != NULL && ::IsWindow(pDialog->GetSafeHwnd()))
            pDialog->DestroyWindow();
    }
    m_pFindDialog = NULL;
    m_pReplaceDialog = NULL;
    if (m_pHexFindDialog != NULL) {
        HWND hDialog = m_pHexFindDialog->GetSafeHwnd();
        m_pHexFindDialog = NULL;
        if (hDialog != NULL && ::IsWindow(hDialog))
            ::DestroyWindow(hDialog);
    }
    if (m_tabClient.IsAttached())
        m_tabClient.Detach();
    // Windows not made by now are not made while the frame goes.
    m_bPaneWindowsDeferred = FALSE;
    for (CWnd*& pWnd : m_pPaneWnds) {
        if (pWnd != NULL) {
            if (::IsWindow(pWnd->GetSafeHwnd()))
                pWnd->DestroyWindow();
            delete pWnd;
            pWnd = NULL;
        }
    }
    CQXMDIFrameWndEx::OnDestroy();
}

// ===========================================================================
// About box

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX), m_hCreditFont(NULL) {}

CAboutDlg::~CAboutDlg()
{
    if (m_hCreditFont != NULL)
        ::DeleteObject(m_hCreditFont);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    NONCLIENTMETRICSA ncm;
    memset(&ncm, 0, sizeof(ncm));
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    LOGFONTA lf = ncm.lfMessageFont;
    HDC hdc = ::GetDC(m_hWnd);
    lf.lfHeight = -::MulDiv(7, ::GetDeviceCaps(hdc, LOGPIXELSY), 72);
    ::ReleaseDC(m_hWnd, hdc);
    m_hCreditFont = ::CreateFontIndirectA(&lf);
    HWND hCredit = ::GetDlgItem(m_hWnd, IDC_ABOUT_CREDIT);
    if (hCredit != NULL && m_hCreditFont != NULL)
        ::SendMessageA(hCredit, WM_SETFONT, (WPARAM)m_hCreditFont, TRUE);
    return TRUE;
}
