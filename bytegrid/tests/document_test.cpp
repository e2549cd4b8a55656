// The document behind the control: piece table edits, undo and redo, the
// saved state, search, and loading and saving files.
#include "clip_text.h"
#include "document.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

using bgtest::Bytes;
using bytegrid::CaretState;
using bytegrid::Document;

namespace {

std::string Text(const Document& doc)
{
    std::string s(static_cast<size_t>(doc.Length()), '\0');
    doc.Read(0, s.size(), reinterpret_cast<uint8_t*>(&s[0]));
    return s;
}

bool Put(Document& doc, uint64_t pos, uint64_t oldLen, const std::string& bytes, bool typing = false)
{
    DWORD error = 0;
    CaretState c;
    return doc.Replace(pos, oldLen, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), typing, c, c,
                       &error);
}

// A document loaded from a file holding `text`, so edits mix the original
// with added bytes.
struct Loaded {
    qmtest::TempDir folder;
    std::string path;
    Document doc;
    explicit Loaded(const std::string& text)
    {
        path = folder.Path("doc.bin");
        EXPECT_TRUE(bgtest::WriteBytes(path, Bytes(text)));
        DWORD error = 0;
        EXPECT_TRUE(doc.Load(path, &error)) << error;
    }
};

struct EditCase {
    const char* name;
    const char* original;
    struct Op {
        uint64_t pos, oldLen;
        const char* bytes;
    } ops[4];
    const char* expected;
};

const EditCase kEdits[] = {
    {"insert at start", "world", {{0, 0, "hello "}}, "hello world"},
    {"insert at end", "abc", {{3, 0, "def"}}, "abcdef"},
    {"insert inside", "abef", {{2, 0, "cd"}}, "abcdef"},
    {"delete inside", "abcdef", {{1, 3, ""}}, "aef"},
    {"delete everything", "abcdef", {{0, 6, ""}}, ""},
    {"overwrite", "abcdef", {{2, 2, "XY"}}, "abXYef"},
    {"delete past the end is clamped", "abcdef", {{4, 100, ""}}, "abcd"},
    {"edits across earlier edits",
     "0123456789",
     {{5, 0, "abc"}, {3, 4, "-"}, {0, 1, "XY"}, {9, 3, ""}},
     "XY12-c567"},
    {"many small pieces", "aaaa", {{1, 0, "b"}, {3, 0, "c"}, {5, 0, "d"}, {2, 3, ""}}, "abda"},
};

class Edits : public ::testing::TestWithParam<EditCase> {};

TEST_P(Edits, ApplyUndoAndRedo)
{
    const EditCase& c = GetParam();
    Loaded l(c.original);
    size_t steps = 0;
    for (const auto& op : c.ops) {
        if (!op.bytes)
            break;
        ASSERT_TRUE(Put(l.doc, op.pos, op.oldLen, op.bytes));
        ++steps;
    }
    EXPECT_EQ(Text(l.doc), c.expected);
    EXPECT_EQ(l.doc.Length(), std::string(c.expected).size());

    CaretState caret;
    while (l.doc.CanUndo())
        ASSERT_TRUE(l.doc.Undo(&caret));
    EXPECT_EQ(Text(l.doc), c.original);
    EXPECT_FALSE(l.doc.Modified());
    size_t redone = 0;
    while (l.doc.CanRedo()) {
        ASSERT_TRUE(l.doc.Redo(&caret));
        ++redone;
    }
    EXPECT_LE(redone, steps);
    EXPECT_EQ(Text(l.doc), c.expected);
    EXPECT_TRUE(l.doc.Modified());
}

INSTANTIATE_TEST_SUITE_P(Document, Edits, ::testing::ValuesIn(kEdits),
                         [](const ::testing::TestParamInfo<EditCase>& i) {
                             std::string n = i.param.name;
                             std::replace_if(
                                 n.begin(), n.end(), [](char ch) { return !isalnum(ch); }, '_');
                             return n;
                         });

