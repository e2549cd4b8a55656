// A window hosted on a toolbar as a custom control (enabled, shown, copied,
// found again after a layout load, hot under the mouse), and the toolkit's
// resource manager (whole long strings, misses, the module chain, menus,
// images, dialogs, HTML and message boxes).
#include <qx/commandbars.h>
#include <qx/custom.h>
#include <qx/resourcemgr.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <qmtest/barsite.h>
#include <qmtest/files.h>
#include <qmtest/messageboxes.h>
#include <qmtest/pump.h>
#include <qmtest/registry.h>

namespace {

// Resource ids of customres.rc.
const UINT IDS_LONG = 41000;     // 3000 characters
const UINT IDS_SHORT = 41001;    // "Short text"
const UINT IDS_EMPTY = 41002;    // block exists, entry does not
const UINT IDS_MESSAGE = 41200;  // "Message box text"
const UINT IDS_NO_BLOCK = 52000; // no block at all
const UINT IDR_MENU = 41100;
const UINT ID_OPEN = 41101;
const UINT IDB_STRIP = 41110;
const UINT IDI_FIND = 41120;
const UINT IDD_TEST = 41130;
const UINT IDR_PAGE = 41140;
const UINT IDR_TOOLBAR = 41150;

const UINT kToolbarIds[] = {101, 102, 0, 103};
const int kEditId = 4242;

std::string S(const CString& str)
{
    return std::string(str.GetString(), (size_t)str.GetLength());
}

std::string LongText()
{
    std::string s;
    char buf[8];
    for (int i = 0; i < 600; i++) {
        snprintf(buf, sizeof(buf), "%04d|", i);
        s += buf;
    }
    return s;
}

CRect WindowRectIn(HWND hWnd, HWND hWndParent)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(NULL, hWndParent, (LPPOINT)&rc, 2);
    return rc;
}

// ---------------------------------------------------------------------------
// A frame with one toolbar of three buttons and an edit field that the
// custom control hosts.

class CHostFrame : public qmtest::CBarSiteWnd {
public:
    CQXPCommandBars* m_pCommandBars = NULL;
    BOOL CreateFrame()
    {
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, IDC_ARROW));
        return CreateEx(0, lpszClass, "Custom control test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                        0, 0, 640, 400, NULL, NULL);
    }
    void PostNcDestroy() override {}

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostFrame, CWnd)
END_MESSAGE_MAP()

class CustomControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.CreateFrame());
        pBars = CQXPCommandBars::CreateCommandBars(&frame);
        ASSERT_NE(nullptr, pBars);
        frame.m_pCommandBars = pBars;
        pToolBar = pBars->Add("Find", qxpBarTop);
        ASSERT_NE(nullptr, pToolBar);
        ASSERT_TRUE(pToolBar->SetButtons(kToolbarIds, 4));
        hEdit = ::CreateWindowExA(0, "EDIT", "find", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 120, 20,
                                  frame.GetSafeHwnd(), (HMENU)(INT_PTR)kEditId, NULL, NULL);
        ASSERT_NE((HWND)NULL, hEdit);
        pCustom = CQXPControlCustom::CreateControlCustom(hEdit);
        pToolBar->GetControls()->AddControl(pCustom, 35100);
        Layout();
    }
    void TearDown() override
    {
        frame.m_pCommandBars = NULL;
        if (pBars)
            pBars->InternalRelease();
        if (::IsWindow(hEdit))
            ::DestroyWindow(hEdit);
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        qmtest::PumpMessages();
    }
    void Layout()
    {
        pBars->RecalcFrameLayout();
        qmtest::PumpMessages();
    }
    // The custom control of the toolbar (after loads and copies it is a
    // new object).
    CQXPControlCustom* FindCustom() const
    {
        for (int i = 0; i < pToolBar->GetControlCount(); i++)
            if (CQXPControlCustom* p = dynamic_cast<CQXPControlCustom*>(pToolBar->GetControl(i)))
                return p;
        return NULL;
    }
    bool EditOnToolBar() const { return ::GetParent(hEdit) == pToolBar->GetSafeHwnd(); }

    CHostFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPToolBar* pToolBar = NULL;
    CQXPControlCustom* pCustom = NULL;
    HWND hEdit = NULL;
};

