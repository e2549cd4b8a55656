// Collections: arrays, lists and maps, the typed forms and their stored form.
#include "TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

using fxtest::Bytes;
using fxtest::Throws;

namespace {

template <class A>
std::vector<int> Items(const A& a)
{
    std::vector<int> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        v.push_back((int)a[i]);
    return v;
}

template <class L>
std::vector<std::string> ListItems(const L& l)
{
    std::vector<std::string> v;
    POSITION pos = l.GetHeadPosition();
    while (pos)
        v.push_back(CString(l.GetNext(pos)).GetString());
    return v;
}

} // namespace

TEST(Array, GrowInsertRemove)
{
    CArray<int, int> a;
    EXPECT_EQ(-1, a.GetUpperBound());
    a.SetSize(3);
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Items(a)); // new elements are zero
    a[1] = 5;
    EXPECT_EQ(3, a.Add(7));
    a.InsertAt(0, 9, 2);
    EXPECT_EQ((std::vector<int>{9, 9, 0, 5, 0, 7}), Items(a));
    a.InsertAt(8, 1); // past the end: the gap is zero-filled
    EXPECT_EQ((std::vector<int>{9, 9, 0, 5, 0, 7, 0, 0, 1}), Items(a));
    a.RemoveAt(1, 3);
    EXPECT_EQ((std::vector<int>{9, 0, 7, 0, 0, 1}), Items(a));
    a.SetAtGrow(7, 4);
    EXPECT_EQ(8, a.GetSize());
    EXPECT_EQ(4, a.GetAt(7));
    a.SetSize(2);
    EXPECT_EQ((std::vector<int>{9, 0}), Items(a));

    CArray<int, int> b;
    b.Add(1);
    b.Add(2);
    EXPECT_EQ(2, a.Append(b));
    EXPECT_EQ((std::vector<int>{9, 0, 1, 2}), Items(a));
    a.Append(a); // appending itself doubles it
    EXPECT_EQ((std::vector<int>{9, 0, 1, 2, 9, 0, 1, 2}), Items(a));
    b.Copy(a);
    EXPECT_EQ(Items(a), Items(b));
    a.InsertAt(1, &b);
    EXPECT_EQ(16, a.GetSize());
    EXPECT_EQ(9, a[1]);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

TEST(Array, IndexesOutsideTheArrayThrow)
{
    CArray<int, int> a;
    a.Add(1);
    const std::function<void()> bad[] = {
        [&] { (void)a.GetAt(1); },
        [&] { (void)a[-1]; },
        [&] { a.SetAt(5, 0); },
        [&] { a.ElementAt(1) = 0; },
        [&] { a.RemoveAt(0, 2); },
        [&] { a.RemoveAt(-1); },
        [&] { a.InsertAt(-1, 0); },
        [&] { a.InsertAt(0, 0, 0); },
        [&] { a.SetSize(-1); },
        [&] { a.SetAtGrow(-2, 1); },
    };
    for (size_t i = 0; i < sizeof(bad) / sizeof(bad[0]); ++i)
        EXPECT_TRUE(Throws<CInvalidArgException>(bad[i])) << "case " << i;
    EXPECT_EQ(1, a.GetSize());
}

TEST(Array, ElementsThatReferToTheArrayItself)
{
    CArray<CString, const CString&> a;
    a.Add("first");
    for (int i = 0; i < 100; ++i)
        a.Add(a[0]); // the argument lives in the array that grows
    EXPECT_EQ(101, a.GetSize());
    EXPECT_STREQ("first", a[100].GetString());
    a.InsertAt(0, a[50], 3);
    EXPECT_STREQ("first", a[0].GetString());

    CStringArray s;
    s.Add("x");
    for (int i = 0; i < 50; ++i)
        s.Add(s[0].GetString()); // a pointer into an element
    EXPECT_STREQ("x", s[50].GetString());
}

TEST(Array, TypedPointerArray)
{
    struct Item {
        int n;
    } items[3] = {{1}, {2}, {3}};
    CTypedPtrArray<CPtrArray, Item*> a;
    for (Item& it : items)
        a.Add(&it);
    EXPECT_EQ(2, a[1]->n);
    a.ElementAt(0) = &items[2];
    EXPECT_EQ(3, a.GetAt(0)->n);
    a.InsertAt(1, &items[1], 2);
    EXPECT_EQ(5, a.GetSize());
    EXPECT_EQ(&items[1], a[2]);
}

