// macros.h - recorded editing macros and the file macros.xml.
//
// A macro is a named sequence of editing requests recorded from the editing
// component (its SCN_MACRORECORD reports) and played back by sending them
// again. The macros live in "<data folder>\macros.xml":
//   <?xml version="1.0" encoding="UTF-8" ?>
//   <macros>
//       <macro name="...">
//           <step msg="2170" wparam="0" lparam="0" sparam="text" />
//       </macro>
//   </macros>
// Several macros may share a name; the first in the file is the one found.
// Text arguments are kept byte for byte (the editor's own bytes: UTF-8, or
// ANSI for ANSI documents).
#pragma once

#include <windows.h>
#include <vector>

#include "fx/string.h"

// "<local application data>\Fernbright\Quillmate\macros.xml".
CString GetMacroFilePath();

// One recorded request.
struct CMacroStep {
    CMacroStep() : msg(0), wparam(0), lparam(0) {}
    // Builds a step from a recording report. For a message that carries
    // text, lParam points at the text: the whole text is copied into sparam
    // (wParam bytes for the messages whose wParam is the text's length) and
    // lparam becomes 0. Other messages keep lParam.
    CMacroStep(int nMsg, WPARAM wParam, LPARAM lParam);

    int msg;
    WPARAM wparam;
    LPARAM lparam;
    CString sparam;

    // The arguments to send when the step is played: a text-carrying message
    // gets the text of sparam (and a length argument no longer than it).
    void GetPlayArguments(WPARAM& wParam, LPARAM& lParam) const;

    // Messages whose second argument is text.
    static bool IsTextMessage(int nMsg);
    // Text messages whose first argument is the text's length.
    static bool IsLengthMessage(int nMsg);
    // Messages the editing component reports while recording; a step of any
    // other message is not accepted from macros.xml.
    static bool IsRecordable(int nMsg);
};

class CMacroStore {
public:
    CMacroStore();

    // Starts a new macro: sets the name and empties the steps.
    void BeginRecording(LPCSTR lpszName);
    void AddStep(int nMsg, WPARAM wParam, LPARAM lParam);
    // Appends the steps as a new macro to the file (NULL keeps the store's
    // path or name). A file that is not well-formed is kept beside, renamed
    // "macros.xml.bad" (or "macros.xml.bad<n>"), and a new file started.
    // Shows "Failed to save macro" and returns FALSE when the path or name is
    // empty or the file cannot be written.
    BOOL SaveMacro(LPCSTR lpszPath = NULL, LPCSTR lpszName = NULL);
    // Replaces the steps with those of the first macro of that name (case
    // matters). FALSE when there is none (the steps stay), the file cannot
    // be read, or the path is empty ("Failed to load macro").
    BOOL LoadMacro(LPCSTR lpszName, LPCSTR lpszPath = NULL);

    const std::vector<CMacroStep>& GetSteps() const { return m_steps; }
    CString GetName() const { return m_name; }
    CString GetFilePath() const { return m_filePath; }
    void SetFilePath(LPCSTR lpszPath) { m_filePath = lpszPath; }

    // --- operations on the file, for the macro and naming dialogs ---
    // The names of the stored macros in file order (an unreadable file
    // gives none).
    static std::vector<CString> ListMacroNames(LPCSTR lpszPath);
    static bool MacroExists(LPCSTR lpszPath, LPCSTR lpszName);
    // Removes the first macro of that name. FALSE when the file cannot be
    // read or written or holds no such macro.
    static BOOL DeleteMacro(LPCSTR lpszPath, LPCSTR lpszName);
    // Renames the first macro of that name.
    static BOOL RenameMacro(LPCSTR lpszPath, LPCSTR lpszOldName, LPCSTR lpszNewName);

private:
    std::vector<CMacroStep> m_steps;
    CString m_name;
    CString m_filePath;
};
