// Exception classes and the AfxThrow helpers.
#include "fx/except.h"
#include "fx/app.h"

#include <cerrno>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(COleException, CException)

namespace {

// Handlers of the CATCH macros currently active on this thread, innermost
// first.
thread_local fx::ExceptionAutoDelete* t_pAutoDeletes = NULL;

BOOL CopyMessage(const char* psz, LPSTR lpszError, UINT nMaxError)
{
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    lstrcpynA(lpszError, psz, (int)nMaxError);
    return TRUE;
}

BOOL CopyFormatted(const char* fmt, const CString& strFile, LPSTR lpszError, UINT nMaxError)
{
    CString s;
    s.Format(fmt, strFile.IsEmpty() ? "an unnamed file" : strFile.GetString());
    return CopyMessage(s, lpszError, nMaxError);
}

} // namespace

namespace fx {

ExceptionAutoDelete::ExceptionAutoDelete(CException* p) : m_p(p), m_pPrev(t_pAutoDeletes)
{
    t_pAutoDeletes = this;
}

ExceptionAutoDelete::~ExceptionAutoDelete()
{
    t_pAutoDeletes = m_pPrev;
    if (m_p)
        m_p->Delete();
}

} // namespace fx

// ---------------------------------------------------------------------------

CException::~CException() = default;

void CException::Delete()
{
    // A CATCH handler that still holds this exception must not delete it a
    // second time.
    for (fx::ExceptionAutoDelete* p = t_pAutoDeletes; p; p = p->m_pPrev) {
        if (p->m_p == this)
            p->m_p = NULL;
    }
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError)
        *lpszError = 0;
    return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID)
{
    char szMessage[512];
    UINT nHelp = 0;
    if (GetErrorMessage(szMessage, sizeof(szMessage), &nHelp))
        return AfxMessageBox(szMessage, nType, nHelp);
    if (nMessageID == 0)
        return AfxMessageBox("An unsupported operation was attempted.", nType);
    return AfxMessageBox(nMessageID, nType, nHelp);
}

BOOL CSimpleException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (m_strMessage.IsEmpty()) {
        if (lpszError && nMaxError)
            *lpszError = 0;
        return FALSE;
    }
    return CopyMessage(m_strMessage, lpszError, nMaxError);
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    const char* fmt;
    switch (m_cause) {
    case none: fmt = "No error occurred while accessing %s."; break;
    case fileNotFound: fmt = "%s was not found."; break;
    case badPath: fmt = "%s contains an incorrect path."; break;
    case tooManyOpenFiles: fmt = "%s could not be opened because there are too many open files."; break;
    case accessDenied: fmt = "Access to %s was denied."; break;
    case invalidFile: fmt = "An invalid file handle was associated with %s."; break;
    case removeCurrentDir: fmt = "%s could not be removed because it is the current directory."; break;
    case directoryFull: fmt = "%s could not be created because the directory is full."; break;
    case badSeek: fmt = "Seek failed on %s."; break;
    case hardIO: fmt = "A hardware I/O error was reported while accessing %s."; break;
    case sharingViolation: fmt = "A sharing violation occurred while accessing %s."; break;
    case lockViolation: fmt = "A locking violation occurred while accessing %s."; break;
    case diskFull: fmt = "Disk full while accessing %s."; break;
    case endOfFile: fmt = "An attempt was made to access %s past its end."; break;
    default: fmt = "An unexpected error occurred while accessing %s."; break;
    }
    return CopyFormatted(fmt, m_strFileName, lpszError, nMaxError);
}

int PASCAL CFileException::OsErrorToException(LONG lOsError)
{
    switch ((DWORD)lOsError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_CANNOT_MAKE:
        return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_NO_MORE_FILES: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
        return badSeek;
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
        return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_LOCK_FAILED:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

int PASCAL CFileException::ErrnoToException(int nErrno)
{
    switch (nErrno) {
    case ENOENT: return fileNotFound;
    case EACCES: return accessDenied;
    case EMFILE: return tooManyOpenFiles;
    case EBADF: return invalidFile;
    case ENOSPC: return diskFull;
    case EINVAL:
    case EIO:
        return hardIO;
    default: return genericException;
    }
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName)
{
    if (lOsError != 0)
        AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void PASCAL CFileException::ThrowErrno(int nErrno, LPCSTR lpszFileName)
{
    if (nErrno != 0)
        AfxThrowFileException(ErrnoToException(nErrno), _doserrno, lpszFileName);
}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    const char* fmt;
    switch (m_cause) {
    case none: fmt = "No error occurred while reading or writing %s."; break;
    case readOnly: fmt = "Tried to write to %s while it was open for reading."; break;
    case endOfFile: fmt = "Unexpected end of %s while reading."; break;
    case writeOnly: fmt = "Tried to read from %s while it was open for writing."; break;
    case badIndex:
    case badClass:
    case badSchema:
        fmt = "%s has an unexpected format.";
        break;
    default: fmt = "An unexpected error occurred while reading or writing %s."; break;
    }
    return CopyFormatted(fmt, m_strFileName, lpszError, nMaxError);
}

BOOL COleException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    char* pMsg = NULL;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             NULL, (DWORD)m_sc, 0, reinterpret_cast<LPSTR>(&pMsg), 0, NULL);
    CString s;
    if (n && pMsg) {
        s = pMsg;
        s.TrimRight();
    } else {
        s.Format("OLE error 0x%08lX.", (unsigned long)m_sc);
    }
    if (pMsg)
        LocalFree(pMsg);
    return CopyMessage(s, lpszError, nMaxError);
}

SCODE PASCAL COleException::Process(const CException* pAnyException)
{
    if (pAnyException == NULL)
        return S_OK;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(COleException)))
        return static_cast<const COleException*>(pAnyException)->m_sc;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CMemoryException)))
        return E_OUTOFMEMORY;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CNotSupportedException)))
        return E_NOTIMPL;
    return E_UNEXPECTED;
}

// ---------------------------------------------------------------------------

void AFXAPI AfxThrowMemoryException()
{
    // A preallocated object: allocating may be what just failed.
    static CMemoryException s_memoryException(FALSE);
    throw &s_memoryException;
}

void AFXAPI AfxThrowInvalidArgException() { throw new CInvalidArgException; }
void AFXAPI AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AFXAPI AfxThrowResourceException() { throw new CResourceException; }
void AFXAPI AfxThrowUserException() { throw new CUserException; }

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

void AFXAPI AfxThrowOleException(SCODE sc) { throw new COleException(sc); }

void AFXAPI AfxAbort()
{
    FatalAppExitA(0, "The program has stopped because of an unrecoverable error.");
    ExitProcess(3);
}
