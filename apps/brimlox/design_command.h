// `brimlox design FORM.json [FORM.json ...]`: the form designer, live in a window or under an
// input script. Exit codes: 0 done, 1 a runtime failure (no window, a screenshot not written,
// the script outlasted its time), 2 bad usage or a form file that cannot be read at all.
#pragma once

namespace brimlox::cli {

int RunDesign(int argc, char** argv);
extern const char* const kDesignUsage;

}  // namespace brimlox::cli
