// The command-bar layout store: compressed blocks and saved positions, then
// a customised layout (moved bars, a renamed and a removed button, a new
// button picture, a renamed menu item) that survives a restart of the bars
// in the registry and in an INI file, in the profile and in the large-block
// file; an edited context menu that comes back with the layout; damaged
// data that brings up the program's own layout; a failed save that keeps
// the previous layout.
#include <qx/barstate.h>
#include <qx/framehost.h>
#include <qx/popup.h>
#include <qx/images.h>
#include <qx/profile.h>
#include <qx/propexchange.h>

#include <fx/archive.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>

#include <qmtest/files.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "cbtest_ids.h"

namespace {

typedef std::vector<BYTE> Bytes;

using qmtest::UniqueName;

// ---------------------------------------------------------------------------
// Blocks

TEST(LayoutBlock, ShortAndIncompressibleArchivesStayAsTheyAre)
{
    Bytes shortArchive(19, 'a');
    EXPECT_EQ(shortArchive, QxpCompressLayoutBlock(shortArchive.data(), 19)) << "19 bytes get no header";

    Bytes noise(4000);
    DWORD seed = 12345;
    for (BYTE& b : noise) {
        seed = seed * 1103515245 + 12345;
        b = (BYTE)(seed >> 16);
    }
    EXPECT_EQ(noise, QxpCompressLayoutBlock(noise.data(), (UINT)noise.size()))
        << "a block that would not shrink is kept raw";

    Bytes text(5000);
    for (size_t i = 0; i < text.size(); i++)
        text[i] = (BYTE)("Toolbar button "[i % 15]);
    Bytes block = QxpCompressLayoutBlock(text.data(), (UINT)text.size());
    ASSERT_GT(block.size(), 8u);
    EXPECT_LT(block.size(), text.size());
    EXPECT_EQ(0, memcmp(block.data(), "ZIP!", 4));
    EXPECT_EQ(5000u, (UINT)block[4] | ((UINT)block[5] << 8) | ((UINT)block[6] << 16) | ((UINT)block[7] << 24));
    Bytes back;
    ASSERT_TRUE(QxpExpandLayoutBlock(block.data(), (UINT)block.size(), back));
    EXPECT_EQ(text, back);
    ASSERT_TRUE(QxpExpandLayoutBlock(shortArchive.data(), 19, back));
    EXPECT_EQ(shortArchive, back) << "a block without the header is the archive";
}

TEST(LayoutBlock, DamagedCompressedBlocksAreRefused)
{
    Bytes text(3000, 'x');
    Bytes good = QxpCompressLayoutBlock(text.data(), (UINT)text.size());
    ASSERT_EQ(0, memcmp(good.data(), "ZIP!", 4));
    struct Case {
        const char* what;
        Bytes block;
    } cases[] = {
        {"stream cut in half", Bytes(good.begin(), good.begin() + (long)good.size() / 2)},
        {"declared length too long", good},
        {"declared length too short", good},
        {"huge declared length", good},
        {"garbage stream", good},
    };
    cases[1].block[4] = 0xFF; // 3000 -> 3071
    cases[1].block[5] = 0x0B;
    cases[2].block[4] = 0x10;
    cases[2].block[5] = 0x00;
    cases[3].block[7] = 0x7F;
    for (size_t i = 8; i < cases[4].block.size(); i++)
        cases[4].block[i] ^= 0x5A;
    for (const Case& c : cases) {
        Bytes out;
        EXPECT_FALSE(QxpExpandLayoutBlock(c.block.data(), (UINT)c.block.size(), out)) << c.what;
    }
}

TEST(LayoutBlock, CompressedMemFileWritesAndReadsTheStoredForm)
{
    Bytes text(5000);
    for (size_t i = 0; i < text.size(); i++)
        text[i] = (BYTE)("Menu item "[i % 10]);
    CQXPCompressedMemFile file;
    file.Write(text.data(), (UINT)text.size());
    BYTE* pBlock = NULL;
    UINT nBlock = 0;
    file.DetachCompressed(&pBlock, &nBlock);
    ASSERT_NE(nullptr, pBlock);
    EXPECT_EQ(QxpCompressLayoutBlock(text.data(), (UINT)text.size()), Bytes(pBlock, pBlock + nBlock));
    EXPECT_EQ(0u, (UINT)file.GetLength()) << "the written archive was handed out";

    // Read back from a block the file takes over.
    CQXPCompressedMemFile reader;
    ASSERT_TRUE(reader.AttachCompressed(pBlock, nBlock, TRUE));
    Bytes back(text.size() + 10);
    EXPECT_EQ((UINT)text.size(), reader.Read(back.data(), (UINT)back.size()));
    back.resize(text.size());
    EXPECT_EQ(text, back);

    // A damaged block leaves the file empty; a short archive is read as it is.
    Bytes damaged = QxpCompressLayoutBlock(text.data(), (UINT)text.size());
    damaged.resize(damaged.size() / 2);
    EXPECT_FALSE(reader.AttachCompressed(damaged.data(), (UINT)damaged.size(), FALSE));
    EXPECT_EQ(0u, (UINT)reader.GetLength());
    Bytes shortArchive(12, 'b');
    ASSERT_TRUE(reader.AttachCompressed(shortArchive.data(), (UINT)shortArchive.size(), FALSE));
    EXPECT_EQ(12u, (UINT)reader.GetLength());

    // The large-layout file.
    qmtest::TempDir folder{"qxcbmem"};
    CQXPCompressedMemFile fromFile;
    EXPECT_FALSE(fromFile.ReadWholeFile(folder.Path("missing.bin").c_str()));
    std::string strEmpty = folder.Path("empty.bin");
    qmtest::WriteFileBytes(strEmpty, std::string());
    EXPECT_FALSE(fromFile.ReadWholeFile(strEmpty.c_str()));
    Bytes block = QxpCompressLayoutBlock(text.data(), (UINT)text.size());
    std::string strBlock = folder.Path("block.bin");
    qmtest::WriteFileBytes(strBlock, std::string(block.begin(), block.end()));
    ASSERT_TRUE(fromFile.ReadWholeFile(strBlock.c_str()));
    EXPECT_EQ((UINT)text.size(), (UINT)fromFile.GetLength());
}

// ---------------------------------------------------------------------------
// Positions

TEST(SavedPositions, PointsComeBackOnAVisibleWorkAreaWhicheverSideTheyWereOff)
{
    const RECT rcWork = {0, 0, 1024, 738};
    const SIZE szIcon = {32, 32};
    const SIZE szSame = {1024, 768};
    struct Case {
        const char* what;
        POINT pt;
        BOOL bRescale;
        SIZE szSaved;
        SIZE szCurrent;
        POINT expected;
    } cases[] = {
        {"on screen", {100, 200}, FALSE, szSame, szSame, {100, 200}},
        {"monitor on the left gone", {-1500, 100}, FALSE, szSame, szSame, {0, 100}},
        {"monitor above gone", {300, -900}, FALSE, szSame, szSame, {300, 0}},
        {"monitor on the right gone", {2500, 100}, FALSE, szSame, szSame, {1024 - 32, 100}},
        {"monitor below gone", {10, 2000}, FALSE, szSame, szSame, {10, 738 - 32}},
        {"rescaled to a larger screen", {512, 384}, TRUE, {1024, 768}, {1280, 1024}, {640, 512}},
        {"rescaled then kept on screen", {1000, 700}, TRUE, {800, 600}, {1024, 768}, {1024 - 32, 738 - 32}},
    };
    for (const Case& c : cases) {
        POINT pt = c.pt;
        QxpAdjustSavedPoint(pt, c.bRescale, c.szSaved, c.szCurrent, rcWork, szIcon);
        EXPECT_EQ(c.expected.x, pt.x) << c.what;
        EXPECT_EQ(c.expected.y, pt.y) << c.what;
    }
}

TEST(SavedPositions, DockedRectanglesMoveWithoutResizing)
{
    const RECT rcWork = {0, 0, 1024, 738};
    struct Case {
        const char* what;
        RECT rc;
        BOOL bRescale;
        RECT expected;
    } cases[] = {
        {"inside", {10, 10, 110, 40}, FALSE, {10, 10, 110, 40}},
        {"past the right edge", {2000, 10, 2100, 40}, FALSE, {1024, 10, 1124, 40}},
        {"left of the screen", {-900, 10, -800, 40}, FALSE, {0, 10, 100, 40}},
        {"above the screen", {10, -500, 110, -470}, FALSE, {10, 0, 110, 30}},
        {"rescaled", {512, 384, 612, 414}, TRUE, {640, 512, 740, 542}},
    };
    for (const Case& c : cases) {
        RECT rc = c.rc;
        QxpAdjustSavedRect(rc, c.bRescale, SIZE{1024, 768}, SIZE{1280, 1024}, rcWork);
        EXPECT_TRUE(EqualRect(&rc, &c.expected)) << c.what << ": " << rc.left << "," << rc.top << "," << rc.right
                                                 << "," << rc.bottom;
    }
    // A rectangle on no monitor at all gets a real work area.
    RECT rcFar = {-30000, -30000, -29900, -29970};
    CRect rcArea = QxpWorkAreaFor(rcFar);
    EXPECT_FALSE(rcArea.IsRectEmpty());
    RECT rcPrimary;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcPrimary, 0);
    EXPECT_TRUE(rcArea == CRect(rcPrimary) || rcArea.Width() > 0);
}

