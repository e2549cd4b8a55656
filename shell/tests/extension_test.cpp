// The Explorer extension driven as Explorer drives it: the library is loaded
// from the build, the object comes from its class factory, and Initialize,
// QueryContextMenu, GetCommandString and InvokeCommand are called with an
// in-test data object. The editor is played by a stand-in "Qmate.exe" that
// records what reaches it; message boxes are real and are read and closed by
// a watcher thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "../common/wide_text.h"
#include "../include/qmate_handover.h"
#include "qmateshell_ids.h"
#include "test_support.h"

#include <qmtest/dropdata.h>
#include <qmtest/process.h>

using namespace qmtest;

namespace {

// ---- the library -----------------------------------------------------------------

struct Library {
    HMODULE module = nullptr;
    HRESULT(STDAPICALLTYPE* getClassObject)
    (REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow)
    () = nullptr;
};

Library& Shell()
{
    static Library lib;
    if (!lib.module) {
        lib.module = LoadLibraryA(BinPath("QmateShell.dll").c_str());
        if (lib.module) {
            lib.getClassObject = reinterpret_cast<decltype(lib.getClassObject)>(
                reinterpret_cast<void*>(GetProcAddress(lib.module, "DllGetClassObject")));
            lib.canUnloadNow = reinterpret_cast<decltype(lib.canUnloadNow)>(
                reinterpret_cast<void*>(GetProcAddress(lib.module, "DllCanUnloadNow")));
        }
    }
    return lib;
}

template <class T>
struct ComPtr {
    T* p = nullptr;
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Reset(); }
    void Reset()
    {
        if (p)
            p->Release();
        p = nullptr;
    }
    T* operator->() const { return p; }
    void** Out()
    {
        Reset();
        return reinterpret_cast<void**>(&p);
    }
};

HRESULT CreateLoad(REFIID riid, void** ppv)
{
    ComPtr<IClassFactory> factory;
    HRESULT hr = Shell().getClassObject(CLSID_QmateShellLoad, IID_IClassFactory, factory.Out());
    if (FAILED(hr))
        return hr;
    return factory->CreateInstance(nullptr, riid, ppv);
}

// ---- message boxes -------------------------------------------------------------------

struct SeenBox {
    std::string title;
    std::string text;
    HICON icon = nullptr;
};

// Reads every message box this process shows, then presses its OK button.
class MessageBoxWatcher {
public:
    MessageBoxWatcher() : m_thread([this] { Run(); }) {}
    ~MessageBoxWatcher()
    {
        m_stop = true;
        m_thread.join();
    }
    std::vector<SeenBox> Boxes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_boxes;
    }

private:
    void Run()
    {
        while (!m_stop) {
            EnumWindows(&MessageBoxWatcher::Visit, reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
    }
    static BOOL CALLBACK Visit(HWND wnd, LPARAM param)
    {
        auto* self = reinterpret_cast<MessageBoxWatcher*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        char cls[64] = {};
        GetClassNameA(wnd, cls, sizeof(cls));
        if (pid != GetCurrentProcessId() || strcmp(cls, "#32770") != 0 || !IsWindowVisible(wnd))
            return TRUE;
        if (std::find(self->m_handled.begin(), self->m_handled.end(), wnd) != self->m_handled.end())
            return TRUE;
        SeenBox box;
        char title[256] = {};
        GetWindowTextA(wnd, title, sizeof(title));
        box.title = title;
        EnumChildWindows(wnd, &MessageBoxWatcher::VisitChild, reinterpret_cast<LPARAM>(&box));
        {
            std::lock_guard<std::mutex> lock(self->m_mutex);
            self->m_boxes.push_back(box);
        }
        self->m_handled.push_back(wnd);
        PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(wnd, IDOK)));
        return TRUE;
    }
    static BOOL CALLBACK VisitChild(HWND child, LPARAM param)
    {
        auto* box = reinterpret_cast<SeenBox*>(param);
        char cls[64] = {};
        GetClassNameA(child, cls, sizeof(cls));
        if (lstrcmpiA(cls, "Static") != 0)
            return TRUE;
        if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            box->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        } else {
            char text[1024] = {};
            GetWindowTextA(child, text, sizeof(text));
            if (strlen(text) > box->text.size())
                box->text = text;
        }
        return TRUE;
    }

    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<SeenBox> m_boxes;
    std::vector<HWND> m_handled;
    std::thread m_thread;
};

