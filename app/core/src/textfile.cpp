// textfile.cpp - chunked file reading, encoding conversion and safe saving.
#include "textfile.h"
#include "encoding.h"

#include <fx/codepage.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

const BYTE g_textFileMarks[3][3] = {
    {0xEF, 0xBB, 0xBF},
    {0xFF, 0xFE, 0x00},
    {0xFE, 0xFF, 0x00},
};

// ===========================================================================
// Safe replacement of files

namespace {

// The folder part of a path, without the trailing backslash ("." when the
// path has none).
CString FolderOf(LPCSTR lpszPath)
{
    CString path(lpszPath);
    int nSlash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
    if (nSlash < 0) {
        // "C:name" names a file in the current folder of drive C.
        if (path.GetLength() >= 2 && path[1] == ':')
            return path.Left(2);
        return ".";
    }
    if (nSlash == 0)
        return path.Left(1);
    if (nSlash == 2 && path[1] == ':')
        return path.Left(3); // "C:\"
    return path.Left(nSlash);
}

} // namespace

CString CreateTempFileBeside(LPCSTR lpszPath)
{
    if (lpszPath == NULL || *lpszPath == '\0') {
        ::SetLastError(ERROR_INVALID_NAME);
        return CString();
    }
    CString folder = FolderOf(lpszPath);
    char szTemp[MAX_PATH + 16];
    if (!::GetTempFileNameA(folder, "qmt", 0, szTemp))
        return CString();
    return CString(szTemp);
}

