// Replaying a drawing trace: each traced operation has a handler that decodes its JSON
// arguments and makes the same call again. Handlers live beside the code they replay (one
// replay_*.cpp per module) in a table of entries by name, which that file's Add...Handlers
// function copies into the replayer's table (trace_replayer.cpp calls each one, so a static
// build cannot leave a module's handlers out):
//
//     const HandlerEntry kFillHandlers[] = {
//         {"FillRect", [](Context& c, const Json& a, const Json&) {
//              RECT r = c.Rect(a, 1);
//              FillRect(c.Dc(a, 0), &r, c.Brush(a, 2));
//          }},
//     };
//
// Decoding failures throw ReplayError with a message naming the argument; the replayer adds
// the line number. Handles recorded in the trace are mapped to the handles this run created.
#pragma once

#include <cstdint>
#include <cstdint>
#include <functional>
#include <limits>
#include <type_traits>
#include <map>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/gdi/gdi.h"
#include "platform/gdi/trace_base64.h"
#include "platform/json/numbers.h"

namespace brimlox::gdi::replay {

using Json = nlohmann::json;

class ReplayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Context {
public:
    // Records that the trace's handle value `traced` is `live` in this run.
    void Bind(std::uint32_t traced, void* live) {
        handles_[traced] = live;
        if (live) made_.push_back(live);
    }
    void Bind(const Json& traced, void* live) {
        if (traced.is_number_unsigned() || traced.is_number_integer()) Bind(traced.get<std::uint32_t>(), live);
        else if (live) made_.push_back(live);  // still freed at the end, though no later call can name it
    }
    void Unbind(std::uint32_t traced) { handles_.erase(traced); }
    bool IsBound(std::uint32_t traced) const { return handles_.count(traced) != 0; }
    // Binds a handle the call handed back (SelectObject's previous object) unless the trace
    // already named it: the first binding of a value wins.
    void BindIfNew(const Json& traced, void* live) {
        if (!live || !(traced.is_number_unsigned() || traced.is_number_integer())) return;
        if (!IsBound(traced.get<std::uint32_t>())) Bind(traced, live);
    }
    // Every traced handle and the handle it stands for.
    const std::unordered_map<std::uint32_t, void*>& Bindings() const { return handles_; }
    // Every live handle ever bound, also those a later binding replaced or whose recorded
    // value was missing: the replayer frees what is still alive of them at the end.
    const std::vector<void*>& Made() const { return made_; }

    // The largest bitmap, in pixels, a replayed call may create (0: only the GDI's own limit).
    // The fuzzer sets it so that a forged size cannot exhaust memory.
    std::int64_t maxBitmapPixels = 0;
    void CheckBitmapSize(std::int64_t width, std::int64_t height) const {
        // A negative DIB height only means top-down rows: the size is its magnitude.
        width = width < 0 ? -width : width;
        height = height < 0 ? -height : height;
        if (maxBitmapPixels > 0 && width * height > maxBitmapPixels)
            throw ReplayError("a bitmap of " + std::to_string(width) + "x" + std::to_string(height) +
                              " pixels is larger than this replay allows");
    }
    // Live handle for a traced value; 0 stays 0, unknown values pass through unchanged (so a
    // call on a bad handle fails again exactly as it did when traced).
    void* Live(std::uint32_t traced) const {
        if (traced == 0) return nullptr;
        auto it = handles_.find(traced);
        return it != handles_.end() ? it->second
                                    : reinterpret_cast<void*>(static_cast<std::uintptr_t>(traced));
    }

