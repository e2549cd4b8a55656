// Languages of the running editor on a fresh profile: the language files
// that ship beside Qmate.exe reach the per-user folder at the first start,
// each kind of file opens coloured by its own lexer and keyword lists, a
// user's own edited file is kept, and a damaged file does not stop the start.
#include "qmate_fixture.h"

#include <qmtest/filenames.h>

namespace {

using e2e::QmateTest;
using qmtest::RemoteScintilla;

enum : UINT {
    kSciColourise = 4003,
    kSciStyleGetFore = 2481
};

// Forces the lexer over the whole text, then reads the style at a position.
int StyleAt(const RemoteScintilla& ed, LRESULT pos)
{
    ed.Send(kSciColourise, 0, static_cast<LPARAM>(-1));
    return ed.StyleAt(pos);
}

const std::string kShipped = e2e::Slashes(QM_BIN_DIR "/Config");

bool FolderExists(const std::string& path)
{
    DWORD attrs = GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

// One small file per language: the lexer it must get and the style of a
// word in it (the lexer's own style numbers, as Lexilla defines them). A
// keyword's style tells that the language's keyword list reached the lexer.
struct Mark {
    const char* word; // the first occurrence of this text
    int style;
};

struct LanguageFile {
    const char* file;
    const char* text;
    const char* lexer;
    std::vector<Mark> marks;
};

const std::vector<LanguageFile>& LanguageFiles()
{
    static const std::vector<LanguageFile> files = {
        {"plain.txt", "plain words only\r\n", "null", {{"words", 0}}},
        {"sample.c", "int main(void) { return 0; }\r\n", "cpp", {{"return", 5}, {"main", 11}}},
        {"sample.cpp", "class Shape { public: virtual ~Shape(); };\r\n", "cpp", {{"virtual", 5}, {"Shape", 11}}},
        {"Sample.java", "public final class Sample { String s; }\r\n", "cpp", {{"final", 5}, {"String", 16}}},
        {"sample.m", "@interface Sample : NSObject\r\n- (id)init { return self; }\r\n@end\r\n", "cpp", {{"@interface", 5}, {"self", 5}, {"NSObject", 16}}},
        {"Sample.cs", "namespace Demo { sealed class Sample { } }\r\n", "cpp", {{"sealed", 5}}},
        {"sample.rc", "IDD_ABOUT DIALOGEX 0, 0, 200, 100\r\nSTYLE WS_POPUP\r\nBEGIN\r\nEND\r\n", "cpp", {{"DIALOGEX", 5}, {"WS_POPUP", 16}}},
        {"sample.js", "const answer = Math.max(1, 2);\r\n", "cpp", {{"const", 5}, {"Math", 16}}},
        {"sample.ts", "interface Point { x: number; }\r\n", "cpp", {{"interface", 5}, {"number", 5}}},
        {"sample.as", "package demo { public class Sample { } }\r\n", "cpp", {{"package", 5}}},
        {"sample.go", "package main\r\nfunc main() { defer close(c) }\r\n", "cpp", {{"defer", 5}, {"close", 16}}},
        {"sample.php", "<?php\r\necho 'hi';\r\n?>\r\n", "hypertext", {{"echo", 121}}},
        {"sample.html", "<html><body><script>var x = 1;</script></body></html>\r\n", "hypertext", {{"body", 1}, {"var", 47}}},
        {"sample.xml", "<?xml version=\"1.0\"?>\r\n<root attr=\"v\"><!-- note --></root>\r\n", "xml", {{"root", 1}, {"attr", 3}, {"<!--", 9}}},
        {"sample.css", "body { color: red; display: flex; -webkit-user-select: none; }\r\n", "css", {{"body", 1}, {"color", 6}, {"flex", 8}, {"display", 6}, {"-webkit-user-select", 19}}},
        {"sample.sql", "SELECT COUNT(id) FROM users;\r\nCREATE TABLE t (n INTEGER);\r\n", "sql", {{"SELECT", 5}, {"COUNT", 16}, {"INTEGER", 19}}},
        {"sample.json", "{ \"ok\": true }\r\n", "json", {{"true", 11}, {"\"ok\"", 4}}},
        {"sample.yml", "enabled: true\r\n", "yaml", {{"true", 3}, {"enabled", 2}}},
        {"sample.md", "# Title\r\n\r\nSome *text*.\r\n", "markdown", {{"#", 6}, {"*text*", 4}}},
        {"sample.bat", "@echo off\r\nset X=1\r\nxcopy a b\r\n", "batch", {{"set", 2}, {"xcopy", 5}}},
        {"sample.ps1", "function Get-Answer { Write-Host 42 -NoNewline }\r\n", "powershell", {{"function", 8}, {"Write-Host", 9}}},
        {"sample.sh", "if [ -f x ]; then echo yes; fi\r\n", "bash", {{"then", 4}, {"echo", 4}}},
        {"sample.mak", "all: main.o\r\n# the program\r\n", "makefile", {{"all", 5}, {"# the", 1}}},
        {"sample.ini", "[section]\r\nkey=value\r\n", "props", {{"[section]", 2}}},
        {"sample.pl", "my $x = 1;\r\n", "perl", {{"my", 5}, {"$x", 12}}},
        {"sample.rb", "def hello\r\n  puts 'hi' if defined?(x)\r\nend\r\n", "ruby", {{"def", 5}, {"end", 5}, {"defined?", 5}}},
        {"sample.rs", "fn main() { let x: u32 = 1; }\r\n", "rust", {{"fn", 6}, {"u32", 7}}},
        {"sample.lua", "local function f() return string.format(\"%d\", 1) end\r\n", "lua", {{"local", 5}, {"string.format", 14}}},
        {"sample.pas", "program Demo;\r\nbegin\r\nend.\r\n", "pascal", {{"begin", 9}, {"program", 9}}},
        {"sample.diff", "--- a/x\r\n+++ b/x\r\n@@ -1 +1 @@\r\n-old\r\n+new\r\n", "diff", {{"-old", 5}, {"+new", 6}, {"@@", 4}}},
        {"sample.py", "def f():\r\n    return len(None)\r\n", "python", {{"def", 5}, {"None", 5}, {"len", 14}}},
        {"sample.vbs", "Dim x\r\nx = 1\r\n", "vbscript", {{"Dim", 3}}},
        {"sample.vb", "Public Sub Main()\r\nEnd Sub\r\n", "vb", {{"Sub", 3}}},
        {"sample.f90", "program demo\r\n  implicit none\r\nend program demo\r\n", "fortran", {{"program", 8}, {"implicit", 8}}},
        {"sample.f", "      PROGRAM DEMO\r\n      END\r\n", "f77", {{"PROGRAM", 8}}},
        {"sample.nsi", "Section \"Main\"\r\n  DetailPrint $INSTDIR\r\nSectionEnd\r\n", "nsis", {{"DetailPrint", 5}, {"$INSTDIR", 6}}},
        {"sample.tcl", "proc greet {} { puts hi }\r\nbutton .b\r\n", "tcl", {{"proc", 12}, {"button", 13}}},
        {"sample.lisp", "(defun square (x) (* x x))\r\n", "lisp", {{"defun", 3}}},
        {"sample.asm", "section .text\r\n    mov eax, 1\r\n    fld st0\r\n", "asm", {{"section", 9}, {"mov", 6}, {"eax", 8}, {"fld", 7}}},
        {"sample.vhd", "library ieee;\r\nENTITY demo IS\r\nEND ENTITY;\r\nsignal s : std_logic;\r\n", "vhdl", {{"library", 8}, {"ENTITY", 8}, {"ieee", 12}, {"std_logic", 13}}},
    };
    return files;
}

class LanguagesTest : public QmateTest {
protected:
    // Every editing window of the program, hidden ones (inactive tabs) too.
    std::vector<HWND> AllEditors() const
    {
        HWND client = Main() ? qmtest::FirstDescendantOfClass(Main(), "MDIClient") : nullptr;
        return client ? qmtest::DescendantsOfClass(client, "Scintilla") : std::vector<HWND>();
    }

    // The editing window holding exactly text, waiting for it to open.
    RemoteScintilla FindEditor(const std::string& text)
    {
        RemoteScintilla found;
        qmtest::WaitUntil(
            [&] {
                for (HWND h : AllEditors())
                    if (RemoteScintilla(h).Text() == text) {
                        found = RemoteScintilla(h);
                        return true;
                    }
                return false;
            },
            20000, 100);
        return found;
    }
};

TEST_F(LanguagesTest, EachKindOfFileOpensColouredByItsLanguage)
{
    // All files handed over at once, as from Explorer, opened at start.
    int n = 0;
    for (const LanguageFile& f : LanguageFiles()) {
        std::string path = WriteFile(f.file, f.text);
        ASSERT_TRUE(qmtest::WriteRegistryString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, std::to_string(++n), path));
    }
    ASSERT_TRUE(Start());
    for (const LanguageFile& f : LanguageFiles()) {
        SCOPED_TRACE(f.file);
        RemoteScintilla ed = FindEditor(f.text);
        ASSERT_TRUE(ed) << "no editing window holds " << f.file;
        EXPECT_EQ(ed.LexerLanguage(), f.lexer);
        for (const Mark& m : f.marks) {
            size_t at = std::string(f.text).find(m.word);
            ASSERT_NE(at, std::string::npos) << m.word;
            EXPECT_EQ(StyleAt(ed, static_cast<LRESULT>(at)), m.style) << "style of \"" << m.word << "\"";
        }
    }
    ASSERT_TRUE(Close());
}

TEST_F(LanguagesTest, FirstStartFillsTheUserFolderAndLaterStartsKeepTheUsersFiles)
{
    const std::vector<std::string> shipped = qmtest::FileNamesIn(kShipped, "*.config");
    ASSERT_FALSE(shipped.empty()) << kShipped;
    ASSERT_FALSE(FolderExists(UserFolder()));

    ASSERT_TRUE(Start());
    for (const char* sub : {"Config", "Templates", "Backup", "Tidy"})
        EXPECT_TRUE(FolderExists(UserFolder(sub))) << sub;
    EXPECT_EQ(qmtest::FileNamesIn(UserFolder("Config"), "*.config"), shipped);
    for (const std::string& name : shipped)
        EXPECT_EQ(qmtest::ReadWholeFile(UserFolder("Config\\" + name)), qmtest::ReadWholeFile(kShipped + "\\" + name))
            << name;
    ASSERT_TRUE(Close());

    // The user gives C++ keywords a colour of their own and deletes a file.
    const std::string cppPath = UserFolder("Config\\cpp.config");
    std::string cpp = qmtest::ReadWholeFile(cppPath);
    const std::string keyword = "HEXFORE=\"#0000FF\" HEXBACK=\"#FFFFFF\" EOLFILLED=\"False\">Keyword<";
    size_t at = cpp.find(keyword);
    ASSERT_NE(at, std::string::npos);
    cpp.replace(at, 17, "HEXFORE=\"#123456\"");
    ASSERT_TRUE(qmtest::WriteWholeFile(cppPath, cpp));
    ASSERT_TRUE(DeleteFileA(UserFolder("Config\\python.config").c_str()));

    const std::string text = "int x;\r\n";
    std::string path = WriteFile("mine.cpp", text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(text);
    ASSERT_TRUE(ed);
    EXPECT_EQ(StyleAt(ed, 0), 5);
    EXPECT_EQ(ed.Send(kSciStyleGetFore, 5), static_cast<LRESULT>(RGB(0x12, 0x34, 0x56)))
        << "the editor colours with the user's file";
    EXPECT_EQ(qmtest::ReadWholeFile(cppPath), cpp) << "the user's file was overwritten";
    EXPECT_EQ(qmtest::ReadWholeFile(UserFolder("Config\\python.config")),
              qmtest::ReadWholeFile(kShipped + "\\python.config"));
    ASSERT_TRUE(Close());
}

// A language file nested 10,000 deep made the XML parser overflow the stack
// at every start. It is skipped like any file that does not parse.
TEST_F(LanguagesTest, DeeplyNestedLanguageFileDoesNotStopTheStart)
{
    ASSERT_TRUE(CreateDirectoryA((m_work + "\\Local\\Fernbright").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(UserFolder().c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(UserFolder("Config").c_str(), nullptr));
    std::string deep;
    for (int i = 0; i < 10000; ++i)
        deep += "<a>";
    const std::string deepPath = UserFolder("Config\\deep.config");
    ASSERT_TRUE(qmtest::WriteWholeFile(deepPath, deep));

    const std::string text = "int x; // fine\r\n";
    std::string path = WriteFile("after.cpp", text);
    ASSERT_TRUE(Start("\"" + path + "\""));
    RemoteScintilla ed = EditorHolding(text);
    ASSERT_TRUE(ed);
    EXPECT_EQ(ed.LexerLanguage(), "cpp");
    EXPECT_EQ(StyleAt(ed, 0), 5);
    EXPECT_EQ(qmtest::ReadWholeFile(deepPath), deep);
    ASSERT_TRUE(Close());
}

} // namespace
