// Global metrics and UI fonts, with the system's metrics, installed faces,
// cursors and colours injected.
#include <qx/fonts.h>
#include <qx/colors.h>
#include <qxresource.h>

#include "QxTestSupport.h"

#include <gmock/gmock.h>

#include <set>
#include <string>

namespace {

// The injected system.
std::string g_menuFace;
BYTE g_menuCharSet = 0;
std::set<std::string> g_installed;
int g_cursorFailsAt = 0; // resource id that cannot be loaded (0: none)
int g_cursorCalls = 0;

LOGFONTA Font(const char* face, int height, BYTE charset = 0)
{
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = charset;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return lf;
}

BOOL AFXAPI TestMetrics(NONCLIENTMETRICSA* p)
{
    p->lfMenuFont = Font(g_menuFace.c_str(), -11, g_menuCharSet);
    p->lfStatusFont = Font("Status Face", -12);
    p->lfSmCaptionFont = Font("Caption Face", -13);
    p->lfCaptionFont = Font("Caption Face", -13);
    p->lfMessageFont = Font("Message Face", -11);
    return TRUE;
}

BOOL AFXAPI TestIconTitle(LOGFONTA* p)
{
    *p = Font("Icon Face", -15);
    return TRUE;
}

BOOL AFXAPI TestInstalled(LPCSTR face) { return g_installed.count(face) != 0; }

HCURSOR AFXAPI TestCursor(UINT id)
{
    ++g_cursorCalls;
    return (int)id == g_cursorFailsAt ? NULL : LoadCursor(NULL, IDC_ARROW);
}

COLORREF AFXAPI TestSysColor(int n) { return RGB(n, n * 2, n * 3); }
int AFXAPI TestBits(HDC) { return 32; }

LOGFONTA Of(HFONT h)
{
    LOGFONTA lf = {};
    GetObjectA(h, sizeof(lf), &lf);
    return lf;
}

class SystemFonts : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_menuFace = "MS Sans Serif";
        g_menuCharSet = 0;
        g_installed = {"Arial", "Tahoma", "Verdana", "Courier New"};
        g_cursorFailsAt = 0;
        ToolkitColorManager::SystemQueries q;
        q.pfnSysColor = TestSysColor;
        q.pfnBitsPerPixel = TestBits;
        m_colors.reset(new ToolkitColorManager(q));
        m_env.pfnNonClientMetrics = TestMetrics;
        m_env.pfnIconTitleFont = TestIconTitle;
        m_env.pfnIsFontInstalled = TestInstalled;
        m_env.pfnLoadCursor = TestCursor;
        m_env.pColorManager = m_colors.get();
    }
    std::unique_ptr<ToolkitColorManager> m_colors;
    CQXSystemFonts::Environment m_env;
};

} // namespace

TEST_F(SystemFonts, TenFontsFromTheMenuFont)
{
    CQXSystemFonts f(m_env);
    struct Case {
        const char* name;
        HFONT font;
        const char* face;
        LONG height;
        LONG weight;
        BYTE underline;
        LONG escapement;
    } cases[] = {
        {"normal", f.m_fontNormal, "MS Sans Serif", -11, FW_NORMAL, 0, 0},
        {"bold", f.m_fontBold, "MS Sans Serif", -11, FW_BOLD, 0, 0},
        {"underline", f.m_fontUnderline, "MS Sans Serif", -11, FW_NORMAL, 1, 0},
        {"vertical", f.m_fontVert, "Arial", -11, FW_NORMAL, 0, 2700},
        {"vertical bold", f.m_fontVertBold, "Arial", -11, FW_BOLD, 0, 2700},
        {"icon title", f.m_fontIconTitle, "Icon Face", -15, FW_NORMAL, 0, 0},
        {"icon title bold", f.m_fontIconTitleBold, "Icon Face", -15, FW_BOLD, 0, 0},
        {"status", f.m_fontStatus, "Status Face", -12, FW_NORMAL, 0, 0},
        {"small caption", f.m_fontSmCaption, "Caption Face", -13, FW_NORMAL, 0, 0},
        {"marlett", f.m_fontMarlett, "Marlett", -15, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.font != NULL);
        LOGFONTA lf = Of(c.font);
        EXPECT_STREQ(c.face, lf.lfFaceName);
        EXPECT_EQ(c.height, lf.lfHeight);
        EXPECT_EQ(c.weight, lf.lfWeight);
        EXPECT_EQ(c.underline, lf.lfUnderline);
        EXPECT_EQ(c.escapement, lf.lfEscapement);
    }
    EXPECT_EQ(900, Of(f.m_fontVert).lfOrientation);
    EXPECT_EQ(DEFAULT_CHARSET, Of(f.m_fontMarlett).lfCharSet);
    EXPECT_EQ(f.m_fontNormal, f.GetNormalFont());
}

