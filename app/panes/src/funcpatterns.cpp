// funcpatterns.cpp - the function list's language table.
#include "funcpatterns.h"

#include <stddef.h>

namespace {

struct PatternText {
    const char* prefix;
    const char* parameters;
    const char* name;
    const char* blockOpen;
    const char* blockClose;
    const char* rejectList;
};

struct PairText {
    const char* open;
    const char* close; // "": to the end of the line
};

struct LanguageRow {
    int nId;
    int nOtherId; // a second id with the same row, or 0
    int nCaseFlag;
    const char* nestingOpeners;
    const char* nestedDeclarations;
    const PatternText* sets;
    int nSets;
    const PairText* pairs;
    int nPairs;
};

template <typename T, size_t N>
constexpr int Count(const T (&)[N])
{
    return (int)N;
}

// The patterns are kept exactly as written: they are regular expressions.
// Id 5's reject list is "#|;" (a preprocessor line or a ";" before the
// body): a declaration then never borrows the next method's body.
// Id 1.
const PatternText kSets1[] = {
    {R"~(function[ \t&]+)~", R"~([ \t]*\([0-9A-Za-z_\-\*#$&='/",;:<> \t()\.]*\))~", R"~(["0-9A-Za-z_]+)~", R"~(\{)~", R"~(\})~", R"~(;)~"},
};
const PairText kPairs1[] = {{R"~(#)~", ""}, {R"~(//)~", ""}, {R"~(/\*)~", R"~(\*/)~"}};

// Ids 2 and 3.
const PatternText kSets2_3[] = {
    {"", R"~([ \t]*\([:0-9A-Za-z_\-&<>/\*, \t.\[\]\(\)=]*\)[ \t]*[const]*)~", R"~(~*[0-9A-Za-z_]+[ =<>+\-\*/\[\]]*)~", R"~(\{)~", R"~(\})~", R"~([;\"])~"},
};
const PairText kPairs2_3[] = {{R"~(#)~", ""}, {R"~(//)~", ""}, {R"~(/\*)~", R"~(\*/)~"}, {R"~(")~", R"~(")~"}};

// Ids 4 and 6.
const PatternText kSets4_6[] = {
    {R"~(\<)~", R"~([ \t]*\([0-9A-Za-z_\.<>\[\], \t]*\))~", R"~(~*[0-9A-Za-z_]+)~", R"~(\{)~", R"~(\})~", R"~(;|\])~"},
};
const PairText kPairs4_6[] = {{R"~(//)~", ""}, {R"~(/\*)~", R"~(\*/)~"}};

// Id 5.
const PatternText kSets5[] = {
    {R"~([\+-][ \t]*\([0-9A-Za-z\*& \t]+\)[ \t]*)~", R"~([ \t]*:)~", R"~([0-9A-Za-z_]+)~", R"~(\{)~", R"~(\})~", R"~(#|;)~"},
    {R"~([\+-][ \t]*\([0-9A-Za-z\*& \t]+\)[ \t]*)~", R"~([ \t]*$)~", R"~([0-9A-Za-z_]+)~", R"~(\{)~", R"~(\})~", R"~(#|;)~"},
    {R"~([\+-][ \t]*)~", R"~([ \t]*:)~", R"~([0-9A-Za-z_]+)~", R"~(\{)~", R"~(\})~", R"~(#|;)~"},
    {R"~([\+-][ \t]*)~", R"~([ \t]*$)~", R"~([0-9A-Za-z_]+)~", R"~(\{)~", R"~(\})~", R"~(#|;)~"},
};
const PairText kPairs5[] = {{R"~(//)~", ""}, {R"~(/\*)~", R"~(\*/)~"}};

// Id 7.
const PatternText kSets7[] = {
    {R"~(^[ \t/]*)~", R"~([ \t]+DIALOG)~", R"~([0-9A-Za-z_]+)~", R"~(\<BEGIN\>)~", R"~(\<END\>)~", ""},
    {R"~(^[ \t/]*)~", R"~([ \t]+VERSIONINFO)~", R"~([0-9A-Za-z_]+)~", R"~(\<BEGIN\>)~", R"~(\<END\>)~", ""},
    {R"~(^[ \t/]*)~", R"~([ \t]+MENU)~", R"~([0-9A-Za-z_]+)~", R"~(\<BEGIN\>)~", R"~(\<END\>)~", ""},
};
const PairText kPairs7[] = {{R"~(//)~", ""}, {R"~(/\*)~", R"~(\*/)~"}};

