// The console redirector running a small console program of ours
// (qmsci_redirhelper.exe), and the tool-output window and the editor that
// show its output.
#include "scitest.h"

#include <string>
#include <vector>

#include "redirector.h"
#include "tooloutput.h"

using scitest::CHostWnd;

namespace {

std::string Helper(const char* args)
{
    return "\"" + scitest::TestsFolder() + "\\qmsci_redirhelper.exe\" " + args;
}

std::string WithoutCR(const std::string& s)
{
    std::string r;
    for (char c : s)
        if (c != '\r')
            r += c;
    return r;
}

std::string NumberedLines(int n)
{
    std::string s;
    for (int i = 1; i <= n; ++i)
        s += "line " + std::to_string(i) + "\n";
    return s;
}

// Records everything the redirector hands over, from whichever thread.
class RecordingRedirector : public CProcessRedirector {
public:
    RecordingRedirector()
    {
        InitializeCriticalSection(&m_cs);
        m_ended = CreateEventA(NULL, TRUE, FALSE, NULL);
        m_entered = CreateEventA(NULL, TRUE, FALSE, NULL);
        m_release = CreateEventA(NULL, TRUE, FALSE, NULL);
    }
    ~RecordingRedirector() override
    {
        SetEvent(m_release);
        Close();
        CloseHandle(m_ended);
        CloseHandle(m_entered);
        CloseHandle(m_release);
        DeleteCriticalSection(&m_cs);
    }
    bool WaitEnded(DWORD ms = 15000) { return WaitForSingleObject(m_ended, ms) == WAIT_OBJECT_0; }
    void ResetEnded() { ResetEvent(m_ended); }
    std::vector<std::string> Pieces()
    {
        EnterCriticalSection(&m_cs);
        std::vector<std::string> v = m_pieces;
        LeaveCriticalSection(&m_cs);
        return v;
    }
    std::string Output()
    {
        std::string s;
        for (const std::string& p : Pieces())
            s += p;
        return s;
    }
    std::vector<std::string> Errors()
    {
        EnterCriticalSection(&m_cs);
        std::vector<std::string> v = m_errors;
        LeaveCriticalSection(&m_cs);
        return v;
    }
    LONG EndedCount() const { return m_endedCount; }

