// Writes a reproducible tree of source-like text for the find-in-files
// benchmark (a native host program, built by run.sh).
//   gen_tree <folder> <megabytes>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

uint64_t g_state = 0x9E3779B97F4A7C15ull;

uint32_t Next()
{
    g_state ^= g_state << 13;
    g_state ^= g_state >> 7;
    g_state ^= g_state << 17;
    return static_cast<uint32_t>(g_state);
}

const char* kWords[] = {"buffer", "count", "index", "value", "result", "node", "list", "item", "state", "window",
                        "handle", "length", "offset", "size", "flag", "text", "line", "column", "parent", "child",
                        "first", "last", "next", "prev", "data", "key", "name", "path", "file", "folder"};
const char* kTypes[] = {"int", "long", "size_t", "bool", "char*", "const wchar_t*", "CString", "DWORD", "HWND",
                        "std::vector<int>"};

std::string Ident()
{
    std::string s = kWords[Next() % 30];
    const int parts = static_cast<int>(Next() % 3);
    for (int i = 0; i < parts; ++i) {
        s += '_';
        s += kWords[Next() % 30];
    }
    return s;
}

std::string Line(int depth)
{
    std::string indent(static_cast<size_t>(depth) * 4, ' ');
    switch (Next() % 10) {
    case 0: return indent + "// " + Ident() + " " + Ident() + " " + Ident() + " of the " + Ident() + "\n";
    case 1: return indent + kTypes[Next() % 10] + std::string(" ") + Ident() + " = " + std::to_string(Next() % 100000) + ";\n";
    case 2: return indent + "if (" + Ident() + " > " + Ident() + ")\n";
    case 3: return indent + Ident() + "(" + Ident() + ", " + Ident() + ");\n";
    case 4: return indent + "return " + Ident() + "->" + Ident() + ";\n";
    case 5: return "\n";
    case 6: return indent + Ident() + " += " + Ident() + " * " + std::to_string(Next() % 64) + ";\n";
    case 7: return indent + "for (int i = 0; i < " + Ident() + ".size(); ++i)\n";
    case 8: return indent + "m_" + Ident() + "[" + Ident() + "] = " + Ident() + "." + Ident() + "();\n";
    default: return indent + "printf(\"%s: %d\\n\", " + Ident() + ", " + Ident() + ");\n";
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: gen_tree <folder> <megabytes>\n");
        return 1;
    }
    const std::string root = argv[1];
    const long long target = atoll(argv[2]) * 1024 * 1024;
    mkdir(root.c_str(), 0755);
    long long total = 0;
    int fileNo = 0;
    while (total < target) {
        const int top = fileNo / 100, sub = (fileNo / 10) % 10;
        const std::string dir1 = root + "/module" + std::to_string(top);
        const std::string dir2 = dir1 + "/part" + std::to_string(sub);
        mkdir(dir1.c_str(), 0755);
        mkdir(dir2.c_str(), 0755);
        const char* ext = (fileNo % 4 == 0) ? ".h" : ".cpp";
        const std::string path = dir2 + "/source" + std::to_string(fileNo) + ext;
        // 20 to 130 KB per file.
        const long long size = 20000 + Next() % 110000;
        std::string text = "#include \"" + Ident() + ".h\"\n\n";
        int depth = 0;
        while (static_cast<long long>(text.size()) < size) {
            const uint32_t r = Next() % 40;
            if (r == 0 && depth < 4) {
                text += std::string(static_cast<size_t>(depth) * 4, ' ') + "{\n";
                ++depth;
            } else if (r == 1 && depth > 0) {
                --depth;
                text += std::string(static_cast<size_t>(depth) * 4, ' ') + "}\n";
            } else if (Next() % 2000 == 0) {
                text += "    notify_value_changed(m_window, kStatusBar);\n"; // the literal searched for
            } else {
                text += Line(depth);
            }
        }
        FILE* f = fopen(path.c_str(), "wb");
        if (!f) {
            perror(path.c_str());
            return 1;
        }
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
        total += static_cast<long long>(text.size());
        ++fileNo;
    }
    printf("%d files, %lld bytes\n", fileNo, total);
    return 0;
}
