// textfile.h - moving text between files and the editing component.
//
// The editing component holds every document's text as UTF-8. Three small
// pieces move bytes between a file and that form (ANSI bytes pass them as
// they are; CAnsiDecodingSink and ConvertTextCodePage below turn them into
// UTF-8 and back):
//   TextFile        reads a file in chunks that end before a line break or
//                   blank, and writes a file safely (a temporary file beside
//                   it replaces the original only when everything was
//                   written);
//   ReadConverter   skips the byte-order mark and turns UTF-16 into UTF-8;
//   WriteConverter  writes the mark and turns UTF-8 back into UTF-16.
// ReadAllText and SaveText drive them over a text sink / source, so the
// same code loads into the editing component (scitext.h) or into memory.
//
// Encoding codes are those of encoding.h (0 UTF-8, 1 UTF-16 LE, 2 UTF-16 BE,
// 3 ANSI). Characters outside the basic plane become four-byte UTF-8 on
// reading and surrogate pairs on writing, also when a pair is split between
// two chunks; a lone surrogate half is carried through as a three-byte
// sequence, so even malformed UTF-16 survives a load and save unchanged.
#pragma once

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

#include "fx/string.h"
#include "filehead.h"
#include "utf16text.h"

// Text moves between the component and files in pieces of at most this many
// bytes.
enum {
    TEXT_PIECE_LIMIT = 256000
};

// The mark bytes written for encodings 0, 1 and 2 (UTF-16 rows: the first
// two bytes only).
extern const BYTE g_textFileMarks[3][3];

// ---------------------------------------------------------------------------
// Safe replacement of a file.

// Creates a new empty file with a unique name in the folder of lpszPath, for
// writing the new content of lpszPath. Empty on failure (GetLastError tells).
CString CreateTempFileBeside(LPCSTR lpszPath);
// Replaces lpszTarget by lpszTemp. An existing target keeps its attributes;
// a read-only target is not replaced. On failure the temporary file is
// deleted and the target is left exactly as it was.
BOOL ReplaceFileWithTemp(LPCSTR lpszTemp, LPCSTR lpszTarget);
// Writes nLength bytes as the whole new content of lpszPath through a
// temporary file; FALSE (and the old file untouched) on any failure.
BOOL WriteFileSafely(LPCSTR lpszPath, const void* pData, size_t nLength);

// What a file looked like when a document read or wrote it: its size and
// last-write time. A later look that differs means another program changed
// the file in between.
struct FileStamp {
    BOOL bValid; // FALSE: no file was there (or no look was taken)
    ULONGLONG nSize;
    FILETIME ftLastWrite;

    FileStamp() : bValid(FALSE), nSize(0) { ftLastWrite.dwLowDateTime = ftLastWrite.dwHighDateTime = 0; }
    // The stamp of the file now (not valid when it is missing).
    static FileStamp Of(LPCSTR lpszPath);
    // TRUE when both are valid and the size or the time differ.
    BOOL Differs(const FileStamp& other) const;
};

