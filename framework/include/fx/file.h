// fx/file.h - files: CFile (a Win32 file handle), CStdioFile (buffered, with
// text-mode line ends), CMemFile (a growing memory block), CSharedFile (a
// memory file in a global memory handle, for the clipboard), CFileFind, and
// fx::ReadWholeFile, the one reader of whole files.
//
// Errors are thrown as CFileException* (see fx/except.h), except from Open,
// which reports through its result and the optional exception object.
#pragma once

#include "fx/core.h"
#include "fx/string.h"
#include "fx/time.h"

#include <cstdint>
#include <string>
#include <vector>

class CFileException;

struct CFileStatus {
    CTime m_ctime;    // creation time
    CTime m_mtime;    // last modification time
    CTime m_atime;    // last access time
    ULONGLONG m_size; // size in bytes
    BYTE m_attribute; // CFile::Attribute bits
    BYTE m_padding;
    char m_szFullName[MAX_PATH];
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x00000,
        modeWrite = 0x00001,
        modeReadWrite = 0x00002,
        shareCompat = 0x00000,
        shareExclusive = 0x00010,
        shareDenyWrite = 0x00020,
        shareDenyRead = 0x00030,
        shareDenyNone = 0x00040,
        modeNoInherit = 0x00080,
        modeCreate = 0x01000,
        modeNoTruncate = 0x02000,
        typeText = 0x04000,
        typeBinary = 0x08000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000
    };
    enum Attribute {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20
    };
    enum SeekPosition {
        begin = 0x0,
        current = 0x1,
        end = 0x2
    };

    static const HANDLE hFileNull;

    CFile();
    // Wraps an open handle; it is closed when the object is destroyed.
    explicit CFile(HANDLE hFile);
    // Opens the file or throws CFileException*.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    operator HANDLE() const { return m_hFile; }

    // Opens a file; on failure returns FALSE and, when pError is given,
    // fills it in (no exception is thrown). Share mode shareCompat is
    // exclusive.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);

    // Takes over an open handle (and optionally its path); Detach gives it
    // back without closing it.
    void Attach(HANDLE hFile, LPCSTR lpszFilePath = NULL);
    HANDLE Detach();

    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual CString GetFilePath() const;
    virtual void SetFilePath(LPCSTR lpszNewName);

    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    // Sets the length; the position moves to the new end.
    virtual void SetLength(ULONGLONG dwNewLen);

    // Returns the number of bytes read (less than nCount at the end).
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes all bytes or throws (diskFull when only part was written).
    virtual void Write(const void* lpBuf, UINT nCount);

    virtual void LockRange(ULONGLONG dwPos, ULONGLONG dwCount);
    virtual void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount);

    virtual void Flush();
    virtual void Close();
    // Closes without reporting errors.
    virtual void Abort();
    virtual CFile* Duplicate() const;

    virtual BOOL GetStatus(CFileStatus& rStatus) const;

    static void PASCAL Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
    static void PASCAL Remove(LPCSTR lpszFileName);
    static BOOL PASCAL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);
    // Sets the attributes and the non-zero times of a file.
    static void PASCAL SetStatus(LPCSTR lpszFileName, const CFileStatus& status);

    HANDLE m_hFile;
    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};

// A file read and written through a buffer. In text mode (the default;
// typeBinary turns it off) "\r\n" reads as "\n" and "\n" is written as
// "\r\n"; positions are byte offsets in the file.
class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);
    ~CStdioFile() override;

    BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL) override;

    // Writes the text (no line end is added).
    virtual void WriteString(LPCSTR lpsz);
    // Reads at most nMax - 1 characters up to and including a line feed;
    // NULL at the end of the file.
    virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);
    // Reads the next line without its line feed; FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);

    ULONGLONG GetPosition() const override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    void Flush() override;
    void Close() override;
    void Abort() override;
    CFile* Duplicate() const override;

    BOOL IsTextMode() const { return m_bText; }

private:
    int GetByte();  // next raw byte or -1
    int PeekByte(); // next raw byte without consuming it, or -1
    int GetChar();  // next character after line-end translation or -1
    bool FillBuffer();
    void FlushWrite();
    void DropReadBuffer();
    void PutBytes(const char* p, size_t n);

    BOOL m_bText;
    char* m_pBuf;
    size_t m_nBufSize;
    size_t m_nReadPos;  // next unread byte in the buffer
    size_t m_nReadLen;  // bytes of file data in the buffer
    size_t m_nWriteLen; // pending bytes to write
};

