// The toolkit's resources in the program. Qmate.exe (loaded as a data file)
// holds every resource of the table in qxresource.h, with the sizes, texts and
// menus the toolkit expects; the table names every id of that header; the
// toolkit's code loads its own resources by those names, never by number, so
// a new load cannot go round the table. This test program carries the
// editor's part of the script alone, which must leave the toolkit's ids free.
#include "restest.h"

#include <qxresource.h>

#include <qmtest/files.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ToolkitResource {
    LPCSTR type;
    UINT id;
    const char* name;
};

#define QX_TABLE_ROW(type, id) {type, id, #id},
const ToolkitResource kToolkitResources[] = {QX_TOOLKIT_RESOURCES(QX_TABLE_ROW)};
#undef QX_TABLE_ROW

const LPCSTR kToolbarType = MAKEINTRESOURCEA(QX_RT_TOOLBAR_ID);
const COLORREF kMagenta = RGB(255, 0, 255);

std::string TypeName(LPCSTR type)
{
    if (type == RT_GROUP_CURSOR)
        return "cursor";
    if (type == RT_BITMAP)
        return "bitmap";
    if (type == RT_MENU)
        return "menu";
    if (type == RT_STRING)
        return "string";
    if (type == RT_DIALOG)
        return "dialog";
    if (type == kToolbarType)
        return "toolbar";
    return "type " + std::to_string(reinterpret_cast<ULONG_PTR>(type));
}

std::string Describe(const ToolkitResource& r)
{
    return TypeName(r.type) + " " + std::to_string(r.id) + " (" + r.name + ")";
}

// Whether a module holds a resource of that type and id (a string: a
// non-empty one).
bool Holds(HMODULE module, const ToolkitResource& r)
{
    if (r.type == RT_STRING)
        return !restest::LoadText(r.id, module).empty();
    return FindResourceA(module, MAKEINTRESOURCEA(r.id), r.type) != nullptr;
}

std::string SourcePath(const std::string& relative)
{
    return qmtest::WindowsPath(std::string(QM_SOURCE_DIR) + "/" + relative);
}

// Every .cpp and .h below a folder, skipping folders of the given names.
void SourceFiles(const std::string& dir, const std::set<std::string>& skip, std::vector<std::string>* out)
{
    auto endsWith = [](const std::string& s, const char* end) {
        size_t n = strlen(end);
        return s.size() > n && s.compare(s.size() - n, n, end) == 0;
    };
    qmtest::ForEachEntry(dir, [&](const std::string& name, const std::string& path, bool isFolder) {
        if (isFolder && !skip.count(name))
            SourceFiles(path, skip, out);
        else if (!isFolder && (endsWith(name, ".cpp") || endsWith(name, ".h")))
            out->push_back(path);
    });
}

// The program, Qmate.exe, as a data file: its resources without running it.
class ToolkitResources : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_path = qmtest::WindowsPath(std::string(QM_BIN_DIR) + "/Qmate.exe");
        s_program = LoadLibraryExA(s_path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite()
    {
        if (s_program)
            FreeLibrary(s_program);
        s_program = nullptr;
    }
    void SetUp() override { ASSERT_NE(s_program, nullptr) << s_path << " does not load (error " << GetLastError() << ")"; }

    static std::string s_path;
    static HMODULE s_program;
};

std::string ToolkitResources::s_path;
HMODULE ToolkitResources::s_program = nullptr;

TEST_F(ToolkitResources, TheProgramHoldsEveryResourceTheToolkitLoads)
{
    for (const ToolkitResource& r : kToolkitResources)
        EXPECT_TRUE(Holds(s_program, r)) << "Qmate.exe lacks " << Describe(r);
}

