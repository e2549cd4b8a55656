// fx/doctempl.h - document templates, the document manager, the recent-file
// list and the command line.
//
// Document templates
// ------------------
// A CMultiDocTemplate ties a resource id to a document, a frame and a view
// class. String <id> holds the document strings, separated by '\n', in the
// order of DocStringIndex:
//     "<window title>\n<document name>\n<new-file name>\n<filter name>\n
//      <filter extension>\n<registry file type id>\n<registry type name>"
// (for example "\nUntitled\nQuillmate\n\n\nText.Document\nText Document").
// Menu <id> and accelerators <id> are shared by the frames of the template.
//
// OpenDocumentFile(path) works in this order: a document of the template
// already open under that path is activated instead; otherwise the document
// is made, then its frame and views, then OnOpenDocument(path) (or, without
// a path, the title "<document name><n>" and OnNewDocument), and last
// InitialUpdateFrame shows the frame. A failure destroys what was made and
// returns NULL.
//
// The document manager
// --------------------
// CDocManager holds the templates of the application (AddDocTemplate), opens
// files with the template whose filter extension matches (an open document
// with the same path is activated instead), asks every template to save and
// close its documents, and answers the recent-file commands
// (ID_FILE_MRU_FILE1 ..) at the end of the frames' command routing.
//
// The recent-file list
// --------------------
// CRecentFileList keeps the most recent paths first, without duplicates
// (paths compare without case), and stores them in the profile section
// "Recent File List" as values "File1", "File2", ...
#pragma once

#include "fx/wnd.h"
#include "fx/coll.h"
#include "fx/dvdefs.h"

class CDocument;
class CFrameWnd;
class CView;
class CCommandLineInfo;
class CRecentFileList;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    ~CDocTemplate() override;

    enum DocStringIndex {
        windowTitle, // main window caption (single-document programs)
        docName,     // base of the default document names ("Untitled")
        fileNewName, // name in the File New list
        filterName,  // "Text Files (*.txt)"
        filterExt,   // ".txt"
        regFileTypeId,
        regFileTypeName,
        regFileTypeIdTotal
    };
    // rString: the substring, empty when the string has no such part.
    // FALSE when the part is missing or empty.
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    enum Confidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen
    };
    // How well the template suits a path; rpDocMatch receives the document
    // already open under that path (yesAlreadyOpen).
    virtual Confidence MatchDocType(LPCSTR lpszPathName, CDocument*& rpDocMatch);

    // Loads the document strings (and, for MDI templates, menu and
    // accelerators); called by AddDocTemplate.
    virtual void LoadTemplate();

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    virtual CDocument* CreateNewDocument();
    // A frame for pDoc (pOther: a frame to copy from, or NULL).
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
    BOOL m_bAutoDelete; // deleted by the document manager

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
};

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;

    void LoadTemplate() override;
    POSITION GetFirstDocPosition() const override { return m_docList.GetHeadPosition(); }
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

    HMENU m_hMenuShared;
    HACCEL m_hAccelTable;
    CPtrList m_docList;
    UINT m_nUntitledCount; // numbers of the new documents made so far
};

// ---------------------------------------------------------------------------
class CDocManager : public CCmdTarget {
    DECLARE_DYNAMIC(CDocManager)
public:
    CDocManager();
    ~CDocManager() override; // deletes the templates (m_bAutoDelete)

    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    int GetDocumentCount();

    // Opens (or activates) the document of a path with the best template;
    // a missing file or no template reports and returns NULL.
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // A new document of the first template.
    virtual void OnFileNew();
    // The open dialog with the templates' filters, then OpenDocumentFile
    // (through the application, which may override it).
    virtual void OnFileOpen();
    // The file dialog; fileName holds the proposed name on entry and the
    // chosen path on return. FALSE when cancelled.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);
    // "<filter name>|*<ext>|" for the template (all templates when NULL),
    // then "All Files (*.*)|*.*||".
    CString BuildFilter(CDocTemplate* pTemplate) const;

