// Spell checking of a real text view with the English dictionary the build
// puts in bin/aspell: F7 (the view's spelling command) opens the Spell
// Checker dialog, which a script drives from inside its modal loop; the
// text, the selection and the message boxes are read back.
#include "tdtest.h"

#include "apphelpers.h"
#include "dialogtest.h"
#include "spellcheckdlg.h"

#include <resource.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace tdtest;
using namespace dlgtest;

namespace {

const char kComplete[] = "The spelling check is complete";
const char kFailed[] = "Failed to initialize the dictionary.  Check that the dictionary path is correct in settings";

std::string DictionaryFolder()
{
    std::string path = QM_BIN_DIR "\\aspell";
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// What the dialog showed for one unknown word: the word in the edit, the
// editor's selection, the suggestions.
struct Shown {
    std::string word;
    Sci_Position selStart = -1, selEnd = -1;
    std::string selected;
    std::vector<std::string> suggestions;
};

class SpellingTest : public TextDocTest {
protected:
    void SetUp() override
    {
        TextDocTest::SetUp();
        m_pFrame->m_editor.strDictionaryPath = DictionaryFolder().c_str();
        m_pFrame->m_editor.strDictionary = "en";
    }

    CDoodleView* NewView(const std::string& text, Sci_Position anchor = 0, Sci_Position caret = 0)
    {
        CDoodleDoc* pDoc = NewDocument();
        EXPECT_NE(pDoc, nullptr);
        if (pDoc == nullptr)
            return nullptr;
        CDoodleView* pView = pDoc->GetTextView();
        CMFCScintilla& ed = pView->GetEditor();
        ed.ReplaceAllText(text.c_str());
        ed.SetSel(anchor, caret);
        return pView;
    }

    void Spelling() { m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_SPELLING, 0), 0); }

    // A script step that waits for the dialog to show a word, records what
    // it shows, then acts on the dialog.
    Step OnWord(CMFCScintilla& ed, std::vector<Shown>& shown, const std::string& word,
                std::function<void(HWND)> act)
    {
        return [&ed, &shown, word, act] {
            HWND hDlg = FindDialog("Spell Checker");
            if (hDlg == NULL || WindowText(GetDlgItem(hDlg, IDC_SPELL_WORD)) != word)
                return false;
            Shown s;
            s.word = word;
            s.selStart = ed.GetSelectionStart();
            s.selEnd = ed.GetSelectionEnd();
            s.selected = (LPCSTR)ed.GetSelText();
            s.suggestions = ListLines(hDlg, IDC_SPELL_SUGGESTIONS);
            shown.push_back(s);
            act(hDlg);
            return true;
        };
    }
};

TEST_F(SpellingTest, ChangeIgnoreAllAndTheShiftedNextWord)
{
    const std::string text = "teh cat sitt on teh mat";
    CDoodleView* pView = NewView(text, 4, 4);
    ASSERT_NE(pView, nullptr);
    CMFCScintilla& ed = pView->GetEditor();
    qmtest::MessageBoxRecorder boxes;
    std::vector<Shown> shown;
    bool bChangeEnabled = false;
    ModalScript script({
        // "teh": the suggestion "the" replaces it (same length).
        OnWord(ed, shown, "teh",
               [&](HWND hDlg) {
                   std::vector<std::string> lines = ListLines(hDlg, IDC_SPELL_SUGGESTIONS);
                   auto it = std::find(lines.begin(), lines.end(), "the");
                   ASSERT_NE(it, lines.end());
                   SelectLine(hDlg, IDC_SPELL_SUGGESTIONS, (int)(it - lines.begin()));
                   Click(hDlg, IDC_SPELL_CHANGE);
               }),
        // "sitt": a typed replacement one byte shorter.
        OnWord(ed, shown, "sitt",
               [&](HWND hDlg) {
                   SetWindowTextA(GetDlgItem(hDlg, IDC_SPELL_WORD), "sat");
                   bChangeEnabled = IsWindowEnabled(GetDlgItem(hDlg, IDC_SPELL_CHANGE)) != FALSE;
                   Click(hDlg, IDC_SPELL_CHANGE);
               }),
        // The second "teh", one byte further left now: ignored everywhere.
        OnWord(ed, shown, "teh", [&](HWND hDlg) { Click(hDlg, IDC_SPELL_IGNORE_ALL); }),
    });
    Spelling();
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].selStart, 0);
    EXPECT_EQ(shown[0].selEnd, 3);
    EXPECT_TRUE(std::is_sorted(shown[0].suggestions.begin(), shown[0].suggestions.end(),
                               [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }))
        << ::testing::PrintToString(shown[0].suggestions);
    EXPECT_EQ(shown[1].selected, "sitt");
    EXPECT_EQ(shown[1].selStart, 8);
    EXPECT_TRUE(bChangeEnabled) << "a typed word differing from the unknown one can replace it";
    EXPECT_EQ(shown[2].selected, "teh");
    EXPECT_EQ(shown[2].selStart, 15);
    EXPECT_EQ(EditorText(ed), "the cat sat on teh mat");
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kComplete});
    EXPECT_EQ(ed.GetSelectionStart(), 4);
    EXPECT_EQ(ed.GetSelectionEnd(), 4);
}