// The Office 2007 theme module: its text (UTF-16 LE, no byte-order mark)
// and every image of the generator's table, by name, each a whole number of
// states of the table's size.
TEST_F(ToolkitResources, TheProgramCarriesTheOffice2007ThemeModule)
{
    HRSRC hText = FindResourceA(s_program, "OFFICE2007BLUE_INI", "TEXTFILE");
    ASSERT_NE(hText, nullptr);
    const BYTE* pText = static_cast<const BYTE*>(LockResource(LoadResource(s_program, hText)));
    DWORD cbText = SizeofResource(s_program, hText);
    ASSERT_GE(cbText, 4u);
    EXPECT_EQ(0u, cbText % 2);
    EXPECT_EQ(';', pText[0]) << "a comment first, no byte-order mark";
    EXPECT_EQ(0, pText[1]);

    std::string table = qmtest::ReadFileBytes(SourcePath("toolkit/resources/office2007/images.txt"));
    ASSERT_FALSE(table.empty());
    std::istringstream lines(table);
    std::string line;
    int nImages = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        char name[128] = "", margins[64] = "", format[8] = "";
        int nStates = 0, cx = 0, cy = 0;
        ASSERT_EQ(6, sscanf(line.c_str(), "%127s %d %dx%d %63s %7s", name, &nStates, &cx, &cy, margins, format)) << line;
        const bool bPng = strcmp(format, "png") == 0;
        HRSRC h = FindResourceA(s_program, name, bPng ? "PNG" : RT_BITMAP);
        ASSERT_NE(h, nullptr) << "Qmate.exe lacks the theme image " << name;
        const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(s_program, h)));
        int width = 0, height = 0;
        if (bPng) {
            ASSERT_GE(SizeofResource(s_program, h), 24u) << name;
            width = (p[16] << 24) | (p[17] << 16) | (p[18] << 8) | p[19];
            height = (p[20] << 24) | (p[21] << 16) | (p[22] << 8) | p[23];
        } else {
            BITMAPINFOHEADER bih;
            memcpy(&bih, p, sizeof(bih));
            width = bih.biWidth;
            height = abs(bih.biHeight);
            EXPECT_EQ(24, bih.biBitCount) << name << ": keyed images are 24-bit";
        }
        EXPECT_EQ(cx, width) << name;
        EXPECT_EQ(cy * nStates, height) << name;
        ++nImages;
    }
    EXPECT_GE(nImages, 125);
}

TEST(ToolkitResourceIds, EachIsDefinedOnceAndListedWithItsType)
{
    // The header's ids, read as the resource compiler reads them.
    std::string header = qmtest::ReadFileBytes(SourcePath("toolkit/resources/qxresource.h"));
    ASSERT_FALSE(header.empty());
    std::map<std::string, UINT> defined;
    std::regex define(R"(^#define\s+(QX_ID[BCDRS]_\w+)\s+(\d+)\s*(//.*)?$)");
    size_t start = 0;
    while (start < header.size()) {
        size_t end = header.find('\n', start);
        std::string line = header.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::smatch m;
        if (std::regex_match(line, m, define)) {
            EXPECT_TRUE(defined.emplace(m[1], static_cast<UINT>(std::stoul(m[2]))).second) << m[1] << " twice";
        }
        start = end == std::string::npos ? header.size() : end + 1;
    }
    ASSERT_GT(defined.size(), 20u);

    // Every id of the header has its row, and no type repeats a number.
    std::set<std::string> listed;
    std::set<std::pair<std::string, UINT>> typed;
    for (const ToolkitResource& r : kToolkitResources) {
        listed.insert(r.name);
        EXPECT_TRUE(typed.emplace(TypeName(r.type), r.id).second) << Describe(r) << " is listed twice";
        auto it = defined.find(r.name);
        ASSERT_NE(it, defined.end()) << r.name << " is not an id of the header";
        EXPECT_EQ(it->second, r.id) << r.name;
    }
    for (const auto& d : defined)
        EXPECT_TRUE(listed.count(d.first)) << d.first << " has no row in QX_TOOLKIT_RESOURCES";
}

