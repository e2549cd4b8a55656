#include "CharTables.h"

#include <memory>

namespace filescan {

namespace {

std::unique_ptr<CharTables> BuildTables()
{
    std::unique_ptr<CharTables> t(new CharTables);
    // The platform's case mapping and character types, one chunk at a time.
    const int chunk = 4096;
    bool wordChar[chunk];
    bool spaceChar[chunk];
    for (int base = 0; base < 65536; base += chunk) {
        PlatformCharacters(static_cast<uint16_t>(base), chunk, t->lower + base, t->upper + base, wordChar, spaceChar);
        for (int i = 0; i < chunk; ++i) {
            const int c = base + i;
            uint8_t f = 0;
            if (c < 128) {
                if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_')
                    f |= CharTables::Word;
                if (c == ' ' || (c >= 9 && c <= 13))
                    f |= CharTables::Space;
            } else {
                if (wordChar[i])
                    f |= CharTables::Word;
                if (spaceChar[i])
                    f |= CharTables::Space;
            }
            t->flags[c] = f;
        }
    }
    for (int c = 0; c < 65536; ++c) {
        // ASCII folds only within ASCII; nothing else folds into ASCII (so the
        // Kelvin sign or a dotted capital I never equal 'k' or 'i').
        if (c < 128) {
            t->lower[c] = static_cast<uint16_t>((c >= 'A' && c <= 'Z') ? c + 32 : c);
            t->upper[c] = static_cast<uint16_t>((c >= 'a' && c <= 'z') ? c - 32 : c);
        } else {
            if (t->lower[c] < 128)
                t->lower[c] = static_cast<uint16_t>(c);
            if (t->upper[c] < 128)
                t->upper[c] = static_cast<uint16_t>(c);
        }
        // Surrogate halves are never folded.
        if (c >= 0xD800 && c <= 0xDFFF) {
            t->lower[c] = static_cast<uint16_t>(c);
            t->upper[c] = static_cast<uint16_t>(c);
        }
    }
    for (int c = 0; c < 65536; ++c)
        t->foldCount[c] = 0;
    for (int c = 0; c < 65536; ++c) {
        uint8_t& n = t->foldCount[t->lower[c]];
        if (n < 255)
            ++n;
    }
    return t;
}

} // namespace

const CharTables& Chars()
{
    static const std::unique_ptr<CharTables> tables = BuildTables();
    return *tables;
}

int CaseVariants(wchar_t c, wchar_t* out, int max)
{
    const CharTables& t = Chars();
    const uint16_t key = t.lower[static_cast<uint16_t>(c)];
    int n = 0;
    auto add = [&](uint16_t v) {
        if (t.lower[v] != key || n >= max)
            return;
        for (int i = 0; i < n; ++i)
            if (out[i] == static_cast<wchar_t>(v))
                return;
        out[n++] = static_cast<wchar_t>(v);
    };
    add(static_cast<uint16_t>(c));
    add(key);
    add(t.upper[static_cast<uint16_t>(c)]);
    add(t.upper[key]);
    if (n < t.foldCount[key]) {
        // Some character folds here without being an upper case of it.
        for (int v = 0; v < 65536 && n < max; ++v)
            add(static_cast<uint16_t>(v));
    }
    return n;
}

bool HasNoCaseVariants(wchar_t c)
{
    const CharTables& t = Chars();
    return t.foldCount[t.lower[static_cast<uint16_t>(c)]] == 1;
}

} // namespace filescan