// ---------------------------------------------------------------------------
// One file record per document, reused for every load and save.
class TextFile {
public:
    TextFile();
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // --- reading ---
    // Opens the file for reading and reads its attributes. FALSE when it
    // cannot be opened.
    BOOL Open(LPCSTR lpszPath);
    // Reads the next chunk of at most nLimit bytes into pBuffer, which holds
    // nLimit + 1 bytes. The chunk ends just before the last line break or
    // blank of what was read (unless the read reached the end of the file),
    // so the next chunk starts with it; for UTF-16 (ENC_UTF16LE, ENC_UTF16BE) the
    // cut falls on a whole 16-bit unit at an even offset. The chunk is
    // zero-terminated. Returns 1 with a chunk, 0 at the end of the file or
    // after a read failure (HasReadError tells which).
    int ReadChunk(char* pBuffer, int nLimit, int nEncoding = ENC_ANSI);
    int GetChunkLength() const { return m_nChunkLength; }
    BOOL HasReadError() const { return m_bReadError; }
    BOOL IsReadOnly() const { return (m_attributes.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0; }
    // The file size (low 32 bits) and the whole size.
    DWORD GetSize() const { return m_attributes.nFileSizeLow; }
    ULONGLONG GetSize64() const
    {
        return ((ULONGLONG)m_attributes.nFileSizeHigh << 32) | m_attributes.nFileSizeLow;
    }
    DWORD GetAttributes() const { return m_attributes.dwFileAttributes; }
    // About how many line feed bytes (10) the open file holds: counted in a
    // few stretches spread over it (all of a small file), scaled to its
    // size. Reads without moving the position ReadChunk goes on from; 0
    // when nothing could be read.
    ULONGLONG EstimateLineFeeds();
    void Close();

    // --- writing ---
    // Starts writing lpszPath: the bytes go to a new temporary file in the
    // same folder. FALSE when it cannot be created, or when the target is
    // read-only or a folder (the target is untouched).
    BOOL Create(LPCSTR lpszPath);
    // The handle of the file being written (or read).
    HANDLE GetHandle() const { return m_hFile; }
    // Finishes a write: the temporary file replaces the target. FALSE when
    // that fails; the target is then as it was before Create.
    BOOL Commit();
    // Drops a write: the temporary file is deleted, the target untouched.
    void Abort();
    // The error code of the last failure of Open, ReadChunk, Create or
    // Commit.
    DWORD GetLastError() const { return m_dwError; }

private:
    HANDLE m_hFile;
    int m_nChunkLength;
    BOOL m_bReadError;
    BOOL m_bWriting;
    DWORD m_dwError;
    WIN32_FILE_ATTRIBUTE_DATA m_attributes;
    CString m_strTarget; // file being written
    CString m_strTemp;   // its temporary file
};

// ---------------------------------------------------------------------------
// Turns chunks of a file into the component's form.
class ReadConverter {
public:
    // nMarkLength bytes are skipped at the start of the file (not of later
    // chunks), except for ANSI, which takes the bytes as they are.
    ReadConverter(int nEncoding, int nMarkLength);
    ~ReadConverter();
    ReadConverter(const ReadConverter&) = delete;
    ReadConverter& operator=(const ReadConverter&) = delete;

    // Converts one chunk; returns the converted length. The converted bytes
    // are at GetOutput() and stay valid until the next call.
    int Convert(const char* pChunk, int nLength);
    // Ends the file: a high surrogate held back waiting for its partner is
    // emitted alone. Returns the length at GetOutput() (usually 0).
    int Finish();
    const char* GetOutput() const { return m_pOutput; }
    // Bytes that could not be represented (an odd last byte of UTF-16).
    int GetDroppedBytes() const { return m_decoder.GetDroppedBytes(); }

private:
    int ConvertUtf16(const BYTE* p, int n, bool bFinal);
    void Reserve(size_t nBytes);

    int m_nEncoding;
    int m_nSkipLeft; // mark bytes still to skip
    const char* m_pOutput;
    char* m_pBuffer; // owned output buffer (UTF-16 only)
    size_t m_nCapacity;
    Utf16ToUtf8 m_decoder; // UTF-16 state carried between chunks
};

// ---------------------------------------------------------------------------
// Writes the component's text to a file in the file's encoding.
class WriteConverter {
public:
    // bWriteMark: write the byte-order mark first (UTF-8 and UTF-16).
    explicit WriteConverter(int nEncoding, BOOL bWriteMark = TRUE);
    ~WriteConverter();
    WriteConverter(const WriteConverter&) = delete;
    WriteConverter& operator=(const WriteConverter&) = delete;

    // Sets the file to write to (borrowed; TextFile owns it) and arms the
    // mark for the next write.
    void Attach(HANDLE hFile);
    // Writes nLength bytes in the file's encoding. A UTF-8 sequence cut by
    // the end of the call is completed by the next call. Returns nLength
    // (at least 1) on success, 0 when no file is attached or a write failed
    // or was short.
    int Write(const char* pBytes, int nLength);
    // Writes whatever an incomplete sequence left over (each byte as a unit
    // by itself). FALSE when that write fails.
    BOOL Finish();
    // Frees the buffer and detaches the file.
    void Close();

private:
    BOOL WriteRaw(const void* p, DWORD n);
    BOOL WriteMarkIfArmed();

