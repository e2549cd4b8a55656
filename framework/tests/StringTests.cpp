// Strings: construction, editing, searching, formatting, conversions and
// resource strings.
#include "TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using fxtest::Throws;

namespace {

struct FormatCase {
    const char* name;
    std::function<CString()> make;
    const char* expected;
};

CString Fmt(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    CString s;
    s.FormatV(fmt, args);
    va_end(args);
    return s;
}

} // namespace

TEST(StringFormat, TableOfFormats)
{
    const CString strArg("text");
    const CStringW wideArg(L"wide");
    const FormatCase cases[] = {
        {"integers", [] { CString s; s.Format("%d|%5d|%-5d|%05d", 42, -7, 3, 12); return s; }, "42|   -7|3    |00012"},
        {"hex and char", [] { CString s; s.Format("%x %X %c", 255, 0xABC, 'Q'); return s; }, "ff ABC Q"},
        {"floating", [] { CString s; s.Format("%.2f %g %e", 3.14159, 0.5, 1250.0); return s; }, "3.14 0.5 1.250000e+003"},
        {"64-bit", [] { CString s; s.Format("%I64d %I64u", (LONGLONG)-5000000000LL, (ULONGLONG)18000000000ULL); return s; }, "-5000000000 18000000000"},
        {"percent", [] { CString s; s.Format("100%%"); return s; }, "100%"},
        {"string object for %s", [&] { CString s; s.Format("[%s]", strArg); return s; }, "[text]"},
        {"wide string for %S", [&] { CString s; s.Format("[%S]", wideArg); return s; }, "[wide]"},
        {"wide literal for %S", [] { CString s; s.Format("[%S]", L"lit"); return s; }, "[lit]"},
        {"null %s", [] { CString s; s.Format("%s", (const char*)NULL); return s; }, "(null)"},
        {"width on string", [] { CString s; s.Format("%-6s|%6s", "ab", "cd"); return s; }, "ab    |    cd"},
        {"empty format", [] { CString s("old"); s.Format(""); return s; }, ""},
        {"FormatV", [] { return Fmt("%s-%d", "v", 9); }, "v-9"},
        {"append", [] { CString s("a"); s.AppendFormat("%d%s", 1, "b"); s.AppendFormat("!"); return s; }, "a1b!"},
        {"self as argument", [] { CString s("me"); s.Format("<%s>", s); return s; }, "<me>"},
        {"self appended", [] { CString s("x"); s.AppendFormat("%s%s", s, s); return s; }, "xxx"},
        {"resource format", [] { CString s; s.Format(101, 7, "seven"); return s; }, "Value: 7 and seven"},
    };
    for (const FormatCase& c : cases)
        EXPECT_STREQ(c.expected, c.make().GetString()) << c.name;
}

TEST(StringFormat, WideFormatSwapsSAndCapitalS)
{
    CStringW w;
    CString narrow("nar");
    w.Format(L"%s/%S/%d", L"wide", narrow, 5);
    EXPECT_STREQ(L"wide/nar/5", w.GetString());
}

TEST(StringFormat, LongOutputIsNotTruncated)
{
    CString big('x', 100000);
    CString s;
    s.Format("<%s>%d", big, 12345);
    ASSERT_EQ(100000 + 2 + 5, s.GetLength());
    EXPECT_EQ('<', s[0]);
    EXPECT_STREQ("12345", s.Right(5).GetString());
}

TEST(StringTokenize, TableOfInputs)
{
    struct Case {
        const char* text;
        const char* delims;
        std::vector<std::string> tokens;
    } cases[] = {
        {"a,b,c", ",", {"a", "b", "c"}},
        {",,a,,b,,", ",", {"a", "b"}},
        {"one two\tthree", " \t", {"one", "two", "three"}},
        {"", ",", {}},
        {",,,", ",", {}},
        {"single", ",", {"single"}},
        {"no delimiters given", "", {"no delimiters given"}},
        {"a;b c", "; ", {"a", "b", "c"}},
    };
    for (const Case& c : cases) {
        CString s(c.text);
        std::vector<std::string> got;
        int pos = 0;
        for (int guard = 0; guard < 100; ++guard) {
            CString tok = s.Tokenize(c.delims, pos);
            if (pos == -1) {
                EXPECT_TRUE(tok.IsEmpty());
                break;
            }
            got.push_back(tok.GetString());
        }
        EXPECT_EQ(c.tokens, got) << "text: " << c.text;
        EXPECT_EQ(-1, pos) << "tokenizing must end: " << c.text;
    }
}

