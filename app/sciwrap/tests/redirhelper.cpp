// redirhelper.cpp - a small console program the redirector tests run.
//   lines N     prints "line 1" .. "line N"
//   stderr      "out1" on standard output, "err1" on standard error, "out2"
//   nothing     prints nothing
//   bytes N     N bytes of 'x' without a line break
//   flood       prints until its output pipe is closed
//   stdin       reads standard input to its end, then prints "eof"
//   sleep N     waits N ms, then prints "awake" (a tool that runs on)
//   rawlf       "a" LF "b" LF in binary mode (no CR)
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    const char* mode = argc > 1 ? argv[1] : "nothing";
    int n = argc > 2 ? atoi(argv[2]) : 0;
    if (strcmp(mode, "lines") == 0) {
        for (int i = 1; i <= n; ++i)
            printf("line %d\n", i);
    } else if (strcmp(mode, "stderr") == 0) {
        fputs("out1\n", stdout);
        fflush(stdout);
        fputs("err1\n", stderr);
        fflush(stderr);
        fputs("out2\n", stdout);
    } else if (strcmp(mode, "bytes") == 0) {
        for (int i = 0; i < n; ++i)
            fputc('x', stdout);
    } else if (strcmp(mode, "flood") == 0) {
        // Straight to the handle: the C runtime reports a closed pipe as a
        // successful write of nothing, and the loop would never end.
        HANDLE h = GetStdHandle(STD_OUTPUT_HANDLE);
        char line[80];
        for (unsigned long i = 0;; ++i) {
            int n = snprintf(line, sizeof(line), "flood line %lu with some text to fill the pipe quickly\r\n", i);
            DWORD written = 0;
            if (!WriteFile(h, line, (DWORD)n, &written, NULL) || written == 0)
                break;
        }
    } else if (strcmp(mode, "rawlf") == 0) {
        _setmode(_fileno(stdout), _O_BINARY);
        fputs("a\nb\n", stdout);
    } else if (strcmp(mode, "stdin") == 0) {
        char buf[256];
        while (fgets(buf, sizeof(buf), stdin) != NULL) {
        }
        fputs("eof\n", stdout);
    } else if (strcmp(mode, "sleep") == 0) {
        Sleep((DWORD)n);
        fputs("awake\n", stdout);
    }
    fflush(stdout);
    return 0;
}