    // Makes OnOutput hang until released (a reader stuck in a slow sink).
    volatile LONG m_block = 0;
    HANDLE m_entered;
    HANDLE m_release;

protected:
    void OnOutput(LPCSTR text) override
    {
        EnterCriticalSection(&m_cs);
        m_pieces.push_back(text);
        LeaveCriticalSection(&m_cs);
        if (m_block) {
            SetEvent(m_entered);
            WaitForSingleObject(m_release, INFINITE);
        }
    }
    void OnError(LPCSTR text) override
    {
        EnterCriticalSection(&m_cs);
        m_errors.push_back(text);
        LeaveCriticalSection(&m_cs);
    }
    void OnChildEnded() override
    {
        InterlockedIncrement(&m_endedCount);
        SetEvent(m_ended);
    }

private:
    CRITICAL_SECTION m_cs;
    std::vector<std::string> m_pieces;
    std::vector<std::string> m_errors;
    HANDLE m_ended;
    volatile LONG m_endedCount = 0;
};

TEST(Redirector, ChildOutputArrivesInOrderAndTheRunEnds)
{
    RecordingRedirector r;
    ASSERT_TRUE(r.Open(Helper("lines 300").c_str()));
    EXPECT_EQ(r.EndedCount(), 0);
    ASSERT_TRUE(r.WaitEnded());
    EXPECT_EQ(WithoutCR(r.Output()), NumberedLines(300));
    EXPECT_TRUE(r.Errors().empty());
    EXPECT_FALSE(r.IsRunning());
    EXPECT_EQ(r.EndedCount(), 1);
}

TEST(Redirector, WaitingOutputIsHandedOverInPiecesOf255Bytes)
{
    RecordingRedirector r;
    ASSERT_TRUE(r.Open(Helper("bytes 1000").c_str()));
    ASSERT_TRUE(r.WaitEnded());
    std::vector<std::string> pieces = r.Pieces();
    size_t total = 0;
    for (const std::string& p : pieces) {
        EXPECT_LE(p.size(), 255u);
        EXPECT_FALSE(p.empty());
        total += p.size();
    }
    EXPECT_EQ(total, 1000u);
    EXPECT_GE(pieces.size(), 4u);
}

TEST(Redirector, StandardErrorIsInterleavedAsWritten)
{
    RecordingRedirector r;
    ASSERT_TRUE(r.Open(Helper("stderr").c_str()));
    ASSERT_TRUE(r.WaitEnded());
    EXPECT_EQ(WithoutCR(r.Output()), "out1\nerr1\nout2\n");
}

TEST(Redirector, ProgramThatPrintsNothingJustEnds)
{
    RecordingRedirector r;
    ASSERT_TRUE(r.Open(Helper("nothing").c_str()));
    ASSERT_TRUE(r.WaitEnded());
    EXPECT_EQ(r.Output(), "");
    EXPECT_TRUE(r.Errors().empty());
}

TEST(Redirector, MissingProgramIsReportedWithTheSystemCode)
{
    RecordingRedirector r;
    SetLastError(0);
    EXPECT_FALSE(r.Open("\"C:\\no\\such\\folder\\program.exe\" x"));
    DWORD code = GetLastError();
    EXPECT_TRUE(code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) << code;
    std::vector<std::string> errors = r.Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Redirect console error: " + std::to_string(code) + "\r\n");
    EXPECT_GE(r.EndedCount(), 1);
    EXPECT_FALSE(r.IsRunning());

    RecordingRedirector plain;
    EXPECT_FALSE(plain.Open("qmsci_no_such_program_anywhere.exe"));
    EXPECT_EQ(GetLastError(), 2u);
    ASSERT_EQ(plain.Errors().size(), 1u);
    EXPECT_EQ(plain.Errors()[0], "Redirect console error: 2\r\n");
}

TEST(Redirector, CloseWithNothingRunningIsSafe)
{
    RecordingRedirector r;
    r.Close();
    r.Close();
    EXPECT_EQ(r.EndedCount(), 2);
    EXPECT_TRUE(r.Errors().empty());
}

// Nobody types into a captured tool: a program that reads its input (a
// command prompt, the first tool of a new installation) finds it empty and
// closed, and ends by itself.
TEST(Redirector, ProgramReadingItsInputSeesTheEndAndFinishes)
{
    struct Case {
        const char* what;
        std::string cmdLine;
        const char* expected; // a part of the output
    } cases[] = {
        {"our helper", Helper("stdin"), "eof"},
        {"the command prompt", "\"cmd.exe\" ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingRedirector r;
        ASSERT_TRUE(r.Open(c.cmdLine.c_str()));
        EXPECT_TRUE(r.WaitEnded(20000)) << "the run did not end without Stop";
        EXPECT_FALSE(r.IsRunning());
        EXPECT_NE(r.Output().find(c.expected), std::string::npos) << r.Output();
        EXPECT_TRUE(r.Errors().empty());
        EXPECT_EQ(r.EndedCount(), 1);
    }
}

TEST(Redirector, ProgramThatRunsOnRunsUntilStopped)
{
    RecordingRedirector r;
    ASSERT_TRUE(r.Open(Helper("sleep 30000").c_str()));
    EXPECT_FALSE(r.WaitEnded(400));
    EXPECT_TRUE(r.IsRunning());
    EXPECT_EQ(r.Output(), "");
    r.Close();
    EXPECT_FALSE(r.IsRunning());
    EXPECT_TRUE(r.Errors().empty()); // the reader stopped by itself
    EXPECT_EQ(r.EndedCount(), 1);    // reported once, by the stop
}

TEST(Redirector, NewRunStopsThePreviousOne)
{
    RecordingRedirector r;
    ASSERT_TRUE(r.Open(Helper("sleep 30000").c_str()));
    ASSERT_TRUE(r.Open(Helper("lines 3").c_str()));
    ASSERT_TRUE(r.WaitEnded());
    EXPECT_EQ(WithoutCR(r.Output()), NumberedLines(3));
    EXPECT_EQ(r.EndedCount(), 1); // the replaced run reports no end
}

TEST(Redirector, EveryRunGivesItsHandlesBack)
{
    RecordingRedirector r;
    ASSERT_TRUE(r.Open(Helper("lines 2").c_str())); // warms up process creation
    ASSERT_TRUE(r.WaitEnded());
    r.Close();
    DWORD before = 0;
    GetProcessHandleCount(GetCurrentProcess(), &before);
    for (int i = 0; i < 5; ++i) {
        r.ResetEnded();
        ASSERT_TRUE(r.Open(Helper(i % 2 ? "sleep 30000" : "lines 2").c_str()));
        if (i % 2 == 0) {
            ASSERT_TRUE(r.WaitEnded());
        }
        r.Close();
    }
    DWORD after = 0;
    GetProcessHandleCount(GetCurrentProcess(), &after);
    EXPECT_LE(after, before + 1);
}

TEST(Redirector, ReaderStuckLongerThanTheStopTimeoutIsEnded)
{
    RecordingRedirector r;
    r.SetStopTimeout(300);
    r.m_block = 1;
    ASSERT_TRUE(r.Open(Helper("lines 5").c_str()));
    ASSERT_EQ(WaitForSingleObject(r.m_entered, 10000), WAIT_OBJECT_0);
    r.Close();
    std::vector<std::string> errors = r.Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "The redir thread is dead\r\n");
    EXPECT_FALSE(r.IsRunning());
}

// --- the tool-output window ----------------------------------------------------------------

class OutputViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateHost());
        CRect rc(0, 0, 600, 300);
        ASSERT_TRUE(view.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_AUTOVSCROLL, rc, &host, 100));
        view.SetToolRunningFlag(&running);
    }
    void TearDown() override
    {
        view.Close();
        view.DestroyWindow();
        host.DestroyWindow();
    }
    std::string Text()
    {
        int n = GetWindowTextLengthA(view.m_hWnd);
        std::string s((size_t)n + 1, '\0');
        GetWindowTextA(view.m_hWnd, &s[0], n + 1);
        s.resize((size_t)n);
        return s;
    }
    bool Run(const char* args)
    {
        running = 1;
        return view.RunCommand(Helper(args).c_str()) != FALSE;
    }

    CHostWnd host;
    CProcessOutputView view;
    volatile LONG running = 0;
};