    const Json& At(const Json& args, std::size_t i) const {
        if (!args.is_array() || i >= args.size())
            throw ReplayError("argument " + std::to_string(i + 1) + " is missing");
        return args[i];
    }
    // An integer argument within [lo, hi] as written (no wrapping of large values).
    std::int64_t Int(const Json& args, std::size_t i, std::int64_t lo = INT64_MIN, std::int64_t hi = INT64_MAX) const {
        const Json& v = At(args, i);
        const auto n = json::Integer(v);
        if (!n) throw ReplayError("argument " + std::to_string(i + 1) + " is not an integer");
        if (*n < lo || *n > hi)
            throw ReplayError("argument " + std::to_string(i + 1) + " is " + std::to_string(*n) + ", outside " +
                              std::to_string(lo) + ".." + std::to_string(hi));
        return *n;
    }
    int I(const Json& args, std::size_t i) const { return static_cast<int>(Int(args, i, INT32_MIN, INT32_MAX)); }
    // 32-bit flags, colours and handles: written unsigned, or as the signed value of the same bits.
    std::uint32_t U(const Json& args, std::size_t i) const {
        return static_cast<std::uint32_t>(Int(args, i, INT32_MIN, UINT32_MAX));
    }
    std::uint32_t HandleArg(const Json& args, std::size_t i) const {
        const Json& v = At(args, i);
        if (v.is_null()) return 0;
        return static_cast<std::uint32_t>(Int(args, i));
    }
    HDC Dc(const Json& args, std::size_t i) const { return static_cast<HDC>(Live(HandleArg(args, i))); }
    HBITMAP Bitmap(const Json& args, std::size_t i) const { return static_cast<HBITMAP>(Live(HandleArg(args, i))); }
    HPEN Pen(const Json& args, std::size_t i) const { return static_cast<HPEN>(Live(HandleArg(args, i))); }
    HBRUSH Brush(const Json& args, std::size_t i) const {
        std::uint32_t v = HandleArg(args, i);
        // 1..31 are system colour indices plus one, not handles.
        if (v >= 1 && v <= 31) return reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(v));
        return static_cast<HBRUSH>(Live(v));
    }
    HFONT Font(const Json& args, std::size_t i) const { return static_cast<HFONT>(Live(HandleArg(args, i))); }
    HGDIOBJ Object(const Json& args, std::size_t i) const { return Live(HandleArg(args, i)); }

