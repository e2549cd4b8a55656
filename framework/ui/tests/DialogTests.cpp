// Dialogs from resource templates, data exchange and validation, property
// sheets and the file dialog, driven through their real windows.
#include "UiTestSupport.h"
#include "ui_test.h"

#include <gtest/gtest.h>

#include <qmtest/files.h>

#include <functional>
#include <vector>

using uitest::Log;

namespace {

const UINT WM_STEP = WM_APP + 50;

// Runs a script of steps inside a window's modal loop, like a user would:
// each step comes from a timer, after the messages of the previous step and
// the idle time (the modal window is shown at its first idle time).
class Script {
public:
    std::vector<std::function<void()>> steps;
    size_t next = 0;
    void Start(HWND hWnd) { ::SetTimer(hWnd, kTimerId, 60, &Tick); }
    void RunNext(HWND hWnd)
    {
        if (next >= steps.size())
            return;
        std::function<void()> step = steps[next++];
        step();
        if (next < steps.size() && ::IsWindow(hWnd))
            Start(hWnd);
    }

private:
    static const UINT_PTR kTimerId = 0x5C;
    static void CALLBACK Tick(HWND hWnd, UINT, UINT_PTR idEvent, DWORD)
    {
        ::KillTimer(hWnd, idEvent);
        ::PostMessageA(hWnd, WM_STEP, 0, 0);
    }
};

void PressButton(HWND hDlg, int nID)
{
    ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, nID));
}

// --- a dialog with every kind of exchange ----------------------------------------

class CExchangeDlg : public CDialog {
public:
    CExchangeDlg() : CDialog(IDD_EXCHANGE) {}

    CString m_strName = "Alice";
    int m_nCount = 12;
    UINT m_nSize = 7;
    double m_dRatio = 0.25;
    long m_lValue = -5;
    int m_bFlag = 1;
    int m_nRadio = 2;
    int m_nCombo = 1;
    CString m_strList = "beta";
    CString m_strLimited = "abc";

    int m_nNameChanges = 0;
    int m_nWorkerCalls = 0;
    Script m_script;

    BOOL OnInitDialog() override
    {
        // Lists are filled before the data goes in.
        for (const char* s : {"red", "green", "blue"})
            SendDlgItemMessage(IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)s);
        for (const char* s : {"alpha", "beta", "gamma"})
            SendDlgItemMessage(IDC_LIST, LB_ADDSTRING, 0, (LPARAM)s);
        CDialog::OnInitDialog();
        m_script.Start(m_hWnd);
        return TRUE;
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDX_Text(pDX, IDC_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 0, 100);
        DDX_Text(pDX, IDC_UNITS, m_nSize);
        DDX_Text(pDX, IDC_RATIO, m_dRatio);
        DDX_Text(pDX, IDC_LONGVAL, m_lValue);
        DDX_Check(pDX, IDC_FLAG, m_bFlag);
        DDX_Radio(pDX, IDC_RADIO1, m_nRadio);
        DDX_CBIndex(pDX, IDC_COMBO, m_nCombo);
        DDX_LBString(pDX, IDC_LIST, m_strList);
        DDX_Text(pDX, IDC_LIMITED, m_strLimited);
        DDV_MaxChars(pDX, m_strLimited, 5);
    }

    std::string Text(int nID) { return uitest::TextOf(::GetDlgItem(m_hWnd, nID)); }

protected:
    afx_msg LRESULT OnStep(WPARAM, LPARAM)
    {
        m_script.RunNext(m_hWnd);
        return 0;
    }
    afx_msg LRESULT OnWorker(WPARAM, LPARAM)
    {
        ++m_nWorkerCalls;
        return 0;
    }
    afx_msg void OnNameChange() { ++m_nNameChanges; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CExchangeDlg, CDialog)
    ON_MESSAGE(WM_STEP, OnStep)
    ON_MESSAGE(WM_APP + 51, OnWorker)
    ON_EN_CHANGE(IDC_NAME, OnNameChange)
END_MESSAGE_MAP()

