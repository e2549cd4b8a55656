// The application's document members: templates, opening files through the
// application's own OpenDocumentFile, the recent-file list in the profile,
// the shell command and File New.
#include "DocViewTestApp.h"

using namespace dvtest;

namespace {

// The application itself holds the templates and the recent-file list.
class AppDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Log::Clear();
        char szKey[96];
        snprintf(szKey, sizeof(szKey), "FxAppDocTest_%lu_%lu", GetCurrentProcessId(), GetTickCount());
        m_regKey = szKey;
        CWinApp& app = App();
        free(const_cast<char*>(app.m_pszRegistryKey));
        app.m_pszRegistryKey = NULL;
        app.SetRegistryKey(m_regKey.c_str());
        fx::SetDocManager(NULL, NULL);
        m_pMain = new MainFrame;
        ASSERT_TRUE(m_pMain->LoadFrame(IDR_MAINFRAME));
        app.m_pMainWnd = m_pMain;
        m_pMain->ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        CWinApp& app = App();
        {
            qmtest::MessageBoxRecorder boxes({IDNO, IDNO, IDNO, IDNO});
            app.CloseAllDocuments(TRUE);
        }
        app.m_pMainWnd = NULL;
        if (::IsWindow(m_pMain->m_hWnd))
            m_pMain->DestroyWindow();
        delete app.m_pDocManager;
        app.m_pDocManager = NULL;
        delete app.m_pRecentFileList;
        app.m_pRecentFileList = NULL;
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT)
                ::DispatchMessageA(&msg);
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_regKey).c_str());
    }
    void AddTemplates()
    {
        m_pText = new CMultiDocTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(TextFrame),
                                        RUNTIME_CLASS(TextView));
        App().AddDocTemplate(m_pText);
        m_pData = new CMultiDocTemplate(IDR_DATATYPE, RUNTIME_CLASS(DataDoc), RUNTIME_CLASS(TextFrame),
                                        RUNTIME_CLASS(DataView));
        App().AddDocTemplate(m_pData);
    }
    std::string File(const char* name, const std::string& content)
    {
        std::string path = m_dir.Path(name);
        fxtest::WriteRaw(path, content);
        return path;
    }

    MainFrame* m_pMain = NULL;
    CMultiDocTemplate* m_pText = NULL;
    CMultiDocTemplate* m_pData = NULL;
    fxtest::TempDir m_dir;
    std::string m_regKey;
};

} // namespace

TEST_F(AppDocTest, TemplatesAreKeptInOrderByTheApplication)
{
    CWinApp& app = App();
    EXPECT_EQ(NULL, app.GetFirstDocTemplatePosition());
    AddTemplates();
    ASSERT_TRUE(app.m_pDocManager != NULL);
    EXPECT_EQ(app.m_pDocManager, AfxGetDocManager());
    POSITION pos = app.GetFirstDocTemplatePosition();
    EXPECT_EQ(m_pText, app.GetNextDocTemplate(pos));
    EXPECT_EQ(m_pData, app.GetNextDocTemplate(pos));
    EXPECT_EQ(NULL, pos);
    EXPECT_EQ(0, app.GetOpenDocumentCount());
}

TEST_F(AppDocTest, TheRecentFileListComesFromTheProfileAndOpensThroughTheApplication)
{
    CWinApp& app = App();
    std::string a = File("first.txt", "1"), b = File("second.dat", "2");
    app.WriteProfileString("Recent File List", "File1", b.c_str());
    app.WriteProfileString("Recent File List", "File3", a.c_str()); // a hole closes up
    AddTemplates();
    app.LoadStdProfileSettings(4);
    ASSERT_TRUE(app.m_pRecentFileList != NULL);
    EXPECT_EQ(app.m_pRecentFileList, AfxGetRecentFileList());
    CRecentFileList& list = *app.m_pRecentFileList;
    EXPECT_EQ(4, list.GetSize());
    EXPECT_STREQ(b.c_str(), list[0]);
    EXPECT_STREQ(a.c_str(), list[1]);
    EXPECT_TRUE(list[2].IsEmpty());

    // The second entry: the application's OpenDocumentFile opens it, and the
    // opened path goes to the top through AddToRecentFileList.
    m_pMain->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE2);
    // (The path joins the list before the frame is first shown.)
    EXPECT_EQ("app open first.txt | open document | app recent first.txt | initial update", Log::Joined());
    EXPECT_EQ(1, app.GetOpenDocumentCount());
    EXPECT_STREQ(a.c_str(), list[0]);
    EXPECT_EQ(0, app.GetProfileString("Recent File List", "File1").CompareNoCase(a.c_str()));
    EXPECT_EQ(0, app.GetProfileString("Recent File List", "File2").CompareNoCase(b.c_str()));
}

TEST_F(AppDocTest, NoRecentFilesWhenNoneAreWanted)
{
    AddTemplates();
    App().LoadStdProfileSettings(0);
    EXPECT_EQ(NULL, App().m_pRecentFileList);
    // Opening still works; the commands of the list are disabled.
    EXPECT_TRUE(App().OpenDocumentFile(File("x.txt", "x").c_str()) != NULL);
    HMENU hFile = GetSubMenu(GetMenu(m_pMain->m_hWnd), 0);
    m_pMain->SendMessage(WM_INITMENUPOPUP, (WPARAM)hFile, MAKELPARAM(0, FALSE));
    EXPECT_TRUE(GetMenuState(hFile, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(AppDocTest, TheShellCommandAndDroppedFilesGoThroughTheApplication)
{
    AddTemplates();
    App().LoadStdProfileSettings(4);
    std::string path = File("shell.txt", "s");
    CCommandLineInfo info;
    char* argv[] = {const_cast<char*>(path.c_str())};
    fx::ParseCommandLineArgs(info, 1, argv);
    EXPECT_TRUE(App().ProcessShellCommand(info));
    EXPECT_TRUE(Log::Contains("app open shell.txt"));

    // File New with a handler of the program's: the handler runs.
    Log::Clear();
    CCommandLineInfo fresh;
    EXPECT_TRUE(App().ProcessShellCommand(fresh));
    EXPECT_EQ("app file new | new document | initial update", Log::Joined());
    EXPECT_EQ(2, App().GetOpenDocumentCount());

    // Dropped files too.
    Log::Clear();
    std::string dropped = File("dropped.dat", "d");
    m_pMain->SendMessage(WM_DROPFILES, (WPARAM)MakeDrop({dropped}));
    EXPECT_TRUE(Log::Contains("app open dropped.dat"));
    EXPECT_EQ(3, App().GetOpenDocumentCount());

    // Every document is asked about before the main window closes.
    POSITION pos = App().GetFirstDocTemplatePosition();
    CDocTemplate* pTemplate = App().GetNextDocTemplate(pos);
    POSITION posDoc = pTemplate->GetFirstDocPosition();
    static_cast<TextDoc*>(pTemplate->GetNextDoc(posDoc))->SetText("changed");
    {
        qmtest::MessageBoxRecorder boxes({IDCANCEL});
        EXPECT_FALSE(App().SaveAllModified());
        EXPECT_EQ(1u, boxes.Texts().size());
    }
}
