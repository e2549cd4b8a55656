#include "WildCmp.h"

#include "CharTables.h"

#include <cwchar>
#include <string>

namespace filescan {

namespace {

inline bool Same(wchar_t m, wchar_t c)
{
    return m == '?' || m == c || FoldCase(m) == FoldCase(c);
}

int Match(const wchar_t* mask, const wchar_t* name)
{
    // Leading part up to the first '*' must agree position by position.
    while (*name && *mask != '*') {
        if (!Same(*mask, *name))
            return 0;
        ++mask;
        ++name;
    }
    // Then backtrack to the last '*' whenever the text after it fails.
    const wchar_t* starMask = nullptr;
    const wchar_t* starName = nullptr;
    while (*name) {
        if (*mask == '*') {
            if (!*++mask)
                return 1;
            starMask = mask;
            starName = name + 1;
        } else if (*mask && Same(*mask, *name)) {
            ++mask;
            ++name;
        } else if (starMask) {
            mask = starMask;
            name = starName++;
        } else {
            return 0;
        }
    }
    while (*mask == '*')
        ++mask;
    return *mask ? 0 : 1;
}

} // namespace

int WildMatch(const wchar_t* mask, const wchar_t* name)
{
    if (!mask || !name)
        return 0;
    if (Match(mask, name))
        return 1;
    // As on the command line, a mask ending in ".*" also takes names without
    // any extension: "*.*" is every file, "README.*" takes "README".
    const size_t m = wcslen(mask);
    if (m >= 2 && mask[m - 2] == '.' && mask[m - 1] == '*' && !wcschr(name, L'.')) {
        const std::wstring stem(mask, m - 2);
        return Match(stem.c_str(), name);
    }
    return 0;
}

} // namespace filescan
