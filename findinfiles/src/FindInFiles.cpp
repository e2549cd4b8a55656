#include "FindInFiles.h"

#include "LineSearchers.h"
#include "SearchFile.h"
#include "WildCmp.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace filescan;

// ---------------------------------------------------------------------------
// CCallBackClass

CCallBackClass::CCallBackClass() {}
CCallBackClass::CCallBackClass(const CCallBackClass&) {}
CCallBackClass::~CCallBackClass() {}
CCallBackClass& CCallBackClass::operator=(const CCallBackClass&)
{
    return *this;
}

// ---------------------------------------------------------------------------
// Paths

namespace {

const wchar_t LongPrefix[] = L"\\\\?\\";
const wchar_t LongUncPrefix[] = L"\\\\?\\UNC\\";

bool StartsWith(const std::wstring& s, const wchar_t* prefix)
{
    return s.compare(0, wcslen(prefix), prefix) == 0;
}

// The absolute form of a folder as the user would write it, and the form
// handed to the system, which lifts the MAX_PATH limit ("\\?\C:\..." or
// "\\?\UNC\server\share\...").  False when the folder cannot be resolved.
bool ResolveFolder(const wchar_t* folder, std::wstring& shown, std::wstring& os)
{
    std::wstring in = folder ? folder : L"";
    if (in.empty())
        return false;
    if (StartsWith(in, LongPrefix)) {
        os = in;
        if (StartsWith(in, LongUncPrefix))
            shown = L"\\\\" + in.substr(wcslen(LongUncPrefix));
        else
            shown = in.substr(wcslen(LongPrefix));
        return true;
    }
    DWORD need = GetFullPathNameW(in.c_str(), 0, nullptr, nullptr);
    if (need == 0)
        return false;
    std::vector<wchar_t> buf(need + 1);
    DWORD got = GetFullPathNameW(in.c_str(), static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    if (got == 0 || got >= buf.size())
        return false;
    shown.assign(buf.data(), got);
    if (StartsWith(shown, L"\\\\.\\"))
        os = shown; // device namespace: leave alone
    else if (StartsWith(shown, L"\\\\"))
        os = LongUncPrefix + shown.substr(2);
    else
        os = LongPrefix + shown;
    return true;
}

std::wstring ShownPath(const std::wstring& os)
{
    if (StartsWith(os, LongUncPrefix))
        return L"\\\\" + os.substr(wcslen(LongUncPrefix));
    if (StartsWith(os, LongPrefix))
        return os.substr(wcslen(LongPrefix));
    return os;
}

std::wstring Join(const std::wstring& folder, const wchar_t* name)
{
    std::wstring r = folder;
    if (r.empty() || r.back() != L'\\')
        r += L'\\';
    r += name;
    return r;
}

wchar_t* CopyText(const wchar_t* text)
{
    // Buffers of 4096 characters, zero filled, as the texts are limited to 4095.
    wchar_t* buf = new wchar_t[CFindInFiles::MaxArgumentLength + 1]();
    if (text)
        wcsncpy(buf, text, CFindInFiles::MaxArgumentLength);
    return buf;
}

size_t BoundedLength(const wchar_t* s, size_t limit)
{
    size_t n = 0;
    while (n <= limit && s[n])
        ++n;
    return n;
}

thread_local const CFindInFiles* t_workerOf = nullptr; // object whose worker runs on this thread
thread_local unsigned t_workerGeneration = 0;

} // namespace

// State of one running search, owned by the worker.
struct CFindInFilesRun {
    std::wstring shownRoot;
    std::wstring osRoot;
    std::unique_ptr<CLineSearcher> searcher;
    CSearchFile file;
};

// ---------------------------------------------------------------------------
// CFindInFiles

CFindInFiles::CFindInFiles()
    : m_stop(0), m_thread(nullptr), m_subFolders(0), m_caseSensitive(0), m_wholeWords(0), m_regularExpressions(0),
      m_searchText(nullptr), m_fileMasks(nullptr), m_startFolder(nullptr), m_filesSearched(0), m_matches(0),
      m_entriesSeen(0), m_callback(nullptr), m_run(nullptr), m_running(0), m_generation(0)
{
}

CFindInFiles::~CFindInFiles()
{
    if (m_running) {
        // The worker still reads this object; all that can be done is to ask
        // it to stop.  The owner must not destroy a searching object.
        m_stop = 1;
        return;
    }
    Cleanup();
}

CFindInFiles::CFindInFiles(const CFindInFiles& other)
    : m_stop(0), m_thread(nullptr), m_subFolders(0), m_caseSensitive(0), m_wholeWords(0), m_regularExpressions(0),
      m_searchText(nullptr), m_fileMasks(nullptr), m_startFolder(nullptr), m_filesSearched(0), m_matches(0),
      m_entriesSeen(0), m_callback(nullptr), m_run(nullptr), m_running(0), m_generation(0)
{
    CopyFrom(other);
}

CFindInFiles& CFindInFiles::operator=(const CFindInFiles& other)
{
    if (this != &other && !m_running) {
        Cleanup();
        CopyFrom(other);
    }
    return *this;
}

void CFindInFiles::CopyFrom(const CFindInFiles& other)
{
    m_stop = other.m_stop.load();
    m_subFolders = other.m_subFolders;
    m_caseSensitive = other.m_caseSensitive;
    m_wholeWords = other.m_wholeWords;
    m_regularExpressions = other.m_regularExpressions;
    m_searchText = other.m_searchText ? CopyText(other.m_searchText) : nullptr;
    m_fileMasks = other.m_fileMasks ? CopyText(other.m_fileMasks) : nullptr;
    m_startFolder = other.m_startFolder ? CopyText(other.m_startFolder) : nullptr;
    m_filesSearched = other.m_filesSearched;
    m_matches = other.m_matches;
    m_entriesSeen = other.m_entriesSeen;
    m_callback = other.m_callback;
}

void CFindInFiles::Initialise()
{
    m_stop = 0;
    m_filesSearched = 0;
    m_matches = 0;
    m_entriesSeen = 0;
    Cleanup();
}

int CFindInFiles::Find(const wchar_t* searchText, const wchar_t* fileMasks, const wchar_t* folder, int subFolders,
                       int caseSensitive, int wholeWords, int regularExpressions, CCallBackClass* callback)
{
    if (!searchText || !fileMasks || !folder || !callback)
        return 0;
    const size_t limit = MaxArgumentLength;
    if (BoundedLength(searchText, limit) > limit || BoundedLength(fileMasks, limit) > limit ||
        BoundedLength(folder, limit) > limit)
        return 0;
    if (!*searchText)
        return 0; // nothing to look for
    if (m_running)
        return 0; // the worker still uses the buffers

    m_stop = 0;
    m_filesSearched = 0;
    m_matches = 0;
    m_entriesSeen = 0;
    Cleanup();

    m_searchText = CopyText(searchText);
    m_fileMasks = CopyText(fileMasks);
    m_startFolder = CopyText(folder);
    m_subFolders = subFolders;
    m_caseSensitive = caseSensitive;
    m_wholeWords = wholeWords;
    m_regularExpressions = regularExpressions;
    m_callback = callback;

    ++m_generation;
    m_running = 1;
    // Suspended until the handle is stored, so that a quick worker calling
    // Cleanup from OnFinished finds it.
    HANDLE thread = CreateThread(nullptr, 0, &CFindInFiles::FindInFilesThread, this, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        m_running = 0;
        return 0;
    }
    m_thread = thread;
    ResumeThread(thread);
    return 1;
}

void CFindInFiles::StopSearch()
{
    m_stop = 1;
}

void CFindInFiles::Cleanup()
{
    if (t_workerOf == this && t_workerGeneration != m_generation.load())
        return; // a finished worker of an earlier search: the current one is not its business
    if (m_running)
        return; // the worker still reads the texts (also when asked from inside a callback)
    if (m_thread) {
        CloseHandle(static_cast<HANDLE>(m_thread));
        m_thread = nullptr;
    }
    delete[] m_searchText;
    m_searchText = nullptr;
    delete[] m_startFolder;
    m_startFolder = nullptr;
    delete[] m_fileMasks;
    m_fileMasks = nullptr;
}

unsigned long __stdcall CFindInFiles::FindInFilesThread(void* param)
{
    CFindInFiles* self = static_cast<CFindInFiles*>(param);
    CCallBackClass* callback = self->m_callback;
    t_workerOf = self;
    t_workerGeneration = self->m_generation.load();

    try {
        std::wstring header = L"Find all \"";
        header += self->m_searchText;
        header += L"\", ";
        header += self->m_caseSensitive ? L"Case sensitive " : L"";
        header += self->m_subFolders ? L"Subfolders " : L"";
        header += self->m_regularExpressions ? L"Regular Expressions " : L"";
        header += self->m_wholeWords ? L"Whole words" : L"";
        header += L" \"";
        header += self->m_fileMasks;
        header += L"\"";
        callback->OnMessage(header.c_str());

        CFindInFilesRun run;
        self->m_run = &run;
        const int textLength = static_cast<int>(wcslen(self->m_searchText));
        const wchar_t* compileError = nullptr;
        if (self->m_regularExpressions) {
            std::unique_ptr<CRegexSearcher> regex(new CRegexSearcher(callback, self->m_caseSensitive));
            compileError = regex->Compile(self->m_searchText, textLength);
            run.searcher = std::move(regex);
        } else {
            std::unique_ptr<CTextSearcher> text(
                new CTextSearcher(callback, self->m_caseSensitive, self->m_wholeWords));
            text->Prepare(self->m_searchText, textLength);
            run.searcher = std::move(text);
        }
        run.searcher->SetStopFlag(&self->m_stop);

        DWORD attributes = INVALID_FILE_ATTRIBUTES;
        if (ResolveFolder(self->m_startFolder, run.shownRoot, run.osRoot))
            attributes = GetFileAttributesW(run.osRoot.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            const std::wstring text = std::wstring(L"Error: Could not open folder: ") +
                                      (run.shownRoot.empty() ? std::wstring(self->m_startFolder) : run.shownRoot) +
                                      L"\r\n";
            callback->OnMessage(text.c_str());
        } else if (compileError) {
            // The pattern is the same for every file: say so once.
            MessageBoxW(nullptr, compileError, L"", MB_OK | MB_SETFOREGROUND);
        } else {
            self->IterateFileExtensions();
        }
        self->m_run = nullptr;
    } catch (...) {
        self->m_run = nullptr;
        try {
            callback->OnMessage(L"An error was encountered and the search has been stopped");
        } catch (...) {
        }
    }

    try {
        wchar_t summary[160];
        swprintf(summary, sizeof(summary) / sizeof(summary[0]),
                 L"Total found: %lld Matching files: %lld Total Files searched: %lld", self->m_matches,
                 self->m_filesSearched, self->m_entriesSeen);
        callback->OnMessage(summary);
    } catch (...) {
    }
    // From here on the object belongs to the owner again: OnFinished may
    // call Cleanup, start the next search or let the object go.
    self->m_running = 0;
    try {
        callback->OnFinished();
    } catch (...) {
    }
    return 0;
}

int CFindInFiles::IterateFileExtensions()
{
    const wchar_t* p = m_fileMasks;
    std::wstring mask;
    while (*p) {
        const wchar_t* q = p;
        while (*q && *q != L';')
            ++q;
        mask.assign(p, static_cast<size_t>(q - p));
        p = *q ? q + 1 : q;
        if (mask.empty())
            continue;
        if (m_stop)
            return 0;
        if (IterateFiles(mask.c_str(), m_run->osRoot.c_str()) == -1)
            return -1;
    }
    return 0;
}

int CFindInFiles::IterateFiles(const wchar_t* mask, const wchar_t* folder)
{
    // Depth first, in enumeration order, with one open enumeration per level;
    // an explicit stack keeps deep trees off the thread's stack.
    struct Level {
        HANDLE find;
        std::wstring path;
    };
    std::vector<Level> stack;
    struct Closer {
        std::vector<Level>& levels;
        ~Closer()
        {
            for (Level& l : levels)
                FindClose(l.find);
        }
    } closer{stack};

    WIN32_FIND_DATAW data;
    auto open = [&](const std::wstring& path) -> bool {
        const std::wstring pattern = Join(path, L"*");
        HANDLE h = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD err = GetLastError();
            if (err != ERROR_FILE_NOT_FOUND && err != ERROR_NO_MORE_FILES) {
                const std::wstring text = L"Error: Could not open folder: " + ShownPath(path) + L"\r\n";
                m_callback->OnMessage(text.c_str());
            }
            return false;
        }
        stack.push_back(Level{h, path});
        return true;
    };