// Ids 8 and 19.
const PatternText kSets8_19[] = {
    {R"~(function[ \t&]+)~", R"~([ \t]*\([0-9A-Za-z_$&='",;:<> \t()]*\))~", R"~(["0-9A-Za-z_]+)~", R"~(\{)~", R"~(\})~", R"~(;)~"},
    {R"~(^[ \t]*)~", R"~([ \t]*[=:][ \t]*function[ \t]*\([0-9A-Za-z_$&=', \t]*\))~", R"~(["0-9A-Za-z_.]+)~", R"~(\{)~", R"~(\})~", R"~(;)~"},
    {R"~(^[ \t]*var[ \t]*)~", R"~([ \t]*[=:][ \t]*function[ \t]*\([0-9A-Za-z_$&=', \t]*\))~", R"~(["0-9A-Za-z_.]+)~", R"~(\{)~", R"~(\})~", R"~(;)~"},
};
const PairText kPairs8_19[] = {{R"~(#)~", ""}, {R"~(//)~", ""}, {R"~(/\*)~", R"~(\*/)~"}};

// Id 11.
const PatternText kSets11[] = {
    {R"~(procedure[ \t]+)~", R"~([ \t]*.*;)~", R"~([0-9A-Za-z_]*\.*[0-9A-Za-z_]+)~", R"~(\<begin\>)~", R"~(\<end\>)~", R"~(function|procedure|destructor|constructor|)~"},
    {R"~(function[ \t]+)~", R"~([ \t]*.*;)~", R"~([0-9A-Za-z_]*\.*[0-9A-Za-z_]+)~", R"~(\<begin\>)~", R"~(\<end\>)~", R"~(function|procedure|destructor|constructor|)~"},
    {R"~(constructor[ \t]+)~", R"~([ \t]*.*;)~", R"~([0-9A-Za-z_]*\.*[0-9A-Za-z_]+)~", R"~(\<begin\>)~", R"~(\<end\>)~", R"~(function|procedure|destructor|constructor|)~"},
    {R"~(destructor[ \t]+)~", R"~([ \t]*.*;)~", R"~([0-9A-Za-z_]*\.*[0-9A-Za-z_]+)~", R"~(\<begin\>)~", R"~(\<end\>)~", R"~(function|procedure|destructor|constructor|)~"},
};
const PairText kPairs11[] = {{R"~(//)~", ""}, {R"~(')~", R"~(')~"}, {R"~({)~", R"~(})~"}, {R"~(\(\*)~", R"~(\*\))~"}};

// Id 12.
const PatternText kSets12[] = {
    {R"~(^[ \t]*:)~", R"~($)~", R"~([0-9A-Za-z_]+)~", "", "", ""},
};
const PairText kPairs12[] = {{R"~(::)~", ""}};

// Id 13.
const PatternText kSets13[] = {
    {R"~(^[ \t;]*[\["]+)~", R"~([\]"]+[ \t]*$)~", R"~([0-9A-Za-z_.; \(\)-]+)~", "", "", ""},
};
const PairText kPairs13[] = {{R"~(^[ \t]*;)~", ""}};

// Id 16.
const PatternText kSets16[] = {
    {R"~(\<function[ \t]+)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+)~", "", R"~(\<end[ \t]+function\>)~", ""},
    {R"~(\<sub[ \t]+)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+)~", "", R"~(\<end[ \t]+sub\>)~", ""},
};
const PairText kPairs16[] = {{R"~(')~", ""}, {R"~(//)~", ""}};

// Id 17.
const PatternText kSets17[] = {
    {R"~(^[ \t]*create[ \t]+function[ \t]+)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+[\.[0-9A-Za-z_]*)~", R"~(\<AS\>)~", R"~(\<GO\>)~", R"~(;)~"},
    {R"~(^[ \t]*create[ \t]+procedure[ \t]+)~", "", R"~([0-9A-Za-z_]+[\.[0-9A-Za-z_]*)~", R"~(\<AS\>)~", R"~(\<GO\>)~", R"~(;)~"},
    {R"~(^[ \t]*function[ \t]+)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+[\.[0-9A-Za-z_]*)~", R"~(\<IS\>)~", R"~(\<END\>)~", R"~(;)~"},
    {R"~(^[ \t]*proc[edur]*[ \t]+)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+[\.[0-9A-Za-z_]*)~", R"~(\<IS\>)~", R"~(\<END\>)~", R"~(;)~"},
};
const PairText kPairs17[] = {{R"~(--)~", ""}, {R"~(/\*)~", R"~(\*/)~"}};