TEST(ToolkitResourceIds, TheToolkitLoadsItsOwnResourcesByName)
{
    // A toolkit number (9100-9999) written into a load call would go round
    // the table: the loads name their ids (qxresource.h) instead.
    std::vector<std::string> files;
    SourceFiles(SourcePath("toolkit"), {"tests", "resources"}, &files);
    ASSERT_GT(files.size(), 50u);
    std::regex call(R"(\b(Load\w*|Toolkit(String|Cursor)|FindResource\w*|MAKEINTRESOURCE\w*)\s*\()");
    std::regex number(R"(\b(0[xX][0-9a-fA-F]+|[0-9]+)\b)");
    std::set<std::string> found;
    for (const std::string& file : files) {
        std::string text = qmtest::ReadFileBytes(file);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), call); it != std::sregex_iterator(); ++it) {
            // The arguments: up to the parenthesis that closes the call.
            size_t open = it->position() + it->length() - 1, close = open;
            for (int depth = 0; close < text.size(); ++close) {
                depth += text[close] == '(' ? 1 : text[close] == ')' ? -1
                                                                     : 0;
                if (depth == 0)
                    break;
            }
            std::string args = text.substr(open, close - open + 1);
            for (auto n = std::sregex_iterator(args.begin(), args.end(), number); n != std::sregex_iterator(); ++n) {
                unsigned long value = std::stoul(n->str(), nullptr, 0);
                if (value >= 9100 && value <= 9999) {
                    size_t line = 1 + std::count(text.begin(), text.begin() + it->position(), '\n');
                    size_t eol = text.find('\n', it->position());
                    found.insert(file + ":" + std::to_string(line) + ": " +
                                 text.substr(it->position(), eol == std::string::npos ? eol : eol - it->position()));
                }
            }
        }
    }
    for (const std::string& f : found)
        ADD_FAILURE() << "a toolkit resource loaded by number: " << f;
}

TEST(ToolkitResourceIds, TheEditorsOwnResourcesLeaveThemFree)
{
    // This program carries the editor's part of the script alone.
    ASSERT_FALSE(restest::LoadText(AFX_IDS_IDLEMESSAGE).empty());
    ASSERT_NE(FindResourceA(restest::Module(), MAKEINTRESOURCEA(IDR_MAINFRAME), RT_MENU), nullptr);
    for (const ToolkitResource& r : kToolkitResources)
        EXPECT_FALSE(Holds(restest::Module(), r)) << "the editor's resources use " << Describe(r);
}