TEST_F(CustomControlTest, HostsTheWindowInItsRectangle)
{
    // A custom control is a button that cannot be moved while customizing.
    EXPECT_EQ(qxpControlButton, pCustom->GetType());
    EXPECT_EQ((DWORD)qxpFlagNoMovable, pCustom->GetFlags());
    EXPECT_EQ(kEditId, pCustom->GetControlId());
    EXPECT_EQ(CSize(120, 20), pCustom->GetControlSize());

    ASSERT_TRUE(EditOnToolBar());
    EXPECT_TRUE(::IsWindowVisible(hEdit));
    EXPECT_EQ(pCustom->GetRect(), WindowRectIn(hEdit, pToolBar->GetSafeHwnd()));
    EXPECT_EQ(CSize(120, 20), pCustom->GetSize(NULL));

    // Borders widen the control and keep the window inside them.
    pCustom->SetBorders(CRect(2, 3, 4, 5));
    EXPECT_EQ(CSize(126, 28), pCustom->GetSize(NULL));
    Layout();
    CRect rc = pCustom->GetRect();
    EXPECT_EQ(CSize(126, 28), rc.Size());
    EXPECT_EQ(CRect(rc.left + 2, rc.top + 3, rc.right - 4, rc.bottom - 5),
              WindowRectIn(hEdit, pToolBar->GetSafeHwnd()));
}

TEST_F(CustomControlTest, EnabledAndShownWithTheControl)
{
    pCustom->SetEnabled(FALSE);
    EXPECT_FALSE(::IsWindowEnabled(hEdit));
    pCustom->SetEnabled(TRUE);
    EXPECT_TRUE(::IsWindowEnabled(hEdit));

    struct {
        const char* name;
        DWORD dwHideFlags;
        bool bVisible;
    } steps[] = {
        {"hidden", qxpHideGeneric, false},
        {"shown again", 0, true},
        {"hidden by the user", qxpHideCustomize, false},
        {"shown again after customizing", 0, true},
    };
    for (const auto& s : steps) {
        pCustom->SetHideFlags(s.dwHideFlags);
        EXPECT_EQ(s.bVisible, ::IsWindowVisible(hEdit) != FALSE) << s.name;
    }
    pCustom->SetVisible(FALSE);
    Layout();
    EXPECT_FALSE(::IsWindowVisible(hEdit));
    pCustom->SetVisible(TRUE);
    Layout();
    EXPECT_TRUE(::IsWindowVisible(hEdit));
    EXPECT_TRUE(EditOnToolBar());
}

TEST_F(CustomControlTest, CopiesKeepTheWindow)
{
    CQXPControl* pClone = pCustom->Clone();
    CQXPControlCustom* pCloned = dynamic_cast<CQXPControlCustom*>(pClone);
    ASSERT_NE(nullptr, pCloned);
    EXPECT_EQ(hEdit, pCloned->GetControlWnd());
    EXPECT_EQ(kEditId, pCloned->GetControlId());
    EXPECT_EQ(pCustom->GetControlSize(), pCloned->GetControlSize());
    pClone->InternalRelease();
    EXPECT_TRUE(::IsWindow(hEdit)) << "a copy never destroys the window";

    // Changing the type puts a new object in place: it takes the window and
    // shows it again where the old one was.
    int nIndex = pCustom->GetIndex();
    CQXPControl* pNew = pToolBar->GetControls()->ChangeControlType(pCustom, qxpControlCustom);
    pCustom = NULL;
    ASSERT_NE(nullptr, pNew);
    EXPECT_EQ(nIndex, pNew->GetIndex());
    EXPECT_EQ(hEdit, static_cast<CQXPControlCustom*>(pNew)->GetControlWnd());
    EXPECT_EQ(qxpControlButton, pNew->GetType());
    Layout();
    EXPECT_TRUE(EditOnToolBar());
    EXPECT_TRUE(::IsWindowVisible(hEdit));
    EXPECT_EQ(pNew->GetRect(), WindowRectIn(hEdit, pToolBar->GetSafeHwnd()));
}