TEST(DialogTest, DataRoundTripsThroughTheControls)
{
    CExchangeDlg dlg;
    std::string seen;
    dlg.m_script.steps = {[&] {
        // The members are in the controls.
        seen = dlg.Text(IDC_NAME) + "," + dlg.Text(IDC_COUNT) + "," + dlg.Text(IDC_UNITS) + "," +
               dlg.Text(IDC_RATIO) + "," + dlg.Text(IDC_LONGVAL) + "," + dlg.Text(IDC_LIMITED);
        EXPECT_EQ(BST_CHECKED, (int)dlg.IsDlgButtonChecked(IDC_FLAG));
        EXPECT_EQ(IDC_RADIO3, dlg.GetCheckedRadioButton(IDC_RADIO1, IDC_RADIO3));
        EXPECT_EQ(1, (int)dlg.SendDlgItemMessage(IDC_COMBO, CB_GETCURSEL));
        EXPECT_EQ(1, (int)dlg.SendDlgItemMessage(IDC_LIST, LB_GETCURSEL));
        EXPECT_EQ(5, (int)dlg.SendDlgItemMessage(IDC_LIMITED, EM_GETLIMITTEXT));
        // Loading the controls is not a user change.
        EXPECT_EQ(0, dlg.m_nNameChanges);

        // The user changes everything.
        dlg.SetDlgItemText(IDC_NAME, "Bob");
        dlg.SetDlgItemText(IDC_COUNT, " 42 ");
        dlg.SetDlgItemText(IDC_UNITS, "9");
        dlg.SetDlgItemText(IDC_RATIO, "1.5");
        dlg.SetDlgItemText(IDC_LONGVAL, "-123456");
        dlg.CheckDlgButton(IDC_FLAG, BST_UNCHECKED);
        dlg.CheckRadioButton(IDC_RADIO1, IDC_RADIO3, IDC_RADIO1);
        dlg.SendDlgItemMessage(IDC_COMBO, CB_SETCURSEL, 2);
        dlg.SendDlgItemMessage(IDC_LIST, LB_SETCURSEL, 2);
        dlg.SetDlgItemText(IDC_LIMITED, "xy");
        PressButton(dlg.m_hWnd, IDOK);
    }};
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("Alice,12,7,0.25,-5,abc", seen);
    EXPECT_EQ(1, dlg.m_nNameChanges);
    EXPECT_STREQ("Bob", dlg.m_strName);
    EXPECT_EQ(42, dlg.m_nCount);
    EXPECT_EQ(9u, dlg.m_nSize);
    EXPECT_DOUBLE_EQ(1.5, dlg.m_dRatio);
    EXPECT_EQ(-123456, dlg.m_lValue);
    EXPECT_EQ(0, dlg.m_bFlag);
    EXPECT_EQ(0, dlg.m_nRadio);
    EXPECT_EQ(2, dlg.m_nCombo);
    EXPECT_STREQ("gamma", dlg.m_strList);
    EXPECT_STREQ("xy", dlg.m_strLimited);
    EXPECT_EQ(NULL, dlg.m_hWnd);
}

// A value that fails validation keeps the dialog open with the focus on the
// control, after telling the user; the corrected value closes it.
TEST(DialogTest, ValidationFailureKeepsTheDialogOpen)
{
    struct Case {
        int nID;
        const char* text;
        const char* prompt;
    };
    const Case cases[] = {
        {IDC_COUNT, "500", "Please enter an integer between 0 and 100."},
        {IDC_COUNT, "12abc", "Please enter an integer."},
        {IDC_UNITS, "-3", "Please enter a positive integer."},
        {IDC_RATIO, "one", "Please enter a number."},
        {IDC_LONGVAL, "99999999999999999999", "Please enter an integer."},
        {IDC_LIMITED, "abcdefgh", "Please enter no more than 5 characters."},
    };
    for (const Case& c : cases) {
        qmtest::MessageBoxRecorder catcher;
        CExchangeDlg dlg;
        bool bStillOpen = false;
        int nFocusID = 0;
        DWORD dwSel = 0;
        int nTextLen = -1;
        dlg.m_script.steps = {
            [&] {
                dlg.SetDlgItemText(c.nID, c.text);
                PressButton(dlg.m_hWnd, IDOK);
            },
            [&] {
                bStillOpen = ::IsWindow(dlg.m_hWnd) && (dlg.m_nFlags & WF_CONTINUEMODAL);
                // The focus is on the bad value, all of it selected.
                HWND hFocus = ::GetFocus();
                nFocusID = ::GetDlgCtrlID(hFocus);
                dwSel = (DWORD)::SendMessageA(hFocus, EM_GETSEL, 0, 0);
                nTextLen = ::GetWindowTextLengthA(hFocus);
                dlg.SetDlgItemText(IDC_COUNT, "50");
                dlg.SetDlgItemText(IDC_UNITS, "1");
                dlg.SetDlgItemText(IDC_RATIO, "2");
                dlg.SetDlgItemText(IDC_LONGVAL, "3");
                dlg.SetDlgItemText(IDC_LIMITED, "ok");
                PressButton(dlg.m_hWnd, IDOK);
            }};
        EXPECT_EQ(IDOK, dlg.DoModal()) << c.text;
        EXPECT_TRUE(bStillOpen) << c.text;
        ASSERT_EQ(1u, catcher.Texts().size()) << c.text;
        EXPECT_EQ(c.prompt, catcher.Texts()[0]);
        EXPECT_EQ(c.nID, nFocusID) << c.text;
        EXPECT_EQ(0, LOWORD(dwSel)) << c.text;
        EXPECT_EQ(nTextLen, HIWORD(dwSel)) << c.text;
        EXPECT_EQ(50, dlg.m_nCount);
    }
}