TEST_F(ToolkitResources, StringsHaveTheToolkitsTexts)
{
    struct Case {
        UINT id;
        const char* text;
    };
    const Case cases[] = {
        {QX_IDS_TOOLBAR_CHANGED, "Due to a software update the toolbar '%s' has changed. Would you like to reset your "
                                 "customized toolbar and load the new one?"},
        {QX_IDS_ACTIVE_FILES, "Active Files"},
        {QX_IDS_EDITLIST_NEW, "New"},
        {QX_IDS_EDITLIST_DELETE, "Delete"},
        {QX_IDS_EDITLIST_UP, "Move Up"},
        {QX_IDS_EDITLIST_DOWN, "Move Down"},
        {QX_IDS_SELECT_DIRECTORY, "Select Directory:"},
        {QX_IDS_BROWSE_CAPTION, "..."},
        {QX_IDS_DEFAULT_EXTENSION, "*.*"},
        {QX_IDS_ALL_FILES_FILTER, "All Files (*.*)|*.*||"},
        {QX_IDS_DIRECTORY_NAME, "Directory name:"},
        {QX_IDS_DIRECTORIES, "Directories:"},
        {QX_IDS_TAB_SCROLL_LEFT, "Scroll Left"},
        {QX_IDS_TAB_SCROLL_RIGHT, "Scroll Right"},
        {QX_IDS_TAB_CLOSE, "Close"},
        {QX_IDS_EDITOR_PENCIL, "\nPencil"},
        {QX_IDS_EDITOR_FILL, "\nFill Color"},
        {QX_IDS_EDITOR_PICK, "\nPick Color"},
        {QX_IDS_EDITOR_LINE, "\nLine"},
        {QX_IDS_EDITOR_RECTANGLE, "\nRectangle"},
        {QX_IDS_EDITOR_ELLIPSE, "\nEllipse"},
        {QX_IDS_EDITOR_COPY, "\nCopy"},
        {QX_IDS_EDITOR_PASTE, "\nPaste"},
        {QX_IDS_EDITOR_CLEAR, "\nClear"},
        {QX_IDS_EDITOR_UNDO, "\nUndo"},
        {QX_IDS_EDITOR_REDO, "\nRedo"},
        {QX_IDS_EDITOR_IMPORT, "\nImport from File"},
        {QX_IDS_TOOLBAR_EXPAND, "\nToolbar Options"},
        {QX_IDS_TOOLBAR_CLOSE, "\nClose"},
        {QX_IDS_CUSTOMIZE_CLOSE, "Close"},
        {QX_IDS_CUSTOMIZE, "Customize"},
        {QX_IDS_NEW_MENU, "New Menu"},
        {QX_IDS_CUSTOM_TOOLBAR_NAME, "Custom %d"},
        {QX_IDS_TOOLBAR_NAME_BLANK, "The toolbar name cannot be blank. Type a name."},
        {QX_IDS_TOOLBAR_LIMIT, "Sorry you have reached your limit."},
        {QX_IDS_TOOLBAR_NAME_EXISTS, "A toolbar named '%s' already exists. Type another name."},
        {QX_IDS_RENAME_TOOLBAR, "Rename Toolbar"},
        {QX_IDS_CONFIRM_DELETE_TOOLBAR, "Are you sure you want to delete the '%s' toolbar?"},
        {QX_IDS_ALL_COMMANDS, "All Commands"},
        {QX_IDS_CONFIRM_RESET_USAGE,
         "This will delete the record of the commands you've used in this application and restore the default set "
         "of visible commands to the menus and toolbars.  It will not undo any explicit customizations.   Are you "
         "sure you want to do this?"},
        {QX_IDS_CONFIRM_RESET_TOOLBAR, "Are you sure you want to reset the changes made to the '%s' toolbar?"},
        {QX_IDS_BUILTIN_MENUS, "Built-in Menus"},
        {QX_IDS_CONFIRM_RESET_KEYS, "Are you sure you want to reset the key assignments?  This action will remove "
                                    "all custom key assignments at the text level."},
        {QX_IDS_CONFIRM_REASSIGN_KEY, "This shortcut is currently assigned.\nDo you want to re-assign this shortcut?"},
        {QX_IDS_PICTURE_FILTER,
         "All Picture Files|*.bmp;*.wmf;*.emf;*.ico;*.dib;*.cur;*.gif;*.jpg|Bitmaps(*.Bmp;*.Dib)|*.bmp;*.dib|"
         "Metafiles(*.Wmf;*.Emf)|*.wmf;*.emf|Icons(*.Ico;*.Cur)|*.ico;*.cur|GIF(*.Gif)|*.gif|JPEG(*.Jpg)|*.jpg|All "
         "Files(*.*)|*.*||"},
        {QX_IDS_ANIMATION_SYSTEM, "(System default)"},
        {QX_IDS_ANIMATION_RANDOM, "Random"},
        {QX_IDS_ANIMATION_UNFOLD, "Unfold"},
        {QX_IDS_ANIMATION_SLIDE, "Slide"},
        {QX_IDS_ANIMATION_FADE, "Fade"},
        {QX_IDS_ANIMATION_NONE, "None"},
        {QX_IDS_RIBBON_QAT_CUSTOMIZE, "\nCustomize Quick Access Toolbar"},
        {QX_IDS_RIBBON_QAT_MORE, "\nMore controls"},
        {QX_IDS_RIBBON_QAT_RESET, "Are you sure you want to restore the Quick Access Toolbar to its default contents?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(restest::LoadText(c.id, s_program), c.text) << c.id;
}

TEST_F(ToolkitResources, TheEditMenuOffersTheEditCommands)
{
    HMENU menu = LoadMenuA(s_program, MAKEINTRESOURCEA(QX_IDR_EDIT_MENU));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    // The second popup is the edit control's context menu.
    std::vector<restest::MenuEntry> items = restest::PopupItems(GetSubMenu(menu, 1));
    struct Item {
        const char* text;
        UINT id;
    };
    const Item expected[] = {{"&Undo", QX_ID_EDIT_UNDO}, {"", 0}, {"Cu&t", QX_ID_EDIT_CUT}, {"&Copy", QX_ID_EDIT_COPY}, {"&Paste", QX_ID_EDIT_PASTE}, {"&Delete", QX_ID_EDIT_CLEAR}, {"", 0}, {"Select &All", QX_ID_EDIT_SELECT_ALL}};
    ASSERT_EQ(items.size(), std::size(expected));
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].separator, expected[i].id == 0) << i;
        EXPECT_EQ(items[i].id, expected[i].id) << i;
        EXPECT_EQ(items[i].text, expected[i].text) << i;
    }
    DestroyMenu(menu);

    // Its pictures: a toolbar of the commands it shows with pictures, over a
    // strip of one 16x16 picture per command on the mask colour.
    restest::Toolbar bar;
    ASSERT_TRUE(restest::LoadToolbar(QX_IDR_EDIT_MENU_ICONS, &bar, s_program));
    EXPECT_EQ(bar.version, 1);
    EXPECT_EQ(bar.width, 16);
    EXPECT_EQ(bar.height, 16);
    EXPECT_EQ(bar.items, (std::vector<WORD>{QX_ID_EDIT_UNDO, QX_ID_EDIT_CUT, QX_ID_EDIT_COPY, QX_ID_EDIT_PASTE,
                                            QX_ID_EDIT_CLEAR}));
    restest::Bitmap strip;
    ASSERT_TRUE(strip.Load(QX_IDR_EDIT_MENU_ICONS, s_program));
    EXPECT_EQ(strip.info.bmWidth, 16 * 5);
    EXPECT_EQ(strip.info.bmHeight, 16);
    EXPECT_EQ(strip.TopLeft(), kMagenta);
}