TEST_F(SpellingTest, OnlyTheSelectionIsCheckedAndItComesBack)
{
    // "teh" before and after the selection is left alone.
    const std::string text = "teh good wrld\r\nmore txet teh";
    Sci_Position start = 4, end = 24; // "good wrld\r\nmore txet"
    CDoodleView* pView = NewView(text, end, start);
    ASSERT_NE(pView, nullptr);
    CMFCScintilla& ed = pView->GetEditor();
    qmtest::MessageBoxRecorder boxes;
    std::vector<Shown> shown;
    ModalScript script({
        OnWord(ed, shown, "wrld", [](HWND hDlg) { Click(hDlg, IDC_SPELL_IGNORE); }),
        OnWord(ed, shown, "txet", [](HWND hDlg) { Click(hDlg, IDC_SPELL_IGNORE); }),
    });
    Spelling();
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].selStart, 20);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kComplete});
    // A selection made backwards keeps its anchor at the end.
    EXPECT_EQ(ed.GetAnchor(), end);
    EXPECT_EQ(ed.GetCurrentPos(), start);
}

TEST_F(SpellingTest, MessagesWithoutADialog)
{
    struct Case {
        const char* name;
        const char* text;
        const char* dictionaryPath; // NULL: the build's folder
        const char* library;        // NULL: Aspell's
        std::vector<std::string> messages;
    } cases[] = {
        {"EmptyDocument", "", NULL, NULL, {kComplete}},
        {"NoUnknownWord", "the cat sat on the mat", NULL, NULL, {kComplete}},
        {"WrongDictionaryPath", "teh cat", "C:\\no\\such\\aspell", NULL, {kFailed, kComplete}},
        {"NoLibrary", "teh cat", NULL, "no-such-aspell.dll", {kFailed, kComplete}},
        {"LibraryWithoutAspell", "teh cat", NULL, "kernel32.dll", {kFailed, kComplete}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.dictionaryPath != NULL)
            m_pFrame->m_editor.strDictionaryPath = c.dictionaryPath;
        SetAspellLibrary(c.library);
        CDoodleView* pView = NewView(c.text);
        ASSERT_NE(pView, nullptr);
        qmtest::MessageBoxRecorder boxes;
        ModalScript script({[] { return FindDialog("Spell Checker") != NULL; }}, 1500);
        Spelling();
        EXPECT_FALSE(script.Finished()) << "no dialog was expected";
        EXPECT_EQ(boxes.Texts(), c.messages);
        EXPECT_EQ(EditorText(pView->GetEditor()), c.text);
        EXPECT_EQ(IsAspellLoaded() != FALSE, c.library == NULL && *c.text != '\0');
        m_pFrame->m_editor.strDictionaryPath = DictionaryFolder().c_str();
    }
    SetAspellLibrary(NULL);
}

