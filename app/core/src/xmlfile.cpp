// xmlfile.cpp - loading TinyXML documents with a bounded nesting depth and
// saving them through a temporary file.
#include "xmlfile.h"
#include "textfile.h"

#include <tinyxml.h>

#include <cstring>
#include <string>

namespace {

bool StartsWith(const char* p, const char* pEnd, const char* pszPrefix)
{
    const size_t n = strlen(pszPrefix);
    return (size_t)(pEnd - p) >= n && memcmp(p, pszPrefix, n) == 0;
}

// The first position after pszClose at or after p; pEnd when there is none.
const char* After(const char* p, const char* pEnd, const char* pszClose)
{
    const size_t n = strlen(pszClose);
    for (; (size_t)(pEnd - p) >= n; ++p)
        if (memcmp(p, pszClose, n) == 0)
            return p + n;
    return pEnd;
}

} // namespace

bool XmlNestingWithin(const char* pText, size_t nLength, int nMaxDepth)
{
    if (pText == NULL)
        return true;
    const char* p = pText;
    const char* const pEnd = pText + nLength;
    int nDepth = 0;
    while (p < pEnd) {
        if (*p != '<') {
            ++p;
            continue;
        }
        // What the parser reads past without nesting. A processing
        // instruction or declaration may end at its first '>' for the
        // parser, so the scan ends it there too (what follows is counted).
        if (StartsWith(p, pEnd, "<!--")) {
            p = After(p + 4, pEnd, "-->");
        } else if (StartsWith(p, pEnd, "<![CDATA[")) {
            p = After(p + 9, pEnd, "]]>");
        } else if (StartsWith(p, pEnd, "<?") || StartsWith(p, pEnd, "<!")) {
            p = After(p + 2, pEnd, ">");
        } else if (StartsWith(p, pEnd, "</")) {
            if (nDepth > 0)
                --nDepth;
            p = After(p + 2, pEnd, ">");
        } else {
            // A start tag: up to its '>' outside quoted values (a quote
            // opens a value only right after '='); "/>" closes it.
            char chQuote = 0;
            char chLast = 0;
            ++p;
            while (p < pEnd && (chQuote != 0 || *p != '>')) {
                if (chQuote != 0) {
                    if (*p == chQuote)
                        chQuote = 0;
                } else if ((*p == '"' || *p == '\'') && chLast == '=') {
                    chQuote = *p;
                } else if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') {
                    chLast = *p;
                }
                ++p;
            }
            if (p < pEnd)
                ++p;
            if (chLast != '/' && ++nDepth > nMaxDepth)
                return false;
        }
    }
    return true;
}

BOOL LoadXmlFile(TiXmlDocument& doc, LPCSTR lpszPath, CString& error)
{
    error.Empty();
    std::string data;
    if (lpszPath == NULL || !ReadWholeFile(lpszPath, data)) {
        error = "Failed to open file";
        return FALSE;
    }
    if (!XmlNestingWithin(data.data(), data.size())) {
        error.Format("Elements nested more than %d deep", (int)XML_MAX_NESTING);
        return FALSE;
    }
    // Line ends as TinyXML's own file loading reads them.
    std::string text;
    text.reserve(data.size());
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\r') {
            text += '\n';
            if (i + 1 < data.size() && data[i + 1] == '\n')
                ++i;
        } else {
            text += data[i];
        }
    }
    doc.SetValue(lpszPath);
    doc.Parse(text.c_str(), NULL, TIXML_DEFAULT_ENCODING);
    if (doc.Error()) {
        error = doc.ErrorDesc();
        return FALSE;
    }
    return TRUE;
}

bool FileHasUtf8Mark(LPCSTR lpszPath)
{
    BYTE head[3] = {0, 0, 0};
    HANDLE hFile = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD nRead = 0;
    BOOL bOk = ::ReadFile(hFile, head, sizeof(head), &nRead, NULL);
    ::CloseHandle(hFile);
    return bOk && nRead == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF;
}

BOOL SaveXmlDocumentSafely(TiXmlDocument& doc, LPCSTR lpszPath, bool bUtf8Mark)
{
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    printer.SetLineBreak("\r\n");
    doc.Accept(&printer);
    std::string data;
    if (bUtf8Mark)
        data = "\xEF\xBB\xBF";
    data.append(printer.CStr(), printer.Size());
    return WriteFileSafely(lpszPath, data.data(), data.size());
}