// ---------------------------------------------------------------------------
// Save, restart, load

const UINT kSecondBarIds[] = {ID_TEST_UNDO, 0, ID_TEST_ANSI, ID_TEST_UTF8};
const UINT kCustomIcon = 7001;
const char kProfile[] = "CommandBars";

class CPersistFrame : public qmtest::CommandBarTestFrame {
public:
    CPersistFrame()
        : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar,
                              {{"Toolbar", &m_pToolBar, IDR_TEST_TOOLBAR, {}},
                               {"Second", &m_pSecond, 0, {std::begin(kSecondBarIds), std::end(kSecondBarIds)}}})
    {
    }
    CQXPMenuBar* m_pMenuBar = NULL;
    CQXPToolBar* m_pToolBar = NULL;
    CQXPToolBar* m_pSecond = NULL;
};

enum Store {
    kRegistry,
    kIni
};

class LayoutStore : public ::testing::TestWithParam<Store> {
protected:
    void SetUp() override
    {
        m_key = UniqueName("QxCbPersist");
        m_app.reset(new CWinApp("QxCbPersist"));
        if (GetParam() == kRegistry)
            m_app->SetRegistryKey(m_key.c_str());
        else
            CQXProfileStore::SetIniPath(m_folder.Path("layout.ini").c_str());
        Start();
    }
    void TearDown() override
    {
        Stop();
        CQXProfileStore::SetIniPath("");
        m_app.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_key).c_str());
        GetGlobalImageManager()->RemoveIcon(kCustomIcon);
    }
    // A program start: a new frame with the program's own bars and, unless
    // this start leaves it out, its context menu (the File menu's items).
    void Start()
    {
        m_frame.reset(new CPersistFrame);
        ASSERT_TRUE(m_frame->Create(NULL, "Layout test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 450)));
        m_frame->GetCommandBars()->SetLayoutFilePath(m_folder.Path("layout.bin").c_str());
        if (m_bContextMenu)
            ASSERT_NE(nullptr, m_frame->GetCommandBars()->AddContextMenu(IDR_TEST_MENU, 0, "File"));
        m_frame->RecalcLayout();
    }
    void Stop()
    {
        if (m_frame && ::IsWindow(m_frame->GetSafeHwnd()))
            m_frame->DestroyWindow();
        m_frame.reset();
    }
    void Restart(BOOL bLoad = TRUE)
    {
        Stop();
        Start();
        if (bLoad) {
            m_frame->GetCommandBars()->LoadBarState(kProfile, TRUE);
            m_frame->RecalcLayout();
        }
    }
    CQXPCommandBars* Bars() const { return m_frame->GetCommandBars(); }
    std::vector<int> Ids(CQXPCommandBar* pBar) const { return Ids(pBar->GetControls()); }
    std::vector<int> Ids(CQXPControls* pControls) const
    {
        std::vector<int> ids;
        for (int i = 0; i < pControls->GetCount(); i++)
            if (!pControls->GetAt(i)->IsTemporary())
                ids.push_back(pControls->GetAt(i)->GetID());
        return ids;
    }
    // Moves the second toolbar into the first one's row and customises the
    // first toolbar and the File menu.
    void Customise(int nExtraButtons = 0)
    {
        CQXPToolBar* pToolBar = m_frame->m_pToolBar;
        CQXPControls* pControls = pToolBar->GetControls();
        pControls->FindControl(ID_TEST_SAVE)->SetCaption("Store");
        pControls->Remove(pControls->FindControl(ID_TEST_EXIT));
        // A new picture for Open.
        HICON hIcon = ::LoadIconA(NULL, MAKEINTRESOURCEA(32516)); // IDI_INFORMATION
        ASSERT_TRUE(GetGlobalImageManager()->SetIcon(hIcon, kCustomIcon, 16, 16));
        pControls->FindControl(ID_TEST_OPEN)->m_nCustomIconId = (int)kCustomIcon;
        // Many new items in the Edit menu make the block too large for the
        // profile.
        CQXPControls* pEdit = m_frame->m_pMenuBar->GetControl(1)->GetCommandBar()->GetControls();
        DWORD seed = 2166136261u;
        for (int i = 0; i < nExtraButtons; i++) {
            CQXPControl* pControl = pEdit->Add(qxpControlButton, 40000 + i);
            CString str;
            for (int k = 0; k < 6; k++) {
                seed = seed * 1664525u + 1013904223u;
                CString part;
                part.Format("%08X", (unsigned)seed);
                str += part;
            }
            pControl->SetCaption(str);
        }
        // The File menu's first item is renamed.
        CQXPCommandBar* pFile = m_frame->m_pMenuBar->GetControl(0)->GetCommandBar();
        pFile->GetControl(0)->SetCaption("&Load...");
        // The second bar moves beside the first.
        CRect rcFirst;
        m_frame->RecalcLayout();
        ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcFirst);
        CRect rcDrop(rcFirst.right + 40, rcFirst.top, rcFirst.right + 140, rcFirst.bottom);
        Bars()->GetDockBar(qxpBarTop)->DockCommandBar(m_frame->m_pSecond, &rcDrop);
        m_frame->RecalcLayout();
    }
    void ExpectCustomised()
    {
        CQXPToolBar* pToolBar = m_frame->m_pToolBar;
        std::vector<int> ids = Ids(pToolBar);
        ASSERT_GE(ids.size(), 2u);
        EXPECT_EQ(ID_TEST_OPEN, ids[0]);
        EXPECT_EQ(ID_TEST_SAVE, ids[1]);
        EXPECT_EQ(nullptr, pToolBar->GetControls()->FindControl(ID_TEST_EXIT)) << "the removed button stays away";
        EXPECT_EQ(std::string("Store"),
                  std::string(pToolBar->GetControls()->FindControl(ID_TEST_SAVE)->GetCaption()));
        CQXPControl* pOpen = pToolBar->GetControls()->FindControl(ID_TEST_OPEN);
        EXPECT_EQ((int)kCustomIcon, pOpen->m_nCustomIconId);
        EXPECT_NE(nullptr, GetGlobalImageManager()->GetImage(kCustomIcon, 16)) << "the picture was stored too";
        EXPECT_TRUE(pToolBar->GetControls()->IsChanged()) << "the program's own buttons stay the reference";
        CQXPCommandBar* pFile = m_frame->m_pMenuBar->GetControl(0)->GetCommandBar();
        ASSERT_NE(nullptr, pFile);
        EXPECT_EQ(std::string("&Load..."), std::string(pFile->GetControl(0)->GetCaption()));
        // The restored menu opens.
        EXPECT_TRUE(m_frame->m_pMenuBar->SetPopuped(0));
        EXPECT_TRUE(::IsWindowVisible(pFile->GetSafeHwnd()));
        m_frame->m_pMenuBar->SetPopuped(-1);
        CRect rcFirst, rcSecond;
        ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcFirst);
        ::GetWindowRect(m_frame->m_pSecond->GetSafeHwnd(), &rcSecond);
        EXPECT_EQ(rcFirst.top, rcSecond.top) << "the second bar is back in the first one's row";
        EXPECT_GE(rcSecond.left, rcFirst.right);
    }
    void ExpectProgramLayout()
    {
        EXPECT_EQ((std::vector<int>{ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT}), Ids(m_frame->m_pToolBar));
        EXPECT_FALSE(m_frame->m_pToolBar->GetControls()->IsChanged());
        EXPECT_FALSE(m_frame->m_pMenuBar->GetControls()->IsChanged());
        CQXPCommandBar* pFile = m_frame->m_pMenuBar->GetControl(0)->GetCommandBar();
        ASSERT_NE(nullptr, pFile);
        EXPECT_EQ(std::string("&Open..."), std::string(pFile->GetControl(0)->GetCaption()));
        EXPECT_EQ(3, m_frame->m_pSecond->GetControls()->GetVisibleCount(FALSE) -
                         (m_frame->m_pSecond->GetExpandButton() ? 1 : 0));
    }

    BOOL m_bContextMenu = TRUE;
    std::string m_key;
    qmtest::TempDir m_folder{"qxcb"};
    std::unique_ptr<CWinApp> m_app;
    std::unique_ptr<CPersistFrame> m_frame;
    CQXProfileStore m_store;
};

