// A small driver for end-to-end tests and benchmarks of whole programs: starts
// a program under test, finds its windows, sends it keys and commands, reads
// the text and styles of its Scintilla windows from the outside, takes
// pictures of its windows, closes it and waits for it to end.
//
// Everything here works across processes: numeric window messages go
// through SendMessageTimeout, text is read through a buffer allocated in the
// other process. Keyboard input goes through SendInput, so the window that
// receives it must be in the foreground (GUI tests hold the desktop lock).
#pragma once

#include <windows.h>
#include <psapi.h>

#include "files.h"
#include "process.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace qmtest {

// ---------------------------------------------------------------------------
// Waiting and small helpers.

// How long a message sent to the program under test may take to be answered.
// The program may be slow on a loaded machine without being hung: the
// messages wait for the answer (SMTO_NORMAL) instead of giving up on a
// program that has not fetched a message for a few seconds
// (SMTO_ABORTIFHUNG), which drops the message unsent.
constexpr UINT kAnswerMs = 30000;

// Calls pred every pollMs milliseconds until it is true or timeoutMs has
// passed; true when pred became true.
inline bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs, DWORD pollMs = 25)
{
    ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (pred())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(pollMs);
    }
}

// Seconds since an arbitrary start, with the performance counter.
inline double NowSeconds()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

inline std::string WindowClassOf(HWND hwnd)
{
    char cls[256] = "";
    GetClassNameA(hwnd, cls, sizeof(cls));
    return cls;
}

inline std::string WindowTextOf(HWND hwnd)
{
    // WM_GETTEXT across processes is marshalled by the system.
    char text[1024] = "";
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kAnswerMs,
                             &got))
        return std::string();
    return text;
}

inline std::string ReadWholeFile(const std::string& path)
{
    std::string data;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return data;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0)
        data.append(buf, got);
    CloseHandle(h);
    return data;
}

inline bool WriteWholeFile(const std::string& path, const std::string& data)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    BOOL ok = WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &put, nullptr);
    CloseHandle(h);
    return ok && put == data.size();
}

// ---------------------------------------------------------------------------
// Registry.

inline void DeleteRegistryTree(HKEY root, const char* subKey)
{
    RegDeleteTreeA(root, subKey);
    RegDeleteKeyA(root, subKey);
}

inline bool RegistryKeyExists(HKEY root, const char* subKey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Raw value: type and bytes; false when missing.
inline bool ReadRegistryValue(HKEY root, const std::string& subKey, const std::string& name, DWORD& type,
                              std::vector<BYTE>& data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        data.assign(size, 0);
        rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &size);
        data.resize(size);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

inline bool WriteRegistryString(HKEY root, const std::string& subKey, const std::string& name,
                                const std::string& value, DWORD type = REG_SZ)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

inline bool WriteRegistryDword(HKEY root, const std::string& subKey, const std::string& name, DWORD value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

// Names of the values of a key, in enumeration order.
inline std::vector<std::string> RegistryValueNames(HKEY root, const std::string& subKey)
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD len = sizeof(name);
        if (RegEnumValueA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(std::string(name, len));
    }
    RegCloseKey(key);
    return names;
}

// Deletes a key tree now and again when it goes out of scope, so a test
// starts from nothing and leaves nothing behind.
class ScopedRegistryTree {
public:
    ScopedRegistryTree(HKEY root, const char* subKey) : m_root(root), m_subKey(subKey)
    {
        DeleteRegistryTree(m_root, m_subKey.c_str());
    }
    ~ScopedRegistryTree() { DeleteRegistryTree(m_root, m_subKey.c_str()); }
    ScopedRegistryTree(const ScopedRegistryTree&) = delete;
    ScopedRegistryTree& operator=(const ScopedRegistryTree&) = delete;

private:
    HKEY m_root;
    std::string m_subKey;
};

// Points the user's local application data folder (the shell folder every
// program of this Wine prefix asks for) at another folder while it lives.
class ScopedLocalAppData {
public:
    explicit ScopedLocalAppData(const std::string& folder)
    {
        DWORD type = 0;
        std::vector<BYTE> old;
        m_had = ReadRegistryValue(HKEY_CURRENT_USER, kShellFolders, "Local AppData", type, old);
        if (m_had) {
            m_oldType = type;
            m_old.assign(reinterpret_cast<const char*>(old.data()), old.size());
            while (!m_old.empty() && m_old.back() == '\0')
                m_old.pop_back();
        }
        CreateDirectoryA(folder.c_str(), nullptr);
        WriteRegistryString(HKEY_CURRENT_USER, kShellFolders, "Local AppData", folder, REG_EXPAND_SZ);
    }
    ~ScopedLocalAppData()
    {
        if (m_had) {
            WriteRegistryString(HKEY_CURRENT_USER, kShellFolders, "Local AppData", m_old, m_oldType);
        } else {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueA(key, "Local AppData");
                RegCloseKey(key);
            }
        }
    }
    ScopedLocalAppData(const ScopedLocalAppData&) = delete;
    ScopedLocalAppData& operator=(const ScopedLocalAppData&) = delete;

    static constexpr const char* kShellFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

private:
    bool m_had = false;
    DWORD m_oldType = REG_EXPAND_SZ;
    std::string m_old;
};

