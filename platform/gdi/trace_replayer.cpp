#include "platform/gdi/trace_replayer.h"

#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/trace_replay.h"
#include "platform/json/nesting.h"

namespace brimlox::gdi::replay {

HandlerTable& Handlers() {
    static HandlerTable table = [] {
        HandlerTable t;
        AddCoreHandlers(t);
        AddBlitHandlers(t);
        AddShapeHandlers(t);
        AddTextHandlers(t);
        return t;
    }();
    return table;
}

std::string ResultMismatch::Describe() const {
    // Version 1 surfaces belong to one DC each, and are named by its handle too.
    std::string where = "surface " + std::to_string(surface) + " (" +
                        (handle ? "handle " + std::to_string(handle) + ", " : std::string()) + "#result on line " +
                        std::to_string(line) + ")";
    if (sizeDiffers) return where + " was drawn at a different size than traced";
    char colours[64];
    std::snprintf(colours, sizeof colours, "drawn #%02X%02X%02X, traced #%02X%02X%02X", GetRValue(drawn),
                  GetGValue(drawn), GetBValue(drawn), GetRValue(traced), GetGValue(traced), GetBValue(traced));
    return where + " differs at pixel (" + std::to_string(x) + "," + std::to_string(y) + "): " + colours;
}

namespace {

// A 32-bpp copy of what a DC draws on (its whole bitmap), or nullptr without one.
std::unique_ptr<Surface> CaptureDc(HDC hdc) {
    DcObject* dc = LookupDc(hdc);
    const Surface* target = dc ? dc->Target() : nullptr;
    if (!target) return nullptr;
    auto copy = Surface::Create(target->Width(), target->Height(), PixelFormat::Bgrx32);
    if (!copy) return nullptr;
    for (int y = 0; y < target->Height(); ++y)
        for (int x = 0; x < target->Width(); ++x) copy->Put(x, y, target->Get(x, y));
    return copy;
}

std::unique_ptr<Surface> CopyOf(const Surface* s) {
    if (!s) return nullptr;
    auto copy = Surface::Create(s->Width(), s->Height(), s->Format());
    std::memcpy(copy->Bits(), s->Bits(), s->ByteSize());
    return copy;
}

bool HoldsOwnBitmap(HDC hdc) {
    DcObject* dc = LookupDc(hdc);
    return dc && dc->memory && dc->bitmap != DefaultMonoBitmap();
}

// A surface the replay follows: a #dc, or the first memory DC of the trace.
struct Tracked {
    std::uint32_t traced = 0;
    HDC dc = nullptr;
    bool fromDcLine = true;
    int width = 0;
    int height = 0;
    std::vector<HBITMAP> bitmaps;  // made for the #dc lines of this DC
    // Taken before a call that may end the DC or take its bitmap away.
    std::unique_ptr<Surface> lastPixels;
};

// What one Run works with. Its destructor frees every object the replay made and restores the
// process-wide settings the #trace line changed, also when reading stops at an error.
class Session {
public:
    explicit Session(const ReplayOptions& options);
    ~Session();

    void Line(int number, const std::string& text);
    bool HeaderSeen() const { return headerSeen_; }
    void Collect(std::vector<ReplayedSurface>& out, bool& hadDcLines) const;
    int resultsChecked = 0;
    std::optional<ResultMismatch> mismatch;

private:
    void Header(const Json& j);
    void DcLine(const Json& j);
    void SurfaceLine(const Json& j);
    void BindDc(const Json& j);
    void SharedResultLine(int number, const Json& j);
    void BitmapLine(const Json& j);
    void BitsLine(const Json& j);
    void ResultLine(int number, const Json& j);
    void Call(const std::string& op, const Json& j);
    void BeforeCall(const std::string& op, const Json& args);
    void FreeEndedSurfaces();
    std::unique_ptr<Surface> Drawn(const Tracked& t) const;
    Tracked* FindDcLine(std::uint32_t traced);
    void FreeEverything();