// ---- the stand-in editor --------------------------------------------------------------

std::string StandInProgram()
{
    std::string path = QM_STANDIN_EXE;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// A serving stand-in editor process, closed (or, failing that, ended) when
// the test is done with it.
class StandInEditor {
public:
    StandInEditor(const std::string& program, const std::string& record, const std::string& flags)
    {
        static LONG counter = 0;
        char event[96];
        snprintf(event, sizeof(event), "QuillmateStandInReady-%lu-%ld", GetCurrentProcessId(),
                 InterlockedIncrement(&counter));
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, event);
        std::string cmd = "\"" + program + "\" --serve \"" + record + "\" " + event + " " + flags;
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        if (qmtest::StartProcess(nullptr, &cmd[0], FALSE, 0, nullptr, &si, &m_pi))
            m_ready = WaitForSingleObject(ready, 30000) == WAIT_OBJECT_0;
        CloseHandle(ready);
    }
    ~StandInEditor()
    {
        if (!m_pi.hProcess)
            return;
        EnumWindows(&StandInEditor::CloseWindows, static_cast<LPARAM>(m_pi.dwProcessId));
        if (WaitForSingleObject(m_pi.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(m_pi.hProcess, 1);
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }
    bool Ready() const { return m_ready; }

private:
    static BOOL CALLBACK CloseWindows(HWND wnd, LPARAM pid)
    {
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        char cls[64] = {};
        GetClassNameA(wnd, cls, sizeof(cls));
        if (owner == static_cast<DWORD>(pid) && strcmp(cls, QM_MAINFRAME_CLASS) == 0)
            PostMessageA(wnd, WM_CLOSE, 0, 0);
        return TRUE;
    }

    PROCESS_INFORMATION m_pi = {};
    bool m_ready = false;
};

std::vector<std::string> RecordLines(const std::string& path)
{
    std::string text;
    ReadTextFile(path, text);
    return SplitLines(text);
}

size_t CountLines(const std::vector<std::string>& lines, const std::string& prefix)
{
    return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.compare(0, prefix.size(), prefix) == 0;
    }));
}

// The list as the stand-in recorded it: "value <n> type=<t> size=<s> data=<path>".
std::string ValueLine(int index, const std::string& path)
{
    return "value " + std::to_string(index) + " type=1 size=" + std::to_string(path.size() + 1) + " data=" + path;
}

const UINT kFirstId = 100;

// ---- fixture ------------------------------------------------------------------------------

class ExtensionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override
    {
        ASSERT_NE(Shell().module, nullptr) << "QmateShell.dll did not load from " << BinPath();
        ASSERT_NE(Shell().getClassObject, nullptr);
        m_settings = std::make_unique<RegistrySnapshot>(HKEY_CURRENT_USER, QM_REGKEY_APP);
        m_dir = std::make_unique<TempDir>("shellext");
        m_startRecord = m_dir->Path("started.txt");
        SetEnvironmentVariableA("QM_STANDIN_RECORD", m_startRecord.c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("QM_STANDIN_RECORD", nullptr);
        m_dir.reset();
        m_settings.reset();
    }

    // A copy of the stand-in under the given image name, in the test's folder.
    std::string StandInCopy(const std::string& imageName)
    {
        std::string path = m_dir->Path(imageName);
        EXPECT_TRUE(CopyFileA(StandInProgram().c_str(), path.c_str(), FALSE)) << path;
        return path;
    }

    // Builds an object, hands it the names and runs the command, as Explorer
    // does when the user picks "Quillmate".
    HRESULT RunCommand(const std::vector<std::string>& names, bool wide = false)
    {
        ComPtr<IShellExtInit> init;
        HRESULT hr = CreateLoad(IID_IShellExtInit, init.Out());
        if (FAILED(hr))
            return hr;
        qmtest::DropData data(names, wide);
        hr = init->Initialize(nullptr, &data, nullptr);
        if (FAILED(hr))
            return hr;
        ComPtr<IContextMenu> menu;
        hr = init->QueryInterface(IID_IContextMenu, menu.Out());
        if (FAILED(hr))
            return hr;
        HMENU popup = CreatePopupMenu();
        menu->QueryContextMenu(popup, 0, kFirstId, kFirstId + 10, CMF_NORMAL);
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof(info);
        info.lpVerb = MAKEINTRESOURCEA(0);
        info.nShow = SW_SHOWNORMAL;
        hr = menu->InvokeCommand(&info);
        DestroyMenu(popup);
        return hr;
    }

    std::unique_ptr<RegistrySnapshot> m_settings;
    std::unique_ptr<TempDir> m_dir;
    std::string m_startRecord;
};

