// The property exchange: every type code through the registry, INI-file and
// archive back-ends, defaults, sections, enumerations, classes and objects.
#include <qx/propexchange.h>

#include "QxTestSupport.h"

#include <gmock/gmock.h>

#include <functional>

using qxtest::Bytes;
using qxtest::RegistryApp;
using qxtest::TempDir;

// A serializable class for the object and class-name exchanges.
class CPxItem : public CObject {
    DECLARE_SERIAL(CPxItem)
public:
    int m_n = 0;
    CString m_s;
    bool m_bThrow = false;
    void Serialize(CArchive& ar) override
    {
        if (m_bThrow)
            AfxThrowArchiveException(CArchiveException::genericException);
        if (ar.IsStoring())
            ar << (LONG)m_n << m_s;
        else {
            LONG n;
            ar >> n >> m_s;
            m_n = (int)n;
        }
    }
};
IMPLEMENT_SERIAL(CPxItem, CObject, 24)

class CPxOther : public CObject {
    DECLARE_SERIAL(CPxOther)
};
IMPLEMENT_SERIAL(CPxOther, CObject, 24)
namespace {

// One value of every type code.
struct AllValues {
    short s = 0;
    int i = 0;
    float f = 0;
    double d = 0;
    CURRENCY cy = {};
    COleDateTime dt;
    BOOL b = FALSE;
    COleVariant var;
    BYTE by = 0;
    CString str;
    RECT rc = {0, 0, 0, 0};
    SIZE sz = {0, 0};

    void Fill()
    {
        s = -1;
        i = -123456;
        f = 1.5f;
        d = -2.25;
        cy.Lo = 0x11223344;
        cy.Hi = -2;
        dt.SetDateTime(2024, 3, 9, 13, 45, 30);
        b = TRUE;
        var = COleVariant(L"variant text");
        by = 200;
        str = "back\\slash\ttab\nline";
        rc = {1, -2, 300, 400};
        sz = {-5, 6};
    }
};

enum Backend {
    kRegistry = 1,
    kIni = 2,
    kArchive = 4
};

struct Code {
    const char* name;
    VARTYPE vt;
    std::function<void*(AllValues&)> field;
    std::function<bool(AllValues&, AllValues&)> same;
    int supported; // Backend bits
};

const std::vector<Code>& Codes()
{
    static const std::vector<Code> codes = {
        {"Short", VT_I2, [](AllValues& v) -> void* { return &v.s; }, [](AllValues& a, AllValues& b) { return a.s == b.s; },
         kRegistry | kIni | kArchive},
        {"Int", VT_I4, [](AllValues& v) -> void* { return &v.i; }, [](AllValues& a, AllValues& b) { return a.i == b.i; },
         kRegistry | kIni | kArchive},
        {"Float", VT_R4, [](AllValues& v) -> void* { return &v.f; }, [](AllValues& a, AllValues& b) { return a.f == b.f; },
         kRegistry | kIni | kArchive},
        {"Double", VT_R8, [](AllValues& v) -> void* { return &v.d; }, [](AllValues& a, AllValues& b) { return a.d == b.d; },
         kRegistry | kIni | kArchive},
        {"Currency", VT_CY, [](AllValues& v) -> void* { return &v.cy; },
         [](AllValues& a, AllValues& b) { return a.cy.int64 == b.cy.int64; }, kArchive},
        {"Date", VT_DATE, [](AllValues& v) -> void* { return &v.dt; },
         [](AllValues& a, AllValues& b) {
             return a.dt.GetYear() == b.dt.GetYear() && a.dt.GetMonth() == b.dt.GetMonth() &&
                    a.dt.GetDay() == b.dt.GetDay() && a.dt.GetHour() == b.dt.GetHour() &&
                    a.dt.GetMinute() == b.dt.GetMinute() && a.dt.GetSecond() == b.dt.GetSecond();
         },
         kIni | kArchive},
        {"Bool", VT_BOOL, [](AllValues& v) -> void* { return &v.b; }, [](AllValues& a, AllValues& b) { return a.b == b.b; },
         kRegistry | kIni | kArchive},
        {"Variant", VT_VARIANT, [](AllValues& v) -> void* { return &v.var; },
         [](AllValues& a, AllValues& b) { return a.var == b.var; }, kIni | kArchive},
        {"Byte", VT_UI1, [](AllValues& v) -> void* { return &v.by; },
         [](AllValues& a, AllValues& b) { return a.by == b.by; }, kRegistry | kIni | kArchive},
        {"Text", VT_LPSTR, [](AllValues& v) -> void* { return &v.str; },
         [](AllValues& a, AllValues& b) { return a.str == b.str; }, kRegistry | kIni | kArchive},
        {"Rect", VT_QX_RECT, [](AllValues& v) -> void* { return &v.rc; },
         [](AllValues& a, AllValues& b) { return memcmp(&a.rc, &b.rc, sizeof(RECT)) == 0; }, kRegistry | kIni | kArchive},
        {"Size", VT_QX_SIZE, [](AllValues& v) -> void* { return &v.sz; },
         [](AllValues& a, AllValues& b) { return memcmp(&a.sz, &b.sz, sizeof(SIZE)) == 0; }, kRegistry | kIni | kArchive},
    };
    return codes;
}

// Creates exchanges of one back-end over one private store.
class Store {
public:
    explicit Store(Backend kind) : m_kind(kind) {}
    ~Store()
    {
        delete m_pArchive;
        delete m_pFile;
    }

