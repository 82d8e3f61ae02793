#include "platform/gdi/trace_recorder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/pen.h"
#include "platform/gdi/trace.h"
#include "platform/gdi/surface_serial.h"
#include "platform/gdi/trace_base64.h"

namespace brimlox::gdi {

namespace {

std::string Num(std::int64_t v) { return std::to_string(v); }

// Top-down B,G,R,A bytes of a whole surface; alpha is 255.
std::string SurfacePixels(const Surface& surface) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(surface.Width()) *
                                    static_cast<std::size_t>(surface.Height()) * 4);
    std::size_t i = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x, i += 4) {
            std::uint32_t v = surface.Get(x, y);
            bytes[i] = static_cast<std::uint8_t>(v);
            bytes[i + 1] = static_cast<std::uint8_t>(v >> 8);
            bytes[i + 2] = static_cast<std::uint8_t>(v >> 16);
            bytes[i + 3] = 0xFF;
        }
    }
    std::string out;
    AppendBase64(out, bytes.data(), bytes.size());
    return out;
}

std::string RectText(const RECT& r) {
    std::string text = "[";
    for (const LONG v : {r.left, r.top, r.right, r.bottom}) text += Num(v) + ',';
    text.back() = ']';
    return text;
}

BitmapObject* DibSection(std::uint32_t handle) {
    auto* bmp = HandleTable::Instance().Get<BitmapObject>(HandleFromValue<HGDIOBJ>(handle));
    return bmp && bmp->dibSection ? bmp : nullptr;
}

GdiObject* Lookup(std::uint32_t handle) { return HandleTable::Instance().Lookup(HandleFromValue<HGDIOBJ>(handle)); }

// Whether the op may end the life of a DC passed to it, so its pixels must be kept first.
bool EndsDc(const std::string& op) { return op == "DeleteDC" || op == "ReleaseDC"; }

std::string CallLine(const char* op, const std::string& args, std::uint64_t ret) {
    return std::string("{\"op\":\"") + op + "\",\"args\":[" + args + "],\"ret\":" + std::to_string(ret) + "}\n";
}

}  // namespace

TraceRecorder& TraceRecorder::Instance() {
    static TraceRecorder r;
    return r;
}

void TraceRecorder::UpdateGate() { g_traceGate.open = !envChecked_ || file_ != nullptr; }

void TraceRecorder::CheckEnvironment() {
    if (envChecked_) return;
    envChecked_ = true;
    UpdateGate();
    if (const char* path = std::getenv("BRIMLOX_GDI_TRACE"); path && *path) {
        // The handle table must outlive the exit handler that writes the final pixels, so it
        // is constructed before the handler is registered.
        HandleTable::Instance();
        GetStockObject(WHITE_BRUSH);
        if (Start(path, nullptr)) {
            stopAtExit_ = true;
            std::atexit(TraceStop);
            ++exitRegistrations_;
        }
    }
}

bool TraceRecorder::Start(const std::string& path, std::string* error) {
    envChecked_ = true;
    if (file_) Stop();
    file_ = std::fopen(path.c_str(), "w");
    UpdateGate();
    if (!file_) {
        if (error) *error = "cannot open trace file " + path + ": " + std::strerror(errno);
        return false;
    }
    known_.clear();
    dibPrints_.clear();
    surfaces_.clear();
    dcs_.clear();
    nextSurfaceId_ = 1;
    std::string head = "{\"op\":\"#trace\",\"version\":2,\"twips_per_pixel\":" + Num(TwipsPerPixel()) +
                       ",\"syscolors\":[";
    for (int i = 0; i < SYSCOLOR_COUNT; ++i) {
        if (i) head += ',';
        head += Num(GetSysColor(i));
    }
    head += "]}\n";
    WriteLine(head);
    return true;
}

void TraceRecorder::Flush() {
    if (!file_) return;
    WriteResults();
    std::fflush(file_);
}

void TraceRecorder::Stop() {
    if (!file_) return;
    Flush();
    std::fclose(file_);
    file_ = nullptr;
    UpdateGate();
    known_.clear();
    dibPrints_.clear();
    surfaces_.clear();
    dcs_.clear();
}

void TraceRecorder::WriteLine(const std::string& line) {
    if (file_) std::fputs(line.c_str(), file_);
}

