// xmlfile.cpp - saving TinyXML documents through a temporary file.
#include "xmlfile.h"
#include "textfile.h"

#include <tinyxml.h>

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
