// Fuzzes the programs' command-line parser: the input, split at NUL bytes, is an argument
// list. Any list is parsed or refused with a message; a parsed one keeps every argument that is
// not an option or an option's value as a positional argument, in order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "apps/common/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using brimlox::apps::OptionRule;
    static const OptionRule kOptions[] = {{"--out", true}, {"-o", true}, {"--scale", true}, {"--headless", false},
                                          {"--help", false}};
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) words.emplace_back();
        else words.back() += static_cast<char>(data[i]);
    }
    std::vector<const char*> args;
    for (const auto& w : words) args.push_back(w.c_str());
    brimlox::apps::CommandLine line;
    if (auto problem = line.Parse(args, kOptions)) {
        if (problem->empty()) std::abort();
        return 0;
    }
    if (line.Positional().size() > args.size()) std::abort();
    for (const auto& p : line.Positional()) {
        bool found = false;
        for (const auto& w : words) found = found || w == p;
        if (!found) std::abort();
    }
    return 0;
}