// Id 18.
const PatternText kSets18[] = {
    {R"~(sub[ \t]+)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+)~", "", R"~(\<end[ \t]+sub\>)~", ""},
    {R"~(sub[ \t]+)~", "", R"~([0-9A-Za-z_]+)~", "", R"~(\<end[ \t]+sub\>)~", ""},
    {R"~(function[ \t]+)~", "", R"~([0-9A-Za-z_]+)~", "", R"~(\<end[ \t]+function\>)~", ""},
};
const PairText kPairs18[] = {{R"~(')~", ""}};

// Id 21.
const PatternText kSets21[] = {
    {R"~(\<sub[ \t]+)~", R"~(\>)~", R"~([0-9A-Za-z_]+)~", R"~(\{)~", R"~(\})~", ""},
};
const PairText kPairs21[] = {{R"~(#)~", ""}};

// Id 22.
const PatternText kSets22[] = {
    {R"~(def[ \t]+)~", R"~([ \t]*\(.*\)[ \t]*:)~", R"~([0-9A-Za-z_]+)~", "", "", ""},
};
const PairText kPairs22[] = {{R"~(#)~", ""}};

// Id 23.
const PatternText kSets23[] = {
    {R"~(^[- \t]*function[ \t]+)~", R"~([ \t]*\([0-9A-Za-z_,. \t]*\))~", R"~([0-9A-Za-z_:.]+)~", "", R"~(\<end\>)~", ""},
    {R"~(^[- \t]*)~", R"~([ \t]*=[ \t]*function[ \t]*\([0-9A-Za-z_, \t]*\))~", R"~([0-9A-Za-z_:.]+)~", "", R"~(\<end\>)~", ""},
};
const PairText kPairs23[] = {{R"~(")~", R"~(")~"}, {R"~(')~", R"~(')~"}, {R"~(--)~", ""}, {R"~(--\[\[)~", R"~(\]\])~"}};

// Id 25.
const PatternText kSets25[] = {
    {R"~([ \t]*subroutine[ \t]*)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end)~", ""},
    {R"~([ \t]*subroutine[ \t]*)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end[ \t]*subroutine)~", ""},
    {R"~([ \t]*function[ \t]*)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end)~", ""},
    {R"~([ \t]*function[ \t]*)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end[ \t]*function)~", ""},
    {R"~([ \t]*program[ \t]*)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end)~", ""},
    {R"~([ \t]*program[ \t]*)~", R"~([ \t]*\(.*\))~", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end[ \t]*program)~", ""},
    {R"~([ \t]*subroutine[ \t]*)~", "", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end)~", ""},
    {R"~([ \t]*subroutine[ \t]*)~", "", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end[ \t]*subroutine)~", ""},
    {R"~([ \t]*function[ \t]*)~", "", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end)~", ""},
    {R"~([ \t]*function[ \t]*)~", "", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end[ \t]*function)~", ""},
    {R"~([ \t]*program[ \t]*)~", "", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end)~", ""},
    {R"~([ \t]*program[ \t]*)~", "", R"~([0-9A-Za-z_]+)~", "", R"~(^[ \t]*end[ \t]*program)~", ""},
};
const PairText kPairs25[] = {{R"~(^C)~", ""}};

// Id 26.
const PatternText kSets26[] = {
    {R"~(^[ \t]*function[ \t]+)~", R"~([ \t]+[() \t]*)~", R"~([0-9A-Za-z_]+)~", R"~(\{)~", R"~(\})~", ""},
    {R"~(^[ \t]*)~", R"~([ \t]+\([ \t]*\))~", R"~([0-9A-Za-z_]+)~", R"~(\{)~", R"~(\})~", ""},
};
const PairText kPairs26[] = {{R"~(#)~", ""}};

// Id 27.
const PatternText kSets27[] = {
    {R"~(function[ \t&]+)~", R"~([ \t]*\([0-9A-Za-z_:, \t]*\))~", R"~(["0-9A-Za-z_]+)~", R"~(\{)~", R"~(\})~", R"~(;)~"},
};
const PairText kPairs27[] = {{R"~(#)~", ""}, {R"~(//)~", ""}, {R"~(/\*)~", R"~(\*/)~"}};

