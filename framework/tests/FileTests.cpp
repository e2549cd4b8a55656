// Files: CFile errors and positions, CStdioFile text mode, CMemFile,
// CSharedFile, CFileFind, CFileStatus, and the time classes.
#include "TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using fxtest::CauseOf;
using fxtest::ReadRaw;
using fxtest::TempDir;
using fxtest::WriteRaw;

TEST(File, OpenFailuresAreReportedNotThrown)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string path;
        UINT flags;
        int cause;
    } cases[] = {
        {"missing file", dir.Path("nope.txt"), CFile::modeRead, CFileException::fileNotFound},
        {"missing folder", dir.Path("no\\such\\dir\\f.txt"), CFile::modeCreate | CFile::modeWrite, CFileException::badPath},
        {"empty name", "", CFile::modeRead, CFileException::badPath},
    };
    for (const Case& c : cases) {
        CFile f;
        CFileException e;
        EXPECT_FALSE(f.Open(c.path.c_str(), c.flags, &e)) << c.name;
        EXPECT_EQ(c.cause, e.m_cause) << c.name;
        EXPECT_EQ(CFile::hFileNull, f.m_hFile) << c.name;
    }
    // The constructor form throws instead.
    EXPECT_EQ(CFileException::fileNotFound,
              CauseOf<CFileException>([&] { CFile f(dir.Path("nope.txt").c_str(), CFile::modeRead); }));
}

TEST(File, ReadWriteSeekLengthAndPaths)
{
    TempDir dir;
    std::string path = dir.Path("data.bin");
    CFile f(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    EXPECT_STREQ("data.bin", f.GetFileName().GetString());
    EXPECT_STREQ("data", f.GetFileTitle().GetString());
    EXPECT_THAT(f.GetFilePath().GetString(), ::testing::EndsWith("\\data.bin"));

    f.Write("0123456789", 10);
    EXPECT_EQ(10u, f.GetLength());
    EXPECT_EQ(10u, f.GetPosition());
    f.Seek(-4, CFile::current);
    char buf[16] = {};
    EXPECT_EQ(4u, f.Read(buf, 16)); // short read at the end, no exception
    EXPECT_STREQ("6789", buf);
    EXPECT_EQ(0u, f.Read(buf, 16));
    f.SeekToBegin();
    EXPECT_EQ(3u, f.Read(buf, 3));
    EXPECT_EQ(10u, f.SeekToEnd());
    f.SetLength(4);
    EXPECT_EQ(4u, f.GetLength());
    f.SetLength(6000000000ULL); // 64-bit lengths
    EXPECT_EQ(6000000000ULL, f.GetLength());
    f.SetLength(4);
    EXPECT_EQ(CFileException::badSeek, CauseOf<CFileException>([&] { f.Seek(-100, CFile::begin); }));

    CFileStatus st;
    ASSERT_TRUE(f.GetStatus(st));
    EXPECT_EQ(4u, st.m_size);
    f.Close();
    EXPECT_EQ(CFile::hFileNull, f.m_hFile);
    EXPECT_EQ("0123", ReadRaw(path));

    ASSERT_TRUE(CFile::GetStatus(path.c_str(), st));
    EXPECT_EQ(4u, st.m_size);
    EXPECT_EQ(0, st.m_attribute & CFile::directory);
    EXPECT_NE(0, st.m_mtime.GetTime());
    EXPECT_STRCASEEQ(path.c_str(), st.m_szFullName);
    EXPECT_FALSE(CFile::GetStatus(dir.Path("missing").c_str(), st));
}

TEST(File, WriteToReadOnlyAndSharingErrorsThrow)
{
    TempDir dir;
    std::string path = dir.Path("ro.txt");
    WriteRaw(path, "abc");
    CFile f(path.c_str(), CFile::modeRead | CFile::shareDenyNone);
    EXPECT_EQ(CFileException::accessDenied, CauseOf<CFileException>([&] { f.Write("x", 1); }));
    f.Close();

    CFileException e;
    // Exclusive (default) share mode keeps others out.
    CFile first(path.c_str(), CFile::modeRead);
    CFile second;
    EXPECT_FALSE(second.Open(path.c_str(), CFile::modeRead, &e));
    EXPECT_EQ(CFileException::sharingViolation, e.m_cause);
}

TEST(File, CreateModesAndStaticOperations)
{
    TempDir dir;
    std::string path = dir.Path("m.txt");
    WriteRaw(path, "keep");
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        f.SeekToEnd();
        f.Write("+", 1);
    }
    EXPECT_EQ("keep+", ReadRaw(path));
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    }
    EXPECT_EQ("", ReadRaw(path));

    std::string moved = dir.Path("moved.txt");
    CFile::Rename(path.c_str(), moved.c_str());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
    EXPECT_EQ(CFileException::fileNotFound, CauseOf<CFileException>([&] { CFile::Rename(path.c_str(), moved.c_str()); }));

    CFileStatus st;
    ASSERT_TRUE(CFile::GetStatus(moved.c_str(), st));
    st.m_mtime = CTime(2020, 5, 17, 10, 30, 0);
    st.m_attribute = CFile::readOnly;
    CFile::SetStatus(moved.c_str(), st);
    CFileStatus st2;
    ASSERT_TRUE(CFile::GetStatus(moved.c_str(), st2));
    EXPECT_EQ(st.m_mtime.GetTime(), st2.m_mtime.GetTime());
    EXPECT_TRUE(st2.m_attribute & CFile::readOnly);
    st2.m_attribute = CFile::normal;
    CFile::SetStatus(moved.c_str(), st2);

    CFile::Remove(moved.c_str());
    EXPECT_EQ(CFileException::fileNotFound, CauseOf<CFileException>([&] { CFile::Remove(moved.c_str()); }));
}