    bool keepEverySurface_;
    Context context_;
    std::vector<Tracked> tracked_;
    std::optional<Tracked> firstMemoryDc_;
    std::vector<HGDIOBJ> owned_;
    bool headerSeen_ = false;
    int version_ = 1;
    // Version 2: the surfaces every DC of the trace draws on, in the order first described.
    struct SharedSurface {
        std::int64_t id = 0;
        HBITMAP bitmap = nullptr;
    };
    std::vector<SharedSurface> shared_;
    SharedSurface* FindShared(std::int64_t id);
    COLORREF savedColors_[SYSCOLOR_COUNT];
    int savedTwips_;
};

// ---- Field access for the # lines -------------------------------------------------------------

std::int64_t IntField(const Json& j, const char* name, std::int64_t min, std::int64_t max) {
    auto it = j.find(name);
    if (it == j.end()) throw ReplayError(std::string("\"") + name + "\" is missing");
    if (!it->is_number_integer() && !it->is_number_unsigned())
        throw ReplayError(std::string("\"") + name + "\" is not an integer");
    // Unsigned values above the signed range are out of range for every field.
    if (it->is_number_unsigned() && it->get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX))
        throw ReplayError(std::string("\"") + name + "\" is out of range");
    std::int64_t v = it->get<std::int64_t>();
    if (v < min || v > max)
        throw ReplayError(std::string("\"") + name + "\" is " + std::to_string(v) + ", outside " +
                          std::to_string(min) + ".." + std::to_string(max));
    return v;
}

std::uint32_t HandleField(const Json& j) { return static_cast<std::uint32_t>(IntField(j, "h", 1, 0xFFFFFFFF)); }

std::vector<std::uint8_t> PixelsField(const Json& j, std::size_t expected, const std::string& sizeName) {
    auto it = j.find("pixels");
    if (it == j.end() || !it->is_string()) throw ReplayError("\"pixels\" is missing or not a string");
    auto bytes = DecodeBase64(it->get_ref<const std::string&>());
    if (!bytes) throw ReplayError("\"pixels\" is not valid base64");
    if (bytes->size() != expected)
        throw ReplayError("\"pixels\" holds " + std::to_string(bytes->size()) + " bytes, but " + sizeName + " needs " +
                          std::to_string(expected));
    return std::move(*bytes);
}

void CheckSurfaceSize(const ReplayOptions& options, std::int64_t width, std::int64_t height) {
    if (options.maxBitmapPixels > 0 && width * height > options.maxBitmapPixels)
        throw ReplayError("a surface of " + std::to_string(width) + "x" + std::to_string(height) +
                          " pixels is larger than this replay allows");
}

// ---- Session ----------------------------------------------------------------------------------

Session::Session(const ReplayOptions& options) : keepEverySurface_(options.keepEverySurface) {
    context_.maxBitmapPixels = options.maxBitmapPixels;
    for (int i = 0; i < SYSCOLOR_COUNT; ++i) savedColors_[i] = GetSysColor(i);
    savedTwips_ = TwipsPerPixel();
}

Session::~Session() {
    for (const SharedSurface& s : shared_) HandleTable::Instance().Lookup(s.bitmap)->RemoveSelection();
    FreeEverything();
    INT indices[SYSCOLOR_COUNT];
    for (int i = 0; i < SYSCOLOR_COUNT; ++i) indices[i] = i;
    SetSysColors(SYSCOLOR_COUNT, indices, savedColors_);
    SetTwipsPerPixel(savedTwips_);
}

// One line of the trace. Every problem becomes a TraceFormatError naming the line; problems
// inside a handler name the op as well.
void Session::Line(int number, const std::string& text) {
    Json j;
    try {
        j = Json::parse(text);
    } catch (const Json::exception& e) {  // syntax errors, and numbers too large for JSON's doubles
        // nlohmann's message starts with its exception id and "line 1" of the one-line text.
        std::string what = e.what();
        std::size_t column = what.find("column");
        throw TraceFormatError(number, "bad JSON at " + (column == std::string::npos ? what : what.substr(column)));
    }
    if (auto at = json::FindTooDeep(j, json::kMaxNesting, "$"))
        throw TraceFormatError(number, *at + ": " + json::TooDeepMessage(json::kMaxNesting));
    if (!j.is_object()) throw TraceFormatError(number, "not a JSON object");
    auto opIt = j.find("op");
    if (opIt == j.end() || !opIt->is_string()) throw TraceFormatError(number, "no \"op\" string");
    const std::string& op = opIt->get_ref<const std::string&>();
    try {
        if (!headerSeen_) {
            if (op != "#trace") throw ReplayError("the trace does not start with a #trace line");
            Header(j);
            headerSeen_ = true;
        } else if (op == "#trace") {
            throw ReplayError("a second #trace line");
        } else if (op == "#surface" && version_ == 2) {
            SurfaceLine(j);
        } else if (op == "#dc") {
            if (version_ == 2) BindDc(j); else DcLine(j);
        } else if (op == "#bitmap") {
            BitmapLine(j);
        } else if (op == "#bits") {
            BitsLine(j);
        } else if (op == "#result") {
            if (version_ == 2) SharedResultLine(number, j); else ResultLine(number, j);
        } else {
            Call(op, j);
        }
    } catch (const ReplayError& e) {
        throw TraceFormatError(number, op[0] == '#' ? op + ": " + e.what() : op + ": " + e.what());
    } catch (const Json::exception& e) {
        throw TraceFormatError(number, op + ": " + e.what());
    }
}

// The #trace line: the colours and scale the traced run drew with apply before any call.
void Session::Header(const Json& j) {
    version_ = static_cast<int>(IntField(j, "version", 1, 2));
    int twips = static_cast<int>(IntField(j, "twips_per_pixel", 1, 1 << 20));
    auto colors = j.find("syscolors");
    if (colors == j.end() || !colors->is_array() || colors->size() != SYSCOLOR_COUNT)
        throw ReplayError("\"syscolors\" must be a list of " + std::to_string(SYSCOLOR_COUNT) + " colours");
    INT indices[SYSCOLOR_COUNT];
    COLORREF values[SYSCOLOR_COUNT];
    for (int i = 0; i < SYSCOLOR_COUNT; ++i) {
        const Json& c = (*colors)[static_cast<std::size_t>(i)];
        if (!c.is_number_unsigned() || c.get<std::uint64_t>() > 0xFFFFFF)
            throw ReplayError("\"syscolors\" entry " + std::to_string(i) + " is not a colour 0..16777215");
        indices[i] = i;
        values[i] = c.get<COLORREF>();
    }
    SetTwipsPerPixel(twips);
    SetSysColors(SYSCOLOR_COUNT, indices, values);
}

Tracked* Session::FindDcLine(std::uint32_t traced) {
    for (Tracked& t : tracked_)
        if (t.traced == traced) return &t;
    return nullptr;
}

void Session::DcLine(const Json& j) {
    std::uint32_t h = HandleField(j);
    int width = static_cast<int>(IntField(j, "width", 0, kMaxSurfaceSide));
    int height = static_cast<int>(IntField(j, "height", 0, kMaxSurfaceSide));
    CheckSurfaceSize({context_.maxBitmapPixels}, width, height);
    std::vector<std::uint8_t> pixels = PixelsField(
        j, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4,
        std::to_string(width) + "x" + std::to_string(height));
    // A repeated #dc means the traced DC was moved to a new surface (a resized window).
    Tracked* t = FindDcLine(h);
    if (!t || !LookupDc(t->dc)) {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc) throw ReplayError("cannot make a DC");
        owned_.push_back(dc);
        if (!t) t = &tracked_.emplace_back();
        t->traced = h;
        t->dc = dc;
    }
    if (width > 0 && height > 0) {
        // Windows surfaces are 32 bpp; the B,G,R,A bytes are the rows CreateBitmap takes.
        HBITMAP bitmap = CreateBitmap(width, height, 1, 32, pixels.data());
        if (!bitmap) throw ReplayError("cannot make a surface of " + std::to_string(width) + "x" + std::to_string(height));
        t->bitmaps.push_back(bitmap);
        SelectObject(t->dc, bitmap);
    } else {
        // A DC whose window went away draws nowhere.
        SelectObject(t->dc, DefaultMonoBitmap());
    }
    t->width = width;
    t->height = height;
    t->lastPixels.reset();
    context_.Bind(h, t->dc);
}

