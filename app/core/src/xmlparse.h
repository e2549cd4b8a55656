// xmlparse.h - hands a text to TinyXML.
#pragma once

#include <tinyxml.h>

#include <string>

// Parses text into doc. TinyXML reads a UTF-8 lead byte with the bytes its
// kind promises, whatever they are, so a lead byte at the very end of the
// text would take it past the terminating zero: the text goes in with zeros
// enough behind it for the longest character.
inline void ParseXmlText(TiXmlDocument& doc, const std::string& text)
{
    std::string padded;
    padded.reserve(text.size() + 4);
    padded.append(text.c_str()); // the parser stops at the first zero anyway
    padded.append(4, '\0');
    doc.Parse(padded.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
}
