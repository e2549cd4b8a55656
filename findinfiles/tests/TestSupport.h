// Helpers of the find-in-files tests: a sink that records every callback,
// temporary folder trees, files in any encoding.
#ifndef QUILLMATE_FINDINFILES_TESTSUPPORT_H
#define QUILLMATE_FINDINFILES_TESTSUPPORT_H

#include "FindInFiles.h"

#include <windows.h>

#include <qmtest/files.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace fiftest {

// Call records, in a form that reads well in a failed comparison.
inline std::wstring Msg(const std::wstring& text) { return L"M|" + text; }
inline std::wstring Hit(const std::wstring& path, int line, int pos, const std::wstring& text)
{
    return L"H|" + path + L"|" + std::to_wstring(line) + L"|" + std::to_wstring(pos) + L"|" + text;
}
inline std::wstring Fin() { return L"F"; }

// Records every call of a search.  Hooks run on the worker thread.
class RecordingSink : public CCallBackClass {
public:
    RecordingSink() : m_finished(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~RecordingSink() { CloseHandle(m_finished); }

    void OnMessage(const wchar_t* text) override
    {
        Record(Msg(text ? text : L"<null>"));
        if (onMessage)
            onMessage(text);
    }
    void OnMatch(const wchar_t* path, int reserved, int line, int position, const wchar_t* lineText) override
    {
        Record(Hit(path, line, position, lineText));
        if (onMatch)
            onMatch(path, line, position, lineText);
    }
    void OnFinished() override
    {
        Record(Fin());
        if (onFinished)
            onFinished();
        SetEvent(m_finished);
    }

    // Waits for OnFinished; false on time-out.
    bool Wait(DWORD ms = 60000) { return WaitForSingleObject(m_finished, ms) == WAIT_OBJECT_0; }
    void Reset()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.clear();
        m_threads.clear();
        ResetEvent(m_finished);
    }
    std::vector<std::wstring> Calls()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    std::vector<DWORD> Threads()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_threads;
    }
    // Only the match records.
    std::vector<std::wstring> Hits()
    {
        std::vector<std::wstring> r;
        for (const std::wstring& c : Calls())
            if (c.compare(0, 2, L"H|") == 0)
                r.push_back(c);
        return r;
    }

    std::function<void(const wchar_t*)> onMessage;
    std::function<void(const wchar_t*, int, int, const wchar_t*)> onMatch;
    std::function<void()> onFinished;

private:
    void Record(const std::wstring& call)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back(call);
        m_threads.push_back(GetCurrentThreadId());
    }

    std::mutex m_mutex;
    std::vector<std::wstring> m_calls;
    std::vector<DWORD> m_threads;
    HANDLE m_finished;
};

// Writes a file below a temporary folder (parents created); returns its full path.
std::wstring TreeFile(const qmtest::TempDir& tree, const std::wstring& rel, const std::string& bytes);
// Creates a folder (and its parents) below a temporary folder.
std::wstring TreeFolder(const qmtest::TempDir& tree, const std::wstring& rel);

// Long-path form of a full path, for the system calls of the tests.
std::wstring Long(const std::wstring& path);
bool MakeFolders(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// Text in a given encoding (with or without its byte-order mark).
std::string Utf8(const std::wstring& text);
std::string Ansi(const std::wstring& text); // the system's legacy ANSI code page
std::string Utf16Le(const std::wstring& text);
std::string Utf16Be(const std::wstring& text);
std::string Utf32Le(const std::wstring& text);
std::string Utf32Be(const std::wstring& text);
std::string Utf7(const std::wstring& text);

// The summary line of a search.
std::wstring Summary(long long found, long long files, long long entries);

// Runs a search to its end and returns the calls; fails the test on a hang.
std::vector<std::wstring> RunSearch(const std::wstring& text, const std::wstring& masks, const std::wstring& folder,
                                    int subFolders, int caseSensitive, int wholeWords, int regex);

} // namespace fiftest

#endif
