// `brimlox describe TYPE`: the reference of a control type or public class, read from the
// type information it publishes: properties (type, default, values, bag key, access, help),
// methods and events. The output is Markdown; docs/controls/<Type>.md is this output.
#pragma once

namespace brimlox::cli {

int RunDescribe(int argc, char** argv);

extern const char* const kDescribeUsage;

}  // namespace brimlox::cli
