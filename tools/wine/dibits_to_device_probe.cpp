// Runs every case of dibits_to_device_cases.h with Windows' GDI and writes the records as
// text. Built with mingw-w64 and run under wine by tools/wine/run_dibits_to_device_probe.sh,
// which keeps the output as tests/golden/gdi/dibits_to_device_wine.txt.
#include <windows.h>

#include <cstdio>

#include "dibits_to_device_cases.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    FILE* f = std::fopen(argv[1], "w");
    if (!f) return 1;
    for (const auto& c : dibits_to_device_cases::kCases) std::fputs(dibits_to_device_cases::Run(c).c_str(), f);
    std::fputs(dibits_to_device_cases::RunRefusals().c_str(), f);
    std::fclose(f);
    return 0;
}