// Id 28.
const PatternText kSets28[] = {
    {R"~(^Function\>.*[ \t]+)~", "", R"~([-.0-9A-Za-z_]+$)~", "", R"~(\<FunctionEnd\>)~", ""},
    {R"~(^Section\>.*[ \t]+)~", "", R"~([-.0-9A-Za-z_]+$)~", "", R"~(\<SectionEnd\>)~", ""},
    {R"~(^SubSection\>.*[ \t]+)~", "", R"~([-.0-9A-Za-z_]+$)~", "", R"~(\<SubSectionEnd\>)~", ""},
    {R"~(^Function\>[ \t]*\")~", R"~(\"$)~", R"~([-.0-9A-Za-z_ ]+)~", "", R"~(\<FunctionEnd\>)~", ""},
    {R"~(^Section\>[ \t]*\")~", R"~(\"$)~", R"~([-.0-9A-Za-z_ ]+)~", "", R"~(\<SectionEnd\>)~", ""},
    {R"~(^SubSection\>[ \t]*\")~", R"~(\"$)~", R"~([-.0-9A-Za-z_ ]+)~", "", R"~(\<SubSectionEnd\>)~", ""},
};
const PairText kPairs28[] = {{R"~(#)~", ""}, {R"~(;)~", ""}, {R"~(")~", R"~(")~"}};

// Id 29.
const PatternText kSets29[] = {
    {R"~(^[ \t]*proc[ \t]+)~", R"~([ \t]+\{[0-9A-Za-z_\-$&='/" \t\{\}]+\})~", R"~([0-9A-Za-z_\-+&|]+)~", R"~(\{)~", R"~(\})~", R"~(:)~"},
    {R"~(^[ \t]*proc[ \t]+)~", R"~([ \t]+[0-9A-Za-z_\-+$&='/" \t]*)~", R"~([0-9A-Za-z_\-+&|]+)~", R"~(\{)~", R"~(\})~", R"~(:)~"},
    {R"~(^[ \t]*proc[ \t]+[0-9A-Za-z_\-+&|]+[ \t]*::[ \t]*)~", R"~([ \t]+\{[0-9A-Za-z_\-$&='/" \t\{\}]+\})~", R"~([0-9A-Za-z_\-+&|]+)~", R"~(\{)~", R"~(\})~", R"~(:)~"},
    {R"~(^[ \t]*proc[ \t]+[0-9A-Za-z_\-+&|]+[ \t]*::[ \t]*)~", R"~([ \t]+[0-9A-Za-z_\-+$&='/" \t]*)~", R"~([0-9A-Za-z_\-+&|]+)~", R"~(\{)~", R"~(\})~", R"~(:)~"},
};
const PairText kPairs29[] = {{R"~(#)~", ""}, {R"~(")~", R"~(")~"}};

// Id 30.
const PatternText kSets30[] = {
    {R"~([ \t]*defun[ \t]*)~", "", R"~([0-9A-Za-z_\-:]+)~", "", "", ""},
};

// Id 32.
const PatternText kSets32[] = {
    {R"~(^)~", R"~([ \t]*:)~", R"~([0-9A-Za-z_]+)~", "", "", ""},
};
const PairText kPairs32[] = {{R"~(;)~", ""}};

// Id 38.
const PatternText kSets38[] = {
    {R"~(^[ \t]*)~", R"~([ \t]*[:\(]+[.,0-9A-Za-z_ \t()]+$)~", R"~([0-9A-Za-z_]+)~", R"~(\<port[ \t]+map\>)~", R"~(\)[ \t]*;)~", R"~(\<END\>.*;)~"},
    {R"~(^[ \t]*)~", R"~([ \t]*[:\(]+[.,0-9A-Za-z_ \t()]+$)~", R"~([0-9A-Za-z_]+)~", R"~(\<BEGIN\>)~", R"~(\<END\>.*;)~", R"~(^[ \t]*\)[ \t]*;)~"},
    {R"~(ENTITY[ \t]+)~", R"~([ \t]+IS)~", R"~([0-9A-Za-z_]+)~", "", R"~(\<END\>.*;)~", ""},
    {R"~(function[ \t]+)~", R"~([ \t]*\([0-9A-Za-z_,;: \t()]*\))~", R"~([a-zA-Z0-9_"\+-\*/]+)~", R"~(\<BEGIN\>)~", R"~(\<END\>.*;)~", ""},
    {R"~(procedure[ \t]+)~", R"~([ \t]*\([0-9A-Za-z_,;: \t()]*\))~", R"~([a-zA-Z0-9_"\+-\*/]+)~", R"~(\<BEGIN\>)~", R"~(\<END\>.*;)~", ""},
};
const PairText kPairs38[] = {{R"~(--)~", ""}};