TEST(List, PositionsInsertFindAndRemoveWhileIterating)
{
    CList<int, int> l;
    for (int i = 1; i <= 6; ++i)
        l.AddTail(i);
    POSITION p3 = l.Find(3);
    ASSERT_NE(nullptr, p3);
    l.InsertBefore(p3, 30);
    l.InsertAfter(p3, 31);
    l.AddHead(0);
    EXPECT_EQ(9, l.GetCount());
    EXPECT_EQ(0, l.GetHead());
    EXPECT_EQ(6, l.GetTail());
    EXPECT_EQ(31, l.GetAt(l.FindIndex(5)));
    EXPECT_EQ(nullptr, l.FindIndex(9));
    EXPECT_EQ(nullptr, l.Find(99));
    EXPECT_EQ(nullptr, l.Find(1, l.Find(1))); // search starts after the position

    // Remove every even number while walking forward.
    POSITION pos = l.GetHeadPosition();
    while (pos) {
        POSITION cur = pos;
        int v = l.GetNext(pos);
        if (v % 2 == 0)
            l.RemoveAt(cur);
    }
    std::vector<int> rest;
    pos = l.GetTailPosition();
    while (pos)
        rest.push_back(l.GetPrev(pos));
    EXPECT_EQ((std::vector<int>{5, 31, 3, 1}), rest);

    EXPECT_EQ(1, l.RemoveHead());
    EXPECT_EQ(5, l.RemoveTail());
    l.InsertBefore(NULL, -1); // NULL: at the head
    l.InsertAfter(NULL, 99);  // NULL: at the tail
    EXPECT_EQ(-1, l.GetHead());
    EXPECT_EQ(99, l.GetTail());
    l.RemoveAll();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { l.RemoveHead(); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)l.GetTail(); }));
    POSITION none = NULL;
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { l.GetNext(none); }));
}

TEST(List, StringListAndAppendingLists)
{
    CStringList a, b;
    a.AddTail("a");
    a.AddTail("b");
    b.AddTail("c");
    a.AddTail(&b);
    a.AddHead(&b);
    EXPECT_EQ((std::vector<std::string>{"c", "a", "b", "c"}), ListItems(a));
    a.AddTail(&a); // a list appended to itself doubles once
    EXPECT_EQ(8, a.GetCount());
    EXPECT_NE(nullptr, a.Find("b"));
    EXPECT_EQ(nullptr, a.Find("B"));

    CTypedPtrList<CPtrList, int*> typed;
    int x = 1, y = 2;
    typed.AddTail(&x);
    typed.AddTail(&y);
    POSITION pos = typed.GetHeadPosition();
    EXPECT_EQ(&x, typed.GetNext(pos));
    EXPECT_EQ(&y, typed.GetNext(pos));
    EXPECT_EQ(nullptr, pos);
}

TEST(Map, ManyKeysLookupRemoveAndIterate)
{
    CMap<int, int, int, int> m;
    m.InitHashTable(17);
    const int n = 20000;
    for (int i = 0; i < n; ++i)
        m[i * 7] = i;
    EXPECT_EQ(n, m.GetCount());
    EXPECT_GT(m.GetHashTableSize(), 17u); // the table grew with the entries
    int v = -1;
    EXPECT_TRUE(m.Lookup(7 * 1234, v));
    EXPECT_EQ(1234, v);
    EXPECT_FALSE(m.Lookup(5, v));
    m.SetAt(7, 777);
    EXPECT_TRUE(m.Lookup(7, v));
    EXPECT_EQ(777, v);
    EXPECT_EQ(n, m.GetCount());

    // Remove odd values while iterating; every key is seen exactly once.
    std::set<int> seen;
    POSITION pos = m.GetStartPosition();
    while (pos) {
        int key, value;
        m.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(seen.insert(key).second);
        if (value % 2) {
            EXPECT_TRUE(m.RemoveKey(key));
        }
    }
    EXPECT_EQ((size_t)n, seen.size());
    EXPECT_EQ(n / 2, m.GetCount());
    EXPECT_FALSE(m.RemoveKey(7 * 3));
    EXPECT_TRUE(m.Lookup(7 * 2, v));
    m.RemoveAll();
    EXPECT_EQ(nullptr, m.GetStartPosition());
}

TEST(Map, StringAndPointerMaps)
{
    CMapStringToString ss;
    ss.SetAt("alpha", "1");
    ss["beta"] = "2";
    CString strKey("alpha");
    CString value;
    EXPECT_TRUE(ss.Lookup(strKey, value));
    EXPECT_STREQ("1", value.GetString());
    EXPECT_FALSE(ss.Lookup("ALPHA", value)); // keys are case-sensitive

    CMapStringToPtr sp;
    int a = 0;
    sp.InitHashTable(199);
    sp.SetAt("k", &a);
    void* p = NULL;
    EXPECT_TRUE(sp.Lookup("k", p));
    EXPECT_EQ(&a, p);

    CMapPtrToPtr pp;
    pp.SetAt(&a, &value);
    EXPECT_TRUE(pp.Lookup(&a, p));
    EXPECT_EQ(&value, p);

    CMapWordToPtr wp;
    wp.SetAt(35001, &a);
    EXPECT_TRUE(wp.Lookup(35001, p));
    CMapPtrToWord pw;
    pw.SetAt(&a, 9);
    WORD w = 0;
    EXPECT_TRUE(pw.Lookup(&a, w));
    EXPECT_EQ(9, w);

    CTypedPtrMap<CMapStringToPtr, CString, int*> typed;
    typed.SetAt("n", &a);
    int* pi = NULL;
    EXPECT_TRUE(typed.Lookup("n", pi));
    EXPECT_EQ(&a, pi);
    POSITION pos = typed.GetStartPosition();
    CString key;
    typed.GetNextAssoc(pos, key, pi);
    EXPECT_STREQ("n", key.GetString());
    EXPECT_EQ(nullptr, pos);

    CMap<UINT, UINT, BOOL, BOOL> flags(10);
    flags.InitHashTable(17);
    flags[3] = TRUE;
    BOOL b = FALSE;
    EXPECT_TRUE(flags.Lookup(3, b));
    EXPECT_TRUE(b);
}