TEST(DialogTest, CancelLeavesTheMembersAndFocusMovesBetweenControls)
{
    CExchangeDlg dlg;
    int nAfterGoto = 0, nAfterNext = 0, nAfterPrev = 0;
    dlg.m_script.steps = {
        [&] {
            dlg.GotoDlgCtrl(dlg.GetDlgItem(IDC_COUNT));
            nAfterGoto = ::GetDlgCtrlID(::GetFocus());
            dlg.NextDlgCtrl();
            nAfterNext = ::GetDlgCtrlID(::GetFocus());
            dlg.PrevDlgCtrl();
            nAfterPrev = ::GetDlgCtrlID(::GetFocus());
            dlg.SetDlgItemText(IDC_NAME, "changed");
            PressButton(dlg.m_hWnd, IDCANCEL);
        }};
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_STREQ("Alice", dlg.m_strName);
    EXPECT_EQ(IDC_COUNT, nAfterGoto);
    EXPECT_EQ(IDC_UNITS, nAfterNext); // the next control in the tab order
    EXPECT_EQ(IDC_COUNT, nAfterPrev);
}

struct DialogWorkerArgs {
    HWND hDlg;
};

DWORD WINAPI DialogWorker(LPVOID p)
{
    HWND hDlg = static_cast<DialogWorkerArgs*>(p)->hDlg;
    for (int i = 0; i < 5; ++i)
        SendMessageA(hDlg, WM_APP + 51, 0, 0);
    // The worker closes the dialog too, through the UI thread.
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return 0;
}

TEST(DialogTest, ModalDialogServicesAWorkerThreadsSendMessage)
{
    CExchangeDlg dlg;
    DialogWorkerArgs args = {NULL};
    HANDLE hThread = NULL;
    dlg.m_script.steps = {[&] {
        args.hDlg = dlg.m_hWnd;
        hThread = CreateThread(NULL, 0, &DialogWorker, &args, 0, NULL);
    }};
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_TRUE(hThread != NULL);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hThread, 10000));
    CloseHandle(hThread);
    EXPECT_EQ(5, dlg.m_nWorkerCalls);
}

TEST(DialogTest, ModelessDialog)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_EXCHANGE));
    uitest::PumpFor(50);
    EXPECT_EQ("Alice", dlg.Text(IDC_NAME));
    dlg.SetDlgItemText(IDC_NAME, "Carol");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_STREQ("Carol", dlg.m_strName);
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(NULL, dlg.m_hWnd);
}

// An in-memory template: a caption and one OK button, at x, y.
std::vector<WORD> MemoryTemplate(short x = 10, short y = 10, DWORD dwExtraStyle = 0)
{
    std::vector<WORD> t;
    auto dword = [&](DWORD d) {
        t.push_back(LOWORD(d));
        t.push_back(HIWORD(d));
    };
    auto str = [&](const wchar_t* s) {
        for (; *s; ++s)
            t.push_back((WORD)*s);
        t.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | dwExtraStyle); // style
    dword(0);                                                                 // extended style
    t.push_back(1);                                                           // items
    t.push_back((WORD)x);
    t.push_back((WORD)y);
    t.push_back(120);
    t.push_back(60);
    t.push_back(0); // no menu
    t.push_back(0); // default class
    str(L"Memory");
    t.push_back(8);
    str(L"MS Shell Dlg");
    if (t.size() % 2)
        t.push_back(0); // items start on a DWORD
    dword(WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON);
    dword(0);
    t.push_back(35);
    t.push_back(35);
    t.push_back(50);
    t.push_back(14);
    t.push_back(IDOK);
    t.push_back(0xFFFF);
    t.push_back(0x0080); // button
    str(L"OK");
    t.push_back(0); // no creation data
    return t;
}

class CScriptDlg : public CDialog {
public:
    Script m_script;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_script.Start(m_hWnd);
        return TRUE;
    }

protected:
    afx_msg LRESULT OnStep(WPARAM, LPARAM)
    {
        m_script.RunNext(m_hWnd);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScriptDlg, CDialog)
    ON_MESSAGE(WM_STEP, OnStep)
END_MESSAGE_MAP()

