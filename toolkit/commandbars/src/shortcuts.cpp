// Keyboard shortcuts of the command bars: tables, texts, key names, the
// stored form and the capture edit.

#include <qx/shortcuts.h>

#include <qx/commandbars.h>
#include <qx/propexchange.h>

#include <fx/frame.h>

#include <cstdlib>
#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CQXPKeyboardShortcuts, CCmdTarget)
IMPLEMENT_DYNAMIC(CQXPShortcutEdit, CEdit)

namespace {

// The fVirt bits an entry may carry.
const BYTE kKnownVirtBits = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;
// More entries than any keyboard has combinations: a stored count above it
// is damage, not a table.
const UINT kMaxEntries = 0x7FFF;
const UINT kEntryBytes = 6;

struct KeyName {
    WORD wKey;
    const char* pszName;
};

// Names of the keys whose layout names differ between keyboards or are
// missing; the digits, letters, F-keys and keypad digits are added in code.
const KeyName kKeyNames[] = {
    {0x01, "Left Button"},
    {0x02, "Right Button"},
    {0x03, "Ctrl+Break"},
    {0x04, "Middle Button"},
    {0x08, "Backspace"},
    {0x09, "Tab"},
    {0x0C, "Clear"},
    {0x0D, "Enter"},
    {0x10, "Shift"},
    {0x11, "Ctrl"},
    {0x12, "Alt"},
    {0x13, "Pause"},
    {0x14, "Caps Lock"},
    {0x1B, "Esc"},
    {0x20, "Space"},
    {0x21, "Page Up"},
    {0x22, "Page Down"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left Arrow"},
    {0x26, "Up Arrow"},
    {0x27, "Right Arrow"},
    {0x28, "Down Arrow"},
    {0x29, "Select"},
    {0x2A, "Print"},
    {0x2B, "Execute"},
    {0x2C, "Snapshot"},
    {0x2D, "Ins"},
    {0x2E, "Del"},
    {0x2F, "Help"},
    {0x5B, "Left Windows"},
    {0x5C, "Right Windows"},
    {0x5D, "Application"},
    {0x6A, "Num *"},
    {0x6B, "Num +"},
    {0x6C, "Separator"},
    {0x6D, "Num -"},
    {0x6E, "Num ."},
    {0x6F, "Num /"},
};

const KeyName kKeyNamesTail[] = {
    {0x90, "Num Lock"},
    {0x91, "Scrl Lock"},
    {0xF6, "Attn"},
    {0xF7, "Crsel"},
    {0xF8, "Exsel"},
    {0xF9, "Ereof"},
    {0xFA, "Play"},
    {0xFB, "Zoom"},
    {0xFC, "No Name"},
    {0xFD, "Pa1"},
    {0xFE, "Oem Clear"},
};

HACCEL BuildTable(const std::vector<ACCEL>& entries)
{
    if (entries.empty())
        return NULL;
    std::vector<ACCEL> copy(entries);
    return ::CreateAcceleratorTableA(copy.data(), (int)copy.size());
}

// The entries of a table handle, fVirt cut to the bits an entry may carry
// (resource tables mark their last entry with 0x80).
std::vector<ACCEL> EntriesOf(HACCEL hAccel)
{
    std::vector<ACCEL> entries;
    if (!hAccel)
        return entries;
    int n = ::CopyAcceleratorTableA(hAccel, NULL, 0);
    if (n <= 0)
        return entries;
    entries.resize((size_t)n);
    n = ::CopyAcceleratorTableA(hAccel, entries.data(), n);
    entries.resize(n > 0 ? (size_t)n : 0);
    for (ACCEL& a : entries)
        a.fVirt &= kKnownVirtBits;
    return entries;
}

} // namespace

// ---------------------------------------------------------------------------
// CQXPKeyboardShortcuts

CQXPKeyboardShortcuts::CQXPKeyboardShortcuts(CQXPCommandBars* pCommandBars)
    : m_bAllowEscapeShortcut(FALSE), m_bUseSystemKeyNameText(FALSE), m_nDisableCounter(0),
      m_bPreviewMode(FALSE), m_pCommandBars(pCommandBars), m_bHaveCurrent(FALSE), m_bHaveDefault(FALSE), m_hAccelTable(NULL)
{
    char sz[8];
    for (WORD c = '0'; c <= '9'; c++) {
        sz[0] = (char)c;
        sz[1] = 0;
        m_mapKeyNames[c] = sz;
    }
    for (WORD c = 'A'; c <= 'Z'; c++) {
        sz[0] = (char)c;
        sz[1] = 0;
        m_mapKeyNames[c] = sz;
    }
    for (const KeyName& k : kKeyNames)
        m_mapKeyNames[k.wKey] = k.pszName;
    for (WORD i = 0; i < 12; i++) {
        CString s;
        s.Format("F%d", i + 1);
        m_mapKeyNames[(WORD)(VK_F1 + i)] = s;
    }
    for (WORD i = 0; i < 10; i++) {
        CString s;
        s.Format("Num %d", i);
        m_mapKeyNames[(WORD)(VK_NUMPAD0 + i)] = s;
    }
    for (const KeyName& k : kKeyNamesTail)
        m_mapKeyNames[k.wKey] = k.pszName;
}

CQXPKeyboardShortcuts::~CQXPKeyboardShortcuts()
{
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
    m_hAccelTable = NULL;
}

void CQXPKeyboardShortcuts::RebuildHandle()
{
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
    m_hAccelTable = m_bHaveCurrent ? BuildTable(m_current) : NULL;
}

BOOL CQXPKeyboardShortcuts::LoadAccelerators(UINT nIDResource)
{
    m_current.clear();
    m_default.clear();
    m_bHaveCurrent = m_bHaveDefault = FALSE;
    RebuildHandle();

    LPCSTR lpszName = MAKEINTRESOURCEA(nIDResource);
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, (LPCSTR)RT_ACCELERATOR);
    if (!hInst || !::FindResourceA(hInst, lpszName, (LPCSTR)RT_ACCELERATOR))
        return FALSE;
    // The resource's table is shared by the module: both tables are copies.
    HACCEL hResource = ::LoadAcceleratorsA(hInst, lpszName);
    if (!hResource)
        return FALSE;
    m_default = EntriesOf(hResource);
    m_current = m_default;
    m_bHaveCurrent = m_bHaveDefault = TRUE;
    RebuildHandle();
    return TRUE;
}

