// Fuzzes the editor's UTF-16 converters: any UTF-16 read in chunks of any
// size and written back in other chunks gives the same bytes (an odd last
// byte is the one thing dropped, and counted), and well-formed UTF-8 written
// as UTF-16 and read back is the same UTF-8.
//
// Input: byte 0 holds the byte order (bit 0: big-endian) and the seed of the
// chunk sizes; the rest is the text.
#include "fuzz_support.h"
#include "utf16text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using fuzz::Require;

namespace {

// Chunk sizes from a small generator: 1 to 17 bytes, now and then 0.
struct Chunks {
    unsigned state;
    size_t Next(size_t left)
    {
        state = state * 1103515245u + 12345u;
        const size_t n = (state >> 16) % 18;
        return n < left ? n : left;
    }
};

std::vector<char> Read(const uint8_t* p, size_t n, bool bigEndian, Chunks& chunks, int& dropped)
{
    Utf16ToUtf8 decoder(bigEndian);
    std::vector<char> out;
    size_t at = 0;
    for (;;) {
        const size_t take = chunks.Next(n - at);
        const bool last = at + take == n && chunks.Next(2) != 0;
        std::vector<char> buf(Utf16ToUtf8::MaxOutput(take));
        const size_t got = decoder.Convert(p + at, take, last, buf.data());
        Require(got <= buf.size());
        out.insert(out.end(), buf.begin(), buf.begin() + got);
        at += take;
        if (last)
            break;
    }
    dropped = decoder.GetDroppedBytes();
    return out;
}

std::vector<uint8_t> Write(const char* p, size_t n, bool bigEndian, Chunks& chunks)
{
    Utf8ToUtf16 encoder(bigEndian);
    std::vector<uint8_t> out;
    for (size_t at = 0; at < n;) {
        size_t take = chunks.Next(n - at);
        if (take == 0)
            take = 1;
        std::vector<uint8_t> buf(Utf8ToUtf16::MaxOutput(take));
        const size_t got = encoder.Convert(reinterpret_cast<const uint8_t*>(p) + at, take, buf.data());
        Require(got <= buf.size());
        out.insert(out.end(), buf.begin(), buf.begin() + got);
        at += take;
    }
    uint8_t rest[8];
    const size_t got = encoder.Finish(rest);
    Require(got <= sizeof(rest));
    out.insert(out.end(), rest, rest + got);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool bigEndian = data[0] & 1;
    const uint8_t* text = data + 1;
    const size_t n = size - 1;

    // UTF-16 -> UTF-8 -> UTF-16 gives the file back.
    Chunks chunks{data[0]};
    int dropped = 0;
    const std::vector<char> utf8 = Read(text, n, bigEndian, chunks, dropped);
    Require(dropped == static_cast<int>(n % 2));
    const std::vector<uint8_t> back = Write(utf8.data(), utf8.size(), bigEndian, chunks);
    Require(back.size() == n - n % 2 && std::equal(back.begin(), back.end(), text));

    // Well-formed UTF-8 -> UTF-16 -> UTF-8 gives the text back.
    if (fuzz::WellFormedUtf8(text, n)) {
        const std::vector<uint8_t> utf16 = Write(reinterpret_cast<const char*>(text), n, bigEndian, chunks);
        int none = 0;
        const std::vector<char> again = Read(utf16.data(), utf16.size(), bigEndian, chunks, none);
        Require(none == 0 && again.size() == n &&
                std::equal(again.begin(), again.end(), reinterpret_cast<const char*>(text)));
    }
    return 0;
}