    int m_nEncoding;
    HANDLE m_hFile;
    BYTE* m_pBuffer;
    size_t m_nCapacity;
    BOOL m_bWriteMark;     // mark wanted for this file
    BOOL m_bMarkArmed;     // mark not yet written
    Utf8ToUtf16 m_encoder; // UTF-16 only; holds a sequence cut by the end of a call
};

// ---------------------------------------------------------------------------
// Loading and saving whole texts.

// Receives the converted text of a load, piece by piece.
class ITextSink {
public:
    virtual ~ITextSink() {}
    // Appends nLength bytes; false stops the load.
    virtual bool AppendText(const char* pText, int nLength) = 0;
};

// Gives the text of a save. Positions are byte offsets into the text.
class ITextSource {
public:
    virtual ~ITextSource() {}
    virtual LONG_PTR GetLength() = 0;
    virtual LONG_PTR LineFromPosition(LONG_PTR nPos) = 0;
    // Position of the end of a line, before its line break.
    virtual LONG_PTR GetLineEndPosition(LONG_PTR nLine) = 0;
    // Copies the bytes [nStart, nEnd) into pBuffer and a zero after them.
    virtual void GetTextRange(LONG_PTR nStart, LONG_PTR nEnd, char* pBuffer) = 0;
};

enum TextIoResult {
    TEXTIO_OK = 0,
    TEXTIO_OPEN_FAILED,    // the file could not be opened or created
    TEXTIO_READ_FAILED,    // a read failed part way; the text is incomplete
    TEXTIO_WRITE_FAILED,   // a write failed or was short; the file is unchanged
    TEXTIO_REPLACE_FAILED, // the new content could not replace the file; it is unchanged
    TEXTIO_SINK_FAILED,    // the sink refused the text
    TEXTIO_LOSSY,          // loaded, but bytes could not be represented (odd UTF-16 tail)
};

// Reads the rest of an opened file in pieces of at most nPieceLimit bytes,
// converts each and hands it to the sink. pfnProgress (may be empty) gets
// the running total of bytes read after each piece.
TextIoResult ReadAllText(TextFile& file, int nEncoding, int nMarkLength, ITextSink& sink,
                         const std::function<void(ULONGLONG)>& pfnProgress = nullptr,
                         int nPieceLimit = TEXT_PIECE_LIMIT);

// Writes the whole text of the source to lpszPath in the given encoding, in
// pieces of at most nPieceLimit bytes that end at line ends where the line
// allows it (a longer line is cut between characters). The file is replaced
// only when everything was written.
TextIoResult SaveText(TextFile& file, LPCSTR lpszPath, int nEncoding, BOOL bWriteMark, ITextSource& source,
                      int nPieceLimit = TEXT_PIECE_LIMIT);

// ---------------------------------------------------------------------------
// ANSI text. "ANSI" is the system's legacy code page (fx/codepage.h), not the
// process code page (UTF-8): an ANSI file is decoded into UTF-8 on load and
// encoded back on save, byte for byte when nothing was typed that the code
// page cannot hold.

// Hands the pieces of an ANSI load to a sink as UTF-8. A double-byte
// character cut by the end of a piece is completed with the next piece.
class CAnsiDecodingSink : public ITextSink {
public:
    explicit CAnsiDecodingSink(ITextSink& target, UINT nCodePage = 0); // 0: the legacy code page
    bool AppendText(const char* pText, int nLength) override;
    // Ends the load: a lead byte still waiting goes to the sink by itself.
    bool Finish();

private:
    bool Pass(const char* pText, int nLength);

    ITextSink& m_target;
    UINT m_nCodePage;
    bool m_bDoubleByte;  // the code page has lead bytes
    std::string m_held;  // a lead byte cut off the end of the last piece
    std::wstring m_wide; // conversion buffers, reused
    std::string m_utf8;
};

// Converts text between the legacy ANSI code page (bFromAnsi / bToAnsi) and
// UTF-8; the same on both sides copies. FALSE when the text cannot be
// converted. *pbLossy: characters had no form in the code page and became
// "?" (never a look-alike letter).
BOOL ConvertTextCodePage(const std::string& text, BOOL bFromAnsi, BOOL bToAnsi, std::string& out,
                         BOOL* pbLossy = NULL);

// A text held in memory, as sink and as source (tests, benchmarks, tools).
class CMemoryText : public ITextSink, public ITextSource {
public:
    CMemoryText() {}
    explicit CMemoryText(std::string text) : m_text(std::move(text)) { IndexLines(); }
    void SetText(std::string text)
    {
        m_text = std::move(text);
        IndexLines();
    }
    const std::string& GetText() const { return m_text; }
    void Clear()
    {
        m_text.clear();
        m_lineStarts.clear();
    }
    // Called after appends, before the text is used as a source.
    void IndexLines();

    bool AppendText(const char* pText, int nLength) override;
    LONG_PTR GetLength() override { return (LONG_PTR)m_text.size(); }
    LONG_PTR LineFromPosition(LONG_PTR nPos) override;
    LONG_PTR GetLineEndPosition(LONG_PTR nLine) override;
    void GetTextRange(LONG_PTR nStart, LONG_PTR nEnd, char* pBuffer) override;

private:
    std::string m_text;
    std::vector<LONG_PTR> m_lineStarts; // start of every line
};
