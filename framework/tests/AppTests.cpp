// The application object: names, profile (registry and INI), message boxes,
// threads and synchronisation.
#include "TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>

using fxtest::TempDir;

namespace {

// A registry key of this test run under HKCU\Software, removed afterwards.
class RegistryProfile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[64];
        snprintf(name, sizeof(name), "FxTest_%lu_%lu", GetCurrentProcessId(), GetTickCount());
        m_key = name;
        m_app.reset(new CWinApp("FxApp"));
        m_app->SetRegistryKey(m_key.c_str());
    }
    void TearDown() override
    {
        m_app.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_key).c_str());
    }
    std::string SectionPath(const char* section) const { return "Software\\" + m_key + "\\FxApp\\" + section; }

    // Reads a value back with the registry functions themselves.
    bool Query(const char* section, const char* entry, DWORD& type, std::vector<BYTE>& data)
    {
        HKEY h;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        DWORD cb = 0;
        LONG r = RegQueryValueExA(h, entry, NULL, &type, NULL, &cb);
        if (r == ERROR_SUCCESS) {
            data.resize(cb);
            r = RegQueryValueExA(h, entry, NULL, &type, data.data(), &cb);
        }
        RegCloseKey(h);
        return r == ERROR_SUCCESS;
    }
    bool KeyExists(const char* section)
    {
        HKEY h;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        RegCloseKey(h);
        return true;
    }
    void SetRaw(const char* section, const char* entry, DWORD type, const void* p, DWORD cb)
    {
        HKEY h;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, NULL, 0,
                                                 KEY_WRITE, NULL, &h, NULL));
        RegSetValueExA(h, entry, 0, type, static_cast<const BYTE*>(p), cb);
        RegCloseKey(h);
    }

    std::string m_key;
    std::unique_ptr<CWinApp> m_app;
};

} // namespace

TEST_F(RegistryProfile, ValuesLandWhereAndHowTheyShould)
{
    EXPECT_STREQ("FxApp", m_app->m_pszProfileName);
    EXPECT_STREQ(m_key.c_str(), m_app->m_pszRegistryKey);

    EXPECT_TRUE(m_app->WriteProfileInt("Settings", "Count", -5));
    EXPECT_TRUE(m_app->WriteProfileString("Settings", "Name", "Value text"));
    BYTE blob[44];
    for (int i = 0; i < 44; ++i)
        blob[i] = (BYTE)(i * 5);
    EXPECT_TRUE(m_app->WriteProfileBinary("TOOLS_CUSTOMIZATION", "Tools", blob, sizeof(blob)));

    DWORD type;
    std::vector<BYTE> data;
    ASSERT_TRUE(Query("Settings", "Count", type, data));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    ASSERT_EQ(4u, data.size());
    EXPECT_EQ(0xFFFFFFFBu, *reinterpret_cast<DWORD*>(data.data()));
    ASSERT_TRUE(Query("Settings", "Name", type, data));
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_EQ(std::string("Value text", 11), std::string(data.begin(), data.end())); // with its NUL
    ASSERT_TRUE(Query("TOOLS_CUSTOMIZATION", "Tools", type, data));
    EXPECT_EQ((DWORD)REG_BINARY, type);
    EXPECT_EQ(std::vector<BYTE>(blob, blob + 44), data);

    EXPECT_EQ((UINT)-5, m_app->GetProfileInt("Settings", "Count", 7));
    EXPECT_STREQ("Value text", m_app->GetProfileString("Settings", "Name").GetString());
    LPBYTE p = NULL;
    UINT n = 0;
    ASSERT_TRUE(m_app->GetProfileBinary("TOOLS_CUSTOMIZATION", "Tools", &p, &n));
    EXPECT_EQ(44u, n);
    EXPECT_EQ(0, memcmp(p, blob, 44));
    delete[] p;

    HKEY hApp = m_app->GetAppRegistryKey();
    ASSERT_NE(nullptr, hApp);
    RegCloseKey(hApp);
    HKEY hSection = m_app->GetSectionKey("Settings");
    ASSERT_NE(nullptr, hSection);
    RegCloseKey(hSection);
}

