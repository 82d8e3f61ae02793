// Writing the tool's output files so that a failure never leaves half a file: the picture goes
// to a temporary file beside the target and is renamed over it only when every write, flush
// and close succeeded. A target that exists and is not a regular file (a device such as
// /dev/stdout, a pipe) is written directly: renaming over it would replace the device.
#pragma once

#include <functional>
#include <string>

namespace brimlox::cli {

// `write` writes the whole output to the path it is given and returns false with *error set
// when it cannot. Returns false with *error set ("cannot write PATH: reason") when anything
// failed; then no file is left at `path` unless one was there before (which is unchanged).
bool WriteOutputFile(const std::string& path, const std::function<bool(const std::string&)>& write, std::string* error);

}  // namespace brimlox::cli
