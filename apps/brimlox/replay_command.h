// `brimlox replay`: draws a GDI trace again and writes or checks the surfaces it drew.
#pragma once

namespace brimlox::cli {

// Exit codes: 0 done, 1 the trace was read but its drawing differed from the trace's
// #result pixels or could not be written, 2 bad usage or a malformed trace.
int RunReplay(int argc, char** argv);

extern const char* const kReplayUsage;

}  // namespace brimlox::cli
