#include "apps/app_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/gdi_test.h"

namespace brimlox::test {

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                         const ProcessLimits& limits) {
    const std::string base = OutputDir() + "/process-" + std::to_string(getpid());
    const std::string outPath = base + ".out", errPath = base + ".err";
    pid_t child = fork();
    if (child == 0) {
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        // Under the sanitizers, the leak checker lists the suppressions it used on standard
        // error at exit; the tests read that stream as the program's own words.
        const char* lsan = std::getenv("LSAN_OPTIONS");
        const std::string lsanOptions = std::string(lsan ? lsan : "") + (lsan && *lsan ? ":" : "") + "print_suppressions=0";
        setenv("LSAN_OPTIONS", lsanOptions.c_str(), 1);
        for (const auto& [name, value] : env) {
            if (value.empty()) unsetenv(name.c_str());
            else setenv(name.c_str(), value.c_str(), 1);
        }
        if (limits.fileSizeBytes >= 0) {
            const rlimit size{static_cast<rlim_t>(limits.fileSizeBytes), static_cast<rlim_t>(limits.fileSizeBytes)};
            setrlimit(RLIMIT_FSIZE, &size);
        }
        if (limits.timeoutSeconds > 0) alarm(limits.timeoutSeconds);  // kept across exec
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    ProcessResult r;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) r.status = WEXITSTATUS(status);
    r.out = Slurp(outPath);
    r.err = Slurp(errPath);
    unlink(outPath.c_str());
    unlink(errPath.c_str());
    return r;
}

int LineCount(const std::string& text) {
    int n = 0;
    for (char c : text) n += c == '\n';
    return n + (!text.empty() && text.back() != '\n');
}

}  // namespace brimlox::test
