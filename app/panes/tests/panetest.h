// panetest.h - what the pane tests share: the recording main frame as the
// application's main window, files with names in any language and lists.
#pragma once

#include "recordingframe.h"
#include "scintillawrap.h"

#include <gtest/gtest.h>

#include <qmtest/files.h>
#include <qmtest/pump.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace panetest {

// The frame as the application's main window for the life of a test.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pFrame = new CRecordingFrame;
        ASSERT_TRUE(m_pFrame->CreateFrame());
        AfxGetApp()->m_pMainWnd = m_pFrame;
    }
    void TearDown() override
    {
        AfxGetApp()->m_pMainWnd = NULL;
        if (m_pFrame != NULL && ::IsWindow(m_pFrame->GetSafeHwnd()))
            m_pFrame->DestroyWindow();
        qmtest::PumpMessages();
    }
    CRecordingFrame* m_pFrame = NULL;
};

inline std::wstring Wide(const std::string& utf8)
{
    int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, NULL, 0);
    std::wstring out(n > 0 ? (size_t)n : 1, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &out[0], n);
    out.resize(wcslen(out.c_str()));
    return out;
}

// Writes bytes to a path (UTF-8, any length); false on failure.
inline bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::wstring w = L"\\\\?\\" + Wide(path);
    HANDLE h = ::CreateFileW(w.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    ::CloseHandle(h);
    return ok && written == bytes.size();
}

inline bool MakeFolder(const std::string& path)
{
    std::wstring w = L"\\\\?\\" + Wide(path);
    return ::CreateDirectoryW(w.c_str(), NULL) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

// The editing component from the bin folder, loaded once (its window
// class "Scintilla" is then registered); false when it is missing.
inline bool LoadScintilla()
{
    static HMODULE hModule = ::LoadLibraryA("scilexer.dll");
    return hModule != NULL;
}

// The whole text of an editor.
inline std::string EditorText(CMFCScintilla& editor)
{
    std::string text((size_t)editor.Call(SCI_GETLENGTH) + 1, '\0');
    editor.Call(SCI_GETTEXT, text.size(), (sptr_t)&text[0]);
    text.resize(text.size() - 1);
    return text;
}

// A pane (nWidth pixels wide) beside a real editor in the frame; the frame
// gives that editor as the current one, where insertions go.
template <class TPane, UINT nID, int nWidth>
class PaneAndEditorTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        ASSERT_TRUE(LoadScintilla()) << "scilexer.dll must be in the bin folder";
        // The frame's own results list would take the clicks.
        m_pFrame->m_results.ShowWindow(SW_HIDE);
        ASSERT_TRUE(m_pane.Create(m_pFrame, nID));
        m_pane.MoveWindow(0, 0, nWidth, 380);
        m_pane.ShowWindow(SW_SHOW);
        ASSERT_TRUE(m_editor.Create(CMFCScintilla::kWindowClass, "Editor", WS_CHILD | WS_VISIBLE,
                                    CRect(nWidth, 0, 580, 380), m_pFrame, 32785));
        m_editor.Call(SCI_SETCODEPAGE, SC_CP_UTF8);
        m_pFrame->m_pEditor = &m_editor;
        qmtest::PumpMessages();
    }
    void TearDown() override
    {
        m_pFrame->m_pEditor = NULL;
        if (::IsWindow(m_pane.GetSafeHwnd()))
            m_pane.DestroyWindow();
        if (::IsWindow(m_editor.GetSafeHwnd()))
            m_editor.DestroyWindow();
        FrameTest::TearDown();
    }

public:
    std::string EditorText() { return panetest::EditorText(m_editor); }

    TPane m_pane;
    CMFCScintilla m_editor;
};

// Real input (SendInput) from a second thread while this one handles its
// messages: a modal loop that the input starts here (a drag, a popup menu)
// keeps getting its input. Returns once the input is sent and the messages
// it caused are handled.
inline void WithInput(const std::function<void()>& input, DWORD dwSettleMs = 300)
{
    std::atomic<bool> done(false);
    std::thread sender([&] {
        input();
        done = true;
    });
    qmtest::PumpUntil([&] { return done.load(); }, 30000);
    sender.join();
    qmtest::PumpFor(dwSettleMs);
}

// The waits between the steps of a drag sent from another thread.
inline void SleepFor(DWORD dwMilliseconds)
{
    ::Sleep(dwMilliseconds);
}

// The lines of a list box.
inline std::vector<std::string> ListRows(HWND hList)
{
    std::vector<std::string> rows;
    int n = (int)::SendMessageA(hList, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        int len = (int)::SendMessageA(hList, LB_GETTEXTLEN, i, 0);
        std::string text(len > 0 ? (size_t)len + 1 : 1, '\0');
        ::SendMessageA(hList, LB_GETTEXT, i, (LPARAM)&text[0]);
        text.resize(strlen(text.c_str()));
        rows.push_back(text);
    }
    return rows;
}

} // namespace panetest
