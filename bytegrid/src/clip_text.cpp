#include "clip_text.h"

namespace bytegrid {

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

std::string BytesToHexText(const uint8_t* bytes, size_t n)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(n * 3 + n / 16 + 2);
    for (size_t i = 0; i < n; ++i) {
        if (i) {
            if (i % 16 == 0)
                s += "\r\n";
            else
                s += ' ';
        }
        s += digits[bytes[i] >> 4];
        s += digits[bytes[i] & 15];
    }
    return s;
}

std::string BytesToCharText(const uint8_t* bytes, size_t n)
{
    std::string s(reinterpret_cast<const char*>(bytes), n);
    for (char& c : s)
        if (c == '\0')
            c = '.';
    return s;
}

bool HexTextToBytes(const char* text, size_t n, std::vector<uint8_t>* out)
{
    out->clear();
    size_t i = 0;
    while (i < n) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        // One word of digits: it must hold whole pairs.
        size_t start = out->size();
        size_t digits = 0;
        int high = 0;
        for (; i < n && !IsBlank(text[i]); ++i, ++digits) {
            int v = HexValue(text[i]);
            if (v < 0) {
                out->clear();
                return false;
            }
            if (digits % 2 == 0)
                high = v;
            else
                out->push_back(static_cast<uint8_t>(high << 4 | v));
        }
        if (digits % 2 != 0 || out->size() == start) {
            out->clear();
            return false;
        }
    }
    return !out->empty();
}

} // namespace bytegrid
