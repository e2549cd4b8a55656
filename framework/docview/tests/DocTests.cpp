// Documents, templates and MDI frames: opening, modifying, saving and
// closing documents in a real MDI application, the save prompts, titles,
// menus, routing, the recent-file list and the command line.
#include "DocViewTestApp.h"

#include <qmtest/dropdata.h>

using namespace dvtest;

namespace {

// The state of a menu item of the frame's current menu (by command id).
UINT MenuState(CWnd* pFrame, UINT nID)
{
    return ::GetMenuState(::GetMenu(pFrame->m_hWnd), nID, MF_BYCOMMAND);
}

} // namespace

// ---------------------------------------------------------------------------
// Templates

TEST(DocTemplateStrings, PartsOfTheStringComeByIndex)
{
    CMultiDocTemplate tmpl(IDR_DATATYPE, RUNTIME_CLASS(DataDoc), RUNTIME_CLASS(TextFrame), RUNTIME_CLASS(DataView));
    tmpl.m_bAutoDelete = FALSE;
    tmpl.LoadTemplate();
    struct Case {
        CDocTemplate::DocStringIndex index;
        const char* expected;
        BOOL bResult;
    } cases[] = {
        {CDocTemplate::windowTitle, "", FALSE},
        {CDocTemplate::docName, "Data", TRUE},
        {CDocTemplate::fileNewName, "Data File", TRUE},
        {CDocTemplate::filterName, "Data Files (*.dat)", TRUE},
        {CDocTemplate::filterExt, ".dat;.bin", TRUE},
        {CDocTemplate::regFileTypeId, "Test.Data", TRUE},
        {CDocTemplate::regFileTypeName, "Data Document", TRUE},
        {CDocTemplate::regFileTypeIdTotal, "", FALSE},
    };
    for (const Case& c : cases) {
        CString s("stale");
        EXPECT_EQ(c.bResult, tmpl.GetDocString(s, c.index)) << c.index;
        EXPECT_STREQ(c.expected, s) << c.index;
    }
    // The template loaded its menu and accelerators too.
    EXPECT_TRUE(IsMenu(tmpl.m_hMenuShared));
    EXPECT_TRUE(tmpl.m_hAccelTable == NULL); // IDR_DATATYPE has none
}

TEST(DocTemplateStrings, MatchingByExtensionAndOpenPath)
{
    CMultiDocTemplate tmpl(IDR_DATATYPE, RUNTIME_CLASS(DataDoc), RUNTIME_CLASS(TextFrame), RUNTIME_CLASS(DataView));
    tmpl.m_bAutoDelete = FALSE;
    tmpl.LoadTemplate();
    struct Case {
        const char* path;
        CDocTemplate::Confidence expected;
    } cases[] = {
        {"C:\\x\\a.dat", CDocTemplate::yesAttemptNative},
        {"C:\\x\\a.BIN", CDocTemplate::yesAttemptNative},
        {"C:\\x\\a.txt", CDocTemplate::yesAttemptForeign},
        {"C:\\x.dat\\noext", CDocTemplate::yesAttemptForeign},
    };
    for (const Case& c : cases) {
        CDocument* pMatch = (CDocument*)1;
        EXPECT_EQ(c.expected, tmpl.MatchDocType(c.path, pMatch)) << c.path;
        EXPECT_EQ(NULL, pMatch);
    }
}

// ---------------------------------------------------------------------------
// Opening, modifying, saving and closing

TEST_F(DocViewTest, NewDocumentsAreNumberedAndShownInTheirFrame)
{
    TextDoc* pDoc1 = New(m_pTextTemplate);
    ASSERT_TRUE(pDoc1 != NULL);
    TextDoc* pDoc2 = New(m_pTextTemplate);
    ASSERT_TRUE(pDoc2 != NULL);
    EXPECT_STREQ("Text1", pDoc1->GetTitle());
    EXPECT_STREQ("Text2", pDoc2->GetTitle());
    EXPECT_TRUE(pDoc1->GetPathName().IsEmpty());

    // The framework's order: document, frame and view, then the new
    // document, then the first update.
    EXPECT_EQ("new document | initial update | new document | initial update", Log::Joined());

    CFrameWnd* pFrame = FrameOf(pDoc2);
    ASSERT_TRUE(pFrame != NULL);
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(TextFrame)));
    EXPECT_TRUE(pFrame->IsWindowVisible());
    EXPECT_EQ(pFrame, m_pMain->MDIGetActive());
    EXPECT_EQ(ViewOf(pDoc2), pFrame->GetActiveView());
    EXPECT_EQ(1, ViewOf(pDoc2)->m_nInitialUpdates);
    EXPECT_EQ("Text2", Caption(pFrame));
    EXPECT_EQ("Test App - Text2", Caption(m_pMain));
}

