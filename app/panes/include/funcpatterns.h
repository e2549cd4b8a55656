// funcpatterns.h - the function list's language table: for each language id
// (the LEXERID of a syntax configuration, -1 when it has none) the comment
// delimiters that hide text from the scan, the search mode and the ordered
// pattern sets that recognise routine headers (see funcscan.h for the scan).
//
// Every pattern is a Scintilla regular expression searched with
// SCFIND_REGEXP | SCFIND_POSIX: "\(" and "\)" are literal parentheses, "\<"
// and "\>" word starts and ends, "\t" inside a class a tab.
#pragma once

#include <Scintilla.h>

#include <string>
#include <utility>
#include <vector>

// One way of finding a routine.
struct FunctionPattern {
    std::string strPrefix;     // text that introduces a header (may be empty)
    std::string strParameters; // what follows the name (may be empty)
    std::string strName;       // the routine name
    std::string strBlockOpen;  // token that starts the body; empty: the header alone is the entry
    std::string strBlockClose; // token that ends the body; empty: no end is searched
    std::string strRejectList; // "|"-separated tokens that, between header and block open, make it no definition
};

// A comment (or string) delimiter pair: an empty closing pattern means the
// comment runs to the end of its line.
typedef std::pair<std::string, std::string> CommentPairText;

// Everything the scan needs to know of one language.
struct FunctionLanguage {
    int nCaseFlag = 0;                         // SCFIND_MATCHCASE for case-sensitive languages, else 0
    std::string strNestingOpeners;             // "|"-separated; each one in a body asks for one more block close
    std::string strNestedDeclarations;         // "|"-separated; nested routine declarations before a block open
    std::vector<CommentPairText> commentPairs; // in search order
    std::vector<FunctionPattern> patterns;     // in search order
};

// Fills lang with the row of nLanguageId; false (and lang left empty) when
// the language has no patterns ("Language not supported").
bool BuildFunctionLanguage(int nLanguageId, FunctionLanguage& lang);

// Splits a "|"-separated token list; empty pieces are skipped.
std::vector<std::string> SplitTokenList(const std::string& list);