TEST(DialogTest, ModalFromAnInMemoryTemplate)
{
    std::vector<WORD> tmpl = MemoryTemplate();
    CScriptDlg dlg;
    ASSERT_TRUE(dlg.InitModalIndirect((LPCDLGTEMPLATEA)tmpl.data()));
    std::string caption;
    dlg.m_script.steps = {[&] {
        caption = uitest::TextOf(dlg.m_hWnd);
        PressButton(dlg.m_hWnd, IDOK);
    }};
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("Memory", caption);
}

// A dialog whose template gives no place opens centred on its owner, modal
// or modeless; a template that places it keeps the dialog manager's place.
TEST(DialogTest, UnplacedDialogsOpenCentredOnTheirOwner)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, uitest::TestClass(), "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, 600, 450,
                               NULL, NULL));
    auto expectCentred = [&](HWND hDlg, const char* what) {
        RECT rcOwner, rcDlg;
        ::GetWindowRect(owner.m_hWnd, &rcOwner);
        ::GetWindowRect(hDlg, &rcDlg);
        EXPECT_NEAR((rcOwner.left + rcOwner.right) / 2, (rcDlg.left + rcDlg.right) / 2, 1) << what;
        EXPECT_NEAR((rcOwner.top + rcOwner.bottom) / 2, (rcDlg.top + rcDlg.bottom) / 2, 1) << what;
    };

    std::vector<WORD> unplaced = MemoryTemplate(0, 0);
    {
        CDialog dlg;
        ASSERT_TRUE(dlg.CreateIndirect((LPCDLGTEMPLATEA)unplaced.data(), &owner));
        expectCentred(dlg.m_hWnd, "modeless");
        dlg.DestroyWindow();
    }
    {
        CScriptDlg dlg;
        ASSERT_TRUE(dlg.InitModalIndirect((LPCDLGTEMPLATEA)unplaced.data(), &owner));
        dlg.m_script.steps = {[&] {
            expectCentred(dlg.m_hWnd, "modal");
            PressButton(dlg.m_hWnd, IDOK);
        }};
        EXPECT_EQ(IDOK, dlg.DoModal());
    }
    // Placed by its template (or by the dialog manager's own centring):
    // where the system puts it.
    for (const std::vector<WORD>& placed : {MemoryTemplate(40, 30), MemoryTemplate(0, 0, DS_CENTER)}) {
        HWND hPlain = ::CreateDialogIndirectParamA(AfxGetInstanceHandle(), (LPCDLGTEMPLATEA)placed.data(),
                                                   owner.m_hWnd, NULL, 0);
        ASSERT_NE(nullptr, hPlain);
        RECT rcPlain;
        ::GetWindowRect(hPlain, &rcPlain);
        ::DestroyWindow(hPlain);
        CDialog dlg;
        ASSERT_TRUE(dlg.CreateIndirect((LPCDLGTEMPLATEA)placed.data(), &owner));
        RECT rcDlg;
        ::GetWindowRect(dlg.m_hWnd, &rcDlg);
        EXPECT_EQ(rcPlain.left, rcDlg.left);
        EXPECT_EQ(rcPlain.top, rcDlg.top);
        dlg.DestroyWindow();
    }
    owner.DestroyWindow();
}

TEST(DialogTest, MissingTemplateFails)
{
    CDialog dlg(31999);
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_FALSE(dlg.Create(31999));
}

// --- property sheets --------------------------------------------------------------

class CTestPage : public CPropertyPage {
public:
    CTestPage(UINT nIDTemplate, int nValue, bool bValidate = false)
        : CPropertyPage(nIDTemplate), m_nValue(nValue), m_bValidate(bValidate)
    {
    }
    int m_nValue;
    bool m_bValidate;
    BOOL m_bAllowCancel = TRUE;
    int m_nInit = 0, m_nSetActive = 0, m_nKillActive = 0, m_nApply = 0, m_nOK = 0, m_nReset = 0, m_nQueryCancel = 0;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_PAGE_VALUE, m_nValue);
        if (m_bValidate)
            DDV_MinMaxInt(pDX, m_nValue, 0, 10);
    }
    BOOL OnInitDialog() override
    {
        ++m_nInit;
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override
    {
        ++m_nSetActive;
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        ++m_nKillActive;
        return CPropertyPage::OnKillActive();
    }
    BOOL OnApply() override
    {
        ++m_nApply;
        return CPropertyPage::OnApply();
    }
    void OnOK() override { ++m_nOK; }
    void OnReset() override { ++m_nReset; }
    BOOL OnQueryCancel() override
    {
        ++m_nQueryCancel;
        return m_bAllowCancel;
    }
};

class CTestSheet : public CPropertySheet {
public:
    explicit CTestSheet(LPCSTR pszCaption) : CPropertySheet(pszCaption) {}
    Script m_script;
    int m_nCreates = 0;