std::uint64_t TraceRecorder::Fingerprint(const Surface& surface) {
    // Four independent multiply-xor lanes keep the hash near memory speed.
    const std::uint8_t* p = surface.Bits();
    std::size_t n = surface.ByteSize();
    std::uint64_t lane[4] = {0x9E3779B97F4A7C15ull ^ n, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                             0x27D4EB2F165667C5ull};
    constexpr std::uint64_t kMul = 0xFF51AFD7ED558CCDull;
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        for (int k = 0; k < 4; ++k) {
            std::uint64_t w;
            std::memcpy(&w, p + i + 8 * k, 8);
            lane[k] = (lane[k] ^ w) * kMul;
            lane[k] ^= lane[k] >> 29;
        }
    }
    std::uint64_t h = lane[0] ^ (lane[1] * 3) ^ (lane[2] * 5) ^ (lane[3] * 7);
    for (; i < n; ++i) h = (h ^ p[i]) * kMul;
    return h ^ (h >> 31);
}

TraceRecorder::DcRecord* TraceRecorder::FindDc(std::uint32_t handle) {
    auto it = dcs_.find(handle);
    return it == dcs_.end() ? nullptr : &it->second;
}

void TraceRecorder::NoteSurfaceChanged(const Surface& surface) {
    if (!file_) return;
    if (auto it = surfaces_.find(SurfaceSerial(surface)); it != surfaces_.end()) it->second.stale = true;
}

void TraceRecorder::BeginCall(const char* op) {
    op_ = op;
    callHandles_.clear();
}

void TraceRecorder::NoteArgument(std::uint32_t handle) {
    ObjectKind kind = KindOfHandle(HandleFromValue<HGDIOBJ>(handle));
    if (kind == ObjectKind::None) return;
    callHandles_.push_back(handle);
    GdiObject* object = Lookup(handle);
    // A stale or forged handle is written as it is and fails again on replay.
    if (!object) return;
    if (kind == ObjectKind::Dc) {
        auto& dc = static_cast<DcObject&>(*object);
        if (DcRecord* record = FindDc(handle)) {
            RefreshDc(*record, dc);
            // A DC this call may end leaves its surface's pixels behind: they are written now
            // unless another DC the trace knows still draws there (its end, or the end of the
            // trace, writes them then). Keeping each paint's pixels until the end would cost
            // memory per paint.
            const Surface* target = dc.Target();
            if (EndsDc(op_) && target && !SurfaceSharedByOtherDc(handle, target)) {
                SurfaceRecord& surface = surfaces_[SurfaceSerial(*target)];
                if (surface.drawn) WriteResult(surface, *target);
            }
        } else if (!known_.count(handle)) {
            DescribeDc(handle, dc);
        }
    } else if (!known_.count(handle)) {
        if (kind == ObjectKind::Bitmap) DescribeBitmap(handle); else DescribeObject(handle);
    }
    CheckDibBits(handle);
}

void TraceRecorder::NoteResult(std::uint32_t handle) {
    if (KindOfHandle(HandleFromValue<HGDIOBJ>(handle)) == ObjectKind::None) return;
    known_.insert(handle);
    callHandles_.push_back(handle);
}

void TraceRecorder::WriteCall(const std::string& line) {
    WriteLine(line);
    AfterCall();
}

// A surface the trace has not described, or one changed behind the GDI's back, is written
// whole; its number is returned (0 for no surface).
int TraceRecorder::DescribeSurface(const Surface* surface) {
    if (!surface) return 0;
    auto [it, added] = surfaces_.try_emplace(SurfaceSerial(*surface));
    SurfaceRecord& record = it->second;
    if (!added && !record.stale) return record.id;
    if (added) {
        record.id = nextSurfaceId_++;
        record.pointer = surface;
    }
    record.stale = false;
    WriteLine("{\"op\":\"#surface\",\"id\":" + Num(record.id) + ",\"width\":" + Num(surface->Width()) +
              ",\"height\":" + Num(surface->Height()) + ",\"pixels\":\"" + SurfacePixels(*surface) + "\"}\n");
    return record.id;
}

