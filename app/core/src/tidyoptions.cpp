// tidyoptions.cpp - HTML Tidy's options for the option pages.
#include "tidyoptions.h"

#include "apphelpers.h"

#include <string.h>

#include <tidy.h>
#include <tidybuffio.h>

namespace {

const char kDoctypeMode[] = "doctype-mode";
const char kDoctype[] = "doctype";

struct TidyDocument {
    TidyDoc doc = tidyCreate();
    ~TidyDocument() { tidyRelease(doc); }
};

bool FileExists(LPCSTR lpszPath)
{
    DWORD dw = ::GetFileAttributesA(lpszPath);
    return dw != INVALID_FILE_ATTRIBUTES && !(dw & FILE_ATTRIBUTE_DIRECTORY);
}

// Tidy keeps "no limit" (a wrap margin of 0 in its files) as the largest
// number.
const unsigned long kTidyNoLimit = 0x7FFFFFFF;

long IntValue(TidyDoc doc, TidyOptionId id)
{
    unsigned long n = tidyOptGetInt(doc, id);
    return n == kTidyNoLimit ? 0 : (long)n;
}

// The value as the option file writes it: the chosen pick, the number, or
// the text. Only string options have text of their own (Tidy's value of
// another option is no text).
CString ValueText(TidyDoc doc, TidyOption opt)
{
    TidyOptionId id = tidyOptGetId(opt);
    if (ctmbstr pszPick = tidyOptGetCurrPick(doc, id))
        return pszPick;
    CString text;
    switch (tidyOptGetType(opt)) {
    case TidyInteger: text.Format("%ld", IntValue(doc, id)); break;
    case TidyBoolean: text = tidyOptGetBool(doc, id) ? "yes" : "no"; break;
    default: {
        ctmbstr psz = tidyOptGetValue(doc, id);
        text = psz != NULL ? psz : "";
        break;
    }
    }
    return text;
}

} // namespace

CString TidyDocToPlainText(LPCSTR lpszDoc)
{
    static const struct {
        const char* entity;
        char ch;
    } kEntities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
    CString out;
    for (const char* p = lpszDoc != NULL ? lpszDoc : ""; *p != '\0';) {
        if (*p == '<') {
            const char* end = strchr(p, '>');
            if (end == NULL)
                break;
            // A line break stays a line break; other markup goes.
            if (_strnicmp(p, "<br", 3) == 0)
                out += "\r\n";
            p = end + 1;
            continue;
        }
        if (*p == '&') {
            bool bFound = false;
            for (const auto& e : kEntities) {
                size_t n = strlen(e.entity);
                if (strncmp(p, e.entity, n) == 0) {
                    out += e.ch;
                    p += n;
                    bFound = true;
                    break;
                }
            }
            if (bFound)
                continue;
        }
        out += *p++;
    }
    return out;
}

LPCSTR GetTidyCategoryCaption(int nCategory)
{
    switch (nCategory) {
    case TIDY_PAGE_MARKUP: return "Markup";
    case TIDY_PAGE_DIAGNOSTICS: return "Diagnostics";
    case TIDY_PAGE_PRETTY_PRINT: return "Pretty Print";
    case TIDY_PAGE_ENCODING: return "Encoding";
    case TIDY_PAGE_MISCELLANEOUS: return "Miscellaneous";
    default: return "No Category";
    }
}

int MapTidyCategory(int nTidyCategory)
{
    switch ((TidyConfigCategory)nTidyCategory) {
    case TidyMarkupCleanup:
    case TidyMarkupEntities:
    case TidyMarkupRepair:
    case TidyMarkupTeach:
    case TidyMarkupXForm: return TIDY_PAGE_MARKUP;
    case TidyDiagnostics: return TIDY_PAGE_DIAGNOSTICS;
    case TidyPrettyPrint: return TIDY_PAGE_PRETTY_PRINT;
    case TidyEncoding: return TIDY_PAGE_ENCODING;
    case TidyDocumentIO:
    case TidyFileIO:
    case TidyDisplay: return TIDY_PAGE_MISCELLANEOUS;
    default: return TIDY_PAGE_UNLISTED;
    }
}

