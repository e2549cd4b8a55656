// funcscantest.h - what the tests of the function list's scan share: a
// hidden editor of the test's thread that holds the text to scan, and
// random source-like texts, lines built from a small vocabulary of the
// languages' own pieces, so headers, bodies, comments, strings and rejects
// meet in every order.
#pragma once

#include "scitest.h"

#include <random>
#include <string>
#include <vector>

// A hidden editor of this thread holding the text to scan.
class HiddenEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(editor.CreateEx(0, CMFCScintilla::kWindowClass, "FunctionListEditor", WS_POPUP, 0, 0, 0, 0, NULL,
                                    NULL));
        editor.Call(SCI_SETUNDOCOLLECTION, 0);
    }
    void TearDown() override { editor.DestroyWindow(); }

    void Load(const std::string& text)
    {
        editor.ClearAll();
        editor.AddText(text.data(), (Sci_Position)text.size());
    }

    CMFCScintilla editor;
};

// nLines lines of 0 to 5 pieces each.
inline std::string RandomSourceOf(std::mt19937& rng, int nLines, const std::vector<const char*>& pieces)
{
    std::uniform_int_distribution<size_t> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> count(0, 5);
    std::string text;
    for (int i = 0; i < nLines; i++) {
        int n = count(rng);
        for (int k = 0; k < n; k++)
            text += pieces[piece(rng)];
        text += "\n";
    }
    return text;
}

inline const std::vector<const char*>& SourcePieces()
{
    static const std::vector<const char*> kPieces = {
        "int f(int a) ", "void g(char* s, int n)", "{", "}", ";", "/* ", " */", "// c", "\"s\"", "\"", "#x",
        "BEGIN", "END", "begin", "end;", "if", "do", "function h(a, b)", "procedure P;", "sub s ", "def d(x):",
        "(", ")", "x = y", "  ", "\t", "proc t {a} ", "{>", "Function F(a)", "End Function", "END x;", "port map",
        "ENTITY e IS", "-- c", "' c", "local v = function(z)", "- (void)m:", "+ (id)k", "[", "]", ":", "AS", "GO",
        "CREATE FUNCTION s.t(a)", "(defun q", "label:", "[Sect]", "@"};
    return kPieces;
}

inline std::string RandomSource(std::mt19937& rng, int nLines)
{
    return RandomSourceOf(rng, nLines, SourcePieces());
}

// The pieces above and those of the languages whose headers stand at the
// start of a line (resource scripts, batch labels, shell functions, NSIS
// functions and sections).
inline const std::vector<const char*>& LineStartPieces()
{
    static const std::vector<const char*> kPieces = [] {
        std::vector<const char*> pieces = SourcePieces();
        for (const char* p : {"IDD_X DIALOG 0, 0", "1 VERSIONINFO", "IDR_M MENU", ":start", ":: c", "function setup ",
                              "teardown () ", "Function .onInit", "FunctionEnd", "Section \"Main\" SecMain",
                              "Section \"Docs\"", "SectionEnd", "SubSection \"Sub\"", "SubSectionEnd"})
            pieces.push_back(p);
        return pieces;
    }();
    return kPieces;
}
