// apphelpers.h - small shared helpers of the editor: the per-user data
// folder, colour strings, path parts, file filters and combo-box history
// lists.
#pragma once

#include <vector>

#include <windows.h>

#include "fx/string.h"

// ---------------------------------------------------------------------------
// Per-user folders.

// The local application data folder (CSIDL_LOCAL_APPDATA). Tests and tools
// can point it elsewhere with SetLocalAppDataOverride (NULL or "" restores
// the system's folder).
CString GetLocalAppDataFolder();
void SetLocalAppDataOverride(LPCSTR lpszFolder);

// "<local application data>\Fernbright\Quillmate". Other parts append
// "\Config", "\Templates", "\Backup", "\Tidy" and "\macros.xml".
CString GetAppDataFolder();
// Creates the data folder and its subfolders Config, Templates, Backup and
// Tidy where they are missing. FALSE when one cannot be created.
BOOL EnsureAppDataFolders();

// Creates a folder with all missing parents; TRUE when it exists afterwards.
BOOL CreateFolder(LPCSTR lpszPath);

// The files that ship with the program: the folders "Config" (languages)
// and "Tidy" (HTML Tidy option files) beside the program file.
CString GetShippedConfigFolder();
// The program file's folder (no trailing backslash but for a drive root),
// and a folder beside the program file ("aspell", "Config", "Tidy").
CString GetProgramFolder();
CString GetShippedFolder(LPCSTR lpszName);
CString GetShippedTidyFolder();
// Copies every file of lpszSource matching lpszPattern ("*.config") into
// lpszTarget where lpszTarget has no file of that name yet: a file already
// there is never overwritten. A missing or unreadable source copies nothing.
// Returns the number of files copied.
int CopyMissingFiles(LPCSTR lpszSource, LPCSTR lpszTarget, LPCSTR lpszPattern);
// The per-user folder at start: EnsureAppDataFolders, then every shipped
// "*.config" of lpszShippedConfig that the per-user Config folder lacks is
// copied in (the user's own files are kept). Nothing here is an error the
// user is told of. Returns the number of language files copied.
int PrepareAppDataFolders(LPCSTR lpszShippedConfig);


// ---------------------------------------------------------------------------
// Colours and hexadecimal text.

// Upper-cases a copy, skips a leading "0X", accumulates hexadecimal digits
// and stops at the first other character.
int HexToInt(LPCSTR lpszHex);
// "#RRGGBB" to a COLORREF: the pairs at characters 2-3, 4-5 and 6-7 are red,
// green and blue (the first character is not checked). An empty string
// gives the default colour.
COLORREF HexToColour(LPCSTR lpszHex);
// "#%0.2X%0.2X%0.2X" of red, green, blue.
CString ColourToHex(COLORREF clr);
// The colour an empty colour string stands for: the window colour.
COLORREF GetDefaultHexColour();
// Reads hexadecimal pairs (blanks ignored) into pBuffer, which is zeroed
// for nBufferSize bytes first; returns the number of bytes stored. A single
// digit left at the end counts as a byte of its own.
int ParseHexBytes(LPCSTR lpszHex, BYTE* pBuffer, int nBufferSize);

// ---------------------------------------------------------------------------
// Strings and paths.

// The n-th (0-based) field of a string split at chSep; empty when missing.
CString GetNthField(LPCSTR lpszText, int nField, char chSep);

// A path split into drive, directory, base name and extension.
class CPathParts {
public:
    explicit CPathParts(LPCSTR lpszPath = NULL);
    void Split(LPCSTR lpszPath);

    CString GetDrive() const { return m_szDrive; }   // "C:"
    CString GetDir() const { return m_szDir; }       // "\folder\" (trailing backslash kept)
    CString GetBaseName() const { return m_szName; } // "file"
    CString GetExtension() const { return m_szExt; } // ".txt" (with the dot)
    CString GetFolder() const;                       // drive + directory
    CString GetFileName() const;                     // base name + extension

private:
    char m_szDrive[3];
    char m_szDir[256];
    char m_szName[256];
    char m_szExt[256];
};