// The #dc line: the handle, the surface it draws on and, for a window or screen DC, its origin
// and clip rectangle in surface coordinates. A memory DC draws on its selected bitmap whole.
void TraceRecorder::WriteDcLine(DcRecord& record, const DcObject& dc) {
    const Surface* target = dc.Target();
    int id = DescribeSurface(target);
    record.serial = target ? SurfaceSerial(*target) : 0;
    record.origin = dc.memory ? POINT{} : dc.origin;
    record.clip = dc.memory ? (target ? target->Bounds() : RECT{}) : dc.Clip();
    record.memory = dc.memory;
    WriteLine("{\"op\":\"#dc\",\"h\":" + Num(record.handle) + ",\"surface\":" + Num(id) +
              (dc.memory ? ",\"memory\":true" : "") + ",\"origin\":[" + Num(record.origin.x) + "," +
              Num(record.origin.y) + "],\"clip\":" + RectText(record.clip) + "}\n");
}

void TraceRecorder::DescribeDc(std::uint32_t handle, const DcObject& dc) {
    known_.insert(handle);
    DcRecord& record = dcs_[handle];
    record.handle = handle;
    WriteDcLine(record, dc);
    const Surface* surface = dc.Target();
    // Exit handlers run in the reverse order of their registration, between the destructors of
    // statics. A window's surface belongs to a static table made after tracing started, so the
    // final #result lines are registered again once such a surface is seen, to be written while
    // it still exists. Running the handler again is harmless; the count bounds the registrations.
    if (stopAtExit_ && !dc.memory && surface && surface != lastRegisteredSurface_ && exitRegistrations_ < 64) {
        lastRegisteredSurface_ = surface;
        std::atexit(TraceStop);
        ++exitRegistrations_;
    }
    DescribeDcState(handle, dc);
}

// A DC made before tracing began may carry state a fresh DC lacks; it is written as the calls
// that set it, so the replay's DC starts out the same.
void TraceRecorder::DescribeDcState(std::uint32_t handle, const DcObject& dc) {
    const DcObject fresh;
    std::string h = Num(handle);
    auto set = [&](const char* op, std::int64_t value, std::int64_t previous) {
        if (value != previous) WriteLine(CallLine(op, h + "," + Num(value), static_cast<std::uint64_t>(previous)));
    };
    set("SetROP2", dc.rop2, fresh.rop2);
    set("SetBkMode", dc.bkMode, fresh.bkMode);
    set("SetBkColor", dc.bkColor, fresh.bkColor);
    set("SetTextColor", dc.textColor, fresh.textColor);
    set("SetPolyFillMode", dc.polyFillMode, fresh.polyFillMode);
    set("SetStretchBltMode", dc.stretchMode, fresh.stretchMode);
    set("SetDCBrushColor", dc.dcBrushColor, fresh.dcBrushColor);
    set("SetDCPenColor", dc.dcPenColor, fresh.dcPenColor);
    if (dc.brushOrg != fresh.brushOrg)
        WriteLine(CallLine("SetBrushOrgEx", h + "," + Num(dc.brushOrg.x) + "," + Num(dc.brushOrg.y) + ",null", 1));
    if (dc.currentPos != fresh.currentPos)
        WriteLine(CallLine("MoveToEx", h + "," + Num(dc.currentPos.x) + "," + Num(dc.currentPos.y) + ",null", 1));
    const std::pair<HGDIOBJ, int> selected[] = {{dc.pen, BLACK_PEN}, {dc.brush, WHITE_BRUSH}, {dc.font, SYSTEM_FONT}};
    for (auto [object, stockIndex] : selected) {
        HGDIOBJ stock = GetStockObject(stockIndex);
        if (object == stock || !object) continue;
        std::uint32_t value = HandleValue(object);
        if (!known_.count(value)) DescribeObject(value);
        WriteLine(CallLine("SelectObject", h + "," + Num(value), HandleValue(stock)));
        known_.insert(HandleValue(stock));
    }
}

// A window DC moved or retargeted to a new backing surface (a resize) is bound again; a
// surface changed behind the GDI's back is written again. A memory DC follows its own
// SelectObject calls in the replay and is never bound again.
void TraceRecorder::RefreshDc(DcRecord& record, const DcObject& dc) {
    const Surface* target = dc.Target();
    if (record.memory) {
        if (target && SurfaceSerial(*target) == record.serial) DescribeSurface(target);
        return;
    }
    std::uint64_t serial = target ? SurfaceSerial(*target) : 0;
    if (serial == record.serial && dc.origin == record.origin && dc.Clip() == record.clip) {
        DescribeSurface(target);
        return;
    }
    WriteDcLine(record, dc);
}

