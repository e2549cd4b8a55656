// Small iterator classes over the system's processes, a process's modules and
// the top-level windows, used to find the running editor.
#ifndef QMATESHELL_ENUMERATORS_H
#define QMATESHELL_ENUMERATORS_H

#include <windows.h>
#include <functional>
#include <vector>

// Fills `ids` (room for `bytes` bytes) and reports the bytes written, in the
// manner of EnumProcesses. Replaceable so the buffer growth can be exercised.
using ProcessListSource = std::function<BOOL(DWORD* ids, DWORD bytes, DWORD* written)>;

// The ids of all processes of the system, in the order the system lists them.
// The list starts with room for 1024 ids and grows while the system fills it.
// Process id 0 is a real entry (the idle process), so the iteration reports
// its end through its result, never through a 0 id.
class CProcessEnumerator {
public:
    CProcessEnumerator();
    explicit CProcessEnumerator(const ProcessListSource& source);

    bool First(DWORD& id);
    bool Next(DWORD& id);
    size_t Count() const { return m_ids.size(); }

private:
    void Fill(const ProcessListSource& source);

    std::vector<DWORD> m_ids;
    size_t m_pos = 0;
};

// The modules of one process; the first one is the program image. Owns the
// process handle and closes it on destruction.
class CModuleEnumerator {
public:
    explicit CModuleEnumerator(HANDLE process);
    ~CModuleEnumerator();
    CModuleEnumerator(const CModuleEnumerator&) = delete;
    CModuleEnumerator& operator=(const CModuleEnumerator&) = delete;

    HANDLE Process() const { return m_process; }
    HMODULE First();
    HMODULE Next();
    size_t Count() const { return m_modules.size(); }

private:
    HANDLE m_process;
    std::vector<HMODULE> m_modules;
    size_t m_pos = 0;
};

// The top-level windows that pass Accept(), in EnumWindows order (top of the
// Z order first), at most `capacity` of them: further windows are dropped
// while the enumeration runs on. Collect() fills the list; a derived class
// calls it from its own constructor so its filter takes part.
class CWindowEnumerator {
public:
    explicit CWindowEnumerator(size_t capacity);
    virtual ~CWindowEnumerator() = default;

    void Collect();
    HWND First();
    HWND Next();
    size_t Count() const { return m_windows.size(); }

protected:
    virtual bool Accept(HWND wnd);

private:
    static BOOL CALLBACK EnumProc(HWND wnd, LPARAM param);

    size_t m_capacity;
    std::vector<HWND> m_windows;
    size_t m_pos = 0;
};

// The visible top-level windows of one process whose window class is
// `className` (any class when it is null).
class CProcessWindowEnumerator : public CWindowEnumerator {
public:
    CProcessWindowEnumerator(DWORD processId, const char* className, size_t capacity);

protected:
    bool Accept(HWND wnd) override;

private:
    DWORD m_processId;
    const char* m_className;
};

// The main window of the first running process whose image name equals
// `imageName` (without regard to case): its first visible top-level window of
// class `className`, or null. The search ends at the first process of that
// name, even when it has no such window.
HWND FindProcessMainWindow(const char* imageName, const char* className);

#endif
