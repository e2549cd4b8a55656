// The language files that ship with the editor: what the build put beside
// the program (bin/Config) is exactly what resources/config holds, and every
// file reads through the real reader into a language the real Scintilla
// library can colour, with a language id the function list knows.
#include "coretest.h"
#include "lexerconfig.h"

#include <ILexer.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

using coretest::ReadBytes;

namespace {

const std::string kShipped = QM_BIN_DIR "\\Config";
const std::string kWritten = QM_SOURCE_DIR "\\resources\\config";

// The language ids the function list has pattern rows for.
const int kPatternRows[] = {1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 16, 17, 18, 19,
                            21, 22, 23, 25, 26, 27, 28, 29, 30, 32, 38};

std::vector<std::string> Split(const std::string& text, char sep)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, sep))
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](char c) { return (char)tolower((unsigned char)c); });
    return s;
}

// Lexilla's factory in the real scilexer.dll.
class Lexilla {
public:
    Lexilla() : m_module(LoadLibraryA("scilexer.dll"))
    {
        if (m_module)
            m_create = reinterpret_cast<CreateProc>(reinterpret_cast<void*>(GetProcAddress(m_module, "CreateLexer")));
    }
    ~Lexilla()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    bool Loaded() const { return m_create != NULL; }

    // The number of keyword sets the lexer takes; -1 when it has no such lexer.
    int KeywordSets(const std::string& name) const
    {
        Scintilla::ILexer5* lexer = m_create(name.c_str());
        if (lexer == NULL)
            return -1;
        const std::string sets = lexer->DescribeWordListSets();
        lexer->Release();
        return sets.empty() ? 0 : (int)std::count(sets.begin(), sets.end(), '\n') + 1;
    }

private:
    typedef Scintilla::ILexer5*(__stdcall* CreateProc)(const char* name);
    HMODULE m_module;
    CreateProc m_create = NULL;
};

} // namespace

TEST(ShippedConfigs, BesideTheProgramAreTheFilesOfTheTree)
{
    const std::vector<std::string> written = qmtest::FileNamesIn(kWritten, "*.config");
    ASSERT_GE(written.size(), 27u) << kWritten;
    EXPECT_EQ(qmtest::FileNamesIn(kShipped, "*.config"), written) << kShipped;
    for (const std::string& name : written)
        EXPECT_EQ(ReadBytes(kShipped + "\\" + name), ReadBytes(kWritten + "\\" + name)) << name;
}

TEST(ShippedConfigs, EachReadsIntoALanguageTheLibraryColours)
{
    Lexilla lexilla;
    ASSERT_TRUE(lexilla.Loaded()) << "scilexer.dll with CreateLexer must be in the bin folder";
    const std::vector<std::string> names = qmtest::FileNamesIn(kShipped, "*.config");
    ASSERT_FALSE(names.empty());

    CLexerConfigList list;
    std::map<std::string, std::string> claimed; // extension -> file
    std::map<int, std::vector<std::string>> byId;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const int before = list.GetCount();
        ASSERT_TRUE(list.LoadConfigFile((kShipped + "\\" + name).c_str()));
        EXPECT_EQ(list.GetLastLoadError(), "");
        ASSERT_EQ(list.GetCount(), before + 1) << "the file gives no language";
        const CLexerConfig config = list.GetAt(before);

        EXPECT_NE(config.GetMenuText(), "");
        const std::vector<std::string> extensions = Split(config.GetExtensions().GetString(), ';');
        EXPECT_FALSE(extensions.empty());
        for (const std::string& ext : extensions) {
            EXPECT_EQ(ext[0], '.') << ext;
            auto taken = claimed.emplace(Lower(ext), name);
            EXPECT_TRUE(taken.second) << ext << " is claimed by " << taken.first->second << " too";
        }

        const std::string lexer = config.GetLexerName().GetString();
        const int sets = lexilla.KeywordSets(lexer);
        EXPECT_GE(sets, 0) << "Lexilla has no lexer \"" << lexer << "\"";
        EXPECT_LE(config.GetKeywordCount(), std::max(sets, 0)) << "more keyword sets than " << lexer << " takes";

        EXPECT_GE(config.GetLexerId(), 0);
        byId[config.GetLexerId()].push_back(name);

        // Style 32 (the default) and the lexer's own; each number once.
        std::set<int> numbers;
        for (int i = 0; i < config.GetStyleCount(); ++i) {
            const CLexerStyle style = config.GetStyle(i);
            EXPECT_TRUE(numbers.insert(style.style).second) << "style " << style.style << " twice";
            EXPECT_NE(style.name, "");
        }
        EXPECT_EQ(numbers.count(32), 1u);
        EXPECT_GE(numbers.size(), 2u);
    }

    // Every pattern row of the function list has a language that selects it.
    for (int id : kPatternRows)
        EXPECT_EQ(byId.count(id), 1u) << "no language file has LEXERID " << id;
    // A language without a pattern row has an id of its own.
    for (const auto& entry : byId) {
        if (std::find(std::begin(kPatternRows), std::end(kPatternRows), entry.first) == std::end(kPatternRows)) {
            EXPECT_EQ(entry.second.size(), 1u) << "LEXERID " << entry.first << " is shared";
        }
    }

    // The languages a file of each kind gets, as the editor picks them.
    struct Pick {
        const char* ext;
        const char* menu;
        int id;
    } picks[] = {
        {".c", "C", 2},
        {".cpp", "C++", 3},
        {".H", "C++", 3},
        {".py", "Python", 22},
        {".rc", "Resource Script", 7},
        {".ini", "INI", 13},
        {".bat", "Batch", 12},
        {".html", "HTML", 40},
        {".txt", "Text", 0},
        {".no-such-extension", "Text", 0},
        {"", "Text", 0},
    };
    for (const Pick& p : picks) {
        const CLexerConfig config = list.GetAt(list.FindIndexForExtension(p.ext));
        EXPECT_EQ(config.GetMenuText(), p.menu) << p.ext;
        EXPECT_EQ(config.GetLexerId(), p.id) << p.ext;
    }
}