TEST_F(CustomControlTest, OriginalControlsNeverTouchTheWindow)
{
    pToolBar->GetControls()->CreateOriginalControls();
    CQXPOriginalControls* pOriginal = pToolBar->GetControls()->GetOriginalControls();
    ASSERT_NE(nullptr, pOriginal);
    CQXPControlCustom* pCopy = NULL;
    for (int i = 0; i < pOriginal->GetCount(); i++)
        if ((pCopy = dynamic_cast<CQXPControlCustom*>(pOriginal->GetAt(i))) != NULL)
            break;
    ASSERT_NE(nullptr, pCopy);
    EXPECT_EQ(hEdit, pCopy->GetControlWnd());

    CRect rcBefore = WindowRectIn(hEdit, pToolBar->GetSafeHwnd());
    pCopy->SetRect(CRect(300, 0, 310, 10));
    pCopy->SetHideFlags(qxpHideGeneric);
    pCopy->SetEnabled(FALSE);
    EXPECT_EQ(rcBefore, WindowRectIn(hEdit, pToolBar->GetSafeHwnd()));
    EXPECT_TRUE(::IsWindowVisible(hEdit));
    EXPECT_TRUE(::IsWindowEnabled(hEdit));

    // Dropping the record leaves the window where it is.
    pToolBar->GetControls()->SetOriginalControls(NULL);
    EXPECT_TRUE(EditOnToolBar());
    EXPECT_TRUE(::IsWindowVisible(hEdit));
}

TEST_F(CustomControlTest, RemovedControlGivesTheWindowBackHidden)
{
    pCustom->InternalAddRef();
    pToolBar->GetControls()->Remove(pCustom);
    ASSERT_TRUE(::IsWindow(hEdit));
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetParent(hEdit));
    EXPECT_FALSE(::IsWindowVisible(hEdit));

    // Put back on the bar, the control shows its window again.
    pToolBar->GetControls()->InsertAt(pCustom, 1);
    Layout();
    EXPECT_TRUE(EditOnToolBar());
    EXPECT_TRUE(::IsWindowVisible(hEdit));
    EXPECT_EQ(pCustom->GetRect(), WindowRectIn(hEdit, pToolBar->GetSafeHwnd()));

    // The toolbar can go without taking the window with it.
    pBars->Remove(pToolBar);
    pToolBar = NULL;
    EXPECT_TRUE(::IsWindow(hEdit));
}

TEST_F(CustomControlTest, DestroyedWindowIsForgotten)
{
    ::DestroyWindow(hEdit);
    hEdit = NULL;
    EXPECT_EQ((HWND)NULL, pCustom->GetControlWnd());
    // Without its window the control is measured as a button.
    CClientDC dc(pToolBar);
    CSize sz = pCustom->GetSize(&dc);
    EXPECT_GT(sz.cx, 0);
    EXPECT_GT(sz.cy, 0);
    Layout();
}