std::vector<CTidyOptionInfo> ReadTidyOptions(LPCSTR lpszFile)
{
    std::vector<CTidyOptionInfo> options;
    TidyDocument tidy;
    TidyBuffer errors = {};
    tidyBufInit(&errors);
    tidySetErrorBuffer(tidy.doc, &errors);
    if (lpszFile != NULL && FileExists(lpszFile))
        tidyLoadConfig(tidy.doc, lpszFile);
    TidyOption modeOpt = tidyGetOptionByName(tidy.doc, kDoctypeMode);
    for (TidyIterator it = tidyGetOptionList(tidy.doc); it != NULL;) {
        TidyOption opt = tidyGetNextOption(tidy.doc, &it);
        if (opt == NULL)
            continue;
        TidyOptionId id = tidyOptGetId(opt);
        if (id == TidyUnknownOption || opt == modeOpt)
            continue;
        CTidyOptionInfo info;
        info.nId = (int)id;
        info.name = tidyOptGetName(opt);
        info.nCategory = MapTidyCategory((int)tidyOptGetCategory(opt));
        if (info.nCategory == TIDY_PAGE_UNLISTED)
            continue;
        info.nKind = (int)tidyOptGetType(opt);
        for (TidyIterator pick = tidyOptGetPickList(opt); pick != NULL;) {
            ctmbstr psz = tidyOptGetNextPick(opt, &pick);
            if (psz != NULL)
                info.picks.push_back(psz);
        }
        // "doctype" shows the mode ("auto", "strict" ...) unless the mode
        // is "user", where its own text is the doctype.
        if (info.name == kDoctype && modeOpt != NULL) {
            CString mode = ValueText(tidy.doc, modeOpt);
            info.value = mode == "user" ? ValueText(tidy.doc, opt) : mode;
            if (info.picks.empty())
                for (TidyIterator pick = tidyOptGetPickList(modeOpt); pick != NULL;)
                    if (ctmbstr psz = tidyOptGetNextPick(modeOpt, &pick))
                        info.picks.push_back(psz);
        } else {
            info.value = ValueText(tidy.doc, opt);
        }
        info.nValue = IntValue(tidy.doc, id);
        info.bValue = tidyOptGetBool(tidy.doc, id) ? TRUE : FALSE;
        ctmbstr pszDoc = tidyOptGetDoc(tidy.doc, opt);
        info.doc = TidyDocToPlainText(pszDoc);
        options.push_back(info);
    }
    tidyBufFree(&errors);
    return options;
}

BOOL WriteTidyOptions(LPCSTR lpszFile, const std::vector<std::pair<CString, CString>>& values, CString& strError)
{
    strError.Empty();
    TidyDocument tidy;
    TidyBuffer errors = {};
    tidyBufInit(&errors);
    tidySetErrorBuffer(tidy.doc, &errors);
    BOOL bOk = TRUE;
    TidyOption modeOpt = tidyGetOptionByName(tidy.doc, kDoctypeMode);
    for (const auto& v : values) {
        TidyOption opt = tidyGetOptionByName(tidy.doc, v.first);
        // A value equal to the library's default needs no setting (and the
        // file keeps only values that differ from the defaults).
        if (opt != NULL) {
            CString current = v.first == kDoctype && modeOpt != NULL ? ValueText(tidy.doc, modeOpt)
                                                                     : ValueText(tidy.doc, opt);
            if (current == v.second)
                continue;
        }
        if (opt == NULL || !tidyOptParseValue(tidy.doc, v.first, v.second)) {
            strError.Format("The value \"%s\" of the option \"%s\" is not valid.", v.second.GetString(),
                            v.first.GetString());
            bOk = FALSE;
            break;
        }
    }
    tidyBufFree(&errors);
    if (!bOk)
        return FALSE;
    // Written beside the file first, then moved over it: a failed write
    // leaves the file as it was.
    CString temp;
    temp.Format("%s.new", lpszFile);
    ::DeleteFileA(temp);
    if (tidyOptSaveFile(tidy.doc, temp) < 0 || !FileExists(temp)) {
        ::DeleteFileA(temp);
        strError.Format("The options could not be written to \"%s\".", lpszFile);
        return FALSE;
    }
    if (!::MoveFileExA(temp, lpszFile, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(temp);
        strError.Format("The options could not be written to \"%s\".", lpszFile);
        return FALSE;
    }
    return TRUE;
}