TEST_F(DocViewTest, OpenModifySaveAndCloseWithThePrompt)
{
    std::string path = File("one.txt", "hello");
    TextDoc* pDoc = Open(path);
    ASSERT_TRUE(pDoc != NULL);
    EXPECT_STREQ("hello", pDoc->m_text);
    EXPECT_STREQ("one.txt", pDoc->GetTitle());
    EXPECT_EQ(0, pDoc->GetPathName().CompareNoCase(path.c_str()));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ("Test App - one.txt", Caption(m_pMain));

    pDoc->SetText("hello, world");
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_GE(ViewOf(pDoc)->m_nUpdates, 2);

    // Closing asks; Cancel keeps everything as it is.
    int nAlive = TextDoc::s_nAlive;
    {
        qmtest::MessageBoxRecorder boxes({IDCANCEL});
        FrameOf(pDoc)->SendMessage(WM_CLOSE);
        ASSERT_EQ(1u, boxes.Texts().size());
        EXPECT_EQ("Save changes to one.txt?", boxes.Texts()[0]);
        EXPECT_EQ((UINT)MB_YESNOCANCEL, boxes.Types()[0] & 0xF);
    }
    EXPECT_EQ(nAlive, TextDoc::s_nAlive);
    EXPECT_EQ("hello", fxtest::ReadRaw(path));

    // Yes saves, then the document and its frame go.
    {
        qmtest::MessageBoxRecorder boxes({IDYES});
        FrameOf(pDoc)->SendMessage(WM_CLOSE);
        EXPECT_EQ(1u, boxes.Texts().size());
    }
    EXPECT_EQ(nAlive - 1, TextDoc::s_nAlive);
    EXPECT_EQ("hello, world", fxtest::ReadRaw(path));
    EXPECT_EQ(NULL, m_pMain->MDIGetActive());
    EXPECT_EQ("Test App", Caption(m_pMain));
}

TEST_F(DocViewTest, NoAnswerDiscardsAndAnUnmodifiedDocumentIsNotAsked)
{
    std::string path = File("two.txt", "abc");
    TextDoc* pDoc = Open(path);
    ASSERT_TRUE(pDoc != NULL);
    {
        qmtest::MessageBoxRecorder boxes;
        FrameOf(pDoc)->SendMessage(WM_CLOSE);
        EXPECT_TRUE(boxes.Texts().empty());
    }
    EXPECT_EQ(0, CountDocuments());

    pDoc = Open(path);
    pDoc->SetText("changed");
    {
        qmtest::MessageBoxRecorder boxes({IDNO});
        FrameOf(pDoc)->SendMessage(WM_CLOSE);
        EXPECT_EQ(1u, boxes.Texts().size());
    }
    EXPECT_EQ(0, CountDocuments());
    EXPECT_EQ("abc", fxtest::ReadRaw(path));
}

TEST_F(DocViewTest, SavingANewDocumentAsksForANameThroughTheFileDialog)
{
    TextDoc* pDoc = New(m_pTextTemplate);
    ASSERT_TRUE(pDoc != NULL);
    pDoc->SetText("fresh");
    std::string target = m_dir.Path("saved.txt");

    // The save dialog is answered from another thread.
    BOOL bSaved;
    {
        FileDialogTypist typist(target);
        bSaved = pDoc->DoFileSave();
    }
    EXPECT_TRUE(bSaved);
    EXPECT_EQ("fresh", fxtest::ReadRaw(target));
    EXPECT_EQ(0, pDoc->GetPathName().CompareNoCase(target.c_str()));
    EXPECT_STREQ("saved.txt", pDoc->GetTitle());
    EXPECT_FALSE(pDoc->IsModified());
}

TEST_F(DocViewTest, FileOpenOffersTheTemplatesFiltersAndOpensTheChoice)
{
    EXPECT_STREQ("Text Files (*.txt)|*.txt|Data Files (*.dat)|*.dat;*.bin|All Files (*.*)|*.*||",
                 m_pDocManager->BuildFilter(NULL));
    EXPECT_STREQ("Data Files (*.dat)|*.dat;*.bin|All Files (*.*)|*.*||", m_pDocManager->BuildFilter(m_pDataTemplate));

    std::string path = File("chosen.bin", "binary");
    {
        FileDialogTypist typist(path);
        m_pDocManager->OnFileOpen();
        EXPECT_TRUE(typist.Typed());
    }
    ASSERT_EQ(1, CountDocuments());
    CDocument* pDoc = m_pMain->GetActiveDocument();
    ASSERT_TRUE(pDoc != NULL);
    EXPECT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(DataDoc))); // ".bin" is the data template's
    EXPECT_EQ(0, pDoc->GetPathName().CompareNoCase(path.c_str()));
}