TEST(StringTokenize, NegativeStartIsRejected)
{
    CString s("a,b");
    int pos = -1;
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.Tokenize(",", pos); }));
}

TEST(StringReplace, TableOfReplacements)
{
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        const char* expected;
        int count;
    } cases[] = {
        {"hello world", "o", "0", "hell0 w0rld", 2},
        {"aaa", "aa", "b", "ba", 1}, // matches do not overlap
        {"aaaa", "aa", "b", "bb", 2},
        {"abc", "", "x", "abc", 0},     // empty pattern changes nothing
        {"abcabc", "b", "", "acac", 2}, // empty replacement removes
        {"a.a", "a", "aa", "aa.aa", 2}, // replacement holds the pattern
        {"xyz", "q", "r", "xyz", 0},
        {"", "a", "b", "", 0},
        {"tail--", "--", "+", "tail+", 1},
    };
    for (const Case& c : cases) {
        CString s(c.text);
        EXPECT_EQ(c.count, s.Replace(c.from, c.to)) << c.text;
        EXPECT_STREQ(c.expected, s.GetString()) << c.text;
    }
    CString s("a-b-c");
    EXPECT_EQ(2, s.Replace('-', '+'));
    EXPECT_STREQ("a+b+c", s.GetString());
    EXPECT_EQ(0, s.Replace('+', '+'));
}

TEST(StringExtract, MidLeftRightClampToTheString)
{
    struct Case {
        const char* name;
        CString value;
        const char* expected;
    };
    const CString s("abcdef");
    const Case cases[] = {
        {"Mid(2)", s.Mid(2), "cdef"},
        {"Mid(2,2)", s.Mid(2, 2), "cd"},
        {"Mid(-3,2)", s.Mid(-3, 2), "ab"},
        {"Mid(4,100)", s.Mid(4, 100), "ef"},
        {"Mid(6)", s.Mid(6), ""},
        {"Mid(99,1)", s.Mid(99, 1), ""},
        {"Mid(1,-1)", s.Mid(1, -1), ""},
        {"Left(3)", s.Left(3), "abc"},
        {"Left(-1)", s.Left(-1), ""},
        {"Left(10)", s.Left(10), "abcdef"},
        {"Right(2)", s.Right(2), "ef"},
        {"Right(0)", s.Right(0), ""},
        {"Right(10)", s.Right(10), "abcdef"},
        {"SpanIncluding", CString("aabbcd").SpanIncluding("ab"), "aabb"},
        {"SpanIncluding none", CString("xab").SpanIncluding("ab"), ""},
        {"SpanExcluding", CString("key=value").SpanExcluding("=;"), "key"},
        {"SpanExcluding all", CString("plain").SpanExcluding(";"), "plain"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, c.value.GetString()) << c.name;
}

TEST(StringSearch, FindVariants)
{
    const CString s("one two one");
    EXPECT_EQ(0, s.Find("one"));
    EXPECT_EQ(8, s.Find("one", 1));
    EXPECT_EQ(-1, s.Find("one", 9));
    EXPECT_EQ(-1, s.Find("one", 100));
    EXPECT_EQ(-1, s.Find("three"));
    EXPECT_EQ(4, s.Find('t'));
    EXPECT_EQ(-1, s.Find('t', 5));
    EXPECT_EQ(-1, s.Find('o', -1));
    EXPECT_EQ(10, s.ReverseFind('e'));
    EXPECT_EQ(-1, s.ReverseFind('z'));
    EXPECT_EQ(1, s.FindOneOf("xyzn"));
    EXPECT_EQ(-1, s.FindOneOf("xyz"));
    EXPECT_EQ(-1, s.FindOneOf(""));
}

TEST(StringEdit, InsertDeleteRemoveTrim)
{
    CString s("abc");
    EXPECT_EQ(4, s.Insert(1, 'X'));
    EXPECT_STREQ("aXbc", s.GetString());
    EXPECT_EQ(6, s.Insert(100, "YZ")); // past the end appends
    EXPECT_STREQ("aXbcYZ", s.GetString());
    EXPECT_EQ(7, s.Insert(-5, "_"));
    EXPECT_STREQ("_aXbcYZ", s.GetString());
    EXPECT_EQ(4, s.Delete(1, 3));
    EXPECT_STREQ("_cYZ", s.GetString());
    EXPECT_EQ(2, s.Delete(2, 100));
    EXPECT_STREQ("_c", s.GetString());
    EXPECT_EQ(2, s.Delete(5, 1));

    CString r("a,b,,c");
    EXPECT_EQ(3, r.Remove(','));
    EXPECT_STREQ("abc", r.GetString());

    struct Case {
        const char* in;
        std::function<void(CString&)> op;
        const char* out;
    } cases[] = {
        {"  \t pad \r\n", [](CString& x) { x.Trim(); }, "pad"},
        {"  left", [](CString& x) { x.TrimLeft(); }, "left"},
        {"right \n", [](CString& x) { x.TrimRight(); }, "right"},
        {"xxmidxx", [](CString& x) { x.Trim('x'); }, "mid"},
        {"--==v==--", [](CString& x) { x.Trim("-="); }, "v"},
        {"..a..", [](CString& x) { x.TrimLeft('.'); }, "a.."},
        {"..a..", [](CString& x) { x.TrimRight("."); }, "..a"},
        {"   ", [](CString& x) { x.Trim(); }, ""},
        {"abc", [](CString& x) { x.MakeReverse(); }, "cba"},
        {"MiXeD", [](CString& x) { x.MakeUpper(); }, "MIXED"},
        {"MiXeD", [](CString& x) { x.MakeLower(); }, "mixed"},
    };
    for (auto& c : cases) {
        CString x(c.in);
        c.op(x);
        EXPECT_STREQ(c.out, x.GetString()) << c.in;
    }
}

TEST(StringCompare, OrdinalCaseInsensitiveAndOperators)
{
    CString a("apple"), b("Banana"), a2("apple");
    EXPECT_EQ(0, a.Compare("apple"));
    EXPECT_GT(a.Compare("Banana"), 0); // 'a' > 'B' in ordinal order
    EXPECT_LT(a.CompareNoCase("Banana"), 0);
    EXPECT_EQ(0, CString("HeLLo").CompareNoCase("hello"));
    EXPECT_GT(a.Compare(NULL), 0);
    EXPECT_TRUE(a == a2);
    EXPECT_TRUE(a == "apple");
    EXPECT_TRUE("apple" == a);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(b < a);
    EXPECT_TRUE(CString("x") == 'x');
    // Bytes above 0x7F sort after ASCII (unsigned comparison).
    EXPECT_LT(CString("z").Compare("\xE9"), 0);
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString("") == CString((const char*)NULL));
}