void CQXPKeyboardShortcuts::SetAcceleratorTable(const ACCEL* pEntries, int nCount)
{
    m_current.assign(pEntries, pEntries + (pEntries && nCount > 0 ? nCount : 0));
    m_bHaveCurrent = TRUE;
    RebuildHandle();
}

HACCEL CQXPKeyboardShortcuts::GetAcceleratorTable() { return m_hAccelTable; }

void CQXPKeyboardShortcuts::ResetToDefault()
{
    m_current = m_default;
    m_bHaveCurrent = m_bHaveDefault;
    RebuildHandle();
}

void CQXPKeyboardShortcuts::DisableShortcuts(BOOL bDisable)
{
    m_nDisableCounter += bDisable ? 1 : -1;
}

void CQXPKeyboardShortcuts::OnSetPreviewMode(BOOL bPreview)
{
    bPreview = bPreview ? TRUE : FALSE;
    if (bPreview == m_bPreviewMode)
        return;
    m_bPreviewMode = bPreview;
    DisableShortcuts(bPreview);
}

BOOL CQXPKeyboardShortcuts::TranslateAccelerator(HWND hWnd, MSG* pMsg)
{
    if (m_nDisableCounter >= 1 || !m_hAccelTable || !hWnd || !pMsg)
        return FALSE;
    return ::TranslateAcceleratorA(hWnd, m_hAccelTable, pMsg) != 0;
}

BOOL CQXPKeyboardShortcuts::TranslateAccelerator(CWnd* pWnd, MSG* pMsg)
{
    return TranslateAccelerator(pWnd ? pWnd->GetSafeHwnd() : NULL, pMsg);
}

// --- texts -------------------------------------------------------------------

LPCSTR CQXPKeyboardShortcuts::GetBuiltInKeyName(UINT nKey) const
{
    auto it = m_mapKeyNames.find((WORD)nKey);
    return it != m_mapKeyNames.end() ? (LPCSTR)it->second : NULL;
}

