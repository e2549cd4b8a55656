// tidyrun.cpp - HTML Tidy runs and the XML check over plain text.
#include "tidyrun.h"
#include "xmlparse.h"

#include "apphelpers.h"

#include <tidy.h>
#include <tidybuffio.h>
#include <tinyxml.h>

#include <algorithm>

namespace {

const char* const kOptionFiles[TIDY_COMMAND_COUNT] = {"html_clean.tidy", "xhtml_clean.tidy",
                                                      "xml_pretty_print.tidy"};

// Options are looked up by name: their ids change between Tidy versions.
bool SetOptionValue(TidyDoc doc, const char* name, const char* value)
{
    TidyOption opt = tidyGetOptionByName(doc, name);
    return opt != NULL && tidyOptSetValue(doc, tidyOptGetId(opt), value);
}

bool SetOptionBool(TidyDoc doc, const char* name, bool on)
{
    TidyOption opt = tidyGetOptionByName(doc, name);
    return opt != NULL && tidyOptSetBool(doc, tidyOptGetId(opt), on ? yes : no);
}

std::string BufferText(const TidyBuffer& buf)
{
    return buf.bp != NULL ? std::string(reinterpret_cast<const char*>(buf.bp), buf.size) : std::string();
}

// Tidy's own files can exist without being readable; a missing file is no
// error (the library's defaults apply), so it is only looked for.
bool FileExists(LPCSTR lpszPath)
{
    DWORD dw = ::GetFileAttributesA(lpszPath);
    return dw != INVALID_FILE_ATTRIBUTES && !(dw & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

LPCSTR GetTidyOptionFileName(int nCommand)
{
    return nCommand >= 0 && nCommand < TIDY_COMMAND_COUNT ? kOptionFiles[nCommand] : NULL;
}

CString GetTidyOptionFilePath(int nCommand)
{
    CString path;
    if (LPCSTR name = GetTidyOptionFileName(nCommand))
        path.Format("%s\\Tidy\\%s", GetAppDataFolder().GetString(), name);
    return path;
}

CTidyResult RunTidyCommand(int nCommand, const std::string& text, LPCSTR lpszOptionFile, int nEolMode)
{
    CTidyResult result;
    result.rc = -1;
    result.replaced = false;
    if (GetTidyOptionFileName(nCommand) == NULL) {
        result.report = "Unknown Tidy command: the document was left as it was.\n";
        return result;
    }
    // Tidy reads up to the first NUL: the rest of the text would be lost.
    if (text.find('\0') != std::string::npos) {
        result.report = "The document holds NUL characters, which Tidy cannot read: the document was left as it was.\n";
        return result;
    }

    TidyDoc doc = tidyCreate();
    TidyBuffer errors, output;
    tidyBufInit(&errors);
    tidyBufInit(&output);
    // The error buffer first, so that a damaged option file is reported too.
    int rc = tidySetErrorBuffer(doc, &errors);
    if (rc >= 0 && lpszOptionFile != NULL && *lpszOptionFile && FileExists(lpszOptionFile))
        tidyLoadConfig(doc, lpszOptionFile);
    if (rc >= 0) {
        // What the option files cannot change: the component's text is
        // UTF-8 without a mark, and its line ends stay as they are.
        static const char* const kNewlines[] = {"CRLF", "CR", "LF"};
        SetOptionValue(doc, "char-encoding", "utf8");
        SetOptionValue(doc, "output-bom", "no");
        SetOptionValue(doc, "newline", kNewlines[nEolMode >= 0 && nEolMode <= 2 ? nEolMode : 0]);
        if (nCommand == TIDY_XML_PRETTY)
            SetOptionBool(doc, "input-xml", true);
    }
    if (rc >= 0)
        rc = tidyParseString(doc, text.c_str());
    if (rc >= 0)
        rc = tidyCleanAndRepair(doc);
    if (rc >= 0)
        rc = tidyRunDiagnostics(doc);
    if (rc > 1 && !SetOptionBool(doc, "force-output", true))
        rc = -1;
    if (rc >= 0)
        rc = tidySaveBuffer(doc, &output);

    result.rc = rc;
    std::string messages = BufferText(errors);
    if (rc < 0) {
        CString severe;
        severe.Format("A severe error (%d) occurred.\n", rc);
        result.report = std::string(severe.GetString()) + messages;
    } else {
        result.output = BufferText(output);
        // Blanks alone are no text: they would wipe the document out.
        result.replaced = result.output.find_first_not_of(" \t\r\n") != std::string::npos;
        if (!result.replaced)
            result.output.clear();
        result.report = messages;
        if (!result.replaced)
            result.report += "Tidy gave no text back: the document was left as it was.\n";
    }
    tidyBufFree(&output);
    tidyBufFree(&errors);
    tidyRelease(doc);
    return result;
}

CString CheckXmlWellFormed(const std::string& text)
{
    CString result;
    // XML allows no NUL character, and the parser would stop at the first
    // one and judge only the text before it.
    const size_t nNul = text.find('\0');
    if (nNul != std::string::npos) {
        const size_t nLineStart = text.find_last_of('\n', nNul == 0 ? 0 : nNul - 1);
        const int nRow = 1 + (int)std::count(text.begin(), text.begin() + (std::ptrdiff_t)nNul, '\n');
        const int nCol = 1 + (int)(nLineStart == std::string::npos || nNul == 0 ? nNul : nNul - nLineStart - 1);
        result.Format("Line: %d Col: %d Error parsing xml := 'NUL character'.", nRow, nCol);
        return result;
    }
    TiXmlDocument doc;
    ParseXmlText(doc, text);
    if (!doc.Error()) {
        result = "** document is well formed **";
    } else {
        // TinyXML counts rows and columns from 1 already.
        result.Format("Line: %d Col: %d Error parsing xml := '%s'.", doc.ErrorRow(), doc.ErrorCol(),
                      doc.ErrorDesc() != NULL ? doc.ErrorDesc() : "");
    }
    return result;
}
