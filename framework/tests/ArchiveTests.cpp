// Archives: stored formats byte for byte, object graphs, class records,
// run-time classes and the exception macros.
#include "fx/codepage.h"
#include "TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <qmtest/anylanguage.h>

using fxtest::Bytes;
using fxtest::CauseOf;
using fxtest::Hex;
using fxtest::LoadBytes;
using fxtest::StoreBytes;

// --- classes used by the tests ----------------------------------------------

static int g_liveShapes = 0;

class CShape : public CObject {
    DECLARE_SERIAL(CShape)
public:
    CShape() { ++g_liveShapes; }
    ~CShape() override { --g_liveShapes; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_n << m_name;
            ar << m_pLink;
        } else {
            ar >> m_n >> m_name;
            CObject* p = NULL;
            ar >> p;
            m_pLink = static_cast<CShape*>(p);
        }
    }
    LONG m_n = 0;
    CString m_name;
    CShape* m_pLink = NULL;
};
IMPLEMENT_SERIAL(CShape, CObject, 1)

class CCircle : public CShape {
    DECLARE_SERIAL(CCircle)
};
IMPLEMENT_SERIAL(CCircle, CShape, 2)

class CTiny : public CObject {
    DECLARE_SERIAL(CTiny)
};
IMPLEMENT_SERIAL(CTiny, CObject, 1)

class CVersioned : public CObject {
    DECLARE_SERIAL(CVersioned)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsLoading())
            m_nLoadedSchema = ar.GetObjectSchema();
    }
    UINT m_nLoadedSchema = 0;
};
IMPLEMENT_SERIAL(CVersioned, CObject, VERSIONABLE_SCHEMA | 3)

class CStrict : public CObject {
    DECLARE_SERIAL(CStrict)
};
IMPLEMENT_SERIAL(CStrict, CObject, 5)

class CMadeByName : public CObject {
    DECLARE_DYNCREATE(CMadeByName)
};
IMPLEMENT_DYNCREATE(CMadeByName, CObject)

class CNotCreatable : public CObject {
    DECLARE_DYNAMIC(CNotCreatable)
};
IMPLEMENT_DYNAMIC(CNotCreatable, CObject)

namespace {

Bytes Str(const char* s)
{
    return Bytes(s, s + strlen(s));
}

Bytes ClassRecord(WORD schema, const char* name)
{
    WORD n = (WORD)strlen(name);
    return fxtest::Concat({{0xFF, 0xFF, (BYTE)schema, (BYTE)(schema >> 8), (BYTE)n, (BYTE)(n >> 8)}, Str(name)});
}

} // namespace

// --- scalars, counts and strings --------------------------------------------

