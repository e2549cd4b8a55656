// scilexer.dll: the "Scintilla" window class, Lexilla's lexers and the regular
// expression engines, loaded from the bin folder as the editor loads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ILexer.h"
#include "Lexilla.h"
#include "SciLexer.h"
#include "Scintilla.h"

namespace {

std::wstring BinFile(const wchar_t* name)
{
    std::wstring path;
    for (const char* p = QM_BIN_DIR; *p; ++p) path += static_cast<wchar_t>(*p == '/' ? '\\' : *p);
    return path + L"\\" + name;
}

// The DLL is loaded once, by full path, for the whole program.
HMODULE SciLexer()
{
    static HMODULE module = LoadLibraryW(BinFile(L"scilexer.dll").c_str());
    return module;
}

template <typename Fn>
Fn Export(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(SciLexer(), name)));
}

using DirectFunction = sptr_t(__stdcall*)(sptr_t, unsigned int, uptr_t, sptr_t);

const char kCode[] = "int main() { return 42; } // hi";

class ScintillaWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(SciLexer(), nullptr) << "cannot load scilexer.dll, error " << GetLastError();
        hwnd_ = CreateWindowExW(0, L"Scintilla", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(hwnd_, nullptr) << "no \"Scintilla\" window class, error " << GetLastError();
        direct_ = Export<DirectFunction>("Scintilla_DirectFunction");
        ASSERT_NE(direct_, nullptr);
        ptr_ = SendMessageW(hwnd_, SCI_GETDIRECTPOINTER, 0, 0);
        ASSERT_NE(ptr_, 0);
    }
    void TearDown() override
    {
        if (hwnd_) DestroyWindow(hwnd_);
    }

    // Messages go through the exported direct function, as the editor's views do.
    sptr_t Call(unsigned int msg, uptr_t w = 0, sptr_t l = 0) { return direct_(ptr_, msg, w, l); }
    sptr_t Call(unsigned int msg, uptr_t w, const char* text)
    {
        return Call(msg, w, reinterpret_cast<sptr_t>(text));
    }

    void SetLexer(const char* name)
    {
        auto create = Export<Lexilla::CreateLexerFn>(LEXILLA_CREATELEXER);
        ASSERT_NE(create, nullptr);
        Scintilla::ILexer5* lexer = create(name);
        ASSERT_NE(lexer, nullptr) << "no lexer named " << name;
        Call(SCI_SETILEXER, 0, reinterpret_cast<sptr_t>(lexer));
    }

    // Target search over the whole text; returns [start, end) or {-1, -1}.
    std::pair<sptr_t, sptr_t> Find(int flags, const char* pattern)
    {
        Call(SCI_SETSEARCHFLAGS, flags);
        Call(SCI_SETTARGETSTART, 0);
        Call(SCI_SETTARGETEND, Call(SCI_GETLENGTH));
        sptr_t at = Call(SCI_SEARCHINTARGET, std::strlen(pattern), pattern);
        if (at < 0) return {-1, -1};
        return {Call(SCI_GETTARGETSTART), Call(SCI_GETTARGETEND)};
    }

    std::string Tag(int n)
    {
        std::string tag(static_cast<size_t>(Call(SCI_GETTAG, n, static_cast<const char*>(nullptr))), '\0');
        Call(SCI_GETTAG, n, tag.data());
        return tag;
    }

    HWND hwnd_ = nullptr;
    DirectFunction direct_ = nullptr;
    sptr_t ptr_ = 0;
};

TEST_F(ScintillaWindow, CppLexerChosenByNameColoursTheText)
{
    Call(SCI_SETTEXT, 0, kCode);
    ASSERT_EQ(Call(SCI_GETLENGTH), static_cast<sptr_t>(std::strlen(kCode)));
    SetLexer("cpp");
    EXPECT_EQ(Call(SCI_GETLEXER), SCLEX_CPP);
    Call(SCI_SETKEYWORDS, 0, "int return");
    Call(SCI_COLOURISE, 0, -1);

    const struct {
        const char* token;
        int style;
    } cases[] = {
        {"int", SCE_C_WORD},
        {"return", SCE_C_WORD},
        {"42", SCE_C_NUMBER},
        {"main", SCE_C_IDENTIFIER},
        {"// hi", SCE_C_COMMENTLINE},
    };
    const std::string text = kCode;
    for (const auto& c : cases) {
        const size_t at = text.find(c.token);
        ASSERT_NE(at, std::string::npos);
        for (size_t i = at; i < at + std::strlen(c.token); ++i) {
            EXPECT_EQ(Call(SCI_GETSTYLEAT, i), c.style) << c.token << " at " << i;
        }
    }
}

