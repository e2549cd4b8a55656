// fx/document.h - CDocument, the data behind one or more views.
//
// Files
// -----
// OnOpenDocument opens the file, runs Serialize on a loading CArchive and
// clears the modified flag; a failure is reported in a message box and the
// document stays empty. OnSaveDocument never writes into the file it
// replaces: Serialize writes a temporary file in the same folder, which
// takes the place of the old file only when everything was written. A
// failed save is reported, leaves the old file as it was and keeps the
// document modified.
//
// DoSave(path) saves under path; with no path it asks for one (Save As,
// through the application's file dialog). DoFileSave saves under the
// current path, or asks when there is none or the file is read-only.
// SaveModified asks "Save changes to <name>?" (Yes / No / Cancel) through
// AfxMessageBox before a modified document is closed.
//
// Views and frames
// ----------------
// Views register themselves (AddView/RemoveView); the last view going away
// closes an auto-delete document. The frames showing the document are
// numbered (":1", ":2") by UpdateFrameCounts when there is more than one.
#pragma once

#include "fx/wnd.h"
#include "fx/coll.h"
#include "fx/file.h"
#include "fx/archive.h"
#include "fx/dvdefs.h"

class CView;
class CDocTemplate;
class CFrameWnd;
class CException;
class CFileException;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    // --- title and path --------------------------------------------------------------
    const CString& GetTitle() const { return m_strTitle; }
    // Sets the title and renumbers the frames' captions.
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // The full path; the title becomes the file name; bAddToMRU: the path
    // joins the application's recent-file list.
    virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
    void ClearPathName() { m_strPathName.Empty(); }

    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // --- state -----------------------------------------------------------------------
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // --- views -----------------------------------------------------------------------
    virtual POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    virtual CView* GetNextView(POSITION& rPosition) const;
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // Calls OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = NULL);
    // Numbers the frames that show this document and updates their titles.
    virtual void UpdateFrameCounts();
    virtual void OnChangedViewList();

    // --- life ------------------------------------------------------------------------
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
    // Destroys the frames of the views and deletes the document (when
    // m_bAutoDelete).
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // TRUE when the frame may close: another frame still shows the document,
    // or SaveModified agreed.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // Asks to save a modified document; FALSE when the user cancelled or the
    // save failed.
    virtual BOOL SaveModified();
    // Saves under lpszPathName, or asks for a name (NULL or empty). bReplace:
    // the document takes the new name (Save As), else a copy is written.
    virtual BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();
    // Reports a failed load or save; nIDPDefault names the prompt used when
    // the exception has no better text.
    virtual void ReportSaveLoadException(LPCSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);
    // Opens the file for loading or saving (FALSE and pError filled on
    // failure); ReleaseFile closes it (bAbort: without reporting errors).
    virtual CFile* GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);

    // The menu and accelerators this document wants while it is active
    // (NULL: those of its template).
    virtual HMENU GetDefaultMenu() { return NULL; }
    virtual HACCEL GetDefaultAccelerator() { return NULL; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // --- mail ------------------------------------------------------------------------
    // Sends a copy of the document as a mail attachment through the simple
    // mail interface (MAPI), when one is installed.
    afx_msg void OnFileSendMail();
    afx_msg void OnUpdateFileSendMail(CCmdUI* pCmdUI);

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate;
    CPtrList m_viewList;
    BOOL m_bModified;
    BOOL m_bAutoDelete; // deleted when its last view closes
    BOOL m_bEmbedded;

protected:
    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();
    DECLARE_MESSAGE_MAP()

    friend class CDocTemplate;
};

namespace fx {
// Writes a file the safe way: fnWrite fills a temporary file in the target's
// folder, which then replaces the target (keeping the target untouched when
// anything fails). Errors are thrown as CFileException* (from fnWrite as
// well). Used by CDocument::OnSaveDocument.
template <class F>
void SafeWriteFile(LPCSTR lpszPathName, F fnWrite);
// The pieces SafeWriteFile is made of.
CString CreateTempFileBeside(LPCSTR lpszPathName);        // throws CFileException*
void ReplaceFileWith(LPCSTR lpszTarget, LPCSTR lpszTemp); // throws CFileException*

// A message box with the program's string nID, or the built-in English
// text when the program has none; %1 is replaced by lpsz1.
int PromptMessage(UINT nID, UINT nType, LPCSTR lpsz1 = NULL);
// The text PromptMessage would show.
CString LoadPrompt(UINT nID, LPCSTR lpsz1 = NULL);
} // namespace fx

template <class F>
void fx::SafeWriteFile(LPCSTR lpszPathName, F fnWrite)
{
    CString strTemp = CreateTempFileBeside(lpszPathName);
    try {
        fnWrite((LPCSTR)strTemp);
        ReplaceFileWith(lpszPathName, strTemp);
    } catch (...) {
        ::DeleteFileA(strTemp);
        throw;
    }
}
