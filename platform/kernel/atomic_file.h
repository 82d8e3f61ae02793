// Writing a file so that neither a reader nor a crash ever sees half of it. The contents go
// to a temporary file beside the target whose name is unique to this write (the process id,
// a counter and random bits: "NAME.tmp.PID.UNIQUE"), are flushed to disk, and the temporary
// file is renamed over the target only when every step succeeded; any failure removes it and
// leaves the old target as it was. Two processes writing one file at once each use their own
// temporary file, so the target ends as one complete version. A target that exists and is
// not a regular file (a device such as /dev/stdout, a pipe) is written directly: renaming over
// it would replace the device.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace brimlox::kernel {

struct AtomicWriteOptions {
    unsigned mode = 0666;               // permissions of a new file, before the umask
    std::function<void()> beforeRename;  // runs once the new contents are on disk (tests crash here)
};

// Writes `bytes` to `path`. Returns false with *error set ("cannot write PATH: reason").
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error,
                         const AtomicWriteOptions& options = {});

// `write` writes the whole contents to the path it is given (the temporary file, already
// created and empty) and returns false with *error set when it cannot; a mention of the
// temporary name in that message is replaced by the target's.
bool WriteFileAtomically(const std::filesystem::path& path,
                         const std::function<bool(const std::string& into)>& write, std::string* error,
                         const AtomicWriteOptions& options = {});

// Removes the temporary files of `path` left by writers that died before their rename (their
// process is gone); a live writer's file is left alone.
void RemoveStaleTemporaries(const std::filesystem::path& path);

}  // namespace brimlox::kernel
