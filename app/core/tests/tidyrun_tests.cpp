// HTML Tidy runs and the XML check on plain text: what each command makes of
// small HTML and XML texts, with and without option files, failed and empty
// runs, text in other scripts, and the XML check's messages.
#include "coretest.h"
#include "tidyrun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using coretest::WriteBytes;

namespace {

std::string Shipped(const char* name)
{
    std::string path = std::string(QM_SOURCE_DIR) + "/resources/tidy/" + name;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

enum {
    CRLF = 0,
    CR = 1,
    LF = 2
};

struct TidyCase {
    const char* name;
    int command;
    bool withFile; // the shipped option file, else none
    std::string input;
    int eol;
    bool replaced;
    std::vector<std::string> contains; // parts of the output (of the report when not replaced)
    std::vector<std::string> lacks;    // parts the output must not have
};

const TidyCase kCases[] = {
    {"html repaired", TIDY_HTML_CLEAN, true, "<title>t</title><p>Hello <b>world", LF, true, {"<!DOCTYPE html>", "<title>t</title>", "<b>world</b>", "</html>\n"}, {"generator", "\r"}},
    {"html keeps crlf", TIDY_HTML_CLEAN, true, "<title>t</title><p>x", CRLF, true, {"</head>\r\n", "</html>\r\n"}, {}},
    {"html keeps cr", TIDY_HTML_CLEAN, true, "<title>t</title><p>x", CR, true, {"</head>\r<body>"}, {"\n"}},
    {"html other scripts", TIDY_HTML_CLEAN, true, "<title>Caf\xc3\xa9</title><p>\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", LF, true, {"Caf\xc3\xa9", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82"}, {"&eacute;", "&#"}},
    {"html without option file", TIDY_HTML_CLEAN, false, "<title>t</title><p>x", LF, true, {"<p>x</p>"}, {}},
    {"empty html", TIDY_HTML_CLEAN, true, "", LF, true, {"<html>", "</html>"}, {}},
    {"blank xml", TIDY_XML_PRETTY, true, "  \n\t", LF, false, {"left as it was"}, {}},
    {"xhtml", TIDY_XHTML_CLEAN, true, "<title>t</title><p>a<br>b", LF, true, {"xmlns=\"http://www.w3.org/1999/xhtml\"", "<br />"}, {}},
    {"xml pretty", TIDY_XML_PRETTY, true, "<a><b x=\"1\">\xc3\xa9</b><c/></a>", LF, true, {"<a>\n  <b x=\"1\">\xc3\xa9</b>\n  <c />\n</a>\n"}, {"<html", "<body"}},
    {"xml pretty without its file", TIDY_XML_PRETTY, false, "<a><b>x</b></a>", LF, true, {"<a>", "<b>x</b>", "</a>"}, {"<html", "<body", "<head"}},
    {"empty xml", TIDY_XML_PRETTY, true, "", LF, false, {"left as it was"}, {}},
    {"nul inside", TIDY_HTML_CLEAN, true, std::string("<p>a\0b", 7), LF, false, {"NUL", "left as it was"}, {}},
    {"unknown command", 7, false, "<p>x", LF, false, {"left as it was"}, {}},
};

TEST(TidyRun, CommandsOverSmallTexts)
{
    for (const TidyCase& c : kCases) {
        SCOPED_TRACE(c.name);
        LPCSTR name = GetTidyOptionFileName(c.command);
        std::string file = c.withFile && name != NULL ? Shipped(name) : std::string();
        CTidyResult r = RunTidyCommand(c.command, c.input, file.empty() ? NULL : file.c_str(), c.eol);
        EXPECT_EQ(r.replaced, c.replaced) << r.report;
        const std::string& where = c.replaced ? r.output : r.report;
        for (const std::string& part : c.contains)
            EXPECT_NE(where.find(part), std::string::npos) << "[" << part << "] in\n"
                                                           << where;
        for (const std::string& part : c.lacks)
            EXPECT_EQ(r.output.find(part), std::string::npos) << "[" << part << "] in\n"
                                                              << r.output;
        if (!c.replaced) {
            EXPECT_TRUE(r.output.empty());
        }
    }
}

// An option file that asks for another encoding, a mark or ASCII output
// cannot garble the editor's UTF-8 text; a damaged file is reported and
// Tidy's defaults apply.
TEST(TidyRun, OptionFilesCannotChangeTheEncodingAndBadOnesAreReported)
{
    qmtest::TempDir temp;
    WriteBytes(temp.Path("latin.tidy"), "char-encoding: latin1\noutput-bom: yes\nnewline: CRLF\n");
    CTidyResult r = RunTidyCommand(TIDY_HTML_CLEAN, "<title>\xc3\xa9</title><p>\xe2\x82\xac", (temp.Path("latin.tidy")).c_str(), LF);
    ASSERT_TRUE(r.replaced) << r.report;
    EXPECT_NE(r.output.find("<title>\xc3\xa9</title>"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\xe2\x82\xac"), std::string::npos) << r.output;
    EXPECT_NE(r.output.compare(0, 3, "\xef\xbb\xbf"), 0) << "no byte-order mark in the text";
    EXPECT_EQ(r.output.find('\r'), std::string::npos);

    WriteBytes(temp.Path("bad.tidy"), "no-such-option: 12\nindent: sideways\n");
    r = RunTidyCommand(TIDY_HTML_CLEAN, "<p>x", (temp.Path("bad.tidy")).c_str(), LF);
    EXPECT_TRUE(r.replaced);
    EXPECT_NE(r.report.find("no-such-option"), std::string::npos) << r.report;

    // A missing file: Tidy's defaults, nothing to report about the file.
    r = RunTidyCommand(TIDY_HTML_CLEAN, "<p>x", (temp.Path("missing.tidy")).c_str(), LF);
    EXPECT_TRUE(r.replaced);
}

TEST(TidyRun, OptionFilePaths)
{
    EXPECT_STREQ(GetTidyOptionFileName(TIDY_HTML_CLEAN), "html_clean.tidy");
    EXPECT_STREQ(GetTidyOptionFileName(TIDY_XHTML_CLEAN), "xhtml_clean.tidy");
    EXPECT_STREQ(GetTidyOptionFileName(TIDY_XML_PRETTY), "xml_pretty_print.tidy");
    EXPECT_EQ(GetTidyOptionFileName(-1), nullptr);
    EXPECT_EQ(std::string(GetTidyOptionFilePath(TIDY_XML_PRETTY)),
              coretest::ProfileEnvironment::DataRoot() + "\\Fernbright\\Quillmate\\Tidy\\xml_pretty_print.tidy");
}

struct XmlCase {
    const char* name;
    std::string text;
    std::string report; // whole report, or its start when it ends with "*"
};

const XmlCase kXml[] = {
    {"well formed", "<?xml version=\"1.0\"?>\n<a><b x=\"1\">\xc3\xa9</b></a>\n", "** document is well formed **"},
    {"first line", "<a><b></a>", "Line: 1 Col: *"},
    {"third line", "<a>\r\n<b/>\r\n<c></d>\r\n</a>", "Line: 3 Col: *"},
    {"unclosed attribute", "<a>\n<b x=\"1></b>\n</a>", "Line: 2 Col: *"},
    {"nul on the second line", std::string("<a>\n<b>x\0</b></a>", 17), "Line: 2 Col: 5 Error parsing xml := 'NUL character'."},
    {"nul first", std::string("\0<a/>", 5), "Line: 1 Col: 1 Error parsing xml := 'NUL character'."},
    // No place applies: TinyXML says row and column 0.
    {"empty", "", "Line: 0 Col: 0 Error parsing xml := 'Error document empty.'."},
};

TEST(XmlCheck, ReportsTheOneBasedPlaceOfTheFirstError)
{
    for (const XmlCase& c : kXml) {
        SCOPED_TRACE(c.name);
        std::string got = CheckXmlWellFormed(c.text).GetString();
        // "*" stands for the column (or any place) the parser reports.
        size_t star = c.report.find('*', 2);
        if (star == std::string::npos || c.report[0] == '*') {
            EXPECT_EQ(got, c.report);
        } else {
            const std::string tail = c.report.substr(star + 1);
            EXPECT_EQ(got.compare(0, star, c.report, 0, star), 0) << got;
            EXPECT_TRUE(got.size() >= tail.size() && got.compare(got.size() - tail.size(), tail.size(), tail) == 0)
                << got;
        }
        if (got.rfind("Line:", 0) == 0) {
            EXPECT_NE(got.find("Error parsing xml := '"), std::string::npos) << got;
        }
    }
}

} // namespace