TEST(File, AttachAndDetachHandles)
{
    TempDir dir;
    std::string path = dir.Path("h.txt");
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    {
        CFile f;
        f.Attach(h, path.c_str());
        f.Write("abc", 3);
        EXPECT_EQ(h, (HANDLE)f);
        EXPECT_EQ(h, f.Detach()); // not closed
    }
    DWORD size = GetFileSize(h, NULL);
    EXPECT_EQ(3u, size);
    {
        CFile owner(h); // closes the handle when destroyed
    }
    EXPECT_FALSE(CloseHandle(h));
}

TEST(ReadWholeFile, ReadsToTheEndOrFailsEmpty)
{
    TempDir dir;
    std::string big;
    for (int i = 0; i < 30000; ++i)
        big += "line " + std::to_string(i) + "\r\n"; // several reads of 64 KiB
    big += std::string("\0\xFF tail", 7);
    WriteRaw(dir.Path("big.bin"), big);
    WriteRaw(dir.Path("empty.txt"), "");
    struct Case {
        const char* name;
        std::string path;
        size_t nMax;
        bool ok;
        std::string content;
    } cases[] = {
        {"whole file", dir.Path("big.bin"), SIZE_MAX, true, big},
        {"exactly at the limit", dir.Path("big.bin"), big.size(), true, big},
        {"one byte over the limit", dir.Path("big.bin"), big.size() - 1, false, ""},
        {"empty file", dir.Path("empty.txt"), SIZE_MAX, true, ""},
        {"missing file", dir.Path("nope.txt"), SIZE_MAX, false, ""},
        {"a folder", dir.Path(""), SIZE_MAX, false, ""},
    };
    for (const Case& c : cases) {
        std::string text = "old";
        EXPECT_EQ(c.ok, fx::ReadWholeFile(c.path.c_str(), text, c.nMax)) << c.name;
        EXPECT_TRUE(text == c.content) << c.name << ": " << text.size() << " bytes";
        std::vector<BYTE> bytes(3, 'x');
        EXPECT_EQ(c.ok, fx::ReadWholeFile(c.path.c_str(), bytes, c.nMax)) << c.name;
        EXPECT_TRUE(std::string(bytes.begin(), bytes.end()) == c.content) << c.name;
    }
    std::string none = "old";
    EXPECT_FALSE(fx::ReadWholeFile(NULL, none));
    EXPECT_TRUE(none.empty());
}

TEST(ReadWholeFile, ReadsAFileAnotherProgramHasOpenForWriting)
{
    TempDir dir;
    const std::string path = dir.Path("log.txt");
    HANDLE writer = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(writer, "so far", 6, &written, NULL));
    std::string text;
    EXPECT_TRUE(fx::ReadWholeFile(path.c_str(), text));
    EXPECT_EQ("so far", text);
    ::CloseHandle(writer);
}