TEST_F(RegistryProfile, MissingAndDamagedValuesGiveDefaults)
{
    EXPECT_EQ(7u, m_app->GetProfileInt("Nowhere", "Count", 7));
    EXPECT_STREQ("def", m_app->GetProfileString("Nowhere", "Name", "def").GetString());
    EXPECT_STREQ("", m_app->GetProfileString("Nowhere", "Name").GetString());
    LPBYTE p = (LPBYTE)1;
    UINT n = 99;
    EXPECT_FALSE(m_app->GetProfileBinary("Nowhere", "Blob", &p, &n));
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ(0u, n);
    EXPECT_FALSE(KeyExists("Nowhere")); // reading creates nothing

    // Values of the wrong type or size.
    SetRaw("Bad", "Int", REG_SZ, "12", 3);
    SetRaw("Bad", "Str", REG_DWORD, "\x01\0\0\0", 4);
    SetRaw("Bad", "Blob", REG_SZ, "ab", 3);
    SetRaw("Bad", "NoNul", REG_SZ, "abc", 3); // stored without a terminator
    EXPECT_EQ(3u, m_app->GetProfileInt("Bad", "Int", 3));
    EXPECT_STREQ("d", m_app->GetProfileString("Bad", "Str", "d").GetString());
    EXPECT_FALSE(m_app->GetProfileBinary("Bad", "Blob", &p, &n));
    EXPECT_STREQ("abc", m_app->GetProfileString("Bad", "NoNul").GetString());
}

TEST_F(RegistryProfile, NullValueDeletesEntryNullEntryDeletesSection)
{
    m_app->WriteProfileString("Sec", "A", "1");
    m_app->WriteProfileString("Sec", "B", "2");
    SetRaw("Sec\\Nested", "C", REG_SZ, "3", 2);
    EXPECT_TRUE(m_app->WriteProfileString("Sec", "A", NULL));
    DWORD type;
    std::vector<BYTE> data;
    EXPECT_FALSE(Query("Sec", "A", type, data));
    EXPECT_TRUE(Query("Sec", "B", type, data));
    EXPECT_TRUE(m_app->WriteProfileString("Sec", NULL, NULL));
    EXPECT_FALSE(KeyExists("Sec")); // with its subkeys
    EXPECT_FALSE(m_app->WriteProfileString("Sec", "A", NULL));
}

TEST(IniProfile, ValuesSectionsAndBinaryLetters)
{
    TempDir dir;
    std::string ini = dir.Path("app.ini");
    CWinApp app("IniApp");
    free((void*)app.m_pszProfileName);
    app.m_pszProfileName = _strdup(ini.c_str());
    ASSERT_EQ(nullptr, app.m_pszRegistryKey);

    EXPECT_TRUE(app.WriteProfileInt("S", "I", -12));
    EXPECT_TRUE(app.WriteProfileString("S", "T", "hello"));
    BYTE bytes[] = {0x00, 0xFF, 0x1F};
    EXPECT_TRUE(app.WriteProfileBinary("S", "B", bytes, sizeof(bytes)));
    std::string text = fxtest::ReadRaw(ini);
    EXPECT_THAT(text, ::testing::HasSubstr("I=-12"));
    EXPECT_THAT(text, ::testing::HasSubstr("T=hello"));
    EXPECT_THAT(text, ::testing::HasSubstr("B=AAPPPB")); // low nibble first

    EXPECT_EQ((UINT)-12, app.GetProfileInt("S", "I", 0));
    EXPECT_STREQ("hello", app.GetProfileString("S", "T").GetString());
    EXPECT_STREQ("dflt", app.GetProfileString("S", "Missing", "dflt").GetString());
    LPBYTE p = NULL;
    UINT n = 0;
    ASSERT_TRUE(app.GetProfileBinary("S", "B", &p, &n));
    ASSERT_EQ(3u, n);
    EXPECT_EQ(0, memcmp(p, bytes, 3));
    delete[] p;

    // Text that is not letter pairs is refused, and so is a block that lost
    // a letter: it must not come back one byte short as if it were whole.
    app.WriteProfileString("S", "Bad", "A1");
    EXPECT_FALSE(app.GetProfileBinary("S", "Bad", &p, &n));
    app.WriteProfileString("S", "Cut", "AAPPP");
    EXPECT_FALSE(app.GetProfileBinary("S", "Cut", &p, &n));

    // Long values come back whole.
    CString big('v', 10000);
    EXPECT_TRUE(app.WriteProfileString("S", "Big", big));
    EXPECT_EQ(10000, app.GetProfileString("S", "Big").GetLength());

    EXPECT_TRUE(app.WriteProfileString("S", "T", NULL));
    EXPECT_STREQ("gone", app.GetProfileString("S", "T", "gone").GetString());
    EXPECT_TRUE(app.WriteProfileString("S", NULL, NULL));
    EXPECT_EQ(5u, app.GetProfileInt("S", "I", 5));
}