const std::vector<std::string> kThreeFiles = {
    "C:\\docs\\one.txt",
    "C:\\docs\\two words.cpp",
    "C:\\docs\\" + std::string(280, 'n') + ".h", // longer than MAX_PATH: handed over whole
};

// ---- COM object ---------------------------------------------------------------------------

TEST_F(ExtensionTest, AnswersItsFiveInterfacesWithOneIdentity)
{
    ComPtr<IUnknown> unk;
    ASSERT_EQ(CreateLoad(IID_IUnknown, unk.Out()), S_OK);
    struct Case {
        const IID* iid;
        HRESULT expected;
        const char* name;
    };
    const Case cases[] = {
        {&IID_IUnknown, S_OK, "IUnknown"},
        {&IID_IDispatch, S_OK, "IDispatch"},
        {&IID_QmateShellILoad, S_OK, "ILoad"},
        {&IID_IShellExtInit, S_OK, "IShellExtInit"},
        {&IID_IContextMenu, S_OK, "IContextMenu"},
        {&IID_IContextMenu2, E_NOINTERFACE, "IContextMenu2"},
        {&IID_IClassFactory, E_NOINTERFACE, "IClassFactory"},
        {&IID_IPersistFile, E_NOINTERFACE, "IPersistFile"},
    };
    for (const Case& c : cases) {
        ComPtr<IUnknown> itf;
        EXPECT_EQ(unk->QueryInterface(*c.iid, itf.Out()), c.expected) << c.name;
        if (c.expected == S_OK) {
            ComPtr<IUnknown> identity;
            ASSERT_EQ(itf->QueryInterface(IID_IUnknown, identity.Out()), S_OK) << c.name;
            EXPECT_EQ(identity.p, unk.p) << c.name;
        } else {
            EXPECT_EQ(itf.p, nullptr) << c.name;
        }
    }
}

