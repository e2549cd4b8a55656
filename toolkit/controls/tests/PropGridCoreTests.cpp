// The property grid's window-less rules: item texts, layout and hit test,
// splitter and divider limits, verb wrapping and the masked-input engine.
#include <qx/propgridcore.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(PropGridTexts, CaptionAndDescriptionSplitAtTheFirstLineFeed)
{
    struct Case {
        const char* text;
        const char* caption;
        const char* description;
        BOOL hasDescription;
    } cases[] = {
        {"indent\nIndents block-level content.", "indent", "Indents block-level content.", TRUE},
        {"wrap", "wrap", "", FALSE},
        {"a\nb\nc", "a", "b\nc", TRUE},
        {"\nonly text", "", "only text", TRUE},
        {"", "", "", FALSE},
    };
    for (const Case& c : cases) {
        CString caption, description;
        BOOL b = -1;
        SplitPropertyCaption(c.text, caption, description, &b);
        EXPECT_STREQ(c.caption, caption) << c.text;
        EXPECT_STREQ(c.description, description) << c.text;
        EXPECT_EQ(c.hasDescription, b) << c.text;
    }
}

TEST(PropGridTexts, NumbersReadLeadingDigitsAndHoldTheNearestLimit)
{
    struct Case {
        const char* text;
        long value;
    } cases[] = {
        {"42", 42},
        {"  -17", -17},
        {"+8", 8},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999", INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value, ParsePropertyNumber(c.text)) << c.text;
    EXPECT_EQ(0, ParsePropertyNumber(NULL));
}

TEST(PropGridTexts, TrueTextMatchesInAnyCaseOnly)
{
    EXPECT_TRUE(ParsePropertyBool("True", "True"));
    EXPECT_TRUE(ParsePropertyBool("tRUE", "True"));
    EXPECT_FALSE(ParsePropertyBool("Yes", "True"));
    EXPECT_FALSE(ParsePropertyBool("True ", "True"));
    EXPECT_FALSE(ParsePropertyBool("", "True"));
}

TEST(PropGridTexts, PasswordViewHasOneMarkPerCharacter)
{
    EXPECT_STREQ("***", PasswordViewOf("abc", '*'));
    EXPECT_STREQ("##", PasswordViewOf("\xC3\xA9\xE6\x97\xA5", '#')); // two characters in UTF-8
    EXPECT_STREQ("", PasswordViewOf("", '*'));
}

// ---------------------------------------------------------------------------
// Layout

TEST(PropGridLayout, ViewAndPanesForEachCombination)
{
    struct Case {
        const char* name;
        int cy;
        BOOL toolbar, help, splitter;
        int helpHeight, verbs;
        RECT view;
        int helpAfter;
        BOOL verbsVisible;
    } cases[] = {
        {"help only", 300, FALSE, TRUE, TRUE, 58, 0, {0, 0, 200, 239}, 58, FALSE},
        {"no help", 300, FALSE, FALSE, TRUE, 58, 0, {0, 0, 200, 300}, 58, FALSE},
        {"toolbar", 300, TRUE, TRUE, TRUE, 58, 0, {0, 25, 200, 239}, 58, FALSE},
        {"verbs", 300, FALSE, TRUE, TRUE, 58, 2, {0, 0, 200, 211}, 58, TRUE},
        {"all", 300, TRUE, TRUE, TRUE, 58, 1, {0, 25, 200, 211}, 58, TRUE},
        {"small: help shrinks to keep 20", 60, FALSE, TRUE, TRUE, 58, 0, {0, 0, 200, 20}, 37, FALSE},
        {"small with toolbar keeps 45", 80, TRUE, TRUE, TRUE, 58, 0, {0, 25, 200, 45}, 32, FALSE},
        {"tiny: help never below 0", 22, FALSE, TRUE, TRUE, 58, 0, {0, 0, 200, 19}, 0, FALSE},
        {"no splitter: help keeps its height", 60, FALSE, TRUE, FALSE, 58, 0, {0, 0, 200, 0}, 58, FALSE},
    };
    for (const Case& c : cases) {
        PropertyGridPanes p;
        p.cx = 200;
        p.cy = c.cy;
        p.bToolBar = c.toolbar;
        p.bHelp = c.help;
        p.bHelpSplitter = c.splitter;
        p.nHelpHeight = c.helpHeight;
        p.nVerbs = c.verbs;
        PropertyGridLayout l = CalcPropertyGridLayout(p);
        EXPECT_EQ(c.view.left, l.rcView.left) << c.name;
        EXPECT_EQ(c.view.top, l.rcView.top) << c.name;
        EXPECT_EQ(c.view.right, l.rcView.right) << c.name;
        EXPECT_EQ(c.view.bottom, l.rcView.bottom) << c.name;
        EXPECT_EQ(c.helpAfter, l.nHelpHeight) << c.name;
        EXPECT_EQ(c.verbsVisible, l.bVerbsVisible) << c.name;
        EXPECT_EQ(c.toolbar ? 25 : 0, l.rcToolBar.bottom) << c.name;
    }
}

TEST(PropGridLayout, HitTestFindsSplittersAndVerbsOnlyWhereTheyAre)
{
    const RECT rc = {0, 0, 200, 300};
    auto verbAt = [](POINT pt) { return pt.x < 50 ? 0 : pt.x < 100 ? 1
                                                                   : -1; };
    PropertyGridPanes p;
    p.cx = 200;
    p.cy = 300;
    // Help pane 58 high: its splitter is rows 239..241.
    struct Case {
        const char* name;
        int verbs;
        BOOL splitter;
        POINT pt;
        int hit;
    } cases[] = {
        {"help splitter top", 0, TRUE, {10, 239}, qxpGridHitHelpSplitter},
        {"help splitter bottom", 0, TRUE, {10, 241}, qxpGridHitHelpSplitter},
        {"help pane itself", 0, TRUE, {10, 242}, qxpGridHitNone},
        {"above the splitter", 0, TRUE, {10, 238}, qxpGridHitNone},
        {"disabled splitter", 0, FALSE, {10, 240}, qxpGridHitNone},
        {"no verbs: no verbs splitter", 0, TRUE, {10, 212}, qxpGridHitNone},
        {"verbs splitter", 2, TRUE, {10, 212}, qxpGridHitVerbsSplitter},
        {"verb 0", 2, TRUE, {10, 220}, qxpGridHitVerb + 0},
        {"verb 1", 2, TRUE, {60, 220}, qxpGridHitVerb + 1},
        {"verbs pane beside the verbs", 2, TRUE, {150, 220}, qxpGridHitNone},
    };
    for (const Case& c : cases) {
        p.nVerbs = c.verbs;
        p.bHelpSplitter = c.splitter;
        EXPECT_EQ(c.hit, PropertyGridHitTest(rc, p, c.pt, verbAt)) << c.name;
    }
}

TEST(PropGridLayout, SplitterBandAndDividerLimits)
{
    EXPECT_EQ(45, ClampSplitterTop(10, 300));
    EXPECT_EQ(280, ClampSplitterTop(299, 300));
    EXPECT_EQ(150, ClampSplitterTop(150, 300));
    EXPECT_EQ(148, PaneHeightForSplitterTop(150, 300));

    EXPECT_DOUBLE_EQ(0.1, ClampDividerPos(TRUE, 5, 200));
    EXPECT_DOUBLE_EQ(0.85, ClampDividerPos(TRUE, 199, 200));
    EXPECT_DOUBLE_EQ(0.5, ClampDividerPos(TRUE, 100, 200));
    EXPECT_DOUBLE_EQ(0.5, ClampDividerPos(TRUE, 30, 0));
    EXPECT_DOUBLE_EQ(1, ClampDividerPos(FALSE, -5, 200));
    EXPECT_DOUBLE_EQ(200, ClampDividerPos(FALSE, 500, 200));
    EXPECT_DOUBLE_EQ(77, ClampDividerPos(FALSE, 77, 200));
    EXPECT_EQ(100, DividerPixels(TRUE, 0.5, 200));
    EXPECT_EQ(77, DividerPixels(FALSE, 77, 200));

    // The hit zone: 3 pixels left of the divider up to 2 right of it.
    int hits = 0;
    for (int x = 90; x <= 110; x++)
        if (IsOnDivider(x, 100)) {
            ++hits;
            EXPECT_TRUE(x >= 97 && x <= 102) << x;
        }
    EXPECT_EQ(6, hits);
}

// ---------------------------------------------------------------------------
// Verbs: every character is 6 pixels wide, lines 10 high.

int Measure(LPCSTR, int n) { return n * 6; }

std::string Pieces(const std::vector<CString>& verbs, int width, int height = 100)
{
    std::vector<VerbPiece> pieces;
    LayoutVerbs({0, 0, width, height}, verbs, 10, 8, Measure, pieces);
    std::string out;
    for (const VerbPiece& p : pieces) {
        if (!out.empty())
            out += "|";
        out += std::to_string(p.nVerb) + "@" + std::to_string(p.rc.left) + "," + std::to_string(p.rc.top) + ":" +
               std::string(verbs[(size_t)p.nVerb].GetString() + p.nStart, (size_t)p.nLength);
    }
    return out;
}

TEST(PropGridVerbs, WrapAtTheLastSpaceCommaOrHyphenThatFits)
{
    // Fits on one line with a comma of 8 between the verbs.
    EXPECT_EQ("0@0,0:Add|1@26,0:Remove", Pieces({"Add", "Remove"}, 200));
    // "Reset all values" (96 px) in 60: estimate (15 * 60) / 96 = 9, back to the space at 9.
    EXPECT_EQ("0@0,0:Reset all |0@0,10:values", Pieces({"Reset all values"}, 60));
    // A hyphen breaks too.
    EXPECT_EQ("0@0,0:Left-|0@0,10:aligned", Pieces({"Left-aligned"}, 45));
    // A verb without a break that does not start a line moves to the next.
    EXPECT_EQ("0@0,0:Edit|1@32,0:Properties", Pieces({"Edit", "Properties"}, 93));
    EXPECT_EQ("0@0,0:Edit|1@0,10:Properties", Pieces({"Edit", "Properties"}, 60));
    // One that starts a line is cut at the estimate.
    EXPECT_EQ("0@0,0:Proper|0@0,10:ties", Pieces({"Properties"}, 40));
    // No line left: drawing stops.
    EXPECT_EQ("0@0,0:Reset all ", Pieces({"Reset all values"}, 60, 15));
}

TEST(PropGridVerbs, HitTestFindsThePieceAndNothingBelow)
{
    std::vector<VerbPiece> pieces;
    std::vector<CString> verbs = {"Reset all values", "Apply"};
    LayoutVerbs({0, 0, 60, 100}, verbs, 10, 8, Measure, pieces);
    EXPECT_EQ(0, VerbFromPoint(pieces, {5, 5}));
    EXPECT_EQ(0, VerbFromPoint(pieces, {5, 15}));
    // "values" ends at 36; "Apply" does not fit after the comma: next line.
    EXPECT_EQ(-1, VerbFromPoint(pieces, {50, 15}));
    EXPECT_EQ(1, VerbFromPoint(pieces, {5, 25}));
    EXPECT_EQ(-1, VerbFromPoint(pieces, {5, 45}));
}

// ---------------------------------------------------------------------------
// The masked-input engine: a telephone number "(___) ___-____" of digits.

const char kMask[] = "(000) 000-0000";
const char kLiteral[] = "(___) ___-____";

struct Mask : ::testing::Test {
    MaskEngine e;
    void SetUp() override { ASSERT_TRUE(e.SetEditMask(kMask, kLiteral, NULL)); }
    // The window shows the engine's text with a selection.
    void Sel(int start, int end) { e.SetShown(e.GetShown(), start, end); }
    std::string Shown() const { return e.GetShown().GetString(); }
    void Type(const char* s)
    {
        for (; *s; ++s)
            e.Char(*s);
    }
};

TEST_F(Mask, DigitsFillInputPositionsAndSkipLiterals)
{
    Sel(0, 0);
    Type("5551234");
    EXPECT_EQ("(555) 123-4___", Shown());
    EXPECT_EQ(11, e.GetSelStart());
}

TEST_F(Mask, EditingKeysAsATable)
{
    struct Case {
        const char* name;
        const char* start;
        int selStart, selEnd;
        std::function<BOOL(MaskEngine&)> op;
        const char* shown;
        BOOL ok;
    } cases[] = {
        {"a letter is refused", "(555) 123-4___", 11, 11, [](MaskEngine& m) { return m.Char('x'); },
         "(555) 123-4___", FALSE},
        {"typing inserts and shifts", "(555) 123-4___", 1, 1, [](MaskEngine& m) { return m.Char('9'); },
         "(955) 512-34__", TRUE},
        {"backspace pulls the later digits left", "(555) 123-4___", 2, 2,
         [](MaskEngine& m) { return m.Backspace(); }, "(551) 234-____", TRUE},
        {"backspace at the start fails", "(555) 123-4___", 0, 0, [](MaskEngine& m) { return m.Backspace(); },
         "(555) 123-4___", FALSE},
        {"delete removes one digit", "(555) 123-4___", 6, 6,
         [](MaskEngine& m) { return m.Delete(FALSE, NULL); }, "(555) 234-____", TRUE},
        {"delete a selection across a literal", "(555) 123-4___", 3, 7,
         [](MaskEngine& m) { return m.Delete(FALSE, NULL); }, "(552) 34_-____", TRUE},
        {"space types a prompt where spaces are refused", "(555) 123-4___", 1, 1,
         [](MaskEngine& m) { return m.Space(); }, "(_55) 512-34__", TRUE},
        {"typing past the end fails", "(555) 123-4567", 14, 14, [](MaskEngine& m) { return m.Char('1'); },
         "(555) 123-4567", FALSE},
    };
    for (Case& c : cases) {
        e.SetShown(c.start, c.selStart, c.selEnd);
        EXPECT_EQ(c.ok, c.op(e)) << c.name;
        EXPECT_EQ(c.shown, Shown()) << c.name;
    }
}

TEST_F(Mask, CopyLeavesTheLiteralsOut)
{
    e.SetShown("(555) 123-4567", 0, 14);
    EXPECT_STREQ("5551234567", e.Copy());
    e.SetShown("(555) 123-4567", 3, 8);
    EXPECT_STREQ("512", e.Copy());
}

TEST_F(Mask, PasteSkipsRefusedCharactersAndTypesTheRest)
{
    e.SetShown(kLiteral, 0, 0);
    e.Paste("(555) abc 123");
    EXPECT_EQ("(555) 123-____", Shown());
    EXPECT_EQ(10, e.GetSelStart());
}

TEST_F(Mask, ALiteralOfAnotherLengthFailsAndTheTextStays)
{
    e.SetShown("(555) 123-4567", 0, 0);
    MaskEngine other;
    EXPECT_FALSE(other.SetEditMask("000", "____", NULL));
    EXPECT_FALSE(e.SetEditMask("000", "____", NULL));
    EXPECT_EQ("(555) 123-4567", Shown());
}

TEST_F(Mask, PromptChangeReplacesItInLiteralAndText)
{
    e.SetShown("(555) 1__-____", 0, 0);
    e.SetPromptChar('*', TRUE);
    EXPECT_EQ("(555) 1**-****", Shown());
    EXPECT_STREQ("(***) ***-****", e.m_strLiteral);
    EXPECT_TRUE(e.IsInputPos(1));
}

TEST_F(Mask, UndoTwiceReturnsToTheTextBeforeTheFirstUndo)
{
    Sel(0, 0);
    Type("12");
    e.Backspace();
    const std::string before = Shown();
    e.Undo();
    EXPECT_NE(before, Shown());
    e.Undo();
    EXPECT_EQ(before, Shown());
}

TEST(MaskLanguage, EachMaskCharacterAcceptsItsClass)
{
    struct Case {
        char mask;
        const char* accepted;
        const char* refused;
    } cases[] = {
        {'0', "0189", "a -+"},
        {'9', "09 ", "a-"},
        {'#', "09 +-", "a.,"},
        {'d', "09 +,-.", "a#"},
        {'L', "azAZ", "0 _"},
        {'?', "aZ ", "0-"},
        {'A', "a0Z9", " -"},
        {'a', "a0 ", "-."},
        {'H', "09afAF", "gG "},
        {'X', "0fF ", "g-"},
        {'>', "aB", "1 "},
        {'<', "aB", "1 "},
        {'&', "#$%&'(.a0 ", ""},
        {'x', "", "a0 "},
    };
    for (const Case& c : cases) {
        MaskEngine m;
        char mask[2] = {c.mask, 0};
        ASSERT_TRUE(m.SetEditMask(mask, "_", NULL));
        for (const char* p = c.accepted; *p; ++p)
            EXPECT_TRUE(m.IsInputChar(*p, 0)) << c.mask << " accepts '" << *p << "'";
        for (const char* p = c.refused; *p; ++p)
            EXPECT_FALSE(m.IsInputChar(*p, 0)) << c.mask << " refuses '" << *p << "'";
    }
}

TEST(MaskLanguage, PunctuationTheKeyCodesShareIsTypedWhereTheMaskAllowsIt)
{
    // '#', '$', '%', '&', apostrophe, '(' and '.' have the numbers of the
    // End, Home, arrow and Delete keys; as characters they are typed.
    MaskEngine m;
    ASSERT_TRUE(m.SetEditMask("&&&&&&&", "_______", NULL));
    m.SetShown("_______", 0, 0);
    for (const char* p = "#$%&'(."; *p; ++p)
        EXPECT_TRUE(m.Char(*p)) << *p;
    EXPECT_STREQ("#$%&'(.", m.GetShown());
}

TEST(MaskLanguage, CaseMasksStoreTheirCase)
{
    MaskEngine m;
    ASSERT_TRUE(m.SetEditMask(">><<", "____", NULL));
    m.SetShown("____", 0, 0);
    for (const char* p = "abCD"; *p; ++p)
        m.Char(*p);
    EXPECT_STREQ("ABcd", m.GetShown());
}

TEST(MaskLanguage, DefaultTextIsTypedThroughTheMask)
{
    MaskEngine m;
    ASSERT_TRUE(m.SetEditMask(kMask, kLiteral, "5551234"));
    EXPECT_STREQ("(555) 123-4___", m.GetShown());
    ASSERT_TRUE(m.SetEditMask(kMask, kLiteral, "(999) 888-7777"));
    EXPECT_STREQ("(999) 888-7777", m.GetShown());
}

} // namespace