TEST(ArchiveFormat, ScalarsAreLittleEndianAtFixedWidths)
{
    Bytes bytes = StoreBytes([](CArchive& ar) {
        ar << (BYTE)0x12 << (WORD)0x3456 << (LONG)-2 << (DWORD)0x89ABCDEF;
        ar << (int)-1 << (UINT)5 << (short)-2 << 'A' << true << L'\x263A';
        ar << 1.5f << 2.0 << (LONGLONG)-3 << (ULONGLONG)0x0102030405060708ULL;
    });
    Bytes expected = {0x12, 0x56, 0x34, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB, 0x89,
                      0xFF, 0xFF, 0xFF, 0xFF, 0x05, 0x00, 0x00, 0x00, 0xFE, 0xFF, 'A', 0x01, 0x3A, 0x26,
                      0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40,
                      0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(Hex(expected), Hex(bytes));

    LoadBytes(bytes, [](CArchive& ar) {
        BYTE b;
        WORD w;
        LONG l;
        DWORD dw;
        int i;
        UINT u;
        short s;
        char c;
        bool f;
        wchar_t wc;
        float fl;
        double d;
        LONGLONG ll;
        ULONGLONG ull;
        ar >> b >> w >> l >> dw >> i >> u >> s >> c >> f >> wc >> fl >> d >> ll >> ull;
        EXPECT_EQ(0x12, b);
        EXPECT_EQ(0x3456, w);
        EXPECT_EQ(-2, l);
        EXPECT_EQ(0x89ABCDEFu, dw);
        EXPECT_EQ(-1, i);
        EXPECT_EQ(5u, u);
        EXPECT_EQ(-2, s);
        EXPECT_EQ('A', c);
        EXPECT_TRUE(f);
        EXPECT_EQ(L'\x263A', wc);
        EXPECT_EQ(1.5f, fl);
        EXPECT_EQ(2.0, d);
        EXPECT_EQ(-3, ll);
        EXPECT_EQ(0x0102030405060708ULL, ull);
    });
}

TEST(ArchiveFormat, CountsUseWordOrEscapeAndDword)
{
    struct Case {
        DWORD_PTR count;
        Bytes bytes;
    } cases[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x12345, {0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        Bytes bytes = StoreBytes([&](CArchive& ar) { ar.WriteCount(c.count); });
        EXPECT_EQ(Hex(c.bytes), Hex(bytes)) << c.count;
        LoadBytes(bytes, [&](CArchive& ar) { EXPECT_EQ(c.count, ar.ReadCount()); });
    }
}

TEST(ArchiveFormat, StringLengthPrefixes)
{
    struct Case {
        size_t length;
        bool wide;
        Bytes prefix;
    } cases[] = {
        {0, false, {0x00}},
        {1, false, {0x01}},
        {254, false, {0xFE}},
        {255, false, {0xFF, 0xFF, 0x00}},
        {0xFFFD, false, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, false, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {0x10000, false, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
        {0, true, {0xFF, 0xFE, 0xFF, 0x00}},
        {3, true, {0xFF, 0xFE, 0xFF, 0x03}},
        {255, true, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {0x10000, true, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        Bytes bytes;
        if (c.wide) {
            CStringW s(L'w', (int)c.length);
            bytes = StoreBytes([&](CArchive& ar) { ar << s; });
            ASSERT_EQ(c.prefix.size() + 2 * c.length, bytes.size()) << c.length;
            CStringW back;
            LoadBytes(bytes, [&](CArchive& ar) { ar >> back; });
            EXPECT_TRUE(back == s) << c.length;
        } else {
            CString s('n', (int)c.length);
            bytes = StoreBytes([&](CArchive& ar) { ar << s; });
            ASSERT_EQ(c.prefix.size() + c.length, bytes.size()) << c.length;
            CString back("junk");
            LoadBytes(bytes, [&](CArchive& ar) { ar >> back; });
            EXPECT_TRUE(back == s) << c.length;
        }
        EXPECT_EQ(Hex(c.prefix), Hex(Bytes(bytes.begin(), bytes.begin() + c.prefix.size())))
            << (c.wide ? "wide " : "narrow ") << c.length;
    }
}

// The program's narrow strings hold UTF-8 (its code page); the 8-bit form of
// a stored string holds the legacy ANSI code page, as files and settings
// written by earlier versions do. Non-ASCII narrow strings are stored wide.
TEST(ArchiveFormat, StringsKeepEveryCharacterAcrossBothForms)
{
    ASSERT_EQ(CP_UTF8, GetACP()) << "the test program's manifest sets the UTF-8 code page";
    if (fx::LegacyAnsiCodePage() != 1252)
        GTEST_SKIP() << "platform limit: the system's ANSI code page is not 1252, the stored bytes'";

    // Wide form of "é!" read into both widths.
    Bytes wide = {0xFF, 0xFE, 0xFF, 0x02, 0xE9, 0x00, '!', 0x00};
    CString narrow;
    LoadBytes(wide, [&](CArchive& ar) { ar >> narrow; });
    EXPECT_STREQ("\xC3\xA9!", narrow.GetString());

    // The 8-bit form, as an earlier version wrote "é!": legacy ANSI.
    Bytes ansi = {0x02, 0xE9, '!'};
    CStringW w;
    LoadBytes(ansi, [&](CArchive& ar) { ar >> w; });
    EXPECT_STREQ(L"\u00e9!", w.GetString());
    narrow.Empty();
    LoadBytes(ansi, [&](CArchive& ar) { ar >> narrow; });
    EXPECT_STREQ("\xC3\xA9!", narrow.GetString());

    // ASCII stays in the 8-bit form; anything else is stored wide and comes
    // back whole, outside the basic plane too.
    struct Case {
        const char* text;
        Bytes stored;
    };
    const Case cases[] = {
        {"ab", {0x02, 'a', 'b'}},
        {"\xC3\xA9", {0xFF, 0xFE, 0xFF, 0x01, 0xE9, 0x00}},
        {"\xE6\x97\xA5", {0xFF, 0xFE, 0xFF, 0x01, 0xE5, 0x65}},
        {"\xF0\x9F\x98\x80", {0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}},
    };
    for (const Case& c : cases) {
        CString text(c.text);
        Bytes stored = StoreBytes([&](CArchive& ar) { ar << text; });
        EXPECT_EQ(Hex(c.stored), Hex(stored)) << c.text;
        CString back;
        LoadBytes(stored, [&](CArchive& ar) { ar >> back; });
        EXPECT_STREQ(c.text, back.GetString());
    }

    // Literals are stored as strings of their own width.
    Bytes lit = StoreBytes([](CArchive& ar) { ar << "ab" << L"c"; });
    EXPECT_EQ(Hex(Bytes{0x02, 'a', 'b', 0xFF, 0xFE, 0xFF, 0x01, 'c', 0x00}), Hex(lit));
}

TEST(ArchiveFormat, DamagedStringLengthFailsQuickly)
{
    // Claims 0x7FFFFFF0 characters but holds three.
    Bytes bytes = {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F, 'a', 'b', 'c'};
    CString s;
    EXPECT_EQ(CArchiveException::endOfFile, CauseOf<CArchiveException>([&] { LoadBytes(bytes, [&](CArchive& ar) { ar >> s; }); }));
}

// --- objects and classes ------------------------------------------------------

TEST(ArchiveObjects, TagsForNewClassesBackReferencesAndNull)
{
    CShape a;
    a.m_n = 7;
    a.m_name = "A";
    CCircle b;
    b.m_n = 8;
    CShape c;
    c.m_n = 9;
    Bytes bytes = StoreBytes([&](CArchive& ar) {
        ar << &a << &b << &a << (CObject*)NULL << &b << &c;
    });
    Bytes expected = fxtest::Concat({
        ClassRecord(1, "CShape"), {0x07, 0, 0, 0, 0x01, 'A', 0x00, 0x00}, // class 1, object 2
        ClassRecord(2, "CCircle"),
        {0x08, 0, 0, 0, 0x00, 0x00, 0x00},             // class 3, object 4
        {0x02, 0x00},                                  // a again
        {0x00, 0x00},                                  // null
        {0x04, 0x00},                                  // b again
        {0x01, 0x80, 0x09, 0, 0, 0, 0x00, 0x00, 0x00}, // class 1 by index, object 5
    });
    EXPECT_EQ(Hex(expected), Hex(bytes));

    int nLiveBefore = g_liveShapes;
    LoadBytes(bytes, [&](CArchive& ar) {
        CObject *pa, *pb, *pa2, *pnull, *pb2, *pc;
        ar >> pa >> pb >> pa2 >> pnull >> pb2 >> pc;
        EXPECT_EQ(pa, pa2);
        EXPECT_EQ(pb, pb2);
        EXPECT_EQ(nullptr, pnull);
        EXPECT_TRUE(pb->IsKindOf(RUNTIME_CLASS(CCircle)));
        EXPECT_STREQ("A", static_cast<CShape*>(pa)->m_name.GetString());
        EXPECT_EQ(9, static_cast<CShape*>(pc)->m_n);
        EXPECT_EQ(nLiveBefore + 3, g_liveShapes);
        delete pa;
        delete pb;
        delete pc;
    });
}

TEST(ArchiveObjects, CyclesResolveToTheSameObjects)
{
    CShape a, b;
    a.m_pLink = &b;
    b.m_pLink = &a;
    Bytes bytes = StoreBytes([&](CArchive& ar) { ar << &a; });
    LoadBytes(bytes, [&](CArchive& ar) {
        CShape* p = NULL;
        ar >> p; // typed extraction from IMPLEMENT_SERIAL
        ASSERT_NE(nullptr, p);
        ASSERT_NE(nullptr, p->m_pLink);
        EXPECT_EQ(p, p->m_pLink->m_pLink);
        delete p->m_pLink;
        delete p;
    });
}

TEST(ArchiveObjects, BigTagsPastTheFifteenBitIndexes)
{
    const int n = 0x8000;
    std::vector<CTiny> tiny(n);
    CShape late;
    CShape late2;
    Bytes bytes = StoreBytes([&](CArchive& ar) {
        for (int i = 0; i < n; ++i)
            ar << &tiny[i];
        ar << &tiny[n - 1]; // index n + 1 = 0x8001
        ar << &late;        // new class at index 0x8002, object 0x8003
        ar << &late2;       // class by big index
    });
    // Class record + the first object tag, then one class reference per object.
    size_t pos = ClassRecord(1, "CTiny").size() + 2 * (n - 1);
    Bytes tail(bytes.begin() + pos, bytes.end());
    Bytes expected = fxtest::Concat({
        {0xFF, 0x7F, 0x01, 0x80, 0x00, 0x00}, // object 0x8001 by big tag
        ClassRecord(1, "CShape"),
        {0, 0, 0, 0, 0x00, 0x00, 0x00}, // late
        {0xFF, 0x7F, 0x02, 0x80, 0x00, 0x80},
        {0, 0, 0, 0, 0x00, 0x00, 0x00},
    });
    EXPECT_EQ(Hex(expected), Hex(tail));

    LoadBytes(bytes, [&](CArchive& ar) {
        std::vector<CObject*> loaded(n);
        for (int i = 0; i < n; ++i)
            ar >> loaded[i];
        CObject *again, *pLate, *pLate2;
        ar >> again >> pLate >> pLate2;
        EXPECT_EQ(loaded[n - 1], again);
        EXPECT_TRUE(pLate->IsKindOf(RUNTIME_CLASS(CShape)));
        EXPECT_TRUE(pLate2->IsKindOf(RUNTIME_CLASS(CShape)));
        EXPECT_NE(pLate, pLate2);
        for (CObject* p : loaded)
            delete p;
        delete pLate;
        delete pLate2;
    });
}

TEST(ArchiveObjects, ClassRecordsAndSchemas)
{
    Bytes bytes = StoreBytes([](CArchive& ar) {
        ar.WriteClass(RUNTIME_CLASS(CShape));
        ar.WriteClass(RUNTIME_CLASS(CShape));
        ar.SerializeClass(RUNTIME_CLASS(CVersioned));
    });
    Bytes expected = fxtest::Concat({ClassRecord(1, "CShape"), {0x01, 0x80}, ClassRecord(3, "CVersioned")});
    EXPECT_EQ(Hex(expected), Hex(bytes));

    LoadBytes(bytes, [](CArchive& ar) {
        UINT nSchema = 0;
        EXPECT_EQ(RUNTIME_CLASS(CShape), ar.ReadClass(NULL, &nSchema));
        EXPECT_EQ(1u, nSchema);
        EXPECT_EQ(RUNTIME_CLASS(CShape), ar.ReadClass(RUNTIME_CLASS(CObject)));
        ar.SerializeClass(RUNTIME_CLASS(CVersioned));
        EXPECT_EQ(3u, ar.GetObjectSchema());
        EXPECT_EQ((UINT)-1, ar.GetObjectSchema()); // read once
    });
}

TEST(ArchiveObjects, SchemaMismatches)
{
    // A versionable class loads an older schema and reports it.
    CVersioned v;
    Bytes bytes = StoreBytes([&](CArchive& ar) { ar << &v; });
    ASSERT_EQ(0x03, bytes[2]);
    bytes[2] = 0x02;
    LoadBytes(bytes, [](CArchive& ar) {
        CObject* p = ar.ReadObject(RUNTIME_CLASS(CVersioned));
        EXPECT_EQ(2u, static_cast<CVersioned*>(p)->m_nLoadedSchema);
        delete p;
    });

    // A fixed schema must match.
    CStrict s;
    bytes = StoreBytes([&](CArchive& ar) { ar << &s; });
    bytes[2] = 0x04;
    EXPECT_EQ(CArchiveException::badSchema, CauseOf<CArchiveException>([&] {
                  LoadBytes(bytes, [](CArchive& ar) { ar.ReadObject(NULL); });
              }));
}

TEST(ArchiveObjects, DamagedOrUnexpectedStreams)
{
    CShape shape;
    Bytes good = StoreBytes([&](CArchive& ar) { ar << &shape; });

    struct Case {
        const char* name;
        Bytes bytes;
        const CRuntimeClass* requested;
        int cause;
    } cases[] = {
        {"unknown class name", fxtest::Concat({ClassRecord(1, "CNoSuchClass"), {0, 0, 0, 0}}), NULL, CArchiveException::badClass},
        {"class not creatable", fxtest::Concat({ClassRecord(0xFFFF, "CNotCreatable")}), NULL, CArchiveException::badClass},
        {"not the requested class", good, RUNTIME_CLASS(CCircle), CArchiveException::badClass},
        {"object index past the map", {0x05, 0x00}, NULL, CArchiveException::badIndex},
        {"class index past the map", {0x07, 0x80}, NULL, CArchiveException::badIndex},
        {"object tag naming a class", fxtest::Concat({good, {0x01, 0x00}}), NULL, CArchiveException::badIndex},
        {"truncated object", Bytes(good.begin(), good.end() - 3), NULL, CArchiveException::endOfFile},
        {"empty stream", {}, NULL, CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        int nLive = g_liveShapes;
        int cause = CauseOf<CArchiveException>([&] {
            LoadBytes(c.bytes, [&](CArchive& ar) {
                CObject* p = ar.ReadObject(c.requested);
                if (p && c.bytes.size() > good.size()) { // the second read is the damaged one
                    CObject* p2 = NULL;
                    try {
                        p2 = ar.ReadObject(c.requested);
                    } catch (...) {
                        delete p;
                        throw;
                    }
                    delete p2;
                }
                delete p;
            });
        });
        EXPECT_EQ(c.cause, cause) << c.name;
        EXPECT_EQ(nLive, g_liveShapes) << c.name << ": a half-read object was left behind";
    }
}

TEST(ArchiveObjects, MapObjectMakesLaterReferencesBackReferences)
{
    CShape shape;
    Bytes bytes = StoreBytes([&](CArchive& ar) {
        ar.MapObject(&shape);
        ar << &shape;
    });
    EXPECT_EQ(Hex(Bytes{0x01, 0x00}), Hex(bytes));
    LoadBytes(bytes, [&](CArchive& ar) {
        CShape existing;
        ar.MapObject(&existing);
        EXPECT_EQ(&existing, ar.ReadObject(RUNTIME_CLASS(CShape)));
    });
}

// --- archive mechanics -------------------------------------------------------

TEST(ArchiveMechanics, DirectionErrorsAndShortReads)
{
    EXPECT_EQ(CArchiveException::readOnly, CauseOf<CArchiveException>([] {
                  LoadBytes(Bytes{1, 2}, [](CArchive& ar) { ar << (BYTE)1; });
              }));
    EXPECT_EQ(CArchiveException::writeOnly, CauseOf<CArchiveException>([] {
                  StoreBytes([](CArchive& ar) {
                      BYTE b;
                      ar >> b;
                  });
              }));
    EXPECT_EQ(CArchiveException::endOfFile, CauseOf<CArchiveException>([] {
                  LoadBytes(Bytes{1, 2, 3}, [](CArchive& ar) {
                      DWORD dw;
                      ar >> dw;
                  });
              }));
    LoadBytes(Bytes{1, 2, 3}, [](CArchive& ar) {
        BYTE buf[8];
        EXPECT_EQ(3u, ar.Read(buf, sizeof(buf))); // raw reads report what they got
        EXPECT_EQ(0u, ar.Read(buf, sizeof(buf)));
    });
}

TEST(ArchiveMechanics, PeekDoesNotConsume)
{
    Bytes bytes = StoreBytes([](CArchive& ar) { ar << (DWORD)0x0FF0ADBF << (DWORD)24; });
    LoadBytes(bytes, [](CArchive& ar) {
        DWORD marker = 0;
        ASSERT_TRUE(ar.Peek(&marker, 4));
        EXPECT_EQ(0x0FF0ADBFu, marker);
        DWORD a, b;
        ar >> a >> b;
        EXPECT_EQ(0x0FF0ADBFu, a);
        EXPECT_EQ(24u, b);
        EXPECT_FALSE(ar.Peek(&marker, 4));
    });
}

TEST(ArchiveMechanics, SmallBufferLargeData)
{
    CMemFile mf;
    {
        CArchive ar(&mf, CArchive::store, 128);
        for (int i = 0; i < 5000; ++i) {
            ar << (LONG)i;
            if (i % 100 == 0) {
                CString s('s', i);
                ar << s;
            }
        }
        std::vector<BYTE> block(1000, 0x5A);
        ar.Write(block.data(), (UINT)block.size());
        ar.Close();
    }
    mf.SeekToBegin();
    CArchive ar(&mf, CArchive::load, 128);
    for (int i = 0; i < 5000; ++i) {
        LONG l;
        ar >> l;
        ASSERT_EQ(i, l);
        if (i % 100 == 0) {
            CString s;
            ar >> s;
            ASSERT_EQ(i, s.GetLength());
        }
    }
    std::vector<BYTE> block(1000);
    EXPECT_EQ(1000u, ar.Read(block.data(), 1000));
    EXPECT_EQ(0x5A, block[999]);
}

TEST(ArchiveMechanics, OverARealFileKeepsPathAndPosition)
{
    fxtest::TempDir dir;
    std::string path = dir.Path("arch.bin");
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        ar << (DWORD)1 << (DWORD)2 << CString("three");
        // The destructor flushes an archive that was not closed.
    }
    CFile f(path.c_str(), CFile::modeRead);
    {
        CArchive ar(&f, CArchive::load);
        EXPECT_STREQ(f.GetFilePath().GetString(), ar.GetFile()->GetFilePath().GetString());
        EXPECT_STREQ("arch.bin", ar.GetFile()->GetFileName().GetString());
        DWORD dw;
        ar >> dw;
        ar.Close(); // returns the unread bytes to the file
    }
    EXPECT_EQ(4u, f.GetPosition());
    CArchive ar2(&f, CArchive::load);
    DWORD dw2;
    CString s;
    ar2 >> dw2 >> s;
    EXPECT_EQ(2u, dw2);
    EXPECT_STREQ("three", s.GetString());
}

TEST(ArchiveMechanics, OleTypesStoredForms)
{
    COleDateTime date(2024, 2, 29, 13, 45, 30);
    COleVariant vI4(1234L);
    COleVariant vStr("hi");
    COleVariant vBool((short)1, VT_BOOL);
    COleVariant vEmpty;
    Bytes bytes = StoreBytes([&](CArchive& ar) { ar << date << vI4 << vStr << vBool << vEmpty; });
    ASSERT_EQ(12u + 6u + 10u + 4u + 2u, bytes.size());
    EXPECT_EQ(Hex(Bytes{0, 0, 0, 0}), Hex(Bytes(bytes.begin(), bytes.begin() + 4))); // status valid
    EXPECT_EQ(Hex(Bytes{0x03, 0x00, 0xD2, 0x04, 0, 0}), Hex(Bytes(bytes.begin() + 12, bytes.begin() + 18)));
    EXPECT_EQ(Hex(Bytes{0x08, 0x00, 0x04, 0, 0, 0, 'h', 0, 'i', 0}), Hex(Bytes(bytes.begin() + 18, bytes.begin() + 28)));
    EXPECT_EQ(Hex(Bytes{0x0B, 0x00, 0xFF, 0xFF}), Hex(Bytes(bytes.begin() + 28, bytes.begin() + 32)));

    LoadBytes(bytes, [&](CArchive& ar) {
        COleDateTime d2;
        COleVariant a, b, c, e;
        ar >> d2 >> a >> b >> c >> e;
        EXPECT_TRUE(d2 == date);
        EXPECT_EQ(29, d2.GetDay());
        EXPECT_TRUE(a == vI4);
        EXPECT_TRUE(b == vStr);
        EXPECT_TRUE(c == vBool);
        EXPECT_EQ(VT_EMPTY, e.vt);
    });

    // An unknown variant type in the stream is an archive error.
    EXPECT_EQ(CArchiveException::genericException, CauseOf<CArchiveException>([] {
                  LoadBytes(Bytes{0x0D, 0x20}, [](CArchive& ar) {
                      COleVariant v;
                      ar >> v;
                  });
              }));
}

// Strings of any language go into a variant whole (the narrow strings are
// UTF-8) and survive the archive's stored form.
TEST(ArchiveMechanics, VariantStringsInAnyLanguage)
{
    ASSERT_EQ(CP_UTF8, GetACP()) << "the test program's manifest sets the UTF-8 code page";
    for (const qmtest::TextInAnyLanguage& c : qmtest::kTextsInAnyLanguage) {
        SCOPED_TRACE(c.utf8);
        COleVariant fromChars(c.utf8), fromString(CString(c.utf8));
        for (const COleVariant* v : {&fromChars, &fromString}) {
            ASSERT_EQ(VT_BSTR, v->vt);
            EXPECT_EQ(wcslen(c.utf16), SysStringLen(v->bstrVal));
            EXPECT_STREQ(c.utf16, v->bstrVal);
        }
        Bytes bytes = StoreBytes([&](CArchive& ar) { ar << fromChars; });
        LoadBytes(bytes, [&](CArchive& ar) {
            COleVariant back;
            ar >> back;
            EXPECT_TRUE(back == fromChars);
        });
    }
    // A date format with letters beyond ASCII keeps them.
    COleDateTime date(2024, 2, 29, 13, 45, 30);
    EXPECT_STREQ("2024\xE5\xB9\xB4 \xCE\xB1", date.Format("%Y\xE5\xB9\xB4 \xCE\xB1").GetString());
}

// --- run-time classes --------------------------------------------------------

TEST(RuntimeClass, LookupByNameAndDynamicCreation)
{
    CRuntimeClass* p = CRuntimeClass::FromName("CCircle");
    ASSERT_EQ(RUNTIME_CLASS(CCircle), p);
    EXPECT_EQ(RUNTIME_CLASS(CCircle), CRuntimeClass::FromName(L"CCircle"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("ccircle")); // exact case
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CNoSuchClass"));
    EXPECT_EQ(RUNTIME_CLASS(CObject), CRuntimeClass::FromName("CObject"));
    EXPECT_EQ(RUNTIME_CLASS(CMemFile), CRuntimeClass::FromName("CMemFile"));

    CObject* pOb = CRuntimeClass::CreateObject("CMadeByName");
    ASSERT_NE(nullptr, pOb);
    EXPECT_TRUE(pOb->IsKindOf(RUNTIME_CLASS(CMadeByName)));
    EXPECT_FALSE(pOb->IsSerializable());
    delete pOb;
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CNotCreatable"));
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CNotCreatable)->CreateObject());

    EXPECT_STREQ("CCircle", p->m_lpszClassName);
    EXPECT_EQ(2u, p->m_wSchema);
    EXPECT_EQ((int)sizeof(CCircle), p->m_nObjectSize);
    EXPECT_TRUE(p->IsDerivedFrom(RUNTIME_CLASS(CShape)));
    EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CCircle)));

    CObject* circle = p->CreateObject();
    EXPECT_TRUE(circle->IsSerializable());
    EXPECT_NE(nullptr, DYNAMIC_DOWNCAST(CShape, circle));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CStrict, circle));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CShape, (CObject*)NULL));
    EXPECT_EQ(static_cast<CShape*>(circle), STATIC_DOWNCAST(CShape, circle));
    delete circle;
}