TEST(AppObject, NamesAndModuleHandles)
{
    {
        CWinApp app; // name from the AFX_IDS_APP_TITLE string resource
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_STREQ("Resource Title App", app.m_pszAppName);
        EXPECT_STREQ("Resource Title App", AfxGetAppName());
        EXPECT_STREQ("fx_app_tests", app.m_pszExeName);
        EXPECT_STREQ("fx_app_tests.INI", app.m_pszProfileName);
        EXPECT_EQ(GetModuleHandleA(NULL), app.m_hInstance);
        EXPECT_EQ(GetModuleHandleA(NULL), AfxGetInstanceHandle());
        EXPECT_EQ(&app, AfxGetThread());
        app.SetRegistryKey(110); // from a string resource
        EXPECT_STREQ("Fernbright Test", app.m_pszRegistryKey);
        EXPECT_STREQ("Resource Title App", app.m_pszProfileName);
    }
    EXPECT_EQ(nullptr, AfxGetApp());
    EXPECT_EQ(AfxGetInstanceHandle(), AfxGetResourceHandle());
    AfxSetResourceHandle((HINSTANCE)GetModuleHandleA("kernel32.dll"));
    EXPECT_NE(AfxGetInstanceHandle(), AfxGetResourceHandle());
    AfxSetResourceHandle(NULL);
    EXPECT_EQ(AfxGetInstanceHandle(), AfxGetResourceHandle());
}

namespace {
struct BoxLog {
    std::vector<std::string> texts;
    std::vector<UINT> types;
    std::vector<UINT> helpIds;
    int answer = IDOK;
};
int RecordBox(LPCSTR text, UINT nType, UINT nIDHelp, void* pContext)
{
    BoxLog* log = static_cast<BoxLog*>(pContext);
    log->texts.push_back(text);
    log->types.push_back(nType);
    log->helpIds.push_back(nIDHelp);
    return log->answer;
}
} // namespace

TEST(AppMessageBox, HookSeesTextFlagsAndAnswers)
{
    BoxLog log;
    fx::MessageBoxHook old = fx::SetMessageBoxHook(&RecordBox, &log);
    log.answer = IDNO;
    EXPECT_EQ(IDNO, AfxMessageBox("Save changes?", MB_YESNOCANCEL));
    log.answer = IDOK;
    EXPECT_EQ(IDOK, AfxMessageBox(100, MB_OK | MB_ICONSTOP));
    EXPECT_EQ(IDOK, AfxMessageBox(100, MB_OK, 42));
    {
        CWinApp app("Boxer");
        EXPECT_EQ(IDOK, AfxMessageBox("with an app"));
    }
    // An exception's report goes through the same path.
    CFileException e(CFileException::diskFull, -1, "full.txt");
    EXPECT_EQ(IDOK, e.ReportError());
    fx::SetMessageBoxHook(old);

    ASSERT_EQ(5u, log.texts.size());
    EXPECT_EQ("Save changes?", log.texts[0]);
    EXPECT_EQ((UINT)MB_YESNOCANCEL, log.types[0]);
    EXPECT_EQ(0u, log.helpIds[0]);
    EXPECT_EQ("Hello from resources", log.texts[1]);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONSTOP), log.types[1]);
    EXPECT_EQ(100u, log.helpIds[1]); // the prompt id is the default help id
    EXPECT_EQ(42u, log.helpIds[2]);
    EXPECT_EQ("with an app", log.texts[3]);
    EXPECT_THAT(log.texts[4], ::testing::HasSubstr("full.txt"));
}

