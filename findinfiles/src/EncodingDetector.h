// Encoding detection of the find-in-files engine, by byte-order mark and by
// content.  The codes are this library's own.
#ifndef QUILLMATE_FINDINFILES_ENCODINGDETECTOR_H
#define QUILLMATE_FINDINFILES_ENCODINGDETECTOR_H

#include <cstddef>

namespace filescan {

enum EncodingCode {
    EncodingAnsi = 0,
    EncodingScsu = 2,
    EncodingBocu1 = 3,
    EncodingUtfEbcdic = 4,
    EncodingUtf7 = 5,
    EncodingUtf8 = 6,
    EncodingUtf16Le = 7,
    EncodingUtf16Be = 8,
    EncodingUtf32Le = 9,
    EncodingUtf32Be = 10,
};

class CEncodingDetector {
public:
    // Bytes of the file head the content tests look at.
    enum {
        ContentTestBytes = 1024
    };

    // Decides the encoding of a file from its first bytes.  head holds the
    // first n bytes of the file; wholeFile tells whether they are all of it.
    // markLength receives the number of byte-order-mark bytes to skip.
    static int Detect(const unsigned char* head, size_t n, bool wholeFile, int* markLength);

    // Name shown for an encoding in file headers ("ANSI", "UTF-8", ...; empty
    // for the rarer marks).
    static const wchar_t* Name(int code);

    // Name used in messages about encodings this library cannot read.
    static const wchar_t* DisplayName(int code);

    // The content test for UTF-8 without a byte-order mark: passes when every
    // sequence is well formed and at least one is longer than a byte.  A
    // sequence cut off by the end of the bytes passes only when they are not
    // the whole file.
    static bool LooksLikeUtf8(const unsigned char* p, size_t n, bool wholeFile);
};

} // namespace filescan

#endif