// Whether a DC other than `handle` that the trace described still draws on `surface`.
bool TraceRecorder::SurfaceSharedByOtherDc(std::uint32_t handle, const Surface* surface) const {
    for (const auto& [other, record] : dcs_) {
        if (other == handle || record.serial != SurfaceSerial(*surface)) continue;
        const DcObject* dc = LookupDc(HandleFromValue<HDC>(other));
        if (dc && dc->Target() == surface) return true;
    }
    return false;
}

void TraceRecorder::DescribeBitmap(std::uint32_t handle) {
    auto* bmp = HandleTable::Instance().Get<BitmapObject>(HandleFromValue<HGDIOBJ>(handle));
    if (!bmp || !bmp->surface) return;
    const Surface& s = *bmp->surface;
    std::string line = "{\"op\":\"#bitmap\",\"h\":" + Num(handle) + ",\"width\":" + Num(s.Width()) +
                       ",\"height\":" + Num(s.Height()) + ",\"bpp\":" + Num(s.BitsPerPixel()) + ",\"pixels\":\"";
    AppendBase64(line, s.Bits(), s.ByteSize());
    line += "\"}\n";
    WriteLine(line);
    known_.insert(handle);
    if (bmp->dibSection) dibPrints_[handle] = Fingerprint(s);
}

// Pens, brushes and fonts the trace has not seen: stock objects are named by their index,
// others are written as the creation call that makes an equal object.
void TraceRecorder::DescribeObject(std::uint32_t handle) {
    HGDIOBJ object = HandleFromValue<HGDIOBJ>(handle);
    GdiObject* o = Lookup(handle);
    if (!o) return;
    known_.insert(handle);
    if (o->IsStock()) {
        for (int i = 0; i <= DC_PEN; ++i) {
            if (GetStockObject(i) == object) {
                WriteLine(CallLine("GetStockObject", Num(i), handle));
                return;
            }
        }
        for (int i = 0; i < SYSCOLOR_COUNT; ++i) {
            if (GetSysColorBrush(i) == object) {
                WriteLine(CallLine("GetSysColorBrush", Num(i), handle));
                return;
            }
        }
        return;
    }
    switch (o->Kind()) {
        case ObjectKind::Pen: {
            auto& p = static_cast<PenObject&>(*o);
            WriteLine(CallLine("CreatePen", Num(p.Style()) + "," + Num(p.width) + "," + Num(p.color), handle));
            return;
        }
        case ObjectKind::ExtPen: {
            auto& p = static_cast<PenObject&>(*o);
            std::string args = Num(p.styleBits) + "," + Num(p.width) + ",";
            AppendLogBrush(args, p.brush);
            WriteLine(CallLine("ExtCreatePen", args + ",0,[]", handle));
            return;
        }
        case ObjectKind::Brush: {
            auto& b = static_cast<BrushObject&>(*o);
            if (b.style == BS_SOLID) {
                WriteLine(CallLine("CreateSolidBrush", Num(b.color), handle));
            } else if (b.style == BS_HATCHED) {
                WriteLine(CallLine("CreateHatchBrush", Num(b.hatch) + "," + Num(b.color), handle));
            } else if (b.style == BS_PATTERN) {
                // The brush keeps only its 8x8 cell: a stand-in bitmap carries it.
                auto cell = Surface::Create(8, 8, b.patternMono ? PixelFormat::Mono1 : PixelFormat::Bgrx32);
                for (int i = 0; i < 64; ++i) cell->Put(i % 8, i / 8, b.pattern[static_cast<std::size_t>(i)]);
                std::uint32_t stand = nextSyntheticHandle_++;
                std::string line = "{\"op\":\"#bitmap\",\"h\":" + Num(stand) + ",\"width\":8,\"height\":8,\"bpp\":" +
                                   Num(cell->BitsPerPixel()) + ",\"pixels\":\"";
                AppendBase64(line, cell->Bits(), cell->ByteSize());
                WriteLine(line + "\"}\n");
                WriteLine(CallLine("CreatePatternBrush", Num(stand), handle));
                WriteLine(CallLine("DeleteObject", Num(stand), 1));
            }
            return;
        }
        case ObjectKind::Font: {
            std::string args;
            AppendLogFont(args, static_cast<FontObject&>(*o).logFont);
            WriteLine(CallLine("CreateFontIndirectA", args, handle));
            return;
        }
        default: return;
    }
}