TEST_F(OutputViewTest, ShowsTheToolsOutputAndClearsTheRunningFlag)
{
    EXPECT_TRUE(view.GetStyle() & ES_MULTILINE);
    SetWindowTextA(view.m_hWnd, "old text");
    ASSERT_TRUE(Run("lines 40"));
    ASSERT_TRUE(scitest::PumpUntil([&] { return running == 0; }, 15000));
    scitest::PumpFor(50);
    std::string want;
    for (int i = 1; i <= 40; ++i)
        want += "line " + std::to_string(i) + "\r\n";
    EXPECT_EQ(Text(), want);
}

TEST_F(OutputViewTest, ProgramThatPrintsNothingLeavesTheWindowEmpty)
{
    SetWindowTextA(view.m_hWnd, "old text");
    ASSERT_TRUE(Run("nothing"));
    ASSERT_TRUE(scitest::PumpUntil([&] { return running == 0; }, 15000));
    EXPECT_EQ(Text(), "");
}

TEST_F(OutputViewTest, MissingProgramShowsTheError)
{
    running = 1;
    EXPECT_FALSE(view.RunCommand("qmsci_no_such_program_anywhere.exe"));
    EXPECT_EQ(Text(), "\r\nError message: Redirect console error: 2\r\n");
    EXPECT_EQ(running, 0);
}