TEST_F(ExtensionTest, DispatchDescribesILoadFromTheEmbeddedTypeLibrary)
{
    ComPtr<IDispatch> disp;
    ASSERT_EQ(CreateLoad(IID_IDispatch, disp.Out()), S_OK);
    UINT count = 0;
    ASSERT_EQ(disp->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(disp->GetTypeInfo(1, 0, reinterpret_cast<ITypeInfo**>(info.Out())), DISP_E_BADINDEX);
    ASSERT_EQ(disp->GetTypeInfo(0, 0, reinterpret_cast<ITypeInfo**>(info.Out())), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_TRUE(IsEqualGUID(attr->guid, IID_QmateShellILoad));
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    // The seven methods of IDispatch, resolved through the imported automation library.
    EXPECT_EQ(attr->cFuncs, 7);
    info->ReleaseTypeAttr(attr);
    // The dual interface's method table: IDispatch's seven methods, and the
    // base interface taken from the standard automation library.
    HREFTYPE href = 0;
    ASSERT_EQ(info->GetRefTypeOfImplType(-1, &href), S_OK);
    ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(info->GetRefTypeInfo(href, reinterpret_cast<ITypeInfo**>(vtable.Out())), S_OK);
    ASSERT_EQ(vtable->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
    EXPECT_EQ(attr->cFuncs, 0);
    EXPECT_EQ(attr->cbSizeVft, 7 * sizeof(void*));
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
    vtable->ReleaseTypeAttr(attr);
    ASSERT_EQ(vtable->GetRefTypeOfImplType(0, &href), S_OK);
    ComPtr<ITypeInfo> base;
    ASSERT_EQ(vtable->GetRefTypeInfo(href, reinterpret_cast<ITypeInfo**>(base.Out())), S_OK);
    ASSERT_EQ(base->GetTypeAttr(&attr), S_OK);
    EXPECT_TRUE(IsEqualGUID(attr->guid, IID_IDispatch));
    base->ReleaseTypeAttr(attr);
    {
        ComPtr<ITypeLib> baseLib;
        UINT baseIndex = 0;
        ASSERT_EQ(base->GetContainingTypeLib(reinterpret_cast<ITypeLib**>(baseLib.Out()), &baseIndex), S_OK);
        TLIBATTR* stdole = nullptr;
        ASSERT_EQ(baseLib->GetLibAttr(&stdole), S_OK);
        const GUID kStdOle = {0x00020430, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
        EXPECT_TRUE(IsEqualGUID(stdole->guid, kStdOle));
        baseLib->ReleaseTLibAttr(stdole);
    }
    BSTR name = nullptr, doc = nullptr;
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, &doc, nullptr, nullptr), S_OK);
    EXPECT_STREQ(name, L"ILoad");
    EXPECT_STREQ(doc, L"ILoad Interface");
    SysFreeString(name);
    SysFreeString(doc);

    ComPtr<ITypeLib> lib;
    UINT index = 0;
    ASSERT_EQ(info->GetContainingTypeLib(reinterpret_cast<ITypeLib**>(lib.Out()), &index), S_OK);
    TLIBATTR* libAttr = nullptr;
    ASSERT_EQ(lib->GetLibAttr(&libAttr), S_OK);
    EXPECT_TRUE(IsEqualGUID(libAttr->guid, LIBID_QmateShellLib));
    EXPECT_EQ(libAttr->wMajorVerNum, 1);
    EXPECT_EQ(libAttr->wMinorVerNum, 0);
    lib->ReleaseTLibAttr(libAttr);
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(CLSID_QmateShellLoad, reinterpret_cast<ITypeInfo**>(coclass.Out())), S_OK);
    ASSERT_EQ(lib->GetDocumentation(-1, &name, &doc, nullptr, nullptr), S_OK);
    EXPECT_STREQ(name, L"QmateShellLib");
    EXPECT_STREQ(doc, L"QmateShell 1.0 Type Library");
    SysFreeString(name);
    SysFreeString(doc);

    LPOLESTR unknown = const_cast<LPOLESTR>(L"NoSuchMember");
    DISPID id = 0;
    EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, &unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
}

TEST_F(ExtensionTest, LibraryStaysLoadedWhileAnObjectOrALockLives)
{
    ASSERT_NE(Shell().canUnloadNow, nullptr);
    ASSERT_EQ(Shell().canUnloadNow(), S_OK);
    {
        ComPtr<IContextMenu> menu;
        ASSERT_EQ(CreateLoad(IID_IContextMenu, menu.Out()), S_OK);
        EXPECT_EQ(Shell().canUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(Shell().canUnloadNow(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(Shell().getClassObject(CLSID_QmateShellLoad, IID_IClassFactory, factory.Out()), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Reset();
    EXPECT_EQ(Shell().canUnloadNow(), S_FALSE);
    ASSERT_EQ(Shell().getClassObject(CLSID_QmateShellLoad, IID_IClassFactory, factory.Out()), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.Reset();
    EXPECT_EQ(Shell().canUnloadNow(), S_OK);
}

TEST_F(ExtensionTest, ClassFactoryServesOnlyLoad)
{
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(Shell().getClassObject(IID_IContextMenu, IID_IClassFactory, factory.Out()), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(factory.p, nullptr);
    ASSERT_EQ(Shell().getClassObject(CLSID_QmateShellLoad, IID_IClassFactory, factory.Out()), S_OK);
    ComPtr<IUnknown> obj;
    ComPtr<IUnknown> outer;
    ASSERT_EQ(CreateLoad(IID_IUnknown, outer.Out()), S_OK);
    EXPECT_EQ(factory->CreateInstance(outer.p, IID_IUnknown, obj.Out()), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, obj.Out()), E_NOINTERFACE);
}

// ---- Initialize ------------------------------------------------------------------------------

TEST_F(ExtensionTest, InitializeRefusesDataWithoutFileNames)
{
    struct Case {
        const char* what;
        bool offerDrop;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"no CF_HDROP data", false, {"C:\\a.txt"}},
        {"an empty drop", true, {}},
    };
    for (const Case& c : cases) {
        ComPtr<IShellExtInit> init;
        ASSERT_EQ(CreateLoad(IID_IShellExtInit, init.Out()), S_OK);
        qmtest::DropData data(c.names, false, c.offerDrop);
        EXPECT_EQ(init->Initialize(nullptr, &data, nullptr), E_INVALIDARG) << c.what;
        EXPECT_EQ(data.getDataCalls, 1) << c.what;
    }
    ComPtr<IShellExtInit> init;
    ASSERT_EQ(CreateLoad(IID_IShellExtInit, init.Out()), S_OK);
    EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
    qmtest::DropData good({"C:\\a.txt"}, true);
    EXPECT_EQ(init->Initialize(nullptr, &good, nullptr), S_OK);
}

// ---- QueryContextMenu and GetCommandString -------------------------------------------------

TEST_F(ExtensionTest, QueryContextMenuAddsOneItemWithItsBitmapUnlessDefaultOnly)
{
    ComPtr<IContextMenu> menu;
    ASSERT_EQ(CreateLoad(IID_IContextMenu, menu.Out()), S_OK);
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 1, "Open");
    AppendMenuA(popup, MF_STRING, 2, "Print");

    HRESULT hr = menu->QueryContextMenu(popup, 1, kFirstId, kFirstId + 50, CMF_DEFAULTONLY);
    EXPECT_TRUE(SUCCEEDED(hr));
    EXPECT_EQ(HRESULT_CODE(hr), 0);
    EXPECT_EQ(GetMenuItemCount(popup), 2);

    hr = menu->QueryContextMenu(popup, 1, kFirstId, kFirstId + 50, CMF_NORMAL | CMF_EXPLORE);
    EXPECT_TRUE(SUCCEEDED(hr));
    EXPECT_EQ(HRESULT_CODE(hr), 1);
    ASSERT_EQ(GetMenuItemCount(popup), 3);
    char text[64] = {};
    GetMenuStringA(popup, 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "Quillmate");
    EXPECT_EQ(GetMenuItemID(popup, 1), kFirstId);
    EXPECT_EQ(GetMenuItemID(popup, 2), 2u); // the others moved down, untouched

    MENUITEMINFOA item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_CHECKMARKS;
    ASSERT_TRUE(GetMenuItemInfoA(popup, 1, TRUE, &item));
    EXPECT_EQ(item.hbmpChecked, nullptr);
    ASSERT_NE(item.hbmpUnchecked, nullptr);
    BITMAP bm = {};
    ASSERT_EQ(GetObjectA(item.hbmpUnchecked, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 14);
    EXPECT_EQ(bm.bmHeight, 14);
    DestroyMenu(popup);
}

TEST_F(ExtensionTest, GetCommandStringAnswersOnlyHelpText)
{
    ComPtr<IContextMenu> menu;
    ASSERT_EQ(CreateLoad(IID_IContextMenu, menu.Out()), S_OK);
    const std::string help = "Open the selected files in Quillmate";
    struct Case {
        const char* what;
        UINT_PTR command;
        UINT flags;
        UINT size;
        HRESULT expected;
        std::string text; // expected contents; empty: the buffer stays untouched
    };
    const Case cases[] = {
        {"help, ANSI", 0, GCS_HELPTEXTA, 64, S_OK, help},
        {"help, wide", 0, GCS_HELPTEXTW, 64, S_OK, help},
        {"help cut to 10, ANSI", 0, GCS_HELPTEXTA, 10, S_OK, help.substr(0, 9)},
        {"help cut to 10, wide", 0, GCS_HELPTEXTW, 10, S_OK, help.substr(0, 9)},
        {"verb, ANSI", 0, GCS_VERBA, 64, S_OK, ""},
        {"verb, wide", 0, GCS_VERBW, 64, S_OK, ""},
        {"validate", 0, GCS_VALIDATEA, 64, S_OK, ""},
        {"help for another command", 1, GCS_HELPTEXTA, 64, E_INVALIDARG, ""},
    };
    for (const Case& c : cases) {
        bool wide = (c.flags & GCS_UNICODE) != 0;
        std::vector<char> buffer(256, '#');
        HRESULT hr = menu->GetCommandString(c.command, c.flags, nullptr, buffer.data(), c.size);
        EXPECT_EQ(hr, c.expected) << c.what;
        if (c.text.empty()) {
            EXPECT_EQ(std::count(buffer.begin(), buffer.end(), '#'), 256) << c.what;
            continue;
        }
        std::string got;
        if (wide) {
            const wchar_t* w = reinterpret_cast<const wchar_t*>(buffer.data());
            for (size_t i = 0; w[i] && i < 128; ++i)
                got += static_cast<char>(w[i]);
            EXPECT_EQ(buffer[(got.size() + 1) * 2], '#') << c.what << ": wrote past the terminator";
        } else {
            got = buffer.data();
            EXPECT_EQ(buffer[got.size() + 1], '#') << c.what << ": wrote past the terminator";
        }
        EXPECT_EQ(got, c.text) << c.what;
    }
}

// ---- InvokeCommand --------------------------------------------------------------------------

TEST_F(ExtensionTest, InvokeCommandRefusesStringVerbsAndOtherCommands)
{
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", "C:\\earlier.txt"));
    ComPtr<IShellExtInit> init;
    ASSERT_EQ(CreateLoad(IID_IShellExtInit, init.Out()), S_OK);
    qmtest::DropData data({"C:\\a.txt"}, false);
    ASSERT_EQ(init->Initialize(nullptr, &data, nullptr), S_OK);
    ComPtr<IContextMenu> menu;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, menu.Out()), S_OK);
    struct Case {
        const char* what;
        LPCSTR verb;
    };
    const Case cases[] = {{"string verb", "open"}, {"command offset 1", MAKEINTRESOURCEA(1)}};
    for (const Case& c : cases) {
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof(info);
        info.lpVerb = c.verb;
        EXPECT_EQ(menu->InvokeCommand(&info), E_INVALIDARG) << c.what;
    }
    // Nothing was touched: the earlier list is still there.
    std::string value;
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", value));
    EXPECT_EQ(value, "C:\\earlier.txt");
}

class ExtensionHandOverTest : public ExtensionTest, public ::testing::WithParamInterface<const char*> {
};

// The running editor is found by its image name, whatever the case, and only
// its main frame is woken, even with a tool window of the process above it.
TEST_P(ExtensionHandOverTest, WritesTheListAndWakesTheMainFrameOnce)
{
    std::string program = StandInCopy(GetParam());
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_APP, QM_REGVAL_QUILLMATEPATH, program));
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "7", "C:\\left over.txt"));
    std::string record = m_dir->Path("editor.txt");
    StandInEditor editor(program, record, "--decoy");
    ASSERT_TRUE(editor.Ready());
    MessageBoxWatcher boxes;

    EXPECT_EQ(RunCommand(kThreeFiles), S_OK);

    ASSERT_TRUE(WaitFor([&] { return CountLines(RecordLines(record), "0x501") > 0; }, 20000));
    PumpFor(700); // a second message would have arrived by now
    std::vector<std::string> lines = RecordLines(record);
    EXPECT_EQ(CountLines(lines, "0x501 frame"), 1u);
    EXPECT_EQ(CountLines(lines, "0x501 decoy"), 0u);
    auto woken = std::find_if(lines.begin(), lines.end(),
                              [](const std::string& l) { return l.compare(0, 11, "0x501 frame") == 0; });
    ASSERT_NE(woken, lines.end());
    EXPECT_EQ(*woken, "0x501 frame wParam=0 lParam=0 zoomed=1");
    // The list the editor found: exactly the three names, numbered in order.
    std::vector<std::string> list(woken + 1, lines.end());
    list.resize(std::min<size_t>(list.size(), 3));
    EXPECT_EQ(list, (std::vector<std::string>{ValueLine(1, kThreeFiles[0]), ValueLine(2, kThreeFiles[1]),
                                              ValueLine(3, kThreeFiles[2])}));
    EXPECT_FALSE(FileExists(m_startRecord)) << "a second editor was started";
    EXPECT_TRUE(boxes.Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(ImageNames, ExtensionHandOverTest, ::testing::Values("Qmate.exe", "QMATE.EXE"));

TEST_F(ExtensionTest, StartsTheEditorWithoutArgumentsWhenNoneRuns)
{
    std::string program = StandInCopy("Qmate.exe");
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_APP, QM_REGVAL_QUILLMATEPATH, program));
    MessageBoxWatcher boxes;

    EXPECT_EQ(RunCommand(kThreeFiles), S_OK);

    ASSERT_TRUE(WaitFor([&] { return CountLines(RecordLines(m_startRecord), "value 3") > 0; }, 20000));
    std::vector<std::string> lines = RecordLines(m_startRecord);
    EXPECT_EQ(lines, (std::vector<std::string>{"start program=" + program, "start args=[]",
                                               ValueLine(1, kThreeFiles[0]), ValueLine(2, kThreeFiles[1]),
                                               ValueLine(3, kThreeFiles[2])}));
    // The list stays for the editor to read at start-up.
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Only the first editor process found counts: when it shows no main frame, a
// new editor is started rather than another process being woken.
TEST_F(ExtensionTest, StartsANewEditorWhenTheFirstEditorProcessShowsNoFrame)
{
    std::string program = StandInCopy("Qmate.exe");
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_APP, QM_REGVAL_QUILLMATEPATH, program));
    std::string hiddenRecord = m_dir->Path("hidden.txt"), shownRecord = m_dir->Path("shown.txt");
    StandInEditor hidden(program, hiddenRecord, "--hidden");
    ASSERT_TRUE(hidden.Ready());
    StandInEditor shown(program, shownRecord, "");
    ASSERT_TRUE(shown.Ready());

    EXPECT_EQ(RunCommand({"C:\\docs\\one.txt"}), S_OK);

    EXPECT_TRUE(WaitFor([&] { return CountLines(RecordLines(m_startRecord), "start args") > 0; }, 20000));
    PumpFor(500);
    EXPECT_EQ(CountLines(RecordLines(hiddenRecord), "0x501"), 0u);
    EXPECT_EQ(CountLines(RecordLines(shownRecord), "0x501"), 0u);
}