TEST_F(CustomControlTest, MouseOverTheWindowMakesTheControlHot)
{
    CQXPControl* pButton = pToolBar->GetControl(0);
    CPoint pt = pButton->GetRect().CenterPoint();
    ::SendMessageA(pToolBar->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ASSERT_EQ(pButton->GetIndex(), pToolBar->GetSelectedIndex());

    // The move reaches the edit field, not the bar: the bar still follows.
    ::SendMessageA(hEdit, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(pCustom->GetIndex(), pToolBar->GetSelectedIndex());
    EXPECT_NE(0, pCustom->GetSelected());
    EXPECT_EQ(0, pButton->GetSelected());
}

TEST_F(CustomControlTest, VerticalOptions)
{
    struct {
        int nOptions;
        bool bControlVisible; // in the vertical layout
        bool bWindowVisible;
    } cases[] = {
        {qxpVerticalHide, false, false},
        {qxpVerticalShow, true, true},
        {qxpVerticalButton, true, false},
    };
    CClientDC dc(pToolBar);
    CSize szButton;
    for (const auto& c : cases) {
        pCustom->SetVerticalOptions(c.nOptions);
        pToolBar->GetControls()->CalcDynamicSize(&dc, 400, qxpLayoutVertDock | qxpLayoutCommit, CRect(0, 0, 0, 0));
        EXPECT_EQ(c.bControlVisible, pCustom->IsVisible(0) != FALSE) << c.nOptions;
        EXPECT_EQ(c.bWindowVisible, ::IsWindowVisible(hEdit) != FALSE) << c.nOptions;
        if (c.nOptions == qxpVerticalButton) {
            // Only the window goes: a plain button takes its place.
            EXPECT_NE(CSize(120, 20), pCustom->GetSize(&dc));
            EXPECT_EQ(pToolBar->GetControl(0)->GetSize(&dc).cy, pCustom->GetSize(&dc).cy);
        }
        // Back to a horizontal layout: everything returns.
        pToolBar->GetControls()->CalcDynamicSize(&dc, 600, qxpLayoutHorzDock | qxpLayoutCommit, CRect(0, 0, 0, 0));
        EXPECT_TRUE(pCustom->IsVisible(0)) << c.nOptions;
        EXPECT_TRUE(::IsWindowVisible(hEdit)) << c.nOptions;
        EXPECT_EQ(CSize(120, 20), pCustom->GetSize(&dc)) << c.nOptions;
    }
}

TEST_F(CustomControlTest, LayoutLoadFindsTheWindowByItsId)
{
    qmtest::RegistryApp app("QmCustom");
    pCustom->SetBorders(CRect(1, 2, 1, 2));
    pCustom->SetVerticalOptions(qxpVerticalButton);
    pBars->SaveBarState("CustomTest");

    // The program starts again with the plain toolbar; its edit field is a
    // child of the frame, hidden.
    pToolBar->GetControls()->Remove(pCustom);
    pCustom = NULL;
    Layout();
    ASSERT_EQ(nullptr, FindCustom());
    ASSERT_EQ(frame.GetSafeHwnd(), ::GetParent(hEdit));

    pBars->LoadBarState("CustomTest", TRUE);
    Layout();
    CQXPControlCustom* pLoaded = FindCustom();
    ASSERT_NE(nullptr, pLoaded);
    EXPECT_EQ(hEdit, pLoaded->GetControlWnd());
    EXPECT_EQ(kEditId, pLoaded->GetControlId());
    EXPECT_EQ(CRect(1, 2, 1, 2), pLoaded->GetBorders());
    EXPECT_EQ(qxpVerticalButton, pLoaded->GetVerticalOptions());
    EXPECT_EQ(qxpControlButton, pLoaded->GetType());
    EXPECT_TRUE(EditOnToolBar());
    EXPECT_TRUE(::IsWindowVisible(hEdit));
    EXPECT_EQ(CSize(122, 24), pLoaded->GetRect().Size());

    // A window that is not there any more leaves the control empty.
    pToolBar->GetControls()->Remove(pLoaded);
    ::DestroyWindow(hEdit);
    hEdit = NULL;
    pBars->LoadBarState("CustomTest", TRUE);
    Layout();
    pLoaded = FindCustom();
    ASSERT_NE(nullptr, pLoaded);
    EXPECT_EQ((HWND)NULL, pLoaded->GetControlWnd());
}

TEST_F(CustomControlTest, ResourceManagerLoadsToolbars)
{
    CQXPToolBar* pBar = pBars->Add("Loaded", qxpBarTop);
    ASSERT_NE(nullptr, pBar);
    ASSERT_TRUE(ToolkitResourceManager::Instance()->LoadToolBar(pBar, IDR_TOOLBAR));
    ASSERT_EQ(3, pBar->GetControlCount());
    EXPECT_EQ(102, pBar->GetControl(1)->GetID());
    EXPECT_TRUE(pBar->GetControl(1)->GetBeginGroup());
    EXPECT_FALSE(ToolkitResourceManager::Instance()->LoadToolBar(pBar, 59999));
    EXPECT_FALSE(ToolkitResourceManager::Instance()->LoadToolBar(NULL, IDR_TOOLBAR));
}

TEST(CustomControlFind, WindowByIdOnTheFrameThenOnTheBars)
{
    CHostFrame frame;
    ASSERT_TRUE(frame.CreateFrame());
    CQXPCommandBars* pBars = CQXPCommandBars::CreateCommandBars(&frame);
    ASSERT_NE(nullptr, pBars);
    CQXPToolBar* pBar = pBars->Add("Bar", qxpBarTop);
    ASSERT_NE(nullptr, pBar);
    HWND hOnFrame = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 10, 10, frame.GetSafeHwnd(), (HMENU)(INT_PTR)501,
                                      NULL, NULL);
    HWND hOnBar = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 10, 10, pBar->GetSafeHwnd(), (HMENU)(INT_PTR)502,
                                    NULL, NULL);
    EXPECT_EQ(hOnFrame, CQXPControlCustom::FindWindowById(pBars, 501));
    EXPECT_EQ(hOnBar, CQXPControlCustom::FindWindowById(pBars, 502));
    EXPECT_EQ((HWND)NULL, CQXPControlCustom::FindWindowById(pBars, 503));
    EXPECT_EQ((HWND)NULL, CQXPControlCustom::FindWindowById(pBars, 0));
    EXPECT_EQ((HWND)NULL, CQXPControlCustom::FindWindowById(NULL, 501));
    pBars->InternalRelease();
    ::DestroyWindow(hOnFrame);
    frame.DestroyWindow();
    qmtest::PumpMessages();
}

