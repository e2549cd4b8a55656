// Character tables of the find-in-files engine: case folding, word characters
// and white space over the whole Basic Multilingual Plane. The tables are
// portable; the platform's character data comes through PlatformCharacters.
#ifndef QUILLMATE_FINDINFILES_CHARTABLES_H
#define QUILLMATE_FINDINFILES_CHARTABLES_H

#include <cstdint>

namespace filescan {

struct CharTables {
    uint16_t lower[65536];    // simple lower case; never maps a non-ASCII character into ASCII
    uint16_t upper[65536];    // simple upper case, with the same rule
    uint8_t flags[65536];     // Word / Space bits below
    uint8_t foldCount[65536]; // how many characters fold to this lower case (saturating)

    enum {
        Word = 1,
        Space = 2
    };
};

// The platform's data for count characters from first: simple lower and upper
// case, and whether each is a letter or digit (word) or white space (space).
// CharTablesWin.cpp asks the system; CharTablesHost.cpp, for the host build
// of the engine's tests, the C library in a UTF-8 locale.
void PlatformCharacters(uint16_t first, int count, uint16_t* lower, uint16_t* upper, bool* word, bool* space);

// The process-wide tables, built on first use (thread-safe).
const CharTables& Chars();

inline wchar_t FoldCase(wchar_t c) { return static_cast<wchar_t>(Chars().lower[static_cast<uint16_t>(c)]); }
inline bool IsWordChar(wchar_t c) { return (Chars().flags[static_cast<uint16_t>(c)] & CharTables::Word) != 0; }
inline bool IsSpaceChar(wchar_t c) { return (Chars().flags[static_cast<uint16_t>(c)] & CharTables::Space) != 0; }

// True when no other character folds to the same lower case as c, so that a
// case-insensitive comparison with c is an exact comparison.
bool HasNoCaseVariants(wchar_t c);

// Characters that compare equal to c without case sensitivity (c first);
// returns how many were written (at most max).
int CaseVariants(wchar_t c, wchar_t* out, int max);

} // namespace filescan

#endif