    // A root exchange; the caller releases it with Done().
    CQXPPropExchange* Open(BOOL bLoading, const char* section = "PX")
    {
        switch (m_kind) {
        case kRegistry:
            return new CQXPPropExchangeRegistry(bLoading, NULL, section);
        case kIni: {
            CQXPPropExchangeIniFile* p = new CQXPPropExchangeIniFile(bLoading, NULL, section);
            p->AssignFile(m_dir.Path("px.ini").c_str());
            return p;
        }
        default:
            delete m_pArchive;
            m_pArchive = NULL;
            if (bLoading) {
                m_loaded = m_bytes;
                delete m_pFile;
                m_pFile = new CMemFile(m_loaded.empty() ? NULL : m_loaded.data(), (UINT)m_loaded.size());
            } else {
                delete m_pFile;
                m_pFile = new CMemFile(1024);
            }
            m_pArchive = new CArchive(m_pFile, bLoading ? CArchive::load : CArchive::store);
            return new CQXPPropExchangeArchive(*m_pArchive);
        }
    }
    void Done(CQXPPropExchange* px)
    {
        px->InternalRelease();
        if (m_kind == kArchive && m_pArchive->IsStoring()) {
            m_pArchive->Close();
            ULONGLONG n = m_pFile->GetLength();
            BYTE* p = m_pFile->Detach();
            m_bytes.assign(p, p + n);
            free(p);
        }
    }
    const Bytes& ArchiveBytes() const { return m_bytes; }
    std::string IniPath() const { return m_dir.Path("px.ini"); }
    RegistryApp& Reg() { return m_reg; }

private:
    Backend m_kind;
    RegistryApp m_reg;
    TempDir m_dir;
    CMemFile* m_pFile = NULL;
    CArchive* m_pArchive = NULL;
    Bytes m_bytes;
    Bytes m_loaded;
};

class EveryBackend : public ::testing::TestWithParam<Backend> {};

std::string BackendName(const ::testing::TestParamInfo<Backend>& info)
{
    return info.param == kRegistry ? "Registry" : info.param == kIni ? "Ini"
                                                                     : "Archive";
}

} // namespace

// Every type code goes out and comes back on the back-ends that carry it; the
// others refuse it and leave the value untouched (the archive ignores it).
TEST_P(EveryBackend, EveryTypeCodeRoundTrips)
{
    Store store(GetParam());
    AllValues out, in, defaults;
    out.Fill();

    CQXPPropExchange* px = store.Open(FALSE);
    for (const Code& c : Codes()) {
        BOOL ok = px->ExchangeValue(c.name, c.vt, c.field(out), NULL);
        bool supported = (c.supported & GetParam()) != 0;
        EXPECT_EQ(supported || GetParam() == kArchive, ok != FALSE) << c.name;
    }
    store.Done(px);

    px = store.Open(TRUE);
    for (const Code& c : Codes()) {
        BOOL ok = px->ExchangeValue(c.name, c.vt, c.field(in), NULL);
        bool supported = (c.supported & GetParam()) != 0;
        if (supported) {
            EXPECT_TRUE(ok) << c.name;
            EXPECT_TRUE(c.same(out, in)) << c.name;
        } else {
            EXPECT_TRUE(c.same(defaults, in)) << c.name << " must stay untouched";
        }
    }
    store.Done(px);
}

