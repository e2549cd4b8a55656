// fx/except.h - the framework's exceptions.
//
// Exceptions are C++ exceptions thrown as heap pointers (`throw new
// CFileException(...)`, or the AfxThrow... helpers) and caught as pointers:
//
//     try { ... } catch (CFileException* e) { ...; e->Delete(); }
//
// A handler that does not rethrow must call Delete(). The TRY / CATCH /
// AND_CATCH / END_CATCH macros map onto try/catch and delete the caught
// exception at the end of the handler unless it is rethrown with
// THROW_LAST(); calling Delete() inside such a handler is also safe.
//
// No exception may cross a DLL boundary: every DLL entry point catches what
// its own code throws (each module has its own copy of this framework, and
// the objects and run-time information do not match across modules).
#pragma once

#include "fx/core.h"
#include "fx/string.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    ~CException() override;

    // Deletes a heap exception; static exceptions (m_bAutoDelete FALSE)
    // stay.
    void Delete();

    // Copies a message describing the error; FALSE when there is none.
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);
    // Shows the message (or string nMessageID when there is none) with
    // AfxMessageBox and returns its result.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

    BOOL m_bAutoDelete;
};

// Exceptions that carry only a message string id.
class CSimpleException : public CException {
    DECLARE_DYNAMIC(CSimpleException)
public:
    explicit CSimpleException(BOOL bAutoDelete = TRUE, LPCSTR lpszMessage = NULL)
        : CException(bAutoDelete), m_strMessage(lpszMessage) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;

protected:
    CString m_strMessage;
};

class CMemoryException : public CSimpleException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE)
        : CSimpleException(bAutoDelete, "Out of memory.") {}
};

class CNotSupportedException : public CSimpleException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE)
        : CSimpleException(bAutoDelete, "Unsupported operation was attempted.") {}
};

class CInvalidArgException : public CSimpleException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE)
        : CSimpleException(bAutoDelete, "Encountered an improper argument.") {}
};

class CResourceException : public CSimpleException {
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL bAutoDelete = TRUE)
        : CSimpleException(bAutoDelete, "A required resource was unavailable.") {}
};

// Raised to abandon an operation after the user has already been told why
// (for example by a data-validation message); it has no message of its own.
class CUserException : public CSimpleException {
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszArchiveName = NULL)
        : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;

    // Maps a Win32 error code to a cause.
    static int PASCAL OsErrorToException(LONG lOsError);
    static int PASCAL ErrnoToException(int nErrno);
    static void PASCAL ThrowOsError(LONG lOsError, LPCSTR lpszFileName = NULL);
    static void PASCAL ThrowErrno(int nErrno, LPCSTR lpszFileName = NULL);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none,
        genericException,
        readOnly,  // tried to write into an archive opened for loading
        endOfFile, // reached the end of the stream while reading
        writeOnly, // tried to read from an archive opened for storing
        badIndex,  // bad object or class reference
        badClass,  // unknown class, or not the class asked for
        badSchema  // stored schema differs from the class's
    };

    explicit CArchiveException(int cause = none, LPCSTR lpszArchiveName = NULL)
        : m_cause(cause), m_strFileName(lpszArchiveName) {}

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;

    int m_cause;
    CString m_strFileName;
};

class COleException : public CException {
    DECLARE_DYNAMIC(COleException)
public:
    explicit COleException(SCODE sc = E_FAIL) : m_sc(sc) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;
    // The SCODE of an exception: its own code for COleException, E_OUTOFMEMORY
    // for memory, E_NOTIMPL for not-supported, else E_UNEXPECTED.
    static SCODE PASCAL Process(const CException* pAnyException);

    SCODE m_sc;
};

[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] void AFXAPI AfxThrowResourceException();
[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = NULL);
[[noreturn]] void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = NULL);
[[noreturn]] void AFXAPI AfxThrowOleException(SCODE sc);
[[noreturn]] void AFXAPI AfxAbort();

// ---------------------------------------------------------------------------
// Handler macros.
namespace fx {
// Deletes the exception of a CATCH block when the block ends, unless it was
// rethrown or already deleted.
class ExceptionAutoDelete {
public:
    explicit ExceptionAutoDelete(CException* p);
    ~ExceptionAutoDelete();
    void Release() { m_p = NULL; }
    ExceptionAutoDelete(const ExceptionAutoDelete&) = delete;
    ExceptionAutoDelete& operator=(const ExceptionAutoDelete&) = delete;

private:
    friend class ::CException;
    CException* m_p;
    ExceptionAutoDelete* m_pPrev;
};
} // namespace fx

#define TRY try
#define CATCH(class_name, e) \
    catch (class_name * e) \
    { \
        ::fx::ExceptionAutoDelete fxAutoDelete_(e); \
        (void)e;
#define AND_CATCH(class_name, e) \
    } \
    catch (class_name * e) \
    { \
        ::fx::ExceptionAutoDelete fxAutoDelete_(e); \
        (void)e;
#define END_CATCH }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) AND_CATCH(CException, e)
#define END_CATCH_ALL }
#define END_TRY
#define THROW(e) throw e
#define THROW_LAST() \
    do { \
        fxAutoDelete_.Release(); \
        throw; \
    } while (0)
