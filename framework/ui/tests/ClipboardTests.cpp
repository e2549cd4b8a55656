// Clipboard text: both formats carry the same characters, and a clipboard
// held for a moment by someone else does not lose the copy.
#include <gtest/gtest.h>

#include <fx/clipboard.h>

#include <string>
#include <thread>

namespace {

// Opens the clipboard for a window of the calling thread (the holder in the
// tests below is another thread, as another program would be).
bool OpenForAWindowOfThisThread(HWND& wnd)
{
    wnd = ::CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    return wnd != NULL && ::OpenClipboard(wnd);
}

std::wstring UnicodeOnClipboard()
{
    std::wstring text;
    if (!fx::OpenClipboardPatiently(NULL))
        return text;
    if (HANDLE h = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* p = static_cast<const wchar_t*>(::GlobalLock(h))) {
            text = p;
            ::GlobalUnlock(h);
        }
    }
    ::CloseClipboard();
    return text;
}

std::string BytesOnClipboard()
{
    std::string text;
    if (!fx::OpenClipboardPatiently(NULL))
        return text;
    if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(h))) {
            text = p;
            ::GlobalUnlock(h);
        }
    }
    ::CloseClipboard();
    return text;
}

struct ClipboardCase {
    const char* name;
    const char* text;       // as the program holds it (UTF-8)
    const wchar_t* unicode; // what a Unicode reader gets
};

class ClipboardTextTest : public ::testing::TestWithParam<ClipboardCase> {};

TEST_P(ClipboardTextTest, BothFormatsHoldTheText)
{
    ASSERT_EQ(::GetACP(), (UINT)CP_UTF8) << "the test programs run with the UTF-8 code page";
    const ClipboardCase& c = GetParam();
    ASSERT_TRUE(fx::SetClipboardText(NULL, c.text));
    EXPECT_EQ(BytesOnClipboard(), std::string(c.text));
    EXPECT_TRUE(UnicodeOnClipboard() == std::wstring(c.unicode));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ClipboardTextTest,
    ::testing::Values(ClipboardCase{"empty", "", L""}, ClipboardCase{"ascii", "C:\\docs\\a.txt", L"C:\\docs\\a.txt"},
                      ClipboardCase{"japanese", "C:\\\xE6\x97\xA5\xE6\x9C\xAC.txt", L"C:\\\u65e5\u672c.txt"},
                      ClipboardCase{"outside_the_plane", "\xF0\x9F\x98\x80", L"\U0001F600"}),
    [](const ::testing::TestParamInfo<ClipboardCase>& info) { return std::string(info.param.name); });

// Another thread holds the clipboard for 150 ms while the text is put on
// it: the copy waits for it instead of failing. (A loaded machine may take
// seconds before the holder has its window and the clipboard.)
TEST(ClipboardText, WaitsForAClipboardHeldForAMoment)
{
    HANDLE opened = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    std::thread holder([&] {
        HWND wnd = NULL;
        EXPECT_TRUE(OpenForAWindowOfThisThread(wnd));
        ::SetEvent(opened);
        ::Sleep(150);
        ::CloseClipboard();
        ::DestroyWindow(wnd);
    });
    ASSERT_EQ(::WaitForSingleObject(opened, 30000), WAIT_OBJECT_0) << "the holder never took the clipboard";
    EXPECT_TRUE(fx::SetClipboardText(NULL, "held"));
    holder.join();
    ::CloseHandle(opened);
    EXPECT_EQ(BytesOnClipboard(), "held");
}

// Held longer than the patience given: the copy reports failure.
TEST(ClipboardText, GivesUpOnAClipboardHeldTooLong)
{
    HANDLE opened = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE release = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    std::thread holder([&] {
        HWND wnd = NULL;
        EXPECT_TRUE(OpenForAWindowOfThisThread(wnd));
        ::SetEvent(opened);
        ::WaitForSingleObject(release, 10000);
        ::CloseClipboard();
        ::DestroyWindow(wnd);
    });
    ASSERT_EQ(::WaitForSingleObject(opened, 30000), WAIT_OBJECT_0) << "the holder never took the clipboard";
    EXPECT_FALSE(fx::OpenClipboardPatiently(NULL, 100));
    ::SetEvent(release);
    holder.join();
    ::CloseHandle(opened);
    ::CloseHandle(release);
}

} // namespace
