// The compare engine of pairview: reads two text files, links their common
// lines and writes the result file that the compare window shows. The bytes
// and lines are handled without files (text_reader.cpp decodes, and
// line_compare.cpp compares and writes the rows); compare_engine.cpp holds
// all the file and folder access.
//
// Result file: one row per line of the comparison, each a 4-byte marker
// (see comparewin.h) followed by the line as decoded, with its own line end.
// A line that had no line end (the last line of a file) gets "\n" when more
// rows follow, so every marker starts a row of its own.
#pragma once

#include "memory_budget.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pairview {

// Encodings as this library numbers them.
enum EncodingCode : int {
    kUtf8 = 0,
    kUtf16LE = 1,
    kUtf16BE = 2,
    kAnsi = 3,
    kUtf32LE = 5,
    kUtf32BE = 6,
    kScsu = 7,
    kBocu1 = 8,
    kUtf7 = 9,
    kUtfEbcdic = 10,
};

struct Encoding {
    int code = kAnsi;
    int markLength = 0; // bytes of byte-order mark skipped before the text
};

// Number of head bytes the detector looks at.
constexpr std::size_t kDetectBytes = 1024;

// Picks the encoding of a file from its first bytes (at most kDetectBytes):
// byte-order marks first, then the 16-bit content test, then the UTF-8 test.
Encoding DetectEncoding(const unsigned char* head, std::size_t n);
// True when the bytes walk as well-formed UTF-8 with at least one multi-byte
// sequence (pure ASCII is not UTF-8 here); needs at least 7 bytes.
bool LooksLikeUtf8(const unsigned char* bytes, std::size_t n);

// The lines of one file: UTF-8 for the Unicode encodings, the file's own bytes
// otherwise; each line keeps its line end, NUL characters read as '.'.
class TextLines {
public:
    explicit TextLines(MemoryBudget& budget) : text(BudgetAllocator<char>(budget)),
                                               starts(BudgetAllocator<std::size_t>(budget)) {}

    std::size_t count() const { return starts.empty() ? 0 : starts.size() - 1; }
    std::string_view line(std::size_t i) const
    {
        return std::string_view(text.data() + starts[i], starts[i + 1] - starts[i]);
    }

    BudgetVector<char> text;
    BudgetVector<std::size_t> starts; // line i is text[starts[i], starts[i + 1])
    Encoding encoding;
};

// Decodes a whole file (mark included) into lines; an odd trailing byte of a
// 16-bit file, unpaired surrogates and invalid 32-bit values read as U+FFFD.
void DecodeLines(const unsigned char* data, std::size_t n, TextLines& out);
void DecodeLines(const unsigned char* data, std::size_t n, Encoding enc, TextLines& out);

// Decodes the bytes of a whole file as DecodeLines does; the bytes of a byte
// encoding become the lines' text without a copy.
void DecodeFileBytes(BudgetVector<char>&& raw, TextLines& out);

// Reads and decodes one file; the letters of an ANSI file (one that is not
// well-formed UTF-8) are read in the system's legacy code page and turned
// into UTF-8 like the Unicode encodings', so the lines of every file are
// UTF-8 but for the rare encodings kept as bytes. False when it cannot be opened or read; the
// lines are then empty. Throws std::bad_alloc when memory runs out.
bool ReadFileLines(const char* path, TextLines& out);

// The 32-bit hash of a line: sum over k of k * c(k) * 6293815^k, the bytes
// taken as signed, wrapping; 0 for an empty line.
std::uint32_t LineHash(std::string_view line);

// One stretch of the result: lines first..last (inclusive) of one side, all
// shown with the row marker of state (see Marker in line_compare.cpp).
struct OutSection {
    int state;
    bool fromLeft;
    std::int32_t first, last;
};

// Compares the lines of two texts: the stretches of the result, in row order.
// Throws std::bad_alloc when the budget runs out.
BudgetVector<OutSection> CompareLines(MemoryBudget& budget, const TextLines& left, const TextLines& right);

// Receives the bytes of the result rows, piece by piece.
class ResultSink {
public:
    virtual ~ResultSink() = default;
    virtual void put(const char* bytes, std::size_t n) = 0;
};

// The rows of the result file (the format above) for the stretches of a
// compare of left and right.
void WriteResultRows(const BudgetVector<OutSection>& composite, const TextLines& left, const TextLines& right,
                     ResultSink& sink);

// The entry of a compare path, the first of its entry list: the path itself
// when it names a file, the first file of a walk through it when it names a
// folder (the folder's own files in order of their lower-cased names, then its
// sub-folders in the same order, depth first). Empty when there is none; the
// walk stops at the first file.
std::string BuildDirList(const char* path);

// The two entries a compare pairs; an empty path: no file on that side.
struct CompareItem {
    std::string first, second;
    bool HasBothSides() const { return !first.empty() && !second.empty(); }
};
CompareItem MakeCompareItem(std::string first, std::string second);

enum class CompareStatus : int {
    Ok = 0,
    OutOfMemory = 1,
    ResultNotCreated = 2,
    ResultWriteFailed = 3,
    Failed = 4,
};

struct CompareOptions {
    // Bytes the compare may hold at once; 0 chooses from the memory available.
    std::size_t memoryLimit = 0;
};

// Compares two files (or the first files of two folders) and writes the
// result file. A missing side gives an empty result file. Returns Ok when the
// result file was written; on failure a partly written result is deleted.
CompareStatus CompareToResultFile(const char* firstPath, const char* secondPath,
                                  const char* resultPath, const CompareOptions& options = {});

} // namespace pairview