TEST_F(DocViewTest, AFailedSaveKeepsTheDocumentModifiedAndTheFileIntact)
{
    std::string path = File("keep.txt", "the original text");
    TextDoc* pDoc = Open(path);
    ASSERT_TRUE(pDoc != NULL);
    pDoc->SetText("a much longer replacement text that will not fit");

    // The disk fills up after 5 bytes.
    TextDoc::s_nFailSaveAfter = 5;
    {
        qmtest::MessageBoxRecorder boxes;
        EXPECT_FALSE(pDoc->DoFileSave());
        ASSERT_EQ(1u, boxes.Texts().size());
        EXPECT_NE(std::string::npos, boxes.Texts()[0].find("keep.txt")) << boxes.Texts()[0];
    }
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ("the original text", fxtest::ReadRaw(path));
    // No temporary file is left behind.
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(m_dir.Path("*").c_str(), &fd);
    int nFiles = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                nFiles++;
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    EXPECT_EQ(1, nFiles);

    // A read-only file is not replaced either.
    TextDoc::s_nFailSaveAfter = -1;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        qmtest::MessageBoxRecorder boxes;
        EXPECT_FALSE(pDoc->OnSaveDocument(path.c_str()));
        EXPECT_EQ(1u, boxes.Texts().size());
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ("the original text", fxtest::ReadRaw(path));

    // And a working save replaces it completely.
    EXPECT_TRUE(pDoc->DoFileSave());
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ("a much longer replacement text that will not fit", fxtest::ReadRaw(path));
}

TEST_F(DocViewTest, AFileThatCannotBeOpenedIsReportedAndNothingStaysOpen)
{
    qmtest::MessageBoxRecorder boxes;
    EXPECT_EQ(NULL, Open(m_dir.Path("missing.txt")));
    EXPECT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ(0, CountDocuments());
    EXPECT_EQ(NULL, m_pMain->MDIGetActive());
}

TEST_F(DocViewTest, TheSamePathOpensOnceAndTheTemplateFollowsTheExtension)
{
    std::string text = File("a.txt", "t");
    std::string data = File("b.dat", "d");
    TextDoc* pText = Open(text);
    TextDoc* pData = Open(data);
    ASSERT_TRUE(pText != NULL && pData != NULL);
    EXPECT_FALSE(pText->IsKindOf(RUNTIME_CLASS(DataDoc)));
    EXPECT_TRUE(pData->IsKindOf(RUNTIME_CLASS(DataDoc)));
    EXPECT_EQ(m_pDataTemplate, pData->GetDocTemplate());

    // Opening the text file again (other case) activates its frame.
    EXPECT_EQ(FrameOf(pData), m_pMain->MDIGetActive());
    CString upper = CString(text.c_str());
    upper.MakeUpper();
    EXPECT_EQ(pText, Open((LPCSTR)upper));
    EXPECT_EQ(2, CountDocuments());
    EXPECT_EQ(FrameOf(pText), m_pMain->MDIGetActive());
}

TEST_F(DocViewTest, FramesOfOneDocumentAreNumbered)
{
    TextDoc* pDoc = Open(File("multi.txt", "m"));
    ASSERT_TRUE(pDoc != NULL);
    CFrameWnd* pFirst = FrameOf(pDoc);
    EXPECT_EQ("multi.txt", Caption(pFirst));

    // Window > New Window: a second frame on the same document.
    m_pMain->SendMessage(WM_COMMAND, ID_WINDOW_NEW);
    CFrameWnd* pSecond = m_pMain->MDIGetActive();
    ASSERT_TRUE(pSecond != NULL);
    ASSERT_NE(pFirst, pSecond);
    EXPECT_EQ(pDoc, pSecond->GetActiveDocument());
    EXPECT_EQ("multi.txt:1", Caption(pFirst));
    EXPECT_EQ("multi.txt:2", Caption(pSecond));
    EXPECT_EQ("Test App - multi.txt:2", Caption(m_pMain));

    // A changed title (a modified marker of the program) reaches all of them.
    pDoc->SetTitle("multi.txt*");
    EXPECT_EQ("multi.txt*:1", Caption(pFirst));
    EXPECT_EQ("multi.txt*:2", Caption(pSecond));

    // Closing one frame asks nothing (another frame still shows the
    // document) and the numbers go.
    pDoc->SetModifiedFlag(TRUE);
    {
        qmtest::MessageBoxRecorder boxes;
        pSecond->SendMessage(WM_CLOSE);
        EXPECT_TRUE(boxes.Texts().empty());
    }
    EXPECT_EQ(1, CountDocuments());
    EXPECT_EQ("multi.txt*", Caption(pFirst));
}