TEST_F(SystemFonts, FaceRules)
{
    struct Case {
        const char* name;
        const char* menuFace;
        BYTE charset;
        bool useDefaultFace;
        const char* face; // Refresh arguments
        const char* vertFace;
        const char* expectNormal;
        const char* expectVert;
        const char* expectStatus;
    } cases[] = {
        {"menu face kept, vertical Arial", "MS Sans Serif", 0, false, NULL, NULL, "MS Sans Serif", "Arial", "Status Face"},
        {"Tahoma menu keeps Tahoma vertical", "Tahoma", 0, false, NULL, NULL, "Tahoma", "Tahoma", "Status Face"},
        {"default face for Western sets", "MS Sans Serif", 1, true, NULL, NULL, "Tahoma", "Arial", "Status Face"},
        {"default face not for other sets", "MS UI Gothic", 128, true, NULL, NULL, "MS UI Gothic", "Arial",
         "Status Face"},
        {"given face", "MS Sans Serif", 0, false, "Verdana", NULL, "Verdana", "Arial", "Verdana"},
        {"given face not installed", "MS Sans Serif", 0, false, "Nope", NULL, "MS Sans Serif", "Arial", "Status Face"},
        {"given vertical face", "MS Sans Serif", 0, false, NULL, "Courier New", "MS Sans Serif", "Courier New",
         "Status Face"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_menuFace = c.menuFace;
        g_menuCharSet = c.charset;
        CQXSystemFonts f(m_env);
        if (c.useDefaultFace)
            f.UseDefaultFace(TRUE);
        EXPECT_TRUE(f.Refresh(c.face, c.vertFace));
        EXPECT_STREQ(c.expectNormal, Of(f.m_fontNormal).lfFaceName);
        EXPECT_STREQ(c.expectNormal, Of(f.m_fontBold).lfFaceName);
        EXPECT_STREQ(c.expectVert, Of(f.m_fontVert).lfFaceName);
        EXPECT_STREQ(c.expectStatus, Of(f.m_fontStatus).lfFaceName);
    }
    g_installed.erase("Arial");
    g_menuFace = "MS Sans Serif";
    CQXSystemFonts f(m_env);
    EXPECT_STREQ("MS Sans Serif", Of(f.m_fontVert).lfFaceName) << "no Arial: the face stays";
    EXPECT_STREQ("Tahoma", f.GetVerticalFace("Tahoma", FALSE));
    EXPECT_STREQ("Tahoma", f.GetVerticalFace("MS Sans Serif", TRUE));
    EXPECT_STREQ("MS Sans Serif", f.GetVerticalFace("MS Sans Serif", FALSE));
}

TEST_F(SystemFonts, ColoursMetricsAndCursors)
{
    CQXSystemFonts f(m_env);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(m_colors->GetColor(CQXSystemFonts::kColorSources[i]), f.GetColor(i)) << i;
    EXPECT_EQ(TestSysColor(COLOR_BTNFACE), f.GetColor(0));
    EXPECT_EQ(TestSysColor(COLOR_WINDOW), f.GetWindowColor());
    EXPECT_EQ((COLORREF)-1, f.GetColor(40));
    m_colors->SetColor(COLOR_WINDOW, RGB(9, 9, 9));
    f.RefreshColors();
    EXPECT_EQ(RGB(9, 9, 9), f.GetWindowColor());

    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), f.m_sizeSmallIcon.cx);
    EXPECT_EQ(GetSystemMetrics(SM_CYMENU), f.m_cyMenu);
    EXPECT_EQ(18, f.m_nFixedWidth);
    for (int i = 0; i < CQXSystemFonts::kCursorCount; ++i)
        EXPECT_TRUE(f.m_hCursors[i] != NULL) << i;

    // A missing cursor resource: the loader stops there.
    g_cursorFailsAt = QX_IDC_DRAG_NONE;
    CQXSystemFonts g(m_env);
    EXPECT_TRUE(g.m_hCursors[0] && g.m_hCursors[1]);
    for (int i = 2; i < CQXSystemFonts::kCursorCount; ++i)
        EXPECT_EQ(nullptr, g.m_hCursors[i]) << i;
    EXPECT_FALSE(g.LoadCursors());
    g_cursorFailsAt = 0;
    EXPECT_TRUE(g.LoadCursors());
    EXPECT_TRUE(g.m_hCursors[6] != NULL);
}

TEST(SystemFontsGlobal, BuiltOnceFromTheRealSystem)
{
    CQXSystemFonts* f = GetGlobalUIFonts();
    EXPECT_EQ(f, GetGlobalUIFonts());
    EXPECT_TRUE(f->m_fontNormal != NULL);
    EXPECT_TRUE(f->m_fontMarlett != NULL);
    NONCLIENTMETRICSA ncm;
    ASSERT_TRUE(NonClientMetrics(&ncm));
    EXPECT_EQ(340u, ncm.cbSize);
    LOGFONTA lf = Of(f->m_fontNormal);
    EXPECT_EQ(ncm.lfMenuFont.lfHeight, lf.lfHeight);
    EXPECT_GE(f->m_dwComCtlVersion, 0x40000u);
    EXPECT_GT(f->GetDropArrowWidth(), 0);
    // The cursors come from the toolkit's resources, which this program
    // carries as the program does (the hand is the system's).
    HMODULE hModule = GetModuleHandleA(NULL);
    for (int i : {0, 1, 2, 4, 5}) {
        EXPECT_NE(nullptr, f->m_hCursors[i]) << i;
        EXPECT_EQ(LoadCursorA(hModule, MAKEINTRESOURCEA(CQXSystemFonts::kToolkitCursorIds[i])), f->m_hCursors[i])
            << CQXSystemFonts::kToolkitCursorIds[i];
    }
    EXPECT_EQ(LoadCursor(NULL, IDC_HAND), f->m_hCursors[3]);
    EXPECT_EQ(LoadCursor(NULL, IDC_SIZEALL), f->m_hCursors[6]);
}
