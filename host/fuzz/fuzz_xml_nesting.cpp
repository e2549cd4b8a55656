// Fuzzes the nesting scan that guards TinyXML: whenever the scan lets a text
// through with a bound, the elements TinyXML builds from it nest no deeper
// than one past that bound (an empty element as the last level), as the scan
// promises. TinyXML recurses once per level, so a text that slipped under
// the scan could overflow the stack.
//
// Input: byte 0 chooses the bound (1 to 8), the rest is the XML text.
#include "fuzz_support.h"
#include "xmlparse.h"
#include "xmlnesting.h"

#include <tinyxml.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

using fuzz::Require;

namespace {

// The deepest element of a parsed document (the document itself is level 0).
int Depth(const TiXmlNode* root)
{
    int deepest = 0;
    std::vector<std::pair<const TiXmlNode*, int>> todo{{root, 0}};
    while (!todo.empty()) {
        const auto [node, level] = todo.back();
        todo.pop_back();
        for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) {
            if (child->ToElement()) {
                deepest = level + 1 > deepest ? level + 1 : deepest;
                todo.push_back({child, level + 1});
            }
        }
    }
    return deepest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int bound = 1 + data[0] % 8;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (!XmlNestingWithin(text.data(), text.size(), bound))
        return 0;
    TiXmlDocument doc;
    ParseXmlText(doc, text);
    Require(Depth(&doc) <= bound + 1);
    return 0;
}
