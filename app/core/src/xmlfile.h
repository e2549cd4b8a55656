// xmlfile.h - loading TinyXML documents safely and saving them without
// risking the old file.
#pragma once

#include <windows.h>

#include <cstddef>

#include "fx/string.h"
#include "xmlnesting.h"

class TiXmlDocument;

// Loads an XML file as TiXmlDocument::LoadFile does (CR LF and CR read as
// LF), but refuses a file nested deeper than XML_MAX_NESTING before TinyXML
// sees it. FALSE when the file cannot be read, nests too deep or does not
// parse; error then says why (the parser's description where it parsed).
BOOL LoadXmlFile(TiXmlDocument& doc, LPCSTR lpszPath, CString& error);

// Whether the file starts with a UTF-8 byte-order mark.
bool FileHasUtf8Mark(LPCSTR lpszPath);

// Prints the document as TinyXML saves it (four-blank indent, CR LF line
// breaks, the UTF-8 mark when asked for) and replaces the file only when
// all of it was written. FALSE leaves the old file as it was.
BOOL SaveXmlDocumentSafely(TiXmlDocument& doc, LPCSTR lpszPath, bool bUtf8Mark);
