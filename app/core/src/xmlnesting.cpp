// xmlnesting.cpp - the quick nesting scan of XML texts.
#include "xmlnesting.h"

#include <cctype>
#include <cstring>

namespace {

bool StartsWith(const char* p, const char* pEnd, const char* pszPrefix)
{
    const size_t n = strlen(pszPrefix);
    return (size_t)(pEnd - p) >= n && memcmp(p, pszPrefix, n) == 0;
}

// The bytes the parser takes as one character at p. Once it reads UTF-8, a
// lead byte takes as many bytes as its kind says, whatever they are (so a
// '<' or a quote right behind a lead byte is swallowed); before that, and in
// a text that declares another encoding, a byte is a character.
size_t CharLength(const char* p, const char* pEnd, bool bUtf8)
{
    size_t n = 1;
    if (bUtf8) {
        const unsigned char c = (unsigned char)*p;
        n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 && c <= 0xEF ? 3
                                     : c >= 0xC2 && c <= 0xDF   ? 2
                                                                : 1;
    }
    const size_t nLeft = (size_t)(pEnd - p);
    return n < nLeft ? n : nLeft;
}

// The first position after pszClose at or after p, stepping by bytes or, for
// the texts the parser reads by characters, by characters; pEnd when there
// is none.
const char* After(const char* p, const char* pEnd, const char* pszClose, bool bUtf8 = false)
{
    const size_t n = strlen(pszClose);
    while ((size_t)(pEnd - p) >= n) {
        if (memcmp(p, pszClose, n) == 0)
            return p + n;
        p += CharLength(p, pEnd, bUtf8);
    }
    return pEnd;
}

// Whether the text at p begins with pszWord, letters in any case.
bool StartsWithNoCase(const char* p, const char* pEnd, const char* pszWord)
{
    const size_t n = strlen(pszWord);
    if ((size_t)(pEnd - p) < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (tolower((unsigned char)p[i]) != tolower((unsigned char)pszWord[i]))
            return false;
    return true;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The encoding the parser takes from a declaration (between pStart and
// pStop): UTF-8 unless its "encoding" value begins with something else than
// "UTF-8" or "UTF8" (in any case), quoted or not.
bool DeclaresUtf8(const char* pStart, const char* pStop)
{
    const char* p = pStart;
    while (p < pStop && !StartsWithNoCase(p, pStop, "encoding"))
        ++p;
    if (p >= pStop)
        return true;
    p += 8;
    while (p < pStop && IsSpace(*p))
        ++p;
    if (p >= pStop || *p != '=')
        return true;
    ++p;
    while (p < pStop && IsSpace(*p))
        ++p;
    if (p < pStop && (*p == '"' || *p == '\''))
        ++p;
    if (p >= pStop)
        return true;
    return StartsWithNoCase(p, pStop, "utf-8") || StartsWithNoCase(p, pStop, "utf8");
}

// Whether the byte at p may begin an element name for the parser: an ASCII
// letter, '_', or any byte from 0x7F up (which it takes for a letter).
bool StartsElement(const char* p, const char* pEnd)
{
    if (p >= pEnd)
        return false;
    const unsigned char c = (unsigned char)*p;
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x7F;
}

} // namespace

bool XmlNestingWithin(const char* pText, size_t nLength, int nMaxDepth)
{
    if (pText == nullptr)
        return true;
    const char* p = pText;
    const char* const pEnd = pText + nLength;
    int nDepth = 0;
    // How the parser reads characters: a byte-order mark makes it UTF-8 at
    // once; otherwise the first declaration decides.
    bool bUtf8 = StartsWith(p, pEnd, "\xEF\xBB\xBF");
    bool bDecided = bUtf8;
    while (p < pEnd) {
        if (*p != '<') {
            p += CharLength(p, pEnd, bUtf8);
            continue;
        }
        if (!bDecided && nDepth == 0 && StartsWithNoCase(p, pEnd, "<?xml")) {
            const char* pStop = After(p + 5, pEnd, ">");
            bUtf8 = DeclaresUtf8(p + 5, pStop);
            bDecided = true;
            p = pStop;
            continue;
        }
        // What the parser reads past without nesting. A processing
        // instruction or declaration may end at its first '>' for the
        // parser, so the scan ends it there too (what follows is counted).
        if (StartsWith(p, pEnd, "<!--")) {
            p = After(p + 4, pEnd, "-->", bUtf8);
        } else if (StartsWith(p, pEnd, "<![CDATA[")) {
            p = After(p + 9, pEnd, "]]>");
        } else if (StartsWith(p, pEnd, "<?") || StartsWith(p, pEnd, "<!")) {
            p = After(p + 2, pEnd, ">");
        } else if (StartsWith(p, pEnd, "</")) {
            if (nDepth > 0)
                --nDepth;
            p = After(p + 2, pEnd, ">");
        } else if (!StartsElement(p + 1, pEnd)) {
            // Not a tag for the parser either: it reads such a '<' as an
            // unknown node up to its first '>', quotes or not.
            p = After(p + 1, pEnd, ">");
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
                    else
                        p += CharLength(p, pEnd, bUtf8) - 1;
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
