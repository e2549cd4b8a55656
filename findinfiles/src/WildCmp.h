// Wildcard matching of file names against masks such as "*.cpp" or "a?c.*".
#ifndef QUILLMATE_FINDINFILES_WILDCMP_H
#define QUILLMATE_FINDINFILES_WILDCMP_H

namespace filescan {

// '*' matches any run of characters (also none), '?' any one character,
// everything else itself.  Letters compare without case, as file names do
// on Windows, and a mask ending in ".*" also takes names without an extension
// ("*.*" is every file).  Returns 1 for a match, 0 otherwise.
int WildMatch(const wchar_t* mask, const wchar_t* name);

} // namespace filescan

#endif