// ---------------------------------------------------------------------------
// Menus, routing and keys

TEST_F(DocViewTest, TheActiveTemplatesMenuIsShownAndTheDefaultComesBack)
{
    HMENU hDefault = m_pMain->GetDefaultMenu();
    EXPECT_EQ(hDefault, GetMenu(m_pMain->m_hWnd));
    TextDoc* pText = New(m_pTextTemplate);
    EXPECT_EQ(m_pTextTemplate->m_hMenuShared, GetMenu(m_pMain->m_hWnd));
    TextDoc* pData = New(m_pDataTemplate);
    EXPECT_EQ(m_pDataTemplate->m_hMenuShared, GetMenu(m_pMain->m_hWnd));
    // Activating the text child brings its menu back.
    m_pMain->MDIActivate(FrameOf(pText));
    EXPECT_EQ(m_pTextTemplate->m_hMenuShared, GetMenu(m_pMain->m_hWnd));
    {
        qmtest::MessageBoxRecorder boxes;
        FrameOf(pText)->SendMessage(WM_CLOSE);
        FrameOf(pData)->SendMessage(WM_CLOSE);
    }
    EXPECT_EQ(hDefault, GetMenu(m_pMain->m_hWnd));
}

TEST_F(DocViewTest, CommandsGoViewDocumentChildFrameMainFrameApplication)
{
    New(m_pTextTemplate);
    Log::Clear();
    m_pMain->SendMessage(WM_COMMAND, ID_TEST_ROUTE);
    EXPECT_EQ("view | document | child frame | app | main frame | app", Log::Joined());

    // Each level's own command reaches it from the main frame.
    struct Case {
        UINT nID;
        const char* expected;
    } cases[] = {
        {ID_TEST_VIEWCMD, "view command"},
        {ID_TEST_DOCCMD, "document command"},
        {ID_TEST_FRAMECMD, "frame command"},
        {ID_TEST_APPCMD, "app command"},
    };
    for (const Case& c : cases) {
        Log::Clear();
        m_pMain->SendMessage(WM_COMMAND, c.nID);
        EXPECT_EQ(c.expected, Log::Joined()) << c.nID;
    }
}

TEST_F(DocViewTest, MenuItemsWithoutHandlerAreDisabledWhenTheMenuOpens)
{
    HMENU hMenu = GetMenu(m_pMain->m_hWnd);
    HMENU hTest = GetSubMenu(hMenu, 1);
    m_pMain->SendMessage(WM_INITMENUPOPUP, (WPARAM)hTest, MAKELPARAM(1, FALSE));
    EXPECT_TRUE(MenuState(m_pMain, ID_TEST_NOHANDLER) & MF_GRAYED);
    EXPECT_FALSE(MenuState(m_pMain, ID_TEST_FRAMECMD) & MF_GRAYED);
    EXPECT_FALSE(MenuState(m_pMain, ID_TEST_ROUTE) & MF_GRAYED);

    // The window commands are enabled only while a child exists.
    HMENU hWindow = GetSubMenu(hMenu, 2);
    m_pMain->SendMessage(WM_INITMENUPOPUP, (WPARAM)hWindow, MAKELPARAM(2, FALSE));
    EXPECT_TRUE(MenuState(m_pMain, ID_WINDOW_CASCADE) & MF_GRAYED);
    New(m_pTextTemplate);
    hWindow = GetSubMenu(GetMenu(m_pMain->m_hWnd), 2);
    m_pMain->SendMessage(WM_INITMENUPOPUP, (WPARAM)hWindow, MAKELPARAM(2, FALSE));
    EXPECT_FALSE(MenuState(m_pMain, ID_WINDOW_CASCADE) & MF_GRAYED);
}

