// Toolbars, bitmaps and icons: every toolbar resource parses in the layout
// resource.h describes, its strip has one picture per button, the strips
// load into image lists the way the panes and trees use them, and every icon
// offers the sizes the program asks for.
#include "restest.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct ToolbarCase {
    UINT id;
    WORD size;                  // button width and height
    std::vector<WORD> required; // ids that must be on the bar, in this order
    bool exactly;               // the bar holds exactly these buttons
};

const ToolbarCase kToolbars[] = {
    {IDR_TOOLBAR_MAIN, 16, {ID_FIND_BOX}, false},
    {IDR_TOOLBAR_LARGE, 24, {}, false},
    {IDR_TOOLBAR_MENU_ICONS, 16, {}, false},
    {IDR_TOOLBAR_PREVIEW, 16, {AFX_ID_PREVIEW_PRINT, AFX_ID_PREVIEW_NUMPAGE, ID_PREVIEW_ONEPAGE, ID_PREVIEW_TWOPAGE, AFX_ID_PREVIEW_CLOSE}, false},
    {IDR_TOOLBAR_PREVIEW_BAR, 16, {AFX_ID_PREVIEW_PRINT, AFX_ID_PREVIEW_CLOSE}, false},
    {IDR_TOOLBAR_PROJECT, 16, {ID_WORKSPACE_ADD_FOLDER, ID_WORKSPACE_DELETE_FOLDER, ID_WORKSPACE_RENAME_FOLDER}, true},
    {IDR_TOOLBAR_FILETREE, 16, {ID_VIEW_REFRESH_FILE_TREE}, true},
};

TEST(Toolbars, ResourcesParseAndTheirStripsFit)
{
    for (const ToolbarCase& c : kToolbars) {
        restest::Toolbar bar;
        ASSERT_TRUE(restest::LoadToolbar(c.id, &bar)) << "toolbar " << c.id;
        EXPECT_EQ(bar.version, QM_TOOLBAR_VERSION) << c.id;
        EXPECT_EQ(bar.width, c.size) << c.id;
        EXPECT_EQ(bar.height, c.size) << c.id;
        // The count must describe the resource exactly: no missing or stray words.
        EXPECT_EQ(bar.bytes, (4u + bar.count) * sizeof(WORD)) << "toolbar " << c.id << " count " << bar.count;
        ASSERT_EQ(bar.items.size(), bar.count) << c.id;
        if (!bar.items.empty()) {
            EXPECT_NE(bar.items.front(), 0) << "toolbar " << c.id << " starts with a separator";
            EXPECT_NE(bar.items.back(), 0) << "toolbar " << c.id << " ends with a separator";
        }

        std::vector<WORD> buttons = restest::NonSeparators(bar);
        std::vector<WORD> sorted = buttons;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_TRUE(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end()) << "toolbar " << c.id
                                                                                      << " repeats a button";
        if (c.exactly) {
            EXPECT_EQ(buttons, c.required) << c.id;
        } else {
            auto at = buttons.begin();
            for (WORD want : c.required) {
                at = std::find(at, buttons.end(), want);
                EXPECT_NE(at, buttons.end()) << "toolbar " << c.id << " lacks " << want << " (or has it out of order)";
            }
        }

        restest::Bitmap strip;
        ASSERT_TRUE(strip.Load(c.id)) << "toolbar " << c.id << " has no bitmap";
        EXPECT_EQ(strip.info.bmWidth, LONG(buttons.size() * bar.width)) << "strip of toolbar " << c.id;
        EXPECT_EQ(strip.info.bmHeight, LONG(bar.height)) << "strip of toolbar " << c.id;
        EXPECT_EQ(strip.info.bmBitsPixel, 24) << "strip of toolbar " << c.id;
        // The top-left colour is the transparent one; it must not be a colour
        // the pictures use, magenta by convention.
        EXPECT_EQ(strip.TopLeft(), RGB(255, 0, 255)) << "strip of toolbar " << c.id;
    }
}