TEST_P(LayoutStore, TheCustomisedBarsGoThroughTheListStepsAndComeBackAlike)
{
    Customise();
    CommandBarsExchangeParam param;
    param.pCommandBars = Bars();
    CommandBarList list;
    Bars()->GenerateCommandBarList(&list, &param);
    auto describe = [](CommandBarList& l) {
        std::vector<std::string> out;
        for (int i = 0; i < l.GetCount(); i++)
            out.push_back(std::string(l.GetAt(i)->GetRuntimeClass()->m_lpszClassName) + " " +
                          std::to_string(l.GetAt(i)->GetBarID()));
        return out;
    };
    std::vector<std::string> saved = describe(list);
    auto has = [&](CQXPCommandBar* pBar) {
        for (int i = 0; i < list.GetCount(); i++)
            if (list.GetAt(i) == pBar)
                return true;
        return false;
    };
    EXPECT_TRUE(has(m_frame->m_pToolBar)) << "customised";
    EXPECT_TRUE(has(m_frame->m_pMenuBar)) << "a menu item was renamed";
    EXPECT_FALSE(has(m_frame->m_pSecond)) << "only moved: its place is no content";
    EXPECT_TRUE(has(m_frame->m_pMenuBar->GetControl(0)->GetCommandBar())) << "the File menu comes along";
    for (int i = 0; i < list.GetCount(); i++)
        if (list.GetAt(i)->IsPopupBar())
            EXPECT_GE(list.GetAt(i)->GetBarID(), 0x1000000u) << "popups get ids of their own";

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        PropExchangeSectionPtr px(new CQXPPropExchangeArchive(ar));
        px->m_dwData = (DWORD_PTR)&param;
        px->SchemaProp();
        ASSERT_TRUE(Bars()->SaveCommandBarList(px, &list));
        px.Release();
        ar.Close();
    }
    const UINT nLength = (UINT)file.GetLength();
    auto load = [&](UINT nBytes, CommandBarList& loaded) {
        file.SeekToBegin();
        Bytes bytes(nBytes);
        file.Read(bytes.data(), nBytes);
        CMemFile in(bytes.data(), nBytes);
        CArchive ar(&in, CArchive::load);
        PropExchangeSectionPtr px(new CQXPPropExchangeArchive(ar));
        px->m_dwData = (DWORD_PTR)&param;
        px->SchemaProp();
        return Bars()->LoadCommandBarList(px, &loaded);
    };
    CommandBarList loaded;
    ASSERT_TRUE(load(nLength, loaded));
    EXPECT_EQ(saved, describe(loaded));
    CommandBarList cut;
    EXPECT_FALSE(load(nLength / 2, cut)) << "a cut archive is damaged";
}

