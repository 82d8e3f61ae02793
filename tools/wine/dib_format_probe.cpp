// Runs every case of dib_format_cases.h with Windows' GDI and writes the records as text.
// Built with mingw-w64 and run under wine by tools/wine/run_dib_format_probe.sh, which keeps
// the output as tests/golden/gdi/dib_formats_wine.txt.
#include <windows.h>

#include <cstdio>

#include "dib_format_cases.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    FILE* f = std::fopen(argv[1], "w");
    if (!f) return 1;
    for (const auto& c : dib_format_cases::kCases) std::fputs(dib_format_cases::Run(c).c_str(), f);
    std::fputs(dib_format_cases::RunRefusals().c_str(), f);
    std::fclose(f);
    return 0;
}
