// OLE data sources, data objects, the clipboard and drop targets.
#include "UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

HGLOBAL GlobalText(const char* psz)
{
    size_t n = strlen(psz) + 1;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
    memcpy(GlobalLock(h), psz, n);
    GlobalUnlock(h);
    return h;
}

std::string TextOfGlobal(HGLOBAL h)
{
    if (h == NULL)
        return "(null)";
    std::string s((const char*)GlobalLock(h));
    GlobalUnlock(h);
    return s;
}

class OleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(AfxOleInit()); }
};

TEST_F(OleTest, DataSourceOffersWhatItCaches)
{
    const CLIPFORMAT cfCustom = (CLIPFORMAT)RegisterClipboardFormatA("FxTestFormat");
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, GlobalText("hello"));
    source.CacheGlobalData(cfCustom, GlobalText("custom"));
    source.CacheGlobalData(CF_TEXT, GlobalText("replaced")); // the same format again

    COleDataObject data;
    data.Attach(source.GetDataObject(), TRUE);
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_TRUE(data.IsDataAvailable(cfCustom));
    EXPECT_FALSE(data.IsDataAvailable(CF_BITMAP));

    HGLOBAL h = data.GetGlobalData(CF_TEXT);
    EXPECT_EQ("replaced", TextOfGlobal(h));
    GlobalFree(h); // the caller owns the copy
    h = data.GetGlobalData(cfCustom);
    EXPECT_EQ("custom", TextOfGlobal(h));
    GlobalFree(h);
    EXPECT_EQ(NULL, data.GetGlobalData(CF_DIB));

    std::vector<CLIPFORMAT> formats;
    data.BeginEnumFormats();
    FORMATETC fe;
    while (data.GetNextFormat(&fe))
        formats.push_back(fe.cfFormat);
    EXPECT_EQ((std::vector<CLIPFORMAT>{CF_TEXT, cfCustom}), formats);

    data.Release();
    EXPECT_EQ(1, source.m_dwRef); // only the owner's reference is left
}

class CCountedSource : public COleDataSource {
public:
    explicit CCountedSource(bool* pbDeleted) : m_pbDeleted(pbDeleted) {}
    ~CCountedSource() override { *m_pbDeleted = true; }

private:
    bool* m_pbDeleted;
};

TEST_F(OleTest, ClipboardOwnsTheSourceItWasGiven)
{
    bool bDeleted = false;
    CCountedSource* pSource = new CCountedSource(&bDeleted);
    pSource->CacheGlobalData(CF_TEXT, GlobalText("on the clipboard"));
    pSource->SetClipboard();
    EXPECT_FALSE(bDeleted);

    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    HGLOBAL h = data.GetGlobalData(CF_TEXT);
    EXPECT_EQ("on the clipboard", TextOfGlobal(h));
    GlobalFree(h);
    data.Release();

    // Emptying the clipboard releases the source, which then deletes itself.
    ASSERT_TRUE(SUCCEEDED(OleSetClipboard(NULL)));
    EXPECT_TRUE(bDeleted);
}

TEST_F(OleTest, ClipboardDataOutlivesTheApplication)
{
    bool bDeleted = false;
    {
        CWinApp app("OleApp");
        CCountedSource* pSource = new CCountedSource(&bDeleted);
        pSource->CacheGlobalData(CF_TEXT, GlobalText("kept after exit"));
        pSource->SetClipboard();
        app.ExitInstance();
    }
    // The source is gone, its data stayed.
    EXPECT_TRUE(bDeleted);
    ASSERT_TRUE(OpenClipboard(NULL));
    HGLOBAL h = GetClipboardData(CF_TEXT);
    EXPECT_EQ("kept after exit", TextOfGlobal(h));
    CloseClipboard();
    // OLE can be started again.
    EXPECT_TRUE(AfxOleInit());
}

class CProbeDropTarget : public COleDropTarget {
public:
    std::vector<std::string> events;
    DROPEFFECT m_effect = DROPEFFECT_COPY;
    BOOL m_bTake = TRUE;

    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* pData, DWORD dwKeyState, CPoint point) override
    {
        HGLOBAL h = pData->GetGlobalData(CF_TEXT);
        char buf[128];
        snprintf(buf, sizeof(buf), "enter %s %lu %ld,%ld", TextOfGlobal(h).c_str(), dwKeyState, point.x, point.y);
        GlobalFree(h);
        events.push_back(buf);
        return m_effect;
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint point) override
    {
        char buf[64];
        snprintf(buf, sizeof(buf), "over %ld,%ld", point.x, point.y);
        events.push_back(buf);
        return m_effect;
    }
    BOOL OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT de, CPoint) override
    {
        HGLOBAL h = pData->GetGlobalData(CF_TEXT);
        events.push_back("drop " + TextOfGlobal(h) + (de == DROPEFFECT_COPY ? " copy" : " other"));
        GlobalFree(h);
        return m_bTake;
    }
    void OnDragLeave(CWnd*) override { events.push_back("leave"); }
};

TEST_F(OleTest, DropTargetGetsTheDataAndClientPoints)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, uitest::TestClass(), "", WS_POPUP, 100, 50, 200, 100, NULL, NULL));
    CProbeDropTarget target;
    ASSERT_TRUE(target.Register(&wnd));
    EXPECT_FALSE(target.Register(&wnd)); // once

    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, GlobalText("dragged"));
    IDataObject* pDataObject = source.GetDataObject();
    IDropTarget* pTarget = target.GetDropTargetInterface();

    POINTL pt = {110, 60}; // screen: client (10, 10)
    DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, pTarget->DragEnter(pDataObject, MK_LBUTTON, pt, &dwEffect));
    EXPECT_EQ((DWORD)DROPEFFECT_COPY, dwEffect);
    pt.x = 120;
    dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, pTarget->DragOver(MK_LBUTTON, pt, &dwEffect));
    dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, pTarget->Drop(pDataObject, 0, pt, &dwEffect));
    EXPECT_EQ((DWORD)DROPEFFECT_COPY, dwEffect);

    const std::vector<std::string> expected = {"enter dragged 1 10,10", "over 20,10", "over 20,10", "drop dragged copy",
                                               "leave"};
    EXPECT_EQ(expected, target.events);

    // A target that refuses the drop reports no effect.
    target.m_bTake = FALSE;
    dwEffect = DROPEFFECT_COPY;
    pTarget->DragEnter(pDataObject, MK_LBUTTON, pt, &dwEffect);
    dwEffect = DROPEFFECT_COPY;
    pTarget->Drop(pDataObject, 0, pt, &dwEffect);
    EXPECT_EQ((DWORD)DROPEFFECT_NONE, dwEffect);

    pDataObject->Release();
    target.Revoke();
    EXPECT_EQ(1, target.m_dwRef);
    wnd.DestroyWindow();
}

} // namespace