// Values equal to their defaults are removed on store (or, in the positional
// archive, written like any value), and load back as the default.
TEST_P(EveryBackend, DefaultsRoundTrip)
{
    Store store(GetParam());
    AllValues defaults, values;
    defaults.Fill();
    values.Fill();

    // Registry and INI: leave a stale value, then store the defaults over it.
    CQXPPropExchange* px = store.Open(FALSE);
    if (GetParam() != kArchive) {
        int stale = 5;
        px->ExchangeValue("Int", VT_I4, &stale, NULL);
    }
    store.Done(px);

    px = store.Open(FALSE);
    for (const Code& c : Codes()) {
        if (!(c.supported & GetParam()))
            continue;
        const void* pDefault = c.vt == VT_LPSTR ? (const void*)defaults.str.GetString() : c.field(defaults);
        EXPECT_TRUE(px->ExchangeValue(c.name, c.vt, c.field(values), pDefault)) << c.name;
    }
    store.Done(px);

    if (GetParam() == kRegistry) {
        DWORD type;
        Bytes data;
        EXPECT_FALSE(store.Reg().Query("PX", "Int", type, data)) << "a value equal to its default is removed";
    } else if (GetParam() == kIni) {
        EXPECT_EQ(std::string::npos, qxtest::ReadFileText(store.IniPath()).find("Int="));
    }

    AllValues in;
    px = store.Open(TRUE);
    for (const Code& c : Codes()) {
        if (!(c.supported & GetParam()))
            continue;
        const void* pDefault = c.vt == VT_LPSTR ? (const void*)defaults.str.GetString() : c.field(defaults);
        EXPECT_TRUE(px->ExchangeValue(c.name, c.vt, c.field(in), pDefault)) << c.name;
        EXPECT_TRUE(c.same(defaults, in)) << c.name;
    }
    store.Done(px);
}

TEST_P(EveryBackend, SectionsAndEnumerationsNest)
{
    Store store(GetParam());
    CQXPPropExchange* px = store.Open(FALSE);
    px->m_dwData = 0x1234;
    px->SchemaProp();
    {
        PropExchangeSectionPtr sec(px, "Items");
        EXPECT_TRUE(sec->IsSection());
        EXPECT_EQ((DWORD_PTR)0x1234, sec->m_dwData);
        std::unique_ptr<PropExchangeEnumerator> e(sec->OpenEnumerator("Item"));
        POSITION pos = e->First(3);
        int i = 0;
        while (pos) {
            PropExchangeSectionPtr item(e->Next(pos));
            int v = 100 + i;
            CString name;
            name.Format("item %d", i);
            ExchangeIntProp(item, "Value", &v, 0);
            ExchangeTextProp(item, "Name", &name);
            ++i;
        }
        EXPECT_EQ(3, i);
        PropExchangeSectionPtr emptySec(px, "Empty");
        std::unique_ptr<PropExchangeEnumerator> empty(emptySec->OpenEnumerator("Item"));
        EXPECT_EQ(nullptr, empty->First(0));
    }
    store.Done(px);

    if (GetParam() == kRegistry) {
        EXPECT_TRUE(store.Reg().KeyExists("PX\\Items\\Item2"));
        DWORD type;
        Bytes data;
        EXPECT_TRUE(store.Reg().Query("PX\\Items", "Count", type, data));
        EXPECT_FALSE(store.Reg().Query("PX", "Schema", type, data)) << "schema 24 is the default";
    } else if (GetParam() == kIni) {
        std::string text = qxtest::ReadFileText(store.IniPath());
        EXPECT_NE(std::string::npos, text.find("[PX\\Items\\Item1]"));
        EXPECT_EQ(std::string::npos, text.find("[PX\\Empty]")) << "an empty collection stores no count";
    }

    px = store.Open(TRUE);
    px->SchemaProp();
    EXPECT_EQ(24u, px->m_nSchema);
    {
        PropExchangeSectionPtr sec(px, "Items");
        std::unique_ptr<PropExchangeEnumerator> e(sec->OpenEnumerator("Item"));
        POSITION pos = e->First();
        EXPECT_EQ(3u, e->GetCount());
        int i = 0;
        while (pos) {
            PropExchangeSectionPtr item(e->Next(pos));
            int v = -1;
            CString name;
            ExchangeIntProp(item, "Value", &v, 0);
            ExchangeTextProp(item, "Name", &name);
            EXPECT_EQ(100 + i, v);
            CString expect;
            expect.Format("item %d", i);
            EXPECT_STREQ(expect, name);
            ++i;
        }
        EXPECT_EQ(3, i);
        PropExchangeSectionPtr emptySec(px, "Empty");
        std::unique_ptr<PropExchangeEnumerator> empty(emptySec->OpenEnumerator("Item"));
        EXPECT_EQ(nullptr, empty->First());
    }
    store.Done(px);
}