TEST_P(LayoutStore, APictureChangedAloneSurvivesARestart)
{
    // Nothing but Open's picture changes: the toolbar counts as customised.
    HICON hIcon = ::LoadIconA(NULL, MAKEINTRESOURCEA(32516)); // IDI_INFORMATION
    ASSERT_TRUE(GetGlobalImageManager()->SetIcon(hIcon, kCustomIcon, 16, 16));
    m_frame->m_pToolBar->GetControls()->FindControl(ID_TEST_OPEN)->m_nCustomIconId = (int)kCustomIcon;
    EXPECT_TRUE(m_frame->m_pToolBar->GetControls()->IsChanged());
    Bars()->SaveBarState(kProfile);
    GetGlobalImageManager()->RemoveIcon(kCustomIcon);

    Restart();
    CQXPControl* pOpen = m_frame->m_pToolBar->GetControls()->FindControl(ID_TEST_OPEN);
    ASSERT_NE(nullptr, pOpen);
    EXPECT_EQ((int)kCustomIcon, pOpen->m_nCustomIconId);
    EXPECT_NE(nullptr, GetGlobalImageManager()->GetImage(kCustomIcon, 16)) << "the picture was stored too";
}

TEST_P(LayoutStore, CustomisedLayoutSurvivesARestartInTheProfile)
{
    Customise();
    Bars()->SaveBarState(kProfile);
    if (GetParam() == kRegistry) {
        EXPECT_EQ(0, m_store.GetProfileInt("CommandBars-Controls", "LoadFromFile", -1));
        BYTE* pData = NULL;
        UINT nBytes = 0;
        ASSERT_TRUE(m_store.GetProfileBinary("CommandBars-Controls", "Controls", &pData, &nBytes));
        ASSERT_GE(nBytes, 12u);
        EXPECT_EQ(0, memcmp(pData, "ZIP!", 4)) << "the contents are stored compressed";
        delete[] pData;
    } else {
        // The INI line holds the block like the registry value does.
        EXPECT_EQ(0, m_store.GetProfileInt("CommandBars-Controls", "LoadFromFile", -1));
    }
    EXPECT_EQ(3, m_store.GetProfileInt("CommandBars-Summary", "Bars", 0));

    // Without loading, the program's own layout comes up...
    GetGlobalImageManager()->RemoveIcon(kCustomIcon);
    Restart(FALSE);
    ExpectProgramLayout();
    // ...and the saved one with loading.
    Restart();
    ExpectCustomised();
}

