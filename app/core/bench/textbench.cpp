// textbench - throughput of the text-file reader and writer.
//
//   qmtextbench load <file> <encoding> <mark length>
//       reads the file through TextFile + ReadConverter in 256000-byte pieces
//       into a memory sink (the converted text is appended to a buffer that
//       is reused once it holds 64 MB, as the editing component would grow).
//   qmtextbench save <utf8 file> <encoding>
//       loads a UTF-8 file into memory, then times writing it in the given
//       encoding through WriteConverter (to a temporary file beside it).
// Prints one line: "<mode> <bytes in> <bytes out> <seconds> <MB/s>".
#include "benchclock.h"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "textfile.h"

namespace {

double Now()
{
    return qmbench::Seconds();
}

class CountingSink : public ITextSink {
public:
    CountingSink() { m_buffer.reserve(64u << 20); }
    bool AppendText(const char* p, int n) override
    {
        if (m_buffer.size() + (size_t)n > (64u << 20))
            m_buffer.clear();
        m_buffer.append(p, (size_t)n);
        m_total += (unsigned long long)n;
        return true;
    }
    unsigned long long Total() const { return m_total; }

private:
    std::string m_buffer;
    unsigned long long m_total = 0;
};

int Usage()
{
    fprintf(stderr, "usage: qmtextbench load <file> <encoding> <mark> | save <utf8 file> <encoding>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return Usage();
    const std::string mode = argv[1];
    const char* path = argv[2];
    const int encoding = atoi(argv[3]);
    if (mode == "load") {
        const int mark = argc > 4 ? atoi(argv[4]) : 0;
        TextFile file;
        if (!file.Open(path)) {
            fprintf(stderr, "cannot open %s\n", path);
            return 1;
        }
        CountingSink sink;
        const double t0 = Now();
        TextIoResult r = ReadAllText(file, encoding, mark, sink);
        const double t1 = Now();
        if (r != TEXTIO_OK) {
            fprintf(stderr, "load failed: %d\n", (int)r);
            return 1;
        }
        const double mb = (double)file.GetSize64() / 1e6;
        printf("load %llu %llu %.3f %.1f\n", file.GetSize64(), sink.Total(), t1 - t0, mb / (t1 - t0));
        return 0;
    }
    if (mode == "save") {
        TextFile in;
        if (!in.Open(path))
            return 1;
        CMemoryText text;
        if (ReadAllText(in, 0, 0, text) != TEXTIO_OK)
            return 1;
        in.Close();
        text.IndexLines();
        std::string out = std::string(path) + ".out";
        TextFile file;
        const double t0 = Now();
        TextIoResult r = SaveText(file, out.c_str(), encoding, TRUE, text);
        const double t1 = Now();
        WIN32_FILE_ATTRIBUTE_DATA info;
        GetFileAttributesExA(out.c_str(), GetFileExInfoStandard, &info);
        DeleteFileA(out.c_str());
        if (r != TEXTIO_OK) {
            fprintf(stderr, "save failed: %d\n", (int)r);
            return 1;
        }
        const double mb = (double)text.GetLength() / 1e6;
        printf("save %llu %llu %.3f %.1f\n", (unsigned long long)text.GetLength(),
               ((unsigned long long)info.nFileSizeHigh << 32) | info.nFileSizeLow, t1 - t0, mb / (t1 - t0));
        return 0;
    }
    return Usage();
}
