#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <set>
#include <vector>

#include "../include/qmate_handover.h"
#include "enumerators.h"

namespace {

// A process list of `total` ids (1000, 1001, ...) served as EnumProcesses
// would: as much as fits in the caller's buffer.
struct FakeProcessList {
    DWORD total;
    std::vector<DWORD> bufferSizes; // every buffer the enumerator offered, in bytes

    ProcessListSource Source()
    {
        return [this](DWORD* ids, DWORD bytes, DWORD* written) {
            bufferSizes.push_back(bytes);
            DWORD fit = std::min<DWORD>(total, bytes / sizeof(DWORD));
            for (DWORD i = 0; i < fit; ++i)
                ids[i] = 1000 + i;
            *written = fit * sizeof(DWORD);
            return TRUE;
        };
    }
};

std::vector<DWORD> Collect(CProcessEnumerator& e)
{
    std::vector<DWORD> ids;
    DWORD id = 0;
    for (bool more = e.First(id); more; more = e.Next(id))
        ids.push_back(id);
    return ids;
}

TEST(ProcessEnumeratorTest, ListsEveryEntryFromTheFirstOnAndGrowsUntilTheListFits)
{
    struct Case {
        DWORD total;
        size_t calls;
    };
    const Case cases[] = {{0, 1}, {3, 1}, {1023, 1}, {1024, 2}, {3000, 3}};
    for (const Case& c : cases) {
        FakeProcessList list{c.total, {}};
        CProcessEnumerator e(list.Source());
        std::vector<DWORD> ids = Collect(e);
        ASSERT_EQ(ids.size(), c.total) << c.total << " processes";
        for (DWORD i = 0; i < c.total; ++i)
            ASSERT_EQ(ids[i], 1000 + i) << c.total << " processes, entry " << i;
        EXPECT_EQ(list.bufferSizes.size(), c.calls) << c.total << " processes";
        EXPECT_EQ(list.bufferSizes.front(), 1024 * sizeof(DWORD));
    }
}

TEST(ProcessEnumeratorTest, IdZeroIsAnEntryNotTheEnd)
{
    CProcessEnumerator e([](DWORD* ids, DWORD, DWORD* written) {
        ids[0] = 0; // the idle process
        ids[1] = 44;
        *written = 2 * sizeof(DWORD);
        return TRUE;
    });
    EXPECT_EQ(Collect(e), (std::vector<DWORD>{0, 44}));
}

TEST(ProcessEnumeratorTest, FailingOrEndlesslyFullListsEndTheSearch)
{
    CProcessEnumerator failing([](DWORD*, DWORD, DWORD*) { return FALSE; });
    EXPECT_EQ(failing.Count(), 0u);
    DWORD id = 0;
    EXPECT_FALSE(failing.First(id));

    // A source that always fills the buffer must not make the enumerator grow for ever.
    int calls = 0;
    CProcessEnumerator endless([&calls](DWORD* ids, DWORD bytes, DWORD* written) {
        ++calls;
        std::fill(ids, ids + bytes / sizeof(DWORD), 7u);
        *written = bytes;
        return TRUE;
    });
    EXPECT_LT(calls, 40);
}

TEST(ProcessEnumeratorTest, SystemListHoldsThisProcessAndMatchesTheSystemsOwnList)
{
    std::vector<DWORD> direct(4096);
    DWORD written = 0;
    ASSERT_TRUE(EnumProcesses(direct.data(), static_cast<DWORD>(direct.size() * sizeof(DWORD)), &written));
    direct.resize(written / sizeof(DWORD));
    CProcessEnumerator e;
    std::vector<DWORD> ids = Collect(e);
    EXPECT_NE(std::find(ids.begin(), ids.end(), GetCurrentProcessId()), ids.end());
    // The first entry of the system's list is there too.
    ASSERT_FALSE(direct.empty());
    EXPECT_NE(std::find(ids.begin(), ids.end(), direct.front()), ids.end());
}

TEST(ModuleEnumeratorTest, FirstModuleIsTheProgramImage)
{
    HANDLE self = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    CModuleEnumerator modules(self);
    EXPECT_EQ(modules.First(), GetModuleHandleA(nullptr));
    EXPECT_GT(modules.Count(), 1u);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    bool found = false;
    for (HMODULE m = modules.Next(); m; m = modules.Next())
        found |= m == kernel;
    EXPECT_TRUE(found);

    CModuleEnumerator none(nullptr);
    EXPECT_EQ(none.First(), nullptr);
}

// Windows of this process: a visible frame of the editor's class, a hidden
// one, and a topmost tool window created last (so first in Z order).
class WindowEnumeratorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = QM_MAINFRAME_CLASS;
        RegisterClassA(&wc);
        wc.lpszClassName = "QuillmateTestToolWindow";
        RegisterClassA(&wc);
        m_hiddenFrame = CreateWindowA(QM_MAINFRAME_CLASS, "hidden", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                      nullptr, wc.hInstance, nullptr);
        m_frame = CreateWindowA(QM_MAINFRAME_CLASS, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, wc.hInstance, nullptr);
        m_tool = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "QuillmateTestToolWindow", "", WS_POPUP | WS_VISIBLE,
                                 10, 10, 50, 20, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(m_hiddenFrame && m_frame && m_tool);
    }
    void TearDown() override
    {
        DestroyWindow(m_tool);
        DestroyWindow(m_frame);
        DestroyWindow(m_hiddenFrame);
    }

    static std::vector<HWND> All(CWindowEnumerator& e)
    {
        std::vector<HWND> out;
        for (HWND w = e.First(); w; w = e.Next())
            out.push_back(w);
        return out;
    }

    HWND m_hiddenFrame = nullptr, m_frame = nullptr, m_tool = nullptr;
};

TEST_F(WindowEnumeratorTest, ProcessWindowsAreTheVisibleOnesOfTheProcessInZOrder)
{
    CProcessWindowEnumerator anyClass(GetCurrentProcessId(), nullptr, 1024);
    std::vector<HWND> windows = All(anyClass);
    auto pos = [&](HWND w) { return std::find(windows.begin(), windows.end(), w) - windows.begin(); };
    ASSERT_LT(pos(m_tool), static_cast<long>(windows.size()));
    ASSERT_LT(pos(m_frame), static_cast<long>(windows.size()));
    EXPECT_LT(pos(m_tool), pos(m_frame));
    EXPECT_EQ(pos(m_hiddenFrame), static_cast<long>(windows.size()));

    CProcessWindowEnumerator frames(GetCurrentProcessId(), QM_MAINFRAME_CLASS, 1024);
    EXPECT_EQ(All(frames), std::vector<HWND>{m_frame});

    CProcessWindowEnumerator otherProcess(GetCurrentProcessId() + 4, QM_MAINFRAME_CLASS, 1024);
    EXPECT_EQ(otherProcess.First(), nullptr);
}

TEST_F(WindowEnumeratorTest, CapacityLimitsTheList)
{
    CProcessWindowEnumerator one(GetCurrentProcessId(), nullptr, 1);
    EXPECT_EQ(one.Count(), 1u);
    CWindowEnumerator all(1024);
    all.Collect();
    EXPECT_GE(all.Count(), 2u);
    CWindowEnumerator two(2);
    two.Collect();
    EXPECT_EQ(two.Count(), 2u);
}

TEST(FindProcessMainWindowTest, NoProcessOfThatNameGivesNull)
{
    EXPECT_EQ(FindProcessMainWindow("NoSuchProgram-7c1e.exe", QM_MAINFRAME_CLASS), nullptr);
}

} // namespace
