// The two message boxes the worker shows: the question before a large file
// and the error of a faulty regular expression.  Real windows: the test
// finds each box, reads it and clicks one of its buttons.
#include "FindInFiles.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

using namespace fiftest;

namespace {

struct SeenBox {
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons; // ids of the push buttons it had
};

BOOL CALLBACK CollectBox(HWND hwnd, LPARAM param)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {0};
    GetClassNameW(hwnd, cls, 64);
    if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && wcscmp(cls, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindBox()
{
    HWND box = nullptr;
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

struct ChildTexts {
    std::wstring longestStatic;
    std::vector<int> buttons;
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param)
{
    ChildTexts* t = reinterpret_cast<ChildTexts*>(param);
    wchar_t cls[64] = {0};
    GetClassNameW(hwnd, cls, 64);
    if (_wcsicmp(cls, L"Button") == 0 && IsWindowVisible(hwnd)) {
        t->buttons.push_back(GetDlgCtrlID(hwnd));
    } else if (_wcsicmp(cls, L"Static") == 0) {
        const int n = GetWindowTextLengthW(hwnd);
        std::wstring s(static_cast<size_t>(n) + 1, L'\0');
        GetWindowTextW(hwnd, &s[0], n + 1);
        s.resize(static_cast<size_t>(n));
        if (s.size() > t->longestStatic.size())
            t->longestStatic = s;
    }
    return TRUE;
}

// Answers every box that shows up until the search finishes, with the
// buttons in answers (in order); returns what the boxes said.
std::vector<SeenBox> AnswerBoxes(RecordingSink& sink, std::deque<int> answers)
{
    std::vector<SeenBox> seen;
    const DWORD deadline = GetTickCount() + 60000;
    while (!sink.Wait(20)) {
        if (static_cast<int>(GetTickCount() - deadline) > 0) {
            ADD_FAILURE() << "the search did not finish";
            break;
        }
        HWND box = FindBox();
        if (!box)
            continue;
        SeenBox s;
        const int n = GetWindowTextLengthW(box);
        s.caption.assign(static_cast<size_t>(n) + 1, L'\0');
        GetWindowTextW(box, &s.caption[0], n + 1);
        s.caption.resize(static_cast<size_t>(n));
        ChildTexts t;
        EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&t));
        s.text = t.longestStatic;
        s.buttons = t.buttons;
        std::sort(s.buttons.begin(), s.buttons.end());
        seen.push_back(s);
        const int answer = answers.empty() ? IDCANCEL : answers.front();
        if (!answers.empty())
            answers.pop_front();
        HWND button = GetDlgItem(box, answer);
        EXPECT_NE(nullptr, button) << "no button " << answer;
        if (button)
            SendMessageW(button, BM_CLICK, 0, 0);
        else
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        for (int i = 0; i < 500 && IsWindow(box) && IsWindowVisible(box); ++i)
            Sleep(10);
    }
    return seen;
}

std::string Filler(size_t size, const char* tail)
{
    std::string s(size - strlen(tail), 'h');
    for (size_t i = 80; i < s.size(); i += 81)
        s[i] = '\n';
    return s + tail;
}

std::wstring Question(long long size, const std::wstring& name)
{
    return L"File size is " + std::to_wstring(size) + L" bytes for file: " + name +
           L"   .\r\nDo you want to search the file?";
}

TEST(LargeFiles, AskBeforeSearchingThem)
{
    qmtest::TempDir tree{"qmfif"};
    const std::wstring big = TreeFile(tree, L"big.log", Filler(5024001, "\nneedle"));
    const std::wstring exact = TreeFile(tree, L"exact.log", Filler(5024000, "\nneedle"));
    const int lastLine = 5023994 / 81 + 2;
    const int bigLastLine = 5023995 / 81 + 2;

    struct Case {
        int answer;
        std::vector<std::wstring> hits;
        long long files;
    } cases[] = {
        {IDYES, {Hit(big, bigLastLine, 0, L"needle"), Hit(exact, lastLine, 0, L"needle")}, 2},
        {IDNO, {Hit(exact, lastLine, 0, L"needle")}, 1},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        CFindInFiles engine;
        ASSERT_EQ(1, engine.Find(L"needle", L"*.log", tree.WidePath().c_str(), 0, 1, 0, 0, &sink));
        const std::vector<SeenBox> boxes = AnswerBoxes(sink, {c.answer});
        ASSERT_EQ(1u, boxes.size()) << "only the file over the limit asks";
        EXPECT_EQ(Question(5024001, L"big"), boxes[0].text);
        EXPECT_EQ((std::vector<int>{IDCANCEL, IDYES, IDNO}), boxes[0].buttons);
        EXPECT_EQ(c.hits, sink.Hits());
        EXPECT_EQ(Msg(Summary(static_cast<long long>(c.hits.size()), c.files, 4)), sink.Calls()[sink.Calls().size() - 2]);
        engine.Cleanup();
    }
}

TEST(LargeFiles, SizesBeyondFourGigabytesAndCancel)
{
    qmtest::TempDir tree{"qmfif"};
    // A sparse file of 5 GB: its size needs all 64 bits.
    const std::wstring huge = tree.WidePath(L"huge.bin");
    HANDLE h = CreateFileW(Long(huge).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LARGE_INTEGER size;
    size.QuadPart = 5LL * 1024 * 1024 * 1024 + 7;
    ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(h));
    CloseHandle(h);
    const std::wstring later = TreeFile(tree, L"later.bin", "needle\n");

    {
        // No: the file is skipped, the search goes on.
        RecordingSink sink;
        CFindInFiles engine;
        ASSERT_EQ(1, engine.Find(L"needle", L"*.bin", tree.WidePath().c_str(), 0, 0, 0, 0, &sink));
        const std::vector<SeenBox> boxes = AnswerBoxes(sink, {IDNO});
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(Question(size.QuadPart, L"huge"), boxes[0].text);
        const std::vector<std::wstring> expected = {
            Msg(L"Find all \"needle\",  \"*.bin\""),
            Hit(later, 1, 0, L"needle\n"),
            Msg(Summary(1, 1, 4)),
            Fin(),
        };
        EXPECT_EQ(expected, sink.Calls());
        engine.Cleanup();
    }
    {
        // Cancel ends the whole search; the summary still comes.
        RecordingSink sink;
        CFindInFiles engine;
        ASSERT_EQ(1, engine.Find(L"needle", L"*.bin", tree.WidePath().c_str(), 0, 0, 0, 0, &sink));
        const std::vector<SeenBox> boxes = AnswerBoxes(sink, {IDCANCEL});
        ASSERT_EQ(1u, boxes.size());
        const std::vector<std::wstring> expected = {
            Msg(L"Find all \"needle\",  \"*.bin\""),
            Msg(Summary(0, 0, 3)),
            Fin(),
        };
        EXPECT_EQ(expected, sink.Calls());
        engine.Cleanup();
    }
}

TEST(FaultyRegex, OneMessageForTheWholeSearch)
{
    qmtest::TempDir tree{"qmfif"};
    for (int i = 0; i < 5; ++i)
        TreeFile(tree, L"f" + std::to_wstring(i) + L".txt", "abc\n");
    struct Case {
        const wchar_t* pattern;
        const wchar_t* error;
    } cases[] = {
        {L"[abc", L"Missing ]"},
        {L"*x", L"Empty closure"},
        {L"\\(a", L"Unmatched \\("},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        CFindInFiles engine;
        ASSERT_EQ(1, engine.Find(c.pattern, L"*.txt", tree.WidePath().c_str(), 1, 0, 0, 1, &sink));
        const std::vector<SeenBox> boxes = AnswerBoxes(sink, {IDOK});
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(std::wstring(c.error), boxes[0].text);
        EXPECT_EQ(L"", boxes[0].caption);
        EXPECT_EQ((std::vector<int>{IDOK}), boxes[0].buttons);
        const std::vector<std::wstring> expected = {
            Msg(L"Find all \"" + std::wstring(c.pattern) + L"\", Subfolders Regular Expressions  \"*.txt\""),
            Msg(Summary(0, 0, 0)),
            Fin(),
        };
        EXPECT_EQ(expected, sink.Calls());
        engine.Cleanup();
    }
}

} // namespace
