// The command-line parser of both programs. An option is `--name value` or `--name=value`
// (a one-letter option such as -o takes the next argument); a flag stands alone; anything
// else is a positional argument, and so is everything after `--` and a lone `-` (standard
// input or output). An option the command does not know, a value missing, a value given to
// a flag, or the same option given twice is refused with a message naming it.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brimlox::apps {

struct OptionRule {
    std::string name;        // "--out", "-o"
    bool takesValue = true;  // false: a flag such as --headless
};

class CommandLine {
public:
    // Parses `args` (without the program name or command). Returns the problem, or nothing.
    std::optional<std::string> Parse(std::span<const char* const> args, std::span<const OptionRule> options);

    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    // The value of an option, or `fallback` when it was not given.
    std::string Value(const std::string& name, const std::string& fallback = "") const;
    const std::vector<std::string>& Positional() const { return positional_; }

private:
    std::map<std::string, std::string> values_;
    std::vector<std::string> positional_;
};

// The arguments after the first `skip` of argv, for Parse.
std::span<const char* const> ArgumentsAfter(int argc, char** argv, int skip);

}  // namespace brimlox::apps
