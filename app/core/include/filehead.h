// filehead.h - the editor's encoding codes and the file-head detection over
// bytes in memory. No windows and no files here (FileHeadDetector in
// encoding.h reads the head of a file), so the host build tests it too.
#pragma once

// Encoding codes shared by the open and save dialogs, the open options of the
// application, the text document and the converters of textfile.h.
enum TextEncoding {
    ENC_UTF8 = 0,    // UTF-8; written with the mark EF BB BF
    ENC_UTF16LE = 1, // "Unicode": UTF-16 little-endian, mark FF FE
    ENC_UTF16BE = 2, // "Unicode (Big Endian)": mark FE FF
    ENC_ANSI = 3,    // bytes as they are, no mark
    ENC_DETECT = 4,  // request only: detect on open
    // Rarer marks the detector recognises. The converters pass files with
    // these codes through byte for byte (see NormalizeLoadEncoding).
    ENC_UTF32LE = 5,
    ENC_UTF32BE = 6,
    ENC_SCSU = 7,
    ENC_BOCU1 = 8,
    ENC_UTF7 = 9,
    ENC_UTFEBCDIC = 10,
};

// True for the codes whose text is UTF-16 on disk.
inline bool IsUtf16Encoding(int nEncoding) { return nEncoding == ENC_UTF16LE || nEncoding == ENC_UTF16BE; }

// Decides the encoding of a file from its head: the n bytes at p (the
// detector reads FileHeadDetector::HEAD_SIZE of them). nFileSize is the size of the
// whole file, -1 when unknown (then taken as even). Sets the detection code
// (see FileHeadDetector) and the mark length; returns whether the file is
// binary: no encoding was found and the head holds a NUL byte.
bool DetectFileHead(const unsigned char* p, int n, long long nFileSize, int& nCode, int& nMarkLength);