// ---------------------------------------------------------------------------
// Windows of another process.

inline std::vector<HWND> TopLevelWindowsOf(DWORD pid, bool visibleOnly = true)
{
    struct Ctx {
        DWORD pid;
        bool visibleOnly;
        std::vector<HWND> found;
    } ctx{pid, visibleOnly, {}};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            Ctx* c = reinterpret_cast<Ctx*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == c->pid && (!c->visibleOnly || IsWindowVisible(h)))
                c->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

// Every descendant of parent whose class is cls (all descendants when cls is
// empty), in the order EnumChildWindows gives them.
inline std::vector<HWND> DescendantsOfClass(HWND parent, const std::string& cls, bool visibleOnly = false)
{
    struct Ctx {
        const std::string* cls;
        bool visibleOnly;
        std::vector<HWND> found;
    } ctx{&cls, visibleOnly, {}};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL {
            Ctx* c = reinterpret_cast<Ctx*>(lp);
            if ((c->cls->empty() || WindowClassOf(h) == *c->cls) && (!c->visibleOnly || IsWindowVisible(h)))
                c->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

inline HWND FirstDescendantOfClass(HWND parent, const std::string& cls, bool visibleOnly = false)
{
    std::vector<HWND> all = DescendantsOfClass(parent, cls, visibleOnly);
    return all.empty() ? nullptr : all.front();
}

// ---------------------------------------------------------------------------
// Keyboard input (the target must hold the foreground).

inline bool BringToForeground(HWND hwnd, DWORD timeoutMs = 3000)
{
    return WaitUntil(
        [&] {
            if (GetForegroundWindow() == hwnd)
                return true;
            ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
            SetForegroundWindow(hwnd);
            return GetForegroundWindow() == hwnd;
        },
        timeoutMs, 50);
}

inline INPUT KeyInput(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

// Presses the keys in order and releases them in reverse: {VK_CONTROL, 'S'}.
inline void SendChord(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> ins;
    for (WORD k : keys)
        ins.push_back(KeyInput(k, false));
    for (auto it = keys.end(); it != keys.begin();) {
        --it;
        ins.push_back(KeyInput(*it, true));
    }
    SendInput(static_cast<UINT>(ins.size()), ins.data(), sizeof(INPUT));
}

// A real right click at a point of the screen (the cursor moves there).
inline void RightClickAt(POINT ptScreen)
{
    SetCursorPos(ptScreen.x, ptScreen.y);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, click, sizeof(INPUT));
}

// A left click (two for a double click) at a point of a window's client
// area, through the real mouse; the window's top-level window should be in
// the foreground.
inline void ClickInWindow(HWND hwnd, POINT ptClient, bool bDouble = false)
{
    POINT pt = ptClient;
    ClientToScreen(hwnd, &pt);
    SetCursorPos(pt.x, pt.y);
    Sleep(50);
    INPUT ins[4] = {};
    for (INPUT& in : ins)
        in.type = INPUT_MOUSE;
    ins[0].mi.dwFlags = ins[2].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    ins[1].mi.dwFlags = ins[3].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(bDouble ? 4 : 2, ins, sizeof(INPUT));
}

// Types text as the user would: "\n" presses Enter, other characters go in
// as Unicode key strokes.
inline void TypeText(const std::wstring& text)
{
    std::vector<INPUT> ins;
    for (wchar_t ch : text) {
        if (ch == L'\n') {
            ins.push_back(KeyInput(VK_RETURN, false));
            ins.push_back(KeyInput(VK_RETURN, true));
            continue;
        }
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = ch;
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        ins.push_back(in);
        in.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        ins.push_back(in);
    }
    if (!ins.empty())
        SendInput(static_cast<UINT>(ins.size()), ins.data(), sizeof(INPUT));
}

// Reads the text on the clipboard (CF_TEXT); false when it holds none.
inline bool ClipboardText(std::string& text)
{
    text.clear();
    bool open = qmtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000, 50);
    if (!open)
        return false;
    bool got = false;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            got = true;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return got;
}

inline bool EmptyTheClipboard()
{
    if (!qmtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000, 50))
        return false;
    BOOL ok = EmptyClipboard();
    CloseClipboard();
    return ok != FALSE;
}