// Explorer runs with the legacy code page (so does this test program), yet a
// name in any language reaches the editor whole: the extension reads the
// selection and writes the list with the wide functions.
TEST_F(ExtensionTest, NamesInAnyLanguageAreHandedOverWhole)
{
    ASSERT_NE(GetACP(), (UINT)CP_UTF8) << "the test runs with the legacy code page, as Explorer does";
    std::string program = StandInCopy("Qmate.exe");
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_APP, QM_REGVAL_QUILLMATEPATH, program));
    std::string record = m_dir->Path("editor.txt");
    StandInEditor editor(program, record, "");
    ASSERT_TRUE(editor.Ready());
    MessageBoxWatcher boxes;

    // Cyrillic, Japanese in a folder name, Greek, and a character outside
    // the basic plane (UTF-8 here, UTF-16 in the drop list).
    const std::vector<std::string> names = {
        "C:\\docs\\\xD0\x96urnal.txt",
        "C:\\\xE6\x97\xA5\xE6\x9C\xAC\\\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.cpp",
        "C:\\docs\\\xCE\xB1\xCE\xB2\xCE\xB3 \xF0\x9F\x98\x80.txt",
    };
    EXPECT_EQ(RunCommand(names, true), S_OK);

    EXPECT_TRUE(boxes.Boxes().empty());
    // The editor reads the list when it is woken (and deletes it then), so
    // the names are checked in what the editor read: its program speaks
    // UTF-8, and every name arrives whole, numbered in order.
    ASSERT_TRUE(WaitFor([&] { return CountLines(RecordLines(record), "0x501") == 1; }, 20000));
    PumpFor(300);
    std::vector<std::string> lines = RecordLines(record);
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string head = "value " + std::to_string(i + 1) + " type=1 ";
        const std::string tail = "data=" + names[i];
        auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.compare(0, head.size(), head) == 0 && l.size() >= tail.size() &&
                   l.compare(l.size() - tail.size(), tail.size(), tail) == 0;
        });
        EXPECT_NE(found, lines.end()) << i << ": " << names[i];
    }
}