TEST_P(EveryBackend, BinaryBlocksAndObjects)
{
    Store store(GetParam());
    const BYTE blob[] = {0x00, 0xFF, 0x5A, 0x01};
    CPxItem item;
    item.m_n = 77;
    item.m_s = "serialized";
    CPxItem* pInstance = new CPxItem;
    CObject* pObj = pInstance;

    CQXPPropExchange* px = store.Open(FALSE);
    void* p = (void*)blob;
    UINT n = sizeof(blob);
    EXPECT_TRUE(ExchangeBlobProp(px, "Blob", &p, &n));
    EXPECT_TRUE(ExchangeObjectProp(px, "Data", &item));
    EXPECT_TRUE(px->ExchangeInstance(&pObj, RUNTIME_CLASS(CObject)));
    store.Done(px);
    delete pInstance;

    px = store.Open(TRUE);
    void* pIn = NULL;
    UINT nIn = 0;
    ASSERT_TRUE(ExchangeBlobProp(px, "Blob", &pIn, &nIn));
    EXPECT_EQ(Bytes(blob, blob + 4), Bytes((BYTE*)pIn, (BYTE*)pIn + nIn));
    free(pIn);
    CPxItem back;
    EXPECT_TRUE(ExchangeObjectProp(px, "Data", &back));
    EXPECT_EQ(77, back.m_n);
    EXPECT_STREQ("serialized", back.m_s);
    CObject* pNew = NULL;
    ASSERT_TRUE(px->ExchangeInstance(&pNew, RUNTIME_CLASS(CObject)));
    EXPECT_TRUE(pNew->IsKindOf(RUNTIME_CLASS(CPxItem)));
    delete pNew;
    store.Done(px);
}

TEST_P(EveryBackend, CallerBlockTooSmallIsRefused)
{
    Store store(GetParam());
    const BYTE blob[] = {1, 2, 3, 4, 5, 6};
    CQXPPropExchange* px = store.Open(FALSE);
    void* p = (void*)blob;
    UINT n = sizeof(blob);
    ExchangeBlobProp(px, "Blob", &p, &n);
    store.Done(px);

    px = store.Open(TRUE);
    BYTE small[4] = {9, 9, 9, 9};
    void* pSmall = small;
    UINT nSmall = sizeof(small);
    EXPECT_FALSE(ExchangeBlobProp(px, "Blob", &pSmall, &nSmall));
    EXPECT_EQ(9, small[0]);
    store.Done(px);
}

INSTANTIATE_TEST_SUITE_P(PropExchange, EveryBackend, ::testing::Values(kRegistry, kIni, kArchive), BackendName);

// ---------------------------------------------------------------------------
// Archive: positional, byte-exact.

TEST(PropExchangeArchive, StoresEveryCodeInItsExactBinaryForm)
{
    AllValues v;
    v.s = -1;
    v.i = 0x01020304;
    v.f = 1.0f;
    v.d = 1.0;
    v.cy.Lo = 1;
    v.cy.Hi = 2;
    v.b = TRUE;
    v.by = 0xAB;
    v.str = "ab";
    v.rc = {1, 2, 3, 4};
    v.sz = {5, -1};
    v.var = COleVariant((long)5);
    v.dt = COleDateTime(2.5);
    const wchar_t* wide = L"ignored";
    int unknown = 7;

    Bytes bytes = qxtest::StoreBytes([&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        px.SchemaProp();
        px.ExchangeValue("a", VT_I2, &v.s);
        px.ExchangeValue("b", VT_I4, &v.i);
        px.ExchangeValue("c", VT_R4, &v.f);
        px.ExchangeValue("d", VT_R8, &v.d);
        px.ExchangeValue("e", VT_CY, &v.cy);
        px.ExchangeValue("f", VT_BOOL, &v.b);
        px.ExchangeValue("g", VT_UI1, &v.by);
        px.ExchangeValue("h", VT_LPSTR, &v.str);
        px.ExchangeValue("i", VT_QX_RECT, &v.rc);
        px.ExchangeValue("j", VT_QX_SIZE, &v.sz);
        px.ExchangeValue("k", VT_VARIANT, &v.var);
        px.ExchangeValue("l", VT_DATE, &v.dt);
        EXPECT_TRUE(px.ExchangeValue("m", VT_BSTR, &wide));
        EXPECT_TRUE(px.ExchangeValue("n", (VARTYPE)99, &unknown));
        px.WriteItemCount(3);
        const BYTE blob[] = {0xEE, 0xDD};
        void* p = (void*)blob;
        UINT n = 2;
        px.ExchangeBinary("o", &p, &n);
        px.WriteBytes("p", blob, 2);
    });
    Bytes expect = {
        0xBF, 0xAD, 0xF0, 0x0F, 0x18, 0x00, 0x00, 0x00, // schema marker, 24
        0xFF, 0xFF,                                     // short -1
        0x04, 0x03, 0x02, 0x01,                         // int
        0x00, 0x00, 0x80, 0x3F,                         // float 1
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F, // double 1
        0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, // currency low, high
        0x01, 0x00, 0x00, 0x00,                         // BOOL
        0xAB,                                           // byte
        0x02, 0x61, 0x62,                               // string "ab"
        0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, // rect
        0x03, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00,
        0x05, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, // size
        0x03, 0x00, 0x05, 0x00, 0x00, 0x00,             // variant VT_I4 5
        0x00, 0x00, 0x00, 0x00,                         // date: status valid
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x40, //       2.5
        0x03, 0x00,                                     // compact count 3
        0x02, 0x00, 0xEE, 0xDD,                         // binary: count, bytes
        0xEE, 0xDD,                                     // raw bytes
    };
    EXPECT_EQ(qxtest::Hex(expect), qxtest::Hex(bytes));
}