    // Recent-file commands (routed here by the frames).
    afx_msg BOOL OnOpenRecentFile(UINT nID);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    CPtrList m_templateList;

protected:
    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------
class CRecentFileList {
public:
    // nStart: index of the first command (ID_FILE_MRU_FILE1 + nStart);
    // lpszEntryFormat: "File%d"; nMaxDispLen: longest display name.
    CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize,
                    int nMaxDispLen = 30);
    virtual ~CRecentFileList();

    int GetSize() const { return m_nSize; }
    // The path at nIndex ("" past the end).
    CString& operator[](int nIndex);
    // Moves (or adds) the path to the top; the oldest falls out. The list is
    // written to the profile at once.
    virtual void Add(LPCSTR lpszPathName);
    virtual void Remove(int nIndex);
    // The name to show for entry nIndex: the file name alone when it lies in
    // lpszCurDir, else the path shortened to nMaxDispLen ("C:\...\dir\x.txt");
    // bAtLeastName keeps the full file name even when it is longer. FALSE
    // for an empty entry.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;
    // The current folder with a trailing backslash, as GetDisplayName takes
    // it; its length (0 and an empty text when it cannot be had).
    static int AFXAPI GetCurrentDirForDisplay(char (&szCurDir)[MAX_PATH + 2]);
    // Replaces the menu item of pCmdUI (ID_FILE_MRU_FILE1) by one item per
    // entry ("&1 name" ...); disables it when the list is empty.
    virtual void UpdateMenu(CCmdUI* pCmdUI);
    virtual void ReadList();
    virtual void WriteList();

    int m_nSize;
    CString* m_arrNames;
    CString m_strSectionName;
    CString m_strEntryFormat;
    UINT m_nStart;
    int m_nMaxDisplayLength;
    CString m_strOriginal; // the menu text of the placeholder item
};

// ---------------------------------------------------------------------------
class CCommandLineInfo : public CObject {
public:
    CCommandLineInfo();
    ~CCommandLineInfo() override;

    // Called for each argument; bFlag: it started with '-' or '/' (removed
    // from pszParam); bLast: the last argument.
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash;
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;
    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1
    } m_nShellCommand;
    CString m_strFileName; // FileOpen, FilePrint, FilePrintTo
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

protected:
    void ParseParamFlag(const char* pszParam);
    void ParseParamNotFlag(const char* pszParam);
    void ParseLast(BOOL bLast);
};

// ---------------------------------------------------------------------------
// The application's side of documents. The application object holds the
// document manager and the recent-file list (CWinApp::m_pDocManager,
// m_pRecentFileList); these functions reach them and call the application's
// overridable OpenDocumentFile and AddToRecentFileList.
CDocManager* AFXAPI AfxGetDocManager();
CRecentFileList* AFXAPI AfxGetRecentFileList();

namespace fx {
// Installs the document manager and the recent-file list used when the
// application object does not hold them (the document tests; the
// application's own members take precedence). Ownership stays with the
// caller.
void SetDocManager(CDocManager* pDocManager, CRecentFileList* pRecentFileList);
// The application's OpenDocumentFile (its override when it has one).
CDocument* AppOpenDocumentFile(LPCSTR lpszFileName);
// The application's AddToRecentFileList.
void AppAddToRecentFileList(LPCSTR lpszPathName);
// The application's SaveAllModified and CloseAllDocuments (the document
// manager's when the application does not hold one).
BOOL AppSaveAllModified();
void AppCloseAllDocuments(BOOL bEndSession);
// Splits argv (without the program name) into pInfo (ParseParam per
// argument).
void ParseCommandLineArgs(CCommandLineInfo& rCmdInfo, int argc, char** argv);
// Runs the shell command: FileNew (the application's ID_FILE_NEW handler,
// else the document manager's), FileOpen, FilePrint/FilePrintTo (open,
// print, close), FileNothing. FALSE when start-up should end.
BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
} // namespace fx