TEST(OwnedHandle, ClosesOnceAndHandsOver)
{
    auto isOpen = [](HANDLE h) {
        DWORD flags = 0;
        return ::GetHandleInformation(h, &flags) != 0;
    };
    HANDLE raw = NULL;
    {
        fx::OwnedHandle event(::CreateEventA(NULL, TRUE, FALSE, NULL));
        raw = event.Get();
        ASSERT_TRUE(event.IsValid());
        EXPECT_TRUE(isOpen(raw));
    }
    EXPECT_FALSE(isOpen(raw)) << "closed when it went out of scope";

    fx::OwnedHandle first(::CreateEventA(NULL, TRUE, FALSE, NULL));
    raw = first.Get();
    fx::OwnedHandle second(std::move(first));
    EXPECT_FALSE(first.IsValid());
    EXPECT_EQ(raw, second.Get());
    HANDLE kept = second.Release();
    EXPECT_FALSE(second.IsValid());
    EXPECT_TRUE(isOpen(kept)) << "a released handle stays open";
    second.Reset(kept);
    second.Close();
    EXPECT_FALSE(isOpen(kept));

    // Filled through its address: a handle held before is closed first.
    fx::OwnedHandle pipeRead, pipeWrite;
    ASSERT_TRUE(::CreatePipe(&pipeRead, &pipeWrite, NULL, 0));
    HANDLE oldRead = pipeRead.Get();
    HANDLE oldWrite = pipeWrite.Get();
    ASSERT_TRUE(::CreatePipe(&pipeRead, &pipeWrite, NULL, 0));
    EXPECT_FALSE(isOpen(oldRead) && oldRead != pipeRead.Get());
    EXPECT_FALSE(isOpen(oldWrite) && oldWrite != pipeWrite.Get());
    EXPECT_TRUE(isOpen(pipeRead.Get()) && isOpen(pipeWrite.Get()));

    // Plain HANDLE members are closed and cleared once.
    HANDLE member = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE copy = member;
    fx::CloseAndClear(member);
    EXPECT_EQ(NULL, member);
    EXPECT_FALSE(isOpen(copy));
    fx::CloseAndClear(member); // already clear: nothing happens
    HANDLE invalid = INVALID_HANDLE_VALUE;
    fx::CloseAndClear(invalid);
    EXPECT_EQ(NULL, invalid);
}

TEST(StdioFile, TextModeTranslatesLineEnds)
{
    TempDir dir;
    std::string path = dir.Path("t.txt");
    {
        CStdioFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        f.WriteString("one\ntwo\n");
        f.WriteString("three");
    }
    EXPECT_EQ("one\r\ntwo\r\nthree", ReadRaw(path));

    WriteRaw(path, "a\r\nb\rc\n\r\nlast");
    CStdioFile f(path.c_str(), CFile::modeRead);
    CString line;
    std::vector<std::string> lines;
    while (f.ReadString(line))
        lines.push_back(line.GetString());
    EXPECT_EQ((std::vector<std::string>{"a", "b\rc", "", "last"}), lines);
    EXPECT_FALSE(f.ReadString(line));

    f.SeekToBegin();
    char buf[8];
    ASSERT_NE(nullptr, f.ReadString(buf, sizeof(buf)));
    EXPECT_STREQ("a\n", buf); // the buffer form keeps the line feed
    EXPECT_EQ(3u, f.GetPosition());
    char raw[4] = {};
    EXPECT_EQ(3u, f.Read(raw, 3));
    EXPECT_STREQ("b\rc", raw);
}

TEST(StdioFile, BinaryModeAndLongLines)
{
    TempDir dir;
    std::string path = dir.Path("b.txt");
    std::string longLine(200000, 'x');
    {
        CStdioFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        f.WriteString("r\r\n");
        f.WriteString((longLine + "\n").c_str());
        f.WriteString("end");
        EXPECT_EQ(3u + 200001u + 3u, f.GetLength());
    }
    EXPECT_EQ("r\r\n" + longLine + "\nend", ReadRaw(path));
    CStdioFile f(path.c_str(), CFile::modeRead | CFile::typeBinary);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ("r\r", line.GetString()); // binary mode keeps the '\r'
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(200000, line.GetLength());
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ("end", line.GetString());
}

