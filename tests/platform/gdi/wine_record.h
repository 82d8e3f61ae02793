// Records of what Windows (as wine implements it) did with a list of cases, kept as text under
// tests/golden/gdi/: one "case NAME" block per case, then a "refusals" line.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "support/paths.h"

namespace brimlox::test {

inline std::string ReadWineRecord(const std::string& file) {
    std::ifstream in(SourceDir() + "/tests/golden/gdi/" + file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The block of one case, from its "case" line up to the next case or the refusals line.
inline std::string WineRecordBlock(const std::string& record, const std::string& name) {
    const std::string head = "case " + name + "\n";
    std::size_t start = record.find(head);
    if (start == std::string::npos) return "";
    std::size_t end = record.find("case ", start + head.size());
    if (end == std::string::npos) end = record.find("refusals", start);
    return record.substr(start, end - start);
}

// The refusals line and what follows it.
inline std::string WineRecordRefusals(const std::string& record) {
    const std::size_t at = record.find("refusals");
    return at == std::string::npos ? "" : record.substr(at);
}

}  // namespace brimlox::test