// ---------------------------------------------------------------------------
// The resource manager

ToolkitResourceManager* Mgr()
{
    return ToolkitResourceManager::Instance();
}

TEST(ResourceManager, OneObjectForTheProcessInEnglish)
{
    EXPECT_EQ(Mgr(), ToolkitResourceManager::Instance());
    EXPECT_EQ(1033, Mgr()->GetResourcesLangID());
    EXPECT_EQ(0u, Mgr()->GetCodePage());
    EXPECT_EQ((UINT)ANSI_CHARSET, Mgr()->GetCharset());
    EXPECT_STREQ("windows-1252", Mgr()->GetLanguage()->lpszEncoding);
}

TEST(ResourceManager, StringsComeBackWholeAndMissesAreEmpty)
{
    const std::string strLong = LongText();
    ASSERT_EQ(3000u, strLong.size());
    struct {
        UINT nID;
        std::string text;
        bool bFound;
    } cases[] = {
        {IDS_LONG, strLong, true},
        {IDS_SHORT, "Short text", true},
        {IDS_EMPTY, "", false},
        {IDS_NO_BLOCK, "", false},
        {0x10000 + IDS_SHORT, "", false}, // not a 16-bit id: no wrap-around
    };
    for (const auto& c : cases) {
        CString str = "garbage";
        EXPECT_EQ(c.bFound, Mgr()->LoadString(&str, c.nID) != FALSE) << c.nID;
        EXPECT_EQ(c.text, S(str)) << c.nID;

        BOOL bNotFound = -1;
        EXPECT_EQ(c.text, S(Mgr()->LoadString(c.nID, &bNotFound))) << c.nID;
        EXPECT_EQ(!c.bFound, bNotFound != FALSE) << c.nID;

        str = "garbage";
        int nBytes = Mgr()->LoadStringFromModule(::GetModuleHandleA(NULL), c.nID, &str);
        EXPECT_EQ((int)c.text.size(), nBytes) << c.nID;
        EXPECT_EQ(c.text, S(str)) << c.nID;
    }
    EXPECT_EQ(0, Mgr()->LoadStringFromModule(NULL, IDS_SHORT, NULL));
}