// ---- Version 2: shared surfaces ----------------------------------------------------------------

Session::SharedSurface* Session::FindShared(std::int64_t id) {
    for (SharedSurface& s : shared_)
        if (s.id == id) return &s;
    return nullptr;
}

Surface& PixelsOf(HBITMAP bitmap) { return *HandleTable::Instance().Get<BitmapObject>(bitmap)->surface; }

// A surface's pixels: a new number makes a 32-bpp bitmap, a known one gets its pixels
// replaced (the traced program's screen changed without a GDI call).
void Session::SurfaceLine(const Json& j) {
    std::int64_t id = IntField(j, "id", 1, INT32_MAX);
    int width = static_cast<int>(IntField(j, "width", 1, kMaxSurfaceSide));
    int height = static_cast<int>(IntField(j, "height", 1, kMaxSurfaceSide));
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4 > kMaxSurfaceBytes)
        throw ReplayError("a surface of " + std::to_string(width) + "x" + std::to_string(height) +
                          " pixels is larger than any the GDI makes");
    CheckSurfaceSize({context_.maxBitmapPixels}, width, height);
    std::vector<std::uint8_t> pixels = PixelsField(
        j, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4,
        std::to_string(width) + "x" + std::to_string(height));
    if (SharedSurface* known = FindShared(id)) {
        Surface& s = PixelsOf(known->bitmap);
        if (s.Width() != width || s.Height() != height)
            throw ReplayError("surface " + std::to_string(id) + " was " + std::to_string(s.Width()) + "x" +
                              std::to_string(s.Height()) + ", not " + std::to_string(width) + "x" +
                              std::to_string(height));
        std::memcpy(s.Bits(), pixels.data(), pixels.size());
        return;
    }
    HBITMAP bitmap = CreateBitmap(width, height, 1, 32, pixels.data());
    if (!bitmap) throw ReplayError("cannot make a surface of " + std::to_string(width) + "x" + std::to_string(height));
    owned_.push_back(bitmap);
    // Held as if selected, so that a replayed DeleteObject cannot free pixels DCs draw on.
    HandleTable::Instance().Lookup(bitmap)->AddSelection();
    shared_.push_back({id, bitmap});
}

