// Searching one file: open it, detect its encoding, read it in large blocks,
// hand its lines to a line searcher.
#ifndef QUILLMATE_FINDINFILES_SEARCHFILE_H
#define QUILLMATE_FINDINFILES_SEARCHFILE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CCallBackClass;

namespace filescan {

class CLineSearcher;

class CSearchFile {
public:
    // Bytes read per block, and the longest piece of a line handed to a
    // searcher at once (longer lines come in pieces of this many units that
    // keep their line number; positions count from the start of the line).
    enum {
        BlockBytes = 1 << 20,
        MaxPiece = 1 << 16
    };

    CSearchFile();
    ~CSearchFile();
    CSearchFile(const CSearchFile&) = delete;
    CSearchFile& operator=(const CSearchFile&) = delete;

    // Searches the file osPath (the form passed to the system) and reports
    // under shownPath.  Returns 1 when the file was opened and read, 0 when
    // it could not be opened or read (an error line has been reported then).
    int Search(const wchar_t* osPath, const wchar_t* shownPath, CLineSearcher& searcher,
               CCallBackClass* callback);

    // Encoding code of the last file searched (-1 before any).
    int LastEncoding() const { return m_lastEncoding; }

    // Whether lines that cannot contain the searcher's required literal are
    // skipped without decoding (on by default; tests switch it off to compare).
    void SetPrefilter(bool on) { m_prefilter = on; }

private:
    struct Context;
    struct Filters;
    void PrepareFilters(const CLineSearcher& searcher);
    int SearchBytes(Context& ctx, size_t begin, size_t end, bool eof, unsigned codePage);
    int SearchWide(Context& ctx, size_t begin, size_t end, bool eof, int code);

    std::vector<uint8_t> m_bytes;  // byte units, or the raw bytes of 16/32-bit files
    std::vector<uint16_t> m_units; // 16-bit units of 16/32-bit files
    std::vector<wchar_t> m_wide;   // one decoded line of a byte file
    std::unique_ptr<Filters> m_filters;
    int m_lastEncoding;
    bool m_prefilter;
    unsigned m_ansiCodePage; // files without a mark: the system's legacy ANSI code page
    bool m_ansiSingleByte;
};

} // namespace filescan

#endif