// A copy of this program whose string table says something else: the
// separate resource module of the chain.
class ResourceChainTest : public ::testing::Test {
protected:
    static std::vector<BYTE> Block(const std::vector<std::pair<int, std::wstring>>& entries)
    {
        std::vector<WORD> words;
        for (int i = 0; i < 16; i++) {
            std::wstring text;
            for (const auto& e : entries)
                if (e.first == i)
                    text = e.second;
            words.push_back((WORD)text.size());
            words.insert(words.end(), text.begin(), text.end());
        }
        const BYTE* p = (const BYTE*)words.data();
        return std::vector<BYTE>(p, p + words.size() * sizeof(WORD));
    }
    static BOOL CALLBACK FirstLanguage(HMODULE, LPCSTR, LPCSTR, WORD wLang, LONG_PTR lParam)
    {
        *(WORD*)lParam = wLang;
        return FALSE;
    }
    void SetUp() override
    {
        char szExe[MAX_PATH];
        ::GetModuleFileNameA(NULL, szExe, MAX_PATH);
        strCopy = dir.Path("resources.dll");
        ASSERT_TRUE(::CopyFileA(szExe, strCopy.c_str(), FALSE));
        WORD wLang = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
        ::EnumResourceLanguagesA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(6),
                                 MAKEINTRESOURCEA((IDS_SHORT >> 4) + 1), FirstLanguage, (LONG_PTR)&wLang);
        HANDLE hUpdate = ::BeginUpdateResourceA(strCopy.c_str(), FALSE);
        ASSERT_NE((HANDLE)NULL, hUpdate);
        // IDS_SHORT is said otherwise; 45000 exists only here; IDS_LONG's
        // entry is left out.
        std::vector<BYTE> block = Block({{(int)(IDS_SHORT & 15), L"From the resource module"}});
        ASSERT_TRUE(::UpdateResourceA(hUpdate, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA((IDS_SHORT >> 4) + 1), wLang,
                                      block.data(), (DWORD)block.size()));
        std::vector<BYTE> own = Block({{45000 & 15, L"Only in the resource module"}});
        ASSERT_TRUE(::UpdateResourceA(hUpdate, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA((45000 >> 4) + 1), wLang,
                                      own.data(), (DWORD)own.size()));
        ASSERT_TRUE(::EndUpdateResourceA(hUpdate, FALSE));
        hModule = ::LoadLibraryExA(strCopy.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE((HMODULE)NULL, hModule);
    }
    void TearDown() override
    {
        // The manager frees a module it was given; the test frees the rest.
        if (hModule && Mgr()->GetResourceModule() == hModule)
            Mgr()->SetResourceModule(NULL);
        else if (hModule)
            ::FreeLibrary(hModule);
    }

    qmtest::TempDir dir{"qxres"};
    std::string strCopy;
    HMODULE hModule = NULL;
};