CString AFXAPI CQXPKeyboardShortcuts::GetLayoutKeyName(UINT nKey)
{
    if (nKey == VK_CANCEL)
        return CString();
    UINT nScan = ::MapVirtualKeyExA(nKey, 0, ::GetKeyboardLayout(0));
    LONG lParam = (LONG)((nScan << 16) + 1);
    if (nKey >= 0x21 && nKey <= 0x2F)
        lParam |= 1L << 24; // the extended keys of the navigation block
    char sz[51] = {0};
    if (::GetKeyNameTextA(lParam, sz, 50) <= 0)
        return CString();
    CString str(sz);
    str.MakeLower();
    for (int i = 0; i < str.GetLength(); i++) {
        char ch = str[i];
        if (ch >= 'a' && ch <= 'z') {
            str.SetAt(i, (char)(ch - 'a' + 'A'));
            break;
        }
    }
    return str;
}

void CQXPKeyboardShortcuts::GetKeyName(CString& strText, UINT nKey)
{
    strText.Empty();
    if (m_bUseSystemKeyNameText)
        strText = GetLayoutKeyName(nKey);
    if (strText.IsEmpty()) {
        LPCSTR psz = GetBuiltInKeyName(nKey);
        if (psz)
            strText = psz;
        else if (!m_bUseSystemKeyNameText)
            strText = GetLayoutKeyName(nKey);
    }
}

void CQXPKeyboardShortcuts::FormatShortcut(CString& strText, const ACCEL& accel, int* pPriority)
{
    strText.Empty();
    CString strName;
    // The name of Ctrl+Break already says Ctrl.
    if (accel.key != VK_CANCEL) {
        if (accel.fVirt & FCONTROL) {
            GetKeyName(strName, VK_CONTROL);
            strText += strName + "+";
        }
        if (accel.fVirt & FSHIFT) {
            GetKeyName(strName, VK_SHIFT);
            strText += strName + "+";
        }
        if (accel.fVirt & FALT) {
            GetKeyName(strName, VK_MENU);
            strText += strName + "+";
        }
    }
    if (accel.fVirt & FVIRTKEY) {
        GetKeyName(strName, accel.key);
        strText += strName;
    } else if (accel.key != VK_ESCAPE && accel.key != VK_TAB && accel.key != 0) {
        strText += (char)accel.key;
    }
    // A modifier-only entry reads "Ctrl+Shift".
    if (accel.key == 0 && !strText.IsEmpty() && strText[strText.GetLength() - 1] == '+')
        strText = strText.Left(strText.GetLength() - 1);

    if (pPriority) {
        if (accel.fVirt & FCONTROL)
            *pPriority = 3;
        else if (accel.fVirt & FALT)
            *pPriority = 2;
        else if (accel.fVirt & FSHIFT)
            *pPriority = 1;
        else
            *pPriority = 4;
    }
}

const std::vector<ACCEL>* CQXPKeyboardShortcuts::GetLookupTable(std::vector<ACCEL>& frameCopy)
{
    if (m_bHaveCurrent)
        return &m_current;
    if (m_bHaveDefault)
        return NULL;
    // Without tables of its own the frame's accelerators speak.
    CWnd* pSite = m_pCommandBars ? m_pCommandBars->GetSite() : NULL;
    CFrameWnd* pFrame = pSite ? DYNAMIC_DOWNCAST(CFrameWnd, pSite) : NULL;
    if (!pFrame || !pFrame->m_hAccelTable)
        return NULL;
    frameCopy = EntriesOf(pFrame->m_hAccelTable);
    return &frameCopy;
}

BOOL CQXPKeyboardShortcuts::FindDefaultAccelerator(int nCommand, CString& strText)
{
    std::vector<ACCEL> frameCopy;
    const std::vector<ACCEL>* pTable = GetLookupTable(frameCopy);
    if (!pTable)
        return FALSE;

    CString strBest;
    int nBest = -1;
    BOOL bKeep = FALSE;
    for (const ACCEL& a : *pTable) {
        if ((int)a.cmd != (nCommand & 0xFFFF))
            continue;
        CString str;
        int nPriority = 0;
        FormatShortcut(str, a, &nPriority);
        if (nPriority > nBest) {
            nBest = nPriority;
            strBest = str;
        }
        if (!strText.IsEmpty() && str == strText)
            bKeep = TRUE;
    }
    if (nBest < 0) {
        strText.Empty();
        return FALSE;
    }
    if (!bKeep)
        strText = strBest;
    return TRUE;
}