TEST(RuntimeClass, ClassSourcesOfOtherModules)
{
    static CRuntimeClass foreign = {"CForeignClass", 8, 0xFFFF, NULL, RUNTIME_CLASS(CObject), NULL};
    fx::ClassLookupFn fn = [](LPCSTR name) -> CRuntimeClass* {
        return strcmp(name, "CForeignClass") == 0 ? &foreign : NULL;
    };
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CForeignClass"));
    fx::AddClassSource(fn);
    EXPECT_EQ(&foreign, CRuntimeClass::FromName("CForeignClass"));
    EXPECT_EQ(RUNTIME_CLASS(CShape), CRuntimeClass::FromName("CShape")); // own classes first
    fx::RemoveClassSource(fn);
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CForeignClass"));
}

// --- exceptions --------------------------------------------------------------

TEST(Exceptions, CatchMacrosDeleteUnlessRethrown)
{
    static int s_deleted;
    struct CCounted : public CException {
        ~CCounted() override { ++s_deleted; }
    };
    s_deleted = 0;
    TRY
    {
        throw new CCounted;
    }
    CATCH(CFileException, e)
    {
        ADD_FAILURE() << "wrong handler";
    }
    AND_CATCH(CException, e)
    {
        EXPECT_NE(nullptr, e);
    }
    END_CATCH
    EXPECT_EQ(1, s_deleted);

    // Delete inside a handler is safe: no second deletion.
    TRY
    {
        throw new CCounted;
    }
    CATCH_ALL(e)
    {
        e->Delete();
    }
    END_CATCH_ALL
    EXPECT_EQ(2, s_deleted);

    // THROW_LAST passes the same object outwards.
    CException* pInner = NULL;
    try {
        TRY
        {
            throw new CCounted;
        }
        CATCH(CException, e)
        {
            pInner = e;
            THROW_LAST();
        }
        END_CATCH
    } catch (CException* e) {
        EXPECT_EQ(pInner, e);
        EXPECT_EQ(2, s_deleted);
        e->Delete();
    }
    EXPECT_EQ(3, s_deleted);
}

