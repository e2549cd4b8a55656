// tidyoptions.h - the options of HTML Tidy as the Tidy option pages show
// them, read from and written to an option file, without any window.
//
// Tidy 5 has twelve option categories; the pages show five: "Markup" (the
// five markup categories), "Diagnostics", "Pretty Print", "Encoding" and
// "Miscellaneous" (document I/O, file I/O and display). Internal options are
// not listed. The option "doctype-mode" is never listed: "doctype" shows its
// value and saves into "doctype".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "fx/string.h"

enum TidyPageCategory {
    TIDY_PAGE_MARKUP = 0,
    TIDY_PAGE_DIAGNOSTICS = 1,
    TIDY_PAGE_PRETTY_PRINT = 2,
    TIDY_PAGE_ENCODING = 3,
    TIDY_PAGE_MISCELLANEOUS = 4,
    TIDY_PAGE_UNLISTED = -1
};

// The caption of a page category ("No Category" for any other number).
LPCSTR GetTidyCategoryCaption(int nCategory);
// The page category of one of Tidy's categories (TidyConfigCategory).
int MapTidyCategory(int nTidyCategory);

enum TidyOptionKind {
    TIDY_OPTION_STRING = 0,
    TIDY_OPTION_INTEGER = 1,
    TIDY_OPTION_BOOLEAN = 2
};

struct CTidyOptionInfo {
    int nId; // Tidy's id in this build
    CString name;
    int nKind;                  // TidyOptionKind
    int nCategory;              // TidyPageCategory
    std::vector<CString> picks; // the pick list, empty when free
    CString value;              // current value as text
    long nValue;                // current integer
    BOOL bValue;                // current boolean
    CString doc;                // documentation text, as plain text
};

// Tidy's documentation of an option as plain text: "<br/>" a line break,
// other tags dropped, the five XML entities decoded.
CString TidyDocToPlainText(LPCSTR lpszDoc);

// The listed options with the values of an option file (a missing or
// unreadable file gives Tidy's defaults), in Tidy's order.
std::vector<CTidyOptionInfo> ReadTidyOptions(LPCSTR lpszFile);

// Writes an option file from name = value pairs (values as the pages show
// them; "doctype" takes the doctype text or mode). The file is replaced
// whole or not at all. FALSE with the reason in strError when a value is
// refused or the file could not be written.
BOOL WriteTidyOptions(LPCSTR lpszFile, const std::vector<std::pair<CString, CString>>& values, CString& strError);
