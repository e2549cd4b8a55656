// Listing a folder's files for tests (kept apart from files.h so that test
// programs with helpers of their own can use it too).
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace qmtest {

// The names of the files (not folders) of a folder that match a pattern
// ("*" for all), sorted; empty when the folder cannot be listed.
inline std::vector<std::string> FileNamesIn(const std::string& folder, const char* pattern = "*")
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace qmtest