TEST(Exceptions, MessagesAndStaticMemoryException)
{
    CFileException fe(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "C:\\x\\missing.txt");
    char buf[256];
    ASSERT_TRUE(fe.GetErrorMessage(buf, sizeof(buf)));
    EXPECT_THAT(buf, ::testing::HasSubstr("missing.txt"));
    CArchiveException ae(CArchiveException::badSchema, "layout.bin");
    ASSERT_TRUE(ae.GetErrorMessage(buf, sizeof(buf)));
    EXPECT_THAT(buf, ::testing::HasSubstr("layout.bin"));
    EXPECT_EQ(CFileException::accessDenied, CFileException::OsErrorToException(ERROR_ACCESS_DENIED));
    EXPECT_EQ(CFileException::sharingViolation, CFileException::OsErrorToException(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(E_UNEXPECTED, COleException::Process(&fe));

    CException* pFirst = NULL;
    for (int i = 0; i < 2; ++i) {
        try {
            AfxThrowMemoryException();
        } catch (CMemoryException* e) {
            EXPECT_FALSE(e->m_bAutoDelete);
            if (pFirst) {
                EXPECT_EQ(pFirst, e); // the same preallocated object
            }
            pFirst = e;
            e->Delete(); // does not free it
        }
    }
    try {
        AfxThrowOleException(E_NOTIMPL);
    } catch (CException* e) {
        EXPECT_EQ(E_NOTIMPL, COleException::Process(e));
        e->Delete();
    }
}

TEST(ArchiveObjects, ObjectArraysAndListsStoreObjects)
{
    CShape a, b;
    a.m_n = 1;
    b.m_n = 2;
    CObArray arr;
    arr.Add(&a);
    arr.Add(&b);
    arr.Add(&a);
    arr.Add(NULL);
    CObList list;
    list.AddTail(&b);
    Bytes bytes = StoreBytes([&](CArchive& ar) {
        arr.Serialize(ar);
        list.Serialize(ar);
    });
    Bytes expected = fxtest::Concat({
        {0x04, 0x00},
        ClassRecord(1, "CShape"),
        {0x01, 0, 0, 0, 0x00, 0x00, 0x00},
        {0x01, 0x80, 0x02, 0, 0, 0, 0x00, 0x00, 0x00},
        {0x02, 0x00},
        {0x00, 0x00},
        {0x01, 0x00, 0x03, 0x00}, // the list: b by back-reference
    });
    EXPECT_EQ(Hex(expected), Hex(bytes));

    CObArray arr2;
    CObList list2;
    LoadBytes(bytes, [&](CArchive& ar) {
        arr2.Serialize(ar);
        list2.Serialize(ar);
    });
    ASSERT_EQ(4, arr2.GetSize());
    EXPECT_EQ(arr2[0], arr2[2]);
    EXPECT_EQ(nullptr, arr2[3]);
    EXPECT_EQ(arr2[1], list2.GetHead());
    EXPECT_EQ(2, static_cast<CShape*>(arr2[1])->m_n);
    delete arr2[0];
    delete arr2[1];
}
