// syntaxpage.h - the options page "Syntax Coloring" and its sample.
//
// The page loads its own copy of the languages from the per-user Config
// folder, edits style colours and the default-language mark in that copy,
// and on Apply writes each changed language to its *.config file and has
// the main frame reload its languages and recolour the open documents.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qx/colorpicker.h>

#include "lexerconfig.h"

class CMainFrame;

// The preview: "AaBbCcXxYyZz" in 10-point Courier New, centred, in the
// chosen colours inside a one-pixel frame (grey when disabled).
class CSampleWnd : public CWnd {
public:
    CSampleWnd();
    BOOL Create(const RECT& rect, CWnd* pParent, UINT nID);
    void SetColours(COLORREF clrFore, COLORREF clrBack);
    void SetFore(COLORREF clr);
    void SetBack(COLORREF clr);
    COLORREF GetFore() const { return m_clrFore; }
    COLORREF GetBack() const { return m_clrBack; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnEnable(BOOL bEnable);
    DECLARE_MESSAGE_MAP()

    COLORREF m_clrFore;
    COLORREF m_clrBack;
};

class CPageSyntaxColour : public CPropertyPage {
public:
    explicit CPageSyntaxColour(CMainFrame* pFrame);
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    // The folder the page loads from (NULL: the per-user Config folder).
    void SetFolder(LPCSTR lpszFolder) { m_strFolder = lpszFolder ? lpszFolder : ""; }
    const CLexerConfigList& GetLanguages() const { return m_languages; }
    CSampleWnd& GetSample() { return m_sample; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnForeChosen();
    afx_msg void OnBackChosen();
    afx_msg void OnLanguageChosen();
    afx_msg void OnStyleChosen();
    afx_msg void OnDefaultToggled();
    DECLARE_MESSAGE_MAP()

    void ColourChosen(BOOL bFore);
    void MarkChanged();

    CMainFrame* m_pFrame;
    CString m_strFolder;
    int m_nChanged; // 1 after any edit until Apply
    CSampleWnd m_sample;
    CQXColorPicker m_forePicker;
    CQXColorPicker m_backPicker;
    CLexerConfigList m_languages; // the page's own copy
    int m_nCurrent;               // index of the language shown, -1 none
    CComboBox m_typeCombo;
    CListBox m_styleList;
    CButton m_defaultCheck;
};