// The large pictures serve the same commands as the main toolbar.
TEST(Toolbars, LargePicturesMatchTheMainToolbar)
{
    restest::Toolbar main, large;
    ASSERT_TRUE(restest::LoadToolbar(IDR_TOOLBAR_MAIN, &main));
    ASSERT_TRUE(restest::LoadToolbar(IDR_TOOLBAR_LARGE, &large));
    EXPECT_EQ(restest::NonSeparators(main), restest::NonSeparators(large));
}

// Menu pictures and main toolbar pictures go into one image manager; a
// command with pictures in both would get two different looks.
TEST(Toolbars, MenuPicturesDoNotRepeatToolbarCommands)
{
    restest::Toolbar main, menu;
    ASSERT_TRUE(restest::LoadToolbar(IDR_TOOLBAR_MAIN, &main));
    ASSERT_TRUE(restest::LoadToolbar(IDR_TOOLBAR_MENU_ICONS, &menu));
    std::vector<WORD> onBar = restest::NonSeparators(main);
    for (WORD id : restest::NonSeparators(menu)) {
        EXPECT_EQ(std::find(onBar.begin(), onBar.end(), id), onBar.end()) << "command " << id;
    }
}

struct StripCase {
    UINT id;
    int images;
};

// Pane icons (8, in the order the main frame names its panes) and the two
// tree image lists (4 each) load as 16x16 masked image lists with silver as
// the mask, the way the docking panes and trees load them.
TEST(Bitmaps, PaneAndTreeStripsLoadIntoImageLists)
{
    const StripCase cases[] = {{IDB_PANE_ICONS, 8}, {IDB_PROJECT_TREE, 4}, {IDB_TEMPLATE_TREE, 4}};
    for (const StripCase& c : cases) {
        restest::Bitmap strip;
        ASSERT_TRUE(strip.Load(c.id)) << c.id;
        EXPECT_EQ(strip.info.bmWidth, 16 * c.images) << c.id;
        EXPECT_EQ(strip.info.bmHeight, 16) << c.id;
        EXPECT_EQ(strip.TopLeft(), RGB(192, 192, 192)) << c.id;

        HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, c.images, 1);
        ASSERT_NE(list, nullptr);
        HBITMAP plain = static_cast<HBITMAP>(LoadImageW(restest::Module(), MAKEINTRESOURCEW(c.id), IMAGE_BITMAP, 0, 0, 0));
        ASSERT_NE(plain, nullptr);
        ImageList_AddMasked(list, plain, RGB(192, 192, 192));
        EXPECT_EQ(ImageList_GetImageCount(list), c.images) << c.id;
        DeleteObject(plain);
        ImageList_Destroy(list);
    }
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// Every icon has a 16x16 and a 32x32 image in its directory (the toolkit
// looks for exact sizes), and both load.
TEST(Icons, EachIconHasSmallAndLargeImages)
{
    const UINT icons[] = {IDR_MAINFRAME, IDR_TEXTTYPE, IDR_HEXTYPE, IDR_COMPARETYPE, IDR_PREVIEWTYPE,
                          IDI_FIND, IDI_REPLACE, IDI_GOTO, IDI_MACRO};
    for (UINT id : icons) {
        HRSRC found = FindResourceW(restest::Module(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));
        ASSERT_NE(found, nullptr) << "icon " << id;
        const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(restest::Module(), found)));
        ASSERT_NE(dir, nullptr);
        WORD count = *reinterpret_cast<const WORD*>(dir + 4);
        bool small = false, large = false;
        for (WORD i = 0; i < count; ++i) {
            const GroupIconEntry* e = reinterpret_cast<const GroupIconEntry*>(dir + 6 + i * sizeof(GroupIconEntry));
            small |= e->width == 16 && e->height == 16;
            large |= e->width == 32 && e->height == 32;
        }
        EXPECT_TRUE(small) << "icon " << id;
        EXPECT_TRUE(large) << "icon " << id;
        for (int size : {16, 32}) {
            HICON icon = static_cast<HICON>(LoadImageW(restest::Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            EXPECT_NE(icon, nullptr) << "icon " << id << " at " << size;
            if (icon)
                DestroyIcon(icon);
        }
    }
}

} // namespace