// A file in memory. It grows in steps of nGrowBytes (0: a fixed buffer that
// cannot grow; writing past it throws CMemoryException*).
class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    // Works on the caller's buffer; see Attach.
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // Uses the caller's buffer. With nGrowBytes 0 its contents are the file
    // (for reading); otherwise the file starts empty and, when it outgrows
    // the buffer, moves to memory of its own.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Gives up the memory: the caller owns the returned block (free() it
    // when it was allocated by the file) and the file becomes empty.
    BYTE* Detach();

    ULONGLONG GetPosition() const override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    void LockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;
    void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;
    void Flush() override;
    void Close() override;
    void Abort() override;
    CFile* Duplicate() const override;
    BOOL GetStatus(CFileStatus& rStatus) const override;

    // The file's bytes (valid until the next write).
    const BYTE* GetData() const { return m_lpBuffer; }

protected:
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    virtual void GrowFile(SIZE_T dwNewLen);

    UINT m_nGrowBytes;
    SIZE_T m_nPosition;
    SIZE_T m_nBufferSize;
    SIZE_T m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete; // the buffer was allocated by the file
};

// A memory file kept in a global memory handle (GlobalAlloc), for data that
// goes to or comes from the clipboard.
class CSharedFile : public CMemFile {
    DECLARE_DYNAMIC(CSharedFile)
public:
    explicit CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);
    ~CSharedFile() override;

    // Gives up the memory handle; the file becomes empty.
    HGLOBAL Detach();
    // Works on an existing handle; its whole size is the file's contents.
    void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);

protected:
    BYTE* Alloc(SIZE_T nBytes) override;
    BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes) override;
    void Free(BYTE* lpMem) override;

    UINT m_nAllocFlags;
    HGLOBAL m_hGlobalMemory;
    BOOL m_bAllowGrow;
};

// Enumerates files matching a pattern. FindFile starts the search;
// each FindNextFile makes the next match current and returns FALSE when
// that match is the last one (it is still valid).
class CFileFind : public CObject {
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind();
    ~CFileFind() override;

    virtual BOOL FindFile(LPCSTR pstrName = NULL, DWORD dwUnused = 0);
    virtual BOOL FindNextFile();
    void Close();

    ULONGLONG GetLength() const;
    virtual CString GetFileName() const;
    virtual CString GetFilePath() const;
    virtual CString GetFileTitle() const;
    virtual CString GetFileURL() const;
    virtual CString GetRoot() const;

    BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
    BOOL GetLastAccessTime(FILETIME* pTimeStamp) const;
    BOOL GetCreationTime(FILETIME* pTimeStamp) const;
    BOOL GetLastWriteTime(CTime& refTime) const;
    BOOL GetLastAccessTime(CTime& refTime) const;
    BOOL GetCreationTime(CTime& refTime) const;

    virtual BOOL MatchesMask(DWORD dwMask) const;
    virtual BOOL IsDots() const;
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsCompressed() const { return MatchesMask(FILE_ATTRIBUTE_COMPRESSED); }
    BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsTemporary() const { return MatchesMask(FILE_ATTRIBUTE_TEMPORARY); }
    BOOL IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }
    BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }

protected:
    WIN32_FIND_DATAA m_found;
    WIN32_FIND_DATAA m_next;
    BOOL m_bFound;    // m_found holds a current match
    BOOL m_bHaveNext; // m_next holds the following match
    HANDLE m_hContext;
    CString m_strRoot;
    char m_chDirSeparator;
};

namespace fx {

// The whole content of a file, read to its end (opened for reading while
// others may read and write it). False when it cannot be opened or read, or
// when it holds more than nMax bytes; data is then empty.
bool ReadWholeFile(LPCSTR lpszPath, std::string& data, size_t nMax = SIZE_MAX);
bool ReadWholeFile(LPCSTR lpszPath, std::vector<BYTE>& data, size_t nMax = SIZE_MAX);

} // namespace fx
