#include "enumerators.h"

#include <psapi.h>

namespace {

const size_t kInitialCount = 1024;
// A list source that keeps filling every buffer would otherwise make us grow
// for ever; no system has anywhere near this many processes or modules.
const size_t kMaxCount = size_t(1) << 22;

} // namespace

// ---- processes ---------------------------------------------------------------

CProcessEnumerator::CProcessEnumerator()
{
    Fill([](DWORD* ids, DWORD bytes, DWORD* written) { return EnumProcesses(ids, bytes, written); });
}

CProcessEnumerator::CProcessEnumerator(const ProcessListSource& source)
{
    Fill(source);
}

void CProcessEnumerator::Fill(const ProcessListSource& source)
{
    for (size_t count = kInitialCount; count <= kMaxCount; count *= 2) {
        std::vector<DWORD> ids(count);
        DWORD bytes = static_cast<DWORD>(count * sizeof(DWORD));
        DWORD written = 0;
        if (!source(ids.data(), bytes, &written))
            return; // no list: nothing to search
        if (written > bytes)
            written = bytes;
        if (written < bytes) {
            ids.resize(written / sizeof(DWORD));
            m_ids.swap(ids);
            return;
        }
        // A full buffer may have cut the list short: try again with more room.
    }
}

bool CProcessEnumerator::First(DWORD& id)
{
    m_pos = 0;
    return Next(id);
}

bool CProcessEnumerator::Next(DWORD& id)
{
    if (m_pos >= m_ids.size())
        return false;
    id = m_ids[m_pos++];
    return true;
}

// ---- modules -----------------------------------------------------------------

CModuleEnumerator::CModuleEnumerator(HANDLE process) : m_process(process)
{
    if (!m_process)
        return;
    size_t count = kInitialCount;
    while (count <= kMaxCount) {
        std::vector<HMODULE> mods(count);
        DWORD bytes = static_cast<DWORD>(count * sizeof(HMODULE));
        DWORD needed = 0;
        if (!EnumProcessModules(m_process, mods.data(), bytes, &needed))
            return;
        if (needed <= bytes) {
            mods.resize(needed / sizeof(HMODULE));
            m_modules.swap(mods);
            return;
        }
        // The list is longer than the buffer: make room for all of it.
        size_t want = needed / sizeof(HMODULE) + 16;
        count = want > count * 2 ? want : count * 2;
    }
}

CModuleEnumerator::~CModuleEnumerator()
{
    if (m_process)
        CloseHandle(m_process);
}

HMODULE CModuleEnumerator::First()
{
    m_pos = 0;
    return Next();
}

HMODULE CModuleEnumerator::Next()
{
    return m_pos < m_modules.size() ? m_modules[m_pos++] : nullptr;
}

// ---- windows -----------------------------------------------------------------

CWindowEnumerator::CWindowEnumerator(size_t capacity) : m_capacity(capacity)
{
}

void CWindowEnumerator::Collect()
{
    m_windows.clear();
    m_pos = 0;
    EnumWindows(&CWindowEnumerator::EnumProc, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK CWindowEnumerator::EnumProc(HWND wnd, LPARAM param)
{
    auto* self = reinterpret_cast<CWindowEnumerator*>(param);
    if (self->m_windows.size() < self->m_capacity && self->Accept(wnd))
        self->m_windows.push_back(wnd);
    return TRUE;
}

bool CWindowEnumerator::Accept(HWND)
{
    return true;
}

HWND CWindowEnumerator::First()
{
    m_pos = 0;
    return Next();
}

HWND CWindowEnumerator::Next()
{
    return m_pos < m_windows.size() ? m_windows[m_pos++] : nullptr;
}

CProcessWindowEnumerator::CProcessWindowEnumerator(DWORD processId, const char* className, size_t capacity)
    : CWindowEnumerator(capacity), m_processId(processId), m_className(className)
{
    Collect();
}

bool CProcessWindowEnumerator::Accept(HWND wnd)
{
    if (!(GetWindowLongPtrA(wnd, GWL_STYLE) & WS_VISIBLE))
        return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != m_processId)
        return false;
    if (!m_className)
        return true;
    char cls[256] = {};
    if (!GetClassNameA(wnd, cls, sizeof(cls)))
        return false;
    return lstrcmpiA(cls, m_className) == 0;
}

// ---- the search --------------------------------------------------------------

HWND FindProcessMainWindow(const char* imageName, const char* className)
{
    CProcessEnumerator processes;
    DWORD pid = 0;
    for (bool more = processes.First(pid); more; more = processes.Next(pid)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (!process)
            continue;
        CModuleEnumerator modules(process); // closes the handle
        HMODULE image = modules.First();
        if (!image)
            continue;
        char name[MAX_PATH] = {};
        if (!GetModuleBaseNameA(process, image, name, MAX_PATH))
            continue;
        if (lstrcmpiA(name, imageName) != 0)
            continue;
        CProcessWindowEnumerator windows(pid, className, 1024);
        return windows.First();
    }
    return nullptr;
}
