// Find-in-files engine of Quillmate ("filescan.dll").
//
// CFindInFiles searches a folder (optionally with all folders below it) for a
// text or a regular expression in every file whose name matches one of a list
// of wildcard masks.  The search runs on a worker thread of its own; results
// come back through a CCallBackClass sink, always called on that worker thread.
//
// All strings are wide (UTF-16) and NUL-terminated.
#ifndef QUILLMATE_FINDINFILES_H
#define QUILLMATE_FINDINFILES_H

#include <atomic>

#if defined(FILESCAN_EXPORTS)
#define FILESCAN_API __declspec(dllexport)
#else
#define FILESCAN_API __declspec(dllimport)
#endif

// Report interface of a search.  The order of the three operations is part of
// the binary interface between the library and its callers.
class FILESCAN_API CCallBackClass {
public:
    CCallBackClass();
    CCallBackClass(const CCallBackClass& other);
    ~CCallBackClass(); // not virtual: sinks are never deleted through this type
    CCallBackClass& operator=(const CCallBackClass& other);

    // One line for the results output: the search header, a file header line,
    // an error line or the summary.
    virtual void OnMessage(const wchar_t* text) = 0;

    // One match.  line counts from 1, position (in characters) from 0; the
    // line text is the decoded line as read, including its line end (for a
    // line longer than 65536 characters, the piece of it holding the match;
    // the position still counts from the start of the line).  The reserved
    // argument carries no meaning.
    virtual void OnMatch(const wchar_t* path, int reserved, int line, int position,
                         const wchar_t* lineText) = 0;

    // The search is over; this is the worker's last call and the sink may
    // call CFindInFiles::Cleanup from inside it.
    virtual void OnFinished() = 0;
};

struct CFindInFilesRun; // private state of one running search

class FILESCAN_API CFindInFiles {
public:
    enum {
        // Longest search text, mask list or folder that Find accepts, in characters.
        MaxArgumentLength = 4095,
        // Files larger than this many bytes are searched only after the user agrees.
        LargeFileSize = 5024000
    };

    CFindInFiles();
    // Does not wait for a running worker: the owner must keep the object alive
    // until OnFinished.  Frees the buffers when no worker is running.
    ~CFindInFiles();
    // Copies the settings, texts and counters; the copy has no worker.
    CFindInFiles(const CFindInFiles& other);
    CFindInFiles& operator=(const CFindInFiles& other);

    // Clears the stop flag and the counters, then calls Cleanup.
    void Initialise();

    // Starts a search on a new worker thread.  Returns 1 when the worker was
    // started (OnFinished will then always come), 0 when the request was
    // refused without any callback: an empty search text, a text, mask list
    // or folder longer than MaxArgumentLength characters, no callback, a
    // worker of this object still running, or no thread could be created.
    int Find(const wchar_t* searchText, const wchar_t* fileMasks, const wchar_t* folder,
             int subFolders, int caseSensitive, int wholeWords, int regularExpressions,
             CCallBackClass* callback);

    // Asks the worker to stop; it leaves the file (and the line) it is
    // searching and reports the summary.
    void StopSearch();

    // Closes the thread handle and frees the copies of the texts.  Called by
    // the owner after OnFinished (typically from inside it); does nothing
    // while the worker is still searching.
    void Cleanup();

    // Worker thread procedure; the parameter is the CFindInFiles.
    static unsigned long __stdcall FindInFilesThread(void* param);

private:
    int IterateFileExtensions();
    int IterateFiles(const wchar_t* mask, const wchar_t* folder);
    void ProcessFile(const wchar_t* path);
    static int WildCmp(const wchar_t* mask, const wchar_t* name);
    void CopyFrom(const CFindInFiles& other);

    std::atomic<int> m_stop;
    void* m_thread; // HANDLE of the current worker, or null
    int m_subFolders;
    int m_caseSensitive;
    int m_wholeWords;
    int m_regularExpressions;
    wchar_t* m_searchText;
    wchar_t* m_fileMasks;
    wchar_t* m_startFolder;
    long long m_filesSearched;
    long long m_matches;
    long long m_entriesSeen;
    CCallBackClass* m_callback;
    CFindInFilesRun* m_run;             // valid only on the worker, during a search
    std::atomic<int> m_running;         // 1 from Find until just before OnFinished
    std::atomic<unsigned> m_generation; // counts searches; tells old workers apart
};

#endif
