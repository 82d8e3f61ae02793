// The state behind the drawing trace: the open file, the call depth, which handles the trace
// already knows, the #surface pixels and #dc bindings it wrote and a fingerprint of every DIB section's bits.
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

    // A writer that changes a surface's pixels without a GDI call (the screen composition)
    // says so: the surface's pixels are written again before the next call that draws on it.
    void NoteSurfaceChanged(const Surface& surface);

private:
    // A surface the trace describes with #surface: its pixels are written once and shared by
    // every DC onto it.
    struct SurfaceRecord {
        int id = 0;                  // the trace's number for it, from 1
        const Surface* pointer = nullptr;
        bool stale = false;          // changed behind the GDI's back since last written
        bool drawn = false;          // drawn on since its last #result
    };
    // A DC the trace did not create, bound by a #dc line to a surface with an origin and clip.
    struct DcRecord {
        std::uint32_t handle = 0;
        std::uint64_t serial = 0;    // of the surface it was bound to (0: none)
        POINT origin{};
        RECT clip{};
        bool memory = false;
    };

    void WriteLine(const std::string& line);
    DcRecord* FindDc(std::uint32_t handle);
    void DescribeDc(std::uint32_t handle, const DcObject& dc);
    void WriteDcLine(DcRecord& record, const DcObject& dc);
    int DescribeSurface(const Surface* surface);
    void DescribeDcState(std::uint32_t handle, const DcObject& dc);
    void DescribeBitmap(std::uint32_t handle);
    void DescribeObject(std::uint32_t handle);
    void RefreshDc(DcRecord& record, const DcObject& dc);
    bool SurfaceSharedByOtherDc(std::uint32_t handle, const Surface* surface) const;
    void CheckDibBits(std::uint32_t handle);
    void AfterCall();
    void WriteResult(SurfaceRecord& record, const Surface& surface);
    void WriteResults();

    std::FILE* file_ = nullptr;
    bool envChecked_ = false;
    // Keeps the traced calls' inline gate open while the environment is unchecked or a file is.
    void UpdateGate();
    std::string op_;
    std::unordered_set<std::uint32_t> known_;
    std::unordered_map<std::uint32_t, std::uint64_t> dibPrints_;
    std::unordered_map<std::uint64_t, SurfaceRecord> surfaces_;  // by Surface::Serial
    std::unordered_map<std::uint32_t, DcRecord> dcs_;
    int nextSurfaceId_ = 1;
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
