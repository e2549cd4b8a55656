// htmlpreview.h - the web preview of a text document.
//
// A preview frame shows the current text of a source view in the browser
// view, written from memory into an empty page. A text frame keeps the
// window of the preview it opened and reuses it (PreviewText). Without a
// browser engine every step fails quietly: the frame opens and stays empty.
#pragma once

#include <fx/fx.h>

#include "docchildframe.h"

#include <string>

class CHTMLPreviewDoc : public CDocument {
    DECLARE_DYNCREATE(CHTMLPreviewDoc)
public:
    BOOL OnNewDocument() override;
    BOOL SaveModified() override { return TRUE; }
};

class CHTMLPreviewFrame : public CExtraDocFrame {
    DECLARE_DYNCREATE(CHTMLPreviewFrame)
public:
    // Replaces the page of the active view with the text (HTML); fails
    // quietly, keeping the previous page. TRUE when the text was loaded.
    BOOL SetHtmlText(LPCSTR lpszText);
    // The bytes SetHtmlText loads into the page: a UTF-8 byte-order mark,
    // then the text with its terminating zero. A source view's text is
    // UTF-8, and an HTML engine reads a page without a mark in the system's
    // legacy code page.
    static std::string PageBytes(LPCSTR lpszText);

    // The preview command of a text frame: activates the frame hRemembered
    // names when it is still an open preview frame, else opens a new preview
    // document through pTemplate and remembers its frame in rhRemembered;
    // then shows the text there. Returns the preview frame (NULL when none
    // could be opened).
    static CHTMLPreviewFrame* PreviewText(CDocTemplate* pTemplate, HWND& rhRemembered, LPCSTR lpszText);
};

class CHTMLPreviewView : public CHtmlView {
    DECLARE_DYNCREATE(CHTMLPreviewView)
public:
    void OnInitialUpdate() override;
};