// ---------------------------------------------------------------------------
// A Scintilla window of another process.

// Sends a message that writes its answer to the buffer in lParam, to a
// window of another process: the buffer (cb bytes) lives in that process and
// all of it is read back (empty when the window did not answer).
inline std::string SendForBytes(HWND hwnd, UINT msg, WPARAM wp, SIZE_T cb, UINT timeoutMs = kAnswerMs)
{
    std::string text;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!proc)
        return text;
    void* remote = VirtualAllocEx(proc, nullptr, cb, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote) {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(hwnd, msg, wp, reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, timeoutMs, &result)) {
            text.resize(cb);
            SIZE_T got = 0;
            if (ReadProcessMemory(proc, remote, &text[0], cb, &got))
                text.resize(got);
            else
                text.clear();
        }
        VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
    }
    CloseHandle(proc);
    return text;
}

// The same for a text answer: up to the first NUL.
inline std::string SendForText(HWND hwnd, UINT msg, WPARAM wp, SIZE_T cb, UINT timeoutMs = kAnswerMs)
{
    std::string text = SendForBytes(hwnd, msg, wp, cb, timeoutMs);
    return text.substr(0, strnlen(text.data(), text.size()));
}

class RemoteScintilla {
public:
    // Message numbers of the editing component used here.
    enum : UINT {
        kGetLength = 2006,
        kGetCharAt = 2007,
        kGetStyleAt = 2010,
        kGetText = 2182,
        kGetReadOnly = 2140,
        kGetModify = 2159,
        kGetDocPointer = 2357,
        kGetLexer = 4002,
        kGetLexerLanguage = 4012,
        kGetEolMode = 2030,
        kGetCodePage = 2137,
        kGetCurrentPos = 2008,
        kDocumentEnd = 2318,
    };

    explicit RemoteScintilla(HWND hwnd = nullptr) : m_hwnd(hwnd) {}
    HWND Handle() const { return m_hwnd; }
    explicit operator bool() const { return m_hwnd != nullptr && IsWindow(m_hwnd); }

    // The answer of a numeric message; -1 when the window does not answer.
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0, UINT timeoutMs = kAnswerMs) const
    {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(m_hwnd, msg, wp, lp, SMTO_NORMAL, timeoutMs, &result))
            return -1;
        return static_cast<LRESULT>(result);
    }

    // Paints now what waits to be painted, as the screen would show it a
    // moment later (UpdateWindow sends the paint to the window's thread and
    // returns when it is done). The component reports a moved caret to its
    // parent when it paints. False when the window is gone.
    bool PaintNow() const { return IsWindow(m_hwnd) && UpdateWindow(m_hwnd) != FALSE; }

    LRESULT Length() const { return Send(kGetLength); }
    int StyleAt(LRESULT pos) const { return static_cast<int>(Send(kGetStyleAt, static_cast<WPARAM>(pos))); }
    bool ReadOnly() const { return Send(kGetReadOnly) == 1; }
    bool Modified() const { return Send(kGetModify) == 1; }
    LRESULT DocPointer() const { return Send(kGetDocPointer); }

    // The whole text, read through a buffer in the window's process.
    std::string Text() const
    {
        LRESULT len = Length();
        if (len < 0)
            return std::string();
        SIZE_T size = static_cast<SIZE_T>(len) + 1;
        std::string text = SendForBytes(m_hwnd, kGetText, size, size, 30000);
        text.resize(text.empty() ? 0 : text.size() - 1);
        return text;
    }

    // The face of a style (SCI_STYLEGETFONT).
    std::string StyleFont(int style) const { return SendForText(m_hwnd, 2486, static_cast<WPARAM>(style), 256); }

    // The name of the lexer that colours the text ("" when it has none).
    std::string LexerLanguage() const
    {
        LRESULT len = Send(kGetLexerLanguage);
        if (len <= 0)
            return std::string();
        return SendForText(m_hwnd, kGetLexerLanguage, 0, static_cast<SIZE_T>(len) + 1, 30000);
    }

