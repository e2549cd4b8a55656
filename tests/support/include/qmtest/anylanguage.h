// Texts in any language for tests of the conversions between the process's
// char text and UTF-16. The test programs run with the UTF-8 code page, as
// the editor does, so the char form is UTF-8: Latin letters beyond ASCII,
// Japanese, Greek, and a character outside the basic plane (a surrogate
// pair in UTF-16).
#pragma once

namespace qmtest {

struct TextInAnyLanguage {
    const char* utf8;
    const wchar_t* utf16;
};

inline constexpr TextInAnyLanguage kTextsInAnyLanguage[] = {
    {"caf\xC3\xA9", L"caf\u00e9"},
    {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", L"\u65e5\u672c\u8a9e"},
    {"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1", L"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1"},
    {"\xF0\x9F\x98\x80 smile", L"\U0001F600 smile"},
};

} // namespace qmtest
