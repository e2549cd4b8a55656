// Controls, actions and control collections without windows: resolved
// values, setters, prompt strings, keyboard stepping, change detection and
// the conversion of real menus.
#include <qx/commandbars.h>
#include <qx/custom.h>
#include <qx/listcontrols.h>
#include <qx/popup.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cbtest_ids.h"

namespace {

std::string S(const CString& s)
{
    return std::string((LPCSTR)s);
}

// A collection that releases itself at the end of a test.
struct Coll {
    CQXPControls* p = new CQXPControls;
    ~Coll() { p->InternalRelease(); }
    CQXPControls* operator->() { return p; }
};

TEST(ControlResolve, CaptionTooltipDescriptionFallBackToTheAction)
{
    CQXPControlActions actions;
    CQXPControlAction* pAction = actions.Add(900);
    pAction->SetCaption("Action caption\tCtrl+A");
    pAction->SetTooltip("Action tip");
    pAction->SetDescription("Action text");
    pAction->SetShortcutText("Ctrl+A");

    CQXPControlButton* pControl = new CQXPControlButton;
    pControl->SetCaption("Own");
    pControl->SetAction(pAction);
    // Linking empties the own texts so the action's show through.
    EXPECT_EQ("Action caption", S(pControl->GetCaption()));
    EXPECT_EQ("Action tip", S(pControl->GetTooltip()));
    EXPECT_EQ("Action text", S(pControl->GetDescription()));
    EXPECT_EQ("Ctrl+A", S(pControl->GetShortcutText()));
    EXPECT_EQ(900, pControl->GetID());
    EXPECT_EQ(-1, pControl->m_bEnabled);

    pControl->SetCustomCaption("Custom");
    EXPECT_EQ("Custom", S(pControl->GetCaption()));
    pControl->SetCustomCaption("");

    // An action without caption offers its tooltip.
    pAction->SetCaption("");
    EXPECT_EQ("Action tip", S(pControl->GetCaption()));

    pAction->SetEnabled(FALSE);
    pAction->SetChecked(1);
    EXPECT_EQ(0, pControl->GetEnabled());
    EXPECT_EQ(1, pControl->GetChecked());
    pAction->SetVisible(FALSE);
    EXPECT_FALSE(pControl->IsVisible());

    // Unlinking leaves it enabled, unchecked, with an empty caption.
    pControl->SetAction(NULL);
    EXPECT_EQ(1, pControl->GetEnabled());
    EXPECT_EQ(0, pControl->GetChecked());
    EXPECT_EQ("", S(pControl->GetCaption()));
    EXPECT_TRUE(pControl->IsVisible());
    EXPECT_EQ(0, pAction->GetCount());
    pControl->InternalRelease();
}

TEST(ControlResolve, EnabledAndCheckedMinusOneWithoutAction)
{
    CQXPControlButton* pControl = new CQXPControlButton;
    pControl->m_bEnabled = -1;
    pControl->m_bChecked = -1;
    // -1 reads as -1: non-zero, so the control counts as enabled.
    EXPECT_EQ(-1, pControl->GetEnabled());
    EXPECT_EQ(-1, pControl->GetChecked());
    pControl->InternalRelease();
}

struct IconCase {
    int nCustomIcon, nIcon, nActionIcon, nActionId, nId;
    bool bAction;
    int nExpected;
};

TEST(ControlResolve, IconIdTable)
{
    const IconCase cases[] = {
        {7, 5, 3, 2, 1, true, 7},    // the user's icon wins
        {0, 5, 3, 2, 1, true, 5},    // own icon id above 0
        {0, 0, 3, 2, 1, true, 3},    // the action's icon id
        {0, -1, 0, 2, 1, true, 2},   // else the action's id
        {0, 0, 0, 0, 11, false, 11}, // no action: the command id
        {0, 0, 0, 0, 0, false, 0},   // nothing: no image
    };
    for (const IconCase& c : cases) {
        CQXPControlActions actions;
        CQXPControlButton* pControl = new CQXPControlButton;
        pControl->m_nId = c.nId;
        if (c.bAction) {
            CQXPControlAction* pAction = actions.Add(c.nActionId ? c.nActionId : 1);
            pAction->SetIconId(c.nActionIcon);
            pControl->SetAction(pAction);
        }
        pControl->m_nCustomIconId = c.nCustomIcon;
        pControl->m_nIconId = c.nIcon;
        EXPECT_EQ(c.nExpected, pControl->GetIconId()) << c.nCustomIcon << "/" << c.nIcon << "/" << c.nActionIcon;
        pControl->InternalRelease();
    }
}

TEST(ControlResolve, StyleTable)
{
    struct Case {
        int nCustom, nStyle, nLayout;
        int nExpected;
    } cases[] = {
        {3, 2, 1, 3},
        {-1, 2, 1, 2},
        {-1, 0, 1, 1},
        {-1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        CQXPControlButton* pControl = new CQXPControlButton;
        pControl->m_buttonCustomStyle = c.nCustom;
        pControl->m_buttonStyle = c.nStyle;
        pControl->m_buttonRibbonStyle = c.nLayout;
        EXPECT_EQ(c.nExpected, pControl->GetStyle());
        pControl->InternalRelease();
    }
}

TEST(ControlSetters, CaptionSplitsAtTheFirstTab)
{
    CQXPControlButton* pControl = new CQXPControlButton;
    pControl->SetCaption("Open\tCtrl+O");
    EXPECT_EQ("Open", S(pControl->m_strCaption));
    EXPECT_EQ("Ctrl+O", S(pControl->m_strShortcutTextAuto));
    pControl->SetCaption("Close");
    EXPECT_EQ("Close", S(pControl->m_strCaption));
    EXPECT_EQ("Ctrl+O", S(pControl->m_strShortcutTextAuto)) << "no tab leaves the automatic shortcut";
    EXPECT_EQ("Ctrl+O", S(pControl->GetShortcutText()));
    pControl->SetShortcutText("F2");
    EXPECT_EQ("F2", S(pControl->GetShortcutText()));
    pControl->InternalRelease();
}

TEST(ControlSetters, PromptStrings)
{
    struct Case {
        const char* pszPrompt;
        const char* pszCaptionBefore;
        const char* pszTooltip;
        const char* pszDescription;
        const char* pszCaption;
        const char* pszKeyTip;
    } cases[] = {
        {"Opens a file\nOpen", "", "Open", "Opens a file", "Open", ""},
        {"Opens a file\nOpen", "Mine", "Open", "Opens a file", "Mine", ""},
        {"Saves\nSave\nSa&ve It\nS", "", "Save", "Saves", "Sa&ve It", "S"},
        {"Just one line", "", "Just one line", "Just one line", "Just one line", ""},
    };
    for (const Case& c : cases) {
        CQXPControlButton* pControl = new CQXPControlButton;
        pControl->m_strCaption = c.pszCaptionBefore;
        pControl->SetPrompt(c.pszPrompt);
        EXPECT_EQ(c.pszTooltip, S(pControl->GetTooltip())) << c.pszPrompt;
        EXPECT_EQ(c.pszDescription, S(pControl->GetDescription())) << c.pszPrompt;
        EXPECT_EQ(c.pszCaption, S(pControl->m_strCaption)) << c.pszPrompt;
        EXPECT_EQ(c.pszKeyTip, S(pControl->m_strKeyboardTip)) << c.pszPrompt;
        pControl->InternalRelease();
    }
}

TEST(ControlSetters, SetIdAppliesTheStringResourceOnlyOnChange)
{
    CQXPControlButton* pControl = new CQXPControlButton;
    pControl->SetID(ID_TEST_OPEN);
    EXPECT_EQ("Open", S(pControl->GetTooltip()));
    EXPECT_EQ("Opens an existing document", S(pControl->GetDescription()));
    EXPECT_EQ("Open", S(pControl->m_strCaption));
    pControl->m_strTooltipText = "changed";
    pControl->SetID(ID_TEST_OPEN);
    EXPECT_EQ("changed", S(pControl->GetTooltip())) << "the same id does nothing";
    pControl->InternalRelease();
}

TEST(ControlSetters, HideFlagsAndVisibility)
{
    CQXPControlButton* pControl = new CQXPControlButton;
    EXPECT_TRUE(pControl->SetHideFlag(qxpHideWrap, TRUE));
    EXPECT_FALSE(pControl->SetHideFlag(qxpHideWrap, TRUE));
    EXPECT_FALSE(pControl->IsVisible());
    EXPECT_TRUE(pControl->IsVisible(qxpHideWrap));
    pControl->SetVisible(FALSE);
    EXPECT_EQ((DWORD)(qxpHideWrap | qxpHideGeneric), pControl->GetHideFlags());
    pControl->m_dwHideFlags |= qxpHideExpand;
    pControl->SetRarelyUsed(TRUE);
    pControl->SetRarelyUsed(FALSE);
    EXPECT_EQ(0u, pControl->GetHideFlags() & qxpHideExpand);
    pControl->InternalRelease();
}

TEST(Actions, SortedByIdAndBoundsChecked)
{
    CQXPControlActions actions;
    for (int id : {30, 10, 20, 20})
        actions.Add(id);
    ASSERT_EQ(3, actions.GetCount());
    EXPECT_EQ(10, actions.GetAt(0)->GetID());
    EXPECT_EQ(20, actions.GetAt(1)->GetID());
    EXPECT_EQ(30, actions.GetAt(2)->GetID());
    EXPECT_EQ(actions.GetAt(1), actions.FindAction(20));
    EXPECT_EQ(nullptr, actions.FindAction(15));
    EXPECT_EQ(nullptr, actions.FindAction(0));
    EXPECT_EQ(nullptr, actions.FindAction(0x0FFFFFFF));
    // The prompt string of the id comes with a new action.
    CQXPControlAction* pSave = actions.Add(ID_TEST_SAVE);
    EXPECT_EQ("Save", S(pSave->GetTooltip()));
    EXPECT_EQ("S", S(pSave->GetKeyboardTip()));
}

TEST(Actions, LinkingTwiceKeepsOneEntryAndRemoveAllUnlinks)
{
    CQXPControlActions actions;
    CQXPControlAction* pAction = actions.Add(5);
    CQXPControlButton* pControl = new CQXPControlButton;
    pAction->AddControl(pControl);
    pAction->AddControl(pControl);
    EXPECT_EQ(1, pAction->GetCount());
    pControl->SetAction(pAction);
    EXPECT_EQ(1, pAction->GetCount());
    actions.RemoveAll();
    EXPECT_EQ(nullptr, pControl->GetAction());
    EXPECT_EQ(1, pControl->GetEnabled());
    pControl->InternalRelease();
}

// ---------------------------------------------------------------------------
// Collections

TEST(Controls, IndexesLinksAndRemoval)
{
    Coll c;
    CQXPControl* a = c->Add(qxpControlButton, 1);
    CQXPControl* b = c->Add(qxpControlButton, 2);
    CQXPControl* d = c->Add(qxpControlButton, 3, CString(), 1); // inserted between
    ASSERT_EQ(3, c->GetCount());
    EXPECT_EQ(a, c->GetAt(0));
    EXPECT_EQ(d, c->GetAt(1));
    EXPECT_EQ(b, c->GetAt(2));
    EXPECT_EQ(2, b->GetIndex());
    EXPECT_EQ(c.p, b->GetControls());
    EXPECT_EQ(nullptr, c->Add(12, 1)) << "unknown type";
    EXPECT_EQ(nullptr, c->Add(0, 1));
    EXPECT_EQ(nullptr, c->GetAt(-1));
    EXPECT_EQ(nullptr, c->GetAt(3));

    Coll other;
    CQXPControl* foreign = other->Add(qxpControlButton, 9);
    c->Remove(foreign); // not ours: nothing
    EXPECT_EQ(1, other->GetCount());

    d->InternalAddRef();
    c->Remove(d);
    EXPECT_EQ(2, c->GetCount());
    EXPECT_EQ(1, b->GetIndex());
    EXPECT_EQ(nullptr, d->GetControls());
    d->InternalRelease();
}

TEST(Controls, FindControlRecursesIntoPopups)
{
    Coll c;
    c->Add(qxpControlButton, 1);
    CQXPControl* pPopup = c->Add(qxpControlPopup, 0);
    ASSERT_NE(nullptr, pPopup->GetCommandBar());
    CQXPControl* pInner = pPopup->GetCommandBar()->GetControls()->Add(qxpControlButton, 77);
    EXPECT_EQ(nullptr, c->FindControl(0, 77, FALSE, FALSE));
    EXPECT_EQ(pInner, c->FindControl(0, 77, FALSE, TRUE));
    EXPECT_EQ(pPopup, c->FindControl(qxpControlPopup, -1, FALSE, FALSE));
    pInner->SetVisible(FALSE);
    EXPECT_EQ(nullptr, c->FindControl(0, 77, TRUE, TRUE));
    EXPECT_EQ(c->GetAt(0), c->FindControlById(-1));
}

TEST(Controls, LabelCheckBoxAndRadioButtonKinds)
{
    struct Case {
        int nType;
        const char* pszClass;
        BOOL bSelectable;
    } cases[] = {
        {qxpControlLabel, "CQXPControlLabel", FALSE},
        {qxpControlCheckBox, "CQXPControlCheckBox", TRUE},
        {qxpControlRadioButton, "CQXPControlRadioButton", TRUE},
    };
    for (const Case& k : cases) {
        Coll c;
        c->Add(qxpControlButton, 100);
        CQXPControl* pControl = c->Add(k.nType, 101);
        c->Add(qxpControlButton, 102);
        ASSERT_NE(nullptr, pControl) << k.pszClass;
        EXPECT_EQ(k.nType, pControl->GetType());
        EXPECT_EQ(std::string(k.pszClass), std::string(pControl->GetRuntimeClass()->m_lpszClassName));
        EXPECT_EQ(k.bSelectable, pControl->OnSetSelected(1)) << k.pszClass;
        EXPECT_EQ(k.bSelectable ? 1 : 0, pControl->GetSelected()) << k.pszClass;
        // The keyboard steps over a label.
        EXPECT_EQ(k.bSelectable ? 1 : 2, c->GetNext(0, +1)) << k.pszClass;
        // A copy keeps the kind.
        CQXPControl* pClone = pControl->Clone();
        EXPECT_EQ(pControl->GetRuntimeClass(), pClone->GetRuntimeClass());
        pClone->InternalRelease();
    }
}

TEST(Controls, GetNextTable)
{
    // Controls 0..4; 1 hidden, 3 skipped by focus, 4 temporary.
    Coll c;
    for (int i = 0; i < 5; i++)
        c->Add(qxpControlButton, 100 + i);
    c->GetAt(1)->SetVisible(FALSE);
    c->GetAt(3)->SetFlags(qxpFlagSkipFocus);
    c->GetAt(4)->SetTemporary(TRUE);
    struct Case {
        int nIndex, nStep;
        BOOL bSkipNoFocus, bSkipTemporary;
        int nExpected;
    } cases[] = {
        {-1, +1, TRUE, FALSE, 0},
        {0, +1, TRUE, FALSE, 2},
        {2, +1, TRUE, FALSE, 4},
        {2, +1, FALSE, FALSE, 3},
        {4, +1, TRUE, FALSE, 0},
        {0, -1, TRUE, FALSE, 4},
        {0, -1, TRUE, TRUE, 2},
        {-1, -1, TRUE, TRUE, 2},
        {2, +1, TRUE, TRUE, 0},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.nExpected, c->GetNext(k.nIndex, k.nStep, k.bSkipNoFocus, k.bSkipTemporary))
            << k.nIndex << " step " << k.nStep;
}

TEST(Controls, GetNextWithNothingElseToStepTo)
{
    Coll c;
    EXPECT_EQ(-1, c->GetNext(-1, 1));
    for (int i = 0; i < 3; i++)
        c->Add(qxpControlButton, 100 + i)->SetVisible(FALSE);
    EXPECT_EQ(-1, c->GetNext(-1, +1));
    EXPECT_EQ(-1, c->GetNext(-1, -1));
    c->GetAt(1)->SetVisible(TRUE);
    EXPECT_EQ(1, c->GetNext(1, +1)) << "only the start qualifies";
    EXPECT_EQ(1, c->GetNext(1, -1));
    // Rarely used controls are stepped over unless kept.
    c->GetAt(2)->SetVisible(TRUE);
    c->GetAt(2)->m_dwHideFlags |= qxpHideExpand;
    EXPECT_EQ(2, c->GetNext(1, +1));
    EXPECT_EQ(1, c->GetNext(1, +1, TRUE, FALSE, TRUE));
}

TEST(Controls, VisibleCountCountsWrappedWhenNotStrict)
{
    Coll c;
    for (int i = 0; i < 3; i++)
        c->Add(qxpControlButton, 100 + i);
    c->GetAt(0)->SetHideFlag(qxpHideWrap, TRUE);
    c->GetAt(1)->SetVisible(FALSE);
    EXPECT_EQ(1, c->GetVisibleCount(TRUE));
    EXPECT_EQ(2, c->GetVisibleCount(FALSE));
    EXPECT_EQ(c->GetAt(2), c->GetVisibleAt(0, TRUE));
    EXPECT_EQ(c->GetAt(2), c->GetVisibleAt(1, FALSE));
}

TEST(Controls, IsChangedIgnoresTemporaryControls)
{
    Coll c;
    c->Add(qxpControlButton, 1);
    c->Add(qxpControlButton, 2);
    EXPECT_TRUE(c->IsChanged()) << "no original copy yet";
    c->CreateOriginalControls();
    EXPECT_FALSE(c->IsChanged());
    c->Add(qxpControlButton, 3, CString(), 1, TRUE);
    EXPECT_FALSE(c->IsChanged());
    c->GetAt(2)->SetCaption("Renamed");
    EXPECT_TRUE(c->IsChanged());
    c->GetAt(2)->SetCaption("");
    EXPECT_FALSE(c->IsChanged());
    c->GetAt(0)->SetBeginGroup(TRUE);
    EXPECT_TRUE(c->IsChanged());

    CQXPControls* pDup = c->Duplicate(TRUE);
    EXPECT_EQ(2, pDup->GetCount()) << "temporary controls are not copied";
    EXPECT_TRUE(pDup->IsChanged()) << "the duplicate keeps the original copy";
    pDup->InternalRelease();
}

TEST(Controls, ChangeControlType)
{
    Coll c;
    CQXPControl* pPopup = c->Add(qxpControlPopup, 0);
    EXPECT_EQ(pPopup, c->ChangeControlType(pPopup, qxpControlSplitButtonPopup)) << "popup kinds keep the object";
    EXPECT_EQ(qxpControlSplitButtonPopup, pPopup->GetType());

    CQXPControl* pButton = c->Add(qxpControlButton, 55);
    pButton->SetCaption("Tools");
    pButton->SetFlags(qxpFlagRightAlign);
    CQXPControl* pNew = c->ChangeControlType(pButton, qxpControlPopup);
    ASSERT_NE(nullptr, pNew);
    EXPECT_NE(pButton, pNew);
    EXPECT_EQ(2, c->GetCount());
    EXPECT_EQ(pNew, c->GetAt(1));
    EXPECT_EQ(qxpControlPopup, pNew->GetType());
    EXPECT_EQ(55, pNew->GetID());
    EXPECT_EQ("Tools", S(pNew->GetCaption()));
    EXPECT_EQ((DWORD)qxpFlagRightAlign, pNew->GetFlags());
    EXPECT_EQ(nullptr, c->ChangeControlType(5, qxpControlButton));
}

TEST(Controls, ExecuteHoldsAReferenceAndNeedsNoBar)
{
    // Without a bar the control neither notifies nor crashes.
    CQXPControlButton* pControl = new CQXPControlButton;
    pControl->SetID(1);
    pControl->OnExecute();
    EXPECT_EQ(1L, pControl->m_dwRef);
    EXPECT_EQ(0, pControl->NotifySite(100));
    pControl->InternalRelease();
}

// ---------------------------------------------------------------------------
// Menu conversion of real menus

struct MenuHolder {
    HMENU h = CreatePopupMenu();
    ~MenuHolder() { DestroyMenu(h); }
};

TEST(MenuConversion, SeparatorsBreaksStatesAndShortcuts)
{
    MenuHolder m;
    AppendMenuA(m.h, MF_SEPARATOR, 0, NULL); // leading separator
    AppendMenuA(m.h, MF_STRING, 10, "&First\tCtrl+F");
    AppendMenuA(m.h, MF_SEPARATOR, 0, NULL);
    AppendMenuA(m.h, MF_SEPARATOR, 0, NULL); // two in a row
    AppendMenuA(m.h, MF_STRING | MF_CHECKED, 11, "Second");
    AppendMenuA(m.h, MF_STRING | MF_GRAYED, 12, "Third");
    AppendMenuA(m.h, MF_STRING | MF_MENUBREAK, 13, "Column");
    AppendMenuA(m.h, MF_STRING | MF_MENUBARBREAK, 14, "Bar column");
    AppendMenuA(m.h, MF_STRING | MF_DISABLED, 15, "Disabled");
    AppendMenuA(m.h, MF_STRING, 0xFF00, "Never"); // reserved id: no control
    AppendMenuA(m.h, MF_SEPARATOR, 0, NULL);      // trailing separator
    SetMenuDefaultItem(m.h, 11, FALSE);

    Coll c;
    ASSERT_TRUE(c->LoadMenu(m.h));
    ASSERT_EQ(6, c->GetCount());
    struct Expect {
        int nId;
        const char* pszCaption;
        BOOL bBeginGroup;
        int nChecked, nEnabled;
        DWORD dwFlags;
    } expect[] = {
        {10, "&First", TRUE, 0, 1, 0},
        {11, "Second", TRUE, 1, 1, 0},
        {12, "Third", FALSE, 0, 0, 0},
        {13, "Column", FALSE, 0, 1, qxpFlagWrapRow},
        {14, "Bar column", TRUE, 0, 1, qxpFlagWrapRow},
        {15, "Disabled", FALSE, 0, 0, 0},
    };
    for (int i = 0; i < 6; i++) {
        CQXPControl* p = c->GetAt(i);
        EXPECT_EQ(expect[i].nId, p->GetID()) << i;
        EXPECT_EQ(expect[i].pszCaption, S(p->GetCaption())) << i;
        EXPECT_EQ(expect[i].bBeginGroup, p->GetBeginGroup()) << i;
        EXPECT_EQ(expect[i].nChecked, p->GetChecked()) << i;
        EXPECT_EQ(expect[i].nEnabled, p->GetEnabled()) << i;
        EXPECT_EQ(expect[i].dwFlags, p->GetFlags()) << i;
        EXPECT_EQ(qxpControlButton, p->GetType()) << i;
    }
    EXPECT_EQ("Ctrl+F", S(c->GetAt(0)->GetShortcutText()));
    EXPECT_TRUE(c->GetAt(1)->IsDefaultItem());
    EXPECT_FALSE(c->GetAt(0)->IsDefaultItem());
    EXPECT_FALSE(c->LoadMenu((HMENU)NULL));
}

TEST(MenuConversion, SubmenusBecomePopupControls)
{
    MenuHolder m;
    HMENU hSub = CreatePopupMenu();
    AppendMenuA(hSub, MF_STRING, 20, "Inner");
    AppendMenuA(m.h, MF_POPUP, (UINT_PTR)hSub, "&Tools\t32771");
    HMENU hSub2 = CreatePopupMenu();
    AppendMenuA(hSub2, MF_STRING, 21, "Inner 2");
    AppendMenuA(m.h, MF_POPUP, (UINT_PTR)hSub2, "&View\tAlt+V");
    HMENU hEmpty = CreatePopupMenu();
    AppendMenuA(m.h, MF_POPUP, (UINT_PTR)hEmpty, "Empty");

    Coll c;
    ASSERT_TRUE(c->LoadMenu(m.h));
    ASSERT_EQ(3, c->GetCount());
    CQXPControl* pTools = c->GetAt(0);
    EXPECT_EQ(qxpControlPopup, pTools->GetType());
    EXPECT_EQ(32771, pTools->GetID()) << "a number after the tab becomes the id";
    EXPECT_EQ("&Tools", S(pTools->GetCaption()));
    ASSERT_NE(nullptr, pTools->GetCommandBar());
    EXPECT_EQ("Tools", S(pTools->GetCommandBar()->GetTitle()));
    ASSERT_EQ(1, pTools->GetCommandBar()->GetControlCount());
    EXPECT_EQ(20, pTools->GetCommandBar()->GetControl(0)->GetID());

    CQXPControl* pView = c->GetAt(1);
    EXPECT_EQ(0, pView->GetID());
    EXPECT_EQ("&View", S(pView->GetCaption())) << "text after the tab is a shortcut";
    EXPECT_EQ("Alt+V", S(pView->m_strShortcutTextAuto));
    EXPECT_EQ(0, c->GetAt(2)->GetCommandBar()->GetControlCount());
}

TEST(MenuConversion, ItemsWithoutActionTakeThePromptString)
{
    MenuHolder m;
    AppendMenuA(m.h, MF_STRING, ID_TEST_OPEN, "&Open");
    Coll c;
    ASSERT_TRUE(c->LoadMenu(m.h));
    CQXPControl* p = c->GetAt(0);
    EXPECT_EQ("&Open", S(p->GetCaption()));
    EXPECT_EQ("Open", S(p->GetTooltip())) << "the prompt string of the id";
    EXPECT_EQ(nullptr, p->GetAction());
}

TEST(Mnemonics, StripTable)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"&File", "File"}, {"Save && Close", "Save & Close"}, {"&&&A", "&A"}, {"plain", "plain"}, {"", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(c.out, S(QxpStripMnemonics(c.in))) << c.in;
}

// --- comparison, copies and popup controls ---

// A control that cannot be made narrower than 40 pixels.
class CMinWidthButton : public CQXPControlButton {
public:
    int GetCustomizeMinWidth() const override { return 40; }
};

TEST(ControlCompare, ShownStyleTextsWidthAndChangedPicturesCountButImageIdsDoNot)
{
    struct Case {
        const char* name;
        void (*change)(CQXPControl*);
        bool bEqual;
    } cases[] = {
        {"nothing", [](CQXPControl*) {}, true},
        {"icon id", [](CQXPControl* p) { p->SetIconId(77); }, true},
        // A picture the user changed is a customization.
        {"custom icon id", [](CQXPControl* p) { p->m_nCustomIconId = 78; }, false},
        {"layout style equal to the other's own style",
         [](CQXPControl* p) {
             p->m_buttonStyle = 0;
             p->m_buttonRibbonStyle = qxpButtonIcon;
         },
         true},
        {"shown style", [](CQXPControl* p) { p->SetStyle(qxpButtonCaption); }, false},
        {"custom style", [](CQXPControl* p) { p->m_buttonCustomStyle = qxpButtonCaption; }, false},
        {"id", [](CQXPControl* p) { p->m_nId = 12; }, false},
        {"flags", [](CQXPControl* p) { p->SetFlags(qxpFlagRightAlign); }, false},
        {"group", [](CQXPControl* p) { p->m_bBeginGroup = TRUE; }, false},
        {"caption", [](CQXPControl* p) { p->m_strCaption = "Other"; }, false},
        {"caption case", [](CQXPControl* p) { p->m_strCaption = "OPEN"; }, false},
        {"tooltip", [](CQXPControl* p) { p->m_strTooltipText = "tip"; }, false},
        {"description", [](CQXPControl* p) { p->m_strDescriptionText = "text"; }, false},
        {"custom caption", [](CQXPControl* p) { p->m_strCustomCaption = "Mine"; }, false},
        {"parameter", [](CQXPControl* p) { p->m_strParameter = "x"; }, false},
        {"removed by the user", [](CQXPControl* p) { p->m_dwHideFlags |= qxpHideCustomize; }, false},
        {"hidden by the program", [](CQXPControl* p) { p->m_dwHideFlags |= qxpHideGeneric; }, true},
        {"width", [](CQXPControl* p) { p->m_nWidth = 90; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQXPControlButton* pA = new CQXPControlButton;
        CQXPControlButton* pB = new CQXPControlButton;
        for (CQXPControlButton* p : {pA, pB}) {
            p->m_nId = 11;
            p->m_strCaption = "Open";
            p->SetStyle(qxpButtonIcon);
            p->SetIconId(5);
        }
        c.change(pB);
        EXPECT_EQ(c.bEqual, pA->Compare(pB) != FALSE);
        EXPECT_EQ(c.bEqual, pB->Compare(pA) != FALSE);
        pA->InternalRelease();
        pB->InternalRelease();
    }
    // A stored copy (on no bar) shows the style of the bar it is compared
    // with: the bar's default style makes no difference.
    CQXPCommandBar* pBar = new CQXPCommandBar;
    pBar->SetDefaultButtonStyle(qxpButtonCaption);
    CQXPControl* pLive = pBar->GetControls()->Add(qxpControlButton, 14);
    CQXPControl* pStored = pLive->Clone();
    EXPECT_EQ(qxpButtonCaption, pLive->GetStyle());
    EXPECT_EQ(0, pStored->GetStyle());
    EXPECT_TRUE(pLive->Compare(pStored));
    EXPECT_TRUE(pStored->Compare(pLive));
    pStored->SetStyle(qxpButtonIcon);
    EXPECT_FALSE(pLive->Compare(pStored));
    EXPECT_FALSE(pStored->Compare(pLive));
    pStored->InternalRelease();
    pBar->InternalRelease();

    CQXPControlButton* pButton = new CQXPControlButton;
    CQXPControl* pPlain = new CQXPControl;
    pPlain->m_controlType = qxpControlButton;
    EXPECT_FALSE(pButton->Compare(pPlain)) << "other runtime class";
    EXPECT_FALSE(pButton->Compare(NULL));
    pPlain->InternalRelease();
    pButton->InternalRelease();
}

TEST(ControlCopy, FixedWidthIsRaisedToTheMinimumOfTheCopy)
{
    struct Case {
        int nWidth;
        int nCopied;
    } cases[] = {{0, 0}, {10, 40}, {40, 40}, {65, 65}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.nWidth);
        CQXPControlButton* pSource = new CQXPControlButton;
        pSource->m_nWidth = c.nWidth;
        CMinWidthButton* pCopy = new CMinWidthButton;
        pCopy->Copy(pSource, FALSE);
        EXPECT_EQ(c.nCopied, pCopy->GetWidth());
        pCopy->InternalRelease();
        pSource->InternalRelease();
    }
}

TEST(ControlPopup, SplitButtonEnabledValuesSplitFaceAndDropDown)
{
    struct Case {
        int nType;
        int nEnabled;
        bool bFace;
        bool bDropDown;
    } cases[] = {
        {qxpControlSplitButtonPopup, 1, true, true},
        {qxpControlSplitButtonPopup, 0, false, false},
        {qxpControlSplitButtonPopup, 3, true, false},
        {qxpControlSplitButtonPopup, 4, false, true},
        {qxpControlButtonPopup, 3, true, true},
        {qxpControlButtonPopup, 4, true, true},
        {qxpControlPopup, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.nType << " Enabled " << c.nEnabled);
        CQXPControlPopup* pControl = CQXPControlPopup::CreateControlPopup(c.nType);
        EXPECT_EQ(c.nType, pControl->GetType());
        pControl->m_bEnabled = c.nEnabled;
        EXPECT_EQ(c.bFace, pControl->IsFaceEnabled() != FALSE);
        EXPECT_EQ(c.bDropDown, pControl->IsDropDownEnabled() != FALSE);
        // Without a popup bar nothing opens, whatever the value.
        EXPECT_FALSE(pControl->OnSetPopup(TRUE));
        EXPECT_FALSE(pControl->GetPopuped());
        pControl->InternalRelease();
    }

    // A split button linked to an action follows the action for both parts.
    CQXPControlActions actions;
    CQXPControlAction* pAction = actions.Add(901);
    CQXPControlPopup* pLinked = CQXPControlPopup::CreateControlPopup(qxpControlSplitButtonPopup);
    pLinked->SetAction(pAction);
    EXPECT_TRUE(pLinked->IsFaceEnabled());
    EXPECT_TRUE(pLinked->IsDropDownEnabled());
    pAction->SetEnabled(FALSE);
    EXPECT_FALSE(pLinked->IsFaceEnabled());
    EXPECT_FALSE(pLinked->IsDropDownEnabled());
    pLinked->SetAction(NULL);
    pLinked->InternalRelease();

    CQXPControlPopup* pOther = CQXPControlPopup::CreateControlPopup(qxpControlButton);
    EXPECT_EQ(qxpControlPopup, pOther->GetType()) << "only popup kinds are taken";
    pOther->InternalRelease();
}

TEST(ControlPopup, IsPopupOfSearchesThePopupTreeAndEndsOnLoops)
{
    // outer -> [middle] -> [inner]; a separate control shares the inner bar.
    CQXPPopupBar* pOuterBar = CQXPPopupBar::CreateForOwner(NULL);
    CQXPPopupBar* pMiddleBar = CQXPPopupBar::CreateForOwner(NULL);
    CQXPPopupBar* pInnerBar = CQXPPopupBar::CreateForOwner(NULL);
    CQXPControlPopup* pOuter = CQXPControlPopup::CreateControlPopup(qxpControlPopup);
    pOuter->SetCommandBar(pOuterBar);
    CQXPControlPopup* pMiddle = dynamic_cast<CQXPControlPopup*>(pOuterBar->GetControls()->Add(qxpControlPopup, 0));
    ASSERT_NE(nullptr, pMiddle);
    pMiddle->SetCommandBar(pMiddleBar);
    CQXPControlPopup* pInner = dynamic_cast<CQXPControlPopup*>(pMiddleBar->GetControls()->Add(qxpControlPopup, 0));
    ASSERT_NE(nullptr, pInner);
    pInner->SetCommandBar(pInnerBar);
    CQXPControlPopup* pSharing = CQXPControlPopup::CreateControlPopup(qxpControlPopup);
    pSharing->SetCommandBar(pInnerBar);
    CQXPControlPopup* pWithoutBar = CQXPControlPopup::CreateControlPopup(qxpControlPopup);
    CQXPControlButton* pButton = new CQXPControlButton;

    EXPECT_TRUE(pOuter->IsPopupOf(pOuter));
    EXPECT_TRUE(pOuter->IsPopupOf(pMiddle));
    EXPECT_TRUE(pOuter->IsPopupOf(pInner));
    EXPECT_TRUE(pOuter->IsPopupOf(pSharing)) << "the shared bar lies in the tree";
    EXPECT_FALSE(pInner->IsPopupOf(pOuter)) << "only downward";
    EXPECT_FALSE(pOuter->IsPopupOf(pWithoutBar));
    EXPECT_FALSE(pWithoutBar->IsPopupOf(pOuter));
    EXPECT_FALSE(pOuter->IsPopupOf(pButton));
    EXPECT_FALSE(pOuter->IsPopupOf(NULL));

    // The innermost menu opens the middle one again: the search still ends.
    CQXPControlPopup* pLoop = dynamic_cast<CQXPControlPopup*>(pInnerBar->GetControls()->Add(qxpControlPopup, 0));
    ASSERT_NE(nullptr, pLoop);
    pLoop->SetCommandBar(pMiddleBar);
    EXPECT_FALSE(pMiddle->IsPopupOf(pOuter));
    EXPECT_TRUE(pInner->IsPopupOf(pMiddle));
    pLoop->SetCommandBar((CQXPCommandBar*)NULL);

    pButton->InternalRelease();
    pWithoutBar->InternalRelease();
    pSharing->InternalRelease();
    pOuter->InternalRelease();
    pOuterBar->InternalRelease();
    pMiddleBar->InternalRelease();
    pInnerBar->InternalRelease();
}

TEST(Controls, ChangingToACustomControlKeepsTheCustomControlsType)
{
    Coll c;
    CQXPControl* pButton = c->Add(qxpControlButton, 56);
    pButton->SetCaption("Find");
    CQXPControl* pNew = c->ChangeControlType(pButton, qxpControlCustom);
    ASSERT_NE(nullptr, pNew);
    EXPECT_NE(nullptr, dynamic_cast<CQXPControlCustom*>(pNew));
    EXPECT_EQ(qxpControlButton, pNew->m_controlType) << "a custom control is a button";
    EXPECT_EQ(56, pNew->GetID());
    EXPECT_EQ("Find", S(pNew->GetCaption()));

    // Back to a label: the label's own type.
    CQXPControl* pLabel = c->ChangeControlType(pNew, qxpControlLabel);
    ASSERT_NE(nullptr, pLabel);
    EXPECT_EQ(qxpControlLabel, pLabel->m_controlType);
    EXPECT_EQ(1, c->GetCount());

    // Added as a custom control: the same type.
    CQXPControl* pAdded = c->Add(qxpControlCustom, 57);
    ASSERT_NE(nullptr, pAdded);
    EXPECT_NE(nullptr, dynamic_cast<CQXPControlCustom*>(pAdded));
    EXPECT_EQ(qxpControlButton, pAdded->m_controlType);
}

} // namespace
