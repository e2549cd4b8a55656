// The fixture of the end-to-end tests: every test runs the real Qmate.exe
// with a fresh settings key and a fresh, empty per-user folder (the program
// fills it at start, as after an installation), and drives it from the
// outside (window messages, key strokes, the registry and the files it
// writes).
#pragma once

#include <qmtest/qmatedriver.h>

#include <commctrl.h>

#include "qmate_handover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

using qmtest::RemoteScintilla;

// Command ids of the framework's standard commands the tests send.
enum : UINT {
    kCmdFileSaveAs = 57604,
    kCmdToolWindow = 59590,
};

// Line-ending choices of the save dialog and encoding codes of the editor.
enum Encoding {
    kUtf8 = 0,
    kUtf16Le = 1,
    kUtf16Be = 2,
    kAnsi = 3
};
enum LineEnding {
    kCrLf = 0,
    kCr = 1,
    kLf = 2
};

inline std::string Slashes(std::string s)
{
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

inline std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](char c) { return static_cast<char>(tolower((unsigned char)c)); });
    return s;
}

inline std::string Hex(const std::string& bytes, size_t max = 96)
{
    std::string out;
    char b[4];
    for (size_t i = 0; i < bytes.size() && i < max; ++i) {
        snprintf(b, sizeof(b), "%02X ", static_cast<unsigned char>(bytes[i]));
        out += b;
    }
    if (bytes.size() > max)
        out += "...";
    return out;
}

// The path a file dialog or a title shows for a file: the long form.
inline std::string LongPath(const std::string& path)
{
    char buf[MAX_PATH * 2] = "";
    DWORD n = GetLongPathNameA(path.c_str(), buf, sizeof(buf));
    return n > 0 && n < sizeof(buf) ? std::string(buf, n) : path;
}

// Entry n (from 1) of the recent-file list in the settings; empty when absent.
inline std::string RecentEntry(int n)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!qmtest::ReadRegistryValue(HKEY_CURRENT_USER, QM_REGKEY_APP "\\Recent File List", "File" + std::to_string(n),
                                   type, data) ||
        type != REG_SZ)
        return std::string();
    return std::string(reinterpret_cast<const char*>(data.data()), strnlen((const char*)data.data(), data.size()));
}

// The registry key of a settings section of the program.
inline std::string SettingsKey(const char* section) { return std::string(QM_REGKEY_APP) + "\\" + section; }

// A number of a settings section; dflt when it is missing or no number.
inline DWORD ReadSettingDword(const char* section, const char* name, DWORD dflt)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!qmtest::ReadRegistryValue(HKEY_CURRENT_USER, SettingsKey(section), name, type, data) || type != REG_DWORD ||
        data.size() != 4)
        return dflt;
    return *reinterpret_cast<const DWORD*>(data.data());
}

// A text of a settings section; "<none>" when it is missing or no text.
inline std::string ReadSettingString(const char* section, const char* name)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!qmtest::ReadRegistryValue(HKEY_CURRENT_USER, SettingsKey(section), name, type, data) || type != REG_SZ)
        return "<none>";
    std::string text(data.begin(), data.end());
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

class QmateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // QM_QMATE_EXE may name another build's program (with its DLLs beside it).
        char other[MAX_PATH] = "";
        if (GetEnvironmentVariableA("QM_QMATE_EXE", other, sizeof(other)) > 0 && other[0])
            m_exe = Slashes(other);
        else
            m_exe = Slashes(QM_BIN_DIR "/Qmate.exe");
        // The tests are configured with the editor: a missing program is a
        // broken build, never a reason to skip.
        ASSERT_NE(GetFileAttributesA(m_exe.c_str()), INVALID_FILE_ATTRIBUTES) << "Qmate.exe was not built: " << m_exe;
        m_dir = std::make_unique<qmtest::TempDir>("qm-e2e");
        m_work = LongPath(m_dir->Path());
        m_local = std::make_unique<qmtest::ScopedLocalAppData>(m_work + "\\Local");
        m_settings = std::make_unique<qmtest::ScopedRegistryTree>(HKEY_CURRENT_USER, QM_REGKEY_APP);
    }

    // The per-user data folder of this test ("Local\Fernbright\Quillmate"):
    // empty until the program makes it.
    std::string UserFolder(const std::string& sub = std::string()) const
    {
        std::string folder = m_work + "\\Local\\Fernbright\\Quillmate";
        return sub.empty() ? folder : folder + "\\" + sub;
    }

    void TearDown() override
    {
        // A program left running by a failed test must not write its
        // settings into the next test's key.
        m_prog.Kill();
        m_settings.reset();
        m_local.reset();
        m_dir.reset();
    }

    std::string File(const std::string& name) const { return m_work + "\\" + name; }

    std::string WriteFile(const std::string& name, const std::string& bytes) const
    {
        std::string path = File(name);
        EXPECT_TRUE(qmtest::WriteWholeFile(path, bytes)) << path;
        return path;
    }

    // Starts Qmate.exe with the given arguments and waits for its main frame
    // and for its message loop to wait for input.
    HWND Start(const std::string& args = std::string())
    {
        // The pointer out of the program's way (the display is shared with
        // the tests before): a window that opens under it takes it for the
        // user's mouse, and the status line shows what a button under it does.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        if (!m_prog.Start(m_exe, args, m_work)) {
            ADD_FAILURE() << "cannot start " << m_exe << " in " << m_work << ": error " << GetLastError();
            return nullptr;
        }
        HWND main = m_prog.WaitForMainWindow(QM_MAINFRAME_CLASS, 60000);
        if (!main) {
            ADD_FAILURE() << "Qmate.exe showed no window of class " QM_MAINFRAME_CLASS
                          << (m_prog.Running() ? "" : " and ended with code ") << m_prog.ExitCode();
            return nullptr;
        }
        m_prog.WaitForInputIdle(30000);
        return main;
    }

    // Closes the main frame and waits for the program to end.
    bool Close()
    {
        bool ended = m_prog.Close(30000);
        if (!ended) {
            HWND other = m_prog.FindOtherWindow();
            ADD_FAILURE() << "Qmate.exe did not end after WM_CLOSE"
                          << (other ? " (a window is open: \"" + qmtest::WindowTextOf(other) + "\")" : std::string());
            m_prog.Kill();
        }
        return ended;
    }

    // Closes the main frame and answers "No" to any save prompt.
    bool CloseDiscarding()
    {
        PostMessageA(Main(), WM_CLOSE, 0, 0);
        qmtest::WaitUntil(
            [&] {
                if (HWND box = m_prog.FindOtherWindow("#32770"))
                    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
                return !m_prog.Running();
            },
            30000, 200);
        return Close();
    }

    // The texts of the static controls of a dialog or message box.
    static std::string DialogText(HWND dlg)
    {
        std::string all;
        for (HWND h : qmtest::DescendantsOfClass(dlg, "Static"))
            all += qmtest::WindowTextOf(h) + " ";
        return all;
    }

    HWND Main() const { return m_prog.MainWindow(); }

    // A property sheet of the program: shows page n and returns its window.
    static HWND ShowPage(HWND sheet, int n)
    {
        SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(n), 0);
        return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }

    // Selects a combo entry by its text and tells the page.
    static bool ChooseComboText(HWND page, int id, const char* text)
    {
        HWND combo = GetDlgItem(page, id);
        LRESULT i = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        if (i < 0)
            return false;
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        return true;
    }

    // Selects a list entry by its text and tells the page.
    static bool ChooseListText(HWND page, int id, const char* text)
    {
        HWND list = GetDlgItem(page, id);
        LRESULT i = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        if (i < 0)
            return false;
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        return true;
    }

    // A visible top-level dialog of the program with this caption.
    HWND WaitDialog(const std::string& caption, DWORD timeoutMs = 10000)
    {
        HWND found = nullptr;
        qmtest::WaitUntil(
            [&] {
                for (HWND h : qmtest::TopLevelWindowsOf(m_prog.Pid()))
                    if (qmtest::WindowClassOf(h) == "#32770" && qmtest::WindowTextOf(h) == caption) {
                        found = h;
                        return true;
                    }
                return false;
            },
            timeoutMs);
        return found;
    }

    // The message box the program shows (caption "Quillmate" unless
    // named): its text, then it is answered with OK.
    std::string TakeMessage(const std::string& caption = "Quillmate", DWORD timeoutMs = 10000)
    {
        HWND box = WaitDialog(caption, timeoutMs);
        if (!box)
            return "<no message>";
        std::string text = DialogText(box);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        qmtest::WaitUntil([&] { return !IsWindow(box); }, 5000);
        return text;
    }

    // The editing windows of the documents (below the MDI client when
    // there is one), visible ones only.
    std::vector<HWND> Editors() const
    {
        HWND main = Main();
        if (!main)
            return {};
        HWND client = qmtest::FirstDescendantOfClass(main, "MDIClient");
        return qmtest::DescendantsOfClass(client ? client : main, "Scintilla", true);
    }

    // Waits for an editing window whose text is text. It fails when the
    // program shows no editing window at all, and when its windows hold
    // another text (it shows what they hold).
    static constexpr ULONGLONG kNoEditorMs = 8000;
    RemoteScintilla EditorHolding(const std::string& text, DWORD timeoutMs = 20000)
    {
        RemoteScintilla found;
        bool any = false;
        std::vector<std::string> seen;
        ULONGLONG start = GetTickCount64();
        qmtest::WaitUntil(
            [&] {
                // A document window shows up within seconds; a program
                // with none after that has no editing window at all.
                if (!any && GetTickCount64() - start > kNoEditorMs)
                    return true;
                seen.clear();
                for (HWND h : Editors()) {
                    any = true;
                    RemoteScintilla ed(h);
                    std::string t = ed.Text();
                    if (t == text) {
                        found = ed;
                        return true;
                    }
                    seen.push_back(t);
                }
                return false;
            },
            timeoutMs, 50);
        if (!found && !any) {
            ADD_FAILURE() << "Qmate.exe shows no editing window (no visible Scintilla window) within "
                          << kNoEditorMs << " ms; windows: " << CaptionList();
        } else if (!found) {
            std::string all;
            for (auto& s : seen)
                all += "\n  [" + s.substr(0, 200) + "]";
            ADD_FAILURE() << "no editing window holds [" << text.substr(0, 200) << "]; they hold:" << all;
        }
        return found;
    }

    // Texts of the main frame and of every MDI child frame.
    std::vector<std::string> Captions() const
    {
        std::vector<std::string> out;
        if (!Main())
            return out;
        out.push_back(qmtest::WindowTextOf(Main()));
        if (HWND client = qmtest::FirstDescendantOfClass(Main(), "MDIClient"))
            for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                out.push_back(qmtest::WindowTextOf(child));
        return out;
    }

    bool AnyCaptionContains(const std::string& part) const
    {
        for (auto& c : Captions())
            if (c.find(part) != std::string::npos)
                return true;
        return false;
    }

    std::string CaptionList() const
    {
        std::string all;
        for (auto& c : Captions())
            all += "[" + c + "] ";
        return all;
    }

    void PostCommand(UINT id) const { PostMessageA(Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // Opens a menu of the menu bar from the keyboard (the program in front,
    // Alt, then the menu's mnemonic); the popup's window, or null.
    HWND OpenMenuFromKeyboard(WORD mnemonic)
    {
        if (!qmtest::BringToForeground(Main()))
            return nullptr;
        qmtest::SendChord({VK_MENU});
        Sleep(300);
        qmtest::SendChord({mnemonic});
        HWND popup = nullptr;
        qmtest::WaitUntil([&] { return (popup = m_prog.FindOtherWindow()) != nullptr; }, 5000);
        return popup;
    }

    // The main frame's status bar (control id AFX_IDW_STATUS_BAR) and the
    // text of one of its panes (0: messages, 1: caret, 2: typing mode).
    HWND StatusBar() const
    {
        for (HWND h : qmtest::DescendantsOfClass(Main(), "", true))
            if (static_cast<UINT>(GetDlgCtrlID(h)) == 0xE801)
                return h;
        return nullptr;
    }
    std::string StatusPane(int pane) const
    {
        HWND bar = StatusBar();
        return bar ? qmtest::SendForText(bar, SB_GETTEXTA, static_cast<WPARAM>(pane), 512) : std::string();
    }

    // Gives the keyboard focus to an editing window (see qmtest::FocusEditingWindow).
    bool FocusEditor(const RemoteScintilla& ed) const { return qmtest::FocusEditingWindow(Main(), ed); }

    // The file name box of a file dialog: Explorer-style dialogs keep the
    // name in combo box 1148 (older: edit 1152); null when it has none.
    static HWND FileNameBox(HWND dlg)
    {
        HWND name = nullptr;
        for (HWND h : qmtest::DescendantsOfClass(dlg, "")) {
            int id = GetDlgCtrlID(h);
            if (id == 1148 && qmtest::WindowClassOf(h) == "ComboBox")
                name = qmtest::FirstDescendantOfClass(h, "Edit");
            if (!name && id == 1152 && qmtest::WindowClassOf(h) == "Edit")
                name = h;
        }
        return name;
    }

    // Fills the program's Save As dialog (file name, encoding, line ending)
    // and confirms it; false with the reason in why when that fails.
    bool DriveSaveDialog(const std::string& path, int encoding, int lineEnding, std::string& why)
    {
        HWND dlg = nullptr;
        qmtest::WaitUntil([&] { return (dlg = m_prog.FindOtherWindow("#32770")) != nullptr; }, 15000);
        if (!dlg) {
            why = "no save dialog appeared";
            return false;
        }
        HWND name = FileNameBox(dlg);
        if (!name) {
            why = "the save dialog has no file name box";
            return false;
        }
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        struct Choice {
            int id;
            int value;
            const char* what;
        } choices[] = {{802, encoding, "encoding"}, {1017, lineEnding, "line-ending"}};
        for (const Choice& c : choices) {
            HWND combo = nullptr;
            for (HWND h : qmtest::DescendantsOfClass(dlg, "ComboBox"))
                if (GetDlgCtrlID(h) == c.id)
                    combo = h;
            if (!combo) {
                why = std::string("the save dialog has no ") + c.what + " list (control " + std::to_string(c.id) + ")";
                return false;
            }
            SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(c.value), 0);
            SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(c.id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        }
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
        if (!qmtest::WaitUntil([&] { return !IsWindow(dlg); }, 15000)) {
            HWND other = m_prog.FindOtherWindow();
            why = "the save dialog stayed open" +
                  (other && other != dlg ? " (window \"" + qmtest::WindowTextOf(other) + "\")" : std::string());
            return false;
        }
        return true;
    }

    // Waits until a file holds exactly the expected bytes; returns its content.
    std::string WaitForFile(const std::string& path, const std::string& expected, DWORD timeoutMs = 10000) const
    {
        std::string got;
        qmtest::WaitUntil([&] { return (got = qmtest::ReadWholeFile(path)) == expected; }, timeoutMs, 50);
        return got;
    }

    std::string m_exe;
    std::string m_work;
    std::unique_ptr<qmtest::TempDir> m_dir;
    std::unique_ptr<qmtest::ScopedLocalAppData> m_local;
    std::unique_ptr<qmtest::ScopedRegistryTree> m_settings;
    qmtest::ProgramUnderTest m_prog;
};

// Ends a test that found no editing window: with a failure, never a skip.
// (EditorHolding has already said why; anything else that yields no window
// fails here.)
#define E2E_REQUIRE_EDITOR(ed) \
    do { \
        if (!(ed)) { \
            if (::testing::Test::HasFailure()) \
                return; \
            FAIL() << "Qmate.exe shows no editing window"; \
        } \
    } while (0)

} // namespace e2e