TEST(Document, TypingJoinsOneUndoStepUntilTheCaretMoves)
{
    Loaded l("0123456789");
    // Typing three bytes in insert mode, then overwriting the digit after them.
    ASSERT_TRUE(Put(l.doc, 2, 0, "a", true));
    ASSERT_TRUE(Put(l.doc, 3, 0, "b", true));
    ASSERT_TRUE(Put(l.doc, 4, 0, "c", true));
    ASSERT_TRUE(Put(l.doc, 5, 1, "X", true)); // overwrote '2', a byte from before the step
    EXPECT_EQ(Text(l.doc), "01abcX3456789");
    EXPECT_EQ(l.doc.UndoDepth(), 1u);

    l.doc.SealTyping();
    ASSERT_TRUE(Put(l.doc, 0, 0, "z", true));
    EXPECT_EQ(l.doc.UndoDepth(), 2u);

    CaretState caret;
    ASSERT_TRUE(l.doc.Undo(&caret));
    EXPECT_EQ(Text(l.doc), "01abcX3456789");
    ASSERT_TRUE(l.doc.Undo(&caret));
    EXPECT_EQ(Text(l.doc), "0123456789");
    ASSERT_TRUE(l.doc.Redo(&caret));
    EXPECT_EQ(Text(l.doc), "01abcX3456789");
}

TEST(Document, HexDigitPairsTypedAsOneStepRestoreTheCaret)
{
    Loaded l("AB");
    CaretState before, mid, after;
    before.caret = before.anchor = 1;
    mid = before;
    mid.nibble = 1;
    after.caret = after.anchor = 2;
    DWORD error = 0;
    const uint8_t high = 0x70, both = 0x7A;
    ASSERT_TRUE(l.doc.Replace(1, 0, &high, 1, true, before, mid, &error));
    ASSERT_TRUE(l.doc.Replace(1, 1, &both, 1, true, mid, after, &error));
    EXPECT_EQ(Text(l.doc), "A\x7A"
                           "B");
    CaretState got;
    ASSERT_TRUE(l.doc.Undo(&got));
    EXPECT_EQ(Text(l.doc), "AB");
    EXPECT_EQ(got.caret, 1u);
    EXPECT_EQ(got.nibble, 0);
    ASSERT_TRUE(l.doc.Redo(&got));
    EXPECT_EQ(got.caret, 2u);
}

TEST(Document, ModifiedFollowsTheSavedStepThroughUndoAndRedo)
{
    Loaded l("abc");
    EXPECT_FALSE(l.doc.Modified());
    ASSERT_TRUE(Put(l.doc, 0, 0, "1", true));
    EXPECT_TRUE(l.doc.Modified());
    DWORD error = 0;
    ASSERT_TRUE(l.doc.Save(l.path, &error)) << error;
    EXPECT_FALSE(l.doc.Modified());
    // Typing right after the save must not join the saved step.
    ASSERT_TRUE(Put(l.doc, 1, 0, "2", true));
    EXPECT_TRUE(l.doc.Modified());
    CaretState c;
    ASSERT_TRUE(l.doc.Undo(&c));
    EXPECT_FALSE(l.doc.Modified());
    EXPECT_EQ(Text(l.doc), "1abc");
    ASSERT_TRUE(l.doc.Undo(&c));
    EXPECT_TRUE(l.doc.Modified());
    // A new change here makes the saved state unreachable.
    ASSERT_TRUE(Put(l.doc, 0, 0, "x"));
    EXPECT_TRUE(l.doc.Modified());
    ASSERT_TRUE(l.doc.Undo(&c));
    EXPECT_TRUE(l.doc.Modified()) << "the saved state was dropped with the redo steps";
    EXPECT_EQ(Text(l.doc), "abc");
}

struct FindCase {
    const char* name;
    const char* pattern;
    bool matchCase, up;
    uint64_t from;
    int expected; // -1: not found
};

// Document: "Hello hello HELLO" with edits, so matches cross piece edges.
const FindCase kFinds[] = {
    {"down from start, any case", "hello", false, false, 0, 0},
    {"down, matching case", "hello", true, false, 0, 6},
    {"down from inside a match", "hello", false, false, 1, 6},
    {"down finds the last", "HELLO", true, false, 7, 12},
    {"down past the last", "hello", false, false, 13, -1},
    {"up from the end", "hello", false, true, 17, 12},
    {"up before a start", "hello", false, true, 12, 6},
    {"up, matching case", "Hello", true, true, 17, 0},
    {"up from the start", "hello", false, true, 0, -1},
    {"pattern longer than the document", "Hello hello HELLO!", false, false, 0, -1},
    {"whole document", "Hello hello HELLO", true, false, 0, 0},
    {"bytes that are not letters ignore case folding", " h", false, false, 0, 5},
};

class Finds : public ::testing::TestWithParam<FindCase> {};