// The read-only attribute of a file; FALSE when the file is not found.
BOOL IsFileReadOnly(LPCSTR lpszPath);

// ---------------------------------------------------------------------------
// Settings helpers.

// "Settings"\"DefExt" (default "txt").
CString GetDefaultExtension();
BOOL SetDefaultExtension(LPCSTR lpszExt);
// "Settings"\"DefFInFExt" (default -2).
int GetFindInFilesTypeIndex();
BOOL SetFindInFilesTypeIndex(int nIndex);

// File filters: section "FileFilter", value name = pattern ("*.txt"),
// data = label ("Text files"). Values with empty data are ignored.
//
// "label (pattern)|pattern|" for each filter, then "All Files (*.*)|*.*||".
CString BuildFileFilter();
// Value name of the n-th (1-based, enumeration order) filter value; empty
// when there is none.
CString GetNthFileFilterName(int nIndex);
// Fills a combo box with "*.*" and the pattern of every filter.
void FillFileFilterCombo(HWND hCombo);
// One stored filter.
struct CFileFilterEntry {
    CString pattern; // the value name, "*.txt"
    CString label;   // the data, "Text files"
};
// The filters with a label, in enumeration order; a stored filter whose
// label or pattern holds "|" is left out (it would shift every later
// filter of the dialogs' lists).
std::vector<CFileFilterEntry> ReadFileFilters();
enum FileFilterResult {
    FILTER_OK = 0,
    FILTER_EMPTY,
    FILTER_HAS_BAR,
    FILTER_WRITE_FAILED
};
// Writes FileFilter\<pattern> = label: FILTER_EMPTY when either is empty,
// FILTER_HAS_BAR when either holds "|" (nothing is written then).
FileFilterResult AddFileFilter(LPCSTR lpszPattern, LPCSTR lpszLabel);
// Deletes the value of a pattern; FALSE when it could not be deleted.
BOOL DeleteFileFilter(LPCSTR lpszPattern);

// Flags of the editor's open and save dialogs.
DWORD GetOpenDialogFlags(BOOL bMultiSelect);

// Combo-box history lists: values "0".."49" and "Selected" in one section,
// newest first.
void SaveComboHistory(HWND hCombo, LPCSTR lpszSection);
void LoadComboHistory(HWND hCombo, LPCSTR lpszSection);
enum {
    COMBO_HISTORY_MAX = 50
};

// The search lists every find box shows ("SearchHistory" for find texts,
// "ReplaceHistory" for replace texts: the toolbar box, the find, replace,
// hex find and find-in-files dialogs). Several boxes show one list at the
// same time, each from its own copy; so before a box writes, it takes in the
// texts other boxes stored meanwhile (at the end of its list, in their
// order), and no box drops another's texts. Saving writes the first 50
// entries and "Selected" and leaves values past the list as they are.
// The stored list, newest first: values "0".."49" (and further numbers while
// the section holds more values), empty ones skipped, so a gap loses nothing.
std::vector<CString> ReadSearchHistory(LPCSTR lpszSection);
// Fills the box from the list and selects "Selected" (-1: the first entry).
void LoadSearchHistory(HWND hCombo, LPCSTR lpszSection);
void SaveSearchHistory(HWND hCombo, LPCSTR lpszSection);
// Adds a text to a box's list: an entry equal to it but for case is
// selected while the box keeps the text as typed (nothing is saved);
// a new text goes on top, is selected and the list saved. FALSE when
// nothing was added.
BOOL AddToComboHistory(HWND hCombo, LPCSTR lpszText, LPCSTR lpszSection);

// Puts text on the clipboard as CF_TEXT; FALSE when the clipboard cannot be
// opened or filled.
BOOL CopyTextToClipboard(HWND hOwner, LPCSTR lpszText);
// Opens the folder of a file's path in the shell's file browser (verb
// "open" on the folder, which is also the working folder). FALSE for an
// empty path or when the shell could not open it.
BOOL OpenContainingFolder(LPCSTR lpszPath);
