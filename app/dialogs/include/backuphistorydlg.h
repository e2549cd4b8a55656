// backuphistorydlg.h - the "Document Backups" dialog: lists the current file
// and its backup copies (newest first) and asks for two of them to compare.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include "backup.h"

// What the history dialog needs of a document: its backup store, which
// knows the document's file as well.
class IBackupHistorySource {
public:
    virtual ~IBackupHistorySource() {}
    virtual const CBackupStore& GetBackupStore() const = 0;
};

class CBackupHistoryDlg : public CDialog {
public:
    CBackupHistoryDlg(const IBackupHistorySource* pSource, CWnd* pParent = NULL);

    // After IDOK: the chosen versions in list order (upper line first), each
    // an entry index of the store or kCurrent for the document's own file.
    enum {
        kCurrent = -1
    };
    int GetFirst() const { return m_nFirst; }
    int GetSecond() const { return m_nSecond; }

    // The file a choice stands for: the document's path for kCurrent, else
    // the copy's path (empty for an index the store does not have).
    static CString GetVersionPath(const CBackupStore& store, int nVersion);

    // The message shown when Compare is pressed without exactly two lines
    // selected.
    static const char kSelectTwoMessage[];

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    CListBox m_list;
    const IBackupHistorySource* m_pSource;
    int m_nFirst;
    int m_nSecond;
};