TEST_P(Finds, InEditedDocument)
{
    const FindCase& c = GetParam();
    Loaded l("Hexxo hello HELxO");
    ASSERT_TRUE(Put(l.doc, 2, 2, "ll"));
    ASSERT_TRUE(Put(l.doc, 15, 1, "L"));
    ASSERT_GT(l.doc.Table().PieceList().size(), 3u);
    ASSERT_EQ(Text(l.doc), "Hello hello HELLO");
    std::string p = c.pattern;
    uint64_t found = 12345;
    bool ok = l.doc.Find(std::vector<uint8_t>(p.begin(), p.end()), c.matchCase, c.up, c.from, &found);
    if (c.expected < 0) {
        EXPECT_FALSE(ok);
    } else {
        ASSERT_TRUE(ok);
        EXPECT_EQ(found, static_cast<uint64_t>(c.expected));
    }
}

INSTANTIATE_TEST_SUITE_P(Document, Finds, ::testing::ValuesIn(kFinds),
                         [](const ::testing::TestParamInfo<FindCase>& i) {
                             std::string n = i.param.name;
                             std::replace_if(
                                 n.begin(), n.end(), [](char ch) { return !isalnum(ch); }, '_');
                             return n;
                         });

TEST(Document, FindsMatchesThatStraddleSearchBlocks)
{
    // The search reads the document in blocks of 1 MiB; put matches across
    // the block edges in both directions.
    qmtest::TempDir folder;
    std::string path = folder.Path("big.bin");
    const uint64_t mib = 1 << 20;
    ASSERT_TRUE(bgtest::MakeLargeFile(path, 3 * mib, {{mib - 2, "NEEDLE"}, {2 * mib - 3, "NEEDLE"}}));
    Document doc;
    DWORD error = 0;
    ASSERT_TRUE(doc.Load(path, &error)) << error;
    std::vector<uint8_t> needle = Bytes("needle");
    uint64_t found = 0;
    ASSERT_TRUE(doc.Find(needle, false, false, 0, &found));
    EXPECT_EQ(found, mib - 2);
    ASSERT_TRUE(doc.Find(needle, false, false, found + 1, &found));
    EXPECT_EQ(found, 2 * mib - 3);
    EXPECT_FALSE(doc.Find(needle, false, false, found + 1, &found));
    ASSERT_TRUE(doc.Find(needle, false, true, doc.Length(), &found));
    EXPECT_EQ(found, 2 * mib - 3);
    ASSERT_TRUE(doc.Find(needle, false, true, found, &found));
    EXPECT_EQ(found, mib - 2);
    EXPECT_FALSE(doc.Find(needle, true, false, 0, &found)) << "the file holds it in capitals only";
}

TEST(Document, ForwardFindAgreesWithAPlainScan)
{
    // The forward search looks at sixteen places at a time in the mapped
    // bytes: matches at every place of short documents (around the block
    // edges and the tail), letters in either case, bytes next to letters in
    // the code table, and bytes above 0x7F, against a byte-by-byte scan.
    auto fold = [](uint8_t c) { return c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c + 32) : c; };
    const std::string alphabet = "aAbB@`[{z\x80\xC1\xE1";
    uint32_t x = 7;
    auto next = [&] {
        x = x * 1664525u + 1013904223u;
        return x >> 16;
    };
    for (size_t size : {1u, 2u, 15u, 16u, 17u, 31u, 32u, 33u, 47u, 100u}) {
        std::string text;
        for (size_t i = 0; i < size; ++i)
            text += alphabet[next() % alphabet.size()];
        Loaded l(text);
        ASSERT_EQ(Text(l.doc), text);
        for (int round = 0; round < 40; ++round) {
            // Patterns taken from the text (so they occur) or made up.
            std::string p;
            const size_t m = 1 + next() % 4;
            if (round % 2 == 0 && m <= size) {
                p = text.substr(next() % (size - m + 1), m);
                for (char& c : p)
                    if (next() % 2)
                        c = static_cast<char>(fold(static_cast<uint8_t>(c)) == static_cast<uint8_t>(c)
                                                  ? std::toupper(static_cast<unsigned char>(c))
                                                  : c);
            } else {
                for (size_t k = 0; k < m; ++k)
                    p += alphabet[next() % alphabet.size()];
            }
            for (bool matchCase : {false, true}) {
                for (uint64_t from = 0; from <= size; from += 1 + size / 7) {
                    int expected = -1;
                    for (size_t at = from; expected < 0 && at + p.size() <= size; ++at) {
                        bool same = true;
                        for (size_t k = 0; same && k < p.size(); ++k) {
                            const uint8_t a = static_cast<uint8_t>(text[at + k]);
                            const uint8_t b = static_cast<uint8_t>(p[k]);
                            same = matchCase ? a == b : fold(a) == fold(b);
                        }
                        if (same)
                            expected = static_cast<int>(at);
                    }
                    uint64_t found = 0;
                    const bool ok = l.doc.Find(Bytes(p), matchCase, false, from, &found);
                    SCOPED_TRACE("size " + std::to_string(size) + " pattern \"" + p + "\" from " +
                                 std::to_string(from) + (matchCase ? " matching case" : " any case"));
                    ASSERT_EQ(expected >= 0, ok);
                    if (ok) {
                        EXPECT_EQ(static_cast<uint64_t>(expected), found);
                    }
                }
            }
        }
    }
}