TEST(AppMessageBox, WithoutAHookARealBoxIsShown)
{
    // Close the box from another thread as soon as it appears.
    std::atomic<bool> done(false);
    CWinThread* closer = AfxBeginThread(
        [](LPVOID p) -> UINT {
            std::atomic<bool>* pDone = static_cast<std::atomic<bool>*>(p);
            for (int i = 0; i < 500 && !*pDone; ++i) {
                HWND h = FindWindowA("#32770", "FxBoxApp");
                if (h) {
                    PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
                    return 1;
                }
                Sleep(20);
            }
            return 0;
        },
        &done, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, closer);
    closer->m_bAutoDelete = FALSE;
    closer->ResumeThread();
    CWinApp app("FxBoxApp");
    int result = AfxMessageBox("Close me", MB_OKCANCEL);
    done = true;
    WaitForSingleObject(closer->m_hThread, 10000);
    DWORD code = 0;
    GetExitCodeThread(closer->m_hThread, &code);
    delete closer;
    EXPECT_EQ(1u, code) << "the box with the application's caption was not found";
    EXPECT_EQ(IDCANCEL, result);
}

// --- threads -----------------------------------------------------------------

namespace {
struct Handshake {
    CEvent started;
    CEvent go;
    CEvent finished{FALSE, TRUE}; // manual reset
    CCriticalSection lock;
    int counter = 0;
    DWORD threadId = 0;
    CWinThread* seenThread = NULL;
};

UINT HandshakeProc(LPVOID p)
{
    Handshake* h = static_cast<Handshake*>(p);
    h->threadId = GetCurrentThreadId();
    h->seenThread = AfxGetThread();
    h->started.SetEvent();
    CSingleLock wait(&h->go, TRUE);
    for (int i = 0; i < 1000; ++i) {
        CSingleLock guard(&h->lock, TRUE);
        ++h->counter;
    }
    h->finished.SetEvent();
    return 7;
}
} // namespace

TEST(Threads, WorkerHandshakeWithEventsAndLocks)
{
    Handshake h;
    CWinThread* t = AfxBeginThread(HandshakeProc, &h, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, t);
    t->m_bAutoDelete = FALSE;
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, t->GetThreadPriority());
    CSingleLock waitStart(&h.started);
    EXPECT_FALSE(waitStart.Lock(100)); // still suspended
    t->ResumeThread();
    ASSERT_TRUE(waitStart.Lock(10000));
    EXPECT_TRUE(waitStart.IsLocked());
    EXPECT_EQ(t->m_nThreadID, h.threadId);
    EXPECT_EQ(t, h.seenThread);
    for (int i = 0; i < 1000; ++i) {
        CSingleLock guard(&h.lock, TRUE);
        ++h.counter;
    }
    h.go.SetEvent();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t->m_hThread, 10000));
    DWORD code = 0;
    GetExitCodeThread(*t, &code);
    EXPECT_EQ(7u, code);
    EXPECT_EQ(2000, h.counter);
    CSingleLock finished(&h.finished);
    EXPECT_TRUE(finished.Lock(0));
    EXPECT_TRUE(finished.Lock(0)); // manual reset stays signalled
    delete t;
}

TEST(Threads, AutoDeletingWorkerAndSyncObjects)
{
    static CEvent s_done;
    CWinThread* t = AfxBeginThread([](LPVOID) -> UINT { s_done.SetEvent(); return 0; }, NULL);
    ASSERT_NE(nullptr, t);
    CSingleLock wait(&s_done);
    EXPECT_TRUE(wait.Lock(10000)); // the object deletes itself at the end

    CMutex mutex(TRUE);
    CSemaphore sem(0, 2);
    CSingleLock semLock(&sem);
    EXPECT_FALSE(semLock.Lock(0));
    EXPECT_TRUE(sem.Unlock(2));
    EXPECT_TRUE(semLock.Lock(0));
    EXPECT_TRUE(semLock.Unlock());

    CEvent a, b(TRUE);
    CSyncObject* objs[] = {&a, &b};
    CMultiLock multi(objs, 2);
    EXPECT_EQ(WAIT_OBJECT_0 + 1, multi.Lock(0, FALSE));
    EXPECT_FALSE(multi.IsLocked(0));
    EXPECT_TRUE(multi.IsLocked(1));
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, multi.Lock(0, TRUE));
    a.SetEvent();
    b.SetEvent();
    EXPECT_EQ(WAIT_OBJECT_0, multi.Lock(0, TRUE));
    EXPECT_TRUE(multi.IsLocked(0));
    mutex.Unlock();

    CCriticalSection cs;
    CSyncObject* bad[] = {&cs};
    EXPECT_TRUE(fxtest::Throws<CInvalidArgException>([&] { CMultiLock m(bad, 1); }));
    EXPECT_EQ(nullptr, AfxGetThread()); // no application object on this thread
}