TEST(StringBuffer, GetBufferAndReleaseBuffer)
{
    CString s("abc");
    char* p = s.GetBuffer(10);
    strcpy(p, "hello");
    s.ReleaseBuffer();
    EXPECT_STREQ("hello", s.GetString());
    EXPECT_EQ(5, s.GetLength());

    p = s.GetBuffer(0); // existing text stays readable
    EXPECT_EQ('h', p[0]);
    p[0] = 'j';
    s.ReleaseBuffer();
    EXPECT_STREQ("jello", s.GetString());

    p = s.GetBufferSetLength(3);
    p[0] = 'x';
    EXPECT_EQ(3, s.GetLength());
    s.ReleaseBuffer(2);
    EXPECT_STREQ("xe", s.GetString());

    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.GetBuffer(-1); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s[2]; }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.SetAt(-1, 'a'); }));
    s.SetAt(1, 'y');
    EXPECT_EQ('y', s.GetAt(1));
    EXPECT_EQ('y', s[1u]);
}

TEST(StringValue, LargeStringsMoveWithoutCopy)
{
    CString big('q', 4 * 1024 * 1024);
    big.Preallocate(4 * 1024 * 1024 + 16);
    const char* pData = big.GetString();
    CString moved(std::move(big));
    EXPECT_EQ(pData, moved.GetString());
    CString joined = std::move(moved) + "!";
    EXPECT_EQ(pData, joined.GetString());
    EXPECT_EQ(4 * 1024 * 1024 + 1, joined.GetLength());

    CString copy = joined; // copies are independent
    copy.SetAt(0, 'z');
    EXPECT_EQ('q', joined[0]);
}