TEST(Document, LoadFailuresKeepTheShownDocument)
{
    Loaded l("keep me");
    DWORD error = 0;
    EXPECT_FALSE(l.doc.Load(l.folder.Path("missing.bin"), &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Text(l.doc), "keep me");

    // 4 GiB and more is refused; the file is sparse, so this is quick.
    std::string huge = l.folder.Path("huge.bin");
    ASSERT_TRUE(bgtest::MakeLargeFile(huge, 0x100000000ull));
    EXPECT_FALSE(l.doc.Load(huge, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    EXPECT_EQ(Text(l.doc), "keep me");
    DeleteFileA(huge.c_str());

    std::string empty = l.folder.Path("empty.bin");
    ASSERT_TRUE(bgtest::WriteBytes(empty, {}));
    ASSERT_TRUE(l.doc.Load(empty, &error));
    EXPECT_EQ(l.doc.Length(), 0u);
    ASSERT_TRUE(Put(l.doc, 0, 0, "now"));
    EXPECT_EQ(Text(l.doc), "now");
}

TEST(Document, EditsThatWouldPassTheSizeLimitAreRefused)
{
    qmtest::TempDir folder;
    std::string path = folder.Path("limit.bin");
    ASSERT_TRUE(bgtest::MakeLargeFile(path, 0xFFFFFFFFull));
    Document doc;
    DWORD error = 0;
    ASSERT_TRUE(doc.Load(path, &error)) << error;
    CaretState c;
    const uint8_t b = 1;
    EXPECT_FALSE(doc.Replace(5, 0, &b, 1, false, c, c, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    EXPECT_EQ(doc.Length(), 0xFFFFFFFFull);
    EXPECT_TRUE(doc.Replace(5, 1, &b, 1, false, c, c, &error)) << "same length is fine";
    EXPECT_EQ(doc.ByteAt(5), 1);
    doc.New(); // let go of the file before the folder goes
}

TEST(Document, SaveOverTheLoadedFileKeepsTheUndoHistory)
{
    Loaded l("ABCDEFGH");
    ASSERT_TRUE(Put(l.doc, 2, 2, ""));   // removes original bytes "CD"
    ASSERT_TRUE(Put(l.doc, 0, 0, "xy")); // added bytes
    ASSERT_EQ(Text(l.doc), "xyABEFGH");
    DWORD error = 0;
    ASSERT_TRUE(l.doc.Save(l.path, &error)) << error;
    EXPECT_EQ(bgtest::ReadBytes(l.path), Bytes("xyABEFGH"));
    // Only the document's file is left: no temporary or set-aside files.
    EXPECT_EQ(l.folder.Files(), std::vector<std::string>{"doc.bin"});

    // The removed bytes came from the old file, which is gone now.
    CaretState c;
    ASSERT_TRUE(l.doc.Undo(&c));
    ASSERT_TRUE(l.doc.Undo(&c));
    EXPECT_EQ(Text(l.doc), "ABCDEFGH");
    EXPECT_TRUE(l.doc.Modified());
    ASSERT_TRUE(l.doc.Redo(&c));
    EXPECT_EQ(Text(l.doc), "ABEFGH");
    ASSERT_TRUE(l.doc.Save(l.path, &error)) << error;
    EXPECT_EQ(bgtest::ReadBytes(l.path), Bytes("ABEFGH"));
    ASSERT_TRUE(l.doc.Redo(&c));
    EXPECT_EQ(Text(l.doc), "xyABEFGH");
    EXPECT_TRUE(l.doc.Modified()) << "the first save's state is not the last save's";
}

TEST(Document, SaveAsLeavesTheLoadedFileAlone)
{
    Loaded l("original");
    ASSERT_TRUE(Put(l.doc, 0, 1, "O"));
    DWORD error = 0;
    std::string other = l.folder.Path("copy.bin");
    ASSERT_TRUE(l.doc.Save(other, &error)) << error;
    EXPECT_EQ(bgtest::ReadBytes(other), Bytes("Original"));
    EXPECT_EQ(bgtest::ReadBytes(l.path), Bytes("original"));
    EXPECT_FALSE(l.doc.Modified());
    // Saving again over an existing, unrelated file replaces it.
    ASSERT_TRUE(Put(l.doc, 8, 0, "!"));
    ASSERT_TRUE(l.doc.Save(other, &error)) << error;
    EXPECT_EQ(bgtest::ReadBytes(other), Bytes("Original!"));
}

TEST(Document, FailedSavesLeaveTheTargetAsItWas)
{
    Loaded l("document bytes");
    ASSERT_TRUE(Put(l.doc, 0, 8, "changed!"));
    DWORD error = 0;

    // A read-only target.
    std::string ro = l.folder.Path("readonly.bin");
    ASSERT_TRUE(bgtest::WriteBytes(ro, Bytes("precious")));
    ASSERT_TRUE(SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(l.doc.Save(ro, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(bgtest::ReadBytes(ro), Bytes("precious"));

    // The loaded file itself, made read-only.
    ASSERT_TRUE(SetFileAttributesA(l.path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(l.doc.Save(l.path, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(bgtest::ReadBytes(l.path), Bytes("document bytes"));
    SetFileAttributesA(l.path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // A target another program holds open without sharing deletion.
    std::string locked = l.folder.Path("locked.bin");
    ASSERT_TRUE(bgtest::WriteBytes(locked, Bytes("in use")));
    HANDLE h = CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(l.doc.Save(locked, &error));
    EXPECT_NE(error, 0u);
    CloseHandle(h);
    EXPECT_EQ(bgtest::ReadBytes(locked), Bytes("in use"));

    // A folder that does not exist, and a folder in place of a file.
    EXPECT_FALSE(l.doc.Save(l.folder.Path("no such folder\\x.bin"), &error));
    EXPECT_NE(error, 0u);
    EXPECT_FALSE(l.doc.Save(l.folder.Path(), &error));
    EXPECT_NE(error, 0u);
    EXPECT_FALSE(l.doc.Save("", &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    EXPECT_TRUE(l.doc.Modified());
    std::vector<std::string> files = l.folder.Files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"doc.bin", "locked.bin", "readonly.bin"}))
        << "no temporary file is left behind";
}

struct HexTextCase {
    const char* text;
    const char* bytes; // null: not hex text
    size_t count;
};

TEST(ClipText, HexTextIsReadOnlyWhenMadeOfDigitPairs)
{
    const HexTextCase cases[] = {
        {"0A 0b", "\x0A\x0B", 2},
        {"0a0bff", "\x0A\x0B\xFF", 3},
        {"  00\r\n7f\t", "\x00\x7F", 2},
        {"ABC", nullptr, 0},
        {"0A B", nullptr, 0},
        {"0G", nullptr, 0},
        {"hello", nullptr, 0},
        {"", nullptr, 0},
        {"   ", nullptr, 0},
    };
    for (const HexTextCase& c : cases) {
        std::vector<uint8_t> out;
        bool ok = bytegrid::HexTextToBytes(c.text, strlen(c.text), &out);
        if (!c.bytes) {
            EXPECT_FALSE(ok) << c.text;
            EXPECT_TRUE(out.empty()) << c.text;
        } else {
            ASSERT_TRUE(ok) << c.text;
            EXPECT_EQ(out, std::vector<uint8_t>(c.bytes, c.bytes + c.count)) << c.text;
        }
    }
}

TEST(ClipText, HexAndCharacterTextRoundTrip)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 40; ++i)
        bytes.push_back(static_cast<uint8_t>(i * 7));
    std::string hex = bytegrid::BytesToHexText(bytes.data(), bytes.size());
    EXPECT_EQ(hex.substr(0, 11), "00 07 0E 15");
    EXPECT_NE(hex.find("\r\n"), std::string::npos) << "16 bytes a line";
    std::vector<uint8_t> back;
    ASSERT_TRUE(bytegrid::HexTextToBytes(hex.data(), hex.size(), &back));
    EXPECT_EQ(back, bytes);

    const uint8_t withNul[] = {'a', 0, 'b'};
    EXPECT_EQ(bytegrid::BytesToCharText(withNul, 3), "a.b");
}

} // namespace