    BOOL OnInitDialog() override
    {
        CPropertySheet::OnInitDialog();
        m_script.Start(m_hWnd);
        return TRUE;
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpcs)
    {
        ++m_nCreates;
        return CPropertySheet::OnCreate(lpcs);
    }
    afx_msg LRESULT OnStep(WPARAM, LPARAM)
    {
        m_script.RunNext(m_hWnd);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestSheet, CPropertySheet)
    ON_WM_CREATE()
    ON_MESSAGE(WM_STEP, OnStep)
END_MESSAGE_MAP()

const int ID_APPLY_BUTTON = 0x3021;

std::string TabText(CTabCtrl* pTab, int nItem)
{
    char buf[64] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = sizeof(buf);
    pTab->GetItem(nItem, &item);
    return buf;
}

TEST(PropertySheetTest, PagesAreMadeWhenShownAndOnlyVisitedPagesApply)
{
    CTestPage page1(IDD_PAGE1, 1), page2(IDD_PAGE2, 2), page3(IDD_PAGE3, 3);
    CTestSheet sheet("Options");
    sheet.AddPage(&page1);
    sheet.AddPage(&page2);
    sheet.AddPage(&page3);
    bool bPage2Before = true, bApplyEnabledAfterChange = false, bApplyEnabledBefore = true;
    int nTabs = 0;
    std::string strTab2;
    CPropertyPage* pActiveAfterSwitch = NULL;
    sheet.m_script.steps = {
        [&] {
            bPage2Before = page2.m_hWnd != NULL;
            CTabCtrl* pTab = sheet.GetTabControl();
            nTabs = pTab->GetItemCount();
            strTab2 = TabText(pTab, 1);
            bApplyEnabledBefore = ::IsWindowEnabled(::GetDlgItem(sheet.m_hWnd, ID_APPLY_BUTTON));
            sheet.SetActivePage(1);
        },
        [&] {
            pActiveAfterSwitch = sheet.GetActivePage();
            ::SetDlgItemTextA(page2.m_hWnd, IDC_PAGE_VALUE, "7");
            page2.SetModified(TRUE);
            bApplyEnabledAfterChange = ::IsWindowEnabled(::GetDlgItem(sheet.m_hWnd, ID_APPLY_BUTTON));
            sheet.PressButton(PSBTN_OK);
        }};
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ(1, sheet.m_nCreates);
    EXPECT_FALSE(bPage2Before);
    EXPECT_EQ(3, nTabs);
    EXPECT_EQ("Extra", strTab2);
    EXPECT_EQ(&page2, pActiveAfterSwitch);
    EXPECT_FALSE(bApplyEnabledBefore);
    EXPECT_TRUE(bApplyEnabledAfterChange);
    EXPECT_EQ(1, page1.m_nInit);
    EXPECT_EQ(1, page2.m_nInit);
    EXPECT_EQ(0, page3.m_nInit);       // never shown, never made
    EXPECT_EQ(1, page1.m_nKillActive); // left for page 2
    EXPECT_EQ(1, page1.m_nApply);
    EXPECT_EQ(1, page2.m_nApply);
    EXPECT_EQ(0, page3.m_nApply);
    EXPECT_EQ(1, page2.m_nOK); // OnApply calls OnOK
    EXPECT_EQ(7, page2.m_nValue);
    EXPECT_EQ(NULL, sheet.m_hWnd);
    EXPECT_EQ(NULL, page1.m_hWnd);
    EXPECT_EQ(NULL, page2.m_hWnd);
}

TEST(PropertySheetTest, ValidationKeepsThePageAndCancelCanBeRefused)
{
    qmtest::MessageBoxRecorder catcher;
    CTestPage page1(IDD_PAGE1, 1), page2(IDD_PAGE2, 2, true), page3(IDD_PAGE3, 3);
    CTestSheet sheet("Options");
    sheet.AddPage(&page1);
    sheet.AddPage(&page2);
    sheet.AddPage(&page3);
    int nIndexAfterBadValue = -1;
    bool bOpenAfterRefusedCancel = false;
    sheet.m_script.steps = {
        [&] { sheet.SetActivePage(1); },
        [&] {
            ::SetDlgItemTextA(page2.m_hWnd, IDC_PAGE_VALUE, "99");
            sheet.SetActivePage(2);
        },
        [&] {
            nIndexAfterBadValue = sheet.GetActiveIndex();
            ::SetDlgItemTextA(page2.m_hWnd, IDC_PAGE_VALUE, "5");
            page2.m_bAllowCancel = FALSE;
            sheet.PressButton(PSBTN_CANCEL);
        },
        [&] {
            bOpenAfterRefusedCancel = sheet.GetActivePage() == &page2;
            page2.m_bAllowCancel = TRUE;
            sheet.PressButton(PSBTN_CANCEL);
        }};
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(1, nIndexAfterBadValue);
    ASSERT_EQ(1u, catcher.Texts().size());
    EXPECT_EQ("Please enter an integer between 0 and 10.", catcher.Texts()[0]);
    EXPECT_TRUE(bOpenAfterRefusedCancel);
    EXPECT_EQ(2, page2.m_nQueryCancel);
    EXPECT_EQ(0, page1.m_nApply + page2.m_nApply + page3.m_nApply);
    EXPECT_EQ(1, page1.m_nReset);
    EXPECT_EQ(1, page2.m_nReset);
    EXPECT_EQ(0, page3.m_nReset);
}

TEST(PropertySheetTest, NoApplyButtonAndStartPage)
{
    CTestPage page1(IDD_PAGE1, 1), page2(IDD_PAGE2, 2);
    CTestSheet sheet("Options");
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    sheet.AddPage(&page1);
    sheet.AddPage(&page2);
    sheet.SetActivePage(1);
    bool bApplyVisible = true;
    int nStart = -1;
    sheet.m_script.steps = {[&] {
        HWND hApply = ::GetDlgItem(sheet.m_hWnd, ID_APPLY_BUTTON);
        bApplyVisible = hApply != NULL && ::IsWindowVisible(hApply);
        nStart = sheet.GetActiveIndex();
        sheet.PressButton(PSBTN_OK);
    }};
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(bApplyVisible);
    EXPECT_EQ(1, nStart);
    EXPECT_EQ(0, page1.m_nInit);
    EXPECT_EQ(1, page2.m_nApply);
}

TEST(PropertySheetTest, ModelessSheet)
{
    CTestPage page1(IDD_PAGE1, 4);
    CTestSheet sheet("Modeless");
    sheet.AddPage(&page1);
    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(&page1, sheet.GetActivePage());
    EXPECT_EQ("Modeless", uitest::TextOf(sheet.m_hWnd));
    // A page added later appears as a tab.
    CTestPage page2(IDD_PAGE2, 5);
    sheet.AddPage(&page2);
    EXPECT_EQ(2, sheet.GetTabControl()->GetItemCount());
    sheet.PressButton(PSBTN_OK);
    EXPECT_TRUE(uitest::PumpUntil([&] { return sheet.GetActivePage() == NULL; }, 3000));
    EXPECT_EQ(1, page1.m_nApply);
    sheet.DestroyWindow();
    EXPECT_EQ(NULL, page1.m_hWnd);
}

// --- the file dialog ------------------------------------------------------------------

const int ID_FILE_NAME_EDIT = 0x47c;  // the name box of the dialog
const int ID_FILE_TYPE_COMBO = 0x470; // the file type box

class CTestFileDialog : public CFileDialog {
public:
    CTestFileDialog(LPCSTR lpszFilter)
        : CFileDialog(TRUE, NULL, NULL, OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                      lpszFilter)
    {
        SetTemplate(0, IDD_FILE_CHILD);
    }
    Script m_script;
    int m_nInitDialog = 0;
    int m_nViewAsItems = 0;
    std::vector<DWORD> m_typeChanges;
    int m_nFileOK = 0;
    CString m_strPathInFileOK;
    HWND m_hWndDialog = NULL;