TEST_P(LayoutStore, LargeLayoutGoesToItsFileAndSurvivesARestart)
{
    Customise(600);
    Bars()->SaveBarState(kProfile);
    EXPECT_EQ(1, m_store.GetProfileInt("CommandBars-Controls", "LoadFromFile", 0));
    std::string strFile = m_folder.Path("layout.bin");
    EXPECT_STREQ(strFile.c_str(), m_store.GetProfileString("CommandBars-Controls", "Controls", ""));
    DWORD dwAttr = GetFileAttributesA(strFile.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, dwAttr);
    EXPECT_TRUE(dwAttr & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((strFile + ".new").c_str())) << "no temporary left";

    GetGlobalImageManager()->RemoveIcon(kCustomIcon);
    Restart();
    ExpectCustomised();
    EXPECT_NE(nullptr, m_frame->m_pMenuBar->GetControls()->FindControl(0, 40599, FALSE, TRUE));

    // Saving again over the hidden file works.
    Bars()->SaveBarState(kProfile);
    Restart();
    ExpectCustomised();
}

TEST_P(LayoutStore, FailedSaveKeepsThePreviousLayout)
{
    Customise(600);
    Bars()->SaveBarState(kProfile);
    std::string strFile = m_folder.Path("layout.bin");
    WIN32_FILE_ATTRIBUTE_DATA before = {};
    ASSERT_TRUE(GetFileAttributesExA(strFile.c_str(), GetFileExInfoStandard, &before));

    // The next save cannot write its file: nothing of the saved layout
    // changes, the old file stays.
    Restart();
    m_frame->m_pToolBar->GetControls()->FindControl(ID_TEST_SAVE)->SetCaption("Changed");
    Bars()->SetLayoutFilePath(m_folder.Path("missing-folder\\layout.bin").c_str());
    Bars()->SaveBarState(kProfile);
    EXPECT_STREQ(strFile.c_str(), m_store.GetProfileString("CommandBars-Controls", "Controls", ""));
    WIN32_FILE_ATTRIBUTE_DATA after = {};
    ASSERT_TRUE(GetFileAttributesExA(strFile.c_str(), GetFileExInfoStandard, &after));
    EXPECT_EQ(before.nFileSizeLow, after.nFileSizeLow);

    Restart();
    ExpectCustomised();
}