TEST_F(ResourceChainTest, ResourceModuleFirstThenTheProgram)
{
    Mgr()->SetResourceModule(hModule);
    EXPECT_EQ(hModule, Mgr()->GetResourceModule());
    struct {
        UINT nID;
        const char* text;
    } withModule[] = {
        {IDS_SHORT, "From the resource module"},
        {45000, "Only in the resource module"},
        {IDS_MESSAGE, "Message box text"}, // unchanged in the copy
        {IDS_LONG, NULL},                  // the module's block lacks it: the program's
    };
    for (const auto& c : withModule) {
        CString str;
        EXPECT_TRUE(Mgr()->LoadString(&str, c.nID)) << c.nID;
        EXPECT_EQ(c.text ? std::string(c.text) : LongText(), S(str)) << c.nID;
    }
    // One module only: no chain.
    CString str;
    EXPECT_EQ(0, Mgr()->LoadStringFromModule(hModule, IDS_LONG, &str));
    EXPECT_EQ(24, Mgr()->LoadStringFromModule(hModule, IDS_SHORT, &str));

    // Freeing the module returns to the program's own strings.
    Mgr()->FreeResourceModule();
    hModule = NULL;
    EXPECT_EQ((HMODULE)NULL, Mgr()->GetResourceModule());
    EXPECT_EQ("Short text", S(Mgr()->LoadString(IDS_SHORT)));
    BOOL bNotFound = FALSE;
    EXPECT_EQ("", S(Mgr()->LoadString(45000, &bNotFound)));
    EXPECT_TRUE(bNotFound);
}

TEST_F(ResourceChainTest, ApplicationResourceHandleFallsBackToTheProgram)
{
    // The application points its resources at a module that lacks the
    // string: the program's own still answers.
    HINSTANCE hOld = AfxGetResourceHandle();
    AfxSetResourceHandle(hModule);
    EXPECT_EQ("From the resource module", S(Mgr()->LoadString(IDS_SHORT)));
    EXPECT_EQ(LongText(), S(Mgr()->LoadString(IDS_LONG)));
    AfxSetResourceHandle(hOld);
    EXPECT_EQ("Short text", S(Mgr()->LoadString(IDS_SHORT)));
}

TEST(ResourceManager, MenusAndMenuTexts)
{
    CMenu menu;
    ASSERT_TRUE(Mgr()->LoadMenu(&menu, IDR_MENU));
    EXPECT_FALSE(Mgr()->LoadMenu(&menu, IDR_MENU)) << "an occupied menu object is left alone";
    CMenu missing;
    EXPECT_FALSE(Mgr()->LoadMenu(&missing, 59999));
    EXPECT_EQ((HMENU)NULL, missing.m_hMenu);

    CString str;
    EXPECT_EQ(5, Mgr()->GetMenuString(&menu, 0, str, MF_BYPOSITION));
    EXPECT_EQ("&File", S(str));
    CMenu popup;
    popup.m_hMenu = ::GetSubMenu(menu.m_hMenu, 0);
    EXPECT_EQ(12, Mgr()->GetMenuString(&popup, ID_OPEN, str, MF_BYCOMMAND));
    EXPECT_EQ("&Open\tCtrl+O", S(str));
    str = "garbage";
    EXPECT_EQ(0, Mgr()->GetMenuString(&popup, 1, str, MF_BYPOSITION)) << "separator";
    EXPECT_EQ("", S(str));
    EXPECT_EQ("E&xit", S(ToolkitResourceManager::GetMenuString(popup.m_hMenu, 2)));
    popup.m_hMenu = NULL;
    str = "garbage";
    EXPECT_EQ(0, Mgr()->GetMenuString(NULL, 0, str, MF_BYPOSITION));
    EXPECT_EQ("", S(str));

    // Long texts come back whole, and in the program's UTF-8 code page so
    // do characters of any language.
    HMENU hMenu = ::CreatePopupMenu();
    std::wstring wide(2000, L'x');
    wide += L" Caf\u00e9 \u4e2d";
    ::AppendMenuW(hMenu, MF_STRING, 7, wide.c_str());
    CMenu own;
    own.m_hMenu = hMenu;
    const std::string expected = std::string(2000, 'x') + " Caf\xC3\xA9 \xE4\xB8\xAD";
    int nLength = Mgr()->GetMenuString(&own, 0, str, MF_BYPOSITION);
    EXPECT_EQ((int)expected.size(), nLength);
    EXPECT_EQ(expected, S(str));
    own.m_hMenu = NULL;
    ::DestroyMenu(hMenu);
}