TEST(PropExchangeArchive, UnmarkedArchiveLoadsWithSchema17)
{
    Bytes bytes = {0x05, 0x00, 0x00, 0x00};
    qxtest::LoadBytes(bytes, [](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        EXPECT_TRUE(px.IsLoading());
        px.SchemaProp();
        EXPECT_EQ(17u, px.m_nSchema);
        int n = 0;
        px.ExchangeValue("x", VT_I4, &n);
        EXPECT_EQ(5, n) << "nothing was consumed by the schema check";
    });
}

TEST(PropExchangeArchive, DamagedBlockCountIsRefusedWithoutReadingPastTheEnd)
{
    // A count that claims far more bytes than the stream holds.
    Bytes bytes = {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 0x01, 0x02};
    qxtest::LoadBytes(bytes, [](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        void* p = NULL;
        UINT n = 0;
        EXPECT_FALSE(px.ExchangeBinary("x", &p, &n));
        EXPECT_EQ(nullptr, p);
    });
}

TEST(PropExchangeArchive, ReadingPastTheEndThrowsForTheCaller)
{
    Bytes bytes = {0x01};
    qxtest::LoadBytes(bytes, [](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        int n = 0;
        bool thrown = false;
        try {
            px.ExchangeValue("x", VT_I4, &n);
        } catch (CArchiveException* e) {
            thrown = e->m_cause == CArchiveException::endOfFile;
            e->Delete();
        }
        EXPECT_TRUE(thrown);
    });
}

TEST(PropExchangeArchive, ObjectSerializationErrorsGiveFailure)
{
    CPxItem item;
    item.m_bThrow = true;
    Bytes bytes = qxtest::StoreBytes([&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        EXPECT_FALSE(ExchangeObjectProp(&px, "x", &item));
        EXPECT_FALSE(ExchangeObjectProp(NULL, "x", &item));
    });
}

TEST(PropExchangeArchive, InstancesBecomeBackReferences)
{
    CPxItem a;
    Bytes bytes = qxtest::StoreBytes([&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        CObject* p = &a;
        EXPECT_TRUE(px.ExchangeInstance(&p, RUNTIME_CLASS(CPxItem)));
        ar << static_cast<CObject*>(&a); // a later reference to the same object
    });
    qxtest::LoadBytes(bytes, [](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        CObject* p = NULL;
        ASSERT_TRUE(px.ExchangeInstance(&p, RUNTIME_CLASS(CPxItem)));
        CObject* q = NULL;
        ar >> q;
        EXPECT_EQ(p, q);
        delete p;
    });
}

// ---------------------------------------------------------------------------
// Registry specifics.

