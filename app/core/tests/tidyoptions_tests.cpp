// HTML Tidy's options as the option pages list and write them: the five
// page categories, the doctype pair, the values an option file gives, and
// option files written whole or not at all.
#include "coretest.h"
#include "tidyoptions.h"

#include <tidy.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using coretest::ReadBytes;
using coretest::WriteBytes;

namespace {

const CTidyOptionInfo* Find(const std::vector<CTidyOptionInfo>& options, const char* name)
{
    for (const CTidyOptionInfo& o : options)
        if (o.name == name)
            return &o;
    return nullptr;
}

TEST(TidyOptions, TwelveCategoriesMapToFivePages)
{
    const struct {
        int tidy;
        int page;
    } cases[] = {
        {TidyMarkupCleanup, TIDY_PAGE_MARKUP},
        {TidyMarkupEntities, TIDY_PAGE_MARKUP},
        {TidyMarkupRepair, TIDY_PAGE_MARKUP},
        {TidyMarkupTeach, TIDY_PAGE_MARKUP},
        {TidyMarkupXForm, TIDY_PAGE_MARKUP},
        {TidyDiagnostics, TIDY_PAGE_DIAGNOSTICS},
        {TidyPrettyPrint, TIDY_PAGE_PRETTY_PRINT},
        {TidyEncoding, TIDY_PAGE_ENCODING},
        {TidyDocumentIO, TIDY_PAGE_MISCELLANEOUS},
        {TidyFileIO, TIDY_PAGE_MISCELLANEOUS},
        {TidyDisplay, TIDY_PAGE_MISCELLANEOUS},
        {TidyInternalCategory, TIDY_PAGE_UNLISTED},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapTidyCategory(c.tidy), c.page) << c.tidy;
    const char* captions[] = {"Markup", "Diagnostics", "Pretty Print", "Encoding", "Miscellaneous", "No Category"};
    for (int i = 0; i <= 5; ++i)
        EXPECT_STREQ(GetTidyCategoryCaption(i == 5 ? 17 : i), captions[i]);
}

TEST(TidyOptions, DocumentationBecomesPlainText)
{
    const struct {
        const char* doc;
        const char* plain;
    } cases[] = {
        {"If set to <var>auto</var> Tidy decides.", "If set to auto Tidy decides."},
        {"first<br/>second", "first\r\nsecond"},
        {"tags such as <code>&lt;title&gt;</code> &amp; more", "tags such as <title> & more"},
        {"an unknown &entity; stays", "an unknown &entity; stays"},
        {"cut <b", "cut "},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(TidyDocToPlainText(c.doc)), c.plain) << c.doc;
}

// Every option but the internal ones and doctype-mode is listed once, in
// one of the five categories.
TEST(TidyOptions, EachListedOptionHasOneCategory)
{
    std::vector<CTidyOptionInfo> options = ReadTidyOptions(NULL);
    ASSERT_GT(options.size(), 50u);
    std::set<std::string> names;
    for (const CTidyOptionInfo& o : options) {
        EXPECT_TRUE(names.insert((LPCSTR)o.name).second) << "listed twice: " << (LPCSTR)o.name;
        EXPECT_GE(o.nCategory, TIDY_PAGE_MARKUP) << (LPCSTR)o.name;
        EXPECT_LE(o.nCategory, TIDY_PAGE_MISCELLANEOUS) << (LPCSTR)o.name;
    }
    EXPECT_EQ(names.count("doctype-mode"), 0u);
    for (const char* name : {"doctype", "indent", "wrap", "char-encoding", "show-warnings", "quiet", "clean"})
        EXPECT_EQ(names.count(name), 1u) << name;
    const CTidyOptionInfo* pWrap = Find(options, "wrap");
    ASSERT_NE(pWrap, nullptr);
    EXPECT_EQ(pWrap->nCategory, TIDY_PAGE_PRETTY_PRINT);
    EXPECT_EQ(pWrap->nKind, TIDY_OPTION_INTEGER);
}

TEST(TidyOptions, ValuesComeFromTheFileAndDamageGivesDefaults)
{
    qmtest::TempDir temp;
    std::string file = temp.Path("opts.tidy");
    WriteBytes(file, "doctype: strict\nwrap: 99\nindent: nonsense\nno-such-option: 1\n");
    std::vector<CTidyOptionInfo> options = ReadTidyOptions(file.c_str());
    const CTidyOptionInfo* pDoctype = Find(options, "doctype");
    const CTidyOptionInfo* pWrap = Find(options, "wrap");
    const CTidyOptionInfo* pIndent = Find(options, "indent");
    ASSERT_TRUE(pDoctype && pWrap && pIndent);
    EXPECT_EQ(std::string(pDoctype->value), "strict") << "doctype shows doctype-mode's value";
    EXPECT_NE(std::find(pDoctype->picks.begin(), pDoctype->picks.end(), CString("transitional")), pDoctype->picks.end());
    EXPECT_EQ(pWrap->nValue, 99);
    EXPECT_EQ(std::string(pIndent->value), std::string(Find(ReadTidyOptions(NULL), "indent")->value));
}

TEST(TidyOptions, FilesAreWrittenWholeOrNotAtAll)
{
    qmtest::TempDir temp;
    std::string file = temp.Path("opts.tidy");
    WriteBytes(file, "wrap: 12\n");
    CString error;
    // A refused value leaves the file as it was and says which.
    EXPECT_FALSE(WriteTidyOptions(file.c_str(), {{"wrap", "40"}, {"indent", "sideways"}}, error));
    EXPECT_NE(std::string(error).find("indent"), std::string::npos) << (LPCSTR)error;
    EXPECT_EQ(ReadBytes(file), "wrap: 12\n");
    // A folder that does not exist: reported, nothing made.
    std::string missing = temp.Path("no-such-folder\\opts.tidy");
    EXPECT_FALSE(WriteTidyOptions(missing.c_str(), {{"wrap", "40"}}, error));
    EXPECT_FALSE(error.IsEmpty());
    // Accepted values replace the file; the doctype goes in as doctype.
    ASSERT_TRUE(WriteTidyOptions(file.c_str(), {{"wrap", "40"}, {"doctype", "transitional"}, {"indent-spaces", "2"}}, error))
        << (LPCSTR)error;
    std::string text = ReadBytes(file);
    EXPECT_NE(text.find("wrap: 40"), std::string::npos) << text;
    EXPECT_NE(text.find("doctype: transitional"), std::string::npos) << text;
    EXPECT_EQ(text.find("indent-spaces"), std::string::npos) << "a default value is not written: " << text;
    EXPECT_EQ(text.find("doctype-mode"), std::string::npos) << text;
    EXPECT_FALSE(coretest::FileExists(file + ".new"));
}

} // namespace