// A DIB section (passed directly or selected into a DC passed) whose bits changed since the
// trace last saw them was written through its pointer: its bits are recorded.
void TraceRecorder::CheckDibBits(std::uint32_t handle) {
    std::uint32_t dib = handle;
    if (KindOfHandle(HandleFromValue<HGDIOBJ>(handle)) == ObjectKind::Dc) {
        DcObject* dc = LookupDc(HandleFromValue<HDC>(handle));
        // A memory DC from before tracing replays onto its #surface; its pixels were taken whole.
        const DcRecord* record = FindDc(handle);
        if (!dc || !dc->memory ||
            (record && dc->Target() && SurfaceSerial(*dc->Target()) == record->serial))
            return;
        dib = HandleValue(dc->bitmap);
    }
    BitmapObject* bmp = DibSection(dib);
    if (!bmp) return;
    if (!known_.count(dib)) {
        DescribeBitmap(dib);
        return;
    }
    std::uint64_t print = Fingerprint(*bmp->surface);
    auto it = dibPrints_.find(dib);
    if (it != dibPrints_.end() && it->second == print) return;
    std::string line = "{\"op\":\"#bits\",\"h\":" + Num(dib) + ",\"pixels\":\"";
    AppendBase64(line, bmp->surface->Bits(), bmp->surface->ByteSize());
    WriteLine(line + "\"}\n");
    dibPrints_[dib] = print;
}

// After a recorded call: what it drew into DIB sections is part of the recorded state, and
// handles it freed are forgotten (their values may come back for other objects).
void TraceRecorder::AfterCall() {
    for (std::uint32_t handle : callHandles_) {
        GdiObject* o = Lookup(handle);
        if (!o) {
            known_.erase(handle);
            dibPrints_.erase(handle);
            dcs_.erase(handle);
            continue;
        }
        std::uint32_t dib = handle;
        if (o->Kind() == ObjectKind::Dc) {
            auto& dc = static_cast<DcObject&>(*o);
            // What the call drew is part of the surface's next #result.
            if (const Surface* target = dc.Target())
                if (auto it = surfaces_.find(SurfaceSerial(*target)); it != surfaces_.end()) it->second.drawn = true;
            if (!dc.memory) continue;
            dib = HandleValue(dc.bitmap);
        }
        if (BitmapObject* bmp = DibSection(dib); bmp && known_.count(dib)) dibPrints_[dib] = Fingerprint(*bmp->surface);
    }
    callHandles_.clear();
}

void TraceRecorder::WriteResult(SurfaceRecord& record, const Surface& surface) {
    // Pixels changed behind the GDI's back are given first, so the result compares the drawing.
    DescribeSurface(&surface);
    WriteLine("{\"op\":\"#result\",\"surface\":" + Num(record.id) + ",\"pixels\":\"" + SurfacePixels(surface) +
              "\"}\n");
    record.drawn = false;
}

// Every described surface that a live DC still draws on gets its #result, in the order the
// surfaces were first described. Surfaces without one were written when their last DC ended.
void TraceRecorder::WriteResults() {
    std::vector<std::pair<int, const Surface*>> live;
    for (const auto& [handle, record] : dcs_) {
        const DcObject* dc = LookupDc(HandleFromValue<HDC>(handle));
        const Surface* target = dc ? dc->Target() : nullptr;
        if (!target || SurfaceSerial(*target) != record.serial) continue;
        live.emplace_back(surfaces_[record.serial].id, target);
    }
    std::sort(live.begin(), live.end());
    live.erase(std::unique(live.begin(), live.end()), live.end());
    for (auto [id, surface] : live) WriteResult(surfaces_[SurfaceSerial(*surface)], *surface);
}

}  // namespace brimlox::gdi
