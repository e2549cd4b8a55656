// tidyrun.h - the text commands that run HTML Tidy (HTML and XHTML clean and
// repair, XML pretty print) and the XML well-formedness check, on plain text
// without any window.
//
// The editing component holds UTF-8 text, so Tidy always reads and writes
// UTF-8 whatever an option file says; the caller's line-ending mode is kept.
// A run that fails or yields no text says so in its messages and leaves
// output empty: the caller then keeps the document as it was.
#pragma once

#include <windows.h>

#include <string>

#include "fx/string.h"

enum TidyCommand {
    TIDY_HTML_CLEAN = 0,  // "html_clean.tidy"
    TIDY_XHTML_CLEAN = 1, // "xhtml_clean.tidy"
    TIDY_XML_PRETTY = 2,  // "xml_pretty_print.tidy": input is XML, also without the file
    TIDY_COMMAND_COUNT = 3
};

// The option file name of a command (NULL for an unknown command).
LPCSTR GetTidyOptionFileName(int nCommand);
// "<data folder>\Tidy\<file name>".
CString GetTidyOptionFilePath(int nCommand);

struct CTidyResult {
    int rc;             // Tidy's result: 0 clean, 1 warnings, 2 errors, < 0 severe
    bool replaced;      // output holds the text that replaces the document
    std::string output; // the repaired text (UTF-8); empty unless replaced
    std::string report; // what the tool window shows: Tidy's messages, or why nothing changed
};

// Runs one Tidy command over text. lpszOptionFile NULL or missing: Tidy's
// defaults (plus XML input for TIDY_XML_PRETTY). nEolMode is the editing
// component's line-ending mode (0 CR LF, 1 CR, 2 LF) the output is written in.
CTidyResult RunTidyCommand(int nCommand, const std::string& text, LPCSTR lpszOptionFile, int nEolMode);

// The XML check: "** document is well formed **", or
// "Line: %d Col: %d Error parsing xml := '%s'." with the one-based row and
// column of the error and its description (a NUL character is an error
// of its own: the parser would stop there).
CString CheckXmlWellFormed(const std::string& text);