TEST(PropExchangeRegistry, StoredFormsAndDamagedValues)
{
    RegistryApp reg;
    {
        CQXPPropExchangeRegistry px(FALSE, NULL, "R");
        short s = -1;
        RECT rc = {1, 2, 3, 4};
        SIZE sz = {5, 6};
        ExchangeShortProp(&px, "Short", &s, 0);
        ExchangeRectProp(&px, "Rect", &rc, RECT{0, 0, 0, 0});
        ExchangeSizeProp(&px, "Size", &sz, SIZE{0, 0});
    }
    DWORD type;
    Bytes data;
    ASSERT_TRUE(reg.Query("R", "Short", type, data));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_EQ((Bytes{0xFF, 0xFF, 0x00, 0x00}), data);
    ASSERT_TRUE(reg.Query("R", "Rect", type, data));
    EXPECT_EQ(std::string("1, 2, 3, 4"), std::string((char*)data.data()));
    ASSERT_TRUE(reg.Query("R", "Size", type, data));
    EXPECT_EQ(std::string("5, 6"), std::string((char*)data.data()));

    reg.SetRaw("R", "ShortRect", REG_SZ, "1, 2, 3", 8);
    reg.SetRaw("R", "IntAsText", REG_SZ, "12", 3);
    reg.SetRaw("R", "TwoBytes", REG_DWORD, "\x01\x02", 2);
    reg.SetRaw("R", "FloatWrongSize", REG_BINARY, "\x01\x02", 2);
    CQXPPropExchangeRegistry px(TRUE, NULL, "R");
    short s = 0;
    ExchangeShortProp(&px, "Short", &s, 0);
    EXPECT_EQ(-1, s);
    RECT rc = {0, 0, 0, 0};
    const RECT rcDefault = {9, 9, 9, 9};
    ExchangeRectProp(&px, "ShortRect", &rc, rcDefault);
    EXPECT_EQ(9, rc.left);
    EXPECT_EQ(9, rc.bottom);
    int n = 0;
    ExchangeIntProp(&px, "IntAsText", &n, -4);
    EXPECT_EQ(-4, n);
    ExchangeIntProp(&px, "TwoBytes", &n, -5);
    EXPECT_EQ(-5, n);
    float f = 0;
    const float fDefault = 2.5f;
    px.ExchangeValue("FloatWrongSize", VT_R4, &f, &fDefault);
    EXPECT_EQ(2.5f, f);
}

TEST(PropExchangeRegistry, LoadingCreatesTheSectionAndClearRemovesTheTree)
{
    RegistryApp reg;
    {
        CQXPPropExchangeRegistry px(TRUE, NULL, "Fresh");
        int n = 3;
        ExchangeIntProp(&px, "x", &n, 8);
        EXPECT_EQ(8, n);
    }
    EXPECT_TRUE(reg.KeyExists("Fresh"));

    {
        CQXPPropExchangeRegistry px(FALSE, NULL, "Tree");
        PropExchangeSectionPtr child(&px, "Child");
        int n = 1;
        ExchangeIntProp(child, "x", &n, 0);
        ExchangeIntProp(&px, "y", &n, 0);
    }
    ASSERT_TRUE(reg.KeyExists("Tree\\Child"));
    {
        CQXPPropExchangeRegistry px(FALSE, NULL, "Tree");
        px.ClearSection();
        EXPECT_TRUE(px.m_bEmptied);
        EXPECT_FALSE(reg.KeyExists("Tree"));
        int n = 0;
        ExchangeIntProp(&px, "z", &n, 0); // equal to its default: not written
        int m = 2;
        ExchangeIntProp(&px, "w", &m, 0);
    }
    EXPECT_FALSE(reg.KeyExists("Tree\\Child"));
    DWORD type;
    Bytes data;
    EXPECT_TRUE(reg.Query("Tree", "w", type, data));
    EXPECT_FALSE(reg.Query("Tree", "y", type, data));
}

TEST(PropExchangeRegistry, WithoutAnApplicationKeyNothingOpens)
{
    CQXPPropExchangeRegistry px(TRUE, NULL, "S");
    EXPECT_FALSE(px.Prepare());
    int n = 1;
    EXPECT_TRUE(ExchangeIntProp(&px, "x", &n, 6));
    EXPECT_EQ(6, n);
    CQXPPropExchangeRegistry store(FALSE, NULL, "S");
    EXPECT_FALSE(ExchangeIntProp(&store, "x", &n, 0));
}