TEST_F(OutputViewTest, BareLineFeedsBecomeLineBreaks)
{
    ASSERT_TRUE(Run("rawlf"));
    ASSERT_TRUE(scitest::PumpUntil([&] { return running == 0; }, 15000));
    EXPECT_EQ(Text(), "a\r\nb\r\n");
}

TEST_F(OutputViewTest, StoppingAToolWhilePrintingDoesNotFreezeTheWindow)
{
    ASSERT_TRUE(Run("flood"));
    // More than the edit control's own default limit arrives.
    ASSERT_TRUE(scitest::PumpUntil([&] { return GetWindowTextLengthA(view.m_hWnd) > 40000; }, 20000));
    ASSERT_TRUE(view.IsRunning());
    DWORD start = GetTickCount();
    view.Close(); // what "Stop User Tool" does, on the window's thread
    DWORD elapsed = GetTickCount() - start;
    EXPECT_LT(elapsed, view.GetStopTimeout()) << "Close waited for the whole stop timeout";
    EXPECT_EQ(Text().find("The redir thread is dead"), std::string::npos);
    EXPECT_FALSE(view.IsRunning());
    EXPECT_EQ(running, 0);
    // The window still answers and keeps what arrived.
    LRESULT length = SendMessageA(view.m_hWnd, WM_GETTEXTLENGTH, 0, 0);
    EXPECT_GT(length, 40000);
    scitest::PumpFor(100);
    EXPECT_EQ(SendMessageA(view.m_hWnd, WM_GETTEXTLENGTH, 0, 0), length); // nothing after the stop
}

TEST(OutputViewLife, DestroyingTheWindowWhileAToolPrintsStopsIt)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost());
    CProcessOutputView* view = new CProcessOutputView;
    CRect rc(0, 0, 300, 200);
    ASSERT_TRUE(view->Create(WS_CHILD | WS_VISIBLE, rc, &host, 100));
    ASSERT_TRUE(view->RunCommand(Helper("flood").c_str()));
    ASSERT_TRUE(scitest::PumpUntil([&] { return GetWindowTextLengthA(view->m_hWnd) > 1000; }, 20000));
    delete view; // stops the reader first, then the window goes
    scitest::PumpFor(100);
    host.DestroyWindow();
}

// --- the editor as the target of a tool's output --------------------------------------------

TEST(EditorOutput, ToolOutputGoesIntoTheDocument)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost());
    CMFCScintilla editor;
    CRect rc(0, 0, 500, 300);
    ASSERT_TRUE(editor.Create(CMFCScintilla::kWindowClass, "Editor", WS_CHILD | WS_VISIBLE, rc, &host,
                              scitest::IDC_EDITOR));
    editor.SetDefaultLook();
    ASSERT_TRUE(editor.RunCommand(Helper("lines 25").c_str()));
    ASSERT_TRUE(scitest::PumpUntil([&] { return !editor.IsRunning(); }, 15000));
    std::vector<char> buf((size_t)editor.GetLength() + 1);
    editor.GetText(editor.GetLength() + 1, buf.data());
    EXPECT_EQ(WithoutCR(buf.data()), NumberedLines(25));

    // Stopping a flood into the editor returns promptly as well.
    ASSERT_TRUE(editor.RunCommand(Helper("flood").c_str()));
    ASSERT_TRUE(scitest::PumpUntil([&] { return editor.GetLength() > 20000; }, 20000));
    editor.Close();
    EXPECT_FALSE(editor.IsRunning());
    editor.DestroyWindow();
    host.DestroyWindow();
}

} // namespace