// A DC bound to a surface: a window or screen DC draws on it from its origin within its clip,
// a memory DC draws on it as its selected bitmap. A handle bound again keeps its DC (and the
// objects and state selected into it) and only moves.
void Session::BindDc(const Json& j) {
    std::uint32_t h = HandleField(j);
    std::int64_t id = IntField(j, "surface", 0, INT32_MAX);
    SharedSurface* shared = id ? FindShared(id) : nullptr;
    if (id && !shared) throw ReplayError("surface " + std::to_string(id) + " has no #surface line before it");
    auto memoryIt = j.find("memory");
    if (memoryIt != j.end() && !memoryIt->is_boolean()) throw ReplayError("\"memory\" is not true or false");
    bool memory = memoryIt != j.end() && memoryIt->get<bool>();
    Json args = Json::array({j.value("origin", Json()), j.value("clip", Json())});
    if (args[0].is_null()) throw ReplayError("\"origin\" is missing");
    if (args[1].is_null()) throw ReplayError("\"clip\" is missing");
    POINT origin = context_.Point(args[0], 0);
    RECT clip;
    try {
        clip = context_.Rect(args, 1);
    } catch (const ReplayError&) {
        throw ReplayError("\"clip\" is not a rectangle [l,t,r,b]");
    }
    Surface* surface = shared ? &PixelsOf(shared->bitmap) : nullptr;
    RECT bounds = surface ? surface->Bounds() : RECT{};
    if (clip.left < bounds.left || clip.top < bounds.top || clip.right > bounds.right ||
        clip.bottom > bounds.bottom || clip.left > clip.right || clip.top > clip.bottom)
        throw ReplayError("clip [" + std::to_string(clip.left) + "," + std::to_string(clip.top) + "," +
                          std::to_string(clip.right) + "," + std::to_string(clip.bottom) + "] is outside the " +
                          std::to_string(bounds.right) + "x" + std::to_string(bounds.bottom) + " surface");
    if (memory && !surface) throw ReplayError("a memory DC needs a surface");
    Tracked* t = FindDcLine(h);
    DcObject* live = t ? LookupDc(t->dc) : nullptr;
    if (!live || live->memory != memory) {
        HDC dc = memory ? CreateCompatibleDC(nullptr) : CreateSurfaceDC(surface, origin, clip);
        if (!dc) throw ReplayError("cannot make a DC");
        owned_.push_back(dc);
        if (!t) t = &tracked_.emplace_back();
        t->traced = h;
        t->dc = dc;
    }
    if (memory) SelectObject(t->dc, shared->bitmap);
    else RetargetSurfaceDC(t->dc, surface, origin, clip);
    context_.Bind(h, t->dc);
}