TEST(PropExchangeRegistry, ClassNamesAreLookedUpExactly)
{
    RegistryApp reg;
    {
        CQXPPropExchangeRegistry px(FALSE, NULL, "C");
        CRuntimeClass* p = RUNTIME_CLASS(CPxItem);
        EXPECT_TRUE(px.ExchangeClassName("Same", &p, RUNTIME_CLASS(CPxItem)));
        EXPECT_TRUE(px.ExchangeClassName("Other", &p, RUNTIME_CLASS(CObject)));
    }
    DWORD type;
    Bytes data;
    EXPECT_FALSE(reg.Query("C", "Same", type, data)) << "the default class is not stored";
    ASSERT_TRUE(reg.Query("C", "Other", type, data));
    EXPECT_STREQ("CPxItem", (const char*)data.data());
    reg.SetRaw("C", "Unknown", REG_SZ, "cpxitem", 8);
    reg.SetRaw("C\\Obj", "Class", REG_SZ, "CPxOther", 9);

    CQXPPropExchangeRegistry px(TRUE, NULL, "C");
    CRuntimeClass* p = NULL;
    EXPECT_TRUE(px.ExchangeClassName("Same", &p, RUNTIME_CLASS(CPxOther)));
    EXPECT_EQ(RUNTIME_CLASS(CPxOther), p) << "a missing name gives the default class";
    EXPECT_TRUE(px.ExchangeClassName("Other", &p, RUNTIME_CLASS(CObject)));
    EXPECT_EQ(RUNTIME_CLASS(CPxItem), p);
    EXPECT_FALSE(px.ExchangeClassName("Unknown", &p, RUNTIME_CLASS(CObject)));

    PropExchangeSectionPtr obj(&px, "Obj");
    CObject* pObj = NULL;
    EXPECT_FALSE(obj->ExchangeInstance(&pObj, RUNTIME_CLASS(CPxItem))) << "not derived from the expected class";
    EXPECT_EQ(nullptr, pObj);
}

TEST(PropExchangeRegistry, OpenProfileChoosesTheRegistryForAnApplicationWithAKey)
{
    RegistryApp reg;
    PropExchangeSectionPtr px;
    ASSERT_TRUE(px.OpenProfile(FALSE, "Options") != NULL);
    EXPECT_TRUE(px->IsKindOf(RUNTIME_CLASS(CQXPPropExchangeRegistry)));
    EXPECT_TRUE(px->PrefersBinary());
    EXPECT_TRUE(px->CanSkipDefaults());
    BOOL b = FALSE;
    ExchangeBoolProp(px, "Flag", &b, TRUE);
    px.Release();
    DWORD type;
    Bytes data;
    EXPECT_TRUE(reg.Query("Options", "Flag", type, data));
}

// ---------------------------------------------------------------------------
// INI specifics.