CString CQXPKeyboardShortcuts::GetShortcutText(int nCommand, const CString& strCurrent)
{
    CString strText = strCurrent;
    FindDefaultAccelerator(nCommand, strText);
    return strText;
}

BOOL CQXPKeyboardShortcuts::IsShortcutAllowed(BYTE fVirt, WORD wKey, UINT nCommand)
{
    (void)nCommand;
    return (fVirt & (FSHIFT | FCONTROL | FALT)) != 0 || !(fVirt & FVIRTKEY) || wKey != VK_ESCAPE ||
           m_bAllowEscapeShortcut;
}

int CQXPKeyboardShortcuts::OnBeforeAdd(const ACCEL& accel)
{
    (void)accel;
    return 0;
}

int CQXPKeyboardShortcuts::OnBeforeRemove(const ACCEL& accel)
{
    (void)accel;
    return 0;
}

// --- stored form ---------------------------------------------------------------

BOOL AFXAPI CQXPKeyboardShortcuts::IsValidEntry(const ACCEL& accel)
{
    return (accel.fVirt & ~kKnownVirtBits) == 0 && accel.key != 0;
}

std::vector<BYTE> AFXAPI CQXPKeyboardShortcuts::Pack(const std::vector<ACCEL>& entries)
{
    std::vector<BYTE> data(entries.size() * kEntryBytes);
    for (size_t i = 0; i < entries.size(); i++) {
        BYTE* p = data.data() + i * kEntryBytes;
        p[0] = entries[i].fVirt;
        p[1] = 0;
        p[2] = (BYTE)(entries[i].key & 0xFF);
        p[3] = (BYTE)(entries[i].key >> 8);
        p[4] = (BYTE)(entries[i].cmd & 0xFF);
        p[5] = (BYTE)(entries[i].cmd >> 8);
    }
    return data;
}

BOOL AFXAPI CQXPKeyboardShortcuts::Unpack(const BYTE* pData, UINT nBytes, std::vector<ACCEL>& entries)
{
    entries.clear();
    if (nBytes % kEntryBytes != 0 || nBytes / kEntryBytes > kMaxEntries || (nBytes && !pData))
        return FALSE;
    std::vector<ACCEL> result(nBytes / kEntryBytes);
    for (size_t i = 0; i < result.size(); i++) {
        const BYTE* p = pData + i * kEntryBytes;
        result[i].fVirt = p[0];
        result[i].key = (WORD)(p[2] | (p[3] << 8));
        result[i].cmd = (WORD)(p[4] | (p[5] << 8));
        if (!IsValidEntry(result[i]))
            return FALSE;
    }
    entries.swap(result);
    return TRUE;
}

BOOL CQXPKeyboardShortcuts::Save(LPCSTR lpszSection)
{
    CWinApp* pApp = AfxGetApp();
    if (!m_bHaveDefault || !pApp || !lpszSection)
        return FALSE;
    std::vector<BYTE> data = Pack(m_current);
    return pApp->WriteProfileBinary(lpszSection, "Accelerators", data.empty() ? NULL : data.data(),
                                    (UINT)data.size());
}

BOOL CQXPKeyboardShortcuts::Load(LPCSTR lpszSection)
{
    CWinApp* pApp = AfxGetApp();
    if (!m_bHaveDefault || !pApp || !lpszSection)
        return FALSE;
    std::vector<ACCEL> entries;
    if (pApp->m_pszRegistryKey == NULL) {
        // The INI form: two letters per byte. An empty value is an empty
        // table; text that is not whole bytes of letters is damage.
        static const char kMissing[] = "\x01";
        CString str = pApp->GetProfileString(lpszSection, "Accelerators", kMissing);
        if (str == kMissing)
            return FALSE;
        if (str.GetLength() % 2 != 0)
            return FALSE;
        if (!str.IsEmpty()) {
            LPBYTE pData = NULL;
            UINT nBytes = 0;
            if (!pApp->GetProfileBinary(lpszSection, "Accelerators", &pData, &nBytes))
                return FALSE;
            BOOL bOk = nBytes * 2 == (UINT)str.GetLength() && Unpack(pData, nBytes, entries);
            delete[] pData;
            if (!bOk)
                return FALSE;
        }
    } else {
        LPBYTE pData = NULL;
        UINT nBytes = 0;
        if (!pApp->GetProfileBinary(lpszSection, "Accelerators", &pData, &nBytes))
            return FALSE;
        BOOL bOk = Unpack(pData, nBytes, entries);
        delete[] pData;
        if (!bOk)
            return FALSE;
    }
    SetAcceleratorTable(entries.empty() ? NULL : entries.data(), (int)entries.size());
    return TRUE;
}