// Compares a surface as drawn so far with the traced pixels; only the first difference is kept.
void Session::SharedResultLine(int number, const Json& j) {
    std::int64_t id = IntField(j, "surface", 1, INT32_MAX);
    SharedSurface* shared = FindShared(id);
    if (!shared) throw ReplayError("surface " + std::to_string(id) + " has no #surface line before it");
    const Surface& drawn = PixelsOf(shared->bitmap);
    std::vector<std::uint8_t> expected = PixelsField(
        j, static_cast<std::size_t>(drawn.Width()) * static_cast<std::size_t>(drawn.Height()) * 4,
        std::to_string(drawn.Width()) + "x" + std::to_string(drawn.Height()));
    ++resultsChecked;
    if (mismatch) return;
    std::size_t i = 0;
    for (int y = 0; y < drawn.Height(); ++y) {
        for (int x = 0; x < drawn.Width(); ++x, i += 4) {
            std::uint32_t want = expected[i] | (expected[i + 1] << 8) | (expected[i + 2] << 16);
            std::uint32_t got = drawn.Get(x, y);
            if (want == got) continue;
            ResultMismatch m;
            m.line = number;
            m.surface = static_cast<int>(shared - shared_.data()) + 1;
            m.x = x;
            m.y = y;
            m.drawn = ToColorRef(got);
            m.traced = ToColorRef(want);
            mismatch = m;
            return;
        }
    }
}

// A bitmap the traced run had before the trace saw it, made again with its own bits.
void Session::BitmapLine(const Json& j) {
    std::uint32_t h = HandleField(j);
    int width = static_cast<int>(IntField(j, "width", 1, kMaxSurfaceSide));
    int height = static_cast<int>(IntField(j, "height", 1, kMaxSurfaceSide));
    int bpp = static_cast<int>(IntField(j, "bpp", 1, 32));
    if (bpp != 1 && bpp != 24 && bpp != 32) throw ReplayError("\"bpp\" is " + std::to_string(bpp) + ", not 1, 24 or 32");
    CheckSurfaceSize({context_.maxBitmapPixels}, width, height);
    int stride = bpp == 24 ? DibStride(width, 24) : DeviceBitmapStride(width, bpp);
    std::vector<std::uint8_t> bits =
        PixelsField(j, static_cast<std::size_t>(stride) * static_cast<std::size_t>(height),
                    std::to_string(width) + "x" + std::to_string(height) + " at " + std::to_string(bpp) + " bpp");
    HBITMAP bitmap = nullptr;
    if (bpp == 24) {
        // 24 bpp is the layout of DIB sections: make one and copy the bits in.
        BITMAPINFO info;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biBitCount = 24;
        void* data = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0);
        if (bitmap) std::memcpy(data, bits.data(), bits.size());
    } else {
        bitmap = CreateBitmap(width, height, 1, static_cast<UINT>(bpp), bits.data());
    }
    if (!bitmap) throw ReplayError("cannot make a bitmap of " + std::to_string(width) + "x" + std::to_string(height));
    owned_.push_back(bitmap);
    context_.Bind(h, bitmap);
}

