// optionssheet.h - the options sheet "Document Properties" and its pages:
// General Settings, File Dialog Filters, Syntax Coloring (syntaxpage.h),
// Backup Manager, General Settings More and Spell Checker.
//
// The pages copy the main frame's settings when the sheet is built and
// write them back on Apply; the frame stores them in the profile when it
// closes. Two pages act at once: the filter page writes "FileFilter" as the
// user adds and deletes rows, and the backup page deletes backups.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/browse.h>
#include <qx/colorpicker.h>

#include "editorframe.h"
#include "syntaxpage.h"

class CMainFrame;

// A browse edit whose button picks a folder with the new-style folder
// dialog, starting at the edit's text.
class CFolderBrowseEdit : public CQXBrowseEdit {
public:
    void ChooseDirectory() override;
};

// An edit with its up-down control that keeps a count from 1 to nMax of at
// most nDigits digits: a shorter text is taken (0 or less becomes "1"), a
// longer one is refused and the previous count shown again.
class CCountEdit {
public:
    CCountEdit(UINT nEdit, UINT nSpin, int nMax, int nDigits, int nValue);
    // Binds the up-down control to the page's edit and shows the count.
    void Init(CWnd* pPage);
    // EN_CHANGE: FALSE while the text is the count's own writing.
    BOOL OnTextChanged(CWnd* pPage);
    // UDN_DELTAPOS: the new position goes into the edit as text.
    void OnSpin(CWnd* pPage, NMHDR* pNMHDR);
    int Get() const { return m_nValue; }

private:
    UINT m_nEdit, m_nSpin;
    int m_nMax, m_nDigits;
    int m_nValue;    // 1..m_nMax
    BOOL m_bWriting; // the text is being written here, not typed
    CSpinButtonCtrl m_spin;
};

class CPageGeneral : public CPropertyPage {
public:
    explicit CPageGeneral(CMainFrame* pFrame);
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    int GetTabWidth() const { return m_tabWidth.Get(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnChanged();
    afx_msg void OnColourChosen();
    afx_msg void OnTabWidthChanged();
    afx_msg void OnTabWidthSpin(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

    CMainFrame* m_pFrame;
    int m_nTabsAsSpaces, m_nTabGuides;
    CCountEdit m_tabWidth; // 1..999
    int m_nPrintHeader, m_nPrintFooter, m_nPrintLineNumbers;
    COLORREF m_clrCaretLine;
    int m_nCaretLineAlpha; // 0..255
    int m_nRememberOpenFiles;
    CQXColorPicker m_caretPicker;
};

class CPageFileFilter : public CPropertyPage {
public:
    CPageFileFilter();
    BOOL OnInitDialog() override;

protected:
    afx_msg void OnAdd();
    afx_msg void OnDelete();
    afx_msg void OnTest();
    DECLARE_MESSAGE_MAP()

    CListCtrl m_list;
};

class CPageVersion : public CPropertyPage {
public:
    explicit CPageVersion(CMainFrame* pFrame);
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void UpdateEnabling();
    afx_msg void OnEnable();
    afx_msg void OnDeleteOnExit();
    afx_msg void OnFolderChanged();
    afx_msg void OnVersionsChanged();
    afx_msg void OnVersionsSpin(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDeleteFiles();
    DECLARE_MESSAGE_MAP()

    CMainFrame* m_pFrame;
    int m_nEnabled, m_nDeleteOnExit;
    CCountEdit m_versions; // 1..99
    CString m_strFolder;
    BOOL m_bInitialising; // the folder edit is being filled
    CFolderBrowseEdit m_folder;
};

class CPageGeneralMore : public CPropertyPage {
public:
    explicit CPageGeneralMore(CMainFrame* pFrame);
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    // TRUE when the Explorer context-menu handler is registered.
    static BOOL IsShellMenuRegistered();

protected:
    afx_msg void OnShellMenu();
    afx_msg void OnResetUndo();
    afx_msg void OnIconSize();
    afx_msg void OnTheme();
    DECLARE_MESSAGE_MAP()

    CMainFrame* m_pFrame;
    int m_nShellMenu, m_nShellMenuAtOpen;
    int m_nResetUndo, m_nLargeIcons;
    int m_nTheme; // 720..724
};

class CPageDictionary : public CPropertyPage {
public:
    explicit CPageDictionary(CMainFrame* pFrame);
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    void Fill();
    afx_msg void OnFolderChanged();
    afx_msg void OnDictionaryChosen();
    DECLARE_MESSAGE_MAP()

    CMainFrame* m_pFrame;
    CString m_strFolder, m_strDictionary;
    CFolderBrowseEdit m_folder;
    CComboBox m_combo;
};

class CPropertiesSheet : public CPropertySheet {
public:
    CPropertiesSheet(LPCSTR lpszCaption, CMainFrame* pFrame, UINT iSelectPage = 0);

    CPageGeneral m_general;
    CPageFileFilter m_filters;
    CPageSyntaxColour m_syntax;
    CPageVersion m_version;
    CPageGeneralMore m_more;
    CPageDictionary m_dictionary;
};
