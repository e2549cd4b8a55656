// Running a console program from a test: its exit code and everything it
// wrote to standard output and standard error.
#pragma once

#include <windows.h>

#include <string>

namespace qmtest {

// CreateProcessA for tests. Under a heavily loaded machine Wine's loader now
// and then fails a start with ERROR_INTERNAL_ERROR before the program runs a
// single instruction; that start is tried again (three times, 200 ms apart).
// Any other failure is returned at once for the caller to report.
inline BOOL StartProcess(const char* application, char* commandLine, BOOL inheritHandles, DWORD flags,
                         const char* workDir, STARTUPINFOA* si, PROCESS_INFORMATION* pi)
{
    BOOL ok = FALSE;
    for (int attempt = 0; attempt < 3; ++attempt) {
        ok = CreateProcessA(application, commandLine, nullptr, nullptr, inheritHandles, flags, nullptr, workDir, si,
                            pi);
        if (ok || GetLastError() != ERROR_INTERNAL_ERROR)
            break;
        Sleep(200);
    }
    return ok;
}

struct ProcessResult {
    bool started = false;
    bool finished = false;
    DWORD exitCode = 0;
    std::string output; // standard output and standard error
};

// Runs a command line and waits for it (at most timeoutMs, then it is
// ended), collecting its output.
inline ProcessResult RunProcess(const std::string& commandLine, DWORD timeoutMs = 120000,
                                const std::string& workDir = std::string())
{
    ProcessResult result;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE readPipe = nullptr, writePipe = nullptr;
    if (!CreatePipe(&readPipe, &writePipe, &sa, 0))
        return result;
    SetHandleInformation(readPipe, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writePipe;
    si.hStdError = writePipe;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    std::string cmd = commandLine;
    BOOL ok = StartProcess(nullptr, &cmd[0], TRUE, CREATE_NO_WINDOW, workDir.empty() ? nullptr : workDir.c_str(), &si,
                           &pi);
    CloseHandle(writePipe);
    if (!ok) {
        CloseHandle(readPipe);
        return result;
    }
    result.started = true;
    // Read on a thread so a chatty child never blocks on a full pipe.
    struct Reader {
        HANDLE pipe;
        std::string* out;
        static DWORD WINAPI Run(LPVOID p)
        {
            auto* self = static_cast<Reader*>(p);
            char buf[4096];
            DWORD n = 0;
            while (ReadFile(self->pipe, buf, sizeof(buf), &n, nullptr) && n > 0)
                self->out->append(buf, n);
            return 0;
        }
    } reader{readPipe, &result.output};
    HANDLE thread = CreateThread(nullptr, 0, &Reader::Run, &reader, 0, nullptr);
    result.finished = WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!result.finished)
        TerminateProcess(pi.hProcess, 1);
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
    // Grandchildren may hold the pipe open: stop reading after a short while.
    if (WaitForSingleObject(thread, 5000) != WAIT_OBJECT_0) {
        CancelSynchronousIo(thread);
        WaitForSingleObject(thread, 2000);
    }
    CloseHandle(thread);
    CloseHandle(readPipe);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

} // namespace qmtest