TEST_P(LayoutStore, DamagedLayoutDataGivesTheProgramLayout)
{
    Customise();
    Bars()->SaveBarState(kProfile);
    // The saved block, wherever the store put it.
    BOOL bInFile = m_store.GetProfileInt("CommandBars-Controls", "LoadFromFile", 0) == 1;
    std::string strFile = m_folder.Path("layout.bin");
    Bytes good;
    if (bInFile) {
        HANDLE h = CreateFileA(strFile.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        good.resize(GetFileSize(h, NULL));
        DWORD nRead = 0;
        ReadFile(h, good.data(), (DWORD)good.size(), &nRead, NULL);
        CloseHandle(h);
    } else {
        BYTE* pData = NULL;
        UINT nBytes = 0;
        ASSERT_TRUE(m_store.GetProfileBinary("CommandBars-Controls", "Controls", &pData, &nBytes));
        good.assign(pData, pData + nBytes);
        delete[] pData;
    }
    auto writeBlock = [&](const Bytes& block) {
        if (!bInFile)
            return m_store.WriteProfileBinary("CommandBars-Controls", "Controls", block.data(), (UINT)block.size());
        SetFileAttributesA(strFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        HANDLE h = CreateFileA(strFile.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        if (h == INVALID_HANDLE_VALUE)
            return FALSE;
        DWORD nWritten = 0;
        WriteFile(h, block.data(), (DWORD)block.size(), &nWritten, NULL);
        CloseHandle(h);
        return TRUE;
    };
    Bytes archive;
    ASSERT_TRUE(QxpExpandLayoutBlock(good.data(), (UINT)good.size(), archive));

    struct Case {
        const char* what;
        Bytes block;
    } cases[] = {
        {"random bytes", Bytes(300, 0xA7)},
        {"cut compressed block", Bytes(good.begin(), good.begin() + (long)good.size() / 2)},
        {"archive cut short", Bytes(archive.begin(), archive.begin() + (long)archive.size() / 3)},
        {"archive with a bad class name", archive},
        {"huge declared length", good},
    };
    // Overwrite the first class name ("CQXP...") with an unknown one.
    for (size_t i = 0; i + 4 < cases[3].block.size(); i++) {
        if (memcmp(&cases[3].block[i], "CQXP", 4) == 0) {
            cases[3].block[i] = 'Z';
            break;
        }
    }
    cases[4].block[7] = 0x40;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(writeBlock(c.block));
        GetGlobalImageManager()->RemoveIcon(kCustomIcon);
        Restart();
        ExpectProgramLayout();
    }

    // Damaged placement values: absurd counts, unknown and repeated bars.
    m_store.WriteProfileInt("CommandBars-Summary", "Bars", 0x7FFFFFFF);
    m_store.WriteProfileInt("CommandBars-DockBar0", "Bars", 5);
    m_store.WriteProfileInt("CommandBars-DockBar0", "Bar#0", 4242);
    m_store.WriteProfileInt("CommandBars-DockBar0", "Bar#1", (int)m_frame->m_pToolBar->GetBarID());
    m_store.WriteProfileInt("CommandBars-DockBar0", "Bar#2", (int)m_frame->m_pToolBar->GetBarID());
    m_store.WriteProfileInt("CommandBars-DockBar0", "Bar#3", 0);
    m_store.WriteProfileInt("CommandBars-DockBar0", "Bar#4", -5);
    m_store.WriteProfileInt("CommandBars-Bar0", "MRUWidth", -77);
    Restart();
    ExpectProgramLayout();
    for (CQXPToolBar* pBar : {(CQXPToolBar*)m_frame->m_pMenuBar, m_frame->m_pToolBar, m_frame->m_pSecond}) {
        EXPECT_TRUE(::IsWindowVisible(pBar->GetSafeHwnd()));
        EXPECT_NE(nullptr, pBar->GetDockBar());
    }
}

TEST_P(LayoutStore, FloatingBarFromAMonitorThatIsGoneComesBackOnScreen)
{
    // Saved while floating far left of the primary screen (a second
    // monitor that is no longer there).
    ASSERT_TRUE(m_frame->m_pSecond->SetFloating(CPoint(-2500, 300)));
    Bars()->SaveBarState(kProfile);
    EXPECT_EQ(1, m_store.GetProfileInt("CommandBars-Bar2", "Floating", 0));
    Restart();
    CQXPToolBar* pSecond = m_frame->m_pSecond;
    ASSERT_TRUE(pSecond->IsFloating());
    CRect rc;
    ::GetWindowRect(pSecond->GetSafeHwnd(), &rc);
    CRect rcWork = QxpWorkAreaFor(rc);
    EXPECT_GE(rc.left, rcWork.left);
    EXPECT_LT(rc.left, rcWork.right);
    HMONITOR hMonitor = MonitorFromRect(&rc, MONITOR_DEFAULTTONULL);
    EXPECT_NE((HMONITOR)NULL, hMonitor) << "the bar is on a monitor";
    EXPECT_EQ(300, rc.top);
}

TEST_P(LayoutStore, HiddenBarAndBarOnAnotherSideComeBackSo)
{
    m_frame->m_pSecond->SetVisible(FALSE);
    ASSERT_TRUE(m_frame->m_pToolBar->DockTo(qxpBarLeft));
    Bars()->SaveBarState(kProfile);
    EXPECT_EQ(0, m_store.GetProfileInt("CommandBars-Bar2", "Visible", 1));
    Restart();
    EXPECT_FALSE(m_frame->m_pSecond->IsVisible());
    EXPECT_FALSE(::IsWindowVisible(m_frame->m_pSecond->GetSafeHwnd()));
    EXPECT_EQ(Bars()->GetDockBar(qxpBarLeft), m_frame->m_pToolBar->GetDockBar());
    EXPECT_EQ(qxpBarLeft, m_frame->m_pToolBar->GetPosition());
    CRect rc;
    ::GetWindowRect(m_frame->m_pToolBar->GetSafeHwnd(), &rc);
    EXPECT_GT(rc.Height(), rc.Width()) << "a column on the left";
    EXPECT_TRUE(::IsWindowVisible(m_frame->m_pToolBar->GetSafeHwnd()));
}

// A saved placement that counts more bars than a frame can hold is damaged:
// none of it is used (reading that many records would only slow the start),
// and the bars stay where the program put them. A count within reason is
// still read.
TEST_P(LayoutStore, AbsurdBarCountsAreRefusedAsDamage)
{
    struct Case {
        const char* what;
        int nBars;         // written over the summary's count (0: as saved)
        int nRowEntries;   // written over the left side's rows (0: as saved)
        bool secondHidden; // the bars' own records were used
        int toolbarSide;   // the rows were used: the toolbar is on the left
    } cases[] = {
        {"as saved", 0, 0, true, qxpBarLeft},
        {"ten thousand bars", 10000, 0, false, qxpBarTop},
        {"past the last bar a frame can hold", 257, 0, false, qxpBarTop},
        {"a negative count", -1, 0, false, qxpBarTop},
        {"ten thousand row entries", 0, 10000, true, qxpBarTop},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_frame->m_pSecond->SetVisible(FALSE);
        ASSERT_TRUE(m_frame->m_pToolBar->DockTo(qxpBarLeft));
        Bars()->SaveBarState(kProfile);
        if (c.nBars != 0)
            m_store.WriteProfileInt("CommandBars-Summary", "Bars", c.nBars);
        if (c.nRowEntries != 0)
            m_store.WriteProfileInt("CommandBars-DockBar2", "Bars", c.nRowEntries);
        Restart();
        EXPECT_EQ(!c.secondHidden, m_frame->m_pSecond->IsVisible() != FALSE);
        EXPECT_EQ(c.toolbarSide, m_frame->m_pToolBar->GetPosition());
        for (CQXPToolBar* pBar : {(CQXPToolBar*)m_frame->m_pMenuBar, m_frame->m_pToolBar})
            EXPECT_TRUE(::IsWindowVisible(pBar->GetSafeHwnd()));
        // The next case starts from the program's layout.
        Stop();
        Start();
    }
}

TEST_P(LayoutStore, OptionsSurviveARestart)
{
    Bars()->GetOptions()->m_szLargeIcons = CSize(24, 24);
    Bars()->SetLargeIcons(TRUE);
    Bars()->GetOptions()->m_bToolBarAccelTips = TRUE;
    Bars()->SetCommandUsed(ID_TEST_UNDO);
    Bars()->SaveOptions(kProfile);
    Restart(FALSE);
    EXPECT_FALSE(Bars()->IsLargeIcons());
    Bars()->GetOptions()->m_szLargeIcons = CSize(24, 24);
    Bars()->LoadOptions(kProfile);
    EXPECT_TRUE(Bars()->IsLargeIcons());
    EXPECT_TRUE(Bars()->GetOptions()->m_bToolBarAccelTips);
    EXPECT_TRUE(Bars()->IsCommandUsed(ID_TEST_UNDO));
    EXPECT_EQ(CSize(24, 24), m_frame->m_pToolBar->GetIconSize());
}

// The context menu as the user edited it comes back with the layout, with
// the program's items kept to reset it to; one left as the program made it
// is not stored; one the program no longer registers still comes back.
TEST_P(LayoutStore, AnEditedContextMenuSurvivesARestart)
{
    CQXPPopupBar* pMenu = Bars()->FindContextMenu(IDR_TEST_MENU);
    ASSERT_NE(nullptr, pMenu);
    EXPECT_TRUE(pMenu->m_bContextMenu);
    EXPECT_EQ((std::vector<int>{ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT}), Ids(pMenu));
    EXPECT_EQ(std::string("File"), std::string(pMenu->GetTitle()));
    // Unchanged, it is not stored: a program without it finds none.
    Bars()->SaveBarState(kProfile);
    m_bContextMenu = FALSE;
    Restart();
    EXPECT_EQ(0, Bars()->GetContextMenuCount());
    m_bContextMenu = TRUE;
    Restart();
    pMenu = Bars()->FindContextMenu(IDR_TEST_MENU);
    ASSERT_NE(nullptr, pMenu);
    EXPECT_FALSE(pMenu->GetControls()->IsChanged());

    CQXPControls* pControls = pMenu->GetControls();
    pControls->Remove(pControls->FindControl(ID_TEST_SAVE));
    pControls->FindControl(ID_TEST_OPEN)->SetCaption("&Load...");
    pControls->Add(qxpControlButton, ID_TEST_UNDO);
    Bars()->SaveBarState(kProfile);

    Restart();
    ASSERT_EQ(1, Bars()->GetContextMenuCount());
    pMenu = Bars()->FindContextMenu(IDR_TEST_MENU);
    ASSERT_NE(nullptr, pMenu);
    EXPECT_EQ((std::vector<int>{ID_TEST_OPEN, ID_TEST_EXIT, ID_TEST_UNDO}), Ids(pMenu));
    EXPECT_EQ(std::string("&Load..."), std::string(pMenu->GetControls()->FindControl(ID_TEST_OPEN)->GetCaption()));
    ASSERT_NE(nullptr, pMenu->GetControls()->GetOriginalControls());
    EXPECT_EQ((std::vector<int>{ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT}),
              Ids(pMenu->GetControls()->GetOriginalControls()));
    // It opens as the user left it.
    EXPECT_TRUE(pMenu->PopupAt(20, 20, NULL));
    EXPECT_TRUE(::IsWindowVisible(pMenu->GetSafeHwnd()));
    EXPECT_EQ(3, pMenu->GetControls()->GetVisibleCount());
    Bars()->ClosePopups();

    // A program that no longer registers it still finds it.
    m_bContextMenu = FALSE;
    Restart();
    pMenu = Bars()->FindContextMenu(IDR_TEST_MENU);
    ASSERT_NE(nullptr, pMenu);
    EXPECT_TRUE(pMenu->m_bContextMenu);
    EXPECT_EQ((std::vector<int>{ID_TEST_OPEN, ID_TEST_EXIT, ID_TEST_UNDO}), Ids(pMenu));
}

INSTANTIATE_TEST_SUITE_P(Stores, LayoutStore, ::testing::Values(kRegistry, kIni),
                         [](const ::testing::TestParamInfo<Store>& info) {
                             return info.param == kRegistry ? std::string("Registry") : std::string("IniFile");
                         });

} // namespace