TEST(MemFile, GrowsAttachesAndDetaches)
{
    CMemFile mf(16);
    std::string data(1000, 'z');
    mf.Write(data.data(), (UINT)data.size());
    EXPECT_EQ(1000u, mf.GetLength());
    mf.Seek(2000, CFile::begin); // past the end: the gap reads as zeros
    mf.Write("!", 1);
    EXPECT_EQ(2001u, mf.GetLength());
    EXPECT_EQ(0, mf.GetData()[1500]);
    mf.SeekToBegin();
    char buf[4];
    EXPECT_EQ(4u, mf.Read(buf, 4));
    EXPECT_EQ(CFileException::badSeek, CauseOf<CFileException>([&] { mf.Seek(-1, CFile::begin); }));
    mf.SetLength(10);
    EXPECT_EQ(10u, mf.GetLength());
    BYTE* p = mf.Detach();
    ASSERT_NE(nullptr, p);
    EXPECT_EQ('z', p[9]);
    free(p);
    EXPECT_EQ(0u, mf.GetLength());

    // A fixed buffer: reading its contents, no growth.
    BYTE fixed[4] = {1, 2, 3, 4};
    CMemFile ro(fixed, sizeof(fixed));
    EXPECT_EQ(4u, ro.GetLength());
    BYTE b[8];
    EXPECT_EQ(4u, ro.Read(b, 8));
    ro.SeekToBegin();
    ro.Write("ab", 2); // overwriting inside the buffer is allowed
    EXPECT_EQ('a', fixed[0]);
    ro.SeekToEnd();
    EXPECT_TRUE(fxtest::Throws<CMemoryException>([&] { ro.Write("x", 1); }));

    // An attached buffer with a grow step moves to memory of its own.
    BYTE small[2] = {0, 0};
    CMemFile grow;
    grow.Attach(small, sizeof(small), 64);
    EXPECT_EQ(0u, grow.GetLength());
    grow.Write("hello", 5);
    EXPECT_EQ(5u, grow.GetLength());
    EXPECT_EQ(0, small[0] == 'h' && small[1] == 'e' ? 1 : 0);
    BYTE* own = grow.Detach();
    EXPECT_EQ(0, memcmp(own, "hello", 5));
    free(own);
}

TEST(MemFile, SharedFileOverGlobalMemory)
{
    CSharedFile sf;
    sf.Write("clip", 4);
    HGLOBAL h = sf.Detach();
    ASSERT_NE(nullptr, h);
    EXPECT_GE(GlobalSize(h), 4u);
    char* p = static_cast<char*>(GlobalLock(h));
    EXPECT_EQ(0, memcmp(p, "clip", 4));
    GlobalUnlock(h);

    CSharedFile reader;
    reader.SetHandle(h, FALSE);
    char buf[4];
    EXPECT_EQ(4u, reader.Read(buf, 4));
    EXPECT_EQ(0, memcmp(buf, "clip", 4));
    // The reader owns and frees the handle.
}

TEST(FileFind, EnumeratesATempFolder)
{
    TempDir dir;
    WriteRaw(dir.Path("a.txt"), "12345");
    WriteRaw(dir.Path("b.log"), "");
    WriteRaw(dir.Path("c.txt"), "x");
    CreateDirectoryA(dir.Path("sub").c_str(), NULL);
    SetFileAttributesA(dir.Path("c.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);

    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((dir.Path() + "\\*.*").c_str()));
    std::vector<std::string> names, dirs;
    bool bMore = true;
    while (bMore) {
        bMore = finder.FindNextFile();
        if (finder.IsDots())
            continue;
        if (finder.IsDirectory()) {
            dirs.push_back(finder.GetFileName().GetString());
            continue;
        }
        names.push_back(finder.GetFileName().GetString());
        EXPECT_STRCASEEQ((dir.Path() + "\\" + names.back()).c_str(), finder.GetFilePath().GetString());
        EXPECT_STRCASEEQ(dir.Path().c_str(), finder.GetRoot().GetString());
        if (names.back() == "a.txt") {
            EXPECT_EQ(5u, finder.GetLength());
            EXPECT_STREQ("a", finder.GetFileTitle().GetString());
            CTime t;
            EXPECT_TRUE(finder.GetLastWriteTime(t));
            EXPECT_GT(t.GetTime(), 0);
        }
        EXPECT_EQ(names.back() == "c.txt", finder.IsHidden() != FALSE);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"a.txt", "b.log", "c.txt"}), names);
    EXPECT_EQ((std::vector<std::string>{"sub"}), dirs);

    ASSERT_TRUE(finder.FindFile((dir.Path() + "\\*.log").c_str()));
    EXPECT_FALSE(finder.FindNextFile()); // the only match is also the last
    EXPECT_STREQ("b.log", finder.GetFileName().GetString());

    EXPECT_FALSE(finder.FindFile((dir.Path() + "\\*.none").c_str()));
    EXPECT_FALSE(finder.FindNextFile());
}