TEST_F(ToolkitResources, GlyphStripsLoadTheWayTheBrowseControlsUseThem)
{
    struct Case {
        UINT id;
        int width, height, count;
    };
    const Case cases[] = {{QX_IDB_BROWSE_ARROWS, 11, 11, 8}, {QX_IDB_EDITLIST_STRIP, 14, 12, 4}};
    for (const Case& c : cases) {
        restest::Bitmap strip;
        ASSERT_TRUE(strip.Load(c.id, s_program)) << c.id;
        EXPECT_EQ(strip.info.bmWidth, c.width * c.count) << c.id;
        EXPECT_EQ(strip.info.bmHeight, c.height) << c.id;
        for (int i = 0; i < c.count; ++i) {
            // Each glyph sits on the mask colour and draws something.
            EXPECT_EQ(strip.Pixel(i * c.width, 0), kMagenta) << c.id << " glyph " << i;
            int drawn = 0;
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x)
                    drawn += strip.Pixel(i * c.width + x, y) != kMagenta;
            EXPECT_GT(drawn, 4) << c.id << " glyph " << i;
        }
        // As the controls load it: a masked image list of that many images.
        HIMAGELIST list = ImageList_Create(c.width, c.height, ILC_COLOR24 | ILC_MASK, c.count, 0);
        HBITMAP bitmap = LoadBitmapA(s_program, MAKEINTRESOURCEA(c.id));
        ASSERT_NE(bitmap, nullptr) << c.id;
        ImageList_AddMasked(list, bitmap, kMagenta);
        EXPECT_EQ(ImageList_GetImageCount(list), c.count) << c.id;
        DeleteObject(bitmap);
        ImageList_Destroy(list);
    }

    // The browse button's arrow (image 4) points right: its tip column is
    // the rightmost drawn one and holds a single pixel.
    restest::Bitmap arrows;
    ASSERT_TRUE(arrows.Load(QX_IDB_BROWSE_ARROWS, s_program));
    std::vector<int> column(11, 0);
    for (int x = 0; x < 11; ++x)
        for (int y = 0; y < 11; ++y)
            column[x] += arrows.Pixel(4 * 11 + x, y) != kMagenta;
    int last = 10;
    while (last > 0 && column[last] == 0)
        --last;
    EXPECT_EQ(column[last], 1);
    EXPECT_GT(column[last - 2], column[last - 1]);
    EXPECT_GT(column[last - 1], column[last]);
}