// The programs run with the UTF-8 process code page, so the narrow strings
// hold UTF-8 and every conversion between the two widths keeps names in any
// language whole.
TEST(StringConvert, NarrowIsUtf8AndConvertsWhole)
{
    ASSERT_EQ(CP_UTF8, GetACP()) << "the test program's manifest sets the UTF-8 code page";
    struct Case {
        const char* narrow;
        const wchar_t* wide;
    };
    static const Case kCases[] = {
        {"caf\xC3\xA9", L"caf\u00e9"},
        {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.cpp", L"\u65e5\u672c\u8a9e.cpp"},
        {"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", L"\u0391\u03b8\u03ae\u03bd\u03b1"},
        {"\xF0\x9F\x98\x80 x", L"\U0001F600 x"},
        {"", L""},
    };
    for (const Case& c : kCases) {
        CString a(c.narrow);
        CStringW w(a);
        EXPECT_STREQ(c.wide, w.GetString()) << c.narrow;
        CString back(w);
        EXPECT_STREQ(c.narrow, back.GetString());
        CStringW assigned;
        assigned = c.narrow;
        EXPECT_STREQ(c.wide, assigned.GetString());
        EXPECT_STREQ(c.wide, (LPWSTR)CA2W(c.narrow));
        EXPECT_STREQ(c.narrow, (LPSTR)CW2A(c.wide));
        EXPECT_STREQ(c.wide, fx::ToWide(c.narrow).GetString());
        EXPECT_STREQ(c.narrow, fx::ToNarrow(c.wide).GetString());
        EXPECT_STREQ(c.narrow, fx::WideToUtf8(c.wide).GetString());
        EXPECT_STREQ(c.wide, fx::Utf8ToWide(c.narrow).GetString());
        BSTR b = a.AllocSysString();
        EXPECT_EQ(wcslen(c.wide), SysStringLen(b));
        EXPECT_STREQ(c.wide, b);
        SysFreeString(b);
    }
    EXPECT_EQ(NULL, (LPWSTR)CA2W(NULL));

    // An explicit code page still converts through that page: the legacy
    // "ANSI" of documents.
    EXPECT_STREQ(L"caf\u00e9", fx::ToWide("caf\xE9", 1252).GetString());
    EXPECT_STREQ("a?b", fx::ToNarrow(L"a\u4e2db", 1252).GetString());

    CString upper("\xC3\xA9t\xC3\xA9");
    upper.MakeUpper();
    EXPECT_STREQ("\xC3\x89T\xC3\x89", upper.GetString());
}

TEST(StringResources, LoadStringAndResourceConstruction)
{
    CString s("unchanged");
    EXPECT_TRUE(s.LoadString(100));
    EXPECT_STREQ("Hello from resources", s.GetString());
    s = "unchanged";
    EXPECT_FALSE(s.LoadString(9999));
    EXPECT_STREQ("unchanged", s.GetString());

    CString fromId((LPCSTR)MAKEINTRESOURCE(100));
    EXPECT_STREQ("Hello from resources", fromId.GetString());

    CStringW w;
    EXPECT_TRUE(w.LoadString(103));
    EXPECT_STREQ(L"caf\u00e9", w.GetString());

    CString f;
    AfxFormatString2(f, 102, "a.txt", "12");
    EXPECT_STREQ("File a.txt has 12 lines", f.GetString());
    AfxFormatString1(f, 104, "E1");
    EXPECT_STREQ("Error E1 happened", f.GetString());
}

TEST(StringHelpers, ExtractSubStringAndFileNames)
{
    struct Case {
        const char* full;
        int index;
        char sep;
        BOOL ok;
        const char* part;
    } cases[] = {
        {"a\nb\nc", 0, '\n', TRUE, "a"},
        {"a\nb\nc", 2, '\n', TRUE, "c"},
        {"a\nb\nc", 3, '\n', FALSE, ""},
        {"\n\nthird", 1, '\n', TRUE, ""},
        {"x|y", 1, '|', TRUE, "y"},
        {"", 0, '\n', TRUE, ""},
    };
    for (const Case& c : cases) {
        CString part("junk");
        EXPECT_EQ(c.ok, AfxExtractSubString(part, c.full, c.index, c.sep)) << c.full << " #" << c.index;
        EXPECT_STREQ(c.part, part.GetString()) << c.full << " #" << c.index;
    }
    CString part("junk");
    EXPECT_FALSE(AfxExtractSubString(part, NULL, 0));

    char buf[MAX_PATH];
    EXPECT_EQ(0u, AfxGetFileName("C:\\dir\\name.ext", buf, sizeof(buf)));
    EXPECT_STREQ("name.ext", buf);
    EXPECT_EQ(0u, AfxGetFileTitle("C:/dir/archive.tar.gz", buf, sizeof(buf)));
    EXPECT_STREQ("archive.tar", buf);
    EXPECT_EQ(5u, AfxGetFileTitle("C:\\x\\abcd", buf, 3)); // too small: the size needed
}