namespace {

// The option files that ship with the program read and written back the
// way the pages do it: every value the page shows is taken again.
TEST(TidyOptions, ShippedFilesRoundTrip)
{
    qmtest::TempDir temp;
    for (const char* name : {"html_clean.tidy", "xhtml_clean.tidy", "xml_pretty_print.tidy"}) {
        SCOPED_TRACE(name);
        std::string shipped = std::string(QM_SOURCE_DIR) + "/resources/tidy/" + name;
        std::replace(shipped.begin(), shipped.end(), '/', '\\');
        std::vector<CTidyOptionInfo> options = ReadTidyOptions(shipped.c_str());
        ASSERT_FALSE(options.empty());
        std::vector<std::pair<CString, CString>> values;
        for (const CTidyOptionInfo& o : options)
            values.emplace_back(o.name, o.value);
        std::string copy = temp.Path(name);
        CString error;
        ASSERT_TRUE(WriteTidyOptions(copy.c_str(), values, error)) << (LPCSTR)error;
        std::vector<CTidyOptionInfo> again = ReadTidyOptions(copy.c_str());
        ASSERT_EQ(again.size(), options.size());
        for (size_t i = 0; i < options.size(); ++i)
            EXPECT_EQ(std::string(again[i].value), std::string(options[i].value)) << (LPCSTR)options[i].name;
    }
}

} // namespace
