// HTML Tidy (static): repairing a broken fragment, options looked up by name.
#include <tidy.h>
#include <tidybuffio.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Tidied {
    int rc = -1;
    std::string output;
    std::string messages;
};

// Parses, repairs and prints <html>; each option is set by its name.
Tidied RunTidy(const char* html, std::initializer_list<const char*> bool_options = {})
{
    Tidied result;
    TidyDoc doc = tidyCreate();
    TidyBuffer out, errors;
    tidyBufInit(&out);
    tidyBufInit(&errors);
    tidySetErrorBuffer(doc, &errors);
    for (const char* name : bool_options) {
        TidyOption opt = tidyGetOptionByName(doc, name);
        EXPECT_NE(opt, nullptr) << name;
        if (opt) {
            EXPECT_TRUE(tidyOptSetBool(doc, tidyOptGetId(opt), yes)) << name;
        }
    }
    result.rc = tidyParseString(doc, html);
    if (result.rc >= 0) result.rc = tidyCleanAndRepair(doc);
    if (result.rc >= 0) result.rc = tidySaveBuffer(doc, &out);
    if (out.bp) result.output.assign(reinterpret_cast<const char*>(out.bp), out.size);
    if (errors.bp) result.messages.assign(reinterpret_cast<const char*>(errors.bp), errors.size);
    tidyBufFree(&out);
    tidyBufFree(&errors);
    tidyRelease(doc);
    return result;
}

TEST(Tidy, ClosesTheTagsOfABrokenFragment)
{
    const Tidied t = RunTidy("<title>t</title><p>Hello <b>world");
    EXPECT_EQ(t.rc, 1) << "warnings expected, not errors: " << t.messages;
    for (const char* part : {"<!DOCTYPE html>", "<title>t</title>", "<p>Hello <b>world</b></p>",
                             "</body>", "</html>"}) {
        EXPECT_NE(t.output.find(part), std::string::npos) << part << "\n"
                                                          << t.output;
    }
    EXPECT_NE(t.messages.find("missing </b>"), std::string::npos) << t.messages;
}

TEST(Tidy, OptionsAreFoundByName)
{
    const Tidied t = RunTidy("<title>t</title><p>a<br>b", {"output-xhtml"});
    EXPECT_GE(t.rc, 0);
    EXPECT_NE(t.output.find("xmlns=\"http://www.w3.org/1999/xhtml\""), std::string::npos) << t.output;
    EXPECT_NE(t.output.find("<br />"), std::string::npos) << t.output;

    TidyDoc doc = tidyCreate();
    EXPECT_EQ(tidyGetOptionByName(doc, "no-such-option"), nullptr);
    tidyRelease(doc);
}

} // namespace