// Without a usable library the options page finds no dictionary; naming
// Aspell again brings them back.
TEST_F(SpellingTest, DictionariesWithoutTheLibrary)
{
    SetAspellLibrary("no-such-aspell.dll");
    EXPECT_TRUE(ListAspellDictionaries(DictionaryFolder().c_str()).empty());
    CSpellCheckDialog dlg;
    EXPECT_EQ(dlg.InitSpeller(DictionaryFolder().c_str(), "en"), 0);
    EXPECT_FALSE(IsAspellLoaded());
    SetAspellLibrary(NULL);
    EXPECT_FALSE(ListAspellDictionaries(DictionaryFolder().c_str()).empty());
    EXPECT_TRUE(IsAspellLoaded());
    EXPECT_EQ(dlg.InitSpeller(DictionaryFolder().c_str(), "en"), 1);
}

// UTF-8 text: Aspell's offsets count bytes, so whole words are selected
// behind letters of two bytes.
TEST_F(SpellingTest, Utf8WordsAreSelectedWhole)
{
    const std::string text = "na\xc3\xafvx teh";
    CDoodleView* pView = NewView(text);
    ASSERT_NE(pView, nullptr);
    CMFCScintilla& ed = pView->GetEditor();
    qmtest::MessageBoxRecorder boxes;
    std::vector<Shown> shown;
    ModalScript script({
        OnWord(ed, shown, "na\xc3\xafvx", [](HWND hDlg) { Click(hDlg, IDC_SPELL_IGNORE); }),
        OnWord(ed, shown, "teh", [](HWND hDlg) { Click(hDlg, IDC_SPELL_IGNORE); }),
    });
    Spelling();
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].selected, "na\xc3\xafvx");
    EXPECT_EQ(shown[1].selected, "teh");
    EXPECT_EQ(shown[1].selStart, 7);
}

// "Add to Dictionary" keeps the word in the user's folder: a later check,
// started from another current folder, knows it; Close ends the check.
TEST_F(SpellingTest, AddedWordsLastAndLiveInTheUserFolder)
{
    const std::string word = "qmzorkle";
    {
        CDoodleView* pView = NewView(word + " teh");
        ASSERT_NE(pView, nullptr);
        qmtest::MessageBoxRecorder boxes;
        std::vector<Shown> shown;
        ModalScript script({
            OnWord(pView->GetEditor(), shown, word, [](HWND hDlg) { Click(hDlg, IDC_SPELL_ADD); }),
            OnWord(pView->GetEditor(), shown, "teh", [](HWND hDlg) { Click(hDlg, IDCANCEL); }),
        });
        Spelling();
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kComplete});
    }
    // Aspell names the list after the language ("en.pws" in this build).
    std::string personal = std::string((LPCSTR)GetAppDataFolder()) + "\\en.pws";
    EXPECT_NE(coretest::ReadBytes(personal).find(word), std::string::npos) << personal;

    char szOld[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, szOld);
    SetCurrentDirectoryA(m_temp.Path().c_str());
    CDoodleView* pView = NewView("teh " + word);
    ASSERT_NE(pView, nullptr);
    qmtest::MessageBoxRecorder boxes;
    std::vector<Shown> shown;
    ModalScript script({
        OnWord(pView->GetEditor(), shown, "teh", [](HWND hDlg) { Click(hDlg, IDC_SPELL_IGNORE); }),
    });
    Spelling();
    SetCurrentDirectoryA(szOld);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(shown.size(), 1u) << "the added word was asked about again";
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kComplete});
}

// The options page's dictionary list: every installed dictionary, the
// chosen one selected, "en" first for a fresh profile.
TEST_F(SpellingTest, DictionaryListOfTheFolder)
{
    std::vector<CString> names = ListAspellDictionaries(DictionaryFolder().c_str());
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(std::string(names.front()), "en");
    EXPECT_NE(std::find(names.begin(), names.end(), CString("en_GB")), names.end());
    EXPECT_TRUE(ListAspellDictionaries("C:\\no\\such\\aspell").empty());
    m_pFrame->m_editor.strDictionary = "";
    EXPECT_EQ(std::string(CSpellCheckDialog::GetDefaultLanguage()), "en");
}

} // namespace
