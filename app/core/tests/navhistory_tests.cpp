// navhistory_tests.cpp - the navigation history as tables of steps.
#include "coretest.h"
#include "navhistory.h"

#include <string>
#include <vector>

namespace {

const HWND A = (HWND)(INT_PTR)0x10;
const HWND B = (HWND)(INT_PTR)0x20;

// One step: 'a' add (view, pos), 'b' back, 'f' forward, 'r' remove view.
struct Step {
    char op;
    HWND hView;
    INT_PTR nPos;
    // What back or forward gives ({null, 0}: nothing).
    HWND hGot;
    INT_PTR nGot;
};

std::string Describe(const CNavigationHistory& h)
{
    std::string s;
    for (int i = 0; i < h.GetCount(); ++i) {
        s += h.GetAt(i).hView == A ? "A" : "B";
        s += std::to_string(h.GetAt(i).nPos);
        s += i == h.GetCurrent() ? "* " : " ";
    }
    return s;
}

struct Case {
    const char* name;
    std::vector<Step> steps;
    const char* expect; // entries oldest first, * marks the current one
    bool canBack, canForward;
};

} // namespace

TEST(NavigationHistory, StepsAcrossViews)
{
    const Case cases[] = {
        {"empty", {}, "", false, false},
        {"back and forward on an empty list give nothing",
         {{'b', 0, 0, NULL, 0}, {'f', 0, 0, NULL, 0}},
         "",
         false,
         false},
        {"one entry cannot go anywhere", {{'a', A, 5}, {'b', 0, 0, NULL, 0}}, "A5* ", false, false},
        {"moving between two places adds two entries only",
         {{'a', A, 1}, {'a', A, 9}, {'a', A, 1}, {'a', A, 9}, {'a', A, 1}},
         "A1 A9* ",
         true,
         false},
        {"the same position in another view is another place", {{'a', A, 1}, {'a', B, 1}}, "A1 B1* ", true, false},
        {"back then forward",
         {{'a', A, 1}, {'a', B, 2}, {'a', A, 3}, {'b', 0, 0, B, 2}, {'b', 0, 0, A, 1}, {'b', 0, 0, NULL, 0}, {'f', 0, 0, B, 2}},
         "A1 B2* A3 ",
         true,
         true},
        {"forward at the newest entry stays on it",
         {{'a', A, 1}, {'a', B, 2}, {'f', 0, 0, NULL, 0}, {'f', 0, 0, NULL, 0}, {'b', 0, 0, A, 1}},
         "A1* B2 ",
         false,
         true},
        {"a new place after going back is appended and becomes current",
         {{'a', A, 1}, {'a', A, 2}, {'b', 0, 0, A, 1}, {'a', B, 7}},
         "A1 A2 B7* ",
         true,
         false},
        {"going back to a listed place adds nothing",
         {{'a', A, 1}, {'a', A, 2}, {'b', 0, 0, A, 1}, {'a', A, 1}},
         "A1* A2 ",
         false,
         true},
        {"closing a view removes its entries; the newest is current",
         {{'a', A, 1}, {'a', B, 2}, {'a', A, 3}, {'a', B, 4}, {'b', 0, 0, A, 3}, {'r', B, 0}},
         "A1 A3* ",
         true,
         false},
        {"back after closing skips the closed view",
         {{'a', A, 1}, {'a', B, 2}, {'a', A, 3}, {'r', B, 0}, {'b', 0, 0, A, 1}},
         "A1* A3 ",
         false,
         true},
        {"closing the only view empties the list", {{'a', A, 1}, {'r', A, 0}}, "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNavigationHistory h;
        for (const Step& s : c.steps) {
            if (s.op == 'a') {
                h.Add(s.hView, s.nPos);
            } else if (s.op == 'r') {
                h.RemoveView(s.hView);
            } else {
                CNavigationEntry e = s.op == 'b' ? h.Back() : h.Forward();
                EXPECT_EQ(e.hView, s.hGot);
                EXPECT_EQ(e.nPos, s.nGot);
            }
            EXPECT_GE(h.GetCurrent(), h.GetCount() == 0 ? -1 : 0);
            EXPECT_LT(h.GetCurrent(), h.GetCount());
        }
        EXPECT_EQ(Describe(h), c.expect);
        EXPECT_EQ(h.CanGoBack() != FALSE, c.canBack);
        EXPECT_EQ(h.CanGoForward() != FALSE, c.canForward);
    }
}

TEST(NavigationHistory, TheTwentyFirstPlaceDropsTheOldest)
{
    CNavigationHistory h;
    for (int i = 0; i < 20; ++i)
        h.Add(A, i);
    ASSERT_EQ(h.GetCount(), 20);
    EXPECT_EQ(h.GetAt(0).nPos, 0);
    h.Add(B, 100);
    ASSERT_EQ(h.GetCount(), 20);
    EXPECT_EQ(h.GetAt(0).nPos, 1);
    EXPECT_EQ(h.GetAt(19).hView, B);
    EXPECT_EQ(h.GetCurrent(), 19);
    // Back walks the twenty and stops at the oldest that is left.
    int nSteps = 0;
    while (h.Back().hView != NULL)
        ++nSteps;
    EXPECT_EQ(nSteps, 19);
    EXPECT_EQ(h.GetCurrent(), 0);
}