private:
    HWND m_hwnd;
};

// Gives the keyboard focus to an editing window of another program: its main
// window in front, then a click into the window's text, right of the margins
// (a click into a margin selects a line). The click is sent, not posted, so
// it is over before the caller moves the caret. False when the focus did
// not arrive.
inline bool FocusEditingWindow(HWND main, const RemoteScintilla& ed)
{
    if (!BringToForeground(main))
        return false;
    LRESULT x = 4;
    for (WPARAM m = 0; m < 5; ++m)
        x += std::max<LRESULT>(0, ed.Send(2243, m)); // SCI_GETMARGINWIDTHN
    LPARAM at = MAKELPARAM(static_cast<int>(x), 5);
    ed.Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
    ed.Send(WM_LBUTTONUP, 0, at);
    return WaitUntil(
        [&] {
            GUITHREADINFO gti = {};
            gti.cbSize = sizeof(gti);
            DWORD tid = GetWindowThreadProcessId(ed.Handle(), nullptr);
            return GetGUIThreadInfo(tid, &gti) && gti.hwndFocus == ed.Handle();
        },
        5000);
}

// ---------------------------------------------------------------------------
// A program under test.

struct MemoryPeak {
    SIZE_T peakWorkingSet = 0;
    SIZE_T peakPagefile = 0;
};

class ProgramUnderTest {
public:
    ProgramUnderTest() = default;
    ~ProgramUnderTest() { Kill(); }
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // Starts "exe" args in the given working folder (none: the caller's).
    bool Start(const std::string& exe, const std::string& args = std::string(),
               const std::string& workDir = std::string())
    {
        Kill();
        std::string cmd = "\"" + exe + "\"";
        if (!args.empty())
            cmd += " " + args;
        std::vector<char> buf(cmd.begin(), cmd.end());
        buf.push_back('\0');
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        m_started = NowSeconds();
        BOOL ok = StartProcess(exe.c_str(), buf.data(), FALSE, 0, workDir.empty() ? nullptr : workDir.c_str(), &si, &pi);
        if (!ok)
            return false;
        CloseHandle(pi.hThread);
        m_process = pi.hProcess;
        m_pid = pi.dwProcessId;
        m_main = nullptr;
        return true;
    }

    bool Running() const { return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT; }
    DWORD Pid() const { return m_pid; }
    HANDLE Process() const { return m_process; }
    double StartedAt() const { return m_started; }

    // The first visible top-level window of the process whose class is cls;
    // waits up to timeoutMs for it. Remembered as the main window.
    HWND WaitForMainWindow(const std::string& cls, DWORD timeoutMs = 30000)
    {
        WaitUntil(
            [&] {
                for (HWND h : TopLevelWindowsOf(m_pid))
                    if (WindowClassOf(h) == cls) {
                        m_main = h;
                        return true;
                    }
                return !Running();
            },
            timeoutMs);
        return m_main;
    }
    HWND MainWindow() const { return m_main; }

    // A visible top-level window of the process other than the main one
    // (a dialog, message box or popup menu; never a tooltip), optionally of
    // class cls.
    HWND FindOtherWindow(const std::string& cls = std::string()) const
    {
        for (HWND h : TopLevelWindowsOf(m_pid)) {
            std::string c = WindowClassOf(h);
            if (h != m_main && c != "tooltips_class32" && (cls.empty() || c == cls))
                return h;
        }
        return nullptr;
    }

    bool WaitForInputIdle(DWORD timeoutMs = 30000) const
    {
        return m_process && ::WaitForInputIdle(m_process, timeoutMs) == 0;
    }

    // Waits until the process has ended; true when it did.
    bool WaitForExit(DWORD timeoutMs = 30000) const
    {
        return !m_process || WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
    }