// Bits the traced program wrote through a DIB section's pointer.
void Session::BitsLine(const Json& j) {
    std::uint32_t h = HandleField(j);
    auto* bmp = HandleTable::Instance().Get<BitmapObject>(static_cast<HGDIOBJ>(context_.Live(h)));
    if (!bmp || !bmp->surface) throw ReplayError("handle " + std::to_string(h) + " is not a bitmap of this trace");
    Surface& s = *bmp->surface;
    std::vector<std::uint8_t> bits = PixelsField(
        j, s.ByteSize(), "the " + std::to_string(s.Width()) + "x" + std::to_string(s.Height()) + " bitmap");
    std::memcpy(s.Bits(), bits.data(), bits.size());
}

// Compares the surface as drawn so far with the traced pixels; only the first difference is
// kept, the rest of the trace still replays.
void Session::ResultLine(int number, const Json& j) {
    std::uint32_t h = HandleField(j);
    Tracked* t = FindDcLine(h);
    if (!t) throw ReplayError("handle " + std::to_string(h) + " has no #dc line before it");
    std::vector<std::uint8_t> expected =
        PixelsField(j, static_cast<std::size_t>(t->width) * static_cast<std::size_t>(t->height) * 4,
                    std::to_string(t->width) + "x" + std::to_string(t->height));
    // With only the first surface kept, a DC that ended before its #result cannot be checked.
    if (!LookupDc(t->dc) && !t->lastPixels && t->width > 0 && t->height > 0) return;
    ++resultsChecked;
    if (mismatch) return;
    ResultMismatch m;
    m.line = number;
    m.surface = static_cast<int>(t - tracked_.data()) + 1;
    m.handle = h;
    std::unique_ptr<Surface> drawn = Drawn(*t);
    int width = drawn ? drawn->Width() : 0;
    int height = drawn ? drawn->Height() : 0;
    if (width != t->width || height != t->height) {
        // Zero-sized #dc surfaces have nothing to compare.
        if (t->width == 0 || t->height == 0) return;
        m.sizeDiffers = true;
        mismatch = m;
        return;
    }
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, i += 4) {
            std::uint32_t want = expected[i] | (expected[i + 1] << 8) | (expected[i + 2] << 16);
            std::uint32_t got = drawn->Get(x, y);
            if (want == got) continue;
            m.x = x;
            m.y = y;
            m.drawn = ToColorRef(got);
            m.traced = ToColorRef(want);
            mismatch = m;
            return;
        }
    }
}

// A call: its handler makes it again. The first CreateCompatibleDC is followed in case the
// trace has no #dc and its off-screen drawing is the result to write.
void Session::Call(const std::string& op, const Json& j) {
    if (op.empty() || op[0] == '#') throw ReplayError("unknown op \"" + op + "\"");
    auto handler = Handlers().find(op);
    if (handler == Handlers().end()) throw ReplayError("unknown op \"" + op + "\" (no replay handler)");
    auto args = j.find("args");
    if (args == j.end() || !args->is_array()) throw ReplayError("\"args\" is missing or not a list");
    static const Json kNull;
    auto ret = j.find("ret");
    BeforeCall(op, *args);
    handler->second(context_, *args, ret == j.end() ? kNull : *ret);
    if (op == "DeleteDC" || op == "ReleaseDC") FreeEndedSurfaces();
    if (op == "CreateCompatibleDC" && !firstMemoryDc_ && ret != j.end() && ret->is_number_unsigned()) {
        auto live = static_cast<HDC>(context_.Live(ret->get<std::uint32_t>()));
        if (LookupDc(live)) {
            firstMemoryDc_.emplace();
            firstMemoryDc_->traced = ret->get<std::uint32_t>();
            firstMemoryDc_->dc = live;
            firstMemoryDc_->fromDcLine = false;
        }
    }
}

