// utf16text.h - the two directions between a UTF-16 file and the editing
// component's UTF-8, chunk by chunk, without files or windows (textfile.h's
// ReadConverter and WriteConverter drive them; the host build fuzzes them).
//
// Together they carry any UTF-16 through unchanged: a lone surrogate half
// becomes a three-byte sequence on reading and the same half again on
// writing, and a unit or a sequence cut by the end of a chunk is completed
// by the next chunk.
#pragma once

#include <cstddef>

// UTF-16 bytes to UTF-8.
class Utf16ToUtf8 {
public:
    explicit Utf16ToUtf8(bool bBigEndian) : m_bBigEndian(bBigEndian) {}

    // Bytes of output that n bytes of input may give at the most.
    static size_t MaxOutput(size_t n) { return n + n / 2 + 16; }
    // Converts n bytes into out (room for MaxOutput(n)); returns the bytes
    // written. bFinal ends the text: a high half still waiting for its low
    // half is written alone, and an odd last byte is dropped (counted).
    size_t Convert(const unsigned char* p, size_t n, bool bFinal, char* out);
    int GetDroppedBytes() const { return m_nDropped; }

private:
    bool m_bBigEndian;
    int m_nPendingByte = -1; // odd byte of a unit cut by the chunk end, or -1
    int m_nPendingHigh = -1; // high surrogate waiting for its low half, or -1
    int m_nDropped = 0;
};

// UTF-8 bytes to UTF-16. Bytes that are no UTF-8 (stray continuations,
// F8-FF, broken or too large sequences) become one unit each.
class Utf8ToUtf16 {
public:
    explicit Utf8ToUtf16(bool bBigEndian) : m_bBigEndian(bBigEndian) {}

    static size_t MaxOutput(size_t n) { return 2 * (n + 4); }
    // Converts n bytes into out (room for MaxOutput(n)); returns the bytes
    // written. The start of a sequence cut by the end waits for the next call.
    size_t Convert(const unsigned char* p, size_t n, unsigned char* out);
    // Writes what an incomplete sequence left over (each byte a unit) into
    // out (room for 8 bytes); returns the bytes written.
    size_t Finish(unsigned char* out);
    // Forgets a waiting sequence (a new file).
    void Reset() { m_nCarry = 0; }

private:
    void PutUnit(unsigned unit, unsigned char*& out) const;

    bool m_bBigEndian;
    unsigned char m_carry[4] = {0, 0, 0, 0}; // start of a sequence cut by the end of a call
    int m_nCarry = 0;
};