    RECT Rect(const Json& args, std::size_t i) const {
        const Json& v = At(args, i);
        if (!v.is_array() || v.size() != 4)
            throw ReplayError("argument " + std::to_string(i + 1) + " is not a rectangle [l,t,r,b]");
        return RECT{Coord(v[0], i), Coord(v[1], i), Coord(v[2], i), Coord(v[3], i)};
    }
    bool IsNull(const Json& args, std::size_t i) const { return At(args, i).is_null(); }
    POINT Point(const Json& v, std::size_t i) const {
        if (!v.is_array() || v.size() != 2)
            throw ReplayError("argument " + std::to_string(i + 1) + " has a point that is not [x,y]");
        return POINT{Coord(v[0], i), Coord(v[1], i)};
    }
    std::vector<POINT> Points(const Json& args, std::size_t i) const {
        const Json& v = At(args, i);
        if (!v.is_array()) throw ReplayError("argument " + std::to_string(i + 1) + " is not a point list");
        std::vector<POINT> out;
        out.reserve(v.size());
        for (const Json& p : v) out.push_back(Point(p, i));
        return out;
    }
    template <typename T>
    std::vector<T> Numbers(const Json& args, std::size_t i) const {
        const Json& v = At(args, i);
        if (v.is_null()) return {};
        if (!v.is_array()) throw ReplayError("argument " + std::to_string(i + 1) + " is not a number list");
        std::vector<T> out;
        for (const Json& n : v) {
            if (!n.is_number_integer() && !n.is_number_unsigned())
                throw ReplayError("argument " + std::to_string(i + 1) + " holds a value that is not an integer");
            out.push_back(static_cast<T>(n.get<std::int64_t>()));
        }
        return out;
    }
    // 8-bit text: JSON code points U+0000..U+00FF become single bytes.
    std::string Text(const Json& args, std::size_t i) const {
        const Json& v = At(args, i);
        if (!v.is_string()) throw ReplayError("argument " + std::to_string(i + 1) + " is not a string");
        const std::string& utf8 = v.get_ref<const std::string&>();
        std::string out;
        for (std::size_t k = 0; k < utf8.size(); ++k) {
            unsigned char c = static_cast<unsigned char>(utf8[k]);
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if ((c & 0xE0) == 0xC0 && k + 1 < utf8.size()) {
                unsigned cp = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[k + 1]) & 0x3F);
                if (cp > 0xFF) throw ReplayError("argument " + std::to_string(i + 1) + " has a character above U+00FF");
                out += static_cast<char>(cp);
                ++k;
            } else {
                throw ReplayError("argument " + std::to_string(i + 1) + " has a character above U+00FF");
            }
        }
        return out;
    }
    // Bytes recorded as base64 (TraceBytes); an empty vector for null.
    std::vector<std::uint8_t> Bytes(const Json& args, std::size_t i) const {
        const Json& v = At(args, i);
        if (v.is_null()) return {};
        if (!v.is_string()) throw ReplayError("argument " + std::to_string(i + 1) + " is not a base64 string");
        auto bytes = DecodeBase64(v.get_ref<const std::string&>());
        if (!bytes) throw ReplayError("argument " + std::to_string(i + 1) + " is not valid base64");
        return std::move(*bytes);
    }
    // A required integer field of an object argument (LOGFONT, LOGBRUSH ...) that fits the
    // structure's field type T as written, or an error naming the argument and the field.
    template <typename T>
    T Field(const Json& args, std::size_t i, const char* name) const {
        const Json& v = FieldOf(args, i, name);
        const auto n = json::Integer(v);
        if (!n) throw ReplayError("argument " + std::to_string(i + 1) + " lacks the integer field " + name);
        // Unsigned 32-bit fields are also accepted as the signed value of the same bits.
        constexpr std::int64_t lo = std::is_signed_v<T> || sizeof(T) != 4
                                        ? static_cast<std::int64_t>(std::numeric_limits<T>::min())
                                        : std::int64_t{INT32_MIN};
        constexpr std::int64_t hi = static_cast<std::int64_t>(std::numeric_limits<T>::max());
        if (*n < lo || *n > hi)
            throw ReplayError("argument " + std::to_string(i + 1) + " field " + name + " is " + std::to_string(*n) +
                              ", outside " + std::to_string(lo) + ".." + std::to_string(hi));
        return static_cast<T>(*n);
    }
    // A required string field of an object argument.
    const std::string& StringField(const Json& args, std::size_t i, const char* name) const {
        const Json& v = FieldOf(args, i, name);
        if (!v.is_string()) throw ReplayError("argument " + std::to_string(i + 1) + " lacks the string field " + name);
        return v.get_ref<const std::string&>();
    }

private:
    static LONG Coord(const Json& v, std::size_t i) {
        const auto n = json::Integer(v);
        if (!n || *n < INT32_MIN || *n > INT32_MAX)
            throw ReplayError("argument " + std::to_string(i + 1) + " has a coordinate that is not a 32-bit integer");
        return static_cast<LONG>(*n);
    }
    const Json& FieldOf(const Json& args, std::size_t i, const char* name) const {
        const Json& v = At(args, i);
        if (!v.is_object()) throw ReplayError("argument " + std::to_string(i + 1) + " is not an object");
        auto it = v.find(name);
        if (it == v.end()) throw ReplayError("argument " + std::to_string(i + 1) + " lacks the field " + name);
        return *it;
    }

    std::unordered_map<std::uint32_t, void*> handles_;
    std::vector<void*> made_;
};

// A handler replays one call. `ret` is the recorded return value; a handler that creates an
// object binds the recorded handle to the new one (c.Bind(ret, newHandle)).
using Handler = std::function<void(Context& c, const Json& args, const Json& ret)>;

using HandlerTable = std::map<std::string, Handler>;

struct HandlerEntry {
    const char* op;
    Handler handler;
};

// Every replay handler by operation name.
HandlerTable& Handlers();

// Each replay_*.cpp adds its handlers.
void AddCoreHandlers(HandlerTable& table);
void AddBlitHandlers(HandlerTable& table);
void AddShapeHandlers(HandlerTable& table);
void AddTextHandlers(HandlerTable& table);

}  // namespace brimlox::gdi::replay
