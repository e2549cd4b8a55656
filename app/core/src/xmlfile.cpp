// xmlfile.cpp - loading TinyXML documents with a bounded nesting depth
// (xmlnesting.cpp) and saving them through a temporary file.
#include "xmlfile.h"
#include "xmlparse.h"
#include "fx/file.h"
#include "textfile.h"

#include <tinyxml.h>

#include <cstring>
#include <string>

BOOL LoadXmlFile(TiXmlDocument& doc, LPCSTR lpszPath, CString& error)
{
    error.Empty();
    std::string data;
    if (lpszPath == NULL || !fx::ReadWholeFile(lpszPath, data)) {
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
    ParseXmlText(doc, text);
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
