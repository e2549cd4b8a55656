// xmlnesting.h - the nesting bound of the XML files the editor reads, checked
// before TinyXML sees a text. Plain bytes only: the host build tests it too.
#pragma once

#include <cstddef>

// TinyXML parses, prints and frees nested elements recursively: a document
// nested deep enough overflows the stack. Every file the editor reads nests
// a few levels; anything deeper than this is refused before parsing.
enum {
    XML_MAX_NESTING = 256
};

// Whether the elements of an XML text nest at most nMaxDepth deep. A quick
// scan that never counts fewer levels than the parser would recurse:
// comments, CDATA sections, declarations and processing instructions are
// skipped as the parser skips them, quoted attribute values are passed
// over, and an element left open counts as open. An empty element ("<x/>")
// opens no level: the parser reads it in one more call, no deeper, so a text
// that passes makes the parser recurse at most nMaxDepth + 1 levels.
bool XmlNestingWithin(const char* pText, size_t nLength, int nMaxDepth = XML_MAX_NESTING);