TEST_F(ToolkitResources, CursorsAre32PixelsWithTheirHotSpotInside)
{
    for (const ToolkitResource& r : kToolkitResources) {
        if (r.type != RT_GROUP_CURSOR)
            continue;
        HCURSOR cursor = static_cast<HCURSOR>(
            LoadImageA(s_program, MAKEINTRESOURCEA(r.id), IMAGE_CURSOR, 32, 32, LR_DEFAULTCOLOR));
        ASSERT_NE(cursor, nullptr) << Describe(r);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor, &info)) << Describe(r);
        EXPECT_FALSE(info.fIcon) << Describe(r);
        EXPECT_LT(info.xHotspot, 32u) << Describe(r);
        EXPECT_LT(info.yHotspot, 32u) << Describe(r);
        BITMAP mask = {};
        GetObjectA(info.hbmMask, sizeof(mask), &mask);
        EXPECT_EQ(mask.bmWidth, 32) << Describe(r);
        // Something is drawn: the mask is not transparent everywhere.
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, info.hbmMask);
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                opaque += GetPixel(dc, x, y) == RGB(0, 0, 0);
        SelectObject(dc, old);
        DeleteDC(dc);
        EXPECT_GT(opaque, 30) << Describe(r);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyCursor(cursor);
    }
}

TEST_F(ToolkitResources, TheRibbonsQuickAccessMenusOfferTheirCommands)
{
    struct Item {
        const char* text;
        UINT id;
    };
    struct Case {
        UINT menu;
        std::vector<Item> items;
    };
    const Case cases[] = {
        {QX_IDR_RIBBON_QAT_CUSTOMIZE,
         {{"&Customize Quick Access Toolbar", QX_ID_RIBBON_QAT_HEADING},
          {"[Commands]", QX_ID_RIBBON_QAT_COMMANDS},
          {"&More Commands...", QX_ID_RIBBON_QAT_MORE_COMMANDS},
          {"&Show Below the Ribbon", QX_ID_RIBBON_QAT_SHOW_BELOW},
          {"&Show Above the Ribbon", QX_ID_RIBBON_QAT_SHOW_ABOVE},
          {"", 0},
          {"Mi&nimize the Ribbon", QX_ID_RIBBON_MINIMIZE}}},
        {QX_IDR_RIBBON_QAT_CONTEXT,
         {{"&Remove from Quick Access Toolbar", QX_ID_RIBBON_QAT_REMOVE},
          {"&Add to Quick Access Toolbar", QX_ID_RIBBON_QAT_ADD},
          {"&Customize Quick Access Toolbar...", QX_ID_RIBBON_QAT_CUSTOMIZE},
          {"", 0},
          {"&Show Quick Access Toolbar Below the Ribbon", QX_ID_RIBBON_QAT_BELOW},
          {"&Show Quick Access Toolbar Above the Ribbon", QX_ID_RIBBON_QAT_ABOVE},
          {"", 0},
          {"Mi&nimize the Ribbon", QX_ID_RIBBON_MINIMIZE}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menu);
        HMENU menu = LoadMenuA(s_program, MAKEINTRESOURCEA(c.menu));
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(GetMenuItemCount(menu), 1);
        std::vector<restest::MenuEntry> items = restest::PopupItems(GetSubMenu(menu, 0));
        ASSERT_EQ(items.size(), c.items.size());
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].separator, c.items[i].id == 0) << i;
            EXPECT_EQ(items[i].id, c.items[i].id) << i;
            EXPECT_EQ(items[i].text, c.items[i].text) << i;
        }
        char caption[32] = {};
        GetMenuStringA(menu, 0, caption, sizeof(caption), MF_BYPOSITION);
        EXPECT_STREQ("Quick Access", caption);
        DestroyMenu(menu);
    }
}

} // namespace
