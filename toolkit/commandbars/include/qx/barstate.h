// qx/barstate.h - pieces of the command-bar layout store that need no
// windows: the compressed block ("ZIP!" header, then zlib data) and the
// adjustment of saved positions to the screens of today.
#pragma once

#include <fx/fx.h>
#include <fx/file.h>

#include <vector>

// Longest block kept as a profile value; longer ones go to a file.
#define QXP_LAYOUT_MAX_PROFILE_BLOCK 16000
// Longest uncompressed layout accepted when reading.
#define QXP_LAYOUT_MAX_ARCHIVE (64u * 1024u * 1024u)

// The stored form of an archive: "ZIP!", the length (4 bytes, little
// endian) and zlib's compress output; the archive itself when it is shorter
// than 20 bytes or would not get shorter.
std::vector<BYTE> AFXAPI QxpCompressLayoutBlock(const BYTE* pData, UINT nBytes);
// The archive of a stored block: inflated when it carries the header, else
// the block as it is. FALSE for a damaged compressed block (bad stream,
// implausible length, output of another length than declared).
BOOL AFXAPI QxpExpandLayoutBlock(const BYTE* pBlock, UINT nBytes, std::vector<BYTE>& archive);

// A memory file holding a layout archive, which knows the stored form.
// Reading: AttachCompressed (or ReadWholeFile) gives the file the archive
// of a stored block. Writing: write the archive, then DetachCompressed
// hands out its stored form.
class CQXPCompressedMemFile : public CMemFile {
public:
    CQXPCompressedMemFile() : CMemFile(1024) {}

    // The file reads the archive of a stored block (inflated when it has the
    // header, else the block as it is). With bAutoDelete the block, made
    // with malloc, is the file's from now on (it is freed here). FALSE for a
    // damaged block, which leaves the file empty.
    BOOL AttachCompressed(BYTE* pBuffer, UINT nLength, BOOL bAutoDelete);
    // What was written, in stored form: *ppBuffer receives a block made with
    // malloc that the caller frees (NULL when empty), *pnLength its length.
    // The file is empty afterwards.
    void DetachCompressed(BYTE** ppBuffer, UINT* pnLength);
    // AttachCompressed on the whole of a file; FALSE when it cannot be read,
    // is empty, holds more than QXP_LAYOUT_MAX_ARCHIVE bytes or is damaged.
    BOOL ReadWholeFile(LPCSTR lpszPath);

private:
    std::vector<BYTE> m_archive; // what AttachCompressed gave the file to read
};

// A saved point: scaled from the saved to the current screen size when
// bRescale, then brought into rcWork (the work area of the monitor that
// holds it, or the nearest one when the monitor it was on is gone) so that
// at least an icon's size of the bar stays on screen, whichever side it
// was off.
void AFXAPI QxpAdjustSavedPoint(POINT& pt, BOOL bRescale, SIZE szSaved, SIZE szCurrent, const RECT& rcWork,
                                SIZE szIcon);
// A saved docked rectangle: moved (not resized) the same way.
void AFXAPI QxpAdjustSavedRect(RECT& rc, BOOL bRescale, SIZE szSaved, SIZE szCurrent, const RECT& rcWork);
// The work area for a saved point or rectangle: that of the monitor holding
// it, else that of the nearest monitor.
CRect AFXAPI QxpWorkAreaFor(const RECT& rc);

class CQXPPropExchange;
// An object's class by its name under "Class", the same form in every
// store (the archive's own class records need serializable classes):
// storing writes the name; loading makes the object, which must derive
// from pExpected. FALSE for a missing or unknown class.
BOOL AFXAPI QxpExchangeObjectClass(CQXPPropExchange* pPX, CObject** ppObject, CRuntimeClass* pExpected);
// The items of an id list inside its section: "Item0", "Item1", ... in
// order. Writing stores every id; reading gives nCount ids (0 for an item
// that is missing).
void AFXAPI QxpWriteIdItems(CQXPPropExchange* pSection, const std::vector<int>& ids);
std::vector<int> AFXAPI QxpReadIdItems(CQXPPropExchange* pSection, int nCount);