TEST_F(DocViewTest, AcceleratorsOfTheChildAndTheFrameTranslateKeys)
{
    TextDoc* pDoc = New(m_pTextTemplate);
    CView* pView = ViewOf(pDoc);
    struct Case {
        WORD vk;
        const char* expected;
    } cases[] = {
        {'K', "child accelerator"}, // only in the text template's table
        {'T', "accelerator"},       // in both: goes to the main frame's handler
    };
    for (const Case& c : cases) {
        Log::Clear();
        MSG msg = {};
        msg.hwnd = pView->m_hWnd;
        msg.message = WM_KEYDOWN;
        msg.wParam = c.vk;
        BYTE keys[256];
        GetKeyboardState(keys);
        BYTE saved = keys[VK_CONTROL];
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        BOOL bTranslated = AfxPreTranslateMessage(&msg);
        keys[VK_CONTROL] = saved;
        SetKeyboardState(keys);
        EXPECT_TRUE(bTranslated) << c.expected;
        EXPECT_EQ(c.expected, Log::Joined());
    }
}

TEST_F(DocViewTest, TheWindowListActivatesChildrenAndWindowCommandsArrangeThem)
{
    TextDoc* pDoc1 = New(m_pTextTemplate);
    TextDoc* pDoc2 = New(m_pTextTemplate);
    CMDIChildWnd* pFirst = static_cast<CMDIChildWnd*>(FrameOf(pDoc1));
    EXPECT_EQ(FrameOf(pDoc2), m_pMain->MDIGetActive());
    // The list numbers the children from 0xFF00 in creation order.
    m_pMain->SendMessage(WM_COMMAND, AFX_IDM_FIRST_MDICHILD);
    EXPECT_EQ(pFirst, m_pMain->MDIGetActive());

    m_pMain->SendMessage(WM_COMMAND, ID_WINDOW_CASCADE);
    CRect r1, r2;
    pFirst->GetWindowRect(&r1);
    FrameOf(pDoc2)->GetWindowRect(&r2);
    EXPECT_NE(r1.TopLeft(), r2.TopLeft());

    m_pMain->MDIMaximize(pFirst);
    BOOL bMaximized = FALSE;
    EXPECT_EQ(pFirst, m_pMain->MDIGetActive(&bMaximized));
    EXPECT_TRUE(bMaximized);
    m_pMain->MDIRestore(pFirst);
    m_pMain->MDIGetActive(&bMaximized);
    EXPECT_FALSE(bMaximized);
    m_pMain->MDINext();
    EXPECT_EQ(FrameOf(pDoc2), m_pMain->MDIGetActive());
}

// ---------------------------------------------------------------------------
// Closing the main window

TEST_F(DocViewTest, ClosingTheMainWindowAsksForEachModifiedDocument)
{
    TextDoc* pA = Open(File("a.txt", "a"));
    TextDoc* pB = Open(File("b.txt", "b"));
    pA->SetText("A");
    pB->SetText("B");
    // Cancel at the second question: nothing closes.
    {
        qmtest::MessageBoxRecorder boxes({IDNO, IDCANCEL});
        m_pMain->SendMessage(WM_CLOSE);
        EXPECT_EQ(2u, boxes.Texts().size());
    }
    EXPECT_EQ(2, CountDocuments());
    EXPECT_TRUE(IsWindow(m_pMain->m_hWnd));

    {
        qmtest::MessageBoxRecorder boxes({IDNO, IDNO});
        HWND hMain = m_pMain->m_hWnd;
        m_pMain->SendMessage(WM_CLOSE);
        EXPECT_EQ(2u, boxes.Texts().size());
        EXPECT_FALSE(IsWindow(hMain));
    }
    m_pMain = NULL;
    EXPECT_EQ(0, CountDocuments());
}

// ---------------------------------------------------------------------------
// Recent files, command line and dropped files

