// The system's character data for the engine's tables.
#include "CharTables.h"

#include <windows.h>

namespace filescan {

void PlatformCharacters(uint16_t first, int count, uint16_t* lower, uint16_t* upper, bool* word, bool* space)
{
    const int chunk = 4096;
    WCHAR buf[chunk];
    WORD types[chunk];
    for (int done = 0; done < count; done += chunk) {
        const int n = count - done < chunk ? count - done : chunk;
        auto fill = [&] {
            for (int i = 0; i < n; ++i)
                buf[i] = static_cast<WCHAR>(first + done + i);
        };
        fill();
        CharLowerBuffW(buf, n);
        for (int i = 0; i < n; ++i)
            lower[done + i] = buf[i];
        fill();
        CharUpperBuffW(buf, n);
        for (int i = 0; i < n; ++i)
            upper[done + i] = buf[i];
        fill();
        if (!GetStringTypeW(CT_CTYPE1, buf, n, types))
            ZeroMemory(types, sizeof(types));
        for (int i = 0; i < n; ++i) {
            word[done + i] = (types[i] & (C1_ALPHA | C1_DIGIT)) != 0;
            space[done + i] = (types[i] & C1_SPACE) != 0;
        }
    }
}

} // namespace filescan
