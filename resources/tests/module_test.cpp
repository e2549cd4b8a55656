// The program-wide records: the manifest that selects version 6 of the
// common controls, the version record, and the numbers behind the names.
#include "restest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The numbers the program's other parts and the framework rely on.
static_assert(ID_FILE_NEW == 57600 && ID_FILE_OPEN == 57601 && ID_FILE_CLOSE == 57602, "");
static_assert(ID_FILE_SAVE == 57603 && ID_FILE_SAVE_AS == 57604, "");
static_assert(ID_FILE_PRINT == 57607 && ID_FILE_PRINT_DIRECT == 57608 && ID_FILE_PRINT_PREVIEW == 57609, "");
static_assert(ID_FILE_SEND_MAIL == 57612 && ID_FILE_MRU_FILE1 == 57616, "");
static_assert(ID_EDIT_CLEAR == 57632 && ID_EDIT_COPY == 57634 && ID_EDIT_CUT == 57635, "");
static_assert(ID_EDIT_FIND == 57636 && ID_EDIT_PASTE == 57637 && ID_EDIT_REPLACE == 57641, "");
static_assert(ID_EDIT_SELECT_ALL == 57642 && ID_EDIT_UNDO == 57643 && ID_EDIT_REDO == 57644, "");
static_assert(ID_WINDOW_ARRANGE == 57649 && ID_WINDOW_CASCADE == 57650 && ID_WINDOW_TILE_HORZ == 57651, "");
static_assert(ID_APP_ABOUT == 57664 && ID_HELP_INDEX == 57666 && ID_HELP_FINDER == 57667, "");
static_assert(ID_CONTEXT_HELP == 57669 && ID_HELP == 57670 && ID_DEFAULT_HELP == 57671, "");
static_assert(ID_INDICATOR_CAPS == 59137 && ID_INDICATOR_NUM == 59138 && ID_INDICATOR_SCRL == 59139, "");
static_assert(AFX_IDS_IDLEMESSAGE == 57345 && AFX_IDS_MDICHILD == 61215, "");
static_assert(AFX_IDP_COMMAND_FAILURE == 61705 && AFX_IDS_HIDE == 61457, "");
static_assert(AFX_ID_PREVIEW_NUMPAGE == 58113 && AFX_ID_PREVIEW_PRINT == 58116, "");
static_assert(AFX_IDW_PANE_FIRST == 59648 && AFX_IDW_TOOLBAR == 0xE800 && AFX_IDW_STATUS_BAR == IDC_STATUS_BAR, "");
static_assert(AFX_IDS_SCFIRST == 0xEF00 && AFX_IDS_SCTASKLIST == AFX_IDS_SCFIRST + (0xF130 - 0xF000) / 16, "");

TEST(Module, ManifestSelectsCommonControlsSix)
{
    HRSRC found = FindResourceW(restest::Module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(restest::Module(), found)));
    ASSERT_NE(text, nullptr);
    std::string manifest(text, SizeofResource(restest::Module(), found));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("asInvoker"), std::string::npos);

    // The loader took it: the process's activation context redirects the
    // common controls library to its version 6 assembly.
    ACTCTX_SECTION_KEYED_DATA data = {};
    data.cbSize = sizeof(data);
    EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll",
                                         &data))
        << "error " << GetLastError();
}

TEST(Module, VersionRecordNamesTheProgram)
{
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, &block[0]));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00030009u);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    struct Field {
        const char* name;
        const char* value;
    };
    const Field fields[] = {{"CompanyName", "Fernbright"},
                            {"ProductName", "Fernbright Quillmate"},
                            {"OriginalFilename", "Qmate.exe"},
                            {"ProductVersion", "3.9"}};
    for (const Field& f : fields) {
        char* value = nullptr;
        std::string key = std::string("\\StringFileInfo\\040904B0\\") + f.name;
        ASSERT_TRUE(VerQueryValueA(&block[0], key.c_str(), reinterpret_cast<void**>(&value), &length)) << f.name;
        EXPECT_STREQ(value, f.value);
    }
}

} // namespace
