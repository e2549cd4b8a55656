// xmlfile.h - saving TinyXML documents without risking the old file.
#pragma once

#include <windows.h>

class TiXmlDocument;

// Whether the file starts with a UTF-8 byte-order mark.
bool FileHasUtf8Mark(LPCSTR lpszPath);

// Prints the document as TinyXML saves it (four-blank indent, CR LF line
// breaks, the UTF-8 mark when asked for) and replaces the file only when
// all of it was written. FALSE leaves the old file as it was.
BOOL SaveXmlDocumentSafely(TiXmlDocument& doc, LPCSTR lpszPath, bool bUtf8Mark);
