// EventSource: the events an object raises to application code. Handlers run synchronously,
// in the order they were connected, and receive the arguments by reference, so a handler can
// change a value the raiser reads back (a Cancel flag, a Tag). A handler may connect or
// disconnect handlers (itself included) while the event runs, and may even destroy the source:
// a running handler is never destroyed under its own feet.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/variant.h"

namespace brimlox::host {

class EventSource {
public:
    using Handler = std::function<void(std::span<Variant> args)>;

    EventSource() = default;
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;
    ~EventSource();

    // Returns a connection id for Disconnect.
    int Connect(std::string event, Handler handler);
    void Disconnect(int id);
    // Raises an event by name (case-insensitive); returns the number of handlers run.
    int RaiseEvent(std::string_view event, std::span<Variant> args = {});
    template <typename... A>
    int RaiseEvent(std::string_view event, A&... args) {
        Variant values[] = {Variant(args)...};
        int n = RaiseEvent(event, std::span<Variant>(values));
        std::size_t i = 0;
        ((args = static_cast<A>(ReadBack<A>(values[i++]))), ...);
        return n;
    }

private:
    template <typename A>
    static A ReadBack(const Variant& v);

    // A handler lives on the heap so that it keeps its address while the list grows under a
    // running event. A connection removed during a raise keeps its handler, with id 0, until
    // the outermost raise ends.
    struct Connection {
        int id;
        std::string event;
        std::unique_ptr<Handler> handler;
    };
    // One per raise in progress on this source, innermost first (it lives on the raiser's stack).
    // A source destroyed by a handler marks every raise and hands its connections to the
    // outermost one, which frees them when it returns.
    struct RaiseFrame {
        RaiseFrame* outer = nullptr;
        bool sourceGone = false;
        std::vector<Connection> orphans;
    };
    class RaiseScope;

    void DropDisconnected();

    std::vector<Connection> connections_;
    RaiseFrame* raising_ = nullptr;
    bool disconnectedDuringRaise_ = false;
    int nextId_ = 1;
};

template <> inline bool EventSource::ReadBack<bool>(const Variant& v) { return v.ToBool(); }
template <> inline std::int16_t EventSource::ReadBack<std::int16_t>(const Variant& v) { return v.ToInteger(); }
template <> inline std::int32_t EventSource::ReadBack<std::int32_t>(const Variant& v) { return v.ToLong(); }
template <> inline float EventSource::ReadBack<float>(const Variant& v) { return v.ToSingle(); }
template <> inline double EventSource::ReadBack<double>(const Variant& v) { return v.ToDouble(); }
template <> inline std::string EventSource::ReadBack<std::string>(const Variant& v) { return v.ToString(); }
template <> inline Variant EventSource::ReadBack<Variant>(const Variant& v) { return v; }

}  // namespace brimlox::host