TEST(ResourceManager, ImagesDialogsAndPages)
{
    CBitmap bitmap;
    ASSERT_TRUE(Mgr()->LoadBitmap(&bitmap, IDB_STRIP));
    BITMAP bm = {};
    ASSERT_NE(0, bitmap.GetObject(sizeof(bm), &bm));
    EXPECT_GT(bm.bmWidth, 0);
    CBitmap none;
    EXPECT_FALSE(Mgr()->LoadBitmap(&none, 59999));

    struct {
        int cx;
        int expected;
    } sizes[] = {{16, 16}, {32, 32}};
    for (const auto& s : sizes) {
        for (HICON hIcon : {Mgr()->LoadIcon(IDI_FIND, s.cx, s.cx),
                            Mgr()->LoadIconFromModule(::GetModuleHandleA(NULL), IDI_FIND, s.cx, s.cx)}) {
            ASSERT_NE((HICON)NULL, hIcon) << s.cx;
            ICONINFO info = {};
            ASSERT_TRUE(::GetIconInfo(hIcon, &info));
            BITMAP bmIcon = {};
            ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bmIcon), &bmIcon);
            EXPECT_EQ(s.expected, bmIcon.bmWidth) << s.cx;
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
            ::DeleteObject(info.hbmMask);
            ::DestroyIcon(hIcon);
        }
    }
    HICON hOwnSize = Mgr()->LoadIcon(IDI_FIND);
    EXPECT_NE((HICON)NULL, hOwnSize);
    ::DestroyIcon(hOwnSize);
    EXPECT_EQ((HICON)NULL, Mgr()->LoadIcon(59999, 16, 16));
    EXPECT_EQ((HICON)NULL, Mgr()->LoadIconFromModule(::GetModuleHandleA(NULL), 59999, 16, 16));
    EXPECT_EQ((HICON)NULL, Mgr()->LoadIconFromModule(NULL, IDI_FIND, 16, 16));
    EXPECT_EQ((HCURSOR)NULL, Mgr()->LoadCursor(59999));

    LPCDLGTEMPLATEA pTemplate = Mgr()->LoadDialogTemplate(IDD_TEST);
    ASSERT_NE(nullptr, pTemplate);
    EXPECT_TRUE(pTemplate->style & WS_CAPTION);
    EXPECT_EQ(1, pTemplate->cdit);
    EXPECT_EQ(120, pTemplate->cx);
    EXPECT_EQ(nullptr, Mgr()->LoadDialogTemplate(59999));

    CString strPage = "garbage";
    ASSERT_TRUE(Mgr()->LoadHTML(&strPage, IDR_PAGE));
    EXPECT_EQ("<html><b>page</b></html>", S(strPage));
    EXPECT_FALSE(Mgr()->LoadHTML(&strPage, 59999));
    EXPECT_EQ("", S(strPage));
}

TEST(ResourceManager, MessageBoxShowsTheString)
{
    qmtest::MessageBoxRecorder boxes(IDNO);
    int nResult = Mgr()->ShowMessageBox(IDS_MESSAGE, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(IDNO, nResult);
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ("Message box text", boxes.Texts()[0]);
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), boxes.Types()[0]);
    EXPECT_EQ(0u, boxes.HelpIds()[0]);
}

TEST(ResourceManager, WideStringUsesTheCodePage)
{
    EXPECT_EQ(std::wstring(L"find"), std::wstring(WideString("find")));
    EXPECT_EQ(std::wstring(L""), std::wstring(WideString("")));
    EXPECT_EQ(std::wstring(L""), std::wstring(WideString(NULL)));
    std::string strLong = LongText();
    WideString wide(strLong.c_str());
    EXPECT_EQ(3000, wide.GetLength());
    EXPECT_EQ(std::wstring(L"Caf\u00e9 \U0001F600"), std::wstring(WideString("Caf\xC3\xA9 \xF0\x9F\x98\x80")));
}

} // namespace
