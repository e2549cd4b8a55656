// xmlnesting.cpp - the quick nesting scan of XML texts.
#include "xmlnesting.h"

#include <cstring>

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
