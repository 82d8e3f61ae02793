#include "apps/common/command_line.h"

#include <algorithm>

namespace brimlox::apps {

std::optional<std::string> CommandLine::Parse(std::span<const char* const> args, std::span<const OptionRule> options) {
    values_.clear();
    positional_.clear();
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = args[i] ? args[i] : "";
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // --name=value names the option before the '='; one-letter options never take one.
        const auto equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        const auto known = std::find_if(options.begin(), options.end(), [&](const OptionRule& o) { return o.name == name; });
        if (known == options.end()) return "unknown option '" + name + "'";
        if (values_.count(name)) return name + " is given more than once";
        if (!known->takesValue) {
            if (equals != std::string::npos) return name + " takes no value";
            values_[name] = "";
        } else if (equals != std::string::npos) {
            values_[name] = arg.substr(equals + 1);
        } else if (i + 1 < args.size() && args[i + 1]) {
            values_[name] = args[++i];
        } else {
            return name + " needs a value";
        }
    }
    return std::nullopt;
}

std::string CommandLine::Value(const std::string& name, const std::string& fallback) const {
    auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

std::span<const char* const> ArgumentsAfter(int argc, char** argv, int skip) {
    if (argc <= skip) return {};
    return {const_cast<const char* const*>(argv) + skip, static_cast<std::size_t>(argc - skip)};
}

}  // namespace brimlox::apps