TEST_F(DocViewTest, RecentFilesListTheOpenedPathsAndReopenThem)
{
    std::string a = File("ra.txt", "ra"), b = File("rb.txt", "rb"), c = File("rc.dat", "rc");
    for (const std::string& p : {a, b, c}) {
        TextDoc* pDoc = Open(p);
        ASSERT_TRUE(pDoc != NULL);
        qmtest::MessageBoxRecorder boxes;
        pDoc->OnCloseDocument();
    }
    CRecentFileList& list = *m_pRecent;
    EXPECT_EQ(4, list.GetSize());
    EXPECT_EQ(0, list[0].CompareNoCase(c.c_str()));
    EXPECT_EQ(0, list[1].CompareNoCase(b.c_str()));
    EXPECT_EQ(0, list[2].CompareNoCase(a.c_str()));
    EXPECT_TRUE(list[3].IsEmpty());

    // Stored under "Recent File List" as File1, File2 ...
    EXPECT_EQ(0, App().GetProfileString("Recent File List", "File1").CompareNoCase(c.c_str()));
    EXPECT_EQ(0, App().GetProfileString("Recent File List", "File3").CompareNoCase(a.c_str()));
    EXPECT_TRUE(App().GetProfileString("Recent File List", "File4").IsEmpty());

    // The third entry reopens a.txt and moves it to the top.
    m_pMain->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 2);
    EXPECT_EQ(1, CountDocuments());
    CMDIChildWnd* pActive = m_pMain->MDIGetActive();
    ASSERT_TRUE(pActive != NULL);
    EXPECT_EQ(0, pActive->GetActiveDocument()->GetPathName().CompareNoCase(a.c_str()));
    EXPECT_EQ(0, list[0].CompareNoCase(a.c_str()));

    // A file that went away leaves the list when chosen.
    DeleteFileA(b.c_str());
    {
        qmtest::MessageBoxRecorder boxes;
        m_pMain->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 2);
        EXPECT_EQ(1u, boxes.Texts().size());
    }
    EXPECT_EQ(0, list[0].CompareNoCase(a.c_str()));
    EXPECT_EQ(0, list[1].CompareNoCase(c.c_str()));
    EXPECT_TRUE(list[2].IsEmpty());
}