void CQXPKeyboardShortcuts::DoPropExchange(CQXPPropExchange* pPX)
{
    if (!pPX)
        return;
    if (pPX->PrefersBinary()) {
        if (pPX->IsStoring()) {
            std::vector<BYTE> data = Pack(m_current);
            pPX->WriteItemCount((DWORD)m_current.size());
            pPX->WriteBytes("Data", data.empty() ? NULL : data.data(), (UINT)data.size());
            return;
        }
        DWORD nCount = pPX->ReadItemCount();
        if (nCount > kMaxEntries)
            return;
        std::vector<ACCEL> entries;
        UINT nBytes = (UINT)nCount * kEntryBytes;
        if (pPX->IsArchive()) {
            // Positional: exactly the bytes the count announces.
            std::vector<BYTE> data(nBytes);
            if (nBytes && pPX->ReadBytes("Data", data.data(), nBytes) != nBytes)
                return;
            if (!Unpack(data.data(), nBytes, entries))
                return;
        } else if (nCount) {
            void* pData = NULL;
            UINT nStored = 0;
            if (!pPX->ExchangeBinary("Data", &pData, &nStored))
                return;
            BOOL bOk = nStored == nBytes && Unpack(static_cast<BYTE*>(pData), nStored, entries);
            free(pData);
            if (!bOk)
                return;
        }
        SetAcceleratorTable(entries.empty() ? NULL : entries.data(), (int)entries.size());
        return;
    }

    // One section per entry.
    std::unique_ptr<PropExchangeEnumerator> pEnumerator(pPX->OpenEnumerator("Accel"));
    if (!pEnumerator)
        return;
    PropExchangeEnumerator& enumerator = *pEnumerator;
    if (pPX->IsStoring()) {
        POSITION pos = enumerator.First((DWORD)m_current.size());
        for (size_t i = 0; pos && i < m_current.size(); i++) {
            PropExchangeSectionPtr section(enumerator.Next(pos));
            short nId = (short)m_current[i].cmd, nKey = (short)m_current[i].key;
            BYTE bVirt = m_current[i].fVirt;
            ExchangeShortProp(section, "Id", &nId, 0);
            ExchangeByteProp(section, "virt", &bVirt, 0);
            ExchangeShortProp(section, "key", &nKey, 0);
        }
        return;
    }
    POSITION pos = enumerator.First();
    if (enumerator.GetCount() > kMaxEntries)
        return;
    std::vector<ACCEL> entries;
    while (pos) {
        PropExchangeSectionPtr section(enumerator.Next(pos));
        short nId = 0, nKey = 0;
        BYTE bVirt = 0;
        ExchangeShortProp(section, "Id", &nId, 0);
        ExchangeByteProp(section, "virt", &bVirt, 0);
        ExchangeShortProp(section, "key", &nKey, 0);
        ACCEL a;
        a.fVirt = bVirt;
        a.key = (WORD)nKey;
        a.cmd = (WORD)nId;
        if (!IsValidEntry(a))
            return;
        entries.push_back(a);
    }
    SetAcceleratorTable(entries.empty() ? NULL : entries.data(), (int)entries.size());
}

// --- mnemonics -------------------------------------------------------------------