    // Asks the main window to close and waits; true when the process ended.
    bool Close(DWORD timeoutMs = 30000)
    {
        if (!Running())
            return true;
        HWND target = m_main;
        if (!target || !IsWindow(target)) {
            std::vector<HWND> tops = TopLevelWindowsOf(m_pid);
            target = tops.empty() ? nullptr : tops.front();
        }
        if (target)
            PostMessageA(target, WM_CLOSE, 0, 0);
        return WaitForExit(timeoutMs);
    }

    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        if (m_process)
            GetExitCodeProcess(m_process, &code);
        return code;
    }

    // The file names of the modules loaded in the process, in lower case
    // ("qmate.exe", "scilexer.dll" ...); empty when they cannot be read.
    std::vector<std::string> ModuleNames() const
    {
        std::vector<std::string> names;
        std::vector<HMODULE> modules(256);
        DWORD cbNeeded = 0;
        if (!m_process)
            return names;
        while (EnumProcessModulesEx(m_process, modules.data(), (DWORD)(modules.size() * sizeof(HMODULE)), &cbNeeded,
                                    LIST_MODULES_ALL) &&
               cbNeeded > modules.size() * sizeof(HMODULE))
            modules.resize(cbNeeded / sizeof(HMODULE));
        modules.resize(std::min<size_t>(modules.size(), cbNeeded / sizeof(HMODULE)));
        for (HMODULE h : modules) {
            char name[MAX_PATH] = "";
            if (GetModuleBaseNameA(m_process, h, name, MAX_PATH) > 0) {
                std::string lower(name);
                for (char& c : lower)
                    c = (char)tolower((unsigned char)c);
                names.push_back(lower);
            }
        }
        return names;
    }
    bool HasModule(const std::string& lowerName) const
    {
        std::vector<std::string> names = ModuleNames();
        return std::find(names.begin(), names.end(), lowerName) != names.end();
    }

    MemoryPeak PeakMemory() const
    {
        MemoryPeak peak;
        PROCESS_MEMORY_COUNTERS pmc = {};
        pmc.cb = sizeof(pmc);
        if (m_process && GetProcessMemoryInfo(m_process, &pmc, sizeof(pmc))) {
            peak.peakWorkingSet = pmc.PeakWorkingSetSize;
            peak.peakPagefile = pmc.PeakPagefileUsage;
        }
        return peak;
    }

    // Ends the process at once (left-over programs of a failed test).
    void Kill()
    {
        if (!m_process)
            return;
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, 10000);
        }
        CloseHandle(m_process);
        m_process = nullptr;
        m_pid = 0;
        m_main = nullptr;
    }

private:
    HANDLE m_process = nullptr;
    DWORD m_pid = 0;
    HWND m_main = nullptr;
    double m_started = 0;
};

// ---------------------------------------------------------------------------
// Pictures: the screen area of a window as 8-bit RGB rows, top row first.

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<BYTE> rgb; // width * height * 3
};

// What the display shows in a screen rectangle.
inline Picture CaptureScreenRect(const RECT& r)
{
    Picture pic;
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return pic;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp && bits) {
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        pic.width = w;
        pic.height = h;
        pic.rgb.resize(static_cast<size_t>(w) * h * 3);
        const BYTE* src = static_cast<const BYTE*>(bits);
        for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i) {
            pic.rgb[i * 3 + 0] = src[i * 4 + 2];
            pic.rgb[i * 3 + 1] = src[i * 4 + 1];
            pic.rgb[i * 3 + 2] = src[i * 4 + 0];
        }
        SelectObject(mem, old);
    }
    if (bmp)
        DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return pic;
}

inline Picture CaptureWindow(HWND hwnd)
{
    RECT r;
    if (!GetWindowRect(hwnd, &r))
        return Picture();
    return CaptureScreenRect(r);
}

// Number of distinct colours of a picture (up to limit): a blank or
// unpainted window has very few.
inline size_t DistinctColours(const Picture& pic, size_t limit = 64)
{
    std::vector<uint32_t> seen;
    for (size_t i = 0; i + 2 < pic.rgb.size(); i += 3) {
        uint32_t c = (uint32_t(pic.rgb[i]) << 16) | (uint32_t(pic.rgb[i + 1]) << 8) | pic.rgb[i + 2];
        bool known = false;
        for (uint32_t s : seen)
            if (s == c) {
                known = true;
                break;
            }
        if (!known) {
            seen.push_back(c);
            if (seen.size() >= limit)
                break;
        }
    }
    return seen.size();
}

} // namespace qmtest