TEST_F(DocViewTest, TheRecentFileMenuShowsTheEntries)
{
    CString a = File("m1.txt", "1").c_str();
    CString b = File("m2&x.txt", "2").c_str();
    m_pRecent->Add(a);
    m_pRecent->Add(b);
    HMENU hFile = GetSubMenu(GetMenu(m_pMain->m_hWnd), 0);
    m_pMain->SendMessage(WM_INITMENUPOPUP, (WPARAM)hFile, MAKELPARAM(0, FALSE));
    char sz[MAX_PATH * 2];
    // The current folder's files show their names only.
    SetCurrentDirectoryA(m_dir.Path().c_str());
    m_pMain->SendMessage(WM_INITMENUPOPUP, (WPARAM)hFile, MAKELPARAM(0, FALSE));
    ASSERT_GT(GetMenuStringA(hFile, ID_FILE_MRU_FILE1, sz, sizeof(sz), MF_BYCOMMAND), 0);
    EXPECT_STREQ("&1 m2&&x.txt", sz);
    ASSERT_GT(GetMenuStringA(hFile, ID_FILE_MRU_FILE2, sz, sizeof(sz), MF_BYCOMMAND), 0);
    EXPECT_STREQ("&2 m1.txt", sz);
    EXPECT_FALSE(GetMenuState(hFile, ID_FILE_MRU_FILE2, MF_BYCOMMAND) & MF_GRAYED);
    SetCurrentDirectoryA("C:\\");

    // An emptied list leaves its greyed placeholder alone in the menu.
    int nItems = GetMenuItemCount(hFile);
    m_pRecent->Remove(0);
    m_pRecent->Remove(0);
    m_pMain->SendMessage(WM_INITMENUPOPUP, (WPARAM)hFile, MAKELPARAM(0, FALSE));
    EXPECT_EQ(nItems - 1, GetMenuItemCount(hFile));
    ASSERT_GT(GetMenuStringA(hFile, ID_FILE_MRU_FILE1, sz, sizeof(sz), MF_BYCOMMAND), 0);
    EXPECT_STREQ("Recent File", sz);
    EXPECT_TRUE(GetMenuState(hFile, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ((UINT)-1, GetMenuState(hFile, ID_FILE_MRU_FILE2, MF_BYCOMMAND));
}

TEST(RecentFileList, AddRemoveAndDisplayNames)
{
    CRecentFileList list(0, "", "File%d", 3, 30);
    list.Add("C:\\docs\\one.txt");
    list.Add("C:\\docs\\two.txt");
    list.Add("c:\\DOCS\\ONE.TXT"); // the same file: moves to the top
    EXPECT_STREQ("c:\\DOCS\\ONE.TXT", list[0]);
    EXPECT_STREQ("C:\\docs\\two.txt", list[1]);
    EXPECT_TRUE(list[2].IsEmpty());
    list.Add("C:\\a.txt");
    list.Add("C:\\b.txt"); // the oldest (two.txt) falls out
    EXPECT_STREQ("C:\\b.txt", list[0]);
    EXPECT_STREQ("C:\\a.txt", list[1]);
    EXPECT_STREQ("c:\\DOCS\\ONE.TXT", list[2]);
    list.Remove(1);
    EXPECT_STREQ("c:\\DOCS\\ONE.TXT", list[1]);
    EXPECT_TRUE(list[2].IsEmpty());
    EXPECT_TRUE(list[7].IsEmpty()); // past the end

    struct Case {
        const char* path;
        const char* curDir;
        BOOL bAtLeastName;
        const char* expected;
    } cases[] = {
        {"C:\\docs\\x.txt", "C:\\docs\\", TRUE, "x.txt"},
        {"C:\\docs\\x.txt", "C:\\other\\", TRUE, "C:\\docs\\x.txt"},
        {"C:\\docs\\sub\\x.txt", "C:\\docs\\", TRUE, "C:\\docs\\sub\\x.txt"},
        {"C:\\a-long-folder\\another-long-folder\\deep\\file.txt", "", TRUE, "C:\\...\\deep\\file.txt"},
        {"C:\\d\\a-file-name-longer-than-thirty-chars.txt", "", TRUE, "a-file-name-longer-than-thirty-chars.txt"},
        {"\\\\server\\share\\folder-one\\folder-two\\f.txt", "", TRUE, "\\\\server\\share\\...\\f.txt"},
    };
    for (const Case& c : cases) {
        CRecentFileList one(0, "", "File%d", 1, 30);
        one[0] = c.path;
        CString name;
        EXPECT_TRUE(one.GetDisplayName(name, 0, c.curDir, lstrlenA(c.curDir), c.bAtLeastName));
        EXPECT_STREQ(c.expected, name) << c.path;
        EXPECT_LE(name.GetLength(), std::max(30, (int)strlen(strrchr(c.path, '\\') + 1))) << c.path;
    }
    CString name;
    EXPECT_FALSE(list.GetDisplayName(name, 2, NULL, 0));
}

TEST(CommandLine, ArgumentsGiveTheShellCommand)
{
    struct Case {
        std::vector<const char*> args;
        int nShellCommand;
        const char* file;
        const char* printer;
        BOOL bEmbedded;
    } cases[] = {
        {{}, CCommandLineInfo::FileNew, "", "", FALSE},
        {{"C:\\a b\\x.txt"}, CCommandLineInfo::FileOpen, "C:\\a b\\x.txt", "", FALSE},
        {{"/p", "x.txt"}, CCommandLineInfo::FilePrint, "x.txt", "", FALSE},
        {{"-pt", "x.txt", "Printer", "Driver", "Port"}, CCommandLineInfo::FilePrintTo, "x.txt", "Printer", FALSE},
        {{"/dde"}, CCommandLineInfo::FileDDE, "", "", FALSE},
        {{"/Embedding"}, CCommandLineInfo::FileNew, "", "", TRUE},
        {{"/regserver"}, CCommandLineInfo::AppRegister, "", "", FALSE},
        {{"/Unregister"}, CCommandLineInfo::AppUnregister, "", "", FALSE},
        {{"one.txt", "two.txt"}, CCommandLineInfo::FileOpen, "one.txt", "", FALSE},
    };
    for (const Case& c : cases) {
        CCommandLineInfo info;
        std::vector<char*> argv;
        for (const char* a : c.args)
            argv.push_back(const_cast<char*>(a));
        fx::ParseCommandLineArgs(info, (int)argv.size(), argv.data());
        EXPECT_EQ(c.nShellCommand, (int)info.m_nShellCommand) << c.args.size();
        EXPECT_STREQ(c.file, info.m_strFileName);
        EXPECT_STREQ(c.printer, info.m_strPrinterName);
        EXPECT_EQ(c.bEmbedded, info.m_bRunEmbedded);
        EXPECT_EQ(!c.bEmbedded, info.m_bShowSplash || c.args.empty());
    }
}

TEST_F(DocViewTest, TheShellCommandOpensTheFileOrANewDocument)
{
    std::string path = File("cmd.txt", "from the command line");
    char* argv[] = {const_cast<char*>(path.c_str())};
    CCommandLineInfo info;
    fx::ParseCommandLineArgs(info, 1, argv);
    EXPECT_TRUE(fx::ProcessShellCommand(info));
    ASSERT_EQ(1, CountDocuments());
    EXPECT_STREQ("from the command line", static_cast<TextDoc*>(m_pMain->GetActiveDocument())->m_text);

    CCommandLineInfo fresh;
    EXPECT_TRUE(fx::ProcessShellCommand(fresh));
    EXPECT_EQ(2, CountDocuments());

    CCommandLineInfo nothing;
    nothing.m_nShellCommand = CCommandLineInfo::FileNothing;
    EXPECT_TRUE(fx::ProcessShellCommand(nothing));
    EXPECT_EQ(2, CountDocuments());

    CCommandLineInfo missing;
    missing.m_nShellCommand = CCommandLineInfo::FileOpen;
    missing.m_strFileName = m_dir.Path("nope.txt").c_str();
    qmtest::MessageBoxRecorder boxes;
    EXPECT_FALSE(fx::ProcessShellCommand(missing));
}

TEST_F(DocViewTest, DroppedFilesAreOpened)
{
    std::string a = File("drop1.txt", "1"), b = File("drop2.dat", "2");
    HGLOBAL hDrop = MakeDrop({a, b});
    m_pMain->SendMessage(WM_DROPFILES, (WPARAM)hDrop);
    EXPECT_EQ(2, CountDocuments());
    CDocument* pActive = m_pMain->GetActiveDocument();
    ASSERT_TRUE(pActive != NULL);
    EXPECT_EQ(0, pActive->GetPathName().CompareNoCase(b.c_str()));
}

// A tool tip from the string table comes whole to a tool-tip control of
// either form: UTF-16 to the wide one, UTF-8 (the process's char text) to
// the ANSI one.
TEST_F(DocViewTest, ToolTipsInAnyLanguageComeWhole)
{
    ASSERT_EQ(GetACP(), (UINT)CP_UTF8) << "the test program's manifest sets the UTF-8 code page";
    NMTTDISPINFOW wide = {};
    wide.hdr.code = TTN_NEEDTEXTW;
    wide.hdr.idFrom = ID_TEST_WIDETIP;
    m_pMain->SendMessage(WM_NOTIFY, 0, (LPARAM)&wide);
    ASSERT_TRUE(wide.lpszText != NULL);
    EXPECT_STREQ(L"\u65e5\u672c\u8a9e \u03b1\u03b2\u03b3 \U0001F600", wide.lpszText);
    NMTTDISPINFOA narrow = {};
    narrow.hdr.code = TTN_NEEDTEXTA;
    narrow.hdr.idFrom = ID_TEST_WIDETIP;
    m_pMain->SendMessage(WM_NOTIFY, 0, (LPARAM)&narrow);
    ASSERT_TRUE(narrow.lpszText != NULL);
    EXPECT_STREQ("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xCE\xB1\xCE\xB2\xCE\xB3 \xF0\x9F\x98\x80", narrow.lpszText);

    // A tip longer than the ANSI buffer (80 bytes) ends with a whole
    // character: 26 of the 30, 78 bytes.
    std::string sun26;
    for (int i = 0; i < 26; ++i)
        sun26 += "\xE6\x97\xA5";
    NMTTDISPINFOA longTip = {};
    longTip.hdr.code = TTN_NEEDTEXTA;
    longTip.hdr.idFrom = ID_TEST_LONGTIP;
    m_pMain->SendMessage(WM_NOTIFY, 0, (LPARAM)&longTip);
    ASSERT_TRUE(longTip.lpszText != NULL);
    EXPECT_EQ(sun26, std::string(longTip.lpszText));
}

// Names in any language, dropped as Explorer drops them (UTF-16) and as an
// 8-bit list, one of them longer than MAX_PATH bytes in UTF-8: each opens
// under its whole name.
TEST_F(DocViewTest, DroppedNamesInAnyLanguageAreOpened)
{
    ASSERT_EQ(GetACP(), (UINT)CP_UTF8) << "the test program's manifest sets the UTF-8 code page";
    std::string longName;
    for (int i = 0; i < 180; ++i)
        longName += "\xE6\x97\xA5"; // 540 bytes
    const std::string names[] = {
        File("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt", "1"),
        File("\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC.txt", "2"),
        File("\xF0\x9F\x98\x80 smile.txt", "3"),
        File((longName + ".txt").c_str(), "4"),
    };
    for (bool bWide : {true, false}) {
        for (const std::string& name : names) {
            SCOPED_TRACE(std::string(bWide ? "UTF-16 " : "8-bit ") + name);
            qmtest::DropData data({name}, bWide);
            FORMATETC format = {CF_HDROP, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
            STGMEDIUM medium = {};
            ASSERT_EQ(S_OK, data.GetData(&format, &medium));
            const int nBefore = CountDocuments();
            m_pMain->SendMessage(WM_DROPFILES, (WPARAM)medium.hGlobal); // freed by the frame
            EXPECT_EQ(nBefore + 1, CountDocuments());
            CDocument* pActive = m_pMain->GetActiveDocument();
            ASSERT_TRUE(pActive != NULL);
            EXPECT_EQ(name, std::string(pActive->GetPathName()));
            pActive->OnCloseDocument();
        }
    }
}