TEST_F(ExtensionTest, StartsTheEditorFromAFolderNamedInAnyLanguage)
{
    const std::wstring folder = WideFromUtf8(m_dir->Path()) + L"\\\u65e5\u672c \u03b1\U0001F600";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring program = folder + L"\\Qmate.exe";
    ASSERT_TRUE(CopyFileW(WideFromUtf8(StandInProgram()).c_str(), program.c_str(), FALSE));
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"" QM_REGKEY_APP, L"" QM_REGVAL_QUILLMATEPATH, REG_SZ,
                              program.c_str(), static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    MessageBoxWatcher boxes;

    EXPECT_EQ(RunCommand({"C:\\docs\\one.txt"}, true), S_OK);

    // The stand-in runs with the UTF-8 code page and records its own path.
    ASSERT_TRUE(WaitFor([&] { return CountLines(RecordLines(m_startRecord), "value 1") > 0; }, 20000));
    EXPECT_EQ(RecordLines(m_startRecord).front(), "start program=" + Utf8FromWide(program.c_str()));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// A name that holds '?' was spelled by something that could not spell the
// real character: the whole command is refused.
TEST_F(ExtensionTest, NameWithUnknownCharacterRefusesTheWholeCommand)
{
    std::string program = StandInCopy("Qmate.exe");
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_APP, QM_REGVAL_QUILLMATEPATH, program));
    std::string record = m_dir->Path("editor.txt");
    StandInEditor editor(program, record, "");
    ASSERT_TRUE(editor.Ready());
    MessageBoxWatcher boxes;

    // An 8-bit drop list from a program that could not spell the letter.
    EXPECT_EQ(RunCommand({"C:\\docs\\one.txt", "C:\\docs\\?urnal.txt", "C:\\docs\\three.txt"}, false), S_OK);

    std::vector<SeenBox> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "Quillmate");
    EXPECT_EQ(seen[0].text,
              "The file 'C:\\docs\\?urnal.txt' has an unknown character in its name, and will not be opened.");
    EXPECT_EQ(seen[0].icon, LoadIcon(nullptr, IDI_WARNING));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN));
    PumpFor(700);
    EXPECT_EQ(CountLines(RecordLines(record), "0x501"), 0u);
    EXPECT_FALSE(FileExists(m_startRecord));
}

