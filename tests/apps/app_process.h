// Runs one of the project's programs as a subprocess, with its standard output and error kept
// apart, so the app tests see exactly what a user of the command line sees.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace brimlox::test {

struct ProcessResult {
    int status = -1;  // the exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Limits for the child: the largest file it may write (RLIMIT_FSIZE, as `ulimit -f` sets; -1
// none) and the seconds after which it is killed (0 none), so a hang fails its test quickly.
struct ProcessLimits {
    long long fileSizeBytes = -1;
    unsigned timeoutSeconds = 0;
};

// Runs `args` (args[0] is the program path); `env` sets variables in the child, an empty value
// removes one.
ProcessResult RunProcess(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {},
                         const ProcessLimits& limits = {});

// Counts the lines of a text.
int LineCount(const std::string& text);

}  // namespace brimlox::test