TEST(PropExchangeIni, TextFormsEscapesAndLongValues)
{
    TempDir dir;
    std::string path = dir.Path("x.ini");
    {
        CQXPPropExchangeIniFile px(FALSE, NULL, "S");
        px.AssignFile(path.c_str());
        short s = -1;
        CString text("a\\b\tc\nd");
        const BYTE blob[] = {0x00, 0xFF};
        void* p = (void*)blob;
        UINT n = 2;
        ExchangeShortProp(&px, "Short", &s, 0);
        ExchangeTextProp(&px, "Text", &text);
        ExchangeBlobProp(&px, "Blob", &p, &n);
        COleDateTime dayOnly(2024, 12, 31, 0, 0, 0), both(2024, 1, 2, 3, 4, 5), timeOnly;
        timeOnly.SetTime(13, 14, 15);
        px.ExchangeValue("Day", VT_DATE, &dayOnly);
        px.ExchangeValue("Both", VT_DATE, &both);
        px.ExchangeValue("Time", VT_DATE, &timeOnly);
    }
    std::string file = qxtest::ReadFileText(path);
    EXPECT_NE(std::string::npos, file.find("Short=65535"));
    EXPECT_NE(std::string::npos, file.find("Text=a\\\\b\\tc\\nd"));
    EXPECT_NE(std::string::npos, file.find("Blob=AAPP"));
    EXPECT_NE(std::string::npos, file.find("Day=2024-31-12\r"));
    EXPECT_NE(std::string::npos, file.find("Both=2024-02-01T03:04:05"));
    EXPECT_NE(std::string::npos, file.find("Time=13:14:15"));

    std::string longText(300, 'x');
    longText[299] = 'y';
    WritePrivateProfileStringA("S", "Long", longText.c_str(), path.c_str());
    WritePrivateProfileStringA("S", "Empty", "", path.c_str());
    WritePrivateProfileStringA("S", "ShortRect", "1, 2, 3", path.c_str());
    WritePrivateProfileStringA("S", "Odd", "AAP", path.c_str());
    WritePrivateProfileStringA("S", "IntAsWord", "fast", path.c_str());
    WritePrivateProfileStringA("S", "IntWithTail", "12px", path.c_str());

    CQXPPropExchangeIniFile px(TRUE, NULL, "S");
    px.AssignFile(path.c_str());
    short s = 0;
    ExchangeShortProp(&px, "Short", &s, 0);
    EXPECT_EQ(-1, s);
    CString text;
    ExchangeTextProp(&px, "Text", &text);
    EXPECT_STREQ("a\\b\tc\nd", text);
    CString longBack;
    ExchangeTextProp(&px, "Long", &longBack);
    EXPECT_EQ(300, longBack.GetLength());
    EXPECT_EQ('y', longBack[299]);
    CString empty("keep");
    ExchangeTextPropDefault(&px, "Empty", &empty, "dflt");
    EXPECT_STREQ("dflt", empty) << "an empty key loads as the default";
    RECT rc = {0, 0, 0, 0};
    ExchangeRectProp(&px, "ShortRect", &rc, RECT{7, 7, 7, 7});
    EXPECT_EQ(7, rc.right);
    int nInt = 0;
    ExchangeIntProp(&px, "IntAsWord", &nInt, -4);
    EXPECT_EQ(-4, nInt) << "text that is no number loads as the default";
    ExchangeIntProp(&px, "IntWithTail", &nInt, -5);
    EXPECT_EQ(-5, nInt);
    BOOL bFlag = FALSE;
    ExchangeBoolProp(&px, "IntAsWord", &bFlag, TRUE);
    EXPECT_TRUE(bFlag);
    void* p = NULL;
    UINT n = 0;
    EXPECT_FALSE(ExchangeBlobProp(&px, "Odd", &p, &n));
    COleDateTime date;
    ASSERT_TRUE(px.ExchangeValue("Day", VT_DATE, &date));
    EXPECT_EQ(2024, date.GetYear());
    EXPECT_EQ(12, date.GetMonth());
    EXPECT_EQ(31, date.GetDay());
    ASSERT_TRUE(px.ExchangeValue("Time", VT_DATE, &date));
    EXPECT_NEAR((13 * 3600 + 14 * 60 + 15) / 86400.0, date.m_dt, 1e-9);
    COleVariant var;
    ASSERT_TRUE(px.ExchangeValue("Both", VT_VARIANT, &var));
    EXPECT_EQ(VT_DATE, var.vt) << "date text becomes a date variant";
    ASSERT_TRUE(px.ExchangeValue("Text", VT_VARIANT, &var));
    EXPECT_EQ(VT_BSTR, var.vt);
}

TEST(PropExchangeIni, ClearSectionRemovesTheSectionAndItsChildrenOnly)
{
    TempDir dir;
    std::string path = dir.Path("c.ini");
    WritePrivateProfileStringA("Bars", "a", "1", path.c_str());
    WritePrivateProfileStringA("Bars\\Bar0", "a", "1", path.c_str());
    WritePrivateProfileStringA("Bars\\Bar0\\Controls", "a", "1", path.c_str());
    WritePrivateProfileStringA("BarsExtra", "a", "1", path.c_str());
    WritePrivateProfileStringA("bars\\x", "a", "1", path.c_str());
    {
        CQXPPropExchangeIniFile px(FALSE, NULL, "Bars");
        px.AssignFile(path.c_str());
        px.ClearSection();
    }
    std::string file = qxtest::ReadFileText(path);
    EXPECT_EQ(std::string::npos, file.find("[Bars]"));
    EXPECT_EQ(std::string::npos, file.find("[Bars\\Bar0]"));
    EXPECT_EQ(std::string::npos, file.find("[Bars\\Bar0\\Controls]"));
    EXPECT_NE(std::string::npos, file.find("[BarsExtra]"));
    EXPECT_NE(std::string::npos, file.find("[bars\\x]")) << "names compare with case";
}

TEST(PropExchangeIni, TemporaryFileIsMadeAndDeleted)
{
    std::string path;
    {
        CQXPPropExchangeIniFile px(FALSE, NULL, "T");
        int n = 5;
        EXPECT_TRUE(ExchangeIntProp(&px, "x", &n, 0));
        path = px.GetFilePath().GetString();
        ASSERT_FALSE(path.empty());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
        PropExchangeSectionPtr sec(&px, "Sub");
        EXPECT_STREQ("T\\Sub", static_cast<CQXPPropExchangeIniFile*>(sec.get())->GetSectionName());
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
}
