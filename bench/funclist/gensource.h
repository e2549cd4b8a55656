// gensource.h - the generated C source of the function-list benchmarks:
// functions with a block comment, a string and a line comment each.
#pragma once

#include <string>

// nFunctions functions named add_0, add_1, ... (40,000 make about 6.6 MB).
inline std::string GeneratedCSource(int nFunctions)
{
    std::string text = "#include <stdio.h>\n\n";
    for (int i = 0; i < nFunctions; ++i) {
        std::string n = std::to_string(i);
        text += "/* Adds record " + n + "; { checked } */\n";
        text += "static int add_" + n + "(int a, const char* name, int b)\n{\n";
        text += "    printf(\"%s: %d\\n\", name, a + b); // \"hi\"\n";
        text += "    return a + b;\n}\n\n";
    }
    return text;
}
