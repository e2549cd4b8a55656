// settingsstore.h - reading and writing the main frame's settings record
// (sections ViewSettings, PrintSettings, BackupSettings, OutputSettings,
// EditSettings and GenSettings of the application's profile).
//
// A value that is missing or damaged (wrong type, wrong size, out of its
// range) gives its default; a failed write is ignored.
#pragma once

#include "editorframe.h"

// Fills the view settings; s.pszFontFace must point to a buffer of
// kFontFaceBufferSize bytes. Also reads "GenSettings"\"MDITabsActive" into
// *pTabsActive when given.
void LoadViewSettingsFromProfile(CViewSettings& s, int* pTabsActive);
void LoadPrintSettingsFromProfile(CEditorSettings& e);
// Uses the user locale's measurement system for the margins.
void ApplyLocaleMargins(CEditorSettings& e, BOOL bMetric);
void LoadBackupSettingsFromProfile(CEditorSettings& e);
void LoadOutputSettingsFromProfile(CEditorSettings& e);
void LoadEditSettingsFromProfile(CEditorSettings& e);
void LoadGeneralSettingsFromProfile(CEditorSettings& e);

// Writes every section in the order the frame's close uses.
void SaveSettingsToProfile(const CViewSettings& s, const CEditorSettings& e);

// The defaults of a fresh profile (s.pszFontFace must be set as above).
void SetDefaultViewSettings(CViewSettings& s);

// Theme ids the frame understands.
enum {
    THEME_FIRST = 720,
    THEME_DEFAULT = 721,
    THEME_LAST = 724
};