// Without a usable editor path nothing is written and nothing is started. A
// relative path would be resolved by a search, so it counts as unknown.
TEST_F(ExtensionTest, UnknownEditorPathIsReportedAndNothingIsHandedOver)
{
    struct Case {
        const char* what;
        bool set;
        std::string path;
    };
    const Case cases[] = {
        {"no QuillmatePath", false, ""},
        {"empty QuillmatePath", true, ""},
        {"relative QuillmatePath", true, "Qmate.exe"},
    };
    for (const Case& c : cases) {
        DeleteTree(HKEY_CURRENT_USER, QM_REGKEY_APP);
        if (c.set) {
            ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_APP, QM_REGVAL_QUILLMATEPATH, c.path));
        }
        ASSERT_TRUE(SetString(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN, "1", "C:\\left over.txt"));
        MessageBoxWatcher boxes;

        EXPECT_EQ(RunCommand({"C:\\docs\\one.txt"}), S_OK) << c.what;

        std::vector<SeenBox> seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), 1u) << c.what;
        EXPECT_EQ(seen[0].title, "Quillmate") << c.what;
        EXPECT_EQ(seen[0].text, "Sorry, but I do not know where Quillmate is.  You can fix this problem by "
                                "launching Quillmate.")
            << c.what;
        EXPECT_EQ(seen[0].icon, LoadIcon(nullptr, IDI_INFORMATION)) << c.what;
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, QM_REGKEY_FILESTOOPEN)) << c.what;
    }
    PumpFor(500);
    EXPECT_FALSE(FileExists(m_startRecord));
}

} // namespace
