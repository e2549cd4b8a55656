// aspell-15.dll with the English dictionary folder copied to <bin>/aspell,
// configured the way the editor does it: only "prefix" and "lang".
#include <aspell.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string AspellPrefix()
{
    std::string path = QM_BIN_DIR "/aspell";
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

struct SpellerDeleter {
    void operator()(AspellSpeller* s) const { delete_aspell_speller(s); }
};
using Speller = std::unique_ptr<AspellSpeller, SpellerDeleter>;

// Creates a speller; on failure returns null and the error text.
Speller MakeSpeller(const std::string& prefix, const char* lang, std::string* error)
{
    AspellConfig* config = new_aspell_config();
    aspell_config_replace(config, "prefix", prefix.c_str());
    aspell_config_replace(config, "lang", lang);
    AspellCanHaveError* result = new_aspell_speller(config);
    delete_aspell_config(config);
    if (aspell_error_number(result) != 0) {
        if (error) *error = aspell_error_message(result);
        delete_aspell_can_have_error(result);
        return nullptr;
    }
    return Speller(to_aspell_speller(result));
}

bool Check(AspellSpeller* speller, const char* word)
{
    return aspell_speller_check(speller, word, -1) == 1;
}

TEST(Aspell, ChecksEnglishWords)
{
    std::string error;
    Speller speller = MakeSpeller(AspellPrefix(), "en", &error);
    ASSERT_TRUE(speller) << error;
    const struct {
        const char* word;
        bool correct;
    } cases[] = {
        {"hello", true},
        {"helo", false},
        {"Hello", true},
        {"HELLO", true},
        {"don't", true},
        {"teh", false},
        {"editor", true},
        {"xqzvbn", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Check(speller.get(), c.word), c.correct) << c.word;
}

TEST(Aspell, SuggestsTheRightSpelling)
{
    std::string error;
    Speller speller = MakeSpeller(AspellPrefix(), "en", &error);
    ASSERT_TRUE(speller) << error;
    std::vector<std::string> words;
    const AspellWordList* list = aspell_speller_suggest(speller.get(), "helo", -1);
    ASSERT_NE(list, nullptr);
    AspellStringEnumeration* items = aspell_word_list_elements(list);
    while (const char* w = aspell_string_enumeration_next(items)) words.push_back(w);
    delete_aspell_string_enumeration(items);
    ASSERT_FALSE(words.empty());
    EXPECT_NE(std::find(words.begin(), words.end(), "hello"), words.end());
}

// Each variant is a .multi of several word lists; if the lists were mixed up
// (all but the first ignored), both variants would accept the same words.
TEST(Aspell, VariantsKeepTheirOwnWordLists)
{
    const struct {
        const char* lang;
        const char* accepted;
        const char* rejected;
    } cases[] = {
        {"en_US", "color", "colour"},
        {"en_GB", "colour", "color"},
    };
    for (const auto& c : cases) {
        std::string error;
        Speller speller = MakeSpeller(AspellPrefix(), c.lang, &error);
        ASSERT_TRUE(speller) << c.lang << ": " << error;
        EXPECT_TRUE(Check(speller.get(), c.accepted)) << c.lang;
        EXPECT_FALSE(Check(speller.get(), c.rejected)) << c.lang;
    }
}

TEST(Aspell, ListsTheInstalledDictionaries)
{
    AspellConfig* config = new_aspell_config();
    aspell_config_replace(config, "prefix", AspellPrefix().c_str());
    AspellDictInfoList* dicts = get_aspell_dict_info_list(config);
    std::vector<std::string> names;
    AspellDictInfoEnumeration* it = aspell_dict_info_list_elements(dicts);
    while (const AspellDictInfo* d = aspell_dict_info_enumeration_next(it)) names.push_back(d->name);
    delete_aspell_dict_info_enumeration(it);
    delete_aspell_config(config);
    for (const char* name : {"en", "en_US", "en_GB"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
}

TEST(Aspell, MissingDictionaryFolderIsAnError)
{
    std::string error;
    Speller speller = MakeSpeller(AspellPrefix() + "\\no-such-folder", "en", &error);
    EXPECT_FALSE(speller);
    EXPECT_NE(error.find("en"), std::string::npos) << error;
}

} // namespace
