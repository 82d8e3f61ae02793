// The state behind the drawing trace: the open file, the call depth, which handles the trace
// already knows, the #dc surfaces it describes and a fingerprint of every DIB section's bits.
// TraceCall (trace.cpp) formats one call; the recorder decides what must be written before
// that call so that a replay starts from the same pixels and objects.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/gdi/wintypes.h"

namespace brimlox::gdi {

class DcObject;
class Surface;

class TraceRecorder {
public:
    static TraceRecorder& Instance();

    bool Start(const std::string& path, std::string* error);
    void Flush();
    void Stop();
    bool Active() const { return file_ != nullptr; }
    // Starts tracing when BRIMLOX_GDI_TRACE is set (once per process).
    void CheckEnvironment();

    // Nesting of traced calls: only depth 1 is recorded.
    int Enter() { return ++depth_; }
    void Leave() { --depth_; }

    // The outermost call being recorded.
    void BeginCall(const char* op);
    // A handle passed to the call: objects the trace has not seen are described first, and
    // DIB sections written behind the GDI's back get a #bits line.
    void NoteArgument(std::uint32_t handle);
    // A handle the call handed back: known from now on.
    void NoteResult(std::uint32_t handle);
    // Writes the call's line, then takes note of what the call changed.
    void WriteCall(const std::string& line);

    // Cheap hash of a surface's bytes, used to notice direct writes to DIB section bits.
    static std::uint64_t Fingerprint(const Surface& surface);

private:
    // A DC the trace describes with #dc, and what identifies the pixels it was recorded with.
    struct SurfaceRecord {
        std::uint32_t handle = 0;
        const Surface* target = nullptr;
        POINT origin{};
        RECT clip{};
        int width = 0;
        int height = 0;
        std::uint64_t sequence = 0;  // #result lines follow the order of the #dc lines
    };

    void WriteLine(const std::string& line);
    SurfaceRecord* FindSurface(std::uint32_t handle);
    void DescribeDc(std::uint32_t handle, const DcObject& dc);
    void DescribeDcState(std::uint32_t handle, const DcObject& dc);
    void DescribeBitmap(std::uint32_t handle);
    void DescribeObject(std::uint32_t handle);
    void RefreshSurface(SurfaceRecord& record, const DcObject& dc);
    void CheckDibBits(std::uint32_t handle);
    void AfterCall();
    void WriteResult(SurfaceRecord& record, const DcObject& dc);
    void WriteResults();

    std::FILE* file_ = nullptr;
    int depth_ = 0;
    bool envChecked_ = false;
    std::string op_;
    std::unordered_set<std::uint32_t> known_;
    std::unordered_map<std::uint32_t, std::uint64_t> dibPrints_;
    std::unordered_map<std::uint32_t, SurfaceRecord> surfaces_;
    std::uint64_t nextSequence_ = 0;
    std::vector<std::uint32_t> callHandles_;
    std::uint32_t nextSyntheticHandle_ = 0xE0000001u;
    // Tracing started from the environment stops at process exit (see DescribeDc).
    bool stopAtExit_ = false;
    int exitRegistrations_ = 0;
    const Surface* lastRegisteredSurface_ = nullptr;
};

// JSON text pieces shared by TraceCall and the recorder's own lines.
void AppendJsonString(std::string& out, std::string_view s);
void AppendLogFont(std::string& out, const LOGFONTA& lf);
void AppendLogBrush(std::string& out, const LOGBRUSH& lb);

}  // namespace brimlox::gdi