TEST(Time, ComponentsArithmeticAndFormat)
{
    CTime t(2021, 3, 4, 5, 6, 7);
    EXPECT_EQ(2021, t.GetYear());
    EXPECT_EQ(3, t.GetMonth());
    EXPECT_EQ(4, t.GetDay());
    EXPECT_EQ(5, t.GetHour());
    EXPECT_EQ(6, t.GetMinute());
    EXPECT_EQ(7, t.GetSecond());
    EXPECT_EQ(5, t.GetDayOfWeek()); // Thursday
    EXPECT_STREQ("2021-03-04 05:06:07", t.Format("%Y-%m-%d %H:%M:%S").GetString());
    EXPECT_STREQ("", t.Format("%Q").GetString()); // an unknown code gives nothing

    CTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(93784, span.GetTotalSeconds());
    EXPECT_EQ(1, span.GetDays());
    EXPECT_EQ(26, span.GetTotalHours());
    EXPECT_EQ(2, span.GetHours());
    EXPECT_EQ(3, span.GetMinutes());
    EXPECT_EQ(4, span.GetSeconds());
    EXPECT_STREQ("1 02:03:04 %", span.Format("%D %H:%M:%S %%").GetString());
    CTime later = t + span;
    EXPECT_EQ(span, later - t);
    EXPECT_TRUE(later > t);
    EXPECT_EQ(t, later - span);

    SYSTEMTIME st;
    ASSERT_TRUE(t.GetAsSystemTime(st));
    EXPECT_EQ(2021, st.wYear);
    EXPECT_EQ(t, CTime(st));
    FILETIME ft;
    ASSERT_TRUE(t.GetAsFileTime(ft));
    EXPECT_EQ(t, CTime(ft));
    EXPECT_TRUE(fxtest::Throws<CInvalidArgException>([] { CTime bad(2021, 13, 1, 0, 0, 0); }));
    EXPECT_GT(CTime::GetCurrentTime().GetTime(), t.GetTime());
}

TEST(Time, OleDateTime)
{
    COleDateTime d(2024, 2, 29, 23, 59, 58);
    EXPECT_EQ(COleDateTime::valid, d.GetStatus());
    EXPECT_EQ(2024, d.GetYear());
    EXPECT_EQ(2, d.GetMonth());
    EXPECT_EQ(29, d.GetDay());
    EXPECT_EQ(58, d.GetSecond());
    EXPECT_EQ(60, d.GetDayOfYear());
    EXPECT_STREQ("2024-29-02T23:59:58", d.Format("%Y-%d-%mT%H:%M:%S").GetString());

    COleDateTime epoch(1899, 12, 30, 0, 0, 0);
    EXPECT_EQ(0.0, (DATE)epoch);
    COleDateTime noon(1899, 12, 30, 12, 0, 0);
    EXPECT_DOUBLE_EQ(0.5, (DATE)noon);

    COleDateTime bad(2023, 2, 29, 0, 0, 0); // not a leap year
    EXPECT_EQ(COleDateTime::invalid, bad.GetStatus());
    EXPECT_EQ(1, bad.SetDateTime(2020, 1, 1, 24, 0, 0));
    EXPECT_STREQ("Invalid DateTime", bad.Format("%Y").GetString());
    COleDateTime nul;
    nul.SetStatus(COleDateTime::null);
    EXPECT_STREQ("", nul.Format("%Y").GetString());

    COleVariant v(d);
    EXPECT_EQ(VT_DATE, v.vt);
    COleDateTime fromVariant(static_cast<const VARIANT&>(v));
    EXPECT_TRUE(fromVariant == d);
}

TEST(Variant, AssignmentConversionAndEquality)
{
    COleVariant s("text");
    EXPECT_EQ(VT_BSTR, s.vt);
    EXPECT_STREQ(L"text", s.bstrVal);
    COleVariant copy(s);
    EXPECT_TRUE(copy == s);
    copy = "other";
    EXPECT_FALSE(copy == s);
    COleVariant n(42L);
    n.ChangeType(VT_BSTR);
    EXPECT_STREQ(L"42", n.bstrVal);
    n.ChangeType(VT_I2);
    EXPECT_EQ(VT_I2, n.vt);
    EXPECT_EQ(42, n.iVal);
    COleVariant word("not a number");
    EXPECT_TRUE(fxtest::Throws<COleException>([&] { word.ChangeType(VT_I4); }));
    COleVariant moved(std::move(copy));
    EXPECT_EQ(VT_EMPTY, copy.vt);
    EXPECT_EQ(VT_BSTR, moved.vt);
    VARIANT raw = moved.Detach();
    EXPECT_EQ(VT_EMPTY, moved.vt);
    VariantClear(&raw);
}