TEST_F(ScintillaWindow, UnknownLexerNameGivesNoLexer)
{
    auto create = Export<Lexilla::CreateLexerFn>(LEXILLA_CREATELEXER);
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create("no-such-language"), nullptr);
    EXPECT_EQ(Call(SCI_GETLEXER), SCLEX_CONTAINER);
}

TEST_F(ScintillaWindow, RegularExpressionTargetSearch)
{
    Call(SCI_SETTEXT, 0, kCode);
    const struct {
        int flags;
        const char* pattern;
        sptr_t start, end;
        const char* tag1;
    } cases[] = {
        {SCFIND_REGEXP, "ret[a-z]+", 13, 19, nullptr},
        {SCFIND_REGEXP, "\\(r[a-z]*\\) 4", 13, 21, "return"}, // Scintilla's own groups
        {SCFIND_REGEXP | SCFIND_POSIX, "(r[a-z]*) 4", 13, 21, "return"},
        {SCFIND_REGEXP, "xyz+q", -1, -1, nullptr},
        {SCFIND_REGEXP | SCFIND_CXX11REGEX, "(r\\w*) 4", 13, 21, "return"},
        {SCFIND_REGEXP | SCFIND_CXX11REGEX, "\\d+;", 20, 23, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        const auto found = Find(c.flags, c.pattern);
        EXPECT_EQ(found.first, c.start);
        EXPECT_EQ(found.second, c.end);
        if (c.tag1) {
            EXPECT_EQ(Tag(1), c.tag1);
        }
    }
}

TEST(SciLexerExports, LexillaInterfaceIsComplete)
{
    ASSERT_NE(SciLexer(), nullptr);
    for (const char* name : {"Scintilla_DirectFunction", LEXILLA_CREATELEXER, LEXILLA_GETLEXERCOUNT,
                             LEXILLA_GETLEXERNAME, LEXILLA_GETLEXERFACTORY, LEXILLA_LEXERNAMEFROMID,
                             LEXILLA_GETLIBRARYPROPERTYNAMES, LEXILLA_SETLIBRARYPROPERTY,
                             LEXILLA_GETNAMESPACE}) {
        EXPECT_NE(GetProcAddress(SciLexer(), name), nullptr) << name;
    }
    auto count = Export<Lexilla::GetLexerCountFn>(LEXILLA_GETLEXERCOUNT);
    auto name_of = Export<Lexilla::GetLexerNameFn>(LEXILLA_GETLEXERNAME);
    using NameFromId = const char*(__stdcall*)(int);
    auto name_from_id = Export<NameFromId>(LEXILLA_LEXERNAMEFROMID);
    ASSERT_TRUE(count && name_of && name_from_id);
    ASSERT_GT(count(), 100);
    bool has_cpp = false;
    for (int i = 0; i < count(); ++i) {
        char name[100] = {};
        name_of(static_cast<unsigned>(i), name, sizeof name);
        has_cpp = has_cpp || std::strcmp(name, "cpp") == 0;
    }
    EXPECT_TRUE(has_cpp);
    EXPECT_STREQ(name_from_id(SCLEX_CPP), "cpp");
}

TEST(SciLexerExports, ImportLibraryBindsToTheBinFolderCopy)
{
    // A direct call through the import library loads the same module.
    EXPECT_EQ(GetLexerCount(), Export<Lexilla::GetLexerCountFn>(LEXILLA_GETLEXERCOUNT)());
    wchar_t loaded[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(GetModuleHandleW(L"scilexer.dll"), loaded, MAX_PATH), 0u);
    EXPECT_EQ(lstrcmpiW(loaded, BinFile(L"scilexer.dll").c_str()), 0);
}

} // namespace