    if (!open(folder))
        return 0;
    for (;;) {
        ++m_entriesSeen;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        bool descended = false;
        if (isFolder) {
            // Dot folders (".", "..", ".git" ...) are never entered, nor links
            // and junctions, which could lead back up the tree.
            if (m_subFolders && data.cFileName[0] != L'.' && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                descended = open(Join(stack.back().path, data.cFileName));
        } else if (WildCmp(mask, data.cFileName)) {
            const long long size =
                static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
            int answer = IDYES;
            if (size > LargeFileSize) {
                std::wstring name = data.cFileName;
                const size_t dot = name.rfind(L'.');
                if (dot != std::wstring::npos && dot > 0)
                    name.erase(dot);
                wchar_t sizeText[32];
                swprintf(sizeText, 32, L"%lld", size);
                const std::wstring text = std::wstring(L"File size is ") + sizeText + L" bytes for file: " + name +
                                          L"   .\r\nDo you want to search the file?";
                answer = MessageBoxW(nullptr, text.c_str(), nullptr, MB_YESNOCANCEL | MB_SETFOREGROUND);
            }
            if (answer == IDCANCEL)
                return -1;
            if (answer == IDYES)
                ProcessFile(Join(stack.back().path, data.cFileName).c_str());
        }
        if (m_stop)
            return 0;
        if (descended)
            continue; // data holds the first entry of the new level
        // Next entry, climbing up as levels run out.
        while (!stack.empty() && !FindNextFileW(stack.back().find, &data)) {
            FindClose(stack.back().find);
            stack.pop_back();
        }
        if (stack.empty())
            return 0;
    }
}

void CFindInFiles::ProcessFile(const wchar_t* path)
{
    if (m_stop || !m_run || !m_run->searcher)
        return;
    const std::wstring shown = ShownPath(path);
    m_run->file.Search(path, shown.c_str(), *m_run->searcher, m_callback);
    m_matches += m_run->searcher->MatchCount();
    ++m_filesSearched;
}

int CFindInFiles::WildCmp(const wchar_t* mask, const wchar_t* name)
{
    return WildMatch(mask, name);
}