// Keeps the pixels of a followed DC that the call may end (DeleteDC, ReleaseDC) or, for the
// first memory DC, whose bitmap it may swap out (SelectObject).
void Session::BeforeCall(const std::string& op, const Json& args) {
    // Version 2 surfaces outlive their DCs: nothing to keep when one ends.
    bool ends = version_ == 1 && (op == "DeleteDC" || op == "ReleaseDC");
    bool swaps = ends || op == "SelectObject";
    if (!swaps) return;
    for (const Json& a : args) {
        if (!a.is_number_unsigned()) continue;
        auto value = a.get<std::uint64_t>();
        if (ends) {
            for (Tracked& t : tracked_)
                if (t.traced == value && LookupDc(t.dc) && (keepEverySurface_ || &t == &tracked_.front()))
                    t.lastPixels = CaptureDc(t.dc);
        }
        if (firstMemoryDc_ && firstMemoryDc_->traced == value && HoldsOwnBitmap(firstMemoryDc_->dc))
            firstMemoryDc_->lastPixels = CaptureDc(firstMemoryDc_->dc);
    }
}

// The bitmaps of #dc DCs that no longer exist are freed at once, unless a later call can still
// name them (a bitmap the trace got back from SelectObject).
void Session::FreeEndedSurfaces() {
    for (Tracked& t : tracked_) {
        if (t.bitmaps.empty() || LookupDc(t.dc)) continue;
        std::vector<HBITMAP> kept;
        for (HBITMAP b : t.bitmaps) {
            bool named = false;
            for (const auto& [traced, live] : context_.Bindings()) named = named || live == b;
            if (named) kept.push_back(b);
            else DeleteObject(b);
        }
        t.bitmaps = std::move(kept);
    }
}

std::unique_ptr<Surface> Session::Drawn(const Tracked& t) const {
    if (t.fromDcLine && (t.width == 0 || t.height == 0)) return nullptr;
    if (LookupDc(t.dc) && (t.fromDcLine || HoldsOwnBitmap(t.dc))) return CaptureDc(t.dc);
    return CopyOf(t.lastPixels.get());
}

void Session::Collect(std::vector<ReplayedSurface>& out, bool& hadDcLines) const {
    out.clear();
    if (version_ == 2 && !shared_.empty()) {
        hadDcLines = true;
        for (const SharedSurface& s : shared_)
            out.push_back({static_cast<std::uint32_t>(s.id), true, CopyOf(&PixelsOf(s.bitmap))});
        return;
    }
    hadDcLines = !tracked_.empty();
    for (const Tracked& t : tracked_)
        out.push_back({t.traced, true, keepEverySurface_ || &t == &tracked_.front() ? Drawn(t) : nullptr});
    if (tracked_.empty() && firstMemoryDc_) {
        if (auto pixels = Drawn(*firstMemoryDc_)) out.push_back({firstMemoryDc_->traced, false, std::move(pixels)});
    }
}

// DCs go first: deleting them drops their selections, so that objects deleted while selected
// are freed and the rest can be deleted.
void Session::FreeEverything() {
    std::unordered_set<void*> seen;
    std::vector<HDC> dcs;
    std::vector<HGDIOBJ> objects;
    auto consider = [&](void* live) {
        if (!live || !seen.insert(live).second || !HandleTable::Instance().Lookup(live)) return;
        if (KindOfHandle(live) == ObjectKind::Dc) dcs.push_back(static_cast<HDC>(live));
        else objects.push_back(live);
    };
    for (void* live : context_.Made()) consider(live);
    for (HGDIOBJ o : owned_) consider(o);
    for (const Tracked& t : tracked_)
        for (HBITMAP b : t.bitmaps) consider(b);
    for (HDC dc : dcs) DeleteDC(dc);
    for (HGDIOBJ o : objects)
        if (HandleTable::Instance().Lookup(o)) DeleteObject(o);
}

}  // namespace

// Blank lines are skipped but counted, so messages name the line an editor shows.
void TraceReplayer::Run(std::istream& in) {
    surfaces_.clear();
    mismatch_.reset();
    resultsChecked_ = 0;
    Session session(options_);
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.find_first_not_of(" \t") == std::string::npos) continue;
        session.Line(number, text);
    }
    if (!session.HeaderSeen()) throw TraceFormatError(number + 1, "the trace is empty (no #trace line)");
    session.Collect(surfaces_, hadDcLines_);
    resultsChecked_ = session.resultsChecked;
    mismatch_ = session.mismatch;
}

}  // namespace brimlox::gdi::replay