BOOL ReplaceFileWithTemp(LPCSTR lpszTemp, LPCSTR lpszTarget)
{
    DWORD dwAttrs = ::GetFileAttributesA(lpszTarget);
    if (dwAttrs == INVALID_FILE_ATTRIBUTES) {
        DWORD dwErr = ::GetLastError();
        if (dwErr == ERROR_FILE_NOT_FOUND) {
            if (::MoveFileExA(lpszTemp, lpszTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
                return TRUE;
            dwErr = ::GetLastError();
        }
        ::DeleteFileA(lpszTemp);
        ::SetLastError(dwErr);
        return FALSE;
    }
    if (dwAttrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileA(lpszTemp);
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // A target that another program holds open without sharing cannot be
    // replaced; finding that out first leaves nothing half done.
    HANDLE hTarget = ::CreateFileA(lpszTarget, GENERIC_READ | DELETE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, NULL);
    if (hTarget == INVALID_HANDLE_VALUE) {
        DWORD dwErr = ::GetLastError();
        ::DeleteFileA(lpszTemp);
        ::SetLastError(dwErr);
        return FALSE;
    }
    ::CloseHandle(hTarget);
    // ReplaceFile keeps the target's attributes, times of creation and
    // security; where it is not available the attributes are copied and the
    // temporary file is moved over the target.
    if (::ReplaceFileA(lpszTarget, lpszTemp, NULL, REPLACEFILE_IGNORE_MERGE_ERRORS, NULL, NULL)) {
        // Not every implementation carries the attributes over.
        if (::GetFileAttributesA(lpszTarget) != dwAttrs)
            ::SetFileAttributesA(lpszTarget, dwAttrs);
        return TRUE;
    }
    DWORD dwErr = ::GetLastError();
    if (::GetFileAttributesA(lpszTemp) != INVALID_FILE_ATTRIBUTES) {
        ::SetFileAttributesA(lpszTemp, dwAttrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
        if (::MoveFileExA(lpszTemp, lpszTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
            return TRUE;
        dwErr = ::GetLastError();
        ::DeleteFileA(lpszTemp);
    }
    ::SetLastError(dwErr);
    return FALSE;
}

namespace {

BOOL WriteAll(HANDLE hFile, const void* pData, size_t nLength)
{
    const BYTE* p = static_cast<const BYTE*>(pData);
    while (nLength > 0) {
        DWORD nChunk = (DWORD)std::min<size_t>(nLength, 1u << 30);
        DWORD nWritten = 0;
        if (!::WriteFile(hFile, p, nChunk, &nWritten, NULL))
            return FALSE;
        if (nWritten != nChunk) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
        p += nWritten;
        nLength -= nWritten;
    }
    return TRUE;
}

} // namespace

BOOL WriteFileSafely(LPCSTR lpszPath, const void* pData, size_t nLength)
{
    TextFile file;
    if (!file.Create(lpszPath))
        return FALSE;
    if (!WriteAll(file.GetHandle(), pData, nLength)) {
        DWORD dwErr = ::GetLastError();
        file.Abort();
        ::SetLastError(dwErr);
        return FALSE;
    }
    return file.Commit();
}

// ===========================================================================
// TextFile

TextFile::TextFile()
    : m_hFile(INVALID_HANDLE_VALUE), m_nChunkLength(0), m_bReadError(FALSE), m_bWriting(FALSE), m_dwError(0)
{
    memset(&m_attributes, 0, sizeof(m_attributes));
}

TextFile::~TextFile()
{
    if (m_bWriting)
        Abort();
    Close();
}

FileStamp FileStamp::Of(LPCSTR lpszPath)
{
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (lpszPath == NULL || !::GetFileAttributesExA(lpszPath, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return stamp;
    stamp.bValid = TRUE;
    stamp.nSize = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    stamp.ftLastWrite = data.ftLastWriteTime;
    return stamp;
}

BOOL FileStamp::Differs(const FileStamp& other) const
{
    return bValid && other.bValid &&
           (nSize != other.nSize || ::CompareFileTime(&ftLastWrite, &other.ftLastWrite) != 0);
}

BOOL TextFile::Open(LPCSTR lpszPath)
{
    if (m_bWriting)
        Abort();
    Close();
    m_nChunkLength = 0;
    m_bReadError = FALSE;
    memset(&m_attributes, 0, sizeof(m_attributes));
    if (lpszPath == NULL) {
        m_dwError = ERROR_INVALID_NAME;
        return FALSE;
    }
    m_hFile = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        m_dwError = ::GetLastError();
        return FALSE;
    }
    if (!::GetFileAttributesExA(lpszPath, GetFileExInfoStandard, &m_attributes)) {
        // Fall back to the open handle for the size.
        LARGE_INTEGER size;
        if (::GetFileSizeEx(m_hFile, &size)) {
            m_attributes.nFileSizeLow = size.LowPart;
            m_attributes.nFileSizeHigh = (DWORD)size.HighPart;
        }
    }
    return TRUE;
}

ULONGLONG TextFile::EstimateLineFeeds()
{
    // Stretches of this size, this many, each in the middle of its share of
    // the file; a file no larger than all of them is read whole.
    const DWORD kStretch = 32 * 1024;
    const ULONGLONG kStretches = 16;
    const ULONGLONG nSize = GetSize64();
    if (m_hFile == INVALID_HANDLE_VALUE || nSize == 0)
        return 0;
    LARGE_INTEGER zero = {}, position = {};
    if (!::SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT))
        return 0;
    const bool bWhole = nSize <= kStretch * kStretches;
    const ULONGLONG nCount = bWhole ? (nSize + kStretch - 1) / kStretch : kStretches;
    std::vector<char> buffer(kStretch);
    ULONGLONG nFeeds = 0, nRead = 0;
    for (ULONGLONG i = 0; i < nCount; ++i) {
        LARGE_INTEGER at;
        at.QuadPart = (LONGLONG)(bWhole ? i * kStretch : (2 * i + 1) * (nSize - kStretch) / (2 * kStretches));
        DWORD dwGot = 0;
        if (!::SetFilePointerEx(m_hFile, at, NULL, FILE_BEGIN) ||
            !::ReadFile(m_hFile, buffer.data(), kStretch, &dwGot, NULL))
            break;
        nFeeds += (ULONGLONG)std::count(buffer.data(), buffer.data() + dwGot, '\n');
        nRead += dwGot;
    }
    ::SetFilePointerEx(m_hFile, position, NULL, FILE_BEGIN);
    if (nRead == 0)
        return 0;
    return bWhole ? nFeeds : nFeeds * nSize / nRead;
}

int TextFile::ReadChunk(char* pBuffer, int nLimit, int nEncoding)
{
    m_nChunkLength = 0;
    m_bReadError = FALSE;
    if (m_hFile == INVALID_HANDLE_VALUE || m_bWriting || pBuffer == NULL || nLimit <= 0)
        return 0;
    const bool bUtf16 = IsUtf16Encoding(nEncoding);
    int nWant = nLimit;
    if (bUtf16 && nWant > 1)
        nWant &= ~1; // whole 16-bit units

    LARGE_INTEGER zero, start;
    zero.QuadPart = 0;
    if (!::SetFilePointerEx(m_hFile, zero, &start, FILE_CURRENT)) {
        m_dwError = ::GetLastError();
        m_bReadError = TRUE;
        return 0;
    }
    DWORD nTotal = 0;
    while (nTotal < (DWORD)nWant) {
        DWORD nRead = 0;
        if (!::ReadFile(m_hFile, pBuffer + nTotal, (DWORD)nWant - nTotal, &nRead, NULL)) {
            m_dwError = ::GetLastError();
            m_bReadError = TRUE;
            pBuffer[nTotal] = '\0';
            return 0;
        }
        if (nRead == 0)
            break;
        nTotal += nRead;
    }
    if (nTotal == 0) {
        pBuffer[0] = '\0';
        return 0;
    }

    int nChunk = (int)nTotal;
    if (nTotal == (DWORD)nWant) {
        // More may follow: end the chunk before the last line break or blank,
        // which then starts the next chunk. Without one the read is taken
        // whole.
        const BYTE* p = reinterpret_cast<const BYTE*>(pBuffer);
        if (!bUtf16) {
            for (int i = nChunk - 1; i >= 1; --i) {
                if (p[i] == '\n' || p[i] == '\r' || p[i] == ' ') {
                    nChunk = i;
                    break;
                }
            }
        } else {
            const bool bLittle = nEncoding == ENC_UTF16LE;
            for (int i = ((int)nTotal - 2) & ~1; i >= 2; i -= 2) {
                unsigned unit = bLittle ? (p[i] | (p[i + 1] << 8)) : ((p[i] << 8) | p[i + 1]);
                if (unit == '\n' || unit == '\r' || unit == ' ') {
                    nChunk = i;
                    break;
                }
            }
        }
        if (nChunk < (int)nTotal) {
            LARGE_INTEGER next;
            next.QuadPart = start.QuadPart + nChunk;
            if (!::SetFilePointerEx(m_hFile, next, NULL, FILE_BEGIN)) {
                m_dwError = ::GetLastError();
                m_bReadError = TRUE;
                return 0;
            }
        }
    }
    pBuffer[nChunk] = '\0';
    m_nChunkLength = nChunk;
    return 1;
}

void TextFile::Close()
{
    if (m_bWriting) {
        Abort();
        return;
    }
    if (m_hFile != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
}

BOOL TextFile::Create(LPCSTR lpszPath)
{
    if (m_bWriting)
        Abort();
    Close();
    m_strTarget.Empty();
    m_strTemp.Empty();
    if (lpszPath == NULL || *lpszPath == '\0') {
        m_dwError = ERROR_INVALID_NAME;
        return FALSE;
    }
    DWORD dwAttrs = ::GetFileAttributesA(lpszPath);
    if (dwAttrs != INVALID_FILE_ATTRIBUTES && (dwAttrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        m_dwError = ERROR_ACCESS_DENIED;
        return FALSE;
    }
    CString temp = CreateTempFileBeside(lpszPath);
    if (temp.IsEmpty()) {
        m_dwError = ::GetLastError();
        return FALSE;
    }
    m_hFile = ::CreateFileA(temp, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        m_dwError = ::GetLastError();
        ::DeleteFileA(temp);
        return FALSE;
    }
    m_strTarget = lpszPath;
    m_strTemp = temp;
    m_bWriting = TRUE;
    return TRUE;
}

BOOL TextFile::Commit()
{
    if (!m_bWriting) {
        m_dwError = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    m_bWriting = FALSE;
    BOOL bClosed = ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    if (!bClosed) {
        m_dwError = ::GetLastError();
        ::DeleteFileA(m_strTemp);
        return FALSE;
    }
    if (!ReplaceFileWithTemp(m_strTemp, m_strTarget)) {
        m_dwError = ::GetLastError();
        return FALSE;
    }
    return TRUE;
}

void TextFile::Abort()
{
    if (!m_bWriting)
        return;
    m_bWriting = FALSE;
    if (m_hFile != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
    ::DeleteFileA(m_strTemp);
}

// ===========================================================================
// ReadConverter

ReadConverter::ReadConverter(int nEncoding, int nMarkLength)
    : m_nEncoding(nEncoding), m_nSkipLeft(nMarkLength > 0 ? nMarkLength : 0), m_pOutput(""), m_pBuffer(NULL),
      m_nCapacity(0), m_decoder(nEncoding == ENC_UTF16BE)
{
    if (m_nEncoding != ENC_UTF8 && !IsUtf16Encoding(m_nEncoding))
        m_nSkipLeft = 0; // ANSI and raw encodings keep every byte
}

ReadConverter::~ReadConverter()
{
    free(m_pBuffer);
}

void ReadConverter::Reserve(size_t nBytes)
{
    if (nBytes <= m_nCapacity)
        return;
    char* p = static_cast<char*>(realloc(m_pBuffer, nBytes));
    if (p == NULL)
        AfxThrowMemoryException();
    m_pBuffer = p;
    m_nCapacity = nBytes;
}

int ReadConverter::Convert(const char* pChunk, int nLength)
{
    if (pChunk == NULL || nLength < 0)
        nLength = 0;
    if (m_nEncoding != ENC_UTF8 && !IsUtf16Encoding(m_nEncoding)) {
        m_pOutput = pChunk ? pChunk : "";
        return nLength;
    }
    int nSkip = std::min(m_nSkipLeft, nLength);
    m_nSkipLeft -= nSkip;
    if (m_nEncoding == ENC_UTF8) {
        m_pOutput = pChunk ? pChunk + nSkip : "";
        return nLength - nSkip;
    }
    return ConvertUtf16(reinterpret_cast<const BYTE*>(pChunk) + nSkip, nLength - nSkip, false);
}

int ReadConverter::Finish()
{
    if (!IsUtf16Encoding(m_nEncoding)) {
        m_pOutput = "";
        return 0;
    }
    return ConvertUtf16(NULL, 0, true);
}

int ReadConverter::ConvertUtf16(const BYTE* p, int n, bool bFinal)
{
    Reserve(Utf16ToUtf8::MaxOutput((size_t)n));
    const size_t nOut = m_decoder.Convert(p, (size_t)n, bFinal, m_pBuffer);
    m_pOutput = m_pBuffer;
    return (int)nOut;
}

// ===========================================================================
// WriteConverter

WriteConverter::WriteConverter(int nEncoding, BOOL bWriteMark)
    : m_nEncoding(nEncoding), m_hFile(INVALID_HANDLE_VALUE), m_pBuffer(NULL), m_nCapacity(0),
      m_bWriteMark(bWriteMark), m_bMarkArmed(TRUE), m_encoder(nEncoding == ENC_UTF16BE)
{
}

WriteConverter::~WriteConverter()
{
    Close();
}

void WriteConverter::Attach(HANDLE hFile)
{
    m_hFile = hFile;
    m_bMarkArmed = TRUE;
    m_encoder.Reset();
}

void WriteConverter::Close()
{
    free(m_pBuffer);
    m_pBuffer = NULL;
    m_nCapacity = 0;
    m_hFile = INVALID_HANDLE_VALUE;
    m_encoder.Reset();
}

BOOL WriteConverter::WriteRaw(const void* p, DWORD n)
{
    if (n == 0)
        return TRUE;
    DWORD nWritten = 0;
    if (!::WriteFile(m_hFile, p, n, &nWritten, NULL))
        return FALSE;
    return nWritten == n;
}

BOOL WriteConverter::WriteMarkIfArmed()
{
    if (!m_bMarkArmed)
        return TRUE;
    m_bMarkArmed = FALSE;
    if (!m_bWriteMark)
        return TRUE;
    switch (m_nEncoding) {
    case ENC_UTF8: return WriteRaw(g_textFileMarks[0], 3);
    case ENC_UTF16LE: return WriteRaw(g_textFileMarks[1], 2);
    case ENC_UTF16BE: return WriteRaw(g_textFileMarks[2], 2);
    default: return TRUE;
    }
}

int WriteConverter::Write(const char* pBytes, int nLength)
{
    if (m_hFile == INVALID_HANDLE_VALUE || m_hFile == NULL)
        return 0;
    if (pBytes == NULL || nLength < 0)
        nLength = 0;
    if (!WriteMarkIfArmed())
        return 0;
    const int nDone = nLength > 0 ? nLength : 1;
    if (!IsUtf16Encoding(m_nEncoding))
        return WriteRaw(pBytes, (DWORD)nLength) ? nDone : 0;

    // At most one unit per input byte (a pair for four bytes), plus the
    // carried start of a sequence.
    const size_t nNeed = Utf8ToUtf16::MaxOutput((size_t)nLength);
    if (m_nCapacity < nNeed) {
        BYTE* p = static_cast<BYTE*>(realloc(m_pBuffer, nNeed));
        if (p == NULL)
            return 0;
        m_pBuffer = p;
        m_nCapacity = nNeed;
    }
    const size_t nOut = m_encoder.Convert(reinterpret_cast<const BYTE*>(pBytes), (size_t)nLength, m_pBuffer);
    if (!WriteRaw(m_pBuffer, (DWORD)nOut))
        return 0;
    return nDone;
}

BOOL WriteConverter::Finish()
{
    if (m_hFile == INVALID_HANDLE_VALUE || m_hFile == NULL)
        return FALSE;
    if (!WriteMarkIfArmed())
        return FALSE;
    BYTE units[8];
    const size_t nUnits = IsUtf16Encoding(m_nEncoding) ? m_encoder.Finish(units) : 0;
    return WriteRaw(units, (DWORD)nUnits);
}

// ===========================================================================
// Whole texts

TextIoResult ReadAllText(TextFile& file, int nEncoding, int nMarkLength, ITextSink& sink,
                         const std::function<void(ULONGLONG)>& pfnProgress, int nPieceLimit)
{
    if (file.GetHandle() == INVALID_HANDLE_VALUE)
        return TEXTIO_OPEN_FAILED;
    if (nPieceLimit < 2)
        nPieceLimit = 2;
    std::vector<char> buffer((size_t)nPieceLimit + 1);
    ReadConverter converter(nEncoding, nMarkLength);
    ULONGLONG nTotal = 0;
    while (file.ReadChunk(buffer.data(), nPieceLimit, nEncoding)) {
        const int nChunk = file.GetChunkLength();
        nTotal += (ULONGLONG)nChunk;
        const int nOut = converter.Convert(buffer.data(), nChunk);
        if (nOut > 0 && !sink.AppendText(converter.GetOutput(), nOut))
            return TEXTIO_SINK_FAILED;
        if (pfnProgress)
            pfnProgress(nTotal);
    }
    if (file.HasReadError())
        return TEXTIO_READ_FAILED;
    const int nOut = converter.Finish();
    if (nOut > 0 && !sink.AppendText(converter.GetOutput(), nOut))
        return TEXTIO_SINK_FAILED;
    return converter.GetDroppedBytes() ? TEXTIO_LOSSY : TEXTIO_OK;
}

TextIoResult SaveText(TextFile& file, LPCSTR lpszPath, int nEncoding, BOOL bWriteMark, ITextSource& source,
                      int nPieceLimit)
{
    if (!file.Create(lpszPath))
        return TEXTIO_OPEN_FAILED;
    if (nPieceLimit < 4)
        nPieceLimit = 4;
    WriteConverter writer(nEncoding, bWriteMark);
    writer.Attach(file.GetHandle());
    std::vector<char> buffer((size_t)nPieceLimit + 2);
    const LONG_PTR nLength = source.GetLength();
    LONG_PTR p = 0;
    bool bFailed = false;
    while (p < nLength) {
        LONG_PTR nEnd = p + std::min<LONG_PTR>(nPieceLimit, nLength - p);
        bool bCutInLine = false;
        if (nEnd < nLength) {
            const LONG_PTR nLine = source.LineFromPosition(nEnd);
            if (nEnd < source.GetLineEndPosition(nLine)) {
                // Inside a line: end at the end of the line before, when
                // that still moves forward; a longer line is cut.
                const LONG_PTR nPrevEnd = nLine > 0 ? source.GetLineEndPosition(nLine - 1) : -1;
                if (nPrevEnd > p)
                    nEnd = nPrevEnd;
                else
                    bCutInLine = true;
            }
        }
        // A cut inside a line also fetches the byte after the cut, to see
        // whether the cut splits a UTF-8 character.
        source.GetTextRange(p, bCutInLine ? nEnd + 1 : nEnd, buffer.data());
        if (bCutInLine) {
            // Move the cut back to the start of the character it splits.
            LONG_PTR nCut = nEnd;
            while (nCut > p + 1 && nEnd - nCut < 3 && ((BYTE)buffer[(size_t)(nCut - p)] & 0xC0) == 0x80)
                --nCut;
            if (((BYTE)buffer[(size_t)(nCut - p)] & 0xC0) != 0x80)
                nEnd = nCut;
        }
        if (!writer.Write(buffer.data(), (int)(nEnd - p))) {
            bFailed = true;
            break;
        }
        p = nEnd;
    }
    if (!bFailed && !writer.Finish())
        bFailed = true;
    writer.Close();
    if (bFailed) {
        file.Abort();
        return TEXTIO_WRITE_FAILED;
    }
    if (!file.Commit())
        return TEXTIO_REPLACE_FAILED;
    return TEXTIO_OK;
}

// ===========================================================================
// ANSI text

namespace {

// Whether the n bytes are all below 0x80.
bool IsAscii(const char* p, size_t n)
{
    const char* const pEnd = p + n;
    for (; pEnd - p >= 8; p += 8) {
        uint64_t word;
        memcpy(&word, p, sizeof(word));
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; p < pEnd; ++p) {
        if ((unsigned char)*p >= 0x80)
            return false;
    }
    return true;
}

// Converts nLength bytes between code pages through UTF-16. bToLegacy: the
// target is a legacy code page, whose missing characters become "?" and set
// *pbLossy.
BOOL Recode(const char* pText, int nLength, UINT nFrom, UINT nTo, std::wstring& wide, std::string& out,
            BOOL* pbLossy)
{
    out.clear();
    if (pbLossy != NULL)
        *pbLossy = FALSE;
    if (nLength <= 0)
        return TRUE;
    int nWide = ::MultiByteToWideChar(nFrom, 0, pText, nLength, NULL, 0);
    if (nWide <= 0)
        return FALSE;
    wide.resize((size_t)nWide);
    ::MultiByteToWideChar(nFrom, 0, pText, nLength, &wide[0], nWide);
    // The UTF-8 code page takes neither flags nor a used-default flag.
    const bool bLegacyTarget = nTo != CP_UTF8;
    BOOL bUsedDefault = FALSE;
    const DWORD dwFlags = bLegacyTarget ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL* pUsedDefault = bLegacyTarget ? &bUsedDefault : NULL;
    int nOut = ::WideCharToMultiByte(nTo, dwFlags, wide.data(), nWide, NULL, 0, NULL, pUsedDefault);
    if (nOut <= 0)
        return FALSE;
    out.resize((size_t)nOut);
    ::WideCharToMultiByte(nTo, dwFlags, wide.data(), nWide, &out[0], nOut, NULL, pUsedDefault);
    if (pbLossy != NULL)
        *pbLossy = bUsedDefault;
    return TRUE;
}

} // namespace

CAnsiDecodingSink::CAnsiDecodingSink(ITextSink& target, UINT nCodePage)
    : m_target(target), m_nCodePage(nCodePage != 0 ? nCodePage : fx::LegacyAnsiCodePage())
{
    CPINFO info;
    m_bDoubleByte = m_nCodePage != CP_UTF8 && ::GetCPInfo(m_nCodePage, &info) && info.MaxCharSize > 1;
}

bool CAnsiDecodingSink::Pass(const char* pText, int nLength)
{
    if (nLength <= 0)
        return true;
    if (!Recode(pText, nLength, m_nCodePage, CP_UTF8, m_wide, m_utf8, NULL))
        return false;
    return m_target.AppendText(m_utf8.data(), (int)m_utf8.size());
}

bool CAnsiDecodingSink::AppendText(const char* pText, int nLength)
{
    if (pText == NULL || nLength <= 0)
        return true;
    // Bytes below 0x80 are the same characters in every ANSI code page and
    // in UTF-8: a piece of nothing else goes on as it is, without the two
    // conversion buffers (a piece's size in UTF-16 and again in UTF-8).
    if (m_held.empty() && IsAscii(pText, (size_t)nLength))
        return m_target.AppendText(pText, nLength);
    std::string joined;
    if (!m_held.empty()) {
        joined = m_held + std::string(pText, (size_t)nLength);
        m_held.clear();
        pText = joined.data();
        nLength = (int)joined.size();
    }
    int nWhole = nLength;
    if (m_bDoubleByte) {
        // Walk the characters: a lead byte in the last place waits for its
        // trail byte in the next piece.
        int i = 0;
        while (i < nLength) {
            int nStep = ::IsDBCSLeadByteEx(m_nCodePage, (BYTE)pText[i]) ? 2 : 1;
            if (i + nStep > nLength)
                break;
            i += nStep;
        }
        nWhole = i;
        m_held.assign(pText + nWhole, (size_t)(nLength - nWhole));
    }
    return Pass(pText, nWhole);
}

bool CAnsiDecodingSink::Finish()
{
    std::string held;
    held.swap(m_held);
    return Pass(held.data(), (int)held.size());
}

BOOL ConvertTextCodePage(const std::string& text, BOOL bFromAnsi, BOOL bToAnsi, std::string& out, BOOL* pbLossy)
{
    if (pbLossy != NULL)
        *pbLossy = FALSE;
    if (bFromAnsi == bToAnsi) {
        out = text;
        return TRUE;
    }
    const UINT nAnsi = fx::LegacyAnsiCodePage();
    std::wstring wide;
    return Recode(text.data(), (int)text.size(), bFromAnsi ? nAnsi : CP_UTF8, bToAnsi ? nAnsi : CP_UTF8, wide, out,
                  pbLossy);
}

// ===========================================================================
// CMemoryText

void CMemoryText::IndexLines()
{
    m_lineStarts.clear();
    m_lineStarts.push_back(0);
    const size_t n = m_text.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = m_text[i];
        if (c == '\r') {
            if (i + 1 < n && m_text[i + 1] == '\n')
                ++i;
            m_lineStarts.push_back((LONG_PTR)i + 1);
        } else if (c == '\n') {
            m_lineStarts.push_back((LONG_PTR)i + 1);
        }
    }
}

bool CMemoryText::AppendText(const char* pText, int nLength)
{
    if (pText && nLength > 0)
        m_text.append(pText, (size_t)nLength);
    m_lineStarts.clear();
    return true;
}

LONG_PTR CMemoryText::LineFromPosition(LONG_PTR nPos)
{
    if (m_lineStarts.empty())
        IndexLines();
    auto it = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), nPos);
    return (LONG_PTR)(it - m_lineStarts.begin()) - 1;
}

LONG_PTR CMemoryText::GetLineEndPosition(LONG_PTR nLine)
{
    if (m_lineStarts.empty())
        IndexLines();
    if (nLine < 0)
        return 0;
    if (nLine + 1 >= (LONG_PTR)m_lineStarts.size())
        return (LONG_PTR)m_text.size();
    LONG_PTR nEnd = m_lineStarts[(size_t)nLine + 1];
    // Step back over the line break (CR LF, CR or LF).
    if (nEnd > 0 && m_text[(size_t)nEnd - 1] == '\n') {
        --nEnd;
        if (nEnd > m_lineStarts[(size_t)nLine] && m_text[(size_t)nEnd - 1] == '\r')
            --nEnd;
    } else if (nEnd > 0 && m_text[(size_t)nEnd - 1] == '\r') {
        --nEnd;
    }
    return nEnd;
}

void CMemoryText::GetTextRange(LONG_PTR nStart, LONG_PTR nEnd, char* pBuffer)
{
    nStart = std::max<LONG_PTR>(0, std::min<LONG_PTR>(nStart, (LONG_PTR)m_text.size()));
    nEnd = std::max<LONG_PTR>(nStart, std::min<LONG_PTR>(nEnd, (LONG_PTR)m_text.size()));
    memcpy(pBuffer, m_text.data() + nStart, (size_t)(nEnd - nStart));
    pBuffer[nEnd - nStart] = '\0';
}