const LanguageRow kRows[] = {
    {1, 0, SCFIND_MATCHCASE, R"~(\{)~", "", kSets1, Count(kSets1), kPairs1, Count(kPairs1)},
    {2, 3, SCFIND_MATCHCASE, R"~(\{)~", "", kSets2_3, Count(kSets2_3), kPairs2_3, Count(kPairs2_3)},
    {4, 6, SCFIND_MATCHCASE, R"~(\{)~", "", kSets4_6, Count(kSets4_6), kPairs4_6, Count(kPairs4_6)},
    {5, 0, SCFIND_MATCHCASE, R"~(\{)~", "", kSets5, Count(kSets5), kPairs5, Count(kPairs5)},
    {7, 0, SCFIND_MATCHCASE, R"~(\<BEGIN\>)~", "", kSets7, Count(kSets7), kPairs7, Count(kPairs7)},
    {8, 19, SCFIND_MATCHCASE, R"~(\{)~", "", kSets8_19, Count(kSets8_19), kPairs8_19, Count(kPairs8_19)},
    {11, 0, 0, R"~(\<begin\>)~", "", kSets11, Count(kSets11), kPairs11, Count(kPairs11)},
    {12, 0, SCFIND_MATCHCASE, "", "", kSets12, Count(kSets12), kPairs12, Count(kPairs12)},
    {13, 0, SCFIND_MATCHCASE, "", "", kSets13, Count(kSets13), kPairs13, Count(kPairs13)},
    {16, 0, 0, "", "", kSets16, Count(kSets16), kPairs16, Count(kPairs16)},
    {17, 0, 0, "", "", kSets17, Count(kSets17), kPairs17, Count(kPairs17)},
    {18, 0, 0, "", "", kSets18, Count(kSets18), kPairs18, Count(kPairs18)},
    {21, 0, SCFIND_MATCHCASE, R"~(\{)~", "", kSets21, Count(kSets21), kPairs21, Count(kPairs21)},
    {22, 0, SCFIND_MATCHCASE, "", "", kSets22, Count(kSets22), kPairs22, Count(kPairs22)},
    {23, 0, SCFIND_MATCHCASE, R"~(\<do\>|\<if\>|\<function\>)~", "", kSets23, Count(kSets23), kPairs23, Count(kPairs23)},
    {25, 0, 0, "", "", kSets25, Count(kSets25), kPairs25, Count(kPairs25)},
    {26, 0, SCFIND_MATCHCASE, R"~(\{)~", "", kSets26, Count(kSets26), kPairs26, Count(kPairs26)},
    {27, 0, SCFIND_MATCHCASE, R"~(\{)~", "", kSets27, Count(kSets27), kPairs27, Count(kPairs27)},
    {28, 0, SCFIND_MATCHCASE, "", "", kSets28, Count(kSets28), kPairs28, Count(kPairs28)},
    {29, 0, SCFIND_MATCHCASE, R"~(\{>)~", "", kSets29, Count(kSets29), kPairs29, Count(kPairs29)},
    {30, 0, 0, "", "", kSets30, Count(kSets30), nullptr, 0},
    {32, 0, SCFIND_MATCHCASE, "", "", kSets32, Count(kSets32), kPairs32, Count(kPairs32)},
    {38, 0, 0, R"~(\<IF\>|\<COMPONENT\>|\<LOOP\>|\<CASE\>|\<BEGIN\>)~", R"~(\<FUNCTION\>|\<PROCEDURE\>)~", kSets38, Count(kSets38), kPairs38, Count(kPairs38)},
};

} // namespace

std::vector<std::string> SplitTokenList(const std::string& list)
{
    std::vector<std::string> tokens;
    size_t start = 0;
    while (start <= list.size()) {
        size_t bar = list.find('|', start);
        if (bar == std::string::npos)
            bar = list.size();
        if (bar > start)
            tokens.push_back(list.substr(start, bar - start));
        start = bar + 1;
    }
    return tokens;
}

bool BuildFunctionLanguage(int nLanguageId, FunctionLanguage& lang)
{
    lang = FunctionLanguage();
    for (const LanguageRow& row : kRows) {
        if (row.nId != nLanguageId && (row.nOtherId == 0 || row.nOtherId != nLanguageId))
            continue;
        lang.nCaseFlag = row.nCaseFlag;
        lang.strNestingOpeners = row.nestingOpeners;
        lang.strNestedDeclarations = row.nestedDeclarations;
        for (int i = 0; i < row.nPairs; i++)
            lang.commentPairs.push_back(CommentPairText(row.pairs[i].open, row.pairs[i].close));
        for (int i = 0; i < row.nSets; i++) {
            const PatternText& s = row.sets[i];
            lang.patterns.push_back({s.prefix, s.parameters, s.name, s.blockOpen, s.blockClose, s.rejectList});
        }
        return true;
    }
    return false;
}