    BOOL OnInitDialog() override
    {
        ++m_nInitDialog;
        for (const char* s : {"Text", "Hex Editor (Binary)", "Auto"})
            SendDlgItemMessage(IDC_VIEW_AS, CB_ADDSTRING, 0, (LPARAM)s);
        m_nViewAsItems = (int)SendDlgItemMessage(IDC_VIEW_AS, CB_GETCOUNT);
        CFileDialog::OnInitDialog();
        m_hWndDialog = ::GetParent(m_hWnd);
        // Steps run once the dialog runs its own loop.
        SetTimer(1, 100, NULL);
        return TRUE;
    }

protected:
    void OnTypeChange() override { m_typeChanges.push_back(m_ofn.nFilterIndex); }

    BOOL OnFileNameOK() override
    {
        ++m_nFileOK;
        m_strPathInFileOK = GetPathName();
        return m_nFileOK == 1; // the first name is refused
    }
    afx_msg void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        m_script.RunNext(m_hWnd);
        if (m_script.next < m_script.steps.size())
            SetTimer(1, 100, NULL);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFileDialog, CFileDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(FileDialogTest, ChildTemplateTypeChangeAndFileNameOK)
{
    qmtest::MessageBoxRecorder catcher;
    qmtest::TempDir temp("fxfiledlg");
    const char* szDir = temp.Path().c_str();
    std::string strFile = std::string(szDir) + "\\pick.txt";
    FILE* f = fopen(strFile.c_str(), "wb");
    ASSERT_TRUE(f != NULL);
    fputs("x", f);
    fclose(f);

    CTestFileDialog dlg("Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    dlg.m_ofn.lpstrInitialDir = szDir;
    bool bOpenAfterRefusal = false;
    dlg.m_script.steps = {
        [&] {
            // Another filter chosen in the dialog's type box.
            HWND hType = ::GetDlgItem(dlg.m_hWndDialog, ID_FILE_TYPE_COMBO);
            ::SendMessageA(hType, CB_SETCURSEL, 1, 0);
            // What the box tells its dialog when the user picks an entry.
            ::SendMessageA(dlg.m_hWndDialog, WM_COMMAND, MAKEWPARAM(ID_FILE_TYPE_COMBO, CBN_SELCHANGE), (LPARAM)hType);
            ::SendMessageA(dlg.m_hWndDialog, WM_COMMAND, MAKEWPARAM(ID_FILE_TYPE_COMBO, CBN_SELENDOK), (LPARAM)hType);
        },
        [&] {
            ::SetDlgItemTextA(dlg.m_hWndDialog, ID_FILE_NAME_EDIT, "pick.txt");
            PressButton(dlg.m_hWndDialog, IDOK);
        },
        [&] {
            bOpenAfterRefusal = ::IsWindow(dlg.m_hWndDialog) != FALSE;
            ::SetDlgItemTextA(dlg.m_hWndDialog, ID_FILE_NAME_EDIT, "pick.txt");
            PressButton(dlg.m_hWndDialog, IDOK);
        }};
    INT_PTR nResult = dlg.DoModal();
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(1, dlg.m_nInitDialog);
    EXPECT_EQ(3, dlg.m_nViewAsItems);
    ASSERT_FALSE(dlg.m_typeChanges.empty());
    EXPECT_EQ(2u, dlg.m_typeChanges.back());
    EXPECT_EQ(2, dlg.m_nFileOK);
    EXPECT_TRUE(bOpenAfterRefusal);
    EXPECT_EQ(0, lstrcmpiA(strFile.c_str(), dlg.m_strPathInFileOK));
    EXPECT_EQ(0, lstrcmpiA(strFile.c_str(), dlg.GetPathName()));
    EXPECT_STREQ("pick.txt", dlg.GetFileName());
    EXPECT_STREQ("txt", dlg.GetFileExt());
    EXPECT_STREQ("pick", dlg.GetFileTitle());
    EXPECT_EQ(2u, dlg.m_ofn.nFilterIndex);
    EXPECT_TRUE(catcher.Texts().empty());
    EXPECT_EQ(NULL, dlg.m_hWnd);
}

class CScriptFileDialog : public CFileDialog {
public:
    explicit CScriptFileDialog(DWORD dwFlags) : CFileDialog(TRUE, NULL, NULL, dwFlags) {}
    Script m_script;
    HWND m_hWndDialog = NULL;
    BOOL OnInitDialog() override
    {
        CFileDialog::OnInitDialog();
        m_hWndDialog = ::GetParent(m_hWnd);
        SetTimer(1, 100, NULL);
        return TRUE;
    }

protected:
    afx_msg void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        m_script.RunNext(m_hWnd);
        if (m_script.next < m_script.steps.size())
            SetTimer(1, 100, NULL);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScriptFileDialog, CFileDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(FileDialogTest, SeveralFilesChosenInTheDialog)
{
    qmtest::TempDir temp("fxmulti");
    const char* szDir = temp.Path().c_str();
    std::vector<std::string> files = {std::string(szDir) + "\\one.txt", std::string(szDir) + "\\two.txt"};
    for (const std::string& file : files) {
        FILE* f = fopen(file.c_str(), "wb");
        ASSERT_TRUE(f != NULL);
        fclose(f);
    }

    CScriptFileDialog dlg(OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    dlg.m_ofn.lpstrInitialDir = szDir;
    dlg.m_script.steps = {[&] {
        ::SetDlgItemTextA(dlg.m_hWndDialog, ID_FILE_NAME_EDIT, "\"one.txt\" \"two.txt\"");
        PressButton(dlg.m_hWndDialog, IDOK);
    }};
    ASSERT_EQ(IDOK, dlg.DoModal());
    std::vector<std::string> got;
    for (POSITION pos = dlg.GetStartPosition(); pos != NULL;)
        got.push_back(dlg.GetNextPathName(pos).GetString());
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(0, lstrcmpiA(files[0].c_str(), got[0].c_str()));
    EXPECT_EQ(0, lstrcmpiA(files[1].c_str(), got[1].c_str()));
    EXPECT_GE(dlg.m_ofn.nMaxFile, 4096u); // room for many names
}

TEST(FileDialogTest, SeveralNamesComeBackAsFullPaths)
{
    struct Case {
        const char buffer[64];
        size_t size;
        DWORD flags;
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {"C:\\dir\0a.txt\0b.txt\0", 20, OFN_ALLOWMULTISELECT, {"C:\\dir\\a.txt", "C:\\dir\\b.txt"}},
        {"C:\\\0a.txt\0", 11, OFN_ALLOWMULTISELECT, {"C:\\a.txt"}},
        {"C:\\dir\\one.txt\0", 16, OFN_ALLOWMULTISELECT, {"C:\\dir\\one.txt"}},
        {"C:\\dir\\one.txt\0", 16, 0, {"C:\\dir\\one.txt"}},
        {"", 1, OFN_ALLOWMULTISELECT, {}},
    };
    for (const Case& c : cases) {
        CFileDialog dlg(TRUE, NULL, NULL, c.flags);
        std::vector<char> buf(c.buffer, c.buffer + c.size);
        buf.push_back('\0');
        buf.push_back('\0');
        dlg.m_ofn.lpstrFile = buf.data();
        dlg.m_ofn.nMaxFile = (DWORD)buf.size();
        std::vector<std::string> got;
        for (POSITION pos = dlg.GetStartPosition(); pos != NULL;)
            got.push_back(dlg.GetNextPathName(pos).GetString());
        EXPECT_EQ(c.paths, got) << c.buffer;
    }
}

// The colour and font dialogs come back with the values they started with
// when OK is pressed at once.
BOOL CALLBACK FindThreadDialog(HWND hWnd, LPARAM lParam)
{
    char szClass[16];
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpA(szClass, "#32770") == 0 && IsWindowVisible(hWnd)) {
        *(HWND*)lParam = hWnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK PressOkOfThreadDialog(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    HWND hDlg = NULL;
    EnumThreadWindows(GetCurrentThreadId(), &FindThreadDialog, (LPARAM)&hDlg);
    if (hDlg != NULL) {
        KillTimer(NULL, idEvent);
        PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, IDOK));
    }
}

TEST(CommonDialogTest, ColourAndFontDialogs)
{
    CColorDialog colour(RGB(10, 200, 30), CC_FULLOPEN);
    UINT_PTR t = SetTimer(NULL, 0, 150, &PressOkOfThreadDialog);
    EXPECT_EQ(IDOK, colour.DoModal());
    KillTimer(NULL, t);
    EXPECT_EQ(RGB(10, 200, 30), colour.GetColor());

    // A TrueType face this system has.
    LOGFONTA lfEnum = {};
    lfEnum.lfCharSet = DEFAULT_CHARSET;
    std::string strFace;
    HDC hdc = GetDC(NULL);
    EnumFontFamiliesExA(
        hdc, &lfEnum,
        [](const LOGFONTA* plf, const TEXTMETRICA*, DWORD type, LPARAM lParam) -> int {
            if (!(type & TRUETYPE_FONTTYPE) || plf->lfFaceName[0] == '@')
                return 1;
            *reinterpret_cast<std::string*>(lParam) = plf->lfFaceName;
            return 0;
        },
        (LPARAM)&strFace, 0);
    ReleaseDC(NULL, hdc);
    ASSERT_FALSE(strFace.empty());
    LOGFONTA lf = {};
    lf.lfHeight = -16;
    lf.lfWeight = FW_BOLD;
    lstrcpynA(lf.lfFaceName, strFace.c_str(), LF_FACESIZE);
    CFontDialog font(&lf, CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT);
    t = SetTimer(NULL, 0, 150, &PressOkOfThreadDialog);
    INT_PTR nResult = font.DoModal();
    KillTimer(NULL, t);
    EXPECT_EQ(IDOK, nResult);
    EXPECT_STREQ(strFace.c_str(), font.GetFaceName());
    EXPECT_TRUE(font.IsBold());
    EXPECT_FALSE(font.IsItalic());
    EXPECT_GT(font.GetSize(), 0);
}

} // namespace

// A window's own message box goes through the same seam as AfxMessageBox,
// so code under test that asks the user never blocks a test on a real box.
TEST(DialogTest, WindowMessageBoxGoesThroughTheSeam)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "STATIC", "owner", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
    {
        qmtest::MessageBoxRecorder boxes(IDRETRY);
        EXPECT_EQ(IDRETRY, wnd.MessageBox("Write failed", "Save", MB_RETRYCANCEL | MB_ICONWARNING));
        ASSERT_EQ(1u, boxes.Texts().size());
        EXPECT_EQ("Write failed", boxes.Texts()[0]);
        EXPECT_EQ((UINT)MB_RETRYCANCEL, boxes.Types()[0] & MB_TYPEMASK);
    }
    wnd.DestroyWindow();
}