// Stored forms: count then elements.
TEST(CollectionArchive, StoredBytes)
{
    CDWordArray dw;
    dw.Add(1);
    dw.Add(0xA0B0C0D0);
    CByteArray by;
    by.Add(0x7F);
    CWordArray wa;
    wa.Add(0x1234);
    CStringArray sa;
    sa.Add("ab");
    sa.Add("");
    CStringList sl;
    sl.AddTail("x");
    CMapStringToString ms;
    ms.SetAt("k", "vv");

    Bytes bytes = fxtest::StoreBytes([&](CArchive& ar) {
        dw.Serialize(ar);
        by.Serialize(ar);
        wa.Serialize(ar);
        sa.Serialize(ar);
        sl.Serialize(ar);
        ms.Serialize(ar);
    });
    Bytes expected = {
        0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0xD0, 0xC0, 0xB0, 0xA0, // DWORDs
        0x01, 0x00, 0x7F,                                           // bytes
        0x01, 0x00, 0x34, 0x12,                                     // WORDs
        0x02, 0x00, 0x02, 'a', 'b', 0x00,                           // strings
        0x01, 0x00, 0x01, 'x',                                      // string list
        0x01, 0x00, 0x01, 'k', 0x02, 'v', 'v',                      // map
    };
    EXPECT_EQ(fxtest::Hex(expected), fxtest::Hex(bytes));

    CDWordArray dw2;
    CByteArray by2;
    CWordArray wa2;
    CStringArray sa2;
    CStringList sl2;
    CMapStringToString ms2;
    fxtest::LoadBytes(bytes, [&](CArchive& ar) {
        dw2.Serialize(ar);
        by2.Serialize(ar);
        wa2.Serialize(ar);
        sa2.Serialize(ar);
        sl2.Serialize(ar);
        ms2.Serialize(ar);
    });
    EXPECT_EQ(0xA0B0C0D0, dw2[1]);
    EXPECT_EQ(0x7F, by2[0]);
    EXPECT_EQ(0x1234, wa2[0]);
    EXPECT_STREQ("ab", sa2[0].GetString());
    EXPECT_TRUE(sa2[1].IsEmpty());
    EXPECT_STREQ("x", sl2.GetHead().GetString());
    CString v;
    EXPECT_TRUE(ms2.Lookup("k", v));
    EXPECT_STREQ("vv", v.GetString());
}

TEST(CollectionArchive, LargeCountUsesTheLongForm)
{
    CByteArray big;
    big.SetSize(0x10000);
    big[0xFFFF] = 0xEE;
    Bytes bytes = fxtest::StoreBytes([&](CArchive& ar) { big.Serialize(ar); });
    ASSERT_EQ(6u + 0x10000u, bytes.size());
    EXPECT_EQ(fxtest::Hex(Bytes{0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}), fxtest::Hex(Bytes(bytes.begin(), bytes.begin() + 6)));
    CByteArray back;
    fxtest::LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(0x10000, back.GetSize());
    EXPECT_EQ(0xEE, back[0xFFFF]);

    // A count larger than the data fails with end of file.
    Bytes truncated(bytes.begin(), bytes.begin() + 100);
    EXPECT_EQ(CArchiveException::endOfFile, fxtest::CauseOf<CArchiveException>([&] {
                  fxtest::LoadBytes(truncated, [&](CArchive& ar) { back.Serialize(ar); });
              }));
}

TEST(CollectionArchive, DamagedCountDoesNotAllocateWhatItClaims)
{
    // A count of 0xFFFFFFF0 DWORDs followed by two of them.
    Bytes bytes = {0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 2, 0, 0, 0};
    CDWordArray a;
    EXPECT_EQ(CArchiveException::endOfFile,
              fxtest::CauseOf<CArchiveException>([&] { fxtest::LoadBytes(bytes, [&](CArchive& ar) { a.Serialize(ar); }); }));
    EXPECT_LE(a.GetSize(), 65536);
}