BOOL AFXAPI CQXPKeyboardShortcuts::IsMnemonicMatch(UINT nChar, UINT nVirtKey)
{
    UINT nMapped = ::MapVirtualKeyA(nVirtKey, 2) & 0xFFFF;
    if (nMapped == 0)
        return FALSE;
    UINT nUpper = (UINT)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)(BYTE)nChar) & 0xFF;
    if (nChar == nVirtKey || nUpper == nVirtKey)
        return TRUE;

    // Other installed layouts may type the character with this key.
    HKL layouts[16];
    int nLayouts = ::GetKeyboardLayoutList(16, layouts);
    if (nLayouts <= 1)
        return FALSE;
    BYTE state[256];
    if (!::GetKeyboardState(state))
        return FALSE;
    for (int i = 0; i < nLayouts; i++) {
        UINT nScan = ::MapVirtualKeyExA(nVirtKey, 0, layouts[i]);
        for (int nPass = 0; nPass < 2; nPass++) {
            BYTE keys[256];
            std::memcpy(keys, state, sizeof(keys));
            if (nPass == 1)
                keys[VK_SHIFT] = 0x80;
            WORD w = 0;
            if (::ToAsciiEx(nVirtKey, nScan, keys, &w, 0, layouts[i]) == 1) {
                UINT ch = w & 0xFF;
                if (ch == nChar || ch == nUpper)
                    return TRUE;
            }
        }
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// CQXPShortcutEdit

SHORT(WINAPI* CQXPShortcutEdit::s_pfnGetKeyState)
(int nVirtKey) = NULL;

CQXPShortcutEdit::CQXPShortcutEdit() : m_bLiveModifiers(FALSE), m_bKeyDefined(FALSE), m_pShortcuts(NULL)
{
    std::memset(&m_accel, 0, sizeof(m_accel));
}

void CQXPShortcutEdit::ResetKey()
{
    std::memset(&m_accel, 0, sizeof(m_accel));
    m_bKeyDefined = FALSE;
    if (m_hWnd)
        SetWindowText("");
}

void CQXPShortcutEdit::RefreshModifiers()
{
    SHORT(WINAPI * pfn)
    (int) = s_pfnGetKeyState ? s_pfnGetKeyState : ::GetKeyState;
    BYTE fVirt = (BYTE)(m_accel.fVirt & ~(FSHIFT | FCONTROL | FALT));
    if (pfn(VK_SHIFT) < 0)
        fVirt |= FSHIFT;
    if (pfn(VK_CONTROL) < 0)
        fVirt |= FCONTROL;
    if (pfn(VK_MENU) < 0)
        fVirt |= FALT;
    m_accel.fVirt = fVirt;
}

void CQXPShortcutEdit::ShowEntry()
{
    if (m_pShortcuts && !m_pShortcuts->IsShortcutAllowed(m_accel.fVirt, m_accel.key, m_accel.cmd)) {
        ResetKey();
        return;
    }
    CString str;
    if (m_pShortcuts)
        m_pShortcuts->FormatShortcut(str, m_accel);
    SetWindowText(str);
}

BOOL CQXPShortcutEdit::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg || pMsg->hwnd != m_hWnd)
        return CEdit::PreTranslateMessage(pMsg);
    switch (pMsg->message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetFocus();
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        break;
    default:
        return CEdit::PreTranslateMessage(pMsg);
    }

    SHORT(WINAPI * pfn)
    (int) = s_pfnGetKeyState ? s_pfnGetKeyState : ::GetKeyState;
    UINT nKey = (UINT)pMsg->wParam;
    BOOL bDown = pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN;

    // Tab without Ctrl or Alt moves the focus on.
    if (nKey == VK_TAB && pfn(VK_CONTROL) >= 0 && pfn(VK_MENU) >= 0) {
        if (!m_bKeyDefined)
            ResetKey();
        return CEdit::PreTranslateMessage(pMsg);
    }
    // A fresh key-down (not an auto-repeat) starts a new entry.
    if (bDown && !(pMsg->lParam & (1L << 30)))
        ResetKey();

    if (m_bLiveModifiers) {
        if (bDown)
            RefreshModifiers();
    } else if (!m_bKeyDefined) {
        RefreshModifiers();
        if (bDown && nKey != VK_SHIFT && nKey != VK_CONTROL && nKey != VK_MENU) {
            m_accel.key = (WORD)nKey;
            m_accel.fVirt |= FVIRTKEY;
            m_bKeyDefined = TRUE;
        }
    }
    ShowEntry();
    return TRUE;
}
