// encoding.h - encoding codes of the editor and the file-head detector.
//
// The text document keeps its text in the editing component as 8-bit text:
// ANSI bytes as they are, everything else as UTF-8. A file's encoding travels
// as an encoding code together with a mark length (the bytes of byte-order
// mark the reader skips). The detector looks at the first bytes of a file
// before it is opened and decides the encoding and whether it is binary.
#pragma once

#include <windows.h>

#include "filehead.h"

// Line-ending modes: the editing component's own codes.
enum LineEndingMode {
    EOL_CRLF = 0,
    EOL_CR = 1,
    EOL_LF = 2,
};

// The encoding and mark length a load should use for a detected pair. The
// converters understand UTF-8, UTF-16 and ANSI; a file in any other detected
// encoding is loaded as its raw bytes (mark included) so that saving it
// writes back exactly what was read.
void NormalizeLoadEncoding(int& nEncoding, int& nMarkLength);

// Detection mode for an encoding chosen in the open dialog: 0 (UTF-8) gives
// 3, 1 and 2 (UTF-16) give 2, anything else (including 4, detect) gives 0.
int DetectModeForOpenEncoding(int nEncoding);

// Looks at the head of a file (up to 1024 bytes) and decides its encoding.
//
// Detection codes: 0 UTF-8 (mark or content scan), 1 UTF-16 LE, 2 UTF-16 BE
// (mark or guess), 3 none found (ANSI), 5 UTF-32 LE, 6 UTF-32 BE, 7 SCSU,
// 8 BOCU-1, 9 UTF-7, 10 UTF-EBCDIC. The binary flag is set when no encoding
// was found and the head holds a NUL byte.
class FileHeadDetector {
public:
    enum {
        HEAD_SIZE = 1024
    };

    FileHeadDetector();
    ~FileHeadDetector();
    FileHeadDetector(const FileHeadDetector&) = delete;
    FileHeadDetector& operator=(const FileHeadDetector&) = delete;

    // Reads the head of the file and detects. 1 after a detection ran, 0
    // when the file cannot be opened (the result stays as it was).
    int ReadFile(LPCSTR lpszPath);

    // Detects from bytes already in memory. nFileSize is the size of the
    // whole file the head came from (-1: the head is the whole file). Used by
    // ReadFile; open for callers that hold the bytes already.
    void DetectBuffer(const BYTE* pHead, int nBytes, LONGLONG nFileSize = -1);

    // The detection code and the mark length (bytes of byte-order mark).
    void GetResult(int& nCode, int& nMarkLength) const
    {
        nCode = m_nCode;
        nMarkLength = m_nMarkLength;
    }
    int GetCode() const { return m_nCode; }
    int GetMarkLength() const { return m_nMarkLength; }
    int IsBinary() const { return m_bBinary; }
    LPCSTR GetPath() const { return m_szPath; }

private:
    char m_szPath[MAX_PATH];
    int m_nCode;
    int m_nMarkLength;
    int m_nBytesRead;
    int m_bBinary;
};
